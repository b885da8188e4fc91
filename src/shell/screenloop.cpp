#include "shell/screenloop.h"

#include "game/gameloop.h"
#include "lib/printing.h"
#include "lib/screenapi.h"
#include "platform/streams.h"
#include "screens/frontend.h"
#include "shell/globals.h"
#include "shell/settings.h"

// Result 0: run the selected screen until it ends; what it returns is not used.
static int RunSelectedScreen()
{
    gGameControls = 0;
    RunAPIScreen();
    return 1;
}

// Results 1 and 2: leave the front end and play a game.
static int PlayGame() { return ExitScreens(0) && DeleteAllStreams() && GameLoop(); }

static int Idle() { return 1; }

// What each screen result 0..6 runs; a 0 result ends the loop with failure.
static int (*const kScreenActions[])() = {
    RunSelectedScreen,     // 0
    PlayGame,              // 1
    PlayGame,              // 2
    RestoreGUI,            // 3: back from a game
    Idle,                  // 4
    SelectTitleScreen,     // 5
    SelectMainMenuScreen,  // 6
};
static const unsigned kNumScreenActions = sizeof kScreenActions / sizeof kScreenActions[0];

int RunScreenLoop()
{
    while (!done) {
        // Compared as unsigned, so that every negative result is unknown too.
        unsigned result = unsigned(ScreenGetResult());
        if (result < kNumScreenActions) {
            if (!kScreenActions[result]()) return 0;
            continue;
        }
        ExitScreens(1);
        quitGame = 1;
        // Nothing else would ever change this result or read input again: the program ends here
        // instead of spinning for ever.
        PrintError("screen loop: unknown screen result %d, ending the program", int(result));
        done = 1;
    }
    return 1;
}
