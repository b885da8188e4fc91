// Proportional bitmap-font text on the lower screen.
#pragma once

enum { kTextModeLeft = 0, kTextModeRight = 1, kTextModeCenter = 2 };

int TextOutputSelectFont(int rsid);
int TextOutputGetFontHeight();
int TextOutputSetMode(int mode);
int TextOutputDrawDirect(int x, int y, const char* format, ...);
void TextOutputUpdateCursorTimer();
extern int cursorTimer;
