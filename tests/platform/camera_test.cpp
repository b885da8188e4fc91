#include "platform/camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "game/actors.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "platform/bitmap.h"
#include "platform/skeleton.h"
#include "support/device_heap.h"

namespace {

float MaxDiff(const matrix a, const matrix b)
{
    float worst = 0;
    for (int i = 0; i < 16; i++) worst = std::fmax(worst, std::fabs(a[i / 4][i % 4] - b[i / 4][i % 4]));
    return worst;
}

// Where a world point lands on the screen through viewXform: pixels from the left and top.
void ToScreen(float x, float y, float z, float* sx, float* sy, float* w)
{
    float v[4] = {x, y, z, 1.0f};
    composePoint(v, viewXform);
    *w = v[3];
    *sx = HTranslate + v[0] / v[3];
    *sy = VTranslate + v[1] / v[3];
}

class CameraTest : public ::testing::Test {
protected:
    DS3_bitmap_tag screen{};
    DS3_bitmap_tag* savedScreen = nullptr;

    void SetUp() override
    {
        savedScreen = screenBuffer;
        screen.width = 400;
        screen.height = 240;
        screenBuffer = &screen;
        ASSERT_EQ(InitCamera(6.0f, 150000.0f), 1);
    }
    void TearDown() override
    {
        screenBuffer = savedScreen;
        mirrorViewX = 0;
    }
};

TEST_F(CameraTest, ParametersComeFromTheScreenBeingDrawn)
{
    EXPECT_FLOAT_EQ(VScale, 144.0f);
    EXPECT_FLOAT_EQ(HTranslate, 200.0f);
    EXPECT_FLOAT_EQ(viewFrustrum.bottom, 240.0f);
    // The frustum's inverses use the viewing distance current at the call: a second InitCamera
    // sees the default that the first one set.
    cameraViewingDistance = 3.0f;
    ASSERT_EQ(InitCamera(6.0f, 600.0f), 1);
    EXPECT_FLOAT_EQ(viewFrustrum.hitherInv, 0.5f);
    ASSERT_EQ(InitCamera(6.0f, 600.0f), 1);
    EXPECT_FLOAT_EQ(viewFrustrum.hitherInv, 1.0f / 6.0f);
    // Before any screen is chosen the upper screen's size is assumed.
    screenBuffer = nullptr;
    ASSERT_EQ(SetCameraParameters(2.0f, 1.0f, 6.0f, 600.0f), 1);
    EXPECT_FLOAT_EQ(HScale, 800.0f);
    EXPECT_FLOAT_EQ(VTranslate, 120.0f);
}

TEST_F(CameraTest, TheInverseUndoesTheCameraTransform)
{
    const float poses[][7] = {
        {0.0f, -6.0f, 1.458f, 119.18f, 0.0f, 0.0f, 100.25f},
        {38.0f, -271.0f, 108.0f, 89.0f, 12.0f, 0.2f, 128.0f},
        {-20.0f, 900.0f, 40.0f, 75.0f, -30.0f, 170.0f, 5.0f},
    };
    for (const auto& p : poses) {
        cameraX = p[0], cameraY = p[1], cameraZ = p[2];
        cameraXangle = p[3], cameraYangle = p[4], cameraZangle = p[5], cameraZoom = p[6];
        ASSERT_EQ(ComposeCameraXform(), 1);
        matrix both, identity;
        composeMatrix(cameraXformInv, cameraXform, both);
        setIdentityMatrix(identity);
        EXPECT_LT(MaxDiff(both, identity), 2e-3f) << p[3] << " " << p[4] << " " << p[5];
        composeMatrix(cameraXform, cameraXformInv, both);
        EXPECT_LT(MaxDiff(both, identity), 2e-3f);
        EXPECT_EQ(0, std::memcmp(shaderViewXform, cameraXform, sizeof(matrix)));
        EXPECT_EQ(curXform, &viewXform[0]);
    }
}

TEST_F(CameraTest, TheFocusIsAtTheScreenCentreAndTheLaneRunsAway)
{
    ASSERT_EQ(ComposeCameraXform(), 1);
    float sx, sy, w;
    // The focus point lies straight ahead at the zoom distance.
    ToScreen(cameraX, cameraY, cameraZ, &sx, &sy, &w);
    EXPECT_NEAR(sx, 200.0f, 1e-3f);
    EXPECT_NEAR(sy, 120.0f, 1e-3f);
    EXPECT_NEAR(w, cameraZoom, 1e-3f);
    // Further down the lane (+Y) is higher on the screen; the right of the lane (+X) is on the
    // right; the floor in front of the camera is below the centre.
    float farX, farY, rightX, rightY;
    ToScreen(cameraX, cameraY + 500.0f, cameraZ, &farX, &farY, &w);
    EXPECT_GT(w, cameraZoom);
    EXPECT_LT(farY, 120.0f);
    ToScreen(cameraX + 10.0f, cameraY, cameraZ, &rightX, &rightY, &w);
    EXPECT_GT(rightX, 200.0f);
    EXPECT_NEAR(rightY, 120.0f, 1e-3f);

    // Mirrored, the same point is drawn on the left, as far from the centre.
    mirrorViewX = 1;
    ASSERT_EQ(ComposeCameraXform(), 1);
    float mirroredX, mirroredY;
    ToScreen(cameraX + 10.0f, cameraY, cameraZ, &mirroredX, &mirroredY, &w);
    EXPECT_NEAR(mirroredX, 400.0f - rightX, 1e-3f);
    EXPECT_EQ(GetMirrorViewX(), 1);

    // The extra zoom steps back along the view axis.
    mirrorViewX = 0;
    renderOffsetZoom = 50.0f;
    ASSERT_EQ(ComposeCameraXform(), 1);
    ToScreen(cameraX, cameraY, cameraZ, &sx, &sy, &w);
    EXPECT_NEAR(w, cameraZoom + 50.0f, 1e-3f);
    renderOffsetZoom = 0.0f;
}

TEST_F(CameraTest, TheShaderProjectionMapsTheDepthRange)
{
    ASSERT_EQ(InitCamera(10.0f, 1000.0f), 1);
    ASSERT_EQ(ComposeCameraXform(), 1);
    // Rows applied to a column vector: the near plane at depth 0, the far plane at -w.
    for (float z : {10.0f, 1000.0f}) {
        float c[4] = {};
        const float v[4] = {1.0f, 1.0f, -z, 1.0f};
        for (int r = 0; r < 4; ++r)
            for (int k = 0; k < 4; ++k) c[r] += shaderProjectionXform[r][k] * v[k];
        EXPECT_NEAR(c[2] / c[3], z == 10.0f ? 0.0f : -1.0f, 1e-5f);
        EXPECT_NEAR(c[0] / c[3], 1.0f / z, 1e-5f);
    }
}

TEST_F(CameraTest, BillboardsFaceTheCamera)
{
    cameraZangle = 30.0f;
    for (float pitch : {90.0f, 119.18f, 140.0f}) {
        cameraXangle = pitch;
        ASSERT_EQ(ComposeCameraXform(), 1);
        // A sprite's face (-y in its own frame) ends up pointing straight back at the viewer.
        float face[3] = {0.0f, -1.0f, 0.0f};
        composeNormal(face, billboardXform);
        composeNormal(face, cameraXform);
        EXPECT_NEAR(face[0], 0.0f, 1e-4f) << pitch;
        EXPECT_NEAR(face[1], 0.0f, 1e-4f) << pitch;
        EXPECT_NEAR(face[2], -1.0f, 1e-4f) << pitch;
    }
    float spin[3] = {1.0f, 0.0f, 0.0f};
    composeNormal(spin, ZbillboardXform);
    EXPECT_NEAR(spin[0], std::cos(30.0f * 3.14159265f / 180.0f), 1e-5f);
    EXPECT_NEAR(spin[1], -0.5f, 1e-5f);
}

class ActorXformTest : public CameraTest {
protected:
    std::unique_ptr<actor_tag> actor{new actor_tag()};

    void SetUp() override
    {
        CameraTest::SetUp();
        actor->Xscale = actor->Yscale = actor->Zscale = 1.0f;
        ASSERT_EQ(ComposeCameraXform(), 1);
    }
};

TEST_F(ActorXformTest, AnglesTurnTheActorAndItsViewFollows)
{
    // No angles at all: the model still turns by half a turn (its heading is measured from the
    // other side). Its origin through actorXform is its location seen by the camera.
    actor->Xlocation = 5.0f;
    actor->Ylocation = 60.0f;
    actor->Zlocation = 2.0f;
    ASSERT_EQ(ComputeActorXform(actor.get()), 1);
    matrix expect;
    setZRotationMatrix(expect, 180.0f);
    EXPECT_LT(MaxDiff(actor->lightXform, expect), 1e-6f);
    EXPECT_TRUE(actor->displayAttributes & kDisplayTransformed);
    float p[4] = {0, 0, 0, 1}, q[4] = {5.0f, 60.0f, 2.0f, 1};
    composePoint(p, actor->actorXform);
    composePosition(q, cameraXform);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i], q[i], 1e-3f);

    // Y, then X, then the heading.
    actor->heading = 90.0f;
    actor->Xangle = 30.0f;
    actor->Yangle = 20.0f;
    ASSERT_EQ(ComputeActorXform(actor.get()), 1);
    matrix y, x;
    setYRotationMatrix(y, 20.0f);
    setXRotationMatrix(x, 30.0f);
    setZRotationMatrix(expect, 90.0f);
    composeMatrix(x, y, y);
    composeMatrix(expect, y, expect);
    EXPECT_LT(MaxDiff(actor->lightXform, expect), 1e-5f);

    // Ball and pins turn by their quaternion instead.
    actor->actorFlags = 1;
    createQuaternion(0, 0, 1, 45.0f, &actor->actorRotation);
    ASSERT_EQ(ComputeActorXform(actor.get()), 1);
    setZRotationMatrix(expect, 45.0f);
    EXPECT_LT(MaxDiff(actor->lightXform, expect), 1e-5f);
}

TEST_F(ActorXformTest, RootMotionMovesTheActorInItsOwnFrame)
{
    ASSERT_EQ(UseFreshDeviceHeap(1 << 20), 1);
    ASSERT_EQ(InitResources(10000), 1);
    // A one-bone animation of two frames whose root stands at (4, 0, 0).
    const int length = 12 + 8;
    void* p = nullptr;
    ASSERT_EQ(AllocateClearedMemory(&p, 20 + 2 * length), 1);
    auto* anim = static_cast<animation_tag*>(p);
    anim->numFrames = 2;
    anim->numBones = 1;
    anim->rateRatio = 1.0f;
    anim->frameLength = length;
    for (int f = 0; f < 2; ++f) {
        float t[3] = {4.0f, 0.0f, 0.0f};
        int16_t q[4] = {0, 0, 0, 32767};
        std::memcpy(static_cast<uint8_t*>(p) + 20 + f * length, t, 12);
        std::memcpy(static_cast<uint8_t*>(p) + 20 + f * length + 12, q, 8);
    }
    ASSERT_EQ(InitializeAnimation(static_cast<uint8_t*>(p)), 1);
    resourceHeader& r = resourceHeaders[7000];
    r.resourceType = kResourceTypeAnimation;
    r.resourceUncompressedLength = r.resourceLength = 20 + 2 * length;
    r.resourceHandle = static_cast<uint8_t*>(p);

    actor->translationScaleFactor = {1, 1, 1, 0};
    actor->animInfo.animation = 7000;
    actor->Xlocation = 100.0f;
    actor->Xscale = actor->Yscale = actor->Zscale = 2.0f;
    ASSERT_EQ(ComputeActorXform(actor.get()), 1);
    // The root's 4 along the model's x is scaled by 2 and turned by the half turn: 100 - 8.
    EXPECT_NEAR(actor->worldXform[3][0], 92.0f, 1e-4f);

    // Without its animation loaded the actor is not transformed.
    actor->displayAttributes = 0;
    actor->animInfo.animation = 7001;
    EXPECT_EQ(ComputeActorXform(actor.get()), 0);
    EXPECT_FALSE(actor->displayAttributes & kDisplayTransformed);
    FreeResources();
    ReleaseDeviceHeap();
}

}  // namespace
