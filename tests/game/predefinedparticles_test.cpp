// Predefined particle systems: definitions turned into running effects, with the fading, growing,
// shrinking and control points that the definitions ask for, and every alley's effects made by
// the area change from the build's game data.
#include "game/predefinedparticles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "game/areas.h"
#include "game/records.h"
#include "host/errorlog.h"
#include "lib/memory.h"
#include "lib/resourceids.h"
#include "platform/frame.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

class PredefinedParticles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
        SeedRandom();
        updateRatio = 1.0f;
        gGamePaused = 0;
        std::memset(gameParticleSystemInfo, 0, sizeof gameParticleSystemInfo);
        d = {};
        d.numParticles = 4;
        d.genDomainType = d.contDomainType = kDomainSphere;
        const DOMAINSPHERETAG gen = {0, 0, 0, 0.001f}, cont = {0, 0, 0, 1000};
        std::memcpy(d.genDomain, &gen, sizeof gen);
        std::memcpy(d.contDomain, &cont, sizeof cont);
        d.particleAlpha = 200.0f;
        d.particleSize = 10.0f;
        d.particleLifeMin = d.particleLifeMax = 20;
    }
    void TearDown() override
    {
        ParticleSystemManagerDestroy();
        ReleaseDeviceHeap();
    }
    // A game-definition system of d, all particles alive.
    PARTICLESYSTEMTAG* Make()
    {
        gameParticleSystemInfo[0] = d;
        PARTICLESYSTEMTAG* s = PredefinedParticleSystemCreate(0, 0, 0);
        if (s) ParticleSystemRespawnParticles(s, unsigned(d.numParticles));
        return s;
    }
    PARTICLESYSTEMINFOTAG d;
};

TEST_F(PredefinedParticles, AlphaFadesOnItsOwnScaleAndDiesAtZero)
{
    d.particleAlphaRateMin = d.particleAlphaRateMax = -50.0f;
    d.alphaDeath = 1;
    PARTICLESYSTEMTAG* s = Make();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->systemType, kParticleSystemGame);
    EXPECT_EQ(s->liveParticles->particleData.color_alpha, 200);
    ASSERT_EQ(s->onUpdate(s), 1);
    EXPECT_EQ(s->liveParticles->particleData.color_alpha, 150);
    for (int i = 0; i < 3; ++i) s->onUpdate(s);
    EXPECT_EQ(s->numAlive, 0u) << "dead once faded out";
    ParticleSystemDestroy(s);
}

// A fade of less than one step a frame adds up and, like any other, reaches alpha death after
// alpha / |rate| frames (rounded up).
TEST_F(PredefinedParticles, EveryFadeRateFadesAtItsRate)
{
    d.particleAlpha = 10.0f;
    d.particleLifeMin = d.particleLifeMax = 1000;
    d.alphaDeath = 1;
    d.numParticles = 1;
    struct Case {
        float rate;
        int framesToDeath;
    };
    for (const Case& c : {Case{-0.5f, 20}, Case{-0.6f, 17}, Case{-2.5f, 4}}) {
        SCOPED_TRACE(c.rate);
        d.particleAlphaRateMin = d.particleAlphaRateMax = c.rate;
        PARTICLESYSTEMTAG* s = Make();
        ASSERT_NE(s, nullptr);
        for (int i = 0; i < c.framesToDeath - 1; ++i) ASSERT_EQ(s->onUpdate(s), 1);
        EXPECT_EQ(s->numAlive, 1u) << "still fading";
        ASSERT_EQ(s->onUpdate(s), 1);
        EXPECT_EQ(s->numAlive, 0u) << "faded out";
        ParticleSystemDestroy(s);
    }
}

TEST_F(PredefinedParticles, GrowingStartsFromNothingAndNeverPassesTheSize)
{
    d.growFrames = 5;
    d.shrinkFrames = 5;
    PARTICLESYSTEMTAG* s = Make();
    PARTICLETAG* p = s->liveParticles;
    EXPECT_EQ(p->particleData.width, 0.0f);
    float largest = 0.0f;
    for (int i = 0; i < 12; ++i) {
        s->onUpdate(s);
        largest = std::max(largest, p->particleData.width);
    }
    EXPECT_EQ(largest, 10.0f);
    while (p->age < 19) s->onUpdate(s);
    EXPECT_LT(p->particleData.width, 10.0f) << "shrinking at the end of its life";
    ParticleSystemDestroy(s);

    d.growFrames = 0;
    d.particleSizeRateMin = d.particleSizeRateMax = 1.0f;
    s = Make();
    for (int i = 0; i < 19; ++i) s->onUpdate(s);
    EXPECT_EQ(s->liveParticles->particleData.width, 10.0f)
        << "without growing, no shrinking either, and the system's rate never passes the size";
    ParticleSystemDestroy(s);
}

TEST_F(PredefinedParticles, ControlPointsPushOrPullAlongEveryAxisAlike)
{
    d.numParticles = 1;
    d.controlPoints[0] = {-1.0f, -1.0f, -1.0f, 10.0f, 3.0f};
    PARTICLESYSTEMTAG* s = Make();
    PARTICLETAG* p = s->liveParticles;
    p->particleData.x = p->particleData.y = p->particleData.z = 0.0f;
    std::memset(p->velocity, 0, sizeof p->velocity);
    gameParticleSystemInfo[0].controlPoints[0].strength = 3.0f;
    s->onUpdate(s);
    EXPECT_GT(p->velocity[0], 0.0f);
    EXPECT_EQ(p->velocity[0], p->velocity[1]);
    EXPECT_EQ(p->velocity[0], p->velocity[2]) << "pushed away on z as on x and y";
    std::memset(p->velocity, 0, sizeof p->velocity);
    p->particleData.x = p->particleData.y = p->particleData.z = 0.0f;
    gameParticleSystemInfo[0].controlPoints[0].strength = -3.0f;
    s->onUpdate(s);
    EXPECT_LT(p->velocity[2], 0.0f) << "pulled towards the point";
    // Exactly on a point, or with radius 0: no push.
    std::memset(p->velocity, 0, sizeof p->velocity);
    p->particleData.x = p->particleData.y = p->particleData.z = -1.0f;
    s->onUpdate(s);
    EXPECT_EQ(p->velocity[0], 0.0f);
    ParticleSystemDestroy(s);
}

TEST_F(PredefinedParticles, AnUnknownDomainMakesNoSystemAndLeaksNothing)
{
    const unsigned before = GetTotalFreeMemory();
    d.contDomainType = 4;
    EXPECT_EQ(Make(), nullptr);
    EXPECT_EQ(GetTotalFreeMemory(), before);
}

TEST_F(PredefinedParticles, TestModesSystemRunsTheEditedDefinitionAndGoesWithItsType)
{
    d.particleAlphaRateMin = d.particleAlphaRateMax = -10.0f;
    testOptions.particleSystemInfo = &d;
    uint8_t box[kDomainRecordBytes] = {};
    const DOMAINBOXTAG b = {-5, 5, 5, -5, 5, -5};
    std::memcpy(box, &b, sizeof b);
    EXPECT_EQ(TestParticleSystemCreate(3, box, 7, box, kDomainBox), nullptr) << "no domain type 7";
    ASSERT_EQ(ParticleSystemManagerCreate(), 1);
    const unsigned before = GetTotalFreeMemory();
    PARTICLESYSTEMTAG* s = TestParticleSystemCreate(3, box, kDomainBox, box, kDomainBox);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(ParticleSystemManagerAddSystem(s), 1);
    ParticleSystemRespawnParticles(s, 3);
    EXPECT_LE(std::fabs(s->liveParticles->particleData.x), 5.0f);
    ASSERT_EQ(ParticleSystemManagerUpdate(), 1);
    EXPECT_EQ(s->liveParticles->particleData.color_alpha, 190) << "the edited definition's fading";
    ASSERT_EQ(ParticleSystemManagerRemoveSystems(kParticleSystemTest), 1);
    EXPECT_EQ(GetTotalFreeMemory(), before);
    testOptions.particleSystemInfo = nullptr;
}

TEST_F(PredefinedParticles, EveryAlleysEffectsRunFromTheGameData)
{
    ASSERT_EQ(OpenBuildGameData(), 1);
    ASSERT_EQ(ParticleSystemManagerCreate(), 1);
    ASSERT_EQ(ParticleSystemManagerLoadParticleSystemDefines(), 1);
    for (int area = 0; area < kNumAreas; ++area) {
        SCOPED_TRACE(area);
        ASSERT_EQ(ChangeArea(area), 1);
        const unsigned systems = theParticleSystemManager->numSystems;
        EXPECT_GT(systems, 0u);
        for (int frame = 0; frame < 100; ++frame) ASSERT_EQ(ParticleSystemManagerUpdate(), 1);
        unsigned alive = 0;
        for (PARTICLESYSTEMTAG* s : theParticleSystemManager->particleSystems) {
            if (!s) continue;
            EXPECT_EQ(s->systemType, kParticleSystemArea);
            alive += s->numAlive;
        }
        EXPECT_GT(alive, 0u) << "the effects are running";
        EXPECT_EQ(ParticleSystemManagerRender(), 1);
    }
    ASSERT_EQ(DisposeArea(), 1);
    EXPECT_EQ(theParticleSystemManager->numSystems, 0u);
    EXPECT_EQ(DisposeParticleSystemDefines(), 1);
    CloseBuildGameData();
}

// An alley effect that cannot be made (here an unknown domain) is left out with a message; the
// alley's other effects are made and the alley goes on.
TEST_F(PredefinedParticles, AnAlleyEffectThatCannotBeMadeIsLeftOutAlone)
{
    ASSERT_EQ(OpenBuildGameData(), 1);
    ASSERT_EQ(ParticleSystemManagerCreate(), 1);
    ASSERT_EQ(ParticleSystemManagerLoadParticleSystemDefines(), 1);
    // An alley with more than one effect.
    for (int area = 0; area < kNumAreas && theParticleSystemManager->numSystems < 2; ++area)
        ASSERT_EQ(ChangeArea(area), 1);
    const unsigned systems = theParticleSystemManager->numSystems;
    ASSERT_GT(systems, 1u);
    ASSERT_EQ(ParticleSystemManagerRemoveSystems(kParticleSystemArea), 1);
    ASSERT_EQ(theParticleSystemManager->numSystems, 0u);
    int broken = 0;
    while (courseParticleSystemInfo[broken].bitmapRSID == 0 || courseParticleSystemInfo[broken].numParticles == 0)
        ++broken;
    courseParticleSystemInfo[broken].genDomainType = 7;
    HostClearErrorLog();
    EXPECT_EQ(CreateAreaParticleSystems(), 1);
    EXPECT_EQ(theParticleSystemManager->numSystems, systems - 1);
    EXPECT_NE(HostErrorLog().find("effect " + std::to_string(broken) + " cannot be made"), std::string::npos)
        << HostErrorLog();
    ASSERT_EQ(DisposeArea(), 1);
    EXPECT_EQ(DisposeParticleSystemDefines(), 1);
    CloseBuildGameData();
}

}  // namespace
