// The rig's inverse-kinematics mapper: it maps twenty body joints onto a character's bone widgets
// (the root placed and turned from the hips and legs, the spine twisted between hips and
// shoulders, each limb bone turned so that its child points along its segment), then runs the
// bone limits and hands the skinning matrices to the rig. Bones are found by name in the rig's
// environment. The joints are taken from the pose the rig's animation gave the bones, so that the
// mapper follows the animation with the limits keeping the limbs natural; a joint whose bones are
// missing stays untracked and its bone is driven back to its rest direction.
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "lib/matrix.h"
#include "ui/widgets/bone3d.h"
#include "ui/widgets/rig3d.h"
#include "ui/widgets/transform3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

namespace {

struct JointRow {
    const char* bone;
    const char* child;
    int next;
};

// The bone turned at each joint, the child whose rest offset must point along the segment, and
// the joint at the segment's other end. The digit names are place holders that match no bone.
const JointRow kJoints[kBasicUiRigJoints] = {
    {"1", "1", 1},
    {"Waist", "Belly", 2},
    {"Neck", "Neck|Head", 3},
    {"4", "4", -1},
    {"Left_Shoulder", "Left_Elbow", 5},
    {"Left_Elbow", "Left_Arm_Twist", 6},
    {"7", "7", 7},
    {"8", "8", -1},
    {"Right_Shoulder", "Right_Elbow", 9},
    {"Right_Elbow", "Right_Arm_Twist", 10},
    {"11", "11", 11},
    {"12", "12", -1},
    {"Left_Leg", "Left_Knee", 13},
    {"Left_Knee", "Left_Ankle", 14},
    {"Left_Ankle", "15", 15},
    {"16", "16", -1},
    {"Right_Leg", "Right_Knee", 17},
    {"Right_Knee", "Right_Ankle", 18},
    {"Right_Ankle", "19", 19},
    {"20", "20", -1},
};

// The clavicles: a bone, its child and the shoulder joint its segment reaches.
const JointRow kComposite[2] = {{"Left_Clavicle", "Left_Shoulder", 4}, {"Right_Clavicle", "Right_Shoulder", 8}};

// The 22 steps: a joint (or -1 and -2 for the composite joints 0 and 1) and how many levels of
// the bone's subtree are refreshed after it.
struct Step {
    int joint, depth;
};
const Step kSteps[22] = {{0, 20},  {1, 20}, {2, 20}, {3, 3},  {-1, 4}, {4, 4},  {5, 4},  {6, 0},
                         {7, 0},   {-2, 4}, {8, 4},  {9, 4},  {10, 0}, {11, 0}, {12, 3}, {13, 3},
                         {14, 3},  {15, 0}, {16, 3}, {17, 3}, {18, 3}, {19, 0}};

const float kRootHeightCorrection = 2.7367539f;
const float kRootSmoothing = 0.5f;
const float kRootHeightBound = 10000.0f;

sBasicUiWidgetType3DRig* Rig(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DRig>(w, EBasicUiWidgetType3DRig);
}

sBasicUiWidget* BoneNamed(sBasicUiWidget* rig, const char* name)
{
    sBasicUiWidget* w = BasicUi_FindWidget(BasicUiWidget_GetEnvironment(rig), name);
    return w && w->widgetTypeRef.type == EBasicUiWidgetType3DBone && w->widgetTypeRef.ptr ? w : nullptr;
}

void Sub(const float* a, const float* b, float* out)
{
    for (int i = 0; i < 3; i++) out[i] = a[i] - b[i];
}

void Origin(const float (*m)[4], float out[3])
{
    out[0] = m[3][0], out[1] = m[3][1], out[2] = m[3][2];
}

// The world position of a bone's joint: the origin of its world matrix.
int BoneOrigin(sBasicUiWidget* bone, float out[3])
{
    auto* b = BasicUiWidget_Record<sBasicUiWidgetType3DBone>(bone, EBasicUiWidgetType3DBone);
    if (!b) return 0;
    Origin(b->gTransform, out);
    return 1;
}

// Runs a bone's update and refreshes depth - 1 levels of its children.
void Refresh(sBasicUiWidget* bone, int depth)
{
    if (!bone || !depth || !bone->isActive.value) return;
    BasicUiWidgetType_Update(bone, 0.0f);
    for (sBasicUiWidget* c = bone->childWidget; c; c = c->nextWidget) BasicUiWidgetType3DRig_UpdateBonesD(c, depth - 1);
}

void FirstPass(sBasicUiWidget* rig, sBasicUiWidgetType3DRig* r)
{
    for (int j = 0; j < kBasicUiRigJoints; j++) {
        r->boneWidget[j] = BoneNamed(rig, kJoints[j].bone);
        r->boneWidgetNext[j] = BoneNamed(rig, kJoints[j].child);
    }
    for (int n = 0; n < 2; n++) {
        r->compositeBoneWidget[n] = BoneNamed(rig, kComposite[n].bone);
        r->compositeBoneWidgetNext[n] = BoneNamed(rig, kComposite[n].child);
    }
    BasicUiWidgetType3DRig_EnumerateBoneArray(rig);
    // The root is placed by the mapper, not by the animation.
    BasicUiWidgetType3DBone_SetIsAnimated(BoneNamed(rig, "Rootie"), 0);
    r->hasBeenMapped = 1;
}

// The joints as the animation posed the bones. Each joint stands at the joint of the bone it
// names (joint 2, the shoulder centre, at the neck; not at the belly, the child that the waist's
// segment turns), whether or not its own segment can be turned. Only a joint that names no bone
// (the wrists) is then taken from the child bone whose offset must point at it.
void TrackAnimatedJoints(sBasicUiWidgetType3DRig* r)
{
    for (int j = 0; j < kBasicUiRigJoints; j++)
        if (r->boneWidget[j] && BoneOrigin(r->boneWidget[j], r->vJoint[j])) r->bJoint[j] = 1;
    for (int j = 0; j < kBasicUiRigJoints; j++) {
        const int next = kJoints[j].next;
        if (next < 0 || r->bJoint[next] || !r->boneWidgetNext[j]) continue;
        if (BoneOrigin(r->boneWidgetNext[j], r->vJoint[next])) r->bJoint[next] = 1;
    }
}

void StepBone(sBasicUiWidget* rig, sBasicUiWidgetType3DRig* r, const Step& step)
{
    sBasicUiWidget *bone, *next;
    float a[3], b[3];
    int fa, fb;
    if (step.joint >= 0) {
        const int j = step.joint, n = kJoints[j].next;
        bone = r->boneWidget[j];
        next = r->boneWidgetNext[j];
        std::memcpy(a, r->vJoint[j], sizeof a);
        fa = r->bJoint[j];
        fb = n >= 0 ? r->bJoint[n] : 0;
        if (n >= 0) std::memcpy(b, r->vJoint[n], sizeof b);
    } else {
        const int c = -step.joint - 1, n = kComposite[c].next;
        bone = r->compositeBoneWidget[c];
        next = r->compositeBoneWidgetNext[c];
        fa = BasicUiWidgetType3DRig_GetCompositeJointPosition(rig, 0, c, a);
        fb = r->bJoint[n];
        std::memcpy(b, r->vJoint[n], sizeof b);
    }
    if (!bone || !next) return;
    float p0[3], t[3];
    BasicUiWidgetType3DBone_GetPivot(next, p0);
    if (fa && fb) {
        normalizeVector(p0);
        Sub(b, a, t);
        normalizeVector(t);
        BasicUiWidgetType3DBone_GetVectorInFixedGlobalTransform(bone, t);
    } else {
        std::memcpy(t, p0, sizeof t);
    }
    normalizeVector(t);
    BasicUi_GuardComponents(t);
    BasicUiWidgetType3DBone_SetPivotPreLimit(next, t);
    float q[4];
    BasicUi_ShortestArc(p0, t, q);
    BasicUiWidgetType3DBone_SetRotationDelta(bone, q);
    sBasicUiWidget* first = r->limits ? r->limits->childWidget : nullptr;
    BasicUiWidgetType3DRig_LimitBonesIncremental(bone, &first, 0);
    if (step.depth) Refresh(bone, step.depth);
}

void Finish(sBasicUiWidget* rig)
{
    BasicUiWidgetType3DRig_UpdateBones(rig);
    BasicUiWidgetType3DBone_UpdateBoneXforms(rig);
}

// c and d in a bone's fixed frame, each made orthogonal to the axis p and normalised; the
// rotation by half the angle from c to d.
void HalfTwist(sBasicUiWidget* bone, sBasicUiWidget* axisBone, const float cw[3], const float dw[3], float q[4])
{
    float c[3] = {cw[0], cw[1], cw[2]}, d[3] = {dw[0], dw[1], dw[2]}, p[3] = {0, 0, 1};
    BasicUiWidgetType3DBone_GetVectorInFixedGlobalTransform(bone, c);
    BasicUiWidgetType3DBone_GetVectorInFixedGlobalTransform(bone, d);
    if (axisBone) BasicUiWidgetType3DBone_GetPivot(axisBone, p);
    normalizeVector(p);
    float oc[3], od[3];
    BasicUi_VectorOthogonalB(p, c, oc);
    BasicUi_VectorOthogonalB(p, d, od);
    normalizeVector(oc);
    normalizeVector(od);
    float axis[3];
    crossVectors(oc, od, axis);
    float k = dotVectors(oc, od), s = vectorLength(axis);
    float w1 = std::sqrt((k + 1.0f) * 0.5f), w2 = std::sqrt((w1 + 1.0f) * 0.5f);
    normalizeVector(axis);
    float f = w1 > 0.0f ? (s * 0.5f / w1) * 0.5f / w2 : 0.0f;
    q[0] = axis[0] * f, q[1] = axis[1] * f, q[2] = axis[2] * f, q[3] = w2;
}

}  // namespace

int BasicUiWidgetType3DRig_GetCompositeJointPosition(sBasicUiWidget* rig, int, int n, float out[3])
{
    sBasicUiWidgetType3DRig* r = Rig(rig);
    if (!r || !out || (n != 0 && n != 1)) return 0;
    const int s = n == 0 ? 4 : 8;
    float a[3], b[3], c[3];
    Sub(r->vJoint[s], r->vJoint[2], a);
    Sub(r->vJoint[2], r->vJoint[1], b);
    crossVectors(a, b, c);
    normalizeVector(c);
    scaleVector(c, vectorLength(a));
    const float f = n == 0 ? 0.25f : -0.25f;
    for (int i = 0; i < 3; i++) out[i] = r->vJoint[1][i] + 0.4f * a[i] + 0.95f * b[i] + f * c[i];
    return r->bJoint[s] && r->bJoint[2] && r->bJoint[1];
}

void BasicUiWidgetType3DRig_CorrectHandPosition(sBasicUiWidget* rig, int)
{
    sBasicUiWidgetType3DRig* r = Rig(rig);
    if (!r) return;
    float o[3];
    Origin(BasicUiWidgetType3DPRS_GetParentGlobalTransform(rig), o);
    for (int j = 0; j < kBasicUiRigJoints; j++) {
        r->bJoint[j] = 0;
        std::memcpy(r->vJoint[j], o, sizeof o);
    }
    std::memcpy(r->up, o, sizeof o);
    std::memcpy(r->fwd, o, sizeof o);
    std::memcpy(r->side, o, sizeof o);
    float h[3];
    Sub(r->vJoint[12], r->vJoint[16], h);
    normalizeVector(h);
    float d = std::fabs(dotVectors(h, r->fwd));
    d = d < 0.0f ? 0.0f : (d > 1.0f ? 1.0f : d);
    r->angleFromCamera = 90.0f - std::acos(d) * 180.0f * 0.31831014f;
}

void BasicUiWidgetType3DRig_RootRotationAndTranslation(sBasicUiWidget* rig)
{
    sBasicUiWidgetType3DRig* r = Rig(rig);
    sBasicUiWidget* root = r ? BoneNamed(rig, "Rootie") : nullptr;
    if (!root) return;
    float pivot[3];
    BasicUiWidgetType3DBone_GetPivot(root, pivot);
    if (!r->hasRootDelta) {
        std::memcpy(r->vRootDelta, pivot, sizeof pivot);
        std::memcpy(r->vRootDeltaLerp, pivot, sizeof pivot);
        r->hasRootDelta = 1;
    }
    const float len = vectorLength(r->vRootDelta), base = len - kRootHeightCorrection;
    const float(*p)[4] = BasicUiWidgetType3DPRS_GetParentGlobalTransform(rig);
    float o[3];
    Origin(p, o);
    float d[3] = {0.0f, 0.0f, r->vRootDelta[2] - pivot[2]};
    if (!(d[2] > -kRootHeightBound && d[2] < kRootHeightBound)) d[2] = r->vRootDelta[2];
    float u[3] = {0.0f, 0.0f, r->vRootDelta[2]};
    composePosition(d, p);
    composePosition(u, p);
    Sub(d, o, d);
    Sub(u, o, u);
    normalizeVector(u);
    float m = len;
    for (const char* name : {"Left_Leg", "Left_Knee", "Left_Ankle", "Right_Leg", "Right_Knee", "Right_Ankle"}) {
        sBasicUiWidget* leg = BoneNamed(rig, name);
        if (!leg) continue;
        float j[3];
        BasicUiWidgetType3DBone_GetPivot(leg, j);
        composePosition(j, BasicUiWidgetType3DBone_GetParentGlobalTransform(leg));
        float h[3];
        Sub(j, o, h);
        for (int i = 0; i < 3; i++) h[i] += d[i];
        float t = dotVectors(u, h);
        if (t < m) m = t;
    }
    float s = len - m;
    s = s < 0.0f ? 0.0f : (s > len ? len : s);
    float v[3] = {r->vRootDelta[0], r->vRootDelta[1], r->vRootDelta[2]};
    normalizeVector(v);
    scaleVector(v, s + base);
    for (int i = 0; i < 3; i++) {
        v[i] = kRootSmoothing * v[i] + (1.0f - kRootSmoothing) * r->vRootDeltaLerp[i];
        r->vRootDeltaLerp[i] = v[i];
    }
    // The hip centre's horizontal offset from the rig's origin moves the root.
    v[0] += r->translationScale * (r->vJoint[0][0] - o[0]);
    v[1] += r->translationScale * (r->vJoint[0][1] - o[1]);
    BasicUiWidgetType3DBone_SetPivot(root, v);

    float h[3];
    Sub(r->vJoint[12], r->vJoint[16], h);
    BasicUiWidgetType3DBone_GetVectorInFixedGlobalTransform(root, h);
    const float z[3] = {0.0f, 0.0f, 1.0f}, x[3] = {1.0f, 0.0f, 0.0f};
    float flat[3];
    BasicUi_VectorOthogonalB(z, h, flat);
    normalizeVector(flat);
    BasicUi_GuardComponents(flat);
    float q[4];
    BasicUi_ShortestArc(flat, x, q);
    q[0] = -q[0], q[1] = -q[1], q[2] = -q[2];
    BasicUiWidgetType3DBone_SetRotationDelta(root, q);
}

void BasicUiWidgetType3DRig_SpinalArchAndTwist(sBasicUiWidget* rig)
{
    sBasicUiWidgetType3DRig* r = Rig(rig);
    if (!r) return;
    sBasicUiWidget* belly = BoneNamed(rig, "Belly");
    sBasicUiWidget* chest = BoneNamed(rig, "Chest");
    sBasicUiWidget* help = BoneNamed(rig, "Chest_Help");
    float c[3], d[3], q[4];
    Sub(r->vJoint[12], r->vJoint[16], c);
    Sub(r->vJoint[4], r->vJoint[8], d);
    normalizeVector(c);
    normalizeVector(d);
    HalfTwist(belly, chest, c, d, q);
    BasicUiWidgetType3DBone_SetRotationDelta(belly, q);
    if (belly) Refresh(belly, 2);
    HalfTwist(chest, help, c, d, q);
    BasicUiWidgetType3DBone_SetRotationDelta(help, q);
}

void BasicUiWidgetType3DRig_IKMapper(sBasicUiWidget* rig, int flip, int mode)
{
    sBasicUiWidgetType3DRig* r = Rig(rig);
    if (!r) return;
    if (!r->hasBeenMapped) FirstPass(rig, r);
    if (mode == 0) {
        const float identity[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        for (const Step& s : kSteps) {
            sBasicUiWidget* bone = s.joint >= 0 ? r->boneWidget[s.joint] : r->compositeBoneWidget[-s.joint - 1];
            BasicUiWidgetType3DBone_SetRotationDelta(bone, identity);
        }
        Finish(rig);
        return;
    }
    r->isFacingForward = 1;
    BasicUiWidgetType3DRig_CorrectHandPosition(rig, flip);
    // The animated pose, brought up to date, stands in for a body tracker.
    BasicUiWidgetType3DRig_UpdateBones(rig);
    TrackAnimatedJoints(r);
    BasicUiWidgetType3DRig_RootRotationAndTranslation(rig);
    BasicUiWidgetType3DRig_UpdateBones(rig);
    BasicUiWidgetType3DRig_SpinalArchAndTwist(rig);
    sBasicUiWidget* first = r->limits ? r->limits->childWidget : nullptr;
    BasicUiWidgetType3DRig_LimitBonesIncremental(nullptr, &first, 4);
    BasicUiWidgetType3DRig_UpdateBones(rig);
    for (const Step& s : kSteps) StepBone(rig, r, s);
    Finish(rig);
}
