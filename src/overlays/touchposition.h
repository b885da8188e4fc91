// First step of the stylus shot set-up: a slider knob places the bowler across the approach and
// a handle above it, carried with the knob, sets the heading; the circle pad turns the heading and
// the d-pad moves the bowler. A (or the next button) goes on to the touch release step.
#pragma once

int StartDSTouchPositionOverlay();

int DSTouchPositionOpenHandler();
int DSTouchPositionDrawHandler();
int DSTouchPositionUpdateHandler();
int DSTouchPositionInputHandler();
int DSTouchPositionCloseHandler();
