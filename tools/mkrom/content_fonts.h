// The game's fonts (content_fonts.cpp): glyph sheets rasterised from the DejaVu faces. Each font
// is a bitmap (type 125, RGBA8) that names a font information resource (type 24); fonts that
// differ only in colour share one information resource. Information resources take lower ids
// than the bitmaps that name them, because a range is loaded in id order and a bitmap's font
// information must be loaded before the bitmap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "bitmap_writer.h"

namespace mkrom {

// One face at one pixel size: the glyph layout shared by its coloured fonts.
struct FontFaceSpec {
    int infoId;
    const char* file;  // a file of the DejaVu family
    int pixelSize;
};

// One font: its bitmap id, the face it uses, its fill colour.
struct FontSpec {
    int bitmapId;
    int infoId;
    uint8_t fill[3];
};

const std::vector<FontFaceSpec>& FontFaces();
const std::vector<FontSpec>& Fonts();

// Where the DejaVu font files are (ZENDROLYX_FONT_DIR overrides the system folder).
std::string FontDirectory();

// A rasterised face: the font information resource's bytes and, per glyph, its coverage (fill)
// and outline coverage in a sheet of sheetWidth x sheetHeight.
struct RasterFace {
    std::vector<uint8_t> info;
    int sheetWidth = 0, sheetHeight = 0;
    std::vector<uint8_t> fill, outline;  // sheetWidth x sheetHeight each
};
// False with a reason when the face cannot be read.
bool RasteriseFace(const std::string& path, int pixelSize, RasterFace* out, std::string* error);
// The sheet in a fill colour with a dark outline.
RgbaImage ColourSheet(const RasterFace& face, const uint8_t fill[3]);

std::vector<Resource> FontContent();

}  // namespace mkrom
