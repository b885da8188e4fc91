// The scroll box widget type: a window of `slots` button children out of a longer list, laid out
// in a row or column, paged by navigation, with an optional scroll bar and n/m counter.
#include "ui/widgets/scrollbox.h"

#include <cstdio>
#include <string>

#include "lib/textoutput.h"
#include "platform/quads.h"
#include "ui/draw2d.h"
#include "ui/frameupdate.h"
#include "ui/loadcheck.h"
#include "ui/placeholder.h"
#include "ui/widgets/button.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetTypeScrollBox* Box(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeScrollBox>(w, EBasicUiWidgetTypeScrollBox);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeScrollBox_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeScrollBox* b = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeScrollBox, &b);
    if (!b) return ref;
    b->selected = BasicUiValueINT_Make(-1);
    b->isVertical = BasicUiValueBOOL_Make(1);
    b->counterAlignX = BasicUiValueINT_Make(2);
    b->fontID = BasicUiValueINT_Make(-1);
    b->fontScaleX = b->fontScaleY = 1.0f;
    b->barR = b->barG = b->barB = b->barA = BasicUiValueBYTE_Make(255);
    b->barMR = b->barMG = b->barMB = BasicUiValueBYTE_Make(127);
    return ref;
}

int BasicUiWidgetTypeScrollBox_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* b = Box(w);
    if (!b || !t) return 0;
    const eBasicUiPropertyType I = eBasicUiPropertyTypeINT, B = eBasicUiPropertyTypeBOOL,
                               Y = eBasicUiPropertyTypeBYTE;
    struct Row {
        const char* name;
        eBasicUiPropertyType type;
        void* value;
    };
    const Row rows[] = {
        {"x", I, &b->x}, {"y", I, &b->y}, {"selected", I, &b->selected}, {"slot", I, &b->slot},
        {"slots", I, &b->slots}, {"slotHeight", I, &b->slotHeight}, {"slotOffsetX", I, &b->slotOffsetX},
        {"slotWidth", I, &b->slotWidth}, {"slotOffsetY", I, &b->slotOffsetY}, {"items", I, &b->items},
        {"isVirtual", B, &b->isVirtual}, {"itemsVirtual", I, &b->itemsVirtual},
        {"selectedVirtual", I, &b->selectedVirtual}, {"isVertical", B, &b->isVertical},
        {"hasCounter", B, &b->hasCounter}, {"hasPageCounter", B, &b->hasPageCounter},
        {"counterX", I, &b->counterX}, {"counterY", I, &b->counterY}, {"counterZeros", I, &b->counterZeros},
        {"counterAlignX", I, &b->counterAlignX}, {"fontID", I, &b->fontID},
    };
    for (const Row& r : rows) BasicUiPropertyTracker_Add(t, r.name, r.type, r.value, 1, 1);
    BasicUiPropertyTracker_Add(t, "fontSclX", eBasicUiPropertyTypeFLT, &b->fontScaleX, 1, 0);
    BasicUiPropertyTracker_Add(t, "fontSclY", eBasicUiPropertyTypeFLT, &b->fontScaleY, 1, 0);
    BasicUiPropertyTracker_Add(t, "scrollU", eBasicUiPropertyTypeWidgetREF, &b->scrollU, 1, 0);
    BasicUiPropertyTracker_Add(t, "scrollD", eBasicUiPropertyTypeWidgetREF, &b->scrollD, 1, 0);
    const Row bar[] = {{"barX", I, &b->barX},   {"barY", I, &b->barY},   {"barW", I, &b->barW},
                       {"barH", I, &b->barH},   {"barR", Y, &b->barR},   {"barG", Y, &b->barG},
                       {"barB", Y, &b->barB},   {"barA", Y, &b->barA},   {"barMR", Y, &b->barMR},
                       {"barMG", Y, &b->barMG}, {"barMB", Y, &b->barMB}, {"barFlip", B, &b->barFlip}};
    for (const Row& r : bar) BasicUiPropertyTracker_Add(t, r.name, r.type, r.value, 1, 1);
    return 1;
}

int BasicUiWidgetTypeScrollBox_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }

static void Show(sBasicUiWidget* w, int on)
{
    w->isActive.value = uint8_t(on);
    w->isRender.value = uint8_t(on);
}

static void Place(sBasicUiWidget* w, int x, int y)
{
    sBasicUiWidgetTypeButton* b = BasicUiWidgetTypeButton_Get(w);
    b->x.value = x;
    b->y.value = y;
    for (sBasicUiWidget* c = w->childWidget; c; c = c->nextWidget)
        if (auto* cb = BasicUiWidgetTypeButton_Get(c)) cb->x.value = x, cb->y.value = y;
}

// The children's places are computed wide (a pitch of two coordinates times a distance of one
// overflows an int) and saturated to the coordinates' range, as the buttons keep their places.
static void Layout(sBasicUiWidget* w, sBasicUiWidgetTypeScrollBox* b)
{
    if (!w->childWidget) return;
    const bool column = b->isVertical.value;
    const long long pitch = column ? (long long)b->slotOffsetY.value + b->slotHeight.value
                                   : (long long)b->slotOffsetX.value + b->slotWidth.value;
    const long long s = b->slot.value, n = b->slots.value, x = b->x.value, y = b->y.value;
    int i = 0;
    for (sBasicUiWidget* c = w->childWidget; c; c = c->nextWidget, ++i) {
        const bool isButton = BasicUiWidgetTypeButton_Get(c) != nullptr;
        if (i >= s && i < s + n) {
            if (!isButton) {
                Show(c, 0);
                continue;
            }
            Show(c, 1);
            const long long along = pitch * (i - s);
            Place(c, BasicUi_ClampCoordinate(column ? x : x + along), BasicUi_ClampCoordinate(column ? y + along : y));
            continue;
        }
        if (!isButton) continue;
        Show(c, 0);
        const long long away = pitch * (i < s ? s - i : i - s);
        Place(c, BasicUi_ClampCoordinate(column ? x : -(x + away)), BasicUi_ClampCoordinate(column ? -(y + away) : y));
    }
    b->items.value = i;
}

int BasicUiWidgetTypeScrollBox_Update(sBasicUiWidget* w, float)
{
    auto* b = Box(w);
    if (!b) return 0;
    Layout(w, b);
    return 1;
}

static void ClearCursor(sBasicUiWidget* button)
{
    if (sBasicUiDisplay* d = BasicUiWidget_GetDisplay(button)) d->cx0 = d->cy0 = d->cx1 = d->cy1 = 0;
}

void BasicUiWidgetTypeScrollBox_ScrollTo(sBasicUiWidget* box, sBasicUiWidget* button)
{
    auto* b = Box(box);
    if (!b || !BasicUiWidgetTypeButton_Get(button)) return;
    int n = 0, at = -1;
    for (sBasicUiWidget* c = box->childWidget; c; c = c->nextWidget, ++n)
        if (c == button) at = n;
    b->items.value = n;
    const int slots = b->slots.value;
    if (at < 0 || n == 0 || slots <= 0) return;
    if (at < b->slot.value) {
        b->slot.value = (at / slots) * slots;
        b->selected.value = at + 1;
        ClearCursor(button);
        BasicUiWidgetTypeCmdSequence_Run(b->scrollU);
    } else if (at < b->slot.value + slots) {
        b->selected.value = at + 1;
    } else {
        int p = (at / slots) * slots;
        if (p > n - slots) p = n - slots;
        if (p < 0) p = 0;
        b->slot.value = p;
        b->selected.value = at + 1;
        ClearCursor(button);
        BasicUiWidgetTypeCmdSequence_Run(b->scrollD);
    }
    Layout(box, b);
}

// The length of the list a player scrolls through: the children up to the last button. A child
// after it (a hidden label that lets a selection counted from 1 name the last entry) is no entry,
// and counting it would add an item, or a page, that no scrolling reaches.
static int EntryCount(sBasicUiWidget* box)
{
    int n = 0, i = 0;
    for (sBasicUiWidget* c = box->childWidget; c; c = c->nextWidget) {
        ++i;
        if (BasicUiWidgetTypeButton_Get(c)) n = i;
    }
    return n;
}

static void FormatCounter(sBasicUiWidget* w, const sBasicUiWidgetTypeScrollBox* b, char* text, int size)
{
    const int slots = b->slots.value > 0 ? b->slots.value : 1;
    const int start = b->isVirtual.value ? b->selectedVirtual.value + b->slot.value : b->slot.value;
    const int total = b->isVirtual.value ? b->itemsVirtual.value : EntryCount(w);
    int first, second;
    if (b->hasPageCounter.value) {
        // Pages are counted whole, a short last page too, and the last window (which starts where
        // a full window still fits, not on a page boundary) is the last page.
        second = total > 0 ? (total + slots - 1) / slots : 1;
        first = start <= 0 ? 1 : (start + slots - 1) / slots + 1;
        if (first > second) first = second;
    } else {
        first = b->isVirtual.value ? start : b->selected.value;
        if (first < 0) first = 0;  // nothing selected yet
        second = total;
    }
    const int zeros = b->counterZeros.value < 1 ? 0 : (b->counterZeros.value > 16 ? 16 : b->counterZeros.value);
    std::snprintf(text, size_t(size), "%0*d/%0*d", zeros, first, zeros, second);
}

int BasicUiWidgetTypeScrollBox_CounterText(sBasicUiWidget* box, char* text, int size)
{
    auto* b = Box(box);
    if (!b || !text || size < 1) return 0;
    FormatCounter(box, b, text, size);
    return 1;
}

static void Counter(sBasicUiWidget* w, sBasicUiWidgetTypeScrollBox* b)
{
    RenderSetAlphaLevel(255);
    RenderSetColorModulation(127, 127, 127);
    RenderSetPenColor(255, 255, 255);
    if (!BasicUi_FontExists(b->fontID.value)) {
        BasicUiWidget_Placeholder(w, &b->reported, "the font", std::to_string(b->fontID.value).c_str(),
                                  b->counterX.value, b->counterY.value, 0, 0);
        return;
    }
    char text[255];
    FormatCounter(w, b, text, int(sizeof text));
    int previous = TextOutputGetFontRSID();
    if (TextOutputSelectFont(b->fontID.value)) {
        BasicUi_RenderScaledDbText(b->counterX.value, b->counterY.value, b->fontScaleX, b->fontScaleY,
                                   b->counterAlignX.value, 0, text);
        if (previous >= 0) TextOutputSelectFont(previous);
    }
}

int BasicUiWidgetTypeScrollBox_Render(sBasicUiWidget* w)
{
    auto* b = Box(w);
    if (!b) return 0;
    // A box shown by a script after the update walk passed it is drawn before its first update:
    // its window is laid out here too, so that the buttons outside it (a list of 32 would fill the
    // frame's 2D quads) are not drawn in a heap.
    Layout(w, b);
    if (b->selected.value > 0 && b->items.value > 0) {
        int total = b->isVirtual.value ? b->itemsVirtual.value : b->items.value;
        int s = b->isVirtual.value ? b->selectedVirtual.value + b->slot.value : b->slot.value;
        // A list shorter than the window fills the whole track: the bar never starts above the
        // track nor runs past its end.
        const int shown = b->slots.value < total ? b->slots.value : total;
        if (s > total - shown) s = total - shown;
        if (s < 0) s = 0;
        if (total > 0) {
            RenderSetAlphaLevel(b->barA.value);
            RenderSetColorModulation(b->barMR.value, b->barMG.value, b->barMB.value);
            RenderSetPenColor(b->barR.value, b->barG.value, b->barB.value);
            if (!b->barFlip.value)
                RenderRect(b->barX.value, b->barY.value + b->barH.value * s / total, b->barW.value,
                           b->barH.value * shown / total);
            else
                RenderRect(b->barX.value + b->barW.value * s / total, b->barY.value,
                           b->barW.value * shown / total, b->barH.value);
        }
    }
    if (b->hasCounter.value) Counter(w, b);
    return 1;
}

int BasicUiWidgetTypeScrollBox_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!Box(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

sBasicUiWidget* BasicUiWidgetTypeScrollBox_GetNth(sBasicUiWidget* box, int n)
{
    if (!Box(box)) return nullptr;
    sBasicUiWidget* c = box->childWidget;
    for (int i = 0; c && i < n; ++i) c = c->nextWidget;
    return c;
}

int BasicUiWidgetTypeScrollBox_GetIndex(sBasicUiWidget* box, sBasicUiWidget* button)
{
    if (!Box(box) || !BasicUiWidgetTypeButton_Get(button)) return -1;
    int i = 0;
    for (sBasicUiWidget* c = box->childWidget; c; c = c->nextWidget, ++i)
        if (c == button) return i;
    return -1;
}

int BasicUiWidgetTypeScrollBox_GetSelectedIndex(sBasicUiWidget* box)
{
    auto* b = Box(box);
    return b ? b->selected.value : -1;
}

int BasicUiWidgetTypeScrollBox_SetSelectedIndex(sBasicUiWidget* box, int index)
{
    auto* b = Box(box);
    if (b && index >= 0 && index < b->items.value) b->selected.value = index;
    return -1;
}

int BasicUiWidgetTypeScrollBox_GetSelectedSlot(sBasicUiWidget* box)
{
    auto* b = Box(box);
    return b ? b->slot.value : -1;
}

int BasicUiWidgetTypeScrollBox_SetSelectedSlot(sBasicUiWidget* box, int slot)
{
    auto* b = Box(box);
    if (b && slot >= 0 && slot <= b->items.value - b->slots.value) b->slot.value = slot;
    return -1;
}

int BasicUiWidgetTypeScrollBox_GetSlots(sBasicUiWidget* box)
{
    auto* b = Box(box);
    return b ? b->slots.value : 1;
}
