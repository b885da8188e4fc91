// The ten pins. Each pin is an actor tied to one pin body of the physics world: the actor mirrors
// its body every logic step, and the first time the pin falls over on the deck the body is given
// rolling mass, inertia, gravity and friction. Pins are stood back on their spots, parked out of
// play below the lane, and set up for the rounds of the spares challenge here; the end-of-ball
// scoring reads which pins are down through PinKnockedDown.
//
// Pins are numbered 1 to 10: pin 1 the head pin, 7 and 10 the back corners. Pin n's actor has
// team n - 1, which is also the index of its body in the physics world.
#pragma once

#include "lib/matrix.h"

struct actor_tag;
struct DS3_model_tag;

constexpr int kFirstPin = 1;
constexpr int kLastPin = 10;
constexpr int kSparesRoundLeaves = 19;  // rounds 0..18 of the spares challenge have a leave
constexpr int kFullRackMask = 0x7FE0;   // pin k at bit 15 - k

// Pin spots in feet of lane, pin 1 first; 24 world units to the foot. Every pin stands at Z 15.
extern const float PIN_X[10];
extern const float PIN_Y[10];

// What the game keeps of one pin besides its actor and its body.
struct RigidBody_tag {
    actor_tag* theActor;
    VECTOR vPosition;         // world units, as the actor's location
    quaternion qOrientation;  // as the actor's actorRotation
    int upright;              // 1 while the pin is in play and counts as standing
    int physicsChanged;       // 1 once the body has been switched to rolling
};

// Record n belongs to pin n; record 0 is not a pin.
extern RigidBody_tag pins[kLastPin + 1];
extern DS3_model_tag* pinModel;

// Loads the pin model (resource 5006). 0 when it cannot be read.
int InitPinModel();
// Forgets the pin model read by InitPinModel (its resource is being freed).
void DisposePinModel();
// Makes the actor and the body of pin 1..10 on its spot and stores the actor through out when
// given. 0 for any other number, without a physics world, or when the actor or body cannot be had.
int AddPinActor(int pin, actor_tag** out);
// Stands pin 1..10 back on its spot, visible and upright, on a fresh body. 0 for any other number,
// for a pin never made, or without a physics world; nothing changes then.
int ResetPinActor(int pin);
// Takes pin 1..10 out of play: invisible, not upright, its body woken and moved far below the
// lane with its rotation kept. The scoring and the pin selection take pins out of play with it.
// 0 for any other number or a pin never made.
int ParkPin(int pin);
// The pin's motion handler: the actor follows its body, and a pin lying on the deck rolls. Always 1.
int MovePin(actor_tag* pin);
// The pin's draw handler. Always 1.
int DrawPin(actor_tag* pin);
// X of the current player's lane: (laneNum - 1) * 192 world units.
float GetLaneXOffset();
// Parks every pin, then stands the pins of spares round 0..18 for the current player's hand.
// Any other round leaves all pins parked. Always 1.
int SelectSparesRoundPins(int round);

// Whether pin 1..10 is down by the look of its actor: below the deck, or tilted 9 degrees or more
// from upright in any direction. 1 down, 0 standing; 0 (with an error) for a pin not made.
int PinKnockedDown(int pin);
// Into *mask: bit 15 - k set for each pin k still upright and not knocked down (full rack
// kFullRackMask). 0 only for a null mask.
int GetStandingPinMask(int* mask);
