// The pin actors: tying each to its body, the first fall that gives a pin its rolling mass,
// standing pins back on their spots, parking them below the lane, and counting the pins down.
#include "game/pins.h"

#include <cmath>

#include "game/actors.h"
#include "game/areas.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/records.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "platform/lighting.h"
#include "shell/actordraw.h"
#include "shell/scenedraw.h"

const float PIN_X[10] = {0.0f, -0.5f, 0.5f, -1.0f, 0.0f, 1.0f, -1.5f, -0.5f, 0.5f, 1.5f};
const float PIN_Y[10] = {60.0f, 60.866f, 60.866f, 61.732f, 61.732f, 61.732f, 62.598f, 62.598f, 62.598f, 62.598f};

RigidBody_tag pins[kLastPin + 1];
DS3_model_tag* pinModel = nullptr;

// Physics of a pin lying on the deck, so that it rolls instead of stopping dead. The offset (world
// units) is added, in metres, to the Z component of the rolling inertia.
static const float PIN_ROLLING_MASS = 1.344f;
static const float ROLL_CENTER_OF_MASS_OFFSET_Z = -1.4f;
static const float PIN_ROLLING_GRAVITY = -7.3f;
static const float PIN_FRICTION = 0.3f;

static const int kPinModelRSID = kPinModel;
static const float kPinScale = 2.0f;
static const float kPinRestitution = 0.75f;
static const float kLaneSpacing = 192.0f;  // world units from one lane's centre to the next
static const float kDeckEndY = 1512.0f;    // past this a pin is in the pit
static const float kDegreesPerRadian = 57.2957795f;
static const float kDownTiltDegrees = 9.0f;
static const float kLyingTiltDegrees = 89.0f;
static const btVector3 kParkedOrigin(0.0f, -100.0f, 0.0f);  // metres, far below the lane

// Right-handed leaves of the spares rounds, pin numbers ending at the first 0.
static const int kSparesRightHanded[kSparesRoundLeaves][6] = {
    {5}, {10}, {1, 2, 3}, {1, 2, 4, 7}, {3, 9},                   // rounds 0-4
    {2, 4, 5}, {3, 6, 10}, {2, 4, 5, 8}, {2, 7}, {1, 2, 4, 10},  // 5-9
    {6, 10}, {2, 7, 10}, {4, 6, 7, 8, 10}, {5, 10}, {9, 10},     // 10-14
    {3, 8, 10}, {4, 7, 9, 10}, {4, 6, 7, 10}, {7, 10},           // 15-18
};
// A left-handed bowler gets the same leaves seen in a mirror.
static const int kMirroredPin[kLastPin + 1] = {0, 1, 3, 2, 6, 5, 4, 10, 9, 8, 7};

static int IsPinNumber(int pin) { return pin >= kFirstPin && pin <= kLastPin; }

static btRigidBody* PinBody(int pin) { return physics ? physics->m_pinBody[pin - 1] : nullptr; }

// Angle in degrees between the pin's axis and the vertical, whatever the direction of the tilt
// and the turn about its own axis.
static float TiltDegrees(const quaternion& q)
{
    float lengthSq = q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w;
    if (lengthSq <= 0.0f) return 0.0f;
    // Z of the rotated Z axis.
    float upZ = 1.0f - 2.0f * (q.x * q.x + q.y * q.y) / lengthSq;
    if (upZ > 1.0f) upZ = 1.0f;
    if (upZ < -1.0f) upZ = -1.0f;
    return std::acos(upZ) * kDegreesPerRadian;
}

static void CopyActorToRecord(RigidBody_tag& record, const actor_tag* a)
{
    record.vPosition = {a->Xlocation, a->Ylocation, a->Zlocation};
    record.qOrientation = a->actorRotation;
}

static void PlaceOnSpot(actor_tag* a, int pin)
{
    a->Xlocation = PIN_X[pin - 1] * kUnitsPerFoot;
    a->Ylocation = PIN_Y[pin - 1] * kUnitsPerFoot;
    a->Zlocation = kPinStandingZ;
    a->Xscale = a->Yscale = a->Zscale = kPinScale;
    a->actorRotation = {0.0f, 0.0f, 0.0f, 1.0f};
    a->Xangle = a->Yangle = a->heading = 0.0f;
}

// A new standing body for the pin at its actor, replacing the old one in the world.
static int BuildPinBody(int pin)
{
    if (!physics->AddPinCollision(pins[pin].theActor) || !PinBody(pin))
        return PrintError("pin %d: its physics body could not be made", pin);
    PinBody(pin)->setRestitution(kPinRestitution);
    return 1;
}

static void SwitchToRolling(btRigidBody* body)
{
    btVector3 inertia(0.0f, 0.0f, 0.0f);
    body->getCollisionShape()->calculateLocalInertia(PIN_ROLLING_MASS, inertia);
    inertia.setZ(inertia.z() + ROLL_CENTER_OF_MASS_OFFSET_Z * kMetresPerUnit);
    body->setMassProps(PIN_ROLLING_MASS, inertia);
    body->updateInertiaTensor();
    body->setGravity(btVector3(0.0f, PIN_ROLLING_GRAVITY, 0.0f));
    body->setFriction(PIN_FRICTION);
}

static const TITLE_PlayerInfoStruct* CurrentPlayer()
{
    if (gCurrPlayer < 0 || gCurrPlayer >= kMaxPlayers) {
        PrintError("pins: no player %d", gCurrPlayer);
        return nullptr;
    }
    return &gPlayerInfo[gCurrPlayer];
}

int InitPinModel()
{
    pinModel = static_cast<DS3_model_tag*>(ReadResource(kPinModelRSID));
    if (!pinModel) return PrintError("InitPinModel: the pin model %d could not be read", kPinModelRSID);
    return 1;
}

void DisposePinModel() { pinModel = nullptr; }

int AddPinActor(int pin, actor_tag** out)
{
    if (!IsPinNumber(pin)) return PrintError("AddPinActor: no pin %d", pin);
    if (!physics) return PrintError("AddPinActor: pin %d needs the physics world", pin);

    actor_tag* a = nullptr;
    if (!AddActor(0.0f, 0.0f, 0.0f, kActorPin, &a)) return 0;
    PlaceOnSpot(a, pin);
    a->actorModel = pinModel;
    a->actorDrawFunction = DrawPin;
    a->motionHandler = MovePin;
    a->actorFlags |= 1;
    a->team = u8(pin - 1);

    RigidBody_tag& record = pins[pin];
    record.theActor = a;
    record.upright = 1;
    record.physicsChanged = 0;
    CopyActorToRecord(record, a);

    if (!BuildPinBody(pin)) {
        record.theActor = nullptr;
        DisposeActor(a);
        return 0;
    }
    if (out) *out = a;
    return 1;
}

int ResetPinActor(int pin)
{
    if (!IsPinNumber(pin)) return PrintError("ResetPinActor: no pin %d", pin);
    RigidBody_tag& record = pins[pin];
    if (!record.theActor) return PrintError("ResetPinActor: pin %d was never made", pin);
    if (!physics) return PrintError("ResetPinActor: pin %d needs the physics world", pin);

    actor_tag* a = record.theActor;
    PlaceOnSpot(a, pin);
    a->visible = 1;
    record.upright = 1;
    record.physicsChanged = 0;
    CopyActorToRecord(record, a);
    if (!BuildPinBody(pin)) return 0;
    PinBody(pin)->activate(true);
    return 1;
}

int ParkPin(int pin)
{
    if (!IsPinNumber(pin)) return PrintError("ParkPin: no pin %d", pin);
    RigidBody_tag& record = pins[pin];
    if (!record.theActor) return PrintError("ParkPin: pin %d was never made", pin);

    record.theActor->visible = 0;
    record.upright = 0;
    record.physicsChanged = 0;
    btRigidBody* body = PinBody(pin);
    if (!body) return 1;
    body->activate(true);
    btTransform parked = body->getWorldTransform();
    parked.setOrigin(kParkedOrigin);
    body->setCenterOfMassTransform(parked);
    if (body->getMotionState()) body->getMotionState()->setWorldTransform(parked);
    return 1;
}

int MovePin(actor_tag* a)
{
    if (!a || a->team >= kNumPins) return 1;
    int pin = a->team + 1;
    btRigidBody* body = PinBody(pin);
    if (!body) return 1;

    const btTransform& transform = body->getWorldTransform();
    float location[3];
    PhysicsToGame(transform.getOrigin(), location);
    a->Xlocation = location[0];
    a->Ylocation = location[1];
    a->Zlocation = location[2];
    a->actorRotation = PhysicsToGameRotation(transform.getRotation());
    MakeEulerAnglesFromQ(&a->actorRotation, &a->Xangle, &a->Yangle, &a->heading);

    RigidBody_tag& record = pins[pin];
    CopyActorToRecord(record, a);

    // Lying down on the deck, whichever way it fell; a pin in the pit keeps its standing physics.
    if (!record.physicsChanged && a->Ylocation < kDeckEndY && TiltDegrees(a->actorRotation) > kLyingTiltDegrees) {
        record.physicsChanged = 1;
        SwitchToRolling(body);
    }
    return 1;
}

int DrawPin(actor_tag* pin)
{
    if (!pin) return 1;
    // Lit as pins are, then the game's lights again for whatever is drawn next.
    RenderSetLights(pin->actorType < kNumActorLights ? &gActorLights[pin->actorType] : &gGameLights);
    DrawActorModel(pin);
    RenderSetLights(&gGameLights);
    return 1;
}

float GetLaneXOffset()
{
    const TITLE_PlayerInfoStruct* player = CurrentPlayer();
    if (!player) return 0.0f;
    return float(player->laneNum - 1) * kLaneSpacing;
}

int SelectSparesRoundPins(int round)
{
    for (int pin = kFirstPin; pin <= kLastPin; ++pin)
        if (pins[pin].theActor) ParkPin(pin);
    if (round < 0 || round >= kSparesRoundLeaves) return 1;

    const TITLE_PlayerInfoStruct* player = CurrentPlayer();
    int leftHanded = player && player->leftHanded;
    for (int pin : kSparesRightHanded[round]) {
        if (!pin) break;
        ResetPinActor(leftHanded ? kMirroredPin[pin] : pin);
    }
    return 1;
}

int PinKnockedDown(int pin)
{
    if (!IsPinNumber(pin)) return PrintError("PinKnockedDown: no pin %d", pin);
    const actor_tag* a = pins[pin].theActor;
    if (!a) return PrintError("PinKnockedDown: pin %d was never made", pin);
    // Tested on the tilt of the pin's axis, so that a pin leaning sideways counts as much as one
    // leaning forwards or backwards.
    return a->Zlocation < 0.0f || TiltDegrees(a->actorRotation) >= kDownTiltDegrees;
}

int GetStandingPinMask(int* mask)
{
    if (!mask) return PrintError("GetStandingPinMask: no mask to fill");
    *mask = 0;
    for (int pin = kFirstPin; pin <= kLastPin; ++pin)
        if (pins[pin].theActor && pins[pin].upright && !PinKnockedDown(pin)) *mask |= 1 << (15 - pin);
    return 1;
}
