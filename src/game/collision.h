// Collision environments: each alley's resource group of collision models (the lane bed and the
// two gutters), loaded with the alley and linked into a fixed list per alley. The physics world
// builds its gutter triangle meshes from items 1 and 2 of the current alley's list.
#pragma once

#include <cstdint>

#include "host/ptr32.h"

// One triangle of a collision model (148 bytes, as stored). Coordinates are in feet of lane:
// x across the lane (0 on the centre line), y from the foul line towards the pins, z up.
struct CollisionFace {
    float center[3];             // centre of the bounding sphere
    float radiusSq;              // its squared radius
    float planeCoefficients[4];  // unit normal and d, with normal . p + d = 0 on the face
    float edgeNormals[3][3];     // in-plane outward normal of edge k (from vertex k to k + 1)
    float verts[3][3];
    float originalVerts[3][3];
    uint8_t faceColor[4];
    uint32_t faceFlat;
};
static_assert(sizeof(CollisionFace) == 148, "collision faces are 148 bytes");

// The 32-byte header of a collision model resource (type 44); its faces follow it.
struct CollisionModelInfo {
    float center[3];
    float radiusSq;
    int32_t numFaces;
    Ptr32<CollisionFace> faces;  // set on load to the bytes after this header
    int32_t numChildren;
    Ptr32<void> childList;
};
static_assert(sizeof(CollisionModelInfo) == 32, "the collision model header is 32 bytes");

// Item types of an environment's list.
enum {
    kCollisionItemEnd = 0,
    kCollisionItemLaneBed = 7,  // the lane surface between the gutters; not used by the physics world
    kCollisionItemGutter = 8,
};

// Items of every list, by index.
enum { kCollisionLaneBedItem = 0, kCollisionLeftGutterItem = 1, kCollisionRightGutterItem = 2 };

struct collisionItem_tag {
    int32_t type;              // kCollisionItem...; 0 ends the list
    CollisionModelInfo* info;  // member k of the group for item k while the environment is loaded
};
typedef collisionItem_tag CollisionItem;

struct collisionEnv_tag {
    int32_t group;  // resource group of the models; 0: the alley has no collision environment
    CollisionItem* items;
};
typedef collisionEnv_tag CollisionEnvironment;

constexpr int kNumCollisionEnvironments = 6;
constexpr int kCollisionItemsPerEnvironment = 4;  // lane bed, two gutters, end

// One per alley (area number 0..5).
extern CollisionEnvironment collisionEnviroments[kNumCollisionEnvironments];
extern CollisionItem env1Items[kCollisionItemsPerEnvironment];
extern CollisionItem env2Items[kCollisionItemsPerEnvironment];
extern CollisionItem env3Items[kCollisionItemsPerEnvironment];
extern CollisionItem env4Items[kCollisionItemsPerEnvironment];
extern CollisionItem env5Items[kCollisionItemsPerEnvironment];
extern CollisionItem env6Items[kCollisionItemsPerEnvironment];

// Loads the collision group of alley `area` (the game's areaNum) and links its models into the
// alley's list. 1 at once for an alley without a group. A group that does not load, a missing
// member or a damaged model gives 0 with no item linked; a group refused for its models is
// unloaded again.
int CreateCollisionEnvironment(int area);
// Unloads the group of alley `area` and clears its items' links; 0 when the unload fails.
int DisposeCollisionEnvironment(int area);

// Set-up of a loaded collision model resource (type 44): points `faces` at the bytes after the
// header. 0 for a model with a negative face count.
int InitializeCollisionModel(uint8_t* data);
// Registers InitializeCollisionModel as the set-up of collision model resources with the resource
// loader, which stands below the game. 0 when the loader's table is full.
int RegisterCollisionModelResources();
