// Predefined particle systems. The engine moves particles; these callbacks give them their
// character from the stored definition: start velocities and forces drawn from its ranges, control
// points that push (positive strength) or pull (negative) along all three axes alike, an alpha
// that fades on the definition's 0..255 scale, growing in and shrinking out, and a texture
// animation through a resource group of frames.
#include "game/predefinedparticles.h"

#include <cmath>
#include <cstring>

#include "game/records.h"
#include "host/errorlog.h"
#include "lib/memory.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/trig.h"
#include "platform/bitmap.h"
#include "platform/camera.h"
#include "platform/frame.h"

// Growing without a shrink keeps the particle grown for the rest of its life.
static const int32_t kNeverShrink = 99999999;
// Bitmap loop types of a texture animation.
enum { kLoopStop = 0, kLoopRestart = 1, kLoopPingPong = 2 };

static PREDEFINEDPARTICLESYSTEMTAG* Predefined(PARTICLESYSTEMTAG* system)
{
    return reinterpret_cast<PREDEFINEDPARTICLESYSTEMTAG*>(system);
}

const PARTICLESYSTEMINFOTAG* PredefinedParticleSystemInfo(const PARTICLESYSTEMTAG* system)
{
    const auto* p = reinterpret_cast<const PREDEFINEDPARTICLESYSTEMTAG*>(system);
    if (system->systemType == kParticleSystemTest) return testOptions.particleSystemInfo;
    if (system->systemType == kParticleSystemArea) return &courseParticleSystemInfo[p->systemInfoIndex];
    return &gameParticleSystemInfo[p->systemInfoIndex];
}

static void RandomVector(float* v, const float* minMax)
{
    for (int a = 0; a < 3; ++a) v[a] = GetRandomFloat(minMax[2 * a], minMax[2 * a + 1]);
}

static float AlphaLimit(float alpha) { return alpha <= 0.0f ? 0.0f : alpha >= 255.0f ? 255.0f : alpha; }

// The particle's alpha, kept whole in its own float and shown rounded in the colour byte.
static void SetAlpha(PARTICLETAG* p, float alpha)
{
    p->alpha = AlphaLimit(alpha);
    p->particleData.color_alpha = uint8_t(std::lround(p->alpha));
}

static int SetAnimationFrame(PREDEFINEDPARTICLESYSTEMTAG* s, PARTICLETAG* p)
{
    void* bitmap = nullptr;
    if (!GetResourceHandle((s->animationRSID << 16) + p->animationTextureOffset, &bitmap))
        return PrintError("particles: no animation frame %d of group %d", int(p->animationTextureOffset),
                          int(s->animationRSID));
    p->bitmap = static_cast<DS3_bitmap_tag*>(bitmap);
    return 1;
}

int PredefinedParticleSystemOnGenerate(PARTICLEDOMAINTAG* generator, PARTICLETAG* p)
{
    if (!generator || !p || !generator->particleSystem) return 0;
    PREDEFINEDPARTICLESYSTEMTAG* s = Predefined(generator->particleSystem);
    const PARTICLESYSTEMINFOTAG& d = *PredefinedParticleSystemInfo(&s->system);
    RandomVector(p->acceleration, &d.initXAccelMin);
    RandomVector(p->velocity, &d.initXVelMin);
    p->particleData.width = p->particleData.height = d.particleSize;
    p->lifetime = uint32_t(GetRandomInt(d.particleLifeMin, d.particleLifeMax));
    p->growAgeEnd = d.growFrames;
    p->growRate = p->shrinkAge = p->shrinkRate = 0;
    if (d.growFrames) {
        p->growRate = int32_t(d.particleSize / float(d.growFrames));
        p->shrinkAge = d.shrinkFrames ? int32_t(p->lifetime) - d.shrinkFrames : kNeverShrink;
        p->shrinkRate = d.shrinkFrames ? int32_t(d.particleSize / float(d.shrinkFrames)) : 0;
        p->particleData.width = p->particleData.height = 0.0f;
    }
    p->rotation = GetRandomFloat(d.startMinRotation, d.startMaxRotation);
    p->rotationDelta = GetRandomFloat(d.rotationMinDelta, d.rotationMaxDelta);
    SetAlpha(p, d.particleAlpha);
    if (s->animationRSID <= 0) return 1;
    p->animationTextureOffset = GetRandomInt(s->animationTextureOffsetMin, s->animationTextureOffsetMax);
    if (p->animationTextureOffset > s->numAnimationTextures - 1) p->animationTextureOffset = 0;
    p->animationIncrement = 1;
    return SetAnimationFrame(s, p);
}

int PredefinedParticleSystemOnExitContainer(PARTICLEDOMAINTAG* container, PARTICLETAG* particle)
{
    if (!container || !particle || !container->particleSystem) return 0;
    PARTICLESYSTEMTAG* system = container->particleSystem;
    ParticleSystemKillParticle(system, particle);
    if (Predefined(system)->autoRespawnParticles) ParticleSystemRespawnParticles(system, 1);
    return 1;
}

// A push away from each control point (pull for a negative strength), falling off with the square
// of the distance, along the direction from the point to the particle on every axis.
static void ApplyControlPoints(const PARTICLESYSTEMINFOTAG& d, PARTICLETAG* p, float r)
{
    for (const PARTICLECONTROLPOINTTAG& c : d.controlPoints) {
        if (c.radius <= 0.0f) continue;
        const float dv[3] = {p->particleData.x - c.x, p->particleData.y - c.y, p->particleData.z - c.z};
        const float d2 = dv[0] * dv[0] + dv[1] * dv[1] + dv[2] * dv[2];
        if (d2 <= 0.0f || d2 >= c.radius * c.radius) continue;
        const float k = c.strength / d2 * r;
        const float len = std::sqrt(d2);
        for (int a = 0; a < 3; ++a) p->velocity[a] += k * dv[a] / len;
    }
}

static float Clamp(float v, float hi) { return v < 0.0f ? 0.0f : v > hi ? hi : v; }

static void GrowAndShrink(const PARTICLESYSTEMINFOTAG& d, PARTICLETAG* p, float sizeRate, float r)
{
    DS3_particle& q = p->particleData;
    q.width = q.width + sizeRate * r > 0.0f ? q.width + sizeRate * r : 0.0f;
    q.height = q.height + sizeRate * r > 0.0f ? q.height + sizeRate * r : 0.0f;
    if (p->lifetime == 0) return;
    if (int32_t(p->age) < p->growAgeEnd) {
        q.width = Clamp(q.width + float(p->growRate), d.particleSize);
        q.height = Clamp(q.height + float(p->growRate), d.particleSize);
    }
    // Without growing the shrink age is 0 and the rate 0: the size the system's rate gives is
    // still held within 0..particleSize on every tick.
    if (int32_t(p->age) >= p->shrinkAge) {
        q.width = Clamp(q.width - float(p->shrinkRate), d.particleSize);
        q.height = Clamp(q.height - float(p->shrinkRate), d.particleSize);
    }
}

static int AnimateTexture(PREDEFINEDPARTICLESYSTEMTAG* s, PARTICLETAG* p)
{
    if (!p->bitmap || s->animationRSID <= 0) return 1;
    p->animParam += 1.0f;
    if (p->animParam <= float(p->bitmap->delay)) return 1;
    const int last = s->numAnimationTextures - 1;
    p->animationTextureOffset += p->animationIncrement;
    if (p->animationTextureOffset > last) {
        if (p->bitmap->loopType == kLoopPingPong) {
            p->animationIncrement = -p->animationIncrement;
            p->animationTextureOffset = last > 0 ? last - 1 : 0;
        } else if (p->bitmap->loopType == kLoopRestart) {
            p->animationTextureOffset = 0;
        } else {
            p->animationTextureOffset = last;
        }
    } else if (p->animationTextureOffset < 0) {
        p->animationIncrement = -p->animationIncrement;
        p->animationTextureOffset = last > 0 ? 1 : 0;
    }
    p->animParam = 0.0f;
    return SetAnimationFrame(s, p);
}

// One particle's forces, fading, sizing and animation; 0 when it died (alpha death) or a frame is
// missing (then *failed is set).
static int UpdateParticle(PREDEFINEDPARTICLESYSTEMTAG* s, const PARTICLESYSTEMINFOTAG& d, PARTICLETAG* p,
                          float sizeRate, float r, int* failed)
{
    float add[3];
    RandomVector(add, &d.updateXAccelMin);
    for (int a = 0; a < 3; ++a) p->acceleration[a] += add[a] * r;
    RandomVector(add, &d.updateXVelMin);
    for (int a = 0; a < 3; ++a) p->velocity[a] += add[a] * r;
    p->velocity[2] -= d.gravity * r;
    p->rotation = NormalizeAngle(p->rotation + p->rotationDelta);
    ApplyControlPoints(d, p, r);
    const float delta = GetRandomFloat(d.particleAlphaRateMin, d.particleAlphaRateMax) * r;
    SetAlpha(p, p->alpha + delta);
    if (p->alpha <= 0.0f && s->alphaDeath) {
        ParticleSystemKillParticle(&s->system, p);
        return 0;
    }
    GrowAndShrink(d, p, sizeRate, r);
    if (!AnimateTexture(s, p)) *failed = 1;
    return !*failed;
}

int PredefinedParticleSystemOnUpdate(PARTICLESYSTEMTAG* system)
{
    if (!system) return 0;
    PREDEFINEDPARTICLESYSTEMTAG* s = Predefined(system);
    const PARTICLESYSTEMINFOTAG& d = *PredefinedParticleSystemInfo(system);
    const float r = updateRatio;
    const float sizeRate = GetRandomFloat(d.particleSizeRateMin, d.particleSizeRateMax);
    int failed = 0;
    for (PARTICLETAG* p = system->liveParticles; p && !failed;) {
        PARTICLETAG* next = p->next;
        UpdateParticle(s, d, p, sizeRate, r, &failed);
        p = next;
    }
    if (failed) return 0;
    if (!ParticleSystemUpdate(system)) return 0;
    if (s->autoRespawnParticles && system->deadParticles) ParticleSystemRespawnParticles(system, 1);
    return 1;
}

int PredefinedParticleSystemOnRender(PARTICLESYSTEMTAG* system)
{
    if (!system) return 0;
    if (system->numAlive == 0) return 1;
    // Sprites face the camera through the billboard matrix the definition picks; drawing is empty
    // on this platform, so the matrix only decides the corners that are not drawn.
    const PARTICLESYSTEMINFOTAG& d = *PredefinedParticleSystemInfo(system);
    float corner[4] = {1.0f, 0.0f, 1.0f, 1.0f};
    composePoint(corner, d.xformType == 0 ? billboardXform : ZbillboardXform);
    return ParticleSystemRender(system);
}

static int LoadAnimation(PREDEFINEDPARTICLESYSTEMTAG* s, const PARTICLESYSTEMINFOTAG& d)
{
    s->animationRSID = d.animationRSID;
    if (d.animationRSID <= 0) return 1;
    if (!ResourceLoaded(d.animationRSID) && !LoadResourceGroup(d.animationRSID))
        return PrintError("particles: the animation group %d cannot be loaded", int(d.animationRSID));
    s->numAnimationTextures = NumResourcesInGroup(d.animationRSID);
    s->animationTextureOffsetMin = d.animationTextureOffsetMin;
    s->animationTextureOffsetMax = d.animationTextureOffsetMax;
    return 1;
}

static int BuildSystem(PREDEFINEDPARTICLESYSTEMTAG* s, int type, const PARTICLESYSTEMINFOTAG& d)
{
    PARTICLESYSTEMTAG* system = &s->system;
    const unsigned n = unsigned(d.numParticles);
    void* particles = nullptr;
    if (!AllocateClearedMemory(&particles, int(n * sizeof(PARTICLETAG)))) return PrintError("particles: no memory for %u particles", n);
    system->particles = static_cast<PARTICLETAG*>(particles);
    PARTICLEDOMAINTAG generator = {}, container = {};
    if (!ParticleDomainInitFromRecord(&generator, d.genDomainType, d.genDomain, PredefinedParticleSystemOnGenerate,
                                      nullptr) ||
        !ParticleDomainInitFromRecord(&container, d.contDomainType, d.contDomain, nullptr,
                                      PredefinedParticleSystemOnExitContainer))
        return PrintError("particles: unknown domain types %d and %d", int(d.genDomainType), int(d.contDomainType));
    if (!ParticleSystemInit(system, type, n, sizeof(PARTICLETAG), d.bitmapRSID, &generator, &container, nullptr))
        return 0;
    if (!LoadAnimation(s, d)) return 0;
    if (!ParticleSystemReset(system, 0)) return 0;
    system->friction[0] = d.frictionX;
    system->friction[1] = d.frictionY;
    system->friction[2] = d.frictionZ;
    system->autoDestruct = d.autoDestructSystem;
    system->autoRespawn = d.autoRespawnSystem;
    system->onUpdate = PredefinedParticleSystemOnUpdate;
    system->onRender = PredefinedParticleSystemOnRender;
    s->alphaDeath = d.alphaDeath;
    s->autoRespawnParticles = d.autoRespawnParticles;
    s->blendMode = d.blendMode;
    return 1;
}

PARTICLESYSTEMTAG* PredefinedParticleSystemCreate(int index, int area, int systemType)
{
    const int type = systemType ? systemType : area == 0 ? kParticleSystemGame : kParticleSystemArea;
    const int tableSize = type == kParticleSystemArea ? kNumAreaParticleDefinitions : kNumGameParticleDefinitions;
    if (index < 0 || index >= tableSize) return nullptr;
    void* record = nullptr;
    if (!AllocateClearedMemory(&record, int(sizeof(PREDEFINEDPARTICLESYSTEMTAG)))) return nullptr;
    auto* s = static_cast<PREDEFINEDPARTICLESYSTEMTAG*>(record);
    s->system.systemType = type;
    s->systemInfoIndex = index;
    if (BuildSystem(s, type, *PredefinedParticleSystemInfo(&s->system))) return &s->system;
    // What was made goes back; the caller adds nothing.
    ParticleSystemDestroy(&s->system);
    return nullptr;
}

PARTICLESYSTEMTAG* TestParticleSystemCreate(int numParticles, const void* generatorCoordinates, int generatorType,
                                            const void* containerCoordinates, int containerType)
{
    const PARTICLESYSTEMINFOTAG* edited = testOptions.particleSystemInfo;
    if (!edited || numParticles <= 0 || numParticles > kMaxParticlesPerSystem || !generatorCoordinates ||
        !containerCoordinates)
        return nullptr;
    PARTICLESYSTEMINFOTAG d = *edited;
    d.numParticles = numParticles;
    d.genDomainType = generatorType;
    d.contDomainType = containerType;
    std::memcpy(d.genDomain, generatorCoordinates, sizeof d.genDomain);
    std::memcpy(d.contDomain, containerCoordinates, sizeof d.contDomain);
    void* record = nullptr;
    if (!AllocateClearedMemory(&record, int(sizeof(PREDEFINEDPARTICLESYSTEMTAG)))) return nullptr;
    auto* s = static_cast<PREDEFINEDPARTICLESYSTEMTAG*>(record);
    s->system.systemType = kParticleSystemTest;
    if (BuildSystem(s, kParticleSystemTest, d)) return &s->system;
    ParticleSystemDestroy(&s->system);
    return nullptr;
}

int LoadAreaParticleSystemInfo(const void* data, int size)
{
    std::memset(courseParticleSystemInfo, 0, sizeof courseParticleSystemInfo);
    int32_t count = 0;
    if (!data || size < int(sizeof count)) return PrintError("particles: an alley's definitions are cut short");
    std::memcpy(&count, data, sizeof count);
    const int record = int(sizeof(PARTICLESYSTEMINFOTAG));
    if (count < 0 || count > kNumAreaParticleDefinitions || int(sizeof count) + count * record > size)
        return PrintError("particles: an alley's list of %d definitions in %d bytes", int(count), size);
    const uint8_t* at = static_cast<const uint8_t*>(data) + sizeof count;
    for (int i = 0; i < count; ++i, at += record) {
        PARTICLESYSTEMINFOTAG d;
        if (!ReadParticleSystemInfo(at, record, &d) || (d.numParticles > 0 && d.bitmapRSID == 0)) {
            std::memset(courseParticleSystemInfo, 0, sizeof courseParticleSystemInfo);
            return PrintError("particles: the alley's definition %d is damaged", i);
        }
        courseParticleSystemInfo[i] = d;
    }
    return 1;
}

int CreateAreaParticleSystems()
{
    for (int i = 0; i < kNumAreaParticleDefinitions; ++i) {
        if (courseParticleSystemInfo[i].bitmapRSID == 0 || courseParticleSystemInfo[i].numParticles == 0) continue;
        // One effect that cannot be had costs only that effect, never the alley.
        PARTICLESYSTEMTAG* system = PredefinedParticleSystemCreate(i, 1, 0);
        if (!system) {
            PrintError("particles: the alley's effect %d cannot be made; the alley goes on without it", i);
            continue;
        }
        if (!ParticleSystemManagerAddSystem(system)) {
            ParticleSystemDestroy(system);
            PrintError("particles: no room for the alley's effect %d; the alley goes on without it", i);
        }
    }
    return 1;
}
