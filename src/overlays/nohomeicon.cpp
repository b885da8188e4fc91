// The icon that says the HOME menu is refused: a small fade-in, hold and fade-out timed on the
// frame clock, so that it runs the same in every loop that draws the lower screen.
#include "overlays/nohomeicon.h"

#include "lib/resourceids.h"
#include "overlays/overlaydraw.h"
#include "platform/frame.h"
#include "platform/quads.h"

static const int kIconImage = kImageNoHomeIcon;
static const int kScreenCentreX = 160;
static const int kScreenCentreY = 120;
// Lengths of the three phases in milliseconds.
static const int kFadeInTime = 320;
static const int kHoldTime = 4000;
static const int kFadeOutTime = 1320;

enum { kFadeIn = 0, kHold = 1, kFadeOut = 2 };

static int homeMenuDisabled = 0;
static int noHomeDraw = 0;
static int drawState = kFadeIn;
static int fadeTime = kFadeInTime;
static float alphaLevel = 0.0f;

void EnableNoHomeDraw() { homeMenuDisabled = 1; }
void DisableNoHomeDraw() { homeMenuDisabled = 0; }
int HomeMenuDisabled() { return homeMenuDisabled; }

int StartNoHomeIcon()
{
    if (noHomeDraw) return 1;
    noHomeDraw = 1;
    fadeTime = kFadeInTime;
    drawState = kFadeIn;
    alphaLevel = 0.0f;
    return 1;
}

int NoHomeDrawing() { return noHomeDraw; }

int NoHomeIconAlpha()
{
    if (!noHomeDraw) return 0;
    if (drawState == kHold) return 255;
    return int(unsigned(alphaLevel * 255.0f) & 255u);
}

// One frame of the fade: the phase's opacity goes up or down by the frame step, and the phase
// ends once its time has run out.
static void AdvanceFade()
{
    const int step = updateRate;
    switch (drawState) {
    case kFadeIn:
        alphaLevel += float(step) / float(kFadeInTime);
        if (alphaLevel > 1.0f) alphaLevel = 1.0f;
        fadeTime -= step;
        if (fadeTime < 0) {
            drawState = kHold;
            fadeTime = kHoldTime;
        }
        break;
    case kHold:
        fadeTime -= step;
        if (fadeTime < 0) {
            drawState = kFadeOut;
            fadeTime = kFadeOutTime;
            alphaLevel = 1.0f;
        }
        break;
    default:
        alphaLevel -= float(step) / float(kFadeOutTime);
        if (alphaLevel < 0.0f) alphaLevel = 0.0f;
        fadeTime -= step;
        if (fadeTime < 0) {
            drawState = kFadeIn;
            noHomeDraw = 0;
        }
        break;
    }
}

int DrawNoHomeOverlay()
{
    if (!noHomeDraw) return 1;
    const int alpha = NoHomeIconAlpha();
    AdvanceFade();
    DS3_bitmap_tag* icon = OverlayBitmap(kIconImage);
    if (!icon) return 0;
    RenderSetAlphaLevel(alpha);
    const int drawn = DrawScreenPoly(icon, 0, 0, kScreenCentreX - icon->width / 2, kScreenCentreY - icon->height / 2,
                                     icon->width, icon->height);
    RenderSetAlphaLevel(255);
    return drawn ? 1 : 0;
}

void ResetNoHomeIcon()
{
    homeMenuDisabled = 0;
    noHomeDraw = 0;
    drawState = kFadeIn;
    fadeTime = kFadeInTime;
    alphaLevel = 0.0f;
}
