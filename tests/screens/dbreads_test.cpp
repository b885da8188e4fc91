// The check of the game's databases against what the game reads of them, as it runs when they
// load: the game data's own databases pass, and each database renamed, each table and each column
// on the list taken away and each table cut short of the rows read, one at a time, is found; and
// every cell the menus' description names is on the list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "db/dbtest.h"
#include "host/errorlog.h"
#include "screens/dbreads.h"
#include "xml/xmlreader.h"

TEST_F(DbTest, TheLoadCheckFindsEachTableAndColumnTheGameReadsTakenAway)
{
    const char* const names[] = {"save", "game", "ui"};
    sBasicDb* dbs[] = {LoadContent("db/save.db.xml"), LoadContent("db/game.db.xml"), LoadContent("db/ui.db.xml")};
    auto database = [&](const char* name) {
        for (int d = 0; d < 3; ++d)
            if (std::strcmp(names[d], name) == 0) return dbs[d];
        return static_cast<sBasicDb*>(nullptr);
    };
    for (int d = 0; d < 3; ++d) {
        ASSERT_NE(dbs[d], nullptr) << names[d];
        EXPECT_EQ(CheckDatabaseReads(names[d], dbs[d], nullptr), 1) << names[d] << "\n" << HostErrorLog();
    }
    EXPECT_EQ(CheckDatabaseReads("ui", nullptr, nullptr), 0) << "a database the game data lacks";
    for (int d = 0; d < 3; ++d) {
        char* name = dbs[d]->name;
        name[0] ^= 0x40;
        EXPECT_EQ(CheckDatabaseReads(names[d], dbs[d], nullptr), 0) << names[d] << " under another name";
        name[0] ^= 0x40;
    }

    for (int i = 0; i < kDatabaseReadCount; ++i) {
        const DbTableRead& read = kDatabaseReads[i];
        sBasicDb* db = database(read.db);
        ASSERT_NE(db, nullptr) << read.db;
        sBasicDbTable* table = BasicDbTable_Find(db, read.table);
        ASSERT_NE(table, nullptr) << read.table;
        // A table lost: its name is no longer found.
        char* tableName = table->name;
        tableName[0] ^= 0x40;
        EXPECT_EQ(CheckDatabaseReads(read.db, db, nullptr), 0) << read.table;
        tableName[0] ^= 0x40;
        // A table one row short of the rows read.
        const int rows = table->rows;
        table->rows = read.rows - 1;
        EXPECT_EQ(CheckDatabaseReads(read.db, db, nullptr), 0) << read.table << " of " << table->rows << " rows";
        table->rows = rows;
        for (int c = 0; c < read.columnCount; ++c) {
            const DbColumnRead& column = read.columns[c];
            sBasicDbTableColumnDefinition& record = table->def->column.get()[column.column];
            const std::string where = std::string(read.table) + " column " + std::to_string(column.column);
            // A column lost from its definition leaves its number to the next one, of another
            // name, and the last one without a type.
            char* columnName = record.name;
            columnName[0] ^= 0x40;
            EXPECT_EQ(CheckDatabaseReads(read.db, db, nullptr), 0) << where;
            columnName[0] ^= 0x40;
            const uint8_t type = record.type;
            record.type = EBasicDbTableColumnTypeNULL;
            EXPECT_EQ(CheckDatabaseReads(read.db, db, nullptr), 0) << where;
            record.type = type;
        }
    }
    for (int d = 0; d < 3; ++d) {
        EXPECT_EQ(CheckDatabaseReads(names[d], dbs[d], nullptr), 1) << names[d];
        BasicDb_Destroy(dbs[d]);
    }

    // The menus read cells by database, table and column too (a list's names, a page's values):
    // each is on the list, so that the load check finds it lost.
    auto listed = [](const std::string& db, const std::string& table, int column) {
        for (int i = 0; i < kDatabaseReadCount; ++i) {
            const DbTableRead& read = kDatabaseReads[i];
            if (db != read.db || table != read.table) continue;
            for (int c = 0; c < read.columnCount; ++c)
                if (read.columns[c].column == column) return true;
        }
        return false;
    };
    sBasicXmlReader xml;
    ASSERT_EQ(BasicXmlReader_Init(&xml, "ui/ui360.xml"), 1);
    int cells = 0;
    while (BasicXmlReader_NextTag(&xml)) {
        std::string db, table, column;
        while (BasicXmlReader_NextAtt(&xml)) {
            const std::string att = xml.attBuffer;
            if (!BasicXmlReader_NextVal(&xml)) continue;
            if (att == "dbNm") db = xml.valBuffer;
            if (att == "dbTblNm") table = xml.valBuffer;
            if (att == "column") column = xml.valBuffer;
        }
        BasicXmlReader_NextEnd(&xml);
        if (db.empty() || column.empty()) continue;
        ++cells;
        EXPECT_TRUE(listed(db, table, std::atoi(column.c_str()))) << table << " of " << db << ", column " << column;
    }
    BasicXmlReader_Fini(&xml);
    EXPECT_GT(cells, 400);

    // A column named by the longest name the XML reader takes, of bytes that are each written
    // escaped: the message still names it whole and says what the game reads there.
    std::ifstream in(std::string(ZENDROLYX_SOURCE_DIR) + "/content/db/save.db.xml", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t at = text.find("name=\"autoSave\"");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, std::strlen("name=\"autoSave\""), "name=\"" + std::string(255, '\xff') + "\"");
    sBasicDb* hostile = LoadText(text);
    ASSERT_NE(hostile, nullptr);
    HostClearErrorLog();
    EXPECT_EQ(CheckDatabaseReads("save", hostile, "db/save.db.xml"), 0);
    EXPECT_NE(
        HostErrorLog().find("\\xff\" of 1 elements; the game reads int \"autoSave\" there (in \"db/save.db.xml\")"),
        std::string::npos)
        << HostErrorLog();
    BasicDb_Destroy(hostile);
}
