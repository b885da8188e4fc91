#include "lib/datalist.h"

#include <gtest/gtest.h>

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

// A list that cannot be trusted opens nothing, not even a file it named before its fault: the
// game must not go on reading data that nothing vouches for.
TEST(GameDataList, AMissingOrDamagedListLetsNoFileOpen)
{
    ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
    const HostOptions saved = gHostOptions;
    const fs::path rom = HostMakeTempFolder("datalist");
    ASSERT_FALSE(rom.empty());
    gHostOptions.romDir = rom.string();
    done = 0;
    ASSERT_EQ(FileSystemInit(), 1);
    std::ofstream(rom / "digits.bin", std::ios::binary) << "0123456789";
    DataListEntry entry = {0, 10, "digits.bin"};
    DataChecksumBegin();
    DataChecksumAdd("0123456789", 10);
    entry.checksum = DataChecksumEnd();
    char line[kDataListMaxLine + 2];
    ASSERT_GT(DataListFormatEntry(entry, line, int(sizeof line)), 0);
    const auto digitsOpen = [] {
        HostFile* file = HostFileOpenRead("rom:/digits.bin", nullptr);
        if (file) HostFileClose(file);
        return file != nullptr;
    };

    char fault[300];
    std::ofstream(rom / kDataListName, std::ios::binary) << line << "end 1\n";
    EXPECT_EQ(CheckGameData(fault, int(sizeof fault)), 1) << fault;
    EXPECT_TRUE(digitsOpen()) << "a whole list opens what it names";
    std::ofstream(rom / kDataListName, std::ios::binary) << line << line << "end 2\n";
    EXPECT_EQ(CheckGameData(fault, int(sizeof fault)), 0);
    EXPECT_FALSE(digitsOpen()) << "opened by a list that names it twice: " << fault;
    fs::remove(rom / kDataListName);
    EXPECT_EQ(CheckGameData(fault, int(sizeof fault)), 0);
    EXPECT_FALSE(digitsOpen()) << "opened with no list: " << fault;

    HostRomOpenAny();
    FileSystemDispose();
    ReleaseDeviceHeap();
    gHostOptions = saved;
    fs::remove_all(rom);
}

}  // namespace
