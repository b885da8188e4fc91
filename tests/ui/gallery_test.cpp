// The widget gallery loaded from the game's content and driven through its input paths: the
// stylus held on a sticky button of each shape, the d-pad walking past a button locked by its
// status string, the scroll box paging to its last entries, and a shown dialog answered.
#include <gtest/gtest.h>

#include "platform/input.h"
#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/button.h"
#include "ui/widgets/dialogbox.h"
#include "ui/widgets/rectangle.h"
#include "ui/widgets/scrollbox.h"
#include "ui/widgets/triggers.h"
#include "ui/widgettypes.h"

namespace {

class UiGallery : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        saved = controllers[0].controller;
        controllers[0].controller = &pad;
        ASSERT_EQ(LoadContent("ui/gallery.ui.xml"), 1);
        env->inputMode = BasicUiInputMode_Normal;
    }
    void TearDown() override
    {
        controllers[0].controller = saved;
        UiLoadTest::TearDown();
    }
    sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(env, name); }
    int Count() { return static_cast<sBasicUiWidgetTypeRectangle*>(W("g.count")->widgetTypeRef.ptr)->x.value; }
    void Touch(int x, int y, int frames)
    {
        for (int i = 0; i < frames; ++i) {
            pad.touchData = {x, y, x ? 1 : 0};
            BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
        }
    }
    DS3_controller pad = {};
    DS3_controller* saved = nullptr;
};

TEST_F(UiGallery, HeldStickyButtonsFireAndRepeatAndTouchesElsewhereDoNot)
{
    Touch(20, 200, 30);  // over the list, far from both sticky buttons
    Touch(0, 0, 10);
    EXPECT_EQ(Count(), 0);
    Touch(220, 60, 50);  // the circle at canvas (620, 120): fires every half second once reached
    Touch(0, 0, 20);     // the cursor still rests on it in the frame the stylus is lifted
    int circle = Count();
    EXPECT_GE(circle, 2);
    EXPECT_LE(circle, 4);
    Touch(250, 175, 45);  // inside the box, which does not repeat
    EXPECT_EQ(Count(), circle + 1);
    // Its face wears the pressed frame while the stylus is on it, and the plain one after.
    auto face = [&] { return static_cast<sBasicUiWidgetTypeButton*>(W("g.boxFace")->widgetTypeRef.ptr)->resourceID.value; };
    EXPECT_EQ(face(), 3402);
    Touch(0, 0, 10);
    EXPECT_EQ(face(), 3400);
}

TEST_F(UiGallery, TheDpadSkipsTheLockedButtonAndTheListPagesToItsEnd)
{
    BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
    basicUiInput.buttons = basicUiInput.edges = kButtonDown;
    BasicUiWidgetType_Update(W("g.nav"), 1.0f / 30.0f);
    EXPECT_EQ(BasicUiWidgetTypeTriggerMove_GetSelected(W("g.nav")), W("g.b2"));  // Entry 02 is locked
    EXPECT_EQ(MoveBtn(W("g.s05"), nullptr, kBasicUiMoveDown, 1, 30), W("g.s29"));
    EXPECT_EQ(BasicUiWidgetTypeScrollBox_GetSelectedSlot(W("g.list")), 24);
    EXPECT_EQ(W("g.s23")->isActive.value, 0);
    EXPECT_EQ(W("g.s24")->isActive.value, 1);
}

TEST_F(UiGallery, AShownDialogTakesItsAnswerFromThePad)
{
    EXPECT_EQ(BasicUiWidgetTypeDialogBox_OpenDialog(W("g.ask"), 2), 2);
    auto* d = static_cast<sBasicUiWidgetTypeDialogBox*>(W("g.ask")->widgetTypeRef.ptr);
    auto step = [&](int buttons, int edges) {
        basicUiInput.buttons = uint16_t(buttons);
        basicUiInput.edges = uint16_t(edges);
        BasicUiWidgetType_Update(W("g.ask"), 1.0f / 30.0f);
    };
    step(0, 0);
    step(0, 0);
    step(kButtonUp, kButtonUp);
    EXPECT_EQ(d->dialogResult.value, 0);
    step(0, kButtonB);
    EXPECT_EQ(d->dialogState.value, kBasicUiDialogChosen);
    EXPECT_EQ(env->inputMode, BasicUiInputMode_Normal);
}

}  // namespace
