// Writing object animations (type 86) and levels (type 42) in the layouts the game initialises in
// place. Pointer fields are written as 0; the game fills them when it loads the resource.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lib/objectanim.h"

namespace mkrom {

// One node of an object animation: its keyframe track and the nodes of its model node's children,
// in the order of the model's children.
struct AnimationNode {
    uint32_t flags = 0;
    float rateRatio = 1.0f;
    std::vector<DI_objectFrame> frames;
    std::vector<AnimationNode> children;
};

// The image of an animation: each node's header, keyframes and child pointers, then its children's
// images one after another, depth first.
std::vector<uint8_t> ObjectAnimationBytes(const AnimationNode& root);

// One object of a level: the model it shows and where its copies stand.
struct LevelObject {
    std::string name;  // at most 31 characters are kept
    int resourceID = 0;
    std::vector<DI_instance_tag> instances;
};

// The image of a level: header, object pointers, then each object with its instances. Names are
// cut to fit their fields, always with a terminating NUL.
std::vector<uint8_t> LevelBytes(const std::string& name, const std::string& filename,
                                const std::vector<LevelObject>& objects);

// A keyframe at the given place, turned degrees about the axis (x, y, z), at scale s in all
// directions.
DI_objectFrame Keyframe(float px, float py, float pz, float ax, float ay, float az, float degrees, float s = 1.0f);

}  // namespace mkrom
