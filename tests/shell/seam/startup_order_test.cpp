#include <gtest/gtest.h>

#include <algorithm>

#include "host/host.h"
#include "recording_neighbours.h"
#include "shell/globals.h"
#include "shell/quitdialog.h"
#include "shell/screenloop.h"
#include "shell/settings.h"
#include "shell/startup.h"

namespace {

using Calls = std::vector<std::string>;

// The calls without the diagnostic messages.
Calls Recorded()
{
    Calls calls;
    for (const std::string& c : gCalls)
        if (c.rfind("PrintError", 0) != 0) calls.push_back(c);
    return calls;
}

// What happens after the first call that starts with the given text.
Calls After(const std::string& first)
{
    Calls calls = Recorded();
    auto at = std::find_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(first, 0) == 0; });
    EXPECT_NE(at, calls.end()) << first << " was never called";
    return at == calls.end() ? Calls{} : Calls(at + 1, calls.end());
}

Calls TearDownCalls(int level)
{
    Calls calls;
    if (level >= 4)
        calls = {"DisposeOverlayBitmaps", "DisposeResourceRange(3200,3299)", "DisposeResourceRange(3050,3084)"};
    // The sound thread stops before the resources it streams from go.
    if (level >= 3) calls.insert(calls.end(), {"DisposeSoundServices", "FreeResources"});
    if (level >= 2) calls.insert(calls.end(), {"RenderDispose", "FileSystemDispose", "DisposeMemoryHeap(deviceHeap)"});
    calls.push_back("DisposeApplet");
    return calls;
}

const Calls kStartUpToTitle = {
    "DisableHomePowerButton", "InitializeApplet", "SetupHomeButtonCallbacks", "DS3_Initialize(8192)",
    "InitResources(10000)", "CheckGameData", "OpenResourceFile(rom:/Resource.rez)", "InitStreaming", "InitializeSoundServices",
    "RenderInit(0x80000,0x800,0x502,0x500)", "RenderInitScreen", "EnableHomePowerButton", "EnableSleepMode(true)",
    "ScreenChangeDisplayMode", "InitRandomNumbers", "InitTrigTables", "ScreenInitializeAPI",
    "LoadResourceRange1x1(3050,3084)", "LoadResourceRange1x1(3200,3299)", "InitOverlayBitmaps", "GetFontRSID(3052)",
    "DisableSleepMode", "SaveDataInit", "MainMenuScreenInit", "InstallPhysicsAllocator", "ScreenSetResult(5)",
    "InitGameSettings", "InitOptions", "ScreenGetResult", "ScreenInitializeAPI", "ScreenSetResult(5)",
    // one empty frame before the intro
    "RenderStartScreen", "RenderStartDisplay0L", "RenderEndDisplay0L", "RenderStartDisplay0R", "RenderEndDisplay0R",
    "RenderStartDisplay1", "RenderEndDisplay1", "RenderDoneScreen",
    // the intro videos and the splash
    "DisableHomeButtonCallbacks", "SetSleepAvailable(0)", "DisableSleepMode",
    "PlayVideo(rom:/Video/Intro_Studio.mkv)", "SetAppletCallbacks", "EnableSleepMode(true)",
    "DisableSleepMode", "PlayVideo(rom:/Video/Intro_Lanes.mkv)", "SetAppletCallbacks",
    "EnableSleepMode(true)", "SetupHomeButtonCallbacks", "SplashScreen(3320,3000)", "ClearInputs",
    // the screen loop: the title screen is selected, then run until the program ends
    "ScreenGetResult", "SelectTitleScreen", "ScreenGetResult", "RunAPIScreen"};

class StartUp : public ::testing::Test {
protected:
    void SetUp() override { ResetNeighbours(); }
};

TEST_F(StartUp, RunsEveryStepInOrderThenTearsDownFully)
{
    EXPECT_EQ(nnMain(), 1);
    Calls expected = kStartUpToTitle;
    for (const std::string& c : TearDownCalls(4)) expected.push_back(c);
    EXPECT_EQ(Recorded(), expected);
    EXPECT_EQ(screenBufferHalfWidth, 200);
    EXPECT_EQ(screenLowerBufferHalfWidth, 160);
    EXPECT_EQ(screenBufferHalfHeight, 120);
    EXPECT_EQ(gLanguage, 0);
    EXPECT_EQ(RSID_FONT_DEFAULT, 3052 + 1000);  // whatever GetFontRSID gave
}

TEST_F(StartUp, EachFailingStepTearsDownFromItsLevel)
{
    const struct {
        const char* step;
        int level;
    } cases[] = {
        {"InitializeApplet", 1},      {"DS3_Initialize", 2},   {"InitResources", 2},
        {"InitStreaming", 3},         {"InitializeSoundServices", 3}, {"RenderInit", 3},
        {"RenderInitScreen", 3},      {"ScreenInitializeAPI", 3},     {"MainMenuScreenInit", 4},
        {"InitGameSettings", 4},      {"SplashScreen", 4},
    };
    for (const auto& c : cases) {
        ResetNeighbours();
        gFailing.insert(c.step);
        EXPECT_EQ(nnMain(), 0) << c.step;
        // The menus' data or the save database that cannot be prepared is told to the player
        // first, in the window, as unreadable save data is: the line before the box.
        Calls expected;
        if (std::string(c.step) == "MainMenuScreenInit")
            expected = {"HostPrintStopLine(0)",
                        "DisplayNoSpaceQuitDialog(The game data is damaged.\nClose the game and remove its\nlist, "
                        "checksums.txt: scripts/play\nthen builds it again.,540,190)"};
        for (const std::string& call : TearDownCalls(c.level)) expected.push_back(call);
        EXPECT_EQ(After(c.step), expected) << c.step;
        EXPECT_TRUE(std::any_of(gCalls.begin(), gCalls.end(),
                                [](const std::string& call) { return call.rfind("PrintError: start-up stopped", 0) == 0; }))
            << c.step << " failed without saying why";
    }
}

TEST_F(StartUp, AStopNamesTheFirstFaultOfTheStepThatFailed)
{
    // The note of a step that went on (no sound device) is not why a later step failed.
    gReports["InitializeSoundServices"] = "audio: no sound device";
    gReports["RenderInit"] = "resources: a compressed resource is damaged";
    gFailing.insert("RenderInit");
    EXPECT_EQ(nnMain(), kGameStartUpFailed);
    const Calls messages(std::find(gCalls.begin(), gCalls.end(), "PrintError: " + gReports["RenderInit"]), gCalls.end());
    EXPECT_EQ(std::count(messages.begin(), messages.end(),
                         "PrintError: start-up stopped: the renderer could not start (resources: a compressed resource "
                         "is damaged)"),
              1);
}

TEST_F(StartUp, DoneDuringStartUpStopsAtTheLevelReached)
{
    gSetDoneIn = "EnableSleepMode";  // raised just before the check after the renderer
    EXPECT_EQ(nnMain(), kGameClosedInStartUp);
    EXPECT_EQ(After("EnableSleepMode"), TearDownCalls(3));

    ResetNeighbours();
    gSetDoneIn = "InitOptions";
    EXPECT_EQ(nnMain(), kGameClosedInStartUp);
    EXPECT_EQ(After("InitOptions"), TearDownCalls(4));

    // Closed on the way to the box of damaged game data: no line of the damage and no box.
    ResetNeighbours();
    gFailing.insert("CheckGameData");
    gSetDoneIn = "GetFontRSID";
    EXPECT_EQ(nnMain(), kGameClosedInStartUp);
    EXPECT_EQ(After("GetFontRSID(3052)"), TearDownCalls(4));
}

TEST_F(StartUp, UnreadableSaveDataShowsTheEndlessBoxThenTearsDown)
{
    gFailing.insert("SaveDataInit");
    EXPECT_EQ(nnMain(), kGameStartUpFailed);
    // The line that says why comes first, before the box waits for the player.
    Calls expected = {"HostPrintStopLine(0)", "DisplayNoSpaceQuitDialog(no save data,540,190)"};
    for (const std::string& c : TearDownCalls(4)) expected.push_back(c);
    EXPECT_EQ(After("SaveDataInit"), expected);

    // Without a window nobody could close the box: start-up stops at once.
    ResetNeighbours();
    gHostOptions.headless = 1;
    gFailing.insert("SaveDataInit");
    EXPECT_EQ(nnMain(), kGameStartUpFailed);
    expected = {"HostPrintStopLine(0)"};
    for (const std::string& c : TearDownCalls(4)) expected.push_back(c);
    EXPECT_EQ(After("SaveDataInit"), expected);
}

TEST_F(StartUp, DamagedGameDataStopsBeforeTheSaveData)
{
    // In the window start-up goes on only to the fonts, for the box that tells the player.
    gFailing.insert("CheckGameData");
    EXPECT_EQ(nnMain(), kGameStartUpFailed);
    Calls expected = {"HostPrintStopLine(0)",
                      "DisplayNoSpaceQuitDialog(The game data is damaged.\nClose the game: scripts/play\nbuilds it again.,540,190)"};
    for (const std::string& c : TearDownCalls(4)) expected.push_back(c);
    EXPECT_EQ(After("GetFontRSID(3052)"), expected);
    EXPECT_TRUE(std::any_of(gCalls.begin(), gCalls.end(), [](const std::string& call) {
        return call == "PrintError: start-up stopped: the game data is damaged: rom:/Resource.rez has changed; "
                       "scripts/play builds it again";
    }));
    // The box was shown until closed: the host shows no system box after it. One that could not
    // be shown (no fonts, a broken renderer) leaves the telling to the system's box.
    EXPECT_EQ(gStopToldByGame, 1);
    ResetNeighbours();
    gFailing.insert("CheckGameData");
    gFailing.insert("DisplayNoSpaceQuitDialog");
    EXPECT_EQ(nnMain(), kGameStartUpFailed);
    EXPECT_EQ(gStopToldByGame, 0);

    // Without a window nothing past the check is started.
    ResetNeighbours();
    gHostOptions.headless = 1;
    gFailing.insert("CheckGameData");
    EXPECT_EQ(nnMain(), kGameStartUpFailed);
    EXPECT_EQ(After("CheckGameData"), TearDownCalls(2));
}

TEST_F(StartUp, MissingFontsOrOverlayBitmapsAreToleratedButUnreadableOnesStop)
{
    gFailing.insert("LoadResourceRange1x1");
    EXPECT_EQ(nnMain(), 1);
    Calls calls = Recorded();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "LoadResourceRange1x1(3200,3299)"), 0);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "InitOverlayBitmaps"), 0);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "RunAPIScreen"), 1);

    // Fonts that the game data holds but that cannot be read are damaged data: start-up stops
    // before the save data, with the loader's fault, instead of playing on with blank screens.
    ResetNeighbours();
    gHostOptions.romDir = "game-data";
    gFailing.insert("LoadResourceRange1x1");
    gFailing.insert("unreadable resources");
    EXPECT_EQ(nnMain(), kGameStartUpFailed);
    calls = Recorded();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "SaveDataInit"), 0);
    // The data matched its list, so scripts/play would keep it as it is: the remedy is the one that
    // brings it back.
    EXPECT_EQ(gStopLine,
              "start-up stopped: the game data is damaged: archive rom:/Resource.rez, resource 3050: "
              "resources: a compressed resource is damaged; it matches its list, so it was changed and "
              "listed again: remove \"game-data/checksums.txt\" and scripts/play builds it again");
}

TEST_F(StartUp, SplitArchivesStandInForTheSingleArchive)
{
    gFailing.insert("rom:/Resource.rez");
    EXPECT_EQ(nnMain(), 1);
    EXPECT_EQ(useMultipleResources, 1);
    Calls calls = Recorded();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const std::string& c) { return c.rfind("OpenResourceFile(rom:/Resource/", 0) == 0; }),
              15);

    // One missing archive of the set stops start-up; the later ones are not tried.
    ResetNeighbours();
    gFailing.insert("rom:/Resource.rez");
    gFailing.insert("rom:/Resource/Objects.rez");
    EXPECT_EQ(nnMain(), 0);
    EXPECT_EQ(After("OpenResourceFile(rom:/Resource/Objects.rez)"), TearDownCalls(3));
}

TEST_F(StartUp, WithoutIntroNoVideoOrSplashButInputsAreCleared)
{
    // InitGameSettings is a double here, so the switch keeps the value set before start-up.
    playIntroVideos = 0;
    EXPECT_EQ(nnMain(), 1);
    Calls calls = Recorded();
    for (const std::string& c : calls) {
        EXPECT_EQ(c.rfind("PlayVideo", 0), std::string::npos) << c;
        EXPECT_EQ(c.rfind("SplashScreen", 0), std::string::npos) << c;
    }
    auto clear = std::find(calls.begin(), calls.end(), "ClearInputs");
    ASSERT_NE(clear, calls.end());
    EXPECT_EQ(*(clear - 1), "ScreenSetResult(5)");
}

TEST_F(StartUp, OnlyASuccessfulOverlayDisposalDisposesTheFonts)
{
    gFailing.insert("DisposeResourceRange");
    nnMain();
    Calls tail = After("RunAPIScreen");
    EXPECT_EQ(tail.front(), "DisposeOverlayBitmaps");
    EXPECT_EQ(std::count(tail.begin(), tail.end(), "DisposeResourceRange(3050,3084)"), 0);
    EXPECT_EQ(tail.back(), "DisposeApplet");
}

class ScreenLoop : public ::testing::Test {
protected:
    void SetUp() override { ResetNeighbours(); }

    // Runs the loop over the given results, one per pass.
    int Run(std::initializer_list<int> results)
    {
        gScriptedResults.assign(results.begin(), results.end());
        return RunScreenLoop();
    }
};

TEST_F(ScreenLoop, DispatchesEveryResult)
{
    const struct {
        int result;
        Calls calls;
    } cases[] = {
        {0, {"ScreenGetResult", "RunAPIScreen"}},
        {1, {"ScreenGetResult", "ExitScreens(0)", "DeleteAllStreams", "GameLoop"}},
        {2, {"ScreenGetResult", "ExitScreens(0)", "DeleteAllStreams", "GameLoop"}},
        {3, {"ScreenGetResult", "RestoreGUI"}},
        {4, {"ScreenGetResult"}},
        {5, {"ScreenGetResult", "SelectTitleScreen"}},
        {6, {"ScreenGetResult", "SelectMainMenuScreen"}},
    };
    for (const auto& c : cases) {
        ResetNeighbours();
        EXPECT_EQ(Run({c.result}), 1) << c.result;
        EXPECT_EQ(Recorded(), c.calls) << c.result;
        EXPECT_EQ(quitGame, 0);
    }
}

TEST_F(ScreenLoop, RunningAScreenHandsTheControlsToIt)
{
    Run({0});
    EXPECT_EQ(gGameControls, 0);
}

TEST_F(ScreenLoop, UnknownResultsQuitAndEndTheProgram)
{
    // The quit result (-1) is the ordinary end, said nothing of; the others are faults, and a
    // screen whose handler failed (-1000, the handler says why) is a failure of the game.
    for (int result : {7, 100, -1, -1000}) {
        ResetNeighbours();
        // More results are scripted than the loop reads: it must end by itself after the first.
        gScriptedResults.assign({result, result, result});
        EXPECT_EQ(RunScreenLoop(), result == -1000 ? 0 : 1) << result;
        EXPECT_EQ(Recorded(), (Calls{"ScreenGetResult", "ExitScreens(1)"})) << result;
        EXPECT_EQ(quitGame, 1);
        EXPECT_EQ(done, result == -1000 ? 0 : 1);
        const bool reported = std::any_of(gCalls.begin(), gCalls.end(), [](const std::string& c) {
            return c.rfind("PrintError: screen loop: unknown screen result", 0) == 0;
        });
        EXPECT_EQ(reported, result != -1 && result != -1000) << result;
    }
}

TEST_F(ScreenLoop, AFailingStepEndsTheLoopWithFailure)
{
    const struct {
        const char* failing;
        int result;
        Calls calls;
    } cases[] = {
        {"ExitScreens", 1, {"ScreenGetResult", "ExitScreens(0)"}},
        {"DeleteAllStreams", 2, {"ScreenGetResult", "ExitScreens(0)", "DeleteAllStreams"}},
        {"GameLoop", 1, {"ScreenGetResult", "ExitScreens(0)", "DeleteAllStreams", "GameLoop"}},
        {"RestoreGUI", 3, {"ScreenGetResult", "RestoreGUI"}},
        {"SelectTitleScreen", 5, {"ScreenGetResult", "SelectTitleScreen"}},
        {"SelectMainMenuScreen", 6, {"ScreenGetResult", "SelectMainMenuScreen"}},
    };
    for (const auto& c : cases) {
        ResetNeighbours();
        gFailing.insert(c.failing);
        // A second pass is scripted: the failure must end the loop before it.
        EXPECT_EQ(Run({c.result, 4}), 0) << c.failing;
        EXPECT_EQ(Recorded(), c.calls) << c.failing;
    }
}

TEST_F(ScreenLoop, AFailedScreenDoesNotEndTheLoop)
{
    gFailing.insert("RunAPIScreen");
    EXPECT_EQ(Run({0, 0}), 1);
    Calls calls = Recorded();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "RunAPIScreen"), 2);
}

TEST_F(ScreenLoop, ReturnsAtOnceWhenDoneIsAlreadySet)
{
    done = 1;
    EXPECT_EQ(Run({5}), 1);
    EXPECT_TRUE(Recorded().empty());
}

TEST_F(ScreenLoop, AGameRoundTripReachesTheFrontEndAgain)
{
    EXPECT_EQ(Run({1, 3, 6, 0}), 1);
    EXPECT_EQ(Recorded(), (Calls{"ScreenGetResult", "ExitScreens(0)", "DeleteAllStreams", "GameLoop",
                                 "ScreenGetResult", "RestoreGUI", "ScreenGetResult", "SelectMainMenuScreen",
                                 "ScreenGetResult", "RunAPIScreen"}));
}

}  // namespace
