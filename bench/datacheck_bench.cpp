// The check of the game data at start-up (every listed file read and its checksum compared, about
// 14 MB) against the whole start-up to the title, each timed in the same run: the check in this
// process on the build's game data, the start-up as the program itself, headless, from its launch
// to the title's first whole frame (the intro logos skipped with A as a player would). The check's
// time is printed as a share of the start-up's.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "host/host.h"
#include "lib/datalist.h"
#include "support/bench_game.h"

namespace {

using Clock = std::chrono::steady_clock;

// Frames from the launch to the title's first whole frame when A skips each logo.
const char* const kFramesToTitle = "140";
const char* const kSkipIntro = "5 A\n6\n20 A\n21\n";

double gCheckSeconds = 0, gStartUpSeconds = 0;
long gChecks = 0, gStartUps = 0;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void BM_CheckGameData(benchmark::State& state)
{
    char fault[300];
    for (auto _ : state) {
        const auto start = Clock::now();
        const int ok = CheckGameData(fault, int(sizeof fault));
        const double seconds = Since(start);
        state.SetIterationTime(seconds);
        if (!ok) {
            state.SkipWithError(fault);
            return;
        }
        gCheckSeconds += seconds;
        ++gChecks;
    }
}

// Runs the program to the title with the bench's own save folder, its messages into `messages`;
// 1 when it ended as told and said nothing (a run stopped before the title says where).
int RunToTitle(const std::string& input, const std::string& messages)
{
    const std::string data = gHostOptions.dataDir;
    const pid_t child = fork();
    if (child < 0) return 0;
    if (child == 0) {
        FILE* err = std::freopen(messages.c_str(), "w", stderr);
        if (!err) _exit(126);
        execl(ZENDROLYX_PROGRAM, ZENDROLYX_PROGRAM, "--headless", "--frames", kFramesToTitle, "--data", data.c_str(),
              "--input", input.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return 0;
    FILE* said = std::fopen(messages.c_str(), "r");
    const bool silent = said && std::fgetc(said) == EOF;
    if (said) std::fclose(said);
    return silent;
}

void BM_StartUpToTitle(benchmark::State& state)
{
    const std::string input = gHostOptions.dataDir + "/skip-intro.input";
    const std::string messages = gHostOptions.dataDir + "/messages.txt";
    static bool ready = false;
    if (!ready) {
        // The first start makes the save, with its own notice, and may not reach the title by the
        // frame limit: that run is not the one timed.
        FILE* script = std::fopen(input.c_str(), "w");
        const bool written = script && std::fputs(kSkipIntro, script) >= 0;
        if (script) std::fclose(script);
        RunToTitle(input, messages);
        if (!written || !RunToTitle(input, messages)) {
            state.SkipWithError("the program could not be run to the title");
            return;
        }
        ready = true;
    }
    for (auto _ : state) {
        const auto start = Clock::now();
        const int ok = RunToTitle(input, messages);
        const double seconds = Since(start);
        state.SetIterationTime(seconds);
        if (!ok) {
            state.SkipWithError("the program did not reach the title");
            return;
        }
        gStartUpSeconds += seconds;
        ++gStartUps;
    }
}

// About a second of each timed here (some 10 ms and 0.3 s an iteration).
BENCHMARK(BM_CheckGameData)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(BenchIterations(100));
BENCHMARK(BM_StartUpToTitle)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(BenchIterations(5));

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!StartBenchRenderer("datacheck_bench", argv[0], 1, 16u << 20, 0x800)) return 1;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (gChecks > 0 && gStartUps > 0) {
        const double check = gCheckSeconds * 1000.0 / double(gChecks);
        const double startUp = gStartUpSeconds * 1000.0 / double(gStartUps);
        std::printf("checking the game data: %.2f ms, %.1f %% of the start-up to the title (%.0f ms)\n", check,
                    100.0 * check / startUp, startUp);
    }
    EndBenchRenderer();
    return 0;
}
