// The table database: named tables of typed, fixed-size columns, each table's rows in one flat
// block with a fixed stride. Every cell is read and written through the accessors below, which
// test their bounds and fail quietly (a failure value, or a write that is dropped).
//
// The records keep a fixed byte layout with 32-bit pointer fields, because the database is also
// packed into one contiguous image that is the save file (src/db/dbimage.h).
#pragma once

#include <cstdint>

#include "host/ptr32.h"

enum eBasicDbTableColoumnType : uint8_t {
    EBasicDbTableColumnTypeNULL = 0,
    EBasicDbTableColumnTypeBOOL = 1,  // 32-bit word, 0 or 1
    EBasicDbTableColumnTypeBYTE = 2,  // unsigned byte
    EBasicDbTableColumnTypeINT = 3,   // signed 32-bit
    EBasicDbTableColumnTypeFLT = 4,   // 32-bit float
    EBasicDbTableColumnTypeSTR = 5,   // char array of count bytes, NUL-terminated
    EBasicDbTableColumnTypeCount = 6,
};

// Element size in bytes and the type name written to XML, by type.
extern const int basicDbTypeSizes[EBasicDbTableColumnTypeCount];
extern const char* const basicDbTypeNames[EBasicDbTableColumnTypeCount];

struct sBasicDbTableColumnDefinition {
    Ptr32<char> name;
    uint8_t type;  // eBasicDbTableColoumnType
    uint8_t pad[3];
    int32_t count;   // elements
    int32_t offset;  // byte offset of element 0 inside a row
};
static_assert(sizeof(sBasicDbTableColumnDefinition) == 16, "column records are 16 bytes");

struct sBasicDbTableDefinition {
    Ptr32<char> name;
    int32_t columns;
    int32_t stride;  // bytes per row: the columns back to back, no padding
    Ptr32<sBasicDbTableColumnDefinition> column;
};
static_assert(sizeof(sBasicDbTableDefinition) == 16, "definition records are 16 bytes");

struct sBasicDbTable {
    Ptr32<char> name;
    int32_t defIndex;
    Ptr32<sBasicDbTableDefinition> def;
    int32_t rows;
    Ptr32<uint8_t> row;  // rows x stride bytes
};
static_assert(sizeof(sBasicDbTable) == 20, "table records are 20 bytes");

struct sBasicDb {
    int32_t size;          // carried along by copies
    int32_t version;       // carried along by copies
    int32_t isContiguous;  // 1: the whole database is one block
    Ptr32<char> name;
    int32_t tableDefs;
    Ptr32<sBasicDbTableDefinition> tableDef;
    int32_t tables;
    Ptr32<sBasicDbTable> table;
    Ptr32<sBasicDb> next;  // the next database of the same XML file
};
static_assert(sizeof(sBasicDb) == 36, "the database record is the 36-byte image header");

// The registry of databases that outlive a UI environment.
constexpr int kBasicDbPersistMax = 16;
extern sBasicDb* basicDbPersist[kBasicDbPersistMax];
extern int basicDbPersistCount;

void BasicDb_Init();
// Drops db silently when it is null or the registry is full.
void BasicDb_DbRegister(sBasicDb* db);
sBasicDb* BasicDb_DbGet(int index);
int BasicDb_DbCount();

// Frees db and every database chained behind it, piecewise or contiguous.
void BasicDb_Destroy(sBasicDb* db);

// The first table named name (case-sensitive); null for a null database or name.
sBasicDbTable* BasicDbTable_Find(sBasicDb* db, const char* name);

// Numeric family: (table, column, row [, element] [, value or default]).
int BasicDbTable_GetElementI(sBasicDbTable* table, int column, int row);
int BasicDbTable_GetElementI(sBasicDbTable* table, int column, int row, int defaultValue);
int BasicDbTable_GetElementIN(sBasicDbTable* table, int column, int row, int element, int defaultValue);
void BasicDbTable_SetElementI(sBasicDbTable* table, int column, int row, int value);
void BasicDbTable_SetElementIN(sBasicDbTable* table, int column, int row, int element, int value);
char BasicDbTable_GetElementCN(sBasicDbTable* table, int column, int row, int element, char defaultValue);
void BasicDbTable_SetElementCN(sBasicDbTable* table, int column, int row, int element, char value);
int BasicDbTable_GetElementCount(sBasicDbTable* table, int column);
// The longest string a STR cell of the column holds; 255 for other types, 0 when invalid.
int BasicDbTable_GetSafeStringSize(sBasicDbTable* table, int column);

// Text family: (table, row, column, ...).
// The characters of a STR cell, or an empty string (never null) for any other cell.
char* BasicDbTable_GetStrElement(sBasicDbTable* table, int row, int column);
// Parses text (at most length chars) into the cell; 1 when the cell is valid and its text fits it.
// A number the cell cannot hold (not wholly a number, beyond an int, not finite) is refused with
// 0, and it and the numbers after it keep their values.
int BasicDbTable_GetElementFromStr(sBasicDbTable* table, int row, int column, const char* text, int length);
// Formats the cell into text (at most length bytes with the NUL); row -1 writes the column's name.
int BasicDbTable_PutElementOntoStr(sBasicDbTable* table, int row, int column, char* text, int length);

// Orders the elements lo..hi of the INT array (column, row) by descending keys: each element is
// an index v into the key columns of the same row, compared in the order of keyColumns.
void BasicDbTable_QSortIN(sBasicDbTable* table, int column, int row, const int* keyColumns, int keyCount, int lo,
                          int hi);
