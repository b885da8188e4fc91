// Particle system definitions: the fixed 596-byte record that the game data, the game and test
// mode share, with the domain records it carries, and the check that game data passes before a
// definition is used. The engine that runs them is game/particles.h.
#pragma once

#include <cstdint>

// Domain types: where particles are made and the region that holds them.
constexpr int kDomainBox = 0;
constexpr int kDomainSphere = 1;
constexpr int kDomainCylinder = 2;
constexpr int kDomainRectangle = 5;

// x from left to right, y from back to front, z from bottom to top.
struct DOMAINBOXTAG {
    float left, right, front, back, top, bottom;
};
struct DOMAINSPHERETAG {
    float centerX, centerY, centerZ, radius;
};
// The axis runs along z, from the base up.
struct DOMAINCYLINDERTAG {
    float baseX, baseY, baseZ, height, radius;
};
// x from left to right, y from front to back, at height z.
struct DOMAINRECTTAG {
    float left, right, front, back, z;
};

// An attractor (negative strength) or repeller; radius 0 means the point does nothing.
struct PARTICLECONTROLPOINTTAG {
    float x, y, z, radius, strength;
};

constexpr int kDomainRecordBytes = 64;
constexpr int kNumControlPoints = 10;

// One particle system definition, as stored in the game data (little-endian, no pointers).
struct PARTICLESYSTEMINFOTAG {
    int32_t numParticles;  // 0: an empty slot
    int32_t genDomainType;
    uint8_t genDomain[kDomainRecordBytes];
    int32_t contDomainType;
    uint8_t contDomain[kDomainRecordBytes];
    int32_t bitmapRSID;
    float particleAlpha;  // 0..255
    float particleSize;
    float particleAlphaRateMin, particleAlphaRateMax;  // per frame, 0..255 scale
    float particleSizeRateMin, particleSizeRateMax;
    int32_t particleLifeMin, particleLifeMax;  // ticks; 0 is immortal
    int32_t xformType;
    float gravity;
    float frictionX, frictionY, frictionZ;
    float initXAccelMin, initXAccelMax, initYAccelMin, initYAccelMax, initZAccelMin, initZAccelMax;
    float initXVelMin, initXVelMax, initYVelMin, initYVelMax, initZVelMin, initZVelMax;
    float updateXAccelMin, updateXAccelMax, updateYAccelMin, updateYAccelMax, updateZAccelMin, updateZAccelMax;
    float updateXVelMin, updateXVelMax, updateYVelMin, updateYVelMax, updateZVelMin, updateZVelMax;
    int32_t autoDestructSystem;
    int32_t autoRespawnSystem;
    int32_t autoRespawnParticles;
    int32_t alphaDeath;
    int32_t interpolate;
    int32_t reEmit;
    PARTICLECONTROLPOINTTAG controlPoints[kNumControlPoints];
    int32_t growFrames;
    int32_t shrinkFrames;
    int32_t animationRSID;
    int32_t animationTextureOffsetMin, animationTextureOffsetMax;
    float startMinRotation, startMaxRotation;
    float rotationMinDelta, rotationMaxDelta;
    int32_t blendMode;
    int32_t blendColor[3];
    int32_t blendColorDMin[3];
    int32_t blendColorDMax[3];
    int32_t renderFast;
};
static_assert(sizeof(PARTICLESYSTEMINFOTAG) == 596, "particle definitions are 596 bytes");

// The most particles one definition may ask for: the busiest effect of an alley stays far below.
constexpr int kMaxParticlesPerSystem = 2048;

// The archives pad every resource to a multiple of 128 bytes: a stored definition has at most
// these bytes.
constexpr int kMaxParticleSystemInfoBytes = 640;

// Copies a definition from `size` bytes of game data into *out after checking it: the record's
// size (with the archive's padding), a particle count of 0..kMaxParticlesPerSystem, known domain types, finite numbers,
// ordered bounds and lifetimes, growing and shrinking not negative. 0 with a message (and *out
// unchanged) for a damaged record.
int ReadParticleSystemInfo(const void* data, int size, PARTICLESYSTEMINFOTAG* out);
