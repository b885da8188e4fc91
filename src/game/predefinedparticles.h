// Predefined particle systems: engine systems (game/particles.h) that read their stored definition
// every frame for the start values of new particles, forces, control points, fading, growing and
// shrinking and a texture animation. Each alley brings up to 32 definitions; the area change
// makes one system for each.
#pragma once

#include "game/particles.h"

struct actor_tag;

struct PREDEFINEDPARTICLESYSTEMTAG {
    PARTICLESYSTEMTAG system;
    int32_t systemInfoIndex;  // in courseParticleSystemInfo for area systems, else gameParticleSystemInfo
    int32_t autoRespawnParticles, alphaDeath;
    int32_t animationRSID, numAnimationTextures;
    int32_t animationTextureOffsetMin, animationTextureOffsetMax;
    int32_t blendMode;
};

// Makes a system from a definition: with systemType 0, area 0 takes game definition `index` (type
// 8) and any other area the alley's definition `index` (type 9); another systemType is used as the
// type with the game definition. All particles start dead. Null when the definition's domain types
// are unknown, its animation group does not load or memory runs out.
PARTICLESYSTEMTAG* PredefinedParticleSystemCreate(int index, int area, int systemType);
// Test mode's system: the definition test mode edits (testOptions.particleSystemInfo) with the
// given particle count and the domains given as their 64-byte records. Null without a definition
// or for a bad count or domain type.
PARTICLESYSTEMTAG* TestParticleSystemCreate(int numParticles, const void* generatorCoordinates, int generatorType,
                                            const void* containerCoordinates, int containerType);
// The definition a predefined (or test) system runs from.
const PARTICLESYSTEMINFOTAG* PredefinedParticleSystemInfo(const PARTICLESYSTEMTAG* system);

// The system's callbacks; each 1, 0 on a null argument or a missing animation frame.
int PredefinedParticleSystemOnGenerate(PARTICLEDOMAINTAG* generator, PARTICLETAG* particle);
int PredefinedParticleSystemOnUpdate(PARTICLESYSTEMTAG* system);
int PredefinedParticleSystemOnRender(PARTICLESYSTEMTAG* system);
int PredefinedParticleSystemOnExitContainer(PARTICLEDOMAINTAG* container, PARTICLETAG* particle);

// Reads an alley's stored definitions (an int32 count, then that many records) into
// courseParticleSystemInfo, each checked; the bitmap of each must be named. 0 with a message, and
// no definition kept, for a damaged list.
int LoadAreaParticleSystemInfo(const void* data, int size);
// Makes and adds to the manager the system of every alley definition that has a bitmap. A system
// that cannot be made or added (a bitmap or animation missing, an unknown domain, the manager full)
// is left out with a message and the others go on: always 1.
int CreateAreaParticleSystems();
