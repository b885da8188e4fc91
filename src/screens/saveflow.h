// The save database and its file: where the live database comes from at start-up (the default
// database of the language, packed into one block, then the save file read over it when there is
// a good one), and the script functions that save and load it. The block lives for the whole run
// and is registered as "save"; the save file is that block byte for byte.
#pragma once

#include "db/database.h"

// The live save database (a contiguous block), null until LoadSaveDatabase has built it.
extern sBasicDb* dbSave;
// Called after a save file has been read into the live database (the menus refresh what they
// show from it); null for nothing.
extern int (*gSaveLoadedHook)();

// Builds the live save database from the default one of gLanguage (English when that language
// has none) and reads the save file over it. A save file that is missing, damaged, cut short or
// another game's is never read into the database: the defaults stay, a file that was there is
// kept aside and the player is told, and the defaults are written as the new save. The messages
// and the write run behind the overlays that PumpSaveOverlays then presents. Returns 1 when the
// database was built, 0 (with a message) when the default database cannot be loaded.
int LoadSaveDatabase();
// Presents lower-screen frames while an overlay is open or the HOME icon shows, stepping the
// overlays with the controls, until they are gone or the game is quitting; then ends the save
// data's work. 0 when an overlay step failed.
int PumpSaveOverlays();
// The auto-save switch, column 5 of "options" (its own column: the control mode in column 4
// stays as the player set it). Enabling also lets a save that was refused after a failure run
// again. 1 when the switch was written.
int SetAutoSaveEnabled(int enabled);
// 1 when the auto-save switch is on (also when the table is missing).
int AutoSaveEnabled();
// After a quick game, when the main menu opens again: the game is folded into its first bowler's
// statistics and, with auto-save on, saved with whatever else changed. 1 when it was saved.
int FoldInQuickPlay();

// 1 when the live database holds a change that the save file does not: the rows of every table
// (but "player view", which only says what the bowler preview shows) differ from those the file
// was last read with or written from. Also 1 while no file has been read or written yet.
int SaveChangesPending();
// The menus' save point: with auto-save on and a change pending, saves it through GameSave, behind
// the saving boxes. 1 when it was saved; 0 when there was nothing to save or it was not saved.
int SaveChanges();
// At the end of the program (the window closed, HOME's Close): waits for a save under way, then,
// with auto-save on, writes a change still pending at once, without boxes (the program is ending).
// The pro shop's tried-on items are taken off first, as leaving the shop would. 1 when nothing
// is left unsaved.
int SaveBeforeClosing();
// Forgets the live database without freeing it: for a run (or test) whose game heap has gone.
void ForgetSaveDatabase();
