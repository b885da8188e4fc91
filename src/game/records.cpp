// The shared game records and their defaults: players, game options, test-mode state and the game's
// random numbers.
#include "game/records.h"

#include <cstdlib>

#include "platform/utilities.h"

TITLE_PlayerInfoStruct gPlayerInfo[kMaxPlayers];
TITLE_GameOptionsStruct gGameOptions;
TestOptions testOptions;
int gHilitedBall = 0;
int gTRUBall = 0;

const int bingoScorecard1[kBingoSize][kBingoSize] = {
    {2, 9, 10, 15, 11},
    {19, 8, 0, 7, 3},
    {5, 7, kBingoFreeCell, 8, 2},
    {12, 10, 1, 3, 2},
    {15, 13, 10, 5, 5},
};

// "No score yet": the score sheet shows such a frame or ball as empty.
static const int kNoScore = -1;
// Start position along the lane that no real position reaches: the first ball of a game places
// the bowler afresh.
static const float kNoStartY = 10000.0f;

int ResetPlayerInfo(TITLE_PlayerInfoStruct* p)
{
    if (!p) return 0;
    p->currFrameBallIndex = 0;
    p->currFrame = 0;
    p->throw1X = 0.0f;
    p->throw1BallHeading = 0.0f;
    p->strikesInRow = 0;
    p->lastBallResult = 0;
    p->ballSelected = 0;
    p->bumpers = 0;  // every game starts with the bumpers down
    p->startY = kNoStartY;

    for (int& score : p->ballScore) score = kNoScore;
    p->ballsThrown = 0;
    for (int f = 0; f < kFramesPerGame; ++f) {
        p->frameScore[f] = kNoScore;
        p->frameMark[f] = 0;
        p->totalScoreInFrame[f] = kNoScore;
        for (int& pins : p->framePinCount[f]) pins = kNoScore;
    }
    p->totalScore = 0;

    for (int& score : p->miniBallScore) score = 0;
    p->miniSparesConverted = 0;

    for (int r = 0; r < kBingoSize; ++r) {
        for (int c = 0; c < kBingoSize; ++c) {
            p->bingoScores[r][c] = bingoScorecard1[r][c];
            p->bingoMarks[r][c] = 0;
        }
    }
    p->bingoMarks[kBingoSize / 2][kBingoSize / 2] = 1;  // the free centre

    p->turkey = 0;
    p->sixBagger = 0;
    p->winner = 0;
    p->gameFinished = 0;
    gHilitedBall = 0;
    return 1;
}

int InitOptions()
{
    // drawOil is set by every game's set-up; language, controlMode and pad are left as they are.
    gGameOptions.vibration = 1;
    gGameOptions.soundFXVolume = 60;
    gGameOptions.soundMusicVolume = 60;
    gGameOptions.soundCommentaryVolume = 60;
    gGameOptions.soundChatterVolume = 60;
    gGameOptions.soundAmbientVolume = 60;
    gGameOptions.difficulty = 0;
    gGameOptions.cameraPosition = 0;
    gGameOptions.drawControls = 1;
    gGameOptions.drawTriggerControl = 1;
    gGameOptions.oilPattern = 1;
    gGameOptions.fog = 0;

    testOptions.initialBallVel = 24.0f;
    testOptions.initialBallHeading = 0.0f;
    testOptions.initialBallRotx = 50.0f;
    testOptions.initialBallRoty = -1200.0f;
    testOptions.initialBallXangle = 15.0f;

    SeedRandom();
    gHilitedBall = 0;
    gTRUBall = 0;
    return 1;
}

int SeedRandom() { return InitRandomNumbers(); }

int GetRandomInt(int lo, int hi)
{
    // Both ends are possible: the callers draw "between min and max", and a shuffle that could
    // never pick its last entry would be biased.
    if (hi <= lo) return lo;
    int r = hi < 0x7FFFFFFF ? RandomNumber(lo, hi + 1) : RandomNumber(lo, hi);
    if (r < lo) r = lo;
    if (r > hi) r = hi;
    return r;
}

float GetRandomFloat(float lo, float hi)
{
    if (lo > hi) return 0.0f;
    // The runtime library's draw scaled into [0, 1): r * 2^-31 for its 31-bit values.
    double unit = double(std::rand()) / (double(RAND_MAX) + 1.0);
    return float(double(lo) + (double(hi) - double(lo)) * unit);
}
