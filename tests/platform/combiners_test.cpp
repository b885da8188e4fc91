#include "platform/combiners.h"

#include <gtest/gtest.h>

#include <cstring>

#include "gpu_recording.h"
#include "platform/camera.h"
#include "platform/lighting.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/shaders.h"

namespace {

TEST(CombinerWords, StagesPackIntoTheirFourWords)
{
    RenderInitCombiners();
    // Specular map x specular light + diffuse light; alpha texture 0 x constant.
    const DS3_textureCombiner& s = litSpecCombiners.combiner0;
    EXPECT_EQ(s.hardwareRegister0, 5u | 2u << 4 | 1u << 8 | 3u << 16 | 14u << 20);
    EXPECT_EQ(s.hardwareRegister2, 8u | 1u << 16);
    EXPECT_EQ(s.hardwareRegister3, 0u);
    // Alpha of texture 0 x specular light + previous, in the additive set's last stage.
    const DS3_textureCombiner& add = litSpecCombinersAdditive.combiner3;
    EXPECT_EQ(add.hardwareRegister0 & 0xFFF, 3u | 2u << 4 | 15u << 8);
    EXPECT_EQ(add.hardwareRegister1 & 0xF, 2u) << "the alpha of the source, spread over RGB";
    // Every set ends in two stages that pass the previous result on.
    EXPECT_EQ(vertexLitSpecCombiners.combiner5.hardwareRegister0 & 0xF, 15u);
    EXPECT_EQ(vertexLitSpecCombiners.combiner5.hardwareRegister2, 0u);
    // Only the flat and unlit sets start with opaque white.
    EXPECT_EQ(flatCombiners.combiner0.constRgba, 0xFFFFFFFFu);
    EXPECT_EQ(litCombiners.combiner0.constRgba, 0u);
}

class CombinerUpload : public ::testing::Test {
protected:
    void SetUp() override
    {
        RenderInitVertexStride();
        RenderInitCombiners();
        RenderInitLightSets();
        RenderInitLights();
        std::memset(&s_RenderState, 0, sizeof s_RenderState);
        setIdentityMatrix(shaderViewXform);
        displayID = kDisplayLower;
        std::memcpy(penColor, "\x10\x20\x30\xFF", 4);
        std::memcpy(colorModulation, "\x80\x80\x80\xFF", 4);
    }
    void TearDown() override { RenderSetShader(-1, 0, 0); }
};

TEST_F(CombinerUpload, SameProgramTwiceSendsTheSetOnce)
{
    GpuRecording rec;
    RenderResetShader();
    RenderSetShader(1, 0, 1);
    RenderSetShader(1, 0, 1);
    EXPECT_EQ(rec.WritesIn(kGpuRegCombiner(0), 5).size(), 5u);
    EXPECT_EQ(rec.WritesIn(kGpuRegCombiner(3), 5).size(), 5u);
    EXPECT_TRUE(rec.WritesIn(kGpuRegCombiner(4), 16).empty()) << "stages 4 and 5 never change";
    EXPECT_EQ(curTextureCombiner, &litSpecCombiners);
}

TEST_F(CombinerUpload, FlatAfterTexturedSwitchesSetAndConstant)
{
    GpuRecording rec;
    RenderResetShader();
    RenderSetShader(0, 0, 0);
    EXPECT_EQ(rec.Last(kGpuRegCombiner(0) + kGpuCombinerConstant), GpuRgba8(0x80, 0x80, 0x80, 0xFF));
    RenderSetShader(0, 1, 0);
    EXPECT_EQ(curTextureCombiner, &flatCombiners);
    EXPECT_EQ(rec.Last(kGpuRegCombiner(0) + kGpuCombinerSources), flatCombiners.combiner0.hardwareRegister0);
    EXPECT_EQ(rec.Last(kGpuRegCombiner(0) + kGpuCombinerConstant), GpuRgba8(0x10, 0x20, 0x30, 0xFF));

    // A new pen colour alone sends one word.
    rec.Clear();
    penColor[0] = 0x99;
    s_RenderState.isInvalidColor = 1;
    RenderSetShader(0, 1, 0);
    std::vector<RegWrite> w = rec.Writes();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].reg, kGpuRegCombiner(0) + kGpuCombinerConstant);
    EXPECT_EQ(w[0].value, GpuRgba8(0x99, 0x20, 0x30, 0xFF));
}

}  // namespace
