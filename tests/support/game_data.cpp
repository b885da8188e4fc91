#include "support/game_data.h"

#include <string>

#include "game/records.h"
#include "host/host.h"
#include "lib/resources.h"
#include "lib/trig.h"
#include "platform/fileserver.h"
#include "platform/input.h"
#include "shell/globals.h"
#include "shell/physicsmemory.h"
#include "shell/settings.h"
#include "shell/startup.h"

int OpenBuildGameData(const char* form)
{
    gHostOptions.romDir = std::string(ZENDROLYX_BUILD_DIR) + "/" + form;
    done = 0;
    return FileSystemInit() && InitResources(10000) && OpenResources() ? 1 : 0;
}

void CloseBuildGameData()
{
    FreeResources();
    FileSystemDispose();
}

int PrepareWholeGame()
{
    done = quitGame = exitGame = 0;
    envOnly = 0;
    testOptions.testModeActive = 0;
    gTestModeRunning = 0;
    gGamePaused = 0;
    if (!OpenBuildGameData()) return 0;
    InstallPhysicsAllocator();
    if (!InitGameSettings()) return 0;
    InitOptions();
    ClearInputs();
    // Start-up makes the trig tables in the game's heap; a table left by another test's heap is
    // gone with it.
    sinTable = cosTable = nullptr;
    return InitTrigTables();
}
