// A whole league season of the careers' largest league (sixteen teams of four, fifteen weeks):
// every week's computer matches and the sort of the table, as the main menu folds a league game
// in, reported per week as a share of the 33 ms that a frame may take.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "support/bench_game.h"
#include "db/database.h"
#include "db/dbxml.h"
#include "game/records.h"
#include "screens/career.h"
#include "ui/widgets/standings.h"

namespace {

constexpr uint32_t kDeviceBytes = 64u << 20;
constexpr double kFrameBudgetMs = 33.0;

sBasicDbTable *gRecord = nullptr, *gDef = nullptr;
int gLeague = 0;
double gSeconds = 0;
long gWeeks = 0;

// A fresh season: the teams in order, no results, the fixtures of the league.
void NewSeason(int m)
{
    for (int c = 13; c <= 34; ++c)
        for (int k = 0; k < BasicDbTable_GetElementCount(gRecord, c); ++k) BasicDbTable_SetElementIN(gRecord, c, 0, k, 0);
    for (int x = 0; x < m; ++x) BasicDbTable_SetElementIN(gRecord, 13, 0, x, x);
    BasicUiWidgetTypeLeagueTable_GenerateFixtures(gRecord, 0, kLeagueFirstWeekColumn, kLeagueFirstWeekColumn + 15, m);
}

void BM_LeagueSeason(benchmark::State& state)
{
    const int m = BasicDbTable_GetElementI(gDef, 5, gLeague), weeks = BasicDbTable_GetElementI(gDef, 7, gLeague);
    SeedRandom();
    for (auto _ : state) {
        state.PauseTiming();
        NewSeason(m);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        for (int w = 0; w < weeks; ++w) benchmark::DoNotOptimize(SimulateLeagueWeek(gRecord, 0, gDef, gLeague, w, 800, 760));
        gSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        gWeeks += weeks;
    }
}
BENCHMARK(BM_LeagueSeason)->Unit(benchmark::kMicrosecond)->MinTime(BenchMinTime(0.5));

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!StartBenchRenderer("career_bench", argv[0], 1, kDeviceBytes, 0x800)) return 1;
    BasicDb_Init();
    sBasicDb *save = nullptr, *game = nullptr;
    if (!BasicDb_Load(&save, "db/save.db.xml") || !BasicDb_Load(&game, "db/game.db.xml")) {
        std::fprintf(stderr, "career_bench: the game data's databases did not load\n");
        return 1;
    }
    gRecord = BasicDbTable_Find(save, "league");
    gDef = BasicDbTable_Find(game, "Leagues");
    if (!gRecord || !gDef) return 1;
    // The league with the most teams.
    for (int e = 0; e < gDef->rows; ++e)
        if (BasicDbTable_GetElementI(gDef, 5, e) * BasicDbTable_GetElementI(gDef, 4, e) >
            BasicDbTable_GetElementI(gDef, 5, gLeague) * BasicDbTable_GetElementI(gDef, 4, gLeague))
            gLeague = e;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gWeeks > 0) {
        const double ms = gSeconds * 1000.0 / double(gWeeks);
        std::printf("one league week of %d teams (computer matches and the sort): %.4f ms, %.3f %% of the %.0f ms frame\n",
                    BasicDbTable_GetElementI(gDef, 5, gLeague), ms, 100.0 * ms / kFrameBudgetMs, kFrameBudgetMs);
    }
    EndBenchRenderer();
    return 0;
}
