// Second step of the button shot set-up: the aim heading swings by itself, faster for a less
// accurate bowler and narrowed towards the middle near the lane's edge; A stops it and goes on to
// the power step, B goes back to the position step.
#pragma once

int StartDSStandardAngleOverlay();

int DSStandardAngleOpenHandler();
int DSStandardAngleDrawHandler();
int DSStandardAngleUpdateHandler();
int DSStandardAngleInputHandler();
int DSStandardAngleCloseHandler();
