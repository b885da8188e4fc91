// Computer bowlers: the shot for the pins left, the approach and the release, and the skipped frame.
#include "game/computer.h"

#include <btBulletDynamicsCommon.h>

#include <cmath>

#include "game/actors.h"
#include "game/ball.h"
#include "game/camera.h"
#include "game/characters.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/pins.h"
#include "game/records.h"
#include "game/scoring.h"
#include "lib/printing.h"
#include "lib/trig.h"
#include "platform/frame.h"

int gSkipAI = 0;

// The shot being bowled, the approach timer in milliseconds and the rate of the tween into the swing.
static ShotParams_tag shot;
static int timer = 0;
static float ratio = 0.15f;

static const int kApproachAnim = 1302;
static const int kThrowAnim = 1303;
// The wait on the approach before the swing: longer at a fresh frame.
static const int kFirstBallWaitMs = 1800;
static const int kLaterBallWaitMs = 900;
// The body friction of a computer's ball.
static const float kComputerBallFriction = 0.25f;

// A person asking for a suggested shot bowls like this.
static const float kPersonPower = 0.9f;
static const float kPersonHook = 0.5f;
static const float kPersonMinHook = 0.0f;
static const int kPersonAccuracy = 90;
// Below this power the hook model's time to the pins has no sensible value.
static const float kLeastPower = 0.1f;

// The lane: 41 boards, 82 world units across. A shot at full power leaves at 28 feet per second,
// 28 x 12 inches per second in the hook model, where the ball drifts 52 inches per second squared
// at full hook. A hook of 1 is 1280 degrees per second of side spin: on the computer's lane that
// much spin carries the ball the drift the model gives by the time it reaches the head pin, so a
// straight line ends where it was aimed (more spin hooks it through to the Brooklyn side). The
// usual rule turns a hook of 1 into 2000 degrees per second; measured over 120 first balls (60
// seeds, either hand) that cut a strong bowler's (average 220) strikes from 70% to 14% and its
// mean first-ball pins from 9.6 to 8.6, and a weak bowler's (110) mean from 4.2 pins to 1.1, for
// no more corner spares made.
static const float kBoards = 41.0f;
static const float kLaneUnits = 82.0f;
static const float kFullSpeed = 28.0f;
static const float kHookAccel = 52.0f;
static const float kSpinToDegrees = -1280.0f;
// Distances to each row of the rack, and the default line.
static const float kRow1 = 300.0f;
static const float kRow2 = 310.3923f;
static const float kRow3 = 320.7846f;
static const float kRow4 = 331.1769f;
static const float kDefaultAim = 0.6042683f;
// The pocket: a right-hander aims 2.5 boards right of the target pin, a left-hander left of it.
static const float kPocketBoards = 2.5f;
// Usable lines stay this far inside the edges.
static const float kEdgeMargin = 0.05f;
// A two-point shot: the line is set at the arrows, a third of the 420 units to the break point.
// The heading is taken towards that point as though it stood at the pins, so the further along it
// is set the steeper the ball crosses the lane. The usual rule sets it at two fifths (168 units):
// on this lane, whose hook was matched to the spin above, a line that steep carries the ball past
// the break point into the far gutter before the hook can bring it back, and rated bowlers lost
// most of their spare shots that way; at a third the ball breaks back onto the aim and bowlers
// score near their averages. Spin and power of the two-point line are as the usual rule gives.
static const float kTwoPointBreak = 420.0f;
static const float kTwoPointArrows = 140.0f;
static const float kTwoPointOffset = 0.05f;
// How far a miss and an ordinary first ball move the aim, as shares of the error drawn.
static const float kMissSpread = 0.22f;
static const float kFirstBallSpread = 0.05f;

// Where a skipped ball's ball and knocked-down pins are put, in metres below the lane.
static const float kSkippedBallDepth = -1000.0f;
static const float kSkippedPinDepth = -100.0f;
static const float kSkippedBallZ = -10.0f;
static const float kSkippedPinZ = -100.0f;

static constexpr int PinBit(int pin) { return pin ? 1 << (15 - pin) : 0; }
static constexpr int Leave(int a, int b, int c = 0, int d = 0) { return PinBit(a) | PinBit(b) | PinBit(c) | PinBit(d); }

static int IsCurrentComputer() { return GetControllerAssignment(gCurrPlayer) == kAssignmentComputer; }

static TITLE_PlayerInfoStruct* CurrentPlayer()
{
    if (gCurrPlayer < 0 || gCurrPlayer >= kMaxPlayers) return nullptr;
    return &gPlayerInfo[gCurrPlayer];
}

static float Clamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

// A rating 0..100 as a share; ratings from outside that range are held to it.
static float Share(int rating) { return Clamp(float(rating) * 0.01f, 0.0f, 1.0f); }

static int RightHanded()
{
    const TITLE_PlayerInfoStruct* p = CurrentPlayer();
    return !p || !p->leftHanded;
}

static float HookRating()
{
    const TITLE_PlayerInfoStruct* p = CurrentPlayer();
    if (!p || !IsCurrentComputer()) return kPersonHook;
    return Share(p->playerData.throwHookMax);
}

static int AccuracyRating()
{
    const TITLE_PlayerInfoStruct* p = CurrentPlayer();
    if (!p || !IsCurrentComputer()) return kPersonAccuracy;
    return p->playerData.throwAccuracy > 100 ? 100 : p->playerData.throwAccuracy;
}

float GetMaxPower()
{
    const TITLE_PlayerInfoStruct* p = CurrentPlayer();
    if (!p || !IsCurrentComputer()) return kPersonPower;
    const float power = Share(p->playerData.throwPower);
    return power < kLeastPower ? kLeastPower : power;
}

float GetMinHook()
{
    const TITLE_PlayerInfoStruct* p = CurrentPlayer();
    if (!p || !IsCurrentComputer()) return kPersonMinHook;
    return Share(p->playerData.throwHookMin);
}

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

static float BowlerReleaseFrame(const actor_tag* bowler)
{
    const int roster = bowler->rosterIndex < kMaxPlayers ? bowler->rosterIndex : 0;
    return ReleaseFrame(gPlayerInfo[roster].playerData.bodyMeshRSID);
}

// ---------------------------------------------------------------------------------------------
// Choosing the shot

enum { kRight = 1, kLeft = 2, kBoth = 3 };
enum { kHookKeep, kHookMin, kHookRating };
enum { kPowerKeep, kPower90, kPower70, kPowerFull };

// A leave with a line of its own.
struct LeaveLine {
    int masks[3];  // the leaves it serves; 0 ends the list
    int hand;
    float aim;
    float distance;
    int hook;
    int power;
};

// Tested in this order; the first match wins.
static const LeaveLine kLeaveLines[] = {
    {{Leave(5, 7), Leave(5, 7, 10)}, kRight, 0.6042683f, kRow3, kHookKeep, kPowerKeep},
    {{Leave(5, 7), Leave(5, 7, 10)}, kLeft, 0.6652439f, kRow3, kHookMin, kPower90},
    {{Leave(5, 10)}, kRight, 0.3347561f, kRow3, kHookMin, kPower90},
    {{Leave(5, 10)}, kLeft, 0.3957317f, kRow3, kHookKeep, kPowerKeep},
    {{Leave(2, 7), Leave(2, 7, 10), Leave(2, 10)}, kRight, 0.1652439f, kRow4, kHookKeep, kPowerKeep},
    {{Leave(1, 3, 6, 10)}, kRight, 0.6042683f, kRow1, kHookMin, kPowerKeep},
    {{Leave(3, 10), Leave(3, 7, 10), Leave(3, 7)}, kLeft, 0.8347561f, kRow4, kHookKeep, kPowerKeep},
    {{Leave(1, 2, 4, 7)}, kLeft, 0.3957317f, kRow1, kHookMin, kPowerKeep},
    {{Leave(2, 3)}, kBoth, 0.5f, kRow2, kHookKeep, kPowerKeep},
    {{Leave(4, 5)}, kBoth, 0.3536586f, kRow3, kHookKeep, kPowerKeep},
    {{Leave(5, 6)}, kBoth, 0.6463414f, kRow3, kHookKeep, kPowerKeep},
    {{Leave(7, 8)}, kBoth, 0.2073171f, kRow4, kHookKeep, kPowerKeep},
    {{Leave(8, 9), Leave(7, 8, 9, 10)}, kBoth, 0.5f, kRow4, kHookKeep, kPowerKeep},
    {{Leave(9, 10)}, kBoth, 0.7926829f, kRow4, kHookKeep, kPowerKeep},
    {{Leave(1, 3, 6, 7), Leave(1, 3, 7)}, kRight, 0.5573171f, kRow1, kHookKeep, kPower70},
    {{Leave(1, 2, 4, 10), Leave(1, 2, 10)}, kRight, 0.3957317f, kRow1, kHookMin, kPower90},
    {{Leave(4, 7, 10), Leave(4, 10)}, kRight, 0.04207319f, kRow3, kHookMin, kPower90},
    {{Leave(4, 6, 7, 10)}, kRight, 0.04207319f, kRow3, kHookMin, kPowerFull},
    {{Leave(6, 7, 10), Leave(6, 7)}, kRight, 0.8780488f, kRow3, kHookRating, kPower90},
    {{Leave(1, 2, 4, 10), Leave(1, 2, 10)}, kLeft, 0.4426829f, kRow1, kHookKeep, kPower70},
    {{Leave(1, 3, 6, 7), Leave(1, 3, 7)}, kLeft, 0.6042683f, kRow1, kHookMin, kPower90},
    {{Leave(6, 7, 10), Leave(6, 7)}, kLeft, 0.9579268f, kRow3, kHookMin, kPower90},
    {{Leave(4, 6, 7, 10)}, kLeft, 0.9579268f, kRow3, kHookMin, kPowerFull},
    {{Leave(4, 7, 10), Leave(4, 10)}, kLeft, 0.1219512f, kRow3, kHookRating, kPower90},
};

static const LeaveLine* FindLeaveLine(int mask, int rightHanded)
{
    const int hand = rightHanded ? kRight : kLeft;
    for (const LeaveLine& line : kLeaveLines) {
        if (!(line.hand & hand)) continue;
        for (int m : line.masks)
            if (m && m == mask) return &line;
    }
    return nullptr;
}

// Aim fraction of each pin's line, pin 1 first.
static const float kPinAim[10] = {0.5f, 0.3536586f, 0.6463414f, 0.2073171f, 0.5f,
                                  0.7926829f, 0.097561f, 0.3536586f, 0.6463414f, 0.902439f};

static float RowDistance(int pin)
{
    if (pin == 1) return kRow1;
    if (pin <= 3) return kRow2;
    if (pin <= 6) return kRow3;
    return kRow4;
}

// Any other leave: the bowler goes after the larger side of the rack, at its front pin.
static int TargetPin(int mask, int rightHanded)
{
    static const int kLeftSide[] = {2, 4, 7, 8};
    static const int kRightSide[] = {3, 6, 9, 10};
    int leftMask = 0, rightMask = 0;
    for (int pin : kLeftSide) leftMask |= PinBit(pin) & mask;
    for (int pin : kRightSide) rightMask |= PinBit(pin) & mask;
    // The head pins 1 and 5 go with the side the bowler's hook works into.
    const int heads = (PinBit(1) | PinBit(5)) & mask;
    if (rightHanded) {
        if (leftMask) leftMask |= heads; else rightMask |= heads;
    } else {
        if (rightMask) rightMask |= heads; else leftMask |= heads;
    }
    int leftCount = 0, rightCount = 0, leftLowest = 0, rightLowest = 0;
    for (int pin = kLastPin; pin >= kFirstPin; --pin) {
        if (leftMask & PinBit(pin)) { ++leftCount; leftLowest = pin; }
        if (rightMask & PinBit(pin)) { ++rightCount; rightLowest = pin; }
    }
    if (leftCount == rightCount) {
        if (rightHanded) ++leftCount; else ++rightCount;
    }
    const int target = leftCount > rightCount ? leftLowest : rightLowest;
    // No pin standing at all: line up on the head pin as for a full rack.
    return target ? target : 1;
}

static int Usable(const ShotParams_tag& s)
{
    return s.ReleaseX >= kEdgeMargin && s.ReleaseX < 1.0f - kEdgeMargin && s.AimX >= kEdgeMargin &&
           s.AimX <= 1.0f - kEdgeMargin;
}

// Played straight up the boards the hook will carry it across, so that it breaks onto the aim.
static void StraightLine(ShotParams_tag& s, float aim, float hook, float power, float distance, float hand)
{
    const float v = power * kFullSpeed * 12.0f;
    const float t = distance / v;
    const float drift = hook * kHookAccel * 0.5f * t * t;
    s.AimX = s.ReleaseX = aim + hand * drift / kBoards;
    s.Spin = hand * hook;
    s.Power = power;
}

// Played from nearer the middle, angled out towards the edge and hooking back onto the aim. The
// line is set towards the point the hook's drift lies beyond the aim on the bowler's own side (a
// right-hander's right), as the straight line is: the usual rule takes it on the other side, the
// side the hook carries the ball to, so that the hook takes it further from the pin. Measured on the
// corner pins (60 seeds for each pin and hand), a strong bowler (average 220) made 240 of 240
// this way and 120 of 240 the other way, missing every one of the 120 played on this line; a
// weak one (110) made 31 of 240 this way and 64 the other, but only because there its line is
// never usable and a straight shot down the edge is thrown instead.
static void TwoPointLine(ShotParams_tag& s, float aim, float hook, float power, float distance, float hand)
{
    const float v = power * kFullSpeed * 12.0f;
    const float t = distance / v;
    const float drift = hook * kHookAccel * 0.5f * t * t;
    const float side = hand * hook * kHookAccel * t / kBoards;
    s.AimX = aim + hand * drift / kBoards;
    s.ReleaseX = s.AimX - side * kTwoPointBreak / v + hand * kTwoPointOffset;
    s.AimX = s.ReleaseX + (s.AimX - s.ReleaseX) * kTwoPointArrows / kTwoPointBreak;
    s.Spin = hand * hook;
    s.Power = std::sqrt(power * power + side * side);
}

static float RandomSign() { return GetRandomInt(1, 100) % 2 ? -1.0f : 1.0f; }

// Places the ball where the shot is released and the bowler behind it by its hand offset.
static void PlaceForShot(const ShotParams_tag& s)
{
    if (!bowlingBall) return;
    bowlingBall->Xlocation = GetLaneXOffset() + s.ReleaseX * kLaneUnits;
    const TITLE_PlayerInfoStruct* p = CurrentPlayer();
    actor_tag* bowler = p ? p->theActor : nullptr;
    if (bowler) bowler->Xlocation = bowler->logicalX = bowlingBall->Xlocation + bowler->deflection;
}

int AICalculateShot(int, ShotParams_tag& out)
{
    const int rightHanded = RightHanded();
    const float hand = rightHanded ? 1.0f : -1.0f;
    float hook = HookRating();
    float power = GetMaxPower();
    ShotParams_tag s{};
    int mask = 0;
    GetStandingPinMask(&mask);

    float aim = kDefaultAim;
    float distance = kRow3;
    if (const LeaveLine* line = FindLeaveLine(mask, rightHanded)) {
        aim = line->aim;
        distance = line->distance;
        if (line->hook == kHookMin) hook = GetMinHook();
        if (line->hook == kHookRating) hook = HookRating();
        if (line->power == kPower90) power = GetMaxPower() * 0.9f;
        if (line->power == kPower70) power = GetMaxPower() * 0.7f;
        if (line->power == kPowerFull) power = GetMaxPower();
    } else {
        const int target = TargetPin(mask, rightHanded);
        aim = kPinAim[target - 1] + hand * kPocketBoards / kBoards;
        distance = RowDistance(target);
    }

    StraightLine(s, aim, hook, power, distance, hand);
    if (!Usable(s)) TwoPointLine(s, aim, hook, power, distance, hand);
    if (!Usable(s)) TwoPointLine(s, aim, GetMinHook(), power, distance, hand);
    if (!Usable(s)) StraightLine(s, aim, GetMinHook(), power, distance, hand);

    // The bowler's accuracy: a miss pulls the aim well off, a good first ball only a little.
    const int accuracy = AccuracyRating();
    const int roll = GetRandomInt(1, 100);
    const TITLE_PlayerInfoStruct* p = CurrentPlayer();
    if (accuracy < roll) {
        float e = float(GetRandomInt(1, int(float(100 - accuracy) * 0.25f)) + 100 - accuracy) * 0.01f;
        e *= RandomSign();
        s.AimX += e * kMissSpread;
    } else if (p && p->currFrameBallIndex == 0) {
        float e = float(GetRandomInt(1, 100 - accuracy)) * 0.01f;
        e *= RandomSign();
        s.AimX += e * kFirstBallSpread;
    }

    s.ReleaseX = Clamp(s.ReleaseX, 0.0f, 1.0f) - 0.5f;
    s.AimX = Clamp(s.AimX, 0.0f, 1.0f) - 0.5f;
    float heading = HeadingToPoint(s.ReleaseX * kLaneUnits, 0.0f, s.AimX * kLaneUnits, distance * 2.0f);
    if (heading > 180.0f) heading -= 360.0f;
    s.heading = heading;
    s.rotX = 0.0f;
    s.rotY = s.Spin * kSpinToDegrees;
    s.vel = s.Power * kFullSpeed;
    s.xAngle = 0.0f;
    PlaceForShot(s);
    out = s;
    return 1;
}

// ---------------------------------------------------------------------------------------------
// The approach and the release

// The distance from the bowler to the ball in its hand at the release, kept in the bowler's
// deflection: the bowler stands that far off the line the ball is to be released on.
static void MeasureHandOffset(actor_tag* bowler)
{
    SetCharacterAnimation(bowler, kThrowAnim);
    bowler->animInfo.animationFrame = BowlerReleaseFrame(bowler);
    float handX = bowler->Xlocation;
    RightHandPosition(bowler, &handX, nullptr, nullptr);
    bowler->deflection = bowler->logicalX - handX;
}

static int IsTurnOf(const TITLE_PlayerInfoStruct* p)
{
    return p && gCurrPlayer >= 0 && gCurrPlayer < kMaxPlayers && p == &gPlayerInfo[gCurrPlayer];
}

int UpdateAIBowler(TITLE_PlayerInfoStruct* p)
{
    // Once the game is over nobody bowls again.
    if (gGameOver || !IsTurnOf(p)) return 1;
    actor_tag* bowler = p->theActor;
    if (!bowler) return 1;

    switch (GetControlState()) {
    case kControlPosition:
        SetStateCameraPosition(kControlPosition);
        MeasureHandOffset(bowler);
        if (physics && physics->m_ballBody) physics->m_ballBody->setFriction(kComputerBallFriction);
        AICalculateShot(gGameOptions.oilPattern, shot);
        SetControlState(kControlPower);
        SetCharacterAnimation(bowler, kApproachAnim);
        StartCharacterAnimation(bowler);
        timer = 0;
        break;
    case kControlPower:
        timer += updateRate;
        if (timer > (p->currFrameBallIndex == 0 ? kFirstBallWaitMs : kLaterBallWaitMs)) {
            SetControlState(kControlThrowing);
            // The swing blends in from the approach's pose rather than jumping to its first frame.
            SetCharacterAnimationTween(bowler, kThrowAnim, ratio);
            StartCharacterAnimation(bowler);
        }
        break;
    case kControlThrowing:
        if (bowler->animInfo.animationFrame >= BowlerReleaseFrame(bowler)) {
            SetInitialBallParams(shot.vel, shot.heading, shot.rotX, shot.rotY, shot.xAngle);
            if (bowlingBall) {
                bowlingBall->team = 1;
                bowlingBall->visible = 1;
                RightHandPosition(bowler, &bowlingBall->Xlocation, &bowlingBall->Ylocation, &bowlingBall->Zlocation);
            }
            SetControlState(kControlReleased);
        }
        break;
    default:
        break;
    }
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Skipping a frame

// One frame result: rolls lo..hi give first and second.
struct FrameDraw {
    int lo, hi;
    int first, second;
};

// average below 100
static const FrameDraw kBand0[] = {
    {99, 100, 0, 2}, {94, 98, 0, 6}, {91, 93, 0, 8}, {90, 90, 1, 3}, {88, 89, 1, 5}, {86, 87, 1, 6},
    {84, 85, 1, 9}, {82, 83, 2, 0}, {80, 81, 2, 4}, {78, 79, 2, 7}, {76, 77, 2, 8}, {74, 75, 3, 0},
    {72, 73, 3, 2}, {70, 71, 3, 5}, {68, 69, 3, 7}, {66, 67, 4, 0}, {64, 65, 4, 3}, {59, 63, 4, 5},
    {54, 58, 5, 2}, {49, 53, 5, 4}, {44, 48, 6, 1}, {39, 43, 6, 2}, {34, 38, 6, 3}, {29, 33, 6, 4},
    {24, 28, 7, 0}, {19, 23, 7, 2}, {14, 18, 8, 0}, {12, 13, 8, 2}, {7, 11, 9, 0}, {4, 6, 9, 1},
    {1, 3, 10, 0},
};
// average 100-109
static const FrameDraw kBand1[] = {
    {99, 100, 0, 2}, {95, 98, 0, 6}, {90, 94, 0, 8}, {89, 89, 1, 3}, {88, 88, 1, 5}, {87, 87, 1, 6},
    {86, 86, 1, 9}, {85, 85, 2, 0}, {84, 84, 2, 4}, {82, 83, 2, 7}, {80, 81, 2, 8}, {78, 79, 3, 0},
    {76, 77, 3, 2}, {74, 75, 3, 5}, {72, 73, 3, 7}, {70, 71, 4, 0}, {68, 69, 4, 3}, {63, 67, 4, 5},
    {58, 62, 4, 6}, {53, 57, 5, 4}, {48, 52, 5, 5}, {43, 47, 6, 0}, {38, 42, 6, 3}, {33, 37, 7, 0},
    {28, 32, 7, 1}, {23, 27, 7, 2}, {18, 22, 7, 3}, {14, 17, 8, 2}, {9, 13, 9, 0}, {6, 8, 9, 1},
    {1, 5, 10, 0},
};
// average 110-119
static const FrameDraw kBand2[] = {
    {99, 100, 0, 2}, {96, 98, 0, 6}, {89, 95, 0, 8}, {88, 88, 1, 3}, {87, 87, 1, 5}, {86, 86, 1, 6},
    {85, 85, 1, 9}, {84, 84, 2, 0}, {83, 83, 2, 4}, {82, 82, 2, 7}, {81, 81, 2, 8}, {80, 80, 3, 0},
    {79, 79, 3, 2}, {78, 78, 3, 5}, {76, 77, 3, 7}, {75, 75, 4, 0}, {70, 74, 4, 5}, {65, 69, 4, 6},
    {60, 64, 5, 2}, {55, 59, 5, 4}, {50, 54, 6, 1}, {45, 49, 6, 2}, {40, 44, 6, 3}, {35, 39, 7, 0},
    {30, 34, 7, 3}, {25, 29, 8, 1}, {19, 24, 8, 2}, {14, 18, 9, 0}, {9, 13, 9, 1}, {1, 8, 10, 0},
};
// average 120-129
static const FrameDraw kBand3[] = {
    {99, 100, 0, 6}, {97, 98, 0, 8}, {96, 96, 0, 10}, {95, 95, 2, 0}, {94, 94, 2, 4},
    {93, 93, 2, 7}, {92, 92, 2, 8}, {91, 91, 3, 0}, {90, 90, 3, 2}, {89, 89, 3, 5}, {88, 88, 3, 7},
    {87, 87, 4, 0}, {86, 86, 4, 3}, {81, 85, 4, 5}, {76, 80, 4, 6}, {71, 75, 5, 5}, {66, 70, 6, 0},
    {61, 65, 6, 3}, {56, 60, 6, 4}, {51, 55, 7, 1}, {46, 50, 7, 2}, {41, 45, 7, 3}, {36, 40, 8, 0},
    {28, 35, 8, 2}, {18, 27, 9, 0}, {13, 17, 9, 1}, {1, 12, 10, 0},
};
// average 130-139
static const FrameDraw kBand4[] = {
    {100, 100, 0, 8}, {99, 99, 0, 10}, {94, 98, 3, 7}, {92, 93, 4, 5}, {87, 91, 4, 6},
    {85, 86, 5, 4}, {80, 84, 5, 5}, {78, 79, 6, 1}, {76, 77, 6, 3}, {71, 75, 6, 4}, {69, 70, 7, 1},
    {64, 68, 7, 2}, {59, 63, 7, 3}, {54, 58, 8, 0}, {49, 53, 8, 1}, {39, 48, 8, 2}, {26, 38, 9, 0},
    {16, 25, 9, 1}, {1, 15, 10, 0},
};
// average 140-149
static const FrameDraw kBand5[] = {
    {100, 100, 0, 8}, {99, 99, 0, 10}, {98, 98, 1, 5}, {97, 97, 1, 6}, {96, 96, 1, 9},
    {95, 95, 2, 7}, {94, 94, 2, 8}, {93, 93, 3, 2}, {92, 92, 3, 5}, {91, 91, 3, 7}, {90, 90, 4, 0},
    {89, 89, 4, 3}, {88, 88, 4, 5}, {87, 87, 4, 6}, {86, 86, 5, 2}, {85, 85, 5, 4}, {79, 84, 5, 5},
    {78, 78, 6, 0}, {77, 77, 6, 1}, {76, 76, 6, 2}, {73, 75, 6, 3}, {69, 72, 6, 4}, {67, 68, 7, 1},
    {63, 66, 7, 2}, {58, 62, 7, 3}, {54, 57, 8, 0}, {49, 53, 8, 1}, {40, 48, 8, 2}, {29, 39, 9, 0},
    {19, 28, 9, 1}, {1, 18, 10, 0},
};
// average 150-159
static const FrameDraw kBand6[] = {
    {100, 100, 0, 8}, {99, 99, 0, 10}, {98, 98, 1, 6}, {97, 97, 1, 9}, {95, 96, 2, 8},
    {94, 94, 3, 5}, {92, 93, 3, 7}, {91, 91, 4, 5}, {89, 90, 4, 6}, {88, 88, 5, 4}, {87, 87, 5, 5},
    {81, 86, 6, 2}, {78, 80, 6, 3}, {74, 77, 6, 4}, {71, 73, 7, 1}, {67, 70, 7, 2}, {62, 66, 7, 3},
    {58, 61, 8, 0}, {53, 57, 8, 1}, {45, 52, 8, 2}, {37, 44, 9, 0}, {22, 36, 9, 1}, {1, 21, 10, 0},
};
// average 160-169
static const FrameDraw kBand7[] = {
    {100, 100, 0, 10}, {98, 99, 3, 5}, {94, 97, 3, 7}, {90, 93, 4, 6}, {86, 89, 5, 4},
    {82, 85, 5, 5}, {78, 81, 6, 3}, {74, 77, 6, 4}, {70, 73, 7, 0}, {66, 69, 7, 1}, {62, 65, 7, 2},
    {58, 61, 7, 3}, {54, 57, 8, 0}, {50, 53, 8, 1}, {44, 49, 8, 2}, {38, 43, 9, 0}, {23, 37, 9, 1},
    {1, 22, 10, 0},
};
// average 170-179
static const FrameDraw kBand8[] = {
    {100, 100, 0, 10}, {99, 99, 3, 5}, {98, 98, 4, 5}, {97, 97, 5, 2}, {94, 96, 5, 4},
    {91, 93, 5, 5}, {90, 90, 6, 0}, {89, 89, 6, 1}, {88, 88, 6, 2}, {85, 87, 6, 3}, {82, 84, 6, 4},
    {79, 81, 7, 0}, {75, 78, 7, 1}, {71, 74, 7, 2}, {66, 70, 7, 3}, {61, 65, 8, 0}, {56, 60, 8, 1},
    {51, 55, 8, 2}, {46, 50, 9, 0}, {26, 45, 9, 1}, {1, 25, 10, 0},
};
// average 180-189
static const FrameDraw kBand9[] = {
    {99, 100, 5, 2}, {97, 98, 5, 4}, {95, 96, 5, 5}, {93, 94, 6, 0}, {91, 92, 6, 1}, {89, 90, 6, 2},
    {87, 88, 6, 3}, {85, 86, 6, 4}, {84, 84, 7, 0}, {83, 83, 7, 1}, {81, 82, 7, 2}, {76, 80, 7, 3},
    {71, 75, 8, 0}, {66, 70, 8, 1}, {61, 65, 8, 2}, {56, 60, 9, 0}, {36, 55, 9, 1}, {1, 35, 10, 0},
};
// average 190-199
static const FrameDraw kBand10[] = {
    {99, 100, 4, 6}, {98, 98, 5, 2}, {97, 97, 5, 4}, {95, 96, 5, 5}, {94, 94, 6, 1}, {93, 93, 6, 2},
    {92, 92, 6, 3}, {90, 91, 6, 4}, {89, 89, 7, 1}, {87, 88, 7, 2}, {83, 86, 7, 3}, {80, 82, 8, 0},
    {75, 79, 8, 1}, {70, 74, 8, 2}, {66, 69, 9, 0}, {46, 65, 9, 1}, {1, 45, 10, 0},
};
// average 200-209
static const FrameDraw kBand11[] = {
    {100, 100, 5, 4}, {99, 99, 5, 5}, {98, 98, 6, 1}, {97, 97, 6, 2}, {96, 96, 6, 3},
    {95, 95, 6, 4}, {94, 94, 7, 0}, {93, 93, 7, 1}, {91, 92, 7, 2}, {88, 90, 7, 3}, {85, 87, 8, 0},
    {80, 84, 8, 1}, {75, 79, 8, 2}, {71, 74, 9, 0}, {51, 70, 9, 1}, {1, 50, 10, 0},
};
// average 210-219
static const FrameDraw kBand12[] = {
    {100, 100, 5, 4}, {99, 99, 6, 3}, {98, 98, 6, 4}, {97, 97, 7, 0}, {96, 96, 7, 1},
    {94, 95, 7, 2}, {91, 93, 7, 3}, {88, 90, 8, 0}, {84, 87, 8, 1}, {78, 83, 8, 2}, {74, 77, 9, 0},
    {56, 73, 9, 1}, {1, 55, 10, 0},
};
// average 220-229
static const FrameDraw kBand13[] = {
    {100, 100, 5, 4}, {99, 99, 5, 5}, {98, 98, 6, 3}, {97, 97, 6, 4}, {96, 96, 7, 0},
    {95, 95, 7, 1}, {93, 94, 7, 2}, {90, 92, 7, 3}, {88, 89, 8, 0}, {85, 87, 8, 1}, {79, 84, 8, 2},
    {76, 78, 9, 0}, {61, 75, 9, 1}, {1, 60, 10, 0},
};
// average 230-239
static const FrameDraw kBand14[] = {
    {100, 100, 6, 3}, {99, 99, 6, 4}, {98, 98, 7, 1}, {96, 97, 7, 2}, {93, 95, 7, 3},
    {92, 92, 8, 0}, {90, 91, 8, 1}, {84, 89, 8, 2}, {81, 83, 9, 0}, {66, 80, 9, 1}, {1, 65, 10, 0},
};
// average 240-249
static const FrameDraw kBand15[] = {
    {100, 100, 6, 4}, {99, 99, 7, 1}, {97, 98, 7, 2}, {94, 96, 7, 3}, {93, 93, 8, 0},
    {91, 92, 8, 1}, {85, 90, 8, 2}, {83, 84, 9, 0}, {71, 82, 9, 1}, {1, 70, 10, 0},
};
// average 250-259
static const FrameDraw kBand16[] = {
    {100, 100, 6, 3}, {99, 99, 6, 4}, {98, 98, 7, 2}, {95, 97, 7, 3}, {94, 94, 8, 1},
    {87, 93, 8, 2}, {85, 86, 9, 0}, {75, 84, 9, 1}, {1, 74, 10, 0},
};
// average 260-269
static const FrameDraw kBand17[] = {
    {100, 100, 6, 4}, {99, 99, 8, 1}, {98, 98, 9, 0}, {92, 97, 8, 2}, {89, 91, 7, 3},
    {88, 88, 7, 2}, {78, 87, 9, 1}, {1, 77, 10, 0},
};
// average 270-279
static const FrameDraw kBand18[] = {
    {100, 100, 6, 4}, {99, 99, 8, 1}, {98, 98, 9, 0}, {93, 97, 8, 2}, {92, 92, 7, 3},
    {90, 91, 7, 2}, {82, 89, 9, 1}, {1, 81, 10, 0},
};
// average 280-289
static const FrameDraw kBand19[] = {
    {100, 100, 6, 4}, {99, 99, 8, 1}, {98, 98, 9, 0}, {94, 97, 8, 2}, {93, 93, 7, 3},
    {92, 92, 7, 2}, {86, 91, 9, 1}, {1, 85, 10, 0},
};
// average 290-294
static const FrameDraw kBand20[] = {
    {100, 100, 6, 4}, {99, 99, 8, 1}, {98, 98, 9, 0}, {96, 97, 8, 2}, {95, 95, 7, 3},
    {89, 94, 9, 1}, {1, 88, 10, 0},
};
// average 295 and above
static const FrameDraw kBand21[] = {
    {100, 100, 6, 4}, {99, 99, 8, 1}, {98, 98, 9, 0}, {96, 97, 8, 2}, {91, 95, 9, 1},
    {1, 90, 10, 0},
};

struct AverageBand {
    int lowestAverage;
    const FrameDraw* draws;
    int count;
};

#define BAND(average, draws) {average, draws, int(sizeof(draws) / sizeof(draws[0]))}
// From the best averages down; an average below 100 takes the last band.
static const AverageBand kAverageBands[] = {
    BAND(295, kBand21), BAND(290, kBand20), BAND(280, kBand19), BAND(270, kBand18), BAND(260, kBand17),
    BAND(250, kBand16), BAND(240, kBand15), BAND(230, kBand14), BAND(220, kBand13), BAND(210, kBand12),
    BAND(200, kBand11), BAND(190, kBand10), BAND(180, kBand9),  BAND(170, kBand8),  BAND(160, kBand7),
    BAND(150, kBand6),  BAND(140, kBand5),  BAND(130, kBand4),  BAND(120, kBand3),  BAND(110, kBand2),
    BAND(100, kBand1),  BAND(-2147483647 - 1, kBand0),
};
#undef BAND

int GetAIBowlerFrameScore(TITLE_PlayerInfoStruct* p, int* first, int* second)
{
    if (!p || !first || !second) return PrintError("computer: no player or result for a frame score");
    const int roll = GetRandomInt(1, 100);
    for (const AverageBand& band : kAverageBands) {
        if (p->playerData.throwAverage < band.lowestAverage) continue;
        for (int i = 0; i < band.count; ++i) {
            if (roll >= band.draws[i].lo && roll <= band.draws[i].hi) {
                *first = band.draws[i].first;
                *second = band.draws[i].second;
                return 1;
            }
        }
        break;
    }
    *first = *second = 0;
    return 1;
}

// Knocks down the first `count` pins still standing, lowest number first, the way the scoring
// sees a pin down: its body far below the lane and its actor below the deck, still shown.
static void KnockDownPins(int count)
{
    int mask = 0;
    GetStandingPinMask(&mask);
    for (int pin = kFirstPin; pin <= kLastPin && count > 0; ++pin) {
        if (!(mask & PinBit(pin))) continue;
        if (btRigidBody* body = physics ? physics->m_pinBody[pin - 1] : nullptr) {
            btTransform t = body->getWorldTransform();
            t.setOrigin(btVector3(0.0f, kSkippedPinDepth, 0.0f));
            body->setWorldTransform(t);
            if (body->getMotionState()) body->getMotionState()->setWorldTransform(t);
            body->setLinearVelocity(btVector3(0.0f, 0.0f, 0.0f));
            body->setAngularVelocity(btVector3(0.0f, 0.0f, 0.0f));
            body->activate(true);
        }
        if (actor_tag* actor = pinActors[pin - 1]) actor->Zlocation = kSkippedPinZ;
        --count;
    }
}

// The ball of a skipped throw never leaves the hand: hidden and out of the world.
static void PutAwayBall()
{
    if (bowlingBall) {
        bowlingBall->visible = 0;
        bowlingBall->team = 0;
        bowlingBall->Zlocation = kSkippedBallZ;
    }
    if (btRigidBody* body = physics ? physics->m_ballBody : nullptr) {
        const btTransform t(btQuaternion::getIdentity(), btVector3(0.0f, kSkippedBallDepth, 0.0f));
        body->setWorldTransform(t);
        if (body->getMotionState()) body->getMotionState()->setWorldTransform(t);
        body->setLinearVelocity(btVector3(0.0f, 0.0f, 0.0f));
        body->setAngularVelocity(btVector3(0.0f, 0.0f, 0.0f));
    }
}

// One skipped ball: its pins down, scored, and the next ball set up while the game goes on.
static void SkipBall(int pinsDown)
{
    KnockDownPins(pinsDown);
    UpdateFrameLogic();
    if (!gGameOver) StartNewBall();
}

// The skip carries on only within p's own frame: a strike or the end of the frame hands over,
// even when p bowls next (a game of one). The pin practice has no frames: a skip there is one ball.
static int StillInFrame(const TITLE_PlayerInfoStruct* p, int frame)
{
    return !gGameOver && gGameType != kGamePinSelect && IsTurnOf(p) && p->currFrame == frame && !p->gameFinished;
}

int AISkipOffered(const TITLE_PlayerInfoStruct* p)
{
    return !gGameOver && IsTurnOf(p) && GetControllerAssignment(gCurrPlayer) == kAssignmentComputer &&
           gGameType != kGameSpares && !gSkipAI && p->currFrameBallIndex == 0 && GetControlState() < kControlReleased;
}

int SkipAIBowler(TITLE_PlayerInfoStruct* p)
{
    if (gGameOver || gSkipAI || !IsTurnOf(p)) return 1;
    gSkipAI = 1;
    PauseGame(0);
    PutAwayBall();
    const int frame = p->currFrame;
    int first = 0, second = 0;
    GetAIBowlerFrameScore(p, &first, &second);
    SkipBall(first);
    if (StillInFrame(p, frame)) {
        // A strike in the tenth: the next ball is the first of a fresh draw on a fresh rack.
        if (first >= 10) {
            int unused = 0;
            GetAIBowlerFrameScore(p, &second, &unused);
        }
        SkipBall(second);
        if (StillInFrame(p, frame)) {
            // The tenth frame's third ball.
            GetAIBowlerFrameScore(p, &first, &second);
            SkipBall(first);
        }
    }
    gSkipAI = 0;
    return 1;
}
