// Controller assignment, the throw's control mode and the game's own input while no overlay is
// open.
#include "game/controls.h"

#include "game/areas.h"

#include "game/actors.h"
#include "game/camera.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "platform/input.h"
#include "shell/settings.h"
#include "shell/upperlayers.h"

CONTROLLERTAG gameControllers[kNumGameControllers];
CONTROLLERTAG* lastGameController = &gameControllers[kNumGameControllers - 1];
int gameControllerAssignments[kMaxPlayers];
int deviceInserted = 0;
int gActiveController = 0;
uint8_t verifyControllers = 0;
int sFlaggedSwingStart = 0, sFlaggedBadStartSwing = 0, sFlaggedBadRelease = 0;
GameControlCalls gameControlCalls;

static int controlState = kControlPosition;
static int controlMode = kControlModeButtons;

static const int kGameTypeSparesChallenge = 9;

static int IsPlayer(int player) { return player >= 0 && player < kMaxPlayers; }

int ButtonReleased(const joystickState* state, uint16_t bit)
{
    return state && uint16_t(state->edges & ~state->buttons) == bit;
}

void InitGameControllers()
{
    lastGameController = &gameControllers[kNumGameControllers - 1];
    for (CONTROLLERTAG& c : gameControllers) {
        c.joystick = nullptr;
        c.assignment = kControllerNoHardware;
        c.offenseMajor = c.offenseMinor = c.offenseRow = 0;
        c.defenseMajor = c.defenseMinor = c.defenseRow = 0;
        c.pressed = c.released = c.buttons = 0;
        c.magnitude = c.lastMagnitude = 0.0f;
        c.direction = c.lastDirection = 0.0f;
    }
    if (defaultController >= 0 && defaultController < kNumGameControllers)
        gameControllers[defaultController].assignment = kControllerDefault;
    deviceInserted = 0;
    verifyControllers = 0;
}

void ResetGameControllers()
{
    for (CONTROLLERTAG* c = gameControllers; c <= lastGameController; ++c) {
        c->player = nullptr;
        c->pressed = c->released = c->buttons = 0;
        c->magnitude = c->lastMagnitude = 0.0f;
        c->direction = c->lastDirection = 0.0f;
        if (c->joystick) c->joystick->flags |= kControllerFlagReset;
    }
    if (!actorPool) return;
    for (int i = 0; i < maxActors; ++i) {
        actorPool[i].controller = nullptr;
        actorPool[i].controlContext = nullptr;
        actorPool[i].userControl = 0;
    }
}

int GetHardwareAssignments()
{
    for (int i = 0; i < 4; ++i)
        gameControllers[i].joystick =
            gameControllers[i].assignment == kControllerNoHardware ? nullptr : &controllers[i];
    return 1;
}

int SetControllerAssignment(int player, int value)
{
    if (!IsPlayer(player)) return 0;
    gameControllerAssignments[player] = value;
    return value;
}

int GetControllerAssignment(int player) { return IsPlayer(player) ? gameControllerAssignments[player] : 0; }

int GetGameControllerAssignmentSlot(int i)
{
    if (i < 0 || i >= kNumGameControllers) return 0;
    const CONTROLLERTAG& c = gameControllers[i];
    if (c.assignment == kControllerNoHardware) return 0;
    for (int slot = 0; slot < kNumControllerStates; ++slot)
        if (c.joystick == &controllers[slot]) return slot;
    return 0;
}

int GetFirstController()
{
    for (int slot = 0; slot < kNumControllerStates; ++slot)
        if (ControllerConnected(slot)) return slot;
    return -1;
}

int SetControlState(int s)
{
    if (s != -1) controlState = s;
    if (s >= kControlPosition && s <= kControlPower) sFlaggedSwingStart = sFlaggedBadStartSwing = sFlaggedBadRelease = 0;
    SetStateCameraPosition(s);
    return controlState;
}

int GetControlState() { return controlState; }

int SetControlMode(int m)
{
    controlMode = m;
    return controlMode;
}

int GetControlMode() { return controlMode; }

void SuspendAllUserControls(int v)
{
    for (int p = 0; p < gNumPlayers && p < kMaxPlayers; ++p) gPlayerInfo[p].suspendControls = v;
}

uint8_t SetControllerRumble(int, uint8_t)
{
    if (!gGameOptions.vibration || !IsPlayer(gCurrPlayer)) return 0;
    int slot = gPlayerInfo[gCurrPlayer].controllerSlot;
    if (slot < 0 || slot >= kNumGameControllers) return 0;
    return gameControllers[slot].assignment;
}

// The controller state of a player's controller slot; the merged input when the slot is -1 or
// outside the controller states.
static const joystickState* SlotInput(int slot)
{
    return slot >= 0 && slot < kNumControllerStates ? &controllers[slot] : &allInput;
}

int ExitButtonReleased() { return ButtonReleased(SlotInput(gPlayerInfo[0].controllerSlot), kButtonB); }

static int Query(int (*call)()) { return call ? call() : 0; }

// START let go: the controller that let it go drives the pause menu. Only one menu opens however
// many controllers let START go in the same frame.
static void OpenPauseMenu(const joystickState* input, int inputSlot)
{
    int owner = -1;
    for (int i = 0; i < kNumGameControllers && &gameControllers[i] <= lastGameController; ++i) {
        const CONTROLLERTAG& c = gameControllers[i];
        if (c.assignment != kControllerNoHardware && c.joystick && ButtonReleased(c.joystick, kButtonStart)) {
            owner = i;
            break;
        }
    }
    // With no assigned controller claiming it, the frame's own input still pauses the game.
    if (owner < 0) {
        if (!ButtonReleased(input, kButtonStart)) return;
        owner = inputSlot >= 0 ? inputSlot : 0;
    }
    upperLayers.SetOverlayControllerNum(owner);
    upperLayers.StartPauseMenuOverlay();
}

static int AnyControllerLetGoOfStart(const joystickState* input)
{
    if (ButtonReleased(input, kButtonStart)) return 1;
    for (const CONTROLLERTAG* c = gameControllers; c <= lastGameController; ++c)
        if (c->assignment != kControllerNoHardware && ButtonReleased(c->joystick, kButtonStart)) return 1;
    return 0;
}

int GameControls()
{
    if (gChangeStageTransition || gGamePaused) return 1;
    if (!IsPlayer(gCurrPlayer)) return 1;

    const TITLE_PlayerInfoStruct& player = gPlayerInfo[gCurrPlayer];
    const int computer = gameControllerAssignments[gCurrPlayer] == kAssignmentComputer;
    const int slot = !computer && player.controllerSlot != -1 ? player.controllerSlot : -1;
    const joystickState* input = SlotInput(slot);

    if (computer && gameControlCalls.updateAIBowler) gameControlCalls.updateAIBowler();

    if (AnyControllerLetGoOfStart(input)) {
        if (!(gOnlineSessionActive && controlState >= kControlThrowing)) OpenPauseMenu(input, slot);
        return 1;
    }
    if (ButtonReleased(input, kButtonA) && gGameType != kGameTypeSparesChallenge && computer &&
        !Query(gameControlCalls.skipUnderway) && player.currFrameBallIndex == 0 && controlState < kControlReleased) {
        if (gameControlCalls.skipAIBowler) gameControlCalls.skipAIBowler();
    }
    return 1;
}
