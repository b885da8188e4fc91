// The system's message box over SDL, which draws it with the desktop's own means, without the
// game's renderer or data.
#include "host/messagebox.h"

#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>

static int stopToldByGame = 0;

void HostSetStopToldByGame(int told) { stopToldByGame = told; }
int HostStopToldByGame() { return stopToldByGame; }

int HostShowSystemMessage(const char* text)
{
    // The drivers without a screen (the tests' offscreen runs) would still find the desktop's own
    // box and wait there for a player who is not looking.
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) return 0;
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Zendrolyx", text, nullptr) == 0 ? 1 : 0;
}
