// The 3D widgets' demonstration loaded from the build's game data and run with the renderer:
// the circle pad turns the ball, the camera's parent leaves its angles to its rotation, the lights
// land in the scene's set, the arm's limits hold its elbow in its cone, and the three clip
// players run once, looping and back and forth.
#include <gtest/gtest.h>

#include <cmath>

#include "host/host.h"
#include "lib/screenapi.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "support/game_data.h"
#include "ui/frameupdate.h"
#include "ui/loader.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/bone3d.h"
#include "ui/widgets/clip.h"
#include "ui/widgets/move3d.h"
#include "ui/widgets/rectangle.h"
#include "ui/widgets/rig3d.h"
#include "ui/widgets/scene3d.h"
#include "ui/widgets/transform3d.h"

namespace {

class GlUiDemo3D : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        saved = gHostOptions;
        gHostOptions.headless = 1;
        ASSERT_EQ(OpenBuildGameData(), 1);
        rendering = true;
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        ASSERT_EQ(ScreenInitializeAPI(), 1);
        ASSERT_EQ(BasicUiEnvironment_Load("ui/demo3d.ui.xml", env), 1);
    }
    void TearDown() override
    {
        allInput.x = 0.0f;
        UiLoadTest::TearDown();
        gHostOptions = saved;
    }
    sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(env, name); }
    template <class T>
    T* R(const char* name)
    {
        return static_cast<T*>(W(name)->widgetTypeRef.ptr);
    }
    void Frame(float dt = 0.1f)
    {
        BasicUi_UpdateEnvironment(env, dt);
        ASSERT_EQ(BasicUi_RenderEnvironmentFull(env), 1);
    }
    HostOptions saved;
};

TEST_F(GlUiDemo3D, ThePadTurnsTheBallAndTheSceneIsLit)
{
    allInput.x = 0.5f;
    Frame();
    Frame();
    EXPECT_NEAR(R<sBasicUiWidgetTypeTriggerMove3D>("d3Turn")->valueRotateDir, 90.0f, 1e-3f);
    float rot[4];
    BasicUiWidgetType3DPRS_GetRotation(W("d3BallPlace"), rot);
    EXPECT_NEAR(rot[2], std::sin(0.25f * 3.142f), 1e-3f);
    // The ball and the pin queue in the sorted scene.
    EXPECT_EQ(R<sBasicUiWidgetType3DInit>("d3Init")->orderedItems, 2u);
    // The last scene's lights: the key light's direction is normalised.
    DS3_lights l;
    BasicUiWidgetType3DLight_Save(&l);
    EXPECT_NEAR(l.ambient_blue, 0.4f, 1e-6f);
    EXPECT_NEAR(std::sqrt(l.light1_x * l.light1_x + l.light1_y * l.light1_y + l.light1_z * l.light1_z), 1.0f, 1e-5f);
    EXPECT_NEAR(l.light2_red, 0.25f, 1e-6f);
}

TEST_F(GlUiDemo3D, TheArmsLimitsHoldTheElbowInItsCone)
{
    Frame();
    BasicUiWidgetType3DRig_EnumerateBoneArray(W("d3Rig"));
    // The elbow is asked to point straight sideways, 90 degrees off its 45-degree cone about z.
    float want[3] = {0, 1, 0};
    BasicUiWidgetType3DBone_SetPivotPreLimit(W("d3Elbow"), want);
    sBasicUiWidget* first = W("d3Limits")->childWidget;
    BasicUiWidgetType3DRig_LimitBonesIncremental(W("d3Shoulder"), &first, 0);
    float pre[3];
    BasicUiWidgetType3DBone_GetPivotPreLimit(W("d3Elbow"), pre);
    EXPECT_NEAR(std::atan2(std::hypot(pre[0], pre[1]), pre[2]), 0.7854f, 1e-3f);
    EXPECT_NEAR(std::hypot(pre[0], std::hypot(pre[1], pre[2])), 6.0f, 1e-4f);  // the bone's length
    BasicUiWidgetType3DRig_UpdateBones(W("d3Rig"));
    BasicUiWidgetType3DBone_UpdateBoneXforms(W("d3Rig"));
    EXPECT_NE(BasicUiWidgetType3DRig_GetRigBone(W("d3Rig"), 2), nullptr);
}

TEST_F(GlUiDemo3D, ClipPlayersRunOnceLoopingAndBackAndForth)
{
    for (int i = 0; i < 12; i++) Frame();  // 1.2 s
    EXPECT_EQ(BasicUiWidgetTypeClip_NotPlaying(W("d3PlayOnce")), 1);
    EXPECT_FLOAT_EQ(BasicUiWidgetTypeClip_GetT(W("d3PlayOnce")), 1.0f);
    EXPECT_EQ(R<sBasicUiWidgetTypeRectangle>("d3Once")->x.value, 680);
    EXPECT_NEAR(BasicUiWidgetTypeClip_GetT(W("d3PlayLoop")), 0.2f, 1e-4f);
    EXPECT_NEAR(BasicUiWidgetTypeClip_GetT(W("d3PlayFlip")), 0.8f, 1e-4f);
    EXPECT_NEAR(R<sBasicUiWidgetTypeRectangle>("d3Flip")->x.value, 420 + 0.8f * 260, 1.0f);
}

}  // namespace
