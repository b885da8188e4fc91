// The load command: its resource id from the query (given, or looked up through one or two
// database cells), a slot of the environment's loader renewed at each test, and the sequences it
// runs when a load starts and when the resource has arrived.
#include "ui/widgets/cmdload.h"

#include "db/database.h"
#include "lib/printing.h"
#include "ui/frameupdate.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

enum { kDb0, kDb1, kDbResource, kDbOffset, kDbCase0, kDbCase1 };

static const sBasicUiDbRefNames kRefNames[kBasicUiCmdLoadRefs] = {
    {"db0.Nm", "db0.tblNm", "db0.row", "db0.column"},
    {"db1.Nm", "db1.tblNm", "db1.row", "db1.column"},
    {"dbResource.Nm", "dbResource.tblNm", "dbResource.row", "dbResource.column"},
    {"dbOffset.Nm", "dbOffset.tblNm", "dbOffset.row", "dbOffset.column"},
    {"dbCase0.Nm", "dbCase0.tblNm", "dbCase0.row", "dbCase0.column"},
    {"dbCase1.Nm", "dbCase1.tblNm", "dbCase1.row", "dbCase1.column"},
};

static sBasicUiWidgetTypeCmdLoad* Load(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeCmdLoad>(w, EBasicUiWidgetTypeCmdLoad);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdLoad_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdLoad* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdLoad, &c);
    if (!c) return ref;
    c->resourceID = c->offsetID = c->groupIdx = BasicUiValueINT_Make(-1);
    c->groupSize = BasicUiValueINT_Make(0);
    c->groupSlots = BasicUiValueINT_Make(1);
    c->queryType = c->oType = c->sType = BasicUiValueINT_Make(0);
    c->isGroupItem = BasicUiValueBOOL_Make(0);
    for (sBasicUiDbRef& r : c->db) BasicUiDbRef_Init(&r);
    c->slot = -1;
    c->internalID = -1;
    return ref;
}

int BasicUiWidgetTypeCmdLoad_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetTypeCmdLoad* c = Load(w);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "resourceID", eBasicUiPropertyTypeINT, &c->resourceID, 1, 1);
    BasicUiPropertyTracker_Add(t, "offsetID", eBasicUiPropertyTypeINT, &c->offsetID, 1, 1);
    BasicUiPropertyTracker_Add(t, "groupIdx", eBasicUiPropertyTypeINT, &c->groupIdx, 1, 1);
    BasicUiPropertyTracker_Add(t, "groupSize", eBasicUiPropertyTypeINT, &c->groupSize, 1, 1);
    BasicUiPropertyTracker_Add(t, "groupSlots", eBasicUiPropertyTypeINT, &c->groupSlots, 1, 1);
    BasicUiPropertyTracker_Add(t, "cmdLoad", eBasicUiPropertyTypeWidgetREF, &c->cmdLoad, 1, 0);
    BasicUiPropertyTracker_Add(t, "cmdDone", eBasicUiPropertyTypeWidgetREF, &c->cmdDone, 1, 0);
    BasicUiPropertyTracker_Add(t, "queryType", eBasicUiPropertyTypeINT, &c->queryType, 1, 1);
    BasicUiPropertyTracker_Add(t, "isGroupItem", eBasicUiPropertyTypeBOOL, &c->isGroupItem, 1, 1);
    for (int i = 0; i < kBasicUiCmdLoadRefs; ++i) BasicUiDbRef_AddProperties(&c->db[i], kRefNames[i], t);
    BasicUiPropertyTracker_Add(t, "oType", eBasicUiPropertyTypeINT, &c->oType, 1, 1);
    BasicUiPropertyTracker_Add(t, "sType", eBasicUiPropertyTypeINT, &c->sType, 1, 1);
    return 1;
}

int BasicUiWidgetTypeCmdLoad_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeCmdLoad_Update(sBasicUiWidget*, float) { return 1; }
int BasicUiWidgetTypeCmdLoad_Render(sBasicUiWidget*) { return 1; }

int BasicUiWidgetTypeCmdLoad_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    sBasicUiWidgetTypeCmdLoad* c = Load(w);
    if (!c) return 0;
    for (sBasicUiDbRef& r : c->db) BasicUiDbRef_Fini(&r, env);
    return BasicUiWidget_FreeRecord(env, w);
}

// The cell of a reference at its own column and the given row.
static int Cell(sBasicUiDbRef& r, sBasicUiEnvironment* env, int row, int column, int* out)
{
    sBasicDbTable* t = BasicUiDbRef_Update(&r, env);
    if (!t) return 0;
    *out = BasicDbTable_GetElementI(t, column, row, -1);
    return 1;
}

void BasicUiWidgetTypeCmdLoad_UpdateDb(sBasicUiWidget* w, sBasicUiWidgetTypeCmdLoad* c)
{
    if (!c) return;
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    sBasicUiDbRef* d = c->db;
    int v = 0;
    switch (c->queryType.value) {
    case 1:
        if (Cell(d[kDbResource], env, d[kDbResource].row.value, d[kDbResource].column.value, &v))
            c->resourceID.value = v;
        if (Cell(d[kDbOffset], env, d[kDbOffset].row.value, d[kDbOffset].column.value, &v)) c->offsetID.value = v;
        break;
    case 2: {
        int r = 0;
        if (!Cell(d[kDb1], env, d[kDb1].row.value, d[kDb1].column.value, &r)) break;
        if (Cell(d[kDbResource], env, r, d[kDbResource].column.value, &v)) c->resourceID.value = v;
        if (Cell(d[kDbOffset], env, r, d[kDbOffset].column.value, &v)) c->offsetID.value = v;
        break;
    }
    case 3:
    case 4: {
        int r0 = 0, r1 = 0, o = 0;
        if (!Cell(d[kDb0], env, d[kDb0].row.value, d[kDb0].column.value, &r0)) break;
        if (!Cell(d[kDb1], env, r0, d[kDb1].column.value, &r1)) break;
        Cell(d[kDb1], env, r0, c->oType.value, &o);
        if (Cell(d[kDbResource], env, r1, d[kDbResource].column.value, &v)) c->resourceID.value = v;
        if (c->queryType.value == 3) {
            if (Cell(d[kDbOffset], env, o, d[kDbOffset].column.value, &v)) c->offsetID.value = v;
            break;
        }
        int s = 0;
        Cell(d[kDb1], env, r0, c->sType.value, &s);
        if (!BasicUiDbRef_Update(&d[kDbCase0], env) || !BasicUiDbRef_Update(&d[kDbCase1], env)) break;
        if (s == 0 && Cell(d[kDbCase0], env, o, d[kDbCase0].column.value, &v))
            c->offsetID.value = v;
        else if (s == 1 && Cell(d[kDbCase1], env, o, d[kDbCase1].column.value, &v))
            c->offsetID.value = v;
        else if (s != 0 && s != 1)
            c->offsetID.value = -1;
        break;
    }
    default: break;
    }
    if (c->queryType.value >= 1 && c->queryType.value <= 4) {
        int named = 0, found = 0;
        for (sBasicUiDbRef& r : c->db)
            if (r.dbTblNm) ++named, found += BasicUiDbRef_Update(&r, env) != nullptr;
        if (found < named) BasicUiWidget_ReportMissing(w, &c->reported, "a table of its query", nullptr);
    }
    int res = c->resourceID.value, off = c->offsetID.value;
    if (!c->isGroupItem.value)
        c->internalID = res > 0 ? res : -1;
    else
        c->internalID = res > 0 && res < 65536 && off >= 0 && off < 65536 ? (res << 16) + off : -1;
}

int BasicUiWidgetTypeCmdLoad_IsLoaded(sBasicUiWidget* w)
{
    sBasicUiWidgetTypeCmdLoad* c = Load(w);
    sBasicUiRLSTracker* t = BasicUiWidget_GetRLSTracker(w);
    if (!c || !t) return 0;
    if (!BasicUiRLS_NotBusy(t)) return 0;  // one load at a time: wait for the queue to empty
    BasicUiWidgetTypeCmdLoad_UpdateDb(w, c);
    if (c->groupIdx.value >= kBasicUiRLSSlots)
        PrintError("BasicUiWidgetTypeCmdLoad_IsLoaded: not enough slots for all groupIdx's.");
    int s = BasicUiRLS_RenewSlot(t, c->internalID, c->groupIdx.value, c->groupSize.value, c->groupSlots.value,
                                 c->slot);
    if (s == -1 && c->internalID > 0) {
        // Refused a slot (its group allows none, or every slot is held by other commands): asked
        // again each frame it would be refused each frame, so the script goes on without it.
        PrintError("BasicUiRLS: load command %s gets no slot for resource %i; it goes on without it", w->name,
                   c->internalID);
        c->resourceID.value = c->offsetID.value = c->internalID = -1;
        c->slot = -1;
        return 1;
    }
    if (s != c->slot && s != -1) BasicUiWidgetTypeCmdSequence_Run(c->cmdLoad);
    c->slot = s;
    if (BasicUiRLS_IsBroken(t, c->internalID, c->groupIdx.value, c->groupSize.value, c->groupSlots.value, c->slot)) {
        c->resourceID.value = c->offsetID.value = c->internalID = -1;
        return 1;
    }
    if (!BasicUiRLS_IsLoaded(t, c->internalID)) return 0;
    BasicUiWidgetTypeCmdSequence_Run(c->cmdDone);
    return 1;
}
