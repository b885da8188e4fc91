// The models of the alleys and of the lane's objects (content_models.cpp) and the skinned bowler
// bodies (content_bowler_skin.cpp), with their textures.
#pragma once

#include <vector>

#include "archive_writer.h"
#include "lib/resourceids.h"

namespace mkrom {

constexpr int kNumAlleys = 6;
// Alley a (0..5): the environment group (a + 1) x 100 holds the alley's textures, then its
// environment model as the last member; the layer group holds the layer models (0 the masking
// unit, 1 the aiming arrows), whose textures are in the environment group.
extern const int kAlleyLayerGroups[kNumAlleys];
// Alley a: the frames of the chase lights under the masking unit (an animated texture group,
// loaded with the environment's extra resources).
extern const int kAlleyMarqueeGroups[kNumAlleys];
// Alley a: the first and second turn-light groups (member 0 the unlit texture, 1 the lit one,
// 2 the lamp's model).
extern const int kAlleyTurnLightGroups[kNumAlleys][2];

// The lane objects are at the ids the game loads them by (lib/resourceids.h).

std::vector<Resource> ModelContent();

// The skinned meshes of the bowler bodies: for each body mesh group, member 1 is the skin texture
// and member 2 the body mesh (palette strips of at most 16 bones of the group's skeleton, vertex
// format 8). Member 0, the skeleton model, comes from BowlerContent.
std::vector<Resource> BowlerSkinMembers(int bodyMeshRSID);

}  // namespace mkrom
