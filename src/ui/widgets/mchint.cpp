// The hint widget type: an animated image sequence (a resource group) that fades in after a delay
// while its region is -1, its frames advancing with the time shown, and a sound as it comes into
// view each time.
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "platform/quads.h"
#include "ui/frameupdate.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/msgbox.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetTypeMcHint* Hint(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeMcHint>(w, EBasicUiWidgetTypeMcHint);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeMcHint_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeMcHint* h = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeMcHint, &h);
    if (!h) return ref;
    h->fadeInTime = 1.0f;
    h->fadeInTimePress = 3.0f;
    h->edge = 1;
    h->pushID = BasicUiValueINT_Make(-1);
    h->pushLoop = BasicUiValueINT_Make(1);
    BasicUiDbRef_Init(&h->audioDbRef);
    return ref;
}

int BasicUiWidgetTypeMcHint_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* h = Hint(w);
    if (!h || !t) return 0;
    const eBasicUiPropertyType I = eBasicUiPropertyTypeINT, F = eBasicUiPropertyTypeFLT;
    BasicUiPropertyTracker_Add(t, "iGroup", I, &h->iGroup, 1, 1);
    BasicUiPropertyTracker_Add(t, "region", I, &h->region, 1, 1);
    BasicUiPropertyTracker_Add(t, "x", I, &h->x, 1, 1);
    BasicUiPropertyTracker_Add(t, "y", I, &h->y, 1, 1);
    BasicUiPropertyTracker_Add(t, "w", I, &h->w, 1, 1);
    BasicUiPropertyTracker_Add(t, "h", I, &h->h, 1, 1);
    BasicUiPropertyTracker_Add(t, "fw", I, &h->fw, 1, 1);
    BasicUiPropertyTracker_Add(t, "fh", I, &h->fh, 1, 1);
    BasicUiPropertyTracker_Add(t, "fadeInTime", F, &h->fadeInTime, 1, 0);
    BasicUiPropertyTracker_Add(t, "fadeInTimePress", F, &h->fadeInTimePress, 1, 0);
    BasicUiPropertyTracker_Add(t, "appearDelay", F, &h->appearDelay, 1, 0);
    BasicUiPropertyTracker_Add(t, "pushID", I, &h->pushID, 1, 1);
    BasicUiPropertyTracker_Add(t, "pushLoop", I, &h->pushLoop, 1, 1);
    BasicUiDbRef_AddProperties(&h->audioDbRef, {"dbNm", "dbTblNm", "row", "column"}, t);
    return 1;
}

int BasicUiWidgetTypeMcHint_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }

int BasicUiWidgetTypeMcHint_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* h = Hint(w);
    if (!h) return 0;
    BasicUiDbRef_Fini(&h->audioDbRef, env);
    return BasicUiWidget_FreeRecord(env, w);
}

int BasicUiWidgetTypeMcHint_Update(sBasicUiWidget* w, float dt)
{
    auto* h = Hint(w);
    if (!h) return 0;
    if (h->region.value != -1)
        h->fadeInCounter = 0.0f;
    else if (h->fadeInCounter <= h->fadeInTimePress)
        h->fadeInCounter += dt;
    return 1;
}

static float Clamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

int BasicUiWidgetTypeMcHint_Render(sBasicUiWidget* w)
{
    auto* h = Hint(w);
    if (!h) return 0;
    const int group = h->iGroup.value;
    if (h->region.value != -1 || !ResourceLoaded(group) || ResourceType(group) != kResourceTypeGroup ||
        h->fadeInCounter < h->appearDelay) {
        h->edge = 1;
        return 1;
    }
    const int n = NumResourcesInGroup(group);
    if (n <= 0) return 1;
    const float t = h->fadeInCounter - h->appearDelay;
    const float fade = h->fadeInTime - h->appearDelay, press = h->fadeInTimePress - h->appearDelay;
    // A fade or frame span of zero shows the hint at once, whole.
    float a = fade > 0.0f ? t / fade * 255.0f : 255.0f;
    float p = press > 0.0f ? t / press : 1.0f;
    if (h->edge) {
        if (sBasicDbTable* table = BasicUiDbRef_Update(&h->audioDbRef, BasicUiWidget_GetEnvironment(w))) {
            h->edge = 0;
            BasicUiWidgetTypeCmdSound_PlayResource(table, h->audioDbRef.row.value, h->audioDbRef.column.value,
                                                   h->pushID.value, h->pushLoop.value);
        }
    }
    p = Clamp(p, 0.0f, 1.0f);
    a = Clamp(a, 0.0f, 255.0f);
    const int frame = int(p * float(n - 1));
    RenderSetAlphaLevel(int(a));
    void* bitmap = nullptr;
    const int id = (group << 16) + frame;
    if (BasicUi_ImageExists(id) && GetResourceHandle(id, &bitmap) && bitmap)
        DrawScreenPoly(bitmap, 0, 0, h->x.value, h->y.value, h->w.value, h->h.value);
    return 1;
}
