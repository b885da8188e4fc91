// The standings widgets' data side on their test description: the fixture generator over every
// even league size (each week a perfect pairing, every pair met once per round, the second round
// a copy of the first) and its refusal of odd sizes, the names the widgets read through their
// references, the setters' type checks, and the description's pages turned by stylus and d-pad.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "db/database.h"
#include "platform/input.h"
#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/standings.h"
#include "ui/widgets/standingsdata.h"
#include "ui/widgettypes.h"

namespace {

class Standings : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        ASSERT_EQ(LoadContent("ui/careerwidgets.ui.xml"), 1);
        league = BasicDbTable_Find(BasicUi_FindDb(env, "careerwidgets"), "league");
        ASSERT_NE(league, nullptr);
    }
    sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(env, name); }
    int At(int week, int element) { return BasicDbTable_GetElementIN(league, 16 + week, 0, element, -9); }
    sBasicDbTable* league = nullptr;
};

TEST_F(Standings, FixturesPairEveryoneOnceAWeekAndEveryPairOnceARound)
{
    for (int n = 2; n <= 16; n += 2) {
        for (int w = 0; w < 15; ++w)
            for (int e = 0; e < 48; ++e) BasicDbTable_SetElementIN(league, 16 + w, 0, e, 7);
        ASSERT_EQ(BasicUiWidgetTypeLeagueTable_GenerateFixtures(league, 0, 16, 31, n), 1) << n;
        const int round = n - 1;
        std::set<std::pair<int, int>> met;
        for (int w = 0; w < round && w < 15; ++w) {
            std::set<int> playing;
            for (int j = 0; j < n / 2; ++j) {
                int a = At(w, 2 * j), b = At(w, 2 * j + 1);
                ASSERT_TRUE(a >= 0 && a < n && b >= 0 && b < n && a != b) << n << " week " << w;
                playing.insert(a);
                playing.insert(b);
                met.insert({a < b ? a : b, a < b ? b : a});
            }
            EXPECT_EQ(int(playing.size()), n) << n << " week " << w;  // nobody twice, nobody idle
            for (int e = n; e < 2 * n; ++e) EXPECT_EQ(At(w, e), 0) << n << " week " << w;
        }
        EXPECT_EQ(int(met.size()), n * (n - 1) / 2) << n;  // each pair within the first round
        for (int w = round; w < 15 && w < 2 * round; ++w)  // the second round mirrors the first
            for (int e = 0; e < n; ++e) EXPECT_EQ(At(w, e), At(w - round, e)) << n << " week " << w;
    }
    // The four-entrant rotation, week by week.
    ASSERT_EQ(BasicUiWidgetTypeLeagueTable_GenerateFixtures(league, 0, 16, 31, 4), 1);
    const int expected[3][4] = {{0, 2, 1, 3}, {0, 3, 2, 1}, {0, 1, 3, 2}};
    for (int w = 0; w < 3; ++w)
        for (int e = 0; e < 4; ++e) EXPECT_EQ(At(w, e), expected[w][e]);
}

TEST_F(Standings, FixturesRefuseOddAndImpossibleCountsAndWriteNothing)
{
    for (int w = 0; w < 15; ++w) BasicDbTable_SetElementIN(league, 16 + w, 0, 0, 5);
    for (int n : {-2, 0, 1, 3, 7, 15, 258}) {
        EXPECT_EQ(BasicUiWidgetTypeLeagueTable_GenerateFixtures(league, 0, 16, 31, n), 0) << n;
        EXPECT_EQ(At(0, 0), 5) << n;
    }
    EXPECT_TRUE(LogHas("leaguetable: fixtures need an even number of entrants from 2 to 256, not 7"));
    EXPECT_EQ(BasicUiWidgetTypeLeagueTable_GenerateFixtures(nullptr, 0, 16, 31, 8), 0);
    // No week columns to fill: nothing written.
    EXPECT_EQ(BasicUiWidgetTypeLeagueTable_GenerateFixtures(league, 0, 16, 16, 8), 0);
    EXPECT_EQ(At(0, 0), 5);
}

TEST_F(Standings, NamesComeFromTheCareerTablesAndUnknownEntrantsAreBlank)
{
    auto* l = static_cast<sBasicUiWidgetTypeLeagueTable*>(W("cw.league")->widgetTypeRef.ptr);
    sBasicUiStandings s;
    ASSERT_EQ(BasicUiStandings_Resolve(&l->refs, &s), 1);
    EXPECT_EQ(s.slot, 1);
    EXPECT_EQ(s.entrants, 8);
    char name[256];
    BasicUiStandings_Name(&s, 7, name, sizeof name);  // the last entrant is the player's own
    EXPECT_STREQ(name, "You");
    BasicUiStandings_Name(&s, 2, name, sizeof name);
    EXPECT_STREQ(name, "Lena Brandt");
    // A member list entry of -1 and entrants outside the league name nobody (not the column).
    BasicDbTable_SetElementIN(s.game, 6, s.gameRow, 3, -1);
    for (int e : {3, -1, 8}) {
        BasicUiStandings_Name(&s, e, name, sizeof name);
        EXPECT_STREQ(name, "") << e;
    }
    // A team league names its entrants by team, member list stepping by the team size.
    BasicDbTable_SetElementI(s.game, 4, s.gameRow, 2);
    ASSERT_EQ(BasicUiStandings_Resolve(&l->refs, &s), 1);
    BasicUiStandings_Name(&s, 2, name, sizeof name);
    EXPECT_STREQ(name, "Calder Lanes");  // member list element 4, that row's team column
    BasicUiStandings_Name(&s, 7, name, sizeof name);
    EXPECT_STREQ(name, "Your Team");
    BasicUiStandings_Text(&s, 9, name, sizeof name);
    EXPECT_STREQ(name, "Week");
}

TEST_F(Standings, AMissingReferenceTableOrFontIsReportedAndNothingDrawn)
{
    // No game data here, so no fonts: each table names what it lacks and draws nothing.
    BasicUiWidgetType_Render(W("cw.league"));
    EXPECT_TRUE(LogHas("widget cw.league names the font 3052, which does not exist"));
    auto* tree = static_cast<sBasicUiWidgetTypeTreeTable*>(W("cw.tree")->widgetTypeRef.ptr);
    tree->refs.saveRef = nullptr;
    BasicUiWidgetType_Render(W("cw.tree"));
    EXPECT_TRUE(LogHas("widget cw.tree names the reference saveRef, which does not exist"));
    auto* ladder = static_cast<sBasicUiWidgetTypeLadderTable*>(W("cw.ladder")->widgetTypeRef.ptr);
    ladder->refs.npcRef = W("cw.cursor");  // not a reference widget
    BasicUiWidgetType_Render(W("cw.ladder"));
    EXPECT_TRUE(LogHas("widget cw.ladder names the table of cw.cursor, which does not exist"));
}

TEST_F(Standings, SettersChangeOnlyTheirOwnTypeAndKeepTopAtZeroOrAbove)
{
    sBasicUiWidget *league = W("cw.league"), *tree = W("cw.tree"), *ladder = W("cw.ladder"), *score = W("cw.scores");
    auto* t = static_cast<sBasicUiWidgetTypeTreeTable*>(tree->widgetTypeRef.ptr);
    auto* d = static_cast<sBasicUiWidgetTypeLadderTable*>(ladder->widgetTypeRef.ptr);
    BasicUiWidgetTypeLadderTable_SetRound(tree, 3);
    BasicUiWidgetTypeTreeTable_SetTop(ladder, 6);
    BasicUiWidgetTypeLeagueTable_SetWeek(score, 4);
    EXPECT_EQ(t->round.value, 1);
    EXPECT_EQ(d->top.value, 0);
    BasicUiWidgetTypeTreeTable_SetRound(tree, -3);
    BasicUiWidgetTypeLadderTable_SetTop(ladder, -4);
    BasicUiWidgetTypeScoreTable_SetTop(score, 5);
    BasicUiWidgetTypeLeagueTable_SetWeek(league, -2);
    BasicUiWidgetTypeLeagueTable_SetTop(league, -1);
    EXPECT_EQ(t->round.value, -3);  // kept as given; drawing brings it into the rounds
    EXPECT_EQ(d->top.value, 0);
    EXPECT_EQ(static_cast<sBasicUiWidgetTypeScoreTable*>(score->widgetTypeRef.ptr)->top.value, 5);
    auto* l = static_cast<sBasicUiWidgetTypeLeagueTable*>(league->widgetTypeRef.ptr);
    EXPECT_EQ(l->week.value, -2);
    EXPECT_EQ(l->top.value, 0);
    // Defaults that the description leaves alone.
    EXPECT_EQ(t->stepY1.value, 1);
    EXPECT_EQ(d->imageAdvID.value, -1);
    EXPECT_FLOAT_EQ(l->font3SclX, 1.0f);
}

TEST_F(Standings, TheDescriptionTurnsItsPagesByStylusAndByDpad)
{
    DS3_controller pad = {};
    DS3_controller* saved = controllers[0].controller;
    controllers[0].controller = &pad;
    env->inputMode = BasicUiInputMode_Normal;
    auto shown = [&](const char* screen) {
        sBasicUiScreen* s = BasicUi_FindScreen(env, screen);
        return s->isRender.value && s->isActive.value;
    };
    auto touch = [&](int x, int y, int frames) {
        for (int i = 0; i < frames; ++i) {
            pad.touchData = {x, y, x ? 1 : 0};
            BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
        }
    };
    EXPECT_TRUE(shown("cwLeaguePage") && shown("cwTreePage"));
    EXPECT_FALSE(shown("cwScorePage") || shown("cwLadderPage"));
    touch(265, 50, 45);  // held on the button below the tree's final
    touch(0, 0, 10);
    EXPECT_TRUE(shown("cwScorePage") && shown("cwLadderPage"));
    EXPECT_FALSE(shown("cwLeaguePage") || shown("cwTreePage"));
    touch(271, 224, 45);  // the ladder page's button at the bottom right goes back
    touch(0, 0, 10);
    EXPECT_TRUE(shown("cwLeaguePage") && shown("cwTreePage"));
    basicUiInput.buttons = basicUiInput.edges = kButtonRight;
    BasicUiWidgetType_Update(W("cw.pages"), 1.0f / 30.0f);
    basicUiInput.buttons = basicUiInput.edges = 0;
    BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
    EXPECT_TRUE(shown("cwScorePage") && shown("cwLadderPage"));
    controllers[0].controller = saved;
}

}  // namespace
