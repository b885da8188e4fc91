// Full shots on the lane of the build's game data: a throw fed in by code rolls under the oil,
// hooks, reaches the pins and ends by the end-of-ball rules, frame by frame as the game runs it.
#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "content.h"
#include "game/actors.h"
#include "game/areas.h"
#include "game/ball.h"
#include "game/characters.h"
#include "game/collision.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/pins.h"
#include "game/records.h"
#include "game/replay.h"
#include "host/host.h"
#include "lib/resources.h"
#include "overlays/overlaystack.h"
#include "platform/fileserver.h"
#include "shell/globals.h"
#include "shell/physicsmemory.h"
#include "shell/startup.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

// Balls of the game data: index = coverstock x 8 + weight, 15 lb is weight 6.
constexpr int kPlastic15 = 0 * mkrom::kBallWeights + 6;
constexpr int kReactive15 = 2 * mkrom::kBallWeights + 6;

// 17 mph, a typical league speed. The lane is twice its real size, so the ball must cover it twice
// as fast in metres per second to take a real ball's time: 2 x 7.6 m/s. A throw of v feet per
// second leaves the hand at v x 0.78 x 24 x 0.016 x 1.524 = 0.4566 v m/s, hence v = 33.
constexpr float kLeagueSpeed = 33.0f;
// The spin a bowler with a good hook gives a ball at that speed (degrees per second about the
// lane's axis; negative hooks to the left, as a right-handed bowler's ball does).
constexpr float kHookSpin = -800.0f;

// Where the ball is measured: just short of the head pin (at Y 1440), before it touches it.
constexpr float kBeforePinsY = 1410.0f;
constexpr float kPin3X = 12.0f;
constexpr int kFrameCap = 1200;  // far beyond any ball's end

struct Shot {
    float x;  // release point across the lane
    float heading;
    float spin;
    float vel = kLeagueSpeed;
};

// What a shot did, frame by frame.
struct Outcome {
    int framesToEnd = 0;  // frames until the next ball was set up; 0 if it never was
    int droppedAt = 0;    // the frame after which the ball was below the lane, in the pit
    float xAtPins = NAN;  // the ball's X as it reaches the pins
    int pinsDown = 0;
    int downMask = 0;  // bit k - 1 for pin k
    bool gutterShape = false;
    std::vector<bool> pinsMovingAfter = std::vector<bool>(kFrameCap + 1);  // by frame
};

class ShotOnTheLane : public ::testing::Test {
protected:
    HostOptions saved;
    actor_tag* bowler = nullptr;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(64 << 20), 1);
        saved = gHostOptions;
        done = 0;
        ASSERT_EQ(OpenBuildGameData(), 1);
        InstallPhysicsAllocator();
        // A game type without end-of-ball rules: the pins stay as the ball left them.
        gGameType = 4;
        for (int p = 0; p < 2; ++p) {
            ResetPlayerInfo(&gPlayerInfo[p]);
            SetControllerAssignment(p, 0);
            SetBall(p, kReactive15);
        }
        gGameOptions.oilPattern = 1;
        testOptions.testModeActive = 0;
        areaNum = 0;
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
    }

    static void SetBall(int player, int index)
    {
        gPlayerInfo[player].ballSelected = 0;
        gPlayerInfo[player].ballData[0].ballIndex = u8(index);
        ASSERT_EQ(ReadBallProperties(&gPlayerInfo[player].ballData[0]), 1);
    }
    // The game's set-up of the lane: world, alley, ball, pins, the bowler, the first ball, the
    // bumpers lowered for a game without them.
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
        gPlayerInfo[0].theActor = gPlayerInfo[1].theActor = bowler;
        StartNewBall();
        for (btRigidBody* bumper : {physics->m_bumperLeftBody, physics->m_bumperRightBody}) {
            btTransform t = bumper->getWorldTransform();
            t.getOrigin().setY(kBumperLoweredY);
            bumper->setWorldTransform(t);
        }
    }
    void DisposeLane()
    {
        // The end of a ball shows the score sheet; it goes with the lane, as at a game's end.
        for (int i = 0; i < kOverlayStackDepth && OverlayExists(); ++i) OverlayExit();
        OverlayResetStack();
        DisposePhysicsWorld();
        DisposeActors();
        DisposeCollisionEnvironment(areaNum);
    }

    // The throw as the shot overlays make it: the bowler stands so that the ball leaves the right
    // hand at x; the ball is released and shown.
    void Throw(const Shot& shot)
    {
        float handX = 0;
        RightHandPosition(bowler, &handX, nullptr, nullptr);
        bowler->Xlocation += shot.x - handX;
        RightHandPosition(bowler, &bowlingBall->Xlocation, &bowlingBall->Ylocation, &bowlingBall->Zlocation);
        SetInitialBallParams(shot.vel, shot.heading, 0, shot.spin, 0);
        bowlingBall->team = 1;
        bowlingBall->visible = 1;
    }
    // One game frame: the actors' handlers, then one world step.
    static void Frame()
    {
        RunActorHandlers();
        physics->Move();
    }
    // Frames until the ball has ended (the next ball is held again), with `watch` called after
    // each frame while the ball is out.
    template <class Watch>
    Outcome Bowl(const Shot& shot, Watch watch)
    {
        Outcome run;
        Throw(shot);
        for (int frame = 1; frame <= kFrameCap; ++frame) {
            Frame();
            if (!bowlingBall->team) {
                run.framesToEnd = frame;
                break;
            }
            if (std::isnan(run.xAtPins) && bowlingBall->Ylocation >= kBeforePinsY) run.xAtPins = bowlingBall->Xlocation;
            if (!run.droppedAt && bowlingBall->Zlocation < -4) run.droppedAt = frame;
            run.gutterShape = run.gutterShape || physics->m_ballBody->getCollisionShape() == physics->ballSmallShape;
            run.pinsMovingAfter[frame] = PinsMoving();
            watch(frame);
        }
        for (int pin = kFirstPin; pin <= kLastPin; ++pin) {
            if (PinKnockedDown(pin)) {
                ++run.pinsDown;
                run.downMask |= 1 << (pin - 1);
            }
        }
        return run;
    }
    Outcome Bowl(const Shot& shot)
    {
        return Bowl(shot, [](int) {});
    }
    // A pin the end-of-ball rule counts as moving: in play on the deck, its body awake.
    static bool PinsMoving()
    {
        for (int i = 0; i < kNumPins; ++i)
            if (pinActors[i]->visible && pinActors[i]->Zlocation >= 0 &&
                physics->m_pinBody[i]->getActivationState() != ISLAND_SLEEPING)
                return true;
        return false;
    }
    static btVector3 BallVelocity() { return physics->m_ballBody->getLinearVelocity(); }

    // Once the ball has dropped into the pit, every frame adds 33 ms of waiting; the next ball
    // comes in the first frame that starts with no pin moving, or past 4000 ms of waiting. The
    // held ball's body is not thrown again.
    static void ExpectEndedByTheRules(const Outcome& run)
    {
        ASSERT_GT(run.droppedAt, 0);
        const int end = run.framesToEnd;
        ASSERT_GT(end, run.droppedAt);
        for (int frame = run.droppedAt + 1; frame < end; ++frame)
            EXPECT_TRUE(run.pinsMovingAfter[frame - 1] && (frame - run.droppedAt) * 33 <= 4000) << "frame " << frame;
        EXPECT_TRUE(!run.pinsMovingAfter[end - 1] || (end - run.droppedAt) * 33 > 4000);
        EXPECT_EQ(bowlingBall->visible, 0);
        EXPECT_LT(physics->m_ballBody->getCenterOfMassPosition().y(), 0.0f) << "the held ball stays in the pit";
    }
};

// A right-handed bowler's pocket shot: released right of centre, angled out a little, hooking
// back into the pocket between pins 1 and 3.
const Shot kPocketShot = {12.0f, 2.0f, kHookSpin};

TEST_F(ShotOnTheLane, SkidsOnTheOilRollsOnTheDryBackEndAndEndsByTheRules)
{
    float skidOnOil = 0, rollOnBackEnd = 0;
    const Outcome run = Bowl({0.0f, 0.0f, 0.0f}, [&](int frame) {
        const float y = bowlingBall->Ylocation;
        if (frame > 1 && y < 1512 && bowlingBall->Zlocation > 0) {  // the first frame only launches
            const float at[2] = {bowlingBall->Xlocation, y};
            ASSERT_FLOAT_EQ(physics->m_floorBody->getFriction(), GetLaneFriction(physics, at, 0, frictionMult))
                << "the lane under the ball at Y " << y;
        }
        // Spin over speed: 0 while the ball slides, 1 once it rolls.
        const float roll = physics->m_ballBody->getAngularVelocity().x() * kBallRadius / BallVelocity().z();
        if (y > 400 && y < 500) skidOnOil = roll;
        if (y > 1300 && y < 1400) rollOnBackEnd = roll;
    });
    EXPECT_LT(skidOnOil, 0.2f) << "slides on the oil";
    EXPECT_NEAR(rollOnBackEnd, 1.0f, 0.03f) << "rolls once the lane is dry";
    EXPECT_NEAR(run.xAtPins, 0.0f, 1.0f) << "a straight ball stays straight";
    EXPECT_GE(run.pinsDown, 5);
    ExpectEndedByTheRules(run);
}

// Side spin hooks the ball across the lane, the way the spin turns, and far more where the lane
// is dry than on the oil.
TEST_F(ShotOnTheLane, SideSpinHooksMostOnTheDryBackEnd)
{
    const Outcome straight = Bowl({20.0f, 0.0f, 0.0f});
    DisposeLane();
    BuildLane();
    // Gain in across-the-lane speed over 400 units on the oil and 400 units of the back end.
    float vxBefore[2] = {0, 0}, gain[2] = {0, 0};
    const Outcome left = Bowl({20.0f, 0.0f, kHookSpin}, [&](int) {
        const float y = bowlingBall->Ylocation, vx = BallVelocity().x();
        for (int stretch = 0; stretch < 2; ++stretch) {
            const float from = stretch ? 900.0f : 200.0f;
            if (y < from) vxBefore[stretch] = vx;
            if (y < from + 400) gain[stretch] = vx - vxBefore[stretch];
        }
    });
    DisposeLane();
    BuildLane();
    const Outcome right = Bowl({-20.0f, 0.0f, -kHookSpin});

    EXPECT_NEAR(straight.xAtPins, 20.0f, 0.5f);
    EXPECT_LT(left.xAtPins, straight.xAtPins - 24.0f) << "a foot of real lane to the left, at least";
    EXPECT_NEAR(right.xAtPins, -left.xAtPins, 1.0f) << "the other spin, the mirror image";
    EXPECT_LT(gain[1], 5.0f * gain[0]) << "on the back end " << gain[1] << " m/s, on the oil " << gain[0];
    EXPECT_LT(gain[0], 0.0f);
}

// A right-handed bowler's pocket shot, thrown a little differently each time, carries (nearly)
// all the pins; the same throw always leaves the same pins.
TEST_F(ShotOnTheLane, PocketShotsCarryAndRepeat)
{
    std::mt19937 random(2024);
    std::uniform_real_distribution<float> jitter(-1.0f, 1.0f);
    int good = 0;
    for (int seed = 0; seed < 10; ++seed) {
        Shot shot = kPocketShot;
        shot.x += jitter(random);
        shot.heading += 0.1f * jitter(random);
        shot.vel += 0.5f * jitter(random);
        const Outcome first = Bowl(shot);
        EXPECT_GT(first.xAtPins, 0.0f) << "seed " << seed << ": into the pocket between pins 1 and 3";
        EXPECT_LT(first.xAtPins, kPin3X) << "seed " << seed;
        good += first.pinsDown >= 8;
        if (seed < 2) {
            DisposeLane();
            BuildLane();
            const Outcome again = Bowl(shot);
            EXPECT_EQ(again.downMask, first.downMask) << "seed " << seed;
            EXPECT_EQ(again.framesToEnd, first.framesToEnd) << "seed " << seed;
        }
        DisposeLane();
        BuildLane();
    }
    EXPECT_GE(good, 8) << "of 10 pocket shots knocked down 8 pins or more";
}

// A ball that leaves the lane takes its smaller gutter shape, runs down the gutter past the pins
// and the bumpers lose their grip; the untouched pins are long still, so the next ball comes as
// soon as the ball drops. It is a whole ball again, and the bumpers grip.
TEST_F(ShotOnTheLane, GutterBallsKnockNothing)
{
    for (float side : {1.0f, -1.0f}) {
        SCOPED_TRACE(side);
        bool bumpersSlippery = false;
        const Outcome run = Bowl({30.0f * side, 3.0f * side, 0.0f}, [&](int) {
            if (physics->m_ballBody->getCollisionShape() == physics->ballSmallShape)
                bumpersSlippery =
                    physics->m_bumperLeftBody->getFriction() == 0 && physics->m_bumperRightBody->getFriction() == 0;
        });
        EXPECT_TRUE(run.gutterShape);
        EXPECT_TRUE(bumpersSlippery);
        EXPECT_EQ(run.pinsDown, 0);
        ExpectEndedByTheRules(run);
        EXPECT_EQ(run.framesToEnd, run.droppedAt + 1);
        EXPECT_EQ(physics->m_ballBody->getCollisionShape(), physics->ballShape);
        EXPECT_GT(physics->m_bumperLeftBody->getFriction(), 0.0f);
    }
}

// A ball that stops on the lane ends 15 s after its release all the same; the pins then get up to
// 4000 ms (8000 in the spares challenge) to come to rest. Only pins in play on the deck hold the
// game up, not one that is hidden or has fallen into the pit. A replay that is running is ended
// instead of scoring the ball.
TEST_F(ShotOnTheLane, ABallThatStopsOnTheLaneEndsAfter15Seconds)
{
    struct Case {
        int gameType;
        bool restlessPin, hidden, inPit, replay;
        int endMs;
    };
    for (const Case& c : {Case{0, false, false, false, true, 15000}, Case{0, true, false, false, false, 19000},
                          Case{9, true, false, false, false, 23000}, Case{0, true, true, false, false, 15000},
                          Case{0, true, false, true, false, 15000}}) {
        SCOPED_TRACE(testing::Message() << c.gameType << c.restlessPin << c.hidden << c.inPit);
        DisposeLane();
        BuildLane();
        gGameType = c.gameType;
        SetReplayActive(c.replay);
        btRigidBody* pin5 = physics->m_pinBody[4];
        if (c.restlessPin) pin5->setActivationState(DISABLE_DEACTIVATION);
        if (c.hidden) pinActors[4]->visible = 0;
        if (c.inPit) pin5->setCenterOfMassTransform(btTransform(btQuaternion::getIdentity(), btVector3(0, -1, 38)));
        const Outcome run = Bowl({0.0f, 0.0f, 0.0f, 0.0f});
        EXPECT_EQ(run.droppedAt, 0) << "stayed on the lane";
        const int ms = (run.framesToEnd - 1) * 33;  // from the release
        EXPECT_GT(ms, c.endMs);
        EXPECT_LE(ms, c.endMs + 66);
        EXPECT_FALSE(IsReplayActive());
    }
}

// Every throw is made with the ball of the bowler whose turn it is: the second bowler's plastic
// ball, thrown the same way, hooks less than the first bowler's reactive one.
TEST_F(ShotOnTheLane, EachThrowUsesItsBowlersBall)
{
    SetBall(1, kPlastic15);
    const Outcome reactive = Bowl({20.0f, 0.0f, kHookSpin});
    gCurrPlayer = 1;  // the turn passes
    StartNewBall();
    for (int pin = kFirstPin; pin <= kLastPin; ++pin) ASSERT_EQ(ResetPinActor(pin), 1);
    const Outcome plastic = Bowl({20.0f, 0.0f, kHookSpin});
    EXPECT_GT(plastic.xAtPins, reactive.xAtPins + 8.0f) << "the plastic ball hooks less";
}

// The world goes before the actors at the end of a game: the ball's handlers must not reach into
// it any more.
TEST_F(ShotOnTheLane, NothingMovesTheBodiesOfADisposedWorld)
{
    Throw({0.0f, 0.0f, kHookSpin});
    for (int frame = 0; frame < 20; ++frame) Frame();
    const float y = bowlingBall->Ylocation;
    ASSERT_EQ(DisposePhysicsWorld(), 1);
    for (int frame = 0; frame < 30; ++frame) RunActorHandlers();
    EXPECT_EQ(bowlingBall->Ylocation, y);
    for (int frame = 0; frame < 600; ++frame) RunActorHandlers();
    EXPECT_EQ(bowlingBall->team, 0) << "ended after 15 s all the same";
    EXPECT_EQ(SetBallCollided(1), 1);
    EXPECT_EQ(MoveBall(bowlingBall), 1);
    EXPECT_EQ(StartNewBall(), 1);
}

}  // namespace
