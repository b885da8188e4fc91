#include "ui/frameupdate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/clock.h"
#include "platform/render.h"
#include "ui/presslatch.h"
#include "ui/stats.h"
#include "ui/uiload_fixture.h"
#include "ui/widgettypes.h"

namespace {

struct Visit {
    std::string name;
    float dt;
    int pass, offsetX, offsetY;
};
std::vector<Visit> updates, renders;
std::string switchOffOnUpdate;  // a widget that deactivates itself in its update

int RecordUpdate(sBasicUiWidget* w, float dt)
{
    updates.push_back({w->name, dt, BasicUi_GetRenderPass(), 0, 0});
    if (switchOffOnUpdate == w->name) w->isActive.value = 0;
    return 1;
}
int RecordRender(sBasicUiWidget* w)
{
    Visit v{w->name, 0.0f, BasicUi_GetRenderPass(), 0, 0};
    BasicUi_GetRenderOffset2D(&v.offsetX, &v.offsetY);
    renders.push_back(v);
    return 1;
}

using Names = std::vector<std::string>;
Names NamesOf(const std::vector<Visit>& visits, int pass = -2)
{
    Names names;
    for (const Visit& v : visits)
        if (pass == -2 || v.pass == pass) names.push_back(v.name);
    return names;
}
bool Has(const Names& names, const char* name)
{
    for (const std::string& n : names)
        if (n == name) return true;
    return false;
}

// The order a plain recursive walk gives, for comparison with the frame's own walk.
void Expect(sBasicUiWidget* w, sBasicUiValueBOOL sBasicUiWidget::*flag, Names* out)
{
    for (; w; w = w->nextWidget) {
        if (!(w->*flag).value) continue;
        out->push_back(w->name);
        Expect(w->childWidget, flag, out);
    }
}
Names Expected(sBasicUiEnvironment* env, int render)
{
    Names out;
    for (sBasicUiDisplay* d = env->displayRoot; d; d = d->nextDisplay) {
        if (!(render ? d->isRender : d->isActive).value) continue;
        for (sBasicUiScreen* s = d->nextScreen; s; s = s->nextScreen)
            if ((render ? s->isRender : s->isActive).value)
                Expect(s->nextWidget, render ? &sBasicUiWidget::isRender : &sBasicUiWidget::isActive, &out);
    }
    return out;
}

// The hand-written UI description, with every widget type writing down its visits.
class BasicUiFrame : public UiLoadTest {
protected:
    sBasicUiWidgetTypeFunctions saved[EBasicUiWidgetTypeCount];
    int savedVirtualClock = 0;

    void SetUp() override
    {
        UiLoadTest::SetUp();
        basicUiEditor = nullptr;
        ASSERT_EQ(LoadContent("ui/test.ui.xml"), 1);
        for (int t = 0; t < EBasicUiWidgetTypeCount; t++) {
            saved[t] = basicUiWidgetTypeFunctions[t];
            basicUiWidgetTypeFunctions[t].update = RecordUpdate;
            basicUiWidgetTypeFunctions[t].render = RecordRender;
        }
        updates.clear();
        renders.clear();
        switchOffOnUpdate.clear();
        savedVirtualClock = HostVirtualClockEnabled();
        HostUseVirtualClock(1);
        BasicUiCounter_Init();
    }
    void TearDown() override
    {
        for (int t = 0; t < EBasicUiWidgetTypeCount; t++) basicUiWidgetTypeFunctions[t] = saved[t];
        HostUseVirtualClock(savedVirtualClock);
        UiLoadTest::TearDown();
    }
};

TEST_F(BasicUiFrame, TheUpdateVisitsTheActiveTreeParentsFirstInEveryInputMode)
{
    const Names expected = Expected(env, 0);
    EXPECT_TRUE(Has(expected, "rowAceLabel"));  // made from the template when the file loaded
    EXPECT_FALSE(Has(expected, "rowDef"));      // the template itself is switched off
    EXPECT_FALSE(Has(expected, "volume"));      // its screen is inactive
    // The mode decides which widgets react to input, inside their own updates; the walk is the
    // same in every mode.
    for (BasicUiInputMode mode :
         {BasicUiInputMode_None, BasicUiInputMode_Editor, BasicUiInputMode_Normal, BasicUiInputMode_Dialog}) {
        BasicUiEnvironment_SetInputMode(env, mode);
        updates.clear();
        ASSERT_EQ(BasicUi_UpdateEnvironment(env, 0.25f), 1);
        EXPECT_EQ(NamesOf(updates), expected) << mode;
        for (const Visit& v : updates) EXPECT_FLOAT_EQ(v.dt, 0.25f);
    }
}

TEST_F(BasicUiFrame, AWidgetThatSwitchesItselfOffKeepsItsChildrenFromThatFrame)
{
    Names expected = Expected(env, 0);
    switchOffOnUpdate = "instAce";
    BasicUi_UpdateEnvironment(env, 0.0f);
    ASSERT_TRUE(Has(expected, "rowAceLabel"));
    expected.erase(std::remove_if(expected.begin(), expected.end(),
                                  [](const std::string& n) { return n.rfind("rowAce", 0) == 0; }),
                   expected.end());
    EXPECT_EQ(NamesOf(updates), expected);  // the walk goes on with its next sibling
    EXPECT_TRUE(Has(NamesOf(updates), "instBo"));
}

TEST_F(BasicUiFrame, ThreePassesDrawTheRenderedTreeWithTheirCanvasOffsets)
{
    StartRenderer();
    ASSERT_EQ(BasicUi_RenderEnvironment(nullptr), 1);  // the passes draw the framework's environment
    const Names expected = Expected(env, 1);
    EXPECT_TRUE(Has(expected, "volume"));  // an inactive screen is still drawn
    ASSERT_EQ(renders.size(), 3 * expected.size());
    const int offsets[3][2] = {{0, 60}, {0, 60}, {400, 60}};
    for (size_t i = 0; i < renders.size(); i++) {
        int pass = int(i / expected.size());  // left eye, right eye, lower screen, in turn
        EXPECT_EQ(renders[i].name, expected[i % expected.size()]);
        EXPECT_EQ(renders[i].pass, pass);
        EXPECT_EQ(renders[i].offsetX, offsets[pass][0]);
        EXPECT_EQ(renders[i].offsetY, offsets[pass][1]);
    }
    EXPECT_EQ(BasicUi_GetRenderPass(), -1);

    // A display switched off is neither updated nor drawn.
    sBasicUiDisplay* lower = BasicUi_FindDisplay(env, "lower");
    lower->isActive.value = lower->isRender.value = 0;
    renders.clear();
    BasicUi_UpdateEnvironment(env, 0.0f);
    BasicUi_RenderEnvironment(env);
    EXPECT_FALSE(Has(NamesOf(updates), "playButton"));
    EXPECT_FALSE(Has(NamesOf(renders), "playButton"));

    // Without a frame to draw into nothing is drawn.
    renders.clear();
    RenderDispose();
    EXPECT_EQ(BasicUi_RenderEnvironmentFull(env), 0);
    EXPECT_TRUE(renders.empty());
}

TEST_F(BasicUiFrame, TheClockCapsAFrameAtAThirtiethOfASecond)
{
    HostAdvanceClock(20);
    BasicUi_UpdateEnvironmentFull(env);  // the first reading counts from the counters' start
    ASSERT_FALSE(updates.empty());
    EXPECT_NEAR(updates.back().dt, 0.020f, 1e-4f);
    HostAdvanceClock(500);
    BasicUi_UpdateEnvironmentFull(env);
    EXPECT_FLOAT_EQ(updates.back().dt, 1.0f / 30.0f);
    EXPECT_FLOAT_EQ(BasicUiCounter_GetElapsedTime(0), 1.0f / 30.0f);
    EXPECT_FLOAT_EQ(BasicUiCounter_SetElapsedTime(0), 0.0f);  // no time has passed since

    HostAdvanceClock(100);
    EXPECT_NEAR(BasicUiCounter_SetElapsedTimeNoCap(1), 0.62f, 1e-3f);  // last read at the start
    for (int bad : {-1, 2}) {
        EXPECT_EQ(BasicUiCounter_SetElapsedTime(bad), 0.0f);
        EXPECT_EQ(BasicUiCounter_GetElapsedTime(bad), 0.0f);
    }
}

TEST_F(BasicUiFrame, TheRateIsTakenEverySixtyPassesWithoutDividingByAStoppedClock)
{
    StartRenderer();
    basicUiNumFrames = 0;
    basicUiTimeTaken = 0.0;
    basicUiFps = -1.0;
    for (int frame = 0; frame < 19; frame++) BasicUi_RenderEnvironment(env);
    EXPECT_EQ(basicUiNumFrames, 57);
    BasicUi_RenderEnvironment(env);  // the 60th pass; the virtual clock has not moved
    EXPECT_EQ(basicUiNumFrames, 0);
    EXPECT_EQ(basicUiFps, 0.0);
}

// ---- Controller copy and the pressed / let-go rule ----

TEST_F(BasicUiFrame, EachUpdateStartsTheUiCopyFromTheLivePadAndDropsLastFramesInjections)
{
    BasicUi_ClrController(1);
    allInput.buttons = kButtonA;
    allInput.edges = kButtonA;
    allInput.x = 0.5f;
    EXPECT_EQ(BasicUi_GetController(1)->buttons, kButtonA);
    EXPECT_EQ(BasicUi_GetController(1)->edges, kButtonA);
    joystickState* ui = BasicUi_GetController(0);
    ASSERT_EQ(ui, &basicUiInput);
    EXPECT_EQ(ui->buttons, 0);
    EXPECT_FLOAT_EQ(ui->x, 0.5f);

    // A widget injects a press; the next frame's update takes it away and brings in the live pad.
    ui->buttons = ui->edges = kBasicUiPadDown;
    EXPECT_TRUE(BasicUi_IsPressed(BasicUi_GetController(0), kBasicUiPadDown));
    BasicUi_UpdateEnvironment(env, 0.0f);
    EXPECT_TRUE(BasicUi_IsFree(BasicUi_GetController(0), kBasicUiPadDown));
    // In the UI's copy A is the framework's accept bit and B its neighbour; the live state is as is.
    EXPECT_TRUE(BasicUi_IsPressed(BasicUi_GetController(0), kButtonB));
    EXPECT_FALSE(BasicUi_IsPressed(BasicUi_GetController(0), kButtonA));
    EXPECT_FLOAT_EQ(basicUiInput.x, 0.5f);
    EXPECT_EQ(allInput.buttons, kButtonA);

    BasicUi_ClrController(1);
    EXPECT_EQ(allInput.buttons | allInput.edges, 0);
    EXPECT_FLOAT_EQ(basicUiInput.x, 0.0f);
}

// A press held when a page opens is the old page's: the UI sees neither it nor its let-go, and the
// next press of the same button is seen again.
TEST_F(BasicUiFrame, AButtonHeldWhenAPageOpensIsHeldBackUntilLetGo)
{
    BasicUi_ClrController(1);
    allInput.buttons = allInput.edges = kButtonA;
    BasicUi_LatchPresses();
    allInput.edges = 0;
    BasicUi_UpdateEnvironment(env, 0.0f);
    EXPECT_TRUE(BasicUi_IsFree(BasicUi_GetController(0), kBasicUiPadAccept)) << "held from before";
    EXPECT_EQ(BasicUi_GetController(1)->buttons, 0);
    allInput.buttons = 0;
    allInput.edges = kButtonA;
    BasicUi_UpdateEnvironment(env, 0.0f);
    EXPECT_FALSE(BasicUi_IsLetGo(BasicUi_GetController(0), kBasicUiPadAccept)) << "its let-go";
    EXPECT_FALSE(BasicUi_IsLetGo(BasicUi_GetController(1), kButtonA));
    allInput.buttons = allInput.edges = kButtonA;
    BasicUi_UpdateEnvironment(env, 0.0f);
    EXPECT_TRUE(BasicUi_IsPressed(BasicUi_GetController(0), kBasicUiPadAccept)) << "a new press";
    BasicUi_ClrController(1);
}

TEST(BasicUiController, PressedLetGoAndFreeFollowTheHeldButtonsAndTheEdges)
{
    struct Case {
        uint16_t buttons, edges;
        int pressed, letGo, free;
    } cases[] = {
        {kBasicUiPadAccept, 0, 0, 0, 0},                  // held since an earlier frame
        {kBasicUiPadAccept, kBasicUiPadAccept, 1, 0, 0},  // went down this frame
        {0, kBasicUiPadAccept, 0, 1, 0},                  // came up this frame
        {0, 0, 0, 0, 1},                                  // up and unchanged
        {kBasicUiPadUp, kBasicUiPadUp, 0, 0, 1},          // another button
    };
    for (const Case& c : cases) {
        joystickState s{};
        s.buttons = c.buttons;
        s.edges = c.edges;
        EXPECT_EQ(BasicUi_IsPressed(&s, kBasicUiPadAccept), c.pressed) << c.buttons << " " << c.edges;
        EXPECT_EQ(BasicUi_IsLetGo(&s, kBasicUiPadAccept), c.letGo) << c.buttons << " " << c.edges;
        EXPECT_EQ(BasicUi_IsFree(&s, kBasicUiPadAccept), c.free) << c.buttons << " " << c.edges;
    }
    EXPECT_EQ(BasicUi_IsPressed(nullptr, kBasicUiPadAccept), 0);
    EXPECT_EQ(BasicUi_IsFree(nullptr, kBasicUiPadAccept), 1);
}

// ---- Touch hand ----

TEST(BasicUiHand, OnlyTheFirstFrameOfATouchOfThePanelReportsItsCanvasPosition)
{
    DS3_controller pad{};
    DS3_controller* saved = controllers[0].controller;
    controllers[0].controller = &pad;
    auto touch = [&pad](int x, int y, int touching) { pad.touchData = {x, y, touching}; };
    float x = -1.0f, y = -1.0f;
    const float restX = 400.0f / 720.0f;
    touch(0, 0, 0);
    EXPECT_EQ(BasicUi_GetHandCoords(0, 0, &x, &y), 0);
    EXPECT_FLOAT_EQ(x, restX);

    touch(160, 120, 1);
    EXPECT_EQ(BasicUi_GetHandCoords(0, 0, &x, &y), 1);
    EXPECT_FLOAT_EQ(x, 560.0f / 720.0f);  // the lower screen's centre on the canvas
    EXPECT_FLOAT_EQ(y, 180.0f / 360.0f);
    touch(200, 100, 1);  // held and moved
    EXPECT_EQ(BasicUi_GetHandCoords(0, 0, &x, &y), 0);
    EXPECT_FLOAT_EQ(x, restX);
    EXPECT_FLOAT_EQ(y, 0.0f);
    EXPECT_EQ(BasicUi_GetPressAmountMc(0), 1);

    touch(0, 0, 0);  // lifted, then touched beside the panel, then within it
    BasicUi_GetHandCoords(0, 0, &x, &y);
    touch(321, 10, 1);
    EXPECT_EQ(BasicUi_GetHandCoords(0, 0, &x, &y), 0);
    EXPECT_EQ(BasicUi_GetPressAmountMc(0), 0);
    touch(1, 0, 1);
    EXPECT_EQ(BasicUi_GetHandCoords(0, 0, nullptr, &y), 1);  // nothing written, the touch not taken
    EXPECT_EQ(BasicUi_GetHandCoords(0, 0, &x, &y), 1);
    EXPECT_FLOAT_EQ(x, 401.0f / 720.0f);
    EXPECT_FLOAT_EQ(y, 60.0f / 360.0f);

    controllers[0].controller = nullptr;
    x = -1.0f;
    EXPECT_EQ(BasicUi_GetHandCoords(0, 0, &x, &y), 0);
    EXPECT_EQ(x, -1.0f);
    controllers[0].controller = saved;
}

}  // namespace
