// 2D quads: everything flat on either screen (menus, overlays, text glyphs, the lower screen's
// background, rectangles and frames) drawn as screen-aligned textured or flat quads. Each call
// appends four vertices and six indices to the frame's buffer; consecutive quads that share the
// texture and colour state are drawn together as one triangle strip by one draw command.
#pragma once

#include <cstdint>

#include "platform/bitmap.h"

// One vertex as program 0 reads it: screen pixels, the z level, texture coordinates.
struct ScreenPolyVertex {
    float x, y, z, u, v;
};
static_assert(sizeof(ScreenPolyVertex) == 20, "quad vertices are 20 bytes");

constexpr int kQuadVertexBytes = 4 * sizeof(ScreenPolyVertex);  // 80
constexpr int kQuadIndexBytes = 6 * sizeof(uint16_t);            // 12
constexpr int kQuadBuffers = 3;

// attributes of ScreenPolyData.
enum { kPolyMirrorX = 1, kPolyMirrorY = 2, kPolyRotate90 = 4 };

// A quad description: the source rectangle in texels scaled onto the destination in pixels.
struct ScreenPolyData {
    DS3_bitmap_tag* theBitmap;
    int sx, sy, sw, sh;
    int x, y, w, h;
    int attributes;
};

// One of the three buffers used in rotation, one per frame.
struct OverlayBuffer {
    ScreenPolyVertex* vertices;
    uint32_t vertexAddress;  // GPU address
    uint16_t* indices;
    uint32_t indexAddress;   // GPU address
    uint32_t capacity;       // quads
    uint32_t quadsWritten;   // quads written since the buffer was last zeroed
};

// The shared 2D drawing state: red, green, blue, alpha. colorModulation holds the bytes the
// combiner multiplies textures by (already scaled, see RenderSetColorModulation).
extern uint8_t penColor[4];
extern uint8_t colorModulation[4];
extern int penWidth, penHeight;

extern float s_depth;
extern uint8_t oldAlpha;
extern int s_Parallax;
extern DS3_bitmap_tag* activeTexture;
extern OverlayBuffer overlayBuffers[kQuadBuffers];
extern OverlayBuffer* overlayBuffer;
extern uint8_t* overlayBufferData;
extern int overlayBufferNum;
extern uint32_t numOverlayPolys;
extern uint32_t stripStartOverlayPolys;

// Buffers for maxQuads quads a frame, three times over. 0 when the memory cannot be had.
int InitOverlays(uint32_t maxQuads);
int DisposeOverlays();
// The frame's buffer, empty.
int StartFrameOverlays();
// Hands the frame's quads over and moves to the next buffer. 0 when more quads were queued than
// the buffer holds (those beyond its capacity were dropped).
int EndFrameOverlays();

// A run of quads starts at the current quad count (program 0 became active) / the pending run is
// drawn.
int RenderStartScreenPolys();
int RenderEndScreenPolys();

// The w x h texels at (sx, sy), unscaled, with the top-left corner at (x, y).
int DrawScreenPoly(DS3_bitmap_tag* bitmap, int sx, int sy, int x, int y, int w, int h);
// For callers that carry the bitmap untyped.
inline int DrawScreenPoly(void* bitmap, int sx, int sy, int x, int y, int w, int h)
{
    return DrawScreenPoly(static_cast<DS3_bitmap_tag*>(bitmap), sx, sy, x, y, w, h);
}
// The source rectangle scaled onto the destination, mirrored and turned as the attributes say.
int DrawScreenPolyEx(ScreenPolyData* d);
// As DrawScreenPoly / DrawScreenPolyEx with (x, y) the centre, turned by angle degrees about it.
int DrawScreenPolyRot(DS3_bitmap_tag* bitmap, int sx, int sy, int x, int y, int w, int h, float angle);
int DrawScreenPolyRotEx(ScreenPolyData* d, float angle);
// A rectangle filled with the pen colour / its outline, pen-size thick.
int RenderRect(int x, int y, int w, int h);
int RenderFrameRect(int x, int y, int w, int h);

int RenderSetPenColor(uint8_t r, uint8_t g, uint8_t b);
int RenderGetPenColor(int* r, int* g, int* b);
int RenderSetPenSize(int w, int h);
// Alpha of both the pen colour and the modulation; the getter reports the modulation's.
int RenderSetAlphaLevel(int alpha);
int RenderGetAlphaLevel(uint8_t* alpha);
// The colour textured quads are multiplied by: a component v below 128 becomes 2v, 128 and above
// become 255, so that 128 is neutral (the texture shows as it is) and lower values darken it.
int RenderSetColorModulation(uint8_t r, uint8_t g, uint8_t b);
int RenderSetZLevel(float z);
int RenderEnableParallax();
int RenderDisableParallax();
// Binds a texture for later quads; null only forgets the current one.
int RenderSetTexture(DS3_bitmap_tag* bitmap);
