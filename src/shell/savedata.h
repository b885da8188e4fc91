// The save data: the save directory ("data:/", the --data directory) and the one save file in it,
// "data:/savegame.bin", which holds the save database's contiguous image byte for byte. Reads and
// writes run on one worker thread while the main thread keeps presenting frames. A write goes to
// a temporary file that is renamed over the old save only when it is whole, so a failed or
// interrupted write leaves the previous save as it was. A read is checked (its length and the
// database's image check) before it touches the caller's image; a file that fails is kept beside
// the save under another name, never deleted and never used. A file that fails and cannot be moved
// aside stays in place, and no write replaces it until the player has agreed to that.
#pragma once

#include "shell/savetexts.h"

// The save file's game path and the largest image it may hold.
extern const char* const SAVEDATA_FILENAME;
constexpr int kSaveDataMaxSize = 0x67000;

// Worker results (SaveDataResult).
enum {
    kSaveResultOk = 5,       // read or written
    kSaveResultNoSpace = 10,  // the write found no room; the old save is kept
    kSaveResultFailed = 13,   // any other failure; the old save is kept
};

// Why the last load gave nothing (SaveDataLoadFailure).
enum {
    kLoadFailNone = 0,     // the last load read a checked image
    kLoadFailMissing = 1,  // there is no save file yet
    kLoadFailRead = 2,     // the file could not be read; it was kept aside
    kLoadFailDamaged = 3,  // the file's length or contents are wrong; it was kept aside
    kLoadFailRefused = 4,  // the file was not read (no buffer, too large, no memory, no thread)
    kLoadFailUnusable = 5, // the save path is no file (a directory, a named pipe): left alone
};

// Mounts the save directory at start-up, with nothing read yet. When it does not exist yet, the
// initialising notice is shown for 60 frames on the lower screen and the directory is created. 1
// when the directory can be used; 0 otherwise (start-up then shows the endless message box).
int SaveDataInit();

// Reads the save file into data[0..size) on the worker, presenting empty frames until it is done.
// 1 only when the file is exactly size bytes and passes the image check; otherwise data is left
// untouched, SaveDataLoadFailure says why, and a file that was there is kept aside as
// SaveDataKeptAside names, or, when it could not be read or moved, left in place as
// SaveDataFileUnchecked says. forceUI is not used. The caller calls SaveDataEnd afterwards.
int LoadData(char* data, int size, int forceUI);
// The read under LoadData: opens the file, runs the loader and waits; the same results.
int SaveDataRead(char* readBuffer, int size);
// Starts writing writeBuffer[0..size) on the worker and returns at once: kSaveResultOk (started)
// or kSaveResultFailed (the file cannot be opened, size is out of range, or the file in place is
// unchecked: refused with a message, never cut). writeBuffer must stay untouched until
// SaveDataProcessComplete returns 1.
int SaveDataWrite(const char* writeBuffer, int size);
// For a read that passed the image check but that the caller finds is not its own database (another
// layout of tables): the file is kept aside as a damaged one and the load counts as damaged. 0.
int SaveDataRefuseLoaded();
// For a load that the caller could not carry through (say, no memory for its own copy): the file
// in place, if any, counts as not read (kLoadFailRefused) and is not written over. Prints why. 0.
int SaveDataRefuseUnread(const char* why);
// 1 while a save file is in place that a load could not check and could not move aside: writes
// are refused until SaveDataAllowOverwrite, which the player's agreement to lose it calls.
int SaveDataFileUnchecked();
void SaveDataAllowOverwrite();
// A save is under way from here (its message is up before the write starts): sleep is refused and
// SaveDataProcessComplete is 0 until the write's end, or SaveDataEnd.
void SaveDataBegin();
// Waits for the worker, releases it, closes the file and allows sleep again; nothing is under way
// afterwards. Returns 1.
int SaveDataEnd();

// 0 while a read or write runs, else 1 (the sleep query and the busy dots read it).
int SaveDataProcessComplete();
// The result of the last worker run (kSaveResult...), 0 before the first.
int SaveDataResult();
int SaveDataLoadFailure();
// The game path the last damaged or unreadable save file was moved to; empty when none.
const char* SaveDataKeptAside();
// The message for the player about the last failed load (an entry of memoryCardStrings), or null
// when the last load succeeded or found no file.
const char* SaveDataLoadFailureText();
// The user whose save data is loaded; the front end takes 0 to 3 as a signed-in user and anything
// else as none (then it loads nothing).
int GetUserIDLoaded();
