// The checks run on a description once it is read: numbers the widgets compute with are brought
// into the ranges their arithmetic can take, triggers that name widgets no element defines are
// reported, and sequences that call themselves (directly or through others), which would wait for
// ever, are reported. Each finding is said once, with the widget's name; the load goes on.
#include "ui/loadcheck.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "lib/memory.h"
#include "lib/printing.h"
#include "ui/widgets/commands.h"
#include "ui/widgettypes.h"

// The property table of the widget being checked (loading runs on the main thread only).
static sBasicUiPropertyTracker checkTracker;

// ---- The walk over every widget ----

// Calls visit(w) on every widget of every screen, depth first, without recursion.
template <class Visit>
static void ForEveryWidget(sBasicUiEnvironment* env, Visit visit)
{
    for (sBasicUiDisplay* d = env->displayRoot; d; d = d->nextDisplay)
        for (sBasicUiScreen* s = d->nextScreen; s; s = s->nextScreen)
            for (sBasicUiWidget* w = s->nextWidget; w;) {
                visit(w);
                sBasicUiWidget* next = w->childWidget;
                for (sBasicUiWidget* up = w; up && !next; up = up->parentWidget) next = up->nextWidget;
                w = next;
            }
}

// ---- Numbers ----

// Screen positions and sizes: far beyond the 720 x 360 canvas, and small enough that the widgets'
// sums and products of a few of them stay inside an int.
enum { kCoordinateLimit = 32767, kMostAnswers = 32 };

// Numbers with a range of their own rather than the coordinates' one.
struct IntLimit {
    int type;
    const char* name;
    int least, most;
};

static const IntLimit kOwnLimits[] = {
    // Each answer is laid out and looked at every frame.
    {EBasicUiWidgetTypeDialogBox, "bRowCount", -1, kMostAnswers},
};

// The numbers that a widget hands on rather than computes with keep whatever they are given: a
// command's values and a template's numbers (each checked where it is written: in the widget it
// sets, or in the instance made from the template), a key trigger's key code, and the identifiers
// of resources (names of pictures, fonts and sounds: looked up, never computed with). Every other
// number of a widget, integer or float, is a position, size, offset, scale, index or time that the
// widget's arithmetic takes, and keeps the coordinates' range.
static int HandsOn(int type, const char* name)
{
    if (type >= EBasicUiWidgetTypeCmdSequence && type <= EBasicUiWidgetTypeCmdBGM) return 1;
    if (type == EBasicUiWidgetTypeDefinition || type == EBasicUiWidgetTypeInstance) return 1;
    if (type == EBasicUiWidgetTypeTriggerKey) return 1;
    const size_t n = std::strlen(name);
    return n >= 2 && !std::strcmp(name + n - 2, "ID");
}

int BasicUi_NumberLimits(const sBasicUiWidget* w, const char* name, int* least, int* most)
{
    if (!w || !name || w->widgetTypeRef.type == EBasicUiWidgetTypeNull) return 0;
    for (const IntLimit& limit : kOwnLimits)
        if (w->widgetTypeRef.type == limit.type && !std::strcmp(limit.name, name)) {
            *least = limit.least;
            *most = limit.most;
            return 1;
        }
    if (HandsOn(w->widgetTypeRef.type, name)) return 0;
    *least = -kCoordinateLimit;
    *most = kCoordinateLimit;
    return 1;
}

int BasicUi_ClampCoordinate(long long v)
{
    const long long limit = kCoordinateLimit;
    return int(std::clamp(v, -limit, limit));
}

int BasicUi_ClampCoordinateF(float v)
{
    const float limit = float(kCoordinateLimit);
    return std::isnan(v) ? 0 : int(std::clamp(v, -limit, limit));
}

float BasicUi_KeepCoordinateF(float v)
{
    const float limit = float(kCoordinateLimit);
    return std::isnan(v) ? 0.0f : std::clamp(v, -limit, limit);
}

void BasicUi_KeepNumberInRange(const sBasicUiWidget* w, const sBasicUiProperty* p)
{
    int least = 0, most = 0;
    if (!p || !p->propPtr || !BasicUi_NumberLimits(w, p->name, &least, &most)) return;
    if (p->propType == eBasicUiPropertyTypeINT) {
        auto* v = static_cast<sBasicUiValueINT*>(p->propPtr);
        v->value = std::clamp(v->value, least, most);
        v->initial = std::clamp(v->initial, least, most);
        return;
    }
    // A float's value and initial; each part of a vector or rotation that a curve or a copy wrote
    // whole (the parts have the whole's range).
    int floats = 0;
    if (p->propType == eBasicUiPropertyTypeFLT) floats = p->hasInitial ? 2 : 1;
    if (p->propType == eBasicUiPropertyTypeVEC3) floats = 3;
    if (p->propType == eBasicUiPropertyTypeQUAT) floats = 4;
    auto* f = static_cast<float*>(p->propPtr);
    for (int k = 0; k < floats; ++k) f[k] = std::isnan(f[k]) ? 0.0f : std::clamp(f[k], float(least), float(most));
}

static void Clamp(sBasicUiWidget* w, const char* name, int* v, int least, int most)
{
    if (*v >= least && *v <= most) return;
    const int to = *v < least ? least : most;
    PrintError("BasicUi: widget %s: %s %i is out of range; %i is used", w->name, name, *v, to);
    *v = to;
}

static void ClampFloat(sBasicUiWidget* w, const char* name, float* v, int least, int most)
{
    if (*v >= float(least) && *v <= float(most)) return;
    const int to = *v < float(least) ? least : most;
    PrintError("BasicUi: widget %s: %s %g is out of range; %i is used", w->name, name, double(*v), to);
    *v = float(to);
}

static void CheckNumbers(sBasicUiWidget* w)
{
    BasicUiWidget_InitialisePropertyTracker(w, &checkTracker);
    for (int i = 0; i < checkTracker.props; ++i) {
        sBasicUiProperty& p = checkTracker.prop[i];
        if (!p.propPtr) continue;
        if (p.propType == eBasicUiPropertyTypeFLT) {
            // No float a widget keeps may be infinite or not a number: every use of it would be too.
            auto* f = static_cast<float*>(p.propPtr);
            for (int k = 0; k < (p.hasInitial ? 2 : 1); ++k) {
                if (std::isfinite(f[k])) continue;
                PrintError("BasicUi: widget %s: %s is not a finite number; 0 is used", w->name, p.name);
                f[k] = 0.0f;
            }
        }
        int least = 0, most = 0;
        if (!BasicUi_NumberLimits(w, p.name, &least, &most)) continue;
        if (p.propType == eBasicUiPropertyTypeINT) {
            auto* v = static_cast<sBasicUiValueINT*>(p.propPtr);
            Clamp(w, p.name, &v->value, least, most);
            if (p.hasInitial && (v->initial < least || v->initial > most)) v->initial = v->value;
        } else if (p.propType == eBasicUiPropertyTypeFLT) {
            auto* f = static_cast<float*>(p.propPtr);
            ClampFloat(w, p.name, &f[0], least, most);
            if (p.hasInitial && (f[1] < float(least) || f[1] > float(most))) f[1] = f[0];
        }
    }
}

// ---- Names ----

// A widget that only a reference made: it has neither a type nor children.
static int IsUndefined(const sBasicUiWidget* w)
{
    return w->widgetTypeRef.type == EBasicUiWidgetTypeNull && !w->childWidget;
}

static int IsTrigger(int type)
{
    return type >= EBasicUiWidgetTypeTriggerKey && type <= EBasicUiWidgetTypeTriggerMove3D;
}

static void CheckTriggerNames(sBasicUiWidget* w)
{
    if (!IsTrigger(w->widgetTypeRef.type)) return;
    BasicUiWidget_InitialisePropertyTracker(w, &checkTracker);
    for (int i = 0; i < checkTracker.props; ++i) {
        const sBasicUiProperty& p = checkTracker.prop[i];
        if (p.propType != eBasicUiPropertyTypeWidgetREF || !p.propPtr) continue;
        const sBasicUiWidget* target = *static_cast<sBasicUiWidget**>(p.propPtr);
        if (target && IsUndefined(target))
            PrintError("BasicUi: trigger %s: its %s names %s, which no element defines", w->name, p.name, target->name);
    }
}

// ---- Sequences that call themselves ----

struct Call {
    sBasicUiWidget* caller;  // the sequence that holds the call
    sBasicUiWidget* callee;  // the sequence it calls
};

// The sequence whose script holds the command: its nearest enclosing sequence.
static sBasicUiWidget* SequenceOf(sBasicUiWidget* command)
{
    for (sBasicUiWidget* p = command->parentWidget; p; p = p->parentWidget)
        if (p->widgetTypeRef.type == EBasicUiWidgetTypeCmdSequence) return p;
    return nullptr;
}

static sBasicUiWidget* CalleeOf(sBasicUiWidget* command)
{
    auto* c = static_cast<sBasicUiWidgetTypeCmdGosub*>(command->widgetTypeRef.ptr);
    sBasicUiWidget* callee = c ? c->gosub : nullptr;
    return callee && callee->widgetTypeRef.type == EBasicUiWidgetTypeCmdSequence ? callee : nullptr;
}

static int ByCaller(const void* a, const void* b)
{
    const auto x = reinterpret_cast<std::uintptr_t>(static_cast<const Call*>(a)->caller);
    const auto y = reinterpret_cast<std::uintptr_t>(static_cast<const Call*>(b)->caller);
    return x < y ? -1 : x > y ? 1 : 0;
}

// The first of the calls (sorted by caller) that the sequence makes, or -1.
static int FirstCallOf(const Call* calls, int n, const sBasicUiWidget* seq)
{
    int lo = 0, hi = n;
    const auto key = reinterpret_cast<std::uintptr_t>(seq);
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (reinterpret_cast<std::uintptr_t>(calls[mid].caller) < key)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo < n && calls[lo].caller == seq ? lo : -1;
}

enum { kUnseen = 0, kOnPath = 1, kDone = 2, kReported = 4 };

// A depth-first walk of the calls from each sequence; a call to a sequence on the walk's current
// path closes a loop. state and path hold one entry a call; a sequence's state is kept at its
// first call.
static void FindLoops(const Call* calls, int n, unsigned char* state, int* path)
{
    for (int start = 0; start < n; ++start) {
        if (state[start] || (start > 0 && calls[start - 1].caller == calls[start].caller)) continue;
        int depth = 0;
        path[depth++] = start;
        state[start] = kOnPath;
        while (depth > 0) {
            const int i = path[depth - 1];
            const int first = FirstCallOf(calls, n, calls[i].caller);
            const int next = FirstCallOf(calls, n, calls[i].callee);
            if (next >= 0 && (state[next] & 3) == kUnseen) {
                state[next] = kOnPath;
                path[depth++] = next;
                continue;
            }
            if (next >= 0 && (state[next] & 3) == kOnPath && !(state[first] & kReported)) {
                state[first] |= kReported;
                PrintError("BasicUi: sequence %s calls %s, which leads back to it: the call would wait for ever",
                           calls[i].caller->name, calls[i].callee->name);
            }
            // This call is followed: on to the sequence's next call, or back out of the sequence.
            while (depth > 0) {
                const int j = path[depth - 1];
                if (j + 1 < n && calls[j + 1].caller == calls[j].caller) {
                    path[depth - 1] = j + 1;
                    break;
                }
                const int f = FirstCallOf(calls, n, calls[j].caller);
                state[f] = (state[f] & kReported) | kDone;
                --depth;
            }
        }
    }
}

static void CheckCalls(sBasicUiEnvironment* env)
{
    int count = 0;
    ForEveryWidget(env, [&count](sBasicUiWidget* w) {
        if (w->widgetTypeRef.type == EBasicUiWidgetTypeCmdGosub && SequenceOf(w) && CalleeOf(w)) ++count;
    });
    if (count == 0) return;
    void* memory = nullptr;
    const int bytes = count * int(sizeof(Call) + sizeof(int) + 1);
    if (!AllocateTempMemory(&memory, bytes) || !memory) return;
    std::memset(memory, 0, size_t(bytes));
    Call* calls = static_cast<Call*>(memory);
    int* path = reinterpret_cast<int*>(calls + count);
    auto* state = reinterpret_cast<unsigned char*>(path + count);
    int n = 0;
    ForEveryWidget(env, [&](sBasicUiWidget* w) {
        if (n < count && w->widgetTypeRef.type == EBasicUiWidgetTypeCmdGosub && SequenceOf(w) && CalleeOf(w))
            calls[n++] = {SequenceOf(w), CalleeOf(w)};
    });
    std::qsort(calls, size_t(n), sizeof(Call), ByCaller);
    FindLoops(calls, n, state, path);
    FreeManagedMemory(memory, 0);
}

int BasicUiEnvironment_CheckLoaded(sBasicUiEnvironment* env)
{
    if (!env) return 0;
    ForEveryWidget(env, [](sBasicUiWidget* w) {
        CheckNumbers(w);
        CheckTriggerNames(w);
    });
    // A named widget that is on no screen (one a damaged description left out of its tree) can
    // still be reached by name, by navigation say: its numbers are checked too. Those on a screen
    // are in range already and say nothing again.
    for (sBasicUiWidget* first : env->wHash)
        for (sBasicUiWidget* w = first; w; w = w->nextHash) CheckNumbers(w);
    CheckCalls(env);
    return 1;
}
