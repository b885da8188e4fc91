// Process-wide state of the application shell: the quit flags, the display variant, the language
// row and the half sizes of the screens used by 2D code. All live for the whole process.
#pragma once

#include <cstdint>

// The quit flag (done) is the platform's, with its frame services; the language row and the
// default font are the renderer's. Included here so that the shell's users see them as before.
#include "platform/render.h"
#include "platform/utilities.h"

extern int quitGame;          // raised when the screen loop meets a result outside its table
extern int gHiDef;            // display variant: 0 on this hardware
extern int gDisableHiDefPolyScaling;
extern int gDisableFontScaling;
extern int useMultipleResources;  // 1 when the split set of archives was opened
extern int gInRenderLoop;         // 1 while text is drawn directly inside a frame
extern int screenBufferHalfWidth;
extern int screenBufferHalfHeight;
extern int screenLowerBufferHalfWidth;
