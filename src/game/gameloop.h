// The game loop: set-up of a game and one frame per pass until it ends.
#pragma once

extern int gGameType;    // 0 .. 11
extern int gNumPlayers;
extern int gCurrPlayer;
extern int gGameOver;

int GameLoop();
