// The tables and columns of the "save", "game" and "ui" databases that the game reads: those the
// front end's code reads by table name and column number, and the text tables of the menus' pages.
// The database files come with the game data, so a file that still parses but lost a table, or a
// column (its tag damaged, its definition cut), would otherwise leave the code reading empty or
// shifted cells with no word, or a table short of the rows read at fixed numbers (a page's entries,
// the shop's items, the career slots). Each database is checked against this list when it loads;
// the front end's table lookups say when the code asks for a table the list lacks.
#pragma once

#include <cstdint>

#include "db/database.h"

// Column `column` of a table: its name and type in the game's databases.
struct DbColumnRead {
    int column;
    const char* name;
    uint8_t type;  // eBasicDbTableColoumnType
};

// A table the game reads, the fewest rows it reads of it (one past the highest row read at a fixed
// number; 1 where only rows that the data itself names are read) and the columns it reads.
struct DbTableRead {
    const char* db;
    const char* table;
    int rows;
    const DbColumnRead* columns;
    int columnCount;
};

extern const DbTableRead kDatabaseReads[];
extern const int kDatabaseReadCount;

// Checks the database `dbName` (null when it is missing) against every table of the list that
// belongs to it: the database has that name, the table is there with its definition and at least
// the rows read, and each column read is there at its number with its name, its type and at least
// one element. Each difference is reported, naming `file`, the database file it was read from
// (null when unknown); 0 when there is one.
int CheckDatabaseReads(const char* dbName, sBasicDb* db, const char* file);
// 1 when table `table` of database `db` is on the list.
int DatabaseReadListed(const char* db, const char* table);
