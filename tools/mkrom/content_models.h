// The models of the alleys and of the lane's objects (content_models.cpp) and the skinned bowler
// bodies (content_bowler_skin.cpp), with their textures.
#pragma once

#include <vector>

#include "archive_writer.h"

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

// The lane objects, at the ids the game loads them by.
enum {
    kLaneObjectTextures = 5000,  // group: the textures of the models below
    kBallModel = 5001,
    kBallShadowModel = 5002,
    kBallReflTopModel = 5003,
    kBallReflBotModel = 5004,
    kCharacterShadowModel = 5005,
    kPinModel = 5006,
    kBumperModel = 5007,
    kAimModel = 5009,
    kAimPosLModel = 5010,  // 5010-5013: aim position left, right, aim angle left, right
    kOilModel = 5014,
    // Member (oil pattern - 1) is the texture the oil model takes for that pattern.
    kOilPatternTextureGroup = 5016,
    // Member (ball index + 2) is the texture the ball model takes for that ball; members 0 and 1
    // repeat ball 0's.
    kBallTextureGroup = 901,
    // Member (ball index) is the ball's picture for the screens (64 x 64 with alpha).
    kBallPictureGroup = 3322,
    kNumBallLooks = 32,
};

std::vector<Resource> ModelContent();

// The skinned meshes of the bowler bodies: for each body mesh group, member 1 is the skin texture
// and member 2 the body mesh (palette strips of at most 16 bones of the group's skeleton, vertex
// format 8). Member 0, the skeleton model, comes from BowlerContent.
std::vector<Resource> BowlerSkinMembers(int bodyMeshRSID);

}  // namespace mkrom
