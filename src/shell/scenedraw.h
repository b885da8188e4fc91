// Drawing of the game scene: the upper screen once per eye and the overlays on the lower screen.
#pragma once

// Presents one frame of the game: the upper screen once per eye with its HUD over the scene, and
// the lower screen with the HUD or the overlay stack. The 3D scene itself is not drawn yet; the
// frame is still started and finished on every display, so that frames are presented, counted and
// paced. 0 when the renderer refuses the frame.
int DrawGameScreen();
// The lower screen's game overlays and transition inside a frame the caller opened (the save
// loops' messages use it). 0 when a step failed.
int DrawDisplay1();
