// The particle engine: systems with a fixed pool of particles on a live and a dead list,
// generator and container domains (game/particledomains.cpp), one integration step a frame, and
// a manager of at most 64 systems that the game updates once a frame. Definitions come from the
// game data (game/particledefs.h). Particles are simulated but not drawn on this platform: the
// drawing steps compute where a particle would be drawn and draw nothing.
#pragma once

#include <cstdint>

#include "game/particledefs.h"
#include "lib/matrix.h"

struct DS3_bitmap_tag;
struct PARTICLESYSTEMTAG;
struct PARTICLEDOMAINTAG;

// The drawable part of a particle: position in system space, size and colour.
struct DS3_particle {
    float x, y, z;
    float width, height;
    uint8_t color_red, color_green, color_blue, color_alpha;
};

struct PARTICLETAG {
    DS3_particle particleData;
    float oldPosition[3];
    float velocity[3];
    float acceleration[3];
    uint32_t age;       // in animation ticks
    uint32_t lifetime;  // 0: immortal
    int32_t growAgeEnd, growRate, shrinkAge, shrinkRate;
    float rotation, rotationDelta;  // degrees
    PARTICLETAG* next;
    PARTICLETAG* prev;
    int32_t animationTextureOffset, animationIncrement;
    float animParam;
    DS3_bitmap_tag* bitmap;
    // The alpha on its 0..255 scale with its fraction: color_alpha is this, rounded. Fades of
    // less than one step a frame add up here, so every rate fades at its own pace.
    float alpha;
};

typedef int (*ParticleDomainFunc)(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle);
typedef int (*ParticleSystemFunc)(PARTICLESYSTEMTAG* system);

struct PARTICLEDOMAINTAG {
    int32_t domainType;
    uint8_t coordinates[kDomainRecordBytes];  // one of the domain records, at its start
    ParticleDomainFunc generateFunc;  // places a new particle inside the domain
    ParticleDomainFunc withinFunc;    // 1 when the particle is inside
    ParticleDomainFunc onGenerate;    // optional: after a particle was placed
    ParticleDomainFunc onCollision;   // optional: a particle found outside a container
    PARTICLESYSTEMTAG* particleSystem;
};

// System types.
constexpr int kParticleSystemGame = 8;   // made from a game definition
constexpr int kParticleSystemArea = 9;   // an alley's effect
constexpr int kParticleSystemTest = 12;  // test mode's

struct PARTICLESYSTEMTAG {
    int32_t systemType;
    matrix xform;  // system to world
    DS3_bitmap_tag* texture;
    PARTICLETAG* particles;  // numAlive + numDead records of sizeofParticle bytes
    PARTICLETAG* liveParticles;
    PARTICLETAG* deadParticles;
    uint32_t numAlive, numDead, sizeofParticle;
    int32_t autoRespawn, autoDestruct, visible;
    float friction[3];
    float animParam, animRate;
    PARTICLEDOMAINTAG generatorDomain, containerDomain;
    PARTICLEDOMAINTAG reverseGeneratorDomain, reverseContainerDomain;  // used while time runs backwards
    ParticleSystemFunc onUpdate;  // null: ParticleSystemUpdate
    ParticleSystemFunc onRender;  // null: ParticleSystemRender
    ParticleSystemFunc destroy;
};

constexpr int kMaxParticleSystems = 64;
constexpr int kNumGameParticleDefinitions = 16;
constexpr int kNumAreaParticleDefinitions = 32;

struct PARTICLESYSTEMMGRTAG {
    PARTICLESYSTEMTAG* particleSystems[kMaxParticleSystems];  // null: a free slot
    uint32_t numSystems;
};

extern PARTICLESYSTEMMGRTAG* theParticleSystemManager;
extern PARTICLESYSTEMINFOTAG gameParticleSystemInfo[kNumGameParticleDefinitions];
extern PARTICLESYSTEMINFOTAG courseParticleSystemInfo[kNumAreaParticleDefinitions];

// ---- The manager (each 1 on success, 0 on failure) ----

// Destroys a manager that exists with its systems, then makes a new empty one.
int ParticleSystemManagerCreate();
// Destroys every system and the manager; 1 also when there is none.
int ParticleSystemManagerDestroy();
int ParticleSystemManagerExists();
// Puts the system into the first free slot; 0 without a manager or with 64 systems. A null
// system is ignored (1).
int ParticleSystemManagerAddSystem(PARTICLESYSTEMTAG* system);
// Removes and destroys every system of the type; 0 without a manager.
int ParticleSystemManagerRemoveSystems(int systemType);
// One frame of every system: its update, then destruction or restart of a system whose particles
// are all dead. Nothing while the game is paused, unless test mode runs. 1 also without a manager.
int ParticleSystemManagerUpdate();
// Draws every visible system. 0 without a manager.
int ParticleSystemManagerRender();
// Reads the game definitions (pairs of definition and bitmap in their resource group) into
// gameParticleSystemInfo. 0 when the group does not load, a record is damaged or there are more
// than 16 (those before are kept).
int ParticleSystemManagerLoadParticleSystemDefines();
// Unloads the game definitions' animation groups and the definitions' group. 0 when one stays.
int DisposeParticleSystemDefines();
// Unloads the area definitions' animation groups, removes the area systems and clears the area
// definitions. 0 when an unload fails or there is no manager (the definitions stay then).
int ParticleManagerDisposeAreaParticleSystems(int area);

// ---- Systems ----

// Sets a system up over its already allocated particle array (numParticles records of
// sizeofParticle bytes); the domains are copied (either may be null), a null xform is the
// identity, a non-zero bitmap id must name a loaded resource.
int ParticleSystemInit(PARTICLESYSTEMTAG* system, int systemType, unsigned numParticles, unsigned sizeofParticle,
                       int bitmapRSID, const PARTICLEDOMAINTAG* generator, const PARTICLEDOMAINTAG* container,
                       const float (*xform)[4]);
// Relinks the array in order, all alive (alive != 0) or all dead, and initialises every record.
int ParticleSystemReset(PARTICLESYSTEMTAG* system, int alive);
// Clears a particle (its links kept), colour 128 each, placed by the generator domain.
int ParticleSystemInitParticle(PARTICLESYSTEMTAG* system, PARTICLETAG* particle);
// Brings up to count dead particles to life, newly placed.
int ParticleSystemRespawnParticles(PARTICLESYSTEMTAG* system, unsigned count);
// Moves a live particle to the dead list.
int ParticleSystemKillParticle(PARTICLESYSTEMTAG* system, PARTICLETAG* particle);
// The engine's step: integration with friction, the container test of immortal particles, ageing
// and death of mortal ones.
int ParticleSystemUpdate(PARTICLESYSTEMTAG* system);
// Computes each live particle's world position for drawing (the drawing itself is empty here).
int ParticleSystemRender(PARTICLESYSTEMTAG* system);
// Frees the particle array and the system; 1 also for null.
int ParticleSystemDestroy(PARTICLESYSTEMTAG* system);

// ---- Domains (game/particledomains.cpp) ----

int BoxParticleDomainInit(PARTICLEDOMAINTAG* domain, const DOMAINBOXTAG* box, ParticleDomainFunc onGenerate,
                          ParticleDomainFunc onCollision);
int SphereParticleDomainInit(PARTICLEDOMAINTAG* domain, const DOMAINSPHERETAG* sphere, ParticleDomainFunc onGenerate,
                             ParticleDomainFunc onCollision);
int CylinderParticleDomainInit(PARTICLEDOMAINTAG* domain, const DOMAINCYLINDERTAG* cylinder,
                               ParticleDomainFunc onGenerate, ParticleDomainFunc onCollision);
int RectangleParticleDomainInit(PARTICLEDOMAINTAG* domain, const DOMAINRECTTAG* rect, ParticleDomainFunc onGenerate,
                                ParticleDomainFunc onCollision);
// Sets a domain of any of the four types from a definition's 64-byte record; 0 for another type.
int ParticleDomainInitFromRecord(PARTICLEDOMAINTAG* domain, int type, const void* record,
                                 ParticleDomainFunc onGenerate, ParticleDomainFunc onCollision);

// Generate: places the particle inside the domain, then calls onGenerate. Within: 1 inside.
int BoxDomainGenerate(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle);
int BoxDomainWithin(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle);
int SphereDomainGenerate(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle);
int SphereDomainWithin(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle);
int CylinderDomainGenerate(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle);
int CylinderDomainWithin(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle);
int RectangleDomainGenerate(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle);
int RectangleDomainWithin(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle);
