// The image widget: a piece of a bitmap resource, unscaled or stretched and optionally rotated,
// or a faint grey frame in its place while the bitmap is not loaded.
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "platform/quads.h"
#include "ui/widgets/clip.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetTypeImage* Record(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeImage>(w, EBasicUiWidgetTypeImage);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeImage_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeImage* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeImage, &r);
    if (!r) return ref;
    r->x = r->y = r->w = r->h = r->srcX = r->srcY = r->srcW = r->srcH = r->blend = BasicUiValueINT_Make(0);
    r->isScalable = r->hasRotation = r->hasDepth = BasicUiValueBOOL_Make(0);
    r->alpha = BasicUiValueBYTE_Make(255);
    r->mr = r->mg = r->mb = BasicUiValueBYTE_Make(127);
    r->resourceID = BasicUiValueINT_Make(-1);
    return ref;
}

int BasicUiWidgetTypeImage_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetTypeImage* r = Record(w);
    if (!r || !t) return 0;
    auto integer = [t](const char* n, sBasicUiValueINT* v) { BasicUiPropertyTracker_Add(t, n, eBasicUiPropertyTypeINT, v, 1, 1); };
    auto byte = [t](const char* n, sBasicUiValueBYTE* v) { BasicUiPropertyTracker_Add(t, n, eBasicUiPropertyTypeBYTE, v, 1, 1); };
    auto flag = [t](const char* n, sBasicUiValueBOOL* v) { BasicUiPropertyTracker_Add(t, n, eBasicUiPropertyTypeBOOL, v, 1, 1); };
    integer("x", &r->x);
    integer("y", &r->y);
    integer("w", &r->w);
    integer("h", &r->h);
    integer("src.x", &r->srcX);
    integer("src.y", &r->srcY);
    integer("src.w", &r->srcW);
    integer("src.h", &r->srcH);
    byte("alpha", &r->alpha);
    byte("mr", &r->mr);
    byte("mg", &r->mg);
    byte("mb", &r->mb);
    integer("blend", &r->blend);
    flag("isScalable", &r->isScalable);
    integer("imageID", &r->resourceID);
    flag("hasRotation", &r->hasRotation);
    BasicUiPropertyTracker_Add(t, "rotation", eBasicUiPropertyTypeFLT, r->r, 1, 1);
    flag("hasDepth", &r->hasDepth);
    BasicUiPropertyTracker_Add(t, "depth", eBasicUiPropertyTypeFLT, r->z, 1, 1);
    return 1;
}

int BasicUiWidgetTypeImage_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeImage_Update(sBasicUiWidget*, float) { return 1; }

int BasicUiWidgetTypeImage_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!Record(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

int BasicUiWidgetTypeImage_Render(sBasicUiWidget* w)
{
    if (!Record(w)) return 0;
    const sBasicUiWidgetTypeImage r = *Record(w);
    int id = r.resourceID.value;
    void* bitmap = nullptr;
    if (ResourceLoaded(id) && ResourceType(id) == kResourceTypeBitmap && GetResourceHandle(id, &bitmap) && bitmap) {
        auto* b = static_cast<DS3_bitmap_tag*>(bitmap);
        RenderSetAlphaLevel(r.alpha.value);
        RenderSetPenColor(0, 0, 0);
        RenderSetColorModulation(r.mr.value, r.mg.value, r.mb.value);
        if (!r.isScalable.value) {
            if (r.hasRotation.value)
                DrawScreenPolyRot(b, r.srcX.value, r.srcY.value, r.x.value, r.y.value, r.w.value, r.h.value, r.r[0]);
            else
                DrawScreenPoly(b, r.srcX.value, r.srcY.value, r.x.value, r.y.value, r.w.value, r.h.value);
        } else {
            ScreenPolyData poly = {b,         r.srcX.value, r.srcY.value, r.srcW.value, r.srcH.value,
                                   r.x.value, r.y.value,    r.w.value,    r.h.value,    0};
            if (r.hasRotation.value) DrawScreenPolyRotEx(&poly, r.r[0]);
            else DrawScreenPolyEx(&poly);
        }
        return 1;
    }
    // Not loaded (or not a bitmap): a faint frame where it will be.
    RenderSetAlphaLevel(64);
    RenderSetColorModulation(127, 127, 127);
    RenderSetPenColor(128, 128, 128);
    RenderFrameRect(r.x.value, r.y.value, r.w.value, r.h.value);
    return 1;
}
