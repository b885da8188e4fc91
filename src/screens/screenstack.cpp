// The screen stack and the change of screen: the thin layer between the screen loop and the front
// end. The screen loop dispatches on the screen result; this module writes the results of the
// front end (1 play, 5 title, 6 main menu, -1 quit), keeps the current tab group and tab, the
// background image that goes with a tab group, and the shared front-end resources, which are
// loaded as one range while the menus run and freed as one range before a game.
#include "screens/screenstack.h"

#include "game/gameloop.h"
#include "game/records.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/screenapi.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "shell/globals.h"
#include "shell/settings.h"

int gTabId = 0;
SCREENSTACKNODE screenStack[kScreenStackMax];
int screenStackSize = 0;

static int screensInitialized = 0;
static int screenBackground = -1;
static int firstCallToInitScreens = 1;

enum { kGameTypeAttract = 8 };

int PushScreen(int tabGroup, int tab)
{
    if (screenStackSize >= kScreenStackMax) return 0;
    screenStack[screenStackSize].tabGroup = tabGroup;
    screenStack[screenStackSize].tab = tab;
    ++screenStackSize;
    gTabId = 0;
    return 1;
}

// The background image of a tab group: only the title's group has one.
static int BackgroundOf(int tabGroup) { return tabGroup == kTabGroupTitle ? gHiDef * 2 + kMenuBackgroundImage : -1; }

int ChangeScreen(int tabGroup, int setResult)
{
    if (tabGroup == gTabGroupId && setResult == 1) return 0;
    if (tabGroup != -1) gTabGroupId = tabGroup;

    const int wanted = BackgroundOf(tabGroup);
    if (wanted != screenBackground) {
        if (screenBackground != -1 && !DisposeResource(screenBackground)) return 0;
        screenBackground = -1;
        if (wanted != -1) {
            if (!ReadResource(wanted))
                return done ? 0 : PrintError("screens: the background image %d cannot be read", wanted);
            RenderSelectBackgroundResource(wanted);
        }
        screenBackground = wanted;
    }
    if (setResult) ScreenSetResult(tabGroup);
    return 1;
}

int NextScreen(int tabGroup)
{
    gTabId = 0;
    return ChangeScreen(tabGroup, 1);
}

// The body of InitScreens, also run by RestoreGUI.
static int LoadSharedResources()
{
    if (firstCallToInitScreens) {
        gBackgroundMusicChannel = nullptr;
        gBackgroundSoundChannel = nullptr;
        firstCallToInitScreens = 0;
    }
    // A load that the order to close stopped says nothing of the game data; one that failed says
    // its first fault, which names the archive and why.
    const long faultsBefore = HostErrorsReported();
    if (!LoadResourceRange(kGameSoundsFirst, kGameSoundsLast))
        return done ? 0
                    : PrintError("screens: the front end's sounds %d to %d cannot be loaded (%s)", kGameSoundsFirst,
                                 kGameSoundsLast, HostErrorReported(faultsBefore).c_str());
    if (!gBackgroundMusicChannel) {
        if (!CreateStream(1, &gBackgroundMusicChannel)) return PrintError("screens: no stream for the menu music");
        SoundStreamNextResource(gBackgroundMusicChannel, kMenuMusic);
    }
    if (!CreateStream(1, &gBackgroundSoundChannel)) return PrintError("screens: no stream for the menu sounds");
    RenderSetAlphaLevel(255);
    screensInitialized = 1;
    return 1;
}

int InitScreens(int)
{
    if (screensInitialized) return 1;
    return LoadSharedResources();
}

int ExitScreens(int)
{
    if (!screensInitialized) return 1;
    ChangeScreen(-1, 0);
    RenderSelectBackgroundResource(0);
    SetChannelVolumeFade(nullptr, 0, 0);
    DeleteAllStreams();
    DeleteAllSoundChannels();
    gBackgroundMusicChannel = nullptr;
    gBackgroundSoundChannel = nullptr;
    if (!DisposeResourceRange(kGameSoundsFirst, kGameSoundsLast)) return 0;
    screensInitialized = 0;
    return 1;
}

int RestoreGUI()
{
    if (gTabGroupId < 0) {
        ScreenSetResult(-1);
        return 1;
    }
    if (!screensInitialized && !LoadSharedResources()) return 0;
    int target = kTabGroupMainMenu;
    if (gGameType == kGameTypeAttract) {
        if (!InitGameSettings()) return 0;
        InitOptions();
        target = kTabGroupTitle;
    }
    gTabGroupId = -1;
    gTabId = 0;
    screenBackground = -1;
    ChangeScreen(target, 1);
    return 1;
}

int ScreensInitialised() { return screensInitialized; }
int ScreenBackground() { return screenBackground; }

void ResetScreenStack()
{
    screenStackSize = 0;
    gTabId = 0;
    screenBackground = -1;
    screensInitialized = 0;
}
