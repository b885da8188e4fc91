// The fonts and overlay images that mkrom makes: the id rules the loader depends on, the glyph
// sheets' cells, and the build's game data loaded and measured by the game's own text code.
#include "content_fonts.h"

#include <gtest/gtest.h>

#include <set>

#include "content_overlays.h"
#include "lib/memory.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/textoutput.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

using mkrom::FontFaces;
using mkrom::Fonts;

TEST(FontContent, InformationLoadsBeforeEverySheetThatNamesIt)
{
    std::set<int> infos, ids;
    for (const auto& face : FontFaces()) {
        infos.insert(face.infoId);
        EXPECT_TRUE(ids.insert(face.infoId).second) << face.infoId;
    }
    for (const auto& font : Fonts()) {
        EXPECT_TRUE(ids.insert(font.bitmapId).second) << font.bitmapId << " is used twice";
        EXPECT_TRUE(infos.count(font.infoId)) << font.bitmapId;
        // The start-up range is loaded in id order; the keyboard's font is a range of its own.
        EXPECT_LT(font.infoId, font.bitmapId);
        if (font.bitmapId == kUiKeyboardFont) {
            EXPECT_EQ(font.infoId, kUiKeyboardFontInfo);
            continue;
        }
        EXPECT_GE(font.infoId, 3050);
        EXPECT_LE(font.bitmapId, 3084);
    }
    // The fonts the game selects by id.
    for (int id : {3052, 3057, 3059, 3061, 3063, 3065, 3066, 3068, 3070, 3071, 3073, 3075, 3076, 3077, 3079, 3080, 3083})
        EXPECT_TRUE(ids.count(id) && !infos.count(id)) << "font " << id;
}

TEST(FontContent, GlyphCellsHoldTheirInkAndNothingElse)
{
    mkrom::RasterFace face;
    std::string error;
    ASSERT_TRUE(mkrom::RasteriseFace(mkrom::FontDirectory() + "/DejaVuSans-Bold.ttf", 12, &face, &error)) << error;
    const auto* info = reinterpret_cast<const fontInfo_tag*>(face.info.data());
    const auto* glyphs = reinterpret_cast<const bigFontCharacter*>(face.info.data() + sizeof(fontInfo_tag));
    ASSERT_EQ(info->numCharacters, kFontGlyphs);
    ASSERT_EQ(face.info.size(), FontInfoBytes(kFontGlyphs));
    const int h = info->characterHeight;
    EXPECT_GE(h, 12);
    EXPECT_EQ(glyphs[' ' - 32].width, 0) << "a space has no ink";
    EXPECT_EQ(glyphs[0x85 - 32].width, 0) << "control codes have no glyph";
    EXPECT_GT(glyphs['W' - 32].width, glyphs['i' - 32].width);
    EXPECT_GT(glyphs[0xC9 - 32].width, 0) << "Latin-1 letters have glyphs";

    // Mark every cell; no ink (fill or outline) may lie outside the cells, so neighbours never
    // bleed into each other.
    std::vector<uint8_t> inCell(face.fill.size(), 0);
    for (int g = 0; g < kFontGlyphs; ++g) {
        ASSERT_LE(glyphs[g].Xoffset + glyphs[g].width, face.sheetWidth) << g;
        ASSERT_LE(glyphs[g].Yoffset + h, face.sheetHeight) << g;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < glyphs[g].width; ++x) inCell[size_t(glyphs[g].Yoffset + y) * face.sheetWidth + glyphs[g].Xoffset + x] = 1;
    }
    for (size_t i = 0; i < inCell.size(); ++i) {
        if (inCell[i]) continue;
        ASSERT_EQ(face.outline[i], 0) << "ink outside the cells at " << i % face.sheetWidth << ", " << i / face.sheetWidth;
    }
    // Glyphs do not overlap in a word: each left edge is past the previous one.
    const uint8_t* advance = face.info.data() + sizeof(fontInfo_tag) + 8 * kFontGlyphs;
    for (char a : std::string("AVWaoj1/"))
        for (char b : std::string("AVWaoj1/")) EXPECT_GT(advance[(a - 32) * kFontGlyphs + (b - 32)], 0) << a << b;
}

class BuildFonts : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        ASSERT_EQ(LoadResourceRange1x1(3050, 3084), 1);
        ASSERT_EQ(LoadResourceRange1x1(kUiKeyboardFontInfo, kUiKeyboardFont), 1);
    }
    void TearDown() override
    {
        theFont = nullptr;
        fontTable = nullptr;
        currentFontRSID = -1;
        CloseBuildGameData();
        ReleaseDeviceHeap();
    }
    static DS3_bitmap_tag* Bitmap(int id)
    {
        void* p = nullptr;
        return GetResourceHandle(id, &p) ? static_cast<DS3_bitmap_tag*>(p) : nullptr;
    }
};

TEST_F(BuildFonts, EveryFontLoadsAndFitsWhereTheGameWritesIt)
{
    for (const auto& font : Fonts()) {
        ASSERT_EQ(TextOutputSelectFont(font.bitmapId), 1) << font.bitmapId;
        EXPECT_GT(TextOutputLineLength("Bowl 300"), 0) << font.bitmapId;
    }
    // "Game Over" centred on the screen.
    ASSERT_EQ(TextOutputSelectFont(3071), 1);
    EXPECT_LT(TextOutputLineLength("Game Over"), 300);
    EXPECT_GE(TextOutputGetFontHeight(), 28);
    // The small rows' marks stand 5 pixels apart: their digits stay narrow.
    ASSERT_EQ(TextOutputSelectFont(3063), 1);
    for (char d = '0'; d <= '9'; ++d) EXPECT_LE(TextOutputLineLength(std::string(1, d).c_str()), 8) << d;
    // Body text: a message box line of a usual height.
    ASSERT_EQ(TextOutputSelectFont(3077), 1);
    EXPECT_GE(TextOutputGetFontHeight(), 12);
    EXPECT_LE(TextOutputGetFontHeight(), 20);
    EXPECT_LT(TextOutputLineLength("attempt 10 for 200 points"), 260);
}

TEST_F(BuildFonts, OverlayImagesAndTheSplashLoad)
{
    ASSERT_EQ(LoadResourceRange1x1(3200, 3299), 1);
    DS3_bitmap_tag* glyphs = Bitmap(3207);
    ASSERT_NE(glyphs, nullptr);
    EXPECT_GE(glyphs->width, 245);
    EXPECT_GE(glyphs->height, 234) << "the Y glyph's cell ends at 234";
    for (int id : {3260, 3270, 3289, 3296}) {
        DS3_bitmap_tag* b = Bitmap(id);
        ASSERT_NE(b, nullptr) << id;
        EXPECT_EQ(b->width, 320);
        EXPECT_EQ(b->height, 240);
    }
    // The score sheet scrolls by up to 30 percent of its width and must then still show the tenth
    // frame (x 399 on) within the screen.
    DS3_bitmap_tag* sheet = Bitmap(3263);
    ASSERT_NE(sheet, nullptr);
    EXPECT_LE(sheet->width - int(0.3f * sheet->width), 320);
    EXPECT_GE(sheet->width, 440);

    void* splash = ReadResource(kSplashImage);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(static_cast<DS3_bitmap_tag*>(splash)->width, 320);
    EXPECT_EQ(DisposeResource(kSplashImage), 1);
    EXPECT_EQ(DisposeResourceRange(3200, 3299), 1);
}

}  // namespace
