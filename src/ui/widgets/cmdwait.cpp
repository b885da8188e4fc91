// The wait and play-clip commands: a script waits a number of seconds, or until a clip stops; it
// starts, stops and positions clips.
#include "ui/widgets/commands.h"
#include "ui/widgets/clip.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

// ---- cmdPlay ----

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdPlayClip_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdPlayClip* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdPlayClip, &c);
    if (!c) return ref;
    c->isPlaying = c->setSpeed = c->setTMin = c->setT = c->setTMax = BasicUiValueBOOL_Make(0);
    c->setIsFwd = c->setIsLoop = c->setIsFlipFlop = BasicUiValueBOOL_Make(0);
    c->isFwd = c->isLoop = c->isFlipFlop = BasicUiValueBOOL_Make(1);
    c->tMax = 1.0f;
    return ref;
}

int BasicUiWidgetTypeCmdPlayClip_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdPlayClip>(w, EBasicUiWidgetTypeCmdPlayClip);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "clip", eBasicUiPropertyTypeWidgetREF, &c->clip, 1, 0);
    BasicUiPropertyTracker_Add(t, "isPlaying", eBasicUiPropertyTypeBOOL, &c->isPlaying, 1, 0);
    BasicUiPropertyTracker_Add(t, "setSpeed", eBasicUiPropertyTypeBOOL, &c->setSpeed, 1, 0);
    BasicUiPropertyTracker_Add(t, "speed", eBasicUiPropertyTypeFLT, &c->speed, 1, 0);
    BasicUiPropertyTracker_Add(t, "setTMin", eBasicUiPropertyTypeBOOL, &c->setTMin, 1, 0);
    BasicUiPropertyTracker_Add(t, "tMin", eBasicUiPropertyTypeFLT, &c->tMin, 1, 0);
    BasicUiPropertyTracker_Add(t, "setT", eBasicUiPropertyTypeBOOL, &c->setT, 1, 0);
    BasicUiPropertyTracker_Add(t, "t", eBasicUiPropertyTypeFLT, &c->t, 1, 0);
    BasicUiPropertyTracker_Add(t, "setTMax", eBasicUiPropertyTypeBOOL, &c->setTMax, 1, 0);
    BasicUiPropertyTracker_Add(t, "tMax", eBasicUiPropertyTypeFLT, &c->tMax, 1, 0);
    BasicUiPropertyTracker_Add(t, "setIsFwd", eBasicUiPropertyTypeBOOL, &c->setIsFwd, 1, 0);
    BasicUiPropertyTracker_Add(t, "isFwd", eBasicUiPropertyTypeBOOL, &c->isFwd, 1, 0);
    BasicUiPropertyTracker_Add(t, "setIsLoop", eBasicUiPropertyTypeBOOL, &c->setIsLoop, 1, 0);
    BasicUiPropertyTracker_Add(t, "isLoop", eBasicUiPropertyTypeBOOL, &c->isLoop, 1, 0);
    BasicUiPropertyTracker_Add(t, "setIsFlipFlop", eBasicUiPropertyTypeBOOL, &c->setIsFlipFlop, 1, 0);
    BasicUiPropertyTracker_Add(t, "isFlipFlop", eBasicUiPropertyTypeBOOL, &c->isFlipFlop, 1, 0);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdPlayClip)

int BasicUiWidgetTypeCmdPlayClip_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!BasicUiWidget_Record<sBasicUiWidgetTypeCmdPlayClip>(w, EBasicUiWidgetTypeCmdPlayClip)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

// Writes the command's settings into the clip, in a fixed order; isPlaying always, so a play
// command without it stops the clip. Only the value of each flag is copied.
void BasicUiWidgetTypeCmdPlayClip_Play(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdPlayClip>(w, EBasicUiWidgetTypeCmdPlayClip);
    auto* clip = c ? BasicUiWidget_Record<sBasicUiWidgetTypeClip>(c->clip, EBasicUiWidgetTypeClip) : nullptr;
    if (!clip) return;
    if (c->setIsFwd.value) clip->isFwd.value = c->isFwd.value;
    if (c->setIsLoop.value) clip->isLoop.value = c->isLoop.value;
    if (c->setIsFlipFlop.value) clip->isFlipFlop.value = c->isFlipFlop.value;
    if (c->setT.value) clip->t[0] = c->t;
    clip->isPlaying.value = c->isPlaying.value;
    if (c->setTMin.value) clip->tMin[0] = c->tMin;
    if (c->setTMax.value) clip->tMax[0] = c->tMax;
    if (c->setSpeed.value) clip->speed[0] = c->speed;
    // The command's own numbers have no range; the clip's keep theirs.
    BasicUiWidgetTypeClip_KeepNumbersInRange(c->clip);
}

// ---- cmdWait ----

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdWait_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdWait* c = nullptr;
    return BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdWait, &c);
}

int BasicUiWidgetTypeCmdWait_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdWait>(w, EBasicUiWidgetTypeCmdWait);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "clip", eBasicUiPropertyTypeWidgetREF, &c->clip, 1, 0);
    BasicUiPropertyTracker_Add(t, "wait", eBasicUiPropertyTypeFLT, &c->wait, 1, 0);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdWait)

int BasicUiWidgetTypeCmdWait_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!BasicUiWidget_Record<sBasicUiWidgetTypeCmdWait>(w, EBasicUiWidgetTypeCmdWait)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

// A clip is playing unless it is a clip widget that says it has stopped.
static int ClipPlaying(sBasicUiWidget* clip) { return !BasicUiWidgetTypeClip_NotPlaying(clip); }

int BasicUiWidgetTypeCmdWait_IsWaiting(sBasicUiWidget* w, float dt)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdWait>(w, EBasicUiWidgetTypeCmdWait);
    if (!c) return 0;
    c->time += dt;
    if (c->time < c->wait && ClipPlaying(c->clip)) return 1;
    c->time = 0.0f;
    return 0;
}

void BasicUiWidgetTypeCmdWait_Reset(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdWait>(w, EBasicUiWidgetTypeCmdWait);
    if (c) c->time = 0.0f;
}
