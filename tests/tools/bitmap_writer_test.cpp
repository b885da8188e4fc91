// Bitmap resources written by mkrom: the texels decode back to the image in every format, the mip
// chain has the size the loader expects, and the game's loader accepts what the writer makes.
#include "bitmap_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "host/gpu.h"
#include "host/gpuinternal.h"
#include "lib/memory.h"
#include "platform/bitmap.h"
#include "support/device_heap.h"

namespace {

using mkrom::RgbaImage;

// A 5 x 3 image (odd sizes exercise the 4-bit row rounding) with distinct colours and alphas.
RgbaImage Sample()
{
    RgbaImage image(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            uint8_t* p = image.At(x, y);
            p[0] = uint8_t(x * 60), p[1] = uint8_t(y * 120), p[2] = uint8_t(255 - x * 50), p[3] = uint8_t(x * 63);
        }
    return image;
}

TEST(BitmapWriter, EveryFormatDecodesBackWithinItsPrecision)
{
    RgbaImage image = Sample();
    // Largest error a format's quantisation may make in any colour channel / alpha.
    struct Case {
        int format, colourError, alphaError;
        bool grey, colour, alpha;
    } cases[] = {
        {kPixelRGBA8, 0, 0, false, true, true},     {kPixelRGB8, 0, 0, false, true, false},
        {kPixelRGBA5551, 5, 0, false, true, false}, {kPixelRGB565, 5, 0, false, true, false},
        {kPixelRGBA4, 9, 9, false, true, true},     {kPixelLA8, 1, 0, true, false, true},
        {kPixelL8, 1, 0, true, false, false},       {kPixelA8, 0, 0, false, false, true},
        {kPixelLA4, 9, 9, true, false, true},       {kPixelL4, 9, 0, true, false, false},
        {kPixelA4, 0, 9, false, false, true},       {kPixelRGBA8Mip, 0, 0, false, true, true},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> texels = mkrom::EncodeTexels(image, c.format);
        ASSERT_EQ(texels.size(), GpuTextureLevelBytes(c.format, 5, 3)) << c.format;
        std::vector<uint8_t> back(5 * 3 * 4);
        ASSERT_EQ(GpuDecodeTexels(c.format, texels.data(), 5, 3, back.data()), 1);
        for (int i = 0; i < 15; ++i) {
            const uint8_t* in = &image.rgba[size_t(i) * 4];
            const uint8_t* out = &back[size_t(i) * 4];
            int grey = (in[0] * 77 + in[1] * 150 + in[2] * 29 + 128) >> 8;
            for (int k = 0; k < 3; ++k) {
                int want = c.grey ? grey : c.colour ? in[k] : 255;
                EXPECT_NEAR(out[k], want, c.colourError) << "format " << c.format << " texel " << i;
            }
            // The one-bit alpha keeps which texels are see-through.
            int alpha = c.alpha ? in[3] : c.format == kPixelRGBA5551 ? (in[3] >= 128 ? 255 : 0) : 255;
            EXPECT_NEAR(out[3], alpha, c.alphaError) << "format " << c.format << " texel " << i;
        }
    }
    EXPECT_TRUE(mkrom::EncodeTexels(image, 0).empty());
    EXPECT_TRUE(mkrom::EncodeTexels(image, kPixelFormatCount + 1).empty());
}

TEST(BitmapWriter, HalvingAveragesAndStopsAtOne)
{
    RgbaImage image(4, 1);
    for (int x = 0; x < 4; ++x) std::memset(image.At(x, 0), x < 2 ? 0 : 200, 4);
    image.At(1, 0)[0] = 100;
    RgbaImage half = mkrom::HalveImage(image);
    ASSERT_EQ(half.width, 2);
    ASSERT_EQ(half.height, 1);
    EXPECT_EQ(half.At(0, 0)[0], 50);
    EXPECT_EQ(half.At(1, 0)[3], 200);
    RgbaImage one = mkrom::HalveImage(mkrom::HalveImage(half));
    EXPECT_EQ(one.width, 1);
    EXPECT_EQ(one.height, 1);
}

TEST(BitmapWriter, HeaderAndChainMatchWhatTheLoaderReads)
{
    RgbaImage image(16, 8);
    for (size_t i = 0; i < image.rgba.size(); ++i) image.rgba[i] = uint8_t(i * 13);
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(mkrom::BitmapBytes(image, kPixelRGBA4, 4, 3051, &bytes, &error)) << error;
    ASSERT_EQ(bytes.size(), sizeof(DS3_bitmap_tag) + GpuTextureByteSize(kPixelRGBA4, 16, 8, 4));
    DS3_bitmap_tag h;
    std::memcpy(&h, bytes.data(), sizeof h);
    EXPECT_EQ(h.width, 16);
    EXPECT_EQ(h.height, 8);
    EXPECT_EQ(h.pitch, 32);
    EXPECT_EQ(h.physicalWidth, 16);
    EXPECT_EQ(h.numMipmapLevels, 4);
    EXPECT_FLOAT_EQ(h.heightInv, 0.125f);
    EXPECT_EQ(h.flags, uint32_t(kBitmapFontTable));
    EXPECT_EQ(h.fontTable.offset, 3051u);
    // Level 1 (8 x 4) follows level 0 and is the halved image.
    std::vector<uint8_t> level1 = mkrom::EncodeTexels(mkrom::HalveImage(image), kPixelRGBA4);
    EXPECT_EQ(0, std::memcmp(bytes.data() + sizeof h + 16 * 8 * 2, level1.data(), level1.size()));

    // Refusals: too many levels, an unknown format, an oversized or an empty image.
    EXPECT_FALSE(mkrom::BitmapBytes(image, kPixelRGBA4, 6, 0, &bytes, &error));
    EXPECT_FALSE(mkrom::BitmapBytes(image, 99, 1, 0, &bytes, &error));
    EXPECT_FALSE(mkrom::BitmapBytes(RgbaImage(2048, 4), kPixelL8, 1, 0, &bytes, &error));
    EXPECT_FALSE(mkrom::BitmapBytes(RgbaImage(), kPixelL8, 1, 0, &bytes, &error));
}

TEST(BitmapWriter, TheGameInitialisesAWrittenBitmap)
{
    ASSERT_EQ(UseFreshDeviceHeap(1 << 20), 1);
    RgbaImage image(8, 8);
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(mkrom::BitmapBytes(image, kPixelRGBA8Mip, 4, 0, &bytes, &error)) << error;
    void* p = nullptr;
    ASSERT_EQ(AllocateMemory(&p, int32_t(bytes.size())), 1);
    std::memcpy(p, bytes.data(), bytes.size());
    EXPECT_EQ(InitializeBitmapResource(static_cast<uint8_t*>(p), int32_t(bytes.size())), 1);
    auto* b = static_cast<DS3_bitmap_tag*>(p);
    EXPECT_EQ(b->pixels.get(), static_cast<uint8_t*>(p) + sizeof(DS3_bitmap_tag));
    EXPECT_EQ(b->hardwareRegisters[3], 4u << 16);
    // One byte short of the chain is refused.
    EXPECT_EQ(InitializeBitmapResource(static_cast<uint8_t*>(p), int32_t(bytes.size()) - 1), 0);
    ReleaseDeviceHeap();
}

}  // namespace
