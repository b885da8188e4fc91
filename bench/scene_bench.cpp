// The cost of one whole game frame with its drawing, headless on the PC's GPU: the game's input
// (four computer bowlers), the actors, the physics step and the end-of-ball rules, then both eyes
// of the alley with its bowlers, ball and pins and the lower screen's overlays — over the first
// stretch of a game on the first alley, as a share of the 33 ms that a frame may take. The
// drawing's own share is printed beside it.
#include <benchmark/benchmark.h>

#include <btBulletDynamicsCommon.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "game/actors.h"
#include "game/areas.h"
#include "game/collision.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/records.h"
#include "host/arena.h"
#include "host/errorlog.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "lib/trig.h"
#include "platform/fileserver.h"
#include "platform/input.h"
#include "platform/render.h"
#include "screens/frontend.h"
#include "screens/quicklaunch.h"
#include "shell/globals.h"
#include "shell/physicsmemory.h"
#include "shell/scenedraw.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "support/bench_game.h"

namespace {

constexpr double kFrameBudgetMs = 33.0;
// Frames timed per game: 30 s of play, enough for several balls of several bowlers.
constexpr long kFramesPerRun = 900;

long gFrames = 0;
double gSeconds = 0;
double gDrawSeconds = 0;
double gCpuSeconds = 0;  // of every thread of the process, the GPU's workers included

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The first kFramesPerRun frames of a game (30 in a brief run); its set-up and tear-down are not
// timed.
void BM_SceneFrame(benchmark::State& state)
{
    for (auto _ : state) {
        SeedRandom();
        quitGame = 0;
        if (!QuickLaunchGame("quick", 4) || !GameLoopSetup()) {
            state.SkipWithError("the game could not be set up");
            return;
        }
        long frames = 0;
        double drawing = 0;
        int ok = 1;
        const auto start = Clock::now();
        const double cpuStart = ProcessCpuSeconds();
        const long framesPerRun = BenchBrief() ? 30 : kFramesPerRun;
        while (ok && !quitGame && frames < framesPerRun) {
            ok = HandleControls() && UpdateGameLogic();
            const auto drawStart = Clock::now();
            ok = ok && DrawGameScreen();
            drawing += Since(drawStart);
            ++frames;
        }
        const double seconds = Since(start);
        const double cpu = ProcessCpuSeconds() - cpuStart;
        state.SetIterationTime(seconds);
        EndBenchGame();
        if (!ok) {
            state.SkipWithError("a frame failed");
            return;
        }
        gFrames += frames;
        gSeconds += seconds;
        gDrawSeconds += drawing;
        gCpuSeconds += cpu;
    }
}

// One iteration of 900 frames is some 20 s here: one.
BENCHMARK(BM_SceneFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(BenchIterations(1));

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    // With a display the frames are drawn as the window draws them (the eye it shows, the lower
    // screen, paced at 33 ms); without one, headless with every image drawn.
    const int windowed = std::getenv("DISPLAY") != nullptr;
    if (!StartBenchGame("scene_bench", argv[0], !windowed)) return 1;
    if (windowed) GpuExecuteOnlyFor(nullptr, 0);
    std::printf("%s\n", windowed ? "in the window, as the game draws by default (the left eye shown)"
                                 : "headless, every image drawn (both eyes and the lower screen)");

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (gFrames > 0) {
        const double msPerFrame = gSeconds * 1000.0 / double(gFrames);
        const double msDrawing = gDrawSeconds * 1000.0 / double(gFrames);
        std::printf("one game frame with drawing: %.3f ms, %.2f %% of the %.0f ms frame (drawing %.3f ms, %.2f %%)\n",
                    msPerFrame, 100.0 * msPerFrame / kFrameBudgetMs, kFrameBudgetMs, msDrawing,
                    100.0 * msDrawing / kFrameBudgetMs);
        // The rasteriser runs on worker threads; on a busy machine they wait for cores, so the
        // processor time of all threads tells the cost apart from the load.
        std::printf("processor time of all threads per frame: %.3f ms\n", gCpuSeconds * 1000.0 / double(gFrames));
    }
    EndBenchRenderer();
    return 0;
}
