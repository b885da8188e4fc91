// The controller records, the game's own input (pause, skipping a computer's frame) and the camera
// that follows each control state arrive with the controls work; until then only the assignments
// and the control state are kept.
#include "game/controls.h"

#include "game/records.h"

int gameControllerAssignments[kMaxPlayers];
static int controlState = kControlPosition;

static int IsPlayer(int player) { return player >= 0 && player < kMaxPlayers; }

int SetControllerAssignment(int player, int value)
{
    if (!IsPlayer(player)) return 0;
    gameControllerAssignments[player] = value;
    return value;
}

int GetControllerAssignment(int player) { return IsPlayer(player) ? gameControllerAssignments[player] : 0; }

int SetControlState(int s)
{
    if (s != -1) controlState = s;
    return controlState;
}

int GetControlState() { return controlState; }

uint8_t SetControllerRumble(int, uint8_t) { return 0; }
