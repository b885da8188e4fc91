// The shared 2D drawing on a real GPU: text bounds and their limits, scaled centring, and justified
// columns whose full lines end flush with the column, with a word wider than the column on a line
// of its own.
#include "ui/draw2d.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/gpu.h"
#include "host/host.h"
#include "lib/resourceload.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

struct Image {
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
};

class GlUiDrawing : public ::testing::Test {
protected:
    HostOptions saved;
    void SetUp() override
    {
        saved = gHostOptions;
        gHostOptions.headless = 1;
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        ASSERT_EQ(ScreenInitializeAPI(), 1);
        ASSERT_EQ(LoadResourceRange1x1(3050, 3084), 1);
        ASSERT_EQ(TextOutputSelectFont(3077), 1);
    }
    void TearDown() override
    {
        theFont = nullptr;
        fontTable = nullptr;
        currentFontRSID = -1;
        RenderDispose();
        CloseBuildGameData();
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }
};

TEST_F(GlUiDrawing, BoundsFollowScaleAndAlignmentAndKeepTheirSentinelsForNothing)
{
    int x0 = 1, y0 = 1, x1 = 1, y1 = 1;
    const int w = TextOutputLineLength("Strike");
    ASSERT_EQ(BasicUi_BoundsScaledDbText(200, 50, 2.0f, 2.0f, 1, 0, "Strike", &x0, &y0, &x1, &y1), 1);
    EXPECT_EQ(x0, 200 - w);
    EXPECT_NEAR(x1, 200 + w, 2);
    EXPECT_EQ(y0, 50);
    EXPECT_EQ(y1, 50 + 2 * TextOutputGetFontHeight());
    EXPECT_EQ(BasicUi_BoundsScaledDbText(0, 0, 1.0f, 1.0f, 0, 0, "", &x0, &y0, &x1, &y1), 0);
    EXPECT_EQ(x0, 0x1000000);
    EXPECT_EQ(x1, -0x1000000);
    EXPECT_EQ(BasicUi_BoundsScaledDbText(0, 0, 1.0f, 1.0f, 0, 0, "x", nullptr, &y0, &x1, &y1), 0);
    const std::string longest(255, 'i'), tooLong(256, 'i');
    EXPECT_EQ(BasicUi_BoundsScaledDbText(0, 0, 1.0f, 1.0f, 0, 0, longest.c_str(), &x0, &y0, &x1, &y1), 1);
    EXPECT_EQ(BasicUi_BoundsScaledDbText(0, 0, 1.0f, 1.0f, 0, 0, tooLong.c_str(), &x0, &y0, &x1, &y1), 0);
}

TEST_F(GlUiDrawing, JustifiedLinesEndFlushAndAWordWiderThanTheColumnStillMovesOn)
{
    const char* text = "spare strike split gutter foul spare strike split gutter  "
                       "Wonderfullyunbreakablewordthatistoolong end";
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay1(), 1);
    RenderSetColorModulation(127, 127, 127);
    int height = BasicUi_RenderScaledColumnStyleText(20, 20, 150, 1.0f, 1.0f, text);
    ASSERT_EQ(RenderEndDisplay1(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);
    const int line = TextOutputGetFontHeight();
    EXPECT_GE(height, 4 * line);  // the long word on its own line, "end" after it
    Image lower;
    uint32_t id = m_DisplayBuffers1.displayBufferIdArray[m_DisplayBuffers1.m_CurrentBufferIndex ^ 1u];
    ASSERT_EQ(GpuReadDisplaybuffer(id, &lower.rgb, &lower.width, &lower.height), 1);
    // The first line is full and justified: its text reaches the column's right edge.
    int last = -1;
    for (int x = 0; x < lower.width; ++x)
        for (int y = 20; y < 20 + line; ++y)
            if (lower.rgb[(size_t(y) * lower.width + x) * 3 + 1] > 200) last = x;
    EXPECT_NEAR(last, 20 + 150, 4);
}

TEST_F(GlUiDrawing, AOneLineParagraphKeepsTheSpacesBetweenItsWords)
{
    const char* text = "a b c d e f";
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay1(), 1);
    RenderSetColorModulation(127, 127, 127);
    BasicUi_RenderScaledColumnStyleText(20, 20, 280, 1.0f, 1.0f, text);
    ASSERT_EQ(RenderEndDisplay1(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);
    Image lower;
    uint32_t id = m_DisplayBuffers1.displayBufferIdArray[m_DisplayBuffers1.m_CurrentBufferIndex ^ 1u];
    ASSERT_EQ(GpuReadDisplaybuffer(id, &lower.rgb, &lower.width, &lower.height), 1);
    int last = -1;
    for (int x = 0; x < lower.width; ++x)
        for (int y = 20; y < 20 + TextOutputGetFontHeight(); ++y)
            if (lower.rgb[(size_t(y) * lower.width + x) * 3 + 1] > 200) last = x;
    // About as wide as the line with its five spaces (each word ends on its glyph's ink, not its
    // advance), well wider than the letters run together.
    EXPECT_NEAR(last + 1, 20 + TextOutputLineLength(text), 8);
    EXPECT_GT(last + 1, 20 + TextOutputLineLength("abcdef") + 10);
}

}  // namespace
