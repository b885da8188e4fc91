// The title screen: the title image as the lower screen's background and the prompt "Tap the
// Touch Screen to continue" under it, and the game's name over the lane on the upper screen. A touch of the lower screen away
// from its side edges, or the A button let go on its own, leaves for the main menu.
//
// The title takes the shared front-end resources (the sounds, the menu music) rather than a range
// of its own: the leaving sound plays on into the main menu, which uses the same resources, and a
// title reached again after an attract game finds them loaded instead of loading them twice.
#include "screens/titlescreen.h"

#include "game/records.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "overlays/overlaydraw.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/sound.h"
#include "screens/screenstack.h"
#include "shell/globals.h"
#include "shell/savetexts.h"
#include "shell/settings.h"

static SCREENTAG titleScreen = {TitleScreenOpenHandler, TitleScreenDrawHandler, TitleScreenInputHandler,
                                TitleScreenCloseHandler};
static int screenActive = 0;
static float animParam = 0.0f;
static float updateParam = 0.0f;
static int timer = 0;
static int rsid = -1;
static int imageShown = 0;
// The upper screen's picture while the title waits; -1 when the game data has none.
static int upperRsid = -1;

enum { kPromptText = 5, kPromptFont = 3077, kTouchLeft = 5, kTouchRight = 315 };

int SelectTitleScreen()
{
    ScreenSelect(&titleScreen);
    return 1;
}

int TitleScreenActive() { return screenActive; }

int TitleScreenOpenHandler()
{
    if (screenActive) return 1;
    if (!InitScreens(0)) return 0;
    rsid = gHiDef * 25 + gLanguage + kTitleImage;
    imageShown = ResourceType(rsid) != 0;
    if (imageShown) {
        if (!ReadResource(rsid)) return PrintError("title: the title image %d cannot be read", rsid);
        if (!RenderSelectBackgroundResource(rsid)) return PrintError("title: the title image cannot be shown");
    }
    upperRsid = gHiDef * 25 + gLanguage + kTitleUpperImage;
    if (ResourceType(upperRsid) == 0 || !ReadResource(upperRsid)) upperRsid = -1;
    // Without its image the title still runs, so that it can be left.
    updateParam = 0.05f;
    animParam = 1.0f;
    timer = 0;
    screenActive = 1;
    gRestartOverlayActive = 0;
    return 1;
}

// The upper screen's picture, whole, in the eye's pass.
static void DrawUpperPicture()
{
    void* handle = nullptr;
    if (upperRsid < 0 || !GetResourceHandle(upperRsid, &handle) || !handle) return;
    auto* bitmap = static_cast<DS3_bitmap_tag*>(handle);
    RenderSetAlphaLevel(255);
    DrawScreenPoly(bitmap, 0, 0, 0, 0, bitmap->width, bitmap->height);
}

int TitleScreenDrawHandler()
{
    if (ScreenGetResult() != kScreenResultRun) return 1;
    RenderStartDisplay0L();
    DrawUpperPicture();
    RenderEndDisplay0L();
    RenderStartDisplay0R();
    DrawUpperPicture();
    RenderEndDisplay0R();
    RenderStartDisplay1();
    ScreenSetDrawingDestination(screenBuffer);
    RenderSetPenColor(128, 128, 128);
    RenderSetAlphaLevel(255);
    if (animParam >= 1.0f) updateParam = -0.05f;
    if (animParam <= 0.0f) {
        updateParam = 0.05f;
        animParam = 0.0f;
    }
    animParam += updateParam;
    timer += updateRate;
    // The prompt is centred; the text mode goes back to what the menus' text placement expects.
    const int previousMode = textMode;
    TextOutputSetMode(2);
    TextOutputSelectFont(GetFontRSID(kPromptFont));
    TextOutputDrawDirect(screenLowerBufferHalfWidth, displaySafeArea.bottom - 35, "%s",
                         checkSpaceStrings[gLanguage][kPromptText]);
    TextOutputSetMode(previousMode);
    RenderEndDisplay1();
    return 1;
}

int TitleScreenInputHandler()
{
    if (!screenActive) return 1;
    for (int i = 0; i < kNumControllerStates; ++i)
        if (controllers[i].controller) gValidControllerList[i] = 1;

    const joystickState& pad = controllers[0];
    const DS3_TouchData* touch = pad.controller ? &pad.controller->touchData : nullptr;
    const int touched = touch && touch->isTouching && touch->x > kTouchLeft && touch->x < kTouchRight;
    const int letGo = (pad.edges & ~pad.buttons) == kButtonA;
    if (touched || letGo) {
        SetOverlayControllerNum(0);
        ScreenSetResult(kTabGroupMainMenu);
        screenActive = 0;
        SoundPlayResource(kSoundChime, gGameOptions.soundFXVolume, 1);
    }
    return 1;
}

int TitleScreenCloseHandler()
{
    // Closed, the title opens afresh next time, even when it was closed before it was left.
    screenActive = 0;
    if (!RenderSelectBackgroundResource(0)) return 0;
    if (upperRsid >= 0) {
        const int upper = upperRsid;
        upperRsid = -1;
        if (!DisposeResource(upper)) return PrintError("title: the upper screen's picture cannot be freed");
    }
    if (imageShown) {
        imageShown = 0;
        if (!DisposeResource(rsid)) return PrintError("title: the title image cannot be freed");
    }
    return 1;
}
