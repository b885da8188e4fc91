// The pause menu: its entries by game type, the bumper switch before and after the release, the
// bumper plates when it closes, and the way back from the quit question.
#include "overlays/pausemenu.h"

#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>

#include "game/controls.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/records.h"
#include "lib/screenapi.h"
#include "overlays/overlaystack.h"
#include "overlays/questionoverlays.h"
#include "platform/input.h"
#include "shell/globals.h"
#include "shell/physicsmemory.h"
#include "shell/settings.h"
#include "shell/touchbuttons.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

class PauseMenu : public ::testing::Test {
protected:
    DS3_controller pad = {};
    DS3_controller* savedPad = nullptr;
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(48 << 20), 1);
        OverlayResetStack();
        ClearInputs();
        savedPad = controllers[0].controller;
        controllers[0].controller = &pad;
        gGameType = 0;
        gNumPlayers = 1;
        gCurrPlayer = 0;
        gGamePaused = gPauseMenuActive = 0;
        gOnlineSessionActive = 0;
        quitGame = 0;
        ResetPlayerInfo(&gPlayerInfo[0]);
        SetControlState(kControlPosition);
    }
    void TearDown() override
    {
        for (int i = 0; i < kOverlayStackDepth && OverlayExists(); ++i) OverlayExit();
        OverlayResetStack();
        if (physics) DisposePhysicsWorld();
        btAlignedAllocSetCustom(nullptr, nullptr);
        btAlignedAllocSetCustomAligned(nullptr, nullptr);
        controllers[0].controller = savedPad;
        ClearInputs();
        gGamePaused = gPauseMenuActive = 0;
        quitGame = 0;
        ForgetTransition();
        ReleaseDeviceHeap();
    }
    static void Frame(uint16_t held = 0, uint16_t edges = 0)
    {
        allInput.buttons = held;
        allInput.edges = edges;
        OverlayHandleInput();
        OverlayUpdate();
        OverlayDraw();
    }
    static void Open()
    {
        ASSERT_EQ(StartPauseMenuOverlay(), 1);
        // Three input calls are dropped; the fourth shows the buttons the stylus up.
        for (int i = 0; i < 4; ++i) Frame();
    }
    // A tap on entry i's button: down for one frame, then lifted.
    void Tap(int i)
    {
        TouchButton_tag* b = PauseMenuButton(i);
        ASSERT_NE(b, nullptr);
        pad.touchData = DS3_TouchData{b->x + b->w / 2, b->y + b->h / 2, 1};
        Frame();
        pad.touchData.isTouching = 0;
        Frame();
    }
};

TEST_F(PauseMenu, TheBumperEntryIsOnlyInTheStandardGame)
{
    Open();
    EXPECT_EQ(PauseMenuEntries(), 3);
    EXPECT_EQ(gGamePaused, 1);
    EXPECT_EQ(gPauseMenuActive, 1);
    EXPECT_NE(PauseMenuButton(2), nullptr);
    OverlayExit();
    EXPECT_EQ(gGamePaused, 0);
    EXPECT_EQ(PauseMenuButton(0), nullptr) << "the buttons go with the menu";

    gGameType = 11;
    Open();
    EXPECT_EQ(PauseMenuEntries(), 2);
    EXPECT_NE(PauseMenuButton(1), nullptr);
    EXPECT_EQ(PauseMenuButton(2), nullptr);
}

TEST_F(PauseMenu, TheBumpersToggleOnlyBeforeTheBallIsReleased)
{
    Open();
    Tap(1);
    EXPECT_EQ(gPlayerInfo[0].bumpers, 1);
    Tap(1);
    EXPECT_EQ(gPlayerInfo[0].bumpers, 0);
    gPlayerInfo[0].bumpers = 3;
    Tap(1);
    EXPECT_EQ(gPlayerInfo[0].bumpers, 0) << "any other value counts as on";
    SetControlState(kControlReleased);
    Tap(1);
    EXPECT_EQ(gPlayerInfo[0].bumpers, 0);
}

TEST_F(PauseMenu, ClosingTheMenuMovesTheBumperPlates)
{
    InstallPhysicsAllocator();
    ASSERT_EQ(CreatePhysicsWorld(), 1);
    ASSERT_EQ(physics->AddBumperCollision(), 1);
    auto plateY = [] { return physics->m_bumperLeftBody->getWorldTransform().getOrigin().y(); };
    physics->SetBumpersRaised(0);

    Open();
    Tap(1);  // bumpers on before the throw
    Tap(0);  // continue
    EXPECT_EQ(OverlayExists(), 0);
    EXPECT_FLOAT_EQ(plateY(), kBumperRaisedY);

    Open();
    Tap(1);  // off
    SetControlState(kControlReleased);
    Tap(0);
    EXPECT_FLOAT_EQ(plateY(), kBumperLoweredY) << "off lowers them whatever the state";

    gPlayerInfo[0].bumpers = 1;
    Open();
    Tap(0);
    EXPECT_FLOAT_EQ(plateY(), kBumperLoweredY) << "after the release nothing is raised";
}

TEST_F(PauseMenu, NoToTheQuitQuestionBringsTheMenuBackAndYesLeavesTheGame)
{
    Open();
    Tap(2);
    OVERLAYTAG top = {};
    OverlayGetHandlers(&top);
    ASSERT_EQ(top.drawHandler, YesNoDrawHandler);
    EXPECT_EQ(gGamePaused, 1) << "still paused under the question";
    for (int i = 0; i < 3; ++i) Frame();
    Frame(kButtonB, kButtonB);
    OverlayGetHandlers(&top);
    EXPECT_EQ(top.drawHandler, PauseMenuDrawHandler);
    EXPECT_EQ(OverlayStackSize(), 1);
    for (int i = 0; i < 4; ++i) Frame();
    EXPECT_EQ(PauseMenuEntries(), 3);

    Tap(2);
    for (int i = 0; i < 3; ++i) Frame();
    Frame(kButtonA, kButtonA);
    EXPECT_EQ(OverlayExists(), 0);
    EXPECT_EQ(GameReturnPending(), 1);
    EXPECT_EQ(gGamePaused, 0);
}

}  // namespace
