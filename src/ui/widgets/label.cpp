// The label widget type: a line of text in a font resource, justified in its box, on the box when
// it has one. The text is drawn as it is written, never read as a format.
#include <string>

#include "lib/textoutput.h"
#include "platform/quads.h"
#include "ui/draw2d.h"
#include "ui/frameupdate.h"
#include "ui/widgets/rectangle.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

void BasicUiWidgetTypeRectangle_Draw(const sBasicUiWidgetTypeRectangle* r);

sBasicUiWidgetTypeRef BasicUiWidgetTypeLabel_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeLabel* l = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeLabel, &l);
    if (!l) return ref;
    sBasicUiWidgetTypeRectangle& r = l->r;
    r.x = r.y = r.w = r.h = BasicUiValueINT_Make(0);
    r.isDraw = BasicUiValueBOOL_Make(0);
    r.isFrame = BasicUiValueBOOL_Make(0);
    r.frameWidth = r.frameHeight = BasicUiValueINT_Make(0);
    r.r = r.g = r.b = BasicUiValueBYTE_Make(128);
    r.mr = r.mg = r.mb = BasicUiValueBYTE_Make(127);
    r.alpha = BasicUiValueBYTE_Make(255);
    l->hasRectangle = BasicUiValueBOOL_Make(1);
    l->fontR = l->fontG = l->fontB = BasicUiValueBYTE_Make(255);
    l->fontID = BasicUiValueINT_Make(-1);
    l->fontJustify = BasicUiValueINT_Make(0);
    l->cstr = nullptr;
    return ref;
}

int BasicUiWidgetTypeLabel_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* l = BasicUiWidget_Record<sBasicUiWidgetTypeLabel>(w, EBasicUiWidgetTypeLabel);
    if (!l || !t) return 0;
    sBasicUiWidgetTypeRectangle& r = l->r;
    BasicUiPropertyTracker_Add(t, "cstr", eBasicUiPropertyTypeSTR, &l->cstr, 1, 0);
    BasicUiPropertyTracker_Add(t, "font.r", eBasicUiPropertyTypeBYTE, &l->fontR, 1, 1);
    BasicUiPropertyTracker_Add(t, "font.g", eBasicUiPropertyTypeBYTE, &l->fontG, 1, 1);
    BasicUiPropertyTracker_Add(t, "font.b", eBasicUiPropertyTypeBYTE, &l->fontB, 1, 1);
    BasicUiPropertyTracker_Add(t, "hasRectangle", eBasicUiPropertyTypeBOOL, &l->hasRectangle, 1, 0);
    BasicUiPropertyTracker_Add(t, "x", eBasicUiPropertyTypeINT, &r.x, 1, 1);
    BasicUiPropertyTracker_Add(t, "y", eBasicUiPropertyTypeINT, &r.y, 1, 1);
    BasicUiPropertyTracker_Add(t, "w", eBasicUiPropertyTypeINT, &r.w, 1, 1);
    BasicUiPropertyTracker_Add(t, "h", eBasicUiPropertyTypeINT, &r.h, 1, 1);
    BasicUiPropertyTracker_Add(t, "hasFrame", eBasicUiPropertyTypeBOOL, &r.isFrame, 1, 1);
    BasicUiPropertyTracker_Add(t, "frame.w", eBasicUiPropertyTypeINT, &r.frameWidth, 1, 1);
    BasicUiPropertyTracker_Add(t, "frame.h", eBasicUiPropertyTypeINT, &r.frameHeight, 1, 1);
    BasicUiPropertyTracker_Add(t, "r", eBasicUiPropertyTypeBYTE, &r.r, 1, 1);
    BasicUiPropertyTracker_Add(t, "g", eBasicUiPropertyTypeBYTE, &r.g, 1, 1);
    BasicUiPropertyTracker_Add(t, "b", eBasicUiPropertyTypeBYTE, &r.b, 1, 1);
    BasicUiPropertyTracker_Add(t, "alpha", eBasicUiPropertyTypeBYTE, &r.alpha, 1, 1);
    BasicUiPropertyTracker_Add(t, "mr", eBasicUiPropertyTypeBYTE, &r.mr, 1, 1);
    BasicUiPropertyTracker_Add(t, "mg", eBasicUiPropertyTypeBYTE, &r.mg, 1, 1);
    BasicUiPropertyTracker_Add(t, "mb", eBasicUiPropertyTypeBYTE, &r.mb, 1, 1);
    BasicUiPropertyTracker_Add(t, "fontResID", eBasicUiPropertyTypeINT, &l->fontID, 1, 1);
    BasicUiPropertyTracker_Add(t, "fontJustify", eBasicUiPropertyTypeINT, &l->fontJustify, 1, 1);
    return 1;
}

int BasicUiWidgetTypeLabel_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeLabel_Update(sBasicUiWidget*, float) { return 1; }

int BasicUiWidgetTypeLabel_TextX(int x, int w, int textW, int justify, int* tx)
{
    switch (justify) {
    case 0: *tx = x; return 1;
    case 1: *tx = x + (w - textW) / 2; return 1;
    case 2: *tx = x + w - textW; return 1;
    default: return 0;
    }
}

int BasicUiWidgetTypeLabel_Render(sBasicUiWidget* w)
{
    auto* l = BasicUiWidget_Record<sBasicUiWidgetTypeLabel>(w, EBasicUiWidgetTypeLabel);
    if (!l) return 0;
    if (l->hasRectangle.value) BasicUiWidgetTypeRectangle_Draw(&l->r);
    RenderSetAlphaLevel(255);
    // Glyph quads take their colour from the modulation (the pen colours only flat boxes): the
    // font's colour is given as a modulation, 255 showing the glyphs as they are.
    RenderSetColorModulation(uint8_t(l->fontR.value / 2), uint8_t(l->fontG.value / 2), uint8_t(l->fontB.value / 2));
    RenderSetPenColor(l->fontR.value, l->fontG.value, l->fontB.value);
    if (!l->cstr) return 1;
    if (!BasicUi_FontExists(l->fontID.value)) {
        BasicUiWidget_ReportMissing(w, &l->reported, "the font", std::to_string(l->fontID.value).c_str());
        return 1;
    }
    int previous = TextOutputGetFontRSID();
    if (!TextOutputSelectFont(l->fontID.value)) return 1;
    int tx = 0;
    // The glyphs are quads drawn in turn with the boxes, so that the label's own box (or any
    // widget drawn before it) lies under its text. A text too long for that is drawn directly.
    if (BasicUiWidgetTypeLabel_TextX(l->r.x.value, l->r.w.value, TextOutputLineLength(l->cstr),
                                     l->fontJustify.value, &tx) &&
        !BasicUi_RenderScaledDbText(tx, l->r.y.value, 1.0f, 1.0f, 0, 0, l->cstr))
        TextOutputDrawDirect(tx, l->r.y.value, "%s", l->cstr);
    if (previous >= 0) TextOutputSelectFont(previous);
    return 1;
}

int BasicUiWidgetTypeLabel_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* l = BasicUiWidget_Record<sBasicUiWidgetTypeLabel>(w, EBasicUiWidgetTypeLabel);
    if (!l) return 0;
    BasicUiWidget_FreeString(env, &l->cstr);
    return BasicUiWidget_FreeRecord(env, w);
}
