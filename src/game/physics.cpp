// The lane's physics world on the rigid-body library: its floor, gutters, walls, bumpers, ball and
// pin bodies, the per-frame step and the transforms read back into the actors. Sizes come from the
// lane's dimensions (game/lane.h), turned into metres here.
#include "game/physics.h"

#include <cmath>
#include <cstdio>
#include <new>
#include <utility>

#include "game/collision.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "lib/memory.h"
#include "lib/printing.h"

CcdPhysicsDemo* physics = nullptr;
float frictionMult = 1.0f;
myDebugDraw gDebugDraw;

static float updateRateOffset = 0.0f;

// ---- Sizes and places of the lane's bodies (metres) ----

static const btVector3 kFloorOilHalfExtents(1.0922022f, 0.5f, 23.164846f);  // 43 x 912 units
static const btVector3 kFloorOilOrigin(0.0f, -0.5f, 15.2400305f);           // centre at Y 600
static const btVector3 kFloorApproachHalfExtents(2.0320041f, 0.5f, 3.6576076f);
static const btVector3 kFloorApproachOrigin(0.0f, -0.52f, -3.6576076f);

static const btVector3 kPinCylinderHalfExtents(0.0660401f, 0.3810008f, 0.0660401f);
static const float kPinSphereRadius1 = 0.1371603f;
static const float kPinSphereRadius2 = 0.1168402f;
static const float kPinSphereRadius3 = 0.1066802f;
static const btVector3 kPinSphereOffset1(0.0f, -0.1270003f, 0.0f);
static const btVector3 kPinSphereOffset2(0.0f, -0.1905004f, 0.0f);
static const btVector3 kPinSphereOffset3(0.0f, -0.0508001f, 0.0f);
// Where the pin model's origin sits relative to the body, for the motion state.
static const btVector3 kPinCentreOfMassOffset(0.0f, -0.0555626f, 0.0f);
static const float kPinLinearSleep = 0.5f;
static const float kPinAngularSleep = 0.3f;

// The walls of the pit and the bumpers. Their faces (the planes the ball and pins meet) are the
// faces of flat plates: the back wall across the end of the pit, leaning back, the side walls
// facing across the lane, the bumpers standing on the edges of the lane bed. A flat plate has no
// inside, so a body whose centre gets past it within one substep is pushed out on the far side
// and leaves the lane; each plate is therefore a box that is thick behind its face (away from
// the lane), with the face where the plate would be.
static const float kWallHalfThickness = 0.5f;
// The bumper's box reaches over half the gutter's width: it stops pins as fast as any the ball
// can send, while a ball lofted over the bumper still drops into the gutter. The ball itself
// is held by its swept motion (see below).
static const float kBumperHalfThickness = 0.1f;
static const btVector3 kWallHalfExtents(50.1336f, 5.048f, kWallHalfThickness);
static const btVector3 kWallBackFace(0.0f, 0.0f, 40.1144f);
static const float kWallBackPitch = -0.2094395f;  // leans back 12 degrees
static const btVector3 kWallRightFace(1.55f, 3.0f, 38.0f);
static const btVector3 kWallLeftFace(-1.6f, 3.0f, 38.0f);
static const float kSideWallYaw = 1.5707964f;  // the plate turned to face across the lane
static const btVector3 kBumperHalfExtents(kBumperHalfThickness, 0.224f, 17.68f);
static const float kBumperX = 1.0922022f;  // on the edges of the lane bed
static const float kBumperZ = 17.68f;

// A ball can be thrown hard enough to get its centre past a bumper's face within one substep even
// so. It sweeps its motion (continuous collision) whenever a substep carries it further than half
// its radius, with a sphere a little smaller than its gutter sphere, and stops on the face. The
// library sweeps only convex bodies, so the pins (compounds) rely on the thickness alone.
static const float kBallCcdMotionThreshold = kBallSmallRadius * 0.5f;
static const float kBallCcdSweptRadius = 0.2f;

static const int kManifoldPoolSize = 256;
static const int kAlgorithmPoolSize = 256;

// ---- Library objects through the physics allocator ----

// A library object in a block of the physics allocator, or null when the block cannot be had. A
// plain new of the library's classes does not check the block before constructing in it.
template <class T, class... Args>
static T* NewPhysicsObject(Args&&... args)
{
    void* block = btAlignedAlloc(sizeof(T), 16);
    if (!block) return nullptr;
    return new (block) T(std::forward<Args>(args)...);
}

// Destroys an object made by NewPhysicsObject (through its virtual destructor) and clears the
// pointer.
template <class T>
static void DeletePhysicsObject(T*& object)
{
    if (!object) return;
    object->~T();
    btAlignedFree(object);
    object = nullptr;
}

static btTransform TransformAt(const btVector3& origin)
{
    btTransform t;
    t.setIdentity();
    t.setOrigin(origin);
    return t;
}

static btTransform TransformAt(const btVector3& origin, float yaw, float pitch, float roll)
{
    btQuaternion q;
    q.setEuler(yaw, pitch, roll);
    return btTransform(q, origin);
}

// The place of a plate's box: `face` is where the flat plate stands, `behind` the offset of the
// box's centre from it in the plate's own axes (away from the lane).
static btTransform BehindFace(const btTransform& face, const btVector3& behind)
{
    return btTransform(face.getBasis(), face.getOrigin() + face.getBasis() * behind);
}

static btVector3 ActorOrigin(const actor_tag* actor)
{
    return GameToPhysics(actor->Xlocation, actor->Ylocation, actor->Zlocation);
}

// ---- Debug drawing ----

void myDebugDraw::drawLine(const btVector3&, const btVector3&, const btVector3&)
{
    // This platform draws no debug lines.
}

void myDebugDraw::drawContactPoint(const btVector3& pointOnB, const btVector3& normalOnB, btScalar, int,
                                   const btVector3& color)
{
    drawLine(pointOnB, normalOnB, color);
}

void myDebugDraw::reportErrorWarning(const char* warningString)
{
    // The text is written as it is, never used as a format.
    if (warningString) std::fputs(warningString, stdout);
}

void myDebugDraw::draw3dText(const btVector3&, const char*) {}

// ---- BaseApplication ----

BaseApplication::BaseApplication() : m_dynamicsWorld(nullptr), m_shootBoxShape(nullptr), m_debugMode(0), m_idle(false)
{
}

BaseApplication::~BaseApplication() = default;

void BaseApplication::Move()
{
    if (!m_idle) ClientMove();
}

btRigidBody* BaseApplication::localCreateRigidBody(float mass, const btTransform& startTransform,
                                                   btCollisionShape* shape)
{
    if (!m_dynamicsWorld || !shape) return nullptr;
    btVector3 localInertia(0, 0, 0);
    if (mass != 0.0f) shape->calculateLocalInertia(mass, localInertia);
    btDefaultMotionState* motionState = NewPhysicsObject<btDefaultMotionState>(startTransform);
    if (!motionState) return nullptr;
    btRigidBody::btRigidBodyConstructionInfo info(mass, motionState, shape, localInertia);
    btRigidBody* body = NewPhysicsObject<btRigidBody>(info);
    if (!body) {
        DeletePhysicsObject(motionState);
        return nullptr;
    }
    m_dynamicsWorld->addRigidBody(body);
    return body;
}

// ---- CcdPhysicsDemo: the world ----

CcdPhysicsDemo::CcdPhysicsDemo()
    : laneOil_tag(),
      m_broadphase(nullptr),
      m_colThreadSupport(nullptr),
      m_dispatcher(nullptr),
      m_solver(nullptr),
      m_boxBoxCF(nullptr),
      m_collisionConfiguration(nullptr),
      m_floorBody(nullptr),
      m_floorBody2(nullptr),
      m_floorApproachBody(nullptr),
      m_gutterLeftBody(nullptr),
      m_gutterRightBody(nullptr),
      m_ballBody(nullptr),
      m_pinBody(),
      m_wallBodyBack(nullptr),
      m_wallBodyLeft(nullptr),
      m_wallBodyRight(nullptr),
      m_bumperLeftBody(nullptr),
      m_bumperRightBody(nullptr),
      floorOilShape(nullptr),
      floorApproachShape(nullptr),
      ballShape(nullptr),
      ballSmallShape(nullptr),
      pinCylinderShape(nullptr),
      pinSphereShape1(nullptr),
      pinSphereShape2(nullptr),
      pinSphereShape3(nullptr),
      wallShape(nullptr),
      bumperShape(nullptr),
      leftGutterTrimesh(nullptr),
      rightGutterTrimesh(nullptr),
      leftGutterShape(nullptr),
      rightGutterShape(nullptr),
      pinCompoundShape()
{
}

CcdPhysicsDemo::~CcdPhysicsDemo() { exitPhysics(); }

void CcdPhysicsDemo::operator delete(void* p) noexcept { DestroyMemory(&p); }

int CcdPhysicsDemo::initPhysics()
{
    // A second call starts over rather than losing what the first one made.
    if (m_dynamicsWorld || floorOilShape) exitPhysics();
    floorOilShape = NewPhysicsObject<btBoxShape>(kFloorOilHalfExtents);
    floorApproachShape = NewPhysicsObject<btBoxShape>(kFloorApproachHalfExtents);
    ballShape = NewPhysicsObject<btSphereShape>(kBallRadius);
    ballSmallShape = NewPhysicsObject<btSphereShape>(kBallSmallRadius);
    pinCylinderShape = NewPhysicsObject<btCylinderShape>(kPinCylinderHalfExtents);
    pinSphereShape1 = NewPhysicsObject<btSphereShape>(kPinSphereRadius1);
    pinSphereShape2 = NewPhysicsObject<btSphereShape>(kPinSphereRadius2);
    pinSphereShape3 = NewPhysicsObject<btSphereShape>(kPinSphereRadius3);
    const bool shapesMade = floorOilShape && floorApproachShape && ballShape && ballSmallShape && pinCylinderShape &&
                            pinSphereShape1 && pinSphereShape2 && pinSphereShape3;

    btDefaultCollisionConstructionInfo info;
    info.m_defaultMaxPersistentManifoldPoolSize = kManifoldPoolSize;
    info.m_defaultMaxCollisionAlgorithmPoolSize = kAlgorithmPoolSize;
    m_collisionConfiguration = NewPhysicsObject<btDefaultCollisionConfiguration>(info);
    if (m_collisionConfiguration) m_dispatcher = NewPhysicsObject<btCollisionDispatcher>(m_collisionConfiguration);
    m_broadphase = NewPhysicsObject<btDbvtBroadphase>();
    m_solver = NewPhysicsObject<btSequentialImpulseConstraintSolver>();
    if (m_dispatcher && m_broadphase && m_solver)
        m_dynamicsWorld =
            NewPhysicsObject<btDiscreteDynamicsWorld>(m_dispatcher, m_broadphase, m_solver, m_collisionConfiguration);
    if (!m_dynamicsWorld) return PrintError("physics: the lane's physics world cannot be made");
    m_dynamicsWorld->setGravity(btVector3(0, WORLD_GRAVITY, 0));
    if (!shapesMade) return PrintError("physics: the lane's physics shapes cannot be made");
    return 1;
}

// Takes a body out of the world and deletes it with its motion state.
static void DeleteBody(btDynamicsWorld* world, btCollisionObject* object)
{
    btRigidBody* body = btRigidBody::upcast(object);
    if (body && body->getMotionState()) {
        btMotionState* motionState = body->getMotionState();
        DeletePhysicsObject(motionState);
        body->setMotionState(nullptr);
    }
    if (world) world->removeCollisionObject(object);
    DeletePhysicsObject(object);
}

void CcdPhysicsDemo::exitPhysics()
{
    if (m_dynamicsWorld) {
        btCollisionObjectArray& objects = m_dynamicsWorld->getCollisionObjectArray();
        for (int i = m_dynamicsWorld->getNumCollisionObjects() - 1; i >= 0; --i) DeleteBody(m_dynamicsWorld, objects[i]);
    }
    // Nothing may keep pointing at a deleted body.
    m_floorBody = m_floorBody2 = m_floorApproachBody = nullptr;
    m_gutterLeftBody = m_gutterRightBody = m_ballBody = nullptr;
    for (btRigidBody*& pin : m_pinBody) pin = nullptr;
    m_wallBodyBack = m_wallBodyLeft = m_wallBodyRight = nullptr;
    m_bumperLeftBody = m_bumperRightBody = nullptr;

    for (int i = 0; i < m_collisionShapes.size(); ++i) DeletePhysicsObject(m_collisionShapes[i]);
    m_collisionShapes.clear();
    // The tree shapes go before the meshes they read.
    DeletePhysicsObject(leftGutterShape);
    DeletePhysicsObject(rightGutterShape);
    DeletePhysicsObject(leftGutterTrimesh);
    DeletePhysicsObject(rightGutterTrimesh);
    DeletePhysicsObject(bumperShape);
    DeletePhysicsObject(wallShape);
    DeletePhysicsObject(ballShape);
    DeletePhysicsObject(ballSmallShape);
    DeletePhysicsObject(pinCylinderShape);
    DeletePhysicsObject(pinSphereShape1);
    DeletePhysicsObject(pinSphereShape2);
    DeletePhysicsObject(pinSphereShape3);
    DeletePhysicsObject(floorOilShape);
    DeletePhysicsObject(floorApproachShape);
    for (btCompoundShape*& compound : pinCompoundShape) DeletePhysicsObject(compound);

    DeletePhysicsObject(m_dynamicsWorld);
    DeletePhysicsObject(m_solver);
    DeletePhysicsObject(m_broadphase);
    DeletePhysicsObject(m_dispatcher);
    DeletePhysicsObject(m_collisionConfiguration);
}

void CcdPhysicsDemo::ClientMove()
{
    if (!m_dynamicsWorld) return;
    m_dynamicsWorld->stepSimulation(1.0f / (kPhysicsFrameRate + updateRateOffset), kPhysicsMaxSubsteps, kPhysicsSubstep);
    m_dynamicsWorld->debugDrawWorld();
}

void SetPhysicsUpdateRateOffset(float offset)
{
    // A step of no time, negative time or no number would stop the world for good.
    if (!std::isfinite(offset) || !(kPhysicsFrameRate + offset > 0.0f)) {
        PrintError("physics: update-rate offset %f refused", double(offset));
        return;
    }
    updateRateOffset = offset;
}

float GetPhysicsUpdateRateOffset() { return updateRateOffset; }

// ---- The static bodies ----

int CcdPhysicsDemo::AddFloorCollision()
{
    btRigidBody* floor = localCreateRigidBody(0.0f, TransformAt(kFloorOilOrigin), floorOilShape);
    if (floor) {
        floor->setFriction(kLaneFriction * frictionMult);
        m_floorBody = floor;
    }
    btRigidBody* approach = localCreateRigidBody(0.0f, TransformAt(kFloorApproachOrigin), floorApproachShape);
    if (approach) {
        approach->setFriction(kLaneFriction * frictionMult);
        m_floorApproachBody = approach;
    }
    if (!floor || !approach) return PrintError("physics: the lane bed cannot be made");
    return 1;
}

// One triangle per face of a gutter model, corners in face order, from feet of lane (z up) to
// metres (y up). Null when the mesh cannot be had.
static btTriangleMesh* MakeGutterMesh(const CollisionModelInfo* model)
{
    btTriangleMesh* mesh = NewPhysicsObject<btTriangleMesh>(true, true);
    if (!mesh) return nullptr;
    const CollisionFace* faces = model->faces.get();
    for (int32_t f = 0; f < model->numFaces; ++f) {
        btVector3 corner[3];
        for (int k = 0; k < 3; ++k) {
            const float* v = faces[f].verts[k];
            corner[k] = btVector3(v[0], v[2], v[1]) * kMetresPerModelFoot;
        }
        mesh->addTriangle(corner[0], corner[1], corner[2], false);
    }
    return mesh;
}

// The gutter's mesh and tree shape (made on the first call, kept after) and a static body over
// them. A model without faces gives no body; 0 only when something cannot be allocated.
static int AddGutter(CcdPhysicsDemo* world, const CollisionModelInfo* model, btTriangleMesh*& mesh,
                     btBvhTriangleMeshShape*& shape, btRigidBody*& body)
{
    if (model->numFaces <= 0 || !model->faces) return 1;
    if (!mesh) mesh = MakeGutterMesh(model);
    if (!mesh) return 0;
    if (!shape) shape = NewPhysicsObject<btBvhTriangleMeshShape>(mesh, true, true);
    if (!shape) return 0;
    btRigidBody* made = world->localCreateRigidBody(0.0f, TransformAt(btVector3(0, 0, 0)), shape);
    if (!made) return 0;
    made->setFriction(kGutterFriction * frictionMult);
    body = made;
    return 1;
}

int CcdPhysicsDemo::AddGutterCollision(int area)
{
    if (area < 0 || area >= kNumCollisionEnvironments) return PrintError("physics: alley %d has no gutters", area);
    const CollisionEnvironment& env = collisionEnviroments[area];
    if (env.group == 0 || !env.items) return 1;  // an alley without collision models has bare gutters
    // Items 1 and 2 must be in the list before its end.
    for (int k = 0; k <= kCollisionRightGutterItem; ++k)
        if (env.items[k].type == kCollisionItemEnd) return PrintError("physics: alley %d lists no gutters", area);
    const CollisionModelInfo* left = env.items[kCollisionLeftGutterItem].info;
    const CollisionModelInfo* right = env.items[kCollisionRightGutterItem].info;
    if (!left || !right) return PrintError("physics: the collision models of alley %d are not loaded", area);
    int ok = AddGutter(this, left, leftGutterTrimesh, leftGutterShape, m_gutterLeftBody);
    ok &= AddGutter(this, right, rightGutterTrimesh, rightGutterShape, m_gutterRightBody);
    if (!ok) return PrintError("physics: the gutters cannot be made");
    return 1;
}

int CcdPhysicsDemo::AddBumperCollision()
{
    if (!bumperShape) bumperShape = NewPhysicsObject<btBoxShape>(kBumperHalfExtents);
    const btVector3 behind(kBumperHalfThickness, 0, 0);
    btRigidBody* right = localCreateRigidBody(
        0.0f, BehindFace(TransformAt(btVector3(kBumperX, kBumperRaisedY, kBumperZ)), behind), bumperShape);
    btRigidBody* left = localCreateRigidBody(
        0.0f, BehindFace(TransformAt(btVector3(-kBumperX, kBumperRaisedY, kBumperZ)), -behind), bumperShape);
    if (right) m_bumperRightBody = right;
    if (left) m_bumperLeftBody = left;
    if (!right || !left) return PrintError("physics: the bumpers cannot be made");
    return 1;
}

int CcdPhysicsDemo::AddWallCollision()
{
    if (!wallShape) wallShape = NewPhysicsObject<btBoxShape>(kWallHalfExtents);
    // The plates' own z axis points away from the lane for the back and right walls, towards it
    // for the left wall.
    const btVector3 behind(0, 0, kWallHalfThickness);
    btRigidBody* back = localCreateRigidBody(
        0.0f, BehindFace(TransformAt(kWallBackFace, 0.0f, kWallBackPitch, 0.0f), behind), wallShape);
    btRigidBody* right = localCreateRigidBody(
        0.0f, BehindFace(TransformAt(kWallRightFace, kSideWallYaw, 0.0f, 0.0f), behind), wallShape);
    btRigidBody* left = localCreateRigidBody(
        0.0f, BehindFace(TransformAt(kWallLeftFace, kSideWallYaw, 0.0f, 0.0f), -behind), wallShape);
    if (back) m_wallBodyBack = back;
    if (right) m_wallBodyRight = right;
    if (left) m_wallBodyLeft = left;
    if (!back || !right || !left) return PrintError("physics: the walls of the pit cannot be made");
    return 1;
}

int CcdPhysicsDemo::SetBumpersRaised(int raised)
{
    if (!m_bumperLeftBody || !m_bumperRightBody) return 0;
    for (btRigidBody* bumper : {m_bumperLeftBody, m_bumperRightBody}) {
        btTransform t = bumper->getWorldTransform();
        t.getOrigin().setY(raised ? kBumperRaisedY : kBumperLoweredY);
        bumper->setWorldTransform(t);
        if (bumper->getMotionState()) bumper->getMotionState()->setWorldTransform(t);
        bumper->activate(true);
    }
    return 1;
}

// ---- The ball ----

int CcdPhysicsDemo::AddBallCollision(actor_tag* ball)
{
    if (!ball) return PrintError("physics: no ball actor for the ball body");
    if (gCurrPlayer < 0 || gCurrPlayer >= kMaxPlayers) return PrintError("physics: no player %d for the ball body", gCurrPlayer);
    const TITLE_PlayerInfoStruct& player = gPlayerInfo[gCurrPlayer];
    if (player.ballSelected < 0 || player.ballSelected >= kBallsPerPlayer)
        return PrintError("physics: player %d has no ball %d", gCurrPlayer, player.ballSelected);
    const BallDataTag& data = player.ballData[player.ballSelected];
    // A mass of 0 would make a ball that never moves.
    if (!(data.mass > 0.0f) || !std::isfinite(data.mass)) return PrintError("physics: a ball of mass %f", double(data.mass));

    // Only one ball rolls: a second call replaces the first body.
    if (m_ballBody) {
        DeleteBody(m_dynamicsWorld, m_ballBody);
        m_ballBody = nullptr;
    }
    btRigidBody* body = localCreateRigidBody(data.mass, TransformAt(ActorOrigin(ball)), ballShape);
    if (!body) return PrintError("physics: the ball body cannot be made");
    body->setFriction(data.friction * frictionMult);
    body->setGravity(btVector3(0, data.gravity, 0));
    body->setCcdMotionThreshold(kBallCcdMotionThreshold);
    body->setCcdSweptSphereRadius(kBallCcdSweptRadius);
    m_ballBody = body;
    return 1;
}

int CcdPhysicsDemo::SetBallCollisionShape(actor_tag*, int small)
{
    btCollisionShape* shape = small ? ballSmallShape : ballShape;
    if (!m_ballBody || !shape) return 0;
    if (m_ballBody->getCollisionShape() == shape) return 1;
    m_ballBody->setCollisionShape(shape);
    // Contacts cached for the other sphere are dropped.
    if (m_dynamicsWorld && m_ballBody->getBroadphaseHandle())
        m_dynamicsWorld->getBroadphase()->getOverlappingPairCache()->cleanProxyFromPairs(
            m_ballBody->getBroadphaseHandle(), m_dispatcher);
    return 1;
}

// ---- The pins ----

int CcdPhysicsDemo::AddPinCollision(actor_tag* pin)
{
    if (!pin) return PrintError("physics: no pin actor for a pin body");
    const int n = pin->team;
    if (n < 0 || n >= kNumPins) return PrintError("physics: pin index %d out of range", n);

    // A pin stood up again gets a new body and shape.
    if (m_pinBody[n]) {
        DeleteBody(m_dynamicsWorld, m_pinBody[n]);
        m_pinBody[n] = nullptr;
    }
    DeletePhysicsObject(pinCompoundShape[n]);

    if (!m_dynamicsWorld || !pinCylinderShape || !pinSphereShape1 || !pinSphereShape2 || !pinSphereShape3)
        return PrintError("physics: pin %d has no world or shapes", n + 1);
    btCompoundShape* compound = NewPhysicsObject<btCompoundShape>(true);
    if (!compound) return PrintError("physics: pin %d's shape cannot be made", n + 1);
    pinCompoundShape[n] = compound;
    // The neck and head, the belly, the base.
    compound->addChildShape(TransformAt(btVector3(0, 0, 0)), pinCylinderShape);
    compound->addChildShape(TransformAt(kPinSphereOffset1), pinSphereShape1);
    compound->addChildShape(TransformAt(kPinSphereOffset2), pinSphereShape2);
    compound->addChildShape(TransformAt(kPinSphereOffset3), pinSphereShape3);

    btRigidBody* body = localCreateRigidBody(kPinMass, TransformAt(ActorOrigin(pin)), compound);
    if (!body) return PrintError("physics: pin %d's body cannot be made", n + 1);
    body->setDamping(kPinLinearDamping, kPinAngularDamping);
    body->setFriction(kPinBodyFriction * frictionMult);
    body->setSleepingThresholds(kPinLinearSleep, kPinAngularSleep);
    // The motion state made by localCreateRigidBody is a btDefaultMotionState.
    static_cast<btDefaultMotionState*>(body->getMotionState())->m_centerOfMassOffset = TransformAt(kPinCentreOfMassOffset);
    body->setGravity(btVector3(0, PIN_GRAVITY, 0));
    m_pinBody[n] = body;
    return 1;
}

// ---- Oil ----

void CcdPhysicsDemo::SetOilPattern(int pattern) { ::SetOilPattern(this, pattern); }

int CcdPhysicsDemo::SetFloorFriction(const float* position, int computerPlayer)
{
    if (!m_floorBody) return 0;
    m_floorBody->setFriction(GetLaneFriction(this, position, computerPlayer, frictionMult));
    return 1;
}

// ---- Game set-up and tear-down ----

int CreatePhysicsWorld()
{
    if (physics) DisposePhysicsWorld();
    void* block = nullptr;
    if (!AllocateClearedMemory(&block, int(sizeof(CcdPhysicsDemo))) || !block)
        return PrintError("physics: no memory for the physics world");
    CcdPhysicsDemo* world = ::new (block) CcdPhysicsDemo();
    if (!world->initPhysics()) {
        delete world;
        return 0;
    }
    world->m_dynamicsWorld->setDebugDrawer(&gDebugDraw);
    world->SetOilPattern(gGameOptions.oilPattern);
    gDebugDraw.setDebugMode(0);
    physics = world;
    return 1;
}

int DisposePhysicsWorld()
{
    CcdPhysicsDemo* world = physics;
    physics = nullptr;
    delete world;
    return 1;
}
