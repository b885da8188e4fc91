#include "ui/stats.h"

#include <gtest/gtest.h>

#include "lib/memory.h"
#include "support/device_heap.h"
#include "ui/uiload_fixture.h"

namespace {

class BasicUiEditorRecord : public UiLoadTest {
protected:
    void TearDown() override
    {
        basicUiEditor = nullptr;  // it lives in the heap that goes now
        UiLoadTest::TearDown();
    }
};

TEST_F(BasicUiEditorRecord, CountsWhatTheBrowsingPositionHoldsAndClearingForgetsIt)
{
    sBasicUiEditor* e = BasicUi_CreateEditor(env);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(BasicUi_GetEditor(), e);
    EXPECT_EQ(e->memMin.value, 0x40000000);  // minima start high so that readings lower them
    EXPECT_EQ(e->memNow.variable, -1);
    ASSERT_EQ(LoadText("<BasicUiAnim name=\"a1\"/><BasicUiAnim name=\"a2\"/><BasicUiAnimSet name=\"set\"/>"
                       "<BasicUiDisplay name=\"d1\"><BasicUiScreen name=\"s1\">"
                       "<BasicUiWidget name=\"top\"><BasicUiWidget name=\"c1\"/><BasicUiWidget name=\"c2\"/>"
                       "<BasicUiWidget name=\"c3\"/></BasicUiWidget><BasicUiWidget name=\"second\"/>"
                       "</BasicUiScreen></BasicUiDisplay><BasicUiDisplay name=\"d2\"/>"),
              1);
    EXPECT_EQ(e->numAnim, 2);  // the loader refreshes the counts of the followed environment
    EXPECT_EQ(e->numAnimSet, 1);
    EXPECT_EQ(e->numWidget, 2);  // the environment's displays

    e->display = BasicUi_FindDisplay(env, "d1");
    EXPECT_EQ(BasicUiEditor_WidgetChildrenCount(e), 1);
    e->screen = BasicUi_FindScreen(env, "s1");
    EXPECT_EQ(BasicUiEditor_WidgetChildrenCount(e), 2);
    e->widget = BasicUi_FindWidget(env, "top");
    EXPECT_EQ(BasicUiEditor_WidgetChildrenCount(e), 3);

    // A widget's property table survives the clear; the position and counts do not.
    BasicUiWidget_InitialisePropertyTracker(e->widget, &e->tracker);
    BasicUiEditor_Clear(e, 0);
    EXPECT_EQ(e->widget, nullptr);
    EXPECT_EQ(e->screen, nullptr);
    EXPECT_EQ(e->numWidget, 0);
    EXPECT_EQ(e->env, env);
    EXPECT_EQ(e->tracker.props, 5);
    BasicUiScreen_InitialisePropertyTracker(BasicUi_FindScreen(env, "s1"), &e->tracker);
    BasicUiEditor_Clear(e, 1);
    EXPECT_EQ(e->env, nullptr);
    EXPECT_EQ(e->tracker.props, 0);
}

TEST(BasicUiEditorMemory, ARecordThatCannotBeAllocatedIsNotHandedOut)
{
    ASSERT_EQ(UseFreshDeviceHeap(1 << 20), 1);
    void* p = nullptr;
    for (int size : {1 << 16, 1 << 12, 1 << 8})
        while (AllocateMemory(&p, size)) {
        }
    EXPECT_EQ(BasicUi_CreateEditor(nullptr), nullptr);
    EXPECT_EQ(BasicUi_GetEditor(), nullptr);
    ReleaseDeviceHeap();
}

}  // namespace
