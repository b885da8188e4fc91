// What mkrom writes: the id ranges of the archives and the list of resources.
#pragma once

#include <cstdint>
#include <vector>

#include "archive_writer.h"
#include "game/areas.h"
#include "game/ball.h"
#include "game/particledefs.h"
#include "lib/resourceids.h"

namespace mkrom {

// The split set, one archive per range of ids [firstId, endId). Every resource must fall in one
// range; the gaps (700-899, 1500-2999, 7000-8999 and from 9100) are room to grow. The sounds sit at
// the ids the game plays them by: 9000-9017 the shared sounds, loaded as one range, and from 9018
// the music, streamed.
const std::vector<ArchiveRange>& ArchiveRanges();

// Every resource of the game data, in no particular order.
std::vector<Resource> BuildContent();
// The clips under DIR/Video/ (lib/videofiles.h names them). False with the reason on failure.
bool WriteVideos(const std::string& dir, std::string* error);

// The collision group of each alley (content_collision.cpp): at the group id of the alley's
// collision environment, member 0 the lane bed, 1 the left gutter, 2 the right gutter, each a
// collision model (type 44) stored compressed.
std::vector<Resource> CollisionContent();

// The area group of each alley (content_areas.cpp), at areaRSIDs[area]: member 0 its
// environment definition (AreaDefinition), 1 its light-set list (AreaLightSets), 2 its object
// list; all of type 1, stored compressed.
EnvDefn_properties AreaDefinition(int area);
LightSetList AreaLightSets(int area);
std::vector<Resource> AreaContent();

// The ball property table (content_balls.cpp): resource kBallPropertyTable, plain, one
// BallProperties row per ball index. Index = coverstock x kBallWeights + weight, coverstocks from
// the least grip to the most, weights from the lightest to the heaviest.
constexpr int kBallCoverstocks = 4;
constexpr int kBallWeights = kBallWeightsPerCoverstock;
std::vector<BallProperties> BallTable();
std::vector<Resource> BallContent();

// The sounds and music (content_sound.cpp), all of type 127: effects 16-bit at 32728 Hz; the
// menu music 8-bit mono, the songs 16-bit stereo, both at 16364 Hz and stored plain for streaming.
// Their ids are the game's (lib/resourceids.h).
std::vector<Resource> SoundContent();

// The particle effects (content_particles.cpp): group kParticleDefinitionGroup holds the game's
// definitions in pairs, member 2k definition k (type 1, PARTICLESYSTEMINFOTAG) and 2k + 1 its
// bitmap; kParticleStoredDefinitionGroup the same definitions for test mode, one a member, and
// kParticleBitmapGroup their bitmaps.
std::vector<PARTICLESYSTEMINFOTAG> ParticleDefinitions();
std::vector<Resource> ParticleContent();
// Test mode's markers of particle domains and control points (content_particletools.cpp): their
// texture group and the handle, box and sphere models at the ids of lib/resourceids.h.
std::vector<Resource> ParticleToolContent();
// An alley's particle effects, member kAreaParticleListIndex of its area group: an int32 count,
// then that many definitions whose bitmaps are those of the game's definitions.
std::vector<uint8_t> AreaParticleList(int area);

// Test resources, in the TestFX range. All data is zero-padded to a multiple of 128 bytes in the
// archive; sub-resource ids are (group id << 16) | member index.
//
// 6900  type 0, plain: the text kTestPlainText with its NUL.
// 6901  type 1, compressed: kTestCompressedSize bytes, byte i = TestCompressedByte(i).
// 6902  group of 3 plain members, type 1: TestMemberBytes(6902, m).
// 6903  group of 4 members, type 1: members 0 and 2 compressed, 1 and 3 plain;
//       TestMemberBytes(6903, m).
constexpr int kTestPlainResource = 6900;
constexpr int kTestCompressedResource = 6901;
constexpr int kTestPlainGroup = 6902;
constexpr int kTestCompressedGroup = 6903;
constexpr int kTestPlainGroupMembers = 3;
constexpr int kTestCompressedGroupMembers = 4;

constexpr char kTestPlainText[] = "Test resource 6900: a type 0 text stored plain.";
constexpr uint32_t kTestCompressedSize = 4096;
inline uint8_t TestCompressedByte(uint32_t i) { return uint8_t((i % 64) ^ (i / 256)); }

// The data of a member of kTestPlainGroup or kTestCompressedGroup (before padding); empty for
// anything else.
std::vector<uint8_t> TestMemberBytes(int groupId, int member);

}  // namespace mkrom
