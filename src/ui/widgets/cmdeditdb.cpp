// The database edit command: sets, steps (clamped or wrapped) or copies cells of a table, and
// saves the database, through the game's save function when asked.
#include <cstring>

#include "db/database.h"
#include "db/dbxml.h"
#include "ui/registry.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdEditDb_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdEditDb* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdEditDb, &c);
    if (!c) return ref;
    c->hasIDbRow = c->isInc = c->isIncWrap = c->isSet = c->isCopy = c->isSave = c->isGameSave =
        BasicUiValueBOOL_Make(0);
    c->min = c->inc = c->max = c->element = c->row = c->column = c->value = c->rowSrc = c->rowDst =
        c->argGameSave = BasicUiValueINT_Make(0);
    return ref;
}

int BasicUiWidgetTypeCmdEditDb_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdEditDb>(w, EBasicUiWidgetTypeCmdEditDb);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "dbNm", eBasicUiPropertyTypeSTR, &c->dbNm, 1, 0);
    BasicUiPropertyTracker_Add(t, "dbTblNm", eBasicUiPropertyTypeSTR, &c->dbTblNm, 1, 0);
    BasicUiPropertyTracker_Add(t, "hasIDbRow", eBasicUiPropertyTypeBOOL, &c->hasIDbRow, 1, 1);
    BasicUiPropertyTracker_Add(t, "idbRowRef", eBasicUiPropertyTypeWidgetREF, &c->idbRowRef, 1, 0);
    BasicUiPropertyTracker_Add(t, "isInc", eBasicUiPropertyTypeBOOL, &c->isInc, 1, 1);
    BasicUiPropertyTracker_Add(t, "isIncWrap", eBasicUiPropertyTypeBOOL, &c->isIncWrap, 1, 1);
    BasicUiPropertyTracker_Add(t, "min", eBasicUiPropertyTypeINT, &c->min, 1, 1);
    BasicUiPropertyTracker_Add(t, "inc", eBasicUiPropertyTypeINT, &c->inc, 1, 1);
    BasicUiPropertyTracker_Add(t, "max", eBasicUiPropertyTypeINT, &c->max, 1, 1);
    BasicUiPropertyTracker_Add(t, "element", eBasicUiPropertyTypeINT, &c->element, 1, 1);
    BasicUiPropertyTracker_Add(t, "row", eBasicUiPropertyTypeINT, &c->row, 1, 1);
    BasicUiPropertyTracker_Add(t, "column", eBasicUiPropertyTypeINT, &c->column, 1, 1);
    BasicUiPropertyTracker_Add(t, "isSet", eBasicUiPropertyTypeBOOL, &c->isSet, 1, 1);
    BasicUiPropertyTracker_Add(t, "value", eBasicUiPropertyTypeINT, &c->value, 1, 1);
    BasicUiPropertyTracker_Add(t, "isCopy", eBasicUiPropertyTypeBOOL, &c->isCopy, 1, 1);
    BasicUiPropertyTracker_Add(t, "rowSrc", eBasicUiPropertyTypeINT, &c->rowSrc, 1, 1);
    BasicUiPropertyTracker_Add(t, "rowDst", eBasicUiPropertyTypeINT, &c->rowDst, 1, 1);
    BasicUiPropertyTracker_Add(t, "isSave", eBasicUiPropertyTypeBOOL, &c->isSave, 1, 1);
    BasicUiPropertyTracker_Add(t, "isGameSave", eBasicUiPropertyTypeBOOL, &c->isGameSave, 1, 1);
    BasicUiPropertyTracker_Add(t, "filename", eBasicUiPropertyTypeSTR, &c->filename, 1, 0);
    BasicUiPropertyTracker_Add(t, "argGameSave", eBasicUiPropertyTypeINT, &c->argGameSave, 1, 1);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdEditDb)

int BasicUiWidgetTypeCmdEditDb_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdEditDb>(w, EBasicUiWidgetTypeCmdEditDb);
    if (!c) return 0;
    BasicUiWidget_FreeString(env, &c->dbNm);
    BasicUiWidget_FreeString(env, &c->dbTblNm);
    BasicUiWidget_FreeString(env, &c->filename);
    return BasicUiWidget_FreeRecord(env, w);
}

int BasicUiWidgetTypeCmdEditDb_Edit(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdEditDb>(w, EBasicUiWidgetTypeCmdEditDb);
    if (!c) return 0;
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    sBasicDbTable* table = BasicUiTableCache_Update(&c->cache, env, c->dbNm, c->dbTblNm);
    if (!table && c->dbTblNm) BasicUiWidget_ReportMissing(w, &c->reported, "the table", c->dbTblNm);
    int row = c->row.value, column = c->column.value, element = c->element.value;
    if (table && c->isSet.value) BasicDbTable_SetElementIN(table, column, row, element, c->value.value);
    if (table && c->isInc.value) {
        long long v = (long long)BasicDbTable_GetElementIN(table, column, row, element, 0) + c->inc.value;
        if (c->isIncWrap.value) {
            if (v < c->min.value) v = c->max.value;
            else if (v > c->max.value) v = c->min.value;
        } else {
            if (v < c->min.value) v = c->min.value;
            if (v > c->max.value) v = c->max.value;
        }
        BasicDbTable_SetElementIN(table, column, row, element, int(v));
    }
    if (table && c->isCopy.value) {
        static char text[4096];
        // Columns the table does not have copy nothing: the range is cut to the table's.
        int first = c->min.value < 0 ? 0 : c->min.value;
        int last = c->max.value;
        if (table->def && last >= table->def->columns) last = table->def->columns - 1;
        for (int col = first; col <= last; ++col) {
            std::memset(text, 0, sizeof text);
            BasicDbTable_PutElementOntoStr(table, c->rowSrc.value, col, text, int(sizeof text) - 1);
            BasicDbTable_GetElementFromStr(table, c->rowDst.value, col, text, int(sizeof text));
        }
    }
    if (c->isSave.value) {
        sBasicDb* db = BasicUi_FindDb(env, c->dbNm);
        if (!db) return 1;
        if (c->isGameSave.value) {
            BasicFn save = BasicFn_Find("GameSave");
            if (save) save(w, c->argGameSave.value);
        } else if (c->filename) {
            BasicDb_Save(&db, c->filename);
        }
    }
    return 1;
}
