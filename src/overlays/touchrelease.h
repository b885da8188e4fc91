// Second step of the stylus shot set-up: the bowler starts the approach and the player flicks the
// ball grip upwards. The fastest upward movement sets the power; when the grip passes the line
// near the top the ball is launched, hooked by how far the grip went left or right. The ball
// leaves the hand at the bowler's release frame; the overlay stays up until the end of the ball.
#pragma once

int StartDSTouchReleaseOverlay();

int DSTouchReleaseOpenHandler();
int DSTouchReleaseDrawHandler();
int DSTouchReleaseUpdateHandler();
int DSTouchReleaseInputHandler();
int DSTouchReleaseCloseHandler();
