#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "game/actors.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "platform/skeleton.h"
#include "support/device_heap.h"

namespace {

class SkeletonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(4 << 20), 1);
        ASSERT_EQ(InitResources(10000), 1);
        ASSERT_EQ(InitRadianTables(), 1);
    }
    void TearDown() override
    {
        DisposeRadianTables();
        FreeResources();
        ReleaseDeviceHeap();
    }

    // An animation of frames x bones in game memory; frame f has root translation (f, 10f, 100f)
    // and every rotation the identity.
    uint8_t* MakeAnimation(int frames, int bones, int frameLength = 0)
    {
        if (!frameLength) frameLength = 12 + 8 * bones;
        const int size = 20 + frames * frameLength;
        void* p = nullptr;
        if (!AllocateClearedMemory(&p, size)) return nullptr;
        auto* a = static_cast<animation_tag*>(p);
        a->numFrames = frames;
        a->numBones = bones;
        a->rateRatio = 1.0f;
        a->frameLength = frameLength;
        auto* bytes = static_cast<uint8_t*>(p);
        for (int f = 0; f < frames; ++f) {
            float t[3] = {float(f), 10.0f * float(f), 100.0f * float(f)};
            std::memcpy(bytes + 20 + f * frameLength, t, 12);
            for (int b = 0; b < bones && 12 + 8 * b + 8 <= frameLength; ++b) {
                int16_t q[4] = {0, 0, 0, 32767};
                std::memcpy(bytes + 20 + f * frameLength + 12 + 8 * b, q, 8);
            }
        }
        return bytes;
    }
    // Puts data in the resource table as a loaded animation of size bytes.
    void Install(int id, uint8_t* data, int size)
    {
        resourceHeader& r = resourceHeaders[id];
        r.resourceType = kResourceTypeAnimation;
        r.resourceUncompressedLength = size;
        r.resourceLength = size;
        r.resourceHandle = data;
    }
};

TEST_F(SkeletonTest, QuaternionsAreReadAndBlended)
{
    int16_t raw[4] = {32767, 0, 0, 0};
    int16_t* p = raw;
    float q[4];
    readQuaternion(&p, q);
    EXPECT_FLOAT_EQ(q[0], 1.0f);
    EXPECT_EQ(p, raw + 4);

    // q with -q: the short way, the result is q for every t.
    for (float t : {0.0f, 0.3f, 0.9f}) {
        float a[4] = {0.0f, 0.6f, 0.0f, 0.8f};
        float b[4] = {0.0f, -0.6f, 0.0f, -0.8f};
        float out[4];
        InterpolateQuaternions(a, b, out, t);
        EXPECT_NEAR(out[1], 0.6f, 1e-4f);
        EXPECT_NEAR(out[3], 0.8f, 1e-4f);
    }
    // Halfway between two quarter turns apart stays unit length (spherical, not linear).
    float a[4] = {0, 0, 0, 1};
    float b[4] = {0, 0, std::sin(0.7853982f), std::cos(0.7853982f)};
    float out[4];
    InterpolateQuaternions(a, b, out, 0.5f);
    EXPECT_NEAR(std::sqrt(out[2] * out[2] + out[3] * out[3]), 1.0f, 2e-3f);
    EXPECT_NEAR(out[2], std::sin(0.3926991f), 2e-3f);
    // Nearly opposite quaternions reach the last sine entry without reading past it.
    float c[4] = {0, 0, 0, 1};
    float d[4] = {0.9999995f, 0, 0, 0.0005f};
    InterpolateQuaternions(c, d, out, 0.5f);
    EXPECT_TRUE(std::isfinite(out[0]) && std::isfinite(out[3]));
}

TEST_F(SkeletonTest, AnimationsWithImpossibleCountsAreRefused)
{
    EXPECT_EQ(InitializeAnimation(MakeAnimation(2, kMaxBones)), 1);
    EXPECT_EQ(InitializeAnimation(MakeAnimation(2, kMaxBones + 1)), 0) << "more bones than the actor holds";
    EXPECT_EQ(InitializeAnimation(MakeAnimation(2, 0)), 0);
    EXPECT_EQ(InitializeAnimation(MakeAnimation(2, 4, 12 + 8 * 3)), 0) << "frames too short for their bones";
    uint8_t* none = MakeAnimation(1, 1);
    reinterpret_cast<animation_tag*>(none)->numFrames = 0;
    EXPECT_EQ(InitializeAnimation(none), 0);
    EXPECT_EQ(InitializeAnimation(nullptr), 0);
}

TEST_F(SkeletonTest, AnAnimationLongerThanItsResourceIsNotUsed)
{
    uint8_t* a = MakeAnimation(10, 2);
    ASSERT_EQ(InitializeAnimation(a), 1);
    Install(7000, a, 20 + 10 * 28);
    EXPECT_NE(GetAnimation(7000), nullptr);
    Install(7001, a, 20 + 9 * 28);
    EXPECT_EQ(GetAnimation(7001), nullptr);
    float x = 0;
    EXPECT_EQ(ComputeAnimationTranslation(7001, 0.0f, 0, &x, nullptr), 0);
    EXPECT_EQ(GetAnimation(7002), nullptr);
}

TEST_F(SkeletonTest, FramePositionsAreBoundedByTheAnimation)
{
    uint8_t* a = MakeAnimation(10, 1);
    ASSERT_EQ(InitializeAnimation(a), 1);
    Install(7000, a, 20 + 10 * 20);
    float x = -1, z = -1;
    // 9.5 of 10 frames blends the last frame with the first.
    ASSERT_EQ(ComputeAnimationTranslation(7000, 9.5f, 0, &x, &z), 1);
    EXPECT_FLOAT_EQ(x, 4.5f);
    EXPECT_FLOAT_EQ(z, 45.0f);
    ASSERT_EQ(ComputeAnimationTranslation(7000, 2.25f, 0, &x, &z), 1);
    EXPECT_FLOAT_EQ(x, 2.25f);
    // Outside the animation, the ends hold.
    for (float f : {1e9f, 10.0f, 37.0f}) {
        ASSERT_EQ(ComputeAnimationTranslation(7000, f, 0, &x, &z), 1);
        EXPECT_FLOAT_EQ(x, 9.0f) << f;
    }
    for (float f : {-5.0f, NAN, -INFINITY}) {
        ASSERT_EQ(ComputeAnimationTranslation(7000, f, 0, &x, &z), 1);
        EXPECT_FLOAT_EQ(x, 0.0f) << f;
    }

    actor_tag actor{};
    actor.translationScaleFactor = {1, 1, 1, 0};
    actor.animInfo.animation = 7000;
    actor.animInfo.animationFrame = 1e9f;
    ASSERT_EQ(ComputeSkeletonTranslation(&actor), 1);
    EXPECT_FLOAT_EQ(actor.modelTranslation.x, 9.0f);
    actor.displayAttributes = kDisplayMirrored;
    actor.animInfo.animationFrame = 3.0f;
    ASSERT_EQ(ComputeSkeletonTranslation(&actor), 1);
    EXPECT_FLOAT_EQ(actor.modelTranslation.x, -3.0f) << "a mirrored actor's root moves the other way";
    EXPECT_FLOAT_EQ(actor.modelTranslation.z, 300.0f);
    actor.animInfo.animation = 7005;
    EXPECT_EQ(ComputeSkeletonTranslation(&actor), 0);
}

// A skeleton block: header, offsets, mirrored offsets, then bones (a root and a chain).
std::vector<uint8_t> SkeletonBlock(uint32_t numBones, uint32_t treeBones)
{
    std::vector<uint8_t> b(16 + 8 * numBones + 32 * treeBones + 64, 0);
    std::memcpy(&b[0], &numBones, 4);
    for (uint32_t i = 0; i < numBones; ++i) {
        uint32_t off = 4 * i, mir = 4 * (numBones - 1 - i);
        std::memcpy(&b[16 + 4 * i], &off, 4);
        std::memcpy(&b[16 + 4 * numBones + 4 * i], &mir, 4);
    }
    for (uint32_t i = 0; i < treeBones; ++i) {
        HLSL_bone_tag bone{};
        bone.pivot = {0.0f, 0.0f, i == 0 ? 1.0f : 0.5f, 1.0f};
        bone.numChildren = i + 1 < treeBones ? 1 : 0;
        std::memcpy(&b[16 + 8 * numBones + 32 * i], &bone, 32);
    }
    return b;
}

HLSL_skeleton* InGameMemory(const std::vector<uint8_t>& block, size_t usable, const uint8_t** end)
{
    void* p = nullptr;
    if (!AllocateMemory(&p, int(block.size()))) return nullptr;
    std::memcpy(p, block.data(), block.size());
    *end = static_cast<uint8_t*>(p) + usable;
    return static_cast<HLSL_skeleton*>(p);
}

TEST_F(SkeletonTest, SkeletonsThatDoNotFitTheBoneArraysOrTheirBlockAreRefused)
{
    const uint8_t* end = nullptr;
    std::vector<uint8_t> good = SkeletonBlock(3, 3);
    HLSL_skeleton* s = InGameMemory(good, good.size(), &end);
    ASSERT_EQ(DS3_InitializeSkeleton(s, end), 1);
    EXPECT_EQ(s->rootBone->children->children->numChildren, 0u);

    std::vector<uint8_t> many = SkeletonBlock(kMaxBones + 1, kMaxBones + 1);
    s = InGameMemory(many, many.size(), &end);
    EXPECT_EQ(DS3_InitializeSkeleton(s, end), 0) << "more bones than the actor's arrays";

    std::vector<uint8_t> wrongCount = SkeletonBlock(3, 4);
    s = InGameMemory(wrongCount, wrongCount.size(), &end);
    EXPECT_EQ(DS3_InitializeSkeleton(s, end), 0) << "a tree with more bones than the header";

    std::vector<uint8_t> cut = SkeletonBlock(3, 3);
    s = InGameMemory(cut, 16 + 24 + 32 * 2, &end);
    EXPECT_EQ(DS3_InitializeSkeleton(s, end), 0) << "a tree that runs past its block";
}

TEST_F(SkeletonTest, BonesArePosedDownTheChainAndCheckedAgainstTheFrames)
{
    // Root at z 1, two bones above it at 0.5 each; the root turns a quarter about X.
    std::vector<uint8_t> block = SkeletonBlock(3, 3);
    void* p = nullptr;
    ASSERT_EQ(AllocateClearedMemory(&p, 384 + int(block.size())), 1);
    auto* bytes = static_cast<uint8_t*>(p);
    std::memcpy(bytes + 384, block.data(), block.size());
    auto* skeleton = reinterpret_cast<HLSL_skeleton*>(bytes + 384);
    ASSERT_EQ(DS3_InitializeSkeleton(skeleton, bytes + 384 + block.size()), 1);
    Ptr32<HLSL_skeleton> field;
    field = skeleton;
    std::memcpy(bytes + kModelSkeletonField, &field, 4);

    uint8_t* anim = MakeAnimation(2, 3);
    ASSERT_EQ(InitializeAnimation(anim), 1);
    const int16_t quarter[4] = {23170, 0, 0, 23170};
    std::memcpy(anim + 20 + 12, quarter, 8);
    Install(7000, anim, 20 + 2 * 36);

    actor_tag actor{};
    actor.actorModel = reinterpret_cast<DS3_model*>(p);
    actor.translationScaleFactor = {1, 1, 1, 0};
    setIdentityMatrix(actor.lightXform);
    setIdentityMatrix(actor.worldXform);
    actor.animInfo.animation = 7000;
    ASSERT_EQ(ComputeSkeletonTranslation(&actor), 1);
    ASSERT_EQ(ComputeSkeletonXforms(&actor), 1);
    // The tip's bind position (0, 0, 2) turns about the root joint (0, 0, 1) to (0, -1, 1).
    float tip[3] = {0.0f, 0.0f, 2.0f};
    composePosition(tip, actor.boneXforms[2]);
    EXPECT_NEAR(tip[0], 0.0f, 1e-3f);
    EXPECT_NEAR(tip[1], -1.0f, 1e-3f);
    EXPECT_NEAR(tip[2], 1.0f, 1e-3f);

    // A bone whose offset points past the frame is refused rather than read.
    skeleton->boneOffsets[2] = 1000;
    EXPECT_EQ(ComputeSkeletonXforms(&actor), 0);
    skeleton->boneOffsets[2] = 8;
    // An animation with fewer bones than the skeleton is refused too.
    uint8_t* small = MakeAnimation(2, 2);
    ASSERT_EQ(InitializeAnimation(small), 1);
    Install(7001, small, 20 + 2 * 28);
    actor.animInfo.animation = 7001;
    ASSERT_EQ(ComputeSkeletonTranslation(&actor), 1);
    EXPECT_EQ(ComputeSkeletonXforms(&actor), 0);
}

}  // namespace
