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
