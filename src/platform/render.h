// The frame sequence of both screens: start-up of rendering, and the brackets of each frame and
// each display (upper screen once per eye, then the lower screen).
#pragma once

#include <cstdint>

#include "platform/bitmap.h"

// Display identifiers.
enum { kDisplayUpperLeft = 0x400, kDisplayUpperRight = 0x410, kDisplayLower = 0x401, kDisplayBoth = 0x402 };

// Records that describe the screens (sizes only, no pixels).
extern DS3_bitmap_tag frameBuffer;       // upper screen, 400 x 240
extern DS3_bitmap_tag frameBufferLower;  // lower screen, 320 x 240
extern DS3_bitmap_tag* backgroundBitmap;

int RenderInit(uint32_t commandBufferSize, uint32_t maxQuads, uint32_t display0Mode, uint32_t display1Mode);
int RenderInitScreen();
int RenderDispose();

int RenderStartScreen();
int RenderDoneScreen();
int RenderStartDisplay0();
int RenderEndDisplay0();
int RenderStartDisplay0L();
int RenderEndDisplay0L();
int RenderStartDisplay0R();
int RenderEndDisplay0R();
int RenderStartDisplay1();
int RenderEndDisplay1();
int RenderSelectBackground(DS3_bitmap_tag* bitmap);
