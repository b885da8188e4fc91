// The 3D transform, scene bracket, camera and light widgets, loaded from descriptions: the matrix
// conventions and Euler orders, pad editing, the sorted queue's three states, the camera's
// angles under a scaled parent and the light set the scene hands to the renderer.
#include <gtest/gtest.h>

#include <cmath>

#include "lib/matrix.h"
#include "platform/camera.h"
#include "platform/render.h"
#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/scene3d.h"
#include "ui/widgets/transform3d.h"

namespace {

class Ui3DScene : public UiLoadTest {
protected:
    sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(env, name); }
    const float (*Global(const char* name))[4]
    {
        return static_cast<sBasicUiWidgetType3DPRS*>(W(name)->widgetTypeRef.ptr)->gTransform;
    }
    int Load(const std::string& widgets)
    {
        return LoadText("<BasicUiDisplay name=\"upper\"><BasicUiScreen name=\"s\">" + widgets +
                        "</BasicUiScreen></BasicUiDisplay>");
    }
};

void ExpectMatrix(const float (*a)[4], const float (*b)[4], float tol = 1e-5f)
{
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++) EXPECT_NEAR(a[r][c], b[r][c], tol) << r << "," << c;
}

TEST_F(Ui3DScene, TransformUsesTheTransposedRotationAndChainsThroughParents)
{
    ASSERT_EQ(Load("<BasicUiWidget name=\"def\" typeWidget=\"3DPRS\"/>"
                   "<BasicUiWidget name=\"quat\" typeWidget=\"3DPRS\" rotation.i=\"0\" rotation.j=\"0\""
                   " rotation.k=\"0.6\" rotation.r=\"0.8\" position.x=\"1\" position.y=\"2\" position.z=\"3\"/>"
                   "<BasicUiWidget name=\"euler\" typeWidget=\"3DPRS\" rotation.i=\"0\" rotation.j=\"0\""
                   " rotation.k=\"0\" rotation.r=\"2\"/>"
                   "<BasicUiWidget name=\"big\" typeWidget=\"3DPRS\" scale.x=\"2\" scale.y=\"2\" scale.z=\"2\""
                   " rotation.r=\"2\" rotation.k=\"0\" position.x=\"5\">"
                   "  <BasicUiWidget name=\"child\" typeWidget=\"3DPRS\" position.x=\"1\"/>"
                   "  <BasicUiWidget name=\"rect\" typeWidget=\"wtRectangle\">"
                   "    <BasicUiWidget name=\"orphan\" typeWidget=\"3DPRS\" position.y=\"4\"/>"
                   "  </BasicUiWidget>"
                   "</BasicUiWidget>"),
              1);
    BasicUi_UpdateEnvironment(env, 1.0f / 30);

    // The default rotation is a half turn about z, not the identity.
    matrix halfTurn = {{-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    ExpectMatrix(Global("def"), halfTurn);
    // A quaternion's matrix is transposed, then the position goes into row 3.
    quaternion q = {0, 0, 0.6f, 0.8f};
    matrix r, expect;
    setQuaternionMatrix(r, &q);
    transposeMatrix(r, expect);
    expect[3][0] = 1, expect[3][1] = 2, expect[3][2] = 3;
    ExpectMatrix(Global("quat"), expect);
    // Euler form with no angles is no turn.
    matrix id;
    setIdentityMatrix(id);
    ExpectMatrix(Global("euler"), id);
    // A child's world matrix is its local matrix then its parent's: x 1 scaled by 2 and moved by 5.
    EXPECT_NEAR(Global("child")[3][0], 7.0f, 1e-5f);
    EXPECT_NEAR(Global("child")[0][0], -2.0f, 1e-5f);  // its own default half turn, scaled
    // Under a widget of another type the world matrix is the local one.
    EXPECT_NEAR(Global("orphan")[3][1], 4.0f, 1e-5f);
    EXPECT_NEAR(Global("orphan")[3][0], 0.0f, 1e-5f);
    EXPECT_EQ(BasicUiWidgetType3DPRS_GetParentGlobalTransform(W("orphan"))[3][0], 0.0f);
}

TEST_F(Ui3DScene, EulerOrdersTakeEachAxisItsOwnAngle)
{
    const float x = 0.3f, y = -0.7f, z = 1.1f;
    quaternion qx, qy, qz, t, zyx, xyz;
    createQuaternionRad(1, 0, 0, x, &qx);
    createQuaternionRad(0, 1, 0, y, &qy);
    createQuaternionRad(0, 0, 1, z, &qz);
    // The products qx qy qz and qz qy qx (multiplyQuaternions(a, b) gives b a).
    multiplyQuaternions(&qy, &qx, &t);
    multiplyQuaternions(&qz, &t, &xyz);
    multiplyQuaternions(&qy, &qz, &t);
    multiplyQuaternions(&qx, &t, &zyx);
    float q0[4] = {x, y, z, 0}, q5[4] = {x, y, z, 0}, q9[4] = {x, y, z, 0};
    Euler2Quat(q0, 0);
    Euler2Quat(q5, 5);
    Euler2Quat(q9, 9);
    EXPECT_NEAR(q0[0], xyz.x, 1e-6f);
    EXPECT_NEAR(q0[3], xyz.w, 1e-6f);
    EXPECT_NEAR(q5[1], zyx.y, 1e-6f);
    EXPECT_NEAR(q5[2], zyx.z, 1e-6f);
    EXPECT_EQ(q9[0], x);  // an unknown order leaves the angles
    EXPECT_EQ(q9[3], 0.0f);
}

TEST_F(Ui3DScene, PadEditingTurnsAQuaternionIntoAnglesAndAccessorsCheckTheType)
{
    ASSERT_EQ(Load("<BasicUiWidget name=\"p\" typeWidget=\"3DPRS\" isEditMode=\"1\"/>"
                   "<BasicUiWidget name=\"m\" typeWidget=\"3DPRS\" isEditMode=\"2\"/>"
                   "<BasicUiWidget name=\"rect\" typeWidget=\"wtRectangle\"/>"),
              1);
    BasicUiWidgetType3DPRS_Edit(W("p"), 1.0f, 0.0f, 1.0f);
    float rot[4];
    BasicUiWidgetType3DPRS_GetRotation(W("p"), rot);
    EXPECT_NEAR(rot[0], 3.142f * 0.25f, 1e-5f);
    EXPECT_EQ(rot[2], 0.0f);
    EXPECT_EQ(rot[3], 2.0f);
    // Both axes pushed move z by the x axis; a small push moves nothing.
    BasicUiWidgetType3DPRS_Edit(W("m"), -1.0f, 1.0f, 0.5f);
    BasicUiWidgetType3DPRS_Edit(W("m"), 0.4f, 0.4f, 1.0f);
    float pos[3];
    BasicUiWidgetType3DPRS_GetPosition(W("m"), pos);
    EXPECT_NEAR(pos[2], -0.5f * 3.142f * 0.25f, 1e-5f);
    EXPECT_EQ(pos[0], 0.0f);

    // A name that points at a rectangle neither reads nor writes its record.
    float in[4] = {9, 9, 9, 9}, out[4] = {7, 7, 7, 7};
    auto* rect = W("rect");
    std::vector<uint8_t> before(static_cast<uint8_t*>(rect->widgetTypeRef.ptr),
                                static_cast<uint8_t*>(rect->widgetTypeRef.ptr) + 64);
    BasicUiWidgetType3DPRS_SetRotation(rect, in);
    BasicUiWidgetType3DPRS_SetPosition(rect, in);
    BasicUiWidgetType3DPRS_GetRotation(rect, out);
    EXPECT_EQ(out[0], 7.0f);
    EXPECT_EQ(0, memcmp(before.data(), rect->widgetTypeRef.ptr, before.size()));
}

class Ui3DQueue : public Ui3DScene {
protected:
    unsigned idx[4] = {~0u, ~0u, ~0u, ~0u};
    // One upper-screen pass: open the scene, queue the first n items at their parents, close it.
    void Pass(int n, bool opened = true)
    {
        ASSERT_EQ(RenderStartScreen(), 1);
        ASSERT_EQ(RenderStartDisplay0L(), 1);
        if (opened) BasicUiWidgetType3DInit_Render(W("init"));
        const char* names[4] = {"m1", "m2", "m3", "m4"};
        const float origin[3] = {0, 0, 0};
        for (int i = 0; i < n; i++) BasicUiWidgetType3DInit_PushOrderedItem(W(names[i]), origin, 0.0f, &idx[i]);
        BasicUiWidgetType3DFini_Render(W("fini"));
        RenderEndDisplay0L();
        RenderDoneScreen();
    }
};

TEST_F(Ui3DQueue, EachPassSortsWhatItQueuedFarthestFirst)
{
    StartRenderer();
    std::string xml = "<BasicUiWidget name=\"init\" typeWidget=\"3DInit\" sortMode=\"2\"/>";
    // Queued in order of nearness: 1, 2, 3 and 4 units from the default camera at the origin.
    for (int i = 1; i <= 4; i++) {
        std::string n = std::to_string(i);
        xml += "<BasicUiWidget name=\"p" + n + "\" typeWidget=\"3DPRS\" position.y=\"" + n +
               "\"><BasicUiWidget name=\"m" + n + "\" typeWidget=\"3DPRS\"/></BasicUiWidget>";
    }
    xml += "<BasicUiWidget name=\"fini\" typeWidget=\"3DFini\"/>";
    ASSERT_EQ(Load(xml), 1);
    BasicUi_UpdateEnvironment(env, 1.0f / 30);
    auto* init = static_cast<sBasicUiWidgetType3DInit*>(W("init")->widgetTypeRef.ptr);

    Pass(3);  // sorted and drawn in the first pass: the farthest first
    EXPECT_EQ(init->orderedItems, 3u);
    EXPECT_EQ(idx[2], 0u);
    EXPECT_EQ(idx[1], 1u);
    EXPECT_EQ(idx[0], 2u);
    EXPECT_EQ(init->orderedItem[0].widget, W("m3"));
    EXPECT_NEAR(init->orderedItem[0].depth, 3.0f, 1e-5f);
    Pass(4);  // a fourth item joins, farthest of all
    EXPECT_EQ(init->orderedItems, 4u);
    EXPECT_EQ(idx[3], 0u);
    EXPECT_EQ(idx[0], 3u);
    Pass(2);  // two stop queueing: only the two that queued are left
    EXPECT_EQ(idx[1], 0u);
    EXPECT_EQ(idx[0], 1u);
    EXPECT_EQ(init->orderedItem[2].widget, nullptr);
    EXPECT_EQ(init->orderedItem[3].widget, nullptr);
    EXPECT_EQ(BasicUiWidgetType3DInit_IsRenderingOrderedItems(), 0);
    // Passes in which the scene's opening widget is not drawn but its items are: their requests
    // are ignored, and the queue neither grows nor draws what it held.
    for (int pass = 0; pass < 100; pass++) Pass(4, false);
    EXPECT_EQ(init->orderedItems, 4u);
    EXPECT_EQ(init->orderedItem[0].widget, W("m2"));
    EXPECT_EQ(init->orderedItem[2].widget, nullptr);
}

TEST_F(Ui3DQueue, SortModeZeroDrawsAtOnceAndAllocatesNothing)
{
    StartRenderer();
    ASSERT_EQ(Load("<BasicUiWidget name=\"init\" typeWidget=\"3DInit\" sortMode=\"0\"/>"
                   "<BasicUiWidget name=\"m1\" typeWidget=\"3DPRS\"/>"
                   "<BasicUiWidget name=\"fini\" typeWidget=\"3DFini\"/>"),
              1);
    Pass(1);
    auto* init = static_cast<sBasicUiWidgetType3DInit*>(W("init")->widgetTypeRef.ptr);
    EXPECT_EQ(init->orderedItem, nullptr);
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay0L(), 1);
    BasicUiWidgetType3DInit_Render(W("init"));
    EXPECT_EQ(BasicUiWidgetType3DInit_IsRenderingOrderedItems(), 1);
    BasicUiWidgetType3DFini_Render(W("fini"));
    RenderEndDisplay0L();
    RenderDoneScreen();
}

TEST_F(Ui3DScene, CameraAnglesIgnoreTheParentsScaleAndLightsFillTheSet)
{
    StartRenderer();
    const char* turn = " rotation.i=\"0.3\" rotation.j=\"0.2\" rotation.k=\"0.1\" rotation.r=\"2\"";
    ASSERT_EQ(Load(std::string("<BasicUiWidget name=\"a\" typeWidget=\"3DPRS\" position.z=\"3\"") + turn +
                   "><BasicUiWidget name=\"camA\" typeWidget=\"3DCamera\"/></BasicUiWidget>"
                   "<BasicUiWidget name=\"b\" typeWidget=\"3DPRS\" position.z=\"3\" scale.x=\"2\""
                   " scale.y=\"2\" scale.z=\"2\"" + turn +
                   "><BasicUiWidget name=\"camB\" typeWidget=\"3DCamera\"/>"
                   "<BasicUiWidget name=\"spec\" typeWidget=\"3DLight\" index=\"4\" r=\"1\" g=\"0.5\" b=\"0\" a=\"8\""
                   " dir.x=\"1\" dir.y=\"0\"/></BasicUiWidget>"
                   "<BasicUiWidget name=\"d1\" typeWidget=\"3DLight\" index=\"1\" r=\"0.2\" dir.y=\"2\"/>"
                   "<BasicUiWidget name=\"d1b\" typeWidget=\"3DLight\" index=\"1\" r=\"0.7\" dir.x=\"3\" dir.y=\"0\"/>"
                   "<BasicUiWidget name=\"none\" typeWidget=\"3DLight\"/>"),
              1);
    BasicUi_UpdateEnvironment(env, 1.0f / 30);

    BasicUiWidgetType3DCamera_SetCamera(W("camA"));
    EXPECT_NEAR(GetProjectionScaleX(), std::tan(30.0f * 3.14159265f / 180.0f), 1e-4f);
    float ax = cameraXangle, ay = cameraYangle, az = cameraZangle;
    EXPECT_NEAR(cameraZ, 3.0f, 1e-5f);
    BasicUiWidgetType3DCamera_SetCamera(W("camB"));
    EXPECT_NEAR(cameraXangle, ax, 1e-3f);
    EXPECT_NEAR(cameraYangle, ay, 1e-3f);
    EXPECT_NEAR(cameraZangle, az, 1e-3f);
    EXPECT_NE(ax, 0.0f);
    // Without a camera widget: the default camera, far plane 10000.
    BasicUiWidgetType3DCamera_SetCamera(nullptr);
    EXPECT_EQ(cameraXangle, 0.0f);
    EXPECT_EQ(viewFrustrum.yon, 10000.0f);

    BasicUiWidgetType3DLight_Init();
    for (const char* n : {"spec", "d1", "d1b", "none"}) BasicUiWidgetType3DLight_Render(W(n));
    DS3_lights l;
    BasicUiWidgetType3DLight_Save(&l);
    EXPECT_EQ(l.specular_red, 255.0f);
    EXPECT_EQ(l.specular_green, 127.5f);
    EXPECT_EQ(l.specular_shininess, 8.0f);
    // The specular position is turned and moved by the parent: it lies 2 units from (0, 0, 3).
    EXPECT_NEAR(std::hypot(l.specular_x, l.specular_y, l.specular_z - 3.0f), 2.0f, 1e-4f);
    // The later light of the same index wins; its direction is normalised, w 0.
    EXPECT_EQ(l.light1_red, 0.7f);
    EXPECT_NEAR(l.light1_x, 1.0f, 1e-6f);
    EXPECT_EQ(l.light1_w, 0.0f);
    EXPECT_EQ(l.ambient_red, 1.0f);  // the index -1 light changed nothing
}

}  // namespace
