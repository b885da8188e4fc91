// Shared drawing of the overlays: the inline button glyphs, font ids and the message panel.
#pragma once

int InitOverlayBitmaps();
int DisposeOverlayBitmaps();
// The font resource id for the display variant.
int GetFontRSID(int id);
int DrawOverlayBackground(int x, int y, int width, int height);
