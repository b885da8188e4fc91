// Third step of the button shot set-up: a meter runs between 0 and 100 while the bowler starts
// the approach; A stops it, the value (corrected by the bowler's accuracy) becomes the ball's
// speed through the bowler's power rating, and the hook step follows at once.
#pragma once

int StartDSStandardPowerOverlay();

// The ball speed in feet per second for a meter value power (0..100) and the current player's
// power rating.
float GetDSBallSpeed(float power);

int DSStandardPowerOpenHandler();
int DSStandardPowerDrawHandler();
int DSStandardPowerUpdateHandler();
int DSStandardPowerInputHandler();
int DSStandardPowerCloseHandler();
