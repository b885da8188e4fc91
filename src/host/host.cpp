#include "host/host.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "host/audio.h"
#include "host/clock.h"

#ifndef ZENDROLYX_DEFAULT_ROM
#define ZENDROLYX_DEFAULT_ROM "rom"
#endif

HostOptions gHostOptions;

static std::atomic<int> closeRequested{0};
static std::atomic<long> framesPresented{0};

// The fixed frame step of the game: 33 ms of game time per presented frame.
static const int kFrameMilliseconds = 33;

std::string HostDefaultDataDir()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg) return std::string(xdg) + "/zendrolyx";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.local/share/zendrolyx";
    return "zendrolyx-data";
}

void HostPrintUsage(FILE* to)
{
    std::fprintf(to,
                 "usage: zendrolyx [options]\n"
                 "  --rom DIR      game data directory (default: %s)\n"
                 "  --data DIR     save directory (default: %s)\n"
                 "  --headless     run without a window\n"
                 "  --frames N     stop after N frames\n"
                 "  --seed N       seed of the random numbers (default 0)\n"
                 "  --input FILE   read the controller input from a script (one line a frame change)\n"
                 "  --launch MODE  start a game at once: 'attract' (a demonstration game) or 'quick'\n"
                 "  --players N    bowlers of a quick game, 1 to 8 (default 1)\n"
                 "  --audio-out FILE  write the game's sound to a WAV file (on game time, no audio device)\n"
                 "  --verbose      print the game's diagnostic messages\n"
                 "  --help         show this text\n",
                 ZENDROLYX_DEFAULT_ROM, HostDefaultDataDir().c_str());
}

static int ParseNumber(const char* text, long min, long max, long* out)
{
    if (!text || !*text) return 0;
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < min || value > max) return 0;
    *out = value;
    return 1;
}

int HostParseOptions(int argc, char** argv, HostOptions* out, std::string* error)
{
    HostOptions options;
    options.romDir = ZENDROLYX_DEFAULT_ROM;
    options.dataDir = HostDefaultDataDir();

    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needValue = [&](const char* what) {
            if (value) return true;
            *error = "option " + arg + " needs " + what;
            return false;
        };
        if (arg == "--help" || arg == "-h") {
            return kOptionsHelp;
        } else if (arg == "--headless") {
            options.headless = 1;
        } else if (arg == "--verbose") {
            options.verbose = 1;
        } else if (arg == "--rom" || arg == "--data") {
            if (!needValue("a directory")) return kOptionsError;
            if (!*value) {
                *error = "option " + arg + " needs a directory";
                return kOptionsError;
            }
            (arg == "--rom" ? options.romDir : options.dataDir) = value;
            ++i;
        } else if (arg == "--input") {
            if (!needValue("a file")) return kOptionsError;
            if (!*value) {
                *error = "option --input needs a file";
                return kOptionsError;
            }
            options.inputScript = value;
            ++i;
        } else if (arg == "--audio-out") {
            if (!needValue("a file")) return kOptionsError;
            if (!*value) {
                *error = "option --audio-out needs a file";
                return kOptionsError;
            }
            options.audioOut = value;
            ++i;
        } else if (arg == "--launch") {
            if (!needValue("a mode")) return kOptionsError;
            if (std::string(value) != "attract" && std::string(value) != "quick") {
                *error = std::string("bad value for --launch: '") + value + "' (attract or quick)";
                return kOptionsError;
            }
            options.launch = value;
            ++i;
        } else if (arg == "--players") {
            long n = 0;
            if (!needValue("a number of bowlers")) return kOptionsError;
            if (!ParseNumber(value, 1, 8, &n)) {
                *error = std::string("bad value for --players: '") + value + "' (1 to 8)";
                return kOptionsError;
            }
            options.players = int(n);
            ++i;
        } else if (arg == "--frames") {
            long n = 0;
            if (!needValue("a number of frames")) return kOptionsError;
            if (!ParseNumber(value, 1, 100000000, &n)) {
                *error = std::string("bad value for --frames: '") + value + "' (a whole number from 1)";
                return kOptionsError;
            }
            options.frameLimit = n;
            ++i;
        } else if (arg == "--seed") {
            long n = 0;
            if (!needValue("a number")) return kOptionsError;
            if (!ParseNumber(value, 0, 4294967295L, &n)) {
                *error = std::string("bad value for --seed: '") + value + "' (a whole number from 0 to 4294967295)";
                return kOptionsError;
            }
            options.seed = unsigned(n);
            ++i;
        } else {
            *error = "unknown option '" + arg + "'";
            return kOptionsError;
        }
    }
    *out = options;
    return kOptionsRun;
}

void HostRequestClose() { closeRequested = 1; }
int HostCloseRequested() { return closeRequested; }

void HostFramePresented()
{
    long n = ++framesPresented;
    HostAdvanceClock(kFrameMilliseconds);
    HostAudioFramePresented();
    if (gHostOptions.frameLimit > 0 && n >= gHostOptions.frameLimit) HostRequestClose();
}

long HostFramesPresented() { return framesPresented; }

void HostResetFrames()
{
    framesPresented = 0;
    closeRequested = 0;
}
