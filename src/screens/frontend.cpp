// The results of the last game as the game hands them to the front end: four values per player
// and the first player's score card, read when the main menu folds the game in.
#include "screens/frontend.h"

#include "game/gameloop.h"
#include "game/records.h"

int gPlayerResults[kMaxPlayers][kResultSlots];
int gScoreCardPinCount[kFramesPerGame][kBallsPerFrame];

void ZeroPlayerResults()
{
    for (auto& row : gPlayerResults)
        for (int& v : row) v = 0;
    for (auto& frame : gScoreCardPinCount)
        for (int& v : frame) v = 0;
}

void SetPlayersResults()
{
    const int players = gNumPlayers < 0 ? 0 : (gNumPlayers > kMaxPlayers ? kMaxPlayers : gNumPlayers);
    for (int p = 0; p < players; ++p) {
        gPlayerResults[p][0] = gPlayerInfo[p].totalScore;
        for (int slot = 1; slot < kResultSlots; ++slot) gPlayerResults[p][slot] = 0;
    }
    for (int f = 0; f < kFramesPerGame; ++f)
        for (int b = 0; b < kBallsPerFrame; ++b) gScoreCardPinCount[f][b] = gPlayerInfo[0].framePinCount[f][b];
}

void SetPlayerResults(int player, int slot, int value)
{
    if (player < 0 || player >= kMaxPlayers || slot < 0 || slot >= kResultSlots) return;
    gPlayerResults[player][slot] = value;
}
