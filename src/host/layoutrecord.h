// The lines of text each display draws, written beside a frame's screenshots (--layout-out) so
// that a look over the screens can check where their texts lie.
#pragma once

#include <cstdint>
#include <string>

// 1 when --layout-out asks for the record.
int LayoutRecording();
// Notes a line of text (length characters of text) drawn on display 0x400, 0x410 or 0x401 in the
// frame being drawn, covering w x h pixels from (x, y). Does nothing without --layout-out.
void LayoutNoteLine(uint32_t display, int x, int y, int w, int h, const char* text, int length);
// Notes a panel drawn over w x h pixels from (x, y) of display that hides the lines drawn before it
// there (a question's dimmed page, a message box); written as "cover DISPLAY X Y W H".
void LayoutNoteCover(uint32_t display, int x, int y, int w, int h);
// Notes a button (or a panel's well, or a picture) drawn over w x h pixels from (x, y) of display
// whose text belongs inside it; written as "box DISPLAY X Y W H".
void LayoutNoteBox(uint32_t display, int x, int y, int w, int h);
// Notes a filled panel drawn over w x h pixels from (x, y) of display, on which lines of text
// stand; written as "panel DISPLAY X Y W H".
void LayoutNotePanel(uint32_t display, int x, int y, int w, int h);
// Notes a touch target of the lower screen over w x h pixels from (x, y); "touch DISPLAY X Y W H".
void LayoutNoteTouch(uint32_t display, int x, int y, int w, int h);
// Notes a button drawn over w x h pixels from (x, y) of display, every part of which a touch should
// answer; written as "button DISPLAY X Y W H".
void LayoutNoteButton(uint32_t display, int x, int y, int w, int h);
// Notes a mark drawn over w x h pixels from (x, y) of display (a marker, a pointer, the stops it
// moves along) that hides what lies under it, so no text belongs there; "mark DISPLAY X Y W H".
void LayoutNoteMark(uint32_t display, int x, int y, int w, int h);
// At a frame's presentation: writes the lines of the image now shown (recorded the frame before
// the one just drawn) to path when asked (path not empty), one a line: "DISPLAY X Y W H TEXT" (DISPLAY lower, upper-left or upper-right); then
// starts the next frame's record. 0 with a message when the file cannot be written.
int LayoutFramePresented(const std::string& path);
