// Unpacking the LZ streams of the game data, bounded by the output size so that a damaged stream
// cannot write past its block.
#include "lib/decompress.h"

#include <cstring>

// Runs are at most 127 bytes. While this much room is left in both buffers, runs are copied in
// whole 16-byte pieces: the bytes written past a run's end lie inside the output and are
// overwritten by the runs that follow.
static const uint32_t kSlack = 128 + 16;

static void Copy16(uint8_t* to, const uint8_t* from) { memcpy(to, from, 16); }

static uint32_t ReadU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint32_t DecompressedSize(const uint8_t* src, uint32_t srcLength)
{
    if (!src || srcLength < 4) return 0;
    return ReadU32(src);
}

int DecompressBounded(const uint8_t* src, uint32_t srcLength, uint8_t* dst, uint32_t dstCapacity)
{
    if (!src || srcLength < 4) return 0;
    const uint32_t size = ReadU32(src);
    if (size > dstCapacity) return 0;
    if (size == 0) return 1;
    if (!dst) return 0;

    const uint8_t* in = src + 4;
    const uint8_t* const inEnd = src + srcLength;
    uint8_t* out = dst;
    uint8_t* const outEnd = dst + size;
    while (outEnd - out >= kSlack && inEnd - in >= kSlack) {
        uint32_t c = *in++;
        if (c & 0x80) {
            c &= 0x7F;
            for (uint32_t i = 0; i < c; i += 16) Copy16(out + i, in + i);
            in += c;
            out += c;
            continue;
        }
        const uint32_t distance = uint32_t(in[0]) | uint32_t(in[1]) << 8;
        in += 2;
        if (c == 0) continue;
        if (distance == 0 || distance > uint32_t(out - dst)) return 0;
        const uint8_t* from = out - distance;
        if (distance >= 16) {
            // Each piece reads only bytes written before it.
            for (uint32_t i = 0; i < c; i += 16) Copy16(out + i, from + i);
        } else {
            for (uint32_t i = 0; i < c; i++) out[i] = from[i];
        }
        out += c;
    }
    // Near the ends of the buffers every run is clamped to the room left, so the loop ends
    // exactly at N.
    while (out != outEnd) {
        if (in == inEnd) return 0;
        uint32_t c = *in++;
        const uint32_t room = uint32_t(outEnd - out);
        if (c & 0x80) {
            c &= 0x7F;
            if (c > room) c = room;
            if (c > uint32_t(inEnd - in)) return 0;
            memcpy(out, in, c);
            in += c;
            out += c;
        } else {
            if (inEnd - in < 2) return 0;
            const uint32_t distance = uint32_t(in[0]) | uint32_t(in[1]) << 8;
            in += 2;
            if (c == 0) continue;  // copies nothing, whatever the distance says
            if (distance == 0 || distance > uint32_t(out - dst)) return 0;
            if (c > room) c = room;
            const uint8_t* from = out - distance;
            if (distance >= c) {
                memcpy(out, from, c);
                out += c;
            } else {
                // Overlapping: each byte may be one this reference has just written.
                for (uint8_t* end = out + c; out != end; out++, from++) *out = *from;
            }
        }
    }
    return 1;
}
