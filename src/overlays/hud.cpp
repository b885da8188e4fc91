// The heads-up display over the lane on the upper screen (name plate, standing pins, the aiming
// hint with the chosen ball, the speed after the release, cards, the spares score, the replay's
// last-ball picture) and the replay's skip panel on the lower one. Every picture it needs is
// checked and a missing one makes the draw fail, so that a test finds it; only the replay's
// last-ball picture is simply left out when it is missing.
#include "overlays/hud.h"

#include <cstdio>

#include "game/ball.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/pins.h"
#include "game/records.h"
#include "game/replay.h"
#include "game/scoring.h"
#include "lib/resourceids.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystrings.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "platform/video.h"
#include "shell/globals.h"
#include "shell/settings.h"

static float hookRot = 0.0f;

enum {
    kPinDiagram = kImagePinDiagram,
    kPinMarker = kImagePinMarker,
    kSpeedPlate = kImageSpeedPlate,
    kBallFrame = kImageBallFrame,
    kHookBadge = kImageHookBadge,
    kLastBallFrame = kImageLastBallFrame,
    kLastBallDigits = kImageLastBallDigits,
    kLastBallSpare = kImageSpareBanner,
    kLastBallStrike = kImageStrikeBanner,
    kLastBallNone = kImageMissBanners,
    kSparesPanel = kImageSparesPanel,
    kNamePlate = kImageNamePlate,
    kVideoFrame = kImageVideoFrame,
    kReplayPanel = kImageReplayPanel,
};
enum {
    kFontSpeed = kGameFontNumbers,
    kFontSpeedDot = kGameFontSmallNumbers,
    kFontSparesScore = kGameFontGoldNumbers,
    kFontName = kGameFontNames,
    kFontGameOver = kGameFontLargeGold,
    kFontHookMod = kGameFontTotals,
    kFontSkip = kGameFontBody,
};
static const int kCardGroup = kCardPictureGroup, kCardGroupHiDef = kCardPictureGroup + 1;
static const int kBallGroup = kBallPictureGroup, kBallGroupHiDef = kBallPictureGroup + 1;
static const int kDiagramOffset = 90;
static const float kFeetPerSecondToMPH = 0.00018939393f * 3600.0f;
static const float kHookSpin = 60.0f;

static int Ov(int id) { return GetOverlayRSID(id); }
static float Scale() { return gHiDefScaleFactor; }

static const TITLE_PlayerInfoStruct* Current()
{
    return gCurrPlayer >= 0 && gCurrPlayer < kMaxPlayers ? &gPlayerInfo[gCurrPlayer] : nullptr;
}
static int CurrentIsPerson() { return GetControllerAssignment(gCurrPlayer) != kAssignmentComputer; }
static int SettingUp() { return GetControlState() < kControlReleased; }

// ---- Pin diagram ----

int PinDiagramMarkerPosition(int pin, int bgH, int w, int h, int* x, int* y)
{
    if (pin < kFirstPin || pin > kLastPin || !x || !y) return 0;
    const int cx = screenBufferHalfWidth + kDiagramOffset;
    const int B = displaySafeArea.top + bgH;
    const int hw = w / 2, hh = h / 2;
    struct Spot {
        int x, y;
    };
    const Spot spots[10] = {
        {cx - hw, B - h - 2},
        {cx - hw - w, B - h - hh - 3},
        {cx + hw, B - h - hh - 3},
        {cx - hw - 2 * w + 1, B - 2 * h - 4},
        {cx - hw, B - 2 * h - 4},
        {cx + hw + w - 2, B - 2 * h - 4},
        {cx - hw - 3 * w + 2, B - 2 * h - hh - 5},
        {cx - hw - w, B - 2 * h - hh - 5},
        {cx + hw, B - 2 * h - hh - 5},
        {cx + hw + 2 * w - 2, B - 2 * h - hh - 5},
    };
    *x = spots[pin - 1].x;
    *y = spots[pin - 1].y;
    return 1;
}

int DrawPinDiagram()
{
    const int state = GetControlState();
    if (state != kControlPosition && state != kControlAngle) return 1;
    int W = 0, H = 0, w = 0, h = 0;
    if (!OverlayBitmapSize(Ov(kPinDiagram), &W, &H) || !OverlayBitmapSize(Ov(kPinMarker), &w, &h)) return 0;
    if (!DrawOverlayBitmap(Ov(kPinDiagram), screenBufferHalfWidth - W / 2 + kDiagramOffset, displaySafeArea.top))
        return 0;
    for (int k = kFirstPin; k <= kLastPin; ++k) {
        if (!pins[k].upright) continue;
        int x = 0, y = 0;
        PinDiagramMarkerPosition(k, H, w, h, &x, &y);
        if (!DrawOverlayBitmap(Ov(kPinMarker), x, y)) return 0;
    }
    return 1;
}

// ---- Speed ----

float BallSpeedMPH(float feetPerSecond, int* whole, int* tenth)
{
    // A speed below zero is no speed a ball can have: the plate shows 0.0, never a minus.
    const float mph = feetPerSecond > 0.0f ? feetPerSecond * kFeetPerSecondToMPH : 0.0f;
    // A hair above, so that 15.0 computed as 14.9999 still shows 15.0.
    const int tenths = int(mph * 10.0f + 0.001f);
    if (whole) *whole = tenths / 10;
    if (tenth) *tenth = tenths % 10;
    return mph;
}

int DrawMPH()
{
    int w = 0, h = 0;
    if (!OverlayBitmapSize(Ov(kSpeedPlate), &w, &h)) return 0;
    const int left = displaySafeArea.left, bottom = displaySafeArea.bottom;
    if (!DrawOverlayBitmap(Ov(kSpeedPlate), left + 13, bottom - h)) return 0;
    int whole = 0, tenth = 0;
    BallSpeedMPH(GetBallInitialVel(), &whole, &tenth);
    if (!TextOutputSelectFont(GetFontRSID(kFontSpeed))) return 0;
    TextOutputSetMode(kTextModeRight);
    if (!TextOutputDrawDirect(left + 48, bottom - h + 15, "%d", whole)) return 0;
    if (!TextOutputSelectFont(GetFontRSID(kFontSpeedDot))) return 0;
    TextOutputSetMode(kTextModeCenter);
    if (!TextOutputDrawDirect(left + 52, bottom - h + 12, "%s", ".")) return 0;
    return TextOutputDrawDirect(left + 62, bottom - h + 15, "%d", tenth);
}

// ---- Name plate ----

int DrawPlayerName()
{
    const TITLE_PlayerInfoStruct* p = Current();
    if (!p) return 0;
    int w = 0, h = 0;
    if (!OverlayBitmapSize(Ov(kNamePlate), &w, &h)) return 0;
    if (!DrawOverlayBitmap(Ov(kNamePlate), 0, displaySafeArea.top)) return 0;
    char names[64];
    std::snprintf(names, sizeof names, "%s %s", p->playerData.firstName, p->playerData.lastName);
    if (!TextOutputSelectFont(GetFontRSID(kFontName))) return 0;
    TextOutputSetMode(kTextModeRight);
    // The name sits on the plate's band, never above the screen's top (our name font is taller
    // than the plate's band, so the plate's own offset of 3 pixels up would cut its line).
    const int nameY = displaySafeArea.top + (h - TextOutputGetFontHeight()) / 2;
    if (!TextOutputDrawDirect(w - 4, nameY > 0 ? nameY : 0, "%s", names)) return 0;
    if (gGameOver) {
        if (!TextOutputSelectFont(GetFontRSID(kFontGameOver))) return 0;
        TextOutputSetMode(kTextModeCenter);
        return TextOutputDrawDirect(screenBufferHalfWidth, screenBufferHalfHeight, "%s", GeneralGameString(2));
    }
    return 1;
}

// ---- Upper screen ----

static int DrawAimingHint()
{
    const TITLE_PlayerInfoStruct* p = Current();
    if (!p) return 0;
    const int state = GetControlState();
    const int right = displaySafeAreaUpper.right;
    if (state <= kControlPower) hookRot = 0.0f;
    if (state == kControlThrowing) hookRot += allInput.x * kHookSpin;
    if (state != kControlPosition && state != kControlAngle) return 1;
    int w = 0, h = 0;
    if (!OverlayBitmapSize(Ov(kBallFrame), &w, &h)) return 0;
    if (!DrawOverlayBitmap(Ov(kBallFrame), right - w - 24, 70)) return 0;
    const BallDataTag& ball = p->ballData[p->ballSelected >= 0 && p->ballSelected < kBallsPerPlayer ? p->ballSelected : 0];
    const int group = gHiDef ? kBallGroupHiDef : kBallGroup;
    const int cx = right - w - int(2.0f * Scale()) + w / 2 - 24;
    const int cy = int(2.5f * Scale()) + h / 2 + 70;
    // The ball's picture is loaded with the game's balls; without it the ring would stand empty.
    if (!DrawOverlayBitmapRotated((group << 16) | ball.ballIndex, cx, cy, hookRot)) return 0;
    if (!DrawOverlayBitmap(Ov(kHookBadge), right - 36, 90)) return 0;
    if (!TextOutputSelectFont(GetFontRSID(kFontHookMod))) return 0;
    TextOutputSetMode(kTextModeCenter);
    return TextOutputDrawDirect(right - 18, 94, "%d", int(ball.hookMod));
}

static int DrawCards(const TITLE_PlayerInfoStruct& p)
{
    const int group = gHiDef ? kCardGroupHiDef : kCardGroup;
    const int size = int(64.0f * Scale());
    const int step = int(22.0f * Scale());
    // The row stands under the name plate, which holds the same corner.
    int plateH = 0;
    if (!OverlayBitmapSize(Ov(kNamePlate), nullptr, &plateH)) return 0;
    const int top = displaySafeArea.top + plateH + 2;
    for (int c = 0; c < p.numCards && c < kMaxHandCards; ++c)
        if (!DrawOverlayBitmapScaled((group << 16) | p.cards[c], displaySafeArea.left + c * step, top, size, size))
            return 0;
    return 1;
}

static int DrawLastBall(const TITLE_PlayerInfoStruct& p)
{
    int fw = 0, fh = 0;
    if (!OverlayBitmapSize(Ov(kLastBallFrame), &fw, &fh)) return 1;
    const int left = screenBufferHalfWidth - fw / 2;
    const int bottom = displaySafeArea.bottom;
    const int px = left + int(53.0f * Scale());
    const int py = bottom - fh + int(57.0f * Scale());
    const int result = p.lastBallResult;
    if (result >= 1 && result <= 9) {
        DrawOverlayBitmap(Ov(kLastBallFrame), left, bottom - fh);
        DrawOverlayBitmapScaled(Ov(kLastBallDigits + result - 1), px, py, int(64.0f * Scale()), int(77.0f * Scale()));
        return 1;
    }
    // A banner stands centred in the frame as the count does; it is wider than the count, so its
    // left edge lies further left than the count's.
    const int banner = result == 10 ? kLastBallSpare : result == 11 ? kLastBallStrike : kLastBallNone + gLanguage;
    int bw = 0;
    if (!OverlayBitmapSize(Ov(banner), &bw, nullptr)) return 1;
    DrawOverlayBitmap(Ov(banner), left + (fw - bw) / 2, result == 10 || result == 11 ? py - 40 : py);
    return 1;
}

int DrawUpperHUD()
{
    const TITLE_PlayerInfoStruct* p = Current();
    if (!p) return 0;
    const int person = CurrentIsPerson();
    const int settingUp = SettingUp();
    if (IsReplayActive()) return gGameType == kGamePinSelect ? 1 : DrawLastBall(*p);

    if (!DrawPlayerName()) return 0;
    if (gGameType == kGameSpares) {
        int w = 0;
        if (!OverlayBitmapSize(Ov(kSparesPanel), &w, nullptr)) return 0;
        const int right = displaySafeAreaUpper.right;
        const int left = right - w + 15, top = 14;
        if (!DrawOverlayBitmapScaled(Ov(kSparesPanel), left, top, int(161.0f * Scale()), int(49.0f * Scale())))
            return 0;
        // The score belongs inside the panel's well (for --layout-out).
        const PictureBox& well = kSparesPanelWell;
        TextOutputNoteBox(left + int(well.x * Scale()), top + int(well.y * Scale()), int(well.w * Scale()),
                          int(well.h * Scale()));
        if (!TextOutputSelectFont(GetFontRSID(kFontSparesScore))) return 0;
        TextOutputSetMode(kTextModeRight);
        if (!TextOutputDrawDirect(right - w + 115, 18, "%d", p->totalScore)) return 0;
        return settingUp ? 1 : DrawMPH();
    }
    if (gGameType == kGamePinSelect || gGameType == kGameBingo) {
        if (person && settingUp) return DrawPinDiagram() && DrawAimingHint();
        return settingUp ? 1 : DrawMPH();
    }
    if (person && settingUp && !DrawPinDiagram()) return 0;
    if (person && settingUp && !DrawAimingHint()) return 0;
    if (gGameType == kGamePoker) {
        if (TextOutputSelectFont(GetFontRSID(kFontName))) TextOutputSetMode(kTextModeLeft);
        if (!DrawCards(*p)) return 0;
    }
    return settingUp ? 1 : DrawMPH();
}

// A part of the replay panel, drawn where it lies in the whole panel.
static int DrawPanelPart(DS3_bitmap_tag* panel, int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0) return 1;
    return DrawScreenPoly(panel, x, y, x, y, w, h);
}

// The replay panel round a playing clip: the clip is the screen's background, so the panel is
// drawn only outside the clip's frame (its band above, the strips beside and below).
static int DrawPanelAroundClip(int frameX, int frameY, int frameW, int frameH)
{
    DS3_bitmap_tag* panel = OverlayBitmap(kReplayPanel);
    if (!panel) return 0;
    const int w = panel->width, h = panel->height;
    const int right = frameX + frameW, bottom = frameY + frameH;
    return DrawPanelPart(panel, 0, 0, w, frameY) && DrawPanelPart(panel, 0, frameY, frameX, frameH) &&
           DrawPanelPart(panel, right, frameY, w - right, frameH) && DrawPanelPart(panel, 0, bottom, w, h - bottom);
}

// "Skip Replay" centred on (cx, cy), in the box (x, y, w, h) it belongs in.
static int DrawSkipCaption(int cx, int cy, int x, int y, int w, int h)
{
    if (!TextOutputSelectFont(GetFontRSID(kFontSkip))) return 0;
    TextOutputSetMode(kTextModeCenter);
    TextOutputNoteBox(x, y, w, h);
    return TextOutputDrawDirect(cx, cy - TextOutputGetFontHeight() / 2, "%s", ButtonString(12));
}

int DrawLowerHUD()
{
    // A person's celebration clip shows in its frame, centred across the screen (the clip itself
    // is the screen's background). It covers the skip button; while it plays a touch anywhere
    // skips, and the caption stands in the bar along the frame's bottom.
    const int clip = VideoPlaying() && CurrentIsPerson();
    const float s = Scale();
    const int frameW = int(240.9f * s), frameH = int(202.7f * s);
    const int frameX = displaySafeArea.centerX - frameW / 2, frameY = displaySafeArea.top + int(28.2f * s);
    if (IsReplayActive()) {
        if (clip ? !DrawPanelAroundClip(frameX, frameY, frameW, frameH) : !DrawOverlayBitmap(kReplayPanel, 0, 0))
            return 0;
    }
    if (clip && !DrawOverlayBitmapScaled(Ov(kVideoFrame), frameX, frameY, frameW, frameH)) return 0;
    if (!IsReplayActive()) return 1;
    if (clip) {
        const int bar = int(float(kClipFrameBarH) * s), barY = frameY + frameH - int(float(kClipFrameBorder) * s) - bar;
        return DrawSkipCaption(frameX + frameW / 2, barY + bar / 2, frameX, barY, frameW, bar);
    }
    // The caption sits in the middle of the button's caption band; a touch anywhere on the button
    // skips (for --layout-out).
    TextOutputNoteButton(kReplaySkipX, kReplaySkipY, kReplaySkipSize, kReplaySkipSize);
    return DrawSkipCaption(kReplaySkipX + kReplaySkipSize / 2, kReplaySkipCaptionY + kReplaySkipCaptionH / 2,
                           kReplaySkipX, kReplaySkipY, kReplaySkipSize, kReplaySkipSize);
}
