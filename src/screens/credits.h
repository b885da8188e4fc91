// The credits roll, built into the program as the database "creditsDb" with its one table
// "creditsTable": 95 rows of index (int), title, name and icon (texts of up to 99 characters).
#pragma once

#include "db/database.h"

struct sBasicUiWidget;

constexpr int kCreditsRows = 95;
constexpr int kCreditsRowStride = 304;

// The credits database, made in game memory on the first call (null when memory is short).
sBasicDb* CreditsDatabase();
// Forgets the database without freeing it: for a run (or test) whose game heap has gone.
void ForgetCreditsDatabase();
// The credits' database reference: a widget of no environment (type database reference) naming
// "creditsDb" and its table "creditsTable", already resolved to the built-in table, so that a text
// scroll of any description rolls the credits. Null when the database cannot be made.
sBasicUiWidget* CreditsWidget();
