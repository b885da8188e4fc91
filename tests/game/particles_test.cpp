// The particle engine: the live and dead lists under birth, death and respawn, the manager's 64
// systems, ageing and the container test, each domain's placement, and the checks on stored
// definitions (from the build's game data too).
#include "game/particles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

#include "game/records.h"
#include "lib/memory.h"
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "platform/frame.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

int collisions = 0;
int CountCollision(PARTICLEDOMAINTAG*, PARTICLETAG*)
{
    ++collisions;
    return 1;
}

class Particles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
        SeedRandom();
        updateRatio = 1.0f;
        gGamePaused = 0;
        collisions = 0;
    }
    void TearDown() override
    {
        ParticleSystemManagerDestroy();
        ReleaseDeviceHeap();
    }
    // A system of n particles from the heap, with a unit box generator and container.
    static PARTICLESYSTEMTAG* MakeSystem(unsigned n, ParticleDomainFunc onCollision = nullptr)
    {
        void* record = nullptr;
        void* particles = nullptr;
        if (!AllocateClearedMemory(&record, sizeof(PARTICLESYSTEMTAG)) ||
            !AllocateClearedMemory(&particles, int(n * sizeof(PARTICLETAG))))
            return nullptr;
        auto* s = static_cast<PARTICLESYSTEMTAG*>(record);
        s->particles = static_cast<PARTICLETAG*>(particles);
        PARTICLEDOMAINTAG box = {};
        const DOMAINBOXTAG unit = {-1, 1, 1, -1, 1, -1};
        BoxParticleDomainInit(&box, &unit, nullptr, onCollision);
        if (!ParticleSystemInit(s, kParticleSystemGame, n, sizeof(PARTICLETAG), 0, &box, &box, nullptr)) return nullptr;
        return s;
    }
    // Every record is on exactly one list, the lists are well linked and match the counts.
    static void ExpectListsWhole(PARTICLESYSTEMTAG* s)
    {
        std::set<PARTICLETAG*> seen;
        unsigned counts[2] = {0, 0};
        PARTICLETAG* heads[2] = {s->liveParticles, s->deadParticles};
        for (int l = 0; l < 2; ++l)
            for (PARTICLETAG *p = heads[l], *prev = nullptr; p; prev = p, p = p->next) {
                ASSERT_EQ(p->prev, prev);
                ASSERT_TRUE(seen.insert(p).second) << "a record on two lists";
                ++counts[l];
            }
        EXPECT_EQ(counts[0], s->numAlive);
        EXPECT_EQ(counts[1], s->numDead);
        EXPECT_EQ(seen.size(), size_t(s->numAlive + s->numDead));
    }
};

TEST_F(Particles, ListsStayWholeUnderBirthDeathAndRespawn)
{
    PARTICLESYSTEMTAG* s = MakeSystem(8);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(ParticleSystemReset(s, 0), 1);
    EXPECT_EQ(s->numAlive, 0u);
    ExpectListsWhole(s);
    ASSERT_EQ(ParticleSystemRespawnParticles(s, 5), 1);
    EXPECT_EQ(s->numAlive, 5u);
    ExpectListsWhole(s);
    // Kill the head, a middle one and the tail of the live list.
    PARTICLETAG* tail = s->liveParticles;
    while (tail->next) tail = tail->next;
    ParticleSystemKillParticle(s, s->liveParticles->next);
    ParticleSystemKillParticle(s, s->liveParticles);
    ParticleSystemKillParticle(s, tail);
    EXPECT_EQ(s->numAlive, 2u);
    ExpectListsWhole(s);
    // Asking for more than are dead moves what there is.
    ASSERT_EQ(ParticleSystemRespawnParticles(s, 50), 1);
    EXPECT_EQ(s->numAlive, 8u);
    EXPECT_EQ(s->deadParticles, nullptr);
    ExpectListsWhole(s);
    // A new particle is placed by the generator and starts grey and half opaque.
    const PARTICLETAG* p = s->liveParticles;
    EXPECT_LE(std::fabs(p->particleData.x), 1.0f);
    EXPECT_EQ(p->particleData.color_alpha, 128);
    EXPECT_EQ(p->oldPosition[2], p->particleData.z);
    EXPECT_EQ(ParticleSystemDestroy(s), 1);
}

TEST_F(Particles, TheManagerHoldsSixtyFourSystemsAndDestroysRatherThanRespawns)
{
    ASSERT_EQ(ParticleSystemManagerAddSystem(MakeSystem(1)), 0) << "no manager";
    ASSERT_EQ(ParticleSystemManagerCreate(), 1);
    const unsigned before = GetTotalFreeMemory();
    for (int i = 0; i < kMaxParticleSystems; ++i) ASSERT_EQ(ParticleSystemManagerAddSystem(MakeSystem(1)), 1) << i;
    PARTICLESYSTEMTAG* extra = MakeSystem(1);
    EXPECT_EQ(ParticleSystemManagerAddSystem(extra), 0);
    theParticleSystemManager->particleSystems[3]->systemType = kParticleSystemTest;
    ASSERT_EQ(ParticleSystemManagerRemoveSystems(kParticleSystemTest), 1);
    EXPECT_EQ(theParticleSystemManager->numSystems, unsigned(kMaxParticleSystems - 1));
    EXPECT_EQ(ParticleSystemManagerAddSystem(extra), 1);
    EXPECT_EQ(theParticleSystemManager->particleSystems[3], extra);

    // Every system is empty (made dead): one with both flags goes, the others come back to life.
    extra->autoDestruct = 1;
    ASSERT_EQ(ParticleSystemManagerUpdate(), 1);
    EXPECT_EQ(theParticleSystemManager->particleSystems[3], nullptr);
    EXPECT_EQ(theParticleSystemManager->particleSystems[4]->numAlive, 1u);

    ASSERT_EQ(ParticleSystemManagerDestroy(), 1);
    EXPECT_GE(GetTotalFreeMemory(), before) << "every system and the manager given back";
}

TEST_F(Particles, MortalParticlesAgeByTicksImmortalOnesAreCaughtByTheirContainer)
{
    PARTICLESYSTEMTAG* s = MakeSystem(2, CountCollision);
    ASSERT_EQ(ParticleSystemReset(s, 1), 1);
    PARTICLETAG* mortal = s->liveParticles;
    PARTICLETAG* immortal = mortal->next;
    mortal->lifetime = 3;
    mortal->particleData.x = 50.0f;  // outside, but never tested
    immortal->particleData.x = 50.0f;
    s->animRate = 0.5f;
    for (int frame = 1; frame <= 6; ++frame) {
        ASSERT_EQ(ParticleSystemUpdate(s), 1);
        EXPECT_EQ(mortal->age, unsigned(frame / 2)) << frame;
    }
    EXPECT_EQ(collisions, 6) << "every frame the immortal one stays outside";
    ParticleSystemUpdate(s);
    ParticleSystemUpdate(s);
    EXPECT_EQ(s->numAlive, 1u) << "dead once its age passes its lifetime";
    ParticleSystemDestroy(s);
}

TEST_F(Particles, FrictionAndAccelerationIntegratePerAxis)
{
    PARTICLESYSTEMTAG* s = MakeSystem(1);
    ParticleSystemReset(s, 1);
    s->friction[0] = 0.5f;
    PARTICLETAG* p = s->liveParticles;
    p->particleData.x = p->particleData.y = 0.0f;
    p->velocity[0] = p->velocity[1] = 2.0f;
    p->acceleration[1] = 1.0f;
    ParticleSystemUpdate(s);
    EXPECT_FLOAT_EQ(p->particleData.x, 2.0f);
    EXPECT_FLOAT_EQ(p->velocity[0], 1.0f);
    EXPECT_FLOAT_EQ(p->velocity[1], 3.0f);
    ParticleSystemDestroy(s);
}

// Each domain's generator places inside its own container, and the container rejects points just
// outside each bound.
TEST_F(Particles, EachDomainGeneratesWithinItself)
{
    struct Case {
        int type;
        float record[6];
        float outside[3];
    };
    const Case cases[] = {
        {kDomainBox, {-2, 3, 4, -1, 5, 1}, {0, 0, 0.9f}},
        {kDomainSphere, {1, 2, 3, 4}, {1, 2, 7.1f}},
        {kDomainCylinder, {1, 2, 3, 5, 2}, {1, 2, 8.1f}},
        {kDomainRectangle, {-2, 2, 10, 20, 7}, {0, 21, 7}},
    };
    PARTICLETAG p = {};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        PARTICLEDOMAINTAG d = {};
        ASSERT_EQ(ParticleDomainInitFromRecord(&d, c.type, c.record, nullptr, nullptr), 1);
        for (int i = 0; i < 200; ++i) {
            ASSERT_EQ(d.generateFunc(&d, &p), 1);
            ASSERT_EQ(d.withinFunc(&d, &p), 1) << p.particleData.x << " " << p.particleData.y << " " << p.particleData.z;
        }
        p.particleData.x = c.outside[0], p.particleData.y = c.outside[1], p.particleData.z = c.outside[2];
        EXPECT_EQ(d.withinFunc(&d, &p), 0);
    }
    PARTICLEDOMAINTAG d = {};
    EXPECT_EQ(ParticleDomainInitFromRecord(&d, 3, cases[0].record, nullptr, nullptr), 0) << "no type 3";
}

TEST_F(Particles, DamagedDefinitionsAreRefused)
{
    PARTICLESYSTEMINFOTAG good = {};
    good.numParticles = 10;
    good.particleLifeMax = 5;
    PARTICLESYSTEMINFOTAG out = {};
    ASSERT_EQ(ReadParticleSystemInfo(&good, sizeof good, &out), 1);
    EXPECT_EQ(out.numParticles, 10);
    EXPECT_EQ(ReadParticleSystemInfo(&good, sizeof good - 4, &out), 0);
    const auto refused = [&](void (*damage)(PARTICLESYSTEMINFOTAG&)) {
        PARTICLESYSTEMINFOTAG d = good;
        damage(d);
        PARTICLESYSTEMINFOTAG kept = out;
        const int result = ReadParticleSystemInfo(&d, sizeof d, &out);
        EXPECT_EQ(std::memcmp(&kept, &out, sizeof out), 0) << "nothing changed";
        return result == 0;
    };
    EXPECT_TRUE(refused([](PARTICLESYSTEMINFOTAG& d) { d.numParticles = -1; }));
    EXPECT_TRUE(refused([](PARTICLESYSTEMINFOTAG& d) { d.numParticles = kMaxParticlesPerSystem + 1; }));
    EXPECT_TRUE(refused([](PARTICLESYSTEMINFOTAG& d) { d.contDomainType = 3; }));
    EXPECT_TRUE(refused([](PARTICLESYSTEMINFOTAG& d) { d.gravity = NAN; }));
    EXPECT_TRUE(refused([](PARTICLESYSTEMINFOTAG& d) { d.controlPoints[9].strength = INFINITY; }));
    EXPECT_TRUE(refused([](PARTICLESYSTEMINFOTAG& d) { d.initZVelMin = 1.0f; }));
    EXPECT_TRUE(refused([](PARTICLESYSTEMINFOTAG& d) { d.particleLifeMin = 6; }));
    EXPECT_TRUE(refused([](PARTICLESYSTEMINFOTAG& d) { d.shrinkFrames = -1; }));
}

TEST_F(Particles, TheGameDataDefinitionsLoadWithTheirBitmaps)
{
    ASSERT_EQ(OpenBuildGameData(), 1);
    ASSERT_EQ(ParticleSystemManagerLoadParticleSystemDefines(), 1);
    const int n = NumResourcesInGroup(kParticleDefinitionGroup) / 2;
    ASSERT_GT(n, 0);
    for (int k = 0; k < n; ++k) {
        EXPECT_GT(gameParticleSystemInfo[k].numParticles, 0) << k;
        EXPECT_EQ(gameParticleSystemInfo[k].bitmapRSID, (kParticleDefinitionGroup << 16) + 2 * k + 1);
    }
    EXPECT_EQ(gameParticleSystemInfo[n].numParticles, 0);
    EXPECT_EQ(DisposeParticleSystemDefines(), 1);
    EXPECT_FALSE(ResourceLoaded(kParticleDefinitionGroup));
    CloseBuildGameData();
}

}  // namespace
