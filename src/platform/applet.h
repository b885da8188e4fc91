// The HOME button, the power button, sleep and the platform's order to close: the game's side of
// the handheld's system protocol. The host plays the system (host/systemmenu.h, host/input.h):
// HOME and power open its menus over the suspended game, a closed lid or a minimised window asks
// whether the game may sleep, and closing the window is the order to close.
//
// The game's own answers (refuse HOME while saving, restart the frame clock after a menu, end the
// program on "Close") stand higher up; they are registered at start-up (RegisterHomeButtonGame)
// and installed or removed by start-up around the intro videos. The sleep query asks a registered
// check too (the save worker's completion).
#pragma once

int InitializeApplet();
// Releases the protocol at the end of the program. Returns 1.
int DisposeApplet();
// Stores the game's callbacks: start (0 refuses the HOME menu), end (after a menu), quit (the
// close order). Any may be null. Returns 1.
int SetHomeButtonCallbacks(int (*start)(), int (*end)(), int (*quitGame)());
// The callbacks SetupHomeButtonCallbacks installs, and the check the sleep query asks (1: the game
// may sleep now); registered by the game at start-up.
void RegisterHomeButtonGame(int (*start)(), int (*end)(), int (*quitGame)(), int (*maySleep)());
int SetupHomeButtonCallbacks();
int DisableHomeButtonCallbacks();
// Registers the platform callbacks again (after a video, whose player installs its own). Returns 1.
int SetAppletCallbacks();
void DisableHomePowerButton();
void EnableHomePowerButton();
void EnableSleepMode(bool enable);
void DisableSleepMode();
// Serves the HOME and power buttons, sleep requests and the close order on the main thread;
// called by every controller read after the input is stored. The buttons are served only while
// EnableHomePowerButton is in force and done is 0 (presses meanwhile are dropped); the close order
// always sets done, through the quit callback when one is installed.
void ServiceAppletOrders();
// Serves the close order alone (no buttons, no sleep): sets done, as ServiceAppletOrders would, once
// the platform has ordered the application to close.
void ServiceCloseOrder();
// The per-read service of the HOME and power buttons and of sleep. Returns 1.
int HandleHomeButton();

// The applet callbacks: the sleep query's reply (1 accept: sleep is enabled and the registered
// check allows it) and the wake-up (the display restarts, the frame clock starts again).
int myReceiveSleepQueryNotification(unsigned arg);
void myReceiveAwakeNotification(unsigned arg);
