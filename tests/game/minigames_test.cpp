// The mini-games' rules ball by ball without a lane: the spares challenge's points and its end,
// bingo's marks, lines and fresh card after the tenth frame, poker's cards and its winners.
#include "game/minigames.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/cards.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "game/scoring.h"
#include "support/device_heap.h"

namespace {

class MiniGames : public ::testing::Test {
protected:
    int rack = 10;

    void SetUp() override
    {
        for (TITLE_PlayerInfoStruct& p : gPlayerInfo) {
            ResetPlayerInfo(&p);
            p.numCards = 0;
            p.theActor = nullptr;
        }
        gNumPlayers = 1;
        gCurrPlayer = 0;
        gGameOver = 0;
        ResetScoring();
        ResetMiniGames();
    }
    static TITLE_PlayerInfoStruct& P(int i = 0) { return gPlayerInfo[i]; }

    // One spares attempt: converted or not.
    int Spare(int converted)
    {
        int turnContinues = -1;
        EXPECT_EQ(ScoreSparesBall(converted ? 3 : 1, converted ? 0 : 2, turnContinues), 1);
        return turnContinues;
    }
    int Bingo(int pins, int* line = nullptr)
    {
        int turnContinues = -1, bingo = -1;
        EXPECT_EQ(ScoreBingoBall(pins, rack - pins, turnContinues, &bingo), 1);
        rack = turnContinues && rack - pins > 0 ? rack - pins : 10;
        if (line) *line = bingo;
        return turnContinues;
    }
    int Poker(int pins)
    {
        int turnContinues = -1;
        EXPECT_EQ(ScorePokerBall(pins, rack - pins, turnContinues), 1);
        rack = turnContinues && rack - pins > 0 ? rack - pins : 10;
        return turnContinues;
    }
};

TEST_F(MiniGames, SparesPointsByAttemptAndRound)
{
    EXPECT_EQ(Spare(0), 1);
    EXPECT_EQ(Spare(1), 0);  // round 0 converted on the second attempt
    EXPECT_EQ(P().miniBallScore[0], 500);
    EXPECT_EQ(P().currFrame, 1);
    EXPECT_EQ(P().currFrameBallIndex, 0);
    Spare(0), Spare(0), Spare(1);
    EXPECT_EQ(P().miniBallScore[1], 250);
    EXPECT_EQ(P().totalScore, 750);
    EXPECT_EQ(P().miniSparesConverted, 2);
}

TEST_F(MiniGames, SparesPerfectRunAndOneBallRounds)
{
    for (int r = 0; r < kSparesRoundsPerGame; ++r) {
        EXPECT_EQ(P().gameFinished, 0) << "round " << r;
        Spare(1);
    }
    EXPECT_EQ(P().totalScore, 19000);
    EXPECT_EQ(P().gameFinished, 1);

    SetUp();
    for (int r = 0; r < 10; ++r) Spare(1);
    EXPECT_EQ(Spare(0), 0) << "a one-ball round has one attempt";
    EXPECT_EQ(P().miniBallScore[10], 0);
    EXPECT_EQ(P().currFrame, 11);
    EXPECT_EQ(P().gameFinished, 0);
}

TEST_F(MiniGames, SparesMissedRoundEndsTheGameAfterRoundNine)
{
    for (int r = 0; r < 10; ++r) {
        if (r == 3) {
            Spare(0), Spare(0), Spare(0);
        } else {
            Spare(1);
        }
    }
    EXPECT_EQ(P().miniBallScore[3], 0);
    EXPECT_EQ(P().currFrame, 10);
    EXPECT_EQ(P().gameFinished, 1);
    EXPECT_EQ(P().totalScore, 9000);
}

TEST_F(MiniGames, BingoMarksByPinsAndFrameScores)
{
    Bingo(0);  // a gutter ball marks the 0 cell
    EXPECT_EQ(P().bingoMarks[1][2], 1);
    Bingo(7);  // the frame scores 7: both 7 cells
    EXPECT_EQ(P().frameScore[0], 7);
    EXPECT_EQ(P().bingoMarks[1][3], 1);
    EXPECT_EQ(P().bingoMarks[2][1], 1);
    EXPECT_EQ(P().bingoMarks[0][0], 0);
}

TEST_F(MiniGames, BingoLineThroughTheCentreWins)
{
    // Column 2 is 10, 0, free, 1, 10: a gutter, a one and a ten-pin ball.
    int line = 0;
    Bingo(0, &line);
    Bingo(1, &line);
    EXPECT_EQ(line, 0);
    Bingo(10, &line);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(BingoLine(&P()), 1);
}

TEST_F(MiniGames, BingoCardStartsAgainAfterTheTenthFrame)
{
    // Nines and misses: the 9 cell only, and frames of 9.
    for (int f = 0; f < 9; ++f) Bingo(9), Bingo(0);
    EXPECT_EQ(P().currFrame, 9);
    Bingo(9);
    EXPECT_EQ(Bingo(0), 0);
    EXPECT_EQ(P().currFrame, 0);
    EXPECT_EQ(P().ballsThrown, 0);
    EXPECT_EQ(P().bingoMarks[0][1], 0) << "the nines of the old card are gone";
    EXPECT_EQ(P().bingoMarks[2][2], 1);
    EXPECT_EQ(P().bingoMarks[1][2], 1) << "the last ball's 0 marks the fresh card";
}

TEST_F(MiniGames, PokerCardsForMarksAndTheSevenCardLimit)
{
    ASSERT_EQ(UseFreshDeviceHeap(1u << 20), 1);
    P().numCards = 5;  // left from an earlier game
    ASSERT_EQ(SetUpPokerDeck(), 1);
    EXPECT_EQ(P().numCards, 0);
    Poker(10), Poker(10), Poker(10);
    EXPECT_EQ(P().numCards, 4) << "three strikes in a row in frames 0-2";
    Poker(6), Poker(4);
    EXPECT_EQ(P().numCards, 5);
    Poker(3), Poker(2);
    EXPECT_EQ(P().numCards, 5);
    EXPECT_EQ(P().lastBallResult, 2);
    for (int f = 5; f < 9; ++f) Poker(10);
    EXPECT_EQ(P().numCards, kMaxHandCards);
    Poker(10), Poker(10), Poker(10);
    EXPECT_EQ(P().numCards, kMaxHandCards);
    EXPECT_EQ(P().gameFinished, 1);
    DisposePokerDeck();
    ReleaseDeviceHeap();
}

// The tenth frame's cards, counted from an empty hand: a card for every strike on a fresh rack and
// for the spare, and a bonus card for a strike that completes three in a row, also with the
// strikes of the eighth and ninth frames.
TEST_F(MiniGames, PokerTenthFrameCards)
{
    struct Case {
        const char* name;
        int strikesBefore;  // 0, 1 (the ninth frame) or 2 (the eighth and ninth)
        std::vector<int> balls;
        int cards, mark;
    };
    const Case cases[] = {
        {"open", 0, {3, 4}, 0, 0},
        {"spare, open fill ball", 0, {6, 4, 5}, 1, kMarkSpare},
        {"spare, strike", 0, {6, 4, 10}, 2, kMarkSpare},
        {"gutter then all ten, strike", 0, {0, 10, 10}, 2, kMarkSpare},
        {"strike, open fill balls", 0, {10, 3, 4}, 1, kMarkStrike},
        {"strike, spare", 0, {10, 3, 7}, 2, kMarkSpare},
        {"double", 0, {10, 10, 4}, 2, kMarkStrike},
        {"turkey", 0, {10, 10, 10}, 4, kMarkStrike},
        {"ninth strike, double", 1, {10, 10, 4}, 3, kMarkStrike},
        {"eighth and ninth strikes, strike", 2, {10, 3, 4}, 2, kMarkStrike},
        {"eighth and ninth strikes, turkey", 2, {10, 10, 10}, 6, kMarkStrike},
    };
    ASSERT_EQ(UseFreshDeviceHeap(1u << 20), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        rack = 10;
        ASSERT_EQ(SetUpPokerDeck(), 1);
        for (int f = 0; f < 9; ++f) {
            if (f >= 9 - c.strikesBefore)
                Poker(10);
            else
                Poker(3), Poker(4);
        }
        P().numCards = 0;
        for (int pins : c.balls) {
            EXPECT_EQ(P().gameFinished, 0);
            Poker(pins);
        }
        EXPECT_EQ(P().gameFinished, 1);
        EXPECT_EQ(P().numCards, c.cards);
        EXPECT_EQ(P().frameMark[kLastFrame], c.mark);
        DisposePokerDeck();
    }
    ReleaseDeviceHeap();
}

TEST_F(MiniGames, PokerWinnersAmongEightPlayers)
{
    gNumPlayers = 8;
    // Players 1, 3, 4, 6 and 7 hold the same pair of jacks with equal kickers; the others less.
    const int pair[5] = {3, 16, 0, 17, 5};       // J J A Q 9
    const int same[5] = {29, 42, 13, 4 + 26, 31};  // J J A Q 9 of other suits
    for (int i = 0; i < 8; ++i) {
        const int* cards = i == 1 ? pair : (i == 3 || i == 4 || i == 6 || i == 7) ? same : nullptr;
        P(i).numCards = cards ? 5 : 2;
        for (int k = 0; k < P(i).numCards; ++k) P(i).cards[k] = cards ? cards[k] : 12 + 12 * k;
    }
    int winners[8] = {}, n = 0, code = 0;
    ASSERT_EQ(PokerWinners(winners, &n, &code, nullptr), 1);
    EXPECT_EQ(code, kHandHighPair);
    ASSERT_EQ(n, 5);
    EXPECT_EQ(winners[0], 1);
    EXPECT_EQ(winners[4], 7);
    EXPECT_EQ(P(0).handVal, kHandHighCard);  // a two and a three
}

}  // namespace
