#include "db/dbxml.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "db/dbtest.h"
#include "host/errorlog.h"
#include "host/files.h"
#include "host/host.h"
#include "lib/memory.h"
#include "platform/utilities.h"

namespace {

TEST_F(DbTest, LoadsTheHandWrittenFile)
{
    unsigned usedBefore = deviceHeap.memoryUsed;
    sBasicDb* save = LoadContent();
    ASSERT_NE(save, nullptr);
    EXPECT_STREQ(save->name, "save");
    EXPECT_EQ(save->isContiguous, 0);
    ASSERT_EQ(save->tableDefs, 2);
    ASSERT_EQ(save->tables, 3);

    sBasicDbTableDefinition* bowler = &save->tableDef.get()[0];
    EXPECT_STREQ(bowler->name, "bowler");
    ASSERT_EQ(bowler->columns, 6);
    EXPECT_EQ(bowler->stride, 16 + 1 + 4 + 12 + 4 + 8);
    EXPECT_EQ(bowler->column[3].offset, 21);
    EXPECT_EQ(bowler->column[5].type, EBasicDbTableColumnTypeSTR);  // "str"

    sBasicDbTable* bowlers = BasicDbTable_Find(save, "bowlers");
    ASSERT_NE(bowlers, nullptr);
    EXPECT_EQ(bowlers->def.get(), bowler);
    EXPECT_STREQ(BasicDbTable_GetStrElement(bowlers, 0, 0), "Ada & Co");
    EXPECT_STREQ(BasicDbTable_GetStrElement(bowlers, 1, 0), "Bo \"Pins\"");
    EXPECT_EQ(CellText(bowlers, 0, 2), "181.500000 ");
    EXPECT_EQ(CellText(bowlers, 1, 3), "150 139 161 ");
    EXPECT_EQ(CellText(bowlers, 2, 3), "-1 0 300 ");
    EXPECT_EQ(BasicDbTable_GetElementI(bowlers, 4, 1, -1), 0);
    EXPECT_EQ(BasicDbTable_GetElementI(bowlers, 1, 2, -1), 1);
    EXPECT_STREQ(BasicDbTable_GetStrElement(bowlers, 0, 5), "Ace");
    EXPECT_STREQ(BasicDbTable_GetStrElement(bowlers, 2, 5), "");

    sBasicDbTable* league = BasicDbTable_Find(save, "league");
    EXPECT_EQ(CellText(league, 0, 1), "410 502 480 390 ");
    sBasicDbTable* spare = BasicDbTable_Find(save, "spare");
    ASSERT_NE(spare, nullptr);
    EXPECT_EQ(spare->rows, 2);
    EXPECT_EQ(CellText(spare, 1, 2), "0 0 0 0 ");

    sBasicDb* options = save->next;
    ASSERT_NE(options, nullptr);
    EXPECT_STREQ(options->name, "options");
    EXPECT_EQ(options->next.get(), nullptr);
    sBasicDbTable* optionTable = BasicDbTable_Find(options, "options");
    EXPECT_EQ(BasicDbTable_GetElementI(optionTable, 0, 0), 80);
    EXPECT_STREQ(BasicDbTable_GetStrElement(optionTable, 0, 1), "en");
    EXPECT_EQ(HostErrorLog(), "");

    BasicDb_Destroy(save);
    EXPECT_EQ(deviceHeap.memoryUsed, usedBefore);
}

TEST_F(DbTest, LoadingAppendsToAnExistingChain)
{
    sBasicDb* first = LoadContent();
    ASSERT_NE(first, nullptr);
    sBasicDb* chain = first;
    EXPECT_EQ(BasicDb_Load(&chain, "db/test.db.xml"), 1);
    EXPECT_EQ(chain, first);
    int count = 0;
    for (sBasicDb* db = chain; db; db = db->next) ++count;
    EXPECT_EQ(count, 4);
    BasicDb_Destroy(chain);
}

// A file that cannot be opened is reported. A reading that the order to close stops is not read
// whole either, but its file is: nothing is said of it.
TEST_F(DbTest, MissingFilesAreReportedAndStoppedReadingsAreNot)
{
    gHostOptions.romDir = scratch;
    sBasicDb* db = nullptr;
    EXPECT_EQ(BasicDb_Load(&db, "none.db.xml"), 0);
    EXPECT_EQ(db, nullptr);
    EXPECT_NE(HostErrorLog().find("cannot open \"none.db.xml\""), std::string::npos);
    EXPECT_EQ(BasicDb_Save(&db, "none.db.xml"), 0);

    // One column element fills the file, so that the reading stops inside it wherever it stops.
    std::string notes;
    for (int i = 0; i < 8000; ++i) notes += " note=\"0\"";
    std::ofstream(scratch + "/long.xml", std::ios::binary)
        << "<BasicDb name=\"long\" tableDefs=\"1\" tables=\"0\"><BasicDbTableDef name=\"d\" columns=\"1\">"
        << "<BasicDbTableColumnDef name=\"c\"" << notes << " type=\"int\" count=\"1\"/></BasicDbTableDef></BasicDb>";
    HostClearErrorLog();
    const int doneBefore = done;
    // The close is ordered as the reading begins; the frames that one of the next 52 reads pumps
    // stop it.
    HostFileSetReadHook([](const char*) { done = 1; });
    EXPECT_EQ(BasicDb_Load(&db, "long.xml"), 0);
    HostFileSetReadHook(nullptr);
    done = doneBefore;
    EXPECT_EQ(HostErrorLog(), "");
    if (db) BasicDb_Destroy(db);
}

// Counts that are negative, huge, or whose product overflows are read as 0 with a message;
// nothing is allocated for them and the rest of the file still loads.
TEST_F(DbTest, BadCountsAreReadAsZero)
{
    unsigned usedBefore = deviceHeap.memoryUsed;
    sBasicDb* db = LoadText(R"(<BasicDb name="bad" tableDefs="3" tables="4">
      <BasicDbTableDef name="neg" columns="-4"><BasicDbTableColumnDef name="x" type="int" count="1"/></BasicDbTableDef>
      <BasicDbTableDef name="huge" columns="2">
        <BasicDbTableColumnDef name="a" type="int" count="-3"/>
        <BasicDbTableColumnDef name="b" type="int" count="2000000000"/>
      </BasicDbTableDef>
      <BasicDbTableDef name="ok" columns="2">
        <BasicDbTableColumnDef name="s" type="string" count="100000"/>
        <BasicDbTableColumnDef name="n" type="int" count="1"/>
      </BasicDbTableDef>
      <BasicDbTable name="manyRows" def="ok" rows="100000"/>
      <BasicDbTable name="negRows" def="ok" rows="-2">1,</BasicDbTable>
      <BasicDbTable name="noDef" def="missing" rows="2147483647">1, 2,</BasicDbTable>
      <BasicDbTable name="fine" def="ok" rows="1">"x", 5,</BasicDbTable>
    </BasicDb>
    <BasicDb name="neg" tableDefs="-1" tables="2147483647"/>
    <BasicDb name="vast" tables="1366411"></BasicDb>)");
    ASSERT_NE(db, nullptr);
    sBasicDbTableDefinition* defs = db->tableDef;
    EXPECT_EQ(defs[0].columns, 0);
    EXPECT_EQ(defs[0].column.get(), nullptr);
    EXPECT_EQ(defs[1].columns, 2);
    EXPECT_EQ(defs[1].column[0].count, 0);
    EXPECT_EQ(defs[1].column[1].count, 0);
    EXPECT_EQ(defs[1].stride, 0);
    EXPECT_EQ(defs[2].stride, 100004);

    sBasicDbTable* manyRows = BasicDbTable_Find(db, "manyRows");  // 10 GB of rows
    EXPECT_EQ(manyRows->rows, 0);
    EXPECT_EQ(manyRows->row.get(), nullptr);
    EXPECT_EQ(BasicDbTable_Find(db, "negRows")->rows, 0);
    sBasicDbTable* noDef = BasicDbTable_Find(db, "noDef");
    EXPECT_EQ(noDef->def.get(), nullptr);
    EXPECT_EQ(noDef->rows, 0);  // rows without cells are not kept
    EXPECT_EQ(noDef->row.get(), nullptr);
    EXPECT_EQ(BasicDbTable_GetElementI(noDef, 0, 0, -1), -1);
    sBasicDbTable* fine = BasicDbTable_Find(db, "fine");
    EXPECT_STREQ(BasicDbTable_GetStrElement(fine, 0, 0), "x");
    EXPECT_EQ(BasicDbTable_GetElementI(fine, 1, 0), 5);

    sBasicDb* neg = db->next;
    ASSERT_NE(neg, nullptr);
    EXPECT_EQ(neg->tableDefs, 0);
    EXPECT_EQ(neg->tables, 0);
    EXPECT_EQ(neg->table.get(), nullptr);
    // A count of more tables than the bytes after it could hold is refused before any is made.
    sBasicDb* vast = neg->next;
    ASSERT_NE(vast, nullptr);
    EXPECT_EQ(vast->tables, 0);
    EXPECT_EQ(vast->table.get(), nullptr);

    std::string log = HostErrorLog();
    for (const char* message : {"\"neg\" has the bad number of columns -4", "column \"a\" has the bad count -3",
                                "column \"b\" has the bad count 2000000000", "table \"manyRows\" of 100000 rows",
                                "table \"negRows\" has the bad row count -2", "table \"noDef\" has no definition",
                                "\"neg\" has the bad number of table definitions -1", "\"neg\" has the bad number of tables 2147483647",
                                "\"vast\" declares 1366411 tables, more than the rest of its file could hold"})
        EXPECT_NE(log.find(message), std::string::npos) << message << "\nnot in:\n" << log;
    BasicDb_Destroy(db);
    EXPECT_EQ(deviceHeap.memoryUsed, usedBefore);
}

// A column element outside its open definition must not grow a definition whose rows exist.
TEST_F(DbTest, ColumnsOutsideTheirDefinitionAreSkipped)
{
    sBasicDb* db = LoadText(R"(<BasicDb name="c" tableDefs="1" tables="1">
      <BasicDbTableDef name="d" columns="3"><BasicDbTableColumnDef name="a" type="byte" count="2"/></BasicDbTableDef>
      <BasicDbTableColumnDef name="late" type="int" count="50"/>
      <BasicDbTable name="t" def="d" rows="2">1 2, , , 3 4, , ,</BasicDbTable>
      <BasicDbTableColumnDef name="after" type="int" count="50"/>
    </BasicDb>)");
    ASSERT_NE(db, nullptr);
    sBasicDbTableDefinition* def = db->tableDef;
    EXPECT_EQ(def->stride, 2);
    EXPECT_EQ(def->column[1].name.get(), nullptr);
    // The two columns never given take no room but still take their cells.
    sBasicDbTable* t = BasicDbTable_Find(db, "t");
    EXPECT_EQ(CellText(t, 0, 0), "1 2 ");
    EXPECT_EQ(CellText(t, 1, 0), "3 4 ");
    BasicDb_Destroy(db);
}

// A table or definition beyond the declared counts is reported, not dropped silently.
TEST_F(DbTest, TablesBeyondTheDeclaredCountAreReported)
{
    sBasicDb* db = LoadText(R"(<BasicDb name="few" tableDefs="1" tables="1">
      <BasicDbTableDef name="d" columns="1"><BasicDbTableColumnDef name="a" type="int" count="1"/></BasicDbTableDef>
      <BasicDbTableDef name="e" columns="1"><BasicDbTableColumnDef name="a" type="int" count="1"/></BasicDbTableDef>
      <BasicDbTable name="t" def="d" rows="1">1,</BasicDbTable>
      <BasicDbTable name="u" def="d" rows="1">2,</BasicDbTable>
    </BasicDb>)");
    ASSERT_NE(db, nullptr);
    EXPECT_NE(BasicDbTable_Find(db, "t"), nullptr);
    EXPECT_EQ(BasicDbTable_Find(db, "u"), nullptr);
    const std::string log = HostErrorLog();
    EXPECT_NE(log.find("\"few\" declares 1 tables; a further one is ignored"), std::string::npos) << log;
    EXPECT_NE(log.find("\"few\" declares 1 table definitions; a further one is ignored"), std::string::npos) << log;
    BasicDb_Destroy(db);
}

TEST_F(DbTest, RepeatedAttributesKeepTheFirstValue)
{
    sBasicDb* db = LoadText(R"(<BasicDb name="one" name="two" tableDefs="1" tableDefs="5" tables="1" tables="9">
      <BasicDbTableDef name="d" columns="1" columns="4">
        <BasicDbTableColumnDef name="n" type="int" type="string" count="2" count="7"/>
      </BasicDbTableDef>
      <BasicDbTableDef name="beyond" columns="1"/>
      <BasicDbTable name="t" def="d" rows="1" rows="3" def="other">5 6,</BasicDbTable>
      <BasicDbTable name="beyond" def="d" rows="1"/>
    </BasicDb>)");
    ASSERT_NE(db, nullptr);
    EXPECT_STREQ(db->name, "one");
    EXPECT_EQ(db->tableDefs, 1);
    EXPECT_EQ(db->tables, 1);
    EXPECT_EQ(db->tableDef->columns, 1);
    EXPECT_EQ(db->tableDef->column->type, EBasicDbTableColumnTypeINT);
    EXPECT_EQ(db->tableDef->column->count, 2);
    sBasicDbTable* t = db->table;
    EXPECT_EQ(t->rows, 1);
    EXPECT_EQ(CellText(t, 0, 0), "5 6 ");
    std::string log = HostErrorLog();
    for (const char* att : {"name", "tableDefs", "tables", "columns", "count", "rows", "def"})
        EXPECT_NE(log.find(std::string("duplicate attribute: ") + att + "\n"), std::string::npos) << att;
    BasicDb_Destroy(db);
}

// Cells that cannot be read leave numbers as they were and strings empty; the cells after them
// are read in step, and a table whose text ends early keeps its remaining cells.
TEST_F(DbTest, BadCellsDoNotThrowTheRestOutOfStep)
{
    sBasicDb* db = LoadText(R"(<BasicDb name="c" tableDefs="1" tables="2">
      <BasicDbTableDef name="d" columns="2">
        <BasicDbTableColumnDef name="s" type="string" count="6"/><BasicDbTableColumnDef name="n" type="int" count="2"/>
      </BasicDbTableDef>
      <BasicDbTable name="t" def="d" rows="3">
        "one", 1 2, bad, 3 4, "a" "b", x9,
        "three", 5 6,
      </BasicDbTable>
      <BasicDbTable name="short" def="d" rows="40">"x", 7,</BasicDbTable>
    </BasicDb>)");
    ASSERT_NE(db, nullptr);
    sBasicDbTable* t = BasicDbTable_Find(db, "t");
    EXPECT_STREQ(BasicDbTable_GetStrElement(t, 0, 0), "one");
    EXPECT_EQ(CellText(t, 0, 1), "1 2 ");
    EXPECT_STREQ(BasicDbTable_GetStrElement(t, 1, 0), "");
    EXPECT_EQ(CellText(t, 1, 1), "3 4 ");
    EXPECT_STREQ(BasicDbTable_GetStrElement(t, 2, 0), "");
    EXPECT_EQ(CellText(t, 2, 1), "0 0 ");
    sBasicDbTable* shortTable = BasicDbTable_Find(db, "short");
    EXPECT_STREQ(BasicDbTable_GetStrElement(shortTable, 0, 0), "x");
    EXPECT_EQ(CellText(shortTable, 39, 1), "0 0 ");
    EXPECT_NE(HostErrorLog().find("table \"short\" ends at row 1"), std::string::npos);
    BasicDb_Destroy(db);
}

// Elements after a database's end belong to no database.
TEST_F(DbTest, ElementsAfterTheEndOfADatabaseAreSkipped)
{
    sBasicDb* db = LoadText(R"(<BasicDb name="c" tableDefs="1" tables="1">
      <BasicDbTableDef name="d" columns="1"><BasicDbTableColumnDef name="n" type="int" count="1"/></BasicDbTableDef>
      <BasicDbTable name="t" def="d" rows="1">1,</BasicDbTable>
    </BasicDb>
    <BasicDbTableDef name="stray" columns="1"/>
    <BasicDbTable name="again" def="d" rows="1">2,</BasicDbTable>
    </BasicDb>)");
    ASSERT_NE(db, nullptr);
    EXPECT_STREQ(db->table->name, "t");
    EXPECT_STREQ(db->tableDef->name, "d");
    EXPECT_EQ(BasicDbTable_GetElementI(db->table, 0, 0), 1);
    EXPECT_EQ(db->next.get(), nullptr);
    BasicDb_Destroy(db);
}

}  // namespace

// An attribute the format does not have (a note beside the data) is passed over on every element
// without a word. One of its own damaged is said by what it leaves missing: a table's rows
// ("rowt", or a stray byte splitting the name), whose cells are then more than it holds, or a
// column's type; each message names the file.
TEST_F(DbTest, DamagedAttributesAndTypesAreReported)
{
    sBasicDb* db = LoadText(R"(<BasicDb name="d" tableDefs="2" tables="3" comment="the season">
      <BasicDbTableDef name="def" columns="2" comment="n, s">
        <BasicDbTableColumnDef name="n" type="int" count="1" comment="a number"/>
        <BasicDbTableColumnDef name="s" type="string" count="4"/>
      </BasicDbTableDef>
      <BasicDbTableDef name="untyped" columns="1"><BasicDbTableColumnDef name="u" type="strinh" count="4"/></BasicDbTableDef>
      <BasicDbTable name="noted" def="def" rows="2" comment="the season">1, "a", 2, "b",
      </BasicDbTable>
      <BasicDbTable name="renamed" def="def" rowt="2">1, "a", 2, "b",</BasicDbTable>
      <BasicDbTable name="broken" def="def" ro;s="2">1, "a", 2, "b",</BasicDbTable>
    </BasicDb>)");
    ASSERT_NE(db, nullptr);
    sBasicDbTable* noted = BasicDbTable_Find(db, "noted");
    ASSERT_EQ(noted->rows, 2);
    EXPECT_STREQ(BasicDbTable_GetStrElement(noted, 1, 1), "b");
    EXPECT_EQ(BasicDbTable_Find(db, "renamed")->rows, 0);
    EXPECT_EQ(HostErrorLog(),
              "database \"test.xml\": column \"u\" has no type the database knows\n"
              "database \"test.xml\": table \"renamed\" holds more cells than its 0 rows\n"
              "database \"test.xml\": table \"broken\" holds more cells than its 0 rows\n");
    BasicDb_Destroy(db);
}

// A column made narrower than the data it holds would drop the rest of a string or the numbers past
// its count without a word: each such cell is reported, and only those.
TEST_F(DbTest, CellsLongerThanTheirColumnAreReported)
{
    sBasicDb* db = LoadText(R"(<BasicDb name="d" tableDefs="1" tables="1">
      <BasicDbTableDef name="def" columns="2">
        <BasicDbTableColumnDef name="n" type="int" count="2"/>
        <BasicDbTableColumnDef name="s" type="string" count="4"/>
      </BasicDbTableDef>
      <BasicDbTable name="t" def="def" rows="2">1 2, "abc", 1 2 3, "abcd",</BasicDbTable>
    </BasicDb>)");
    ASSERT_NE(db, nullptr);
    const std::string log = HostErrorLog();
    size_t reports = 0;
    for (size_t at = log.find("more than its column"); at != std::string::npos; at = log.find("more than its column", at + 1))
        ++reports;
    EXPECT_EQ(reports, 2u) << log;
    EXPECT_NE(log.find("row 1 column 0: \" 1 2 3\" is more than its column of 2 holds"), std::string::npos) << log;
    EXPECT_NE(log.find("row 1 column 1: \"abcd\" is more than its column of 4 holds"), std::string::npos) << log;
    BasicDb_Destroy(db);
}
