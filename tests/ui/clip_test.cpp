// The clip player on a rectangle from a description: one-shot, looping and flip-flop times, the
// last application at the end of a one-shot play, the play command, the range setter's refusal of
// a reversed range, and a mapped control command setting a clip's range.
#include <gtest/gtest.h>

#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/clip.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/rectangle.h"

namespace {

class UiClip : public UiLoadTest {
protected:
    sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(env, name); }
    sBasicUiWidgetTypeClip* C(const char* name) { return static_cast<sBasicUiWidgetTypeClip*>(W(name)->widgetTypeRef.ptr); }
    int BoxX() { return static_cast<sBasicUiWidgetTypeRectangle*>(W("box")->widgetTypeRef.ptr)->x.value; }
    void SetUp() override
    {
        UiLoadTest::SetUp();
        ASSERT_EQ(LoadText("<BasicUiAnim name=\"slide\" type=\"float\"><BasicUiAnimKey t=\"0\" value=\"0\"/>"
                           "<BasicUiAnimKey t=\"1\" value=\"100\"/></BasicUiAnim>"
                           "<BasicUiAnimSet name=\"slideSet\"><BasicUiAnimSetItem prop=\"x\" anim=\"slide\"/></BasicUiAnimSet>"
                           "<BasicUiDisplay name=\"upper\"><BasicUiScreen name=\"s\">"
                           "<BasicUiWidget name=\"box\" typeWidget=\"wtRectangle\"/>"
                           "<BasicUiWidget name=\"once\" typeWidget=\"wtClip\" widget=\"box\" animSet=\"slideSet\""
                           " isPlaying=\"1\" useInitials=\"0\" isAdditive=\"0\"/>"
                           "<BasicUiWidget name=\"loop\" typeWidget=\"wtClip\" widget=\"box2\" animSet=\"slideSet\""
                           " isPlaying=\"1\" isLoop=\"1\"/>"
                           "<BasicUiWidget name=\"flip\" typeWidget=\"wtClip\" widget=\"box2\" animSet=\"slideSet\""
                           " isPlaying=\"1\" isFlipFlop=\"1\"/>"
                           "<BasicUiWidget name=\"box2\" typeWidget=\"wtRectangle\"/>"
                           "<BasicUiWidget name=\"play\" typeWidget=\"cmdPlay\" clip=\"once\" isPlaying=\"1\""
                           " setT=\"1\" t=\"0.25\" setSpeed=\"1\" speed=\"2\"/>"
                           "<BasicUiWidget name=\"map\" typeWidget=\"cmdControl\" tMap=\"1\" tMin=\"2\" tMax=\"4\""
                           " srcW=\"loop\" srcP=\"speed\" dstW=\"flip\" dstP=\"t\"/>"
                           "<BasicUiWidget name=\"pic\" typeWidget=\"wtImage\" x=\"10\" y=\"20\" w=\"30\" h=\"40\" imageID=\"99999\"/>"
                           "</BasicUiScreen></BasicUiDisplay>"),
                  1);
    }
    void Frames(int n, float dt)
    {
        for (int i = 0; i < n; i++) BasicUi_UpdateEnvironment(env, dt);
    }
};

TEST_F(UiClip, OneShotLoopAndFlipFlopTimes)
{
    Frames(6, 0.2f);  // 1.2 s
    EXPECT_FLOAT_EQ(BasicUiWidgetTypeClip_GetT(W("once")), 1.0f);
    EXPECT_EQ(BasicUiWidgetTypeClip_NotPlaying(W("once")), 1);
    EXPECT_EQ(BoxX(), 100);  // applied at the end once more
    EXPECT_NEAR(BasicUiWidgetTypeClip_GetT(W("loop")), 0.2f, 1e-5f);
    EXPECT_NEAR(BasicUiWidgetTypeClip_GetT(W("flip")), 0.8f, 1e-5f);
    EXPECT_EQ(C("flip")->isFwd.value, 0);
    Frames(5, 0.2f);  // back down past 0 to -0.2: bounced forward again
    EXPECT_NEAR(BasicUiWidgetTypeClip_GetT(W("flip")), 0.2f, 1e-5f);
    EXPECT_EQ(C("flip")->isFwd.value, 1);
}

TEST_F(UiClip, PlayCommandRestartsAndWaitFollowsTheClip)
{
    Frames(6, 0.2f);
    BasicUiWidgetTypeCmdPlayClip_Play(W("play"));
    EXPECT_EQ(BasicUiWidgetTypeClip_NotPlaying(W("once")), 0);
    EXPECT_FLOAT_EQ(BasicUiWidgetTypeClip_GetT(W("once")), 0.25f);
    Frames(1, 0.125f);  // speed 2
    EXPECT_FLOAT_EQ(BasicUiWidgetTypeClip_GetT(W("once")), 0.5f);
    EXPECT_EQ(BoxX(), 50);
    // A reversed range is refused; accessors on another type are neutral.
    BasicUiWidgetTypeClip_SetRange(W("once"), 2.0f, 1.0f);
    EXPECT_FLOAT_EQ(C("once")->tMax[0], 1.0f);
    BasicUiWidgetTypeClip_SetRange(W("box"), 0.0f, 5.0f);
    EXPECT_EQ(BasicUiWidgetTypeClip_NotPlaying(W("box")), 0);
    EXPECT_EQ(BasicUiWidgetTypeClip_GetT(W("box")), 0.0f);
    // A mapped control gives the destination clip its range and maps the value onto it.
    BasicUiWidgetTypeCmdControl_Set(W("map"));
    EXPECT_FLOAT_EQ(C("flip")->tMin[0], 2.0f);
    EXPECT_FLOAT_EQ(C("flip")->tMax[0], 4.0f);
    EXPECT_FLOAT_EQ(BasicUiWidgetTypeClip_GetT(W("flip")), 4.0f);  // the source's speed of 1
    // Changing the set's target rebuilds the tracker at the next update.
    C("once")->widget = W("box2");
    Frames(1, 0.0f);
    EXPECT_EQ(C("once")->tracker->widget, W("box2"));
}

}  // namespace
