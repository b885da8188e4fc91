// The anchor widget type: each frame it moves one button so that it sits beside the nearest
// neighbour along a chain of links that navigation does not pass over (skipable buttons are
// walked past), so rows of buttons close up when some of them are hidden from navigation.
#include "ui/loadcheck.h"
#include "ui/widgets/button.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

sBasicUiWidgetTypeRef BasicUiWidgetTypeAnchor_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeAnchor* a = nullptr;
    return BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeAnchor, &a);
}

int BasicUiWidgetTypeAnchor_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* a = BasicUiWidget_Record<sBasicUiWidgetTypeAnchor>(w, EBasicUiWidgetTypeAnchor);
    if (!a || !t) return 0;
    BasicUiPropertyTracker_Add(t, "button", eBasicUiPropertyTypeWidgetREF, &a->button, 1, 0);
    BasicUiPropertyTracker_Add(t, "anchorN", eBasicUiPropertyTypeWidgetREF, &a->anchor[kBasicUiLinkN], 1, 0);
    BasicUiPropertyTracker_Add(t, "anchorS", eBasicUiPropertyTypeWidgetREF, &a->anchor[kBasicUiLinkS], 1, 0);
    BasicUiPropertyTracker_Add(t, "anchorE", eBasicUiPropertyTypeWidgetREF, &a->anchor[kBasicUiLinkE], 1, 0);
    BasicUiPropertyTracker_Add(t, "anchorW", eBasicUiPropertyTypeWidgetREF, &a->anchor[kBasicUiLinkW], 1, 0);
    BasicUiPropertyTracker_Add(t, "offX", eBasicUiPropertyTypeINT, &a->offX, 1, 1);
    BasicUiPropertyTracker_Add(t, "offY", eBasicUiPropertyTypeINT, &a->offY, 1, 1);
    return 1;
}

int BasicUiWidgetTypeAnchor_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeAnchor_Render(sBasicUiWidget*) { return 1; }

// From w along link d past skipable buttons, to the first one that is not skipable or has no
// link onwards. The walk is bounded so that a ring of skipable buttons ends.
static sBasicUiWidget* Walk(sBasicUiWidget* w, int d)
{
    for (int guard = 0; guard < 1024; ++guard) {
        sBasicUiWidgetTypeButton* b = BasicUiWidgetTypeButton_Get(w);
        if (!b || !b->skipable.value || !b->button[d]) break;
        w = b->button[d];
    }
    return w;
}

// An anchor may name its own button, or two anchors each other's: the button then moves by its
// size and offset every frame, so the new place is saturated to the coordinates' range.
int BasicUiWidgetTypeAnchor_Update(sBasicUiWidget* w, float)
{
    auto* a = BasicUiWidget_Record<sBasicUiWidgetTypeAnchor>(w, EBasicUiWidgetTypeAnchor);
    if (!a) return 0;
    sBasicUiWidgetTypeButton* b = BasicUiWidgetTypeButton_Get(a->button);
    if (!b) return 1;
    int l, t, r, bo;
    if (a->anchor[kBasicUiLinkN]) {
        GetExtents(Walk(a->anchor[kBasicUiLinkN], kBasicUiLinkN), &l, &t, &r, &bo);
        b->y.value = BasicUi_ClampCoordinate((long long)bo + a->offY.value);
    } else if (a->anchor[kBasicUiLinkS]) {
        GetExtents(Walk(a->anchor[kBasicUiLinkS], kBasicUiLinkS), &l, &t, &r, &bo);
        b->y.value = BasicUi_ClampCoordinate((long long)t - b->h.value - a->offY.value);
    }
    if (a->anchor[kBasicUiLinkW]) {
        GetExtents(Walk(a->anchor[kBasicUiLinkW], kBasicUiLinkW), &l, &t, &r, &bo);
        b->x.value = BasicUi_ClampCoordinate((long long)r + b->w.value / 2 + a->offX.value);
    } else if (a->anchor[kBasicUiLinkE]) {
        GetExtents(Walk(a->anchor[kBasicUiLinkE], kBasicUiLinkE), &l, &t, &r, &bo);
        b->x.value = BasicUi_ClampCoordinate((long long)l - b->w.value + b->w.value / 2 - a->offX.value);
    }
    return 1;
}

int BasicUiWidgetTypeAnchor_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!BasicUiWidget_Record<sBasicUiWidgetTypeAnchor>(w, EBasicUiWidgetTypeAnchor)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}
