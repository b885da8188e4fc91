#include "host/files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "host/errorlog.h"
#include "host/host.h"

namespace {

namespace fs = std::filesystem;

std::string ReadWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWhole(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A fresh rom and data directory for each test; the options and faults are restored after it.
class HostFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = gHostOptions;
        std::string pattern = (fs::path(::testing::TempDir()) / "hostfiles-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        rom_ = root_ / "rom";
        data_ = root_ / "data";
        fs::create_directories(rom_);
        fs::create_directories(data_);
        gHostOptions.romDir = rom_.string();
        gHostOptions.dataDir = data_.string() + "/";  // a trailing '/' must not double up
        WriteWhole(rom_ / "sub" / "digits.bin", "0123456789");
    }
    void TearDown() override
    {
        HostFileClearFaults();
        HostRomOpenAny();
        gHostOptions = saved_;
        fs::remove_all(root_);
    }
    // Files in the save directory, to see that no temporary file is left behind.
    int DataFileCount() const { return int(std::distance(fs::directory_iterator(data_), fs::directory_iterator())); }

    HostOptions saved_;
    fs::path root_, rom_, data_;
};

TEST_F(HostFiles, GamePathsMapToTheirDirectories)
{
    EXPECT_EQ(HostResolvePath("rom:/sub\\digits.bin"), rom_.string() + "/sub/digits.bin");
    EXPECT_EQ(HostResolvePath("rom:\\sub\\digits.bin"), rom_.string() + "/sub/digits.bin");
    EXPECT_EQ(HostResolvePath("data:/save.dat"), data_.string() + "/save.dat");
    EXPECT_EQ(HostResolvePath("plain\\rel.txt"), "plain/rel.txt");
    EXPECT_EQ(HostResolvePath("/abs/x"), "/abs/x");
    EXPECT_EQ(HostResolvePath(nullptr), "");

    int32_t result = -1;
    HostFile* f = HostFileOpenRead("rom:\\sub\\digits.bin", &result);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(result, kHostFileOk);
    char buf[4] = {};
    uint32_t done = 0;
    EXPECT_EQ(HostFileRead(f, buf, 3, &done), kHostFileOk);
    EXPECT_EQ(std::string(buf, done), "012");
    EXPECT_EQ(HostFileClose(f), kHostFileOk);
}

// Once the game data's list is read, "rom:/" opens only what it names, however the game spells
// the path; a file beside it that the list does not name is refused as missing, even by a way
// round through another folder. The save directory is not the game data's.
TEST_F(HostFiles, OnceTheListIsReadOnlyWhatItNamesOpens)
{
    WriteWhole(rom_ / "stray.bin", "x");
    WriteWhole(data_ / "save.dat", "s");
    HostRomOpenOnly({"sub/digits.bin"});
    int32_t result = -1;
    for (const char* named : {"rom:/sub/digits.bin", "rom:\\sub\\digits.bin", "rom:sub/digits.bin"}) {
        HostFile* f = HostFileOpenRead(named, &result);
        ASSERT_NE(f, nullptr) << named;
        EXPECT_EQ(HostFileClose(f), kHostFileOk);
    }
    for (const char* stray : {"rom:/stray.bin", "rom:/sub/../stray.bin"}) {
        EXPECT_EQ(HostFileOpenRead(stray, &result), nullptr) << stray;
        EXPECT_EQ(result, kHostFileNotFound) << stray;
    }
    HostFile* save = HostFileOpenRead("data:/save.dat", &result);
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(HostFileClose(save), kHostFileOk);

    HostRomOpenAny();
    HostFile* f = HostFileOpenRead("rom:/stray.bin", &result);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(HostFileClose(f), kHostFileOk);
}

TEST_F(HostFiles, ReadSeekSizeAndTheEndOfTheFile)
{
    HostFile* f = HostFileOpenRead("rom:/sub/digits.bin", nullptr);
    ASSERT_NE(f, nullptr);
    uint64_t size = 0;
    EXPECT_EQ(HostFileSize(f, &size), kHostFileOk);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(HostFileSeek(f, 7), kHostFileOk);
    char buf[8] = {};
    uint32_t done = 99;
    EXPECT_EQ(HostFileRead(f, buf, 8, &done), kHostFileOk);  // short at the end, not an error
    EXPECT_EQ(std::string(buf, done), "789");
    EXPECT_EQ(HostFileRead(f, buf, 8, &done), kHostFileOk);
    EXPECT_EQ(done, 0u);
    // A file open for reading takes no writes.
    EXPECT_EQ(HostFileWrite(f, "x", 1, &done), kHostFileError);
    EXPECT_EQ(HostFileClose(f), kHostFileOk);
}

TEST_F(HostFiles, MissingFilesAndBadArguments)
{
    int32_t result = 0;
    EXPECT_EQ(HostFileOpenRead("rom:/nothing.bin", &result), nullptr);
    EXPECT_EQ(result, kHostFileNotFound);
    EXPECT_EQ(HostFileOpenRead("rom:/nodir/nothing.bin", &result), nullptr);
    EXPECT_EQ(result, kHostFileNotFound);
    EXPECT_EQ(HostFileOpenRead("rom:/sub", &result), nullptr);  // a directory is no file
    EXPECT_NE(result, kHostFileOk);
    EXPECT_EQ(HostFileOpenWrite("data:/nodir/x.dat", &result), nullptr);
    EXPECT_EQ(result, kHostFileNotFound);
    EXPECT_EQ(HostFileOpenRead(nullptr, &result), nullptr);
    EXPECT_EQ(HostFileOpenRead("", nullptr), nullptr);

    uint32_t done = 5;
    char c;
    uint64_t size;
    EXPECT_EQ(HostFileRead(nullptr, &c, 1, &done), kHostFileError);
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(HostFileWrite(nullptr, &c, 1, &done), kHostFileError);
    EXPECT_EQ(HostFileSeek(nullptr, 0), kHostFileError);
    EXPECT_EQ(HostFileSize(nullptr, &size), kHostFileError);
    EXPECT_EQ(HostFileClose(nullptr), kHostFileError);
    HostFileAbandon(nullptr);

    EXPECT_EQ(HostFileExists("rom:/sub/digits.bin"), 1);
    EXPECT_EQ(HostFileExists("rom:/nothing.bin"), 0);
    EXPECT_EQ(HostFileDelete("rom:/nothing.bin"), kHostFileNotFound);
    EXPECT_EQ(HostFileDelete("rom:/sub/digits.bin"), kHostFileOk);
    EXPECT_EQ(HostFileExists("rom:/sub/digits.bin"), 0);
}

// A named pipe is refused at once, not waited on for a writer; a directory is refused too, and
// both say so. Should the open wait, a writer comes after two seconds, so that the test ends.
TEST_F(HostFiles, ANamedPipeOrADirectoryIsRefusedAtOnce)
{
    const fs::path pipe = data_ / "savegame.bin";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    std::atomic<bool> finished{false};
    std::thread writer([&] {
        const auto start = std::chrono::steady_clock::now();
        while (!finished) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (std::chrono::steady_clock::now() - start < std::chrono::seconds(2)) continue;
            const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);  // succeeds only with a reader
            if (fd >= 0) {
                ::close(fd);
                break;
            }
        }
    });
    HostClearErrorLog();
    int32_t result = kHostFileOk;
    const auto start = std::chrono::steady_clock::now();
    HostFile* f = HostFileOpenRead("data:/savegame.bin", &result);
    const auto waited = std::chrono::steady_clock::now() - start;
    finished = true;
    writer.join();
    EXPECT_EQ(f, nullptr);
    EXPECT_EQ(result, kHostFileNotAFile);
    EXPECT_LT(waited, std::chrono::seconds(1)) << "the open waited for a writer";
    EXPECT_NE(HostErrorLog().find("is a named pipe, not a file"), std::string::npos) << HostErrorLog();

    EXPECT_EQ(HostFileOpenRead("rom:/sub", &result), nullptr);
    EXPECT_EQ(result, kHostFileNotAFile);
    EXPECT_NE(HostErrorLog().find("is a directory, not a file"), std::string::npos) << HostErrorLog();
    HostClearErrorLog();
    // A regular file opens and reads as before.
    HostFile* digits = HostFileOpenRead("rom:/sub/digits.bin", &result);
    ASSERT_NE(digits, nullptr);
    char buf[10];
    uint32_t done = 0;
    EXPECT_EQ(HostFileRead(digits, buf, 10, &done), kHostFileOk);
    EXPECT_EQ(done, 10u);
    EXPECT_EQ(HostFileClose(digits), kHostFileOk);
}

TEST_F(HostFiles, WritesReplaceTheOldFileOnlyWhenClosed)
{
    WriteWhole(data_ / "save.dat", "old");
    auto write = [](const char* text) {
        HostFile* f = HostFileOpenWrite("data:/save.dat", nullptr);
        uint32_t done = 0;
        EXPECT_NE(f, nullptr);
        if (f) {
            EXPECT_EQ(HostFileWrite(f, text, uint32_t(std::string(text).size()), &done), kHostFileOk);
        }
        return f;
    };

    HostFile* f = write("new contents");
    EXPECT_EQ(ReadWhole(data_ / "save.dat"), "old");  // nothing visible before the close
    HostFileAbandon(f);
    EXPECT_EQ(ReadWhole(data_ / "save.dat"), "old");
    EXPECT_EQ(DataFileCount(), 1);

    // A failed write spoils the whole file: the close keeps the old one and reports the failure.
    f = write("half");
    HostFileSetFault(kHostOpWrite, "save", 1, kHostFileNoSpace);
    uint32_t done = 7;
    EXPECT_EQ(HostFileWrite(f, " more", 5, &done), kHostFileNoSpace);
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(HostFileWrite(f, " again", 6, &done), kHostFileOk);
    EXPECT_EQ(HostFileClose(f), kHostFileNoSpace);
    EXPECT_EQ(ReadWhole(data_ / "save.dat"), "old");
    EXPECT_EQ(DataFileCount(), 1);

    f = write("new contents");
    EXPECT_EQ(HostFileClose(f), kHostFileOk);
    EXPECT_EQ(ReadWhole(data_ / "save.dat"), "new contents");
    EXPECT_EQ(DataFileCount(), 1);

    // A write creates a file that was not there, and two writes of one file do not collide.
    HostFile* a = HostFileOpenWrite("data:/fresh.dat", nullptr);
    HostFile* b = HostFileOpenWrite("data:/fresh.dat", nullptr);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(HostFileWrite(a, "aa", 2, &done), kHostFileOk);
    EXPECT_EQ(HostFileWrite(b, "b", 1, &done), kHostFileOk);
    EXPECT_EQ(HostFileClose(a), kHostFileOk);
    EXPECT_EQ(HostFileClose(b), kHostFileOk);
    EXPECT_EQ(ReadWhole(data_ / "fresh.dat"), "b");  // the last close wins
    EXPECT_EQ(DataFileCount(), 2);
}

TEST_F(HostFiles, FaultsFailTheArmedNumberOfMatchingCalls)
{
    int32_t result = 0;
    HostFileSetFault(kHostOpOpen, "digits", 2, kHostFileDamaged);
    WriteWhole(rom_ / "other.bin", "abc");
    HostFile* other = HostFileOpenRead("rom:/other.bin", &result);  // path does not match
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(HostFileOpenRead("rom:/sub/digits.bin", &result), nullptr);
    EXPECT_EQ(result, kHostFileDamaged);
    EXPECT_EQ(HostFileOpenWrite("rom:/sub/digits.bin", &result), nullptr);  // writes open too
    EXPECT_EQ(result, kHostFileDamaged);
    HostFile* f = HostFileOpenRead("rom:/sub/digits.bin", &result);
    ASSERT_NE(f, nullptr);

    // An empty path part matches any file.
    HostFileSetFault(kHostOpSeek, "", 1, kHostFileNotFormatted);
    EXPECT_EQ(HostFileSeek(other, 1), kHostFileNotFormatted);
    EXPECT_EQ(HostFileSeek(f, 2), kHostFileOk);

    char buf[10];
    uint32_t done = 9;
    HostFileSetFault(kHostOpRead, "digits", 1, kHostFileDamaged);
    EXPECT_EQ(HostFileRead(f, buf, 3, &done), kHostFileDamaged);
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(HostFileRead(f, buf, 3, &done), kHostFileOk);  // the failed read did not move on
    EXPECT_EQ(std::string(buf, done), "234");

    // A fault armed with an OK result still fails the call.
    HostFileSetFault(kHostOpRead, "digits", 1, kHostFileOk);
    EXPECT_EQ(HostFileRead(f, buf, 1, &done), kHostFileError);

    // Short reads succeed with fewer bytes, and the position moves by what was read.
    HostFileSetFault(kHostOpRead, "digits", 2, kHostFileError, 2);
    EXPECT_EQ(HostFileRead(f, buf, 3, &done), kHostFileOk);
    EXPECT_EQ(std::string(buf, done), "5");
    EXPECT_EQ(HostFileRead(f, buf, 1, &done), kHostFileOk);  // shorter than the shortfall: nothing
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(HostFileRead(f, buf, 3, &done), kHostFileOk);
    EXPECT_EQ(std::string(buf, done), "678");

    HostFileSetFault(kHostOpRead, "", 5, kHostFileError);
    HostFileClearFaults();
    EXPECT_EQ(HostFileRead(other, buf, 3, &done), kHostFileOk);
    EXPECT_EQ(HostFileClose(f), kHostFileOk);
    EXPECT_EQ(HostFileClose(other), kHostFileOk);
}

}  // namespace

// The save directory: missing until formatted; a mount clears away the temporary files of writes
// that never reached their rename and nothing else; a rename never replaces a file.
TEST_F(HostFiles, TheSaveDirectoryMountsFormatsAndRenamesWithoutReplacing)
{
    gHostOptions.dataDir = (data_ / "new" / "save").string();
    EXPECT_EQ(HostSaveArchiveMount(), kHostFileNotFormatted);
    ASSERT_EQ(HostSaveArchiveFormat(), kHostFileOk);
    ASSERT_EQ(HostSaveArchiveMount(), kHostFileOk);
    const fs::path dir = gHostOptions.dataDir;
    WriteWhole(dir / "savegame.bin.tmp12-3", "half");
    WriteWhole(dir / "notes.tmp", "mine");
    WriteWhole(dir / "a.bin", "a");
    WriteWhole(dir / "b.bin", "b");
    ASSERT_EQ(HostSaveArchiveMount(), kHostFileOk);
    EXPECT_FALSE(fs::exists(dir / "savegame.bin.tmp12-3"));
    EXPECT_TRUE(fs::exists(dir / "notes.tmp"));

    EXPECT_NE(HostFileRename("data:/a.bin", "data:/b.bin"), kHostFileOk);
    EXPECT_EQ(ReadWhole(dir / "b.bin"), "b");
    EXPECT_EQ(HostFileRename("data:/a.bin", "data:/c.bin"), kHostFileOk);
    EXPECT_FALSE(fs::exists(dir / "a.bin"));
    EXPECT_EQ(ReadWhole(dir / "c.bin"), "a");
}
