// Textures: the texel formats, their sizes, and GL textures made from arena texels as a texture
// unit's words describe them. A texture is uploaded again when its texels changed since it was
// last uploaded; each run of a list looks at a texture's texels once.
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

#include "host/gpuinternal.h"

namespace {

struct Texture {
    GLuint gl = 0;
    uint64_t hash = 0;
    uint32_t checkedRun = 0;
};

}  // namespace

static std::map<std::tuple<uint32_t, uint32_t, uint32_t, uint32_t>, Texture> textures;
static uint32_t run = 1;

int GpuTexelBits(int pixelFormat)
{
    switch (pixelFormat) {
    case kPixelRGBA8:
    case kPixelRGBA8Mip: return 32;
    case kPixelRGB8: return 24;
    case kPixelRGBA5551:
    case kPixelRGB565:
    case kPixelRGBA4:
    case kPixelLA8:
    case kPixelHiLo8: return 16;
    case kPixelL8:
    case kPixelA8:
    case kPixelLA4: return 8;
    case kPixelL4:
    case kPixelA4: return 4;
    default: return 0;
    }
}

static uint32_t RowBytes(int pixelFormat, int width)
{
    return (uint32_t(width) * uint32_t(GpuTexelBits(pixelFormat)) + 7) / 8;
}

uint32_t GpuTextureLevelBytes(int pixelFormat, int width, int height)
{
    if (!GpuTexelBits(pixelFormat) || width < 1 || height < 1 || width > 65535 || height > 65535) return 0;
    return RowBytes(pixelFormat, width) * uint32_t(height);
}

uint32_t GpuTextureByteSize(int pixelFormat, int width, int height, int levels)
{
    if (levels < 1 || !GpuTextureLevelBytes(pixelFormat, width, height)) return 0;
    int halvings = 0;
    for (int m = width > height ? width : height; m > 1; m >>= 1) ++halvings;
    if (levels > halvings + 1) return 0;
    uint64_t total = 0;
    for (int k = 0; k < levels; ++k) {
        int w = width >> k, h = height >> k;
        total += GpuTextureLevelBytes(pixelFormat, w < 1 ? 1 : w, h < 1 ? 1 : h);
    }
    return total > 0xFFFFFFFFu ? 0 : uint32_t(total);
}

static uint8_t Expand(uint32_t value, int bits)
{
    return uint8_t(value * 255 / ((1u << bits) - 1));
}

int GpuDecodeTexels(int pixelFormat, const uint8_t* src, int width, int height, uint8_t* rgba)
{
    if (!GpuTexelBits(pixelFormat) || !src || width < 1 || height < 1) return 0;
    uint32_t rowBytes = RowBytes(pixelFormat, width);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = src + size_t(y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            uint8_t* o = rgba + (size_t(y) * width + x) * 4;
            uint32_t r = 255, g = 255, b = 255, a = 255;
            const uint8_t* p = row + size_t(x) * GpuTexelBits(pixelFormat) / 8;
            uint32_t w16 = uint32_t(p[0]) | (GpuTexelBits(pixelFormat) >= 16 ? uint32_t(p[1]) << 8 : 0u);
            uint32_t nibble = (row[x / 2] >> (4 * (x & 1))) & 0xF;
            switch (pixelFormat) {
            case kPixelRGBA8:
            case kPixelRGBA8Mip: r = p[0], g = p[1], b = p[2], a = p[3]; break;
            case kPixelRGB8: r = p[0], g = p[1], b = p[2]; break;
            case kPixelRGBA5551:
                r = Expand(w16 >> 11, 5), g = Expand((w16 >> 6) & 31, 5), b = Expand((w16 >> 1) & 31, 5);
                a = (w16 & 1) ? 255 : 0;
                break;
            case kPixelRGB565:
                r = Expand(w16 >> 11, 5), g = Expand((w16 >> 5) & 63, 6), b = Expand(w16 & 31, 5);
                break;
            case kPixelRGBA4:
                r = Expand(w16 >> 12, 4), g = Expand((w16 >> 8) & 15, 4), b = Expand((w16 >> 4) & 15, 4);
                a = Expand(w16 & 15, 4);
                break;
            case kPixelLA8: r = g = b = p[0], a = p[1]; break;
            case kPixelHiLo8: {
                // Two components of a unit normal; the third is what makes it unit length.
                float nx = p[0] / 127.5f - 1.0f, ny = p[1] / 127.5f - 1.0f;
                float nz = std::sqrt(std::fmax(0.0f, 1.0f - nx * nx - ny * ny));
                r = p[0], g = p[1], b = uint32_t(std::lround((nz * 0.5f + 0.5f) * 255.0f));
                break;
            }
            case kPixelL8: r = g = b = p[0]; break;
            case kPixelA8: a = p[0]; break;
            case kPixelLA4: r = g = b = Expand(p[0] >> 4, 4), a = Expand(p[0] & 15, 4); break;
            case kPixelL4: r = g = b = Expand(nibble, 4); break;
            case kPixelA4: a = Expand(nibble, 4); break;
            default: break;
            }
            o[0] = uint8_t(r), o[1] = uint8_t(g), o[2] = uint8_t(b), o[3] = uint8_t(a);
        }
    }
    return 1;
}

// A fast hash of the texels, to notice that a texture was rewritten.
static uint64_t Hash(const uint8_t* p, uint32_t n)
{
    uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    uint32_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t v;
        std::memcpy(&v, p + i, 8);
        h = (h ^ v) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 29;
    }
    for (; i < n; ++i) h = (h ^ p[i]) * 0x94D049BB133111EBull;
    return h;
}

void GpuTexturesNewRun() { ++run; }

void GpuTexturesShutdown()
{
    for (auto& e : textures) glDeleteTextures(1, &e.second.gl);
    textures.clear();
}

static GLint WrapMode(uint32_t code)
{
    switch (code & 3) {
    case kGpuWrapClampToBorder: return GL_CLAMP_TO_BORDER;
    case kGpuWrapRepeat: return GL_REPEAT;
    case kGpuWrapMirror: return GL_MIRRORED_REPEAT;
    default: return GL_CLAMP_TO_EDGE;
    }
}

int GpuBindTextureUnit(int unit, const uint32_t* words)
{
    int width = int(words[1] >> 16), height = int(words[1] & 0xFFFF);
    int levels = int(words[3] >> 16);
    if (levels < 1) levels = 1;
    int format = int(words[5]) + 1;
    uint32_t bytes = GpuTextureByteSize(format, width, height, levels);
    uint64_t address = uint64_t(words[4]) * 8;
    const uint8_t* texels = address <= 0xFFFFFFFFu ? GpuArenaBytes(uint32_t(address), bytes) : nullptr;
    glActiveTexture(GLenum(GL_TEXTURE0 + unit));
    if (!bytes || width > 1024 || height > 1024 || !texels) {
        glBindTexture(GL_TEXTURE_2D, 0);
        return 0;
    }
    Texture& t = textures[std::make_tuple(words[4], words[1], words[5], uint32_t(levels))];
    if (t.checkedRun != run || !t.gl) {
        t.checkedRun = run;
        uint64_t h = Hash(texels, bytes);
        if (!t.gl || h != t.hash) {
            t.hash = h;
            GpuCountGlWork();
            if (!t.gl) glGenTextures(1, &t.gl);
            glBindTexture(GL_TEXTURE_2D, t.gl);
            std::vector<uint8_t> rgba;
            const uint8_t* level = texels;
            glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
            for (int k = 0; k < levels; ++k) {
                int w = width >> k, h2 = height >> k;
                w = w < 1 ? 1 : w;
                h2 = h2 < 1 ? 1 : h2;
                rgba.resize(size_t(w) * h2 * 4);
                GpuDecodeTexels(format, level, w, h2, rgba.data());
                glTexImage2D(GL_TEXTURE_2D, k, GL_RGBA8, w, h2, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
                level += GpuTextureLevelBytes(format, w, h2);
            }
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, levels - 1);
        }
    }
    glBindTexture(GL_TEXTURE_2D, t.gl);
    uint32_t params = words[2];
    int magLinear = (params >> 1) & 1, minLinear = (params >> 2) & 1, mipLinear = (params >> 5) & 1;
    GLint minFilter = minLinear ? GL_LINEAR : GL_NEAREST;
    if (levels > 1) {
        minFilter = minLinear ? (mipLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_NEAREST)
                              : (mipLinear ? GL_NEAREST_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magLinear ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, WrapMode(params >> 8));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, WrapMode(params >> 12));
    const float border[4] = {(words[0] & 0xFF) / 255.0f, ((words[0] >> 8) & 0xFF) / 255.0f,
                             ((words[0] >> 16) & 0xFF) / 255.0f, (words[0] >> 24) / 255.0f};
    glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    // The bias is a 13-bit two's-complement number of 1/256 steps.
    int bias = int(words[3] & 0x1FFF);
    if (bias & 0x1000) bias -= 0x2000;
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_LOD_BIAS, bias / 256.0f);
    return 1;
}
