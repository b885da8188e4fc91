// The set-up menu before a person's throw: change the ball, show the lane oil, or go on to bowl
// through the shot set-up steps of the game's control mode (or back to the score sheet).
#include "overlays/startturn.h"

#include <cmath>
#include <cstdio>

#include "game/controls.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "lib/resourceids.h"
#include "lib/textoutput.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/overlaystrings.h"
#include "overlays/pausemenu.h"
#include "overlays/position.h"
#include "overlays/shotsetup.h"
#include "overlays/touchposition.h"
#include "platform/input.h"
#include "shell/touchbuttons.h"

static const int kButtonsBackground = kImageStartTurnButtons;
static const int kTouchBackground = kImageStartTurnTouch;
static const int kHeaderImage = kImageScoreBand;
static const double kKilogramsPerPound = 0.45359237;

static int overlayActive = 0;
static TouchButton_tag* nextButton = nullptr;
static TouchButton_tag* backButton = nullptr;
static TouchButton_tag* oilButton = nullptr;
static TouchButton_tag* ballButton = nullptr;

int StartDSStandardStartTurnOverlay()
{
    return ShotPushStep(overlayActive, DSStandardStartTurnOpenHandler, DSStandardStartTurnDrawHandler, DSStandardStartTurnUpdateHandler, DSStandardStartTurnInputHandler, DSStandardStartTurnCloseHandler);
}

int DSStandardStartTurnOverlayActive() { return overlayActive; }

int DSStandardStartTurnOpenHandler()
{
    overlayActive = 1;
    TextOutputSelectFont(GetFontRSID(kShotBodyFont));
    // Each button answers wherever the background draws it: the ball and oil rows on their words
    // as on their icons.
    nextButton = NewBoxButton(kStartTurnBowl);
    backButton = NewBoxButton(kStartTurnBack);
    oilButton = NewBoxButton(kStartTurnOilRow);
    ballButton = NewBoxButton(kStartTurnBallRow);
    return nextButton && backButton && oilButton && ballButton ? 1 : 0;
}

int DSStandardStartTurnUpdateHandler()
{
    UpdateTouchButton(nextButton);
    UpdateTouchButton(backButton);
    UpdateTouchButton(oilButton);
    UpdateTouchButton(ballButton);
    return 1;
}

static int Pressed(const TouchButton_tag* button) { return button && button->pressed; }

int DSStandardStartTurnInputHandler()
{
    if (ShotReleased(kButtonY) || Pressed(ballButton)) {
        if (TITLE_PlayerInfoStruct* p = ShotPlayer()) {
            p->ballSelected += 1;
            if (p->ballSelected > kBallsPerPlayer - 1 || p->ballSelected < 0) p->ballSelected = 0;
        }
    }
    if (ShotReleased(kButtonX) || Pressed(oilButton)) gGameOptions.drawOil = gGameOptions.drawOil == 0 ? 1 : 0;

    ShotStepButtons(nextButton, ShotStartFirstStep, backButton, ShotBackToStartTurn);
    return 1;
}

// The chosen ball on the BOWL button: its own picture over the button's ball, and its name and
// weight (from its mass in the ball property table) above it. Without the picture (the ball
// pictures are loaded with the game's balls) the button's own ball stays.
static int DrawChosenBall()
{
    const TITLE_PlayerInfoStruct* p = ShotPlayer();
    if (!p) return 1;
    const BallDataTag& ball = p->ballData[p->ballSelected >= 0 && p->ballSelected < kBallsPerPlayer ? p->ballSelected : 0];
    DrawOverlayBitmapScaled((kBallPictureGroup << 16) | ball.ballIndex, 208, 128, 60, 60);
    const int pounds = int(std::lround(double(ball.mass) / kKilogramsPerPound));
    char text[48];
    std::snprintf(text, sizeof text, BallString(ball.ballIndex / kBallWeightsPerCoverstock), pounds);
    return ShotText(kShotBodyFont, kTextModeCenter, 239, 106, text);
}

int DSStandardStartTurnDrawHandler()
{
    const int touch = GetControlMode() != kControlModeButtons;
    int headerWidth = 0;
    if (!ShotImageSize(GetOverlayRSID(kHeaderImage), &headerWidth, nullptr, 0)) return 0;
    if (!DrawOverlayBitmap(GetOverlayRSID(touch ? kTouchBackground : kButtonsBackground), 0, 0)) return 0;
    NoteOverlayButtons({kStartTurnBallRow, kStartTurnOilRow, kStartTurnBowl, kStartTurnBack});
    return DrawOverlayBitmap(GetOverlayRSID(kHeaderImage), 0, 8) &&
           ShotText(kShotTitleFont, kTextModeRight, headerWidth - 4, 0, GeneralOverlayString(2)) &&
           ShotText(kShotTitleFont, kTextModeLeft, 12, 59, ButtonString(21)) &&
           ShotText(kShotTitleFont, kTextModeLeft, 12, 120, ButtonString(20)) &&
           DrawChosenBall() && ShotText(kShotTitleFont, kTextModeCenter, 239, 199, GeneralOverlayString(3)) &&
           ShotText(kShotBodyFont, kTextModeCenter, 40, 188, "{3}") &&
           ShotText(kShotBodyFont, kTextModeCenter, 43, kShotLabelY, PauseString(5));
}

int DSStandardStartTurnCloseHandler()
{
    FreeTouchButton(&nextButton);
    FreeTouchButton(&backButton);
    FreeTouchButton(&oilButton);
    FreeTouchButton(&ballButton);
    overlayActive = 0;
    return 1;
}
