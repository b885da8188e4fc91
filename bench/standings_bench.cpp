// The career standings widgets on the PC, headless: one UI frame (update and the three drawing
// passes) of each page of their test description, the league table over the knock-out tree and
// the high-score table over the ladder, as a share of the 33 ms that a frame may take, with the
// 2D quads each page uses beside the 2048 that the game's renderer keeps room for.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "support/bench_game.h"
#include "db/database.h"
#include "host/clock.h"
#include "lib/screenapi.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "ui/environment.h"
#include "ui/frameupdate.h"
#include "ui/loader.h"
#include "ui/memoryslots.h"
#include "ui/widgets/commands.h"

namespace {

constexpr uint32_t kDeviceBytes = 96u << 20;
constexpr double kFrameBudgetMs = 33.0;
constexpr uint32_t kGameQuads = 0x800;  // the 2D quads the game's renderer is started with

sBasicUiEnvironment* gEnv = nullptr;
struct Page {
    const char* sequence;  // the sequence that shows it
    double seconds = 0;
    long frames = 0;
    uint32_t quads = 0;
} gPages[2] = {{"cw.showLeague"}, {"cw.showScores"}};

void BM_StandingsPage(benchmark::State& state)
{
    Page& page = gPages[state.range(0)];
    BasicUiWidgetTypeCmdSequence_Run(BasicUi_FindWidget(gEnv, page.sequence));
    BasicUi_UpdateEnvironment(gEnv, 1.0f / 30.0f);
    for (auto _ : state) {
        if (!RenderStartScreen()) {
            state.SkipWithError("no frame to draw into");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        BasicUi_UpdateEnvironment(gEnv, 1.0f / 30.0f);
        BasicUi_RenderEnvironment(gEnv);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        page.quads = numOverlayPolys;
        RenderDoneScreen();
        state.SetIterationTime(seconds);
        page.seconds += seconds;
        ++page.frames;
    }
}
// The frame timed is about a hundredth of each iteration (the GPU draws the frame untimed). 1,000
// frames a page take some 8 s; more frames make the figure no steadier (the machine's load
// moves it more).
BENCHMARK(BM_StandingsPage)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->UseManualTime()
    ->Iterations(BenchIterations(1000));

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // Room for more quads than the game keeps, so that a page that needs more is measured whole.
    if (!StartBenchRenderer("standings_bench", argv[0], 1, kDeviceBytes, 0x1000) || !ScreenInitializeAPI()) return 1;
    HostUseVirtualClock(1);
    BasicMemory_Init(basicUiNumberOfMemorySlots);
    BasicDb_Init();
    gEnv = BasicUi_CreateEnvironment(const_cast<char*>("Standings"), 1);
    if (!gEnv || !BasicUiEnvironment_Load("ui/careerwidgets.ui.xml", gEnv)) {
        std::fprintf(stderr, "standings_bench: the standings description did not load\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    static const char* const names[2] = {"league table and tree", "score table and ladder"};
    for (int i = 0; i < 2; ++i) {
        if (gPages[i].frames <= 0) continue;
        const double ms = gPages[i].seconds * 1000.0 / double(gPages[i].frames);
        std::printf("one UI frame of the %s (update and three passes): %.3f ms, %.2f %% of the %.0f ms frame; "
                    "%u of the game's %u 2D quads\n",
                    names[i], ms, 100.0 * ms / kFrameBudgetMs, kFrameBudgetMs, gPages[i].quads, kGameQuads);
    }
    return 0;
}
