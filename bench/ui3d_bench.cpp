// The 3D widgets' frame on the PC, headless: the update and the three drawing passes of the 3D
// demonstration (the lit scene with its queued models and title, the dressed bowler animated by
// its rig with the inverse-kinematics mapper and the limits and turned by the pad, the arm's
// limits and skinning, the credits and clip players of the lower screen), as a share of the 33 ms
// frame; and the skeleton and IK work alone (the bowler's rig animated, mapped, limited and
// skinned, and the arm's limits and skinning) as a share of the same frame.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "db/database.h"
#include "host/arena.h"
#include "host/clock.h"
#include "host/host.h"
#include "lib/memory.h"
#include "game/characterload.h"
#include "lib/characterarchive.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "platform/fileserver.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/skeleton.h"
#include "shell/globals.h"
#include "shell/startup.h"
#include "support/bench_game.h"
#include "ui/environment.h"
#include "ui/frameupdate.h"
#include "ui/loader.h"
#include "ui/memoryslots.h"
#include "ui/widgets/bone3d.h"
#include "ui/widgets/rig3d.h"
#include "ui/widgets/skeleton3d.h"

namespace {

constexpr uint32_t kDeviceBytes = 96u << 20;
constexpr double kFrameBudgetMs = 33.0;

sBasicUiEnvironment* gDemo = nullptr;
double gFrameSeconds = 0, gWholeSeconds = 0, gBoneSeconds = 0;
long gFrames = 0, gBoneRuns = 0;

// What the characters do to their rigs each frame: the bowler's update (its rig's animation,
// the mapper with its limits, the skin handed to the actor), then the arm's limits, bones and skin.
void BoneWork(float wave)
{
    BasicUiWidgetType3DSkeleton_Update(BasicUi_FindWidget(gDemo, "d3Bowler"), 1.0f / 30.0f);
    sBasicUiWidget* rig = BasicUi_FindWidget(gDemo, "d3Rig");
    sBasicUiWidget* elbow = BasicUi_FindWidget(gDemo, "d3Elbow");
    float want[3] = {wave, 1.0f - wave, 1.0f};
    BasicUiWidgetType3DBone_SetPivotPreLimit(elbow, want);
    sBasicUiWidget* first = BasicUi_FindWidget(gDemo, "d3Limits")->childWidget;
    BasicUiWidgetType3DRig_LimitBonesIncremental(BasicUi_FindWidget(gDemo, "d3Shoulder"), &first, 0);
    BasicUiWidgetType3DRig_UpdateBones(rig);
    BasicUiWidgetType3DBone_UpdateBoneXforms(rig);
}

void BM_Ui3DFrame(benchmark::State& state)
{
    float wave = 0.0f;
    for (auto _ : state) {
        if (!RenderStartScreen()) {
            state.SkipWithError("no frame to draw into");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        wave = wave > 1.0f ? -1.0f : wave + 1.0f / 30.0f;
        allInput.x = wave;
        BasicUi_UpdateEnvironment(gDemo, 1.0f / 30.0f);
        BoneWork(wave);
        BasicUi_RenderEnvironment(gDemo);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        RenderDoneScreen();
        // With the GPU's finishing of the frame (Mesa's software renderer headless).
        gWholeSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        gFrameSeconds += seconds;
        ++gFrames;
    }
}
// The UI frame timed is a few hundredths of each iteration (the GPU's finishing of the frame is
// timed apart). 1,000 frames take some 7 s; more make the figure no steadier (the machine's load
// moves it more).
BENCHMARK(BM_Ui3DFrame)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(BenchIterations(1000));

void BM_BoneWork(benchmark::State& state)
{
    float wave = 0.0f;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        wave = wave > 1.0f ? -1.0f : wave + 1.0f / 30.0f;
        BoneWork(wave);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        gBoneSeconds += seconds;
        ++gBoneRuns;
    }
}
// All of each iteration is timed; 10,000 runs of the rigs (about 0.4 s) as the half second the
// library would take.
BENCHMARK(BM_BoneWork)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(BenchIterations(10000));

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    if (!StartBenchOptions("ui3d_bench", argv[0], 1)) return 1;
    done = 0;
    if (!HostArenaInit(kDeviceBytes)) return 1;
    theHeap = nullptr;
    uint8_t* start = HostDeviceMemoryAddress();
    if (!InitMemoryHeap(&deviceHeap, start, start + kDeviceBytes, 0x2000, 128, 0, 1) || !FileSystemInit() ||
        !InitResources(10000) || !OpenResources() || !RenderInit(0x80000, 0x1000, 0x502, 0x500) ||
        !ScreenInitializeAPI()) {
        std::fprintf(stderr, "ui3d_bench: no game heap, game data or renderer\n");
        return 1;
    }
    // What the front end has resident when it opens such a menu: the ball and pin, the bowler's
    // body and animation, and what it wears from the character archive.
    if (!InitRadianTables() || !LoadResourceGroup(kLaneObjectTextures) || !ReadResource(kBallModel) ||
        !ReadResource(kPinModel) || !LoadResourceGroup(911) || !ReadResource(1325) ||
        !OpenResourceFile(kCharacterArchive) || !LoadResourceGroup(kGarmentTextures) ||
        !LoadResourceGroup(kSharedGarments) || !LoadResourceGroup(kBodyGarmentsFirst) ||
        !LoadResourceGroup(kHairGroupsFirst)) {
        std::fprintf(stderr, "ui3d_bench: the demonstration's models are not in the game data\n");
        return 1;
    }
    HostUseVirtualClock(1);
    BasicMemory_Init(basicUiNumberOfMemorySlots);
    BasicDb_Init();
    gDemo = BasicUi_CreateEnvironment(const_cast<char*>("Demo3D"), 1);
    if (!gDemo || !BasicUiEnvironment_Load("ui/demo3d.ui.xml", gDemo)) {
        std::fprintf(stderr, "ui3d_bench: the 3D demonstration did not load\n");
        return 1;
    }
    BasicUiWidgetType3DRig_EnumerateBoneArray(BasicUi_FindWidget(gDemo, "d3Rig"));
    // The bowler loads in its first upper pass.
    for (int i = 0; i < 2; i++) {
        if (!RenderStartScreen()) return 1;
        BasicUi_UpdateEnvironment(gDemo, 1.0f / 30.0f);
        BasicUi_RenderEnvironment(gDemo);
        RenderDoneScreen();
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gFrames > 0) {
        const double ms = gFrameSeconds * 1000.0 / double(gFrames);
        std::printf("one UI frame of the 3D demonstration (update, bones and three passes): %.3f ms, %.2f %% of "
                    "the %.0f ms frame (budget 35 %%)\n",
                    ms, 100.0 * ms / kFrameBudgetMs, kFrameBudgetMs);
        const double whole = gWholeSeconds * 1000.0 / double(gFrames);
        std::printf("the same with the GPU finishing the frame: %.3f ms, %.2f %% of the frame\n", whole,
                    100.0 * whole / kFrameBudgetMs);
    }
    if (gBoneRuns > 0) {
        const double ms = gBoneSeconds * 1000.0 / double(gBoneRuns);
        std::printf("the skeleton and IK work alone (the bowler's rig and the arm): %.4f ms, %.3f %% of the frame "
                    "(budget 2 %%)\n",
                    ms, 100.0 * ms / kFrameBudgetMs);
    }
    return 0;
}
