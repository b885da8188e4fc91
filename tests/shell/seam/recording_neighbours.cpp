#include "recording_neighbours.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "host/errorlog.h"
#include "host/files.h"
#include "host/host.h"
#include "host/messagebox.h"
#include "lib/datalist.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "platform/bitmap.h"
#include "shell/globals.h"
#include "shell/quitdialog.h"
#include "shell/savedata.h"
#include "shell/upperlayers.h"

std::vector<std::string> gCalls;
std::set<std::string> gFailing;
std::deque<int> gScriptedResults;
int gStoredResult = 0;
std::string gSetDoneIn;
int gStopToldByGame = 0;
std::string gStopLine;
std::map<std::string, std::string> gReports;

// Data of neighbouring modules that the shell reads.
memHeap deviceHeap;
DS3_bitmap_tag frameBufferLower;
DS3_bitmap_tag* screenBuffer = &frameBufferLower;
int playIntroVideos = 1;
int gGameControls = 1;
int done = 0;
int gLanguage = 0;
int RSID_FONT_DEFAULT = 0;
HostOptions gHostOptions;
const char* checkSpaceStrings[kNumTextLanguages][kNumCheckSpaceStrings] = {
    {"0", "1", "2", "3", "no save data", "5", "6"}};
static resourceFileHeader_tag anArchive;

void ResetNeighbours()
{
    gCalls.clear();
    gFailing.clear();
    gScriptedResults.clear();
    gStoredResult = 0;
    gSetDoneIn.clear();
    gStopToldByGame = 0;
    gStopLine.clear();
    gReports.clear();
    gHostOptions = HostOptions{};
    done = 0;
    quitGame = 0;
    playIntroVideos = 1;
    gGameControls = 1;
    frameBufferLower.width = 320;
    frameBufferLower.height = 240;
}

static int Call(const std::string& name, const std::string& args = "")
{
    gCalls.push_back(args.empty() ? name : name + "(" + args + ")");
    if (name == gSetDoneIn) done = 1;
    if (gReports.count(name)) PrintError("%s", gReports[name].c_str());
    return gFailing.count(name) ? 0 : 1;
}

static std::string Ints(int a, int b) { return std::to_string(a) + "," + std::to_string(b); }

int InitializeApplet() { return Call("InitializeApplet"); }
int DisposeApplet() { return Call("DisposeApplet"); }
int SetupHomeButtonCallbacks() { return Call("SetupHomeButtonCallbacks"); }
int DisableHomeButtonCallbacks() { return Call("DisableHomeButtonCallbacks"); }
int SetAppletCallbacks() { return Call("SetAppletCallbacks"); }
void DisableHomePowerButton() { Call("DisableHomePowerButton"); }
void EnableHomePowerButton() { Call("EnableHomePowerButton"); }
void EnableSleepMode(bool enable) { Call("EnableSleepMode", enable ? "true" : "false"); }
void DisableSleepMode() { Call("DisableSleepMode"); }
int DS3_Initialize(unsigned int n) { return Call("DS3_Initialize", std::to_string(n)); }
int InitResources(int n) { return Call("InitResources", std::to_string(n)); }
resourceFileHeader_tag* OpenResourceFile(const char* path)
{
    return Call("OpenResourceFile", path) && !gFailing.count(path) ? &anArchive : nullptr;
}
const char* ArchiveFault() { return "archive refused"; }
int HostFileExists(const char* path) { return !gFailing.count(path); }
int HostRomMayOpen(const char*) { return 1; }
void HostSetStopToldByGame(int told) { gStopToldByGame = told; }
int HostStopToldByGame() { return gStopToldByGame; }
// Headless stands for every run where nobody could see the game's box.
int HostBoxCanBeClosed() { return !gHostOptions.headless; }
void HostPrintStopLine(int gameEnd) { Call("HostPrintStopLine", std::to_string(gameEnd)); }
void HostSetStopLine(const std::string& line) { gStopLine = line; }
int CheckGameData(char* fault, int faultSize)
{
    if (Call("CheckGameData")) return 1;
    std::snprintf(fault, size_t(faultSize), "rom:/Resource.rez has changed");
    return 0;
}
int FreeResources() { return Call("FreeResources"); }
int InitStreaming() { return Call("InitStreaming"); }
int DeleteAllStreams() { return Call("DeleteAllStreams"); }
int InitializeSoundServices() { return Call("InitializeSoundServices"); }
int DisposeSoundServices() { return Call("DisposeSoundServices"); }
int RenderInit(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    char args[64];
    std::snprintf(args, sizeof args, "0x%x,0x%x,0x%x,0x%x", a, b, c, d);
    return Call("RenderInit", args);
}
int RenderInitScreen() { return Call("RenderInitScreen"); }
int RenderDispose() { return Call("RenderDispose"); }
int RenderStartScreen() { return Call("RenderStartScreen"); }
int RenderDoneScreen() { return Call("RenderDoneScreen"); }
int RenderStartDisplay0L() { return Call("RenderStartDisplay0L"); }
int RenderEndDisplay0L() { return Call("RenderEndDisplay0L"); }
int RenderStartDisplay0R() { return Call("RenderStartDisplay0R"); }
int RenderEndDisplay0R() { return Call("RenderEndDisplay0R"); }
int RenderStartDisplay1() { return Call("RenderStartDisplay1"); }
int RenderEndDisplay1() { return Call("RenderEndDisplay1"); }
int FileSystemDispose() { return Call("FileSystemDispose"); }
int DisposeMemoryHeap(memHeap* heap) { return Call("DisposeMemoryHeap", heap == &deviceHeap ? "deviceHeap" : "?"); }
int ScreenChangeDisplayMode() { return Call("ScreenChangeDisplayMode"); }
int ScreenInitializeAPI() { return Call("ScreenInitializeAPI"); }
int InitRandomNumbers() { return Call("InitRandomNumbers"); }
int InitTrigTables() { return Call("InitTrigTables"); }
int LoadResourceRange1x1(int first, int last)
{
    const int loaded = Call("LoadResourceRange1x1", Ints(first, last));
    // Resources that are there but cannot be read say why, as the loader does.
    if (!loaded && gFailing.count("unreadable resources"))
        PrintError("archive rom:/Resource.rez, resource %d: resources: a compressed resource is damaged", first);
    return loaded;
}
int DisposeResourceRange(int first, int last) { return Call("DisposeResourceRange", Ints(first, last)); }
int InitOverlayBitmaps() { return Call("InitOverlayBitmaps"); }
int DisposeOverlayBitmaps() { return Call("DisposeOverlayBitmaps"); }
int GetFontRSID(int id)
{
    Call("GetFontRSID", std::to_string(id));
    return id + 1000;
}
int SaveDataInit() { return Call("SaveDataInit"); }
int DisplayNoSpaceQuitDialog(const char* text, int w, int h)
{
    done = 1;  // the box runs until the program is told to end
    return Call("DisplayNoSpaceQuitDialog", std::string(text) + "," + Ints(w, h));
}
int MainMenuScreenInit() { return Call("MainMenuScreenInit"); }
void InstallPhysicsAllocator() { Call("InstallPhysicsAllocator"); }
int InitGameSettings() { return Call("InitGameSettings"); }
int InitOptions() { return Call("InitOptions"); }
int SetSleepAvailable(int available) { return Call("SetSleepAvailable", std::to_string(available)); }
int PlayVideo(const char* path) { return Call("PlayVideo", path); }
int SplashScreen(int id, int ms) { return Call("SplashScreen", Ints(id, ms)); }
void ClearInputs() { Call("ClearInputs"); }
// No game is launched from the command line in these tests.
int LaunchPending() { return 0; }
int LaunchFromOptions() { return 0; }

int ScreenSetResult(int result)
{
    Call("ScreenSetResult", std::to_string(result));
    return gStoredResult = result;
}
int ScreenGetResult()
{
    if (!gScriptedResults.empty()) {
        gStoredResult = gScriptedResults.front();
        gScriptedResults.pop_front();
        if (gScriptedResults.empty()) done = 1;  // the last pass of the loop
    }
    Call("ScreenGetResult");
    return gStoredResult;
}
int RunAPIScreen()
{
    Call("RunAPIScreen");
    done = done || gScriptedResults.empty();
    return gFailing.count("RunAPIScreen") ? -1000 : gStoredResult;
}
int ExitScreens(int argument) { return Call("ExitScreens", std::to_string(argument)); }
int GameLoop() { return Call("GameLoop"); }
int RestoreGUI() { return Call("RestoreGUI"); }
int SelectTitleScreen()
{
    gStoredResult = 0;
    return Call("SelectTitleScreen");
}
int SelectMainMenuScreen()
{
    gStoredResult = 0;
    return Call("SelectMainMenuScreen");
}

int PrintError(const char* format, ...)
{
    char text[kErrorMessageSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    gCalls.push_back(std::string("PrintError: ") + text);
    return 0;
}

// The messages are the calls recorded as PrintError.
static std::vector<std::string> Messages()
{
    std::vector<std::string> messages;
    for (const std::string& c : gCalls)
        if (c.rfind("PrintError: ", 0) == 0) messages.push_back(c.substr(12));
    return messages;
}

long HostErrorsReported() { return long(Messages().size()); }
std::string HostQuoted(const char* name) { return std::string("\"") + name + "\""; }

std::string HostErrorReported(long n)
{
    const std::vector<std::string> messages = Messages();
    return n >= 0 && n < long(messages.size()) ? messages[size_t(n)] : std::string();
}

// The shell reaches the overlays and the front end through the record the top layer fills in; here
// the doubles above stand in for them.
void RegisterGameModules()
{
    upperLayers.InitOverlayBitmaps = InitOverlayBitmaps;
    upperLayers.DisposeOverlayBitmaps = DisposeOverlayBitmaps;
    upperLayers.GetFontRSID = GetFontRSID;
    upperLayers.MainMenuScreenInit = MainMenuScreenInit;
    upperLayers.LaunchPending = LaunchPending;
    upperLayers.LaunchFromOptions = LaunchFromOptions;
    upperLayers.ExitScreens = ExitScreens;
    upperLayers.RestoreGUI = RestoreGUI;
    upperLayers.SelectTitleScreen = SelectTitleScreen;
    upperLayers.SelectMainMenuScreen = SelectMainMenuScreen;
}
// The screen loop's tests run without start-up, so the record is filled in as the program loads.
static const int registered = (RegisterGameModules(), 1);
