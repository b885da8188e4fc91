#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "game/collision.h"
#include "host/errorlog.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "shell/globals.h"
#include "shell/startup.h"
#include "support/device_heap.h"

namespace {

// The physics world's lane (metres): model feet to metres, lane bed half width and far end.
const float kFeetToMetres = 0.6096013f, kLaneEdge = 1.0922022f, kLaneEnd = 15.2400305f + 23.164846f;
const float kUnit = 0.0254000508f, kBall = 0.218f;

// A model's corners as the physics world maps them.
std::vector<btVector3> Corners(const CollisionModelInfo* m)
{
    std::vector<btVector3> out;
    for (int f = 0; f < m->numFaces; ++f)
        for (const auto& v : m->faces.get()[f].verts) out.emplace_back(btVector3(v[0], v[2], v[1]) * kFeetToMetres);
    return out;
}

// The lane bed and an alley's gutters in a world of their own, with one ball.
struct GutterWorld {
    btDefaultCollisionConfiguration config;
    btCollisionDispatcher dispatcher{&config};
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    btDiscreteDynamicsWorld world{&dispatcher, &broadphase, &solver, &config};
    btBoxShape bed{btVector3(kLaneEdge, 0.5f, 23.164846f)};
    btSphereShape ballShape{kBall};
    btTriangleMesh mesh;
    std::unique_ptr<btBvhTriangleMeshShape> gutters;
    std::vector<std::unique_ptr<btRigidBody>> bodies;

    GutterWorld()
    {
        for (int item : {kCollisionLeftGutterItem, kCollisionRightGutterItem}) {
            std::vector<btVector3> c = Corners(collisionEnviroments[0].items[item].info);
            for (size_t i = 0; i + 2 < c.size(); i += 3) mesh.addTriangle(c[i], c[i + 1], c[i + 2]);
        }
        gutters.reset(new btBvhTriangleMeshShape(&mesh, true, true));
        world.setGravity(btVector3(0, -9.8f, 0));
        Add(0, btVector3(0, -0.5f, 15.2400305f), &bed, 0.33f);
        Add(0, btVector3(0, 0, 0), gutters.get(), 0.15f);
    }
    ~GutterWorld()
    {
        for (auto& body : bodies) world.removeRigidBody(body.get());
    }
    btRigidBody* Add(float mass, btVector3 at, btCollisionShape* shape, float friction)
    {
        btVector3 inertia(0, 0, 0);
        if (mass != 0) shape->calculateLocalInertia(mass, inertia);
        btRigidBody::btRigidBodyConstructionInfo info(mass, nullptr, shape, inertia);
        info.m_startWorldTransform.setOrigin(at);
        info.m_friction = friction;
        bodies.emplace_back(new btRigidBody(info));
        bodies.back()->setActivationState(DISABLE_DEACTIVATION);
        world.addRigidBody(bodies.back().get());
        return bodies.back().get();
    }
};

// A fresh heap, file system and resource table over a game data directory.
class GameDataTest : public ::testing::Test {
protected:
    HostOptions saved = gHostOptions;

    void Start(const std::string& romDir, uint32_t heapBytes)
    {
        ASSERT_EQ(UseFreshDeviceHeap(heapBytes), 1);
        gHostOptions.romDir = romDir;
        done = 0;
        ASSERT_EQ(FileSystemInit(), 1);
        ASSERT_EQ(InitResources(10000), 1);
        HostClearErrorLog();
    }
    void TearDown() override
    {
        FreeResources();
        FileSystemDispose();
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }
};

// The game data of the build, opened as start-up opens it, in both forms.
class CollisionGameData : public GameDataTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        Start(std::string(ZENDROLYX_BUILD_DIR) + "/" + GetParam(), 32 << 20);
        ASSERT_EQ(OpenResources(), 1);
    }
};

TEST_P(CollisionGameData, EveryAlleyHasGutterTroughsAlongTheLaneEdges)
{
    const unsigned usedBefore = deviceHeap.memoryUsed;
    for (int area = 0; area < kNumCollisionEnvironments; ++area) {
        SCOPED_TRACE(area);
        const CollisionEnvironment& env = collisionEnviroments[area];
        ASSERT_EQ(CreateCollisionEnvironment(area), 1);
        for (int k = 0; k < 3; ++k) {
            const CollisionModelInfo* model = env.items[k].info;
            ASSERT_NE(model, nullptr) << k;
            EXPECT_EQ(model, ResourceHandle((env.group << 16) + k));
            EXPECT_GT(model->numFaces, 0);
        }
        // Each trough starts at the lane bed's top edge, dips below the lane, reaches the side
        // walls (1.55 m right, 1.6 m left) and runs from the foul line to the lane bed's far end.
        for (int side : {-1, 1}) {
            btVector3 lo(1e9f, 1e9f, 1e9f), hi(-1e9f, -1e9f, -1e9f);
            for (btVector3 p : Corners(env.items[side < 0 ? kCollisionLeftGutterItem : kCollisionRightGutterItem].info)) {
                p.setX(p.x() * side);
                lo.setMin(p);
                hi.setMax(p);
                if (std::fabs(p.x() - kLaneEdge) < 1e-4f) {
                    EXPECT_NEAR(p.y(), 0.0f, 1e-5f) << "inner rim level with the lane";
                }
            }
            EXPECT_NEAR(lo.x(), kLaneEdge, 1e-4f);
            EXPECT_GT(hi.x(), (side < 0 ? 1.6f : 1.55f) - 0.05f);
            EXPECT_LT(lo.y(), -0.05f);
            EXPECT_NEAR(lo.z(), 0.0f, 1e-4f);
            EXPECT_NEAR(hi.z(), kLaneEnd, 1e-3f);
        }
        ASSERT_EQ(DisposeCollisionEnvironment(area), 1);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(env.items[k].info, nullptr) << "no link outlives the group";
        EXPECT_EQ(deviceHeap.memoryUsed, usedBefore);
    }
}

// A ball that leaves the lane drops into the trough, rolls on down the lane in it and cannot climb
// back out; a ball put in a trough comes to rest at its bottom, clear of the lane's edge.
TEST_P(CollisionGameData, GuttersHoldTheBall)
{
    ASSERT_EQ(CreateCollisionEnvironment(0), 1);
    for (int side : {-1, 1}) {
        SCOPED_TRACE(side);
        GutterWorld lane;
        btRigidBody* ball = lane.Add(7, btVector3(side * 36 * kUnit, kBall, 1), &lane.ballShape, 0.25f);
        ball->setLinearVelocity(btVector3(side * 1.0f, 0, 12));
        bool inGutter = false;
        for (int frame = 0; frame < 80; ++frame) {
            lane.world.stepSimulation(1.0f / 34, 20, 1.0f / 60);
            const float x = side * ball->getCenterOfMassPosition().x();
            inGutter = inGutter || x > 45 * kUnit;
            ASSERT_TRUE(!inGutter || x > kLaneEdge) << "climbed back onto the lane at frame " << frame;
            ASSERT_LT(x, 61.5f * kUnit) << "left the trough at frame " << frame;
        }
        EXPECT_TRUE(inGutter);
        EXPECT_GT(ball->getCenterOfMassPosition().z(), 20.0f) << "rolls on down the gutter";
        EXPECT_LT(ball->getCenterOfMassPosition().y(), kBall - 0.05f) << "sits below a ball on the lane";

        GutterWorld still;
        btRigidBody* resting = still.Add(7, btVector3(side * 52.25f * kUnit, 0.3f, 10), &still.ballShape, 0.25f);
        for (int frame = 0; frame < 100; ++frame) still.world.stepSimulation(1.0f / 34, 20, 1.0f / 60);
        const btVector3 p = resting->getCenterOfMassPosition();
        EXPECT_NEAR(p.x(), side * 52.25f * kUnit, 0.02f) << "in the middle of the trough";
        EXPECT_NEAR(p.y(), kBall - 3.75f * kUnit, 0.005f) << "resting on the bottom of the trough";
        EXPECT_GT(std::hypot(side * p.x() - kLaneEdge, p.y()), kBall) << "clear of the lane's edge";
    }
    ASSERT_EQ(DisposeCollisionEnvironment(0), 1);
}

INSTANTIATE_TEST_SUITE_P(CollisionForms, CollisionGameData, ::testing::Values("rom", "rom-split"));

// Alley 0's collision group written for a test.
class CollisionData : public GameDataTest {
protected:
    std::string dir;

    void SetUp() override
    {
        std::string pattern = ::testing::TempDir() + "zendrolyx-collision-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        Start(dir, 8 << 20);
    }
    void TearDown() override
    {
        GameDataTest::TearDown();
        EXPECT_EQ(std::system(("rm -rf '" + dir + "'").c_str()), 0);
    }

    // A model of one or more triangles, with a header field (offset 16 the face count, 20 the
    // faces pointer) overwritten when `at` is given.
    static mkrom::Resource Model(int faces, size_t at = 0, int32_t value = 0, int16_t type = 44)
    {
        std::vector<uint8_t> bytes(32 + size_t(faces) * 148, 0);
        std::memcpy(&bytes[16], &faces, 4);
        for (int f = 0; f < faces; ++f) {
            const float verts[9] = {2, float(f), 0, 3, float(f), 0, 3, float(f) + 1, 0};
            std::memcpy(&bytes[32 + size_t(f) * 148 + 68], verts, sizeof verts);
        }
        if (at) std::memcpy(&bytes[at], &value, 4);
        mkrom::Resource r;
        r.type = type;
        r.bytes = std::move(bytes);
        return r;
    }
    void Open(std::vector<mkrom::Resource> members)
    {
        mkrom::Resource group;
        group.id = collisionEnviroments[0].group;
        group.type = mkrom::kTypeGroup;
        group.members = std::move(members);
        std::string error;
        ASSERT_TRUE(mkrom::WriteArchive(dir + "/c.rez", 100, 100, {group}, &error)) << error;
        ASSERT_NE(OpenResourceFile("rom:/c.rez"), nullptr);
    }
};

TEST_F(CollisionData, FacesFollowTheHeaderWhateverTheFileHolds)
{
    Open({Model(1), Model(2, 20, int32_t(0xDEADBEEF)), Model(3)});
    ASSERT_EQ(CreateCollisionEnvironment(0), 1);
    const CollisionModelInfo* model = collisionEnviroments[0].items[1].info;
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(model->faces.get()), reinterpret_cast<const uint8_t*>(model) + 32);
    EXPECT_EQ(model->faces.get()[1].verts[2][1], 2.0f);
    EXPECT_EQ(DisposeCollisionEnvironment(0), 1);
}

TEST_F(CollisionData, DamagedGroupsAreRefusedAndLeaveNothingBehind)
{
    struct Case {
        const char* error;
        std::vector<mkrom::Resource> members;
    };
    mkrom::Resource badCorner = Model(2);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(&badCorner.bytes[32 + 148 + 68 + 16], &nan, 4);  // face 1, corner 1, y
    const Case cases[] = {
        {"damaged", {Model(1), Model(2, 16, 400), Model(1)}},        // more faces than bytes
        {"not a number", {Model(1), Model(1), badCorner}},
        {"not a collision model", {Model(1), Model(1, 0, 0, 1), Model(1)}},
        {"missing", {Model(1), Model(1)}},                           // no right gutter
        {"cannot be loaded", {Model(1), Model(1, 16, -5), Model(1)}},  // refused at load
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        FreeResources();
        ASSERT_EQ(InitResources(10000), 1);
        Open(c.members);
        const unsigned usedBefore = deviceHeap.memoryUsed;
        HostClearErrorLog();
        EXPECT_EQ(CreateCollisionEnvironment(0), 0);
        EXPECT_NE(HostErrorLog().find(c.error), std::string::npos) << HostErrorLog();
        for (int k = 0; k < 3; ++k) EXPECT_EQ(collisionEnviroments[0].items[k].info, nullptr) << k;
        EXPECT_EQ(deviceHeap.memoryUsed, usedBefore) << "the refused group is unloaded";
    }
}

TEST_F(CollisionData, AlleysWithoutAGroupOrOutOfRange)
{
    // No archive is open: an alley without a group never asks the resource table.
    const int32_t group = collisionEnviroments[2].group;
    collisionEnviroments[2].group = 0;
    EXPECT_EQ(CreateCollisionEnvironment(2), 1);
    EXPECT_EQ(DisposeCollisionEnvironment(2), 1);
    collisionEnviroments[2].group = group;
    EXPECT_EQ(CreateCollisionEnvironment(2), 0);
    EXPECT_EQ(CreateCollisionEnvironment(6), 0);
    EXPECT_EQ(CreateCollisionEnvironment(-1), 0);
    EXPECT_EQ(DisposeCollisionEnvironment(6), 0);
    EXPECT_NE(HostErrorLog().find("alley 6"), std::string::npos);
}

}  // namespace
