// The game's settings and switches, and InitGameSettings, which gives every one its default.
#pragma once

#include "platform/render.h"  // showScreenFrameRate, the renderer's, which InitGameSettings clears
#include "platform/utilities.h"

struct displayOptionsStruct {
    int32_t brightness;
    int32_t bilinearFilter;
    int32_t gameResolution;
    int32_t playerDetail;
    int32_t sidelineDetail;
    int32_t adapterNum;
    int32_t gameDisplayDepth;
    int32_t fogEnabled;
    int32_t shadows;
    int32_t reflections;
    int32_t weatherFlag;
    int32_t lodSwitching;
    int32_t useWBuffer;
    int32_t fogSelected;
    int32_t fullScreen;
    int32_t windowX;
    int32_t windowY;
    int32_t cursorNameFont;
    int32_t wideScreen;
    int32_t progressiveScan;
};

constexpr int kMaxControllers = 8;

extern displayOptionsStruct displayOptions;
extern ClockData gCurrTime;

extern int gOneButtonPowerMoves;
extern int gGameLoaded;
extern int gSaveGame;
extern int gIKRigSuccess;
extern int gOnlineSessionActive;
extern int gOverlayControllerIndex;
extern int gStaticCamera;
extern int gTestModeRunning;
extern int gGameControls;  // 1 while the game's own controls run, 0 while a UI screen runs
extern int gGamePaused;
extern int gRestartOverlayActive;
extern int gPauseMenuActive;
extern int gFreeSpaceDialogDisplayed;
extern int gFreeSpaceChecked;
extern int gTabGroupId;
extern int gScreenControllerIndex;
extern float gHiDefScaleFactor;
extern float gControllerDeadzoneValue[kMaxControllers][2];
extern int gAssignedController[kMaxControllers];
extern int sound;
extern int envOnly;
extern int noPresentationCancel;
extern int gTestMode;
extern int defaultController;
extern int playIntroVideos;
extern int exitGame;

// Sets every default; always 1.
int InitGameSettings();
