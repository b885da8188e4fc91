// Commands of frames nobody looks at are checked but kept from GL; those of the frames looked at
// (and shortly before them) are drawn in full.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/gpu.h"
#include "host/host.h"
#include "support/gpu_rig.h"

namespace {

class GlRasterLimit : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string why;
        ASSERT_TRUE(GpuRigStart(&rig, 64, 64, &why)) << why;
        HostResetFrames();
    }
    void TearDown() override
    {
        GpuExecuteAll();
        HostResetFrames();
        GpuRigStop();
    }

    // Clears to black, then draws a constant-colour quad over the whole image, its indices at
    // the given offset after the vertices (right after them unless a test points elsewhere);
    // returns the run's error.
    uint32_t ClearAndDrawQuad(uint32_t indexOffset = 0)
    {
        const float corners[4][3] = {{-1, 1, -0.5f}, {1, 1, -0.5f}, {-1, -1, -0.5f}, {1, -1, -0.5f}};
        auto* p = static_cast<uint8_t*>(GpuRigMemory(sizeof corners + 16));
        if (!p) return ~0u;
        std::memcpy(p, corners, sizeof corners);
        const uint16_t indices[4] = {0, 1, 2, 3};
        std::memcpy(p + sizeof corners, indices, sizeof indices);
        const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

        GpuWords w;
        w.Regs(kGpuRegClearColor, {GpuFloatBits(0), GpuFloatBits(0), GpuFloatBits(0), GpuFloatBits(1)});
        w.Reg(kGpuRegClear, kGpuColorBufferBit | kGpuDepthBufferBit);
        w.Reg(kGpuRegProgramEntry, 0);
        w.Reg(kGpuRegOutputCount, 1);
        w.Reg(kGpuRegOutputMask, 1);
        w.Regs(kGpuRegOutputMap, {0x03020100, kGpuOutEmptyRegister, kGpuOutEmptyRegister, kGpuOutEmptyRegister,
                                  kGpuOutEmptyRegister, kGpuOutEmptyRegister, kGpuOutEmptyRegister});
        w.Matrix(0, identity);
        w.Matrix(4, identity);
        w.Regs(kGpuRegCombiner(0), {GpuCombinerSources(kGpuSourceConstant, 0, 0, kGpuSourceConstant, 0, 0), 0,
                                    kGpuCombineReplace, 0, GpuRgba8(200, 100, 50, 255)});
        w.Reg(kGpuRegVertexBase, GpuPhysicalAddress(p) / 8);
        w.Reg(kGpuRegVertexStride, 12);
        w.Reg(kGpuRegAttribCount, 1);
        w.Regs(kGpuRegAttribFormat, {GpuAttribFormat(0, 3, kGpuTypeFloat)});
        w.Regs(kGpuRegAttribInputMap, {0x76543210, 0x0000BA98});
        w.Reg(kGpuRegIndexBuffer, kGpuIndex16 | (indexOffset ? indexOffset : uint32_t(sizeof corners)));
        w.Reg(kGpuRegIndexCount, 4);
        w.Reg(kGpuRegPrimitive, kGpuPrimitiveStrip);
        w.Reg(kGpuRegDrawIndexed, 1);
        return GpuRigRun(w);
    }
    uint32_t ClearToRed()
    {
        GpuWords w;
        w.Regs(kGpuRegClearColor, {GpuFloatBits(1), GpuFloatBits(0), GpuFloatBits(0), GpuFloatBits(1)});
        w.Reg(kGpuRegClear, kGpuColorBufferBit);
        return GpuRigRun(w);
    }
    // Pixels of the render image that hold the quad's colour.
    static int Coloured()
    {
        const std::vector<uint8_t> image = GpuRigImage();
        int n = 0;
        for (size_t i = 0; i + 3 < image.size(); i += 4) n += image[i] == 200 && image[i + 1] == 100 && image[i + 2] == 50;
        return n;
    }
    static void Present(int frames)
    {
        for (int i = 0; i < frames; ++i) HostFramePresented();
    }

    GpuRig rig;
};

// The images of the frames shortly before a frame that is looked at, and of that frame, are
// drawn on GL; in the other frames nothing reaches GL (no clear, no draw, no upload), the render
// image keeps what it held, and the runs report the same (no) error.
TEST_F(GlRasterLimit, OnlyTheFramesLookedAtReachGl)
{
    const int all = 64 * 64;
    EXPECT_EQ(GpuScreenshotAhead(), 1) << "every image by default";
    ASSERT_EQ(ClearAndDrawQuad(), uint32_t(kGpuNoError));
    EXPECT_EQ(Coloured(), all);

    const long shots[2] = {20, 40};
    GpuExecuteOnlyFor(shots, 2);
    Present(11);
    EXPECT_EQ(GpuScreenshotAhead(), 0) << "frame 20 is more than the margin ahead";
    const uint64_t work = GpuGlWork();
    ASSERT_EQ(ClearToRed(), uint32_t(kGpuNoError));
    ASSERT_EQ(ClearAndDrawQuad(), uint32_t(kGpuNoError));
    EXPECT_EQ(GpuGlWork(), work) << "nothing went to GL";
    EXPECT_EQ(Coloured(), all) << "the image is as it was";
    Present(1);
    ASSERT_EQ(ClearToRed(), uint32_t(kGpuNoError));
    EXPECT_EQ(Coloured(), 0) << "within the margin before frame 20";
    ASSERT_EQ(ClearAndDrawQuad(), uint32_t(kGpuNoError));
    EXPECT_EQ(Coloured(), all);
    Present(8);
    ASSERT_EQ(ClearToRed(), uint32_t(kGpuNoError));
    EXPECT_EQ(Coloured(), 0) << "frame 20 itself";
    Present(1);
    EXPECT_EQ(GpuScreenshotAhead(), 0) << "between the frames looked at";
    Present(19);
    EXPECT_EQ(GpuScreenshotAhead(), 1) << "frame 40";
    Present(1);
    EXPECT_EQ(GpuScreenshotAhead(), 0) << "after the last";

    GpuExecuteOnlyFor(nullptr, 0);
    EXPECT_EQ(GpuScreenshotAhead(), 0) << "no screenshot: nothing is looked at";
    GpuExecuteAll();
    ASSERT_EQ(ClearAndDrawQuad(), uint32_t(kGpuNoError));
    EXPECT_EQ(Coloured(), all);
}

// Commands that do not reach GL are still checked: indices outside the arena, and a clear of a
// frame buffer that does not exist, are refused with the same errors as when they are drawn.
TEST_F(GlRasterLimit, CommandsKeptFromGlAreStillChecked)
{
    for (int drawn = 0; drawn < 2; ++drawn) {
        if (drawn) GpuExecuteAll();
        else GpuExecuteOnlyFor(nullptr, 0);
        EXPECT_EQ(ClearAndDrawQuad(0x7FFFFFF0u), uint32_t(kGpuInvalidValue)) << drawn;
        GpuWords w;
        w.Reg(kGpuRegFramebuffer, 0x7777);
        w.Reg(kGpuRegClear, kGpuColorBufferBit);
        EXPECT_EQ(GpuRigRun(w), uint32_t(kGpuInvalidOperation)) << drawn;
        GpuWords back;
        back.Reg(kGpuRegFramebuffer, rig.framebuffer);
        ASSERT_EQ(GpuRigRun(back), uint32_t(kGpuNoError));
    }
}

// In a window, the image of a display that the window does not show is kept from GL: in stereo
// with the left view the right eye's image, with the right view the left one's, in anaglyph
// neither; in mono the window shows the left image whatever the view. Needs a display (its CTest
// runs under xvfb-run).
TEST(GlWindowView, OnlyTheImagesTheWindowShowsReachGl)
{
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    GpuRig rig;
    std::string why;
    ASSERT_TRUE(GpuRigStart(&rig, 240, 400, &why, 1)) << why;
    GpuExecuteOnlyFor(nullptr, 0);
    // One image for each eye: a clear of its own colour and the transfer into the eye's buffer.
    auto runBothEyes = [&rig](uint8_t shade) {
        GpuWords w;
        const uint32_t buffers[2] = {rig.upper, rig.upperRight};
        for (int eye = 0; eye < 2; ++eye) {
            const float red = eye == 0 ? shade / 255.0f : 0.0f, green = eye == 1 ? shade / 255.0f : 0.0f;
            w.Regs(kGpuRegClearColor, {GpuFloatBits(red), GpuFloatBits(green), GpuFloatBits(0), GpuFloatBits(1)});
            w.Reg(kGpuRegClear, kGpuColorBufferBit);
            w.Regs(kGpuRegTransfer, {buffers[eye], kGpuAntialiasNone, 0, 0});
        }
        const uint64_t before = GpuGlWork();
        EXPECT_EQ(GpuRigRun(w), uint32_t(kGpuNoError));
        return GpuGlWork() - before;
    };
    auto shown = [](uint32_t buffer) {
        std::vector<uint8_t> rgb;
        int w = 0, h = 0;
        return GpuReadDisplaybuffer(buffer, &rgb, &w, &h) ? (rgb[0] | rgb[1]) : -1;
    };
    ASSERT_EQ(GpuSetDisplayMode(kGpuLcdStereo), 1);
    GpuSetView(kGpuViewLeft);
    EXPECT_EQ(runBothEyes(100), 2u) << "the left eye's clear and transfer";
    EXPECT_EQ(shown(rig.upper), 100);
    EXPECT_EQ(shown(rig.upperRight), 0) << "the right eye was never drawn";
    GpuSetView(kGpuViewRight);
    EXPECT_EQ(runBothEyes(150), 2u);
    EXPECT_EQ(shown(rig.upper), 100) << "the left eye keeps its last image";
    EXPECT_EQ(shown(rig.upperRight), 150);
    GpuSetView(kGpuViewAnaglyph);
    EXPECT_EQ(runBothEyes(200), 4u);
    ASSERT_EQ(GpuSetDisplayMode(kGpuLcdMono), 1);
    GpuSetView(kGpuViewRight);
    EXPECT_EQ(runBothEyes(50), 2u);
    EXPECT_EQ(shown(rig.upper), 50) << "mono shows the left image";
    GpuExecuteAll();
    GpuSetView(kGpuViewLeft);
    GpuRigStop();
}

}  // namespace
