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
    int fontLoaded = 1;
    int bitmapLoaded = 1;
    int disposeResult = 1;
};
extern DisplayRecord gDisplay;
