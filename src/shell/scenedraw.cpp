#include "shell/scenedraw.h"

#include "game/transitions.h"
#include "lib/screenapi.h"
#include "overlays/overlaydraw.h"
#include "platform/gpucommands.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/shaders.h"

// The upper-screen overlays of one eye, over the scene, with the eye's parallax.
static int DrawUpperOverlays()
{
    RenderEnableOverlays();
    SetHUDDisplay(0);
    RenderEnableParallax();
    RenderSetZLevel(500.0f);
    DrawGameOverlays();
    RenderDisableParallax();
    return DrawTransition();
}

// The lower screen's 2D state: its own bitmap, no transform, a neutral pen.
static void StartLowerOverlays()
{
    ScreenSetDrawingDestination(screenBuffer);
    SetXform(nullptr);
    RenderSetPenColor(128, 128, 128);
    RenderSetAlphaLevel(255);
    RenderSetMipmapBias(0.0f);
}

int DrawDisplay1()
{
    StartLowerOverlays();
    if (!RenderEnableOverlays()) return 0;
    SetHUDDisplay(1);
    if (!DrawGameOverlays()) return 0;
    return DrawTransition();
}

int DrawGameScreen()
{
    if (!RenderStartScreen()) return 0;
    int ok = RenderStartDisplay0L();
    if (ok) {
        DrawUpperOverlays();
        ok = RenderEndDisplay0L();
    }
    ok = ok && RenderStartDisplay0R();
    if (ok) {
        DrawUpperOverlays();
        ok = RenderEndDisplay0R();
    }
    ok = ok && RenderStartDisplay1();
    if (ok) {
        // A failed overlay draws what it could; the frame goes on.
        DrawDisplay1();
        ok = RenderEndDisplay1();
    }
    // A started frame is always finished, so that the renderer is not left inside one.
    return RenderDoneScreen() && ok;
}
