// The 3D rig widget: it keeps a character's skinning matrices and its bone widgets by index,
// and walks its subtree to update the bones parent first and to draw them.
#include "ui/widgets/rig3d.h"

#include <cstring>

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
int BasicUiWidgetType3DRig_Render(sBasicUiWidget*) { return 1; }

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

// A pre-order walk of w's subtree; descend(widget) says whether to enter its children.
template <class Visit, class Descend>
static void WalkSubtree(sBasicUiWidget* start, Visit visit, Descend descend)
{
    sBasicUiWidget* w = start;
    while (w) {
        int in = descend(w);
        if (in) visit(w);
        if (in && w->childWidget) {
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
        w, [](sBasicUiWidget* x) { BasicUiWidgetType_Update(x, 0.0f); },
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
