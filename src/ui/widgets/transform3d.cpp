// The 3D transform widget: a local matrix from position, rotation and scale, and a world matrix
// chained through the parent transform, recomputed each frame parent first. Also the Euler-angle
// orders, since descriptions and the pad editor write rotations as angles.
#include "ui/widgets/transform3d.h"

#include <cmath>
#include <cstring>

#include "ui/widgets/move3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static matrix identity = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
static const float kEditRate = 0.25f;

static sBasicUiWidgetType3DPRS* Record(const sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DPRS>(const_cast<sBasicUiWidget*>(w),
                                                         EBasicUiWidgetType3DPRS);
}

sBasicUiWidgetTypeRef BasicUiWidgetType3DPRS_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetType3DPRS* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetType3DPRS, &r);
    if (!r) return ref;
    // The default rotation is a half turn about z: characters face the default camera.
    r->rotation[2] = 1.0f;
    r->scale[0] = r->scale[1] = r->scale[2] = 1.0f;
    setIdentityMatrix(r->lTransform);
    setIdentityMatrix(r->gTransform);
    r->isEditMode = BasicUiValueINT_Make(0);
    return ref;
}

int BasicUiWidgetType3DPRS_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetType3DPRS* r = Record(w);
    if (!r || !t) return 0;
    BasicUiPropertyTracker_Add(t, "position", eBasicUiPropertyTypeVEC3, r->position, 0, 0);
    BasicUiPropertyTracker_Add(t, "position.x", eBasicUiPropertyTypeFLT, &r->position[0], 1, 0);
    BasicUiPropertyTracker_Add(t, "position.y", eBasicUiPropertyTypeFLT, &r->position[1], 1, 0);
    BasicUiPropertyTracker_Add(t, "position.z", eBasicUiPropertyTypeFLT, &r->position[2], 1, 0);
    BasicUiPropertyTracker_Add(t, "rotation", eBasicUiPropertyTypeQUAT, r->rotation, 1, 0);
    BasicUiPropertyTracker_Add(t, "rotation.i", eBasicUiPropertyTypeFLT, &r->rotation[0], 1, 0);
    BasicUiPropertyTracker_Add(t, "rotation.j", eBasicUiPropertyTypeFLT, &r->rotation[1], 1, 0);
    BasicUiPropertyTracker_Add(t, "rotation.k", eBasicUiPropertyTypeFLT, &r->rotation[2], 1, 0);
    BasicUiPropertyTracker_Add(t, "rotation.r", eBasicUiPropertyTypeFLT, &r->rotation[3], 1, 0);
    BasicUiPropertyTracker_Add(t, "scale", eBasicUiPropertyTypeVEC3, r->scale, 0, 0);
    BasicUiPropertyTracker_Add(t, "scale.x", eBasicUiPropertyTypeFLT, &r->scale[0], 1, 0);
    BasicUiPropertyTracker_Add(t, "scale.y", eBasicUiPropertyTypeFLT, &r->scale[1], 1, 0);
    BasicUiPropertyTracker_Add(t, "scale.z", eBasicUiPropertyTypeFLT, &r->scale[2], 1, 0);
    BasicUiPropertyTracker_Add(t, "isEditMode", eBasicUiPropertyTypeINT, &r->isEditMode, 1, 1);
    return 1;
}

int BasicUiWidgetType3DPRS_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetType3DPRS_Render(sBasicUiWidget*) { return 1; }

// One rotation of `angle` radians about a unit axis, w last.
static quaternion AxisTurn(int axis, float angle)
{
    quaternion q = {0, 0, 0, std::cos(angle * 0.5f)};
    (&q.x)[axis] = std::sin(angle * 0.5f);
    return q;
}

void Euler2Quat(float q[4], int order)
{
    // The axes of the three turns of each order; each turn takes its own axis's angle.
    static const int kAxes[9][3] = {{0, 1, 2}, {0, 2, 1}, {1, 2, 0}, {1, 0, 2}, {2, 0, 1},
                                    {2, 1, 0}, {0, 1, 0}, {1, 2, 1}, {2, 1, 2}};
    if (order < 0 || order > 8) return;
    const int* axes = kAxes[order];
    quaternion q1 = AxisTurn(axes[0], q[axes[0]]);
    quaternion q2 = AxisTurn(axes[1], q[axes[1]]);
    quaternion q3 = AxisTurn(axes[2], q[axes[2]]);
    // The product q1 q2 q3; multiplyQuaternions(a, b) gives b a.
    quaternion q12, out;
    multiplyQuaternions(&q2, &q1, &q12);
    multiplyQuaternions(&q3, &q12, &out);
    q[0] = out.x;
    q[1] = out.y;
    q[2] = out.z;
    q[3] = out.w;
}

static void LocalTransform(const sBasicUiWidgetType3DPRS* r, matrix out)
{
    matrix s, rot, rotT;
    setScaleMatrix(s, r->scale[0], r->scale[1], r->scale[2]);
    float q[4] = {r->rotation[0], r->rotation[1], r->rotation[2], r->rotation[3]};
    if (r->rotation[3] > 1.5f) {
        int order = int(r->rotation[3] - 2.0f);
        q[3] = 0.0f;
        Euler2Quat(q, order);
    }
    quaternion qq = {q[0], q[1], q[2], q[3]};
    setQuaternionMatrix(rot, &qq);
    transposeMatrix(rot, rotT);
    // Scale applied first, then the transposed rotation.
    composeMatrix(rotT, s, out);
    out[3][0] = r->position[0];
    out[3][1] = r->position[1];
    out[3][2] = r->position[2];
    out[3][3] = 1.0f;
}

void BasicUiWidgetType3DPRS_ComputeLocalTransform(sBasicUiWidget* w, matrix out)
{
    sBasicUiWidgetType3DPRS* r = Record(w);
    if (!r || !out) return;
    LocalTransform(r, out);
}

const float (*BasicUiWidgetType3DPRS_GetParentGlobalTransform(const sBasicUiWidget* w))[4]
{
    if (!w) return identity;
    const sBasicUiWidgetType3DPRS* p = Record(w->parentWidget);
    return p ? p->gTransform : identity;
}

void BasicUiWidgetType3DPRS_Edit(sBasicUiWidget* w, float a, float b, float dt)
{
    sBasicUiWidgetType3DPRS* r = Record(w);
    if (!r || !r->isEditMode.value) return;
    float fa = std::fabs(a), fb = std::fabs(b);
    if (fa <= 0.5f && fb <= 0.5f) return;
    float k = dt * 3.142f * kEditRate;
    float* v = nullptr;
    if (r->isEditMode.value == 1) {
        // Edited rotations are angles: a quaternion starts over as no turn, order 0.
        if (std::fabs(r->rotation[3]) < 1.5f) {
            r->rotation[0] = r->rotation[1] = r->rotation[2] = 0.0f;
            r->rotation[3] = 2.0f;
        }
        v = r->rotation;
    } else if (r->isEditMode.value == 2) {
        v = r->position;
    }
    if (!v) return;
    if (fa > 0.5f && fb < 0.25f) v[0] += a * k;
    if (fa < 0.25f && fb > 0.5f) v[1] += b * k;
    if (fa > 0.5f && fb > 0.5f) v[2] += a * k;
}

int BasicUiWidgetType3DPRS_Update(sBasicUiWidget* w, float dt)
{
    sBasicUiWidgetType3DPRS* r = Record(w);
    if (!r) return 0;
    if (r->isEditMode.value)
        BasicUiWidgetType3DPRS_Edit(w, BasicUiWidgetTypeTriggerMove3D_GetControlValue(1),
                                    BasicUiWidgetTypeTriggerMove3D_GetControlValue(2), dt);
    LocalTransform(r, r->lTransform);
    composeMatrix(BasicUiWidgetType3DPRS_GetParentGlobalTransform(w), r->lTransform, r->gTransform);
    return 1;
}

int BasicUiWidgetType3DPRS_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!Record(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

void BasicUiWidgetType3DPRS_GetPosition(sBasicUiWidget* w, float out[3])
{
    sBasicUiWidgetType3DPRS* r = Record(w);
    if (r && out) std::memcpy(out, r->position, sizeof r->position);
}

void BasicUiWidgetType3DPRS_GetRotation(sBasicUiWidget* w, float out[4])
{
    sBasicUiWidgetType3DPRS* r = Record(w);
    if (r && out) std::memcpy(out, r->rotation, sizeof r->rotation);
}

void BasicUiWidgetType3DPRS_SetPosition(sBasicUiWidget* w, const float in[3])
{
    sBasicUiWidgetType3DPRS* r = Record(w);
    if (r && in) std::memcpy(r->position, in, sizeof r->position);
}

void BasicUiWidgetType3DPRS_SetRotation(sBasicUiWidget* w, const float in[4])
{
    sBasicUiWidgetType3DPRS* r = Record(w);
    if (r && in) std::memcpy(r->rotation, in, sizeof r->rotation);
}
