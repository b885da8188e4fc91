#include "screens/frontend_fixture.h"

#include <fstream>

#include "db/dbxml.h"
#include "game/gameloop.h"
#include "host/host.h"
#include "screens/credits.h"
#include "support/table_reads.h"
#include "ui/frameupdate.h"

void FrontEndTest::SetUp()
{
    // No pad is plugged in until a test plugs one (an earlier test may have left the platform's).
    for (int i = 0; i < kNumControllerStates; ++i) {
        devices[i] = controllers[i].controller;
        controllers[i].controller = nullptr;
    }
    UiLoadTest::SetUp();
    basicUiEnvironmentPtr = env;
    gHostOptions.romDir = std::string(ZENDROLYX_SOURCE_DIR) + "/content";
    ASSERT_EQ(BasicDb_Load(&save, "db/save.db.xml"), 1);
    ASSERT_EQ(BasicDb_Load(&game, "db/game.db.xml"), 1);
    ASSERT_NE(save, nullptr);
    ASSERT_NE(game, nullptr);
    BasicDb_DbRegister(save);
    BasicDb_DbRegister(game);
    // No game chosen and no bowlers yet, as the main menu opens.
    gGameType = -1;
    gNumPlayers = 0;
}

void FrontEndTest::TearDown()
{
    // Every table the code read during the test is one the databases are checked for when they load.
    ExpectEveryTableReadListed();
    for (int i = 0; i < kNumControllerStates; ++i) controllers[i].controller = devices[i];
    BasicDb_Init();
    ForgetCreditsDatabase();
    UiLoadTest::TearDown();
}

sBasicDb* FrontEndTest::RegisterText(const std::string& xml)
{
    std::ofstream(scratch + "/texts.xml", std::ios::binary) << xml;
    const std::string rom = gHostOptions.romDir;
    gHostOptions.romDir = scratch;
    sBasicDb* db = nullptr;
    EXPECT_EQ(BasicDb_Load(&db, "texts.xml"), 1);
    gHostOptions.romDir = rom;
    BasicDb_DbRegister(db);
    return db;
}

std::string FrontEndCell(sBasicDbTable* table, int row, int column)
{
    char text[512];
    if (!BasicDbTable_PutElementOntoStr(table, row, column, text, int(sizeof text))) return "(invalid)";
    return text;
}
