// Last step of the button shot set-up: while the delivery runs the circle pad sets the hook; at
// the bowler's release frame the hook becomes side spin, the shot goes to the ball and the ball
// leaves the bowler's hand. The overlay stays up until the end of the ball.
#pragma once

int StartDSStandardHookOverlay();

int DSStandardHookOpenHandler();
int DSStandardHookDrawHandler();
int DSStandardHookUpdateHandler();
int DSStandardHookInputHandler();
int DSStandardHookCloseHandler();
