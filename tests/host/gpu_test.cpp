// The host GPU's parts that need no GL context: texel formats and their sizes, the word writers,
// lookup-table entries, and the shader container that mkrom builds.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "content_shaders.h"
#include "host/gpuinternal.h"

namespace {

TEST(GpuTexels, SizesFollowTheFormatAndTheMipChain)
{
    EXPECT_EQ(GpuTextureByteSize(kPixelRGBA8, 64, 32, 1), 64u * 32 * 4);
    EXPECT_EQ(GpuTextureByteSize(kPixelRGB8, 10, 10, 1), 300u);
    EXPECT_EQ(GpuTextureByteSize(kPixelRGB565, 8, 8, 1), 128u);
    // 4-bit rows round up to whole bytes.
    EXPECT_EQ(GpuTextureByteSize(kPixelL4, 5, 3, 1), 9u);
    // A chain: 8x4, 4x2, 2x1, 1x1.
    EXPECT_EQ(GpuTextureByteSize(kPixelRGBA8Mip, 8, 4, 4), (32u + 8 + 2 + 1) * 4);
    EXPECT_EQ(GpuTextureByteSize(kPixelA8, 1, 256, 9), 256u + 128 + 64 + 32 + 16 + 8 + 4 + 2 + 1);
    // More levels than halvings, unknown formats and empty sizes have no size.
    EXPECT_EQ(GpuTextureByteSize(kPixelRGBA8, 8, 4, 5), 0u);
    EXPECT_EQ(GpuTextureByteSize(0, 8, 8, 1), 0u);
    EXPECT_EQ(GpuTextureByteSize(kPixelFormatCount + 1, 8, 8, 1), 0u);
    EXPECT_EQ(GpuTextureByteSize(kPixelRGBA8, 0, 8, 1), 0u);
    EXPECT_EQ(GpuTextureByteSize(kPixelRGBA8, 8, 8, 0), 0u);
    for (int f = 1; f <= kPixelFormatCount; ++f) EXPECT_GT(GpuTexelBits(f), 0) << f;
}

std::vector<uint8_t> Decode(int format, std::vector<uint8_t> src, int width)
{
    std::vector<uint8_t> rgba(size_t(width) * 4);
    EXPECT_TRUE(GpuDecodeTexels(format, src.data(), width, 1, rgba.data()));
    return rgba;
}

TEST(GpuTexels, PackedFormatsDecodeToFullRangeColours)
{
    // RGB565 little-endian: pure red, pure green, pure blue.
    EXPECT_EQ(Decode(kPixelRGB565, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00}, 3),
              std::vector<uint8_t>({255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255}));
    // RGBA5551: white with alpha 0; RGBA4: 0x8F3C.
    EXPECT_EQ(Decode(kPixelRGBA5551, {0xFE, 0xFF}, 1), std::vector<uint8_t>({255, 255, 255, 0}));
    EXPECT_EQ(Decode(kPixelRGBA4, {0x3C, 0x8F}, 1), std::vector<uint8_t>({0x88, 0xFF, 0x33, 0xCC}));
    EXPECT_EQ(Decode(kPixelLA8, {10, 200}, 1), std::vector<uint8_t>({10, 10, 10, 200}));
    EXPECT_EQ(Decode(kPixelA8, {77}, 1), std::vector<uint8_t>({255, 255, 255, 77}));
    EXPECT_EQ(Decode(kPixelLA4, {0xF0}, 1), std::vector<uint8_t>({255, 255, 255, 0}));
    // 4-bit texels: the first in the low half of the byte.
    EXPECT_EQ(Decode(kPixelL4, {0xF0}, 2), std::vector<uint8_t>({0, 0, 0, 255, 255, 255, 255, 255}));
    EXPECT_EQ(Decode(kPixelA4, {0x0F}, 2), std::vector<uint8_t>({255, 255, 255, 255, 255, 255, 255, 0}));
    // A flat normal (x = y = 0) gets z = 1.
    std::vector<uint8_t> normal = Decode(kPixelHiLo8, {128, 128}, 1);
    EXPECT_EQ(normal[2], 255);
    uint8_t dummy[4];
    EXPECT_FALSE(GpuDecodeTexels(99, normal.data(), 1, 1, dummy));
}

TEST(GpuWords, WritersPackHeadersAndValues)
{
    uint32_t words[8] = {0};
    uint32_t* end = GpuPutReg(words, kGpuRegCullMode, 2);
    EXPECT_EQ(end - words, 2);
    EXPECT_EQ(words[0], kGpuRegCullMode | 0xFu << 16);
    EXPECT_EQ(words[1], 2u);
    const uint32_t values[3] = {7, 8, 9};
    end = GpuPutRegs(words, kGpuRegUniformVector(79), values, 3);
    EXPECT_EQ(end - words, 4);
    EXPECT_EQ(words[0] >> 20, 2u) << "the count is stored less one";
    EXPECT_EQ(words[0] & 0xFFFF, uint32_t(kGpuRegUniform + 4 * 79));
    EXPECT_EQ(GpuHeader(kGpuRegLutD0, kGpuMaxRunWords) >> 20, 0xFFFu);
    EXPECT_EQ(GpuDepthColorMask(1, kGpuCompareLessEqual, 0xF, 0), 0xF51u);
    EXPECT_EQ(GpuTexParamsWithWrap(kGpuTexParamsNormal, kGpuWrapRepeat, kGpuWrapMirror), 6u | 2u << 8 | 3u << 12);
    EXPECT_EQ(GpuTexLodWithBias(5u << 16 | 0x1FFF, 256), 5u << 16 | 256);
}

TEST(GpuWords, LookupEntriesClampTheirValueAndSignTheirStep)
{
    EXPECT_EQ(GpuLutEntry(0.0f, 0.0f), 0u);
    EXPECT_EQ(GpuLutEntry(0.5f, 0.0f), 2048u);
    EXPECT_EQ(GpuLutEntry(1.0f, 0.0f), 4095u) << "1.0 does not fit 12 bits";
    EXPECT_EQ(GpuLutEntry(-0.3f, 0.0f), 0u);
    EXPECT_EQ(GpuLutEntry(0.0f, 0.25f), 512u << 12);
    EXPECT_EQ(GpuLutEntry(0.0f, -0.25f), 512u << 12 | 1u << 23);
    EXPECT_EQ(GpuLutEntry(0.0f, 5.0f), 2047u << 12);
    float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(GpuLutEntry(nan, nan), 0u);
}

uint32_t WordAt(const std::vector<uint8_t>& bytes, size_t at)
{
    uint32_t w;
    std::memcpy(&w, &bytes[at], 4);
    return w;
}

TEST(GpuShaderContainer, TheBuildsContainerDescribesTwelvePrograms)
{
    std::string source = mkrom::VertexProgramSource();
    ASSERT_FALSE(source.empty());
    std::vector<uint8_t> c = mkrom::BuildShaderContainer(source);
    ASSERT_EQ(c.size() % 4, 0u);
    EXPECT_EQ(WordAt(c, 0), kGpuShaderMagic);
    EXPECT_EQ(WordAt(c, 4) & 0xFF, 12u);
    uint32_t at = WordAt(c, 8), length = WordAt(c, 12);
    ASSERT_LE(at + length, c.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&c[at]), length), source);
    for (uint32_t p = 0; p < 12; ++p) {
        uint32_t record = WordAt(c, 16 + 4 * p);
        EXPECT_EQ(WordAt(c, record), p);
        bool lit = p != 0 && p != 2 && p != 11;
        bool colour = p == 3 || p == 5 || p == 10;
        uint32_t outputs = WordAt(c, record + 8);
        EXPECT_EQ(outputs, 2u + (lit ? 2 : 0) + (colour ? 1 : 0)) << p;
        // Registers rise and the first is the position.
        EXPECT_EQ(WordAt(c, record + 16), 0x03020100u);
        for (uint32_t k = 1; k < outputs; ++k) EXPECT_GT(WordAt(c, record + 12 + 8 * k), WordAt(c, record + 4 + 8 * k));
    }
}

}  // namespace
