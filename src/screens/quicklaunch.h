// Starting a game from the command line, as the front end's game launchers will: "--launch quick"
// plays a standard game of as many bowlers as --players, the first --humans of them bowled by a
// person through the shot overlays and the rest by the computer; "spares", "bingo", "poker" and
// "pinselect" the mini-games the same way; "--launch attract" the attract game that runs behind
// the title screen.
#pragma once

// Fills the players, their balls and controllers, the options and the game type for the launch
// mode `mode` ("quick", "spares", "bingo", "poker", "pinselect" or "attract") with `players`
// bowlers (1..8; attract has one) of whom the first `humans` (0..players; none in attract) are
// people, and sets screen result 1 so that the screen loop
// plays it. 0, with nothing changed, for any other mode or number of bowlers or people.
int QuickLaunchGame(const char* mode, int players, int humans = 0);
// 1 when the program options name a launch.
int LaunchPending();
// The launch named by the program options; 0 when there is none or it cannot be made. Start-up
// calls it in place of the intro, so that the screen loop begins with the game.
int LaunchFromOptions();
