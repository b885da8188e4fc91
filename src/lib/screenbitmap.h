// Screen bitmaps: a bitmap resource with a source rectangle and a destination position, drawn
// clipped into the 2D drawing destination.
#pragma once

#include "platform/bitmap.h"

struct SCREENBITMAPTAG {
    DS3_bitmap_tag* theBitmap;
    int rsid;
    int sx, sy;  // source corner in the bitmap
    int w, h;    // source size; -1 = the bitmap's full width or height
    int x, y;    // destination corner
    void* mask;  // not used by the drawing
};

// All return 0 for a null record.
int ScreenBitmapInitialize(SCREENBITMAPTAG* sb);
SCREENBITMAPTAG* ScreenBitmapCreate();
int ScreenBitmapDestroy(SCREENBITMAPTAG** psb);
// Takes the loaded bitmap rsid; 0 when it is not loaded. The last argument is not used.
int ScreenBitmapLoadDirect(SCREENBITMAPTAG* sb, int rsid, int unused);
int ScreenBitmapSetSource(SCREENBITMAPTAG* sb, int sx, int sy, int w, int h);
int ScreenBitmapDrawDirect(SCREENBITMAPTAG* sb, int x, int y);
// Draws the source clamped to the bitmap and clipped to the clip rectangle. 0 without a bitmap,
// a destination, or with a source wholly outside the bitmap; 0 also for a destination that is not
// the screen being drawn, where nothing can be drawn.
int ScreenBitmapDraw(SCREENBITMAPTAG* sb);
