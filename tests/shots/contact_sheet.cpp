// A contact sheet of a tour of the screens: each frame's upper screen over its lower screen, in a
// grid, with a label under each, all on one PNG.
//
//   contact_sheet OUT.png COLUMNS LABEL UPPER.png LOWER.png [LABEL UPPER.png LOWER.png]...
//
// The labels are written in capitals with a small built-in 5 x 7 font (letters, digits and a few
// signs; anything else shows as a blank). Exits 0 when the sheet is written, 2 for bad arguments
// or an image that cannot be read or written.
#include <png.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

bool ReadPng(const char* path, Image* out)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) {
        std::fprintf(stderr, "contact_sheet: %s: %s\n", path, image.message);
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    out->width = int(image.width);
    out->height = int(image.height);
    out->rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out->rgb.data(), 0, nullptr)) {
        std::fprintf(stderr, "contact_sheet: %s: %s\n", path, image.message);
        png_image_free(&image);
        return false;
    }
    return true;
}

// The 5 x 7 glyphs: seven rows each, the leftmost pixel in bit 4.
struct Glyph {
    char c;
    unsigned char rows[7];
};
const Glyph kGlyphs[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}}, {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}}, {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}}, {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}}, {',', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}},
    {'/', {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}}, {'(', {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}},
    {')', {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}}, {'?', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}},
    {'\'', {0x04, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00}}, {'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}},
    {'&', {0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D}}, {'#', {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A}},
};

const unsigned char* GlyphRows(char c)
{
    c = char(std::toupper((unsigned char)c));
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return g.rows;
    return nullptr;
}

// Each font pixel is drawn kTextScale x kTextScale.
const int kTextScale = 2;
const int kUpperW = 400, kLowerW = 320, kScreenH = 240;
const int kGap = 8;
const int kLabelH = 7 * kTextScale + 8;
const int kCellW = kUpperW + kGap, kCellH = 2 * kScreenH + kLabelH + kGap;

struct Sheet {
    int width, height;
    std::vector<unsigned char> rgb;
    void Put(int x, int y, const unsigned char* p)
    {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        std::memcpy(&rgb[(size_t(y) * size_t(width) + size_t(x)) * 3], p, 3);
    }
};

// Copies the image into the sheet with its top-left corner at (x, y), within w x h.
void Paste(Sheet* sheet, const Image& image, int x, int y, int w, int h)
{
    for (int row = 0; row < image.height && row < h; ++row)
        for (int col = 0; col < image.width && col < w; ++col)
            sheet->Put(x + col, y + row, &image.rgb[(size_t(row) * size_t(image.width) + size_t(col)) * 3]);
}

void Label(Sheet* sheet, const std::string& text, int x, int y)
{
    static const unsigned char white[3] = {255, 255, 255};
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char* rows = GlyphRows(text[i]);
        const int gx = x + int(i) * 6 * kTextScale;
        if (gx + 5 * kTextScale > x + kUpperW) break;
        for (int r = 0; rows && r < 7; ++r)
            for (int c = 0; c < 5; ++c)
                if (rows[r] & (0x10 >> c))
                    for (int dy = 0; dy < kTextScale; ++dy)
                        for (int dx = 0; dx < kTextScale; ++dx)
                            sheet->Put(gx + c * kTextScale + dx, y + r * kTextScale + dy, white);
    }
}

bool WritePng(const char* path, const Sheet& sheet)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(sheet.width);
    image.height = png_uint_32(sheet.height);
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path, 0, sheet.rgb.data(), 0, nullptr)) {
        std::fprintf(stderr, "contact_sheet: %s: %s\n", path, image.message);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const int columns = argc > 2 ? std::atoi(argv[2]) : 0;
    if (argc < 6 || (argc - 3) % 3 != 0 || columns < 1) {
        std::fprintf(stderr, "usage: contact_sheet OUT.png COLUMNS LABEL UPPER.png LOWER.png [LABEL UPPER.png LOWER.png]...\n");
        return 2;
    }
    const int cells = (argc - 3) / 3;
    const int across = cells < columns ? cells : columns;
    Sheet sheet;
    sheet.width = across * kCellW + kGap;
    sheet.height = ((cells + columns - 1) / columns) * kCellH + kGap;
    sheet.rgb.assign(size_t(sheet.width) * size_t(sheet.height) * 3, 48);
    for (int i = 0; i < cells; ++i) {
        const int x = kGap + (i % columns) * kCellW, y = kGap + (i / columns) * kCellH;
        Image upper, lower;
        if (!ReadPng(argv[3 + 3 * i + 1], &upper) || !ReadPng(argv[3 + 3 * i + 2], &lower)) return 2;
        Paste(&sheet, upper, x, y, kUpperW, kScreenH);
        Paste(&sheet, lower, x + (kUpperW - kLowerW) / 2, y + kScreenH, kLowerW, kScreenH);
        Label(&sheet, argv[3 + 3 * i], x, y + 2 * kScreenH + 4);
    }
    return WritePng(argv[1], sheet) ? 0 : 2;
}
