#include "lib/decompress.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "archive_writer.h"

namespace {

typedef std::vector<uint8_t> Bytes;

Bytes Stream(uint32_t size, std::initializer_list<int> body)
{
    Bytes s = {uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16), uint8_t(size >> 24)};
    for (int b : body) s.push_back(uint8_t(b));
    return s;
}

// Unpacks into a buffer of exactly capacity bytes (so that ASan sees any overrun); "" and ok
// false on failure.
std::string Unpack(const Bytes& stream, uint32_t capacity, bool* ok)
{
    Bytes in(stream);  // exact-size copy: reads past the end are caught too
    Bytes out(capacity);
    *ok = DecompressBounded(in.data(), uint32_t(in.size()), out.data(), capacity) == 1;
    if (!*ok) return "";
    return std::string(out.begin(), out.begin() + DecompressedSize(in.data(), uint32_t(in.size())));
}

std::string Unpack(const Bytes& stream)
{
    bool ok = false;
    std::string s = Unpack(stream, DecompressedSize(stream.data(), uint32_t(stream.size())), &ok);
    EXPECT_TRUE(ok);
    return s;
}

bool Refused(const Bytes& stream, uint32_t capacity)
{
    bool ok = true;
    Unpack(stream, capacity, &ok);
    return !ok;
}

TEST(DecompressTest, LiteralsAndBackReferences)
{
    EXPECT_EQ(Unpack(Stream(5, {0x83, 'a', 'b', 'c', 0x02, 0x03, 0x00})), "abcab");
    // Distance 1 with count 4 after one literal repeats it: five copies.
    EXPECT_EQ(Unpack(Stream(5, {0x81, 'x', 0x04, 0x01, 0x00})), "xxxxx");
    // A period-2 pattern grown by an overlapping reference.
    EXPECT_EQ(Unpack(Stream(7, {0x82, 'a', 'b', 0x05, 0x02, 0x00})), "abababa");
    // Count 0 and 0x80 copy nothing; the zero count still consumes its distance, whatever it is.
    EXPECT_EQ(Unpack(Stream(2, {0x80, 0x00, 0xFF, 0xFF, 0x82, 'h', 'i'})), "hi");
    // A full-length literal run and reference.
    Bytes s = Stream(254, {0xFF});
    for (int i = 0; i < 127; i++) s.push_back(uint8_t(i));
    s.insert(s.end(), {0x7F, 127, 0});
    std::string expected;
    for (int r = 0; r < 2; r++)
        for (int i = 0; i < 127; i++) expected.push_back(char(i));
    EXPECT_EQ(Unpack(s), expected);
}

TEST(DecompressTest, StopsExactlyAtTheUnpackedSize)
{
    // A literal run crossing N: the bytes beyond N need not even be present.
    EXPECT_EQ(Unpack(Stream(2, {0x85, 'a', 'b'})), "ab");
    // A reference crossing N, followed by bytes that are never read.
    EXPECT_EQ(Unpack(Stream(4, {0x81, 'z', 0x7F, 0x01, 0x00, 0x00, 0x00, 0x00})), "zzzz");
    // N = 0 needs no body and writes nothing.
    bool ok = false;
    EXPECT_EQ(DecompressBounded(Stream(0, {}).data(), 4, nullptr, 0), 1);
    Unpack(Stream(0, {0x00}), 0, &ok);
    EXPECT_TRUE(ok);
    // Room to spare is fine; only N bytes are written.
    Bytes in = Stream(3, {0x83, 'a', 'b', 'c'});
    Bytes out(8, 0xEE);
    ASSERT_EQ(DecompressBounded(in.data(), uint32_t(in.size()), out.data(), 8), 1);
    EXPECT_EQ(out, (Bytes{'a', 'b', 'c', 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));
}

TEST(DecompressTest, RefusesMalformedStreams)
{
    EXPECT_TRUE(Refused({0x05, 0x00, 0x00}, 16)) << "truncated header";
    EXPECT_TRUE(Refused({}, 16)) << "empty";
    EXPECT_TRUE(Refused(Stream(5, {0x85, 'a', 'b'}), 5)) << "truncated literal run";
    EXPECT_TRUE(Refused(Stream(5, {0x81, 'a', 0x04, 0x01}), 5)) << "truncated distance";
    EXPECT_TRUE(Refused(Stream(5, {0x81, 'a', 0x04}), 5)) << "missing distance";
    EXPECT_TRUE(Refused(Stream(3, {0x81, 'a', 0x00, 0x01}), 5)) << "count 0 with its distance cut";
    EXPECT_TRUE(Refused(Stream(5, {0x81, 'a', 0x04, 0x00, 0x00}), 5)) << "distance 0";
    EXPECT_TRUE(Refused(Stream(5, {0x81, 'a', 0x04, 0x02, 0x00}), 5)) << "distance before the start";
    EXPECT_TRUE(Refused(Stream(5, {0x04, 0x01, 0x00}), 5)) << "reference with no output yet";
    EXPECT_TRUE(Refused(Stream(5, {0x81, 'a', 0x02, 0xFF, 0xFF}), 5)) << "far distance";
    EXPECT_TRUE(Refused(Stream(5, {0x83, 'a', 'b', 'c'}), 5)) << "stream ends before N";
    EXPECT_TRUE(Refused(Stream(5, {0x80, 0x80, 0x80}), 5)) << "only empty runs";

    // The same faults far from the ends of both buffers, where runs are copied in larger pieces.
    for (int distance : {0, 128, 0xFFFF}) {
        SCOPED_TRACE(distance);
        Bytes s = Stream(1000, {0xFF});
        for (int i = 0; i < 127; i++) s.push_back(uint8_t(i));
        s.insert(s.end(), {0x05, uint8_t(distance), uint8_t(distance >> 8)});
        while (s.size() < 2000) s.insert(s.end(), {0x81, 'p'});  // more than enough to reach N
        EXPECT_TRUE(Refused(s, 1000));
        // The same stream with a good distance unpacks.
        s[4 + 128 + 1] = 127;
        s[4 + 128 + 2] = 0;
        bool ok = false;
        Unpack(s, 1000, &ok);
        EXPECT_TRUE(ok);
    }

    // N larger than the buffer: refused before anything is written.
    Bytes in = Stream(5, {0x85, 'a', 'b', 'c', 'd', 'e'});
    Bytes out(4, 0xEE);
    EXPECT_EQ(DecompressBounded(in.data(), uint32_t(in.size()), out.data(), 4), 0);
    EXPECT_EQ(out, Bytes(4, 0xEE));
    EXPECT_TRUE(Refused(Stream(0xFFFFFFFFu, {0x81, 'a'}), 1024));
    EXPECT_EQ(DecompressBounded(nullptr, 16, out.data(), 4), 0);
    EXPECT_EQ(DecompressBounded(in.data(), uint32_t(in.size()), nullptr, 5), 0);
}

Bytes RoundTrip(const Bytes& data)
{
    Bytes packed = mkrom::Compress(data.data(), data.size());
    EXPECT_EQ(DecompressedSize(packed.data(), uint32_t(packed.size())), data.size());
    Bytes out(data.size());
    EXPECT_EQ(DecompressBounded(packed.data(), uint32_t(packed.size()), out.data(), uint32_t(out.size())), 1);
    EXPECT_EQ(out, data);
    return packed;
}

TEST(DecompressRoundTripTest, RandomAndRepetitiveData)
{
    std::mt19937 rng(12345);
    for (size_t size : {0, 1, 3, 4, 5, 127, 128, 129, 255, 1000, 70000}) {
        SCOPED_TRACE(size);
        Bytes random(size), zeros(size, 0), smallAlphabet(size), records(size);
        for (size_t i = 0; i < size; i++) {
            random[i] = uint8_t(rng());
            smallAlphabet[i] = uint8_t('a' + rng() % 3);
            records[i] = uint8_t(i % 24 == 0 ? rng() : i % 24);
        }
        Bytes packed = RoundTrip(random);
        // Incompressible data grows by no more than one control byte per 127 literals.
        EXPECT_LE(packed.size(), 4 + size + (size + 126) / 127);
        packed = RoundTrip(zeros);
        if (size >= 1000) {
            EXPECT_LT(packed.size(), size / 30) << "runs of zeros barely compressed";
        }
        RoundTrip(smallAlphabet);
        RoundTrip(records);
    }
}

TEST(DecompressRoundTripTest, MatchesAtTheEdgesOfTheWindow)
{
    // A random block repeated at distances just inside and just beyond the 16-bit window: the far
    // copy must not be referenced with a truncated distance.
    std::mt19937 rng(99);
    for (size_t gap : {65535 - 300, 65535 - 200, 65536 - 200, 70000 - 200}) {
        SCOPED_TRACE(gap);
        Bytes block(200);
        for (uint8_t& b : block) b = uint8_t(rng());
        Bytes data(block);
        for (size_t i = 0; i < gap; i++) data.push_back(uint8_t(rng()));
        data.insert(data.end(), block.begin(), block.end());
        Bytes packed = RoundTrip(data);
        // The second copy is found when its distance (gap + 200) fits in 16 bits, saving most of
        // its 200 bytes against storing everything as literals.
        const size_t allLiterals = 4 + data.size() + (data.size() + 126) / 127;
        if (gap + 200 <= 65535) {
            EXPECT_LT(packed.size(), allLiterals - 150);
        }
    }
}

TEST(DecompressRoundTripTest, MixedRandomStreams)
{
    std::mt19937 rng(2024);
    for (int round = 0; round < 200; round++) {
        Bytes data;
        size_t target = rng() % 5000;
        while (data.size() < target) {
            if (!data.empty() && rng() % 2) {
                // Copy an earlier stretch, possibly overlapping the end.
                size_t from = rng() % data.size();
                for (size_t n = rng() % 300; n > 0; n--) data.push_back(data[from++]);
            } else {
                for (size_t n = rng() % 40; n > 0; n--) data.push_back(uint8_t(rng() % 8));
            }
        }
        RoundTrip(data);
        if (HasFailure()) break;
    }
}

}  // namespace
