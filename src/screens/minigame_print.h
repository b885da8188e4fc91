// The results of the mini-games as text: at the end of a game played without a window they go to
// the standard output in place of the score sheets.
#pragma once

#include <cstdio>

// The name of a card as two characters, rank then suit: "AS", "TH", "2D" (suits S, H, C, D).
// "--" for anything that is not a card. out holds at least 3 bytes.
void FormatCard(int card, char* out, int size);
// The name of a poker hand code, "royal flush" .. "high card"; "no hand" for any other code.
const char* PokerHandName(int handVal);

// Each player's spares rounds with their points, the conversions and the total.
int PrintSparesResults(FILE* to);
// Each player's card with its marks ("*" after a marked number) and who made the line.
int PrintBingoResults(FILE* to);
// Each player's cards with the hand's rank, and the winner or tied winners.
int PrintPokerResults(FILE* to);
// Each practice ball: the bowler, the pins chosen and those knocked down.
int PrintPracticeResults(FILE* to);
// The results of the game type being played; 0 for a type that is not a mini-game.
int PrintMiniGameResults(FILE* to);
