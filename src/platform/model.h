// Model resources (type 126): the position-independent image of a 3D object, relocated in place
// once it is loaded.
#pragma once

#include <cstdint>

#include "game/actors.h"
#include "host/ptr32.h"

struct HLSL_skeleton;

// The 384-byte record at the start of a model image (and of each of its child models). Pointer
// fields are filled by relocation; the blocks they point at follow the record in the image:
// vertices, indices, strips, materials, then (16-byte aligned) the skeleton, then the children.
struct DS3_model_tag {
    uint32_t flags;
    uint32_t numMaterials;
    Ptr32<uint8_t> materialList;
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
    Ptr32<uint8_t> stripList;
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

constexpr int kResourceTypeModel = 126;
constexpr uint32_t kModelFlagStripPalettes = 0x800;
constexpr int kModelStripBytes = 16;
constexpr int kModelPaletteStripBytes = 64;
constexpr int kModelMaterialBytes = 24;

// Relocates a loaded model image of length bytes in place. Refuses (0, with a message) a record
// whose blocks do not fit in the image or whose skeleton is damaged.
int DS3_InitializeModel(uint8_t* data, int32_t length);
