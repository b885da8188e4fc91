// The front end's screens as the shell sees them: start-up of the main menu's data, selecting the
// title and main-menu screens, leaving the screens for a game and coming back after it.
#pragma once

int MainMenuScreenInit();
int SelectTitleScreen();
int SelectMainMenuScreen();
int ExitScreens(int unused);
int RestoreGUI();
