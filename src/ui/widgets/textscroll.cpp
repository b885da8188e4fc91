// The text scroll widget: rolls a table's rows up through its window at a rate measured in rows,
// two rows on screen at a time, fading each in at the bottom and out at the top. Column 1 and 2
// of a row are its text lines, column 3 the name of a constant holding an image's resource id.
#include "ui/widgets/textscroll.h"

#include <cstring>

#include "db/database.h"
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "lib/textoutput.h"
#include "platform/bitmap.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "ui/draw2d.h"
#include "ui/frameupdate.h"
#include "ui/loadcheck.h"
#include "ui/widgets/dbref.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetTypeTextScroll* Record(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeTextScroll>(w, EBasicUiWidgetTypeTextScroll);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeTextScroll_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeTextScroll* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeTextScroll, &r);
    if (!r) return ref;
    r->cursorMax = 1.0f;
    r->speed = 0.01f;
    r->x = r->y = r->w = r->h = r->insetY = r->fontID = BasicUiValueINT_Make(0);
    r->fontAlignmentX = r->fontAlignmentY = BasicUiValueINT_Make(1);
    r->fontScaleX = r->fontScaleY = 1.0f;
    r->fontOffsetX = r->fontOffsetY = BasicUiValueINT_Make(0);
    return ref;
}

int BasicUiWidgetTypeTextScroll_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetTypeTextScroll* r = Record(w);
    if (!r || !t) return 0;
    auto real = [t](const char* n, float* v) { BasicUiPropertyTracker_Add(t, n, eBasicUiPropertyTypeFLT, v, 1, 0); };
    auto integer = [t](const char* n, sBasicUiValueINT* v) {
        BasicUiPropertyTracker_Add(t, n, eBasicUiPropertyTypeINT, v, 1, 1);
    };
    real("cursor", &r->cursor);
    real("cursorMin", &r->cursorMin);
    real("cursorMax", &r->cursorMax);
    real("speed", &r->speed);
    integer("x", &r->x);
    integer("y", &r->y);
    integer("w", &r->w);
    integer("h", &r->h);
    integer("insetY", &r->insetY);
    integer("fontID", &r->fontID);
    integer("fontAlignX", &r->fontAlignmentX);
    integer("fontAlignY", &r->fontAlignmentY);
    real("fontSclX", &r->fontScaleX);
    real("fontSclY", &r->fontScaleY);
    integer("fontOffX", &r->fontOffsetX);
    integer("fontOffY", &r->fontOffsetY);
    BasicUiPropertyTracker_Add(t, "textDbRef", eBasicUiPropertyTypeWidgetREF, &r->textDbRef, 1, 0);
    return 1;
}

int BasicUiWidgetTypeTextScroll_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }

int BasicUiWidgetTypeTextScroll_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!Record(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

int BasicUiWidgetTypeTextScroll_Update(sBasicUiWidget* w, float dt)
{
    sBasicUiWidgetTypeTextScroll* r = Record(w);
    sBasicDbTable* table = r ? BasicUiWidgetTypeDbRef_Table(r->textDbRef) : nullptr;
    if (!table) return 1;
    const float k = r->h.value > 1 ? 0.0009259259f : 1.0f;
    // A scroll running backwards never reaches the end that restarts it: the cursor keeps the
    // range every number of a widget keeps (a row is taken from it as an integer).
    r->cursor = BasicUi_KeepCoordinateF(r->cursor + r->speed * dt * k);
    if (r->cursor > float(table->rows)) {
        r->cursor = r->cursorMin;
        r->modulus = 0;
    }
    if (r->cursor >= 1.0f) r->modulus = 1;
    return 1;
}

int BasicUiWidgetTypeTextScroll_SetDbRef(sBasicUiWidget* w, sBasicUiWidget* textDbRef)
{
    sBasicUiWidgetTypeTextScroll* r = Record(w);
    if (!r) return 0;
    r->textDbRef = textDbRef;
    return 1;
}

float BasicUi_TextScrollOpacity(float p, int inset, int h)
{
    if (p < 0.0f || p > 1.0f) return 0.0f;
    // Without a window height or fade zones there is nothing to fade over (and nothing to divide by).
    if (h <= 0 || inset <= 0) return 1.0f;
    const float z = float(inset) / float(h);
    if (p < z) return p / z;
    if (p <= 1.0f - z) return 1.0f;
    return (1.0f - p) / z;
}

static int Width(const char* text, int length, float sx, float sy)
{
    int x0, y0, x1, y1;
    return BasicUi_BoundsScaledDbText(0, 0, sx, sy, 0, 0, text, length, &x0, &y0, &x1, &y1) ? x1 - x0 : 0;
}

// How much of the text's start goes on one line of the given width: all of it when it fits or
// the width is not set, else up to the last space that fits, else the characters that fit (at
// least one), so that no line runs past the window's sides.
static int LinePiece(const char* text, int length, int width, float sx, float sy)
{
    if (width <= 0 || Width(text, length, sx, sy) <= width) return length;
    int fits = 1;
    for (int n = 2; n <= length && Width(text, n, sx, sy) <= width; ++n) fits = n;
    for (int n = fits; n > 0; --n)
        if (text[n] == ' ') return n;
    return fits;
}

// One row: its two text lines and its image, from the row's top down. A text wider than the
// window is wrapped onto further lines there (the window's width bounds its texts). A line or
// image that would pass the window's bottom edge is left out: a row comes in at the bottom a
// piece at a time.
static void DrawRow(sBasicUiWidget* w, sBasicUiWidgetTypeTextScroll* r, sBasicDbTable* table, int row, int top,
                    float opacity)
{
    RenderSetAlphaLevel(uint8_t(opacity * 255.0f));
    const int x = r->x.value, bottom = r->y.value + r->h.value;
    for (int column = 1; column <= 2; column++) {
        char text[256] = "";
        BasicDbTable_PutElementOntoStr(table, row, column, text, int(sizeof text));
        const float sx = r->fontScaleX, sy = r->fontScaleY;
        const int ax = r->fontAlignmentX.value, ay = r->fontAlignmentY.value;
        for (const char* s = text; *s;) {
            const int n = LinePiece(s, int(std::strlen(s)), r->w.value, sx, sy);
            int x0, y0, x1, y1;
            if (BasicUi_BoundsScaledDbText(x, top, sx, sy, ax, ay, s, n, &x0, &y0, &x1, &y1)) {
                if (y1 > bottom) return;
                BasicUi_RenderScaledDbText(x, top, sx, sy, ax, ay, s, n);
                if (y1 > y0) top += y1 - y0;
            }
            s += n;
            while (*s == ' ') ++s;
        }
    }
    char name[256] = "";
    BasicDbTable_PutElementOntoStr(table, row, 3, name, int(sizeof name));
    sBasicUiConstantDef* c = name[0] ? BasicUi_FindConstantDef(BasicUiWidget_GetEnvironment(w), name) : nullptr;
    void* handle = nullptr;
    // The constant must name a bitmap: any other resource read as one would draw garbage.
    if (!c || !ResourceLoaded(c->iValue) || ResourceType(c->iValue) != kResourceTypeBitmap ||
        !GetResourceHandle(c->iValue, &handle) || !handle)
        return;
    auto* bitmap = static_cast<DS3_bitmap_tag*>(handle);
    const int width = int(bitmap->width), height = int(bitmap->height);
    if (top + height > bottom) return;
    DrawScreenPoly(bitmap, 0, 0, x - width / 2, top, width, height);
    // The picture stands on the panel under the scroll as a line does: --layout-out notes it.
    TextOutputNoteBox(x - width / 2, top, width, height);
}

int BasicUiWidgetTypeTextScroll_Render(sBasicUiWidget* w)
{
    sBasicUiWidgetTypeTextScroll* r = Record(w);
    sBasicDbTable* table = r ? BasicUiWidgetTypeDbRef_Table(r->textDbRef) : nullptr;
    if (!table || !BasicUi_FontExists(r->fontID.value) || !TextOutputSelectFont(r->fontID.value)) return 1;
    int rowA = int(r->cursor), rowB = rowA + 1;
    const float f = r->cursor - float(rowA);
    float a = r->modulus ? f + 0.5f : f;
    float b = a - 0.5f;
    if (r->modulus && a > 1.0f) {
        rowA++;
        rowB++;
        r->cursor = BasicUi_KeepCoordinateF(r->cursor + 0.5f);
        a = b;
        b -= 0.5f;
    }
    const int y = r->y.value, h = r->h.value;
    const int topA = int(float(y) + float(h) * (1.0f - a)), topB = int(float(y) + float(h) * (1.0f - b));
    RenderSetAlphaLevel(255);
    RenderSetPenColor(0, 0, 0);
    RenderSetColorModulation(127, 127, 127);
    if (rowA < table->rows) DrawRow(w, r, table, rowA, topA, BasicUi_TextScrollOpacity(a, r->insetY.value, h));
    if (rowB < table->rows) DrawRow(w, r, table, rowB, topB, BasicUi_TextScrollOpacity(b, r->insetY.value, h));
    RenderSetAlphaLevel(255);
    return 1;
}
