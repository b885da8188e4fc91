// The value commands: cmdValue writes a constant, an increment or a database cell into any
// property of a widget by name; cmdInput sets the environment's input mode; cmdScreen switches a
// screen's variant and turns it on or off (a screen turned on holds back the presses held then).
#include <algorithm>

#include "db/database.h"
#include "ui/loadcheck.h"
#include "ui/presslatch.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dbref.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

// ---- cmdValue ----

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdSetValue_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdSetValue* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdSetValue, &c);
    if (!c) return ref;
    c->pValue = c->isInc = c->invert = c->hasDbValue = c->hasIDbRow = BasicUiValueBOOL_Make(0);
    c->bValue = BasicUiValueBYTE_Make(0);
    c->iValue = c->column = c->row = c->element = BasicUiValueINT_Make(0);
    c->min = BasicUiValueINT_Make(-127);
    c->max = BasicUiValueINT_Make(127);
    return ref;
}

int BasicUiWidgetTypeCmdSetValue_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdSetValue>(w, EBasicUiWidgetTypeCmdSetValue);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "widget", eBasicUiPropertyTypeWidgetREF, &c->widget, 1, 0);
    BasicUiPropertyTracker_Add(t, "prop", eBasicUiPropertyTypeSTR, &c->prop, 1, 0);
    BasicUiPropertyTracker_Add(t, "pValue", eBasicUiPropertyTypeBOOL, &c->pValue, 1, 1);
    BasicUiPropertyTracker_Add(t, "bValue", eBasicUiPropertyTypeBYTE, &c->bValue, 1, 1);
    BasicUiPropertyTracker_Add(t, "iValue", eBasicUiPropertyTypeINT, &c->iValue, 1, 1);
    BasicUiPropertyTracker_Add(t, "fValue", eBasicUiPropertyTypeFLT, &c->fValue, 1, 0);
    BasicUiPropertyTracker_Add(t, "wValue", eBasicUiPropertyTypeWidgetREF, &c->wValue, 1, 0);
    BasicUiPropertyTracker_Add(t, "isInc", eBasicUiPropertyTypeBOOL, &c->isInc, 1, 1);
    BasicUiPropertyTracker_Add(t, "invert", eBasicUiPropertyTypeBOOL, &c->invert, 1, 1);
    BasicUiPropertyTracker_Add(t, "min", eBasicUiPropertyTypeINT, &c->min, 1, 1);
    BasicUiPropertyTracker_Add(t, "max", eBasicUiPropertyTypeINT, &c->max, 1, 1);
    BasicUiPropertyTracker_Add(t, "hasDbValue", eBasicUiPropertyTypeBOOL, &c->hasDbValue, 1, 1);
    BasicUiPropertyTracker_Add(t, "dbNm", eBasicUiPropertyTypeSTR, &c->dbNm, 1, 0);
    BasicUiPropertyTracker_Add(t, "dbTblNm", eBasicUiPropertyTypeSTR, &c->dbTblNm, 1, 0);
    BasicUiPropertyTracker_Add(t, "column", eBasicUiPropertyTypeINT, &c->column, 1, 1);
    BasicUiPropertyTracker_Add(t, "row", eBasicUiPropertyTypeINT, &c->row, 1, 1);
    BasicUiPropertyTracker_Add(t, "element", eBasicUiPropertyTypeINT, &c->element, 1, 1);
    BasicUiPropertyTracker_Add(t, "hasIDbRow", eBasicUiPropertyTypeBOOL, &c->hasIDbRow, 1, 1);
    BasicUiPropertyTracker_Add(t, "idbRowRef", eBasicUiPropertyTypeWidgetREF, &c->idbRowRef, 1, 0);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdSetValue)

int BasicUiWidgetTypeCmdSetValue_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdSetValue>(w, EBasicUiWidgetTypeCmdSetValue);
    if (!c) return 0;
    BasicUiWidget_FreeString(env, &c->prop);
    BasicUiWidget_FreeString(env, &c->dbNm);
    BasicUiWidget_FreeString(env, &c->dbTblNm);
    return BasicUiWidget_FreeRecord(env, w);
}

// The property of that name of the widget, copied out of a table built for the look-up.
int BasicUiWidget_FindProperty(sBasicUiWidget* w, const char* name, sBasicUiProperty* out)
{
    if (!w || !name) return 0;
    static sBasicUiPropertyTracker tracker;  // large: kept out of the stack
    BasicUiWidget_InitialisePropertyTracker(w, &tracker);
    sBasicUiProperty* p = BasicUiPropertyTracker_FindPropertyByName(&tracker, name);
    if (!p) return 0;
    *out = *p;
    return 1;
}

void BasicUiWidgetTypeCmdSetValue_Set(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdSetValue>(w, EBasicUiWidgetTypeCmdSetValue);
    if (!c) return;
    sBasicUiProperty p;
    if (!BasicUiWidget_FindProperty(c->widget, c->prop, &p) || !p.propPtr) {
        BasicUiWidget_ReportMissing(w, &c->reported, "the property", c->prop);
        return;
    }
    if (c->hasDbValue.value) {
        sBasicDbTable* table =
            BasicUiTableCache_Update(&c->cache, BasicUiWidget_GetEnvironment(c->widget), c->dbNm, c->dbTblNm);
        if (!table) BasicUiWidget_ReportMissing(w, &c->reported, "the table", c->dbTblNm);
        if (table) {
            // The row may come from another cell: a career's row, say, kept in its set-up table.
            if (c->hasIDbRow.value) c->row.value = BasicUiWidgetTypeDbRef_GetDbInt(c->idbRowRef);
            int x = BasicDbTable_GetElementIN(table, c->column.value, c->row.value, c->element.value, 0);
            switch (p.propType) {
            case eBasicUiPropertyTypeBOOL:
                c->pValue.value = (x != 0) != (c->invert.value != 0);
                break;
            case eBasicUiPropertyTypeBYTE: c->bValue.value = uint8_t(std::clamp(x, 0, 255)); break;
            case eBasicUiPropertyTypeINT: c->iValue.value = x; break;
            case eBasicUiPropertyTypeFLT: c->fValue = float(x); break;
            default: break;
            }
        }
    }
    switch (p.propType) {
    case eBasicUiPropertyTypeBOOL: *static_cast<sBasicUiValueBOOL*>(p.propPtr) = c->pValue; break;
    case eBasicUiPropertyTypeBYTE: {
        auto* b = static_cast<sBasicUiValueBYTE*>(p.propPtr);
        if (c->isInc.value)
            b->value = uint8_t(b->value + c->bValue.value);
        else
            *b = c->bValue;
        break;
    }
    case eBasicUiPropertyTypeINT: {
        auto* i = static_cast<sBasicUiValueINT*>(p.propPtr);
        if (c->isInc.value) {
            long long v = (long long)i->value + c->iValue.value;
            if (v < c->min.value) v = c->min.value;
            if (v > c->max.value) v = c->max.value;
            i->value = int(v);
        } else {
            *i = c->iValue;
        }
        break;
    }
    case eBasicUiPropertyTypeFLT: {
        auto* f = static_cast<float*>(p.propPtr);
        *f = c->isInc.value ? *f + c->fValue : c->fValue;
        break;
    }
    case eBasicUiPropertyTypeWidgetREF: *static_cast<sBasicUiWidget**>(p.propPtr) = c->wValue; break;
    default: break;
    }
    // A number the loader keeps in range (a button's position, say) stays there: the sums the
    // widget makes of it would otherwise overflow.
    BasicUi_KeepNumberInRange(c->widget, &p);
}

// ---- cmdInput ----

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdSetInput_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdSetInput* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdSetInput, &c);
    if (c) c->inputMode = BasicUiValueINT_Make(0);
    return ref;
}

int BasicUiWidgetTypeCmdSetInput_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdSetInput>(w, EBasicUiWidgetTypeCmdSetInput);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "inputMode", eBasicUiPropertyTypeINT, &c->inputMode, 1, 1);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdSetInput)

int BasicUiWidgetTypeCmdSetInput_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!BasicUiWidget_Record<sBasicUiWidgetTypeCmdSetInput>(w, EBasicUiWidgetTypeCmdSetInput)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

void BasicUiWidgetTypeCmdSetInput_SetInputMode(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdSetInput>(w, EBasicUiWidgetTypeCmdSetInput);
    if (!c || c->inputMode.value < 0 || c->inputMode.value > 3) return;
    BasicUiEnvironment_SetInputMode(BasicUiWidget_GetEnvironment(w), BasicUiInputMode(c->inputMode.value));
}

// ---- cmdScreen ----

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdSetScreen_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdSetScreen* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdSetScreen, &c);
    if (!c) return ref;
    c->setVariant = c->setIsActive = c->setIsRender = BasicUiValueBOOL_Make(0);
    c->variant = BasicUiValueINT_Make(0);
    return ref;
}

int BasicUiWidgetTypeCmdSetScreen_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdSetScreen>(w, EBasicUiWidgetTypeCmdSetScreen);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "screen", eBasicUiPropertyTypeScreenREF, &c->screen, 1, 0);
    BasicUiPropertyTracker_Add(t, "setVariant", eBasicUiPropertyTypeBOOL, &c->setVariant, 1, 1);
    BasicUiPropertyTracker_Add(t, "variant", eBasicUiPropertyTypeINT, &c->variant, 1, 1);
    BasicUiPropertyTracker_Add(t, "setIsActive", eBasicUiPropertyTypeBOOL, &c->setIsActive, 1, 1);
    BasicUiPropertyTracker_Add(t, "setIsRender", eBasicUiPropertyTypeBOOL, &c->setIsRender, 1, 1);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdSetScreen)

int BasicUiWidgetTypeCmdSetScreen_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!BasicUiWidget_Record<sBasicUiWidgetTypeCmdSetScreen>(w, EBasicUiWidgetTypeCmdSetScreen)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

// The screen a widget lies on: its own top-level ancestor's.
static sBasicUiScreen* ScreenOf(sBasicUiWidget* w)
{
    while (w && w->parentWidget) w = w->parentWidget;
    return w ? w->parentScreen : nullptr;
}

void BasicUiWidgetTypeCmdSetScreen_Set(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdSetScreen>(w, EBasicUiWidgetTypeCmdSetScreen);
    if (!c) return;
    sBasicUiScreen* s = c->screen ? c->screen : ScreenOf(w);
    if (!s) return;
    if (c->setVariant.value) s->variant.value = c->variant.value;
    // A page that opens takes only the presses that begin after it opened.
    if (c->setIsActive.value && w->isActive.value && !s->isActive.value) BasicUi_LatchPresses();
    if (c->setIsActive.value) s->isActive.value = w->isActive.value;
    if (c->setIsRender.value) s->isRender.value = w->isRender.value;
    if ((c->setIsActive.value || c->setIsRender.value) && s->parentDisplay) {
        sBasicUiDisplay* d = s->parentDisplay;
        d->cx0 = d->cy0 = d->cx1 = d->cy1 = 0;
    }
}

int BasicUiWidgetTypeCmdSetScreen_IsVariant(sBasicUiWidget* w, int variant)
{
    if (!variant || !w) return 1;
    sBasicUiScreen* s = ScreenOf(w);
    return !s || s->variant.value == variant ? 1 : 0;
}
