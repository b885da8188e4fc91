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
// The pairs of games of the ratio: processor time and frames of each kind.
double gPairLogicCpu = 0, gPairWholeCpu = 0;
long gPairLogicFrames = 0, gPairWholeFrames = 0;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

struct Timed {
    long frames = 0;
    double seconds = 0, cpu = 0;
};

// One game of logic and physics only; its set-up and tear-down are not timed. 0 when it cannot
// be set up or does not end.
int LogicGame(Timed* t)
{
    SeedRandom();
    quitGame = 0;
    if (!QuickLaunchGame("quick", 4) || !GameLoopSetup()) return 0;
    const auto start = Clock::now();
    const double cpuStart = ProcessCpuSeconds();
    t->frames = 0;
    while (!quitGame && t->frames < kFrameCap) {
        if (!HandleControls() || !UpdateGameLogic()) break;
        ++t->frames;
    }
    t->seconds = SecondsSince(start);
    t->cpu = ProcessCpuSeconds() - cpuStart;
    const int finished = gGameOver;
    EndBenchGame();
    return finished;
}

// The same game through the game loop, set-up and tear-down included, as `zendrolyx --headless
// --launch quick --players 4` plays it.
int WholeGame(Timed* t)
{
    SeedRandom();
    quitGame = 0;
    if (!QuickLaunchGame("quick", 4)) return 0;
    const long before = HostFramesPresented();
    const auto start = Clock::now();
    const double cpuStart = ProcessCpuSeconds();
    const int ok = GameLoop();
    t->seconds = SecondsSince(start);
    t->cpu = ProcessCpuSeconds() - cpuStart;
    t->frames = HostFramesPresented() - before;
    return ok && gGameOver;
}

void BM_GameFrame(benchmark::State& state)
{
    long framesHere = 0;
    for (auto _ : state) {
        Timed t;
        if (!LogicGame(&t)) {
            state.SkipWithError("the game could not be set up or did not end");
            return;
        }
        state.SetIterationTime(t.seconds);
        framesHere += t.frames;
        gFrames += t.frames;
        gSeconds += t.seconds;
    }
    state.counters["frames_per_game"] = double(framesHere) / double(state.iterations());
}

// Each iteration is a whole game (about 2 s here, some 22,000 frames): two games.
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(BenchIterations(2));

// A whole headless game and the same game's logic and physics, one after the other, so that
// both see the same machine; the ratio is of their processor times per frame.
void BM_WholeHeadlessGame(benchmark::State& state)
{
    for (auto _ : state) {
        Timed logic, whole;
        if (!WholeGame(&whole) || !LogicGame(&logic)) {
            state.SkipWithError("the game could not be set up or did not end");
            return;
        }
        state.SetIterationTime(whole.seconds);
        gPairWholeCpu += whole.cpu;
        gPairWholeFrames += whole.frames;
        gPairLogicCpu += logic.cpu;
        gPairLogicFrames += logic.frames;
    }
}

// Each iteration is a pair of whole games (about 5 s here): two pairs.
BENCHMARK(BM_WholeHeadlessGame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(BenchIterations(2));

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
    }
    if (gPairWholeFrames > 0 && gPairLogicFrames > 0) {
        const double msWhole = gPairWholeCpu * 1000.0 / double(gPairWholeFrames);
        const double msLogic = gPairLogicCpu * 1000.0 / double(gPairLogicFrames);
        std::printf("one frame of a whole headless game: %.3f ms of processor time, %.2f times the %.3f ms of its "
                    "logic and physics (target: at most 2)\n",
                    msWhole, msWhole / msLogic, msLogic);
    }
    EndBenchSound();
    EndBenchRenderer();
    return 0;
}
