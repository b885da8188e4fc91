// What the shell and the game call in the layers above them. By the game's design the game loop
// starts and asks about overlays, shows the front end's loading screen and fills in its results,
// and ends the test mode; the shell's start-up and screen loop run the front end and the overlay
// images. Those modules stand higher (overlays, screens, testmode), so this layer reaches them
// through this record of functions, filled in at start-up by RegisterGameModules, never through an
// include. The names are the functions' own.
#pragma once

#include <cstdio>

struct UpperLayerHooks {
    // the overlay stack and the overlays the game opens (overlays/)
    int overlayStackDepth;
    int (*OverlayExists)();
    int (*OverlayExit)();
    int (*OverlayHandleInput)();
    void (*OverlayResetStack)();
    int (*OverlayUpdate)();
    int (*StartDSScoreOverlay)();
    int (*DSScoreOverlayActive)();
    int (*ShowScoreOverlayAfterBall)();
    int (*DSStandardStartTurnOverlayActive)();
    int (*StartPauseMenuOverlay)();
    int (*StartDSSparesStartTurnOverlay)();
    int (*StartDSSparesScoreOverlay)();
    int (*StartBingoCardOverlay)(int player, int winner);
    int (*StartPokerOverlay)();
    int (*StartDSPinSelectOverlay)();
    int (*SetOverlayControllerNum)(int n);
    int (*SetHUDDisplay)(int n);
    int (*DrawGameOverlays)();
    int (*DrawOverlayBackground)(int left, int top, int width, int height);
    int (*GetFontRSID)(int id);
    int (*InitOverlayBitmaps)();
    int (*DisposeOverlayBitmaps)();
    // the front end (screens/)
    int (*MainMenuScreenInit)();
    int (*SelectTitleScreen)();
    int (*SelectMainMenuScreen)();
    int (*ExitScreens)(int unused);
    int (*RestoreGUI)();
    // at the end of the program: the save database's last changes written (screens/saveflow.h)
    int (*SaveBeforeClosing)();
    int (*LoadingScreenInit)();
    int (*LoadingScreenClose)();
    void (*ZeroPlayerResults)();
    void (*SetPlayersResults)();
    void (*SetPlayerResults)(int player, int slot, int value);
    int (*LaunchPending)();
    int (*LaunchFromOptions)();
    int (*PrintScoreSheets)(FILE* to);
    // the developer's test mode (testmode/)
    int (*DisposeTestMode)();
    int (*StartTestmodeOverlay)();
};

// Empty until RegisterGameModules has run.
extern UpperLayerHooks upperLayers;

// Fills in every function that a lower layer calls upward: this record, the screen API's frame
// hooks and the resource types whose set-up belongs to a module above the resource loader. The
// shell's start-up calls it first; the tests' fixtures call it once as they load. It is defined
// by the top layer (screens/registrations.cpp), which alone may include every module it ties in:
// the one call from this layer upward that the design needs.
void RegisterGameModules();
