// The ball. One actor whose motion handler, MoveBall, ties it to the ball body of the physics
// world: while the bowler holds the ball the body is left to the bowler, from the release the body
// is simulated and the actor follows it. The same handler watches for the gutter, sets the lane
// friction under the ball from the oil, plays the rolling and pin-hit sounds, and decides when the
// ball is over: then the end-of-ball rules run and StartNewBall sets up the next ball for the
// player whose turn it is. SetInitialBallParams turns a throw (speed, heading, spin) into the
// launch. The aim line, the oil-pattern overlay and the bumpers are actors of this module too.
//
// Units: world units, 24 to the foot of the doubled lane (the head pin at Y 1440); X across the
// lane, Y towards the pins, Z up. A throw's speed is in feet per second, its angles in degrees.
#pragma once

#include "lib/resourceids.h"

struct actor_tag;
struct DS3_model_tag;
struct BallDataTag;

struct BallProperties {
    float mass;      // kg
    float friction;  // the ball's own; Bullet multiplies it by the lane's
    float gravity;   // m/s^2 along the world's y; a positive value is read as pointing down
};
static_assert(sizeof(BallProperties) == 12, "the ball property table has three floats per ball");

// Read-only tuning of the throw: the share of the thrown speed that reaches the ball, and the
// speed and spin of a full hook (the hook overlays scale the spin by speed / max speed).
extern const float BALL_VELOCITY_DAMPEN;     // 0.78
extern const float BALL_MAX_ROTATION_SPEED;  // 28.0 feet per second
extern const float BALL_MAX_ROTATION_Y;      // -1750.0 degrees per second

// The models of the ball (5001 ball, 5002 shadow, 5003 and 5004 reflections) and of the aim line,
// its markers, the oil overlay and the bumpers (5009, 5010-5013, 5014, 5007). 0 when one is missing.
int InitBallModel();
int InitAimModel();
// Forget the models read by InitBallModel and InitAimModel (their resources are being freed).
void DisposeBallModel();
void DisposeAimModel();

// Makes the ball actor (invisible, held) and the static bodies of the lane and the ball body:
// lane bed, gutters of the current alley, bumpers, walls, ball. Stores the actor in bowlingBall
// and through out when given. 0 without a physics world or when a body cannot be made; the actor
// is then disposed of again.
int AddBallActor(actor_tag** out);
// The aim line (also stored in aimLine), the oil-pattern overlay and the bumpers. 0 when the
// actor pool is used up.
int AddAimActor(actor_tag** out);
int AddOilActor(actor_tag** out);
int AddBumperActor(actor_tag** out);

// The throw: speed vel in feet per second, heading in degrees (0 straight down the lane, positive
// to the right), spin about X and about Y in degrees per second, and the release angle above the
// lane in degrees (at most 45). Sets the ball actor's launch velocity per logic step and the spin;
// the next MoveBall of the released ball launches the body with them. The speed shown to the
// player (GetBallInitialVel) is vel with a little random jitter. Always 1.
int SetInitialBallParams(float vel, float headingDeg, float rotXDeg, float rotYDeg, float releaseXangleDeg);

// The ball's motion handler, once per logic step. Always 1.
int MoveBall(actor_tag* ball);
// Sets up the next ball for the current player: the ball held and hidden, the full sphere and
// the player's own selected ball (mass, friction, gravity) on the body, the bowler back on the
// approach, the control state at 0 and, for a person, the place and heading offered for the
// throw. Always 1.
int StartNewBall();
// The replay's switch: on marks the ball launched, released and visible; off held and hidden.
// Both clear the ball's timers and its pin sound. Always 1.
int SetBallCollided(int on);
// The speed shown to the player for the last throw, in feet per second.
float GetBallInitialVel();

int GetBallTopReflectionModel(DS3_model_tag** out);
int GetBallBottomReflectionModel(DS3_model_tag** out);

// Fills ball's mass, friction and gravity from its row of the ball property table (read when not
// yet loaded). A gravity stored positive is turned downwards. 0, with the ball unchanged, when the
// table cannot be read, the index is past its end or the row is not a ball that can roll (mass not
// above 0, negative friction, no pull down, or values that are not numbers).
int ReadBallProperties(BallDataTag* ball);


// Draw handlers; each returns 1. The ball, lit as its actor type, in the texture of the current
// player's selected ball, with its reflection, and its shadow while it rolls on the lane. The aim
// line only for a person setting up the throw (not over the score sheet or the set-up menu, not
// in a replay); the oil overlay, half see-through and showing the game's oil pattern, only when
// the oil display is on and a person places or aims the throw; the bumpers while they are up.
int DrawBall(actor_tag* ball);
int DrawAimLine(actor_tag* aim);
int DrawOil(actor_tag* oil);
int DrawBumper(actor_tag* bumpers);
// The ball's shadow on the lane under it. 0 when the shadow cannot be drawn.
int RenderBallShadow(actor_tag* ball);
// What the draw handlers decide by: the texture of the current player's selected ball (0 without
// a current player), the texture of oil pattern 1..9 (0 for any other), and 1 while the aim line,
// the oil overlay are hidden / the bumpers are shown.
int BallTextureRSID();
int OilTextureRSID(int pattern);
int AimLineHidden();
int OilOverlayHidden();
int BumpersShown();
// The aim line's motion handler: while the shot is being placed and aimed, the bowler holds the
// release pose, the ball sits in the bowler's hand, the heading stays within reach of the pins
// and the line shows it. Always 1.
int MoveAimer(actor_tag* aim);
