// The host's clip decoder: pictures come on clip time (only the last one due is converted), the
// sound comes out whole, and missing, damaged or unreadable files end without a crash.
#include "host/videodecode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "host/errorlog.h"
#include "host/files.h"
#include "host/host.h"
#include "support/video_clips.h"

namespace {

struct Heard {
    std::vector<int> rates;
    int acceptFirstOnly = 0;
    int pictures = 0;
    size_t samples = 0;
};

int NewAudio(void* user, int rate, int)
{
    auto* h = static_cast<Heard*>(user);
    h->rates.push_back(rate);
    return !h->acceptFirstOnly || h->rates.size() == 1;
}
void Picture(void* user, int64_t) { static_cast<Heard*>(user)->pictures++; }
void Samples(void* user, const int16_t*, uint32_t count) { static_cast<Heard*>(user)->samples += count; }

class HostVideoDecode : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = gHostOptions;
        folder = MakeClipFolder();
        ASSERT_FALSE(folder.empty());
        gHostOptions.romDir = folder;
        sink = HostVideoSink{&heard, NewAudio, Picture, Samples};
        texels.assign(kHostVideoWidth * kHostVideoHeight, 0);
    }
    void TearDown() override
    {
        HostVideoClose(video);
        HostFileClearFaults();
        gHostOptions = saved;
        std::filesystem::remove_all(folder);
    }
    void Open(const char* path)
    {
        const char* why = "";
        video = HostVideoOpen(path, &sink, &why);
        ASSERT_NE(video, nullptr) << why;
        HostVideoSetTarget(video, reinterpret_cast<uint8_t*>(texels.data()), kHostVideoWidth * 2);
    }
    // The centre texel's red and blue, 0..31.
    int Red() const { return texels[120 * kHostVideoWidth + 160] >> 11; }
    int Blue() const { return texels[120 * kHostVideoWidth + 160] & 31; }

    HostOptions saved;
    std::string folder;
    Heard heard;
    HostVideoSink sink{};
    HostVideo* video = nullptr;
    std::vector<uint16_t> texels;
};

TEST_F(HostVideoDecode, PicturesComeOnClipTimeAndTheSoundComesOutWhole)
{
    ASSERT_TRUE(WriteColourClip(folder + "/Video/c.mkv", 20, 10, {32000}));
    Open("rom:/Video/c.mkv");
    EXPECT_EQ(HostVideoDecodeUntil(video, 0), kHostVideoRunning);
    EXPECT_EQ(HostVideoPicturesShown(video), 1);
    EXPECT_GT(Red(), 24);
    EXPECT_LT(Blue(), 6);
    // Half a second on, frame 15 is due: the pictures passed over are not converted.
    EXPECT_EQ(HostVideoDecodeUntil(video, 500), kHostVideoRunning);
    EXPECT_EQ(HostVideoPicturesShown(video), 2);
    EXPECT_LT(Red(), 6);
    EXPECT_GT(Blue(), 24);
    EXPECT_EQ(HostVideoDecodeUntil(video, 10000), kHostVideoEnded);
    EXPECT_EQ(heard.pictures, 3);
    // 20 frames at 30 a second are 21,333 samples; the encoder pads its last frame.
    EXPECT_GE(heard.samples, 21333u);
    EXPECT_LT(heard.samples, 21333u + 2304u);
}

TEST_F(HostVideoDecode, EverySoundStreamIsAnnouncedButOnlyTheFirstAcceptedIsDecoded)
{
    ASSERT_TRUE(WriteColourClip(folder + "/Video/two.mkv", 15, 15, {32000, 16000}));
    heard.acceptFirstOnly = 1;
    Open("rom:/Video/two.mkv");
    EXPECT_EQ(heard.rates, (std::vector<int>{32000, 16000}));
    EXPECT_EQ(HostVideoDecodeUntil(video, 10000), kHostVideoEnded);
    EXPECT_GE(heard.samples, 16000u);
    EXPECT_LT(heard.samples, 16000u + 2304u);
}

TEST_F(HostVideoDecode, MissingDamagedAndUnreadableFilesEndWithoutPictures)
{
    const char* why = nullptr;
    EXPECT_EQ(HostVideoOpen("rom:/Video/none.mkv", &sink, &why), nullptr);
    EXPECT_NE(why, nullptr);

    ASSERT_TRUE(WriteColourClip(folder + "/Video/c.mkv", 20, 10, {32000}));
    const std::vector<unsigned char> good = ReadFileBytes(folder + "/Video/c.mkv");
    ASSERT_GT(good.size(), 1000u);
    const std::vector<unsigned char> empty;
    std::vector<unsigned char> noise(good.size());
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = (unsigned char)(i * 2654435761u >> 13);
    EXPECT_EQ(HostVideoOpenMemory(empty.data(), 0, &sink, nullptr), nullptr);
    EXPECT_EQ(HostVideoOpenMemory(noise.data(), noise.size(), &sink, nullptr), nullptr);

    // A truncated file, and one with its middle overwritten, play what they can and end.
    std::vector<unsigned char> scribbled = good;
    for (size_t i = scribbled.size() / 3; i < scribbled.size() / 2; ++i) scribbled[i] = (unsigned char)(i * 7);
    std::vector<unsigned char> cut(good.begin(), good.begin() + long(good.size() / 2));
    for (std::vector<unsigned char>* bytes : {&cut, &scribbled}) {
        HostVideo* v = HostVideoOpenMemory(bytes->data(), bytes->size(), &sink, nullptr);
        if (!v) continue;
        HostVideoSetTarget(v, reinterpret_cast<uint8_t*>(texels.data()), kHostVideoWidth * 2);
        int status = kHostVideoRunning;
        for (int ms = 0; ms < 5000 && status == kHostVideoRunning; ms += 33) status = HostVideoDecodeUntil(v, ms);
        EXPECT_NE(status, kHostVideoRunning);
        HostVideoClose(v);
    }

    // Reads that fail stop the clip at once.
    HostFileSetFault(kHostOpRead, "c.mkv", 1000, kHostFileDamaged);
    EXPECT_EQ(HostVideoOpen("rom:/Video/c.mkv", &sink, &why), nullptr);
}

// A clip whose picture times jump far past its stated length (an intro clip of the game's own data
// with every picture after the first moved 100,000 s on) ends a little after that length, with a
// message, instead of holding its first picture until it is skipped.
TEST_F(HostVideoDecode, AClipWhosePictureTimesJumpEndsAfterItsStatedLength)
{
    const std::string intro = std::string(ZENDROLYX_BUILD_DIR) + "/rom/Video/Intro_Studio.mkv";
    ASSERT_TRUE(WriteClipWithJump(intro, folder + "/Video/jump.mkv", 100000));
    HostClearErrorLog();
    Open("rom:/Video/jump.mkv");
    int status = kHostVideoRunning, ms = 0;
    for (; ms < 60000 && status == kHostVideoRunning; ms += 33) status = HostVideoDecodeUntil(video, ms);
    EXPECT_EQ(status, kHostVideoEnded);
    EXPECT_EQ(HostVideoPicturesShown(video), 1);
    EXPECT_LT(ms, 15000);
    EXPECT_NE(HostErrorLog().find("runs past its stated length"), std::string::npos) << HostErrorLog();
}

}  // namespace
