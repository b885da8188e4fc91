// Whole frames on the GPU: start-up of the renderer, both eyes and the lower screen, 2D quads,
// the end of the frame, and the pixels that reach the display buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "host/errorlog.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/screenapi.h"
#include "platform/bitmap.h"
#include "platform/camera.h"
#include "platform/gpucommands.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "platform/shaders.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

struct Image {
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    const uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};

// The image the last frame left in a display: the buffer the frame wrote, which is not yet the
// one on show.
Image LastDrawn(const DS3_DisplayBufferDescription& set)
{
    Image image;
    uint32_t id = set.displayBufferIdArray[set.m_CurrentBufferIndex ^ 1u];
    EXPECT_EQ(GpuReadDisplaybuffer(id, &image.rgb, &image.width, &image.height), 1);
    return image;
}

void ExpectColour(const Image& image, int x, int y, int r, int g, int b)
{
    const uint8_t* p = image.At(x, y);
    EXPECT_EQ(int(p[0]), r) << "red at " << x << ", " << y;
    EXPECT_EQ(int(p[1]), g) << "green at " << x << ", " << y;
    EXPECT_EQ(int(p[2]), b) << "blue at " << x << ", " << y;
}

class GlFrame : public ::testing::Test {
protected:
    HostOptions saved;
    DS3_bitmap_tag* checker = nullptr;

    void SetUp() override
    {
        saved = gHostOptions;
        gHostOptions.headless = 1;
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        HostClearErrorLog();
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1) << HostErrorLog();
        checker = MakeChecker();
        ASSERT_NE(checker, nullptr);
    }
    void TearDown() override
    {
        RenderDispose();
        CloseBuildGameData();
        ReleaseDeviceHeap();
        gHostOptions = saved;
        gInverted = 0;
    }

    // A 2 x 2 bitmap of the given texels (RGBA, top row first).
    static DS3_bitmap_tag* Make2x2(const uint8_t texels[16])
    {
        const int length = 128 + 16;
        void* p = nullptr;
        if (!AllocateClearedMemory(&p, length)) return nullptr;
        auto* b = static_cast<DS3_bitmap_tag*>(p);
        b->width = b->height = b->physicalWidth = b->physicalHeight = 2;
        b->pitch = 8;
        b->pixelFormat = kPixelRGBA8;
        b->numMipmapLevels = 1;
        b->widthInv = b->heightInv = 0.5f;
        std::memcpy(static_cast<uint8_t*>(p) + 128, texels, 16);
        return InitializeBitmapResource(static_cast<uint8_t*>(p), length) ? b : nullptr;
    }
    // Red, green on top; blue, white below.
    static DS3_bitmap_tag* MakeChecker()
    {
        const uint8_t texels[16] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
        return Make2x2(texels);
    }
};

TEST_F(GlFrame, AFrameOfBothEyesAndTheLowerScreen)
{
    EXPECT_EQ(frameTicks, 33) << "start-up drew the first frame";
    EXPECT_EQ(isStereo, 1);
    long presented = HostFramesPresented();
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay0L(), 1);
    EXPECT_EQ(RenderIsDisplay0(), 1);
    EXPECT_EQ(displayID, kDisplayUpperLeft);
    RenderSetPenColor(0, 255, 0);
    RenderRect(0, 0, 400, 240);
    ASSERT_EQ(RenderEndDisplay0L(), 1);
    EXPECT_EQ(RenderIsDisplay0(), 0);
    ASSERT_EQ(RenderStartDisplay0R(), 1);
    EXPECT_EQ(displayID, kDisplayUpperRight);
    RenderSetPenColor(0, 0, 255);
    RenderRect(0, 0, 400, 240);
    ASSERT_EQ(RenderEndDisplay0R(), 1);
    ASSERT_EQ(RenderStartDisplay1(), 1);
    EXPECT_EQ(RenderIsDisplay0(), 0);
    EXPECT_EQ(screenBuffer, &frameBufferLower);
    RenderSetPenColor(255, 0, 0);
    RenderRect(10, 20, 30, 40);
    ASSERT_EQ(RenderEndDisplay1(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);
    EXPECT_EQ(HostFramesPresented(), presented + 1);
    EXPECT_EQ(frameTicks, 66);

    Image left = LastDrawn(m_DisplayBuffers0), right = LastDrawn(m_DisplayBuffers0Ext);
    Image lower = LastDrawn(m_DisplayBuffers1);
    ASSERT_EQ(left.width, 400);
    ASSERT_EQ(lower.width, 320);
    ExpectColour(left, 200, 120, 0, 255, 0);
    ExpectColour(right, 5, 5, 0, 0, 255);
    ExpectColour(lower, 10, 20, 255, 0, 0);
    ExpectColour(lower, 39, 59, 255, 0, 0);
    ExpectColour(lower, 40, 59, 0, 0, 0);
    ExpectColour(lower, 39, 60, 0, 0, 0);
}

TEST_F(GlFrame, ACheckerMirroredAndTurned)
{
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay1(), 1);
    // 42 pixels a side put the texel centres (a quarter and three quarters across) on pixel centres.
    ScreenPolyData d{checker, 0, 0, 2, 2, 0, 100, 42, 42, 0};
    const int attributes[4] = {0, kPolyMirrorX, kPolyMirrorY, kPolyRotate90};
    for (int i = 0; i < 4; ++i) {
        d.x = 20 + 60 * i;
        d.attributes = attributes[i];
        ASSERT_EQ(DrawScreenPolyEx(&d), 1);
    }
    ASSERT_EQ(RenderEndDisplay1(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);

    Image lower = LastDrawn(m_DisplayBuffers1);
    // Each quadrant's centre shows one texel exactly, unmodulated at the frame's default modulation.
    const int red[3] = {255, 0, 0}, green[3] = {0, 255, 0}, blue[3] = {0, 0, 255}, white[3] = {255, 255, 255};
    const int* expect[4][4] = {
        {red, green, blue, white},   // top-left, top-right, bottom-left, bottom-right
        {green, red, white, blue},   // mirrored left to right
        {blue, white, red, green},   // mirrored top to bottom
        {blue, red, white, green},   // a quarter turn clockwise
    };
    for (int i = 0; i < 4; ++i) {
        int x = 20 + 60 * i;
        const int px[4] = {x + 10, x + 31, x + 10, x + 31}, py[4] = {110, 110, 131, 131};
        for (int c = 0; c < 4; ++c) {
            SCOPED_TRACE(testing::Message() << "quad " << i << " corner " << c);
            ExpectColour(lower, px[c], py[c], expect[i][c][0], expect[i][c][1], expect[i][c][2]);
        }
    }
}

TEST_F(GlFrame, ParallaxPerEyeAndNoneOnTheLowerScreen)
{
    float depth = 0.0f;
    int p = 0;
    for (float z : {10.0f, 100.0f, 500.0f, 1000.0f, 5000.0f, 20000.0f}) {
        int q = RenderGetCameraParallax(z);
        if (q >= 2 && q <= 40) {
            depth = z;
            p = q;
            break;
        }
    }
    ASSERT_NE(p, 0) << "a depth with a visible parallax";
    ASSERT_EQ(RenderStartScreen(), 1);
    RenderSetZLevel(depth);
    RenderEnableParallax();
    auto bar = [] {
        RenderSetPenColor(255, 255, 255);
        RenderRect(100, 50, 20, 100);
    };
    ASSERT_EQ(RenderStartDisplay0L(), 1);
    bar();
    ASSERT_EQ(RenderEndDisplay0L(), 1);
    ASSERT_EQ(RenderStartDisplay0R(), 1);
    bar();
    ASSERT_EQ(RenderEndDisplay0R(), 1);
    ASSERT_EQ(RenderStartDisplay1(), 1);
    bar();
    ASSERT_EQ(RenderEndDisplay1(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);

    Image left = LastDrawn(m_DisplayBuffers0), right = LastDrawn(m_DisplayBuffers0Ext);
    Image lower = LastDrawn(m_DisplayBuffers1);
    // The bar's left edge on each display.
    auto leftEdge = [](const Image& image) {
        for (int x = 0; x < image.width; ++x)
            if (image.At(x, 100)[0] > 128) return x;
        return -1;
    };
    EXPECT_EQ(leftEdge(left), 100 - p);
    EXPECT_EQ(leftEdge(right), 100 + p);
    EXPECT_EQ(leftEdge(lower), 100);
}

TEST_F(GlFrame, TheCameraFocusLandsAtTheScreenCentre)
{
    // A white 4 x 4 square standing at the camera's focus, drawn unlit in both eyes.
    screenBuffer = &frameBuffer;
    ASSERT_EQ(InitCamera(6.0f, 150000.0f), 1);
    void* p = nullptr;
    ASSERT_EQ(AllocateClearedMemory(&p, 4 * 20 + 8), 1);
    const float square[20] = {-2, 0, -2, 0, 0, 2, 0, -2, 1, 0, -2, 0, 2, 0, 1, 2, 0, 2, 1, 1};
    const uint16_t strip[4] = {0, 1, 2, 3};
    std::memcpy(p, square, sizeof square);
    std::memcpy(static_cast<uint8_t*>(p) + sizeof square, strip, sizeof strip);
    uint8_t whiteTexels[16];
    std::memset(whiteTexels, 255, sizeof whiteTexels);
    DS3_bitmap_tag* white = Make2x2(whiteTexels);
    ASSERT_NE(white, nullptr);
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(ComposeCameraXform(), 1);
    matrix world, modelView;
    setTranslationMatrix(world, cameraX, cameraY, cameraZ);
    composeMatrix(shaderViewXform, world, modelView);
    for (int eye = 0; eye < 2; ++eye) {
        ASSERT_EQ(eye ? RenderStartDisplay0R() : RenderStartDisplay0L(), 1);
        RenderDisableBackfaceCulling();
        SetXform(modelView);
        RenderSetShader(2, 0, 0);
        DS3_SetTexture(white);
        DS3_SetVertexBuffer(GpuPhysicalAddress(p));
        DS3_DrawIndexedTristrip(sizeof square, 4);
        ASSERT_EQ(eye ? RenderEndDisplay0R() : RenderEndDisplay0L(), 1);
    }
    ASSERT_EQ(RenderDoneScreen(), 1);
    for (const DS3_DisplayBufferDescription* set : {&m_DisplayBuffers0, &m_DisplayBuffers0Ext}) {
        Image image = LastDrawn(*set);
        int left = image.width, right = -1, top = image.height, bottom = -1;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (image.At(x, y)[0] > 128) left = std::min(left, x), right = std::max(right, x),
                                             top = std::min(top, y), bottom = std::max(bottom, y);
        // 4 units at the zoom distance of 100 are 8 pixels; only the eyes' parallax moves it.
        EXPECT_NEAR((left + right) * 0.5, 200.0, 3.0);
        EXPECT_NEAR((top + bottom) * 0.5, 120.0, 1.0);
        EXPECT_NEAR(right - left + 1, 8, 1);
    }
}

TEST_F(GlFrame, SwapsFollowTheDisplaysDrawn)
{
    // Only the lower screen: it still swaps (its buffer moves on) and the upper screen stays.
    uint32_t upper = m_DisplayBuffers0.m_CurrentBufferIndex, lower = m_DisplayBuffers1.m_CurrentBufferIndex;
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay1(), 1);
    ASSERT_EQ(RenderEndDisplay1(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);
    EXPECT_EQ(m_DisplayBuffers1.m_CurrentBufferIndex, lower ^ 1u);
    EXPECT_EQ(m_DisplayBuffers0.m_CurrentBufferIndex, upper);
    EXPECT_EQ(RenderGetBackBuffer(kDisplayLower), bufferAddressPointers[1][lower]);

    // No display at all: nothing swaps, the clock still runs.
    int ticks = frameTicks;
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);
    EXPECT_EQ(m_DisplayBuffers1.m_CurrentBufferIndex, lower ^ 1u);
    EXPECT_EQ(frameTicks, ticks + 33);

    // An end without its start transfers nothing.
    ASSERT_EQ(RenderStartScreen(), 1);
    EXPECT_EQ(RenderEndDisplay0L(), 0);
    ASSERT_EQ(RenderDoneScreen(), 1);
    EXPECT_EQ(m_DisplayBuffers0.m_CurrentBufferIndex, upper);
}

TEST_F(GlFrame, MonoRefusesTheRightEyeFromTheNextFrame)
{
    ASSERT_EQ(RenderSetLcdMode(kLcdMono), 1);
    ASSERT_EQ(RenderStartScreen(), 1);
    EXPECT_EQ(SetRenderTarget(kDisplayUpperRight), 1) << "the mode changes at the end of the frame";
    ASSERT_EQ(RenderDoneScreen(), 1);
    EXPECT_EQ(s_CurrentLcdMode, kLcdMono);
    EXPECT_EQ(isStereo, 0);
    ASSERT_EQ(RenderStartScreen(), 1);
    EXPECT_EQ(SetRenderTarget(kDisplayUpperRight), 0);
    EXPECT_EQ(RenderStartDisplay0R(), 0);
    EXPECT_EQ(RenderEndDisplay0R(), 0);
    ASSERT_EQ(RenderStartDisplay0(), 1);
    EXPECT_EQ(RenderIsDisplay0(), 1);
    ASSERT_EQ(RenderEndDisplay0(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);

    ASSERT_EQ(RenderSetLcdMode(kLcdStereo), 1);
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);
    EXPECT_EQ(isStereo, 1);
    ASSERT_EQ(RenderStartScreen(), 1);
    EXPECT_EQ(SetRenderTarget(kDisplayUpperRight), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);
}

TEST_F(GlFrame, TheBackgroundAndInvertedEyes)
{
    ASSERT_EQ(RenderSelectBackground(checker), 1);
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay1(), 1);
    ASSERT_EQ(RenderEndDisplay1(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);
    Image lower = LastDrawn(m_DisplayBuffers1);
    // The 2 x 2 background covers its own two by two pixels at the top-left.
    ExpectColour(lower, 0, 0, 255, 0, 0);
    ExpectColour(lower, 1, 1, 255, 255, 255);
    ExpectColour(lower, 2, 2, 0, 0, 0);

    ASSERT_EQ(RenderSelectBackgroundResource(0), 1);
    EXPECT_EQ(backgroundBitmap, nullptr);
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay1(), 1);
    ASSERT_EQ(RenderEndDisplay1(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);
    ExpectColour(LastDrawn(m_DisplayBuffers1), 0, 0, 0, 0, 0);

    // Inverted, each eye draws with the other eye's camera.
    gInverted = 1;
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay0L(), 1);
    EXPECT_EQ(displayID, kDisplayUpperRight);
    ASSERT_EQ(RenderEndDisplay0L(), 1);
    ASSERT_EQ(RenderStartDisplay0R(), 1);
    EXPECT_EQ(displayID, kDisplayUpperLeft);
    ASSERT_EQ(RenderEndDisplay0R(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);
}

TEST_F(GlFrame, TooManyQuadsFailTheFrameButNotTheNext)
{
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay1(), 1);
    for (int i = 0; i < 0x800 + 10; ++i) RenderRect(i % 300, 0, 1, 1);
    ASSERT_EQ(RenderEndDisplay1(), 1);
    EXPECT_EQ(RenderDoneScreen(), 0);
    ExpectColour(LastDrawn(m_DisplayBuffers1), 5, 0, 255, 255, 255);  // the quads that fitted
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay1(), 1);
    RenderRect(0, 0, 4, 4);
    ASSERT_EQ(RenderEndDisplay1(), 1);
    EXPECT_EQ(RenderDoneScreen(), 1);
    ExpectColour(LastDrawn(m_DisplayBuffers1), 2, 2, 255, 255, 255);
    ExpectColour(LastDrawn(m_DisplayBuffers1), 5, 0, 0, 0, 0);
}

}  // namespace
