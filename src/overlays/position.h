// First step of the button shot set-up: the bowler walks sideways along the approach with the
// circle pad or a slider knob; A goes on to the angle step, B back to where the set-up began.
#pragma once

// Pushes the position step; 1 at once, pushing nothing, while it is already open.
int StartDSStandardPositionOverlay();

int DSStandardPositionOpenHandler();
int DSStandardPositionDrawHandler();
int DSStandardPositionUpdateHandler();
int DSStandardPositionInputHandler();
int DSStandardPositionCloseHandler();
