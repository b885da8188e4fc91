// Animation sets played on a rectangle: the key search at and beyond the keys, and the typed
// writes with their rounding and clamping.
#include "ui/animtrack.h"

#include <gtest/gtest.h>

#include "ui/uiload_fixture.h"
#include "ui/widgets/rectangle.h"

namespace {

class BasicUiAnimTracks : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        ASSERT_EQ(LoadText("<BasicUiAnim name=\"move\" type=\"float\">"
                           "<BasicUiAnimKey t=\"1\" value=\"10\"/><BasicUiAnimKey t=\"2\" value=\"-20\"/>"
                           "<BasicUiAnimKey t=\"3\" value=\"254.7\"/></BasicUiAnim>"
                           "<BasicUiAnim name=\"flag\" type=\"float\"><BasicUiAnimKey t=\"0\" value=\"0\"/>"
                           "<BasicUiAnimKey t=\"1\" value=\"0.02\"/></BasicUiAnim>"
                           "<BasicUiAnimSet name=\"set\"><BasicUiAnimSetItem prop=\"x\" anim=\"move\"/>"
                           "<BasicUiAnimSetItem prop=\"nothing\" anim=\"move\"/>"
                           "<BasicUiAnimSetItem prop=\"alpha\" anim=\"move\"/>"
                           "<BasicUiAnimSetItem prop=\"isDraw\" anim=\"flag\"/></BasicUiAnimSet>"
                           "<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                           "<BasicUiWidget name=\"box\" typeWidget=\"wtRectangle\" x=\"5\"/>"
                           "</BasicUiScreen></BasicUiDisplay>"),
                  1);
        box = static_cast<sBasicUiWidgetTypeRectangle*>(BasicUi_FindWidget(env, "box")->widgetTypeRef.ptr);
        tracker = BasicUi_CreateAnimSetTracker(env, BasicUi_FindWidget(env, "box"), BasicUi_FindAnimSet(env, "set"));
        ASSERT_NE(tracker, nullptr);
    }
    sBasicUiWidgetTypeRectangle* box = nullptr;
    sBasicUiAnimSetTracker* tracker = nullptr;
};

TEST_F(BasicUiAnimTracks, KeysAreHeldOutsideTheirRangeAndSegmentsStartOnTheirKey)
{
    EXPECT_EQ(tracker->tracks, 3);  // the unknown property has no track
    BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbs(tracker, 0.0f);
    EXPECT_EQ(box->x.value, 10);
    BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbs(tracker, 2.0f);
    EXPECT_EQ(box->x.value, -20);
    BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbs(tracker, 1.5f);  // backwards from the cached key
    EXPECT_EQ(box->x.value, -5);
    BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbs(tracker, 9.0f);
    EXPECT_EQ(box->x.value, 255);
    EXPECT_EQ(box->alpha.value, 255);  // 254.7 rounds up
}

TEST_F(BasicUiAnimTracks, IntegersRoundToNearestOnBothSidesAndBytesAndFlagsConvert)
{
    // Between -20 and 254.7: at u = 0.01 the value is -17.253, which is -17; at 0.005 -18.627, -19.
    BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbs(tracker, 2.01f);
    EXPECT_EQ(box->x.value, -17);
    EXPECT_EQ(box->alpha.value, 0);  // negative clamps to 0
    BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbs(tracker, 2.005f);
    EXPECT_EQ(box->x.value, -19);
    EXPECT_EQ(box->isDraw.value, 1);  // 0.02 after the flag's last key
    BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbs(tracker, 0.25f);
    EXPECT_EQ(box->isDraw.value, 0);  // 0.005
    // Added to the initial value (5) and to the current value.
    BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbsWithInitial(tracker, 1.0f);
    EXPECT_EQ(box->x.value, 15);
    BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAdd(tracker, 1.0f);
    EXPECT_EQ(box->x.value, 25);
}

}  // namespace
