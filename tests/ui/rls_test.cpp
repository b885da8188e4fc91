// The resource loader's slots on the build's game data: reads that finish over several frames
// through the file server, eviction by age within group limits, resources already in memory, the
// race for slots, failed reads, and the buffers that are never taken from a resource in use; and
// the load command's queries and its failed load.
#include "ui/rlstracker.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "db/database.h"
#include "host/clock.h"
#include "host/host.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "support/game_data.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/cmdload.h"
#include "ui/widgets/commands.h"

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

namespace {

// The load command's queries through one or two table cells: type 2 reads its row from a cell,
// types 3 and 4 from a cell of a row named by another, and type 4 takes the offset from the case
// table that "sType" chooses (none for any other value).
TEST_F(UiResourceSlots, LoadCommandQueriesFindTheirIdsThroughTheirCells)
{
    std::ofstream(scratch + "/q.db.xml")
        << "<BasicDb name=\"q\" tableDefs=\"1\" tables=\"1\"><BasicDbTableDef name=\"d\" columns=\"7\">"
           "<BasicDbTableColumnDef name=\"row\" type=\"int\" count=\"1\"/>"
           "<BasicDbTableColumnDef name=\"res\" type=\"int\" count=\"1\"/>"
           "<BasicDbTableColumnDef name=\"off\" type=\"int\" count=\"1\"/>"
           "<BasicDbTableColumnDef name=\"c0\" type=\"int\" count=\"1\"/>"
           "<BasicDbTableColumnDef name=\"c1\" type=\"int\" count=\"1\"/>"
           "<BasicDbTableColumnDef name=\"o\" type=\"int\" count=\"1\"/>"
           "<BasicDbTableColumnDef name=\"s\" type=\"int\" count=\"1\"/></BasicDbTableDef>"
           "<BasicDbTable name=\"t\" def=\"d\" rows=\"6\">"
           "2, 1000, 200, 300, 400, 0, 0, 5, 1001, 201, 301, 401, 0, 0, 4, 1002, 202, 302, 402, 3, 0, "
           "0, 1003, 203, 303, 403, 0, 0, 0, 1004, 204, 304, 404, 0, 0, 0, 1005, 205, 305, 405, 0, 0,"
           "</BasicDbTable></BasicDb>";
    const std::string rom = gHostOptions.romDir;
    ASSERT_EQ(LoadText("<BasicDbFile filename=\"q.db.xml\"/><BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                       "<BasicUiWidget name=\"l\" typeWidget=\"cmdLoad\" oType=\"5\" sType=\"6\" "
                       "db0.Nm=\"q\" db0.tblNm=\"t\" db1.Nm=\"q\" db1.tblNm=\"t\" db1.row=\"1\" "
                       "dbResource.Nm=\"q\" dbResource.tblNm=\"t\" dbResource.column=\"1\" "
                       "dbOffset.Nm=\"q\" dbOffset.tblNm=\"t\" dbOffset.column=\"2\" "
                       "dbCase0.Nm=\"q\" dbCase0.tblNm=\"t\" dbCase0.column=\"3\" "
                       "dbCase1.Nm=\"q\" dbCase1.tblNm=\"t\" dbCase1.column=\"4\"/>"
                       "</BasicUiScreen></BasicUiDisplay>"),
              1);
    gHostOptions.romDir = rom;
    sBasicUiWidget* w = BasicUi_FindWidget(env, "l");
    auto* c = static_cast<sBasicUiWidgetTypeCmdLoad*>(w->widgetTypeRef.ptr);
    sBasicDbTable* table = BasicDbTable_Find(BasicUi_FindDb(env, "q"), "t");
    struct Case {
        int query, s, resource, offset;
    } cases[] = {{2, 0, 1005, 205}, {3, 0, 1004, 203}, {4, 0, 1004, 303}, {4, 1, 1004, 403}, {4, 2, 1004, -1}};
    for (const Case& k : cases) {
        c->queryType.value = k.query;
        c->resourceID.value = c->offsetID.value = 7;
        BasicDbTable_SetElementI(table, 6, 2, k.s);
        BasicUiWidgetTypeCmdLoad_UpdateDb(w, c);
        EXPECT_EQ(c->resourceID.value, k.resource) << k.query << " s " << k.s;
        EXPECT_EQ(c->offsetID.value, k.offset) << k.query << " s " << k.s;
        EXPECT_EQ(c->internalID, k.resource);
    }
}

// A load whose read fails gives up: the command's ids are cleared, it lets its sequence go on, and
// the sequence for an arrived resource is not run.
TEST_F(UiResourceSlots, AFailedLoadClearsTheCommandsIdsAndSkipsItsDoneSequence)
{
    const std::string rom = gHostOptions.romDir;
    ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                       "<BasicUiWidget name=\"done\" typeWidget=\"cmdSeq\"/>"
                       "<BasicUiWidget name=\"l\" typeWidget=\"cmdLoad\" groupIdx=\"3\" cmdDone=\"done\" resourceID=\"" +
                       std::to_string(kUiDemoPanel) + "\"/></BasicUiScreen></BasicUiDisplay>"),
              1);
    gHostOptions.romDir = rom;
    ASSERT_EQ(BasicUiRLS_Init(t, nullptr, 16), 1);  // too small for the packed panel
    sBasicUiWidget* w = BasicUi_FindWidget(env, "l");
    auto* c = static_cast<sBasicUiWidgetTypeCmdLoad*>(w->widgetTypeRef.ptr);
    int finished = 0;
    for (int frame = 0; frame < 200 && !finished; ++frame) {
        finished = BasicUiWidgetTypeCmdLoad_IsLoaded(w);
        BasicUiRLS_Dispatch(t, 1);
        FileSystemUpdate();
    }
    ASSERT_EQ(finished, 1);
    EXPECT_EQ(c->resourceID.value, -1);
    EXPECT_EQ(c->offsetID.value, -1);
    EXPECT_EQ(c->internalID, -1);
    auto* done = static_cast<sBasicUiWidgetTypeCmdSequence*>(BasicUi_FindWidget(env, "done")->widgetTypeRef.ptr);
    EXPECT_EQ(done->cmdSeqActive.value, 0);
}

}  // namespace
