// The direct command writer: between the start and the end of each display the renderer writes
// GPU register commands straight into the command list being recorded (depth and culling state,
// textures, uniforms, vertex base, draws), skipping the commands whose state is already set.
#pragma once

#include <cstdint>

#include "lib/matrix.h"
#include "platform/bitmap.h"

struct DS3_ShaderInfo;

// The open bracket: where it began, the next free word, and the end of the list's storage.
// All null outside a bracket.
extern uint32_t* commandStart;
extern uint32_t* commandBuffer;
extern uint32_t* commandLimit;
// Set when a command did not fit into the list; the bracket then keeps what fitted.
extern int commandOverflow;

extern DS3_ShaderInfo* curShader;
// Texture level-of-detail bias in 1/256 units, a 13-bit two's-complement number.
extern uint32_t mipmapBiasFixed;

// State caches. backfaceCulling and texWrapEnabled: 1 on, 0 off, -1 unknown (a display start sets
// them to -1 so that the next call writes its command whatever the state was).
extern int zBufferEnabled;
extern int zWriteEnabled;
extern int backfaceCulling;
extern int texWrapEnabled;  // the wrap modes last sent with a texture (u | v << 8), -1 unknown
extern int frontFace;
// Texture wrap modes taken when a texture is bound: 0 clamp to edge, 2 repeat.
extern int uWrapMode;
extern int vWrapMode;

// The bracket of one display's commands.
int DS3_BeginCommands();
int DS3_EndCommands();
int RenderReset();

// Writes one register / a run of consecutive registers into the open bracket. 0 when no bracket
// is open or the command does not fit (nothing is written then).
int DS3_WriteRegister(uint32_t reg, uint32_t value);
int DS3_WriteRegisters(uint32_t reg, const uint32_t* values, uint32_t count);

// Render state.
int RenderEnableZBuffer();
int RenderDisableZBuffer();
int RenderEnableZWrite();
int RenderDisableZWrite();
int RenderEnableOverlays();
int RenderEnableBackfaceCulling();
int RenderDisableBackfaceCulling();
int RenderSetMipmapBias(float bias);
// The 13-bit encoding of a level-of-detail bias (clamped into -16..16).
uint32_t EncodeMipmapBias(float bias);

// Textures: one to unit 0 (2D drawing), or colour, normal and specular maps to units 0, 1, 2.
int DS3_SetTexture(DS3_bitmap_tag* bitmap);
int DS3_SetTextures(DS3_bitmap_tag* colour, DS3_bitmap_tag* normal, DS3_bitmap_tag* specular);

// Uniform vectors (sent w, z, y, x).
int DS3_SetFloatUniform(int reg, const HLSL_point* v);
int DS3_SetFloatUniformArray(int reg, int count, const HLSL_point* v);

// Geometry: the vertex base (a GPU address, 16-byte aligned), and a strip of count 16-bit
// indices at a byte offset after the vertex base.
int DS3_SetVertexBuffer(uint32_t address);
int DS3_DrawIndexedTristrip(uint32_t offset, uint32_t count);
