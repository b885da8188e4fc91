// The shell's process-wide flags and sizes, in one place because start-up, the screens and the
// overlays all read them.
#include "shell/globals.h"

int quitGame = 0;
int gHiDef = 0;
int gDisableHiDefPolyScaling = 1;
int gDisableFontScaling = 1;
int useMultipleResources = 0;
int gInRenderLoop = 0;
int screenBufferHalfWidth = 0;
int screenBufferHalfHeight = 0;
int screenLowerBufferHalfWidth = 0;
