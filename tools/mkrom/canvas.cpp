#include "canvas.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "content_fonts.h"

namespace mkrom {

Shape RoundRect(float x, float y, float w, float h, float radius)
{
    float r = std::min(radius, std::min(w, h) * 0.5f);
    return [=](float px, float py) {
        if (px < x || py < y || px >= x + w || py >= y + h) return false;
        float cx = std::clamp(px, x + r, x + w - r), cy = std::clamp(py, y + r, y + h - r);
        float dx = px - cx, dy = py - cy;
        return dx * dx + dy * dy <= r * r;
    };
}

Shape Circle(float cx, float cy, float r)
{
    return [=](float px, float py) { return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r; };
}

Shape Ring(float cx, float cy, float inner, float outer)
{
    return [=](float px, float py) {
        float d = (px - cx) * (px - cx) + (py - cy) * (py - cy);
        return d <= outer * outer && d >= inner * inner;
    };
}

Shape Polygon(std::vector<float> xy)
{
    return [xy](float px, float py) {
        bool inside = false;
        size_t n = xy.size() / 2;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
            if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) inside = !inside;
        }
        return inside;
    };
}

Shape Minus(Shape a, Shape b)
{
    return [a, b](float x, float y) { return a(x, y) && !b(x, y); };
}

Shape Union(Shape a, Shape b)
{
    return [a, b](float x, float y) { return a(x, y) || b(x, y); };
}

Paint Solid(Rgba c)
{
    return [c](float, float) { return c; };
}

static Rgba Mix(Rgba a, Rgba b, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    auto m = [t](uint8_t u, uint8_t v) { return uint8_t(std::lround(u + (v - u) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

Paint VGradient(float y0, Rgba c0, float y1, Rgba c1)
{
    return [=](float, float y) { return Mix(c0, c1, (y - y0) / (y1 - y0)); };
}

Paint HGradient(float x0, Rgba c0, float x1, Rgba c1)
{
    return [=](float x, float) { return Mix(c0, c1, (x - x0) / (x1 - x0)); };
}

// Source-over of a straight-alpha colour with coverage onto a straight-alpha pixel.
static void Over(uint8_t* d, Rgba c, float coverage)
{
    float sa = c.a / 255.0f * coverage;
    if (sa <= 0.0f) return;
    float da = d[3] / 255.0f;
    float oa = sa + da * (1.0f - sa);
    const float s[3] = {float(c.r), float(c.g), float(c.b)};
    for (int k = 0; k < 3; ++k) d[k] = uint8_t(std::lround((s[k] * sa + d[k] * da * (1.0f - sa)) / oa));
    d[3] = uint8_t(std::lround(oa * 255.0f));
}

void Fill(RgbaImage* image, const Shape& shape, const Paint& paint, int x0, int y0, int x1, int y1)
{
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, image->width), y1 = std::min(y1, image->height);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) hits += shape(x + (sx + 0.5f) / 4.0f, y + (sy + 0.5f) / 4.0f);
            if (hits) Over(image->At(x, y), paint(x + 0.5f, y + 0.5f), hits / 16.0f);
        }
}

void Fill(RgbaImage* image, const Shape& shape, const Paint& paint)
{
    Fill(image, shape, paint, 0, 0, image->width, image->height);
}

void DrawLabel(RgbaImage* image, const std::string& text, const char* faceFile, int pixelSize, float cx, float cy,
               Rgba fill, int align, Rgba outline, int outlinePixels)
{
    FT_Library library;
    FT_Face face;
    std::string path = FontDirectory() + "/" + faceFile;
    if (FT_Init_FreeType(&library) || FT_New_Face(library, path.c_str(), 0, &face)) {
        std::fprintf(stderr, "mkrom: cannot read the font %s\n", path.c_str());
        std::exit(1);
    }
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize));
    // The text's coverage on a strip as wide as its advances.
    struct Ink {
        int x, y, w, h;
        std::vector<uint8_t> a;
    };
    std::vector<Ink> inks;
    int pen = 0;
    FT_UInt previous = 0;
    for (unsigned char c : text) {
        FT_UInt index = FT_Get_Char_Index(face, c);
        if (previous && index && FT_HAS_KERNING(face)) {
            FT_Vector k;
            if (!FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &k)) pen += int(std::lround(k.x / 64.0));
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER)) continue;
        const FT_Bitmap& bm = face->glyph->bitmap;
        Ink ink{pen + face->glyph->bitmap_left, -face->glyph->bitmap_top, int(bm.width), int(bm.rows), {}};
        for (int y = 0; y < ink.h; ++y)
            for (int x = 0; x < ink.w; ++x) ink.a.push_back(bm.buffer[y * bm.pitch + x]);
        inks.push_back(std::move(ink));
        pen += int(std::lround(face->glyph->advance.x / 64.0));
        previous = index;
    }
    float ascender = face->size->metrics.ascender / 64.0f, descender = face->size->metrics.descender / 64.0f;
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    int left = align < 0 ? int(cx) : align > 0 ? int(cx) - pen : int(std::lround(cx - pen / 2.0f));
    int baseline = int(std::lround(cy + (ascender + descender) / 2.0f));
    auto coverage = [&](int x, int y) {
        int best = 0;
        for (const Ink& ink : inks) {
            int ix = x - left - ink.x, iy = y - baseline - ink.y;
            if (ix >= 0 && iy >= 0 && ix < ink.w && iy < ink.h) best = std::max(best, int(ink.a[size_t(iy * ink.w + ix)]));
        }
        return best;
    };
    int x0 = left - outlinePixels - 2, x1 = left + pen + outlinePixels + 4;
    int y0 = baseline - int(ascender) - outlinePixels - 2, y1 = baseline - int(descender) + outlinePixels + 2;
    x0 = std::max(x0, 0), y0 = std::max(y0, 0), x1 = std::min(x1, image->width), y1 = std::min(y1, image->height);
    if (outlinePixels > 0) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                int m = 0;
                for (int dy = -outlinePixels; dy <= outlinePixels; ++dy)
                    for (int dx = -outlinePixels; dx <= outlinePixels; ++dx)
                        if (dx * dx + dy * dy <= outlinePixels * outlinePixels + 1) m = std::max(m, coverage(x + dx, y + dy));
                if (m) Over(image->At(x, y), outline, m / 255.0f);
            }
    }
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            int a = coverage(x, y);
            if (a) Over(image->At(x, y), fill, a / 255.0f);
        }
}

}  // namespace mkrom
