// The test-mode overlay: while it is up the game is paused, the test-mode menus take the
// controller and the read-out is drawn on the lower screen. The game's set-up starts it when
// gTestModeRunning is set (registered as upperLayers.StartTestmodeOverlay). It sits with test
// mode rather than with the other overlays because it calls test mode, which stands above them.
#pragma once

// Pushes the overlay (open, draw, input and close handlers; no update handler). Always 1.
int StartTestmodeOverlay();

// The handlers. Open: test mode on, the game paused, the circle pads' dead zones for flying;
// input: one frame of test-mode controls, the read-out switch on the button of bit value 1, START
// to leave; draw: the read-out; close: the game's dead zones back, the test particle systems,
// markers and the animation groups test mode loaded gone.
int TestmodeOpenHandler();
int TestmodeDrawHandler();
int TestmodeInputHandler();
int TestmodeCloseHandler();
