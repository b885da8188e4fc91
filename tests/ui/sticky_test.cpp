// Sticky buttons under the sticky cursor, driven by the stylus through the first controller's
// touch panel: a touch off the button fires nothing, one held on it fires after its interval and
// again after each further interval when it repeats, a tapped button fires once per touch, and a
// pressed button can inject a direction.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "overlays/overlaystack.h"
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
    void Load(const std::string& buttons, const std::string& cursor = "")
    {
        ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                           "<BasicUiWidget name=\"fire\" typeWidget=\"cmdSeq\"/>"
                           "<BasicUiWidget name=\"in\" typeWidget=\"cmdSeq\"/>" +
                           buttons +
                           "<BasicUiWidget name=\"cur\" typeWidget=\"stickyCursor\" w=\"720\" h=\"360\" "
                           "alphaRate=\"1\" " + cursor + "/></BasicUiScreen></BasicUiDisplay>"),
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

// An overlay open over the menus owns the stylus: the cursor stays where it was and presses nothing
// until the overlay has gone.
TEST_F(BasicUiSticky, TheCursorWaitsWhileAnOverlayIsOpen)
{
    Load(Circle("", "0"));
    Hold(10, 10, 2);
    Hold(0, 0, 1);
    static const OVERLAYTAG overlay = {[] { return 1; }, [] { return 1; }, nullptr, nullptr, nullptr, 0};
    ASSERT_EQ(OverlaySelect(&overlay), 1);
    const int firedUnder = Hold(160, 120, 5);
    OverlayResetStack();
    EXPECT_EQ(firedUnder, 0);
    Hold(0, 0, 1);
    EXPECT_EQ(Hold(160, 120, 3), 1);
}

// Dragged at the longest frame the UI counts (1/30 s), the eased cursor closes on the stylus
// without passing it, whatever its delay.
TEST_F(BasicUiSticky, TheEasedCursorNeverOvershootsTheStylus)
{
    for (const char* delay : {"0.05", "0.15", "0.3"}) {
        Load("", std::string("delay=\"") + delay + "\"");
        Hold(10, 10, 1);
        auto* c = static_cast<sBasicUiWidgetTypeStickyCursor*>(BasicUi_FindWidget(env, "cur")->widgetTypeRef.ptr);
        const float startX = c->gravitatedCursorX;
        float x = 0, y = 0, most = 0;
        for (int i = 0; i < 60; ++i) {
            Hold(300, 200, 1);
            BasicUiWidgetTypeStickyCursor_GetCursor(BasicUi_FindWidget(env, "cur"), &x, &y);
            most = std::max(most, x);
        }
        ASSERT_GT(c->activeCursorX, startX + 100.0f);
        EXPECT_LE(most, c->activeCursorX + 0.01f) << delay;
        EXPECT_NEAR(x, c->activeCursorX, 1.0f) << delay;
        EXPECT_NEAR(y, c->activeCursorY, 1.0f) << delay;
        Hold(0, 0, 1);
    }
}

}  // namespace
