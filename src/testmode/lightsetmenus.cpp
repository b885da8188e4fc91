// The light-set menus: the create menu builds a light set of its own and lights its targets with
// it when asked; the edit menu changes the alley's loaded light sets in place and relights their
// targets after every change, so an edit shows in the next frame. A set's targets are 0..31 for
// environment layers 1..32 and 32 + t for actor light slot t (0..15).
#include <cmath>

#include "game/areas.h"
#include "host/errorlog.h"
#include "lib/resources.h"
#include "testmode/testmenus.h"

static const int kNumTargets = 48;
static const int kNumLayers = 32;
static const int kAmbient = 3;  // lightNum of the ambient colour; 0..2 are lights 1..3

static const char* const LightStrings[] = {
    "LAYER_1",          "LAYER_2",           "LAYER_3",       "LAYER_4",        "LAYER_5",
    "LAYER_6",          "LAYER_7",           "LAYER_8",       "LAYER_9",        "LAYER_10",
    "LAYER_11",         "LAYER_12",          "LAYER_13",      "LAYER_14",       "LAYER_15",
    "LAYER_16",         "LAYER_17",          "LAYER_18",      "LAYER_19",       "LAYER_20",
    "LAYER_21",         "LAYER_22",          "LAYER_23",      "LAYER_24",       "LAYER_25",
    "LAYER_26",         "LAYER_27",          "LAYER_28",      "LAYER_29",       "LAYER_30",
    "LAYER_31",         "LAYER_32",          "ACTORTYPE_NONE", "ACTORTYPE_PARTICLETOOL", "ACTORTYPE_CHARACTER",
    "ACTORTYPE_PLAYER", "ACTORTYPE_BOWLINGBALL", "ACTORTYPE_BOWLINGPIN", "ACTORTYPE_ENVOBJECT", "ACTORTYPE_GROUND",
    "ACTORTYPE_GUTTER", "ACTORTYPE_AIMER"};
static const int kNumLightStrings = int(sizeof LightStrings / sizeof LightStrings[0]);

// The create menu's own set and light; the edit menu's set number and light. All keep their
// values for the run.
static LightSetData lightset = {};
static int createLightNum = 0;
static int lightsetNum = 0;
static int editLightNum = 0;

void ResetLightSetMenus()
{
    lightset = LightSetData{};
    createLightNum = lightsetNum = editLightNum = 0;
}

// The label of a target: its name, or for the actor slots past the names, the slot's number.
static int TargetLabel(char* text, const char* prefix, int target)
{
    if (target >= 0 && target < kNumLightStrings) return ItemLabel(text, "%s%s", prefix, LightStrings[target]);
    if (target >= kNumLightStrings && target < kNumTargets) return ItemLabel(text, "%sACTORTYPE_%d", prefix, target - kNumLayers);
    return ItemLabel(text, "%sNONE (%d)", prefix, target);
}

static int ApplyLightSet(const LightSetData* set)
{
    if (!set) return 0;
    // A stored set may name targets outside 0..47: only the real ones are lit.
    const int first = set->assignmentStart < 0 ? 0 : set->assignmentStart;
    const int last = set->assignmentEnd >= kNumTargets ? kNumTargets - 1 : set->assignmentEnd;
    for (int t = first; t <= last; ++t)
        if (!(t < kNumLayers ? SetEnvLayerLights(set, t) : SetActorLights(set, t - kNumLayers))) return 0;
    return 1;
}

// The alley's light sets, or null with a message.
static LightSetList* AreaLightSets()
{
    void* handle = nullptr;
    if (!GetResourceHandle(GetAreaLightsetRSID(), &handle) || !handle) return nullptr;
    LightSetList* list = static_cast<LightSetList*>(handle);
    return list->numLights > 0 ? list : nullptr;
}

static int NumAreaSets(const LightSetList* list)
{
    return list->numLights > kMaxLightSets ? kMaxLightSets : list->numLights;
}

// The edited set of the alley: lightsetNum kept within the sets the alley has.
static LightSetData* EditedSet()
{
    LightSetList* list = AreaLightSets();
    if (!list) return nullptr;
    if (lightsetNum >= NumAreaSets(list)) lightsetNum = NumAreaSets(list) - 1;
    if (lightsetNum < 0) lightsetNum = 0;
    return &list->light[lightsetNum];
}

static uint32_t* ColorWord(LightSetData* set, int light)
{
    switch (light) {
    case 0: return &set->light1Color;
    case 1: return &set->light2Color;
    case 2: return &set->light3Color;
    case kAmbient: return &set->ambientColor;
    default: return nullptr;
    }
}

static float* Direction(LightSetData* set, int light)
{
    switch (light) {
    case 0: return set->light1Pos;
    case 1: return set->light2Pos;
    case 2: return set->light3Pos;
    default: return nullptr;
    }
}

// Byte `shift / 8` of a colour word (0 blue, 8 green, 16 red, 24 the specular shine).
static int ColorByte(uint32_t word, int shift) { return int((word >> shift) & 0xFF); }
static void SetColorByte(uint32_t* word, int shift, int v)
{
    *word = (*word & ~(0xFFu << shift)) | (uint32_t(v & 0xFF) << shift);
}

// Scales a light's direction to unit length; a zero direction stays as it is.
static void NormalizeLightVector(float* x, float* y, float* z)
{
    const float len = std::sqrt(*x * *x + *y * *y + *z * *z);
    if (len <= 0.0f) return;
    *x /= len, *y /= len, *z /= len;
}

// ---- The lines, shared by both menus: `set` is the set the menu edits (null: none to edit) ----

struct LightMenu {
    LightSetData* (*set)();
    int* lightNum;
    int applyOnChange;  // the edit menu relights after every change
};

static LightSetData* CreatedSet() { return &lightset; }
static const LightMenu kCreate = {CreatedSet, &createLightNum, 0};
static const LightMenu kEdit = {EditedSet, &editLightNum, 1};

static int Changed(const LightMenu& m, LightSetData* set)
{
    if (m.applyOnChange) ApplyLightSet(set);
    return 1;
}

static int NoSet(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "NO LIGHTSETS IN THIS ALLEY");
    return PrintError("test mode: the alley has no light sets to edit");
}

static int TargetLine(const LightMenu& m, int action, char* text, int end)
{
    LightSetData* set = m.set();
    if (!set) return NoSet(action, text);
    int& value = end ? set->assignmentEnd : set->assignmentStart;
    if (action == kItemLabel) return TargetLabel(text, end ? "TARGET END: " : "TARGET START: ", value);
    if (!StepIntClamped(action, &value, 1, 0, kNumTargets - 1)) return 1;
    if (!end && action == kItemIncrease && set->assignmentEnd < set->assignmentStart)
        set->assignmentEnd = set->assignmentStart;
    return Changed(m, set);
}

static int LightNumLine(const LightMenu& m, int action, char* text)
{
    if (action == kItemLabel)
        return *m.lightNum == kAmbient ? ItemLabel(text, "LIGHT: AMBIENT") : ItemLabel(text, "LIGHT: %d", *m.lightNum + 1);
    StepIntWrapped(action, m.lightNum, 0, kAmbient);
    return 1;
}

static int ColorLine(const LightMenu& m, int action, char* text, int shift)
{
    static const char* const channel[3] = {"BLUE", "GREEN", "RED"};
    LightSetData* set = m.set();
    if (!set) return NoSet(action, text);
    uint32_t* word = ColorWord(set, *m.lightNum);
    if (!word) return 1;
    int v = ColorByte(*word, shift);
    if (action == kItemLabel)
        return ItemLabel(text, "%s %s: %d", *m.lightNum == kAmbient ? "AMBIENT" : "LIGHT", channel[shift / 8], v);
    if (!StepIntWrapped(action, &v, 0, 255)) return 1;
    SetColorByte(word, shift, v);
    return Changed(m, set);
}

static int DirectionLine(const LightMenu& m, int action, char* text, int axis)
{
    static const char* const labels[3] = {"LIGHT X: %.2f", "LIGHT Y: %.2f", "LIGHT Z: %.2f"};
    LightSetData* set = m.set();
    if (!set) return NoSet(action, text);
    float* d = Direction(set, *m.lightNum);
    if (!d) return action == kItemLabel ? ItemLabel(text, " ") : 1;
    if (action == kItemLabel) return ItemLabel(text, labels[axis], double(d[axis]));
    if (!StepFloatClamped(action, &d[axis], 0.01f, -1.0f, 1.0f)) return 1;
    NormalizeLightVector(&d[0], &d[1], &d[2]);
    return Changed(m, set);
}

// ---- Create menu ----

static int CreateStart(int a, char* t) { return TargetLine(kCreate, a, t, 0); }
static int CreateEnd(int a, char* t) { return TargetLine(kCreate, a, t, 1); }
static int CreateLightNum(int a, char* t) { return LightNumLine(kCreate, a, t); }
static int CreateRed(int a, char* t) { return ColorLine(kCreate, a, t, 16); }
static int CreateGreen(int a, char* t) { return ColorLine(kCreate, a, t, 8); }
static int CreateBlue(int a, char* t) { return ColorLine(kCreate, a, t, 0); }
static int CreateX(int a, char* t) { return DirectionLine(kCreate, a, t, 0); }
static int CreateY(int a, char* t) { return DirectionLine(kCreate, a, t, 1); }
static int CreateZ(int a, char* t) { return DirectionLine(kCreate, a, t, 2); }

static int ItemCreateLighset(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "Activate Lightset");
    if (action == kItemSelect) ApplyLightSet(&lightset);
    return 1;
}

TestItem CreateLightsetMenu[] = {{CreateStart}, {CreateEnd}, {ItemCreateLighset}, {CreateLightNum}, {CreateRed},
                                 {CreateGreen}, {CreateBlue}, {CreateX},          {CreateY},        {CreateZ},
                                 {nullptr}};

// ---- Edit menu ----

static int ItemLightsetNum(int action, char* text)
{
    const LightSetList* list = AreaLightSets();
    if (!list) return NoSet(action, text);
    EditedSet();  // keeps the number within the alley's sets
    if (action == kItemLabel) return ItemLabel(text, "LIGHTSET: %d", lightsetNum + 1);
    StepIntClamped(action, &lightsetNum, 1, 0, NumAreaSets(list) - 1);
    return 1;
}

static int EditStart(int a, char* t) { return TargetLine(kEdit, a, t, 0); }
static int EditEnd(int a, char* t) { return TargetLine(kEdit, a, t, 1); }
static int EditLightNum(int a, char* t) { return LightNumLine(kEdit, a, t); }
static int EditRed(int a, char* t) { return ColorLine(kEdit, a, t, 16); }
static int EditGreen(int a, char* t) { return ColorLine(kEdit, a, t, 8); }
static int EditBlue(int a, char* t) { return ColorLine(kEdit, a, t, 0); }
static int EditX(int a, char* t) { return DirectionLine(kEdit, a, t, 0); }
static int EditY(int a, char* t) { return DirectionLine(kEdit, a, t, 1); }
static int EditZ(int a, char* t) { return DirectionLine(kEdit, a, t, 2); }

// The specular colour's bytes (red 16, green 8, blue 0, shine 24) and position.
static int SpecByteLine(int action, char* text, int shift, const char* label)
{
    LightSetData* set = EditedSet();
    if (!set) return NoSet(action, text);
    int v = ColorByte(set->specColor, shift);
    if (action == kItemLabel) return ItemLabel(text, label, double(v));
    if (!StepIntWrapped(action, &v, 0, 255)) return 1;
    SetColorByte(&set->specColor, shift, v);
    return Changed(kEdit, set);
}

static int SpecPosLine(int action, char* text, int axis, const char* label)
{
    LightSetData* set = EditedSet();
    if (!set) return NoSet(action, text);
    if (action == kItemLabel) return ItemLabel(text, label, double(set->specPos[axis]));
    if (!StepFloatClamped(action, &set->specPos[axis], 1.0f, -HUGE_VALF, HUGE_VALF)) return 1;
    return Changed(kEdit, set);
}

static int ItemSpecRed(int a, char* t) { return SpecByteLine(a, t, 16, "SPEC RED: %.1f"); }
static int ItemSpecGreen(int a, char* t) { return SpecByteLine(a, t, 8, "SPEC GREEN: %.1f"); }
static int ItemSpecBlue(int a, char* t) { return SpecByteLine(a, t, 0, "SPEC BLUE: %.1f"); }
static int ItemSpecShiny(int a, char* t) { return SpecByteLine(a, t, 24, "SPEC SHINE: %.1f"); }
static int ItemSpecX(int a, char* t) { return SpecPosLine(a, t, 0, "SPEC X: %.1f"); }
static int ItemSpecY(int a, char* t) { return SpecPosLine(a, t, 1, "SPEC Y: %.1f"); }
static int ItemSpecZ(int a, char* t) { return SpecPosLine(a, t, 2, "SPEC Z: %.1f"); }

TestItem EditLightsetMenu[] = {{ItemLightsetNum}, {EditStart},    {EditEnd},     {EditLightNum}, {EditRed},
                               {EditGreen},       {EditBlue},     {EditX},       {EditY},        {EditZ},
                               {ItemSpecRed},     {ItemSpecGreen}, {ItemSpecBlue}, {ItemSpecShiny}, {ItemSpecX},
                               {ItemSpecY},       {ItemSpecZ},    {nullptr}};
