// The scroll box: paging by whole pages and clamping to the last full window, showing only the
// window's buttons, navigation down a linked list of its buttons paging it, and its scroll bar and
// counter for lists shorter and longer than the window.
#include <gtest/gtest.h>

#include <string>

#include "lib/screenapi.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "platform/render.h"
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

// The bar lies within its track, covering the window's share of the list, and the counter counts
// items or whole pages, for a list shorter than the window and for one that pages.
class GlUiScrollBox : public UiLoadTest {};

TEST_F(GlUiScrollBox, BarStaysOnItsTrackAndCounterCountsItemsOrPages)
{
    struct Case {
        int items, slots, target, pages;
        int barTop, barBottom;  // track y 40 to 160
        const char* counter;
    } cases[] = {
        {3, 5, 0, 1, 40, 160, "1/1"},    {3, 5, 2, 0, 40, 160, "3/3"},      {10, 4, 0, 1, 40, 88, "1/3"},
        {10, 4, 5, 1, 88, 136, "2/3"},   {10, 4, 9, 1, 112, 160, "3/3"},    {10, 4, 9, 0, 112, 160, "10/10"},
    };
    StartRenderer();
    ASSERT_EQ(ScreenInitializeAPI(), 1);
    for (const Case& c : cases) {
        std::string items;
        for (int i = 0; i < c.items; ++i)
            items += "<BasicUiWidget name=\"i" + std::to_string(i) + "\" typeWidget=\"wtButton\" w=\"100\" h=\"20\"/>";
        BasicUiEnvironment_Clear(env);
        ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                           "<BasicUiWidget name=\"box\" typeWidget=\"wtScrollBox\" x=\"10\" y=\"40\" slots=\"" +
                           std::to_string(c.slots) + "\" slotHeight=\"20\" hasPageCounter=\"" + std::to_string(c.pages) +
                           "\" barX=\"300\" barY=\"40\" barW=\"4\" barH=\"120\">" + items +
                           "</BasicUiWidget></BasicUiScreen></BasicUiDisplay>"),
                  1);
        sBasicUiWidget* box = BasicUi_FindWidget(env, "box");
        BasicUiWidgetTypeScrollBox_ScrollTo(box, BasicUi_FindWidget(env, ("i" + std::to_string(c.target)).c_str()));
        ASSERT_EQ(RenderStartScreen(), 1);
        ASSERT_EQ(RenderStartDisplay1(), 1);
        const uint32_t first = numOverlayPolys;
        BasicUiWidgetType_Render(box);
        ASSERT_EQ(numOverlayPolys, first + 1) << c.items << " in " << c.slots;
        const ScreenPolyVertex* v = overlayBuffer->vertices + 4 * first;
        EXPECT_EQ(int(v[0].y), c.barTop) << c.items << " in " << c.slots << " at " << c.target;
        EXPECT_EQ(int(v[3].y), c.barBottom) << c.items << " in " << c.slots << " at " << c.target;
        ASSERT_EQ(RenderEndDisplay1(), 1);
        ASSERT_EQ(RenderDoneScreen(), 1);
        char text[32];
        ASSERT_EQ(BasicUiWidgetTypeScrollBox_CounterText(box, text, int(sizeof text)), 1);
        EXPECT_STREQ(text, c.counter) << c.items << " in " << c.slots << " at " << c.target;
    }
}

}  // namespace
