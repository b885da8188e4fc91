#include <gtest/gtest.h>

#include <cstring>

#include "game/gameloop.h"
#include "game/records.h"
#include "lib/screenapi.h"
#include "shell/globals.h"
#include "shell/settings.h"

namespace {

TEST(GameSettings, EveryDefault)
{
    // Scribble over everything first, so that each default is seen to be written.
    std::memset(&displayOptions, 0x5A, sizeof displayOptions);
    displaySafeArea.show = 7;
    gNumPlayers = gGameType = gTabGroupId = 9;
    gOverlayControllerIndex = gScreenControllerIndex = defaultController = 9;
    gStaticCamera = gGameControls = sound = playIntroVideos = gOneButtonPowerMoves = 9;
    gGameLoaded = gSaveGame = gIKRigSuccess = gOnlineSessionActive = gTestModeRunning = gGamePaused = 9;
    gRestartOverlayActive = gPauseMenuActive = gFreeSpaceDialogDisplayed = gFreeSpaceChecked = 9;
    showScreenFrameRate = envOnly = noPresentationCancel = gTestMode = exitGame = 9;
    gCurrTime.year = 2026;
    for (int i = 0; i < kMaxControllers; ++i) gAssignedController[i] = gPlayerInfo[i].controllerSlot = 3;
    gHiDef = 0;

    EXPECT_EQ(InitGameSettings(), 1);

    EXPECT_EQ(displayOptions.windowX, 10);
    EXPECT_EQ(displayOptions.windowY, 10);
    EXPECT_EQ(displayOptions.fullScreen, 1);
    EXPECT_EQ(displayOptions.gameDisplayDepth, 32);
    EXPECT_EQ(displayOptions.lodSwitching, 1);
    EXPECT_EQ(displayOptions.adapterNum, 0);
    EXPECT_EQ(displayOptions.reflections, 1);
    EXPECT_EQ(displayOptions.shadows, 1);
    EXPECT_EQ(displayOptions.fogEnabled, 1);
    EXPECT_EQ(displayOptions.fogSelected, 0);
    EXPECT_EQ(displayOptions.weatherFlag, 1);
    EXPECT_EQ(displayOptions.brightness, 100);
    EXPECT_EQ(displayOptions.bilinearFilter, 1);
    EXPECT_EQ(displayOptions.sidelineDetail, 3);
    EXPECT_EQ(displayOptions.gameResolution, 0);
    EXPECT_EQ(displayOptions.playerDetail, 3);
    EXPECT_EQ(displayOptions.useWBuffer, 0x5A5A5A5A);  // fields without a default are not touched
    EXPECT_EQ(displayOptions.wideScreen, 0x5A5A5A5A);
    EXPECT_EQ(displaySafeArea.show, 0);

    EXPECT_EQ(gOneButtonPowerMoves, 1);
    EXPECT_EQ(gGameLoaded + gSaveGame + gIKRigSuccess + gOnlineSessionActive + gTestModeRunning + gGamePaused, 0);
    EXPECT_EQ(gRestartOverlayActive + gPauseMenuActive + gFreeSpaceDialogDisplayed + gFreeSpaceChecked, 0);
    EXPECT_EQ(gNumPlayers, 1);
    EXPECT_EQ(gOverlayControllerIndex, -1);
    EXPECT_EQ(gScreenControllerIndex, -1);
    EXPECT_EQ(gStaticCamera, 1);
    EXPECT_EQ(gGameControls, 1);
    EXPECT_EQ(gTabGroupId, 2);
    EXPECT_FLOAT_EQ(gHiDefScaleFactor, 1.0f);
    for (int i = 0; i < kMaxControllers; ++i) {
        EXPECT_FLOAT_EQ(gControllerDeadzoneValue[i][0], 0.333f);
        EXPECT_FLOAT_EQ(gControllerDeadzoneValue[i][1], 0.333f);
        EXPECT_EQ(gAssignedController[i], -1);
        EXPECT_EQ(gPlayerInfo[i].controllerSlot, -1);
    }
    EXPECT_EQ(gCurrTime.year, 0);
    EXPECT_EQ(showScreenFrameRate + envOnly + noPresentationCancel + gTestMode + gGameType + exitGame, 0);
    EXPECT_EQ(sound, 1);
    EXPECT_EQ(defaultController, -1);
    EXPECT_EQ(playIntroVideos, 1);
}

TEST(GameSettings, DisplayVariantOnlyChangesTheScaleFactor)
{
    for (int variant : {1, 2, 3}) {
        gHiDef = variant;
        InitGameSettings();
        EXPECT_EQ(gHiDef, variant);
        EXPECT_FLOAT_EQ(gHiDefScaleFactor, variant == 1 ? 1.5f : variant == 2 ? 2.25f : 1.0f);
    }
    gHiDef = 0;
}

}  // namespace
