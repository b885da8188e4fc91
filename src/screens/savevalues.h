// The checks of a loaded save's values. A save file that passes the image check and has the
// database's own layout may still hold numbers the game cannot use: a volume far above 100, a
// bowler row past the players, a garment or an alley the game data does not have. The game picks
// table rows with these numbers, so each is checked once, when the save is loaded, against the
// range of the table it picks from; one outside is replaced by the default database's value.
#pragma once

#include "db/database.h"

// Checks every value of `save` that the game uses as a volume or to pick a row of a table (the
// bowlers of the set-ups, the career events and the preview, a bowler's body, garments and balls,
// an alley, who bowls a slot, the control mode) against that table's rows in `save`, `game` or
// `ui`. A value outside is set to the value of the same cell in `defaults` (or, when that is
// outside too or missing, the range's first value, or -1 where -1 means none), with a message
// naming the table, row, column and both values. A check whose table is missing is left out.
// Returns the number of cells repaired.
int RepairSaveValues(sBasicDb* save, sBasicDb* defaults, sBasicDb* game, sBasicDb* ui);
