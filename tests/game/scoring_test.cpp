// Ten-pin scoring: whole games ball by ball, the totals that stay unknown until their bonus balls
// exist, the marks and results of the tenth frame, and the order of turns.
#include "game/scoring.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/actors.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "screens/frontend.h"
#include "screens/results.h"
#include "screens/scoresheet_print.h"

namespace {

class Scoring : public ::testing::Test {
protected:
    int rack = 10;  // pins standing before the next ball

    void SetUp() override
    {
        for (TITLE_PlayerInfoStruct& p : gPlayerInfo) {
            ResetPlayerInfo(&p);
            p.theActor = nullptr;
        }
        gNumPlayers = 1;
        gCurrPlayer = 0;
        gGameType = kGameStandard;
        gGameOver = 0;
        ResetScoring();
    }
    // A test's bowlers live on its stack: no later test may find them.
    void TearDown() override
    {
        for (TITLE_PlayerInfoStruct& p : gPlayerInfo) p.theActor = nullptr;
    }

    // One ball of the current player knocking down `pins` of the pins standing; returns whether
    // the same player throws again.
    int Roll(int pins)
    {
        int turnContinues = -1;
        const int standing = rack - pins;
        EXPECT_EQ(ScoreNormalBall(pins, standing, turnContinues), 1);
        rack = turnContinues && standing > 0 ? standing : 10;
        return turnContinues;
    }
    static const TITLE_PlayerInfoStruct& P(int i = 0) { return gPlayerInfo[i]; }
};

struct Game {
    const char* name;
    std::vector<int> balls;
    std::vector<int> frames;  // the score of each frame
};

// For each frame, the index of the last ball its score needs (its bonus balls included).
std::vector<int> LastBallNeeded(const std::vector<int>& balls)
{
    std::vector<int> need;
    size_t i = 0;
    for (int f = 0; f < 10; ++f) {
        if (balls[i] == 10) {
            need.push_back(int(i) + 2);
            i += 1;
        } else if (balls[i] + balls[i + 1] == 10) {
            need.push_back(int(i) + 2);
            i += 2;
        } else {
            need.push_back(int(i) + 1);
            i += 2;
        }
    }
    return need;
}

const std::vector<Game> kGames = {
    {"all strikes", std::vector<int>(12, 10), {30, 30, 30, 30, 30, 30, 30, 30, 30, 30}},
    {"all spares", std::vector<int>(21, 5), {15, 15, 15, 15, 15, 15, 15, 15, 15, 15}},
    {"all nines", {9, 0, 9, 0, 9, 0, 9, 0, 9, 0, 9, 0, 9, 0, 9, 0, 9, 0, 9, 0}, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9}},
    {"all gutters", std::vector<int>(20, 0), {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"strikes in the tenth",
     {3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 10, 10, 10},
     {7, 7, 7, 7, 7, 7, 7, 7, 7, 30}},
    {"a spare in the tenth",
     {3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 6, 4, 7},
     {7, 7, 7, 7, 7, 7, 7, 7, 7, 17}},
    {"open frames with marks",
     {10, 7, 3, 9, 0, 10, 0, 8, 8, 2, 0, 6, 10, 10, 10, 8, 1},
     {20, 19, 9, 18, 8, 10, 6, 30, 28, 19}},
    {"gutter then ten is a spare", {0, 10, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     {15, 5, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"strike, three, seven in the tenth", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 3, 7},
     {0, 0, 0, 0, 0, 0, 0, 0, 0, 20}},
    {"two strikes and a nine in the tenth", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 10, 9},
     {0, 0, 0, 0, 0, 0, 0, 0, 0, 29}},
};

TEST_F(Scoring, WholeGamesScoreAndTotalsStayUnknownUntilTheirBonusBallsExist)
{
    for (const Game& game : kGames) {
        SCOPED_TRACE(game.name);
        SetUp();
        rack = 10;
        const std::vector<int> need = LastBallNeeded(game.balls);
        for (size_t k = 0; k < game.balls.size(); ++k) {
            ASSERT_FALSE(P().gameFinished) << "ball " << k << " comes after the end";
            Roll(game.balls[k]);
            int total = 0;
            for (int f = 0; f < 10; ++f) {
                if (need[size_t(f)] <= int(k)) {
                    total += game.frames[size_t(f)];
                    EXPECT_EQ(P().frameScore[f], game.frames[size_t(f)]) << "frame " << f << " after ball " << k;
                    EXPECT_EQ(P().totalScoreInFrame[f], total) << "frame " << f << " after ball " << k;
                } else {
                    EXPECT_EQ(P().frameScore[f], -1) << "frame " << f << " after ball " << k;
                    EXPECT_EQ(P().totalScoreInFrame[f], -1) << "frame " << f << " after ball " << k;
                }
            }
            EXPECT_EQ(P().totalScore, total) << "after ball " << k;
        }
        EXPECT_TRUE(P().gameFinished) << "the game ends with its last ball";
        EXPECT_EQ(P().currFrame, 10);
        EXPECT_EQ(P().ballsThrown, int(game.balls.size()));
        for (size_t k = 0; k < game.balls.size(); ++k) EXPECT_EQ(P().ballScore[k], game.balls[k]);

        // A ball after the end changes nothing.
        int turnContinues = -1;
        ScoreNormalBall(10, 0, turnContinues);
        EXPECT_EQ(turnContinues, 0);
        EXPECT_EQ(P().ballsThrown, int(game.balls.size()));
    }
}

// What each ball shows, and the frame's mark.
struct BallCase {
    const char* name;
    std::vector<int> balls;  // thrown in frames 0.. from a fresh game
    int frame;
    int mark;
    int lastBallResult;
    int strikesInRow;
    int turnContinues;  // after the last ball
};

TEST_F(Scoring, MarksResultsAndTurns)
{
    const std::vector<int> nineOpen(18, 0);
    auto tenth = [&](std::vector<int> last) {
        std::vector<int> v = nineOpen;
        v.insert(v.end(), last.begin(), last.end());
        return v;
    };
    const std::vector<BallCase> cases = {
        {"a gutter first ball", {0}, 0, 0, 0, 0, 1},
        {"a first ball of seven", {7}, 0, 0, 7, 0, 1},
        {"a strike ends the frame", {10}, 0, 2, 11, 1, 0},
        {"a spare", {7, 3}, 0, 1, 10, 0, 0},
        {"an open frame", {7, 2}, 0, 0, 2, 0, 0},
        {"three strikes in a row", {10, 10, 10}, 2, 2, 11, 3, 0},
        {"a strike in the tenth, one more ball", tenth({10}), 9, 2, 11, 1, 1},
        {"a gutter then ten in the tenth is a spare", tenth({0, 10}), 9, 1, 10, 0, 1},
        {"an open tenth ends after two balls", tenth({3, 4}), 9, 0, 4, 0, 0},
        {"a spare in the tenth earns a third ball", tenth({6, 4}), 9, 1, 10, 0, 1},
        {"strike, strike in the tenth", tenth({10, 10}), 9, 2, 11, 2, 1},
        {"strike, three in the tenth, one more ball", tenth({10, 3}), 9, 2, 3, 0, 1},
        {"strike, three, seven marks the tenth a spare", tenth({10, 3, 7}), 9, 1, 10, 0, 0},
        {"three strikes in the tenth", tenth({10, 10, 10}), 9, 2, 11, 3, 0},
        {"spare then strike in the tenth", tenth({3, 7, 10}), 9, 1, 11, 1, 0},
        {"strike, gutter, ten in the tenth is a spare", tenth({10, 0, 10}), 9, 1, 10, 0, 0},
    };
    for (const BallCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        rack = 10;
        int turnContinues = -1;
        for (int pins : c.balls) turnContinues = Roll(pins);
        EXPECT_EQ(P().frameMark[c.frame], c.mark);
        EXPECT_EQ(P().lastBallResult, c.lastBallResult);
        EXPECT_EQ(P().strikesInRow, c.strikesInRow);
        EXPECT_EQ(turnContinues, c.turnContinues);
    }
}

TEST_F(Scoring, TurkeyAndSixBaggerAreFlaggedOnTheirStrike)
{
    for (int k = 1; k <= 6; ++k) {
        gPlayerInfo[0].turkey = gPlayerInfo[0].sixBagger = 0;  // cleared before every ball
        Roll(10);
        EXPECT_EQ(P().turkey, k >= 3 ? 1 : 0) << "strike " << k;
        EXPECT_EQ(P().sixBagger, k == 6 ? 1 : 0) << "strike " << k;
    }
    SetUp();
    for (int f = 0; f < 9; ++f) {
        if (f >= 7) {
            Roll(10);
        } else {
            Roll(0);
            Roll(0);
        }
    }
    gPlayerInfo[0].turkey = 0;
    Roll(10);
    EXPECT_EQ(P().turkey, 1) << "frames 8, 9 and the tenth's first ball";
}

// Three players, each bowling open frames of 1 and 2 except the middle one, who strikes every
// ball: the turn goes round in order, the striker finishes with fewer balls, and the game is over
// only when the last player's tenth frame is done.
TEST_F(Scoring, TheTurnGoesRoundAndSkipsFinishedPlayers)
{
    gNumPlayers = 3;
    actor_tag bowlers[3] = {};
    for (int i = 0; i < 3; ++i) gPlayerInfo[i].theActor = &bowlers[i];
    bowlers[0].visible = 1;

    std::vector<int> order;
    int over = 0;
    for (int guard = 0; guard < 100 && !over; ++guard) {
        const int me = gCurrPlayer;
        order.push_back(me);
        EXPECT_EQ(bowlers[me].visible, 1) << "the bowler whose turn it is is shown";
        const int tenth = gPlayerInfo[me].currFrame == 9;
        if (me == 1) {
            EXPECT_EQ(Roll(10), tenth) << "a strike ends the frame, except in the tenth";
            if (tenth) {
                Roll(10);
                EXPECT_EQ(Roll(10), 0);
            }
        } else {
            EXPECT_EQ(Roll(1), 1);
            EXPECT_EQ(Roll(2), 0);
        }
        over = !SelectNextPlayer();
        if (!over) {
            for (int i = 0; i < 3; ++i) EXPECT_EQ(bowlers[i].visible, i == gCurrPlayer ? 1 : 0) << i;
        }
    }
    ASSERT_TRUE(over);
    ASSERT_EQ(order.size(), 30u);
    for (size_t k = 0; k < order.size(); ++k) EXPECT_EQ(order[k], int(k % 3)) << k;
    EXPECT_EQ(gPlayerInfo[1].totalScore, 300);
    EXPECT_EQ(gPlayerInfo[0].totalScore, 30);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(gPlayerInfo[i].gameFinished);

    // With the others finished the turn comes back to the one still bowling.
    gPlayerInfo[2].gameFinished = 0;
    gCurrPlayer = 2;
    EXPECT_EQ(SelectNextPlayer(), 1);
    EXPECT_EQ(gCurrPlayer, 2);
    EXPECT_EQ(bowlers[2].visible, 1);
}

TEST_F(Scoring, NothingIsScoredOnceTheGameIsOver)
{
    gGameOver = 1;
    for (int k = 0; k < 5; ++k) EXPECT_EQ(UpdateFrameLogic(), 1);
    EXPECT_EQ(P().ballsThrown, 0);
    EXPECT_EQ(P().currFrame, 0);
}

TEST_F(Scoring, TheResultsOfAStandardGameGoToTheFrontEnd)
{
    gNumPlayers = 2;
    SetPlayerResults(5, 2, 77);
    for (int k = 0; k < 12; ++k) Roll(10);
    gCurrPlayer = 1;
    for (int k = 0; k < 20; ++k) Roll(4 + (k % 2));
    ZeroPlayerResults();
    EXPECT_EQ(gPlayerResults[5][2], 0);
    SetPlayersResults();
    EXPECT_EQ(gPlayerResults[0][0], 300);
    EXPECT_EQ(gPlayerResults[1][0], 90);
    EXPECT_EQ(gPlayerResults[1][1], 0);
    EXPECT_EQ(gScoreCardPinCount[9][2], 10);
    EXPECT_EQ(gScoreCardPinCount[3][1], -1) << "a strike's second ball is not thrown";

    SetPlayerResults(7, 3, 1);
    SetPlayerResults(8, 0, 1);
    SetPlayerResults(0, 4, 1);
    SetPlayerResults(-1, 0, 1);
    EXPECT_EQ(gPlayerResults[7][3], 1);
    EXPECT_EQ(gPlayerResults[0][0], 300) << "out of range is ignored";
}

TEST_F(Scoring, TheSheetShowsMarksAsBowled)
{
    const std::vector<int> balls = {10, 7, 3, 9, 0, 10, 0, 8, 8, 2, 0, 6, 10, 10, 10, 8, 1};
    for (int pins : balls) Roll(pins);
    const char* expected[10] = {"X", "7 /", "9 -", "X", "- 8", "8 /", "- 6", "X", "X", "X 8 1"};
    char marks[16];
    for (int f = 0; f < 10; ++f) {
        ASSERT_EQ(FormatFrameMarks(0, f, marks, sizeof marks), 1);
        EXPECT_STREQ(marks, expected[f]) << f;
    }
    SetUp();
    for (int k = 0; k < 18; ++k) Roll(0);
    for (int pins : {0, 10, 10}) Roll(pins);
    FormatFrameMarks(0, 9, marks, sizeof marks);
    EXPECT_STREQ(marks, "- / X");
    SetUp();
    for (int k = 0; k < 18; ++k) Roll(0);
    for (int pins : {10, 10, 0}) Roll(pins);
    FormatFrameMarks(0, 9, marks, sizeof marks);
    EXPECT_STREQ(marks, "X X -");
    EXPECT_EQ(FormatFrameMarks(8, 0, marks, sizeof marks), 0);
    EXPECT_EQ(FormatFrameMarks(0, 10, marks, sizeof marks), 0);
}

}  // namespace
