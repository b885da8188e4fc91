// The bowler characters' skeletons and animations (content_bowler.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "lib/characterarchive.h"

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

constexpr int kBowlerBodyModelBytes = 384;

struct ModelNode;
// One tube of a skinned bowler model: from a to b (bind pose, feet), radius r0 at a and r1 at b,
// carried by bone, its ring at a shared half and half with parent when a is at bone's joint; v is
// the row of the texture.
struct BowlerTube {
    std::string bone, parent;
    float a[3], b[3];
    float r0, r1;
    float v;
};
// A skinned model of tubes on a body mesh's skeleton (vertex format 8, bone palettes of at most
// 16 bones a strip), with one material: the texture id material.
ModelNode BowlerTubeModel(int bodyMeshRSID, const std::vector<BowlerTube>& tubes, uint32_t material);

// The character archive (content_bowler_garments.cpp): the garments, their textures and the hair,
// at the ids [kCharacterArchiveFirst, kCharacterArchiveEnd), written to
// Resource/SpecialCharacters.rez beside the other game data in both forms.
constexpr int kCharacterArchiveEnd = 10000;
std::vector<Resource> CharacterArchiveContent();
// The main colour of member `member` of the garment texture group; false when there is none.
bool GarmentTextureColour(int member, uint8_t rgb[3]);
bool WriteCharacterArchive(const std::string& dir, std::string* error);  // the model record before the skeleton block

}  // namespace mkrom
