// The script functions of the front end's play: the game launchers, the quick-play confirmation,
// saving and loading, the set-up screens' player slots and controller assignment. Each has the
// registry's form int fn(caller, argument) (ui/registry.h): 1 lets the calling command sequence go
// on, 0 stops it. The main menu registers them by their own names when it opens.
#pragma once

struct sBasicUiWidget;

// Launchers (screens/launchers.cpp): 1 when the game was launched or its pre-game sequence
// started, 0 when a table is missing or no bowler could be placed.
int QuickStart(sBasicUiWidget* caller, int arg);
int QuickSetupDialog(sBasicUiWidget* caller, int arg);
int PlayGameQuick(sBasicUiWidget* caller, int arg);
int PlayGameMini(sBasicUiWidget* caller, int arg);
int PlayGamePractice(sBasicUiWidget* caller, int arg);
int PlayGamePinSelect(sBasicUiWidget* caller, int arg);
int PlayGameLeague(sBasicUiWidget* caller, int arg);
int PlayGameTree(sBasicUiWidget* caller, int arg);
int PlayGameLadder(sBasicUiWidget* caller, int arg);
int PlayGameHighScore(sBasicUiWidget* caller, int arg);
int PlayGameRival(sBasicUiWidget* caller, int arg);

// Saving and loading (screens/saveflow.cpp).
int GameSave(sBasicUiWidget* caller, int arg);
int GameLoad(sBasicUiWidget* caller, int arg);

// Player slots and controllers of the set-up screens (screens/playerslots.cpp).
int SelectNextPlayerIndex(sBasicUiWidget* caller, int arg);
int VerifyCustomPlayerUnload(sBasicUiWidget* caller, int arg);
int ShowQuickPlaySlots(sBasicUiWidget* caller, int arg);
int AssignControllers(sBasicUiWidget* caller, int arg);
// The controller page for the career team of set-up variant v (6 league, 7-9 the tournament
// kinds, 10 rival): its controllers, for as many bowlers as the event seats. 1.
int AssignTeamControllers(sBasicUiWidget* caller, int v);
int CheckForControllerPresence(sBasicUiWidget* caller, int arg);
