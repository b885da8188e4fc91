// Recording GPU commands without a GPU: a bracket opened on a word buffer of the test's own, and
// the words decoded back into the register writes they stand for; and the shader state of a
// renderer start for the tests of the shader modules.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "host/gpu.h"
#include "platform/camera.h"
#include "platform/combiners.h"
#include "platform/gpucommands.h"
#include "platform/lighting.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "platform/shaders.h"

struct RegWrite {
    uint32_t reg;
    uint32_t value;
};

class GpuRecording {
public:
    // Opens a bracket of `capacity` words (at most kMaxWords); the words after it hold a
    // sentinel that no writer may touch.
    explicit GpuRecording(uint32_t capacity = kMaxWords) : capacity_(capacity)
    {
        for (uint32_t& w : words_) w = kSentinel;
        commandStart = commandBuffer = words_;
        commandLimit = words_ + capacity;
        commandOverflow = 0;
    }
    ~GpuRecording() { commandStart = commandBuffer = commandLimit = nullptr; }

    // Forgets what was written so far.
    void Clear() { commandBuffer = commandStart; }

    uint32_t UsedWords() const { return uint32_t(commandBuffer - commandStart); }
    int SentinelIntact() const
    {
        for (uint32_t i = capacity_; i < kMaxWords + kGuard; i++)
            if (words_[i] != kSentinel) return 0;
        return 1;
    }

    // Every register write in order, a run split into its registers.
    std::vector<RegWrite> Writes() const
    {
        std::vector<RegWrite> out;
        const uint32_t* p = commandStart;
        while (p < commandBuffer) {
            uint32_t header = *p++;
            uint32_t reg = header & 0xFFFF;
            uint32_t count = (header >> 20) + 1;
            for (uint32_t i = 0; i < count; i++) out.push_back({reg + i, *p++});
        }
        return out;
    }
    // The writes of registers first .. first + n - 1.
    std::vector<RegWrite> WritesIn(uint32_t first, uint32_t n) const
    {
        std::vector<RegWrite> out;
        for (const RegWrite& w : Writes())
            if (w.reg >= first && w.reg < first + n) out.push_back(w);
        return out;
    }
    // The last value written to a register; 0 and found = 0 when none was.
    uint32_t Last(uint32_t reg, int* found = nullptr) const
    {
        uint32_t value = 0;
        int seen = 0;
        for (const RegWrite& w : Writes())
            if (w.reg == reg) value = w.value, seen = 1;
        if (found) *found = seen;
        return value;
    }
    // The last value of uniform vector v (x, y, z, w).
    void Uniform(int v, float out[4]) const
    {
        uint32_t base = kGpuRegUniformVector(v);
        for (int c = 0; c < 4; c++) out[3 - c] = GpuBitsFloat(Last(base + uint32_t(c)));
    }

    static constexpr uint32_t kMaxWords = 0x4000;

private:
    static constexpr uint32_t kGuard = 64;
    static constexpr uint32_t kSentinel = 0xDEADBEEF;
    uint32_t capacity_;
    uint32_t words_[kMaxWords + kGuard];
};

// The shader state as a renderer start leaves it, over a shader container, with a camera
// projection like the game's (1 across, 1 / 0.6 up, near 6, far 150000), the stereo strength
// 0.15, an identity view and display 0x400 in mono. 0 when the container is refused.
inline int PrepareShaderState(const void* container, uint32_t size)
{
    RenderInitVertexStride();
    if (!DS3_SetupShaderBinary(container, size)) return 0;
    RenderInitCombiners();
    RenderInitLightSets();
    RenderInitLights();
    InitStereoCamera();
    cameraViewingDistance = 1.0f;
    mirrorViewX = 0;
    setIdentityMatrix(shaderViewXform);
    displayID = kDisplayUpperLeft;
    isStereo = 0;
    s_Factor = 0.15f;
    const float n = 6.0f, f = 150000.0f;
    float proj[4][4] = {{1, 0, 0, 0}, {0, 1 / 0.6f, 0, 0}, {0, 0, f / (f - n), f * n / (f - n)}, {0, 0, -1, 0}};
    RenderSetCameraProj3D(proj);
    return 1;
}
