// Test mode in a quick game on the build's game data: the edited alley light set reaches the
// lights the scene is drawn with, a stored particle definition is loaded, edited and run, and
// the markers of domains and control points come and go exactly once, the actor pool back to its
// count each time; the test character plays as told, and a failed model change leaves none behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "game/actors.h"
#include "game/areas.h"
#include "game/camera.h"
#include "game/particledefs.h"
#include "game/particles.h"
#include "game/records.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "overlays/overlaystack.h"
#include "platform/camera.h"
#include "platform/input.h"
#include "platform/skeleton.h"
#include "platform/render.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"
#include "testmode/testmenus.h"
#include "testmode/testmode.h"
#include "testmode/testoverlay.h"

namespace {

class TestModeInAGame : public ::testing::Test {
protected:
    HostOptions saved;
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(64 << 20), 1);
        saved = gHostOptions;
        gHostOptions.headless = 0;
        ASSERT_EQ(PrepareWholeGame(), 1);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        GpuExecuteOnlyFor(nullptr, 0);
        gHostOptions.testMode = 1;
        ASSERT_EQ(StartQuickGame(1, 0), 1);
        ASSERT_EQ(OverlayUpdate(), 1);  // test mode, over the score sheet, opens
        ASSERT_EQ(gTestModeRunning, 1);
    }
    void TearDown() override
    {
        EndWholeGame();
        GpuExecuteAll();
        ReleaseDeviceHeap();
        gHostOptions = saved;
        testOptions.particleSystemInfo = nullptr;
    }
    static int FreeActors()
    {
        int n = 0;
        for (actor_tag* a = unusedActors; a; a = a->nextActor) ++n;
        return n;
    }
    static int TestSystems()
    {
        int n = 0;
        for (PARTICLESYSTEMTAG* s : theParticleSystemManager->particleSystems) n += s && s->systemType == kParticleSystemTest;
        return n;
    }
    static void Step(TestItem* menu, int line, int action, int times = 1)
    {
        for (int i = 0; i < times; ++i) ASSERT_EQ(menu[line].fn(action, nullptr), 1);
    }
    uint16_t held = 0;
    int Frame(uint16_t buttons, float x = 0.0f)
    {
        allInput.edges = uint16_t(held ^ buttons);
        allInput.buttons = buttons;
        allInput.x = x;
        allInput.y = 0.0f;
        held = buttons;
        return TestModeControls(4.0f);
    }
    static std::string Label(TestItem* menu, int line)
    {
        char text[kItemTextSize] = {};
        EXPECT_EQ(menu[line].fn(kItemLabel, text), 1);
        return text;
    }
};

TEST_F(TestModeInAGame, EditingTheAlleysLightSetRelightsItsTargets)
{
    // The first set lights layer 1 alone; light 1's red is raised twice.
    Step(EditLightsetMenu, 1, kItemDecrease, 60);
    Step(EditLightsetMenu, 2, kItemDecrease, 60);
    const float before = gLayerLights[0].light1_red;
    const float other = gLayerLights[1].light1_red;
    Step(EditLightsetMenu, 4, kItemIncrease, 2);
    char text[kItemTextSize];
    ASSERT_EQ(EditLightsetMenu[4].fn(kItemLabel, text), 1);
    int red = -1;
    ASSERT_EQ(std::sscanf(text, "LIGHT RED: %d", &red), 1) << text;
    EXPECT_NE(gLayerLights[0].light1_red, before);
    EXPECT_NEAR(gLayerLights[0].light1_red, float(red) / 128.0f, 1e-4f) << "the set's byte, as the renderer takes it";
    EXPECT_EQ(gLayerLights[1].light1_red, other) << "a layer outside the set's targets keeps its light";

    // A stored set naming targets beyond 0..47 lights every real target and nothing else.
    void* handle = nullptr;
    ASSERT_EQ(GetResourceHandle(GetAreaLightsetRSID(), &handle), 1);
    LightSetData& set = static_cast<LightSetList*>(handle)->light[0];
    set.assignmentStart = -1;
    set.assignmentEnd = 60;
    Step(EditLightsetMenu, 4, kItemIncrease);
    EXPECT_NEAR(gLayerLights[1].light1_red, float(red + 1) / 128.0f, 1e-4f);
    EXPECT_NEAR(gActorLights[kNumActorLights - 1].light1_red, float(red + 1) / 128.0f, 1e-4f);
}

TEST_F(TestModeInAGame, AStoredParticleDefinitionIsEditedAndRun)
{
    Step(RootMenu, 0, kItemSelect);
    ASSERT_EQ(testOptions.curMenu, ParticlesMenu);
    ASSERT_GT(testOptions.numParticleSystems, 0);
    PARTICLESYSTEMINFOTAG& d = *testOptions.particleSystemInfo;
    EXPECT_EQ(d.bitmapRSID, kParticleBitmapGroup << 16) << "on the first bitmap";
    Step(ParticlesMenu, 5, kItemIncrease, 4);
    const int count = d.numParticles;
    Step(ParticlesMenu, 0, kItemSelect);
    Step(ParticlesMenu, 0, kItemSelect);
    ASSERT_EQ(TestSystems(), 2);
    PARTICLESYSTEMTAG* s = nullptr;
    for (PARTICLESYSTEMTAG* p : theParticleSystemManager->particleSystems)
        if (p && p->systemType == kParticleSystemTest) s = p;
    EXPECT_EQ(int(s->numAlive + s->numDead), count) << "the edited particle count";
    ParticleSystemRespawnParticles(s, 1);
    EXPECT_EQ(ParticleSystemManagerUpdate(), 1) << "test systems run while the game is paused";
    Step(ParticlesMenu, 14, kItemSelect);
    EXPECT_EQ(TestSystems(), 0);

    // A texture animation is loaded with its system and remembered for unloading; with the list of
    // them full, no system is started that would load one more.
    d.animationRSID = kParticleToolTextures;
    testOptions.numAnimationRSIDs = 64;
    for (int i = 0; i < 64; ++i) testOptions.animationRSIDs[i] = 60000 + i;  // ids of nothing
    testOptions.currentControlPoint = 3;
    Step(ParticlesMenu, 0, kItemSelect);
    EXPECT_EQ(TestSystems(), 0);
    EXPECT_EQ(ResourceLoaded(kParticleToolTextures), 0);
    EXPECT_EQ(testOptions.currentControlPoint, 3) << "nothing is written past the list";
    testOptions.numAnimationRSIDs = 0;
    Step(ParticlesMenu, 0, kItemSelect);
    EXPECT_EQ(TestSystems(), 1);
    ASSERT_EQ(testOptions.numAnimationRSIDs, 1);
    EXPECT_EQ(testOptions.animationRSIDs[0], kParticleToolTextures);
    EXPECT_EQ(ResourceLoaded(kParticleToolTextures), 1);
    ASSERT_EQ(OverlayExit(), 1);
    EXPECT_EQ(TestSystems(), 0);
    EXPECT_EQ(ResourceLoaded(kParticleToolTextures), 0) << "leaving test mode unloads it";
    EXPECT_EQ(ResourceLoaded(kParticleStoredDefinitionGroup), 0) << "and the groups test mode loaded";
}

TEST_F(TestModeInAGame, MarkersComeAndGoExactlyOnce)
{
    const int pool = FreeActors();
    PARTICLESYSTEMINFOTAG& d = *testOptions.particleSystemInfo;
    EnterTestMenu(ParticlesMenu, RootMenu);

    // The generator's box: its markers follow the edited coordinates.
    Step(ParticlesMenu, 7, kItemSelect);
    ASSERT_EQ(testOptions.curMenu, BoxDomainCoordsMenu);
    EXPECT_EQ(FreeActors(), pool - 2);
    EXPECT_EQ(testOptions.generatorCenterActorPresent, 1);
    EnterTestMenu(ParticlesMenu, RootMenu);
    Step(ParticlesMenu, 7, kItemSelect);
    EXPECT_EQ(FreeActors(), pool - 2) << "a domain has one marker";
    testOptions.domainCoordsType = 0;
    Step(BoxDomainCoordsMenu, 1, kItemIncrease, 100);
    ASSERT_EQ(RunActorHandlers(), 1);
    actor_tag* handle = testOptions.genCenterToolActor;
    ASSERT_NE(handle, nullptr);
    EXPECT_NEAR(handle->Xlocation, 5.0f, 1e-3f) << "the box from 0 to 10 is centred at 5";
    ASSERT_NE(handle->collisionPair, nullptr);
    EXPECT_NEAR(handle->collisionPair->Xscale, 5.0f, 1e-3f);
    Step(ParticlesMenu, 6, kItemIncrease);
    EXPECT_EQ(FreeActors(), pool) << "a new domain type takes the markers away";
    EXPECT_EQ(testOptions.generatorCenterActorPresent, 0);
    EXPECT_EQ(testOptions.genCenterToolActor, nullptr);

    // A control point's marker follows its radius, through the label calls too.
    EnterTestMenu(ParticleControlPointMenu, ParticlesMenu);
    char text[kItemTextSize];
    Step(ParticleControlPointMenu, 4, kItemIncrease);
    EXPECT_EQ(FreeActors(), pool - 2);
    ASSERT_EQ(ParticleControlPointMenu[4].fn(kItemLabel, text), 1);
    EXPECT_EQ(FreeActors(), pool - 2);
    Step(ParticleControlPointMenu, 4, kItemDecrease);
    EXPECT_EQ(FreeActors(), pool) << "radius 0 takes it away";
    EXPECT_EQ(testOptions.controlPointCenterActorPresent[0], 0);
    ASSERT_EQ(ParticleControlPointMenu[4].fn(kItemLabel, text), 1);
    EXPECT_EQ(FreeActors(), pool);

    // A shape disposed before its handle (as the pool's dispose-all may) leaves the handle whole.
    d.controlPoints[1].radius = 2.0f;
    testOptions.currentControlPoint = 1;
    ASSERT_EQ(ParticleControlPointMenu[4].fn(kItemLabel, text), 1);
    actor_tag* point = testOptions.centerToolActor[1];
    ASSERT_NE(point, nullptr);
    ASSERT_EQ(DisposeActor(point->collisionPair), 1);
    EXPECT_EQ(point->collisionPair, nullptr);
    ASSERT_EQ(DisposeActor(point), 1);
    EXPECT_EQ(FreeActors(), pool);
    EXPECT_EQ(testOptions.controlPointCenterActorPresent[1], 0);

    // Leaving test mode takes every remaining marker with it.
    ASSERT_EQ(ParticleControlPointMenu[4].fn(kItemLabel, text), 1);
    EnterTestMenu(ParticlesMenu, RootMenu);
    Step(ParticlesMenu, 9, kItemSelect);
    EXPECT_EQ(FreeActors(), pool - 4);
    ASSERT_EQ(OverlayExit(), 1);
    EXPECT_EQ(FreeActors(), pool);
    EXPECT_EQ(testOptions.containerCenterActorPresent, 0);
    EXPECT_EQ(testOptions.controlPointCenterActorPresent[1], 0);
}

TEST_F(TestModeInAGame, TheFixedCamerasAndTheMemoryReadout)
{
    // The colour steps over 1..9, never to 0, and the free camera takes the colour's camera.
    ASSERT_EQ(SetStaticGameCameraColor(9), 1);
    Step(StaticCamerasMenu, 1, kItemIncrease);
    EXPECT_EQ(Label(StaticCamerasMenu, 1), "STATIC CAMERA COLOR: RED");
    EXPECT_EQ(cameraY, gameCameras[0].cameraY);
    EXPECT_EQ(cameraZoom, gameCameras[0].cameraZoom);
    Step(StaticCamerasMenu, 1, kItemDecrease);
    EXPECT_EQ(Label(StaticCamerasMenu, 1), "STATIC CAMERA COLOR: GREEN");

    // Eleven cameras in turn (the live one and ten fixed ones), then round again.
    Step(StaticCamerasMenu, 0, kItemSelect);
    const float x = cameraX, y = cameraY, zoom = cameraZoom, pitch = cameraXangle;
    Step(StaticCamerasMenu, 0, kItemSelect, 11);
    EXPECT_EQ(cameraX, x);
    EXPECT_EQ(cameraY, y);
    EXPECT_EQ(cameraZoom, zoom);
    EXPECT_EQ(cameraXangle, pitch);

    Step(RootMenu, 10, kItemSelect);
    ASSERT_EQ(testOptions.curMenu, MemoryMenu);
    unsigned freeBytes = 0;
    ASSERT_EQ(std::sscanf(Label(MemoryMenu, 0).c_str(), "TOTAL FREE RAM: %u", &freeBytes), 1);
    EXPECT_GT(freeBytes, 0u);
}

// With actor snap on, letting go of R near a bowler snaps the camera to it; R held then walks it.
TEST_F(TestModeInAGame, ActorSnapTakesTheNearestBowlerInHand)
{
    actor_tag* bowler = gPlayerInfo[0].theActor;
    ASSERT_NE(bowler, nullptr);
    cameraX = bowler->Xlocation + 10.0f;
    cameraY = bowler->Ylocation;
    cameraZangle = 0.0f;
    if (TestActorSnapEnabled()) Step(RootMenu, 8, kItemIncrease);  // the switch lasts the run
    ASSERT_EQ(Frame(kButtonR), 1);
    ASSERT_EQ(Frame(0), 1);
    EXPECT_EQ(cameraX, bowler->Xlocation + 10.0f) << "snap is off";
    if (!TestActorSnapEnabled()) Step(RootMenu, 8, kItemIncrease);
    ASSERT_EQ(Frame(kButtonR), 1);
    ASSERT_EQ(Frame(0), 1);
    EXPECT_EQ(cameraX, bowler->Xlocation + 10.0f) << "10 units away is too far";
    cameraX -= 0.5f;
    ASSERT_EQ(Frame(kButtonR), 1);
    ASSERT_EQ(Frame(0), 1);
    EXPECT_EQ(cameraX, bowler->Xlocation);
    const float x = bowler->Xlocation;
    ASSERT_EQ(Frame(kButtonR, 1.0f), 1);
    EXPECT_GT(bowler->Xlocation, x) << "the circle pad walks the snapped bowler";
    EXPECT_EQ(cameraX, bowler->Xlocation) << "and the camera stays on it";
}

TEST_F(TestModeInAGame, TheTestCharacterPlaysAsToldAndAFailedChangeLeavesNone)
{
    const int pool = FreeActors();
    ASSERT_EQ(ChangeTestModel(0, 0), 1);
    ASSERT_NE(testOptions.testActor, nullptr);
    EXPECT_EQ(FreeActors(), pool - 1);
    actor_tag* character = testOptions.testActor;
    EXPECT_GT(character->animInfo.animation, 0);

    // Paused, the animation stays on its frame whatever its ratio; running, it plays on.
    EnterTestMenu(ModelMenu, RootMenu);
    Step(ModelMenu, 3, kItemIncrease, 5);
    testOptions.animationRunning = 0;
    const float frame = character->animInfo.animationFrame;
    for (int i = 0; i < 5; ++i) ASSERT_EQ(RunActorHandlers() && Frame(0), 1);
    EXPECT_EQ(character->animInfo.animationFrame, frame);
    EXPECT_EQ(Label(ModelMenu, 2), "ANIMATION PAUSED");
    Step(ModelMenu, 2, kItemIncrease);
    for (int i = 0; i < 5; ++i) ASSERT_EQ(RunActorHandlers() && Frame(0), 1);
    EXPECT_NE(character->animInfo.animationFrame, frame);

    // An animation that claims no frames is refused, not looped on for ever; its frame line shows.
    void* handle = nullptr;
    ASSERT_EQ(GetResourceHandle(character->animInfo.animation, &handle), 1);
    animation_tag* anim = static_cast<animation_tag*>(handle);
    const int32_t frames = anim->numFrames;
    anim->numFrames = 0;
    EXPECT_EQ(Frame(0), 0);
    Step(ModelMenu, 4, kItemIncrease);
    EXPECT_EQ(Label(ModelMenu, 4), "ANIMATION FRAME: 0 / 1");
    anim->numFrames = frames;

    EXPECT_EQ(ChangeTestModel(0, 5), 0) << "one bowler in the game";
    EXPECT_EQ(testOptions.testActor, nullptr);
    EXPECT_EQ(FreeActors(), pool);
}

}  // namespace
