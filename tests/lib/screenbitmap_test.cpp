// Screen bitmaps: the source clamped to the bitmap, the destination clipped, and the refusals;
// the quads that reach the batcher show what was drawn.
#include "lib/screenbitmap.h"

#include <gtest/gtest.h>

#include "lib/memory.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "platform/gpu_recording.h"
#include "platform/quads.h"
#include "support/device_heap.h"

namespace {

class ScreenBitmap : public ::testing::Test {
protected:
    DS3_bitmap_tag bitmap{};
    uint8_t texels[64 * 32] = {};
    SCREENBITMAPTAG sb{};

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(4 << 20), 1);
        ASSERT_EQ(InitResources(10000), 1);
        ASSERT_EQ(InitOverlays(16), 1);
        ASSERT_EQ(StartFrameOverlays(), 1);
        displayID = kDisplayLower;
        s_ActiveShader = -1;
        RenderDisableParallax();
        RenderSetZLevel(0.0f);
        RenderSetTexture(nullptr);
        frameBufferLower.width = 320;
        frameBufferLower.height = 240;
        ScreenChangeDisplayMode();
        bitmap.width = 64;
        bitmap.height = 32;
        bitmap.widthInv = 1.0f / 64;
        bitmap.heightInv = 1.0f / 32;
        bitmap.pixels.offset = 0;
        ScreenBitmapInitialize(&sb);
        sb.theBitmap = &bitmap;
    }
    void TearDown() override
    {
        DisposeOverlays();
        FreeResources();
        ReleaseDeviceHeap();
        s_ActiveShader = -1;
    }
    void GivePixels()
    {
        void* p = nullptr;
        ASSERT_EQ(AllocateMemory(&p, 64 * 32), 1);
        bitmap.pixels = static_cast<uint8_t*>(p);
    }
    // The last quad: its corners and its source's left and top in texels.
    static void ExpectQuad(float x0, float y0, float x1, float y1, float sx, float sy)
    {
        ASSERT_GT(numOverlayPolys, 0u);
        const ScreenPolyVertex* v = overlayBuffers[overlayBufferNum].vertices + 4 * (numOverlayPolys - 1);
        EXPECT_FLOAT_EQ(v[0].x, x0);
        EXPECT_FLOAT_EQ(v[0].y, y0);
        EXPECT_FLOAT_EQ(v[3].x, x1);
        EXPECT_FLOAT_EQ(v[3].y, y1);
        EXPECT_FLOAT_EQ(v[0].u * 64, sx);
        EXPECT_FLOAT_EQ(v[0].v * 32, sy);
    }
    GpuRecording rec;
};

TEST_F(ScreenBitmap, RecordsStartEmptyAndComeAndGo)
{
    EXPECT_EQ(sb.w, -1);
    EXPECT_EQ(sb.h, -1);
    EXPECT_EQ(ScreenBitmapInitialize(nullptr), 0);
    EXPECT_EQ(ScreenBitmapDraw(nullptr), 0);
    EXPECT_EQ(ScreenBitmapSetSource(nullptr, 0, 0, 1, 1), 0);
    SCREENBITMAPTAG* made = ScreenBitmapCreate();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->theBitmap, nullptr);
    EXPECT_EQ(made->w, -1);
    EXPECT_EQ(ScreenBitmapLoadDirect(made, 3200, 0), 0) << "not loaded";
    EXPECT_EQ(made->rsid, 3200);
    EXPECT_EQ(ScreenBitmapDestroy(&made), 1);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(ScreenBitmapDestroy(&made), 1) << "nothing left to free";
    EXPECT_EQ(ScreenBitmapDestroy(nullptr), 0);
}

TEST_F(ScreenBitmap, SourceClampedAndDestinationClipped)
{
    GivePixels();
    // The whole bitmap.
    ASSERT_EQ(ScreenBitmapDrawDirect(&sb, 10, 20), 1);
    ExpectQuad(10, 20, 74, 52, 0, 0);
    // A source starting left of the bitmap is shifted, not refused.
    ScreenBitmapSetSource(&sb, -8, 4, 24, 8);
    ASSERT_EQ(ScreenBitmapDrawDirect(&sb, 100, 100), 1);
    ExpectQuad(100, 100, 116, 108, 0, 4);
    // One reaching past the right edge is cut at it.
    ScreenBitmapSetSource(&sb, 50, 0, 40, -1);
    ASSERT_EQ(ScreenBitmapDrawDirect(&sb, 0, 0), 1);
    ExpectQuad(0, 0, 14, 32, 50, 0);
    // Clipping: the overhang left and above moves the source; the right and bottom are cut.
    ScreenBitmapSetSource(&sb, 0, 0, -1, -1);
    ScreenSetClipping(20, 30, 40, 200);
    ASSERT_EQ(ScreenBitmapDrawDirect(&sb, 10, 25), 1);
    ExpectQuad(20, 30, 40, 57, 10, 5);
    // Wholly clipped: nothing to draw is not a failure.
    uint32_t before = numOverlayPolys;
    EXPECT_EQ(ScreenBitmapDrawDirect(&sb, 100, 0), 1);
    EXPECT_EQ(numOverlayPolys, before);
}

TEST_F(ScreenBitmap, RefusalsDrawNothing)
{
    EXPECT_EQ(ScreenBitmapDraw(&sb), 0) << "no pixels";
    GivePixels();
    ScreenBitmapSetSource(&sb, 70, 0, 8, 8);
    EXPECT_EQ(ScreenBitmapDraw(&sb), 0) << "source right of the bitmap";
    ScreenBitmapSetSource(&sb, -20, 0, 10, 8);
    EXPECT_EQ(ScreenBitmapDraw(&sb), 0) << "source left of the bitmap";
    ScreenBitmapSetSource(&sb, 0, 0, -1, -1);
    // A destination that is not the screen being drawn cannot receive the image: that is a
    // failure, not a success without drawing.
    DS3_bitmap_tag offscreen{};
    offscreen.width = 128;
    offscreen.height = 128;
    ScreenSetDrawingDestination(&offscreen);
    EXPECT_EQ(ScreenBitmapDraw(&sb), 0);
    ScreenSetDrawingDestination(nullptr);
    EXPECT_EQ(ScreenBitmapDraw(&sb), 0);
    EXPECT_EQ(numOverlayPolys, 0u);
}

}  // namespace
