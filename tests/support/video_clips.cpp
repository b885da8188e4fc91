// Test clips written with mkrom's clip encoder into temporary folders.
#include "support/video_clips.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "video_writer.h"

extern "C" {
#include <libavformat/avformat.h>
}

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

// The Matroska element that states the segment's length, as the muxer writes it: its id and the
// size byte of an 8-byte float.
static const unsigned char kDurationElement[] = {0x44, 0x89, 0x88};

static size_t FindDuration(const std::vector<unsigned char>& bytes)
{
    auto at = std::search(bytes.begin(), bytes.end(), std::begin(kDurationElement), std::end(kDurationElement));
    return at == bytes.end() || bytes.end() - at < 11 ? std::string::npos : size_t(at - bytes.begin()) + 3;
}

bool WriteClipWithJump(const std::string& from, const std::string& to, int shiftSeconds)
{
    AVFormatContext* in = nullptr;
    if (avformat_open_input(&in, from.c_str(), nullptr, nullptr) < 0) return false;
    AVFormatContext* out = nullptr;
    bool ok = avformat_find_stream_info(in, nullptr) >= 0 &&
              avformat_alloc_output_context2(&out, nullptr, "matroska", to.c_str()) >= 0;
    for (unsigned i = 0; ok && i < in->nb_streams; ++i) {
        AVStream* s = avformat_new_stream(out, nullptr);
        ok = s && avcodec_parameters_copy(s->codecpar, in->streams[i]->codecpar) >= 0;
        if (ok) s->codecpar->codec_tag = 0;
    }
    ok = ok && avio_open(&out->pb, to.c_str(), AVIO_FLAG_WRITE) >= 0 && avformat_write_header(out, nullptr) >= 0;
    AVPacket* packet = av_packet_alloc();
    bool firstPicture = true;
    while (ok && packet && av_read_frame(in, packet) >= 0) {
        AVStream* s = in->streams[packet->stream_index];
        if (s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            if (!firstPicture) {
                const int64_t shift = av_rescale_q(shiftSeconds, AVRational{1, 1}, s->time_base);
                if (packet->pts != AV_NOPTS_VALUE) packet->pts += shift;
                if (packet->dts != AV_NOPTS_VALUE) packet->dts += shift;
            }
            firstPicture = false;
        }
        av_packet_rescale_ts(packet, s->time_base, out->streams[packet->stream_index]->time_base);
        ok = av_interleaved_write_frame(out, packet) >= 0;
        av_packet_unref(packet);
    }
    ok = ok && packet && av_write_trailer(out) >= 0;
    av_packet_free(&packet);
    if (out) avio_closep(&out->pb);
    avformat_free_context(out);
    avformat_close_input(&in);
    if (!ok) return false;
    // The muxer states the length the last packet reaches; the copy states the original's.
    const std::vector<unsigned char> original = ReadFileBytes(from);
    std::vector<unsigned char> copy = ReadFileBytes(to);
    const size_t a = FindDuration(original), b = FindDuration(copy);
    if (a == std::string::npos || b == std::string::npos) return false;
    std::copy(original.begin() + long(a), original.begin() + long(a) + 8, copy.begin() + long(b));
    std::ofstream(to, std::ios::binary).write(reinterpret_cast<const char*>(copy.data()), std::streamsize(copy.size()));
    return true;
}
