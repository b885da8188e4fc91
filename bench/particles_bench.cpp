// Updates the particle effects of the busiest alley (the one whose definitions hold the most
// particles) with every particle alive, and prints what share of the 33 ms frame one update of
// every system takes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "game/areas.h"
#include "game/particles.h"
#include "game/predefinedparticles.h"
#include "support/bench_game.h"

namespace {

const double kFrameSeconds = 0.033;
double secondsPerFrame = 0.0;
unsigned particles = 0;
int busiest = -1;

unsigned AreaParticles()
{
    unsigned n = 0;
    for (const PARTICLESYSTEMINFOTAG& d : courseParticleSystemInfo)
        if (d.bitmapRSID) n += unsigned(d.numParticles);
    return n;
}

// Every dead particle of every system brought back, so that each update runs the full count.
void FillSystems()
{
    for (PARTICLESYSTEMTAG* s : theParticleSystemManager->particleSystems)
        if (s) ParticleSystemRespawnParticles(s, s->numDead);
}

void UpdateBusiestAlley(benchmark::State& state)
{
    double updating = 0.0;
    for (auto _ : state) {
        FillSystems();
        const auto start = std::chrono::steady_clock::now();
        ParticleSystemManagerUpdate();
        updating += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (state.iterations() > 0) secondsPerFrame = updating / double(state.iterations());
    state.counters["particles"] = double(particles);
}
BENCHMARK(UpdateBusiestAlley);

int PickBusiestAlley()
{
    unsigned most = 0;
    for (int area = 0; area < kNumAreas; ++area) {
        if (!ChangeArea(area)) return 0;
        if (AreaParticles() > most) {
            most = AreaParticles();
            busiest = area;
        }
    }
    particles = most;
    return ChangeArea(busiest);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!StartBenchGame("particles_bench", argv[0], 1)) return 1;
    if (!ParticleSystemManagerCreate() || !ParticleSystemManagerLoadParticleSystemDefines() || !PickBusiestAlley()) {
        std::fprintf(stderr, "particles_bench: the alleys' effects cannot be made\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("updating alley %d's %u particles takes %.3f%% of a 33 ms frame (target under 2%%)\n", busiest,
                particles, 100.0 * secondsPerFrame / kFrameSeconds);
    DisposeArea();
    ParticleSystemManagerDestroy();
    return 0;
}
