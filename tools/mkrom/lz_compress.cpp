// A greedy LZ matcher for the game's decompressor: hash chains over 3-byte prefixes find the
// longest earlier match within the 16-bit window; matches shorter than kMinMatch go out as
// literals, since a back reference costs three bytes.
#include <algorithm>
#include <stdexcept>

#include "archive_writer.h"

namespace mkrom {

static constexpr size_t kMaxDistance = 0xFFFF;
static constexpr size_t kMaxRun = 0x7F;  // both literal runs and back references
static constexpr size_t kMinMatch = 4;
static constexpr int kHashBits = 15;
static constexpr size_t kChainWindow = 0x10000;  // one chain link per position of the window
static constexpr int kMaxChainSteps = 128;

static uint32_t Hash3(const uint8_t* p)
{
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    return (v * 2654435761u) >> (32 - kHashBits);
}

static void FlushLiterals(std::vector<uint8_t>& out, const uint8_t* data, size_t from, size_t to)
{
    while (from < to) {
        size_t n = std::min(to - from, kMaxRun);
        out.push_back(uint8_t(0x80 | n));
        out.insert(out.end(), data + from, data + from + n);
        from += n;
    }
}

std::vector<uint8_t> Compress(const uint8_t* data, size_t size)
{
    if (size > 0xFFFFFFFFu) throw std::length_error("resource too large to compress");
    std::vector<uint8_t> out;
    out.reserve(4 + size + size / kMaxRun + 1);
    for (int i = 0; i < 4; i++) out.push_back(uint8_t(size >> (8 * i)));

    // head: the latest position with a given hash; chain[p % window]: the position before p with
    // the same hash. Positions are stored plus one so that 0 means none.
    std::vector<uint32_t> head(size_t(1) << kHashBits, 0);
    std::vector<uint32_t> chain(kChainWindow, 0);
    auto insert = [&](size_t p) {
        if (p + 3 > size) return;
        uint32_t h = Hash3(data + p);
        chain[p % kChainWindow] = head[h];
        head[h] = uint32_t(p + 1);
    };

    size_t literalStart = 0;
    size_t p = 0;
    while (p < size) {
        size_t bestLength = 0, bestDistance = 0;
        if (p + kMinMatch <= size) {
            const size_t limit = std::min(kMaxRun, size - p);
            uint32_t link = head[Hash3(data + p)];
            // Positions within the window have distinct slots in the chain ring, so every link
            // followed here is fresh; the walk stops at the first one beyond the window.
            for (int steps = 0; link != 0 && steps < kMaxChainSteps; steps++) {
                size_t candidate = link - 1;
                size_t distance = p - candidate;
                if (distance > kMaxDistance) break;
                size_t length = 0;
                while (length < limit && data[candidate + length] == data[p + length]) length++;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = distance;
                    if (length == limit) break;
                }
                link = chain[candidate % kChainWindow];
            }
        }
        if (bestLength >= kMinMatch) {
            FlushLiterals(out, data, literalStart, p);
            out.push_back(uint8_t(bestLength));
            out.push_back(uint8_t(bestDistance));
            out.push_back(uint8_t(bestDistance >> 8));
            for (size_t i = 0; i < bestLength; i++) insert(p + i);
            p += bestLength;
            literalStart = p;
        } else {
            insert(p);
            p++;
        }
    }
    FlushLiterals(out, data, literalStart, size);
    return out;
}

}  // namespace mkrom
