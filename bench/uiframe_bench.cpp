// The UI framework's frame on the PC, headless: the update and the three drawing passes of the
// UI test screen (boxes and labels on both screens, an animated box, the keyboard open), as a
// share of the 33 ms that a frame may take; the same for the widget gallery's busiest page (a list
// of 30 table entries, buttons, sticky buttons under a stylus held on one, a dialog and a message
// box); and one frame of a script of 10,000 commands that do
// not wait, all of which run in that frame.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/bench_game.h"
#include "db/database.h"
#include "host/arena.h"
#include "host/clock.h"
#include "host/files.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "platform/fileserver.h"
#include "platform/input.h"
#include "platform/render.h"
#include "shell/globals.h"
#include "shell/startup.h"
#include "ui/animtrack.h"
#include "ui/environment.h"
#include "ui/frameupdate.h"
#include "ui/loader.h"
#include "ui/memoryslots.h"
#include "ui/widgets/commands.h"

namespace {

constexpr uint32_t kDeviceBytes = 96u << 20;
constexpr double kFrameBudgetMs = 33.0;
constexpr int kScriptCommands = 10000;

sBasicUiEnvironment* gScreen = nullptr;
sBasicUiEnvironment* gScript = nullptr;
sBasicUiAnimSetTracker* gSlide = nullptr;
double gUiSeconds = 0;
long gUiFrames = 0;
sBasicUiEnvironment* gGallery = nullptr;
DS3_controller gPad = {};
double gGallerySeconds = 0;
long gGalleryFrames = 0;

void BM_UiFrame(benchmark::State& state)
{
    float t = 0.0f;
    for (auto _ : state) {
        if (!RenderStartScreen()) {
            state.SkipWithError("no frame to draw into");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        t = t > 1.0f ? 0.0f : t + 1.0f / 30.0f;
        BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbs(gSlide, t);
        BasicUi_UpdateEnvironment(gScreen, 1.0f / 30.0f);
        BasicUi_RenderEnvironment(gScreen);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        RenderDoneScreen();
        state.SetIterationTime(seconds);
        gUiSeconds += seconds;
        ++gUiFrames;
    }
}
// The UI frame timed is under a hundredth of each iteration (the GPU draws the frame untimed).
// 1,000 frames take some 8 s; 5,000 vary as much from run to run (about 6 %: the machine's load,
// not the count, moves the figure).
BENCHMARK(BM_UiFrame)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(BenchIterations(1000));

// The stylus rests on the gallery's round sticky button, so that the cursor, the capture and the
// hold run every frame beside the list, the buttons' table texts and the shown dialog.
void BM_GalleryFrame(benchmark::State& state)
{
    DS3_controller* saved = controllers[0].controller;
    controllers[0].controller = &gPad;
    gPad.touchData = {220, 60, 1};
    for (auto _ : state) {
        if (!RenderStartScreen()) {
            state.SkipWithError("no frame to draw into");
            break;
        }
        const auto start = std::chrono::steady_clock::now();
        BasicUi_UpdateEnvironment(gGallery, 1.0f / 30.0f);
        BasicUi_RenderEnvironment(gGallery);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        RenderDoneScreen();
        state.SetIterationTime(seconds);
        gGallerySeconds += seconds;
        ++gGalleryFrames;
    }
    controllers[0].controller = saved;
}
BENCHMARK(BM_GalleryFrame)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(BenchIterations(1000));

void BM_ScriptOf10000Commands(benchmark::State& state)
{
    sBasicUiWidget* seq = BasicUi_FindWidget(gScript, "script");
    for (auto _ : state) {
        BasicUiWidgetTypeCmdSequence_Run(seq);
        BasicUi_UpdateEnvironment(gScript, 1.0f / 30.0f);
        if (BasicUiWidgetTypeCmdSequence_IsRunning(seq)) {
            state.SkipWithError("the script did not finish in its frame");
            return;
        }
    }
    state.counters["per_command"] = benchmark::Counter(
        kScriptCommands, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ScriptOf10000Commands)->Unit(benchmark::kMicrosecond);

// A script of value commands of every kind that does not wait: increments, copies, branches.
std::string ScriptXml()
{
    std::string xml = "<BasicUiEnvironment name=\"script\"><BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                      "<BasicUiWidget name=\"box\" typeWidget=\"wtRectangle\"/>"
                      "<BasicUiWidget name=\"other\" typeWidget=\"wtRectangle\"/>"
                      "<BasicUiWidget name=\"script\" typeWidget=\"cmdSeq\">";
    for (int i = 0; i < kScriptCommands; ++i) {
        std::string name = "name=\"c" + std::to_string(i) + "\" ";
        static const char* const kinds[4] = {
            "typeWidget=\"cmdValue\" widget=\"box\" prop=\"x\" iValue=\"1\" isInc=\"1\"",
            "typeWidget=\"cmdControl\" srcW=\"box\" srcP=\"x\" dstW=\"other\" dstP=\"x\"",
            "typeWidget=\"cmdIf\" lvalue=\"1\" rvalue=\"2\" inequality=\"-2\"",
            "typeWidget=\"cmdInput\" inputMode=\"2\"",
        };
        xml += "<BasicUiWidget " + name + kinds[i % 4] + "/>";
    }
    return xml + "</BasicUiWidget></BasicUiScreen></BasicUiDisplay></BasicUiEnvironment>";
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    // The game data of the build, drawn headless.
    if (!StartBenchRenderer("uiframe_bench", argv[0], 1, kDeviceBytes, 0x1000) || !ScreenInitializeAPI()) return 1;
    HostUseVirtualClock(1);
    BasicMemory_Init(basicUiNumberOfMemorySlots);
    BasicDb_Init();
    gScreen = BasicUi_CreateEnvironment(const_cast<char*>("TestScreen"), 1);
    if (!gScreen || !BasicUiEnvironment_Load("ui/testscreen.ui.xml", gScreen)) {
        std::fprintf(stderr, "uiframe_bench: the test screen did not load\n");
        return 1;
    }
    gGallery = BasicUi_CreateEnvironment(const_cast<char*>("Gallery"), 3);
    if (!gGallery || !BasicUiEnvironment_Load("ui/gallery.ui.xml", gGallery)) {
        std::fprintf(stderr, "uiframe_bench: the widget gallery did not load\n");
        return 1;
    }
    gGallery->inputMode = BasicUiInputMode_Normal;
    BasicUi_FindWidget(gGallery, "g.ask")->isRender.value = 1;
    gSlide = BasicUi_CreateAnimSetTracker(gScreen, BasicUi_FindWidget(gScreen, "tsSlider"),
                                          BasicUi_FindAnimSet(gScreen, "tsSlide"));

    // The script is written beside the game data's copy in a scratch folder of its own.
    const std::string dir = HostMakeTempFolder("zendrolyx-uiframe-bench");
    if (dir.empty()) return 1;
    std::string path = std::string(dir) + "/script.ui.xml";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 1;
    std::string xml = ScriptXml();
    std::fwrite(xml.data(), 1, xml.size(), f);
    std::fclose(f);
    std::string rom = gHostOptions.romDir;
    gHostOptions.romDir = dir;
    gScript = BasicUi_CreateEnvironment(const_cast<char*>("Script"), 2);
    int loaded = gScript && BasicUiEnvironment_Load("script.ui.xml", gScript);
    gHostOptions.romDir = rom;
    std::remove(path.c_str());
    rmdir(dir.c_str());
    if (!loaded) {
        std::fprintf(stderr, "uiframe_bench: the script did not load\n");
        return 1;
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gUiFrames > 0) {
        const double ms = gUiSeconds * 1000.0 / double(gUiFrames);
        std::printf("one UI frame of the test screen (update and three passes): %.3f ms, %.2f %% of the %.0f ms "
                    "frame\n",
                    ms, 100.0 * ms / kFrameBudgetMs, kFrameBudgetMs);
    }
    if (gGalleryFrames > 0) {
        const double ms = gGallerySeconds * 1000.0 / double(gGalleryFrames);
        std::printf("one UI frame of the widget gallery (update and three passes): %.3f ms, %.2f %% of the %.0f ms "
                    "frame\n",
                    ms, 100.0 * ms / kFrameBudgetMs, kFrameBudgetMs);
    }
    return 0;
}
