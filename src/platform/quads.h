// 2D quads on the lower screen: images, filled rectangles, the pen colour and alpha.
#pragma once

#include <cstdint>

int DrawScreenPoly(void* bitmap, int sx, int sy, int x, int y, int w, int h);
int RenderRect(int x, int y, int w, int h);
int RenderSetPenColor(uint8_t r, uint8_t g, uint8_t b);
int RenderSetAlphaLevel(int alpha);
int RenderGetAlphaLevel(uint8_t* alpha);
