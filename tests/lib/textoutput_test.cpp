// Text layout with a font made by the test: widths with kerning pairs, alignment, line feeds,
// {n} escapes, truncation, quads for callers, the formatting buffer, and glyph codes beyond a
// font's glyph table. The glyphs go to the 2D quad batcher, whose vertices show where each landed.
#include "lib/textoutput.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "lib/memory.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "platform/gpu_recording.h"
#include "platform/quads.h"
#include "support/device_heap.h"

namespace {

constexpr int kInfoId = 3050, kFontId = 3052, kSmallInfoId = 3053, kSmallFontId = 3054, kPlainBitmapId = 3055;
constexpr int kHeight = 10, kInterrow = 2;

// Glyph widths: 6 by default, 'W' 10, the space 0. Advances: 7 by default, "AV" 5.
int Width(int code) { return code == 'W' ? 10 : code == ' ' ? 0 : 6; }
int Advance(int previous, int code) { return previous == 'A' && code == 'V' ? 5 : 7; }

struct Embedded {
    std::vector<int> items;
    std::vector<int> xs;
};
// Draws nothing; moves the pen 20 pixels on and notes what it was asked for.
int EmbedTwenty(void* context, int n, int* x, int*)
{
    if (context != reinterpret_cast<void*>(&TextOutputEmbeddedLineLength)) {
        static_cast<Embedded*>(context)->items.push_back(n);
        static_cast<Embedded*>(context)->xs.push_back(*x);
    }
    *x += 20;
    return 1;
}

class TextOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(4 << 20), 1);
        ASSERT_EQ(InitResources(10000), 1);
        ASSERT_EQ(InitOverlays(64), 1);
        ASSERT_EQ(StartFrameOverlays(), 1);
        displayID = kDisplayLower;
        s_ActiveShader = -1;
        RenderDisableParallax();
        RenderSetZLevel(0.0f);
        RenderSetTexture(nullptr);
        frameBufferLower.width = 320;
        frameBufferLower.height = 240;
        ScreenChangeDisplayMode();
        textBuffer = nullptr;
        textBufferSize = -1;
        ASSERT_EQ(TextOutputInitialize(256), 1);
        theFont = nullptr;
        fontTable = nullptr;
        currentFontRSID = -1;
        ASSERT_TRUE(MakeFont(kInfoId, kFontId, kFontGlyphs));
        ASSERT_EQ(TextOutputSelectFont(kFontId), 1);
        TextOutputSetMode(kTextModeLeft);
    }
    void TearDown() override
    {
        // The text state is global: leave it as a fresh start has it.
        TextOutputDispose();
        TextOutputSetMode(kTextModeLeft);
        TextOutputSetPosition(0, 0);
        theFont = nullptr;
        fontTable = nullptr;
        currentFontRSID = -1;
        DisposeOverlays();
        FreeResources();
        ReleaseDeviceHeap();
        s_ActiveShader = -1;
    }

    static void Install(int id, void* data, int32_t size, int type)
    {
        resourceHeader& r = resourceHeaders[id];
        r.resourceType = int16_t(type);
        r.resourceUncompressedLength = size;
        r.resourceLength = size;
        r.resourceHandle = static_cast<uint8_t*>(data);
    }
    // A font with `glyphs` glyph records; glyph g's cell is at (8g mod 256, 16 (8g / 256)).
    static bool MakeFont(int infoId, int fontId, int glyphs)
    {
        uint32_t infoBytes = FontInfoBytes(uint32_t(glyphs));
        void* p = nullptr;
        if (!AllocateClearedMemory(&p, int(infoBytes))) return false;
        auto* info = static_cast<fontInfo_tag*>(p);
        info->numCharacters = uint16_t(glyphs);
        info->characterHeight = kHeight;
        info->verticalKerning = kInterrow;
        auto* records = reinterpret_cast<bigFontCharacter*>(info + 1);
        for (int g = 0; g < glyphs; ++g)
            records[g] = {uint16_t(8 * g % 256), uint16_t(16 * (8 * g / 256)), uint16_t(Width(g + 32)), 0};
        uint8_t* travels = reinterpret_cast<uint8_t*>(records + glyphs);
        for (int a = 0; a < kFontGlyphs; ++a)
            for (int b = 0; b < kFontGlyphs; ++b) travels[a * kFontGlyphs + b] = uint8_t(Advance(a + 32, b + 32));
        Install(infoId, p, int32_t(infoBytes), kResourceTypeFontInfo);
        if (!InitializeFontInfoResourceBounded(static_cast<uint8_t*>(p), int32_t(infoBytes))) return false;
        DS3_bitmap_tag* b = MakeBitmap(fontId, 256, 128);
        if (!b) return false;
        b->flags = kBitmapFontTable;
        b->fontTable.offset = uint32_t(infoId);
        return InitializeBitmapResource(reinterpret_cast<uint8_t*>(b), int32_t(sizeof(DS3_bitmap_tag) + 256 * 128));
    }
    static DS3_bitmap_tag* MakeBitmap(int id, int w, int h)
    {
        int32_t length = int32_t(sizeof(DS3_bitmap_tag)) + w * h;
        void* p = nullptr;
        if (!AllocateClearedMemory(&p, length)) return nullptr;
        auto* b = static_cast<DS3_bitmap_tag*>(p);
        b->width = b->physicalWidth = uint16_t(w);
        b->height = b->physicalHeight = uint16_t(h);
        b->pitch = uint16_t(w);
        b->pixelFormat = kPixelA8;
        b->numMipmapLevels = 1;
        b->widthInv = 1.0f / float(w);
        b->heightInv = 1.0f / float(h);
        Install(id, p, length, kResourceTypeBitmap);
        if (id == kPlainBitmapId && !InitializeBitmapResource(static_cast<uint8_t*>(p), length)) return nullptr;
        return b;
    }

    // Left and top of quad n, and its source corner.
    static float QuadX(uint32_t n) { return overlayBuffers[overlayBufferNum].vertices[4 * n].x; }
    static float QuadY(uint32_t n) { return overlayBuffers[overlayBufferNum].vertices[4 * n].y; }
    static float QuadRight(uint32_t n) { return overlayBuffers[overlayBufferNum].vertices[4 * n + 3].x; }
    static float QuadU(uint32_t n) { return overlayBuffers[overlayBufferNum].vertices[4 * n].u; }

    GpuRecording rec;
};

TEST_F(TextOutput, WidthsSumAdvancesAndTheLastGlyph)
{
    EXPECT_EQ(TextOutputLineLength("A"), 6);
    EXPECT_EQ(TextOutputLineLength("AB"), 7 + 6);
    EXPECT_EQ(TextOutputLineLength("AV"), 5 + 6) << "a kerning pair";
    EXPECT_EQ(TextOutputLineLength("BW"), 7 + 10);
    EXPECT_EQ(TextOutputLineLength(""), 0);
    EXPECT_EQ(TextOutputLineLength("AB\nWWWW"), 13) << "measured to the line feed";
    EXPECT_EQ(TextOutputLineLength("A "), 7) << "a trailing zero-width space adds its advance only";
    EXPECT_EQ(TextOutputSubstringLength("ABCDEF", 2), 13);
    EXPECT_EQ(TextOutputSubstringLength("AB", 9), 13);
    EXPECT_EQ(TextOutputSubstringLength("AB", 0), 0);
    EXPECT_EQ(TextOutputGetLineLength("AB\n\nW", 1), 13);
    EXPECT_EQ(TextOutputGetLineLength("AB\n\nW", 2), 0) << "an empty line";
    EXPECT_EQ(TextOutputGetLineLength("AB\n\nW", 3), 10);
    EXPECT_EQ(TextOutputGetLineLength("AB\n\nW", 4), 0) << "beyond the last line";
    // Codes from 128 have glyphs of their own (c - 32).
    EXPECT_EQ(TextOutputLineLength("\xE9\xE9"), 13);
    EXPECT_EQ(TextOutputGetFontHeight(), kHeight);
    EXPECT_EQ(TextOutputGetInterrowSpacing(), kInterrow);
    EXPECT_EQ(TextOutputGetFontRSID(), kFontId);
}

TEST_F(TextOutput, AlignmentOfEachLine)
{
    // 13 default glyphs and a 'W': 13 x 7 + 10 = 101 pixels.
    TextOutputSetMode(kTextModeCenter);
    ASSERT_EQ(TextOutputDrawDirect(160, 50, "ABCDEFGHIJKLMW"), 1);
    ASSERT_EQ(numOverlayPolys, 14u);
    EXPECT_FLOAT_EQ(QuadX(0), 110.0f);
    EXPECT_FLOAT_EQ(QuadY(0), 50.0f);
    EXPECT_EQ(textX, 110 + 101) << "the pen ends right after the text";

    // Right alignment over two lines of different widths: both end at x 300.
    ASSERT_EQ(StartFrameOverlays(), 1);
    TextOutputSetMode(kTextModeRight);
    ASSERT_EQ(TextOutputDrawDirect(300, 20, "AB\nCDEW"), 1);
    ASSERT_EQ(numOverlayPolys, 6u);
    EXPECT_FLOAT_EQ(QuadRight(1), 300.0f);
    EXPECT_FLOAT_EQ(QuadRight(5), 300.0f);
    EXPECT_FLOAT_EQ(QuadY(2), 20.0f + kHeight + kInterrow);
    EXPECT_FLOAT_EQ(QuadX(2), 300.0f - (3 * 7 + 10));

    // Left: the pen carries over, so a second draw continues the line.
    ASSERT_EQ(StartFrameOverlays(), 1);
    TextOutputSetMode(kTextModeLeft);
    TextOutputSetPosition(10, 5);
    ASSERT_EQ(TextOutputFormat("%d", 42), 1);
    ASSERT_EQ(TextOutputDraw(), 1);
    ASSERT_EQ(TextOutputDraw(), 1);
    ASSERT_EQ(numOverlayPolys, 4u);
    EXPECT_FLOAT_EQ(QuadX(2), 10.0f + 13.0f);
}

TEST_F(TextOutput, ZeroWidthGlyphsAdvanceWithoutDrawing)
{
    ASSERT_EQ(TextOutputDrawDirect(0, 0, "A B"), 1);
    ASSERT_EQ(numOverlayPolys, 2u) << "the space draws nothing";
    EXPECT_FLOAT_EQ(QuadX(1), 14.0f);
    // Source cells come from the glyph records: 'B' is glyph 34 at x 272 mod 256.
    EXPECT_FLOAT_EQ(QuadU(1), 16.0f / 256.0f);
}

TEST_F(TextOutput, EscapesInEmbeddedText)
{
    Embedded seen;
    // An escape starts at the previous glyph's left edge; after it there is no previous glyph.
    ASSERT_EQ(TextOutputDrawEmbedded(10, 30, "AB{7}CD", &seen, EmbedTwenty), 1);
    ASSERT_EQ(seen.items, std::vector<int>{7});
    ASSERT_EQ(seen.xs, std::vector<int>{17});
    ASSERT_EQ(numOverlayPolys, 4u);
    EXPECT_FLOAT_EQ(QuadX(2), 37.0f);
    EXPECT_EQ(leftMargin, 10);
    EXPECT_EQ(TextOutputEmbeddedLineLength("AB{7}CD", EmbedTwenty), 7 + 20 + 7 + 6);
    EXPECT_EQ(TextOutputEmbeddedLineLength("{1}", EmbedTwenty), 20);

    // Centred embedded text is measured with its escapes.
    ASSERT_EQ(StartFrameOverlays(), 1);
    TextOutputSetMode(kTextModeCenter);
    ASSERT_EQ(TextOutputDrawEmbedded(100, 0, "{1}A", &seen, EmbedTwenty), 1);
    EXPECT_EQ(seen.xs.back(), 100 - (26 >> 1));
    TextOutputSetMode(kTextModeLeft);

    // Without a callback the escape draws nothing and the text goes on.
    ASSERT_EQ(StartFrameOverlays(), 1);
    ASSERT_EQ(TextOutputDrawEmbedded(0, 0, "A{9}B", nullptr, nullptr), 1);
    EXPECT_EQ(numOverlayPolys, 2u);

    // A brace that is not closed stops the text after what came before it.
    ASSERT_EQ(StartFrameOverlays(), 1);
    EXPECT_EQ(TextOutputDrawEmbedded(0, 0, "AB{9", nullptr, nullptr), 0);
    EXPECT_EQ(numOverlayPolys, 2u);
    EXPECT_EQ(TextOutputDrawEmbedded(0, 0, "{9x}", nullptr, nullptr), 0);
    EXPECT_EQ(TextOutputEmbeddedLineLength("AB{9", EmbedTwenty), 0);

    // Embedded text is drawn as it stands, never as a format.
    ASSERT_EQ(StartFrameOverlays(), 1);
    ASSERT_EQ(TextOutputDrawEmbedded(0, 0, "100%d%s", nullptr, nullptr), 1);
    EXPECT_EQ(numOverlayPolys, 7u);
    // Outside embedded text a brace is an ordinary glyph.
    EXPECT_EQ(TextOutputLineLength("{9"), 13);
}

TEST_F(TextOutput, TruncationAtTheSummedAdvance)
{
    TextOutputFormat("%s", "ABCD");
    TextOutputTruncateLine(50, '.');
    EXPECT_STREQ(textBuffer, "ABCD") << "narrower than 50";
    TextOutputFormat("%s", "ABCDEFGHIJ");
    TextOutputTruncateLine(21, '.');
    EXPECT_STREQ(textBuffer, "ABC.") << "the fourth glyph brings the sum to 21";
}

TEST_F(TextOutput, TilesForCallersThatPlaceThem)
{
    ScreenPolyData tiles[8];
    int w = -1, h = -1;
    TextOutputFormat("%s", "A B\nW");
    ASSERT_EQ(TextOutputGenerateTiles(tiles, 8, &w, &h), 1);
    EXPECT_EQ(tiles[1].w, 0) << "zero-width glyphs get a quad too";
    EXPECT_EQ(tiles[2].x, 14);
    EXPECT_EQ(tiles[3].x, 0);
    EXPECT_EQ(tiles[3].y, kHeight + kInterrow);
    EXPECT_EQ(tiles[3].sh, kHeight);
    EXPECT_EQ(tiles[3].theBitmap, theFont);
    EXPECT_EQ(w, 10);
    EXPECT_EQ(h, kHeight + (kHeight + kInterrow) + kInterrow);
    // At most max quads.
    ASSERT_EQ(TextOutputGenerateTiles(tiles, 2, &w, nullptr), 1);
    EXPECT_EQ(w, 7 + 0);

    // One line at a time: the result is where the next line starts.
    const char* text = "AB\nWA";
    EXPECT_EQ(TextOutputGenerateTilesMultiLine(text, tiles, 8, &w, &h), 3);
    EXPECT_EQ(w, 7) << "after a line feed the last glyph's width is not added";
    EXPECT_EQ(h, kHeight + kInterrow);
    EXPECT_EQ(TextOutputGenerateTilesMultiLine(text + 3, tiles, 8, &w, &h), 3);
    EXPECT_EQ(w, 13);
    EXPECT_EQ(tiles[1].y, 0);
}

TEST_F(TextOutput, CharactersBeyondAShortGlyphTableDrawNothing)
{
    // A font with glyphs for codes 32-127 only.
    ASSERT_TRUE(MakeFont(kSmallInfoId, kSmallFontId, 96));
    ASSERT_EQ(TextOutputSelectFont(kSmallFontId), 1);
    EXPECT_EQ(TextOutputLineLength("A\xE9"), 7);
    ASSERT_EQ(TextOutputDrawDirect(0, 0, "A\xFF" "B"), 1);
    EXPECT_EQ(numOverlayPolys, 2u);
    EXPECT_FLOAT_EQ(QuadX(1), 14.0f);
}

TEST_F(TextOutput, FontsAndTheirInformationAreChecked)
{
    // Not loaded, or a bitmap without font information: nothing changes.
    EXPECT_EQ(TextOutputSelectFont(3099), 0);
    ASSERT_NE(MakeBitmap(kPlainBitmapId, 8, 8), nullptr);
    EXPECT_EQ(TextOutputSelectFont(kPlainBitmapId), 0);
    EXPECT_EQ(TextOutputGetFontRSID(), kFontId);

    // Font information lives in game memory, as a loaded resource does.
    const int32_t bytes = int32_t(FontInfoBytes(10));
    void* p = nullptr;
    ASSERT_EQ(AllocateClearedMemory(&p, bytes), 1);
    auto* data = static_cast<uint8_t*>(p);
    auto* info = static_cast<fontInfo_tag*>(p);
    info->numCharacters = 10;
    EXPECT_EQ(InitializeFontInfoResourceBounded(data, bytes - 1), 0);
    EXPECT_EQ(InitializeFontInfoResourceBounded(data, 8), 0);
    info->numCharacters = 300;
    EXPECT_EQ(InitializeFontInfoResourceBounded(data, bytes), 0);
    info->numCharacters = 10;
    ASSERT_EQ(InitializeFontInfoResourceBounded(data, bytes), 1);
    EXPECT_EQ(info->travels.get(), data + 16 + 80);
}

TEST_F(TextOutput, TheBufferTruncatesAndCanGo)
{
    std::string longText(400, 'A');
    ASSERT_EQ(TextOutputFormat("%s", longText.c_str()), 1);
    EXPECT_LE(std::strlen(textBuffer), 256u);
    EXPECT_GT(std::strlen(textBuffer), 200u);
    ASSERT_EQ(TextOutputInitialize(10), 1) << "a second call keeps the buffer";
    EXPECT_EQ(textBufferSize, 257);
    ASSERT_EQ(TextOutputDispose(), 1);
    EXPECT_EQ(textBufferSize, -1);
    EXPECT_EQ(TextOutputDrawDirect(0, 0, "A"), 0) << "no buffer, nothing to draw";
    int before = cursorTimer;
    TextOutputUpdateCursorTimer();
    EXPECT_EQ(cursorTimer, before + 33);
}

}  // namespace
