// The menus themselves arrive with the front end; the title and main-menu screens exist as screens
// without content, so that the screen loop runs them.
#include "screens/frontend.h"

#include "game/gameloop.h"
#include "game/records.h"
#include "lib/screenapi.h"
#include "platform/streams.h"
#include "platform/utilities.h"
#include "platform/applet.h"
#include "shell/settings.h"

static SCREENTAG titleScreen = {};
static SCREENTAG mainMenuScreen = {};
static int screensUp = 0;

enum { kResultTitle = 5, kResultMainMenu = 6, kGameTypeAttract = 8 };

int MainMenuScreenInit() { return 1; }

int SelectTitleScreen()
{
    ScreenSelect(&titleScreen);
    screensUp = 1;
    return 1;
}

int SelectMainMenuScreen()
{
    ScreenSelect(&mainMenuScreen);
    screensUp = 1;
    return 1;
}

int ExitScreens(int)
{
    if (!screensUp) return 1;
    screensUp = 0;
    return DeleteAllStreams();
}

int RestoreGUI()
{
    if (gTabGroupId < 0) {
        ScreenSetResult(-1);
        return 1;
    }
    if (gGameType == kGameTypeAttract) {
        InitGameSettings();
        InitOptions();
        ScreenSetResult(kResultTitle);
    } else {
        ScreenSetResult(kResultMainMenu);
    }
    return 1;
}

static int loadingScreenShown = 0;

// The loading screen has nothing to draw yet; the bar's frames are still presented.
static int DrawLoadingScreen() { return 1; }

int LoadingScreenInit()
{
    if (loadingScreenShown) return 1;
    LoadingBarSetCallback(DrawLoadingScreen);
    LoadingBarStart();
    DisableSleepMode();
    loadingScreenShown = 1;
    return 1;
}

int LoadingScreenClose()
{
    if (!loadingScreenShown) return 1;
    LoadingBarStop();
    EnableSleepMode(true);
    loadingScreenShown = 0;
    return 1;
}

int LoadingScreenShown() { return loadingScreenShown; }
