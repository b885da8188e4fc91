// Unpacks an 8 MB resource of game-like data (runs of repeated records, text-like stretches and
// noise) with the game's decompressor, beside memcpy of the same unpacked bytes in the same run,
// and prints how many times slower than memcpy unpacking is.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "lib/decompress.h"
#include "support/bench_game.h"

namespace {

constexpr size_t kSize = 8u << 20;

std::vector<uint8_t> MakeData()
{
    std::mt19937 rng(7);
    std::vector<uint8_t> data;
    data.reserve(kSize);
    while (data.size() < kSize) {
        switch (rng() % 3) {
        case 0: {  // a table of similar records
            uint8_t record[24];
            for (uint8_t& b : record) b = uint8_t(rng() % 4);
            for (int n = 1 + rng() % 40; n > 0; n--) {
                record[rng() % 24] = uint8_t(rng());
                data.insert(data.end(), record, record + 24);
            }
            break;
        }
        case 1: {  // text-like: a small alphabet
            for (int n = 64 + rng() % 512; n > 0; n--) data.push_back(uint8_t('a' + rng() % 12));
            break;
        }
        default:  // noise
            for (int n = 16 + rng() % 256; n > 0; n--) data.push_back(uint8_t(rng()));
        }
    }
    data.resize(kSize);
    return data;
}

struct Fixture {
    std::vector<uint8_t> data = MakeData();
    std::vector<uint8_t> packed = mkrom::Compress(data.data(), data.size());
    std::vector<uint8_t> out = std::vector<uint8_t>(kSize);
};

Fixture& Shared()
{
    static Fixture f;
    return f;
}

void BM_Decompress(benchmark::State& state)
{
    Fixture& f = Shared();
    for (auto _ : state) {
        int ok = DecompressBounded(f.packed.data(), uint32_t(f.packed.size()), f.out.data(), uint32_t(f.out.size()));
        benchmark::DoNotOptimize(ok);
        benchmark::ClobberMemory();
    }
    if (f.out != f.data) state.SkipWithError("unpacked bytes differ");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kSize));
}

void BM_Memcpy(benchmark::State& state)
{
    Fixture& f = Shared();
    for (auto _ : state) {
        memcpy(f.out.data(), f.data.data(), kSize);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kSize));
}

// Prints as usual and keeps each benchmark's time for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (!run.error_occurred) times[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

BENCHMARK(BM_Decompress)->Unit(benchmark::kMillisecond)->MinTime(BenchMinTime(0.5));
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond)->MinTime(BenchMinTime(0.5));

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const Fixture& f = Shared();
    std::printf("%zu bytes packed to %zu (%.0f%%)\n", f.data.size(), f.packed.size(),
                100.0 * double(f.packed.size()) / double(f.data.size()));
    auto unpack = reporter.times.find("BM_Decompress"), copy = reporter.times.find("BM_Memcpy");
    if (unpack != reporter.times.end() && copy != reporter.times.end() && copy->second > 0 && unpack->second > 0) {
        // Times are in the benchmarks' unit (ms) per iteration of kSize bytes.
        const double mb = double(kSize) / double(1 << 20);
        std::printf("decompress %.0f MB/s, memcpy %.0f MB/s; ratio decompress / memcpy: %.2f\n",
                    mb * 1000 / unpack->second, mb * 1000 / copy->second, unpack->second / copy->second);
    }
    return 0;
}
