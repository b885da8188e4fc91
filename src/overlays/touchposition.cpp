// The position step of the stylus shot set-up: the knob places the bowler and a handle above it
// sets the aim, so that one step does what the buttons do in two. The opening and the labels are
// those of the button position step (shotsetup); the handle, which follows the knob and keeps
// the heading, is this step's own.
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
static const int kHandleY = 31;
static const int kHandleWidth = 30;
static const int kHandleHeight = 60;
static const float kMaxHeading = 10.0f;

static int overlayActive = 0;
static ShotPositionStep step = {kLaneHalfWidth, nullptr, nullptr, nullptr};
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
    if (!step.sliderButton || !angleButton) return;
    angleButton->minX = step.sliderButton->x + kw / 2 - 55;
    angleButton->maxX = step.sliderButton->x + kw / 2 + 25;
    angleButton->x = HandleX(step.sliderButton->x, kw);
}

int StartDSTouchPositionOverlay()
{
    return ShotPushStep(overlayActive, DSTouchPositionOpenHandler, DSTouchPositionDrawHandler, DSTouchPositionUpdateHandler, DSTouchPositionInputHandler, DSTouchPositionCloseHandler);
}

int DSTouchPositionOpenHandler()
{
    overlayActive = 1;
    // The band is fixed for as long as this step is up.
    if (!ShotOpenPositionStep(kKnobImage, &step)) return 0;
    angleButton = NewTouchButton(step.sliderButton->x, kHandleY, kHandleWidth, kHandleHeight);
    if (!angleButton) return 0;
    angleButton->moveableX = 1;
    FollowKnob(ShotKnobWidth(kKnobImage));
    return 1;
}

int DSTouchPositionUpdateHandler()
{
    UpdateTouchButton(step.nextButton);
    UpdateTouchButton(step.backButton);
    UpdateTouchButton(step.sliderButton);
    UpdateTouchButton(angleButton);
    return 1;
}

int DSTouchPositionInputHandler()
{
    if (!step.sliderButton || !angleButton) return 0;
    const int kw = ShotKnobWidth(kKnobImage);
    const float d = ShotHandOffset();
    float& heading = testOptions.initialBallHeading;

    if (allInput.x != 0.0f) {
        heading = Clamp(heading + allInput.x * 0.1f, -kMaxHeading, kMaxHeading);
        angleButton->x = HandleX(step.sliderButton->x, kw);
    }
    const joystickState in = OverlayInput();
    const int left = (in.buttons & kButtonLeft) != 0;
    const int right = (in.buttons & kButtonRight) != 0;
    if (left || right) {
        ShotWalkBowler(left ? -kShotWalkStep : kShotWalkStep, step.maxX);
        step.sliderButton->x = ShotKnobX(ShotBallX(), step.maxX, kw);
        FollowKnob(kw);
    }
    if (step.sliderButton->dx != 0) {
        ShotSetBowlerX(ShotKnobBowlerX(step.sliderButton->x, kw, step.maxX, d));
        FollowKnob(kw);
    }
    if (angleButton->dx != 0)
        heading = Clamp(float(angleButton->x - (step.sliderButton->x + kw / 2) + 15) * 0.025f * 10.0f, -kMaxHeading,
                        kMaxHeading);

    ShotEndPositionInput(step.nextButton, StartDSTouchReleaseOverlay, step.backButton);
    return 1;
}

int DSTouchPositionDrawHandler()
{
    const float t = (ShotBallX() + step.maxX) / (2.0f * step.maxX);
    if (!ShotDrawPositionStep(kBackgroundImage, GeneralOverlayString(5)) ||
        !ShotText(kShotTitleFont, kTextModeCenter, 160, 178, GeneralOverlayString(4)))
        return 0;
    // The lane and the aim arrow above the knob, the arrow turned by the heading.
    int wl = 0, hl = 0;
    if (!ShotImageSize(GetOverlayRSID(kArrowImage), &wl, &hl, 0)) return 0;
    const int m = int(float(271 - wl) * t) + wl / 2 + 20;
    return DrawOverlayBitmapRotated(GetOverlayRSID(kLaneImage), m, 97, 0.0f) &&
           DrawOverlayBitmapRotated(GetOverlayRSID(kArrowImage), m, hl / 2 + 33, testOptions.initialBallHeading * 2.0f) &&
           DrawOverlayMark(GetOverlayRSID(kKnobImage), ShotKnobX(ShotBallX(), step.maxX, ShotKnobWidth(kKnobImage)), kShotKnobY);
}

int DSTouchPositionCloseHandler()
{
    ShotClosePositionStep(&step);
    FreeTouchButton(&angleButton);
    overlayActive = 0;
    return 1;
}
