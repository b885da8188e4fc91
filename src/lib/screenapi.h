// The screen API: one full-screen mode of the front end at a time, the screen result through
// which screens, the game and start-up tell the screen loop what to run next, the 2D drawing
// destination with its clip rectangle, and the safe areas of both displays.
#pragma once

#include "platform/bitmap.h"

typedef int (*SCREENHANDLER)();

struct SCREENTAG {
    SCREENHANDLER openHandler;   // once when the screen starts running
    SCREENHANDLER drawHandler;   // once per frame, inside the frame's drawing
    SCREENHANDLER inputHandler;  // once per frame after the controls are read, when no overlay is open
    SCREENHANDLER closeHandler;  // once when the screen stops
};
typedef SCREENTAG SCREEN;

struct DisplaySafeArea {
    int left, top, right, bottom;
    int centerX, centerY;
    int width, height;
    float percentWidth, percentHeight;
    int show;  // draw the safe-area frame
};

// Results the screen API writes itself (a screen whose step fails while it runs writes
// kScreenResultHandlerFailed too); the others mean what the screen loop makes of them.
enum { kScreenResultRun = 0, kScreenResultQuit = -1, kScreenResultHandlerFailed = -1000 };

extern SCREENTAG currentScreen;
extern int screenResult;
extern int screenChanged;
extern int apiScreenWidth;
extern int apiScreenHeight;
extern DS3_bitmap_tag* destinationBitmap;
extern int clipLeft, clipTop, clipRight, clipBottom;
extern DS3_bitmap_tag* screenBuffer;
extern DisplaySafeArea displaySafeArea;       // lower screen
extern DisplaySafeArea displaySafeAreaUpper;  // upper screen

int ScreenInitializeAPI();
int ScreenSelect(SCREENTAG* screen);
int RunAPIScreen();

// What a running screen does each frame above this library: the overlay stack's input and update
// (overlays/) and the screen transitions (game/). Those modules stand higher, so they are
// registered at start-up (RegisterGameModules); a hook left null means there is none: no overlay
// up, nothing to update, no transition running.
struct ScreenFrameHooks {
    int (*overlayExists)();
    int (*overlayHandleInput)();
    int (*overlayUpdate)();
    int (*updateTransition)();
};
void ScreenSetFrameHooks(const ScreenFrameHooks& hooks);
int ScreenGetResult();
int ScreenSetResult(int result);
int ScreenChangeDisplayMode();
int ScreenSetDrawingDestination(DS3_bitmap_tag* bitmap);
int ScreenSetClipping(int left, int top, int right, int bottom);
int ClipScreenPoly(void* poly, int sx, int sy, int x, int y, int w, int h);
int MouseIsActive();
