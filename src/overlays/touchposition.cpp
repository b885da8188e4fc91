#include "overlays/touchposition.h"

#include "game/camera.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/lane.h"
#include "game/records.h"
#include "lib/resourceids.h"
#include "lib/textoutput.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/overlaystrings.h"
#include "overlays/pausemenu.h"
#include "overlays/shotsetup.h"
#include "overlays/touchrelease.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "shell/touchbuttons.h"

static const int kBackgroundImage = kImageTouchPositionBackground;
static const int kArrowImage = kImageTouchPositionArrow;
static const int kLaneImage = kImageTouchPositionLane;
static const int kKnobImage = kImageKnobTouch;
static const int kKnobY = 145;
static const int kHandleY = 31;
static const int kHandleWidth = 30;
static const int kHandleHeight = 60;
static const float kMaxHeading = 10.0f;
static const float kStepPerFrame = 1.08f;

static int overlayActive = 0;
static int overlayLeft = 0, overlayTop = 0, overlayWidth = 0, overlayHeight = 0;
static float maxX = kLaneHalfWidth;
static TouchButton_tag* nextButton = nullptr;
static TouchButton_tag* backButton = nullptr;
static TouchButton_tag* sliderButton = nullptr;
static TouchButton_tag* angleButton = nullptr;

static float Clamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

// The aim handle stands 4 pixels per degree of heading off the knob's centre.
static int HandleX(int knobX, int kw)
{
    return int(double(knobX) + double(testOptions.initialBallHeading) * 0.1 * 40.0 + kw / 2 - 15);
}

// The handle's drag limits follow the knob.
static void FollowKnob(int kw)
{
    if (!sliderButton || !angleButton) return;
    angleButton->minX = sliderButton->x + kw / 2 - 55;
    angleButton->maxX = sliderButton->x + kw / 2 + 25;
    angleButton->x = HandleX(sliderButton->x, kw);
}

int StartDSTouchPositionOverlay()
{
    if (overlayActive) return 1;
    OVERLAYTAG overlay = {DSTouchPositionOpenHandler, DSTouchPositionDrawHandler, DSTouchPositionUpdateHandler,
                          DSTouchPositionInputHandler, DSTouchPositionCloseHandler, 0};
    OverlaySelect(&overlay);
    return 1;
}

int DSTouchPositionOpenHandler()
{
    overlayWidth = 320;
    overlayHeight = 240;
    overlayLeft = 0;
    overlayTop = 0;
    overlayActive = 1;
    SetControlState(kControlPosition);
    PauseGame(0);
    // The band is fixed for as long as this step is up.
    maxX = ShotBandHalfWidth();
    TextOutputSelectFont(GetFontRSID(kShotBodyFont));
    nextButton = NewTouchButton(226, 173, 50, 50);
    backButton = NewTouchButton(31, 173, 50, 50);
    if (!nextButton || !backButton) return 0;
    sliderButton = ShotNewKnob(kKnobImage, maxX);
    if (!sliderButton) return 0;
    angleButton = NewTouchButton(sliderButton->x, kHandleY, kHandleWidth, kHandleHeight);
    if (!angleButton) return 0;
    angleButton->moveableX = 1;
    FollowKnob(ShotKnobWidth(kKnobImage));
    return 1;
}

int DSTouchPositionUpdateHandler()
{
    UpdateTouchButton(nextButton);
    UpdateTouchButton(backButton);
    UpdateTouchButton(sliderButton);
    UpdateTouchButton(angleButton);
    return 1;
}

int DSTouchPositionInputHandler()
{
    if (!sliderButton || !angleButton) return 0;
    const int kw = ShotKnobWidth(kKnobImage);
    const float d = ShotHandOffset();
    float& heading = testOptions.initialBallHeading;

    if (allInput.x != 0.0f) {
        heading = Clamp(heading + allInput.x * 0.1f, -kMaxHeading, kMaxHeading);
        angleButton->x = HandleX(sliderButton->x, kw);
    }
    const int left = (allInput.buttons & kButtonLeft) != 0;
    const int right = (allInput.buttons & kButtonRight) != 0;
    if (left || right) {
        ShotWalkBowler(left ? -kStepPerFrame : kStepPerFrame, maxX);
        sliderButton->x = ShotKnobX(ShotBallX(), maxX, kw);
        FollowKnob(kw);
    }
    if (sliderButton->dx != 0) {
        ShotSetBowlerX(ShotKnobBowlerX(sliderButton->x, kw, maxX, d));
        FollowKnob(kw);
    }
    if (angleButton->dx != 0)
        heading = Clamp(float(angleButton->x - (sliderButton->x + kw / 2) + 15) * 0.025f * 10.0f, -kMaxHeading,
                        kMaxHeading);

    gameCameras[0].cameraX = ShotBallX();

    ShotStepButtons(nextButton, StartDSTouchReleaseOverlay, backButton, ShotBackToStart);
    return 1;
}

int DSTouchPositionDrawHandler()
{
    const float t = (ShotBallX() + maxX) / (2.0f * maxX);
    DrawOverlayBitmap(GetOverlayRSID(kBackgroundImage), 0, 0);
    ShotText(kShotTitleFont, kTextModeCenter, 160, 2, GeneralOverlayString(5));
    ShotText(kShotTitleFont, kTextModeCenter, 160, 178, GeneralOverlayString(4));
    ShotText(kShotBodyFont, kTextModeLeft, 26, 188, "{3}");
    ShotText(kShotBodyFont, kTextModeCenter, 57, 219, PauseString(5));
    ShotText(kShotBodyFont, kTextModeLeft, 221, 188, "{1}");
    ShotText(kShotBodyFont, kTextModeCenter, 253, 219, GeneralOverlayString(3));
    // The lane and the aim arrow above the knob, the arrow turned by the heading.
    int wl = 0, hl = 0;
    ShotImageSize(GetOverlayRSID(kArrowImage), &wl, &hl, 0);
    const int m = int(float(271 - wl) * t) + wl / 2 + 20;
    DrawOverlayBitmapRotated(GetOverlayRSID(kLaneImage), m, 97, 0.0f);
    DrawOverlayBitmapRotated(GetOverlayRSID(kArrowImage), m, hl / 2 + 33, testOptions.initialBallHeading * 2.0f);
    DrawOverlayBitmap(GetOverlayRSID(kKnobImage), ShotKnobX(ShotBallX(), maxX, ShotKnobWidth(kKnobImage)), kKnobY);
    return 1;
}

int DSTouchPositionCloseHandler()
{
    FreeTouchButton(&nextButton);
    FreeTouchButton(&backButton);
    FreeTouchButton(&sliderButton);
    FreeTouchButton(&angleButton);
    overlayActive = 0;
    return 1;
}
