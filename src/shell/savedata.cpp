// The save file and its worker. The save directory stands for the console's save archive: mounting
// checks it, formatting creates it. One worker thread at a time reads or writes the whole image;
// the main thread hands it the buffer and the open file before it starts and looks at the results
// only after the worker's last act, setting loadSaveComplete, so the two never share anything but
// the two atomics.
//
// Nothing here may cost the player a save. Writes go through the host's atomic write (temporary
// file, flush, rename), so a failure at any point leaves the old file. Reads land in a scratch
// block and reach the caller's image only after the length and the database's image check pass; a
// file that fails is renamed aside (savegame-damaged-N.bin) before the front end writes a fresh
// save, and the next load reads whatever is then in place: one bad load never spoils later ones.
// A file that a load could not check and could not move aside (every kept name taken, no memory,
// no thread) stays in place and is not written over until the player agrees to it
// (SaveDataAllowOverwrite). A save path that is no file at all (a directory, a named pipe) is
// neither read nor moved.
#include "shell/savedata.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "db/dbimage.h"
#include "host/errorlog.h"
#include "host/files.h"
#include "host/host.h"
#include "host/threads.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/textoutput.h"
#include "platform/applet.h"
#include "platform/render.h"
#include "shell/globals.h"
#include "shell/upperlayers.h"

const char* const SAVEDATA_FILENAME = "data:/savegame.bin";

static const int kNoticeFrames = 60;
static const int kMaxKeptAside = 1000;

// Worker state. The main thread writes these before the worker starts and reads them only after
// loadSaveComplete is 1 again (release by the worker, acquire by the main thread).
static HostThread worker;
static std::atomic<int> loadSaveComplete{1};
static std::atomic<int> saveResult{0};
static HostFile* saveFile = nullptr;
static char* fileBuffer = nullptr;
static int fileSize = 0;
static uint32_t bytesRead = 0;     // loader: bytes read
static uint64_t fileLength = 0;    // loader: the file's length
static int32_t fileStatus = kHostFileOk;  // loader: its host result

// Main-thread state.
static int loadFailure = kLoadFailNone;
static std::string keptAside;
static int fileUnchecked = 0;  // the file in place failed a load and was not moved aside
static int workerStarted = 0;  // a run was started and not yet joined
// The user whose save is loaded. The PC has one player, always signed in: user 0, and nothing
// changes it. (-1 would mean no one is signed in, and the menus would refuse every load.)
static int userIDLoad = 0;

// ---- Mounting -----------------------------------------------------------------------------------

// The initialising notice on the lower screen, one frame; 0 when a render call failed.
static int DrawNoticeFrame(const char* text)
{
    if (!RenderStartScreen()) return 0;
    RenderStartDisplay1();
    gInRenderLoop = 1;
    TextOutputSetMode(kTextModeCenter);
    int drawn = TextOutputSelectFont(upperLayers.GetFontRSID(kGameFontBody));
    if (drawn) {
        upperLayers.DrawOverlayBackground(0, 0, frameBufferLower.width, frameBufferLower.height);
        const int lineOffset = int(float(TextOutputGetFontHeight()) * 2.5f);
        drawn = TextOutputDrawDirect(frameBufferLower.width / 2, frameBufferLower.height / 2 - lineOffset, "%s", text);
    }
    gInRenderLoop = 0;
    RenderEndDisplay1();
    return RenderDoneScreen() && drawn;
}

// After a frame of start-up's own: the order to close (a signal, HOME's Close, the frame limit)
// is served here as a controller read would, so that it ends the notice at once. 1 while it has
// not come.
static int NotClosed()
{
    ServiceAppletOrders();
    return !done;
}

// Two empty frames on both screens, so the notice does not linger.
static void PresentEmptyFrames()
{
    for (int i = 0; i < 2 && !done; ++i) {
        if (!RenderStartScreen()) return;
        RenderDoneScreen();
        NotClosed();
    }
}

int SaveDataInit()
{
    // A start has read nothing yet: no failure, no file kept aside or left unread.
    loadFailure = kLoadFailNone;
    keptAside.clear();
    fileUnchecked = 0;
    int32_t mounted = HostSaveArchiveMount();
    if (mounted == kHostFileOk) return 1;
    // Only a missing archive is formatted; one that is there but unusable is reported.
    const char* folder = gHostOptions.dataDir.c_str();
    if (mounted < kHostFileNotFormatted || mounted > 399)
        return PrintError("save: the save folder %s cannot be used", HostQuoted(folder).c_str());
    for (int frame = 0; frame < kNoticeFrames && !done; ++frame) {
        if (!DrawNoticeFrame(checkSpaceStrings[gLanguage][kTextInitializing]) || !NotClosed()) break;
    }
    if (HostSaveArchiveFormat() != kHostFileOk)
        return PrintError("save: the save folder %s cannot be created", HostQuoted(folder).c_str());
    if (HostSaveArchiveMount() != kHostFileOk)
        return PrintError("save: the new save folder %s cannot be used", HostQuoted(folder).c_str());
    PresentEmptyFrames();
    return 1;
}

// ---- The worker ---------------------------------------------------------------------------------

static void LoadThreadFunc()
{
    int32_t result = HostFileSize(saveFile, &fileLength);
    if (result == kHostFileOk) result = HostFileSeek(saveFile, 0);
    if (result == kHostFileOk) result = HostFileRead(saveFile, fileBuffer, uint32_t(fileSize), &bytesRead);
    fileStatus = result;
    saveResult.store(result == kHostFileOk ? kSaveResultOk : kSaveResultFailed);
    loadSaveComplete.store(1, std::memory_order_release);
}

// The file is committed here, so the result says whether the new save is in place.
static void SaveThreadFunc()
{
    uint32_t written = 0;
    int32_t result = HostFileWrite(saveFile, fileBuffer, uint32_t(fileSize), &written);
    if (result == kHostFileOk && written != uint32_t(fileSize)) result = kHostFileError;
    if (result == kHostFileOk) {
        result = HostFileClose(saveFile);
    } else {
        HostFileAbandon(saveFile);
    }
    saveFile = nullptr;
    if (result != kHostFileOk) PrintError("save: the save file could not be written (result %d)", int(result));
    const int noSpace = result >= kHostFileNoSpace && result <= 219;
    saveResult.store(result == kHostFileOk ? kSaveResultOk : noSpace ? kSaveResultNoSpace : kSaveResultFailed);
    loadSaveComplete.store(1, std::memory_order_release);
}

static void JoinWorker()
{
    worker.Join();
    workerStarted = 0;
}

static int StartWorker(void (*body)())
{
    loadSaveComplete.store(0);
    DisableSleepMode();
    if (worker.Start(body)) {
        workerStarted = 1;
        // Headless runs go on game time: how long the disk takes must not change how many frames
        // the run presents, so the main thread waits for the worker at once.
        if (gHostOptions.headless) JoinWorker();
        return 1;
    }
    saveResult.store(kSaveResultFailed);
    loadSaveComplete.store(1);
    return PrintError("save: the save thread cannot start");
}

// Presents empty frames until the worker is done; only waits when no frame can be drawn.
static void WaitForWorker()
{
    while (!loadSaveComplete.load(std::memory_order_acquire)) {
        if (!RenderStartScreen() || !RenderDoneScreen()) {
            JoinWorker();
            break;
        }
    }
}

// ---- Reading ------------------------------------------------------------------------------------

// Moves the save file aside as savegame-damaged-N.bin (the first free N), so that a fresh save
// cannot replace it. Returns 1 when it was moved.
static int KeepAside()
{
    char name[64];
    for (int n = 1; n <= kMaxKeptAside; ++n) {
        std::snprintf(name, sizeof name, "data:/savegame-damaged-%d.bin", n);
        if (HostFileExists(name)) continue;
        if (HostFileRename(SAVEDATA_FILENAME, name) != kHostFileOk) break;
        keptAside = name;
        PrintError("save: the save file was kept as %s", name);
        return 1;
    }
    return PrintError("save: the unreadable save file could not be moved aside; it stays in place and is not "
                      "written over unless the player agrees");
}

static int FailLoad(int why)
{
    loadFailure = why;
    if (why == kLoadFailRead || why == kLoadFailDamaged) fileUnchecked = !KeepAside();
    return 0;
}

// After the loader: the length, the count read and the image check decide; only then is data
// written.
static int FinishRead(char* data, int size, char* scratch)
{
    if (saveResult.load() != kSaveResultOk) {
        PrintError("save: the save file could not be read (result %d)", int(fileStatus));
        return FailLoad(kLoadFailRead);
    }
    if (fileLength != uint64_t(size) || bytesRead != uint32_t(size)) {
        PrintError("save: the save file holds %llu bytes, %u were read, the image has %d",
                   (unsigned long long)fileLength, bytesRead, size);
        return FailLoad(fileLength != uint64_t(size) ? kLoadFailDamaged : kLoadFailRead);
    }
    if (!BasicDb_CheckImage(scratch, size)) {
        PrintError("save: the save file is damaged");
        return FailLoad(kLoadFailDamaged);
    }
    std::memcpy(data, scratch, size_t(size));
    return 1;
}

int SaveDataRefuseUnread(const char* why)
{
    PrintError("save: %s", why);
    loadFailure = kLoadFailRefused;
    fileUnchecked = HostFileExists(SAVEDATA_FILENAME);
    if (fileUnchecked) PrintError("save: the save file that was not read stays in place and is not written over");
    return 0;
}

int SaveDataRead(char* readBuffer, int size)
{
    keptAside.clear();
    loadFailure = kLoadFailNone;
    fileUnchecked = 0;
    if (!readBuffer || size <= 0) return SaveDataRefuseUnread("nothing to read the save file into");
    int32_t opened = kHostFileOk;
    saveFile = HostFileOpenRead(SAVEDATA_FILENAME, &opened);
    if (!saveFile) {
        loadSaveComplete.store(1);
        if (opened == kHostFileNotFound) return FailLoad(kLoadFailMissing);
        // A directory or a pipe in the save file's place holds no save to keep: it is left alone.
        if (opened == kHostFileNotAFile) return FailLoad(kLoadFailUnusable);
        // A file that is there but cannot be opened is kept aside like one that cannot be read.
        return FailLoad(kLoadFailRead);
    }
    char* scratch = nullptr;
    if (!AllocateTempMemory(reinterpret_cast<void**>(&scratch), size)) {
        HostFileClose(saveFile);
        saveFile = nullptr;
        loadSaveComplete.store(1);
        return SaveDataRefuseUnread("no memory to read the save file");
    }
    fileBuffer = scratch;
    fileSize = size;
    bytesRead = 0;
    fileLength = 0;
    int ok = StartWorker(LoadThreadFunc);
    if (ok) WaitForWorker();
    JoinWorker();
    HostFileClose(saveFile);
    saveFile = nullptr;
    if (ok) ok = FinishRead(readBuffer, size, scratch);
    else SaveDataRefuseUnread("the save file was not read");
    FreeManagedMemory(scratch, unsigned(size));
    return ok;
}

int SaveDataRefuseLoaded()
{
    PrintError("save: the save file holds another game's data");
    return FailLoad(kLoadFailDamaged);
}

int LoadData(char* data, int size, int)
{
    loadSaveComplete.store(0);
    int ok = 0;
    if (size > kSaveDataMaxSize) {
        keptAside.clear();
        SaveDataRefuseUnread("Load file size is too large!");
    } else {
        ok = SaveDataRead(data, size);
    }
    // The read has ended either way (its worker is joined).
    loadSaveComplete.store(1);
    return ok;
}

// ---- Writing ------------------------------------------------------------------------------------

int SaveDataWrite(const char* writeBuffer, int size)
{
    if (workerStarted && !loadSaveComplete.load()) {
        PrintError("save: a save is still being written");
        return kSaveResultFailed;
    }
    JoinWorker();  // a finished run that nobody ended yet
    if (fileUnchecked) {
        saveResult.store(kSaveResultFailed);
        loadSaveComplete.store(1);
        PrintError("save: the save file in place could not be read and is not written over");
        return kSaveResultFailed;
    }
    if (!writeBuffer || size <= 0 || size > kSaveDataMaxSize) {
        saveResult.store(kSaveResultFailed);
        loadSaveComplete.store(1);
        if (size > kSaveDataMaxSize) PrintError("save: Save file size is too large!");
        else PrintError("save: nothing to write");
        return kSaveResultFailed;
    }
    int32_t opened = kHostFileOk;
    saveFile = HostFileOpenWrite(SAVEDATA_FILENAME, &opened);
    if (!saveFile) {
        saveResult.store(opened >= kHostFileNoSpace && opened <= 219 ? kSaveResultNoSpace : kSaveResultFailed);
        loadSaveComplete.store(1);
        PrintError("save: the save file cannot be opened for writing (result %d)", int(opened));
        return kSaveResultFailed;
    }
    fileBuffer = const_cast<char*>(writeBuffer);
    fileSize = size;
    saveResult.store(kSaveResultOk);
    if (!StartWorker(SaveThreadFunc)) {
        HostFileAbandon(saveFile);
        saveFile = nullptr;
        return kSaveResultFailed;
    }
    return kSaveResultOk;
}

// ---- Both ---------------------------------------------------------------------------------------

int SaveDataEnd()
{
    JoinWorker();
    if (saveFile) {
        HostFileAbandon(saveFile);
        saveFile = nullptr;
    }
    // Whatever was begun, nothing is under way any more.
    loadSaveComplete.store(1);
    EnableSleepMode(true);
    return 1;
}

void SaveDataBegin()
{
    loadSaveComplete.store(0);
    DisableSleepMode();
}

int SaveDataFileUnchecked() { return fileUnchecked; }

void SaveDataAllowOverwrite()
{
    if (fileUnchecked) PrintError("save: the player agreed to write over the save file that could not be read");
    fileUnchecked = 0;
}

int SaveDataProcessComplete() { return loadSaveComplete.load(); }
int SaveDataResult() { return saveResult.load(); }
int SaveDataLoadFailure() { return loadFailure; }
const char* SaveDataKeptAside() { return keptAside.c_str(); }
int GetUserIDLoaded() { return userIDLoad; }

const char* SaveDataLoadFailureText()
{
    switch (loadFailure) {
        case kLoadFailDamaged: return memoryCardStrings[gLanguage][kTextLoadDamaged];
        case kLoadFailUnusable: return memoryCardStrings[gLanguage][kTextLoadUnusable];
        case kLoadFailRead:
        case kLoadFailRefused: return memoryCardStrings[gLanguage][kTextLoadFailed];
        default: return nullptr;
    }
}
