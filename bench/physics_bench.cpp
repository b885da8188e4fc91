// Simulates one shot — the lane built, a ball thrown into a full rack, 8 s of game frames, the lane
// torn down — in the game's world (CreatePhysicsWorld, the Add... calls, Move, all memory from the
// game's memory manager) and in a bare world built directly with the library from the same bodies
// with its own allocator, stepped the same way. Prints shots per second of each and their ratio,
// and whether the two worlds ended the shot in the same state.
#include <benchmark/benchmark.h>

#include <btBulletDynamicsCommon.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "content.h"
#include "game/actors.h"
#include "game/collision.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/records.h"
#include "host/arena.h"
#include "lib/memory.h"
#include "shell/physicsmemory.h"
#include "support/bench_game.h"

namespace {

constexpr uint32_t kDeviceBytes = 64u << 20;
constexpr int kShotFrames = 8 * 34;
const float kPinX[10] = {0, -0.5f, 0.5f, -1, 0, 1, -1.5f, -0.5f, 0.5f, 1.5f};
const float kPinY[10] = {60, 60.866f, 60.866f, 61.732f, 61.732f, 61.732f, 62.598f, 62.598f, 62.598f, 62.598f};
const float kPinRestitution = 0.75f;

// ---- The game's world ----

std::vector<actor_tag> gActors(kNumPins + 1);  // the pins, then the ball

// The first alley's gutter models as its loaded collision group would link them, copied into the
// game heap from the game data builder's content.
bool LinkGutterModels()
{
    const std::vector<mkrom::Resource> groups = mkrom::CollisionContent();
    for (const mkrom::Resource& group : groups) {
        if (group.id != collisionEnviroments[0].group) continue;
        for (int k : {kCollisionLeftGutterItem, kCollisionRightGutterItem}) {
            const std::vector<uint8_t>& bytes = group.members[size_t(k)].bytes;
            void* data = nullptr;
            if (!AllocateMemory(&data, int(bytes.size()))) return false;
            std::memcpy(data, bytes.data(), bytes.size());
            if (!InitializeCollisionModel(static_cast<uint8_t*>(data))) return false;
            collisionEnviroments[0].items[k].info = static_cast<CollisionModelInfo*>(data);
        }
        return true;
    }
    return false;
}

bool BuildGameLane()
{
    if (!CreatePhysicsWorld()) return false;
    bool ok = physics->AddFloorCollision() && physics->AddGutterCollision(0) && physics->AddBumperCollision() &&
              physics->AddWallCollision() && physics->AddBallCollision(&gActors[kNumPins]);
    for (int n = 0; n < kNumPins && ok; ++n) {
        ok = physics->AddPinCollision(&gActors[size_t(n)]) == 1;
        if (ok) physics->m_pinBody[n]->setRestitution(kPinRestitution);
    }
    return ok;
}

void Launch(btRigidBody* ball)
{
    btTransform t(btQuaternion::getIdentity(), btVector3(0.05f, kBallRadius, 0.5f));
    ball->setWorldTransform(t);
    ball->setCenterOfMassTransform(t);
    ball->getMotionState()->setWorldTransform(t);
    ball->setLinearVelocity(btVector3(0, 0, 11));
    ball->setAngularVelocity(btVector3(20, 0, 1));
    ball->activate(true);
}

// The lane friction under the ball, as the ball's handler hands it over every frame.
void BallPosition(const btRigidBody* ball, float* position)
{
    float game[3];
    PhysicsToGame(ball->getCenterOfMassPosition(), game);
    position[0] = game[0];
    position[1] = game[1];
}

std::vector<float> FinalState(btDynamicsWorld* world)
{
    std::vector<float> out;
    for (int i = 0; i < world->getNumCollisionObjects(); ++i) {
        const btTransform& t = world->getCollisionObjectArray()[i]->getWorldTransform();
        for (int k = 0; k < 3; ++k) out.push_back(t.getOrigin()[k]);
    }
    return out;
}

std::vector<float> gGameResult, gBareResult;

void BM_GameWorld(benchmark::State& state)
{
    InstallPhysicsAllocator();
    const unsigned before = deviceHeap.memoryUsed;
    for (auto _ : state) {
        if (!BuildGameLane()) {
            state.SkipWithError("the game's lane could not be built");
            break;
        }
        Launch(physics->m_ballBody);
        float position[2];
        for (int frame = 0; frame < kShotFrames; ++frame) {
            BallPosition(physics->m_ballBody, position);
            physics->SetFloorFriction(position, 0);
            physics->Move();
        }
        gGameResult = FinalState(physics->m_dynamicsWorld);
        DisposePhysicsWorld();
    }
    if (deviceHeap.memoryUsed != before) state.SkipWithError("the game's world left memory behind");
    btAlignedAllocSetCustom(nullptr, nullptr);
    btAlignedAllocSetCustomAligned(nullptr, nullptr);
}

// ---- The bare world ----

// What a body of the game's lane is made of, read off a built lane.
struct ShapeDesc {
    int type;
    btVector3 size;                                   // box or cylinder half extents; x: sphere radius
    std::vector<std::pair<btTransform, int>> children;  // compound: child shapes by index
    std::vector<btVector3> triangles;                 // triangle mesh corners
};
struct BodyDesc {
    int shape;
    btTransform transform, centreOfMassOffset;
    float mass, friction, restitution, linearDamping, angularDamping, linearSleep, angularSleep, ccdMotion, ccdRadius;
    btVector3 gravity;
};
std::vector<ShapeDesc> gShapes;
std::vector<BodyDesc> gBodies;
laneOil_tag gOil;

struct CollectTriangles : btInternalTriangleIndexCallback {
    std::vector<btVector3>* out;
    void internalProcessTriangleIndex(btVector3* triangle, int, int) override
    {
        out->insert(out->end(), triangle, triangle + 3);
    }
};

int DescribeShape(const btCollisionShape* shape, std::map<const btCollisionShape*, int>& known)
{
    auto found = known.find(shape);
    if (found != known.end()) return found->second;
    ShapeDesc d{shape->getShapeType(), btVector3(0, 0, 0), {}, {}};
    switch (d.type) {
        case BOX_SHAPE_PROXYTYPE: d.size = static_cast<const btBoxShape*>(shape)->getHalfExtentsWithMargin(); break;
        case CYLINDER_SHAPE_PROXYTYPE:
            d.size = static_cast<const btCylinderShape*>(shape)->getHalfExtentsWithMargin();
            break;
        case SPHERE_SHAPE_PROXYTYPE: d.size.setX(static_cast<const btSphereShape*>(shape)->getRadius()); break;
        case COMPOUND_SHAPE_PROXYTYPE: {
            const auto* compound = static_cast<const btCompoundShape*>(shape);
            for (int i = 0; i < compound->getNumChildShapes(); ++i)
                d.children.emplace_back(compound->getChildTransform(i), DescribeShape(compound->getChildShape(i), known));
            break;
        }
        case TRIANGLE_MESH_SHAPE_PROXYTYPE: {
            CollectTriangles collect;
            collect.out = &d.triangles;
            btVector3 big(1e6f, 1e6f, 1e6f);
            static_cast<const btBvhTriangleMeshShape*>(shape)->getMeshInterface()->InternalProcessAllTriangles(
                &collect, -big, big);
            break;
        }
        default: std::fprintf(stderr, "physics_bench: shape type %d not described\n", d.type);
    }
    gShapes.push_back(d);
    return known[shape] = int(gShapes.size() - 1);
}

// Reads every body of a freshly built game lane.
bool DescribeGameLane()
{
    InstallPhysicsAllocator();
    if (!BuildGameLane()) return false;
    std::map<const btCollisionShape*, int> known;
    btDynamicsWorld* world = physics->m_dynamicsWorld;
    for (int i = 0; i < world->getNumCollisionObjects(); ++i) {
        const btRigidBody* body = btRigidBody::upcast(world->getCollisionObjectArray()[i]);
        BodyDesc d;
        d.shape = DescribeShape(body->getCollisionShape(), known);
        d.transform = body->getWorldTransform();
        d.centreOfMassOffset = static_cast<const btDefaultMotionState*>(body->getMotionState())->m_centerOfMassOffset;
        d.mass = body->getInvMass() > 0 ? 1.0f / body->getInvMass() : 0.0f;
        d.friction = body->getFriction();
        d.restitution = body->getRestitution();
        d.linearDamping = body->getLinearDamping();
        d.angularDamping = body->getAngularDamping();
        d.linearSleep = body->getLinearSleepingThreshold();
        d.angularSleep = body->getAngularSleepingThreshold();
        d.ccdMotion = body->getCcdMotionThreshold();
        d.ccdRadius = body->getCcdSweptSphereRadius();
        d.gravity = body->getGravity();
        gBodies.push_back(d);
    }
    SetOilPattern(&gOil, gGameOptions.oilPattern);
    DisposePhysicsWorld();
    btAlignedAllocSetCustom(nullptr, nullptr);
    btAlignedAllocSetCustomAligned(nullptr, nullptr);
    return true;
}

class BareWorld {
public:
    BareWorld()
    {
        world.setGravity(btVector3(0, WORLD_GRAVITY, 0));
        for (const ShapeDesc& d : gShapes) shapes.emplace_back(MakeShape(d));
        for (const BodyDesc& d : gBodies) {
            btCollisionShape* shape = shapes[size_t(d.shape)].get();
            btVector3 inertia(0, 0, 0);
            if (d.mass != 0) shape->calculateLocalInertia(d.mass, inertia);
            states.emplace_back(new btDefaultMotionState(d.transform));
            btRigidBody::btRigidBodyConstructionInfo info(d.mass, states.back().get(), shape, inertia);
            bodies.emplace_back(new btRigidBody(info));
            btRigidBody* body = bodies.back().get();
            // As in the game, the offset comes after the body has read its start.
            states.back()->m_centerOfMassOffset = d.centreOfMassOffset;
            world.addRigidBody(body);
            body->setDamping(d.linearDamping, d.angularDamping);
            body->setFriction(d.friction);
            body->setRestitution(d.restitution);
            body->setSleepingThresholds(d.linearSleep, d.angularSleep);
            body->setGravity(d.gravity);
            body->setCcdMotionThreshold(d.ccdMotion);
            body->setCcdSweptSphereRadius(d.ccdRadius);
        }
    }
    ~BareWorld()
    {
        for (auto& body : bodies) world.removeRigidBody(body.get());
    }

    btDefaultCollisionConstructionInfo info = [] {
        btDefaultCollisionConstructionInfo i;
        i.m_defaultMaxPersistentManifoldPoolSize = 256;
        i.m_defaultMaxCollisionAlgorithmPoolSize = 256;
        return i;
    }();
    btDefaultCollisionConfiguration config{info};
    btCollisionDispatcher dispatcher{&config};
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    btDiscreteDynamicsWorld world{&dispatcher, &broadphase, &solver, &config};
    std::vector<std::unique_ptr<btTriangleMesh>> meshes;
    std::vector<std::unique_ptr<btCollisionShape>> shapes;
    std::vector<std::unique_ptr<btDefaultMotionState>> states;
    std::vector<std::unique_ptr<btRigidBody>> bodies;

private:
    btCollisionShape* MakeShape(const ShapeDesc& d)
    {
        switch (d.type) {
            case BOX_SHAPE_PROXYTYPE: return new btBoxShape(d.size);
            case CYLINDER_SHAPE_PROXYTYPE: return new btCylinderShape(d.size);
            case SPHERE_SHAPE_PROXYTYPE: return new btSphereShape(d.size.x());
            case COMPOUND_SHAPE_PROXYTYPE: {
                auto* compound = new btCompoundShape(true);
                for (const auto& child : d.children) compound->addChildShape(child.first, shapes[size_t(child.second)].get());
                return compound;
            }
            default: {
                meshes.emplace_back(new btTriangleMesh(true, true));
                for (size_t i = 0; i + 2 < d.triangles.size(); i += 3)
                    meshes.back()->addTriangle(d.triangles[i], d.triangles[i + 1], d.triangles[i + 2], false);
                return new btBvhTriangleMeshShape(meshes.back().get(), true, true);
            }
        }
    }
};

void BM_BareWorld(benchmark::State& state)
{
    for (auto _ : state) {
        BareWorld bare;
        // The ball is the body made after the floor, gutters, bumpers and walls.
        btRigidBody* ball = nullptr;
        for (auto& body : bare.bodies)
            if (body->getCollisionShape()->getShapeType() == SPHERE_SHAPE_PROXYTYPE) ball = body.get();
        btRigidBody* floor = bare.bodies[0].get();
        Launch(ball);
        float position[2];
        for (int frame = 0; frame < kShotFrames; ++frame) {
            BallPosition(ball, position);
            floor->setFriction(GetLaneFriction(&gOil, position, 0, frictionMult));
            bare.world.stepSimulation(1.0f / kPhysicsFrameRate, kPhysicsMaxSubsteps, kPhysicsSubstep);
            bare.world.debugDrawWorld();
        }
        gBareResult = FinalState(&bare.world);
    }
}

BENCHMARK(BM_GameWorld)->Unit(benchmark::kMillisecond)->MinTime(BenchMinTime(1.0));
BENCHMARK(BM_BareWorld)->Unit(benchmark::kMillisecond)->MinTime(BenchMinTime(1.0));

// Prints as usual and keeps each benchmark's time for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (!run.error_occurred)
                seconds[run.run_name.function_name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    // The game heap, the first alley's gutters and a thrower with a 7 kg ball.
    if (!HostArenaInit(kDeviceBytes)) return 1;
    theHeap = nullptr;
    uint8_t* start = HostDeviceMemoryAddress();
    if (!InitMemoryHeap(&deviceHeap, start, start + kDeviceBytes, 0x2000, 128, 0, 1) || !LinkGutterModels()) {
        std::fprintf(stderr, "physics_bench: no game heap or gutter models\n");
        return 1;
    }
    gCurrPlayer = 0;
    gPlayerInfo[0].ballSelected = 0;
    gPlayerInfo[0].ballData[0] = BallDataTag{0, 0, 0, 0, 7.0f, 1.0f, -9.8f};
    gGameOptions.oilPattern = 1;
    for (int n = 0; n < kNumPins; ++n) {
        gActors[size_t(n)].team = uint8_t(n);
        gActors[size_t(n)].Xlocation = kPinX[n] * 24;
        gActors[size_t(n)].Ylocation = kPinY[n] * 24;
        gActors[size_t(n)].Zlocation = kPinStandingZ;
    }
    gActors[kNumPins].Zlocation = kBallRadius * kUnitsPerMetre;
    if (!DescribeGameLane()) {
        std::fprintf(stderr, "physics_bench: the game's lane could not be built\n");
        return 1;
    }

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto game = reporter.seconds.find("BM_GameWorld"), bare = reporter.seconds.find("BM_BareWorld");
    if (game != reporter.seconds.end() && bare != reporter.seconds.end() && game->second > 0 && bare->second > 0) {
        std::printf("shots per second: game's world %.1f, bare world %.1f\n", 1.0 / game->second, 1.0 / bare->second);
        std::printf("ratio game / bare (time per shot): %.2f\n", game->second / bare->second);
        std::printf("both worlds end the shot in the same state: %s\n",
                    !gGameResult.empty() && gGameResult == gBareResult ? "yes" : "no");
    }
    return 0;
}
