// The call and break commands: a script calls another sequence and waits for it to end, or stops
// a run of sequences.
#include "ui/widgets/commands.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdGosub_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdGosub* c = nullptr;
    return BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdGosub, &c);
}

int BasicUiWidgetTypeCmdGosub_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdGosub>(w, EBasicUiWidgetTypeCmdGosub);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "gosub", eBasicUiPropertyTypeWidgetREF, &c->gosub, 1, 0);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdGosub)

int BasicUiWidgetTypeCmdGosub_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!BasicUiWidget_Record<sBasicUiWidgetTypeCmdGosub>(w, EBasicUiWidgetTypeCmdGosub)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

int BasicUiWidgetTypeCmdGosub_Call(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdGosub>(w, EBasicUiWidgetTypeCmdGosub);
    if (!c) return 0;
    if (!c->gosub || c->gosub->widgetTypeRef.type != EBasicUiWidgetTypeCmdSequence)
        BasicUiWidget_ReportMissing(w, &c->reported, "the sequence", c->gosub ? c->gosub->name : nullptr);
    BasicUiWidgetTypeCmdSequence_Run(c->gosub);
    return 1;
}

int BasicUiWidgetTypeCmdGosub_IsActive(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdGosub>(w, EBasicUiWidgetTypeCmdGosub);
    return c ? BasicUiWidgetTypeCmdSequence_IsRunning(c->gosub) : 0;
}

void BasicUiWidgetTypeCmdGosub_Brk(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdGosub>(w, EBasicUiWidgetTypeCmdGosub);
    if (c) BasicUiWidgetTypeCmdSequence_Brk(c->gosub);
}

// ---- cmdBreak ----

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdBreak_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdBreak* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdBreak, &c);
    if (c) c->cmdCount = BasicUiValueINT_Make(1);
    return ref;
}

int BasicUiWidgetTypeCmdBreak_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdBreak>(w, EBasicUiWidgetTypeCmdBreak);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "cmdSeq", eBasicUiPropertyTypeWidgetREF, &c->cmdSeq, 1, 0);
    BasicUiPropertyTracker_Add(t, "cmdCount", eBasicUiPropertyTypeINT, &c->cmdCount, 1, 1);
    BasicUiPropertyTracker_Add(t, "exclusion", eBasicUiPropertyTypeWidgetREF, &c->exclusion, 1, 0);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdBreak)

int BasicUiWidgetTypeCmdBreak_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!BasicUiWidget_Record<sBasicUiWidgetTypeCmdBreak>(w, EBasicUiWidgetTypeCmdBreak)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

void BasicUiWidgetTypeCmdBreak_Break(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdBreak>(w, EBasicUiWidgetTypeCmdBreak);
    if (!c) return;
    sBasicUiWidget* s = c->cmdSeq;
    for (int i = 0; s && i < c->cmdCount.value; ++i, s = s->nextWidget)
        if (s != c->exclusion) BasicUiWidgetTypeCmdSequence_Brk(s);
}
