// The front end's screens as the shell sees them: start-up of the main menu's data, selecting the
// title and main-menu screens, leaving the screens for a game and coming back after it.
#pragma once

int MainMenuScreenInit();
int SelectTitleScreen();
int SelectMainMenuScreen();
int ExitScreens(int unused);
int RestoreGUI();

// The loading screen shown while a game is set up: the loading bar with its draw callback, sleep
// refused meanwhile. Init shows it once until Close; both return 1 (Init also when it is up).
int LoadingScreenInit();
int LoadingScreenClose();
// 1 while the loading screen is up.
int LoadingScreenShown();

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
