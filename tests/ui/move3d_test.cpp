// The 3D movement trigger driving a transform from the circle pad: an absolute turn follows the
// pad, relative values step every frame and wrap, smoothing never overshoots however short its
// delay, and a target of another type is left alone.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/input.h"
#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/move3d.h"
#include "ui/widgets/transform3d.h"

namespace {

class Ui3DMove : public UiLoadTest {
protected:
    sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(env, name); }
    sBasicUiWidgetTypeTriggerMove3D* M(const char* name)
    {
        return static_cast<sBasicUiWidgetTypeTriggerMove3D*>(W(name)->widgetTypeRef.ptr);
    }
    void TearDown() override
    {
        allInput.x = allInput.y = 0.0f;
        UiLoadTest::TearDown();
    }
    void Frame(float padX)
    {
        allInput.x = padX;
        BasicUi_UpdateEnvironment(env, 1.0f / 30);
    }
};

TEST_F(Ui3DMove, ThePadTurnsTheBowlerAbsolutelyAboutUp)
{
    ASSERT_EQ(LoadText("<BasicUiDisplay name=\"upper\"><BasicUiScreen name=\"s\">"
                       "<BasicUiWidget name=\"turn\" typeWidget=\"tMove3D\" transform=\"bowler\" isRotateDir=\"1\""
                       " isRotateAbs=\"1\" limitedRotateDir=\"1\" limitedMoveDir=\"1\" deltaMinRotateDir=\"-180\""
                       " deltaMaxRotateDir=\"180\" axis.z=\"1\" controlForRotateDir=\"1\"/>"
                       "<BasicUiWidget name=\"bowler\" typeWidget=\"3DPRS\"/>"
                       "<BasicUiWidget name=\"model\" typeWidget=\"3DPRS\" position.x=\"3\"/>"
                       "<BasicUiWidget name=\"wrong\" typeWidget=\"tMove3D\" transform=\"rect\" limitedMoveDir=\"0\""
                       " position.z=\"0.1\"/>"
                       "<BasicUiWidget name=\"rect\" typeWidget=\"wtRectangle\"/>"
                       "</BasicUiScreen></BasicUiDisplay>"),
              1);
    auto* rect = W("rect");
    std::vector<uint8_t> before(static_cast<uint8_t*>(rect->widgetTypeRef.ptr),
                                static_cast<uint8_t*>(rect->widgetTypeRef.ptr) + 64);
    float rot[4];
    Frame(1.0f);  // full right: half a turn
    EXPECT_NEAR(M("turn")->valueRotateDir, 180.0f, 1e-4f);
    BasicUiWidgetType3DPRS_GetRotation(W("bowler"), rot);
    EXPECT_NEAR(std::fabs(rot[2]), 1.0f, 1e-3f);
    Frame(0.0f);  // at rest: facing the default way, no turn
    BasicUiWidgetType3DPRS_GetRotation(W("bowler"), rot);
    EXPECT_NEAR(rot[3], 1.0f, 1e-6f);
    Frame(-0.5f);  // a quarter turn the other way, and the world matrix follows in the same frame
    EXPECT_NEAR(M("turn")->valueRotateDir, -90.0f, 1e-4f);
    sBasicUiWidget* b = W("bowler");
    const float(*g)[4] = static_cast<sBasicUiWidgetType3DPRS*>(b->widgetTypeRef.ptr)->gTransform;
    EXPECT_NEAR(std::fabs(g[0][1]), 1.0f, 1e-3f);
    EXPECT_EQ(0, std::memcmp(before.data(), rect->widgetTypeRef.ptr, before.size()));
}

TEST_F(Ui3DMove, RelativeValuesStepAndWrapAndSmoothingNeverOvershoots)
{
    ASSERT_EQ(LoadText("<BasicUiDisplay name=\"upper\"><BasicUiScreen name=\"s\">"
                       "<BasicUiWidget name=\"spin\" typeWidget=\"tMove3D\" transform=\"t\" isRotateDir=\"1\""
                       " controlForRotateDir=\"1\" deltaMinRotateDir=\"-1\" deltaMaxRotateDir=\"1\" axis.z=\"1\""
                       " limitedRotateDir=\"1\" valueRotateDir=\"365\" limitedMoveDir=\"1\"/>"
                       "<BasicUiWidget name=\"slide\" typeWidget=\"tMove3D\" transform=\"u\" isMoveDir=\"1\""
                       " isMoveAbs=\"1\" delay=\"0.05\" controlForMoveDir=\"1\" deltaMinMoveDir=\"-1\""
                       " deltaMaxMoveDir=\"1\" minMoveDir=\"-1\" limitedMoveDir=\"1\" limitedRotateDir=\"1\"/>"
                       "<BasicUiWidget name=\"drift\" typeWidget=\"tMove3D\" transform=\"v\" position.z=\"0.1\"/>"
                       "<BasicUiWidget name=\"t\" typeWidget=\"3DPRS\"/><BasicUiWidget name=\"u\" typeWidget=\"3DPRS\"/>"
                       "<BasicUiWidget name=\"v\" typeWidget=\"3DPRS\"/>"
                       "</BasicUiScreen></BasicUiDisplay>"),
              1);
    Frame(0.0f);
    EXPECT_NEAR(M("spin")->valueRotateDir, 5.0f, 1e-4f);  // 365 wraps, the pad at rest adds 0
    Frame(0.5f);
    EXPECT_NEAR(M("spin")->valueRotateDir, 5.5f, 1e-4f);
    // With a 0.05 s delay the raw factor is 2 / 0.0025 / 30 = 26.7: it is held to 1, so the value
    // lands on the pad's target instead of swinging ever wider.
    for (int i = 0; i < 5; i++) Frame(0.5f);
    EXPECT_NEAR(M("slide")->valueMoveDir, 0.5f, 1e-5f);
    EXPECT_FLOAT_EQ(BasicUi_SmoothingFactor(0.5f, 1.0f / 30), 8.0f / 30);
    // A relative move drifts by its step every frame, even at rest.
    float p[3];
    BasicUiWidgetType3DPRS_GetPosition(W("v"), p);
    EXPECT_NEAR(p[2], 0.7f, 1e-4f);  // seven frames
}

}  // namespace
