// The game's answers to the HOME button, registered with the platform's HOME handling
// (platform/applet.h) at start-up: HOME is refused while the game saves (the no-HOME icon shows
// instead, overlays/nohomeicon.h), the frame clock starts again after a system menu, and "Close"
// ends the program.
#pragma once

// 0 refuses the HOME menu (while the game saves; the icon starts unless it shows), else 1.
int HomeButtonStartCB();
// After a system menu: the frame clock restarts, so the time spent there is not simulated. 1.
int HomeButtonEndCB();
// The order to close: done = 1, and every loop ends through its own tear-down. 1.
int HomeButtonQuitGameCB();
