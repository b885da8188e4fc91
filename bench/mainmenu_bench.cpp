// Opening the main menu (the shared front-end sounds and music, the loading screen, the menus' UI
// description with its art, fonts and texts, the registry) against setting up a game on one alley
// (its models, props, collision, bowlers and sounds), headless on the build's game data, each timed
// in the same run; the menu's time is printed as a share of the alley's, and so is the bowler
// preview's load when the quick-play page shows it (the outfit, the body's animation, and the
// menu frame drawn while they load).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "game/gameloop.h"
#include "lib/screenapi.h"
#include "screens/bowlerpreview.h"
#include "screens/frontend.h"
#include "screens/quicklaunch.h"
#include "shell/globals.h"
#include "support/bench_game.h"

namespace {

using Clock = std::chrono::steady_clock;

double gMenuSeconds = 0, gAlleySeconds = 0, gPreviewSeconds = 0;
long gMenus = 0, gAlleys = 0, gPreviews = 0;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void BM_OpenMainMenu(benchmark::State& state)
{
    for (auto _ : state) {
        ScreenSetResult(kScreenResultRun);
        const auto start = Clock::now();
        const int ok = MainMenuScreenOpenHandler() && s0MainMenu;
        const double seconds = Since(start);
        state.SetIterationTime(seconds);
        // Leaving for a game gives the menus back, as the screen loop does.
        ScreenSetResult(kTabGroupGame);
        MainMenuScreenCloseHandler();
        if (!ok) {
            state.SkipWithError("the main menu could not be opened");
            return;
        }
        gMenuSeconds += seconds;
        ++gMenus;
    }
}

void BM_LoadBowlerPreview(benchmark::State& state)
{
    for (auto _ : state) {
        ScreenSetResult(kScreenResultRun);
        int ok = MainMenuScreenOpenHandler() && s0MainMenu;
        const auto start = Clock::now();
        ok = ok && SetupPlayerModel(nullptr, 0) && LoadPlayerModel(nullptr, 0);
        const double seconds = Since(start);
        state.SetIterationTime(seconds);
        ScreenSetResult(kTabGroupGame);
        MainMenuScreenCloseHandler();
        if (!ok) {
            state.SkipWithError("the bowler preview could not be loaded");
            return;
        }
        gPreviewSeconds += seconds;
        ++gPreviews;
    }
}

void BM_SetUpAlley(benchmark::State& state)
{
    for (auto _ : state) {
        quitGame = 0;
        const auto start = Clock::now();
        const int ok = QuickLaunchGame("quick", 1) && GameLoopSetup();
        const double seconds = Since(start);
        state.SetIterationTime(seconds);
        EndBenchGame();
        if (!ok) {
            state.SkipWithError("the game could not be set up");
            return;
        }
        gAlleySeconds += seconds;
        ++gAlleys;
    }
}

// About a second of each timed here (17, 11 and 6.5 ms an iteration).
BENCHMARK(BM_OpenMainMenu)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(BenchIterations(60));
BENCHMARK(BM_LoadBowlerPreview)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(BenchIterations(100));
BENCHMARK(BM_SetUpAlley)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(BenchIterations(150));

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!StartBenchGame("mainmenu_bench", argv[0], 1) || !StartBenchSound("mainmenu_bench")) return 1;
    if (!MainMenuScreenInit()) {
        std::fprintf(stderr, "mainmenu_bench: the front end could not be prepared\n");
        return 1;
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (gMenus > 0 && gAlleys > 0) {
        const double menu = gMenuSeconds * 1000.0 / double(gMenus), alley = gAlleySeconds * 1000.0 / double(gAlleys);
        std::printf("opening the main menu: %.2f ms, %.0f %% of setting up a game on one alley (%.2f ms)\n", menu,
                    100.0 * menu / alley, alley);
        if (gPreviews > 0) {
            const double preview = gPreviewSeconds * 1000.0 / double(gPreviews);
            std::printf("loading the bowler preview: %.2f ms, %.0f %% of the alley\n", preview, 100.0 * preview / alley);
        }
    }
    EndBenchSound();
    EndBenchRenderer();
    return 0;
}
