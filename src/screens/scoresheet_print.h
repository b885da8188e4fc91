// The score sheets of a game as text: at the end of a game played without a window, each
// player's marks, running totals and total go to the standard output.
#pragma once

#include <cstdio>

// The marks of one frame of a player as the sheet shows them: "X" a strike, "/" a spare, "-" a
// ball that knocked nothing down, else the count; balls not thrown are left out. Into out (at
// least 8 bytes), balls separated by spaces. 0 for a player or frame out of range.
int FormatFrameMarks(int player, int frame, char* out, int size);
// Prints the sheet of player 0..7 to `to`: name, the marks of frames 1-10, the running total
// under each scored frame and the total. 0 for a player out of range or a null file.
int PrintScoreSheet(FILE* to, int player);
// Prints the sheet of every player of the game. 0 when one could not be printed.
int PrintScoreSheets(FILE* to);
