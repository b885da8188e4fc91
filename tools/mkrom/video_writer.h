// Writing clip files with FFmpeg's encoders: RGBA pictures drawn by mkrom become MPEG-4 video,
// 16-bit mono sound becomes MP2, both in a Matroska file, the form the game's player reads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bitmap_writer.h"

namespace mkrom {

// One sound stream of a clip: mono samples at a rate MP2 takes (16000, 22050, 24000, 32000,
// 44100 or 48000 Hz).
struct ClipSound {
    int sampleRate = 32000;
    std::vector<int16_t> samples;
};

struct ClipSpec {
    int width = 320;
    int height = 240;
    int framesPerSecond = 30;
    int frames = 0;
    // Draws picture `frame` into the image (width x height, cleared to opaque black before).
    std::function<void(int frame, RgbaImage* image)> draw;
    std::vector<ClipSound> sounds;  // the first is the clip's sound; more are written as extra streams
};

// Encodes the clip into a file; false with the reason when FFmpeg refuses. The bytes depend only
// on the clip (the encoders and the container run bit-exact).
bool WriteClip(const std::string& path, const ClipSpec& clip, std::string* error);

}  // namespace mkrom
