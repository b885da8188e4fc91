// The on-screen keyboard: layout from font metrics, stylus handling with key repeat, drawing on
// the lower screen, and the input lock that keeps the screens still while a name is typed.
#include "ui/osk.h"

#include <cstring>

#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "lib/textoutput.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "ui/draw2d.h"
#include "ui/frameupdate.h"

const char basicUiOskLayout[] = "\x0a" "1234567890" "\x08" "##"
                                "\t" "qwertyuiop" "\x0c" "##"
                                "\t\t" "asdfghjkl" "##"
                                "\t\t\t" "zxcvbnm" "##"
                                "\t\t" "\x0d" " " "\x0d";

static sBasicUiOSK sOsk;
static sBasicUiEnvironment* sOskEnv = nullptr;
static int sOskFinished = 1;
static float sOskElapsed = 0.0f;
static const float sOskInterval = 1.0f;  // input stays blocked this long after the keyboard is done
static BasicUiInputMode sOskLastInputState = BasicUiInputMode_Normal;
static BasicUiInputMode sOskCancelledState = BasicUiInputMode_Normal;

// Metrics of keys when no font at all can be had.
enum { kNoFontKeyWidth = 12, kNoFontHeight = 14 };

static const char* LabelOf(int code)
{
    switch (code) {
    case kBasicUiOskDel: return "DEL";
    case kBasicUiOskEnter: return "ENTER";
    case kBasicUiOskShift: return "SHIFT";
    case kBasicUiOskEsc: return "ESC";
    case ' ': return "SPACE";
    default: return nullptr;
    }
}

static int Width(const char* s, int haveFont)
{
    return haveFont ? TextOutputLineLength(s) : kNoFontKeyWidth * int(std::strlen(s));
}

// Selects the keyboard's font, else the UI's default one; 0 when neither is loaded.
static int SelectFont(int fontRSID)
{
    if (BasicUi_FontExists(fontRSID) && TextOutputSelectFont(fontRSID)) return fontRSID;
    if (BasicUi_FontExists(kGameFontDefault) && TextOutputSelectFont(kGameFontDefault)) return kGameFontDefault;
    return 0;
}

// The lower screen on the 2D canvas: a key past its right or bottom edge could never be touched.
enum { kLowerScreenRight = 400 + 320, kLowerScreenBottom = 60 + 240 };

// The widths the keys are built from: a letter or digit ("W"), the wide keys (DEL, ENTER and SHIFT,
// as wide as the widest label) and ESC, and the font's height.
struct KeyMetrics {
    int F, wW, wide, wEsc;
};

// Lays the keys of the layout out from the keyboard's corner with trim T (each key's padding and
// the gap between keys), and sets the keyboard's size.
static void LayOutKeys(sBasicUiOSK* osk, const char* layout, const KeyMetrics& m, int T)
{
    const int x = osk->x, y = osk->y, F = m.F;
    int cx = x + T, cy = y + 4 * T + 2 * F, right = x;
    osk->keys = 0;
    for (const char* p = layout; p && *p && osk->keys < kBasicUiOskMaxKeys; ++p) {
        if (p[0] == '#' && p[1] == '#') {
            ++p;
            cy += F + 2 * T;
            cx = x + T;
            continue;
        }
        if (*p == '\t') {
            cx += T + m.wW / 2;
            continue;
        }
        int code = *p, ref = m.wW;
        if (code == kBasicUiOskDel || code == kBasicUiOskEnter || code == kBasicUiOskShift) ref = m.wide;
        else if (code == kBasicUiOskEsc) ref = m.wEsc;
        else if (code == ' ') ref = 4 * m.wW + 10 * T;
        int k = osk->keys++;
        osk->key[k] = (signed char)code;
        osk->keyX[k] = cx;
        osk->keyY[k] = cy;
        osk->keyW[k] = ref + 2 * T;
        osk->keyH[k] = F + T;
        if (cx + osk->keyW[k] > right) right = cx + osk->keyW[k];
        cx += ref + 3 * T;
    }
    osk->w = right - x;
    osk->h = F + 2 * T + cy - y;
}

static int FitsLowerScreen(const sBasicUiOSK* osk)
{
    return osk->x + osk->w <= kLowerScreenRight && osk->y + osk->h <= kLowerScreenBottom;
}

int BasicUi_CreateOSK(sBasicUiOSK* osk, const char* title, const char* layout, int x, int y, int bufferMax,
                      int fontRSID, int bgRSID, int keyRSID, int keyTrim, float repeatRate)
{
    if (!osk) return 0;
    std::memset(osk, 0, sizeof *osk);
    // Room for the terminator is kept: at most 255 characters, and none for a limit below 1.
    osk->bufferMax = bufferMax < 0 ? 0 : bufferMax > kBasicUiOskTextSize - 1 ? kBasicUiOskTextSize - 1 : bufferMax;
    if (title) std::strncpy(osk->title, title, kBasicUiOskTextSize - 1);
    osk->x = x;
    osk->y = y;
    osk->bgRSID = bgRSID;
    osk->keyRSID = keyRSID;
    osk->repeatRate = repeatRate;
    osk->pressLast = -1;
    int previous = TextOutputGetFontRSID();
    osk->fontRSID = SelectFont(fontRSID);
    int haveFont = osk->fontRSID != 0;
    if (!haveFont) PrintError("osk: no font for the keyboard (%i); keys are drawn without labels", fontRSID);
    else if (osk->fontRSID != fontRSID)
        PrintError("osk: font %i is not loaded; the keyboard uses the default font", fontRSID);
    KeyMetrics m = {haveFont ? TextOutputGetFontHeight() : kNoFontHeight, Width("W", haveFont), 0,
                    Width("ESC", haveFont)};
    for (const char* s : {"DEL", "ENTER", "SHIFT", "SPACE", "ESC"}) {
        int w = Width(s, haveFont);
        if (w > m.wide) m.wide = w;
    }
    osk->fontHeight = m.F;
    // Every key must be on the lower screen, where the stylus can reach it. The top row (ESC, ten
    // digits, DEL) is the widest: in the game's keyboard font at the text-input command's trim of
    // 4 it needs 366 pixels, and the screen has 320. The labels keep their size, so that they stay
    // readable, and the trim (each key's padding and the gaps between keys) shrinks instead until
    // the keys fit: trim 2 lays that keyboard out 294 pixels wide.
    int T = keyTrim < 0 ? 0 : keyTrim;
    LayOutKeys(osk, layout, m, T);
    while (T > 0 && !FitsLowerScreen(osk)) LayOutKeys(osk, layout, m, --T);
    if (!FitsLowerScreen(osk))
        PrintError("osk: the keyboard at (%i, %i) does not fit on the lower screen; keys past its edge cannot be touched",
                   x - 400, y - 60);
    osk->keyTrim = T;
    if (previous >= 0) TextOutputSelectFont(previous);
    return 1;
}

void BasicUiOSK_Open(sBasicUiEnvironment* env, const char* title, int x, int y, int fontRSID, int keyTrim,
                     int bufferMax, BasicUiInputMode cancelMode)
{
    BasicUi_CreateOSK(&sOsk, title, basicUiOskLayout, x, y, bufferMax, fontRSID, -1, -1, keyTrim, 1.0f);
    sOskEnv = env;
    sOskLastInputState = BasicUiEnvironment_GetInputMode(env);
    sOskCancelledState = cancelMode;
    BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_None);
    sOskFinished = 0;
    sOskElapsed = 0.0f;
}

static void Press(sBasicUiOSK* osk, int code)
{
    switch (code) {
    case kBasicUiOskDel:
        if (osk->bufferPos > 0) osk->buffer[--osk->bufferPos] = 0;
        break;
    case kBasicUiOskEnter:
        osk->done = 1;
        osk->cancelled = 0;
        break;
    case kBasicUiOskEsc:
        osk->done = 1;
        osk->cancelled = 1;
        break;
    case kBasicUiOskShift: osk->shiftState = !osk->shiftState; break;
    default:
        if (osk->bufferPos >= osk->bufferMax) break;
        if (osk->shiftState && code >= 'a' && code <= 'z') {
            code += 'A' - 'a';
            osk->shiftState = 0;
        }
        osk->buffer[osk->bufferPos++] = char(code);
        osk->buffer[osk->bufferPos] = 0;
        break;
    }
}

int BasicUi_UpdateOSK(sBasicUiOSK* osk, float dt)
{
    if (!osk) return 0;
    if (!osk->pressDown) {
        osk->pressLast = -1;
        return 1;
    }
    // Only the first key under the stylus acts. Keys are laid out with a gap of the trim between
    // them, but a trim shrunk to 0 to fit the screen leaves neighbours sharing an edge, and a key
    // takes its edges: a touch on such an edge would type both keys, and, each being another key
    // than the one touched last, type them again every frame it is held.
    for (int k = 0; k < osk->keys; ++k) {
        if (osk->pressX < osk->keyX[k] || osk->pressX > osk->keyX[k] + osk->keyW[k] || osk->pressY < osk->keyY[k] ||
            osk->pressY > osk->keyY[k] + osk->keyH[k])
            continue;
        if (k == osk->pressLast) {
            osk->repeatElapsed += dt;
            if (osk->repeatElapsed < osk->repeatRate) return 1;
        }
        Press(osk, osk->key[k]);
        osk->pressLast = k;
        osk->repeatElapsed = 0.0f;
        return 1;
    }
    return 1;
}

int BasicUiOSK_Update(sBasicUiEnvironment* env, float dt)
{
    if (sOskFinished || env != sOskEnv) return 1;
    BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_None);
    // B leaves the keyboard as ESC does, so that a player on the pad can always back out of a
    // name without touching the screen; the text being typed is dropped.
    const joystickState* pad = BasicUi_GetController(1);
    if (!sOsk.done && pad && (pad->edges & pad->buttons & kButtonB)) Press(&sOsk, kBasicUiOskEsc);
    const DS3_controller* c = controllers[0].controller;
    if (c && c->touchData.isTouching) {
        sOsk.pressX = c->touchData.x + 400;
        sOsk.pressY = c->touchData.y + 60;
        sOsk.pressDown = 1;
    } else {
        sOsk.pressDown = 0;
    }
    if (!sOsk.done)
        BasicUi_UpdateOSK(&sOsk, dt);
    else
        sOskElapsed += dt;
    if (sOskElapsed > sOskInterval) {
        BasicUiEnvironment_SetInputMode(env, sOsk.cancelled ? sOskCancelledState : sOskLastInputState);
        sOskFinished = 1;
        sOskEnv = nullptr;
    }
    return 1;
}

static DS3_bitmap_tag* BitmapOf(int rsid)
{
    void* handle = nullptr;
    if (rsid < 0 || !BasicUi_ImageExists(rsid) || !GetResourceHandle(rsid, &handle)) return nullptr;
    return static_cast<DS3_bitmap_tag*>(handle);
}

// A key from a key image: its left cap (trim wide), its middle stretched over the key, and its
// right cap from 2 x trim in the image.
static void DrawKeyImage(DS3_bitmap_tag* b, int x, int y, int w, int h, int trim)
{
    DrawScreenPoly(b, 0, 0, x, y, trim, h);
    ScreenPolyData middle = {b, trim, 0, trim, h, x + trim, y, w - 2 * trim, h, 0};
    DrawScreenPolyEx(&middle);
    DrawScreenPoly(b, 2 * trim, 0, x + w - trim, y, trim, h);
}

int BasicUi_RenderOSK(sBasicUiOSK* osk)
{
    if (!osk) return 0;
    int T = osk->keyTrim, F = osk->fontHeight;
    // The keyboard's panel is opaque and hides the page's lines under it, as a question's panel
    // does: the page's buttons showing through would read as keys.
    RenderSetAlphaLevel(255);
    RenderSetPenColor(128, 128, 128);
    DS3_bitmap_tag* bg = BitmapOf(osk->bgRSID);
    TextOutputNoteCover(osk->x, osk->y, osk->w, osk->h);
    if (bg)
        DrawScreenPoly(bg, 0, 0, osk->x, osk->y, bg->width, bg->height);
    else
        RenderRect(osk->x, osk->y, osk->w, osk->h);
    DS3_bitmap_tag* keyImage = BitmapOf(osk->keyRSID);
    int previous = TextOutputGetFontRSID();
    int haveFont = osk->fontRSID && TextOutputSelectFont(osk->fontRSID);
    RenderSetAlphaLevel(255);
    RenderSetPenColor(64, 64, 64);
    RenderRect(osk->x + T, osk->y + T, osk->w - 2 * T, F);
    RenderRect(osk->x + T, osk->y + F + 2 * T, osk->w - 2 * T, F + T);
    RenderSetColorModulation(127, 127, 127);
    if (haveFont) {
        BasicUi_RenderScaledDbText(osk->x + 2 * T, osk->y + T, 1.0f, 1.0f, 0, 0, osk->title);
        BasicUi_RenderScaledDbText(osk->x + 2 * T, osk->y + 3 * T + F, 1.0f, 1.0f, 0, 0, osk->buffer);
    }
    for (int k = 0; k < osk->keys; ++k) {
        TextOutputNoteTouch(osk->keyX[k], osk->keyY[k], osk->keyW[k], osk->keyH[k]);
        RenderSetPenColor(64, 64, 64);
        if (keyImage)
            DrawKeyImage(keyImage, osk->keyX[k], osk->keyY[k], osk->keyW[k], osk->keyH[k], T);
        else
            RenderRect(osk->keyX[k], osk->keyY[k], osk->keyW[k], osk->keyH[k]);
        if (!haveFont) continue;
        char one[2] = {char(osk->key[k]), 0};
        const char* label = LabelOf(osk->key[k]);
        if (!label) {
            if (osk->shiftState && one[0] >= 'a' && one[0] <= 'z') one[0] = char(one[0] + 'A' - 'a');
            label = one;
        }
        BasicUi_RenderScaledDbText(osk->keyX[k] + osk->keyW[k] / 2, osk->keyY[k] + T, 1.0f, 1.0f, 1, 0, label);
    }
    RenderSetPenColor(128, 128, 128);
    if (previous >= 0) TextOutputSelectFont(previous);
    return 1;
}

int BasicUiOSK_Render(sBasicUiEnvironment* env)
{
    if (!sOskFinished && !sOsk.done && env && env == sOskEnv) BasicUi_RenderOSK(&sOsk);
    return 1;
}

void BasicUiOSK_Close()
{
    sOsk.done = 1;
    sOsk.cancelled = 1;
}

const char* BasicUiOSK_Result() { return sOsk.buffer; }
int BasicUiOSK_Cancelled(sBasicUiEnvironment*) { return sOsk.cancelled; }
int BasicUiOSK_Opened(sBasicUiEnvironment* env) { return !sOskFinished && !sOsk.done && env == sOskEnv ? 1 : 0; }
sBasicUiOSK* BasicUiOSK_Get() { return &sOsk; }

void BasicUiOSK_Forget(sBasicUiEnvironment* env)
{
    if (!env || env != sOskEnv) return;
    sOsk.done = sOsk.cancelled = 1;
    sOskFinished = 1;
    sOskEnv = nullptr;
}
