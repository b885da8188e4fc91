// The loading screen shown while long loads block the main thread: its image on the lower screen
// and a bitmap pulsing in its lower right corner, drawn from the loading bar's callback.
#pragma once

// Shows the loading screen once until Close: sleep refused, the image and bitmap read, the bar
// started with LoadingScreenDraw. 1 also when it is up or its image does not exist; 0 when a
// resource cannot be read.
int LoadingScreenInit();
// Stops the bar, frees the image and bitmap and allows sleep again; 1 also when nothing was shown,
// 0 when a resource cannot be freed.
int LoadingScreenClose();
// The loading bar's callback: one frame of the loading screen. Always 1.
int LoadingScreenDraw();
// 1 while the loading screen is up.
int LoadingScreenShown();
// The bitmap's opacity now (0 to 1).
float LoadingScreenOpacity();
// The same operations under the main menu's names; the argument is not used.
int MainMenuLoadingScreenBegin(int unused);
int MainMenuLoadingScreenEnd(int unused);
