// The clip player: a time running between tMin and tMax at a speed, forward or backward, once,
// looping or back and forth, with the animation set's tracks applied to the target widget at
// that time. Commands start it and wait for a one-shot play to end.
#include "ui/widgets/clip.h"

#include <cmath>
#include <utility>

#include "ui/loadcheck.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetTypeClip* Record(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeClip>(w, EBasicUiWidgetTypeClip);
}

static void SetFloat(float* f, float v) { f[0] = f[1] = v; }

sBasicUiWidgetTypeRef BasicUiWidgetTypeClip_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeClip* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeClip, &r);
    if (!r) return ref;
    r->isPlaying = r->isPersist = r->isLoop = r->isFlipFlop = BasicUiValueBOOL_Make(0);
    r->isFwd = r->useInitials = r->isAdditive = BasicUiValueBOOL_Make(1);
    SetFloat(r->speed, 1.0f);
    SetFloat(r->tMax, 1.0f);
    r->tInternal = -1.0f;
    return ref;
}

int BasicUiWidgetTypeClip_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetTypeClip* r = Record(w);
    if (!r || !t) return 0;
    BasicUiPropertyTracker_Add(t, "widget", eBasicUiPropertyTypeWidgetREF, &r->widget, 1, 0);
    BasicUiPropertyTracker_Add(t, "animSet", eBasicUiPropertyTypeAnimSetREF, &r->animSet, 1, 0);
    BasicUiPropertyTracker_Add(t, "isPlaying", eBasicUiPropertyTypeBOOL, &r->isPlaying, 1, 1);
    BasicUiPropertyTracker_Add(t, "isPersist", eBasicUiPropertyTypeBOOL, &r->isPersist, 1, 1);
    BasicUiPropertyTracker_Add(t, "speed", eBasicUiPropertyTypeFLT, r->speed, 1, 1);
    BasicUiPropertyTracker_Add(t, "tMin", eBasicUiPropertyTypeFLT, r->tMin, 1, 1);
    BasicUiPropertyTracker_Add(t, "t", eBasicUiPropertyTypeFLT, r->t, 1, 1);
    BasicUiPropertyTracker_Add(t, "tMax", eBasicUiPropertyTypeFLT, r->tMax, 1, 1);
    BasicUiPropertyTracker_Add(t, "isFwd", eBasicUiPropertyTypeBOOL, &r->isFwd, 1, 1);
    BasicUiPropertyTracker_Add(t, "useInitials", eBasicUiPropertyTypeBOOL, &r->useInitials, 1, 1);
    BasicUiPropertyTracker_Add(t, "isAdditive", eBasicUiPropertyTypeBOOL, &r->isAdditive, 1, 1);
    BasicUiPropertyTracker_Add(t, "isLoop", eBasicUiPropertyTypeBOOL, &r->isLoop, 1, 1);
    BasicUiPropertyTracker_Add(t, "isFlipFlop", eBasicUiPropertyTypeBOOL, &r->isFlipFlop, 1, 1);
    return 1;
}

int BasicUiWidgetTypeClip_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeClip_Render(sBasicUiWidget*) { return 1; }

int BasicUiWidgetTypeClip_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    sBasicUiWidgetTypeClip* r = Record(w);
    if (!r) return 0;
    if (r->tracker) BasicUiAnimSetTracker_Destroy(env ? env : BasicUiWidget_GetEnvironment(w), r->tracker);
    r->tracker = nullptr;
    return BasicUiWidget_FreeRecord(env, w);
}

static float Frac(float v)
{
    float whole;
    return std::modf(v, &whole);
}

// Whether a whole number is even. A time far past a tiny range is a count of ranges that no
// integer holds, so the count is not converted: its remainder is taken as a float (exact).
static bool IsEven(float whole) { return std::fmod(whole, 2.0f) == 0.0f; }

// Brings t into [tMin, tMax] by the clip's mode; returns 1 when a one-shot play reached its end.
static int Bound(sBasicUiWidgetTypeClip* r)
{
    float lo = r->tMin[0], hi = r->tMax[0], range = hi - lo;
    float& t = r->t[0];
    int ended = 0;
    if (t > hi) {
        if (range > 0 && r->isLoop.value) {
            t = lo + range * Frac((t - hi) / range);
        } else if (range > 0 && r->isFlipFlop.value) {
            float whole, f = std::modf((t - hi) / range, &whole);
            if (IsEven(whole)) {
                r->isFwd.value = 0;
                t = hi - range * f;
            } else {
                t = lo + range * f;
            }
        } else {
            t = hi;
            ended = 1;
        }
    }
    if (t < lo) {
        if (range > 0 && r->isLoop.value) {
            t = hi - range * Frac((lo - t) / range);
        } else if (range > 0 && r->isFlipFlop.value) {
            float whole, f = std::modf((lo - t) / range, &whole);
            if (IsEven(whole)) {
                r->isFwd.value = 1;
                t = lo + range * f;
            } else {
                t = hi - range * f;
            }
        } else {
            t = lo;
            ended = 1;
        }
    }
    return ended;
}

int BasicUiWidgetTypeClip_Update(sBasicUiWidget* w, float dt)
{
    sBasicUiWidgetTypeClip* r = Record(w);
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    if (!r || !env) return 0;
    sBasicUiAnimSetTracker* tr = r->tracker;
    if ((!tr && r->widget && r->animSet) || (tr && (tr->widget != r->widget || tr->animSet != r->animSet))) {
        if (tr) BasicUiAnimSetTracker_Destroy(env, tr);
        r->tracker = BasicUi_CreateAnimSetTracker(env, r->widget, r->animSet);
    }
    if (r->isPlaying.value) {
        r->t[0] += (r->isFwd.value ? 1.0f : -1.0f) * r->speed[0] * dt;
        // Without a tracker nothing brings the time back into the range: it stops at the
        // coordinates' limits rather than running on.
        BasicUiWidgetTypeClip_KeepNumbersInRange(w);
    }
    if (!r->tracker) return 1;
    int ended = 0;
    // A range that is empty or reversed cannot be wrapped into: the time is held at its ends.
    if (r->t[0] != r->tInternal) {
        ended = Bound(r);
        r->tInternal = r->t[0];
    }
    if (r->isPlaying.value || r->isPersist.value) {
        if (!r->useInitials.value && !r->isAdditive.value)
            BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbs(r->tracker, r->tInternal);
        else if (!r->useInitials.value)
            BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAdd(r->tracker, r->tInternal);
        else if (!r->isAdditive.value)
            BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbsWithInitial(r->tracker, r->tInternal);
        else
            BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAddWithInitial(r->tracker, r->tInternal);
    }
    if (ended) r->isPlaying.value = 0;
    return 1;
}

void BasicUiWidgetTypeClip_SetRange(sBasicUiWidget* w, float tMin, float tMax)
{
    sBasicUiWidgetTypeClip* r = Record(w);
    if (!r || !(tMin < tMax)) return;
    r->tMin[0] = tMin;
    r->tMax[0] = tMax;
    BasicUiWidgetTypeClip_KeepNumbersInRange(w);
}

void BasicUiWidgetTypeClip_KeepNumbersInRange(sBasicUiWidget* w)
{
    sBasicUiWidgetTypeClip* r = Record(w);
    if (!r) return;
    const std::pair<const char*, float*> numbers[] = {
        {"speed", r->speed}, {"tMin", r->tMin}, {"t", r->t}, {"tMax", r->tMax}};
    for (const auto& [name, value] : numbers) {
        const sBasicUiProperty p = {1, 1, name, eBasicUiPropertyTypeFLT, value};
        BasicUi_KeepNumberInRange(w, &p);
    }
}

int BasicUiWidgetTypeClip_NotPlaying(sBasicUiWidget* w)
{
    sBasicUiWidgetTypeClip* r = Record(w);
    return r && !r->isPlaying.value ? 1 : 0;
}

float BasicUiWidgetTypeClip_GetT(sBasicUiWidget* w)
{
    sBasicUiWidgetTypeClip* r = Record(w);
    return r ? r->t[0] : 0.0f;
}
