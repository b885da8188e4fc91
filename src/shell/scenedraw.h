// Drawing of the game scene: the upper screen once per eye (environment, turn lights, actors,
// particles, billboards, overlays) and the game's overlays on the lower screen.
#pragma once

struct actor_tag;

// Draws one whole game frame: both eyes of the upper screen, then the lower screen unless a clip
// presents it. Step failures are not reported upward; 0 only when the renderer refuses the frame.
int DrawGameScreen();
// The upper screen for the eye whose display is open. The matrix is not used. 0 when a step failed.
int DrawDisplay0(float (*unused)[4]);
// The lower screen's game overlays and transition inside a frame the caller opened (the save
// loops' messages use it). 0 when a step failed.
int DrawDisplay1();
// The alley's two turn-light models, lit by the ball of the frame being bowled. 0 when a resource
// is missing.
int DrawTurnLights();

