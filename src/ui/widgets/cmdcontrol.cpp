// The control and function commands: cmdControl copies one widget property into another (mapping
// a float onto a clip's time range when asked); cmdFn calls a registered native function by name.
#include <cstring>

#include "ui/loadcheck.h"
#include "ui/registry.h"
#include "ui/widgets/clip.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

int BasicUiWidget_FindProperty(sBasicUiWidget* w, const char* name, sBasicUiProperty* out);

// ---- cmdControl ----

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdControl_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdControl* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdControl, &c);
    if (!c) return ref;
    c->tMap = BasicUiValueBOOL_Make(0);
    c->tMax = 1.0f;
    return ref;
}

int BasicUiWidgetTypeCmdControl_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdControl>(w, EBasicUiWidgetTypeCmdControl);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "tMap", eBasicUiPropertyTypeBOOL, &c->tMap, 1, 1);
    BasicUiPropertyTracker_Add(t, "tMin", eBasicUiPropertyTypeFLT, &c->tMin, 1, 0);
    BasicUiPropertyTracker_Add(t, "tMax", eBasicUiPropertyTypeFLT, &c->tMax, 1, 0);
    BasicUiPropertyTracker_Add(t, "srcW", eBasicUiPropertyTypeWidgetREF, &c->srcW, 1, 0);
    BasicUiPropertyTracker_Add(t, "srcP", eBasicUiPropertyTypeSTR, &c->srcP, 1, 0);
    BasicUiPropertyTracker_Add(t, "dstW", eBasicUiPropertyTypeWidgetREF, &c->dstW, 1, 0);
    BasicUiPropertyTracker_Add(t, "dstP", eBasicUiPropertyTypeSTR, &c->dstP, 1, 0);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdControl)

int BasicUiWidgetTypeCmdControl_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdControl>(w, EBasicUiWidgetTypeCmdControl);
    if (!c) return 0;
    BasicUiWidget_FreeString(env, &c->srcP);
    BasicUiWidget_FreeString(env, &c->dstP);
    return BasicUiWidget_FreeRecord(env, w);
}

void BasicUiWidgetTypeCmdControl_Set(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdControl>(w, EBasicUiWidgetTypeCmdControl);
    if (!c) return;
    if (c->srcW != c->cSrcW || c->srcP != c->cSrcP || c->dstW != c->cDstW || c->dstP != c->cDstP) {
        c->cSrcW = c->srcW;
        c->cSrcP = c->srcP;
        c->cDstW = c->dstW;
        c->cDstP = c->dstP;
        c->valid = BasicUiWidget_FindProperty(c->srcW, c->srcP, &c->src) &&
                   BasicUiWidget_FindProperty(c->dstW, c->dstP, &c->dst) && c->src.propType == c->dst.propType &&
                   c->src.propPtr && c->dst.propPtr;
        if (!c->valid) BasicUiWidget_ReportMissing(w, &c->reported, "the properties", c->srcP);
    }
    if (!c->valid) return;
    void* d = c->dst.propPtr;
    const void* s = c->src.propPtr;
    switch (c->src.propType) {
    case eBasicUiPropertyTypeBOOL: std::memcpy(d, s, sizeof(sBasicUiValueBOOL)); break;
    case eBasicUiPropertyTypeBYTE: std::memcpy(d, s, sizeof(sBasicUiValueBYTE)); break;
    case eBasicUiPropertyTypeINT: std::memcpy(d, s, sizeof(sBasicUiValueINT)); break;
    case eBasicUiPropertyTypeVEC3: std::memcpy(d, s, 3 * sizeof(float)); break;
    case eBasicUiPropertyTypeQUAT: std::memcpy(d, s, 4 * sizeof(float)); break;
    case eBasicUiPropertyTypeFLT: {
        float v = *static_cast<const float*>(s);
        // Mapped: the destination clip plays over [tMin, tMax], and the value is mapped onto it.
        if (c->tMap.value) BasicUiWidgetTypeClip_SetRange(c->dstW, c->tMin, c->tMax);
        *static_cast<float*>(d) = c->tMap.value ? c->tMin * (1.0f - v) + c->tMax * v : v;
        break;
    }
    default: break;
    }
    // The destination keeps its own range: a number copied from one without a range (a message
    // box's position into a button's) could be beyond what the destination computes with.
    BasicUi_KeepNumberInRange(c->dstW, &c->dst);
}

// ---- cmdFn ----

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdFn_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdFn* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdFn, &c);
    if (c) c->value = BasicUiValueINT_Make(0);
    return ref;
}

int BasicUiWidgetTypeCmdFn_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdFn>(w, EBasicUiWidgetTypeCmdFn);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "fn", eBasicUiPropertyTypeSTR, &c->fn, 1, 0);
    BasicUiPropertyTracker_Add(t, "value", eBasicUiPropertyTypeINT, &c->value, 1, 1);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdFn)

int BasicUiWidgetTypeCmdFn_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdFn>(w, EBasicUiWidgetTypeCmdFn);
    if (!c) return 0;
    BasicUiWidget_FreeString(env, &c->fn);
    return BasicUiWidget_FreeRecord(env, w);
}

int BasicUiWidgetTypeCmdFn_Call(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdFn>(w, EBasicUiWidgetTypeCmdFn);
    if (!c) return 0;
    if (c->fn != c->cachedName || !c->cachedFn) {
        c->cachedFn = BasicFn_Find(c->fn);
        c->cachedName = c->cachedFn ? c->fn : nullptr;
        if (!c->cachedFn) {
            BasicUiWidget_ReportMissing(w, &c->reported, "the function", c->fn);
            return 0;
        }
    }
    return c->cachedFn(w, c->value.value);
}
