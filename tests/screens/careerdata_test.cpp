// The career content of the game data checked on the databases themselves: every league,
// tournament and rival holds counts the standings code can run (an even number of teams that
// the saved event record has room for, weeks the week columns hold, trees whose teams fill the
// bracket, ladders no longer than their teams), every computer entrant has a name of its own, and
// the events lead from one to the next.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "screens/frontend_fixture.h"
#include "screens/unlocks.h"

namespace {

int I(sBasicDbTable* t, int column, int row) { return BasicDbTable_GetElementI(t, column, row, -999); }
std::string Text(sBasicDbTable* t, int row, int column) { return BasicDbTable_GetStrElement(t, row, column); }

// Room in the saved records: team arrays ("order", wins, pins), week columns and round columns.
int Room(sBasicDbTable* t, int column) { return BasicDbTable_GetElementCount(t, column); }

}  // namespace

TEST_F(FrontEndTest, CareerEventsHoldCountsTheStandingsCanRun)
{
    sBasicDbTable* leagues = Game("Leagues");
    sBasicDbTable* tournaments = Game("Tournaments");
    sBasicDbTable* rivals = Game("Rivals");
    sBasicDbTable* league = Save("league");
    sBasicDbTable* tournament = Save("tournament");
    ASSERT_TRUE(leagues && tournaments && rivals && league && tournament);
    EXPECT_EQ(leagues->rows, 20);
    EXPECT_EQ(tournaments->rows, 20);
    EXPECT_EQ(rivals->rows, 20);

    for (int e = 0; e < 20; ++e) {
        const int t = I(leagues, 4, e), m = I(leagues, 5, e), weeks = I(leagues, 7, e);
        EXPECT_TRUE(m >= 4 && m % 2 == 0 && m <= 256) << "league " << e << " teams " << m;
        EXPECT_LE(m, Room(league, 13)) << "league " << e;
        EXPECT_LE(3 * m, Room(league, 16)) << "pairs and scores of a week, league " << e;
        EXPECT_LE(t * m, Room(league, 12)) << "league " << e;
        EXPECT_TRUE(weeks >= 1 && weeks <= 15 && weeks <= 2 * (m - 1)) << "league " << e << " weeks " << weeks;
        EXPECT_TRUE(I(leagues, 17, e) >= 1 && I(leagues, 17, e) <= weeks) << "target wins, league " << e;
        EXPECT_LT(I(leagues, 16, e), I(leagues, 15, e)) << "spread below the average, league " << e;
    }
    for (int e = 0; e < 20; ++e) {
        const int t = I(tournaments, 4, e), m = I(tournaments, 5, e), g = I(tournaments, 8, e), b = I(tournaments, 9, e);
        const std::string kind = Text(tournaments, e, 7);
        EXPECT_TRUE(m >= 4 && m % 2 == 0 && m <= Room(tournament, 13)) << "tournament " << e << " teams " << m;
        EXPECT_LE(t * m, Room(tournament, 12));
        if (kind == "tree") {
            EXPECT_EQ(b, m) << "a tree's teams fill its bracket, tournament " << e;
            EXPECT_EQ(b & (b - 1), 0) << "a bracket halves to a final, tournament " << e;
            EXPECT_LE(2 * b, Room(tournament, 17));
        } else if (kind == "ladder") {
            EXPECT_TRUE(b >= 2 && b <= m) << "ladder places come from the teams, tournament " << e;
            EXPECT_LT(2 * (2 * b - 2) + 1, Room(tournament, 17)) << "rung scores, tournament " << e;
            EXPECT_TRUE(g >= 0 && g <= 5);
        } else {
            EXPECT_EQ(kind, "high score") << "tournament " << e;
            EXPECT_TRUE(g >= 1 && g <= 5) << "tournament " << e;
        }
    }
    for (int v = 0; v < 20; ++v) {
        const int t = I(rivals, 1, v);
        EXPECT_TRUE(t == 1 || t == 2 || t == 4) << "rival " << v;
        for (int i = 0; i < t; ++i) EXPECT_TRUE(I(rivals, 2 + i, v) >= 0 && I(rivals, 2 + i, v) < Game("NPCs")->rows);
        EXPECT_TRUE(I(rivals, 8, v) >= 0 && I(rivals, 8, v) <= 3) << "rival " << v;
    }
}

// The standings name a computer team by its first member's team name (a bowler's own name in
// singles): every entrant of a league or tournament is named once, and a team's members all
// carry its name, so no team shows up twice under one name and pairings set teams apart.
TEST_F(FrontEndTest, EveryComputerEntrantOfAnEventHasItsOwnName)
{
    sBasicDbTable* npcs = Game("NPCs");
    ASSERT_TRUE(npcs);
    for (const char* kind : {"Leagues", "Tournaments"}) {
        sBasicDbTable* def = Game(kind);
        ASSERT_TRUE(def);
        for (int e = 0; e < def->rows; ++e) {
            const int t = I(def, 4, e), m = I(def, 5, e), nameColumn = t == 1 ? 1 : 2;
            std::set<std::string> names;
            for (int o = 0; o < m - 1; ++o) {
                const int first = BasicDbTable_GetElementIN(def, 6, e, o * t, -1);
                ASSERT_TRUE(first >= 0 && first < npcs->rows) << kind << " " << e << " team " << o;
                const std::string name = Text(npcs, first, nameColumn);
                EXPECT_TRUE(names.insert(name).second) << kind << " " << e << ": \"" << name << "\" names two teams";
                for (int i = 1; i < t; ++i)
                    EXPECT_EQ(Text(npcs, BasicDbTable_GetElementIN(def, 6, e, o * t + i, -1), 2), name)
                        << kind << " " << e << " team " << o << " member " << i;
            }
        }
    }
}

// A player who reaches a podium in each event opens every league, tournament and rival: each
// locked event is named by an unlock group of an earlier event, and prizes grow with the fees.
TEST_F(FrontEndTest, CareerEventsOpenOneAnother)
{
    sBasicDbTable* players = Save("players");
    const int slot = I(Save("career setup"), 1, 0);
    const struct { const char* table; const char* column; int stateColumn, stride, fee; } kinds[] = {
        {"Leagues", "leagues", 27, 3, 10}, {"Tournaments", "tournaments", 28, 3, 12}, {"Rivals", "rivals", 29, 2, -1}};
    for (const auto& k : kinds) {
        sBasicDbTable* def = Game(k.table);
        const std::string start = BasicDbTable_GetStrElement(players, slot, k.stateColumn);
        for (int e = 0; e < 20; ++e) {
            bool opened = start.size() > size_t(e) && start[size_t(e)] != 'L';
            for (int from = 0; from < e && !opened; ++from)
                for (int c = k.table[0] == 'R' ? 16 : 19; c < def->def.get()->columns - 1; c += k.stride)
                    if (Text(def, from, c) == k.column)
                        for (int x = 0; x < 8; ++x) opened |= BasicDbTable_GetElementIN(def, c + 1, from, x, -1) == e;
            EXPECT_TRUE(opened) << k.table << " " << e << " can never be opened";
            if (k.fee > 0 && e > 0) {
                EXPECT_GE(I(def, k.fee, e), I(def, k.fee, e - 1)) << k.table << " fees rise";
                EXPECT_GT(I(def, k.fee + 2, e), I(def, k.fee, e)) << k.table << " " << e << " first prize pays the fee";
            }
        }
    }
}

// Every item of the pro shop can be unlocked: a career that wins every league and tournament and
// beats every rival leaves no item of any equipment column locked, the special shirt included.
TEST_F(FrontEndTest, EveryShopItemIsHandedOutBySomeEvent)
{
    sBasicDbTable* players = Save("players");
    const int slot = I(Save("career setup"), 1, 0);
    for (int e = 0; e < Game("Leagues")->rows; ++e)
        ASSERT_EQ(HandlePlacedUnlockables("Leagues", 19, 43, e, "players", slot, 1), 1);
    for (int e = 0; e < Game("Tournaments")->rows; ++e)
        ASSERT_EQ(HandlePlacedUnlockables("Tournaments", 19, 43, e, "players", slot, 1), 1);
    for (int e = 0; e < Game("Rivals")->rows; ++e) ASSERT_EQ(HandleUnlockables("Rivals", 16, 30, e, "players", slot), 1);
    for (int column = 19; column <= 25; ++column) {
        const int items = Room(players, column) - 1;
        ASSERT_GT(items, 0) << "column " << column;
        for (int item = 0; item < items; ++item)
            EXPECT_NE(BasicDbTable_GetElementCN(players, column, slot, item, 'E'), 'L')
                << FrontEndCell(players, -1, column) << " item " << item << " is never unlocked";
    }
}
