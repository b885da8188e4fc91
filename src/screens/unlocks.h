// Unlocking equipment and events for a bowler: an event's definition row lists groups of columns
// naming a "players" state column and the items of it to open ('L' becomes 'U').
#pragma once

#include "db/database.h"

// Groups of three columns from firstColumn while <= lastColumn: the name of a column of the
// players table, an item list and the worst place that still earns the group; every listed item
// still locked ('L') in players row `row` is unlocked when place is no worse than that. 1 when the
// tables were there.
int HandlePlacedUnlockables(sBasicDbTable* def, int firstColumn, int lastColumn, int defRow, sBasicDbTable* players,
                            int row, int place);
// The same with groups of two columns (name and item list) and no place.
int HandleUnlockables(sBasicDbTable* def, int firstColumn, int lastColumn, int defRow, sBasicDbTable* players,
                      int row);
