// The image widget (a bitmap, or a grey frame while it is not loaded) and the clip player, which
// plays an animation set on another widget once, looping or back and forth.
#pragma once

#include "ui/animtrack.h"
#include "ui/environment.h"

struct sBasicUiWidgetTypeImage {
    sBasicUiValueINT x, y, w, h;
    sBasicUiValueBOOL isScalable;  // stretch the source rectangle onto the destination
    sBasicUiValueINT srcX, srcY, srcW, srcH;
    sBasicUiValueBYTE alpha;
    sBasicUiValueBYTE mr, mg, mb;
    sBasicUiValueINT blend;
    sBasicUiValueINT resourceID;
    sBasicUiValueBOOL hasRotation;
    float r[2];  // value and initial
    sBasicUiValueBOOL hasDepth;
    float z[2];
};

struct sBasicUiWidgetTypeClip {
    sBasicUiWidget* widget;  // the widget animated
    sBasicUiAnimSet* animSet;
    sBasicUiValueBOOL isPlaying;
    sBasicUiValueBOOL isPersist;  // keep applying the set while stopped
    float speed[2];               // each float property: value and initial
    float tMin[2];
    float t[2];
    float tMax[2];
    sBasicUiValueBOOL isFwd;
    sBasicUiValueBOOL useInitials;
    sBasicUiValueBOOL isAdditive;
    sBasicUiValueBOOL isLoop;
    sBasicUiValueBOOL isFlipFlop;
    float tInternal;  // the time last applied
    sBasicUiAnimSetTracker* tracker;
};

sBasicUiWidgetTypeRef BasicUiWidgetTypeImage_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeImage_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeImage_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeImage_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeImage_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeImage_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

sBasicUiWidgetTypeRef BasicUiWidgetTypeClip_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeClip_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeClip_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeClip_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeClip_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeClip_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// Sets the range when tMin < tMax, each end kept in the range the loader keeps the clip's times in.
void BasicUiWidgetTypeClip_SetRange(sBasicUiWidget* w, float tMin, float tMax);
// Brings the clip's speed and times, just written at run time, into the ranges the loader keeps
// them in; one that is not a number becomes 0.
void BasicUiWidgetTypeClip_KeepNumbersInRange(sBasicUiWidget* w);
// 1 when the clip has stopped; 0 while it plays and for anything that is not a clip.
int BasicUiWidgetTypeClip_NotPlaying(sBasicUiWidget* w);
float BasicUiWidgetTypeClip_GetT(sBasicUiWidget* w);
