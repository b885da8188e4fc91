// The bingo card overlay (game type 10): a player's 5 x 5 card with its marks on the lower screen
// after each ball, and the winner when the ball completed a line. The game stands still while it
// is shown.
#pragma once

// Shows the card of player 0..7; winner non-zero when that player has just made a line. There is
// no guard against a second push. 1/0.
int StartBingoCardOverlay(int player, int winner);
int BingoCardOverlayActive();

int BingoCardOpenHandler();
int BingoCardDrawHandler();
int BingoCardUpdateHandler();
int BingoCardInputHandler();
int BingoCardCloseHandler();
