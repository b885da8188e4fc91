// Dialog boxes: the answer chosen with the pad after the accept button that opened them has been
// let go, the codes OpenDialog gives per type, a shown-only dialog closing itself, and the nested
// frame loop presenting frames until the game quits.
#include <gtest/gtest.h>

#include <string>

#include "platform/input.h"
#include "platform/utilities.h"
#include "ui/frameupdate.h"
#include "ui/registry.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/dialogbox.h"
#include "ui/widgettypes.h"

namespace {

int loopFrames = 0;
int QuitAfterThreeFrames(sBasicUiWidget*, int)
{
    if (++loopFrames == 3) done = 1;
    return 1;
}
// Ends a loop that would otherwise never end.
int QuitAfterManyFrames(sBasicUiWidget*, int)
{
    if (++loopFrames == 1000) done = 1;
    return 1;
}

class BasicUiDialog : public UiLoadTest {
protected:
    void Load(const char* extra = "", const char* screen = "")
    {
        ASSERT_EQ(LoadText(std::string("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\" ") + screen + ">"
                                       "<BasicUiWidget name=\"q\" typeWidget=\"wtDialogBox\" isActive=\"0\" " +
                           extra + "/></BasicUiScreen></BasicUiDisplay>"),
                  1);
    }
    sBasicUiWidget* Q() { return BasicUi_FindWidget(env, "q"); }
    sBasicUiWidgetTypeDialogBox* D() { return static_cast<sBasicUiWidgetTypeDialogBox*>(Q()->widgetTypeRef.ptr); }
    // One frame of the dialog with the controller copy holding these bits.
    void Step(int buttons, int edges)
    {
        basicUiInput.buttons = uint16_t(buttons);
        basicUiInput.edges = uint16_t(edges);
        BasicUiWidgetType_Update(Q(), 1.0f / 30.0f);
    }
};

TEST_F(BasicUiDialog, AShownDialogIgnoresTheOpeningPressWalksItsAnswersAndClosesOnRelease)
{
    Load("isShowDialog=\"1\"");
    EXPECT_EQ(BasicUiWidgetTypeDialogBox_OpenDialog(Q(), 3), 2);
    EXPECT_EQ(env->inputMode, BasicUiInputMode_Dialog);
    EXPECT_EQ(D()->dialogResult.value, 2);
    Step(kButtonB, 0);  // the accept button is still held from opening
    Step(0, kButtonB);
    EXPECT_EQ(D()->dialogState.value, kBasicUiDialogWaitFree);
    Step(0, 0);
    Step(0, 0);
    EXPECT_EQ(D()->dialogState.value, kBasicUiDialogChoosing);
    Step(kButtonDown, kButtonDown);  // already at the last answer
    EXPECT_EQ(D()->dialogResult.value, 2);
    for (int i = 0; i < 3; ++i) Step(kButtonUp, kButtonUp);
    EXPECT_EQ(D()->dialogResult.value, 0);
    Step(0, kButtonB);
    EXPECT_EQ(D()->dialogState.value, kBasicUiDialogChosen);  // not free yet in the release frame
    EXPECT_EQ(Q()->isRender.value, 0);
    EXPECT_EQ(env->inputMode, BasicUiInputMode_Normal);
}

// A shown-only question whose screen stops while it is up closes with it: the input mode would
// otherwise stay Dialog, and every trigger of the next screen would be dead.
TEST_F(BasicUiDialog, AShownDialogClosesWithItsScreen)
{
    Load("isShowDialog=\"1\"");
    ASSERT_EQ(BasicUiWidgetTypeDialogBox_OpenDialog(Q(), 2), 2);
    BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
    EXPECT_EQ(env->inputMode, BasicUiInputMode_Dialog);
    Q()->parentScreen->isActive.value = 0;
    BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
    EXPECT_EQ(env->inputMode, BasicUiInputMode_Normal);
    EXPECT_EQ(Q()->isRender.value, 0);
    EXPECT_EQ(D()->dialogState.value, kBasicUiDialogClosed);
}

// Round answers held by the stylus are walked and taken by the pad too.
TEST_F(BasicUiDialog, StickyAnswersAreAlsoWalkedAndTakenWithThePad)
{
    Load("isShowDialog=\"1\" usesStickyButtons=\"1\"");
    EXPECT_EQ(BasicUiWidgetTypeDialogBox_OpenDialog(Q(), 2), 2);
    EXPECT_EQ(D()->dialogResult.value, 1);
    Step(0, 0);
    Step(0, 0);
    ASSERT_EQ(D()->dialogState.value, kBasicUiDialogChoosing);
    Step(kButtonRight, kButtonRight);  // already at the last answer
    EXPECT_EQ(D()->dialogResult.value, 1);
    Step(kButtonLeft, kButtonLeft);
    EXPECT_EQ(D()->dialogResult.value, 0);
    Step(kButtonB, kButtonB);
    Step(0, kButtonB);
    EXPECT_EQ(D()->dialogResult.value, 0);
    EXPECT_EQ(Q()->isRender.value, 0);
    EXPECT_EQ(env->inputMode, BasicUiInputMode_Normal);
}

// B declines: it takes the last answer (No of a yes/no question, the OK of a notice), in either
// mode, without walking to it first.
TEST_F(BasicUiDialog, BTakesTheLastAnswer)
{
    for (const char* mode : {"", "usesStickyButtons=\"1\""}) {
        for (int type : {1, 2}) {
            Load((std::string("isShowDialog=\"1\" ") + mode).c_str());
            BasicUiWidgetTypeDialogBox_OpenDialog(Q(), type);
            D()->dialogResult.value = 0;
            Step(0, 0);
            Step(0, 0);
            ASSERT_EQ(D()->dialogState.value, kBasicUiDialogChoosing);
            Step(kBasicUiPadBack, kBasicUiPadBack);
            Step(0, kBasicUiPadBack);
            EXPECT_EQ(D()->dialogResult.value, type - 1) << mode << type;
            EXPECT_EQ(D()->dialogState.value, kBasicUiDialogClosed) << mode << type;
            EXPECT_EQ(Q()->isRender.value, 0) << mode << type;
        }
    }
}

TEST_F(BasicUiDialog, TheNestedLoopPresentsFramesUntilTheGameQuits)
{
    Load();
    basicUiEnvironmentPtr = env;
    BasicUi_SetModalLoopCb(QuitAfterThreeFrames);
    loopFrames = 0;
    EXPECT_EQ(BasicUiWidgetTypeDialogBox_OpenDialog(Q(), 2), -1);
    EXPECT_EQ(loopFrames, 3);
    EXPECT_EQ(env->inputMode, BasicUiInputMode_Normal);
    EXPECT_EQ(Q()->isActive.value, 0);
    BasicUi_SetModalLoopCb(nullptr);
    done = 0;
}

// A dialog that the frames never update could never be answered: it ends at once, said, and a
// shown one leaves the input mode as it was.
TEST_F(BasicUiDialog, TheNestedLoopEndsAtOnceWhenItsFramesWouldNotUpdateTheDialog)
{
    const struct {
        const char* dialog;
        const char* screen;
        bool running;
    } cases[] = {{"", "isActive=\"0\"", true}, {"", "", false}, {"isShowDialog=\"1\"", "isActive=\"0\"", true}};
    BasicUi_SetModalLoopCb(QuitAfterManyFrames);
    for (const auto& c : cases) {
        Load(c.dialog, c.screen);
        basicUiEnvironmentPtr = c.running ? env : nullptr;
        loopFrames = 0;
        EXPECT_EQ(BasicUiWidgetTypeDialogBox_OpenDialog(Q(), 2), -1) << c.dialog << " " << c.screen;
        EXPECT_EQ(loopFrames, 0) << c.screen;
        EXPECT_EQ(env->inputMode, BasicUiInputMode_Normal) << c.dialog << " " << c.screen;
        done = 0;
    }
    EXPECT_TRUE(LogHas("dialog: q cannot be answered"));
    BasicUi_SetModalLoopCb(nullptr);
}

TEST_F(BasicUiDialog, StickyAnswersAreCentredInARowOnTheLowerScreen)
{
    Load("usesStickyButtons=\"1\" src.w=\"40\" stickyCursor=\"q\"");
    D()->bRowCount.value = 2;
    float x = 470, y = 175;
    D()->stickyLastX = 480, D()->stickyLastY = 180;
    EXPECT_EQ(BasicUiWidgetTypeDialogBox_IsPressed(470, 175, Q()), 1);
    EXPECT_EQ(BasicUiWidgetTypeDialogBox_Center(&x, &y, Q()), 0);  // "q" is no sticky cursor
    EXPECT_EQ(BasicUiWidgetTypeDialogBox_OpenDialog(nullptr, 2), 0);
}

}  // namespace
