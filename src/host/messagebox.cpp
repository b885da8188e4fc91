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

void HostSetStopToldByGame(int told) { stopToldByGame = told; }
int HostStopToldByGame() { return stopToldByGame; }

int HostBoxCanBeClosed() { return !gHostOptions.headless && (GpuWindowShown() || HostInputScriptHasOrdersToCome()); }

std::string HostStartUpStop()
{
    std::string log = HostErrorLog();
    size_t at = log.rfind("start-up stopped: ");
    if (at == std::string::npos) return "start-up stopped";
    size_t end = log.find('\n', at);
    return log.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

// The last message reported: the step that failed.
static std::string LastProblem()
{
    std::string log = HostErrorLog();
    while (!log.empty() && log.back() == '\n') log.pop_back();
    if (log.empty()) return "a step failed";
    return log.substr(log.rfind('\n') + 1);
}

void HostPrintStopLine(int gameEnd)
{
    if (stopLinePrinted || gHostOptions.verbose) return;
    stopLinePrinted = 1;
    if (gameEnd == kGameFailed)
        std::fprintf(stderr, "zendrolyx: the game stopped: %s\n", LastProblem().c_str());
    else
        std::fprintf(stderr, "zendrolyx: %s\n", HostStartUpStop().c_str());
}

int HostShowSystemMessage(const char* text)
{
    // The drivers without a screen (the tests' offscreen runs) would still find the desktop's own
    // box and wait there for a player who is not looking.
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) return 0;
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Zendrolyx", text, nullptr) == 0 ? 1 : 0;
}
