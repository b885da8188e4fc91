// The particle engine and its manager. A system owns one array of particle records, allocated by
// whoever creates the system, and threads two intrusive doubly linked lists through it (live and
// dead), so a frame never allocates: birth, death and respawn move records between the lists.
// The manager is a fixed table of 64 systems, updated once a game frame. Nothing is drawn on this
// platform; the render step still computes each particle's world position, so that the effect's
// path through a frame is whole.
#include "game/particles.h"

#include <cstring>

#include "game/records.h"
#include "host/errorlog.h"
#include "lib/memory.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/frame.h"
#include "platform/quads.h"
#include "shell/settings.h"

PARTICLESYSTEMMGRTAG* theParticleSystemManager = nullptr;
PARTICLESYSTEMINFOTAG gameParticleSystemInfo[kNumGameParticleDefinitions];
PARTICLESYSTEMINFOTAG courseParticleSystemInfo[kNumAreaParticleDefinitions];

// A tick of the animation clock: the clock passes this, it counts as a whole step.
static const float kTickThreshold = 0.99999994f;

// ---- Particles and their lists ----

static PARTICLETAG* ParticleAt(PARTICLESYSTEMTAG* system, unsigned i)
{
    return reinterpret_cast<PARTICLETAG*>(reinterpret_cast<uint8_t*>(system->particles) + i * system->sizeofParticle);
}

static PARTICLEDOMAINTAG* Generator(PARTICLESYSTEMTAG* system)
{
    return updateRatio < 0.0f ? &system->reverseGeneratorDomain : &system->generatorDomain;
}

static PARTICLEDOMAINTAG* Container(PARTICLESYSTEMTAG* system)
{
    return updateRatio < 0.0f ? &system->reverseContainerDomain : &system->containerDomain;
}

int ParticleSystemInitParticle(PARTICLESYSTEMTAG* system, PARTICLETAG* particle)
{
    if (!system || !particle) return 0;
    PARTICLETAG* next = particle->next;
    PARTICLETAG* prev = particle->prev;
    std::memset(static_cast<void*>(particle), 0, system->sizeofParticle);
    particle->next = next;
    particle->prev = prev;
    DS3_particle& d = particle->particleData;
    d.color_red = d.color_green = d.color_blue = d.color_alpha = 128;
    particle->alpha = 128.0f;
    PARTICLEDOMAINTAG* generator = Generator(system);
    if (generator->generateFunc) generator->generateFunc(generator, particle);
    particle->oldPosition[0] = d.x;
    particle->oldPosition[1] = d.y;
    particle->oldPosition[2] = d.z;
    return 1;
}

int ParticleSystemReset(PARTICLESYSTEMTAG* system, int alive)
{
    if (!system) return 0;
    const unsigned total = system->numAlive + system->numDead;
    PARTICLETAG* first = total ? ParticleAt(system, 0) : nullptr;
    system->liveParticles = alive ? first : nullptr;
    system->deadParticles = alive ? nullptr : first;
    system->numAlive = alive ? total : 0;
    system->numDead = alive ? 0 : total;
    for (unsigned i = 0; i < total; ++i) {
        PARTICLETAG* p = ParticleAt(system, i);
        p->prev = i > 0 ? ParticleAt(system, i - 1) : nullptr;
        p->next = i + 1 < total ? ParticleAt(system, i + 1) : nullptr;
    }
    for (unsigned i = 0; i < total; ++i) ParticleSystemInitParticle(system, ParticleAt(system, i));
    return 1;
}

static void PushFront(PARTICLETAG** head, PARTICLETAG* p)
{
    p->prev = nullptr;
    p->next = *head;
    if (*head) (*head)->prev = p;
    *head = p;
}

static void Unlink(PARTICLETAG** head, PARTICLETAG* p)
{
    if (p->prev)
        p->prev->next = p->next;
    else
        *head = p->next;
    if (p->next) p->next->prev = p->prev;
    p->next = p->prev = nullptr;
}

int ParticleSystemRespawnParticles(PARTICLESYSTEMTAG* system, unsigned count)
{
    if (!system) return 0;
    for (unsigned i = 0; i < count && system->deadParticles; ++i) {
        PARTICLETAG* p = system->deadParticles;
        Unlink(&system->deadParticles, p);
        PushFront(&system->liveParticles, p);
        --system->numDead;
        ++system->numAlive;
        ParticleSystemInitParticle(system, p);
    }
    return 1;
}

int ParticleSystemKillParticle(PARTICLESYSTEMTAG* system, PARTICLETAG* particle)
{
    if (!system || !particle) return 0;
    Unlink(&system->liveParticles, particle);
    PushFront(&system->deadParticles, particle);
    --system->numAlive;
    ++system->numDead;
    return 1;
}

// ---- Systems ----

static void CopyDomain(PARTICLESYSTEMTAG* system, PARTICLEDOMAINTAG* forward, PARTICLEDOMAINTAG* reverse,
                       const PARTICLEDOMAINTAG* from)
{
    if (!from) return;
    *forward = *from;
    forward->particleSystem = system;
    *reverse = *forward;
}

int ParticleSystemInit(PARTICLESYSTEMTAG* system, int systemType, unsigned numParticles, unsigned sizeofParticle,
                       int bitmapRSID, const PARTICLEDOMAINTAG* generator, const PARTICLEDOMAINTAG* container,
                       const float (*xform)[4])
{
    if (!system) return 0;
    system->systemType = systemType;
    system->sizeofParticle = sizeofParticle;
    system->autoRespawn = 1;
    system->autoDestruct = 0;
    system->visible = 1;
    system->animParam = 0.0f;
    system->animRate = 1.0f;
    system->onUpdate = nullptr;
    system->onRender = nullptr;
    system->destroy = ParticleSystemDestroy;
    system->numAlive = 0;
    system->numDead = numParticles;
    CopyDomain(system, &system->generatorDomain, &system->reverseGeneratorDomain, generator);
    CopyDomain(system, &system->containerDomain, &system->reverseContainerDomain, container);
    if (xform)
        std::memcpy(system->xform, xform, sizeof system->xform);
    else
        setIdentityMatrix(system->xform);
    system->texture = nullptr;
    if (bitmapRSID) {
        void* bitmap = nullptr;
        if (!GetResourceHandle(bitmapRSID, &bitmap)) return PrintError("particles: no bitmap %d", bitmapRSID);
        system->texture = static_cast<DS3_bitmap_tag*>(bitmap);
    }
    return 1;
}

// One particle's integration; 0 when it died (it is then on the dead list).
static int StepParticle(PARTICLESYSTEMTAG* system, PARTICLETAG* p, int tick, float r)
{
    float* position = &p->particleData.x;
    for (int a = 0; a < 3; ++a) {
        p->oldPosition[a] = position[a];
        position[a] += p->velocity[a] * r;
        p->velocity[a] -= r * system->friction[a] * p->velocity[a];
        p->velocity[a] += p->acceleration[a] * r;
    }
    if (p->lifetime == 0) {
        PARTICLEDOMAINTAG* container = Container(system);
        if (container->withinFunc && container->onCollision && !container->withinFunc(container, p))
            container->onCollision(container, p);
        return 1;
    }
    if (tick) ++p->age;
    if (p->age <= p->lifetime) return 1;
    ParticleSystemKillParticle(system, p);
    return 0;
}

int ParticleSystemUpdate(PARTICLESYSTEMTAG* system)
{
    if (!system) return 0;
    const float r = updateRatio;
    system->animParam += r * system->animRate;
    const int tick = system->animParam > kTickThreshold;
    if (tick) system->animParam = 1.0f;
    for (PARTICLETAG* p = system->liveParticles; p;) {
        PARTICLETAG* next = p->next;
        StepParticle(system, p, tick, r);
        p = next;
    }
    if (tick) system->animParam = 0.0f;
    return 1;
}

int ParticleSystemRender(PARTICLESYSTEMTAG* system)
{
    if (!system) return 0;
    for (PARTICLETAG* p = system->liveParticles; p; p = p->next) {
        float world[4] = {p->particleData.x, p->particleData.y, p->particleData.z, 1.0f};
        composePoint(world, system->xform);
    }
    return 1;
}

int ParticleSystemDestroy(PARTICLESYSTEMTAG* system)
{
    if (!system) return 1;
    void* particles = system->particles;
    if (!DestroyMemory(&particles)) return PrintError("particles: a particle array cannot be freed");
    void* record = system;
    if (!DestroyMemory(&record)) return PrintError("particles: a system cannot be freed");
    return 1;
}

// ---- The manager ----

static int DestroySystem(PARTICLESYSTEMTAG* system)
{
    return system->destroy ? system->destroy(system) : 1;
}

static int DestroyManager()
{
    int ok = 1;
    for (PARTICLESYSTEMTAG*& s : theParticleSystemManager->particleSystems) {
        if (s && !DestroySystem(s)) ok = 0;
        s = nullptr;
    }
    void* manager = theParticleSystemManager;
    if (!DestroyMemory(&manager)) ok = PrintError("particles: the manager cannot be freed");
    theParticleSystemManager = nullptr;
    return ok;
}

int ParticleSystemManagerCreate()
{
    if (theParticleSystemManager) DestroyManager();
    void* manager = nullptr;
    if (!AllocateClearedMemory(&manager, int(sizeof(PARTICLESYSTEMMGRTAG))))
        return PrintError("particles: no memory for the manager");
    theParticleSystemManager = static_cast<PARTICLESYSTEMMGRTAG*>(manager);
    return 1;
}

int ParticleSystemManagerDestroy() { return theParticleSystemManager ? DestroyManager() : 1; }

int ParticleSystemManagerExists() { return theParticleSystemManager != nullptr; }

int ParticleSystemManagerAddSystem(PARTICLESYSTEMTAG* system)
{
    if (!theParticleSystemManager) return 0;
    if (!system) return 1;
    for (PARTICLESYSTEMTAG*& s : theParticleSystemManager->particleSystems) {
        if (s) continue;
        s = system;
        ++theParticleSystemManager->numSystems;
        return 1;
    }
    return 0;
}

static void RemoveSlot(PARTICLESYSTEMTAG*& slot)
{
    PARTICLESYSTEMTAG* system = slot;
    slot = nullptr;
    --theParticleSystemManager->numSystems;
    DestroySystem(system);
}

int ParticleSystemManagerRemoveSystems(int systemType)
{
    if (!theParticleSystemManager) return 0;
    for (PARTICLESYSTEMTAG*& s : theParticleSystemManager->particleSystems)
        if (s && s->systemType == systemType) RemoveSlot(s);
    return 1;
}

int ParticleSystemManagerUpdate()
{
    if (!theParticleSystemManager) return 1;
    if (gGamePaused && !gTestModeRunning) return 1;
    for (PARTICLESYSTEMTAG*& s : theParticleSystemManager->particleSystems) {
        if (!s) continue;
        if (s->onUpdate ? !s->onUpdate(s) : !ParticleSystemUpdate(s)) return 0;
        if (s->numAlive != 0) continue;
        if (s->autoDestruct)
            RemoveSlot(s);
        else if (s->autoRespawn)
            ParticleSystemReset(s, 1);
    }
    return 1;
}

int ParticleSystemManagerRender()
{
    if (!theParticleSystemManager) return 0;
    if (theParticleSystemManager->numSystems == 0) return 1;
    uint8_t alpha = 255;
    RenderGetAlphaLevel(&alpha);
    RenderSetAlphaLevel(255);
    int ok = 1;
    for (PARTICLESYSTEMTAG* s : theParticleSystemManager->particleSystems) {
        if (!s || !s->visible) continue;
        if (s->onRender ? !s->onRender(s) : !ParticleSystemRender(s)) ok = 0;
    }
    RenderSetAlphaLevel(alpha);
    return ok;
}

// ---- Definitions ----

static PARTICLESYSTEMINFOTAG* FreeGameDefinition()
{
    for (PARTICLESYSTEMINFOTAG& d : gameParticleSystemInfo)
        if (d.numParticles == 0) return &d;
    return nullptr;
}

int ParticleSystemManagerLoadParticleSystemDefines()
{
    std::memset(gameParticleSystemInfo, 0, sizeof gameParticleSystemInfo);
    if (!ResourceLoaded(kParticleDefinitionGroup) && !LoadResourceGroup(kParticleDefinitionGroup))
        return PrintError("particles: the game's definitions cannot be loaded");
    const int n = NumResourcesInGroup(kParticleDefinitionGroup) / 2;
    for (int k = 0; k < n; ++k) {
        PARTICLESYSTEMINFOTAG* slot = FreeGameDefinition();
        if (!slot) return PrintError("particles: more than %d game definitions", kNumGameParticleDefinitions);
        const int id = (kParticleDefinitionGroup << 16) + 2 * k;
        resourceHeader* r = nullptr;
        if (!GetResourceHeader(id, &r) || !r->resourceHandle) return PrintError("particles: no definition %d", k);
        PARTICLESYSTEMINFOTAG d;
        if (!ReadParticleSystemInfo(r->resourceHandle.get(), r->resourceUncompressedLength, &d))
            return PrintError("particles: definition %d is damaged", k);
        d.bitmapRSID = id + 1;
        *slot = d;
    }
    return 1;
}

int DisposeParticleSystemDefines()
{
    int ok = 1;
    for (const PARTICLESYSTEMINFOTAG& d : gameParticleSystemInfo) {
        if (d.bitmapRSID == 0 || d.animationRSID <= 0 || !ResourceLoaded(d.animationRSID)) continue;
        if (!UnloadResourceGroup(d.animationRSID)) ok = 0;
    }
    if (ResourceLoaded(kParticleDefinitionGroup) && !UnloadResourceGroup(kParticleDefinitionGroup)) ok = 0;
    return ok;
}

int ParticleManagerDisposeAreaParticleSystems(int)
{
    if (!theParticleSystemManager) return 0;
    for (const PARTICLESYSTEMINFOTAG& d : courseParticleSystemInfo) {
        if (d.bitmapRSID == 0) break;
        if (d.animationRSID > 0 && ResourceLoaded(d.animationRSID) && !UnloadResourceGroup(d.animationRSID))
            return PrintError("particles: the animation group %d cannot be unloaded", int(d.animationRSID));
    }
    ParticleSystemManagerRemoveSystems(kParticleSystemArea);
    std::memset(courseParticleSystemInfo, 0, sizeof courseParticleSystemInfo);
    return 1;
}
