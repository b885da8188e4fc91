// 3D models in a UI scene on a real GPU with the build's game data: three balls queued in a
// sorted scene are drawn farthest first from the first frame, a
// model on the lower screen and a missing model draw nothing, and the quad and 3D clip hold
// their properties.
#include <gtest/gtest.h>

#include <cstdlib>

#include "host/errorlog.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "support/game_data.h"
#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/model3d.h"
#include "ui/widgets/scene3d.h"
#include "ui/widgets/skeleton3d.h"
#include "platform/skeleton.h"

namespace {

class GlUi3DModels : public UiLoadTest {
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
        ASSERT_EQ(LoadResourceGroup(kLaneObjectTextures), 1);
        void* ballData = ReadResource(kBallModel);
        ASSERT_NE(ballData, nullptr) << HostErrorLog();
        ASSERT_EQ(ResourceLoaded(kBallModel), 1);
    }
    void TearDown() override
    {
        UiLoadTest::TearDown();
        gHostOptions = saved;
    }
    sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(env, name); }
    sBasicUiWidgetType3DModel* M(const char* name)
    {
        return static_cast<sBasicUiWidgetType3DModel*>(W(name)->widgetTypeRef.ptr);
    }
    void Frame()
    {
        BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
        ASSERT_EQ(BasicUi_RenderEnvironmentFull(env), 1);
    }
    HostOptions saved;
};

TEST_F(GlUi3DModels, QueuedBallsDrawFarthestFirstFromTheFirstFrame)
{
    std::string ball = std::to_string(kBallModel);
    std::string xml = "<BasicUiDisplay name=\"upper\"><BasicUiScreen name=\"s\">"
                      "<BasicUiWidget name=\"init\" typeWidget=\"3DInit\" sortMode=\"2\"/>";
    // Nearest first in the tree: 2, 4 and 6 units from the default camera.
    for (int i = 1; i <= 3; i++) {
        std::string n = std::to_string(i);
        xml += "<BasicUiWidget name=\"p" + n + "\" typeWidget=\"3DPRS\" position.y=\"" + std::to_string(2 * i) +
               "\"><BasicUiWidget name=\"m" + n + "\" typeWidget=\"3DModel\" modelID=\"" + ball + "\"/></BasicUiWidget>";
    }
    xml += "<BasicUiWidget name=\"missing\" typeWidget=\"3DModel\" modelID=\"4999\" depthSort=\"0\"/>"
           "<BasicUiWidget name=\"quad\" typeWidget=\"3DQuad\" x2.y=\"3\"/>"
           "<BasicUiWidget name=\"clip3d\" typeWidget=\"3DClip\" model=\"m1\"/>"
           "<BasicUiWidget name=\"fini\" typeWidget=\"3DFini\"/></BasicUiScreen></BasicUiDisplay>";
    ASSERT_EQ(LoadText(xml), 1);
    auto* init = static_cast<sBasicUiWidgetType3DInit*>(W("init")->widgetTypeRef.ptr);

    Frame();  // picked up, queued and drawn farthest first
    EXPECT_EQ(M("m1")->internalModelID, kBallModel);
    EXPECT_EQ(init->orderedItems, 3u);
    EXPECT_EQ(M("m3")->depthIndex, 0u);
    EXPECT_EQ(M("m2")->depthIndex, 1u);
    EXPECT_EQ(M("m1")->depthIndex, 2u);
    EXPECT_NEAR(init->orderedItem[0].depth, 6.0f, 1e-4f);
    // The missing model has none and says so once.
    EXPECT_EQ(M("missing")->internalModelID, -2);
    EXPECT_EQ(M("missing")->model, nullptr);
    EXPECT_TRUE(LogHas("4999"));
    auto* quad = static_cast<sBasicUiWidgetType3DQuad*>(W("quad")->widgetTypeRef.ptr);
    EXPECT_EQ(quad->x2[1], 3.0f);
    auto* clip = static_cast<sBasicUiWidgetType3DClip*>(W("clip3d")->widgetTypeRef.ptr);
    EXPECT_EQ(clip->model, W("m1"));
}

// A model disposed of while the widget shows it is dropped, not drawn from freed memory, and picked
// up again once it is read back.
TEST_F(GlUi3DModels, ADisposedModelIsDroppedAndPickedUpAgain)
{
    ASSERT_EQ(LoadText("<BasicUiDisplay name=\"upper\"><BasicUiScreen name=\"s\">"
                       "<BasicUiWidget name=\"m\" typeWidget=\"3DModel\" depthSort=\"0\" modelID=\"" +
                       std::to_string(kBallModel) + "\"/></BasicUiScreen></BasicUiDisplay>"),
              1);
    Frame();
    ASSERT_NE(M("m")->model, nullptr);
    ASSERT_EQ(DisposeResource(kBallModel), 1);
    Frame();
    EXPECT_EQ(M("m")->model, nullptr);
    EXPECT_EQ(M("m")->internalModelID, -2);
    ASSERT_NE(ReadResource(kBallModel), nullptr);
    Frame();
    void* handle = nullptr;
    ASSERT_EQ(GetResourceHandle(kBallModel, &handle), 1);
    EXPECT_EQ(M("m")->model, handle);
}

}  // namespace

namespace {

// A character naming a body group or an animation that the game data lacks draws nothing, says
// so once, and keeps trying; the one whose resources are there loads on its first pass.
TEST_F(GlUi3DModels, ACharacterWithAMissingBodyOrAnimationDrawsNothing)
{
    ASSERT_EQ(LoadResourceGroup(911), 1);
    ASSERT_NE(ReadResource(1325), nullptr);
    ASSERT_EQ(LoadText("<BasicUiDisplay name=\"upper\"><BasicUiScreen name=\"s\">"
                       "<BasicUiWidget name=\"init\" typeWidget=\"3DInit\"/>"
                       "<BasicUiWidget name=\"noBody\" typeWidget=\"3DSkeleton\" bodyID=\"4242\" animID=\"1325\"/>"
                       "<BasicUiWidget name=\"noAnim\" typeWidget=\"3DSkeleton\" bodyID=\"911\" animID=\"4243\"/>"
                       "<BasicUiWidget name=\"whole\" typeWidget=\"3DSkeleton\" bodyID=\"911\" animID=\"1325\"/>"
                       "<BasicUiWidget name=\"fini\" typeWidget=\"3DFini\"/></BasicUiScreen></BasicUiDisplay>"),
              1);
    auto S = [&](const char* n) { return static_cast<sBasicUiWidgetType3DSkeleton*>(W(n)->widgetTypeRef.ptr); };
    for (int i = 0; i < 3; i++) Frame();
    EXPECT_EQ(S("noBody")->internalBodyID, -1);
    EXPECT_EQ(S("noAnim")->internalAnimID, -1);
    EXPECT_EQ(S("noAnim")->refresh.value, 1) << "still loading";
    EXPECT_TRUE(LogHas("4242"));
    EXPECT_TRUE(LogHas("4243"));
    EXPECT_EQ(S("whole")->internalBodyID, 911);
    EXPECT_EQ(S("whole")->internalAnimID, 1325);
    EXPECT_EQ(S("whole")->refresh.value, 0);
}

}  // namespace

namespace {

// Without depth writes, what covers what is the order of drawing: in a sorted scene the near ball,
// first in the tree, is drawn after the far pin behind it and covers it from the second frame on;
// drawn at once in tree order the pin covers the ball.
TEST_F(GlUi3DModels, SortedModelsAreDrawnFarthestFirst)
{
    ASSERT_NE(ReadResource(kPinModel), nullptr);
    std::string xml = "<BasicUiDisplay name=\"upper\"><BasicUiScreen name=\"s\">"
                      "<BasicUiWidget name=\"init\" typeWidget=\"3DInit\" sortMode=\"1\" renderZ=\"0\" bfc=\"0\"/>"
                      "<BasicUiWidget name=\"near\" typeWidget=\"3DPRS\" position.z=\"25\" rotation.k=\"0\" rotation.r=\"1\">"
                      " <BasicUiWidget name=\"ball\" typeWidget=\"3DModel\" modelID=\"" + std::to_string(kBallModel) + "\"/>"
                      "</BasicUiWidget>"
                      "<BasicUiWidget name=\"far\" typeWidget=\"3DPRS\" position.z=\"40\" rotation.k=\"0\" rotation.r=\"1\">"
                      " <BasicUiWidget name=\"pin\" typeWidget=\"3DModel\" modelID=\"" + std::to_string(kPinModel) + "\"/>"
                      "</BasicUiWidget>"
                      "<BasicUiWidget name=\"fini\" typeWidget=\"3DFini\"/></BasicUiScreen></BasicUiDisplay>";
    ASSERT_EQ(LoadText(xml), 1);
    auto centre = [&]() {
        std::vector<uint8_t> rgb;
        int w = 0, h = 0;
        const DS3_DisplayBufferDescription& set = m_DisplayBuffers0;
        EXPECT_EQ(GpuReadDisplaybuffer(set.displayBufferIdArray[set.m_CurrentBufferIndex ^ 1u], &rgb, &w, &h), 1);
        std::vector<uint8_t> p(rgb.begin() + (size_t(120) * w + 200) * 3, rgb.begin() + (size_t(120) * w + 200) * 3 + 3);
        return p;
    };
    Frame();
    Frame();
    std::vector<uint8_t> sorted = centre();
    EXPECT_GT(sorted[2], sorted[0] + 40) << "the blue ball in front";
    static_cast<sBasicUiWidgetType3DInit*>(W("init")->widgetTypeRef.ptr)->orderingMode.value = 0;
    Frame();
    std::vector<uint8_t> inTreeOrder = centre();
    EXPECT_LT(inTreeOrder[2], inTreeOrder[0] + 40) << "the pin drawn over the ball";
    EXPECT_GT(inTreeOrder[0] + inTreeOrder[1], 200) << "the pin is light";
}

// Each frame draws the balls shown in it, lit by the scene: in sort mode 0 a ball that never
// queued has the scene's lights, not none; sorted, a ball hidden after it was drawn is gone in
// the next frame and one shown later is drawn at once.
TEST_F(GlUi3DModels, EachFrameDrawsTheBallsShownInItLitByTheScene)
{
    const std::string ball = std::to_string(kBallModel);
    auto place = [&](const char* name, const char* x, const char* shown) {
        return std::string("<BasicUiWidget name=\"at") + name + "\" typeWidget=\"3DPRS\" position.x=\"" + x +
               "\" position.z=\"25\" rotation.k=\"0\" rotation.r=\"1\">"
               "<BasicUiWidget name=\"" + name + "\" typeWidget=\"3DModel\" modelID=\"" + ball + "\" isRender=\"" +
               shown + "\"/></BasicUiWidget>";
    };
    ASSERT_EQ(LoadText("<BasicUiDisplay name=\"upper\"><BasicUiScreen name=\"s\">"
                       "<BasicUiWidget name=\"grey\" typeWidget=\"wtRectangle\" w=\"720\" h=\"360\" r=\"128\" "
                       "g=\"128\" b=\"128\" alpha=\"255\" mr=\"127\" mg=\"127\" mb=\"127\"/>"
                       "<BasicUiWidget name=\"init\" typeWidget=\"3DInit\" sortMode=\"0\"/>" +
                       place("a", "0", "1") + place("b", "6", "0") +
                       "<BasicUiWidget name=\"fini\" typeWidget=\"3DFini\"/></BasicUiScreen></BasicUiDisplay>"),
              1);
    auto at = [&](int x) {
        std::vector<uint8_t> rgb;
        int w = 0, h = 0;
        const DS3_DisplayBufferDescription& set = m_DisplayBuffers0;
        EXPECT_EQ(GpuReadDisplaybuffer(set.displayBufferIdArray[set.m_CurrentBufferIndex ^ 1u], &rgb, &w, &h), 1);
        const uint8_t* p = &rgb[(size_t(120) * w + x) * 3];
        return std::vector<int>{p[0], p[1], p[2]};
    };
    auto blue = [](const std::vector<int>& p) { return p[2] > p[0] + 40; };
    auto grey = [](const std::vector<int>& p) { return p[0] > 100 && std::abs(p[2] - p[0]) < 10; };
    Frame();
    Frame();
    EXPECT_TRUE(blue(at(200))) << "drawn at once, lit";
    static_cast<sBasicUiWidgetType3DInit*>(W("init")->widgetTypeRef.ptr)->orderingMode.value = 2;
    Frame();
    EXPECT_TRUE(blue(at(200))) << "queued and drawn in its first frame";
    Frame();
    W("a")->isRender.value = 0;
    Frame();
    EXPECT_TRUE(grey(at(200))) << "hidden";
    W("b")->isRender.value = 1;
    Frame();
    EXPECT_TRUE(blue(at(250))) << "shown later, to the right";
}

}  // namespace
