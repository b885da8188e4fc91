#include "platform/shaders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gpu_recording.h"
#include "platform/stereo.h"

namespace {

// A shader container of `count` programs: program p has entry point p and outputs position in
// register 0 and texture coordinate 0 in register 2; lit programs also the normal quaternion in
// register 3.
std::vector<uint32_t> Container(uint32_t count)
{
    std::vector<uint32_t> w = {kGpuShaderMagic, count | 1u << 16, 0, 0};
    uint32_t table = uint32_t(w.size());
    w.resize(w.size() + count);
    for (uint32_t p = 0; p < count; p++) {
        w[table + p] = uint32_t(w.size() * 4);
        const uint32_t record[] = {p, kGpuProgramTexcoords, ShaderIsLit(int(p)) ? 3u : 2u, 0, 0x03020100, 2, 0x1F1F0D0C};
        w.insert(w.end(), std::begin(record), std::end(record));
        if (ShaderIsLit(int(p))) w.insert(w.end(), {3, 0x07060504});
    }
    return w;
}

int ReadContainer(const std::vector<uint32_t>& w, size_t bytes)
{
    return DS3_SetupShaderBinary(w.data(), uint32_t(bytes));
}

// clip = m x (x, y, z, 1) for a matrix read back from four uniform vectors.
void Transform(const GpuRecording& rec, int reg, const float p[4], float out[4])
{
    for (int r = 0; r < 4; r++) {
        float row[4];
        rec.Uniform(reg + r, row);
        out[r] = row[0] * p[0] + row[1] * p[1] + row[2] * p[2] + row[3] * p[3];
    }
}

// Where a camera-space point lands on the landscape screen, in clip units (x right, y up), with
// the matrices that the last RenderSetShader uploaded.
void ScreenPosition(const GpuRecording& rec, float x, float y, float z, float* sx, float* sy)
{
    const float p[4] = {x, y, z, 1.0f};
    float eye[4], clip[4];
    Transform(rec, kUniformModelView, p, eye);
    Transform(rec, kUniformProjection, eye, clip);
    // The GPU gets the landscape position (X, Y) as (-Y, X).
    *sx = clip[1] / clip[3];
    *sy = -clip[0] / clip[3];
}

class ShaderState : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<uint32_t> w = Container(12);
        ASSERT_EQ(PrepareShaderState(w.data(), uint32_t(w.size() * 4)), 1);
    }
    void TearDown() override
    {
        RenderSetShader(-1, 0, 0);
        displayID = kDisplayUpperLeft;
        isStereo = 0;
    }
};

TEST(ShaderFormats, StridesAndAttributeLayout)
{
    RenderInitVertexStride();
    const uint32_t strides[kNumShaders] = {20, 32, 20, 36, 48, 52, 36, 44, 48, 64, 52, 24};
    for (int p = 0; p < kNumShaders; p++) EXPECT_EQ(shaderDefs[p].stride, strides[p]) << "program " << p;
    // Program 9: position, normal, texcoord, index, weight, tangent.
    const DS3_ShaderInfo& info = s_ShaderInfo[9];
    EXPECT_EQ(info.numInputElements, 6u);
    EXPECT_EQ(info.inputLoadArrayTypes[3], GpuAttribFormat(32, 4, kGpuTypeUByte));
    EXPECT_EQ(info.inputLoadArrayTypes[5], GpuAttribFormat(48, 4, kGpuTypeFloat));
    EXPECT_EQ(info.inputRegisterMaps[5], 5u);
}

TEST(ShaderContainer, ReadsEntryPointsAndOutputMaps)
{
    std::vector<uint32_t> w = Container(12);
    ASSERT_EQ(ReadContainer(w, w.size() * 4), 1);
    const DS3_ShaderInfo& info = s_ShaderInfo[2];
    EXPECT_EQ(info.startAddress, 2u);
    EXPECT_EQ(info.outputRegisterMask, 0x5u);
    EXPECT_EQ(info.outputRegisterCount, 2u);
    EXPECT_EQ(info.outputRegisterAttributes[0], 0x03020100u);
    EXPECT_EQ(info.outputRegisterAttributes[1], kGpuOutEmptyRegister);
    EXPECT_EQ(info.outputRegisterAttributes[2], 0x1F1F0D0Cu);
    EXPECT_EQ(info.outputTexcoord, 1u);
    EXPECT_EQ(info.declaresModelViewQ, 0u);
    EXPECT_EQ(s_ShaderInfo[7].outputRegisterMask, 0xDu);
    EXPECT_EQ(s_ShaderInfo[7].declaresModelViewQ, 1u) << "a program with the normal quaternion reads it";
}

TEST(ShaderContainer, DamagedContainersAreRefusedAndChangeNothing)
{
    std::vector<uint32_t> good = Container(12);
    ASSERT_EQ(ReadContainer(good, good.size() * 4), 1);

    std::vector<uint32_t> w = Container(12);
    w[1] = 13;
    EXPECT_EQ(ReadContainer(w, w.size() * 4), 0) << "more than twelve programs";

    w = Container(12);
    w[4 + 3] = uint32_t(w.size() * 4);  // a record just past the end
    EXPECT_EQ(ReadContainer(w, w.size() * 4), 0);

    w = Container(12);
    w[w.size() - 5] = 8;  // the last (unlit) program claims eight output registers
    EXPECT_EQ(ReadContainer(w, w.size() * 4), 0);

    w = Container(12);
    w[w.size() - 2] = 0;  // registers out of order
    EXPECT_EQ(ReadContainer(w, w.size() * 4), 0);

    w = Container(12);
    w[2] = 16;
    w[3] = uint32_t(w.size() * 4);  // source running past the end
    EXPECT_EQ(ReadContainer(w, w.size() * 4), 0);

    w = Container(12);
    EXPECT_EQ(ReadContainer(w, w.size() * 4 - 4), 0) << "cut short by one word";
    EXPECT_EQ(ReadContainer(w, 8), 0) << "only the header";
    w[0] = 0;
    EXPECT_EQ(ReadContainer(w, w.size() * 4), 0) << "not a container";

    EXPECT_EQ(s_ShaderInfo[11].startAddress, 11u);
    EXPECT_EQ(s_ShaderInfo[11].outputRegisterMask, 0x5u);
}

TEST_F(ShaderState, ProgramSwitchUploadsOnlyWhatIsStale)
{
    GpuRecording rec;
    RenderResetShader();
    EXPECT_EQ(RenderSetShader(2, 0, 0), 1);
    EXPECT_EQ(rec.Last(kGpuRegProgramEntry), 2u);
    EXPECT_EQ(rec.Last(kGpuRegVertexStride), 20u);
    EXPECT_FALSE(rec.WritesIn(kGpuRegUniformVector(kUniformModelView), 16).empty());

    rec.Clear();
    EXPECT_EQ(RenderSetShader(2, 0, 0), 1);
    EXPECT_EQ(rec.UsedWords(), 0u) << "same program, nothing stale: nothing to send";

    EXPECT_EQ(RenderSetShader(12, 0, 0), 0);
    EXPECT_EQ(s_ActiveShader, 2);
    EXPECT_EQ(rec.UsedWords(), 0u);

    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {5, 6, 7, 1}};
    SetXform(m);
    RenderSetShader(2, 0, 0);
    float row0[4];
    rec.Uniform(kUniformModelView, row0);
    EXPECT_FLOAT_EQ(row0[3], 5.0f) << "the translation row becomes the fourth column";
    EXPECT_TRUE(rec.WritesIn(kGpuRegProgramEntry, 1).empty()) << "the program itself is not sent again";
}

TEST_F(ShaderState, SetXformNullIsTheIdentity)
{
    float m[4][4] = {{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {1, 2, 3, 1}};
    SetXform(m);
    EXPECT_FLOAT_EQ(s_Model3D[0][1], -1.0f);
    EXPECT_FLOAT_EQ(s_Model3D[2][3], 3.0f);
    SetXform(nullptr);
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 4; j++) EXPECT_FLOAT_EQ(s_Model3D[i][j], i == j ? 1.0f : 0.0f);
}

TEST_F(ShaderState, ModelViewRotationGoesAsAQuaternion)
{
    GpuRecording rec;
    RenderResetShader();
    matrix m;
    setZRotationMatrix(m, 90.0f);  // x turns to y
    SetXform(m);
    RenderSetShader(4, 0, 0);
    float q[4];
    rec.Uniform(kUniformModelViewQ, q);
    EXPECT_NEAR(q[2], 0.70710678f, 1e-5f);
    EXPECT_NEAR(q[3], 0.70710678f, 1e-5f);
    rec.Clear();
    RenderSetShader(2, 0, 0);
    EXPECT_TRUE(rec.WritesIn(kGpuRegUniformVector(kUniformModelViewQ), 4).empty()) << "an unlit program has none";
}

TEST_F(ShaderState, BumpModeFollowsTheBumpPrograms)
{
    GpuRecording rec;
    RenderResetShader();
    RenderSetShader(4, 0, 0);
    EXPECT_EQ(lightSet.bumpMode, 1u);
    RenderSetShader(9, 0, 0);
    EXPECT_EQ(lightSet.bumpMode, 1u);
    RenderSetShader(1, 0, 0);
    EXPECT_EQ(lightSet.bumpMode, 0u);
    EXPECT_EQ(rec.Last(kGpuRegLightSet + kGpuLightSetConfig) & 3u, 0u);
}

TEST_F(ShaderState, TwoDProjectionMapsScreenPixels)
{
    GpuRecording rec;
    RenderResetShader();
    RenderSetShader(0, 1, 0);
    float sx, sy;
    ScreenPosition(rec, 0.0f, 0.0f, 6.0f, &sx, &sy);
    EXPECT_NEAR(sx, -1.0f, 1e-5f);
    EXPECT_NEAR(sy, 1.0f, 1e-5f) << "pixel (0, 0) is the top-left corner";
    ScreenPosition(rec, 400.0f, 240.0f, 6.0f, &sx, &sy);
    EXPECT_NEAR(sx, 1.0f, 1e-5f);
    EXPECT_NEAR(sy, -1.0f, 1e-5f);

    RenderSetOffset2D(10, 20);
    RenderSetShader(0, 1, 0);
    ScreenPosition(rec, 10.0f, 20.0f, 6.0f, &sx, &sy);
    EXPECT_NEAR(sx, -1.0f, 1e-5f);
    EXPECT_NEAR(sy, 1.0f, 1e-5f);

    gInverted = 1;
    RenderSetOffset2D(0, 0);
    RenderSetShader(0, 1, 0);
    ScreenPosition(rec, 0.0f, 0.0f, 6.0f, &sx, &sy);
    EXPECT_NEAR(sx, 1.0f, 1e-5f);
    EXPECT_NEAR(sy, -1.0f, 1e-5f);
    gInverted = 0;
    RenderSetOffset2D(0, 0);

}

TEST_F(ShaderState, MonoViewIsUprightAndCentred)
{
    GpuRecording rec;
    RenderResetShader();
    RenderSetShader(2, 0, 0);
    float sx, sy;
    ScreenPosition(rec, 0.0f, 0.0f, 100.0f, &sx, &sy);
    EXPECT_NEAR(sx, 0.0f, 1e-6f);
    EXPECT_NEAR(sy, 0.0f, 1e-6f);
    // Camera space has y down: a point above the axis is drawn in the upper half; one to the
    // right in the right half.
    ScreenPosition(rec, 30.0f, -30.0f, 100.0f, &sx, &sy);
    EXPECT_NEAR(sx, 0.3f, 1e-5f);
    EXPECT_NEAR(sy, 0.5f, 1e-5f);
}

// The screen x of a point straight ahead at a distance, seen by one display.
float EyeX(uint32_t display, float distance)
{
    GpuRecording rec;
    displayID = display;
    RenderResetShader();
    RenderSetShader(2, 0, 0);
    float sx, sy;
    ScreenPosition(rec, 0.0f, 0.0f, distance, &sx, &sy);
    RenderSetShader(-1, 0, 0);
    return sx;
}

TEST_F(ShaderState, StereoEyesSeeNearPointsInFrontOfTheScreen)
{
    isStereo = 1;
    ASSERT_GT(s_StereoCamera.baseDistance, 0.0f);
    float base = s_StereoCamera.baseDistance;

    // In front of the screen plane: crossed, the left eye (0x400) sees the point further right.
    EXPECT_GT(EyeX(kDisplayUpperLeft, base * 0.5f), EyeX(kDisplayUpperRight, base * 0.5f) + 1e-3f);
    // At the depth level: no parallax.
    EXPECT_NEAR(EyeX(kDisplayUpperLeft, base), EyeX(kDisplayUpperRight, base), 1e-5f);
    // Behind it: the left eye sees it further left, and the 2D parallax agrees in sign.
    float far = base * 4.0f;
    EXPECT_LT(EyeX(kDisplayUpperLeft, far), EyeX(kDisplayUpperRight, far) - 1e-3f);
    EXPECT_GT(RenderGetCameraParallax(far), 0);
    EXPECT_LT(RenderGetCameraParallax(base * 0.25f), 0);

    // The lower screen and mono drawing have none.
    EXPECT_NEAR(EyeX(kDisplayLower, base * 0.5f), 0.0f, 1e-6f);
    isStereo = 0;
    EXPECT_NEAR(EyeX(kDisplayUpperLeft, base * 0.5f), 0.0f, 1e-6f);
}

TEST_F(ShaderState, NoParallaxWithoutStereoStrength)
{
    EXPECT_GT(RenderGetCameraParallax(100000.0f), 0);
    RenderSetCameraParallaxScale(0.0f);
    UpdateModelView3D();  // the next eye matrices take the new strength
    EXPECT_EQ(RenderGetCameraParallax(100000.0f), 0);
    EXPECT_EQ(RenderGetCameraParallax(-5.0f), 0);
}

TEST_F(ShaderState, BoneMatricesStopAtTheirRegisters)
{
    GpuRecording rec;
    std::vector<float> bones(20 * 16, 1.0f);
    RenderSetXForms4Bones(bones.data(), 20);
    EXPECT_EQ(rec.WritesIn(kGpuRegUniformVector(kUniformBones), 4 * 65).size(), 16u * 16u);
    EXPECT_TRUE(rec.WritesIn(kGpuRegUniformVector(kUniformConst4), 4).empty()) << "the constants stay";
}

}  // namespace
