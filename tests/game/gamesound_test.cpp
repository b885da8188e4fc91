// The sound of a game, written to a WAV file on game time as a headless run with --audio-out
// writes it: a computer bowler's first ball on the lane of the build's game data, the frames of
// its release and of its first touch of the pins noted as the game plays, and the file's samples
// checked at those times: music before the throw, the rolling ball louder than the music alone,
// the pins louder still. (That the same seed writes the same file is checked by running the
// program twice: the song list carries over from game to game within one process.)
#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "game/actors.h"
#include "game/areas.h"
#include "game/ball.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/records.h"
#include "host/clock.h"
#include "host/gpu.h"
#include "host/host.h"
#include "host/mixer.h"
#include "lib/trig.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "screens/frontend.h"
#include "screens/quicklaunch.h"
#include "shell/globals.h"
#include "shell/physicsmemory.h"
#include "shell/scenedraw.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

// Samples of the game's presented frame f: each frame is 33 ms of game time.
size_t FrameStart(long f) { return size_t(f * 33 * int64_t(kHostSampleRate) / 1000); }

struct Recording {
    std::vector<int16_t> samples;  // interleaved stereo
    long releaseFrame = -1;        // the frame the ball left the hand
    long pinsMoveFrame = -1;       // the first frame after whose physics step a pin moves
    bool valid = false;

    // Root mean square of both channels over frames [first, last).
    double Rms(long first, long last) const
    {
        const size_t a = 2 * FrameStart(first), b = std::min(samples.size(), 2 * FrameStart(last));
        if (b <= a) return 0.0;
        double sum = 0.0;
        for (size_t i = a; i < b; ++i) sum += double(samples[i]) * samples[i];
        return std::sqrt(sum / double(b - a));
    }
};

uint32_t Little(const uint8_t* p, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

class GameSound : public ::testing::Test {
protected:
    HostOptions saved;
    std::string wavPath;

    void SetUp() override
    {
        saved = gHostOptions;
        // One file per process: the test may run in several builds at once.
        wavPath = (std::filesystem::temp_directory_path() /
                   ("zendrolyx-gamesound-" + std::to_string(getpid()) + ".wav"))
                      .string();
        ASSERT_EQ(UseFreshDeviceHeap(64 << 20), 1);
        ASSERT_EQ(PrepareWholeGame(), 1);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        // The game's pictures are not looked at here: its commands are checked, not drawn on GL.
        GpuExecuteOnlyFor(nullptr, 0);
        gHostOptions.headless = 1;
        gHostOptions.audioOut = wavPath;
        HostUseVirtualClock(1);
    }
    void TearDown() override
    {
        DisposeSoundServices();
        RenderDispose();
        GpuExecuteAll();
        CloseBuildGameData();
        sinTable = cosTable = nullptr;
        btAlignedAllocSetCustom(nullptr, nullptr);
        btAlignedAllocSetCustomAligned(nullptr, nullptr);
        ReleaseDeviceHeap();
        HostUseVirtualClock(0);
        gHostOptions = saved;
        std::remove(wavPath.c_str());
    }

    static bool AnyPinMoving()
    {
        if (!physics) return false;
        for (int i = 0; i < kNumPins; ++i) {
            const btRigidBody* pin = physics->m_pinBody[i];
            if (pin && pin->getLinearVelocity().length() > 0.05f) return true;
        }
        return false;
    }

    // Plays a one-bowler game from its set-up until a little after the first ball reaches the
    // pins, with the sound going to the WAV file, and reads the file back.
    Recording Record()
    {
        Recording r;
        SeedRandom();
        EXPECT_EQ(QuickLaunchGame("quick", 1), 1);
        EXPECT_EQ(InitializeSoundServices(), 1);
        const long first = HostFramesPresented();
        EXPECT_EQ(GameLoopSetup(), 1);
        for (int step = 0; step < 2000; ++step) {
            if (!ReadControls(nullptr) || !HandleControls() || !UpdateGameLogic()) break;
            const long frame = HostFramesPresented() - first;
            if (r.releaseFrame < 0 && bowlingBall && bowlingBall->team) r.releaseFrame = frame;
            if (r.releaseFrame >= 0 && r.pinsMoveFrame < 0 && AnyPinMoving()) r.pinsMoveFrame = frame;
            if (!DrawGameScreen()) break;
            if (r.pinsMoveFrame >= 0 && frame > r.pinsMoveFrame + 30) break;
        }
        DisposePhysicsWorld();
        DisposeArea();
        DisposeGame();
        LoadingScreenClose();
        EXPECT_EQ(DisposeSoundServices(), 1);

        FILE* f = std::fopen(wavPath.c_str(), "rb");
        if (!f) return r;
        std::vector<uint8_t> bytes;
        uint8_t buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(f);
        if (bytes.size() < 44 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return r;
        if (std::memcmp(bytes.data() + 36, "data", 4) != 0) return r;
        EXPECT_EQ(Little(bytes.data() + 22, 2), 2u);
        EXPECT_EQ(Little(bytes.data() + 24, 4), uint32_t(kHostSampleRate));
        EXPECT_EQ(Little(bytes.data() + 34, 2), 16u);
        const uint32_t dataBytes = Little(bytes.data() + 40, 4);
        EXPECT_EQ(dataBytes, bytes.size() - 44);
        EXPECT_EQ(Little(bytes.data() + 4, 4), dataBytes + 36);
        r.samples.resize(dataBytes / 2);
        std::memcpy(r.samples.data(), bytes.data() + 44, r.samples.size() * 2);
        r.valid = true;
        return r;
    }
};

TEST_F(GameSound, TheRollAndThePinsAreHeardWhereTheGamePlaysThemWithMusicUnder)
{
    const Recording r = Record();
    ASSERT_TRUE(r.valid);
    ASSERT_GT(r.releaseFrame, 40) << "the bowler's approach comes first";
    ASSERT_GT(r.pinsMoveFrame, r.releaseFrame + 20);
    EXPECT_GE(r.samples.size(), 2 * FrameStart(r.pinsMoveFrame + 30));

    // Music alone, before the throw (its first few frames wait for the stream's first reads).
    const double music = r.Rms(r.releaseFrame - 35, r.releaseFrame - 5);
    // The ball rolling down the lane, from shortly after the release to shortly before the pins.
    const double rolling = r.Rms(r.releaseFrame + 15, r.pinsMoveFrame - 5);
    // The pins: the sound starts on the frame after the physics first moves them.
    const double pins = r.Rms(r.pinsMoveFrame, r.pinsMoveFrame + 8);
    const double beforePins = r.Rms(r.pinsMoveFrame - 10, r.pinsMoveFrame - 2);
    EXPECT_GT(music, 300.0) << "music plays under the game";
    EXPECT_GT(rolling, 1.5 * music) << "the rolling ball is heard over the music";
    EXPECT_GT(pins, 1.5 * beforePins) << "the pins are heard when the ball reaches them";
    EXPECT_GT(pins, 2.0 * music);
}

}  // namespace
