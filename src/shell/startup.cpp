// Start-up in its fixed order and tear-down by levels, so that a start-up that stops half-way gives
// back exactly what it took. Its first step ties the lower layers to the modules above them
// (RegisterGameModules).
#include "shell/startup.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "game/records.h"
#include "host/errorlog.h"
#include "host/files.h"
#include "host/host.h"
#include "host/messagebox.h"
#include "lib/datalist.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "lib/trig.h"
#include "lib/videofiles.h"
#include "platform/applet.h"
#include "platform/fileserver.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/sound.h"
#include "platform/startup.h"
#include "platform/streams.h"
#include "platform/utilities.h"
#include "platform/video.h"
#include "shell/globals.h"
#include "shell/physicsmemory.h"
#include "shell/quitdialog.h"
#include "shell/savedata.h"
#include "shell/screenloop.h"
#include "shell/settings.h"
#include "shell/upperlayers.h"

// The single archive, and the split set that stands in for it when it is absent.
static const char* const kSingleArchive = "rom:/Resource.rez";
static const char* const kSplitArchives[] = {
    "rom:/Resource/E_Alley1.rez", "rom:/Resource/E_Alley2.rez", "rom:/Resource/E_Alley3.rez",
    "rom:/Resource/E_Alley4.rez", "rom:/Resource/E_Alley5.rez", "rom:/Resource/E_Alley6.rez",
    "rom:/Resource/Players.rez",  "rom:/Resource/Motions.rez",  "rom:/Resource/Overlays.rez",
    "rom:/Resource/Objects.rez",  "rom:/Resource/Sound.rez",    "rom:/Resource/Fonts.rez",
    "rom:/Resource/TestFX.rez",   "rom:/Resource/Voice.rez",    "rom:/Resource/3DS.rez",
};

// Why OpenResources failed, naming the archive, for start-up's one line.
static char openFault[kErrorMessageSize];

int OpenResources()
{
    openFault[0] = '\0';
    // Which set is opened follows from the game data's list: the single archive only when the list
    // names it, so that a stray copy beside the split set is never read. (Tools and tests that
    // read no list try the single archive first.)
    if (HostRomMayOpen(kSingleArchive)) {
        if (OpenResourceFile(kSingleArchive)) {
            useMultipleResources = 0;
            return 1;
        }
        // The order to close stopped the reading: the single archive may well be there.
        if (done) return 0;
        // A single archive that is there but refused is what went wrong when the split set cannot
        // stand in for it either; an absent one says nothing, and the split set's own fault is told.
        if (HostFileExists(kSingleArchive)) std::snprintf(openFault, sizeof openFault, "%s", ArchiveFault());
    }
    // The first archive of the set that fails ends the attempt; those already open stay open.
    for (const char* path : kSplitArchives) {
        if (!OpenResourceFile(path)) {
            if (!openFault[0]) std::snprintf(openFault, sizeof openFault, "%s", ArchiveFault());
            PrintError("start-up: cannot open the game data archive %s", path);
            return 0;
        }
    }
    useMultipleResources = 1;
    return 1;
}

// The box shown when the game cannot go on because its data is damaged. scripts/play builds again
// game data that does not match its list; data that matches it (changed and listed again, or
// refused by a loader though the list matches) only once its list is gone.
static const char* const kTextGameDataDamaged = "The game data is damaged.\nClose the game: scripts/play\nbuilds it again.";
static const char* const kTextGameDataListedAgain =
    "The game data is damaged.\nClose the game and remove its\nlist, checksums.txt: scripts/play\nthen builds it again.";

// Resource ranges loaded at start-up: fonts with the shared 2D resources, and overlay bitmaps.
enum { kSplashMilliseconds = 3000 };
enum { kFirstScreenResult = 5 };

// Plays intro clip i from the game data.
static void PlayIntroVideo(int i)
{
    char path[kVideoMaxPath + 1];
    std::snprintf(path, sizeof path, "rom:/%s", kIntroVideoFiles[i]);
    PlayVideo(path);
}

// What start-up is doing, for the message of a close order (a signal, the frame limit) that ends it
// before the game begins.
static const char* startUpStep = "";
// How the program ends, for nnMain's caller.
static int gameEnd = kGameStartUpFailed;
// What the check of the game data found wrong, naming the file; empty while the data is whole.
static char gameDataDamage[kErrorMessageSize];
// Whether the game data matched its list: damage found after the check passed is in data that was
// changed and listed again, which scripts/play keeps as it is.
static int gameDataMatchesList = 0;
// How many faults had been reported when the step under way began: the first one after it is why
// the step failed, and not a note of an earlier step that went on without what it lacked (no sound
// device: the game plays silently).
static long stepFaults = 0;

// Marks the beginning of a step of start-up. Returns 1, so that it opens the step's test.
static int Begin()
{
    stepFaults = HostErrorsReported();
    return 1;
}

// The line that says why the run stops: logged, and given to the host as it is.
static void TellStop(const std::string& line)
{
    PrintError("%s", line.c_str());
    HostSetStopLine(line);
}

// How damaged game data is made whole again.
static std::string DataRemedy()
{
    if (!gameDataMatchesList) return "scripts/play builds it again";
    const std::string list = gHostOptions.romDir + "/checksums.txt";
    return "it matches its list, so it was changed and listed again: remove " + HostQuoted(list.c_str()) +
           " and scripts/play builds it again";
}

// Start-up ended by the close order: says during which step.
static int Closed(int level)
{
    TellStop(std::string("start-up stopped: closed while ") + startUpStep);
    gameEnd = kGameClosedInStartUp;
    return level;
}

// Reports why start-up stopped and gives the tear-down level to begin with. A step that gave up
// because the close order came is reported as closed. Once the game data is known to be damaged,
// that damage is why start-up stops, whichever step it stops at, with the way to have it made again.
// Otherwise the first fault that the failing step reported is named after the reason (unless the
// reason says it already): it is what went wrong, where the step's own words only say what could
// not be done.
static int Stop(int level, const char* reason)
{
    if (done) return Closed(level);
    const std::string cause = HostErrorReported(stepFaults);
    if (gameDataDamage[0])
        TellStop(std::string("start-up stopped: the game data is damaged: ") + gameDataDamage + "; " + DataRemedy());
    else if (cause.empty() || std::strstr(reason, cause.c_str()))
        TellStop(std::string("start-up stopped: ") + reason);
    else
        TellStop(std::string("start-up stopped: ") + reason + " (" + cause + ")");
    return level;
}

// Reports why the screen loop ended with failure: what the step that failed said last (a step that
// gives up says so last, as a game whose set-up failed or menus that cannot go on), and the first
// fault the step met, where that does not name it.
static void GameStopped(long stepBegan)
{
    const long reported = HostErrorsReported();
    const std::string last = reported > stepBegan ? HostErrorReported(reported - 1) : std::string();
    const std::string first = HostErrorReported(stepBegan);
    std::string line = "the game stopped: " + (last.empty() ? std::string("a step of the game failed") : last);
    if (!first.empty() && last.find(first) == std::string::npos) line += " (" + first + ")";
    TellStop(line);
}

// The game's own box with the text, until the player closes the game. The line that says why is
// printed first, so that a player at a terminal reads it at once. The host is told whether the box
// could be shown: when it could not, the host tells the reason in the system's box instead. Where
// nobody could see or close the box (no window on a screen and no input script), it is not shown
// and the run ends at once, as a headless one does.
static void TellInGameBox(const char* text)
{
    if (done) return;  // the close order came: the run ends as closed, with nothing to tell
    HostPrintStopLine(gameEnd);
    HostSetStopToldByGame(HostBoxCanBeClosed() && DisplayNoSpaceQuitDialog(text, 540, 190));
}

// One empty frame on every display.
static void PresentEmptyFrame()
{
    RenderStartScreen();
    RenderStartDisplay0L();
    RenderEndDisplay0L();
    RenderStartDisplay0R();
    RenderEndDisplay0R();
    RenderStartDisplay1();
    RenderEndDisplay1();
    RenderDoneScreen();
}

// The intro videos and the splash image. 0 only when the splash fails.
static int PlayIntro()
{
    PresentEmptyFrame();
    // The HOME button does nothing and sleep is refused while the videos play.
    DisableHomeButtonCallbacks();
    SetSleepAvailable(0);
    DisableSleepMode();
    if (!done) {
        PlayIntroVideo(0);
        SetAppletCallbacks();
        EnableSleepMode(true);
        DisableSleepMode();
    }
    if (!done) {
        PlayIntroVideo(1);
        SetAppletCallbacks();
        EnableSleepMode(true);
        SetupHomeButtonCallbacks();
    }
    if (!done && Begin() && !SplashScreen(kSplashImage, kSplashMilliseconds)) {
        return Stop(0, "the splash image could not be shown");
    }
    return 1;
}

// The start-up steps up to the screen loop, then the loop. Returns the tear-down level to begin
// with (4 when the steps all ran) and sets gameEnd.
static int StartUp()
{
    gDisableHiDefPolyScaling = 1;
    gDisableFontScaling = 1;
    screenBufferHalfWidth = 0;
    gHiDef = 0;

    startUpStep = "starting the platform";
    DisableHomePowerButton();
    if (Begin() && !InitializeApplet()) return Stop(1, "the applet could not start");
    SetupHomeButtonCallbacks();
    if (Begin() && !DS3_Initialize(0x2000)) return Stop(2, "the platform layer could not start");
    if (Begin() && !InitResources(10000)) return Stop(2, "no memory for the resource table");
    // Every file of the game data is checked against its list before any is read. Damaged data
    // stops start-up before the save data is touched; in the window start-up first goes only as
    // far as the box that tells the player needs (the archives, the renderer, the fonts).
    startUpStep = "checking the game data";
    gameDataDamage[0] = '\0';
    gameDataMatchesList = CheckGameData(gameDataDamage, int(sizeof gameDataDamage));
    if (!gameDataMatchesList) {
        if (done) return Closed(2);
        if (!gameDataDamage[0]) std::snprintf(gameDataDamage, sizeof gameDataDamage, "its check did not finish");
        if (gHostOptions.headless) return Stop(2, "");
    }
    startUpStep = "starting the platform";
    if (Begin() && !OpenResources()) {
        return Stop(3, (std::string("the game data could not be opened: ") + openFault).c_str());
    }
    if (Begin() && !InitStreaming()) return Stop(3, "streaming could not start");
    if (Begin() && !InitializeSoundServices()) return Stop(3, "sound could not start");
    if (Begin() && !RenderInit(0x80000, 0x800, 0x502, 0x500)) return Stop(3, "the renderer could not start");
    if (Begin() && !RenderInitScreen()) return Stop(3, "the screens could not start");
    EnableHomePowerButton();
    EnableSleepMode(true);
    if (done) return Closed(3);

    ScreenChangeDisplayMode();
    InitRandomNumbers();
    InitTrigTables();
    gLanguage = 0;  // every language table is read at row 0 from here on
    if (Begin() && !ScreenInitializeAPI()) return Stop(3, "the screen API could not start");

    // Fonts and overlay bitmaps are welcome but not required: game data without them plays on.
    // Game data that holds them but cannot read them is damaged, and stops start-up as such (the
    // first fault names the archive and the resource): the game would play on with blank screens.
    RSID_FONT_DEFAULT = kGameFontDefault;
    const long faultsBeforeFonts = HostErrorsReported();
    if (LoadResourceRange1x1(kFontsFirst, kFontsLast) && LoadResourceRange1x1(kOverlayImagesFirst, kOverlayImagesLast))
        upperLayers.InitOverlayBitmaps();
    RSID_FONT_DEFAULT = upperLayers.GetFontRSID(kGameFontDefault);
    if (!gameDataDamage[0] && !done && HostErrorsReported() != faultsBeforeFonts)
        std::snprintf(gameDataDamage, sizeof gameDataDamage, "%s", HostErrorReported(faultsBeforeFonts).c_str());

    startUpStep = "preparing the save data";
    if (gameDataDamage[0]) {
        Stop(4, "");
        TellInGameBox(gameDataMatchesList ? kTextGameDataListedAgain : kTextGameDataDamaged);
        return 4;
    }
    DisableSleepMode();  // no sleep while the save data is prepared
    if (Begin() && !SaveDataInit()) {
        Stop(4, "the save data could not be prepared");
        TellInGameBox(checkSpaceStrings[gLanguage][kTextCannotUseSave]);
        return 4;
    }
    if (!done && Begin() && !upperLayers.MainMenuScreenInit()) {
        Stop(4, "the UI framework or the save database could not be prepared");
        // Both come whole with the game data, which matched its list: the player is told as for
        // the menus below.
        TellInGameBox(kTextGameDataListedAgain);
        return 4;
    }

    InstallPhysicsAllocator();
    ScreenSetResult(kFirstScreenResult);
    if (Begin() && !InitGameSettings()) return Stop(4, "the game settings could not be set");
    InitOptions();
    if (done) return Closed(4);

    startUpStep = "setting up the screens";
    int result = ScreenGetResult();
    if (Begin() && !ScreenInitializeAPI()) return Stop(4, "the screen API could not start");
    ScreenSetResult(result);
    if (done) return Closed(4);

    // A game named on the command line starts at once, without the intro and the title screen.
    startUpStep = "launching the game named on the command line";
    if (upperLayers.LaunchPending()) {
        if (Begin() && !upperLayers.LaunchFromOptions())
            return Stop(4, "the game named on the command line could not be launched");
    } else if (playIntroVideos && !PlayIntro()) {
        return 4;
    }

    ClearInputs();
    screenBufferHalfWidth = 200;
    screenLowerBufferHalfWidth = frameBufferLower.width / 2;
    screenBufferHalfHeight = frameBufferLower.height / 2;

    // A step of the loop that gave up because the close order came is no fault. One that failed
    // (the menus or a game that cannot be set up from damaged game data) is told to the player in
    // the window, in the box of the other start-up failures, until the game is closed.
    gameEnd = (RunScreenLoop() || done) ? kGameEnded : kGameFailed;
    if (gameEnd == kGameFailed) {
        GameStopped(ScreenLoopStepBegan());
        TellInGameBox(kTextGameDataListedAgain);
    }
    return 4;
}

// Tear-down from the given level; each level falls through to the next.
static void TearDown(int level)
{
    if (level >= 4) {
        // However the program ends (the window closed, HOME's Close, the last screen), nothing the
        // player changed is left unsaved; a save under way is finished first.
        if (upperLayers.SaveBeforeClosing) upperLayers.SaveBeforeClosing();
        upperLayers.DisposeOverlayBitmaps();
        if (DisposeResourceRange(kOverlayImagesFirst, kOverlayImagesLast)) DisposeResourceRange(kFontsFirst, kFontsLast);
    }
    if (level >= 3) {
        // The sound thread walks the streams, which point into the resource table: it stops
        // before the table and the heap go.
        DisposeSoundServices();
        FreeResources();
    }
    if (level >= 2) {
        RenderDispose();
        FileSystemDispose();
        DisposeMemoryHeap(&deviceHeap);
    }
    DisposeApplet();
}

int nnMain()
{
    RegisterGameModules();
    gameEnd = kGameStartUpFailed;
    HostSetStopToldByGame(0);
    TearDown(StartUp());
    return gameEnd;
}
