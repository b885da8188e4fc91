// The 3D rig widget: it keeps a character's skinning matrices and its bone widgets by index,
// and walks its subtree to update the bones parent first and to draw them.
#include "ui/widgets/rig3d.h"

#include <cmath>
#include <cstring>
#include <string>

#include "platform/actorrecord.h"
#include "platform/skeleton.h"

#include "ui/memoryslots.h"
#include "ui/widgets/bone3d.h"
#include "ui/widgets/transform3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetType3DRig* Rig(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DRig>(w, EBasicUiWidgetType3DRig);
}

sBasicUiWidgetTypeRef BasicUiWidgetType3DRig_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetType3DRig* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetType3DRig, &r);
    if (!r) return ref;
    r->bones = BasicUiValueINT_Make(0);
    r->translationScale = 1.0f;
    r->up[2] = 1.0f;
    r->fwd[1] = 1.0f;
    r->side[0] = 1.0f;
    r->isFacingForward = 1;
    return ref;
}

int BasicUiWidgetType3DRig_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetType3DRig* r = Rig(w);
    if (!r || !t) return 0;
    BasicUiPropertyTracker_Add(t, "bones", eBasicUiPropertyTypeINT, &r->bones, 1, 1);
    BasicUiPropertyTracker_Add(t, "limits", eBasicUiPropertyTypeWidgetREF, &r->limits, 1, 0);
    BasicUiPropertyTracker_Add(t, "angleFromCamera", eBasicUiPropertyTypeFLT, &r->angleFromCamera, 1, 0);
    return 1;
}

int BasicUiWidgetType3DRig_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
// The character widget drives the rig; it does nothing in the frame's own update.
int BasicUiWidgetType3DRig_Update(sBasicUiWidget*, float) { return 1; }

static sBasicUiEnvironment* EnvOf(sBasicUiEnvironment* env) { return env ? env : BasicUi_GetEnvironment(); }

int BasicUiWidgetType3DRig_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    sBasicUiWidgetType3DRig* r = Rig(w);
    if (!r) return 0;
    env = EnvOf(env);
    if (env) {
        if (r->bone) BasicMemory_Free(env->memorySlot, r->bone);
        if (r->iBoneW) BasicMemory_Free(env->memorySlot, r->iBoneW);
        if (r->mBoneW) BasicMemory_Free(env->memorySlot, r->mBoneW);
    }
    r->bone = nullptr;
    r->iBoneW = r->mBoneW = nullptr;
    return BasicUiWidget_FreeRecord(env, w);
}

// A pre-order walk of w's subtree that visits every widget it reaches; descend(widget) says whether
// to enter its children.
template <class Visit, class Descend>
static void WalkSubtree(sBasicUiWidget* start, Visit visit, Descend descend)
{
    sBasicUiWidget* w = start;
    while (w) {
        visit(w);
        if (descend(w) && w->childWidget) {
            w = w->childWidget;
            continue;
        }
        while (w != start && !w->nextWidget) w = w->parentWidget;
        if (!w || w == start) return;
        w = w->nextWidget;
    }
}

static void* Cleared(sBasicUiEnvironment* env, int size)
{
    void* p = nullptr;
    if (!env || !BasicMemory_Alloc(env->memorySlot, &p, size) || !p) return nullptr;
    std::memset(p, 0, size_t(size));
    return p;
}

void BasicUiWidgetType3DRig_EnumerateBoneArray(sBasicUiWidget* rig)
{
    sBasicUiWidgetType3DRig* r = Rig(rig);
    if (!r || r->bones.value < 1 || r->bone) return;
    int n = r->bones.value;
    sBasicUiEnvironment* env = BasicUi_GetEnvironment();
    r->bone = static_cast<matrix*>(Cleared(env, n * int(sizeof(matrix))));
    r->iBoneW = static_cast<sBasicUiWidget**>(Cleared(env, n * int(sizeof(sBasicUiWidget*))));
    r->mBoneW = static_cast<sBasicUiWidget**>(Cleared(env, n * int(sizeof(sBasicUiWidget*))));
    WalkSubtree(
        rig,
        [&](sBasicUiWidget* w) {
            if (!w->isActive.value || w->widgetTypeRef.type != EBasicUiWidgetType3DBone || !w->widgetTypeRef.ptr)
                return;
            int i = BasicUiWidgetType3DBone_GetBoneIndex(w, 0), m = BasicUiWidgetType3DBone_GetBoneIndex(w, 1);
            if (r->iBoneW && i >= 0 && i < n) r->iBoneW[i] = w;
            if (r->mBoneW && m >= 0 && m < n) r->mBoneW[m] = w;
        },
        [](sBasicUiWidget* w) { return int(w->isRender.value != 0); });
}

void BasicUiWidgetType3DRig_SetRigBone(sBasicUiWidget* rig, int index, const matrix m)
{
    sBasicUiWidgetType3DRig* r = Rig(rig);
    if (!r || !r->bone || !m || index < 0 || index >= r->bones.value) return;
    std::memcpy(r->bone[index], m, sizeof(matrix));
}

const float (*BasicUiWidgetType3DRig_GetRigBone(sBasicUiWidget* rig, int index))[4]
{
    sBasicUiWidgetType3DRig* r = Rig(rig);
    if (!r || !r->bone || index < 0 || index >= r->bones.value) return nullptr;
    return r->bone[index];
}

void BasicUiWidgetType3DRig_SetParentGlobalTransform(sBasicUiWidget* rig, const matrix m)
{
    sBasicUiWidgetType3DRig* r = Rig(rig);
    if (!r || !m) return;
    auto* p = BasicUiWidget_Record<sBasicUiWidgetType3DPRS>(rig->parentWidget, EBasicUiWidgetType3DPRS);
    if (p) std::memcpy(p->gTransform, m, sizeof(matrix));
}

void BasicUiWidgetType3DRig_SetTranslationScale(sBasicUiWidget* rig, float s)
{
    sBasicUiWidgetType3DRig* r = Rig(rig);
    if (r) r->translationScale = s;
}

void BasicUiWidgetType3DRig_UpdateBones(sBasicUiWidget* w)
{
    if (!w) return;
    WalkSubtree(
        w,
        [](sBasicUiWidget* x) {
            if (x->isActive.value) BasicUiWidgetType_Update(x, 0.0f);
        },
        [](sBasicUiWidget* x) { return int(x->isActive.value != 0); });
}

void BasicUiWidgetType3DRig_UpdateBonesD(sBasicUiWidget* w, int depth)
{
    if (!w || !depth || !w->isActive.value) return;
    BasicUiWidgetType_Update(w, 0.0f);
    for (sBasicUiWidget* c = w->childWidget; c; c = c->nextWidget) BasicUiWidgetType3DRig_UpdateBonesD(c, depth - 1);
}

void BasicUiWidgetType3DRig_RenderBones(sBasicUiWidget* w)
{
    if (!w) return;
    // Every active widget is drawn; only those that render are descended into.
    sBasicUiWidget* x = w;
    while (x) {
        if (x->isActive.value) BasicUiWidgetType_Render(x);
        if (x->isRender.value && x->childWidget) {
            x = x->childWidget;
            continue;
        }
        while (x != w && !x->nextWidget) x = x->parentWidget;
        if (!x || x == w) return;
        x = x->nextWidget;
    }
}

void BasicUiWidgetType3DRig_SetActorBones(sBasicUiWidget* rig, actor_tag* actor)
{
    sBasicUiWidgetType3DRig* r = Rig(rig);
    if (!r || !r->bone || !actor) return;
    int n = r->bones.value < kMaxBones ? r->bones.value : kMaxBones;
    std::memcpy(actor->boneXforms, r->bone, sizeof(matrix) * size_t(n));
}

// The frame counter wrapped into [0, frames). A count of frames below 1 leaves it alone, since
// no wrap could end.
static float WrapFrame(float frame, int frames)
{
    if (frames < 1) return frame;
    float n = float(frames);
    frame = std::fmod(frame, n);
    if (frame < 0) frame += n;
    if (frame >= n) frame = 0.0f;  // a tiny negative remainder rounds up to n
    return frame;
}

void BasicUiWidgetType3DRig_Animate(sBasicUiWidget* rig, int animId, float* frame, int flip, const float*,
                                    int useRoot)
{
    sBasicUiWidgetType3DRig* r = Rig(rig);
    if (!r || !frame) return;
    animation_tag* anim = GetAnimation(animId);
    if (!anim) {
        BasicUiWidget_ReportMissing(rig, &r->reported, "animation", std::to_string(animId).c_str());
        return;
    }
    *frame = WrapFrame(*frame, anim->numFrames);
    int f = int(*frame);
    if (f < 0 || f >= anim->numFrames) return;
    const uint8_t* data = anim->frames.get() + size_t(f) * size_t(anim->frameLength);
    if (useRoot && r->iBoneW && r->iBoneW[0]) {
        float t[3], pivot[3];
        std::memcpy(t, data, sizeof t);
        addVectors(r->vRootDelta, t, pivot);
        BasicUiWidgetType3DBone_SetPivot(r->iBoneW[0], pivot);
    }
    if (!r->iBoneW) return;
    int mirrored = flip && r->mBoneW;
    for (int k = 0; k < r->bones.value; k++) {
        sBasicUiWidget* b = r->iBoneW[k];
        if (!b || (!useRoot && !BasicUiWidgetType3DBone_GetIsAnimated(b))) continue;
        int i = BasicUiWidgetType3DBone_GetBoneIndex(b, mirrored);
        // A bone index beyond the frame's data has no key to read.
        if (i < 0 || kFrameTranslationBytes + 8 * (i + 1) > anim->frameLength) continue;
        int16_t raw[4];
        std::memcpy(raw, data + kFrameTranslationBytes + 8 * i, sizeof raw);
        quaternion key = {raw[0] * 3.051851e-05f, raw[1] * 3.051851e-05f, raw[2] * 3.051851e-05f,
                          raw[3] * 3.051851e-05f};
        if (mirrored) {
            key.y = -key.y;
            key.z = -key.z;
        }
        // The delta is the key times the inverse of the rest rotation, so that the bone's net
        // rotation (rest, then delta) is the key itself.
        float rest[4];
        BasicUiWidgetType3DBone_GetRotation(b, rest);
        quaternion inv = {-rest[0], -rest[1], -rest[2], rest[3]}, delta;
        multiplyQuaternions(&inv, &key, &delta);
        float d[4] = {delta.x, delta.y, delta.z, delta.w};
        BasicUiWidgetType3DBone_SetRotationDelta(b, d);
    }
}
