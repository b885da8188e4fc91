#include "db/dbtest.h"

#include <stdlib.h>

#include <fstream>

#include "db/dbxml.h"
#include "host/errorlog.h"
#include "host/host.h"
#include "support/device_heap.h"

void DbTest::SetUp()
{
    ASSERT_TRUE(UseFreshDeviceHeap(16u << 20));
    BasicDb_Init();
    HostClearErrorLog();
    std::string dir = ::testing::TempDir() + "zendrolyx-db-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    scratch = dir;
}

void DbTest::TearDown()
{
    std::string command = "rm -rf '" + scratch + "'";
    if (system(command.c_str()) != 0) ADD_FAILURE() << "could not remove " << scratch;
    ReleaseDeviceHeap();
}

sBasicDb* DbTest::LoadText(const std::string& xml)
{
    std::ofstream(scratch + "/test.xml", std::ios::binary) << xml;
    gHostOptions.romDir = scratch;
    sBasicDb* db = nullptr;
    EXPECT_EQ(BasicDb_Load(&db, "test.xml"), 1);
    return db;
}

sBasicDb* DbTest::LoadContent(const char* path)
{
    gHostOptions.romDir = std::string(ZENDROLYX_SOURCE_DIR) + "/content";
    sBasicDb* db = nullptr;
    EXPECT_EQ(BasicDb_Load(&db, path), 1);
    return db;
}

std::string CellText(sBasicDbTable* table, int row, int column)
{
    char text[512];
    if (!BasicDbTable_PutElementOntoStr(table, row, column, text, int(sizeof text))) return "(invalid)";
    return text;
}
