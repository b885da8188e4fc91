// The save data's message tables. Entries that tell the player to leave the console switched on or
// to reinsert its card, or that speak of a storage device that is not there, speak of this game and
// its save folder instead; the rest stand as written.
#include "shell/savetexts.h"

#define CHECK_SPACE_ENGLISH                                                                                  \
    {                                                                                                        \
        "Could not save progress. Check the Nintendo 3DS Game Card is inserted correctly. If retry not "     \
        "successful, turn off the power and reinsert the Game Card.",                                        \
            "Initializing save data.\nPlease don't close\nthe game.",                                        \
            "Insufficient free space on storage device. Please create some free space or select a new "      \
            "device by selecting Autosave from the options menu.",                                           \
            "No save data found on storage device.",                                                         \
            "Could not use the save folder.\nClose the game and check\nthe folder can be written.",          \
            "Tap the Touch Screen to continue", "Save failed."                                               \
    }

#define MEMORY_CARD_ENGLISH                                                                                  \
    {                                                                                                        \
        "Load failed. No gamer profile is currently signed in.",                                             \
            "Hard drive was removed and replaced. Save to memory card currently in slot %s? Any existing "   \
            "save data will be overwritten.",                                                                \
            "There is insufficient space on the selected storage device. Zendrolyx requires at least %d KB " \
            "to save.",                                                                                      \
            "", "Save game found. Do you want to overwrite this data?",                                      \
            "The selected storage device has been removed. Auto-saving will be turned off. Please reconnect " \
            "storage device or select another storage device.",                                              \
            "Saving. Please don't close the game.", "", "", "Save failed! Try again?", "Checking hard drive.", \
            "Autoloading content...", "Load successful.", "Load failed.", "",                                \
            "Load failed. No Zendrolyx saved game found on storage device.",                                 \
            "Save game found on storage device. Loading a saved game will result in the loss of any unsaved " \
            "progress. Would you like to load it?",                                                          \
            "Load failed. The save folder's savegame.bin is not a file. Nothing will be saved.", "",                                             \
            "Load failed. The saved game appears to be damaged and cannot be loaded.", "Save Successful.",   \
            "Delete Successful.", "Save game?", "Loading content...", "Load failed. Try again?",             \
            "Insufficient free space on hard drive. Free space on hard drive.",                              \
            "Enable autosave failed. No gamer profile is currently signed in.",                              \
            "The storage device has changed. Please select a new device."                                    \
    }

const char* checkSpaceStrings[kNumTextLanguages][kNumCheckSpaceStrings] = {
    CHECK_SPACE_ENGLISH, CHECK_SPACE_ENGLISH, CHECK_SPACE_ENGLISH, CHECK_SPACE_ENGLISH,
    CHECK_SPACE_ENGLISH, CHECK_SPACE_ENGLISH, {"", "", "", "", "", "", ""},
};

const char* memoryCardStrings[kNumTextLanguages][kNumMemoryCardStrings] = {
    MEMORY_CARD_ENGLISH, MEMORY_CARD_ENGLISH, MEMORY_CARD_ENGLISH, MEMORY_CARD_ENGLISH,
    MEMORY_CARD_ENGLISH, MEMORY_CARD_ENGLISH, {"", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""},
};
