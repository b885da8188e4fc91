// Sound channels on the host mixer, driven by hand: the test mixes samples itself (the mixer's
// manual clock) and runs the per-frame upkeep between, so that every start, loop, fade and free
// can be heard in the mixed samples.
#include "platform/sound.h"

#include <gtest/gtest.h>

#include <vector>

#include "host/host.h"
#include "host/mixer.h"
#include "lib/resources.h"
#include "support/device_heap.h"
#include "support/sound_bytes.h"

namespace {

const int kShort = 7000;      // 100 samples of a constant
const int kLong = 7001;       // ten seconds
const int kStereo = 7002;     // left +, right -
const int kOneFrame = 7003;   // 50 samples: over within one mixer frame

std::vector<uint8_t> Constant(int16_t value, size_t n) { return Pcm16Bytes(std::vector<int16_t>(n, value)); }
std::vector<uint8_t> Mono(const std::vector<uint8_t>& samples)
{
    return SoundResourceBytes(kSoundFormatPcm16, kHostSampleRate, samples);
}

class SoundChannels : public ::testing::Test {
protected:
    HostOptions saved;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(16 << 20), 1);
        saved = gHostOptions;
        gHostOptions.headless = 1;
        gHostOptions.audioOut.clear();
        ASSERT_EQ(InitResources(10000), 1);
        ASSERT_EQ(InitializeSoundServices(), 1);
        HostMixerSetUnheard(0);  // the test listens to the mixer
        ASSERT_NE(InstallSound(kShort, Mono(Constant(8000, 100))), nullptr);
        ASSERT_NE(InstallSound(kLong, Mono(Constant(100, 327280))), nullptr);
        const std::vector<uint8_t> left = Constant(6000, 400), right = Constant(-4000, 400);
        ASSERT_NE(InstallSound(kStereo, SoundResourceBytes(kSoundFormatPcm16, kHostSampleRate, left, &right)), nullptr);
        ASSERT_NE(InstallSound(kOneFrame, Mono(Constant(8000, 50))), nullptr);
    }
    void TearDown() override
    {
        EXPECT_EQ(DisposeSoundServices(), 1);
        for (int id : {kShort, kLong, kStereo, kOneFrame}) RemoveSound(id);
        FreeResources();
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }
    // Mixes n sample pairs; returns the left channel.
    static std::vector<int16_t> Mix(int n)
    {
        std::vector<int16_t> stereo(2 * static_cast<size_t>(n));
        HostMixerRender(stereo.data(), n);
        std::vector<int16_t> left(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) left[size_t(i)] = stereo[2 * size_t(i)];
        return left;
    }
    // Frames of the game: one upkeep, then 160 samples mixed; the left channel of all of them.
    static std::vector<int16_t> Frames(int frames)
    {
        std::vector<int16_t> all;
        for (int f = 0; f < frames; ++f) {
            EXPECT_EQ(UpdateSoundServices(), 1);
            std::vector<int16_t> part = Mix(kHostDspFrameSamples);
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    }
    static int ChannelsInUse()
    {
        int n = 0;
        for (int i = 0; i < kNumSoundChannels; ++i) n += soundChannels[i].inUse;
        return n;
    }
    // Runs of non-silent samples.
    static int SoundingRuns(const std::vector<int16_t>& samples)
    {
        int runs = 0;
        bool sounding = false;
        for (int16_t s : samples) {
            if (s != 0 && !sounding) ++runs;
            sounding = s != 0;
        }
        return runs;
    }
};

TEST_F(SoundChannels, TwentyFourSoundsFillEveryChannelAndTheNextFails)
{
    for (int i = 0; i < kNumSoundChannels; ++i) ASSERT_EQ(SoundPlayResource(kLong, 100, 1), 1) << i;
    EXPECT_EQ(ChannelsInUse(), kNumSoundChannels);
    EXPECT_EQ(SoundPlayResource(kLong, 100, 1), 0);
    DS3_soundChannel_tag* channel = nullptr;
    EXPECT_EQ(SoundAllocateMonoChannel(&channel), 0);
    // 24 voices at 100 each, half to each side.
    EXPECT_EQ(Mix(10)[5], 24 * 100 / 2);
}

TEST_F(SoundChannels, AStereoSoundPlaysOnTwoVoicesLeftAndRight)
{
    ASSERT_EQ(SoundPlayResource(kStereo, 100, 1), 1);
    EXPECT_EQ(ChannelsInUse(), 2);
    EXPECT_EQ(soundChannels[0].stereoChannel, &soundChannels[1]);
    EXPECT_EQ(soundChannels[1].flags & kChannelFlagPartner, 1u);
    std::vector<int16_t> stereo(20);
    HostMixerRender(stereo.data(), 10);
    EXPECT_EQ(stereo[10], 6000);
    EXPECT_EQ(stereo[11], -4000);
    // It ends and frees both channels.
    Frames(10);
    EXPECT_EQ(ChannelsInUse(), 0);
}

TEST_F(SoundChannels, AStereoSoundOnAMonoChannelPlaysItsLeftHalfInTheMiddle)
{
    DS3_soundChannel_tag* channel = nullptr;
    ASSERT_EQ(SoundAllocateMonoChannel(&channel), 1);
    auto* sound = static_cast<DS3_sound_tag*>(ResourceHandle(kStereo));
    ASSERT_EQ(SoundStartChannel(sound, channel, 1.0f, 1.0f, 1), 1);
    std::vector<int16_t> stereo(4);
    HostMixerRender(stereo.data(), 2);
    EXPECT_EQ(stereo[0], 3000);
    EXPECT_EQ(stereo[1], 3000);
    EXPECT_EQ(ChannelsInUse(), 1);
}

TEST_F(SoundChannels, AFailedStereoAllocationGivesItsFirstChannelBack)
{
    DS3_soundChannel_tag* channel = nullptr;
    for (int i = 0; i < kNumSoundChannels - 1; ++i) ASSERT_EQ(SoundAllocateMonoChannel(&channel), 1);
    EXPECT_EQ(SoundAllocateStereoChannel(&channel), 0);
    EXPECT_EQ(SoundPlayResource(kStereo, 100, 1), 0);
    EXPECT_EQ(ChannelsInUse(), kNumSoundChannels - 1);
    EXPECT_EQ(SoundAllocateMonoChannel(&channel), 1);
}

TEST_F(SoundChannels, LoopThreePlaysThreeTimesThenFreesTheChannel)
{
    ASSERT_EQ(SoundPlayResource(kShort, 100, 3), 1);
    const std::vector<int16_t> heard = Frames(20);
    EXPECT_EQ(SoundingRuns(heard), 3);
    int sounding = 0;
    for (int16_t s : heard) sounding += s == 4000;
    EXPECT_EQ(sounding, 300);
    EXPECT_EQ(ChannelsInUse(), 0);
}

TEST_F(SoundChannels, ASoundOverBeforeItsFirstUpkeepStillFreesItsChannel)
{
    ASSERT_EQ(SoundPlayResource(kOneFrame, 100, 1), 1);
    Mix(kHostDspFrameSamples * 3);
    EXPECT_EQ(ChannelsInUse(), 1);
    EXPECT_EQ(UpdateSoundServices(), 1);
    EXPECT_EQ(ChannelsInUse(), 0);
}

TEST_F(SoundChannels, LoopingForEverRestartsUntilCancelled)
{
    DS3_soundChannel_tag* channel = nullptr;
    ASSERT_EQ(SoundAllocateMonoChannel(&channel), 1);
    ASSERT_EQ(SoundSetLoopCount(channel, 0), 1);
    ASSERT_EQ(SoundStartResource(channel, kShort), 1);
    EXPECT_EQ(SoundingRuns(Frames(12)), 12);
    ASSERT_EQ(SoundCancel(channel), 1);
    EXPECT_EQ(SoundingRuns(Frames(3)), 0);
    EXPECT_EQ(channel->inUse, 1);  // a kept channel stays with its owner
    EXPECT_EQ(DeleteSoundChannel(&channel), 1);
    EXPECT_EQ(channel, nullptr);
    EXPECT_EQ(ChannelsInUse(), 0);
}

struct Counter {
    int calls = 0;
    static int Count(void* data)
    {
        ++static_cast<Counter*>(data)->calls;
        return 1;
    }
};

TEST_F(SoundChannels, TheCompletionCallbackRunsOnceWhenTheSoundEnds)
{
    DS3_soundChannel_tag* channel = nullptr;
    ASSERT_EQ(SoundAllocateMonoChannel(&channel), 1);
    Counter counter;
    ASSERT_EQ(SoundSetCompletionCallback(channel, Counter::Count, &counter), 1);
    ASSERT_EQ(SoundSetLoopCount(channel, 2), 1);
    ASSERT_EQ(SoundStartResource(channel, kShort), 1);
    Frames(2);
    EXPECT_EQ(counter.calls, 0);  // the first of two plays has ended
    Frames(10);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(channel->playing, 0);
}

TEST_F(SoundChannels, AFadeOfEveryChannelTakesFiftyEightUpkeeps)
{
    ASSERT_EQ(SoundPlayResource(kLong, 100, 1), 1);
    ASSERT_EQ(SoundPlayResource(kLong, 50, 1), 1);
    Frames(1);
    ASSERT_EQ(SetChannelVolumeFade(nullptr, 0, 0), 1);
    Frames(57);
    EXPECT_GT(soundChannels[0].volume, 0.0f);
    EXPECT_GT(soundChannels[1].volume, 0.0f);
    Frames(1);
    EXPECT_EQ(soundChannels[0].volume, 0.0f);
    EXPECT_EQ(soundChannels[1].volume, 0.0f);
    EXPECT_EQ(Mix(10)[5], 0);
    // A fade of 170 ms is ten steps, and one shorter than a step is one.
    ASSERT_EQ(SetChannelVolume(&soundChannels[0], 100), 1);
    ASSERT_EQ(SetChannelVolumeFade(&soundChannels[0], 50, 170), 1);
    Frames(9);
    EXPECT_GT(soundChannels[0].volume, 0.5f);
    Frames(1);
    EXPECT_EQ(soundChannels[0].volume, 0.5f);
    ASSERT_EQ(SetChannelVolumeFade(&soundChannels[0], 80, 5), 1);
    Frames(1);
    EXPECT_FLOAT_EQ(soundChannels[0].volume, 0.8f);
}

TEST_F(SoundChannels, APausedChannelIsSilentAndOnceResumedItEndsAndIsFreed)
{
    ASSERT_EQ(SoundPlayResource(kShort, 100, 1), 1);
    DS3_soundChannel_tag* channel = &soundChannels[0];
    Mix(40);
    ASSERT_EQ(SoundPauseChannel(channel), 1);
    EXPECT_EQ(SoundingRuns(Frames(5)), 0);
    EXPECT_EQ(channel->inUse, 1);
    ASSERT_EQ(SoundResumeChannel(channel), 1);
    const std::vector<int16_t> rest = Frames(5);
    int sounding = 0;
    for (int16_t s : rest) sounding += s != 0;
    EXPECT_EQ(sounding, 60);
    EXPECT_EQ(ChannelsInUse(), 0);
}

TEST_F(SoundChannels, DamagedSoundResourcesAreRefused)
{
    EXPECT_EQ(InstallSound(7010, SoundResourceBytes(kSoundFormatPcm16, 0, Constant(1, 10))), nullptr);
    std::vector<uint8_t> tooLong = SoundResourceBytes(kSoundFormatPcm16, 8000, Constant(1, 10));
    tooLong.resize(tooLong.size() - 2);
    EXPECT_EQ(InstallSound(7010, tooLong), nullptr);
    std::vector<uint8_t> noRight = SoundResourceBytes(kSoundFormatPcm16, 8000, Constant(1, 10));
    noRight[0] = kSoundFlagStereo;
    EXPECT_EQ(InstallSound(7010, noRight), nullptr);
    const std::vector<uint8_t> odd(5, 1);
    EXPECT_EQ(InstallSound(7010, SoundResourceBytes(kSoundFormatPcm8, 8000, odd, &odd)), nullptr);
    EXPECT_EQ(InstallSound(7010, SoundResourceBytes(kSoundFormatWaveFile, 8000, Constant(1, 10))), nullptr);
    EXPECT_EQ(SoundPlayResource(7010, 100, 1), 0);
    EXPECT_EQ(SoundPlayResource(7011, 100, 1), 0);

    const std::vector<uint8_t> right = Constant(2, 3000);
    DS3_sound_tag* sound = InstallSound(7010, SoundResourceBytes(kSoundFormatPcm16, 8000, Constant(1, 4000), &right));
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->numSamples, 4000u);
    EXPECT_EQ(sound->duration, 500u);
    ASSERT_NE(sound->stereoSound.get(), nullptr);
    EXPECT_EQ(sound->stereoSound->numSamples, 3000u);
    EXPECT_EQ(sound->stereoSound->duration, 375u);
    RemoveSound(7010);
}

}  // namespace
