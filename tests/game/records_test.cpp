#include "game/records.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Records, ResetPlayerInfoRestoresEveryGameFieldAndKeepsThePlayer)
{
    TITLE_PlayerInfoStruct p;
    std::memset(&p, 0x5A, sizeof p);
    TITLE_PlayerInfoStruct before = p;
    gHilitedBall = 2;

    ASSERT_EQ(ResetPlayerInfo(&p), 1);

    EXPECT_EQ(p.currFrameBallIndex, 0);
    EXPECT_EQ(p.currFrame, 0);
    EXPECT_EQ(p.throw1X, 0.0f);
    EXPECT_EQ(p.throw1BallHeading, 0.0f);
    EXPECT_EQ(p.strikesInRow, 0);
    EXPECT_EQ(p.lastBallResult, 0);
    EXPECT_EQ(p.ballSelected, 0);
    EXPECT_EQ(p.bumpers, 0) << "every game starts with the bumpers down";
    EXPECT_EQ(p.startY, 10000.0f);
    for (int b = 0; b < kBallScores; ++b) EXPECT_EQ(p.ballScore[b], -1) << b;
    EXPECT_EQ(p.ballsThrown, 0);
    for (int f = 0; f < kFramesPerGame; ++f) {
        EXPECT_EQ(p.frameScore[f], -1) << f;
        EXPECT_EQ(p.totalScoreInFrame[f], -1) << "an empty frame on the sheet, frame " << f;
        EXPECT_EQ(p.frameMark[f], 0) << f;
        for (int b = 0; b < kBallsPerFrame; ++b) EXPECT_EQ(p.framePinCount[f][b], -1) << f << "," << b;
    }
    EXPECT_EQ(p.totalScore, 0);
    for (int r = 0; r < kSparesRounds; ++r) EXPECT_EQ(p.miniBallScore[r], 0) << r;
    EXPECT_EQ(p.miniSparesConverted, 0);
    for (int r = 0; r < kBingoSize; ++r) {
        for (int c = 0; c < kBingoSize; ++c) {
            EXPECT_EQ(p.bingoScores[r][c], bingoScorecard1[r][c]);
            EXPECT_EQ(p.bingoMarks[r][c], r == 2 && c == 2) << "only the free centre is marked";
        }
    }
    EXPECT_EQ(p.bingoScores[2][2], kBingoFreeCell);
    EXPECT_EQ(p.turkey, 0);
    EXPECT_EQ(p.sixBagger, 0);
    EXPECT_EQ(p.winner, 0);
    EXPECT_EQ(p.gameFinished, 0);
    EXPECT_EQ(gHilitedBall, 0);

    // What the front end chose and the hand of cards stay as they were.
    EXPECT_EQ(std::memcmp(&p.playerData, &before.playerData, sizeof p.playerData), 0);
    EXPECT_EQ(std::memcmp(p.ballData, before.ballData, sizeof p.ballData), 0);
    EXPECT_EQ(p.controllerSlot, before.controllerSlot);
    EXPECT_EQ(p.suspendControls, before.suspendControls);
    EXPECT_EQ(p.leftHanded, before.leftHanded);
    EXPECT_EQ(p.theActor, before.theActor);
    EXPECT_EQ(p.laneNum, before.laneNum);
    EXPECT_EQ(std::memcmp(p.cards, before.cards, sizeof p.cards), 0);
    EXPECT_EQ(p.numCards, before.numCards);
    EXPECT_EQ(p.handVal, before.handVal);

    EXPECT_EQ(ResetPlayerInfo(nullptr), 0);
}

// Gives the options back as they were, however the test ends: later tests play games with them.
struct KeptOptions {
    TITLE_GameOptionsStruct game = gGameOptions;
    decltype(testOptions) test = testOptions;
    int hilited = gHilitedBall, tru = gTRUBall;
    ~KeptOptions()
    {
        gGameOptions = game;
        testOptions = test;
        gHilitedBall = hilited;
        gTRUBall = tru;
    }
};

TEST(Records, InitOptionsSetsEveryDefaultAndLeavesTheRest)
{
    const KeptOptions kept;
    std::memset(&gGameOptions, 0xA5, sizeof gGameOptions);
    std::memset(&testOptions, 0xA5, sizeof testOptions);
    gHilitedBall = gTRUBall = 7;

    ASSERT_EQ(InitOptions(), 1);

    const TITLE_GameOptionsStruct& o = gGameOptions;
    EXPECT_EQ(o.vibration, 1);
    EXPECT_EQ(o.soundFXVolume, 60);
    EXPECT_EQ(o.soundMusicVolume, 60);
    EXPECT_EQ(o.soundCommentaryVolume, 60);
    EXPECT_EQ(o.soundChatterVolume, 60);
    EXPECT_EQ(o.soundAmbientVolume, 60);
    EXPECT_EQ(o.difficulty, 0);
    EXPECT_EQ(o.cameraPosition, 0);
    EXPECT_EQ(o.drawControls, 1);
    EXPECT_EQ(o.drawTriggerControl, 1);
    EXPECT_EQ(o.oilPattern, 1);
    EXPECT_EQ(o.fog, 0);
    // Set elsewhere: the oil display by every game's set-up, the language and controls by the
    // front end.
    EXPECT_EQ(o.drawOil, 0xA5);
    EXPECT_EQ(o.language, 0xA5);
    EXPECT_EQ(o.controlMode, 0xA5);

    EXPECT_EQ(testOptions.initialBallVel, 24.0f);
    EXPECT_EQ(testOptions.initialBallHeading, 0.0f);
    EXPECT_EQ(testOptions.initialBallRotx, 50.0f);
    EXPECT_EQ(testOptions.initialBallRoty, -1200.0f);
    EXPECT_EQ(testOptions.initialBallXangle, 15.0f);
    EXPECT_EQ(gHilitedBall, 0);
    EXPECT_EQ(gTRUBall, 0);

    // The random sequence starts again from the fixed seed.
    int afterInit[8];
    for (int& r : afterInit) r = GetRandomInt(0, 1000000);
    SeedRandom();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(GetRandomInt(0, 1000000), afterInit[i]) << i;
}

TEST(Records, RandomNumbersStayInRangeAndRepeatAfterSeeding)
{
    SeedRandom();
    float first[16];
    for (float& f : first) f = GetRandomFloat(-3.0f, 5.0f);
    SeedRandom();
    for (int i = 0; i < 16; ++i) EXPECT_EQ(GetRandomFloat(-3.0f, 5.0f), first[i]) << i;

    EXPECT_EQ(GetRandomInt(3, 3), 3);
    EXPECT_EQ(GetRandomFloat(2.0f, 1.0f), 0.0f);
    EXPECT_EQ(GetRandomFloat(4.0f, 4.0f), 4.0f);
    int seenEnds = 0;
    for (int i = 0; i < 2000; ++i) {
        int r = GetRandomInt(0, 8);
        ASSERT_TRUE(r >= 0 && r <= 8) << r;
        seenEnds |= (r == 0 ? 1 : 0) | (r == 8 ? 2 : 0);
        int n = GetRandomInt(-7, -2);
        ASSERT_TRUE(n >= -7 && n <= -2) << n;
        float f = GetRandomFloat(-1.5f, 2.5f);
        ASSERT_TRUE(f >= -1.5f && f <= 2.5f) << f;
    }
    EXPECT_EQ(seenEnds, 3) << "both ends of the range are drawn";
}

}  // namespace
