// Fuzzes the particle definition readers: any bytes read as an alley's list of definitions or as
// one stored definition are either refused or give definitions whose domains place particles and
// test them against the container without faults.
#include <cstdint>
#include <cstring>

#include "game/particledefs.h"
#include "game/particles.h"
#include "game/predefinedparticles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (LoadAreaParticleSystemInfo(data, int(size)))
        for (const PARTICLESYSTEMINFOTAG& a : courseParticleSystemInfo)
            if (a.numParticles < 0 || a.numParticles > kMaxParticlesPerSystem) __builtin_trap();
    PARTICLESYSTEMINFOTAG d;
    if (size > 4096 || !ReadParticleSystemInfo(data, int(size), &d) || d.numParticles == 0) return 0;
    PARTICLEDOMAINTAG generator = {}, container = {};
    if (!ParticleDomainInitFromRecord(&generator, d.genDomainType, d.genDomain, nullptr, nullptr) ||
        !ParticleDomainInitFromRecord(&container, d.contDomainType, d.contDomain, nullptr, nullptr))
        __builtin_trap();  // the reader accepted a domain type the engine does not know
    PARTICLETAG p;
    std::memset(&p, 0, sizeof p);
    for (int i = 0; i < 16; ++i) {
        generator.generateFunc(&generator, &p);
        container.withinFunc(&container, &p);
    }
    return 0;
}
