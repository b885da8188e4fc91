// The shader state on the GPU: geometry drawn through the program, transform and light uploads
// lands and is lit where the camera and the lights say.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "content_shaders.h"
#include "gpu_recording.h"
#include "platform/quads.h"
#include "platform/stereo.h"
#include "support/gpu_rig.h"

namespace {

class GlShaders : public ::testing::Test {
protected:
    GpuRig rig;
    DS3_bitmap_tag white;
    float* vertices = nullptr;  // room for four vertices of up to 8 floats, then the indices

    void SetUp() override
    {
        std::string why;
        ASSERT_EQ(GpuRigStart(&rig, 240, 400, &why), 1) << why;
        std::vector<uint8_t> container = mkrom::BuildShaderContainer(mkrom::VertexProgramSource());
        ASSERT_EQ(PrepareShaderState(container.data(), uint32_t(container.size())), 1);
        std::memcpy(colorModulation, "\xFE\xFE\xFE\xFF", 4);

        auto* texel = static_cast<uint8_t*>(GpuRigMemory(16));
        ASSERT_NE(texel, nullptr);
        std::memset(texel, 255, 4);
        std::memset(&white, 0, sizeof white);
        white.hardwareRegisters[1] = 1u << 16 | 1u;
        white.hardwareRegisters[2] = kGpuTexParamsNormal;
        white.hardwareRegisters[3] = 1u << 16;
        white.hardwareRegisters[4] = GpuPhysicalAddress(texel) >> 3;
        white.hardwareRegisters[5] = kPixelRGBA8 - 1;
        vertices = static_cast<float*>(GpuRigMemory(4 * 8 * sizeof(float) + 16));
        ASSERT_NE(vertices, nullptr);
        const uint16_t strip[4] = {0, 1, 2, 3};
        std::memcpy(vertices + 4 * 8, strip, sizeof strip);
    }
    void TearDown() override
    {
        isStereo = 0;
        displayID = kDisplayUpperLeft;
        GpuRigStop();
    }

    // A square of half-size `half` straight ahead at a distance, facing the camera, in the
    // vertex format of the program (2: position, texcoord; 1: position, normal, texcoord).
    void SetSquare(int program, float distance, float half)
    {
        const float corners[4][2] = {{-half, -half}, {half, -half}, {-half, half}, {half, half}};
        int stride = int(shaderDefs[program].stride / 4);
        for (int i = 0; i < 4; i++) {
            float* v = vertices + i * stride;
            v[0] = corners[i][0];
            v[1] = corners[i][1];
            v[2] = distance;
            if (program == 1) v[3] = 0.0f, v[4] = 0.0f, v[5] = -1.0f;  // towards the camera
            v[stride - 2] = float(i & 1);
            v[stride - 1] = float(i >> 1);
        }
    }

    // Draws the square for one display and returns the render image.
    std::vector<uint8_t> Draw(uint32_t display, int program)
    {
        GpuClearColor(0, 0, 0, 1);
        GpuClearDepth(1.0f);
        GpuClear(kGpuColorBufferBit | kGpuDepthBufferBit);
        displayID = display;
        EXPECT_EQ(DS3_BeginCommands(), 1);
        SetXform(nullptr);
        RenderSetShader(program, 0, 0);
        DS3_SetTexture(&white);
        DS3_SetVertexBuffer(GpuPhysicalAddress(vertices));
        DS3_DrawIndexedTristrip(4 * 8 * sizeof(float), 4);  // the indices follow the vertex room
        EXPECT_EQ(DS3_EndCommands(), 1);
        GpuRunCmdlist();
        EXPECT_EQ(GpuGetError(), kGpuNoError);
        return GpuRigImage();
    }

    // The landscape x (pixels from the left edge) of the centre of what was drawn: the portrait
    // image's row. -1 when nothing was drawn.
    float CentreX(const std::vector<uint8_t>& image)
    {
        double sum = 0;
        int count = 0;
        for (int row = 0; row < rig.height; row++)
            for (int col = 0; col < rig.width; col++)
                if (image[(size_t(row) * rig.width + col) * 4] > 64) sum += row + 0.5, count++;
        return count ? float(sum / count) : -1.0f;
    }

    float EyeX(uint32_t display, float distance, float half)
    {
        SetSquare(2, distance, half);
        return CentreX(Draw(display, 2));
    }
};

TEST_F(GlShaders, ANearSquareIsSeenInFrontAndAFarOneBehind)
{
    isStereo = 1;
    float base = s_StereoCamera.baseDistance;
    ASSERT_GT(base, 0.0f);

    float nearDistance = base * 0.5f;
    float left = EyeX(kDisplayUpperLeft, nearDistance, 5.0f);
    float right = EyeX(kDisplayUpperRight, nearDistance, 5.0f);
    ASSERT_GT(left, 0.0f);
    ASSERT_GT(right, 0.0f);
    // Crossed: the left eye sees a near object to the right of where the right eye sees it.
    float shift = -RenderGetCameraParallax(nearDistance);
    EXPECT_GT(shift, 2.0f);
    EXPECT_NEAR(left - 200.0f, shift, 1.5f);
    EXPECT_NEAR(right - 200.0f, -shift, 1.5f);

    float farDistance = base * 4.0f;
    left = EyeX(kDisplayUpperLeft, farDistance, 40.0f);
    right = EyeX(kDisplayUpperRight, farDistance, 40.0f);
    EXPECT_LT(left, right - 2.0f) << "uncrossed: behind the screen";

    left = EyeX(kDisplayUpperLeft, base, 10.0f);
    right = EyeX(kDisplayUpperRight, base, 10.0f);
    EXPECT_NEAR(left, right, 0.5f) << "no parallax at the depth level";
    EXPECT_NEAR(left, 200.0f, 0.5f);
}

TEST_F(GlShaders, ADirectionalLightAtSixtyDegreesGivesHalfTheColour)
{
    DS3_lights lights;
    std::memset(&lights, 0, sizeof lights);
    lights.light1_red = lights.light1_green = lights.light1_blue = 1.0f;
    // The view is moved far away: the light's direction must not care.
    shaderViewXform[3][0] = 400.0f;
    shaderViewXform[3][2] = -900.0f;
    SetSquare(1, 100.0f, 20.0f);

    lights.light1_z = 1.0f;  // shining straight away from the camera onto the square
    RenderSetLights(&lights);
    std::vector<uint8_t> image = Draw(kDisplayLower, 1);
    const uint8_t* centre = &image[(size_t(200) * rig.width + 120) * 4];
    EXPECT_NEAR(centre[0], 254, 2);

    lights.light1_x = std::sin(float(M_PI) / 3.0f);
    lights.light1_z = std::cos(float(M_PI) / 3.0f);
    RenderSetLights(&lights);
    image = Draw(kDisplayLower, 1);
    centre = &image[(size_t(200) * rig.width + 120) * 4];
    EXPECT_NEAR(centre[0], 127, 3);
    EXPECT_NEAR(centre[2], 127, 3);

    lights.light1_z = -1.0f;  // from behind the square
    lights.light1_x = 0.0f;
    RenderSetLights(&lights);
    image = Draw(kDisplayLower, 1);
    centre = &image[(size_t(200) * rig.width + 120) * 4];
    EXPECT_EQ(centre[0], 0);
}

}  // namespace
