// Test clips written with mkrom's clip encoder into temporary folders.
#include "support/video_clips.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "video_writer.h"

namespace fs = std::filesystem;

std::string MakeClipFolder()
{
    std::string pattern = (fs::path(::testing::TempDir()) / "clips-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return std::string();
    fs::create_directories(fs::path(pattern) / "Video");
    return pattern;
}

bool WriteColourClip(const std::string& path, int frames, int redFrames, const std::vector<int>& rates, int quietFrames)
{
    mkrom::ClipSpec clip;
    clip.frames = frames;
    clip.draw = [redFrames](int f, mkrom::RgbaImage* image) {
        for (size_t i = 0; i < image->rgba.size(); i += 4) {
            image->rgba[i] = f < redFrames ? 230 : 10;
            image->rgba[i + 1] = 10;
            image->rgba[i + 2] = f < redFrames ? 10 : 230;
        }
    };
    for (int rate : rates) {
        mkrom::ClipSound sound;
        sound.sampleRate = rate;
        const size_t n = size_t(frames) * size_t(rate) / 30u, quiet = size_t(quietFrames) * size_t(rate) / 30u;
        for (size_t i = 0; i < n; ++i) sound.samples.push_back(i < quiet ? 0 : int16_t(8000.0 * std::sin(double(i) * 0.05)));
        clip.sounds.push_back(sound);
    }
    std::string error;
    return mkrom::WriteClip(path, clip, &error);
}

std::vector<unsigned char> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
