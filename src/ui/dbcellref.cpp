// Database cell references of the UI: names resolved to a table once, again only when a name
// changes, so that commands run every frame without searching the databases.
#include "ui/dbcellref.h"

#include "db/database.h"
#include "ui/widgets/widgetrecord.h"

void BasicUiDbRef_Init(sBasicUiDbRef* ref)
{
    ref->dbNm = ref->dbTblNm = nullptr;
    ref->row = BasicUiValueINT_Make(0);
    ref->column = BasicUiValueINT_Make(0);
    ref->cachedNm = ref->cachedTblNm = nullptr;
    ref->table = nullptr;
}

void BasicUiDbRef_AddProperties(sBasicUiDbRef* ref, const sBasicUiDbRefNames& n, sBasicUiPropertyTracker* t)
{
    BasicUiPropertyTracker_Add(t, n.nm, eBasicUiPropertyTypeSTR, &ref->dbNm, 1, 0);
    BasicUiPropertyTracker_Add(t, n.tblNm, eBasicUiPropertyTypeSTR, &ref->dbTblNm, 1, 0);
    BasicUiPropertyTracker_Add(t, n.row, eBasicUiPropertyTypeINT, &ref->row, 1, 1);
    BasicUiPropertyTracker_Add(t, n.column, eBasicUiPropertyTypeINT, &ref->column, 1, 1);
}

sBasicDbTable* BasicUiTableCache_Update(sBasicUiTableCache* cache, sBasicUiEnvironment* env, const char* dbNm,
                                        const char* tblNm)
{
    if (cache->nm != dbNm || cache->tblNm != tblNm) {
        cache->nm = dbNm;
        cache->tblNm = tblNm;
        cache->table = nullptr;
        if (dbNm && tblNm) {
            sBasicDb* db = BasicUi_FindDb(env, dbNm);
            if (db) cache->table = BasicDbTable_Find(db, tblNm);
        }
    }
    return cache->table;
}

sBasicDbTable* BasicUiDbRef_Update(sBasicUiDbRef* ref, sBasicUiEnvironment* env)
{
    sBasicUiTableCache cache = {ref->cachedNm, ref->cachedTblNm, ref->table};
    ref->table = BasicUiTableCache_Update(&cache, env, ref->dbNm, ref->dbTblNm);
    ref->cachedNm = cache.nm;
    ref->cachedTblNm = cache.tblNm;
    return ref->table;
}

void BasicUiDbRef_Fini(sBasicUiDbRef* ref, sBasicUiEnvironment* env)
{
    BasicUiWidget_FreeString(env, &ref->dbNm);
    BasicUiWidget_FreeString(env, &ref->dbTblNm);
    ref->table = nullptr;
    ref->cachedNm = ref->cachedTblNm = nullptr;
}
