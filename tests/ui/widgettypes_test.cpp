#include "ui/widgettypes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "host/gpu.h"
#include "lib/resourceload.h"
#include "lib/screenapi.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"

namespace {

TEST(BasicUiWidgetTypeNames, EachNameGivesItsOwnTypeAndAnythingElseTheNullType)
{
    std::set<std::string> seen;
    for (int type = 0; type < EBasicUiWidgetTypeCount; type++) {
        ASSERT_NE(basicUiWidgetTypeNameStr[type], nullptr) << type;
        EXPECT_TRUE(seen.insert(basicUiWidgetTypeNameStr[type]).second) << basicUiWidgetTypeNameStr[type];
        EXPECT_EQ(BasicUI_GetWidgetType(basicUiWidgetTypeNameStr[type]), type);
    }
    EXPECT_EQ(basicUiWidgetTypeNameStr[EBasicUiWidgetTypeCount], nullptr);
    EXPECT_EQ(BasicUI_GetWidgetType("cmdSeq"), EBasicUiWidgetTypeCmdSequence);
    EXPECT_EQ(BasicUI_GetWidgetType("3DBoneLimit"), EBasicUiWidgetType3DBoneLimit);
    EXPECT_EQ(BasicUI_GetWidgetType("stickyCursor"), EBasicUiWidgetTypeStickyCursor);
    for (const char* other : {"wtbutton", "wtButton ", "3D", "", static_cast<const char*>(nullptr)})
        EXPECT_EQ(BasicUI_GetWidgetType(other), 0) << (other ? other : "null");
}

using BasicUiWidgetTypeDispatch = UiLoadTest;

// Every type name in a description gives a widget of that type in its place in the tree, with at
// least the base properties, and the frame runs over all of them; clearing destroys them.
TEST_F(BasicUiWidgetTypeDispatch, ADescriptionWithEveryTypeLoadsAndRuns)
{
    StartRenderer();
    std::string xml = "<BasicUiDisplay name=\"lower\">\n<BasicUiScreen name=\"all\">\n";
    for (int type = 0; type < EBasicUiWidgetTypeCount; type++) {
        std::string n = std::to_string(type);
        xml += "<BasicUiWidget name=\"w" + n + "\" typeWidget=\"" + basicUiWidgetTypeNameStr[type] +
               "\">\n<BasicUiWidget name=\"child" + n + "\"/>\n</BasicUiWidget>\n";
    }
    xml += "<BasicUiWidget name=\"unknown\" typeWidget=\"wtNoSuchType\"/>\n</BasicUiScreen>\n</BasicUiDisplay>\n";
    ASSERT_EQ(LoadText(xml), 1);

    sBasicUiScreen* screen = BasicUi_FindScreen(env, "all");
    ASSERT_NE(screen, nullptr);
    static sBasicUiPropertyTracker tracker;
    sBasicUiWidget* w = screen->nextWidget;
    for (int type = 0; type < EBasicUiWidgetTypeCount; type++, w = w->nextWidget) {
        ASSERT_NE(w, nullptr) << type;
        EXPECT_EQ(w->widgetTypeRef.type, type) << basicUiWidgetTypeNameStr[type];
        ASSERT_NE(w->childWidget, nullptr) << type;
        EXPECT_EQ(w->childWidget->parentWidget, w);
        BasicUiWidget_InitialisePropertyTracker(w, &tracker);
        EXPECT_GE(tracker.props, 5) << type;
    }
    ASSERT_NE(w, nullptr);
    EXPECT_STREQ(w->name, "unknown");
    EXPECT_EQ(w->widgetTypeRef.type, 0);

    EXPECT_EQ(BasicUi_UpdateEnvironment(env, 1.0f / 30.0f), 1);
    EXPECT_EQ(BasicUi_RenderEnvironment(env), 1);
    BasicUiEnvironment_Clear(env);
    EXPECT_EQ(env->displayRoot, nullptr);
}

TEST_F(BasicUiWidgetTypeDispatch, TypesOutsideTheTableAreInertAndADestroyedWidgetIsTypeNull)
{
    for (int type : {-1, int(EBasicUiWidgetTypeCount), 255}) {
        sBasicUiWidgetTypeRef ref = BasicUiWidgetType_Create(env, type);
        EXPECT_EQ(ref.type, 0) << type;
        EXPECT_EQ(ref.ptr, nullptr) << type;
    }
    ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\"><BasicUiWidget name=\"w\"/>"
                       "</BasicUiScreen></BasicUiDisplay>"),
              1);
    sBasicUiWidget* w = BasicUi_FindWidget(env, "w");
    ASSERT_NE(w, nullptr);
    int marker = 0;
    w->widgetTypeRef = {200, &marker};  // as a damaged record might hold
    static sBasicUiPropertyTracker tracker;
    BasicUiPropertyTracker_Reset(&tracker, eBasicUiPropertyTrackerTypeWidget, w);
    EXPECT_EQ(BasicUiWidgetType_InitialiseTracker(w, &tracker), 0);
    EXPECT_EQ(tracker.props, 0);
    EXPECT_EQ(BasicUiWidgetType_Update(w, 0.5f), 0);
    EXPECT_EQ(BasicUiWidgetType_Render(w), 0);
    BasicUiWidgetType_Destroy(env, w);
    EXPECT_EQ(w->widgetTypeRef.type, 0);
    EXPECT_EQ(w->widgetTypeRef.ptr, nullptr);

    // A widget with a record: after its destroy it is type 0, so a second destroy does nothing.
    w->widgetTypeRef = BasicUiWidgetType_Create(env, EBasicUiWidgetTypeInstance);
    ASSERT_NE(w->widgetTypeRef.ptr, nullptr);
    EXPECT_EQ(BasicUiWidgetType_Destroy(env, w), 1);
    EXPECT_EQ(w->widgetTypeRef.type, 0);
    EXPECT_EQ(w->widgetTypeRef.ptr, nullptr);
    EXPECT_EQ(BasicUiWidgetType_Destroy(env, w), 1);
    EXPECT_EQ(BasicUiWidgetType_Update(nullptr, 0.5f), 0);
    EXPECT_EQ(BasicUiWidgetType_Destroy(env, nullptr), 0);
}

using GlUiLabel = UiLoadTest;

// A label's font.r, font.g and font.b colour its text: red asked for, red drawn, and no white.
TEST_F(GlUiLabel, FontColourColoursTheText)
{
    ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                       "<BasicUiWidget name=\"l\" typeWidget=\"wtLabel\" x=\"20\" y=\"20\" w=\"200\" h=\"24\" "
                       "hasRectangle=\"0\" fontResID=\"3077\" font.r=\"255\" font.g=\"0\" font.b=\"0\" cstr=\"WWWW MMMM\"/>"
                       "</BasicUiScreen></BasicUiDisplay>"),
              1);
    StartRenderer();
    ASSERT_EQ(ScreenInitializeAPI(), 1);
    ASSERT_EQ(LoadResourceRange1x1(3050, 3084), 1);
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay1(), 1);
    BasicUiWidgetType_Render(BasicUi_FindWidget(env, "l"));
    ASSERT_EQ(RenderEndDisplay1(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    ASSERT_EQ(GpuReadDisplaybuffer(m_DisplayBuffers1.displayBufferIdArray[m_DisplayBuffers1.m_CurrentBufferIndex ^ 1u],
                                   &rgb, &width, &height),
              1);
    int red = 0, white = 0;
    for (int y = 20; y < 44; ++y)
        for (int x = 20; x < 220; ++x) {
            const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
            red += p[0] > 150 && p[1] < 60 && p[2] < 60;
            white += p[0] > 150 && p[1] > 150 && p[2] > 150;
        }
    EXPECT_GT(red, 50);
    EXPECT_EQ(white, 0);
}

}  // namespace
