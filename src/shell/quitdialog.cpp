// The endless message box shown when start-up cannot go on: the text on the overlays' background,
// redrawn every frame until the program is told to end, or until nobody could close it any more.
#include "shell/quitdialog.h"

#include "host/messagebox.h"
#include "lib/resourceids.h"
#include "lib/textoutput.h"
#include "platform/input.h"
#include "platform/render.h"
#include "shell/globals.h"
#include "shell/startup.h"
#include "shell/upperlayers.h"

// Font of the message boxes on the lower screen.
static const int kMessageFont = kGameFontBody;

int DisplayNoSpaceQuitDialog(const char* text, int width, int height)
{
    TextOutputSetMode(kTextModeCenter);
    if (!TextOutputSelectFont(upperLayers.GetFontRSID(kMessageFont))) return 0;
    const int lineOffset = int(float(TextOutputGetFontHeight()) * 2.5f);

    // Nothing the player presses ends the box; only the platform's quit or power order sets done.
    // Without a window on a screen, an input script that has no order left to come could not close
    // it either: the box then ends, not closed.
    while (!done) {
        if (!HostBoxCanBeClosed()) return 0;
        ReadControls(0);
        if (done) break;  // the close order, served by the read, comes before another frame
        if (!RenderStartScreen()) return 0;
        RenderStartDisplay1();
        gInRenderLoop = 1;
        TextOutputSetMode(kTextModeCenter);
        TextOutputSelectFont(upperLayers.GetFontRSID(kMessageFont));
        upperLayers.DrawOverlayBackground(0, 0, width, height);
        if (!TextOutputDrawDirect(frameBufferLower.width / 2, frameBufferLower.height / 2 - lineOffset, "%s", text))
            return 0;
        gInRenderLoop = 0;
        RenderEndDisplay1();
        if (!RenderDoneScreen()) return 0;
    }
    return 1;
}
