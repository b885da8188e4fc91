// The rectangle widget type: a coloured box, filled or framed, drawn in the 2D passes.
#include "ui/widgets/rectangle.h"

#include "lib/textoutput.h"
#include "platform/quads.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiValueBOOL Flag(int v)
{
    sBasicUiValueBOOL b = BasicUiValueBOOL_Make(v);
    return b;
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeRectangle_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeRectangle* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeRectangle, &r);
    if (!r) return ref;
    r->x = r->y = r->w = r->h = BasicUiValueINT_Make(0);
    r->isDraw = Flag(0);
    r->isFrame = Flag(0);
    r->frameWidth = r->frameHeight = BasicUiValueINT_Make(0);
    r->r = r->g = BasicUiValueBYTE_Make(128);
    r->b = BasicUiValueBYTE_Make(28);
    r->mr = r->mg = r->mb = BasicUiValueBYTE_Make(0);
    r->alpha = BasicUiValueBYTE_Make(255);
    return ref;
}

int BasicUiWidgetTypeRectangle_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* r = BasicUiWidget_Record<sBasicUiWidgetTypeRectangle>(w, EBasicUiWidgetTypeRectangle);
    if (!r || !t) return 0;
    BasicUiPropertyTracker_Add(t, "x", eBasicUiPropertyTypeINT, &r->x, 1, 1);
    BasicUiPropertyTracker_Add(t, "y", eBasicUiPropertyTypeINT, &r->y, 1, 1);
    BasicUiPropertyTracker_Add(t, "w", eBasicUiPropertyTypeINT, &r->w, 1, 1);
    BasicUiPropertyTracker_Add(t, "h", eBasicUiPropertyTypeINT, &r->h, 1, 1);
    BasicUiPropertyTracker_Add(t, "isDraw", eBasicUiPropertyTypeBOOL, &r->isDraw, 1, 0);
    BasicUiPropertyTracker_Add(t, "hasFrame", eBasicUiPropertyTypeBOOL, &r->isFrame, 1, 0);
    BasicUiPropertyTracker_Add(t, "frame.w", eBasicUiPropertyTypeINT, &r->frameWidth, 1, 1);
    BasicUiPropertyTracker_Add(t, "frame.h", eBasicUiPropertyTypeINT, &r->frameHeight, 1, 1);
    BasicUiPropertyTracker_Add(t, "r", eBasicUiPropertyTypeBYTE, &r->r, 1, 1);
    BasicUiPropertyTracker_Add(t, "g", eBasicUiPropertyTypeBYTE, &r->g, 1, 1);
    BasicUiPropertyTracker_Add(t, "b", eBasicUiPropertyTypeBYTE, &r->b, 1, 1);
    BasicUiPropertyTracker_Add(t, "alpha", eBasicUiPropertyTypeBYTE, &r->alpha, 1, 1);
    BasicUiPropertyTracker_Add(t, "mr", eBasicUiPropertyTypeBYTE, &r->mr, 1, 1);
    BasicUiPropertyTracker_Add(t, "mg", eBasicUiPropertyTypeBYTE, &r->mg, 1, 1);
    BasicUiPropertyTracker_Add(t, "mb", eBasicUiPropertyTypeBYTE, &r->mb, 1, 1);
    return 1;
}

int BasicUiWidgetTypeRectangle_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeRectangle_Update(sBasicUiWidget*, float) { return 1; }

// The box itself, whatever its alpha: the label draws its box this way too.
void BasicUiWidgetTypeRectangle_Draw(const sBasicUiWidgetTypeRectangle* r)
{
    RenderSetPenSize(r->frameWidth.value, r->frameHeight.value);
    RenderSetAlphaLevel(r->alpha.value);
    RenderSetColorModulation(r->mr.value, r->mg.value, r->mb.value);
    RenderSetPenColor(r->r.value, r->g.value, r->b.value);
    if (!r->isFrame.value)
        RenderRect(r->x.value, r->y.value, r->w.value, r->h.value);
    else
        RenderFrameRect(r->x.value, r->y.value, r->w.value, r->h.value);
}

int BasicUiWidgetTypeRectangle_Render(sBasicUiWidget* w)
{
    auto* r = BasicUiWidget_Record<sBasicUiWidgetTypeRectangle>(w, EBasicUiWidgetTypeRectangle);
    if (!r) return 0;
    // A box at alpha 0 is only drawn when asked for (it may still write depth or take a frame).
    if (!r->isDraw.value && !r->alpha.value) return 1;
    BasicUiWidgetTypeRectangle_Draw(r);
    // A filled box is a panel that lines of text stand on: the tour checks that it hides what lies
    // under it.
    if (!r->isFrame.value) TextOutputNotePanel(r->x.value, r->y.value, r->w.value, r->h.value);
    return 1;
}

int BasicUiWidgetTypeRectangle_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!BasicUiWidget_Record<sBasicUiWidgetTypeRectangle>(w, EBasicUiWidgetTypeRectangle)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}
