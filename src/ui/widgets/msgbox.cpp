// The message box widget type: a panel, a flourish, a title and a wrapped message read from table
// cells (the front end points it at other rows at run time) and an amount of money. Texts from the
// tables are drawn as they are, never as formats.
#include "ui/widgets/msgbox.h"

#include <cstdio>
#include <initializer_list>

#include "db/database.h"
#include "lib/resources.h"
#include "lib/textoutput.h"
#include "platform/quads.h"
#include "ui/draw2d.h"
#include "ui/frameupdate.h"
#include "ui/widgets/dbref.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetTypeMsgBox* Box(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeMsgBox>(w, EBasicUiWidgetTypeMsgBox);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeMsgBox_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeMsgBox* m = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeMsgBox, &m);
    if (!m) return ref;
    m->imageID = m->flourishID = m->tFontID = m->mFontID = m->cFontID = BasicUiValueINT_Make(-1);
    m->tFontScaleX = m->tFontScaleY = m->mFontScaleX = m->mFontScaleY = m->cFontScaleX = m->cFontScaleY = 1.0f;
    m->cFontAlignX = BasicUiValueINT_Make(2);
    BasicUiDbRef_Init(&m->titleDb);
    BasicUiDbRef_Init(&m->msgDb);
    return ref;
}

int BasicUiWidgetTypeMsgBox_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* m = Box(w);
    if (!m || !t) return 0;
    const eBasicUiPropertyType I = eBasicUiPropertyTypeINT, F = eBasicUiPropertyTypeFLT,
                               W = eBasicUiPropertyTypeWidgetREF;
    struct Row {
        const char* name;
        eBasicUiPropertyType type;
        void* value;
        int initial;
    };
    auto add = [t](std::initializer_list<Row> rows) {
        for (const Row& r : rows) BasicUiPropertyTracker_Add(t, r.name, r.type, r.value, 1, r.initial);
    };
    BasicUiMessagePanel_AddProperties(m, t);
    add({{"cFontID", I, &m->cFontID, 1}, {"cFontOffX", I, &m->cFontOffX, 1}, {"cFontOffY", I, &m->cFontOffY, 1},
         {"cFontAlignX", I, &m->cFontAlignX, 1}, {"cFontAlignY", I, &m->cFontAlignY, 1},
         {"cFontSclX", F, &m->cFontScaleX, 0}, {"cFontSclY", F, &m->cFontScaleY, 0},
         {"currency", W, &m->currency, 0}});
    return 1;
}

int BasicUiWidgetTypeMsgBox_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeMsgBox_Update(sBasicUiWidget*, float) { return 1; }

int BasicUiWidgetTypeMsgBox_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* m = Box(w);
    if (!m) return 0;
    BasicUiDbRef_Fini(&m->titleDb, env);
    BasicUiDbRef_Fini(&m->msgDb, env);
    return BasicUiWidget_FreeRecord(env, w);
}

// A wrap width no line reaches: lines break at line ends only.
enum { kUnwrapped = 1 << 24 };

static void DrawBitmap(int id, int x, int y, int w, int h)
{
    void* bitmap = nullptr;
    if (id > 0 && BasicUi_ImageExists(id) && GetResourceHandle(id, &bitmap) && bitmap)
        DrawScreenPoly(bitmap, 0, 0, x, y, w, h);
}

// Selects a font that exists; the font before is kept once in *previous.
static int Select(int font, int* previous)
{
    if (!BasicUi_FontExists(font)) return 0;
    if (*previous < 0) *previous = TextOutputGetFontRSID();
    return TextOutputSelectFont(font);
}

int BasicUiWidgetTypeMsgBox_Render(sBasicUiWidget* w)
{
    auto* m = Box(w);
    if (!m) return 0;
    RenderSetAlphaLevel(255);
    RenderSetColorModulation(127, 127, 127);
    RenderSetPenColor(255, 255, 255);
    if (m->hasDynamicSize.value)
        BasicUi_RenderSizableBox(m->imageID.value, m->x.value, m->y.value, m->w.value, m->h.value, m->srcXdelta.value,
                                 m->srcXmax.value, m->srcYdelta.value, m->srcYmax.value);
    else
        DrawBitmap(m->imageID.value, m->x.value, m->y.value, m->w.value, m->h.value);
    DrawBitmap(m->flourishID.value, m->fx.value, m->fy.value, m->fw.value, m->fh.value);
    TextOutputNoteCover(m->x.value, m->y.value, m->w.value, m->h.value);
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    int previous = -1;
    sBasicDbTable* title = m->titleDbRef ? BasicUiWidgetTypeDbRef_Table(m->titleDbRef) : BasicUiDbRef_Update(&m->titleDb, env);
    char text[256] = {0};
    if (title && Select(m->tFontID.value, &previous) &&
        BasicDbTable_PutElementOntoStr(title, m->titleDb.row.value, m->titleDb.column.value, text, sizeof text))
        BasicUi_RenderScaledDbText(m->fx.value + m->tFontOffX.value, m->fy.value + m->tFontOffY.value, m->tFontScaleX,
                                   m->tFontScaleY, 0, 0, text);
    sBasicDbTable* msg = m->msgDbRef ? BasicUiWidgetTypeDbRef_Table(m->msgDbRef) : BasicUiDbRef_Update(&m->msgDb, env);
    if (msg && Select(m->mFontID.value, &previous)) {
        const char* s = BasicDbTable_GetStrElement(msg, m->msgDb.row.value, m->msgDb.column.value);
        if (s) {
            // The message stays on its panel: wrapped no wider than the panel less its margins (a
            // wrap width of 0 or past the edge takes that), and its lines stop at the panel's foot.
            // A size of 0 is no panel on that axis: the message then wraps to its own width (at
            // line ends only, without one), or runs as far down as it goes, since the panel's room
            // would leave it none.
            const int x = m->x.value + m->mFontOffX.value, y = m->y.value + m->mFontOffY.value;
            int width = m->mFontOffW.value;
            if (m->w.value == 0 && width <= 0) width = kUnwrapped;
            if (m->w.value != 0) {
                const int room = m->w.value - 2 * m->mFontOffX.value;
                if (width <= 0 || width > room) width = room;
            }
            if (m->h.value == 0)
                BasicUi_RenderScaledColumnStyleText(x, y, width, m->mFontScaleX, m->mFontScaleY, s);
            else
                BasicUi_RenderScaledColumnStyleText(x, y, width, m->h.value - m->mFontOffY.value, m->mFontScaleX,
                                                    m->mFontScaleY, s);
        }
    }
    if (m->currency && Select(m->cFontID.value, &previous)) {
        char amount[32];
        std::snprintf(amount, sizeof amount, "$%i", BasicUiWidgetTypeDbRef_GetDbInt(m->currency));
        BasicUi_RenderScaledDbText(m->x.value + m->cFontOffX.value, m->y.value + m->cFontOffY.value, m->cFontScaleX,
                                   m->cFontScaleY, m->cFontAlignX.value, m->cFontAlignY.value, amount);
    }
    if (previous >= 0) TextOutputSelectFont(previous);
    return 1;
}

void BasicUiWidgetTypeMsgBox_SetTitle(sBasicUiWidget* w, sBasicUiWidget* dbRef, int row, int column)
{
    if (auto* m = Box(w)) {
        m->titleDbRef = dbRef;
        m->titleDb.row.value = row;
        m->titleDb.column.value = column;
    }
}

void BasicUiWidgetTypeMsgBox_SetMsg(sBasicUiWidget* w, sBasicUiWidget* dbRef, int row, int column)
{
    if (auto* m = Box(w)) {
        m->msgDbRef = dbRef;
        m->msgDb.row.value = row;
        m->msgDb.column.value = column;
    }
}

void BasicUiWidgetTypeMsgBox_SetCurrency(sBasicUiWidget* w, sBasicUiWidget* dbRef, int row, int column)
{
    if (auto* m = Box(w)) {
        m->currency = dbRef;
        BasicUiWidgetTypeDbRef_SetDbTableIndex(dbRef, row, column);
    }
}
