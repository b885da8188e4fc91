#include "support/game_data.h"

#include <btBulletDynamicsCommon.h>

#include <string>

#include "game/areas.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "overlays/overlaystack.h"
#include "platform/render.h"
#include "screens/frontend.h"
#include "screens/quicklaunch.h"

#include "game/records.h"
#include "game/transitions.h"
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

int StartQuickGame(int players, int humans, int alley)
{
    gHostOptions.launch = "quick";
    gHostOptions.players = players;
    gHostOptions.humans = humans;
    gHostOptions.buttonControls = 1;
    if (!LaunchFromOptions()) return 0;
    areaNum = alley;
    return GameLoopSetup();
}

void EndWholeGame()
{
    while (OverlayExists() && OverlayExit()) {
    }
    OverlayResetStack();
    // A question or menu left open paused the game; the next test's lane must run.
    gGamePaused = 0;
    gPauseMenuActive = 0;
    DisposePhysicsWorld();
    DisposeArea();
    DisposeGame();
    LoadingScreenClose();
    RenderDispose();
    CloseBuildGameData();
    sinTable = cosTable = nullptr;
    btAlignedAllocSetCustom(nullptr, nullptr);
    btAlignedAllocSetCustomAligned(nullptr, nullptr);
    ClearInputs();
    ForgetTransition();
}

void ForgetTransition()
{
    // Run to its end undrawn, so that its fade and hold start from nothing next time.
    SetTransitionCallbacks(nullptr, nullptr, nullptr);
    SetTransitionType(0);
    for (int i = 0; i < 1000 && IsTransitionActive(); ++i) {
        UpdateTransition();
        DrawTransition();
    }
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
