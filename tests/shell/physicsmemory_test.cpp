#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>

#include <cstdint>

#include "support/device_heap.h"
#include "host/arena.h"
#include "lib/memory.h"
#include "shell/physicsmemory.h"

namespace {

class PhysicsMemory : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(16 << 20), 1);
    }
    void TearDown() override
    {
        // Give the library its own allocator back before the heap goes away.
        btAlignedAllocSetCustom(nullptr, nullptr);
        btAlignedAllocSetCustomAligned(nullptr, nullptr);
        ReleaseDeviceHeap();
    }
};

TEST_F(PhysicsMemory, AlignedBlocksComeFromTheGameHeap)
{
    void* p = BulletMemAllocAligned(100, 16);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 16, 0u);
    EXPECT_EQ(deviceHeap.memoryUsed, 128u);
    BulletMemFree(p);
    EXPECT_EQ(deviceHeap.memoryUsed, 0u);

    EXPECT_EQ(BulletMemAllocAligned(64, 256), nullptr);  // stricter than the heap's blocks
    EXPECT_EQ(BulletMemAllocAligned(64, 24), nullptr);   // not a power of two
    EXPECT_EQ(BulletMemAlloc(0), nullptr);
    BulletMemFree(nullptr);
}

TEST_F(PhysicsMemory, AWholeWorldLivesAndDiesInTheGameHeap)
{
    InstallPhysicsAllocator();
    {
        btDefaultCollisionConfiguration configuration;
        btCollisionDispatcher dispatcher(&configuration);
        btDbvtBroadphase broadphase;
        btSequentialImpulseConstraintSolver solver;
        btDiscreteDynamicsWorld world(&dispatcher, &broadphase, &solver, &configuration);
        EXPECT_GT(deviceHeap.memoryUsed, 0u);

        btSphereShape sphere(0.1f);
        btDefaultMotionState motion(btTransform(btQuaternion::getIdentity(), btVector3(0, 1, 0)));
        btRigidBody ball(btRigidBody::btRigidBodyConstructionInfo(1.0f, &motion, &sphere, btVector3(0.004f, 0.004f, 0.004f)));
        world.addRigidBody(&ball);
        for (int i = 0; i < 34; ++i) world.stepSimulation(1.0f / 34.0f, 0);
        EXPECT_LT(ball.getWorldTransform().getOrigin().y(), 0.0f);  // it fell for a second
        world.removeRigidBody(&ball);
    }
    EXPECT_EQ(deviceHeap.memoryUsed, 0u) << "every block of the world went back to the heap";
}

}  // namespace
