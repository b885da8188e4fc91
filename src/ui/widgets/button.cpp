// The button widget type: a bitmap at a rectangle with an optional highlight over it and an
// optional text from a database cell, linked to its four neighbours for pad navigation, and tested
// against the display's cursor for touches. Texts are drawn as they are, never as formats.
#include "ui/widgets/button.h"

#include <string>

#include "db/database.h"
#include "lib/resources.h"
#include "lib/textoutput.h"
#include "platform/quads.h"
#include "ui/dbcellref.h"
#include "ui/draw2d.h"
#include "ui/frameupdate.h"
#include "ui/placeholder.h"
#include "ui/widgets/dbref.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

enum { kCellText = 256 };

sBasicUiWidgetTypeButton* BasicUiWidgetTypeButton_Get(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeButton>(w, EBasicUiWidgetTypeButton);
}

sBasicUiDisplay* BasicUiWidget_GetDisplay(sBasicUiWidget* w)
{
    while (w && !w->parentScreen) w = w->parentWidget;
    return w ? w->parentScreen->parentDisplay : nullptr;
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeButton_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeButton* b = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeButton, &b);
    if (!b) return ref;
    b->alpha = b->alphaH = BasicUiValueBYTE_Make(255);
    b->mr = b->mg = b->mb = BasicUiValueBYTE_Make(127);
    b->resourceID = b->highLightID = BasicUiValueINT_Make(-1);
    b->fontAlignmentY = BasicUiValueINT_Make(1);
    b->fontScaleX = b->fontScaleY = 1.0f;
    b->lockedElement = b->stateElement = BasicUiValueINT_Make(-1);
    return ref;
}

int BasicUiWidgetTypeButton_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* b = BasicUiWidgetTypeButton_Get(w);
    if (!b || !t) return 0;
    const eBasicUiPropertyType B = eBasicUiPropertyTypeBOOL, Y = eBasicUiPropertyTypeBYTE,
                               I = eBasicUiPropertyTypeINT, F = eBasicUiPropertyTypeFLT,
                               S = eBasicUiPropertyTypeSTR, W = eBasicUiPropertyTypeWidgetREF;
    struct Row {
        const char* name;
        eBasicUiPropertyType type;
        void* value;
        int initial;
    };
    const Row rows[] = {
        {"alpha", Y, &b->alpha, 1}, {"alphaH", Y, &b->alphaH, 1}, {"mr", Y, &b->mr, 1}, {"mg", Y, &b->mg, 1},
        {"mb", Y, &b->mb, 1}, {"x", I, &b->x, 1}, {"y", I, &b->y, 1}, {"w", I, &b->w, 1}, {"h", I, &b->h, 1},
        {"boundsDN", I, &b->boundsDN, 1}, {"boundsDS", I, &b->boundsDS, 1}, {"boundsDE", I, &b->boundsDE, 1},
        {"boundsDW", I, &b->boundsDW, 1}, {"src.x", I, &b->srcX, 1}, {"src.y", I, &b->srcY, 1},
        {"src.w", I, &b->srcW, 1}, {"src.h", I, &b->srcH, 1}, {"isScalable", B, &b->isScalable, 1},
        {"imageID", I, &b->resourceID, 1}, {"highLightID", I, &b->highLightID, 1},
        {"hasRotation", B, &b->hasRotation, 1}, {"rotation", F, b->r, 1}, {"hasDepth", B, &b->hasDepth, 1},
        {"depth", F, b->z, 1}, {"buttonN", W, &b->button[kBasicUiLinkN], 0},
        {"buttonS", W, &b->button[kBasicUiLinkS], 0}, {"buttonE", W, &b->button[kBasicUiLinkE], 0},
        {"buttonW", W, &b->button[kBasicUiLinkW], 0}, {"fontID", I, &b->fontID, 1},
        {"fontAlignX", I, &b->fontAlignmentX, 1}, {"fontAlignY", I, &b->fontAlignmentY, 1},
        {"fontSclX", F, &b->fontScaleX, 0}, {"fontSclY", F, &b->fontScaleY, 0},
        {"fontOffX", I, &b->fontOffsetX, 1}, {"fontOffY", I, &b->fontOffsetY, 1}, {"wrapText", B, &b->wrapText, 1},
        {"wrapSizeX", B, &b->wrapSizeX, 1}, {"wrapSizeY", B, &b->wrapSizeY, 1},
        {"wrapTextInsetX", I, &b->wrapTextInsetX, 1}, {"wrapTextInsetY", I, &b->wrapTextInsetY, 1},
        {"adjustX", I, &b->adjustX, 1}, {"adjustY", I, &b->adjustY, 1}, {"hasDbTxt", B, &b->hasDbText, 1},
        {"dbShowNm", B, &b->dbShowName, 1}, {"dbNmOff", I, &b->dbNameOffset, 1},
        {"dbDtOff", I, &b->dbDataOffset, 1}, {"dbNm", S, &b->dbName, 0}, {"dbTblNm", S, &b->dbTableName, 0},
        {"column", I, &b->column, 1}, {"row", I, &b->row, 1}, {"element", I, &b->element, 1},
        {"ndbRef", W, &b->ndbRef, 0}, {"ncolumn", I, &b->ncolumn, 1}, {"nrow", I, &b->nrow, 1},
        {"hasIDbTxt", B, &b->hasIDbText, 1}, {"idbNm", S, &b->idbName, 0}, {"idbTblNm", S, &b->idbTableName, 0},
        {"icolumn", I, &b->icolumn, 1}, {"hasIDbRow", B, &b->hasIDbRow, 1}, {"idbRowRef", W, &b->idbRowRef, 0},
        {"lockedDb", W, &b->lockedDb, 0}, {"lockedElement", I, &b->lockedElement, 1},
        {"lockedXOffset", I, &b->lockedXOffset, 1}, {"lockedYOffset", I, &b->lockedYOffset, 1},
        {"stateDb", W, &b->stateDb, 0}, {"stateElement", I, &b->stateElement, 1},
        {"stateXOffset", I, &b->stateXOffset, 1}, {"stateYOffset", I, &b->stateYOffset, 1},
        {"skipable", B, &b->skipable, 1},
    };
    for (const Row& r : rows) BasicUiPropertyTracker_Add(t, r.name, r.type, r.value, 1, r.initial);
    return 1;
}

int BasicUiWidgetTypeButton_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }

// The table of a name pair, looked up again only when a name pointer changed; a failed look-up
// keeps the table found before.
static void Resolve(sBasicUiEnvironment* env, const char* nm, const char* tblNm, const char** cNm,
                    const char** cTblNm, sBasicDbTable** table)
{
    if (nm == *cNm && tblNm == *cTblNm) return;
    *cNm = nm;
    *cTblNm = tblNm;
    sBasicDb* db = BasicUi_FindDb(env, nm);
    sBasicDbTable* found = db && tblNm ? BasicDbTable_Find(db, tblNm) : nullptr;
    if (found) *table = found;
}

static int AdjustX(const sBasicUiWidgetTypeButton* b) { return (b->w.value * b->adjustX.value) / 2; }
static int AdjustY(const sBasicUiWidgetTypeButton* b) { return (b->h.value * b->adjustY.value) / 2; }

static void DataPosition(const sBasicUiWidgetTypeButton* b, int* px, int* py)
{
    *px = b->x.value + AdjustX(b) + b->fontOffsetX.value + b->dbDataOffset.value +
          (b->fontAlignmentX.value * b->w.value) / 2;
    *py = b->y.value + AdjustY(b) + b->fontOffsetY.value + (b->fontAlignmentY.value * b->h.value) / 2;
}

// Selects the button's font; the previous font is left in *previous. Drawing marks a missing font
// with a placeholder.
static int SelectFont(sBasicUiWidgetTypeButton* b, int* previous)
{
    if (!BasicUi_FontExists(b->fontID.value)) return 0;
    *previous = TextOutputGetFontRSID();
    return TextOutputSelectFont(b->fontID.value);
}

static void RestoreFont(int previous)
{
    if (previous >= 0) TextOutputSelectFont(previous);
}

// The bounds of the wrapped cell text; 0 when there is nothing to measure.
static int WrapBounds(sBasicUiWidgetTypeButton* b, int* x0, int* y0, int* x1, int* y1)
{
    if (!b->internalDbTable) return 0;
    char text[kCellText] = {0};
    BasicDbTable_PutElementOntoStr(b->internalDbTable, b->row.value, b->column.value, text, kCellText);
    int px = 0, py = 0;
    DataPosition(b, &px, &py);
    BasicUi_BoundsScaledDbText(px, py, b->fontScaleX, b->fontScaleY, b->fontAlignmentX.value,
                               b->fontAlignmentY.value, text, x0, y0, x1, y1);
    return *x0 <= *x1;
}

int BasicUiWidgetTypeButton_Update(sBasicUiWidget* w, float)
{
    auto* b = BasicUiWidgetTypeButton_Get(w);
    if (!b) return 0;
    if (b->hasIDbRow.value) b->row.value = BasicUiWidgetTypeDbRef_GetDbInt(b->idbRowRef);
    if (!b->hasDbText.value) return 1;
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    Resolve(env, b->dbName, b->dbTableName, &b->internalDbName, &b->internalDbTableName, &b->internalDbTable);
    Resolve(env, b->idbName, b->idbTableName, &b->internalIDbName, &b->internalIDbTableName, &b->internalIDbTable);
    if (b->hasIDbText.value || !b->wrapText.value) return 1;
    int previous = -1;
    if (!SelectFont(b, &previous)) return 1;
    int x0, y0, x1, y1;
    if (WrapBounds(b, &x0, &y0, &x1, &y1)) {
        if (b->wrapSizeX.value) b->w.value = (x1 - x0) + 2 * b->wrapTextInsetX.value;
        if (b->wrapSizeY.value) b->h.value = (y1 - y0) + 2 * b->wrapTextInsetY.value;
    }
    RestoreFont(previous);
    return 1;
}

static void* Bitmap(int id)
{
    void* handle = nullptr;
    if (!BasicUi_ImageExists(id) || !GetResourceHandle(id, &handle)) return nullptr;
    return handle;
}

// The bitmap at the button's box, as its source rectangle or stretched, turned when asked.
static void DrawPlain(const sBasicUiWidgetTypeButton* b, void* bitmap)
{
    int x = b->x.value + AdjustX(b), y = b->y.value + AdjustY(b);
    auto* bm = static_cast<DS3_bitmap_tag*>(bitmap);
    if (!b->isScalable.value) {
        if (b->hasRotation.value)
            DrawScreenPolyRot(bm, b->srcX.value, b->srcY.value, x, y, b->w.value, b->h.value, b->r[0]);
        else
            DrawScreenPoly(bm, b->srcX.value, b->srcY.value, x, y, b->w.value, b->h.value);
        return;
    }
    ScreenPolyData d = {bm, b->srcX.value, b->srcY.value, b->srcW.value, b->srcH.value,
                        x,  y,             b->w.value,    b->h.value,    0};
    if (b->hasRotation.value)
        DrawScreenPolyRotEx(&d, b->r[0]);
    else
        DrawScreenPolyEx(&d);
}

static void DrawCell(sBasicDbTable* table, int row, int column, int x, int y, float sx, float sy, int ax, int ay)
{
    char text[kCellText] = {0};
    if (!table || !BasicDbTable_PutElementOntoStr(table, row, column, text, kCellText)) return;
    BasicUi_RenderScaledDbText(x, y, sx, sy, ax, ay, text);
}

int BasicUiWidgetTypeButton_Render(sBasicUiWidget* w)
{
    auto* b = BasicUiWidgetTypeButton_Get(w);
    if (!b) return 0;
    const int ax = AdjustX(b), ay = AdjustY(b);
    const bool wrapped = b->hasDbText.value && !b->hasIDbText.value && b->wrapText.value;
    void* image = Bitmap(b->resourceID.value);
    bool drawn = false;
    if (image) {
        RenderSetAlphaLevel(b->alpha.value);
        RenderSetPenColor(0, 0, 0);
        RenderSetColorModulation(b->mr.value, b->mg.value, b->mb.value);
        if (!wrapped) {
            DrawPlain(b, image);
            drawn = true;
        } else {
            int previous = -1, x0, y0, x1, y1;
            if (SelectFont(b, &previous)) {
                if (WrapBounds(b, &x0, &y0, &x1, &y1)) {
                    ScreenPolyData d = {static_cast<DS3_bitmap_tag*>(image),
                                        b->srcX.value,
                                        b->srcY.value,
                                        b->srcW.value,
                                        b->srcH.value,
                                        x0 - b->wrapTextInsetX.value,
                                        y0 - b->wrapTextInsetY.value,
                                        (x1 - x0) + 2 * b->wrapTextInsetX.value,
                                        (y1 - y0) + 2 * b->wrapTextInsetY.value,
                                        0};
                    DrawScreenPolyEx(&d);
                    drawn = true;
                }
                RestoreFont(previous);
            }
        }
    }
    const int bx = b->x.value + ax, by = b->y.value + ay;
    // A button drawn with its picture, and not one the d-pad passes over (drawn dim, out of play),
    // is one a touch anywhere on it presses: --layout-out notes it.
    if (drawn && !wrapped && !b->skipable.value) TextOutputNoteButton(bx, by, b->w.value, b->h.value);
    if (!drawn && !b->hasDbText.value) {
        // The grey box of a button without a bitmap.
        RenderSetAlphaLevel(128);
        RenderSetColorModulation(127, 127, 127);
        RenderSetPenColor(128, 128, 128);
        RenderRect(bx, by, b->w.value, b->h.value);
    }
    void* hl = Bitmap(b->highLightID.value);
    if (hl) {
        RenderSetAlphaLevel(b->alphaH.value);
        RenderSetPenColor(0, 0, 0);
        RenderSetColorModulation(b->mr.value, b->mg.value, b->mb.value);
        DrawPlain(b, hl);
        RenderSetAlphaLevel(b->alpha.value);
        RenderSetPenColor(0, 0, 0);
        RenderSetColorModulation(b->mr.value, b->mg.value, b->mb.value);
    }
    // Missing bitmaps are outlined over whatever else of the button was drawn.
    if (!image && b->resourceID.value != -1)
        BasicUiWidget_Placeholder(w, &b->reported, "the image", std::to_string(b->resourceID.value).c_str(), bx, by,
                                  b->w.value, b->h.value);
    if (!hl && b->highLightID.value != -1)
        BasicUiWidget_Placeholder(w, &b->reported, "the highlight image",
                                  std::to_string(b->highLightID.value).c_str(), bx, by, b->w.value, b->h.value);
    // A button drawn with its picture holds its text, or is a picture on the page itself (a ball on
    // the shop's panel): --layout-out notes its box.
    if (drawn && !wrapped) TextOutputNoteBox(bx, by, b->w.value, b->h.value);
    if (b->hasDbText.value) {
        int previous = -1;
        // A button may be drawn before its first update: its tables are looked up here too.
        sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
        Resolve(env, b->dbName, b->dbTableName, &b->internalDbName, &b->internalDbTableName, &b->internalDbTable);
        Resolve(env, b->idbName, b->idbTableName, &b->internalIDbName, &b->internalIDbTableName, &b->internalIDbTable);
        if (!BasicUi_FontExists(b->fontID.value))
            BasicUiWidget_Placeholder(w, &b->reported, "the font", std::to_string(b->fontID.value).c_str(), bx, by,
                                      b->w.value, b->h.value);
        else if ((b->dbName || b->dbTableName) && !b->internalDbTable)
            BasicUiWidget_Placeholder(w, &b->reported, "the table", b->dbTableName, bx, by, b->w.value, b->h.value);
        else if (b->internalDbTable && !b->hasIDbText.value &&
                 !BasicUi_TableHasCell(b->internalDbTable, b->row.value, b->column.value))
            BasicUiWidget_Placeholder(w, &b->reported, "a cell past the end of", b->dbTableName, bx, by, b->w.value,
                                      b->h.value);
        if (SelectFont(b, &previous)) {
            RenderSetAlphaLevel(255);
            RenderSetColorModulation(127, 127, 127);
            RenderSetPenColor(255, 255, 255);
            int px = 0, py = 0;
            DataPosition(b, &px, &py);
            sBasicDbTable* table = b->internalDbTable;
            if (table && b->dbShowName.value) {
                int nx = b->x.value + ax + b->fontOffsetX.value + b->dbNameOffset.value;
                if (!b->ndbRef)
                    DrawCell(table, -1, b->column.value, nx, py, b->fontScaleX, b->fontScaleY, 0,
                             b->fontAlignmentY.value);
                else
                    DrawCell(BasicUiWidgetTypeDbRef_Table(b->ndbRef), b->nrow.value, b->ncolumn.value, nx, py,
                             b->fontScaleX, b->fontScaleY, 0, b->fontAlignmentY.value);
            }
            if (table && !b->hasIDbText.value)
                DrawCell(table, b->row.value, b->column.value, px, py, b->fontScaleX, b->fontScaleY,
                         b->fontAlignmentX.value, b->fontAlignmentY.value);
            if (table && b->hasIDbText.value && b->internalIDbTable) {
                int n = BasicDbTable_GetElementIN(table, b->column.value, b->row.value, b->element.value, 0);
                DrawCell(b->internalIDbTable, n, b->icolumn.value, px, py, b->fontScaleX, b->fontScaleY,
                         b->fontAlignmentX.value, b->fontAlignmentY.value);
            }
            RestoreFont(previous);
        }
    }
    // Lock and state icons from their status references.
    RenderSetColorModulation(127, 127, 127);
    if (b->lockedDb)
        BasicUiWidgetTypeDbRef_RenderStatusIcon(b->lockedDb, b->x.value + b->lockedXOffset.value + ax,
                                                b->y.value + b->lockedYOffset.value + ay, b->lockedElement.value);
    if (b->stateDb)
        BasicUiWidgetTypeDbRef_RenderStatusIcon(b->stateDb, b->x.value + b->stateXOffset.value + ax,
                                                b->y.value + b->stateYOffset.value + ay, b->stateElement.value);
    return 1;
}

int BasicUiWidgetTypeButton_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* b = BasicUiWidgetTypeButton_Get(w);
    if (!b) return 0;
    BasicUiWidget_FreeString(env, &b->dbName);
    BasicUiWidget_FreeString(env, &b->dbTableName);
    BasicUiWidget_FreeString(env, &b->idbName);
    BasicUiWidget_FreeString(env, &b->idbTableName);
    return BasicUiWidget_FreeRecord(env, w);
}

int BasicUiWidgetTypeButton_IsAvailable(sBasicUiWidget* w, int checkLock)
{
    auto* b = BasicUiWidgetTypeButton_Get(w);
    if (!b) return 1;
    if (b->skipable.value) return 0;
    if (!checkLock) return 1;
    return BasicUiWidgetTypeDbRef_IsLocked(b->lockedDb, b->lockedElement.value) ? 0 : 1;
}

int BasicUiWidgetTypeButton_GetLockableIndex(sBasicUiWidget* w)
{
    auto* b = BasicUiWidgetTypeButton_Get(w);
    return b ? b->lockedElement.value : 0;
}

static uint8_t Clamp127(int v) { return uint8_t(v > 127 ? 127 : (v < 0 ? 0 : v)); }

int BasicUiWidgetTypeButton_SetColorModulation(sBasicUiWidget* w, int r, int g, int b)
{
    if (auto* btn = BasicUiWidgetTypeButton_Get(w)) {
        btn->mr.value = Clamp127(r);
        btn->mg.value = Clamp127(g);
        btn->mb.value = Clamp127(b);
    }
    return 1;
}

int BasicUiWidgetTypeButton_SetDbIndex(sBasicUiWidget* w, int column, int row)
{
    if (auto* b = BasicUiWidgetTypeButton_Get(w)) {
        b->column.value = column;
        b->row.value = row;
    }
    return 1;
}

int BasicUiWidgetTypeButton_SetImage(sBasicUiWidget* w, int resourceId)
{
    auto* b = BasicUiWidgetTypeButton_Get(w);
    if (b && BasicUi_ImageExists(resourceId)) b->resourceID.value = resourceId;
    return 1;
}

static int Inside(sBasicUiWidget* w, int second)
{
    auto* b = BasicUiWidgetTypeButton_Get(w);
    sBasicUiDisplay* d = BasicUiWidget_GetDisplay(w);
    if (!b || !d) return 0;
    int px = second ? d->cx1 : d->cx0, py = second ? d->cy1 : d->cy0;
    int left = b->x.value + b->boundsDW.value, right = b->x.value + b->w.value - b->boundsDE.value;
    int top = b->y.value + b->boundsDN.value, bottom = b->y.value + b->h.value - b->boundsDS.value;
    return px >= left && px <= right && py >= top && py <= bottom ? 1 : 0;
}

int BasicUiWidgetTypeButton_IsInside0(sBasicUiWidget* w) { return Inside(w, 0); }
int BasicUiWidgetTypeButton_IsInside1(sBasicUiWidget* w) { return Inside(w, 1); }

void GetExtents(sBasicUiWidget* w, int* left, int* top, int* right, int* bottom)
{
    auto* b = BasicUiWidgetTypeButton_Get(w);
    *left = *top = *right = *bottom = 0;
    if (!b) return;
    *left = b->x.value + AdjustX(b);
    *top = b->y.value + AdjustY(b);
    *right = *left + b->w.value;
    *bottom = *top + b->h.value;
}
