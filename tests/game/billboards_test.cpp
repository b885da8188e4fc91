// Environment billboards: the sizes and facings per kind, the quads turned to the camera, the
// stored lists (damaged ones refused whole) and every alley's billboards from the build's game data.
#include "game/billboards.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "game/areas.h"
#include "game/particles.h"
#include "lib/matrix.h"
#include "lib/memory.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "platform/camera.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

const int32_t kSparkle = (kParticleDefinitionGroup << 16) + 3;

std::vector<uint8_t> List(const std::vector<EnvBillboardEntry>& entries, int32_t count)
{
    std::vector<uint8_t> bytes(sizeof count + entries.size() * sizeof(EnvBillboardEntry));
    std::memcpy(bytes.data(), &count, sizeof count);
    if (!entries.empty()) std::memcpy(bytes.data() + sizeof count, entries.data(), entries.size() * sizeof(EnvBillboardEntry));
    return bytes;
}

int Count()
{
    int n = 0;
    for (EnvBillboardData* b = envBillboards; b; b = b->next) ++n;
    return n;
}

unsigned Allocations()
{
    unsigned n = 0;
    DefaultHeapAllocations(&n);
    return n;
}

class Billboards : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
        envBillboards = nullptr;
    }
    void TearDown() override
    {
        DisposeEnvBillboards();
        ReleaseDeviceHeap();
    }
};

TEST_F(Billboards, KindsOutsideTheSixteenChangeNothing)
{
    ASSERT_EQ(SetEnvBillboardInfo(15, 40, 1), 1);
    EXPECT_EQ(SetEnvBillboardInfo(16, 99, 0), 0);
    EXPECT_EQ(SetEnvBillboardInfo(-1, 99, 0), 0);
    EXPECT_EQ(GetEnvBillboardSize(15), 40);
    EXPECT_EQ(GetEnvBillboardZStatic(15), 1);
    EXPECT_EQ(GetEnvBillboardSize(16), 0);
}

// The quad is centred on the billboard, as wide and as high as its kind's size, and seen face on
// from the camera; the kind that turns about z only keeps its sides upright under a tilted camera.
TEST_F(Billboards, QuadsFaceTheCameraAsTheirKindSays)
{
    ASSERT_EQ(SetEnvBillboardInfo(0, 30, 0), 1);
    ASSERT_EQ(SetEnvBillboardInfo(1, 20, 1), 1);
    cameraX = cameraY = cameraZ = 0.0f;
    cameraYangle = 0.0f;
    cameraZangle = 25.0f;
    cameraXangle = 125.0f;  // looking down at the lane
    ASSERT_EQ(ComposeCameraXform(), 1);
    for (int kind : {0, 1}) {
        SCOPED_TRACE(kind);
        const EnvBillboardData b = {10.0f, 700.0f, 60.0f, kind, nullptr, nullptr};
        float c[4][3];
        ASSERT_EQ(EnvBillboardCorners(b, c), 1);
        const float size = kind == 0 ? 30.0f : 20.0f;
        float centre[3] = {0, 0, 0}, across[3], up[3];
        for (int a = 0; a < 3; ++a) {
            for (int k = 0; k < 4; ++k) centre[a] += c[k][a] / 4.0f;
            across[a] = c[1][a] - c[0][a];
            up[a] = c[3][a] - c[0][a];
        }
        EXPECT_NEAR(centre[0], 10.0f, 1e-3f);
        EXPECT_NEAR(centre[1], 700.0f, 1e-3f);
        EXPECT_NEAR(centre[2], 60.0f, 1e-3f);
        EXPECT_NEAR(std::sqrt(across[0] * across[0] + across[1] * across[1] + across[2] * across[2]), size, 1e-3f);
        EXPECT_NEAR(std::sqrt(up[0] * up[0] + up[1] * up[1] + up[2] * up[2]), size, 1e-3f);
        // In the camera's frame the quad's sides run across and up the screen: no depth along them.
        float a4[3] = {across[0], across[1], across[2]}, u4[3] = {up[0], up[1], up[2]};
        composeNormal(a4, cameraXform);
        composeNormal(u4, cameraXform);
        EXPECT_NEAR(a4[2], 0.0f, 1e-3f) << "the width lies across the screen";
        if (kind == 0) {
            EXPECT_NEAR(u4[2], 0.0f, 1e-3f) << "turned wholly to the camera";
        } else {
            EXPECT_NEAR(up[0], 0.0f, 1e-4f);
            EXPECT_NEAR(up[1], 0.0f, 1e-4f);
            EXPECT_NEAR(up[2], size, 1e-4f) << "upright";
        }
    }
    const EnvBillboardData bad = {0, 0, 0, 16, nullptr, nullptr};
    float c[4][3];
    EXPECT_EQ(EnvBillboardCorners(bad, c), 0);
}

TEST_F(Billboards, DamagedListsAreRefusedWholeAndGoodOnesFreedNodeByNode)
{
    ASSERT_EQ(OpenBuildGameData(), 1);
    ASSERT_EQ(LoadResourceGroup(kParticleDefinitionGroup), 1);
    const unsigned before = Allocations();
    const EnvBillboardEntry good = {0.0f, 500.0f, 190.0f, 2, kSparkle};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<uint8_t> damaged[] = {
        std::vector<uint8_t>(2, 0),                                                // cut short
        List({good}, 2),                                                           // fewer than it counts
        List({}, -1),
        List({}, kMaxEnvBillboards + 1),
        List({good, {0.0f, 0.0f, 0.0f, 16, kSparkle}}, 2),                         // no such kind
        List({good, {nan, 0.0f, 0.0f, 2, kSparkle}}, 2),                           // nowhere
        List({good, {0.0f, 0.0f, 0.0f, 2, kParticleBitmapGroup << 16}}, 2),        // a texture not loaded
    };
    for (const std::vector<uint8_t>& bytes : damaged) {
        EXPECT_EQ(LoadEnvBillboards(bytes.data(), int(bytes.size())), 0);
        EXPECT_EQ(envBillboards, nullptr) << "nothing of a damaged list is added";
    }
    EXPECT_EQ(Allocations(), before);

    const std::vector<uint8_t> two = List({good, {5.0f, 1480.0f, 60.0f, 1, kSparkle}}, 2);
    ASSERT_EQ(LoadEnvBillboards(two.data(), int(two.size())), 1);
    ASSERT_EQ(LoadEnvBillboards(two.data(), int(two.size())), 1);
    ASSERT_EQ(Count(), 4);
    EXPECT_EQ(envBillboards->next->billboardOffset, 1) << "kept in the stored order";
    EXPECT_NE(envBillboards->texture, nullptr);
    EXPECT_EQ(DrawEnvBillboards(), 1);
    EXPECT_EQ(DisposeEnvBillboards(), 1);
    EXPECT_EQ(envBillboards, nullptr);
    EXPECT_EQ(Allocations(), before);
    UnloadResourceGroup(kParticleDefinitionGroup);
    CloseBuildGameData();
}

TEST_F(Billboards, EveryAlleyBringsItsBillboardsAndTakesThemAway)
{
    ASSERT_EQ(OpenBuildGameData(), 1);
    ASSERT_EQ(ParticleSystemManagerCreate(), 1);
    ASSERT_EQ(ParticleSystemManagerLoadParticleSystemDefines(), 1);
    for (int area = 0; area < kNumAreas; ++area) {
        SCOPED_TRACE(area);
        ASSERT_EQ(ChangeArea(area), 1);
        ASSERT_GT(Count(), 0);
        for (EnvBillboardData* b = envBillboards; b; b = b->next) {
            EXPECT_NE(b->texture, nullptr);
            EXPECT_GT(GetEnvBillboardSize(b->billboardOffset), 0) << "the alley sizes each kind it uses";
        }
        EXPECT_EQ(DrawEnvBillboards(), 1);
    }
    ASSERT_EQ(DisposeArea(), 1);
    EXPECT_EQ(envBillboards, nullptr);
    ParticleSystemManagerDestroy();
    DisposeParticleSystemDefines();
    CloseBuildGameData();
}

}  // namespace
