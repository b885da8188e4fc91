#include "content_fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/gpu.h"
#include "lib/textoutput.h"

namespace mkrom {

namespace {

// Ids of the font information resources, each below every bitmap that names it.
enum {
    kInfoSans11 = 3050,
    kInfoBold11 = 3051,
    kInfoBold12 = 3053,
    kInfoCondensedBold8 = 3054,
    kInfoBold16 = 3055,
    kInfoBold13 = 3056,
    kInfoBold28 = 3058,
    kInfoCondensed10 = 3060,
};

// Pixels of dark outline around every glyph, so that text reads on light and dark panels alike.
constexpr int kOutline = 1;
constexpr uint8_t kOutlineColour[3] = {16, 18, 30};

struct Glyph {
    int left = 0;     // the cell's left edge from the pen origin
    int width = 0;    // cell width; 0 for a glyph without ink
    int advance = 0;  // pen advance to the next origin
    unsigned index = 0;
    int bitmapLeft = 0, bitmapTop = 0, rows = 0, columns = 0;
    std::vector<uint8_t> coverage;
};

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v)
{
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}

}  // namespace

const std::vector<FontFaceSpec>& FontFaces()
{
    static const std::vector<FontFaceSpec> faces = {
        {kInfoSans11, "DejaVuSans.ttf", 11},
        {kInfoBold11, "DejaVuSans-Bold.ttf", 11},
        {kInfoBold12, "DejaVuSans-Bold.ttf", 12},
        {kInfoCondensedBold8, "DejaVuSansCondensed-Bold.ttf", 8},
        {kInfoBold16, "DejaVuSans-Bold.ttf", 16},
        {kInfoBold13, "DejaVuSans-Bold.ttf", 13},
        {kInfoBold28, "DejaVuSans-Bold.ttf", 28},
        {kInfoCondensed10, "DejaVuSansCondensed.ttf", 10},
        {kUiKeyboardFontInfo, "DejaVuSans-Bold.ttf", 12},
    };
    return faces;
}

const std::vector<FontSpec>& Fonts()
{
    static const uint8_t white[3] = {255, 255, 255};
    static const uint8_t gold[3] = {255, 210, 90};
    static const uint8_t sky[3] = {150, 220, 255};
    static const uint8_t red[3] = {255, 90, 80};
    static const std::vector<FontSpec> fonts = {
        {kGameFontDefault, kInfoSans11, {white[0], white[1], white[2]}},
        {kGameFontSmallTotals, kInfoBold11, {white[0], white[1], white[2]}},
        {kGameFontTotals, kInfoBold12, {white[0], white[1], white[2]}},
        {kGameFontMarks, kInfoBold11, {white[0], white[1], white[2]}},
        {kGameFontSmallMarks, kInfoCondensedBold8, {white[0], white[1], white[2]}},
        {kGameFontNumbers, kInfoBold16, {white[0], white[1], white[2]}},
        {kGameFontBingoMarked, kInfoBold16, {red[0], red[1], red[2]}},
        {kGameFontGoldNumbers, kInfoBold16, {gold[0], gold[1], gold[2]}},
        {kGameFontNames, kInfoBold13, {white[0], white[1], white[2]}},
        {kGameFontLargeGold, kInfoBold28, {gold[0], gold[1], gold[2]}},
        {kGameFontSmallNumbers, kInfoBold11, {white[0], white[1], white[2]}},
        {kGameFontBusy, kInfoSans11, {white[0], white[1], white[2]}},
        {kGameFontHeadings, kInfoBold13, {sky[0], sky[1], sky[2]}},
        {kGameFontBody, kInfoBold12, {white[0], white[1], white[2]}},
        {kGameFontTitles, kInfoBold16, {gold[0], gold[1], gold[2]}},
        {kGameFontHints, kInfoBold11, {sky[0], sky[1], sky[2]}},
        {kGameFontSmallNames, kInfoCondensed10, {white[0], white[1], white[2]}},
        {kUiKeyboardFont, kUiKeyboardFontInfo, {white[0], white[1], white[2]}},
    };
    return fonts;
}

std::string FontDirectory()
{
    const char* dir = std::getenv("ZENDROLYX_FONT_DIR");
    return dir && *dir ? dir : "/usr/share/fonts/truetype/dejavu";
}

bool RasteriseFace(const std::string& path, int pixelSize, RasterFace* out, std::string* error)
{
    FT_Library library;
    if (FT_Init_FreeType(&library)) return *error = "the font library cannot start", false;
    FT_Face face;
    if (FT_New_Face(library, path.c_str(), 0, &face)) {
        FT_Done_FreeType(library);
        return *error = "cannot read the font " + path, false;
    }
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize));
    const int ascender = int(std::ceil(face->size->metrics.ascender / 64.0));
    const int descender = int(std::floor(face->size->metrics.descender / 64.0));
    const int height = ascender - descender + 2 * kOutline;
    const int baseline = kOutline + ascender;

    std::vector<Glyph> glyphs(kFontGlyphs);
    for (int g = 0; g < kFontGlyphs; ++g) {
        int code = g + kFontFirstCode;
        Glyph& gl = glyphs[g];
        // The C1 control codes have no glyphs: nothing drawn, no advance.
        if (code >= 127 && code < 160) continue;
        gl.index = FT_Get_Char_Index(face, FT_ULong(code));
        if (!gl.index || FT_Load_Glyph(face, gl.index, FT_LOAD_RENDER)) continue;
        FT_GlyphSlot slot = face->glyph;
        gl.advance = int(std::lround(slot->advance.x / 64.0));
        const FT_Bitmap& bm = slot->bitmap;
        if (bm.width == 0 || bm.rows == 0 || bm.pixel_mode != FT_PIXEL_MODE_GRAY) continue;
        gl.bitmapLeft = slot->bitmap_left;
        gl.bitmapTop = slot->bitmap_top;
        gl.columns = int(bm.width);
        gl.rows = int(bm.rows);
        gl.coverage.resize(size_t(gl.columns) * size_t(gl.rows));
        for (int y = 0; y < gl.rows; ++y)
            std::memcpy(&gl.coverage[size_t(y) * size_t(gl.columns)], bm.buffer + y * bm.pitch, size_t(gl.columns));
        gl.left = gl.bitmapLeft - kOutline;
        gl.width = gl.columns + 2 * kOutline;
    }

    // Cells in rows, one pixel apart so that filtering never mixes neighbours.
    const int sheetWidth = pixelSize <= 12 ? 256 : 512;
    int cx = 0, cy = 0;
    std::vector<int> cellX(kFontGlyphs), cellY(kFontGlyphs);
    for (int g = 0; g < kFontGlyphs; ++g) {
        if (cx + glyphs[g].width > sheetWidth) cx = 0, cy += height + 1;
        cellX[g] = cx, cellY[g] = cy;
        cx += glyphs[g].width + 1;
    }
    out->sheetWidth = sheetWidth;
    out->sheetHeight = cy + height;
    out->fill.assign(size_t(out->sheetWidth) * size_t(out->sheetHeight), 0);
    out->outline.assign(out->fill.size(), 0);
    for (int g = 0; g < kFontGlyphs; ++g) {
        const Glyph& gl = glyphs[g];
        for (int y = 0; y < gl.rows; ++y) {
            int sy = cellY[g] + baseline - gl.bitmapTop + y;
            if (sy < cellY[g] || sy >= cellY[g] + height) continue;  // ink beyond the cell is cut
            for (int x = 0; x < gl.columns; ++x)
                out->fill[size_t(sy) * size_t(sheetWidth) + size_t(cellX[g] + kOutline + x)] = gl.coverage[size_t(y) * size_t(gl.columns) + size_t(x)];
        }
        // The outline: the coverage spread by kOutline pixels, inside the cell.
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < gl.width; ++x) {
                uint8_t m = 0;
                for (int dy = -kOutline; dy <= kOutline; ++dy)
                    for (int dx = -kOutline; dx <= kOutline; ++dx) {
                        int sx = x + dx, sy = y + dy;
                        if (sx < 0 || sy < 0 || sx >= gl.width || sy >= height) continue;
                        m = std::max(m, out->fill[size_t(cellY[g] + sy) * size_t(sheetWidth) + size_t(cellX[g] + sx)]);
                    }
                out->outline[size_t(cellY[g] + y) * size_t(sheetWidth) + size_t(cellX[g] + x)] = m;
            }
    }

    out->info.assign(FontInfoBytes(kFontGlyphs), 0);
    std::vector<uint8_t>& info = out->info;
    Put16(info, 0, kFontGlyphs);
    Put16(info, 2, uint16_t(height));
    Put16(info, 4, uint16_t(int16_t(-kOutline)));  // outlines of neighbouring lines may touch
    Put16(info, 6, uint16_t(baseline));
    for (int g = 0; g < kFontGlyphs; ++g) {
        size_t at = sizeof(fontInfo_tag) + 8u * size_t(g);
        Put16(info, at, uint16_t(cellX[g]));
        Put16(info, at + 2, uint16_t(cellY[g]));
        Put16(info, at + 4, uint16_t(glyphs[g].width));
    }
    // Advances from the previous cell's left edge to the current one's: the previous glyph's
    // advance, the pair's kerning and the two cells' offsets from their origins.
    size_t table = sizeof(fontInfo_tag) + 8u * kFontGlyphs;
    for (int p = 0; p < kFontGlyphs; ++p)
        for (int c = 0; c < kFontGlyphs; ++c) {
            int kern = 0;
            if (FT_HAS_KERNING(face) && glyphs[p].index && glyphs[c].index) {
                FT_Vector delta;
                if (!FT_Get_Kerning(face, glyphs[p].index, glyphs[c].index, FT_KERNING_DEFAULT, &delta))
                    kern = int(std::lround(delta.x / 64.0));
            }
            int advance = glyphs[p].advance + kern + glyphs[c].left - glyphs[p].left;
            info[table + size_t(p) * kFontGlyphs + size_t(c)] = uint8_t(std::clamp(advance, 0, 255));
        }

    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return true;
}

RgbaImage ColourSheet(const RasterFace& face, const uint8_t fill[3])
{
    RgbaImage image(face.sheetWidth, face.sheetHeight);
    for (size_t i = 0; i < face.fill.size(); ++i) {
        int f = face.fill[i], o = face.outline[i];
        int a = std::max(f, o);
        uint8_t* p = &image.rgba[i * 4];
        if (!a) continue;
        // The fill over the outline, as straight (not premultiplied) colour.
        for (int k = 0; k < 3; ++k) p[k] = uint8_t((fill[k] * f + kOutlineColour[k] * (a - f)) / a);
        p[3] = uint8_t(a);
    }
    return image;
}

std::vector<Resource> FontContent()
{
    std::vector<Resource> content;
    for (const FontFaceSpec& spec : FontFaces()) {
        RasterFace face;
        std::string error;
        if (!RasteriseFace(FontDirectory() + "/" + spec.file, spec.pixelSize, &face, &error)) {
            std::fprintf(stderr, "mkrom: font %d: %s\n", spec.infoId, error.c_str());
            std::exit(1);
        }
        Resource info;
        info.id = spec.infoId;
        info.type = kResourceTypeFontInfo;
        info.bytes = face.info;
        info.compressed = true;
        content.push_back(std::move(info));
        for (const FontSpec& font : Fonts())
            if (font.infoId == spec.infoId)
                content.push_back(BitmapResource(font.bitmapId, ColourSheet(face, font.fill), kPixelRGBA8, 1, spec.infoId));
    }
    return content;
}

}  // namespace mkrom
