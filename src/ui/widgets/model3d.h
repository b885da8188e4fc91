// The content widgets of a UI 3D scene: a model resource at its parent transform, drawn at once
// or queued to be drawn farthest first; and the quad and 3D clip widgets, which only hold
// properties for scripts and the editor.
#pragma once

#include "platform/lighting.h"
#include "ui/environment.h"

struct DS3_model_tag;

struct sBasicUiWidgetType3DModel {
    sBasicUiValueINT modelID;
    int internalModelID;  // the id picked up; -2 when none is loaded
    DS3_model_tag* model;
    float mid[3];  // sort point in the parent's space
    sBasicUiValueBOOL depthSort;
    float depthBias;
    unsigned depthIndex;  // slot in the scene's queue
    DS3_lights lights;    // the scene lights when last queued
    int reported;         // a missing model was reported
};

struct sBasicUiWidgetType3DQuad {
    sBasicUiValueINT imageID;
    float x0[3], x1[3], x2[3], x3[3];
};

struct sBasicUiWidgetType3DClip {
    sBasicUiWidget* model;
    sBasicUiValueINT animSetID;
    float tmin[2], t[2], tmax[2];
    sBasicUiValueBOOL isPlaying, isLoop, isFlipFlop, isPersist, isAdditive;
};

sBasicUiWidgetTypeRef BasicUiWidgetType3DModel_Create(sBasicUiEnvironment* env);
int BasicUiWidgetType3DModel_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetType3DModel_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetType3DModel_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetType3DModel_Render(sBasicUiWidget* w);
int BasicUiWidgetType3DModel_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

sBasicUiWidgetTypeRef BasicUiWidgetType3DQuad_Create(sBasicUiEnvironment* env);
int BasicUiWidgetType3DQuad_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetType3DQuad_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetType3DQuad_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetType3DQuad_Render(sBasicUiWidget* w);
int BasicUiWidgetType3DQuad_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

sBasicUiWidgetTypeRef BasicUiWidgetType3DClip_Create(sBasicUiEnvironment* env);
int BasicUiWidgetType3DClip_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetType3DClip_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetType3DClip_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetType3DClip_Render(sBasicUiWidget* w);
int BasicUiWidgetType3DClip_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);
