#include "overlays/overlaydraw.h"

#include "shell/globals.h"

// Fonts of the larger display variants follow 29 ids further on per step.
int GetFontRSID(int id) { return id + gHiDef * 29; }

// The glyph images and the message panel arrive with the overlay bitmaps; until then there is
// nothing to load and the panel cannot be drawn.
int InitOverlayBitmaps() { return 0; }
int DisposeOverlayBitmaps() { return 1; }
int DrawOverlayBackground(int, int, int, int) { return 0; }
