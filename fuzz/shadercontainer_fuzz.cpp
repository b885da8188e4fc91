// Arbitrary bytes as the shader container (resource 10): it must be refused or read without
// touching memory outside it, and what is accepted must describe programs the GPU can be given.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/shaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0xFFFFFFFFu) return 0;
    // The input copied to an exact-size heap block, so that reads past its end are caught.
    std::vector<uint8_t> container(data, data + size);
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
