// The 3D bone, bone-limit and rig widgets loaded from a description: a root bone takes the rig's
// transform first and children their parent bone's, the skinning walk fills the rig's matrices
// by bone index, and the limit pass keeps joints in their cones and holds still at speed 0.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "host/clock.h"
#include "lib/matrix.h"
#include "lib/memory.h"
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "platform/skeleton.h"
#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/bone3d.h"
#include "ui/widgets/rig3d.h"

namespace {

class Ui3DBones : public UiLoadTest {
protected:
    sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(env, name); }
    sBasicUiWidgetType3DBone* B(const char* name)
    {
        return static_cast<sBasicUiWidgetType3DBone*>(W(name)->widgetTypeRef.ptr);
    }
    void SetUp() override
    {
        UiLoadTest::SetUp();
        // A rig of three bones under a transform lifted by 5; the hand is inactive.
        ASSERT_EQ(LoadText("<BasicUiDisplay name=\"upper\"><BasicUiScreen name=\"s\">"
                           "<BasicUiWidget name=\"place\" typeWidget=\"3DPRS\" position.z=\"5\""
                           " rotation.r=\"2\" rotation.k=\"0\">"
                           " <BasicUiWidget name=\"rig\" typeWidget=\"3DRig\" bones=\"3\" limits=\"lims\">"
                           "  <BasicUiWidget name=\"root\" typeWidget=\"3DBone\" boneIndex=\"0\" flipIndex=\"0\""
                           "   rig=\"rig\" rotationDelta.k=\"0.7071068\" rotationDelta.r=\"0.7071068\">"
                           "   <BasicUiWidget name=\"arm\" typeWidget=\"3DBone\" boneIndex=\"1\" flipIndex=\"2\""
                           "    rig=\"rig\" pivot.x=\"1\" pivot.z=\"0\" bindPivot.z=\"-2\">"
                           "    <BasicUiWidget name=\"hand\" typeWidget=\"3DBone\" boneIndex=\"2\" rig=\"rig\""
                           "     isActive=\"0\" pivot.x=\"2\" pivot.z=\"0\"/>"
                           "   </BasicUiWidget>"
                           "  </BasicUiWidget>"
                           " </BasicUiWidget>"
                           "</BasicUiWidget>"
                           "<BasicUiWidget name=\"rect\" typeWidget=\"wtRectangle\">"
                           " <BasicUiWidget name=\"loose\" typeWidget=\"3DBone\" pivot.y=\"3\" pivot.z=\"0\"/>"
                           "</BasicUiWidget>"
                           "<BasicUiWidget name=\"lims\">"
                           " <BasicUiWidget name=\"cone\" typeWidget=\"3DBoneLimit\" nextBone=\"arm\" constraint=\"1\""
                           "  maxLimit.x=\"1\" maxLimit.z=\"1\"/>"
                           " <BasicUiWidget name=\"other\" typeWidget=\"3DBoneLimit\" nextBone=\"hand\" constraint=\"1\"/>"
                           "</BasicUiWidget>"
                           "</BasicUiScreen></BasicUiDisplay>"),
                  1);
        BasicUi_UpdateEnvironment(env, 1.0f / 30);
        BasicUiWidgetType3DRig_UpdateBones(W("rig"));
    }
};

TEST_F(Ui3DBones, RootTakesTheRigTransformFirstAndChildrenTheirParentBone)
{
    // The root: lifted by 5, turned a quarter about z (which leaves its origin), then its offset.
    const float(*root)[4] = B("root")->gTransform;
    EXPECT_NEAR(root[3][2], 6.0f, 1e-5f);
    // The arm's offset (1, 0, 0) is turned a quarter about z by the root's delta.
    const float(*arm)[4] = B("arm")->gTransform;
    EXPECT_NEAR(std::fabs(arm[3][1]), 1.0f, 1e-5f);
    EXPECT_NEAR(arm[3][0], 0.0f, 1e-5f);
    EXPECT_NEAR(arm[3][2], 6.0f, 1e-5f);
    // The root's fixed frame leaves its own delta out; its inverse undoes it.
    EXPECT_NEAR(B("root")->gFixedTransform[0][0], 1.0f, 1e-5f);
    float v[3] = {0, 0, 1};
    BasicUiWidgetType3DBone_GetVectorInFixedGlobalTransform(W("root"), v);
    EXPECT_NEAR(v[2], 1.0f, 1e-5f);
    // A bone under another widget type is placed by the identity.
    EXPECT_NEAR(B("loose")->gTransform[3][1], 3.0f, 1e-6f);
    EXPECT_NEAR(B("loose")->gTransform[3][2], 0.0f, 1e-6f);
}

TEST_F(Ui3DBones, SkinningWalkFillsTheRigByIndexAndSkipsInactiveBones)
{
    BasicUiWidgetType3DRig_EnumerateBoneArray(W("rig"));
    auto* rig = static_cast<sBasicUiWidgetType3DRig*>(W("rig")->widgetTypeRef.ptr);
    ASSERT_NE(rig->bone, nullptr);
    EXPECT_EQ(rig->iBoneW[1], W("arm"));
    EXPECT_EQ(rig->mBoneW[2], W("arm"));
    EXPECT_EQ(rig->iBoneW[2], nullptr);  // inactive
    BasicUiWidgetType3DBone_UpdateBoneXforms(W("rig"));
    // The arm's matrix is its bind offset then its world matrix: (0, 0, -2) lands 2 below it.
    const float(*s)[4] = BasicUiWidgetType3DRig_GetRigBone(W("rig"), 1);
    ASSERT_NE(s, nullptr);
    EXPECT_NEAR(s[3][2], 4.0f, 1e-5f);
    EXPECT_EQ(BasicUiWidgetType3DRig_GetRigBone(W("rig"), 2)[3][3], 0.0f);  // never written
    EXPECT_EQ(BasicUiWidgetType3DRig_GetRigBone(W("rig"), 3), nullptr);
}

// A bone that is not drawn is still a bone of the rig; only the walk does not go below it.
TEST_F(Ui3DBones, EnumerationKeepsAnUndrawnBoneAndSkipsWhatLiesBelowIt)
{
    W("arm")->isRender.value = 0;
    W("hand")->isActive.value = 1;
    BasicUiWidgetType3DRig_EnumerateBoneArray(W("rig"));
    auto* rig = static_cast<sBasicUiWidgetType3DRig*>(W("rig")->widgetTypeRef.ptr);
    ASSERT_NE(rig->iBoneW, nullptr);
    EXPECT_EQ(rig->iBoneW[0], W("root"));
    EXPECT_EQ(rig->iBoneW[1], W("arm"));
    EXPECT_EQ(rig->iBoneW[2], nullptr);
}

TEST_F(Ui3DBones, AccessorsCheckTheTypeAndPivotsKeepTheBoneLength)
{
    float far[3] = {0, 0, 10};
    BasicUiWidgetType3DBone_SetPivotPreLimit(W("hand"), far);
    EXPECT_NEAR(B("hand")->pivotPreLimit[2], 2.0f, 1e-6f);
    EXPECT_EQ(BasicUiWidgetType3DBone_GetBoneIndex(W("arm"), 1), 2);
    EXPECT_EQ(BasicUiWidgetType3DBone_GetBoneIndex(W("rect"), 0), -1);
    auto* rect = W("rect");
    std::vector<uint8_t> before(static_cast<uint8_t*>(rect->widgetTypeRef.ptr),
                                static_cast<uint8_t*>(rect->widgetTypeRef.ptr) + 64);
    EXPECT_EQ(BasicUiWidgetType3DBone_SetIsAnimated(rect, 0), 0);
    BasicUiWidgetType3DBone_SetPivotPostLimit(rect, far);
    BasicUiWidgetType3DBone_SetRotationDelta(rect, far);
    BasicUiWidgetType3DRig_SetRigBone(rect, 0, B("arm")->gTransform);
    EXPECT_EQ(0, memcmp(before.data(), rect->widgetTypeRef.ptr, before.size()));
}

TEST(Ui3DLimitMaths, ConeProjectionAndShortestArc)
{
    const float axis[3] = {0, 0, 1}, edge[3] = {1, 0, 1}, outside[3] = {0, 2, 0}, inside[3] = {0.1f, 0, 3};
    float out[3];
    BasicUi_ProjectVectorOnToCone(axis, edge, outside, out);
    // The same azimuth, on the 45-degree cone, at the same length.
    EXPECT_NEAR(out[0], 0.0f, 1e-6f);
    EXPECT_NEAR(out[1], std::sqrt(2.0f), 1e-5f);
    EXPECT_NEAR(out[2], std::sqrt(2.0f), 1e-5f);
    BasicUi_ProjectVectorOnToCone(axis, edge, inside, out);
    EXPECT_NEAR(out[0], 0.1f, 1e-5f);
    EXPECT_NEAR(out[2], 3.0f, 1e-5f);

    const float x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
    float q[4];
    BasicUi_ShortestArc(x, x, q);
    EXPECT_EQ(q[3], 1.0f);
    EXPECT_EQ(q[2], 0.0f);
    BasicUi_ShortestArc(x, y, q);
    EXPECT_NEAR(q[2], std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(q[3], std::sqrt(0.5f), 1e-6f);
    // Opposite directions: no single turn, but nothing divides by zero.
    const float mx[3] = {-1, 0, 0};
    BasicUi_ShortestArc(x, mx, q);
    for (float c : q) EXPECT_FALSE(std::isnan(c));
}

TEST_F(Ui3DBones, LimitPassConesTheTargetAndHoldsStillAtSpeedZero)
{
    // The arm wants to point straight along y, outside its 45-degree cone about z; last frame it
    // pointed along x.
    float want[3] = {0, 1, 0}, last[3] = {1, 0, 0};
    BasicUiWidgetType3DBone_SetPivotPreLimit(W("arm"), want);
    BasicUiWidgetType3DBone_SetPivotPostLimit(W("arm"), last);
    float preHand[3] = {1, 0, 0};
    BasicUiWidgetType3DBone_SetPivotPreLimit(W("hand"), preHand);
    sBasicUiWidget* first = W("cone");
    BasicUiWidgetType3DRig_LimitBonesIncremental(W("root"), &first, 0);
    EXPECT_EQ(first, W("cone"));
    // The target is moved onto the cone.
    EXPECT_NEAR(B("arm")->pivotPreLimit[1], std::sqrt(0.5f), 1e-5f);
    EXPECT_NEAR(B("arm")->pivotPreLimit[2], std::sqrt(0.5f), 1e-5f);
    // At speed 0 the arm stays where it was: the root turns the arm's rest offset (x) onto x.
    EXPECT_NEAR(B("arm")->pivotPostLimit[0], 1.0f, 1e-5f);
    EXPECT_NEAR(B("root")->rotationDelta[3], 1.0f, 1e-6f);
    // The hand's limit belongs to the arm, not the root: it was not applied.
    EXPECT_NEAR(B("hand")->pivotPreLimit[0], 2.0f, 1e-6f);
}

// The dead band: the root's turn follows a new target only by the part that lies beyond the
// band, and a target inside the band leaves it. The band is measured on the quaternions, whose
// angle is half the turn's: maxAngle degrees per second times the frame is twice that in turn.
TEST_F(Ui3DBones, ADeadBandLagsItsTargetByTheBand)
{
    auto* limit = static_cast<sBasicUiWidgetType3DBoneLimit*>(W("cone")->widgetTypeRef.ptr);
    limit->constraint.value = 3;
    limit->maxAngle = 300.0f;  // 10 degrees in a frame of 1/30 s: a band of 20 degrees of turn
    HostUseVirtualClock(1);
    BasicUiCounter_SetElapsedTime(0);
    HostAdvanceClock(1000);
    ASSERT_NEAR(BasicUiCounter_SetElapsedTime(0), 1.0f / 30.0f, 1e-6f);
    auto turnZ = [](float degrees, float q[4]) {
        const float h = degrees * 3.14159265f / 360.0f;
        q[0] = q[1] = 0.0f, q[2] = std::sin(h), q[3] = std::cos(h);
    };
    auto angleOf = [](const float q[4]) { return 2.0f * std::atan2(q[2], q[3]) * 180.0f / 3.14159265f; };
    float target[4], old[4];
    turnZ(40.0f, target);
    turnZ(0.0f, old);
    BasicUiWidgetType3DBone_SetRotationDelta(W("root"), target);
    BasicUiWidgetType3DBone_SetRotationDeltaOld(W("root"), old);
    sBasicUiWidget* first = W("cone");
    BasicUiWidgetType3DRig_LimitBonesIncremental(W("root"), &first, 0);
    EXPECT_NEAR(angleOf(B("root")->rotationDelta), 20.0f, 0.05f) << "the band short of the target";
    EXPECT_NEAR(angleOf(B("root")->rotationDeltaOld), 20.0f, 0.05f);
    // A target 16 degrees on is inside the band: the turn stays at 20.
    turnZ(36.0f, target);
    BasicUiWidgetType3DBone_SetRotationDelta(W("root"), target);
    BasicUiWidgetType3DRig_LimitBonesIncremental(W("root"), &first, 0);
    EXPECT_NEAR(angleOf(B("root")->rotationDelta), 20.0f, 0.05f);
    // Back 16 degrees, the other way: the band holds it too.
    turnZ(4.0f, target);
    BasicUiWidgetType3DBone_SetRotationDelta(W("root"), target);
    BasicUiWidgetType3DRig_LimitBonesIncremental(W("root"), &first, 0);
    EXPECT_NEAR(angleOf(B("root")->rotationDelta), 20.0f, 0.05f);
    HostUseVirtualClock(0);
}

class Ui3DRigAnimation : public Ui3DBones {
protected:
    static constexpr int kId = 7100;
    void SetUp() override
    {
        Ui3DBones::SetUp();
        ASSERT_EQ(InitResources(10000), 1);
        // Ten frames of three bones: the root moves by f along x; bone 1's key is a turn of
        // 0.1 f about x, bone 2's a turn of 0.1 f about y.
        const int length = 12 + 8 * 3, size = 20 + 10 * length;
        void* p = nullptr;
        ASSERT_EQ(AllocateClearedMemory(&p, size), 1);
        auto* a = static_cast<animation_tag*>(p);
        a->numFrames = 10;
        a->numBones = 3;
        a->rateRatio = 1.0f;
        a->frameLength = length;
        auto* bytes = static_cast<uint8_t*>(p);
        for (int f = 0; f < 10; f++) {
            uint8_t* frame = bytes + 20 + f * length;
            float t[3] = {float(f), 0, 0};
            std::memcpy(frame, t, 12);
            for (int b = 0; b < 3; b++) {
                float h = 0.05f * f;
                int16_t q[4] = {0, 0, 0, 32767};
                if (b == 1) q[0] = int16_t(std::lround(std::sin(h) * 32767)), q[3] = int16_t(std::lround(std::cos(h) * 32767));
                if (b == 2) q[1] = int16_t(std::lround(std::sin(h) * 32767)), q[3] = int16_t(std::lround(std::cos(h) * 32767));
                std::memcpy(frame + 12 + 8 * b, q, 8);
            }
        }
        ASSERT_EQ(InitializeAnimation(bytes), 1);
        resourceHeader& r = resourceHeaders[kId];
        r.resourceType = kResourceTypeAnimation;
        r.resourceUncompressedLength = r.resourceLength = size;
        r.resourceHandle = bytes;
        BasicUiWidgetType3DRig_EnumerateBoneArray(W("rig"));
    }
    void TearDown() override
    {
        FreeResources();
        Ui3DBones::TearDown();
    }
    // The rotation part of the arm's local matrix against the matrix of a turn about an axis.
    void ExpectArmTurn(float x, float y, float angle)
    {
        BasicUiWidgetType3DRig_UpdateBones(W("rig"));
        quaternion key = {x * std::sin(angle / 2), y * std::sin(angle / 2), 0, std::cos(angle / 2)};
        matrix m;
        setQuaternionMatrix(m, &key);
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 3; j++) EXPECT_NEAR(B("arm")->lTransform[i][j], m[i][j], 2e-4f) << i << j;
    }
};

TEST_F(Ui3DRigAnimation, FramesWrapAndTheNetRotationIsTheKeyWhateverTheRestRotation)
{
    // A rest rotation that is not the identity: the delta undoes it.
    B("arm")->rotation[0] = 0.6f, B("arm")->rotation[3] = 0.8f;
    float frame = -0.5f;
    BasicUiWidgetType3DRig_Animate(W("rig"), kId, &frame, 0, nullptr, 0);
    EXPECT_FLOAT_EQ(frame, 9.5f);
    ExpectArmTurn(1, 0, 0.9f);
    frame = 25.0f;
    BasicUiWidgetType3DRig_Animate(W("rig"), kId, &frame, 0, nullptr, 1);
    EXPECT_FLOAT_EQ(frame, 5.0f);
    ExpectArmTurn(1, 0, 0.5f);
    // useRoot places the root bone at the frame's translation.
    EXPECT_NEAR(B("root")->pivot[0], 5.0f, 1e-6f);
}

TEST_F(Ui3DRigAnimation, MirroringReadsTheFlipIndexAndAnUnanimatedBoneKeepsItsDelta)
{
    float frame = 4.0f;
    BasicUiWidgetType3DRig_Animate(W("rig"), kId, &frame, 1, nullptr, 0);
    // The arm plays bone 2's key, a turn about y, with y negated.
    ExpectArmTurn(0, -1, 0.4f);
    BasicUiWidgetType3DBone_SetIsAnimated(W("arm"), 0);
    frame = 7.0f;
    BasicUiWidgetType3DRig_Animate(W("rig"), kId, &frame, 1, nullptr, 0);
    ExpectArmTurn(0, -1, 0.4f);
    // A missing animation changes nothing and is reported once.
    frame = 3.0f;
    BasicUiWidgetType3DRig_Animate(W("rig"), kId + 1, &frame, 0, nullptr, 0);
    EXPECT_EQ(frame, 3.0f);
    EXPECT_TRUE(LogHas("rig"));
}

}  // namespace
