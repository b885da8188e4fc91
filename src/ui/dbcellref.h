// A reference to one database cell that commands and widgets embed: the database and table by
// name with a row and a column, the table found by the names kept until the names change.
#pragma once

#include "ui/environment.h"

struct sBasicDbTable;

struct sBasicUiDbRef {
    char* dbNm;     // owned
    char* dbTblNm;  // owned
    sBasicUiValueINT row;
    sBasicUiValueINT column;
    const char* cachedNm;
    const char* cachedTblNm;
    sBasicDbTable* table;
};

// Names of the four properties of a reference: "<prefix>.Nm", ".tblNm", ".row", ".column".
struct sBasicUiDbRefNames {
    const char* nm;
    const char* tblNm;
    const char* row;
    const char* column;
};

void BasicUiDbRef_Init(sBasicUiDbRef* ref);
// Appends the reference's four properties.
void BasicUiDbRef_AddProperties(sBasicUiDbRef* ref, const sBasicUiDbRefNames& names, sBasicUiPropertyTracker* t);
// The table named, looked up in env again when the names changed since the last look-up; null
// when the database or table does not exist.
sBasicDbTable* BasicUiDbRef_Update(sBasicUiDbRef* ref, sBasicUiEnvironment* env);
// Frees the names.
void BasicUiDbRef_Fini(sBasicUiDbRef* ref, sBasicUiEnvironment* env);

// The table of a database and table name pair in env, kept in *cache until either name pointer
// changes. Used by commands that hold the names as separate properties.
struct sBasicUiTableCache {
    const char* nm;
    const char* tblNm;
    sBasicDbTable* table;
};
sBasicDbTable* BasicUiTableCache_Update(sBasicUiTableCache* cache, sBasicUiEnvironment* env, const char* dbNm,
                                        const char* tblNm);
