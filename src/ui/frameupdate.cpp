// The UI's frame: update of the active widget tree, the three drawing passes, the frame clock, the
// controller copy, the key queue and the touch hand.
#include "ui/frameupdate.h"


#include <cstring>

#include "game/transitions.h"
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "lib/textoutput.h"
#include "platform/bitmap.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/shaders.h"
#include "platform/utilities.h"
#include "overlays/nohomeicon.h"
#include "ui/osk.h"
#include "ui/presslatch.h"
#include "ui/rlstracker.h"
#include "ui/uiinit.h"
#include "ui/widgets/dialogbox.h"
#include "ui/widgets/scene3d.h"
#include "ui/widgettypes.h"

// ---- Frame statistics ----

double basicUiTimeTaken = 0.0;
int basicUiNumFrames = 0;
double basicUiFps = 0.0;

enum { kFramesPerRateReading = 60 };

// ---- Frame clock ----

struct sBasicUiCounter {
    double lastTime;  // seconds; kept in double so that long uptimes do not coarsen frame times
    float deltaTime;
    int started;      // lastTime holds a reading (a clock that starts at 0 is a valid reading)
};
static sBasicUiCounter basicUiCounter[2];

static constexpr float kBasicUiMaxFrameTime = 1.0f / 30.0f;

double BasicUI_GetTimeInSecs() { return double(GetTickCount()) / double(kTicksPerSecond); }

void BasicUiCounter_Init()
{
    double now = BasicUI_GetTimeInSecs();
    for (sBasicUiCounter& c : basicUiCounter) {
        c.lastTime = now;
        c.deltaTime = 0.0f;
        c.started = 1;
    }
}

static float ReadCounter(int i, int capped)
{
    if (i < 0 || i > 1) return 0.0f;
    sBasicUiCounter& c = basicUiCounter[i];
    double now = BasicUI_GetTimeInSecs();
    float delta = 0.0f;
    if (c.started && (!capped || c.lastTime < now)) delta = float(now - c.lastTime);
    if (capped && delta > kBasicUiMaxFrameTime) delta = kBasicUiMaxFrameTime;
    c.lastTime = now;
    c.started = 1;
    c.deltaTime = delta;
    return delta;
}

float BasicUiCounter_SetElapsedTime(int i) { return ReadCounter(i, 1); }
float BasicUiCounter_SetElapsedTimeNoCap(int i) { return ReadCounter(i, 0); }

float BasicUiCounter_GetElapsedTime(int i)
{
    if (i < 0 || i > 1) return 0.0f;
    return basicUiCounter[i].deltaTime;
}

// ---- The walk over one screen's widget tree ----

// Depth-first pre-order without recursion: a widget whose flag is set is visited and then its
// children; a widget whose flag is clear is skipped with its subtree. The flag is read again after
// the visit, so a widget that switches itself off keeps its children from this frame's visit.
template <class Visit>
static void WalkWidgets(sBasicUiWidget* first, sBasicUiValueBOOL sBasicUiWidget::*flag, Visit visit)
{
    sBasicUiWidget* w = first;
    while (w) {
        sBasicUiWidget* next = nullptr;
        if ((w->*flag).value) {
            visit(w);
            if ((w->*flag).value) next = w->childWidget;
        }
        if (!next) {
            // The next sibling, else the next sibling of the nearest ancestor that has one; the
            // top level has no parent widget, which ends the walk.
            for (sBasicUiWidget* up = w; up && !next; up = up->parentWidget) next = up->nextWidget;
        }
        w = next;
    }
}

// ---- Update ----

// The framework presses and accepts with bit 2 of its own copy; the game confirms with A (bit 4)
// and goes back with B (bit 2), as its overlays do. The copy trades the two bits, so that A presses
// buttons and answers dialogs in the menus, while triggers that read the live state (the pages' way
// back on B) see the pad as it is.
static uint16_t UiButtonsOf(uint16_t pad)
{
    const int a = pad & kButtonA, b = pad & kButtonB;
    return uint16_t((pad & ~(kButtonA | kButtonB)) | (a ? kButtonB : 0) | (b ? kButtonA : 0));
}

int BasicUi_UpdateEnvironmentFull(sBasicUiEnvironment* env)
{
    float dt = BasicUiCounter_SetElapsedTime(0);
    return BasicUi_UpdateEnvironment(env, dt);
}

int BasicUi_UpdateEnvironment(sBasicUiEnvironment* env, float dt)
{
    double start = BasicUI_GetTimeInSecs();
    if (!env) return 1;
    BasicUiOSK_Update(env, dt);
    BasicUi_ResetKeys();
    BasicUi_ClrController(0);
    // The frame starts from the live pad, so that triggers, cursor navigation and dialogs that read
    // the UI's copy see the player's buttons; widgets inject their own presses over it. Buttons
    // held since before the page or question opened are left out until let go.
    BasicUi_UpdateLatch();
    const joystickState* live = BasicUi_GetController(1);
    basicUiInput.buttons = UiButtonsOf(live->buttons);
    basicUiInput.edges = UiButtonsOf(live->edges);
    for (sBasicUiDisplay* d = env->displayRoot; d; d = d->nextDisplay) {
        if (!d->isActive.value) continue;
        for (sBasicUiScreen* s = d->nextScreen; s; s = s->nextScreen) {
            if (!s->isActive.value) continue;
            WalkWidgets(s->nextWidget, &sBasicUiWidget::isActive,
                        [dt](sBasicUiWidget* w) { BasicUiWidgetType_Update(w, dt); });
        }
    }
    BasicUiWidgetTypeDialogBox_CloseWithItsScreen(env);
    BasicUiRLS_Dispatch(&env->tracker, 1);
    basicUiTimeTaken += BasicUI_GetTimeInSecs() - start;
    BasicUiWidgetTypeDialogBox_AbortFrameTick();
    return 1;
}

// ---- Drawing ----

const int basicUiRenderPassOffset[kBasicUiRenderPasses][2] = {{0, 60}, {0, 60}, {400, 60}};
static int (*const basicUiDrawStart[kBasicUiRenderPasses])() = {RenderStartDisplay0L, RenderStartDisplay0R,
                                                                  RenderStartDisplay1};
static int (*const basicUiDrawEnd[kBasicUiRenderPasses])() = {RenderEndDisplay0L, RenderEndDisplay0R,
                                                                RenderEndDisplay1};

static int basicUiRenderPass = -1;

int BasicUi_GetRenderPass() { return basicUiRenderPass; }

// The pass's place on the 720 x 360 canvas is the renderer's 2D origin during the pass, so widgets
// draw in canvas coordinates on every screen; they read it from the renderer.
void BasicUi_GetRenderOffset2D(int* x, int* y) { RenderGetOffset2D(x, y); }

int BasicUi_RenderEnvironmentFull(sBasicUiEnvironment* env)
{
    if (!RenderStartScreen()) return 0;
    int result = BasicUi_RenderEnvironment(env);
    if (!RenderDoneScreen()) return 0;
    return result;
}

// The passes move the renderer's 2D origin onto the canvas; what draws in screen pixels (the
// no-HOME icon at the end of the lower pass, and after them in the same frame the save loop's boxes
// or a game's overlays) finds the origin they found, which is put back when they end.
int BasicUi_RenderEnvironment(sBasicUiEnvironment*)
{
    int foundX = 0, foundY = 0;
    RenderGetOffset2D(&foundX, &foundY);
    int result = 1;
    for (int pass = 0; pass < kBasicUiRenderPasses; pass++) {
        RenderSetOffset2D(basicUiRenderPassOffset[pass][0], basicUiRenderPassOffset[pass][1]);
        if (!basicUiDrawStart[pass]()) {
            result = 0;
            continue;
        }
        basicUiRenderPass = pass;
        BasicUi_RenderEnvironmentInternal(BasicUi_GetEnvironment());
        // The lower screen also shows the on-screen keyboard and the screen transition over
        // everything else.
        if (pass == 2) BasicUiOSK_Render(BasicUi_GetEnvironment());
        if (pass == 2 && !DrawTransition()) result = 0;
        // Then the icon that says the HOME menu is refused (while a save runs). It lies on the
        // lower screen in the screen's own pixels, and each call advances its fade by a frame, so
        // it is drawn once a frame, in the lower pass only.
        if (pass == 2) {
            RenderSetOffset2D(foundX, foundY);
            DrawNoHomeOverlay();
        }
        basicUiRenderPass = -1;
        if (!basicUiDrawEnd[pass]()) result = 0;
    }
    RenderSetOffset2D(foundX, foundY);
    return result;
}

int BasicUi_RenderEnvironmentInternal(sBasicUiEnvironment* env)
{
    double start = BasicUI_GetTimeInSecs();
    if (env) {
        TextOutputSetMode(0);
        // Each pass starts in 2D, whatever the last 3D scene of the previous pass left.
        BasicUiWidgetType3DInit_setup2d();
        for (sBasicUiDisplay* d = env->displayRoot; d; d = d->nextDisplay) {
            if (!d->isRender.value) continue;
            for (sBasicUiScreen* s = d->nextScreen; s; s = s->nextScreen) {
                if (!s->isRender.value) continue;
                WalkWidgets(s->nextWidget, &sBasicUiWidget::isRender,
                            [](sBasicUiWidget* w) { BasicUiWidgetType_Render(w); });
            }
        }
    }
    basicUiTimeTaken += BasicUI_GetTimeInSecs() - start;
    basicUiNumFrames++;
    if (basicUiNumFrames >= kFramesPerRateReading) {
        // A clock that did not move (a paused or virtual one) gives no rate rather than a
        // division by zero.
        basicUiFps = basicUiTimeTaken > 0.0 ? kFramesPerRateReading / basicUiTimeTaken : 0.0;
        basicUiTimeTaken = 0.0;
        basicUiNumFrames = 0;
    }
    return 1;
}

// ---- Controller copy ----

joystickState basicUiInput;

void BasicUi_ClrController(int all)
{
    if (all) {
        std::memset(&basicUiInput, 0, sizeof basicUiInput);
        ClearInput(&allInput);
        ClearInputs();
        basicUiInput.x = 0.0f;
        basicUiInput.y = 0.0f;
        basicUiInput.x2 = 0.0f;
        basicUiInput.y2 = 0.0f;
    }
    basicUiInput.buttons = 0;
    basicUiInput.edges = 0;
}

// The live input without the buttons the press latch holds back.
static joystickState basicUiLive;

joystickState* BasicUi_GetController(int live)
{
    if (live) {
        const uint16_t held = BasicUi_LatchedButtons();
        basicUiLive = allInput;
        basicUiLive.buttons = uint16_t(basicUiLive.buttons & ~held);
        basicUiLive.edges = uint16_t(basicUiLive.edges & ~held);
        return &basicUiLive;
    }
    basicUiInput.x = allInput.x;
    basicUiInput.y = allInput.y;
    return &basicUiInput;
}

int BasicUi_IsPressed(const joystickState* state, int mask)
{
    return state && (state->buttons & state->edges & mask) ? 1 : 0;
}

int BasicUi_IsLetGo(const joystickState* state, int mask)
{
    return state && (state->edges & ~state->buttons & mask) ? 1 : 0;
}

int BasicUi_IsFree(const joystickState* state, int mask)
{
    return !state || !((state->buttons | state->edges) & mask) ? 1 : 0;
}

// ---- Key queue ----

static int key = 0;
static int state = 0;
static int key_reset = 0;
static int key_length = 0;
static int key_index = 0;

int BasicUi_InitKb()
{
    key_index = 0;
    key_length = 0;
    key_reset = 1;
    return 1;
}
void BasicUi_ResetKeys() { key_reset = 1; }
void BasicUi_ReadKeys()
{
    if (!key_reset) key_index = 0;
}
int BasicUi_HasKeys() { return key_index < key_length ? 1 : 0; }
void BasicUi_NextKey()
{
    if (key_index < key_length) key_index++;
}
int BasicUi_GetKey() { return key; }
int BasicUi_GetState() { return state; }

// ---- Touch hand ----

static int wasTouching = 0;
static int basicUiOnlyMc = 0;
static int basicUiMcRadarX = 0;
static int basicUiMcRadarY = 0;
static int isRunning = 0;

// The lower screen's touch panel, through the first controller; null when there is none.
static const DS3_TouchData* TouchState()
{
    const DS3_controller* c = controllers[0].controller;
    return c ? &c->touchData : nullptr;
}

static int OnLowerScreen(const DS3_TouchData* t) { return t->x >= 1 && t->x <= 320; }

int BasicUi_GetHandCoords(int, int, float* x, float* y)
{
    if (!x || !y) return 1;
    const DS3_TouchData* t = TouchState();
    if (!t) return 0;
    const float restX = float(basicUiRenderPassOffset[2][0]) / float(kBasicUiCanvasWidth);
    if (!t->isTouching) {
        wasTouching = 0;
        *x = restX;
        *y = 0.0f;
        return 0;
    }
    if (!wasTouching && OnLowerScreen(t)) {
        *x = float(t->x + basicUiRenderPassOffset[2][0]) / float(kBasicUiCanvasWidth);
        *y = float(t->y + basicUiRenderPassOffset[2][1]) / float(kBasicUiCanvasHeight);
        wasTouching = 1;
        return 1;
    }
    *x = restX;
    *y = 0.0f;
    return 0;
}

int BasicUi_GetPressAmountMc(int)
{
    const DS3_TouchData* t = TouchState();
    return t && t->isTouching && OnLowerScreen(t) ? 1 : 0;
}

void BasicUi_InitMc() { isRunning = 0; }
void BasicUi_SetOnlyMc(int onlyMc) { basicUiOnlyMc = onlyMc; }
int BasicUi_GetMcRadarX() { return basicUiMcRadarX; }
int BasicUi_GetMcRadarY() { return basicUiMcRadarY; }

// ---- Small helpers ----

float BasicUi_UnitClamp(float v) { return v < -1.0f ? -1.0f : (v > 1.0f ? 1.0f : v); }
int BasicUi_Max(int a, int b) { return a > b ? a : b; }

enum { kBasicUiBitmapResourceType = kResourceTypeBitmap, kBitmapFlagFont = 4 };

int BasicUi_ImageExists(int id) { return ResourceLoaded(id) && ResourceType(id) == kBasicUiBitmapResourceType ? 1 : 0; }

int BasicUi_FontExists(int id)
{
    if (!BasicUi_ImageExists(id)) return 0;
    void* handle = nullptr;
    if (!GetResourceHandle(id, &handle) || !handle) return 0;
    const DS3_bitmap_tag* bitmap = static_cast<const DS3_bitmap_tag*>(handle);
    return (bitmap->flags & kBitmapFlagFont) && bitmap->fontTable.offset != 0 ? 1 : 0;
}

int BasicUi_GetFontID() { return BasicUi_FontExists(basicUiFontID) ? basicUiFontID : TextOutputGetFontRSID(); }

sBasicUiRLSTracker* BasicUiWidget_GetRLSTracker(sBasicUiWidget* widget)
{
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(widget);
    return env ? &env->tracker : nullptr;
}

int BasicUiAnimSet_GetNumItems(sBasicUiAnimSet* set)
{
    int n = 0;
    for (sBasicUiAnimSetItem* item = set ? set->nextItem : nullptr; item; item = item->next) n++;
    return n;
}
