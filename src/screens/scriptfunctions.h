// The registry of the front end's script functions: the functions the menus' command sequences
// call by name, registered in their fixed order each time the main menu opens.
#pragma once

struct sBasicUiWidget;

// Registers every script function of the front end that this build holds, in order. Returns the
// number registered.
int RegisterScriptFunctions();

// Functions kept for the menus' scripts that have nothing to do on this platform: they let the
// calling sequence go on (1) or stop it (0).
int ClearInvite(sBasicUiWidget* caller, int value);
int QPlayCheck(sBasicUiWidget* caller, int value);
int MGameCheck(sBasicUiWidget* caller, int value);
int CheckForControllerPresenceII(sBasicUiWidget* caller, int value);
int ShowControllerRequiredMessage(sBasicUiWidget* caller, int value);
int SetupTree(sBasicUiWidget* caller, int value);
int SetupLadder(sBasicUiWidget* caller, int value);
int SetupHighScore(sBasicUiWidget* caller, int value);
// Restarts the framework's frame clock (after a film the menus' timers do not jump); 1.
int PlayMovie(sBasicUiWidget* caller, int value);
// Games that this platform does not offer: the player results are cleared and the sequence stops.
int PlayGameVellomarkChallenge(sBasicUiWidget* caller, int value);
int PlayGameOnline(sBasicUiWidget* caller, int value);
