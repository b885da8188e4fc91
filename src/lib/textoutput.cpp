// Text output: layout walks the text once per line with one advance-table lookup per glyph pair
// and hands each glyph straight to the clipped 2D quad drawer.
#include "lib/textoutput.h"

#include <cstdarg>

#include "host/layoutrecord.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "lib/strings.h"
#include "platform/frame.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "platform/shaders.h"

DS3_bitmap_tag* theFont = nullptr;
fontInfo_tag* fontTable = nullptr;
bigFontCharacter* fontCharacters = nullptr;
uint8_t* fontTravels = nullptr;
int currentFontRSID = -1;
char* textBuffer = nullptr;
int textBufferSize = -1;
int textX = 0, textY = 0;
int leftMargin = 0;
int textMode = kTextModeLeft;
int cursorTimer = 0;

int TextOutputInitialize(int size)
{
    if (textBuffer) return 1;
    if (size < 0) return PrintError("text: buffer of negative size %d", size);
    void* p = nullptr;
    if (!AllocateClearedMemory(&p, size + 1)) return PrintError("text: no memory for the text buffer");
    textBuffer = static_cast<char*>(p);
    textBufferSize = size + 1;
    return 1;
}

int TextOutputDispose()
{
    if (!textBuffer) return 1;
    if (!FreeManagedMemory(textBuffer, 0)) return 0;
    textBuffer = nullptr;
    textBufferSize = -1;
    return 1;
}

int InitializeFontInfoResource(uint8_t* data)
{
    if (!data) return 0;
    auto* info = reinterpret_cast<fontInfo_tag*>(data);
    info->characters = reinterpret_cast<bigFontCharacter*>(data + sizeof(fontInfo_tag));
    info->travels = data + sizeof(fontInfo_tag) + 8u * info->numCharacters;
    return 1;
}

int InitializeFontInfoResourceBounded(uint8_t* data, int32_t length)
{
    if (!data || length < int32_t(sizeof(fontInfo_tag))) return PrintError("text: a font information resource is too short");
    auto* info = reinterpret_cast<fontInfo_tag*>(data);
    if (info->numCharacters > kFontGlyphs) {
        return PrintError("text: a font has %d glyphs, more than its %d character codes", info->numCharacters, kFontGlyphs);
    }
    if (uint32_t(length) < FontInfoBytes(info->numCharacters)) {
        return PrintError("text: a font information resource is shorter than its tables");
    }
    return InitializeFontInfoResource(data);
}

int TextOutputSelectFont(int rsid)
{
    void* handle = nullptr;
    if (!GetResourceHandle(rsid, &handle) || !handle) return 0;
    resourceHeader* r = nullptr;
    if (GetResourceHeader(rsid, &r) && r->resourceType != kResourceTypeBitmap) {
        return PrintErrorOnce("text: resource %d is not a font image", rsid);
    }
    auto* bitmap = static_cast<DS3_bitmap_tag*>(handle);
    // Only a bitmap whose font information was resolved at load is a font.
    if (!(bitmap->flags & kBitmapFontTable) || !bitmap->fontTable.get()) {
        return PrintErrorOnce("text: bitmap %d has no font information", rsid);
    }
    auto* info = static_cast<fontInfo_tag*>(bitmap->fontTable.get());
    if (!info->characters.get() || !info->travels.get()) return PrintErrorOnce("text: font %d is not initialised", rsid);
    theFont = bitmap;
    fontTable = info;
    fontCharacters = info->characters.get();
    fontTravels = info->travels.get();
    currentFontRSID = rsid;
    return 1;
}

int TextOutputGetFontRSID() { return currentFontRSID; }
int TextOutputGetFontHeight() { return fontTable ? fontTable->characterHeight : 0; }
int TextOutputGetInterrowSpacing() { return fontTable ? fontTable->verticalKerning : 0; }

int TextOutputSetMode(int mode)
{
    textMode = mode;
    return 1;
}

int TextOutputSetPosition(int x, int y)
{
    textX = x;
    textY = y;
    return 1;
}

// The glyph index of a character code; -1 for the codes below 32, which end a line.
static int GlyphOf(char c)
{
    int code = static_cast<unsigned char>(c);
    return code >= kFontFirstCode ? code - kFontFirstCode : -1;
}

// A glyph beyond the font's glyph records has no cell: it is 0 wide and never drawn.
static const bigFontCharacter* GlyphRecord(int g)
{
    return g >= 0 && g < fontTable->numCharacters ? &fontCharacters[g] : nullptr;
}

static int GlyphWidth(int g)
{
    const bigFontCharacter* r = GlyphRecord(g);
    return r ? r->width : 0;
}

static int Advance(int previous, int g) { return fontTravels[previous * kFontGlyphs + g]; }

// Reads an escape "{n}" at s (which points at the '{'); *next is the char after the '}'.
static int ReadEscape(const char* s, int* n, const char** next)
{
    char* p = const_cast<char*>(s + 1);
    if (!ReadInt(&p, n) || *p != '}') return 0;
    *next = p + 1;
    return 1;
}

// The width of the line at s: up to the first code below 32, or n chars when n >= 0. With
// `embedded`, escapes add what embed adds to a pen at -1000; *ok becomes 0 for a broken escape.
static int MeasureLine(const char* s, int n, int embedded, TextEmbedFunction embed, int* ok)
{
    *ok = 1;
    if (!fontTable || !s) return 0;
    int x = 0, previous = -1;
    for (int i = 0; n < 0 || i < n; ++i) {
        if (embedded && *s == '{') {
            int item = 0;
            if (!ReadEscape(s, &item, &s)) {
                *ok = 0;
                return 0;
            }
            if (embed) {
                int ex = -1000, ey = -1000;
                embed(reinterpret_cast<void*>(&TextOutputEmbeddedLineLength), item, &ex, &ey);
                x += ex + 1000;
            }
            previous = -1;
            continue;
        }
        int g = GlyphOf(*s);
        if (g < 0) break;
        if (previous >= 0) x += Advance(previous, g);
        previous = g;
        ++s;
    }
    return previous >= 0 ? x + GlyphWidth(previous) : x;
}

int TextOutputLineLength(const char* s)
{
    int ok;
    return MeasureLine(s, -1, 0, nullptr, &ok);
}

int TextOutputSubstringLength(const char* s, int n)
{
    int ok;
    return n > 0 ? MeasureLine(s, n, 0, nullptr, &ok) : 0;
}

int TextOutputGetLineLength(const char* s, int line)
{
    if (!s) return 0;
    for (int l = 1; l < line; ++l) {
        while (*s && *s != '\n') ++s;
        if (!*s) return 0;
        ++s;
    }
    return TextOutputLineLength(s);
}

int TextOutputEmbeddedLineLength(const char* s, TextEmbedFunction embed)
{
    int ok;
    int width = MeasureLine(s, -1, 1, embed, &ok);
    return ok ? width : 0;
}

// Where a line that starts at s (the alignment point) begins, for the line's width.
static int AlignedStart(int start, int width)
{
    if (textMode & kTextModeCenter) return start - (width >> 1);
    if (textMode & kTextModeRight) return start - width;
    return start;
}

static int LineWidth(const char* s, int embedded, TextEmbedFunction embed)
{
    int ok;
    return MeasureLine(s, -1, embedded, embed, &ok);
}

static TextLineBounds* lineRecord = nullptr;
static int lineRecordCapacity = 0;
static int* lineRecordCount = nullptr;

void TextOutputRecordLines(TextLineBounds* record, int capacity, int* count)
{
    lineRecord = record && count ? record : nullptr;
    lineRecordCapacity = lineRecord ? capacity : 0;
    lineRecordCount = lineRecord ? count : nullptr;
}

// The embedded graphics of the line being drawn: their top and bottom.
static int embeddedTop = 0, embeddedBottom = 0;

void TextOutputNoteEmbedded(int, int y, int, int h)
{
    if (!lineRecord && !LayoutRecording()) return;
    if (y < embeddedTop) embeddedTop = y;
    if (y + h > embeddedBottom) embeddedBottom = y + h;
}

static void StartLineRecord(int y)
{
    embeddedTop = y;
    embeddedBottom = y + fontTable->characterHeight;
}

// Moves a rectangle of the renderer's 2D coordinates into the pixels of the display being drawn;
// 0 when it lies wholly off that display.
static int OnDisplay(int* x, int* y, int w, int h)
{
    int ox = 0, oy = 0;
    RenderGetOffset2D(&ox, &oy);
    *x -= ox, *y -= oy;
    const int width = displayID == kDisplayLower ? 320 : 400;
    return *x + w > 0 && *y + h > 0 && *x < width && *y < 240;
}

void TextOutputNoteDrawnLine(int x, int y, int w, int h, const char* text, int length)
{
    if (LayoutRecording() && OnDisplay(&x, &y, w, h)) LayoutNoteLine(displayID, x, y, w, h, text, length);
}

void TextOutputNoteCover(int x, int y, int w, int h)
{
    if (LayoutRecording() && OnDisplay(&x, &y, w, h)) LayoutNoteCover(displayID, x, y, w, h);
}

void TextOutputNoteBox(int x, int y, int w, int h)
{
    if (LayoutRecording() && OnDisplay(&x, &y, w, h)) LayoutNoteBox(displayID, x, y, w, h);
}

void TextOutputNoteButton(int x, int y, int w, int h)
{
    if (LayoutRecording() && OnDisplay(&x, &y, w, h)) LayoutNoteButton(displayID, x, y, w, h);
}

void TextOutputNoteMark(int x, int y, int w, int h)
{
    if (LayoutRecording() && OnDisplay(&x, &y, w, h)) LayoutNoteMark(displayID, x, y, w, h);
}

void TextOutputNotePanel(int x, int y, int w, int h)
{
    if (LayoutRecording() && OnDisplay(&x, &y, w, h)) LayoutNotePanel(displayID, x, y, w, h);
}

void TextOutputNoteTouch(int x, int y, int w, int h)
{
    if (!LayoutRecording() || displayID != kDisplayLower) return;
    OnDisplay(&x, &y, w, h);
    LayoutNoteTouch(displayID, x, y, w, h);
}

// Notes a line (length characters of text) that began at x0 and ended with the pen at x1, when
// lines are being recorded, and for --layout-out.
static void RecordLine(int x0, int x1, const char* text, int length)
{
    if (x1 <= x0) return;
    TextOutputNoteDrawnLine(x0, embeddedTop, x1 - x0, embeddedBottom - embeddedTop, text, length);
    if (!lineRecord) return;
    const int n = (*lineRecordCount)++;
    if (n < lineRecordCapacity) lineRecord[n] = TextLineBounds{x0, embeddedTop, x1 - x0, embeddedBottom - embeddedTop};
}

// Draws text at the pen, its lines aligned on `start`; the pen ends right after the text.
static int DrawText(const char* s, int start, int embedded, void* context, TextEmbedFunction embed)
{
    if (!theFont || !fontTable || !s) return 0;
    int x = AlignedStart(start, LineWidth(s, embedded, embed)), y = textY;
    int lineStart = x;
    const char* lineText = s;
    int previous = -1;
    StartLineRecord(y);
    for (;;) {
        if (embedded && *s == '{') {
            int item = 0;
            const char* next = nullptr;
            if (!ReadEscape(s, &item, &next)) {
                textX = x, textY = y;
                return 0;
            }
            if (embed) embed(context, item, &x, &y);
            previous = -1;
            s = next;
            continue;
        }
        int g = GlyphOf(*s);
        if (g >= 0) {
            if (previous >= 0) x += Advance(previous, g);
            const bigFontCharacter* r = GlyphRecord(g);
            if (r && r->width && !ClipScreenPoly(theFont, r->Xoffset, r->Yoffset, x, y, r->width, fontTable->characterHeight)) {
                textX = x, textY = y;
                return 0;
            }
            previous = g;
        } else if (*s == '\n') {
            RecordLine(lineStart, previous >= 0 ? x + GlyphWidth(previous) : x, lineText, int(s - lineText));
            lineText = s + 1;
            x = lineStart = AlignedStart(start, LineWidth(s + 1, embedded, embed));
            y += fontTable->characterHeight + fontTable->verticalKerning;
            StartLineRecord(y);
            previous = -1;
        } else {
            if (previous >= 0) x += GlyphWidth(previous);
            RecordLine(lineStart, x, lineText, int(s - lineText));
            break;
        }
        ++s;
    }
    textX = x, textY = y;
    return 1;
}

int TextOutputFormat(const char* format, ...)
{
    if (!textBuffer) return 1;
    va_list args;
    va_start(args, format);
    VPrintString(textBuffer, textBufferSize - 1, format, args);
    va_end(args);
    return 1;
}

int TextOutputDraw() { return textBuffer ? DrawText(textBuffer, textX, 0, nullptr, nullptr) : 0; }

int TextOutputDrawDirect(int x, int y, const char* format, ...)
{
    if (!textBuffer) return 0;
    textX = x, textY = y;
    va_list args;
    va_start(args, format);
    VPrintString(textBuffer, textBufferSize - 1, format, args);
    va_end(args);
    return TextOutputDraw();
}

int TextOutputDrawEmbedded(int x, int y, const char* text, void* context, TextEmbedFunction embed)
{
    textX = x, textY = y;
    leftMargin = x;
    return DrawText(text, leftMargin, 1, context, embed);
}

int TextOutputTruncateLine(int maxWidth, char c)
{
    if (!fontTable || !textBuffer) return 0;
    int sum = 0, previous = -1;
    for (char* s = textBuffer; GlyphOf(*s) >= 0; ++s) {
        int g = GlyphOf(*s);
        if (previous >= 0) sum += Advance(previous, g);
        if (sum >= maxWidth) {
            s[0] = c;
            s[1] = '\0';
            break;
        }
        previous = g;
    }
    return 1;
}

// Quads for text from the pen (0, 0); a line feed starts a new line, or ends the walk when
// `oneLine`. Returns the index of the char it stopped at, plus one.
static int Tiles(const char* s, int oneLine, ScreenPolyData* out, int max, int* width, int* height)
{
    int x = 0, y = 0, previous = -1, made = 0, i = 0;
    for (;; ++i) {
        if (s[i] == '\n') {
            if (oneLine) break;
            x = 0;
            previous = -1;
            y += fontTable->characterHeight + fontTable->verticalKerning;
            continue;
        }
        int g = GlyphOf(s[i]);
        if (g < 0 || made >= max || !out) break;
        if (previous >= 0) x += Advance(previous, g);
        const bigFontCharacter* r = GlyphRecord(g);
        ScreenPolyData& q = out[made++];
        q.theBitmap = theFont;
        q.sx = r ? r->Xoffset : 0;
        q.sy = r ? r->Yoffset : 0;
        q.sw = q.w = r ? r->width : 0;
        q.sh = q.h = fontTable->characterHeight;
        q.x = x;
        q.y = y;
        q.attributes = 0;
        previous = g;
    }
    int lineFeed = oneLine && s[i] == '\n';
    if (width) *width = previous >= 0 && !lineFeed ? x + GlyphWidth(previous) : x;
    if (height) *height = fontTable->characterHeight + y + fontTable->verticalKerning;
    return i + 1;
}

int TextOutputGenerateTiles(ScreenPolyData* out, int max, int* width, int* height)
{
    if (!fontTable || !textBuffer) return 0;
    Tiles(textBuffer, 0, out, max, width, height);
    return 1;
}

int TextOutputGenerateTilesMultiLine(const char* text, ScreenPolyData* out, int max, int* width, int* height)
{
    if (!fontTable || !text) return 0;
    return Tiles(text, 1, out, max, width, height);
}

void TextOutputUpdateCursorTimer() { cursorTimer += updateRate; }
