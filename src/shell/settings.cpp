// The game's settings and switches with their defaults, set together by InitGameSettings.
#include "shell/settings.h"

#include "game/gameloop.h"
#include "game/records.h"
#include "lib/screenapi.h"
#include "shell/globals.h"

displayOptionsStruct displayOptions;
ClockData gCurrTime;

int gOneButtonPowerMoves = 0;
int gGameLoaded = 0;
int gSaveGame = 0;
int gIKRigSuccess = 0;
int gOnlineSessionActive = 0;
int gOverlayControllerIndex = -1;
int gStaticCamera = 0;
int gTestModeRunning = 0;
int gGameControls = 0;
int gGamePaused = 0;
int gRestartOverlayActive = 0;
int gPauseMenuActive = 0;
int gFreeSpaceDialogDisplayed = 0;
int gFreeSpaceChecked = 0;
int gTabGroupId = 0;
int gScreenControllerIndex = -1;
float gHiDefScaleFactor = 1.0f;
float gControllerDeadzoneValue[kMaxControllers][2];
int gAssignedController[kMaxControllers];
int sound = 0;
int envOnly = 0;
int noPresentationCancel = 0;
int gTestMode = 0;
int defaultController = -1;
int playIntroVideos = 0;
int exitGame = 0;

int InitGameSettings()
{
    gOneButtonPowerMoves = 1;
    gGameLoaded = 0;
    gSaveGame = 0;

    // Only these display fields have defaults; the others keep what they hold.
    displayOptions.windowY = 10;
    displayOptions.fullScreen = 1;
    displayOptions.windowX = 10;
    displayOptions.gameDisplayDepth = 32;
    displayOptions.lodSwitching = 1;
    displayOptions.adapterNum = 0;
    displayOptions.reflections = 1;
    displayOptions.shadows = 1;
    displayOptions.fogEnabled = 1;
    displayOptions.fogSelected = 0;
    displayOptions.weatherFlag = 1;
    displayOptions.brightness = 100;
    displayOptions.bilinearFilter = 1;
    displayOptions.sidelineDetail = 3;
    displayOptions.gameResolution = 0;
    displayOptions.playerDetail = 3;
    displaySafeArea.show = 0;

    gIKRigSuccess = 0;
    gOnlineSessionActive = 0;
    gNumPlayers = 1;
    gOverlayControllerIndex = -1;
    gStaticCamera = 1;
    gTestModeRunning = 0;
    gGameControls = 1;
    gGamePaused = 0;
    gRestartOverlayActive = 0;
    gPauseMenuActive = 0;
    gFreeSpaceDialogDisplayed = 0;
    gFreeSpaceChecked = 0;
    gTabGroupId = 2;
    gScreenControllerIndex = -1;

    // gHiDef is left as it is; only its scale factor follows from it.
    if (gHiDef == 1)
        gHiDefScaleFactor = 1.5f;
    else if (gHiDef == 2)
        gHiDefScaleFactor = 2.25f;
    else
        gHiDefScaleFactor = 1.0f;

    for (int i = 0; i < kMaxControllers; ++i) {
        gControllerDeadzoneValue[i][0] = 0.333f;
        gControllerDeadzoneValue[i][1] = 0.333f;
        gAssignedController[i] = -1;
        gPlayerInfo[i].controllerSlot = -1;
    }

    ReadClock(&gCurrTime);

    showScreenFrameRate = 0;
    sound = 1;
    envOnly = 0;
    noPresentationCancel = 0;
    gTestMode = 0;
    defaultController = -1;
    playIntroVideos = 1;
    gGameType = 0;
    exitGame = 0;
    return 1;
}
