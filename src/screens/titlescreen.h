// The title screen: the title image on the lower screen with a prompt to touch it; a touch
// or a let-go A button moves on to the main menu with a sound.
#pragma once

// Hands the title's four handlers to the screen API (screen result 0 runs them). Returns 1.
int SelectTitleScreen();

int TitleScreenOpenHandler();
int TitleScreenDrawHandler();
int TitleScreenInputHandler();
int TitleScreenCloseHandler();

// 1 while the title waits for its touch.
int TitleScreenActive();
