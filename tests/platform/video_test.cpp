// The video player over the host decoder: clips started while the game goes on play to their end
// on game time and give back every byte of their heap, the sound ring holds one second and the
// sound thread's hand-over takes whole packets, a second sound stream of another rate is refused,
// and paths that are too long, missing or damaged clips start nothing.
#include "platform/video.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/errorlog.h"
#include "host/host.h"
#include "host/mixer.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "platform/frame.h"
#include "platform/sound.h"
#include "support/device_heap.h"
#include "support/video_clips.h"

namespace {

class Video : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = gHostOptions;
        gHostOptions.headless = 1;
        gHostOptions.audioOut.clear();
        folder = MakeClipFolder();
        ASSERT_FALSE(folder.empty());
        gHostOptions.romDir = folder;
        ASSERT_EQ(UseFreshDeviceHeap(24 << 20), 1);
        ASSERT_EQ(InitResources(1000), 1);
        ASSERT_EQ(InitializeSoundServices(), 1);
        HostMixerSetUnheard(0);  // the test listens to the mixer
        HostClearErrorLog();
        freeBefore = GetTotalFreeMemory();
    }
    void TearDown() override
    {
        DisposeVideo();
        EXPECT_EQ(GetTotalFreeMemory(), freeBefore);
        DisposeSoundServices();
        FreeResources();
        ReleaseDeviceHeap();
        gHostOptions = saved;
        std::filesystem::remove_all(folder);
    }
    // Frames until UpdateVideo reports the end (at most limit), mixing a frame's sound after each
    // (frame n's sound starts at sample n x 1080); the loudest sample heard goes to *loudest, the
    // first sample louder than 500 to *firstLoud.
    static int PlayOut(int limit, int* loudest = nullptr, long* firstLoud = nullptr)
    {
        int frames = 0, ended = 0;
        std::vector<int16_t> mixed(2 * 1080);
        while (!ended && frames < limit) {
            EXPECT_EQ(UpdateVideo(&ended), 1);
            HostMixerRender(mixed.data(), 1080);
            for (int i = 0; i < 1080; ++i) {
                const int v = std::abs(mixed[2 * size_t(i)]);
                if (loudest && v > *loudest) *loudest = v;
                if (firstLoud && *firstLoud < 0 && v > 500) *firstLoud = long(frames) * 1080 + i;
            }
            ++frames;
        }
        return frames;
    }

    HostOptions saved;
    std::string folder;
    unsigned freeBefore = 0;
};

TEST_F(Video, AClipPlaysToItsEndOnGameTimeAndGivesItsHeapBack)
{
    ASSERT_TRUE(WriteColourClip(folder + "/Video/c.mkv", 30, 15, {32000}));
    ASSERT_EQ(StartVideo("rom:/Video/c.mkv"), 1);
    EXPECT_EQ(VideoPlaying(), 1);
    EXPECT_LT(GetTotalFreeMemory(), freeBefore - 0x800000u + 1u);
    // One second of mono 16-bit sound at 32 kHz, in whole 4096-byte pages.
    EXPECT_EQ(VideoAudioRingSize(), 65536u);
    // One second of clip at 33 ms a frame: 31 frames (the last picture is due at 967 ms).
    int loudest = 0;
    EXPECT_EQ(PlayOut(100, &loudest), 31);
    EXPECT_GE(VideoPicturesShown(), 29);
    // The tone was heard, and the sound thread left less than a packet behind.
    EXPECT_GT(loudest, 1000);
    EXPECT_LE(VideoAudioPending(), 4096u);
    EXPECT_EQ(DisposeVideo(), 1);
    EXPECT_EQ(VideoPlaying(), 0);
    EXPECT_EQ(GetTotalFreeMemory(), freeBefore);
}

TEST_F(Video, TheSoundIsHeardWithThePictureItBelongsTo)
{
    // Silent and red for a second, then a tone and blue: the tone is heard within a frame of the
    // game time at which the blue picture is due (frame 31 of 33 ms is the first at or after 1 s).
    ASSERT_TRUE(WriteColourClip(folder + "/Video/c.mkv", 60, 30, {32000}, 30));
    ASSERT_EQ(StartVideo("rom:/Video/c.mkv"), 1);
    long firstLoud = -1;
    PlayOut(100, nullptr, &firstLoud);
    ASSERT_GE(firstLoud, 0);
    const double heardMs = double(firstLoud) * 1000.0 / kHostSampleRate;
    EXPECT_NEAR(heardMs, 1000.0, 33.0);
}

TEST_F(Video, AKilledClipEndsAtTheNextStep)
{
    ASSERT_TRUE(WriteColourClip(folder + "/Video/c.mkv", 30, 15, {32000}));
    ASSERT_EQ(StartVideo("rom:/Video/c.mkv"), 1);
    EXPECT_EQ(PlayOut(3), 3);
    SetVideoKilled();
    EXPECT_EQ(VideoKilled(), 1);
    EXPECT_EQ(PlayOut(100), 1);
}

TEST_F(Video, ASecondSoundStreamOfAnotherRateIsRefused)
{
    ASSERT_TRUE(WriteColourClip(folder + "/Video/two.mkv", 10, 10, {32000, 16000}));
    ASSERT_EQ(StartVideo("rom:/Video/two.mkv"), 1);
    EXPECT_NE(HostErrorLog().find("video: a sound stream of 16000 Hz x 1 does not match"), std::string::npos);
    EXPECT_EQ(OnNewAudioStream(32000, 1), 1);
    EXPECT_EQ(OnNewAudioStream(32000, 2), 0);
}

TEST_F(Video, LongPathsMissingAndDamagedClipsStartNothing)
{
    // 65 characters are refused before anything is opened; 64 are tried.
    const std::string base = "rom:/Video/";
    const std::string path64 = base + std::string(64 - base.size() - 4, 'x') + ".mkv";
    ASSERT_EQ(path64.size(), 64u);
    EXPECT_EQ(StartVideo((path64 + "v").c_str()), 0);
    EXPECT_NE(HostErrorLog().find("video: the path is too long"), std::string::npos);
    HostClearErrorLog();
    EXPECT_EQ(StartVideo(path64.c_str()), 0);
    EXPECT_EQ(HostErrorLog().find("too long"), std::string::npos);
    EXPECT_NE(HostErrorLog().find("StartVideo :: TryInitialize failed"), std::string::npos);

    std::ofstream(folder + "/Video/bad.mkv", std::ios::binary) << std::string(5000, '\x5a');
    EXPECT_EQ(StartVideo("rom:/Video/bad.mkv"), 0);
    EXPECT_EQ(VideoPlaying(), 0);
    EXPECT_EQ(GetTotalFreeMemory(), freeBefore);
}

}  // namespace
