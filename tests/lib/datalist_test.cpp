#include "lib/datalist.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/files.h"
#include "host/host.h"
#include "platform/fileserver.h"
#include "shell/globals.h"
#include "support/device_heap.h"

namespace {

namespace fs = std::filesystem;

// A game data folder of one file, checked with lists of every kind.
class GameDataList : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
        saved_ = gHostOptions;
        std::string pattern = (fs::path(::testing::TempDir()) / "datalist-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        rom_ = pattern;
        gHostOptions.romDir = rom_.string();
        done = 0;
        ASSERT_EQ(FileSystemInit(), 1);
        std::ofstream(rom_ / "digits.bin", std::ios::binary) << "0123456789";
        DataListEntry entry = {};
        DataChecksumBegin();
        DataChecksumAdd("0123456789", 10);
        entry.checksum = DataChecksumEnd();
        entry.size = 10;
        std::snprintf(entry.path, sizeof entry.path, "digits.bin");
        char line[kDataListMaxLine + 2];
        ASSERT_GT(DataListFormatEntry(entry, line, int(sizeof line)), 0);
        line_ = line;
    }
    void TearDown() override
    {
        HostRomOpenAny();
        FileSystemDispose();
        ReleaseDeviceHeap();
        gHostOptions = saved_;
        fs::remove_all(rom_);
    }
    void WriteList(const std::string& text) { std::ofstream(rom_ / kDataListName, std::ios::binary) << text; }
    // Whether the host's file layer would open the listed file now.
    bool DigitsOpen()
    {
        int32_t result = 0;
        HostFile* file = HostFileOpenRead("rom:/digits.bin", &result);
        if (file) HostFileClose(file);
        return file != nullptr;
    }

    HostOptions saved_;
    fs::path rom_;
    std::string line_;
};

// A list that cannot be trusted opens nothing, not even a file it named before its fault: the
// game must not go on reading data that nothing vouches for.
TEST_F(GameDataList, AMissingOrDamagedListLetsNoFileOpen)
{
    char fault[300];
    WriteList(line_ + "end 1\n");
    ASSERT_EQ(CheckGameData(fault, int(sizeof fault)), 1) << fault;
    EXPECT_TRUE(DigitsOpen()) << "a whole list opens what it names";

    WriteList(line_ + line_ + "end 2\n");
    EXPECT_EQ(CheckGameData(fault, int(sizeof fault)), 0);
    EXPECT_FALSE(DigitsOpen()) << "opened by a list that names it twice: " << fault;

    fs::remove(rom_ / kDataListName);
    EXPECT_EQ(CheckGameData(fault, int(sizeof fault)), 0);
    EXPECT_FALSE(DigitsOpen()) << "opened with no list: " << fault;
}

}  // namespace
