#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "content_bowler.h"
#include "lib/memory.h"
#include "platform/model.h"
#include "platform/skeleton.h"
#include "support/device_heap.h"

namespace {

class ModelImage : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(UseFreshDeviceHeap(4 << 20), 1); }
    void TearDown() override { ReleaseDeviceHeap(); }

    // A copy of a model image in the game heap, where its 32-bit pointers can point.
    uint8_t* Load(const std::vector<uint8_t>& bytes)
    {
        void* block = nullptr;
        EXPECT_EQ(AllocateMemory(&block, int(bytes.size())), 1);
        std::memcpy(block, bytes.data(), bytes.size());
        return static_cast<uint8_t*>(block);
    }
};

TEST_F(ModelImage, ABodyModelGetsItsSkeleton)
{
    std::vector<uint8_t> bytes = mkrom::BowlerBodyModel(953);
    ASSERT_GT(bytes.size(), size_t(mkrom::kBowlerBodyModelBytes));
    uint8_t* image = Load(bytes);
    ASSERT_EQ(DS3_InitializeModel(image, int32_t(bytes.size())), 1);
    HLSL_skeleton* skeleton = ModelSkeleton(reinterpret_cast<DS3_model*>(image));
    ASSERT_NE(skeleton, nullptr);
    EXPECT_EQ(skeleton->numBones, 74u);  // the 953 body's bones
    EXPECT_EQ(reinterpret_cast<uintptr_t>(skeleton) % 16, 0u);
    EXPECT_GT(reinterpret_cast<uint8_t*>(skeleton), image);
    EXPECT_LT(reinterpret_cast<uint8_t*>(skeleton), image + bytes.size());
}

TEST_F(ModelImage, DamagedImagesAreRefused)
{
    std::vector<uint8_t> bytes = mkrom::BowlerBodyModel(911);
    uint8_t* image = Load(bytes);
    EXPECT_EQ(DS3_InitializeModel(image, 200), 0) << "shorter than its record";

    // A block that claims more vertices than the image holds.
    std::vector<uint8_t> damaged = bytes;
    auto* model = reinterpret_cast<DS3_model_tag*>(damaged.data());
    model->numVerts = 1u << 28;
    model->vertSize = 32;
    EXPECT_EQ(DS3_InitializeModel(Load(damaged), int32_t(damaged.size())), 0);

    // A skeleton cut short.
    EXPECT_EQ(DS3_InitializeModel(Load(bytes), int32_t(mkrom::kBowlerBodyModelBytes) + 16), 0);
    EXPECT_EQ(DS3_InitializeModel(nullptr, 1000), 0);
}

}  // namespace
