// Computer bowlers on the lane of the build's game data: the line chosen for the pins standing,
// the approach and the release, real shots rolled under physics, and the skipped frame.
#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>

#include <cmath>
#include <cstring>
#include <string>

#include "content.h"
#include "game/actors.h"
#include "game/areas.h"
#include "game/ball.h"
#include "game/characters.h"
#include "game/collision.h"
#include "game/computer.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/pins.h"
#include "game/records.h"
#include "game/scoring.h"
#include "host/host.h"
#include "overlays/overlaystack.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "shell/globals.h"
#include "shell/physicsmemory.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

constexpr int kReactive15 = 2 * mkrom::kBallWeights + 6;
constexpr int kFrameCap = 1500;
constexpr float kPin7X = -36.0f;
constexpr float kPin10X = 36.0f;

struct Ratings {
    int power, accuracy, hookMin, hookMax, average;
};
const Ratings kStrong = {95, 95, 30, 60, 220};
const Ratings kWeak = {55, 35, 0, 20, 110};

// What one computer ball did.
struct Ball {
    int releasedAt = 0;  // frame of the release, 0 if never
    float releaseX = NAN;
    float xAtPins = NAN;
    int pinsDown = 0;
};

class ComputerOnTheLane : public ::testing::Test {
protected:
    HostOptions saved;
    actor_tag* bowler = nullptr;
    TITLE_PlayerInfoStruct* const p = &gPlayerInfo[0];

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(64 << 20), 1);
        saved = gHostOptions;
        done = 0;
        ASSERT_EQ(OpenBuildGameData(), 1);
        InstallPhysicsAllocator();
        // A game type without end-of-ball rules: the pins stay as the ball left them.
        gGameType = 4;
        gGameOver = 0;
        gSkipAI = 0;
        gNumPlayers = 2;
        for (int i = 0; i < 2; ++i) {
            ResetPlayerInfo(&gPlayerInfo[i]);
            gPlayerInfo[i].leftHanded = 0;
            gPlayerInfo[i].laneNum = 1;
            gPlayerInfo[i].ballSelected = 0;
            gPlayerInfo[i].ballData[0].ballIndex = u8(kReactive15);
            ASSERT_EQ(ReadBallProperties(&gPlayerInfo[i].ballData[0]), 1);
            SetControllerAssignment(i, kAssignmentComputer);
        }
        Rate(kStrong);
        gGameOptions.oilPattern = 1;
        testOptions.testModeActive = 0;
        areaNum = 0;
        SeedRandom();
        BuildLane();
    }
    void TearDown() override
    {
        DisposeLane();
        CloseBuildGameData();
        btAlignedAllocSetCustom(nullptr, nullptr);
        btAlignedAllocSetCustomAligned(nullptr, nullptr);
        ReleaseDeviceHeap();
        gHostOptions = saved;
        gGameOver = 0;
        for (int i = 0; i < 2; ++i) SetControllerAssignment(i, 0);
    }

    void Rate(const Ratings& r)
    {
        p->playerData.throwPower = u8(r.power);
        p->playerData.throwAccuracy = u8(r.accuracy);
        p->playerData.throwHookMin = u8(r.hookMin);
        p->playerData.throwHookMax = u8(r.hookMax);
        p->playerData.throwAverage = r.average;
    }
    void BuildLane()
    {
        gCurrPlayer = 0;
        std::memset(pins, 0, sizeof(pins));
        ASSERT_EQ(InitializeActors(kActorPoolSize), 1);
        ASSERT_EQ(CreatePhysicsWorld(), 1);
        ASSERT_EQ(CreateCollisionEnvironment(areaNum), 1);
        ASSERT_EQ(AddBallActor(nullptr), 1);
        for (int pin = kFirstPin; pin <= kLastPin; ++pin) ASSERT_EQ(AddPinActor(pin, &pinActors[pin - 1]), 1);
        ASSERT_EQ(AddActor(0, -264, 0, kActorCharacter, &bowler), 1);
        bowler->rosterIndex = 0;
        gPlayerInfo[0].theActor = gPlayerInfo[1].theActor = bowler;
        StartNewBall();
        physics->SetBumpersRaised(0);
    }
    void DisposeLane()
    {
        DisposePhysicsWorld();
        DisposeActors();
        DisposeCollisionEnvironment(areaNum);
    }
    void Rebuild()
    {
        DisposeLane();
        BuildLane();
    }
    // Only these pins stand.
    static void Leave(std::initializer_list<int> standing)
    {
        for (int pin = kFirstPin; pin <= kLastPin; ++pin) {
            bool keep = false;
            for (int s : standing) keep = keep || s == pin;
            if (!keep) {
                ASSERT_EQ(ParkPin(pin), 1);
            }
        }
    }
    static int StandingMask()
    {
        int mask = 0;
        GetStandingPinMask(&mask);
        return mask;
    }

    // One game frame: the computer's controls, the bowler's animation playing at its rate (the
    // bowler has no animation handler of its own here), the actors and a world step.
    void Frame()
    {
        UpdateAIBowler(p);
        bowler->animInfo.animationFrame += bowler->animInfo.animationFrameRatio;
        RunActorHandlers();
        physics->Move();
    }
    // The computer bowls one ball, from the choice of the shot until the next ball is set up.
    Ball Bowl()
    {
        Ball b;
        const int before = StandingMask();
        for (int frame = 1; frame <= kFrameCap; ++frame) {
            Frame();
            if (!b.releasedAt && GetControlState() == kControlReleased) {
                b.releasedAt = frame;
                b.releaseX = bowlingBall->Xlocation;
            }
            if (b.releasedAt && std::isnan(b.xAtPins) && bowlingBall->Ylocation >= 1410.0f)
                b.xAtPins = bowlingBall->Xlocation;
            if (b.releasedAt && !bowlingBall->team) break;
        }
        for (int pin = kFirstPin; pin <= kLastPin; ++pin)
            if ((before & (1 << (15 - pin))) && PinKnockedDown(pin)) ++b.pinsDown;
        return b;
    }
    // The shot the computer would choose now, and where it would stand.
    ShotParams_tag Shot()
    {
        ShotParams_tag s{};
        AICalculateShot(gGameOptions.oilPattern, s);
        return s;
    }
    // Starts the random sequence at one of many places.
    static void Seed(int seed)
    {
        SeedRandom();
        for (int i = 0; i < seed * 7; ++i) GetRandomInt(1, 100);
    }
};

// ---------------------------------------------------------------------------------------------
// The line

// A sure bowler with no hook throws straight at the pocket: right of the head pin for a
// right-hander, left of it for a left-hander; the bowler stands off the line by its hand.
TEST_F(ComputerOnTheLane, FullRackGoesForThePocketOfTheBowlersHand)
{
    Rate({100, 100, 0, 0, 200});
    const float pocket = 2.5f / 41.0f * 82.0f;  // 5 units: two and a half boards
    bowler->deflection = -12.0f;
    ShotParams_tag s = Shot();
    EXPECT_NEAR(bowlingBall->Xlocation, pocket, 1e-3f);
    EXPECT_NEAR(bowler->Xlocation, pocket - 12.0f, 1e-3f);
    EXPECT_FLOAT_EQ(s.rotY, 0.0f);
    EXPECT_LT(std::fabs(s.heading), 0.01f);
    p->leftHanded = 1;
    s = Shot();
    EXPECT_NEAR(bowlingBall->Xlocation, -pocket, 1e-3f);
}

// A hook bowler starts outside the target and spins the ball back onto it: a right-hander
// right of the line with spin to the left, a left-hander the mirror image.
TEST_F(ComputerOnTheLane, AHookBowlerStartsOutsideAndSpinsBack)
{
    Rate({90, 100, 0, 50, 200});
    const ShotParams_tag right = Shot();
    const float rightX = bowlingBall->Xlocation;
    p->leftHanded = 1;
    const ShotParams_tag left = Shot();
    EXPECT_GT(rightX, 5.0f + 10.0f) << "well right of the pocket";
    EXPECT_NEAR(bowlingBall->Xlocation, -rightX, 1e-3f);
    EXPECT_LT(right.rotY, 0.0f);
    EXPECT_FLOAT_EQ(left.rotY, -right.rotY);
    EXPECT_NEAR(right.vel, 0.9f * 28.0f, 1e-4f);
}

// Leaves with a line of their own: a 2-3 is played straight at the middle by either hand; a
// 7-10 split has no line of its own and a right-hander goes for the 7, a left-hander the 10.
TEST_F(ComputerOnTheLane, NamedLeavesAndSplits)
{
    Rate({90, 100, 0, 0, 200});
    p->currFrameBallIndex = 1;  // a second ball takes no first-ball wobble
    Leave({2, 3});
    for (int lefty : {0, 1}) {
        p->leftHanded = lefty;
        const ShotParams_tag s = Shot();
        EXPECT_NEAR(s.ReleaseX, 0.0f, 1e-5f) << lefty;
        EXPECT_NEAR(s.heading, 0.0f, 0.01f) << lefty;
    }
    Rebuild();
    Leave({7, 10});
    p->leftHanded = 0;
    EXPECT_LT(Shot().ReleaseX, -0.3f);
    p->leftHanded = 1;
    EXPECT_GT(Shot().ReleaseX, 0.3f);
}

// A perfectly accurate bowler never misses, yet its first ball still wanders by a hair;
// its second ball not at all.
TEST_F(ComputerOnTheLane, PerfectAccuracyWobblesOnlyOnTheFirstBall)
{
    Rate({100, 100, 0, 0, 200});
    for (int seed = 0; seed < 6; ++seed) {
        Seed(seed);
        p->currFrameBallIndex = 0;
        const ShotParams_tag first = Shot();
        EXPECT_NEAR(std::fabs(first.AimX - first.ReleaseX), 0.0005f, 1e-6f) << seed;
        p->currFrameBallIndex = 1;
        const ShotParams_tag second = Shot();
        EXPECT_FLOAT_EQ(second.AimX, second.ReleaseX) << seed;
    }
}

// Ratings the front end may hand over at their ends still give a shot that can be thrown:
// no power at all, no pins in place, ratings past 100.
TEST_F(ComputerOnTheLane, ExtremeRatingsAndNoPinsStillGiveAThrowableShot)
{
    for (const Ratings& r : {Ratings{0, 0, 0, 0, 0}, Ratings{255, 255, 255, 255, 0}}) {
        Rate(r);
        const ShotParams_tag s = Shot();
        for (float v : {s.vel, s.heading, s.rotY, s.ReleaseX, s.AimX, bowlingBall->Xlocation})
            EXPECT_TRUE(std::isfinite(v)) << r.power;
        EXPECT_GT(s.vel, 0.0f);
        EXPECT_LE(std::fabs(s.ReleaseX), 0.5f);
    }
    Rate(kStrong);
    Leave({});
    ASSERT_EQ(StandingMask(), 0);
    const ShotParams_tag s = Shot();
    EXPECT_TRUE(std::isfinite(s.heading));
    EXPECT_LT(std::fabs(s.ReleaseX), 0.45f);
}

// A person asking for a suggested spare line is treated as a good bowler, not by the ratings
// stored in its record.
TEST_F(ComputerOnTheLane, APersonGetsAGoodBowlersLine)
{
    SetControllerAssignment(0, 0);
    Rate({10, 10, 90, 90, 50});
    EXPECT_FLOAT_EQ(GetMaxPower(), 0.9f);
    EXPECT_FLOAT_EQ(GetMinHook(), 0.0f);
    const ShotParams_tag s = Shot();
    EXPECT_NEAR(s.vel, 0.9f * 28.0f, 1e-4f);
    EXPECT_NEAR(s.rotY, -0.5f * 1280.0f, 1e-3f);
}

// The same random sequence gives the same shots.
TEST_F(ComputerOnTheLane, SameSeedSameShots)
{
    Rate(kWeak);
    ShotParams_tag a[5], b[5];
    for (ShotParams_tag* run : {a, b}) {
        SeedRandom();
        for (int i = 0; i < 5; ++i) run[i] = Shot();
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(std::memcmp(&a[i], &b[i], sizeof(ShotParams_tag)), 0) << i;
    }
    bool varied = false;
    for (int i = 1; i < 5; ++i) varied = varied || a[i].heading != a[0].heading;
    EXPECT_TRUE(varied) << "a wild bowler's shots differ from ball to ball";
}

// ---------------------------------------------------------------------------------------------
// The approach and the release

// The bowler waits longer on the approach before a frame's first ball than before a later one,
// swings, and lets the ball go exactly at the release frame, on the line it chose.
TEST_F(ComputerOnTheLane, WaitsSwingsAndReleasesAtTheReleaseFrame)
{
    for (int ball : {0, 1}) {
        SCOPED_TRACE(ball);
        Rebuild();
        p->currFrameBallIndex = ball;
        p->playerData.bodyMeshRSID = 946;  // releases at frame 66
        int swingAt = 0;
        float plannedX = NAN;
        for (int frame = 1; frame < 200 && GetControlState() != kControlReleased; ++frame) {
            Frame();
            if (frame == 1) {
                EXPECT_EQ(GetControlState(), kControlPower);
                plannedX = bowlingBall->Xlocation;
                EXPECT_EQ(bowlingBall->team, 0);
            }
            if (!swingAt && GetControlState() == kControlThrowing) {
                swingAt = frame;
                EXPECT_EQ(bowler->animInfo.animation, 1303);
            }
            if (GetControlState() == kControlThrowing) {
                EXPECT_EQ(bowlingBall->team, 0) << "held until the release frame";
            }
        }
        ASSERT_EQ(GetControlState(), kControlReleased);
        // updateRate is 33 ms: the wait is over past 1800 ms (55 frames) or 900 ms (28 frames).
        EXPECT_EQ(swingAt, ball == 0 ? 1 + 55 : 1 + 28);
        EXPECT_GE(bowler->animInfo.animationFrame, 66.0f);
        EXPECT_LT(bowler->animInfo.animationFrame, 68.0f);
        EXPECT_EQ(bowlingBall->team, 1);
        EXPECT_EQ(bowlingBall->visible, 1);
        EXPECT_NEAR(bowlingBall->Xlocation, plannedX, 1e-3f) << "the hand is on the planned line";
        EXPECT_FLOAT_EQ(physics->m_ballBody->getFriction(), 0.25f);
    }
}

// Once the game is over the computer neither chooses a new shot nor throws one it was about to.
TEST_F(ComputerOnTheLane, NothingIsThrownAfterTheGameIsOver)
{
    gGameOver = 1;
    for (int frame = 0; frame < 200; ++frame) Frame();
    EXPECT_EQ(GetControlState(), kControlPosition);
    EXPECT_EQ(bowlingBall->team, 0);

    gGameOver = 0;
    while (GetControlState() != kControlThrowing) Frame();
    gGameOver = 1;
    for (int frame = 0; frame < 200; ++frame) Frame();
    EXPECT_EQ(GetControlState(), kControlThrowing);
    EXPECT_EQ(bowlingBall->team, 0);
    EXPECT_EQ(StandingMask(), kFullRackMask);
}

// Only the bowler whose turn it is bowls.
TEST_F(ComputerOnTheLane, OnlyTheCurrentPlayerBowls)
{
    for (int frame = 0; frame < 200; ++frame) UpdateAIBowler(&gPlayerInfo[1]);
    EXPECT_EQ(GetControlState(), kControlPosition);
    EXPECT_EQ(UpdateAIBowler(nullptr), 1);
}

// ---------------------------------------------------------------------------------------------
// Real shots

// A strong bowler's first balls at a full rack mostly strike or leave a pin or two; a weak one
// knocks down fewer on average.
TEST_F(ComputerOnTheLane, AStrongBowlerOutscoresAWeakOne)
{
    constexpr int kSeeds = 8;
    int strong = 0, weak = 0, strongGood = 0;
    for (const Ratings* r : {&kStrong, &kWeak}) {
        Rate(*r);
        for (int seed = 0; seed < kSeeds; ++seed) {
            Rebuild();
            Seed(seed);
            const Ball b = Bowl();
            ASSERT_GT(b.releasedAt, 0) << seed;
            if (r == &kStrong) {
                strong += b.pinsDown;
                strongGood += b.pinsDown >= 8;
            } else {
                weak += b.pinsDown;
            }
        }
    }
    EXPECT_GE(strongGood, kSeeds * 3 / 4) << "strong bowler: " << strong << " pins in " << kSeeds << " balls";
    EXPECT_LT(weak, strong) << "weak " << weak << ", strong " << strong;
}

// Spare shots go where the pins are: a lone corner pin on either side, for either hand, is
// reached on its own side of the lane and mostly knocked down. (A right-hander's 10 pin and a
// left-hander's 7 pin are played across the hook, on the two-point line.)
TEST_F(ComputerOnTheLane, CornerPinSparesAreMade)
{
    struct Case {
        int pin;
        float x;
        int lefty;
    };
    int made = 0, tries = 0;
    for (const Case& c : {Case{10, kPin10X, 0}, Case{7, kPin7X, 0}, Case{10, kPin10X, 1}, Case{7, kPin7X, 1}}) {
        for (int seed = 0; seed < 3; ++seed) {
            SCOPED_TRACE(testing::Message() << "pin " << c.pin << " lefty " << c.lefty << " seed " << seed);
            Rebuild();
            p->leftHanded = c.lefty;
            p->currFrameBallIndex = 1;
            Seed(seed);
            Leave({c.pin});
            const Ball b = Bowl();
            ASSERT_GT(b.releasedAt, 0);
            EXPECT_GT(b.xAtPins * c.x, 0.0f) << "reaches the pins on the pin's side, at " << b.xAtPins;
            made += b.pinsDown;
            ++tries;
        }
    }
    EXPECT_GE(made, tries * 2 / 3);
}

// The two-point line for one case: a sure right-hander (power 0.95, hook 0.6) at the 10 pin
// alone, whose straight line would start off the lane. Set towards the hook's drift beyond the
// aim (0.9634 + 16.79 / 41), from 0.05 inside the point the side spin moves it from, at the
// arrows a third of the way: released at 0.3841, aimed at 0.7138 (less the middle, 0.5), with
// the spin's 0.6 at 1280 degrees a second and the side speed added to the power.
TEST_F(ComputerOnTheLane, TheTwoPointLineForOneCase)
{
    Rate({95, 100, 30, 60, 220});
    p->currFrameBallIndex = 1;
    Leave({10});
    const ShotParams_tag s = Shot();
    EXPECT_NEAR(s.ReleaseX, 0.3841f - 0.5f, 1e-4f);
    EXPECT_NEAR(s.AimX, 0.7138f - 0.5f, 1e-4f);
    EXPECT_NEAR(s.rotY, 0.6f * -1280.0f, 1e-3f);
    EXPECT_NEAR(s.vel, 34.587f, 1e-3f);
}

// ---------------------------------------------------------------------------------------------
// Skipped frames

// Frame results drawn from the average: every result is a possible frame, better averages give
// more pins, and the best bowlers strike nine times in ten.
TEST_F(ComputerOnTheLane, FrameResultsFollowTheAverage)
{
    double lastMean = -1;
    for (int average : {60, 105, 145, 185, 225, 265, 300}) {
        p->playerData.throwAverage = average;
        int pinsTotal = 0, strikes = 0;
        constexpr int kDraws = 4000;
        for (int i = 0; i < kDraws; ++i) {
            int first = -1, second = -1;
            ASSERT_EQ(GetAIBowlerFrameScore(p, &first, &second), 1);
            ASSERT_GE(first, 0);
            ASSERT_GE(second, 0);
            ASSERT_LE(first + second, 10) << average;
            if (first == 10) {
                ASSERT_EQ(second, 0);
                ++strikes;
            }
            pinsTotal += first + second;
        }
        const double mean = double(pinsTotal) / kDraws;
        EXPECT_GT(mean, lastMean) << average;
        lastMean = mean;
        if (average == 300) {
            EXPECT_NEAR(double(strikes) / kDraws, 0.90, 0.02);
        }
    }
    int first = 0;
    EXPECT_EQ(GetAIBowlerFrameScore(nullptr, &first, &first), 0);
    EXPECT_EQ(GetAIBowlerFrameScore(p, nullptr, &first), 0);
}

// Skipping puts the ball away unthrown and knocks the drawn pins down the way the scoring sees
// them, front pins first; nothing is skipped once the game is over, twice at once or for a
// player whose turn it is not.
TEST_F(ComputerOnTheLane, SkippingKnocksDownTheDrawnPins)
{
    p->playerData.throwAverage = 150;
    SeedRandom();
    int first = 0, second = 0;
    GetAIBowlerFrameScore(p, &first, &second);
    SeedRandom();
    ASSERT_EQ(SkipAIBowler(p), 1);
    EXPECT_EQ(gSkipAI, 0);
    EXPECT_EQ(bowlingBall->team, 0);
    EXPECT_EQ(bowlingBall->visible, 0);
    int down = 0;
    for (int pin = kFirstPin; pin <= kLastPin; ++pin) {
        if (!PinKnockedDown(pin)) continue;
        ++down;
        EXPECT_EQ(down, pin) << "knocked down in order from the head pin";
        EXPECT_TRUE(pinActors[pin - 1]->visible) << "left for the scoring to count";
    }
    EXPECT_GE(down, first);

    for (int blocked = 0; blocked < 3; ++blocked) {
        Rebuild();
        gGameOver = blocked == 0;
        gSkipAI = blocked == 1;
        TITLE_PlayerInfoStruct* who = blocked == 2 ? &gPlayerInfo[1] : p;
        EXPECT_EQ(SkipAIBowler(who), 1);
        EXPECT_EQ(StandingMask(), kFullRackMask) << blocked;
        gGameOver = 0;
        gSkipAI = 0;
    }
}

// In a game that scores, a skip runs the frame through the game's own rules with the game
// running: a strike hands the turn on after one ball, an open frame after two, and the tenth
// frame gets the balls its first ones earn before the bowler is finished.
TEST_F(ComputerOnTheLane, SkippedFramesAreScoredByTheGamesRules)
{
    gGameType = kGameStandard;
    p->playerData.throwAverage = 200;
    // Places in the random sequence where the first draw is a strike and where it is an open frame.
    int strikeSeed = -1, openSeed = -1;
    for (int seed = 0; seed < 200 && (strikeSeed < 0 || openSeed < 0); ++seed) {
        Seed(seed);
        int first = 0, second = 0;
        GetAIBowlerFrameScore(p, &first, &second);
        if (first == 10 && strikeSeed < 0) strikeSeed = seed;
        if (first + second < 10 && openSeed < 0) openSeed = seed;
    }
    ASSERT_GE(strikeSeed, 0);
    ASSERT_GE(openSeed, 0);

    struct Case {
        int seed, frame;
        int ballsInFrame;  // balls the frame shows
        int finished;      // the bowler's game is over
    };
    const Case cases[] = {{strikeSeed, 0, 1, 0}, {openSeed, 0, 2, 0}, {strikeSeed, 9, 3, 1}, {openSeed, 9, 2, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.seed) + " in frame " + std::to_string(c.frame + 1));
        Rebuild();
        for (TITLE_PlayerInfoStruct* who : {&gPlayerInfo[0], &gPlayerInfo[1]}) {
            const PlayerDataTag ratings = who->playerData;
            const BallDataTag ball = who->ballData[0];
            ResetPlayerInfo(who);
            who->playerData = ratings;
            who->ballData[0] = ball;
            who->gameFinished = 0;
        }
        ResetScoring();
        gGameOver = 0;
        gCurrPlayer = 0;
        p->currFrame = c.frame;
        gGamePaused = 1;
        Seed(c.seed);
        int first = 0, second = 0;
        GetAIBowlerFrameScore(p, &first, &second);
        Seed(c.seed);
        ASSERT_EQ(SkipAIBowler(p), 1);

        EXPECT_EQ(gGamePaused, 0) << "the game runs again for the skipped balls";
        EXPECT_EQ(gSkipAI, 0);
        const int* balls = p->framePinCount[c.frame];
        EXPECT_EQ(balls[0], first);
        if (c.ballsInFrame == 2) {
            EXPECT_EQ(balls[1], second);
        }
        for (int b = 0; b < 3; ++b) EXPECT_EQ(balls[b] >= 0, b < c.ballsInFrame) << "ball " << b + 1;
        EXPECT_EQ(p->gameFinished, c.finished);
        EXPECT_EQ(gCurrPlayer, 1) << "the turn passes to the next bowler";
        EXPECT_EQ(gGameOver, 0);
        while (OverlayExists() && OverlayExit()) {
        }
        OverlayResetStack();
    }
}

}  // namespace
