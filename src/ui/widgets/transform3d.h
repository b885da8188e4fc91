// The 3D transform widget (position, rotation, scale) that places every 3D widget beneath it, and
// the Euler-angle orders its rotation may be written in.
#pragma once

#include "lib/matrix.h"
#include "ui/environment.h"

struct sBasicUiWidgetType3DPRS {
    float position[3];
    float rotation[4];  // a quaternion (w last); with w > 1.5, angles about x, y, z and order w - 2
    float scale[3];
    matrix lTransform;
    matrix gTransform;
    sBasicUiValueINT isEditMode;  // 0 off, 1 the pad turns it, 2 the pad moves it
};

sBasicUiWidgetTypeRef BasicUiWidgetType3DPRS_Create(sBasicUiEnvironment* env);
int BasicUiWidgetType3DPRS_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetType3DPRS_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetType3DPRS_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetType3DPRS_Render(sBasicUiWidget* w);
int BasicUiWidgetType3DPRS_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// The widget's local matrix: scale, then the transpose of its rotation's matrix, then position.
void BasicUiWidgetType3DPRS_ComputeLocalTransform(sBasicUiWidget* w, matrix out);
// The world matrix of the widget's parent transform, or a shared identity (never null, read only).
const float (*BasicUiWidgetType3DPRS_GetParentGlobalTransform(const sBasicUiWidget* w))[4];
void BasicUiWidgetType3DPRS_GetPosition(sBasicUiWidget* w, float out[3]);
void BasicUiWidgetType3DPRS_GetRotation(sBasicUiWidget* w, float out[4]);
void BasicUiWidgetType3DPRS_SetPosition(sBasicUiWidget* w, const float in[3]);
void BasicUiWidgetType3DPRS_SetRotation(sBasicUiWidget* w, const float in[4]);
// One frame of pad editing with the pad's x (a) and y (b) in -1..1.
void BasicUiWidgetType3DPRS_Edit(sBasicUiWidget* w, float a, float b, float dt);

// Reads q[0..2] as angles in radians about x, y, z and overwrites q with the quaternion of the
// order (0..8, see the table in the module); another order leaves q as it is.
void Euler2Quat(float q[4], int order);
