// The front end's databases as its script functions reach them: "save" (what persists), "game"
// (the fixed definitions) and "ui" (the screens' texts), found in the running UI environment or,
// for the save database, among the databases registered to outlive it; and the career slot that
// most of the career tables are indexed by.
#pragma once

#include "db/database.h"

struct sBasicUiWidget;

// The database `name`: first among those of the caller's environment (the current environment
// when caller is null), then among the registered ones. Null when there is none.
sBasicDb* FrontEndDb(sBasicUiWidget* caller, const char* name);
// The table `table` of database `db` of the front end; null when either is missing.
sBasicDbTable* FrontEndTable(sBasicUiWidget* caller, const char* db, const char* table);
// The career slot r: column 1 of "career setup"; -1 when the table is missing.
int CareerSlot(sBasicUiWidget* caller = nullptr);
// Copies the text of column `column` of `row` into out (size bytes, always terminated). 1 when
// the cell holds text.
int CopyCellText(sBasicDbTable* table, int column, int row, char* out, int size);
