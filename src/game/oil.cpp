// The nine oil patterns as zone tables, their spreading into a per-foot, per-board grid at set-up,
// and the friction lookup under the ball each frame.
#include "game/oil.h"

#include "game/records.h"

const int32_t OilPattern1Zones[5] = {8, 18, 25, 32, 51};
const int32_t OilPattern1Oil[5][kOilBoards] = {
    {19, 20, 21, 22, 23, 24, 25, 27, 35, 80, 92, 95, 95, 95, 95, 95, 95, 95, 95, 95, 95, 95, 95, 95, 95, 95, 95, 95, 92, 80, 35, 27, 25, 24, 23, 22, 21, 20, 19},
    {12, 13, 14, 15, 16, 17, 18, 20, 25, 63, 71, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 71, 63, 25, 20, 18, 17, 16, 15, 14, 13, 12},
    {9, 10, 11, 12, 13, 14, 15, 16, 20, 50, 57, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 57, 50, 20, 16, 15, 14, 13, 12, 11, 10, 9},
    {5, 5, 6, 6, 7, 7, 8, 9, 12, 29, 32, 34, 34, 34, 34, 34, 34, 34, 34, 34, 34, 34, 34, 34, 34, 34, 34, 34, 32, 29, 12, 9, 8, 7, 7, 6, 6, 5, 5},
    {0, 3, 3, 3, 3, 3, 4, 4, 5, 7, 7, 8, 8, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 8, 8, 7, 6, 5, 4, 4, 3, 3, 3, 3, 3, 0},
};
const int32_t OilPattern2Zones[5] = {10, 17, 24, 30, 45};
const int32_t OilPattern2Oil[5][kOilBoards] = {
    {25, 25, 25, 25, 25, 25, 25, 25, 27, 45, 60, 75, 75, 75, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 75, 75, 75, 60, 45, 27, 25, 25, 25, 25, 25, 25, 25, 25},
    {15, 15, 15, 15, 15, 15, 15, 15, 15, 17, 40, 60, 65, 65, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 65, 65, 60, 40, 17, 15, 15, 15, 15, 15, 15, 15, 15, 15},
    {7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 9, 40, 50, 50, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 50, 50, 40, 9, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7},
    {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 7, 25, 40, 40, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 40, 40, 25, 7, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5},
    {0, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 0},
};
const int32_t OilPattern3Zones[5] = {8, 15, 27, 33, 45};
const int32_t OilPattern3Oil[5][kOilBoards] = {
    {22, 22, 22, 22, 22, 22, 24, 65, 77, 77, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 77, 77, 65, 24, 22, 22, 22, 22, 22, 22},
    {15, 15, 15, 15, 15, 15, 17, 55, 64, 64, 67, 67, 67, 67, 67, 67, 67, 67, 67, 67, 67, 67, 67, 67, 67, 67, 67, 67, 67, 64, 64, 55, 17, 15, 15, 15, 15, 15, 15},
    {9, 9, 9, 9, 9, 9, 11, 40, 52, 52, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 52, 52, 20, 11, 9, 9, 9, 9, 9, 9},
    {6, 6, 6, 6, 6, 6, 8, 28, 32, 32, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 32, 32, 28, 8, 6, 6, 6, 6, 6, 6},
    {0, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 0},
};
const int32_t OilPattern4Zones[6] = {8, 16, 22, 27, 32, 45};
const int32_t OilPattern4Oil[6][kOilBoards] = {
    {25, 25, 25, 25, 25, 30, 60, 65, 73, 73, 81, 81, 85, 85, 85, 85, 85, 85, 85, 85, 85, 85, 85, 85, 85, 85, 85, 81, 81, 73, 73, 65, 60, 30, 25, 25, 25, 25, 25},
    {18, 18, 18, 18, 18, 18, 18, 23, 55, 66, 66, 71, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 71, 66, 66, 55, 23, 18, 18, 18, 18, 18, 18, 18},
    {14, 14, 14, 14, 14, 14, 14, 16, 43, 51, 51, 55, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 55, 51, 51, 43, 16, 14, 14, 14, 14, 14, 14, 14},
    {11, 11, 11, 11, 11, 11, 11, 11, 11, 13, 35, 42, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 42, 35, 13, 11, 11, 11, 11, 11, 11, 11, 11, 11},
    {8, 8, 8, 8, 8, 8, 8, 8, 8, 10, 27, 33, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 33, 27, 10, 8, 8, 8, 8, 8, 8, 8, 8, 8},
    {0, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 0},
};
const int32_t OilPattern5Zones[6] = {7, 15, 21, 26, 31, 48};
const int32_t OilPattern5Oil[6][kOilBoards] = {
    {22, 22, 22, 22, 30, 45, 70, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 70, 45, 30, 22, 22, 22, 22},
    {16, 16, 16, 16, 16, 20, 55, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 55, 20, 16, 16, 16, 16, 16},
    {13, 13, 13, 13, 13, 17, 40, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 40, 17, 13, 13, 13, 13, 13},
    {10, 10, 10, 10, 10, 13, 33, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 33, 13, 10, 10, 10, 10, 10},
    {6, 6, 6, 6, 6, 9, 26, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 26, 9, 6, 6, 6, 6, 6},
    {0, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 0},
};
const int32_t OilPattern6Zones[5] = {6, 18, 25, 33, 48};
const int32_t OilPattern6Oil[5][kOilBoards] = {
    {27, 27, 27, 27, 27, 27, 27, 31, 45, 60, 72, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 70, 52, 32, 25, 25, 25, 25, 25, 25, 25, 25, 25, 25, 25, 25, 25},
    {17, 17, 17, 17, 17, 17, 17, 17, 23, 36, 49, 56, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 55, 37, 23, 17, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16},
    {15, 15, 15, 15, 15, 15, 15, 15, 15, 22, 37, 47, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 43, 20, 13, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12},
    {12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 16, 29, 35, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 35, 22, 16, 12, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10},
    {0, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 0},
};
const int32_t OilPattern7Zones[6] = {9, 17, 23, 28, 33, 48};
const int32_t OilPattern7Oil[6][kOilBoards] = {
    {20, 25, 30, 40, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 40, 30, 25, 20},
    {10, 15, 20, 30, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 30, 20, 15, 10},
    {8, 10, 13, 17, 25, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 25, 17, 13, 10, 8},
    {6, 7, 9, 12, 20, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 20, 12, 9, 7, 6},
    {5, 6, 6, 8, 12, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 12, 8, 6, 6, 5},
    {0, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 0},
};
const int32_t OilPattern8Zones[6] = {8, 16, 22, 28, 34, 50};
const int32_t OilPattern8Oil[6][kOilBoards] = {
    {70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 90, 90, 90, 90, 90, 90, 90, 90, 90, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70},
    {55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55},
    {45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45},
    {30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20},
    {0, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 0},
};
const int32_t OilPattern9Zones[6] = {7, 15, 20, 24, 28, 50};
const int32_t OilPattern9Oil[6][kOilBoards] = {
    {32, 32, 32, 34, 37, 45, 56, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 65, 45, 37, 34, 32, 32, 32},
    {25, 25, 25, 26, 28, 31, 46, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 46, 31, 28, 26, 25, 25, 25},
    {20, 20, 20, 21, 23, 26, 37, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 55, 37, 26, 23, 21, 20, 20, 20},
    {17, 17, 17, 17, 18, 20, 23, 28, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 28, 23, 20, 18, 17, 17, 17, 17},
    {16, 16, 16, 16, 17, 19, 22, 26, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 26, 22, 19, 17, 16, 16, 16, 16},
    {0, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 0},
};

struct OilPatternTable {
    const int32_t* zones;
    const int32_t (*oil)[kOilBoards];
    int32_t numZones;
};

static const OilPatternTable kOilPatterns[kNumOilPatterns] = {
    {OilPattern1Zones, OilPattern1Oil, 5}, {OilPattern2Zones, OilPattern2Oil, 5}, {OilPattern3Zones, OilPattern3Oil, 5},
    {OilPattern4Zones, OilPattern4Oil, 6}, {OilPattern5Zones, OilPattern5Oil, 6}, {OilPattern6Zones, OilPattern6Oil, 5},
    {OilPattern7Zones, OilPattern7Oil, 6}, {OilPattern8Zones, OilPattern8Oil, 6}, {OilPattern9Zones, OilPattern9Oil, 6},
};

// The friction law: the more oil, the less grip, steeply at first and then almost flat once the
// lane is well oiled; the two lines meet at kOilSlopeChange.
static const float kOilSlopeChange = 5.4957981f;
static const float kComputerOil = 3.66f;

// Table value to grid value, in single precision and in this order.
static int32_t GridOil(int32_t v) { return int32_t(float(v) * 30.0f * 0.005f * float(kOilUnit)); }

static void SetRow(laneOil_tag* lane, int row, const int32_t* a, const int32_t* c, int32_t wa, int32_t wc,
                   float scale)
{
    if (row < 0 || row >= kOilRows) return;
    for (int b = 0; b < kOilBoards; ++b)
        lane->DefaultOil[row][b] = int32_t(float(wa * a[b] + wc * c[b]) * 0.005f * scale * float(kOilUnit));
}

int SetOilPattern(laneOil_tag* lane, int pattern)
{
    if (!lane) return 0;
    lane->oilPatternNum = pattern;
    if (pattern < 1 || pattern > kNumOilPatterns) {
        pattern = 1;
        gGameOptions.oilPattern = 1;
    }
    const OilPatternTable& table = kOilPatterns[pattern - 1];
    lane->m_pOilPattern = table.oil;
    lane->m_pOilZones = table.zones;
    lane->m_iPatternNumZones = table.numZones;

    // Each zone covers the rows after the end of the one before up to its own end; past the last
    // there is no oil.
    int z = 0;
    for (int r = 0; r < kOilRows; ++r) {
        if (z < table.numZones && table.zones[z] < r) ++z;
        for (int b = 0; b < kOilBoards; ++b) lane->DefaultOil[r][b] = z == table.numZones ? 0 : GridOil(table.oil[z][b]);
    }

    // Three-row ramps across every boundary, so that the grip changes over a couple of feet rather
    // than at one line.
    for (int k = 0; k + 1 < table.numZones; ++k) {
        const int32_t* a = table.oil[k];
        const int32_t* c = table.oil[k + 1];
        int end = table.zones[k];
        SetRow(lane, end - 1, a, c, 90, 30, 0.25f);
        SetRow(lane, end, a, c, 30, 30, 0.5f);
        SetRow(lane, end + 1, a, c, 30, 90, 0.25f);
    }
    return 1;
}

float GetLaneFriction(const laneOil_tag* lane, const float* position, int computerPlayer, float frictionMult)
{
    const float dry = kDryLaneFriction * frictionMult;
    if (!lane || !position || !lane->m_pOilZones || lane->m_iPatternNumZones <= 0) return dry;

    // Board and row (a foot of lane each) truncate toward zero, so the first foot behind the foul
    // line and a little past the negative-X edge still read row or board 0. The ranges are checked
    // before the conversion, which keeps a position that is not a number off the oil.
    const float halfX = position[0] * 0.5f;
    const double board = (double(halfX) + 21.0) * 0.9285713811309995;
    const double row = double(position[1]) * 0.5 * (1.0 / 12.0);
    int lastRow = lane->m_pOilZones[lane->m_iPatternNumZones - 1];
    if (lastRow > kOilRows - 1) lastRow = kOilRows - 1;
    if (!(board > -1.0 && board < double(kOilBoards)) || !(row > -1.0 && row < double(lastRow) + 1.0)) return dry;

    float oil = float(lane->DefaultOil[int(row)][int(board)]) * (1.0f / float(kOilUnit));
    if (computerPlayer) oil = kComputerOil;
    if (!(oil > 0.0f)) return kDryLaneFriction;
    const float friction = oil >= kOilSlopeChange ? 0.0275f - oil * 0.000416666648f : 0.3f - oil * 0.05f;
    return friction > kDryLaneFriction ? kDryLaneFriction : friction;
}
