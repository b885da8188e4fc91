// Playing animation sets on widgets: the key search that starts from the key found last, the
// evaluation of float, cubic, vector and quaternion curves, and the typed writes into properties.
#include "ui/animtrack.h"

#include <cmath>
#include <cstring>

#include "lib/matrix.h"
#include "ui/frameupdate.h"
#include "ui/loadcheck.h"

sBasicUiAnimSetTracker* BasicUi_CreateAnimSetTracker(sBasicUiEnvironment* env, sBasicUiWidget* widget,
                                                     sBasicUiAnimSet* animSet)
{
    if (!env || !widget || !animSet) return nullptr;
    int items = BasicUiAnimSet_GetNumItems(animSet);
    void* p = nullptr;
    int size = int(sizeof(sBasicUiAnimSetTracker) + sizeof(sBasicUiAnimTracker) * size_t(items));
    if (!BasicMemory_Alloc(env->memorySlot, &p, size)) return nullptr;
    auto* tracker = static_cast<sBasicUiAnimSetTracker*>(p);
    tracker->widget = widget;
    tracker->animSet = animSet;
    tracker->tracks = 0;
    tracker->track = reinterpret_cast<sBasicUiAnimTracker*>(tracker + 1);
    static sBasicUiPropertyTracker props;  // large: kept out of the stack
    BasicUiWidget_InitialisePropertyTracker(widget, &props);
    for (sBasicUiAnimSetItem* item = animSet->nextItem; item && tracker->tracks < items; item = item->next) {
        if (!item->anim || !item->anim->nextKey) continue;
        sBasicUiProperty* prop = BasicUiPropertyTracker_FindPropertyByName(&props, item->prop);
        if (!prop || !prop->propPtr) continue;
        sBasicUiAnimTracker& track = tracker->track[tracker->tracks++];
        track.prop = *prop;
        track.anim = item->anim;
        track.key = item->anim->nextKey;
    }
    return tracker;
}

void BasicUiAnimSetTracker_Destroy(sBasicUiEnvironment* env, sBasicUiAnimSetTracker* tracker)
{
    if (env && tracker) BasicMemory_Free(env->memorySlot, tracker);
}

void BasicUi_Lerp3f(const float* a, const float* b, float u, float* out)
{
    for (int i = 0; i < 3; ++i) out[i] = a[i] * (1.0f - u) + b[i] * u;
}

void BasicUi_Slerp(float* a, const float* b, float u, float* out)
{
    float d = a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3];
    quaternion qa = {a[0], a[1], a[2], a[3]}, qb = {b[0], b[1], b[2], b[3]}, q;
    if (d >= 0.9995f || d <= -0.9995f) {
        if (d <= -0.9995f) {
            for (int i = 0; i < 4; ++i) a[i] = -a[i];  // the same rotation, now beside b
            qa = {a[0], a[1], a[2], a[3]};
        }
        interpolateQuaternionsLinear(&qa, &qb, &q, u);
    } else {
        float theta = std::acos(d < -1.0f ? -1.0f : d > 1.0f ? 1.0f : d);
        quaternion v = {b[0] - a[0] * d, b[1] - a[1] * d, b[2] - a[2] * d, b[3] - a[3] * d};
        normalizeQuaternion(&v);
        float c = std::cos(theta * u), s = std::sin(theta * u);
        q = {a[0] * c + v.x * s, a[1] * c + v.y * s, a[2] * c + v.z * s, a[3] * c + v.w * s};
    }
    out[0] = q.x;
    out[1] = q.y;
    out[2] = q.z;
    out[3] = q.w;
}

void BasicUiAnimSetTracker_DetermineValue(sBasicUiAnimTracker* track, sBasicUiAnimKey* a, sBasicUiAnimKey* b,
                                          float t, float* out)
{
    if (a && b) {
        track->key = a;
        float span = b->t - a->t;
        float u = span > 0.0f ? (t - a->t) / span : 0.0f;
        switch (track->anim->type) {
        case eBasicUiAnimTypeFLT: out[0] = a->v[0] * (1.0f - u) + b->v[0] * u; break;
        case eBasicUiAnimTypeCUBIC: out[0] = a->v[0] + u * (a->v[1] + u * (a->v[2] + u * a->v[3])); break;
        case eBasicUiAnimTypeVEC3: BasicUi_Lerp3f(a->v, b->v, u, out); break;
        case eBasicUiAnimTypeQUAT: BasicUi_Slerp(a->v, b->v, u, out); break;
        default: break;
        }
        return;
    }
    sBasicUiAnimKey* k = a ? a : b;
    if (!k) return;
    track->key = k;
    switch (track->anim->type) {
    case eBasicUiAnimTypeFLT:
    case eBasicUiAnimTypeCUBIC: out[0] = k->v[0]; break;
    case eBasicUiAnimTypeVEC3: std::memcpy(out, k->v, 3 * sizeof(float)); break;
    case eBasicUiAnimTypeQUAT: std::memcpy(out, k->v, 4 * sizeof(float)); break;
    default: break;
    }
}

// The keys around t, searched from the key found last: A the last key at or before t and B the
// one after it; past the last key only B (the last), before the first only B (the first).
static void FindKeys(sBasicUiAnimTracker* track, float t, sBasicUiAnimKey** a, sBasicUiAnimKey** b)
{
    sBasicUiAnimKey* k = track->key ? track->key : track->anim->nextKey;
    while (k->prev && k->t > t) k = k->prev;
    if (k->t > t) {  // before the first key
        *a = nullptr;
        *b = k;
        return;
    }
    while (k->next && k->next->t <= t) k = k->next;
    if (k->next) {
        *a = k;
        *b = k->next;
    } else {
        *a = nullptr;
        *b = k;
    }
}

enum { kAddCurrent = 1, kAddInitial = 2 };

// Rounds to the nearest integer, halves upwards, on both sides of zero.
static double RoundHalfUp(double v) { return std::floor(v + 0.5); }

static void Write(const sBasicUiWidget* widget, const sBasicUiAnimTracker& track, const float* out, int mode)
{
    const sBasicUiProperty& p = track.prop;
    int withInitial = (mode & kAddInitial) && p.hasInitial;
    float v = out[0];
    switch (p.propType) {
    case eBasicUiPropertyTypeBOOL: {
        auto* b = static_cast<sBasicUiValueBOOL*>(p.propPtr);
        float s = v + ((mode & kAddCurrent) && b->value ? 1.0f : 0.0f) + (withInitial && b->initial ? 1.0f : 0.0f);
        b->value = std::fabs(s) > 0.01f ? 1 : 0;
        break;
    }
    case eBasicUiPropertyTypeBYTE: {
        auto* b = static_cast<sBasicUiValueBYTE*>(p.propPtr);
        double s = double(v) + 0.5 + ((mode & kAddCurrent) ? b->value : 0) + (withInitial ? b->initial : 0);
        b->value = uint8_t(std::fmin(std::fmax(s, 0.0), 255.0));  // fmax takes 0 for a NaN
        break;
    }
    case eBasicUiPropertyTypeINT: {
        auto* i = static_cast<sBasicUiValueINT*>(p.propPtr);
        double s = double(v) + ((mode & kAddCurrent) ? i->value : 0) + (withInitial ? i->initial : 0);
        s = RoundHalfUp(s);
        // A curve of huge coefficients may give an infinity or NaN: clamped, never converted as it is.
        i->value = int(std::fmin(std::fmax(s, -16777215.0), 16777215.0));
        break;
    }
    case eBasicUiPropertyTypeFLT: {
        auto* f = static_cast<float*>(p.propPtr);
        f[0] = v + ((mode & kAddCurrent) ? f[0] : 0.0f) + (withInitial ? f[1] : 0.0f);
        break;
    }
    case eBasicUiPropertyTypeVEC3: {
        auto* f = static_cast<float*>(p.propPtr);
        if (mode & kAddCurrent)
            addVectors(out, f, f);
        else
            std::memcpy(f, out, 3 * sizeof(float));
        break;
    }
    case eBasicUiPropertyTypeQUAT: {
        auto* q = static_cast<quaternion*>(p.propPtr);
        if (mode & kAddCurrent) {
            quaternion o = {out[0], out[1], out[2], out[3]};
            multiplyQuaternions(q, &o, q);
        } else {
            std::memcpy(q, out, 4 * sizeof(float));
        }
        break;
    }
    default: break;
    }
    // The property keeps the range the loader gave it.
    BasicUi_KeepNumberInRange(widget, &p);
}

static void Update(sBasicUiAnimSetTracker* tracker, float t, int mode)
{
    if (!tracker) return;
    for (int i = 0; i < tracker->tracks; ++i) {
        sBasicUiAnimTracker& track = tracker->track[i];
        sBasicUiAnimKey *a, *b;
        FindKeys(&track, t, &a, &b);
        float out[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        BasicUiAnimSetTracker_DetermineValue(&track, a, b, t, out);
        Write(tracker->widget, track, out, mode);
    }
}

void BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbs(sBasicUiAnimSetTracker* tr, float t) { Update(tr, t, 0); }
void BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAdd(sBasicUiAnimSetTracker* tr, float t)
{
    Update(tr, t, kAddCurrent);
}
void BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbsWithInitial(sBasicUiAnimSetTracker* tr, float t)
{
    Update(tr, t, kAddInitial);
}
void BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAddWithInitial(sBasicUiAnimSetTracker* tr, float t)
{
    Update(tr, t, kAddCurrent | kAddInitial);
}
