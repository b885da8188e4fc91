// The power step of the button shot set-up: a meter runs by itself while the bowler walks up, A
// stops it, and the stopped value, corrected for accuracy, becomes the ball's speed through the
// speed table here (which the stylus's flick uses too). The hook step follows at once.
#include "overlays/power.h"

#include "game/actors.h"
#include "game/animation.h"
#include "game/characters.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "lib/resourceids.h"
#include "lib/textoutput.h"
#include "overlays/hook.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/overlaystrings.h"
#include "overlays/pausemenu.h"
#include "overlays/shotsetup.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "shell/touchbuttons.h"

static const int kBackgroundImage = kImagePowerBackground;
static const int kMeterImage = kImagePowerMeter;
static const float kMilesPerHourToFeetPerSecond = 1.4666667f;
// An accurate bowler's stopped value moves this far back against the meter's travel.
static const float kAccuracyCorrection = 15.0f;

static int overlayActive = 0;
static float velFactor = 0.0f;
static float playerAccFactor = 0.0f;
static float ballChangeInc = 0.0f;
static TouchButton_tag* nextButton = nullptr;

// Ball speeds in miles per hour: a row per band of the bowler's power rating (30 to 100 in steps
// of 5), a column per tenth of the meter.
static const float ballSpeedLUT[15][11] = {
    {11.00f, 11.60f, 12.20f, 12.80f, 13.40f, 14.00f, 14.60f, 15.20f, 15.80f, 16.40f, 17.00f},
    {11.14f, 11.81f, 12.47f, 13.14f, 13.80f, 14.46f, 15.13f, 15.79f, 16.46f, 17.12f, 17.79f},
    {11.29f, 12.01f, 12.74f, 13.47f, 14.20f, 14.93f, 15.66f, 16.39f, 17.11f, 17.84f, 18.57f},
    {11.43f, 12.22f, 13.01f, 13.81f, 14.60f, 15.39f, 16.19f, 16.98f, 17.77f, 18.56f, 19.36f},
    {11.57f, 12.43f, 13.29f, 14.14f, 15.00f, 15.86f, 16.71f, 17.57f, 18.43f, 19.29f, 20.14f},
    {11.71f, 12.64f, 13.56f, 14.48f, 15.40f, 16.32f, 17.24f, 18.16f, 19.09f, 20.01f, 20.93f},
    {11.86f, 12.84f, 13.83f, 14.81f, 15.80f, 16.79f, 17.77f, 18.76f, 19.74f, 20.73f, 21.71f},
    {12.00f, 13.05f, 14.10f, 15.15f, 16.20f, 17.25f, 18.30f, 19.35f, 20.40f, 21.45f, 22.50f},
    {12.14f, 13.26f, 14.37f, 15.49f, 16.60f, 17.71f, 18.83f, 19.94f, 21.06f, 22.17f, 23.29f},
    {12.29f, 13.46f, 14.64f, 15.82f, 17.00f, 18.18f, 19.36f, 20.54f, 21.71f, 22.89f, 24.07f},
    {12.43f, 13.67f, 14.91f, 16.16f, 17.40f, 18.64f, 19.89f, 21.13f, 22.37f, 23.61f, 24.86f},
    {12.57f, 13.88f, 15.19f, 16.49f, 17.80f, 19.11f, 20.41f, 21.72f, 23.03f, 24.34f, 25.64f},
    {12.71f, 14.09f, 15.46f, 16.83f, 18.20f, 19.57f, 20.94f, 22.31f, 23.69f, 25.06f, 26.43f},
    {12.86f, 14.29f, 15.73f, 17.16f, 18.60f, 20.04f, 21.47f, 22.91f, 24.34f, 25.78f, 27.21f},
    {13.00f, 14.50f, 16.00f, 17.50f, 19.00f, 20.50f, 22.00f, 23.50f, 25.00f, 26.50f, 28.00f},
};

float GetDSBallSpeed(float power)
{
    const TITLE_PlayerInfoStruct* p = ShotPlayer();
    int s = p ? int(p->playerData.throwPower) + int(p->playerData.throwPowerMod) : 30;
    if (s < 30) s = 30;
    if (s > 100) s = 100;
    const int row = int(double(s) * 0.2 - 6.0);
    // A meter value outside 0..100 cannot come from the meter; it is held to the table's edge.
    int column = int(power * 0.1f);
    if (column < 0) column = 0;
    if (column > 10) column = 10;
    return ballSpeedLUT[row][column] * kMilesPerHourToFeetPerSecond;
}

int StartDSStandardPowerOverlay()
{
    return ShotPushStep(overlayActive, DSStandardPowerOpenHandler, DSStandardPowerDrawHandler, DSStandardPowerUpdateHandler, DSStandardPowerInputHandler, DSStandardPowerCloseHandler);
}

int DSStandardPowerOpenHandler()
{
    overlayActive = 1;
    velFactor = 0.0f;
    // A less accurate bowler's meter runs faster: 1.5 a frame for a perfect one, 11 at worst.
    playerAccFactor = 1.0f - ShotAccuracyShare();
    ballChangeInc = playerAccFactor * 9.5f + 1.5f;
    // The approach loops while the meter runs.
    ShotOpenApproachStep();
    nextButton = NewBoxButton(kPowerNextWell);
    return nextButton ? 1 : 0;
}

int DSStandardPowerUpdateHandler()
{
    UpdateTouchButton(nextButton);
    return 1;
}

int DSStandardPowerInputHandler()
{
    velFactor += ballChangeInc;
    if (velFactor > 100.0f) {
        ballChangeInc = -ballChangeInc;
        velFactor = 100.0f;
    }
    if (velFactor < 0.0f) {
        velFactor = 0.0f;
        ballChangeInc = -ballChangeInc;
    }

    if (ShotReleased(kButtonA) || (nextButton && nextButton->pressed)) {
        ShotClick();
        OverlayExit();
        // The stopped value moves back against the meter's travel, further for a more accurate
        // bowler; at the top it moves down.
        const float correction = (1.0f - playerAccFactor) * kAccuracyCorrection;
        if (ballChangeInc > 0.0f || velFactor == 100.0f)
            velFactor -= correction;
        else
            velFactor += correction;
        if (velFactor < 0.0f) velFactor = 0.0f;
        if (velFactor > 100.0f) velFactor = 100.0f;
        testOptions.initialBallVel = GetDSBallSpeed(velFactor);
        SetControlState(kControlThrowing);
        ShotStartDelivery();
        StartDSStandardHookOverlay();
        return 1;
    }
    if (ShotReleased(kButtonStart)) StartPauseMenuOverlay();
    return 1;
}

int DSStandardPowerDrawHandler()
{
    NoteOverlayButtons({kPowerNextWell});
    return DrawOverlayBitmap(GetOverlayRSID(kBackgroundImage), 0, 0) &&
           ShotText(kShotTitleFont, kTextModeCenter, 160, 192, GeneralOverlayString(7)) &&
           ShotText(kShotBodyFont, kTextModeLeft, 255, 183, "{1}") &&
           ShotText(kShotBodyFont, kTextModeCenter, 287, 218, GeneralOverlayString(6)) &&
           ShotDrawMeter(GetOverlayRSID(kMeterImage), velFactor, 80, 21);
}

int DSStandardPowerCloseHandler()
{
    FreeTouchButton(&nextButton);
    overlayActive = 0;
    return 1;
}
