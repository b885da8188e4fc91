// The build's game data: every model, font and bitmap in rom/ loads and initialises in the order
// the game loads them (textures before the models that use them), and the alley, pin and bowler
// models relocate, animate their textures and draw.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "content_models.h"
#include "content_shaders.h"
#include "gpu_recording.h"
#include "lib/memory.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/frame.h"
#include "platform/model.h"
#include "platform/render.h"
#include "platform/skeleton.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

HLSL_material Mat(const DS3_model_tag* m, uint32_t i)
{
    HLSL_material out{};
    EXPECT_EQ(ModelMaterial(m, i, &out), 1) << "material " << i;
    return out;
}

constexpr int kTypeSound = 127;
constexpr int kTypeFontInfo = 24;

class RomModels : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(96 << 20, 0x8000), 1);
        ASSERT_EQ(OpenBuildGameData("rom"), 1);
    }
    void TearDown() override
    {
        CloseBuildGameData();
        ReleaseDeviceHeap();
    }

    // Every material of a relocated model (and of its children) has its colour texture.
    static int TexturesBound(const DS3_model_tag* m, int depth = 0)
    {
        if (depth > kModelMaxDepth) return 0;
        for (uint32_t i = 0; i < m->numMaterials; ++i)
            if (!Mat(m, i).materialBitmap) return 0;
        for (const DS3_model_tag* c = m->children.get(); c; c = c->nextModel.get())
            if (!TexturesBound(c, depth + 1)) return 0;
        return 1;
    }

    DS3_model_tag* Model(int id)
    {
        EXPECT_EQ(ResourceType(id), kResourceTypeModel) << id;
        return static_cast<DS3_model_tag*>(ResourceHandle(id));
    }
};

// Loads every resource of the archive but the sounds, in id order: what fails is named.
TEST_F(RomModels, EveryModelFontAndBitmapLoads)
{
    int models = 0, bitmaps = 0, fonts = 0;
    std::vector<std::string> failures;
    auto count = [&](int id, int type) {
        if (type == kResourceTypeModel) {
            ++models;
            const auto* m = static_cast<const DS3_model_tag*>(ResourceHandle(id));
            if (!m || !TexturesBound(m)) failures.push_back("model " + std::to_string(id) + " lacks a texture");
        }
        if (type == kResourceTypeBitmap) ++bitmaps;
        if (type == kTypeFontInfo) ++fonts;
    };
    for (int id = 1; id < maxResources; ++id) {
        resourceHeader* r = nullptr;
        if (!GetResourceHeader(id, &r) || r->resourceLength <= 0 || r->resourceType == kTypeSound) continue;
        if (r->resourceType == kResourceTypeGroup) {
            if (!LoadResourceGroup(id)) {
                failures.push_back("group " + std::to_string(id));
                continue;
            }
            for (int k = 0; k < NumResourcesInGroup(id); ++k) count(id << 16 | k, ResourceType(id << 16 | k));
        } else {
            if (!ReadResource(id)) {
                failures.push_back("resource " + std::to_string(id) + " of type " + std::to_string(r->resourceType));
                continue;
            }
            count(id, r->resourceType);
        }
    }
    for (const std::string& f : failures) ADD_FAILURE() << f;
    // Six alleys of an environment, two layers each; eleven bodies; the lane objects.
    EXPECT_GE(models, 6 + 12 + 11 + 12);
    EXPECT_GE(bitmaps, 6 * 7 + 11 + 8 + 34 + 32);
    EXPECT_GE(fonts, 1) << "the fonts come with the text output";
}

TEST_F(RomModels, AlleyPinsAndBowlersRelocateAnimateAndDraw)
{
    const int alley = 2;
    const int env = (alley + 1) * 100, layers = mkrom::kAlleyLayerGroups[alley], marquee = mkrom::kAlleyMarqueeGroups[alley];
    ASSERT_EQ(LoadResourceGroup(marquee), 1);
    ASSERT_EQ(LoadResourceGroup(env), 1);
    ASSERT_EQ(LoadResourceGroup(layers), 1);
    ASSERT_EQ(LoadResourceRange(5000, 5016), 1);
    ASSERT_EQ(LoadResourceGroup(911), 1);
    DS3_model_tag* envModel = Model(env << 16 | (NumResourcesInGroup(env) - 1));
    DS3_model_tag* masking = Model(layers << 16 | 0);
    DS3_model_tag* pin = Model(kPinModel);
    DS3_model_tag* ball = Model(kBallModel);
    DS3_model_tag* skeletonModel = Model(911 << 16 | 0);
    DS3_model_tag* body = Model(911 << 16 | 2);
    for (DS3_model_tag* m : {envModel, masking, pin, ball, skeletonModel, body}) ASSERT_NE(m, nullptr);

    // The chase lights step through their frames with the game clock, back and forth.
    std::vector<DS3_bitmap_tag*> seen;
    for (int ms = 0; ms < 1200; ms += 200) {
        frameTicks = ms;
        ASSERT_EQ(UpdateModelTextureAnimation(masking), 1);
        seen.push_back(Mat(masking, 1).materialBitmap.get());
    }
    frameTicks = 0;
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(seen[size_t(k)], ResourceHandle(marquee << 16 | k)) << "frame " << k;
    EXPECT_EQ(seen[4], ResourceHandle(marquee << 16 | 2)) << "and back";
    EXPECT_EQ(Mat(masking, 0).materialBitmap.get(), ResourceHandle(env << 16 | 5)) << "still";

    // Recorded draws: one per strip; the skinned body with palettes of at most 16 bones.
    std::vector<uint8_t> container = mkrom::BuildShaderContainer(mkrom::VertexProgramSource());
    ASSERT_EQ(PrepareShaderState(container.data(), uint32_t(container.size())), 1);
    void* work = nullptr;
    ASSERT_EQ(AllocateClearedMemory(&work, 1024), 1);
    workBuffer = work;
    GpuRecording rec;
    auto draws = [&]() {
        int n = 0;
        for (const RegWrite& w : rec.Writes()) n += w.reg == kGpuRegDrawIndexed;
        return n;
    };
    for (DS3_model_tag* m : {envModel, masking, pin, ball}) {
        rec.Clear();
        ASSERT_EQ(DrawModel(m), 1);
        EXPECT_EQ(draws(), int(m->numStrips));
        EXPECT_EQ(rec.Last(kGpuRegVertexBase), m->vertexBufferHardwareAddress >> 3);
    }

    void* block = nullptr;
    ASSERT_EQ(AllocateClearedMemory(&block, int(sizeof(actor_tag))), 1);
    auto* actor = static_cast<actor_tag*>(block);
    for (matrix& b : actor->boneXforms) setIdentityMatrix(b);
    actor->actorModel = skeletonModel;
    EXPECT_EQ(body->flags & kModelFlagStripPalettes, kModelFlagStripPalettes);
    EXPECT_GE(body->numStrips, 2u) << "the body's bones do not fit one palette";
    rec.Clear();
    ASSERT_EQ(SetActorSkeletalXforms(actor, actor->worldXform), 1);
    ASSERT_EQ(DrawSkeleton(body), 1);
    EXPECT_EQ(draws(), int(body->numStrips));
    EXPECT_TRUE(rec.SentinelIntact());
    RenderSetShader(-1, 0, 0);
    workBuffer = nullptr;
    skeletalActor = nullptr;
}

}  // namespace
