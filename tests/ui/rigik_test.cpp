// The rig's inverse-kinematics mapper on a small body loaded from a description: the first pass
// finds the bones by name even in the reset mode, the root turn from coincident hips, the clavicle
// joints built from three joints, the limb bones following the pose the animation gave them and
// driven back to rest when a joint is untracked.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "lib/matrix.h"
#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/bone3d.h"
#include "ui/widgets/rig3d.h"

namespace {

class UiRigIK : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        // A root, a waist and a left arm of shoulder, elbow and wrist, under a transform moved 10
        // along x; the elbow is bent 90 degrees by its delta.
        ASSERT_EQ(LoadText("<BasicUiDisplay name=\"upper\"><BasicUiScreen name=\"s\">"
                           "<BasicUiWidget name=\"place\" typeWidget=\"3DPRS\" position.x=\"10\""
                           " rotation.k=\"0\" rotation.r=\"1\">"
                           " <BasicUiWidget name=\"rig\" typeWidget=\"3DRig\" bones=\"5\">"
                           "  <BasicUiWidget name=\"Rootie\" typeWidget=\"3DBone\" boneIndex=\"0\" rig=\"rig\" pivot.z=\"3\">"
                           "   <BasicUiWidget name=\"Waist\" typeWidget=\"3DBone\" boneIndex=\"1\" rig=\"rig\">"
                           "    <BasicUiWidget name=\"Left_Shoulder\" typeWidget=\"3DBone\" boneIndex=\"2\" rig=\"rig\""
                           "     pivot.x=\"1\" pivot.z=\"1\">"
                           "     <BasicUiWidget name=\"Left_Elbow\" typeWidget=\"3DBone\" boneIndex=\"3\" rig=\"rig\""
                           "      pivot.x=\"1\" pivot.z=\"0\" rotationDelta.j=\"0.7071068\""
                           "      rotationDelta.r=\"0.7071068\">"
                           "      <BasicUiWidget name=\"Left_Arm_Twist\" typeWidget=\"3DBone\" boneIndex=\"4\""
                           "       rig=\"rig\" pivot.x=\"1\" pivot.z=\"0\"/>"
                           "     </BasicUiWidget></BasicUiWidget></BasicUiWidget></BasicUiWidget></BasicUiWidget>"
                           "</BasicUiWidget></BasicUiScreen></BasicUiDisplay>"),
                  1);
        rig = W("rig");
        BasicUi_UpdateEnvironment(env, 0.0f);  // the transform's matrices
    }
    sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(env, name); }
    sBasicUiWidgetType3DRig* R() { return static_cast<sBasicUiWidgetType3DRig*>(rig->widgetTypeRef.ptr); }
    void Delta(const char* name, float q[4]) { BasicUiWidgetType3DBone_GetRotationDelta(W(name), q); }
    void Origin(const char* name, float o[3])
    {
        auto* b = static_cast<sBasicUiWidgetType3DBone*>(W(name)->widgetTypeRef.ptr);
        for (int i = 0; i < 3; i++) o[i] = b->gTransform[3][i];
    }
    sBasicUiWidget* rig = nullptr;
};

TEST_F(UiRigIK, TheResetModeStillMapsAndReturnsTheBonesToRest)
{
    BasicUiWidgetType3DRig_IKMapper(rig, 0, 0);
    EXPECT_EQ(R()->hasBeenMapped, 1);
    EXPECT_EQ(R()->boneWidget[5], W("Left_Elbow"));
    EXPECT_EQ(R()->boneWidgetNext[5], W("Left_Arm_Twist"));
    EXPECT_EQ(R()->boneWidget[0], nullptr) << "digit names match no bone";
    EXPECT_EQ(BasicUiWidgetType3DBone_GetIsAnimated(W("Rootie")), 0);
    EXPECT_EQ(BasicUiWidgetType3DBone_GetIsAnimated(W("Waist")), 1);
    float q[4];
    Delta("Left_Elbow", q);
    EXPECT_FLOAT_EQ(q[1], 0.0f);
    EXPECT_FLOAT_EQ(q[3], 1.0f);
    // The skinning matrices are stored: the wrist's sits at the straight arm's end, (13, 0, 5),
    // after its default bind offset (0, 0, 1).
    const float(*m)[4] = BasicUiWidgetType3DRig_GetRigBone(rig, 4);
    ASSERT_NE(m, nullptr);
    EXPECT_NEAR(m[3][0], 13.0f, 1e-4f);
    EXPECT_NEAR(m[3][2], 6.0f, 1e-4f);
}

TEST_F(UiRigIK, CoincidentHipsGiveTheRootAHalfNormalisedIdentityAndNoFacingAngle)
{
    BasicUiWidgetType3DRig_IKMapper(rig, 0, 0);
    BasicUiWidgetType3DRig_CorrectHandPosition(rig, 0);
    EXPECT_NEAR(R()->angleFromCamera, 0.0f, 1e-3f);
    for (int j = 0; j < kBasicUiRigJoints; j++) {
        EXPECT_EQ(R()->bJoint[j], 0);
        EXPECT_EQ(R()->vJoint[j][0], 10.0f) << "at the rig's origin";
    }
    BasicUiWidgetType3DRig_RootRotationAndTranslation(rig);
    float q[4];
    Delta("Rootie", q);
    EXPECT_EQ(q[0], 0.0f);
    EXPECT_EQ(q[1], 0.0f);
    EXPECT_EQ(q[2], 0.0f);
    EXPECT_NEAR(q[3], std::sqrt(0.5f), 1e-6f);
    EXPECT_EQ(R()->hasRootDelta, 1);
    EXPECT_EQ(R()->vRootDelta[2], 3.0f);
}

TEST_F(UiRigIK, ClavicleJointsComeFromTheShoulderNeckAndSpine)
{
    sBasicUiWidgetType3DRig* r = R();
    const float spine[3] = {0, 0, 1}, neck[3] = {0, 0, 2}, left[3] = {1, 0, 2};
    std::memcpy(r->vJoint[1], spine, sizeof spine);
    std::memcpy(r->vJoint[2], neck, sizeof neck);
    std::memcpy(r->vJoint[4], left, sizeof left);
    r->bJoint[1] = r->bJoint[2] = 1;
    float out[3] = {7, 7, 7};
    EXPECT_EQ(BasicUiWidgetType3DRig_GetCompositeJointPosition(rig, 0, 0, out), 0) << "the shoulder is untracked";
    r->bJoint[4] = 1;
    EXPECT_EQ(BasicUiWidgetType3DRig_GetCompositeJointPosition(rig, 0, 0, out), 1);
    // a = (1, 0, 0), b = (0, 0, 1), c = a x b = (0, -1, 0): 1 + 0.4 a + 0.95 b + 0.25 c.
    EXPECT_NEAR(out[0], 0.4f, 1e-6f);
    EXPECT_NEAR(out[1], -0.25f, 1e-6f);
    EXPECT_NEAR(out[2], 1.95f, 1e-6f);
    float keep[3] = {7, 7, 7};
    EXPECT_EQ(BasicUiWidgetType3DRig_GetCompositeJointPosition(rig, 0, 2, keep), 0);
    EXPECT_EQ(keep[0], 7.0f);
}

TEST_F(UiRigIK, TheMappingFollowsTheAnimatedBend)
{
    BasicUiWidgetType3DRig_UpdateBones(rig);
    float elbow[3], wrist[3];
    Origin("Left_Elbow", elbow);
    Origin("Left_Arm_Twist", wrist);
    BasicUiWidgetType3DRig_IKMapper(rig, 0, 1);
    // The elbow's step turns its bone so that the forearm keeps the animated direction.
    float e[3], w[3];
    Origin("Left_Elbow", e);
    Origin("Left_Arm_Twist", w);
    float want[3] = {wrist[0] - elbow[0], wrist[1] - elbow[1], wrist[2] - elbow[2]};
    float got[3] = {w[0] - e[0], w[1] - e[1], w[2] - e[2]};
    normalizeVector(want);
    normalizeVector(got);
    EXPECT_GT(dotVectors(want, got), 0.999f);
    EXPECT_LT(std::fabs(want[0]), 0.01f) << "the bend points the forearm down, not along the upper arm";
}

}  // namespace
