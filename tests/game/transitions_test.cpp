// Screen transitions: the fade's steps each way, the hold of a covered screen, callbacks that are
// not ready, a restart during a fade, and the state a finished transition leaves.
#include "game/transitions.h"

#include <gtest/gtest.h>

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

}  // namespace
