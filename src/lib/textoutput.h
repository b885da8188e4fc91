// Proportional bitmap-font text on the 2D screens: fonts with pair kerning, alignment, multi-line
// layout, {n} escapes that embed graphics in a line, and text turned into lists of quads.
#pragma once

#include <cstdint>

#include "host/ptr32.h"
#include "lib/resourceids.h"
#include "platform/bitmap.h"
#include "platform/quads.h"

enum { kTextModeLeft = 0, kTextModeRight = 1, kTextModeCenter = 2 };

// Character codes 32-255 have glyphs; codes below 32 end a line of text, except the line feed.
constexpr int kFontFirstCode = 32;
constexpr int kFontGlyphs = 224;

// One glyph: its cell in the font image and its drawn width.
struct bigFontCharacter {
    uint16_t Xoffset;
    uint16_t Yoffset;
    uint16_t width;
    uint16_t pad;
};
static_assert(sizeof(bigFontCharacter) == 8, "glyph records are 8 bytes");

// The font information resource (type 24): this header, numCharacters glyph records, then the
// kFontGlyphs x kFontGlyphs advance table, entry [previous][current] the pixels from the previous
// glyph's left edge to the current glyph's left edge.
struct fontInfo_tag {
    uint16_t numCharacters;
    uint16_t characterHeight;
    int16_t verticalKerning;  // extra space between lines
    uint16_t baseline;        // not used by the layout
    Ptr32<bigFontCharacter> characters;
    Ptr32<uint8_t> travels;
};
static_assert(sizeof(fontInfo_tag) == 16, "font information header is 16 bytes");

// Bytes of a font information resource with numCharacters glyph records.
constexpr uint32_t FontInfoBytes(uint32_t numCharacters)
{
    return uint32_t(sizeof(fontInfo_tag)) + 8u * numCharacters + uint32_t(kFontGlyphs * kFontGlyphs);
}

// Called by embedded text for an escape {n}: draws item n at (*x, *y) and moves *x past it.
typedef int (*TextEmbedFunction)(void* context, int n, int* x, int* y);

// The text state.
extern DS3_bitmap_tag* theFont;
extern fontInfo_tag* fontTable;
extern bigFontCharacter* fontCharacters;
extern uint8_t* fontTravels;
extern int currentFontRSID;  // -1 until a font is selected
extern char* textBuffer;
extern int textBufferSize;   // -1 when there is no buffer
extern int textX, textY;     // the pen: the left edge and top of the next glyph
extern int leftMargin;       // the line start of embedded text
extern int textMode;
extern int cursorTimer;

// The formatting buffer of size + 1 bytes (allocated once) / freed again.
int TextOutputInitialize(int size);
int TextOutputDispose();

// The type-24 initialisation: the glyph records and the advance table become pointers.
int InitializeFontInfoResource(uint8_t* data);
// The same for a loaded resource of length bytes: refuses a resource too short for its tables or
// with more glyph records than character codes.
int InitializeFontInfoResourceBounded(uint8_t* data, int32_t length);

// Makes the loaded font image rsid (a bitmap that names its font information) current.
int TextOutputSelectFont(int rsid);
int TextOutputGetFontRSID();
int TextOutputGetFontHeight();
int TextOutputGetInterrowSpacing();
int TextOutputSetMode(int mode);
int TextOutputSetPosition(int x, int y);

// Formats into the buffer (truncating) / draws the buffer at the pen / both.
int TextOutputFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
int TextOutputDraw();
int TextOutputDrawDirect(int x, int y, const char* format, ...) __attribute__((format(printf, 3, 4)));
// Draws text literally (it is not a format) with {n} escapes handed to embed (may be null).
int TextOutputDrawEmbedded(int x, int y, const char* text, void* context, TextEmbedFunction embed);

// Pixel widths: up to the first code below 32 / of at most the first n characters / of line
// number `line` (1 the first) / of the first line of embedded text, escapes included.
int TextOutputLineLength(const char* s);
int TextOutputSubstringLength(const char* s, int n);
int TextOutputGetLineLength(const char* s, int line);
int TextOutputEmbeddedLineLength(const char* s, TextEmbedFunction embed);

// The rectangle one drawn line of text covers: from its first glyph's left edge to the pen after
// its last glyph, one font height from its top, grown to take in the graphics embedded in it.
struct TextLineBounds {
    int x, y, w, h;
};
// While a record is given, every line drawn from then on is appended to it: at most capacity
// lines are stored and *count counts them all. A null record stops the recording. Layout checks
// read from it what a screen's texts cover.
void TextOutputRecordLines(TextLineBounds* record, int capacity, int* count);
// For --layout-out: notes a line of text (length characters of text) drawn over w x h pixels from
// (x, y) in the renderer's 2D coordinates, in the screen pixels of the display being drawn. A line
// wholly off that display (a widget of the other screen in a pass of the UI) is not on it.
void TextOutputNoteDrawnLine(int x, int y, int w, int h, const char* text, int length);
// For --layout-out: notes a panel drawn over w x h pixels from (x, y) (2D coordinates) that hides
// the lines drawn before it there.
void TextOutputNoteCover(int x, int y, int w, int h);
// Notes a drawn button (or a panel's well, or a picture) w x h from (x, y) whose text belongs
// inside it, for --layout-out.
void TextOutputNoteBox(int x, int y, int w, int h);
// Notes a filled panel w x h from (x, y) that the lines drawn on it stand out from, for
// --layout-out.
void TextOutputNotePanel(int x, int y, int w, int h);
// Notes a touch target w x h from (x, y) while the lower screen is drawn, wherever it lies (one
// off the screen is what the record is for), for --layout-out.
void TextOutputNoteTouch(int x, int y, int w, int h);
// Notes a button drawn w x h from (x, y), every part of which a touch should answer, for
// --layout-out.
void TextOutputNoteButton(int x, int y, int w, int h);
// Notes a mark drawn w x h from (x, y) (a marker, a pointer, a stop it moves to) under which no
// text belongs, for --layout-out.
void TextOutputNoteMark(int x, int y, int w, int h);
// Called by an embed function for the graphic it draws, so that the line's rectangle takes it in.
void TextOutputNoteEmbedded(int x, int y, int w, int h);

// Shortens the buffer at the first character whose summed advance reaches maxWidth: that
// character becomes c and the text ends after it.
int TextOutputTruncateLine(int maxWidth, char c);

// Quads for the buffer's glyphs with the pen starting at (0, 0), up to max of them.
int TextOutputGenerateTiles(ScreenPolyData* out, int max, int* width, int* height);
// Quads for the first line of text; the index of the character it stopped at, plus one.
int TextOutputGenerateTilesMultiLine(const char* text, ScreenPolyData* out, int max, int* width, int* height);

void TextOutputUpdateCursorTimer();
