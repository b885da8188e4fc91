// The executor's register file and the interpretation of command words: each write lands in its
// register; the trigger registers (clear, transfer, draw) and the library's state calls act on
// the GL side at once.
#include "host/gpuinternal.h"

static uint32_t regs[kGpuRegisterCount];

// What a write to each register does besides storing its value: act at once (the triggers and the
// library's state calls), or change which GL program a draw needs (gpuprograms.cpp's key: the
// vertex program and its outputs, the texture units' switch, the combiners, the lights). Most
// writes of a list do neither: uniforms, vertex formats, texture words.
enum : uint8_t { kActs = 1, kShapesProgram = 2 };
static uint8_t registerKind[kGpuRegisterCount];
// How many registers below each one act, and shape the program: a write's range is checked with
// two subtractions.
static uint16_t actingBelow[kGpuRegisterCount + 1];
static uint16_t shapingBelow[kGpuRegisterCount + 1];
static uint32_t keyGeneration = 1;

static void MarkRegisterKinds()
{
    static const uint32_t acting[] = {kGpuRegClear,     kGpuRegEnable,    kGpuRegDisable,
                                      kGpuRegDepthFunc, kGpuRegFrontFace, kGpuRegCullFace,
                                      kGpuRegTransfer + 3, kGpuRegDrawIndexed};
    static const uint32_t shaping[][2] = {{kGpuRegProgramEntry, kGpuRegOutputMap + 7},
                                          {kGpuRegTexEnable, kGpuRegTexEnable + 1},
                                          {kGpuRegCombiner0, kGpuRegCombiner(kGpuCombinerStages)},
                                          {kGpuRegLight0, kGpuRegLightSet + kGpuLightSetWords}};
    for (uint32_t r : acting) registerKind[r] |= kActs;
    for (const auto& range : shaping)
        for (uint32_t r = range[0]; r < range[1]; ++r) registerKind[r] |= kShapesProgram;
    for (uint32_t r = 0; r < kGpuRegisterCount; ++r) {
        actingBelow[r + 1] = uint16_t(actingBelow[r] + ((registerKind[r] & kActs) ? 1 : 0));
        shapingBelow[r + 1] = uint16_t(shapingBelow[r] + ((registerKind[r] & kShapesProgram) ? 1 : 0));
    }
}

uint32_t GpuProgramKeyGeneration() { return keyGeneration; }
const uint32_t* GpuRegisterFile() { return regs; }

// The library's culling state, which it turns into the culling register.
static int libCullEnabled = 0;
static uint32_t libCullFace = kGpuBack;

uint32_t GpuRegister(uint32_t reg) { return reg < kGpuRegisterCount ? regs[reg] : 0; }
float GpuRegisterFloat(uint32_t reg) { return GpuBitsFloat(GpuRegister(reg)); }

void GpuExecReset()
{
    if (!registerKind[kGpuRegDrawIndexed]) MarkRegisterKinds();
    ++keyGeneration;
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

// The display buffer that the next transfer in the words names, found by following the writes of
// the transfer registers up to the trigger; 0 when no transfer is ahead or the words are damaged
// on the way.
static uint32_t NextTransferTarget(const uint32_t* words, uint32_t count)
{
    uint32_t target = regs[kGpuRegTransfer];
    uint32_t i = 0;
    while (i < count) {
        uint32_t header = words[i];
        uint32_t reg = header & 0xFFFF;
        uint32_t mask = (header >> 16) & 0xF;
        uint32_t n = (header >> 20) + 1;
        if (n > count - i - 1) return 0;
        if (reg != kGpuRegNop && reg <= kGpuRegTransfer + 3 && reg + n > kGpuRegTransfer) {
            if (reg <= kGpuRegTransfer) {
                uint32_t keep = 0;
                for (int b = 0; b < 4; ++b)
                    if (!(mask & (1u << b))) keep |= 0xFFu << (8 * b);
                target = (target & keep) | (words[i + 1 + (kGpuRegTransfer - reg)] & ~keep);
            }
            if (reg + n > kGpuRegTransfer + 3) return target;
        }
        i += 1 + n;
    }
    return 0;
}

// Starts an image at these words; the display buffer it ends in is looked for only when it
// decides whether the image goes to GL.
static void BeginImage(const uint32_t* words, uint32_t count)
{
    GpuBeginImage(GpuImageTargetMatters() ? NextTransferTarget(words, count) : 0);
}

uint32_t GpuExecute(const uint32_t* words, uint32_t count)
{
    uint32_t i = 0;
    BeginImage(words, count);
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
            if (shapingBelow[reg + n] != shapingBelow[reg]) ++keyGeneration;
            if (actingBelow[reg + n] != actingBelow[reg]) {
                for (uint32_t k = 0; k < n; ++k) {
                    regs[reg + k] = (regs[reg + k] & keep) | (words[i + 1 + k] & ~keep);
                    if (registerKind[reg + k] & kActs) Written(reg + k);
                }
            } else if (keep == 0) {
                // Most writes: whole words of uniforms, vertex formats, texture words.
                if (n == 1) regs[reg] = words[i + 1];
                else std::memcpy(regs + reg, words + i + 1, n * sizeof(uint32_t));
            } else {
                for (uint32_t k = 0; k < n; ++k) regs[reg + k] = (regs[reg + k] & keep) | (words[i + 1 + k] & ~keep);
            }
        }
        i += 1 + n;
        // A transfer ends an image; the next one begins after it.
        if (reg != kGpuRegNop && reg <= kGpuRegTransfer + 3 && reg + n > kGpuRegTransfer + 3)
            BeginImage(words + i, count - i);
    }
    return i;
}
