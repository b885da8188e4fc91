// Every bowler of the front end's databases, dressed by the launchers' fill, loads from the build's
// character archive: the body, clothes, hair and balls the tables name are all in the game data.
#include <gtest/gtest.h>

#include "db/dbxml.h"
#include "game/characterload.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "host/errorlog.h"
#include "lib/resources.h"
#include "screens/playerfill.h"
#include "shell/globals.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

class BowlerLooks : public ::testing::Test {
protected:
    sBasicDb* save = nullptr;
    sBasicDb* game = nullptr;
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(48 << 20), 1);
        done = 0;
        ASSERT_EQ(OpenBuildGameData(), 1);
        BasicDb_Init();
        ASSERT_EQ(BasicDb_Load(&save, "db/save.db.xml"), 1);
        ASSERT_EQ(BasicDb_Load(&game, "db/game.db.xml"), 1);
        BasicDb_DbRegister(save);
        BasicDb_DbRegister(game);
        HostClearErrorLog();
    }
    void TearDown() override
    {
        DisposeCharacters();
        BasicDb_Init();
        CloseBuildGameData();
        ReleaseDeviceHeap();
        gNumPlayers = 1;
    }
    // Dresses up to eight bowlers of a table, from row `first`, and loads them.
    void LoadBatch(int fromNPCs, int first, int rows)
    {
        const int count = rows - first < kMaxPlayers ? rows - first : kMaxPlayers;
        for (int k = 0; k < count; ++k) {
            ASSERT_EQ(SetupPlayerRSIDs(k, first + k, fromNPCs, k % 4, 0, 0), 1) << first + k;
            const PlayerDataTag& p = gPlayerInfo[k].playerData;
            EXPECT_EQ(ResourceType(p.bodyMeshRSID), kResourceTypeGroup) << "row " << first + k;
        }
        gNumPlayers = count;
        ASSERT_EQ(LoadCharacterResources(), 1) << (fromNPCs ? "NPCs " : "players ") << first << ": " << HostErrorLog();
        ASSERT_EQ(DisposeCharacters(), 1);
    }
};

}  // namespace

TEST_F(BowlerLooks, EveryBowlerOfTheTablesLoads)
{
    sBasicDbTable* players = BasicDbTable_Find(save, "players");
    sBasicDbTable* npcs = BasicDbTable_Find(game, "NPCs");
    ASSERT_NE(players, nullptr);
    ASSERT_NE(npcs, nullptr);
    for (int first = 0; first < players->rows; first += kMaxPlayers) LoadBatch(0, first, players->rows);
    for (int first = 0; first < npcs->rows; first += kMaxPlayers) LoadBatch(1, first, npcs->rows);
    EXPECT_EQ(HostErrorLog(), "");
}
