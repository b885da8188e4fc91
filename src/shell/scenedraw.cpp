#include "shell/scenedraw.h"

#include "platform/render.h"

int DrawGameScreen()
{
    if (!RenderStartScreen()) return 0;
    int ok = RenderStartDisplay0L() && RenderEndDisplay0L();
    ok = ok && RenderStartDisplay0R() && RenderEndDisplay0R();
    ok = ok && RenderStartDisplay1() && RenderEndDisplay1();
    // A started frame is always finished, so that the renderer is not left inside one.
    return RenderDoneScreen() && ok;
}
