// Changing alley: unloading the old alley and loading the new one's models, definition, lights,
// objects, collision environment and music, in the order the drawing and the physics need them.
#include "game/areas.h"

#include <cstring>

#include "game/actors.h"
#include "game/billboards.h"
#include "game/camera.h"
#include "game/collision.h"
#include "game/controls.h"
#include "game/envobjects.h"
#include "game/gameloop.h"
#include "game/music.h"
#include "game/particles.h"
#include "game/predefinedparticles.h"
#include "game/records.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/camera.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "shell/settings.h"

const int areaEnvRSIDs[kNumAreaTableEntries] = {100, 200, 300, 400, 500, 600};
const int areaEnvLayersRSIDs[kNumAreaTableEntries] = {104, 206, 306, 406, 506, 606};
const int areaRSIDs[kNumAreaTableEntries] = {105, 207, 307, 407, 507, 607};
// Every alley plays the same songs: the song number is counted from kAreaMusicBase.
const int musicRSIDOffset[kNumAreaTableEntries] = {2, 2, 2, 2, 2, 2};

int areaNum = 0;
int oldAreaNum = 0;
int gChangeStage = 0;
int gChangeStageTransition = 0;
int nextArea = 0;

int areaRSID = 0;
int areaEnvRSID = 0;
int areaEnvLayersRSID = 0;
int areaLightsetRSID = 0;
int areaSoundsStartRSID = -1;
int areaSoundsEndRSID = -1;

DS3_model_tag* envModel[kNumEnvLayers];
float envHeading[kNumEnvLayers];
float envHeadingIncrement[kNumEnvLayers];
int envLightingFlag[kNumEnvLayers];
int envDrawPriorityFlag[kNumEnvLayers];
int envZwriteFlag[kNumEnvLayers];
int envBlendMode[kNumEnvLayers];
uint8_t envAlphaLevel[kNumEnvLayers];
float envFogColor[kNumEnvLayers][3];
float envFogValue[kNumEnvLayers][2];
int envDrawOrder[kNumEnvLayers];
float envMapAlpha[2];
float actorFogColor[3];

DS3_lights gGameLights, areaLights;
DS3_lights gLayerLights[kNumEnvLayers], layerLights[kNumEnvLayers];
DS3_lights gCharacterLights, characterLights;
DS3_lights gPinLights, pinLights;
DS3_lights gActorLights[kNumActorLights], actorLights[kNumActorLights];

// The Z offset every alley gives its camera limits.
static const float kCameraZOffset = 135.0f;

static int collisionArea = -1;  // the alley whose collision environment is loaded, -1 for none

// ---- Lights ----

static const float kColourScale = 1.0f / 128.0f;

// Red, green and blue of a colour word (blue in the low byte), where 128 is full strength.
static void Colour(uint32_t word, float& red, float& green, float& blue)
{
    red = float((word >> 16) & 0xFF) * kColourScale;
    green = float((word >> 8) & 0xFF) * kColourScale;
    blue = float(word & 0xFF) * kColourScale;
}

static void Direction(const float* from, float& x, float& y, float& z, float& w)
{
    x = from[0];
    y = from[1];
    z = from[2];
    w = 0.0f;
}

// Three lights and the ambient; the light alphas stay 0, the ambient's is 1.
static void FillLights(DS3_lights& l, const float* pos1, const float* pos2, const float* pos3, uint32_t colour1,
                       uint32_t colour2, uint32_t colour3, uint32_t ambient)
{
    l = {};
    Direction(pos1, l.light1_x, l.light1_y, l.light1_z, l.light1_w);
    Direction(pos2, l.light2_x, l.light2_y, l.light2_z, l.light2_w);
    Direction(pos3, l.light3_x, l.light3_y, l.light3_z, l.light3_w);
    Colour(colour1, l.light1_red, l.light1_green, l.light1_blue);
    Colour(colour2, l.light2_red, l.light2_green, l.light2_blue);
    Colour(colour3, l.light3_red, l.light3_green, l.light3_blue);
    Colour(ambient, l.ambient_red, l.ambient_green, l.ambient_blue);
    l.ambient_alpha = 1.0f;
}

static void LightsFromSet(const LightSetData& s, DS3_lights& l)
{
    FillLights(l, s.light1Pos, s.light2Pos, s.light3Pos, s.light1Color, s.light2Color, s.light3Color, s.ambientColor);
    Direction(s.specPos, l.specular_x, l.specular_y, l.specular_z, l.specular_w);
    Colour(s.specColor, l.specular_red, l.specular_green, l.specular_blue);
    l.specular_shininess = float((s.specColor >> 24) & 0xFF);
}

static void LightsFromDefn(const EnvDefn_properties& d, DS3_lights& l)
{
    FillLights(l, d.light1Pos, d.light2Pos, d.light3Pos, d.light1Color, d.light2Color, d.light3Color, d.ambientColor);
}

static DS3_lights DefaultLights()
{
    DS3_lights l = {};
    l.ambient_red = 45.0f / 255.0f;
    l.ambient_green = 45.0f / 255.0f;
    l.ambient_blue = 40.0f / 255.0f;
    l.ambient_alpha = 1.0f;
    l.light1_red = 105.0f / 255.0f;
    l.light1_green = 105.0f / 255.0f;
    l.light1_blue = 100.0f / 255.0f;
    l.light1_x = l.light1_y = l.light1_z = 0.57735f;
    return l;
}

void SetDefaultLights() { gGameLights = DefaultLights(); }

// Every slot, the bowlers and the pins back to the default lights, so that an alley without
// lights of its own shows nothing lit by the alley before it, nor anything unlit.
static void ResetAreaLightRecords()
{
    const DS3_lights d = DefaultLights();
    for (int i = 0; i < kNumEnvLayers; ++i) gLayerLights[i] = layerLights[i] = d;
    for (int i = 0; i < kNumActorLights; ++i) gActorLights[i] = actorLights[i] = d;
    gCharacterLights = characterLights = d;
    gPinLights = pinLights = d;
}

int SetAreaLights(const EnvDefn_properties* defn)
{
    if (!defn) return 0;
    LightsFromDefn(*defn, gGameLights);
    areaLights = gGameLights;
    return 1;
}

static void MirrorLayerLights() { std::memcpy(layerLights, gLayerLights, sizeof layerLights); }

int SetLayerLights(const EnvDefn_properties* defn, int layer)
{
    if (!defn || layer < 0 || layer >= kNumEnvLayers) return PrintError("SetLayerLights: no layer %d", layer);
    LightsFromDefn(*defn, gLayerLights[layer]);
    MirrorLayerLights();
    return 1;
}

int SetCharacterLights(const EnvDefn_properties* defn)
{
    if (!defn) return 0;
    LightsFromDefn(*defn, gCharacterLights);
    characterLights = gCharacterLights;
    return 1;
}

int SetObjectLights(const EnvDefn_properties* defn)
{
    if (!defn) return 0;
    LightsFromDefn(*defn, gPinLights);
    pinLights = gPinLights;
    return 1;
}

int SetActorLights(const LightSetData* set, int slot)
{
    if (!set || slot < 0 || slot >= kNumActorLights) return PrintError("SetActorLights: no actor light slot %d", slot);
    LightsFromSet(*set, gActorLights[slot]);
    actorLights[slot] = gActorLights[slot];
    return 1;
}

int SetEnvLayerLights(const LightSetData* set, int layer)
{
    if (!set || layer < 0 || layer >= kNumEnvLayers) return PrintError("SetEnvLayerLights: no layer %d", layer);
    LightsFromSet(*set, gLayerLights[layer]);
    MirrorLayerLights();
    return 1;
}

int GetAreaLightsetRSID() { return areaLightsetRSID; }

// ---- The area group's members ----

// The loaded data of a resource and its size in memory; null when it is not loaded.
static const void* LoadedData(int rsid, int32_t* size)
{
    resourceHeader* r = nullptr;
    if (!GetResourceHeader(rsid, &r) || !r->resourceHandle) return nullptr;
    *size = r->resourceUncompressedLength;
    return r->resourceHandle.get();
}

// A member of the loaded area group with data, or null.
static int AreaMemberRSID(int index)
{
    const int group = areaRSID >> 16;
    if (group == 0 || index >= NumResourcesInGroup(group)) return 0;
    const int rsid = (group << 16) | index;
    return ResourceType(rsid) != 0 && ResourceLoaded(rsid) ? rsid : 0;
}

static int CheckEnvDefn(const EnvDefn_properties& d, int rsid)
{
    if (d.fogValue < 0 || d.fogValue > 255)
        return PrintError("environment definition %d: fog %d is not 0..255", rsid, int(d.fogValue));
    if (d.numStaticCameras < 0 || d.numStaticCameras > kMaxEnvStaticCameras)
        return PrintError("environment definition %d: %d fixed cameras", rsid, int(d.numStaticCameras));
    for (int k = 0; k < kNumEnvLayers; ++k)
        if (d.envDrawOrder[k] < 0 || d.envDrawOrder[k] >= kNumEnvLayers)
            return PrintError("environment definition %d: draw order names slot %d", rsid, int(d.envDrawOrder[k]));
    return 1;
}

static CameraPosition StartCamera(const EnvDefn_properties& d)
{
    CameraPosition c;
    c.cameraX = d.startCameraPosition[0];
    c.cameraY = d.startCameraPosition[1];
    c.cameraZ = d.startCameraPosition[2];
    c.cameraXangle = d.startCameraAngle[0];
    c.cameraYangle = d.startCameraAngle[1];
    c.cameraZangle = d.startCameraAngle[2];
    c.cameraZoom = d.startCameraZoom;
    c.cameraViewingDistance = 1.0f;
    return c;
}

static void PlaceCameras(const EnvDefn_properties& d)
{
    const CameraPosition start = StartCamera(d);
    for (CameraPosition& c : gTempCamera) {
        c.cameraXangle = start.cameraXangle;
        c.cameraYangle = start.cameraYangle;
        c.cameraZangle = start.cameraZangle;
        c.cameraZoom = start.cameraZoom;
    }
    for (CameraPosition& c : gameCameras) c = start;
    cameraOffsetX = cameraOffsetY = 0.0f;

    CameraLimits limits = {};
    limits.cameraMinXangle = d.minCameraXAngle;
    limits.cameraMaxXangle = d.maxCameraXAngle;
    limits.cameraMinZoom = d.minCameraZoom;
    limits.cameraMaxZoom = d.maxCameraZoom;
    limits.cameraZOffset = kCameraZOffset;
    SetCameraLimits(&limits);

    numGameCameras = 0;
    for (int i = 0; i < d.numStaticCameras; ++i) {
        const EnvStaticCamera& s = d.staticCameras[i];
        const CameraPosition p = {s.x, s.y, s.z, s.xAngle, s.yAngle, s.zAngle, s.zoom, s.viewingDistance};
        // A set holds 20; the cameras after them still fill the slots.
        AddStaticGameCamera(&p, s.vector1, s.vector2, s.block, 1, s.tracking);
        if (i < kNumGameCameras) gameCameras[i] = p;
        ++numGameCameras;
    }
    CopyGameCameraToRenderCamera(gameCameras[0]);
}

int LoadAreaEnvDefnResource(int rsid)
{
    int32_t size = 0;
    const void* data = LoadedData(rsid, &size);
    if (!data) return PrintError("areas: environment definition %d is not loaded", rsid);
    if (size < int32_t(sizeof(EnvDefn_properties)))
        return PrintError("areas: environment definition %d is %d bytes, too short", rsid, int(size));
    const EnvDefn_properties& d = *static_cast<const EnvDefn_properties*>(data);
    if (!CheckEnvDefn(d, rsid)) return 0;

    // Test mode keeps the fog it has set.
    if (!(physicsGlobalsSet && gTestModeRunning)) {
        gGameOptions.fog = uint8_t(d.fogValue);
        for (int i = 0; i < 3; ++i) actorFogColor[i] = d.actorFogColor[i];
        physicsGlobalsSet = 1;
    }
    PlaceCameras(d);

    SetAreaLights(&d);
    for (int layer = 0; layer < kNumEnvLayers; ++layer) SetLayerLights(&d, layer);
    SetCharacterLights(&d);
    SetObjectLights(&d);
    envMapAlpha[0] = d.envMapAlpha[0];
    envMapAlpha[1] = d.envMapAlpha[1];
    for (int i = 0; i < kNumEnvBillboards; ++i)
        SetEnvBillboardInfo(i, int(d.envBillboardSize[i]), d.envBillboardZStaticXform[i]);
    for (int i = 0; i < kNumEnvLayers; ++i) {
        envHeadingIncrement[i] = d.envRotationSpeed[i];
        envLightingFlag[i] = d.envLightingFlag[i];
        envDrawPriorityFlag[i] = d.envDrawPriorityFlag[i];
        envZwriteFlag[i] = d.envZwriteFlag[i];
        envBlendMode[i] = d.envBlendMode[i];
        for (int c = 0; c < 3; ++c) envFogColor[i][c] = d.envFogColor[i][c];
        envFogValue[i][0] = d.envFogValue[i][0];
        envFogValue[i][1] = d.envFogValue[i][1];
        envAlphaLevel[i] = d.envAlphaLevel[i];
        envDrawOrder[i] = d.envDrawOrder[i];
    }
    return 1;
}

// Every environment slot and actor slot takes the list's first set; then each set in use lights
// its targets.
static int ApplyLightSetList(int rsid)
{
    int32_t size = 0;
    const auto* list = static_cast<const LightSetList*>(LoadedData(rsid, &size));
    if (!list) return PrintError("areas: light-set list %d is not loaded", rsid);
    if (size < int32_t(sizeof(LightSetList))) return PrintError("areas: light-set list %d is %d bytes, too short", rsid, int(size));
    if (list->numLights < 0 || list->numLights > kMaxLightSets)
        return PrintError("light-set list %d: %d light sets", rsid, int(list->numLights));
    for (int k = 0; k < list->numLights; ++k) {
        const LightSetData& s = list->light[k];
        if (s.assignmentStart <= s.assignmentEnd && (s.assignmentStart < 0 || s.assignmentEnd >= kNumLightTargets))
            return PrintError("light-set list %d: set %d lights targets %d..%d, outside 0..%d", rsid, k,
                              int(s.assignmentStart), int(s.assignmentEnd), kNumLightTargets - 1);
    }

    for (int layer = 0; layer < kNumEnvLayers; ++layer) SetEnvLayerLights(&list->light[0], layer);
    for (int slot = 0; slot < kNumActorLights; ++slot) SetActorLights(&list->light[0], slot);
    areaLightsetRSID = rsid;
    for (int k = 0; k < list->numLights; ++k) {
        const LightSetData& s = list->light[k];
        for (int t = s.assignmentStart; t <= s.assignmentEnd; ++t) {
            if (t < kNumEnvLayers)
                SetEnvLayerLights(&s, t);
            else
                SetActorLights(&s, t - kNumEnvLayers);
        }
    }
    return 1;
}

int LoadAreaObjects(int rsid)
{
    int32_t size = 0;
    const auto* bytes = static_cast<const uint8_t*>(LoadedData(rsid, &size));
    if (!bytes) return PrintError("areas: object list %d is not loaded", rsid);
    if (size < int32_t(sizeof(AreaObjectList))) return PrintError("areas: object list %d is empty", rsid);
    const int32_t count = reinterpret_cast<const AreaObjectList*>(bytes)->numObjects;
    if (count < 0 || int64_t(count) * int64_t(sizeof(AreaObjectEntry)) > int64_t(size) - int64_t(sizeof(AreaObjectList)))
        return PrintError("object list %d: %d objects do not fit in %d bytes", rsid, int(count), int(size));
    const auto* objects = reinterpret_cast<const AreaObjectEntry*>(bytes + sizeof(AreaObjectList));
    for (int i = 0; i < count; ++i)
        if (objects[i].type < kAreaObjectFirstType || objects[i].type > kAreaObjectLastType)
            return PrintError("object list %d: object %d has type %d, not %d..%d", rsid, i, int(objects[i].type),
                              kAreaObjectFirstType, kAreaObjectLastType);
    return 1;
}

// ---- The environment ----

// The resources each environment loads and disposes with it, besides its group.
struct IdRange {
    int first, last;
};
static void ExtraRanges(int env, IdRange out[2])
{
    const int layers = env == 100 ? 3 : 5;
    const int lights = env == 100 ? 8 : 10;
    out[0] = {env + 1, env + layers};
    out[1] = {env + lights, env + lights + 1};
}

// A resource some archive of the game data holds.
static int InGameData(int id)
{
    resourceHeader* r = nullptr;
    return GetResourceHeader(id, &r) && r->resourceFile && (r->resourceType != 0 || r->resourceLength > 0);
}

static int LoadExtraRanges(int env)
{
    IdRange ranges[2];
    ExtraRanges(env, ranges);
    for (const IdRange& range : ranges)
        for (int id = range.first; id <= range.last; ++id)
            if (InGameData(id) && !LoadResourceRange1x1(id, id))
                return PrintError("environment %d: resource %d cannot be loaded", env, id);
    return 1;
}

static int LoadEnvironmentModels(int env, int layers)
{
    if (InGameData(env)) {
        if (!LoadResourceGroup(env)) return PrintError("areas: environment %d cannot be loaded", env);
        const int count = NumResourcesInGroup(env);
        void* model = nullptr;
        if (count < 1 || !GetResourceHandle((env << 16) | (count - 1), &model))
            return PrintError("areas: environment %d has no model", env);
        envModel[0] = static_cast<DS3_model_tag*>(model);
    }
    if (InGameData(layers)) {
        if (!LoadResourceGroup(layers)) return PrintError("areas: environment layers %d cannot be loaded", layers);
        const int count = NumResourcesInGroup(layers);
        for (int i = 0; i < kNumEnvLayers - 1 && i < count; ++i) {
            const int rsid = (layers << 16) | i;
            if (ResourceType(rsid) == 0) continue;
            void* model = nullptr;
            if (!GetResourceHandle(rsid, &model)) return PrintError("areas: environment layer %d of %d is missing", i, layers);
            envModel[i + 1] = static_cast<DS3_model_tag*>(model);
        }
    }
    return 1;
}

int DisposeAreaEnv()
{
    if (!areaEnvRSID) return 1;
    int ok = 1;
    IdRange ranges[2];
    ExtraRanges(areaEnvRSID, ranges);
    for (const IdRange& range : ranges)
        if (!DisposeResourceRange(range.first, range.last))
            ok = PrintError("environment %d: resources %d..%d stay loaded", areaEnvRSID, range.first, range.last);
    // The environment's effects go with it (there are none without a particle manager).
    if (ParticleSystemManagerExists() && !ParticleManagerDisposeAreaParticleSystems(areaNum))
        ok = PrintError("areas: the effects of environment %d stay", areaEnvRSID);
    if (!DisposeEnvBillboards()) ok = 0;
    if (ResourceLoaded(areaEnvRSID) && !UnloadResourceGroup(areaEnvRSID))
        ok = PrintError("areas: environment %d stays loaded", areaEnvRSID);
    if (areaEnvLayersRSID && ResourceLoaded(areaEnvLayersRSID) && !UnloadResourceGroup(areaEnvLayersRSID))
        ok = PrintError("areas: environment layers %d stay loaded", areaEnvLayersRSID);
    for (DS3_model_tag*& m : envModel) m = nullptr;
    areaEnvLayersRSID = 0;
    areaEnvRSID = 0;
    return ok;
}

// ---- The alley ----

// The area group and the collision environment of the alley loaded.
static int DisposeAreaGroup()
{
    int ok = 1;
    if (areaRSID) {
        const int group = areaRSID >> 16;
        if (ResourceLoaded(group) && !UnloadResourceGroup(group)) ok = PrintError("areas: area group %d stays loaded", group);
        areaRSID = 0;
        areaLightsetRSID = 0;
    }
    if (collisionArea >= 0) {
        const int area = collisionArea;
        collisionArea = -1;
        if (!DisposeCollisionEnvironment(area)) ok = PrintError("areas: the collision environment of alley %d stays loaded", area);
    }
    return ok;
}

static int LoadAreaGroup(int area)
{
    const int group = areaRSIDs[area];
    if (!LoadResourceGroup(group)) return PrintError("alley %d: area group %d cannot be loaded", area, group);
    areaRSID = group << 16;
    if (const int defn = AreaMemberRSID(kAreaEnvDefnIndex))
        if (!LoadAreaEnvDefnResource(defn)) return 0;
    if (const int lights = AreaMemberRSID(kAreaLightSetIndex))
        if (!ApplyLightSetList(lights)) return 0;
    if (const int objects = AreaMemberRSID(kAreaObjectListIndex))
        if (!LoadAreaObjects(objects)) return 0;
    return 1;
}

// The alley's stored effect definitions and their systems, and its billboards (optional members
// of its group; the billboards are painted with the effects' bitmaps).
static int LoadAreaEffects()
{
    int32_t size = 0;
    if (const int list = AreaMemberRSID(kAreaParticleListIndex)) {
        const void* data = LoadedData(list, &size);
        if (!data || !LoadAreaParticleSystemInfo(data, size) || !CreateAreaParticleSystems()) return 0;
    }
    // A damaged billboard list is reported and the alley goes on without billboards.
    if (const int list = AreaMemberRSID(kAreaBillboardListIndex)) {
        const void* data = LoadedData(list, &size);
        if (data) LoadEnvBillboards(data, size);
    }
    return 1;
}

int AreaLoaded() { return areaRSID != 0 || areaEnvRSID != 0 || collisionArea >= 0; }

int DisposeArea()
{
    // The objects first: their models are painted with the environment's textures.
    int ok = DisposeEnvSpecificObjects();
    if (!DisposeAreaEnv()) ok = 0;
    if (!DisposeAreaGroup()) ok = 0;
    return ok;
}

int ChangeArea(int area)
{
    if (area < 0 || area >= kNumAreas) return PrintError("areas: there is no alley %d", area);

    if (areaSoundsStartRSID >= 0) {
        if (!DisposeResourceRange(areaSoundsStartRSID, areaSoundsEndRSID))
            PrintError("alley %d: its sounds stay loaded", oldAreaNum);
        areaSoundsStartRSID = areaSoundsEndRSID = -1;
    }
    // The old alley's objects go first (only they: the ball, the pins and the bowlers stay),
    // before the environment whose textures they are painted with.
    if (!DisposeEnvSpecificObjects()) return 0;
    // An environment the new alley shares is kept.
    if (areaEnvRSID != areaEnvRSIDs[area] && !DisposeAreaEnv()) return 0;
    // The ball, the pins and the bowlers stay: the game goes on in the new alley.
    if (!DisposeAreaGroup()) return 0;

    areaNum = area;
    SuspendAllUserControls(0);
    gSuspendCameraControls = 0;
    ResetAreaLightRecords();
    SetDefaultLights();
    ResetStaticGameCameras();
    numGameCameras = 0;
    for (int i = 0; i < kNumEnvLayers; ++i) envHeading[i] = envHeadingIncrement[i] = 0.0f;
    const int song = ShuffleSongList() + kAreaMusicBase + musicRSIDOffset[area];

    const int newEnvironment = areaEnvRSID != areaEnvRSIDs[area];
    if (newEnvironment) {
        // From here the environment's disposal gives back whatever part of it was loaded.
        areaEnvRSID = areaEnvRSIDs[area];
        areaEnvLayersRSID = areaEnvLayersRSIDs[area];
        if (!LoadExtraRanges(areaEnvRSID) || !LoadEnvironmentModels(areaEnvRSID, areaEnvLayersRSID))
            return PrintError("alley %d: its environment cannot be loaded", area);
    }
    if (!LoadAreaGroup(area)) return 0;
    // A new environment brings its particle effects, made where a game has made the manager.
    if (newEnvironment && ParticleSystemManagerExists() && !LoadAreaEffects())
        return PrintError("alley %d: its particle effects cannot be made", area);
    // The alley's objects; they are actors, so they stand only where a game has made the pool.
    if (!LoadEnvSpecificObjects()) return 0;
    if (actorPool && !AddEnvObject(0.0f, 0.0f, 0)) return PrintError("alley %d: its objects cannot be placed", area);

    if (!CreateCollisionEnvironment(area)) return PrintError("alley %d: its collision environment cannot be loaded", area);
    collisionArea = area;
    // Without sound services (a game run by a test) the alley is silent.
    if (soundInitialized) {
        if (!gBackgroundMusicChannel && !CreateStream(1, &gBackgroundMusicChannel))
            return PrintError("alley %d: no music stream", area);
        if (!StartBackgroundMusic(song, 1)) return PrintError("alley %d: the music cannot start", area);
    }

    if (gTestModeRunning) {
        if (gStaticCamera) SetStaticCamera();
        CopyGameCameraToRenderCamera(gameCameras[0]);
    }
    if (cameraViewingDistance <= 0.0f) cameraViewingDistance = 1.0f;
    oldAreaNum = area;
    return 1;
}
