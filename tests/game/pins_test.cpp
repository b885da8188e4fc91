#include "game/pins.h"

#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "game/actors.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/records.h"
#include "shell/physicsmemory.h"
#include "support/device_heap.h"

namespace {

constexpr int kFramesPerSecond = 34;  // each Move advances the world 1/34 s
constexpr float kSpotTolerance = 0.5f;  // world units (about 1/4 inch of the real lane)

btVector3 SpotOf(int pin) { return GameToPhysics(PIN_X[pin - 1] * 24.0f, PIN_Y[pin - 1] * 24.0f, kPinStandingZ); }

// A lane bed with the ten pins' world and actors around it.
class PinWorld : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        InstallPhysicsAllocator();
        std::memset(pins, 0, sizeof(pins));
        std::memcpy(savedPlayers, gPlayerInfo, sizeof(gPlayerInfo));
        gCurrPlayer = 0;
        gPlayerInfo[0].leftHanded = 0;
        gPlayerInfo[0].laneNum = 1;
        ASSERT_EQ(InitializeActors(kActorPoolSize), 1);
        ASSERT_EQ(CreatePhysicsWorld(), 1);
        ASSERT_EQ(physics->AddFloorCollision(), 1);
        laneBodies = RigidBodiesInWorld();
    }
    void TearDown() override
    {
        DisposePhysicsWorld();
        DisposeActors();
        std::memset(pins, 0, sizeof(pins));
        std::memcpy(gPlayerInfo, savedPlayers, sizeof(gPlayerInfo));
        gCurrPlayer = 0;
        // Give the library its own allocator back before the heap goes away.
        btAlignedAllocSetCustom(nullptr, nullptr);
        btAlignedAllocSetCustomAligned(nullptr, nullptr);
        ReleaseDeviceHeap();
    }

    void AddRack()
    {
        for (int pin = kFirstPin; pin <= kLastPin; ++pin) ASSERT_EQ(AddPinActor(pin, &pinActors[pin - 1]), 1);
    }
    // Game frames as the game loop runs them: the actors' handlers, then one world step.
    static void RunFrames(int frames)
    {
        for (int i = 0; i < frames; ++i) {
            RunActorHandlers();
            physics->Move();
        }
    }
    static btRigidBody* Body(int pin) { return physics->m_pinBody[pin - 1]; }
    // Puts pin's body at its spot turned by `degrees` about the world axis (x, y, z), at rest, and
    // lets the pin's handler read it.
    static void Pose(int pin, float x, float y, float z, float degrees)
    {
        btTransform t(btQuaternion(btVector3(x, y, z), degrees * SIMD_RADS_PER_DEG), SpotOf(pin));
        Body(pin)->setCenterOfMassTransform(t);
        Body(pin)->setLinearVelocity(btVector3(0, 0, 0));
        Body(pin)->setAngularVelocity(btVector3(0, 0, 0));
        MovePin(pins[pin].theActor);
    }
    // Rigid bodies in the world, and whether `body` is one of them.
    static int RigidBodiesInWorld()
    {
        int count = 0;
        const btCollisionObjectArray& objects = physics->m_dynamicsWorld->getCollisionObjectArray();
        for (int i = 0; i < objects.size(); ++i) count += btRigidBody::upcast(objects[i]) != nullptr;
        return count;
    }
    static bool InWorld(const btRigidBody* body)
    {
        const btCollisionObjectArray& objects = physics->m_dynamicsWorld->getCollisionObjectArray();
        for (int i = 0; i < objects.size(); ++i)
            if (objects[i] == body) return true;
        return false;
    }
    // Every pin has exactly one body, in the world, beside the bodies of the lane.
    void ExpectOneBodyPerPin() const
    {
        EXPECT_EQ(RigidBodiesInWorld(), laneBodies + kNumPins);
        for (int pin = kFirstPin; pin <= kLastPin; ++pin) {
            ASSERT_NE(Body(pin), nullptr) << "pin " << pin;
            EXPECT_TRUE(InWorld(Body(pin))) << "pin " << pin;
            for (int other = pin + 1; other <= kLastPin; ++other) EXPECT_NE(Body(pin), Body(other));
        }
    }
    static int StandingMask()
    {
        int mask = -1;
        EXPECT_EQ(GetStandingPinMask(&mask), 1);
        return mask;
    }

    int laneBodies = 0;
    TITLE_PlayerInfoStruct savedPlayers[kMaxPlayers];
};

// ---- A rack left alone ----

using PinRack = PinWorld;

TEST_F(PinRack, AnUntouchedRackStandsOnItsSpotsThroughAWholeBall)
{
    AddRack();
    EXPECT_EQ(StandingMask(), kFullRackMask);
    RunFrames(15 * kFramesPerSecond);

    for (int pin = kFirstPin; pin <= kLastPin; ++pin) {
        const actor_tag* a = pins[pin].theActor;
        EXPECT_NEAR(a->Xlocation, PIN_X[pin - 1] * 24.0f, kSpotTolerance) << "pin " << pin;
        EXPECT_NEAR(a->Ylocation, PIN_Y[pin - 1] * 24.0f, kSpotTolerance) << "pin " << pin;
        EXPECT_NEAR(a->Zlocation, kPinStandingZ, kSpotTolerance) << "pin " << pin;
        EXPECT_EQ(PinKnockedDown(pin), 0) << "pin " << pin;
        EXPECT_EQ(pins[pin].physicsChanged, 0) << "pin " << pin;
        // The end of a ball waits for the pins to fall asleep.
        EXPECT_FALSE(Body(pin)->isActive()) << "pin " << pin << " never came to rest";
    }
    EXPECT_EQ(StandingMask(), kFullRackMask);
}

// ---- Falling over, rolling, standing up again ----

using PinFall = PinWorld;

TEST_F(PinFall, APinPushedOverLiesDownRollsAndIsStoodUpAgain)
{
    ASSERT_EQ(AddPinActor(1, nullptr), 1);
    btRigidBody* standing = Body(1);
    btVector3 standingInertia = standing->getInvInertiaDiagLocal();
    EXPECT_FLOAT_EQ(standing->getGravity().y(), PIN_GRAVITY);

    // A shove near the top, towards the foul line.
    standing->activate(true);
    standing->applyImpulse(btVector3(0, 0, -1.0f), btVector3(0, 0.3f, 0));
    RunFrames(3 * kFramesPerSecond);

    EXPECT_EQ(PinKnockedDown(1), 1);
    EXPECT_EQ(pins[1].physicsChanged, 1);
    EXPECT_FLOAT_EQ(Body(1)->getGravity().y(), -7.3f);
    EXPECT_FLOAT_EQ(Body(1)->getFriction(), 0.3f);
    EXPECT_NE(Body(1)->getInvInertiaDiagLocal(), standingInertia);
    EXPECT_GT(Body(1)->getInvInertiaDiagLocal().z(), 0.0f);
    EXPECT_LT(pins[1].theActor->Zlocation, 8.0f) << "a lying pin's axis is near the deck";

    // The switch happens once: nothing is set again while the pin lies there, and a pin that
    // rights itself keeps its rolling physics.
    Body(1)->setFriction(0.9f);
    RunFrames(kFramesPerSecond);
    EXPECT_FLOAT_EQ(Body(1)->getFriction(), 0.9f);
    Pose(1, 1, 0, 0, 0);
    RunFrames(kFramesPerSecond);
    EXPECT_EQ(pins[1].physicsChanged, 1);
    EXPECT_FLOAT_EQ(Body(1)->getGravity().y(), -7.3f);

    ASSERT_EQ(ResetPinActor(1), 1);
    EXPECT_EQ(pins[1].physicsChanged, 0);
    EXPECT_EQ(pins[1].upright, 1);
    EXPECT_FLOAT_EQ(Body(1)->getGravity().y(), PIN_GRAVITY);
    EXPECT_EQ(Body(1)->getInvInertiaDiagLocal(), standingInertia);
    RunFrames(2 * kFramesPerSecond);
    EXPECT_EQ(PinKnockedDown(1), 0);
    EXPECT_NEAR(pins[1].theActor->Ylocation, 1440.0f, kSpotTolerance);
    EXPECT_NEAR(pins[1].theActor->Zlocation, kPinStandingZ, kSpotTolerance);
}

TEST_F(PinFall, APinKnockedTowardsTheGutterLiesDownAndRolls)
{
    ASSERT_EQ(AddPinActor(5, nullptr), 1);
    for (float side : {1.0f, -1.0f}) {
        Body(5)->applyImpulse(btVector3(side * 0.3f, 0, 0), btVector3(0, 0.3f, 0));
        RunFrames(3 * kFramesPerSecond);
        EXPECT_EQ(PinKnockedDown(5), 1) << "side " << side;
        EXPECT_EQ(pins[5].physicsChanged, 1) << "side " << side;
        EXPECT_FLOAT_EQ(Body(5)->getGravity().y(), -7.3f) << "side " << side;
        ASSERT_EQ(ResetPinActor(5), 1);
    }
}

TEST_F(PinFall, APinLyingOnTheDeckRollsWhicheverWayItFell)
{
    ASSERT_EQ(AddPinActor(6, nullptr), 1);
    // Lying across the lane (turned about the lane's axis) or along it (about the cross axis).
    for (const btVector3& axis : {btVector3(0, 0, 1), btVector3(0, 0, -1), btVector3(1, 0, 0), btVector3(-1, 0, 0)}) {
        btTransform lying(btQuaternion(axis, SIMD_HALF_PI), GameToPhysics(PIN_X[5] * 24.0f, PIN_Y[5] * 24.0f, 5.0f));
        Body(6)->setCenterOfMassTransform(lying);
        MovePin(pins[6].theActor);
        EXPECT_EQ(pins[6].physicsChanged, 1) << axis.x() << " " << axis.z();
        EXPECT_FLOAT_EQ(Body(6)->getGravity().y(), -7.3f) << axis.x() << " " << axis.z();
        ASSERT_EQ(ResetPinActor(6), 1);
    }
}

TEST_F(PinFall, APinLyingInThePitKeepsItsStandingPhysics)
{
    ASSERT_EQ(AddPinActor(10, nullptr), 1);
    btTransform inPit(btQuaternion(btVector3(1, 0, 0), SIMD_HALF_PI), GameToPhysics(36.0f, 1600.0f, 5.0f));
    Body(10)->setCenterOfMassTransform(inPit);
    MovePin(pins[10].theActor);
    EXPECT_EQ(PinKnockedDown(10), 1);
    EXPECT_EQ(pins[10].physicsChanged, 0);
    EXPECT_FLOAT_EQ(Body(10)->getGravity().y(), PIN_GRAVITY);
}

// ---- Which pins are down ----

using PinDown = PinWorld;

TEST_F(PinDown, ALeanOfNineDegreesInAnyDirectionIsDown)
{
    ASSERT_EQ(AddPinActor(1, nullptr), 1);
    // Body axes: x across the lane, z down the lane.
    const btVector3 axes[] = {{1, 0, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}, {1, 0, 1}, {-1, 0, 1}};
    for (const btVector3& axis : axes) {
        Pose(1, axis.x(), axis.y(), axis.z(), 9.5f);
        EXPECT_EQ(PinKnockedDown(1), 1) << axis.x() << " " << axis.z();
        Pose(1, axis.x(), axis.y(), axis.z(), 8.5f);
        EXPECT_EQ(PinKnockedDown(1), 0) << axis.x() << " " << axis.z();
    }
    Pose(1, 0, 1, 0, 0);
    EXPECT_EQ(PinKnockedDown(1), 0);
    // Upright but below the deck (it dropped off the end of the lane).
    Body(1)->setCenterOfMassTransform(btTransform(btQuaternion::getIdentity(), btVector3(0, -0.1f, 37.0f)));
    MovePin(pins[1].theActor);
    EXPECT_EQ(PinKnockedDown(1), 1);
}

TEST_F(PinDown, ATurnAboutItsOwnAxisIsNotALean)
{
    ASSERT_EQ(AddPinActor(1, nullptr), 1);
    for (float heading : {45.0f, 90.0f, 180.0f}) {
        btQuaternion turn(btVector3(0, 1, 0), heading * SIMD_RADS_PER_DEG);
        btQuaternion lean(btVector3(0, 0, 1), 5.0f * SIMD_RADS_PER_DEG);
        Body(1)->setCenterOfMassTransform(btTransform(lean * turn, SpotOf(1)));
        MovePin(pins[1].theActor);
        EXPECT_EQ(PinKnockedDown(1), 0) << heading;
        lean.setRotation(btVector3(0, 0, 1), 12.0f * SIMD_RADS_PER_DEG);
        Body(1)->setCenterOfMassTransform(btTransform(lean * turn, SpotOf(1)));
        MovePin(pins[1].theActor);
        EXPECT_EQ(PinKnockedDown(1), 1) << heading;
    }
}

TEST_F(PinDown, TheMaskHoldsTheUprightPinsStillStanding)
{
    AddRack();
    Pose(4, 0, 0, 1, 30.0f);  // leaning, not yet counted by the scoring
    pins[7].upright = 0;      // counted down by an earlier ball
    int mask = StandingMask();
    EXPECT_EQ(mask, kFullRackMask & ~(1 << (15 - 4)) & ~(1 << (15 - 7)));
    EXPECT_EQ(mask & 0x4000, 0x4000) << "pin 1 is bit 14";
    EXPECT_EQ(mask & 0x20, 0x20) << "pin 10 is bit 5";
    EXPECT_EQ(GetStandingPinMask(nullptr), 0);
}

// ---- Parking and standing pins up: one body per pin ----

using PinParking = PinWorld;

TEST_F(PinParking, AParkedPinLeavesPlayWithItsRotation)
{
    AddRack();
    Pose(3, 1, 0, 0, 40.0f);
    btQuaternion before = Body(3)->getWorldTransform().getRotation();
    ASSERT_EQ(ParkPin(3), 1);
    EXPECT_EQ(pins[3].theActor->visible, 0);
    EXPECT_EQ(pins[3].upright, 0);
    EXPECT_EQ(pins[3].physicsChanged, 0);
    EXPECT_FLOAT_EQ(Body(3)->getWorldTransform().getOrigin().y(), -100.0f);
    EXPECT_TRUE(Body(3)->getWorldTransform().getRotation() == before);
    EXPECT_TRUE(Body(3)->isActive());
    ExpectOneBodyPerPin();

    // The rest of the rack does not notice.
    RunFrames(2 * kFramesPerSecond);
    EXPECT_EQ(StandingMask(), kFullRackMask & ~(1 << (15 - 3)));
}

TEST_F(PinParking, ParkingAndStandingUpOverAndOverKeepsOneBodyPerPin)
{
    AddRack();
    for (int round = 0; round < 5; ++round) {
        for (int pin = kFirstPin; pin <= kLastPin; ++pin) {
            if ((pin + round) % 2) {
                ASSERT_EQ(ParkPin(pin), 1);
            }
            if ((pin + round) % 3) {
                ASSERT_EQ(ResetPinActor(pin), 1);
            }
        }
        ExpectOneBodyPerPin();
        RunFrames(5);
    }
    // After a full re-rack every actor follows its new body back onto its spot.
    for (int pin = kFirstPin; pin <= kLastPin; ++pin) ASSERT_EQ(ResetPinActor(pin), 1);
    ExpectOneBodyPerPin();
    RunFrames(2 * kFramesPerSecond);
    EXPECT_EQ(StandingMask(), kFullRackMask);
    for (int pin = kFirstPin; pin <= kLastPin; ++pin) {
        EXPECT_EQ(pins[pin].theActor->visible, 1);
        EXPECT_NEAR(pins[pin].theActor->Ylocation, PIN_Y[pin - 1] * 24.0f, kSpotTolerance) << "pin " << pin;
        EXPECT_NEAR(pins[pin].theActor->Zlocation, kPinStandingZ, kSpotTolerance) << "pin " << pin;
    }
}

TEST_F(PinParking, NumbersOutsideTheRackAndAMissingWorldChangeNothing)
{
    AddRack();
    std::vector<btRigidBody*> bodies;
    for (int pin = kFirstPin; pin <= kLastPin; ++pin) bodies.push_back(Body(pin));
    actor_tag* free = unusedActors;
    for (int pin : {0, 11, -1}) {
        EXPECT_EQ(ResetPinActor(pin), 0);
        EXPECT_EQ(ParkPin(pin), 0);
        EXPECT_EQ(PinKnockedDown(pin), 0);
        EXPECT_EQ(AddPinActor(pin, nullptr), 0);
    }
    for (int pin = kFirstPin; pin <= kLastPin; ++pin) EXPECT_EQ(Body(pin), bodies[pin - 1]);
    EXPECT_EQ(unusedActors, free);
    ExpectOneBodyPerPin();

    ASSERT_EQ(DisposePhysicsWorld(), 1);
    EXPECT_EQ(ResetPinActor(1), 0);
    EXPECT_EQ(MovePin(pins[1].theActor), 1);
    EXPECT_EQ(ParkPin(1), 1);  // out of play; there is no body to move
    EXPECT_EQ(pins[1].theActor->visible, 0);
    ASSERT_EQ(DisposeActor(pins[2].theActor), 1);
    free = unusedActors;
    EXPECT_EQ(AddPinActor(2, nullptr), 0);
    EXPECT_EQ(unusedActors, free);
}

// ---- Spares challenge ----

using PinSpares = PinWorld;

// The leaves of the rounds as the players see them.
const std::vector<std::vector<int>> kRightLeaves = {
    {5}, {10}, {1, 2, 3}, {1, 2, 4, 7}, {3, 9},                   // rounds 0-4
    {2, 4, 5}, {3, 6, 10}, {2, 4, 5, 8}, {2, 7}, {1, 2, 4, 10},  // 5-9
    {6, 10}, {2, 7, 10}, {4, 6, 7, 8, 10}, {5, 10}, {9, 10},     // 10-14
    {3, 8, 10}, {4, 7, 9, 10}, {4, 6, 7, 10}, {7, 10},           // 15-18
};
const std::vector<std::vector<int>> kLeftLeaves = {
    {5}, {7}, {1, 2, 3}, {1, 3, 6, 10}, {2, 8},                   // rounds 0-4
    {3, 5, 6}, {2, 4, 7}, {3, 5, 6, 9}, {3, 10}, {1, 3, 6, 7},   // 5-9
    {4, 7}, {3, 7, 10}, {4, 6, 7, 9, 10}, {5, 7}, {7, 8},        // 10-14
    {2, 7, 9}, {6, 7, 8, 10}, {4, 6, 7, 10}, {7, 10},            // 15-18
};

int MaskOf(const std::vector<int>& leave)
{
    int mask = 0;
    for (int pin : leave) mask |= 1 << (15 - pin);
    return mask;
}

TEST_F(PinSpares, EachRoundStandsItsLeaveAndParksTheRest)
{
    AddRack();
    for (int leftHanded : {0, 1}) {
        gPlayerInfo[0].leftHanded = leftHanded;
        const auto& leaves = leftHanded ? kLeftLeaves : kRightLeaves;
        // Rounds past either end have no leave: every pin is parked.
        for (int round = -1; round <= kSparesRoundLeaves; ++round) {
            SCOPED_TRACE(testing::Message() << "round " << round << (leftHanded ? " left" : " right"));
            // Knock the rack about first: every round starts from its own leave.
            Pose(1, 1, 0, 0, 60.0f);
            ASSERT_EQ(SelectSparesRoundPins(round), 1);
            int expected = round >= 0 && round < kSparesRoundLeaves ? MaskOf(leaves[round]) : 0;
            for (int pin = kFirstPin; pin <= kLastPin; ++pin) {
                bool stands = expected & (1 << (15 - pin));
                EXPECT_EQ(pins[pin].theActor->visible, stands ? 1 : 0) << "pin " << pin;
                EXPECT_EQ(pins[pin].upright, stands ? 1 : 0) << "pin " << pin;
                btVector3 origin = Body(pin)->getWorldTransform().getOrigin();
                if (stands) {
                    EXPECT_LT((origin - SpotOf(pin)).length(), 1e-5f) << "pin " << pin;
                } else {
                    EXPECT_FLOAT_EQ(origin.y(), -100.0f) << "pin " << pin;
                }
            }
            ExpectOneBodyPerPin();
            RunFrames(kFramesPerSecond);
            EXPECT_EQ(StandingMask(), expected);
        }
    }
}

TEST_F(PinSpares, TheLaneOffsetFollowsTheCurrentPlayersLane)
{
    gPlayerInfo[1].laneNum = 3;
    gCurrPlayer = 1;
    EXPECT_FLOAT_EQ(GetLaneXOffset(), 384.0f);
    gCurrPlayer = kMaxPlayers;
    EXPECT_FLOAT_EQ(GetLaneXOffset(), 0.0f);
}

}  // namespace
