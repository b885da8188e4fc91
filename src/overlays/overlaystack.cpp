// The overlay stack arrives with the overlays; until then no overlay is ever open.
#include "overlays/overlaystack.h"

int OverlayExists() { return 0; }
int OverlayHandleInput() { return 1; }
int OverlayUpdate() { return 1; }
