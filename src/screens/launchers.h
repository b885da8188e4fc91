// The game launchers' shared state: which kind of game the front end launched last, for the main
// menu to fold its results in when it opens again.
#pragma once

// 0 none, 1 quick play, 2 mini game, 4 online, 5 league, 6 tournament tree, 7 ladder, 8 high
// score, 9 rival, 10 practice, 11 pin selection. Kept until the next launch or a reset.
extern int lastGameType;
enum {
    kLastGameNone = 0, kLastGameQuick = 1, kLastGameMini = 2, kLastGameOnline = 4, kLastGameLeague = 5,
    kLastGameTree = 6, kLastGameLadder = 7, kLastGameHighScore = 8, kLastGameRival = 9, kLastGamePractice = 10,
    kLastGamePinSelect = 11,
};

// Replaces the first "%s" of format by text and "%i" or "%d" by number, copying every other
// character as it stands (the formats are data, never handed to printf). Always terminated.
void FormatUiText(const char* format, const char* text, int number, char* out, int size);
