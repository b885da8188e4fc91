// The screen loop: a table of what each screen result runs. The front end's own steps are reached
// through the record of upward calls (shell/upperlayers.h).
#include "shell/screenloop.h"

#include "game/gameloop.h"
#include "host/errorlog.h"
#include "lib/printing.h"
#include "lib/screenapi.h"
#include "platform/streams.h"
#include "shell/globals.h"
#include "shell/settings.h"
#include "shell/upperlayers.h"

// Result 0: run the selected screen until it ends; what it returns is not used.
static int RunSelectedScreen()
{
    gGameControls = 0;
    RunAPIScreen();
    return 1;
}

// Results 1 and 2: leave the front end and play a game.
static int PlayGame() { return upperLayers.ExitScreens(0) && DeleteAllStreams() && GameLoop(); }

static int Idle() { return 1; }

// The front end's own steps, reached through the record its layer fills in.
static int BackFromGame() { return upperLayers.RestoreGUI(); }
static int ToTitleScreen() { return upperLayers.SelectTitleScreen(); }
static int ToMainMenuScreen() { return upperLayers.SelectMainMenuScreen(); }

// What each screen result 0..6 runs; a 0 result ends the loop with failure.
static int (*const kScreenActions[])() = {
    RunSelectedScreen,     // 0
    PlayGame,              // 1
    PlayGame,              // 2
    BackFromGame,          // 3: RestoreGUI
    Idle,                  // 4
    ToTitleScreen,         // 5: SelectTitleScreen
    ToMainMenuScreen,      // 6: SelectMainMenuScreen
};
static const unsigned kNumScreenActions = sizeof kScreenActions / sizeof kScreenActions[0];

static long stepBegan = 0;

long ScreenLoopStepBegan() { return stepBegan; }

int RunScreenLoop()
{
    while (!done) {
        // Compared as unsigned, so that every negative result is unknown too.
        unsigned result = unsigned(ScreenGetResult());
        if (result < kNumScreenActions) {
            stepBegan = HostErrorsReported();
            if (!kScreenActions[result]()) return 0;
            continue;
        }
        upperLayers.ExitScreens(1);
        quitGame = 1;
        // Nothing else would ever change this result or read input again: the program ends here
        // instead of spinning for ever. The quit result is the ordinary way out (a launched game
        // has no menu to go back to); a screen that could not open, run or close is a failure of
        // the game (its menus cannot run), which its handler has reported; any other result is a
        // fault worth a message.
        if (int(result) == kScreenResultHandlerFailed) return 0;
        if (int(result) != kScreenResultQuit)
            PrintError("screen loop: unknown screen result %d, ending the program", int(result));
        done = 1;
    }
    return 1;
}
