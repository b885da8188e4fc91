// The checks of a loaded save's values: one table of rules, each naming a save column and the range
// its values must keep (fixed bounds, or the rows of the table the value picks from), and one walk
// over every row and element of each ruled column. Columns are found by name, so a rule follows
// its column wherever the layout puts it.
#include "screens/savevalues.h"

#include <cstring>

#include "game/areas.h"
#include "host/errorlog.h"
#include "lib/printing.h"
#include "screens/playerslots.h"

namespace {

enum { kNoTable = 0, kSaveTable, kGameTable, kUiTable };

struct SaveValueRule {
    const char* table;   // the save table
    const char* column;  // its column
    int from;            // kNoTable: the fixed range lo..hi; else the database of the rows picked
    const char* rowsOf;  // the table picked from (and a second one of the same kind, such as the
    const char* alsoOf;  // female or left-handed set, that the value must fit too)
    int lo, hi;
    int noneAllowed;  // -1 stands for none
};

constexpr int kMaxSetupBowlers = 4;

const char* const kSetups[] = {"quick play setup", "mini game setup", "online setup"};
const char* const kRecords[] = {"league", "tournament", "rival"};
const char* const kEvents[] = {"Leagues", "Tournaments", "Rivals"};
const char* const kPicked[] = {"row1", "row2", "row3", "row4"};
const char* const kControllers[] = {"controller1", "controller2", "controller3", "controller4"};
const char* const kMembers[] = {"member1", "member2", "member3", "member4"};

const SaveValueRule kRules[] = {
    {"options", "musicVolume", kNoTable, nullptr, nullptr, 0, 100, 0},
    {"options", "effectsVolume", kNoTable, nullptr, nullptr, 0, 100, 0},
    {"options", "voiceVolume", kNoTable, nullptr, nullptr, 0, 100, 0},
    {"options", "controlMode", kUiTable, "controlModes", nullptr, 0, 0, 0},
    {"career setup", "slot", kNoTable, nullptr, nullptr, kFirstCustomBowler, kLastCustomBowler, 0},
    {"players", "body", kGameTable, "Bodys", nullptr, 0, 0, 0},
    {"players", "pants", kGameTable, "Pants", "Skirts", 0, 0, 1},
    {"players", "shirt", kGameTable, "Shirts", nullptr, 0, 0, 1},
    {"players", "shoes", kGameTable, "Shoes", nullptr, 0, 0, 1},
    {"players", "hat", kGameTable, "HatsM", "HatsF", 0, 0, 1},
    {"players", "glasses", kGameTable, "GlassesM", "GlassesF", 0, 0, 1},
    {"players", "gloves", kGameTable, "GlovesL", "GlovesR", 0, 0, 1},
    {"players", "balls", kGameTable, "BallsL", "BallsR", 0, 0, 1},
    {"player view", "bowler", kSaveTable, "players", nullptr, 0, 0, 1},
};

sBasicDb* Database(int from, sBasicDb* save, sBasicDb* game, sBasicDb* ui)
{
    return from == kSaveTable ? save : from == kGameTable ? game : from == kUiTable ? ui : nullptr;
}

// The column of `table` named `name`; -1 when there is none.
int ColumnNamed(sBasicDbTable* table, const char* name)
{
    sBasicDbTableDefinition* def = table ? table->def.get() : nullptr;
    if (!def) return -1;
    for (int c = 0; c < def->columns; ++c) {
        const char* columnName = def->column.get()[c].name;
        if (columnName && std::strcmp(columnName, name) == 0) return c;
    }
    return -1;
}

// The range of a rule: lo..hi. 0 when its tables are missing (the rule is left out).
int RangeOf(const SaveValueRule& r, sBasicDb* save, sBasicDb* game, sBasicDb* ui, int* lo, int* hi)
{
    *lo = r.lo;
    *hi = r.hi;
    if (r.from == kNoTable) return 1;
    sBasicDb* db = Database(r.from, save, game, ui);
    sBasicDbTable* rows = BasicDbTable_Find(db, r.rowsOf);
    sBasicDbTable* also = r.alsoOf ? BasicDbTable_Find(db, r.alsoOf) : nullptr;
    if (!rows || (r.alsoOf && !also)) {
        PrintError("save: the values of %s %s are not checked: table %s is missing", HostQuoted(r.table).c_str(),
                   r.column, HostQuoted(!rows ? r.rowsOf : r.alsoOf).c_str());
        return 0;
    }
    *lo = 0;
    *hi = (also && also->rows < rows->rows ? also->rows : rows->rows) - 1;
    return 1;
}

int Allowed(int value, int lo, int hi, int noneAllowed) { return (value >= lo && value <= hi) || (noneAllowed && value == -1); }

// Checks one rule's column in every row and element; returns the cells repaired.
int RepairColumn(const SaveValueRule& r, sBasicDb* save, sBasicDb* defaults, sBasicDb* game, sBasicDb* ui)
{
    sBasicDbTable* table = BasicDbTable_Find(save, r.table);
    const int column = ColumnNamed(table, r.column);
    int lo, hi;
    if (column < 0 || !RangeOf(r, save, game, ui, &lo, &hi)) return 0;
    sBasicDbTable* fallback = BasicDbTable_Find(defaults, r.table);
    const int fallbackColumn = ColumnNamed(fallback, r.column);
    const int elements = BasicDbTable_GetElementCount(table, column);
    int repaired = 0;
    for (int row = 0; row < table->rows; ++row) {
        for (int e = 0; e < elements; ++e) {
            const int value = BasicDbTable_GetElementIN(table, column, row, e, 0);
            if (Allowed(value, lo, hi, r.noneAllowed)) continue;
            int repair = BasicDbTable_GetElementIN(fallback, fallbackColumn, row, e, lo);
            if (!Allowed(repair, lo, hi, r.noneAllowed)) repair = r.noneAllowed ? -1 : lo;
            BasicDbTable_SetElementIN(table, column, row, e, repair);
            char cell[64];
            if (elements > 1) PrintString(cell, int(sizeof cell), "%s[%d]", r.column, e);
            else PrintString(cell, int(sizeof cell), "%s", r.column);
            PrintError("save: %s row %d %s holds %d, outside %d to %d; the default %d is used",
                       HostQuoted(r.table).c_str(), row, cell, value, lo, hi, repair);
            ++repaired;
        }
    }
    return repaired;
}

}  // namespace

int RepairSaveValues(sBasicDb* save, sBasicDb* defaults, sBasicDb* game, sBasicDb* ui)
{
    if (!save) return 0;
    int repaired = 0;
    for (const SaveValueRule& r : kRules) repaired += RepairColumn(r, save, defaults, game, ui);
    // The set-ups and the career records: who bowls each slot, and the bowlers and event picked.
    for (const char* setup : kSetups) {
        repaired += RepairColumn({setup, "location", kNoTable, nullptr, nullptr, 0, kNumAreas - 1, 0}, save, defaults, game, ui);
        repaired += RepairColumn({setup, "players", kNoTable, nullptr, nullptr, 1, kMaxSetupBowlers, 0}, save, defaults, game, ui);
        for (const char* row : kPicked)
            repaired += RepairColumn({setup, row, kSaveTable, "players", nullptr, 0, 0, 0}, save, defaults, game, ui);
        for (const char* controller : kControllers)
            repaired += RepairColumn({setup, controller, kUiTable, "qpKinds", nullptr, 0, 0, 0}, save, defaults, game, ui);
    }
    for (int k = 0; k < 3; ++k) {
        repaired += RepairColumn({kRecords[k], "current", kGameTable, kEvents[k], nullptr, 0, 0, 1}, save, defaults, game, ui);
        repaired += RepairColumn({kRecords[k], "npcs", kGameTable, "NPCs", nullptr, 0, 0, 1}, save, defaults, game, ui);
        for (const char* member : kMembers)
            repaired += RepairColumn({kRecords[k], member, kSaveTable, "players", nullptr, 0, 0, 0}, save, defaults, game, ui);
        for (const char* controller : kControllers)
            repaired += RepairColumn({kRecords[k], controller, kUiTable, "qpKinds", nullptr, 0, 0, 0}, save, defaults, game, ui);
    }
    return repaired;
}
