// The ball actor: its set-up for each ball, the motion handler that hands the ball between the
// bowler and the physics body, the gutter and end-of-roll checks, its sounds, and the drawing of
// the ball, its shadow, aim line, oil and bumpers.
#include "game/ball.h"

#include <cmath>

#include "game/actors.h"
#include "game/areas.h"
#include "game/camera.h"
#include "game/characters.h"
#include "game/computer.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/lane.h"
#include "game/music.h"
#include "game/oil.h"
#include "game/physics.h"
#include "game/records.h"
#include "game/replay.h"
#include "game/scoring.h"
#include "lib/matrix.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/bitmap.h"
#include "platform/camera.h"
#include "platform/frame.h"
#include "platform/lighting.h"
#include "platform/model.h"
#include "platform/quads.h"
#include "platform/shaders.h"
#include "platform/sound.h"
#include "platform/utilities.h"
#include "shell/actordraw.h"
#include "shell/scenedraw.h"
#include "shell/settings.h"
#include "shell/upperlayers.h"

const float BALL_VELOCITY_DAMPEN = 0.78f;
const float BALL_MAX_ROTATION_SPEED = 28.0f;
const float BALL_MAX_ROTATION_Y = -1750.0f;

// Ball state.
static const float radius = 0.354f;  // the ball actor rests at Z radius + 2 when made
static int timer = 0;                 // ms spent waiting for the pins after the ball
static int releaseTimer = 0;          // ms since the body was launched
static int collided = 0;              // 1 once the body has been launched
static int ballHitPinsPlayed = 0;
static int ballHitLanePlayed = 0;
static float initialBallVel = 0.0f;   // the speed shown to the player
static float initialVx = 0.0f;        // launch velocity across and down the lane, feet per second
static float initialVy = 0.0f;
static float initialRotx = 0.0f;      // launch spin, radians per second
static float initialRoty = 0.0f;

static DS3_model_tag* ballModel = nullptr;
static DS3_model_tag* ballShadowModel = nullptr;
static DS3_model_tag* ballReflTopModel = nullptr;
static DS3_model_tag* ballReflBotModel = nullptr;
static DS3_model_tag* aimModel = nullptr;
static DS3_model_tag* aimPosLModel = nullptr;
static DS3_model_tag* aimPosRModel = nullptr;
static DS3_model_tag* aimAngleLModel = nullptr;
static DS3_model_tag* aimAngleRModel = nullptr;
static DS3_model_tag* oilModel = nullptr;
static DS3_model_tag* bumperModel = nullptr;

static const float kDegreesToRadians = 0.017453292f;
static const float kMaxReleaseAngle = 0.7853982f;  // 45 degrees
// A throw in feet per second becomes world units per logic step, and those metres per second.
static const float kFeetPerSecondToUnitsPerStep = 24.0f * 0.016f;
static const float kUnitsPerStepToMetresPerSecond = 1.5240031f;

static const float kNewBallZ = 4.708f;
static const float kPitZ = -4.0f;         // below this the ball has dropped into the pit
static const float kGutterX = kLaneHalfWidth;      // a ball centre further out is in a gutter
static const float kFullSpeedY = 288.0f;  // past this the world runs at its normal rate
static const float kPinSoundY = 1320.0f;  // near enough to the pins to listen for a touch
static const float kLaneSoundZ = 10.0f;   // low enough to be rolling on the lane
static const int kRollLimitMs = 15000;    // a ball ends this long after its release in any case
static const int kSettleLimitMs = 4000;   // then the pins get this long to come to rest
static const int kSparesSettleLimitMs = 8000;
static const int kSparesChallenge = 9;    // game type

static const int kRollingSound = kSoundBallRolls;
static const int kLaneHitSound = kSoundBallLands;

// The bowler's place on the approach for each new ball.
static const float kBowlerResetX = 0.0f;
static const float kBowlerResetY = -264.0f;
// How far from the lane centre the bowler may place the ball, without and with the bumpers up.
static const float kPlaceReach = kLaneHalfWidth;
static const float kPlaceReachBumpers = 35.0f;
// Half the width the aim heading allows for, without and with the bumpers up, and the heading
// limit in degrees from the lane centre.
static const float kAimHalfWidth = 22.5f;
static const float kAimHalfWidthBumpers = 17.5f;
static const float kAimLimit = 10.0f;
static const int kReleasePose = 1303;  // the throw, held at its release frame while aiming

// The bumpers are made with the library's default friction; a gutter ball takes it away (so a
// ball dropping past a lowered bumper cannot grab it) and the next ball gives it back.
static const float kBumperFriction = 0.5f;

static const int kBallModelRSID = kBallModel;
static const int kBallShadowRSID = kBallShadowModel;
static const int kBallReflTopRSID = kBallReflTopModel;
static const int kBallReflBotRSID = kBallReflBotModel;
static const int kBumperModelRSID = kBumperModel;
static const int kAimModelRSID = kAimModel;
static const int kAimPosLRSID = kAimPosLModel;
static const int kAimPosRRSID = kAimPosRModel;
static const int kAimAngleLRSID = kAimAngleLModel;
static const int kAimAngleRRSID = kAimAngleRModel;
static const int kOilModelRSID = kOilModel;

// Drawing: the shadow's place under a ball on the lane and its scale, the box in which a ball has
// a shadow, the oil overlay's see-through alpha and the group of its pattern textures.
static const float kShadowZ = 8.59f;
static const float kShadowScale = 2.0f;
static const float kShadowTopZ = 12.0f;
static const float kDeckEndY = 1512.0f;
static const int kOilAlpha = 160;

static btRigidBody* BallBody() { return physics ? physics->m_ballBody : nullptr; }
static btRigidBody* PinBody(int index) { return physics ? physics->m_pinBody[index] : nullptr; }

static TITLE_PlayerInfoStruct* CurrentPlayer()
{
    if (gCurrPlayer < 0 || gCurrPlayer >= kMaxPlayers) {
        PrintError("ball: no player %d", gCurrPlayer);
        return nullptr;
    }
    return &gPlayerInfo[gCurrPlayer];
}

static int CurrentPlayerIsComputer() { return GetControllerAssignment(gCurrPlayer) == kAssignmentComputer; }

// The frame of the throw at which the ball leaves the hand, by the bowler's body mesh.
static float ReleaseFrame(int bodyMeshRSID)
{
    switch (bodyMeshRSID) {
    case 939: case 1019: return 70.0f;
    case 946: return 66.0f;
    case 953: case 1011: return 64.0f;
    case 960: return 65.0f;
    default: return 61.0f;
    }
}

static int IsFinite(float v) { return std::isfinite(v) ? 1 : 0; }

// A ball the world can roll: some mass, no negative friction, and a pull down.
static int IsRollingBall(float mass, float friction, float gravity)
{
    return IsFinite(mass) && IsFinite(friction) && IsFinite(gravity) && mass > 0.0f && friction >= 0.0f &&
           gravity < 0.0f;
}

// Gives the ball body the mass, friction and gravity of the ball the current player bowls with.
// Done for every new ball, so that each player throws their own ball and nothing one bowler does
// to the body (a computer bowler sets its own friction) carries over to the next.
static int ApplyPlayerBall(btRigidBody* body)
{
    const TITLE_PlayerInfoStruct* player = CurrentPlayer();
    if (!body || !player) return 0;
    if (player->ballSelected < 0 || player->ballSelected >= kBallsPerPlayer)
        return PrintError("ball: player %d has no ball %d", gCurrPlayer, player->ballSelected);
    const BallDataTag& data = player->ballData[player->ballSelected];
    if (!IsRollingBall(data.mass, data.friction, data.gravity))
        return PrintError("ball: player %d's ball %d cannot roll (mass %f, gravity %f)", gCurrPlayer,
                          player->ballSelected, double(data.mass), double(data.gravity));
    btVector3 inertia(0.0f, 0.0f, 0.0f);
    body->getCollisionShape()->calculateLocalInertia(data.mass, inertia);
    body->setMassProps(data.mass, inertia);
    body->updateInertiaTensor();
    body->setFriction(data.friction * frictionMult);
    body->setGravity(btVector3(0.0f, data.gravity, 0.0f));
    return 1;
}

static void SetBumperFriction(float friction)
{
    if (!physics) return;
    if (physics->m_bumperLeftBody) physics->m_bumperLeftBody->setFriction(friction);
    if (physics->m_bumperRightBody) physics->m_bumperRightBody->setFriction(friction);
}

// A pin is still moving while it is in play on the deck and its body is awake.
static int AnyPinMoving()
{
    for (int i = 0; i < kNumPins; ++i) {
        const actor_tag* pin = pinActors[i];
        const btRigidBody* body = PinBody(i);
        if (pin && body && pin->visible && pin->Zlocation >= 0.0f && body->getActivationState() != ISLAND_SLEEPING)
            return 1;
    }
    return 0;
}

// Puts the body at the ball actor and sends it off with the throw.
static void LaunchBody(const actor_tag* ball, btRigidBody* body)
{
    // A zeroed rotation has no axis to turn about; such a ball starts upright.
    quaternion q = ball->actorRotation;
    if (!(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w > 1e-12f)) q = {0.0f, 0.0f, 0.0f, 1.0f};
    btTransform start;
    start.setIdentity();
    start.setOrigin(GameToPhysics(ball->Xlocation, ball->Ylocation, ball->Zlocation));
    start.setRotation(GameToPhysicsRotation(q));
    if (body->getMotionState()) body->getMotionState()->setWorldTransform(start);
    body->setCenterOfMassTransform(start);
    const btVector3 perStep(ball->Xvelocity, ball->Zvelocity, ball->Yvelocity);
    body->setLinearVelocity(perStep * kUnitsPerStepToMetresPerSecond);
    body->setAngularVelocity(btVector3(initialRotx, 0.0f, -initialRoty));
    body->activate(true);
    for (int i = 0; i < kNumPins; ++i)
        if (btRigidBody* pin = PinBody(i)) pin->activate(true);
}

// The first touch of the lane starts the rolling sound; the first touch of a pin still in play
// plays the pin sound and stops the rolling.
static void ListenForContacts(const btRigidBody* ball)
{
    btDispatcher* dispatcher = physics->m_dynamicsWorld ? physics->m_dynamicsWorld->getDispatcher() : nullptr;
    if (!dispatcher) return;
    const int volume = gGameOptions.soundFXVolume;
    for (int m = 0; m < dispatcher->getNumManifolds(); ++m) {
        const btPersistentManifold* manifold = dispatcher->getManifoldByIndexInternal(m);
        if (manifold->getNumContacts() < 1) continue;
        const btRigidBody* a = btRigidBody::upcast(manifold->getBody0());
        const btRigidBody* b = btRigidBody::upcast(manifold->getBody1());
        if (!a || !b || (a != ball && b != ball)) continue;
        const btRigidBody* other = a == ball ? b : a;

        if (other == physics->m_floorBody && !ballHitLanePlayed) {
            SetChannelVolume(gameSoundChannel, volume);
            SoundSetLoopCount(gameSoundChannel, 0);
            SoundStartResource(gameSoundChannel, kRollingSound);
            SoundPlayResource(kLaneHitSound, u8(volume), 1);
            ballHitLanePlayed = 1;
        }
        if (!ballHitPinsPlayed) {
            for (int i = 0; i < kNumPins; ++i) {
                if (other == physics->m_pinBody[i] && pinActors[i] && pinActors[i]->visible) {
                    PlayBallHitPinSound(i + 1);
                    ballHitPinsPlayed = 1;
                    SoundCancel(gameSoundChannel);
                    break;
                }
            }
        }
    }
}

static int LoadModel(int rsid, DS3_model_tag** out)
{
    *out = static_cast<DS3_model_tag*>(ReadResource(rsid));
    if (!*out) return PrintError("ball: model %d could not be read", rsid);
    return 1;
}

int InitBallModel()
{
    return LoadModel(kBallModelRSID, &ballModel) && LoadModel(kBallShadowRSID, &ballShadowModel) &&
           LoadModel(kBallReflTopRSID, &ballReflTopModel) && LoadModel(kBallReflBotRSID, &ballReflBotModel);
}

int InitAimModel()
{
    return LoadModel(kAimModelRSID, &aimModel) && LoadModel(kAimPosLRSID, &aimPosLModel) &&
           LoadModel(kAimPosRRSID, &aimPosRModel) && LoadModel(kAimAngleLRSID, &aimAngleLModel) &&
           LoadModel(kAimAngleRRSID, &aimAngleRModel) && LoadModel(kOilModelRSID, &oilModel) &&
           LoadModel(kBumperModelRSID, &bumperModel);
}

// The models live in the lane objects' resources, freed at the game's tear-down: forget them so
// that nothing draws from freed memory afterwards.
void DisposeBallModel()
{
    ballModel = ballShadowModel = ballReflTopModel = ballReflBotModel = nullptr;
}

void DisposeAimModel()
{
    aimModel = aimPosLModel = aimPosRModel = aimAngleLModel = aimAngleRModel = oilModel = bumperModel = nullptr;
}

int AddBallActor(actor_tag** out)
{
    if (!physics) return PrintError("AddBallActor: the ball needs the physics world");
    actor_tag* a = nullptr;
    if (!AddActor(0.0f, 0.0f, 0.0f, kActorBall, &a)) return 0;
    a->Zlocation = radius + 2.0f;
    a->actorModel = ballModel;
    a->actorDrawFunction = DrawBall;
    a->motionHandler = MoveBall;
    a->actorFlags |= 1;
    a->Xscale = a->Yscale = a->Zscale = 2.0f;
    a->Ylocation = 0.0f;
    a->visible = 0;
    a->team = 0;
    collided = 0;

    if (!physics->AddFloorCollision() || !physics->AddGutterCollision(areaNum) || !physics->AddBumperCollision() ||
        !physics->AddWallCollision() || !physics->AddBallCollision(a)) {
        DisposeActor(a);
        return PrintError("AddBallActor: the lane's bodies could not be made");
    }
    bowlingBall = a;
    if (out) *out = a;
    return 1;
}

int AddAimActor(actor_tag** out)
{
    actor_tag* a = nullptr;
    if (!AddActor(0.0f, 0.0f, testOptions.initialBallHeading + 180.0f, kActorAimLine, &a)) return 0;
    a->Zlocation = 0.15f;
    a->actorModel = aimModel;
    a->actorDrawFunction = DrawAimLine;
    a->motionHandler = MoveAimer;
    a->Xscale = a->Yscale = a->Zscale = 24.0f;
    a->Ylocation = 0.0f;
    aimLine = a;
    if (out) *out = a;
    return 1;
}

int AddOilActor(actor_tag** out)
{
    actor_tag* a = nullptr;
    if (!AddActor(0.0f, 0.0f, 0.0f, kActorOilOverlay, &a)) return 0;
    a->Zlocation = 0.1f;
    a->actorModel = oilModel;
    a->actorDrawFunction = DrawOil;
    a->Xscale = 24.0f;
    a->Yscale = 16.4f;
    a->Zscale = 24.0f;
    a->Ylocation = 984.0f;
    if (out) *out = a;
    return 1;
}

int AddBumperActor(actor_tag** out)
{
    actor_tag* a = nullptr;
    if (!AddActor(0.0f, 0.0f, 0.0f, kActorBumpers, &a)) return 0;
    a->Zlocation = 0.0f;
    a->actorModel = bumperModel;
    a->actorDrawFunction = DrawBumper;
    a->Xscale = 24.0f;
    a->Yscale = 22.095238f;
    a->Zscale = 24.0f;
    a->Ylocation = 1392.0f;
    if (out) *out = a;
    return 1;
}

int SetInitialBallParams(float vel, float headingDeg, float rotXDeg, float rotYDeg, float releaseXangleDeg)
{
    // The speed shown is not quite the speed thrown: a computer's reads up to 2.5 either way, a
    // person's 1.0 to 3.9 low.
    initialBallVel = vel;
    if (CurrentPlayerIsComputer()) {
        const int r = GetRandomInt(0, 25);
        const int s = GetRandomInt(1, 100);
        initialBallVel += s >= 50 ? float(r) * 0.1f : -float(r) * 0.1f;
    } else {
        const int a = GetRandomInt(1, 3);
        const int b = GetRandomInt(0, 9);
        initialBallVel -= float(a) + float(b) * 0.1f;
    }

    const float v = vel * BALL_VELOCITY_DAMPEN;
    initialVx = SIN(headingDeg * kDegreesToRadians) * v;
    initialVy = COS(headingDeg * kDegreesToRadians) * v;
    initialRotx = rotXDeg * kDegreesToRadians;
    initialRoty = rotYDeg * kDegreesToRadians;
    const float angle = releaseXangleDeg <= 45.0f ? releaseXangleDeg * kDegreesToRadians : kMaxReleaseAngle;

    if (bowlingBall) {
        bowlingBall->Xvelocity = initialVx * kFeetPerSecondToUnitsPerStep;
        bowlingBall->Yvelocity = initialVy * kFeetPerSecondToUnitsPerStep;
        bowlingBall->Zvelocity = SIN(angle) * v * kFeetPerSecondToUnitsPerStep * 0.5f;
    }
    return 1;
}

int MoveBall(actor_tag* ball)
{
    if (!ball || testOptions.testModeActive) return 1;

    if (!ball->team) {
        collided = 0;
        timer = 0;
        releaseTimer = 0;
        ballHitPinsPlayed = 0;
        SetPhysicsUpdateRateOffset(0.0f);
    }

    // The ball has dropped into the pit, or has been rolling too long: wait for the pins.
    if ((ball->team && ball->Zlocation < kPitZ) || releaseTimer > kRollLimitMs) {
        const int moving = AnyPinMoving();
        SoundCancel(gameSoundChannel);
        if (const TITLE_PlayerInfoStruct* player = CurrentPlayer()) SetControllerRumble(player->controllerSlot, 0);
        timer += updateRate;
        const int settleLimit = gGameType == kSparesChallenge ? kSparesSettleLimitMs : kSettleLimitMs;
        if (!moving || timer > settleLimit) {
            if (IsReplayActive())
                SetReplayActive(0);
            else
                UpdateFrameLogic();
            StartNewBall();
        }
    }

    btRigidBody* body = BallBody();
    if (!collided) {
        // Only a released ball is launched. The held ball's body belongs to the bowler; sending it
        // off with the last throw's velocity would roll it into the pins set up for the next ball.
        if (!ball->team) return 1;
        collided = 1;
        if (body) LaunchBody(ball, body);
        return 1;
    }

    releaseTimer += updateRate;
    if (!body) return 1;
    const btTransform& transform = body->getWorldTransform();
    float location[3];
    PhysicsToGame(transform.getOrigin(), location);
    ball->Xlocation = location[0];
    ball->Ylocation = location[1];
    ball->Zlocation = location[2];
    ball->actorRotation = PhysicsToGameRotation(transform.getRotation());

    if (ball->Xlocation > kGutterX || ball->Xlocation < -kGutterX) {
        physics->SetBallCollisionShape(ball, 1);
        SetBumperFriction(0.0f);
    }
    if (ball->Ylocation > kFullSpeedY) SetPhysicsUpdateRateOffset(0.0f);

    const float position[2] = {ball->Xlocation, ball->Ylocation};
    physics->SetFloorFriction(position, CurrentPlayerIsComputer());

    if ((!ballHitPinsPlayed && ball->Ylocation > kPinSoundY) || (!ballHitLanePlayed && ball->Zlocation < kLaneSoundZ))
        ListenForContacts(body);
    return 1;
}

int StartNewBall()
{
    if (physics) {
        physics->SetBallCollisionShape(bowlingBall, 0);
        SetBumperFriction(kBumperFriction);
    }
    if (bowlingBall) {
        bowlingBall->Xlocation = 0.0f;
        bowlingBall->Ylocation = 0.0f;
        bowlingBall->Zlocation = kNewBallZ;
        bowlingBall->actorRotation = {0.0f, 0.0f, 0.0f, 1.0f};
        bowlingBall->team = 0;
        bowlingBall->visible = 0;
    }
    collided = 0;
    releaseTimer = 0;
    timer = 0;
    ballHitPinsPlayed = 0;
    ballHitLanePlayed = 0;

    TITLE_PlayerInfoStruct* player = CurrentPlayer();
    if (!player) return 1;
    if (btRigidBody* body = BallBody()) ApplyPlayerBall(body);

    actor_tag* bowler = player->theActor;
    ResetCharacter(bowler, kBowlerResetX, kBowlerResetY);
    SetControlState(kControlPosition);

    if (!CurrentPlayerIsComputer()) {
        if (player->currFrameBallIndex == 0 || player->lastBallResult >= 10) {
            // A fresh rack: the place and heading of the frame's first ball are offered again,
            // with the ball kept on the lane.
            const float deflection = bowler ? bowler->deflection : 0.0f;
            const float reach = gPlayerInfo[0].bumpers ? kPlaceReachBumpers : kPlaceReach;
            float x = player->throw1X;
            if (x < deflection - reach) x = deflection - reach;
            if (x > deflection + reach) x = deflection + reach;
            if (bowler) bowler->Xlocation = bowler->logicalX = x;
            testOptions.initialBallHeading = player->throw1BallHeading;
            SetGameCameraX(x - deflection);
        } else {
            // Pins left standing: offer the shot the computer would pick for them.
            ShotParams_tag shot{};
            AICalculateShot(gGameOptions.oilPattern, shot);
            testOptions.initialBallHeading = shot.heading;
            SetGameCameraX(bowlingBall ? bowlingBall->Xlocation : 0.0f);
        }
    }
    player->turkey = 0;
    player->sixBagger = 0;
    return 1;
}

int SetBallCollided(int on)
{
    collided = on;
    timer = 0;
    releaseTimer = 0;
    ballHitPinsPlayed = 0;
    if (bowlingBall) {
        bowlingBall->team = on ? 1 : 0;
        bowlingBall->visible = on ? 1 : 0;
    }
    return 1;
}

float GetBallInitialVel() { return initialBallVel; }

int GetBallTopReflectionModel(DS3_model_tag** out)
{
    if (out) *out = ballReflTopModel;
    return 1;
}

int GetBallBottomReflectionModel(DS3_model_tag** out)
{
    if (out) *out = ballReflBotModel;
    return 1;
}

int ReadBallProperties(BallDataTag* ball)
{
    if (!ball) return PrintError("ReadBallProperties: no ball");
    const auto* table = static_cast<const BallProperties*>(ReadResource(kBallPropertyTable));
    resourceHeader* header = nullptr;
    if (!table || !GetResourceHeader(kBallPropertyTable, &header))
        return PrintError("ReadBallProperties: the ball property table %d could not be read", kBallPropertyTable);
    const int rows = header->resourceUncompressedLength / int(sizeof(BallProperties));
    if (ball->ballIndex >= rows) return PrintError("ReadBallProperties: no ball %d in the table", ball->ballIndex);

    const BallProperties& row = table[ball->ballIndex];
    const float gravity = row.gravity > 0.0f ? -row.gravity : row.gravity;
    if (!IsRollingBall(row.mass, row.friction, gravity))
        return PrintError("ReadBallProperties: ball %d of the table cannot roll", ball->ballIndex);
    ball->mass = row.mass;
    ball->friction = row.friction;
    ball->gravity = gravity;
    return 1;
}

// ---- Drawing ----

// The lights an actor of this type is drawn with.
static DS3_lights* ActorLights(const actor_tag* actor)
{
    const int type = actor->actorType;
    return type < kNumActorLights ? &gActorLights[type] : &gGameLights;
}

// Gives the model's texture slot the loaded bitmap rsid; a texture not loaded leaves the model as
// it is (it is drawn with the texture it has).
static void SetModelTexture(DS3_model_tag* model, int rsid)
{
    void* bitmap = nullptr;
    if (!model || rsid == 0 || !GetResourceHandle(rsid, &bitmap) || ResourceType(rsid) != kResourceTypeBitmap) return;
    SetModelMaterialBitmap(model, 0, static_cast<DS3_bitmap_tag*>(bitmap));
}

int BallTextureRSID()
{
    const TITLE_PlayerInfoStruct* player = CurrentPlayer();
    if (!player) return 0;
    // The selection indexes the player's three balls; anything else shows the first.
    const int slot = player->ballSelected >= 0 && player->ballSelected < kBallsPerPlayer ? player->ballSelected : 0;
    return player->playerData.ballRSIDDstTextureD[slot];
}

int OilTextureRSID(int pattern)
{
    if (pattern < 1 || pattern > kNumOilPatterns) return 0;
    return (kOilTextureGroup << 16) | (pattern - 1);
}

int DrawBall(actor_tag* ball)
{
    if (!ball || !ball->visible) return 1;
    RenderSetLights(ActorLights(ball));
    SetModelTexture(ball->actorModel, BallTextureRSID());
    DrawNextGenBall(ball);
    RenderSetLights(&gGameLights);
    // The shadow only while the ball rolls on the lane, not in the air or in the pit.
    if (ball->Zlocation > 0.0f && ball->Zlocation < kShadowTopZ && ball->Ylocation < kDeckEndY) RenderBallShadow(ball);
    return 1;
}

int RenderBallShadow(actor_tag* ball)
{
    if (!ball) return 1;
    // The shadow model lies a fixed height below the centre of a ball on the lane, so it is placed
    // at that height whatever the ball's own Z.
    matrix place;
    setScaleMatrix(place, kShadowScale, kShadowScale, kShadowScale);
    addTranslationMatrix(place, ball->Xlocation, ball->Ylocation, kShadowZ);
    matrix xform;
    composeMatrix(shaderViewXform, place, xform);
    return SetXform(xform) && DrawModel(ballShadowModel);
}

int AimLineHidden()
{
    // A person setting up the throw sees it, until the ball is thrown; not over the score sheet or
    // the set-up menu, and never in a replay.
    return IsReplayActive() || GetControlState() >= kControlThrowing || CurrentPlayerIsComputer() ||
           upperLayers.DSScoreOverlayActive() || upperLayers.DSStandardStartTurnOverlayActive();
}

int DrawAimLine(actor_tag* aim)
{
    if (!aim || AimLineHidden()) return 1;
    DrawActorModel(aim);
    return 1;
}

int OilOverlayHidden()
{
    // Only when the oil display is on, for a person placing or aiming the throw, outside a replay.
    return !gGameOptions.drawOil || IsReplayActive() || GetControlState() >= kControlPower || CurrentPlayerIsComputer();
}

int DrawOil(actor_tag* oil)
{
    if (!oil || OilOverlayHidden()) return 1;
    RenderSetLights(&gActorLights[kActorBall]);
    SetModelTexture(oil->actorModel, OilTextureRSID(gGameOptions.oilPattern));
    RenderSetAlphaLevel(kOilAlpha);
    DrawActorModel(oil);
    RenderSetAlphaLevel(255);
    RenderSetLights(&gGameLights);
    return 1;
}

int BumpersShown()
{
    // While the bumpers are up (or the pause menu may raise them) and stand above the lane.
    const btRigidBody* left = physics ? physics->m_bumperLeftBody : nullptr;
    const int raised = left && left->getWorldTransform().getOrigin().y() > 0.0f;
    return (gPlayerInfo[0].bumpers || gGamePaused) && raised;
}

int DrawBumper(actor_tag* bumpers)
{
    if (!bumpers || !BumpersShown()) return 1;
    DrawActorModel(bumpers);
    return 1;
}

int MoveAimer(actor_tag* aim)
{
    if (!aim || IsReplayActive() || GetControlState() >= kControlPower) return 1;
    TITLE_PlayerInfoStruct* player = CurrentPlayer();
    if (!player) return 1;

    actor_tag* bowler = player->theActor;
    if (bowler) {
        SetCharacterAnimation(bowler, kReleasePose);
        bowler->animInfo.animationFrame = ReleaseFrame(player->playerData.bodyMeshRSID);
        if (bowlingBall)
            RightHandPosition(bowler, &bowlingBall->Xlocation, &bowlingBall->Ylocation, &bowlingBall->Zlocation);
    }

    // The further the ball is to one side, the less the heading may point out that way, so that
    // the line always ends on the lane.
    const float x = bowlingBall ? bowlingBall->Xlocation : 0.0f;
    const float w = gPlayerInfo[0].bumpers ? kAimHalfWidthBumpers : kAimHalfWidth;
    float right = kAimLimit;
    float left = -kAimLimit;
    if (x >= 0.0f)
        right = ((2.0f * w - x) / (2.0f * w)) * kAimLimit;
    else
        left = ((x + 2.0f * w) / (2.0f * w)) * -kAimLimit;
    float& heading = testOptions.initialBallHeading;
    if (heading < left) heading = left;
    if (heading > right) heading = right;

    aim->heading = heading + 180.0f;
    aim->Xlocation = x;
    aim->Ylocation = 0.0f;
    return 1;
}
