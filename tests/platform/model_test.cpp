// Model images: relocation of the blocks, children and skeleton, the tangent frames, texture
// look-ups, damaged images, texture-frame animation and model copies.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "content_bowler.h"
#include "lib/matrix.h"
#include "model_fixture.h"
#include "platform/frame.h"
#include "platform/skeleton.h"

namespace {

using ModelImage = ModelFixture;

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

TEST_F(ModelImage, BlocksChildrenAndBonesAreLinkedInPlace)
{
    DS3_bitmap_tag* colour = InstallBitmap(4000, 200);
    DS3_bitmap_tag* normal = InstallBitmap(4001, 100);
    mkrom::ModelNode parent = Quad(4000);
    parent.normalMaps = {4001};
    parent.skeleton = Skeleton(2);  // three bones: the block ends 8 bytes past a 16-byte boundary
    parent.children = {Quad(4000), Quad(4000)};
    parent.children[0].materials.push_back(4000);  // two materials, the second without a normal map
    int32_t size = 0;
    uint8_t* image = LoadModel(parent, &size);
    auto* m = reinterpret_cast<DS3_model_tag*>(image);
    m->nextModel.offset = 0x40;  // the parent's own sibling link is its parent's business
    ASSERT_EQ(DS3_InitializeModel(image, size), 1);

    EXPECT_EQ(m->vertList.get(), image + 384);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(m->indexList.get()), image + 384 + 4 * 32);
    EXPECT_EQ(m->stripList.get(), image + 384 + 4 * 32 + 8);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(m->materialList.get()), image + 384 + 4 * 32 + 8 + 16);
    EXPECT_EQ(Mat(m, 0).materialBitmap.get(), colour);
    EXPECT_EQ(Mat(m, 0).normalMap.get(), normal);
    EXPECT_EQ(Mat(m, 0).specularMap.get(), nullptr);
    EXPECT_EQ(m->vertexBufferHardwareAddress, GpuPhysicalAddress(m->vertList.get()));
    EXPECT_EQ(m->indexBufferHardwareOffset, GpuPhysicalAddress(m->indexList.get()) - m->vertexBufferHardwareAddress);
    EXPECT_EQ(m->nextModel.offset, 0x40u);

    HLSL_skeleton* skeleton = m->skeleton.get();
    ASSERT_NE(skeleton, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(skeleton) % 16, 0u);
    HLSL_bone_tag* root = skeleton->rootBone.get();
    ASSERT_NE(root->children.get(), nullptr);
    EXPECT_EQ(root->children.get()->nextBone.get(), root->children.get() + 1);
    EXPECT_EQ((root->children.get() + 1)->nextBone.get(), nullptr) << "the last sibling ends the list";

    DS3_model_tag* first = m->children.get();
    ASSERT_NE(first, nullptr);
    DS3_model_tag* second = first->nextModel.get();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->nextModel.get(), nullptr);
    EXPECT_EQ(first->numMaterials, 2u);
    EXPECT_EQ(Mat(first, 1).normalMap.get(), nullptr);
    // After an odd number of bones the child still starts where its vertices can be addressed.
    for (DS3_model_tag* child : {first, second}) {
        EXPECT_EQ(reinterpret_cast<uintptr_t>(child) % 16, 0u);
        EXPECT_EQ(child->vertexBufferHardwareAddress, GpuPhysicalAddress(child->vertList.get()));
        float corner[3];
        std::memcpy(corner, child->vertList.get() + 32 * 3, sizeof corner);
        EXPECT_EQ(corner[0], 1.0f);
        EXPECT_EQ(corner[1], 1.0f);
    }
    EXPECT_LE(reinterpret_cast<uint8_t*>(second) + 384, image + size);
}

TEST_F(ModelImage, MissingTexturesFailCleanly)
{
    mkrom::ModelNode node = Quad(4000);
    node.normalMaps = {4002};
    int32_t size = 0;
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(mkrom::ModelBytes(node, &bytes, &error));
    EXPECT_EQ(DS3_InitializeModel(Load(bytes), int32_t(bytes.size())), 0) << "no colour map";
    InstallBitmap(4000, 10);
    EXPECT_EQ(DS3_InitializeModel(Load(bytes), int32_t(bytes.size())), 0) << "no normal map";
    // A resource that is there but is not a bitmap does not pass for one.
    void* table = nullptr;
    ASSERT_EQ(AllocateClearedMemory(&table, 256), 1);
    Install(4002, table, 256, 1);
    EXPECT_EQ(DS3_InitializeModel(Load(bytes), int32_t(bytes.size())), 0);
    InstallBitmap(4002, 20);
    uint8_t* image = LoadModel(node, &size);
    EXPECT_EQ(DS3_InitializeModel(image, size), 1);
}

// Where q (x, y, z, w) takes a row vector v.
void Rotate(const float* q, const float* v, float* out)
{
    quaternion r = {q[0], q[1], q[2], q[3]};
    matrix m;
    setQuaternionMatrix(m, &r);
    for (int c = 0; c < 3; ++c) out[c] = v[0] * m[0][c] + v[1] * m[1][c] + v[2] * m[2][c];
}

TEST_F(ModelImage, TangentQuaternionsRebuildTheTangentFrame)
{
    InstallBitmap(4000, 10);
    for (int format : {4, 5}) {
        mkrom::ModelNode node = Quad(4000, format);
        // A normal off the axes and a tangent that is not quite perpendicular to it, with both
        // bitangent signs.
        const float n[3] = {0.0f, 0.6f, 0.8f};
        for (size_t i = 0; i < node.vertices.size(); ++i) {
            mkrom::Vertex& v = node.vertices[i];
            std::memcpy(v.normal, n, sizeof n);
            const float t[4] = {2.0f, 0.3f, 0.1f, i % 2 ? 1.0f : -1.0f};
            std::memcpy(v.tangent, t, sizeof t);
        }
        int32_t size = 0;
        uint8_t* image = LoadModel(node, &size);
        ASSERT_EQ(DS3_InitializeModel(image, size), 1);
        auto* m = reinterpret_cast<DS3_model_tag*>(image);
        const int at = format == 4 ? 32 : 36;
        for (uint32_t i = 0; i < m->numVerts; ++i) {
            float q[4];
            std::memcpy(q, m->vertList.get() + i * m->vertSize + at, sizeof q);
            EXPECT_NEAR(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3], 1.0f, 1e-5f);
            const float x[3] = {1, 0, 0}, y[3] = {0, 1, 0}, z[3] = {0, 0, 1};
            float tx[3], ty[3], tz[3];
            Rotate(q, x, tx);
            Rotate(q, y, ty);
            Rotate(q, z, tz);
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(tz[c], n[c], 1e-5f) << "the normal, vertex " << i;
            // The tangent with its part along the normal taken out: (2, 0.3, 0.1) - 0.26 n.
            float perp[3] = {2.0f, 0.3f - 0.26f * 0.6f, 0.1f - 0.26f * 0.8f};
            const float l = std::sqrt(perp[0] * perp[0] + perp[1] * perp[1] + perp[2] * perp[2]);
            const float sign = i % 2 ? -1.0f : 1.0f;  // the file's sign +1 turns the tangent round
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(tx[c], sign * perp[c] / l, 1e-5f) << "vertex " << i;
            float cross[3];
            crossVectors(tz, tx, cross);
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(ty[c], cross[c], 1e-5f) << "a right-handed frame";
        }
    }
}

TEST_F(ModelImage, DamagedImagesAreRefused)
{
    InstallBitmap(4000, 10);
    std::vector<uint8_t> bytes;
    std::string error;
    mkrom::ModelNode node = Quad(4000);
    node.children = {Quad(4000)};
    ASSERT_TRUE(mkrom::ModelBytes(node, &bytes, &error));
    const int32_t size = int32_t(bytes.size());
    EXPECT_EQ(DS3_InitializeModel(Load(bytes), 200), 0) << "shorter than its record";
    EXPECT_EQ(DS3_InitializeModel(Load(bytes), size - 384), 0) << "the child cut off";
    EXPECT_EQ(DS3_InitializeModel(nullptr, 1000), 0);

    struct Damage {
        const char* what;
        size_t at;  // byte of the parent's image
        uint32_t value;
    };
    const size_t strips = 384 + 4 * 32 + 8;
    const Damage damages[] = {
        {"more vertices than the image holds", 12, 1u << 28},
        {"an unknown vertex format", 20, 12},
        {"more children than the image holds", 240, 40},
        {"a strip with a material the model lacks", strips, 1},
        {"a strip drawing past the indices", strips + 12, 5},
        {"an index naming a vertex the model lacks", 384 + 4 * 32, 4},
    };
    for (const Damage& d : damages) {
        std::vector<uint8_t> damaged = bytes;
        if (d.at == strips || d.at == 384 + 4 * 32)
            std::memcpy(&damaged[d.at], &d.value, 2);
        else if (d.at == 20)
            damaged[d.at] = uint8_t(d.value);
        else
            std::memcpy(&damaged[d.at], &d.value, 4);
        EXPECT_EQ(DS3_InitializeModel(Load(damaged), size), 0) << d.what;
    }

    // A palette of seventeen bones cannot be uploaded for one draw.
    mkrom::ModelNode skinned = Quad(4000, 8);
    skinned.flags = kModelFlagStripPalettes;
    skinned.skeleton = Skeleton(20);
    skinned.strips[0].palette.assign(16, 1);
    ASSERT_TRUE(mkrom::ModelBytes(skinned, &bytes, &error)) << error;
    EXPECT_EQ(DS3_InitializeModel(Load(bytes), int32_t(bytes.size())), 1);
    bytes[384 + 4 * 48 + 8 + 10] = 17;
    EXPECT_EQ(DS3_InitializeModel(Load(bytes), int32_t(bytes.size())), 0);
    bytes[384 + 4 * 48 + 8 + 10] = 2;
    bytes[384 + 4 * 48 + 8 + 12] = 21;  // palette entry 1 names bone 21 of a 21-bone skeleton
    EXPECT_EQ(DS3_InitializeModel(Load(bytes), int32_t(bytes.size())), 0);
}

// A group of frames at group id 4100: one bitmap per delay, the last with loopType.
void InstallFrames(ModelFixture* f, const std::vector<uint16_t>& delays, uint8_t loopType,
                   std::vector<DS3_bitmap_tag*>* frames)
{
    const int n = int(delays.size());
    void* dir = nullptr;
    ASSERT_EQ(AllocateClearedMemory(&dir, int(sizeof(resourceGroupHeader) + n * sizeof(resourceHeader))), 1);
    auto* group = static_cast<resourceGroupHeader*>(dir);
    group->numResources = n;
    group->groupResourceHeaders = reinterpret_cast<resourceHeader*>(group + 1);
    for (int i = 0; i < n; ++i) {
        DS3_bitmap_tag* b = f->InstallBitmap(10000, uint8_t(i), delays[size_t(i)], i == n - 1 ? loopType : 0);
        resourceHeader& r = group->groupResourceHeaders.get()[i];
        r.resourceType = kResourceTypeBitmap;
        r.resourceHandle = b;
        frames->push_back(b);
    }
    resourceHeader& g = resourceHeaders[4100];
    g.resourceType = kResourceTypeGroup;
    g.resourceHandle = group;
}

TEST_F(ModelImage, TextureFramesFollowTheGameClock)
{
    std::vector<DS3_bitmap_tag*> frames;
    InstallFrames(this, {100, 200, 300}, 2, &frames);
    mkrom::ModelNode node = Quad(4100u << 16);
    node.materials.push_back(4000);  // a still texture beside it
    DS3_bitmap_tag* still = InstallBitmap(4000, 1);
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(mkrom::ModelBytes(node, &bytes, &error));
    uint8_t* image = Load(bytes);
    auto* m = reinterpret_cast<DS3_model_tag*>(image);
    // The frames' member ids lie beyond this test's resource table, so the materials are pointed
    // at their bitmaps by hand instead of by relocation.
    auto* mats = reinterpret_cast<HLSL_material*>(image + 384 + 4 * 32 + 8 + 16);
    m->materialList = mats;
    mats[0].materialBitmap = frames[0];
    mats[1].materialBitmap = still;

    // Back and forth over 100, 200, 300 ms: a cycle of 800 ms, shown first, second, third, second.
    const int ticks[] = {0, 99, 100, 299, 300, 599, 600, 799, 800, 950, 8000 + 650};
    const int expected[] = {0, 0, 1, 1, 2, 2, 1, 1, 0, 1, 1};
    for (size_t k = 0; k < sizeof ticks / sizeof ticks[0]; ++k) {
        frameTicks = ticks[k];
        ASSERT_EQ(UpdateModelTextureAnimation(m), 1);
        EXPECT_EQ(mats[0].materialBitmap.get(), frames[size_t(expected[k])]) << "at " << ticks[k] << " ms";
        EXPECT_EQ(mats[1].materialBitmap.get(), still);
    }

    // Looping forward: 100, 200, 300 ms make a 600 ms cycle.
    frames.back()->loopType = 0;
    frameTicks = 650;
    ASSERT_EQ(UpdateModelTextureAnimation(m), 1);
    EXPECT_EQ(mats[0].materialBitmap.get(), frames[0]);

    // Without its group the animation cannot go on.
    resourceHeaders[4100].resourceHandle = nullptr;
    EXPECT_EQ(UpdateModelTextureAnimation(m), 0);
    frameTicks = 0;
}

TEST_F(ModelImage, CopiesShareGeometryButNotMaterials)
{
    InstallBitmap(4000, 10);
    DS3_bitmap_tag* other = InstallBitmap(4001, 20);
    mkrom::ModelNode node = Quad(4000);
    node.materials.push_back(4000);
    int32_t size = 0;
    uint8_t* image = LoadModel(node, &size);
    ASSERT_EQ(DS3_InitializeModel(image, size), 1);
    Install(4500, image, size, kResourceTypeModel);
    auto* source = reinterpret_cast<DS3_model_tag*>(image);

    // Copies live in game memory, as a character's model buffer does.
    std::vector<uint8_t> zeros(1728);
    struct {
        uint8_t* p;
        uint8_t* data() { return p; }
    } buffer{Load(zeros)};
    uint8_t* cursor = buffer.data();
    DS3_model_tag* copy = CopyModel(4500, &cursor, buffer.data() + 864);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(cursor, buffer.data() + 384 + 2 * 24);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(copy->materialList.get()), buffer.data() + 384);
    EXPECT_EQ(copy->vertList.get(), source->vertList.get());
    EXPECT_EQ(copy->stripList.get(), source->stripList.get());
    SetModelMaterialBitmap(copy, 1, other);
    EXPECT_NE(Mat(source, 1).materialBitmap.get(), other);

    uint8_t* full = buffer.data();
    EXPECT_EQ(CopyModel(4500, &full, buffer.data() + 400), nullptr) << "no room for the materials";
    EXPECT_EQ(full, buffer.data());
    EXPECT_EQ(CopyModel(4501, &full, buffer.data() + 864), nullptr) << "not a loaded model";
}

}  // namespace
