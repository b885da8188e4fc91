// The 3D scene bracket. The opening widget sets the camera, depth and culling and resets the
// lights; models and texts of the scene may queue themselves instead of drawing, and the closing
// widget sorts the queue farthest first, draws it and returns the renderer to 2D. Each pass's
// queue holds what that pass queued, no more: an item takes the slot it was sorted into last pass
// when it is free, so the array reaches each sort almost sorted, and the array grows when a pass
// queues more than it holds.
#include "ui/widgets/scene3d.h"

#include <cmath>
#include <cstdlib>

#include "lib/memory.h"
#include "platform/gpucommands.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/shaders.h"
#include "ui/widgets/transform3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static int orderedRendering = 0;
static int drawingQueue = 0;
static sBasicUiWidget* instance = nullptr;
static float cx = 0, cy = 0, cz = 0;

static sBasicUiWidgetType3DInit* InitRecord(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DInit>(w, EBasicUiWidgetType3DInit);
}

sBasicUiWidgetTypeRef BasicUiWidgetType3DInit_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetType3DInit* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetType3DInit, &r);
    if (!r) return ref;
    r->clearZ = BasicUiValueBOOL_Make(1);
    r->renderZ = BasicUiValueBOOL_Make(1);
    r->bfc = BasicUiValueBOOL_Make(1);
    r->orderingMode = BasicUiValueINT_Make(1);
    return ref;
}

int BasicUiWidgetType3DInit_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetType3DInit* r = InitRecord(w);
    if (!r || !t) return 0;
    BasicUiPropertyTracker_Add(t, "camera", eBasicUiPropertyTypeWidgetREF, &r->camera, 1, 0);
    BasicUiPropertyTracker_Add(t, "clearZ", eBasicUiPropertyTypeBOOL, &r->clearZ, 1, 1);
    BasicUiPropertyTracker_Add(t, "renderZ", eBasicUiPropertyTypeBOOL, &r->renderZ, 1, 1);
    BasicUiPropertyTracker_Add(t, "bfc", eBasicUiPropertyTypeBOOL, &r->bfc, 1, 1);
    BasicUiPropertyTracker_Add(t, "sortMode", eBasicUiPropertyTypeINT, &r->orderingMode, 1, 1);
    return 1;
}

int BasicUiWidgetType3DInit_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetType3DInit_Update(sBasicUiWidget*, float) { return 1; }

int BasicUiWidgetType3DInit_Render(sBasicUiWidget* w)
{
    sBasicUiWidgetType3DInit* r = InitRecord(w);
    sBasicUiWidget* camera = r ? r->camera : nullptr;
    BasicUiWidgetType3DCamera_SetCamera(camera);
    // The 2D quads queued so far (a backdrop, say) are drawn now, before depth testing starts:
    // drawn later they would write depth over the scene and hide it.
    RenderEndScreenPolys();
    if (RenderEnableZBuffer()) {
        RenderSetColorModulation(127, 127, 127);
        ClearTextureCoordinateOffset();
        BasicUiWidgetType3DLight_Init();
    }
    if (!r || r->renderZ.value) RenderEnableZWrite();
    else RenderDisableZWrite();
    if (!r || r->bfc.value) RenderEnableBackfaceCulling();
    else RenderDisableBackfaceCulling();
    if (!RenderIsDisplay0() || !r) return 1;
    // The queue starts empty in every pass: what stopped queueing is not drawn again.
    for (unsigned i = 0; i < r->orderedItems; i++) r->orderedItem[i] = sBasicUiOrderedItem{0.0f, nullptr, nullptr};
    instance = w;
    orderedRendering = r->orderingMode.value == 0;
    cx = cy = cz = 0.0f;
    if (camera) {
        const float(*m)[4] = BasicUiWidgetType3DPRS_GetParentGlobalTransform(camera);
        cx = m[3][0];
        cy = m[3][1];
        cz = m[3][2];
    }
    return 1;
}

static void ReleaseItems(sBasicUiWidgetType3DInit* r)
{
    if (r->orderedItem) FreeManagedMemory(r->orderedItem, 0);
    r->orderedItem = nullptr;
    r->orderedItems = 0;
}

int BasicUiWidgetType3DInit_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    sBasicUiWidgetType3DInit* r = InitRecord(w);
    if (!r) return 0;
    ReleaseItems(r);
    if (instance == w) instance = nullptr;
    return BasicUiWidget_FreeRecord(env, w);
}

// The first free entry, the array grown by one when none is; the array's size when that fails.
static unsigned FreeSlot(sBasicUiWidgetType3DInit* r)
{
    for (unsigned i = 0; i < r->orderedItems; i++)
        if (!r->orderedItem[i].widget) return i;
    sBasicUiOrderedItem* items = nullptr;
    if (!AllocateMemoryFor(&items, int((r->orderedItems + 1) * sizeof(sBasicUiOrderedItem)))) return r->orderedItems;
    for (unsigned i = 0; i < r->orderedItems; i++) items[i] = r->orderedItem[i];
    items[r->orderedItems] = sBasicUiOrderedItem{0.0f, nullptr, nullptr};
    if (r->orderedItem) FreeManagedMemory(r->orderedItem, 0);
    r->orderedItem = items;
    return r->orderedItems++;
}

// The array's size is not fixed once it is in use, nor are its entries kept from pass to pass (an
// item that stops queueing would be drawn for ever and one that starts later never), and items
// are drawn from the first pass that queues them.
void BasicUiWidgetType3DInit_PushOrderedItem(sBasicUiWidget* w, const float point[3], float bias,
                                             unsigned* index)
{
    sBasicUiWidgetType3DInit* r = InitRecord(instance);
    // A scene of sort mode 0 draws everything at once and never draws a queue.
    if (!w || !r || !point || !index || !r->orderingMode.value) return;
    unsigned slot = *index;
    if (slot >= r->orderedItems || r->orderedItem[slot].widget) slot = FreeSlot(r);
    if (slot >= r->orderedItems) return;
    const float(*m)[4] = BasicUiWidgetType3DPRS_GetParentGlobalTransform(w);
    float d[3];
    for (int c = 0; c < 3; c++) d[c] = point[0] * m[0][c] + point[1] * m[1][c] + point[2] * m[2][c] + m[3][c];
    d[0] -= cx;
    d[1] -= cy;
    d[2] -= cz;
    sBasicUiOrderedItem& item = r->orderedItem[slot];
    item.depth = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]) + bias;
    item.widget = w;
    item.index = index;
}

int BasicUiWidgetType3DInit_IsRenderingOrderedItems() { return orderedRendering; }
int BasicUiWidgetType3DInit_IsDrawingQueue() { return drawingQueue; }

int CompareDepth(const void* a, const void* b)
{
    float d = static_cast<const sBasicUiOrderedItem*>(a)->depth - static_cast<const sBasicUiOrderedItem*>(b)->depth;
    if (d > 0) return -1;
    return d == 0 ? 0 : 1;
}

// Forward and backward passes over adjacent pairs until one swaps nothing; equal items keep
// their order, and a nearly sorted array is done in about one pass.
static void CocktailSort(sBasicUiOrderedItem* items, unsigned n)
{
    if (n < 2) return;
    for (;;) {
        int swapped = 0;
        for (unsigned i = 0; i + 1 < n; i++) {
            if (CompareDepth(&items[i], &items[i + 1]) > 0) {
                sBasicUiOrderedItem t = items[i];
                items[i] = items[i + 1];
                items[i + 1] = t;
                swapped = 1;
            }
        }
        if (!swapped) return;
        swapped = 0;
        for (unsigned i = n - 1; i-- > 0;) {
            if (CompareDepth(&items[i], &items[i + 1]) > 0) {
                sBasicUiOrderedItem t = items[i];
                items[i] = items[i + 1];
                items[i + 1] = t;
                swapped = 1;
            }
        }
        if (!swapped) return;
    }
}

void BasicUiWidgetType3DInit_Fini()
{
    sBasicUiWidgetType3DInit* r = InitRecord(instance);
    if (!RenderIsDisplay0() || !r || !r->orderingMode.value) return;
    // This pass's entries to the front, in slot order: a slot left free by an item that stopped
    // queueing leaves no gap.
    unsigned n = 0;
    for (unsigned i = 0; i < r->orderedItems; i++)
        if (r->orderedItem[i].widget) r->orderedItem[n++] = r->orderedItem[i];
    for (unsigned i = n; i < r->orderedItems; i++) r->orderedItem[i] = sBasicUiOrderedItem{0.0f, nullptr, nullptr};
    if (r->orderingMode.value == 1 && n > 1)
        std::qsort(r->orderedItem, n, sizeof(sBasicUiOrderedItem), CompareDepth);
    else if (r->orderingMode.value == 2)
        CocktailSort(r->orderedItem, n);
    orderedRendering = 1;
    drawingQueue = 1;
    for (unsigned i = 0; i < n; i++) {
        sBasicUiOrderedItem& item = r->orderedItem[i];
        BasicUiWidgetType_Render(item.widget);
        *item.index = i;
    }
    drawingQueue = 0;
    orderedRendering = 0;
}

// Back to 2D drawing, which also closes the open scene: an item queued after this (a model whose
// scene's opening widget is not drawn in this pass) is ignored, not piled onto a queue that no
// pass empties.
void BasicUiWidgetType3DInit_setup2d()
{
    instance = nullptr;
    if (RenderDisableZBuffer()) RenderEnableOverlays();
}

static sBasicUiWidgetType3DFini* FiniRecord(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DFini>(w, EBasicUiWidgetType3DFini);
}

sBasicUiWidgetTypeRef BasicUiWidgetType3DFini_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetType3DFini* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetType3DFini, &r);
    if (r) r->clearZ = BasicUiValueBOOL_Make(0);
    return ref;
}

int BasicUiWidgetType3DFini_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetType3DFini* r = FiniRecord(w);
    if (!r || !t) return 0;
    BasicUiPropertyTracker_Add(t, "clearZ", eBasicUiPropertyTypeBOOL, &r->clearZ, 1, 1);
    return 1;
}

int BasicUiWidgetType3DFini_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetType3DFini_Update(sBasicUiWidget*, float) { return 1; }

int BasicUiWidgetType3DFini_Render(sBasicUiWidget* w)
{
    if (!FiniRecord(w)) return 0;
    BasicUiWidgetType3DInit_Fini();
    BasicUiWidgetType3DInit_setup2d();
    return 1;
}

int BasicUiWidgetType3DFini_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!FiniRecord(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}
