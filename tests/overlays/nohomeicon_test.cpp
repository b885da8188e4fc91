// The HOME-menu-refused icon: its fade in, hold and fade out over the frames of the lower screen,
// a second refused press while it shows, and where the per-screen drawing runs it.
#include "overlays/nohomeicon.h"

#include <gtest/gtest.h>

#include <vector>

#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "platform/frame.h"
#include "shell/globals.h"
#include "shell/settings.h"

namespace {

class NoHomeIcon : public ::testing::Test {
protected:
    int savedRate = 0;
    void SetUp() override
    {
        savedRate = updateRate;
        updateRate = 33;
        ResetNoHomeIcon();
    }
    void TearDown() override
    {
        ResetNoHomeIcon();
        updateRate = savedRate;
    }
    // Draws frames until the icon is gone; the opacity of each drawn frame in order.
    static std::vector<int> RunToTheEnd()
    {
        std::vector<int> alphas;
        while (NoHomeDrawing() && alphas.size() < 1000) {
            alphas.push_back(NoHomeIconAlpha());
            DrawNoHomeOverlay();
        }
        return alphas;
    }
};

TEST_F(NoHomeIcon, FadesInHoldsAndFadesOutOverAboutFiveAndAHalfSeconds)
{
    EXPECT_EQ(NoHomeDrawing(), 0);
    EXPECT_EQ(DrawNoHomeOverlay(), 1) << "nothing to draw is no failure";
    StartNoHomeIcon();
    ASSERT_EQ(NoHomeDrawing(), 1);
    const std::vector<int> a = RunToTheEnd();
    // 320 ms, 4000 ms and 1320 ms at 33 ms a frame: each phase ends on the frame its time runs
    // below zero.
    ASSERT_EQ(a.size(), 10u + 122u + 41u);
    EXPECT_EQ(a[0], 0) << "the first frame is clear";
    for (size_t i = 1; i < 10; ++i) EXPECT_GT(a[i], a[i - 1]) << i;
    EXPECT_GE(a[9], 230);
    for (size_t i = 10; i < 132; ++i) ASSERT_EQ(a[i], 255) << i;
    EXPECT_EQ(a[132], 255) << "the fade out starts from full";
    for (size_t i = 133; i < a.size(); ++i) EXPECT_LT(a[i], a[i - 1]) << i;
    EXPECT_LE(a.back(), 10);
    EXPECT_EQ(NoHomeIconAlpha(), 0);
}

TEST_F(NoHomeIcon, APressWhileItShowsDoesNotStartItAgain)
{
    StartNoHomeIcon();
    for (int i = 0; i < 100; ++i) DrawNoHomeOverlay();
    StartNoHomeIcon();
    EXPECT_EQ(NoHomeIconAlpha(), 255) << "still holding";
    EXPECT_EQ(RunToTheEnd().size(), 173u - 100u);

    // Once it is gone, the next refused press shows it from the start.
    StartNoHomeIcon();
    EXPECT_EQ(NoHomeIconAlpha(), 0);
    EXPECT_EQ(RunToTheEnd().size(), 173u);
}

TEST_F(NoHomeIcon, TheRefusalIsBracketedBySaves)
{
    EXPECT_EQ(HomeMenuDisabled(), 0);
    EnableNoHomeDraw();
    EXPECT_EQ(HomeMenuDisabled(), 1);
    EXPECT_EQ(NoHomeDrawing(), 0) << "refusing shows nothing until a press is refused";
    DisableNoHomeDraw();
    EXPECT_EQ(HomeMenuDisabled(), 0);
}

// The per-screen drawing of the game runs the icon on the lower screen only, once a frame, also
// while overlays are up (over them).
TEST_F(NoHomeIcon, RunsWithTheLowerScreensOverlays)
{
    const int savedControls = gGameControls;
    gGameControls = 0;
    StartNoHomeIcon();
    SetHUDDisplay(0);
    for (int i = 0; i < 20; ++i) DrawGameOverlays();
    EXPECT_EQ(NoHomeIconAlpha(), 0) << "the upper screen does not advance it";
    SetHUDDisplay(1);
    for (int i = 0; i < 10; ++i) DrawGameOverlays();
    EXPECT_EQ(NoHomeIconAlpha(), 255) << "ten lower-screen frames fade it in";
    for (int i = 0; i < 163; ++i) DrawGameOverlays();
    EXPECT_EQ(NoHomeDrawing(), 0);
    gGameControls = savedControls;
}

}  // namespace
