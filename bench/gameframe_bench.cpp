// The cost of one game frame without its drawing — the game's input (the computer bowlers), the
// actors, the physics step and the end-of-ball rules — over whole games of four computer
// bowlers on the first alley, as a share of the 33 ms that a frame may take.
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
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    if (!StartBenchGame("gameframe_bench", argv[0], 0)) return 1;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (gFrames > 0) {
        const double msPerFrame = gSeconds * 1000.0 / double(gFrames);
        std::printf("one game frame (logic and physics): %.3f ms, %.2f %% of the %.0f ms frame\n", msPerFrame,
                    100.0 * msPerFrame / kFrameBudgetMs, kFrameBudgetMs);
    }
    RenderDispose();
    FreeResources();
    FileSystemDispose();
    btAlignedAllocSetCustom(nullptr, nullptr);
    btAlignedAllocSetCustomAligned(nullptr, nullptr);
    DisposeMemoryHeap(&deviceHeap);
    return 0;
}
