#include "support/gpu_rig.h"

#include <cstdlib>
#include <string>

#include "content_shaders.h"
#include "host/host.h"
#include "lib/memory.h"
#include "support/device_heap.h"

static std::vector<void*> rigBlocks;
static uint32_t rigFramebuffer = 0;
static int rigWidth = 0;

static void* Allocate(uint32_t, uint32_t, uint32_t, int32_t size)
{
    void* p = nullptr;
    if (!AllocateTempHeapMemory(size, &deviceHeap, &p)) return nullptr;
    return p;
}

static void Release(uint32_t, uint32_t, uint32_t, void* p) { FreeHeapMemory(p, &deviceHeap); }

static int Fail(std::string* why, const char* what)
{
    *why = what;
    GpuRigStop();
    return 0;
}

int GpuRigStart(GpuRig* rig, int width, int height, std::string* why, int windowed)
{
    *rig = GpuRig{};
    if (!UseFreshDeviceHeap(32u << 20)) return Fail(why, "no device heap");
    if (!windowed) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    gHostOptions.headless = !windowed;
    if (!GpuInitialize(Allocate, Release)) return Fail(why, "no GL context");
    GpuGenCmdlists(1, &rig->list);
    GpuBindCmdlist(rig->list);
    if (!GpuCmdlistStorage(0x40000, 64)) return Fail(why, "no command list storage");
    GpuGenFramebuffers(1, &rig->framebuffer);
    GpuGenRenderbuffers(1, &rig->colour);
    GpuBindRenderbuffer(rig->colour);
    if (!GpuRenderbufferStorage(kGpuRGBA8, kGpuAreaMain, width, height)) return Fail(why, "no colour buffer");
    GpuGenRenderbuffers(1, &rig->depth);
    GpuBindRenderbuffer(rig->depth);
    if (!GpuRenderbufferStorage(kGpuDepth24Stencil8, kGpuAreaMain, width, height)) return Fail(why, "no depth buffer");
    if (!GpuFramebufferRenderbuffer(rig->framebuffer, kGpuColorAttachment0, rig->colour) ||
        !GpuFramebufferRenderbuffer(rig->framebuffer, kGpuDepthStencilAttachment, rig->depth))
        return Fail(why, "the render buffers cannot be attached");
    const uint32_t displays[3] = {kGpuDisplayUpper, kGpuDisplayLower, kGpuDisplayUpperRight};
    uint32_t* ids[3] = {&rig->upper, &rig->lower, &rig->upperRight};
    for (int i = 0; i < 3; ++i) {
        GpuActiveDisplay(displays[i]);
        GpuGenDisplaybuffers(1, ids[i]);
        GpuBindDisplaybuffer(*ids[i]);
        if (!GpuDisplaybufferStorage(kGpuRGB8, 240, displays[i] == kGpuDisplayLower ? 320 : 400, kGpuAreaMain))
            return Fail(why, "no display buffer");
    }
    std::vector<uint8_t> container = mkrom::BuildShaderContainer(mkrom::VertexProgramSource());
    if (!GpuShaderBinary(container.data(), uint32_t(container.size()))) return Fail(why, "the vertex programs do not build");
    rig->width = width;
    rigFramebuffer = rig->framebuffer;
    rigWidth = width;
    rig->height = height;
    GpuBindFramebuffer(kGpuFramebuffer, rig->framebuffer);
    GpuViewport(0, 0, width, height);
    GpuRunCmdlist();
    while (GpuGetError() != kGpuNoError) {
    }
    return 1;
}

void GpuRigStop()
{
    for (void* p : rigBlocks) FreeHeapMemory(p, &deviceHeap);
    rigBlocks.clear();
    rigFramebuffer = 0;
    GpuFinalize();
    ReleaseDeviceHeap();
    gHostOptions = HostOptions{};
}

void GpuWords::Reg(uint32_t reg, uint32_t value)
{
    w.push_back(GpuHeader(reg, 1));
    w.push_back(value);
}

void GpuWords::Regs(uint32_t reg, std::vector<uint32_t> values)
{
    w.push_back(GpuHeader(reg, uint32_t(values.size())));
    w.insert(w.end(), values.begin(), values.end());
}

void GpuWords::Uniform(int vector, float x, float y, float z, float wc)
{
    Regs(kGpuRegUniformVector(vector), {GpuFloatBits(wc), GpuFloatBits(z), GpuFloatBits(y), GpuFloatBits(x)});
}

void GpuWords::Matrix(int vector, const float rows[16])
{
    for (int r = 0; r < 4; ++r) Uniform(vector + r, rows[4 * r], rows[4 * r + 1], rows[4 * r + 2], rows[4 * r + 3]);
}

uint32_t GpuRigRun(const GpuWords& words)
{
    uint32_t* at = GpuCmdlistWriteAddress();
    if (!at || GpuCmdlistBytesFree() < words.w.size() * 4) return kGpuOutOfMemory;
    for (size_t i = 0; i < words.w.size(); ++i) at[i] = words.w[i];
    GpuMoveCommandbufferPointer(int32_t(words.w.size() * 4));
    GpuRunCmdlist();
    uint32_t first = GpuGetError();
    while (GpuGetError() != kGpuNoError) {
    }
    return first;
}

void* GpuRigMemory(uint32_t bytes)
{
    void* p = nullptr;
    if (!AllocateTempHeapMemory(int(bytes), &deviceHeap, &p)) return nullptr;
    rigBlocks.push_back(p);
    return p;
}

std::vector<uint8_t> GpuRigImage()
{
    std::vector<uint8_t> rgba;
    int w = 0, h = 0;
    GpuReadRenderImage(rigFramebuffer, &rgba, &w, &h);
    return rgba;
}

std::vector<uint8_t> GpuRigPixel(int x, int y)
{
    std::vector<uint8_t> image = GpuRigImage();
    size_t at = (size_t(y) * rigWidth + x) * 4;
    if (at + 4 > image.size()) return {};
    return std::vector<uint8_t>(image.begin() + long(at), image.begin() + long(at) + 4);
}
