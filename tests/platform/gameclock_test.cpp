// The game clock: a fixed 33 ms of game time per drawn frame, and the frame measurements.
#include <gtest/gtest.h>

#include "host/clock.h"
#include "platform/frame.h"
#include "platform/renderengine.h"
#include "platform/utilities.h"

namespace {

// The frame rate of a frame of ms milliseconds on the tick clock: whole milliseconds, counted down.
float RateOf(int ms)
{
    int64_t ticks = int64_t(ms) * kTicksPerSecond / 1000;
    int64_t whole = ticks * 1000 / kTicksPerSecond;
    return 1000.0f / float(whole > 0 ? whole : 1);
}

class GameClock : public ::testing::Test {
protected:
    int wasVirtual = 0;
    void SetUp() override
    {
        wasVirtual = HostVirtualClockEnabled();
        HostUseVirtualClock(1);
        RestartGameClock();
        updateRate = 0;
        frameTicks = 12345;
    }
    void TearDown() override { HostUseVirtualClock(wasVirtual); }
};

TEST_F(GameClock, EveryFrameIs33MillisecondsFromTheFirstOn)
{
    // The first frame (at start-up) only starts the clock, yet it already counts 33 ms.
    HostAdvanceClock(500);
    ASSERT_EQ(CalculateUpdateRate(), 1);
    EXPECT_EQ(updateRate, 33);
    EXPECT_EQ(frameTicks, 33);
    EXPECT_FLOAT_EQ(updateRatio, 1.0f);
    EXPECT_FLOAT_EQ(realUpdateRatio, 1.0f);

    // Steady frames, a long stall and a very short frame all count 33 ms of game time.
    const int frameMs[] = {33, 17, 5000, 0, 40};
    const float rates[] = {RateOf(33), RateOf(17), RateOf(5000), 1000.0f, RateOf(40)};
    EXPECT_NEAR(rates[2], 0.2f, 1e-4f);
    for (int i = 0; i < 5; ++i) {
        HostAdvanceClock(frameMs[i]);
        ASSERT_EQ(CalculateUpdateRate(), 1);
        EXPECT_EQ(frameTicks, 33 * (i + 2)) << i;
        EXPECT_EQ(updateRate, 33);
        EXPECT_NEAR(frameRate, rates[i], rates[i] * 1e-3f) << frameMs[i] << " ms";
    }
}

TEST_F(GameClock, TimeAwayIsNotOneLongFrame)
{
    ASSERT_EQ(CalculateUpdateRate(), 1);
    HostAdvanceClock(33);
    ASSERT_EQ(CalculateUpdateRate(), 1);
    HostAdvanceClock(60000);  // in the HOME menu
    ASSERT_EQ(ResetUpdateTicks(), 1);
    HostAdvanceClock(20);
    ASSERT_EQ(CalculateUpdateRate(), 1);
    EXPECT_FLOAT_EQ(frameRate, RateOf(20));
    EXPECT_EQ(frameTicks, 99);
}

TEST_F(GameClock, ATickCountBehindTheLastFrameCountsAsNoTime)
{
    HostAdvanceClock(1000);
    ASSERT_EQ(CalculateUpdateRate(), 1);
    HostAdvanceClock(33);
    ASSERT_EQ(CalculateUpdateRate(), 1);
    // The tick source starts again from 0 (and reads 0 once more): no gigantic frame and no
    // second start of the clock.
    HostUseVirtualClock(1);
    ASSERT_EQ(CalculateUpdateRate(), 1);
    EXPECT_FLOAT_EQ(frameRate, 1000.0f);
    EXPECT_EQ(frameTicks, 99);
    ASSERT_EQ(CalculateUpdateRate(), 1);
    EXPECT_EQ(frameTicks, 132);
}

TEST_F(GameClock, GpuLoadIsTheGpuTimeIntoTheFrame)
{
    ASSERT_EQ(CalculateUpdateRate(), 1);
    EXPECT_FLOAT_EQ(gpuLoad, 0.0f);
    // The GPU finished the last list 8.25 ms after the previous frame ended: half a 60 Hz frame.
    HostAdvanceClock(8);
    gpuTickCount = uint64_t(GetTickCount()) + uint64_t(kTicksPerSecond) / 4000;
    HostAdvanceClock(25);
    ASSERT_EQ(CalculateUpdateRate(), 1);
    EXPECT_NEAR(gpuLoad, 8.25f * 6.0f, 0.01f);
    // A finish time from before the frame began is no GPU time at all.
    HostAdvanceClock(33);
    ASSERT_EQ(CalculateUpdateRate(), 1);
    EXPECT_FLOAT_EQ(gpuLoad, 0.0f);
    gpuTickCount = 0;
}

}  // namespace
