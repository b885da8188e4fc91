// The 3D bone and bone-limit widgets of a UI character: a bone's rest pose, the rotation that
// animation and inverse kinematics add to it and the matrices built from them; a limit's joint
// constraint (cone, hinge and cone, or dead band) with its maximum turning speed.
#pragma once

#include "lib/matrix.h"
#include "ui/environment.h"

struct sBasicUiWidgetType3DBone {
    float pivot[3];  // offset from the parent bone's origin, in the parent's frame
    float rotation[4];
    float rotationDelta[4];     // added by animation and inverse kinematics
    float rotationDeltaOld[4];  // the dead band's previous delta
    float bindPivot[3];
    float bindRotation[4];
    sBasicUiValueINT boneIndex;
    sBasicUiValueINT flipIndex;  // used instead of boneIndex when the character is mirrored
    sBasicUiValueBOOL isAnimated;
    matrix lTransform;
    matrix gTransform;
    matrix gFixedTransform;  // the world matrix without this bone's own delta
    matrix gFixedTransformInv;
    float pivotPreLimit[3];   // where inverse kinematics wants the offset to point
    float pivotPostLimit[3];  // the same after the limits
    sBasicUiWidget* rig;
};

struct sBasicUiWidgetType3DBoneLimit {
    float midLimit[3];  // cone axis
    float maxAngle;     // degrees per second
    float maxLimit[3];  // a direction on the cone's surface
    sBasicUiValueINT constraint;  // 0 none, 1 cone, 2 hinge and cone, 3 dead band
    float adjust[3];
    sBasicUiWidget* nextBone;  // the child bone whose offset is limited
};

sBasicUiWidgetTypeRef BasicUiWidgetType3DBone_Create(sBasicUiEnvironment* env);
int BasicUiWidgetType3DBone_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetType3DBone_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetType3DBone_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetType3DBone_Render(sBasicUiWidget* w);
int BasicUiWidgetType3DBone_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

sBasicUiWidgetTypeRef BasicUiWidgetType3DBoneLimit_Create(sBasicUiEnvironment* env);
int BasicUiWidgetType3DBoneLimit_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetType3DBoneLimit_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetType3DBoneLimit_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetType3DBoneLimit_Render(sBasicUiWidget* w);
int BasicUiWidgetType3DBoneLimit_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

void BasicUiWidgetType3DBone_GetPivot(sBasicUiWidget* w, float out[3]);
void BasicUiWidgetType3DBone_SetPivot(sBasicUiWidget* w, const float v[3]);
void BasicUiWidgetType3DBone_GetRotation(sBasicUiWidget* w, float out[4]);
void BasicUiWidgetType3DBone_GetRotationDelta(sBasicUiWidget* w, float out[4]);
void BasicUiWidgetType3DBone_SetRotationDelta(sBasicUiWidget* w, const float v[4]);
void BasicUiWidgetType3DBone_GetRotationDeltaOld(sBasicUiWidget* w, float out[4]);
void BasicUiWidgetType3DBone_SetRotationDeltaOld(sBasicUiWidget* w, const float v[4]);
void BasicUiWidgetType3DBone_GetPivotPreLimit(sBasicUiWidget* w, float out[3]);
void BasicUiWidgetType3DBone_GetPivotPostLimit(sBasicUiWidget* w, float out[3]);
// Store the direction of v at the bone's length (a zero v stores zero).
void BasicUiWidgetType3DBone_SetPivotPreLimit(sBasicUiWidget* w, const float v[3]);
void BasicUiWidgetType3DBone_SetPivotPostLimit(sBasicUiWidget* w, const float v[3]);
// flipIndex when flip is non-zero, else boneIndex; -1 for another widget.
int BasicUiWidgetType3DBone_GetBoneIndex(sBasicUiWidget* w, int flip);
int BasicUiWidgetType3DBone_GetIsAnimated(sBasicUiWidget* w);
int BasicUiWidgetType3DBone_SetIsAnimated(sBasicUiWidget* w, int v);
// A world direction expressed in the bone's fixed frame (overwrites v).
void BasicUiWidgetType3DBone_GetVectorInFixedGlobalTransform(sBasicUiWidget* w, float v[3]);
// The matrix the bone is placed by: its parent bone's world (or fixed world) matrix, the rig's
// transform for the root bone, or the identity.
const float (*BasicUiWidgetType3DBone_GetParentGlobalTransform(sBasicUiWidget* w))[4];
const float (*BasicUiWidgetType3DBone_GetParentFixedGlobalTransform(sBasicUiWidget* w))[4];
// Hands each active bone's skinning matrix in the subtree of start to its rig.
void BasicUiWidgetType3DBone_UpdateBoneXforms(sBasicUiWidget* start);

// Applies a run of limit widgets to the bones (count 0: the run that belongs to bone).
void BasicUiWidgetType3DRig_LimitBonesIncremental(sBasicUiWidget* bone, sBasicUiWidget** firstLimit, int count);
// v turned onto the cone of (axis, edge) when it lies outside, keeping its length.
void BasicUi_ProjectVectorOnToCone(const float axis[3], const float edge[3], const float v[3], float out[3]);
// The part of b orthogonal to a.
void BasicUi_VectorOthogonalB(const float a[3], const float b[3], float out[3]);
// The shortest turn from unit a to unit b.
void BasicUi_ShortestArc(const float a[3], const float b[3], float q[4]);
// Zeroes each component of a just-normalised vector at or below -2 (or a NaN with the sign bit).
void BasicUi_GuardComponents(float v[3]);
