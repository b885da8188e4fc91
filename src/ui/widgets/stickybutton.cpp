// The sticky button widget type: a circle or box on the touch screen that the sticky cursor is
// pulled onto. Without an interval it is tapped: a touch that lands on it runs its commands at
// once, one firing per touch. With one, held under the stylus for its interval it runs its
// commands (again after every further interval when it repeats). It can inject a pad direction
// into the UI's controller.
#include <algorithm>
#include <cmath>
#include <string>

#include "db/database.h"
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "lib/textoutput.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "ui/draw2d.h"
#include "ui/frameupdate.h"
#include "ui/placeholder.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dbref.h"
#include "ui/widgets/sticky.h"
#include "ui/widgets/triggers.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

sBasicUiWidgetTypeStickyButton* BasicUiWidgetTypeStickyButton_Get(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeStickyButton>(w, EBasicUiWidgetTypeStickyButton);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeStickyButton_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeStickyButton* b = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeStickyButton, &b);
    if (!b) return ref;
    b->imageID = BasicUiValueINT_Make(-1);
    b->tFontScaleX = b->tFontScaleY = 1.0f;
    return ref;
}

int BasicUiWidgetTypeStickyButton_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* b = BasicUiWidgetTypeStickyButton_Get(w);
    if (!b || !t) return 0;
    const eBasicUiPropertyType I = eBasicUiPropertyTypeINT, F = eBasicUiPropertyTypeFLT,
                               B = eBasicUiPropertyTypeBOOL, W = eBasicUiPropertyTypeWidgetREF,
                               S = eBasicUiPropertyTypeSTR;
    struct Row {
        const char* name;
        eBasicUiPropertyType type;
        void* value;
        int initial;
    };
    const Row rows[] = {
        {"imageID", I, &b->imageID, 1}, {"x", I, &b->x, 1}, {"y", I, &b->y, 1}, {"w", I, &b->w, 1},
        {"h", I, &b->h, 1}, {"src.x", I, &b->srcX, 1}, {"src.y", I, &b->srcY, 1}, {"src.w", I, &b->srcW, 1},
        {"src.h", I, &b->srcH, 1}, {"shape", I, &b->shape, 1}, {"innerRadius", I, &b->innerRadius, 1},
        {"outerRadius", I, &b->outerRadius, 1}, {"inteval", F, &b->inteval, 0}, {"elapsed", F, &b->elapsed, 0},
        {"pressState", B, &b->pressState, 1}, {"cmd", W, &b->cmd, 0}, {"cmdII", W, &b->cmdII, 0},
        {"enterI", W, &b->enterI, 0}, {"enterII", W, &b->enterII, 0}, {"leave", W, &b->leave, 0},
        {"leaveII", W, &b->leaveII, 0}, {"pressCmd", B, &b->pressCmd, 1}, {"pressPad", I, &b->pressPad, 1},
        {"pressDir", S, &b->pressDir, 0}, {"pressEdge", S, &b->pressEdge, 0}, {"cursor", W, &b->cursor, 0},
        {"tDbRef", W, &b->tDbRef, 0}, {"tRow", I, &b->tRow, 1}, {"tColumn", I, &b->tColumn, 1},
        {"tFontID", I, &b->tFontID, 1}, {"tFontOffX", I, &b->tFontOffX, 1}, {"tFontOffY", I, &b->tFontOffY, 1},
        {"tFontAlignX", I, &b->tFontAlignX, 1}, {"tFontAlignY", I, &b->tFontAlignY, 1},
        {"tFontSclX", F, &b->tFontScaleX, 0}, {"tFontSclY", F, &b->tFontScaleY, 0},
        {"variant", I, &b->variant, 1}, {"repeats", B, &b->repeats, 1}, {"wasTouching", B, &b->wasTouching, 1},
        {"dblTouchGrpNext", W, &b->dblTouchGrpNext, 0}, {"dblTouchGrpPressed", B, &b->dblTouchGrpPressed, 1},
    };
    for (const Row& r : rows) BasicUiPropertyTracker_Add(t, r.name, r.type, r.value, 1, r.initial);
    return 1;
}

int BasicUiWidgetTypeStickyButton_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }

int BasicUiWidgetTypeStickyButton_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* b = BasicUiWidgetTypeStickyButton_Get(w);
    if (!b) return 0;
    BasicUiWidget_FreeString(env, &b->pressDir);
    BasicUiWidget_FreeString(env, &b->pressEdge);
    return BasicUiWidget_FreeRecord(env, w);
}

static float BoxDistance(int px, int py, const sBasicUiWidgetTypeStickyButton* b)
{
    auto positive = [](int v) { return v > 0 ? v : 0; };
    int dx = std::max(positive(b->x.value - px), positive(px - b->x.value - b->w.value));
    int dy = std::max(positive(b->y.value - py), positive(py - b->y.value - b->h.value));
    return std::sqrt(float(dx) * float(dx) + float(dy) * float(dy));
}

static float CircleDistance(int px, int py, const sBasicUiWidgetTypeStickyButton* b)
{
    float dx = float(px - b->x.value), dy = float(py - b->y.value);
    return std::sqrt(dx * dx + dy * dy);
}

int BasicUiWidgetTypeStickyButton_IsPressed(int px, int py, sBasicUiWidget* button)
{
    auto* b = BasicUiWidgetTypeStickyButton_Get(button);
    if (!b) return 0;
    if (b->shape.value == kBasicUiStickyCircle) return CircleDistance(px, py, b) < float(b->innerRadius.value);
    if (b->shape.value == kBasicUiStickyBox) return BoxDistance(px, py, b) < 0.1f;
    return 0;
}

float BasicUiWidgetTypeStickyButton_Distance(int px, int py, sBasicUiWidget* button)
{
    auto* b = BasicUiWidgetTypeStickyButton_Get(button);
    if (!b) return 0.0f;
    if (b->shape.value == kBasicUiStickyCircle) return CircleDistance(px, py, b);
    if (b->shape.value == kBasicUiStickyBox) return BoxDistance(px, py, b);
    return 0.0f;
}

int BasicUiWidgetTypeStickyButton_Center(float* fx, float* fy, sBasicUiWidget* button)
{
    auto* b = BasicUiWidgetTypeStickyButton_Get(button);
    auto* c = b ? BasicUiWidgetTypeStickyCursor_Get(b->cursor) : nullptr;
    if (!c || b->shape.value < 0 || b->shape.value > 1) return 0;
    float radius = float(b->outerRadius.value);
    if (c->isPressed.value && c->closestButtonOld == button) radius *= 1.75f;
    float d = BasicUiWidgetTypeStickyButton_Distance(int(*fx), int(*fy), button);
    if (d >= radius) return 0;
    if (b->shape.value == kBasicUiStickyCircle) {
        *fx = float(b->x.value);
        *fy = float(b->y.value);
    } else {
        *fy = float(b->y.value + b->h.value / 2);
    }
    return 1;
}

int BasicUiWidgetTypeStickyButton_Repeats(sBasicUiWidget* button)
{
    auto* b = BasicUiWidgetTypeStickyButton_Get(button);
    return b ? b->repeats.value : 0;
}

int BasicUiWidgetTypeStickyButton_IsDoubleTouch(sBasicUiWidget* button)
{
    auto* b = BasicUiWidgetTypeStickyButton_Get(button);
    if (!b) return 0;
    return (b->enterI || b->enterII) && (b->cmd || b->cmdII || b->pressCmd.value) ? 1 : 0;
}

static void SetGroupFlags(sBasicUiWidgetTypeStickyButton* b, int v)
{
    b->dblTouchGrpPressed.value = v;
    b->wasTouching.value = v;
    b->pressState.value = v;
}

// The members of a group's pair ring, from the button round to it again.
template <class F>
static void ForPairRing(sBasicUiWidget* button, F f)
{
    sBasicUiWidget* w = button;
    for (int guard = 0; guard < 1024; ++guard) {
        auto* b = BasicUiWidgetTypeStickyButton_Get(w);
        if (!b) return;
        f(b);
        w = b->dblTouchGrpPair;
        if (!w || w == button) return;
    }
}

void BasicUiWidgetTypeStickyButton_DoubleTouchGroupPress(sBasicUiWidget* button, int v)
{
    ForPairRing(button, [v](sBasicUiWidgetTypeStickyButton* b) { SetGroupFlags(b, v); });
}

void BasicUiWidgetTypeStickyButton_DoubleTouchGroupClear(sBasicUiWidget* button)
{
    sBasicUiWidget* w = button;
    for (int guard = 0; guard < 1024; ++guard) {
        auto* b = BasicUiWidgetTypeStickyButton_Get(w);
        if (!b) return;
        ForPairRing(w, [](sBasicUiWidgetTypeStickyButton* m) { SetGroupFlags(m, 0); });
        w = b->dblTouchGrpNext;
        if (!w || w == button) return;
    }
}

// The pad bit of a direction letter; the second pad's face buttons are read by the pad trigger
// as B down, A right, X left, Y up, and injected the same way.
static int DirectionBit(char letter, int secondPad)
{
    switch (letter) {
    case 'U': return secondPad ? kButtonY : kButtonUp;
    case 'D': return secondPad ? kButtonB : kButtonDown;
    case 'L': return secondPad ? kButtonX : kButtonLeft;
    case 'R': return secondPad ? kButtonA : kButtonRight;
    default: return 0;
    }
}

static void Inject(const sBasicUiWidgetTypeStickyButton* b)
{
    if (!b->pressDir) return;
    int bit = DirectionBit(b->pressDir[0], b->pressPad.value != 0);
    joystickState* c = BasicUi_GetController(0);
    if (!bit || !c) return;
    c->edges = uint16_t(c->edges | bit);
    if (!b->pressEdge || b->pressEdge[0] == 'D') c->buttons = uint16_t(c->buttons | bit);
}

int BasicUiWidgetTypeStickyButton_Update(sBasicUiWidget* w, float dt)
{
    auto* b = BasicUiWidgetTypeStickyButton_Get(w);
    if (!b || !BasicUiTrigger_IsNormal(w) || !BasicUiWidgetTypeCmdSetScreen_IsVariant(w, b->variant.value)) return 1;
    auto* c = BasicUiWidgetTypeStickyCursor_Get(b->cursor);
    float fx = 0, fy = 0;
    BasicUiWidgetTypeStickyCursor_GetCursor(b->cursor, &fx, &fy);
    const int cx = int(fx), cy = int(fy);
    if (c) {
        sBasicUiWidget* now = c->closestButtonNow;
        if (!now || BasicUiWidgetTypeStickyButton_Distance(cx, cy, now) >=
                        BasicUiWidgetTypeStickyButton_Distance(cx, cy, w))
            c->closestButtonNow = w;
    }
    const bool dbl = BasicUiWidgetTypeStickyCursor_IsDblTouch(b->cursor) != 0;
    const bool immediate = b->inteval <= 0.75f * dt || dbl;
    // Pressed while the stylus touches the button (the cursor rests where it was lifted).
    if (!BasicUiWidgetTypeStickyButton_IsPressed(cx, cy, w) || !c || !c->isTouching.value) {
        b->elapsed = std::max(b->elapsed - dt, 0.0f);
        b->wasTouching.value = 0;
        // In double-touch mode lifting the stylus between the touches is no leaving.
        if (b->pressState.value && (!dbl || (c && c->isTouching.value))) {
            BasicUiTrigger_Fire(b->leave);
            BasicUiTrigger_Fire(b->leaveII);
            b->pressState.value = 0;
        }
        return 1;
    }
    // A tap fires in the first frame of a touch that lands on the button, not when a touch slides
    // onto it; in double-touch mode in the first frame the button is pressed.
    bool done = immediate && (b->wasTouching.value || (!dbl && !BasicUiWidgetTypeStickyCursor_IsNewTouch(b->cursor)));
    if (!done && !b->pressState.value && !b->dblTouchGrpPressed.value && (b->enterI || b->enterII)) {
        BasicUiTrigger_Fire(b->enterI);
        BasicUiTrigger_Fire(b->enterII);
        done = true;
    }
    if (!done && c && (c->closestButtonOld == w || immediate)) {
        float e = c->buttonElapsed;
        if ((b->elapsed <= b->inteval && b->inteval < e) || immediate) {
            if (!b->repeats.value) {
                b->elapsed = e;
            } else {
                c->buttonElapsed = 0;
                b->elapsed = 0;
                e = 0;
            }
            BasicUiTrigger_Fire(b->cmd);
            BasicUiTrigger_Fire(b->cmdII);
            if (b->pressCmd.value) Inject(b);
        }
        if (b->elapsed <= b->inteval) b->elapsed = e;
    }
    b->wasTouching.value = 1;
    b->pressState.value = 1;
    if (b->dblTouchGrpNext) {
        BasicUiWidgetTypeStickyButton_DoubleTouchGroupClear(w);
        BasicUiWidgetTypeStickyButton_DoubleTouchGroupPress(w, 1);
    }
    return 1;
}

int BasicUiWidgetTypeStickyButton_Render(sBasicUiWidget* w)
{
    auto* b = BasicUiWidgetTypeStickyButton_Get(w);
    if (!b) return 0;
    if (!BasicUiWidgetTypeCmdSetScreen_IsVariant(w, b->variant.value)) return 1;
    // --layout-out records where a stylus can press it.
    if (w->isActive.value && b->shape.value == kBasicUiStickyBox) TextOutputNoteTouch(b->x.value, b->y.value, b->w.value, b->h.value);
    RenderSetAlphaLevel(255);
    RenderSetColorModulation(127, 127, 127);
    RenderSetPenColor(255, 255, 255);
    int id = b->imageID.value;
    if (ResourceLoaded(id) && ResourceType(id) == kResourceTypeGroup) {
        int members = NumResourcesInGroup(id);
        float progress = b->inteval > 0 ? BasicUi_UnitClamp(b->elapsed / b->inteval) : 0.0f;
        id = (id << 16) + int(progress * float(members - 1));
    }
    void* bitmap = nullptr;
    if (BasicUi_ImageExists(id) && GetResourceHandle(id, &bitmap) && bitmap)
        DrawScreenPolyRot(static_cast<DS3_bitmap_tag*>(bitmap), b->srcX.value, b->srcY.value, b->x.value,
                          b->y.value, b->w.value, b->h.value, 0.0f);
    else if (b->imageID.value != -1)
        // The image is drawn centred on (x, y); so is its placeholder.
        BasicUiWidget_Placeholder(w, &b->reported, "the image", std::to_string(b->imageID.value).c_str(),
                                  b->x.value - b->w.value / 2, b->y.value - b->h.value / 2, b->w.value, b->h.value);
    sBasicDbTable* table = BasicUiWidgetTypeDbRef_Table(b->tDbRef);
    if (b->tDbRef && (!table || !BasicUi_FontExists(b->tFontID.value)))
        BasicUiWidget_Placeholder(w, &b->reported, table ? "the font" : "the label table",
                                  table ? std::to_string(b->tFontID.value).c_str() : b->tDbRef->name,
                                  b->x.value + b->tFontOffX.value, b->y.value + b->tFontOffY.value, 0, 0);
    if (!table || !BasicUi_FontExists(b->tFontID.value)) return 1;
    int previous = TextOutputGetFontRSID();
    if (TextOutputSelectFont(b->tFontID.value)) {
        char text[256] = {0};
        BasicDbTable_PutElementOntoStr(table, b->tRow.value, b->tColumn.value, text, sizeof text);
        int tx = b->x.value + b->tFontOffX.value, ty = b->y.value + b->tFontOffY.value;
        BasicUi_RenderScaledDbTextBG(tx, ty, b->tFontScaleX, b->tFontScaleY, b->tFontAlignX.value,
                                     b->tFontAlignY.value, text, TextOutputGetFontHeight() / 10);
        BasicUi_RenderScaledDbText(tx, ty, b->tFontScaleX, b->tFontScaleY, b->tFontAlignX.value,
                                   b->tFontAlignY.value, text);
        if (previous >= 0) TextOutputSelectFont(previous);
    }
    return 1;
}
