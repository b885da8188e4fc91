// Archives written by mkrom, read back with a parser of the test's own that follows the layout
// the game's loader expects.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "content.h"
#include "lib/decompress.h"

namespace {

namespace fs = std::filesystem;
typedef std::vector<uint8_t> Bytes;
using mkrom::Resource;

uint32_t U32(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24; }
uint16_t U16(const Bytes& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

struct Record {
    uint32_t offset, length, unpacked;
    int16_t type;
    uint16_t flags;
    uint32_t handle, file;
};

Record ReadRecord(const Bytes& b, size_t at)
{
    return {U32(b, at),          U32(b, at + 4), U32(b, at + 8), int16_t(U16(b, at + 12)), U16(b, at + 14),
            U32(b, at + 16), U32(b, at + 20)};
}

struct Archive {
    Bytes file;
    size_t directoryStart = 0;
    int32_t base = 0, count = 0, groups = 0;
    std::vector<Record> records;
    const Record& Of(int id) const { return records.at(size_t(id - base)); }
};

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Archive Parse(const std::string& path)
{
    Archive a;
    a.file = ReadFile(path);
    const Bytes& f = a.file;
    if (f.size() < 2048) {
        ADD_FAILURE() << path << " is shorter than its trailer";
        return a;
    }
    const size_t trailer = f.size() - 2048;
    EXPECT_EQ(U32(f, trailer), 0u) << "file handle";
    a.base = int32_t(U32(f, trailer + 4));
    a.count = int32_t(U32(f, trailer + 8));
    a.groups = int32_t(U32(f, trailer + 12));
    EXPECT_EQ(U32(f, trailer + 32), 0u) << "link data";
    EXPECT_EQ(U32(f, trailer + 36), 0u) << "next file";
    for (size_t i = trailer + 40; i < f.size(); i++)
        if (f[i]) {
            ADD_FAILURE() << "trailer padding not zero at " << i;
            break;
        }
    const size_t d = size_t(a.count) * 24, padded = (d + 2047) / 2048 * 2048;
    if (padded > trailer) {
        ADD_FAILURE() << "directory larger than the file";
        return a;
    }
    a.directoryStart = trailer - padded;
    for (int i = 0; i < a.count; i++) a.records.push_back(ReadRecord(f, a.directoryStart + size_t(i) * 24));
    for (size_t i = a.directoryStart + d; i < trailer; i++)
        if (f[i]) {
            ADD_FAILURE() << "directory padding not zero at " << i;
            break;
        }
    return a;
}

Bytes Unpacked(const Bytes& file, uint32_t offset, uint32_t length, uint32_t unpacked)
{
    Bytes out(unpacked);
    EXPECT_EQ(DecompressBounded(file.data() + offset, length, out.data(), unpacked), 1);
    return out;
}

// The block the loader makes of one id, by the rules of the format.
Bytes Load(const Archive& a, int id)
{
    const Record& r = a.Of(id);
    const Bytes& f = a.file;
    Bytes stored(f.begin() + r.offset, f.begin() + r.offset + r.length);
    if (r.type != mkrom::kTypeGroup)
        return (r.flags & 1) ? Unpacked(f, r.offset, r.length, r.unpacked) : stored;
    if (r.length == r.unpacked) return stored;
    Bytes block(stored.end() - r.flags, stored.end());
    const uint32_t n = U32(block, 0);
    for (uint32_t m = 0; m < n; m++) {
        const Record member = ReadRecord(block, 16 + m * 24);
        Bytes bytes = (member.flags & 1) ? Unpacked(f, member.offset, member.length, member.unpacked)
                                         : Bytes(f.begin() + member.offset, f.begin() + member.offset + member.length);
        block.insert(block.end(), bytes.begin(), bytes.end());
    }
    return block;
}

// The bytes of member m of a group as loaded, found through the group's own directory.
Bytes LoadMember(const Archive& a, int groupId, uint32_t m)
{
    Bytes block = Load(a, groupId);
    const Record& r = a.Of(groupId);
    const size_t dir = r.length == r.unpacked ? block.size() - r.flags : 0;
    const Record member = ReadRecord(block, dir + 16 + m * 24);
    if (r.length == r.unpacked)
        return Bytes(block.begin() + (member.offset - r.offset), block.begin() + (member.offset - r.offset) + member.length);
    size_t at = r.flags;
    for (uint32_t i = 0; i < m; i++) at += ReadRecord(block, dir + 16 + i * 24).unpacked;
    return Bytes(block.begin() + at, block.begin() + at + member.unpacked);
}

Bytes Padded(Bytes b)
{
    b.resize((b.size() + 127) / 128 * 128, 0);
    return b;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Noise(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    Bytes b(n);
    for (uint8_t& x : b) x = uint8_t(rng());
    return b;
}

Resource Data(int id, int16_t type, Bytes bytes, bool compressed = false)
{
    Resource r;
    r.id = id;
    r.type = type;
    r.bytes = std::move(bytes);
    r.compressed = compressed;
    return r;
}

Resource Group(int id, std::vector<Resource> members)
{
    Resource g;
    g.id = id;
    g.type = mkrom::kTypeGroup;
    g.members = std::move(members);
    return g;
}

class MkromTest : public testing::Test {
protected:
    void SetUp() override
    {
        // One folder per process: the tests of several builds may run at once.
        dir = fs::path(testing::TempDir()) / ("mkrom_" + std::to_string(getpid()) + "_" +
                                              testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string PathOf(const std::string& name) const { return (dir / name).string(); }

    Archive Write(int base, int num, std::vector<Resource> resources)
    {
        std::string error;
        EXPECT_TRUE(mkrom::WriteArchive(PathOf("a.rez"), base, num, std::move(resources), &error)) << error;
        return Parse(PathOf("a.rez"));
    }

    // The error of a write that must fail; it must leave no file behind.
    std::string Refusal(int base, int num, std::vector<Resource> resources)
    {
        std::string error;
        EXPECT_FALSE(mkrom::WriteArchive(PathOf("bad.rez"), base, num, std::move(resources), &error));
        EXPECT_FALSE(fs::exists(PathOf("bad.rez")));
        EXPECT_FALSE(fs::exists(PathOf("bad.rez.tmp")));
        return error;
    }

    fs::path dir;
};

TEST_F(MkromTest, DirectorySitsBeforeTheTrailerInWholeUnits)
{
    // 85 records (2040 bytes) fit one 2048-byte unit, 86 need two.
    for (int count : {0, 1, 85, 86}) {
        SCOPED_TRACE(count);
        std::vector<Resource> one;
        if (count) one.push_back(Data(100, 1, Text("x")));
        Archive a = Write(100, count, one);
        const size_t units = (size_t(count) * 24 + 2047) / 2048;
        EXPECT_EQ(a.directoryStart, a.file.size() - 2048 - units * 2048);
        EXPECT_EQ(a.base, 100);
        EXPECT_EQ(a.count, count);
        if (count) {
            EXPECT_EQ(a.Of(100).offset, 0u);
            EXPECT_EQ(a.Of(100).length, 128u);
        }
        if (count > 1) {
            EXPECT_EQ(a.Of(100 + count - 1).offset, 128u) << "empty ids point past the data";
        }
    }
}

TEST_F(MkromTest, TrailerIsFixedSoBuildsRepeat)
{
    std::vector<Resource> content = {Data(5, 1, Text("abc")), Group(7, {Data(0, 1, Text("m"))})};
    Archive a = Write(5, 4, content);
    const size_t t = a.file.size() - 2048;
    EXPECT_EQ(a.groups, 1);
    const int16_t stamp[8] = {2024, 1, 1, 1, 12, 0, 0, 0};
    for (int i = 0; i < 8; i++) EXPECT_EQ(int16_t(U16(a.file, t + 16 + size_t(i) * 2)), stamp[i]) << i;
    Archive again = Write(5, 4, content);
    EXPECT_EQ(a.file, again.file);
}

TEST_F(MkromTest, ResourcesLieBackToBackInIdOrderPaddedTo128)
{
    // Given out of order, with gaps between ids, sizes on and off the padding unit.
    std::vector<Resource> content = {Data(14, 1, Noise(300, 1)), Data(10, 0, Text("first")),
                                     Data(12, 2, Noise(128, 2)), Data(16, 1, Noise(2048, 3), true),
                                     Data(17, 1, Bytes(1000, 'z'), true)};
    Archive a = Write(10, 9, content);
    uint32_t expected = 0;
    for (int id = 10; id < 19; id++) {
        SCOPED_TRACE(id);
        const Record& r = a.Of(id);
        EXPECT_EQ(r.offset, expected);
        expected += r.length;
        EXPECT_EQ(r.unpacked % 128, 0u);
        EXPECT_EQ(r.handle, 0u);
        EXPECT_EQ(r.file, 0u);
        if (r.flags == 0) {
            EXPECT_EQ(r.length, r.unpacked);
        }
    }
    EXPECT_LE(expected, a.directoryStart);
    for (int id : {11, 13, 15, 18}) {
        EXPECT_EQ(a.Of(id).length, 0u);
        EXPECT_EQ(a.Of(id).unpacked, 0u);
        EXPECT_EQ(a.Of(id).type, 0);
    }
    EXPECT_EQ(a.Of(10).type, 0);
    EXPECT_EQ(a.Of(12).type, 2);
    EXPECT_EQ(Load(a, 10), Padded(Text("first")));
    EXPECT_EQ(Load(a, 14), Padded(Noise(300, 1)));
    EXPECT_EQ(a.Of(14).length, 384u);
    // Noise does not compress (2048 bytes need no padding), so it is stored plain despite the request; the run of 'z' is packed.
    EXPECT_EQ(a.Of(16).flags, 0);
    EXPECT_EQ(Load(a, 16), Padded(Noise(2048, 3)));
    EXPECT_EQ(a.Of(17).flags, 1);
    EXPECT_LT(a.Of(17).length, 100u);
    EXPECT_EQ(a.Of(17).unpacked, 1024u);
    EXPECT_EQ(Load(a, 17), Padded(Bytes(1000, 'z')));
}

TEST_F(MkromTest, PlainGroupIsMembersThenItsDirectory)
{
    Archive a = Write(0, 2, {Data(0, 1, Text("lead")),
                             Group(1, {Data(0, 3, Text("one")), Data(0, 4, Noise(200, 4)), Data(0, 5, Bytes(128, 7))})});
    const Record& g = a.Of(1);
    EXPECT_EQ(g.type, 19);
    EXPECT_EQ(g.offset, 128u);
    EXPECT_EQ(g.flags, 128u) << "16 + 3 * 24 bytes, padded";
    EXPECT_EQ(g.length, 128u + 256u + 128u + 128u);
    EXPECT_EQ(g.unpacked, g.length);

    const size_t dir = g.offset + g.length - g.flags;
    EXPECT_EQ(U32(a.file, dir), 3u);
    for (int i = 1; i < 4; i++) EXPECT_EQ(U32(a.file, dir + size_t(i) * 4), 0u);
    uint32_t at = g.offset;
    for (uint32_t m = 0; m < 3; m++) {
        const Record r = ReadRecord(a.file, dir + 16 + m * 24);
        EXPECT_EQ(r.offset, at) << "member offsets are absolute";
        EXPECT_EQ(r.length, r.unpacked);
        EXPECT_EQ(r.type, int16_t(3 + m));
        EXPECT_EQ(r.flags, 0);
        at += r.length;
    }
    EXPECT_EQ(at, dir);
    for (size_t i = dir + 16 + 3 * 24; i < dir + g.flags; i++) ASSERT_EQ(a.file[i], 0) << i;
    EXPECT_EQ(LoadMember(a, 1, 1), Padded(Noise(200, 4)));
}

TEST_F(MkromTest, CompressedGroupIsShorterStoredThanUnpacked)
{
    // Six members make a directory of 16 + 144 bytes, padded to 256.
    std::vector<Resource> members = {Data(0, 1, Bytes(3000, 'a'), true), Data(0, 1, Text("plain")),
                                     Data(0, 2, Noise(500, 5), true),  Data(0, 1, Bytes(129, 'b'), true),
                                     Data(0, 6, Noise(64, 6)),           Data(0, 1, Bytes(128, 'c'), true)};
    Archive a = Write(50, 1, {Group(50, members)});
    const Record& g = a.Of(50);
    EXPECT_EQ(g.flags, 256u);
    const size_t dir = g.offset + g.length - g.flags;
    uint32_t stored = 0, unpacked = 0;
    for (uint32_t m = 0; m < members.size(); m++) {
        const Record r = ReadRecord(a.file, dir + 16 + m * 24);
        EXPECT_EQ(r.offset, g.offset + stored);
        EXPECT_EQ(r.unpacked % 128, 0u);
        stored += r.length;
        unpacked += r.unpacked;
        // Packed only where asked and where it pays.
        EXPECT_EQ(r.flags, (m == 0 || m == 3 || m == 5) ? 1 : 0) << m;
    }
    EXPECT_EQ(g.length, stored + g.flags);
    EXPECT_EQ(g.unpacked, unpacked + g.flags);
    EXPECT_LT(g.length, g.unpacked);
    for (uint32_t m = 0; m < members.size(); m++) EXPECT_EQ(LoadMember(a, 50, m), Padded(members[m].bytes)) << m;
    // The loaded block starts with the directory as stored.
    Bytes block = Load(a, 50);
    EXPECT_EQ(block.size(), g.unpacked);
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + g.flags, a.file.begin() + long(dir)));
}

TEST_F(MkromTest, GroupWhoseMembersDoNotCompressIsStoredPlain)
{
    // Asking to pack noise (whole padding units of it, so no zeros pad it) must not give equal stored and unpacked lengths with packed members.
    Archive a = Write(0, 1, {Group(0, {Data(0, 1, Noise(256, 7), true), Data(0, 1, Noise(384, 8), true)})});
    const Record& g = a.Of(0);
    EXPECT_EQ(g.length, g.unpacked);
    const size_t dir = g.offset + g.length - g.flags;
    for (uint32_t m = 0; m < 2; m++) EXPECT_EQ(ReadRecord(a.file, dir + 16 + m * 24).flags, 0) << m;
    EXPECT_EQ(LoadMember(a, 0, 1), Padded(Noise(384, 8)));
}

TEST_F(MkromTest, RefusesContentTheLoaderCannotTake)
{
    EXPECT_NE(Refusal(0, 1, {Data(0, 0, Bytes(1000, 'a'), true)}).find("type 0"), std::string::npos);
    EXPECT_NE(Refusal(0, 1, {Group(0, {Data(0, 0, Bytes(1000, 'a'), true)})}).find("type 0"), std::string::npos);
    EXPECT_NE(Refusal(0, 2, {Data(2, 1, Text("x"))}).find("outside"), std::string::npos);
    EXPECT_NE(Refusal(0, 2, {Data(1, 1, Text("x")), Data(1, 1, Text("y"))}).find("twice"), std::string::npos);
    EXPECT_NE(Refusal(0, 1, {Data(0, 1, {})}).find("no data"), std::string::npos);
    EXPECT_NE(Refusal(0, 1, {Group(0, {})}).find("without members"), std::string::npos);
    EXPECT_NE(Refusal(0, 1, {Group(0, {Group(0, {Data(0, 1, Text("x"))})})}).find("nest"), std::string::npos);
    EXPECT_NE(Refusal(0, 1, {Group(0, {Data(0, 1, {})})}).find("member 0 has no data"), std::string::npos);
    Resource withMembers = Data(0, 1, Text("x"));
    withMembers.members.push_back(Data(0, 1, Text("y")));
    EXPECT_NE(Refusal(0, 1, {withMembers}).find("not a group"), std::string::npos);
    EXPECT_NE(Refusal(9999, 2, {}).find("10000"), std::string::npos);
    EXPECT_NE(Refusal(-1, 1, {}).find("10000"), std::string::npos);
    // A group with more members than its 16-bit directory size can describe.
    EXPECT_NE(Refusal(0, 1, {Group(0, std::vector<Resource>(2800, Data(0, 1, Text("m"))))}).find("too many"),
              std::string::npos);
}

TEST_F(MkromTest, FailedWriteKeepsThePreviousArchive)
{
    std::string error;
    ASSERT_TRUE(mkrom::WriteArchive(PathOf("keep.rez"), 0, 1, {Data(0, 1, Text("old"))}, &error)) << error;
    const Bytes before = ReadFile(PathOf("keep.rez"));
    EXPECT_FALSE(mkrom::WriteArchive(PathOf("keep.rez"), 0, 1, {Data(0, 0, Text("new"), true)}, &error));
    EXPECT_EQ(ReadFile(PathOf("keep.rez")), before);
    EXPECT_FALSE(mkrom::WriteArchive(PathOf("missing/dir.rez"), 0, 0, {}, &error));
    EXPECT_NE(error.find("missing/dir.rez"), std::string::npos) << error;
}

TEST_F(MkromTest, SplitRangesMustBeDisjointAndCoverEveryResource)
{
    std::string error;
    const std::vector<Resource> content = {Data(10, 1, Text("a")), Data(25, 1, Text("b"))};
    EXPECT_TRUE(mkrom::CheckArchiveRanges({{"A", 0, 20}, {"B", 20, 30}}, content, &error)) << error;

    EXPECT_FALSE(mkrom::CheckArchiveRanges({{"A", 0, 21}, {"B", 20, 30}}, content, &error));
    EXPECT_NE(error.find("share"), std::string::npos) << error;
    EXPECT_FALSE(mkrom::CheckArchiveRanges({{"A", 0, 20}, {"B", 5, 6}, {"C", 20, 30}}, content, &error));
    EXPECT_FALSE(mkrom::CheckArchiveRanges({{"A", 0, 20}}, content, &error));
    EXPECT_NE(error.find("resource 25"), std::string::npos) << error;
    EXPECT_FALSE(mkrom::CheckArchiveRanges({{"A", 0, 20}, {"B", 20, 10001}}, content, &error));
    EXPECT_FALSE(mkrom::CheckArchiveRanges({{"A", 0, 20}, {"B", 30, 30}, {"C", 20, 30}}, content, &error));
    EXPECT_FALSE(mkrom::CheckArchiveRanges({{"A", 0, 20}, {"A", 20, 30}}, content, &error));

    // A refused split set writes nothing.
    EXPECT_FALSE(mkrom::WriteSplitArchives(dir.string(), {{"A", 0, 21}, {"B", 20, 30}}, content, &error));
    EXPECT_FALSE(fs::exists(PathOf("Resource/A.rez")));
    EXPECT_FALSE(mkrom::WriteSingleArchive(dir.string(), {{"A", 0, 20}}, content, &error));
    EXPECT_FALSE(fs::exists(PathOf("Resource.rez")));
}

TEST_F(MkromTest, GameDataHoldsTheSameResourcesInBothForms)
{
    std::string error;
    const std::vector<Resource> content = mkrom::BuildContent();
    ASSERT_TRUE(mkrom::WriteSingleArchive(dir.string(), mkrom::ArchiveRanges(), content, &error)) << error;
    ASSERT_TRUE(mkrom::WriteSplitArchives(dir.string(), mkrom::ArchiveRanges(), content, &error)) << error;

    const Archive single = Parse(PathOf("Resource.rez"));
    std::map<int, const Archive*> owner;
    std::vector<Archive> split;
    split.reserve(mkrom::ArchiveRanges().size());
    EXPECT_EQ(mkrom::ArchiveRanges().size(), 15u);
    for (const mkrom::ArchiveRange& range : mkrom::ArchiveRanges()) {
        const std::string path = PathOf(std::string("Resource/") + range.name + ".rez");
        ASSERT_TRUE(fs::exists(path)) << path;
        split.push_back(Parse(path));
        const Archive& a = split.back();
        if (a.count > 0) {
            EXPECT_TRUE(a.base >= range.firstId && a.base + a.count <= range.endId) << range.name;
        }
        for (int id = a.base; id < a.base + a.count; id++) {
            EXPECT_EQ(owner.count(id), 0u) << "id " << id << " in two archives";
            owner[id] = &a;
        }
    }
    for (const Resource& r : content) {
        SCOPED_TRACE(r.id);
        ASSERT_EQ(owner.count(r.id), 1u);
        const Record& s = single.Of(r.id);
        const Record& p = owner[r.id]->Of(r.id);
        EXPECT_EQ(s.type, p.type);
        EXPECT_EQ(s.unpacked, p.unpacked);
        if (r.type != mkrom::kTypeGroup) {
            EXPECT_EQ(Load(single, r.id), Load(*owner[r.id], r.id));
            continue;
        }
        // A group's directory holds file offsets, which differ between the two forms: compare
        // its members.
        for (uint32_t m = 0; m < r.members.size(); m++)
            EXPECT_EQ(LoadMember(single, r.id, m), LoadMember(*owner[r.id], r.id, m)) << "member " << m;
    }

    // The test resources hold what the content header promises.
    const Archive& a = single;
    const std::string text = mkrom::kTestPlainText;
    Bytes plain = Text(text);
    plain.push_back(0);
    EXPECT_EQ(a.Of(mkrom::kTestPlainResource).type, 0);
    EXPECT_EQ(a.Of(mkrom::kTestPlainResource).flags, 0);
    EXPECT_EQ(Load(a, mkrom::kTestPlainResource), Padded(plain));

    EXPECT_EQ(a.Of(mkrom::kTestCompressedResource).flags, 1);
    EXPECT_NE(a.Of(mkrom::kTestCompressedResource).type, 0);
    Bytes table(mkrom::kTestCompressedSize);
    for (uint32_t i = 0; i < table.size(); i++) table[i] = mkrom::TestCompressedByte(i);
    EXPECT_EQ(Load(a, mkrom::kTestCompressedResource), Padded(table));

    const Record& plainGroup = a.Of(mkrom::kTestPlainGroup);
    EXPECT_EQ(plainGroup.length, plainGroup.unpacked);
    const Record& packedGroup = a.Of(mkrom::kTestCompressedGroup);
    EXPECT_LT(packedGroup.length, packedGroup.unpacked);
    for (int m = 0; m < mkrom::kTestPlainGroupMembers; m++)
        EXPECT_EQ(LoadMember(a, mkrom::kTestPlainGroup, uint32_t(m)),
                  Padded(mkrom::TestMemberBytes(mkrom::kTestPlainGroup, m)));
    const size_t dir = packedGroup.offset + packedGroup.length - packedGroup.flags;
    for (int m = 0; m < mkrom::kTestCompressedGroupMembers; m++) {
        EXPECT_EQ(ReadRecord(a.file, dir + 16 + size_t(m) * 24).flags, m % 2 == 0 ? 1 : 0) << m;
        EXPECT_EQ(LoadMember(a, mkrom::kTestCompressedGroup, uint32_t(m)),
                  Padded(mkrom::TestMemberBytes(mkrom::kTestCompressedGroup, m)));
    }
}

}  // namespace
