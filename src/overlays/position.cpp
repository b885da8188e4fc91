// The position step of the button shot set-up: the bowler walks across the approach with the
// circle pad or the slider knob. Its opening, labels and knob arithmetic are shared with the
// stylus's position step (shotsetup); what is its own is the walk, the bumper band's clamp and
// the track marker.
#include "overlays/position.h"

#include "game/camera.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "lib/textoutput.h"
#include "overlays/angle.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/overlaystrings.h"
#include "overlays/pausemenu.h"
#include "overlays/shotsetup.h"
#include "platform/input.h"
#include "shell/touchbuttons.h"

static const int kBackgroundImage = 0xcc8;
static const int kTrackMarkerImage = 0xcc9;  // one image for both display variants
static const int kKnobImage = 0xcc1;
static const int kKnobY = 145;
static const float kStepPerFrame = 1.08f;

static int overlayActive = 0;
static float maxX = 45.0f;
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
    overlayActive = 1;
    return ShotOpenPositionStep(kKnobImage, &maxX, &nextButton, &backButton, &sliderButton);
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
        maxX = 45.0f;
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
    if (!DrawOverlayBitmap(GetOverlayRSID(kBackgroundImage), 0, 0)) return 0;
    if (!ShotText(kShotTitleFont, kTextModeCenter, 160, 2, GeneralOverlayString(4)) || !ShotDrawPositionLabels()) return 0;
    int w = 0;
    if (!ShotImageSize(kTrackMarkerImage, &w, nullptr, 0) ||
        !DrawOverlayBitmap(kTrackMarkerImage, int(float(271 - w) * t) + 20, 33))
        return 0;
    const int kw = ShotKnobWidth(kKnobImage);
    return DrawOverlayBitmap(GetOverlayRSID(kKnobImage), int(float(271 - kw) * t) + 22, kKnobY);
}

int DSStandardPositionCloseHandler()
{
    FreeTouchButton(&nextButton);
    FreeTouchButton(&backButton);
    FreeTouchButton(&sliderButton);
    overlayActive = 0;
    return 1;
}
