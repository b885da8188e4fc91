// The 2D quad batcher: quads appended to the frame's buffer and merged into one draw while their
// texture and colour state stay the same.
#include "platform/quads.h"

#include <algorithm>
#include <cstring>

#include "host/gpu.h"
#include "lib/matrix.h"
#include "lib/memory.h"
#include "platform/gpucommands.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "platform/shaders.h"

uint8_t penColor[4] = {255, 255, 255, 255};
uint8_t colorModulation[4] = {255, 255, 255, 255};
int penWidth = 1, penHeight = 1;

float s_depth;
uint8_t oldAlpha = 255;
int s_Parallax;
DS3_bitmap_tag* activeTexture;
OverlayBuffer overlayBuffers[kQuadBuffers];
OverlayBuffer* overlayBuffer;
uint8_t* overlayBufferData;
int overlayBufferNum;
uint32_t numOverlayPolys;
uint32_t stripStartOverlayPolys;

// Quad numbers must give 16-bit indices (four vertices a quad).
constexpr uint32_t kMaxQuadsPerBuffer = 0x4000;

int InitOverlays(uint32_t maxQuads)
{
    if (overlayBufferData) DisposeOverlays();
    if (maxQuads == 0 || maxQuads > kMaxQuadsPerBuffer) return 0;
    const uint32_t vertexBytes = maxQuads * kQuadVertexBytes;
    const uint32_t indexBytes = maxQuads * kQuadIndexBytes;
    void* p = nullptr;
    if (!AllocateClearedMemory(&p, int(kQuadBuffers * (vertexBytes + indexBytes)))) return 0;
    overlayBufferData = static_cast<uint8_t*>(p);
    for (int i = 0; i < kQuadBuffers; ++i) {
        OverlayBuffer& b = overlayBuffers[i];
        uint8_t* vertices = overlayBufferData + i * vertexBytes;
        uint8_t* indices = overlayBufferData + kQuadBuffers * vertexBytes + i * indexBytes;
        b.vertices = reinterpret_cast<ScreenPolyVertex*>(vertices);
        b.vertexAddress = GpuPhysicalAddress(vertices);
        b.indices = reinterpret_cast<uint16_t*>(indices);
        b.indexAddress = GpuPhysicalAddress(indices);
        b.capacity = maxQuads;
        b.quadsWritten = 0;
    }
    overlayBufferNum = 0;
    overlayBuffer = nullptr;
    numOverlayPolys = stripStartOverlayPolys = 0;
    activeTexture = nullptr;
    s_Parallax = 0;
    return 1;
}

int DisposeOverlays()
{
    int ok = 1;
    if (overlayBufferData) ok = FreeManagedMemory(overlayBufferData, 0);
    overlayBufferData = nullptr;
    std::memset(overlayBuffers, 0, sizeof overlayBuffers);
    overlayBuffer = nullptr;
    numOverlayPolys = stripStartOverlayPolys = 0;
    activeTexture = nullptr;
    return ok;
}

int StartFrameOverlays()
{
    if (!overlayBufferData) return 0;
    overlayBuffer = &overlayBuffers[overlayBufferNum];
    numOverlayPolys = stripStartOverlayPolys = 0;
    return 1;
}

// Quads actually stored this frame: those beyond the capacity were dropped.
static uint32_t StoredQuads()
{
    if (!overlayBuffer) return 0;
    return numOverlayPolys < overlayBuffer->capacity ? numOverlayPolys : overlayBuffer->capacity;
}

int EndFrameOverlays()
{
    if (!overlayBuffer) return 0;
    if (numOverlayPolys > overlayBuffer->capacity) return 0;
    // The GPU reads the quads straight from this memory when the frame's list runs; the next
    // buffer of the rotation starts empty. Only the quads written into it need zeroing: the rest
    // is zero still.
    overlayBuffer->quadsWritten = std::max(overlayBuffer->quadsWritten, StoredQuads());
    overlayBufferNum = (overlayBufferNum + 1) % kQuadBuffers;
    OverlayBuffer& next = overlayBuffers[overlayBufferNum];
    std::memset(next.vertices, 0, next.quadsWritten * kQuadVertexBytes);
    std::memset(next.indices, 0, next.quadsWritten * kQuadIndexBytes);
    next.quadsWritten = 0;
    overlayBuffer = nullptr;
    return 1;
}

int RenderStartScreenPolys()
{
    stripStartOverlayPolys = StoredQuads();
    return 1;
}

int RenderEndScreenPolys()
{
    uint32_t stored = StoredQuads();
    if (stored > stripStartOverlayPolys) {
        const OverlayBuffer& b = *overlayBuffer;
        DS3_SetVertexBuffer(b.vertexAddress);
        DS3_DrawIndexedTristrip(b.indexAddress - b.vertexAddress + kQuadIndexBytes * stripStartOverlayPolys,
                                6 * (stored - stripStartOverlayPolys));
    }
    stripStartOverlayPolys = stored;
    return 1;
}

// Corners in the order top-left, top-right, bottom-left, bottom-right.
struct QuadCorners {
    float x[4], y[4], u[4], v[4];
};

static void AxisAligned(QuadCorners* q, float x, float y, float w, float h)
{
    q->x[0] = q->x[2] = x;
    q->x[1] = q->x[3] = x + w;
    q->y[0] = q->y[1] = y;
    q->y[2] = q->y[3] = y + h;
}

static void Rotated(QuadCorners* q, float cx, float cy, float w, float h, float angle)
{
    matrix m;
    setZRotationMatrix(m, angle);
    const float ox[4] = {-w * 0.5f, w * 0.5f, -w * 0.5f, w * 0.5f};
    const float oy[4] = {-h * 0.5f, -h * 0.5f, h * 0.5f, h * 0.5f};
    for (int i = 0; i < 4; ++i) {
        float v[3] = {ox[i], oy[i], 0.0f};
        composeNormal(v, m);
        q->x[i] = cx + v[0];
        q->y[i] = cy + v[1];
    }
}

// Texture coordinates of a source rectangle, mirrored and turned as the attributes say.
static void SourceRect(QuadCorners* q, const DS3_bitmap_tag* b, int sx, int sy, int sw, int sh, int attributes)
{
    float left = float(sx) * b->widthInv, right = float(sx + sw) * b->widthInv;
    float top = float(sy) * b->heightInv, bottom = float(sy + sh) * b->heightInv;
    if (attributes & kPolyMirrorX) {
        float t = left;
        left = right;
        right = t;
    }
    if (attributes & kPolyMirrorY) {
        float t = top;
        top = bottom;
        bottom = t;
    }
    if (attributes & kPolyRotate90) {
        // A quarter turn clockwise: the source's left column becomes the top row.
        const float u[4] = {left, left, right, right};
        const float v[4] = {bottom, top, bottom, top};
        std::memcpy(q->u, u, sizeof u);
        std::memcpy(q->v, v, sizeof v);
    } else {
        const float u[4] = {left, right, left, right};
        const float v[4] = {top, top, bottom, bottom};
        std::memcpy(q->u, u, sizeof u);
        std::memcpy(q->v, v, sizeof v);
    }
}

// Selects the quad program and, for textured quads, the bitmap.
static void PrepareQuad(DS3_bitmap_tag* bitmap)
{
    RenderSetShader(0, bitmap ? 0 : 1, 0);
    if (bitmap && bitmap != activeTexture) {
        RenderEndScreenPolys();
        DS3_SetTexture(bitmap);
        activeTexture = bitmap;
    }
}

// Stores one quad with the per-eye shift applied. Quads beyond the buffer's capacity are counted
// (the frame then fails at its end) but never written.
static int AddQuad(QuadCorners* q)
{
    if (!overlayBuffer) return 1;
    if (s_Parallax && isStereo && displayID != kDisplayLower) {
        float p = float(RenderGetCameraParallax(s_depth));
        if (displayID == kDisplayUpperLeft) p = -p;
        else if (displayID != kDisplayUpperRight) p = 0.0f;
        for (float& x : q->x) x += p;
    }
    uint32_t n = numOverlayPolys++;
    if (n >= overlayBuffer->capacity) return 1;
    ScreenPolyVertex* v = overlayBuffer->vertices + 4 * n;
    for (int i = 0; i < 4; ++i) v[i] = {q->x[i], q->y[i], s_depth, q->u[i], q->v[i]};
    uint16_t* ix = overlayBuffer->indices + 6 * n;
    const uint16_t b = uint16_t(4 * n);
    const uint16_t order[6] = {b, b, uint16_t(b + 2), uint16_t(b + 1), uint16_t(b + 3), uint16_t(b + 3)};
    std::memcpy(ix, order, sizeof order);
    return 1;
}

int DrawScreenPoly(DS3_bitmap_tag* bitmap, int sx, int sy, int x, int y, int w, int h)
{
    if (!bitmap) return 0;
    PrepareQuad(bitmap);
    QuadCorners q;
    SourceRect(&q, bitmap, sx, sy, w, h, 0);
    AxisAligned(&q, float(x), float(y), float(w), float(h));
    return AddQuad(&q);
}

int DrawScreenPolyEx(ScreenPolyData* d)
{
    if (!d || !d->theBitmap) return 0;
    PrepareQuad(d->theBitmap);
    QuadCorners q;
    SourceRect(&q, d->theBitmap, d->sx, d->sy, d->sw, d->sh, d->attributes);
    AxisAligned(&q, float(d->x), float(d->y), float(d->w), float(d->h));
    return AddQuad(&q);
}

int DrawScreenPolyRot(DS3_bitmap_tag* bitmap, int sx, int sy, int x, int y, int w, int h, float angle)
{
    if (!bitmap) return 0;
    PrepareQuad(bitmap);
    QuadCorners q;
    SourceRect(&q, bitmap, sx, sy, w, h, 0);
    Rotated(&q, float(x), float(y), float(w), float(h), angle);
    return AddQuad(&q);
}

int DrawScreenPolyRotEx(ScreenPolyData* d, float angle)
{
    if (!d || !d->theBitmap) return 0;
    PrepareQuad(d->theBitmap);
    QuadCorners q;
    SourceRect(&q, d->theBitmap, d->sx, d->sy, d->sw, d->sh, d->attributes);
    Rotated(&q, float(d->x), float(d->y), float(d->w), float(d->h), angle);
    return AddQuad(&q);
}

int RenderRect(int x, int y, int w, int h)
{
    PrepareQuad(nullptr);
    QuadCorners q;
    const float u[4] = {0, 1, 0, 1}, v[4] = {0, 0, 1, 1};
    std::memcpy(q.u, u, sizeof u);
    std::memcpy(q.v, v, sizeof v);
    AxisAligned(&q, float(x), float(y), float(w), float(h));
    return AddQuad(&q);
}

int RenderFrameRect(int x, int y, int w, int h)
{
    int inner = h - 2 * penHeight;
    return RenderRect(x, y, w, penHeight) && RenderRect(x, y + h - penHeight, w, penHeight) &&
           RenderRect(x, y + penHeight, penWidth, inner) && RenderRect(x + w - penWidth, y + penHeight, penWidth, inner);
}

// A change of the colour state: the quads queued so far keep the old colours, and the combiner's
// constant is sent again before the next quad.
static void ColourChanging()
{
    RenderEndScreenPolys();
    s_RenderState.isInvalidColor = 1;
}

int RenderSetPenColor(uint8_t r, uint8_t g, uint8_t b)
{
    ColourChanging();
    penColor[0] = r;
    penColor[1] = g;
    penColor[2] = b;
    return 1;
}

int RenderGetPenColor(int* r, int* g, int* b)
{
    if (r) *r = penColor[0];
    if (g) *g = penColor[1];
    if (b) *b = penColor[2];
    return 1;
}

int RenderSetPenSize(int w, int h)
{
    penWidth = w;
    penHeight = h;
    return 1;
}

int RenderSetAlphaLevel(int alpha)
{
    ColourChanging();
    oldAlpha = colorModulation[3];
    colorModulation[3] = uint8_t(alpha);
    penColor[3] = uint8_t(alpha);
    return 1;
}

int RenderGetAlphaLevel(uint8_t* alpha)
{
    if (alpha) *alpha = colorModulation[3];
    return 1;
}

// 128 is the neutral value: below it the texture is darkened, from it on it is shown as it is.
static uint8_t Modulation(uint8_t v) { return v < 128 ? uint8_t(2 * v) : 255; }

int RenderSetColorModulation(uint8_t r, uint8_t g, uint8_t b)
{
    ColourChanging();
    colorModulation[0] = Modulation(r);
    colorModulation[1] = Modulation(g);
    colorModulation[2] = Modulation(b);
    return 1;
}

int RenderSetZLevel(float z)
{
    s_depth = z;
    return 1;
}

int RenderEnableParallax()
{
    s_Parallax = 1;
    return 1;
}

int RenderDisableParallax()
{
    s_Parallax = 0;
    return 1;
}

int RenderSetTexture(DS3_bitmap_tag* bitmap)
{
    if (!bitmap) {
        activeTexture = nullptr;
        return 1;
    }
    if (bitmap != activeTexture) {
        RenderEndScreenPolys();
        DS3_SetTexture(bitmap);
        activeTexture = bitmap;
    }
    return 1;
}
