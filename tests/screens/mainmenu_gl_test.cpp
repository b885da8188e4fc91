// The main menu opened, run and closed as the screen loop runs it, on the build's game data with
// the renderer and sound: the description for this platform loaded with the registry, no input
// handled before the menu has been drawn, practice reopening on its own screen, the kind of the
// last game kept until it is reset, and everything given back on closing.
#include <gtest/gtest.h>

#include "game/controls.h"
#include "game/gameloop.h"
#include "host/clock.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "platform/shaders.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "db/database.h"
#include "screens/credits.h"
#include "screens/frontend.h"
#include "screens/frontenddb.h"
#include "screens/scriptfunctions.h"
#include "screens/tutorials.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"
#include "support/menu_screens.h"
#include "ui/environment.h"
#include "ui/registry.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dialogbox.h"
#include "ui/widgettypes.h"

namespace {

// A quad as recorded for the GPU: its screen rectangle and the part of its bitmap it shows.
struct Quad {
    float x0, y0, x1, y1, u0, v0, u1, v1;
    bool Within(const Quad& o) const { return x0 >= o.x0 && y0 >= o.y0 && x1 <= o.x1 && y1 <= o.y1; }
    bool WholeBitmap() const { return u0 == 0.0f && v0 == 0.0f && u1 == 1.0f && v1 == 1.0f; }
    float MidY() const { return (y0 + y1) / 2; }
};

// The quads a widget's render adds to the lower screen's pass.
std::vector<Quad> DrawnQuads(sBasicUiWidget* w)
{
    std::vector<Quad> quads;
    RenderSetOffset2D(400, 60);
    if (!RenderStartScreen() || !RenderStartDisplay1()) return quads;
    const uint32_t first = numOverlayPolys;
    BasicUiWidgetType_Render(w);
    for (uint32_t n = first; n < numOverlayPolys; ++n) {
        const ScreenPolyVertex* v = overlayBuffer->vertices + 4 * n;  // top left ... bottom right
        quads.push_back({v[0].x, v[0].y, v[3].x, v[3].y, v[0].u, v[0].v, v[3].u, v[3].v});
    }
    RenderEndDisplay1();
    RenderDoneScreen();
    RenderSetOffset2D(0, 0);
    return quads;
}

void Walk(sBasicUiWidget* w, std::vector<sBasicUiWidget*>* out)
{
    for (; w; w = w->nextWidget) {
        out->push_back(w);
        Walk(w->childWidget, out);
    }
}

// The menus run on the shared fixture, as a run of the game starts them.
class GlMainMenu : public MenuScreensTest {
protected:
    static sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(BasicUi_GetEnvironment(), name); }
    static int Running(const char* sequence)
    {
        auto* s = static_cast<sBasicUiWidgetTypeCmdSequence*>(W(sequence)->widgetTypeRef.ptr);
        return s->cmdSeqActive.value;
    }
    static void Draw()
    {
        ASSERT_EQ(RenderStartScreen(), 1);
        ASSERT_EQ(MainMenuScreenDrawHandler(), 1);
        ASSERT_EQ(RenderDoneScreen(), 1);
    }
    static void Input(int frames)
    {
        for (int i = 0; i < frames; ++i) ASSERT_EQ(MainMenuScreenInputHandler(), 1);
    }
    static int Shown(const char* screen) { return BasicUi_FindScreen(BasicUi_GetEnvironment(), screen)->isRender.value; }
};

TEST_F(GlMainMenu, OpensDrawnBeforeItsInputRunsAndGivesEverythingBackOnClosing)
{
    ASSERT_EQ(MainMenuScreenInit(), 1);
    EXPECT_EQ(MainMenuScreenInit(), 0) << "the save database was built before";
    MainMenuSetLastGameType(kLastGameQuick);
    gActiveController = 2;
    ASSERT_EQ(MainMenuScreenOpenHandler(), 1);
    ASSERT_NE(s0MainMenu, nullptr);
    EXPECT_EQ(basicUiEnvironmentStarted, 1);
    EXPECT_EQ(gGameType, -1);
    EXPECT_EQ(gActiveController, 0) << "the menus answer the first controller";
    EXPECT_EQ(BasicFn_Find("StartTutorial"), StartTutorial);
    EXPECT_NE(BasicDbTable_Find(FrontEndDb(nullptr, "creditsDb"), "creditsTable"), nullptr) << "for the credits roll";
    EXPECT_EQ(LoadingScreenShown(), 0);
    EXPECT_EQ(MainMenuGetLastGameType(), kLastGameQuick) << "kept until a launcher or a reset";

    // Input that arrives before the menu's first frame is drawn runs nothing.
    ASSERT_EQ(Running("cSN.startS0"), 1);
    Input(3);
    EXPECT_EQ(Running("cSN.startS0"), 1);
    Draw();
    Input(3);
    EXPECT_EQ(Running("cSN.startS0"), 0);
    EXPECT_EQ(Shown("s0MainMenu"), 1);

    ASSERT_EQ(MainMenuScreenCloseHandler(), 1);
    EXPECT_EQ(s0MainMenu, nullptr);
    EXPECT_EQ(basicFnCount, 0);
    EXPECT_EQ(screenStackSize, 1) << "the menu is remembered unless a game was started";
    EXPECT_EQ(ScreensInitialised(), 0);
    EXPECT_EQ(ResourceLoaded(kMenuMusic), 0);

    // After practice the menu reopens on the practice screen.
    MainMenuSetLastGameType(kLastGamePractice);
    ASSERT_EQ(MainMenuScreenOpenHandler(), 1);
    Draw();
    Input(3);
    EXPECT_EQ(Shown("s17Practice"), 1);
    EXPECT_EQ(Shown("s0MainMenu"), 0);
    EXPECT_EQ(MainMenuGetLastGameType(), kLastGamePractice);
    ScreenSetResult(kTabGroupGame);
    ASSERT_EQ(MainMenuScreenCloseHandler(), 1);
    EXPECT_EQ(screenStackSize, 1) << "not pushed on the way to a game";
    MainMenuResetLastGameType();
    EXPECT_EQ(MainMenuGetLastGameType(), kLastGameNone);
}

// Every question of the menus, drawn: the panel (whole, or as its nine parts) and the title band
// on the lower screen, the title and message on them, and the answers in one row, each drawn from
// its whole bitmap with its text centred on it.
TEST_F(GlMainMenu, EveryQuestionsTextsLieOnItsPanelAndItsAnswersOnOneRowWithTheirTextsOnThem)
{
    ASSERT_EQ(MainMenuScreenInit(), 1);
    ASSERT_EQ(MainMenuScreenOpenHandler(), 1);
    Draw();
    std::vector<sBasicUiWidget*> widgets;
    for (sBasicUiDisplay* d = BasicUi_GetEnvironment()->displayRoot; d; d = d->nextDisplay)
        for (sBasicUiScreen* s = d->nextScreen; s; s = s->nextScreen) Walk(s->nextWidget, &widgets);
    const Quad screen{400, 60, 720, 300, 0, 0, 0, 0};
    int questions = 0;
    for (sBasicUiWidget* w : widgets) {
        auto* d = static_cast<sBasicUiWidgetTypeDialogBox*>(w->widgetTypeRef.ptr);
        if (w->widgetTypeRef.type != EBasicUiWidgetTypeDialogBox || !d->usesStickyButtons.value) continue;
        ++questions;
        const int answers = d->bRowCount.value > 0 ? d->bRowCount.value : 2;
        d->isShowDialog.value = 1;
        BasicUiWidgetTypeDialogBox_OpenDialog(w, answers > 3 ? 4 : answers);
        const std::vector<Quad> q = DrawnQuads(w);
        w->isActive.value = w->isRender.value = 0;
        BasicUiEnvironment_SetInputMode(BasicUi_GetEnvironment(), BasicUiInputMode_Normal);
        // The screen's dimming, the panel, the band; then the texts and the answers.
        const size_t pieces = d->hasDynamicSize.value ? 9 : 1;
        ASSERT_GT(q.size(), pieces + 2) << w->name;
        Quad panel = q[1];
        for (size_t i = 2; i <= pieces; ++i)
            panel = {std::min(panel.x0, q[i].x0), std::min(panel.y0, q[i].y0), std::max(panel.x1, q[i].x1),
                     std::max(panel.y1, q[i].y1), 0, 0, 0, 0};
        EXPECT_TRUE(pieces == 9 || panel.WholeBitmap()) << w->name << ": a panel cut from a larger picture";
        const Quad band = q[pieces + 1];
        EXPECT_TRUE(panel.Within(screen) && band.Within(screen)) << w->name;
        std::vector<size_t> boxes;
        for (size_t i = pieces + 2; i < q.size(); ++i)
            if (q[i].WholeBitmap()) boxes.push_back(i);
        ASSERT_EQ(boxes.size(), size_t(answers)) << w->name;
        for (size_t i = pieces + 2; i < boxes[0]; ++i)
            EXPECT_TRUE(q[i].Within(panel) || q[i].Within(band)) << w->name << ": text off its panel and band";
        for (size_t a = 0; a < boxes.size(); ++a) {
            const Quad& box = q[boxes[a]];
            EXPECT_TRUE(box.Within(panel)) << w->name << " answer " << a;
            EXPECT_FLOAT_EQ(box.MidY(), q[boxes[0]].MidY()) << w->name << " answer " << a;
            const size_t end = a + 1 < boxes.size() ? boxes[a + 1] : q.size();
            EXPECT_LT(boxes[a] + 1, end) << w->name << " answer " << a << " has no text";
            for (size_t i = boxes[a] + 1; i < end; ++i) {
                EXPECT_TRUE(q[i].Within(box)) << w->name << " answer " << a;
                EXPECT_NEAR(q[i].MidY(), box.MidY(), 2.0f) << w->name << " answer " << a;
            }
        }
    }
    EXPECT_GE(questions, 12);
}

// The pad's selection on the main menu's first entry (lower-screen pixels 8-156 by 38-74): a gold
// rim along all four edges, over the entry's text, which stays white.
TEST_F(GlMainMenu, ThePadsSelectionFramesTheWholeEntryAndKeepsItsTextWhite)
{
    ASSERT_EQ(MainMenuScreenInit(), 1);
    ASSERT_EQ(MainMenuScreenOpenHandler(), 1);
    Draw();
    Draw();
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    ASSERT_EQ(GpuReadDisplaybuffer(m_DisplayBuffers1.displayBufferIdArray[m_DisplayBuffers1.m_CurrentBufferIndex ^ 1u],
                                   &rgb, &width, &height), 1);
    auto count = [&](int x0, int y0, int x1, int y1, bool (*test)(const uint8_t*)) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += test(&rgb[(size_t(y) * width + x) * 3]);
        return n;
    };
    auto gold = [](const uint8_t* p) { return p[0] > 200 && p[1] > 150 && p[2] < 120; };
    auto white = [](const uint8_t* p) { return p[0] > 220 && p[1] > 220 && p[2] > 220; };
    EXPECT_GT(count(8, 38, 156, 41, gold), 200) << "top";
    EXPECT_GT(count(8, 71, 156, 74, gold), 200) << "bottom";
    EXPECT_GT(count(8, 48, 11, 64, gold), 20) << "left";
    EXPECT_GT(count(153, 48, 156, 64, gold), 20) << "right";
    EXPECT_GT(count(48, 44, 130, 68, white), 60) << "the text";
}

}  // namespace
