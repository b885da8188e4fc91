// The heads-up display: drawn when no overlay covers the game. On the upper screen the bowler's
// name plate, the standing-pin diagram while setting up, the aiming hint, the ball speed after the
// release, poker cards or the spares score, and the last ball's result during a replay; on the
// lower screen the replay's skip panel and a celebration video's frame.
#pragma once

int DrawUpperHUD();
int DrawLowerHUD();
int DrawPlayerName();
// Only in the position and angle steps; 1 drawing nothing otherwise.
int DrawPinDiagram();
int DrawMPH();

// Where the diagram's marker of pin 1..10 stands, for a background of bgW x bgH at the top of
// the safe area and markers of w x h. 0 for a pin outside 1..10.
int PinDiagramMarkerPosition(int pin, int bgH, int w, int h, int* x, int* y);
// The ball speed in miles per hour for feet per second, split as the plate shows it: whole miles
// and the tenth digit. A speed below zero is 0.0.
float BallSpeedMPH(float feetPerSecond, int* whole, int* tenth);
