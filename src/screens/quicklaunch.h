// Starting a game from the command line, as the front end's game launchers will: "--launch quick"
// plays a standard game of computer bowlers (as many as --players), "--launch attract" the
// attract game that runs behind the title screen.
#pragma once

// Fills the players, their balls and controllers, the options and the game type for the launch
// mode `mode` ("quick" or "attract") with `players` bowlers (quick only, 1..8), and sets screen
// result 1 so that the screen loop plays it. 0, with nothing changed, for any other mode or
// number of bowlers.
int QuickLaunchGame(const char* mode, int players);
// 1 when the program options name a launch.
int LaunchPending();
// The launch named by the program options; 0 when there is none or it cannot be made. Start-up
// calls it in place of the intro, so that the screen loop begins with the game.
int LaunchFromOptions();
