// Areas: each alley of the build's game data loads with its cameras and lights; on hand-made
// alleys, an environment shared by the next alley is kept, light sets reach the layers and actor
// slots they name, alleys without lights keep the default ones, and damaged records are refused.
#include "game/areas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "content.h"
#include "game/camera.h"
#include "game/collision.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "host/host.h"
#include "lib/matrix.h"
#include "lib/memory.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/camera.h"
#include "platform/fileserver.h"
#include "shell/globals.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

unsigned Allocations()
{
    unsigned n = 0;
    DefaultHeapAllocations(&n);
    return n;
}

bool SameLights(const DS3_lights& a, const DS3_lights& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

DS3_lights Defaults()
{
    const DS3_lights saved = gGameLights;
    SetDefaultLights();
    const DS3_lights d = gGameLights;
    gGameLights = saved;
    return d;
}

// ---- The light conversions ----

// A light set's colour bytes (blue low) are scaled by 1/128 into red, green and blue, the shine
// is kept whole, directions get w 0; the mirrors follow, and slots out of range are refused.
TEST(AreaLights, ALightSetBecomesTheRenderersLights)
{
    LightSetData s = {};
    s.light1Pos[2] = 0.8f;
    s.specPos[1] = -200.0f;
    s.light1Color = 0x00804020;
    s.ambientColor = 0x00101820;
    s.specColor = 0x3C408000;  // shine 60
    ASSERT_EQ(SetActorLights(&s, 4), 1);
    const DS3_lights& l = gActorLights[4];
    EXPECT_EQ(l.light1_red, 1.0f);
    EXPECT_EQ(l.light1_green, 0.5f);
    EXPECT_EQ(l.light1_blue, 0.25f);
    EXPECT_EQ(l.ambient_red, 0.125f);
    EXPECT_EQ(l.ambient_alpha - l.light1_alpha, 1.0f);
    EXPECT_EQ(l.specular_green, 1.0f);
    EXPECT_EQ(l.specular_shininess, 60.0f);
    EXPECT_EQ(l.light1_z, 0.8f);
    EXPECT_EQ(l.specular_y, -200.0f);
    EXPECT_EQ(l.light1_w + l.specular_w, 0.0f);
    EXPECT_TRUE(SameLights(actorLights[4], l));
    ASSERT_EQ(SetEnvLayerLights(&s, 31), 1);
    EXPECT_TRUE(SameLights(layerLights[31], l));
    EXPECT_EQ(SetActorLights(&s, 16) + SetActorLights(&s, -1) + SetEnvLayerLights(&s, 32), 0);

    // The definition's lights have no specular part.
    static EnvDefn_properties d;
    d = mkrom::AreaDefinition(0);
    ASSERT_EQ(SetCharacterLights(&d), 1);
    EXPECT_EQ(characterLights.ambient_red, float(d.ambientColor >> 16 & 0xFF) / 128.0f);
    EXPECT_EQ(characterLights.specular_shininess, 0.0f);
    EXPECT_EQ(SetLayerLights(&d, 32), 0);
}

// ---- The alleys of the build's game data ----

class AreasOfTheGameData : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        gTestModeRunning = 0;
        physicsGlobalsSet = 0;
    }
    void TearDown() override
    {
        DisposeArea();
        CloseBuildGameData();
        ReleaseDeviceHeap();
        areaNum = 0;
    }
};

// Every alley loads its definition and light sets: the start view behind the foul line sees the
// head pin, the set-up view is slot 1, the lights are the alley's own, and no two alleys look
// the same. Everything goes again with the alley.
TEST_F(AreasOfTheGameData, EachOfTheSixAlleysLoads)
{
    const unsigned before = Allocations();
    std::vector<DS3_lights> looks;
    for (int area = 0; area < kNumAreas; ++area) {
        SCOPED_TRACE(area);
        ASSERT_EQ(ChangeArea(area), 1);
        EXPECT_EQ(areaNum, area);
        EXPECT_EQ(areaRSID, areaRSIDs[area] << 16);
        EXPECT_EQ(GetAreaLightsetRSID(), (areaRSIDs[area] << 16) | 1);
        EXPECT_NE(collisionEnviroments[area].items[kCollisionLeftGutterItem].info, nullptr);

        const EnvDefn_properties defn = mkrom::AreaDefinition(area);
        EXPECT_EQ(gGameOptions.fog, defn.fogValue);
        EXPECT_EQ(numGameCameras, defn.numStaticCameras);
        EXPECT_GE(numGameCameras, 6);
        EXPECT_EQ(numStaticGameCameras[0], numGameCameras);
        EXPECT_EQ(gameCameras[1].cameraY, defn.staticCameras[1].y);
        EXPECT_EQ(gameCameras[numGameCameras].cameraY, defn.startCameraPosition[1]) << "the rest start where the start camera does";
        EXPECT_EQ(envZwriteFlag[31], 0);

        // The scene camera takes slot 0; the head pin is ahead of it and on screen, and the
        // camera itself stands behind the foul line.
        EXPECT_EQ(cameraY, gameCameras[0].cameraY);
        ComposeCameraXform();
        EXPECT_LT(cameraXformInv[3][1], 0.0f);
        float pin[3] = {0.0f, 1440.0f, 0.0f};
        composePosition(pin, cameraXform);
        EXPECT_GT(pin[2], 0.0f);
        EXPECT_LT(std::fabs(pin[0]), 0.2f * pin[2]);
        EXPECT_LT(std::fabs(pin[1]), 0.3f * pin[2]);

        // The light sets: the room on the slots, the shine on the ball and pins.
        EXPECT_FALSE(SameLights(gGameLights, Defaults()));
        EXPECT_GT(gActorLights[5].specular_shininess, 0.0f);
        EXPECT_FALSE(SameLights(gLayerLights[31], gLayerLights[0])) << "the signs have their own colour";
        for (const DS3_lights& other : looks) EXPECT_FALSE(SameLights(other, gGameLights));
        looks.push_back(gGameLights);
    }
    ASSERT_EQ(DisposeArea(), 1);
    EXPECT_EQ(AreaLoaded(), 0);
    EXPECT_EQ(GetAreaLightsetRSID(), 0);
    EXPECT_EQ(Allocations(), before);
}

// ---- Alleys made by hand ----

using mkrom::Resource;

Resource Bytes(int16_t type, std::vector<uint8_t> bytes, int id = 0)
{
    Resource r;
    r.id = id;
    r.type = type;
    r.bytes = std::move(bytes);
    return r;
}

template <typename T>
Resource Record(const T& value)
{
    const auto* p = reinterpret_cast<const uint8_t*>(&value);
    return Bytes(1, std::vector<uint8_t>(p, p + sizeof value));
}

Resource Group(int id, std::vector<Resource> members)
{
    Resource g = Bytes(mkrom::kTypeGroup, {}, id);
    g.members = std::move(members);
    return g;
}

Resource CollisionGroup(int area)
{
    for (Resource& r : mkrom::CollisionContent())
        if (r.id == collisionEnviroments[area].group) return r;
    return {};
}

// A member the group holds but that is no resource (type 0): read as missing.
Resource Filler() { return Bytes(0, std::vector<uint8_t>(16, 0)); }

// The first alley's definition with another fog.
EnvDefn_properties Definition(int fog)
{
    EnvDefn_properties d = mkrom::AreaDefinition(0);
    d.fogValue = fog;
    return d;
}

// A list of light sets of one colour each, lighting the targets first..last.
struct SetOf {
    uint32_t colour;
    int first, last;
};
std::unique_ptr<LightSetList> Sets(std::vector<SetOf> sets)
{
    auto list = std::make_unique<LightSetList>();
    std::memset(list.get(), 0, sizeof *list);
    for (size_t k = 0; k < sets.size(); ++k) {
        list->light[k].light1Color = sets[k].colour;
        list->light[k].assignmentStart = sets[k].first;
        list->light[k].assignmentEnd = sets[k].last;
    }
    list->numLights = int32_t(sets.size());
    return list;
}

std::vector<uint8_t> ObjectList(std::vector<int> types)
{
    std::vector<int32_t> words = {int32_t(types.size())};
    for (int t : types) words.insert(words.end(), {t, 0, 0, 0, 0});
    const auto* p = reinterpret_cast<const uint8_t*>(words.data());
    return std::vector<uint8_t>(p, p + words.size() * 4);
}

class HandMadeAlleys : public ::testing::Test {
protected:
    std::string dir;
    HostOptions saved;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        std::string pattern = ::testing::TempDir() + "zendrolyx-areas-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        saved = gHostOptions;
        gHostOptions.romDir = dir;
        done = 0;
        ASSERT_EQ(FileSystemInit(), 1);
        ASSERT_EQ(InitResources(10000), 1);
        gTestModeRunning = 0;
        physicsGlobalsSet = 0;
    }
    void TearDown() override
    {
        DisposeArea();
        FreeResources();
        FileSystemDispose();
        ReleaseDeviceHeap();
        gHostOptions = saved;
        areaNum = 0;
        EXPECT_EQ(std::system(("rm -rf '" + dir + "'").c_str()), 0);
    }
    // The first alley: its area group and collision group, with its environment when asked.
    void WriteFirstAlley(std::vector<Resource> areaMembers, bool environment)
    {
        std::vector<Resource> r = {Group(areaRSIDs[0], std::move(areaMembers)), CollisionGroup(0)};
        if (environment) {
            r.push_back(Group(areaEnvRSIDs[0], {Bytes(1, std::vector<uint8_t>(300, 1)), Bytes(1, std::vector<uint8_t>(300, 2))}));
            r.push_back(Group(areaEnvLayersRSIDs[0], {Bytes(1, std::vector<uint8_t>(64, 3)), Filler(),
                                                        Bytes(1, std::vector<uint8_t>(64, 5))}));
            r.push_back(Bytes(1, std::vector<uint8_t>(200, 9), 101));
            r.push_back(Bytes(1, std::vector<uint8_t>(200, 10), 109));
        }
        std::string error;
        ASSERT_TRUE(mkrom::WriteArchive(dir + "/a.rez", 100, 100, std::move(r), &error)) << error;
        ASSERT_NE(OpenResourceFile("rom:/a.rez"), nullptr);
    }
    void WriteSecondAlley(std::vector<Resource> areaMembers)
    {
        std::string error;
        ASSERT_TRUE(mkrom::WriteArchive(dir + "/b.rez", 200, 100,
                                        {Group(areaRSIDs[1], std::move(areaMembers)), CollisionGroup(1)}, &error))
            << error;
        ASSERT_NE(OpenResourceFile("rom:/b.rez"), nullptr);
    }
};

// Changing to an alley with the same environment keeps the environment and its layers and loads
// only the area group again; an alley with another environment unloads it, and one whose
// environment is not in the game data has empty slots.
TEST_F(HandMadeAlleys, TheSameEnvironmentIsKeptAndOnlyTheAreaGroupReloads)
{
    WriteFirstAlley({Record(Definition(33))}, true);
    WriteSecondAlley({Record(Definition(44))});
    const unsigned opened = Allocations();
    ASSERT_EQ(ChangeArea(0), 1);
    EXPECT_EQ(envModel[0], ResourceHandle((areaEnvRSIDs[0] << 16) | 1)) << "the group's last member";
    EXPECT_EQ(envModel[1], ResourceHandle(areaEnvLayersRSIDs[0] << 16));
    EXPECT_EQ(envModel[2], nullptr) << "a member without a type";
    EXPECT_EQ(envModel[3], ResourceHandle((areaEnvLayersRSIDs[0] << 16) | 2));
    EXPECT_EQ(envModel[4], nullptr);
    EXPECT_EQ(ResourceLoaded(101) + ResourceLoaded(109), 2) << "the environment's own resources";
    EXPECT_EQ(gGameOptions.fog, 33);

    // Marks in what is loaded: the environment keeps its mark, the area group loads afresh.
    auto* model = static_cast<uint8_t*>(ResourceHandle((areaEnvRSIDs[0] << 16) | 1));
    model[0] = 0x77;
    auto* defn = static_cast<EnvDefn_properties*>(ResourceHandle(areaRSIDs[0] << 16));
    defn->fogValue = 7;
    void* extra = ResourceHandle(101);
    ASSERT_EQ(ChangeArea(0), 1);
    EXPECT_EQ(static_cast<uint8_t*>(ResourceHandle((areaEnvRSIDs[0] << 16) | 1))[0], 0x77);
    EXPECT_EQ(ResourceHandle(101), extra);
    EXPECT_EQ(gGameOptions.fog, 33) << "the definition was read again";

    ASSERT_EQ(ChangeArea(1), 1);
    EXPECT_EQ(ResourceLoaded(areaEnvRSIDs[0]) + ResourceLoaded(areaEnvLayersRSIDs[0]) + ResourceLoaded(101), 0);
    for (DS3_model_tag* m : envModel) EXPECT_EQ(m, nullptr);
    EXPECT_EQ(areaEnvRSID, areaEnvRSIDs[1]);
    EXPECT_EQ(gGameOptions.fog, 44);
    EXPECT_EQ(collisionEnviroments[0].items[kCollisionLeftGutterItem].info, nullptr);

    ASSERT_EQ(DisposeArea(), 1);
    EXPECT_EQ(Allocations(), opened);
}

// Every layer and actor slot takes the first light set; a set for targets 30..33 then lights
// layers 30 and 31 and actor slots 0 and 1.
TEST_F(HandMadeAlleys, ALightSetLightsTheLayersAndActorSlotsOfItsRange)
{
    const uint32_t base = 0x00202020, lit = 0x00804000;
    WriteFirstAlley({Record(Definition(0)), Record(*Sets({{base, 0, 0}, {lit, 30, 33}}))}, false);
    ASSERT_EQ(ChangeArea(0), 1);
    EXPECT_EQ(GetAreaLightsetRSID(), (areaRSIDs[0] << 16) | 1);
    for (int layer : {29, 30, 31}) {
        SCOPED_TRACE(layer);
        EXPECT_EQ(gLayerLights[layer].light1_red, layer >= 30 ? 1.0f : 0.25f);
        EXPECT_EQ(layerLights[layer].light1_red, layer >= 30 ? 1.0f : 0.25f);
    }
    for (int slot : {0, 1, 2, 15}) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(gActorLights[slot].light1_green, slot <= 1 ? 0.5f : 0.25f);
        EXPECT_EQ(actorLights[slot].light1_green, slot <= 1 ? 0.5f : 0.25f);
    }
    // The alley's own lights come from the definition, not from the sets.
    EXPECT_EQ(gGameLights.light1_red, 1.0f);
}

// Without a light-set list the default lights stay: on the alley when it has no definition
// either, and on the layers' and actors' slots (not those of the alley before).
TEST_F(HandMadeAlleys, AnAlleyWithoutLightSetsKeepsTheDefaultLights)
{
    WriteFirstAlley({Filler(), Filler(), Bytes(1, ObjectList({10, 19}))}, false);
    WriteSecondAlley({Record(Definition(0)), Record(*Sets({{0x00808080, 0, 47}}))});
    ASSERT_EQ(ChangeArea(1), 1);
    ASSERT_EQ(gActorLights[3].light1_red, 1.0f);
    ASSERT_EQ(ChangeArea(0), 1);
    EXPECT_EQ(GetAreaLightsetRSID(), 0);
    EXPECT_EQ(numGameCameras, 0);
    const DS3_lights d = Defaults();
    EXPECT_TRUE(SameLights(gGameLights, d));
    EXPECT_TRUE(SameLights(gActorLights[3], d));
    EXPECT_TRUE(SameLights(gLayerLights[0], d));
    EXPECT_TRUE(SameLights(actorLights[3], d));
}

// Damaged records fail the change with a message and leave nothing loaded once the alley goes.
TEST_F(HandMadeAlleys, DamagedAreaRecordsAreRefused)
{
    EnvDefn_properties cameras = Definition(0);
    cameras.numStaticCameras = kMaxEnvStaticCameras + 1;
    EnvDefn_properties order = Definition(0);
    order.envDrawOrder[5] = 32;
    EnvDefn_properties fog = Definition(300);
    std::vector<uint8_t> shortDefn(sizeof(EnvDefn_properties) - 200, 0);
    auto sets = Sets({{0, 0, 0}, {0, 40, 48}});
    auto tooMany = Sets({});
    tooMany->numLights = kMaxLightSets + 1;

    const std::vector<std::vector<Resource>> damaged = {
        {Record(cameras)},
        {Record(order)},
        {Record(fog)},
        {Bytes(1, shortDefn)},
        {Filler(), Record(*sets)},
        {Filler(), Record(*tooMany)},
        {Filler(), Filler(), Bytes(1, ObjectList({10, 9}))},
        {Filler(), Filler(), Bytes(1, ObjectList({20}))},
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        std::string error;
        const std::string name = "d" + std::to_string(i) + ".rez";
        ASSERT_TRUE(mkrom::WriteArchive(dir + "/" + name, 100, 100, {Group(areaRSIDs[0], damaged[i]), CollisionGroup(0)},
                                        &error))
            << error;
        resourceFileHeader_tag* file = OpenResourceFile(("rom:/" + name).c_str());
        ASSERT_NE(file, nullptr);
        const unsigned before = Allocations();
        EXPECT_EQ(ChangeArea(0), 0);
        EXPECT_EQ(DisposeArea(), 1);
        EXPECT_EQ(Allocations(), before);
        ASSERT_EQ(CloseResourceFile(file), 1);
    }
}

}  // namespace
