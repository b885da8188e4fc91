// The trophy case and the watch on achievements. The case shows, for every bowler, how much of the
// equipment is unlocked and how many leagues, tournaments and rivals were won, as "count/total"
// texts in the bowler's own row that the trophy screen reads. The watch keeps one bit mask per
// kind of achievement of the career bowler, so that a new one can be told apart from old ones.
#include "screens/trophies.h"

#include <cstdint>
#include <cstdio>

#include "db/database.h"
#include "screens/frontenddb.h"
#include "screens/results.h"
#include "screens/unlocks.h"

namespace {

enum { kColPantsStates = 19, kColShirtStates = 20, kColShoeStates = 21, kColBallStates = 25 };
enum { kColLeagues = 27, kColTournaments = 28, kColRivals = 29 };
enum { kColLeagueText = 38, kColTournamentText = 39, kColRivalText = 40, kColClothesText = 41,
       kColGearText = 42, kColAccessoryText = 43 };
enum { kEvents = 20, kSpecialShirt = 4 };

// The states a column's string holds: its element count less the terminating place.
int StateCount(sBasicDbTable* players, int column)
{
    const int n = BasicDbTable_GetElementCount(players, column) - 1;
    return n < 0 ? 0 : n;
}

// An item is counted once it is anything but locked. A place past the end of a shorter string
// (a NUL) is no item at all and is not counted.
int Unlocked(char state) { return state != 'L' && state != '\0'; }

struct Tally {
    int count = 0, total = 0;
};

void CountStates(sBasicDbTable* players, int row, int column, int skip, Tally* t)
{
    const int n = StateCount(players, column);
    for (int i = 0; i < n; ++i) {
        if (i == skip) continue;
        t->total += 1;
        if (Unlocked(BasicDbTable_GetElementCN(players, column, row, i, 'L'))) t->count += 1;
    }
}

int CountMatching(sBasicDbTable* players, int row, int column, char wanted)
{
    int count = 0;
    for (int i = 0; i < kEvents; ++i)
        if (BasicDbTable_GetElementCN(players, column, row, i, 'L') == wanted) count += 1;
    return count;
}

void WriteTally(sBasicDbTable* players, int row, int column, int count, int total)
{
    char text[256];
    std::snprintf(text, sizeof text, "%d/%d", count, total);
    BasicDbTable_GetElementFromStr(players, row, column, text, 255);
}

uint32_t achievements[kTrophyKinds];

// The bits of the career row's state column: bit i for each character i that `has` accepts.
template <class Pred>
uint32_t Mask(sBasicDbTable* players, int row, int column, int n, Pred has)
{
    uint32_t mask = 0;
    for (int i = 0; i < n && i < 32; ++i)
        if (has(BasicDbTable_GetElementCN(players, column, row, i, 'L'))) mask |= uint32_t(1) << i;
    return mask;
}

}  // namespace

int UpdateTrophies(sBasicUiWidget* caller, int)
{
    UpdateReputation();
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    if (!players) return 1;
    for (int row = 0; row < players->rows; ++row) {
        Tally clothes, gear, accessories;
        CountStates(players, row, kColPantsStates, -1, &clothes);
        CountStates(players, row, kColShirtStates, kSpecialShirt, &clothes);
        for (int c = kColShoeStates; c <= kColShoeStates + 2; ++c) CountStates(players, row, c, -1, &gear);
        for (int c = kColBallStates - 1; c <= kColBallStates; ++c) CountStates(players, row, c, -1, &accessories);
        WriteTally(players, row, kColClothesText, clothes.count, clothes.total);
        WriteTally(players, row, kColGearText, gear.count, gear.total);
        WriteTally(players, row, kColAccessoryText, accessories.count, accessories.total);
        WriteTally(players, row, kColLeagueText, CountMatching(players, row, kColLeagues, '1'), kEvents);
        WriteTally(players, row, kColTournamentText, CountMatching(players, row, kColTournaments, '1'), kEvents);
        WriteTally(players, row, kColRivalText, CountMatching(players, row, kColRivals, 'W'), kEvents);
    }
    return 1;
}

int MainMenuTrophiesCheck(int reset)
{
    if (reset)
        for (uint32_t& a : achievements) a = 0;
    sBasicDbTable* players = FrontEndTable(nullptr, "save", "players");
    const int r = GetCareerID();
    if (!players || r < 0 || r >= players->rows) return -1;

    uint32_t now[kTrophyKinds];
    for (int k = kTrophyPants; k <= kTrophyBalls; ++k) {
        const int column = kColPantsStates + k;
        now[k] = Mask(players, r, column, StateCount(players, column), Unlocked);
    }
    auto won = [](char c) { return c == '1'; };
    auto podium = [](char c) { return c == '1' || c == '2' || c == '3'; };
    now[kTrophyLeaguesWon] = Mask(players, r, kColLeagues, kEvents, won);
    now[kTrophyLeaguePodiums] = Mask(players, r, kColLeagues, kEvents, podium);
    now[kTrophyTournamentsWon] = Mask(players, r, kColTournaments, kEvents, won);
    now[kTrophyTournamentPodiums] = Mask(players, r, kColTournaments, kEvents, podium);
    now[kTrophyRivalsBeaten] = Mask(players, r, kColRivals, kEvents, [](char c) { return c == 'W'; });

    int first = -1;
    for (int k = 0; k < kTrophyKinds; ++k) {
        if (first < 0 && (now[k] & ~achievements[k])) first = k;
        achievements[k] = now[k];
    }
    return first;
}
