// Screenshot files: the PNG writer and the names of the files.
#include <gtest/gtest.h>

#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/gpu.h"
#include "host/host.h"
#include "host/screenshot.h"
#include "support/gpu_rig.h"

namespace {

// Reads an 8-bit RGB PNG back.
int ReadPng(const std::string& path, std::vector<uint8_t>* rgb, int* width, int* height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return 0;
    image.format = PNG_FORMAT_RGB;
    rgb->resize(PNG_IMAGE_SIZE(image));
    int ok = png_image_finish_read(&image, nullptr, rgb->data(), 0, nullptr);
    *width = int(image.width);
    *height = int(image.height);
    return ok;
}

std::string TempDir()
{
    std::string pattern = ::testing::TempDir() + "zshotXXXXXX";
    const char* dir = mkdtemp(pattern.data());
    return dir ? dir : "/tmp";
}

TEST(Screenshot, PngsKeepEveryPixelAndRowOrder)
{
    std::string dir = TempDir();
    const int w = 3, h = 2;
    std::vector<uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3, 4, 5, 6, 250, 251, 252};
    std::string path = dir + "/image.png";
    ASSERT_TRUE(ScreenshotWritePng(path, rgb.data(), w, h));
    std::vector<uint8_t> back;
    int bw = 0, bh = 0;
    ASSERT_TRUE(ReadPng(path, &back, &bw, &bh));
    EXPECT_EQ(bw, w);
    EXPECT_EQ(bh, h);
    EXPECT_EQ(back, rgb);
    std::remove(path.c_str());
    rmdir(dir.c_str());
}

TEST(Screenshot, AnUnwritablePlaceLeavesNoFileAndReportsIt)
{
    std::vector<uint8_t> rgb(12, 7);
    EXPECT_FALSE(ScreenshotWritePng("/nonexistent-dir/x/shot.png", rgb.data(), 2, 2));
    EXPECT_FALSE(ScreenshotWritePng("/tmp/never.png", nullptr, 2, 2));
    std::FILE* f = std::fopen("/nonexistent-dir/x/shot.png.part", "rb");
    EXPECT_EQ(f, nullptr);
    if (f) std::fclose(f);
}

TEST(Screenshot, FilesAreNamedByFrameAndDisplay)
{
    EXPECT_EQ(ScreenshotFileName(60, kGpuDisplayUpper), "frame00060-upper-left.png");
    EXPECT_EQ(ScreenshotFileName(60, kGpuDisplayUpperRight), "frame00060-upper-right.png");
    EXPECT_EQ(ScreenshotFileName(123456, kGpuDisplayLower), "frame123456-lower.png");
}

TEST(GlScreenshot, TheListedFrameIsWrittenOnceAtItsVerticalSync)
{
    GpuRig rig;
    std::string why;
    ASSERT_TRUE(GpuRigStart(&rig, 480, 800, &why)) << why;
    std::string dir = TempDir();
    ScreenshotReset();
    gHostOptions.screenshotDir = dir;
    gHostOptions.screenshotFrames = {HostFramesPresented() + 1};

    // The upper screen shows red, the lower one blue.
    GpuClearColor(1, 0, 0, 1);
    GpuClear(kGpuColorBufferBit);
    GpuTransferRenderImage(rig.upper, kGpuAntialias2x2, 0, 0);
    GpuClearColor(0, 0, 1, 1);
    GpuClear(kGpuColorBufferBit);
    GpuTransferRenderImage(rig.lower, kGpuAntialiasNone, 0, 0);
    GpuRunCmdlist();
    ASSERT_EQ(GpuGetError(), kGpuNoError);
    ASSERT_TRUE(GpuSwapBuffers(kGpuDisplayBoth));
    long frame = HostFramesPresented() + 1;
    std::string upper = dir + "/" + ScreenshotFileName(frame, kGpuDisplayUpper);
    std::string right = dir + "/" + ScreenshotFileName(frame, kGpuDisplayUpperRight);
    std::string lower = dir + "/" + ScreenshotFileName(frame, kGpuDisplayLower);

    ASSERT_TRUE(GpuWaitVSync(kGpuDisplayBoth));
    std::vector<uint8_t> rgb;
    int w = 0, h = 0;
    EXPECT_FALSE(ReadPng(upper, &rgb, &w, &h)) << "not the listed frame yet";
    HostFramePresented();
    ASSERT_TRUE(GpuWaitVSync(kGpuDisplayBoth));
    ASSERT_TRUE(ReadPng(upper, &rgb, &w, &h));
    EXPECT_EQ(w, 400);
    EXPECT_EQ(h, 240);
    EXPECT_EQ(std::vector<uint8_t>(rgb.begin(), rgb.begin() + 3), std::vector<uint8_t>({255, 0, 0}));
    // In mono the right eye sees the left image.
    ASSERT_TRUE(ReadPng(right, &rgb, &w, &h));
    EXPECT_EQ(std::vector<uint8_t>(rgb.begin(), rgb.begin() + 3), std::vector<uint8_t>({255, 0, 0}));
    ASSERT_TRUE(ReadPng(lower, &rgb, &w, &h));
    EXPECT_EQ(w, 320);
    EXPECT_EQ(std::vector<uint8_t>(rgb.end() - 3, rgb.end()), std::vector<uint8_t>({0, 0, 255}));

    // A second sync in the same frame writes nothing again.
    std::remove(upper.c_str());
    ASSERT_TRUE(GpuWaitVSync(kGpuDisplayUpper));
    EXPECT_FALSE(ReadPng(upper, &rgb, &w, &h));
    std::remove(right.c_str());
    std::remove(lower.c_str());
    rmdir(dir.c_str());
    HostResetFrames();
    GpuRigStop();
}

}  // namespace
