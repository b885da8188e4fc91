// The angle step of the button shot set-up: the aim heading swings by itself, faster for a less
// accurate bowler and only towards the middle at the band's edge, until A stops it.
#include "overlays/angle.h"

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
#include "overlays/position.h"
#include "overlays/power.h"
#include "overlays/shotsetup.h"
#include "platform/input.h"
#include "shell/touchbuttons.h"

static const int kBackgroundImage = kImageAngleBackground;
static const int kArrowImage = kImageAngleArrow;
static const int kMarkerImage = kImageAngleMarker;
static const float kMaxHeading = 10.0f;

static int overlayActive = 0;
static float playerAccFactor = 0.0f;
static float ballChangeInc = 0.0f;
static float maxX = kLaneHalfWidth;
static TouchButton_tag* nextButton = nullptr;
static TouchButton_tag* backButton = nullptr;

int StartDSStandardAngleOverlay()
{
    return ShotPushStep(overlayActive, DSStandardAngleOpenHandler, DSStandardAngleDrawHandler, DSStandardAngleUpdateHandler, DSStandardAngleInputHandler, DSStandardAngleCloseHandler);
}

int DSStandardAngleOpenHandler()
{
    overlayActive = 1;
    // A less accurate bowler sees a faster swing: 0.16 a frame for a perfect one, 0.68 at worst.
    playerAccFactor = 1.0f - ShotAccuracyShare();
    ballChangeInc = playerAccFactor * 0.52f + 0.16f;
    SetControlState(kControlAngle);
    PauseGame(0);
    maxX = ShotBandHalfWidth();
    TextOutputSelectFont(GetFontRSID(kShotBodyFont));
    nextButton = NewBoxButton(kAngleNextWell);
    backButton = NewBoxButton(kAngleBackWell);
    return nextButton && backButton ? 1 : 0;
}

int DSStandardAngleUpdateHandler()
{
    UpdateTouchButton(nextButton);
    UpdateTouchButton(backButton);
    return 1;
}

int DSStandardAngleInputHandler()
{
    float& heading = testOptions.initialBallHeading;
    heading += ballChangeInc;

    maxX = kLaneHalfWidth;
    if (gPlayerInfo[0].bumpers) {
        maxX = 35.0f;
        const float d = ShotHandOffset();
        float x = ShotBowlerX();
        if (x < d - maxX) x = d - maxX;
        if (x > d + maxX) x = d + maxX;
        ShotSetBowlerX(x);
        gameCameras[0].cameraX = ShotBallX();
    }

    // At the edge of the band the swing only goes towards the middle.
    const float b = ShotBallX();
    float high = kMaxHeading, low = -kMaxHeading;
    if (b >= 0.0f)
        high = ((maxX - b) / maxX) * kMaxHeading;
    else
        low = ((b + maxX) / maxX) * -kMaxHeading;
    if (heading > high) {
        ballChangeInc = -ballChangeInc;
        heading = high;
    }
    if (heading < low) {
        ballChangeInc = -ballChangeInc;
        heading = low;
    }
    if (heading > kMaxHeading) heading = kMaxHeading;
    if (heading < -kMaxHeading) heading = -kMaxHeading;

    ShotStepButtons(nextButton, StartDSStandardPowerOverlay, backButton, StartDSStandardPositionOverlay);
    return 1;
}

int DSStandardAngleDrawHandler()
{
    const float t = (ShotBallX() + maxX) / (2.0f * maxX);
    NoteOverlayButtons({kAngleBackWell, kAngleNextWell});
    if (!DrawOverlayBitmap(GetOverlayRSID(kBackgroundImage), 0, 0) ||
        !ShotText(kShotTitleFont, kTextModeCenter, 160, 2, GeneralOverlayString(5)))
        return 0;
    int w1 = 0, w2 = 0;
    if (!ShotImageSize(GetOverlayRSID(kMarkerImage), &w1, nullptr, 0) ||
        !ShotImageSize(GetOverlayRSID(kArrowImage), &w2, nullptr, 0))
        return 0;
    const int x1 = int(float(w1 + 320) * t) - w1 / 2;
    const float arrowX = 68.0f + 184.0f * float(x1) / float(w2 + 320) + testOptions.initialBallHeading * 0.1f * 50.0f;
    return DrawOverlayMark(GetOverlayRSID(kMarkerImage), x1, 172) &&
           DrawOverlayMark(GetOverlayRSID(kArrowImage), int(arrowX), 79) &&
           ShotText(kShotBodyFont, kTextModeLeft, 7, 22, "{3}") &&
           ShotText(kShotBodyFont, kTextModeCenter, 39, 57, PauseString(5)) &&
           ShotText(kShotBodyFont, kTextModeLeft, 255, 22, "{1}") &&
           ShotText(kShotBodyFont, kTextModeCenter, 287, 57, GeneralOverlayString(6));
}

int DSStandardAngleCloseHandler()
{
    FreeTouchButton(&nextButton);
    FreeTouchButton(&backButton);
    overlayActive = 0;
    return 1;
}
