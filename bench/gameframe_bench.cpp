// The cost of one game frame without its drawing — the game's input (the computer bowlers), the
// actors, the physics step and the end-of-ball rules — over whole games of four computer
// bowlers on the first alley, as a share of the 33 ms that a frame may take; and, in the same
// run, the same game played whole as a headless run plays it (the game loop with its drawing
// recorded and checked, its sound mixed on game time), as a ratio to the first: what a headless
// frame costs beyond the game itself.
#include <benchmark/benchmark.h>

#include <btBulletDynamicsCommon.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "game/actors.h"
#include "game/collision.h"
#include "game/gameloop.h"
#include "game/areas.h"
#include "game/physics.h"
#include "game/records.h"
#include "host/arena.h"
#include "host/errorlog.h"
#include "host/clock.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "platform/input.h"
#include "platform/render.h"
#include "screens/frontend.h"
#include "screens/quicklaunch.h"
#include "shell/globals.h"
#include "shell/physicsmemory.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "support/bench_game.h"

namespace {

constexpr double kFrameBudgetMs = 33.0;
constexpr long kFrameCap = 200000;

long gFrames = 0;
double gSeconds = 0;
long gWholeFrames = 0;
double gWholeSeconds = 0;

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One whole game; the set-up and the tear-down are not timed.
void BM_GameFrame(benchmark::State& state)
{
    long framesHere = 0;
    for (auto _ : state) {
        SeedRandom();
        quitGame = 0;
        if (!QuickLaunchGame("quick", 4) || !GameLoopSetup()) {
            state.SkipWithError("the game could not be set up");
            return;
        }
        long frames = 0;
        const auto start = std::chrono::steady_clock::now();
        while (!quitGame && frames < kFrameCap) {
            if (!HandleControls() || !UpdateGameLogic()) break;
            ++frames;
        }
        const double seconds = SecondsSince(start);
        state.SetIterationTime(seconds);
        const int finished = gGameOver;
        EndBenchGame();
        if (!finished) {
            state.SkipWithError("the game did not end");
            return;
        }
        framesHere += frames;
        gFrames += frames;
        gSeconds += seconds;
    }
    state.counters["frames_per_game"] = double(framesHere) / double(state.iterations());
}

BENCHMARK(BM_GameFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// The same game through the game loop, set-up and tear-down included, as `zendrolyx --headless
// --launch quick --players 4` plays it.
void BM_WholeHeadlessGame(benchmark::State& state)
{
    for (auto _ : state) {
        SeedRandom();
        quitGame = 0;
        if (!QuickLaunchGame("quick", 4)) {
            state.SkipWithError("the game could not be set up");
            return;
        }
        const long before = HostFramesPresented();
        const auto start = std::chrono::steady_clock::now();
        const int ok = GameLoop();
        const double seconds = SecondsSince(start);
        state.SetIterationTime(seconds);
        if (!ok || !gGameOver) {
            state.SkipWithError("the game did not end");
            return;
        }
        gWholeFrames += HostFramesPresented() - before;
        gWholeSeconds += seconds;
    }
}

BENCHMARK(BM_WholeHeadlessGame)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    if (!StartBenchGame("gameframe_bench", argv[0], 1) || !StartBenchSound("gameframe_bench")) return 1;
    // As a headless run: game time, and no image drawn on GL (none is looked at).
    HostUseVirtualClock(1);
    GpuExecuteOnlyFor(nullptr, 0);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (gFrames > 0) {
        const double msPerFrame = gSeconds * 1000.0 / double(gFrames);
        std::printf("one game frame (logic and physics): %.3f ms, %.2f %% of the %.0f ms frame\n", msPerFrame,
                    100.0 * msPerFrame / kFrameBudgetMs, kFrameBudgetMs);
        if (gWholeFrames > 0) {
            const double msWhole = gWholeSeconds * 1000.0 / double(gWholeFrames);
            std::printf("one frame of a whole headless game: %.3f ms, %.2f times the logic and physics (target: at most 2)\n",
                        msWhole, msWhole / msPerFrame);
        }
    }
    EndBenchSound();
    RenderDispose();
    FreeResources();
    FileSystemDispose();
    btAlignedAllocSetCustom(nullptr, nullptr);
    btAlignedAllocSetCustomAligned(nullptr, nullptr);
    DisposeMemoryHeap(&deviceHeap);
    return 0;
}
