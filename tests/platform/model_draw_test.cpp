// Drawing models, recorded without a GPU: per-strip textures and draws of rigid models, the bone
// matrices uploaded for skinned ones (per strip with palettes, once without), and the limit of
// sixteen bones a draw can take.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "content_shaders.h"
#include "gpu_recording.h"
#include "model_fixture.h"
#include "platform/render.h"
#include "platform/skeleton.h"

namespace {

struct Draw {
    uint32_t indexOffset;
    uint32_t count;
    uint32_t textureAddress;  // unit 0's texel address word when the draw was made
    float bone0Row0[4];       // uniform vector 9 (the first bone's first row) at the draw
};

class ModelDraw : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        std::vector<uint8_t> container = mkrom::BuildShaderContainer(mkrom::VertexProgramSource());
        ASSERT_EQ(PrepareShaderState(container.data(), uint32_t(container.size())), 1);
        // The work buffer with a guard after its 1024 bytes.
        void* block = nullptr;
        ASSERT_EQ(AllocateClearedMemory(&block, 1024 + kGuard), 1);
        workBuffer = block;
        std::memset(static_cast<uint8_t*>(block) + 1024, 0xA5, kGuard);
        RenderResetShader();
        backfaceCulling = -1;
    }
    void TearDown() override
    {
        RenderSetShader(-1, 0, 0);
        workBuffer = nullptr;
        skeletalActor = nullptr;
        ModelFixture::TearDown();
    }
    int GuardIntact() const
    {
        const uint8_t* g = static_cast<const uint8_t*>(workBuffer) + 1024;
        for (int i = 0; i < kGuard; ++i)
            if (g[i] != 0xA5) return 0;
        return 1;
    }

    // The draws of a recording in order, with the state each one was made with.
    static std::vector<Draw> Draws(const GpuRecording& rec)
    {
        std::vector<Draw> draws;
        uint32_t regs[kGpuRegisterCount] = {};
        for (const RegWrite& w : rec.Writes()) {
            regs[w.reg] = w.value;
            if (w.reg != kGpuRegDrawIndexed) continue;
            Draw d;
            d.indexOffset = regs[kGpuRegIndexBuffer] & ~kGpuIndex16;
            d.count = regs[kGpuRegIndexCount];
            d.textureAddress = regs[kGpuRegTexUnit(0) + 4];
            const uint32_t v = kGpuRegUniformVector(kUniformBones);
            for (int c = 0; c < 4; ++c) d.bone0Row0[3 - c] = GpuBitsFloat(regs[v + uint32_t(c)]);
            draws.push_back(d);
        }
        return draws;
    }

    // An actor whose bone b is a translation by (10 b, 0, 0).
    actor_tag* BoneActor(DS3_model_tag* model)
    {
        void* block = nullptr;
        EXPECT_EQ(AllocateClearedMemory(&block, int(sizeof(actor_tag))), 1);
        auto* actor = static_cast<actor_tag*>(block);
        for (int b = 0; b < kMaxBones; ++b) {
            setIdentityMatrix(actor->boneXforms[b]);
            actor->boneXforms[b][3][0] = 10.0f * float(b);
        }
        actor->actorModel = model;
        return actor;
    }

    static constexpr int kGuard = 256;
};

TEST_F(ModelDraw, RigidStripsBindTheirTexturesAndDrawTheirIndices)
{
    DS3_bitmap_tag* a = InstallBitmap(4000, 10);
    DS3_bitmap_tag* b = InstallBitmap(4001, 20);
    mkrom::ModelNode node = Quad(4000);
    node.materials.push_back(4001);
    node.flags = kModelFlagCull | kModelFlagRepeat;
    mkrom::AddStrip(node, 1, {3, 2, 1});
    int32_t size = 0;
    uint8_t* image = LoadModel(node, &size);
    ASSERT_EQ(DS3_InitializeModel(image, size), 1);
    auto* m = reinterpret_cast<DS3_model_tag*>(image);

    GpuRecording rec;
    ASSERT_EQ(DrawModel(m), 1);
    EXPECT_EQ(rec.Last(kGpuRegVertexBase), m->vertexBufferHardwareAddress >> 3);
    EXPECT_EQ(rec.Last(kGpuRegCullMode), 1u);
    EXPECT_EQ((rec.Last(kGpuRegTexUnit(0) + 2) >> 8) & 3, uint32_t(kGpuWrapRepeat));
    const std::vector<Draw> draws = Draws(rec);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].indexOffset, m->indexBufferHardwareOffset);
    EXPECT_EQ(draws[0].count, 4u);
    EXPECT_EQ(draws[0].textureAddress, a->hardwareRegisters[4]);
    EXPECT_EQ(draws[1].indexOffset, m->indexBufferHardwareOffset + 2 * 4);
    EXPECT_EQ(draws[1].count, 3u);
    EXPECT_EQ(draws[1].textureAddress, b->hardwareRegisters[4]);
    EXPECT_TRUE(rec.SentinelIntact());

    // Without the culling and repeat flags: culling off, textures clamped.
    m->flags = 0;
    rec.Clear();
    ASSERT_EQ(DrawModel(m), 1);
    EXPECT_EQ(rec.Last(kGpuRegCullMode), 0u);
    EXPECT_EQ((rec.Last(kGpuRegTexUnit(0) + 2) >> 8) & 3, uint32_t(kGpuWrapClampToEdge));

    m->numStrips = 0;
    rec.Clear();
    EXPECT_EQ(DrawModel(m), 0);
    EXPECT_EQ(DrawSkeleton(m), 1);
    EXPECT_EQ(DrawSkeleton(nullptr), 1);
    EXPECT_EQ(DrawModel(nullptr), 0);
    EXPECT_TRUE(Draws(rec).empty());
}

TEST_F(ModelDraw, PaletteStripsUploadTheirOwnBones)
{
    InstallBitmap(4000, 10);
    mkrom::ModelNode node = Quad(4000, 8);
    node.flags = kModelFlagStripPalettes;
    node.skeleton = Skeleton(9);
    node.strips[0].palette = {5, 2};
    mkrom::Strip second;
    second.indices = {0, 1, 2};
    second.palette = {7};
    node.strips.push_back(second);
    int32_t size = 0;
    uint8_t* image = LoadModel(node, &size);
    ASSERT_EQ(DS3_InitializeModel(image, size), 1);
    auto* m = reinterpret_cast<DS3_model_tag*>(image);
    actor_tag* actor = BoneActor(m);

    GpuRecording rec;
    EXPECT_EQ(SetActorSkeletalXforms(actor, actor->worldXform), 1);
    EXPECT_EQ(skeletalActor, actor);
    ASSERT_EQ(DrawSkeleton(m), 1);
    const std::vector<Draw> draws = Draws(rec);
    ASSERT_EQ(draws.size(), 2u);
    // Bone matrices arrive transposed: the first row ends in the bone's x translation.
    EXPECT_FLOAT_EQ(draws[0].bone0Row0[0], 1.0f);
    EXPECT_FLOAT_EQ(draws[0].bone0Row0[3], 50.0f) << "the first strip's entry 0 is bone 5";
    EXPECT_FLOAT_EQ(draws[1].bone0Row0[3], 70.0f) << "the second strip's entry 0 is bone 7";
    EXPECT_EQ(draws[1].indexOffset, m->indexBufferHardwareOffset + 2 * 4);
    float second1[4];
    rec.Uniform(kUniformBones + 4, second1);
    EXPECT_FLOAT_EQ(second1[3], 20.0f) << "entry 1 (bone 2) of the first strip";
    EXPECT_TRUE(GuardIntact());

    // Palettes with no actor prepared draw nothing.
    skeletalActor = nullptr;
    rec.Clear();
    EXPECT_EQ(DrawSkeleton(m), 0);
    EXPECT_TRUE(Draws(rec).empty());
}

TEST_F(ModelDraw, SkeletonsBeyondSixteenBonesStayInTheRegisters)
{
    InstallBitmap(4000, 10);
    for (uint32_t children : {3u, 73u}) {
        mkrom::ModelNode node = Quad(4000, 6);
        node.skeleton = Skeleton(children);
        int32_t size = 0;
        uint8_t* image = LoadModel(node, &size);
        ASSERT_EQ(DS3_InitializeModel(image, size), 1);
        auto* m = reinterpret_cast<DS3_model_tag*>(image);
        actor_tag* actor = BoneActor(m);

        GpuRecording rec;
        ASSERT_EQ(SetActorSkeletalXforms(actor, actor->worldXform), 1);
        EXPECT_TRUE(GuardIntact()) << children + 1 << " bones";
        ASSERT_EQ(DrawSkeleton(m), 1);
        const int bones = children + 1 < 16 ? int(children) + 1 : 16;
        float row[4];
        rec.Uniform(kUniformBones + 4 * (bones - 1), row);
        EXPECT_FLOAT_EQ(row[3], 10.0f * float(bones - 1)) << "the last bone uploaded";
        for (const RegWrite& w : rec.Writes())
            EXPECT_FALSE(w.reg >= kGpuRegUniformVector(kUniformBones + 4 * bones) &&
                         w.reg < kGpuRegUniformVector(kUniformConst4))
                << "no bone past " << bones;
        EXPECT_EQ(Draws(rec).size(), 1u);
        EXPECT_TRUE(rec.SentinelIntact());
    }
}

}  // namespace
