// The sticky cursor widget type: lands where the stylus touches the lower screen and follows it
// with an eased position, is pulled onto the nearest sticky button that captures it, and times how
// long it has pressed that button, which the buttons read to fire. It fades in while touched and
// out when let go, staying where it was; while a button or an answer that needs a hold is held it
// shows how far the hold has come. A touch that was down when the page opened is not seen.
#include <algorithm>
#include <cmath>
#include <string>

#include "lib/resourceids.h"
#include "lib/resources.h"
#include "overlays/overlaystack.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "ui/frameupdate.h"
#include "ui/loadcheck.h"
#include "ui/placeholder.h"
#include "ui/presslatch.h"
#include "ui/widgets/dialogbox.h"
#include "ui/widgets/sticky.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

// The most steps the progress filler is drawn in: one a degree of its circle.
static const float kMostFillerSteps = 360.0f;

sBasicUiWidgetTypeStickyCursor* BasicUiWidgetTypeStickyCursor_Get(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeStickyCursor>(w, EBasicUiWidgetTypeStickyCursor);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeStickyCursor_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeStickyCursor* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeStickyCursor, &c);
    if (!c) return ref;
    c->fillerID = c->cursorHiID = c->cursorLoID = BasicUiValueINT_Make(-1);
    c->alphaRate = 0.1f;
    c->limitedMoveDir = BasicUiValueBOOL_Make(1);
    c->maxMoveDir = 10.0f;
    c->deltaMinMoveDir = 0.001f;
    c->deltaMaxMoveDir = 10.0f;
    c->isLeftHand = BasicUiValueBOOL_Make(1);
    return ref;
}

int BasicUiWidgetTypeStickyCursor_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidgetTypeStickyCursor_Get(w);
    if (!c || !t) return 0;
    const eBasicUiPropertyType I = eBasicUiPropertyTypeINT, F = eBasicUiPropertyTypeFLT,
                               B = eBasicUiPropertyTypeBOOL;
    struct Row {
        const char* name;
        eBasicUiPropertyType type;
        void* value;
        int initial;
    };
    const Row rows[] = {
        {"isDblTouch", B, &c->isDblTouch, 1}, {"fillerID", I, &c->fillerID, 1},
        {"cursorHiID", I, &c->cursorHiID, 1}, {"cursorLoID", I, &c->cursorLoID, 1}, {"x", I, &c->x, 1},
        {"y", I, &c->y, 1}, {"w", I, &c->w, 1}, {"h", I, &c->h, 1}, {"src.x", I, &c->srcX, 1},
        {"src.y", I, &c->srcY, 1}, {"src.w", I, &c->srcW, 1}, {"src.h", I, &c->srcH, 1},
        {"degrees", F, &c->degrees, 0}, {"alpha", F, &c->alpha, 0}, {"alphaRate", F, &c->alphaRate, 0},
        {"limitedMoveDir", B, &c->limitedMoveDir, 1}, {"delay", F, &c->delay, 0},
        {"delaySticky", F, &c->delaySticky, 0}, {"minMoveDir", F, &c->minMoveDir, 0},
        {"valueMoveDir", F, &c->valueMoveDir, 0}, {"maxMoveDir", F, &c->maxMoveDir, 0},
        {"deltaMinMoveDir", F, &c->deltaMinMoveDir, 0}, {"deltaMaxMoveDir", F, &c->deltaMaxMoveDir, 0},
        {"activeCursorX", F, &c->activeCursorX, 0}, {"activeCursorY", F, &c->activeCursorY, 0},
        {"gravitatedCursorX", F, &c->gravitatedCursorX, 0}, {"gravitatedCursorY", F, &c->gravitatedCursorY, 0},
        {"buttonInteval", F, &c->buttonInteval, 0}, {"buttonElapsed", F, &c->buttonElapsed, 0},
        {"isPressed", B, &c->isPressed, 1}, {"isLeftHand", B, &c->isLeftHand, 1},
        {"isTouching", B, &c->isTouching, 1},
    };
    for (const Row& r : rows) BasicUiPropertyTracker_Add(t, r.name, r.type, r.value, 1, r.initial);
    return 1;
}

int BasicUiWidgetTypeStickyCursor_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }

int BasicUiWidgetTypeStickyCursor_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!BasicUiWidgetTypeStickyCursor_Get(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

int BasicUiWidgetTypeStickyCursor_GetCursor(sBasicUiWidget* cursor, float* x, float* y)
{
    auto* c = BasicUiWidgetTypeStickyCursor_Get(cursor);
    *x = c ? c->gravitatedCursorX : 0.0f;
    *y = c ? c->gravitatedCursorY : 0.0f;
    return c ? c->isTouching.value : 0;
}

int BasicUiWidgetTypeStickyCursor_IsNewTouch(sBasicUiWidget* cursor)
{
    auto* c = BasicUiWidgetTypeStickyCursor_Get(cursor);
    return c && c->touchFrames == 1 ? 1 : 0;
}

int BasicUiWidgetTypeStickyCursor_IsVisible(sBasicUiWidget* cursor)
{
    auto* c = BasicUiWidgetTypeStickyCursor_Get(cursor);
    return c && c->alpha > 0.9f ? 1 : 0;
}

int BasicUiWidgetTypeStickyCursor_IsDblTouch(sBasicUiWidget* cursor)
{
    auto* c = BasicUiWidgetTypeStickyCursor_Get(cursor);
    return c ? c->isDblTouch.value : 0;
}

float BasicUiWidgetTypeStickyCursor_GetElapsed(sBasicUiWidget* cursor)
{
    auto* c = BasicUiWidgetTypeStickyCursor_Get(cursor);
    return c ? c->buttonElapsed : 0.0f;
}

void BasicUiWidgetTypeStickyCursor_SetElapsed(sBasicUiWidget* cursor, float t)
{
    if (auto* c = BasicUiWidgetTypeStickyCursor_Get(cursor)) c->buttonElapsed = t;
}

float BasicUiWidgetTypeStickyCursor_GetInteval(sBasicUiWidget* cursor)
{
    auto* c = BasicUiWidgetTypeStickyCursor_Get(cursor);
    return c ? c->buttonInteval : 0.0f;
}

sBasicUiWidget* BasicUiWidgetTypeStickyCursor_GetClosestButtonNow(sBasicUiWidget* cursor)
{
    auto* c = BasicUiWidgetTypeStickyCursor_Get(cursor);
    return c ? c->closestButtonNow : nullptr;
}

void BasicUiWidgetTypeStickyCursor_SetClosestButtonNow(sBasicUiWidget* cursor, sBasicUiWidget* w)
{
    if (auto* c = BasicUiWidgetTypeStickyCursor_Get(cursor)) c->closestButtonNow = w;
}

sBasicUiWidget* BasicUiWidgetTypeStickyCursor_GetClosestButtonOld(sBasicUiWidget* cursor)
{
    auto* c = BasicUiWidgetTypeStickyCursor_Get(cursor);
    return c ? c->closestButtonOld : nullptr;
}

// The stylus as hand coordinates (0..1 of the canvas) for as long as it is held on the lower
// screen, so that a held touch keeps the cursor where it is: the hand of the frame update reports
// only a touch's first frame, which could never hold a button for its interval. A touch held since
// before the page or question opened counts as none until it is lifted.
static int Stylus(float* hx, float* hy)
{
    const DS3_controller* pad = controllers[0].controller;
    float x, y;
    BasicUi_GetHandCoords(0, 0, &x, &y);  // keeps the hand's own first-frame state current
    if (!pad || !pad->touchData.isTouching || pad->touchData.x < 1 || pad->touchData.x > 320 ||
        BasicUi_StylusLatched())
        return 0;
    *hx = float(pad->touchData.x + basicUiRenderPassOffset[2][0]) / float(kBasicUiCanvasWidth);
    *hy = float(pad->touchData.y + basicUiRenderPassOffset[2][1]) / float(kBasicUiCanvasHeight);
    return 1;
}

// One more frame of the hold on the candidate. A hold is timed in the range every number of a
// widget keeps, whatever time it started from.
static void Hold(sBasicUiWidgetTypeStickyCursor* c, float dt)
{
    c->buttonElapsed = BasicUi_KeepCoordinateF(c->buttonElapsed + dt);
}

// The hold the candidate needs before it fires: a sticky button's interval when it fires after a
// hold (not a tap, and with something to fire), a dialog's for its nearest answer; else 0.
static float HoldTime(const sBasicUiWidgetTypeStickyCursor* c, sBasicUiWidget* n, float dt)
{
    if (auto* b = BasicUiWidgetTypeStickyButton_Get(n)) {
        const bool tap = b->inteval <= 0.75f * dt || c->isDblTouch.value;
        const bool fires = b->cmd || b->cmdII || b->pressCmd.value;
        return !tap && fires ? b->inteval : 0.0f;
    }
    return n && n->widgetTypeRef.type == EBasicUiWidgetTypeDialogBox ? BasicUiWidgetTypeDialogBox_HoldTime(n) : 0.0f;
}

int BasicUiWidgetTypeStickyCursor_Update(sBasicUiWidget* w, float dt)
{
    auto* c = BasicUiWidgetTypeStickyCursor_Get(w);
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    // An overlay open over the menus owns the stylus: the cursor waits, as it was, until it closes.
    if (!c || !env || OverlayExists()) return 1;
    c->isLeftHand.value = 0;
    if (env->inputMode == BasicUiInputMode_None) {
        if (c->isDblTouch.value) {
            c->isTouching.value = 0;
            c->gravitatedCursorX = c->gravitatedCursorY = 0.0f;
        }
        return 1;
    }
    float hx = 0, hy = 0;
    int touched = Stylus(&hx, &hy);
    // A touch from the second hand source draws the cursor unmirrored. The PC's one stylus is the
    // first source, so this finds nothing here, and the cursor is always drawn as the first hand's.
    if (!touched && BasicUi_GetHandCoords(0, 1, &hx, &hy)) {
        touched = 1;
        c->isLeftHand.value = 1;
    }
    if (touched) {
        c->activeCursorX = float(c->w.value) * hx;
        c->activeCursorY = float(c->h.value) * hy;
        // A touch lands where the stylus is: the cursor does not travel there from where it was.
        if (c->touchFrames == 0) {
            c->gravitatedCursorX = c->activeCursorX;
            c->gravitatedCursorY = c->activeCursorY;
        }
        if (c->touchFrames < 1000000) c->touchFrames++;
        // Kept between clear and opaque whatever the rate's sign.
        c->alpha = std::clamp(c->alpha + c->alphaRate, 0.0f, 1.0f);
        c->isTouching.value = 1;
    } else {
        // Lifted, the cursor stays where it was and fades; it presses nothing.
        c->activeCursorX = c->gravitatedCursorX;
        c->activeCursorY = c->gravitatedCursorY;
        c->touchFrames = 0;
        c->alpha = std::clamp(c->alpha - c->alphaRate, 0.0f, 1.0f);
        c->isTouching.value = 0;
        if (c->isDblTouch.value) c->lastTouchedLifted = 1;
    }
    const int touching = c->isTouching.value;
    sBasicUiWidget* n = c->closestButtonNow;
    if (n != c->closestButtonOld) c->buttonElapsed = 0;
    float tx = c->activeCursorX, ty = c->activeCursorY;
    int snapped = 0;
    c->holdTime = HoldTime(c, n, dt);
    // In dialogs the candidate is the dialog box, whose round answers capture the cursor.
    if (env->inputMode != BasicUiInputMode_Dialog && n) {
        c->isPressed.value = touching && BasicUiWidgetTypeStickyButton_IsPressed(int(c->gravitatedCursorX),
                                                                                 int(c->gravitatedCursorY), n);
        if (!c->isPressed.value) {
            c->buttonElapsed = 0;
        } else if (!c->isDblTouch.value || !BasicUiWidgetTypeStickyButton_IsDoubleTouch(n)) {
            Hold(c, dt);
        } else if (c->lastTouched == n) {
            if (c->lastTouchedLifted) Hold(c, dt);
        } else {
            c->lastTouched = n;
            c->lastTouchedLifted = 0;
        }
        if (touching) snapped = BasicUiWidgetTypeStickyButton_Center(&tx, &ty, n);
    } else if (n) {
        c->isPressed.value = touching && BasicUiWidgetTypeDialogBox_IsPressed(int(c->gravitatedCursorX),
                                                                              int(c->gravitatedCursorY), n);
        if (c->isPressed.value)
            Hold(c, dt);
        else
            c->buttonElapsed = 0;
        if (touching) snapped = BasicUiWidgetTypeDialogBox_Center(&tx, &ty, n);
    } else {
        c->buttonElapsed = 0;
        c->isPressed.value = 0;
    }
    float v = 1.0f;
    float delay = snapped ? c->delaySticky : c->delay;
    if (c->delay > 0.0f) v = delay > 0.0f ? 2.0f * dt / (delay * delay) : 1.0f;
    if (c->limitedMoveDir.value) v = std::fmin(std::fmax(v, c->minMoveDir), c->maxMoveDir);
    // A step of more than the whole way overshoots the target, one of more than twice the way
    // swings ever wider (a short delay at a long frame): the cursor moves at most onto the target.
    v = std::fmin(std::fmax(v, 0.0f), 1.0f);
    c->valueMoveDir = v;
    float sx = v * (c->gravitatedCursorX - tx), sy = v * (c->gravitatedCursorY - ty);
    auto* sb = BasicUiWidgetTypeStickyButton_Get(n);
    const bool round = (sb && sb->shape.value != kBasicUiStickyBox) || (n && n->widgetTypeRef.type == EBasicUiWidgetTypeDialogBox);
    if (c->isPressed.value && !c->isDblTouch.value && round) {
        sx *= 0.75f;
        sy *= 0.75f;
    }
    c->gravitatedCursorX -= sx;
    c->gravitatedCursorY -= sy;
    c->closestButtonOld = n;
    c->closestButtonNow = nullptr;
    return 1;
}

static void DrawCursorImage(const sBasicUiWidgetTypeStickyCursor* c, int id, int attributes, float angle)
{
    void* bitmap = nullptr;
    if (!BasicUi_ImageExists(id) || !GetResourceHandle(id, &bitmap) || !bitmap) return;
    ScreenPolyData d = {static_cast<DS3_bitmap_tag*>(bitmap),
                        c->srcX.value,
                        c->srcY.value,
                        c->srcW.value,
                        c->srcH.value,
                        int(c->gravitatedCursorX),
                        int(c->gravitatedCursorY),
                        c->srcW.value,
                        c->srcH.value,
                        attributes};
    DrawScreenPolyRotEx(&d, angle);
}

int BasicUiWidgetTypeStickyCursor_Render(sBasicUiWidget* w)
{
    auto* c = BasicUiWidgetTypeStickyCursor_Get(w);
    if (!c) return 0;
    if (OverlayExists()) return 1;
    RenderSetAlphaLevel(int(c->alpha * 255.0f));
    RenderSetColorModulation(127, 127, 127);
    RenderSetPenColor(255, 255, 255);
    // The progress of a hold, over the hold the pressed button or answer needs.
    const float progress =
        c->isPressed.value && c->holdTime > 0.0f ? BasicUi_UnitClamp(c->buttonElapsed / c->holdTime) : 0.0f;
    int id = c->isPressed.value ? c->cursorHiID.value : c->cursorLoID.value;
    if (ResourceLoaded(id) && ResourceType(id) == kResourceTypeGroup)
        id = (id << 16) + int(progress * float(NumResourcesInGroup(id) - 1));
    if (!BasicUi_ImageExists(id) && id != -1 && c->alpha > 0.0f) {
        const int named = c->isPressed.value ? c->cursorHiID.value : c->cursorLoID.value;
        BasicUiWidget_Placeholder(w, &c->reported, "the cursor image", std::to_string(named).c_str(),
                                  int(c->gravitatedCursorX) - 8, int(c->gravitatedCursorY) - 8, 16, 16);
    }
    DrawCursorImage(c, id, c->isLeftHand.value ? 0 : 1, 0.0f);
    const float a = progress * 360.0f;
    if (BasicUi_ImageExists(c->fillerID.value) && c->degrees > 0.0f && a > c->degrees) {
        // A step finer than a degree shows nothing more on a circle of the cursor's size: the
        // copies are bounded to one a degree, and the count is bounded before it becomes an int.
        const int k = int(std::fmin(360.0f / c->degrees, kMostFillerSteps)) + 1;
        for (int i = 0; i < k; ++i) DrawCursorImage(c, c->fillerID.value, 0, float(i) * a / float(k));
    }
    return 1;
}
