// The front end's services that the shell and the game call: the screens (screen stack, title,
// loading screen, main menu) and the results of the last game.
#pragma once

#include "screens/loadingscreen.h"
#include "screens/mainmenu.h"
#include "screens/screenstack.h"
#include "screens/titlescreen.h"

// The results of the last game, for the front end to fold into the standings: four values per
// player, and the first player's pins of every ball of every frame (-1 = not thrown).
constexpr int kResultSlots = 4;
extern int gPlayerResults[8][kResultSlots];
extern int gScoreCardPinCount[10][3];

// Clears every result and the first player's score card.
void ZeroPlayerResults();
// At the end of a standard game: each player's total score in slot 0 (the other slots 0), and
// player 0's pins of every ball on the score card.
void SetPlayersResults();
// Stores value in slot 0..3 of player 0..7; anything else is ignored.
void SetPlayerResults(int player, int slot, int value);
