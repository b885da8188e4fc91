#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "lib/memory.h"
#include "lib/objectanim.h"
#include "objectanim_writer.h"
#include "platform/model.h"
#include "platform/skeleton.h"
#include "support/device_heap.h"

namespace {

using mkrom::AnimationNode;
using mkrom::Keyframe;

class ObjectAnimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(4 << 20), 1);
        ASSERT_EQ(InitRadianTables(), 1);
    }
    void TearDown() override
    {
        DisposeRadianTables();
        ReleaseDeviceHeap();
    }

    // A copy of bytes in game memory, as the loader leaves a resource.
    uint8_t* Load(const std::vector<uint8_t>& bytes)
    {
        void* p = nullptr;
        if (!AllocateClearedMemory(&p, int(bytes.size()) + 1)) return nullptr;
        std::memcpy(p, bytes.data(), bytes.size());
        return static_cast<uint8_t*>(p);
    }
    DI_objectAnimation_tag* LoadAnimation(const AnimationNode& root)
    {
        image = mkrom::ObjectAnimationBytes(root);
        auto* a = reinterpret_cast<DI_objectAnimation_tag*>(Load(image));
        return a && InitializeObjectAnimation(a, int32_t(image.size())) ? a : nullptr;
    }
    // 0 or 1: whether the bytes, cut to length, initialise as an animation (or a level).
    int Initialises(const std::vector<uint8_t>& bytes, size_t length, bool level)
    {
        uint8_t* p = Load(bytes);
        int ok = level ? DI_InitializeLevel(reinterpret_cast<DI_level_tag*>(p), int32_t(length))
                       : InitializeObjectAnimation(reinterpret_cast<DI_objectAnimation_tag*>(p), int32_t(length));
        FreeManagedMemory(p, 0);
        return ok;
    }

    std::vector<uint8_t> image;
};

// A model node with the given base pose; everything else zero.
DS3_model_tag BaseModel(VECTOR position, quaternion rotation, VECTOR scale, VECTOR pivot)
{
    DS3_model_tag m;
    std::memset(&m, 0, sizeof m);
    m.position = {position.x, position.y, position.z, 1.0f};
    std::memcpy(m.rotation, &rotation, sizeof m.rotation);
    m.scale = {scale.x, scale.y, scale.z, 1.0f};
    m.pivot = {pivot.x, pivot.y, pivot.z, 1.0f};
    return m;
}

void ExpectPoint(const matrix m, VECTOR in, VECTOR expected, float tolerance = 1e-4f)
{
    float v[3] = {in.x, in.y, in.z};
    composePosition(v, m);
    EXPECT_NEAR(v[0], expected.x, tolerance);
    EXPECT_NEAR(v[1], expected.y, tolerance);
    EXPECT_NEAR(v[2], expected.z, tolerance);
}

// A track whose frame i stands at x = 4i, unturned, at scale 1.
AnimationNode Slide(int frames)
{
    AnimationNode n;
    for (int i = 0; i < frames; ++i) n.frames.push_back(Keyframe(4.0f * float(i), 0, 0, 0, 0, 1, 0));
    return n;
}

TEST_F(ObjectAnimTest, ChildBlocksFollowEachOtherDepthFirst)
{
    // Root (1 frame, 2 children); child 0 (2 frames, 1 grandchild of 3 frames); child 1 (1 frame).
    AnimationNode root = Slide(1);
    AnimationNode first = Slide(2);
    first.children.push_back(Slide(3));
    root.children = {first, Slide(1)};
    DI_objectAnimation_tag* a = LoadAnimation(root);
    ASSERT_NE(a, nullptr);
    auto* base = reinterpret_cast<uint8_t*>(a);
    const int rootSize = 24 + 40 + 2 * 4, firstSize = 24 + 2 * 40 + 4, grandSize = 24 + 3 * 40;
    EXPECT_EQ(reinterpret_cast<uint8_t*>(a->frames.get()), base + 24);
    DI_objectAnimation_tag* c0 = a->childList.get()[0];
    DI_objectAnimation_tag* c1 = a->childList.get()[1];
    DI_objectAnimation_tag* grandchild = c0->childList.get()[0];
    EXPECT_EQ(reinterpret_cast<uint8_t*>(c0), base + rootSize);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(grandchild), base + rootSize + firstSize);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(c1), base + rootSize + firstSize + grandSize);
    EXPECT_EQ(grandchild->frames.get()[2].position.x, 8.0f);
    // A node without children sets only its frames.
    EXPECT_EQ(c1->childList.offset, 0u);

    // The buffer form leaves the cursor right after the whole image.
    uint8_t* copy = Load(mkrom::ObjectAnimationBytes(root));
    uint8_t* cursor = copy;
    ASSERT_EQ(InitializeObjectAnimationBuffer(&cursor, copy + image.size()), 1);
    EXPECT_EQ(cursor, copy + image.size());
}

TEST_F(ObjectAnimTest, DamagedAnimationsAreRefused)
{
    AnimationNode root = Slide(2);
    AnimationNode child = Slide(2);
    child.children.push_back(Slide(1));
    root.children.push_back(child);
    const std::vector<uint8_t> whole = mkrom::ObjectAnimationBytes(root);
    ASSERT_EQ(Initialises(whole, whole.size(), false), 1);
    // Every cut short of the whole image leaves some block outside it.
    for (size_t cut = 0; cut < whole.size(); ++cut) EXPECT_EQ(Initialises(whole, cut, false), 0) << cut;

    // Counts that are negative or far too large for the image, at the root and in the child.
    const size_t child0 = 24 + 2 * 40 + 4;
    const std::vector<std::pair<size_t, int32_t>> damages = {{4, -1}, {16, -1}, {4, 0x7FFFFFFF}, {16, 0x40000000},
                                                             {child0 + 16, 5}, {child0 + 4, 0x10000000}};
    for (auto [offset, value] : damages) {
        std::vector<uint8_t> bad = whole;
        std::memcpy(&bad[offset], &value, 4);
        EXPECT_EQ(Initialises(bad, bad.size(), false), 0) << offset << " " << value;
    }

    // Nesting is bounded, so a damaged image cannot recurse without end.
    auto chain = [](int depth) {
        AnimationNode node = Slide(1);
        for (int i = 1; i < depth; ++i) {
            AnimationNode parent = Slide(1);
            parent.children.push_back(node);
            node = parent;
        }
        return node;
    };
    EXPECT_NE(LoadAnimation(chain(kMaxObjectAnimationDepth)), nullptr);
    EXPECT_EQ(LoadAnimation(chain(kMaxObjectAnimationDepth + 1)), nullptr);
}

TEST_F(ObjectAnimTest, LevelsPointAtTheirObjectsAndRefuseDamage)
{
    DI_instance_tag at = {{1, 2, 3}, {0, 90, 0}, {1, 1, 1}};
    const std::vector<uint8_t> bytes = mkrom::LevelBytes("alley", "", {{"fan", 1234, {at, at}}, {"sign", 77, {}}, {"lamp", 5, {at}}});
    auto* level = reinterpret_cast<DI_level_tag*>(Load(bytes));
    ASSERT_EQ(DI_InitializeLevel(level, int32_t(bytes.size())), 1);
    auto* base = reinterpret_cast<uint8_t*>(level);
    Ptr32<DI_object_tag>* list = level->objectList.get();
    ASSERT_EQ(reinterpret_cast<uint8_t*>(list), base + 296);
    const size_t first = 296 + 3 * 4, second = first + 44 + 2 * 36;
    EXPECT_EQ(reinterpret_cast<uint8_t*>(list[0].get()), base + first);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(list[1].get()), base + second);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(list[2].get()), base + second + 44);
    EXPECT_EQ(list[0]->resourceID, 1234);
    EXPECT_EQ(list[0]->instances.get()[1].position.z, 3.0f);
    EXPECT_EQ(list[2]->instances.get()[0].rotation.y, 90.0f);

    // A level without objects sets its (empty) list only.
    const std::vector<uint8_t> empty = mkrom::LevelBytes("none", "", {});
    auto* none = reinterpret_cast<DI_level_tag*>(Load(empty));
    ASSERT_EQ(DI_InitializeLevel(none, int32_t(empty.size())), 1);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(none->objectList.get()), reinterpret_cast<uint8_t*>(none) + 296);

    for (size_t cut = 0; cut < bytes.size(); ++cut) EXPECT_EQ(Initialises(bytes, cut, true), 0) << cut;
    const std::vector<std::pair<size_t, int32_t>> damages = {{288, -2}, {288, 0x3FFFFFFF}, {second + 32, -1},
                                                             {second + 32, 0x7FFFFFFF}};
    for (auto [offset, value] : damages) {
        std::vector<uint8_t> bad = bytes;
        std::memcpy(&bad[offset], &value, 4);
        EXPECT_EQ(Initialises(bad, bad.size(), true), 0) << offset;
    }
}

TEST_F(ObjectAnimTest, PosesAreRelativeToTheBasePoseAndTurnAboutThePivot)
{
    // A keyframe equal to an unusual base pose is the identity.
    quaternion turn, quarter, half;
    createQuaternion(1, 2, 3, 40.0f, &turn);
    createQuaternion(0, 0, 1, 90.0f, &quarter);
    createQuaternion(0, 0, 1, 180.0f, &half);
    DS3_model_tag model = BaseModel({5, -6, 7}, turn, {2, 3, 0.5f}, {1, 1, -2});
    AnimationNode n;
    DI_objectFrame f = {{5, -6, 7}, turn, {2, 3, 0.5f}};
    n.frames = {f, f};
    DI_objectAnimation_tag* a = LoadAnimation(n);
    ASSERT_NE(a, nullptr);
    matrix m;
    for (float t : {0.0f, 0.5f}) {
        ASSERT_EQ(ComputeObjectAnimationXform(a, t, &model, m), 1);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) EXPECT_NEAR(m[r][c], r == c ? 1.0f : 0.0f, 1e-5f) << t << " " << r << c;
    }

    // Turning and scaling keep the pivot in place; the position then moves everything.
    DI_objectFrame g = Keyframe(0, 0, 0, 0, 0, 1, 90.0f, 3.0f);
    HLSL_point pivot = {10, 0, 5, 1};
    ASSERT_EQ(ComputeObjectFrameXform(&g, &pivot, m), 1);
    ExpectPoint(m, {10, 0, 5}, {10, 0, 5});
    ExpectPoint(m, {11, 0, 5}, {10, 3, 5});
    g.position = {0, -2, 1};
    ASSERT_EQ(ComputeObjectFrameXform(&g, &pivot, m), 1);
    ExpectPoint(m, {11, 0, 5}, {10, 1, 6});

    // A node turned a quarter and doubled in its base pose, keyed at a half turn and the same
    // size: one more quarter turn about its own pivot.
    DS3_model_tag child = BaseModel({0, 0, 0}, quarter, {2, 2, 2}, {3, 0, 0});
    DI_objectFrame k = {{0, 0, 0}, half, {2, 2, 2}};
    AnimationNode track;
    track.frames = {k};
    a = LoadAnimation(track);
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(ComputeObjectAnimationXform(a, 0.0f, &child, m), 1);
    ExpectPoint(m, {3, 0, 0}, {3, 0, 0});
    ExpectPoint(m, {4, 0, 0}, {3, 1, 0});
}

TEST_F(ObjectAnimTest, FramesBlendAndWrapRoundTheTrack)
{
    DS3_model_tag model = BaseModel({0, 0, 0}, {0, 0, 0, 1}, {1, 1, 1}, {0, 0, 0});
    DI_objectAnimation_tag* a = LoadAnimation(Slide(3));  // x = 0, 4, 8
    ASSERT_NE(a, nullptr);
    auto xAt = [&](float t) {
        matrix m;
        EXPECT_EQ(ComputeObjectAnimationXform(a, t, &model, m), 1);
        return m[3][0];
    };
    EXPECT_FLOAT_EQ(xAt(1.0f), 4.0f);
    EXPECT_FLOAT_EQ(xAt(1.5f), 6.0f);
    // After the last frame the track goes back to the first.
    EXPECT_FLOAT_EQ(xAt(2.25f), 6.0f);
    // Times outside the track are taken round it instead of reading past its frames.
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<std::pair<float, float>> outside = {{3.0f, 0.0f},   {4.5f, 6.0f},  {300.0f, 0.0f},
                                                          {-0.75f, 6.0f}, {-2.0f, 4.0f}, {-1e-9f, 0.0f},
                                                          {inf, 0.0f},    {-inf, 0.0f},  {std::nanf(""), 0.0f}};
    for (auto [t, x] : outside) EXPECT_FLOAT_EQ(xAt(t), x) << t;

    // A node without keyframes has no pose.
    DI_objectAnimation_tag* none = LoadAnimation(AnimationNode());
    ASSERT_NE(none, nullptr);
    matrix m;
    EXPECT_EQ(ComputeObjectAnimationXform(none, 0.0f, &model, m), 0);
}

TEST_F(ObjectAnimTest, BlendingRotationsLeavesTheResourceUntouched)
{
    // The second key holds its turn with the opposite sign, which the blend flips to take the
    // short way: it must flip a copy, not the keyframe that every object playing it shares.
    AnimationNode n;
    DI_objectFrame negated = Keyframe(0, 0, 0, 0, 0, 1, 90.0f);
    negated.rotation = {-negated.rotation.x, -negated.rotation.y, -negated.rotation.z, -negated.rotation.w};
    n.frames = {Keyframe(0, 0, 0, 0, 0, 1, 30.0f), negated};
    DI_objectAnimation_tag* a = LoadAnimation(n);
    ASSERT_NE(a, nullptr);
    const std::vector<uint8_t> before(reinterpret_cast<uint8_t*>(a), reinterpret_cast<uint8_t*>(a) + image.size());
    DS3_model_tag model = BaseModel({0, 0, 0}, {0, 0, 0, 1}, {1, 1, 1}, {0, 0, 0});
    matrix m, again;
    ASSERT_EQ(ComputeObjectAnimationXform(a, 0.5f, &model, m), 1);
    EXPECT_EQ(std::memcmp(before.data(), a, image.size()), 0);
    // Half way between 30 and 90 degrees about Z, and the same again the second time.
    ExpectPoint(m, {1, 0, 0}, {0.5f, 0.8660254f, 0}, 2e-3f);
    ASSERT_EQ(ComputeObjectAnimationXform(a, 0.5f, &model, again), 1);
    EXPECT_EQ(std::memcmp(m, again, sizeof m), 0);
}

}  // namespace
