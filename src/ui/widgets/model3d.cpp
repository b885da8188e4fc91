// The 3D model widget, which picks up a resident model resource and draws it at its parent
// transform (at once, or queued and drawn farthest first with the lights it was queued under),
// and the quad and 3D clip widgets, which hold properties only.
#include "ui/widgets/model3d.h"

#include <string>

#include "lib/resourceids.h"
#include "lib/resources.h"
#include "platform/camera.h"
#include "platform/model.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/shaders.h"
#include "ui/widgets/scene3d.h"
#include "ui/widgets/transform3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetType3DModel* ModelRecord(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DModel>(w, EBasicUiWidgetType3DModel);
}

sBasicUiWidgetTypeRef BasicUiWidgetType3DModel_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetType3DModel* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetType3DModel, &r);
    if (!r) return ref;
    r->modelID = BasicUiValueINT_Make(-1);
    r->internalModelID = -2;
    r->depthSort = BasicUiValueBOOL_Make(1);
    r->depthIndex = ~0u;
    return ref;
}

int BasicUiWidgetType3DModel_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetType3DModel* r = ModelRecord(w);
    if (!r || !t) return 0;
    BasicUiPropertyTracker_Add(t, "modelID", eBasicUiPropertyTypeINT, &r->modelID, 1, 1);
    BasicUiPropertyTracker_Add(t, "depthSort", eBasicUiPropertyTypeBOOL, &r->depthSort, 1, 1);
    BasicUiPropertyTracker_Add(t, "depthBias", eBasicUiPropertyTypeFLT, &r->depthBias, 1, 0);
    BasicUiPropertyTracker_Add(t, "mid.x", eBasicUiPropertyTypeFLT, &r->mid[0], 1, 0);
    BasicUiPropertyTracker_Add(t, "mid.y", eBasicUiPropertyTypeFLT, &r->mid[1], 1, 0);
    BasicUiPropertyTracker_Add(t, "mid.z", eBasicUiPropertyTypeFLT, &r->mid[2], 1, 0);
    return 1;
}

int BasicUiWidgetType3DModel_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetType3DModel_Update(sBasicUiWidget*, float) { return 1; }

int BasicUiWidgetType3DModel_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!ModelRecord(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

static void Queue(sBasicUiWidget* w, sBasicUiWidgetType3DModel* r)
{
    BasicUiWidgetType3DLight_Save(&r->lights);
    BasicUiWidgetType3DInit_PushOrderedItem(w, r->mid, r->depthBias, &r->depthIndex);
}

// The model picked up is still the resident resource: one disposed of (and perhaps read again
// elsewhere in memory) since is picked up again, so that no pass draws a freed model.
static int ModelStillResident(const sBasicUiWidgetType3DModel* r)
{
    void* handle = nullptr;
    return ResourceLoaded(r->internalModelID) && GetResourceHandle(r->internalModelID, &handle) &&
           handle == r->model;
}

int BasicUiWidgetType3DModel_Render(sBasicUiWidget* w)
{
    sBasicUiWidgetType3DModel* r = ModelRecord(w);
    if (!r || !RenderIsDisplay0()) return 1;
    int drawNow = BasicUiWidgetType3DInit_IsRenderingOrderedItems();
    if (r->modelID.value == r->internalModelID && r->model && !ModelStillResident(r)) {
        r->internalModelID = -2;
        r->model = nullptr;
    }
    if (r->modelID.value == r->internalModelID) {
        if (r->depthSort.value && !drawNow) {
            Queue(w, r);
            return 1;
        }
        RenderSetColorModulation(127, 127, 127);
        RenderSetAlphaLevel(255);
        // Only a model drawn from the queue has lights of its own, saved when it queued; in a
        // scene of sort mode 0 nothing queues, and the scene's current lights serve.
        if (BasicUiWidgetType3DInit_IsDrawingQueue()) RenderSetLights(&r->lights);
        matrix m;
        composeMatrix(shaderViewXform, BasicUiWidgetType3DPRS_GetParentGlobalTransform(w), m);
        SetXform(m);
        if (r->model) DrawModel(r->model);
        return 1;
    }
    // A new id: pick the model up if it is resident; it draws from the next pass.
    int id = r->modelID.value;
    void* handle = nullptr;
    if (ResourceLoaded(id) && ResourceType(id) == kResourceTypeModel && GetResourceHandle(id, &handle)) {
        r->internalModelID = id;
        r->model = static_cast<DS3_model_tag*>(handle);
    } else {
        r->internalModelID = -2;
        r->model = nullptr;
        BasicUiWidget_ReportMissing(w, &r->reported, "model", std::to_string(id).c_str());
    }
    if (r->depthSort.value && !drawNow) Queue(w, r);
    return 1;
}

// ---- Quad and 3D clip: properties only ----

static sBasicUiWidgetType3DQuad* QuadRecord(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DQuad>(w, EBasicUiWidgetType3DQuad);
}

sBasicUiWidgetTypeRef BasicUiWidgetType3DQuad_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetType3DQuad* r = nullptr;
    return BasicUiWidget_CreateRecord(env, EBasicUiWidgetType3DQuad, &r);
}

int BasicUiWidgetType3DQuad_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    static const char* const kNames[4][3] = {{"x0.x", "x0.y", "x0.z"},
                                             {"x1.x", "x1.y", "x1.z"},
                                             {"x2.x", "x2.y", "x2.z"},
                                             {"x3.x", "x3.y", "x3.z"}};
    sBasicUiWidgetType3DQuad* r = QuadRecord(w);
    if (!r || !t) return 0;
    float* corners[4] = {r->x0, r->x1, r->x2, r->x3};
    for (int i = 0; i < 4; i++)
        for (int c = 0; c < 3; c++)
            BasicUiPropertyTracker_Add(t, kNames[i][c], eBasicUiPropertyTypeFLT, &corners[i][c], 1, 0);
    return 1;
}

int BasicUiWidgetType3DQuad_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetType3DQuad_Update(sBasicUiWidget*, float) { return 1; }
int BasicUiWidgetType3DQuad_Render(sBasicUiWidget*) { return 1; }

int BasicUiWidgetType3DQuad_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!QuadRecord(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

static sBasicUiWidgetType3DClip* ClipRecord(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DClip>(w, EBasicUiWidgetType3DClip);
}

sBasicUiWidgetTypeRef BasicUiWidgetType3DClip_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetType3DClip* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetType3DClip, &r);
    if (!r) return ref;
    r->animSetID = BasicUiValueINT_Make(-1);
    r->tmax[0] = r->tmax[1] = 1.0f;
    r->isPlaying = r->isLoop = r->isFlipFlop = r->isPersist = BasicUiValueBOOL_Make(0);
    r->isAdditive = BasicUiValueBOOL_Make(1);
    return ref;
}

int BasicUiWidgetType3DClip_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetType3DClip* r = ClipRecord(w);
    if (!r || !t) return 0;
    BasicUiPropertyTracker_Add(t, "model", eBasicUiPropertyTypeWidgetREF, &r->model, 1, 0);
    return 1;
}

int BasicUiWidgetType3DClip_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetType3DClip_Update(sBasicUiWidget*, float) { return 1; }
int BasicUiWidgetType3DClip_Render(sBasicUiWidget*) { return 1; }

int BasicUiWidgetType3DClip_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!ClipRecord(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}
