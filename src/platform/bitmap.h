// The bitmap record (resource type 125): textures and 2D images, including font sheets. A fixed
// 128-byte header followed by the pixels unless they live in another resource.
#pragma once

#include <cstdint>

#include "host/ptr32.h"
#include "lib/resourceids.h"

struct DS3_bitmap_tag {
    uint16_t width;
    uint16_t height;
    uint16_t pitch;
    uint16_t pixelFormat;
    Ptr32<uint8_t> pixels;  // or, before loading, the id of the resource holding them
    uint32_t flags;         // bit 1: pixels in another resource; bit 2: fontTable holds a font id
    Ptr32<void> fontTable;
    Ptr32<uint8_t> mask;
    uint16_t numMipmapLevels;
    uint16_t delay;
    uint8_t loopType;
    uint8_t pad0[3];
    float widthInv;
    float heightInv;
    uint16_t physicalWidth;
    uint16_t physicalHeight;
    uint32_t textureSize;
    uint32_t hardwareFormat;
    uint32_t hardwareTexelType;
    uint32_t hardwareRegisters[6];
    uint32_t openGLname;
    Ptr32<DS3_bitmap_tag> nextMaterial;
    uint8_t pad[40];
};
static_assert(sizeof(DS3_bitmap_tag) == 128, "bitmap header is 128 bytes");
typedef DS3_bitmap_tag DS3_bitmap;

enum : uint32_t { kBitmapPixelsInResource = 2, kBitmapFontTable = 4 };

// The type-125 initialisation: the pixel and font references become pointers and the six GPU
// texture words are filled. 0 when a referenced resource is not loaded or the GPU reports an error.
int DS3_InitializeBitmap(DS3_bitmap_tag* b);
// A loaded bitmap resource of length bytes: refuses an unknown texel format, texture sizes that do
// not fit together and pixels that would reach past the resource, then initialises it.
int InitializeBitmapResource(uint8_t* data, int32_t length);
