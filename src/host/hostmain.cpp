// The process entry point on the PC: reads the program options, prepares the host and runs the
// game's own entry point.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "host/audio.h"
#include "host/clock.h"
#include "host/entry.h"
#include "host/errorlog.h"
#include "host/gpu.h"
#include "host/host.h"
#include "host/input.h"
#include "host/messagebox.h"

int main(int argc, char** argv)
{
    std::string error;
    switch (HostParseOptions(argc, argv, &gHostOptions, &error)) {
    case kOptionsHelp:
        HostPrintUsage(stdout);
        return 0;
    case kOptionsError:
        std::fprintf(stderr, "zendrolyx: %s\n", HostEscapeLine(error.c_str()).c_str());
        HostPrintUsage(stderr);
        return 2;
    default:
        break;
    }

    if (!gHostOptions.inputScript.empty()) {
        std::string scriptError;
        if (!HostInputLoadScript(gHostOptions.inputScript.c_str(), &scriptError)) {
            std::fprintf(stderr, "zendrolyx: %s\n", HostEscapeLine(scriptError.c_str()).c_str());
            return 2;
        }
    }
    // Screenshots go into an existing directory; a wrong one is a bad option, not a late surprise.
    struct stat outDir;
    if (!gHostOptions.screenshotFrames.empty() &&
        (stat(gHostOptions.screenshotDir.c_str(), &outDir) != 0 || !S_ISDIR(outDir.st_mode))) {
        std::fprintf(stderr, "zendrolyx: --out %s is not a directory\n",
                     HostQuoted(gHostOptions.screenshotDir.c_str()).c_str());
        HostPrintUsage(stderr);
        return 2;
    }
    if (!gHostOptions.audioOut.empty() && !HostAudioFileWritable(gHostOptions.audioOut)) {
        std::fprintf(stderr, "zendrolyx: bad value for --audio-out: %s cannot be written\n",
                     HostQuoted(gHostOptions.audioOut.c_str()).c_str());
        HostPrintUsage(stderr);
        return 2;
    }
    HostSetVerbose(gHostOptions.verbose);
    // Headless there is no real time to follow: frames advance a virtual clock. Otherwise frames
    // keep the real clock's pace, offscreen too where no window can be opened.
    HostUseVirtualClock(gHostOptions.headless);
    GpuPaceOffscreenFrames(!gHostOptions.headless);
    // Only what is looked at is drawn on GL: headless, the screenshots; in the window, the
    // screenshots and what the window shows. The rest is still recorded and checked.
    GpuExecuteOnlyFor(gHostOptions.screenshotFrames.data(), int(gHostOptions.screenshotFrames.size()));
    // Ctrl-C or a termination signal is the platform's order to close: the game ends cleanly.
    HostCatchCloseSignals();

    nninitStartUp();
    const int end = nnMain();
    // The sound file is part of the run's output: a run that could not write it has failed.
    if (const char* failure = HostAudioOutputFailure()) {
        if (!gHostOptions.verbose) std::fprintf(stderr, "zendrolyx: %s\n", failure);
        return 1;
    }
    // An order to close (the frame limit, a signal, HOME's Close) ends a run normally wherever it
    // comes, in start-up too: status 0, and it says where start-up stopped.
    if (end == kGameClosedInStartUp) {
        if (HostFrameLimitReached())
            std::fprintf(stderr, "zendrolyx: stopped by the frame limit after %ld frames, before the game began (%s)\n",
                         HostFramesPresented(), HostStartUpStop().c_str());
        else
            std::fprintf(stderr, "zendrolyx: closed after %ld frames, before the game began (%s)\n",
                         HostFramesPresented(), HostStartUpStop().c_str());
        return 0;
    }
    // The line that says why, unless the game printed it before its box (or --verbose all along).
    if (end == kGameFailed) {
        HostPrintStopLine(end);
        return 1;
    }
    if (end != kGameEnded) {
        HostPrintStopLine(end);
        // In the window, a player who started the game from the desktop sees no standard error:
        // when the game's own box could not tell why (it needs the archives, the renderer and
        // the fonts), the system's box tells the same, until the player closes it.
        if (!gHostOptions.headless && !HostStopToldByGame()) HostShowSystemMessage(HostStartUpStop().c_str());
        return 1;
    }
    if (gHostOptions.verbose) std::fprintf(stderr, "zendrolyx: ended after %ld frames\n", HostFramesPresented());
    return 0;
}
