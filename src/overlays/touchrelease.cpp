// The last step of the stylus shot set-up: the bowler walks up at once and the player flicks the
// ball grip upwards; the fastest frame of the flick sets the power and where the grip crosses the
// line sets the hook. It shares the walk-up opening and the meter drawing with the power step
// (shotsetup) and its speed table (power).
#include "overlays/touchrelease.h"

#include "game/actors.h"
#include "game/animation.h"
#include "game/ball.h"
#include "game/characters.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "game/scoring.h"
#include "lib/resourceids.h"
#include "lib/textoutput.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/overlaystrings.h"
#include "overlays/pausemenu.h"
#include "overlays/power.h"
#include "overlays/shotsetup.h"
#include "overlays/touchposition.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "shell/touchbuttons.h"

static const int kBackgroundImage = kImageTouchReleaseBackground;
static const int kPowerBarImage = kImageTouchReleaseMeter;
static const int kBallImage = kImageTouchReleaseBall;
// The grip's place and size at rest, and the line near the top that launches the ball.
static const int kGripX = 110;
static const int kGripY = 175;
static const int kGripWidth = 97;
static const int kGripHeight = 64;
static const int kGripMinX = 2;
static const int kGripMaxX = 221;
static const int kLaunchLineY = 65;
// Power points per pixel of upward travel in one frame.
static const float kPowerPerPixel = 2.0f;

static int overlayActive = 0;
static float velFactor = 0.0f;
static float hookFactor = 0.0f;
static int releaseFrame = 61;
static int lastY = kGripY;
static float hookRot = 0.0f;
static TouchButton_tag* backButton = nullptr;
static TouchButton_tag* sliderButton = nullptr;

static float Clamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

int StartDSTouchReleaseOverlay()
{
    return ShotPushStep(overlayActive, DSTouchReleaseOpenHandler, DSTouchReleaseDrawHandler, DSTouchReleaseUpdateHandler, DSTouchReleaseInputHandler, DSTouchReleaseCloseHandler);
}

int DSTouchReleaseOpenHandler()
{
    overlayActive = 1;
    velFactor = 0.0f;
    hookFactor = 0.0f;
    hookRot = 0.0f;
    lastY = kGripY;
    releaseFrame = ShotReleaseFrame();
    ShotOpenApproachStep();
    backButton = NewBoxButton(kReleaseBackWell);
    sliderButton = NewTouchButton(kGripX, kGripY, kGripWidth, kGripHeight);
    if (!backButton || !sliderButton) return 0;
    sliderButton->moveableX = 1;
    sliderButton->moveableY = 1;
    sliderButton->minX = kGripMinX;
    sliderButton->maxX = kGripMaxX;
    sliderButton->minY = 0;
    return 1;
}

int DSTouchReleaseUpdateHandler()
{
    UpdateTouchButton(backButton);
    UpdateTouchButton(sliderButton);
    return 1;
}

// The launch, as the grip crosses the line: speed from the power, hook from how far the grip is
// off its start, and for a nearly straight first ball a push of the heading that shrinks with
// the bowler's accuracy.
static void Launch()
{
    testOptions.initialBallVel = GetDSBallSpeed(velFactor);
    hookFactor = Clamp(float(sliderButton->x - kGripX) / float(sliderButton->maxX - sliderButton->minX) * 2.0f, -1.0f, 1.0f);

    const TITLE_PlayerInfoStruct* p = ShotPlayer();
    const float size = hookFactor < 0.0f ? -hookFactor : hookFactor;
    if (gGameType != kGameSpares && p && p->currFrameBallIndex == 0 && size > 0.03f && size < 0.15f) {
        const float a = ShotAccuracyShare();
        const float push = (hookFactor > 0.0f ? 1.0f - hookFactor : -1.0f - hookFactor) * 0.75f * (1.0f - a);
        testOptions.initialBallHeading += push;
    }
    ShotSetBallParams(hookFactor);
    SetControlState(kControlThrowing);
    ShotStartDelivery();
}

static int StylusDown()
{
    const DS3_controller* pad = controllers[0].controller;
    return pad && pad->touchData.isTouching;
}

int DSTouchReleaseInputHandler()
{
    if (!sliderButton) return 0;
    const int s = GetControlState();
    if (s < kControlThrowing && (ShotReleased(kButtonB) || (backButton && backButton->pressed))) {
        ShotClick();
        OverlayExit();
        StartDSTouchPositionOverlay();
        return 1;
    }
    if (s < kControlReleased) {
        if (sliderButton->pressed) lastY = sliderButton->y;
        // The grip stands where the last update left it, while the stylus was still down: a
        // flick lifted in the frame after the grip crossed the line is a throw all the same.
        if (s < kControlThrowing && sliderButton->dy != 0) {
            // The fastest frame of the flick so far sets the power.
            const float flick = kPowerPerPixel * float(lastY - sliderButton->y);
            velFactor = Clamp(flick > velFactor ? flick : velFactor, 0.0f, 100.0f);
            if (sliderButton->y < kLaunchLineY) Launch();
            lastY = sliderButton->y;
        }
        if (GetControlState() < kControlThrowing && !StylusDown()) {
            // Lifted before the line: the grip goes back, the power reached so far stays.
            sliderButton->x = kGripX;
            sliderButton->y = kGripY;
        }
    }
    if (s == kControlThrowing) {
        const actor_tag* bowler = ShotBowler();
        if (bowler && bowler->animInfo.animationFrame >= float(releaseFrame)) ShotLetGo();
    }
    if (ShotReleased(kButtonStart)) StartPauseMenuOverlay();
    return 1;
}

int DSTouchReleaseDrawHandler()
{
    const int released = GetControlState() >= kControlReleased;
    const int launched = GetControlState() >= kControlThrowing;
    if (!DrawOverlayBitmap(GetOverlayRSID(kBackgroundImage), 0, 0)) return 0;
    if (!released) NoteOverlayButtons({kReleaseBackWell});
    // Only the mouse throws here: a player at the keys is told so above the lane.
    if (!released && (!ShotText(kShotBodyFont, kTextModeCenter, 160, 2, HintString(kHintFlickWithMouse)) ||
                      !ShotText(kShotBodyFont, kTextModeCenter, 40, 188, "{3}") ||
                      !ShotText(kShotBodyFont, kTextModeCenter, 43, kShotLabelY, PauseString(5))))
        return 0;
    if (!ShotDrawMeter(GetOverlayRSID(kPowerBarImage), launched ? velFactor : 0.0f, 221, 28)) return 0;
    // The ball spins the way it hooks once it is on its way.
    hookRot = launched ? hookRot + hookFactor * 5.0f : 0.0f;
    DS3_bitmap_tag* ball = OverlayBitmap(GetOverlayRSID(kBallImage));
    int w = 0, h = 0;
    if (!ball || !OverlayBitmapSize(GetOverlayRSID(kBallImage), &w, &h)) return 0;
    ScreenPolyData quad = {ball, 0, 0, w, h, 160, 222, w, h, hookFactor < 0.0f ? kPolyMirrorX : 0};
    return DrawScreenPolyRotEx(&quad, hookRot);
}

int DSTouchReleaseCloseHandler()
{
    FreeTouchButton(&backButton);
    FreeTouchButton(&sliderButton);
    overlayActive = 0;
    return 1;
}
