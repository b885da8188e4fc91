// The 3D scene bracket: the widget that opens a scene (camera, depth, culling, lights) and the one
// that closes it, with the queue that draws models and texts of the scene farthest first. Also the
// camera and light widgets that the scene sets up.
#pragma once

#include "platform/lighting.h"
#include "ui/environment.h"

struct sBasicUiOrderedItem {
    float depth;             // distance from the camera plus the item's bias: the sort key
    sBasicUiWidget* widget;  // the queued widget
    unsigned* index;         // the widget's own slot number in the array
};

struct sBasicUiWidgetType3DInit {
    sBasicUiWidget* camera;  // null: the default camera
    sBasicUiValueBOOL clearZ;
    sBasicUiValueBOOL renderZ;
    sBasicUiValueBOOL bfc;
    sBasicUiValueINT orderingMode;  // 0 draw at once, 1 quicksort, 2 cocktail shaker sort
    unsigned orderedItems;          // entries of the array (the most queued in one pass)
    sBasicUiOrderedItem* orderedItem;  // this pass's queue; an entry without a widget is free
};

struct sBasicUiWidgetType3DFini {
    sBasicUiValueBOOL clearZ;
};

struct sBasicUiWidgetType3DCamera {
    float aspect, nearZ, farZ, fov;
    sBasicUiValueBOOL letterBoxed;
    float parallaxScale;
};

struct sBasicUiWidgetType3DLight {
    sBasicUiValueINT index;  // 0 ambient, 1..3 directional, 4 specular; others set nothing
    float r, g, b, a;
    float dir[3];
};

sBasicUiWidgetTypeRef BasicUiWidgetType3DInit_Create(sBasicUiEnvironment* env);
int BasicUiWidgetType3DInit_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetType3DInit_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetType3DInit_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetType3DInit_Render(sBasicUiWidget* w);
int BasicUiWidgetType3DInit_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

sBasicUiWidgetTypeRef BasicUiWidgetType3DFini_Create(sBasicUiEnvironment* env);
int BasicUiWidgetType3DFini_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetType3DFini_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetType3DFini_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetType3DFini_Render(sBasicUiWidget* w);
int BasicUiWidgetType3DFini_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// Queues a widget at point (in its parent's space) plus bias for this pass; *index is the slot it
// had after the last pass's sort, taken again when it is free.
void BasicUiWidgetType3DInit_PushOrderedItem(sBasicUiWidget* w, const float point[3], float bias,
                                             unsigned* index);
// Non-zero while queued widgets are to draw rather than queue.
int BasicUiWidgetType3DInit_IsRenderingOrderedItems();
// Non-zero while the scene end draws its queue (each item with what it saved when queued), rather
// than a scene of sort mode 0 drawing everything at once.
int BasicUiWidgetType3DInit_IsDrawingQueue();
// Sorts and draws the queue of the scene being drawn.
void BasicUiWidgetType3DInit_Fini();
// Back to 2D drawing: depth off and, when that took, the overlay set-up.
void BasicUiWidgetType3DInit_setup2d();
// Farthest first: -1 when a is deeper, 1 when nearer, 0 when equal.
int CompareDepth(const void* a, const void* b);

sBasicUiWidgetTypeRef BasicUiWidgetType3DCamera_Create(sBasicUiEnvironment* env);
int BasicUiWidgetType3DCamera_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetType3DCamera_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetType3DCamera_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetType3DCamera_Render(sBasicUiWidget* w);
int BasicUiWidgetType3DCamera_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);
// Loads the platform camera from a camera widget, or the default camera. Returns 1.
int BasicUiWidgetType3DCamera_SetCamera(sBasicUiWidget* w);

sBasicUiWidgetTypeRef BasicUiWidgetType3DLight_Create(sBasicUiEnvironment* env);
int BasicUiWidgetType3DLight_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetType3DLight_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetType3DLight_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetType3DLight_Render(sBasicUiWidget* w);
int BasicUiWidgetType3DLight_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);
// The default scene lights, handed to the renderer. Returns 1.
int BasicUiWidgetType3DLight_Init();
void BasicUiWidgetType3DLight_Save(DS3_lights* out);
// Specular colour (0..1, stored as 0..255) and shininess, handed to the renderer.
void BasicUiWidgetType3DLight_SetShineFactor(float r, float g, float b, float shininess);
