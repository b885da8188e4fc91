// Text in the build's fonts on a real GPU: glyphs land where the layout puts them, on the lower
// screen and in both eyes of the upper screen, and nothing lands beside them.
#include <gtest/gtest.h>

#include <vector>

#include "host/errorlog.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/resourceload.h"
#include "lib/screenapi.h"
#include "lib/screenbitmap.h"
#include "lib/textoutput.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

struct Image {
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    // Pixels in [x0, x1) x [y0, y1) brighter than a glyph's dark outline.
    int Bright(int x0, int y0, int x1, int y1) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (x >= 0 && y >= 0 && x < width && y < height && rgb[(size_t(y) * width + x) * 3 + 1] > 150) ++n;
        return n;
    }
};

Image LastDrawn(const DS3_DisplayBufferDescription& set)
{
    Image image;
    uint32_t id = set.displayBufferIdArray[set.m_CurrentBufferIndex ^ 1u];
    EXPECT_EQ(GpuReadDisplaybuffer(id, &image.rgb, &image.width, &image.height), 1);
    return image;
}

class GlText : public ::testing::Test {
protected:
    HostOptions saved;

    void SetUp() override
    {
        saved = gHostOptions;
        gHostOptions.headless = 1;
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        HostClearErrorLog();
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1) << HostErrorLog();
        ASSERT_EQ(ScreenInitializeAPI(), 1);
        ASSERT_EQ(LoadResourceRange1x1(3050, 3084), 1);
    }
    void TearDown() override
    {
        // The text state is global: leave it as a fresh start has it.
        TextOutputSetMode(kTextModeLeft);
        TextOutputSetPosition(0, 0);
        theFont = nullptr;
        fontTable = nullptr;
        currentFontRSID = -1;
        RenderDispose();
        CloseBuildGameData();
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }
};

TEST_F(GlText, GlyphsLandWhereTheyAreLaidOut)
{
    ASSERT_EQ(TextOutputSelectFont(3071), 1);
    const int bigWidth = TextOutputLineLength("Game Over"), bigHeight = TextOutputGetFontHeight();
    ASSERT_EQ(TextOutputSelectFont(3077), 1);
    const int width = TextOutputLineLength("Frame 10"), height = TextOutputGetFontHeight();
    const int rightWidth = TextOutputLineLength("300");

    ASSERT_EQ(RenderStartScreen(), 1);
    // Both eyes: the upper screen is the destination while it is drawn.
    for (int eye = 0; eye < 2; ++eye) {
        ASSERT_EQ(eye ? RenderStartDisplay0R() : RenderStartDisplay0L(), 1);
        ScreenSetDrawingDestination(&frameBuffer);
        ASSERT_EQ(TextOutputSelectFont(3071), 1);
        TextOutputSetMode(kTextModeCenter);
        ASSERT_EQ(TextOutputDrawDirect(200, 100, "%s", "Game Over"), 1);
        ASSERT_EQ(eye ? RenderEndDisplay0R() : RenderEndDisplay0L(), 1);
    }
    ASSERT_EQ(RenderStartDisplay1(), 1);
    ScreenSetDrawingDestination(&frameBufferLower);
    ASSERT_EQ(TextOutputSelectFont(3077), 1);
    TextOutputSetMode(kTextModeLeft);
    ASSERT_EQ(TextOutputDrawDirect(20, 30, "Frame %d", 10), 1);
    TextOutputSetMode(kTextModeRight);
    ASSERT_EQ(TextOutputDrawDirect(300, 200, "%d", 300), 1);
    ASSERT_EQ(RenderEndDisplay1(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);

    Image lower = LastDrawn(m_DisplayBuffers1);
    ASSERT_EQ(lower.width, 320);
    EXPECT_GT(lower.Bright(20, 30, 20 + width, 30 + height), width * height / 8);
    EXPECT_EQ(lower.Bright(0, 0, 320, 29), 0) << "nothing above the line";
    EXPECT_EQ(lower.Bright(21 + width, 25, 320, 50), 0) << "nothing after its end";
    EXPECT_GT(lower.Bright(300 - rightWidth, 200, 300, 200 + height), 0);
    EXPECT_EQ(lower.Bright(301, 195, 320, 225), 0) << "right-aligned text ends at its x";
    for (const DS3_DisplayBufferDescription* eye : {&m_DisplayBuffers0, &m_DisplayBuffers0Ext}) {
        Image upper = LastDrawn(*eye);
        ASSERT_EQ(upper.width, 400);
        int left = 200 - (bigWidth >> 1);
        EXPECT_GT(upper.Bright(left, 100, left + bigWidth, 100 + bigHeight), bigWidth * bigHeight / 10);
        EXPECT_EQ(upper.Bright(0, 0, left - 1, 240), 0);
        EXPECT_EQ(upper.Bright(left + bigWidth + 1, 0, 400, 240), 0);
    }
}

TEST_F(GlText, AScreenBitmapShowsItsImage)
{
    ASSERT_EQ(LoadResourceRange1x1(3200, 3299), 1);
    SCREENBITMAPTAG sb;
    ScreenBitmapInitialize(&sb);
    ASSERT_EQ(ScreenBitmapLoadDirect(&sb, 3207, 0), 1);  // the button glyphs
    ScreenBitmapSetSource(&sb, 10, 21, 50, 50);            // the A button
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay1(), 1);
    ScreenSetDrawingDestination(&frameBufferLower);
    ASSERT_EQ(ScreenBitmapDrawDirect(&sb, 100, 100), 1);
    ASSERT_EQ(RenderEndDisplay1(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);
    Image lower = LastDrawn(m_DisplayBuffers1);
    // The button's letter is white in its middle; around the button the screen stays black.
    EXPECT_GT(lower.Bright(110, 110, 140, 140), 20);
    EXPECT_EQ(lower.Bright(0, 0, 320, 99), 0);
    EXPECT_EQ(lower.Bright(151, 0, 320, 240), 0);
    DisposeResourceRange(3200, 3299);
}

}  // namespace
