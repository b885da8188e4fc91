// 2D quads. The quad batches reach the GPU with the renderer; until then the drawing state is kept
// and draws succeed without output.
#include "platform/quads.h"

static uint8_t penColor[4] = {255, 255, 255, 255};

int DrawScreenPoly(void*, int, int, int, int, int w, int h) { return w >= 0 && h >= 0 ? 1 : 0; }

int RenderRect(int, int, int w, int h) { return w >= 0 && h >= 0 ? 1 : 0; }

int RenderSetPenColor(uint8_t r, uint8_t g, uint8_t b)
{
    penColor[0] = r;
    penColor[1] = g;
    penColor[2] = b;
    return 1;
}

int RenderSetAlphaLevel(int alpha)
{
    penColor[3] = uint8_t(alpha);
    return 1;
}

int RenderGetAlphaLevel(uint8_t* alpha)
{
    if (alpha) *alpha = penColor[3];
    return 1;
}
