// The autosave's message sequence. The bytes are moved by the save module; this file only decides
// what the player sees while they move and after. Every failure of the write asks "Save failed!
// Try again?": the host's atomic write has left the previous save whole, so trying again or
// playing on without autosave are both safe. A save file that could not be read and could not be
// moved aside is written over only after the player has answered yes to "Save game found. Do you
// want to overwrite this data?"; no leaves it and turns autosave off.
#include "overlays/autosave.h"

#include "game/records.h"
#include "lib/resourceids.h"
#include "overlays/overlaystrings.h"
#include "overlays/questionoverlays.h"
#include "platform/sound.h"
#include "shell/globals.h"
#include "shell/savedata.h"

int gAutoSaveSlot = 0;

static const int kFramesBeforeWrite = 14;
static const int kContinueButton = 0;  // "{1} Continue"
static const int kYesNoButtons = 3;    // "{1} Yes    {3} No"

static int saveCalled = 0;
static int saveFailed = 0;
static int writeStarted = 0;  // the write of saveData has been handed to the worker
static char* saveData = nullptr;
static int saveDataSize = 0;

// The saving message; the save counts as under way from its first frame, so sleep is refused.
static int OpenSavingBox()
{
    saveCalled = 0;
    writeStarted = 0;
    SaveDataBegin();
    return StartNoInputOverlay("", memoryCardStrings[gLanguage][kTextSaving], "", OnSaveComplete, SaveHighScores);
}

// The answer to "Save game found. Do you want to overwrite this data?".
static int OnOverwriteAnswer(int response)
{
    if (!response) {
        gAutoSaveSlot = -1;
        return 1;
    }
    SaveDataAllowOverwrite();
    OpenSavingBox();
    return 1;
}

int SeasonSaveGame(char* image, int size)
{
    writeStarted = 0;
    if (gAutoSaveSlot == -1) return 1;
    saveData = image;
    saveDataSize = size;
    if (SaveDataFileUnchecked()) {
        SaveDataBegin();
        StartYesNoOverlay("", memoryCardStrings[gLanguage][kTextOverwriteSave], ButtonString(kYesNoButtons),
                          OnOverwriteAnswer);
        return 1;
    }
    OpenSavingBox();
    return 1;
}

int SaveHighScores(int)
{
    ++saveCalled;
    if (saveCalled <= kFramesBeforeWrite) return 0;
    if (saveCalled == kFramesBeforeWrite + 1) {
        saveFailed = 0;
        if (SaveDataWrite(saveData, saveDataSize) != kSaveResultOk) {
            saveFailed = 1;
            return 1;
        }
        writeStarted = 1;
    }
    if (!SaveDataProcessComplete()) return 0;
    if (SaveDataResult() != kSaveResultOk) saveFailed = 1;
    return 1;
}

int OnSaveComplete(int)
{
    if (!saveFailed) {
        StartNoInputOverlay("", memoryCardStrings[gLanguage][kTextSaveSuccessful], "", nullptr, nullptr);
        return 1;
    }
    StartYesNoOverlay("", memoryCardStrings[gLanguage][kTextSaveFailedRetry], ButtonString(kYesNoButtons),
                      OnAutoSaveFail);
    return 1;
}

// The chime is a courtesy: without a sound device the player's answer still counts.
int OnAutoSaveFail(int response)
{
    SoundPlayResource(kSoundChime, gGameOptions.soundFXVolume, 1);
    if (!response) {
        gAutoSaveSlot = -1;
        return 1;
    }
    SaveDataEnd();  // the failed run is over; the next one starts on a fresh worker
    OpenSavingBox();
    return 1;
}

int StartLoadFailedMessage(int (*response)(int))
{
    const char* text = SaveDataLoadFailureText();
    if (!text) return 0;
    return StartInfoOverlay("", text, ButtonString(kContinueButton), response);
}

int AutoSaveFailed() { return saveFailed; }

int AutoSaveTakeWritten()
{
    const int written = writeStarted && SaveDataProcessComplete() && SaveDataResult() == kSaveResultOk;
    writeStarted = 0;
    return written;
}
