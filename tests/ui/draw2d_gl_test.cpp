// The shared 2D drawing on a real GPU: text bounds and their limits, scaled centring, and columns
// of text whose gaps between words stay small, with a word wider than the column on a line of its
// own.
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

// Paragraphs in the columns the menus use (the shop's narrow item panel, a question's wide one):
// the gaps between words on any line stay within twice a space, the last line of a paragraph keeps
// single spaces, and a word wider than the column still moves the text on to a line of its own.
TEST_F(GlUiDrawing, ColumnTextNeverStretchesItsGapsAndEndsEachParagraphWithSingleSpaces)
{
    struct Case {
        const char* text;
        int width, lines;
    } cases[] = {
        {"A bowling shirt that breathes through a long night.", 128, 3},
        {"Touch an item to see it and try it on.", 128, 2},
        {"Pay the entry fee of 5500 and enter? The league starts this week and runs for fifteen weeks.  "
         "Your funds go down by the fee at once.", 268, 3},
        {"spare strike split gutter foul spare strike split gutter  "
         "Wonderfullyunbreakablewordthatistoolong end", 150, 4},
    };
    const int space = TextOutputSubstringLength("x x", 3) - TextOutputSubstringLength("xx", 2);
    for (const Case& c : cases) {
        ASSERT_EQ(RenderStartScreen(), 1);
        ASSERT_EQ(RenderStartDisplay1(), 1);
        const uint32_t first = numOverlayPolys;
        const int height = BasicUi_RenderScaledColumnStyleText(20, 20, c.width, 1.0f, 1.0f, c.text);
        // Glyph quads in drawing order, by line (top y): letters of a word touch or overlap, words
        // stand at least a few pixels apart.
        std::vector<std::vector<std::pair<float, float>>> lines;
        float lineY = -1;
        for (uint32_t n = first; n < numOverlayPolys; ++n) {
            const ScreenPolyVertex* v = overlayBuffer->vertices + 4 * n;
            if (lines.empty() || v[0].y > lineY + 4) {
                lines.emplace_back();
                lineY = v[0].y;
            }
            lines.back().push_back({v[0].x, v[3].x});
        }
        ASSERT_EQ(RenderEndDisplay1(), 1);
        ASSERT_EQ(RenderDoneScreen(), 1);
        ASSERT_FALSE(lines.empty()) << c.text;
        EXPECT_GE(height, int(lines.size()) * TextOutputGetFontHeight() - 2) << c.text;
        EXPECT_GE(lines.size(), size_t(c.lines)) << c.text;
        for (size_t l = 0; l < lines.size(); ++l) {
            std::vector<float> gaps;
            for (size_t g = 1; g < lines[l].size(); ++g) {
                const float gap = lines[l][g].first - lines[l][g - 1].second;
                if (gap >= 2.5f) gaps.push_back(gap);
            }
            // The glyph cells' outlines take a pixel from either side of a gap; the text's last
            // line ends its paragraph.
            const int widest = l + 1 == lines.size() ? space + 1 : 2 * space + 1;
            for (float gap : gaps) EXPECT_LE(gap, widest) << c.text << " line " << l;
        }
    }
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
