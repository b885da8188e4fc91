// The message boxes: texts shown as given, answers by button and by touch (on a glyph or its word), input held over from
// before the box, the minimum time of the box without input, and answers that push a new box.
#include "overlays/questionoverlays.h"

#include <gtest/gtest.h>

#include <vector>

#include "lib/textoutput.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "platform/input.h"
#include "shell/touchbuttons.h"
#include "support/device_heap.h"
#include "support/drawn_layout.h"

namespace {

std::vector<int> answers;
int Record(int a) { return answers.push_back(a), 1; }
int taskCalls = 0;
int TaskDoneAtOnce(int) { return ++taskCalls, 1; }

class MessageBoxes : public ::testing::Test {
protected:
    DS3_controller pad = {};
    DS3_controller* savedPad = nullptr;
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(4 << 20), 1);
        OverlayResetStack();
        ClearInputs();
        answers.clear();
        taskCalls = 0;
        savedPad = controllers[0].controller;
        controllers[0].controller = &pad;
        SetOverlayControllerNum(-1);
    }
    void TearDown() override
    {
        while (OverlayExists() && OverlayExit()) {
        }
        OverlayResetStack();
        controllers[0].controller = savedPad;
        ClearInputs();
        ReleaseDeviceHeap();
    }
    // One frame of the game's pumping with the given buttons held and edges.
    static void Frame(uint16_t held, uint16_t edges)
    {
        allInput.buttons = held;
        allInput.edges = edges;
        OverlayHandleInput();
        OverlayUpdate();
        OverlayDraw();
    }
    // Pushes past the three dropped input calls with nothing pressed.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i) Frame(0, 0);
    }
};

TEST_F(MessageBoxes, TextsAreShownAsGivenEvenWithPercentSigns)
{
    StartYesNoOverlay("100% %s", "Save %d%% of %n it?", "{1} Yes", Record);
    Frame(0, 0);
    const MsgOverlayProperties_tag* p = YesNoOverlayLayout();
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p->titleString, "100% %s");
    EXPECT_STREQ(p->msg, "Save %d%% of %n it?");
    EXPECT_STREQ(p->footerMsg, "{1} Yes");
    EXPECT_EQ(p->textAlignment, kTextModeCenter);
}

TEST_F(MessageBoxes, AFooterInCapitalsWhenTitleAndMessageAreCapitals)
{
    StartInfoOverlay("", "GAME OVER", "{1} Continue", Record);
    Frame(0, 0);
    ASSERT_NE(InfoOverlayLayout(), nullptr);
    EXPECT_STREQ(InfoOverlayLayout()->footerMsg, "{1} CONTINUE");
    OverlayExit();
    StartInfoOverlay("", "Game Over", "{1} Continue", Record);
    Frame(0, 0);
    EXPECT_STREQ(InfoOverlayLayout()->footerMsg, "{1} Continue");
}

TEST_F(MessageBoxes, AHeldButtonDoesNotAnswerWhenLetGoButANewPressDoes)
{
    StartYesNoOverlay("", "Quit?", "{1} Yes    {3} No", Record);
    Frame(kButtonA, kButtonA);  // the press that opened the box
    Frame(kButtonA, 0);
    Frame(kButtonA, 0);
    Frame(kButtonA, 0);  // input reaches the box from here: A still held
    Frame(0, kButtonA);  // let go
    Frame(0, 0);
    EXPECT_TRUE(answers.empty());
    EXPECT_EQ(OverlayExists(), 1);
    Frame(kButtonA, kButtonA);
    EXPECT_EQ(answers, std::vector<int>{1});
    EXPECT_EQ(OverlayExists(), 0) << "the box is gone before the answer";

    StartYesNoOverlay("", "Quit?", "{1} Yes    {3} No", Record);
    Settle();
    Frame(kButtonB, kButtonB);
    EXPECT_EQ(answers, (std::vector<int>{1, 0}));
}

// The boxes as the game draws them, with its fonts and glyphs.
class DrawnMessageBoxes : public MessageBoxes {
protected:
    void SetUp() override
    {
        MessageBoxes::SetUp();
        ASSERT_EQ(OpenDrawnScreens(), 1);
    }
    void TearDown() override
    {
        while (OverlayExists() && OverlayExit()) {
        }
        CloseDrawnScreens();
        MessageBoxes::TearDown();
    }
    // Opens a fresh yes/no box and touches it at x on the footer's row; the answer, or -1.
    int AnswerTouchedAt(int (*x)(const DrawnRect& footer))
    {
        answers.clear();
        StartYesNoOverlay("", "Play again?", "{1} Yes    {3} No", Record);
        Frame(0, 0);  // opened: the buttons exist, and see the stylus up
        Settle();
        SetHUDDisplay(1);
        const Drawing d = RecordDrawing(OverlayDraw);
        if (d.lines.empty()) return -2;
        const DrawnRect footer = d.lines.back();
        pad.touchData = DS3_TouchData{x(footer), footer.y + footer.h / 2, 1};
        Frame(0, 0);  // the update sees the press
        Frame(0, 0);  // the input answers
        pad.touchData.isTouching = 0;
        Frame(0, 0);
        while (OverlayExists() && OverlayExit()) {
        }
        return answers.empty() ? -1 : answers.back();
    }
    static int Width(const char* text)
    {
        TextOutputSelectFont(GetFontRSID(kOverlayFontBody));
        return TextOutputEmbeddedLineLength(text, DrawOverlayGraphic);
    }
};

// Each answer is its glyph and its word: a touch on either gives it.
TEST_F(DrawnMessageBoxes, EachAnswerAnswersOnItsGlyphAndOnItsWord)
{
    EXPECT_EQ(AnswerTouchedAt([](const DrawnRect& f) { return f.x + 16; }), 1) << "Yes's glyph";
    EXPECT_EQ(AnswerTouchedAt([](const DrawnRect& f) { return f.x + Width("{1} Yes") - 3; }), 1) << "Yes's word";
    EXPECT_EQ(AnswerTouchedAt([](const DrawnRect& f) { return f.x + f.w - Width("{3} No") + 16; }), 0) << "No's glyph";
    EXPECT_EQ(AnswerTouchedAt([](const DrawnRect& f) { return f.x + f.w - 3; }), 0) << "No's word";
}

TEST_F(MessageBoxes, TheInformationBoxAnswersOnlyOK)
{
    StartInfoOverlay("", "Game Over", "{1} Continue", Record);
    Settle();
    Frame(kButtonB, kButtonB);
    Frame(0, kButtonB);
    Frame(0, 0);
    EXPECT_TRUE(answers.empty());
    Frame(kButtonA, kButtonA);
    Frame(0, kButtonA);
    EXPECT_EQ(answers, std::vector<int>{1});
}

TEST_F(MessageBoxes, ABoxWithoutInputStaysThreeSecondsWhateverItsTask)
{
    StartNoInputOverlay("", "Saving...", "", Record, TaskDoneAtOnce);
    int frames = 0;
    while (OverlayExists() && frames < 500) {
        Frame(kButtonA, kButtonA);
        ++frames;
    }
    EXPECT_EQ(frames, 91) << "3000 ms at 33 ms a frame";
    EXPECT_EQ(taskCalls, 1) << "a task that completed is not called again";
    EXPECT_EQ(answers, std::vector<int>{1});
}

// An answer may push another box: the answering box has already left.
int PushAnother(int)
{
    answers.push_back(OverlayStackSize());
    return StartInfoOverlay("", "Next", "", Record);
}

TEST_F(MessageBoxes, AnAnswerCanPushTheNextBox)
{
    StartYesNoOverlay("", "First?", "", PushAnother);
    Settle();
    Frame(kButtonA, kButtonA);
    EXPECT_EQ(answers, std::vector<int>{0});
    EXPECT_EQ(OverlayStackSize(), 1);
    Frame(0, 0);
    EXPECT_NE(InfoOverlayLayout(), nullptr);
    EXPECT_EQ(YesNoOverlayLayout(), nullptr) << "the first box's memory is given back";
}

}  // namespace
