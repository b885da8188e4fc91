// Models for the model tests: images made with mkrom's model writer, copied into a fresh game heap
// with a resource table, and bitmaps installed at resource ids for their materials.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bitmap_writer.h"
#include "host/gpu.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "model_writer.h"
#include "platform/bitmap.h"
#include "platform/model.h"
#include "support/device_heap.h"

// Material i of a relocated model.
inline HLSL_material Mat(const DS3_model_tag* m, uint32_t i)
{
    HLSL_material out{};
    EXPECT_EQ(ModelMaterial(m, i, &out), 1) << "material " << i;
    return out;
}

class ModelFixture : public ::testing::Test {
public:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
        ASSERT_EQ(InitResources(10000), 1);
    }
    void TearDown() override
    {
        FreeResources();
        ReleaseDeviceHeap();
    }

    // A copy of bytes in the game heap (128-byte aligned, as resources are loaded).
    uint8_t* Load(const std::vector<uint8_t>& bytes)
    {
        void* block = nullptr;
        EXPECT_EQ(AllocateMemory(&block, int(bytes.size())), 1);
        if (block) std::memcpy(block, bytes.data(), bytes.size());
        return static_cast<uint8_t*>(block);
    }

    // The writer's image of a node, loaded into the heap; *size gets its length.
    uint8_t* LoadModel(const mkrom::ModelNode& node, int32_t* size = nullptr)
    {
        std::vector<uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(mkrom::ModelBytes(node, &bytes, &error)) << error;
        if (size) *size = int32_t(bytes.size());
        return Load(bytes);
    }

    // Records a loaded resource of a type at an id of the table.
    static void Install(int id, void* data, int32_t size, int type)
    {
        resourceHeader& r = resourceHeaders[id];
        r.resourceType = int16_t(type);
        r.resourceLength = r.resourceUncompressedLength = size;
        r.resourceHandle = data;
    }

    // A plain-colour 8 x 8 bitmap, initialised and installed at id; delay and loopType for frames
    // of an animated texture.
    DS3_bitmap_tag* InstallBitmap(int id, uint8_t red, uint16_t delay = 0, uint8_t loopType = 0)
    {
        mkrom::RgbaImage image(8, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) image.At(x, y)[0] = red, image.At(x, y)[3] = 255;
        std::vector<uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(mkrom::BitmapBytes(image, kPixelRGBA8, 1, 0, &bytes, &error)) << error;
        uint8_t* data = Load(bytes);
        EXPECT_EQ(InitializeBitmapResource(data, int32_t(bytes.size())), 1);
        auto* b = reinterpret_cast<DS3_bitmap_tag*>(data);
        b->delay = delay;
        b->loopType = loopType;
        if (id < 10000) Install(id, data, int32_t(bytes.size()), kResourceTypeBitmap);
        return b;
    }

    // A quad in the xy plane with its four corners, one strip of four indices, material 0.
    static mkrom::ModelNode Quad(uint32_t texture, int format = 1)
    {
        mkrom::ModelNode n;
        n.format = format;
        n.materials.push_back(texture);
        for (int i = 0; i < 4; ++i) {
            mkrom::Vertex v;
            v.pos[0] = float(i & 1);
            v.pos[1] = float(i >> 1);
            n.vertices.push_back(v);
        }
        mkrom::AddStrip(n, 0, {0, 1, 2, 3});
        return n;
    }

    // A skeleton block: a root with `children` leaf children; the last child's sibling link holds
    // junk, as a file may leave it.
    static std::vector<uint8_t> Skeleton(uint32_t children)
    {
        const uint32_t n = children + 1;
        std::vector<uint8_t> b(16 + 8 * n + 32 * n, 0);
        std::memcpy(&b[0], &n, 4);
        for (uint32_t i = 0; i < n; ++i) {
            const uint32_t offset = 4 * i;
            std::memcpy(&b[16 + 4 * i], &offset, 4);
            std::memcpy(&b[16 + 4 * n + 4 * i], &offset, 4);
        }
        const size_t root = 16 + 8 * n;
        std::memcpy(&b[root + 16], &children, 4);
        const uint32_t junk = 0x12345670;
        std::memcpy(&b[root + 32 * n - 32 + 24], &junk, 4);
        return b;
    }
};
