// The 3D skeleton (character) widget: a dressed, animated bowler in a menu's 3D scene. It embeds a
// game actor carrying the body model and a looping body animation, draws the body group and the
// garments, each a private copy of a model resource with its own texture bindings, and may hand
// its posing to a rig of bone widgets that plays a second animation.
#pragma once

#include "platform/actorrecord.h"
#include "platform/model.h"
#include "ui/environment.h"

constexpr int kBasicUiSkeletonBodyModels = 6;
constexpr int kBasicUiSkeletonHairModels = 20;
constexpr int kBasicUiSkeletonRestModels = 10;
constexpr int kBasicUiSkeletonMaterials = 6;

// A garment: its model as group and member, the texture it replaces and the replacement (each as
// group and member), and its specular colour (0..1) and shininess.
struct sBasicUiSkeletonPart {
    sBasicUiValueINT id, offset;
    sBasicUiValueINT srcTexID, srcTexOffset, dstTexID, dstTexOffset;
    float r, g, b, shineFactor;
};

// The garments' places in the rest-model copies.
enum { kSkeletonShirt, kSkeletonSocks, kSkeletonLegs, kSkeletonPants, kSkeletonShoes, kSkeletonGlasses,
       kSkeletonHat, kSkeletonGlove, kSkeletonItem };

struct sBasicUiWidgetType3DSkeleton {
    sBasicUiValueBOOL rigDebug;
    sBasicUiWidget* rig;
    sBasicUiValueBOOL refresh;
    sBasicUiValueINT ikAnimID;
    sBasicUiValueBOOL hFlip;
    sBasicUiValueINT bodyID;
    int internalBodyID;
    float bodyR, bodyG, bodyB, bodyShineFactor;
    sBasicUiValueINT hairID, hairOffset;
    float hairR, hairG, hairB, hairShineFactor;
    sBasicUiValueINT hairStart, hairEnd;
    sBasicUiSkeletonPart shoes;
    sBasicUiSkeletonPart pants;  // id is the group; offset the trousers
    sBasicUiValueINT socksOffset, legsOffset;
    sBasicUiSkeletonPart shirt, glasses, hat;
    sBasicUiValueINT hatStart, hatEnd;
    sBasicUiSkeletonPart glove;
    sBasicUiSkeletonPart item;  // offset is the right hand's member
    sBasicUiValueINT itemOffsetL;
    sBasicUiValueINT animID;
    int internalAnimID;
    float frame;  // the rig animation's frame counter
    DS3_model_tag modelBody[kBasicUiSkeletonBodyModels];
    DS3_model_tag modelHair[kBasicUiSkeletonHairModels];
    DS3_model_tag modelRest[kBasicUiSkeletonRestModels];
    HLSL_material materialBody[kBasicUiSkeletonBodyModels][kBasicUiSkeletonMaterials];
    HLSL_material materialHair[kBasicUiSkeletonHairModels][kBasicUiSkeletonMaterials];
    HLSL_material materialRest[kBasicUiSkeletonRestModels][kBasicUiSkeletonMaterials];
    actor_tag body;
    int reported;  // a missing body or animation was reported
    // What the last drawing pass drew: a bit per garment slot (1 << kSkeletonShirt ...), and the
    // numbers of body and hair models.
    unsigned partsDrawn;
    int bodyModelsDrawn, hairModelsDrawn;
};

sBasicUiWidgetTypeRef BasicUiWidgetType3DSkeleton_Create(sBasicUiEnvironment* env);
int BasicUiWidgetType3DSkeleton_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetType3DSkeleton_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetType3DSkeleton_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetType3DSkeleton_Render(sBasicUiWidget* w);
int BasicUiWidgetType3DSkeleton_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// modelCopy filled from model (group << 16) + member with its materials copied into
// materialCopy, so that its textures can be rebound without touching the resource; null when the
// model is not loaded or has more than maxMaterials materials.
DS3_model_tag* BasicUi_GetModel(int group, int member, DS3_model_tag* modelCopy, HLSL_material* materialCopy,
                                int maxMaterials);
// Binds the textures of a model copy, the source texture replaced by the other; 0 (with a
// message) when an id is invalid or a texture is not loaded.
int BasicUi_SwapTexture(DS3_model_tag* model, int srcGroup, int srcMember, int dstGroup, int dstMember);
