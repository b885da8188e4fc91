#include <gtest/gtest.h>

#include "host/arena.h"
#include "host/clock.h"
#include "host/ptr32.h"
#include "platform/utilities.h"

namespace {

struct Linked {
    int value;
    Ptr32<Linked> next;
};

TEST(HostArena, Ptr32FieldsRoundTripThroughOffsets)
{
    ASSERT_EQ(HostArenaInit(1 << 20), 1);
    auto* a = reinterpret_cast<Linked*>(HostDeviceMemoryAddress());
    Linked* b = a + 1;
    a->next = b;
    b->next = nullptr;
    EXPECT_EQ(a->next.get(), b);
    EXPECT_EQ(a->next->value, b->value);
    EXPECT_FALSE(b->next);
    EXPECT_EQ(a->next.offset, uint32_t(reinterpret_cast<uint8_t*>(b) - gArenaBase));
    EXPECT_GE(a->next.offset, kArenaReservedBytes);  // offset 0 stays free for null
}

TEST(HostArena, LayoutOfDeviceMemoryAndVram)
{
    ASSERT_EQ(HostArenaInit(8 << 20), 1);
    EXPECT_EQ(HostDeviceMemorySize(), 8u << 20);
    EXPECT_EQ(HostVramAddress(0), HostDeviceMemoryAddress() + (8 << 20));
    EXPECT_EQ(HostVramAddress(1), HostVramAddress(0) + kVramBankSize);
    EXPECT_EQ(ArenaContains(HostVramAddress(1), kVramBankSize), 1);
    EXPECT_EQ(ArenaContains(HostVramAddress(1), kVramBankSize + 1), 0);
    EXPECT_EQ(HostVramAddress(2), nullptr);
}

TEST(HostArena, OutsidePointersAbort)
{
    ASSERT_EQ(HostArenaInit(1 << 20), 1);
    int local = 0;
    EXPECT_DEATH(ArenaOffset(&local), "outside the host arena");
    EXPECT_DEATH(ArenaAddress(gArenaSize), "outside the host arena");
}

TEST(HostClock, VirtualClockAdvancesOnlyWithFrames)
{
    HostUseVirtualClock(1);
    EXPECT_EQ(HostTicks(), 0);
    HostAdvanceClock(1000);
    EXPECT_EQ(HostTicks(), kTicksPerSecond);
    HostUseVirtualClock(0);
    int64_t t0 = HostTicks();
    EXPECT_GE(HostTicks(), t0);
}

}  // namespace
