// The HOME button, power button, sleep and the platform's order to close.
#pragma once

int InitializeApplet();
int DisposeApplet();
int SetupHomeButtonCallbacks();
int DisableHomeButtonCallbacks();
int SetAppletCallbacks();
void DisableHomePowerButton();
void EnableHomePowerButton();
void EnableSleepMode(bool enable);
void DisableSleepMode();
// Serves the platform's pending orders on the main thread; called by every controller read.
void ServiceAppletOrders();
