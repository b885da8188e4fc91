// The host's run-time configuration and its services to the platform layer: program options,
// the close order (window closed, frame limit reached) and the count of presented frames.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct HostOptions {
    std::string romDir;   // what "rom:/" names
    std::string dataDir;  // what "data:/" names
    int headless = 0;
    long frameLimit = -1;  // stop after this many presented frames; -1 = no limit
    unsigned seed = 0;
    int verbose = 0;
    std::string inputScript;  // --input: scripted controller input for headless runs
    std::string launch;       // --launch: "attract" or "quick", until the front end launches games
    int players = 1;          // --players: bowlers of a quick game
    int humans = 0;           // --humans: how many of them (the first) a person bowls
    int buttonControls = 0;   // --controls: 1 = the people set up their throws with the buttons,
                              // 0 = with the stylus (the game's default)
    int scale = 2;            // --scale: window pixels per screen pixel
    std::vector<long> screenshotFrames;  // --screenshot: frames whose displays are written as PNG
    std::string screenshotDir = ".";     // --out: where the screenshots go
    int layoutOut = 0;                   // --layout-out: each screenshot's text lines beside it
    int view = 0;             // --view: the upper image the window shows (kGpuViewLeft...)
    std::string audioOut;     // --audio-out: write the game's sound to this WAV file
    int testMode = 0;         // --test-mode: every game of the run starts in the developer's test mode
};

extern HostOptions gHostOptions;

enum { kOptionsRun = 0, kOptionsHelp = 1, kOptionsError = 2 };

// Fills out from the command line. Returns kOptionsRun, kOptionsHelp (--help) or kOptionsError
// with a message in *error.
int HostParseOptions(int argc, char** argv, HostOptions* out, std::string* error);
void HostPrintUsage(FILE* to);
std::string HostDefaultDataDir();

// The platform's order to close the application: set by the window, a signal or the frame limit,
// served by the game's applet handling on the main thread.
void HostRequestClose();
int HostCloseRequested();
// Makes Ctrl-C (SIGINT) and SIGTERM the close order. The first such signal asks the game to close
// cleanly; a second one while the game is still closing ends the program at once, as the signal
// would without the game.
void HostCatchCloseSignals();

// Called once per presented frame: counts it, advances the virtual clock by the frame step and
// raises the close order when the frame limit is reached.
void HostFramePresented();
long HostFramesPresented();
// 1 once the run has presented the frames that --frames allows.
int HostFrameLimitReached();
void HostResetFrames();
