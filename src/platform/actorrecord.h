// The actor record: one fixed-size record for every object that moves or is drawn in the lane
// scene. The game's actor pool (game/actors.h) owns the records and their handlers; the platform's
// camera, model and skeleton code transforms and draws them, which is why the plain record lives
// at this layer.
#pragma once

#include <cstdint>

#include "lib/matrix.h"

typedef uint8_t u8;

struct actor_tag;
struct DS3_model_tag;
typedef DS3_model_tag DS3_model;
struct DS3_bitmap_tag;
struct DynamicModelInfo;    // the model and skeleton code's per-actor state
struct CollisionModelInfo;  // a collision model, owned by the actor
struct CONTROLLERTAG;
typedef CONTROLLERTAG CONTROLLER;
struct CONTROLCONTEXT;

// A handler of an actor; non-zero is success.
typedef int (*actorFunc)(actor_tag* actor);

// What the actor's script runs on.
struct ScriptInfo {
    char scriptName[32];
    void* scriptStack;  // managed block, freed when the actor is disposed
};

// Who an actor stands for, as the test mode shows it.
struct PLAYERDATA {
    char name[32];
};

// The actor's animation: the current one, and up to two poses it is blending from.
struct AnimationInfo_tag {
    float animationFrameRatio;  // playback speed; 0 holds the frame
    float animationTweenRatio;  // share of the tween used up per logic step
    float lastTranslationX;
    float lastTranslationY;
    float tweenTranslationX;
    float tweenTranslationY;
    float tweenHeading;
    int16_t* animFrameRot;
    int16_t* animFrameRot2;
    int16_t* tweenFrameRot;
    int16_t* tweenFrameRot2;
    int16_t* tween2FrameRot;
    int16_t* tween2FrameRot2;
    int32_t animParam;
    int32_t animation;  // current animation id, 0 none
    int32_t oldAnimation;
    float animationFrame;
    int32_t animationTween;  // animation the tween blends from, 0 none
    float animationTweenFrame;
    float animationTweenFactor;  // weight of the tween source, 1 falling to 0
    uint32_t animationTweenAttributes;
    int32_t animationTweenParam;
    int32_t animationTween2;
    float animationTween2Frame;
    float animationTween2Factor;
    uint32_t animationTween2Attributes;
    int32_t animationTween2Param;
    int32_t animationOffset;
    uint32_t numLoops;  // completed loops of a looping animation
};
typedef AnimationInfo_tag AnimationInfo;

constexpr int kActorPoolSize = 50;
constexpr int kMaxBones = 80;
constexpr int kCollisionListSize = 22;
constexpr int kNumPins = 10;

// actorType values.
enum {
    kActorParticleTool = 1,  // test mode's markers of particle domains and control points
    kActorCharacter = 2,
    kActorBall = 4,
    kActorPin = 5,
    kActorEnvironment = 6,
    kActorAimLine = 9,
    kActorOilOverlay = 10,
    kActorBumpers = 12,
};

// displayAttributes bits.
enum {
    kDisplayMirrored = 1 << 0,         // mirrors the model (a left-handed bowler)
    kDisplayTransformed = 1 << 6,      // transforms computed this frame
    kDisplayFixedRootScale = 1 << 7,   // root translations scaled by 24
    kDisplayTweening = 1 << 8,         // cleared when a tween ends
};

// clipStatus values.
enum { kClipBehindCamera = 1, kClipInFront = 2 };

struct actor_tag {
    // identity
    uint32_t actorFlags;  // bit 0 for the ball and the pins
    u8 actorType;
    u8 actorColor;
    u8 visible;  // non-zero: the handlers run and the actor is drawn
    u8 onGround;
    u8 midAir;
    u8 currentEvent;

    // logical placement
    float logicalX;
    float logicalY;
    float logicalHeading;
    float lastHeading;

    // motion, in world units per logic step
    float Xvelocity;
    float Yvelocity;
    float Zvelocity;
    float Xacceleration;
    float Yacceleration;
    float maxAcceleration;
    float maxVelocityOverride;
    float peakVelocity;
    float maxVelocity;
    float deceleration;
    float speed;
    uint16_t accelerateHeading;
    uint16_t accelerated;

    // placement
    float Xlocation;
    float Ylocation;
    float Zlocation;
    float Wlocation;
    float Xangle;
    float Yangle;
    float heading;

    // model
    DynamicModelInfo* modelInfo;
    float Xscale;
    float Yscale;
    float Zscale;
    float screenZ;  // view-space depth, set each frame
    DS3_model* actorModel;
    void* actorMaterials;
    DS3_model** modelList;

    // lists
    actor_tag* sortNext;  // player list
    actor_tag* sortPrev;
    int32_t numLods;
    int32_t lodNum;
    int32_t drawPriority;
    actor_tag* drawNext;  // draw list

    // per-type data
    void* actorData;  // the creator's own record
    ScriptInfo scriptInfo;

    AnimationInfo animInfo;

    int32_t displayAttributes;

    // collision
    CollisionModelInfo* collisionModelInfo;
    float deflection;
    float deflectionRatio;
    float collisionCylinderScale;
    actor_tag* collisionList[kCollisionListSize];
    actor_tag* collisionPair;
    u8 collisionCount;
    u8 collisionPairControl;
    u8 manCover;

    // control
    u8 playerFlags;
    u8 userControl;
    CONTROLLER* controller;
    CONTROLCONTEXT* controlContext;

    // handlers
    actorFunc actorDrawFunction;
    actorFunc actorDisposeFunction;
    actorFunc motionHandler;
    actorFunc tweenHandler;
    actorFunc animationHandler;

    // roles
    u8 team;         // the ball: 0 held, 1 released; a pin: its index 0..9
    u8 rosterIndex;  // a character's player record, 0..7
    PLAYERDATA playerData;
    uint32_t reactTime;
    u8* lodBuffer;  // owned by the character code
    u8 eyeState;
    u8 blinkTimer;

    actor_tag* nextActor;  // actor list while in use, free list while free

    // transforms
    matrix worldXform;
    matrix actorXform;
    matrix lightXform;
    matrix clipXform;
    quaternion actorRotation;
    float worldX;
    float worldY;
    float worldZ;
    float worldW;

    // skeleton
    matrix boneXforms[kMaxBones];
    matrix boneLightVectors[kMaxBones];
    quaternion boneRotations[kMaxBones];
    quaternion tweenRotations[kMaxBones];
    HLSL_point modelTranslation;
    HLSL_point animationTranslation;
    HLSL_point translationAdjustment;
    HLSL_point translationScaleFactor;

    // clipping
    HLSL_point clipVolume[8];
    float Xextents;
    float Yextents;
    float Zextents;
    int32_t clipStatus;

    // dress
    DS3_bitmap_tag* jerseyFront;
    DS3_bitmap_tag* jerseyBack;
    DS3_bitmap_tag* face;
    DS3_bitmap_tag* pads;

    // detail
    void* actorDetail;
    float* detailLevels;  // ascending depth thresholds, one per level of detail
};
