// The host's GPU: the console's graphics processor as the platform layer sees it, carried out on
// the PC's OpenGL 3.3.
//
// The platform layer records everything it wants drawn into command lists held in arena memory:
// register writes in the word format below, written straight into the list ("direct" words), and
// calls of the small GL-like library further down, which append the same kind of words. Nothing
// is drawn while a list is recorded; running a list executes its words in order on the real GPU
// (synchronously: the run returns when the work is done). Vertex, index and texel data are read
// from the arena at the physical addresses that the words carry, when the list runs.
//
// Drawing goes to a render buffer (colour + depth/stencil) bound through a frame buffer; a transfer
// copies the render image into a display buffer, filtered down by the antialias mode; a swap makes
// the bound display buffer of each display the image the screen shows. The window shows the upper
// screen above the lower one; headless, nothing is shown but every frame is rendered all the same.
//
// Conventions of this GPU:
// - Physical addresses are arena offsets (host/arena.h): GpuPhysicalAddress(p) == ArenaOffset(p).
// - Render images are portrait, as the displays store them: the upper screen's buffers are 240
//   wide and 400 high, the lower screen's 240 x 320, in GL's window orientation (row 0 at the
//   bottom). The landscape screen pixel (sx, sy) (sx to the right, sy down from the top edge) is
//   the display-buffer pixel at column sy, row sx. So a landscape clip position (X, Y) (X right,
//   Y up) must reach the GPU as (x, y) = (-Y, X): a quarter turn counter-clockwise.
// - Clip space: w is the distance ahead; z runs from 0 at the near plane to -w at the far plane.
//   The depth map (kGpuRegDepthMap) turns z / w into the depth buffer's 0..1; by default depth =
//   -z / w, so near is 0 and far is 1. Fragments outside 0..1 are clipped.
// - Culling goes by the winding of a triangle as it lands in the render image (GL window
//   coordinates, y up).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Memory areas, allocation hooks

enum : uint32_t {
    kGpuAreaMain = 0x10000,   // device memory
    kGpuAreaVramA = 0x20000,  // video memory bank A
    kGpuAreaVramB = 0x30000,  // video memory bank B
};

// What an allocation is for (the hooks' "aim" argument).
enum : uint32_t {
    kGpuAimCommandBuffer = 0x101,
    kGpuAimCommandRequests = 0x102,
    kGpuAimDisplayBuffer = 0x103,
    kGpuAimRenderBuffer = 0x104,
    kGpuAimTexture = 0x105,
};

// The allocator hooks that the GPU takes its memory through: the address of size bytes in the
// area, or null; and the release of such a block. id names the object the block belongs to.
typedef void* (*GpuAllocator)(uint32_t area, uint32_t aim, uint32_t id, int32_t size);
typedef void (*GpuDeallocator)(uint32_t area, uint32_t aim, uint32_t id, void* address);

// Brings the GPU up: the window (or, headless, SDL's offscreen driver), the GL context and the
// executor. 1 on success; 0 with a message (PrintError) when no GL 3.3 context can be had. A
// second call without GpuFinalize fails.
int GpuInitialize(GpuAllocator allocate, GpuDeallocator release);
// Releases every list, buffer and the context; the GPU can be initialised again afterwards.
void GpuFinalize();
int GpuIsInitialized();
// 1 while the game's window is on a screen: 0 headless, before the GPU starts, and where no window
// could be opened and the game draws offscreen (no display, or SDL's offscreen driver).
int GpuWindowShown();
// Whether frames drawn offscreen keep the window's pace, 33 ms apart: the program's runs on the real
// clock (without --headless) where no window could be opened. Off by default, so that headless runs
// and tests present their frames as fast as they are drawn.
void GpuPaceOffscreenFrames(int paced);

// The GPU's address of arena memory (its Ptr32 offset); 0 for null.
uint32_t GpuPhysicalAddress(const void* p);
// Start and size of a video-memory bank (kGpuAreaVramA or kGpuAreaVramB); null / 0 otherwise.
uint8_t* GpuVramStart(uint32_t area);
uint32_t GpuVramSize(uint32_t area);

// ---------------------------------------------------------------------------------------------
// Errors, in the GL library's codes. Every call below that fails records its error; GpuGetError
// returns the oldest unread one and clears it.

enum : uint32_t {
    kGpuNoError = 0,
    kGpuInvalidEnum = 0x0500,
    kGpuInvalidValue = 0x0501,
    kGpuInvalidOperation = 0x0502,
    kGpuOutOfMemory = 0x0505,
};
uint32_t GpuGetError();

// ---------------------------------------------------------------------------------------------
// Command lists

void GpuGenCmdlists(int count, uint32_t* ids);
void GpuDeleteCmdlists(int count, const uint32_t* ids);
// Makes a list the one that the calls below record into and act on (0: none).
void GpuBindCmdlist(uint32_t id);
uint32_t GpuBoundCmdlist();
// Gives the bound list bufferSize bytes of command buffer and room for requestCount requests
// (clears, transfers, splits), both taken through the allocator hooks from main memory.
int GpuCmdlistStorage(uint32_t bufferSize, uint32_t requestCount);
// Accepted and ignored: the console's command-list parameters have no meaning here.
void GpuSetCmdlistParameteri(uint32_t pname, uint32_t param);
// Where the next direct word goes in the bound list (null without a list or storage), and the
// bytes left from there. Direct words count once GpuMoveCommandbufferPointer says how many bytes
// were written; bytes beyond the storage are refused (kGpuOutOfMemory) and nothing is counted.
uint32_t* GpuCmdlistWriteAddress();
uint32_t GpuCmdlistBytesFree();
int GpuMoveCommandbufferPointer(int32_t bytes);
// Lets pending library state reach the list before direct words follow. The library here records
// its calls as they are made, so there is never anything pending; kept for the bracket's order.
void GpuValidateState();
// Closes the words recorded so far into a batch that the next run executes.
void GpuSplitDrawCmdlist();
// Executes every word of the bound list that has not run yet, then calls the completion callback.
void GpuRunCmdlist();
// Waits until the bound list has finished (runs are synchronous, so it returns at once).
void GpuWaitCmdlistDone();
int GpuCmdlistIsRunning();
void GpuStopCmdlist();
// Empties the bound list: its words and requests are forgotten.
void GpuClearCmdlist();
// The completion callback: called with the list's id after each run, when enabled (any non-zero
// GpuEnableCmdlistCallback argument enables it for every point).
typedef void (*GpuCmdlistCallback)(int id);
void GpuSetCmdlistCallback(GpuCmdlistCallback callback);
void GpuEnableCmdlistCallback(int points);
// Words recorded into the bound list so far (for tests and diagnostics).
uint32_t GpuCmdlistUsedBytes();
uint32_t GpuCmdlistUsedRequests();

// ---------------------------------------------------------------------------------------------
// The word format. A command is a header word followed by its value words:
//   header bits 0-15: first register; bits 16-19: byte-enable mask (bit i keeps byte i of the new
//   value; 0xF writes the whole word); bits 20-31: number of value words - 1 (1 to 4096 values).
// The values go to consecutive registers from the first. A header whose register is kGpuRegNop
// skips its values.

constexpr uint32_t kGpuMaxRunWords = 4096;

inline uint32_t GpuHeader(uint32_t reg, uint32_t count, uint32_t mask = 0xF)
{
    return (reg & 0xFFFF) | ((mask & 0xF) << 16) | (((count - 1) & 0xFFF) << 20);
}

// Writes one register at p; returns the next free word.
inline uint32_t* GpuPutReg(uint32_t* p, uint32_t reg, uint32_t value, uint32_t mask = 0xF)
{
    p[0] = GpuHeader(reg, 1, mask);
    p[1] = value;
    return p + 2;
}

// Writes count (1..4096) consecutive registers from reg.
inline uint32_t* GpuPutRegs(uint32_t* p, uint32_t reg, const uint32_t* values, uint32_t count)
{
    p[0] = GpuHeader(reg, count);
    std::memcpy(p + 1, values, count * sizeof(uint32_t));
    return p + 1 + count;
}

inline uint32_t GpuFloatBits(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}

inline float GpuBitsFloat(uint32_t u)
{
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}

// ---------------------------------------------------------------------------------------------
// The register map

enum : uint32_t {
    kGpuRegNop = 0x0000,

    // Library state (written by the library calls below; direct words may write them too).
    kGpuRegClearColor = 0x0010,    // 4 floats r, g, b, a
    kGpuRegClearDepth = 0x0014,    // float
    kGpuRegClearStencil = 0x0015,  // integer
    kGpuRegClear = 0x0016,         // writing it clears the bound frame buffer: kGpuColorBufferBit...
    kGpuRegViewport = 0x0018,      // 4 integers x, y, width, height
    kGpuRegFramebuffer = 0x001C,   // frame buffer id (0: none)
    kGpuRegEnable = 0x001D,        // writing a capability (kGpuDepthTest...) turns it on
    kGpuRegDisable = 0x001E,       // ... and off
    kGpuRegBlendFunc = 0x0020,     // 2 words: source and destination factors (GL codes)
    kGpuRegBlendEquation = 0x0022, // GL code (kGpuFuncAdd...)
    kGpuRegTransfer = 0x0024,      // 4 words: display buffer id, antialias mode, offset x, offset y;
                                   // writing the last one transfers the render image
    kGpuRegFinish = 0x0028,        // marker only
    kGpuRegDepthFunc = 0x0029,     // GL comparison code: sets the depth word's comparison
    kGpuRegCullFace = 0x002A,      // GL face code (kGpuBack...): with kGpuCullFace and the front
                                   // face, sets kGpuRegCullMode

    // Depth and colour mask word: kGpuDepthColorMask().
    kGpuRegDepthColorMask = 0x0100,
    // Culling: 0 off, 1 cull counter-clockwise triangles, 2 cull clockwise ones (window winding).
    kGpuRegCullMode = 0x0101,
    // Front face: 0 counter-clockwise triangles face the viewer, 1 clockwise. With the library's
    // culling on (kGpuCullFace), it decides which winding kGpuRegCullFace's face names.
    kGpuRegFrontFace = 0x0102,
    // Depth map: 2 floats scale, offset; depth = scale * z / w + offset (default -1, 0).
    kGpuRegDepthMap = 0x0104,
    // Blending: 1 on, 0 off (the library's kGpuBlend capability writes it).
    kGpuRegBlendEnable = 0x0106,

    // Vertex input: base address (physical address / 8; 16-byte aligned), the vertex stride in
    // bytes, the attribute count (0..12) and one format word per attribute (kGpuAttribFormat).
    // Attribute k feeds input register kGpuRegAttribInputMap's k-th 4-bit field (two words: fields
    // 0-7, then 8-11).
    kGpuRegVertexBase = 0x0110,
    kGpuRegVertexStride = 0x0111,
    kGpuRegAttribCount = 0x0112,
    kGpuRegAttribFormat = 0x0120,    // + k, k = 0..11
    kGpuRegAttribInputMap = 0x012C,  // 2 words

    // Vertex program: the entry point (a program of the shader binary), the number and mask of
    // output registers, and per output register 4 one-byte semantic codes (kGpuOut..., byte 0 is
    // the register's x).
    kGpuRegProgramEntry = 0x0130,
    kGpuRegOutputCount = 0x0131,
    kGpuRegOutputMask = 0x0132,
    kGpuRegOutputMap = 0x0138,  // + r, r = 0..6

    // Texture units 0..2: the bitmap's six hardware words (kGpuTexWord...) from
    // kGpuRegTexUnit(unit); kGpuRegTexEnable bits 0-2 enable the units.
    kGpuRegTexUnit0 = 0x0140,
    kGpuRegTexEnable = 0x0160,

    // Float uniform vectors 0..95: vector v at kGpuRegUniform + 4 v, components in the order
    // w, z, y, x. A run of 4 n words writes n consecutive vectors.
    kGpuRegUniform = 0x0200,

    // Combiner stages 0..5 from kGpuRegCombiner(stage): sources, operands, combine, scale,
    // constant colour (kGpuCombiner...).
    kGpuRegCombiner0 = 0x0400,

    // Fragment lighting.
    kGpuRegLight0 = 0x0440,      // light sources 0..3: kGpuRegLight(i), 12 words (kGpuLight...)
    kGpuRegLightSet = 0x0480,    // the light set's 10 words (kGpuLightSet...)
    kGpuRegLutD0 = 0x0500,       // 256 entries of table D0 (kGpuLutEntry)
    kGpuRegLutD1 = 0x0600,       // 256 entries of table D1

    // Drawing: index offset in bytes after the vertex base (bit 31: 16-bit indices, else 8-bit),
    // index count, primitive (kGpuPrimitive...), then writing kGpuRegDrawIndexed draws.
    kGpuRegIndexBuffer = 0x0700,
    kGpuRegIndexCount = 0x0701,
    kGpuRegPrimitive = 0x0702,
    kGpuRegDrawIndexed = 0x0703,
    kGpuRegVertexCacheFlush = 0x0704,

    kGpuRegisterCount = 0x0800,
};

constexpr uint32_t kGpuRegTexUnit(int unit) { return kGpuRegTexUnit0 + 8u * uint32_t(unit); }
constexpr uint32_t kGpuRegCombiner(int stage) { return kGpuRegCombiner0 + 8u * uint32_t(stage); }
constexpr uint32_t kGpuRegLight(int light) { return kGpuRegLight0 + 16u * uint32_t(light); }
constexpr uint32_t kGpuRegUniformVector(int v) { return kGpuRegUniform + 4u * uint32_t(v); }
constexpr int kGpuUniformVectors = 96;

// Depth and colour mask word: bit 0 depth test on; bits 4-6 the comparison (kGpuCompare...);
// bits 8-11 colour writes of red, green, blue, alpha; bit 12 depth writes on.
enum : uint32_t {
    kGpuCompareNever = 0,
    kGpuCompareAlways = 1,
    kGpuCompareEqual = 2,
    kGpuCompareNotEqual = 3,
    kGpuCompareLess = 4,
    kGpuCompareLessEqual = 5,
    kGpuCompareGreater = 6,
    kGpuCompareGreaterEqual = 7,
};
inline uint32_t GpuDepthColorMask(int depthTest, uint32_t compare, uint32_t colorWrites, int depthWrite)
{
    return (depthTest ? 1u : 0u) | ((compare & 7) << 4) | ((colorWrites & 0xF) << 8) | (depthWrite ? 0x1000u : 0u);
}

// Attribute format word: bits 0-7 byte offset inside the vertex; bits 8-10 components (1..4);
// bits 12-13 type. Bytes arrive as their values (0..255), not scaled to 0..1.
enum : uint32_t { kGpuTypeFloat = 0, kGpuTypeUByte = 1, kGpuTypeByte = 2, kGpuTypeShort = 3 };
inline uint32_t GpuAttribFormat(uint32_t offset, uint32_t components, uint32_t type)
{
    return (offset & 0xFF) | ((components & 7) << 8) | ((type & 3) << 12);
}

// Output semantic codes of the vertex programs: position 0-3, normal quaternion 4-7, colour
// 8-11, texture coordinate 0 12-13 (its w 16), texture coordinate 1 14-15, texture coordinate 2
// 22-23, view vector 18-20; 0x1F an empty component. What no output register delivers reaches
// the fragment stage as: colour white, quaternion identity, view vector (0, 0, 1), texture
// coordinates 0. Texture units 1 and 2 read coordinates 1 and 2 when they are output, else
// coordinate 0.
enum : uint32_t {
    kGpuOutPositionX = 0x00,
    kGpuOutQuaternionX = 0x04,
    kGpuOutColorR = 0x08,
    kGpuOutTexcoord0U = 0x0C,
    kGpuOutTexcoord1U = 0x0E,
    kGpuOutTexcoord0W = 0x10,
    kGpuOutViewX = 0x12,
    kGpuOutTexcoord2U = 0x16,
    kGpuOutEmpty = 0x1F,
};
constexpr uint32_t kGpuOutEmptyRegister = 0x1F1F1F1F;

// Texture unit words, as a bitmap record keeps them:
//   [0] border colour (r | g << 8 | b << 16 | a << 24)
//   [1] physicalWidth << 16 | physicalHeight
//   [2] parameters: bit 1 magnify linear, bit 2 minify linear, bit 5 blend between mip levels;
//       bits 8-9 wrap of u, bits 12-13 wrap of v (kGpuWrap...)
//   [3] mip levels << 16 | level-of-detail bias (bits 0-12: 1/256 units, 13-bit two's complement)
//   [4] physical address of the texels / 8
//   [5] the texel format: pixelFormat - 1
enum : uint32_t { kGpuWrapClampToEdge = 0, kGpuWrapClampToBorder = 1, kGpuWrapRepeat = 2, kGpuWrapMirror = 3 };
constexpr uint32_t kGpuTexParamsNormal = 6;        // linear filtering
constexpr uint32_t kGpuTexParamsAlternative = 38;  // linear filtering blended between mip levels
inline uint32_t GpuTexParamsWithWrap(uint32_t params, uint32_t wrapU, uint32_t wrapV)
{
    return (params & ~0x3300u) | ((wrapU & 3) << 8) | ((wrapV & 3) << 12);
}
inline uint32_t GpuTexLodWithBias(uint32_t lodWord, uint32_t bias13)
{
    return (lodWord & ~0x1FFFu) | (bias13 & 0x1FFF);
}

// Texel formats (a bitmap's pixelFormat code). Texels are stored row by row, row 0 the top row
// of the image, rows packed without padding (a row of a 4-bit format rounds up to whole bytes,
// the first texel in the low half of a byte). A mip chain follows level 0 directly: level k is
// max(1, w >> k) x max(1, h >> k), in the same layout. Colours are red, green, blue, alpha in
// byte order; packed 16-bit formats are little-endian words with red in the high bits.
enum : int {
    kPixelRGBA8 = 1,     // 32 bits: r, g, b, a
    kPixelRGB8 = 2,      // 24 bits: r, g, b
    kPixelRGBA5551 = 3,  // 16 bits: r5 g5 b5 a1
    kPixelRGB565 = 4,    // 16 bits: r5 g6 b5
    kPixelRGBA4 = 5,     // 16 bits: r4 g4 b4 a4
    kPixelLA8 = 6,       // 16 bits: luminance byte, alpha byte
    kPixelHiLo8 = 7,     // 16 bits: two bytes x, y (normal maps: z = sqrt(1 - x^2 - y^2))
    kPixelL8 = 8,        // 8 bits: luminance, opaque
    kPixelA8 = 9,        // 8 bits: alpha, white
    kPixelLA4 = 10,      // 8 bits: luminance high nibble, alpha low nibble
    kPixelL4 = 11,       // 4 bits: luminance
    kPixelA4 = 12,       // 4 bits: alpha
    kPixelRGBA8Mip = 13, // 32 bits as kPixelRGBA8; its textures blend between mip levels
    kPixelFormatCount = 13,
};
// Bits per texel of a format; 0 for an unknown code.
int GpuTexelBits(int pixelFormat);
// Bytes of one level (width x height) / of a whole chain of levels (1 or more); 0 for an unknown
// format, a size of 0 or a level count that the size cannot have (more levels than halvings + 1).
uint32_t GpuTextureLevelBytes(int pixelFormat, int width, int height);
uint32_t GpuTextureByteSize(int pixelFormat, int width, int height, int levels);

// Combiner stage words:
//   sources: RGB sources at bits 0, 4, 8, alpha sources at 16, 20, 24 (kGpuSource...)
//   operands: RGB operands at bits 0, 4, 8 (kGpuOperandRgb...), alpha at 12, 16, 20
//   (kGpuOperandAlpha...)
//   combine: RGB at bits 0-3, alpha at 16-19 (kGpuCombine...)
//   scale: RGB at bits 0-1, alpha at 16-17 (0 x1, 1 x2, 2 x4)
//   constant colour: r | g << 8 | b << 16 | a << 24
enum : uint32_t {
    kGpuSourceVertexColor = 0,
    kGpuSourceDiffuseLight = 1,
    kGpuSourceSpecularLight = 2,
    kGpuSourceTexture0 = 3,
    kGpuSourceTexture1 = 4,
    kGpuSourceTexture2 = 5,
    kGpuSourceConstant = 14,
    kGpuSourcePrevious = 15,
};
enum : uint32_t {
    kGpuOperandRgbColor = 0,
    kGpuOperandRgbOneMinusColor = 1,
    kGpuOperandRgbAlpha = 2,
    kGpuOperandRgbOneMinusAlpha = 3,
    kGpuOperandRgbRed = 4,
    kGpuOperandRgbGreen = 8,
    kGpuOperandRgbBlue = 12,
};
enum : uint32_t {
    kGpuOperandAlphaAlpha = 0,
    kGpuOperandAlphaOneMinusAlpha = 1,
    kGpuOperandAlphaRed = 2,
    kGpuOperandAlphaGreen = 4,
    kGpuOperandAlphaBlue = 6,
};
enum : uint32_t {
    kGpuCombineReplace = 0,      // a
    kGpuCombineModulate = 1,     // a x b
    kGpuCombineAdd = 2,          // a + b
    kGpuCombineAddSigned = 3,    // a + b - 0.5
    kGpuCombineInterpolate = 4,  // a x c + b x (1 - c)
    kGpuCombineSubtract = 5,     // a - b
    kGpuCombineDot3Rgb = 6,      // 4 x ((a - 0.5) . (b - 0.5))
    kGpuCombineMultiplyAdd = 8,  // a x b + c
    kGpuCombineAddMultiply = 9,  // min(a + b, 1) x c
};
inline uint32_t GpuCombinerSources(uint32_t r0, uint32_t r1, uint32_t r2, uint32_t a0, uint32_t a1, uint32_t a2)
{
    return r0 | r1 << 4 | r2 << 8 | a0 << 16 | a1 << 20 | a2 << 24;
}
inline uint32_t GpuCombinerOperands(uint32_t r0, uint32_t r1, uint32_t r2, uint32_t a0, uint32_t a1, uint32_t a2)
{
    return r0 | r1 << 4 | r2 << 8 | a0 << 12 | a1 << 16 | a2 << 20;
}
inline uint32_t GpuRgba8(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    return (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16 | (a & 0xFF) << 24;
}
enum { kGpuCombinerStages = 6 };
// Offsets of a stage's words from kGpuRegCombiner(stage).
enum : uint32_t {
    kGpuCombinerSources = 0,
    kGpuCombinerOperands = 1,
    kGpuCombinerCombine = 2,
    kGpuCombinerScale = 3,
    kGpuCombinerConstant = 4,
};

// Light source words, offsets from kGpuRegLight(i):
//   colours (r | g << 8 | b << 16): specular 0, specular 1, diffuse, ambient
//   position (or, for a directional light, the direction towards the light) x, y, z as floats,
//   in view space
//   config: bit 0 directional, bit 1 two-sided diffuse, bit 2 geometric factor 0, bit 3
//   geometric factor 1 (both: the specular terms are scaled by the geometric factor)
enum : uint32_t {
    kGpuLightSpecular0 = 0,
    kGpuLightSpecular1 = 1,
    kGpuLightDiffuse = 2,
    kGpuLightAmbient = 3,
    kGpuLightPosition = 4,  // 3 floats
    kGpuLightConfig = 8,
    kGpuLightWords = 12,
};
enum : uint32_t { kGpuLightDirectional = 1, kGpuLightTwoSided = 2, kGpuLightGeomFactor0 = 4, kGpuLightGeomFactor1 = 8 };

// Light set words, offsets from kGpuRegLightSet:
//   global ambient (r | g << 8 | b << 16)
//   enabled lights: bits 0-3 (no light enabled: lighting is off; the light outputs are 0 with
//   alpha 1)
//   config: bits 0-1 bump mode (0 none, 1 normal map), bits 4-5 the bump map's texture unit,
//   bit 8 renormalise the bump normal (z from x and y), bit 9 clamp highlights (no specular on
//   the far side of a light), bit 12 table D0 on, bit 13 table D1 on
//   table inputs: D0 at bits 0-3, D1 at bits 4-7 (kGpuLutInput...); bit 16 D0 absolute, bit 17
//   D1 absolute; D0 scale at bits 20-22, D1 scale at bits 24-26 (0 x1, 1 x2, 2 x4, 3 x8, 6 x0.25,
//   7 x0.5)
enum : uint32_t {
    kGpuLightSetAmbient = 0,
    kGpuLightSetEnabled = 1,
    kGpuLightSetConfig = 2,
    kGpuLightSetLutInputs = 3,
    kGpuLightSetWords = 10,
};
enum : uint32_t {
    kGpuLightBumpNormalMap = 1,
    kGpuLightBumpRenormalize = 0x100,
    kGpuLightClampHighlights = 0x200,
    kGpuLightLutD0 = 0x1000,
    kGpuLightLutD1 = 0x2000,
};
enum : uint32_t {
    kGpuLutInputNH = 0,  // normal . half-vector
    kGpuLutInputVH = 1,  // view . half-vector
    kGpuLutInputNV = 2,  // normal . view
    kGpuLutInputLN = 3,  // light . normal
};
// A table entry: the value (0..1) x 4096 in bits 0-11 (4095 at most), and the step to the next
// entry x 2048 in bits 12-23: magnitude in 12-22, sign in bit 23. An input x in 0..1 reads entry
// i = floor(x x 256) (at most 255) and adds the step times the fraction; a signed input (not
// absolute) maps -1..1 the same way after (x + 1) / 2.
inline uint32_t GpuLutEntry(float value, float step)
{
    uint32_t v = 0;
    if (value > 0.0f && value == value) v = value * 4096.0f >= 4095.0f ? 4095u : uint32_t(value * 4096.0f);
    float m = step < 0 ? -step : step;
    uint32_t d = 0;
    if (m > 0.0f && m == m) d = m * 2048.0f >= 2047.0f ? 2047u : uint32_t(m * 2048.0f);
    return v | d << 12 | (step < 0 && d ? 1u << 23 : 0u);
}

enum : uint32_t { kGpuPrimitiveTriangles = 0, kGpuPrimitiveStrip = 1, kGpuPrimitiveFan = 2 };
constexpr uint32_t kGpuIndex16 = 0x80000000u;

// ---------------------------------------------------------------------------------------------
// The GL-like library. Calls marked "recorded" append words to the bound list and take effect
// when it runs; the others act at once. Codes are the GL library's.

enum : uint32_t {
    kGpuColorBufferBit = 0x4000,
    kGpuDepthBufferBit = 0x0100,
    kGpuStencilBufferBit = 0x0400,
    kGpuDepthTest = 0x0B71,
    kGpuCullFace = 0x0B44,
    kGpuBlend = 0x0BE2,
    kGpuColorLogicOp = 0x0BF2,
    kGpuStencilTest = 0x0B90,
    kGpuCw = 0x0900,
    kGpuCcw = 0x0901,
    kGpuFront = 0x0404,
    kGpuBack = 0x0405,
    kGpuNever = 0x0200,
    kGpuLess = 0x0201,
    kGpuEqual = 0x0202,
    kGpuLequal = 0x0203,
    kGpuGreater = 0x0204,
    kGpuNotequal = 0x0205,
    kGpuGequal = 0x0206,
    kGpuAlways = 0x0207,
    kGpuZero = 0,
    kGpuOne = 1,
    kGpuSrcAlpha = 0x0302,
    kGpuOneMinusSrcAlpha = 0x0303,
    kGpuFuncAdd = 0x8006,
    kGpuFramebuffer = 0x8D40,
    kGpuColorAttachment0 = 0x8CE0,
    kGpuDepthStencilAttachment = 0x821A,
    kGpuRGBA8 = 0x8058,
    kGpuRGB8 = 0x8051,
    kGpuDepth24Stencil8 = 0x88F0,
};

// Recorded.
void GpuClearColor(float r, float g, float b, float a);
void GpuClearDepth(float depth);
void GpuClearStencil(int stencil);
void GpuClear(uint32_t mask);
void GpuViewport(int x, int y, int width, int height);
void GpuBindFramebuffer(uint32_t target, uint32_t framebuffer);
void GpuEnable(uint32_t capability);
void GpuDisable(uint32_t capability);
void GpuBlendFunc(uint32_t source, uint32_t destination);
void GpuBlendEquation(uint32_t mode);
void GpuDepthFunc(uint32_t func);
void GpuFrontFace(uint32_t mode);
void GpuCullFace(uint32_t mode);
// Waits for the GPU; recorded as a marker (lists run whole, so there is nothing to wait for).
void GpuFinish();

// Frame buffers and render buffers (at once). Storage: format kGpuRGBA8 or kGpuDepth24Stencil8,
// in memory area kGpuAreaVramA / kGpuAreaVramB / kGpuAreaMain (taken through the hooks).
void GpuGenFramebuffers(int count, uint32_t* ids);
void GpuDeleteFramebuffers(int count, const uint32_t* ids);
void GpuGenRenderbuffers(int count, uint32_t* ids);
void GpuDeleteRenderbuffers(int count, const uint32_t* ids);
void GpuBindRenderbuffer(uint32_t renderbuffer);
int GpuRenderbufferStorage(uint32_t format, uint32_t area, int width, int height);
// Attaches a render buffer to a frame buffer (attachment kGpuColorAttachment0 or
// kGpuDepthStencilAttachment); 0 refuses it.
int GpuFramebufferRenderbuffer(uint32_t framebuffer, uint32_t attachment, uint32_t renderbuffer);

// ---------------------------------------------------------------------------------------------
// Displays

enum : uint32_t {
    kGpuDisplayUpper = 0x400,       // upper screen, left eye (the only upper image in mono)
    kGpuDisplayLower = 0x401,
    kGpuDisplayBoth = 0x402,        // swaps and vertical-sync waits of both screens
    kGpuDisplayUpperRight = 0x410,  // upper screen, right eye
    kGpuLcdMono = 0x700,
    kGpuLcdStereo = 0x702,
    kGpuAntialiasNone = 0x500,     // render image 1:1
    kGpuAntialias2x1 = 0x501,      // twice as wide (portrait width), averaged in pairs
    kGpuAntialias2x2 = 0x502,      // twice both ways, averaged in blocks of four
};

// Display buffers (at once). GpuActiveDisplay chooses the display that the buffer calls act on.
void GpuActiveDisplay(uint32_t display);
void GpuGenDisplaybuffers(int count, uint32_t* ids);
void GpuDeleteDisplaybuffers(int count, const uint32_t* ids);
// Binds a display buffer to the active display: the buffer that the next swap shows there.
void GpuBindDisplaybuffer(uint32_t id);
// Storage of the bound display buffer: format kGpuRGB8, portrait size (240 x 400 or 240 x 320),
// memory area; taken through the hooks.
int GpuDisplaybufferStorage(uint32_t format, int width, int height, uint32_t area);
// The physical address of a display buffer's storage (0: none).
uint32_t GpuDisplaybufferAddress(uint32_t id);
// Where the active display's image sits on its screen; only (0, 0) is supported.
void GpuDisplayEnv(int x, int y);

// Recorded: transfers the colour of the bound frame buffer at run time into a display buffer,
// filtered down by the antialias mode: the buffer from the offset to its far corner is filled from
// the render image's origin (the render image must hold that area times the mode's factors).
void GpuTransferRenderImage(uint32_t displaybuffer, uint32_t antialiasMode, int offsetX, int offsetY);

// Swaps (at once): display 0x400 (both eyes of the upper screen), 0x401 or 0x402 (all) shows the
// buffer bound to it. The window presents the new images at the next vertical sync; the frames
// named by --screenshot are written then.
int GpuSwapBuffers(uint32_t display);
// LCD mode kGpuLcdMono or kGpuLcdStereo; 0 for anything else.
int GpuSetDisplayMode(uint32_t mode);
uint32_t GpuDisplayMode();
// Waits for the vertical sync of a display (0x400, 0x401 or 0x402): presents the shown images in
// the window and calls the vertical-sync callback of that display, when one is set. Headless
// there is no wait. 0 for another display.
typedef void (*GpuVsyncCallback)(uint32_t display);
int GpuWaitVSync(uint32_t display);
void GpuSetVSyncCallback(uint32_t display, GpuVsyncCallback callback);
void GpuStartLcdDisplay();

// ---------------------------------------------------------------------------------------------
// The shader binary (resource 10): our own container.
//
//   word 0: magic kGpuShaderMagic
//   word 1: program count in bits 0-7 (at most 12), container version in bits 16-31 (1)
//   word 2: byte offset of the vertex programs' GLSL source; word 3: its length in bytes
//   words 4 .. 4 + count - 1: byte offset of each program's record
//   a program record: word 0 entry point (the program number the source is compiled for),
//   word 1 flags (bit 0 texture coordinates are output, bit 1 the clock is output), word 2 the
//   number n of output registers, then n pairs (register 0..6, four semantic codes with the x
//   component in the low byte), sorted by register.
// All words little-endian, offsets from the container's start, 4-byte aligned.
constexpr uint32_t kGpuShaderMagic = 0x4253485Au;  // "ZHSB" read as a little-endian word
enum : uint32_t { kGpuProgramTexcoords = 1, kGpuProgramClock = 2 };

// Hands the container to the GPU, which compiles the programs it names (at once). 1 on success;
// 0 (with kGpuInvalidValue or kGpuInvalidOperation) when the container is damaged or a program
// does not compile. The data may be freed afterwards.
int GpuShaderBinary(const void* data, uint32_t size);

// ---------------------------------------------------------------------------------------------
// Host services: the images on the screens, for screenshots, tests and the window.

// Images that nobody looks at are not drawn. A headless run looks only at its screenshots; a
// window shows the lower screen and one eye of the upper screen (both in anaglyph, the left in
// mono). With a list of screenshot frames, every command goes on to GL while one of them is at
// most kGpuSeenAhead frames ahead of the frames presented so far (the image drawn now is shown at
// the next vertical sync; the margin covers a display that skips a frame or two), so screenshots
// are the same as when every frame is drawn. In the other frames the commands of an image that
// is not shown are still recorded, fetched and checked, with the same errors, and the register
// state is the same, but no GL call is made for them: no state change, upload, clear, draw or
// transfer. A display buffer whose image was not drawn keeps what it last held.
// GpuExecuteAll (the default) draws every image.
constexpr long kGpuSeenAhead = 8;
void GpuExecuteOnlyFor(const long* frames, int count);
void GpuExecuteAll();
// 1 while a screenshot frame is due within the margin (always under GpuExecuteAll).
int GpuScreenshotAhead();
// How many clears, draws, transfers and texture uploads have gone to GL since start: a count
// for tests and benchmarks that check what reaches the driver.
uint64_t GpuGlWork();

// Which upper image the window shows (the --view option and its key).
enum { kGpuViewLeft = 0, kGpuViewRight = 1, kGpuViewAnaglyph = 2 };
void GpuSetView(int view);
int GpuView();

// The shown image of display 0x400, 0x410 or 0x401 as landscape RGB rows (top row first):
// 400 x 240 or 320 x 240. 0 when the display has no buffer shown.
int GpuReadDisplay(uint32_t display, std::vector<uint8_t>* rgb, int* width, int* height);
// Shows two pictures made by the host itself in the window in place of the shown images: RGB,
// landscape, top row first, 400 x 240 above and 320 x 240 below. 0 without a window.
int GpuPresentPictures(const std::vector<uint8_t>& upperRgb, const std::vector<uint8_t>& lowerRgb);
// A display buffer's image the same way, whether it is shown or not.
int GpuReadDisplaybuffer(uint32_t id, std::vector<uint8_t>* rgb, int* width, int* height);
// The colour of the bound render buffer as stored (portrait, RGBA, row 0 at the bottom).
int GpuReadRenderImage(uint32_t framebuffer, std::vector<uint8_t>* rgba, int* width, int* height);
