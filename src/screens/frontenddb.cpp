// Finding the front end's databases and tables by name: the environment's own first, then the
// databases registered at start-up (the save database lives for the whole run, the environment only
// while the menu is open).
#include "screens/frontenddb.h"

#include <cstring>

#include "host/errorlog.h"
#include "screens/dbreads.h"
#include "ui/environment.h"

sBasicDb* FrontEndDb(sBasicUiWidget* caller, const char* name)
{
    if (!name) return nullptr;
    sBasicUiEnvironment* env = caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
    if (sBasicDb* db = BasicUi_FindDb(env, name)) return db;
    for (int i = 0; i < BasicDb_DbCount(); ++i) {
        sBasicDb* db = BasicDb_DbGet(i);
        const char* dbName = db ? static_cast<const char*>(db->name) : nullptr;
        if (dbName && std::strcmp(dbName, name) == 0) return db;
    }
    return nullptr;
}

sBasicDbTable* FrontEndTable(sBasicUiWidget* caller, const char* db, const char* table)
{
    // What the code reads is checked when the databases load; a table read without being on that
    // list would fail the player with no word when it is lost.
    if (!DatabaseReadListed(db, table))
        PrintErrorOnce("front end: table %s of %s is read but not on the list checked at load",
                       HostQuoted(table ? table : "").c_str(), HostQuoted(db ? db : "").c_str());
    return BasicDbTable_Find(FrontEndDb(caller, db), table);
}

int CareerSlot(sBasicUiWidget* caller)
{
    sBasicDbTable* setup = FrontEndTable(caller, "save", "career setup");
    return setup ? BasicDbTable_GetElementI(setup, 1, 0, -1) : -1;
}

int CopyCellText(sBasicDbTable* table, int column, int row, char* out, int size)
{
    if (!out || size < 1) return 0;
    out[0] = '\0';
    if (!table || row < 0 || row >= table->rows) return 0;
    const char* text = BasicDbTable_GetStrElement(table, row, column);
    std::strncpy(out, text, size_t(size - 1));
    out[size - 1] = '\0';
    return 1;
}
