// The game's music on the streams of the build's game data, and the choice of sound and rumble
// for the ball's first touch of a pin.
#include "game/music.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "game/actors.h"
#include "game/records.h"
#include "host/clock.h"
#include "host/host.h"
#include "host/mixer.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

class Music : public ::testing::Test {
protected:
    HostOptions saved;

    void SetUp() override
    {
        saved = gHostOptions;
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        gHostOptions.headless = 1;
        gHostOptions.audioOut.clear();
        HostUseVirtualClock(1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        ASSERT_EQ(InitStreaming(), 1);
        ASSERT_EQ(InitializeSoundServices(), 1);
        ASSERT_EQ(CreateStream(1, &gBackgroundMusicChannel), 1);
        sound = 1;
        gGamePaused = 0;
        InitOptions();
        ResetBackgroundMusic();
    }
    void TearDown() override
    {
        EXPECT_EQ(DisposeSoundServices(), 1);
        EXPECT_EQ(gBackgroundMusicChannel, nullptr);
        CloseBuildGameData();
        ReleaseDeviceHeap();
        HostUseVirtualClock(0);
        gHostOptions = saved;
    }
    // One presented frame: its samples mixed on game time, file reads retired, sound upkeep.
    static void Frames(int n)
    {
        for (int i = 0; i < n; ++i) {
            HostFramePresented();
            ASSERT_EQ(FileSystemUpdate(), 1);
            ASSERT_EQ(UpdateSoundServices(), 1);
        }
    }
    static const resourceHeader* Playing() { return gBackgroundMusicChannel->currentResourceHeader; }
};

TEST_F(Music, MusicAlreadyPlayingGoesOnAndAnotherSongReplacesIt)
{
    ASSERT_EQ(StartBackgroundMusic(kSongBase, 1), 1);
    Frames(5);
    DS3_stream_tag* stream = gBackgroundMusicChannel;
    ASSERT_EQ(stream->playing, 1);
    EXPECT_EQ(Playing(), &resourceHeaders[kSongBase]);
    EXPECT_FLOAT_EQ(stream->soundChannel->volume, gGameOptions.soundMusicVolume * 0.01f);
    const uint32_t offset = stream->fileOffset;
    ASSERT_EQ(StartBackgroundMusic(kSongBase, 1), 1);
    EXPECT_EQ(stream->playing, 1);
    EXPECT_EQ(stream->fileOffset, offset) << "nothing restarted";

    ASSERT_EQ(StartBackgroundMusic(kSongBase + 1, 1), 1);
    EXPECT_EQ(stream->playing, 0);
    EXPECT_EQ(stream->cueing, 1);
    EXPECT_EQ(Playing(), &resourceHeaders[kSongBase + 1]);
    Frames(3);
    EXPECT_EQ(stream->playing, 1);

    ASSERT_EQ(StartBackgroundMusic(-1, 1), 1);
    EXPECT_EQ(BackgroundMusicRSID(), kDefaultMusic);
}

// The music as a sound device plays it: a device thread pulls the mixer as fast as it can, so the
// sound thread's pass runs the streams dry and switches them while the main thread starts songs
// and asks whether music plays. The two meet only under the streams' lock (the ThreadSanitizer
// pass of the suite checks that).
TEST_F(Music, StartingSongsWhileADevicePullsTheSound)
{
    HostMixerSetLockstep(0);
    HostMixerSetPassOnMixer(0);
    std::atomic<bool> stop{false};
    std::thread device([&] {
        int16_t out[2 * 512];
        while (!stop) HostMixerRender(out, 512);
    });
    int started = 0;
    for (int i = 0; i < 120; ++i) {
        started += StartBackgroundMusic(kSongBase + (i / 30) % kNumSongs, 1);
        // Reads are retired only now and then: between them the device runs the stream dry.
        if (i % 3 == 0) FileSystemUpdate();
        UpdateSoundServices();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    stop = true;
    device.join();
    EXPECT_EQ(started, 120);
}

TEST_F(Music, TheSongsFollowEachOtherAndTheListStartsAgainAfterTheLast)
{
    const int first = ShuffleSongList();
    ASSERT_GE(first, 0);
    ASSERT_LT(first, kNumSongs);
    ASSERT_EQ(StartBackgroundMusic(kSongBase + first, 1), 1);
    ASSERT_EQ(MusicEndCB(nullptr), 1);
    EXPECT_EQ(BackgroundMusicRSID(), kSongBase + 1 - first);
    ASSERT_EQ(MusicEndCB(nullptr), 1);
    EXPECT_EQ(BackgroundMusicRSID(), kSongBase + first);

    // A song that ends on the stream starts the next one by itself.
    Frames(3);
    int frames = 0;
    while (BackgroundMusicRSID() == kSongBase + first && frames < 2000) {
        Frames(1);
        ++frames;
    }
    EXPECT_EQ(BackgroundMusicRSID(), kSongBase + 1 - first);
    EXPECT_GT(frames, 300) << "the whole song played first";
    Frames(3);
    EXPECT_EQ(gBackgroundMusicChannel->playing, 1);
}

TEST_F(Music, WithSoundSwitchedOffNothingPlaysAndStartingSucceeds)
{
    sound = 0;
    EXPECT_EQ(StartBackgroundMusic(kSongBase, 1), 1);
    EXPECT_EQ(gBackgroundMusicChannel->cueing, 0);
    EXPECT_EQ(BackgroundMusicRSID(), -1);
    sound = 1;
    EXPECT_EQ(StopBackgroundMusic(), 1);
}

TEST_F(Music, TheFirstTouchOfAPinPlaysItsSound)
{
    ASSERT_EQ(LoadResourceRange1x1(9000, 9017), 1);
    for (actor_tag*& pin : pinActors) pin = nullptr;  // no pin stands: the lightest knock
    EXPECT_EQ(PlayBallHitPinSound(1), 1);
    const DS3_soundChannel_tag* played = nullptr;
    for (int i = 0; i < kNumSoundChannels; ++i)
        if (soundChannels[i].inUse && !soundChannels[i].stream) played = &soundChannels[i];
    ASSERT_NE(played, nullptr);
    EXPECT_EQ(played->sound, ResourceHandle(9010));
    EXPECT_FLOAT_EQ(played->volume, gGameOptions.soundFXVolume * 0.01f);
    EXPECT_EQ(DeleteAllSoundChannels(), 1);
    EXPECT_EQ(DisposeResourceRange(9000, 9017), 1);
}

TEST(PinHitSound, ByThePinHitAndThePinsStanding)
{
    const int all[10] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    int rumble = 0;
    // The head pin of a full rack rumbles fully whatever the sound; the speed picks the sound.
    EXPECT_EQ(PinHitSound(1, all, 5.79f, &rumble), 9016);
    EXPECT_EQ(rumble, 255);
    EXPECT_EQ(PinHitSound(1, all, 5.7912f, &rumble), 9015);
    EXPECT_EQ(rumble, 255);
    EXPECT_EQ(PinHitSound(6, all, 9.0f, &rumble), 9012);
    EXPECT_EQ(rumble, 128);
    // With pins down, pins 4-6 count the standing pins numbered above them: five, four, none.
    const int behindFive[10] = {0, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    const int behindFour[10] = {0, 0, 0, 0, 1, 1, 1, 1, 1, 0};
    const int noneBehind[10] = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(PinHitSound(5, behindFive, 9.0f, &rumble), 9013);
    EXPECT_EQ(PinHitSound(5, behindFour, 9.0f, &rumble), 9011);
    EXPECT_EQ(rumble, 80);
    EXPECT_EQ(PinHitSound(6, noneBehind, 9.0f, &rumble), 9010);
    EXPECT_EQ(rumble, 32);
    // Pins 1-3 count every standing pin: more than five, two to five, one.
    EXPECT_EQ(PinHitSound(2, behindFive, 9.0f, &rumble), 9013);
    EXPECT_EQ(PinHitSound(2, behindFour, 9.0f, &rumble), 9012);
    EXPECT_EQ(PinHitSound(3, noneBehind, 9.0f, &rumble), 9010);
}

}  // namespace
