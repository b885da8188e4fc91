// The executor's register file and the interpretation of command words: each write lands in its
// register; the trigger registers (clear, transfer, draw) and the library's state calls act on
// the GL side at once.
#include "host/gpuinternal.h"

static uint32_t regs[kGpuRegisterCount];
// The library's culling state, which it turns into the culling register.
static int libCullEnabled = 0;
static uint32_t libCullFace = kGpuBack;

uint32_t GpuRegister(uint32_t reg) { return reg < kGpuRegisterCount ? regs[reg] : 0; }
float GpuRegisterFloat(uint32_t reg) { return GpuBitsFloat(GpuRegister(reg)); }

void GpuExecReset()
{
    for (uint32_t& r : regs) r = 0;
    regs[kGpuRegDepthColorMask] = GpuDepthColorMask(0, kGpuCompareLess, 0xF, 1);
    regs[kGpuRegDepthMap] = GpuFloatBits(-1.0f);
    regs[kGpuRegDepthMap + 1] = GpuFloatBits(0.0f);
    regs[kGpuRegClearDepth] = GpuFloatBits(1.0f);
    regs[kGpuRegBlendFunc] = kGpuOne;
    regs[kGpuRegBlendFunc + 1] = kGpuZero;
    regs[kGpuRegBlendEquation] = kGpuFuncAdd;
    regs[kGpuRegCullFace] = kGpuBack;
    for (int s = 0; s < kGpuCombinerStages; ++s) {
        // Every stage passes the previous result through until it is programmed.
        regs[kGpuRegCombiner(s) + kGpuCombinerSources] =
            GpuCombinerSources(kGpuSourcePrevious, kGpuSourcePrevious, kGpuSourcePrevious, kGpuSourcePrevious,
                               kGpuSourcePrevious, kGpuSourcePrevious);
    }
    for (uint32_t i = 0; i < 7; ++i) regs[kGpuRegOutputMap + i] = kGpuOutEmptyRegister;
    libCullEnabled = 0;
    libCullFace = kGpuBack;
}

static uint32_t CompareCode(uint32_t glFunc)
{
    switch (glFunc) {
    case kGpuNever: return kGpuCompareNever;
    case kGpuLess: return kGpuCompareLess;
    case kGpuEqual: return kGpuCompareEqual;
    case kGpuLequal: return kGpuCompareLessEqual;
    case kGpuGreater: return kGpuCompareGreater;
    case kGpuNotequal: return kGpuCompareNotEqual;
    case kGpuGequal: return kGpuCompareGreaterEqual;
    default: return kGpuCompareAlways;
    }
}

// The culling register from the library's culling state: which window winding is culled depends
// on the face named and on which winding is the front.
static void UpdateLibraryCulling()
{
    if (!libCullEnabled) {
        regs[kGpuRegCullMode] = 0;
        return;
    }
    int frontIsCw = regs[kGpuRegFrontFace] != 0;
    if (libCullFace == kGpuBack) regs[kGpuRegCullMode] = frontIsCw ? 1 : 2;
    else if (libCullFace == kGpuFront) regs[kGpuRegCullMode] = frontIsCw ? 2 : 1;
    else regs[kGpuRegCullMode] = 3;
}

static void SetCapability(uint32_t cap, int on)
{
    if (cap == kGpuDepthTest) {
        regs[kGpuRegDepthColorMask] = (regs[kGpuRegDepthColorMask] & ~1u) | (on ? 1u : 0u);
    } else if (cap == kGpuCullFace) {
        libCullEnabled = on;
        UpdateLibraryCulling();
    } else if (cap == kGpuBlend) {
        regs[kGpuRegBlendEnable] = on ? 1 : 0;
    }
}

// The side effects of a register that was just written.
static void Written(uint32_t reg)
{
    switch (reg) {
    case kGpuRegClear: GpuExecClear(regs[reg]); break;
    case kGpuRegEnable: SetCapability(regs[reg], 1); break;
    case kGpuRegDisable: SetCapability(regs[reg], 0); break;
    case kGpuRegDepthFunc:
        regs[kGpuRegDepthColorMask] = (regs[kGpuRegDepthColorMask] & ~0x70u) | (CompareCode(regs[reg]) << 4);
        break;
    case kGpuRegFrontFace:
    case kGpuRegCullFace:
        libCullFace = regs[kGpuRegCullFace];
        if (libCullEnabled) UpdateLibraryCulling();
        break;
    case kGpuRegTransfer + 3:
        GpuExecTransfer(regs[kGpuRegTransfer], regs[kGpuRegTransfer + 1], int(regs[kGpuRegTransfer + 2]),
                        int(regs[kGpuRegTransfer + 3]));
        break;
    case kGpuRegDrawIndexed: GpuExecDraw(); break;
    default: break;
    }
}

uint32_t GpuExecute(const uint32_t* words, uint32_t count)
{
    uint32_t i = 0;
    while (i < count) {
        uint32_t header = words[i];
        uint32_t reg = header & 0xFFFF;
        uint32_t mask = (header >> 16) & 0xF;
        uint32_t n = (header >> 20) + 1;
        if (n > count - i - 1 || (reg != kGpuRegNop && reg + n > kGpuRegisterCount)) {
            GpuSetError(kGpuInvalidOperation);
            return i;
        }
        if (reg != kGpuRegNop) {
            uint32_t keep = 0;
            for (int b = 0; b < 4; ++b)
                if (!(mask & (1u << b))) keep |= 0xFFu << (8 * b);
            for (uint32_t k = 0; k < n; ++k) {
                regs[reg + k] = (regs[reg + k] & keep) | (words[i + 1 + k] & ~keep);
                Written(reg + k);
            }
        }
        i += 1 + n;
    }
    return i;
}
