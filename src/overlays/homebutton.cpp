// The game's side of the HOME button: three small callbacks that the platform's HOME handling
// calls around the host's system menu.
#include "overlays/homebutton.h"

#include "overlays/nohomeicon.h"
#include "platform/renderengine.h"
#include "platform/utilities.h"

int HomeButtonStartCB()
{
    if (!HomeMenuDisabled()) return 1;
    StartNoHomeIcon();
    return 0;
}

int HomeButtonEndCB() { return ResetUpdateTicks(); }

int HomeButtonQuitGameCB()
{
    done = 1;
    return 1;
}
