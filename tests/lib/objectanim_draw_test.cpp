// Drawing models animated by object animations, recorded as GPU commands without a GPU.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bitmap_writer.h"
#include "content_shaders.h"
#include "lib/memory.h"
#include "lib/objectanim.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "mesh_shapes.h"
#include "model_writer.h"
#include "objectanim_writer.h"
#include "platform/gpu_recording.h"
#include "platform/model.h"
#include "platform/skeleton.h"
#include "support/device_heap.h"

namespace {

using mkrom::AnimationNode;
using mkrom::Keyframe;
using mkrom::ModelNode;

constexpr int kTexture = 6950;

class ObjectAnimDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
        ASSERT_EQ(InitResources(10000), 1);
        ASSERT_EQ(InitRadianTables(), 1);
        const std::vector<uint8_t> container = mkrom::BuildShaderContainer(mkrom::VertexProgramSource());
        ASSERT_EQ(PrepareShaderState(container.data(), uint32_t(container.size())), 1);

        // The texture every test model is painted with.
        mkrom::RgbaImage image(8, 8);
        std::vector<uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(mkrom::BitmapBytes(image, kPixelRGBA8, 1, 0, &bytes, &error)) << error;
        uint8_t* data = Load(bytes);
        ASSERT_EQ(InitializeResourceData(data, kResourceTypeBitmap, kTexture, int32_t(bytes.size())), 1);
        resourceHeader& r = resourceHeaders[kTexture];
        r.resourceType = kResourceTypeBitmap;
        r.resourceLength = r.resourceUncompressedLength = int32_t(bytes.size());
        r.resourceHandle = data;

        actor.reset(new actor_tag());
        actor->visible = 1;
        setTranslationMatrix(actor->actorXform, 1000.0f, 2000.0f, 3000.0f);
    }
    void TearDown() override
    {
        DisposeRadianTables();
        FreeResources();
        ReleaseDeviceHeap();
    }

    uint8_t* Load(const std::vector<uint8_t>& bytes)
    {
        void* p = nullptr;
        if (!AllocateClearedMemory(&p, int(bytes.size()) + 1)) return nullptr;
        std::memcpy(p, bytes.data(), bytes.size());
        return static_cast<uint8_t*>(p);
    }
    DS3_model_tag* LoadModel(const ModelNode& node)
    {
        std::vector<uint8_t> bytes;
        std::string error;
        if (!mkrom::ModelBytes(node, &bytes, &error)) return nullptr;
        uint8_t* data = Load(bytes);
        if (!data || !InitializeResourceData(data, kResourceTypeModel, 0, int32_t(bytes.size()))) return nullptr;
        return reinterpret_cast<DS3_model_tag*>(data);
    }
    DI_objectAnimation_tag* LoadAnimation(const AnimationNode& root)
    {
        std::vector<uint8_t> bytes = mkrom::ObjectAnimationBytes(root);
        uint8_t* data = Load(bytes);
        if (!data || !InitializeResourceData(data, kResourceTypeObjectAnimation, 0, int32_t(bytes.size()))) return nullptr;
        return reinterpret_cast<DI_objectAnimation_tag*>(data);
    }

    std::unique_ptr<actor_tag> actor;
};

// A node with one small box, so that it draws one strip.
ModelNode BoxNode()
{
    ModelNode node;
    node.format = 1;
    node.materials = {uint32_t(kTexture)};
    mkrom::AddBox(node, 0, {-1, -1, -1}, {1, 1, 1}, 1.0f);
    return node;
}

// A track of two keyframes standing at the same place.
AnimationNode At(float x, float y, float z)
{
    AnimationNode n;
    n.frames = {Keyframe(x, y, z, 0, 0, 1, 0), Keyframe(x, y, z, 0, 0, 1, 0)};
    return n;
}

int Draws(const GpuRecording& rec)
{
    int n = 0;
    for (const RegWrite& w : rec.Writes()) n += w.reg == kGpuRegDrawIndexed;
    return n;
}

TEST_F(ObjectAnimDrawTest, EveryNodeIsDrawnInTheActorsSpaceUntilAChildCountDiffers)
{
    ModelNode root = BoxNode();
    ModelNode first = BoxNode();
    first.children.push_back(BoxNode());
    root.children = {first, BoxNode()};
    actor->actorModel = LoadModel(root);
    ASSERT_NE(actor->actorModel, nullptr);

    // The root moves far along x; the last child only up. Were a child placed in its parent's
    // space, the root's move would carry over to it.
    AnimationNode track = At(100, 0, 0);
    AnimationNode firstTrack = At(0, 7, 0);
    firstTrack.children.push_back(At(0, 0, 9));
    track.children = {firstTrack, At(0, 0, 5)};
    DI_objectAnimation_tag* a = LoadAnimation(track);
    ASSERT_NE(a, nullptr);

    GpuRecording rec;
    ASSERT_EQ(DrawActorObjectAnimation(actor.get(), a, 0.5f), 1);
    EXPECT_EQ(Draws(rec), 4);
    // The model matrix of the last node drawn (stored transposed): its own move, then the actor's.
    EXPECT_FLOAT_EQ(s_Model3D[0][3], 1000.0f);
    EXPECT_FLOAT_EQ(s_Model3D[1][3], 2000.0f);
    EXPECT_FLOAT_EQ(s_Model3D[2][3], 3005.0f);

    // A hidden actor draws nothing and is no failure.
    rec.Clear();
    actor->visible = 0;
    EXPECT_EQ(DrawActorObjectAnimation(actor.get(), a, 0.5f), 1);
    EXPECT_EQ(Draws(rec), 0);
    actor->visible = 1;

    // One child track too many for the child model nodes: the root is drawn, then drawing stops.
    track.children.push_back(At(0, 0, 0));
    DI_objectAnimation_tag* three = LoadAnimation(track);
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(DrawActorObjectAnimation(actor.get(), three, 0.0f), 0);
    EXPECT_EQ(Draws(rec), 1);

    // Without child tracks only the node itself is drawn; without keyframes or a model, nothing.
    rec.Clear();
    DI_objectAnimation_tag* alone = LoadAnimation(At(0, 0, 0));
    DI_objectAnimation_tag* none = LoadAnimation(AnimationNode());
    ASSERT_TRUE(alone && none);
    EXPECT_EQ(DrawActorObjectAnimation(actor.get(), alone, 0.0f), 1);
    EXPECT_EQ(DrawActorObjectAnimation(actor.get(), none, 0.0f), 0);
    actor->actorModel = nullptr;
    EXPECT_EQ(DrawActorObjectAnimation(actor.get(), alone, 0.0f), 0);
    EXPECT_EQ(Draws(rec), 1);
}

}  // namespace
