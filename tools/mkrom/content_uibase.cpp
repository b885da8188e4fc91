// The UI framework's own archive, beside the game data: the logo (resource 1) and one font per
// display size (information and glyph sheet: 6 and 7 for the standard display, 4 and 5 and 2 and 3
// for the larger ones). The menus draw with the game's fonts; the framework's font is what a
// widget without a font of its own falls back to, so it is the plain body face in white.
#include "content_uibase.h"

#include <filesystem>
#include <vector>

#include "archive_writer.h"
#include "bitmap_writer.h"
#include "canvas.h"
#include "content_fonts.h"
#include "host/gpu.h"
#include "lib/resourceids.h"

namespace mkrom {

namespace {

// The framework's mark: a ball before a pin on a navy disc with a gold rim.
RgbaImage Logo()
{
    RgbaImage im(64, 64);
    Fill(&im, Circle(32, 32, 31), Solid(Rgba{232, 184, 64, 255}));
    Fill(&im, Circle(32, 32, 28), VGradient(4, Rgba{40, 64, 128, 255}, 60, Rgba{12, 20, 52, 255}));
    Fill(&im, Union(RoundRect(36, 12, 10, 14, 5), RoundRect(34, 22, 14, 26, 7)), Solid(Rgba{245, 245, 245, 255}));
    Fill(&im, RoundRect(36, 24, 10, 3, 1), Solid(Rgba{200, 40, 40, 255}));
    Fill(&im, Circle(25, 40, 12), VGradient(28, Rgba{190, 40, 60, 255}, 52, Rgba{90, 10, 30, 255}));
    return im;
}

struct UiFont {
    int infoId, bitmapId, pixelSize;
};

}  // namespace

bool WriteUiBaseArchive(const std::string& dir, std::string* error)
{
    static const UiFont kFonts[] = {
        {kUiBaseFontInfoLarge, kUiBaseFontLarge, 22},
        {kUiBaseFontInfoMedium, kUiBaseFontMedium, 16},
        {kUiBaseFontInfo, kUiBaseFont, 11},
    };
    std::vector<Resource> content;
    content.push_back(BitmapResource(kUiBaseLogo, Logo(), kPixelRGBA8));
    const uint8_t white[3] = {255, 255, 255};
    for (const UiFont& font : kFonts) {
        RasterFace face;
        if (!RasteriseFace(FontDirectory() + "/DejaVuSans.ttf", font.pixelSize, &face, error)) return false;
        Resource info;
        info.id = font.infoId;
        info.type = kResourceTypeFontInfo;
        info.bytes = face.info;
        info.compressed = true;
        content.push_back(std::move(info));
        content.push_back(BitmapResource(font.bitmapId, ColourSheet(face, white), kPixelRGBA8, 1, font.infoId));
    }
    std::error_code ec;
    std::filesystem::create_directories(dir + "/Resource", ec);
    if (ec) {
        if (error) *error = "cannot make " + dir + "/Resource: " + ec.message();
        return false;
    }
    return WriteArchive(dir + "/Resource/BasicUiRez.rez", kUiBaseLogo, kUiBaseFont - kUiBaseLogo + 1, std::move(content),
                        error);
}

}  // namespace mkrom
