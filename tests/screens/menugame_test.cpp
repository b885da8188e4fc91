// A game launched from the menus' set-up tables is played to its end on the lane with the bowlers
// the databases describe, and its result is folded into the first bowler's statistics.
#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>

#include "db/dbxml.h"
#include "game/areas.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "host/errorlog.h"
#include "host/host.h"
#include "lib/screenapi.h"
#include "lib/trig.h"
#include "platform/input.h"
#include "platform/render.h"
#include "host/gpu.h"
#include "screens/career.h"
#include "screens/launchers.h"
#include "screens/results.h"
#include "screens/scriptfunctions_play.h"
#include "shell/globals.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

class MenuGame : public ::testing::Test {
protected:
    HostOptions saved;
    sBasicDb* save = nullptr;
    sBasicDb* game = nullptr;
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(64 << 20), 1);
        HostClearErrorLog();  // the tests read what their games print
        ASSERT_EQ(InitTrigTables(), 1);
        saved = gHostOptions;
        gHostOptions.headless = 0;
        ASSERT_EQ(PrepareWholeGame(), 1);
        BasicDb_Init();
        ASSERT_EQ(BasicDb_Load(&save, "db/save.db.xml"), 1);
        ASSERT_EQ(BasicDb_Load(&game, "db/game.db.xml"), 1);
        BasicDb_DbRegister(save);
        BasicDb_DbRegister(game);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        GpuExecuteOnlyFor(nullptr, 0);
    }
    void TearDown() override
    {
        RenderDispose();
        GpuExecuteAll();
        BasicDb_Init();
        CloseBuildGameData();
        sinTable = cosTable = nullptr;
        btAlignedAllocSetCustom(nullptr, nullptr);
        btAlignedAllocSetCustomAligned(nullptr, nullptr);
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }
};

}  // namespace

TEST_F(MenuGame, AQuickGameOfTheSetUpIsPlayedAndCounted)
{
    sBasicDbTable* setup = BasicDbTable_Find(save, "quick play setup");
    sBasicDbTable* players = BasicDbTable_Find(save, "players");
    for (int k = 0; k < 4; ++k) BasicDbTable_SetElementI(setup, 7 + k, 0, 0);  // the computer bowls both
    BasicDbTable_SetElementI(setup, 1, 0, 3);
    ASSERT_EQ(PlayGameQuick(nullptr, 0), 1);
    EXPECT_EQ(areaNum, 3);
    ASSERT_EQ(GameLoop(), 1);
    EXPECT_EQ(ScreenGetResult(), 3);
    EXPECT_EQ(PlayerQuitGame(), 0);
    const int row = BasicDbTable_GetElementI(setup, 3, 0);
    ASSERT_EQ(UpdateStatsOfBowler(row, false), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(players, 30, row), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(players, 32, row), gPlayerInfo[0].totalScore);
    EXPECT_GT(gPlayerInfo[0].totalScore + gPlayerInfo[1].totalScore, 40) << "the bowlers hit pins";
    EXPECT_EQ(HostErrorLog().find("characters:"), std::string::npos) << HostErrorLog();
}

// A league week from the menus: the league entered, its game bowled on the lane (the computer
// bowling for the career bowler too) and folded into the table as the main menu does.
TEST_F(MenuGame, ALeagueGameIsPlayedAndFoldedIntoTheTable)
{
    sBasicDbTable* league = BasicDbTable_Find(save, "league");
    sBasicDbTable* players = BasicDbTable_Find(save, "players");
    const int r = BasicDbTable_GetElementI(BasicDbTable_Find(save, "career setup"), 1, 0);
    ASSERT_EQ(EnterLeague(nullptr, 0), 1);
    ASSERT_EQ(PlayGameLeague(nullptr, 1), 1);
    ASSERT_EQ(gNumPlayers, 2);
    // The career bowler is the person's; here the computer takes the person's turns.
    SetControllerAssignment(0, kAssignmentComputer);
    ASSERT_EQ(GameLoop(), 1);
    ASSERT_EQ(PlayerQuitGame(), 0);
    EXPECT_EQ(FoldInCareerGame(nullptr), 1);
    const int m = BasicDbTable_GetElementI(BasicDbTable_Find(game, "Leagues"), 5, 0);
    EXPECT_EQ(BasicDbTable_GetElementI(league, 15, r), 1) << "on to week 2";
    EXPECT_EQ(BasicDbTable_GetElementIN(league, 33, r, m - 1, -1), gPlayerInfo[0].totalScore);
    EXPECT_EQ(BasicDbTable_GetElementIN(league, 16, r, 2 * m + m - 1, -1), gPlayerInfo[0].totalScore);
    EXPECT_EQ(BasicDbTable_GetElementI(players, 30, r), 1);
    EXPECT_EQ(FoldInCareerGame(nullptr), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(league, 15, r), 1) << "folded once";
}
