#include <gtest/gtest.h>

#include <algorithm>

#include "platform/startup.h"
#include "recording_display.h"
#include "shell/globals.h"
#include "shell/quitdialog.h"
#include "shell/startup.h"

namespace {

int Count(const std::string& call)
{
    return int(std::count(gDisplay.calls.begin(), gDisplay.calls.end(), call));
}

class Splash : public ::testing::Test {
protected:
    void SetUp() override
    {
        gDisplay = DisplayRecord{};
        done = 0;
    }
    void TearDown() override { done = 0; }
};

TEST_F(Splash, FadesInHoldsAndFadesOutAtThirtyThreeMillisecondsAFrame)
{
    ASSERT_EQ(SplashScreen(3320, 3000), 1);
    // 400 ms of fade in, 3000 ms held, 434 ms of fade out, in 33 ms frames.
    EXPECT_EQ(gDisplay.frames, 13 + 91 + 14);
    EXPECT_EQ(Count("ReadControls"), 91);  // only the hold reads the controls
    ASSERT_EQ(gDisplay.alphas.size(), 27u);
    EXPECT_EQ(gDisplay.alphas.front(), 255);       // black at first
    EXPECT_LT(gDisplay.alphas[12], 40);            // almost clear after 400 ms
    EXPECT_EQ(gDisplay.alphas[13], 0);             // the fade out starts clear
    EXPECT_GT(gDisplay.alphas.back(), 200);        // and ends nearly black
    EXPECT_TRUE(std::is_sorted(gDisplay.alphas.begin(), gDisplay.alphas.begin() + 13, std::greater<int>()));
    EXPECT_TRUE(std::is_sorted(gDisplay.alphas.begin() + 13, gDisplay.alphas.end()));
    EXPECT_EQ(gDisplay.calls.front(), "ReadResource(3320)");
    EXPECT_EQ(gDisplay.calls[gDisplay.calls.size() - 2], "Background(none)");
    EXPECT_EQ(gDisplay.calls.back(), "DisposeResource(3320)");
}

TEST_F(Splash, DoneSkipsTheRestButStillReleasesTheImage)
{
    gDisplay.doneAfterFrames = 20;  // during the hold
    EXPECT_EQ(SplashScreen(3320, 3000), 1);
    EXPECT_EQ(gDisplay.frames, 20);
    EXPECT_EQ(gDisplay.calls.back(), "DisposeResource(3320)");

    gDisplay = DisplayRecord{};
    done = 1;
    EXPECT_EQ(SplashScreen(3320, 3000), 1);
    EXPECT_EQ(gDisplay.frames, 0);
}

TEST_F(Splash, Failures)
{
    gDisplay.bitmapLoaded = 0;
    EXPECT_EQ(SplashScreen(3320, 3000), 0);
    EXPECT_EQ(gDisplay.frames, 0);

    gDisplay = DisplayRecord{};
    gDisplay.failFrameAt = 5;
    EXPECT_EQ(SplashScreen(3320, 3000), 0);
    EXPECT_EQ(gDisplay.frames, 5);  // a failing frame stops at once

    gDisplay = DisplayRecord{};
    gDisplay.disposeResult = 0;
    EXPECT_EQ(SplashScreen(3320, 0), 0);
}

TEST_F(Splash, MessageBoxRunsUntilDoneWithTheTextAsItIs)
{
    gDisplay.doneAfterFrames = 3;
    EXPECT_EQ(DisplayNoSpaceQuitDialog("100% sure\nline two", 540, 190), 1);
    EXPECT_EQ(gDisplay.frames, 3);
    EXPECT_EQ(Count("ReadControls"), 3);
    EXPECT_EQ(Count("Panel(540x190)"), 3);
    // Centred at the middle of the lower screen, 2.5 lines up; the text is an argument, never a format.
    EXPECT_EQ(Count("Text(160,95,%s)"), 3);
    EXPECT_EQ(gInRenderLoop, 0);

    // The frame limit's close order, served by the read of the controls, ends the box before
    // another frame, which would be refused: the box was shown until closed, and says so.
    gDisplay = DisplayRecord{};
    done = 0;
    gDisplay.doneAtRead = 3;
    EXPECT_EQ(DisplayNoSpaceQuitDialog("text", 540, 190), 1);
    EXPECT_EQ(gDisplay.frames, 2);
}

TEST_F(Splash, MessageBoxFailures)
{
    gDisplay.fontLoaded = 0;
    EXPECT_EQ(DisplayNoSpaceQuitDialog("text", 540, 190), 0);
    EXPECT_EQ(gDisplay.frames, 0);

    gDisplay = DisplayRecord{};
    gDisplay.failFrameAt = 2;
    EXPECT_EQ(DisplayNoSpaceQuitDialog("text", 540, 190), 0);
    EXPECT_EQ(gDisplay.frames, 2);
}

}  // namespace
