// What every overlay draws with: the id offsets of the two display variants, the button glyphs
// that texts embed, the message-box layout and drawing, the pause menu's entry list, and the
// per-screen entry point that draws the heads-up display and the overlay stack during play.
#include "overlays/overlaydraw.h"

#include <cstdio>
#include <cstring>

#include "game/areas.h"
#include "lib/memory.h"
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "overlays/hud.h"
#include "overlays/nohomeicon.h"
#include "overlays/overlaystack.h"
#include "platform/bitmap.h"
#include "platform/quads.h"
#include "platform/video.h"
#include "shell/globals.h"
#include "shell/settings.h"
#include "shell/touchbuttons.h"

graphics_Tag graphics[kOverlayGraphics];
int displayNum = 0;

static const int kOverlayIdStep = 86;
static const int kFontIdStep = 29;
static const int kGlyphSheet = kImageGlyphSheet;
static const int kMessageBackground = kImageMessageBackground;
static const int kLoadedGlyphs = 10;
static const int kGlyphGap = 7;
static const int kLowerScreenWidth = 320;
static const int kLowerScreenHeight = 240;
// Margins of a message box: its text keeps 8 pixels from either side.
static const int kBoxMargin = 16;
static const int kMinBoxTextWidth = 100;
static const int kFooterGap = 4;
static const int kWidthStep = 20;

struct GlyphSource {
    int x, y, w, h;
};
static const GlyphSource glyphSources[kLoadedGlyphs] = {
    {117, 32, 128, 37}, {10, 21, 50, 50}, {10, 130, 50, 50}, {10, 76, 50, 50}, {10, 184, 50, 50},
    {117, 84, 128, 37}, {64, 76, 32, 31}, {3, 60, 39, 19},   {45, 60, 39, 19}, {66, 27, 37, 40},
};

int GetOverlayRSID(int id) { return id + gHiDef * kOverlayIdStep; }
int GetFontRSID(int id) { return id + gHiDef * kFontIdStep; }

// ---- Images ----

DS3_bitmap_tag* OverlayBitmap(int rsid)
{
    void* handle = nullptr;
    if (rsid < 0 || !ResourceLoaded(rsid) || !GetResourceHandle(rsid, &handle) || !handle) return nullptr;
    if (ResourceType(rsid) != kResourceTypeBitmap) return nullptr;
    DS3_bitmap_tag* b = static_cast<DS3_bitmap_tag*>(handle);
    return b->pixels ? b : nullptr;
}

int OverlayBitmapSize(int rsid, int* w, int* h)
{
    DS3_bitmap_tag* b = OverlayBitmap(rsid);
    if (!b) return 0;
    if (w) *w = b->width;
    if (h) *h = b->height;
    return 1;
}

int DrawOverlayBitmap(int rsid, int x, int y)
{
    DS3_bitmap_tag* b = OverlayBitmap(rsid);
    if (!b) return 0;
    return DrawScreenPoly(b, 0, 0, x, y, b->width, b->height);
}

int DrawOverlayMark(int rsid, int x, int y)
{
    if (DS3_bitmap_tag* b = OverlayBitmap(rsid)) TextOutputNoteMark(x, y, b->width, b->height);
    return DrawOverlayBitmap(rsid, x, y);
}

int DrawOverlayBitmapScaled(int rsid, int x, int y, int w, int h)
{
    DS3_bitmap_tag* b = OverlayBitmap(rsid);
    if (!b) return 0;
    ScreenPolyData d = {b, 0, 0, b->width, b->height, x, y, w, h, 0};
    return DrawScreenPolyEx(&d);
}

int DrawOverlayBitmapRotated(int rsid, int cx, int cy, float angle)
{
    DS3_bitmap_tag* b = OverlayBitmap(rsid);
    if (!b) return 0;
    return DrawScreenPolyRot(b, 0, 0, cx, cy, b->width, b->height, angle);
}

int DrawOverlayText(int x, int y, const char* text)
{
    return TextOutputDrawEmbedded(x, y, text, nullptr, DrawOverlayGraphic);
}

// ---- Glyphs ----

int SetGraphic(int index, int rsid, int sx, int sy, int sw, int sh, int dx, int dy)
{
    if (index < 0 || index >= kOverlayGraphics) return 0;
    DS3_bitmap_tag* b = OverlayBitmap(rsid);
    if (!b) return 0;
    graphics_Tag& g = graphics[index];
    g.bitmap = SCREENBITMAPTAG{b, rsid, sx, sy, sw, sh, 0, 0, nullptr};
    g.dx = dx;
    g.dy = dy;
    return 1;
}

int InitOverlayBitmaps()
{
    for (int i = 0; i < kLoadedGlyphs; ++i) {
        const GlyphSource& s = glyphSources[i];
        if (!SetGraphic(i, GetOverlayRSID(kGlyphSheet), s.x, s.y, s.w, s.h, kGlyphGap, 0)) return 0;
    }
    return 1;
}

// The glyph images belong to the overlay range that start-up loaded and tear-down frees; only the
// references go here.
int DisposeOverlayBitmaps()
{
    std::memset(graphics, 0, sizeof graphics);
    return 1;
}

int DrawOverlayGraphic(void*, int n, int* x, int* y)
{
    if (!x || !y || n < 0 || n >= kOverlayGraphics) return 0;
    const graphics_Tag& g = graphics[n];
    const SCREENBITMAPTAG& sb = g.bitmap;
    // An empty entry draws nothing and takes no room.
    if (!sb.theBitmap) return 1;
    const int drawX = *x + g.dx;
    const int drawY = *y + g.dy + (TextOutputGetFontHeight() - sb.h) / 2;
    DrawScreenPoly(sb.theBitmap, sb.sx, sb.sy, drawX, drawY, sb.w, sb.h);
    TextOutputNoteEmbedded(drawX, drawY, sb.w, sb.h);
    *x += sb.w + g.dx;
    return 1;
}

// ---- Message boxes ----

static int Max(int a, int b) { return a > b ? a : b; }
static int Min(int a, int b) { return a < b ? a : b; }

// Embedded width of a text in the selected font.
static int EmbeddedWidth(const char* s) { return TextOutputEmbeddedLineLength(s, DrawOverlayGraphic); }

// The height a line of text takes in the selected font with its {n} glyphs, which are centred on
// the line and may stand taller than the font.
static int EmbeddedHeight(const char* s)
{
    int h = TextOutputGetFontHeight();
    for (; *s; ++s) {
        if (*s != '{') continue;
        int n = 0;
        const char* p = s + 1;
        for (; *p >= '0' && *p <= '9'; ++p) n = n * 10 + (*p - '0');
        if (*p != '}' || p == s + 1 || n >= kOverlayGraphics || !graphics[n].bitmap.theBitmap) continue;
        h = Max(h, graphics[n].bitmap.h);
    }
    return h;
}

// Wraps p->msg into p->formattedMsg for lines at most maxLine wide; returns the number of lines.
// With keepBreaks an end of line in the message also ends a line.
static int WrapMessage(MsgOverlayProperties_tag* p, int maxLine, int keepBreaks)
{
    char* out = p->formattedMsg;
    const int cap = kOverlayTextSize;
    int len = 0, lineStart = 0, lines = 1;
    out[0] = '\0';
    const char* s = p->msg;
    char word[kOverlayTextSize];
    while (*s) {
        if (*s == '\n' || *s == '\r') {
            if (keepBreaks && len > lineStart && len + 1 < cap) {
                out[len++] = '\n';
                out[len] = '\0';
                lineStart = len;
                ++lines;
            }
            ++s;
            continue;
        }
        if (*s == ' ' || *s == '\t') {
            ++s;
            continue;
        }
        int n = 0;
        while (s[n] && s[n] != ' ' && s[n] != '\t' && s[n] != '\n' && s[n] != '\r' && n < cap - 1) {
            word[n] = s[n];
            ++n;
        }
        word[n] = '\0';
        s += n;
        if (len > lineStart) {
            // Measure the line with the word added after a blank.
            char line[kOverlayTextSize * 2];
            std::snprintf(line, sizeof line, "%s %s", out + lineStart, word);
            const int sep = EmbeddedWidth(line) > maxLine ? '\n' : ' ';
            if (len + 1 + n >= cap) break;
            out[len++] = char(sep);
            if (sep == '\n') {
                lineStart = len;
                ++lines;
            }
        } else if (len + n >= cap) {
            break;
        }
        std::memcpy(out + len, word, size_t(n) + 1);
        len += n;
    }
    return lines;
}

int GetMsgOverlayProperties(MsgOverlayProperties_tag* p, int recentre)
{
    if (!p || !p->msg[0]) return 0;
    const int maxW = p->maxWidth ? p->maxWidth : displaySafeArea.width;
    const int maxH = p->maxHeight ? p->maxHeight : displaySafeArea.height;

    int titleLen = 0, titleH = 0, titleGap = 0;
    if (p->titleString[0] && TextOutputSelectFont(p->titleFontRSID)) {
        titleLen = EmbeddedWidth(p->titleString);
        titleH = TextOutputGetFontHeight();
        titleGap = TextOutputGetInterrowSpacing();
    }
    // The footer's row is as tall as its button glyphs, which are taller than the font: the box
    // makes room for them, so that they stand clear of the message.
    int footerLen = 0, footerH = 0, footerGap = 0, footerFontH = 0;
    if (p->footerMsg[0]) {
        footerGap = kFooterGap;
        if (TextOutputSelectFont(p->footerMsgFontRSID)) {
            footerLen = EmbeddedWidth(p->footerMsg);
            footerH = EmbeddedHeight(p->footerMsg);
            footerFontH = TextOutputGetFontHeight();
        }
    }
    int width = Max(p->width, Max(Max(titleLen, footerLen), kMinBoxTextWidth) + kBoxMargin);
    width = Min(width, maxW);

    TextOutputSelectFont(p->msgFontRSID);
    TextOutputSetMode(p->textAlignment);
    const int msgH = TextOutputGetFontHeight();
    const int msgGap = TextOutputGetInterrowSpacing();
    int lines = WrapMessage(p, width - kBoxMargin, 1);
    const int fixedH = (titleH + 2 * titleGap) + (footerH + 2 * footerGap) + 11;
    int height = Max(p->height, fixedH + lines * (msgH + msgGap));
    while (height > maxH) {
        if (width >= maxW) return 0;
        width = Min(width + kWidthStep, maxW);
        lines = WrapMessage(p, width - kBoxMargin, 0);
        height = Max(p->height, fixedH + lines * (msgH + msgGap));
    }

    if (p->left <= 0 || (recentre && p->left + width > displaySafeArea.right))
        p->left = (kLowerScreenWidth - width) / 2;
    if (p->top <= 0 || (recentre && p->top + height > displaySafeArea.bottom))
        p->top = (kLowerScreenHeight - height) / 2;
    p->width = width;
    p->height = height;
    const int centre = p->left + width / 2;
    p->titleDestLeft = p->msgDestLeft = p->footerDestLeft = centre;
    p->titleDestTop = p->top + 8;
    p->msgDestTop = p->top + 8 + titleH + 2 * titleGap;
    p->footerDestTop = p->top + height - footerH - footerGap - 3 + (footerH - footerFontH) / 2;
    return 1;
}

static int HasLowercase(const char* s)
{
    for (; *s; ++s)
        if (*s >= 'a' && *s <= 'z') return 1;
    return 0;
}

int UsesLowercase(const MsgOverlayProperties_tag* p)
{
    return p && (HasLowercase(p->titleString) || HasLowercase(p->msg));
}

int DrawMsgOverlay(const MsgOverlayProperties_tag* p, int drawBackground)
{
    if (!p || !p->msg[0]) return 0;
    if (drawBackground && !DrawOverlayBackground(p->left, p->top, p->width, p->height)) return 0;
    if (p->titleString[0]) {
        if (!TextOutputSelectFont(p->titleFontRSID)) return 0;
        TextOutputSetMode(kTextModeCenter);
        if (!TextOutputDrawEmbedded(p->titleDestLeft, p->titleDestTop, p->titleString, nullptr, p->func)) return 0;
    }
    if (!TextOutputSelectFont(p->msgFontRSID)) return 0;
    TextOutputSetMode(p->textAlignment);
    if (!TextOutputDrawEmbedded(p->msgDestLeft, p->msgDestTop, p->formattedMsg, nullptr, p->func)) return 0;
    if (p->footerMsg[0]) {
        if (!TextOutputSelectFont(p->footerMsgFontRSID)) return 0;
        TextOutputSetMode(kTextModeCenter);
        if (!TextOutputDrawEmbedded(p->footerDestLeft, p->footerDestTop, p->footerMsg, nullptr, p->func)) return 0;
    }
    return 1;
}

// The glyph a text starts with ({n} with an image), or -1.
static int LeadingGlyph(const char* s)
{
    if (!s || *s != '{') return -1;
    int n = 0;
    const char* p = s + 1;
    for (; *p >= '0' && *p <= '9'; ++p) n = n * 10 + (*p - '0');
    return *p == '}' && p > s + 1 && n < kOverlayGraphics && graphics[n].bitmap.theBitmap ? n : -1;
}

PictureBox OverlayTextBox(int x, int y, const char* text, int mode)
{
    const int width = EmbeddedWidth(text);
    const int left = (mode & kTextModeCenter) ? x - (width >> 1) : (mode & kTextModeRight) ? x - width : x;
    // A leading glyph is drawn after its gap, which shows nothing.
    const int glyph = LeadingGlyph(text);
    const int gap = glyph >= 0 ? graphics[glyph].dx : 0;
    const int fontH = TextOutputGetFontHeight();
    const int h = EmbeddedHeight(text);
    return PictureBox{left + gap, y + Min(0, (fontH - h) / 2), width - gap, Max(fontH, h)};
}

PictureBox BoxAround(const PictureBox& a, const PictureBox& b)
{
    const int left = Min(a.x, b.x), top = Min(a.y, b.y);
    return PictureBox{left, top, Max(a.x + a.w, b.x + b.w) - left, Max(a.y + a.h, b.y + b.h) - top};
}

int MsgFooterAnswers(const MsgOverlayProperties_tag* p, PictureBox answers[2])
{
    if (!p || !p->footerMsg[0] || !TextOutputSelectFont(p->footerMsgFontRSID)) return 0;
    const char* footer = p->footerMsg;
    const int width = EmbeddedWidth(footer);
    const int start = p->footerDestLeft - (width >> 1);
    // The last answer starts at the footer's last glyph and ends with the line; the first is what
    // stands before it, less the spaces between them.
    const char* last = std::strrchr(footer, '{');
    if (!last || last == footer || LeadingGlyph(last) < 0) {
        answers[0] = OverlayTextBox(start, p->footerDestTop, footer, kTextModeLeft);
        return 1;
    }
    char first[kOverlayTextSize];
    size_t n = size_t(last - footer);
    while (n > 0 && footer[n - 1] == ' ') --n;
    std::memcpy(first, footer, n);
    first[n] = '\0';
    answers[0] = OverlayTextBox(start, p->footerDestTop, first, kTextModeLeft);
    answers[1] = OverlayTextBox(start + width, p->footerDestTop, last, kTextModeRight);
    return 2;
}

void NoteDrawnButton(const PictureBox& b) { TextOutputNoteButton(b.x, b.y, b.w, b.h); }

int DrawOverlayBackground(int, int, int, int) { return DrawOverlayBitmap(GetOverlayRSID(kMessageBackground), 0, 0); }

// ---- Menu lists ----

int AddMenuEntry(MenuEntry_tag** head, MenuEntry_tag** tail, const char* string, uint16_t textLeft, uint16_t textTop,
                 uint16_t iconLeft, uint16_t iconTop, int menuType, int (*menuFunction)())
{
    if (!head) return 0;
    if (*head && !tail) return 0;
    MenuEntry_tag* e = nullptr;
    if (!AllocateClearedMemory(reinterpret_cast<void**>(&e), int(sizeof(MenuEntry_tag)))) return 0;
    std::snprintf(e->string, sizeof e->string, "%s", string ? string : "");
    e->textLeft = textLeft;
    e->textTop = textTop;
    e->iconLeft = iconLeft;
    e->iconTop = iconTop;
    e->menuType = menuType;
    e->menuFunction = menuFunction;
    if (!*head) {
        *head = e;
    } else {
        e->prevEntry = *tail;
        (*tail)->nextEntry = e;
    }
    if (tail) *tail = e;
    return 1;
}

int FreeMenuEntries(MenuEntry_tag** head, MenuEntry_tag** tail)
{
    int ok = 1;
    MenuEntry_tag* e = head ? *head : nullptr;
    while (e) {
        MenuEntry_tag* next = e->nextEntry;
        if (!FreeManagedMemory(e, 0)) ok = 0;
        e = next;
    }
    if (head) *head = nullptr;
    if (tail) *tail = nullptr;
    return ok;
}

// ---- Input owner and per-screen drawing ----

int GetOverlayControllerNum() { return gOverlayControllerIndex; }

int SetOverlayControllerNum(int n)
{
    gOverlayControllerIndex = n;
    return 1;
}

int SetHUDDisplay(int n)
{
    displayNum = n > 1 ? 1 : (n < 0 ? 0 : n);
    return 1;
}

int DrawGameOverlays()
{
    TextOutputSetMode(kTextModeLeft);
    if (gGameControls && !gTestModeRunning && !gChangeStageTransition) {
        if (displayNum == 0) DrawUpperHUD();
        if (!OverlayExists() || gOnlineSessionActive) {
            if (displayNum != 1) return 1;
            DrawLowerHUD();
        }
    }
    if (displayNum != 1) return 1;
    // While a clip plays the lower screen is the clip's (with the heads-up display's frame round
    // it, drawn above): no overlay covers it.
    if (VideoPlaying()) return 1;
    const int drawn = OverlayDraw();
    // The icon that says the HOME menu is refused goes over the overlays: under them it would be
    // hidden by every overlay's full-screen background. A missing icon image stops nothing.
    DrawNoHomeOverlay();
    return drawn ? 1 : 0;
}

void NoteOverlayButtons(std::initializer_list<PictureBox> buttons)
{
    for (const PictureBox& b : buttons) {
        TextOutputNoteBox(b.x, b.y, b.w, b.h);
        TextOutputNoteButton(b.x, b.y, b.w, b.h);
    }
}

TouchButton_tag* NewBoxButton(const PictureBox& b) { return NewTouchButton(b.x, b.y, b.w, b.h); }
