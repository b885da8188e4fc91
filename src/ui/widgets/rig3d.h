// The 3D rig widget: a character's skeleton of bone widgets, the per-bone skinning matrices the
// skinned-model drawing takes, and the walks that update and draw the bones in order.
#pragma once

#include "lib/matrix.h"
#include "ui/environment.h"

struct actor_tag;

constexpr int kBasicUiRigJoints = 20;

struct sBasicUiWidgetType3DRig {
    sBasicUiValueINT bones;
    matrix* bone;            // skinning matrix per bone index
    sBasicUiWidget** iBoneW;  // bone widget per bone index
    sBasicUiWidget** mBoneW;  // bone widget per mirrored index
    sBasicUiWidget* limits;   // container of the bone-limit widgets
    int hasRootDelta;
    float vRootDelta[3];
    float vRootDeltaLerp[3];
    int hasBeenMapped;
    sBasicUiWidget* boneWidget[kBasicUiRigJoints];
    sBasicUiWidget* boneWidgetNext[kBasicUiRigJoints];
    sBasicUiWidget* compositeBoneWidget[2];
    sBasicUiWidget* compositeBoneWidgetNext[2];
    int bJoint[kBasicUiRigJoints];
    float vJoint[kBasicUiRigJoints][3];
    float translationScale;
    float angleFromCamera;
    float up[3], fwd[3], side[3];
    int isFacingForward;
    int reported;  // a missing animation was reported
};

sBasicUiWidgetTypeRef BasicUiWidgetType3DRig_Create(sBasicUiEnvironment* env);
int BasicUiWidgetType3DRig_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetType3DRig_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetType3DRig_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetType3DRig_Render(sBasicUiWidget* w);
int BasicUiWidgetType3DRig_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// Allocates the skinning matrices and the two bone tables and fills the tables from the subtree.
void BasicUiWidgetType3DRig_EnumerateBoneArray(sBasicUiWidget* rig);
// Stores a bone's skinning matrix when the array exists and the index is in range.
void BasicUiWidgetType3DRig_SetRigBone(sBasicUiWidget* rig, int index, const matrix m);
// The skinning matrix of a bone index, or null.
const float (*BasicUiWidgetType3DRig_GetRigBone(sBasicUiWidget* rig, int index))[4];
// Writes the world matrix of the rig's parent transform.
void BasicUiWidgetType3DRig_SetParentGlobalTransform(sBasicUiWidget* rig, const matrix m);
void BasicUiWidgetType3DRig_SetTranslationScale(sBasicUiWidget* rig, float s);
// Updates every active widget of the subtree (dt 0), parent before children.
void BasicUiWidgetType3DRig_UpdateBones(sBasicUiWidget* w);
// The same to a depth: w, then its children's subtrees to depth - 1.
void BasicUiWidgetType3DRig_UpdateBonesD(sBasicUiWidget* w, int depth);
// Renders every active widget of the subtree, descending only into widgets that render.
void BasicUiWidgetType3DRig_RenderBones(sBasicUiWidget* w);
// Copies the skinning matrices into the actor's bone matrices.
void BasicUiWidgetType3DRig_SetActorBones(sBasicUiWidget* rig, actor_tag* actor);
// Plays frame *frame (wrapped into the animation, written back) of animation animId onto the
// bones' rotation deltas; flip plays it mirrored, useRoot also places the root bone.
void BasicUiWidgetType3DRig_Animate(sBasicUiWidget* rig, int animId, float* frame, int flip,
                                    const float* boneOffsets, int useRoot);

// The inverse-kinematics mapper (ui/widgets/rigik.cpp). One pass: mode 0 returns the mapped bones
// to their rest turn; any other mode maps the joints onto the bones, then runs the limits. Either
// way the bones are updated and their skinning matrices stored in the rig.
void BasicUiWidgetType3DRig_IKMapper(sBasicUiWidget* rig, int flip, int mode);
// Resets the joint store to the rig's origin (every joint untracked) and the facing angle.
void BasicUiWidgetType3DRig_CorrectHandPosition(sBasicUiWidget* rig, int flip);
// Places the root bone ("Rootie") from the legs' height and turns it along the hips.
void BasicUiWidgetType3DRig_RootRotationAndTranslation(sBasicUiWidget* rig);
// Twists the spine ("Belly", then "Chest_Help") by half the turn from the hips to the shoulders.
void BasicUiWidgetType3DRig_SpinalArchAndTwist(sBasicUiWidget* rig);
// A clavicle's joint (n 0 left, 1 right) from the shoulder, neck and spine joints; 1 when all
// three are tracked, 0 otherwise (out is unchanged for another n).
int BasicUiWidgetType3DRig_GetCompositeJointPosition(sBasicUiWidget* rig, int unused, int n, float out[3]);

// The debug drawing's switches (ui/widgets/rigdebug.cpp): the joints, the body segments and the
// limits' cones (at first only the limits).
void BasicUiWidgetType3DRig_SetDebugDrawing(int joints, int capsules, int limits);
