// The endless message box of a fatal start-up problem: the text on the lower screen, redrawn every
// frame until the program is told to end.
#pragma once

// Shows text in a width x height box until done is set; 0 when the font cannot be selected.
int DisplayNoSpaceQuitDialog(const char* text, int width, int height);
