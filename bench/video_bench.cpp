// The cost of one frame of a celebration clip, headless: decoding the picture due, scaling it into
// the lower screen's texture, handing on its sound and mixing a frame of it, and presenting the
// frame with the picture as the lower screen's background, as a share of the 33 ms that a frame
// may take; beside it the same frame without a clip (mixing and presenting an empty frame), so
// that the clip's own share shows. The clip is the build's first strike clip; it starts again
// when it ends (not timed).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "support/bench_game.h"
#include "host/arena.h"
#include "host/errorlog.h"
#include "host/host.h"
#include "host/mixer.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "lib/videofiles.h"
#include "platform/fileserver.h"
#include "platform/render.h"
#include "platform/sound.h"
#include "platform/utilities.h"
#include "platform/video.h"
#include "shell/startup.h"

namespace {

constexpr uint32_t kDeviceBytes = 64u << 20;
constexpr double kFrameBudgetMs = 33.0;
// Sample pairs the mixer makes in one 33 ms frame.
constexpr int kFrameSamples = kHostSampleRate * 33 / 1000;

std::string gClip;
long gFrames = 0, gEmptyFrames = 0;
double gSeconds = 0, gEmptySeconds = 0;
int gPictures = 0;

int PresentFrame()
{
    if (!RenderStartScreen()) return 0;
    RenderStartDisplay0();
    RenderEndDisplay0();
    RenderStartDisplay1();
    RenderEndDisplay1();
    return RenderDoneScreen();
}

void BM_VideoFrame(benchmark::State& state)
{
    std::vector<int16_t> mixed(2 * size_t(kFrameSamples));
    if (!StartVideo(gClip.c_str())) {
        state.SkipWithError("the clip cannot be played");
        return;
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        int ended = 0;
        UpdateVideo(&ended);
        HostMixerRender(mixed.data(), kFrameSamples);
        const int ok = PresentFrame();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) {
            state.SkipWithError("the frame could not be presented");
            break;
        }
        state.SetIterationTime(seconds);
        ++gFrames;
        gSeconds += seconds;
        if (ended) {
            gPictures += VideoPicturesShown();
            DisposeVideo();
            if (!StartVideo(gClip.c_str())) break;
        }
    }
    gPictures += VideoPicturesShown();
    DisposeVideo();
}

void BM_EmptyFrame(benchmark::State& state)
{
    std::vector<int16_t> mixed(2 * size_t(kFrameSamples));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        HostMixerRender(mixed.data(), kFrameSamples);
        const int ok = PresentFrame();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) {
            state.SkipWithError("the frame could not be presented");
            break;
        }
        state.SetIterationTime(seconds);
        ++gEmptyFrames;
        gEmptySeconds += seconds;
    }
}

// About 2 s of each timed here (3.7 and 1.7 ms a frame).
BENCHMARK(BM_VideoFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(BenchIterations(600));
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(BenchIterations(1200));

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    if (!StartBenchRenderer("video_bench", argv[0], 1, kDeviceBytes, 0x800) || !StartBenchSound("video_bench"))
        return 1;
    HostMixerSetUnheard(0);  // the mixing is part of the cost
    gClip = std::string("rom:/") + kStrikeVideoFiles[0];

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (gFrames > 0 && gEmptyFrames > 0) {
        const double clip = gSeconds * 1000.0 / double(gFrames), empty = gEmptySeconds * 1000.0 / double(gEmptyFrames);
        std::printf("one clip frame (%d pictures in %ld frames): %.3f ms, %.2f %% of the %.0f ms frame\n", gPictures,
                    gFrames, clip, 100.0 * clip / kFrameBudgetMs, kFrameBudgetMs);
        std::printf("the same frame without a clip: %.3f ms; the clip's own work: %.2f %% of the frame\n", empty,
                    100.0 * (clip - empty) / kFrameBudgetMs);
    }
    EndBenchSound();
    EndBenchRenderer();
    return 0;
}
