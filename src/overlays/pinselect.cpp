// The pin-selection overlay: a pin triangle on the lower screen with one touch button per pin, a
// pulsing cursor, and NEXT and TOGGLE. NEXT stands the chosen pins on the deck, parks the others
// and goes on to the shot steps; the camera looks at the pin deck meanwhile. A computer bowler
// takes the pins as they are chosen after a short hold and bowls from here, so that the deck stays
// on the lower screen while its ball rolls.
#include "overlays/pinselect.h"

#include "game/camera.h"
#include "game/computer.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/pins.h"
#include "game/records.h"
#include "lib/resourceids.h"
#include "lib/textoutput.h"
#include "overlays/minigameturn.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/overlaystrings.h"
#include "overlays/pausemenu.h"
#include "overlays/shotsetup.h"
#include "platform/input.h"
#include "platform/frame.h"
#include "platform/quads.h"
#include "platform/sound.h"
#include "shell/settings.h"
#include "shell/touchbuttons.h"

static const int kPinImage = 3295, kBackground = 3296, kHighlight = 3297;
static const float kPulseStep = 0.09f;

static int overlayActive = 0;
static int pinUpright[kLastPin] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
static int selectedPin = 0;
static float animParam = 0.0f, updateParam = kPulseStep;
static int computerHold = 0;
// Set once a computer has taken the chosen pins: it bowls, and the camera follows its throw.
static int computerBowling = 0;
static OverlayTouchButton* nextButton = nullptr;
static OverlayTouchButton* toggleButton = nullptr;
static OverlayTouchButton* pinButton[kLastPin] = {};

// The cursor's moves by pin index 0..9: toward the front (DOWN) and toward the back (UP). UP from
// pin 2 reaches pin 4, so DOWN from pin 4 comes back to pin 2.
static const int kDown[kLastPin] = {0, 0, 0, 1, 2, 2, 3, 4, 4, 5};
static const int kUp[kLastPin] = {1, 3, 4, 6, 7, 8, 6, 7, 8, 9};

int PinSelectChosen(int pin) { return pin >= kFirstPin && pin <= kLastPin ? pinUpright[pin - 1] : 0; }
int PinSelectCursor() { return selectedPin + 1; }
int DSPinSelectOverlayActive() { return overlayActive; }

int StartDSPinSelectOverlay()
{
    // A computer's ball ends with the overlay it was bowled from still open: the next ball is
    // chosen afresh.
    if (overlayActive && !computerBowling) return 1;
    MiniGameClearOverlays();
    const OVERLAYTAG overlay = {DSPinSelectOpenHandler, DSPinSelectDrawHandler, DSPinSelectUpdateHandler,
                                DSPinSelectInputHandler, DSPinSelectCloseHandler, 0};
    return OverlaySelect(&overlay);
}

// Where pin index 0..9 stands in the triangle, for a pin image of w x h.
static void PinPosition(int i, int w, int h, int* x, int* y)
{
    const int hw = w / 2, hh = h / 2;
    const int xs[kLastPin] = {163 - hw, 166 - w - hw, 160 + hw, 171 - 2 * w - hw, 163 - hw,
                              156 + w + hw, 174 - 3 * w - hw, 166 - w - hw, 160 + hw, 149 + 2 * w + hw};
    const int back = 181 - 2 * h - hh;
    const int ys[kLastPin] = {186 - h, 185 - h - hh, 185 - h - hh, 182 - 2 * h, 182 - 2 * h,
                              182 - 2 * h, back, back, back, back};
    *x = xs[i];
    *y = ys[i];
}

// The pin deck seen from above and in front, the triangle whole in view (the deck's first pin
// stands 1440 units down the lane); held while the pins are chosen, since the start of a new ball
// places the shot camera after the overlay has opened.
static void LookAtPinDeck()
{
    CameraPosition& c = gameCameras[0];
    const CameraPosition& shot = gameCameras[2];
    c = {0.0f, 1400.0f, 110.0f, 140.0f, shot.cameraYangle, 0.0f, 40.0f, shot.cameraViewingDistance};
    gTransitionGameCamera = 0;
}

int DSPinSelectOpenHandler()
{
    overlayActive = 1;
    computerHold = 0;
    computerBowling = 0;
    updateParam = kPulseStep;
    animParam = 0.0f;
    LookAtPinDeck();
    TextOutputSelectFont(GetFontRSID(kGameFontBody));
    int w = 0, h = 0;
    if (!OverlayBitmapSize(GetOverlayRSID(kPinImage), &w, &h)) return 0;
    nextButton = NewBoxButton(kPinSelectNextWell);
    toggleButton = NewBoxButton(kPinSelectToggleWell);
    if (!nextButton || !toggleButton) return 0;
    for (int i = 0; i < kLastPin; ++i) {
        int x = 0, y = 0;
        PinPosition(i, w, h, &x, &y);
        if (!(pinButton[i] = NewTouchButton(x, y, w, h))) return 0;
    }
    return 1;
}

static int Text(int font, int mode, int x, int y, const char* text)
{
    if (!TextOutputSelectFont(GetFontRSID(font))) return 0;
    TextOutputSetMode(mode);
    return DrawOverlayText(x, y, text);
}

int DSPinSelectDrawHandler()
{
    // The computer answers no prompt and moves no cursor: it is shown the deck alone.
    const int person = !MiniGameIsComputer(gCurrPlayer);
    if (!DrawOverlayBitmap(GetOverlayRSID(kBackground), 0, 0)) return 0;
    if (!Text(kGameFontTitles, kTextModeLeft, 12, 12, GeneralOverlayString(11))) return 0;
    if (person) NoteOverlayButtons({kPinSelectNextWell, kPinSelectToggleWell});
    if (person && (!DrawOverlayBitmap(GetOverlayRSID(kImagePromptWell), kPinSelectNextWell.x, kPinSelectNextWell.y) ||
                   !DrawOverlayBitmap(GetOverlayRSID(kImagePromptWell), kPinSelectToggleWell.x, kPinSelectToggleWell.y) ||
                   !Text(kGameFontBody, kTextModeLeft, 6, 184, "{1}") ||
                   !Text(kGameFontBody, kTextModeCenter, 37, 219, GeneralOverlayString(1)) ||
                   !Text(kGameFontBody, kTextModeLeft, 221, 184, "{3}") ||
                   !Text(kGameFontBody, kTextModeCenter, 253, 219, GeneralOverlayString(12))))
        return 0;
    int w = 0, h = 0;
    if (!OverlayBitmapSize(GetOverlayRSID(kPinImage), &w, &h)) return 1;
    for (int i = 0; i < kLastPin; ++i) {
        int x = 0, y = 0;
        PinPosition(i, w, h, &x, &y);
        if (pinUpright[i] && !DrawOverlayMark(GetOverlayRSID(kPinImage), x, y)) return 1;
        if (!person || i != selectedPin) continue;
        RenderSetAlphaLevel(int(animParam * 255.0f));
        const int drawn = DrawOverlayBitmap(GetOverlayRSID(kHighlight), x, y);
        RenderSetAlphaLevel(255);
        if (!drawn) return 1;
    }
    animParam += updateRatio * updateParam;
    if (animParam >= 1.0f) {
        animParam = 1.0f;
        updateParam = -kPulseStep;
    } else if (animParam <= 0.0f) {
        animParam = 0.0f;
        updateParam = kPulseStep;
    }
    return 1;
}

int DSPinSelectUpdateHandler()
{
    if (!computerBowling) LookAtPinDeck();
    if (MiniGameIsComputer(gCurrPlayer)) return 1;
    UpdateTouchButton(nextButton);
    UpdateTouchButton(toggleButton);
    for (OverlayTouchButton* b : pinButton) UpdateTouchButton(b);
    return 1;
}

// The chosen pins on their spots, the others parked below the lane.
static void PlaceChosenPins()
{
    SoundPlayResource(kSoundChime, gGameOptions.soundFXVolume, 1);
    for (int pin = kFirstPin; pin <= kLastPin; ++pin) {
        if (!pins[pin].theActor) continue;
        if (pinUpright[pin - 1])
            ResetPinActor(pin);
        else
            ParkPin(pin);
    }
}

static int Touched(const OverlayTouchButton* b) { return b && b->pressed; }

int DSPinSelectInputHandler()
{
    if (MiniGameIsComputer(gCurrPlayer)) {
        TITLE_PlayerInfoStruct* p = &gPlayerInfo[gCurrPlayer];
        // After a moment to see the pins it takes, the computer bowls from here, as it bowls from
        // the score sheet in the other games: the lower screen never goes blank meanwhile. A
        // skips its ball as on the score sheet; the skip's end of ball opens the deck afresh.
        if (!computerBowling) {
            if (++computerHold >= kComputerHoldFrames) {
                PlaceChosenPins();
                computerBowling = 1;
            }
        } else if (MiniGamePressed(kButtonA) && AISkipOffered(p)) {
            return SkipAIBowler(p);
        } else if (!gGamePaused && !GameReturnPending()) {
            UpdateAIBowler(p);
        }
        if (MiniGamePressed(kButtonStart)) StartPauseMenuOverlay();
        return 1;
    }
    if (MiniGamePressed(kButtonA) || Touched(nextButton)) {
        PlaceChosenPins();
        OverlayExit();
        return MiniGameNextThrow();
    }
    if (MiniGamePressed(kButtonB) || Touched(toggleButton)) pinUpright[selectedPin] = pinUpright[selectedPin] == 0 ? 1 : 0;
    if (MiniGamePressed(kButtonDown))
        selectedPin = kDown[selectedPin];
    else if (MiniGamePressed(kButtonUp))
        selectedPin = kUp[selectedPin];
    else if (MiniGamePressed(kButtonLeft) && selectedPin > 0)
        --selectedPin;
    else if (MiniGamePressed(kButtonRight) && selectedPin < kLastPin - 1)
        ++selectedPin;
    for (int i = 0; i < kLastPin; ++i)
        if (Touched(pinButton[i])) selectedPin = i;
    if (MiniGamePressed(kButtonStart)) StartPauseMenuOverlay();
    return 1;
}

int DSPinSelectCloseHandler()
{
    FreeTouchButton(&nextButton);
    FreeTouchButton(&toggleButton);
    for (OverlayTouchButton*& b : pinButton) FreeTouchButton(&b);
    overlayActive = 0;
    return 1;
}
