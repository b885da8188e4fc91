// The ball: its table in the game data, the launch of a throw, the speed shown, the set-up of each
// new ball and the aim line, on the lane of the build's game data.
#include "game/ball.h"

#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "content.h"
#include "game/actors.h"
#include "game/areas.h"
#include "game/camera.h"
#include "game/collision.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/records.h"
#include "game/replay.h"
#include "host/host.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "shell/globals.h"
#include "shell/physicsmemory.h"
#include "shell/startup.h"
#include "support/device_heap.h"

namespace {

constexpr float kPound = 0.45359237f;
// Metres per second of the body for each foot per second thrown.
constexpr float kLaunchScale = 0.78f * 24 * 0.016f * 1.5240031f;

// The game data of the build opened as start-up opens it.
class BallGameData : public ::testing::Test {
protected:
    HostOptions saved;
    bool open = false;

    void Open(const std::string& romDir)
    {
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        open = true;
        saved = gHostOptions;
        gHostOptions.romDir = romDir;
        done = 0;
        ASSERT_EQ(FileSystemInit(), 1);
        ASSERT_EQ(InitResources(10000), 1);
    }
    void TearDown() override
    {
        if (!open) return;
        open = false;
        FreeResources();
        FileSystemDispose();
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }
};

TEST_F(BallGameData, EveryBallOfTheTableRollsLikeARealOne)
{
    for (const char* form : {"rom", "rom-split"}) {
        SCOPED_TRACE(form);
        Open(std::string(ZENDROLYX_BUILD_DIR) + "/" + form);
        ASSERT_EQ(OpenResources(), 1);
        const int balls = mkrom::kBallCoverstocks * mkrom::kBallWeights;
        BallDataTag ball{}, previous{};
        for (int index = 0; index < balls; ++index) {
            ball.ballIndex = u8(index);
            ASSERT_EQ(ReadBallProperties(&ball), 1) << index;
            EXPECT_GE(ball.mass, 6 * kPound) << index;
            EXPECT_LE(ball.mass, 16 * kPound) << index;
            EXPECT_FLOAT_EQ(ball.gravity, -19.6f) << "twice the real pull on the doubled lane";
            // A dry lane (0.33) times the ball: about the 0.2 of a real dry lane.
            EXPECT_GT(ball.friction * 0.33f, 0.1f) << index;
            EXPECT_LT(ball.friction * 0.33f, 0.35f) << index;
            if (index % mkrom::kBallWeights) {
                EXPECT_GT(ball.mass, previous.mass) << "heavier along a coverstock";
                EXPECT_EQ(ball.friction, previous.friction);
            } else if (index) {
                EXPECT_GT(ball.friction, previous.friction) << "each coverstock grips more";
            }
            previous = ball;
        }
        ball.ballIndex = u8(balls);
        EXPECT_EQ(ReadBallProperties(&ball), 0) << "no ball past the table";
        EXPECT_EQ(ball.mass, previous.mass);
        TearDown();
    }
}

// A table that says "up" for down is turned round; a row that would make a ball that cannot
// roll (massless, or pushed up) is refused and leaves the ball as it was.
TEST_F(BallGameData, DamagedRowsAreRefused)
{
    std::string pattern = ::testing::TempDir() + "zendrolyx-balls-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::string dir = pattern;
    Open(dir);
    const std::vector<BallProperties> rows = {
        {7.0f, 0.6f, 19.6f}, {0.0f, 0.6f, -19.6f}, {7.0f, -0.1f, -19.6f}, {7.0f, 0.6f, 0.0f}, {NAN, 0.6f, -19.6f}};
    mkrom::Resource table;
    table.id = kBallPropertyTable;
    table.type = 1;
    table.bytes.resize(rows.size() * sizeof(BallProperties));
    std::memcpy(table.bytes.data(), rows.data(), table.bytes.size());
    std::string error;
    ASSERT_TRUE(mkrom::WriteArchive(dir + "/b.rez", 5000, 100, {table}, &error)) << error;
    ASSERT_NE(OpenResourceFile("rom:/b.rez"), nullptr);

    BallDataTag ball{0, 0, 0, 0, 5.0f, 0.5f, -9.8f};
    EXPECT_EQ(ReadBallProperties(&ball), 1);
    EXPECT_EQ(ball.gravity, -19.6f);
    for (int index = 1; index < int(rows.size()); ++index) {
        ball = {u8(index), 0, 0, 0, 5.0f, 0.5f, -9.8f};
        EXPECT_EQ(ReadBallProperties(&ball), 0) << index;
        EXPECT_EQ(ball.mass, 5.0f);
        EXPECT_EQ(ball.gravity, -9.8f);
    }
    TearDown();
    EXPECT_EQ(std::system(("rm -rf '" + dir + "'").c_str()), 0);
}

// The lane with its ball and one bowler, as game set-up leaves it.
class BallOnTheLane : public BallGameData {
protected:
    actor_tag* bowler = nullptr;

    void SetUp() override
    {
        Open(std::string(ZENDROLYX_BUILD_DIR) + "/rom");
        ASSERT_EQ(OpenResources(), 1);
        InstallPhysicsAllocator();
        gCurrPlayer = 0;
        gGameType = 0;
        gGameOptions.oilPattern = 1;
        testOptions.testModeActive = 0;
        areaNum = 0;
        for (int p = 0; p < 2; ++p) {
            ResetPlayerInfo(&gPlayerInfo[p]);
            SetControllerAssignment(p, 0);
            gPlayerInfo[p].ballData[0] = {0, 0, 0, 0, 6.8f + p, 0.75f - 0.3f * p, -19.6f};
        }
        ASSERT_EQ(InitializeActors(kActorPoolSize), 1);
        ASSERT_EQ(CreatePhysicsWorld(), 1);
        ASSERT_EQ(CreateCollisionEnvironment(areaNum), 1);
        ASSERT_EQ(AddBallActor(nullptr), 1);
        ASSERT_EQ(AddActor(0, -264, 0, kActorCharacter, &bowler), 1);
        gPlayerInfo[0].theActor = gPlayerInfo[1].theActor = bowler;
        ASSERT_EQ(StartNewBall(), 1);
    }
    void TearDown() override
    {
        DisposePhysicsWorld();
        DisposeActors();
        DisposeCollisionEnvironment(areaNum);
        btAlignedAllocSetCustom(nullptr, nullptr);
        btAlignedAllocSetCustomAligned(nullptr, nullptr);
        BallGameData::TearDown();
    }
    static btRigidBody* Body() { return physics->m_ballBody; }
    // Throws and lets the ball's handler launch the body.
    static void Launch(float vel, float heading, float rotX, float rotY, float angle)
    {
        SetInitialBallParams(vel, heading, rotX, rotY, angle);
        bowlingBall->team = 1;
        bowlingBall->visible = 1;
        MoveBall(bowlingBall);
    }
};

TEST_F(BallOnTheLane, TheThrowReachesTheBody)
{
    Launch(30.0f, 30.0f, 100.0f, -1200.0f, 0.0f);
    const btVector3 v = Body()->getLinearVelocity(), w = Body()->getAngularVelocity();
    EXPECT_NEAR(v.x(), 15.0f * kLaunchScale, 1e-3f) << "sin 30 degrees of 30 ft/s across the lane";
    EXPECT_NEAR(v.z(), 25.98f * kLaunchScale, 1e-3f);
    EXPECT_NEAR(w.x(), 100.0f * SIMD_RADS_PER_DEG, 1e-4f) << "forward roll";
    EXPECT_NEAR(w.z(), 1200.0f * SIMD_RADS_PER_DEG, 1e-3f) << "side spin, turned into the world's axes";
    EXPECT_NEAR(Body()->getCenterOfMassPosition().z(), 0.0f, 1e-5f) << "from where the actor stood";

    // Lofted at most 45 degrees; a throw aimed down goes down.
    for (float angle : {0.0f, 30.0f, 45.0f, 60.0f, 90.0f, -30.0f}) {
        StartNewBall();
        Launch(30.0f, 0.0f, 0.0f, 0.0f, angle);
        const float expected = std::sin(std::fmin(angle, 45.0f) * SIMD_RADS_PER_DEG) * 30.0f * 0.5f * kLaunchScale;
        EXPECT_NEAR(Body()->getLinearVelocity().y(), expected, 1e-3f) << angle;
    }
}

// The speed readout is not quite the speed thrown: a computer's is off by up to 2.5 either way,
// a person's reads 1.0 to 3.9 low.
TEST_F(BallOnTheLane, TheShownSpeedIsJittered)
{
    for (int computer : {1, 0}) {
        SetControllerAssignment(0, computer);
        float lo = 100, hi = -100;
        for (int i = 0; i < 3000; ++i) {
            SetInitialBallParams(24.0f, 0, 0, 0, 0);
            const float off = GetBallInitialVel() - 24.0f;
            EXPECT_NEAR(off * 10, std::round(off * 10), 1e-3f) << "in tenths";
            lo = std::fmin(lo, off);
            hi = std::fmax(hi, off);
        }
        EXPECT_NEAR(lo, computer ? -2.5f : -3.9f, 1e-4f) << computer;
        EXPECT_NEAR(hi, computer ? 2.5f : -1.0f, 1e-4f) << computer;
        EXPECT_NEAR(bowlingBall->Yvelocity, 24.0f * 0.78f * 24 * 0.016f, 1e-4f) << "the ball goes at the speed thrown";
    }
}

// Each new ball is thrown with the ball of the player whose turn it is, whatever the body had;
// a ball that could not roll is never put on the body.
TEST_F(BallOnTheLane, EachNewBallTakesTheCurrentPlayersBall)
{
    for (int player : {1, 0, 1}) {
        gCurrPlayer = player;
        Body()->setFriction(0.25f);  // what a computer bowler does to the body for its throw
        StartNewBall();
        const BallDataTag& ball = gPlayerInfo[player].ballData[0];
        EXPECT_FLOAT_EQ(1 / Body()->getInvMass(), ball.mass) << player;
        EXPECT_FLOAT_EQ(Body()->getFriction(), ball.friction * frictionMult) << player;
        EXPECT_FLOAT_EQ(Body()->getGravity().y(), ball.gravity) << player;
        btVector3 inertia;
        physics->ballShape->calculateLocalInertia(ball.mass, inertia);
        EXPECT_FLOAT_EQ(1 / Body()->getInvInertiaDiagLocal().x(), inertia.x()) << player;
    }
    gPlayerInfo[0].ballData[0].mass = 0;
    gCurrPlayer = 0;
    StartNewBall();
    EXPECT_FLOAT_EQ(1 / Body()->getInvMass(), gPlayerInfo[1].ballData[0].mass) << "the last good ball stays";
}

// A person's first ball of a frame, or the ball after a strike or spare, is offered where the
// frame's first ball was thrown, kept on the lane; after an open first ball the suggested shot.
TEST_F(BallOnTheLane, ANewBallOffersThePlayersShot)
{
    TITLE_PlayerInfoStruct& p = gPlayerInfo[0];
    p.throw1X = 80.0f;
    p.throw1BallHeading = -3.0f;
    p.turkey = p.sixBagger = 1;
    StartNewBall();
    // The state camera has measured the bowler: without a skeleton the ball sits 12 to the right
    // of it, and the bowler waits out of view while the person places the ball.
    EXPECT_EQ(bowler->deflection, -12.0f);
    EXPECT_EQ(bowler->Xlocation, 33.0f) << "the ball at most 45 out";
    EXPECT_EQ(bowler->logicalX, 33.0f);
    EXPECT_EQ(bowler->Ylocation, -720.0f);
    EXPECT_EQ(gameCameras[0].cameraX, 45.0f) << "the camera over the ball";
    EXPECT_EQ(testOptions.initialBallHeading, -3.0f);
    EXPECT_EQ(p.turkey + p.sixBagger, 0);
    EXPECT_EQ(bowlingBall->team + bowlingBall->visible, 0) << "held and hidden";
    EXPECT_EQ(GetControlState(), kControlPosition);

    gPlayerInfo[0].bumpers = 1;
    p.throw1X = -80.0f;
    StartNewBall();
    EXPECT_EQ(gameCameras[0].cameraX, -35.0f) << "35 with the bumpers up";

    p.currFrameBallIndex = 1;
    p.lastBallResult = 11;
    StartNewBall();
    EXPECT_EQ(testOptions.initialBallHeading, -3.0f) << "after a strike";
    p.lastBallResult = 7;
    StartNewBall();
    EXPECT_NE(testOptions.initialBallHeading, -3.0f) << "the suggested shot for the pins left";
    EXPECT_EQ(gameCameras[0].cameraX, bowlingBall->Xlocation);

    SetControllerAssignment(0, kAssignmentComputer);
    p.currFrameBallIndex = 0;
    testOptions.initialBallHeading = 5.0f;
    StartNewBall();
    EXPECT_EQ(bowler->Xlocation, 0.0f) << "a computer places itself";
    EXPECT_EQ(testOptions.initialBallHeading, 5.0f);
}

// While the shot is placed and aimed the ball sits in the bowler's hand and the aim can only point
// at the pins from where the ball is.
TEST_F(BallOnTheLane, TheAimStaysOnTheLane)
{
    actor_tag* aim = nullptr;
    ASSERT_EQ(AddAimActor(&aim), 1);
    gPlayerInfo[0].playerData.bodyMeshRSID = 953;
    struct Case {
        float ballX;
        int bumpers;
        float asked, allowed;
    };
    for (const Case& c : {Case{0, 0, 12, 10}, Case{0, 0, -12, -10}, Case{30, 0, 8, 10.0f / 3}, Case{30, 0, -12, -10},
                          Case{30, 1, 8, 10.0f / 7}, Case{-30, 0, -8, -10.0f / 3}}) {
        bowler->Xlocation = c.ballX - 12;  // the right hand is 12 to the right
        gPlayerInfo[0].bumpers = c.bumpers;
        testOptions.initialBallHeading = c.asked;
        MoveAimer(aim);
        EXPECT_NEAR(bowlingBall->Xlocation, c.ballX, 1e-4f);
        EXPECT_NEAR(testOptions.initialBallHeading, c.allowed, 1e-4f) << c.ballX << " " << c.asked;
        EXPECT_NEAR(aim->heading, c.allowed + 180, 1e-4f);
        EXPECT_EQ(aim->Xlocation, bowlingBall->Xlocation);
    }
    EXPECT_EQ(bowler->animInfo.animation, 1303);
    EXPECT_EQ(bowler->animInfo.animationFrame, 64.0f) << "held at the release";

    SetControlState(kControlPower);
    testOptions.initialBallHeading = 12;
    MoveAimer(aim);
    EXPECT_EQ(testOptions.initialBallHeading, 12) << "the throw has begun";
}

// The replay puts the ball back on the lane as launched: the next handler follows the body
// rather than throwing it again.
TEST_F(BallOnTheLane, ACollidedBallFollowsItsBody)
{
    SetInitialBallParams(30.0f, 0, 0, 0, 0);
    btTransform at(btQuaternion::getIdentity(), GameToPhysics(5, 700, 8.58f));
    Body()->setCenterOfMassTransform(at);
    Body()->setLinearVelocity(btVector3(0, 0, 1));
    EXPECT_EQ(SetBallCollided(1), 1);
    EXPECT_EQ(bowlingBall->team + bowlingBall->visible, 2);
    MoveBall(bowlingBall);
    EXPECT_NEAR(bowlingBall->Ylocation, 700, 1e-3f);
    EXPECT_EQ(Body()->getLinearVelocity().z(), 1);
    EXPECT_EQ(SetBallCollided(0), 1);
    EXPECT_EQ(bowlingBall->team + bowlingBall->visible, 0);
}

TEST_F(BallOnTheLane, NoBallWithoutAWorld)
{
    ASSERT_EQ(DisposePhysicsWorld(), 1);
    ASSERT_EQ(DisposeActors(), 1);
    ASSERT_EQ(InitializeActors(4), 1);
    EXPECT_EQ(AddBallActor(nullptr), 0);
    EXPECT_EQ(actorList, nullptr) << "nothing left behind";
}

}  // namespace
