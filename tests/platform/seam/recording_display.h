// Recording doubles of the display, text and resource calls of the splash and the message box.
#pragma once

#include <string>
#include <vector>

struct DisplayRecord {
    std::vector<std::string> calls;
    std::vector<int> alphas;   // alpha of each veil drawn
    int frames = 0;            // frames presented
    int doneAfterFrames = -1;  // raise done after this many frames
    int failFrameAt = -1;      // RenderDoneScreen fails on this frame
    int doneAtRead = -1;       // this read of the controls serves the close order of the frame
                               // limit: done is raised and every later frame is refused
    int reads = 0;             // reads of the controls
    int fontLoaded = 1;
    int bitmapLoaded = 1;
    int disposeResult = 1;
};
extern DisplayRecord gDisplay;
