// The program options and their parsing (one table of options, each with its value check), the
// close order and the count of presented frames.
#include "host/host.h"

#include <csignal>

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
                 "                 mini-games 'spares', 'bingo', 'poker' and 'pinselect'; 'gallery' shows the\n"
                 "                 menu widgets' gallery instead of a game\n"
                 "  --players N    bowlers of a launched game, 1 to 8 (default 1)\n"
                 "  --humans H     the first H bowlers of a launched game are played by a person (default 0)\n"
                 "  --controls C   how the people set up a throw: 'touch' (the stylus, default) or 'buttons'\n"
                 "  --test-mode    every game of the run starts in the developer's test mode\n"
                 "  --screenshot FRAME[,FRAME...]  write PNGs of the three displays at those frames\n"
                 "  --out DIR      where screenshots go (default: the current directory)\n"
                 "  --layout-out   beside each screenshot, the lines of text drawn on each display\n"
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

// How an option takes its value: none, a non-empty text, one of a few words, a whole number in a
// range, or a list of frame numbers.
enum OptionKind { kOptionFlag, kOptionText, kOptionWord, kOptionNumber, kOptionFrames };

struct OptionSpec {
    const char* name;
    OptionKind kind;
    const char* needs;         // what a missing value was to be, for the message
    const char* accepted;      // the accepted values, for the message of a bad one
    const char* const* words;  // kOptionWord: the words, null-terminated; the index is stored
    long min, max;             // kOptionNumber
    // Stores the value: the text, the word's index or the number.
    void (*store)(HostOptions* o, const char* text, long n);
};

static const char* const kLaunchModes[] = {"attract", "quick", "spares", "bingo", "poker", "pinselect", "gallery", nullptr};
static const char* const kControlWords[] = {"touch", "buttons", nullptr};
static const char* const kViewWords[] = {"left", "right", "anaglyph", nullptr};

static const OptionSpec kOptions[] = {
    {"--headless", kOptionFlag, nullptr, nullptr, nullptr, 0, 0,
     [](HostOptions* o, const char*, long) { o->headless = 1; }},
    {"--verbose", kOptionFlag, nullptr, nullptr, nullptr, 0, 0,
     [](HostOptions* o, const char*, long) { o->verbose = 1; }},
    {"--layout-out", kOptionFlag, nullptr, nullptr, nullptr, 0, 0,
     [](HostOptions* o, const char*, long) { o->layoutOut = 1; }},
    {"--test-mode", kOptionFlag, nullptr, nullptr, nullptr, 0, 0,
     [](HostOptions* o, const char*, long) { o->testMode = 1; }},
    {"--rom", kOptionText, "a directory", nullptr, nullptr, 0, 0,
     [](HostOptions* o, const char* t, long) { o->romDir = t; }},
    {"--data", kOptionText, "a directory", nullptr, nullptr, 0, 0,
     [](HostOptions* o, const char* t, long) { o->dataDir = t; }},
    {"--input", kOptionText, "a file", nullptr, nullptr, 0, 0,
     [](HostOptions* o, const char* t, long) { o->inputScript = t; }},
    {"--audio-out", kOptionText, "a file", nullptr, nullptr, 0, 0,
     [](HostOptions* o, const char* t, long) { o->audioOut = t; }},
    {"--out", kOptionText, "a directory", nullptr, nullptr, 0, 0,
     [](HostOptions* o, const char* t, long) { o->screenshotDir = t; }},
    {"--launch", kOptionWord, "a mode", "attract, quick, spares, bingo, poker, pinselect or gallery", kLaunchModes, 0, 0,
     [](HostOptions* o, const char* t, long) { o->launch = t; }},
    {"--controls", kOptionWord, "'touch' or 'buttons'", "touch or buttons", kControlWords, 0, 0,
     [](HostOptions* o, const char*, long n) { o->buttonControls = int(n); }},
    {"--view", kOptionWord, "a view", "left, right or anaglyph", kViewWords, 0, 0,
     [](HostOptions* o, const char*, long n) { o->view = int(n); }},
    {"--players", kOptionNumber, "a number of bowlers", "1 to 8", nullptr, 1, 8,
     [](HostOptions* o, const char*, long n) { o->players = int(n); }},
    {"--humans", kOptionNumber, "a number of bowlers", "0 to 8", nullptr, 0, 8,
     [](HostOptions* o, const char*, long n) { o->humans = int(n); }},
    {"--frames", kOptionNumber, "a number of frames", "a whole number from 1", nullptr, 1, 100000000,
     [](HostOptions* o, const char*, long n) { o->frameLimit = n; }},
    {"--scale", kOptionNumber, "a scale", "1 to 8", nullptr, 1, 8,
     [](HostOptions* o, const char*, long n) { o->scale = int(n); }},
    {"--seed", kOptionNumber, "a number", "a whole number from 0 to 4294967295", nullptr, 0, 4294967295L,
     [](HostOptions* o, const char*, long n) { o->seed = unsigned(n); }},
    {"--screenshot", kOptionFrames, "a list of frames", "frame numbers from 0, separated by commas", nullptr, 0, 0,
     nullptr},
};

static const OptionSpec* FindOption(const std::string& name)
{
    for (const OptionSpec& spec : kOptions)
        if (name == spec.name) return &spec;
    return nullptr;
}

// The index of value among words, or -1.
static long WordIndex(const char* const* words, const char* value)
{
    for (long i = 0; words[i]; ++i)
        if (std::strcmp(words[i], value) == 0) return i;
    return -1;
}

// Reads the value of spec from value (null when the command line ended) into options. 0 with a
// message in *error when the value is missing or bad.
static int TakeValue(const OptionSpec& spec, const char* value, HostOptions* options, std::string* error)
{
    const std::string name = spec.name;
    // A text option's empty value is as good as none.
    if (!value || (spec.kind == kOptionText && !*value)) {
        *error = "option " + name + " needs " + spec.needs;
        return 0;
    }
    long n = 0;
    int ok = 1;
    switch (spec.kind) {
    case kOptionWord:
        n = WordIndex(spec.words, value);
        ok = n >= 0;
        break;
    case kOptionNumber:
        ok = ParseNumber(value, spec.min, spec.max, &n);
        break;
    case kOptionFrames:
        ok = ParseFrameList(value, &options->screenshotFrames);
        break;
    default:
        break;
    }
    if (!ok) {
        *error = "bad value for " + name + ": '" + value + "' (" + spec.accepted + ")";
        return 0;
    }
    if (spec.store) spec.store(options, value, n);
    return 1;
}

int HostParseOptions(int argc, char** argv, HostOptions* out, std::string* error)
{
    HostOptions options;
    int controlsGiven = 0;
    int playersGiven = 0;
    options.romDir = ZENDROLYX_DEFAULT_ROM;
    options.dataDir = HostDefaultDataDir();

    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") return kOptionsHelp;
        const OptionSpec* spec = FindOption(arg);
        if (!spec) {
            *error = "unknown option '" + arg + "'";
            return kOptionsError;
        }
        if (spec->kind == kOptionFlag) {
            spec->store(&options, nullptr, 0);
            continue;
        }
        if (!TakeValue(*spec, i + 1 < argc ? argv[i + 1] : nullptr, &options, error)) return kOptionsError;
        if (arg == "--controls") controlsGiven = 1;
        if (arg == "--players") playersGiven = 1;
        ++i;
    }
    // The bowlers, and the people among them, are chosen for a launched game other than the
    // demonstration (which has bowlers of its own).
    const int chosenBowlers = !options.launch.empty() && options.launch != "attract" && options.launch != "gallery";
    if (playersGiven && !chosenBowlers) {
        *error = "option --players needs --launch quick, spares, bingo, poker or pinselect";
        return kOptionsError;
    }
    if (options.humans > 0 && !chosenBowlers) {
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

// Sets the action of both close signals; calls made here are safe inside a signal handler.
static void SetCloseSignalAction(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Interrupted calls go on: the game closes through its own close order, not through failures.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// The first close signal: the next one gets the default action, which ends the program, so that
// a game stuck while closing can still be stopped.
static void OnCloseSignal(int)
{
    SetCloseSignalAction(SIG_DFL);
    HostRequestClose();
}

void HostCatchCloseSignals() { SetCloseSignalAction(OnCloseSignal); }

void HostFramePresented()
{
    long n = ++framesPresented;
    HostAdvanceClock(kFrameMilliseconds);
    HostAudioFramePresented();
    if (gHostOptions.frameLimit > 0 && n >= gHostOptions.frameLimit) HostRequestClose();
}

long HostFramesPresented() { return framesPresented; }

int HostFrameLimitReached() { return gHostOptions.frameLimit > 0 && framesPresented >= gHostOptions.frameLimit; }

void HostResetFrames()
{
    framesPresented = 0;
    closeRequested = 0;
}
