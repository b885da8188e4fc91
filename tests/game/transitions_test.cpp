// Screen transitions: the fade's steps each way, the hold of a covered screen, callbacks that are
// not ready, a restart during a fade, the state a finished transition leaves, and the black cover
// that a fade through black draws on every drawing step.
#include "game/transitions.h"

#include <gtest/gtest.h>

#include "lib/screenapi.h"
#include "platform/gpu_recording.h"
#include "platform/quads.h"
#include "support/device_heap.h"

namespace {

// Counts of the callbacks' calls, and how many times each answers "not yet" before it succeeds.
struct Calls {
    int start = 0, wiped = 0, complete = 0;
    int startRefusals = 0, wipedRefusals = 0;
};
Calls calls;

int Start() { return ++calls.start > calls.startRefusals; }
int Wiped() { return ++calls.wiped > calls.wipedRefusals; }
int Complete()
{
    ++calls.complete;
    return 0;  // ignored
}

// One game frame as the game runs it: the logic step, then a drawing step.
void Frame()
{
    UpdateTransition();
    DrawTransition();
}

// Frames until the transition ends (bounded).
int FramesToEnd()
{
    int frames = 0;
    while (IsTransitionActive() && frames < 1000) {
        Frame();
        ++frames;
    }
    return frames;
}

class Transition : public ::testing::Test {
protected:
    void SetUp() override
    {
        calls = {};
        // Whatever an earlier test left running ends first (undrawn).
        SetTransitionCallbacks(nullptr, nullptr, nullptr);
        FramesToEnd();
    }
};

// Drawing steps until the cover is complete (the opacity reaches 1).
int StepsToCover()
{
    int steps = 0;
    while (GetTransitionOpacity() < 1.0f && steps < 100) {
        DrawTransition();
        ++steps;
    }
    return steps;
}

TEST_F(Transition, FadesInThirtyFourStepsEachWayAndHoldsEightyOneWithoutCallbacks)
{
    StartTransition(nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(StepsToCover(), 34);
    // 81 logic steps hold the cover, the next one starts the uncover.
    for (int i = 0; i < kTransitionHoldSteps; ++i) {
        UpdateTransition();
        EXPECT_EQ(GetTransitionOpacity(), 1.0f) << i;
    }
    DrawTransition();
    EXPECT_EQ(GetTransitionOpacity(), 1.0f) << "still held";
    UpdateTransition();
    int steps = 0;
    while (GetTransitionOpacity() > 0.0f && steps < 100) {
        DrawTransition();
        ++steps;
    }
    EXPECT_EQ(steps, 34);
    EXPECT_TRUE(IsTransitionActive());
    UpdateTransition();
    EXPECT_FALSE(IsTransitionActive());
}

TEST_F(Transition, RetriesRefusingCallbacksAndKeepsTheScreenMeanwhile)
{
    calls.startRefusals = 3;
    calls.wipedRefusals = 5;
    StartTransition(Start, Wiped, Complete, 0);
    for (int i = 0; i < 3; ++i) {
        Frame();
        EXPECT_EQ(GetTransitionOpacity(), 0.0f) << "no fade before the start callback succeeds";
    }
    // The cover, five refused covered steps, the uncover (starting on the step that succeeds),
    // and the step that ends it.
    EXPECT_EQ(FramesToEnd(), 34 + 5 + 34 + 1);
    EXPECT_EQ(calls.start, 4);
    EXPECT_EQ(calls.wiped, 6);
    EXPECT_EQ(calls.complete, 1);
    EXPECT_EQ(GetTransitionOpacity(), 0.0f);
}

TEST_F(Transition, RestartDuringTheUncoverCoversAgainAndRunsTheCoveredCallbackAgain)
{
    StartTransition(Start, Wiped, Complete, 0);
    while (calls.wiped == 0) Frame();
    for (int i = 0; i < 10; ++i) DrawTransition();
    const float part = GetTransitionOpacity();
    EXPECT_LT(part, 1.0f);
    SetTransitionActive(1);
    Frame();
    EXPECT_GT(GetTransitionOpacity(), part) << "covering again from where it was";
    FramesToEnd();
    EXPECT_EQ(calls.start, 2);
    EXPECT_EQ(calls.wiped, 2);
    EXPECT_EQ(calls.complete, 1);
}

// Drawing steps record their 2D quads and GPU commands; the drawing target is the test's.
class TransitionCover : public Transition {
protected:
    void SetUp() override
    {
        Transition::SetUp();
        ASSERT_EQ(UseFreshDeviceHeap(1 << 20), 1);
        ASSERT_EQ(InitOverlays(4), 1);
        savedTarget = screenBuffer;
        displayID = kDisplayLower;
        s_ActiveShader = -1;
        RenderDisableParallax();
        RenderSetTexture(nullptr);
        RenderSetPenColor(128, 128, 128);  // the screens' neutral pen
        RenderSetAlphaLevel(255);
    }
    void TearDown() override
    {
        SetTransitionType(0);
        FramesToEnd();
        screenBuffer = savedTarget;
        DisposeOverlays();
        ReleaseDeviceHeap();
        s_ActiveShader = -1;
    }
    DS3_bitmap_tag* savedTarget = nullptr;
    GpuRecording rec;
};

// The cover of every drawing step: where it lies and the colour it is drawn in, for each screen
// the cover can be drawn on.
TEST_F(TransitionCover, FadeThroughBlackDrawsItsCoverOnEveryStep)
{
    struct Case {
        const char* name;
        int type;
        int width, height;  // of the drawing target; 0 for none
        int covers;         // quads a step draws
    };
    const Case cases[] = {
        {"lower screen", kTransitionFadeBlack, 320, 240, 1},
        {"an eye of the upper screen", kTransitionFadeBlack, 400, 240, 1},
        {"no drawing target: the lower screen's size", kTransitionFadeBlack, 0, 0, 1},
        {"type 0 draws nothing", 0, 320, 240, 0},
        {"nor does another type", 2, 320, 240, 0},
    };
    DS3_bitmap_tag target{};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        target.width = uint16_t(c.width);
        target.height = uint16_t(c.height);
        screenBuffer = c.width ? &target : nullptr;
        const int w = c.width ? c.width : 320, h = c.height ? c.height : 240;
        StartTransition(nullptr, nullptr, nullptr, c.type);
        int steps = 0, opaque = 0;
        while (IsTransitionActive() && steps < 1000) {
            StartFrameOverlays();
            rec.Clear();
            UpdateTransition();
            const int drawing = IsTransitionActive();
            DrawTransition();
            RenderEndScreenPolys();
            ++steps;
            ASSERT_EQ(numOverlayPolys, drawing ? uint32_t(c.covers) : 0u) << "step " << steps;
            uint8_t alpha = 0;
            RenderGetAlphaLevel(&alpha);
            EXPECT_EQ(alpha, 255) << "the alpha is given back";
            if (!numOverlayPolys) continue;
            // The cover reaches 10 pixels past every edge of the target.
            const ScreenPolyVertex* v = overlayBuffers[overlayBufferNum].vertices;
            EXPECT_FLOAT_EQ(v[0].x, -10.0f);
            EXPECT_FLOAT_EQ(v[0].y, -10.0f);
            EXPECT_FLOAT_EQ(v[3].x, float(w + 10));
            EXPECT_FLOAT_EQ(v[3].y, float(h + 10));
            // Black, as opaque as the fade has come: the flat colour sent before the draw.
            uint32_t colour = 0;
            int drawn = 0;
            for (const RegWrite& write : rec.Writes()) {
                if (write.reg == kGpuRegCombiner(0) + kGpuCombinerConstant && !drawn) colour = write.value;
                if (write.reg == kGpuRegDrawIndexed) ++drawn;
            }
            ASSERT_EQ(drawn, 1) << "step " << steps;
            const uint32_t expected = uint32_t(GetTransitionOpacity() * 255.0f);
            EXPECT_EQ(colour, GpuRgba8(0, 0, 0, expected)) << "step " << steps;
            opaque += expected == 255;
        }
        EXPECT_GT(steps, 2 * 34);
        EXPECT_EQ(opaque > 0, c.covers > 0) << "the screen is covered at the turn";
    }
}

}  // namespace
