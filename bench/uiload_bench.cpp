// Loads a generated UI description of about 2,000 widgets into an environment, the way the front
// end loads its screens, and reports the time per XML element and per widget; then the time to
// find a widget by name, which scripts do every frame.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "db/database.h"
#include "host/arena.h"
#include "host/files.h"
#include "host/host.h"
#include "lib/memory.h"
#include "support/bench_game.h"
#include "ui/environment.h"
#include "ui/loader.h"
#include "ui/memoryslots.h"

namespace {

constexpr int kConstants = 40;
constexpr int kDisplays = 2;
constexpr int kScreens = 5;       // per display
constexpr int kGroups = 20;       // top-level widgets per screen
constexpr int kChildren = 9;      // per group
constexpr int kInstances = 10;    // of a four-widget template

struct Fixture {
    sBasicUiEnvironment* env = nullptr;
    int elements = 0;
    int widgets = 0;
    std::vector<std::string> names;
};

std::string N(int n) { return std::to_string(n); }

Fixture& SetUp()
{
    static Fixture fixture;
    static bool ready = false;
    if (ready) return fixture;
    ready = true;
    HostArenaInit(128u << 20);
    u8* start = HostDeviceMemoryAddress();
    InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), 8192, 128, 0, 1);
    const std::string dir = HostMakeTempFolder("zendrolyx-uiload-bench");
    if (dir.empty()) std::abort();
    BenchRemoveAtExit(dir.c_str());
    gHostOptions.romDir = dir;
    BasicMemory_Init(basicUiNumberOfMemorySlots);
    BasicDb_Init();
    fixture.env = BasicUi_CreateEnvironment(const_cast<char*>("BenchEnv"), 1);

    std::string xml = "<BasicUiEnvironment name=\"bench\">\n";
    fixture.elements = 1;
    for (int c = 0; c < kConstants; ++c) {
        xml += "  <BasicUiConstantDef name=\"k" + N(c) + "\" iValue=\"" + N(c * 10) + "\"/>\n";
        ++fixture.elements;
    }
    for (int d = 0; d < kDisplays; ++d) {
        xml += "  <BasicUiDisplay name=\"display" + N(d) + "\" x=\"" + N(d * 400) + "\" y=\"60\" w=\"#k3\" h=\"360\">\n";
        ++fixture.elements;
        for (int s = 0; s < kScreens; ++s) {
            std::string screen = "s" + N(d) + "_" + N(s);
            xml += "    <BasicUiScreen name=\"" + screen + "\" variant=\"" + N(s % 3) + "\">\n";
            ++fixture.elements;
            for (int g = 0; g < kGroups; ++g) {
                std::string group = screen + "_g" + N(g);
                xml += "      <BasicUiWidget name=\"" + group + "\" typeWidget=\"wtRectangle\" isActive=\"#k1\">\n";
                fixture.names.push_back(group);
                for (int c = 0; c < kChildren; ++c) {
                    std::string child = group + "_c" + N(c);
                    xml += "        <BasicUiWidget name=\"" + child + "\" typeWidget=\"" +
                           (c % 3 == 0 ? "wtButton" : c % 3 == 1 ? "wtLabel" : "cmdSeq") + "\" isRender=\"" +
                           (c % 2 ? "#[1],1" : "0x1") + "\"/>\n";
                    fixture.names.push_back(child);
                }
                xml += "      </BasicUiWidget>\n";
                fixture.elements += 1 + kChildren;
                fixture.widgets += 1 + kChildren;
            }
            xml += "    </BasicUiScreen>\n";
        }
        xml += "  </BasicUiDisplay>\n";
    }
    xml += "  <BasicUiDisplay name=\"display0\"><BasicUiScreen name=\"s0_0\">\n"
           "    <BasicUiWidget name=\"row\" typeWidget=\"wtDefinition\" sn=\"1\" s0=\"%P\" isActive=\"0\">\n"
           "      <BasicUiWidget name=\"row%P\" typeWidget=\"wtButton\"><BasicUiWidget name=\"row%PText\" "
           "typeWidget=\"wtLabel\"/></BasicUiWidget>\n"
           "      <BasicUiWidget name=\"row%PMark\" typeWidget=\"wtDefinition\" in=\"#[0],1\"/>\n"
           "    </BasicUiWidget>\n";
    fixture.elements += 6;
    fixture.widgets += 4;
    for (int i = 0; i < kInstances; ++i) {
        xml += "    <BasicUiWidget name=\"inst" + N(i) + "\" typeWidget=\"wtInstance\" definition=\"row\" s0=\"" + N(i) +
               "\" in=\"1\" i0=\"" + N(i) + "\"/>\n";
        ++fixture.elements;
        fixture.widgets += 1 + 3;  // the instance and its copies
    }
    xml += "  </BasicUiScreen></BasicUiDisplay>\n</BasicUiEnvironment>\n";

    std::FILE* f = std::fopen((std::string(dir) + "/bench.ui.xml").c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(xml.data(), 1, xml.size(), f);
    std::fclose(f);
    return fixture;
}

void BM_LoadUiDescription(benchmark::State& state)
{
    Fixture& fixture = SetUp();
    for (auto _ : state) {
        if (!BasicUiEnvironment_Load("bench.ui.xml", fixture.env) || !BasicUi_FindWidget(fixture.env, "inst9")) {
            state.SkipWithError("the description did not load");
            break;
        }
        benchmark::DoNotOptimize(fixture.env->displayRoot);
    }
    // Time per XML element and per widget (printed in seconds with an SI prefix: "u" is microseconds).
    state.counters["per_element"] = benchmark::Counter(
        fixture.elements, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["per_widget"] = benchmark::Counter(
        fixture.widgets, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["widgets"] = fixture.widgets;
    BasicUiEnvironment_Clear(fixture.env);
}
BENCHMARK(BM_LoadUiDescription)->Unit(benchmark::kMicrosecond);

void BM_FindWidgetByName(benchmark::State& state)
{
    Fixture& fixture = SetUp();
    BasicUiEnvironment_Load("bench.ui.xml", fixture.env);
    size_t i = 0;
    for (auto _ : state) {
        sBasicUiWidget* w = BasicUi_FindWidget(fixture.env, fixture.names[i].c_str());
        if (!w) {
            state.SkipWithError("a widget was not found");
            break;
        }
        benchmark::DoNotOptimize(w);
        if (++i == fixture.names.size()) i = 0;
    }
    BasicUiEnvironment_Clear(fixture.env);
}
BENCHMARK(BM_FindWidgetByName);

}  // namespace

BENCHMARK_MAIN();
