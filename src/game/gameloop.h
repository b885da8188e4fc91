// The game loop: one game from the loading screen to the return to the front end. Set-up builds
// the lane (world, alley, actors) for the players the front end filled in; then one frame per
// pass reads the controls, runs the game's input, the simulation step and the drawing, until the
// game is quit; the tear-down gives back everything set-up took and hands back to the front end.
#pragma once

#include "platform/lighting.h"
#include "shell/overlaytag.h"

struct DS3_model_tag;

extern int gGameType;    // 0 .. 11 (see game/scoring.h)
extern int gNumPlayers;  // 1 .. 8
extern int gCurrPlayer;  // whose turn it is
extern int gGameOver;    // set once the game has ended
extern int gMaxPlayers;  // players shown per score page
extern int gShotClock;   // an online session's shot clock, milliseconds
extern int errorOverlayPresent;
extern int startSparesOverlay;
extern int userCamera;              // the game camera follows the shot
extern int gHandleGameInvitation;  // an invitation to another game ends this one
// Set once the alley has given the game its fog; test mode's own settings then stay.
extern int physicsGlobalsSet;
// Set by an abort: the game takes no input until every button has been let go.
extern int aborted;
// The light of the heads-up display, filled at set-up.
extern DS3_lights gHudLights;
// Noted by each frame's input step: the top overlay's handlers (a null draw handler when there
// was none), the pause, and the time without input (every frame starts it again).
extern OVERLAYTAG thePreviousOverlay;
extern int gameWasPaused;
extern int idleTime;

// Runs one game. Every way out, failure included, goes through the tear-down. 0 when set-up or
// a frame failed, 1 otherwise; unless the program is quitting or exitGame is set, the screen
// result becomes 3 (back to the front end) after a game that did not fail.
int GameLoop();
// Loads and builds the game; 0 at the first failing step (what was made stays for DisposeGame).
int GameLoopSetup();
// The input step of a frame: the open overlay's input, else the game's own. 0 when it fails.
int HandleControls();
// The simulation step of a frame: actors, camera, transitions, one physics step, overlays.
// 0 when a step fails.
int UpdateGameLogic();
// Gives back what set-up loaded and made; safe after a set-up that stopped half-way. 0 when a
// release fails (the rest is still released).
int DisposeGame();
// gGamePaused becomes (on != 0). Always 1.
int PauseGame(int on);
// Stops the game's background sound stream; 1 when none plays.
int StopBackgroundSound();
// Takes the last resource of a loaded group as a model. 0 when the group is empty or the model
// is not loaded.
int InitObject(int group, DS3_model_tag** model);

// The end of the attract game: after a hold of 80 frames the game is left for the main menu.
// Always 1.
int StartAttractGameEnd();
// The way back to the menu as a screen transition: start runs at once, then toMenu once a frame,
// from the next frame on, until it reports done, then complete. Any of them may be null. Always 1.
int StartGameReturnTransition(int (*start)(), int (*toMenu)(), int (*complete)());
// 1 while the game is on its way back to the front end (attract hold or return to the menu).
int GameReturnPending();
