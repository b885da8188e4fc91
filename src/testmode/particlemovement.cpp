// The particle movement menus: gravity and friction, the four tables of velocity and acceleration
// ranges (at birth and per update), and the ten control points, each shown in the scene by a
// marker while its radius is positive.
#include "game/actors.h"
#include "game/particledefs.h"
#include "game/particletools.h"
#include "game/records.h"
#include "testmode/testmenus.h"

static PARTICLESYSTEMINFOTAG& Edited() { return *testOptions.particleSystemInfo; }

// ---- ParticleMovementMenu ----

#define ENTER_LINE(name, label, menu)                                               \
    static int name(int action, char* text)                                         \
    {                                                                               \
        if (action == kItemLabel) return ItemLabel(text, "%s", label);              \
        if (action == kItemSelect) return EnterTestMenu(menu, ParticleMovementMenu); \
        return 1;                                                                   \
    }
ENTER_LINE(ItemInitialAcceleration, "INITIAL ACCEL.", ParticleInitAccelMenu)
ENTER_LINE(ItemInitialVelocity, "INITIAL VELOCITY", ParticleInitVelocityMenu)
ENTER_LINE(ItemUpdateAcceleration, "CHANGE IN ACCEL.", ParticleUpdateAccelMenu)
ENTER_LINE(ItemUpdateVelocity, "CHANGE IN VELOCITY", ParticleUpdateVelocityMenu)
#undef ENTER_LINE

// Gravity and friction: 0..100 by hundredths, shown a thousandth up so that a value stored just
// under a hundredth does not print as the one below.
static int ForceLine(int action, char* text, float* value, const char* label)
{
    if (action == kItemLabel) return ItemLabel(text, label, double(*value > 0.0f ? *value + 0.001f : *value));
    StepFloatClamped(action, value, 0.01f, 0.0f, 100.0f);
    return 1;
}
static int ItemGravity(int a, char* t) { return ForceLine(a, t, &Edited().gravity, "GRAVITY: %.2f"); }
static int ItemFrictionX(int a, char* t) { return ForceLine(a, t, &Edited().frictionX, "FRICTION IN X: %.2f"); }
static int ItemFrictionY(int a, char* t) { return ForceLine(a, t, &Edited().frictionY, "FRICTION IN Y: %.2f"); }
static int ItemFrictionZ(int a, char* t) { return ForceLine(a, t, &Edited().frictionZ, "FRICTION IN Z: %.2f"); }

TestItem ParticleMovementMenu[] = {{ItemInitialAcceleration}, {ItemInitialVelocity}, {ItemUpdateAcceleration},
                                   {ItemUpdateVelocity},      {ItemGravity},         {ItemFrictionX},
                                   {ItemFrictionY},           {ItemFrictionZ},       {nullptr}};

// ---- The four range menus: six bounds (X min, X max, Y min, ... Z max) and a reset ----

static const char* const kVelLabels[6] = {"X VEL MIN: %.2f", "X VEL MAX: %.2f", "Y VEL MIN: %.2f",
                                          "Y VEL MAX: %.2f", "Z VEL MIN: %.2f", "Z VEL MAX: %.2f"};
static const char* const kAccelLabels[6] = {"X ACCEL MIN: %.2f", "X ACCEL MAX: %.2f", "Y ACCEL MIN: %.2f",
                                            "Y ACCEL MAX: %.2f", "Z ACCEL MIN: %.2f", "Z ACCEL MAX: %.2f"};

// A value shown a thousandth away from zero, so that a value stored just short of a hundredth
// prints as that hundredth on either side of zero.
static double AwayFromZero(float v) { return double(v > 0.0f ? v + 0.001f : v < 0.0f ? v - 0.001f : v); }

static int RangeLine(int action, char* text, float* fields, int i, const char* const* labels, float bound)
{
    if (action == kItemLabel) return ItemLabel(text, labels[i], AwayFromZero(fields[i]));
    StepFloatClamped(action, &fields[i], 0.01f, -bound, bound);
    return 1;
}

static int ResetLine(int action, char* text, float* fields)
{
    if (action == kItemLabel) return ItemLabel(text, "RESET VALUES");
    if (action == kItemSelect)
        for (int i = 0; i < 6; ++i) fields[i] = 0.0f;
    return 1;
}

// One range menu's seven lines over the six floats from `first` of the edited definition.
#define RANGE_MENU(menu, prefix, first, labels, bound)                                                       \
    static int prefix##0(int a, char* t) { return RangeLine(a, t, &Edited().first, 0, labels, bound); }      \
    static int prefix##1(int a, char* t) { return RangeLine(a, t, &Edited().first, 1, labels, bound); }      \
    static int prefix##2(int a, char* t) { return RangeLine(a, t, &Edited().first, 2, labels, bound); }      \
    static int prefix##3(int a, char* t) { return RangeLine(a, t, &Edited().first, 3, labels, bound); }      \
    static int prefix##4(int a, char* t) { return RangeLine(a, t, &Edited().first, 4, labels, bound); }      \
    static int prefix##5(int a, char* t) { return RangeLine(a, t, &Edited().first, 5, labels, bound); }      \
    static int prefix##Reset(int a, char* t) { return ResetLine(a, t, &Edited().first); }                   \
    TestItem menu[] = {{prefix##0}, {prefix##1}, {prefix##2}, {prefix##3}, {prefix##4}, {prefix##5},          \
                       {prefix##Reset}, {nullptr}};
RANGE_MENU(ParticleInitVelocityMenu, InitVel, initXVelMin, kVelLabels, 150.0f)
RANGE_MENU(ParticleUpdateVelocityMenu, UpdateVel, updateXVelMin, kVelLabels, 150.0f)
RANGE_MENU(ParticleInitAccelMenu, InitAccel, initXAccelMin, kAccelLabels, 15.0f)
RANGE_MENU(ParticleUpdateAccelMenu, UpdateAccel, updateXAccelMin, kAccelLabels, 15.0f)
#undef RANGE_MENU

// ---- ParticleControlPointMenu ----

static const float kCoordBound = 99000.0f;

static PARTICLECONTROLPOINTTAG& CurrentPoint() { return Edited().controlPoints[testOptions.currentControlPoint]; }

static int ItemControlPointNum(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "CONTROL POINT NUM: %d", testOptions.currentControlPoint + 1);
    StepIntWrapped(action, &testOptions.currentControlPoint, 0, kNumControlPoints - 1);
    return 1;
}

static int PointLine(int action, char* text, float* value, const char* label, float lo)
{
    if (action == kItemLabel) return ItemLabel(text, label, double(*value));
    StepFloatClamped(action, value, 0.1f, lo, kCoordBound);
    return 1;
}
static int ItemX(int a, char* t) { return PointLine(a, t, &CurrentPoint().x, "CENTER X: %.1f", -kCoordBound); }
static int ItemY(int a, char* t) { return PointLine(a, t, &CurrentPoint().y, "CENTER Y: %.1f", -kCoordBound); }
static int ItemZ(int a, char* t) { return PointLine(a, t, &CurrentPoint().z, "CENTER Z: %.1f", -kCoordBound); }
static int ItemStrength(int a, char* t) { return PointLine(a, t, &CurrentPoint().strength, "STRENGTH: %.1f", -kCoordBound); }

// The radius also keeps the point's marker: on every call, a positive radius without a marker
// adds one and a radius of 0 with a marker disposes it.
static int ItemRadius(int action, char* text)
{
    TestOptions& t = testOptions;
    const int i = t.currentControlPoint;
    PointLine(action, text, &CurrentPoint().radius, "RADIUS: %.1f", 0.0f);
    if (CurrentPoint().radius > 0.0f && !t.controlPointCenterActorPresent[i])
        AddParticleControlPointActor(i);
    else if (CurrentPoint().radius <= 0.0f && t.controlPointCenterActorPresent[i] && t.centerToolActor[i])
        DisposeActor(t.centerToolActor[i]);
    return 1;
}

static int ItemReset(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "RESET VALUES");
    if (action == kItemSelect) CurrentPoint() = PARTICLECONTROLPOINTTAG{};
    return 1;
}

TestItem ParticleControlPointMenu[] = {{ItemControlPointNum}, {ItemX},        {ItemY},     {ItemZ},
                                       {ItemRadius},          {ItemStrength}, {ItemReset}, {nullptr}};
