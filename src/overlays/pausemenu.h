// The pause menu: pushed over whatever is up when START is let go during play. It pauses the game
// and its sound and offers continue, the bumpers (standard game only) and quitting to the main
// menu after a confirmation; entries are chosen by touching the glyph buttons beside them.
#pragma once

// Pushes the menu, then reads the controls until START is let go. Always 1 unless the push
// fails.
int StartPauseMenuOverlay();
int PauseMenuOpenHandler();
int PauseMenuDrawHandler();
int PauseMenuInputHandler();
int PauseMenuCloseHandler();
// Continue: the music, ambience and game sound back at their volumes.
int ReturnToGame();
// Quit Game: asks whether to leave the game.
int ConfirmReturnToMainMenu();

// Entries of the open menu, 0 while it is closed; the touch button of entry i (null past the end).
int PauseMenuEntries();
struct TouchButton_tag;
TouchButton_tag* PauseMenuButton(int i);
