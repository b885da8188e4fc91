// The 3D bone and bone-limit widgets. A bone's matrices come from its rest rotation, the delta
// that animation and inverse kinematics add, and its offset, chained through its parent bone;
// the limit pass keeps joints inside their cones and turning no faster than their limits allow.
#include "ui/widgets/bone3d.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "ui/frameupdate.h"
#include "ui/widgets/rig3d.h"
#include "ui/widgets/transform3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static matrix identity = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
static const float kDegToRad = 0.017453292f;

static sBasicUiWidgetType3DBone* Bone(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DBone>(w, EBasicUiWidgetType3DBone);
}

static sBasicUiWidgetType3DBoneLimit* Limit(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DBoneLimit>(w, EBasicUiWidgetType3DBoneLimit);
}

// X applied first, then Y.
static void Then(const float (*x)[4], const float (*y)[4], matrix out) { composeMatrix(y, x, out); }

static void SetVec(float* v, float x, float y, float z)
{
    v[0] = x;
    v[1] = y;
    v[2] = z;
}

static void SetQuat(float* q) { q[0] = q[1] = q[2] = 0, q[3] = 1; }

sBasicUiWidgetTypeRef BasicUiWidgetType3DBone_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetType3DBone* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetType3DBone, &r);
    if (!r) return ref;
    SetVec(r->pivot, 0, 0, 1);
    SetVec(r->bindPivot, 0, 0, 1);
    SetQuat(r->rotation);
    SetQuat(r->rotationDelta);
    SetQuat(r->rotationDeltaOld);
    SetQuat(r->bindRotation);
    r->boneIndex = BasicUiValueINT_Make(-1);
    r->flipIndex = BasicUiValueINT_Make(-1);
    r->isAnimated = BasicUiValueBOOL_Make(1);
    setIdentityMatrix(r->lTransform);
    setIdentityMatrix(r->gTransform);
    setIdentityMatrix(r->gFixedTransform);
    setIdentityMatrix(r->gFixedTransformInv);
    return ref;
}

// A vector property and its three components, named name, name.x, name.y, name.z.
static void AddVec3(sBasicUiPropertyTracker* t, const char* const names[4], float* v, int editWhole)
{
    BasicUiPropertyTracker_Add(t, names[0], eBasicUiPropertyTypeVEC3, v, editWhole, 0);
    for (int c = 0; c < 3; c++) BasicUiPropertyTracker_Add(t, names[c + 1], eBasicUiPropertyTypeFLT, &v[c], 1, 0);
}

// A quaternion property and its components .i, .j, .k, .r.
static void AddQuat(sBasicUiPropertyTracker* t, const char* const names[5], float* q)
{
    BasicUiPropertyTracker_Add(t, names[0], eBasicUiPropertyTypeQUAT, q, 1, 0);
    for (int c = 0; c < 4; c++) BasicUiPropertyTracker_Add(t, names[c + 1], eBasicUiPropertyTypeFLT, &q[c], 1, 0);
}

int BasicUiWidgetType3DBone_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    static const char* const kPivot[4] = {"pivot", "pivot.x", "pivot.y", "pivot.z"};
    static const char* const kRot[5] = {"rotation", "rotation.i", "rotation.j", "rotation.k", "rotation.r"};
    static const char* const kBindPivot[4] = {"bindPivot", "bindPivot.x", "bindPivot.y", "bindPivot.z"};
    static const char* const kBindRot[5] = {"bindRotation", "bindRotation.i", "bindRotation.j",
                                            "bindRotation.k", "bindRotation.r"};
    static const char* const kDelta[5] = {"rotationDelta", "rotationDelta.i", "rotationDelta.j",
                                          "rotationDelta.k", "rotationDelta.r"};
    sBasicUiWidgetType3DBone* r = Bone(w);
    if (!r || !t) return 0;
    AddVec3(t, kPivot, r->pivot, 0);
    AddQuat(t, kRot, r->rotation);
    AddVec3(t, kBindPivot, r->bindPivot, 0);
    AddQuat(t, kBindRot, r->bindRotation);
    AddQuat(t, kDelta, r->rotationDelta);
    BasicUiPropertyTracker_Add(t, "boneIndex", eBasicUiPropertyTypeINT, &r->boneIndex, 1, 1);
    BasicUiPropertyTracker_Add(t, "flipIndex", eBasicUiPropertyTypeINT, &r->flipIndex, 1, 1);
    BasicUiPropertyTracker_Add(t, "isAnimated", eBasicUiPropertyTypeBOOL, &r->isAnimated, 1, 1);
    BasicUiPropertyTracker_Add(t, "rig", eBasicUiPropertyTypeWidgetREF, &r->rig, 1, 0);
    return 1;
}

int BasicUiWidgetType3DBone_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
// Bones draw nothing of their own: the character's skin is drawn by the character widget.
int BasicUiWidgetType3DBone_Render(sBasicUiWidget*) { return 1; }

int BasicUiWidgetType3DBone_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!Bone(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

static void QuatMatrix(const float* q, matrix m)
{
    quaternion qq = {q[0], q[1], q[2], q[3]};
    setQuaternionMatrix(m, &qq);
}

// The rig's transform for a root bone, or the identity.
static const float (*RootParent(sBasicUiWidget* w))[4]
{
    sBasicUiWidget* parent = w ? w->parentWidget : nullptr;
    if (parent && parent->widgetTypeRef.type == EBasicUiWidgetType3DRig)
        return BasicUiWidgetType3DPRS_GetParentGlobalTransform(parent);
    return identity;
}

const float (*BasicUiWidgetType3DBone_GetParentGlobalTransform(sBasicUiWidget* w))[4]
{
    sBasicUiWidgetType3DBone* parent = w ? Bone(w->parentWidget) : nullptr;
    return parent ? parent->gTransform : RootParent(w);
}

const float (*BasicUiWidgetType3DBone_GetParentFixedGlobalTransform(sBasicUiWidget* w))[4]
{
    sBasicUiWidgetType3DBone* parent = w ? Bone(w->parentWidget) : nullptr;
    return parent ? parent->gFixedTransform : RootParent(w);
}

int BasicUiWidgetType3DBone_Update(sBasicUiWidget* w, float)
{
    sBasicUiWidgetType3DBone* r = Bone(w);
    if (!r) return 0;
    matrix t, rot, delta, rd, fixed;
    setTranslationMatrix(t, r->pivot[0], r->pivot[1], r->pivot[2]);
    QuatMatrix(r->rotation, rot);
    QuatMatrix(r->rotationDelta, delta);
    // Rest rotation, then the delta, then the offset; the fixed matrix leaves the delta out.
    Then(rot, delta, rd);
    Then(rd, t, r->lTransform);
    Then(rot, t, fixed);
    const float(*p)[4] = BasicUiWidgetType3DBone_GetParentGlobalTransform(w);
    if (Bone(w->parentWidget)) {
        Then(r->lTransform, p, r->gTransform);
        Then(fixed, p, r->gFixedTransform);
    } else {
        // The root bone takes the rig's matrix first.
        Then(p, r->lTransform, r->gTransform);
        Then(p, fixed, r->gFixedTransform);
    }
    inverseMatrix(r->gFixedTransform, r->gFixedTransformInv);
    return 1;
}

void BasicUiWidgetType3DBone_UpdateBoneXforms(sBasicUiWidget* start)
{
    if (!start) return;
    sBasicUiWidget* w = start;
    while (w) {
        int descend = w->isActive.value != 0;
        sBasicUiWidgetType3DBone* r = descend ? Bone(w) : nullptr;
        if (r) {
            matrix t, bind, tb, s;
            setTranslationMatrix(t, r->bindPivot[0], r->bindPivot[1], r->bindPivot[2]);
            QuatMatrix(r->bindRotation, bind);
            Then(t, bind, tb);
            Then(tb, r->gTransform, s);
            BasicUiWidgetType3DRig_SetRigBone(r->rig, r->boneIndex.value, s);
        }
        if (descend && w->childWidget) {
            w = w->childWidget;
            continue;
        }
        // Next sibling, else climb; the walk ends back at the start.
        while (w != start && !w->nextWidget) w = w->parentWidget;
        if (w == start || !w) break;
        w = w->nextWidget;
    }
}

#define BONE_COPY(Name, field, n)                                                                 \
    void BasicUiWidgetType3DBone_Get##Name(sBasicUiWidget* w, float out[n])                       \
    {                                                                                             \
        sBasicUiWidgetType3DBone* r = Bone(w);                                                    \
        if (r && out) std::memcpy(out, r->field, sizeof(float) * n);                              \
    }
#define BONE_STORE(Name, field, n)                                                                \
    void BasicUiWidgetType3DBone_Set##Name(sBasicUiWidget* w, const float v[n])                   \
    {                                                                                             \
        sBasicUiWidgetType3DBone* r = Bone(w);                                                    \
        if (r && v) std::memcpy(r->field, v, sizeof(float) * n);                                  \
    }
BONE_COPY(Pivot, pivot, 3)
BONE_STORE(Pivot, pivot, 3)
BONE_COPY(Rotation, rotation, 4)
BONE_COPY(RotationDelta, rotationDelta, 4)
BONE_STORE(RotationDelta, rotationDelta, 4)
BONE_COPY(RotationDeltaOld, rotationDeltaOld, 4)
BONE_STORE(RotationDeltaOld, rotationDeltaOld, 4)
BONE_COPY(PivotPreLimit, pivotPreLimit, 3)
BONE_COPY(PivotPostLimit, pivotPostLimit, 3)
#undef BONE_COPY
#undef BONE_STORE

// v's direction at the bone's length.
static void AtBoneLength(const sBasicUiWidgetType3DBone* r, const float* v, float* out)
{
    float d[3] = {v[0], v[1], v[2]};
    normalizeVector(d);
    scaleVector(d, vectorLength(r->pivot));
    std::memcpy(out, d, sizeof d);
}

void BasicUiWidgetType3DBone_SetPivotPreLimit(sBasicUiWidget* w, const float v[3])
{
    sBasicUiWidgetType3DBone* r = Bone(w);
    if (r && v) AtBoneLength(r, v, r->pivotPreLimit);
}

void BasicUiWidgetType3DBone_SetPivotPostLimit(sBasicUiWidget* w, const float v[3])
{
    sBasicUiWidgetType3DBone* r = Bone(w);
    if (r && v) AtBoneLength(r, v, r->pivotPostLimit);
}

int BasicUiWidgetType3DBone_GetBoneIndex(sBasicUiWidget* w, int flip)
{
    sBasicUiWidgetType3DBone* r = Bone(w);
    if (!r) return -1;
    return flip ? r->flipIndex.value : r->boneIndex.value;
}

int BasicUiWidgetType3DBone_GetIsAnimated(sBasicUiWidget* w)
{
    sBasicUiWidgetType3DBone* r = Bone(w);
    return r ? r->isAnimated.value : 0;
}

int BasicUiWidgetType3DBone_SetIsAnimated(sBasicUiWidget* w, int v)
{
    sBasicUiWidgetType3DBone* r = Bone(w);
    if (!r) return 0;
    r->isAnimated.value = v;
    return 1;
}

void BasicUiWidgetType3DBone_GetVectorInFixedGlobalTransform(sBasicUiWidget* w, float v[3])
{
    sBasicUiWidgetType3DBone* r = Bone(w);
    if (r && v) composeNormal(v, r->gFixedTransformInv);
}

// ---- Bone limits ----

sBasicUiWidgetTypeRef BasicUiWidgetType3DBoneLimit_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetType3DBoneLimit* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetType3DBoneLimit, &r);
    if (!r) return ref;
    SetVec(r->midLimit, 0, 0, 1);
    SetVec(r->maxLimit, 0, 0, 1);
    r->constraint = BasicUiValueINT_Make(0);
    return ref;
}

int BasicUiWidgetType3DBoneLimit_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    static const char* const kMid[4] = {"midLimit", "midLimit.x", "midLimit.y", "midLimit.z"};
    static const char* const kMax[4] = {"maxLimit", "maxLimit.x", "maxLimit.y", "maxLimit.z"};
    static const char* const kAdjust[4] = {"adjust", "adjust.x", "adjust.y", "adjust.z"};
    sBasicUiWidgetType3DBoneLimit* r = Limit(w);
    if (!r || !t) return 0;
    AddVec3(t, kMid, r->midLimit, 0);
    BasicUiPropertyTracker_Add(t, "maxAngle", eBasicUiPropertyTypeFLT, &r->maxAngle, 1, 0);
    AddVec3(t, kMax, r->maxLimit, 1);
    BasicUiPropertyTracker_Add(t, "constraint", eBasicUiPropertyTypeINT, &r->constraint, 1, 1);
    AddVec3(t, kAdjust, r->adjust, 0);
    BasicUiPropertyTracker_Add(t, "nextBone", eBasicUiPropertyTypeWidgetREF, &r->nextBone, 1, 0);
    return 1;
}

int BasicUiWidgetType3DBoneLimit_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetType3DBoneLimit_Update(sBasicUiWidget*, float) { return 1; }
int BasicUiWidgetType3DBoneLimit_Render(sBasicUiWidget*) { return 1; }

int BasicUiWidgetType3DBoneLimit_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!Limit(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

static uint32_t Bits(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

void BasicUi_GuardComponents(float v[3])
{
    for (int c = 0; c < 3; c++)
        if (Bits(v[c]) >= 0xC0000000u) v[c] = 0.0f;
}

// Clamped to [-1, 1] by bit pattern, so that a NaN with the sign bit becomes -1.
static float ClampUnit(float d)
{
    if (Bits(d) > 0xBF800000u) return -1.0f;
    if (int32_t(Bits(d)) > 0x3F800000) return 1.0f;
    return d;
}

void BasicUi_VectorOthogonalB(const float a[3], const float b[3], float out[3])
{
    float n[3] = {a[0], a[1], a[2]};
    normalizeVector(n);
    float d = dotVectors(n, b);
    scaleAddVectors(b, -d, n, out);
}

void BasicUi_ProjectVectorOnToCone(const float axis[3], const float edge[3], const float v[3], float out[3])
{
    float length = vectorLength(v);
    float a[3] = {axis[0], axis[1], axis[2]}, e[3] = {edge[0], edge[1], edge[2]}, u[3] = {v[0], v[1], v[2]};
    normalizeVector(a);
    normalizeVector(e);
    normalizeVector(u);
    BasicUi_GuardComponents(u);
    float cl = dotVectors(a, e);
    if (dotVectors(a, u) >= cl) {
        for (int c = 0; c < 3; c++) out[c] = u[c] * length;
        return;
    }
    // Outside: the same azimuth about the axis, on the cone's surface. An edge along the axis
    // (a cone of no width) may round its cosine just above 1: its sine is then 0, not the square
    // root of a negative number.
    float sl = std::sqrt(std::fmax(1.0f - cl * cl, 0.0f));
    float p[3];
    BasicUi_VectorOthogonalB(a, u, p);
    normalizeVector(p);
    BasicUi_GuardComponents(p);
    for (int c = 0; c < 3; c++) out[c] = (a[c] * cl + p[c] * sl) * length;
}

void BasicUi_ShortestArc(const float a[3], const float b[3], float q[4])
{
    float axis[3];
    crossVectors(a, b, axis);
    float c = dotVectors(a, b);
    float s = vectorLength(axis);
    // Opposite unit directions may round their cosine just below -1: w is then 0, not the square
    // root of a negative number.
    float w = std::sqrt(std::fmax((c + 1.0f) * 0.5f, 0.0f));
    normalizeVector(axis);
    // Opposite directions have no single shortest turn: w is 0 and any perpendicular axis would
    // do; the zero axis of the cross product gives a zero quaternion, which callers' matrices
    // treat as no turn rather than dividing by zero.
    float k = w > 0.0f ? s * 0.5f / w : 0.0f;
    q[0] = axis[0] * k;
    q[1] = axis[1] * k;
    q[2] = axis[2] * k;
    q[3] = w;
}

static void Normalized(const float* v, float* out)
{
    out[0] = v[0], out[1] = v[1], out[2] = v[2];
    normalizeVector(out);
}

static void ApplyLimit(sBasicUiWidgetType3DBoneLimit* l, float dt)
{
    sBasicUiWidget* nw = l->nextBone;
    sBasicUiWidgetType3DBone* n = Bone(nw);
    if (!n) return;
    sBasicUiWidget* bw = nw->parentWidget;
    sBasicUiWidgetType3DBone* b = Bone(bw);
    float t[3], r[3];
    Normalized(n->pivotPreLimit, t);
    addVectors(t, l->adjust, t);
    int constraint = l->constraint.value;
    if (constraint == 1) {
        BasicUi_ProjectVectorOnToCone(l->midLimit, l->maxLimit, t, r);
    } else if (constraint == 2) {
        float hinge[3], u[3];
        crossVectors(l->midLimit, l->maxLimit, hinge);
        normalizeVector(hinge);
        BasicUi_VectorOthogonalB(hinge, t, u);
        normalizeVector(u);
        scaleVector(u, vectorLength(t));
        BasicUi_ProjectVectorOnToCone(l->midLimit, l->maxLimit, u, r);
    } else {
        r[0] = t[0], r[1] = t[1], r[2] = t[2];
    }
    BasicUiWidgetType3DBone_SetPivotPreLimit(nw, r);
    float s = l->maxAngle * dt * kDegToRad;
    if (!b) return;
    if (constraint == 3) {
        // Dead band: the delta follows its target only once it is more than s away, and lags by s.
        quaternion q = {b->rotationDelta[0], b->rotationDelta[1], b->rotationDelta[2], b->rotationDelta[3]};
        quaternion o = {b->rotationDeltaOld[0], b->rotationDeltaOld[1], b->rotationDeltaOld[2],
                        b->rotationDeltaOld[3]};
        float d = ClampUnit(q.x * o.x + q.y * o.y + q.z * o.z + q.w * o.w);
        float step = std::fmin(std::acos(d), s);
        quaternion out;
        if (d <= 0.9995f) {
            quaternion p = {o.x - d * q.x, o.y - d * q.y, o.z - d * q.z, o.w - d * q.w};
            normalizeQuaternion(&p);
            float cs = std::cos(step), sn = std::sin(step);
            out = {q.x * cs + p.x * sn, q.y * cs + p.y * sn, q.z * cs + p.z * sn, q.w * cs + p.w * sn};
        } else {
            interpolateQuaternionsLinear(&q, &o, &out, std::cos(step));
        }
        float v[4] = {out.x, out.y, out.z, out.w};
        std::memcpy(b->rotationDelta, v, sizeof v);
        std::memcpy(b->rotationDeltaOld, v, sizeof v);
        return;
    }
    // Rate limit: last frame's direction turned towards the wanted one by at most s.
    float p[3], a[3], g[3], v[3], perp[3];
    Normalized(n->pivot, p);
    // Before the first limited frame there is no last direction: the bone starts from its rest.
    if (vectorLength(n->pivotPostLimit) > 0.0f) Normalized(n->pivotPostLimit, a);
    else a[0] = p[0], a[1] = p[1], a[2] = p[2];
    Normalized(n->pivotPreLimit, g);
    float d = ClampUnit(dotVectors(a, g));
    float step = std::fmin(std::acos(d), s);
    scaleAddVectors(g, -d, a, perp);
    normalizeVector(perp);
    for (int c = 0; c < 3; c++) v[c] = a[c] * std::cos(step) + perp[c] * std::sin(step);
    BasicUi_ShortestArc(p, v, b->rotationDelta);
    BasicUiWidgetType3DBone_SetPivotPostLimit(nw, v);
}

// Whether the limit belongs to the bone: its next bone's parent is the bone.
static int BelongsTo(sBasicUiWidgetType3DBoneLimit* l, sBasicUiWidget* bone)
{
    return l->nextBone && l->nextBone->parentWidget == bone;
}

void BasicUiWidgetType3DRig_LimitBonesIncremental(sBasicUiWidget* bone, sBasicUiWidget** firstLimit, int count)
{
    sBasicUiWidget* w = firstLimit ? *firstLimit : nullptr;
    if (!w || !w->isActive.value || !Limit(w)) return;
    float dt = BasicUiCounter_GetElapsedTime(0);
    if (count == 0) {
        for (; w; w = w->nextWidget) {
            sBasicUiWidgetType3DBoneLimit* l = Limit(w);
            if (!l || !l->nextBone) return;
            if (BelongsTo(l, bone)) break;
        }
    }
    while (w) {
        sBasicUiWidgetType3DBoneLimit* l = Limit(w);
        if (!l || !l->nextBone) return;
        if (count < 1 && !BelongsTo(l, bone)) return;
        ApplyLimit(l, dt);
        w = w->nextWidget;
        count--;
    }
}
