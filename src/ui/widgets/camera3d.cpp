// The 3D camera widget: the view of a UI scene, placed and turned by its parent transform and
// loaded into the platform camera when the scene opens. It neither draws nor updates.
#include <cmath>

#include "platform/camera.h"
#include "platform/shaders.h"
#include "ui/widgets/scene3d.h"
#include "ui/widgets/transform3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetType3DCamera* Record(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DCamera>(w, EBasicUiWidgetType3DCamera);
}

sBasicUiWidgetTypeRef BasicUiWidgetType3DCamera_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetType3DCamera* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetType3DCamera, &r);
    if (!r) return ref;
    r->aspect = 1.0f;
    r->nearZ = 1.0f;
    r->farZ = 1000.0f;
    r->fov = 60.0f;
    r->letterBoxed = BasicUiValueBOOL_Make(1);
    r->parallaxScale = 0.15f;
    return ref;
}

int BasicUiWidgetType3DCamera_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetType3DCamera* r = Record(w);
    if (!r || !t) return 0;
    BasicUiPropertyTracker_Add(t, "aspect", eBasicUiPropertyTypeFLT, &r->aspect, 1, 0);
    BasicUiPropertyTracker_Add(t, "nearZ", eBasicUiPropertyTypeFLT, &r->nearZ, 1, 0);
    BasicUiPropertyTracker_Add(t, "farZ", eBasicUiPropertyTypeFLT, &r->farZ, 1, 0);
    BasicUiPropertyTracker_Add(t, "fov", eBasicUiPropertyTypeFLT, &r->fov, 1, 0);
    BasicUiPropertyTracker_Add(t, "letterBoxed", eBasicUiPropertyTypeBOOL, &r->letterBoxed, 1, 1);
    BasicUiPropertyTracker_Add(t, "parallaxScale", eBasicUiPropertyTypeFLT, &r->parallaxScale, 1, 0);
    return 1;
}

int BasicUiWidgetType3DCamera_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetType3DCamera_Update(sBasicUiWidget*, float) { return 1; }
int BasicUiWidgetType3DCamera_Render(sBasicUiWidget*) { return 1; }

int BasicUiWidgetType3DCamera_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!Record(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

// The rotation of a pure rotation matrix t by the trace method, w last.
static quaternion QuaternionOf(const matrix t)
{
    quaternion q;
    float trace = t[0][0] + t[1][1] + t[2][2];
    if (trace > 0) {
        float s = 2.0f * std::sqrt(trace + 1.0f);
        q.w = s / 4;
        q.x = (t[2][1] - t[1][2]) / s;
        q.y = (t[0][2] - t[2][0]) / s;
        q.z = (t[1][0] - t[0][1]) / s;
    } else if (t[0][0] > t[1][1] && t[0][0] > t[2][2]) {
        float s = 2.0f * std::sqrt(1.0f + t[0][0] - t[1][1] - t[2][2]);
        q.x = s / 4;
        q.w = (t[2][1] - t[1][2]) / s;
        q.y = (t[0][1] + t[1][0]) / s;
        q.z = (t[0][2] + t[2][0]) / s;
    } else if (t[1][1] > t[2][2]) {
        float s = 2.0f * std::sqrt(1.0f + t[1][1] - t[0][0] - t[2][2]);
        q.y = s / 4;
        q.w = (t[0][2] - t[2][0]) / s;
        q.x = (t[0][1] + t[1][0]) / s;
        q.z = (t[1][2] + t[2][1]) / s;
    } else {
        float s = 2.0f * std::sqrt(1.0f + t[2][2] - t[0][0] - t[1][1]);
        q.z = s / 4;
        q.w = (t[1][0] - t[0][1]) / s;
        q.x = (t[0][2] + t[2][0]) / s;
        q.y = (t[1][2] + t[2][1]) / s;
    }
    return q;
}

int BasicUiWidgetType3DCamera_SetCamera(sBasicUiWidget* w)
{
    sBasicUiWidgetType3DCamera* r = Record(w);
    cameraZoom = 0.0f;
    cameraViewingDistance = 1.0f;
    if (!r) {
        SetCameraParameters(1.0f, 1.0f, 1.0f, 10000.0f);
        cameraXangle = cameraYangle = cameraZangle = 0.0f;
        cameraX = cameraY = cameraZ = 0.0f;
        ComposeCameraXform();
        return 1;
    }
    float t = std::tan(r->fov * 0.008726646f);  // half the field of view
    SetCameraParameters(t * r->aspect, t, r->nearZ, r->farZ);
    const float(*parent)[4] = BasicUiWidgetType3DPRS_GetParentGlobalTransform(w);
    // The parent chain's scale is taken out of the axes so that only its turn reaches the camera.
    matrix m, mt;
    for (int row = 0; row < 4; row++)
        for (int c = 0; c < 4; c++) m[row][c] = parent[row][c];
    for (int row = 0; row < 3; row++) {
        float len = vectorLength(m[row]);
        if (len > 0)
            for (int c = 0; c < 3; c++) m[row][c] /= len;
    }
    transposeMatrix(m, mt);
    quaternion q = QuaternionOf(mt);
    MakeEulerAnglesFromQ(&q, &cameraXangle, &cameraYangle, &cameraZangle);
    cameraX = m[3][0];
    cameraY = m[3][1];
    cameraZ = m[3][2];
    RenderSetCameraParallaxScale(r->parallaxScale);
    ComposeCameraXform();
    return 1;
}
