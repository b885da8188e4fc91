// The particle menus: choose a stored definition from the game data as the starting point, set
// the particle count, the generator and container domains (with markers in the scene while their
// coordinates are edited), blending and every property of the particles, start a test system
// from the edited definition and kill the test systems. Systems copy what they need when they
// start, so an edit shows in the next system started.
#include <cstring>

#include "game/actors.h"
#include "game/particledefs.h"
#include "game/particles.h"
#include "game/particletools.h"
#include "game/predefinedparticles.h"
#include "game/records.h"
#include "host/errorlog.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "testmode/testmenus.h"

static const int kMaxTestParticles = 500;
static const int kNumAnimationSlots = int(sizeof testOptions.animationRSIDs / sizeof testOptions.animationRSIDs[0]);

static const char* const blendModeStrings[] = {"NORMAL", "ADDITIVE", "SUBTRACTIVE", "BRIGHTEN", "DARKEN"};
static const int kNumBlendModes = int(sizeof blendModeStrings / sizeof blendModeStrings[0]);
static const char* const xformTypeStrings[] = {"BILLBOARD", "Z STATIC BILLBOARD"};
static const char* const boolStrings[] = {"FALSE", "TRUE"};

// The groups of stored definitions and particle bitmaps, when test mode loaded them.
static int loadedDefinitions = 0;
static int loadedBitmaps = 0;

static PARTICLESYSTEMINFOTAG& Edited() { return *testOptions.particleSystemInfo; }

int LoadTestParticleGroups()
{
    if (!ResourceLoaded(kParticleStoredDefinitionGroup)) {
        if (!LoadResourceGroup(kParticleStoredDefinitionGroup))
            return PrintError("test mode: the stored particle definitions could not be loaded");
        loadedDefinitions = 1;
    }
    if (!ResourceLoaded(kParticleBitmapGroup)) {
        if (!LoadResourceGroup(kParticleBitmapGroup)) return PrintError("test mode: the particle bitmaps could not be loaded");
        loadedBitmaps = 1;
    }
    return 1;
}

int UnloadTestParticleGroups()
{
    int ok = 1;
    if (loadedDefinitions && !UnloadResourceGroup(kParticleStoredDefinitionGroup)) ok = 0;
    if (loadedBitmaps && !UnloadResourceGroup(kParticleBitmapGroup)) ok = 0;
    loadedDefinitions = loadedBitmaps = 0;
    return ok ? 1 : PrintError("test mode: the particle groups stay loaded");
}

int TestModeLoadParticleSystemDefinition()
{
    TestOptions& t = testOptions;
    t.numParticleSystems = NumResourcesInGroup(kParticleStoredDefinitionGroup);
    if (t.numParticleSystems < 1) {
        t.numParticleSystems = 0;
        return 1;
    }
    const int id = (kParticleStoredDefinitionGroup << 16) + t.particleSystemNum;
    void* stored = nullptr;
    if (!GetResourceHandle(id, &stored) || !stored) return PrintError("test mode: no stored particle definition %d", id);
    if (t.numParticleBitmaps <= 0) return PrintError("test mode: there are no particle bitmaps");
    // The stored record is checked before it is used; the copy starts on the first bitmap.
    PARTICLESYSTEMINFOTAG d;
    if (!ReadParticleSystemInfo(stored, ResourceSize(id), &d)) return 0;
    d.bitmapRSID = kParticleBitmapGroup << 16;
    Edited() = d;
    return 1;
}

// ---- ParticlesMenu ----

static int ItemStartParticleSystem(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "START SYSTEM");
    if (action != kItemSelect) return 1;
    TestOptions& t = testOptions;
    PARTICLESYSTEMINFOTAG& d = Edited();
    // The animation group the system will load is remembered, once, for unloading when test mode
    // ends; with no room left to remember it the system is not started.
    if (d.animationRSID > 0 && !ResourceLoaded(d.animationRSID)) {
        int known = 0;
        for (int i = 0; i < t.numAnimationRSIDs; ++i) known |= t.animationRSIDs[i] == d.animationRSID;
        if (!known && t.numAnimationRSIDs >= kNumAnimationSlots) {
            PrintError("test mode: %d particle animations are loaded, no more can be", t.numAnimationRSIDs);
            return 1;
        }
        if (!known) t.animationRSIDs[t.numAnimationRSIDs++] = d.animationRSID;
    }
    PARTICLESYSTEMTAG* s = TestParticleSystemCreate(d.numParticles, d.genDomain, d.genDomainType, d.contDomain, d.contDomainType);
    if (!s) {
        PrintError("test mode: the test particle system could not be made");
        return 1;
    }
    if (!ParticleSystemManagerAddSystem(s)) ParticleSystemDestroy(s);
    return 1;
}

static int ItemParticleSystem(int action, char* text)
{
    TestOptions& t = testOptions;
    if (action == kItemLabel) {
        if (t.numParticleSystems > 0) return ItemLabel(text, "PARTICLE SYSTEM NUM : %d", t.particleSystemNum + 1);
        return ItemLabel(text, "NO PARTICLE SYSTEMS DEFINED IN RESOURCE GROUP");
    }
    const int d = action == kItemIncrease ? 1 : action == kItemDecrease ? -1 : 0;
    if (!d || t.numParticleSystems < 1) return 1;
    const int next = t.particleSystemNum + d;
    if (next < 0 || next > t.numParticleSystems - 1) return 1;
    t.particleSystemNum = next;
    return TestModeLoadParticleSystemDefinition();
}

#define ENTER_LINE(name, label, menu)                                        \
    static int name(int action, char* text)                                  \
    {                                                                        \
        if (action == kItemLabel) return ItemLabel(text, "%s", label);       \
        if (action == kItemSelect) return EnterTestMenu(menu, ParticlesMenu); \
        return 1;                                                            \
    }
ENTER_LINE(ItemParticleProperties, "PARTICLE PROPERTIES", ParticlePropertiesMenu)
ENTER_LINE(ItemParticleMovement, "PARTICLE MOVEMENT", ParticleMovementMenu)
ENTER_LINE(ItemParticleControlPoints, "PARTICLE CONTROL POINTS", ParticleControlPointMenu)
#undef ENTER_LINE

static int ItemNumParticles(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "NUM PARTICLES: %d", Edited().numParticles);
    StepIntClamped(action, &Edited().numParticles, 1, 1, kMaxTestParticles);
    return 1;
}

static const char* DomainTypeName(int type)
{
    switch (type) {
    case kDomainBox: return "BOX";
    case kDomainSphere: return "SPHERE";
    case kDomainCylinder: return "CYLINDER";
    case kDomainRectangle: return "RECT";
    default: return "UNKNOWN";
    }
}

// Box 0 -> sphere 1 -> rectangle 5 -> box 0 upward; downward 5 -> 1 -> 0 -> cylinder 2 -> 1.
static int NextDomainType(int type, int up)
{
    if (up) {
        if (type >= 1 && type <= 3) return kDomainRectangle;
        return type + 1 > 2 ? 0 : type + 1;
    }
    if (type >= 3 && type <= 5) return kDomainSphere;
    return type - 1 < 0 ? 2 : type - 1;
}

// The generator's (generator 1) or the container's domain: its type steps, its coordinates
// menu, its markers.
struct DomainLines {
    int generator;
    const char* typeLabel;
    const char* coordsLabel;
};

static int DomainTypeLine(const DomainLines& l, int action, char* text)
{
    TestOptions& t = testOptions;
    PARTICLESYSTEMINFOTAG& d = Edited();
    int32_t& type = l.generator ? d.genDomainType : d.contDomainType;
    if (action == kItemLabel) return ItemLabel(text, l.typeLabel, DomainTypeName(type));
    if (action != kItemIncrease && action != kItemDecrease) return 1;
    type = NextDomainType(type, action == kItemIncrease);
    std::memset(l.generator ? d.genDomain : d.contDomain, 0, kDomainRecordBytes);
    actor_tag* marker = l.generator ? t.genCenterToolActor : t.containerCenterToolActor;
    const int present = l.generator ? t.generatorCenterActorPresent : t.containerCenterActorPresent;
    if (present && marker) DisposeActor(marker);
    return 1;
}

static int DomainCoordsLine(const DomainLines& l, int action, char* text)
{
    TestOptions& t = testOptions;
    PARTICLESYSTEMINFOTAG& d = Edited();
    if (action == kItemLabel) return ItemLabel(text, "%s", l.coordsLabel);
    if (action != kItemSelect) return 1;
    const int type = l.generator ? d.genDomainType : d.contDomainType;
    TestItem* menu = type == kDomainBox        ? BoxDomainCoordsMenu
                     : type == kDomainSphere   ? SphereDomainCoordsMenu
                     : type == kDomainCylinder ? CylinderDomainCoordsMenu
                     : type == kDomainRectangle ? RectDomainCoordsMenu
                                                : nullptr;
    if (!menu) return PrintError("test mode: no coordinates for a domain of type %d", type);
    EnterTestMenu(menu, ParticlesMenu);
    t.domainCoordsType = l.generator ? 0 : 1;
    const int present = l.generator ? t.generatorCenterActorPresent : t.containerCenterActorPresent;
    if (present) return 1;
    return AddParticleToolActor(type, l.generator ? d.genDomain : d.contDomain, l.generator);
}

static const DomainLines kGenerator = {1, "GENERATOR DOMAIN TYPE: %s", "GENERATOR DOMAIN COORDS"};
static const DomainLines kContainer = {0, "CONTAINER DOMAIN TYPE: %s", "CONTAINER DOMAIN COORDS"};
static int ItemGenDomainType(int a, char* t) { return DomainTypeLine(kGenerator, a, t); }
static int ItemGenDomain(int a, char* t) { return DomainCoordsLine(kGenerator, a, t); }
static int ItemContDomainType(int a, char* t) { return DomainTypeLine(kContainer, a, t); }
static int ItemContDomain(int a, char* t) { return DomainCoordsLine(kContainer, a, t); }

// Blending is shown while there are stored definitions to start from; without them the line
// names what it would change.
static int ItemBlendMode(int action, char* text)
{
    int32_t& mode = Edited().blendMode;
    if (action == kItemLabel) {
        if (testOptions.numParticleSystems <= 0) return ItemLabel(text, "ALPHA BLEND MODE");
        if (mode < 0 || mode >= kNumBlendModes) return ItemLabel(text, "ALPHA BLEND MODE : %d", int(mode));
        return ItemLabel(text, "ALPHA BLEND MODE : %s", blendModeStrings[mode]);
    }
    StepIntWrapped(action, &mode, 0, kNumBlendModes - 1);
    return 1;
}

static int BlendColorLine(int action, char* text, int channel)
{
    static const char* const names[3] = {"R", "G", "B"};
    int32_t& c = Edited().blendColor[channel];
    if (action == kItemLabel) {
        if (testOptions.numParticleSystems <= 0) return ItemLabel(text, "BLEND COLOR %s", names[channel]);
        return ItemLabel(text, "BLEND COLOR %s: %d", names[channel], int(c));
    }
    StepIntWrapped(action, &c, 0, 255);
    return 1;
}
static int ItemBlendColorR(int a, char* t) { return BlendColorLine(a, t, 0); }
static int ItemBlendColorG(int a, char* t) { return BlendColorLine(a, t, 1); }
static int ItemBlendColorB(int a, char* t) { return BlendColorLine(a, t, 2); }

static int ItemKillParticleSystems(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "KILL SYSTEMS");
    if (action == kItemSelect) ParticleSystemManagerRemoveSystems(kParticleSystemTest);
    return 1;
}

TestItem ParticlesMenu[] = {{ItemStartParticleSystem}, {ItemParticleSystem}, {ItemParticleProperties},
                            {ItemParticleMovement},    {ItemParticleControlPoints}, {ItemNumParticles},
                            {ItemGenDomainType},       {ItemGenDomain},       {ItemContDomainType},
                            {ItemContDomain},          {ItemBlendMode},       {ItemBlendColorR},
                            {ItemBlendColorG},         {ItemBlendColorB},     {ItemKillParticleSystems},
                            {nullptr}};

// ---- ParticlePropertiesMenu ----

static int ItemBitmap(int action, char* text)
{
    TestOptions& t = testOptions;
    if (action == kItemLabel) return ItemLabel(text, "BITMAP NUM: %d", t.bitmapNum + 1);
    const int d = action == kItemIncrease ? 1 : action == kItemDecrease ? -1 : 0;
    if (!d) return 1;
    const int next = t.bitmapNum + d;
    if (next < 0 || next > t.numParticleBitmaps - 1) {
        t.bitmapNum = next < 0 ? 0 : (t.numParticleBitmaps > 0 ? t.numParticleBitmaps - 1 : 0);
        return 1;
    }
    t.bitmapNum = next;
    Edited().bitmapRSID = (kParticleBitmapGroup << 16) + t.bitmapNum;
    return 1;
}

#define FLOAT_LINE(name, label, field, step, lo, hi)                                \
    static int name(int action, char* text)                                         \
    {                                                                               \
        if (action == kItemLabel) return ItemLabel(text, label, double(Edited().field)); \
        StepFloatClamped(action, &Edited().field, step, lo, hi);                    \
        return 1;                                                                   \
    }
#define INT_LINE(name, label, field, lo, hi)                                        \
    static int name(int action, char* text)                                         \
    {                                                                               \
        if (action == kItemLabel) return ItemLabel(text, label, int(Edited().field)); \
        StepIntClamped(action, &Edited().field, 1, lo, hi);                         \
        return 1;                                                                   \
    }
FLOAT_LINE(ItemAlpha, "ALPHA: %.1f", particleAlpha, 0.1f, 0.0f, 255.0f)
FLOAT_LINE(ItemSize, "SIZE: %.1f", particleSize, 0.1f, 0.1f, 100.0f)
INT_LINE(ItemGrow, "GROW FRAMES: %d", growFrames, 0, 100)
INT_LINE(ItemShrink, "SHRINK FRAMES: %d", shrinkFrames, 0, 100)
INT_LINE(ItemLifeMin, "LIFE MIN: %d", particleLifeMin, 0, 100)
INT_LINE(ItemLifeMax, "LIFE MAX: %d", particleLifeMax, 0, 100)
FLOAT_LINE(ItemAlphaRateMin, "ALPHA RATE MIN: %.1f", particleAlphaRateMin, 0.1f, -255.0f, 255.0f)
FLOAT_LINE(ItemAlphaRateMax, "ALPHA RATE MAX: %.1f", particleAlphaRateMax, 0.1f, -255.0f, 255.0f)
FLOAT_LINE(ItemSizeRateMin, "SIZE RATE MIN: %.1f", particleSizeRateMin, 0.1f, -100.0f, 100.0f)
FLOAT_LINE(ItemSizeRateMax, "SIZE RATE MAX: %.1f", particleSizeRateMax, 0.1f, -100.0f, 100.0f)
#undef FLOAT_LINE
#undef INT_LINE

static int ItemXformType(int action, char* text)
{
    int32_t& x = Edited().xformType;
    if (action == kItemLabel) return ItemLabel(text, "XFORM TYPE: %s", xformTypeStrings[x == 1 ? 1 : 0]);
    StepIntWrapped(action, &x, 0, 1);
    return 1;
}

static int FlagLine(int action, char* text, int32_t* flag, const char* label)
{
    if (action == kItemLabel) return ItemLabel(text, label, boolStrings[*flag ? 1 : 0]);
    if (action == kItemIncrease || action == kItemDecrease) *flag = *flag ? 0 : 1;
    return 1;
}
static int ItemAutoRespawnParticles(int a, char* t) { return FlagLine(a, t, &Edited().autoRespawnParticles, "RESPAWN PARTICLES: %s"); }
static int ItemAlphaDeath(int a, char* t) { return FlagLine(a, t, &Edited().alphaDeath, "ALPHA DEATH: %s"); }

// Rotations step by a degree; past a full turn either way they start again from 0.
static int RotationLine(int action, char* text, float* value, const char* label)
{
    if (action == kItemLabel) return ItemLabel(text, label, double(*value));
    if (action == kItemIncrease && (*value += 1.0f) >= 359.9f) *value = 0.0f;
    if (action == kItemDecrease && (*value -= 1.0f) < -359.0f) *value = 0.0f;
    return 1;
}
static int ItemStartRotMin(int a, char* t) { return RotationLine(a, t, &Edited().startMinRotation, "INITIAL ROTATION MIN: %.1f"); }
static int ItemStartRotMax(int a, char* t) { return RotationLine(a, t, &Edited().startMaxRotation, "INITIAL ROTATION MAX: %.1f"); }
static int ItemRotChangeMin(int a, char* t) { return RotationLine(a, t, &Edited().rotationMinDelta, "CHANGE IN ROTATION MIN: %.1f"); }
static int ItemRotChangeMax(int a, char* t) { return RotationLine(a, t, &Edited().rotationMaxDelta, "CHANGE IN ROTATION MAX: %.1f"); }

TestItem ParticlePropertiesMenu[] = {{ItemBitmap},       {ItemAlpha},         {ItemSize},          {ItemGrow},
                                     {ItemShrink},       {ItemLifeMin},       {ItemLifeMax},       {ItemAlphaRateMin},
                                     {ItemAlphaRateMax}, {ItemSizeRateMin},   {ItemSizeRateMax},   {ItemXformType},
                                     {ItemAutoRespawnParticles}, {ItemAlphaDeath}, {ItemStartRotMin}, {ItemStartRotMax},
                                     {ItemRotChangeMin}, {ItemRotChangeMax},  {nullptr}};
