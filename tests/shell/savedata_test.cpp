#include "shell/savedata.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "db/dbimage.h"
#include "db/dbtest.h"
#include "host/errorlog.h"
#include "host/files.h"
#include "host/host.h"

namespace {

namespace fs = std::filesystem;
typedef std::vector<char> Bytes;

Bytes ReadWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWhole(const fs::path& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

// The save module over a scratch save folder, with the test database's image as the save image.
class SaveData : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        saved_ = gHostOptions;
        gHostOptions.dataDir = scratch + "/home/save";
        HostFileClearFaults();
        sBasicDb* db = LoadContent();
        ASSERT_NE(db, nullptr);
        sBasicDb* copy = nullptr;
        ASSERT_EQ(BasicDb_CreateContiguousCopy(&db, &copy), 1);
        const char* bytes = reinterpret_cast<const char*>(copy);
        image_.assign(bytes, bytes + BasicDb_Size(&copy));
    }
    void TearDown() override
    {
        SaveDataEnd();
        HostFileClearFaults();
        gHostOptions = saved_;
        DbTest::TearDown();
    }
    fs::path SaveFile() const { return fs::path(gHostOptions.dataDir) / "savegame.bin"; }
    // Writes the image and waits for the worker; the worker's result.
    int Save(const Bytes& image)
    {
        int started = SaveDataWrite(image.data(), int(image.size()));
        SaveDataEnd();
        return started == kSaveResultOk ? SaveDataResult() : started;
    }
    // Loads into a buffer of the image's size filled with 0x5a; the load's result.
    int Load(Bytes* into)
    {
        into->assign(image_.size(), char(0x5a));
        int loaded = LoadData(into->data(), int(into->size()), 0);
        SaveDataEnd();
        return loaded;
    }

    HostOptions saved_;
    Bytes image_;
};

TEST_F(SaveData, FirstStartCreatesTheFolderAndTheImageSurvivesARestart)
{
    ASSERT_FALSE(fs::exists(gHostOptions.dataDir));
    ASSERT_EQ(SaveDataInit(), 1);
    EXPECT_TRUE(fs::is_directory(gHostOptions.dataDir));
    Bytes loaded;
    EXPECT_EQ(Load(&loaded), 0);
    EXPECT_EQ(SaveDataLoadFailure(), kLoadFailMissing);
    EXPECT_EQ(SaveDataLoadFailureText(), nullptr);

    ASSERT_EQ(Save(image_), kSaveResultOk);
    EXPECT_EQ(SaveDataProcessComplete(), 1);
    ASSERT_EQ(SaveDataInit(), 1);  // the next start
    ASSERT_EQ(Load(&loaded), 1);
    EXPECT_EQ(loaded, image_);
    EXPECT_EQ(ReadWhole(SaveFile()), image_);
}

TEST_F(SaveData, TheFolderIsNeitherMountedNorFormattedWhenUnusable)
{
    fs::create_directories(fs::path(gHostOptions.dataDir).parent_path());
    WriteWhole(gHostOptions.dataDir, Bytes(3, 'x'));  // a file where the folder should be
    EXPECT_EQ(SaveDataInit(), 0);
    fs::remove(gHostOptions.dataDir);
    HostFileSetFault(kHostOpMount, "data:", 1, kHostFileError);
    EXPECT_EQ(SaveDataInit(), 0);
    EXPECT_FALSE(fs::exists(gHostOptions.dataDir));
}

TEST_F(SaveData, EveryFailedWriteKeepsTheOldSaveAndReportsFailure)
{
    ASSERT_EQ(SaveDataInit(), 1);
    ASSERT_EQ(Save(image_), kSaveResultOk);
    Bytes other(image_.size(), 'n');
    struct {
        HostFileOp op;
        int32_t result;
        int expected;
    } faults[] = {
        {kHostOpWrite, kHostFileNoSpace, kSaveResultNoSpace},
        {kHostOpWrite, kHostFileIoError, kSaveResultFailed},
        {kHostOpOpen, kHostFileError, kSaveResultFailed},
        {kHostOpCommit, kHostFileError, kSaveResultFailed},  // the program ends before the rename
    };
    for (const auto& f : faults) {
        HostFileSetFault(f.op, "savegame", 1, f.result);
        EXPECT_EQ(Save(other), f.expected) << "fault on operation " << f.op;
        ASSERT_EQ(SaveDataInit(), 1);  // the next start reads the old save
        Bytes loaded;
        EXPECT_EQ(Load(&loaded), 1) << "fault on operation " << f.op;
        EXPECT_EQ(loaded, image_);
    }
    // The interrupted write's temporary file went with the next start.
    EXPECT_EQ(std::distance(fs::directory_iterator(gHostOptions.dataDir), fs::directory_iterator()), 1);
}

TEST_F(SaveData, ImagesOverTheLimitAreRefusedNeverCut)
{
    ASSERT_EQ(SaveDataInit(), 1);
    Bytes whole(kSaveDataMaxSize, 'w');
    EXPECT_EQ(Save(whole), kSaveResultOk);
    EXPECT_EQ(fs::file_size(SaveFile()), uintmax_t(kSaveDataMaxSize));
    Bytes over(kSaveDataMaxSize + 1, 'o');
    HostClearErrorLog();
    EXPECT_EQ(Save(over), kSaveResultFailed);
    EXPECT_NE(HostErrorLog().find("Save file size is too large!"), std::string::npos);
    EXPECT_EQ(ReadWhole(SaveFile()), whole);
    EXPECT_EQ(LoadData(over.data(), int(over.size()), 0), 0);
    EXPECT_EQ(over, Bytes(kSaveDataMaxSize + 1, 'o'));
}

// Each damaged file fails to load, leaves the caller's image alone, is kept aside whole, tells
// the player; and a good save after it loads again.
TEST_F(SaveData, DamagedOrUnreadableFilesAreKeptAsideAndNeverUsed)
{
    ASSERT_EQ(SaveDataInit(), 1);
    std::mt19937 random(7);
    Bytes noise(image_.size());
    for (char& c : noise) c = char(random());
    Bytes longer = image_;
    longer.push_back(0);
    struct {
        const char* name;
        Bytes file;
        HostFileOp faultOp;
        uint32_t shortBy;
        int failure;
    } cases[] = {
        {"zero length", Bytes(), kHostOpOpen, 0, kLoadFailDamaged},
        {"truncated", Bytes(image_.begin(), image_.end() - 9), kHostOpOpen, 0, kLoadFailDamaged},
        {"one byte too long", longer, kHostOpOpen, 0, kLoadFailDamaged},
        {"random bytes", noise, kHostOpOpen, 0, kLoadFailDamaged},
        {"read error", image_, kHostOpRead, 0, kLoadFailRead},
        {"short read", image_, kHostOpRead, 4, kLoadFailRead},
        {"failing open", image_, kHostOpOpen, 1, kLoadFailRead},
    };
    int keptCount = 0;
    for (const auto& c : cases) {
        WriteWhole(SaveFile(), c.file);
        if (c.faultOp == kHostOpRead) HostFileSetFault(kHostOpRead, "savegame", 1, kHostFileIoError, c.shortBy);
        if (c.faultOp == kHostOpOpen && c.shortBy) HostFileSetFault(kHostOpOpen, "savegame", 1, kHostFileError);
        Bytes loaded;
        EXPECT_EQ(Load(&loaded), 0) << c.name;
        EXPECT_EQ(loaded, Bytes(image_.size(), char(0x5a))) << c.name;
        EXPECT_EQ(SaveDataLoadFailure(), c.failure) << c.name;
        ASSERT_NE(SaveDataLoadFailureText(), nullptr);
        if (c.failure == kLoadFailDamaged) {
            EXPECT_STREQ(SaveDataLoadFailureText(), "Load failed. The saved game appears to be damaged and cannot be loaded.");
        }
        const std::string kept = "savegame-damaged-" + std::to_string(++keptCount) + ".bin";
        EXPECT_EQ(std::string(SaveDataKeptAside()), "data:/" + kept) << c.name;
        EXPECT_EQ(ReadWhole(fs::path(gHostOptions.dataDir) / kept), c.file) << c.name;
        EXPECT_FALSE(fs::exists(SaveFile())) << c.name;

        ASSERT_EQ(Save(image_), kSaveResultOk);
        EXPECT_EQ(Load(&loaded), 1) << "after " << c.name;
        EXPECT_EQ(loaded, image_);
    }
}

// A damaged file that cannot be moved aside (every kept name is taken), and a file that a load
// refused to read, stay in place: no write replaces them until the player agrees to it.
TEST_F(SaveData, AFileNotMovedAsideIsNotWrittenOverUntilAllowed)
{
    ASSERT_EQ(SaveDataInit(), 1);
    for (int n = 1; n <= 1000; ++n) WriteWhole(fs::path(gHostOptions.dataDir) / ("savegame-damaged-" + std::to_string(n) + ".bin"), Bytes(1, 'k'));
    const Bytes damaged(image_.begin(), image_.end() - 9);
    WriteWhole(SaveFile(), damaged);
    Bytes loaded;
    EXPECT_EQ(Load(&loaded), 0);
    EXPECT_EQ(SaveDataLoadFailure(), kLoadFailDamaged);
    EXPECT_STREQ(SaveDataKeptAside(), "");
    EXPECT_EQ(SaveDataFileUnchecked(), 1);
    EXPECT_EQ(Save(image_), kSaveResultFailed);
    EXPECT_EQ(ReadWhole(SaveFile()), damaged) << "the player's bytes are still there";
    SaveDataAllowOverwrite();
    EXPECT_EQ(Save(image_), kSaveResultOk);
    EXPECT_EQ(Load(&loaded), 1);
    EXPECT_EQ(SaveDataFileUnchecked(), 0);

    // A load that does not read the file at all leaves it unchecked too.
    Bytes over(kSaveDataMaxSize + 1, 'o');
    EXPECT_EQ(LoadData(over.data(), int(over.size()), 0), 0);
    SaveDataEnd();
    EXPECT_EQ(SaveDataFileUnchecked(), 1);
    EXPECT_EQ(Save(Bytes(image_.size(), 'n')), kSaveResultFailed);
    EXPECT_EQ(ReadWhole(SaveFile()), image_);
}

// A directory or a named pipe where the save file should be is neither read, nor waited on, nor
// moved: the load says the save cannot be used.
TEST_F(SaveData, ASavePathThatIsNoFileIsLeftAlone)
{
    ASSERT_EQ(SaveDataInit(), 1);
    fs::create_directory(SaveFile());
    Bytes loaded;
    EXPECT_EQ(Load(&loaded), 0);
    EXPECT_EQ(SaveDataLoadFailure(), kLoadFailUnusable);
    EXPECT_STREQ(SaveDataKeptAside(), "");
    ASSERT_NE(SaveDataLoadFailureText(), nullptr);
    EXPECT_NE(std::string(SaveDataLoadFailureText()).find("not a file"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(SaveFile()));
    fs::remove(SaveFile());
    ASSERT_EQ(::mkfifo(SaveFile().c_str(), 0644), 0);
    EXPECT_EQ(Load(&loaded), 0);
    EXPECT_EQ(SaveDataLoadFailure(), kLoadFailUnusable);
    EXPECT_EQ(fs::status(SaveFile()).type(), fs::file_type::fifo);
}

}  // namespace
