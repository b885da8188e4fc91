// Music during play and the sounds of the ball hitting the pins.
#pragma once

// The sound of the ball's first touch of pin 1..10 in a ball. Always 1.
int PlayBallHitPinSound(int pin);
