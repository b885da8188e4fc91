// Sticky buttons under the sticky cursor, driven by the stylus through the first controller's
// touch panel: a touch off the button fires nothing, one held on it fires after its interval and
// again after each further interval when it repeats, a tapped button fires once per touch, and a
// pressed button can inject a direction.
#include <gtest/gtest.h>

#include <string>

#include "platform/input.h"
#include "ui/frameupdate.h"
#include "ui/presslatch.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/sticky.h"
#include "ui/widgettypes.h"

namespace {

class BasicUiSticky : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        saved = controllers[0].controller;
        controllers[0].controller = &pad;
    }
    void TearDown() override
    {
        controllers[0].controller = saved;
        UiLoadTest::TearDown();
    }
    void Load(const std::string& buttons)
    {
        ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                           "<BasicUiWidget name=\"fire\" typeWidget=\"cmdSeq\"/>"
                           "<BasicUiWidget name=\"in\" typeWidget=\"cmdSeq\"/>" +
                           buttons +
                           "<BasicUiWidget name=\"cur\" typeWidget=\"stickyCursor\" w=\"720\" h=\"360\" "
                           "alphaRate=\"1\"/></BasicUiScreen></BasicUiDisplay>"),
                  1);
        env->inputMode = BasicUiInputMode_Normal;
    }
    // Holds the stylus at a lower-screen point for n frames (or lifts it with x 0); counts firings.
    int Hold(int x, int y, int frames)
    {
        int fired = 0;
        for (int i = 0; i < frames; ++i) {
            pad.touchData = {x, y, x ? 1 : 0};
            BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
            auto* s = static_cast<sBasicUiWidgetTypeCmdSequence*>(BasicUi_FindWidget(env, "fire")->widgetTypeRef.ptr);
            fired += s->cmdSeqActive.value;
            s->cmdSeqActive.value = 0;
        }
        return fired;
    }
    DS3_controller pad = {};
    DS3_controller* saved = nullptr;
};

// A circle of radius 20 at canvas (560, 180): the lower screen's centre, stylus (160, 120).
std::string Circle(const char* extra, const char* interval = "1.0")
{
    return std::string("<BasicUiWidget name=\"b\" typeWidget=\"stickyButton\" x=\"560\" y=\"180\" "
                       "innerRadius=\"20\" outerRadius=\"40\" cmd=\"fire\" cursor=\"cur\" inteval=\"") +
           interval + "\" " + extra + "/>";
}

TEST_F(BasicUiSticky, HoldingFiresAfterTheIntervalAndRepeatsOnlyWhenAsked)
{
    Load(Circle("repeats=\"1\""));
    EXPECT_EQ(Hold(10, 10, 60), 0);  // far off the button
    Hold(0, 0, 2);
    EXPECT_EQ(Hold(160, 120, 105), 3);  // 3.5 s held
}

TEST_F(BasicUiSticky, WithoutRepeatsAHoldFiresOnceAndTheCursorIsCapturedByTheButton)
{
    Load(Circle(""));
    EXPECT_EQ(Hold(185, 130, 105), 1);  // within the capture radius, outside the press radius
    float x, y;
    BasicUiWidgetTypeStickyCursor_GetCursor(BasicUi_FindWidget(env, "cur"), &x, &y);
    EXPECT_NEAR(x, 560.0f, 0.5f);
    EXPECT_NEAR(y, 180.0f, 0.5f);
}

TEST_F(BasicUiSticky, ImmediateButtonsFireOnTheFirstFrameOfATouchAndInjectTheirDirection)
{
    Load(Circle("pressCmd=\"1\" pressPad=\"1\" pressDir=\"Right\" pressEdge=\"Up\"", "0"));
    EXPECT_EQ(Hold(160, 120, 1), 0);  // the cursor reaches the button in this frame
    EXPECT_EQ(Hold(160, 120, 1), 1);
    EXPECT_EQ(basicUiInput.edges, kButtonA);  // the second pad's right, as an edge only
    EXPECT_EQ(basicUiInput.buttons, 0);
    EXPECT_EQ(Hold(160, 120, 20), 0);
}

// A button without an interval is tapped: a touch of one frame that lands on it fires it once,
// the cursor left where the stylus was lifted presses nothing, and a touch that was already down
// when the page opened is no touch until it has been lifted.
TEST_F(BasicUiSticky, ATapFiresOnceWhereItLandsAndATouchFromBeforeThePageIsNone)
{
    Load(Circle("", "0"));
    EXPECT_EQ(Hold(160, 120, 1) + Hold(0, 0, 1), 1);
    EXPECT_EQ(Hold(0, 0, 10), 0);
    pad.touchData = {160, 120, 1};
    BasicUi_LatchPresses();
    EXPECT_EQ(Hold(160, 120, 20), 0);
    Hold(0, 0, 1);
    EXPECT_EQ(Hold(160, 120, 2), 1);
}

}  // namespace
