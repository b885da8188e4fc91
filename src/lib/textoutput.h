// Proportional bitmap-font text on the lower screen.
#pragma once

enum { kTextModeLeft = 0, kTextModeRight = 1, kTextModeCenter = 2 };

int TextOutputSelectFont(int rsid);
int TextOutputGetFontRSID();
int TextOutputGetFontHeight();
int TextOutputGetInterrowSpacing();
int TextOutputSetMode(int mode);
int TextOutputSetPosition(int x, int y);
int TextOutputFormat(const char* format, ...);
int TextOutputDraw();
int TextOutputDrawDirect(int x, int y, const char* format, ...);
// Text with {n} escapes: embed draws item n at the pen and moves the pen's x past it.
int TextOutputDrawEmbedded(int x, int y, const char* text, void* context,
                           int (*embed)(void* context, int n, int* x, int* y));
int TextOutputLineLength(const char* s);
int TextOutputSubstringLength(const char* s, int n);
// Width of line number `line` (1 the first) of a text with line feeds.
int TextOutputGetLineLength(const char* s, int line);
int TextOutputEmbeddedLineLength(const char* s, int (*embed)(void* context, int n, int* x, int* y));
int TextOutputTruncateLine(int maxWidth, char c);
void TextOutputUpdateCursorTimer();
extern int cursorTimer;
