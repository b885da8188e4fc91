// PNG screenshots of the displays.
#include "host/screenshot.h"

#include <png.h>

#include <cstdio>
#include <set>
#include <vector>

#include "host/errorlog.h"
#include "host/gpu.h"
#include "host/host.h"
#include "host/layoutrecord.h"

static std::set<long> framesWritten;

int ScreenshotWritePng(const std::string& path, const uint8_t* rgb, int width, int height)
{
    if (!rgb || width < 1 || height < 1) return PrintError("screenshot %s: no image", path.c_str());
    // Written under a temporary name and renamed, so that a failure never leaves half a file.
    std::string temp = path + ".part";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return PrintError("screenshot: %s cannot be written", path.c_str());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) rows[size_t(y)] = const_cast<png_bytep>(rgb + size_t(y) * width * 3);
    volatile int ok = 0;
    // libpng reports write errors by jumping back here.
    if (png && info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, f);
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        png_write_image(png, rows.data());
        png_write_end(png, nullptr);
        ok = 1;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    if (std::fclose(f) != 0) ok = 0;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return PrintError("screenshot: %s cannot be written", path.c_str());
    }
    return 1;
}

std::string ScreenshotFileName(long frame, uint32_t display)
{
    char name[64];
    const char* which = display == kGpuDisplayLower ? "lower" : display == kGpuDisplayUpperRight ? "upper-right"
                                                                                                 : "upper-left";
    std::snprintf(name, sizeof name, "frame%05ld-%s.png", frame, which);
    return name;
}

void ScreenshotTakeDue()
{
    long frame = HostFramesPresented();
    const std::vector<long>& wanted = gHostOptions.screenshotFrames;
    int due = 0;
    for (long f : wanted) due |= f == frame;
    due = due && !framesWritten.count(frame);
    if (gHostOptions.layoutOut) {
        char name[64];
        std::snprintf(name, sizeof name, "frame%05ld-lines.txt", frame);
        LayoutFramePresented(due ? gHostOptions.screenshotDir + "/" + name : std::string());
    }
    if (!due) return;
    framesWritten.insert(frame);
    const uint32_t displays[3] = {kGpuDisplayUpper, kGpuDisplayUpperRight, kGpuDisplayLower};
    for (uint32_t display : displays) {
        std::vector<uint8_t> rgb;
        int w = 0, h = 0;
        int have = GpuReadDisplay(display, &rgb, &w, &h);
        if (!have && display == kGpuDisplayUpperRight) have = GpuReadDisplay(kGpuDisplayUpper, &rgb, &w, &h);
        if (display == kGpuDisplayUpperRight && GpuDisplayMode() != kGpuLcdStereo)
            have = GpuReadDisplay(kGpuDisplayUpper, &rgb, &w, &h);
        if (!have) continue;
        ScreenshotWritePng(gHostOptions.screenshotDir + "/" + ScreenshotFileName(frame, display), rgb.data(), w, h);
    }
}

int ScreenshotDue()
{
    const long frame = HostFramesPresented();
    for (long f : gHostOptions.screenshotFrames)
        if (f == frame) return !framesWritten.count(frame);
    return 0;
}

void ScreenshotTakePictures(const std::vector<uint8_t>& upper, int upperW, const std::vector<uint8_t>& lower,
                            int lowerW, int height, const std::string& lines)
{
    if (!ScreenshotDue()) return;
    const long frame = HostFramesPresented();
    framesWritten.insert(frame);
    const std::string dir = gHostOptions.screenshotDir + "/";
    ScreenshotWritePng(dir + ScreenshotFileName(frame, kGpuDisplayUpper), upper.data(), upperW, height);
    ScreenshotWritePng(dir + ScreenshotFileName(frame, kGpuDisplayUpperRight), upper.data(), upperW, height);
    ScreenshotWritePng(dir + ScreenshotFileName(frame, kGpuDisplayLower), lower.data(), lowerW, height);
    if (!gHostOptions.layoutOut) return;
    char name[64];
    std::snprintf(name, sizeof name, "frame%05ld-lines.txt", frame);
    FILE* f = std::fopen((dir + name).c_str(), "w");
    if (!f || std::fputs(lines.c_str(), f) < 0) PrintError("layout: %s%s cannot be written", dir.c_str(), name);
    if (f) std::fclose(f);
}

void ScreenshotReset() { framesWritten.clear(); }
