#include "overlays/position.h"

#include "game/camera.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/lane.h"
#include "game/records.h"
#include "lib/resourceids.h"
#include "lib/textoutput.h"
#include "overlays/angle.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/overlaystrings.h"
#include "overlays/pausemenu.h"
#include "overlays/shotsetup.h"
#include "platform/input.h"
#include "shell/touchbuttons.h"

static const int kBackgroundImage = kImagePositionBackground;
static const int kTrackMarkerImage = kImagePositionMarker;  // one image for both display variants
static const int kKnobImage = kImageKnobButtons;
static const int kKnobY = 145;
static const float kStepPerFrame = 1.08f;

static int overlayActive = 0;
static int overlayLeft = 0, overlayTop = 0, overlayWidth = 0, overlayHeight = 0;
static float maxX = kLaneHalfWidth;
static TouchButton_tag* nextButton = nullptr;
static TouchButton_tag* backButton = nullptr;
static TouchButton_tag* sliderButton = nullptr;

int StartDSStandardPositionOverlay()
{
    if (overlayActive) return 1;
    OVERLAYTAG overlay = {DSStandardPositionOpenHandler, DSStandardPositionDrawHandler, DSStandardPositionUpdateHandler,
                          DSStandardPositionInputHandler, DSStandardPositionCloseHandler, 0};
    OverlaySelect(&overlay);
    return 1;
}

int DSStandardPositionOpenHandler()
{
    overlayWidth = 320;
    overlayHeight = 240;
    overlayLeft = 0;
    overlayTop = 0;
    overlayActive = 1;
    SetControlState(kControlPosition);
    PauseGame(0);
    maxX = ShotBandHalfWidth();
    TextOutputSelectFont(GetFontRSID(kShotBodyFont));
    nextButton = NewTouchButton(226, 173, 50, 50);
    backButton = NewTouchButton(31, 173, 50, 50);
    if (!nextButton || !backButton) return 0;
    sliderButton = ShotNewKnob(kKnobImage, maxX);
    return sliderButton ? 1 : 0;
}

int DSStandardPositionUpdateHandler()
{
    UpdateTouchButton(nextButton);
    UpdateTouchButton(backButton);
    UpdateTouchButton(sliderButton);
    return 1;
}

int DSStandardPositionInputHandler()
{
    const float d = ShotHandOffset();
    // With the bumpers up the band is narrower and the shot goes straight.
    if (gPlayerInfo[0].bumpers) {
        maxX = 35.0f;
        float x = ShotBowlerX();
        if (x < d - maxX) x = d - maxX;
        if (x > d + maxX) x = d + maxX;
        ShotSetBowlerX(x);
        testOptions.initialBallHeading = 0.0f;
    } else {
        maxX = kLaneHalfWidth;
    }

    const float s = allInput.x;
    if (s != 0.0f) {
        ShotWalkBowler(s * kStepPerFrame, maxX);
        if (sliderButton) sliderButton->x = ShotKnobX(ShotBallX(), maxX, ShotKnobWidth(kKnobImage));
    }
    if (sliderButton && sliderButton->dx != 0)
        ShotSetBowlerX(ShotKnobBowlerX(sliderButton->x, ShotKnobWidth(kKnobImage), maxX, d));

    // The view follows the bowler.
    gameCameras[0].cameraX = ShotBallX();

    ShotStepButtons(nextButton, StartDSStandardAngleOverlay, backButton, ShotBackToStart);
    return 1;
}

int DSStandardPositionDrawHandler()
{
    const float t = (ShotBallX() + maxX) / (2.0f * maxX);
    DrawOverlayBitmap(GetOverlayRSID(kBackgroundImage), 0, 0);
    ShotText(kShotTitleFont, kTextModeCenter, 160, 2, GeneralOverlayString(4));
    ShotText(kShotBodyFont, kTextModeLeft, 26, 188, "{3}");
    ShotText(kShotBodyFont, kTextModeCenter, 57, 219, PauseString(5));
    ShotText(kShotBodyFont, kTextModeLeft, 221, 188, "{1}");
    ShotText(kShotBodyFont, kTextModeCenter, 253, 219, GeneralOverlayString(3));
    int w = 0;
    if (ShotImageSize(kTrackMarkerImage, &w, nullptr, 0))
        DrawOverlayBitmap(kTrackMarkerImage, int(float(271 - w) * t) + 20, 33);
    const int kw = ShotKnobWidth(kKnobImage);
    DrawOverlayBitmap(GetOverlayRSID(kKnobImage), int(float(271 - kw) * t) + 22, kKnobY);
    return 1;
}

int DSStandardPositionCloseHandler()
{
    FreeTouchButton(&nextButton);
    FreeTouchButton(&backButton);
    FreeTouchButton(&sliderButton);
    overlayActive = 0;
    return 1;
}
