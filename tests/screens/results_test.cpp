// The results of a game folded into the career bowler's statistics and the bowlers' reputation.
#include "screens/results.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/gameloop.h"
#include "game/records.h"
#include "game/scoring.h"
#include "screens/frontend_fixture.h"
#include "screens/launchers.h"

namespace {

class Results : public FrontEndTest {
protected:
    void SetUp() override
    {
        FrontEndTest::SetUp();
        ZeroPlayerResults();
        r = BasicDbTable_GetElementI(Save("career setup"), 1, 0);
    }
    // Player 0's card from the balls of a whole game, -1 for balls not thrown.
    void Card(const int frames[10][3])
    {
        for (int f = 0; f < 10; ++f)
            for (int b = 0; b < 3; ++b) gScoreCardPinCount[f][b] = frames[f][b];
    }
    int Stat(int column) { return BasicDbTable_GetElementI(Save("players"), column, r); }
    int r = 0;
};

FrameMarks Marks(int b0, int b1, int b2, int previous1 = -1, int previous2 = -1, int last = 1)
{
    const int balls[3] = {b0, b1, b2};
    return CountFrameMarks(balls, previous1, previous2, last);
}

}  // namespace

TEST(FrameMarks, TenthFrameFillBallsCountAsTheyFall)
{
    FrameMarks m = Marks(10, 10, 10, 3);
    EXPECT_EQ(m.strikes, 3);
    EXPECT_EQ(m.turkeys, 1) << "after an open ninth frame";
    EXPECT_EQ(Marks(10, 10, 10, 10).turkeys, 2) << "after a strike in the ninth";
    m = Marks(10, 0, 10);
    EXPECT_EQ(m.strikes, 1) << "the third ball of 10-0-10 finishes the second ball's rack";
    EXPECT_EQ(m.spares, 1);
    m = Marks(0, 10, 10);
    EXPECT_EQ(m.spares, 1) << "a gutter then all ten is a spare";
    EXPECT_EQ(m.strikes, 1) << "the fill ball after a spare meets a fresh rack";
    m = Marks(10, 3, 7);
    EXPECT_EQ(m.strikes, 1);
    EXPECT_EQ(m.spares, 1);
    m = Marks(10, 3, 4);
    EXPECT_EQ(m.spares + m.strikes, 1);
    m = Marks(0, 10, -1, -1, -1, 0);
    EXPECT_EQ(m.spares, 1) << "frames one to nine too";
    EXPECT_EQ(m.strikes, 0);
    EXPECT_EQ(Marks(10, -1, -1, 10, 10, 0).turkeys, 1);
}

TEST_F(Results, AGameIsFoldedIntoTheCareerBowlerOnce)
{
    const int card[10][3] = {{10, -1, -1}, {10, -1, -1}, {10, -1, -1}, {7, 3, -1}, {0, 10, -1},
                             {9, 0, -1},   {10, -1, -1}, {10, -1, -1}, {3, 4, -1},  {10, 0, 10}};
    Card(card);
    gNumPlayers = 2;
    gPlayerResults[0][0] = 180;
    gPlayerResults[1][0] = 180;
    EXPECT_EQ(PlayerQuitGame(), 0);
    ASSERT_EQ(UpdateStats(true), 1);
    EXPECT_EQ(Stat(30), 1);
    EXPECT_EQ(Stat(31), 1) << "a tie counts as a win";
    EXPECT_EQ(Stat(32), 180);
    EXPECT_EQ(Stat(33), 3) << "7-3, 0-10 and 0-10 in the tenth";
    EXPECT_EQ(Stat(34), 6);
    EXPECT_EQ(Stat(35), 1);
    EXPECT_EQ(Stat(36), 180);
    EXPECT_EQ(Stat(37), 180);

    EXPECT_EQ(UpdateStats(true), 0) << "the same results again change nothing";
    EXPECT_EQ(Stat(30), 1);
    EXPECT_EQ(ResultsFolded(), 1);

    SetPlayersResults();
    gPlayerResults[0][0] = 120;
    gPlayerResults[1][0] = 200;
    Card(card);
    ASSERT_EQ(UpdateStats(true), 1) << "the next game's results fold again";
    EXPECT_EQ(Stat(30), 2);
    EXPECT_EQ(Stat(31), 1);
    EXPECT_EQ(Stat(36), 150);
    EXPECT_EQ(Stat(37), 180);
}

TEST_F(Results, PerfectGameIsTheBowlersOwnThreeHundred)
{
    const int perfect[10][3] = {{10, -1, -1}, {10, -1, -1}, {10, -1, -1}, {10, -1, -1}, {10, -1, -1},
                                {10, -1, -1}, {10, -1, -1}, {10, -1, -1}, {10, -1, -1}, {10, 10, 10}};
    Card(perfect);
    gNumPlayers = 1;
    gPlayerResults[0][0] = 300;
    ASSERT_EQ(UpdateStats(false), 1);
    EXPECT_EQ(Stat(44), 1) << "a 300 alone is perfect";
    EXPECT_EQ(Stat(34), 12);
    EXPECT_EQ(Stat(35), 10);

    ZeroPlayerResults();
    gNumPlayers = 4;
    gPlayerResults[0][0] = 150;
    gPlayerResults[1][0] = 150;
    ASSERT_EQ(UpdateStats(true), 1);
    EXPECT_EQ(Stat(44), 1) << "a team's 300 is not one bowler's perfect game";
}

// Whole games bowled ball by ball through the game's scoring, as a game from the menus ends, and
// the marks they add to the bowler's statistics: every strike on a fresh rack, every spare, and a
// turkey for each strike that makes three in a row (runs overlap: four strikes are two turkeys).
TEST_F(Results, MarksOfAGameAsBowledAreFolded)
{
    struct Case {
        const char* name;
        std::vector<int> balls;  // the pins each ball knocked down
        int score, spares, strikes, turkeys;
    };
    const std::vector<int> open7 = {3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4};  // seven frames of 7
    auto after = [](std::vector<int> first, std::vector<int> rest) {
        first.insert(first.end(), rest.begin(), rest.end());
        return first;
    };
    const Case cases[] = {
        {"perfect game", std::vector<int>(12, 10), 300, 0, 12, 10},
        {"four strikes, a gutter then all ten",
         {10, 10, 10, 10, 3, 4, 0, 10, 5, 4, 9, 0, 7, 2, 8, 1}, 158, 1, 4, 2},
        {"two doubles", {10, 10, 3, 4, 10, 10, 2, 5, 6, 3, 1, 1, 0, 0, 4, 4}, 112, 0, 4, 0},
        {"ten spares", std::vector<int>(21, 5), 150, 10, 0, 0},
        {"open ninth, three strikes in the tenth", after(open7, {3, 4, 3, 4, 10, 10, 10}), 93, 0, 3, 1},
        {"strikes from the eighth on", after(open7, {10, 10, 10, 10, 10}), 139, 0, 5, 3},
        {"ninth strike, tenth double", after(open7, {3, 4, 10, 10, 10, 5}), 111, 0, 3, 1},
        {"tenth strike, the fill balls a spare", after(open7, {3, 4, 3, 4, 10, 0, 10}), 83, 1, 1, 0},
        {"tenth strike, open fill balls", after(open7, {3, 4, 3, 4, 10, 3, 4}), 80, 0, 1, 0},
        {"tenth spare, strike", after(open7, {3, 4, 3, 4, 6, 4, 10}), 83, 1, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (TITLE_PlayerInfoStruct& p : gPlayerInfo) {
            ResetPlayerInfo(&p);
            p.theActor = nullptr;
        }
        gNumPlayers = 1;
        gCurrPlayer = 0;
        gGameType = kGameStandard;
        ResetScoring();
        int rack = 10, turnContinues = 0;
        for (int pins : c.balls) {
            ScoreNormalBall(pins, rack - pins, turnContinues);
            rack = turnContinues && rack > pins ? rack - pins : 10;
        }
        ASSERT_EQ(gPlayerInfo[0].gameFinished, 1);
        SetPlayersResults();
        EXPECT_EQ(gPlayerResults[0][0], c.score);
        const int spares = Stat(33), strikes = Stat(34), turkeys = Stat(35), pins = Stat(32);
        ASSERT_EQ(UpdateStats(false), 1);
        EXPECT_EQ(Stat(32) - pins, c.score);
        EXPECT_EQ(Stat(33) - spares, c.spares);
        EXPECT_EQ(Stat(34) - strikes, c.strikes);
        EXPECT_EQ(Stat(35) - turkeys, c.turkeys);
    }
}

TEST_F(Results, AbandonedGameHasNoResult)
{
    ClrPlayerResults();
    EXPECT_EQ(PlayerQuitGame(), 1) << "no players";
    gNumPlayers = 3;
    EXPECT_EQ(PlayerQuitGame(), 1) << "every result -1";
    const int values[4] = {7, 1, 2, 3};
    SetPlayerResults(2, values);
    SetPlayerResults(8, values);
    EXPECT_EQ(PlayerQuitGame(), 0);
    EXPECT_EQ(gPlayerResults[2][3], 3);
}

TEST_F(Results, ReputationAddsEventsWonAndEquipmentWorn)
{
    sBasicDbTable* players = Save("players");
    const int row = 11;
    BasicDbTable_SetElementI(players, 14, row, -1);
    ASSERT_EQ(UpdateReputation(), 1);
    const int base = BasicDbTable_GetElementI(players, 9, row);
    BasicDbTable_SetElementCN(players, 27, row, 0, '1');
    BasicDbTable_SetElementCN(players, 29, row, 1, 'W');
    ASSERT_EQ(UpdateReputation(), 1);
    const int earned = BasicDbTable_GetElementI(Game("Leagues"), 11, 0) + BasicDbTable_GetElementI(Game("Rivals"), 12, 1);
    EXPECT_EQ(BasicDbTable_GetElementI(players, 9, row), base + earned);
}

TEST(Places, OrdinalsOfTheStandings)
{
    const char* expected[] = {"1st", "2nd", "3rd", "4th", "11th", "12th", "13th", "21st", "22nd", "23rd", "101st", "111th"};
    const int places[] = {1, 2, 3, 4, 11, 12, 13, 21, 22, 23, 101, 111};
    char text[8];
    for (int i = 0; i < 12; ++i) {
        ASSERT_EQ(FormatPlace(places[i], text, sizeof text), 1);
        EXPECT_STREQ(text, expected[i]);
    }
}

TEST_F(Results, AQuickGameCountsForItsFirstBowler)
{
    lastGameType = kLastGameQuick;
    gQuickPlayBowlerRow = 12;
    gNumPlayers = 2;
    gPlayerResults[0][0] = 150;
    gPlayerResults[1][0] = 190;
    ASSERT_EQ(UpdateQuickPlayStats(), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(Save("players"), 30, 12), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(Save("players"), 37, 12), 150);
    EXPECT_EQ(BasicDbTable_GetElementI(Save("players"), 31, 12), 0) << "wins count in team games only";
    EXPECT_EQ(UpdateQuickPlayStats(), 0) << "once";
    SetPlayersResults();
    lastGameType = kLastGameMini;
    EXPECT_EQ(UpdateQuickPlayStats(), 0);
}
