// The icon that tells the player the HOME menu cannot open now: while the game saves it refuses
// the HOME menu, and each refused press fades the icon in over the lower screen (320 ms), holds it
// (4 s) and fades it out (1.32 s). A press while the icon shows does not start it again.
#pragma once

// The game refuses the HOME menu between these (the save sequences bracket their work).
void EnableNoHomeDraw();
void DisableNoHomeDraw();
// 1 while the HOME menu is refused.
int HomeMenuDisabled();
// A refused HOME press: shows the icon unless it is already showing. Returns 1.
int StartNoHomeIcon();
// 1 while the icon shows.
int NoHomeDrawing();
// The opacity, 0..255, the icon is drawn with in the next frame.
int NoHomeIconAlpha();
// Once a frame on the lower screen: draws the icon centred on the screen and advances its fade
// by the frame step. Nothing while it is not showing. The alpha level is back at 255 afterwards.
// Returns 1; 0 when the icon's image is missing (the fade still runs its course).
int DrawNoHomeOverlay();
// Forgets the icon and the refusal (start of a run, tests).
void ResetNoHomeIcon();
