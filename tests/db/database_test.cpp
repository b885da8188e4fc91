#include "db/database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "db/dbtest.h"

namespace {

// One table of every column type; the STR column "empty" has count 0 and sits before "after".
const char* kMixed = R"(<BasicDb name="m" tableDefs="1" tables="1">
<BasicDbTableDef name="mixed" columns="8">
  <BasicDbTableColumnDef name="flag" type="bool" count="1"/>
  <BasicDbTableColumnDef name="small" type="byte" count="2"/>
  <BasicDbTableColumnDef name="n" type="int" count="4"/>
  <BasicDbTableColumnDef name="f" type="float" count="2"/>
  <BasicDbTableColumnDef name="s" type="string" count="4"/>
  <BasicDbTableColumnDef name="empty" type="string" count="0"/>
  <BasicDbTableColumnDef name="none" type="int" count="0"/>
  <BasicDbTableColumnDef name="after" type="byte" count="1"/>
</BasicDbTableDef>
<BasicDbTable name="t" def="mixed" rows="2"/>
</BasicDb>)";
enum { kFlag, kSmall, kN, kF, kS, kEmpty, kNone, kAfter };

class DbAccessors : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        db = LoadText(kMixed);
        ASSERT_NE(db, nullptr);
        table = BasicDbTable_Find(db, "t");
        ASSERT_NE(table, nullptr);
        // Marks the byte after the empty columns in both rows, to see writes that go astray.
        BasicDbTable_SetElementI(table, kAfter, 0, 0x5A);
        BasicDbTable_SetElementI(table, kAfter, 1, 0x5A);
    }
    void TearDown() override
    {
        BasicDb_Destroy(db);
        DbTest::TearDown();
    }
    std::vector<uint8_t> Rows() const
    {
        const uint8_t* p = table->row;
        return std::vector<uint8_t>(p, p + 2 * table->def->stride);
    }
    sBasicDb* db = nullptr;
    sBasicDbTable* table = nullptr;
};

TEST_F(DbAccessors, NumericStoresFollowTheColumnType)
{
    EXPECT_EQ(table->def->stride, 4 + 2 + 16 + 8 + 4 + 1);
    BasicDbTable_SetElementIN(table, kSmall, 0, 0, 300);
    BasicDbTable_SetElementIN(table, kSmall, 0, 1, -5);
    EXPECT_EQ(BasicDbTable_GetElementIN(table, kSmall, 0, 0, -1), 255);
    EXPECT_EQ(BasicDbTable_GetElementIN(table, kSmall, 0, 1, -1), 0);

    BasicDbTable_SetElementI(table, kFlag, 1, 7);
    EXPECT_EQ(BasicDbTable_GetElementI(table, kFlag, 1), 1);

    BasicDbTable_SetElementIN(table, kN, 1, 3, -123456789);
    EXPECT_EQ(BasicDbTable_GetElementIN(table, kN, 1, 3, 0), -123456789);
    // An unaligned 32-bit element is a little-endian word in the row.
    const uint8_t* cell = table->row.get() + table->def->stride + table->def->column[kN].offset + 12;
    EXPECT_EQ(cell[0], 0xEB);
    EXPECT_EQ(cell[3], 0xF8);

    // Floats and strings have no numeric view.
    EXPECT_EQ(BasicDbTable_GetElementI(table, kF, 0), 0);
    EXPECT_EQ(BasicDbTable_GetElementI(table, kF, 0, 42), 42);
    EXPECT_EQ(BasicDbTable_GetElementI(table, kS, 0, 42), 42);
    BasicDbTable_SetElementI(table, kS, 0, 65);
    EXPECT_STREQ(BasicDbTable_GetStrElement(table, 0, kS), "");
}

TEST_F(DbAccessors, InvalidCellsGiveTheFailureValueAndDropWrites)
{
    std::vector<uint8_t> before = Rows();
    const int badCells[][3] = {{-1, 0, 0}, {8, 0, 0}, {kN, -1, 0}, {kN, 2, 0}, {kN, 0, -1}, {kN, 0, 4}};
    for (const auto& c : badCells) {
        SCOPED_TRACE(testing::Message() << "column " << c[0] << " row " << c[1] << " element " << c[2]);
        BasicDbTable_SetElementIN(table, c[0], c[1], c[2], 99);
        BasicDbTable_SetElementCN(table, c[0], c[1], c[2], 'x');
        EXPECT_EQ(BasicDbTable_GetElementIN(table, c[0], c[1], c[2], -7), -7);
        EXPECT_EQ(BasicDbTable_GetElementCN(table, c[0], c[1], c[2], '?'), '?');
        if (c[2] == 0) {
            EXPECT_EQ(BasicDbTable_GetElementFromStr(table, c[1], c[0], "5", 1), 0);
        }
    }
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(BasicDbTable_GetElementI(nullptr, 0, 0, 3), 3);
    EXPECT_EQ(BasicDbTable_GetElementCount(table, 8), 0);
    EXPECT_EQ(BasicDbTable_GetElementCount(table, kN), 4);
    char text[8] = "keep";
    EXPECT_EQ(BasicDbTable_PutElementOntoStr(table, 2, kN, text, 8), 0);
    EXPECT_EQ(BasicDbTable_PutElementOntoStr(table, 0, kN, nullptr, 8), 0);
    EXPECT_STREQ(text, "keep");
}

TEST_F(DbAccessors, ColumnsOfCountZeroHoldNothing)
{
    std::vector<uint8_t> before = Rows();
    // Their element 0 would be the next column's byte (or lie past the last row).
    BasicDbTable_SetElementI(table, kNone, 1, 7);
    EXPECT_EQ(BasicDbTable_GetElementI(table, kNone, 1, -1), -1);
    EXPECT_EQ(BasicDbTable_GetElementI(table, kNone, 1), 0);
    EXPECT_EQ(BasicDbTable_GetElementFromStr(table, 1, kEmpty, "spill", 5), 1);
    EXPECT_STREQ(BasicDbTable_GetStrElement(table, 1, kEmpty), "");
    EXPECT_EQ(BasicDbTable_GetSafeStringSize(table, kEmpty), 0);
    char text[16];
    EXPECT_EQ(BasicDbTable_PutElementOntoStr(table, 1, kEmpty, text, 16), 1);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(BasicDbTable_GetElementI(table, kAfter, 1), 0x5A);
}

TEST_F(DbAccessors, StringCellsStayTerminated)
{
    EXPECT_EQ(BasicDbTable_GetSafeStringSize(table, kS), 3);
    EXPECT_EQ(BasicDbTable_GetSafeStringSize(table, kN), 255);
    EXPECT_EQ(BasicDbTable_GetSafeStringSize(table, -1), 0);

    for (int e = 0; e < 4; ++e) BasicDbTable_SetElementCN(table, kS, 0, e, char('a' + e));
    // The last place keeps the NUL.
    EXPECT_STREQ(BasicDbTable_GetStrElement(table, 0, kS), "abc");
    EXPECT_EQ(BasicDbTable_GetElementCN(table, kS, 0, 1, '?'), 'b');
    EXPECT_EQ(BasicDbTable_GetElementCN(table, kN, 0, 1, '?'), '?');
    BasicDbTable_SetElementCN(table, kS, 0, 1, 0);
    EXPECT_STREQ(BasicDbTable_GetStrElement(table, 0, kS), "a");

    // The pointer edits the cell.
    std::strcpy(BasicDbTable_GetStrElement(table, 1, kS), "xyz");
    EXPECT_EQ(CellText(table, 1, kS), "xyz");

    // Other cells give an empty string that is never null and empty again on the next call.
    char* empty = BasicDbTable_GetStrElement(table, 0, kN);
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    std::memset(empty, 'x', size_t(BasicDbTable_GetSafeStringSize(table, kN)));
    EXPECT_STREQ(BasicDbTable_GetStrElement(nullptr, 0, 0), "");
}

TEST_F(DbAccessors, ParsesText)
{
    for (int e = 0; e < 4; ++e) BasicDbTable_SetElementIN(table, kN, 0, e, 50 + e);
    // A word that is not wholly a number the cell can hold is refused; it and the numbers after it
    // keep their values.
    const char* numbers = " 1 2 x 4";
    EXPECT_EQ(BasicDbTable_GetElementFromStr(table, 0, kN, numbers, int(std::strlen(numbers))), 0);
    EXPECT_EQ(CellText(table, 0, kN), "1 2 52 53 ");
    for (const char* bad : {"nan", "1e30", "99999999999999999999", "-0x80000001", "7up"})
        EXPECT_EQ(BasicDbTable_GetElementFromStr(table, 0, kN, bad, int(std::strlen(bad))), 0) << bad;
    for (const char* bad : {"nan", "-inf", "1e39", "1.5f"})
        EXPECT_EQ(BasicDbTable_GetElementFromStr(table, 0, kF, bad, int(std::strlen(bad))), 0) << bad;
    EXPECT_EQ(CellText(table, 0, kN), "1 2 52 53 ");

    // Hex and octal read as "%i" does; the text stops at its length.
    EXPECT_EQ(BasicDbTable_GetElementFromStr(table, 1, kN, "0x10 010 7 9", 8), 1);
    EXPECT_EQ(CellText(table, 1, kN), "16 8 0 0 ");

    BasicDbTable_GetElementFromStr(table, 0, kFlag, "7", 1);
    EXPECT_EQ(BasicDbTable_GetElementI(table, kFlag, 0), 7);
    BasicDbTable_GetElementFromStr(table, 0, kSmall, "300 -1", 6);
    EXPECT_EQ(CellText(table, 0, kSmall), "44 255 ");
    BasicDbTable_GetElementFromStr(table, 0, kF, "1.5\t-2.25", 9);
    EXPECT_EQ(CellText(table, 0, kF), "1.500000 -2.250000 ");

    BasicDbTable_GetElementFromStr(table, 0, kS, "abc  ", 5);
    EXPECT_EQ(CellText(table, 0, kS), "abc");
    BasicDbTable_GetElementFromStr(table, 0, kS, "abcdef", 6);
    EXPECT_EQ(CellText(table, 0, kS), "abc");
    BasicDbTable_GetElementFromStr(table, 0, kS, " a", 2);
    EXPECT_EQ(CellText(table, 0, kS), " a");
    EXPECT_EQ(BasicDbTable_GetElementI(table, kAfter, 0), 0x5A);
}

TEST_F(DbAccessors, FormatsWithinTheGivenLength)
{
    for (int e = 0; e < 4; ++e) BasicDbTable_SetElementIN(table, kN, 0, e, 100 * (e + 1));
    char text[16];
    std::memset(text, '#', sizeof text);
    EXPECT_EQ(BasicDbTable_PutElementOntoStr(table, 0, kN, text, 9), 1);
    EXPECT_STREQ(text, "100 200 ");
    EXPECT_EQ(text[9], '#');
    EXPECT_EQ(BasicDbTable_PutElementOntoStr(table, 0, kN, text, 6), 1);
    EXPECT_STREQ(text, "100 2");
    // Row -1 writes the column's name without testing the row.
    EXPECT_EQ(BasicDbTable_PutElementOntoStr(table, -1, kF, text, 16), 1);
    EXPECT_STREQ(text, "f");
    EXPECT_EQ(BasicDbTable_PutElementOntoStr(table, -1, 9, text, 16), 0);
}

// A table of one row whose INT column "order" holds the indices 0..n-1 sorted by the keys in
// the other columns.
std::string SortXml(int n)
{
    return "<BasicDb name=\"s\" tableDefs=\"1\" tables=\"1\"><BasicDbTableDef name=\"d\" columns=\"3\">"
           "<BasicDbTableColumnDef name=\"order\" type=\"int\" count=\"" + std::to_string(n) + "\"/>"
           "<BasicDbTableColumnDef name=\"points\" type=\"int\" count=\"" + std::to_string(n) + "\"/>"
           "<BasicDbTableColumnDef name=\"pins\" type=\"byte\" count=\"" + std::to_string(n) + "\"/>"
           "</BasicDbTableDef><BasicDbTable name=\"t\" def=\"d\" rows=\"1\"/></BasicDb>";
}

std::vector<int> Order(sBasicDbTable* table, int n)
{
    std::vector<int> order;
    for (int i = 0; i < n; ++i) order.push_back(BasicDbTable_GetElementIN(table, 0, 0, i, -1));
    return order;
}

TEST_F(DbTest, SortsIndicesByDescendingKeys)
{
    sBasicDb* db = LoadText(SortXml(3));
    sBasicDbTable* table = BasicDbTable_Find(db, "t");
    const int points[] = {3, 9, 5};
    for (int i = 0; i < 3; ++i) {
        BasicDbTable_SetElementIN(table, 0, 0, i, i);
        BasicDbTable_SetElementIN(table, 1, 0, i, points[i]);
    }
    const int byPoints[] = {1};
    BasicDbTable_QSortIN(table, 0, 0, byPoints, 1, 0, 2);
    EXPECT_EQ(Order(table, 3), (std::vector<int>{1, 2, 0}));

    // Equal first keys are decided by the second.
    BasicDbTable_SetElementIN(table, 1, 0, 0, 9);
    BasicDbTable_SetElementIN(table, 2, 0, 0, 200);
    BasicDbTable_SetElementIN(table, 2, 0, 1, 100);
    const int byPointsThenPins[] = {1, 2};
    BasicDbTable_QSortIN(table, 0, 0, byPointsThenPins, 2, 0, 2);
    EXPECT_EQ(Order(table, 3), (std::vector<int>{0, 1, 2}));

    // A range past the array sorts only what is there.
    BasicDbTable_QSortIN(table, 0, 0, byPoints, 1, -5, 1000000000);
    EXPECT_EQ(Order(table, 3).size(), 3u);
    BasicDb_Destroy(db);
}

TEST_F(DbTest, SortMatchesAReferenceOrderOnManyKeys)
{
    const int n = 2000;
    sBasicDb* db = LoadText(SortXml(n));
    sBasicDbTable* table = BasicDbTable_Find(db, "t");
    std::mt19937 random(7);
    std::vector<std::pair<int, int>> keys(n);
    for (int i = 0; i < n; ++i) {
        keys[i] = {int(random() % 20), int(random() % 256)};
        BasicDbTable_SetElementIN(table, 0, 0, i, i);
        BasicDbTable_SetElementIN(table, 1, 0, i, keys[i].first);
        BasicDbTable_SetElementIN(table, 2, 0, i, keys[i].second);
    }
    const int columns[] = {1, 2};
    auto expectSorted = [&](int keyCount) {
        std::vector<int> order = Order(table, n);
        std::vector<int> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < n; ++i) ASSERT_EQ(sorted[i], i) << "the order is not a permutation";
        for (int i = 1; i < n && keyCount == 2; ++i) ASSERT_GE(keys[order[i - 1]], keys[order[i]]) << "at " << i;
    };
    BasicDbTable_QSortIN(table, 0, 0, columns, 2, 0, n - 1);
    expectSorted(2);
    // Already sorted and all-equal inputs finish too.
    BasicDbTable_QSortIN(table, 0, 0, columns, 2, 0, n - 1);
    expectSorted(2);
    BasicDbTable_QSortIN(table, 0, 0, columns, 0, 0, n - 1);
    expectSorted(0);
    BasicDb_Destroy(db);
}

TEST_F(DbTest, RegistryHoldsSixteen)
{
    sBasicDb dbs[17] = {};
    BasicDb_DbRegister(nullptr);
    for (sBasicDb& db : dbs) BasicDb_DbRegister(&db);
    EXPECT_EQ(BasicDb_DbCount(), 16);
    EXPECT_EQ(BasicDb_DbGet(15), &dbs[15]);
    EXPECT_EQ(BasicDb_DbGet(16), nullptr);
    EXPECT_EQ(BasicDb_DbGet(-1), nullptr);
    BasicDb_Init();
    EXPECT_EQ(BasicDb_DbCount(), 0);
    EXPECT_EQ(BasicDb_DbGet(0), nullptr);
}

TEST_F(DbTest, FindsTheFirstTableOfAName)
{
    sBasicDb* db = LoadText(R"(<BasicDb name="f" tableDefs="1" tables="3">
      <BasicDbTableDef name="d" columns="1"><BasicDbTableColumnDef name="c" type="int" count="1"/></BasicDbTableDef>
      <BasicDbTable name="a" def="d" rows="1"/><BasicDbTable name="b" def="d" rows="2"/>
      <BasicDbTable name="b" def="d" rows="3"/></BasicDb>)");
    ASSERT_NE(db, nullptr);
    ASSERT_NE(BasicDbTable_Find(db, "b"), nullptr);
    EXPECT_EQ(BasicDbTable_Find(db, "b")->rows, 2);
    EXPECT_EQ(BasicDbTable_Find(db, "B"), nullptr);
    EXPECT_EQ(BasicDbTable_Find(db, nullptr), nullptr);
    EXPECT_EQ(BasicDbTable_Find(nullptr, "a"), nullptr);
    BasicDb_Destroy(db);
}

}  // namespace
