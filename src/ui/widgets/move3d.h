// The 3D movement trigger: the circle pad moves and turns a 3D transform widget every frame.
#pragma once

#include "ui/environment.h"

struct sBasicUiWidgetTypeTriggerMove3D {
    sBasicUiValueINT variant;
    sBasicUiWidget* transform;  // the transform widget driven
    sBasicUiValueBOOL invertRotateDir, isRotateDir, isRotateAbs, limitedRotateDir, limitedRotateRange;
    float axis[3];
    float minRotateDir, valueRotateDir, maxRotateDir;  // degrees
    float deltaMinRotateDir, deltaMaxRotateDir;        // the values of pad -1 and +1
    sBasicUiValueINT controlForRotateDir;
    sBasicUiValueBOOL invertMoveDir, isMoveDir, isMoveAbs, limitedMoveDir;
    float position[3];
    float direction[3];
    float delay;  // smoothing time of the absolute movement, seconds
    float minMoveDir, valueMoveDir, maxMoveDir;
    float deltaMinMoveDir, deltaMaxMoveDir;
    sBasicUiValueINT controlForMoveDir;
};

sBasicUiWidgetTypeRef BasicUiWidgetTypeTriggerMove3D_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeTriggerMove3D_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeTriggerMove3D_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeTriggerMove3D_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeTriggerMove3D_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeTriggerMove3D_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// The pad value of a control: 1 and 3 the circle pad's x, 2 and 4 its y, others 0.
float BasicUiWidgetTypeTriggerMove3D_GetControlValue(int control);
// The share of the way to its target that a value smoothed over delay seconds moves in dt:
// 2 dt / delay squared, never more than the whole way, so a short delay cannot overshoot.
float BasicUi_SmoothingFactor(float delay, float dt);
