// The game's side of the HOME button: three small callbacks that the platform's HOME handling
// calls around the host's system menu.
#include "overlays/homebutton.h"

#include "overlays/nohomeicon.h"
#include "platform/renderengine.h"
#include "platform/utilities.h"
#include "platform/video.h"

int HomeButtonStartCB()
{
    if (HomeMenuDisabled()) {
        StartNoHomeIcon();
        return 0;
    }
    // A clip playing beside the game (a replay's celebration) is stopped before the menu opens.
    if (VideoPlaying()) {
        SetVideoKilled();
        DisposeVideo();
    }
    return 1;
}

int HomeButtonEndCB() { return ResetUpdateTicks(); }

int HomeButtonQuitGameCB()
{
    done = 1;
    return 1;
}
