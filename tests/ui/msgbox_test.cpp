// Message boxes pointed at other cells at run time, and the hint's clock: running only while its
// region is -1, stopping past the last frame's time and starting again when the region changes.
#include <gtest/gtest.h>

#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/dbref.h"
#include "ui/widgets/msgbox.h"

namespace {

class BasicUiMsgBox : public UiLoadTest {
protected:
    void Load()
    {
        ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                           "<BasicUiWidget name=\"m\" typeWidget=\"wtMsgBox\"/>"
                           "<BasicUiWidget name=\"r\" typeWidget=\"dbRef\"/>"
                           "<BasicUiWidget name=\"h\" typeWidget=\"mcHint\" region=\"-1\" fadeInTimePress=\"1.0\"/>"
                           "</BasicUiScreen></BasicUiDisplay>"),
                  1);
    }
    template <class T>
    T* R(const char* name)
    {
        return static_cast<T*>(BasicUi_FindWidget(env, name)->widgetTypeRef.ptr);
    }
};

TEST_F(BasicUiMsgBox, SettersPointTheBoxAtAReferenceAndItsCell)
{
    Load();
    sBasicUiWidget* m = BasicUi_FindWidget(env, "m");
    sBasicUiWidget* r = BasicUi_FindWidget(env, "r");
    BasicUiWidgetTypeMsgBox_SetMsg(m, r, 4, 2);
    BasicUiWidgetTypeMsgBox_SetCurrency(m, r, 7, 1);
    EXPECT_EQ(R<sBasicUiWidgetTypeMsgBox>("m")->msgDbRef, r);
    EXPECT_EQ(R<sBasicUiWidgetTypeMsgBox>("m")->msgDb.row.value, 4);
    EXPECT_EQ(R<sBasicUiWidgetTypeDbRef>("r")->db.row.value, 7);
    EXPECT_EQ(R<sBasicUiWidgetTypeMsgBox>("m")->cFontAlignX.value, 2);
    BasicUiWidgetTypeMsgBox_SetTitle(r, m, 1, 1);  // not a message box: nothing
    EXPECT_EQ(R<sBasicUiWidgetTypeDbRef>("r")->db.column.value, 1);
}

TEST_F(BasicUiMsgBox, HintClockRunsWhileItsRegionIsMinusOneAndStopsPastTheLastFrame)
{
    Load();
    auto* h = R<sBasicUiWidgetTypeMcHint>("h");
    for (int i = 0; i < 10; ++i) BasicUi_UpdateEnvironment(env, 0.25f);
    EXPECT_FLOAT_EQ(h->fadeInCounter, 1.25f);
    h->region.value = 0;
    BasicUi_UpdateEnvironment(env, 0.25f);
    EXPECT_FLOAT_EQ(h->fadeInCounter, 0.0f);
}

}  // namespace
