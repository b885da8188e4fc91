// Mounting the save data: the save directory is created when it does not exist yet. Reading and
// writing the save file come with the save work.
#include "shell/savedata.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "host/host.h"
#include "lib/printing.h"

// Creates dir and its missing parents; 1 when it exists as a directory afterwards.
static int MakeDirectories(const std::string& dir)
{
    if (dir.empty()) return 0;
    struct stat st;
    if (stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? 1 : 0;
    size_t slash = dir.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(dir.substr(0, slash))) return 0;
    return mkdir(dir.c_str(), 0755) == 0 || errno == EEXIST ? 1 : 0;
}

int SaveDataInit()
{
    if (!MakeDirectories(gHostOptions.dataDir)) {
        PrintError("save data: cannot use the save directory %s", gHostOptions.dataDir.c_str());
        return 0;
    }
    return 1;
}

int SaveDataEnd() { return 1; }

#define CHECK_SPACE_ENGLISH                                                                                  \
    {                                                                                                        \
        "Could not save progress. Check the Nintendo 3DS Game Card is inserted correctly. If retry not "     \
        "successful, turn off the power and reinsert the Game Card.",                                        \
            "Initializing save data.\nPlease don't turn off\nyour Nintendo 3DS system.",                     \
            "Insufficient free space on storage device. Please create some free space or select a new "      \
            "device by selecting Autosave from the options menu.",                                           \
            "No save data found on storage device.",                                                         \
            "Could not read save data.\nTurn off the power and\nreinsert the card.",                         \
            "Tap the Touch Screen to continue", "Save failed."                                               \
    }

// Every row is read at row 0 in this game; the other language rows repeat the English texts so
// that no row is ever missing a message.
const char* checkSpaceStrings[kNumTextLanguages][kNumCheckSpaceStrings] = {
    CHECK_SPACE_ENGLISH, CHECK_SPACE_ENGLISH, CHECK_SPACE_ENGLISH, CHECK_SPACE_ENGLISH,
    CHECK_SPACE_ENGLISH, CHECK_SPACE_ENGLISH, {"", "", "", "", "", "", ""},
};
