// The widget gallery from the build's game data on a real GPU, driven by input scripts read as the
// game reads its controls: the pad walks the links across both screens and presses buttons, a
// pad-mode dialog runs its own frames until answered, the stylus answers a sticky dialog; and the
// pixels show the frames, the selection glow, the table texts, the lock icon, the dialog panel
// and the sticky cursor where their widgets put them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/clock.h"
#include "host/errorlog.h"
#include "host/gpu.h"
#include "host/host.h"
#include "host/input.h"
#include "lib/resourceids.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "db/database.h"
#include "game/transitions.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "platform/utilities.h"
#include "screens/galleryview.h"
#include "support/game_data.h"
#include "ui/frameupdate.h"
#include "ui/loader.h"
#include "ui/registry.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/button.h"
#include "ui/widgets/dbref.h"
#include "ui/widgets/dialogbox.h"
#include "ui/widgets/rectangle.h"
#include "ui/widgets/sticky.h"
#include "ui/widgets/triggers.h"

namespace {

struct Shot {
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    // A pixel of the screen by canvas coordinates (upper screen from (0, 60), lower from (400, 60)).
    const uint8_t* Canvas(int x, int y) const
    {
        int sx = x >= 400 ? x - 400 : x;
        return &rgb[(size_t(y - 60) * width + sx) * 3];
    }
    // Pixels of the canvas box that match; the part of the box off the screen counts none.
    template <class Test>
    int Count(int x0, int y0, int x1, int y1, Test test) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const int sx = x >= 400 ? x - 400 : x;
                if (sx < 0 || sx >= width || y < 60 || y - 60 >= height) continue;
                if (test(Canvas(x, y))) ++n;
            }
        return n;
    }
};

Shot LastDrawn(const DS3_DisplayBufferDescription& set)
{
    Shot s;
    uint32_t id = set.displayBufferIdArray[set.m_CurrentBufferIndex ^ 1u];
    EXPECT_EQ(GpuReadDisplaybuffer(id, &s.rgb, &s.width, &s.height), 1);
    return s;
}

bool Gold(const uint8_t* p) { return p[0] > 200 && p[1] > 150 && p[2] < 120; }
bool White(const uint8_t* p) { return p[0] > 200 && p[1] > 200 && p[2] > 200; }
bool Navy(const uint8_t* p) { return p[2] > 60 && p[2] > p[0] + 30; }
bool Magenta(const uint8_t* p) { return p[0] > 200 && p[1] < 80 && p[2] > 200; }

int Occurrences(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

int modalFrames = 0;
// Ends a modal loop that would otherwise wait for ever on input that never comes.
int GuardModalLoop(sBasicUiWidget*, int)
{
    if (++modalFrames > 120) done = 1;
    return 1;
}

class GlUiGallery : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        saved = gHostOptions;
        savedPad = controllers[0].controller;
        gHostOptions.headless = 1;
        HostUseVirtualClock(1);
        HostResetFrames();
        StartRenderer();
        ASSERT_EQ(ScreenInitializeAPI(), 1);
        ASSERT_EQ(BasicUiEnvironment_Load("ui/gallery.ui.xml", env), 1);
        env->inputMode = BasicUiInputMode_Normal;
        modalFrames = 0;
        BasicUi_SetModalLoopCb(GuardModalLoop);
        BasicFn_Clear();
    }
    void TearDown() override
    {
        BasicUi_SetModalLoopCb(nullptr);
        BasicFn_Clear();
        done = 0;
        HostInputUnloadScript();
        HostInputShutdown();
        ClearInputs();
        TextOutputSetMode(kTextModeLeft);
        theFont = nullptr;
        fontTable = nullptr;
        currentFontRSID = -1;
        UiLoadTest::TearDown();
        HostResetFrames();
        HostUseVirtualClock(0);
        controllers[0].controller = savedPad;
        gHostOptions = saved;
    }
    // The script's lines hold from the frame presented next, counted from its first line's 0.
    void Script(const std::string& lines)
    {
        std::string text, line;
        const long base = HostFramesPresented();
        for (size_t i = 0; i < lines.size();) {
            size_t end = lines.find('\n', i);
            line = lines.substr(i, end - i);
            size_t space = line.find(' ');
            text += std::to_string(base + std::stol(line.substr(0, space))) +
                    (space == std::string::npos ? "" : line.substr(space)) + "\n";
            i = end == std::string::npos ? lines.size() : end + 1;
        }
        std::string error;
        ASSERT_EQ(HostInputParseScript(text, "gallery", &error), 1) << error;
        ASSERT_EQ(InitJoysticks(), 1);
    }
    // One frame as a menu runs it: the controls, the update, the three passes.
    void Frame()
    {
        ReadControls(nullptr);
        BasicUi_UpdateEnvironmentFull(env);
        ASSERT_EQ(BasicUi_RenderEnvironmentFull(env), 1);
    }
    void Frames(int n)
    {
        for (int i = 0; i < n; ++i) Frame();
    }
    sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(env, name); }
    int Presses() { return static_cast<sBasicUiWidgetTypeRectangle*>(W("g.presses")->widgetTypeRef.ptr)->x.value; }
    sBasicUiWidget* Selected() { return BasicUiWidgetTypeTriggerMove_GetSelected(W("g.nav")); }
    HostOptions saved;
    DS3_controller* savedPad = nullptr;
};

TEST_F(GlUiGallery, ThePadWalksTheLinksAcrossBothScreensAndPressesTheSelectedButton)
{
    Script("0\n"
           "2 DOWN\n3\n"           // past the locked middle button to the third
           "5 A\n6\n"              // pressed and let go on it
           "8 DOWN\n9\n"           // down its link to the lower screen
           "11 A\n12\n"
           "14 UP\n15\n");         // and back up the lower button's link
    Frames(5);
    EXPECT_EQ(Selected(), W("g.b2"));
    Frames(4);
    EXPECT_EQ(Presses(), 1);
    EXPECT_EQ(Selected(), W("g.openPad"));
    // The glow has crossed too: its gold rim lies along the top of the lower button.
    EXPECT_GT(LastDrawn(m_DisplayBuffers1).Count(414, 218, 566, 220, Gold), 100);
    Frames(6);
    EXPECT_EQ(Presses(), 2);
    EXPECT_EQ(Selected(), W("g.b2"));
    Frames(3);
    EXPECT_EQ(Presses(), 2) << "a button fires once for one press";
}

const char* Message(sBasicUiEnvironment* env)
{
    return BasicDbTable_GetStrElement(BasicDbTable_Find(BasicUi_FindDb(env, "gallery"), "answers"), 11, 0);
}

TEST_F(GlUiGallery, ThePadOpensTheGallerysPadDialogAndItsAnswerReachesTheMessageBox)
{
    RegisterGalleryFunctions();
    Script("0\n"
           "2 DOWN\n3\n5 DOWN\n6\n"  // to the lower screen's first button
           "8 A\n9\n"                // which opens the pad dialog in the next frame
           "14 UP\n15\n17 A\n18\n");  // the middle answer
    Frames(14);
    EXPECT_STREQ(Message(env), "You chose: Medium");
    EXPECT_LT(modalFrames, 120);
    EXPECT_EQ(env->inputMode, BasicUiInputMode_Normal);
}

TEST_F(GlUiGallery, TheStylusOpensTheStickyDialogAndAnswersIt)
{
    RegisterGalleryFunctions();
    // Held on the lower button that opens it (canvas (480, 260)), lifted, then held on the first
    // answer: the touch that opened the question does not answer it.
    Script("0\n1 touch 80 200\n16\n30 touch 100 120\n");
    Frames(20);
    EXPECT_STREQ(Message(env), "You chose: Yes");
    EXPECT_GT(modalFrames, 30);
    EXPECT_LT(modalFrames, 120);
}

TEST_F(GlUiGallery, APadDialogRunsItsOwnFramesUntilTheScriptAnswersIt)
{
    // Opened with the accept button still held from the press that asked for it: it must be let go
    // first, then the choice moves up from the last answer and is taken with A.
    Script("0 A\n2\n"
           "7 UP\n8\n"
           "10 A\n11\n");
    const long before = HostFramesPresented();
    EXPECT_EQ(BasicUiWidgetTypeDialogBox_OpenDialog(W("g.padAsk"), 3), 1);  // the middle answer
    EXPECT_GE(HostFramesPresented() - before, 9);
    EXPECT_LT(modalFrames, 120);
    EXPECT_EQ(W("g.padAsk")->isRender.value, 0);
    EXPECT_EQ(env->inputMode, BasicUiInputMode_Normal);
}

// The buttons answer the sticky dialog as well as the stylus: it opens on its cancelling answer,
// the d-pad walks the row within its ends, and A (once the press that opened it is let go) takes
// the marked answer.
TEST_F(GlUiGallery, TheButtonsAnswerTheStickyDialog)
{
    Script("0 A\n2\n"
           "6 RIGHT\n7\n"   // already the last answer
           "9 LEFT\n10\n"
           "12 LEFT\n13\n"  // already the first
           "15 A\n16\n");
    EXPECT_EQ(BasicUiWidgetTypeDialogBox_OpenDialog(W("g.stickyAsk"), 2), 2);  // the first answer
    EXPECT_LT(modalFrames, 120);
    EXPECT_EQ(W("g.stickyAsk")->isRender.value, 0);
    EXPECT_EQ(env->inputMode, BasicUiInputMode_Normal);
    // Opened again, A alone takes the answer it opens on.
    Script("0\n3 A\n4\n");
    EXPECT_EQ(BasicUiWidgetTypeDialogBox_OpenDialog(W("g.stickyAsk"), 2), 0);
}

TEST_F(GlUiGallery, FramesGlowTextsAndIconsAreDrawnWhereTheirButtonsAre)
{
    Script("0\n");
    Frames(2);
    Shot upper = LastDrawn(m_DisplayBuffers0);
    ASSERT_EQ(upper.width, 400);
    // The first button (x 20-180, y 96-120) is selected: its glow's gold rim runs along its edges,
    // its frame's navy fills it, its text is white, and nothing of it spills below the column.
    EXPECT_GT(upper.Count(20, 96, 180, 98, Gold), 100);
    EXPECT_GT(upper.Count(24, 100, 176, 118, Navy), 500);
    EXPECT_GT(upper.Count(30, 100, 120, 118, White), 20);
    EXPECT_EQ(upper.Count(20, 180, 180, 200, Gold), 0);
    // The second button is locked: no glow, the grey frame, and the gold padlock centred at its
    // lock offset (166, 138).
    EXPECT_EQ(upper.Count(40, 126, 120, 128, Gold), 0);
    EXPECT_GT(upper.Count(160, 132, 172, 144, Gold), 10);
    // The third is open: its padlock is pale, not gold, and its cup (state 'W') is gold.
    EXPECT_EQ(upper.Count(160, 162, 172, 174, Gold), 0);
    EXPECT_GT(upper.Count(140, 162, 152, 174, Gold), 5);
    // The message box's panel and title band on the upper screen.
    EXPECT_GT(upper.Count(210, 120, 370, 230, Navy), 5000);
    EXPECT_GT(upper.Count(190, 84, 390, 86, Gold), 100);
}

TEST_F(GlUiGallery, AShownDialogsPanelAndTheCursorAppearOnTheLowerScreen)
{
    auto panelNavy = [](const uint8_t* p) { return Navy(p) && p[2] > 90; };
    RegisterGalleryFunctions();
    // START shows the dialog; the stylus held then is lifted and put down again.
    Script("0\n1 touch 200 230\n2 START touch 200 230\n3\n5 touch 200 230\n");
    Frames(1);
    EXPECT_EQ(LastDrawn(m_DisplayBuffers1).Count(560, 150, 650, 200, panelNavy), 0);
    Frames(12);
    EXPECT_EQ(W("g.ask")->isRender.value, 1);
    Shot lower = LastDrawn(m_DisplayBuffers1);
    ASSERT_EQ(lower.width, 320);
    // The panel (x 450-670, y 110-230) is navy inside its light edge; its title band is gold-edged.
    EXPECT_GT(lower.Count(560, 150, 650, 200, panelNavy), 3000);
    EXPECT_GT(lower.Count(460, 98, 660, 100, Gold), 100);
    // The cursor has come in under the stylus at canvas (600, 290): a white ring round a dot.
    EXPECT_GT(lower.Count(584, 274, 616, 306, White), 40);
    EXPECT_EQ(lower.Count(660, 274, 692, 306, White), 0);
}

TEST_F(GlUiGallery, TheAnchorKeepsTheTouchButtonUnderThePadButtonAndTheHintTapsInAfterItsDelay)
{
    Script("0\n");
    auto* pad = static_cast<sBasicUiWidgetTypeButton*>(W("g.openPad")->widgetTypeRef.ptr);
    auto* touch = static_cast<sBasicUiWidgetTypeButton*>(W("g.openSticky")->widgetTypeRef.ptr);
    pad->y.value = 200;
    Frames(20);
    EXPECT_EQ(touch->y.value, 200 + 24 + 6);
    // The hint (x 680-712, y 70-102) waits a second, then fades its gold ring in.
    EXPECT_EQ(LastDrawn(m_DisplayBuffers1).Count(680, 70, 712, 102, Gold), 0);
    Frames(45);
    EXPECT_GT(LastDrawn(m_DisplayBuffers1).Count(680, 70, 712, 102, Gold), 10);
}

// The lower pass draws on the canvas; the black fade inside it and whatever draws after the frame
// (the save loop's boxes, say) work in screen pixels and must land on the screen.
TEST_F(GlUiGallery, TheFadeInTheLowerPassAndWhatDrawsAfterTheFrameLandOnTheScreen)
{
    Script("0\n");
    Frames(1);
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay1(), 1);
    RenderSetAlphaLevel(255);
    RenderSetPenColor(255, 255, 255);
    RenderRect(10, 10, 20, 20);
    ASSERT_EQ(RenderEndDisplay1(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);
    EXPECT_GT(LastDrawn(m_DisplayBuffers1).Count(410, 70, 430, 90, White), 300);

    // Covered in its 34 steps, one a frame, the lower screen is black from edge to edge.
    StartTransition(nullptr, nullptr, nullptr, kTransitionFadeBlack);
    Frames(36);
    auto lit = [](const uint8_t* p) { return p[0] + p[1] + p[2] > 30; };
    EXPECT_EQ(LastDrawn(m_DisplayBuffers1).Count(400, 60, 720, 300, lit), 0);
    for (int i = 0; i < 300 && IsTransitionActive(); ++i) {
        UpdateTransition();
        DrawTransition();
    }
    EXPECT_EQ(IsTransitionActive(), 0);
}

TEST_F(GlUiGallery, WhatADescriptionNamesButTheDataLacksIsOutlinedInMagentaAndReportedOnce)
{
    Script("0\n");
    auto button = [&](const char* name) { return static_cast<sBasicUiWidgetTypeButton*>(W(name)->widgetTypeRef.ptr); };
    button("g.b2")->resourceID.value = 3999;  // no such image
    button("g.openSticky")->row.value = 99;   // past the table's 13 rows
    button("g.openPad")->fontID.value = 3998;   // no such font
    auto* ask = static_cast<sBasicUiWidgetTypeDialogBox*>(W("g.ask")->widgetTypeRef.ptr);
    ask->bFontLoID.value = 3997;
    BasicUiWidgetTypeStickyButton_Get(W("g.circle"))->imageID.value = 3996;
    static_cast<sBasicUiWidgetTypeDbRef*>(W("g.st2")->widgetTypeRef.ptr)->icon[3].id.value = 3995;  // won
    EXPECT_EQ(BasicUiWidgetTypeDialogBox_OpenDialog(W("g.ask"), 2), 2);
    Frames(3);
    Shot upper = LastDrawn(m_DisplayBuffers0), lower = LastDrawn(m_DisplayBuffers1);
    // Each outline runs round its widget's box (the third button x 20-180, y 156-180; the lower
    // buttons x 410-550 from y 218 and 248; the dialog x 450-670, y 110-230).
    EXPECT_GT(upper.Count(20, 156, 180, 158, Magenta), 120);
    EXPECT_EQ(upper.Count(20, 96, 180, 150, Magenta), 0);
    EXPECT_GT(lower.Count(410, 270, 550, 272, Magenta), 100);
    EXPECT_GT(lower.Count(410, 218, 448, 220, Magenta), 60);  // the dialog covers the rest
    EXPECT_GT(lower.Count(450, 110, 670, 230, Magenta), 300);
    EXPECT_GT(lower.Count(592, 92, 648, 94, Magenta), 60);   // the round sticky button, centred on (620, 120)
    EXPECT_GT(upper.Count(138, 160, 154, 162, Magenta), 20);  // the third button's cup at (146, 168)
    const std::string log = HostErrorLog();
    EXPECT_EQ(Occurrences(log, "g.b2 names the image 3999"), 1);
    EXPECT_EQ(Occurrences(log, "g.openSticky names a cell past the end of answers"), 1);
    EXPECT_EQ(Occurrences(log, "g.openPad names the font 3998"), 1);
    EXPECT_EQ(Occurrences(log, "g.ask names the font 3997"), 1);
    EXPECT_EQ(Occurrences(log, "g.circle names the image 3996"), 1);
    EXPECT_EQ(Occurrences(log, "g.st2 names the icon 3995"), 1);
}

}  // namespace
