// The scroll box: paging by whole pages and clamping to the last full window, showing only the
// window's buttons, and navigation down a linked list of its buttons paging it.
#include <gtest/gtest.h>

#include <string>

#include "platform/input.h"
#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/button.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/scrollbox.h"
#include "ui/widgets/triggers.h"
#include "ui/widgettypes.h"

namespace {

class BasicUiScrollBox : public UiLoadTest {
protected:
    // Ten buttons i0..i9 linked in a column, with a label "lab" as the fifth child.
    void Load(int slot = 0)
    {
        std::string items;
        for (int i = 0; i < 10; ++i) {
            std::string n = "i" + std::to_string(i);
            items += "<BasicUiWidget name=\"" + n + "\" typeWidget=\"wtButton\" w=\"100\" h=\"20\"" +
                     (i ? " buttonN=\"i" + std::to_string(i - 1) + "\"" : "") +
                     (i < 9 ? " buttonS=\"i" + std::to_string(i + 1) + "\"" : "") + "/>";
            if (i == 3) items += "<BasicUiWidget name=\"lab\" typeWidget=\"wtLabel\"/>";
        }
        ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                           "<BasicUiWidget name=\"up\" typeWidget=\"cmdSeq\"/>"
                           "<BasicUiWidget name=\"down\" typeWidget=\"cmdSeq\"/>"
                           "<BasicUiWidget name=\"box\" typeWidget=\"wtScrollBox\" x=\"10\" y=\"40\" slots=\"4\" "
                           "slotHeight=\"20\" slotOffsetY=\"4\" scrollU=\"up\" scrollD=\"down\" slot=\"" +
                           std::to_string(slot) + "\">" + items +
                           "</BasicUiWidget></BasicUiScreen></BasicUiDisplay>"),
                  1);
        env->inputMode = BasicUiInputMode_Normal;
        BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
    }
    sBasicUiWidget* W(const std::string& name) { return BasicUi_FindWidget(env, name.c_str()); }
    sBasicUiWidgetTypeScrollBox* Box() { return static_cast<sBasicUiWidgetTypeScrollBox*>(W("box")->widgetTypeRef.ptr); }
    int Ran(const char* seq)
    {
        auto* s = static_cast<sBasicUiWidgetTypeCmdSequence*>(W(seq)->widgetTypeRef.ptr);
        int ran = s->cmdSeqActive.value;
        s->cmdSeqActive.value = 0;
        return ran;
    }
};

TEST_F(BasicUiScrollBox, PagesForwardToTheLastFullWindowAndBackToThePageStart)
{
    Load();
    EXPECT_EQ(Box()->items.value, 11);
    EXPECT_EQ(W("lab")->isRender.value, 1);  // a label outside the window keeps its flags
    EXPECT_EQ(BasicUiWidgetTypeButton_Get(W("i2"))->y.value, 40 + 2 * 24);
    EXPECT_EQ(W("i5")->isActive.value, 0);
    BasicUiWidgetTypeScrollBox_ScrollTo(W("box"), W("i9"));
    EXPECT_EQ(Box()->slot.value, 7);  // 11 children, 4 slots: the last full window starts at 7
    EXPECT_EQ(Box()->selected.value, 11);
    EXPECT_EQ(Ran("down"), 1);
    EXPECT_EQ(W("i9")->isActive.value, 1);
    EXPECT_EQ(BasicUiWidgetTypeButton_Get(W("i9"))->y.value, 40 + 3 * 24);
    EXPECT_EQ(BasicUiWidgetTypeButton_Get(W("i0"))->y.value, -(40 + 7 * 24));
    BasicUiWidgetTypeScrollBox_ScrollTo(W("box"), W("i8"));
    EXPECT_EQ(Ran("down") + Ran("up"), 0);  // visible: no paging
    BasicUiWidgetTypeScrollBox_ScrollTo(W("box"), W("i1"));
    EXPECT_EQ(Box()->slot.value, 0);
    EXPECT_EQ(Ran("up"), 1);
    BasicUiWidgetTypeScrollBox_SetSelectedSlot(W("box"), 8);  // past the last full window
    EXPECT_EQ(Box()->slot.value, 0);
    BasicUiWidgetTypeScrollBox_SetSelectedIndex(W("box"), 11);
    EXPECT_EQ(Box()->selected.value, 2);
    EXPECT_EQ(BasicUiWidgetTypeScrollBox_GetNth(W("box"), 4), W("lab"));
    EXPECT_EQ(BasicUiWidgetTypeScrollBox_GetIndex(W("box"), W("lab")), -1);
}

// A box that a script shows after the update walk has passed it is drawn before its next update:
// the buttons outside its window, all shown as the description loads them, are hidden before they
// are reached.
TEST_F(BasicUiScrollBox, ABoxDrawnBeforeItsUpdateShowsOnlyItsWindow)
{
    Load();
    for (int i = 0; i < 10; ++i) W("i" + std::to_string(i))->isRender.value = 1;
    BasicUiWidgetType_Render(W("box"));
    for (int i = 0; i < 10; ++i) EXPECT_EQ(W("i" + std::to_string(i))->isRender.value, i < 4) << i;
}

TEST_F(BasicUiScrollBox, NavigationOffTheWindowPagesTheBox)
{
    Load();
    EXPECT_EQ(MoveBtn(W("i3"), nullptr, kBasicUiMoveDown, 0, 1), W("i4"));
    EXPECT_EQ(Box()->slot.value, 4);
    EXPECT_EQ(Box()->selected.value, 6);
    EXPECT_EQ(Ran("down"), 1);
    EXPECT_EQ(W("lab")->isRender.value, 0);  // now inside the window, and hidden
}

}  // namespace
