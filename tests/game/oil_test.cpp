#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>

#include "game/oil.h"
#include "game/records.h"

namespace {

// Game X of the middle of a board, and game Y of the middle of a foot of lane.
float BoardX(int board) { return (board + 0.5f) * 84.0f / 39.0f - 42.0f; }
float RowY(int row) { return (row + 0.5f) * 24.0f; }

class Oil : public ::testing::Test {
protected:
    std::unique_ptr<laneOil_tag> lane{new laneOil_tag()};

    float Friction(float x, float y, int computer = 0, float mult = 1.0f)
    {
        const float position[2] = {x, y};
        return GetLaneFriction(lane.get(), position, computer, mult);
    }
    float At(int board, int row, int computer = 0) { return Friction(BoardX(board), RowY(row), computer); }
};

TEST_F(Oil, GridHoldsEachZoneAndRampsAcrossItsEnds)
{
    ASSERT_EQ(SetOilPattern(lane.get(), 1), 1);
    const auto& grid = lane->DefaultOil;
    EXPECT_EQ(grid[0][0], 5836);    // 19 x 0.15 oil
    EXPECT_EQ(grid[6][19], 29184);  // 95
    // Zone 1 (19, 95) ends at foot 8, zone 2 (12, 75) follows: rows 7, 8, 9 step from one to the other.
    const int32_t board0[] = {5836, 5299, 4761, 4224, 3686}, board19[] = {29184, 27648, 26112, 24576, 23040};
    for (int r = 6; r <= 10; ++r) {
        EXPECT_EQ(grid[r][0], board0[r - 6]) << r;
        EXPECT_EQ(grid[r][19], board19[r - 6]) << r;
    }
    for (int b = 0; b < kOilBoards; ++b) EXPECT_EQ(grid[52][b], 0) << "no oil past foot 51, board " << b;
}

TEST_F(Oil, PatternOutOfRangeFallsBackToPatternOne)
{
    std::unique_ptr<laneOil_tag> first(new laneOil_tag());
    ASSERT_EQ(SetOilPattern(first.get(), 1), 1);
    for (int bad : {0, 10, -3}) {
        gGameOptions.oilPattern = 7;
        ASSERT_EQ(SetOilPattern(lane.get(), bad), 1);
        EXPECT_EQ(lane->oilPatternNum, bad);
        EXPECT_EQ(gGameOptions.oilPattern, 1) << bad;
        EXPECT_EQ(std::memcmp(lane->DefaultOil, first->DefaultOil, sizeof first->DefaultOil), 0) << bad;
    }
    gGameOptions.oilPattern = 4;
    ASSERT_EQ(SetOilPattern(lane.get(), 9), 1);
    EXPECT_EQ(gGameOptions.oilPattern, 4) << "a valid pattern leaves the option alone";
}

TEST_F(Oil, FrictionFollowsTheOilAndIsDryOffIt)
{
    ASSERT_EQ(SetOilPattern(lane.get(), 1), 1);
    EXPECT_FLOAT_EQ(At(1, 3), 0.15f);        // table value 20: oil 3.0
    EXPECT_FLOAT_EQ(At(19, 3), 0.0215625f);  // 95: on the flat part of the law
    EXPECT_FLOAT_EQ(At(0, 40), 0.33f);       // a board without oil
    ASSERT_EQ(SetOilPattern(lane.get(), 6), 1);
    EXPECT_FLOAT_EQ(At(9, 12), 0.03000489f);   // 36: oil 5.3999, just before the change of slope
    EXPECT_FLOAT_EQ(At(25, 12), 0.02518758f);  // 37: oil 5.5498, just after

    // Pattern 2 ends at foot 45. Past it (and only there) the dry lane takes the multiplier.
    ASSERT_EQ(SetOilPattern(lane.get(), 2), 1);
    EXPECT_FLOAT_EQ(Friction(0, RowY(45), 0, 2.0f), 0.27001953f);
    EXPECT_FLOAT_EQ(Friction(0, RowY(46), 0, 2.0f), 0.66f);
    // Computer players bowl on the same oil whatever the pattern.
    EXPECT_FLOAT_EQ(At(19, 3, 1), 0.117f);
    EXPECT_FLOAT_EQ(At(0, 45, 1), 0.117f);
    EXPECT_FLOAT_EQ(At(19, 46, 1), 0.33f);

    // Indices truncate toward zero: a little past the negative edge and the first foot behind the
    // foul line still read board 0 and row 0.
    EXPECT_FLOAT_EQ(Friction(-43.0f, RowY(3)), At(0, 3));
    EXPECT_FLOAT_EQ(Friction(-44.5f, RowY(3)), 0.33f);
    EXPECT_FLOAT_EQ(Friction(41.9f, RowY(3)), At(38, 3));
    EXPECT_FLOAT_EQ(Friction(42.1f, RowY(3)), 0.33f);
    EXPECT_FLOAT_EQ(Friction(BoardX(19), -12.0f), At(19, 0));
    EXPECT_FLOAT_EQ(Friction(BoardX(19), -25.0f), 0.33f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FLOAT_EQ(Friction(nan, RowY(3)), 0.33f);
    EXPECT_FLOAT_EQ(Friction(0, nan), 0.33f);
    EXPECT_FLOAT_EQ(Friction(1e30f, -1e30f), 0.33f);
}

// The ball skids through the oil and grips on the back end, which is what makes it hook late.
TEST_F(Oil, EveryPatternGripsMoreOnTheBackEndThanInFront)
{
    for (int p = 1; p <= kNumOilPatterns; ++p) {
        ASSERT_EQ(SetOilPattern(lane.get(), p), 1);
        const int zones = lane->m_iPatternNumZones;
        ASSERT_EQ(zones, (p == 1 || p == 2 || p == 3 || p == 6) ? 5 : 6) << p;
        for (int z = 0; z < zones; ++z) {
            ASSERT_GT(lane->m_pOilZones[z], z == 0 ? 2 : lane->m_pOilZones[z - 1] + 2) << p;
            ASSERT_LE(lane->m_pOilZones[z], 51) << p;
        }
        const int backEnd = lane->m_pOilZones[zones - 1];
        for (int b = 0; b < kOilBoards; ++b) {
            EXPECT_LT(At(b, 2), At(b, backEnd)) << "pattern " << p << " board " << b;
            EXPECT_LE(At(b, backEnd), At(b, backEnd + 1)) << "pattern " << p << " board " << b;
        }
        EXPECT_LT(At(19, 2), 0.05f) << "the middle of the front is well oiled in pattern " << p;
        EXPECT_GT(At(19, backEnd), 0.2f) << "the back end is nearly dry in pattern " << p;
    }
}

}  // namespace
