// Drawing of the game scene: the upper screen once per eye and the overlays on the lower screen.
#pragma once

// Presents one frame of the game. The scene itself is not drawn yet; the frame is still started
// and finished on every display, so that frames are presented, counted and paced. 0 when the
// renderer refuses the frame.
int DrawGameScreen();
