// The main menu's lifecycle. Start-up prepares the UI framework and the save database once. Each
// opening clears and refills the registry of script functions, loads the UI description of the
// display variant into the framework's environment, folds in the game just played (by the kind
// the launcher recorded), and finds the screens the code reaches by name; then each frame runs
// one framework update (only once the menu has been drawn) and the framework's three passes.
// Whenever the main menu or the career hub comes into view, what the player changed on the pages
// before it (a set-up, the career bowler, the shop's new items once seen) is saved. Closing empties
// the environment and the registry and frees the shared front-end resources before a game.
#include "screens/mainmenu.h"

#include "db/database.h"
#include "game/characterload.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/transitions.h"
#include "lib/printing.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "overlays/nohomeicon.h"
#include "platform/applet.h"
#include "platform/quads.h"
#include "platform/shaders.h"
#include "screens/bowlerpreview.h"
#include "screens/career.h"
#include "screens/credits.h"
#include "screens/dbreads.h"
#include "screens/frontenddb.h"
#include "screens/loadingscreen.h"
#include "screens/results.h"
#include "screens/saveflow.h"
#include "screens/screenstack.h"
#include "screens/trophies.h"
#include "screens/scriptfunctions.h"
#include "screens/scriptfunctions_play.h"
#include "shell/globals.h"
#include "shell/settings.h"
#include "ui/environment.h"
#include "ui/frameupdate.h"
#include "ui/loader.h"
#include "ui/presslatch.h"
#include "ui/registry.h"
#include "ui/uiinit.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/textscroll.h"
#include "ui/widgets/triggers.h"

int basicUiEnvironmentStarted = 0;
sBasicUiScreen* s0MainMenu = nullptr;
sBasicUiScreen* s18ProShop = nullptr;
int gMainMenuStarted = 0;

static SCREENTAG mainMenuScreen = {MainMenuScreenOpenHandler, MainMenuScreenDrawHandler, MainMenuScreenInputHandler,
                                   MainMenuScreenCloseHandler};
static int showControlMode = 0;
static int screenState = 0;
// The pages a player comes back to, and whether each was in view after the last update.
static const char* const kHomePages[] = {"s0MainMenu", "s12Career"};
static const int kHomePageCount = int(sizeof kHomePages / sizeof kHomePages[0]);
static int homePageShown[kHomePageCount] = {};
// The volumes as GameOptionsHaveChanged last read them.
static int rememberedVolumes[3] = {-1, -1, -1};

// Breaks the main screen's start sequence and runs another in its place, when both exist.
static void StartInstead(const char* sequence)
{
    sBasicUiEnvironment* env = BasicUi_GetEnvironment();
    sBasicUiWidget* start = BasicUi_FindWidget(env, "cSN.startS0");
    sBasicUiWidget* other = BasicUi_FindWidget(env, sequence);
    if (!start || !other) return;
    BasicUiWidgetTypeCmdSequence_Brk(start);
    BasicUiWidgetTypeCmdSequence_Run(other);
}

int UpdatePractice(sBasicUiWidget*, int)
{
    StartInstead("cSN.startS17");
    return 1;
}

int UpdatePinSelect(sBasicUiWidget*, int)
{
    StartInstead("cSN.startS17");
    // The practice page comes back with its frame on the entry played, as the pad left it.
    sBasicUiEnvironment* env = BasicUi_GetEnvironment();
    if (sBasicUiWidget* pinSelection = BasicUi_FindWidget(env, "s17b2"))
        BasicUiWidgetTypeTriggerMove_SetSelected(BasicUi_FindWidget(env, "s17.nav"), pinSelection);
    return 1;
}

int GameOptionsHaveChanged()
{
    sBasicDbTable* options = dbSave ? BasicDbTable_Find(dbSave, "options") : nullptr;
    if (!options) return 0;
    int changed = 0;
    for (int i = 0; i < 3; ++i) {
        const int volume = BasicDbTable_GetElementI(options, 1 + i, 0);
        if (volume != rememberedVolumes[i]) changed = 1;
        rememberedVolumes[i] = volume;
    }
    return changed;
}

// The menus' motions and the pictures they play, preloaded once when the save database is first
// built, under the loading screen, so that no page waits for them later: each display variant has
// 120 motions from 4000 and 16 clips from 4121. Resource 906 in memory means they are already
// there. The motions need no archive of their own here (the game data is one archive, already
// open), so the resource file names none. Only what the game data holds is loaded, and the
// loading screen is shown only around something to load: the game data holds none of these
// today, and a start-up with nothing to load draws no extra frame.
static sBasicUiResourceFile resourceMotions = {};
enum {
    kMotionsLoadedMarker = 906,
    kMotionsFirst = 4000,
    kMotionsPerVariant = 120,
    kClipsFirst = 4121,
    kClipsPerVariant = 16,
};

static int InGameData(int id)
{
    resourceHeader* r = nullptr;
    return GetResourceHeader(id, &r) && r && r->resourceFile;
}

static void PreloadMotions()
{
    if (done || ResourceLoaded(kMotionsLoadedMarker)) return;
    BasicUiResourceFile_Init(&resourceMotions);
    const int v = BasicUiEnvironment_GetVariant(BasicUi_GetEnvironment());
    const int ranges[2][2] = {{v * kMotionsPerVariant + kMotionsFirst, v * kMotionsPerVariant + kMotionsFirst + 119},
                              {v * kClipsPerVariant + kClipsFirst, v * kClipsPerVariant + kClipsFirst + 15}};
    for (const auto& range : ranges) {
        if (!InGameData(range[0])) continue;
        MainMenuLoadingScreenBegin(0);
        BasicUi_LoadResourceRange1x1(range[0], range[1]);
        MainMenuLoadingScreenEnd(0);
    }
}

int MainMenuScreenInit()
{
    if (done) return 0;
    // The UI framework starts when there is no UI yet (once in a run of the game; again after
    // everything it lived in was given back).
    if (!BasicUi_GetEnvironment()) {
        BasicUi_SetOnlyMc(1);
        // The UI archive (fonts, the logo) comes whole with the game: one that is missing or
        // damaged would leave every menu on placeholders.
        const long faultsBefore = HostErrorsReported();
        BasicUi_Init(1);
        if (HostErrorsReported() != faultsBefore && !done)
            return PrintError("main menu: the UI archive is missing or damaged (%s); the game cannot go on",
                              HostErrorReported(faultsBefore).c_str());
    }
    // The save database: the defaults packed into one block, the save file read over them (or
    // written fresh), with the messages and the write presented before the menus show.
    const int built = !dbSave;
    if (built && !LoadSaveDatabase()) return 0;
    if (!PumpSaveOverlays()) return 0;
    // The credits roll reads the built-in credits table by its database's name, like the others.
    if (!FrontEndDb(nullptr, "creditsDb")) BasicDb_DbRegister(CreditsDatabase());
    DisableNoHomeDraw();
    EnableSleepMode(true);
    GameOptionsHaveChanged();
    MainMenuTrophiesCheck(1);
    UpdateReputation();
    if (built) PreloadMotions();
    MainMenuResetLastGameType();
    return built;
}

int SelectMainMenuScreen()
{
    gMainMenuStarted = 1;
    ScreenSelect(&mainMenuScreen);
    return 1;
}

const char* MainMenuDescriptionFor(int variant)
{
    if (variant == 2) return "Resource\\ui720.xml";
    if (variant == 3) return "Resource\\ui1080.xml";
    return "Resource\\ui360.xml";
}

// Registers the script functions and loads the description. 0 when the menus cannot run: the
// quit flag was raised during the load, or the description is damaged. The game's own menus load
// without a single fault, so a fault met on the way (a description that is missing or cut short,
// a database or archive it names that cannot be read or lacks what the game reads, a value out of
// range) is damaged game data:
// menus run on placeholders would fail the player later, and with no word.
static int LoadMenus()
{
    BasicFn_Clear();
    RegisterScriptFunctions();
    BasicUi_SetModalLoopCb(MainMenuModalLoopCb);

    sBasicUiEnvironment* env = BasicUi_GetEnvironment();
    const int variant = BasicUiEnvironment_GetVariant(env);
    const char* description = MainMenuDescriptionFor(variant);
    const long faultsBefore = HostErrorsReported();
    if (!BasicUiEnvironment_Load(description, env) || done) return 0;
    // Databases that parse may still have lost what the game reads of them.
    CheckDatabaseReads("game", BasicUi_FindDb(env, "game"), BasicUi_FindDbFileName(env, "game"));
    CheckDatabaseReads("ui", BasicUi_FindDb(env, "ui"), BasicUi_FindDbFileName(env, "ui"));
    if (HostErrorsReported() != faultsBefore)
        return PrintError("main menu: %s or the game data it names is damaged (%s); the game cannot go on", description,
                          HostErrorReported(faultsBefore).c_str());
    if (!BasicUi_FindScreen(env, "s0MainMenu"))
        return PrintError("main menu: %s holds no screen s0MainMenu; the game cannot go on", description);
    return 1;
}

// Folds the game just played into the save data, by the kind the launcher recorded, and saves it
// with whatever its set-up changed (with auto-save on).
static void FoldInLastGame()
{
    switch (lastGameType) {
    case kLastGamePractice: UpdatePractice(nullptr, 0); break;
    case kLastGamePinSelect: UpdatePinSelect(nullptr, 0); break;
    // A quick game counts in its first bowler's statistics.
    case kLastGameQuick: FoldInQuickPlay(); break;
    // A career game goes into its event's standings, which start their screen.
    case kLastGameLeague:
    case kLastGameTree:
    case kLastGameLadder:
    case kLastGameHighScore:
    case kLastGameRival: FoldInCareerGame(nullptr); break;
    // Mini-games fold nothing in; the menu opens on the Mini-Games page again.
    case kLastGameMini: StartInstead("cSN.startS2"); break;
    default: break;
    }
    SaveChanges();
}

// After an update: a home page that has just come into view saves what changed on the way.
static void SaveOnReachingHome()
{
    sBasicUiEnvironment* env = BasicUi_GetEnvironment();
    int reached = 0;
    for (int i = 0; i < kHomePageCount; ++i) {
        sBasicUiScreen* page = BasicUi_FindScreen(env, kHomePages[i]);
        const int shown = page && page->isRender.value;
        if (shown && !homePageShown[i]) reached = 1;
        homePageShown[i] = shown;
    }
    if (!reached) return;
    // The bowlers' reputations follow from what they won and wear: worked out again here, the hub
    // and the bowlers' page show them as they stand (a recompute alone is no change to save).
    UpdateReputation();
    SaveChanges();
}

int MainMenuScreenOpenHandler()
{
    if (done) return 1;
    gGameType = -1;
    if (!InitScreens(0)) return 0;
    ChangeScreen(kTabGroupMainMenu, 0);
    InitGameControllers();
    gActiveController = 0;
    LoadingScreenInit();
    screenState = 0;
    if (!BasicUi_GetEnvironment()) MainMenuScreenInit();

    // Menus that cannot run end the program as a failure; the order to close is none.
    if (!LoadMenus()) {
        LoadingScreenClose();
        return done ? 1 : 0;
    }
    FoldInLastGame();
    for (int& shown : homePageShown) shown = 0;
    sBasicUiEnvironment* env = BasicUi_GetEnvironment();
    s18ProShop = BasicUi_FindScreen(env, "s18CareerShop");
    s0MainMenu = BasicUi_FindScreen(env, "s0MainMenu");
    // The credits page's scroller rolls the credits built into the program.
    if (sBasicUiWidget* scroller = BasicUi_FindWidget(env, "s8ts"))
        BasicUiWidgetTypeTextScroll_SetDbRef(scroller, CreditsWidget());

    LoadingScreenClose();
    basicUiEnvironmentStarted = 1;
    gNumPlayers = 0;
    // A touch or a button held over from the title or the game does not act on the menu.
    BasicUi_LatchPresses();
    if (showControlMode) {
        StartInstead("cSN.startS38");
        showControlMode = 0;
    }
    ResetCharacterChanged(nullptr, 0);
    return 1;
}

int MainMenuScreenDrawHandler()
{
    screenState = 1;
    BasicUi_RenderEnvironment(BasicUi_GetEnvironment());
    RenderSetPenColor(255, 255, 255);
    RenderSetAlphaLevel(255);
    RenderSetColorModulation(127, 127, 127);
    TextOutputSelectFont(BasicUi_GetFontID());
    return 1;
}

int MainMenuScreenInputHandler()
{
    if (!IsTransitionActive() && screenState == 1) {
        BasicUi_UpdateEnvironmentFull(BasicUi_GetEnvironment());
        SaveOnReachingHome();
    }
    return 1;
}

int MainMenuScreenCloseHandler()
{
    RenderSetOffset2D(0, 0);
    if (done) return 1;
    if (ScreenGetResult() != kTabGroupGame) PushScreen(kTabGroupMainMenu, 0);
    basicUiEnvironmentStarted = 0;
    DisposePlayerModel();
    BasicUiEnvironment_Clear(BasicUi_GetEnvironment());
    BasicFn_Clear();
    s18ProShop = nullptr;
    s0MainMenu = nullptr;
    ExitScreens(1);
    return 1;
}

int MainMenuModalLoopCb(sBasicUiWidget*, int) { return 1; }

int MainMenuResetLastGameType()
{
    lastGameType = kLastGameNone;
    return 1;
}

void MainMenuSetLastGameType(int type) { lastGameType = type; }
int MainMenuGetLastGameType() { return lastGameType; }
void MainMenuShowControlMode() { showControlMode = 1; }
