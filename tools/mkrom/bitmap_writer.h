// Writing bitmap resources (type 125): the 128-byte bitmap header followed by the texels of every
// mip level, in any of the GPU's texel formats, from an RGBA image drawn or rasterised by mkrom.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive_writer.h"

namespace mkrom {

// An image of 8-bit red, green, blue, alpha, row 0 the top row.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // width x height x 4

    RgbaImage() = default;
    RgbaImage(int w, int h) : width(w), height(h), rgba(size_t(w) * size_t(h) * 4, 0) {}
    uint8_t* At(int x, int y) { return &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
    const uint8_t* At(int x, int y) const { return &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
};

// The largest texture side the GPU takes.
constexpr int kMaxTextureSide = 1024;

// The image as texels of one level in pixelFormat (a kPixel... code of host/gpu.h); empty for an
// unknown format or an empty image. Luminance formats take the weighted grey of the colour; the
// two-component format takes red and green.
std::vector<uint8_t> EncodeTexels(const RgbaImage& image, int pixelFormat);

// The next mip level: half the size in each direction (at least 1), each texel the average of the
// texels it covers.
RgbaImage HalveImage(const RgbaImage& image);

// The whole resource: header then the mip chain (levels >= 1; level k is the image halved k
// times). fontInfoId, when not 0, is the id of the font information resource of a font image.
// False with a reason for an unknown format, an empty or oversized image, or too many levels.
bool BitmapBytes(const RgbaImage& image, int pixelFormat, int levels, int fontInfoId,
                 std::vector<uint8_t>* out, std::string* error);

// A bitmap resource with the given id, stored compressed. Stops mkrom with the reason when the
// image cannot be written (a fault in mkrom's own content).
Resource BitmapResource(int id, const RgbaImage& image, int pixelFormat, int levels = 1, int fontInfoId = 0);

}  // namespace mkrom
