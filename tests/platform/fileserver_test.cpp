#include "support/device_heap.h"
#include "platform/fileserver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/arena.h"
#include "host/errorlog.h"
#include "host/files.h"
#include "host/host.h"
#include "lib/memory.h"
#include "shell/globals.h"

namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// Waits that end a hung test; nothing is measured against them.
const auto kPatience = std::chrono::seconds(20);

// Byte i of the test file with this seed: no file repeats another's bytes at any offset.
uint8_t FileByte(int seed, size_t i) { return uint8_t((i * 7 + size_t(seed) * 31 + i / 251) % 253 + 1); }

std::vector<uint8_t> Bytes(int seed, size_t offset, size_t length)
{
    std::vector<uint8_t> out(length);
    for (size_t i = 0; i < length; ++i) out[i] = FileByte(seed, offset + i);
    return out;
}

std::vector<uint8_t> Span(const uint8_t* p, size_t length) { return std::vector<uint8_t>(p, p + length); }

// The read hook: records every read the host begins, and holds reads there while asked to, so that
// a test knows a read is in progress and decides when it ends.
struct ReadGate {
    std::mutex mutex;
    std::condition_variable changed;
    bool holding = false;
    std::vector<std::string> reads;
} gate;

void GateHook(const char* path)
{
    std::unique_lock<std::mutex> lock(gate.mutex);
    gate.reads.push_back(fs::path(path).filename().string());
    gate.changed.notify_all();
    gate.changed.wait(lock, [] { return !gate.holding; });
}

void HoldReads()
{
    std::lock_guard<std::mutex> lock(gate.mutex);
    gate.holding = true;
}

void ReleaseReads()
{
    std::lock_guard<std::mutex> lock(gate.mutex);
    gate.holding = false;
    gate.changed.notify_all();
}

// Releases the held reads a little later from another thread, for a main thread about to block.
std::thread ReleaseReadsSoon()
{
    return std::thread([] {
        std::this_thread::sleep_for(milliseconds(20));
        ReleaseReads();
    });
}

bool WaitForReads(size_t count)
{
    std::unique_lock<std::mutex> lock(gate.mutex);
    return gate.changed.wait_for(lock, kPatience, [&] { return gate.reads.size() >= count; });
}

std::vector<std::string> ReadsSoFar()
{
    std::lock_guard<std::mutex> lock(gate.mutex);
    return gate.reads;
}

// Completion callbacks seen on the main thread, by the tag in callbackData.
struct Completion {
    intptr_t tag;
    uint32_t lengthRead;
    int error;
};
std::vector<Completion> completions;

int Record(DS3_fileRequest_tag* request)
{
    completions.push_back({reinterpret_cast<intptr_t>(request->callbackData), request->lengthRead, request->error});
    return 1;
}

void* Tag(intptr_t tag) { return reinterpret_cast<void*>(tag); }

// Retires requests frame by frame until `count` callbacks have been seen.
bool RetireUntil(size_t count)
{
    auto giveUp = std::chrono::steady_clock::now() + kPatience;
    while (completions.size() < count) {
        if (!FileSystemUpdate() || std::chrono::steady_clock::now() > giveUp) return false;
        std::this_thread::yield();
    }
    return true;
}

class FileServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = gHostOptions;
        done = 0;
        completions.clear();
        {
            std::lock_guard<std::mutex> lock(gate.mutex);
            gate.reads.clear();
            gate.holding = false;
        }
        HostFileSetReadHook(GateHook);
        std::string pattern = (fs::path(::testing::TempDir()) / "fileserver-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        rom_ = pattern;
        gHostOptions.romDir = rom_.string();
        WriteFile("a.bin", 1, 4096);
        WriteFile("b.bin", 2, 4096);
        WriteFile("big.bin", 3, kBigSize);

        ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
        ASSERT_EQ(FileSystemInit(), 1);
    }
    void TearDown() override
    {
        ReleaseReads();
        done = 0;
        EXPECT_EQ(FileSystemDispose(), 1);
        for (void* h : open_) FileClose(h);
        HostFileSetReadHook(nullptr);
        HostFileClearFaults();
        ReleaseDeviceHeap();
        gHostOptions = saved_;
        fs::remove_all(rom_);
    }
    void WriteFile(const std::string& name, int seed, size_t size)
    {
        std::vector<uint8_t> bytes = Bytes(seed, 0, size);
        std::ofstream(rom_ / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(size));
    }
    // Opens a file of the test's rom directory; closed after the test.
    void* Open(const std::string& name)
    {
        void* handle = nullptr;
        EXPECT_EQ(FileOpen(("rom:/" + name).c_str(), &handle, 0), 1) << name;
        if (handle) open_.push_back(handle);
        return handle;
    }
    // Checks that every record is free again: twenty reads queue, and they are retired.
    void ExpectAllRequestsFree()
    {
        void* a = Open("a.bin");
        static uint8_t buffers[kNumFileRequests][4];
        size_t before = completions.size();
        for (int i = 0; i < kNumFileRequests; ++i) {
            EXPECT_EQ(FileReadAsync(a, buffers[i], i, 4, Record, Tag(1000 + i)), 1) << i;
        }
        EXPECT_TRUE(RetireUntil(before + kNumFileRequests));
    }

    static constexpr size_t kBigSize = 1 << 20;
    HostOptions saved_;
    fs::path rom_;
    std::vector<void*> open_;
};

TEST_F(FileServer, TwentyRequestsQueueAndCompleteInOrder)
{
    void* a = Open("a.bin");
    uint8_t buffers[kNumFileRequests + 1][16] = {};
    for (int i = 0; i < kNumFileRequests; ++i) {
        ASSERT_EQ(FileReadAsync(a, buffers[i], i * 16, 16, Record, Tag(i)), 1) << i;
    }
    EXPECT_EQ(FileReadAsync(a, buffers[kNumFileRequests], 0, 16, Record, Tag(99)), 0);

    ASSERT_TRUE(RetireUntil(kNumFileRequests));
    for (int i = 0; i < kNumFileRequests; ++i) {
        EXPECT_EQ(completions[size_t(i)].tag, i);
        EXPECT_EQ(completions[size_t(i)].lengthRead, 16u);
        EXPECT_EQ(completions[size_t(i)].error, 0);
        EXPECT_EQ(Span(buffers[i], 16), Bytes(1, size_t(i) * 16, 16)) << i;
    }
    EXPECT_EQ(ReadsSoFar().size(), size_t(kNumFileRequests));  // each read once
    ExpectAllRequestsFree();
}

TEST_F(FileServer, AnEmptyQueueWakesTheServerAndTheNextWaitsForRetirement)
{
    void* a = Open("a.bin");
    void* b = Open("b.bin");
    uint8_t first[8] = {}, second[8] = {};
    ASSERT_EQ(FileReadAsync(a, first, 0, 8, Record, Tag(1)), 1);
    // No frame has run: only the queueing itself can have woken the server.
    ASSERT_TRUE(WaitForReads(1));
    ASSERT_EQ(FileReadAsync(b, second, 0, 8, Record, Tag(2)), 1);
    std::this_thread::sleep_for(milliseconds(30));
    EXPECT_EQ(ReadsSoFar().size(), 1u) << "the second read began before the first was retired";

    ASSERT_TRUE(RetireUntil(2));
    EXPECT_EQ(ReadsSoFar(), (std::vector<std::string>{"a.bin", "b.bin"}));
    EXPECT_EQ(completions[0].tag, 1);
    EXPECT_EQ(completions[1].tag, 2);
    EXPECT_EQ(Span(second, 8), Bytes(2, 0, 8));
}

TEST_F(FileServer, CancellingBeforeTheStartRemovesWithoutCallback)
{
    void* a = Open("a.bin");
    void* b = Open("b.bin");
    uint8_t buffers[4][8] = {};
    HoldReads();
    ASSERT_EQ(FileReadAsync(a, buffers[0], 0, 8, Record, Tag(1)), 1);
    ASSERT_TRUE(WaitForReads(1));
    ASSERT_EQ(FileReadAsync(b, buffers[1], 0, 8, Record, Tag(2)), 1);
    ASSERT_EQ(FileReadAsync(b, buffers[2], 8, 8, Record, Tag(2)), 1);
    ASSERT_EQ(FileReadAsync(a, buffers[3], 8, 8, Record, Tag(3)), 1);
    EXPECT_EQ(FileClose(b), 0);  // reads of it are queued

    EXPECT_EQ(FileCancelRequest(Tag(2)), 1);  // both, neither started
    EXPECT_EQ(FileCancelRequest(Tag(77)), 1); // nothing matches: nothing started either
    EXPECT_EQ(FileCancelRequest(nullptr), 0);
    ReleaseReads();

    ASSERT_TRUE(RetireUntil(2));
    EXPECT_EQ(completions[0].tag, 1);
    EXPECT_EQ(completions[1].tag, 3);
    EXPECT_EQ(Span(buffers[3], 8), Bytes(1, 8, 8));
    EXPECT_EQ(ReadsSoFar(), (std::vector<std::string>{"a.bin", "a.bin"}));
    EXPECT_EQ(Span(buffers[1], 8), std::vector<uint8_t>(8, 0));
    EXPECT_EQ(Span(buffers[2], 8), std::vector<uint8_t>(8, 0));
    for (int i = 0; i < 5; ++i) FileSystemUpdate();
    EXPECT_EQ(completions.size(), 2u);
    ExpectAllRequestsFree();
}

TEST_F(FileServer, CancellingAStartedReadWaitsForItAndDropsTheCallback)
{
    void* big = Open("big.bin");
    std::vector<uint8_t> buffer(kBigSize, 0);
    HoldReads();
    ASSERT_EQ(FileReadAsync(big, buffer.data(), 0, int(kBigSize), Record, Tag(5)), 1);
    ASSERT_TRUE(WaitForReads(1));  // the server is inside this read

    std::thread releaser = ReleaseReadsSoon();
    EXPECT_EQ(FileCancelRequest(Tag(5)), 0);
    // The caller may now free the buffer: the read must have ended before the cancel returned.
    std::vector<uint8_t> atReturn = buffer;
    releaser.join();
    EXPECT_TRUE(atReturn == Bytes(3, 0, kBigSize));

    // The cancelled read leaves the queue in its turn, without its callback.
    uint8_t after[4] = {};
    ASSERT_EQ(FileReadAsync(big, after, 0, 4, Record, Tag(6)), 1);
    ASSERT_TRUE(RetireUntil(1));
    EXPECT_EQ(completions[0].tag, 6);
    EXPECT_EQ(FileClose(big), 1);
    open_.clear();
    ExpectAllRequestsFree();
}

int cancelNextResult = -1;

int CancelNextRead(DS3_fileRequest_tag* request)
{
    Record(request);
    // The read queued behind this one may have begun already (a spare wake-up of the server):
    // either it is removed, or it is waited for.
    cancelNextResult = FileCancelRequest(Tag(3));
    return 1;
}

TEST_F(FileServer, CancelledReadsAreSkippedAndNoneIsServedTwice)
{
    void* a = Open("a.bin");
    void* b = Open("b.bin");
    uint8_t buffers[4][8] = {};
    cancelNextResult = -1;
    HoldReads();
    ASSERT_EQ(FileReadAsync(a, buffers[0], 0, 8, Record, Tag(1)), 1);
    ASSERT_TRUE(WaitForReads(1));
    ASSERT_EQ(FileReadAsync(b, buffers[1], 0, 8, CancelNextRead, Tag(2)), 1);
    ASSERT_EQ(FileReadAsync(a, buffers[2], 0, 8, Record, Tag(3)), 1);
    ASSERT_EQ(FileReadAsync(b, buffers[3], 8, 8, Record, Tag(4)), 1);

    std::thread releaser = ReleaseReadsSoon();
    EXPECT_EQ(FileCancelRequest(Tag(1)), 0);  // the head, started
    releaser.join();

    ASSERT_TRUE(RetireUntil(2));
    EXPECT_EQ(completions[0].tag, 2);
    EXPECT_EQ(completions[1].tag, 4);
    if (cancelNextResult == 1) {
        EXPECT_EQ(ReadsSoFar(), (std::vector<std::string>{"a.bin", "b.bin", "b.bin"}));
        EXPECT_EQ(Span(buffers[2], 8), std::vector<uint8_t>(8, 0));
    } else {
        EXPECT_EQ(cancelNextResult, 0);
        EXPECT_EQ(ReadsSoFar(), (std::vector<std::string>{"a.bin", "b.bin", "a.bin", "b.bin"}));
        EXPECT_EQ(Span(buffers[2], 8), Bytes(1, 0, 8));
    }
    for (int i = 0; i < 5; ++i) FileSystemUpdate();
    EXPECT_EQ(completions.size(), 2u);
    ExpectAllRequestsFree();
}

TEST_F(FileServer, SynchronousReadsUseTheSeekOffsetAndReportShortReads)
{
    void* a = Open("a.bin");
    uint8_t buf[16] = {};
    FileSeek(a, 100);
    ASSERT_EQ(FileRead(a, buf, 16), 1);
    EXPECT_EQ(readLength, 16u);
    EXPECT_EQ(Span(buf, 16), Bytes(1, 100, 16));
    std::memset(buf, 0, sizeof buf);
    ASSERT_EQ(FileRead(a, buf, 16), 1);  // the offset does not move on
    EXPECT_EQ(Span(buf, 16), Bytes(1, 100, 16));

    // The stream itself did move on; the direct read and "current position" reads follow it.
    EXPECT_EQ(FileReadWithSize(a, buf, 4), 4);
    EXPECT_EQ(Span(buf, 4), Bytes(1, 116, 4));
    FileSeek(a, int(kReadAtCurrentPosition));
    ASSERT_EQ(FileRead(a, buf, 4), 1);
    EXPECT_EQ(Span(buf, 4), Bytes(1, 120, 4));
    ASSERT_EQ(FileReadAsync(a, buf, -1, 4, Record, Tag(1)), 1);
    ASSERT_TRUE(RetireUntil(1));
    EXPECT_EQ(Span(buf, 4), Bytes(1, 124, 4));

    // Fewer bytes than asked is a failure, with the count kept.
    HostFileSetFault(kHostOpRead, "a.bin", 1, kHostFileOk, 3);
    FileSeek(a, 0);
    EXPECT_EQ(FileRead(a, buf, 16), 0);
    EXPECT_EQ(readLength, 13u);
    FileSeek(a, 4096 - 4);
    EXPECT_EQ(FileRead(a, buf, 16), 0);  // past the end
    EXPECT_EQ(readLength, 4u);
    FileSeek(a, 0);
    ASSERT_EQ(FileRead(a, buf, 0), 1);
    EXPECT_EQ(readLength, 0u);

    // The asynchronous side flags the same faults.
    HostFileSetFault(kHostOpRead, "a.bin", 1, kHostFileOk, 5);
    HostFileSetFault(kHostOpSeek, "a.bin", 1, kHostFileDamaged);
    uint8_t other[16];
    ASSERT_EQ(FileReadAsync(a, buf, 0, 16, Record, Tag(2)), 1);
    ASSERT_EQ(FileReadAsync(a, other, 0, 16, Record, Tag(3)), 1);
    ASSERT_TRUE(RetireUntil(3));
    EXPECT_EQ(completions[1].error, 1);  // the seek failed: nothing read
    EXPECT_EQ(completions[1].lengthRead, 0u);
    EXPECT_EQ(completions[2].error, 1);
    EXPECT_EQ(completions[2].lengthRead, 11u);

    EXPECT_EQ(FileReadAsync(nullptr, buf, 0, 4, Record, Tag(4)), 0);
    EXPECT_EQ(FileReadAsync(a, nullptr, 0, 4, Record, Tag(4)), 0);
    EXPECT_EQ(FileReadAsync(a, buf, 0, -1, Record, Tag(4)), 0);
    EXPECT_EQ(FileRead(nullptr, buf, 4), 0);
}

TEST_F(FileServer, OpeningSizeAndClosing)
{
    void* handle = Tag(0x1234);
    EXPECT_EQ(FileOpen("rom:/missing.bin", &handle, 0), 0);
    EXPECT_EQ(handle, Tag(0x1234));
    EXPECT_EQ(FileOpen(nullptr, &handle, 0), 0);
    HostFileSetFault(kHostOpOpen, "a.bin", 1, kHostFileDamaged);
    EXPECT_EQ(FileOpen("rom:/a.bin", &handle, 0), 0);
    EXPECT_EQ(handle, Tag(0x1234));
    EXPECT_EQ(FileOpen("rom:/a.bin", nullptr, 0), 1);  // only asks whether it opens

    // Paths of up to 261 characters.
    std::string dirs = std::string(100, 'd') + "/" + std::string(100, 'e');
    fs::create_directories(rom_ / dirs);
    std::string longest = "rom:/" + dirs + "/" + std::string(261 - 5 - dirs.size() - 1, 'f');
    std::string tooLong = longest + "g";
    ASSERT_EQ(longest.size(), 261u);
    std::ofstream(rom_ / longest.substr(5)) << "x";
    std::ofstream(rom_ / tooLong.substr(5)) << "x";
    EXPECT_EQ(FileOpen(longest.c_str(), nullptr, 0), 1);
    EXPECT_EQ(FileOpen(tooLong.c_str(), &handle, 0), 0);
    EXPECT_EQ(handle, Tag(0x1234));

    void* big = Open("big.bin");
    unsigned size = 0;
    EXPECT_EQ(FileGetSize(big, &size), 1);
    EXPECT_EQ(size, unsigned(kBigSize));
    EXPECT_EQ(FileGetSize(big, nullptr), 1);
    EXPECT_EQ(FileGetSize(nullptr, &size), 0);
    EXPECT_EQ(FileClose(nullptr), 0);
}

TEST_F(FileServer, DirectReadsPumpTheFrameEvery52ndCall)
{
    void* a = Open("a.bin");
    done = 1;  // the pump fails, which shows when it runs
    size_t position = 0;
    for (int call = 1; call <= 104; ++call) {
        uint8_t byte = 0;
        if (call % 52 == 0) {
            EXPECT_EQ(FileReadWithSize(a, &byte, 1), -1) << call;  // stopped, which is no end of the file
            EXPECT_EQ(byte, 0) << call;
        } else {
            ASSERT_EQ(FileReadWithSize(a, &byte, 1), 1) << call;
            EXPECT_EQ(byte, FileByte(1, position++)) << call;
        }
    }
    done = 0;
    EXPECT_EQ(FileReadWithSize(a, nullptr, 1), 0);
}

// A synchronous read made by a callback while an outer synchronous read waits for its own.
uint8_t innerBuffer[40];
int innerResult = -1;
int innerDataReady = 0;
uint32_t innerLength = 0;
void* innerFile = nullptr;

int ReadInsideCallback(DS3_fileRequest_tag* request)
{
    Record(request);
    FileSeek(innerFile, 200);
    innerResult = FileRead(innerFile, innerBuffer, 40);
    innerDataReady = Span(innerBuffer, 40) == Bytes(2, 200, 40);
    innerLength = readLength;
    return 1;
}

TEST_F(FileServer, EachSynchronousReadWaitsForItsOwnData)
{
    void* a = Open("a.bin");
    innerFile = Open("b.bin");
    innerResult = -1;
    innerDataReady = 0;
    uint8_t first[8] = {}, outer[64] = {};
    // Queue order: the callback's read, then the outer read; the callback's own read is queued
    // behind the outer one, which therefore finishes first, inside the inner wait.
    ASSERT_EQ(FileReadAsync(a, first, 0, 8, ReadInsideCallback, Tag(1)), 1);
    FileSeek(a, 32);
    ASSERT_EQ(FileRead(a, outer, 64), 1);
    EXPECT_EQ(innerResult, 1);
    EXPECT_EQ(innerDataReady, 1);
    EXPECT_EQ(innerLength, 40u);
    EXPECT_EQ(readLength, 64u);
    EXPECT_EQ(Span(outer, 64), Bytes(1, 32, 64));

    DS3_fileRequest_tag request = {};
    request.lengthRead = 5;
    EXPECT_EQ(FileReadDone(&request), 1);
    EXPECT_EQ(readLength, 5u);
    EXPECT_EQ(FileReadDone(nullptr), 0);
}

// A completion retired while a load waits for its own read is its own request's work.
int ReportFault(DS3_fileRequest_tag*)
{
    PrintError("the other request's fault");
    return 1;
}

TEST_F(FileServer, ACompletionRetiredDuringALoadsWaitSaysItsFaultAsNoneOfTheLoads)
{
    void* a = Open("a.bin");
    uint8_t other[8] = {}, loaded[16] = {};
    HostClearErrorLog();
    const long before = HostErrorsReported();
    const std::string outside = HostSetErrorContext("archive rom:/load.rez, resource 7: ");
    // The other read is queued first, so the load's wait retires it.
    ASSERT_EQ(FileReadAsync(a, other, 0, 8, ReportFault, Tag(1)), 1);
    FileSeek(a, 0);
    const int read = FileRead(a, loaded, 16);
    PrintError("the load's fault");
    HostSetErrorContext(outside.c_str());
    EXPECT_EQ(read, 1);
    // Neither named with the load's archive, nor its first fault; the load's context is back after.
    EXPECT_EQ(HostErrorLog(), "the other request's fault\narchive rom:/load.rez, resource 7: the load's fault\n");
    EXPECT_EQ(HostErrorReported(before), "archive rom:/load.rez, resource 7: the load's fault");
    HostClearErrorLog();
}

TEST_F(FileServer, ASynchronousReadStoppedByTheProgramEndLeavesNothingQueued)
{
    void* a = Open("a.bin");
    uint8_t buf[16];
    done = 1;
    EXPECT_EQ(FileRead(a, buf, 16), 0);
    done = 0;
    FileSystemUpdate();  // retires the read if it had begun
    ExpectAllRequestsFree();
    EXPECT_EQ(completions.size(), size_t(kNumFileRequests));  // no stray callback
}

TEST_F(FileServer, AnotherThreadQueuesWhileTheMainThreadRetires)
{
    const int kReads = 300;
    void* b = Open("b.bin");
    std::vector<uint8_t> buffers(size_t(kReads) * 8, 0);
    std::thread stream([&] {
        for (int i = 0; i < kReads; ++i) {
            while (!FileReadAsync(b, &buffers[size_t(i) * 8], i * 8, 8, Record, Tag(i))) std::this_thread::yield();
        }
    });
    bool retired = RetireUntil(kReads);
    stream.join();
    ASSERT_TRUE(retired);
    for (int i = 0; i < kReads; ++i) {
        EXPECT_EQ(completions[size_t(i)].tag, i);
        EXPECT_EQ(Span(&buffers[size_t(i) * 8], 8), Bytes(2, size_t(i) * 8, 8)) << i;
    }
    ExpectAllRequestsFree();
}

TEST_F(FileServer, DisposeServesPendingReadsAndInitWorksAgain)
{
    void* a = Open("a.bin");
    uint8_t buffers[5][8] = {};
    for (int i = 0; i < 5; ++i) ASSERT_EQ(FileReadAsync(a, buffers[i], i * 8, 8, Record, Tag(i)), 1);
    EXPECT_EQ(FileSystemDispose(), 1);
    ASSERT_EQ(completions.size(), 5u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Span(buffers[i], 8), Bytes(1, size_t(i) * 8, 8));
    EXPECT_EQ(FileSystemDispose(), 1);  // not running: nothing to do
    EXPECT_EQ(FileReadAsync(a, buffers[0], 0, 8, Record, Tag(9)), 0);
    EXPECT_EQ(FileSystemUpdate(), 1);

    ASSERT_EQ(FileSystemInit(), 1);
    EXPECT_EQ(FileSystemInit(), 1);  // once only
    FileSeek(a, 8);
    ASSERT_EQ(FileRead(a, buffers[0], 8), 1);
    EXPECT_EQ(Span(buffers[0], 8), Bytes(1, 8, 8));
}

TEST_F(FileServer, DisposeAtTheProgramEndDropsQueuedReadsAndFinishesTheRunningOne)
{
    void* big = Open("big.bin");
    std::vector<uint8_t> buffer(kBigSize, 0);
    uint8_t small[2][8] = {};
    HoldReads();
    ASSERT_EQ(FileReadAsync(big, buffer.data(), 0, int(kBigSize), Record, Tag(1)), 1);
    ASSERT_TRUE(WaitForReads(1));
    ASSERT_EQ(FileReadAsync(big, small[0], 0, 8, Record, Tag(2)), 1);
    ASSERT_EQ(FileReadAsync(big, small[1], 8, 8, Record, Tag(3)), 1);

    done = 1;
    std::thread releaser = ReleaseReadsSoon();
    EXPECT_EQ(FileSystemDispose(), 0);
    std::vector<uint8_t> atReturn = buffer;
    releaser.join();
    done = 0;
    EXPECT_TRUE(atReturn == Bytes(3, 0, kBigSize));
    EXPECT_TRUE(completions.empty());
    EXPECT_EQ(ReadsSoFar().size(), 1u);
    EXPECT_EQ(Span(small[0], 8), std::vector<uint8_t>(8, 0));

    ASSERT_EQ(FileSystemInit(), 1);
    ExpectAllRequestsFree();
}

}  // namespace
