// Skeletons and skeletal animations: the bone tree of a skinned model, the compressed animation
// resource (type 7) that poses it, and the per-actor computation of the root translation, one
// skinning matrix and one lighting matrix per bone.
#pragma once

#include <cstdint>

#include "host/ptr32.h"
#include "lib/resourceids.h"
#include "platform/actorrecord.h"

struct HLSL_bone_tag;

// The skeleton block of a model image. Pointers are filled by relocation.
struct HLSL_skeleton {
    uint32_t numBones;
    Ptr32<uint32_t> boneOffsets;          // per bone, in traversal order: its rotation's place in a frame (16-bit units)
    Ptr32<uint32_t> mirroredBoneOffsets;  // the same with left and right bones exchanged
    Ptr32<HLSL_bone_tag> rootBone;
};
static_assert(sizeof(HLSL_skeleton) == 16, "skeleton header is 16 bytes");

struct HLSL_bone_tag {
    HLSL_point pivot;  // joint position relative to the parent's joint
    uint32_t numChildren;
    Ptr32<HLSL_bone_tag> children;  // first child
    Ptr32<HLSL_bone_tag> nextBone;  // next sibling
    uint32_t pad0;
};
static_assert(sizeof(HLSL_bone_tag) == 32, "bones are 32 bytes");
static_assert(sizeof(HLSL_point) == 16, "points are four floats");

// A skeletal animation resource (type 7): a 20-byte header, then numFrames frames of frameLength
// bytes. A frame is the root translation (three floats) followed by four signed 16-bit values per
// bone at the bone's offset.
struct animation_tag {
    int32_t numFrames;
    int32_t numBones;
    float rateRatio;  // playback rate factor
    int32_t frameLength;
    Ptr32<uint8_t> frames;  // run time: the bytes after the header
};
static_assert(sizeof(animation_tag) == 20, "the animation header is 20 bytes");

constexpr int kAnimationHeaderBytes = 20;
constexpr int kFrameTranslationBytes = 12;
// Byte 252 of a model record holds its skeleton pointer.
constexpr int kModelSkeletonField = 252;

extern float* acosTable;  // 1000 entries: acos(i * 0.001)
extern float* sinTab;     // 1572 entries: sin(i * 0.001)

int InitRadianTables();
int DisposeRadianTables();

// Four signed 16-bit values at *p scaled into q; *p advances by 8 bytes.
void readQuaternion(int16_t** p, float* q);
// Table spherical interpolation from a to b by t; may negate b in place. out is not normalised.
void InterpolateQuaternions(float* a, float* b, float* out, float t);

// The type-7 initialisation: points frames at the bytes after the header. Refuses an animation
// whose counts cannot be right (no frames, no bones or more than the actor's bone arrays hold, a
// frame too short for its bones).
int InitializeAnimation(uint8_t* data);
// The loaded animation rsid, checked against the size of its resource; null when it is not
// loaded, not an animation or damaged.
animation_tag* GetAnimation(int rsid);

// Relocates a skeleton block in place: the offset arrays and the bone tree that follow the header.
// end is the first byte after the block's memory. Refuses more bones than kMaxBones, a tree that
// leaves the block or whose bone count differs from numBones. Called by the model relocation.
int DS3_InitializeSkeleton(HLSL_skeleton* skeleton, const uint8_t* end);
// The skeleton of a relocated model record; null for no model or no skeleton.
HLSL_skeleton* ModelSkeleton(const DS3_model* model);

// Root translation and frame pointers for the actor's animation (and its tween). 0 when an
// animation is not loaded, has more bones than kMaxBones or does not fit the actor's skeleton.
int ComputeSkeletonTranslation(actor_tag* actor);
// Fills boneXforms, boneLightVectors and boneRotations for the actor's skeleton. Call after
// ComputeSkeletonTranslation for the same pose. 0 when the actor has no skeleton or a bone fails.
int ComputeSkeletonXforms(actor_tag* actor);
// One bone and, recursively, its children.
int ComputeBoneXform(HLSL_bone_tag* bone, matrix* parent, float (*parentLight)[4], HLSL_point* parentOffset);
// The root translation (first two floats) of an animation at a frame, turned by heading degrees
// when heading is non-zero. 0 when rsid is not a loaded animation.
int ComputeAnimationTranslation(int rsid, float frame, int heading, float* x, float* z);
