#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/device_heap.h"
#include "archive_writer.h"
#include "host/arena.h"
#include "host/errorlog.h"
#include "host/files.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "shell/globals.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Bytes that say which resource they belong to, so a mix-up shows.
Bytes Pattern(int tag, size_t size)
{
    Bytes b(size);
    for (size_t i = 0; i < size; ++i) b[i] = uint8_t(tag * 31 + i * 7 + (i >> 8));
    return b;
}

mkrom::Resource Plain(int id, int tag, size_t size, int16_t type = 1)
{
    mkrom::Resource r;
    r.id = id;
    r.type = type;
    r.bytes = Pattern(tag, size);
    return r;
}

mkrom::Resource Packed(int id, int tag, size_t size, int16_t type = 1)
{
    mkrom::Resource r = Plain(id, tag, size, type);
    r.bytes.assign(size, uint8_t(tag));  // repetitive, so it really shrinks
    r.compressed = true;
    return r;
}

mkrom::Resource Group(int id, std::vector<mkrom::Resource> members)
{
    mkrom::Resource g;
    g.id = id;
    g.type = mkrom::kTypeGroup;
    g.members = std::move(members);
    return g;
}

// Compares the first bytes of loaded data with what was written.
void ExpectData(const void* data, const mkrom::Resource& r)
{
    ASSERT_NE(data, nullptr) << "resource " << r.id;
    EXPECT_EQ(std::memcmp(data, r.bytes.data(), r.bytes.size()), 0) << "resource " << r.id;
}

class Resources : public ::testing::Test {
protected:
    std::string dir;
    HostOptions savedOptions;
    unsigned baseAllocations = 0;  // the file server's own block
    unsigned baseUsed = 0;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        std::string pattern = ::testing::TempDir() + "zendrolyx-resources-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        savedOptions = gHostOptions;
        gHostOptions.romDir = dir;
        done = 0;
        ASSERT_EQ(FileSystemInit(), 1);
        DefaultHeapAllocations(&baseAllocations);
        baseUsed = deviceHeap.memoryUsed;
        ASSERT_EQ(InitResources(10000), 1);
    }

    void TearDown() override
    {
        FreeResources();
        FileSystemDispose();
        HostFileClearFaults();
        ReleaseDeviceHeap();
        gHostOptions = savedOptions;
        std::string cmd = "rm -rf '" + dir + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
    }

    std::string Write(const std::string& name, int base, int count, std::vector<mkrom::Resource> resources)
    {
        std::string error;
        EXPECT_TRUE(mkrom::WriteArchive(dir + "/" + name, base, count, std::move(resources), &error)) << error;
        return "rom:/" + name;
    }

    // Overwrites bytes of an archive file at a position counted from its end.
    void PatchFromEnd(const std::string& name, long fromEnd, const void* bytes, size_t n)
    {
        std::FILE* f = std::fopen((dir + "/" + name).c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        std::fseek(f, -fromEnd, SEEK_END);
        std::fwrite(bytes, 1, n, f);
        std::fclose(f);
    }

    // Position, counted from the end, of directory record i of an archive of `count` records.
    static long RecordFromEnd(int count, int i)
    {
        long rounded = (count * 24 + 2047) / 2048 * 2048;
        return 2048 + rounded - i * 24;
    }
};

TEST_F(Resources, SingleResourcesLoadOnceAndDisposeBackToTheStart)
{
    auto a = Plain(100, 1, 300), b = Packed(101, 2, 5000), c = Plain(103, 3, 128, 0);
    std::string path = Write("a.rez", 100, 4, {a, b, c});
    unsigned freeBefore = GetTotalFreeMemory();
    ASSERT_NE(OpenResourceFile(path.c_str()), nullptr);

    void* first = ReadResource(100);
    ExpectData(first, a);
    ExpectData(ReadResource(101), b);
    ExpectData(ReadResource(103), c);
    EXPECT_EQ(ReadResource(102), nullptr);  // an id without data
    EXPECT_EQ(ResourceSize(100), 384);      // padded to whole heap units
    EXPECT_LT(ResourceSize(101), 5000);     // stored compressed
    EXPECT_EQ(ResourceType(101), 1);

    // A loaded resource is returned without touching the file.
    HostFileSetFault(kHostOpRead, "", 100, kHostFileDamaged);
    EXPECT_EQ(ReadResource(100), first);
    HostFileClearFaults();

    for (int id = 100; id <= 103; ++id) EXPECT_EQ(DisposeResource(id), 1);
    EXPECT_EQ(ResourceLoaded(100), 0);
    EXPECT_EQ(DisposeResource(100), 1);  // not loaded: nothing to do
    EXPECT_EQ(CloseResourceFile(resourceFiles), 1);
    EXPECT_EQ(GetTotalFreeMemory(), freeBefore);
}

TEST_F(Resources, GroupsLoadWholeOrMemberByMember)
{
    std::vector<mkrom::Resource> three = {Plain(0, 10, 200), Plain(0, 11, 256), Plain(0, 12, 10)};
    std::vector<mkrom::Resource> four = {Packed(0, 20, 4000), Plain(0, 21, 300), Packed(0, 22, 1000, 12),
                                         Plain(0, 23, 640)};
    std::string path = Write("g.rez", 200, 2, {Group(200, three), Group(201, four)});
    unsigned freeBefore = GetTotalFreeMemory();
    ASSERT_NE(OpenResourceFile(path.c_str()), nullptr);

    for (int g = 200; g <= 201; ++g) {
        const auto& members = g == 200 ? three : four;
        ASSERT_EQ(LoadResourceGroup(g), 1) << g;
        EXPECT_EQ(LoadResourceGroup(g), 0) << "a group cannot be loaded twice";
        EXPECT_EQ(NumResourcesInGroup(g), int(members.size()));
        for (size_t i = 0; i < members.size(); ++i) ExpectData(ResourceHandle((g << 16) | int(i)), members[i]);
        EXPECT_EQ(ResourceHandle((g << 16) | int(members.size())), nullptr);
        EXPECT_EQ(UnloadResourceGroup(g), 1);
        EXPECT_EQ(ResourceLoaded(g), 0);
    }
    EXPECT_EQ(GetTotalFreeMemory(), freeBefore + 0u - 2048u) << "only the trailer block stays";

    // The directory alone, then the members one at a time.
    ASSERT_EQ(OpenResourceGroup(201), 1);
    EXPECT_EQ(NumResourcesInGroup(201), 4);
    for (int i = 3; i >= 0; --i) ExpectData(ReadResource((201 << 16) | i), four[size_t(i)]);
    EXPECT_EQ(CloseResourceGroup(201), 1);
    EXPECT_EQ(GetTotalFreeMemory(), freeBefore - 2048u);
}

TEST_F(Resources, RangesLoadAsOneBlock)
{
    auto a = Plain(300, 1, 256), b = Plain(301, 2, 100), c = Plain(303, 3, 700);
    std::string path = Write("r.rez", 300, 5, {a, b, c, Group(304, {Plain(0, 4, 10), Plain(0, 5, 20), Plain(0, 6, 30)})});
    ASSERT_NE(OpenResourceFile(path.c_str()), nullptr);
    unsigned allocationsBefore = 0, allocationsAfter = 0;
    DefaultHeapAllocations(&allocationsBefore);
    ASSERT_EQ(LoadResourceRange(300, 304), 1);
    DefaultHeapAllocations(&allocationsAfter);
    EXPECT_EQ(allocationsAfter, allocationsBefore + 1);

    // Each resource lies at the running sum of the lengths before it.
    auto* base = static_cast<uint8_t*>(ResourceHandle(300));
    EXPECT_EQ(ResourceHandle(301), base + 256);
    EXPECT_EQ(ResourceHandle(303), base + 256 + 128);
    ExpectData(ResourceHandle(303), c);
    ExpectData(ResourceHandle((304 << 16) | 2), Plain(0, 6, 30));
    EXPECT_EQ(LoadResourceRange(300, 301), 0) << "loaded resources are not loaded over";

    EXPECT_EQ(DisposeResourceRange(300, 304), 1);
    DefaultHeapAllocations(&allocationsAfter);
    EXPECT_EQ(allocationsAfter, allocationsBefore);
}

TEST_F(Resources, PackedRangesUnpackIntoOneBlock)
{
    std::string path = Write("p.rez", 400, 3,
                             {Packed(400, 1, 3000), Plain(401, 2, 200),
                              Group(402, {Packed(0, 3, 900), Plain(0, 4, 128), Packed(0, 5, 2000)})});
    ASSERT_NE(OpenResourceFile(path.c_str()), nullptr);
    unsigned freeBefore = GetTotalFreeMemory();
    ASSERT_EQ(LoadResourceRange(400, 402), 1);
    ExpectData(ResourceHandle(400), Packed(400, 1, 3000));
    ExpectData(ResourceHandle(401), Plain(401, 2, 200));
    ExpectData(ResourceHandle((402 << 16) | 2), Packed(0, 5, 2000));
    EXPECT_EQ(DisposeResourceRange(400, 402), 1);
    EXPECT_EQ(GetTotalFreeMemory(), freeBefore);
}

TEST_F(Resources, OneByOneSkipsLoadedResourcesButNotLoadedGroups)
{
    std::string path = Write("o.rez", 500, 3, {Plain(500, 1, 10), Packed(501, 2, 400), Group(502, {Plain(0, 3, 5), Plain(0, 4, 6), Plain(0, 5, 7)})});
    ASSERT_NE(OpenResourceFile(path.c_str()), nullptr);
    void* first = ReadResource(500);
    ASSERT_EQ(LoadResourceRange1x1(500, 502), 1);
    EXPECT_EQ(ResourceHandle(500), first);
    ExpectData(ResourceHandle(501), Packed(501, 2, 400));
    EXPECT_EQ(LoadResourceRange1x1(500, 502), 0);  // the group is loaded already
    EXPECT_EQ(DisposeResourceRange(500, 502), 1);
}

TEST_F(Resources, IdRangesOfOpenArchivesMayNotOverlap)
{
    std::string a = Write("a.rez", 100, 100, {Plain(100, 1, 10)});
    std::string b = Write("b.rez", 150, 10, {Plain(150, 2, 10)});
    std::string c = Write("c.rez", 200, 100, {Plain(299, 3, 10)});
    ASSERT_NE(OpenResourceFile(a.c_str()), nullptr);
    EXPECT_EQ(OpenResourceFile(b.c_str()), nullptr);
    EXPECT_NE(OpenResourceFile(c.c_str()), nullptr);
    ExpectData(ReadResource(299), Plain(299, 3, 10));
    EXPECT_EQ(ResourceLoaded(150), 0);

    // An archive cut by a byte reads its trailer one byte early: ids 1 to 7 read as 256 to 2047,
    // where the open archives lie. It is refused for what is wrong with it.
    std::string d = Write("d.rez", 1, 7, {Plain(1, 4, 10)});
    std::filesystem::resize_file(dir + "/d.rez", std::filesystem::file_size(dir + "/d.rez") - 1);
    std::string e = Write("e.rez", 300, 2000, {Plain(300, 5, 10)});
    ASSERT_NE(OpenResourceFile(e.c_str()), nullptr);
    HostClearErrorLog();
    EXPECT_EQ(OpenResourceFile(d.c_str()), nullptr);
    EXPECT_NE(HostErrorLog().find("refused: its directory does not fit before its trailer: the archive is cut short"),
              std::string::npos)
        << HostErrorLog();
}

TEST_F(Resources, DirectoryPositionFollowsTheTwoKilobyteRounding)
{
    for (int count : {85, 86}) {
        std::string name = "d" + std::to_string(count) + ".rez";
        std::string path = Write(name, 1000, count, {Plain(1000 + count - 1, count, 64)});
        resourceFileHeader_tag* file = OpenResourceFile(path.c_str());
        ASSERT_NE(file, nullptr) << count;
        ExpectData(ReadResource(1000 + count - 1), Plain(0, count, 64));
        EXPECT_EQ(CloseResourceFile(file), 1);
        EXPECT_EQ(ResourceSize(1000 + count - 1), 0) << "a closed archive's ids are forgotten";
    }
}

TEST_F(Resources, IdsResolveOnlyThroughLoadedGroupDirectories)
{
    std::string path = Write("ids.rez", 5, 2, {Plain(5, 1, 10), Group(6, {Plain(0, 2, 1), Plain(0, 3, 2), Plain(0, 4, 3)})});
    ASSERT_NE(OpenResourceFile(path.c_str()), nullptr);
    ReadResource(5);
    EXPECT_EQ(GetResourceHeader((5 << 16) | 0, nullptr), 0) << "loaded data is not a group directory";
    EXPECT_EQ(GetResourceHeader((6 << 16) | 0, nullptr), 0) << "the directory is not read yet";
    ASSERT_EQ(OpenResourceGroup(6), 1);
    EXPECT_EQ(GetResourceHeader((6 << 16) | 2, nullptr), 1);
    EXPECT_EQ(GetResourceHeader((6 << 16) | 3, nullptr), 0);
    EXPECT_EQ(GetResourceHeader(-1, nullptr), 0);
    EXPECT_EQ(GetResourceHeader(10000, nullptr), 0);
    EXPECT_EQ(ResourceSize(-5), -1);
    EXPECT_EQ(ResourceType(-5), 0);
    EXPECT_EQ(NumResourcesInGroup(5), -1);
}

TEST_F(Resources, DamagedArchivesAreRefusedAndChangeNothing)
{
    unsigned freeBefore = GetTotalFreeMemory();

    // Ids that run past the resource table.
    Write("big.rez", 9990, 5, {Plain(9990, 1, 10)});
    int32_t tooMany = 20;
    PatchFromEnd("big.rez", 2048 - 8, &tooMany, 4);
    EXPECT_EQ(OpenResourceFile("rom:/big.rez"), nullptr);

    // A plain record whose stored and loaded sizes differ, and one that is not padded.
    Write("len.rez", 700, 1, {Plain(700, 1, 256)});
    int32_t odd = 200;
    PatchFromEnd("len.rez", RecordFromEnd(1, 0) - 4, &odd, 4);
    EXPECT_EQ(OpenResourceFile("rom:/len.rez"), nullptr);
    PatchFromEnd("len.rez", RecordFromEnd(1, 0) - 8, &odd, 4);
    EXPECT_EQ(OpenResourceFile("rom:/len.rez"), nullptr);

    // Data said to lie past the directory.
    Write("off.rez", 700, 1, {Plain(700, 1, 256)});
    int32_t far = 1 << 20;
    PatchFromEnd("off.rez", RecordFromEnd(1, 0), &far, 4);
    EXPECT_EQ(OpenResourceFile("rom:/off.rez"), nullptr);

    // Too short to hold a trailer, and a missing file.
    std::ofstream(dir + "/short.rez") << "tiny";
    EXPECT_EQ(OpenResourceFile("rom:/short.rez"), nullptr);
    EXPECT_EQ(OpenResourceFile("rom:/none.rez"), nullptr);

    EXPECT_EQ(resourceFiles, nullptr);
    EXPECT_EQ(ResourceSize(700), 0);
    EXPECT_EQ(GetTotalFreeMemory(), freeBefore);
}

TEST_F(Resources, FailedLoadsFreeTheirBuffersAndStayUnloaded)
{
    // A damaged compressed stream, a type without set-up, and a short read.
    std::string path = Write("bad.rez", 800, 3, {Packed(800, 1, 4096), Plain(801, 2, 256, 125), Plain(802, 3, 512)});
    ASSERT_NE(OpenResourceFile(path.c_str()), nullptr);
    resourceHeader* r = nullptr;
    ASSERT_EQ(GetResourceHeader(800, &r), 1);
    uint8_t garbage[16];
    std::memset(garbage, 0x7F, sizeof garbage);  // back references far before the output
    std::FILE* f = std::fopen((dir + "/bad.rez").c_str(), "r+b");
    std::fseek(f, r->resourceOffset + 4, SEEK_SET);
    std::fwrite(garbage, 1, sizeof garbage, f);
    std::fclose(f);

    unsigned freeBefore = GetTotalFreeMemory();
    EXPECT_EQ(ReadResource(800), nullptr);
    EXPECT_EQ(ReadResource(801), nullptr);
    HostFileSetFault(kHostOpRead, "bad.rez", 1, kHostFileOk, 100);
    EXPECT_EQ(ReadResource(802), nullptr);
    for (int id = 800; id <= 802; ++id) EXPECT_EQ(ResourceLoaded(id), 0);
    EXPECT_EQ(LoadResourceRange(800, 802), 0);
    EXPECT_EQ(LoadResourceRange1x1(800, 802), 0);
    for (int id = 800; id <= 802; ++id) EXPECT_EQ(ResourceLoaded(id), 0);
    EXPECT_EQ(GetTotalFreeMemory(), freeBefore);
}

TEST_F(Resources, ShutDownDisposesEverythingStillLoaded)
{
    std::string a = Write("a.rez", 10, 3, {Plain(10, 1, 100), Packed(11, 2, 900), Group(12, {Plain(0, 3, 5), Packed(0, 4, 600), Plain(0, 5, 7)})});
    std::string b = Write("b.rez", 20, 1, {Group(20, {Plain(0, 6, 5), Plain(0, 7, 6), Plain(0, 8, 7), Plain(0, 9, 8)})});
    ASSERT_NE(OpenResourceFile(a.c_str()), nullptr);
    ASSERT_NE(OpenResourceFile(b.c_str()), nullptr);
    ASSERT_EQ(LoadResourceRange1x1(10, 12), 1);
    ASSERT_EQ(OpenResourceGroup(20), 1);
    ASSERT_NE(ReadResource((20 << 16) | 2), nullptr);
    EXPECT_EQ(FreeResources(), 1);
    unsigned allocations = 0;
    DefaultHeapAllocations(&allocations);
    EXPECT_EQ(allocations, baseAllocations);
    EXPECT_EQ(deviceHeap.memoryUsed, baseUsed);
}

}  // namespace
