// The frame sequence of both screens, as every drawing caller brackets it: start the frame, draw
// the upper screen once per eye (or once in mono), draw the lower screen, finish the frame. Also
// the renderer's start-up and tear-down and the game's language from the system's.
#pragma once

#include <cstdint>

#include "platform/bitmap.h"
#include "platform/renderengine.h"

struct actor_tag;

// Face counters; nothing counts into them yet, so they stay 0.
struct DS3_renderStats {
    int32_t staticFaces, staticUnlitFaces, staticVLFaces, staticBumpFaces, staticBumpVLFaces;
    int32_t skeletalFaces, skeletalBlendFaces, skeletalBlendBumpFaces, skeletalBlendVLFaces, skeletalUnlitFaces;
    int32_t particleFaces, overlayFaces;
    int32_t totalFaces;
};

// The display whose camera is in use: 0x400, 0x410 or 0x401.
extern uint32_t displayID;
// 1 while an upper-screen image is drawn.
extern int s_isDisplay0;
// Records that describe the screens (sizes only, no pixels).
extern DS3_bitmap_tag frameBuffer;       // upper screen, 400 x 240
extern DS3_bitmap_tag frameBufferLower;  // lower screen, 320 x 240
// Drawn first on the lower screen every frame; null for none.
extern DS3_bitmap_tag* backgroundBitmap;
extern void* workBuffer;  // 1024 bytes of scratch
extern DS3_renderStats renderStats;
// Draws the frame-rate text on the lower screen; the game's settings clear it at start.
extern int showScreenFrameRate;
extern float minCPU, maxCPU, minGPU, maxGPU;
// Row of every language table (0 English), set from the system's language at start.
extern int gLanguage;
// The font that text is drawn in unless a caller selects another.
extern int RSID_FONT_DEFAULT;

int RenderInit(uint32_t commandBufferSize, uint32_t maxQuads, uint32_t display0Mode, uint32_t display1Mode);
int RenderDispose();
int RenderInitScreen();
// The game's language number for a system language code.
int MapSystemLanguage(int systemLanguage);

int RenderStartScreen();
int RenderDoneScreen();
int RenderStartDisplay0L();
int RenderEndDisplay0L();
int RenderStartDisplay0R();
int RenderEndDisplay0R();
int RenderStartDisplay0();
int RenderEndDisplay0();
int RenderStartDisplay1();
int RenderEndDisplay1();
int RenderIsDisplay0();

int RenderSelectBackground(DS3_bitmap_tag* bitmap);
// 0 clears the background; another id is looked up as a loaded bitmap (0 when it is not loaded).
int RenderSelectBackgroundResource(int rsid);
// File and sound upkeep while a load blocks.
int UpdateBackgroundServices();
// The actor's model matrix for the next 3D draws.
int SetActorXform(actor_tag* actor);
