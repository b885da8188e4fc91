// The direct command writer and the cached render-state setters.
#include "platform/gpucommands.h"

#include <cmath>

#include "host/gpu.h"
#include "lib/printing.h"
#include "platform/camera.h"
#include "platform/shaders.h"

uint32_t* commandStart = nullptr;
uint32_t* commandBuffer = nullptr;
uint32_t* commandLimit = nullptr;
int commandOverflow = 0;

DS3_ShaderInfo* curShader = nullptr;
uint32_t mipmapBiasFixed = 0;

int zBufferEnabled = 0;
int zWriteEnabled = 0;
int backfaceCulling = -1;
int texWrapEnabled = -1;
int frontFace = 0;
int uWrapMode = 2;
int vWrapMode = 2;

static const int kTextureUnits = 3;

// Room for `words` more words in the open bracket, or null (the command is dropped, once
// reported per bracket).
static uint32_t* Reserve(uint32_t words)
{
    if (!commandBuffer) return nullptr;
    if (uint32_t(commandLimit - commandBuffer) < words) {
        if (!commandOverflow) PrintError("GPU commands: the list is full: commands of this display dropped");
        commandOverflow = 1;
        return nullptr;
    }
    uint32_t* p = commandBuffer;
    commandBuffer += words;
    return p;
}

int DS3_WriteRegister(uint32_t reg, uint32_t value)
{
    uint32_t* p = Reserve(2);
    if (!p) return 0;
    GpuPutReg(p, reg, value);
    return 1;
}

int DS3_WriteRegisters(uint32_t reg, const uint32_t* values, uint32_t count)
{
    if (count == 0) return 1;
    while (count > 0) {
        uint32_t n = count < kGpuMaxRunWords ? count : kGpuMaxRunWords;
        uint32_t* p = Reserve(n + 1);
        if (!p) return 0;
        GpuPutRegs(p, reg, values, n);
        reg += n;
        values += n;
        count -= n;
    }
    return 1;
}

int DS3_BeginCommands()
{
    commandStart = commandBuffer = commandLimit = nullptr;
    commandOverflow = 0;
    // Library state goes into the list first; the direct words follow it.
    GpuValidateState();
    uint32_t* p = GpuCmdlistWriteAddress();
    if (!p) {
        PrintError("GPU commands: no command list to write into");
        return 0;
    }
    commandStart = commandBuffer = p;
    commandLimit = p + GpuCmdlistBytesFree() / 4;
    return RenderReset();
}

int DS3_EndCommands()
{
    if (!commandStart) return 0;
    RenderSetShader(-1, 0, 0);
    int32_t bytes = int32_t((commandBuffer - commandStart) * 4);
    int ok = GpuMoveCommandbufferPointer(bytes);
    commandStart = commandBuffer = commandLimit = nullptr;
    return ok && !commandOverflow;
}

static int WriteDepthWord(int depthTest, int depthWrite)
{
    return DS3_WriteRegister(kGpuRegDepthColorMask, GpuDepthColorMask(depthTest, kGpuCompareLessEqual, 0xF, depthWrite));
}

int RenderReset()
{
    WriteDepthWord(1, zWriteEnabled);
    WriteDepthWord(1, 1);
    zBufferEnabled = 1;
    zWriteEnabled = 1;
    mipmapBiasFixed = 0;
    RenderResetShader();
    return 1;
}

int RenderEnableZBuffer()
{
    zBufferEnabled = 1;
    WriteDepthWord(1, zWriteEnabled);
    return 1;
}

int RenderDisableZBuffer()
{
    zBufferEnabled = 0;
    WriteDepthWord(0, zWriteEnabled);
    return 1;
}

int RenderEnableZWrite()
{
    zWriteEnabled = 1;
    WriteDepthWord(zBufferEnabled, 1);
    return 1;
}

int RenderDisableZWrite()
{
    zWriteEnabled = 0;
    WriteDepthWord(zBufferEnabled, 0);
    return 1;
}

int RenderEnableOverlays()
{
    WriteDepthWord(0, 0);
    return 1;
}

int RenderEnableBackfaceCulling()
{
    if (backfaceCulling == 1) return 1;
    // Front faces wind clockwise; a mirrored view turns every triangle over.
    DS3_WriteRegister(kGpuRegCullMode, GetMirrorViewX() ? 2u : 1u);
    backfaceCulling = 1;
    return 1;
}

int RenderDisableBackfaceCulling()
{
    if (backfaceCulling == 0) return 1;
    DS3_WriteRegister(kGpuRegCullMode, 0);
    backfaceCulling = 0;
    return 1;
}

uint32_t EncodeMipmapBias(float bias)
{
    if (!std::isfinite(bias) || bias == 0.0f) return 0;
    if (bias < -16.0f) bias = -16.0f;
    if (bias > 16.0f) bias = 16.0f;
    int v = int((bias + 16.0f) * 256.0f);
    if (v < 0) v = 0;
    if (v > 8191) v = 8191;
    return uint32_t(v < 4096 ? v + 4096 : v - 4096);
}

int RenderSetMipmapBias(float bias)
{
    mipmapBiasFixed = EncodeMipmapBias(bias);
    return 1;
}

static void BindTextureUnit(int unit, const DS3_bitmap_tag* bitmap)
{
    uint32_t words[6];
    for (int i = 0; i < 6; i++) words[i] = bitmap->hardwareRegisters[i];
    words[2] = GpuTexParamsWithWrap(words[2], uint32_t(uWrapMode), uint32_t(vWrapMode));
    words[3] = GpuTexLodWithBias(words[3], mipmapBiasFixed);
    DS3_WriteRegisters(kGpuRegTexUnit(unit), words, 6);
}

int DS3_SetTextures(DS3_bitmap_tag* colour, DS3_bitmap_tag* normal, DS3_bitmap_tag* specular)
{
    DS3_bitmap_tag* maps[kTextureUnits] = {colour, normal, specular};
    uint32_t enabled = 0;
    for (int unit = 0; unit < kTextureUnits; unit++) {
        if (!maps[unit]) continue;
        BindTextureUnit(unit, maps[unit]);
        enabled |= 1u << unit;
    }
    DS3_WriteRegister(kGpuRegTexEnable, enabled);
    texWrapEnabled = uWrapMode | vWrapMode << 8;
    return 1;
}

int DS3_SetTexture(DS3_bitmap_tag* bitmap)
{
    return DS3_SetTextures(bitmap, nullptr, nullptr);
}

int DS3_SetFloatUniformArray(int reg, int count, const HLSL_point* v)
{
    if (count <= 0) return 1;
    if (reg < 0 || reg + count > kGpuUniformVectors || !v) {
        PrintError("GPU commands: uniform vectors %d to %d do not exist", reg, reg + count - 1);
        return 0;
    }
    uint32_t words[kGpuUniformVectors * 4];
    for (int i = 0; i < count; i++) {
        words[4 * i + 0] = GpuFloatBits(v[i].w);
        words[4 * i + 1] = GpuFloatBits(v[i].z);
        words[4 * i + 2] = GpuFloatBits(v[i].y);
        words[4 * i + 3] = GpuFloatBits(v[i].x);
    }
    return DS3_WriteRegisters(kGpuRegUniformVector(reg), words, uint32_t(count) * 4);
}

int DS3_SetFloatUniform(int reg, const HLSL_point* v)
{
    return DS3_SetFloatUniformArray(reg, 1, v);
}

int DS3_SetVertexBuffer(uint32_t address)
{
    return DS3_WriteRegister(kGpuRegVertexBase, address >> 3);
}

int DS3_DrawIndexedTristrip(uint32_t offset, uint32_t count)
{
    const uint32_t draw[4] = {offset | kGpuIndex16, count, kGpuPrimitiveStrip, 1};
    if (!DS3_WriteRegisters(kGpuRegIndexBuffer, draw, 4)) return 0;
    return DS3_WriteRegister(kGpuRegVertexCacheFlush, 1);
}
