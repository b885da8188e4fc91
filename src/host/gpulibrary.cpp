// The GL-like library calls that the renderer makes outside its direct command brackets. Each one
// is recorded into the bound command list as register words, so that it takes effect in order
// with the direct words when the list runs.
#include "host/gpuinternal.h"

static void Record(uint32_t reg, const uint32_t* values, uint32_t count, int request = 0)
{
    uint32_t words[8];
    words[0] = GpuHeader(reg, count);
    for (uint32_t i = 0; i < count; ++i) words[1 + i] = values[i];
    GpuRecordWords(words, count + 1, request);
}

static void Record1(uint32_t reg, uint32_t value, int request = 0) { Record(reg, &value, 1, request); }

static int KnownCapability(uint32_t cap)
{
    return cap == kGpuDepthTest || cap == kGpuCullFace || cap == kGpuBlend || cap == kGpuColorLogicOp ||
           cap == kGpuStencilTest;
}

static int KnownComparison(uint32_t func) { return func >= kGpuNever && func <= kGpuAlways; }

static int KnownBlendFactor(uint32_t f)
{
    return f == kGpuZero || f == kGpuOne || (f >= 0x0300 && f <= 0x0308) || (f >= 0x8001 && f <= 0x8004);
}

void GpuClearColor(float r, float g, float b, float a)
{
    const uint32_t v[4] = {GpuFloatBits(r), GpuFloatBits(g), GpuFloatBits(b), GpuFloatBits(a)};
    Record(kGpuRegClearColor, v, 4);
}

void GpuClearDepth(float depth) { Record1(kGpuRegClearDepth, GpuFloatBits(depth)); }
void GpuClearStencil(int stencil) { Record1(kGpuRegClearStencil, uint32_t(stencil)); }

void GpuClear(uint32_t mask)
{
    if (mask & ~(kGpuColorBufferBit | kGpuDepthBufferBit | kGpuStencilBufferBit)) {
        GpuSetError(kGpuInvalidValue);
        return;
    }
    Record1(kGpuRegClear, mask, 1);
}

void GpuViewport(int x, int y, int width, int height)
{
    if (width < 0 || height < 0) {
        GpuSetError(kGpuInvalidValue);
        return;
    }
    const uint32_t v[4] = {uint32_t(x), uint32_t(y), uint32_t(width), uint32_t(height)};
    Record(kGpuRegViewport, v, 4);
}

void GpuBindFramebuffer(uint32_t target, uint32_t framebuffer)
{
    if (target != kGpuFramebuffer) {
        GpuSetError(kGpuInvalidEnum);
        return;
    }
    Record1(kGpuRegFramebuffer, framebuffer);
}

void GpuEnable(uint32_t capability)
{
    if (!KnownCapability(capability)) {
        GpuSetError(kGpuInvalidEnum);
        return;
    }
    Record1(kGpuRegEnable, capability);
}

void GpuDisable(uint32_t capability)
{
    if (!KnownCapability(capability)) {
        GpuSetError(kGpuInvalidEnum);
        return;
    }
    Record1(kGpuRegDisable, capability);
}

void GpuBlendFunc(uint32_t source, uint32_t destination)
{
    if (!KnownBlendFactor(source) || !KnownBlendFactor(destination)) {
        GpuSetError(kGpuInvalidEnum);
        return;
    }
    const uint32_t v[2] = {source, destination};
    Record(kGpuRegBlendFunc, v, 2);
}

void GpuBlendEquation(uint32_t mode)
{
    // Add, subtract, reverse subtract, min, max.
    if (mode != kGpuFuncAdd && mode != 0x800A && mode != 0x800B && mode != 0x8007 && mode != 0x8008) {
        GpuSetError(kGpuInvalidEnum);
        return;
    }
    Record1(kGpuRegBlendEquation, mode);
}

void GpuDepthFunc(uint32_t func)
{
    if (!KnownComparison(func)) {
        GpuSetError(kGpuInvalidEnum);
        return;
    }
    Record1(kGpuRegDepthFunc, func);
}

void GpuFrontFace(uint32_t mode)
{
    if (mode != kGpuCw && mode != kGpuCcw) {
        GpuSetError(kGpuInvalidEnum);
        return;
    }
    Record1(kGpuRegFrontFace, mode == kGpuCw ? 1u : 0u);
}

void GpuCullFace(uint32_t mode)
{
    if (mode != kGpuFront && mode != kGpuBack && mode != 0x0408) {
        GpuSetError(kGpuInvalidEnum);
        return;
    }
    Record1(kGpuRegCullFace, mode);
}

void GpuFinish() { Record1(kGpuRegFinish, 0); }

void GpuTransferRenderImage(uint32_t displaybuffer, uint32_t antialiasMode, int offsetX, int offsetY)
{
    if (antialiasMode < kGpuAntialiasNone || antialiasMode > kGpuAntialias2x2) {
        GpuSetError(kGpuInvalidEnum);
        return;
    }
    if (offsetX < 0 || offsetY < 0) {
        GpuSetError(kGpuInvalidValue);
        return;
    }
    const uint32_t v[4] = {displaybuffer, antialiasMode, uint32_t(offsetX), uint32_t(offsetY)};
    Record(kGpuRegTransfer, v, 4, 1);
}
