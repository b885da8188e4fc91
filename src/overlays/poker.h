// The poker overlay (game type 11): at the end of the game every player's cards ranked as a poker
// hand, each player's row with the cards held, the winner or tied winners marked, and the result
// for the front end. The game stands still while it is shown; A leaves the game.
#pragma once

int StartPokerOverlay();
int PokerOverlayActive();

int PokerOpenHandler();
int PokerDrawHandler();
int PokerUpdateHandler();
int PokerInputHandler();
int PokerCloseHandler();
