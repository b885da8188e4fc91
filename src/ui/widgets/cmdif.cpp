// The branch commands: an If compares two integers and hands the opposite result to an Else that
// follows it; the sequence enters the block of the one whose result is true.
#include "ui/widgets/commands.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdIf_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdIf* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdIf, &c);
    if (!c) return ref;
    c->lvalue = c->inequality = c->rvalue = BasicUiValueINT_Make(0);
    c->invert = c->result = BasicUiValueBOOL_Make(0);
    return ref;
}

int BasicUiWidgetTypeCmdIf_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdIf>(w, EBasicUiWidgetTypeCmdIf);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "lvalue", eBasicUiPropertyTypeINT, &c->lvalue, 1, 1);
    BasicUiPropertyTracker_Add(t, "inequality", eBasicUiPropertyTypeINT, &c->inequality, 1, 1);
    BasicUiPropertyTracker_Add(t, "rvalue", eBasicUiPropertyTypeINT, &c->rvalue, 1, 1);
    BasicUiPropertyTracker_Add(t, "invert", eBasicUiPropertyTypeBOOL, &c->invert, 1, 1);
    BasicUiPropertyTracker_Add(t, "result", eBasicUiPropertyTypeBOOL, &c->result, 1, 1);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdIf)

int BasicUiWidgetTypeCmdIf_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!BasicUiWidget_Record<sBasicUiWidgetTypeCmdIf>(w, EBasicUiWidgetTypeCmdIf)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

static int Opposite(int result) { return result > 1 ? 0 : 1 - result; }

int BasicUiWidgetTypeCmdIf_Test(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdIf>(w, EBasicUiWidgetTypeCmdIf);
    if (!c) return 0;
    int l = c->lvalue.value, r = c->rvalue.value;
    int result = c->result.value;
    switch (c->inequality.value) {
    case -2: result = l < r; break;
    case -1: result = l <= r; break;
    case 0: result = l == r; break;
    case 1: result = l >= r; break;
    case 2: result = l > r; break;
    default: break;
    }
    if (c->invert.value) result = Opposite(result);
    c->result.value = result;
    auto* e = BasicUiWidget_Record<sBasicUiWidgetTypeCmdElse>(w->nextWidget, EBasicUiWidgetTypeCmdElse);
    if (e) e->result.value = Opposite(result);
    return result;
}

// ---- cmdElse ----

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdElse_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdElse* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdElse, &c);
    if (c) c->result = BasicUiValueBOOL_Make(0);
    return ref;
}

int BasicUiWidgetTypeCmdElse_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdElse>(w, EBasicUiWidgetTypeCmdElse);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "result", eBasicUiPropertyTypeBOOL, &c->result, 1, 1);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdElse)

int BasicUiWidgetTypeCmdElse_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!BasicUiWidget_Record<sBasicUiWidgetTypeCmdElse>(w, EBasicUiWidgetTypeCmdElse)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

int BasicUiWidgetTypeCmdElse_Test(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdElse>(w, EBasicUiWidgetTypeCmdElse);
    return c ? c->result.value : 0;
}
