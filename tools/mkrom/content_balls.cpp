// The ball property table (resource 5015): mass, friction and gravity of every ball the bowlers
// can own, one row per ball index. Game set-up copies a player's three rows into the player's
// ball records, and each new ball puts the current player's selected row on the ball body. See
// content/README.md for the choice of numbers.
#include <cstring>

#include "content.h"
#include "game/ball.h"

namespace mkrom {

static const int16_t kTypeTable = 1;

// Ball weights in pounds; every coverstock comes in all of them.
static const float kWeightsLb[kBallWeights] = {6, 8, 10, 11, 12, 14, 15, 16};
static const float kKilogramsPerPound = 0.45359237f;

// The ball's own friction by coverstock, lowest grip first. Bullet multiplies it by the lane's
// (0.0225 on heavy oil up to 0.33 on the dry lane), so these give about 0.01-0.02 on the oil and
// 0.15-0.30 dry.
static const float kCoverFriction[kBallCoverstocks] = {0.45f, 0.6f, 0.75f, 0.9f};

// The lane is twice its real size and the throw takes as long as a real one, so everything the
// ball does on the lane happens over twice the distance: twice the real pull makes the skid, the
// hook and the roll come out in proportion (the lane's frictions are real coefficients).
static const float kBallGravity = -2.0f * 9.8f;

std::vector<BallProperties> BallTable()
{
    std::vector<BallProperties> table;
    for (int cover = 0; cover < kBallCoverstocks; ++cover)
        for (int w = 0; w < kBallWeights; ++w)
            table.push_back({kWeightsLb[w] * kKilogramsPerPound, kCoverFriction[cover], kBallGravity});
    return table;
}

std::vector<Resource> BallContent()
{
    const std::vector<BallProperties> table = BallTable();
    Resource r;
    r.id = kBallPropertyTable;
    r.type = kTypeTable;
    r.bytes.resize(table.size() * sizeof(BallProperties));
    std::memcpy(r.bytes.data(), table.data(), r.bytes.size());
    return {r};
}

}  // namespace mkrom
