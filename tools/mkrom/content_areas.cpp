// The area groups of the six alleys (105, 207, 307, 407, 507, 607): member 0 the environment
// definition (start camera, camera limits, fixed cameras, fog, the alley's lights and the drawing
// switches of its environment slots), member 1 the light-set list, member 2 the object list,
// member 3 the particle effects and member 4 the billboards. Each
// alley has a look of its own: its colours, fog, camera heights and turning pieces. See
// content/README.md for the values.
#include <cmath>
#include <cstring>

#include "content.h"
#include "game/areas.h"
#include "game/billboards.h"
#include "lib/resourceids.h"

namespace mkrom {

static const int16_t kTypeTable = 1;

// A colour word at the strength the game reads: 128 is full, blue in the low byte.
static uint32_t Rgb(int red, int green, int blue, int top = 0)
{
    return uint32_t(top & 0xFF) << 24 | uint32_t(red & 0xFF) << 16 | uint32_t(green & 0xFF) << 8 | uint32_t(blue & 0xFF);
}

struct Colour3 {
    int red, green, blue;
};
static uint32_t Word(Colour3 c, int top = 0) { return Rgb(c.red, c.green, c.blue, top); }

// One alley's look.
struct AlleyLook {
    int fog;                  // the game's fog, 0..255
    float fogColour[3];       // 0..1
    float fogNear, fogFar;    // where the slots' fog starts and is full, world units
    Colour3 ambient, key, fill, rim;  // the room's lights
    Colour3 actorKey;         // the light over the lane on the ball, the pins and the bowlers
    Colour3 bowlerFill;       // the bowlers' second light
    Colour3 sign;             // the lit signs and glass of the slots drawn last
    int shine;                // specular shine of the ball and pins
    float startHeight;        // the start camera over the foul line
    float startXangle;
    float startZoom;
    float sideZangle;         // the side the first side view looks from (90 or 270)
    float turnSpeed;          // degrees per draw of the turning piece (slot 29), 0 for none
    float mapAlpha[2];        // the lane's reflection strengths
    int extraHighView;        // a wide view from high above the approach
};

static const AlleyLook kLooks[kNumAreas] = {
    // 0: classic lanes, warm amber under wood.
    {40, {0.30f, 0.22f, 0.14f}, 900.0f, 5200.0f, {40, 34, 26}, {128, 110, 84}, {50, 42, 34}, {30, 26, 22},
     {124, 112, 92}, {70, 56, 44}, {128, 96, 40}, 48, 30.0f, 96.0f, 140.0f, 90.0f, 0.0f, {0.35f, 0.15f}, 0},
    // 1: cosmic lanes, cool blue and violet neon.
    {90, {0.06f, 0.06f, 0.18f}, 600.0f, 3800.0f, {20, 22, 40}, {90, 100, 128}, {60, 20, 90}, {20, 80, 100},
     {100, 108, 128}, {70, 30, 100}, {40, 90, 128}, 72, 32.0f, 97.0f, 150.0f, 270.0f, 0.6f, {0.50f, 0.25f}, 1},
    // 2: retro diner, warm red and orange.
    {20, {0.26f, 0.12f, 0.10f}, 1100.0f, 6000.0f, {44, 28, 24}, {128, 96, 72}, {90, 30, 30}, {40, 40, 20},
     {128, 104, 84}, {100, 40, 36}, {128, 40, 32}, 40, 28.0f, 95.0f, 135.0f, 90.0f, 0.0f, {0.30f, 0.10f}, 0},
    // 3: steel arena, cool white.
    {10, {0.20f, 0.21f, 0.24f}, 1400.0f, 7000.0f, {34, 36, 40}, {120, 124, 128}, {60, 66, 76}, {40, 44, 52},
     {124, 126, 128}, {56, 64, 80}, {100, 110, 128}, 90, 34.0f, 98.0f, 160.0f, 270.0f, 0.0f, {0.60f, 0.30f}, 1},
    // 4: lagoon lanes, cool teal and green.
    {60, {0.08f, 0.20f, 0.20f}, 800.0f, 4600.0f, {20, 36, 34}, {96, 128, 120}, {20, 70, 60}, {60, 90, 40},
     {104, 128, 118}, {30, 80, 70}, {40, 128, 96}, 56, 30.0f, 96.0f, 145.0f, 90.0f, 0.3f, {0.45f, 0.20f}, 0},
    // 5: midnight club, magenta and purple.
    {120, {0.14f, 0.04f, 0.16f}, 500.0f, 3200.0f, {30, 18, 36}, {110, 80, 128}, {100, 20, 80}, {30, 30, 110},
     {118, 96, 128}, {110, 30, 90}, {128, 30, 110}, 80, 33.0f, 97.0f, 150.0f, 270.0f, 1.2f, {0.55f, 0.35f}, 1},
};

// Light directions as the game hands them to the renderer (the default light is (1, 1, 1)
// normalised), and where the specular light stands.
static const float kKeyDirection[3] = {0.30f, 0.50f, 0.81f};
static const float kFillDirection[3] = {-0.60f, 0.35f, 0.72f};
static const float kRimDirection[3] = {0.0f, -0.80f, 0.60f};
static const float kBowlerKeyDirection[3] = {0.40f, -0.45f, 0.80f};
static const float kSpecularPosition[3] = {0.0f, -200.0f, 400.0f};

// Environment slots: the last four hold glass and signs, drawn after the actors without depth
// writes; slot 29 is the piece that turns.
static const int kFirstGlassSlot = 28;
static const int kTurningSlot = 29;
static const int kGlassAlpha = 160;
static const int kGlassPriority = 6;

// Light targets: environment slots 0..31, then the actor slots by actor type.
static const int kTargetActors = kNumEnvLayers;
static const int kTargetBowlers = kNumEnvLayers + 2;
static const int kTargetBall = kNumEnvLayers + 4;
static const int kTargetPins = kNumEnvLayers + 5;

static void Copy3(float* to, const float* from) { std::memcpy(to, from, 3 * sizeof(float)); }

static void Unit(float* v)
{
    const float n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (int i = 0; i < 3; ++i) v[i] /= n;
}

static EnvStaticCamera Camera(float x, float y, float z, float xAngle, float zAngle, float zoom, int tracking)
{
    EnvStaticCamera c = {};
    c.tracking = tracking;
    c.viewingDistance = 1.0f;
    c.zoom = zoom;
    c.xAngle = xAngle;
    c.zAngle = zAngle;
    c.x = x;
    c.y = y;
    c.z = z;
    return c;
}

static EnvDefn_properties Definition(const AlleyLook& a)
{
    EnvDefn_properties d;
    std::memset(&d, 0, sizeof d);
    d.fogValue = a.fog;
    Copy3(d.actorFogColor, a.fogColour);

    // The start camera stands behind the foul line and looks down the lane.
    d.startCameraPosition[0] = 0.0f;
    d.startCameraPosition[1] = -30.0f;
    d.startCameraPosition[2] = a.startHeight;
    d.startCameraAngle[0] = a.startXangle;
    d.startCameraZoom = a.startZoom;
    d.minCameraXAngle = 80.0f;
    d.maxCameraXAngle = 175.0f;
    d.minCameraZoom = 60.0f;
    d.maxCameraZoom = 400.0f;

    Copy3(d.light1Pos, kKeyDirection);
    Copy3(d.light2Pos, kFillDirection);
    Copy3(d.light3Pos, kRimDirection);
    Unit(d.light1Pos);
    Unit(d.light2Pos);
    Unit(d.light3Pos);
    d.light1Color = Word(a.key);
    d.light2Color = Word(a.fill);
    d.light3Color = Word(a.rim);
    d.ambientColor = Word(a.ambient);
    d.envMapAlpha[0] = a.mapAlpha[0];
    d.envMapAlpha[1] = a.mapAlpha[1];
    for (int i = 0; i < kNumEnvBillboards; ++i) {
        d.envBillboardSize[i] = 24.0f + 4.0f * float(i);
        d.envBillboardZStaticXform[i] = i % 2;
    }

    for (int i = 0; i < kNumEnvLayers; ++i) {
        const int glass = i >= kFirstGlassSlot;
        d.envRotationSpeed[i] = i == kTurningSlot ? a.turnSpeed : 0.0f;
        d.envLightingFlag[i] = 1;
        d.envDrawPriorityFlag[i] = glass ? kGlassPriority : i % 3;
        d.envZwriteFlag[i] = glass ? 0 : 1;
        d.envBlendMode[i] = glass ? 1 : 0;
        Copy3(d.envFogColor[i], a.fogColour);
        d.envFogValue[i][0] = a.fogNear;
        d.envFogValue[i][1] = a.fogFar;
        d.envAlphaLevel[i] = uint8_t(glass ? kGlassAlpha : 255);
        d.envDrawOrder[i] = i;
    }

    // The fixed cameras, in the order the game's slots take them: 0 the start view, 1 the set-up
    // view the state camera returns to, 2..10 the nine replay views of the ball reaching the pins,
    // then two more views of the hall.
    // The set-up view looks 28 degrees down the lane from 7.5 feet up (eye at Y -355, Z 180), 5
    // feet behind the bowler's start at Y -228: the whole bowler (about 6.5 feet, 24 units a foot
    // like the lane) from behind and a little above, the rack above the head. The camera that
    // follows the ball keeps this view's angles at zoom 220 over the ball; the game holds this
    // view after the release until that camera's eye is clear of the bowler.
    // The side views look at the rack slantwise, 50 degrees off the lane, from over the gutter:
    // straight across, the wall beside the pin deck stands in the way. The alley's side heading
    // says which side comes first.
    const float side = a.sideZangle > 180.0f ? -50.0f : 50.0f;
    const EnvStaticCamera cameras[] = {
        Camera(0.0f, -30.0f, a.startHeight, a.startXangle, 0.0f, a.startZoom, 0),
        Camera(0.0f, -125.0f, 58.0f, 118.0f, 0.0f, 260.0f, 1),         // the set-up view (see above)
        Camera(0.0f, 1455.0f, 12.0f, 97.0f, 0.0f, 120.0f, 0),          // the pin deck from the lane
        Camera(0.0f, 1470.0f, 14.0f, 112.0f, side, 130.0f, 0),          // the pins from one side
        Camera(0.0f, 1462.0f, 0.0f, 135.0f, 0.0f, 95.0f, 0),           // the pin deck from above
        Camera(-6.0f, 1440.0f, 10.0f, 94.0f, -6.0f, 60.0f, 0),         // close on the head pin
        Camera(-30.0f, 1455.0f, 8.0f, 95.0f, -14.0f, 115.0f, 0),       // low along the left gutter
        Camera(30.0f, 1455.0f, 8.0f, 95.0f, 14.0f, 115.0f, 0),         // low along the right gutter
        Camera(8.0f, 1440.0f, 10.0f, 130.0f, 20.0f, 170.0f, 0),        // above the pocket
        Camera(0.0f, 1470.0f, 14.0f, 112.0f, -side, 130.0f, 0),         // the pins from the other side
        Camera(0.0f, 1455.0f, 10.0f, 116.0f, 0.0f, 150.0f, 0),         // high behind the ball
        Camera(0.0f, -120.0f, 40.0f, 95.0f, 180.0f, 300.0f, 0),        // the bowler from down the lane
        Camera(0.0f, 720.0f, 0.0f, 125.0f, 0.0f, 900.0f, 1),            // the lane from high behind
    };
    const int count = int(sizeof cameras / sizeof cameras[0]) - (a.extraHighView ? 0 : 1);
    d.numStaticCameras = count;
    for (int i = 0; i < count; ++i) d.staticCameras[i] = cameras[i];
    return d;
}

static LightSetData LightSet(const float* pos1, Colour3 colour1, const float* pos2, Colour3 colour2, Colour3 ambient,
                             int shine, int first, int last)
{
    LightSetData s;
    std::memset(&s, 0, sizeof s);
    Copy3(s.light1Pos, pos1);
    Copy3(s.light2Pos, pos2);
    Copy3(s.light3Pos, kRimDirection);
    Unit(s.light1Pos);
    Unit(s.light2Pos);
    Unit(s.light3Pos);
    Copy3(s.specPos, kSpecularPosition);
    s.light1Color = Word(colour1);
    s.light2Color = Word(colour2);
    s.light3Color = Rgb(16, 16, 16);
    s.ambientColor = Word(ambient);
    s.specColor = shine ? Rgb(128, 128, 128, shine) : 0;
    s.assignmentStart = first;
    s.assignmentEnd = last;
    return s;
}

static LightSetList LightSets(const AlleyLook& a)
{
    LightSetList list;
    std::memset(&list, 0, sizeof list);
    const Colour3 dim = {a.ambient.red / 2, a.ambient.green / 2, a.ambient.blue / 2};
    // 0: the room, on every environment slot (and, as the list's first set, on everything).
    list.light[0] = LightSet(kKeyDirection, a.key, kFillDirection, a.fill, a.ambient, 0, 0, kNumEnvLayers - 1);
    // 1: the light over the lane on every actor.
    list.light[1] = LightSet(kKeyDirection, a.actorKey, kFillDirection, a.fill, a.ambient, 24, kTargetActors,
                             kNumLightTargets - 1);
    // 2: the bowlers, lit from the front as well.
    list.light[2] = LightSet(kBowlerKeyDirection, a.actorKey, kFillDirection, a.bowlerFill, a.ambient, 16,
                             kTargetBowlers, kTargetBowlers);
    // 3: the ball and the pins, with a sharp shine.
    list.light[3] = LightSet(kKeyDirection, a.actorKey, kFillDirection, a.fill, a.ambient, a.shine, kTargetBall,
                             kTargetPins);
    // 4: the glass and the signs, in their own colour.
    list.light[4] = LightSet(kKeyDirection, a.sign, kFillDirection, a.sign, dim, 0, kFirstGlassSlot + 2,
                             kNumEnvLayers - 1);
    list.numLights = 5;
    return list;
}

// The objects beside the lane: ball return, seats, the screens over the approach and the
// pinsetter hood, and in some alleys a sign.
static std::vector<uint8_t> Objects(int area)
{
    std::vector<AreaObjectEntry> objects = {
        {10, 0.0f, -320.0f, 0.0f, 0.0f},
        {11, -90.0f, -420.0f, 0.0f, 90.0f},
        {12, 0.0f, -160.0f, 150.0f, 0.0f},
        {13, 0.0f, 1530.0f, 60.0f, 180.0f},
    };
    if (area % 2 == 1) objects.push_back({14, 120.0f, 700.0f, 200.0f, 270.0f});
    if (area == 5) objects.push_back({15, 0.0f, 800.0f, 260.0f, 0.0f});
    AreaObjectList header = {int32_t(objects.size())};
    std::vector<uint8_t> bytes(sizeof header + objects.size() * sizeof(AreaObjectEntry));
    std::memcpy(bytes.data(), &header, sizeof header);
    std::memcpy(bytes.data() + sizeof header, objects.data(), objects.size() * sizeof(AreaObjectEntry));
    return bytes;
}

// The billboards of an alley: a soft glow under each ceiling lamp down the lane (kind 2, turned to
// the camera) and a sparkle either side of the pin deck (kind 1, upright), painted with the
// sparkle effect's bitmap; the livelier alleys (the odd ones) have a lamp more over the approach.
static std::vector<uint8_t> Billboards(int area)
{
    const int32_t sparkle = (kParticleDefinitionGroup << 16) + 3;
    std::vector<EnvBillboardEntry> list;
    for (float y = 200.0f; y <= 1450.0f; y += 250.0f) list.push_back({0.0f, y, 190.0f, 2, sparkle});
    if (area % 2 == 1) list.push_back({0.0f, -60.0f, 190.0f, 2, sparkle});
    list.push_back({-70.0f, 1480.0f, 60.0f, 1, sparkle});
    list.push_back({70.0f, 1480.0f, 60.0f, 1, sparkle});
    const int32_t count = int32_t(list.size());
    std::vector<uint8_t> bytes(sizeof count + list.size() * sizeof(EnvBillboardEntry));
    std::memcpy(bytes.data(), &count, sizeof count);
    std::memcpy(bytes.data() + sizeof count, list.data(), list.size() * sizeof(EnvBillboardEntry));
    return bytes;
}

template <typename T>
static Resource Member(const T& record)
{
    Resource r;
    r.type = kTypeTable;
    r.bytes.resize(sizeof record);
    std::memcpy(r.bytes.data(), &record, sizeof record);
    r.compressed = true;
    return r;
}

EnvDefn_properties AreaDefinition(int area) { return Definition(kLooks[area]); }
LightSetList AreaLightSets(int area) { return LightSets(kLooks[area]); }

std::vector<Resource> AreaContent()
{
    std::vector<Resource> content;
    for (int area = 0; area < kNumAreas; ++area) {
        Resource group;
        group.id = areaRSIDs[area];
        group.type = kTypeGroup;
        group.members.push_back(Member(AreaDefinition(area)));
        group.members.push_back(Member(AreaLightSets(area)));
        Resource objects;
        objects.type = kTypeTable;
        objects.bytes = Objects(area);
        group.members.push_back(std::move(objects));
        Resource particles;
        particles.type = kTypeTable;
        particles.bytes = AreaParticleList(area);
        particles.compressed = true;
        group.members.push_back(std::move(particles));
        Resource billboards;
        billboards.type = kTypeTable;
        billboards.bytes = Billboards(area);
        group.members.push_back(std::move(billboards));
        content.push_back(std::move(group));
    }
    return content;
}

}  // namespace mkrom
