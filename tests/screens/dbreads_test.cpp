// The check of the game's databases against what the game reads of them, as it runs when they
// load: the game data's own databases pass, and each database renamed, each table and each column
// on the list taken away and each table cut short of the rows read, one at a time, is found.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "db/dbtest.h"
#include "host/errorlog.h"
#include "screens/dbreads.h"

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
        EXPECT_EQ(CheckDatabaseReads(names[d], dbs[d]), 1) << names[d] << "\n" << HostErrorLog();
    }
    EXPECT_EQ(CheckDatabaseReads("ui", nullptr), 0) << "a database the game data lacks";
    for (int d = 0; d < 3; ++d) {
        char* name = dbs[d]->name;
        name[0] ^= 0x40;
        EXPECT_EQ(CheckDatabaseReads(names[d], dbs[d]), 0) << names[d] << " under another name";
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
        EXPECT_EQ(CheckDatabaseReads(read.db, db), 0) << read.table;
        tableName[0] ^= 0x40;
        // A table one row short of the rows read.
        const int rows = table->rows;
        table->rows = read.rows - 1;
        EXPECT_EQ(CheckDatabaseReads(read.db, db), 0) << read.table << " of " << table->rows << " rows";
        table->rows = rows;
        for (int c = 0; c < read.columnCount; ++c) {
            const DbColumnRead& column = read.columns[c];
            sBasicDbTableColumnDefinition& record = table->def->column.get()[column.column];
            const std::string where = std::string(read.table) + " column " + std::to_string(column.column);
            // A column lost from its definition leaves its number to the next one, of another
            // name, and the last one without a type.
            char* columnName = record.name;
            columnName[0] ^= 0x40;
            EXPECT_EQ(CheckDatabaseReads(read.db, db), 0) << where;
            columnName[0] ^= 0x40;
            const uint8_t type = record.type;
            record.type = EBasicDbTableColumnTypeNULL;
            EXPECT_EQ(CheckDatabaseReads(read.db, db), 0) << where;
            record.type = type;
        }
    }
    for (int d = 0; d < 3; ++d) {
        EXPECT_EQ(CheckDatabaseReads(names[d], dbs[d]), 1) << names[d];
        BasicDb_Destroy(dbs[d]);
    }
}
