// Screen transitions: a small state machine. The logic step runs the three callbacks and the
// hold; the drawing step moves the opacity, so the fade's speed follows how often the screens
// are drawn (the game draws it on each eye and on the lower screen). A callback that is not
// ready returns 0 and is asked again on the next logic step, with the fade standing still.
#include "game/transitions.h"

#include "lib/screenapi.h"
#include "platform/bitmap.h"
#include "platform/quads.h"
#include "platform/shaders.h"

// What the logic step has to react to.
enum { kScreenNoEvent = 0, kScreenCovered = 1, kScreenClear = 2 };
// Direction of the fade.
enum { kCovering = 0, kUncovering = 1 };

static int transitionActive = 0;
static int transitionType = 0;
static float transitionParam = 0.0f;
static int transitionState = kCovering;
static int screenState = kScreenNoEvent;
static int delay = 0;
static TransitionFunction transitionStartCallback = nullptr;
static TransitionFunction transitionWipedCallback = nullptr;
static TransitionFunction transitionCompleteCallback = nullptr;
static int transitionStartCallbackExecuted = 0;

// The cover reaches past the screen's edges on every side.
static const int kCoverMargin = 10;
static const int kDefaultCoverWidth = 320;
static const int kDefaultCoverHeight = 240;

int SetTransitionCallbacks(TransitionFunction start, TransitionFunction wiped, TransitionFunction complete)
{
    transitionStartCallback = start;
    transitionWipedCallback = wiped;
    transitionCompleteCallback = complete;
    return 1;
}

int SetTransitionActive(int active)
{
    transitionActive = active;
    transitionStartCallbackExecuted = 0;
    transitionState = kCovering;
    return 1;
}

int SetTransitionType(int type)
{
    transitionType = type;
    return 1;
}

int StartTransition(TransitionFunction start, TransitionFunction wiped, TransitionFunction complete, int type)
{
    SetTransitionCallbacks(start, wiped, complete);
    SetTransitionActive(1);
    return SetTransitionType(type);
}

int IsTransitionActive() { return transitionActive; }

float GetTransitionOpacity() { return transitionParam; }

// The covered screen: the covered-callback when there is one, else a fixed hold; then uncover.
static void RunCovered()
{
    if (transitionWipedCallback) {
        if (!transitionWipedCallback()) return;
    } else if (delay < kTransitionHoldSteps) {
        ++delay;
        return;
    } else {
        delay = 0;
    }
    transitionState = kUncovering;
    screenState = kScreenNoEvent;
}

static void RunClear()
{
    transitionState = kCovering;
    transitionActive = 0;
    if (transitionCompleteCallback) transitionCompleteCallback();
    transitionStartCallbackExecuted = 0;
    transitionType = 0;
    screenState = kScreenNoEvent;
}

int UpdateTransition()
{
    if (!transitionActive) return 1;
    if (transitionStartCallback && !transitionStartCallbackExecuted) {
        if (!transitionStartCallback()) return 1;
        transitionStartCallbackExecuted = 1;
    }
    if (screenState == kScreenCovered)
        RunCovered();
    else if (screenState == kScreenClear)
        RunClear();
    return 1;
}

static void MoveFade()
{
    if (transitionState == kCovering) {
        transitionParam += kTransitionFadeStep;
        if (transitionParam > 1.0f) {
            transitionParam = 1.0f;
            screenState = kScreenCovered;
        }
    } else {
        transitionParam -= kTransitionFadeStep;
        if (transitionParam < 0.0f) {
            transitionParam = 0.0f;
            screenState = kScreenClear;
        }
    }
}

// The cover is placed in screen pixels: the menus draw it inside their lower-screen pass, whose 2D
// origin lies elsewhere on their canvas, so the origin is (0, 0) for the cover and put back after.
static int DrawCover()
{
    const int w = screenBuffer ? screenBuffer->width : kDefaultCoverWidth;
    const int h = screenBuffer ? screenBuffer->height : kDefaultCoverHeight;
    int originX = 0, originY = 0;
    RenderGetOffset2D(&originX, &originY);
    RenderSetOffset2D(0, 0);
    RenderSetAlphaLevel(int(transitionParam * 255.0f));
    RenderSetPenColor(0, 0, 0);
    const int drawn = RenderRect(-kCoverMargin, -kCoverMargin, w + 2 * kCoverMargin, h + 2 * kCoverMargin);
    if (drawn) RenderSetAlphaLevel(255);
    RenderSetOffset2D(originX, originY);
    return 1;
}

int DrawTransition()
{
    if (!transitionActive) return 1;
    if (transitionStartCallback && !transitionStartCallbackExecuted) return 1;
    MoveFade();
    if (transitionType != kTransitionFadeBlack) return 1;
    return DrawCover();
}
