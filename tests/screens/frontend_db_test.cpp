// The game data's "save" and "game" databases: the invariants the front end's code relies on, and
// each one packed into its contiguous image, moved to another address and read back cell by cell.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "db/dbimage.h"
#include "game/animation.h"
#include "content.h"
#include "host/errorlog.h"
#include "lib/memory.h"
#include "screens/credits.h"
#include "screens/frontend_fixture.h"

namespace {

int Rows(sBasicDbTable* t) { return t ? t->rows : -1; }
int I(sBasicDbTable* t, int column, int row) { return BasicDbTable_GetElementI(t, column, row, -999); }
std::string Text(sBasicDbTable* t, int row, int column) { return BasicDbTable_GetStrElement(t, row, column); }

std::string Cells(sBasicDb* db)
{
    std::string out;
    for (int t = 0; t < db->tables; ++t) {
        sBasicDbTable* table = &db->table.get()[t];
        out += std::string(table->name.get()) + ":" + std::to_string(table->rows) + "\n";
        for (int r = -1; r < table->rows; ++r) {
            for (int c = 0; c < table->def.get()->columns; ++c) out += FrontEndCell(table, r, c) + "|";
            out += "\n";
        }
    }
    return out;
}

// Packs db, copies the image to a fresh block elsewhere in the heap, re-bases it there and
// compares every cell with the loaded database.
void ExpectImageMovesWhole(sBasicDb* db)
{
    sBasicDb* image = nullptr;
    ASSERT_EQ(BasicDb_CreateContiguousCopy(&db, &image), 1);
    const int size = BasicDb_Size(&image);
    ASSERT_GT(size, 0);
    EXPECT_LE(size, 0x67000) << "the save file's limit";
    void* spacer = nullptr;
    ASSERT_EQ(AllocateMemory(&spacer, 4096), 1);
    void* block = nullptr;
    ASSERT_EQ(AllocateMemory(&block, size), 1);
    std::memcpy(block, image, size_t(size));
    sBasicDb* moved = static_cast<sBasicDb*>(block);
    ASSERT_EQ(BasicDb_PatchPointers(&moved, size), 1);
    EXPECT_EQ(Cells(moved), Cells(db));
}

}  // namespace

TEST_F(FrontEndTest, SaveDatabaseHoldsWhatTheMenusIndex)
{
    EXPECT_EQ(HostErrorLog(), "") << "the content loads without a complaint";
    EXPECT_EQ(BasicUi_FindDb(env, "save"), save) << "the menus' widgets find the registered database";
    sBasicDbTable* players = Save("players");
    EXPECT_EQ(Rows(players), 25) << "the quick bowler, ten custom slots and built-in bowlers up to row 24";
    EXPECT_EQ(BasicDbTable_GetElementCount(players, 6), 5) << "hand flags: four quick-play slots and the career";
    EXPECT_EQ(BasicDbTable_GetElementCount(players, 17), 3);
    const int slot = I(Save("career setup"), 1, 0);
    EXPECT_TRUE(slot >= 1 && slot <= 10);
    for (const char* table : {"league", "tournament", "rival"}) EXPECT_GE(Rows(Save(table)), 11) << table;
    EXPECT_EQ(I(Save("player view"), 1, 1), -1) << "nothing shown yet";
    EXPECT_EQ(Rows(Save("options")), 1);

    // One state character for each item of its tables, and one to spare.
    const struct { int column; const char* tables[2]; } states[] = {
        {19, {"Pants", "Skirts"}}, {20, {"Shirts", "Shirts"}}, {21, {"Shoes", "Shoes"}}, {22, {"HatsM", "HatsF"}},
        {23, {"GlassesM", "GlassesF"}}, {24, {"GlovesL", "GlovesR"}}, {25, {"BallsL", "BallsR"}},
    };
    for (const auto& s : states)
        for (const char* t : s.tables) EXPECT_EQ(BasicDbTable_GetElementCount(players, s.column), Rows(Game(t)) + 1) << t;
    for (int column : {27, 28, 29}) EXPECT_GE(BasicDbTable_GetElementCount(players, column), 21);

    // Every bowler wears what the tables hold.
    for (int r = 0; r < Rows(players); ++r) {
        const int body = I(players, 10, r);
        ASSERT_TRUE(body >= 0 && body < Rows(Game("Bodys"))) << r;
        const int isFemale = I(Game("Bodys"), 2, body);
        EXPECT_EQ(I(players, 7, r), isFemale) << "the female flag follows the body, row " << r;
        const char* tables[6] = {isFemale ? "Skirts" : "Pants", "Shirts", "Shoes", isFemale ? "HatsF" : "HatsM",
                                 isFemale ? "GlassesF" : "GlassesM", "GlovesR"};
        for (int k = 0; k < 6; ++k) {
            const int item = I(players, 11 + k, r);
            EXPECT_TRUE(item < Rows(Game(tables[k])) && (item >= 0 || k >= 3)) << "row " << r << " column " << 11 + k;
        }
        for (int b = 0; b < 3; ++b) EXPECT_LT(BasicDbTable_GetElementIN(players, 17, r, b, 99), Rows(Game("BallsR")));
    }
    sBasicDbTable* quick = Save("quick play setup");
    const int n = I(quick, 2, 0);
    EXPECT_TRUE(n >= 1 && n <= 4);
    for (int k = 0; k < 4; ++k) EXPECT_TRUE(I(quick, 3 + k, 0) >= 1 && I(quick, 3 + k, 0) < Rows(players));
    ExpectImageMovesWhole(save);
}

TEST_F(FrontEndTest, GameDatabaseHoldsWhatTheLaunchersRead)
{
    sBasicDbTable* abilities = Game("NPCAbilities");
    ASSERT_GT(Rows(abilities), 1);
    for (int r = 1; r < Rows(abilities); ++r) EXPECT_LT(I(abilities, 0, r - 1), I(abilities, 0, r)) << "sorted by average";

    sBasicDbTable* bodies = Game("Bodys");
    EXPECT_LE(Rows(bodies), 14) << "the preview's rig index has 14 entries";
    for (int b = 0; b < Rows(bodies); ++b) EXPECT_GE(AnimationBodyIndex(I(bodies, 4, b)), 0) << "a body mesh of the game data";

    sBasicDbTable* balls = Game("BallsR");
    EXPECT_GE(Rows(balls), 25);
    EXPECT_EQ(Rows(Game("BallsL")), Rows(balls));
    std::set<int> indices;
    for (int r = 0; r < Rows(balls); ++r) {
        const int index = I(balls, 13, r) - 2;
        EXPECT_TRUE(index >= 0 && index < int(mkrom::BallTable().size())) << r;
        indices.insert(index);
    }
    EXPECT_EQ(int(indices.size()), Rows(balls)) << "each row a ball of its own";
    for (int row : {23, 11, 7, 24, 4, 9}) EXPECT_LT(row, Rows(balls)) << "the launchers' default balls";
    EXPECT_GE(Rows(Game("locations")), 7) << "a heading and the six alleys";

    // Events: their teams' bowlers exist and the unlock groups name columns of "players".
    sBasicDbTable* players = Save("players");
    std::set<std::string> columns;
    for (int c = 0; c < players->def.get()->columns; ++c) columns.insert(FrontEndCell(players, -1, c));
    struct { const char* table; int npcs; int firstUnlock, lastUnlock, stride; } events[] = {
        {"Leagues", 6, 19, 43, 3}, {"Tournaments", 6, 19, 43, 3}};
    for (const auto& e : events) {
        sBasicDbTable* t = Game(e.table);
        ASSERT_GE(Rows(t), 1) << e.table;
        for (int r = 0; r < Rows(t); ++r) {
            const int size = I(t, 4, r), teams = I(t, 5, r);
            EXPECT_TRUE(size == 1 || size == 2 || size == 4) << e.table << r;
            for (int k = 0; k < size * (teams - 1); ++k) {
                const int npc = BasicDbTable_GetElementIN(t, e.npcs, r, k, -1);
                EXPECT_TRUE(npc >= 0 && npc < Rows(Game("NPCs"))) << e.table << r << " entry " << k;
            }
            for (int c = e.firstUnlock; c <= e.lastUnlock; c += e.stride) {
                const std::string name = Text(t, r, c);
                EXPECT_TRUE(name.empty() || columns.count(name)) << e.table << r << " names " << name;
            }
        }
    }
    sBasicDbTable* tournaments = Game("Tournaments");
    for (int r = 0; r < Rows(tournaments); ++r) {
        const std::string kind = Text(tournaments, r, 7);
        EXPECT_TRUE(kind == "tree" || kind == "ladder" || kind == "high score") << kind;
    }
    sBasicDbTable* rivals = Game("Rivals");
    for (int r = 0; r < Rows(rivals); ++r)
        for (int c = 16; c <= 30; c += 2) EXPECT_TRUE(Text(rivals, r, c).empty() || columns.count(Text(rivals, r, c)));
    ExpectImageMovesWhole(game);
}

TEST_F(FrontEndTest, CreditsAreATableOfTheirOwn)
{
    sBasicDb* credits = CreditsDatabase();
    ASSERT_NE(credits, nullptr);
    EXPECT_EQ(CreditsDatabase(), credits) << "made once";
    sBasicDbTable* table = BasicDbTable_Find(credits, "creditsTable");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows, kCreditsRows);
    EXPECT_EQ(table->def.get()->stride, kCreditsRowStride);
    const char* names[4] = {"index", "title", "name", "icon"};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(FrontEndCell(table, -1, c), names[c]);
    for (int r = 0; r < table->rows; ++r) {
        EXPECT_EQ(BasicDbTable_GetElementI(table, 0, r), r);
        EXPECT_FALSE(Text(table, r, 1).empty() && Text(table, r, 2).empty()) << "row " << r << " says something";
    }
    ExpectImageMovesWhole(credits);
}
