// Environment objects: each alley of the build's game data stands its props at the table's
// places, the props animate once per drawn frame (both eyes alike), freeze while paused, restart
// their run two frames before its end (in the first alley with their own model and animation,
// elsewhere mixed at random), and go again with the alley, leaving the heap and the pool as they
// were and the lane's own actors alone. A hand-made alley whose group holds no pair gets none.
#include "game/envobjects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "archive_writer.h"
#include "content_shaders.h"
#include "game/actors.h"
#include "game/areas.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/objectanim.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "platform/frame.h"
#include "platform/gpu_recording.h"
#include "platform/model.h"
#include "platform/render.h"
#include "platform/skeleton.h"
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

std::vector<actor_tag*> ListedActors()
{
    std::vector<actor_tag*> out;
    for (actor_tag* a = actorList; a; a = a->nextActor) out.push_back(a);
    return out;
}

std::vector<actor_tag*> PlacedObjects()
{
    std::vector<actor_tag*> out;
    for (actor_tag* a : envActor)
        if (a) out.push_back(a);
    return out;
}

int Draws(const GpuRecording& rec)
{
    int n = 0;
    for (const RegWrite& w : rec.Writes()) n += w.reg == kGpuRegDrawIndexed;
    return n;
}

DI_objectAnimation_tag* AnimationOf(const actor_tag* a)
{
    return static_cast<DI_objectAnimation_tag*>(ResourceHandle(envAnimationRSID[a->animInfo.animationOffset]));
}

// The kind whose model the object shows, -1 for none.
int ModelKind(const actor_tag* a)
{
    for (int k = 0; k < numEnvAnimations; ++k)
        if (envSpecificModel[k] == a->actorModel) return k;
    return -1;
}

// The slots each alley fills and the X of each, written out from the placement table.
std::map<int, float> ExpectedSlots(int area)
{
    std::map<int, float> s;
    auto add = [&](std::initializer_list<int> slots, int centre, float shift) {
        for (int i : slots) s[i] = float(i - centre) * 133.0f + shift;
    };
    switch (area) {
    case 1: add({0, 1, 2, 3, 4, 8, 9, 10, 11, 12, 13, 14}, 6, 0.0f); break;
    case 2: add({0, 4, 5, 6, 7, 8, 9, 10}, 2, 0.0f); break;
    case 3: add({0, 4, 5}, 2, 0.0f); break;
    case 4: add({0, 1, 2, 3, 4, 8, 9}, 6, 0.0f); break;
    case 5:
        add({1, 2, 3, 4, 5}, 9, -41.0f);
        add({6, 7, 11}, 9, 0.0f);
        add({12, 13, 14, 15}, 9, 41.0f);
        break;
    default: break;
    }
    return s;
}

class PropsOfTheGameData : public ::testing::Test {
protected:
    std::unique_ptr<GpuRecording> rec;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(48 << 20), 1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        ASSERT_EQ(InitRadianTables(), 1);
        const std::vector<uint8_t> container = mkrom::BuildShaderContainer(mkrom::VertexProgramSource());
        ASSERT_EQ(PrepareShaderState(container.data(), uint32_t(container.size())), 1);
        rec.reset(new GpuRecording());
        gTestModeRunning = 0;
        physicsGlobalsSet = 0;
        gGamePaused = 0;
        displayID = kDisplayUpperLeft;
        SeedRandom();
        ASSERT_EQ(InitializeActors(kActorPoolSize), 1);
    }
    void TearDown() override
    {
        DisposeArea();
        DisposeActors();
        rec.reset();
        DisposeRadianTables();
        CloseBuildGameData();
        ReleaseDeviceHeap();
        areaNum = 0;
        gGamePaused = 0;
    }
    // Draws the object as one frame's upper screen does: the left eye, then the right, into an
    // emptied recording.
    int DrawFrame(actor_tag* a)
    {
        rec->Clear();
        frameTicks += 33;
        displayID = kDisplayUpperLeft;
        const int left = DrawEnvActor(a);
        displayID = kDisplayUpperRight;
        const int right = DrawEnvActor(a);
        displayID = kDisplayUpperLeft;
        return left && right;
    }
    // Puts the object at the frame where its next step ends the run.
    static void AtTheEndOfItsRun(actor_tag* a)
    {
        const DI_objectAnimation_tag* anim = AnimationOf(a);
        a->animInfo.animationFrame = float(anim->numFrames - 1) - 0.01f;
    }
};

// Every alley loads its prop group, stands one object per slot of its table (the first alley
// each kind once, in kind order, on the lane asked for), each object a drawn type-6 actor of a
// kind of the group; everything goes again with the alley.
TEST_F(PropsOfTheGameData, EachOfTheSixAlleysStandsItsObjects)
{
    const unsigned before = Allocations();
    for (int area = 0; area < kNumAreas; ++area) {
        SCOPED_TRACE(area);
        ASSERT_EQ(ChangeArea(area), 1);
        const int group = areaEnvAnimationRSID[area];
        ASSERT_EQ(ResourceLoaded(group), 1);
        ASSERT_EQ(numEnvAnimations, NumResourcesInGroup(group) / 2);
        ASSERT_GE(numEnvAnimations, 2);
        for (int k = 0; k < numEnvAnimations; ++k) {
            EXPECT_EQ(envSpecificModel[k], ResourceHandle((group << 16) | (2 * k)));
            EXPECT_NE(envSpecificModel[k], nullptr);
            EXPECT_EQ(envAnimationRSID[k], (group << 16) | (2 * k + 1));
            EXPECT_EQ(ResourceType(envAnimationRSID[k]), kResourceTypeObjectAnimation);
        }

        const std::vector<actor_tag*> listed = ListedActors();
        const std::vector<actor_tag*> placed = PlacedObjects();
        EXPECT_EQ(listed.size(), placed.size()) << "the objects are the only actors";
        if (area == 0) {
            ASSERT_EQ(int(placed.size()), numEnvAnimations);
            for (int k = 0; k < numEnvAnimations; ++k) {
                EXPECT_EQ(envActor[k]->animInfo.animationOffset, k);
                EXPECT_EQ(envActor[k]->actorModel, envSpecificModel[k]);
                EXPECT_EQ(envActor[k]->Xlocation, 0.0f);
            }
        } else {
            const std::map<int, float> slots = ExpectedSlots(area);
            EXPECT_EQ(placed.size(), slots.size());
            for (int i = 0; i < kMaxEnvActors; ++i) {
                const auto it = slots.find(i);
                if (it == slots.end()) {
                    EXPECT_EQ(envActor[i], nullptr) << "slot " << i << " stays empty";
                    continue;
                }
                ASSERT_NE(envActor[i], nullptr) << "slot " << i;
                EXPECT_EQ(envActor[i]->Xlocation, it->second) << "slot " << i;
                EXPECT_EQ(envActor[i]->logicalX, it->second) << "slot " << i;
            }
        }

        rec->Clear();
        for (actor_tag* a : placed) {
            EXPECT_EQ(a->actorType, kActorEnvironment);
            EXPECT_EQ(a->visible, 1);
            EXPECT_EQ(a->Ylocation + a->Zlocation + a->logicalY, 0.0f);
            EXPECT_EQ(a->Xscale * a->Yscale * a->Zscale, 24.0f * 24.0f * 24.0f);
            EXPECT_EQ(a->Xextents, 17500.0f);
            EXPECT_EQ(a->Zextents, 17500.0f);
            EXPECT_EQ(a->heading, 180.0f);
            EXPECT_EQ(a->actorDrawFunction, &DrawEnvActor);
            EXPECT_GE(ModelKind(a), 0);
            EXPECT_EQ(DrawEnvActor(a), 1);
        }
        EXPECT_GE(Draws(*rec), 2 * int(placed.size())) << "a prop and its moving part each draw";
        EXPECT_TRUE(rec->SentinelIntact());
    }
    ASSERT_EQ(DisposeArea(), 1);
    EXPECT_EQ(actorList, nullptr);
    EXPECT_EQ(numEnvAnimations, 0);
    EXPECT_EQ(ResourceLoaded(areaEnvAnimationRSID[kNumAreas - 1]), 0);
    EXPECT_EQ(Allocations(), before);
}

// The objects start at a random frame of 0, 20, ... 200 and a step on, and the same seed stands
// the same objects in the same poses.
TEST_F(PropsOfTheGameData, StartFramesAreRandomAndTheSameSeedRepeatsThem)
{
    auto stand = [] {
        SeedRandom();
        EXPECT_EQ(ChangeArea(1), 1);
        std::vector<std::pair<int, float>> poses;
        for (actor_tag* a : PlacedObjects()) poses.push_back({a->animInfo.animationOffset, a->animInfo.animationFrame});
        return poses;
    };
    const std::vector<std::pair<int, float>> first = stand();
    std::set<int> starts;
    std::set<int> kinds;
    for (const auto& [kind, frame] : first) {
        const DI_objectAnimation_tag* anim = static_cast<DI_objectAnimation_tag*>(ResourceHandle(envAnimationRSID[kind]));
        const float step = anim->rateRatio * 0.7f;
        const float start = frame - step;
        EXPECT_NEAR(start / 20.0f, std::round(start / 20.0f), 1e-4f) << frame;
        EXPECT_LE(start, 200.0f);
        starts.insert(int(std::round(start)));
        kinds.insert(kind);
    }
    EXPECT_GT(starts.size(), 2u);
    EXPECT_EQ(int(kinds.size()), numEnvAnimations) << "twelve objects show every kind";
    EXPECT_EQ(stand(), first);
}

// A frame steps once, in its first upper-screen pass and before that pass draws, whichever eye
// comes first: both eyes show the same pose.
TEST_F(PropsOfTheGameData, AFrameStepsOnceAndBothEyesShowTheSamePose)
{
    ASSERT_EQ(ChangeArea(2), 1);
    actor_tag* a = envActor[0];
    ASSERT_NE(a, nullptr);
    a->animInfo.animationFrame = 10.0f;
    const float step = AnimationOf(a)->rateRatio * updateRatio * 0.7f;
    ASSERT_GT(step, 0.0f);

    frameTicks += 33;
    ASSERT_EQ(DrawEnvActor(a), 1);
    EXPECT_FLOAT_EQ(a->animInfo.animationFrame, 10.0f + step);
    displayID = kDisplayUpperRight;
    ASSERT_EQ(DrawEnvActor(a), 1);
    EXPECT_FLOAT_EQ(a->animInfo.animationFrame, 10.0f + step) << "the right eye draws the same pose";

    // With the eyes swapped the right eye's camera comes first.
    frameTicks += 33;
    ASSERT_EQ(DrawEnvActor(a), 1);
    displayID = kDisplayUpperLeft;
    ASSERT_EQ(DrawEnvActor(a), 1);
    EXPECT_FLOAT_EQ(a->animInfo.animationFrame, 10.0f + 2.0f * step);

    for (int i = 0; i < 10; ++i) ASSERT_EQ(DrawFrame(a), 1);
    EXPECT_NEAR(a->animInfo.animationFrame, 10.0f + 12.0f * step, 1e-4f);
}

// While the game is paused the objects are drawn, frozen on their frame.
TEST_F(PropsOfTheGameData, WhilePausedTheObjectsAreDrawnFrozen)
{
    ASSERT_EQ(ChangeArea(4), 1);
    actor_tag* a = envActor[0];
    ASSERT_NE(a, nullptr);
    AtTheEndOfItsRun(a);
    const float frame = a->animInfo.animationFrame;
    const int kind = a->animInfo.animationOffset;
    gGamePaused = 1;
    for (int i = 0; i < 5; ++i) ASSERT_EQ(DrawFrame(a), 1);
    EXPECT_EQ(a->animInfo.animationFrame, frame) << "not even the end of the run is reached";
    EXPECT_EQ(a->animInfo.animationOffset, kind);
    EXPECT_GE(Draws(*rec), 4) << "both eyes draw the prop and its moving part";
    gGamePaused = 0;
    ASSERT_EQ(DrawFrame(a), 1);
    EXPECT_EQ(a->animInfo.animationFrame, 0.0f);
}

// A run ends when the frame, taken whole, passes the frame count minus 2: at count - 2 and a bit
// the object still plays, one step further it starts again at 0.
TEST_F(PropsOfTheGameData, ARunEndsTwoFramesBeforeTheLastKeyframe)
{
    ASSERT_EQ(ChangeArea(0), 1);
    actor_tag* a = envActor[1];
    ASSERT_NE(a, nullptr);
    const DI_objectAnimation_tag* anim = AnimationOf(a);
    const float step = anim->rateRatio * 0.7f;
    const float last = float(anim->numFrames - 1);
    a->animInfo.animationFrame = last - step - 0.01f;
    ASSERT_EQ(DrawFrame(a), 1);
    EXPECT_NEAR(a->animInfo.animationFrame, last - 0.01f, 1e-4f);
    ASSERT_EQ(DrawFrame(a), 1);
    EXPECT_EQ(a->animInfo.animationFrame, 0.0f);

    // A frame that is no number restarts the run rather than being drawn.
    a->animInfo.animationFrame = std::nanf("");
    ASSERT_EQ(DrawFrame(a), 1);
    EXPECT_EQ(a->animInfo.animationFrame, 0.0f);
}

// In the first alley every object keeps its kind's model and animation run after run; in the
// others models and animations are dealt again at random at the end of each run, apart.
TEST_F(PropsOfTheGameData, TheFirstAlleyKeepsEachKindTheOthersMixThem)
{
    ASSERT_EQ(ChangeArea(0), 1);
    for (int run = 0; run < 20; ++run)
        for (int k = 0; k < numEnvAnimations; ++k) {
            AtTheEndOfItsRun(envActor[k]);
            ASSERT_EQ(DrawFrame(envActor[k]), 1);
            ASSERT_EQ(envActor[k]->animInfo.animationFrame, 0.0f);
            ASSERT_EQ(envActor[k]->animInfo.animationOffset, k);
            ASSERT_EQ(envActor[k]->actorModel, envSpecificModel[k]);
        }

    ASSERT_EQ(ChangeArea(5), 1);
    actor_tag* a = envActor[6];
    ASSERT_NE(a, nullptr);
    std::set<int> animations, models;
    int mixed = 0;
    for (int run = 0; run < 40; ++run) {
        AtTheEndOfItsRun(a);
        ASSERT_EQ(DrawFrame(a), 1);
        ASSERT_EQ(a->animInfo.animationFrame, 0.0f);
        animations.insert(a->animInfo.animationOffset);
        models.insert(ModelKind(a));
        mixed += ModelKind(a) != a->animInfo.animationOffset;
    }
    EXPECT_EQ(int(animations.size()), numEnvAnimations);
    EXPECT_EQ(int(models.size()), numEnvAnimations);
    EXPECT_EQ(models.count(-1), 0u);
    EXPECT_GT(mixed, 0) << "a model plays another kind's animation";
}

// Leaving an alley disposes its objects and nothing else: the lane's actors stay, the new alley's
// objects take the freed records, and disposing gives back the heap and the pool. Slots left
// over from a freed pool are not touched.
TEST_F(PropsOfTheGameData, DisposalGivesBackOnlyTheObjects)
{
    actor_tag* ball = nullptr;
    ASSERT_EQ(AddActor(0.0f, 0.0f, 0.0f, kActorBall, &ball), 1);
    ASSERT_EQ(ChangeArea(1), 1);
    EXPECT_EQ(ListedActors().size(), 1u + 12u);
    ASSERT_EQ(ChangeArea(3), 1);
    std::vector<actor_tag*> listed = ListedActors();
    ASSERT_EQ(listed.size(), 1u + 3u);
    EXPECT_EQ(listed[0], ball);

    ASSERT_EQ(DisposeEnvSpecificObjects(), 1);
    const unsigned without = Allocations();
    EXPECT_EQ(ListedActors(), std::vector<actor_tag*>{ball});
    EXPECT_TRUE(PlacedObjects().empty());
    EXPECT_EQ(ResourceLoaded(areaEnvAnimationRSID[3]), 0);

    ASSERT_EQ(LoadEnvSpecificObjects(), 1);
    ASSERT_EQ(AddEnvObject(0.0f, 0.0f, 0), 1);
    // Loading again gives back the first load, its objects with it.
    ASSERT_EQ(LoadEnvSpecificObjects(), 1);
    EXPECT_TRUE(PlacedObjects().empty());
    EXPECT_EQ(ListedActors(), std::vector<actor_tag*>{ball});
    ASSERT_EQ(AddEnvObject(0.0f, 0.0f, 0), 1);
    EXPECT_EQ(PlacedObjects().size(), 3u);
    // Placing again replaces the objects instead of losing them in the pool.
    ASSERT_EQ(AddEnvObject(0.0f, 0.0f, 0), 1);
    EXPECT_EQ(ListedActors().size(), 1u + 3u);
    ASSERT_EQ(DisposeEnvSpecificObjects(), 1);
    EXPECT_EQ(Allocations(), without);
    EXPECT_EQ(ListedActors(), std::vector<actor_tag*>{ball});
    EXPECT_EQ(DisposeEnvSpecificObjects(), 1) << "nothing left to dispose";

    // A game's tear-down frees the pool with the objects in it; the slots then point nowhere.
    ASSERT_EQ(LoadEnvSpecificObjects(), 1);
    ASSERT_EQ(AddEnvObject(0.0f, 0.0f, 0), 1);
    ASSERT_EQ(DisposeActors(), 1);
    EXPECT_EQ(DisposeEnvSpecificObjects(), 1);
    EXPECT_TRUE(PlacedObjects().empty());
    EXPECT_EQ(ResourceLoaded(areaEnvAnimationRSID[3]), 0);
}

// A full pool stops the placement with 0, a kind the group does not have is refused, and a kind
// other than 0 or an alley without a prop group places nothing.
TEST_F(PropsOfTheGameData, PlacementFailsCleanlyAndPlacesOnlyForKindZero)
{
    ASSERT_EQ(ChangeArea(2), 1);
    ASSERT_EQ(DisposeEnvSpecificObjects(), 1);
    ASSERT_EQ(LoadEnvSpecificObjects(), 1);
    EXPECT_EQ(AddEnvObject(0.0f, 0.0f, 1), 1);
    EXPECT_EQ(actorList, nullptr);

    actor_tag* out = nullptr;
    EXPECT_EQ(AddEnvActor(0.0f, 0.0f, kActorEnvironment, numEnvAnimations, &out), 0);
    EXPECT_EQ(AddEnvActor(0.0f, 0.0f, kActorEnvironment, -1, &out), 0);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(actorList, nullptr);
    ASSERT_EQ(AddEnvActor(266.0f, 999.0f, kActorBall, 1, &out), 1);
    EXPECT_EQ(out->actorType, kActorEnvironment) << "the type asked for is not used";
    EXPECT_EQ(out->Ylocation, 0.0f) << "nor is the Y";
    EXPECT_EQ(out->Xlocation, 266.0f);
    ASSERT_EQ(DisposeActor(out), 1);

    for (int i = 0; i < kActorPoolSize - 5; ++i) ASSERT_EQ(AddActor(0.0f, 0.0f, 0.0f, kActorPin, nullptr), 1);
    EXPECT_EQ(AddEnvObject(0.0f, 0.0f, 0), 0) << "area 2 stands 8 objects in 5 free records";
    EXPECT_EQ(PlacedObjects().size(), 5u);
    ASSERT_EQ(DisposeEnvSpecificObjects(), 1);
    EXPECT_EQ(ListedActors().size(), size_t(kActorPoolSize - 5));

    areaNum = 6;  // no alley of the game: no prop group
    ASSERT_EQ(LoadEnvSpecificObjects(), 1);
    EXPECT_EQ(numEnvAnimations, 0);
    EXPECT_EQ(AddEnvObject(0.0f, 0.0f, 0), 1);
    EXPECT_TRUE(PlacedObjects().empty());
    areaNum = 2;
}

// A hand-made alley whose prop group holds no whole model/animation pair has no kinds and stands
// nothing; placing succeeds and disposal unloads the group.
TEST(PropsOfAHandMadeAlley, AGroupWithoutAPairStandsNothing)
{
    ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
    std::string pattern = ::testing::TempDir() + "zendrolyx-props-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::string dir = pattern;
    const HostOptions saved = gHostOptions;
    gHostOptions.romDir = dir;
    done = 0;
    ASSERT_EQ(FileSystemInit(), 1);
    ASSERT_EQ(InitResources(10000), 1);

    mkrom::Resource lone;
    lone.type = 1;
    lone.bytes.assign(64, 7);
    mkrom::Resource group;
    group.id = areaEnvAnimationRSID[0];
    group.type = mkrom::kTypeGroup;
    group.members.push_back(lone);
    std::string error;
    ASSERT_TRUE(mkrom::WriteArchive(dir + "/p.rez", 100, 100, {group}, &error)) << error;
    ASSERT_NE(OpenResourceFile("rom:/p.rez"), nullptr);

    ASSERT_EQ(InitializeActors(kActorPoolSize), 1);
    const unsigned before = Allocations();
    areaNum = 0;
    ASSERT_EQ(LoadEnvSpecificObjects(), 1);
    EXPECT_EQ(ResourceLoaded(areaEnvAnimationRSID[0]), 1);
    EXPECT_EQ(numEnvAnimations, 0);
    EXPECT_EQ(AddEnvObject(0.0f, 0.0f, 0), 1);
    EXPECT_EQ(actorList, nullptr);
    EXPECT_EQ(DisposeEnvSpecificObjects(), 1);
    EXPECT_EQ(ResourceLoaded(areaEnvAnimationRSID[0]), 0);
    EXPECT_EQ(Allocations(), before);

    DisposeActors();
    FreeResources();
    FileSystemDispose();
    ReleaseDeviceHeap();
    gHostOptions = saved;
    EXPECT_EQ(std::system(("rm -rf '" + dir + "'").c_str()), 0);
}

}  // namespace
