// PNG screenshots of the three displays at the frames that --screenshot names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
// 1 when the frame now being presented is one of --screenshot's and has not been written yet.
int ScreenshotDue();
// For a frame that the host itself shows (the HOME and power menus, drawn into pictures of their
// own): writes those pictures as the frame's screenshots, the upper one for both eyes, and with
// --layout-out their lines of text (`lines`: "DISPLAY X Y W H TEXT" rows) beside them.
void ScreenshotTakePictures(const std::vector<uint8_t>& upper, int upperW, const std::vector<uint8_t>& lower,
                            int lowerW, int height, const std::string& lines);
// Forgets which frames were written (a new run).
void ScreenshotReset();
