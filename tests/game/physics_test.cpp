#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "game/collision.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/records.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "shell/globals.h"
#include "shell/physicsmemory.h"
#include "shell/startup.h"
#include "support/device_heap.h"

namespace {

const float kG = 9.8f;
// Pin spots in feet, pin 1 first.
const float kPinX[10] = {0, -0.5f, 0.5f, -1, 0, 1, -1.5f, -0.5f, 0.5f, 1.5f};
const float kPinY[10] = {60, 60.866f, 60.866f, 61.732f, 61.732f, 61.732f, 62.598f, 62.598f, 62.598f, 62.598f};

// Allocation hooks that refuse blocks of one size (0: refuse all), to make one kind of object fail.
size_t gRefusedSize = ~size_t(0);
void* RefusingAlloc(size_t size, int alignment)
{
    if (gRefusedSize == 0 || size == gRefusedSize) return nullptr;
    return BulletMemAllocAligned(unsigned(size), alignment);
}
void RefuseBlocks(size_t size)
{
    gRefusedSize = size;
    btAlignedAllocSetCustomAligned(RefusingAlloc, BulletMemFree);
}

class PhysicsTest : public ::testing::Test {
protected:
    HostOptions savedHost = gHostOptions;
    TITLE_PlayerInfoStruct savedPlayer = gPlayerInfo[0];
    TITLE_GameOptionsStruct savedOptions = gGameOptions;
    bool gameData = false;
    std::vector<actor_tag> actors = std::vector<actor_tag>(kNumPins + 1);  // the pins, then the ball
    actor_tag& ballActor = actors[kNumPins];
    struct Sample {
        btVector3 position, velocity, spin;
    };
    std::vector<Sample> ballTrack;  // the ball after every substep of 1/60 s

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(48 << 20), 1);
        InstallPhysicsAllocator();
        gCurrPlayer = 0;
        gPlayerInfo[0].ballSelected = 1;
        gPlayerInfo[0].ballData[1] = BallDataTag{0, 0, 0, 0, 7.0f, 1.0f, -kG};
        gGameOptions.oilPattern = 4;
        ballActor.Zlocation = kBallRadius * kUnitsPerMetre;
    }
    void TearDown() override
    {
        DisposePhysicsWorld();
        if (gameData) {
            DisposeCollisionEnvironment(0);
            FreeResources();
            FileSystemDispose();
        }
        btAlignedAllocSetCustom(nullptr, nullptr);
        btAlignedAllocSetCustomAligned(nullptr, nullptr);
        ReleaseDeviceHeap();
        gHostOptions = savedHost;
        gPlayerInfo[0] = savedPlayer;
        gGameOptions = savedOptions;
        SetPhysicsUpdateRateOffset(0);
        frictionMult = 1.0f;
    }

    // The first alley's collision models from the build's game data.
    void OpenGameData()
    {
        gHostOptions.romDir = std::string(ZENDROLYX_BUILD_DIR) + "/rom";
        done = 0;
        ASSERT_EQ(FileSystemInit(), 1);
        ASSERT_EQ(InitResources(10000), 1);
        ASSERT_EQ(OpenResources(), 1);
        ASSERT_EQ(CreateCollisionEnvironment(0), 1);
        gameData = true;
    }
    // The whole lane as the game makes it, with the ball at the foul line.
    void BuildLane()
    {
        if (!gameData) {
            ASSERT_NO_FATAL_FAILURE(OpenGameData());
        }
        ASSERT_EQ(CreatePhysicsWorld(), 1);
        ASSERT_EQ(physics->AddFloorCollision(), 1);
        ASSERT_EQ(physics->AddGutterCollision(0), 1);
        ASSERT_EQ(physics->AddBumperCollision(), 1);
        ASSERT_EQ(physics->AddWallCollision(), 1);
        ASSERT_EQ(physics->AddBallCollision(&ballActor), 1);
        physics->m_dynamicsWorld->setInternalTickCallback(
            [](btDynamicsWorld* w, btScalar) {
                const btRigidBody* ball = physics->m_ballBody;
                static_cast<PhysicsTest*>(w->getWorldUserInfo())
                    ->ballTrack.push_back(
                        {ball->getCenterOfMassPosition(), ball->getLinearVelocity(), ball->getAngularVelocity()});
            },
            this);
    }
    void BuildRack()
    {
        for (int n = 0; n < kNumPins; ++n) {
            actor_tag& pin = actors[n];
            pin.team = u8(n);
            pin.Xlocation = kPinX[n] * 24;
            pin.Ylocation = kPinY[n] * 24;
            pin.Zlocation = kPinStandingZ;
            ASSERT_EQ(physics->AddPinCollision(&pin), 1);
        }
    }
    static void Throw(btRigidBody* body, const btVector3& origin, const btVector3& velocity,
                      const btVector3& spin = btVector3(0, 0, 0), const btQuaternion& turn = btQuaternion::getIdentity())
    {
        btTransform t(turn, origin);
        body->setWorldTransform(t);
        body->getMotionState()->setWorldTransform(t);
        body->setLinearVelocity(velocity);
        body->setAngularVelocity(spin);
        body->activate(true);
    }
    static void Frames(int n)
    {
        for (int i = 0; i < n; ++i) physics->Move();
    }
    static int CountBodiesWithShape(const btCollisionShape* shape)
    {
        int count = 0;
        for (int i = 0; i < physics->m_dynamicsWorld->getNumCollisionObjects(); ++i)
            count += physics->m_dynamicsWorld->getCollisionObjectArray()[i]->getCollisionShape() == shape;
        return count;
    }
};

// ---- The world and its bodies ----

TEST_F(PhysicsTest, WorldLivesInTheGameHeapAndGivesEverythingBack)
{
    ASSERT_NO_FATAL_FAILURE(OpenGameData());
    const unsigned before = deviceHeap.memoryUsed;
    ASSERT_NO_FATAL_FAILURE(BuildLane());
    ASSERT_NO_FATAL_FAILURE(BuildRack());
    EXPECT_EQ(physics->oilPatternNum, 4);
    EXPECT_EQ(physics->m_dynamicsWorld->getDebugDrawer(), &gDebugDraw);
    EXPECT_EQ(physics->m_dynamicsWorld->getGravity(), btVector3(0, WORLD_GRAVITY, 0));
    EXPECT_EQ(physics->m_dynamicsWorld->getNumCollisionObjects(), 2 + 2 + 2 + 3 + 1 + kNumPins);
    Frames(34);
    EXPECT_GT(deviceHeap.memoryUsed, before);
    EXPECT_EQ(DisposePhysicsWorld(), 1);
    EXPECT_EQ(physics, nullptr);
    EXPECT_EQ(deviceHeap.memoryUsed, before) << "every block of the world went back";
}

TEST_F(PhysicsTest, RebuiltPinsWallsBumpersAndTheBallShape)
{
    ASSERT_NO_FATAL_FAILURE(BuildLane());
    ASSERT_NO_FATAL_FAILURE(BuildRack());
    const int objects = physics->m_dynamicsWorld->getNumCollisionObjects();

    // A pin stood up again keeps exactly one body, on a new compound.
    ASSERT_EQ(physics->AddPinCollision(&actors[3]), 1);
    EXPECT_EQ(physics->m_dynamicsWorld->getNumCollisionObjects(), objects);
    EXPECT_EQ(CountBodiesWithShape(physics->pinCompoundShape[3]), 1);
    EXPECT_EQ(physics->m_pinBody[3]->getCollisionShape(), physics->pinCompoundShape[3]);

    // Walls and bumpers keep their plates and add bodies.
    btBoxShape* wall = physics->wallShape;
    btBoxShape* bumper = physics->bumperShape;
    ASSERT_EQ(physics->AddWallCollision(), 1);
    ASSERT_EQ(physics->AddBumperCollision(), 1);
    EXPECT_EQ(physics->wallShape, wall);
    EXPECT_EQ(physics->bumperShape, bumper);
    EXPECT_EQ(CountBodiesWithShape(wall), 6);
    EXPECT_EQ(CountBodiesWithShape(bumper), 4);

    // Into the gutter and back.
    auto radius = [] { return static_cast<btSphereShape*>(physics->m_ballBody->getCollisionShape())->getRadius(); };
    ASSERT_EQ(physics->SetBallCollisionShape(&ballActor, 1), 1);
    EXPECT_FLOAT_EQ(radius(), kBallSmallRadius);
    ASSERT_EQ(physics->SetBallCollisionShape(&ballActor, 0), 1);
    EXPECT_FLOAT_EQ(radius(), kBallRadius);

    // Bad actors make nothing.
    actor_tag stray = actors[0];
    stray.team = kNumPins;
    EXPECT_EQ(physics->AddPinCollision(&stray), 0);
    EXPECT_EQ(physics->AddPinCollision(nullptr), 0);
    gPlayerInfo[0].ballData[1].mass = 0;
    EXPECT_EQ(physics->AddBallCollision(&ballActor), 0);
    EXPECT_EQ(physics->AddGutterCollision(kNumCollisionEnvironments), 0);
    EXPECT_EQ(physics->m_dynamicsWorld->getNumCollisionObjects(), objects + 5);
}

TEST_F(PhysicsTest, GuttersAndBumpersLineTheLane)
{
    ASSERT_NO_FATAL_FAILURE(BuildLane());
    // The left gutter's trough in metres, from its model in feet with z up.
    const CollisionModelInfo* model = collisionEnviroments[0].items[kCollisionLeftGutterItem].info;
    EXPECT_EQ(physics->leftGutterTrimesh->getNumTriangles(), model->numFaces);
    btVector3 lo, hi;
    physics->m_gutterLeftBody->getAabb(lo, hi);
    EXPECT_NEAR(hi.x(), -1.0922022f, 0.001f);  // from the lane bed's edge
    EXPECT_LT(lo.y(), -0.05f);                  // down into the trough
    EXPECT_NEAR(hi.z(), 63 * 24 * kMetresPerUnit, 0.001f);
    btTriangleMesh* mesh = physics->leftGutterTrimesh;
    EXPECT_EQ(physics->AddGutterCollision(0), 1);
    EXPECT_EQ(physics->leftGutterTrimesh, mesh) << "made once";
    EXPECT_EQ(physics->AddGutterCollision(1), 0) << "alley 1 is not loaded";

    // Lowered, the bumpers sink under the gutters where they stand; their faces stay on the edges.
    ASSERT_EQ(physics->SetBumpersRaised(0), 1);
    physics->m_bumperRightBody->getAabb(lo, hi);
    EXPECT_FLOAT_EQ(physics->m_bumperRightBody->getWorldTransform().getOrigin().y(), kBumperLoweredY);
    EXPECT_NEAR(lo.x(), 1.0922022f, 1e-5f);
    EXPECT_LT(hi.y(), -0.2f);
    ASSERT_EQ(physics->SetBumpersRaised(1), 1);
    physics->m_bumperLeftBody->getAabb(lo, hi);
    EXPECT_NEAR(hi.x(), -1.0922022f, 1e-5f);
    EXPECT_NEAR(hi.y(), kBumperRaisedY + 0.224f, 1e-5f);
}

TEST_F(PhysicsTest, EachMoveAdvancesTheWorldByOneThirtyFourthOfASecond)
{
    ASSERT_NO_FATAL_FAILURE(BuildLane());
    btRigidBody* ball = physics->m_ballBody;
    // Falling freely far above the lane, the ball's speed tells the time.
    Throw(ball, btVector3(0, 1000, 0), btVector3(0, 0, 0));
    Frames(340);
    EXPECT_NEAR(ball->getLinearVelocity().y(), -kG * 10.0f, kG / 60.0f * 1.01f);
    EXPECT_NEAR(double(ballTrack.size()), 600, 1);

    physics->m_idle = true;
    const btVector3 held = ball->getLinearVelocity();
    Frames(34);
    EXPECT_EQ(ball->getLinearVelocity(), held);
    physics->m_idle = false;

    // An offset of 26 makes each frame one substep; steps of no time or negative time are refused.
    SetPhysicsUpdateRateOffset(26);
    SetPhysicsUpdateRateOffset(-34);
    SetPhysicsUpdateRateOffset(NAN);
    EXPECT_EQ(GetPhysicsUpdateRateOffset(), 26);
    const size_t substeps = ballTrack.size();
    Frames(60);
    EXPECT_EQ(ballTrack.size() - substeps, 60u);
}

TEST_F(PhysicsTest, FloorFrictionFollowsTheOilUnderTheBall)
{
    ASSERT_EQ(CreatePhysicsWorld(), 1);
    const float onOil[2] = {0, 240}, pastOil[2] = {0, 47 * 24};
    EXPECT_EQ(physics->SetFloorFriction(onOil, 0), 0) << "no lane bed yet";
    ASSERT_EQ(physics->AddFloorCollision(), 1);
    frictionMult = 2.0f;
    EXPECT_EQ(physics->SetFloorFriction(onOil, 0), 1);
    EXPECT_FLOAT_EQ(physics->m_floorBody->getFriction(), GetLaneFriction(physics, onOil, 0, 2.0f));
    EXPECT_LT(physics->m_floorBody->getFriction(), kDryLaneFriction);
    physics->SetFloorFriction(onOil, 1);
    EXPECT_NEAR(physics->m_floorBody->getFriction(), 0.117f, 1e-5f);
    physics->SetFloorFriction(pastOil, 0);
    EXPECT_FLOAT_EQ(physics->m_floorBody->getFriction(), kDryLaneFriction * 2.0f);
    frictionMult = 1.0f;
}

TEST_F(PhysicsTest, LibraryWarningsArePrintedAsTheyAre)
{
    testing::internal::CaptureStdout();
    gDebugDraw.reportErrorWarning("100% %s %n\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "100% %s %n\n");
}

// ---- Tear-down and failures ----

TEST_F(PhysicsTest, ExitPhysicsLeavesNothingToReach)
{
    ASSERT_NO_FATAL_FAILURE(OpenGameData());
    const unsigned before = deviceHeap.memoryUsed;
    ASSERT_EQ(CreatePhysicsWorld(), 1);
    const unsigned emptyWorld = deviceHeap.memoryUsed;
    ASSERT_EQ(physics->initPhysics(), 1);
    EXPECT_EQ(deviceHeap.memoryUsed, emptyWorld) << "a second start leaves nothing behind";
    physics->exitPhysics();  // nothing in it yet
    EXPECT_EQ(physics->floorOilShape, nullptr);
    EXPECT_EQ(physics->ballShape, nullptr);
    EXPECT_EQ(physics->pinSphereShape3, nullptr);
    EXPECT_EQ(physics->m_dynamicsWorld, nullptr);
    EXPECT_EQ(physics->m_collisionConfiguration, nullptr);
    EXPECT_LT(deviceHeap.memoryUsed, emptyWorld);

    ASSERT_EQ(DisposePhysicsWorld(), 1);
    ASSERT_NO_FATAL_FAILURE(BuildLane());
    ASSERT_NO_FATAL_FAILURE(BuildRack());
    physics->exitPhysics();
    EXPECT_EQ(physics->m_ballBody, nullptr);
    EXPECT_EQ(physics->m_floorBody, nullptr);
    EXPECT_EQ(physics->m_pinBody[9], nullptr);
    EXPECT_EQ(physics->m_bumperLeftBody, nullptr);
    // Whatever still runs after it finds nothing to move.
    physics->Move();
    physics->exitPhysics();
    const float where[2] = {0, 0};
    EXPECT_EQ(physics->SetFloorFriction(where, 0), 0);
    EXPECT_EQ(physics->SetBallCollisionShape(&ballActor, 1), 0);
    EXPECT_EQ(physics->AddPinCollision(&actors[0]), 0);
    EXPECT_EQ(physics->AddFloorCollision(), 0);
    EXPECT_EQ(DisposePhysicsWorld(), 1);
    EXPECT_EQ(DisposePhysicsWorld(), 1);
    EXPECT_EQ(deviceHeap.memoryUsed, before);
}

TEST_F(PhysicsTest, FailedAllocationsLeaveNullsNotCrashes)
{
    const unsigned before = deviceHeap.memoryUsed;
    RefuseBlocks(0);
    EXPECT_EQ(CreatePhysicsWorld(), 0);
    EXPECT_EQ(physics, nullptr);
    EXPECT_EQ(deviceHeap.memoryUsed, before);

    InstallPhysicsAllocator();
    ASSERT_EQ(CreatePhysicsWorld(), 1);
    RefuseBlocks(sizeof(btRigidBody));
    EXPECT_EQ(physics->AddFloorCollision(), 0);
    EXPECT_EQ(physics->m_floorBody, nullptr);
    EXPECT_EQ(physics->AddBallCollision(&ballActor), 0);
    EXPECT_EQ(physics->AddPinCollision(&actors[0]), 0);
    EXPECT_EQ(physics->m_pinBody[0], nullptr);
    RefuseBlocks(sizeof(btBoxShape));
    EXPECT_EQ(physics->AddWallCollision(), 0);
    EXPECT_EQ(physics->wallShape, nullptr);
    EXPECT_EQ(physics->m_dynamicsWorld->getNumCollisionObjects(), 0);
    physics->Move();
    EXPECT_EQ(physics->SetBallCollisionShape(&ballActor, 1), 0);
    InstallPhysicsAllocator();
    EXPECT_EQ(DisposePhysicsWorld(), 1);
    EXPECT_EQ(deviceHeap.memoryUsed, before);
}

// ---- Motion on the lane ----

// Bullet multiplies the two bodies' frictions, so the lane's mu is the ball's 0.5 times the bed's.
TEST_F(PhysicsTest, SlidingBallSkidsThenRollsAtFiveSeventhsOfItsSpeed)
{
    gPlayerInfo[0].ballData[1].friction = 0.5f;
    ASSERT_NO_FATAL_FAILURE(BuildLane());
    const float mu = 0.2f, v0 = 8.0f, r = kBallRadius;
    physics->m_floorBody->setFriction(mu / 0.5f);
    Throw(physics->m_ballBody, btVector3(0, r, 1), btVector3(0, 0, v0));
    Frames(34 * 4);

    // Sample i is taken at (i + 1) / 60 s.
    const float skidTime = 2 * v0 / (7 * mu * kG);
    size_t rolling = 0;
    float maxX = 0, maxVX = 0;
    for (const Sample& s : ballTrack) {
        maxX = std::fmax(maxX, std::fabs(s.position.x()));
        maxVX = std::fmax(maxVX, std::fabs(s.velocity.x()));
        if (s.velocity.z() - s.spin.x() * r > 0.01f) ++rolling;
    }
    EXPECT_LT(maxX, 0.001f) << "a straight ball stays on its line";
    EXPECT_LT(maxVX, 0.001f);
    // While it skids it loses mu g of speed each second...
    const size_t a = 10, b = size_t(skidTime * 60) - 10;
    EXPECT_NEAR((ballTrack[a].velocity.z() - ballTrack[b].velocity.z()) / ((b - a) / 60.0f), mu * kG, 0.01f * mu * kG);
    // ...until it rolls, at five sevenths of the launch speed, 12 v0^2 / (49 mu g) down the lane.
    EXPECT_NEAR(rolling / 60.0f, skidTime, 2.0f / 60.0f);
    EXPECT_NEAR(ballTrack[rolling].velocity.z(), v0 * 5 / 7, 0.005f * v0);
    EXPECT_NEAR(ballTrack[rolling].position.z() - 1, 12 * v0 * v0 / (49 * mu * kG), 0.02f);
    // Rolling costs nothing.
    for (size_t i = rolling; i < ballTrack.size(); ++i)
        ASSERT_NEAR(ballTrack[i].velocity.z(), ballTrack[rolling].velocity.z(), 0.002f * v0) << i;
}

TEST_F(PhysicsTest, UntouchedRackStandsAndSleepsThroughAWholeBall)
{
    ASSERT_NO_FATAL_FAILURE(BuildLane());
    ASSERT_NO_FATAL_FAILURE(BuildRack());
    Frames(15 * 34);
    for (int n = 0; n < kNumPins; ++n) {
        SCOPED_TRACE(n + 1);
        const btRigidBody* pin = physics->m_pinBody[n];
        const btVector3 spot = GameToPhysics(kPinX[n] * 24, kPinY[n] * 24, kPinStandingZ);
        // A standing pin settles on its base and creeps a few millimetres before it sleeps.
        EXPECT_LT(pin->getCenterOfMassPosition().distance(spot), 0.005f);
        EXPECT_GT(pin->getWorldTransform().getBasis().getColumn(1).y(), std::cos(0.5f * SIMD_RADS_PER_DEG));
        EXPECT_EQ(pin->getActivationState(), ISLAND_SLEEPING);
    }
}

// A shot into the rack: its bodies' poses and speeds after 8 s.
std::vector<float> ShotResult()
{
    std::vector<float> out;
    for (int i = 0; i < physics->m_dynamicsWorld->getNumCollisionObjects(); ++i) {
        const btRigidBody* body = btRigidBody::upcast(physics->m_dynamicsWorld->getCollisionObjectArray()[i]);
        const btTransform& t = body->getWorldTransform();
        for (int k = 0; k < 3; ++k)
            out.insert(out.end(), {t.getOrigin()[k], t.getBasis()[k][0], t.getBasis()[k][1], t.getBasis()[k][2],
                                   body->getLinearVelocity()[k], body->getAngularVelocity()[k]});
    }
    return out;
}

TEST_F(PhysicsTest, TheSameShotGivesTheSameResultToTheBit)
{
    std::vector<float> first;
    for (int run = 0; run < 2; ++run) {
        ASSERT_NO_FATAL_FAILURE(BuildLane());
        ASSERT_NO_FATAL_FAILURE(BuildRack());
        Throw(physics->m_ballBody, btVector3(0.05f, kBallRadius, 0.5f), btVector3(0, 0, 11), btVector3(20, 0, 1));
        Frames(8 * 34);
        if (run == 0) {
            first = ShotResult();
            EXPECT_GT(physics->m_pinBody[0]->getCenterOfMassPosition().distance(
                          GameToPhysics(0, kPinY[0] * 24, kPinStandingZ)), 0.1f) << "the head pin was hit";
            DisposePhysicsWorld();
            DisposeCollisionEnvironment(0);
            FreeResources();
            FileSystemDispose();
            gameData = false;
        }
    }
    const std::vector<float> second = ShotResult();
    ASSERT_EQ(first.size(), second.size());
    EXPECT_EQ(std::memcmp(first.data(), second.data(), first.size() * sizeof(float)), 0);
}

// Distance of a point from the back wall's face, negative on the lane's side: the face leans back
// 12 degrees through (0, 0, 40.1144).
float BackWallSide(const btVector3& p)
{
    btQuaternion lean;
    lean.setEuler(0, -12 * SIMD_RADS_PER_DEG, 0);
    return (btTransform(lean, btVector3(0, 0, 40.1144f)).inverse() * p).z();
}

// The ball never gets its centre past a bumper or wall, however fast; a pin may sink into one for a
// substep but always comes back out on the lane's side.
TEST_F(PhysicsTest, FastBallsAndPinsNeverPassTheBumpersOrWalls)
{
    ASSERT_NO_FATAL_FAILURE(BuildLane());
    ASSERT_NO_FATAL_FAILURE(BuildRack());
    struct Shot {
        bool pin;
        btVector3 from, velocity;
        float faceX;  // the bumper's or side wall's face; 0: the back wall
    };
    const float r = kBallRadius, bumper = 1.0922022f;
    const Shot shots[] = {
        {false, btVector3(0, r, 5), btVector3(40, 0, 10), bumper},
        {false, btVector3(0, r, 5), btVector3(-40, 0, 10), -bumper},
        {false, btVector3(0, 1, 20), btVector3(60, 0, 0), 1.55f},  // over the bumper
        {false, btVector3(0, 1, 20), btVector3(-60, 0, 0), -1.6f},
        {false, btVector3(0, 1.5f, 30), btVector3(0, 0, 60), 0},  // over the rack
        {true, btVector3(0, 1.5f, 37), btVector3(25, 0, 0), 1.55f},
        {true, btVector3(0, 1.5f, 37), btVector3(-25, 0, 0), -1.6f},
        {true, btVector3(0, 1.5f, 37), btVector3(0, 0, 25), 0},
        {true, btVector3(0, 0.14f, 30), btVector3(14, 0, 0), bumper},  // lying, belly first
        {true, btVector3(0, 0.14f, 30), btVector3(-14, 0, 0), -bumper},
    };
    for (const Shot& s : shots) {
        SCOPED_TRACE(testing::Message() << (s.pin ? "pin " : "ball ") << s.velocity.x() << " " << s.velocity.z());
        btRigidBody* body = s.pin ? physics->m_pinBody[0] : physics->m_ballBody;
        Throw(body, s.from, s.velocity, btVector3(0, 0, 0),
              s.from.y() < 0.5f ? btQuaternion(btVector3(1, 0, 0), SIMD_HALF_PI) : btQuaternion::getIdentity());
        // Depth of the body's centre past the face.
        auto depth = [&] {
            const btVector3 p = body->getCenterOfMassPosition();
            return s.faceX != 0 ? (p.x() - s.faceX) * (s.faceX > 0 ? 1 : -1) : BackWallSide(p);
        };
        float deepest = -1e9f;
        for (int frame = 0; frame < 68; ++frame) {
            physics->Move();
            deepest = std::fmax(deepest, depth());
            if (!s.pin) {
                ASSERT_LT(depth(), 0.0f) << "through the face at frame " << frame;
            }
        }
        EXPECT_GT(deepest, s.pin ? -0.15f : -0.25f) << "it reached the face";
        EXPECT_LT(depth(), 0.0f) << "it ended on the lane's side";
        Throw(body, btVector3(5, -50, 0), btVector3(0, 0, 0));  // out of the way of the next shot
    }
}

}  // namespace
