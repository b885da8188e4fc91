#include "platform/lighting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "gpu_recording.h"
#include "platform/camera.h"
#include "platform/combiners.h"
#include "platform/render.h"
#include "platform/shaders.h"

namespace {

TEST(LightingColour, ConvertColorClampsAndTruncates)
{
    const float rgba[4] = {1.5f, -0.2f, 0.5f, NAN};
    DS3_color c;
    ConvertColor(rgba, &c);
    EXPECT_EQ(c.red, 255);
    EXPECT_EQ(c.green, 0);
    EXPECT_EQ(c.blue, 127);
    EXPECT_EQ(c.alpha, 0);
}

TEST(LightingColour, ShininessSplitsTheSpecularColour)
{
    EXPECT_FLOAT_EQ(SpecularShare(2.0f), 0.0f) << "all of it in the second term";
    EXPECT_FLOAT_EQ(SpecularShare(-7.0f), 0.0f);
    EXPECT_FLOAT_EQ(SpecularShare(90.0f), 1.0f) << "all of it in the first term";
    EXPECT_FLOAT_EQ(SpecularShare(500.0f), 1.0f);
    EXPECT_FLOAT_EQ(SpecularShare(46.0f), 0.5f);
}

TEST(LightingTables, SpecularTablesAndTheirEncoding)
{
    const float* a = BuildBlinnPhongReflectionTables(0);
    const float* b = BuildBlinnPhongReflectionTables(1);
    float x = 128 * 0.0038769082f;
    EXPECT_FLOAT_EQ(a[128], x * x);
    EXPECT_NEAR(b[256], std::pow(256 * 0.0038769082f, 90.0f), 1e-6f);
    EXPECT_EQ(b[0], 0.0f);

    float ramp[kLightLutSamples];
    for (int i = 0; i < kLightLutSamples; i++) ramp[i] = 1.0f - float(i) / 128.0f;  // 1 down to -1
    ramp[3] = NAN;
    uint32_t words[kLightLutSamples - 1];
    DS3_EncodeLookupTable(ramp, words);
    EXPECT_EQ(words[0] & 0xFFF, 4095u) << "1.0 is limited to 4095";
    EXPECT_EQ(words[0] >> 23 & 1, 1u) << "a falling table has negative steps";
    EXPECT_EQ(words[0] >> 12 & 0x7FF, 16u) << "a step of 1/128 is 2048/128";
    EXPECT_EQ(words[3] & 0xFFF, 0u) << "not a number gives 0";
    EXPECT_EQ(words[200] & 0xFFF, 0u) << "values below 0 give 0";
}

class LightUpload : public ::testing::Test {
protected:
    void SetUp() override
    {
        RenderInitVertexStride();
        RenderInitCombiners();
        RenderInitLightSets();
        RenderInitLights();
        std::memset(&s_RenderState, 0, sizeof s_RenderState);
        setIdentityMatrix(shaderViewXform);
        displayID = kDisplayUpperLeft;
    }
    void TearDown() override
    {
        RenderSetShader(-1, 0, 0);
        setIdentityMatrix(shaderViewXform);
    }
};

TEST_F(LightUpload, NullLightsChangeNothing)
{
    DS3_lights before = s_PreLights;
    EXPECT_EQ(RenderSetLights(nullptr), 1);
    EXPECT_EQ(std::memcmp(&before, &s_PreLights, sizeof before), 0);
    EXPECT_EQ(s_RenderState.isInvalidLights, 0);
}

TEST_F(LightUpload, DirectionsTurnWithTheViewButDoNotMoveWithIt)
{
    // A view turned a quarter about z (x goes to y) and moved far away.
    setZRotationMatrix(shaderViewXform, 90.0f);
    shaderViewXform[3][0] = 500.0f;
    shaderViewXform[3][1] = -300.0f;
    shaderViewXform[3][2] = 1000.0f;

    DS3_lights l;
    std::memset(&l, 0, sizeof l);
    l.light1_red = 1.0f;
    l.light1_x = 1.0f;  // the light shines along +x
    l.specular_red = l.specular_green = l.specular_blue = 1.0f;
    l.specular_shininess = 46.0f;
    l.specular_x = 10.0f;
    RenderSetLights(&l);

    GpuRecording rec;
    RenderResetShader();
    RenderSetShader(1, 0, 0);
    uint32_t light0 = kGpuRegLight(0) + kGpuLightPosition;
    EXPECT_NEAR(GpuBitsFloat(rec.Last(light0 + 0)), 0.0f, 1e-6f);
    EXPECT_NEAR(GpuBitsFloat(rec.Last(light0 + 1)), -1.0f, 1e-6f) << "towards the light, turned, not moved";
    EXPECT_NEAR(GpuBitsFloat(rec.Last(light0 + 2)), 0.0f, 1e-6f);
    EXPECT_EQ(rec.Last(kGpuRegLight(0) + kGpuLightDiffuse), GpuRgba8(255, 0, 0, 0));

    // The specular light has a place: it turns and moves with the view.
    uint32_t light3 = kGpuRegLight(3);
    EXPECT_NEAR(GpuBitsFloat(rec.Last(light3 + kGpuLightPosition + 0)), 500.0f, 1e-3f);
    EXPECT_NEAR(GpuBitsFloat(rec.Last(light3 + kGpuLightPosition + 1)), -290.0f, 1e-3f);
    EXPECT_EQ(rec.Last(light3 + kGpuLightSpecular0), GpuRgba8(127, 127, 127, 0));
    EXPECT_EQ(rec.Last(light3 + kGpuLightSpecular1), GpuRgba8(127, 127, 127, 0));
    EXPECT_EQ(rec.Last(light3 + kGpuLightConfig) & kGpuLightDirectional, 0u);
    EXPECT_EQ(rec.Last(kGpuRegLightSet + kGpuLightSetEnabled), 0xFu);
}

TEST_F(LightUpload, LightSetOncePerDisplayAndTablesOncePerLife)
{
    GpuRecording rec;
    RenderResetShader();
    RenderSetShader(1, 0, 0);
    EXPECT_EQ(rec.WritesIn(kGpuRegLutD0, 256).size(), 256u);
    EXPECT_EQ(rec.WritesIn(kGpuRegLutD1, 256).size(), 256u);
    EXPECT_EQ(rec.WritesIn(kGpuRegLightSet, kGpuLightSetWords).size(), size_t(kGpuLightSetWords));

    rec.Clear();
    RenderSetShader(3, 0, 0);  // lit to lit: only the view became stale
    RenderSetShader(3, 0, 0);
    EXPECT_EQ(rec.WritesIn(kGpuRegLightSet, kGpuLightSetWords).size(), size_t(kGpuLightSetWords));

    rec.Clear();
    RenderResetShader();  // the next display
    RenderSetShader(2, 0, 0);
    EXPECT_TRUE(rec.WritesIn(kGpuRegLutD0, 0x200).empty()) << "the tables went once";
    EXPECT_EQ(rec.Last(kGpuRegLightSet + kGpuLightSetEnabled), 0u) << "unlit programs light nothing";
    EXPECT_TRUE(rec.WritesIn(kGpuRegLight0, 0x40).empty()) << "nor send light sources";
}

}  // namespace
