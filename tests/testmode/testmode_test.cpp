// The test-mode controller, its menus and its overlay without a game: navigation and key repeat,
// going back, the free camera's dead zone, and the lines' values, clamps, wraps and labels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "game/actors.h"
#include "game/areas.h"
#include "game/gameloop.h"
#include "game/particledefs.h"
#include "game/records.h"
#include "overlays/overlaystack.h"
#include "platform/camera.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "platform/render.h"
#include "shell/settings.h"
#include "testmode/testmenus.h"
#include "testmode/testmode.h"
#include "testmode/testoverlay.h"

namespace {

// Lines that count the actions they get.
int counts[4];
int CountingLine(int action, char*)
{
    ++counts[action];
    return 1;
}
TestItem CountingMenu[] = {{CountingLine}, {CountingLine}, {CountingLine}, {nullptr}};

class TestModeMenus : public ::testing::Test {
protected:
    uint16_t held = 0;
    void SetUp() override
    {
        ASSERT_EQ(InitTestMode(), 1);
        ResetLightSetMenus();  // the menus keep their values from one opening to the next
        std::memset(counts, 0, sizeof counts);
        cameraX = cameraY = cameraZ = cameraZangle = 0.0f;
        cameraXangle = 90.0f;
        cameraSpeed = cameraRotationRate = cameraPitchRate = cameraVerticalSpeed = 1.0f;
        cameraZoomRate = 1.0f;
        updateRatio = 1.0f;
        userCamera = 1;
        showScreenFrameRate = 0;
        testOptions.testActor = nullptr;
        ClearInputs();
    }
    void TearDown() override
    {
        DisposeTestMode();
        testOptions.particleSystemInfo = nullptr;
        testOptions.testModeActive = 0;
        ClearInputs();
    }
    int Frame(uint16_t buttons, float x = 0.0f, float y = 0.0f)
    {
        allInput.edges = uint16_t(held ^ buttons);
        allInput.buttons = buttons;
        allInput.x = x;
        allInput.y = y;
        held = buttons;
        return TestModeControls(4.0f);
    }
    static std::string Label(TestItem* menu, int line)
    {
        char text[kItemTextSize] = {};
        EXPECT_EQ(menu[line].fn(kItemLabel, text), 1);
        return text;
    }
    static void Step(TestItem* menu, int line, int action, int times = 1)
    {
        for (int i = 0; i < times; ++i) ASSERT_EQ(menu[line].fn(action, nullptr), 1);
    }
};

TEST_F(TestModeMenus, UpAndDownWrapAroundTheMenu)
{
    EXPECT_EQ(testOptions.curMenu, RootMenu);
    ASSERT_EQ(Frame(kButtonUp), 1);
    EXPECT_EQ(testOptions.curItemNum, TestMenuLength(RootMenu) - 1) << "from the first line to the last";
    Frame(0);
    Frame(kButtonDown);
    EXPECT_EQ(testOptions.curItemNum, 0) << "from the last line to the first";
    Frame(0);
    Frame(kButtonDown);
    EXPECT_EQ(testOptions.curItemNum, 1);
}

TEST_F(TestModeMenus, LeftAndRightRepeatAfterSixtyHeldFrames)
{
    EnterTestMenu(CountingMenu, RootMenu);
    Frame(kButtonLeft);
    EXPECT_EQ(counts[kItemDecrease], 1) << "the press";
    for (int f = 1; f <= 59; ++f) Frame(kButtonLeft);
    EXPECT_EQ(counts[kItemDecrease], 1) << "nothing while held up to 59 frames";
    Frame(kButtonLeft);
    EXPECT_EQ(counts[kItemDecrease], 2) << "the first repeat at frame 60";
    for (int f = 61; f <= 119; ++f) Frame(kButtonLeft);
    EXPECT_EQ(counts[kItemDecrease], 61) << "one a frame up to 119";
    Frame(kButtonLeft);
    EXPECT_EQ(counts[kItemDecrease], 63) << "two a frame from 120";

    // Another button pressed while RIGHT is held starts the count again.
    for (int f = 0; f < 70; ++f) Frame(kButtonRight);
    EXPECT_EQ(counts[kItemIncrease], 11);
    Frame(kButtonRight | kButtonB);
    for (int f = 0; f < 50; ++f) Frame(kButtonRight | kButtonB);
    EXPECT_EQ(counts[kItemIncrease], 11) << "the repeat waits 60 frames again";
    EXPECT_EQ(counts[kItemSelect], 0);
    Frame(kButtonA);
    EXPECT_EQ(counts[kItemSelect], 1);
}

TEST_F(TestModeMenus, XGoesBackAndSwitchesTheReadoutExceptFromARangeMenu)
{
    // Root -> particles -> movement -> initial velocity, each entered by its line.
    EnterTestMenu(ParticlesMenu, RootMenu);
    Step(ParticlesMenu, 3, kItemSelect);
    EXPECT_EQ(testOptions.curMenu, ParticleMovementMenu);
    EXPECT_EQ(testOptions.previousMenu, ParticlesMenu);
    Step(ParticleMovementMenu, 1, kItemSelect);
    EXPECT_EQ(testOptions.curMenu, ParticleInitVelocityMenu);

    Frame(kButtonX);
    EXPECT_EQ(testOptions.curMenu, ParticleMovementMenu);
    EXPECT_EQ(testOptions.previousMenu, ParticlesMenu);
    EXPECT_EQ(gDrawTestInfo, 1) << "the press ends with the way back";
    Frame(0);
    Frame(kButtonX);
    EXPECT_EQ(testOptions.curMenu, ParticlesMenu);
    EXPECT_EQ(gDrawTestInfo, 0);
    EXPECT_EQ(userCamera, 0);
    EXPECT_EQ(showScreenFrameRate, 1);
    Frame(kButtonX);
    EXPECT_EQ(testOptions.curMenu, RootMenu) << "held, X walks back a level a frame";
    Frame(0);
    Frame(kButtonX);
    EXPECT_EQ(testOptions.curMenu, RootMenu);
    EXPECT_EQ(gDrawTestInfo, 1) << "in the root X only switches the read-out";
}

TEST_F(TestModeMenus, TheFreeCameraIgnoresTheStickInsideItsDeadZone)
{
    Frame(0, 0.2f, -0.3f);
    EXPECT_EQ(cameraX, 0.0f);
    EXPECT_EQ(cameraY, 0.0f) << "no drift on small deflections";
    Frame(0, 0.8333f, 0.0f);
    EXPECT_NEAR(cameraX, 0.5f, 1e-4f) << "right by how far the stick is past the dead zone";
    Frame(0, 0.0f, 0.8333f);
    EXPECT_NEAR(cameraY, 0.5f, 1e-4f) << "forward with the pad pushed up";
    Frame(0, -0.4f, -0.8333f);
    EXPECT_NEAR(cameraX, 0.5f - 0.0667f, 1e-3f) << "a small left push moves left, never right";
    EXPECT_NEAR(cameraY, 0.0f, 1e-4f);

    Frame(kButtonY, 0.2f, 0.2f);
    EXPECT_EQ(cameraZangle, 0.0f);
    EXPECT_EQ(cameraXangle, 90.0f);
    Frame(kButtonY, 0.8333f, 0.8333f);
    EXPECT_NEAR(cameraZangle, 0.5f, 1e-4f);
    EXPECT_NEAR(cameraXangle, 90.5f, 1e-4f);
    Frame(kButtonB | kButtonY, 0.8333f, 0.0f);
    EXPECT_NEAR(cameraZangle, 0.55f, 1e-4f) << "B slows the turn to a tenth";
}

TEST_F(TestModeMenus, WithoutATestCharacterItsAnimationIsPaused)
{
    testOptions.animationRunning = 1;
    ASSERT_EQ(Frame(0), 1);
    EXPECT_EQ(testOptions.animationRunning, 0);
}

TEST_F(TestModeMenus, TuningLinesClampAndLabelTheirValues)
{
    testOptions.initialBallVel = 27.95f;
    Step(BallMenu, 0, kItemIncrease);
    EXPECT_FLOAT_EQ(testOptions.initialBallVel, 28.0f);
    EXPECT_EQ(Label(BallMenu, 0), "Initial Vel(ft/s): 28.0");
    testOptions.initialBallVel = 0.05f;
    Step(BallMenu, 0, kItemDecrease);
    EXPECT_FLOAT_EQ(testOptions.initialBallVel, 0.0f);

    gCurrPlayer = 0;
    gPlayerInfo[0].playerData.throwPower = 0;
    Step(BowlerMenu, 1, kItemDecrease);
    EXPECT_EQ(gPlayerInfo[0].playerData.throwPower, 0) << "a byte at 0 stays 0";
    gPlayerInfo[0].playerData.throwPower = 100;
    Step(BowlerMenu, 1, kItemIncrease);
    EXPECT_EQ(Label(BowlerMenu, 1), "Power: 100");

    gReflectionAlpha = 127;
    Step(VisualsMenu, 0, kItemIncrease, 3);
    EXPECT_EQ(gReflectionAlpha, 128);
    gReflectionAlpha = 0;
    Step(VisualsMenu, 0, kItemDecrease);
    EXPECT_EQ(gReflectionAlpha, 0);

    // The snap switch keeps its state for the run: each action flips it.
    const int snap = TestActorSnapEnabled();
    Step(RootMenu, 8, kItemIncrease);
    EXPECT_EQ(Label(RootMenu, 8), snap ? "Actor Snap: off" : "Actor Snap: on");
    Step(RootMenu, 8, kItemSelect);
    EXPECT_EQ(TestActorSnapEnabled(), snap);
}

TEST_F(TestModeMenus, TheModelLinesWithoutACharacterChangeNothing)
{
    testOptions.animationFrameRatio = 0.15f;
    Step(ModelMenu, 3, kItemDecrease);
    EXPECT_EQ(testOptions.animationFrameRatio, 0.0f) << "below 0.1 it stops";
    EXPECT_EQ(Label(ModelMenu, 1), "ANIMATION: NONE");
    testOptions.modelNum = 1;
    EXPECT_EQ(Label(ModelMenu, 0), "MODEL: FEMALE 1");
    testOptions.modelNum = 5;
    EXPECT_EQ(Label(ModelMenu, 0), "MODEL: 6") << "past the names, the number";
    Step(ModelMenu, 1, kItemIncrease);
    Step(ModelMenu, 4, kItemIncrease);
    EXPECT_EQ(Label(ModelMenu, 4), "ANIMATION FRAME: 0");

    // A character whose animations are none of them loaded: the search gives up after one pass.
    static actor_tag actor;
    actor = actor_tag{};
    actor.animInfo.animation = 1301;
    testOptions.testActor = &actor;
    Step(ModelMenu, 1, kItemIncrease);
    EXPECT_EQ(actor.animInfo.animation, 1301);
    testOptions.testActor = nullptr;
}

TEST_F(TestModeMenus, ParticleLinesStepClampWrapAndLabel)
{
    PARTICLESYSTEMINFOTAG& d = *testOptions.particleSystemInfo;
    d.numParticles = 500;
    Step(ParticlesMenu, 5, kItemIncrease);
    EXPECT_EQ(d.numParticles, 500);
    d.numParticles = 1;
    Step(ParticlesMenu, 5, kItemDecrease);
    EXPECT_EQ(Label(ParticlesMenu, 5), "NUM PARTICLES: 1");

    // Domain types: up 0 -> 1 -> 5 -> 0, down 0 -> 2 -> 1; each change clears the coordinates.
    const int up[3] = {kDomainSphere, kDomainRectangle, kDomainBox};
    for (int expected : up) {
        std::memset(d.genDomain, 0x5A, sizeof d.genDomain);
        Step(ParticlesMenu, 6, kItemIncrease);
        EXPECT_EQ(d.genDomainType, expected);
        for (uint8_t b : d.genDomain) ASSERT_EQ(b, 0);
    }
    Step(ParticlesMenu, 8, kItemDecrease);
    EXPECT_EQ(d.contDomainType, kDomainCylinder);
    EXPECT_EQ(Label(ParticlesMenu, 8), "CONTAINER DOMAIN TYPE: CYLINDER");
    Step(ParticlesMenu, 8, kItemDecrease);
    EXPECT_EQ(d.contDomainType, kDomainSphere);

    d.blendMode = 4;
    Step(ParticlesMenu, 10, kItemIncrease);
    EXPECT_EQ(d.blendMode, 0);
    d.startMinRotation = 359.0f;
    Step(ParticlePropertiesMenu, 14, kItemIncrease);
    EXPECT_EQ(d.startMinRotation, 0.0f);
    d.particleSize = 0.15f;
    Step(ParticlePropertiesMenu, 2, kItemDecrease);
    EXPECT_FLOAT_EQ(d.particleSize, 0.1f);
    EXPECT_EQ(Label(ParticlePropertiesMenu, 13), "ALPHA DEATH: FALSE");
    Step(ParticlePropertiesMenu, 13, kItemDecrease);
    EXPECT_EQ(Label(ParticlePropertiesMenu, 13), "ALPHA DEATH: TRUE");
}

TEST_F(TestModeMenus, MovementAndDomainLinesClampAndShowRoundedValues)
{
    PARTICLESYSTEMINFOTAG& d = *testOptions.particleSystemInfo;
    // A value stored a little short of its hundredth shows as that hundredth, on both sides of 0.
    d.initXVelMin = -0.0499f;
    EXPECT_EQ(Label(ParticleInitVelocityMenu, 0), "X VEL MIN: -0.05");
    d.initXVelMin = 0.0499f;
    EXPECT_EQ(Label(ParticleInitVelocityMenu, 0), "X VEL MIN: 0.05");
    d.initXVelMin = 149.995f;
    Step(ParticleInitVelocityMenu, 0, kItemIncrease);
    EXPECT_FLOAT_EQ(d.initXVelMin, 150.0f);
    d.updateZAccelMax = -14.995f;
    Step(ParticleUpdateAccelMenu, 5, kItemDecrease);
    EXPECT_FLOAT_EQ(d.updateZAccelMax, -15.0f);
    Step(ParticleUpdateAccelMenu, 6, kItemSelect);
    EXPECT_EQ(d.updateZAccelMax, 0.0f) << "reset";
    d.gravity = 0.0499f;
    EXPECT_EQ(Label(ParticleMovementMenu, 4), "GRAVITY: 0.05");

    testOptions.currentControlPoint = 9;
    EXPECT_EQ(Label(ParticleControlPointMenu, 0), "CONTROL POINT NUM: 10");
    Step(ParticleControlPointMenu, 0, kItemIncrease);
    EXPECT_EQ(Label(ParticleControlPointMenu, 0), "CONTROL POINT NUM: 1");

    testOptions.domainCoordsType = 1;
    DOMAINCYLINDERTAG c = {0, 0, 0, 0.05f, 1};
    std::memcpy(d.contDomain, &c, sizeof c);
    Step(CylinderDomainCoordsMenu, 3, kItemDecrease);
    std::memcpy(&c, d.contDomain, sizeof c);
    EXPECT_EQ(c.height, 0.0f);
    testOptions.domainCoordsType = 0;
    DOMAINBOXTAG b = {-98999.95f, 0, 0, 0, 0, 0};
    std::memcpy(d.genDomain, &b, sizeof b);
    Step(BoxDomainCoordsMenu, 0, kItemDecrease);
    std::memcpy(&b, d.genDomain, sizeof b);
    EXPECT_EQ(b.left, -99000.0f);
    EXPECT_EQ(Label(BoxDomainCoordsMenu, 0), "LEFT: -99000.0");
}

TEST_F(TestModeMenus, TheCreatedLightSetKeepsItsTargetsAndDirections)
{
    // Targets: raising the start carries the end; the end may go below the start.
    Step(CreateLightsetMenu, 0, kItemIncrease, 3);
    EXPECT_EQ(Label(CreateLightsetMenu, 1), "TARGET END: LAYER_4");
    Step(CreateLightsetMenu, 1, kItemDecrease, 2);
    EXPECT_EQ(Label(CreateLightsetMenu, 1), "TARGET END: LAYER_2");
    Step(CreateLightsetMenu, 0, kItemIncrease, 60);
    EXPECT_EQ(Label(CreateLightsetMenu, 0), "TARGET START: ACTORTYPE_15") << "at most 47, which has no name of its own";
    Step(CreateLightsetMenu, 0, kItemDecrease, 6);
    EXPECT_EQ(Label(CreateLightsetMenu, 0), "TARGET START: ACTORTYPE_AIMER");

    // Light 1's red byte wraps both ways.
    Step(CreateLightsetMenu, 4, kItemDecrease);
    EXPECT_EQ(Label(CreateLightsetMenu, 4), "LIGHT RED: 255");
    Step(CreateLightsetMenu, 4, kItemIncrease);
    EXPECT_EQ(Label(CreateLightsetMenu, 4), "LIGHT RED: 0");

    // A direction stays of unit length: X from 1 steps to 0.99 and back to 1; Y then tilts it.
    Step(CreateLightsetMenu, 7, kItemIncrease);
    EXPECT_EQ(Label(CreateLightsetMenu, 7), "LIGHT X: 1.00");
    Step(CreateLightsetMenu, 7, kItemDecrease);
    EXPECT_EQ(Label(CreateLightsetMenu, 7), "LIGHT X: 1.00");
    Step(CreateLightsetMenu, 8, kItemIncrease, 2);
    EXPECT_EQ(Label(CreateLightsetMenu, 8), "LIGHT Y: 0.01");
    EXPECT_EQ(Label(CreateLightsetMenu, 7), "LIGHT X: 0.99");

    // The ambient colour has no direction.
    Step(CreateLightsetMenu, 3, kItemDecrease);
    EXPECT_EQ(Label(CreateLightsetMenu, 3), "LIGHT: AMBIENT");
    EXPECT_EQ(Label(CreateLightsetMenu, 7), " ");
    EXPECT_EQ(Label(CreateLightsetMenu, 4), "AMBIENT RED: 0");
    Step(CreateLightsetMenu, 3, kItemIncrease);
    EXPECT_EQ(Label(CreateLightsetMenu, 3), "LIGHT: 1");
}

// The overlay pauses the game while it is up; START leaves it and gives the game back.
TEST(TestModeOverlay, StartLeavesTestModeAndUnpausesTheGame)
{
    OverlayResetStack();
    ClearInputs();
    gGamePaused = 0;
    ASSERT_EQ(StartTestmodeOverlay(), 1);
    ASSERT_EQ(OverlayUpdate(), 1);
    EXPECT_EQ(gTestModeRunning, 1);
    EXPECT_EQ(gGamePaused, 1);
    EXPECT_EQ(testOptions.testModeActive, 1);
    EXPECT_EQ(controllers[0].rightAnalogDeadzoneType, 1);

    // The button of bit value 1, let go twice, leaves the read-out switch as it was.
    allInput.edges = 0x1;
    allInput.buttons = 0;
    ASSERT_EQ(TestmodeInputHandler(), 1);
    EXPECT_EQ(gDrawTestInfo, -1);
    ASSERT_EQ(TestmodeInputHandler(), 1);
    EXPECT_EQ(gDrawTestInfo, 1);

    testOptions.numAnimationRSIDs = 3;
    allInput.edges = kButtonStart;
    ASSERT_EQ(TestmodeInputHandler(), 1);
    EXPECT_EQ(OverlayExists(), 0);
    EXPECT_EQ(gTestModeRunning, 0);
    EXPECT_EQ(gGamePaused, 0);
    EXPECT_EQ(testOptions.testModeActive, 0);
    EXPECT_EQ(testOptions.numAnimationRSIDs, 0) << "nothing loaded: only the counters are reset";
    EXPECT_EQ(controllers[0].rightAnalogDeadzoneType, 2);

    // The game's tear-down: the test character goes with the game's actors.
    static actor_tag character;
    testOptions.testActor = &character;
    DisposeTestMode();
    EXPECT_EQ(testOptions.testActor, nullptr);
    testOptions.particleSystemInfo = nullptr;
    ClearInputs();
    OverlayResetStack();
}

}  // namespace
