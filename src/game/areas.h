// Areas: the six bowling alleys the game can be played in. Changing alley unloads the old one and
// loads the new one's environment model and layers, its definition (start camera, camera limits,
// fixed cameras, fog, per-layer drawing switches, lights), its light sets, its objects, its
// collision environment and its music. The light records the drawing uses are filled here.
#pragma once

#include <cstdint>

#include "platform/lighting.h"

struct DS3_model_tag;

constexpr int kNumAreas = 6;
constexpr int kNumAreaTableEntries = 13;  // entries 6..12 of the alley tables are 0
constexpr int kNumEnvLayers = 32;         // slot 0 the environment, 1..31 its layers
constexpr int kNumActorLights = 16;       // one per actor type
constexpr int kNumLightTargets = kNumEnvLayers + kNumActorLights;
constexpr int kMaxLightSets = 48;
constexpr int kMaxEnvStaticCameras = 32;
constexpr int kNumEnvBillboards = 10;

// Members of an alley's area group, by index; each is optional.
enum { kAreaEnvDefnIndex = 0, kAreaLightSetIndex = 1, kAreaObjectListIndex = 2, kAreaParticleListIndex = 3, kAreaBillboardListIndex = 4 };
// Object types an area's object list may hold.
enum { kAreaObjectFirstType = 10, kAreaObjectLastType = 19 };

// A light set. Colours are 32-bit words: blue in the low byte, then green, then red; the top
// byte of specColor is the specular shine. Targets 0..31 are environment layers, 32..47 the
// actor light slots 0..15.
struct LightSetData {
    float light1Pos[3];  // directions of lights 1..3
    float light2Pos[3];
    float light3Pos[3];
    float specPos[3];  // where the specular light stands
    uint32_t light1Color, light2Color, light3Color, ambientColor, specColor;
    int32_t assignmentStart, assignmentEnd;  // the first and last target lit, inclusive
};
static_assert(sizeof(LightSetData) == 76, "a light set is 76 bytes");

// An area's light-set resource (member 1 of its group).
struct LightSetList {
    LightSetData light[kMaxLightSets];
    int32_t numLights;  // sets in use
};
static_assert(sizeof(LightSetList) == 3652, "a light-set list is 48 sets and a count");

// A fixed camera of an environment definition.
struct EnvStaticCamera {
    int32_t tracking;
    float viewingDistance;
    float zoom;
    float xAngle, yAngle, zAngle;
    float x, y, z;
    float vector1[3];
    float vector2[3];
    float block[4];
};
static_assert(sizeof(EnvStaticCamera) == 76, "a fixed camera entry is 76 bytes");

// An area's environment definition (member 0 of its group).
struct EnvDefn_properties {
    int32_t fogValue;  // the game's fog, 0..255
    float actorFogColor[3];
    float startCameraPosition[3];
    float startCameraAngle[3];  // X, Y, Z
    float startCameraZoom;
    float minCameraXAngle, maxCameraXAngle;
    float minCameraZoom, maxCameraZoom;
    // The alley's own lights: directions, then colours as in LightSetData.
    float light1Pos[3];
    float light2Pos[3];
    float light3Pos[3];
    uint32_t light1Color, light2Color, light3Color, ambientColor;
    float envMapAlpha[2];
    float envBillboardSize[kNumEnvBillboards];  // for the environment billboards
    int32_t envBillboardZStaticXform[kNumEnvBillboards];
    // Per environment slot.
    float envRotationSpeed[kNumEnvLayers];  // degrees added to the slot's heading per draw
    int32_t envLightingFlag[kNumEnvLayers];
    int32_t envDrawPriorityFlag[kNumEnvLayers];  // 0..5 before the actors, above 5 after them
    int32_t envZwriteFlag[kNumEnvLayers];
    int32_t envBlendMode[kNumEnvLayers];
    float envFogColor[kNumEnvLayers][3];
    float envFogValue[kNumEnvLayers][2];
    uint8_t envAlphaLevel[kNumEnvLayers];
    int32_t envDrawOrder[kNumEnvLayers];  // entry k: the slot drawn k-th
    int32_t numStaticCameras;
    EnvStaticCamera staticCameras[kMaxEnvStaticCameras];
};
static_assert(sizeof(EnvDefn_properties) == 4076, "the environment definition is 4076 bytes");

// An area's object list (member 2 of its group): the count, then that many entries.
struct AreaObjectList {
    int32_t numObjects;
};
static_assert(sizeof(AreaObjectList) == 4, "the object list starts with its count");
struct AreaObjectEntry {
    int32_t type;  // kAreaObjectFirstType..kAreaObjectLastType
    float x, y, z;
    float heading;
};
static_assert(sizeof(AreaObjectEntry) == 20, "an area object is 20 bytes");

// Alley tables, by area number.
extern const int areaEnvRSIDs[kNumAreaTableEntries];
extern const int areaEnvLayersRSIDs[kNumAreaTableEntries];
extern const int areaRSIDs[kNumAreaTableEntries];
extern const int musicRSIDOffset[kNumAreaTableEntries];

// The current alley, 0..5.
extern int areaNum;
// The alley loaded before the last change.
extern int oldAreaNum;
// A change of alley asked for during play: the transition that covers it sets
// gChangeStageTransition, the frame after which the change runs sets gChangeStage; the game loop
// then changes to nextArea.
extern int gChangeStage;
extern int gChangeStageTransition;
extern int nextArea;

extern int areaRSID;           // the loaded area group << 16; 0 for none
extern int areaEnvRSID;        // the environment group in use; 0 for none
extern int areaEnvLayersRSID;  // its layer group; 0 for none
extern int areaLightsetRSID;   // the light-set list in use; 0 for none
extern int areaSoundsStartRSID, areaSoundsEndRSID;  // -1 for none

// The environment table the drawing reads: slot 0 the environment model, 1..31 its layers.
extern DS3_model_tag* envModel[kNumEnvLayers];
extern float envHeading[kNumEnvLayers];
extern float envHeadingIncrement[kNumEnvLayers];
extern int envLightingFlag[kNumEnvLayers];
extern int envDrawPriorityFlag[kNumEnvLayers];
extern int envZwriteFlag[kNumEnvLayers];
extern int envBlendMode[kNumEnvLayers];
extern uint8_t envAlphaLevel[kNumEnvLayers];
extern float envFogColor[kNumEnvLayers][3];
extern float envFogValue[kNumEnvLayers][2];
extern int envDrawOrder[kNumEnvLayers];
extern float envMapAlpha[2];
extern float actorFogColor[3];

// Light records: the alley, each environment slot, the bowlers, the pins and objects, and each
// actor type; each with its mirror.
extern DS3_lights gGameLights, areaLights;
extern DS3_lights gLayerLights[kNumEnvLayers], layerLights[kNumEnvLayers];
extern DS3_lights gCharacterLights, characterLights;
extern DS3_lights gPinLights, pinLights;
extern DS3_lights gActorLights[kNumActorLights], actorLights[kNumActorLights];

// Swaps the alley. The ball, the pins and the bowlers are not touched, so a game goes on in the
// new alley. An environment the new alley shares with the old one stays loaded; the area group
// is always loaded afresh. An environment or layer group that the game data does not hold leaves
// its slots empty. 0 for an area outside 0..5 (nothing changes) or when a load fails.
int ChangeArea(int area);
// Unloads the environment: its extra resources, its group and its layer group, and empties the
// environment table. 1 when none is loaded; 0 when a disposal fails.
int DisposeAreaEnv();
// Unloads the whole alley: its props, environment, area group and collision environment. 1 when none is
// loaded; 0 when a disposal fails (the rest is still unloaded).
int DisposeArea();
// 1 while an alley is loaded.
int AreaLoaded();
// Applies the environment definition at resource rsid: fog, start cameras, camera limits, fixed
// cameras, lights and per-slot switches. 0, with nothing applied, for a missing or damaged record.
int LoadAreaEnvDefnResource(int rsid);
// Checks the object list at resource rsid: 0 for a missing or damaged list or an object type
// outside 10..19. Creates nothing.
int LoadAreaObjects(int rsid);

// The game lights before an alley sets its own: a dim warm ambient and one soft white light.
void SetDefaultLights();
// The definition's lights into the alley's, one slot's, the bowlers' or the pins' record, and its
// mirror (all 32 slot mirrors for a slot). 0 for a null definition or a slot outside 0..31.
int SetAreaLights(const EnvDefn_properties* defn);
int SetLayerLights(const EnvDefn_properties* defn, int layer);
int SetCharacterLights(const EnvDefn_properties* defn);
int SetObjectLights(const EnvDefn_properties* defn);
// A light set into actor slot `slot` (0..15) or environment slot `layer` (0..31), with the
// mirrors. 0 for a null set or a slot out of range.
int SetActorLights(const LightSetData* set, int slot);
int SetEnvLayerLights(const LightSetData* set, int layer);
// The resource id of the light-set list in use (edited in place by test mode); 0 for none.
int GetAreaLightsetRSID();
