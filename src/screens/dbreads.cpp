// The list of what the game reads of its databases, and the check of a loaded database against it.
// Tables that share a definition in the game data share a column list here; a shorter list of the
// same columns is the first entries of a longer one.
#include "screens/dbreads.h"

#include <cstdarg>
#include <cstring>

#include "game/areas.h"
#include "host/errorlog.h"
#include "lib/printing.h"

namespace {

constexpr uint8_t Int = EBasicDbTableColumnTypeINT;
constexpr uint8_t Str = EBasicDbTableColumnTypeSTR;

// ---- "save" ----
const DbColumnRead kOptions[] = {
    {1, "musicVolume", Int}, {2, "effectsVolume", Int}, {3, "voiceVolume", Int}, {4, "controlMode", Int},
    {5, "autoSave", Int},
};

const DbColumnRead kCareerSetup[] = {
    {1, "slot", Int},
};

const DbColumnRead kPlayers[] = {
    {1, "name", Str}, {2, "nickname", Str}, {3, "power", Int}, {4, "accuracy", Int}, {5, "hook", Int},
    {6, "leftHanded", Int}, {7, "female", Int}, {8, "funds", Int}, {9, "reputation", Int}, {10, "body", Int},
    {11, "pants", Int}, {12, "shirt", Int}, {13, "shoes", Int}, {14, "hat", Int}, {15, "glasses", Int},
    {16, "gloves", Int}, {17, "balls", Int}, {18, "voice", Int}, {19, "pantsState", Str}, {20, "shirtState", Str},
    {21, "shoesState", Str}, {22, "hatState", Str}, {23, "glassesState", Str}, {24, "glovesState", Str},
    {25, "ballsState", Str}, {27, "leagues", Str}, {28, "tournaments", Str}, {29, "rivals", Str},
    {30, "games", Int}, {31, "wins", Int}, {32, "pins", Int}, {33, "spares", Int}, {34, "strikes", Int},
    {35, "turkeys", Int}, {36, "average", Int}, {37, "highGame", Int}, {38, "leaguesWon", Str},
    {39, "tournamentsWon", Str}, {40, "rivalsBeaten", Str}, {41, "clothes", Str}, {42, "gear", Str},
    {43, "accessories", Str}, {44, "perfectGames", Int},
};

// "quick play setup", "mini game setup" (with the mini-game) and "online setup".
const DbColumnRead kSetup[] = {
    {1, "location", Int}, {2, "players", Int}, {3, "row1", Int}, {4, "row2", Int}, {5, "row3", Int},
    {6, "row4", Int}, {7, "controller1", Int}, {8, "controller2", Int}, {9, "controller3", Int},
    {10, "controller4", Int}, {11, "miniGame", Int},
};

const DbColumnRead kLeagueRecord[] = {
    {1, "current", Int}, {2, "teamSize", Int}, {3, "member1", Int}, {4, "member2", Int}, {5, "member3", Int},
    {6, "member4", Int}, {7, "controller1", Int}, {8, "controller2", Int}, {9, "controller3", Int},
    {10, "controller4", Int}, {11, "states", Str}, {12, "npcs", Int}, {13, "order", Int}, {14, "position", Int},
    {15, "week", Int}, {16, "week0", Int}, {17, "week1", Int}, {18, "week2", Int}, {19, "week3", Int},
    {20, "week4", Int}, {21, "week5", Int}, {22, "week6", Int}, {23, "week7", Int}, {24, "week8", Int},
    {25, "week9", Int}, {26, "week10", Int}, {27, "week11", Int}, {28, "week12", Int}, {29, "week13", Int},
    {30, "week14", Int}, {31, "wins", Int}, {32, "losses", Int}, {33, "pins", Int}, {34, "average", Int},
    {35, "marks", Int},
};

const DbColumnRead kTournamentRecord[] = {
    {1, "current", Int}, {2, "teamSize", Int}, {3, "member1", Int}, {4, "member2", Int}, {5, "member3", Int},
    {6, "member4", Int}, {7, "controller1", Int}, {8, "controller2", Int}, {9, "controller3", Int},
    {10, "controller4", Int}, {11, "states", Str}, {12, "npcs", Int}, {13, "order", Int}, {14, "position", Int},
    {15, "round", Int}, {16, "bracket", Int}, {17, "round0", Int}, {18, "round1", Int}, {19, "round2", Int},
    {20, "round3", Int}, {21, "round4", Int}, {22, "round5", Int}, {23, "games", Int}, {24, "qualifying", Int},
    {25, "pins", Int}, {26, "average", Int},
};

const DbColumnRead kRivalRecord[] = {
    {1, "current", Int}, {3, "member1", Int}, {4, "member2", Int}, {5, "member3", Int}, {6, "member4", Int},
    {7, "controller1", Int}, {8, "controller2", Int}, {9, "controller3", Int}, {10, "controller4", Int},
};

const DbColumnRead kPlayerView[] = {
    {1, "bowler", Int}, {2, "leftHanded", Int},
};

// ---- "game" ----
const DbColumnRead kNpcs[] = {
    {1, "name", Str}, {2, "nickname", Str}, {6, "leftHanded", Int}, {7, "female", Int}, {10, "body", Int},
    {11, "pants", Int}, {12, "shirt", Int}, {13, "shoes", Int}, {14, "hat", Int}, {15, "glasses", Int},
    {16, "gloves", Int}, {17, "balls", Int},
};

const DbColumnRead kAbilities[] = {
    {0, "lowestAverage", Int}, {1, "power", Int}, {2, "accuracy", Int}, {3, "hook", Int}, {4, "femalePower", Int},
    {5, "femaleAccuracy", Int}, {6, "femaleHook", Int},
};

// Leagues and tournaments end in nine unlock groups (column name, items, place); rivals in eight
// (column name, items).
const DbColumnRead kLeagues[] = {
    {1, "name", Str}, {3, "area", Int}, {4, "teamSize", Int}, {5, "teams", Int}, {6, "npcs", Int},
    {7, "weeks", Int}, {10, "fee", Int}, {11, "reputation", Int}, {12, "prize1", Int}, {13, "prize2", Int},
    {14, "prize3", Int}, {15, "average", Int}, {16, "spread", Int}, {17, "targetWins", Int},
    {19, "unlock0Column", Str}, {20, "unlock0Items", Int}, {21, "unlock0Place", Int}, {22, "unlock1Column", Str},
    {23, "unlock1Items", Int}, {24, "unlock1Place", Int}, {25, "unlock2Column", Str}, {26, "unlock2Items", Int},
    {27, "unlock2Place", Int}, {28, "unlock3Column", Str}, {29, "unlock3Items", Int}, {30, "unlock3Place", Int},
    {31, "unlock4Column", Str}, {32, "unlock4Items", Int}, {33, "unlock4Place", Int}, {34, "unlock5Column", Str},
    {35, "unlock5Items", Int}, {36, "unlock5Place", Int}, {37, "unlock6Column", Str}, {38, "unlock6Items", Int},
    {39, "unlock6Place", Int}, {40, "unlock7Column", Str}, {41, "unlock7Items", Int}, {42, "unlock7Place", Int},
    {43, "unlock8Column", Str}, {44, "unlock8Items", Int}, {45, "unlock8Place", Int},
};

const DbColumnRead kTournaments[] = {
    {1, "name", Str}, {3, "area", Int}, {4, "teamSize", Int}, {5, "teams", Int}, {6, "npcs", Int}, {7, "kind", Str},
    {8, "games", Int}, {9, "bracket", Int}, {12, "fee", Int}, {13, "reputation", Int}, {14, "prize1", Int},
    {15, "prize2", Int}, {16, "prize3", Int}, {17, "average", Int}, {18, "spread", Int}, {19, "unlock0Column", Str},
    {20, "unlock0Items", Int}, {21, "unlock0Place", Int}, {22, "unlock1Column", Str}, {23, "unlock1Items", Int},
    {24, "unlock1Place", Int}, {25, "unlock2Column", Str}, {26, "unlock2Items", Int}, {27, "unlock2Place", Int},
    {28, "unlock3Column", Str}, {29, "unlock3Items", Int}, {30, "unlock3Place", Int}, {31, "unlock4Column", Str},
    {32, "unlock4Items", Int}, {33, "unlock4Place", Int}, {34, "unlock5Column", Str}, {35, "unlock5Items", Int},
    {36, "unlock5Place", Int}, {37, "unlock6Column", Str}, {38, "unlock6Items", Int}, {39, "unlock6Place", Int},
    {40, "unlock7Column", Str}, {41, "unlock7Items", Int}, {42, "unlock7Place", Int}, {43, "unlock8Column", Str},
    {44, "unlock8Items", Int}, {45, "unlock8Place", Int},
};

const DbColumnRead kRivals[] = {
    {1, "teamSize", Int}, {2, "npc0", Int}, {3, "npc1", Int}, {4, "npc2", Int}, {5, "npc3", Int}, {6, "name", Str},
    {8, "game", Int}, {9, "area", Int}, {12, "reputation", Int}, {13, "prize", Int}, {14, "average", Int},
    {15, "spread", Int},
    {16, "unlock0Column", Str}, {17, "unlock0Items", Int}, {18, "unlock1Column", Str}, {19, "unlock1Items", Int},
    {20, "unlock2Column", Str}, {21, "unlock2Items", Int}, {22, "unlock3Column", Str}, {23, "unlock3Items", Int},
    {24, "unlock4Column", Str}, {25, "unlock4Items", Int}, {26, "unlock5Column", Str}, {27, "unlock5Items", Int},
    {28, "unlock6Column", Str}, {29, "unlock6Items", Int}, {30, "unlock7Column", Str}, {31, "unlock7Items", Int},
};

const DbColumnRead kBodies[] = {
    {2, "female", Int}, {3, "bodyTexture", Int}, {4, "bodyMesh", Int}, {5, "itemGroup", Int}, {6, "hairMesh", Int},
    {7, "pantsGroup", Int}, {8, "shirtGroup", Int}, {9, "shoesGroup", Int}, {10, "pantsTextures", Int},
    {11, "shirtTextures", Int}, {12, "shoesTextures", Int}, {13, "itemTextures", Int}, {14, "anim", Int},
    {15, "ballTextures", Int}, {16, "hairStart", Int}, {17, "hairEnd", Int}, {18, "ikAnim", Int},
};

// The garments: all of these for trousers and skirts (legs and socks), up to the hair entry for
// hats, up to the textures for the rest.
const DbColumnRead kGarments[] = {
    {1, "name", Str}, {2, "text", Str}, {3, "power", Int}, {4, "accuracy", Int}, {5, "hook", Int},
    {6, "price", Int}, {8, "reputation", Int}, {9, "mesh", Int}, {10, "textureD", Int}, {11, "textureN", Int},
    {12, "textureS", Int}, {13, "textureDst", Int}, {14, "extra1", Int}, {15, "extra2", Int},
};

// The balls: their shop entry, modifiers and texture.
const DbColumnRead kBalls[] = {
    {1, "name", Str}, {2, "text", Str}, {3, "power", Int}, {4, "accuracy", Int}, {5, "hook", Int},
    {6, "price", Int}, {8, "reputation", Int}, {13, "textureDst", Int},
};

const DbColumnRead kLocations[] = {
    {1, "name", Str},
};

// ---- "ui" ----
// Every text table: a key the code never reads, then the text.
const DbColumnRead kText[] = {
    {1, "text", Str},
};

const DbColumnRead kNumber[] = {
    {1, "value", Int},
};

template <int N>
constexpr DbTableRead Read(const char* db, const char* table, int rows, const DbColumnRead (&columns)[N],
                           int count = N)
{
    return {db, table, rows, columns, count};
}

// The garments' column lists by how far they read.
constexpr int kTexturesEnd = 12, kHairEnd = 13;

// Rows read at fixed numbers. The bowlers' page offers the bowlers of rows 1 to 10 as career
// slots, and a slot's records sit in the same row of each career table.
constexpr int kCareerSlots = 11;
// Each career list shows twenty events by row.
constexpr int kEvents = 20;
// A heading, then area a's name in row a + 1.
constexpr int kAreaRows = kNumAreas + 1;
// The shop's pages show their items by row: one button for each.
constexpr int kShopPants = 8, kShopShirts = 10, kShopShoes = 8, kShopHats = 6, kShopGlasses = 6, kShopGloves = 6,
              kShopBalls = 32;
// Who bowls a slot names a row: 0 the computer, then each of the four pads.
constexpr int kBowlerKinds = 5;

}  // namespace

const DbTableRead kDatabaseReads[] = {
    Read("save", "options", 1, kOptions),
    Read("save", "career setup", 1, kCareerSetup),
    Read("save", "players", kCareerSlots, kPlayers),
    Read("save", "quick play setup", 1, kSetup, 10),
    Read("save", "mini game setup", 1, kSetup),
    Read("save", "online setup", 1, kSetup, 10),
    Read("save", "league", kCareerSlots, kLeagueRecord),
    Read("save", "tournament", kCareerSlots, kTournamentRecord),
    Read("save", "rival", kCareerSlots, kRivalRecord),
    Read("save", "player view", 2, kPlayerView),
    Read("game", "NPCs", 1, kNpcs),
    Read("game", "NPCAbilities", 1, kAbilities),
    Read("game", "Leagues", kEvents, kLeagues),
    Read("game", "Tournaments", kEvents, kTournaments),
    Read("game", "Rivals", kEvents, kRivals),
    Read("game", "Bodys", 1, kBodies),
    Read("game", "Pants", kShopPants, kGarments),
    Read("game", "Skirts", kShopPants, kGarments),
    Read("game", "HatsM", kShopHats, kGarments, kHairEnd),
    Read("game", "HatsF", kShopHats, kGarments, kHairEnd),
    Read("game", "Shirts", kShopShirts, kGarments, kTexturesEnd),
    Read("game", "Shoes", kShopShoes, kGarments, kTexturesEnd),
    Read("game", "GlassesM", kShopGlasses, kGarments, kTexturesEnd),
    Read("game", "GlassesF", kShopGlasses, kGarments, kTexturesEnd),
    Read("game", "GlovesL", kShopGloves, kGarments, kTexturesEnd),
    Read("game", "GlovesR", kShopGloves, kGarments, kTexturesEnd),
    Read("game", "BallsL", kShopBalls, kBalls),
    Read("game", "BallsR", kShopBalls, kBalls),
    Read("game", "locations", kAreaRows, kLocations),
    // The texts the code composes with and into, up to the highest row it reads.
    Read("ui", "s0Strings", 27, kText),
    Read("ui", "locations", kAreaRows, kText),
    Read("ui", "sFgStrings", 9, kText),
    Read("ui", "s19Strings", 19, kText),
    Read("ui", "s36Strings", 13, kText),
    Read("ui", "s37Strings", 13, kText),
    Read("ui", "sCareerStrings", 38, kText),
    Read("ui", "qpKinds", kBowlerKinds, kText),
    Read("ui", "controlModes", 2, kText),
    // The texts of the menus' own pages and questions, which only the description reads, up to the
    // highest row it names.
    Read("ui", "sMenuStrings", 16, kText),
    Read("ui", "s18Strings", 33, kText),
    Read("ui", "s5Strings", 8, kText),
    Read("ui", "sOk", 2, kText),
    Read("ui", "sAnswers", 3, kText),
    Read("ui", "s21Header", 10, kText),
    Read("ui", "s23Header", 5, kText),
    Read("ui", "s24Header", 9, kText),
    Read("ui", "s25Header", 6, kText),
    Read("ui", "sBowlerPick", 1, kNumber),
};
const int kDatabaseReadCount = int(sizeof kDatabaseReads / sizeof kDatabaseReads[0]);

namespace {

const char* TypeName(int type)
{
    return type >= 0 && type < EBasicDbTableColumnTypeCount ? basicDbTypeNames[type] : "unknown";
}

const char* Or(const char* name) { return name ? name : "(no name)"; }

// The database file being checked, which each difference names after what it found.
const char* checkedFile = nullptr;

// Reports one difference, with the file it is in; returns 0 for the caller's result.
int ReadsFault(const char* format, ...) __attribute__((format(printf, 1, 2)));
int ReadsFault(const char* format, ...)
{
    // Room for the names it quotes whole (each up to kMaxEscapedName), so that none is cut.
    char what[kErrorMessageSize];
    va_list args;
    va_start(args, format);
    VPrintString(what, int(sizeof what), format, args);
    va_end(args);
    if (checkedFile) return PrintError("databases: %s (in %s)", what, HostQuoted(checkedFile).c_str());
    return PrintError("databases: %s", what);
}

// Checks one column of a table that has a definition; 0 (with a message) when it differs.
int CheckColumn(const char* dbName, const sBasicDbTable* table, const DbColumnRead& read)
{
    const sBasicDbTableDefinition* def = table->def;
    if (read.column >= def->columns || !def->column)
        return ReadsFault("table %s of %s has %d columns; the game reads column %d (%s %s)",
                          HostQuoted(table->name.get()).c_str(), HostQuoted(dbName).c_str(), def->columns, read.column,
                          TypeName(read.type), HostQuoted(read.name).c_str());
    const sBasicDbTableColumnDefinition& c = def->column.get()[read.column];
    const char* name = c.name;
    if (c.type == read.type && c.count >= 1 && name && std::strcmp(name, read.name) == 0) return 1;
    return ReadsFault(
        "column %d of table %s of %s is %s %s of %d elements; the game reads %s "
        "%s there",
        read.column, HostQuoted(table->name.get()).c_str(), HostQuoted(dbName).c_str(), TypeName(c.type),
        HostQuoted(Or(name)).c_str(), int(c.count), TypeName(read.type), HostQuoted(read.name).c_str());
}

}  // namespace

int CheckDatabaseReads(const char* dbName, sBasicDb* db, const char* file)
{
    if (!dbName) return 0;
    checkedFile = file;
    if (!db) return ReadsFault("the game data holds no database %s", HostQuoted(dbName).c_str());
    // The game finds its databases by name: one of another name would be read as missing.
    const char* name = db->name;
    int ok = name && std::strcmp(name, dbName) == 0;
    if (!ok)
        ReadsFault("the database read as %s is named %s", HostQuoted(dbName).c_str(), HostQuoted(Or(name)).c_str());
    for (const DbTableRead& read : kDatabaseReads) {
        if (std::strcmp(read.db, dbName) != 0) continue;
        const sBasicDbTable* table = BasicDbTable_Find(db, read.table);
        if (!table || !table->def) {
            ok = ReadsFault("%s has no table %s%s", HostQuoted(dbName).c_str(), HostQuoted(read.table).c_str(),
                            table ? " with a definition" : "");
            continue;
        }
        if (table->rows < read.rows)
            ok = ReadsFault("table %s of %s has %d rows; the game reads %d", HostQuoted(read.table).c_str(),
                            HostQuoted(dbName).c_str(), table->rows, read.rows);
        for (int c = 0; c < read.columnCount; ++c)
            if (!CheckColumn(dbName, table, read.columns[c])) ok = 0;
    }
    return ok;
}

int DatabaseReadListed(const char* db, const char* table)
{
    if (!db || !table) return 0;
    for (const DbTableRead& read : kDatabaseReads)
        if (std::strcmp(read.db, db) == 0 && std::strcmp(read.table, table) == 0) return 1;
    return 0;
}
