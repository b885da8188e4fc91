#include "db/dbimage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "db/dbtest.h"
#include "db/dbxml.h"
#include "host/arena.h"
#include "host/errorlog.h"
#include "lib/memory.h"

namespace {

typedef std::vector<uint8_t> Bytes;

Bytes BytesOf(const void* p, int size)
{
    const uint8_t* b = static_cast<const uint8_t*>(p);
    return Bytes(b, b + size);
}

uint32_t Word(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24; }

void PutWord(Bytes* b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) (*b)[at + i] = uint8_t(v >> (8 * i));
}

// A new block of game memory holding bytes.
sBasicDb* InArena(const Bytes& bytes)
{
    void* p = nullptr;
    if (!AllocateMemory(&p, int(bytes.size())) || !p) return nullptr;
    std::memcpy(p, bytes.data(), bytes.size());
    return static_cast<sBasicDb*>(p);
}

// Every name, count and cell of two databases, as text, for comparing them.
std::string Describe(sBasicDb* db)
{
    std::string out = std::string(db->name ? db->name.get() : "(null)") + "\n";
    for (int t = 0; t < db->tables; ++t) {
        sBasicDbTable* table = &db->table.get()[t];
        sBasicDbTableDefinition* def = table->def;
        out += std::string("table ") + (table->name ? table->name.get() : "(null)") + " rows " +
               std::to_string(table->rows) + "\n";
        if (!def) continue;
        out += std::string("def ") + def->name.get() + " stride " + std::to_string(def->stride) + "\n";
        for (int c = 0; c < def->columns; ++c) out += CellText(table, -1, c) + "|";
        out += "\n";
        for (int r = 0; r < table->rows; ++r) {
            for (int c = 0; c < def->columns; ++c) out += CellText(table, r, c) + "|";
            out += "\n";
        }
    }
    return out;
}

class DbImage : public DbTest {
protected:
    sBasicDb* Pack(sBasicDb* source)
    {
        sBasicDb* copy = nullptr;
        EXPECT_EQ(BasicDb_CreateContiguousCopy(&source, &copy), 1);
        return copy;
    }
};

const char* kSmall = R"(<BasicDb name="s" tableDefs="1" tables="1">
  <BasicDbTableDef name="d" columns="2">
    <BasicDbTableColumnDef name="n" type="string" count="3"/><BasicDbTableColumnDef name="v" type="int" count="1"/>
  </BasicDbTableDef>
  <BasicDbTable name="t" def="d" rows="2">"ab", 258, "x", -1,</BasicDbTable>
</BasicDb>)";

TEST_F(DbImage, SmallDatabaseHasTheExactLayout)
{
    sBasicDb* source = LoadText(kSmall);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->tableDef->stride, 7);
    EXPECT_EQ(source->tableDef->column[1].offset, 3);
    ASSERT_EQ(BasicDb_Size(&source), 158);
    sBasicDb* copy = Pack(source);
    ASSERT_NE(copy, nullptr);
    Bytes image = BytesOf(copy, 158);
    uint32_t base = ArenaOffset(copy);

    // Pointer fields are arena offsets: compare them as positions inside the image.
    const size_t pointers[] = {12, 20, 28, 36, 48, 52, 60, 68, 72, 88};
    Bytes relative = image;
    for (size_t at : pointers) PutWord(&relative, at, Word(image, at) - base);
    const Bytes expected = {
        0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 122, 0, 0, 0,  // size, version, isContiguous, name
        1, 0, 0, 0, 36, 0, 0, 0, 1, 0, 0, 0, 52, 0, 0, 0,  // tableDefs, tableDef, tables, table
        0, 0, 0, 0,                                        // next
        130, 0, 0, 0, 2, 0, 0, 0, 7, 0, 0, 0, 72, 0, 0, 0,               // definition "d"
        154, 0, 0, 0, 0, 0, 0, 0, 36, 0, 0, 0, 2, 0, 0, 0, 104, 0, 0, 0,  // table "t"
        138, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0,                 // column "n"
        146, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0,                 // column "v"
        'a', 'b', 0, 2, 1, 0, 0, 'x', 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,       // the two rows
        4, 0, 0, 0, 's', 0, 0, 0, 4, 0, 0, 0, 'd', 0, 0, 0,               // the names
        4, 0, 0, 0, 'n', 0, 0, 0, 4, 0, 0, 0, 'v', 0, 0, 0, 4, 0, 0, 0, 't', 0, 0, 0,
    };
    EXPECT_EQ(relative, expected);
    BasicDb_Destroy(copy);
    BasicDb_Destroy(source);
}

TEST_F(DbImage, NamesTakeTheirLengthRoundedToWords)
{
    sBasicDb* abc = LoadText(R"(<BasicDb name="abc"/>)");
    sBasicDb* abcd = LoadText(R"(<BasicDb name="abcd"/>)");
    EXPECT_EQ(BasicDb_Size(&abc), 36 + 8);
    EXPECT_EQ(BasicDb_Size(&abcd), 36 + 12);
    sBasicDb* none = nullptr;
    EXPECT_EQ(BasicDb_Size(&none), 0);
    BasicDb_Destroy(abc);
    BasicDb_Destroy(abcd);
}

// The save file's path: pack, write to a file, read back into a block at another address,
// patch, and every cell is as it was.
TEST_F(DbImage, RoundTripThroughAFileAtAnotherAddress)
{
    unsigned usedBefore = deviceHeap.memoryUsed;
    sBasicDb* source = LoadContent();
    ASSERT_NE(source, nullptr);
    sBasicDb* copy = Pack(source);
    ASSERT_NE(copy, nullptr);
    int size = BasicDb_Size(&source);
    EXPECT_EQ(BasicDb_Size(&copy), size);
    EXPECT_EQ(copy->isContiguous, 1);
    EXPECT_EQ(copy->next.get(), nullptr);
    EXPECT_EQ(Describe(copy), Describe(source));

    std::string path = scratch + "/savegame.bin";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(copy, 1, size_t(size), f), size_t(size));
    std::fclose(f);

    void* spacer = nullptr;
    ASSERT_TRUE(AllocateMemory(&spacer, 1000));
    void* memory = nullptr;
    ASSERT_TRUE(AllocateMemory(&memory, size));
    f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fread(memory, 1, size_t(size), f), size_t(size));
    std::fclose(f);
    sBasicDb* moved = static_cast<sBasicDb*>(memory);
    ASSERT_NE(moved, copy);

    EXPECT_EQ(BasicDb_PatchPointers(&moved, size + 1), 0);
    EXPECT_EQ(BasicDb_PatchPointers(&moved, size - 1), 0);
    EXPECT_EQ(BasicDb_PatchPointers(&moved, size), 1);
    EXPECT_EQ(Describe(moved), Describe(source));
    EXPECT_EQ(BasicDb_Size(&moved), size);

    // The moved database is its own: editing it leaves the copy as it was.
    sBasicDbTable* bowlers = BasicDbTable_Find(moved, "bowlers");
    ASSERT_TRUE(ArenaContains(bowlers, sizeof *bowlers));
    EXPECT_GE(reinterpret_cast<uint8_t*>(bowlers->row.get()), reinterpret_cast<uint8_t*>(moved));
    EXPECT_LT(reinterpret_cast<uint8_t*>(bowlers->row.get()), reinterpret_cast<uint8_t*>(moved) + size);
    BasicDbTable_SetElementIN(bowlers, 3, 1, 2, 299);
    EXPECT_EQ(BasicDbTable_GetElementIN(BasicDbTable_Find(copy, "bowlers"), 3, 1, 2, 0), 161);

    // Loading the file's bytes from outside game memory restores the copy's contents in place.
    f = std::fopen(path.c_str(), "rb");
    Bytes file(size_t(size) + 16);
    ASSERT_EQ(std::fread(file.data(), 1, file.size(), f), size_t(size));
    std::fclose(f);
    EXPECT_EQ(BasicDb_LoadImage(&moved, file.data(), size), 1);
    EXPECT_EQ(BasicDbTable_GetElementIN(bowlers, 3, 1, 2, 0), 161);
    EXPECT_EQ(Describe(moved), Describe(source));
    EXPECT_EQ(BasicDb_PatchPointers(reinterpret_cast<sBasicDb**>(&spacer), 0), 0);

    BasicDb_Destroy(moved);
    BasicDb_Destroy(copy);
    BasicDb_Destroy(source);
    FreeManagedMemory(spacer, 0);
    EXPECT_EQ(deviceHeap.memoryUsed, usedBefore);
}

// Names that are missing, a table without a definition and a column never given are packed as a
// null name, a table of no rows and a column without bytes; the image still checks and patches.
TEST_F(DbImage, MissingNamesAndDefinitionsPack)
{
    sBasicDb* source = LoadText(R"(<BasicDb tableDefs="1" tables="2">
      <BasicDbTableDef columns="2"><BasicDbTableColumnDef type="int" count="1"/></BasicDbTableDef>
      <BasicDbTable name="lost" def="nothing" rows="3"/>
      <BasicDbTable rows="1">1,</BasicDbTable>
    </BasicDb>)");
    ASSERT_NE(source, nullptr);
    int size = BasicDb_Size(&source);
    EXPECT_EQ(size, 36 + 16 + 40 + 32 + 5 * 4 + 12);
    sBasicDb* copy = Pack(source);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->name.get(), nullptr);
    sBasicDbTable* lost = BasicDbTable_Find(copy, "lost");
    ASSERT_NE(lost, nullptr);
    EXPECT_EQ(lost->defIndex, -1);
    EXPECT_EQ(lost->def.get(), nullptr);
    EXPECT_EQ(lost->rows, 0);
    EXPECT_EQ(BasicDbTable_GetElementI(lost, 0, 0, -9), -9);
    sBasicDb* moved = InArena(BytesOf(copy, size));
    EXPECT_EQ(BasicDb_PatchPointers(&moved, size), 1);
    EXPECT_EQ(BasicDbTable_Find(moved, "lost")->def.get(), nullptr);
    BasicDb_Destroy(moved);
    BasicDb_Destroy(copy);
    BasicDb_Destroy(source);
}

// A damaged image is refused with a message, whether checked, patched in place or loaded over a
// live database, and nothing is written.
class DamagedImages : public DbImage {
protected:
    void SetUp() override
    {
        DbImage::SetUp();
        source = LoadContent();
        ASSERT_NE(source, nullptr);
        live = Pack(source);
        ASSERT_NE(live, nullptr);
        size = BasicDb_Size(&live);
        good = BytesOf(live, size);
        HostClearErrorLog();
    }
    void TearDown() override
    {
        BasicDb_Destroy(live);
        BasicDb_Destroy(source);
        DbImage::TearDown();
    }

    void ExpectRefused(const Bytes& damaged, const std::string& what)
    {
        SCOPED_TRACE(what);
        HostClearErrorLog();
        EXPECT_EQ(BasicDb_CheckImage(damaged.data(), int(damaged.size())), 0);
        EXPECT_NE(HostErrorLog().find("damaged database image"), std::string::npos);

        HostClearErrorLog();
        EXPECT_EQ(BasicDb_LoadImage(&live, damaged.data(), int(damaged.size())), 0);
        EXPECT_NE(HostErrorLog(), "");
        ASSERT_EQ(BytesOf(live, size), good) << "the live database changed";

        if (damaged.empty()) return;
        sBasicDb* block = InArena(damaged);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(BasicDb_PatchPointers(&block, int(damaged.size())), 0);
        EXPECT_EQ(BytesOf(block, int(damaged.size())), damaged) << "a refused patch wrote";
        FreeManagedMemory(block, 0);
    }

    // Positions inside the image of the content database.
    size_t Def(int d) const { return 36 + 16 * size_t(d); }
    size_t Table(int t) const { return 36 + 16 * 2 + 20 * size_t(t); }
    size_t Column(int c) const { return 36 + 16 * 2 + 20 * 3 + 16 * size_t(c); }
    size_t Rows() const { return Column(9); }
    size_t Strings() const { return Rows() + 3 * 45 + 1 * 48 + 2 * 48; }

    Bytes With(size_t at, uint32_t value) const
    {
        Bytes b = good;
        PutWord(&b, at, value);
        return b;
    }

    sBasicDb* source = nullptr;
    sBasicDb* live = nullptr;
    int size = 0;
    Bytes good;
};

TEST_F(DamagedImages, TheGoodImagePassesAndItsLayoutIsTheOneDamagedHere)
{
    EXPECT_EQ(BasicDb_CheckImage(good.data(), size), 1);
    EXPECT_EQ(Word(good, Strings()), 8u);  // "save"
    EXPECT_EQ(std::memcmp(&good[Strings() + 4], "save", 5), 0);
    EXPECT_EQ(Word(good, Table(2) + 12), 2u);  // "spare" has two rows
    EXPECT_EQ(good[Column(0) + 4], EBasicDbTableColumnTypeSTR);
    EXPECT_EQ(Word(good, Column(3) + 12), 21u);
    EXPECT_EQ(BasicDb_LoadImage(&live, good.data(), size), 1);
    EXPECT_EQ(BytesOf(live, size), good);
}

TEST_F(DamagedImages, WrongLengthsAreRefused)
{
    for (int n : {0, 1, 35, 36, 100, size - 4, size - 1})
        ExpectRefused(Bytes(good.begin(), good.begin() + n), "cut to " + std::to_string(n));
    for (int extra : {1, 4, 64}) {
        Bytes longer = good;
        longer.resize(good.size() + size_t(extra));
        ExpectRefused(longer, "longer by " + std::to_string(extra));
    }
}

TEST_F(DamagedImages, BadCountsIndicesStridesAndTypesAreRefused)
{
    ExpectRefused(With(8, 0), "not contiguous");
    ExpectRefused(With(16, 0xFFFFFFFF), "negative definition count");
    ExpectRefused(With(16, 0x7FFFFFFF), "huge definition count");
    ExpectRefused(With(24, 0x80000000), "negative table count");
    ExpectRefused(With(24, 4), "one table more");
    ExpectRefused(With(Def(0) + 4, 0xFFFFFFFF), "negative column count");
    ExpectRefused(With(Def(0) + 4, 0x10000000), "huge column count");
    ExpectRefused(With(Def(1) + 8, 47), "stride not the sum of the columns");
    ExpectRefused(With(Table(0) + 4, 2), "definition index past the end");
    ExpectRefused(With(Table(0) + 4, 0xFFFFFFFF), "table without a definition but with rows");
    ExpectRefused(With(Table(1) + 4, 0x80000000), "negative definition index");
    ExpectRefused(With(Table(1) + 12, 0xFFFFFFFF), "negative rows");
    ExpectRefused(With(Table(1) + 12, 0x7FFFFFFF), "rows x stride past the block");
    ExpectRefused(With(Table(1) + 12, 0x10000000), "rows x stride over 32 bits");
    ExpectRefused(With(Column(0) + 8, 0xFFFFFFFF), "negative element count");
    ExpectRefused(With(Column(2) + 8, 0x40000001), "element count x size over 32 bits");
    ExpectRefused(With(Column(1) + 12, 17), "column offset out of order");
    Bytes badType = good;
    badType[Column(4) + 4] = EBasicDbTableColumnTypeCount;
    ExpectRefused(badType, "unknown type");
}

TEST_F(DamagedImages, BadStringsAreRefused)
{
    ExpectRefused(With(Strings(), 0xFFFFFFF0), "negative name length");
    ExpectRefused(With(Strings(), 6), "name length not a multiple of 4");
    ExpectRefused(With(Strings(), 0x7FFFFFFC), "name length past the block");
    ExpectRefused(With(Strings(), 12), "name length that swallows the next one");
    Bytes unterminated = good;
    std::memcpy(&unterminated[Strings() + 4], "savesave", 8);
    ExpectRefused(unterminated, "name without its NUL");
    Bytes longName = With(Strings(), 16);
    longName.insert(longName.begin() + long(Strings() + 12), 8, 0);
    ExpectRefused(longName, "name padded by more than 3 bytes");
    Bytes cell = good;
    std::memset(&cell[Rows()], 'A', 16);  // the first bowler's name fills all 16 places
    ExpectRefused(cell, "string cell without its NUL");
}

// Every single byte changed in every way: either the image is still sound and usable after
// patching, or it is refused and nothing is written.
TEST_F(DamagedImages, EveryByteFlipIsRefusedOrHarmless)
{
    int accepted = 0;
    for (size_t at = 0; at < good.size(); ++at) {
        for (uint8_t x : {uint8_t(0x01), uint8_t(0x80), uint8_t(0xFF)}) {
            Bytes damaged = good;
            damaged[at] ^= x;
            if (!BasicDb_CheckImage(damaged.data(), size)) {
                ASSERT_EQ(BasicDb_LoadImage(&live, damaged.data(), size), 0);
                ASSERT_EQ(BytesOf(live, size), good) << "byte " << at;
                continue;
            }
            ++accepted;
            sBasicDb* block = InArena(damaged);
            ASSERT_EQ(BasicDb_PatchPointers(&block, size), 1) << "byte " << at;
            ASSERT_FALSE(Describe(block).empty());
            FreeManagedMemory(block, 0);
        }
    }
    // Cells, pads and name characters may change; counts and lengths may not.
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, int(good.size()) * 3);
}

TEST_F(DamagedImages, OnlyContiguousDatabasesOfTheSameSizeAreLoadedInto)
{
    EXPECT_EQ(BasicDb_LoadImage(&source, good.data(), size), 0);
    EXPECT_NE(HostErrorLog().find("not contiguous"), std::string::npos);
    sBasicDb* none = nullptr;
    EXPECT_EQ(BasicDb_LoadImage(&none, good.data(), size), 0);
    EXPECT_EQ(BasicDb_LoadImage(nullptr, good.data(), size), 0);
    EXPECT_EQ(BasicDb_PatchPointers(&none, size), 0);
    Bytes outside = good;
    sBasicDb* notInArena = reinterpret_cast<sBasicDb*>(outside.data());
    EXPECT_EQ(BasicDb_PatchPointers(&notInArena, size), 0);
    EXPECT_EQ(outside, good);
}

}  // namespace
