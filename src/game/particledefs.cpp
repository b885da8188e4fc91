// Checking particle system definitions read from game data. A definition drives allocations (its
// particle count), picks the domain operations (its domain types) and feeds random ranges, so a
// damaged one is refused whole before any of it is used.
#include "game/particledefs.h"

#include <cmath>
#include <cstring>

#include "host/errorlog.h"

static int KnownDomain(int32_t type)
{
    return type == kDomainBox || type == kDomainSphere || type == kDomainCylinder || type == kDomainRectangle;
}

static int FiniteRun(const float* f, int n)
{
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(f[i])) return 0;
    return 1;
}

// Every float field of the record is finite: the runs of floats between its integer fields, the
// control points and both domain records.
static int AllFinite(const PARTICLESYSTEMINFOTAG& d)
{
    const int fromGravityOn = int(&d.updateZVelMax - &d.gravity) + 1;
    float gen[kDomainRecordBytes / 4], cont[kDomainRecordBytes / 4];
    std::memcpy(gen, d.genDomain, sizeof gen);
    std::memcpy(cont, d.contDomain, sizeof cont);
    return FiniteRun(&d.particleAlpha, 6) && FiniteRun(&d.gravity, fromGravityOn) &&
           FiniteRun(&d.startMinRotation, 4) && FiniteRun(&d.controlPoints[0].x, kNumControlPoints * 5) &&
           FiniteRun(gen, kDomainRecordBytes / 4) && FiniteRun(cont, kDomainRecordBytes / 4);
}

static int BoundsOrdered(const PARTICLESYSTEMINFOTAG& d)
{
    const float* pairs[] = {&d.particleAlphaRateMin, &d.particleSizeRateMin, &d.initXAccelMin, &d.initYAccelMin,
                            &d.initZAccelMin, &d.initXVelMin, &d.initYVelMin, &d.initZVelMin,
                            &d.updateXAccelMin, &d.updateYAccelMin, &d.updateZAccelMin, &d.updateXVelMin,
                            &d.updateYVelMin, &d.updateZVelMin, &d.startMinRotation, &d.rotationMinDelta};
    for (const float* p : pairs)
        if (p[0] > p[1]) return 0;
    return d.particleLifeMin >= 0 && d.particleLifeMin <= d.particleLifeMax &&
           d.animationTextureOffsetMin >= 0 && d.animationTextureOffsetMin <= d.animationTextureOffsetMax;
}

int ReadParticleSystemInfo(const void* data, int size, PARTICLESYSTEMINFOTAG* out)
{
    if (!data || !out) return PrintError("particles: no definition to read");
    if (size < int(sizeof(PARTICLESYSTEMINFOTAG)) || size > kMaxParticleSystemInfoBytes)
        return PrintError("particles: a definition of %d bytes, not %d", size, int(sizeof(PARTICLESYSTEMINFOTAG)));
    PARTICLESYSTEMINFOTAG d;
    std::memcpy(&d, data, sizeof d);
    if (d.numParticles < 0 || d.numParticles > kMaxParticlesPerSystem)
        return PrintError("particles: a definition of %d particles", int(d.numParticles));
    if (d.numParticles > 0 && (!KnownDomain(d.genDomainType) || !KnownDomain(d.contDomainType)))
        return PrintError("particles: unknown domain types %d and %d", int(d.genDomainType), int(d.contDomainType));
    if (!AllFinite(d)) return PrintError("particles: a definition with a number that is not finite");
    if (!BoundsOrdered(d)) return PrintError("particles: a definition whose lower bounds exceed the upper");
    if (d.growFrames < 0 || d.shrinkFrames < 0 || d.particleSize < 0.0f)
        return PrintError("particles: a definition with a negative size or growing time");
    *out = d;
    return 1;
}
