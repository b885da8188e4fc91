// The rig's debug drawing: the mapper's joints joined in orange (the clavicles' in blue), the body
// segments as lines between their joints, and each bone limit's cone axis and edge in its bone's
// frame, drawn as dotted lines over the scene where the view projects them. Three switches choose
// what is drawn: joints and segments off, limits on.
#include <cmath>

#include "lib/matrix.h"
#include "platform/gpucommands.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "ui/frameupdate.h"
#include "ui/widgets/bone3d.h"
#include "ui/widgets/rig3d.h"
#include "ui/widgets/text3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static int drawJoints = 0, drawCapsules = 0, drawLimits = 1;
static const float kLimitShapeLength = 0.3f;

void BasicUiWidgetType3DRig_SetDebugDrawing(int joints, int capsules, int limits)
{
    drawJoints = joints, drawCapsules = capsules, drawLimits = limits;
}

// A world segment as dots three pixels apart, each at its own depth in each eye.
static void Segment(const float a[3], const float b[3])
{
    float ax, ay, ad, bx, by, bd;
    if (!BasicUi_ProjectToUpperScreen(a, &ax, &ay, &ad) || !BasicUi_ProjectToUpperScreen(b, &bx, &by, &bd)) return;
    int ox, oy;
    BasicUi_GetRenderOffset2D(&ox, &oy);
    const float length = std::hypot(bx - ax, by - ay);
    const int steps = length < 3.0f ? 1 : int(length / 3.0f) + 1;
    if (steps > 150) return;  // a segment across the whole screen is not a joint's
    for (int i = 0; i <= steps; i++) {
        const float t = float(i) / float(steps);
        RenderSetZLevel(ad + (bd - ad) * t);
        RenderRect(int(ax + (bx - ax) * t) + ox, int(ay + (by - ay) * t) + oy, 2, 2);
    }
}

int BasicUiWidgetType3DRig_Render(sBasicUiWidget* w)
{
    auto* r = BasicUiWidget_Record<sBasicUiWidgetType3DRig>(w, EBasicUiWidgetType3DRig);
    if (!r || !RenderIsDisplay0()) return 1;
    const int parallax = s_Parallax;
    const float level = s_depth;
    RenderEnableOverlays();
    RenderEnableParallax();
    RenderSetAlphaLevel(255);
    if (drawJoints) {
        static const int kNext[kBasicUiRigJoints] = {1,  2,  3,  -1, 5,  6,  7,  -1, 9,  10,
                                                     11, -1, 13, 14, 15, -1, 17, 18, 19, -1};
        RenderSetPenColor(255, 165, 0);
        // Only tracked joints have a place to draw.
        for (int j = 0; j < kBasicUiRigJoints; j++)
            if (kNext[j] >= 0 && r->bJoint[j] && r->bJoint[kNext[j]]) Segment(r->vJoint[j], r->vJoint[kNext[j]]);
        RenderSetPenColor(0, 165, 255);
        for (int n = 0; n < 2; n++) {
            float c[3];
            const int shoulder = n == 0 ? 4 : 8;
            if (BasicUiWidgetType3DRig_GetCompositeJointPosition(w, 0, n, c) && r->bJoint[shoulder])
                Segment(c, r->vJoint[shoulder]);
        }
    }
    if (drawCapsules) {
        static const int kPairs[][2] = {{4, 12}, {8, 16}, {2, 3},   {4, 8},   {4, 5},
                                        {8, 9},  {12, 13}, {13, 14}, {16, 17}, {17, 18}};
        RenderSetPenColor(255, 165, 0);
        for (const auto& p : kPairs)
            if (r->bJoint[p[0]] && r->bJoint[p[1]]) Segment(r->vJoint[p[0]], r->vJoint[p[1]]);
    }
    if (drawLimits && r->limits) {
        RenderSetPenColor(0, 165, 255);
        for (sBasicUiWidget* c = r->limits->childWidget; c; c = c->nextWidget) {
            auto* l = BasicUiWidget_Record<sBasicUiWidgetType3DBoneLimit>(c, EBasicUiWidgetType3DBoneLimit);
            if (!l || !c->isActive.value || !l->nextBone) continue;
            const float(*frame)[4] = BasicUiWidgetType3DBone_GetParentFixedGlobalTransform(l->nextBone);
            float o[3] = {0, 0, 0}, axis[3] = {l->midLimit[0], l->midLimit[1], l->midLimit[2]};
            float edge[3] = {l->maxLimit[0], l->maxLimit[1], l->maxLimit[2]};
            normalizeVector(axis);
            normalizeVector(edge);
            // The cone's axis as far as its cap, and one edge of it.
            const float cosine = dotVectors(axis, edge);
            for (int i = 0; i < 3; i++) axis[i] *= cosine * kLimitShapeLength, edge[i] *= kLimitShapeLength;
            composePosition(o, frame);
            composePosition(axis, frame);
            composePosition(edge, frame);
            Segment(o, axis);
            Segment(o, edge);
        }
    }
    if (!parallax) RenderDisableParallax();
    RenderSetZLevel(level);
    RenderEnableZBuffer();
    return 1;
}
