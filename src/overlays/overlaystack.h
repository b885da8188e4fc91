// The stack of in-game overlays on the lower screen.
#pragma once

int OverlayExists();
int OverlayHandleInput();
int OverlayUpdate();
