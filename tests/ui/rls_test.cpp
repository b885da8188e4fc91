// The resource loader's slots on the build's game data: reads that finish over several frames
// through the file server, eviction by age within group limits, resources already in memory, the
// race for slots, failed reads, and the buffers that are never taken from a resource in use.
#include "ui/rlstracker.h"

#include <gtest/gtest.h>

#include "host/clock.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "support/game_data.h"
#include "ui/uiload_fixture.h"

namespace {

constexpr int kGroup = kLaneObjectTextures;  // a group of the game data, read member by member
int Member(int i) { return (kGroup << 16) + i; }

class UiResourceSlots : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        // On the virtual clock a read lands at the end of the frame that issued it, so that the
        // frames a load takes do not depend on the machine.
        HostUseVirtualClock(1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        t = &env->tracker;
        ASSERT_EQ(BasicUiRLS_Init(t, nullptr, 1 << 20), 1);
    }
    void TearDown() override
    {
        BasicUiRLS_Fini(t);
        CloseBuildGameData();
        HostUseVirtualClock(0);
        UiLoadTest::TearDown();
    }
    // Frames of the loader until the queue is empty; the number taken.
    int Pump(int most = 200)
    {
        int frames = 0;
        while (!BasicUiRLS_NotBusy(t) && frames < most) {
            BasicUiRLS_Dispatch(t, 1);
            FileSystemUpdate();
            ++frames;
        }
        return frames;
    }
    sBasicUiRLSTracker* t = nullptr;
};

TEST_F(UiResourceSlots, MembersArriveOverFramesAndAFullGroupGivesUpItsOwnOldestSlot)
{
    int a = BasicUiRLS_RenewSlot(t, Member(0), 0, 0, 2, -1);
    int other = BasicUiRLS_RenewSlot(t, kUiDemoPanel, 1, 0, 1, -1);
    ASSERT_GE(a, 0);
    EXPECT_EQ(BasicUiRLS_IsLoaded(t, Member(0)), 0);
    EXPECT_GT(Pump(), 2);  // the directory, then the member, each its own read
    EXPECT_EQ(ResourceLoaded(Member(0)), 1);
    EXPECT_EQ(ResourceLoaded(kUiDemoPanel), 1);
    int b = BasicUiRLS_RenewSlot(t, Member(1), 0, 0, 2, -1);
    Pump();
    // Both commands let go of their slots; the group is full, so its third member takes the
    // group's oldest slot, although the other group's slot is older still.
    BasicUiRLS_RenewSlot(t, -1, 0, 0, 2, a);
    BasicUiRLS_RenewSlot(t, -1, 0, 0, 2, b);
    BasicUiRLS_RenewSlot(t, -1, 1, 0, 1, other);
    int c = BasicUiRLS_RenewSlot(t, Member(2), 0, 0, 2, -1);
    EXPECT_EQ(c, a);
    EXPECT_EQ(ResourceLoaded(Member(0)), 0);  // disposed with its slot
    EXPECT_EQ(ResourceLoaded(kUiDemoPanel), 1);
    Pump();
    EXPECT_EQ(ResourceLoaded(Member(2)), 1);
    EXPECT_EQ(t->groupSlot[0], 2);
}

TEST_F(UiResourceSlots, AWholeGroupComesInOneReadAndGoesWithItsSlot)
{
    int s = BasicUiRLS_RenewSlot(t, kGroup, 4, 0, 1, -1);
    Pump();
    ASSERT_EQ(ResourceLoaded(kGroup), 1);
    EXPECT_EQ(ResourceLoaded(Member(1)), 1);  // every member with it
    BasicUiRLS_RenewSlot(t, -1, 4, 0, 1, s);
    EXPECT_EQ(BasicUiRLS_RenewSlot(t, kUiDemoPanel, 4, 0, 1, -1), s);  // the group's one slot
    EXPECT_EQ(ResourceLoaded(kGroup), 0);
    EXPECT_EQ(ResourceLoaded(Member(1)), 0);
    Pump();
    EXPECT_EQ(ResourceLoaded(kUiDemoPanel), 1);
}

TEST_F(UiResourceSlots, AResourceInMemoryIsReservedLoadedAndGroupsBeyondTheTableCountAsNone)
{
    ASSERT_NE(ReadResource(kSplashImage), nullptr);
    int s = BasicUiRLS_RenewSlot(t, kSplashImage, 300, 0, 1, -1);
    ASSERT_GE(s, 0);
    EXPECT_EQ(t->slot[s].loadedState, 1);
    EXPECT_EQ(t->slot[s].groupIndex, -1);
    EXPECT_EQ(BasicUiRLS_NotBusy(t), 1);  // no read
    for (int i = 0; i < kBasicUiRLSSlots; ++i) EXPECT_EQ(t->groupSlot[i], 0);
    // Every other slot taken and held: the next reservation finds none.
    for (int i = 1; i < kBasicUiRLSSlots; ++i) ASSERT_GE(BasicUiRLS_ReserveSlot(t, kSplashImage, -1, 0, 1, 1, -1), 0);
    EXPECT_EQ(BasicUiRLS_ReserveSlot(t, kSplashImage, -1, 0, 1, 1, -1), -1);
    EXPECT_EQ(t->raceCondition, 1);
    EXPECT_TRUE(LogHas("BasicUiRLS: race condition."));
    EXPECT_NE(ResourceHandle(kSplashImage), nullptr);  // loaded by others: never disposed here
    // Finished, the tracker is empty and takes reservations again (an environment loaded anew).
    BasicUiRLS_Fini(t);
    EXPECT_EQ(BasicUiRLS_RenewSlot(t, kSplashImage, -1, 0, 1, -1), 0);
}

TEST_F(UiResourceSlots, AReadThatCannotBeDoneMarksItsSlotBrokenAndBuffersInUseAreNotHandedOut)
{
    ASSERT_EQ(BasicUiRLS_Init(t, nullptr, 16), 1);  // too small for any packed resource
    resourceHeader* h = nullptr;
    ASSERT_EQ(GetResourceHeader(kUiDemoPanel, &h), 1);
    ASSERT_TRUE(h->resourceFlags & kResourceCompressed);
    int s = BasicUiRLS_RenewSlot(t, kUiDemoPanel, 3, 0, 1, -1);
    Pump();
    EXPECT_EQ(BasicUiRLS_IsBroken(t, kUiDemoPanel, 3, 0, 1, s), 1);
    EXPECT_TRUE(LogHas("could not load basicUi resource 2230"));

    void* p = nullptr;
    for (int i = 0; i < kBasicUiRLSSlots; ++i)
        for (int b = 0; b < 2; ++b) ASSERT_EQ(BasicUiRLS_AllocMemory(t, i, 0, &p, 64), 1);
    EXPECT_EQ(BasicUiRLS_AllocMemory(t, 0, 0, &p, 64), 0);
    void* first = t->slot[5].resourceData[1];
    BasicUiRLS_FreeMemory(t, 5, 0, &first);
    EXPECT_EQ(BasicUiRLS_AllocMemory(t, 0, 0, &p, 4096), 1);  // the free one, grown
    EXPECT_EQ(t->slot[5].resourceSize[1], 4096);
}

}  // namespace
