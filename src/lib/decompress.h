// The LZ format of compressed game data. A stream is the unpacked size N (uint32, little-endian)
// followed by control bytes until N bytes have been written:
//   c < 0x80   back reference: a uint16 distance d follows; copy c bytes one at a time from d bytes
//              back in the output (d < c repeats a pattern); c = 0 copies nothing.
//   c >= 0x80  literal run: the next c & 0x7F bytes are copied as they are.
// Decoding stops as soon as N bytes are written, even inside a run.
#pragma once

#include <cstdint>

// Unpacks the stream src[0, srcLength) into dst, which has room for dstCapacity bytes. Returns 1
// on success and 0 on a malformed stream: N larger than dstCapacity, the stream ending before N
// bytes are written, or a back reference of distance 0 or reaching before the start of the
// output. Never reads or writes outside the two buffers; on failure dst holds partial output.
int DecompressBounded(const uint8_t* src, uint32_t srcLength, uint8_t* dst, uint32_t dstCapacity);

// The unpacked size N named by a stream's header; 0 when srcLength < 4.
uint32_t DecompressedSize(const uint8_t* src, uint32_t srcLength);
