// The speed rule of the shot: the table row from the bowler's power rating, the column from the
// meter, in feet per second; and the hook's spin.
#include "overlays/shotsetup.h"

#include <gtest/gtest.h>

#include "game/gameloop.h"
#include "game/records.h"
#include "overlays/power.h"

namespace {

constexpr float kMphToFps = 1.4666667f;

TEST(ShotMaths, TheSpeedTableRowComesFromThePowerAndTheColumnFromTheMeter)
{
    const TITLE_PlayerInfoStruct saved = gPlayerInfo[1];
    const int savedCurrent = gCurrPlayer;
    gCurrPlayer = 1;
    PlayerDataTag& d = gPlayerInfo[1].playerData;
    struct Case {
        int power, addition;
        float meter, mph;
    };
    const Case cases[] = {
        {10, 5, 0.0f, 11.00f},    // below 30: the slowest row
        {10, 5, 100.0f, 17.00f},  // exactly 100: column 10
        {90, 30, 100.0f, 28.00f}, // above 100 (bytes summed, not wrapped): the fastest row
        {90, 30, 9.99f, 13.00f},  // below 10: column 0
        {90, 30, 10.0f, 14.50f},
        {50, 5, 55.0f, 16.32f},   // row 5
        {34, 0, 50.0f, 14.00f},   // 34 still row 0
        {35, 0, 50.0f, 14.46f},
        {35, 0, 250.0f, 17.79f},  // a value the meter cannot give stays on the table
        {35, 0, -5.0f, 11.14f},
    };
    for (const Case& c : cases) {
        d.throwPower = u8(c.power);
        d.throwPowerMod = u8(c.addition);
        EXPECT_FLOAT_EQ(GetDSBallSpeed(c.meter), c.mph * kMphToFps) << c.power << " + " << c.addition << " at " << c.meter;
    }
    gPlayerInfo[1] = saved;
    gCurrPlayer = savedCurrent;
}

// A full hook at full speed with a full share spins 1750 degrees a second, to the right for a pad
// held right, scaled by speed and share; a pad at rest gives none.
TEST(ShotMaths, TheHookSpinScalesWithSpeedHookAndShare)
{
    EXPECT_FLOAT_EQ(ShotHookSpin(28.0f, 1.0f, 1.0f), 1750.0f);
    EXPECT_FLOAT_EQ(ShotHookSpin(28.0f, -1.0f, 1.0f), -1750.0f);
    EXPECT_FLOAT_EQ(ShotHookSpin(14.0f, 0.5f, 0.6f), 262.5f);
    EXPECT_EQ(ShotHookSpin(28.0f, 0.0f, 1.0f), 0.0f);
}

// The slider knob's track runs from x 22 over 271 - its width; its ends are the band's edges.
TEST(ShotMaths, TheKnobMapsTheBandOntoItsTrack)
{
    EXPECT_EQ(ShotKnobX(-45.0f, 45.0f, 40), 22);
    EXPECT_EQ(ShotKnobX(45.0f, 45.0f, 40), 253);
    EXPECT_FLOAT_EQ(ShotKnobBowlerX(22, 40, 35.0f, 6.0f), -29.0f) << "the hand offset is added";
    EXPECT_FLOAT_EQ(ShotKnobBowlerX(400, 40, 45.0f, -3.0f), 42.0f) << "kept within the band";
}

}  // namespace
