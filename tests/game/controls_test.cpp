#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/controls.h"
#include "game/areas.h"
#include "game/camera.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "host/host.h"
#include "host/input.h"
#include "overlays/overlaystack.h"
#include "platform/input.h"
#include "shell/settings.h"

namespace {

// What the game's controls asked of their neighbours.
std::vector<std::string> calls;
int skipping = 0;

int RecordUpdateAI() { return calls.push_back("UpdateAIBowler"), 1; }
int RecordSkipAI()
{
    skipping = 1;
    return calls.push_back("SkipAIBowler"), 1;
}
int Skipping() { return skipping; }

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        calls.clear();
        skipping = gChangeStageTransition = 0;
        gameControlCalls = GameControlCalls{&Skipping, &RecordUpdateAI, &RecordSkipAI};
        OverlayResetStack();
        gOverlayControllerIndex = -1;
        savedDefault = defaultController;
        defaultController = 0;
        InitGameControllers();
        GetHardwareAssignments();
        ClearInputs();
        gNumPlayers = 2;
        gCurrPlayer = 0;
        gGameType = 0;
        gGamePaused = 0;
        gOnlineSessionActive = 0;
        for (int p = 0; p < kMaxPlayers; ++p) {
            SetControllerAssignment(p, 0);
            gPlayerInfo[p].controllerSlot = 0;
            gPlayerInfo[p].currFrameBallIndex = 0;
            gPlayerInfo[p].suspendControls = 0;
        }
        SetControlState(kControlPosition);
        calls.clear();
    }
    void TearDown() override
    {
        OverlayResetStack();
        gOverlayControllerIndex = -1;
        gameControlCalls = GameControlCalls{};
        defaultController = savedDefault;
        InitGameControllers();
        ClearInputs();
        SetControlState(kControlPosition);
    }
    // A button let go on a controller state since its previous read.
    static void LetGo(joystickState* s, uint16_t bit)
    {
        s->buttons = 0;
        s->edges = bit;
    }
    // The pause menus opened so far and the controller that owns their input, as one text.
    static std::string PauseMenus()
    {
        return std::to_string(OverlayStackSize()) + " menu(s), owner " + std::to_string(gOverlayControllerIndex);
    }
    int savedDefault = -1;
};

class ControlsAssignment : public ControlsTest {};
class ControlsGame : public ControlsTest {};
class ControlsScripted : public ControlsTest {};

}  // namespace

TEST_F(ControlsAssignment, GameControllersAndTheirSlots)
{
    EXPECT_EQ(lastGameController, &gameControllers[kNumGameControllers - 1]);
    EXPECT_EQ(gameControllers[0].assignment, kControllerDefault);
    EXPECT_EQ(gameControllers[1].assignment, kControllerNoHardware);
    EXPECT_EQ(gameControllers[0].joystick, &controllers[0]);
    EXPECT_EQ(gameControllers[1].joystick, nullptr);

    gameControllers[2].assignment = kControllerDefault;
    GetHardwareAssignments();
    EXPECT_EQ(GetGameControllerAssignmentSlot(2), 2);
    EXPECT_EQ(GetGameControllerAssignmentSlot(1), 0);  // no hardware: a computer's is 0
    gameControllers[3].assignment = kControllerDefault;
    gameControllers[3].joystick = nullptr;
    EXPECT_EQ(GetGameControllerAssignmentSlot(3), 0);
    EXPECT_EQ(GetGameControllerAssignmentSlot(-1), 0);
    EXPECT_EQ(GetGameControllerAssignmentSlot(8), 0);

    defaultController = -1;
    InitGameControllers();
    for (const CONTROLLERTAG& c : gameControllers) EXPECT_EQ(c.assignment, kControllerNoHardware);
}

TEST_F(ControlsAssignment, PlayerAssignmentsStayInsideThePlayers)
{
    EXPECT_EQ(SetControllerAssignment(3, kAssignmentComputer), kAssignmentComputer);
    EXPECT_EQ(GetControllerAssignment(3), kAssignmentComputer);
    EXPECT_EQ(SetControllerAssignment(8, kAssignmentComputer), 0);
    EXPECT_EQ(SetControllerAssignment(-1, kAssignmentComputer), 0);
    EXPECT_EQ(GetControllerAssignment(8), 0);
}

TEST_F(ControlsAssignment, FirstControllerIsTheFirstWithADevice)
{
    DS3_controller* saved = controllers[0].controller;
    controllers[0].controller = nullptr;
    EXPECT_EQ(GetFirstController(), -1);
    DS3_controller device{};
    controllers[0].controller = &device;
    EXPECT_EQ(GetFirstController(), 0);
    controllers[0].controller = saved;
}

TEST_F(ControlsAssignment, ControlStateClearsTheSwingFlagsOnANewSetUp)
{
    for (int s : {kControlPosition, kControlAngle, kControlPower}) {
        sFlaggedSwingStart = sFlaggedBadStartSwing = sFlaggedBadRelease = 1;
        EXPECT_EQ(SetControlState(s), s);
        EXPECT_EQ(sFlaggedSwingStart + sFlaggedBadStartSwing + sFlaggedBadRelease, 0);
    }
    sFlaggedBadRelease = 1;
    EXPECT_EQ(SetControlState(kControlReleased), kControlReleased);
    EXPECT_EQ(sFlaggedBadRelease, 1);  // the throw keeps its flags
    EXPECT_EQ(SetControlState(-1), kControlReleased);
    EXPECT_EQ(GetControlState(), kControlReleased);
    // The state camera follows: the approach takes the set-up view.
    gameCameras[1].cameraY = -400.0f;
    gameCameras[0].cameraY = 0.0f;
    SetControlState(kControlPower);
    EXPECT_EQ(gameCameras[0].cameraY, -400.0f);
    EXPECT_EQ(SetControlMode(kControlModeTouch), kControlModeTouch);
    EXPECT_EQ(GetControlMode(), kControlModeTouch);
    SetControlMode(kControlModeButtons);
}

TEST_F(ControlsAssignment, ResetMarksTheControllerStatesAndSuspendCoversThePlayers)
{
    controllers[0].flags = 0x1;
    gameControllers[0].buttons = 0x4;
    ResetGameControllers();
    EXPECT_EQ(controllers[0].flags, 0x3u);
    EXPECT_EQ(gameControllers[0].buttons, 0);
    EXPECT_EQ(gameControllers[0].player, nullptr);
    controllers[0].flags = 0;

    SuspendAllUserControls(1);
    EXPECT_EQ(gPlayerInfo[0].suspendControls, 1);
    EXPECT_EQ(gPlayerInfo[1].suspendControls, 1);
    EXPECT_EQ(gPlayerInfo[2].suspendControls, 0);  // only the game's players
    SuspendAllUserControls(0);
}

TEST_F(ControlsAssignment, RumbleAnswersOnlyWithVibrationOn)
{
    uint8_t savedVibration = gGameOptions.vibration;
    gGameOptions.vibration = 0;
    EXPECT_EQ(SetControllerRumble(0, 200), 0);
    gGameOptions.vibration = 1;
    EXPECT_EQ(SetControllerRumble(0, 200), kControllerDefault);
    gPlayerInfo[0].controllerSlot = -1;
    EXPECT_EQ(SetControllerRumble(0, 200), 0);
    gGameOptions.vibration = savedVibration;
}

TEST_F(ControlsAssignment, ExitButtonIsBLetGoAlone)
{
    LetGo(&controllers[0], kButtonB);
    EXPECT_EQ(ExitButtonReleased(), 1);
    controllers[0].buttons = kButtonB;  // pressed, not let go
    EXPECT_EQ(ExitButtonReleased(), 0);
    LetGo(&controllers[0], kButtonB | kButtonA);  // not alone
    EXPECT_EQ(ExitButtonReleased(), 0);
    gPlayerInfo[0].controllerSlot = -1;  // no slot: the merged input
    LetGo(&allInput, kButtonB);
    EXPECT_EQ(ExitButtonReleased(), 1);
}

TEST_F(ControlsGame, StartOnASecondControllerPausesWithThatController)
{
    gameControllers[1].assignment = kControllerDefault;
    GetHardwareAssignments();
    gCurrPlayer = 1;
    gPlayerInfo[1].controllerSlot = 0;
    LetGo(&controllers[1], kButtonStart);
    EXPECT_EQ(GameControls(), 1);
    EXPECT_EQ(PauseMenus(), "1 menu(s), owner 1");
}

TEST_F(ControlsGame, OnePauseMenuHoweverManyControllersLetGoOfStart)
{
    gameControllers[1].assignment = kControllerDefault;
    GetHardwareAssignments();
    LetGo(&controllers[0], kButtonStart);
    LetGo(&controllers[1], kButtonStart);
    GameControls();
    EXPECT_EQ(PauseMenus(), "1 menu(s), owner 0");
}

TEST_F(ControlsGame, StartOnTheMergedInputPausesWithoutAssignedControllers)
{
    defaultController = -1;
    InitGameControllers();
    GetHardwareAssignments();
    gPlayerInfo[0].controllerSlot = -1;
    LetGo(&allInput, kButtonStart);
    GameControls();
    EXPECT_EQ(PauseMenus(), "1 menu(s), owner 0");
}

TEST_F(ControlsGame, NoPauseWhilePausedChangingAlleyOrThrowingOnline)
{
    LetGo(&controllers[0], kButtonStart);
    gGamePaused = 1;
    GameControls();
    gGamePaused = 0;
    gChangeStageTransition = 1;
    GameControls();
    gChangeStageTransition = 0;
    gOnlineSessionActive = 1;
    SetControlState(kControlThrowing);
    GameControls();
    EXPECT_EQ(OverlayStackSize(), 0);
    SetControlState(kControlPower);  // online, but still setting up
    GameControls();
    EXPECT_EQ(PauseMenus(), "1 menu(s), owner 0");
}

TEST_F(ControlsGame, AComputerBowlerIsDrivenAndItsFirstBallSkippedOnce)
{
    SetControllerAssignment(0, kAssignmentComputer);
    GameControls();  // nothing let go: the computer just bowls
    EXPECT_EQ(calls, (std::vector<std::string>{"UpdateAIBowler"}));

    calls.clear();
    LetGo(&allInput, kButtonA);  // a computer's input is the merged one
    GameControls();
    GameControls();  // the skip is under way: no second one
    EXPECT_EQ(calls, (std::vector<std::string>{"UpdateAIBowler", "SkipAIBowler", "UpdateAIBowler"}));
}

TEST_F(ControlsGame, NoSkipOnASecondBallAReleasedBallASparesChallengeOrAPerson)
{
    LetGo(&allInput, kButtonA);
    LetGo(&controllers[0], kButtonA);
    SetControllerAssignment(0, kAssignmentComputer);
    gPlayerInfo[0].currFrameBallIndex = 1;
    GameControls();
    gPlayerInfo[0].currFrameBallIndex = 0;
    SetControlState(kControlReleased);
    GameControls();
    SetControlState(kControlThrowing);  // before the release, but in the spares challenge
    gGameType = 9;
    GameControls();
    gGameType = 0;
    SetControllerAssignment(0, 0);
    GameControls();
    for (const std::string& c : calls) EXPECT_NE(c, "SkipAIBowler");
    SetControllerAssignment(0, kAssignmentComputer);
    calls.clear();
    GameControls();
    EXPECT_EQ(calls.back(), "SkipAIBowler");
}

// A script read frame by frame drives the game's controls as a player would.
TEST_F(ControlsScripted, ScriptedButtonsPauseAndSkipWhenLetGo)
{
    HostOptions saved = gHostOptions;
    gHostOptions.headless = 1;
    gHostOptions.inputScript.clear();
    gHostOptions.frameLimit = -1;
    HostInputShutdown();
    HostResetFrames();
    ASSERT_EQ(InitJoysticks(), 1);
    std::string error;
    ASSERT_EQ(HostInputParseScript("1 START\n"  // pressed and held: nothing yet
                                   "3\n"        // let go: the pause menu
                                   "5 A\n"
                                   "6 A B\n"  // two buttons: letting both go at once is no skip
                                   "7\n"
                                   "9 A stick 0.5 0 touch 10 20\n"
                                   "10\n",  // A alone let go: the computer's frame is skipped
                                   "game.txt", &error),
              1)
        << error;
    SetControllerAssignment(1, kAssignmentComputer);

    std::vector<std::string> byFrame;
    for (int frame = 0; frame <= 10; ++frame) {
        if (frame == 4) gCurrPlayer = 1;  // the computer's turn
        calls.clear();
        ASSERT_EQ(ReadControls(nullptr), 1);
        if (frame == 9) {
            EXPECT_FLOAT_EQ(allInput.x, 0.5f);
            EXPECT_EQ(controllers[0].controller->touchData.isTouching, 1);
            EXPECT_EQ(controllers[0].controller->touchData.y, 20);
        }
        const int menus = OverlayStackSize();
        GameControls();
        if (OverlayStackSize() > menus) byFrame.push_back(std::to_string(frame) + " pause, owner " + std::to_string(gOverlayControllerIndex));
        for (const std::string& c : calls)
            if (c != "UpdateAIBowler") byFrame.push_back(std::to_string(frame) + " " + c);
        HostFramePresented();
    }
    EXPECT_EQ(byFrame, (std::vector<std::string>{"3 pause, owner 0", "10 SkipAIBowler"}));

    HostInputShutdown();
    HostResetFrames();
    gHostOptions = saved;
}
