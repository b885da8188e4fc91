// The bowler characters' skeletons and animations (content_bowler.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive_writer.h"

namespace mkrom {

// One body mesh group per body mesh id (type 19); member 0 is the body model (type 126): a
// model record without geometry of its own, followed by its skeleton block; members 1 and 2 are
// the skin texture and the skinned mesh (BowlerSkinMembers). Animations (type 7, stored
// compressed) at the ids the game remaps to per body mesh: 1301-1324 and 1325-1420.
std::vector<Resource> BowlerContent();

// The body model image of a body mesh (before archive padding); empty for an unknown mesh.
std::vector<uint8_t> BowlerBodyModel(int bodyMeshRSID);
// The bone names of a body mesh's skeleton, in traversal order.
std::vector<std::string> BowlerBoneNames(int bodyMeshRSID);
// The bind-pose position of a bone (model units, feet), or false for no such bone.
bool BowlerBindPosition(int bodyMeshRSID, int bone, float* xyz);

constexpr int kBowlerBodyModelBytes = 384;  // the model record before the skeleton block

}  // namespace mkrom
