// The physics world of the lane: one rigid-body world per game holding the lane bed, the approach,
// the two gutters, the walls of the pit, the two bumpers, the ball and the ten pins. The game loop
// creates it at set-up (CreatePhysicsWorld) and disposes of it at tear-down (DisposePhysicsWorld);
// the ball and pin actors create their bodies here, read the bodies' transforms back every frame,
// and the ball sets the lane friction under itself from the oil (SetFloorFriction).
//
// Units and axes. The game works in units of 1/24 foot with X across the lane (0 on the centre
// line), Y from the foul line towards the pins and Z up; the head pin stands at Y 1440. The world
// works in metres with y up: a body's origin (x, y, z) is the actor's (X, Z, Y) x kMetresPerUnit,
// and the way back multiplies by kUnitsPerMetre. The lane is modelled at twice its real size, with
// real gravity.
//
// Friction. Bullet combines the frictions of two touching bodies by multiplying them, so the
// friction the ball feels on the lane is the ball's own friction (from its ball data) times the
// lane bed's friction (from the oil). The pins' and the bumpers' frictions combine the same way.
//
// Ownership. Every library object, shape and body is allocated through the physics library's
// allocator, which the game routes to its memory manager (InstallPhysicsAllocator); the world
// object itself comes zero-filled from the memory manager. An allocation that fails leaves its
// pointer null: the operation that needed it returns 0 and later calls skip what is missing.
// Every body pointer below may be null (not made yet, failed, or the world disposed), so callers
// check before use.
#pragma once

#include <btBulletDynamicsCommon.h>

#include "game/actors.h"
#include "game/lane.h"
#include "game/oil.h"
#include "lib/matrix.h"

// ---- Units and constants ----

constexpr float kMetresPerUnit = 0.0254000508f;  // 1 / 39.37
constexpr float kUnitsPerMetre = 39.37f;
constexpr float kMetresPerModelFoot = 0.6096013f;  // collision models are in feet: 24 / 39.37

constexpr float WORLD_GRAVITY = -9.8f;  // m/s^2 along y
constexpr float PIN_GRAVITY = -9.8f;    // each pin's own gravity

// The world advances 1 / (kPhysicsFrameRate + the update-rate offset) seconds per game frame, in
// substeps of kPhysicsSubstep seconds, at most kPhysicsMaxSubsteps of them.
constexpr float kPhysicsFrameRate = 34.0f;
constexpr float kPhysicsSubstep = 1.0f / 60.0f;
constexpr int kPhysicsMaxSubsteps = 20;

constexpr float kBallRadius = 0.218f;       // ballShape
constexpr float kBallSmallRadius = 0.209f;  // ballSmallShape: the ball in a gutter
constexpr float kPinMass = 1.344f;
constexpr float kPinBodyFriction = 0.3f;
constexpr float kPinLinearDamping = 0.05f;
constexpr float kPinAngularDamping = 0.2f;
constexpr float kLaneFriction = 0.33f;    // lane bed and approach before the oil, x frictionMult
constexpr float kGutterFriction = 0.15f;  // x frictionMult
// Height of a pin body's origin above the lane: the pin actor stands at Z 15.
constexpr float kPinStandingZ = 15.0f;

// Bumper heights (origin y, metres): raised they stop the ball, lowered they sit under the gutters.
constexpr float kBumperRaisedY = 0.1f;
constexpr float kBumperLoweredY = -0.5f;

// ---- Conversions between game and world coordinates ----

inline btVector3 GameToPhysics(float x, float y, float z)
{
    return btVector3(x * kMetresPerUnit, z * kMetresPerUnit, y * kMetresPerUnit);
}
// out[0..2] = game X, Y, Z.
inline void PhysicsToGame(const btVector3& p, float* out)
{
    out[0] = p.x() * kUnitsPerMetre;
    out[1] = p.z() * kUnitsPerMetre;
    out[2] = p.y() * kUnitsPerMetre;
}
// Swapping two axes mirrors space, so the rotation's sense turns round: (x, y, z, w) <-> (x, z, y, -w).
inline btQuaternion GameToPhysicsRotation(const quaternion& q) { return btQuaternion(q.x, q.z, q.y, -q.w); }
inline quaternion PhysicsToGameRotation(const btQuaternion& q) { return quaternion{q.x(), q.z(), q.y(), -q.w()}; }

// ---- Debug drawing ----

// The library's debug drawer. Nothing is drawn on this platform (the mode stays 0); the library's
// warnings are written to the standard output as they are.
class myDebugDraw : public btIDebugDraw {
public:
    myDebugDraw() : m_debugMode(0) {}

    void drawLine(const btVector3& from, const btVector3& to, const btVector3& color) override;
    void drawContactPoint(const btVector3& pointOnB, const btVector3& normalOnB, btScalar distance, int lifeTime,
                          const btVector3& color) override;
    void reportErrorWarning(const char* warningString) override;
    void draw3dText(const btVector3& location, const char* textString) override;
    void setDebugMode(int debugMode) override { m_debugMode = debugMode; }
    int getDebugMode() const override { return m_debugMode; }

    int m_debugMode;
};

// ---- The world ----

class BaseApplication {
public:
    BaseApplication();
    virtual ~BaseApplication();

    // One step of the world, run once per game frame while the game is not paused. Does nothing
    // while m_idle is set.
    void Move();
    virtual void ClientMove() = 0;

    // A body of `shape` at `startTransform` with a default motion state and the library's default
    // settings (friction 0.5, restitution 0, no damping), added to the world; a mass of 0 makes a
    // static body. Null when there is no world or shape, or an allocation fails.
    btRigidBody* localCreateRigidBody(float mass, const btTransform& startTransform, btCollisionShape* shape);

    btDynamicsWorld* m_dynamicsWorld;    // null until initPhysics
    btCollisionShape* m_shootBoxShape;  // never used
    int m_debugMode;
    bool m_idle;
};

// The lane's world. It also carries the lane's oil (the laneOil_tag base: DefaultOil,
// oilPatternNum, m_pOilPattern, m_pOilZones, m_iPatternNumZones).
class CcdPhysicsDemo : public BaseApplication, public laneOil_tag {
public:
    CcdPhysicsDemo();
    // Runs exitPhysics.
    ~CcdPhysicsDemo() override;
    // The object's storage belongs to the memory manager (see CreatePhysicsWorld); deleting it
    // gives the storage back there. It is never made with a plain new.
    static void operator delete(void* p) noexcept;
    static void* operator new(size_t) = delete;

    // Creates the shared shapes (all but the wall, bumper, gutter and pin shapes) and the world:
    // collision configuration (pools of 256 manifolds and 256 algorithms), dispatcher, dynamic
    // AABB tree broadphase, sequential impulse solver, discrete dynamics world with gravity
    // (0, WORLD_GRAVITY, 0). Adds no body. 0 when the world or a shape could not be made; what
    // could be made stays, and exitPhysics deletes it. A second call starts over.
    int initPhysics();
    // Removes and deletes every body with its motion state, then every shape, then the world,
    // the solver, the broadphase, the dispatcher and the configuration. Every pointer is cleared,
    // so a second call, or a call on a world that never got its objects, does nothing.
    void exitPhysics();
    // Steps the world by 1 / (34 + the update-rate offset) seconds in substeps of 1/60 s.
    void ClientMove() override;

    // The static bodies. Each returns 1 when its bodies were made, 0 when the world or a shape or
    // body is missing. Walls and bumpers make their shape on the first call and reuse it; a second
    // call adds a second set of bodies (the members point at the newest). The walls and bumpers
    // are boxes that are thick behind their faces, so nothing fast passes through them: their
    // bodies' origins lie behind the faces, not on them (move them with SetBumpersRaised).
    int AddFloorCollision();
    // The two gutters' triangle meshes from items 1 and 2 of alley `area`'s collision environment
    // (CreateCollisionEnvironment must have loaded it). An alley without a collision group, or a
    // gutter model without faces, has no gutter body: 1 all the same. The meshes are made once
    // and reused by a later call; 0 for an alley number out of range, a loaded group whose
    // gutter items are not linked, or a failed allocation.
    int AddGutterCollision(int area);
    int AddBumperCollision();
    int AddWallCollision();
    // Raises both bumpers (origin y kBumperRaisedY) or lowers them under the gutters
    // (kBumperLoweredY), keeping their places across and along the lane, and wakes them. 0 when
    // a bumper body is missing.
    int SetBumpersRaised(int raised);
    // The ball body at the ball actor's position, with the mass, friction and gravity of the
    // current player's selected ball, replacing an earlier ball body. Whenever a substep would
    // carry it further than half its radius it sweeps its motion, so that no speed takes it
    // through a bumper or wall. 0 for a null actor, no current player or selected ball, a mass
    // that is not positive, or a failed allocation.
    int AddBallCollision(actor_tag* ball);
    // Gives the ball body the small sphere (the ball in a gutter) when `small` is not 0, else the
    // full sphere. The actor is not used. 0 when there is no ball body.
    int SetBallCollisionShape(actor_tag* ball, int small);
    // The body of pin `pin->team` (0..9) at the pin actor's position, standing, replacing the
    // pin's earlier body and compound shape. 0 for a null actor, a team outside 0..9 or a failed
    // allocation (the pin then has no body).
    int AddPinCollision(actor_tag* pin);

    // Selects oil pattern 1..9 and fills the grid (any other number selects pattern 1 and sets
    // the oil pattern option back to 1).
    void SetOilPattern(int pattern);
    // Sets the lane bed's friction for the ball at position[0] = game X, position[1] = game Y,
    // from the oil there (see GetLaneFriction). The caller passes whether the current player is
    // a computer (controller assignment 1), who always bowls on the same middling oil. 0 when
    // there is no lane bed body.
    int SetFloorFriction(const float* position, int computerPlayer);

    btAlignedObjectArray<btCollisionShape*> m_collisionShapes;  // deleted by exitPhysics; nothing adds to it
    btBroadphaseInterface* m_broadphase;
    void* m_colThreadSupport;  // always null
    btCollisionDispatcher* m_dispatcher;
    btConstraintSolver* m_solver;
    btCollisionAlgorithmCreateFunc* m_boxBoxCF;  // never set
    btDefaultCollisionConfiguration* m_collisionConfiguration;

    btRigidBody* m_floorBody;  // the lane bed under the oil
    btRigidBody* m_floorBody2;  // never made
    btRigidBody* m_floorApproachBody;
    btRigidBody* m_gutterLeftBody;
    btRigidBody* m_gutterRightBody;
    btRigidBody* m_ballBody;
    btRigidBody* m_pinBody[kNumPins];  // by pin index 0..9 (the pin actor's team)
    btRigidBody* m_wallBodyBack;
    btRigidBody* m_wallBodyLeft;
    btRigidBody* m_wallBodyRight;
    btRigidBody* m_bumperLeftBody;
    btRigidBody* m_bumperRightBody;

    // The shapes, owned by the world and shared by its bodies.
    btBoxShape* floorOilShape;
    btBoxShape* floorApproachShape;
    btSphereShape* ballShape;
    btSphereShape* ballSmallShape;
    btCylinderShape* pinCylinderShape;
    btSphereShape* pinSphereShape1;
    btSphereShape* pinSphereShape2;
    btSphereShape* pinSphereShape3;
    btBoxShape* wallShape;    // made by AddWallCollision
    btBoxShape* bumperShape;  // made by AddBumperCollision
    btTriangleMesh* leftGutterTrimesh;
    btTriangleMesh* rightGutterTrimesh;
    btBvhTriangleMeshShape* leftGutterShape;
    btBvhTriangleMeshShape* rightGutterShape;
    btCompoundShape* pinCompoundShape[kNumPins];
};

// ---- Module state ----

// The game's world, from CreatePhysicsWorld to DisposePhysicsWorld; null outside a game.
extern CcdPhysicsDemo* physics;
// Every friction set by the world (and the dry lane's off the oil) is multiplied by it; 1.0.
extern float frictionMult;
extern myDebugDraw gDebugDraw;

// The world's update-rate offset (0 in the game): each frame advances 1 / (34 + offset) seconds.
void SetPhysicsUpdateRateOffset(float offset);
float GetPhysicsUpdateRateOffset();

// Game set-up: a zero-filled CcdPhysicsDemo from the memory manager, constructed, initPhysics,
// the debug drawer (mode 0) and the oil pattern of the game options; stored in `physics`. 0 when
// the world cannot be made: `physics` stays null and nothing is left allocated. A world left over
// from an earlier game is disposed of first.
int CreatePhysicsWorld();
// Game tear-down: clears `physics` first (so that nothing reaches the world while it goes), then
// exitPhysics and the object's storage. 1 also when there is no world.
int DisposePhysicsWorld();
