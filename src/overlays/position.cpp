// The position step of the button shot set-up: the bowler walks across the approach with the
// circle pad or the slider knob. Its opening, labels and knob arithmetic are shared with the
// stylus's position step (shotsetup); what is its own is the walk, the bumper band's clamp and
// the track marker.
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

static int overlayActive = 0;
static ShotPositionStep step = {kLaneHalfWidth, nullptr, nullptr, nullptr};

int StartDSStandardPositionOverlay()
{
    return ShotPushStep(overlayActive, DSStandardPositionOpenHandler, DSStandardPositionDrawHandler, DSStandardPositionUpdateHandler, DSStandardPositionInputHandler, DSStandardPositionCloseHandler);
}

int DSStandardPositionOpenHandler()
{
    overlayActive = 1;
    return ShotOpenPositionStep(kKnobImage, &step);
}

int DSStandardPositionUpdateHandler()
{
    UpdateTouchButton(step.nextButton);
    UpdateTouchButton(step.backButton);
    UpdateTouchButton(step.sliderButton);
    return 1;
}

int DSStandardPositionInputHandler()
{
    const float d = ShotHandOffset();
    // With the bumpers up the band is narrower and the shot goes straight.
    if (gPlayerInfo[0].bumpers) {
        step.maxX = 35.0f;
        float x = ShotBowlerX();
        if (x < d - step.maxX) x = d - step.maxX;
        if (x > d + step.maxX) x = d + step.maxX;
        ShotSetBowlerX(x);
        testOptions.initialBallHeading = 0.0f;
    } else {
        step.maxX = kLaneHalfWidth;
    }

    const float s = allInput.x;
    if (s != 0.0f) {
        ShotWalkBowler(s * kShotWalkStep, step.maxX);
        if (step.sliderButton) step.sliderButton->x = ShotKnobX(ShotBallX(), step.maxX, ShotKnobWidth(kKnobImage));
    }
    if (step.sliderButton && step.sliderButton->dx != 0)
        ShotSetBowlerX(ShotKnobBowlerX(step.sliderButton->x, ShotKnobWidth(kKnobImage), step.maxX, d));

    ShotEndPositionInput(step.nextButton, StartDSStandardAngleOverlay, step.backButton);
    return 1;
}

int DSStandardPositionDrawHandler()
{
    const float t = (ShotBallX() + step.maxX) / (2.0f * step.maxX);
    if (!ShotDrawPositionStep(kBackgroundImage, GeneralOverlayString(4))) return 0;
    int w = 0;
    if (!ShotImageSize(kTrackMarkerImage, &w, nullptr, 0) ||
        !DrawOverlayMark(kTrackMarkerImage, int(float(271 - w) * t) + 20, 33))
        return 0;
    const int kw = ShotKnobWidth(kKnobImage);
    return DrawOverlayMark(GetOverlayRSID(kKnobImage), int(float(271 - kw) * t) + 22, kShotKnobY);
}

int DSStandardPositionCloseHandler()
{
    ShotClosePositionStep(&step);
    overlayActive = 0;
    return 1;
}
