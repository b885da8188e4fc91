// The host mixer on its own: sample formats, rates, pausing and the mix of a voice to each side.
#include "host/mixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

class Mixer : public ::testing::Test {
protected:
    void SetUp() override { HostMixerReset(); }
    void TearDown() override
    {
        HostMixerSetUnheard(0);
        HostMixerReset();
    }
    static std::vector<int16_t> Render(int n)
    {
        std::vector<int16_t> out(2 * static_cast<size_t>(n));
        HostMixerRender(out.data(), n);
        return out;
    }
};

TEST_F(Mixer, AdpcmFramesDecodeWithScaleAndPrediction)
{
    // Predictor 0, scale 2: each four-bit sample times 4; the nibbles 1..7, -8..-2, high first.
    const uint8_t frame[8] = {0x02, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE};
    ASSERT_EQ(HostVoiceSetBuffer(0, frame, 14, kHostSampleAdpcm, kHostSampleRate, nullptr), 1);
    HostVoiceSetState(0, kHostVoicePlay);
    std::vector<int16_t> out = Render(16);
    const int nibbles[14] = {1, 2, 3, 4, 5, 6, 7, -8, -7, -6, -5, -4, -3, -2};
    for (int i = 0; i < 14; ++i) EXPECT_EQ(out[2 * size_t(i)], nibbles[i] * 4 / 2) << i;  // half to each side
    EXPECT_EQ(out[28], 0);
    EXPECT_EQ(HostVoiceIsPlaying(0), 0);
    EXPECT_EQ(HostVoiceReachedEnd(0), 1);

    // With the first coefficient 1.0 (2048) each sample adds to the one before it, across frames.
    HostAdpcmParams params = {};
    params.coefficients[0] = 2048;
    params.history1 = 100;
    const uint8_t twoFrames[16] = {0x00, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
                                   0x01, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11};
    ASSERT_EQ(HostVoiceSetBuffer(1, twoFrames, 28, kHostSampleAdpcm, kHostSampleRate, &params), 1);
    HostVoiceSetMix(1, 1.0f, 0.0f);
    HostVoiceSetState(1, kHostVoicePlay);
    out = Render(28);
    EXPECT_EQ(out[0], 101);
    EXPECT_EQ(out[2 * 13], 114);
    EXPECT_EQ(out[2 * 14], 116);  // the second frame steps by 2
    EXPECT_EQ(out[2 * 27], 114 + 28);
}

TEST_F(Mixer, AVoiceAtHalfTheRateLastsTwiceAsLongAndIsInterpolated)
{
    const int16_t samples[4] = {1000, 3000, 1000, 3000};
    ASSERT_EQ(HostVoiceSetBuffer(2, samples, 4, kHostSamplePcm16, kHostSampleRate / 2, nullptr), 1);
    HostVoiceSetMix(2, 1.0f, 1.0f);
    HostVoiceSetState(2, kHostVoicePlay);
    std::vector<int16_t> out = Render(7);
    EXPECT_EQ(out[0], 1000);
    EXPECT_EQ(out[2], 2000);
    EXPECT_EQ(out[4], 3000);
    EXPECT_EQ(out[1], out[0]);
    EXPECT_EQ(HostVoiceIsPlaying(2), 1);
    Render(1);
    EXPECT_EQ(HostVoiceIsPlaying(2), 0);
}

TEST_F(Mixer, PausedVoicesKeepTheirPlaceAndStoppedOnesForgetTheirBuffer)
{
    const int8_t samples[6] = {10, 20, 30, 40, 50, 60};
    ASSERT_EQ(HostVoiceSetBuffer(3, samples, 6, kHostSamplePcm8, kHostSampleRate, nullptr), 1);
    HostVoiceSetMix(3, 1.0f, 0.0f);
    HostVoiceSetVolume(3, 0.5f);
    HostVoiceSetState(3, kHostVoicePlay);
    EXPECT_EQ(Render(2)[2], 20 * 256 / 2);
    HostVoiceSetState(3, kHostVoicePause);
    EXPECT_EQ(Render(3)[0], 0);
    EXPECT_EQ(HostVoiceIsPlaying(3), 1);
    HostVoiceSetState(3, kHostVoicePlay);
    EXPECT_EQ(Render(1)[0], 30 * 256 / 2);
    HostVoiceSetState(3, kHostVoiceStop);
    EXPECT_EQ(HostVoiceIsPlaying(3), 0);
    EXPECT_EQ(HostVoiceReachedEnd(3), 0);
    HostVoiceSetState(3, kHostVoicePlay);
    EXPECT_EQ(Render(1)[0], 0);
    EXPECT_EQ(HostVoiceSetBuffer(kHostVoices, samples, 6, kHostSamplePcm8, kHostSampleRate, nullptr), 0);
    EXPECT_EQ(HostVoiceSetBuffer(0, samples, 6, kHostSamplePcm8, 0, nullptr), 0);
}

TEST_F(Mixer, AQueuedBufferFollowsWithoutAGapEvenAfterTheEnd)
{
    const int16_t a[2] = {1000, 1000}, b[2] = {2000, 3000}, c[1] = {700};
    ASSERT_EQ(HostVoiceSetBuffer(4, a, 2, kHostSamplePcm16, kHostSampleRate, nullptr), 1);
    ASSERT_EQ(HostVoiceQueueBuffer(4, b, 2, kHostSamplePcm16, kHostSampleRate, nullptr), 1);
    HostVoiceSetMix(4, 1.0f, 0.0f);
    HostVoiceSetState(4, kHostVoicePlay);
    std::vector<int16_t> out = Render(5);
    EXPECT_EQ(out[0], 1000);
    EXPECT_EQ(out[2], 1000);
    EXPECT_EQ(out[4], 2000);
    EXPECT_EQ(out[6], 3000);
    EXPECT_EQ(out[8], 0);
    EXPECT_EQ(HostVoiceHasQueued(4), 0);
    // Queued after the voice ran dry, it starts with the next sample mixed.
    EXPECT_EQ(HostVoiceIsPlaying(4), 0);
    ASSERT_EQ(HostVoiceQueueBuffer(4, c, 1, kHostSamplePcm16, kHostSampleRate, nullptr), 1);
    EXPECT_EQ(HostVoiceIsPlaying(4), 1);
    EXPECT_EQ(Render(1)[0], 700);
    // A new buffer or a stop drops what was queued.
    ASSERT_EQ(HostVoiceQueueBuffer(4, c, 1, kHostSamplePcm16, kHostSampleRate, nullptr), 1);
    HostVoiceSetState(4, kHostVoiceStop);
    EXPECT_EQ(HostVoiceHasQueued(4), 0);
}

// Unheard, voices end and take up their queued buffers at the very sample they would when heard
// (ADPCM, PCM at an odd rate), but nothing is mixed.
TEST_F(Mixer, UnheardVoicesKeepTimeButMixNothing)
{
    const uint8_t adpcm[16] = {0x02, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE,
                               0x03, 0x21, 0x43, 0x65, 0x87, 0xA9, 0xCB, 0xED};
    std::vector<int16_t> pcm(700);
    for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = int16_t(400 + i);
    std::vector<int> timeline[2];
    for (int unheard = 0; unheard < 2; ++unheard) {
        HostMixerReset();
        HostMixerSetUnheard(unheard);
        ASSERT_EQ(HostVoiceSetBuffer(0, adpcm, 28, kHostSampleAdpcm, 11025, nullptr), 1);
        ASSERT_EQ(HostVoiceSetBuffer(1, pcm.data(), 700, kHostSamplePcm16, 22050, nullptr), 1);
        ASSERT_EQ(HostVoiceQueueBuffer(1, pcm.data(), 300, kHostSamplePcm16, 17000, nullptr), 1);
        HostVoiceSetState(0, kHostVoicePlay);
        HostVoiceSetState(1, kHostVoicePlay);
        int loudest = 0;
        for (int step = 0; step < 160; ++step) {
            for (int16_t v : Render(13)) loudest = std::max(loudest, std::abs(int(v)));
            for (int voice = 0; voice < 2; ++voice)
                timeline[unheard].push_back(HostVoiceIsPlaying(voice) * 4 + HostVoiceReachedEnd(voice) * 2 +
                                            HostVoiceHasQueued(voice));
        }
        if (unheard) EXPECT_EQ(loudest, 0);
        else EXPECT_GT(loudest, 0);
    }
    EXPECT_EQ(timeline[0], timeline[1]);
    EXPECT_NE(timeline[0][1], timeline[0].back()) << "the second voice ended within the test";
}

// The sound thread's pass for each mixed frame changes the voices (here: every third frame it
// restarts voice 3 at another rate). In lockstep it makes no difference whether the thread serves
// each frame while the mixer waits, or the mixer runs the pass itself: the same samples come out.
int gPassCount = 0;
const int16_t kRamp[64] = {0, 500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000, 5500, 6000};
void RestartEveryThirdFrame()
{
    if (gPassCount++ % 3 == 0) {
        HostVoiceSetBuffer(3, kRamp, 64, kHostSamplePcm16, 20000 + 1000 * uint32_t(gPassCount % 7), nullptr);
        HostVoiceSetState(3, kHostVoicePlay);
    }
}

TEST_F(Mixer, InLockstepThePassGivesTheSameSamplesOnTheMixerOrOnTheThread)
{
    std::vector<int16_t> heard[2];
    for (int onMixer = 0; onMixer < 2; ++onMixer) {
        HostMixerReset();
        gPassCount = 0;
        HostMixerSetLockstep(1);
        HostMixerSetPassOnMixer(onMixer);
        HostDspSetPass(RestartEveryThirdFrame);
        HostDspAttach();
        std::thread soundThread([] {
            while (HostDspWaitFrame()) {
                RestartEveryThirdFrame();
                HostDspFrameDone();
            }
            HostDspDetach();
        });
        for (int chunk = 0; chunk < 40; ++chunk)
            for (int16_t v : Render(77)) heard[onMixer].push_back(v);
        HostDspStop();
        soundThread.join();
        HostDspSetPass(nullptr);
        HostMixerSetPassOnMixer(0);
        HostMixerSetLockstep(0);
        EXPECT_EQ(gPassCount, 40 * 77 / kHostDspFrameSamples) << "one pass a frame";
    }
    EXPECT_EQ(heard[0], heard[1]);
}

}  // namespace
