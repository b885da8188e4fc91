#include "support/bench_game.h"

#include <btBulletDynamicsCommon.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "game/areas.h"
#include "game/collision.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/records.h"
#include "host/arena.h"
#include "host/errorlog.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "lib/trig.h"
#include "platform/fileserver.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "screens/frontend.h"
#include "shell/globals.h"
#include "shell/physicsmemory.h"
#include "shell/settings.h"
#include "shell/startup.h"

static std::vector<std::string> scratchFolders;

static void RemoveScratchFolders()
{
    std::error_code ignored;
    for (const std::string& folder : scratchFolders) std::filesystem::remove_all(folder, ignored);
}

void BenchRemoveAtExit(const char* folder)
{
    if (scratchFolders.empty()) std::atexit(RemoveScratchFolders);
    scratchFolders.push_back(folder);
}

static std::string ownSaveFolder;
// The folder and its save file, for the signal handler, which may only unlink and remove.
static char ownSaveFile[1024], ownSaveFolderPath[1024];

// A close signal ends a bench at once, as it would any program, without leaving its save folder.
static void OnCloseSignal(int signal)
{
    unlink(ownSaveFile);
    rmdir(ownSaveFolderPath);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

int StartBenchOptions(const char* bench, char* program, int headless)
{
    std::string error;
    char headlessOption[] = "--headless";
    char* arguments[] = {program, headlessOption};
    if (HostParseOptions(headless ? 2 : 1, arguments, &gHostOptions, &error) != kOptionsRun) return 0;
    HostSetVerbose(1);  // a bench that cannot start says why
    // The window system would turn a close signal into a quit event that no bench reads.
    setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);
    if (ownSaveFolder.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        const std::string parent = tmp && *tmp ? tmp : "/tmp";
        std::string pattern = parent + "/zendrolyx-" + bench + "-XXXXXX";
        if (!mkdtemp(&pattern[0])) {
            std::fprintf(stderr, "%s: no save folder of its own can be made in %s\n", bench, parent.c_str());
            return 0;
        }
        ownSaveFolder = pattern;
        std::snprintf(ownSaveFolderPath, sizeof ownSaveFolderPath, "%s", pattern.c_str());
        std::snprintf(ownSaveFile, sizeof ownSaveFile, "%s/savegame.bin", pattern.c_str());
        BenchRemoveAtExit(ownSaveFolderPath);
        std::signal(SIGINT, OnCloseSignal);
        std::signal(SIGTERM, OnCloseSignal);
    }
    gHostOptions.dataDir = ownSaveFolder;
    return 1;
}

double BenchMinTime(double seconds)
{
    const char* given = std::getenv("BENCHMARK_MIN_TIME");
    if (!given || !*given) return seconds;
    char* end = nullptr;
    const double value = std::strtod(given, &end);
    return end != given && value > 0 ? value : seconds;
}

int BenchBrief() { return BenchMinTime(1.0) < 0.1; }

long BenchIterations(long n)
{
    if (!BenchBrief()) return n;
    return n >= 100 ? n / 100 : 1;
}

int StartBenchRenderer(const char* bench, char* program, int headless, uint32_t deviceBytes, uint32_t maxQuads)
{
    if (!StartBenchOptions(bench, program, headless)) return 0;
    done = 0;
    if (!HostArenaInit(deviceBytes)) return 0;
    theHeap = nullptr;
    uint8_t* start = HostDeviceMemoryAddress();
    if (!InitMemoryHeap(&deviceHeap, start, start + deviceBytes, 0x2000, 128, 0, 1) || !FileSystemInit() ||
        !InitResources(10000) || !OpenResources() || !RenderInit(0x80000, maxQuads, 0x502, 0x500)) {
        std::fprintf(stderr, "%s: no game heap, game data or renderer\n", bench);
        return 0;
    }
    return 1;
}

void EndBenchRenderer()
{
    RenderDispose();
    FreeResources();
    FileSystemDispose();
    btAlignedAllocSetCustom(nullptr, nullptr);
    btAlignedAllocSetCustomAligned(nullptr, nullptr);
    DisposeMemoryHeap(&deviceHeap);
}

int StartBenchGame(const char* bench, char* program, int headless)
{
    if (!StartBenchRenderer(bench, program, headless, 64u << 20, 0x800)) return 0;
    InstallPhysicsAllocator();
    InitTrigTables();
    InitGameSettings();
    InitOptions();
    ClearInputs();
    return 1;
}

void EndBenchGame()
{
    DisposePhysicsWorld();
    DisposeCollisionEnvironment(areaNum);
    DisposeGame();
    LoadingScreenClose();
}

int StartBenchSound(const char* bench)
{
    if (InitStreaming() && InitializeSoundServices()) return 1;
    std::fprintf(stderr, "%s: the sound services could not start\n", bench);
    return 0;
}

void EndBenchSound()
{
    DisposeSoundServices();
}

double ProcessCpuSeconds()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) + 1e-6 * double(use.ru_utime.tv_usec + use.ru_stime.tv_usec);
}
