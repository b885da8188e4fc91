// The set-up menu before a human player's throw (change the ball, show the lane oil, go on to
// bowl), and the way into the chain of shot set-up overlays: with the buttons position, angle,
// power and hook; with the stylus touch position and touch release.
#pragma once

// Pushes the set-up menu; 1 at once, pushing nothing, while it is already open.
int StartDSStandardStartTurnOverlay();
// 1 while the set-up menu is open (the aim line is hidden meanwhile).
int DSStandardStartTurnOverlayActive();

int DSStandardStartTurnOpenHandler();
int DSStandardStartTurnDrawHandler();
int DSStandardStartTurnUpdateHandler();
int DSStandardStartTurnInputHandler();
int DSStandardStartTurnCloseHandler();
