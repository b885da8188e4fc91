// The database reference widget type: a named cell that buttons, dialogs and tables read through
// a widget reference, so that the description, not the code, chooses the database, table, row and
// column, and the status strings whose characters choose lock, ownership and placing icons.
#include "ui/widgets/dbref.h"

#include <string>

#include "db/database.h"
#include "lib/resources.h"
#include "platform/quads.h"
#include "ui/frameupdate.h"
#include "ui/placeholder.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

enum { kIconLocked, kIconUnlocked, kIconOwned, kIconWon, kIconThird, kIconSecond, kIconFirst };

static sBasicUiWidgetTypeDbRef* Ref(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeDbRef>(w, EBasicUiWidgetTypeDbRef);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeDbRef_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeDbRef* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeDbRef, &r);
    if (!r) return ref;
    BasicUiDbRef_Init(&r->db);
    BasicUiDbRef_Init(&r->idb);
    for (sBasicUiStatusIcon& i : r->icon) i.id = BasicUiValueINT_Make(-1);
    return ref;
}

int BasicUiWidgetTypeDbRef_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* r = Ref(w);
    if (!r || !t) return 0;
    BasicUiDbRef_AddProperties(&r->db, {"db.Nm", "db.tblNm", "db.row", "db.column"}, t);
    BasicUiPropertyTracker_Add(t, "hasIDb", eBasicUiPropertyTypeBOOL, &r->hasIDb, 1, 1);
    BasicUiDbRef_AddProperties(&r->idb, {"idb.Nm", "idb.tblNm", "idb.row", "idb.column"}, t);
    BasicUiPropertyTracker_Add(t, "isStatusRef", eBasicUiPropertyTypeBOOL, &r->isStatusRef, 1, 1);
    static const char* const names[kBasicUiStatusIcons][3] = {
        {"lockedID", "lockedW", "lockedH"}, {"unlockedID", "unlockedW", "unlockedH"},
        {"ownedID", "ownedW", "ownedH"},    {"winID", "winW", "winH"},
        {"thirdID", "thirdW", "thirdH"},    {"secondID", "secondW", "secondH"},
        {"firstID", "firstW", "firstH"}};
    for (int i = 0; i < kBasicUiStatusIcons; ++i) {
        BasicUiPropertyTracker_Add(t, names[i][0], eBasicUiPropertyTypeINT, &r->icon[i].id, 1, 1);
        BasicUiPropertyTracker_Add(t, names[i][1], eBasicUiPropertyTypeINT, &r->icon[i].w, 1, 1);
        BasicUiPropertyTracker_Add(t, names[i][2], eBasicUiPropertyTypeINT, &r->icon[i].h, 1, 1);
    }
    return 1;
}

int BasicUiWidgetTypeDbRef_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeDbRef_Update(sBasicUiWidget*, float) { return 1; }
int BasicUiWidgetTypeDbRef_Render(sBasicUiWidget*) { return 1; }

int BasicUiWidgetTypeDbRef_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* r = Ref(w);
    if (!r) return 0;
    BasicUiDbRef_Fini(&r->db, env);
    BasicUiDbRef_Fini(&r->idb, env);
    return BasicUiWidget_FreeRecord(env, w);
}

sBasicDbTable* BasicUiWidgetTypeDbRef_Table(sBasicUiWidget* w)
{
    auto* r = Ref(w);
    return r ? BasicUiDbRef_Update(&r->db, BasicUiWidget_GetEnvironment(w)) : nullptr;
}

// The table and row of the cell finally referred to, through the second table when asked.
static sBasicDbTable* Cell(sBasicUiWidget* w, int* column, int* row)
{
    auto* r = Ref(w);
    if (!r) return nullptr;
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    sBasicDbTable* t = BasicUiDbRef_Update(&r->db, env);
    if (!t) return nullptr;
    *column = r->db.column.value;
    *row = r->db.row.value;
    if (!r->hasIDb.value) return t;
    int n = BasicDbTable_GetElementI(t, *column, *row);
    sBasicDbTable* it = BasicUiDbRef_Update(&r->idb, env);
    *column = r->idb.column.value;
    *row = n;
    return it;
}

int BasicUiWidgetTypeDbRef_GetDbInt(sBasicUiWidget* w)
{
    int column = 0, row = 0;
    sBasicDbTable* t = Cell(w, &column, &row);
    return t ? BasicDbTable_GetElementI(t, column, row) : 0;
}

static char Status(sBasicUiWidget* w, int element)
{
    int column = 0, row = 0;
    sBasicDbTable* t = Cell(w, &column, &row);
    return t ? BasicDbTable_GetElementCN(t, column, row, element, 0) : 0;
}

int BasicUiWidgetTypeDbRef_IsLocked(sBasicUiWidget* w, int element) { return Status(w, element) == 'L' ? 1 : 0; }

void BasicUiWidgetTypeDbRef_RenderIcon(int x, int y, int w, int h, int id)
{
    void* bitmap = nullptr;
    if (id <= 0 || !GetResourceHandle(id, &bitmap) || !bitmap) return;
    DrawScreenPoly(bitmap, 0, 0, x - w / 2, y - h / 2, w, h);
}

void BasicUiWidgetTypeDbRef_RenderStatusIcon(sBasicUiWidget* w, int x, int y, int element)
{
    auto* r = Ref(w);
    if (!r || !r->isStatusRef.value) return;
    if (!BasicUiWidgetTypeDbRef_Table(w) && r->db.dbTblNm) {
        BasicUiWidget_Placeholder(w, &r->reported, "the table", r->db.dbTblNm, x - 8, y - 8, 16, 16);
        return;
    }
    int icon = -1;
    switch (Status(w, element)) {
    case 'L':
    case 'Z': icon = kIconLocked; break;
    case 'U':
    case 'P': icon = kIconUnlocked; break;
    case 'O': icon = kIconOwned; break;
    case 'W': icon = kIconWon; break;
    case '1': icon = kIconFirst; break;
    case '2': icon = kIconSecond; break;
    case '3': icon = kIconThird; break;
    default: return;
    }
    const sBasicUiStatusIcon& i = r->icon[icon];
    if (i.id.value > 0 && !BasicUi_ImageExists(i.id.value)) {
        BasicUiWidget_Placeholder(w, &r->reported, "the icon", std::to_string(i.id.value).c_str(), x - i.w.value / 2,
                                  y - i.h.value / 2, i.w.value, i.h.value);
        return;
    }
    BasicUiWidgetTypeDbRef_RenderIcon(x, y, i.w.value, i.h.value, i.id.value);
}

void BasicUiWidgetTypeDbRef_SetDbTableIndex(sBasicUiWidget* w, int row, int column)
{
    if (auto* r = Ref(w)) {
        r->db.row.value = row;
        r->db.column.value = column;
    }
}
