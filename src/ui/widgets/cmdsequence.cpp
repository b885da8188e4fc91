// The command sequence: the interpreter of one script. Each update runs the sequence's commands in
// order, entering If and Else blocks, until a command has to wait (a timed wait, a called
// sequence, text input, a resource load); the next update resumes there. All other commands run within the frame,
// however many.
#include "ui/widgets/cmdload.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetTypeCmdSequence* Seq(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeCmdSequence>(w, EBasicUiWidgetTypeCmdSequence);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdSequence_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdSequence* s = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdSequence, &s);
    if (s) s->cmdSeqActive = BasicUiValueBOOL_Make(0);
    return ref;
}

int BasicUiWidgetTypeCmdSequence_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetTypeCmdSequence* s = Seq(w);
    if (!s || !t) return 0;
    BasicUiPropertyTracker_Add(t, "cmdActive", eBasicUiPropertyTypeBOOL, &s->cmdSeqActive, 1, 1);
    return 1;
}

int BasicUiWidgetTypeCmdSequence_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeCmdSequence_Render(sBasicUiWidget*) { return 1; }

int BasicUiWidgetTypeCmdSequence_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!Seq(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

void BasicUiWidgetTypeCmdSequence_Run(sBasicUiWidget* seq)
{
    sBasicUiWidgetTypeCmdSequence* s = Seq(seq);
    if (s) s->cmdSeqActive.value = 1;
}

int BasicUiWidgetTypeCmdSequence_IsRunning(sBasicUiWidget* seq)
{
    sBasicUiWidgetTypeCmdSequence* s = Seq(seq);
    return s ? s->cmdSeqActive.value : 0;
}

void BasicUiWidgetTypeCmdSequence_Brk(sBasicUiWidget* seq)
{
    sBasicUiWidgetTypeCmdSequence* s = Seq(seq);
    if (!s) return;
    // The sequence is idle before its command is told to stop: a chain of calls that leads back
    // here (a sequence calling itself, or a cycle of calls) then finds it idle and ends.
    sBasicUiWidget* cmd = s->activeCmd;
    s->cmdSeqActive.value = 0;
    s->activeCmd = nullptr;
    if (!cmd) return;
    BasicUiWidgetTypeCmdTextIn_Cancel(cmd);
    BasicUiWidgetTypeCmdWait_Reset(cmd);
    BasicUiWidgetTypeCmdGosub_Brk(cmd);
}

// The command after cmd: its next sibling, else the next sibling of the nearest enclosing block
// that has one. Null at the end of the sequence.
static sBasicUiWidget* Next(sBasicUiWidget* cmd, sBasicUiWidget* seq)
{
    if (cmd->nextWidget) return cmd->nextWidget;
    for (sBasicUiWidget* p = cmd->parentWidget; p && p != seq; p = p->parentWidget)
        if (p->nextWidget) return p->nextWidget;
    return nullptr;
}

static void End(sBasicUiWidgetTypeCmdSequence* s)
{
    s->activeCmd = nullptr;
    s->cmdSeqActive.value = 0;
}

// The commands that are entered once and then tested until their wait is over.
static int IsWaitingKind(const sBasicUiWidget* cmd)
{
    int type = cmd->widgetTypeRef.type;
    return type == EBasicUiWidgetTypeCmdWait || type == EBasicUiWidgetTypeCmdGosub ||
           type == EBasicUiWidgetTypeCmdTextIn;
}

// Whether the command at which the sequence waits is still waiting.
static int StillWaiting(sBasicUiWidget* cmd, float dt)
{
    switch (cmd->widgetTypeRef.type) {
    case EBasicUiWidgetTypeCmdWait: return BasicUiWidgetTypeCmdWait_IsWaiting(cmd, dt);
    case EBasicUiWidgetTypeCmdGosub: return BasicUiWidgetTypeCmdGosub_IsActive(cmd);
    case EBasicUiWidgetTypeCmdTextIn: return BasicUiWidgetTypeCmdTextIn_IsActive(cmd);
    default: return 0;
    }
}

// Runs one command. Returns 1 to go on with the next, 0 when the sequence waits at the command or
// was stopped; *enter is set to the block to enter instead of the next command.
static int Execute(sBasicUiWidget* seq, sBasicUiWidgetTypeCmdSequence* s, sBasicUiWidget* cmd, sBasicUiWidget** enter)
{
    *enter = nullptr;
    switch (cmd->widgetTypeRef.type) {
    case EBasicUiWidgetTypeCmdPlayClip: BasicUiWidgetTypeCmdPlayClip_Play(cmd); break;
    case EBasicUiWidgetTypeCmdWait:
        s->activeCmd = cmd;
        BasicUiWidgetTypeCmdWait_Reset(cmd);
        return 0;
    case EBasicUiWidgetTypeCmdSetScreen: BasicUiWidgetTypeCmdSetScreen_Set(cmd); break;
    case EBasicUiWidgetTypeCmdSetValue: BasicUiWidgetTypeCmdSetValue_Set(cmd); break;
    case EBasicUiWidgetTypeCmdSetInput: BasicUiWidgetTypeCmdSetInput_SetInputMode(cmd); break;
    case EBasicUiWidgetTypeCmdControl: BasicUiWidgetTypeCmdControl_Set(cmd); break;
    case EBasicUiWidgetTypeCmdFn: {
        s->dialogActive = 1;
        int r = BasicUiWidgetTypeCmdFn_Call(cmd);
        s->dialogActive = 0;
        if (!r) {
            BasicUiWidgetTypeCmdSequence_Brk(seq);
            return 0;
        }
        break;
    }
    case EBasicUiWidgetTypeCmdGosub:
        BasicUiWidgetTypeCmdGosub_Call(cmd);
        s->activeCmd = cmd;
        return 0;
    case EBasicUiWidgetTypeCmdBreak: BasicUiWidgetTypeCmdBreak_Break(cmd); break;
    case EBasicUiWidgetTypeCmdTextIn:
        if (!BasicUiWidgetTypeCmdTextIn_Open(cmd)) {
            BasicUiWidgetTypeCmdSequence_Brk(seq);
            return 0;
        }
        s->activeCmd = cmd;
        return 0;
    case EBasicUiWidgetTypeCmdLoad:
        if (!BasicUiWidgetTypeCmdLoad_IsLoaded(cmd)) {
            s->activeCmd = cmd;
            return 0;
        }
        break;
    case EBasicUiWidgetTypeCmdEditDb:
        BasicUiWidgetTypeCmdEditDb_Edit(cmd);
        BasicUiWidgetTypeCmdSound_Play(cmd);
        break;
    case EBasicUiWidgetTypeCmdSound: BasicUiWidgetTypeCmdSound_Play(cmd); break;
    case EBasicUiWidgetTypeCmdIf:
        if (BasicUiWidgetTypeCmdIf_Test(cmd) && cmd->childWidget) *enter = cmd->childWidget;
        break;
    case EBasicUiWidgetTypeCmdElse:
        if (BasicUiWidgetTypeCmdElse_Test(cmd) && cmd->childWidget) *enter = cmd->childWidget;
        break;
    case EBasicUiWidgetTypeCmdBGM: BasicUiWidgetTypeCmdBGM_Run(cmd); break;
    default: break;  // another sequence, a trigger or a visual widget: skipped with its children
    }
    // A command may have stopped its own sequence (a break naming it, a value written to its
    // "cmdActive"): nothing more of it runs in this frame.
    return s->cmdSeqActive.value ? 1 : 0;
}

int BasicUiWidgetTypeCmdSequence_Update(sBasicUiWidget* seq, float dt)
{
    sBasicUiWidgetTypeCmdSequence* s = Seq(seq);
    if (!s || !s->cmdSeqActive.value || s->dialogActive) return 1;
    sBasicUiWidget* cmd = s->activeCmd;
    if (!cmd) {
        cmd = seq->childWidget;
    } else if (IsWaitingKind(cmd)) {
        if (StillWaiting(cmd, dt)) return 1;
        if (!s->cmdSeqActive.value) return 1;
        // A cancelled keyboard stops the script that asked for the text.
        if (cmd->widgetTypeRef.type == EBasicUiWidgetTypeCmdTextIn && BasicUiWidgetTypeCmdTextIn_WasCancelled()) {
            BasicUiWidgetTypeCmdSequence_Brk(seq);
            return 1;
        }
        // Past a wait, the script goes on after the command, also out of an If or Else block.
        cmd = Next(cmd, seq);
    }
    // Any other command waited at (a load) is executed again.
    s->activeCmd = nullptr;
    while (cmd) {
        sBasicUiWidget* enter = nullptr;
        if (!Execute(seq, s, cmd, &enter)) return 1;
        cmd = enter ? enter : Next(cmd, seq);
    }
    End(s);
    return 1;
}
