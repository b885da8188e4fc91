// Resource sets named by displays are loaded after the description is read, and a managed range
// goes again when the environment is cleared.
#include <climits>

#include "host/errorlog.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "support/device_heap.h"
#include "shell/globals.h"
#include "support/game_data.h"
#include "ui/loader.h"
#include "ui/rlstracker.h"
#include "ui/uiload_fixture.h"

namespace {

class UiResourcesTest : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        ASSERT_EQ(OpenBuildGameData(), 1);
    }
    void TearDown() override
    {
        BasicUiEnvironment_Clear(env);
        CloseBuildGameData();
        UiLoadTest::TearDown();
    }
};

// The build's test resources: 6900 and 6901 single, 6902 and 6903 groups.
TEST_F(UiResourcesTest, DisplaysResourceSetsAreLoadedAndManagedRangesDisposed)
{
    ASSERT_EQ(LoadText("<BasicUiResourceSet name=\"kept\"><BasicUiResourceSetItem min=\"6902\" max=\"6902\" "
                       "manage=\"0\"/></BasicUiResourceSet>"
                       "<BasicUiResourceSet name=\"set\">"
                       "<BasicUiResourceSetItem min=\"6900\" max=\"6901\" manage=\"1\"/>"
                       "<BasicUiResourceSetItem min=\"6903\" max=\"6900\"/>"
                       "<BasicUiResourceSetItem min=\"0\" max=\"6903\"/></BasicUiResourceSet>"
                       "<BasicUiDisplay name=\"a\" resourceSet=\"set\"/><BasicUiDisplay name=\"b\" resourceSet=\"kept\"/>"
                       "<BasicUiDisplay name=\"c\" resourceSet=\"noSuchSet\"/>"),
              1);
    EXPECT_EQ(ResourceLoaded(6900), 1);
    EXPECT_EQ(ResourceLoaded(6901), 1);
    EXPECT_EQ(ResourceLoaded(6902), 1);
    EXPECT_EQ(ResourceLoaded(6903), 0);  // only in ranges with min > max or min 0
    EXPECT_EQ(BasicUi_FindDisplay(env, "c")->resourceSet, nullptr);

    BasicUiEnvironment_Clear(env);
    EXPECT_EQ(ResourceLoaded(6900), 0);
    EXPECT_EQ(ResourceLoaded(6901), 0);
    EXPECT_EQ(ResourceLoaded(6902), 1);  // the set that loaded it does not manage it
}

TEST_F(UiResourcesTest, RangeLoaderRefusesIdsWithoutAnArchive)
{
    EXPECT_EQ(BasicUi_LoadResourceRange1x1(9500, 9501), 0);  // past the last archive
    EXPECT_TRUE(LogHas("Resource header not present for resource range 9500 to 9501"));
    EXPECT_EQ(BasicUi_LoadResourceRange1x1(6901, 6900), 1);
    EXPECT_EQ(ResourceLoaded(6901), 0);
    EXPECT_EQ(BasicUi_LoadResourceRange1x1(-1, 3), 0);
    // A range up to the largest id loads what it holds and ends.
    EXPECT_EQ(BasicUi_LoadResourceRange1x1(6901, INT_MAX), 1);
    EXPECT_EQ(ResourceLoaded(6901), 1);
}

TEST_F(UiResourcesTest, QuitFlagEndsTheLoadAfterTheResources)
{
    done = 1;
    EXPECT_EQ(LoadText("<BasicUiResourceSet name=\"set\"><BasicUiResourceSetItem min=\"6900\" max=\"6900\"/>"
                       "</BasicUiResourceSet><BasicUiDisplay name=\"a\" resourceSet=\"set\"/>"
                       "<BasicUiConstantDef name=\"RLS.TEMP\" iValue=\"64\"/>"),
              0);
    EXPECT_EQ(ResourceLoaded(6900), 0);
    EXPECT_EQ(env->tracker.tempSize, 0);  // the steps after the resources did not run
    done = 0;
}

TEST(UiResourceTracker, StartsEmptyAndGivesItsBufferBack)
{
    ASSERT_EQ(UseFreshDeviceHeap(8u << 20), 1);
    static sBasicUiRLSTracker tracker;  // large: not on the stack
    unsigned before = deviceHeap.memoryUsed;
    ASSERT_EQ(BasicUiRLS_Init(&tracker, nullptr, 1000), 1);
    EXPECT_EQ(tracker.tempSize, 1000);
    EXPECT_GT(deviceHeap.memoryUsed, before);
    int free = 0;
    for (sBasicUiRLSSlot* s = tracker.freeHead; s; s = s->next) ++free;
    EXPECT_EQ(free, kBasicUiRLSSlots);
    EXPECT_EQ(tracker.slot[5].rsid, -1);
    EXPECT_EQ(tracker.request.stateStep, 4);
    EXPECT_EQ(BasicUiRLS_NotBusy(&tracker), 1);

    // Started again, the old buffer is given back first.
    ASSERT_EQ(BasicUiRLS_Init(&tracker, nullptr, 0), 1);
    EXPECT_EQ(deviceHeap.memoryUsed, before);
    EXPECT_EQ(tracker.tempMemory, nullptr);

    // A finished read leaves the queue for the list of finished slots.
    tracker.slot[0].loadedState = 1;
    tracker.pendHead = tracker.pendTail = &tracker.slot[0];
    tracker.freeHead = tracker.slot[0].next;
    tracker.slot[0].next = nullptr;
    tracker.raceCondition = 1;
    EXPECT_EQ(BasicUiRLS_NotBusy(&tracker), 0);
    BasicUiRLS_Dispatch(&tracker, 1);
    EXPECT_EQ(tracker.postHead, &tracker.slot[0]);
    EXPECT_EQ(tracker.pendHead, nullptr);
    EXPECT_EQ(tracker.raceCondition, 0);
    EXPECT_EQ(BasicUiRLS_Fini(&tracker), 1);
    ReleaseDeviceHeap();
}

}  // namespace
