// The game itself arrives with the simulation work; until then a game ends as soon as it starts
// and hands back to the front end.
#include "game/gameloop.h"

#include "lib/screenapi.h"

int gGameType = 0;
int gNumPlayers = 1;
int gCurrPlayer = 0;
int gGameOver = 0;

// Screen result that sends the screen loop back to the front end after a game.
static const int kResultRestoreFrontEnd = 3;

int GameLoop()
{
    gGameOver = 1;
    ScreenSetResult(kResultRestoreFrontEnd);
    return 1;
}
