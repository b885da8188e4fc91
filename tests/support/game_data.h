// The build's game data for a test, opened the way start-up opens it.
#pragma once

// Points "rom:/" at the build's `form` directory ("rom" or "rom-split"), starts the file system,
// makes the resource table and opens the archives. Needs a game heap. Returns 1 on success.
int OpenBuildGameData(const char* form = "rom");
// Closes the archives, frees the table and stops the file system.
void CloseBuildGameData();
// Readies a whole game the way start-up does, on a fresh game heap: the game's flags cleared
// (not quitting, not paused, no test mode), the build's game data opened, the physics allocator,
// settings, options and inputs set, and trig tables made in this heap. Returns 1 on success.
int PrepareWholeGame();
// Launches a quick game of `players` bowlers, the first `humans` of them people with the buttons,
// as the command line does, in alley `alley`, and sets it up (the score sheet pushed). Needs
// PrepareWholeGame and the renderer. Returns 1 on success.
int StartQuickGame(int players, int humans, int alley = 0);
// Ends a whole game that a test set up and played: every overlay closed and the game unpaused,
// the lane's world, the alley and the game disposed, the renderer stopped, the game data closed
// and the trig tables, physics allocator and inputs of the game's heap forgotten. The heap itself
// stays the test's.
void EndWholeGame();
// Runs a transition a test started (a fade to the menus, say) to its end without its callbacks, so
// that none of them fires in a later test's game.
void ForgetTransition();
