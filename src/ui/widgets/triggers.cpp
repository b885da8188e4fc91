// The key, pad, timer, enter, leave, press and box triggers: small watchers of the controller, the
// key queue, a clock and the display cursor that start command sequences.
#include "ui/widgets/triggers.h"

#include <cmath>
#include <cstdlib>

#include "platform/input.h"
#include "ui/frameupdate.h"
#include "ui/widgets/button.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

void BasicUiTrigger_Fire(sBasicUiWidget* seq) { BasicUiWidgetTypeCmdSequence_Run(seq); }

int BasicUiTrigger_IsNormal(sBasicUiWidget* w)
{
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    return env && env->inputMode == BasicUiInputMode_Normal ? 1 : 0;
}

template <class T>
static T* Rec(sBasicUiWidget* w, int type)
{
    return BasicUiWidget_Record<T>(w, type);
}

static void AddRef(sBasicUiPropertyTracker* t, const char* name, sBasicUiWidget** w)
{
    BasicUiPropertyTracker_Add(t, name, eBasicUiPropertyTypeWidgetREF, w, 1, 0);
}

// Create, setProperty, render and destroy are alike for the triggers whose record owns nothing.
#define PLAIN_TRIGGER(T, R, TYPE)                                                                   \
    int BasicUiWidgetType##T##_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }        \
    int BasicUiWidgetType##T##_Render(sBasicUiWidget*) { return 1; }                                \
    int BasicUiWidgetType##T##_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)                 \
    {                                                                                               \
        if (!Rec<R>(w, TYPE)) return 0;                                                             \
        return BasicUiWidget_FreeRecord(env, w);                                                    \
    }

// ---- Key: the key queue has no producer on this platform, so this never fires here ----

PLAIN_TRIGGER(TriggerKey, sBasicUiWidgetTypeTriggerKey, EBasicUiWidgetTypeTriggerKey)

sBasicUiWidgetTypeRef BasicUiWidgetTypeTriggerKey_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeTriggerKey* k = nullptr;
    return BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeTriggerKey, &k);
}

int BasicUiWidgetTypeTriggerKey_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* k = Rec<sBasicUiWidgetTypeTriggerKey>(w, EBasicUiWidgetTypeTriggerKey);
    if (!k || !t) return 0;
    BasicUiPropertyTracker_Add(t, "keyCode", eBasicUiPropertyTypeINT, &k->keyCode, 1, 1);
    BasicUiPropertyTracker_Add(t, "keyState", eBasicUiPropertyTypeINT, &k->keyState, 1, 1);
    AddRef(t, "cmdSeq", &k->cmdSeq);
    return 1;
}

int BasicUiWidgetTypeTriggerKey_Update(sBasicUiWidget* w, float)
{
    auto* k = Rec<sBasicUiWidgetTypeTriggerKey>(w, EBasicUiWidgetTypeTriggerKey);
    if (!k || !BasicUiTrigger_IsNormal(w)) return 1;
    BasicUi_ReadKeys();
    for (; BasicUi_HasKeys(); BasicUi_NextKey())
        if (BasicUi_GetKey() == k->keyCode.value && BasicUi_GetState() == k->keyState.value)
            BasicUiTrigger_Fire(k->cmdSeq);
    return 1;
}

// ---- Pad: the d-pad acts on press; the face buttons, start and select on release or press ----

PLAIN_TRIGGER(TriggerPad, sBasicUiWidgetTypeTriggerPad, EBasicUiWidgetTypeTriggerPad)

sBasicUiWidgetTypeRef BasicUiWidgetTypeTriggerPad_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeTriggerPad* p = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeTriggerPad, &p);
    if (p) p->onUp = BasicUiValueBOOL_Make(1);
    return ref;
}

static const char* const kPadSeqNames[kBasicUiPadSeqs] = {"dpad0U", "dpad0D", "dpad0L", "dpad0R", "dpad1U",
                                                          "dpad1D", "dpad1L", "dpad1R", "start",  "select"};

int BasicUiWidgetTypeTriggerPad_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* p = Rec<sBasicUiWidgetTypeTriggerPad>(w, EBasicUiWidgetTypeTriggerPad);
    if (!p || !t) return 0;
    AddRef(t, "button", &p->button);
    for (int i = 0; i < kBasicUiPadSeqs; ++i) AddRef(t, kPadSeqNames[i], &p->seq[i]);
    BasicUiPropertyTracker_Add(t, "dpad0All", eBasicUiPropertyTypeBOOL, &p->dpad0All, 1, 1);
    BasicUiPropertyTracker_Add(t, "dpad1All", eBasicUiPropertyTypeBOOL, &p->dpad1All, 1, 1);
    BasicUiPropertyTracker_Add(t, "onUp", eBasicUiPropertyTypeBOOL, &p->onUp, 1, 1);
    return 1;
}

int BasicUiWidgetTypeTriggerPad_Update(sBasicUiWidget* w, float)
{
    auto* p = Rec<sBasicUiWidgetTypeTriggerPad>(w, EBasicUiWidgetTypeTriggerPad);
    if (!p || !BasicUiTrigger_IsNormal(w)) return 1;
    if (p->button && !BasicUiWidgetTypeButton_IsInside1(p->button)) return 1;
    const joystickState* c0 = BasicUi_GetController(p->dpad0All.value);
    const int dpad[4] = {kButtonUp, kButtonDown, kButtonLeft, kButtonRight};
    for (int i = 0; i < 4; ++i)
        if (BasicUi_IsPressed(c0, dpad[i])) {
            BasicUiTrigger_Fire(p->seq[i]);
            return 1;
        }
    const joystickState* c1 = BasicUi_GetController(p->dpad1All.value);
    // Face buttons read as a second d-pad (B down, A right, X left, Y up), then start and select.
    // Select is the controls' own select bit.
    const int bits[6] = {kButtonB, kButtonA, kButtonX, kButtonY, kButtonStart, kButtonSelect};
    const int seqs[6] = {5, 7, 6, 4, 8, 9};
    for (int i = 0; i < 6; ++i) {
        int hit = p->onUp.value ? BasicUi_IsLetGo(c1, bits[i]) : BasicUi_IsPressed(c1, bits[i]);
        if (hit) {
            BasicUiTrigger_Fire(p->seq[seqs[i]]);
            return 1;
        }
    }
    return 1;
}

// ---- Timer: counts frame time (whatever the input mode) and fires after its interval ----

PLAIN_TRIGGER(TriggerTimer, sBasicUiWidgetTypeTriggerTimer, EBasicUiWidgetTypeTriggerTimer)

sBasicUiWidgetTypeRef BasicUiWidgetTypeTriggerTimer_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeTriggerTimer* tm = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeTriggerTimer, &tm);
    if (tm) tm->interval[0] = tm->interval[1] = 1.0f;
    return ref;
}

int BasicUiWidgetTypeTriggerTimer_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* tm = Rec<sBasicUiWidgetTypeTriggerTimer>(w, EBasicUiWidgetTypeTriggerTimer);
    if (!tm || !t) return 0;
    BasicUiPropertyTracker_Add(t, "variant", eBasicUiPropertyTypeINT, &tm->variant, 1, 1);
    AddRef(t, "cmdSeq", &tm->cmdSeq);
    BasicUiPropertyTracker_Add(t, "isPlaying", eBasicUiPropertyTypeBOOL, &tm->isPlaying, 1, 1);
    BasicUiPropertyTracker_Add(t, "onlyIfIdle", eBasicUiPropertyTypeBOOL, &tm->onlyIfIdle, 1, 1);
    BasicUiPropertyTracker_Add(t, "inteval", eBasicUiPropertyTypeFLT, tm->interval, 1, 1);
    return 1;
}

int BasicUiWidgetTypeTriggerTimer_Update(sBasicUiWidget* w, float dt)
{
    auto* tm = Rec<sBasicUiWidgetTypeTriggerTimer>(w, EBasicUiWidgetTypeTriggerTimer);
    if (!tm || !tm->isPlaying.value || !BasicUiWidgetTypeCmdSetScreen_IsVariant(w, tm->variant.value)) return 1;
    const joystickState* c = BasicUi_GetController(0);
    if (tm->onlyIfIdle.value && c && (c->buttons || c->edges)) tm->dt = 0;
    tm->dt += dt;
    if (tm->dt > tm->interval[0]) {
        tm->dt = 0;
        BasicUiTrigger_Fire(tm->cmdSeq);
    }
    return 1;
}

// ---- Enter and leave: the cursor moving onto or off a button ----

PLAIN_TRIGGER(TriggerEnter, sBasicUiWidgetTypeTriggerEnter, EBasicUiWidgetTypeTriggerEnter)

sBasicUiWidgetTypeRef BasicUiWidgetTypeTriggerEnter_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeTriggerEnter* e = nullptr;
    return BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeTriggerEnter, &e);
}

int BasicUiWidgetTypeTriggerEnter_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* e = Rec<sBasicUiWidgetTypeTriggerEnter>(w, EBasicUiWidgetTypeTriggerEnter);
    if (!e || !t) return 0;
    AddRef(t, "button", &e->button);
    AddRef(t, "cmdSeq", &e->cmdSeq);
    AddRef(t, "cmdSeqLeave", &e->cmdSeqLeave);
    BasicUiPropertyTracker_Add(t, "hasEntered", eBasicUiPropertyTypeBOOL, &e->hasEntered, 1, 1);
    return 1;
}

int BasicUiWidgetTypeTriggerEnter_Update(sBasicUiWidget* w, float)
{
    auto* e = Rec<sBasicUiWidgetTypeTriggerEnter>(w, EBasicUiWidgetTypeTriggerEnter);
    if (!e || !BasicUiTrigger_IsNormal(w) || !BasicUiWidgetTypeButton_Get(e->button)) return 1;
    int p = BasicUiWidgetTypeButton_IsInside0(e->button), c = BasicUiWidgetTypeButton_IsInside1(e->button);
    if (!p && c) {
        BasicUiTrigger_Fire(e->cmdSeq);
        e->hasEntered.value = 1;
    } else if (!c && e->hasEntered.value) {
        BasicUiTrigger_Fire(e->cmdSeqLeave);
        e->hasEntered.value = 0;
    }
    return 1;
}

PLAIN_TRIGGER(TriggerLeave, sBasicUiWidgetTypeTriggerLeave, EBasicUiWidgetTypeTriggerLeave)

sBasicUiWidgetTypeRef BasicUiWidgetTypeTriggerLeave_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeTriggerLeave* l = nullptr;
    return BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeTriggerLeave, &l);
}

int BasicUiWidgetTypeTriggerLeave_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* l = Rec<sBasicUiWidgetTypeTriggerLeave>(w, EBasicUiWidgetTypeTriggerLeave);
    if (!l || !t) return 0;
    AddRef(t, "button", &l->button);
    AddRef(t, "cmdSeq", &l->cmdSeq);
    return 1;
}

int BasicUiWidgetTypeTriggerLeave_Update(sBasicUiWidget* w, float)
{
    auto* l = Rec<sBasicUiWidgetTypeTriggerLeave>(w, EBasicUiWidgetTypeTriggerLeave);
    if (!l || !BasicUiTrigger_IsNormal(w) || !BasicUiWidgetTypeButton_Get(l->button)) return 1;
    if (BasicUiWidgetTypeButton_IsInside0(l->button) && !BasicUiWidgetTypeButton_IsInside1(l->button))
        BasicUiTrigger_Fire(l->cmdSeq);
    return 1;
}

// ---- Press: the accept button let go while the cursor is on a button ----

PLAIN_TRIGGER(TriggerPress, sBasicUiWidgetTypeTriggerPress, EBasicUiWidgetTypeTriggerPress)

sBasicUiWidgetTypeRef BasicUiWidgetTypeTriggerPress_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeTriggerPress* p = nullptr;
    return BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeTriggerPress, &p);
}

int BasicUiWidgetTypeTriggerPress_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* p = Rec<sBasicUiWidgetTypeTriggerPress>(w, EBasicUiWidgetTypeTriggerPress);
    if (!p || !t) return 0;
    AddRef(t, "button", &p->button);
    AddRef(t, "cmdSeq", &p->cmdSeq);
    BasicUiPropertyTracker_Add(t, "variant", eBasicUiPropertyTypeINT, &p->variant, 1, 1);
    return 1;
}

int BasicUiWidgetTypeTriggerPress_Update(sBasicUiWidget* w, float)
{
    auto* p = Rec<sBasicUiWidgetTypeTriggerPress>(w, EBasicUiWidgetTypeTriggerPress);
    if (!p || !BasicUiTrigger_IsNormal(w)) return 1;
    const joystickState* c = BasicUi_GetController(0);
    if (!c) return 1;
    int released = c->edges & ~c->buttons;
    if (released == kBasicUiPadAccept && BasicUiWidgetTypeCmdSetScreen_IsVariant(w, p->variant.value) &&
        BasicUiWidgetTypeButton_IsInside1(p->button))
        BasicUiTrigger_Fire(p->cmdSeq);
    return 1;
}

// ---- Box: a soft-edged closeness of the cursor to a rectangle, 1 inside ----

PLAIN_TRIGGER(TriggerBox, sBasicUiWidgetTypeTriggerBox, EBasicUiWidgetTypeTriggerBox)

sBasicUiWidgetTypeRef BasicUiWidgetTypeTriggerBox_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeTriggerBox* b = nullptr;
    return BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeTriggerBox, &b);
}

int BasicUiWidgetTypeTriggerBox_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* b = Rec<sBasicUiWidgetTypeTriggerBox>(w, EBasicUiWidgetTypeTriggerBox);
    if (!b || !t) return 0;
    BasicUiPropertyTracker_Add(t, "x", eBasicUiPropertyTypeINT, &b->x, 1, 1);
    BasicUiPropertyTracker_Add(t, "y", eBasicUiPropertyTypeINT, &b->y, 1, 1);
    BasicUiPropertyTracker_Add(t, "w", eBasicUiPropertyTypeINT, &b->w, 1, 1);
    BasicUiPropertyTracker_Add(t, "h", eBasicUiPropertyTypeINT, &b->h, 1, 1);
    BasicUiPropertyTracker_Add(t, "softW", eBasicUiPropertyTypeINT, &b->softW, 1, 1);
    BasicUiPropertyTracker_Add(t, "softH", eBasicUiPropertyTypeINT, &b->softH, 1, 1);
    BasicUiPropertyTracker_Add(t, "value", eBasicUiPropertyTypeFLT, b->value, 1, 1);
    return 1;
}

int BasicUiWidgetTypeTriggerBox_Update(sBasicUiWidget* w, float)
{
    auto* b = Rec<sBasicUiWidgetTypeTriggerBox>(w, EBasicUiWidgetTypeTriggerBox);
    sBasicUiDisplay* d = BasicUiWidget_GetDisplay(w);
    if (!b || !d || !BasicUiTrigger_IsNormal(w)) return 1;
    const float pi = 3.1415927f;
    float ex = float(std::abs(d->cx1 - (b->x.value + b->w.value / 2)) - b->w.value / 2);
    float ey = float(std::abs(d->cy1 - (b->y.value + b->h.value / 2)) - b->h.value / 2);
    ex = std::fmin(ex, 0.0f);
    ey = std::fmin(ey, 0.0f);
    // The width edge takes the larger and the height edge the smaller of soft size and distance:
    // kept as the menus were tuned against it.
    float fx = std::fmax(float(b->softW.value), ex);
    float fy = std::fmin(float(b->softH.value), ey);
    b->value[0] = 0.5f * (std::cos(1.0f - fx * pi) + 1.0f) * 0.5f * (std::cos(1.0f - fy * pi) + 1.0f);
    return 1;
}
