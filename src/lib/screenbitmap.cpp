// Drawing screen bitmaps: the source rectangle clipped against the drawing destination before the
// quad is drawn.
#include "lib/screenbitmap.h"

#include "lib/memory.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "platform/quads.h"

int ScreenBitmapInitialize(SCREENBITMAPTAG* sb)
{
    if (!sb) return 0;
    sb->theBitmap = nullptr;
    sb->rsid = 0;
    sb->sx = sb->sy = 0;
    sb->w = sb->h = -1;
    sb->x = sb->y = 0;
    sb->mask = nullptr;
    return 1;
}

SCREENBITMAPTAG* ScreenBitmapCreate()
{
    SCREENBITMAPTAG* sb = nullptr;
    if (!AllocateMemoryFor(&sb, int(sizeof(SCREENBITMAPTAG)))) return nullptr;
    ScreenBitmapInitialize(sb);
    return sb;
}

int ScreenBitmapDestroy(SCREENBITMAPTAG** psb)
{
    if (!psb) return 0;
    if (!*psb) return 1;
    (*psb)->theBitmap = nullptr;
    void* p = *psb;
    int result = DestroyMemory(&p);
    *psb = static_cast<SCREENBITMAPTAG*>(p);
    return result;
}

int ScreenBitmapLoadDirect(SCREENBITMAPTAG* sb, int rsid, int)
{
    if (!sb) return 0;
    sb->rsid = rsid;
    void* handle = nullptr;
    if (!GetResourceHandle(rsid, &handle) || !handle) return 0;
    sb->theBitmap = static_cast<DS3_bitmap_tag*>(handle);
    return 1;
}

int ScreenBitmapSetSource(SCREENBITMAPTAG* sb, int sx, int sy, int w, int h)
{
    if (!sb) return 0;
    sb->sx = sx, sb->sy = sy, sb->w = w, sb->h = h;
    return 1;
}

int ScreenBitmapDrawDirect(SCREENBITMAPTAG* sb, int x, int y)
{
    if (!sb) return 0;
    sb->x = x, sb->y = y;
    return ScreenBitmapDraw(sb);
}

int ScreenBitmapDraw(SCREENBITMAPTAG* sb)
{
    if (!sb || !sb->theBitmap || !sb->theBitmap->pixels.get() || !destinationBitmap) return 0;
    const DS3_bitmap_tag* b = sb->theBitmap;
    int sx = sb->sx, sy = sb->sy, x = sb->x, y = sb->y;
    int w = sb->w == -1 ? b->width : sb->w;
    int h = sb->h == -1 ? b->height : sb->h;
    if (sx + w < 0 || sx > b->width || sy + h < 0 || sy > b->height) return 0;

    // The source, clamped to the bitmap.
    if (sx < 0) w += sx, sx = 0;
    if (sy < 0) h += sy, sy = 0;
    if (sx + w > b->width) w = b->width - sx;
    if (sy + h > b->height) h = b->height - sy;
    // The destination, clipped.
    if (x < clipLeft) {
        int d = clipLeft - x;
        sx += d, w -= d, x = clipLeft;
    }
    if (y < clipTop) {
        int d = clipTop - y;
        sy += d, h -= d, y = clipTop;
    }
    if (w > clipRight - x) w = clipRight - x;
    if (h > clipBottom - y) h = clipBottom - y;
    if (w <= 0 || h <= 0) return 1;
    // Quads only reach the screen being drawn; anything else would not get the image.
    if (destinationBitmap != screenBuffer) return 0;
    return DrawScreenPoly(sb->theBitmap, sx, sy, x, y, w, h);
}
