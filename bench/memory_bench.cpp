// Runs the game's typical allocation pattern through the memory manager and through malloc/free,
// with the identical pre-generated sequence, and prints how much slower the manager is.
//
// The pattern: many small permanent allocations (16 B - 4 KB) that live long, temporary buffers
// (256 B - 4 KB, now and then a 64 KB resource read) that are freed a few steps later, frees of
// permanent blocks in random order, and a few thousand blocks live at once.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "host/arena.h"
#include "lib/memory.h"
#include "support/bench_game.h"

namespace {

struct Op {
    enum Kind : uint8_t { kAllocPermanent, kAllocTemp, kFree } kind;
    int size;
    int slot;  // which live block is allocated into or freed
};

constexpr uint32_t kDeviceBytes = 64u << 20;
constexpr unsigned kRecords = 8192;
constexpr int kSlots = 8192;

std::vector<Op> MakeSequence()
{
    std::mt19937 rng(20240611);
    std::vector<Op> ops;
    std::vector<int> freeSlots, permanent, temps;
    for (int s = kSlots - 1; s >= 0; s--) freeSlots.push_back(s);
    auto take = [&]() {
        int s = freeSlots.back();
        freeSlots.pop_back();
        return s;
    };
    auto release = [&](std::vector<int>& from, size_t i) {
        ops.push_back({Op::kFree, 0, from[i]});
        freeSlots.push_back(from[i]);
        from[i] = from.back();
        from.pop_back();
    };
    // Sizes spread evenly over the powers of two from 16 B to 4 KB.
    auto smallSize = [&](int minShift) { return (1 << (minShift + rng() % (13 - minShift))) + int(rng() % 64); };

    for (int step = 0; step < 40000; step++) {
        unsigned r = rng() % 100;
        // Grow towards about 3000 permanent blocks, then hover there.
        bool growing = permanent.size() < 2500 || (permanent.size() < 3500 && r < 50);
        if (growing) {
            int s = take();
            ops.push_back({Op::kAllocPermanent, smallSize(4), s});
            permanent.push_back(s);
        } else {
            release(permanent, rng() % permanent.size());
        }
        if (rng() % 3 == 0) {
            int s = take();
            ops.push_back({Op::kAllocTemp, rng() % 20 == 0 ? 65536 : smallSize(8), s});
            temps.push_back(s);
        }
        // Temporary buffers live a few steps.
        while (temps.size() > 4) release(temps, rng() % temps.size());
    }
    while (!temps.empty()) release(temps, 0);
    while (!permanent.empty()) release(permanent, permanent.size() - 1);
    return ops;
}

const std::vector<Op>& Sequence()
{
    static const std::vector<Op> ops = MakeSequence();
    return ops;
}

void BM_MemoryManager(benchmark::State& state)
{
    const std::vector<Op>& ops = Sequence();
    if (!HostArenaInit(kDeviceBytes)) {
        state.SkipWithError("no arena");
        return;
    }
    u8* start = HostDeviceMemoryAddress();
    theHeap = nullptr;
    if (!InitMemoryHeap(&deviceHeap, start, start + kDeviceBytes, kRecords, 128, 0, 1)) {
        state.SkipWithError("heap init failed");
        return;
    }
    std::vector<void*> slots(kSlots, nullptr);
    for (auto _ : state) {
        for (const Op& op : ops) {
            int ok = op.kind == Op::kFree           ? FreeManagedMemory(slots[op.slot], 0)
                     : op.kind == Op::kAllocTemp    ? AllocateTempMemory(&slots[op.slot], op.size)
                                                    : AllocateMemory(&slots[op.slot], op.size);
            if (!ok) {
                state.SkipWithError("the manager refused an operation");
                return;
            }
            if (op.kind != Op::kFree) *static_cast<volatile char*>(slots[op.slot]) = 1;
        }
    }
    unsigned fragments = 0;
    DefaultHeapNumFragments(&fragments);
    if (fragments != 1 || deviceHeap.memoryUsed != 0) state.SkipWithError("heap not whole after the run");
    DisposeMemoryHeap(&deviceHeap);
    HostArenaDispose();
}

void BM_Malloc(benchmark::State& state)
{
    const std::vector<Op>& ops = Sequence();
    std::vector<void*> slots(kSlots, nullptr);
    for (auto _ : state) {
        for (const Op& op : ops) {
            if (op.kind == Op::kFree) {
                std::free(slots[op.slot]);
            } else {
                slots[op.slot] = std::malloc(size_t(op.size));
                *static_cast<volatile char*>(slots[op.slot]) = 1;
            }
        }
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_MemoryManager)->Unit(benchmark::kMillisecond)->MinTime(BenchMinTime(0.5));
BENCHMARK(BM_Malloc)->Unit(benchmark::kMillisecond)->MinTime(BenchMinTime(0.5));

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

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    size_t allocations = 0;
    for (const Op& op : Sequence()) allocations += op.kind != Op::kFree;
    std::printf("%zu allocations and as many frees per iteration\n", allocations);
    auto manager = reporter.times.find("BM_MemoryManager"), libc = reporter.times.find("BM_Malloc");
    if (manager != reporter.times.end() && libc != reporter.times.end() && libc->second > 0)
        std::printf("ratio manager / malloc: %.2f\n", manager->second / libc->second);
    return 0;
}
