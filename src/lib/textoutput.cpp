// Text output. Fonts and glyph drawing arrive with the fonts; until then no font can be selected,
// so callers that need one stop as they would with a missing font.
#include "lib/textoutput.h"

#include "platform/frame.h"

int cursorTimer = 0;
static int textMode = kTextModeLeft;

int TextOutputSelectFont(int) { return 0; }
int TextOutputGetFontRSID() { return -1; }
int TextOutputGetFontHeight() { return 0; }
int TextOutputGetInterrowSpacing() { return 0; }
int TextOutputSetPosition(int, int) { return 1; }
int TextOutputFormat(const char*, ...) { return 1; }
int TextOutputDraw() { return 0; }
int TextOutputDrawEmbedded(int, int, const char*, void*, int (*)(void*, int, int*, int*)) { return 0; }
int TextOutputLineLength(const char*) { return 0; }
int TextOutputSubstringLength(const char*, int) { return 0; }
int TextOutputGetLineLength(const char*, int) { return 0; }
int TextOutputEmbeddedLineLength(const char*, int (*)(void*, int, int*, int*)) { return 0; }
int TextOutputTruncateLine(int, char) { return 1; }

int TextOutputSetMode(int mode)
{
    textMode = mode;
    return 1;
}

int TextOutputDrawDirect(int, int, const char*, ...) { return 0; }

void TextOutputUpdateCursorTimer() { cursorTimer += updateRate; }
