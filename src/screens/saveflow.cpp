// Saving and loading the front end's persistent state. The save file is the contiguous image of the
// "save" database; the shell's save module moves the bytes on its worker and checks the image, and
// this module decides when: at start-up (the defaults, then the file over them), when a script
// asks ("GameSave", "GameLoad") and after each career game. A file is read into a scratch block
// first and compared table by table with the live database, so that a damaged or foreign file
// never touches it. Every save and load ends the same way, whatever happened: the save worker
// released, the HOME button allowed again, the menu music playing again.
#include "screens/saveflow.h"

#include <cstring>
#include <initializer_list>

#include "db/dbimage.h"
#include "db/dbxml.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "overlays/autosave.h"
#include "overlays/nohomeicon.h"
#include "overlays/overlaystack.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/streams.h"
#include "platform/utilities.h"
#include "screens/frontenddb.h"
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

// The default save database of each language; a language without its own uses English.
static const char* const kSaveFileNames[] = {"db/save.db.xml", "db/save.db.fr.xml", "db/save.db.it.xml",
                                             "db/save.db.gr.xml", "db/save.db.sp.xml"};
static const int kLanguages = int(sizeof kSaveFileNames / sizeof kSaveFileNames[0]);
static const int kOptionAutoSave = 5;

static int SameText(const char* a, const char* b) { return a && b ? std::strcmp(a, b) == 0 : a == b; }

// 1 when both databases have the same tables with the same columns and rows.
static int SameLayout(sBasicDb* a, sBasicDb* b)
{
    if (a->tables != b->tables) return 0;
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
    RepairSaveValues(dbSave, defaults, game ? game : ownGame, ui ? ui : ownUi);
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
    sBasicDb* loaded = nullptr;
    SelectTempMemory();
    int ok = BasicDb_Load(&loaded, DefaultSaveFileName()) && loaded;
    if (!ok && DefaultSaveFileName() != kSaveFileNames[0]) ok = BasicDb_Load(&loaded, kSaveFileNames[0]) && loaded;
    SelectPermanentMemory();
    if (!ok || done) return PrintError("save: the default save database cannot be loaded");
    sBasicDb* image = nullptr;
    if (!BasicDb_CreateContiguousCopy(&loaded, &image) || !image) {
        BasicDb_Destroy(loaded);
        return PrintError("save: no memory for the save database");
    }
    BasicDb_Destroy(loaded);
    dbSave = image;
    BasicDb_DbRegister(dbSave);
    EnableNoHomeDraw();
    if (ReadSaveFile(BasicDb_Size(&dbSave))) {
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

// One frame of the saving boxes: both eyes empty, the lower screen with the overlays.
static void DrawSaveFrame()
{
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
        if (!OverlayHandleInput() || !OverlayUpdate()) {
            ok = PrintError("save: an overlay of the save failed");
            break;
        }
        DrawSaveFrame();
    }
    SaveDataEnd();
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
    // The PC has one player, always signed in: the question of a missing profile never arises.
    sBasicUiEnvironment* env = caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
    sBasicUiWidget* dialog = BasicUi_FindWidget(env, "s7dialogSave");
    if (dialog && BasicUiWidgetTypeDialogBox_OpenDialog(dialog, 2) != 2) return 0;
    if (!dbSave) return 1;
    EnableNoHomeDraw();
    const int loaded = ReadSaveFile(BasicDb_Size(&dbSave));
    // A file that failed is kept aside; the player is told, and the game goes on as it was.
    if (!loaded) TellLoadFailure(nullptr);
    PumpSaveOverlays();
    if (loaded) {
        SetAutoSaveEnabled(1);
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
    if (!UpdateQuickPlayStats() || !AutoSaveEnabled()) return 0;
    return GameSave(nullptr, 0);
}

void ForgetSaveDatabase() { dbSave = nullptr; }
