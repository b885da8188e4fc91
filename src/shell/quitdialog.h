// The endless message box of a fatal start-up problem: the text on the lower screen, redrawn every
// frame until the program is told to end.
#pragma once

// Shows text in a width x height box until done is set: 1. 0 when the box cannot be drawn (the
// font cannot be selected), or when it ends because nobody could close it any more (no window on a
// screen, and the input script has no order left to come: HostBoxCanBeClosed).
int DisplayNoSpaceQuitDialog(const char* text, int width, int height);
