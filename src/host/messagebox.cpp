// The system's message box over SDL, which draws it with the desktop's own means, without the
// game's renderer or data.
#include "host/messagebox.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/entry.h"
#include "host/errorlog.h"
#include "host/gpu.h"
#include "host/host.h"
#include "host/input.h"

static int stopToldByGame = 0;
static int stopLinePrinted = 0;
static std::string stopLine;

void HostSetStopToldByGame(int told) { stopToldByGame = told; }
int HostStopToldByGame() { return stopToldByGame; }

int HostBoxCanBeClosed() { return !gHostOptions.headless && (GpuWindowShown() || HostInputScriptHasOrdersToCome()); }

void HostSetStopLine(const std::string& line) { stopLine = HostEscapeLine(line.c_str()); }

std::string HostStartUpStop() { return stopLine.empty() ? "start-up stopped" : stopLine; }

void HostPrintStopLine(int gameEnd)
{
    if (stopLinePrinted || gHostOptions.verbose) return;
    stopLinePrinted = 1;
    const std::string line = stopLine.empty() && gameEnd == kGameFailed ? "the game stopped" : HostStartUpStop();
    std::fprintf(stderr, "zendrolyx: %s\n", line.c_str());
}

int HostShowSystemMessage(const char* text)
{
    // The drivers without a screen (the tests' offscreen runs) would still find the desktop's own
    // box and wait there for a player who is not looking.
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) return 0;
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Zendrolyx", text, nullptr) == 0 ? 1 : 0;
}
