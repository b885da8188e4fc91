// 2D quads recorded without a GPU: the vertices and indices stored per quad, the draw commands
// that runs of quads become, the colour state, and the per-eye shift.
#include "platform/quads.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gpu_recording.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "platform/shaders.h"
#include "support/device_heap.h"

namespace {

struct Draw {
    uint32_t offset;  // bytes after the vertex base, without the 16-bit flag
    uint32_t count;
    uint32_t vertexBase;  // physical address
};

// The indexed draws of a recording with the register state at each.
std::vector<Draw> Draws(const GpuRecording& rec)
{
    std::vector<Draw> out;
    uint32_t base = 0, offset = 0, count = 0;
    for (const RegWrite& w : rec.Writes()) {
        if (w.reg == kGpuRegVertexBase) base = w.value * 8;
        if (w.reg == kGpuRegIndexBuffer) offset = w.value & ~kGpuIndex16;
        if (w.reg == kGpuRegIndexCount) count = w.value;
        if (w.reg == kGpuRegDrawIndexed) out.push_back({offset, count, base});
    }
    return out;
}

class Quads : public ::testing::Test {
protected:
    DS3_bitmap_tag bitmap{};
    DS3_bitmap_tag other{};

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(4 << 20), 1);
        ASSERT_EQ(InitOverlays(16), 1);
        ASSERT_EQ(StartFrameOverlays(), 1);
        for (DS3_bitmap_tag* b : {&bitmap, &other}) {
            b->width = 64;
            b->height = 32;
            b->widthInv = 1.0f / 64.0f;
            b->heightInv = 1.0f / 32.0f;
        }
        displayID = kDisplayLower;
        s_ActiveShader = -1;
        RenderDisableParallax();
        RenderSetZLevel(0.0f);
        RenderSetPenSize(1, 1);
        RenderSetTexture(nullptr);
    }
    void TearDown() override
    {
        DisposeOverlays();
        ReleaseDeviceHeap();
        s_ActiveShader = -1;
    }
    static const ScreenPolyVertex* Quad(uint32_t n) { return overlayBuffers[overlayBufferNum].vertices + 4 * n; }
    static void ExpectCorners(uint32_t n, float x0, float y0, float x1, float y1)
    {
        const ScreenPolyVertex* v = Quad(n);
        EXPECT_FLOAT_EQ(v[0].x, x0);
        EXPECT_FLOAT_EQ(v[0].y, y0);
        EXPECT_FLOAT_EQ(v[1].x, x1);
        EXPECT_FLOAT_EQ(v[1].y, y0);
        EXPECT_FLOAT_EQ(v[2].x, x0);
        EXPECT_FLOAT_EQ(v[2].y, y1);
        EXPECT_FLOAT_EQ(v[3].x, x1);
        EXPECT_FLOAT_EQ(v[3].y, y1);
    }
};

TEST_F(Quads, ARunOfQuadsWithOneBitmapIsOneDraw)
{
    GpuRecording rec;
    RenderSetZLevel(6.0f);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(DrawScreenPoly(&bitmap, 8, 4, 10 * i, 20, 16, 8), 1);
    EXPECT_TRUE(Draws(rec).empty()) << "nothing is drawn while the run grows";
    RenderSetShader(-1, 0, 0);  // the end of the display's commands

    std::vector<Draw> draws = Draws(rec);
    ASSERT_EQ(draws.size(), 1u);
    const OverlayBuffer& b = overlayBuffers[overlayBufferNum];
    EXPECT_EQ(draws[0].count, 18u);
    EXPECT_EQ(draws[0].vertexBase, b.vertexAddress);
    EXPECT_EQ(draws[0].offset, b.indexAddress - b.vertexAddress);
    EXPECT_EQ(rec.WritesIn(kGpuRegTexUnit0, 8).size(), 6u) << "the bitmap is bound once";

    // Corners top-left, top-right, bottom-left, bottom-right; texels scaled by the inverses.
    ExpectCorners(2, 20, 20, 36, 28);
    const ScreenPolyVertex* v = Quad(2);
    EXPECT_FLOAT_EQ(v[0].u, 8.0f / 64.0f);
    EXPECT_FLOAT_EQ(v[3].u, 24.0f / 64.0f);
    EXPECT_FLOAT_EQ(v[0].v, 4.0f / 32.0f);
    EXPECT_FLOAT_EQ(v[3].v, 12.0f / 32.0f);
    EXPECT_FLOAT_EQ(v[3].z, 6.0f);
    // Degenerate joins make the quads one strip.
    const uint16_t expect[6] = {8, 8, 10, 9, 11, 11};
    EXPECT_EQ(0, std::memcmp(b.indices + 12, expect, sizeof expect));
    EXPECT_EQ(numOverlayPolys, 3u);
}

TEST_F(Quads, StateChangesDrawWhatCameBefore)
{
    GpuRecording rec;
    RenderRect(0, 0, 10, 10);
    RenderSetPenColor(255, 0, 0);
    ASSERT_EQ(Draws(rec).size(), 1u) << "the first rectangle keeps its colour";
    EXPECT_EQ(s_RenderState.isInvalidColor, 1);
    RenderRect(0, 20, 10, 10);
    EXPECT_EQ(s_RenderState.isInvalidColor, 0) << "the new colour went out with the second";
    DrawScreenPoly(&bitmap, 0, 0, 0, 0, 4, 4);  // flat to textured
    DrawScreenPoly(&other, 0, 0, 0, 0, 4, 4);   // another texture
    RenderSetAlphaLevel(128);
    RenderSetColorModulation(1, 2, 3);  // nothing pending: no empty draw
    RenderSetShader(-1, 0, 0);

    std::vector<Draw> draws = Draws(rec);
    ASSERT_EQ(draws.size(), 4u);
    const OverlayBuffer& b = overlayBuffers[overlayBufferNum];
    for (uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(draws[i].count, 6u);
        EXPECT_EQ(draws[i].offset, b.indexAddress - b.vertexAddress + 12 * i);
    }
    EXPECT_EQ(penColor[0], 255);
    EXPECT_EQ(penColor[1], 0);
}

TEST_F(Quads, ColourModulationAndAlpha)
{
    GpuRecording rec;
    RenderSetColorModulation(127, 64, 200);
    EXPECT_EQ(colorModulation[0], 254);
    EXPECT_EQ(colorModulation[1], 128);
    EXPECT_EQ(colorModulation[2], 255) << "from the neutral 128 on the texture shows as it is";
    RenderSetAlphaLevel(200);
    RenderSetAlphaLevel(90);
    EXPECT_EQ(oldAlpha, 200);
    uint8_t a = 0;
    RenderGetAlphaLevel(&a);
    EXPECT_EQ(a, 90);
    EXPECT_EQ(penColor[3], 90);
}

TEST_F(Quads, FrameRectangles)
{
    GpuRecording rec;
    RenderSetPenSize(2, 3);
    ASSERT_EQ(RenderFrameRect(10, 10, 100, 50), 1);
    ASSERT_EQ(numOverlayPolys, 4u);
    ExpectCorners(0, 10, 10, 110, 13);
    ExpectCorners(1, 10, 57, 110, 60);
    ExpectCorners(2, 10, 13, 12, 57);
    ExpectCorners(3, 108, 13, 110, 57);
}

TEST_F(Quads, TurnedQuadsTurnAboutTheirCentre)
{
    GpuRecording rec;
    ASSERT_EQ(DrawScreenPolyRot(&bitmap, 0, 0, 100, 60, 40, 20, 90.0f), 1);
    // A quarter turn clockwise on a y-down screen: the top-left corner goes to the top-right.
    const ScreenPolyVertex* v = Quad(0);
    EXPECT_NEAR(v[0].x, 110.0f, 1e-4f);
    EXPECT_NEAR(v[0].y, 40.0f, 1e-4f);
    EXPECT_NEAR(v[3].x, 90.0f, 1e-4f);
    EXPECT_NEAR(v[3].y, 80.0f, 1e-4f);
    ScreenPolyData d{&bitmap, 0, 0, 64, 32, 0, 0, 10, 10, 0};
    ASSERT_EQ(DrawScreenPolyRotEx(&d, 0.0f), 1);
    ExpectCorners(1, -5, -5, 5, 5);
    EXPECT_EQ(DrawScreenPoly(static_cast<DS3_bitmap_tag*>(nullptr), 0, 0, 0, 0, 1, 1), 0);
    EXPECT_EQ(numOverlayPolys, 2u) << "no bitmap, no quad";
}

TEST_F(Quads, QuadsBeyondTheBufferAreDroppedAndTheFrameFails)
{
    GpuRecording rec;
    const OverlayBuffer& b = overlayBuffers[overlayBufferNum];
    OverlayBuffer& next = overlayBuffers[(overlayBufferNum + 1) % kQuadBuffers];
    // The next buffer's areas follow this one's: mark their first bytes, as an earlier frame's
    // quads would have.
    std::memset(next.vertices, 0x5A, 80);
    std::memset(next.indices, 0x5A, 12);
    next.quadsWritten = 1;
    for (int i = 0; i < 20; ++i) RenderRect(i, i, 5, 5);
    EXPECT_EQ(numOverlayPolys, 20u);
    RenderSetShader(-1, 0, 0);
    std::vector<Draw> draws = Draws(rec);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].count, 6u * b.capacity) << "only the quads that fitted are drawn";
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(next.vertices)[79], 0x5A);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(next.indices)[11], 0x5A);
    EXPECT_EQ(EndFrameOverlays(), 0);

    // The next frame is a normal one, in the next buffer of the rotation, which starts empty.
    int failed = overlayBufferNum;
    ASSERT_EQ(StartFrameOverlays(), 1);
    RenderRect(0, 0, 5, 5);
    EXPECT_EQ(EndFrameOverlays(), 1);
    EXPECT_EQ(overlayBufferNum, (failed + 1) % kQuadBuffers);
    const ScreenPolyVertex zero{};
    EXPECT_EQ(0, std::memcmp(overlayBuffers[overlayBufferNum].vertices, &zero, sizeof zero));
    EXPECT_EQ(InitOverlays(0x10000), 0) << "quad numbers must fit 16-bit indices";
}

}  // namespace
