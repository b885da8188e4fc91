// Setting up loaded bitmap resources: the record's texel size from its format, and its pixels
// pointed at their data.
#include "platform/bitmap.h"

#include "host/gpu.h"
#include "lib/printing.h"
#include "lib/resources.h"

// The texel bytes that a bitmap's GPU texture reads: the whole mip chain at its physical size.
static uint32_t TexelBytes(const DS3_bitmap_tag* b)
{
    int levels = b->numMipmapLevels ? b->numMipmapLevels : 1;
    return GpuTextureByteSize(b->pixelFormat, b->physicalWidth, b->physicalHeight, levels);
}

int DS3_InitializeBitmap(DS3_bitmap_tag* b)
{
    if (!b) return 0;
    if (b->flags & kBitmapPixelsInResource) {
        int id = int(b->pixels.offset);
        if (id != 0) {
            void* pixels = nullptr;
            if (!GetResourceHandle(id, &pixels)) return PrintError("bitmap pixels: resource %d is not loaded", id);
            resourceHeader* r = nullptr;
            if (GetResourceHeader(id, &r) && r->resourceUncompressedLength >= 0 &&
                uint32_t(r->resourceUncompressedLength) < TexelBytes(b)) {
                return PrintError("bitmap pixels: resource %d is shorter than its texture", id);
            }
            b->pixels = static_cast<uint8_t*>(pixels);
        }
    } else {
        b->pixels = reinterpret_cast<uint8_t*>(b) + sizeof(DS3_bitmap_tag);
    }
    if (b->flags & kBitmapFontTable) {
        int id = int(b->fontTable.offset);
        void* font = nullptr;
        if (!GetResourceHandle(id, &font)) return PrintError("bitmap font table: resource %d is not loaded", id);
        b->fontTable = font;
    }

    b->pad[0] = 0;
    b->hardwareRegisters[0] = 0;
    b->hardwareRegisters[1] = uint32_t(b->physicalWidth) << 16 | b->physicalHeight;
    b->hardwareRegisters[2] = b->pixelFormat == kPixelRGBA8Mip ? kGpuTexParamsAlternative : kGpuTexParamsNormal;
    b->hardwareRegisters[3] = uint32_t(b->numMipmapLevels) << 16;
    b->hardwareRegisters[4] = GpuPhysicalAddress(b->pixels.get()) >> 3;
    b->hardwareRegisters[5] = uint32_t(b->pixelFormat) - 1;
    return GpuGetError() == kGpuNoError;
}

int InitializeBitmapResource(uint8_t* data, int32_t length)
{
    if (!data || length < int32_t(sizeof(DS3_bitmap_tag))) return PrintError("bitmap: a bitmap resource is too short");
    auto* b = reinterpret_cast<DS3_bitmap_tag*>(data);
    if (GpuTexelBits(b->pixelFormat) == 0) return PrintError("bitmap: a bitmap has the unknown texel format %d", b->pixelFormat);
    if (b->physicalWidth < b->width || b->physicalHeight < b->height || TexelBytes(b) == 0) {
        return PrintError("bitmap: a bitmap's texture sizes do not fit together");
    }
    // Pixels inside the resource must all be there: the GPU reads the whole texture.
    if (!(b->flags & kBitmapPixelsInResource) && uint32_t(length) - sizeof(DS3_bitmap_tag) < TexelBytes(b)) {
        return PrintError("bitmap: a bitmap resource is shorter than its texture");
    }
    return DS3_InitializeBitmap(b);
}
