// Audio streams on the real sound thread and file server, reading sounds from an archive written
// for the test. The test is the main thread: it mixes the samples of each frame (the sound
// thread switches buffers in step with the mixer), retires file reads and runs the sound upkeep.
// Every sample of the test sounds is unique and non-zero, so the mixed output shows whether the
// right data played in the right order, and where it fell silent.
#include "platform/streams.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "host/clock.h"
#include "host/host.h"
#include "host/mixer.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "support/device_heap.h"
#include "support/sound_bytes.h"

namespace {

const int kBase = 7100;
const int kLongMono = 7100;  // 40000 samples: three buffers
const int kListA = 7101;     // three short sounds for a list, one of them 8-bit
const int kListB = 7102;
const int kListC = 7103;
const int kStereo = 7104;     // 20000 samples a side: left positive, right negative
const int kNotSound = 7105;   // type 1

// Sample i of resource r: unique within the test, never 0, even (so half of it is exact).
int16_t Value(int r, int i) { return int16_t(2 * (1 + (r - kBase) * 1000 + i % 997)); }

std::vector<int16_t> Pcm(int r, int n, int sign = 1)
{
    std::vector<int16_t> s(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) s[size_t(i)] = int16_t(sign * Value(r, i));
    return s;
}

mkrom::Resource Res(int id, int16_t type, std::vector<uint8_t> bytes)
{
    mkrom::Resource r;
    r.id = id;
    r.type = type;
    r.bytes = std::move(bytes);
    return r;
}

mkrom::Resource Sound(int id, const std::vector<uint8_t>& left, int format = kSoundFormatPcm16,
                      const std::vector<uint8_t>* right = nullptr)
{
    return Res(id, kResourceTypeSound, SoundResourceBytes(format, kHostSampleRate, left, right));
}

struct Ended {
    static int count;
    static int Count(void*)
    {
        ++count;
        return 1;
    }
};
int Ended::count = 0;

class Streams : public ::testing::Test {
protected:
    HostOptions saved;
    std::filesystem::path dir;

    void SetUp() override
    {
        saved = gHostOptions;
        dir = std::filesystem::temp_directory_path() /
              ("zendrolyx-streams-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        std::vector<mkrom::Resource> content;
        content.push_back(Sound(kLongMono, Pcm16Bytes(Pcm(kLongMono, 40000))));
        content.push_back(Sound(kListA, Pcm16Bytes(Pcm(kListA, 5000))));
        std::vector<uint8_t> eightBit(3000);
        for (int i = 0; i < 3000; ++i) eightBit[size_t(i)] = uint8_t(1 + i % 100);
        content.push_back(Sound(kListB, eightBit, kSoundFormatPcm8));
        content.push_back(Sound(kListC, Pcm16Bytes(Pcm(kListC, 7000))));
        const std::vector<uint8_t> right = Pcm16Bytes(Pcm(kStereo, 20000, -1));
        content.push_back(Sound(kStereo, Pcm16Bytes(Pcm(kStereo, 20000)), kSoundFormatPcm16, &right));
        content.push_back(Res(kNotSound, 1, std::vector<uint8_t>(64, 1)));
        std::string error;
        ASSERT_TRUE(mkrom::WriteArchive((dir / "Test.rez").string(), kBase, 10, content, &error)) << error;

        ASSERT_EQ(UseFreshDeviceHeap(16 << 20), 1);
        gHostOptions.romDir = dir.string();
        gHostOptions.headless = 1;
        gHostOptions.audioOut.clear();
        // On the virtual clock every read lands at the end of the frame that queued it.
        HostUseVirtualClock(1);
        ASSERT_EQ(FileSystemInit(), 1);
        ASSERT_EQ(InitResources(10000), 1);
        ASSERT_NE(OpenResourceFile("rom:/Test.rez"), nullptr);
        ASSERT_EQ(InitStreaming(), 1);
        ASSERT_EQ(InitializeSoundServices(), 1);
        // The sound thread itself serves every mixed frame here, as it does in the window.
        HostMixerSetPassOnMixer(0);
        HostMixerSetUnheard(0);  // the test listens
        Ended::count = 0;
    }
    void TearDown() override
    {
        EXPECT_EQ(DisposeSoundServices(), 1);
        EXPECT_EQ(CountStreams(), 0);
        FreeResources();
        FileSystemDispose();
        ReleaseDeviceHeap();
        HostUseVirtualClock(0);
        gHostOptions = saved;
        std::filesystem::remove_all(dir);
    }

    std::vector<int16_t> left, right;  // everything mixed so far

    // One frame: 33 ms mixed (the sound thread serving every 160 samples), then the frame's end:
    // file reads retired (unless held back) and the sound upkeep.
    void Frame(bool retireReads = true)
    {
        std::vector<int16_t> out(2 * 1080);
        HostMixerRender(out.data(), 1080);
        for (size_t i = 0; i < 1080; ++i) {
            left.push_back(out[2 * i]);
            right.push_back(out[2 * i + 1]);
        }
        // The file server reads on its own thread; give every queued read its time to finish.
        for (int k = 0; k < 4 && retireReads; ++k) {
            ASSERT_EQ(FileSystemUpdate(), 1);
        }
        ASSERT_EQ(UpdateSoundServices(), 1);
    }
    void Frames(int n, bool retireReads = true)
    {
        for (int i = 0; i < n; ++i) Frame(retireReads);
    }
    // Runs frames until the stream's end has been called back (at most `limit` frames).
    void UntilEnded(int limit)
    {
        for (int i = 0; i < limit && Ended::count == 0; ++i) Frame();
    }
    // The non-silent samples of a channel, divided by `scale`.
    static std::vector<int> Heard(const std::vector<int16_t>& channel, int scale)
    {
        std::vector<int> heard;
        for (int16_t s : channel)
            if (s != 0) heard.push_back(s / scale);
        return heard;
    }
    static std::vector<int> Expected(int r, int n, int times = 1)
    {
        std::vector<int> e;
        for (int t = 0; t < times; ++t)
            for (int i = 0; i < n; ++i) e.push_back(Value(r, i));
        return e;
    }
    // Runs of silence inside what was heard.
    static int Silences(const std::vector<int16_t>& channel)
    {
        int gaps = 0;
        bool started = false, silent = false;
        for (int16_t s : channel) {
            if (s != 0) {
                if (started && silent) ++gaps;
                started = true;
                silent = false;
            } else {
                silent = true;
            }
        }
        return gaps;
    }
};

TEST_F(Streams, ALoopCountOfThreePlaysTheResourceThreeTimesThenCallsBack)
{
    DS3_stream_tag* stream = nullptr;
    ASSERT_EQ(CreateStream(0, &stream), 1);
    ASSERT_EQ(SoundStartStream(&stream, kLongMono), 1);
    ASSERT_EQ(SetStreamLoopCount(stream, 3), 1);
    ASSERT_EQ(SetStreamCompletionCallback(stream, Ended::Count), 1);
    UntilEnded(200);
    EXPECT_EQ(Ended::count, 1);
    // Mono plays half to each side.
    std::vector<int> heard = Heard(left, 1);
    std::vector<int> expected = Expected(kLongMono, 40000, 3);
    for (int& v : expected) v /= 2;
    EXPECT_EQ(heard, expected);
    EXPECT_EQ(Silences(left), 0) << "each buffer follows the one before without a gap";
    EXPECT_EQ(stream->playing, 0);
    Frames(5);
    EXPECT_EQ(Ended::count, 1);
    EXPECT_EQ(CountStreams(), 1);  // a stream made by its owner stays
    EXPECT_EQ(DeleteStream(&stream), 1);
    EXPECT_EQ(stream, nullptr);
}

TEST_F(Streams, AListOfThreePlaysInOrderEachInItsOwnFormatAndEndsAfterTheThird)
{
    DS3_stream_tag* stream = nullptr;
    ASSERT_EQ(CreateStream(0, &stream), 1);
    ASSERT_EQ(SetStreamCompletionCallback(stream, Ended::Count), 1);
    const uint32_t list[] = {kListA, kListB, kListC, 0};
    ASSERT_EQ(SoundStreamPlayList(stream, list), 1);
    UntilEnded(100);
    EXPECT_EQ(Ended::count, 1);
    std::vector<int> expected;
    for (int v : Expected(kListA, 5000)) expected.push_back(v / 2);
    for (int i = 0; i < 3000; ++i) expected.push_back((1 + i % 100) * 256 / 2);
    for (int v : Expected(kListC, 7000)) expected.push_back(v / 2);
    EXPECT_EQ(Heard(left, 1), expected);
    EXPECT_EQ(DeleteStream(&stream), 1);
}

TEST_F(Streams, AnUnderrunWaitsSilentlyAndGoesOnWithTheRightData)
{
    DS3_stream_tag* stream = nullptr;
    ASSERT_EQ(CreateStream(0, &stream), 1);
    ASSERT_EQ(SetStreamCompletionCallback(stream, Ended::Count), 1);
    ASSERT_EQ(SoundStartStream(&stream, kLongMono), 1);
    Frames(3);
    ASSERT_EQ(stream->playing, 1);
    // The reads are held back past the end of both buffers: one second of silence.
    Frames(35, false);
    EXPECT_EQ(stream->playing, 0);
    EXPECT_EQ(stream->cueing, 1);
    UntilEnded(100);
    EXPECT_EQ(Ended::count, 1);
    std::vector<int> expected = Expected(kLongMono, 40000);
    for (int& v : expected) v /= 2;
    EXPECT_EQ(Heard(left, 1), expected);
    EXPECT_GE(Silences(left), 1);
    EXPECT_EQ(DeleteStream(&stream), 1);
}

TEST_F(Streams, PausedTwiceAndResumedOnceItGoesOnWhereItStopped)
{
    DS3_stream_tag* stream = nullptr;
    ASSERT_EQ(CreateStream(0, &stream), 1);
    ASSERT_EQ(SetStreamCompletionCallback(stream, Ended::Count), 1);
    ASSERT_EQ(SoundStartStream(&stream, kLongMono), 1);
    Frames(10);
    ASSERT_EQ(PauseStream(stream), 1);
    ASSERT_EQ(PauseStream(stream), 1);
    const size_t before = left.size();
    Frames(40);
    for (size_t i = before; i < left.size(); ++i) ASSERT_EQ(left[i], 0) << i;
    EXPECT_EQ(stream->paused, 1);
    ASSERT_EQ(ResumeStream(stream), 1);
    EXPECT_EQ(stream->paused, 0);
    UntilEnded(100);
    EXPECT_EQ(Ended::count, 1);
    std::vector<int> expected = Expected(kLongMono, 40000);
    for (int& v : expected) v /= 2;
    EXPECT_EQ(Heard(left, 1), expected);
    EXPECT_EQ(DeleteStream(&stream), 1);
}

TEST_F(Streams, AStereoStreamPlaysEachHalfOnItsSide)
{
    DS3_stream_tag* stream = nullptr;
    ASSERT_EQ(CreateStream(1, &stream), 1);
    ASSERT_EQ(SetStreamCompletionCallback(stream, Ended::Count), 1);
    ASSERT_EQ(SoundStreamNextResource(stream, kStereo), 1);
    UntilEnded(100);
    EXPECT_EQ(Heard(left, 1), Expected(kStereo, 20000));
    std::vector<int> negative = Expected(kStereo, 20000);
    for (int& v : negative) v = -v;
    EXPECT_EQ(Heard(right, 1), negative);
    EXPECT_EQ(Silences(left), 0);
    EXPECT_EQ(Silences(right), 0);
    EXPECT_EQ(DeleteStream(&stream), 1);
}

TEST_F(Streams, AOneOffStreamOfAStereoSoundReadsItsLeftHalfAndDeletesItself)
{
    DS3_stream_tag* stream = nullptr;
    ASSERT_EQ(SoundStartStream(&stream, kStereo), 1);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->purgeable, 1);
    for (int i = 0; i < 100 && CountStreams() > 0; ++i) Frame();
    EXPECT_EQ(CountStreams(), 0);
    std::vector<int> expected = Expected(kStereo, 20000);
    for (int& v : expected) v /= 2;
    EXPECT_EQ(Heard(left, 1), expected);
    EXPECT_EQ(Heard(right, 1), expected);
}

TEST_F(Streams, StreamsDeletedWithReadsPendingOrFromACallbackAreSafe)
{
    DS3_stream_tag* a = nullptr;
    DS3_stream_tag* b = nullptr;
    ASSERT_EQ(CreateStream(1, &a), 1);
    ASSERT_EQ(CreateStream(0, &b), 1);
    ASSERT_EQ(SoundStreamNextResource(a, kStereo), 1);
    ASSERT_EQ(a->readPending, 1);
    EXPECT_EQ(DeleteStream(&a), 1);
    Frames(3);
    EXPECT_EQ(CountStreams(), 1);

    // A completion callback that deletes every stream, its own included.
    ASSERT_EQ(SoundStreamNextResource(b, kListA), 1);
    ASSERT_EQ(SetStreamCompletionCallback(b, [](void*) {
                  ++Ended::count;
                  return DeleteAllStreams();
              }),
              1);
    UntilEnded(100);
    EXPECT_EQ(Ended::count, 1);
    EXPECT_EQ(CountStreams(), 0);
    Frames(3);
    EXPECT_EQ(DeleteAllStreams(), 1);
}

TEST_F(Streams, ResourcesThatCannotBeStreamedAreRefusedOrEndTheList)
{
    DS3_stream_tag* stream = nullptr;
    EXPECT_EQ(SoundStartStream(&stream, kNotSound), 0);
    EXPECT_EQ(SoundStartStream(&stream, kBase + 9), 0);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(CountStreams(), 0);
    EXPECT_EQ(SoundStreamNextResource(nullptr, kLongMono), 0);

    // A list stops at an entry that is no sound.
    ASSERT_EQ(CreateStream(0, &stream), 1);
    ASSERT_EQ(SetStreamCompletionCallback(stream, Ended::Count), 1);
    const uint32_t list[] = {kListA, kNotSound, kListC, 0};
    ASSERT_EQ(SoundStreamPlayList(stream, list), 1);
    UntilEnded(100);
    EXPECT_EQ(Ended::count, 1);
    std::vector<int> expected = Expected(kListA, 5000);
    for (int& v : expected) v /= 2;
    EXPECT_EQ(Heard(left, 1), expected);
    EXPECT_EQ(DeleteAllStreams(), 1);
}

}  // namespace
