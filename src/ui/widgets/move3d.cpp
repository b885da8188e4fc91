// The 3D movement trigger: each frame it maps one pad axis to a movement value and another to a
// rotation value and writes its transform widget's position and rotation from them, so the
// player turns a character or a ball in a menu with the circle pad.
#include "ui/widgets/move3d.h"

#include <cmath>

#include "lib/matrix.h"
#include "platform/input.h"
#include "ui/frameupdate.h"
#include "ui/loadcheck.h"
#include "ui/widgets/transform3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetTypeTriggerMove3D* Record(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeTriggerMove3D>(w, EBasicUiWidgetTypeTriggerMove3D);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeTriggerMove3D_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeTriggerMove3D* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeTriggerMove3D, &r);
    if (!r) return ref;
    sBasicUiValueBOOL off = BasicUiValueBOOL_Make(0);
    r->variant = r->controlForRotateDir = r->controlForMoveDir = BasicUiValueINT_Make(0);
    r->invertRotateDir = r->isRotateDir = r->isRotateAbs = r->limitedRotateDir = r->limitedRotateRange = off;
    r->invertMoveDir = r->isMoveDir = r->isMoveAbs = r->limitedMoveDir = off;
    r->maxRotateDir = 360.0f;
    r->deltaMinRotateDir = r->deltaMinMoveDir = 0.001f;
    r->deltaMaxRotateDir = r->deltaMaxMoveDir = 1.0f;
    r->direction[2] = 1.0f;
    r->maxMoveDir = 1.0f;
    return ref;
}

int BasicUiWidgetTypeTriggerMove3D_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetTypeTriggerMove3D* r = Record(w);
    if (!r || !t) return 0;
    auto flag = [t](const char* n, sBasicUiValueBOOL* v) { BasicUiPropertyTracker_Add(t, n, eBasicUiPropertyTypeBOOL, v, 1, 1); };
    auto num = [t](const char* n, float* v) { BasicUiPropertyTracker_Add(t, n, eBasicUiPropertyTypeFLT, v, 1, 0); };
    auto integer = [t](const char* n, sBasicUiValueINT* v) { BasicUiPropertyTracker_Add(t, n, eBasicUiPropertyTypeINT, v, 1, 1); };
    integer("variant", &r->variant);
    BasicUiPropertyTracker_Add(t, "transform", eBasicUiPropertyTypeWidgetREF, &r->transform, 1, 0);
    flag("invertRotateDir", &r->invertRotateDir);
    flag("isRotateDir", &r->isRotateDir);
    flag("isRotateAbs", &r->isRotateAbs);
    flag("limitedRotateDir", &r->limitedRotateDir);
    flag("limitedRotateRange", &r->limitedRotateRange);
    num("axis.x", &r->axis[0]);
    num("axis.y", &r->axis[1]);
    num("axis.z", &r->axis[2]);
    num("minRotateDir", &r->minRotateDir);
    num("valueRotateDir", &r->valueRotateDir);
    num("maxRotateDir", &r->maxRotateDir);
    num("deltaMinRotateDir", &r->deltaMinRotateDir);
    num("deltaMaxRotateDir", &r->deltaMaxRotateDir);
    integer("controlForRotateDir", &r->controlForRotateDir);
    flag("invertMoveDir", &r->invertMoveDir);
    flag("isMoveDir", &r->isMoveDir);
    flag("isMoveAbs", &r->isMoveAbs);
    flag("limitedMoveDir", &r->limitedMoveDir);
    num("position.x", &r->position[0]);
    num("position.y", &r->position[1]);
    num("position.z", &r->position[2]);
    num("direction.x", &r->direction[0]);
    num("direction.y", &r->direction[1]);
    num("direction.z", &r->direction[2]);
    num("delay", &r->delay);
    num("minMoveDir", &r->minMoveDir);
    num("valueMoveDir", &r->valueMoveDir);
    num("maxMoveDir", &r->maxMoveDir);
    num("deltaMinMoveDir", &r->deltaMinMoveDir);
    num("deltaMaxMoveDir", &r->deltaMaxMoveDir);
    integer("controlForMoveDir", &r->controlForMoveDir);
    return 1;
}

int BasicUiWidgetTypeTriggerMove3D_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeTriggerMove3D_Render(sBasicUiWidget*) { return 1; }

int BasicUiWidgetTypeTriggerMove3D_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!Record(w)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

float BasicUiWidgetTypeTriggerMove3D_GetControlValue(int control)
{
    joystickState* pad = BasicUi_GetController(0);
    if (!pad) return 0.0f;
    if (control == 1 || control == 3) return pad->x;
    if (control == 2 || control == 4) return pad->y;
    return 0.0f;
}

float BasicUi_SmoothingFactor(float delay, float dt)
{
    float k = 2.0f / (delay * delay) * dt;
    return k > 1.0f ? 1.0f : k;
}

// Pad -1 to the low value, +1 to the high one.
static float Mapped(float lo, float hi, float c) { return lo + (hi - lo) * (c + 1.0f) * 0.5f; }

int BasicUiWidgetTypeTriggerMove3D_Update(sBasicUiWidget* w, float dt)
{
    sBasicUiWidgetTypeTriggerMove3D* r = Record(w);
    if (!r || !r->transform) return 0;
    if (r->isMoveDir.value) {
        float c = BasicUiWidgetTypeTriggerMove3D_GetControlValue(r->controlForMoveDir.value);
        if (r->invertMoveDir.value) c = -c;
        float target = Mapped(r->deltaMinMoveDir, r->deltaMaxMoveDir, c);
        if (!r->isMoveAbs.value) r->valueMoveDir += target;
        else if (r->delay <= 0.0f) r->valueMoveDir = target;
        else r->valueMoveDir += BasicUi_SmoothingFactor(r->delay, dt) * (target - r->valueMoveDir);
        if (r->limitedMoveDir.value) {
            if (r->valueMoveDir < r->minMoveDir) r->valueMoveDir = r->minMoveDir;
            if (r->valueMoveDir > r->maxMoveDir) r->valueMoveDir = r->maxMoveDir;
        }
        // Stepped every frame, the value keeps the range every number of a widget keeps.
        r->valueMoveDir = BasicUi_KeepCoordinateF(r->valueMoveDir);
    }
    if (r->isRotateDir.value) {
        float c = BasicUiWidgetTypeTriggerMove3D_GetControlValue(r->controlForRotateDir.value);
        if (r->invertRotateDir.value) c = -c;
        float v = Mapped(r->deltaMinRotateDir, r->deltaMaxRotateDir, c);
        r->valueRotateDir = r->isRotateAbs.value ? v : r->valueRotateDir + v;
        if (r->limitedRotateRange.value) {
            if (r->valueRotateDir < r->minRotateDir) r->valueRotateDir = r->minRotateDir;
            if (r->valueRotateDir > r->maxRotateDir) r->valueRotateDir = r->maxRotateDir;
        } else {
            if (r->valueRotateDir < -360.0f) r->valueRotateDir += 360.0f;
            if (r->valueRotateDir > 360.0f) r->valueRotateDir -= 360.0f;
        }
        // A step larger than the wrap outruns it: the value keeps the range every number keeps.
        r->valueRotateDir = BasicUi_KeepCoordinateF(r->valueRotateDir);
    }
    // A target of another type is left alone: the transform's accessors check its type.
    matrix l;
    setIdentityMatrix(l);
    BasicUiWidgetType3DPRS_ComputeLocalTransform(r->transform, l);
    float d[3] = {r->direction[0], r->direction[1], r->direction[2]};
    normalizeVector(d);
    composeNormal(d, l);
    float pos[3] = {0, 0, 0};
    if (!r->limitedMoveDir.value) BasicUiWidgetType3DPRS_GetPosition(r->transform, pos);
    // A relative move adds up frame after frame: the place written stays within the coordinates'
    // range, as every writer of a widget's number keeps it.
    for (int c = 0; c < 3; c++)
        pos[c] = BasicUi_KeepCoordinateF(pos[c] + r->position[c] + d[c] * r->valueMoveDir);
    BasicUiWidgetType3DPRS_SetPosition(r->transform, pos);
    quaternion q;
    createQuaternionRad(r->axis[0], r->axis[1], r->axis[2], r->valueRotateDir * 0.017455555f, &q);
    if (!r->limitedRotateDir.value) {
        float cur[4] = {0, 0, 0, 1};
        BasicUiWidgetType3DPRS_GetRotation(r->transform, cur);
        quaternion c = {cur[0], cur[1], cur[2], cur[3]};
        // The current rotation on the left: multiplyQuaternions(a, b) gives b a.
        multiplyQuaternions(&q, &c, &q);
    }
    float rot[4] = {q.x, q.y, q.z, q.w};
    BasicUiWidgetType3DPRS_SetRotation(r->transform, rot);
    return 1;
}
