// Drawing shared by the 2D widgets and the on-screen keyboard: scaled and aligned text drawn glyph
// by glyph with its bounding box, an outline plate behind text, justified multi-line text, a
// nine-part stretchable box and a scaled bitmap. Text goes through the text output module with the
// font and colours the caller selected; texts are always drawn literally, never as formats.
#pragma once

// Alignment codes: horizontal 0 left, 1 centre, 2 right of x; vertical 0 top, 1 middle, 2 bottom.
// Texts of 1 to 255 characters are drawn; empty, null and longer texts draw nothing.
enum { kBasicUiMaxTextTiles = 256 };

int BasicUi_RenderScaledDbText(int x, int y, float scaleX, float scaleY, int alignX, int alignY, const char* text);
// The first `length` characters (1..255).
int BasicUi_RenderScaledDbText(int x, int y, float scaleX, float scaleY, int alignX, int alignY, const char* text,
                               int length);
// The rectangle the same call would cover. The outputs start at 0x1000000, 0x1000000, -0x1000000,
// -0x1000000 and keep these for a text that draws nothing; nothing happens for a null output.
int BasicUi_BoundsScaledDbText(int x, int y, float scaleX, float scaleY, int alignX, int alignY, const char* text,
                               int* minX, int* minY, int* maxX, int* maxY);
int BasicUi_BoundsScaledDbText(int x, int y, float scaleX, float scaleY, int alignX, int alignY, const char* text,
                               int length, int* minX, int* minY, int* maxX, int* maxY);
// A black plate under the text, each glyph grown by border pixels; modulation 127 afterwards.
int BasicUi_RenderScaledDbTextBG(int x, int y, float scaleX, float scaleY, int alignX, int alignY, const char* text,
                                 int border);
// Text in a column of the given width: words split at spaces, tabs and line ends; two spaces or a
// line feed end a paragraph.
// A paragraph is justified only where every line but its last stretches to the edge with gaps of
// at most twice a space (and three words or more); otherwise it is set flush left. The last line
// of a paragraph keeps single spaces. A word wider than the column is broken at its edge.
// Returns the height drawn.
int BasicUi_RenderScaledColumnStyleText(int x, int y, int width, float scaleX, float scaleY, const char* text);
// The same within a box of width x height: the lines that would pass its bottom are not drawn.
int BasicUi_RenderScaledColumnStyleText(int x, int y, int width, int height, float scaleX, float scaleY,
                                        const char* text);
// Nine-part box from a bitmap resource of bitmapW x bitmapH with corners cornerW x cornerH.
int BasicUi_RenderSizableBox(int rsid, int x, int y, int w, int h, int cornerW, int cornerH, int bitmapW,
                             int bitmapH);
// The bitmap resource's w x h region from (0, 0) at (x, y).
int BasicUi_RenderScaledImage(int x, int y, int w, int h, int rsid);
