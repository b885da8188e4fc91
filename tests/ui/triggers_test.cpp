// Triggers loaded from descriptions and driven through the controller and the display cursor:
// which sequence each starts and when, and the navigation walk over button links with its faults
// mended (a ring of unavailable buttons, nothing to start from, one "minimise" per idle spell).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/input.h"
#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/button.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/triggers.h"
#include "ui/widgettypes.h"

namespace {

// Sequences s0..s9 with nothing in them: a fired one stays marked active until its next update.
std::string Seqs()
{
    std::string s;
    for (int i = 0; i < 10; ++i) s += "<BasicUiWidget name=\"s" + std::to_string(i) + "\" typeWidget=\"cmdSeq\"/>";
    return s;
}

class BasicUiTriggers : public UiLoadTest {
protected:
    void Load(const std::string& widgets)
    {
        ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">" + widgets + Seqs() +
                           "</BasicUiScreen></BasicUiDisplay>"),
                  1);
        env->inputMode = BasicUiInputMode_Normal;
    }
    sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(env, name); }
    // Which of s0..s9 were fired, as a string of digits; clears them.
    std::string Fired()
    {
        std::string out;
        for (int i = 0; i < 10; ++i) {
            auto* s = static_cast<sBasicUiWidgetTypeCmdSequence*>(W(("s" + std::to_string(i)).c_str())->widgetTypeRef.ptr);
            if (s->cmdSeqActive.value) out += char('0' + i);
            s->cmdSeqActive.value = 0;
        }
        return out;
    }
    // Runs the named trigger's update with the controller copy holding these bits.
    void Step(const char* trigger, int buttons, int edges, float dt = 1.0f / 30.0f)
    {
        basicUiInput.buttons = uint16_t(buttons);
        basicUiInput.edges = uint16_t(edges);
        BasicUiWidgetType_Update(W(trigger), dt);
    }
    sBasicUiDisplay* D() { return BasicUi_FindDisplay(env, "d"); }
};

const char* kPad =
    "<BasicUiWidget name=\"p\" typeWidget=\"tPad\" dpad0U=\"s0\" dpad0D=\"s1\" dpad1D=\"s5\" dpad1R=\"s7\" "
    "start=\"s8\" select=\"s9\"/>";

TEST_F(BasicUiTriggers, PadFiresTheFirstMatchOnlyFaceButtonsOnReleaseAndSelectOnItsOwnBit)
{
    Load(kPad);
    Step("p", kButtonUp | kButtonB, kButtonUp | kButtonB);
    EXPECT_EQ(Fired(), "0");
    Step("p", kButtonB, kButtonB);
    EXPECT_EQ(Fired(), "");
    Step("p", 0, kButtonB);
    EXPECT_EQ(Fired(), "5");
    Step("p", 0, kButtonSelect);
    EXPECT_EQ(Fired(), "9");
    env->inputMode = BasicUiInputMode_Dialog;
    Step("p", 0, kButtonStart);
    EXPECT_EQ(Fired(), "");
}

TEST_F(BasicUiTriggers, TimerFiresOnceItsIntervalIsPassedAndIdleOnlyTimersRestartOnInput)
{
    Load("<BasicUiWidget name=\"t\" typeWidget=\"tTimer\" cmdSeq=\"s1\" isPlaying=\"1\" inteval=\"1.0\"/>"
         "<BasicUiWidget name=\"i\" typeWidget=\"tTimer\" cmdSeq=\"s2\" isPlaying=\"1\" onlyIfIdle=\"1\" "
         "inteval=\"1.0\"/>");
    for (int i = 0; i < 4; ++i) {
        Step("t", 0, 0, 0.25f);
        Step("i", i == 2 ? kButtonA : 0, 0, 0.25f);
    }
    EXPECT_EQ(Fired(), "");
    Step("t", 0, 0, 0.25f);
    Step("i", 0, 0, 0.25f);
    EXPECT_EQ(Fired(), "1");  // 1.25 s counted; the idle timer restarted at 0.75 s
    for (int i = 0; i < 3; ++i) Step("i", 0, 0, 0.25f);
    EXPECT_EQ(Fired(), "2");
}

TEST_F(BasicUiTriggers, EnterAndLeaveFireOnceAsTheCursorCrossesTheButton)
{
    Load("<BasicUiWidget name=\"b\" typeWidget=\"wtButton\" x=\"10\" y=\"10\" w=\"20\" h=\"20\"/>"
         "<BasicUiWidget name=\"e\" typeWidget=\"tEnter\" button=\"b\" cmdSeq=\"s1\" cmdSeqLeave=\"s2\"/>"
         "<BasicUiWidget name=\"l\" typeWidget=\"tLeave\" button=\"b\" cmdSeq=\"s3\"/>");
    auto at = [&](int x0, int y0, int x1, int y1) {
        D()->cx0 = x0, D()->cy0 = y0, D()->cx1 = x1, D()->cy1 = y1;
        Step("e", 0, 0);
        Step("l", 0, 0);
        return Fired();
    };
    EXPECT_EQ(at(0, 0, 15, 15), "1");
    EXPECT_EQ(at(15, 15, 16, 16), "");
    EXPECT_EQ(at(16, 16, 50, 50), "23");
    EXPECT_EQ(at(50, 50, 60, 60), "");
}

TEST_F(BasicUiTriggers, PressNeedsTheAcceptReleaseAloneWithTheCursorOnTheButton)
{
    Load("<BasicUiWidget name=\"b\" typeWidget=\"wtButton\" x=\"10\" y=\"10\" w=\"20\" h=\"20\"/>"
         "<BasicUiWidget name=\"t\" typeWidget=\"tPress\" button=\"b\" cmdSeq=\"s4\"/>");
    D()->cx1 = D()->cy1 = 15;
    Step("t", 0, kButtonB | kButtonA);
    EXPECT_EQ(Fired(), "");
    Step("t", 0, kButtonB);
    EXPECT_EQ(Fired(), "4");
    D()->cx1 = 40;
    Step("t", 0, kButtonB);
    EXPECT_EQ(Fired(), "");
}

// A column a-b-c-d linked both ways; b is skipped by navigation.
const char* kColumn =
    "<BasicUiWidget name=\"a\" typeWidget=\"wtButton\" x=\"0\" y=\"0\" w=\"40\" h=\"20\" buttonS=\"b\"/>"
    "<BasicUiWidget name=\"b\" typeWidget=\"wtButton\" x=\"0\" y=\"30\" w=\"40\" h=\"20\" buttonN=\"a\" "
    "buttonS=\"c\" skipable=\"1\"/>"
    "<BasicUiWidget name=\"c\" typeWidget=\"wtButton\" x=\"0\" y=\"60\" w=\"40\" h=\"20\" buttonN=\"b\" "
    "buttonS=\"d\" boundsDN=\"4\"/>"
    "<BasicUiWidget name=\"d\" typeWidget=\"wtButton\" x=\"0\" y=\"90\" w=\"40\" h=\"20\" buttonN=\"c\"/>";

TEST_F(BasicUiTriggers, MoveWalksLinksPastSkippedButtonsKeepsToTheEndAndCentresTheCursor)
{
    Load(std::string(kColumn) + "<BasicUiWidget name=\"m\" typeWidget=\"tMove\" button=\"a\" selected=\"a\" "
                                "step=\"2\"/>");
    Step("m", kButtonDown, kButtonDown);  // two steps over three links: b is passed over
    EXPECT_EQ(BasicUiWidgetTypeTriggerMove_GetSelected(W("m")), W("d"));
    EXPECT_EQ(D()->cy1, 100);
    Step("m", kButtonDown, kButtonDown);
    EXPECT_EQ(BasicUiWidgetTypeTriggerMove_GetSelected(W("m")), W("d"));
    EXPECT_EQ(MoveBtn(W("d"), W("a"), kBasicUiMoveUp, 1, 1), W("c"));
    EXPECT_EQ(MoveBtn(W("c"), W("a"), kBasicUiMoveUp, 1, 1), W("a"));
    EXPECT_EQ(D()->cContext, W("m"));
    Step("m", kButtonUp, kButtonUp);  // c, then a: b is passed over again
    EXPECT_EQ(D()->cy0, 100);
    EXPECT_EQ(D()->cy1, 10);
}

TEST_F(BasicUiTriggers, MoveEndsOnARingOfSkippedButtonsAndHasNoResultWithoutAStart)
{
    Load("<BasicUiWidget name=\"a\" typeWidget=\"wtButton\" buttonE=\"b\"/>"
         "<BasicUiWidget name=\"b\" typeWidget=\"wtButton\" buttonE=\"c\" skipable=\"1\"/>"
         "<BasicUiWidget name=\"c\" typeWidget=\"wtButton\" buttonE=\"b\" skipable=\"1\"/>"
         "<BasicUiWidget name=\"m\" typeWidget=\"tMove\"/>");
    EXPECT_EQ(MoveBtn(W("a"), nullptr, kBasicUiMoveRight, 0, 1), W("a"));
    EXPECT_EQ(MoveBtn(nullptr, nullptr, kBasicUiMoveRight, 0, 1), nullptr);
    Step("m", kButtonRight, kButtonRight);
    EXPECT_EQ(BasicUiWidgetTypeTriggerMove_GetSelected(W("m")), nullptr);
    EXPECT_EQ(D()->cx1, 0);
}

TEST_F(BasicUiTriggers, MoveMinimisesOnceAfterItsTimeoutAndMaximisesOnTheNextMove)
{
    Load(std::string(kColumn) + "<BasicUiWidget name=\"m\" typeWidget=\"tMove\" button=\"a\" selected=\"a\" "
                                "timeout=\"1.0\" minimise=\"s1\" maximise=\"s2\"/>");
    std::string fired;
    for (int i = 0; i < 12; ++i) {
        Step("m", 0, 0, 0.25f);
        fired += Fired();
    }
    EXPECT_EQ(fired, "1");
    Step("m", kButtonDown, kButtonDown);
    EXPECT_EQ(Fired(), "2");
    Step("m", kButtonDown, kButtonDown);
    EXPECT_EQ(Fired(), "");
}

TEST_F(BasicUiTriggers, BoxValueInsideTheBoxIsItsCeiling)
{
    Load("<BasicUiWidget name=\"x\" typeWidget=\"tBox\" x=\"10\" y=\"10\" w=\"20\" h=\"20\"/>");
    D()->cx1 = D()->cy1 = 20;
    Step("x", 0, 0);
    auto* b = static_cast<sBasicUiWidgetTypeTriggerBox*>(W("x")->widgetTypeRef.ptr);
    float inside = 0.5f * (std::cos(1.0f) + 1.0f);
    EXPECT_NEAR(b->value[0], inside * inside, 1e-5);
}

}  // namespace
