// Mixes one second of the game's output with all 24 voices playing (a third each of 16-bit PCM at
// the mixer's rate, 8-bit PCM at half of it and ADPCM), and prints what share of that second the
// mixing took: the headroom the sound has on one core.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "host/mixer.h"

namespace {

const int kSeconds = 30;  // long enough that no voice runs out during a run
double secondsPerSecond = 0.0;

std::vector<uint8_t> Noise(size_t bytes, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> data(bytes);
    for (uint8_t& b : data) b = uint8_t(rng());
    return data;
}

void StartVoices(const std::vector<uint8_t>& pcm16, const std::vector<uint8_t>& pcm8,
                 const std::vector<uint8_t>& adpcm)
{
    HostMixerReset();
    for (int v = 0; v < kHostVoices; ++v) {
        if (v % 3 == 0)
            HostVoiceSetBuffer(v, pcm16.data(), uint32_t(pcm16.size() / 2), kHostSamplePcm16, kHostSampleRate, nullptr);
        else if (v % 3 == 1)
            HostVoiceSetBuffer(v, pcm8.data(), uint32_t(pcm8.size()), kHostSamplePcm8, kHostSampleRate / 2, nullptr);
        else
            HostVoiceSetBuffer(v, adpcm.data(), uint32_t(adpcm.size() / 8 * 14), kHostSampleAdpcm, kHostSampleRate,
                               nullptr);
        HostVoiceSetVolume(v, 0.1f);
        HostVoiceSetMix(v, 0.5f, 0.5f);
        HostVoiceSetState(v, kHostVoicePlay);
    }
}

void MixOneSecond(benchmark::State& state)
{
    const auto pcm16 = Noise(size_t(kSeconds) * kHostSampleRate * 2, 1);
    const auto pcm8 = Noise(size_t(kSeconds) * kHostSampleRate / 2, 2);
    const auto adpcm = Noise(size_t(kSeconds) * kHostSampleRate / 14 * 8, 3);
    std::vector<int16_t> out(2 * size_t(kHostSampleRate));
    StartVoices(pcm16, pcm8, adpcm);
    int played = 0;
    double mixing = 0.0;
    for (auto _ : state) {
        if (++played == kSeconds) {
            state.PauseTiming();
            StartVoices(pcm16, pcm8, adpcm);
            played = 0;
            state.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        HostMixerRender(out.data(), kHostSampleRate);
        benchmark::DoNotOptimize(out.data());
        mixing += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (state.iterations() > 0) secondsPerSecond = mixing / double(state.iterations());
    // One iteration is one second of sound: seconds of mixing per second of sound.
    state.counters["share_of_a_second"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(MixOneSecond)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("mixing 24 voices takes %.2f%% of each second of sound\n", 100.0 * secondsPerSecond);
    return 0;
}
