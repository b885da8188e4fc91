// The bitmap resource's initialisation: pixel and font references, the GPU texture words, and the
// refusal of bitmaps whose texture would be read past their data.
#include "platform/bitmap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host/gpu.h"
#include "lib/memory.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "support/device_heap.h"

namespace {

class BitmapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(2 << 20), 1);
        ASSERT_EQ(InitResources(10000), 1);
    }
    void TearDown() override
    {
        FreeResources();
        ReleaseDeviceHeap();
    }

    // A bitmap resource in game memory: the header and, unless pixelBytes is 0, its pixels.
    DS3_bitmap_tag* Make(int format, int w, int h, uint32_t pixelBytes, int32_t* length)
    {
        *length = int32_t(sizeof(DS3_bitmap_tag) + pixelBytes);
        void* p = nullptr;
        if (!AllocateClearedMemory(&p, *length)) return nullptr;
        auto* b = static_cast<DS3_bitmap_tag*>(p);
        b->width = b->physicalWidth = uint16_t(w);
        b->height = b->physicalHeight = uint16_t(h);
        b->pixelFormat = uint16_t(format);
        b->numMipmapLevels = 1;
        b->widthInv = 1.0f / float(w);
        b->heightInv = 1.0f / float(h);
        b->pad[0] = 0xAB;
        return b;
    }
    void Install(int id, void* data, int32_t size, int type)
    {
        resourceHeader& r = resourceHeaders[id];
        r.resourceType = int16_t(type);
        r.resourceUncompressedLength = size;
        r.resourceLength = size;
        r.resourceHandle = static_cast<uint8_t*>(data);
    }
};

TEST_F(BitmapTest, TextureWordsDescribeTheBitmap)
{
    int32_t length;
    DS3_bitmap_tag* b = Make(kPixelRGBA8, 16, 8, 16 * 8 * 4, &length);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(InitializeResourceData(reinterpret_cast<uint8_t*>(b), kResourceTypeBitmap, 0, length), 1);
    EXPECT_EQ(b->pixels.get(), reinterpret_cast<uint8_t*>(b) + 128);
    EXPECT_EQ(b->pad[0], 0);
    EXPECT_EQ(b->hardwareRegisters[0], 0u);
    EXPECT_EQ(b->hardwareRegisters[1], (16u << 16) | 8u);
    EXPECT_EQ(b->hardwareRegisters[2], 6u);
    EXPECT_EQ(b->hardwareRegisters[3], 1u << 16);
    EXPECT_EQ(b->hardwareRegisters[4], GpuPhysicalAddress(b->pixels.get()) >> 3);
    EXPECT_EQ(b->hardwareRegisters[5], uint32_t(kPixelRGBA8 - 1));

    // The mip-blending format takes the alternative parameters.
    DS3_bitmap_tag* m = Make(kPixelRGBA8Mip, 4, 4, GpuTextureByteSize(kPixelRGBA8Mip, 4, 4, 3), &length);
    m->numMipmapLevels = 3;
    ASSERT_EQ(InitializeBitmapResource(reinterpret_cast<uint8_t*>(m), length), 1);
    EXPECT_EQ(m->hardwareRegisters[2], 38u);
    EXPECT_EQ(m->hardwareRegisters[3], 3u << 16);
}

TEST_F(BitmapTest, PixelsAndFontsFromOtherResources)
{
    int32_t length;
    DS3_bitmap_tag* b = Make(kPixelL8, 8, 8, 0, &length);
    b->flags = kBitmapPixelsInResource | kBitmapFontTable;
    b->pixels.offset = 4000;
    b->fontTable.offset = 4001;
    void* pixels = nullptr;
    void* font = nullptr;
    ASSERT_EQ(AllocateClearedMemory(&pixels, 64), 1);
    ASSERT_EQ(AllocateClearedMemory(&font, 32), 1);

    // Loaded in the wrong order: the pixels are not there yet.
    EXPECT_EQ(InitializeBitmapResource(reinterpret_cast<uint8_t*>(b), length), 0);
    Install(4000, pixels, 64, 0);
    EXPECT_EQ(InitializeBitmapResource(reinterpret_cast<uint8_t*>(b), length), 0) << "the font is not loaded";
    b->pixels.offset = 4000;
    Install(4001, font, 32, 0);
    ASSERT_EQ(InitializeBitmapResource(reinterpret_cast<uint8_t*>(b), length), 1);
    EXPECT_EQ(b->pixels.get(), pixels);
    EXPECT_EQ(b->fontTable.get(), font);

    // No pixel resource at all: the pointer stays null and the bitmap still loads.
    DS3_bitmap_tag* none = Make(kPixelL8, 8, 8, 0, &length);
    none->flags = kBitmapPixelsInResource;
    ASSERT_EQ(InitializeBitmapResource(reinterpret_cast<uint8_t*>(none), length), 1);
    EXPECT_EQ(none->pixels.get(), nullptr);
    EXPECT_EQ(none->hardwareRegisters[4], 0u);

    // A pixel resource too short for the texture is refused.
    DS3_bitmap_tag* big = Make(kPixelRGBA8, 64, 64, 0, &length);
    big->flags = kBitmapPixelsInResource;
    big->pixels.offset = 4000;
    EXPECT_EQ(InitializeBitmapResource(reinterpret_cast<uint8_t*>(big), length), 0);
}

TEST_F(BitmapTest, DamagedBitmapsAreRefused)
{
    int32_t length;
    DS3_bitmap_tag* b = Make(kPixelRGBA8, 16, 16, 16 * 16 * 4, &length);
    uint8_t* data = reinterpret_cast<uint8_t*>(b);
    EXPECT_EQ(InitializeBitmapResource(data, length - 1), 0) << "pixels cut short";
    EXPECT_EQ(InitializeBitmapResource(data, 100), 0) << "no whole header";
    b->numMipmapLevels = 2;
    EXPECT_EQ(InitializeBitmapResource(data, length), 0) << "a mip level past the data";
    b->numMipmapLevels = 1;
    b->pixelFormat = 14;
    EXPECT_EQ(InitializeBitmapResource(data, length), 0) << "an unknown texel format";
    b->pixelFormat = kPixelRGBA8;
    b->physicalWidth = 8;
    EXPECT_EQ(InitializeBitmapResource(data, length), 0) << "a texture narrower than the image";
}

}  // namespace
