// Oil patterns and the lane friction. Nine fixed patterns give the oil of each board in zones
// down the lane; at game set-up the chosen one is spread into a grid of one value per foot and
// per board, and each frame the friction of the lane bed under the ball is read from that grid:
// the ball skids on the oil and grips (and hooks) where the lane is dry.
#pragma once

#include <cstdint>

constexpr int kOilRows = 53;    // one per foot of lane from the foul line
constexpr int kOilBoards = 39;  // board 0 at the negative-X edge
constexpr int kNumOilPatterns = 9;
constexpr int32_t kOilUnit = 2048;  // grid value of one unit of oil

// Friction of the dry lane, before the physics world's friction multiplier.
constexpr float kDryLaneFriction = 0.33f;

// The patterns, board 0 first. A zone ends at the given foot (inclusive) and starts after the end
// of the one before; a table value v is the grid value trunc(v x 30 x 0.005 x 2048).
extern const int32_t OilPattern1Zones[5], OilPattern2Zones[5], OilPattern3Zones[5], OilPattern4Zones[6],
    OilPattern5Zones[6], OilPattern6Zones[5], OilPattern7Zones[6], OilPattern8Zones[6], OilPattern9Zones[6];
extern const int32_t OilPattern1Oil[5][kOilBoards], OilPattern2Oil[5][kOilBoards], OilPattern3Oil[5][kOilBoards],
    OilPattern4Oil[6][kOilBoards], OilPattern5Oil[6][kOilBoards], OilPattern6Oil[5][kOilBoards],
    OilPattern7Oil[6][kOilBoards], OilPattern8Oil[6][kOilBoards], OilPattern9Oil[6][kOilBoards];

// The oil of the lane, carried by the physics world for the length of a game.
struct laneOil_tag {
    int32_t DefaultOil[kOilRows][kOilBoards];  // oil x kOilUnit
    int32_t oilPatternNum;                     // the number asked for, also when out of range
    const int32_t (*m_pOilPattern)[kOilBoards];
    const int32_t* m_pOilZones;
    int32_t m_iPatternNumZones;
};

// Selects pattern 1..9 and fills the grid. Any other number selects pattern 1 and sets the oil
// pattern option back to 1. Returns 1 (0 only for a null lane).
int SetOilPattern(laneOil_tag* lane, int pattern);

// The friction of the lane bed under the ball at position[0] = game X across the lane and
// position[1] = game Y down the lane (game units). A computer player always bowls on the same
// middling oil. Off the lane, behind the foul line or past the oil the lane is dry:
// kDryLaneFriction x frictionMult.
float GetLaneFriction(const laneOil_tag* lane, const float* position, int computerPlayer, float frictionMult);
