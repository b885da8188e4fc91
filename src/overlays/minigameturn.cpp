// Helpers the mini-games' overlays share: who bowls, the new presses they answer, and the way on
// to the next throw.
#include "overlays/minigameturn.h"

#include "game/controls.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "overlays/overlaystack.h"
#include "overlays/shotsetup.h"
#include "platform/input.h"

int MiniGameIsComputer(int player) { return GetControllerAssignment(player) == kAssignmentComputer; }

int MiniGameAnyPerson()
{
    for (int p = 0; p < gNumPlayers && p < kMaxPlayers; ++p)
        if (!MiniGameIsComputer(p)) return 1;
    return 0;
}

int MiniGamePressed(unsigned button)
{
    const joystickState in = OverlayInput();
    return unsigned(in.edges & in.buttons) == button;
}

int MiniGameClearOverlays()
{
    for (int i = 0; i < kOverlayStackDepth && OverlayExists(); ++i)
        if (!OverlayExit()) break;
    return 1;
}

int MiniGameNextThrow()
{
    if (gGameOver || gCurrPlayer < 0 || gCurrPlayer >= kMaxPlayers || MiniGameIsComputer(gCurrPlayer)) return 1;
    return ShotStartFirstStep();
}
