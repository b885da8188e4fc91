// Loads a generated database of 50 tables from XML, the way the front end loads its databases,
// and reports the time per cell and per XML element; then the time to pack the loaded database
// into its contiguous image and to check and patch a copy of that image, per byte of image.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "db/database.h"
#include "db/dbimage.h"
#include "db/dbxml.h"
#include "host/arena.h"
#include "host/files.h"
#include "host/host.h"
#include "lib/memory.h"
#include "support/bench_game.h"

namespace {

constexpr int kDefinitions = 10;
constexpr int kTables = 50;
constexpr int kRows = 24;
constexpr int kColumns = 6;  // string, byte, int x3, float, bool, string

struct Fixture {
    int cells = 0;
    int elements = 0;
};

// Writes the database file into a scratch "rom:/" and makes the game heap.
Fixture SetUp()
{
    static Fixture fixture;
    static bool ready = false;
    if (ready) return fixture;
    ready = true;
    HostArenaInit(64u << 20);
    u8* start = HostDeviceMemoryAddress();
    InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), 8192, 128, 0, 1);
    const std::string dir = HostMakeTempFolder("zendrolyx-db-bench");
    if (dir.empty()) std::abort();
    BenchRemoveAtExit(dir.c_str());
    gHostOptions.romDir = dir;

    std::string xml = "<BasicDb name=\"bench\" tableDefs=\"" + std::to_string(kDefinitions) + "\" tables=\"" +
                      std::to_string(kTables) + "\">\n";
    fixture.elements = 1;
    for (int d = 0; d < kDefinitions; ++d) {
        xml += "<BasicDbTableDef name=\"def" + std::to_string(d) + "\" columns=\"" + std::to_string(kColumns) + "\">\n"
               "  <BasicDbTableColumnDef name=\"name\" type=\"string\" count=\"24\"/>\n"
               "  <BasicDbTableColumnDef name=\"hand\" type=\"byte\" count=\"1\"/>\n"
               "  <BasicDbTableColumnDef name=\"scores\" type=\"int\" count=\"3\"/>\n"
               "  <BasicDbTableColumnDef name=\"average\" type=\"float\" count=\"1\"/>\n"
               "  <BasicDbTableColumnDef name=\"unlocked\" type=\"bool\" count=\"1\"/>\n"
               "  <BasicDbTableColumnDef name=\"nick\" type=\"string\" count=\"8\"/>\n"
               "</BasicDbTableDef>\n";
        fixture.elements += 1 + kColumns;
    }
    for (int t = 0; t < kTables; ++t) {
        xml += "<BasicDbTable name=\"table" + std::to_string(t) + "\" def=\"def" + std::to_string(t % kDefinitions) +
               "\" rows=\"" + std::to_string(kRows) + "\">\n";
        for (int r = 0; r < kRows; ++r) {
            xml += "  \"Bowler " + std::to_string(t * kRows + r) + "\", " + std::to_string(r % 2) + ", " +
                   std::to_string(100 + r) + " " + std::to_string(150 + t) + " " + std::to_string(200 + r) + ", " +
                   std::to_string(140 + r) + ".25, " + std::to_string(r % 3 == 0) + ", \"b" + std::to_string(r) +
                   "\",\n";
        }
        xml += "</BasicDbTable>\n";
        fixture.elements += 1;
        fixture.cells += kRows * kColumns;
    }
    xml += "</BasicDb>\n";
    std::FILE* f = std::fopen((std::string(dir) + "/bench.db.xml").c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(xml.data(), 1, xml.size(), f);
    std::fclose(f);
    return fixture;
}

void BM_LoadDatabaseXml(benchmark::State& state)
{
    Fixture fixture = SetUp();
    for (auto _ : state) {
        sBasicDb* db = nullptr;
        if (!BasicDb_Load(&db, "bench.db.xml") || !db || db->tables != kTables) {
            state.SkipWithError("the database did not load");
            break;
        }
        benchmark::DoNotOptimize(db);
        BasicDb_Destroy(db);
    }
    // Time per cell and per XML element (printed in seconds with an SI prefix: "u" is microseconds).
    state.counters["per_cell"] =
        benchmark::Counter(fixture.cells, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["per_element"] = benchmark::Counter(
        fixture.elements, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LoadDatabaseXml)->Unit(benchmark::kMicrosecond);

void BM_PackImage(benchmark::State& state)
{
    SetUp();
    sBasicDb* db = nullptr;
    BasicDb_Load(&db, "bench.db.xml");
    int size = BasicDb_Size(&db);
    for (auto _ : state) {
        sBasicDb* copy = nullptr;
        if (!BasicDb_CreateContiguousCopy(&db, &copy)) {
            state.SkipWithError("the database did not pack");
            break;
        }
        BasicDb_Destroy(copy);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
    BasicDb_Destroy(db);
}
BENCHMARK(BM_PackImage)->Unit(benchmark::kMicrosecond);

void BM_CheckAndPatchImage(benchmark::State& state)
{
    SetUp();
    sBasicDb* db = nullptr;
    sBasicDb* copy = nullptr;
    BasicDb_Load(&db, "bench.db.xml");
    BasicDb_CreateContiguousCopy(&db, &copy);
    int size = BasicDb_Size(&db);
    for (auto _ : state) {
        if (!BasicDb_PatchPointers(&copy, size)) {
            state.SkipWithError("the image did not patch");
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
    BasicDb_Destroy(copy);
    BasicDb_Destroy(db);
}
BENCHMARK(BM_CheckAndPatchImage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
