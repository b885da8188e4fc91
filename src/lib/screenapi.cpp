// The screen API's state and the frame loop of a running screen. The overlay stack and the
// transitions stand above the library, so they are reached through hooks registered at start-up.
#include "lib/screenapi.h"

#include "lib/textoutput.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/utilities.h"

SCREENTAG currentScreen;
int screenResult = 0;
int screenChanged = 0;
int apiScreenWidth = 640;
int apiScreenHeight = 480;
DS3_bitmap_tag* destinationBitmap = nullptr;
int clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
DS3_bitmap_tag* screenBuffer = nullptr;
DisplaySafeArea displaySafeArea;
DisplaySafeArea displaySafeAreaUpper;

static ScreenFrameHooks frameHooks = {};

void ScreenSetFrameHooks(const ScreenFrameHooks& hooks) { frameHooks = hooks; }

static int OverlayUp() { return frameHooks.overlayExists && frameHooks.overlayExists(); }
static int OverlayInput() { return frameHooks.overlayHandleInput ? frameHooks.overlayHandleInput() : 1; }
static int OverlaysUpdated() { return frameHooks.overlayUpdate ? frameHooks.overlayUpdate() : 1; }
static int TransitionUpdated() { return frameHooks.updateTransition ? frameHooks.updateTransition() : 1; }

int ScreenInitializeAPI()
{
    currentScreen = SCREENTAG{};
    screenResult = kScreenResultRun;
    apiScreenWidth = 640;
    apiScreenHeight = 480;
    return 1;
}

int ScreenSelect(SCREENTAG* screen)
{
    if (screen) currentScreen = *screen;
    screenResult = screen ? kScreenResultRun : kScreenResultQuit;
    screenChanged = 1;
    return 1;
}

int ScreenGetResult() { return screenResult; }

int ScreenSetResult(int result)
{
    screenResult = result;
    return result;
}

int RunAPIScreen()
{
    // The handlers are taken once: a screen selected meanwhile runs on the next call, and this
    // call still closes with the handlers it opened with.
    const SCREENTAG screen = currentScreen;

    if (done) return ScreenSetResult(kScreenResultQuit);

    screenChanged = 0;
    if (screen.openHandler && !screen.openHandler()) return ScreenSetResult(kScreenResultHandlerFailed);

    while (screenChanged == 0 && screenResult == kScreenResultRun) {
        if (done) break;
        if (!RenderStartScreen()) break;
        int drawn = screen.drawHandler ? screen.drawHandler() : 1;
        if (!RenderDoneScreen() || !drawn) break;

        ReadControls(0);
        int handled = OverlayUp() ? OverlayInput() : (screen.inputHandler ? screen.inputHandler() : 1);
        if (!handled) break;

        if (!OverlaysUpdated() || !TransitionUpdated()) return 0;
        TextOutputUpdateCursorTimer();
    }

    if (screen.closeHandler && !screen.closeHandler()) ScreenSetResult(kScreenResultHandlerFailed);
    return screenResult;
}

// The centred 99 % area of a frame buffer of w x h pixels.
static void ComputeSafeArea(DisplaySafeArea* area, int w, int h)
{
    area->width = int(float(w) * 0.99f);
    area->height = int(float(h) * 0.99f);
    area->left = (w - area->width) >> 1;
    area->top = (h - area->height) >> 1;
    area->right = area->left + area->width;
    area->bottom = area->top + area->height;
    area->centerX = (2 * area->left + area->width) >> 1;
    area->centerY = (2 * area->top + area->height) >> 1;
}

int ScreenChangeDisplayMode()
{
    ComputeSafeArea(&displaySafeAreaUpper, frameBuffer.width, frameBuffer.height);
    ComputeSafeArea(&displaySafeArea, frameBufferLower.width, frameBufferLower.height);
    displaySafeArea.percentWidth = 0.99f;
    displaySafeArea.percentHeight = 0.99f;
    screenBuffer = &frameBufferLower;
    return ScreenSetDrawingDestination(&frameBufferLower);
}

int ScreenSetDrawingDestination(DS3_bitmap_tag* bitmap)
{
    destinationBitmap = bitmap;
    clipLeft = 0;
    clipTop = 0;
    clipRight = bitmap ? bitmap->width : 0;
    clipBottom = bitmap ? bitmap->height : 0;
    return 1;
}

int ScreenSetClipping(int left, int top, int right, int bottom)
{
    if (left >= 0) clipLeft = left;
    if (top >= 0) clipTop = top;
    if (right >= 0) clipRight = right;
    if (bottom >= 0) clipBottom = bottom;
    return 1;
}

int ClipScreenPoly(void* poly, int sx, int sy, int x, int y, int w, int h)
{
    if (x >= clipRight || y >= clipBottom || x + w <= clipLeft || y + h <= clipTop) return 1;

    const int callerX = x, callerW = w, callerY = y, callerH = h;
    if (x < clipLeft) {
        int d = clipLeft - x;
        sx += d;
        w -= d;
        x = clipLeft;
    }
    if (callerX + callerW > clipRight) w -= callerX + callerW - clipRight;
    if (y < clipTop) {
        int d = clipTop - y;
        sy += d;
        h -= d;
        y = clipTop;
    }
    if (callerY + callerH > clipBottom) h -= callerY + callerH - clipBottom;
    return DrawScreenPoly(poly, sx, sy, x, y, w, h);
}

int MouseIsActive() { return 0; }
