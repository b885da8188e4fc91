// The table database's accessors. Every cell access goes through one bounds check of table, row,
// column and element, so that a bad index from a UI script or a damaged save fails quietly instead
// of writing outside a row block.
#include "db/database.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "lib/memory.h"
#include "lib/printing.h"

const int basicDbTypeSizes[EBasicDbTableColumnTypeCount] = {0, 4, 1, 4, 4, 1};
const char* const basicDbTypeNames[EBasicDbTableColumnTypeCount] = {"null", "bool", "byte", "int", "float", "string"};

sBasicDb* basicDbPersist[kBasicDbPersistMax];
int basicDbPersistCount = 0;

// What GetStrElement hands out for a cell that is not a string. It is emptied on every call, and
// it has room for the 255 characters that GetSafeStringSize promises for non-string columns, so a
// caller that writes into it damages nothing.
static char emptyString[256];

void BasicDb_Init()
{
    for (int i = 0; i < kBasicDbPersistMax; ++i) basicDbPersist[i] = nullptr;
    basicDbPersistCount = 0;
}

void BasicDb_DbRegister(sBasicDb* db)
{
    if (!db || basicDbPersistCount >= kBasicDbPersistMax) return;
    basicDbPersist[basicDbPersistCount++] = db;
}

sBasicDb* BasicDb_DbGet(int index)
{
    if (index < 0 || index >= basicDbPersistCount) return nullptr;
    return basicDbPersist[index];
}

int BasicDb_DbCount() { return basicDbPersistCount; }

static void FreeIf(void* p)
{
    if (p) FreeManagedMemory(p, 0);
}

void BasicDb_Destroy(sBasicDb* db)
{
    while (db) {
        sBasicDb* next = db->next;
        if (!db->isContiguous) {
            sBasicDbTable* tables = db->table;
            for (int t = 0; tables && t < db->tables; ++t) {
                FreeIf(tables[t].name);
                FreeIf(tables[t].row);
                tables[t].rows = 0;
            }
            FreeIf(tables);
            sBasicDbTableDefinition* defs = db->tableDef;
            for (int d = 0; defs && d < db->tableDefs; ++d) {
                FreeIf(defs[d].name);
                sBasicDbTableColumnDefinition* columns = defs[d].column;
                for (int c = 0; columns && c < defs[d].columns; ++c) FreeIf(columns[c].name);
                FreeIf(columns);
                defs[d].columns = 0;
                defs[d].stride = 0;
            }
            FreeIf(defs);
            FreeIf(db->name);
        }
        FreeManagedMemory(db, 0);
        db = next;
    }
}

sBasicDbTable* BasicDbTable_Find(sBasicDb* db, const char* name)
{
    if (!db || !name) return nullptr;
    sBasicDbTable* tables = db->table;
    if (!tables) return nullptr;
    for (int t = 0; t < db->tables; ++t) {
        const char* tableName = tables[t].name;
        if (tableName && std::strcmp(tableName, name) == 0) return &tables[t];
    }
    return nullptr;
}

// 32-bit elements may sit at any byte offset and are little-endian words.
static int32_t Load32(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

static void Store32(uint8_t* p, int32_t value)
{
    uint32_t v = uint32_t(value);
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

static float LoadFloat(const uint8_t* p)
{
    int32_t bits = Load32(p);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

static void StoreFloat(uint8_t* p, float f)
{
    int32_t bits;
    std::memcpy(&bits, &f, 4);
    Store32(p, bits);
}

// The column record of a valid (table, column), or null.
static sBasicDbTableColumnDefinition* ColumnOf(sBasicDbTable* table, int column)
{
    if (!table) return nullptr;
    sBasicDbTableDefinition* def = table->def;
    if (!def) return nullptr;
    sBasicDbTableColumnDefinition* columns = def->column;
    if (!columns || column < 0 || column >= def->columns) return nullptr;
    return &columns[column];
}

// The column record of a valid cell, or null.
static sBasicDbTableColumnDefinition* CellColumn(sBasicDbTable* table, int column, int row)
{
    if (!table || !table->row) return nullptr;
    sBasicDbTableColumnDefinition* col = ColumnOf(table, column);
    if (!col || row < 0 || row >= table->rows) return nullptr;
    return col;
}

// The column record of a valid cell with an element 0. A column of count 0 has no bytes in the
// row, so reading "its" element 0 would read the next column, or past the row.
static sBasicDbTableColumnDefinition* FirstElementColumn(sBasicDbTable* table, int column, int row)
{
    sBasicDbTableColumnDefinition* col = CellColumn(table, column, row);
    return col && col->count >= 1 ? col : nullptr;
}

static int ElementSize(const sBasicDbTableColumnDefinition* col)
{
    return col->type < EBasicDbTableColumnTypeCount ? basicDbTypeSizes[col->type] : 0;
}

static uint8_t* ElementAddress(sBasicDbTable* table, const sBasicDbTableColumnDefinition* col, int row, int element)
{
    sBasicDbTableDefinition* def = table->def;
    return table->row.get() + size_t(row) * size_t(def->stride) + size_t(col->offset) +
           size_t(element) * size_t(ElementSize(col));
}

// Reads an integer element of a BOOL, BYTE or INT column; 0 for any other type (*isInteger 0).
static int ReadInteger(sBasicDbTable* table, const sBasicDbTableColumnDefinition* col, int row, int element,
                       int* isInteger)
{
    *isInteger = 1;
    switch (col->type) {
    case EBasicDbTableColumnTypeBOOL:
    case EBasicDbTableColumnTypeINT: return Load32(ElementAddress(table, col, row, element));
    case EBasicDbTableColumnTypeBYTE: return *ElementAddress(table, col, row, element);
    default: *isInteger = 0; return 0;
    }
}

static void WriteInteger(sBasicDbTable* table, const sBasicDbTableColumnDefinition* col, int row, int element,
                         int value)
{
    switch (col->type) {
    case EBasicDbTableColumnTypeBOOL: Store32(ElementAddress(table, col, row, element), value != 0 ? 1 : 0); break;
    case EBasicDbTableColumnTypeINT: Store32(ElementAddress(table, col, row, element), value); break;
    case EBasicDbTableColumnTypeBYTE:
        *ElementAddress(table, col, row, element) = uint8_t(value < 0 ? 0 : value > 255 ? 255 : value);
        break;
    default: break;
    }
}

int BasicDbTable_GetElementI(sBasicDbTable* table, int column, int row)
{
    sBasicDbTableColumnDefinition* col = FirstElementColumn(table, column, row);
    if (!col) return 0;
    int isInteger;
    return ReadInteger(table, col, row, 0, &isInteger);
}

int BasicDbTable_GetElementI(sBasicDbTable* table, int column, int row, int defaultValue)
{
    sBasicDbTableColumnDefinition* col = FirstElementColumn(table, column, row);
    if (!col) return defaultValue;
    int isInteger;
    int value = ReadInteger(table, col, row, 0, &isInteger);
    return isInteger ? value : defaultValue;
}

int BasicDbTable_GetElementIN(sBasicDbTable* table, int column, int row, int element, int defaultValue)
{
    sBasicDbTableColumnDefinition* col = CellColumn(table, column, row);
    if (!col || element < 0 || element >= col->count) return defaultValue;
    int isInteger;
    int value = ReadInteger(table, col, row, element, &isInteger);
    return isInteger ? value : defaultValue;
}

void BasicDbTable_SetElementI(sBasicDbTable* table, int column, int row, int value)
{
    sBasicDbTableColumnDefinition* col = FirstElementColumn(table, column, row);
    if (col) WriteInteger(table, col, row, 0, value);
}

void BasicDbTable_SetElementIN(sBasicDbTable* table, int column, int row, int element, int value)
{
    sBasicDbTableColumnDefinition* col = CellColumn(table, column, row);
    if (col && element >= 0 && element < col->count) WriteInteger(table, col, row, element, value);
}

char BasicDbTable_GetElementCN(sBasicDbTable* table, int column, int row, int element, char defaultValue)
{
    sBasicDbTableColumnDefinition* col = CellColumn(table, column, row);
    if (!col || col->type != EBasicDbTableColumnTypeSTR || element < 0 || element >= col->count) return defaultValue;
    return char(*ElementAddress(table, col, row, element));
}

void BasicDbTable_SetElementCN(sBasicDbTable* table, int column, int row, int element, char value)
{
    sBasicDbTableColumnDefinition* col = CellColumn(table, column, row);
    if (!col || col->type != EBasicDbTableColumnTypeSTR || element < 0 || element >= col->count) return;
    // The last place of a string cell keeps its NUL, so that the cell always ends inside itself.
    if (element == col->count - 1 && value != 0) return;
    *ElementAddress(table, col, row, element) = uint8_t(value);
}

int BasicDbTable_GetElementCount(sBasicDbTable* table, int column)
{
    sBasicDbTableColumnDefinition* col = ColumnOf(table, column);
    if (!col) return 0;
    return col->count < 0 ? 0 : col->count;
}

int BasicDbTable_GetSafeStringSize(sBasicDbTable* table, int column)
{
    sBasicDbTableColumnDefinition* col = ColumnOf(table, column);
    if (!col) return 0;
    if (col->type != EBasicDbTableColumnTypeSTR) return 255;
    return col->count > 1 ? col->count - 1 : 0;
}

char* BasicDbTable_GetStrElement(sBasicDbTable* table, int row, int column)
{
    sBasicDbTableColumnDefinition* col = CellColumn(table, column, row);
    // A string column of count 0 has no room for even the NUL: it reads as empty.
    if (col && col->type == EBasicDbTableColumnTypeSTR && col->count >= 1)
        return reinterpret_cast<char*>(ElementAddress(table, col, row, 0));
    emptyString[0] = 0;
    return emptyString;
}

static int IsBlank(char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }

// Reads one number, the word at the start of text (at most length chars), as "%i" (isFloat 0) or
// "%f" would. Returns 1 with the value in *intValue or *floatValue; 0 when the word is not wholly
// a number that the cell can hold: an integer beyond an int's range, a float that is not finite,
// or a number followed by other characters ("1e30" in an integer column).
static int ReadNumber(const char* text, int length, int isFloat, int* intValue, float* floatValue)
{
    char token[128];
    int n = 0;
    while (n < length && n < int(sizeof token) - 1 && text[n] && !IsBlank(text[n])) {
        token[n] = text[n];
        ++n;
    }
    token[n] = 0;
    char* end = token;
    errno = 0;
    if (isFloat) {
        *floatValue = std::strtof(token, &end);
        if (!std::isfinite(*floatValue)) return 0;
    } else {
        long long v = std::strtoll(token, &end, 0);
        if (errno == ERANGE || v > INT_MAX || v < INT_MIN) return 0;
        *intValue = int(v);
    }
    return end != token && *end == 0 ? 1 : 0;
}

int BasicDbTable_GetElementFromStr(sBasicDbTable* table, int row, int column, const char* text, int length)
{
    if (!text) return 0;
    sBasicDbTableColumnDefinition* col = CellColumn(table, column, row);
    if (!col) return 0;

    if (col->type == EBasicDbTableColumnTypeSTR) {
        // A count of 0 leaves no room for the NUL: nothing is stored.
        if (length > 0 && col->count >= 1) {
            char* cell = reinterpret_cast<char*>(ElementAddress(table, col, row, 0));
            int most = length < col->count - 1 ? length : col->count - 1;
            int n = 0;
            while (n < most && text[n]) {
                cell[n] = text[n];
                ++n;
            }
            cell[n] = 0;
        }
        return 1;
    }
    if (col->type == EBasicDbTableColumnTypeNULL || col->type >= EBasicDbTableColumnTypeCount) return 1;

    int isFloat = col->type == EBasicDbTableColumnTypeFLT;
    int pos = 0;
    while (pos < length && IsBlank(text[pos])) ++pos;
    for (int e = 0; e < col->count; ++e) {
        int remaining = length - pos;
        if (remaining < 1 || !text[pos]) break;
        int intValue = 0;
        float floatValue = 0;
        // A number the cell cannot hold is refused: it and the elements after it keep their values.
        if (!ReadNumber(text + pos, remaining, isFloat, &intValue, &floatValue)) return 0;
        uint8_t* p = ElementAddress(table, col, row, e);
        if (isFloat)
            StoreFloat(p, floatValue);
        else if (col->type == EBasicDbTableColumnTypeBYTE)
            *p = uint8_t(intValue);
        else
            Store32(p, intValue);
        while (pos < length && text[pos] && !IsBlank(text[pos])) ++pos;
        while (pos < length && IsBlank(text[pos])) ++pos;
    }
    return 1;
}

int BasicDbTable_PutElementOntoStr(sBasicDbTable* table, int row, int column, char* text, int length)
{
    if (!text) return 0;
    if (row == -1) {
        sBasicDbTableColumnDefinition* col = ColumnOf(table, column);
        if (!col) return 0;
        const char* name = col->name;
        PrintString(text, length, "%s", name ? name : "");
        return 1;
    }
    sBasicDbTableColumnDefinition* col = CellColumn(table, column, row);
    if (!col) return 0;
    if (length >= 1) text[0] = 0;

    if (col->type == EBasicDbTableColumnTypeSTR) {
        if (col->count >= 1) PrintString(text, length, "%s", BasicDbTable_GetStrElement(table, row, column));
        return 1;
    }
    if (col->type == EBasicDbTableColumnTypeNULL || col->type >= EBasicDbTableColumnTypeCount) return 1;

    int space = length;
    for (int e = 0; e < col->count; ++e) {
        if (space < 1) break;
        const uint8_t* p = ElementAddress(table, col, row, e);
        int written;
        if (col->type == EBasicDbTableColumnTypeFLT) {
            written = PrintString(text, space, "%f ", double(LoadFloat(p)));
        } else {
            int isInteger;
            written = PrintString(text, space, "%i ", ReadInteger(table, col, row, e, &isInteger));
        }
        text += written;
        space -= written;
    }
    return 1;
}

// 1 when the entry a sorts before b (a larger key at the first key that differs), -1 when after,
// 0 when every key is equal.
static int CompareEntries(sBasicDbTable* table, int row, const int* keyColumns, int keyCount, int a, int b)
{
    for (int k = 0; k < keyCount; ++k) {
        int ka = BasicDbTable_GetElementIN(table, keyColumns[k], row, a, -1);
        int kb = BasicDbTable_GetElementIN(table, keyColumns[k], row, b, -1);
        if (ka != kb) return ka > kb ? 1 : -1;
    }
    return 0;
}

static void SwapEntries(sBasicDbTable* table, int column, int row, int i, int j)
{
    int vi = BasicDbTable_GetElementIN(table, column, row, i, -1);
    int vj = BasicDbTable_GetElementIN(table, column, row, j, -1);
    BasicDbTable_SetElementIN(table, column, row, i, vj);
    BasicDbTable_SetElementIN(table, column, row, j, vi);
}

void BasicDbTable_QSortIN(sBasicDbTable* table, int column, int row, const int* keyColumns, int keyCount, int lo,
                          int hi)
{
    if (!keyColumns) keyCount = 0;
    // Only the elements the array has can be sorted.
    int count = BasicDbTable_GetElementCount(table, column);
    if (lo < 0) lo = 0;
    if (hi > count - 1) hi = count - 1;
    // The smaller part is sorted by recursion and the larger one by the loop, so the stack stays
    // shallow whatever the keys.
    while (lo < hi) {
        SwapEntries(table, column, row, lo, lo + (hi - lo) / 2);
        int pivot = BasicDbTable_GetElementIN(table, column, row, lo, -1);
        int i = lo + 1;
        int j = hi;
        for (;;) {
            while (i <= hi &&
                   CompareEntries(table, row, keyColumns, keyCount,
                                  BasicDbTable_GetElementIN(table, column, row, i, -1), pivot) >= 0)
                ++i;
            while (j >= lo &&
                   CompareEntries(table, row, keyColumns, keyCount,
                                  BasicDbTable_GetElementIN(table, column, row, j, -1), pivot) < 0)
                --j;
            if (i < j) SwapEntries(table, column, row, i, j);
            if (i > j) break;
        }
        SwapEntries(table, column, row, lo, j);
        if (j - lo < hi - j) {
            BasicDbTable_QSortIN(table, column, row, keyColumns, keyCount, lo, j - 1);
            lo = j + 1;
        } else {
            BasicDbTable_QSortIN(table, column, row, keyColumns, keyCount, j + 1, hi);
            hi = j - 1;
        }
    }
}
