// Saving and loading the front end's persistent state. The save file is the contiguous image of the
// "save" database; the shell's save module moves the bytes on its worker and checks the image, and
// this module decides when: at start-up (the defaults, then the file over them), when a script
// asks ("GameSave", "GameLoad"), at the menus' save points (SaveChanges: after a purchase, an
// event entered, a game folded in, a page left for the main menu or the career hub) and as the
// program closes (SaveBeforeClosing). A file is read into a scratch block first and compared table
// by table with the live database, so that a damaged or foreign file never touches it. Every save
// and load ends the same way, whatever happened: the save worker released, the HOME button allowed
// again, the menu music playing again.
//
// What is on disk is known by a fingerprint of the tables' rows taken when the file was read or a
// write of it finished well; a change anywhere in the database, by a script function or a script's
// own edit of a cell, shows as a different fingerprint, so no save point has to be told about it.
#include "screens/saveflow.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "db/dbimage.h"
#include "db/dbxml.h"
#include "host/errorlog.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "overlays/autosave.h"
#include "overlays/nohomeicon.h"
#include "overlays/overlaystack.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/shaders.h"
#include "platform/streams.h"
#include "platform/utilities.h"
#include "screens/dbreads.h"
#include "screens/frontenddb.h"
#include "screens/mainmenu.h"
#include "screens/proshop.h"
#include "screens/results.h"
#include "screens/savevalues.h"
#include "screens/scriptfunctions_play.h"
#include "screens/trophies.h"
#include "shell/globals.h"
#include "shell/savedata.h"
#include "shell/scenedraw.h"
#include "ui/environment.h"
#include "ui/widgets/dialogbox.h"

sBasicDb* dbSave = nullptr;
int (*gSaveLoadedHook)() = nullptr;

// The fingerprint of the tables as the save file holds them; meaningful while savedKnown is 1.
static uint64_t savedFingerprint = 0;
static int savedKnown = 0;

// The default save database of each language; a language without its own uses English.
static const char* const kSaveFileNames[] = {"db/save.db.xml", "db/save.db.fr.xml", "db/save.db.it.xml",
                                             "db/save.db.gr.xml", "db/save.db.sp.xml"};
static const int kLanguages = int(sizeof kSaveFileNames / sizeof kSaveFileNames[0]);
static const int kOptionAutoSave = 5;

static int SameText(const char* a, const char* b) { return a && b ? std::strcmp(a, b) == 0 : a == b; }

// FNV-1a over the bytes, continuing from h.
static uint64_t Mix(uint64_t h, const uint8_t* bytes, size_t n)
{
    for (size_t i = 0; i < n; ++i) h = (h ^ bytes[i]) * 0x100000001b3ull;
    return h;
}

// Every table's rows but those of "player view", which the menus rewrite as pages open and which
// no player chose, and but the bowlers' reputations, which are worked out from what they won and
// wear whenever a page shows them (the first such recompute is no change of the player's).
static uint64_t Fingerprint()
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (int t = 0; dbSave && t < dbSave->tables; ++t) {
        sBasicDbTable* table = &dbSave->table.get()[t];
        sBasicDbTableDefinition* def = table->def;
        if (SameText(table->name, "player view") || !def || !table->row) continue;
        size_t skipFrom = 0, skipTo = 0;
        for (int c = 0; SameText(table->name, "players") && c < def->columns; ++c) {
            const sBasicDbTableColumnDefinition& column = def->column.get()[c];
            if (SameText(column.name, "reputation")) skipFrom = column.offset, skipTo = column.offset + 4;
        }
        const size_t stride = size_t(def->stride);
        for (int r = 0; r < table->rows; ++r) {
            const uint8_t* row = table->row.get() + size_t(r) * stride;
            h = Mix(h, row, skipTo > skipFrom ? skipFrom : stride);
            if (skipTo > skipFrom) h = Mix(h, row + skipTo, stride - skipTo);
        }
    }
    return h;
}

// The file now holds the live tables.
static void MarkSaved()
{
    savedFingerprint = Fingerprint();
    savedKnown = 1;
}

// 1 when both databases have the same name and the same tables with the same columns and rows.
// The name counts too: the menus find the save's tables by it, and a save that changed it would
// hide them and write the changed name back for good.
static int SameLayout(sBasicDb* a, sBasicDb* b)
{
    if (!SameText(a->name, b->name) || a->tables != b->tables) return 0;
    for (int t = 0; t < a->tables; ++t) {
        sBasicDbTable* ta = &a->table.get()[t];
        sBasicDbTable* tb = &b->table.get()[t];
        sBasicDbTableDefinition* da = ta->def;
        sBasicDbTableDefinition* db = tb->def;
        if (!SameText(ta->name, tb->name) || ta->rows != tb->rows || !da || !db) return 0;
        if (da->columns != db->columns || da->stride != db->stride) return 0;
        for (int c = 0; c < da->columns; ++c) {
            const sBasicDbTableColumnDefinition& ca = da->column.get()[c];
            const sBasicDbTableColumnDefinition& cb = db->column.get()[c];
            if (ca.type != cb.type || ca.count != cb.count || ca.offset != cb.offset || !SameText(ca.name, cb.name))
                return 0;
        }
    }
    return 1;
}

// The default save database of gLanguage's name (English for a language without its own).
static const char* DefaultSaveFileName() { return kSaveFileNames[gLanguage >= 0 && gLanguage < kLanguages ? gLanguage : 0]; }

// Reads database file `name` of the game data into temporary memory; null when it cannot.
static sBasicDb* LoadTemporary(const char* name)
{
    sBasicDb* db = nullptr;
    SelectTempMemory();
    const int ok = BasicDb_Load(&db, name) && db;
    SelectPermanentMemory();
    if (ok) return db;
    if (db) BasicDb_Destroy(db);
    return nullptr;
}

// The values of a save just read, checked against the tables they pick rows from: the defaults,
// the "game" and the "ui" databases come from the menus when they are open, else from the game
// data for the check alone.
static void RepairLoadedValues()
{
    sBasicDb* defaults = LoadTemporary(DefaultSaveFileName());
    sBasicDb* game = FrontEndDb(nullptr, "game");
    sBasicDb* ui = FrontEndDb(nullptr, "ui");
    sBasicDb* ownGame = game ? nullptr : LoadTemporary("db/game.db.xml");
    sBasicDb* ownUi = ui ? nullptr : LoadTemporary("db/ui.db.xml");
    // The order to close stopped a reading: the tables it left unread are not missing, and the
    // values stay as the file has them, to be checked when it is next read.
    if (!done) RepairSaveValues(dbSave, defaults, game ? game : ownGame, ui ? ui : ownUi);
    for (sBasicDb* db : {defaults, ownGame, ownUi})
        if (db) BasicDb_Destroy(db);
}

// Reads the save file into the live block when it is a good image of the same database; the live
// block is not touched otherwise. Values the game cannot use are repaired.
static int ReadSaveFile(int size)
{
    char* scratch = nullptr;
    char* patched = nullptr;
    if (!AllocateTempMemory(reinterpret_cast<void**>(&scratch), size)) return SaveDataRefuseUnread("no memory to read the save file");
    int ok = LoadData(scratch, size, 0);
    if (ok && !AllocateTempMemory(reinterpret_cast<void**>(&patched), size)) ok = SaveDataRefuseUnread("no memory to check the save file");
    if (ok) {
        std::memcpy(patched, scratch, size_t(size));
        sBasicDb* image = reinterpret_cast<sBasicDb*>(patched);
        ok = BasicDb_PatchPointers(&image, size) && SameLayout(image, dbSave);
        if (!ok) SaveDataRefuseLoaded();
        FreeManagedMemory(patched, unsigned(size));
    }
    if (ok) ok = BasicDb_LoadImage(&dbSave, scratch, size);
    FreeManagedMemory(scratch, unsigned(size));
    if (ok) RepairLoadedValues();
    return ok;
}

static int WriteDefaults(int)
{
    SeasonSaveGame(reinterpret_cast<char*>(dbSave), BasicDb_Size(&dbSave));
    return 1;
}

// Tells the player why the last load failed, then runs response (null: nothing). A save path that
// is no file can be neither read nor replaced: it is said once, and autosave goes off so that no
// save tries it again. 0 when there was nothing to tell (no save file yet).
static int TellLoadFailure(int (*response)(int))
{
    if (SaveDataLoadFailure() == kLoadFailUnusable) {
        PrintError("save: the save file cannot be used; autosave is off");
        gAutoSaveSlot = -1;
        StartLoadFailedMessage(nullptr);
        return 1;
    }
    return StartLoadFailedMessage(response);
}

int LoadSaveDatabase()
{
    BasicDb_Init();
    if (dbSave) BasicDb_Destroy(dbSave);
    dbSave = nullptr;
    // The save database starts as the program does: autosave on, until a file that cannot be used
    // (below) or the player's "No" to a failed save turns it off.
    gAutoSaveSlot = 0;
    sBasicDb* loaded = nullptr;
    SelectTempMemory();
    // Faults are counted from the load that is kept: a language without its own defaults falls
    // back to English's, which is no fault.
    long faultsBefore = HostErrorsReported();
    const char* file = DefaultSaveFileName();
    int ok = BasicDb_Load(&loaded, file) && loaded;
    if (!ok && file != kSaveFileNames[0]) {
        faultsBefore = HostErrorsReported();
        file = kSaveFileNames[0];
        ok = BasicDb_Load(&loaded, file) && loaded;
    }
    SelectPermanentMemory();
    if (done) return 0;  // the order to close stopped the reading
    if (!ok) return PrintError("save: the default save database cannot be loaded");
    // A save file is read only over defaults of the same layout: defaults that lost what the game
    // reads, or that the loader found damaged anywhere (a column's type, a row count), would have
    // every good save refused and put aside.
    if (!CheckDatabaseReads("save", loaded, file) || HostErrorsReported() != faultsBefore) {
        BasicDb_Destroy(loaded);
        return PrintError("save: the default save database is damaged (%s)", HostErrorReported(faultsBefore).c_str());
    }
    sBasicDb* image = nullptr;
    if (!BasicDb_CreateContiguousCopy(&loaded, &image) || !image) {
        BasicDb_Destroy(loaded);
        return PrintError("save: no memory for the save database");
    }
    BasicDb_Destroy(loaded);
    dbSave = image;
    BasicDb_DbRegister(dbSave);
    EnableNoHomeDraw();
    savedKnown = 0;
    if (ReadSaveFile(BasicDb_Size(&dbSave))) {
        MarkSaved();
        SetAutoSaveEnabled(1);
        SaveDataEnd();
        return 1;
    }
    SaveDataEnd();
    // No save yet: the defaults become the save. A file that failed was kept aside: the player is
    // told first, then the defaults are written. One that could not be moved aside is asked about
    // before anything is written over it (SeasonSaveGame); until then the defaults live in memory.
    if (!TellLoadFailure(WriteDefaults)) WriteDefaults(1);
    return 1;
}

// One frame of the saving boxes: both eyes empty, the lower screen with the overlays, placed in
// the screen's own pixels.
static void DrawSaveFrame()
{
    RenderSetOffset2D(0, 0);
    if (!RenderStartScreen()) return;
    if (RenderStartDisplay0L()) RenderEndDisplay0L();
    if (RenderStartDisplay0R()) RenderEndDisplay0R();
    if (RenderStartDisplay1()) {
        DrawDisplay1();
        RenderEndDisplay1();
    }
    RenderDoneScreen();
}

int PumpSaveOverlays()
{
    int ok = 1;
    while ((OverlayExists() || NoHomeDrawing()) && !done) {
        ReadControls(nullptr);
        // The order to close, served by the read, ends the pump before another frame is shown.
        if (done) break;
        if (!OverlayHandleInput() || !OverlayUpdate()) {
            ok = PrintError("save: an overlay of the save failed");
            break;
        }
        DrawSaveFrame();
    }
    SaveDataEnd();
    if (AutoSaveTakeWritten()) MarkSaved();
    DisableNoHomeDraw();
    return ok;
}

int GameSave(sBasicUiWidget*, int)
{
    if (!dbSave) return PrintError("save: there is no save database");
    if (gBackgroundMusicChannel) PauseStream(gBackgroundMusicChannel);
    EnableNoHomeDraw();
    SeasonSaveGame(reinterpret_cast<char*>(dbSave), BasicDb_Size(&dbSave));
    const int ok = PumpSaveOverlays();
    if (gBackgroundMusicChannel) ResumeStream(gBackgroundMusicChannel);
    return ok;
}

int GameLoad(sBasicUiWidget* caller, int)
{
    sBasicUiEnvironment* env = caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
    // Only a signed-in user's save is loaded (on the PC its one player always is).
    const int user = GetUserIDLoaded();
    if (user < 0 || user > 3) {
        if (sBasicUiWidget* noProfile = BasicUi_FindWidget(env, "s7dialogNoProfile"))
            BasicUiWidgetTypeDialogBox_OpenDialog(noProfile, 1);
        return 0;
    }
    sBasicUiWidget* dialog = BasicUi_FindWidget(env, "s7dialogSave");
    if (dialog && BasicUiWidgetTypeDialogBox_OpenDialog(dialog, 2) != 2) return 0;
    if (!dbSave) return 1;
    EnableNoHomeDraw();
    const int loaded = ReadSaveFile(BasicDb_Size(&dbSave));
    // A file that failed is kept aside; the player is told, and the game goes on as it was.
    if (!loaded) TellLoadFailure(nullptr);
    if (loaded) MarkSaved();
    PumpSaveOverlays();
    if (loaded) {
        SetAutoSaveEnabled(1);
        GameOptionsHaveChanged();
        SetTruShirtState(nullptr, 0);
        MainMenuTrophiesCheck(1);
        if (gSaveLoadedHook) gSaveLoadedHook();
    }
    return 1;
}

int SetAutoSaveEnabled(int enabled)
{
    if (enabled) gAutoSaveSlot = 0;
    sBasicDbTable* options = FrontEndTable(nullptr, "save", "options");
    if (!options) return 0;
    BasicDbTable_SetElementI(options, kOptionAutoSave, 0, enabled ? 1 : 0);
    return 1;
}

int AutoSaveEnabled()
{
    return BasicDbTable_GetElementI(FrontEndTable(nullptr, "save", "options"), kOptionAutoSave, 0, 1) != 0;
}

int FoldInQuickPlay()
{
    UpdateQuickPlayStats();
    return SaveChanges();
}

int SaveChangesPending() { return dbSave && (!savedKnown || Fingerprint() != savedFingerprint); }

int SaveChanges()
{
    if (!SaveChangesPending() || !AutoSaveEnabled() || gAutoSaveSlot == -1) return 0;
    GameSave(nullptr, 0);
    return !SaveChangesPending();
}

int SaveBeforeClosing()
{
    SaveDataEnd();  // a write under way finishes first
    if (!dbSave) return 1;
    if (inProShop) ProShopRestoreWorn();
    if (!SaveChangesPending()) return 1;
    // A player who answered "No" to "Save failed! Try again?" chose to play on without saving.
    if (!AutoSaveEnabled() || gAutoSaveSlot == -1) return 0;
    const int started = SaveDataWrite(reinterpret_cast<char*>(dbSave), BasicDb_Size(&dbSave)) == kSaveResultOk;
    SaveDataEnd();
    if (!started || SaveDataResult() != kSaveResultOk) return PrintError("save: the last changes could not be saved");
    MarkSaved();
    return 1;
}

void ForgetSaveDatabase()
{
    dbSave = nullptr;
    savedKnown = 0;
}
