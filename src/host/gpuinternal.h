// What the host GPU's own files share: the GL entry points, the error state, the allocator hooks,
// the window or offscreen context, the executor's registers and the GL objects behind frame
// buffers and display buffers. Not for the platform layer: it talks to gpu.h only.
#pragma once

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstdint>
#include <string>

#include "host/gpu.h"

// gpu.cpp: errors and memory.
void GpuSetError(uint32_t code);
void* GpuAllocate(uint32_t area, uint32_t aim, uint32_t id, int32_t size);
void GpuRelease(uint32_t area, uint32_t aim, uint32_t id, void* address);
// The arena bytes [address, address + size), or null when they do not lie inside the arena.
const uint8_t* GpuArenaBytes(uint32_t address, uint64_t size);

// gpucontext.cpp: the window (or SDL's offscreen driver) and the GL 3.3 core context.
int GpuContextCreate(int headless, int scale, std::string* error);
void GpuContextDestroy();
int GpuContextScale();
// Ends a presented frame: shows the window's back buffer (waits for the display's refresh when the
// driver does), and keeps frames 33 ms apart in the window, and offscreen when they are paced
// (GpuPaceOffscreenFrames).
void GpuContextShowFrame();

// gpucmdlist.cpp: releases every command list.
void GpuCmdlistsShutdown();
// Appends words to the bound list (the library calls); request: also takes a request slot.
int GpuRecordWords(const uint32_t* words, uint32_t count, int request);

// gpuexec.cpp: the register file and the interpretation of command words.
void GpuExecReset();
// Executes words; a damaged command stops the run with kGpuInvalidOperation. Returns the words
// consumed.
uint32_t GpuExecute(const uint32_t* words, uint32_t count);
uint32_t GpuRegister(uint32_t reg);
float GpuRegisterFloat(uint32_t reg);
// Changes whenever a register that shapes the program key may have changed.
uint32_t GpuProgramKeyGeneration();
// The whole register file, for readers of many registers at once.
const uint32_t* GpuRegisterFile();

// gpudisplay.cpp: frame buffers, render buffers, display buffers, transfers, swaps.
void GpuDisplayReset();
void GpuDisplayShutdown();
// The size of the render image behind a frame-buffer id; 0 when it is not complete (no colour
// render buffer).
int GpuFramebufferSize(uint32_t framebuffer, int* width, int* height);
// The same, and binds its GL frame buffer for drawing and clearing.
int GpuUseFramebuffer(uint32_t framebuffer, int* width, int* height);
// 1 when the window shows the display that the buffer was bound to, or when it was never bound.
int GpuDisplaybufferInWindow(uint32_t id);
void GpuExecClear(uint32_t mask);
void GpuExecTransfer(uint32_t displaybuffer, uint32_t mode, int offsetX, int offsetY);
// Draws the shown images into the window (upper above lower, by the view), then shows it.
void GpuPresent();

// gpuseen.cpp: whether the image being executed goes on to GL. The executor begins each image
// with the display buffer that its transfer names (0 when none is ahead), which it needs to look
// for only when GpuImageTargetMatters.
int GpuImageTargetMatters();
void GpuBeginImage(uint32_t displaybuffer);
int GpuOnGl();
void GpuCountGlWork();

// gpudraw.cpp: the indexed draw with the current registers.
void GpuDrawReset();
void GpuDrawShutdown();
void GpuExecDraw();

// The state that decides which GL program a draw needs: the vertex program and its output map,
// the combiner stages without their constants, the enabled texture units and the shape of the
// lighting. Everything else reaches the programs as uniforms.
enum {
    kKeyEntry = 0,
    kKeyOutputMask = 1,
    kKeyOutputCount = 2,
    kKeyOutputMap = 3,     // 7 words
    kKeyCombiners = 10,    // 6 stages x sources, operands, combine, scale
    kKeyTexEnable = 34,
    kKeyLightEnabled = 35,
    kKeyLightConfig = 36,  // 4 words
    kKeyLightSetConfig = 40,
    kKeyLutInputs = 41,
    kKeyWords = 42,
};
// Bits of a light's key word besides its configuration: which of its colours are not black.
enum : uint32_t {
    kKeyLightHasSpecular0 = 0x100,
    kKeyLightHasSpecular1 = 0x200,
    kKeyLightHasDiffuse = 0x400,
    kKeyLightHasAmbient = 0x800,
};
struct GpuProgramKey {
    uint32_t w[kKeyWords];
};
GpuProgramKey GpuProgramKeyFromRegisters();
// The output semantic codes that the key's output map delivers, as bits (1 << code).
uint32_t GpuOutputSemantics(const GpuProgramKey& key);

// gpufragment.cpp: the GLSL of the fragment stage (texture combiners and fragment lighting) for
// a key. Its inputs are the varyings that GpuVertexEpilogue writes.
std::string GpuFragmentSource(const GpuProgramKey& key);

// gpuprograms.cpp: the vertex programs of the shader binary joined with the fragment stage.
void GpuProgramsReset();
void GpuProgramsShutdown();
// The GLSL source handed over in the shader binary; empty before.
const std::string& GpuVertexSource();
// A linked program and the locations of its uniforms. Its samplers are tied to units 0-2 (the
// texture units) and 3 (the lookup tables).
struct GpuProgram {
    GLuint gl = 0;
    GLint registers = -1, depthMap = -1, constants = -1, globalAmbient = -1;
    GLint specular0 = -1, specular1 = -1, diffuse = -1, ambient = -1, position = -1;
};
// The GL program for the key (built on first use); null when it cannot be built (error set).
const GpuProgram* GpuProgramFor(const GpuProgramKey& key);
// The same for the key of the current registers.
const GpuProgram* GpuProgramForRegisters();
// 1 when the registers name a vertex program of the shader binary handed over.
int GpuProgramNamed();
// Compiles and links a vertex + fragment shader pair; 0 with the compiler's log in *log.
GLuint GpuCompileProgram(const std::string& vertex, const std::string& fragment, std::string* log);

// gputexture.cpp: textures read from the arena as the texture unit words say.
void GpuTexturesShutdown();
// Binds unit's texture (GL texture unit `unit`) from its six words; 0 when the words name no
// usable texture (the unit then samples black).
int GpuBindTextureUnit(int unit, const uint32_t* words);
// Forgets which texture contents were checked, so that the next use looks at the arena again.
void GpuTexturesNewRun();
// Decodes level 0 of a texture of one of the texel formats into RGBA8 rows (row 0 first).
int GpuDecodeTexels(int pixelFormat, const uint8_t* src, int width, int height, uint8_t* rgba);
