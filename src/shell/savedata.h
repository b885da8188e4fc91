// The save data: the save directory and the save file, read and written by a worker thread.
#pragma once

int SaveDataInit();
int SaveDataEnd();

constexpr int kNumTextLanguages = 7;
constexpr int kNumCheckSpaceStrings = 7;
// Save-data notices by language row and entry (row 0 English).
extern const char* checkSpaceStrings[kNumTextLanguages][kNumCheckSpaceStrings];
