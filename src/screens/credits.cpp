// The credits roll: a database built into the program ("creditsDb", one table "creditsTable" of
// 95 rows: index, title, name, icon), made in game memory with the same records as a database
// read from XML, so that the credits' text scroll reads it like any other table. Its rows are the
// studio's team by role, a heading with the first name of each role and the rest under it.
#include "screens/credits.h"

#include <cstring>

#include "lib/memory.h"
#include "lib/printing.h"
#include "ui/widgets/dbref.h"
#include "ui/widgettypes.h"

struct CreditLine {
    const char* title;
    const char* name;
    const char* icon;
};

static const CreditLine kCredits[kCreditsRows] = {
    {"ZENDROLYX", "", "logo"},
    {"Game Director", "Yusuf Ashdown", "pin"},
    {"Lead Designer", "Nico Thorncroft", ""},
    {"Game Design", "Oskar Fenwick", ""},
    {"", "Cleo Quarrie", ""},
    {"", "Cleo Thorncroft", ""},
    {"", "Kasimir Crane", ""},
    {"", "Greta Maddox", ""},
    {"Lead Programmer", "Hugo Lowther", ""},
    {"Physics and Lane Programming", "Saskia Merriman", ""},
    {"", "Gideon Orme", ""},
    {"Graphics Programming", "Umar Larkin", ""},
    {"", "Juna Whitlow", ""},
    {"", "Gideon Fenwick", ""},
    {"", "Hanne Galloway", ""},
    {"Front End and Tools Programming", "Oskar Tully", ""},
    {"", "Greta Nettleton", ""},
    {"", "Linnea Whitlow", ""},
    {"Audio Programming", "Arlo Whitlow", ""},
    {"Additional Programming", "Maren Tully", ""},
    {"", "Kaia Orme", ""},
    {"", "Dagny Elsworth", ""},
    {"", "Elin Ambrose", ""},
    {"", "Kasimir Elsworth", ""},
    {"Art Director", "Gideon Pritchard", ""},
    {"Character Art", "Ines Corvell", ""},
    {"", "Ivo Larkin", ""},
    {"", "Elin Maddox", ""},
    {"", "Odile Crane", ""},
    {"", "Juna Dewhurst", ""},
    {"Environment Art", "Bettina Gracey", ""},
    {"", "Nora Holloway", ""},
    {"", "Petra Fenwick", ""},
    {"", "Cosmo Dunmore", ""},
    {"", "Fenna Stanhope", ""},
    {"", "Kaia Dunmore", ""},
    {"Animation", "Arlo Ziegler", ""},
    {"", "Oskar Ellery", ""},
    {"", "Bram Fenwick", ""},
    {"", "Nora Lowther", ""},
    {"", "Wendel Elsworth", ""},
    {"User Interface Art", "Ines Hartwell", ""},
    {"", "Fitz Oakhurst", ""},
    {"Visual Effects", "Saskia Larkin", ""},
    {"", "Oskar Ivers", ""},
    {"Music and Sound Design", "Odile Jessop", ""},
    {"", "Xenia Northcote", ""},
    {"", "Kaia Pritchard", ""},
    {"", "Kasimir Orme", ""},
    {"Voice Direction", "Ivo Ingram", ""},
    {"Producer", "Cosmo Yardley", ""},
    {"Associate Producers", "Tilda Yardley", ""},
    {"", "Fenna Gracey", ""},
    {"Quality Assurance Lead", "Dagny Ellery", ""},
    {"Quality Assurance", "Saskia Crane", ""},
    {"", "Cosmo Ziegler", ""},
    {"", "Wendel Holloway", ""},
    {"", "Hugo Quarrie", ""},
    {"", "Arlo Underhill", ""},
    {"", "Bram Wren", ""},
    {"", "Odile Lowther", ""},
    {"", "Bram Larkin", ""},
    {"", "Wilma Orme", ""},
    {"", "Quinn Holloway", ""},
    {"", "Linnea Corvell", ""},
    {"", "Dario Ingram", ""},
    {"", "Kaia Wren", ""},
    {"", "Cleo Redfern", ""},
    {"Localisation", "Leif Orme", ""},
    {"", "Umar Fairlie", ""},
    {"", "Greta Blackwood", ""},
    {"", "Rune Nettleton", ""},
    {"", "Tobin Rook", ""},
    {"", "Jonas Jardine", ""},
    {"", "Xenia Ivers", ""},
    {"", "Rosa Fairlie", ""},
    {"Studio Operations", "Linnea Fairlie", ""},
    {"", "Tobin Lowther", ""},
    {"", "Nico Kingsley", ""},
    {"", "Ulla Pritchard", ""},
    {"", "Kaia Elsworth", ""},
    {"", "Elin Orme", ""},
    {"Marketing", "Bram Underhill", ""},
    {"", "Ulla Kestrel", ""},
    {"", "Gideon Oakhurst", ""},
    {"", "Quinn Elsworth", ""},
    {"Special Thanks", "Ulla Fairlie", ""},
    {"", "Tobin Hartwell", ""},
    {"", "Sven Brindle", ""},
    {"", "Dagny Nettleton", ""},
    {"", "Sven Yardley", ""},
    {"", "Sven Quarrie", ""},
    {"", "Rosa Dunmore", ""},
    {"Our families and friends, for every late night", "", ""},
    {"Thank you for playing!", "", "pin"},
};

static const int kTextSize = 100;
static const char* const kColumnNames[4] = {"index", "title", "name", "icon"};
static sBasicDb* creditsDb = nullptr;
// The reference the credits scroller reads: its names are its own and its table is filled in
// directly, since no environment holds the credits database to look it up in.
static char creditsDbName[] = "creditsDb";
static char creditsTableName[] = "creditsTable";
static sBasicUiWidgetTypeDbRef creditsDbRef;
static sBasicUiWidget creditsWidget;

// Copies text into game memory; null when memory is short.
static char* Keep(const char* text)
{
    void* p = nullptr;
    const int size = int(std::strlen(text)) + 1;
    if (!AllocateClearedMemory(&p, size) || !p) return nullptr;
    std::memcpy(p, text, size_t(size));
    return static_cast<char*>(p);
}

static int Build()
{
    void *dbMem = nullptr, *defMem = nullptr, *colMem = nullptr, *tableMem = nullptr, *rowMem = nullptr;
    if (!AllocateClearedMemory(&dbMem, sizeof(sBasicDb)) || !AllocateClearedMemory(&defMem, sizeof(sBasicDbTableDefinition)) ||
        !AllocateClearedMemory(&colMem, 4 * sizeof(sBasicDbTableColumnDefinition)) ||
        !AllocateClearedMemory(&tableMem, sizeof(sBasicDbTable)) ||
        !AllocateClearedMemory(&rowMem, kCreditsRows * kCreditsRowStride))
        return PrintError("credits: out of memory");
    sBasicDbTableColumnDefinition* cols = static_cast<sBasicDbTableColumnDefinition*>(colMem);
    for (int c = 0; c < 4; ++c) {
        cols[c].name = Keep(kColumnNames[c]);
        cols[c].type = c == 0 ? EBasicDbTableColumnTypeINT : EBasicDbTableColumnTypeSTR;
        cols[c].count = c == 0 ? 1 : kTextSize;
        cols[c].offset = c == 0 ? 0 : 4 + (c - 1) * kTextSize;
    }
    sBasicDbTableDefinition* def = static_cast<sBasicDbTableDefinition*>(defMem);
    def->name = Keep("creditsData");
    def->columns = 4;
    def->stride = kCreditsRowStride;
    def->column = cols;
    uint8_t* rows = static_cast<uint8_t*>(rowMem);
    for (int r = 0; r < kCreditsRows; ++r) {
        uint8_t* row = rows + r * kCreditsRowStride;
        std::memcpy(row, &r, sizeof r);
        const char* texts[3] = {kCredits[r].title, kCredits[r].name, kCredits[r].icon};
        for (int c = 0; c < 3; ++c) std::strncpy(reinterpret_cast<char*>(row + 4 + c * kTextSize), texts[c], kTextSize - 1);
    }
    sBasicDbTable* table = static_cast<sBasicDbTable*>(tableMem);
    table->name = Keep("creditsTable");
    table->defIndex = 0;
    table->def = def;
    table->rows = kCreditsRows;
    table->row = rows;
    sBasicDb* db = static_cast<sBasicDb*>(dbMem);
    db->name = Keep("creditsDb");
    db->tableDefs = 1;
    db->tableDef = def;
    db->tables = 1;
    db->table = table;
    if (!db->name || !table->name || !def->name) return PrintError("credits: out of memory");
    creditsDb = db;
    return 1;
}

sBasicDb* CreditsDatabase()
{
    if (!creditsDb && !Build()) return nullptr;
    return creditsDb;
}

void ForgetCreditsDatabase() { creditsDb = nullptr; }

sBasicUiWidget* CreditsWidget()
{
    sBasicDbTable* table = BasicDbTable_Find(CreditsDatabase(), creditsTableName);
    if (!table) return nullptr;
    sBasicUiDbRef& ref = creditsDbRef.db;
    ref.dbNm = creditsDbName;
    ref.dbTblNm = creditsTableName;
    // The cache names the same strings, so the reference never looks the table up by name.
    ref.cachedNm = creditsDbName;
    ref.cachedTblNm = creditsTableName;
    ref.table = table;
    creditsWidget.widgetTypeRef.type = EBasicUiWidgetTypeDbRef;
    creditsWidget.widgetTypeRef.ptr = &creditsDbRef;
    creditsWidget.isActive.value = creditsWidget.isRender.value = 1;
    return &creditsWidget;
}
