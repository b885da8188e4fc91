// The save data's texts for the player, by language row and entry (row 0 English). The game reads
// them at row gLanguage, which is always 0; the other rows repeat the English texts and the last is
// empty, so no row is ever missing a message. Texts that speak of the handheld's own hardware are
// said of this game where the player would otherwise be misled.
#pragma once

constexpr int kNumTextLanguages = 7;
constexpr int kNumCheckSpaceStrings = 7;
constexpr int kNumMemoryCardStrings = 28;

// Entries of checkSpaceStrings.
enum { kTextInitializing = 1, kTextCannotUseSave = 4 };
// Entries of memoryCardStrings.
enum {
    kTextOverwriteSave = 4,
    kTextSaving = 6,
    kTextSaveFailedRetry = 9,
    kTextLoadFailed = 13,
    kTextLoadUnusable = 17,
    kTextLoadDamaged = 19,
    kTextSaveSuccessful = 20,
};

extern const char* checkSpaceStrings[kNumTextLanguages][kNumCheckSpaceStrings];
extern const char* memoryCardStrings[kNumTextLanguages][kNumMemoryCardStrings];
