// Building, checking and relocating the contiguous image of a database. The image is laid out in
// one pass from the sizes of its parts, and every offset read back from a file is checked against
// the image's length before it is followed.
#include "db/dbimage.h"

#include <climits>
#include <cstdarg>
#include <cstring>

#include "host/arena.h"
#include "host/errorlog.h"
#include "lib/memory.h"
#include "lib/printing.h"

// Byte positions of the fields inside the image's records.
enum {
    kHeaderBytes = 36,
    kHeaderIsContiguous = 8,
    kHeaderName = 12,
    kHeaderTableDefs = 16,
    kHeaderTableDef = 20,
    kHeaderTables = 24,
    kHeaderTable = 28,
    kHeaderNext = 32,
    kDefBytes = 16,
    kDefColumns = 4,
    kDefStride = 8,
    kDefColumn = 12,
    kTableBytes = 20,
    kTableDefIndex = 4,
    kTableDef = 8,
    kTableRows = 12,
    kTableRow = 16,
    kColumnBytes = 16,
    kColumnType = 4,
    kColumnCount = 8,
    kColumnOffset = 12,
};

// ---- The source database as it will be packed --------------------------------------------------

// Counts as the packing sees them: an array that is missing holds nothing, a negative count is 0.
static int DefCount(const sBasicDb* db) { return db->tableDef && db->tableDefs > 0 ? db->tableDefs : 0; }
static int TableCount(const sBasicDb* db) { return db->table && db->tables > 0 ? db->tables : 0; }
static int ColumnCount(const sBasicDbTableDefinition* def) { return def->column && def->columns > 0 ? def->columns : 0; }

// The index of a table's definition in the database's array, or -1 when it has none (or its
// index and pointer disagree).
static int DefIndexOf(const sBasicDb* db, const sBasicDbTable* table)
{
    const sBasicDbTableDefinition* def = table->def;
    const sBasicDbTableDefinition* defs = db->tableDef;
    int d = table->defIndex;
    if (!def || !defs || d < 0 || d >= DefCount(db) || &defs[d] != def) return -1;
    return d;
}

// Rows packed for a table: none without a definition, or without a row block when its rows have
// bytes.
static int PackedRows(const sBasicDb* db, const sBasicDbTable* table)
{
    if (DefIndexOf(db, table) < 0 || table->rows < 0) return 0;
    const sBasicDbTableDefinition* def = table->def;
    if (!table->row && def->stride != 0) return 0;
    return table->rows;
}

static int64_t StringBytes(const char* s)
{
    if (!s) return 4;
    return 4 + ((int64_t(std::strlen(s)) + 1 + 3) & ~int64_t(3));
}

static int64_t ImageSize(const sBasicDb* db)
{
    int defs = DefCount(db);
    int tables = TableCount(db);
    const sBasicDbTableDefinition* def = db->tableDef;
    const sBasicDbTable* table = db->table;
    int64_t size = kHeaderBytes + int64_t(kDefBytes) * defs + int64_t(kTableBytes) * tables;
    size += StringBytes(db->name);
    for (int d = 0; d < defs; ++d) {
        int columns = ColumnCount(&def[d]);
        const sBasicDbTableColumnDefinition* column = def[d].column;
        size += int64_t(kColumnBytes) * columns + StringBytes(def[d].name);
        for (int c = 0; c < columns; ++c) size += StringBytes(column[c].name);
    }
    for (int t = 0; t < tables; ++t) {
        int rows = PackedRows(db, &table[t]);
        if (rows > 0) {
            const sBasicDbTableDefinition* tdef = table[t].def;
            size += int64_t(rows) * (tdef->stride > 0 ? tdef->stride : 0);
        }
        size += StringBytes(table[t].name);
    }
    return size;
}

int BasicDb_Size(sBasicDb** db)
{
    if (!db || !*db) return 0;
    int64_t size = ImageSize(*db);
    return size > INT_MAX ? 0 : int(size);
}

// ---- Reading and writing image fields at any byte position ------------------------------------

static int32_t Read32(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

static void Write32(uint8_t* p, int32_t value)
{
    uint32_t v = uint32_t(value);
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

// Points the 32-bit pointer field at p to target (null for none).
static void WritePointer(uint8_t* p, const void* target) { Write32(p, int32_t(ArenaOffset(target))); }

// ---- Packing -----------------------------------------------------------------------------------

// Writes s as its length and characters at *cursor, points the field at `field` at them, and
// moves the cursor on. A null string is written as length 0 and a null field.
static void PackString(uint8_t** cursor, uint8_t* field, const char* s)
{
    if (!s) {
        Write32(*cursor, 0);
        WritePointer(field, nullptr);
        *cursor += 4;
        return;
    }
    int n = int(std::strlen(s)) + 1;
    int length = (n + 3) & ~3;
    Write32(*cursor, length);
    std::memcpy(*cursor + 4, s, size_t(n));
    std::memset(*cursor + 4 + n, 0, size_t(length - n));
    WritePointer(field, *cursor + 4);
    *cursor += 4 + length;
}

int BasicDb_CreateContiguousCopy(sBasicDb** source, sBasicDb** copy)
{
    if (!source || !copy || !*source) return 0;
    const sBasicDb* src = *source;
    int size = BasicDb_Size(source);
    if (size < kHeaderBytes)
        return PrintError("database image: database %s is too large for one image",
                          HostQuoted(src->name.get()).c_str());
    void* memory = nullptr;
    if (!AllocateMemory(&memory, size) || !memory)
        return PrintError("database image: no memory for the %i-byte image of database %s", size,
                          HostQuoted(src->name.get()).c_str());
    uint8_t* block = static_cast<uint8_t*>(memory);
    uint8_t* end = block + size;
    std::memset(block, 0, size_t(size));

    int defs = DefCount(src);
    int tables = TableCount(src);
    const sBasicDbTableDefinition* srcDef = src->tableDef;
    const sBasicDbTable* srcTable = src->table;
    uint8_t* defRecords = block + kHeaderBytes;
    uint8_t* tableRecords = defRecords + kDefBytes * defs;

    Write32(block + 0, src->size);
    Write32(block + 4, src->version);
    Write32(block + kHeaderIsContiguous, 1);
    Write32(block + kHeaderTableDefs, defs);
    WritePointer(block + kHeaderTableDef, defRecords);
    Write32(block + kHeaderTables, tables);
    WritePointer(block + kHeaderTable, tableRecords);
    WritePointer(block + kHeaderNext, nullptr);

    uint8_t* cursor = tableRecords + kTableBytes * tables;
    for (int d = 0; d < defs; ++d) {
        uint8_t* rec = defRecords + kDefBytes * d;
        int columns = ColumnCount(&srcDef[d]);
        const sBasicDbTableColumnDefinition* column = srcDef[d].column;
        Write32(rec + kDefColumns, columns);
        Write32(rec + kDefStride, srcDef[d].stride);
        WritePointer(rec + kDefColumn, cursor);
        for (int c = 0; c < columns; ++c, cursor += kColumnBytes) {
            cursor[kColumnType] = column[c].type;
            Write32(cursor + kColumnCount, column[c].count);
            Write32(cursor + kColumnOffset, column[c].offset);
        }
    }
    for (int t = 0; t < tables; ++t) {
        uint8_t* rec = tableRecords + kTableBytes * t;
        int defIndex = DefIndexOf(src, &srcTable[t]);
        int rows = PackedRows(src, &srcTable[t]);
        Write32(rec + kTableDefIndex, defIndex);
        WritePointer(rec + kTableDef, defIndex >= 0 ? defRecords + kDefBytes * defIndex : nullptr);
        Write32(rec + kTableRows, rows);
        WritePointer(rec + kTableRow, cursor);
        if (rows > 0 && srcDef[defIndex].stride > 0) {
            size_t bytes = size_t(rows) * size_t(srcDef[defIndex].stride);
            std::memcpy(cursor, srcTable[t].row.get(), bytes);
            cursor += bytes;
        }
    }

    PackString(&cursor, block + kHeaderName, src->name);
    for (int d = 0; d < defs; ++d) {
        uint8_t* rec = defRecords + kDefBytes * d;
        PackString(&cursor, rec, srcDef[d].name);
        int columns = ColumnCount(&srcDef[d]);
        const sBasicDbTableColumnDefinition* column = srcDef[d].column;
        uint8_t* columnRecords = static_cast<uint8_t*>(ArenaAddress(uint32_t(Read32(rec + kDefColumn))));
        for (int c = 0; c < columns; ++c) PackString(&cursor, columnRecords + kColumnBytes * c, column[c].name);
    }
    for (int t = 0; t < tables; ++t) PackString(&cursor, tableRecords + kTableBytes * t, srcTable[t].name);

    // The image must hold together exactly as a loaded one has to: a source whose layout is not
    // sound (a stride that does not match its columns, a string cell without its NUL) is refused
    // here rather than saved.
    if (cursor != end || !BasicDb_CheckImage(block, size)) {
        FreeManagedMemory(block, 0);
        *copy = nullptr;
        return 0;
    }
    *copy = reinterpret_cast<sBasicDb*>(block);
    return 1;
}

// ---- The bounded walk --------------------------------------------------------------------------

// Where each definition's column records begin is kept for every `step`-th definition, so that a
// table finds its definition's columns in at most `step` additions without any allocation.
enum { kColumnCheckpoints = 256 };

// The walk over an image. With `patch` set it also rewrites the pointer fields; it is only run
// that way on an image that has already passed the walk without it.
struct ImageWalk {
    uint8_t* base;
    int64_t size;
    int64_t cursor;
    int patch;
    int64_t step;
    int64_t checkpoint[kColumnCheckpoints];
};

__attribute__((format(printf, 1, 2))) static int Damaged(const char* format, ...);
static int Damaged(const char* format, ...)
{
    char text[200];
    va_list args;
    va_start(args, format);
    VPrintString(text, int(sizeof text), format, args);
    va_end(args);
    return PrintError("damaged database image: %s", text);
}

// Byte position of the column records of definition d (0 <= d < defs).
static int64_t ColumnRecordsOf(const ImageWalk* w, int64_t defRecords, int64_t d)
{
    int64_t first = d / w->step * w->step;
    int64_t at = w->checkpoint[d / w->step];
    for (int64_t e = first; e < d; ++e) at += kColumnBytes * int64_t(Read32(w->base + defRecords + kDefBytes * e + kDefColumns));
    return at;
}

// Moves past one string of the area, pointing the field at byte `field` at its characters.
static int WalkString(ImageWalk* w, int64_t field, const char* kind, int64_t index)
{
    if (w->cursor + 4 > w->size) return Damaged("the name of %s %i runs past the end", kind, int(index));
    const uint8_t* p = w->base + w->cursor;
    int32_t length = Read32(p);
    if (length < 0 || length % 4 != 0 || w->cursor + 4 + length > w->size)
        return Damaged("the name of %s %i has the bad length %i", kind, int(index), length);
    if (length > 0) {
        const void* nul = std::memchr(p + 4, 0, size_t(length));
        if (!nul) return Damaged("the name of %s %i has no end", kind, int(index));
        int64_t n = static_cast<const uint8_t*>(nul) - (p + 4) + 1;
        if (((n + 3) & ~int64_t(3)) != length)
            return Damaged("the name of %s %i is padded to %i bytes", kind, int(index), length);
    }
    if (w->patch) WritePointer(w->base + field, length > 0 ? p + 4 : nullptr);
    w->cursor += 4 + length;
    return 1;
}

// Every string cell of a table's rows (at byte `rows` of the image) ends inside itself.
static int CheckStringCells(const ImageWalk* w, int64_t t, int64_t columnRecords, int64_t columns, int64_t rowBlock,
                            int64_t rows, int64_t stride)
{
    for (int64_t c = 0; c < columns; ++c) {
        const uint8_t* col = w->base + columnRecords + kColumnBytes * c;
        int64_t count = Read32(col + kColumnCount);
        if (col[kColumnType] != EBasicDbTableColumnTypeSTR || count < 1) continue;
        int64_t offset = Read32(col + kColumnOffset);
        for (int64_t r = 0; r < rows; ++r) {
            if (!std::memchr(w->base + rowBlock + r * stride + offset, 0, size_t(count)))
                return Damaged("table %i, row %i: column %i holds a string without its end", int(t), int(r), int(c));
        }
    }
    return 1;
}

static int WalkImage(ImageWalk* w)
{
    uint8_t* b = w->base;
    if (w->size < kHeaderBytes) return Damaged("%i bytes are too few for the header", int(w->size));
    if (Read32(b + kHeaderIsContiguous) != 1) return Damaged("it is not marked contiguous");
    int64_t defs = Read32(b + kHeaderTableDefs);
    int64_t tables = Read32(b + kHeaderTables);
    if (defs < 0 || tables < 0) return Damaged("%i definitions and %i tables", int(defs), int(tables));
    int64_t defRecords = kHeaderBytes;
    int64_t tableRecords = defRecords + kDefBytes * defs;
    w->cursor = tableRecords + kTableBytes * tables;
    if (w->cursor > w->size)
        return Damaged("%i definitions and %i tables do not fit in %i bytes", int(defs), int(tables), int(w->size));
    if (w->patch) {
        WritePointer(b + kHeaderNext, nullptr);
        WritePointer(b + kHeaderTableDef, b + defRecords);
        WritePointer(b + kHeaderTable, b + tableRecords);
    }

    // Column records: every type known, every count non-negative, the columns back to back and
    // the stride their sum, so that no element lies outside its row.
    w->step = defs / kColumnCheckpoints + 1;
    for (int64_t d = 0; d < defs; ++d) {
        uint8_t* rec = b + defRecords + kDefBytes * d;
        int64_t columns = Read32(rec + kDefColumns);
        if (columns < 0 || w->cursor + kColumnBytes * columns > w->size)
            return Damaged("definition %i has %i columns", int(d), int(columns));
        if (d % w->step == 0) w->checkpoint[d / w->step] = w->cursor;
        int64_t stride = 0;
        for (int64_t c = 0; c < columns; ++c) {
            const uint8_t* col = b + w->cursor + kColumnBytes * c;
            int type = col[kColumnType];
            int64_t count = Read32(col + kColumnCount);
            if (type >= EBasicDbTableColumnTypeCount)
                return Damaged("definition %i, column %i has the unknown type %i", int(d), int(c), type);
            if (count < 0) return Damaged("definition %i, column %i has the count %i", int(d), int(c), int(count));
            // A column without bytes (count 0, or no type) is never read or written, so only the
            // columns that hold bytes must lie back to back.
            int64_t bytes = count * basicDbTypeSizes[type];
            if (bytes > 0 && Read32(col + kColumnOffset) != stride)
                return Damaged("definition %i, column %i is not at byte %i of the row", int(d), int(c), int(stride));
            stride += bytes;
            if (stride > INT_MAX) return Damaged("definition %i has rows of over 2 GB", int(d));
        }
        if (Read32(rec + kDefStride) != stride)
            return Damaged("definition %i has the stride %i, not %i", int(d), Read32(rec + kDefStride), int(stride));
        if (w->patch) WritePointer(rec + kDefColumn, b + w->cursor);
        w->cursor += kColumnBytes * columns;
    }

    // Row blocks: the definition index in range and rows x stride inside the block.
    for (int64_t t = 0; t < tables; ++t) {
        uint8_t* rec = b + tableRecords + kTableBytes * t;
        int64_t defIndex = Read32(rec + kTableDefIndex);
        int64_t rows = Read32(rec + kTableRows);
        if (rows < 0) return Damaged("table %i has %i rows", int(t), int(rows));
        if (defIndex == -1 && rows != 0) return Damaged("table %i has rows but no definition", int(t));
        if (defIndex < -1 || defIndex >= defs)
            return Damaged("table %i names definition %i of %i", int(t), int(defIndex), int(defs));
        uint8_t* def = defIndex >= 0 ? b + defRecords + kDefBytes * defIndex : nullptr;
        int64_t stride = def ? Read32(def + kDefStride) : 0;
        if (w->cursor + rows * stride > w->size)
            return Damaged("table %i: %i rows of %i bytes run past the end", int(t), int(rows), int(stride));
        if (def && !w->patch &&
            !CheckStringCells(w, t, ColumnRecordsOf(w, defRecords, defIndex), Read32(def + kDefColumns), w->cursor,
                              rows, stride))
            return 0;
        if (w->patch) {
            WritePointer(rec + kTableDef, def);
            WritePointer(rec + kTableRow, b + w->cursor);
        }
        w->cursor += rows * stride;
    }

    // The string area, in the order the packing writes it.
    if (!WalkString(w, kHeaderName, "the database", 0)) return 0;
    int64_t columnRecords = tableRecords + kTableBytes * tables;
    for (int64_t d = 0; d < defs; ++d) {
        int64_t rec = defRecords + kDefBytes * d;
        if (!WalkString(w, rec, "definition", d)) return 0;
        int64_t columns = Read32(b + rec + kDefColumns);
        for (int64_t c = 0; c < columns; ++c)
            if (!WalkString(w, columnRecords + kColumnBytes * c, "column", c)) return 0;
        columnRecords += kColumnBytes * columns;
    }
    for (int64_t t = 0; t < tables; ++t)
        if (!WalkString(w, tableRecords + kTableBytes * t, "table", t)) return 0;

    if (w->cursor != w->size) return Damaged("its contents end at byte %i of %i", int(w->cursor), int(w->size));
    return 1;
}

int BasicDb_CheckImage(const void* image, int size)
{
    if (!image || size < 0) return PrintError("damaged database image: no block");
    // The walk without patching only reads.
    ImageWalk w = {};
    w.base = static_cast<uint8_t*>(const_cast<void*>(image));
    w.size = size;
    return WalkImage(&w);
}

int BasicDb_PatchPointers(sBasicDb** db, int size)
{
    if (!db || !*db) return 0;
    uint8_t* block = reinterpret_cast<uint8_t*>(*db);
    if (size < 0 || !ArenaContains(block, uint32_t(size)))
        return PrintError("database image: %i bytes are not in game memory", size);
    // Its records are read as 32-bit fields once patched.
    if (reinterpret_cast<uintptr_t>(block) % 4 != 0) return PrintError("database image: not on a 4-byte boundary");
    if (!BasicDb_CheckImage(block, size)) return 0;
    ImageWalk w = {};
    w.base = block;
    w.size = size;
    w.patch = 1;
    return WalkImage(&w);
}

int BasicDb_LoadImage(sBasicDb** db, const void* image, int size)
{
    if (!db || !*db || !image) return PrintError("database image: nothing to load into");
    if (!(*db)->isContiguous) return PrintError("database image: the database is not contiguous");
    int expected = BasicDb_Size(db);
    if (size != expected)
        return PrintError("database image: %i bytes do not match the database's %i bytes", size, expected);
    if (!BasicDb_CheckImage(image, size)) return 0;
    std::memmove(*db, image, size_t(size));
    return BasicDb_PatchPointers(db, size);
}
