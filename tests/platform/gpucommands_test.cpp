#include "platform/gpucommands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "gpu_recording.h"
#include "platform/camera.h"

namespace {

uint32_t DepthWord(int test, int write) { return GpuDepthColorMask(test, kGpuCompareLessEqual, 0xF, write); }

DS3_bitmap_tag MakeBitmap(uint32_t address)
{
    DS3_bitmap_tag b;
    std::memset(&b, 0, sizeof b);
    b.hardwareRegisters[1] = 64u << 16 | 32u;
    b.hardwareRegisters[2] = kGpuTexParamsNormal;
    b.hardwareRegisters[3] = 3u << 16;
    b.hardwareRegisters[4] = address >> 3;
    b.hardwareRegisters[5] = 0;
    return b;
}

TEST(GpuCommandsState, DepthWordKeepsTheOtherHalfFromItsCache)
{
    GpuRecording rec;
    zWriteEnabled = 0;
    RenderReset();
    // The reset writes the depth word twice: with the old write setting, then with writes on.
    std::vector<RegWrite> depth = rec.WritesIn(kGpuRegDepthColorMask, 1);
    ASSERT_EQ(depth.size(), 2u);
    EXPECT_EQ(depth[0].value, DepthWord(1, 0));
    EXPECT_EQ(depth[1].value, DepthWord(1, 1));

    RenderDisableZWrite();
    RenderEnableZBuffer();
    EXPECT_EQ(rec.Last(kGpuRegDepthColorMask), DepthWord(1, 0)) << "depth writes stay off";

    RenderEnableZWrite();
    RenderEnableOverlays();
    EXPECT_EQ(rec.Last(kGpuRegDepthColorMask), DepthWord(0, 0));
    RenderEnableZWrite();
    EXPECT_EQ(rec.Last(kGpuRegDepthColorMask), DepthWord(1, 1)) << "overlays leave the caches alone";
}

TEST(GpuCommandsState, CullingIsWrittenOnlyOnChangeOrAfterADisplayStart)
{
    GpuRecording rec;
    mirrorViewX = 0;
    backfaceCulling = -1;
    RenderEnableBackfaceCulling();
    RenderEnableBackfaceCulling();
    std::vector<RegWrite> cull = rec.WritesIn(kGpuRegCullMode, 1);
    ASSERT_EQ(cull.size(), 1u);
    EXPECT_EQ(cull[0].value, 1u) << "clockwise front faces: counter-clockwise ones are culled";

    backfaceCulling = -1;  // as a display start leaves it
    RenderEnableBackfaceCulling();
    EXPECT_EQ(rec.WritesIn(kGpuRegCullMode, 1).size(), 2u);

    RenderDisableBackfaceCulling();
    RenderDisableBackfaceCulling();
    cull = rec.WritesIn(kGpuRegCullMode, 1);
    ASSERT_EQ(cull.size(), 3u);
    EXPECT_EQ(cull[2].value, 0u);

    mirrorViewX = 1;
    RenderEnableBackfaceCulling();
    EXPECT_EQ(rec.Last(kGpuRegCullMode), 2u) << "a mirrored view culls the other side";
    mirrorViewX = 0;
}

TEST(GpuCommandsState, MipmapBiasEncoding)
{
    EXPECT_EQ(EncodeMipmapBias(1.0f), 256u);
    EXPECT_EQ(EncodeMipmapBias(-1.0f), 7936u);
    EXPECT_EQ(EncodeMipmapBias(0.0f), 0u);
    EXPECT_EQ(EncodeMipmapBias(NAN), 0u);
    EXPECT_EQ(EncodeMipmapBias(100.0f), EncodeMipmapBias(16.0f));
    EXPECT_EQ(EncodeMipmapBias(16.0f), 4095u) << "the largest positive 13-bit value";
    EXPECT_EQ(EncodeMipmapBias(-16.0f), 4096u);
}

TEST(GpuCommandsTextures, BindTakesWrapModesAndBiasAtBindTime)
{
    GpuRecording rec;
    DS3_bitmap_tag colour = MakeBitmap(0x1000);
    mipmapBiasFixed = 0;
    uWrapMode = 2;
    vWrapMode = 0;
    RenderSetMipmapBias(-1.0f);
    EXPECT_EQ(rec.UsedWords(), 0u) << "the bias waits for the next texture";
    DS3_SetTexture(&colour);
    uWrapMode = 0;  // too late for the texture already bound

    uint32_t unit0 = kGpuRegTexUnit(0);
    EXPECT_EQ(rec.Last(unit0 + 1), 64u << 16 | 32u);
    EXPECT_EQ(rec.Last(unit0 + 2), GpuTexParamsWithWrap(kGpuTexParamsNormal, kGpuWrapRepeat, kGpuWrapClampToEdge));
    EXPECT_EQ(rec.Last(unit0 + 3), 3u << 16 | 7936u);
    EXPECT_EQ(rec.Last(unit0 + 4), 0x1000u >> 3);
    EXPECT_EQ(rec.Last(kGpuRegTexEnable), 1u);
    RenderSetMipmapBias(0.0f);
}

TEST(GpuCommandsTextures, OnlyUnitsThatReceiveATextureAreEnabled)
{
    GpuRecording rec;
    DS3_bitmap_tag colour = MakeBitmap(0x1000), specular = MakeBitmap(0x2000);
    DS3_SetTextures(&colour, nullptr, nullptr);
    EXPECT_EQ(rec.Last(kGpuRegTexEnable), 1u);
    EXPECT_TRUE(rec.WritesIn(kGpuRegTexUnit(1), 8).empty());

    DS3_SetTextures(&colour, nullptr, &specular);
    EXPECT_EQ(rec.Last(kGpuRegTexEnable), 5u);
    EXPECT_EQ(rec.Last(kGpuRegTexUnit(2) + 4), 0x2000u >> 3);
    EXPECT_TRUE(rec.WritesIn(kGpuRegTexUnit(1), 8).empty());
}

TEST(GpuCommandsWords, UniformVectorsGoWzyx)
{
    GpuRecording rec;
    HLSL_point v[2] = {{1.0f, 2.0f, 3.0f, 4.0f}, {5.0f, 6.0f, 7.0f, 8.0f}};
    ASSERT_EQ(DS3_SetFloatUniformArray(10, 2, v), 1);
    std::vector<RegWrite> w = rec.Writes();
    ASSERT_EQ(w.size(), 8u);
    const float expect[8] = {4, 3, 2, 1, 8, 7, 6, 5};
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(w[i].reg, kGpuRegUniformVector(10) + uint32_t(i));
        EXPECT_EQ(GpuBitsFloat(w[i].value), expect[i]);
    }
    EXPECT_EQ(rec.UsedWords(), 9u) << "one run: a header and eight values";

    rec.Clear();
    EXPECT_EQ(DS3_SetFloatUniformArray(95, 2, v), 0) << "past the last vector";
    EXPECT_EQ(DS3_SetFloatUniformArray(-1, 1, v), 0);
    EXPECT_EQ(rec.UsedWords(), 0u);
}

TEST(GpuCommandsWords, VertexBaseAndIndexedStripDraw)
{
    GpuRecording rec;
    DS3_SetVertexBuffer(0x12340);
    DS3_DrawIndexedTristrip(0x60, 18);
    std::vector<RegWrite> w = rec.Writes();
    ASSERT_EQ(w.size(), 6u);
    EXPECT_EQ(w[0].reg, uint32_t(kGpuRegVertexBase));
    EXPECT_EQ(w[0].value, 0x12340u / 8);
    EXPECT_EQ(w[1].reg, uint32_t(kGpuRegIndexBuffer));
    EXPECT_EQ(w[1].value, 0x60u | kGpuIndex16);
    EXPECT_EQ(w[2].value, 18u);
    EXPECT_EQ(w[3].value, uint32_t(kGpuPrimitiveStrip));
    EXPECT_EQ(w[4].reg, uint32_t(kGpuRegDrawIndexed)) << "the draw comes after its parameters";
    EXPECT_EQ(w[5].reg, uint32_t(kGpuRegVertexCacheFlush));
}

TEST(GpuCommandsWords, AFullListDropsCommandsInsteadOfWritingPastIt)
{
    GpuRecording rec(11);
    HLSL_point v[2] = {};
    EXPECT_EQ(DS3_SetFloatUniformArray(0, 2, v), 1);  // 9 words
    EXPECT_EQ(DS3_SetFloatUniformArray(0, 1, v), 0);  // 5 more do not fit
    EXPECT_EQ(DS3_SetVertexBuffer(0x100), 1);         // 2 still do
    EXPECT_EQ(DS3_SetVertexBuffer(0x100), 0);
    EXPECT_EQ(rec.UsedWords(), 11u);
    EXPECT_EQ(commandOverflow, 1);
    EXPECT_TRUE(rec.SentinelIntact());
}

TEST(GpuCommandsWords, WritersOutsideABracketWriteNothing)
{
    commandStart = commandBuffer = commandLimit = nullptr;
    EXPECT_EQ(DS3_SetVertexBuffer(0x100), 0);
    EXPECT_EQ(DS3_WriteRegister(kGpuRegCullMode, 1), 0);
}

}  // namespace
