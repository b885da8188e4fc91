// Opening equipment and events listed by an event's unlock groups: the group names a "players"
// state column by its name and lists the item characters in it to unlock.
#include "screens/unlocks.h"

#include <cstring>

#include "ui/environment.h"

// Unlocks the items of one group: every "players" column named `name`, every item index >= 0.
static void UnlockGroup(sBasicDbTable* def, int column, int defRow, sBasicDbTable* players, int row)
{
    const char* name = BasicDbTable_GetStrElement(def, defRow, column);
    if (!name[0]) return;
    const int items = BasicDbTable_GetElementCount(def, column + 1);
    char columnName[64];
    for (int c = 0; c < players->def.get()->columns; ++c) {
        BasicDbTable_PutElementOntoStr(players, -1, c, columnName, sizeof columnName);
        if (std::strcmp(columnName, name) != 0) continue;
        for (int k = 0; k < items; ++k) {
            const int x = BasicDbTable_GetElementIN(def, column + 1, defRow, k, -1);
            if (x >= 0 && BasicDbTable_GetElementCN(players, c, row, x, 'E') == 'L')
                BasicDbTable_SetElementCN(players, c, row, x, 'U');
        }
    }
}

int HandlePlacedUnlockables(sBasicDbTable* def, int firstColumn, int lastColumn, int defRow, sBasicDbTable* players,
                            int row, int place)
{
    if (!def || !players) return 0;
    for (int c = firstColumn; c <= lastColumn; c += 3)
        if (place <= BasicDbTable_GetElementI(def, c + 2, defRow, 0)) UnlockGroup(def, c, defRow, players, row);
    return 1;
}

int HandleUnlockables(sBasicDbTable* def, int firstColumn, int lastColumn, int defRow, sBasicDbTable* players,
                      int row)
{
    if (!def || !players) return 0;
    for (int c = firstColumn; c <= lastColumn; c += 2) UnlockGroup(def, c, defRow, players, row);
    return 1;
}
