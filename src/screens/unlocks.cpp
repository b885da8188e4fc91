// Unlock groups and the career row. Leagues, tournaments and rivals name what they hand out as
// groups of cells in their "game" rows: the name of a "players" state column and the items of it
// to unlock. The career bowler's other values (funds, hand, items worn) are read and written here
// too, so that the pro shop, the trophy case and the events all address the career row one way.
#include "screens/unlocks.h"

#include <cstring>

#include "db/database.h"
#include "screens/frontenddb.h"

namespace {

enum { kColHand = 6, kHandCareerEntry = 4, kColFemale = 7, kColFunds = 8, kColPrice = 6 };

// The special shirt (item 4 of the shirts) is hidden in the shop until some career has earned it;
// the mark the shop reads for that is game-wide, kept in the first built-in bowler's row.
enum { kColShirts = 20, kSpecialShirt = 4, kSpecialShirtRow = 11 };

// Each "players" column named `name` (exact, case-sensitive).
template <class Fn>
void ForEachColumnNamed(sBasicDbTable* table, const char* name, Fn fn)
{
    if (!table || !table->def || !name || !name[0]) return;
    const sBasicDbTableDefinition* def = table->def;
    for (int c = 0; c < def->columns; ++c) {
        const char* columnName = def->column[c].name;
        if (columnName && std::strcmp(columnName, name) == 0) fn(c);
    }
}

// One group: the items listed in column c + 1 of defRow that are locked in the named column of
// `row` become unlocked.
void UnlockGroup(sBasicDbTable* def, int c, int defRow, sBasicDbTable* players, int row)
{
    const char* name = BasicDbTable_GetStrElement(def, defRow, c);
    const int listed = BasicDbTable_GetElementCount(def, c + 1);
    ForEachColumnNamed(players, name, [&](int column) {
        for (int k = 0; k < listed; ++k) {
            const int item = BasicDbTable_GetElementIN(def, c + 1, defRow, k, -1);
            if (item < 0) continue;
            if (BasicDbTable_GetElementCN(players, column, row, item, 'E') == 'L')
                BasicDbTable_SetElementCN(players, column, row, item, 'U');
            if (column == kColShirts && item == kSpecialShirt &&
                BasicDbTable_GetElementCN(players, column, kSpecialShirtRow, item, 'E') == 'L')
                BasicDbTable_SetElementCN(players, column, kSpecialShirtRow, item, 'U');
        }
    });
}

sBasicDbTable* PlayersTable() { return FrontEndTable(nullptr, "save", "players"); }

}  // namespace

int HandlePlacedUnlockables(const char* defTable, int firstColumn, int lastColumn, int defRow, const char* players,
                            int row, int place)
{
    sBasicDbTable* def = FrontEndTable(nullptr, "game", defTable);
    sBasicDbTable* save = FrontEndTable(nullptr, "save", players);
    if (!def || !save || defRow < 0 || defRow >= def->rows || row < 0 || row >= save->rows) return 0;
    for (int c = firstColumn; c <= lastColumn; c += 3) {
        const int worstPlace = BasicDbTable_GetElementI(def, c + 2, defRow, 0);
        if (place <= worstPlace) UnlockGroup(def, c, defRow, save, row);
    }
    return 1;
}

int HandleUnlockables(const char* defTable, int firstColumn, int lastColumn, int defRow, const char* players,
                      int row)
{
    sBasicDbTable* def = FrontEndTable(nullptr, "game", defTable);
    sBasicDbTable* save = FrontEndTable(nullptr, "save", players);
    if (!def || !save || defRow < 0 || defRow >= def->rows || row < 0 || row >= save->rows) return 0;
    for (int c = firstColumn; c <= lastColumn; c += 2) UnlockGroup(def, c, defRow, save, row);
    return 1;
}

int GetCareerID() { return CareerSlot(nullptr); }

int GetCareerPlayerValue(int column) { return BasicDbTable_GetElementI(PlayersTable(), column, GetCareerID(), 0); }

void SetCareerPlayerValue(int column, int value)
{
    BasicDbTable_SetElementI(PlayersTable(), column, GetCareerID(), value);
}

char GetCareerPlayerItemState(int column, int item)
{
    return BasicDbTable_GetElementCN(PlayersTable(), column, GetCareerID(), item, 'X');
}

void SetCareerPlayerItemState(int column, int item, char state)
{
    BasicDbTable_SetElementCN(PlayersTable(), column, GetCareerID(), item, state);
}

int GetCareerPlayerFunds() { return GetCareerPlayerValue(kColFunds); }

void SetCareerPlayerFunds(int funds) { SetCareerPlayerValue(kColFunds, funds); }

int GetCareerPlayerHand()
{
    return BasicDbTable_GetElementIN(PlayersTable(), kColHand, GetCareerID(), kHandCareerEntry, 0) ? 1 : 0;
}

int GetCareerPlayerGender() { return GetCareerPlayerValue(kColFemale) ? 1 : 0; }

int GetCareerItemValue(const char* table, int item)
{
    return BasicDbTable_GetElementI(FrontEndTable(nullptr, "game", table), kColPrice, item, 0);
}
