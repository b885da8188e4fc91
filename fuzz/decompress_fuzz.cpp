// Arbitrary bytes as a compressed resource: the decompressor must refuse or unpack them without
// touching memory outside its buffers. The output buffer is exactly as large as the stream asks
// (up to a cap), so that any write past N lands outside the allocation and the sanitizer sees it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "lib/decompress.h"

static const uint32_t kCapacityCap = 1u << 20;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0xFFFFFFFFu) return 0;
    // The input copied to an exact-size heap block, so that reads past its end are caught.
    std::vector<uint8_t> stream(data, data + size);
    const uint32_t length = uint32_t(stream.size());
    const uint32_t n = DecompressedSize(stream.data(), length);

    if (n > kCapacityCap) {
        // Too large for the buffer offered: refused without writing.
        uint8_t small[16];
        if (DecompressBounded(stream.data(), length, small, sizeof small)) __builtin_trap();
        return 0;
    }
    std::vector<uint8_t> out(n);
    int ok = DecompressBounded(stream.data(), length, out.data(), n);
    if (length < 4 && ok) __builtin_trap();
    // A capacity one short of N is always refused.
    if (n > 0 && DecompressBounded(stream.data(), length, out.data(), n - 1)) __builtin_trap();
    return 0;
}
