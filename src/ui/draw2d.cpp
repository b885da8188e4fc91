// Shared 2D drawing of the UI widgets: text as one quad per glyph so that it can be scaled and
// aligned, measured the same way, justified in columns, and bitmaps stretched into boxes. Every
// routine works on one stack array of glyph quads and allocates nothing.
#include "ui/draw2d.h"

#include <cstring>

#include "host/layoutrecord.h"
#include "lib/resources.h"
#include "lib/textoutput.h"
#include "platform/quads.h"
#include "ui/frameupdate.h"
#include "ui/loadcheck.h"

enum { kBoundsSentinel = 0x1000000 };

// The text's glyph quads placed for the scale and alignment; the count, 0 for nothing to draw.
static int PlaceText(int x, int y, float scaleX, float scaleY, int alignX, int alignY, const char* text, int length,
                     ScreenPolyData* tiles)
{
    if (!text || length < 1 || length >= kBasicUiMaxTextTiles || !fontTable) return 0;
    char line[kBasicUiMaxTextTiles];
    std::memcpy(line, text, size_t(length));
    line[length] = 0;
    // One quad per character: the text ends at its first control character.
    for (int i = 0; i < length; ++i)
        if ((unsigned char)line[i] < 32) line[i] = 0;
    TextOutputSetPosition(x, 0);
    TextOutputFormat("%s", line);
    int width = 0, height = 0;
    if (!TextOutputGenerateTiles(tiles, kBasicUiMaxTextTiles, &width, &height)) return 0;
    int count = int(std::strlen(line));
    // A widget's scale and alignment may each be as large as a coordinate: their products are
    // saturated to the coordinates' range before they become integers.
    int shiftX = BasicUi_ClampCoordinateF(-width * scaleX * 0.5f * float(alignX));
    int advance = 0;
    for (int i = 0; i < count; ++i) {
        ScreenPolyData& t = tiles[i];
        int next = i + 1 < count ? tiles[i + 1].x - t.x : 0;
        int tileY =
            BasicUi_ClampCoordinateF(float(y) + float(-t.h) * scaleY * 0.5f * float(alignY) + float(t.y) * scaleY);
        t.x = x + advance + shiftX;
        t.y = tileY;
        t.w = BasicUi_ClampCoordinateF(float(t.w) * scaleX);
        t.h = BasicUi_ClampCoordinateF(float(t.h) * scaleY);
        advance += BasicUi_ClampCoordinateF(float(next) * scaleX);
    }
    return count;
}

static int LengthOf(const char* text)
{
    if (!text) return 0;
    size_t n = strnlen(text, kBasicUiMaxTextTiles);
    return n >= kBasicUiMaxTextTiles ? 0 : int(n);
}

int BasicUi_RenderScaledDbText(int x, int y, float scaleX, float scaleY, int alignX, int alignY, const char* text)
{
    return BasicUi_RenderScaledDbText(x, y, scaleX, scaleY, alignX, alignY, text, LengthOf(text));
}

int BasicUi_RenderScaledDbText(int x, int y, float scaleX, float scaleY, int alignX, int alignY, const char* text,
                               int length)
{
    ScreenPolyData tiles[kBasicUiMaxTextTiles];
    int n = PlaceText(x, y, scaleX, scaleY, alignX, alignY, text, length, tiles);
    for (int i = 0; i < n; ++i) DrawScreenPolyEx(&tiles[i]);
    if (n > 0 && LayoutRecording()) {
        int x0 = tiles[0].x, y0 = tiles[0].y, x1 = x0, y1 = y0;
        for (int i = 0; i < n; ++i) {
            const ScreenPolyData& t = tiles[i];
            x0 = t.x < x0 ? t.x : x0, y0 = t.y < y0 ? t.y : y0;
            x1 = t.x + t.w > x1 ? t.x + t.w : x1, y1 = t.y + t.h > y1 ? t.y + t.h : y1;
        }
        TextOutputNoteDrawnLine(x0, y0, x1 - x0, y1 - y0, text, n);
    }
    return n > 0;
}

int BasicUi_BoundsScaledDbText(int x, int y, float scaleX, float scaleY, int alignX, int alignY, const char* text,
                               int* minX, int* minY, int* maxX, int* maxY)
{
    return BasicUi_BoundsScaledDbText(x, y, scaleX, scaleY, alignX, alignY, text, LengthOf(text), minX, minY, maxX,
                                      maxY);
}

int BasicUi_BoundsScaledDbText(int x, int y, float scaleX, float scaleY, int alignX, int alignY, const char* text,
                               int length, int* minX, int* minY, int* maxX, int* maxY)
{
    if (!minX || !minY || !maxX || !maxY) return 0;
    *minX = *minY = kBoundsSentinel;
    *maxX = *maxY = -kBoundsSentinel;
    ScreenPolyData tiles[kBasicUiMaxTextTiles];
    int n = PlaceText(x, y, scaleX, scaleY, alignX, alignY, text, length, tiles);
    for (int i = 0; i < n; ++i) {
        const ScreenPolyData& t = tiles[i];
        if (t.x < *minX) *minX = t.x;
        if (t.y < *minY) *minY = t.y;
        if (t.x + t.w > *maxX) *maxX = t.x + t.w;
        if (t.y + t.h > *maxY) *maxY = t.y + t.h;
    }
    return n > 0;
}

int BasicUi_RenderScaledDbTextBG(int x, int y, float scaleX, float scaleY, int alignX, int alignY, const char* text,
                                 int border)
{
    ScreenPolyData tiles[kBasicUiMaxTextTiles];
    int n = PlaceText(x, y, scaleX, scaleY, alignX, alignY, text, LengthOf(text), tiles);
    RenderSetColorModulation(0, 0, 0);
    for (int i = 0; i < n; ++i) {
        ScreenPolyData t = tiles[i];
        t.x -= border;
        t.y -= border;
        t.w += 2 * border;
        t.h += 2 * border;
        DrawScreenPolyEx(&t);
    }
    RenderSetColorModulation(127, 127, 127);
    return n > 0;
}

// ---- Justified text ----

struct Word {
    const char* s;
    int length;
};

// One line of a column: its words, their widths, the width they take with single spaces, the
// tallest word, and whether the line ends its paragraph.
struct ColumnLine {
    Word words[64];
    int widths[64];
    int count, used, height, paragraphEnd;
};

static int IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The next word from *p: words are split at spaces, tabs and line ends. paragraphEnd is set when
// two spaces, a line feed or the end follow it.
static int NextWord(const char** p, Word* word, int* paragraphEnd)
{
    const char* s = *p;
    while (IsBlank(*s)) ++s;
    if (!*s) return 0;
    const char* e = s;
    while (*e && !IsBlank(*e) && e - s < kBasicUiMaxTextTiles - 1) ++e;
    word->s = s;
    word->length = int(e - s);
    const char* after = e;
    int lineEnd = 0;
    while (IsBlank(*after)) lineEnd |= *after++ == '\n';
    *paragraphEnd = !*after || lineEnd || (e[0] == ' ' && e[1] == ' ');
    *p = e;
    return 1;
}

static int WidthOf(const Word& w, float scaleX, float scaleY, int* height)
{
    int x0, y0, x1, y1;
    if (!BasicUi_BoundsScaledDbText(0, 0, scaleX, scaleY, 0, 0, w.s, w.length, &x0, &y0, &x1, &y1)) {
        *height = 0;
        return 0;
    }
    *height = y1;
    return x1 - x0;
}

// How many of the word's first characters fit the width: at least one, so that the text moves on.
static int FittingLength(const Word& w, int width, float scaleX, float scaleY)
{
    int h = 0;
    for (int n = 2; n <= w.length; ++n)
        if (WidthOf(Word{w.s, n}, scaleX, scaleY, &h) > width) return n - 1;
    return w.length;
}

// Takes words from *p while the line with single spaces stays within the width. A word wider than
// the column is broken where it reaches the edge, the rest starting the next line, so that no text
// runs past the column. 0 when no word is left.
static int TakeLine(const char** p, int width, float scaleX, float scaleY, int space, ColumnLine* line)
{
    line->count = line->used = line->height = line->paragraphEnd = 0;
    Word w;
    int ends = 0;
    while (line->count < 64 && NextWord(p, &w, &ends)) {
        int h = 0;
        int ww = WidthOf(w, scaleX, scaleY, &h);
        const bool broken = !line->count && ww > width && width > 0 && w.length > 1;
        if (broken) {
            w.length = FittingLength(w, width, scaleX, scaleY);
            ww = WidthOf(w, scaleX, scaleY, &h);
            *p = w.s + w.length;
            ends = 0;
        }
        const int needed = line->used + (line->count ? space : 0) + ww;
        if (line->count && needed > width) {
            *p = w.s;
            break;
        }
        line->words[line->count] = w;
        line->widths[line->count++] = ww;
        line->used = needed;
        if (h > line->height) line->height = h;
        if (broken) break;
        if (ends) {
            line->paragraphEnd = 1;
            break;
        }
    }
    return line->count > 0;
}

// The gap between the words of a line stretched to the column's edge; a line of fewer than three
// words is never stretched (its one or two gaps would take all the room left).
static int StretchedGap(const ColumnLine& line, int width, int space)
{
    if (line.count < 3) return kBoundsSentinel;
    return space + (width - line.used) / (line.count - 1);
}

int BasicUi_RenderScaledColumnStyleText(int x, int y, int width, float scaleX, float scaleY, const char* text)
{
    return BasicUi_RenderScaledColumnStyleText(x, y, width, kBoundsSentinel, scaleX, scaleY, text);
}

int BasicUi_RenderScaledColumnStyleText(int x, int y, int width, int height, float scaleX, float scaleY,
                                        const char* text)
{
    if (!text || !fontTable) return 0;
    // A space has no ink, so a line of one space measures nothing: its advance is the difference
    // that it makes between two letters.
    const int space = int(float(TextOutputSubstringLength("x x", 3) - TextOutputSubstringLength("xx", 2)) * scaleX);
    const int widestGap = 2 * space;
    const int top = y;
    const char* p = text;
    ColumnLine line;
    for (;;) {
        // A paragraph is justified only when every line of it but the last stretches to the
        // column's edge with gaps of at most twice a space; otherwise all of it is set flush left
        // with single spaces. Its last line always keeps single spaces.
        const char* start = p;
        int lines = 0, justify = 1;
        while (TakeLine(&p, width, scaleX, scaleY, space, &line)) {
            ++lines;
            if (line.paragraphEnd) break;
            if (StretchedGap(line, width, space) > widestGap) justify = 0;
        }
        if (!lines) break;
        p = start;
        for (int n = 0; n < lines && TakeLine(&p, width, scaleX, scaleY, space, &line); ++n) {
            const int lineHeight = line.height > 0 ? line.height : TextOutputGetFontHeight();
            if (y + lineHeight > top + height) return y - top;  // the rest would pass the bottom
            const int gap = justify && !line.paragraphEnd ? StretchedGap(line, width, space) : space;
            int cx = x;
            for (int i = 0; i < line.count; ++i) {
                BasicUi_RenderScaledDbText(cx, y, scaleX, scaleY, 0, 0, line.words[i].s, line.words[i].length);
                cx += line.widths[i] + gap;
            }
            y += lineHeight;
        }
    }
    return y - top;
}

// ---- Bitmaps ----

static DS3_bitmap_tag* BitmapOf(int rsid)
{
    if (!BasicUi_ImageExists(rsid)) return nullptr;
    void* handle = nullptr;
    if (!GetResourceHandle(rsid, &handle)) return nullptr;
    return static_cast<DS3_bitmap_tag*>(handle);
}

int BasicUi_RenderSizableBox(int rsid, int x, int y, int w, int h, int cw, int ch, int bw, int bh)
{
    if (rsid < 1) return 0;
    DS3_bitmap_tag* b = BitmapOf(rsid);
    if (!b) return 0;
    DrawScreenPoly(b, cw, ch, x + cw, y + ch, w - 2 * cw, h - 2 * ch);
    DrawScreenPoly(b, 0, 0, x, y, cw, ch);
    DrawScreenPoly(b, 0, bh - ch, x, y + h - ch, cw, ch);
    DrawScreenPoly(b, bw - cw, 0, x + w - cw, y, cw, ch);
    DrawScreenPoly(b, bw - cw, bh - ch, x + w - cw, y + h - ch, cw, ch);
    DrawScreenPoly(b, 0, ch, x, y + ch, cw, h - 2 * ch);
    DrawScreenPoly(b, bw - cw, ch, x + w - cw, y + ch, cw, h - 2 * ch);
    DrawScreenPoly(b, cw, 0, x + cw, y, w - 2 * cw, ch);
    DrawScreenPoly(b, cw, bh - ch, x + cw, y + h - ch, w - 2 * cw, ch);
    return 1;
}

int BasicUi_RenderScaledImage(int x, int y, int w, int h, int rsid)
{
    void* handle = nullptr;
    if (!GetResourceHandle(rsid, &handle) || !handle) return 0;
    return DrawScreenPoly(static_cast<DS3_bitmap_tag*>(handle), 0, 0, x, y, w, h);
}
