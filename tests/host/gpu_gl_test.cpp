// The host GPU on a real GL context (headless): command lists, clears, transfers and swaps, and
// the pixels that draws produce. Suites named Gl... carry the CTest label gl.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "host/arena.h"
#include "support/gpu_rig.h"

namespace {

const int kWidth = 480, kHeight = 800;  // the upper screen's render image at twice its size

class GlGpu : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string why;
        ASSERT_TRUE(GpuRigStart(&rig, kWidth, kHeight, &why)) << why;
    }
    void TearDown() override { GpuRigStop(); }
    GpuRig rig;
};

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

int Lit(int program) { return program != 0 && program != 2 && program != 11; }

// The program's entry and output map, as the shader binary declares them.
void UseProgram(GpuWords* w, int program)
{
    std::vector<uint32_t> maps = {0x03020100, 0x1F1F0D0C};
    if (Lit(program)) {
        maps.push_back(0x07060504);
        maps.push_back(0x1F141312);
    }
    uint32_t count = uint32_t(maps.size());
    while (maps.size() < 7) maps.push_back(kGpuOutEmptyRegister);
    w->Reg(kGpuRegProgramEntry, uint32_t(program));
    w->Reg(kGpuRegOutputCount, count);
    w->Reg(kGpuRegOutputMask, (1u << count) - 1);
    w->Regs(kGpuRegOutputMap, maps);
    w->Matrix(0, kIdentity);
    w->Matrix(4, kIdentity);
}

// Vertices at base with float attributes of the given component counts, input register k for
// attribute k.
void UseLayout(GpuWords* w, const void* base, std::vector<uint32_t> components)
{
    uint32_t offset = 0;
    std::vector<uint32_t> formats;
    for (uint32_t c : components) {
        formats.push_back(GpuAttribFormat(offset, c, kGpuTypeFloat));
        offset += 4 * c;
    }
    w->Reg(kGpuRegVertexBase, GpuPhysicalAddress(base) / 8);
    w->Reg(kGpuRegVertexStride, offset);
    w->Reg(kGpuRegAttribCount, uint32_t(components.size()));
    w->Regs(kGpuRegAttribFormat, formats);
    w->Regs(kGpuRegAttribInputMap, {0x76543210, 0x0000BA98});
}

// A quad over the whole render image as a strip (top-left, top-right, bottom-left,
// bottom-right), at depth 0.5; extra holds the per-vertex values after the position.
void* Quad(std::vector<std::vector<float>> extra)
{
    const float corners[4][2] = {{-1, 1}, {1, 1}, {-1, -1}, {1, -1}};
    std::vector<float> data;
    for (int i = 0; i < 4; ++i) {
        data.insert(data.end(), {corners[i][0], corners[i][1], -0.5f});
        data.insert(data.end(), extra[size_t(i)].begin(), extra[size_t(i)].end());
    }
    uint8_t* p = static_cast<uint8_t*>(GpuRigMemory(uint32_t(data.size() * 4 + 16)));
    std::memcpy(p, data.data(), data.size() * 4);
    const uint16_t indices[4] = {0, 1, 2, 3};
    std::memcpy(p + data.size() * 4, indices, sizeof indices);
    return p;
}

void DrawQuad(GpuWords* w, const void* quad, uint32_t floatsPerVertex)
{
    (void)quad;
    w->Reg(kGpuRegIndexBuffer, kGpuIndex16 | (4 * 4 * floatsPerVertex));
    w->Reg(kGpuRegIndexCount, 4);
    w->Reg(kGpuRegPrimitive, kGpuPrimitiveStrip);
    w->Reg(kGpuRegDrawIndexed, 1);
}

// Stage 0 takes one source for colour and alpha; the rest pass it on.
void CombineFrom(GpuWords* w, uint32_t source, uint32_t constant = 0)
{
    w->Regs(kGpuRegCombiner(0), {GpuCombinerSources(source, 0, 0, source, 0, 0), 0, kGpuCombineReplace, 0, constant});
}

void ClearTo(GpuWords* w, float r, float g, float b)
{
    w->Regs(kGpuRegClearColor, {GpuFloatBits(r), GpuFloatBits(g), GpuFloatBits(b), GpuFloatBits(1)});
    w->Reg(kGpuRegClear, kGpuColorBufferBit | kGpuDepthBufferBit);
}

std::vector<uint8_t> Rgb(const std::vector<uint8_t>& image, int width, int x, int y, int channels)
{
    const uint8_t* p = &image[(size_t(y) * width + x) * channels];
    return {p[0], p[1], p[2]};
}

using Colour = std::vector<uint8_t>;
const Colour kRed = {255, 0, 0}, kGreen = {0, 255, 0}, kBlue = {0, 0, 255}, kWhite = {255, 255, 255};

TEST_F(GlGpu, ClearTransferAndSwapShowTheImageLandscape)
{
    // The left half of the portrait render image (clip x < 0) is the landscape screen's top.
    GpuWords w;
    ClearTo(&w, 0.0f, 1.0f, 0.0f);
    UseProgram(&w, 0);
    CombineFrom(&w, kGpuSourceConstant, GpuRgba8(255, 0, 0, 255));
    const float corners[4][3] = {{-1, 1, -0.5f}, {0, 1, -0.5f}, {-1, -1, -0.5f}, {0, -1, -0.5f}};
    float* v = static_cast<float*>(GpuRigMemory(4 * 5 * 4 + 8));
    for (int i = 0; i < 4; ++i) std::memcpy(v + 5 * i, corners[i], 12);
    uint16_t* idx = reinterpret_cast<uint16_t*>(v + 20);
    for (uint16_t i = 0; i < 4; ++i) idx[i] = i;
    UseLayout(&w, v, {3, 2});
    DrawQuad(&w, v, 5);
    ASSERT_EQ(GpuRigRun(w), kGpuNoError);

    int width = 0, height = 0;
    std::vector<uint8_t> shown;
    EXPECT_FALSE(GpuReadDisplay(kGpuDisplayUpper, &shown, &width, &height)) << "nothing is shown before a swap";
    GpuTransferRenderImage(rig.upper, kGpuAntialias2x2, 0, 0);
    GpuRunCmdlist();
    EXPECT_EQ(GpuGetError(), kGpuNoError);
    ASSERT_TRUE(GpuSwapBuffers(kGpuDisplayUpper));
    ASSERT_TRUE(GpuReadDisplay(kGpuDisplayUpper, &shown, &width, &height));
    ASSERT_EQ(width, 400);
    ASSERT_EQ(height, 240);
    EXPECT_EQ(Rgb(shown, width, 10, 5, 3), Colour({255, 0, 0}));
    EXPECT_EQ(Rgb(shown, width, 390, 100, 3), Colour({255, 0, 0}));
    EXPECT_EQ(Rgb(shown, width, 10, 150, 3), Colour({0, 255, 0}));
    EXPECT_EQ(Rgb(shown, width, 390, 235, 3), Colour({0, 255, 0}));
    // The lower screen was not swapped, nor written.
    EXPECT_FALSE(GpuReadDisplay(kGpuDisplayLower, &shown, &width, &height));
}

TEST_F(GlGpu, TransfersTakeTheDisplaysAreaFromTheOriginAndRefuseWhatDoesNotFit)
{
    // The lower screen (240 x 320) at 1:1 takes the render image's first 240 x 320 pixels: the
    // part below clip y = -0.2 of this 480 x 800 image, cleared blue while the rest is red.
    GpuWords w;
    ClearTo(&w, 0, 0, 1);
    UseProgram(&w, 0);
    CombineFrom(&w, kGpuSourceConstant, GpuRgba8(255, 0, 0, 255));
    const float corners[4][3] = {{-1, 1, -0.5f}, {1, 1, -0.5f}, {-1, -0.2f, -0.5f}, {1, -0.2f, -0.5f}};
    float* v = static_cast<float*>(GpuRigMemory(4 * 5 * 4 + 8));
    for (int i = 0; i < 4; ++i) std::memcpy(v + 5 * i, corners[i], 12);
    uint16_t* idx = reinterpret_cast<uint16_t*>(v + 20);
    for (uint16_t i = 0; i < 4; ++i) idx[i] = i;
    UseLayout(&w, v, {3, 2});
    DrawQuad(&w, v, 5);
    ASSERT_EQ(GpuRigRun(w), kGpuNoError);
    GpuTransferRenderImage(rig.lower, kGpuAntialiasNone, 0, 0);
    GpuRunCmdlist();
    EXPECT_EQ(GpuGetError(), kGpuNoError);
    std::vector<uint8_t> shown;
    int width = 0, height = 0;
    ASSERT_TRUE(GpuReadDisplaybuffer(rig.lower, &shown, &width, &height));
    ASSERT_EQ(width, 320);
    ASSERT_EQ(height, 240);
    EXPECT_EQ(Rgb(shown, width, 0, 0, 3), Colour({0, 0, 255}));
    EXPECT_EQ(Rgb(shown, width, 319, 239, 3), Colour({0, 0, 255}));

    // An unknown mode and an offset that leaves no area are refused; the upper buffer at 2 x 2
    // takes the whole image.
    GpuTransferRenderImage(rig.upper, 0x503, 0, 0);
    EXPECT_EQ(GpuGetError(), kGpuInvalidEnum);
    GpuTransferRenderImage(rig.upper, kGpuAntialias2x2, 0, 400);
    GpuRunCmdlist();
    EXPECT_EQ(GpuGetError(), kGpuInvalidValue) << "an offset at the buffer's end leaves nothing to fill";
    GpuTransferRenderImage(rig.upper, kGpuAntialias2x2, 0, 0);
    GpuRunCmdlist();
    EXPECT_EQ(GpuGetError(), kGpuNoError);
}

TEST_F(GlGpu, AFlatQuadHasItsExactColour)
{
    GpuWords w;
    ClearTo(&w, 0, 0, 0);
    UseProgram(&w, 0);
    CombineFrom(&w, kGpuSourceConstant, GpuRgba8(200, 100, 50, 255));
    void* quad = Quad({{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    UseLayout(&w, quad, {3, 2});
    DrawQuad(&w, quad, 5);
    ASSERT_EQ(GpuRigRun(w), kGpuNoError);
    std::vector<uint8_t> image = GpuRigImage();
    int wrong = 0;
    for (size_t i = 0; i < image.size(); i += 4) wrong += image[i] != 200 || image[i + 1] != 100 || image[i + 2] != 50;
    EXPECT_EQ(wrong, 0);

    // Filtered down 2 x 2 it stays exact.
    GpuTransferRenderImage(rig.upper, kGpuAntialias2x2, 0, 0);
    GpuRunCmdlist();
    GpuSwapBuffers(kGpuDisplayBoth);
    std::vector<uint8_t> shown;
    int width = 0, height = 0;
    ASSERT_TRUE(GpuReadDisplay(kGpuDisplayUpper, &shown, &width, &height));
    EXPECT_EQ(Rgb(shown, width, 200, 120, 3), Colour({200, 100, 50}));
}

TEST_F(GlGpu, CombinerStagesModulateAndMultiplyAdd)
{
    GpuWords w;
    ClearTo(&w, 0, 0, 0);
    UseProgram(&w, 0);
    // Stage 0: constant (128, 255, 64); stage 1: previous x constant (255, 128, 255);
    // stage 2: previous x constant (2x scale) + previous's alpha... kept simple: previous x c + c.
    w.Regs(kGpuRegCombiner(0), {GpuCombinerSources(kGpuSourceConstant, 0, 0, kGpuSourceConstant, 0, 0), 0,
                                kGpuCombineReplace, 0, GpuRgba8(128, 255, 64, 255)});
    w.Regs(kGpuRegCombiner(1),
           {GpuCombinerSources(kGpuSourcePrevious, kGpuSourceConstant, 0, kGpuSourcePrevious, 0, 0), 0,
            kGpuCombineModulate, 0, GpuRgba8(255, 128, 255, 255)});
    w.Regs(kGpuRegCombiner(2),
           {GpuCombinerSources(kGpuSourcePrevious, kGpuSourceConstant, kGpuSourceConstant, kGpuSourcePrevious, 0, 0),
            0, kGpuCombineMultiplyAdd, 0, GpuRgba8(0, 255, 64, 255)});
    void* quad = Quad({{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    UseLayout(&w, quad, {3, 2});
    DrawQuad(&w, quad, 5);
    ASSERT_EQ(GpuRigRun(w), kGpuNoError);
    // Red: 128/255 x 255/255 = 128, x 0 + 0 = 0. Green: 1 x 128/255 x 1 + 1 = clamped 255.
    // Blue: 64/255 x 1 = 64/255, x 64/255 + 64/255 = about 80.
    std::vector<uint8_t> p = GpuRigPixel(kWidth / 2, kHeight / 2);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 255);
    EXPECT_NEAR(p[2], 80, 1);
}

// A lit plane facing the viewer (normal +z in view space), with one light.
class GlGpuLight : public GlGpu {
protected:
    void DrawPlane(const std::vector<uint32_t>& light, uint32_t enabled, uint32_t source, uint32_t setConfig = 0,
                   uint32_t lutInputs = 0)
    {
        GpuWords w;
        ClearTo(&w, 0, 0, 0);
        UseProgram(&w, 1);
        CombineFrom(&w, source);
        w.Regs(kGpuRegLight(0), light);
        w.Regs(kGpuRegLightSet, {GpuRgba8(0, 0, 0, 0), enabled, setConfig, lutInputs});
        void* quad = Quad({{0, 0, 1, 0, 0}, {0, 0, 1, 1, 0}, {0, 0, 1, 0, 1}, {0, 0, 1, 1, 1}});
        UseLayout(&w, quad, {3, 3, 2});
        DrawQuad(&w, quad, 8);
        ASSERT_EQ(GpuRigRun(w), kGpuNoError);
    }

    static std::vector<uint32_t> Light(uint32_t spec0, uint32_t diffuse, float x, float y, float z, uint32_t config)
    {
        return {spec0, 0, diffuse, 0, GpuFloatBits(x), GpuFloatBits(y), GpuFloatBits(z), 0, config};
    }
};

TEST_F(GlGpuLight, DiffuseFollowsTheAngleOfTheLight)
{
    const float s60 = std::sqrt(3.0f) / 2.0f;
    DrawPlane(Light(0, GpuRgba8(255, 255, 255, 0), s60, 0, 0.5f, kGpuLightDirectional), 1, kGpuSourceDiffuseLight);
    std::vector<uint8_t> p = GpuRigPixel(kWidth / 3, kHeight / 3);
    EXPECT_NEAR(p[0], 128, 2) << "a light 60 degrees off the normal gives half its colour";
    EXPECT_NEAR(p[1], 128, 2);

    DrawPlane(Light(0, GpuRgba8(255, 0, 0, 0), 0, 0, -1, kGpuLightDirectional), 1, kGpuSourceDiffuseLight);
    EXPECT_EQ(GpuRigPixel(10, 10)[0], 0) << "a light behind a one-sided surface does not reach it";
    DrawPlane(Light(0, GpuRgba8(255, 0, 0, 0), 0, 0, -1, kGpuLightDirectional | kGpuLightTwoSided), 1,
              kGpuSourceDiffuseLight);
    EXPECT_EQ(GpuRigPixel(10, 10)[0], 255) << "two-sided diffuse lights the back as the front";

    // A positional light at the eye: straight on at the centre, slanted towards the edges, where
    // the vertex-to-eye vector (-1, 0, 0.5) meets the normal at cos = 0.5 / sqrt(1.25).
    DrawPlane(Light(0, GpuRgba8(255, 0, 0, 0), 0, 0, 0, 0), 1, kGpuSourceDiffuseLight);
    EXPECT_GE(GpuRigPixel(kWidth / 2, kHeight / 2)[0], 253);
    EXPECT_NEAR(GpuRigPixel(0, kHeight / 2)[0], 114, 3);

    DrawPlane(Light(0, GpuRgba8(255, 0, 0, 0), 0, 0, 1, kGpuLightDirectional), 0, kGpuSourceDiffuseLight);
    EXPECT_EQ(GpuRigPixel(10, 10)[0], 0) << "with no light enabled lighting is off";
}

TEST_F(GlGpuLight, ASpecularPeakSitsWhereTheHalfVectorMeetsTheNormal)
{
    // Table D0 = x^64 on the absolute normal . half-vector.
    GpuWords lut;
    std::vector<uint32_t> entries;
    for (int i = 0; i < 256; ++i) {
        float a = std::pow(i / 256.0f, 64.0f), b = std::pow((i + 1) / 256.0f, 64.0f);
        entries.push_back(GpuLutEntry(a, b - a));
    }
    lut.Regs(kGpuRegLutD0, entries);
    ASSERT_EQ(GpuRigRun(lut), kGpuNoError);

    // The plane lies at view z = -0.5 and the eye at the origin: with the light towards
    // (0.5, 0, 1), the half-vector is the normal where the eye sees the plane along (-0.5, 0, 1)
    // mirrored, at view x = 0.5 x 0.5 = 0.25.
    float len = std::sqrt(1.25f);
    DrawPlane(Light(GpuRgba8(255, 255, 255, 0), 0, 0.5f / len, 0, 1 / len, kGpuLightDirectional), 1,
              kGpuSourceSpecularLight, kGpuLightLutD0, kGpuLutInputNH | 0x10000);
    std::vector<uint8_t> image = GpuRigImage();
    int row = kHeight / 2, best = 0, bestValue = -1;
    for (int x = 0; x < kWidth; ++x) {
        int v = image[(size_t(row) * kWidth + x) * 4];
        if (v > bestValue) bestValue = v, best = x;
    }
    int expected = int((0.25f + 1.0f) * 0.5f * kWidth);
    EXPECT_NEAR(best, expected, 4);
    EXPECT_GE(bestValue, 250);
    EXPECT_LT(image[(size_t(row) * kWidth + 5) * 4], bestValue / 2) << "far from the peak it falls off";

    // Without the table the specular term is the whole light everywhere the light reaches.
    DrawPlane(Light(GpuRgba8(0, 255, 0, 0), 0, 0.5f / len, 0, 1 / len, kGpuLightDirectional), 1,
              kGpuSourceSpecularLight, 0, 0);
    EXPECT_EQ(GpuRigPixel(5, row)[1], 255);
}

// A 2 x 2 texture: red, green on the top row, blue, white below.
class GlGpuTexture : public GlGpu {
protected:
    void DrawTextured(std::vector<std::vector<float>> uv, uint32_t params)
    {
        uint8_t* texels = static_cast<uint8_t*>(GpuRigMemory(16));
        const uint8_t data[16] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
        std::memcpy(texels, data, 16);
        GpuWords w;
        ClearTo(&w, 0, 0, 0);
        UseProgram(&w, 2);
        CombineFrom(&w, kGpuSourceTexture0);
        w.Regs(kGpuRegTexUnit(0), {0, 2u << 16 | 2, params, 1u << 16, GpuPhysicalAddress(texels) / 8,
                                   uint32_t(kPixelRGBA8 - 1)});
        w.Reg(kGpuRegTexEnable, 1);
        void* quad = Quad(uv);
        UseLayout(&w, quad, {3, 2});
        DrawQuad(&w, quad, 5);
        ASSERT_EQ(GpuRigRun(w), kGpuNoError);
    }

    // The colours at the centres of the image's quadrants: top-left, top-right, bottom-left,
    // bottom-right (the render image's top is its last row).
    std::vector<Colour> Quadrants()
    {
        std::vector<uint8_t> image = GpuRigImage();
        int x0 = kWidth / 4, x1 = 3 * kWidth / 4, yTop = 3 * kHeight / 4, yBottom = kHeight / 4;
        return {Rgb(image, kWidth, x0, yTop, 4), Rgb(image, kWidth, x1, yTop, 4), Rgb(image, kWidth, x0, yBottom, 4),
                Rgb(image, kWidth, x1, yBottom, 4)};
    }
};

TEST_F(GlGpuTexture, ACheckerShowsRowZeroAtTheTopMirroredAndRotated)
{
    DrawTextured({{0, 0}, {1, 0}, {0, 1}, {1, 1}}, 0);
    EXPECT_EQ(Quadrants(), std::vector<Colour>({kRed, kGreen, kBlue, kWhite}));
    // Mirrored left to right.
    DrawTextured({{1, 0}, {0, 0}, {1, 1}, {0, 1}}, 0);
    EXPECT_EQ(Quadrants(), std::vector<Colour>({kGreen, kRed, kWhite, kBlue}));
    // Turned a quarter clockwise: the image's left column becomes the top row.
    DrawTextured({{0, 1}, {0, 0}, {1, 1}, {1, 0}}, 0);
    EXPECT_EQ(Quadrants(), std::vector<Colour>({kBlue, kRed, kWhite, kGreen}));
}

TEST_F(GlGpuTexture, WrapModesRepeatAndMirrorBeyondOne)
{
    DrawTextured({{0, 0}, {2, 0}, {0, 1}, {2, 1}}, GpuTexParamsWithWrap(0, kGpuWrapMirror, kGpuWrapClampToEdge));
    std::vector<uint8_t> image = GpuRigImage();
    int y = 3 * kHeight / 4;
    EXPECT_EQ(Rgb(image, kWidth, kWidth / 8, y, 4), kRed);
    EXPECT_EQ(Rgb(image, kWidth, 3 * kWidth / 8, y, 4), kGreen);
    EXPECT_EQ(Rgb(image, kWidth, 5 * kWidth / 8, y, 4), kGreen);
    EXPECT_EQ(Rgb(image, kWidth, 7 * kWidth / 8, y, 4), kRed);
    DrawTextured({{0, 0}, {2, 0}, {0, 1}, {2, 1}}, GpuTexParamsWithWrap(0, kGpuWrapRepeat, kGpuWrapClampToEdge));
    image = GpuRigImage();
    EXPECT_EQ(Rgb(image, kWidth, 5 * kWidth / 8, y, 4), kRed);
}

TEST_F(GlGpuTexture, TheTextureOffsetRegisterShiftsCoordinates)
{
    // Register 79 holds (u, v) added to every texture coordinate: half a texture to the right.
    GpuWords offset;
    offset.Uniform(79, 0.5f, 0, 0, 0);
    ASSERT_EQ(GpuRigRun(offset), kGpuNoError);
    DrawTextured({{0, 0}, {1, 0}, {0, 1}, {1, 1}}, GpuTexParamsWithWrap(0, kGpuWrapRepeat, kGpuWrapRepeat));
    EXPECT_EQ(Quadrants(), std::vector<Colour>({kGreen, kRed, kWhite, kBlue}));
}

TEST_F(GlGpuTexture, MipLevelsFollowTheChainAndTheBias)
{
    // A 2 x 2 red level and a 1 x 1 green level after it. Magnified, level 0 shows; a bias of +12
    // levels pushes the choice to the smallest level; -16 keeps level 0.
    uint8_t* texels = static_cast<uint8_t*>(GpuRigMemory(32));
    for (int i = 0; i < 4; ++i) std::memcpy(texels + 4 * i, "\xFF\x00\x00\xFF", 4);
    std::memcpy(texels + 16, "\x00\xFF\x00\xFF", 4);
    ASSERT_EQ(GpuTextureByteSize(kPixelRGBA8, 2, 2, 2), 20u);
    for (uint32_t bias : {0u, 12u * 256u, 0x1000u}) {
        GpuWords w;
        ClearTo(&w, 0, 0, 0);
        UseProgram(&w, 2);
        CombineFrom(&w, kGpuSourceTexture0);
        w.Regs(kGpuRegTexUnit(0), {0, 2u << 16 | 2, 0, GpuTexLodWithBias(2u << 16, bias),
                                   GpuPhysicalAddress(texels) / 8, uint32_t(kPixelRGBA8 - 1)});
        w.Reg(kGpuRegTexEnable, 1);
        void* quad = Quad({{0, 0}, {1, 0}, {0, 1}, {1, 1}});
        UseLayout(&w, quad, {3, 2});
        DrawQuad(&w, quad, 5);
        ASSERT_EQ(GpuRigRun(w), kGpuNoError);
        EXPECT_EQ(Rgb(GpuRigImage(), kWidth, 50, 50, 4), bias == 12u * 256u ? kGreen : kRed) << bias;
    }
}

// Vertex programs beyond the flat ones: attributes of bytes, vertex colour, bones, tangent frames.
class GlGpuPrograms : public GlGpu {
protected:
    // Vertices of program 3 or 6 (position, normal, texture coordinate, four bytes) for a quad
    // spanning clip x from x0 to x1.
    void* ByteQuad(float x0, float x1, const uint8_t bytes[4])
    {
        const float corners[4][2] = {{x0, 1}, {x1, 1}, {x0, -1}, {x1, -1}};
        uint8_t* p = static_cast<uint8_t*>(GpuRigMemory(4 * 36 + 16));
        for (int i = 0; i < 4; ++i) {
            const float f[8] = {corners[i][0], corners[i][1], -0.5f, 0, 0, 1, 0, 0};
            std::memcpy(p + 36 * i, f, 32);
            std::memcpy(p + 36 * i + 32, bytes, 4);
        }
        const uint16_t indices[4] = {0, 1, 2, 3};
        std::memcpy(p + 144, indices, 8);
        return p;
    }

    void ByteLayout(GpuWords* w, const void* base)
    {
        w->Reg(kGpuRegVertexBase, GpuPhysicalAddress(base) / 8);
        w->Reg(kGpuRegVertexStride, 36);
        w->Reg(kGpuRegAttribCount, 4);
        w->Regs(kGpuRegAttribFormat, {GpuAttribFormat(0, 3, kGpuTypeFloat), GpuAttribFormat(12, 3, kGpuTypeFloat),
                                      GpuAttribFormat(24, 2, kGpuTypeFloat), GpuAttribFormat(32, 4, kGpuTypeUByte)});
        w->Regs(kGpuRegAttribInputMap, {0x76543210, 0x0000BA98});
        w->Reg(kGpuRegIndexBuffer, kGpuIndex16 | 144);
        w->Reg(kGpuRegIndexCount, 4);
        w->Reg(kGpuRegPrimitive, kGpuPrimitiveStrip);
    }
};

TEST_F(GlGpuPrograms, VertexColourBytesArriveAsColours)
{
    GpuWords w;
    ClearTo(&w, 0, 0, 0);
    UseProgram(&w, 3);
    // Program 3 also outputs its colour, in register 4.
    w.Reg(kGpuRegOutputMap + 4, 0x0B0A0908);
    w.Reg(kGpuRegOutputMask, 0x1F);
    w.Reg(kGpuRegOutputCount, 5);
    CombineFrom(&w, kGpuSourceVertexColor);
    const uint8_t colour[4] = {10, 20, 30, 255};
    void* quad = ByteQuad(-1, 1, colour);
    ByteLayout(&w, quad);
    w.Reg(kGpuRegDrawIndexed, 1);
    ASSERT_EQ(GpuRigRun(w), kGpuNoError);
    EXPECT_EQ(Rgb(GpuRigImage(), kWidth, 100, 100, 4), Colour({10, 20, 30}));
}

TEST_F(GlGpuPrograms, ABoneMovesTheVerticesThatNameIt)
{
    GpuWords w;
    ClearTo(&w, 0, 0, 0);
    UseProgram(&w, 6);
    CombineFrom(&w, kGpuSourceConstant, GpuRgba8(255, 255, 0, 255));
    w.Uniform(74, 4, 4, 4, 4);
    // Bone 2 (registers 17-20) moves one unit along x.
    const float shift[16] = {1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    w.Matrix(9 + 4 * 2, shift);
    const uint8_t bone[4] = {2, 0, 0, 0};
    void* quad = ByteQuad(-1, 0, bone);
    ByteLayout(&w, quad);
    w.Reg(kGpuRegDrawIndexed, 1);
    ASSERT_EQ(GpuRigRun(w), kGpuNoError);
    std::vector<uint8_t> image = GpuRigImage();
    EXPECT_EQ(Rgb(image, kWidth, kWidth / 4, kHeight / 2, 4), Colour({0, 0, 0})) << "the left half is left";
    EXPECT_EQ(Rgb(image, kWidth, 3 * kWidth / 4, kHeight / 2, 4), Colour({255, 255, 0}));
}

TEST_F(GlGpuPrograms, ANormalMapTurnsWithTheTangentFrame)
{
    // One texel: the tangent-space normal (0.866, 0, 0.5), 60 degrees towards the tangent.
    uint8_t* texel = static_cast<uint8_t*>(GpuRigMemory(16));
    texel[0] = 238, texel[1] = 128, texel[2] = 191;
    auto draw = [&](float qz, float qw, float lx, float ly, float lz, uint32_t bump) {
        GpuWords w;
        ClearTo(&w, 0, 0, 0);
        UseProgram(&w, 4);
        CombineFrom(&w, kGpuSourceDiffuseLight);
        w.Uniform(8, 0, 0, 0, 1);  // the model-view turns nothing
        w.Regs(kGpuRegTexUnit(1), {0, 1u << 16 | 1, 0, 1u << 16, GpuPhysicalAddress(texel) / 8,
                                   uint32_t(kPixelRGB8 - 1)});
        w.Reg(kGpuRegTexEnable, 2);
        w.Regs(kGpuRegLight(0), {0, 0, GpuRgba8(255, 255, 255, 0), 0, GpuFloatBits(lx), GpuFloatBits(ly),
                                 GpuFloatBits(lz), 0, kGpuLightDirectional});
        w.Regs(kGpuRegLightSet, {0, 1, bump, 0});
        // Position, normal, texture coordinate, tangent-frame quaternion.
        std::vector<std::vector<float>> extra;
        for (int i = 0; i < 4; ++i) extra.push_back({0, 0, 1, 0, 0, 0, 0, qz, qw});
        void* quad = Quad(extra);
        UseLayout(&w, quad, {3, 3, 2, 4});
        DrawQuad(&w, quad, 12);
        ASSERT_EQ(GpuRigRun(w), kGpuNoError);
    };
    const uint32_t bump = kGpuLightBumpNormalMap | 1u << 4;
    const float h = std::sqrt(0.5f);
    draw(0, 1, 0, 0, 1, 0);
    EXPECT_EQ(GpuRigPixel(50, 50)[0], 255) << "without bump mapping the normal is the frame's z";
    draw(0, 1, 0, 0, 1, bump);
    EXPECT_NEAR(GpuRigPixel(50, 50)[0], 128, 3) << "the mapped normal is 60 degrees off the light";
    draw(0, 1, 0, 0, 1, bump | kGpuLightBumpRenormalize);
    EXPECT_NEAR(GpuRigPixel(50, 50)[0], 128, 3);
    // The frame turned a quarter about z carries the normal to (0, 0.866, 0.5).
    draw(h, h, 0, std::sqrt(3.0f) / 2, 0.5f, bump);
    EXPECT_GE(GpuRigPixel(50, 50)[0], 250);
    draw(h, h, std::sqrt(3.0f) / 2, 0, 0.5f, bump);
    EXPECT_NEAR(GpuRigPixel(50, 50)[0], 64, 3);
}

// Draws the full-image quad (clockwise in the image) in one flat colour at a depth.
void FlatQuad(GpuWords* w, uint32_t colour, float z)
{
    UseProgram(w, 0);
    CombineFrom(w, kGpuSourceConstant, colour);
    void* quad = Quad({{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    for (int i = 0; i < 4; ++i) static_cast<float*>(quad)[5 * i + 2] = z;
    UseLayout(w, quad, {3, 2});
    DrawQuad(w, quad, 5);
}

TEST_F(GlGpu, CullingDepthAndBlendingFollowTheirRegisters)
{
    const uint32_t red = GpuRgba8(255, 0, 0, 255), green = GpuRgba8(0, 255, 0, 255);
    auto centre = [] { return Rgb(GpuRigImage(), kWidth, kWidth / 2, kHeight / 2, 4); };
    // Culling by winding: the quad winds clockwise in the image.
    for (uint32_t mode : {0u, 1u, 2u, 3u}) {
        GpuWords w;
        ClearTo(&w, 0, 0, 0);
        w.Reg(kGpuRegCullMode, mode);
        FlatQuad(&w, red, -0.5f);
        ASSERT_EQ(GpuRigRun(w), kGpuNoError);
        EXPECT_EQ(centre(), (mode < 2 ? kRed : Colour({0, 0, 0}))) << "cull mode " << mode;
    }
    // The library's culling: back faces with clockwise fronts keep the quad; counter-clockwise
    // fronts cull it.
    GpuEnable(kGpuCullFace);
    GpuCullFace(kGpuBack);
    GpuFrontFace(kGpuCw);
    GpuWords w;
    ClearTo(&w, 0, 0, 0);
    FlatQuad(&w, red, -0.5f);
    ASSERT_EQ(GpuRigRun(w), kGpuNoError);
    EXPECT_EQ(centre(), kRed);
    GpuFrontFace(kGpuCcw);
    ASSERT_EQ(GpuRigRun(w), kGpuNoError);
    EXPECT_EQ(centre(), Colour({0, 0, 0}));
    GpuDisable(kGpuCullFace);

    // Depth: less-or-equal keeps the nearer quad (z nearer 0 is nearer); with depth writes off a
    // farther quad drawn later still fails against the first.
    GpuWords depth;
    ClearTo(&depth, 0, 0, 0);
    depth.Reg(kGpuRegDepthColorMask, GpuDepthColorMask(1, kGpuCompareLessEqual, 0xF, 1));
    FlatQuad(&depth, red, -0.2f);
    FlatQuad(&depth, green, -0.6f);
    ASSERT_EQ(GpuRigRun(depth), kGpuNoError);
    EXPECT_EQ(centre(), kRed);
    GpuWords noTest;
    noTest.Reg(kGpuRegDepthColorMask, GpuDepthColorMask(0, kGpuCompareLessEqual, 0xF, 0));
    FlatQuad(&noTest, green, -0.6f);
    ASSERT_EQ(GpuRigRun(noTest), kGpuNoError);
    EXPECT_EQ(centre(), kGreen) << "without the depth test the farther quad is drawn";
    // Colour writes off: nothing changes.
    GpuWords masked;
    masked.Reg(kGpuRegDepthColorMask, GpuDepthColorMask(0, kGpuCompareAlways, 0x0, 0));
    FlatQuad(&masked, red, -0.5f);
    ASSERT_EQ(GpuRigRun(masked), kGpuNoError);
    EXPECT_EQ(centre(), kGreen);

    // Blending source alpha over one minus source alpha: half red over green.
    GpuEnable(kGpuBlend);
    GpuBlendFunc(kGpuSrcAlpha, kGpuOneMinusSrcAlpha);
    GpuWords blend;
    blend.Reg(kGpuRegDepthColorMask, GpuDepthColorMask(0, kGpuCompareAlways, 0xF, 0));
    FlatQuad(&blend, GpuRgba8(255, 0, 0, 128), -0.5f);
    ASSERT_EQ(GpuRigRun(blend), kGpuNoError);
    Colour mixed = centre();
    EXPECT_NEAR(mixed[0], 128, 1);
    EXPECT_NEAR(mixed[1], 127, 1);
    GpuDisable(kGpuBlend);
    GpuBlendFunc(0x1234, kGpuZero);
    EXPECT_EQ(GpuGetError(), kGpuInvalidEnum);
}

TEST_F(GlGpu, DrawsOutsideTheArenaAreRefusedNotRead)
{
    GpuWords w;
    UseProgram(&w, 0);
    CombineFrom(&w, kGpuSourceConstant, GpuRgba8(255, 255, 255, 255));
    void* quad = Quad({{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    UseLayout(&w, quad, {3, 2});
    // Indices far beyond the arena's end.
    w.Reg(kGpuRegIndexBuffer, kGpuIndex16 | 0x7FFFFFF0u);
    w.Reg(kGpuRegIndexCount, 4);
    w.Reg(kGpuRegPrimitive, kGpuPrimitiveStrip);
    w.Reg(kGpuRegDrawIndexed, 1);
    EXPECT_EQ(GpuRigRun(w), kGpuInvalidValue);

    // Indices in the arena's last bytes that name a vertex past its end.
    GpuWords far;
    uint16_t* idx = reinterpret_cast<uint16_t*>(gArenaBase + ((gArenaSize - 16) & ~15u));
    idx[0] = 0, idx[1] = 1, idx[2] = 65535;
    far.Reg(kGpuRegVertexBase, GpuPhysicalAddress(idx) / 8);
    far.Reg(kGpuRegVertexStride, 255);
    far.Reg(kGpuRegIndexBuffer, kGpuIndex16);
    far.Reg(kGpuRegIndexCount, 3);
    far.Reg(kGpuRegPrimitive, kGpuPrimitiveTriangles);
    far.Reg(kGpuRegDrawIndexed, 1);
    EXPECT_EQ(GpuRigRun(far), kGpuInvalidValue);
}

TEST_F(GlGpu, CommandListsRunTheirWordsOnceInOrder)
{
    int width = 0, height = 0;
    std::vector<uint8_t> image;
    // Library calls wait in the list until it runs.
    GpuClearColor(1, 0, 0, 1);
    GpuClear(kGpuColorBufferBit);
    ASSERT_TRUE(GpuReadRenderImage(rig.framebuffer, &image, &width, &height));
    EXPECT_NE(image[0], 255);
    GpuRunCmdlist();
    ASSERT_TRUE(GpuReadRenderImage(rig.framebuffer, &image, &width, &height));
    EXPECT_EQ(image[0], 255);

    // A second run executes only what was recorded since.
    GpuClearColor(0, 0, 1, 1);
    uint32_t used = GpuCmdlistUsedBytes();
    GpuRunCmdlist();
    ASSERT_TRUE(GpuReadRenderImage(rig.framebuffer, &image, &width, &height));
    EXPECT_EQ(image[0], 255) << "setting the clear colour clears nothing";
    GpuClear(kGpuColorBufferBit);
    GpuRunCmdlist();
    ASSERT_TRUE(GpuReadRenderImage(rig.framebuffer, &image, &width, &height));
    EXPECT_EQ(image[2], 255);
    EXPECT_GT(GpuCmdlistUsedBytes(), used);
    GpuClearCmdlist();
    EXPECT_EQ(GpuCmdlistUsedBytes(), 0u);
    EXPECT_EQ(GpuCmdlistUsedRequests(), 0u);
}

TEST_F(GlGpu, CommandListsRefuseOverrunsAndDamagedWords)
{
    uint32_t free = GpuCmdlistBytesFree();
    EXPECT_FALSE(GpuMoveCommandbufferPointer(int32_t(free + 4)));
    EXPECT_EQ(GpuGetError(), kGpuOutOfMemory);
    EXPECT_EQ(GpuCmdlistBytesFree(), free) << "a refused move counts nothing";
    EXPECT_FALSE(GpuMoveCommandbufferPointer(6));
    EXPECT_EQ(GpuGetError(), kGpuInvalidValue);

    // The request slots (64) run out before the buffer does.
    for (int i = 0; i < 64; ++i) GpuClear(kGpuColorBufferBit);
    EXPECT_EQ(GpuGetError(), kGpuNoError);
    GpuClear(kGpuColorBufferBit);
    EXPECT_EQ(GpuGetError(), kGpuOutOfMemory);
    GpuClearCmdlist();

    // A header that claims more values than the list holds stops the run there; the next run
    // starts afresh after it.
    GpuWords damaged;
    damaged.w = {GpuHeader(kGpuRegClearColor, 4), GpuFloatBits(1)};
    EXPECT_EQ(GpuRigRun(damaged), kGpuInvalidOperation);
    GpuWords past;
    past.w = {GpuHeader(kGpuRegisterCount - 1, 2), 0, 0};
    EXPECT_EQ(GpuRigRun(past), kGpuInvalidOperation) << "a run past the last register";
    GpuWords fine;
    fine.Regs(kGpuRegClearColor, {0, GpuFloatBits(1), 0, GpuFloatBits(1)});
    fine.Reg(kGpuRegClear, kGpuColorBufferBit);
    EXPECT_EQ(GpuRigRun(fine), kGpuNoError);
    EXPECT_EQ(GpuRigPixel(0, 0)[1], 255);

    // Without a bound list nothing is recorded.
    GpuBindCmdlist(0);
    EXPECT_EQ(GpuCmdlistWriteAddress(), nullptr);
    GpuClear(kGpuColorBufferBit);
    EXPECT_EQ(GpuGetError(), kGpuInvalidOperation);
}

int callbackCalls = 0;
int callbackId = 0;

TEST_F(GlGpu, TheCompletionCallbackFollowsEachRunWhenEnabled)
{
    callbackCalls = 0;
    GpuSetCmdlistCallback([](int id) {
        ++callbackCalls;
        callbackId = id;
    });
    GpuRunCmdlist();
    EXPECT_EQ(callbackCalls, 0);
    GpuEnableCmdlistCallback(-1);
    GpuRunCmdlist();
    EXPECT_EQ(callbackCalls, 1);
    EXPECT_EQ(callbackId, int(rig.list));
}

TEST_F(GlGpu, MaskedWritesKeepTheOtherBytes)
{
    GpuWords w;
    w.Reg(kGpuRegCombiner(3) + kGpuCombinerConstant, 0x11223344);
    w.w.push_back(GpuHeader(kGpuRegCombiner(3) + kGpuCombinerConstant, 1, 0x2));
    w.w.push_back(0xAABBCCDD);
    ASSERT_EQ(GpuRigRun(w), kGpuNoError);
    // The draw reads the constant back through a pixel: stage 0 takes stage 3's constant register
    // only in a draw, so look at the effect on a flat draw of stage 3.
    GpuWords draw;
    ClearTo(&draw, 0, 0, 0);
    UseProgram(&draw, 0);
    draw.Regs(kGpuRegCombiner(3), {GpuCombinerSources(kGpuSourceConstant, 0, 0, kGpuSourceConstant, 0, 0), 0,
                                   kGpuCombineReplace, 0});
    void* quad = Quad({{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    UseLayout(&draw, quad, {3, 2});
    DrawQuad(&draw, quad, 5);
    ASSERT_EQ(GpuRigRun(draw), kGpuNoError);
    // 0x11223344 with byte 1 replaced by 0xCC: red 0x44, green 0xCC, blue 0x22.
    EXPECT_EQ(Rgb(GpuRigImage(), kWidth, 5, 5, 4), Colour({0x44, 0xCC, 0x22}));
}

TEST_F(GlGpu, DamagedShaderBinariesAreRefusedAndTheProgramsKept)
{
    std::vector<uint32_t> good = {kGpuShaderMagic, 1u << 16 | 1, 0, 0, 20, 0, 0, 1, 0, 0x03020100};
    std::vector<std::vector<uint32_t>> bad;
    std::vector<uint32_t> b = good;
    b[0] = 0x12345678;
    bad.push_back(b);  // not a container
    b = good;
    b[1] = 1u << 16 | 13;
    bad.push_back(b);  // more than 12 programs
    b = good;
    b[4] = 4000;
    bad.push_back(b);  // record outside
    b = good;
    b[5] = 12;
    bad.push_back(b);  // entry point beyond 11
    b = good;
    b[2] = 40, b[3] = 100;
    bad.push_back(b);  // source outside
    for (const auto& words : bad) {
        EXPECT_FALSE(GpuShaderBinary(words.data(), uint32_t(words.size() * 4)));
        EXPECT_NE(GpuGetError(), kGpuNoError);
    }
    // Good structure, source that does not compile.
    std::string source = "void programMain() { this is not GLSL }";
    std::vector<uint8_t> bytes(reinterpret_cast<const uint8_t*>(good.data()),
                               reinterpret_cast<const uint8_t*>(good.data()) + good.size() * 4);
    uint32_t at = uint32_t(bytes.size()), length = uint32_t(source.size());
    std::memcpy(&bytes[8], &at, 4);
    std::memcpy(&bytes[12], &length, 4);
    bytes.insert(bytes.end(), source.begin(), source.end());
    EXPECT_FALSE(GpuShaderBinary(bytes.data(), uint32_t(bytes.size())));
    while (GpuGetError() != kGpuNoError) {
    }

    // The programs loaded before still draw.
    GpuWords w;
    ClearTo(&w, 0, 0, 0);
    UseProgram(&w, 0);
    CombineFrom(&w, kGpuSourceConstant, GpuRgba8(9, 99, 199, 255));
    void* quad = Quad({{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    UseLayout(&w, quad, {3, 2});
    DrawQuad(&w, quad, 5);
    ASSERT_EQ(GpuRigRun(w), kGpuNoError);
    EXPECT_EQ(Rgb(GpuRigImage(), kWidth, 100, 100, 4), Colour({9, 99, 199}));
}

}  // namespace
