// The alleys' environment objects: animated props (fans, signs, mirror balls) standing over the
// neighbouring lanes. Each alley's props come from one resource group of model/animation pairs;
// the area change loads the group, places the objects as actors and unloads everything again when
// the alley is left or the game ends. The objects restart their animations at random and, outside
// the first alley, take a random model and animation each time a run ends.
#pragma once

#include "game/areas.h"

struct actor_tag;
struct DS3_model_tag;

constexpr int kMaxEnvKinds = 10;   // model/animation pairs an alley's group may hold
constexpr int kMaxEnvActors = 20;  // objects an alley may stand
// Game units between the centres of neighbouring lanes.
constexpr float kEnvLaneSpacing = 133.0f;

// The prop group of each area (0 for none).
extern const int areaEnvAnimationRSID[kNumAreaTableEntries];
// Kinds in the loaded group: member 2k is kind k's model, member 2k + 1 its object animation.
extern int numEnvAnimations;
extern DS3_model_tag* envSpecificModel[kMaxEnvKinds];  // null where the model is missing
extern int envAnimationRSID[kMaxEnvKinds];             // (group << 16) | (2k + 1)
// The placed objects by slot; null where a slot is empty.
extern actor_tag* envActor[kMaxEnvActors];

// Loads the current area's prop group and fills the kinds; objects and a group left from an
// earlier load are disposed first. An area without props, or whose group the game data does not
// hold, gets no kinds (1). 0 when the group cannot be loaded.
int LoadEnvSpecificObjects();
// Disposes the placed objects and unloads the prop group; 1 when nothing is loaded. 0 when a
// disposal fails (the rest is still given back).
int DisposeEnvSpecificObjects();
// Places the current area's objects from its slot table (kind 0 only; any other kind, or an area
// without kinds, places nothing and returns 1). 0 at the first object that cannot be made.
int AddEnvObject(float x, float y, int kind);
// Makes one object of kind `index` at (x, 0, 0) with a random start frame and stores it through
// out when given; y and type are not used (objects are always type 6). 0 when the pool is used up
// or there is no such kind.
int AddEnvActor(float x, float y, int type, int index, actor_tag** out);
// The objects' draw handler: draws the model animated at the current frame, then (unless the
// game is paused, and once per frame: not again for the right eye) moves the frame on. 0 when the
// animation is missing or the draw fails.
int DrawEnvActor(actor_tag* actor);
