// Model resources (type 126): the position-independent image of a 3D object, relocated in place
// once it is loaded, and the drawing of rigid and skinned models straight from that image.
#pragma once

#include <cstdint>

#include "host/ptr32.h"
#include "lib/resourceids.h"
#include "platform/actorrecord.h"
#include "platform/bitmap.h"

struct HLSL_skeleton;

// One strip of a model without bone palettes: a run of indices drawn as a triangle strip.
struct HLSL_triStrip {
    uint16_t materialNum;
    uint16_t startIndex;
    uint32_t startVert;
    uint32_t numVerts;
    uint32_t numPrimitives;  // indices drawn
};
static_assert(sizeof(HLSL_triStrip) == 16, "strips are 16 bytes");

// One strip of a model whose strips carry their own bone palettes: the vertices' bone indices
// name palette entries, and entry i is skeleton bone boneCache[i].
struct HLSL_skeletalTriStrip {
    uint32_t startIndex;
    uint32_t numPrimitives;
    uint16_t materialNum;
    uint8_t numBones;
    uint8_t boneCache[50];
    uint8_t pad[3];
};
static_assert(sizeof(HLSL_skeletalTriStrip) == 64, "palette strips are 64 bytes");

// Colour, normal and specular map of a material: resource ids in the file, bitmaps once relocated.
struct HLSL_material {
    uint32_t materialRSID;
    Ptr32<DS3_bitmap_tag> materialBitmap;
    uint32_t normalMapRSID;  // 0: none
    Ptr32<DS3_bitmap_tag> normalMap;
    uint32_t specularMapRSID;  // 0: none
    Ptr32<DS3_bitmap_tag> specularMap;
};
static_assert(sizeof(HLSL_material) == 24, "materials are 24 bytes");

// The 384-byte record at the start of a model image (and of each of its child models). Pointer
// fields are filled by relocation; the blocks they point at follow the record in the image:
// vertices, indices, strips, materials, then (16-byte aligned) the skeleton, then the children.
struct DS3_model_tag {
    uint32_t flags;
    uint32_t numMaterials;
    Ptr32<HLSL_material> materialList;
    uint32_t numVerts;
    Ptr32<uint8_t> vertList;
    uint8_t vertFormat;
    uint8_t vertSize;
    uint8_t pad[2];
    uint32_t numFaces;
    uint8_t pad2[4];
    HLSL_point position;
    float rotation[4];
    HLSL_point scale;
    HLSL_point pivot;
    HLSL_point clipVolume[8];
    uint32_t numStrips;
    Ptr32<uint8_t> stripList;  // HLSL_triStrip, or HLSL_skeletalTriStrip with kModelFlagStripPalettes
    uint32_t numIndices;
    Ptr32<uint16_t> indexList;
    uint32_t numChildren;
    Ptr32<DS3_model_tag> children;
    Ptr32<DS3_model_tag> nextModel;
    Ptr32<HLSL_skeleton> skeleton;
    uint32_t vertexBufferID;
    uint32_t indexBufferID;
    uint32_t vertexBufferHardwareAddress;
    uint32_t indexBufferHardwareOffset;
    uint8_t pad3[112];
};
static_assert(sizeof(DS3_model_tag) == 384, "model records are 384 bytes");

enum : uint32_t {
    kModelFlagCull = 0x1,
    kModelFlagRepeat = 0x2,
    kModelFlagStripPalettes = 0x800,
    kModelFlagSpecular = 0x10000,
};
constexpr int kModelStripBytes = 16;
constexpr int kModelPaletteStripBytes = 64;
constexpr int kModelMaterialBytes = 24;
// Bone matrices one draw can take: the vertex program's registers and the 1024-byte work buffer
// hold sixteen.
constexpr int kModelMaxDrawBones = 16;
// Children nested deeper than this are refused (a damaged image cannot recurse without end).
constexpr int kModelMaxDepth = 8;

// The actor whose bone matrices the next palette-skinned DrawSkeleton uses.
extern actor_tag* skeletalActor;

// Relocates a loaded model image of length bytes in place (the type-126 initialisation). Refuses
// (0, with a message) a record whose blocks, strips, indices or children do not fit in the image,
// a skeleton that is damaged, or a texture that is not loaded.
int DS3_InitializeModel(uint8_t* data, int32_t length);
// Relocates the model at *cursor, whose image may reach up to end, with its children; leaves the
// cursor after it. depth counts the parents (0 for a resource's own model).
int DS3_InitializeModelBuffer(uint8_t** cursor, const uint8_t* end, int depth);

// Draws a rigid model with the current model matrix; 0 without a model or strips, or when the
// render state cannot be set.
int DrawModel(DS3_model_tag* model);
// Draws a skinned model with the bones SetActorSkeletalXforms prepared; 1 for no model or strips.
int DrawSkeleton(DS3_model_tag* model);
// Prepares the actor's bone matrices for DrawSkeleton; always 1.
int SetActorSkeletalXforms(actor_tag* actor, float (*xform)[4]);
// Shows every animated material texture at the frame that the game clock has reached; 0 when a
// material's frame group cannot be found.
int UpdateModelTextureAnimation(DS3_model_tag* model);
// Copies a loaded model's record and its materials to *cursor (the copy's materials right after
// its record) and advances the cursor; null when the model is not loaded or the copy would pass
// end.
DS3_model_tag* CopyModel(int rsid, uint8_t** cursor, const uint8_t* end);

// Material i of a relocated model, copied out (materials need not be aligned in the image); 0 when
// the model has no such material.
int ModelMaterial(const DS3_model_tag* model, uint32_t i, HLSL_material* out);
// Gives material i another colour texture (a texture swap); 0 when the model has no such material.
int SetModelMaterialBitmap(DS3_model_tag* model, uint32_t i, DS3_bitmap_tag* bitmap);

// Bytes per vertex of a vertex format (0..11); 0 for any other.
int ModelVertexStride(int format);
