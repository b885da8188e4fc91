// PNG screenshots of the three displays at the frames that --screenshot names.
#pragma once

#include <cstdint>
#include <string>

// Writes RGB rows (top row first) as an 8-bit PNG. 1 on success; 0 with a message (PrintError)
// when the file cannot be written, in which case no partial file is left behind.
int ScreenshotWritePng(const std::string& path, const uint8_t* rgb, int width, int height);

// The file name of one display's screenshot of a frame: frame00060-upper-left.png,
// -upper-right.png, -lower.png (display 0x400, 0x410, 0x401).
std::string ScreenshotFileName(long frame, uint32_t display);

// Called at each vertical sync: when the frame now being presented (the count of frames presented
// so far) is one of --screenshot's, writes the images the screens show into --out, once per
// frame. In mono the right-eye file holds the left image, which is what both eyes see.
void ScreenshotTakeDue();
// Forgets which frames were written (a new run).
void ScreenshotReset();
