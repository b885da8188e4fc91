// The 3D light widget and the UI scene's light set: each scene starts from default lights, and
// each light widget rendered after overwrites one light of the set, turned by its parent
// transform, so lights act on the widgets drawn after them.
#include <cstring>

#include "ui/widgets/scene3d.h"
#include "ui/widgets/transform3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static DS3_lights basicUiLights;

static sBasicUiWidgetType3DLight* Record(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DLight>(w, EBasicUiWidgetType3DLight);
}

sBasicUiWidgetTypeRef BasicUiWidgetType3DLight_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetType3DLight* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetType3DLight, &r);
    if (!r) return ref;
    r->index = BasicUiValueINT_Make(-1);
    r->dir[1] = 1.0f;
    return ref;
}

int BasicUiWidgetType3DLight_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetType3DLight* r = Record(w);
    if (!r || !t) return 0;
    BasicUiPropertyTracker_Add(t, "index", eBasicUiPropertyTypeINT, &r->index, 1, 1);
    BasicUiPropertyTracker_Add(t, "r", eBasicUiPropertyTypeFLT, &r->r, 1, 0);
    BasicUiPropertyTracker_Add(t, "g", eBasicUiPropertyTypeFLT, &r->g, 1, 0);
    BasicUiPropertyTracker_Add(t, "b", eBasicUiPropertyTypeFLT, &r->b, 1, 0);
    BasicUiPropertyTracker_Add(t, "a", eBasicUiPropertyTypeFLT, &r->a, 1, 0);
    BasicUiPropertyTracker_Add(t, "dir.x", eBasicUiPropertyTypeFLT, &r->dir[0], 1, 0);
    BasicUiPropertyTracker_Add(t, "dir.y", eBasicUiPropertyTypeFLT, &r->dir[1], 1, 0);
    BasicUiPropertyTracker_Add(t, "dir.z", eBasicUiPropertyTypeFLT, &r->dir[2], 1, 0);
    return 1;
}

int BasicUiWidgetType3DLight_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetType3DLight_Update(sBasicUiWidget*, float) { return 1; }

int BasicUiWidgetType3DLight_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!Record(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

int BasicUiWidgetType3DLight_Init()
{
    DS3_lights& l = basicUiLights;
    float shininess = l.specular_shininess;  // kept from whoever set it last
    std::memset(&l, 0, sizeof l);
    l.ambient_red = l.ambient_green = l.ambient_blue = l.ambient_alpha = 1.0f;
    l.light1_red = l.light1_green = l.light1_blue = l.light1_alpha = 1.0f;
    l.light1_y = l.light2_y = l.light3_y = 1.0f;
    l.light1_w = l.light2_w = l.light3_w = 1.0f;
    l.specular_shininess = shininess;
    RenderSetLights(&basicUiLights);
    return 1;
}

int BasicUiWidgetType3DLight_Render(sBasicUiWidget* w)
{
    sBasicUiWidgetType3DLight* r = Record(w);
    if (!r) return 0;
    DS3_lights& l = basicUiLights;
    float d[3] = {r->dir[0], r->dir[1], r->dir[2]};
    const float(*m)[4] = BasicUiWidgetType3DPRS_GetParentGlobalTransform(w);
    unsigned index = unsigned(r->index.value);
    if (index == 0) {
        l.ambient_red = r->r;
        l.ambient_green = r->g;
        l.ambient_blue = r->b;
        l.ambient_alpha = r->a;
    } else if (index >= 1 && index <= 3) {
        // The three directional lights lie as colour blocks and direction blocks in the record.
        float* colour = &l.light1_red + 4 * (index - 1);
        float* dir = &l.light1_x + 4 * (index - 1);
        colour[0] = r->r;
        colour[1] = r->g;
        colour[2] = r->b;
        colour[3] = r->a;
        normalizeVector(d);
        composeNormal(d, m);
        dir[0] = d[0];
        dir[1] = d[1];
        dir[2] = d[2];
        dir[3] = 0.0f;
    } else if (index == 4) {
        l.specular_red = r->r * 255.0f;
        l.specular_green = r->g * 255.0f;
        l.specular_blue = r->b * 255.0f;
        l.specular_shininess = r->a;
        composePosition(d, m);
        l.specular_x = d[0];
        l.specular_y = d[1];
        l.specular_z = d[2];
        l.specular_w = 1.0f;
    }
    RenderSetLights(&basicUiLights);
    return 1;
}

void BasicUiWidgetType3DLight_Save(DS3_lights* out)
{
    if (out) std::memcpy(out, &basicUiLights, sizeof basicUiLights);
}

void BasicUiWidgetType3DLight_SetShineFactor(float r, float g, float b, float shininess)
{
    basicUiLights.specular_red = r * 255.0f;
    basicUiLights.specular_green = g * 255.0f;
    basicUiLights.specular_blue = b * 255.0f;
    basicUiLights.specular_shininess = shininess;
    RenderSetLights(&basicUiLights);
}
