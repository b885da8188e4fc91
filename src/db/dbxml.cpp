// Reading databases from their XML form element by element with the streaming XML reader, and
// writing them back in the same form.
#include "db/dbxml.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/errorlog.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/strings.h"
#include "platform/utilities.h"
#include "xml/xmlreader.h"

// A cell's text is read into a buffer of this size.
enum { kCellBufferSize = 4096 };

// Where the loader is inside one file.
struct DbLoad {
    sBasicXmlReader reader;
    sBasicDb* current;  // the database being filled
    int defsRead;       // d
    int columnsRead;    // c: of the definition defsRead - 1
    int tablesRead;     // t
    int inDef;          // inside an open BasicDbTableDef element
    int databasesRead;  // BasicDb elements met
    char cell[kCellBufferSize];
};

static int Equal(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

// A name read from the file, quoted by the messages' rule, or "(no name)".
static std::string Named(const char* name) { return name ? HostQuoted(name) : "(no name)"; }
// The file being read, quoted likewise: its name comes from the UI description.
static std::string File(const sBasicXmlReader* reader) { return HostQuoted(reader->filename); }
// A cell's text, quoted likewise: its first 60 bytes, and "..." after the quotes where it goes on.
static std::string Cell(const char* text)
{
    const std::string cell(text);
    return HostQuoted(cell.substr(0, 60).c_str()) + (cell.size() > 60 ? "..." : "");
}

// The fewest bytes an element of each kind takes in a file ("<BasicDbTable/>" and so on). A count
// of elements that the rest of the file cannot hold is damage, refused before memory is taken for it.
enum { kLeastTableBytes = 15, kLeastDefinitionBytes = 18, kLeastColumnBytes = 24 };

// Allocates count zeroed records of recordSize bytes for an array attribute, whose elements take at
// least leastBytes each in the file. A count that is negative, too large, more than the rest of the
// file could describe or finds no memory is reported and read as 0.
static void* AllocateRecords(sBasicXmlReader* reader, int* count, int recordSize, int leastBytes, const char* what,
                             const char* owner)
{
    if (*count < 0 || int64_t(*count) * recordSize > INT_MAX) {
        PrintError("database %s: %s has the bad number of %s %i", File(reader).c_str(), Named(owner).c_str(), what,
                   *count);
        *count = 0;
        return nullptr;
    }
    if (*count > BasicXmlReader_BytesLeft(reader) / leastBytes) {
        PrintError("database %s: %s declares %i %s, more than the rest of its file could hold", File(reader).c_str(),
                   Named(owner).c_str(), *count, what);
        *count = 0;
        return nullptr;
    }
    if (*count == 0) return nullptr;
    void* p = nullptr;
    if (!AllocateClearedMemory(&p, *count * recordSize) || !p) {
        PrintError("database %s: no memory for %i %s of %s", File(reader).c_str(), *count, what, Named(owner).c_str());
        *count = 0;
        return nullptr;
    }
    return p;
}

// The value of the count attribute just named: a whole integer ("%i", so hex and octal too), or,
// for any other text, `current` with a message naming the value.
static int ReadCount(sBasicXmlReader* reader, int current, const char* what, const char* owner)
{
    const char* text = reader->valBuffer;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text, &end, 0);
    while (end && (*end == ' ' || *end == '\t' || *end == '\n' || *end == '\r')) ++end;
    if (end == text || !end || *end || errno == ERANGE || value > INT_MAX || value < INT_MIN) {
        PrintError("database %s: %s has the bad number of %s %s", File(reader).c_str(), Named(owner).c_str(), what,
                   HostQuoted(text).c_str());
        return current;
    }
    return int(value);
}

// The next attribute of the open tag with its value read. 0 at the tag's end, and when the order
// to close stopped the reading: an attribute or element cut short there is not judged, as the
// file goes on whole behind the cut.
static int NextAttribute(sBasicXmlReader* reader)
{
    if (!BasicXmlReader_NextAtt(reader)) return 0;
    BasicXmlReader_NextVal(reader);
    return !reader->buffer.stopped;
}

// Reads the value of the attribute just named and keeps a copy of it as a name, unless one is set.
static void ReadName(sBasicXmlReader* reader, Ptr32<char>* name)
{
    if (*name) {
        PrintError("database %s: duplicate attribute: name", File(reader).c_str());
        return;
    }
    char* copy = DupString(reader->valBuffer);
    if (copy) *name = copy;
}

// An attribute the format does not have (a note written beside the data) is passed over on every
// element. One of its own damaged is said by what its loss leaves: a table's cells beyond its rows,
// a column without a type.
int BasicDb_ReadXml(sBasicDb* db, sBasicXmlReader* reader)
{
    if (!db || !reader) return 0;
    while (NextAttribute(reader)) {
        const char* att = reader->attBuffer;
        if (Equal(att, "name")) {
            ReadName(reader, &db->name);
        } else if (Equal(att, "tableDefs")) {
            if (db->tableDef) {
                PrintError("database %s: duplicate attribute: tableDefs", File(reader).c_str());
                continue;
            }
            int count = ReadCount(reader, db->tableDefs, "table definitions", db->name);
            sBasicDbTableDefinition* defs = static_cast<sBasicDbTableDefinition*>(AllocateRecords(
                reader, &count, sizeof(sBasicDbTableDefinition), kLeastDefinitionBytes, "table definitions", db->name));
            db->tableDefs = count;
            db->tableDef = defs;
        } else if (Equal(att, "tables")) {
            if (db->table) {
                PrintError("database %s: duplicate attribute: tables", File(reader).c_str());
                continue;
            }
            int count = ReadCount(reader, db->tables, "tables", db->name);
            sBasicDbTable* tables = static_cast<sBasicDbTable*>(
                AllocateRecords(reader, &count, sizeof(sBasicDbTable), kLeastTableBytes, "tables", db->name));
            db->tables = count;
            db->table = tables;
        }
    }
    return 1;
}

static void ReadDefinition(sBasicXmlReader* reader, sBasicDbTableDefinition* def)
{
    while (NextAttribute(reader)) {
        const char* att = reader->attBuffer;
        if (Equal(att, "name")) {
            ReadName(reader, &def->name);
        } else if (Equal(att, "columns")) {
            if (def->columns != 0) {
                PrintError("database %s: duplicate attribute: columns", File(reader).c_str());
                continue;
            }
            int count = ReadCount(reader, def->columns, "columns", def->name);
            def->column = static_cast<sBasicDbTableColumnDefinition*>(AllocateRecords(
                reader, &count, sizeof(sBasicDbTableColumnDefinition), kLeastColumnBytes, "columns", def->name));
            def->columns = count;
        }
    }
}

static int TypeFromName(const char* name)
{
    for (int type = EBasicDbTableColumnTypeBOOL; type < EBasicDbTableColumnTypeCount; ++type)
        if (Equal(name, basicDbTypeNames[type])) return type;
    if (Equal(name, "flt")) return EBasicDbTableColumnTypeFLT;
    if (Equal(name, "str")) return EBasicDbTableColumnTypeSTR;
    return -1;
}

static void ReadColumn(sBasicXmlReader* reader, sBasicDbTableDefinition* def, sBasicDbTableColumnDefinition* column)
{
    while (NextAttribute(reader)) {
        const char* att = reader->attBuffer;
        if (Equal(att, "name")) {
            ReadName(reader, &column->name);
        } else if (Equal(att, "type")) {
            int type = TypeFromName(reader->valBuffer);
            if (column->type == EBasicDbTableColumnTypeNULL && type >= 0) column->type = uint8_t(type);
        } else if (Equal(att, "count")) {
            if (column->count >= 1) {
                PrintError("database %s: duplicate attribute: count", File(reader).c_str());
                continue;
            }
            column->count = ReadCount(reader, column->count, "elements", column->name);
        }
    }
    if (reader->buffer.stopped) return;  // cut short, not damaged: not judged
    // A column without a type takes no room in its row: its cells, and those of every column the
    // game reads behind it, would no longer be where the data put them.
    if (column->type == EBasicDbTableColumnTypeNULL)
        PrintError("database %s: column %s has no type the database knows", File(reader).c_str(),
                   Named(column->name).c_str());
    // The column takes its place at the end of the row; a count that would make the row larger
    // than an int can count is read as 0.
    int64_t bytes = int64_t(column->count) * basicDbTypeSizes[column->type];
    if (column->count < 0 || def->stride + bytes > INT_MAX) {
        PrintError("database %s: column %s has the bad count %i", File(reader).c_str(), Named(column->name).c_str(),
                   column->count);
        column->count = 0;
        bytes = 0;
    }
    column->offset = def->stride;
    def->stride += int32_t(bytes);
}

static void ReadTable(sBasicXmlReader* reader, sBasicDb* db, int defsRead, sBasicDbTable* table)
{
    while (NextAttribute(reader)) {
        const char* att = reader->attBuffer;
        if (Equal(att, "name")) {
            ReadName(reader, &table->name);
        } else if (Equal(att, "rows")) {
            if (table->rows >= 1) {
                PrintError("database %s: duplicate attribute: rows", File(reader).c_str());
                continue;
            }
            table->rows = ReadCount(reader, table->rows, "rows", table->name);
        } else if (Equal(att, "def")) {
            if (table->def) {
                PrintError("database %s: duplicate attribute: def", File(reader).c_str());
                continue;
            }
            sBasicDbTableDefinition* defs = db->tableDef;
            for (int d = 0; defs && d < defsRead && d < db->tableDefs; ++d) {
                const char* name = defs[d].name;
                if (name && Equal(name, reader->valBuffer)) {
                    table->def = &defs[d];
                    table->defIndex = d;
                    break;
                }
            }
        }
    }
    if (reader->buffer.stopped) return;  // cut short, not damaged: not judged
    if (table->rows < 0) {
        PrintError("database %s: table %s has the bad row count %i", File(reader).c_str(), Named(table->name).c_str(),
                   table->rows);
        table->rows = 0;
    }
    sBasicDbTableDefinition* def = table->def;
    if (!def) {
        // Rows without a definition have no cells: none are kept.
        PrintError("database %s: table %s has no definition", File(reader).c_str(), Named(table->name).c_str());
        table->rows = 0;
        return;
    }
    int64_t bytes = int64_t(table->rows) * def->stride;
    if (bytes > INT_MAX) {
        PrintError("database %s: table %s of %i rows is too large", File(reader).c_str(), Named(table->name).c_str(),
                   table->rows);
        table->rows = 0;
        return;
    }
    if (bytes == 0) return;
    void* rows = nullptr;
    if (!AllocateClearedMemory(&rows, int(bytes)) || !rows) {
        PrintError("database %s: no memory for the %i rows of table %s", File(reader).c_str(), table->rows,
                   Named(table->name).c_str());
        table->rows = 0;
        return;
    }
    table->row = static_cast<uint8_t*>(rows);
}

// 1 when the reader stands at the end of an element's text: at a tag or at the end of input.
static int AtEndOfText(const sBasicXmlReader* reader)
{
    const sBasicXmlStreamBuffer* b = &reader->buffer;
    return b->bufferPos == b->eofPos || *b->bufferPos == '<';
}

// How much of a cell's text its column cannot take: the characters of a string past the column's
// count less its NUL, or the numbers past its count. 0 when all of it fits.
static int CellOverflow(const sBasicDbTableColumnDefinition* col, const char* text)
{
    const int length = int(std::strlen(text));
    if (col->type == EBasicDbTableColumnTypeSTR) {
        const int room = col->count > 0 ? col->count - 1 : 0;
        return length > room ? length - room : 0;
    }
    if (col->type == EBasicDbTableColumnTypeNULL || col->type >= EBasicDbTableColumnTypeCount) return 0;
    int numbers = 0;
    for (int i = 0; i < length; ++i)
        if (!std::isspace(static_cast<unsigned char>(text[i])) &&
            (i == 0 || std::isspace(static_cast<unsigned char>(text[i - 1]))))
            ++numbers;
    return numbers > col->count ? numbers - col->count : 0;
}

// Stores one cell's text; a number the cell cannot hold is reported and the cell keeps its value.
// Text the column has no room for is reported too: storing would drop it unseen.
static void ReadCell(const sBasicXmlReader* reader, sBasicDbTable* table, int row, int column, const char* text)
{
    if (!BasicDbTable_GetElementFromStr(table, row, column, text, kCellBufferSize)) {
        PrintError("database %s: table %s row %i column %i: %s is no number the cell can hold", File(reader).c_str(),
                   Named(table->name).c_str(), row, column, Cell(text).c_str());
        return;
    }
    const sBasicDbTableColumnDefinition* col = &table->def->column[column];
    if (CellOverflow(col, text))
        PrintError("database %s: table %s row %i column %i: %s is more than its column of %i holds",
                   File(reader).c_str(), Named(table->name).c_str(), row, column, Cell(text).c_str(), col->count);
}

// Reads the cells of a table, row by row. A cell that cannot be read leaves its number as it was
// and its string empty; the text ending early leaves the remaining cells as they are.
static void ReadCells(DbLoad* load, sBasicDbTable* table)
{
    sBasicDbTableDefinition* def = table->def;
    int columns = def->column ? def->columns : 0;
    for (int r = 0; r < table->rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            load->cell[0] = 0;
            if (!BasicXmlReader_ReadBeforeToken(&load->reader, ",", load->cell, kCellBufferSize)) {
                load->cell[0] = 0;
                if (AtEndOfText(&load->reader)) {
                    ReadCell(&load->reader, table, r, c, load->cell);
                    // The text also ends where the order to close stopped the file's reading.
                    if ((r < table->rows - 1 || c < columns - 1) && !done)
                        PrintError("database %s: table %s ends at row %i, column %i", File(&load->reader).c_str(),
                                   Named(table->name).c_str(), r, c);
                    return;
                }
                // Outside quotes a cell holds only what numbers are written with: a letter ("nan",
                // "0x10") or a second string makes the cell unreadable.
                PrintError("database %s: table %s row %i column %i holds what no number or string is made of",
                           File(&load->reader).c_str(), Named(table->name).c_str(), r, c);
            }
            ReadCell(&load->reader, table, r, c, load->cell);
        }
    }
}

// Text left in a table after its rows are read is cells its rows have no room for: its rows
// attribute missing or damaged ("rowt"), or too small. They are said, as they would be dropped
// unseen; white space before the end of the element is no cell.
static void ReportCellsBeyondRows(sBasicXmlReader* reader, const sBasicDbTable* table)
{
    sBasicXmlStreamBuffer* b = &reader->buffer;
    while (b->bufferPos != b->eofPos && std::isspace(static_cast<unsigned char>(*b->bufferPos)))
        BasicXmlStreamBuffer_Next(b);
    if (!AtEndOfText(reader))
        PrintError("database %s: table %s holds more cells than its %i rows", File(reader).c_str(),
                   Named(table->name).c_str(), table->rows);
}

// Reads the attributes of an element that is not used and moves past its tag.
static void SkipElement(sBasicXmlReader* reader)
{
    while (BasicXmlReader_NextAtt(reader)) BasicXmlReader_NextVal(reader);
}

static void StartDatabase(DbLoad* load, sBasicDb** first)
{
    void* memory = nullptr;
    if (!AllocateClearedMemory(&memory, sizeof(sBasicDb)) || !memory) {
        PrintError("database %s: no memory for a database", File(&load->reader).c_str());
        load->current = nullptr;
        SkipElement(&load->reader);
        return;
    }
    sBasicDb* db = static_cast<sBasicDb*>(memory);
    load->databasesRead++;
    if (!*first) {
        *first = db;
    } else {
        // Behind the database read before it; the first of a file loaded onto an existing chain
        // goes at that chain's end.
        sBasicDb* last = load->current ? load->current : *first;
        while (last->next) last = last->next;
        last->next = db;
    }
    load->current = db;
    load->defsRead = load->columnsRead = load->tablesRead = 0;
    load->inDef = 0;
    BasicDb_ReadXml(db, &load->reader);
}

static void StartElement(DbLoad* load, sBasicDb** first)
{
    sBasicXmlReader* reader = &load->reader;
    const char* tag = reader->tagBuffer;
    sBasicDb* db = load->current;

    if (Equal(tag, "BasicDb")) {
        StartDatabase(load, first);
        BasicXmlReader_NextEnd(reader);
        // A database written as one empty tag is closed already.
        if (reader->isEmptyTag) load->current = nullptr;
        return;
    }
    if (Equal(tag, "BasicDbTableDef") && db && db->tableDef && load->defsRead < db->tableDefs) {
        sBasicDbTableDefinition* def = &db->tableDef.get()[load->defsRead];
        ReadDefinition(reader, def);
        load->defsRead++;
        load->columnsRead = 0;
        BasicXmlReader_NextEnd(reader);
        load->inDef = !reader->isEmptyTag;
        return;
    }
    if (Equal(tag, "BasicDbTableColumnDef") && db && load->inDef && load->defsRead >= 1) {
        sBasicDbTableDefinition* def = &db->tableDef.get()[load->defsRead - 1];
        if (def->column && load->columnsRead < def->columns) {
            ReadColumn(reader, def, &def->column.get()[load->columnsRead]);
            load->columnsRead++;
            BasicXmlReader_NextEnd(reader);
            return;
        }
    }
    if (Equal(tag, "BasicDbTable") && db && db->table && load->tablesRead < db->tables) {
        // A table closes any definition still open, so that no column is added to a definition
        // whose rows have been allocated.
        load->inDef = 0;
        sBasicDbTable* table = &db->table.get()[load->tablesRead];
        ReadTable(reader, db, load->defsRead, table);
        load->tablesRead++;
        BasicXmlReader_NextEnd(reader);
        if (!reader->isEmptyTag && table->def && table->row) ReadCells(load, table);
        if (!reader->isEmptyTag && table->def && !reader->buffer.stopped) ReportCellsBeyondRows(reader, table);
        return;
    }
    // More tables or definitions than the database declares have no room: say so, as a silently
    // dropped table would only show later as a lookup that finds nothing.
    if (db && Equal(tag, "BasicDbTable") && load->tablesRead >= db->tables)
        PrintError("database %s: %s declares %d tables; a further one is ignored", File(reader).c_str(),
                   Named(db->name.get()).c_str(), db->tables);
    if (db && Equal(tag, "BasicDbTableDef") && load->defsRead >= db->tableDefs)
        PrintError("database %s: %s declares %d table definitions; a further one is ignored", File(reader).c_str(),
                   Named(db->name.get()).c_str(), db->tableDefs);
    SkipElement(reader);
    BasicXmlReader_NextEnd(reader);
}

int BasicDb_Load(sBasicDb** db, const char* filename)
{
    if (!db || !filename) return PrintError("database: nothing to load");
    // The reader and the cell buffer live only while the file is read.
    void* memory = nullptr;
    if (!AllocateTempMemory(&memory, sizeof(DbLoad)) || !memory)
        return PrintError("database: no memory to read %s", HostQuoted(filename).c_str());
    DbLoad* load = static_cast<DbLoad*>(memory);
    std::memset(load, 0, sizeof *load);
    if (!BasicXmlReader_Init(&load->reader, filename)) {
        FreeManagedMemory(load, 0);
        return PrintError("database: cannot open %s", HostQuoted(filename).c_str());
    }
    // A stopped reading ends the load: what follows in the ring is cut off somewhere ahead.
    while (!load->reader.buffer.stopped && BasicXmlReader_NextTag(&load->reader)) {
        const char* tag = load->reader.tagBuffer;
        if (load->reader.isEndTag) {
            if (Equal(tag, "BasicDb")) {
                // Elements after a database's end belong to no database: they are skipped rather
                // than read again into its first records.
                load->current = nullptr;
                load->defsRead = load->columnsRead = load->tablesRead = 0;
                load->inDef = 0;
            } else if (Equal(tag, "BasicDbTableDef")) {
                load->columnsRead = 0;
                load->inDef = 0;
            }
            continue;
        }
        StartElement(load, db);
    }
    // A database still open at the end: the file was cut short in it (a cut inside a tag or a
    // comment the reader has reported).
    if (load->current && !load->reader.cutShort && !done)
        PrintError("database: %s ends inside database %s, which is never closed", HostQuoted(filename).c_str(),
                   Named(load->current->name).c_str());
    const int databases = load->databasesRead;
    const int stopped = load->reader.buffer.stopped;
    BasicXmlReader_Fini(&load->reader);
    FreeManagedMemory(load, 0);
    // The databases read are not whole; the file may well be.
    if (stopped) return 0;
    // A file with no database in it (empty, or cut before its first element) is no database file;
    // the order to close may have stopped the reading, which is no fault.
    if (databases == 0) return done ? 0 : PrintError("database: %s holds no database", HostQuoted(filename).c_str());
    return 1;
}

int BasicDb_Save(sBasicDb** db, const char* filename)
{
    (void)db;
    (void)filename;
    return 0;
}

int BasicDbTable_WriteXml(sBasicDbTable* tables, int count, void* file)
{
    if (!tables) return 0;
    void* memory = nullptr;
    if (!AllocateTempMemory(&memory, kCellBufferSize) || !memory) return 0;
    char* cell = static_cast<char*>(memory);
    for (int t = 0; t < count; ++t) {
        sBasicDbTable* table = &tables[t];
        sBasicDbTableDefinition* def = table->def;
        if (!def || !def->name) continue;
        BasicXml_Print(file, "<BasicDbTable name=\"%s\" def=\"%s\" rows=\"%i\" >\n", table->name.get(),
                       def->name.get(), table->rows);
        sBasicDbTableColumnDefinition* columns = def->column;
        for (int r = 0; r < table->rows; ++r) {
            for (int c = 0; columns && c < def->columns; ++c) {
                BasicDbTable_PutElementOntoStr(table, r, c, cell, kCellBufferSize);
                BasicXml_Print(file, columns[c].type == EBasicDbTableColumnTypeSTR ? "\"%s\", " : "%s, ", cell);
            }
            BasicXml_Print(file, "\n");
        }
        BasicXml_Print(file, "</BasicDbTable>\n");
    }
    FreeManagedMemory(cell, 0);
    return 1;
}

int BasicDb_WriteXml(sBasicDb* db, void* file)
{
    for (; db; db = db->next) {
        BasicXml_Print(file, "<BasicDb name=\"%s\" tables=\"%i\" tableDefs=\"%i\" >\n", db->name.get(), db->tables,
                       db->tableDefs);
        sBasicDbTableDefinition* defs = db->tableDef;
        for (int d = 0; defs && d < db->tableDefs; ++d) {
            BasicXml_Print(file, "<BasicDbTableDef name=\"%s\" columns=\"%i\" >\n", defs[d].name.get(),
                           defs[d].columns);
            sBasicDbTableColumnDefinition* columns = defs[d].column;
            for (int c = 0; columns && c < defs[d].columns; ++c) {
                int type = columns[c].type < EBasicDbTableColumnTypeCount ? columns[c].type : 0;
                BasicXml_Print(file, "<BasicDbTableColumnDef name=\"%s\" type=\"%s\" count=\"%i\" />\n",
                               columns[c].name.get(), basicDbTypeNames[type], columns[c].count);
            }
            BasicXml_Print(file, "</BasicDbTableDef>\n");
        }
        BasicDbTable_WriteXml(db->table, db->tables, file);
        BasicXml_Print(file, "</BasicDb>\n");
    }
    return 1;
}
