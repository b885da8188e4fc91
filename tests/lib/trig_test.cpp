#include "support/device_heap.h"
#include "lib/trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/arena.h"
#include "lib/memory.h"

namespace {

// A small device heap of its own, so the tables come from a known place.
class TrigTables : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(UseFreshDeviceHeap(1024 * 1024, 256));
        // Tables left over from an earlier arena are gone with it.
        sinTable = nullptr;
        cosTable = nullptr;
    }
    void TearDown() override
    {
        sinTable = nullptr;
        cosTable = nullptr;
        DisposeMemoryHeap(&deviceHeap);
        HostArenaDispose();
    }
};

TEST_F(TrigTables, FilledWithSineAndCosineOfWholeDegrees)
{
    ASSERT_EQ(InitTrigTables(), 1);
    ASSERT_NE(sinTable, nullptr);
    EXPECT_EQ(cosTable, sinTable + 360);
    // Quarter turns come out exact.
    EXPECT_EQ(sinTable[90], 1.0f);
    EXPECT_EQ(sinTable[180], 0.0f);
    EXPECT_EQ(cosTable[180], -1.0f);
    for (int d = 0; d < 360; d++) {
        double r = d * 3.14159265358979323846 / 180.0;
        EXPECT_NEAR(sinTable[d], std::sin(r), 1e-6) << d;
        EXPECT_NEAR(cosTable[d], std::cos(r), 1e-6) << d;
    }
}

TEST_F(TrigTables, SecondCallDoesNotLeak)
{
    ASSERT_EQ(InitTrigTables(), 1);
    unsigned allocations = 0, again = 0;
    DefaultHeapAllocations(&allocations);
    ASSERT_EQ(InitTrigTables(), 1);
    DefaultHeapAllocations(&again);
    EXPECT_EQ(again, allocations);
    EXPECT_EQ(sinTable[90], 1.0f);
}

TEST(TrigAngles, AngleDeltaTakesTheShortWayRound)
{
    EXPECT_FLOAT_EQ(AngleDelta(10, 350), 20);
    EXPECT_FLOAT_EQ(AngleDelta(350, 10), -20);
    EXPECT_FLOAT_EQ(AngleDelta(180, 0), 180);  // exactly half a turn is left alone
    EXPECT_FLOAT_EQ(AngleDelta(0, 180), -180);
}

TEST(TrigAngles, NormalizeAngleIntoOneTurn)
{
    EXPECT_EQ(NormalizeAngle(-30), 330);
    EXPECT_EQ(NormalizeAngle(720), 0);
    EXPECT_EQ(NormalizeAngle(360), 0);
    EXPECT_EQ(NormalizeAngle(-720.5f), 359.5f);
    EXPECT_FLOAT_EQ(NormalizeAngle(1000.25f), 280.25f);
}

TEST(TrigAngles, NormalizeAngleCopesWithExtremeInput)
{
    for (float huge : {1e30f, -3.0e38f, -1e-6f}) {  // the last rounds to a full turn on the way
        float a = NormalizeAngle(huge);
        EXPECT_GE(a, 0.0f) << huge;
        EXPECT_LT(a, 360.0f) << huge;
    }
    // Past the stepping limit the result still matches whole turns exactly.
    EXPECT_EQ(NormalizeAngle(360.0f * 1000 + 45), 45);
    EXPECT_EQ(NormalizeAngle(-360.0f * 1000 - 45), 315);
    EXPECT_EQ(NormalizeAngle(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(NormalizeAngle(std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(NormalizeAngle(-std::numeric_limits<float>::infinity()), 0);
}

TEST(TrigAngles, HeadingToPoint)
{
    // Heading 0 points along +z, 90 along +x; the small offset is part of the heading.
    EXPECT_NEAR(HeadingToPoint(0, 0, 0, 5), 0.001f, 1e-3f);
    EXPECT_NEAR(HeadingToPoint(1, 1, 6, 1), 90.001f, 1e-3f);
    EXPECT_NEAR(HeadingToPoint(0, 0, -5, 0), 270.001f, 1e-3f);
    EXPECT_NEAR(HeadingToPoint(0, 0, -1, 1), 315.001f, 1e-3f);  // raw value negative, wrapped
}

}  // namespace
