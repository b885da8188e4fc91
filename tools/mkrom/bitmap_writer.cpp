#include "bitmap_writer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/gpu.h"
#include "platform/bitmap.h"

namespace mkrom {

static uint32_t Grey(const uint8_t* p)
{
    return (uint32_t(p[0]) * 77 + uint32_t(p[1]) * 150 + uint32_t(p[2]) * 29 + 128) >> 8;
}

// value (0-255) rounded to bits bits.
static uint32_t Reduce(uint32_t value, int bits)
{
    uint32_t top = (1u << bits) - 1;
    return (value * top + 127) / 255;
}

std::vector<uint8_t> EncodeTexels(const RgbaImage& image, int pixelFormat)
{
    uint32_t bytes = GpuTextureLevelBytes(pixelFormat, image.width, image.height);
    if (!bytes || image.rgba.size() != size_t(image.width) * size_t(image.height) * 4) return {};
    std::vector<uint8_t> out(bytes, 0);
    int bits = GpuTexelBits(pixelFormat);
    size_t rowBytes = (size_t(image.width) * size_t(bits) + 7) / 8;
    for (int y = 0; y < image.height; ++y) {
        uint8_t* row = &out[size_t(y) * rowBytes];
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* c = image.At(x, y);
            uint8_t* p = row + size_t(x) * size_t(bits) / 8;
            uint32_t w16 = 0;
            switch (pixelFormat) {
            case kPixelRGBA8:
            case kPixelRGBA8Mip: std::memcpy(p, c, 4); break;
            case kPixelRGB8: std::memcpy(p, c, 3); break;
            case kPixelRGBA5551:
                w16 = Reduce(c[0], 5) << 11 | Reduce(c[1], 5) << 6 | Reduce(c[2], 5) << 1 | (c[3] >= 128 ? 1u : 0u);
                break;
            case kPixelRGB565: w16 = Reduce(c[0], 5) << 11 | Reduce(c[1], 6) << 5 | Reduce(c[2], 5); break;
            case kPixelRGBA4:
                w16 = Reduce(c[0], 4) << 12 | Reduce(c[1], 4) << 8 | Reduce(c[2], 4) << 4 | Reduce(c[3], 4);
                break;
            case kPixelLA8: p[0] = uint8_t(Grey(c)), p[1] = c[3]; break;
            case kPixelHiLo8: p[0] = c[0], p[1] = c[1]; break;
            case kPixelL8: p[0] = uint8_t(Grey(c)); break;
            case kPixelA8: p[0] = c[3]; break;
            case kPixelLA4: p[0] = uint8_t(Reduce(Grey(c), 4) << 4 | Reduce(c[3], 4)); break;
            case kPixelL4: row[x / 2] |= uint8_t(Reduce(Grey(c), 4) << (4 * (x & 1))); break;
            case kPixelA4: row[x / 2] |= uint8_t(Reduce(c[3], 4) << (4 * (x & 1))); break;
            default: return {};
            }
            if (bits == 16 && pixelFormat != kPixelLA8 && pixelFormat != kPixelHiLo8) {
                p[0] = uint8_t(w16), p[1] = uint8_t(w16 >> 8);
            }
        }
    }
    return out;
}

RgbaImage HalveImage(const RgbaImage& image)
{
    int w = image.width > 1 ? image.width / 2 : 1, h = image.height > 1 ? image.height / 2 : 1;
    RgbaImage half(w, h);
    int fx = image.width / w, fy = image.height / h;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint32_t sum[4] = {0, 0, 0, 0};
            for (int dy = 0; dy < fy; ++dy)
                for (int dx = 0; dx < fx; ++dx)
                    for (int k = 0; k < 4; ++k) sum[k] += image.At(x * fx + dx, y * fy + dy)[k];
            uint32_t n = uint32_t(fx * fy);
            for (int k = 0; k < 4; ++k) half.At(x, y)[k] = uint8_t((sum[k] + n / 2) / n);
        }
    }
    return half;
}

bool BitmapBytes(const RgbaImage& image, int pixelFormat, int levels, int fontInfoId,
                 std::vector<uint8_t>* out, std::string* error)
{
    if (!GpuTexelBits(pixelFormat)) return *error = "unknown texel format " + std::to_string(pixelFormat), false;
    if (image.width < 1 || image.height < 1 || image.width > kMaxTextureSide || image.height > kMaxTextureSide ||
        image.rgba.size() != size_t(image.width) * size_t(image.height) * 4) {
        return *error = "an empty, oversized or malformed image", false;
    }
    uint32_t textureBytes = GpuTextureByteSize(pixelFormat, image.width, image.height, levels);
    if (!textureBytes) return *error = "more mip levels than the image can have", false;

    DS3_bitmap_tag header;
    std::memset(&header, 0, sizeof header);
    header.width = uint16_t(image.width);
    header.height = uint16_t(image.height);
    header.pitch = uint16_t((image.width * GpuTexelBits(pixelFormat) + 7) / 8);
    header.pixelFormat = uint16_t(pixelFormat);
    header.numMipmapLevels = uint16_t(levels);
    header.widthInv = 1.0f / float(image.width);
    header.heightInv = 1.0f / float(image.height);
    header.physicalWidth = uint16_t(image.width);
    header.physicalHeight = uint16_t(image.height);
    header.textureSize = textureBytes;
    if (fontInfoId) {
        header.flags |= kBitmapFontTable;
        header.fontTable.offset = uint32_t(fontInfoId);
    }

    out->assign(reinterpret_cast<const uint8_t*>(&header), reinterpret_cast<const uint8_t*>(&header) + sizeof header);
    RgbaImage level = image;
    for (int k = 0; k < levels; ++k) {
        if (k > 0) level = HalveImage(level);
        std::vector<uint8_t> texels = EncodeTexels(level, pixelFormat);
        out->insert(out->end(), texels.begin(), texels.end());
    }
    // The writer and the loader must agree on the size of the chain.
    if (out->size() != sizeof header + textureBytes) return *error = "mip chain size mismatch", false;
    return true;
}

Resource BitmapResource(int id, const RgbaImage& image, int pixelFormat, int levels, int fontInfoId)
{
    Resource r;
    r.id = id;
    r.type = kResourceTypeBitmap;
    r.compressed = true;
    std::string error;
    if (!BitmapBytes(image, pixelFormat, levels, fontInfoId, &r.bytes, &error)) {
        std::fprintf(stderr, "mkrom: bitmap %d: %s\n", id, error.c_str());
        std::exit(1);
    }
    return r;
}

}  // namespace mkrom
