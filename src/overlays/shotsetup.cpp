#include "overlays/shotsetup.h"

#include "game/actors.h"
#include "game/animation.h"
#include "game/ball.h"
#include "game/characters.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/lane.h"
#include "game/records.h"
#include "lib/textoutput.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/pausemenu.h"
#include "overlays/position.h"
#include "overlays/scoreoverlay.h"
#include "overlays/touchposition.h"
#include "platform/camera.h"
#include "platform/input.h"
#include "platform/skeleton.h"
#include "platform/sound.h"
#include "shell/touchbuttons.h"

static const float kBandHalfWidth = kLaneHalfWidth;
static const float kBumperBandHalfWidth = 35.0f;
static const int kKnobLeft = 22;
static const int kKnobTravel = 271;
static const int kKnobRight = 293;
static const int kKnobY = 145;
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
    TouchButton_tag* knob = NewTouchButton(ShotKnobX(ShotBallX(), maxX, kw), kKnobY, kw, kh);
    if (!knob) return nullptr;
    knob->moveableX = 1;
    knob->minX = kKnobLeft;
    knob->maxX = kKnobRight - kw;
    return knob;
}

void ShotClick() { SoundPlayResource(kShotClickSound, gGameOptions.soundFXVolume, 1); }

int ShotReleased(uint16_t button) { return ButtonReleased(&allInput, button); }

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

int ShotBackToStart() { return StartDSScoreOverlay(); }

int ShotImageSize(int rsid, int* w, int* h, int fallback)
{
    int iw = fallback, ih = fallback;
    const int found = OverlayBitmap(rsid) && OverlayBitmapSize(rsid, &iw, &ih);
    if (!found) iw = ih = fallback;
    if (w) *w = iw;
    if (h) *h = ih;
    return found ? 1 : 0;
}

void ShotText(int font, int mode, int x, int y, const char* text)
{
    if (!TextOutputSelectFont(GetFontRSID(font))) return;
    TextOutputSetMode(mode);
    DrawOverlayText(x, y, text);
}
