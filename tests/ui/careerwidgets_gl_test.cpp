// The career standings widgets drawn on a real GPU from their test description: the league table
// draws a row per shown position and nothing below, the week and the tree's round stay inside what
// the tables hold, a tree without entrants draws nothing, and the second page's score table and
// ladder draw their rows.
#include <gtest/gtest.h>

#include <vector>

#include "db/database.h"
#include "host/clock.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "support/game_data.h"
#include "ui/frameupdate.h"
#include "ui/loader.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/standings.h"
#include "ui/widgettypes.h"

namespace {

struct Image {
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    // Whether a text-bright pixel lies in the box (screen pixels, the end excluded).
    bool Bright(int x0, int y0, int x1, int y1) const
    {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
                if (p[0] + p[1] + p[2] > 450) return true;
            }
        return false;
    }
};

Image LastDrawn(const DS3_DisplayBufferDescription& set)
{
    Image image;
    uint32_t id = set.displayBufferIdArray[set.m_CurrentBufferIndex ^ 1u];
    EXPECT_EQ(GpuReadDisplaybuffer(id, &image.rgb, &image.width, &image.height), 1);
    return image;
}

class GlCareerWidgets : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        saved = gHostOptions;
        gHostOptions.headless = 1;
        HostUseVirtualClock(1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        rendering = true;
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        ASSERT_EQ(ScreenInitializeAPI(), 1);
        ASSERT_EQ(BasicUiEnvironment_Load("ui/careerwidgets.ui.xml", env), 1);
        db = BasicUi_FindDb(env, "careerwidgets");
    }
    void TearDown() override
    {
        TextOutputSetMode(kTextModeLeft);
        theFont = nullptr;
        fontTable = nullptr;
        currentFontRSID = -1;
        UiLoadTest::TearDown();
        HostUseVirtualClock(0);
        gHostOptions = saved;
    }
    void Frame()
    {
        BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
        ASSERT_EQ(BasicUi_RenderEnvironmentFull(env), 1);
    }
    template <class T>
    T* Record(const char* name)
    {
        return static_cast<T*>(BasicUi_FindWidget(env, name)->widgetTypeRef.ptr);
    }
    sBasicDbTable* Table(const char* name) { return BasicDbTable_Find(db, name); }
    HostOptions saved;
    sBasicDb* db = nullptr;
};

TEST_F(GlCareerWidgets, TheLeagueTableDrawsEachShownPositionAndNothingBelow)
{
    Frame();
    Image upper = LastDrawn(m_DisplayBuffers0);
    ASSERT_EQ(upper.width, 400);
    // Rows at canvas y 106 + 16 r are screen rows 46 + 16 r; the names are centred on x 74, the
    // opponents on x 276.
    for (int r = 0; r < 8; ++r) {
        EXPECT_TRUE(upper.Bright(40, 46 + 16 * r, 110, 58 + 16 * r)) << r;
        EXPECT_TRUE(upper.Bright(240, 46 + 16 * r, 310, 58 + 16 * r)) << r;
    }
    EXPECT_FALSE(upper.Bright(0, 178, 400, 240));
    EXPECT_TRUE(upper.Bright(0, 26, 400, 38));  // the titles

    // A position not filled yet shows its number and nothing else (no name, no result read from
    // the pairings).
    BasicDbTable_SetElementIN(Table("league"), 13, 1, 7, -1);
    Frame();
    upper = LastDrawn(m_DisplayBuffers0);
    EXPECT_TRUE(upper.Bright(0, 158, 30, 170));
    EXPECT_FALSE(upper.Bright(30, 158, 400, 170));

    // Four rows from position 3: the lower half of the table is empty.
    auto* l = Record<sBasicUiWidgetTypeLeagueTable>("cw.league");
    l->rows.value = 4;
    BasicUiWidgetTypeLeagueTable_SetTop(BasicUi_FindWidget(env, "cw.league"), 2);
    Frame();
    upper = LastDrawn(m_DisplayBuffers0);
    EXPECT_EQ(l->top.value, 2);
    EXPECT_TRUE(upper.Bright(40, 46 + 16 * 3, 110, 58 + 16 * 3));
    EXPECT_FALSE(upper.Bright(0, 46 + 16 * 4, 400, 240));
    // More rows than entrants: the top comes back to the first position.
    l->rows.value = 8;
    l->top.value = 10;
    Frame();
    EXPECT_EQ(l->top.value, 0);
    // Extreme rows, top and step from a description, and a league larger than any event: drawn
    // without overflow, and the oversized league without its rows.
    l->rows.value = l->top.value = 0x7fffffff;
    l->stepY0 = 1e30f;
    Frame();
    EXPECT_EQ(l->top.value, 0);
    l->stepY0 = 16.0f;
    l->rows.value = 8;
    BasicDbTable_SetElementI(Table("Leagues"), 5, 0, 100000);
    Frame();
    upper = LastDrawn(m_DisplayBuffers0);
    EXPECT_FALSE(upper.Bright(0, 46, 400, 240));
}

TEST_F(GlCareerWidgets, TheLeagueWeekStaysInsideTheWeeksAndTheirColumns)
{
    auto* l = Record<sBasicUiWidgetTypeLeagueTable>("cw.league");
    sBasicDbTable* leagues = Table("Leagues");
    struct Case {
        int entrants, weeks, week, shown;
    } cases[] = {{8, 14, 40, 13}, {8, 14, -2, 0}, {8, 10, 12, 9},
                 // No weeks at all, and more weeks than the saved row has columns for.
                 {8, 0, 3, 0},    {16, 30, 29, 14}};
    for (const Case& c : cases) {
        BasicDbTable_SetElementI(leagues, 5, 0, c.entrants);
        BasicDbTable_SetElementI(leagues, 7, 0, c.weeks);
        BasicUiWidgetTypeLeagueTable_SetWeek(BasicUi_FindWidget(env, "cw.league"), c.week);
        Frame();
        EXPECT_EQ(l->week.value, c.shown) << c.entrants << " " << c.weeks << " " << c.week;
    }
}

TEST_F(GlCareerWidgets, ATreeKeepsItsRoundInsideTheBracketAndDrawsNothingWithoutEntrants)
{
    auto* t = Record<sBasicUiWidgetTypeTreeTable>("cw.tree");
    sBasicDbTable* events = Table("Tournaments");
    Frame();
    Image lower = LastDrawn(m_DisplayBuffers1);
    ASSERT_EQ(lower.width, 320);
    // The quarter-finals list their eight positions, 13 pixels apart from canvas y 84 (screen 24),
    // and nothing below them.
    for (int r = 0; r < 8; ++r) EXPECT_TRUE(lower.Bright(2, 24 + 13 * r, 98, 34 + 13 * r)) << r;
    EXPECT_FALSE(lower.Bright(0, 24 + 13 * 8 + 4, 320, 240));
    // A tie goes to the player's own entrant, between computer entrants to the second: the mark
    // (yellow, right of the bracket at canvas x 500) sits by the top or the bottom of the pair.
    sBasicDbTable* tree = Table("tree");
    auto markAt = [&](int a, int b) {
        const int entries[4] = {a, b, 190, 190};
        for (int k = 0; k < 2; ++k) {
            BasicDbTable_SetElementIN(tree, 18, 1, k, entries[k]);
            BasicDbTable_SetElementIN(tree, 18, 1, 8 + k, entries[2 + k]);
        }
        Frame();
        Image im = LastDrawn(m_DisplayBuffers1);
        auto yellow = [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y)
                for (int x = 104; x < 110; ++x) {
                    const uint8_t* p = &im.rgb[(size_t(y) * im.width + x) * 3];
                    if (p[0] > 200 && p[1] > 150 && p[2] < 100) return true;
                }
            return false;
        };
        return yellow(26, 36) ? 'A' : yellow(38, 48) ? 'B' : '-';
    };
    EXPECT_EQ(markAt(15, 1), 'A');
    EXPECT_EQ(markAt(1, 15), 'B');
    EXPECT_EQ(markAt(6, 1), 'B');
    struct Case {
        int positions, round, shown;
    } cases[] = {{16, 5, 2}, {16, 3, 2}, {12, 9, 2}, {2, 4, 0}, {8, -1, 0}};
    for (const Case& c : cases) {
        BasicDbTable_SetElementI(events, 9, 0, c.positions);
        BasicUiWidgetTypeTreeTable_SetRound(BasicUi_FindWidget(env, "cw.tree"), c.round);
        Frame();
        EXPECT_EQ(t->round.value, c.shown) << c.positions << " " << c.round;
    }
    for (int positions : {0, 1, -4, 100000}) {
        BasicDbTable_SetElementI(events, 9, 0, positions);
        t->round.value = 7;
        Frame();
        lower = LastDrawn(m_DisplayBuffers1);
        // Nothing but the page button (screen x 220-310, y 40-60) is left.
        EXPECT_FALSE(lower.Bright(0, 0, 320, 38) || lower.Bright(0, 38, 218, 62) || lower.Bright(0, 62, 320, 240))
            << positions;
        EXPECT_EQ(t->round.value, 7);
    }
}

TEST_F(GlCareerWidgets, TheSecondPageDrawsTheScoreTableAndTheLadder)
{
    env->inputMode = BasicUiInputMode_Normal;
    basicUiInput.buttons = basicUiInput.edges = kButtonRight;
    BasicUiWidgetType_Update(BasicUi_FindWidget(env, "cw.pages"), 1.0f / 30.0f);
    basicUiInput.buttons = basicUiInput.edges = 0;
    Frame();
    Image upper = LastDrawn(m_DisplayBuffers0);
    // Ten rows from canvas y 90 (screen 30), names centred on x 110.
    for (int r = 0; r < 10; ++r) EXPECT_TRUE(upper.Bright(80, 30 + 16 * r, 140, 40 + 16 * r)) << r;
    EXPECT_FALSE(upper.Bright(0, 30 + 16 * 10, 400, 240));
    Image lower = LastDrawn(m_DisplayBuffers1);
    // The qualifying list's eight rows from canvas y 80 (screen 20), 12 apart.
    for (int r = 0; r < 8; ++r) EXPECT_TRUE(lower.Bright(60, 20 + 12 * r, 100, 30 + 12 * r)) << r;
    auto* d = Record<sBasicUiWidgetTypeLadderTable>("cw.ladder");
    EXPECT_EQ(d->round.value, 2);
    d->round.value = 9;  // six places: five matches, the last starting from round 4
    Frame();
    EXPECT_EQ(d->round.value, 4);
}

}  // namespace
