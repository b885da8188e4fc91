// Text output. Fonts and glyph drawing arrive with the fonts; until then no font can be selected,
// so callers that need one stop as they would with a missing font.
#include "lib/textoutput.h"

#include "platform/frame.h"

int cursorTimer = 0;
static int textMode = kTextModeLeft;

int TextOutputSelectFont(int) { return 0; }
int TextOutputGetFontHeight() { return 0; }

int TextOutputSetMode(int mode)
{
    textMode = mode;
    return 1;
}

int TextOutputDrawDirect(int, int, const char*, ...) { return 0; }

void TextOutputUpdateCursorTimer() { cursorTimer += updateRate; }
