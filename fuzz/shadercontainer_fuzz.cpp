// Arbitrary bytes as the shader container (resource 10): it must be refused or read without
// touching memory outside it, and what is accepted must describe programs the GPU can be given.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "content_shaders.h"
#include "platform/shaders.h"

// The game's own container, built once: random bytes rarely get past its first words, so half of
// the inputs are edits of it instead.
static const std::vector<uint8_t>& GameContainer()
{
    static const std::vector<uint8_t> container = mkrom::BuildShaderContainer("void main() {}\n");
    return container;
}

// An input whose first byte is odd edits the game's container: each following pair of bytes
// (offset, value) overwrites one byte, and the last byte, when odd, cuts the container short.
static std::vector<uint8_t> EditedContainer(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> container = GameContainer();
    size_t i = 1;
    for (; i + 1 < size && !container.empty(); i += 2) container[data[i] * 7u % container.size()] = data[i + 1];
    if (i < size && (data[i] & 1) && !container.empty()) container.resize(data[i] % container.size());
    return container;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0xFFFFFFFFu) return 0;
    // The input copied to an exact-size heap block, so that reads past its end are caught.
    std::vector<uint8_t> container =
        size > 0 && (data[0] & 1) ? EditedContainer(data, size) : std::vector<uint8_t>(data, data + size);
    if (!DS3_SetupShaderBinary(container.data(), uint32_t(container.size()))) return 0;
    if (container.size() < 16) __builtin_trap();
    for (int p = 0; p < kNumShaders; p++) {
        const DS3_ShaderInfo& info = s_ShaderInfo[p];
        if (info.outputRegisterCount > uint32_t(kShaderOutputRegisters)) __builtin_trap();
        if (info.outputRegisterMask >> kShaderOutputRegisters) __builtin_trap();
        if (uint32_t(__builtin_popcount(info.outputRegisterMask)) != info.outputRegisterCount) __builtin_trap();
    }
    return 0;
}
