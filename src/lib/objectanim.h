// Object animations (resource type 86) and levels (resource type 42).
//
// An object animation moves a model rigidly, node by node: each node of the animation holds a
// track of keyframes (position, rotation, scale) for the model node at the same place in the
// model's hierarchy, and the track is applied relative to that node's base pose. A level lists
// objects (a model each) with their placed instances. Both resources are used in place: their
// initialisation turns the layout of the loaded image into pointers.
#pragma once

#include <cstdint>

#include "host/ptr32.h"
#include "lib/matrix.h"
#include "lib/resourceids.h"
#include "platform/actorrecord.h"

// One keyframe of a node's track: where the node is, how it is turned and how it is scaled.
struct DI_objectFrame {
    VECTOR position;
    quaternion rotation;
    VECTOR scale;
};
static_assert(sizeof(DI_objectFrame) == 40, "keyframes are 40 bytes");

// One node of an object animation. In the image the header is followed by its numFrames
// keyframes, then numChildren child pointers, then the child blocks themselves, each a complete
// block of this same layout (its own keyframes, pointers and children), depth first.
struct DI_objectAnimation_tag {
    uint32_t flags;
    int32_t numFrames;
    float rateRatio;  // playback rate factor, applied by whoever advances the time
    Ptr32<DI_objectFrame> frames;                      // run time: the keyframes after the header
    int32_t numChildren;
    Ptr32<Ptr32<DI_objectAnimation_tag>> childList;   // run time: the child pointers
};
static_assert(sizeof(DI_objectAnimation_tag) == 24, "the object animation header is 24 bytes");
typedef DI_objectAnimation_tag DI_objectAnimation;

// A placed copy of a level object.
struct DI_instance_tag {
    VECTOR position;
    VECTOR rotation;
    VECTOR scale;
};
static_assert(sizeof(DI_instance_tag) == 36, "instances are 36 bytes");

// An object of a level: a model and where its copies stand. The instances follow the header.
struct DI_object_tag {
    char name[32];
    int32_t numInstances;
    int32_t resourceID;  // the model
    Ptr32<DI_instance_tag> instances;  // run time: the instances after the header
};
static_assert(sizeof(DI_object_tag) == 44, "level objects are 44 bytes");

// A level: the header, numObjects object pointers, then the objects one after another, each
// followed by its instances.
struct DI_level_tag {
    char name[32];
    char filename[256];
    int32_t numObjects;
    Ptr32<Ptr32<DI_object_tag>> objectList;  // run time: the object pointers after the header
};
static_assert(sizeof(DI_level_tag) == 296, "the level header is 296 bytes");
typedef DI_level_tag DI_level;

// Deepest nesting of animation nodes accepted (the root is depth 1).
constexpr int kMaxObjectAnimationDepth = 16;

// The type-86 initialisation of a loaded image of length bytes. Refuses (0, with a message) an
// image whose counts are negative, whose blocks do not fit in it or whose nodes nest deeper than
// kMaxObjectAnimationDepth.
int InitializeObjectAnimation(DI_objectAnimation_tag* a, int32_t length);
// Initialises the block at *cursor and its children and moves the cursor past the whole block;
// nothing may lie at or beyond end. 0 for a damaged block (the cursor is then left anywhere).
int InitializeObjectAnimationBuffer(uint8_t** cursor, const uint8_t* end);
// The type-42 initialisation of a loaded image of length bytes; refuses negative counts and
// objects that do not fit in the image.
int DI_InitializeLevel(DI_level_tag* level, int32_t length);

// The node's matrix at time t (in frames) relative to the model node's base pose. The track is a
// loop (the frame after the last is the first), so any t is taken round it; a non-finite t is 0.
// 0 for a missing animation or model, or a track without keyframes.
int ComputeObjectAnimationXform(DI_objectAnimation_tag* a, float t, DS3_model_tag* model, matrix out);
// The matrix of one keyframe taken relative to the base pose: scale and turn about the pivot,
// then move by the position.
int ComputeObjectFrameXform(DI_objectFrame* f, HLSL_point* pivot, matrix out);

// Draws the actor's model animated by a at time t, with all its child nodes. 1 when the actor is
// not visible or everything was drawn; 0 when a matrix, a texture animation or a draw fails, or
// when a node's child count differs from its model node's (drawing stops there).
int DrawActorObjectAnimation(actor_tag* actor, DI_objectAnimation_tag* a, float t);
// The same for one model node and its descendants. Every node is placed in the actor's space.
int DrawObjectAnimationModel(DS3_model_tag* model, DI_objectAnimation_tag* a, float t, actor_tag* actor);
