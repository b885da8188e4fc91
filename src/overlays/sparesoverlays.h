// The spares challenge's overlays on the lower screen (game type 9): the start of each attempt
// (the round, the attempt and its points, the pins of the leave) leading to the shot steps, and
// the score table of every player's conversions and points shown while the ball rolls and at the
// end of the game.
#pragma once

int StartDSSparesStartTurnOverlay();
int StartDSSparesScoreOverlay();
int DSSparesStartTurnOverlayActive();
int DSSparesScoreOverlayActive();

int DSSparesStartTurnOpenHandler();
int DSSparesStartTurnDrawHandler();
int DSSparesStartTurnUpdateHandler();
int DSSparesStartTurnInputHandler();
int DSSparesStartTurnCloseHandler();

int DSSparesScoreOpenHandler();
int DSSparesScoreDrawHandler();
int DSSparesScoreUpdateHandler();
int DSSparesScoreInputHandler();
int DSSparesScoreCloseHandler();
