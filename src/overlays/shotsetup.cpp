// The pieces the shot set-up steps have in common, in one place so that the button and stylus
// steps that do the same thing do it with the same code: the player and bowler, the band and the
// walk, ratings as shares, the approach and delivery, the hand-over of the throw, the knob, the
// step buttons, and the drawing helpers that report a missing picture.
#include "overlays/shotsetup.h"

#include "game/actors.h"
#include "game/animation.h"
#include "game/ball.h"
#include "game/camera.h"
#include "game/characters.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/lane.h"
#include "game/records.h"
#include "game/scoring.h"
#include "lib/textoutput.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/overlaystrings.h"
#include "overlays/pausemenu.h"
#include "overlays/pinselect.h"
#include "overlays/position.h"
#include "overlays/scoreoverlay.h"
#include "overlays/sparesoverlays.h"
#include "overlays/touchposition.h"
#include "platform/camera.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "platform/skeleton.h"
#include "platform/sound.h"
#include "shell/touchbuttons.h"

static const float kBandHalfWidth = kLaneHalfWidth;
static const float kBumperBandHalfWidth = 35.0f;
static const int kKnobLeft = 22;
static const int kKnobTravel = 271;
static const int kKnobRight = 293;
static const int kApproachAnimation = 0x516;
static const int kDeliveryAnimation = 0x517;
static const float kDeliveryTween = 0.15f;

TITLE_PlayerInfoStruct* ShotPlayer()
{
    if (gCurrPlayer < 0 || gCurrPlayer >= kMaxPlayers) return nullptr;
    return &gPlayerInfo[gCurrPlayer];
}

actor_tag* ShotBowler()
{
    TITLE_PlayerInfoStruct* p = ShotPlayer();
    return p ? p->theActor : nullptr;
}

float ShotBandHalfWidth() { return gPlayerInfo[0].bumpers ? kBumperBandHalfWidth : kBandHalfWidth; }

float ShotHandOffset()
{
    const actor_tag* bowler = ShotBowler();
    return bowler ? bowler->deflection : 0.0f;
}

float ShotBowlerX()
{
    const actor_tag* bowler = ShotBowler();
    return bowler ? bowler->logicalX : 0.0f;
}

void ShotSetBowlerX(float x)
{
    actor_tag* bowler = ShotBowler();
    if (bowler) bowler->logicalX = bowler->Xlocation = x;
}

float ShotBallX() { return bowlingBall ? bowlingBall->Xlocation : 0.0f; }

void ShotWalkBowler(float by, float maxX)
{
    const float d = ShotHandOffset();
    float x = ShotBowlerX() + by;
    if (by > 0.0f && x > d + maxX) x = d + maxX;
    if (by < 0.0f && x < d - maxX) x = d - maxX;
    ShotSetBowlerX(x);
}

void ShotStartApproach()
{
    actor_tag* bowler = ShotBowler();
    if (!bowler) return;
    SetCharacterAnimation(bowler, kApproachAnimation);
    StartCharacterAnimation(bowler);
    bowler->animationHandler = ForwardLoopHandler;
}

void ShotStartDelivery()
{
    actor_tag* bowler = ShotBowler();
    if (!bowler) return;
    SetCharacterAnimationTween(bowler, kDeliveryAnimation, kDeliveryTween);
    StartCharacterAnimation(bowler);
}

void ShotSetBallParams(float hookFactor)
{
    testOptions.initialBallRotx = 0.0f;
    testOptions.initialBallXangle = 0.0f;
    testOptions.initialBallRoty = ShotHookSpin(testOptions.initialBallVel, hookFactor, ShotHookShare());
    SetInitialBallParams(testOptions.initialBallVel, testOptions.initialBallHeading, 0.0f, testOptions.initialBallRoty,
                         0.0f);
}

// A rating and its additions as a share of 100, never above 1. The ratings are bytes, summed as
// whole numbers.
static float Share(int sum)
{
    const float share = float(sum) * 0.01f;
    return share > 1.0f ? 1.0f : share;
}

float ShotAccuracyShare()
{
    const TITLE_PlayerInfoStruct* p = ShotPlayer();
    if (!p) return 0.0f;
    return Share(int(p->playerData.throwAccuracy) + int(p->playerData.throwAccuracyMod));
}

float ShotHookShare()
{
    const TITLE_PlayerInfoStruct* p = ShotPlayer();
    if (!p) return 0.0f;
    const int ball = p->ballSelected >= 0 && p->ballSelected < kBallsPerPlayer ? p->ballSelected : 0;
    return Share(int(p->playerData.throwHookMax) + int(p->playerData.throwHookMod) + int(p->ballData[ball].hookMod));
}

float ShotHookSpin(float vel, float hook, float share)
{
    return (vel / kShotFullHookSpeed) * -hook * (share * kShotFullHookSpin);
}

int ShotReleaseFrame()
{
    const TITLE_PlayerInfoStruct* p = ShotPlayer();
    const actor_tag* bowler = ShotBowler();
    // The bowler's own record decides, as for the bowler's drawing.
    if (bowler && bowler->rosterIndex < kMaxPlayers) p = &gPlayerInfo[bowler->rosterIndex];
    return ReleaseFrameForBody(p ? p->playerData.bodyMeshRSID : 0);
}

void ShotLetGo()
{
    actor_tag* bowler = ShotBowler();
    if (bowlingBall) {
        bowlingBall->team = 1;
        bowlingBall->visible = 1;
        if (bowler) {
            ComputeActorXform(bowler);
            ComputeSkeletonXforms(bowler);
            RightHandPosition(bowler, &bowlingBall->Xlocation, &bowlingBall->Ylocation, &bowlingBall->Zlocation);
        }
    }
    SetControlState(kControlReleased);
}

int ShotKnobX(float ballX, float maxX, int knobWidth)
{
    const double t = (double(ballX) + maxX) / (2.0 * maxX);
    return int(t * double(kKnobTravel - knobWidth) + kKnobLeft);
}

float ShotKnobBowlerX(int knobX, int knobWidth, float maxX, float d)
{
    float x = (float(knobX - kKnobLeft) / float(kKnobTravel - knobWidth)) * 2.0f * maxX - maxX + d;
    if (x < d - maxX) x = d - maxX;
    if (x > d + maxX) x = d + maxX;
    return x;
}

int ShotKnobWidth(int knobImage)
{
    int w = 0;
    ShotImageSize(GetOverlayRSID(knobImage), &w, nullptr, kShotFallbackKnobSize);
    return w;
}

TouchButton_tag* ShotNewKnob(int knobImage, float maxX)
{
    int kw = 0, kh = 0;
    ShotImageSize(GetOverlayRSID(knobImage), &kw, &kh, kShotFallbackKnobSize);
    TouchButton_tag* knob = NewTouchButton(ShotKnobX(ShotBallX(), maxX, kw), kShotKnobY, kw, kh);
    if (!knob) return nullptr;
    knob->moveableX = 1;
    knob->minX = kKnobLeft;
    knob->maxX = kKnobRight - kw;
    return knob;
}

void ShotClick() { SoundPlayResource(kShotClickSound, gGameOptions.soundFXVolume, 1); }

int ShotReleased(uint16_t button)
{
    const joystickState in = OverlayInput();
    return ButtonReleased(&in, button);
}

int ShotStartFirstStep()
{
    return GetControlMode() == kControlModeButtons ? StartDSStandardPositionOverlay() : StartDSTouchPositionOverlay();
}

static int Pressed(const TouchButton_tag* button) { return button && button->pressed; }

int ShotStepButtons(const TouchButton_tag* next, int (*startNext)(), const TouchButton_tag* back, int (*startBack)())
{
    if (startNext && (ShotReleased(kButtonA) || Pressed(next))) {
        ShotClick();
        OverlayExit();
        startNext();
        return 1;
    }
    if (startBack && (ShotReleased(kButtonB) || Pressed(back))) {
        ShotClick();
        OverlayExit();
        startBack();
        return 1;
    }
    if (ShotReleased(kButtonStart)) StartPauseMenuOverlay();
    return 0;
}

int ShotBackToStartTurn()
{
    return gGameType == kGameSpares ? StartDSSparesStartTurnOverlay() : StartDSScoreOverlay();
}

int ShotBackToStart()
{
    if (gGameType == kGamePinSelect) return StartDSPinSelectOverlay();
    return ShotBackToStartTurn();
}

int ShotImageSize(int rsid, int* w, int* h, int fallback)
{
    int iw = fallback, ih = fallback;
    const int found = OverlayBitmap(rsid) && OverlayBitmapSize(rsid, &iw, &ih);
    if (!found) iw = ih = fallback;
    if (w) *w = iw;
    if (h) *h = ih;
    return found ? 1 : 0;
}

int ShotText(int font, int mode, int x, int y, const char* text)
{
    if (!TextOutputSelectFont(GetFontRSID(font))) return 0;
    TextOutputSetMode(mode);
    return DrawOverlayText(x, y, text);
}

int ShotPushStep(int active, int (*open)(), int (*draw)(), int (*update)(), int (*input)(), int (*close)())
{
    if (active) return 1;
    const OVERLAYTAG overlay = {open, draw, update, input, close, 0};
    return OverlaySelect(&overlay);
}

int ShotOpenPositionStep(int knobImage, ShotPositionStep* step)
{
    SetControlState(kControlPosition);
    PauseGame(0);
    step->maxX = ShotBandHalfWidth();
    TextOutputSelectFont(GetFontRSID(kShotBodyFont));
    step->nextButton = NewBoxButton(kStepNextWell);
    step->backButton = NewBoxButton(kStepBackWell);
    if (!step->nextButton || !step->backButton) return 0;
    step->sliderButton = ShotNewKnob(knobImage, step->maxX);
    return step->sliderButton ? 1 : 0;
}

void ShotClosePositionStep(ShotPositionStep* step)
{
    FreeTouchButton(&step->nextButton);
    FreeTouchButton(&step->backButton);
    FreeTouchButton(&step->sliderButton);
}

void ShotEndPositionInput(const TouchButton_tag* next, int (*startNext)(), const TouchButton_tag* back)
{
    gameCameras[0].cameraX = ShotBallX();
    ShotStepButtons(next, startNext, back, ShotBackToStart);
}

int ShotDrawPositionStep(int background, const char* title)
{
    NoteOverlayButtons({kStepBackWell, kStepNextWell});
    return DrawOverlayBitmap(GetOverlayRSID(background), 0, 0) &&
           ShotText(kShotTitleFont, kTextModeCenter, 160, 2, title) &&
           ShotText(kShotBodyFont, kTextModeLeft, 26, 188, "{3}") &&
           ShotText(kShotBodyFont, kTextModeCenter, 57, kShotLabelY, PauseString(5)) &&
           ShotText(kShotBodyFont, kTextModeLeft, 221, 188, "{1}") &&
           ShotText(kShotBodyFont, kTextModeCenter, 253, kShotLabelY, GeneralOverlayString(3));
}

void ShotOpenApproachStep()
{
    SetControlState(kControlPower);
    ShotStartApproach();
    PauseGame(0);
    TextOutputSelectFont(GetFontRSID(kShotBodyFont));
}

int ShotDrawMeter(int image, float share, int x, int y)
{
    DS3_bitmap_tag* meter = OverlayBitmap(image);
    int w = 0, h = 0;
    if (!meter || !OverlayBitmapSize(image, &w, &h)) return 0;
    const int fill = int(share * 0.01f * float(h));
    return fill > 0 ? DrawScreenPoly(meter, 0, h - fill, x, y + h - fill, w, fill) : 1;
}
