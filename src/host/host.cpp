// The program options and their parsing (one table of options, each with its value check), the
// close order and the count of presented frames.
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
                 "  --launch MODE  start a game at once: 'attract' (a demonstration game), 'quick', or the\n"
                 "                 mini-games 'spares', 'bingo', 'poker' and 'pinselect'\n"
                 "  --players N    bowlers of a launched game, 1 to 8 (default 1)\n"
                 "  --humans H     the first H bowlers of a launched game are played by a person (default 0)\n"
                 "  --controls C   how the people set up a throw: 'touch' (the stylus, default) or 'buttons'\n"
                 "  --screenshot FRAME[,FRAME...]  write PNGs of the three displays at those frames\n"
                 "  --out DIR      where screenshots go (default: the current directory)\n"
                 "  --scale N      window pixels per screen pixel, 1 to 8 (default 2)\n"
                 "  --view V       what the window shows on the upper screen: left, right or anaglyph\n"
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

// A comma-separated list of frame numbers, each from 0; empty entries are refused.
static int ParseFrameList(const char* text, std::vector<long>* out)
{
    std::vector<long> frames;
    std::string list = text;
    size_t start = 0;
    for (;;) {
        size_t comma = list.find(',', start);
        std::string item = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        long n = 0;
        if (!ParseNumber(item.c_str(), 0, 100000000, &n)) return 0;
        frames.push_back(n);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    *out = frames;
    return 1;
}

int HostParseOptions(int argc, char** argv, HostOptions* out, std::string* error)
{
    HostOptions options;
    int controlsGiven = 0;
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
            static const char* const kModes[] = {"attract", "quick", "spares", "bingo", "poker", "pinselect"};
            int known = 0;
            for (const char* mode : kModes) known |= std::string(value) == mode;
            if (!known) {
                *error = std::string("bad value for --launch: '") + value +
                         "' (attract, quick, spares, bingo, poker or pinselect)";
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
        } else if (arg == "--humans") {
            long n = 0;
            if (!needValue("a number of bowlers")) return kOptionsError;
            if (!ParseNumber(value, 0, 8, &n)) {
                *error = std::string("bad value for --humans: '") + value + "' (0 to 8)";
                return kOptionsError;
            }
            options.humans = int(n);
            ++i;
        } else if (arg == "--controls") {
            if (!needValue("'touch' or 'buttons'")) return kOptionsError;
            if (std::string(value) != "touch" && std::string(value) != "buttons") {
                *error = std::string("bad value for --controls: '") + value + "' (touch or buttons)";
                return kOptionsError;
            }
            options.buttonControls = std::string(value) == "buttons" ? 1 : 0;
            controlsGiven = 1;
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
        } else if (arg == "--screenshot") {
            if (!needValue("a list of frames")) return kOptionsError;
            if (!ParseFrameList(value, &options.screenshotFrames)) {
                *error = std::string("bad value for --screenshot: '") + value +
                         "' (frame numbers from 0, separated by commas)";
                return kOptionsError;
            }
            ++i;
        } else if (arg == "--out") {
            if (!needValue("a directory") || !*value) {
                *error = "option --out needs a directory";
                return kOptionsError;
            }
            options.screenshotDir = value;
            ++i;
        } else if (arg == "--scale") {
            long n = 0;
            if (!needValue("a scale")) return kOptionsError;
            if (!ParseNumber(value, 1, 8, &n)) {
                *error = std::string("bad value for --scale: '") + value + "' (1 to 8)";
                return kOptionsError;
            }
            options.scale = int(n);
            ++i;
        } else if (arg == "--view") {
            if (!needValue("a view")) return kOptionsError;
            std::string v = value;
            if (v != "left" && v != "right" && v != "anaglyph") {
                *error = "bad value for --view: '" + v + "' (left, right or anaglyph)";
                return kOptionsError;
            }
            options.view = v == "left" ? 0 : v == "right" ? 1 : 2;
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
    // The people bowl in a launched game other than the demonstration, among its bowlers.
    if (options.humans > 0 && (options.launch.empty() || options.launch == "attract")) {
        *error = "option --humans needs --launch quick, spares, bingo, poker or pinselect";
        return kOptionsError;
    }
    // Only a person's throws have controls to choose.
    if (controlsGiven && options.humans == 0) {
        *error = "option --controls needs --humans";
        return kOptionsError;
    }
    if (options.humans > options.players) {
        *error = "bad value for --humans: " + std::to_string(options.humans) + " people but " +
                 std::to_string(options.players) + " bowlers (--players)";
        return kOptionsError;
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
