// The cursor-navigation trigger: the pad moves a selection over buttons along their links, the
// display's cursor follows the selected button's centre, a sound tells a move from a bump at the
// edge, and a long idle spell runs a "minimise" script once, the next move a "maximise" one.
#include <algorithm>
#include <string>

#include "lib/resources.h"
#include "platform/bitmap.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "ui/draw2d.h"
#include "ui/frameupdate.h"
#include "ui/widgets/button.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/scrollbox.h"
#include "ui/widgets/triggers.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

// The selection frame's corners, in pixels.
enum { kSelectionCorner = 12 };

static sBasicUiWidgetTypeTriggerMove* Move(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeTriggerMove>(w, EBasicUiWidgetTypeTriggerMove);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeTriggerMove_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeTriggerMove* m = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeTriggerMove, &m);
    if (!m) return ref;
    m->step = BasicUiValueINT_Make(1);
    m->timeout[0] = m->timeout[1] = 20.0f;
    m->vScrollLoop = m->hScrollLoop = m->eHScrollLoop = m->eVScrollLoop = BasicUiValueINT_Make(1);
    BasicUiDbRef_Init(&m->sounds);
    return ref;
}

int BasicUiWidgetTypeTriggerMove_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* m = Move(w);
    if (!m || !t) return 0;
    const eBasicUiPropertyType I = eBasicUiPropertyTypeINT, W = eBasicUiPropertyTypeWidgetREF,
                               B = eBasicUiPropertyTypeBOOL;
    BasicUiPropertyTracker_Add(t, "step", I, &m->step, 1, 1);
    BasicUiPropertyTracker_Add(t, "button", W, &m->button, 1, 0);
    BasicUiPropertyTracker_Add(t, "selected", W, &m->selected, 1, 0);
    BasicUiPropertyTracker_Add(t, "imageID", I, &m->imageID, 1, 1);
    BasicUiPropertyTracker_Add(t, "timeout", eBasicUiPropertyTypeFLT, m->timeout, 1, 1);
    BasicUiPropertyTracker_Add(t, "minimise", W, &m->minimise, 1, 0);
    BasicUiPropertyTracker_Add(t, "maximise", W, &m->maximise, 1, 0);
    BasicUiPropertyTracker_Add(t, "vScrollID", I, &m->vScrollID, 1, 1);
    BasicUiPropertyTracker_Add(t, "vScrollLoop", I, &m->vScrollLoop, 1, 1);
    BasicUiPropertyTracker_Add(t, "hScrollID", I, &m->hScrollID, 1, 1);
    BasicUiPropertyTracker_Add(t, "hScrollLoop", I, &m->hScrollLoop, 1, 1);
    BasicUiPropertyTracker_Add(t, "eHScrollID", I, &m->eHScrollID, 1, 1);
    BasicUiPropertyTracker_Add(t, "eHScrollLoop", I, &m->eHScrollLoop, 1, 1);
    BasicUiPropertyTracker_Add(t, "eVScrollID", I, &m->eVScrollID, 1, 1);
    BasicUiPropertyTracker_Add(t, "eVScrollLoop", I, &m->eVScrollLoop, 1, 1);
    BasicUiPropertyTracker_Add(t, "skipLockedItems", B, &m->skipLockedItems, 1, 1);
    BasicUiPropertyTracker_Add(t, "reset", B, &m->reset, 1, 1);
    BasicUiPropertyTracker_Add(t, "ignore", B, &m->ignore, 1, 1);
    BasicUiDbRef_AddProperties(&m->sounds, {"dbNm", "dbTblNm", "row", "column"}, t);
    return 1;
}

int BasicUiWidgetTypeTriggerMove_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }

int BasicUiWidgetTypeTriggerMove_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* m = Move(w);
    if (!m) return 0;
    BasicUiDbRef_Fini(&m->sounds, env);
    return BasicUiWidget_FreeRecord(env, w);
}

sBasicUiWidget* BasicUiWidgetTypeTriggerMove_GetSelected(sBasicUiWidget* w)
{
    auto* m = Move(w);
    return m ? m->selected : nullptr;
}

void BasicUiWidgetTypeTriggerMove_SetSelected(sBasicUiWidget* w, sBasicUiWidget* button)
{
    if (auto* m = Move(w)) m->selected = button;
}

// The link of a button in a move direction (up, down, right, left = N, S, E, W).
static sBasicUiWidget* Link(sBasicUiWidgetTypeButton* b, int direction)
{
    static const int links[4] = {kBasicUiLinkN, kBasicUiLinkS, kBasicUiLinkE, kBasicUiLinkW};
    return direction >= 0 && direction < 4 ? b->button[links[direction]] : nullptr;
}

static int CountWidgets(sBasicUiEnvironment* env)
{
    int n = 0;
    if (!env) return 0;
    for (int i = 0; i < kBasicUiHashSize; ++i)
        for (sBasicUiWidget* w = env->wHash[i]; w; w = w->nextHash) ++n;
    return n;
}

sBasicUiWidget* MoveBtn(sBasicUiWidget* from, sBasicUiWidget* first, int direction, int skipLocked, int steps)
{
    if (!BasicUiWidgetTypeButton_Get(from)) return first;
    // Each link leads to a widget of the environment, so a walk longer than there are widgets has
    // gone round a ring of buttons that are all unavailable.
    int budget = CountWidgets(BasicUiWidget_GetEnvironment(from)) + 1;
    sBasicUiWidget* result = from;
    sBasicUiWidget* at = from;
    for (int taken = 0; taken < steps && budget-- > 0;) {
        sBasicUiWidgetTypeButton* b = BasicUiWidgetTypeButton_Get(at);
        if (!b) break;
        sBasicUiWidget* next = Link(b, direction);
        if (!BasicUiWidgetTypeButton_Get(next)) break;
        at = next;
        if (BasicUiWidgetTypeButton_IsAvailable(next, skipLocked)) {
            result = next;
            ++taken;
        }
    }
    BasicUiWidgetTypeScrollBox_ScrollTo(result->parentWidget, result);
    return result;
}

// Hands the display's cursor to this trigger, keeping the previous owner's in its record.
static void TakeCursor(sBasicUiWidget* w, sBasicUiWidgetTypeTriggerMove* m, sBasicUiDisplay* d)
{
    if (d->cContext == w) return;
    if (auto* other = Move(d->cContext)) {
        other->cx0 = d->cx0, other->cy0 = d->cy0, other->cx1 = d->cx1, other->cy1 = d->cy1;
    }
    d->cContext = w;
    d->cx0 = m->cx0, d->cy0 = m->cy0, d->cx1 = m->cx1, d->cy1 = m->cy1;
}

static sBasicUiScreen* ScreenOf(sBasicUiWidget* w)
{
    while (w && !w->parentScreen) w = w->parentWidget;
    return w ? w->parentScreen : nullptr;
}

int BasicUiWidgetTypeTriggerMove_Update(sBasicUiWidget* w, float dt)
{
    auto* m = Move(w);
    sBasicUiDisplay* d = BasicUiWidget_GetDisplay(w);
    sBasicUiScreen* screen = ScreenOf(w);
    if (!m || !d || !screen || !screen->isActive.value || !BasicUiTrigger_IsNormal(w)) return 1;
    TakeCursor(w, m, d);
    sBasicDbTable* sounds = BasicUiDbRef_Update(&m->sounds, BasicUiWidget_GetEnvironment(w));
    if (m->reset.value) {
        d->cx0 = d->cy0 = 0;
        m->reset.value = 0;
    } else {
        d->cx0 = d->cx1;
        d->cy0 = d->cy1;
    }
    int moved = 0;
    if (!m->ignore.value) {
        const joystickState* c = BasicUi_GetController(0);
        const int bits[4] = {kButtonUp, kButtonDown, kButtonLeft, kButtonRight};
        const int dirs[4] = {kBasicUiMoveUp, kBasicUiMoveDown, kBasicUiMoveLeft, kBasicUiMoveRight};
        for (int i = 0; i < 4 && !moved; ++i) {
            if (!BasicUi_IsPressed(c, bits[i])) continue;
            sBasicUiWidget* before = m->selected;
            m->selected = MoveBtn(m->selected, m->button, dirs[i], m->skipLockedItems.value, m->step.value);
            moved = 1;
            const int changed = m->selected != before;
            const bool vertical = i < 2;
            int id = vertical ? (changed ? m->vScrollID.value : m->eVScrollID.value)
                              : (changed ? m->hScrollID.value : m->eHScrollID.value);
            int loops = vertical ? (changed ? m->vScrollLoop.value : m->eVScrollLoop.value)
                                 : (changed ? m->hScrollLoop.value : m->eHScrollLoop.value);
            BasicUiWidgetTypeCmdSound_PlayResource(sounds, m->sounds.row.value, m->sounds.column.value, id, loops);
        }
    }
    if (auto* b = BasicUiWidgetTypeButton_Get(m->selected)) {
        d->cx1 = b->x.value + b->boundsDW.value + (b->w.value - b->boundsDW.value - b->boundsDE.value) / 2;
        d->cy1 = b->y.value + b->boundsDN.value + (b->h.value - b->boundsDN.value - b->boundsDS.value) / 2;
    } else {
        d->cx1 = d->cy1 = 0;
    }
    m->cx0 = d->cx0, m->cy0 = d->cy0, m->cx1 = d->cx1, m->cy1 = d->cy1;
    // Idle time: "minimise" runs once when an idle spell passes the time-out, "maximise" on the
    // first move after it.
    if (!moved) {
        if (!m->minimised && m->dt <= m->timeout[0] && m->timeout[0] < m->dt + dt) {
            m->minimised = 1;
            BasicUiTrigger_Fire(m->minimise);
        }
        m->dt += dt;
    } else {
        if (m->dt + dt > m->timeout[0]) BasicUiTrigger_Fire(m->maximise);
        m->dt = 0;
        m->minimised = 0;
    }
    return 1;
}

// The selection image is a frame: its corners and edges keep their size on a button of any size,
// taken from an image at least as large as the button (one made for one button size draws 1:1).
static void DrawSelectionFrame(int id, int x, int y, int w, int h)
{
    void* handle = nullptr;
    if (!GetResourceHandle(id, &handle) || !handle) return;
    const auto* bitmap = static_cast<const DS3_bitmap_tag*>(handle);
    const int corner = std::min({int(kSelectionCorner), w / 2, h / 2});
    BasicUi_RenderSizableBox(id, x, y, w, h, corner, corner, bitmap->width, bitmap->height);
}

int BasicUiWidgetTypeTriggerMove_Render(sBasicUiWidget* w)
{
    auto* m = Move(w);
    sBasicUiDisplay* d = BasicUiWidget_GetDisplay(w);
    if (!m || !d) return 0;
    RenderSetPenSize(1, 1);
    RenderSetAlphaLevel(128);
    RenderSetColorModulation(127, 127, 127);
    RenderSetPenColor(128, 128, 128);
    auto* b = BasicUiWidgetTypeButton_Get(m->selected);
    if (!b) {
        RenderRect(d->cx1 - 20, d->cy1 - 20, 40, 40);
        return 1;
    }
    int x = b->x.value + (b->w.value * b->adjustX.value) / 2, y = b->y.value + (b->h.value * b->adjustY.value) / 2;
    if (BasicUi_ImageExists(m->imageID.value)) {
        RenderSetAlphaLevel(255);
        DrawSelectionFrame(m->imageID.value, x, y, b->w.value, b->h.value);
        return 1;
    }
    RenderRect(x + b->boundsDW.value, y + b->boundsDN.value, b->w.value - b->boundsDW.value - b->boundsDE.value,
               b->h.value - b->boundsDN.value - b->boundsDS.value);
    return 1;
}
