// Touch buttons: presses that last one update however the touch moves, holds, touches that begin
// elsewhere or are set aside, and dragging within limits.
#include "shell/touchbuttons.h"

#include <gtest/gtest.h>

#include "platform/input.h"

namespace {

class TouchButtons : public ::testing::Test {
protected:
    DS3_controller pad = {};
    DS3_controller* savedPad = nullptr;
    TouchButton_tag b = {};
    void SetUp() override
    {
        savedPad = controllers[0].controller;
        controllers[0].controller = &pad;
        CreateTouchButton(&b, 100, 50, 40, 30);
    }
    void TearDown() override
    {
        Lift();
        controllers[0].controller = savedPad;
    }
    void Touch(int x, int y)
    {
        pad.touchData = DS3_TouchData{x, y, 1};
        UpdateTouchButton(&b);
    }
    void Lift()
    {
        pad.touchData.isTouching = 0;
        UpdateTouchButton(&b);
    }
};

TEST_F(TouchButtons, APressLastsOneUpdateThenHolds)
{
    Lift();
    Touch(110, 60);
    EXPECT_EQ(b.pressed, 1);
    EXPECT_EQ(b.held, 0);
    Touch(111, 60);
    EXPECT_EQ(b.pressed, 0);
    EXPECT_EQ(b.held, 1);
    Lift();
    EXPECT_EQ(b.pressed, 0);
    EXPECT_EQ(b.held, 0);
}

TEST_F(TouchButtons, EdgesAreOutsideAndANewButtonWaitsForTheStylusToLift)
{
    Touch(110, 60);
    EXPECT_EQ(b.pressed, 0) << "the stylus was down when the button appeared";
    Lift();
    Touch(100, 60);
    EXPECT_EQ(b.pressed, 0) << "the left edge is outside";
    Touch(110, 60);
    EXPECT_EQ(b.pressed, 0) << "a touch that began outside never presses";
    Lift();
    Touch(139, 79);
    EXPECT_EQ(b.pressed, 1);
}

TEST_F(TouchButtons, DraggingIsClampedButTheTravelIsKept)
{
    b.moveableX = 1;
    b.minX = 80;
    b.maxX = 150;
    Lift();
    Touch(110, 60);
    Touch(200, 60);  // 90 pixels right: past the limit
    EXPECT_EQ(b.x, 150);
    EXPECT_EQ(b.dx, 90);
    EXPECT_TRUE(b.pressed || b.held) << "a touch that started inside keeps the button when it leaves";
    Touch(0, 60);
    EXPECT_EQ(b.x, 80);
    Lift();
    EXPECT_EQ(b.x, 80) << "the dragged place stays";
    EXPECT_EQ(b.dx, 0);
}

// One touch, one press: sliding off (on the first update after the press or later) and back on
// holds the button, still or draggable, and never presses it again.
TEST_F(TouchButtons, ATouchPressesOnceHoweverItMoves)
{
    for (int drags : {0, 1}) {
        SCOPED_TRACE(drags ? "draggable" : "still");
        CreateTouchButton(&b, 100, 50, 40, 30);
        b.moveableX = drags;
        b.maxX = 300;
        Lift();
        int presses = 0;
        for (int x : {110, 200, 210, 120, 115, 220}) {
            Touch(x, 60);
            presses += b.pressed;
        }
        EXPECT_EQ(presses, 1);
        EXPECT_EQ(b.held, 1);
        Lift();
        Touch(b.x + 5, 60);
        EXPECT_EQ(b.pressed, 1) << "the next touch presses again";
        Lift();
    }
}

// A touch set aside (an overlay came up over the one it began on) presses, holds and drags
// nothing, wherever it goes, until the stylus is lifted.
TEST_F(TouchButtons, ATouchSetAsideTakesNoButtonUntilLifted)
{
    b.moveableX = 1;
    b.maxX = 300;
    Lift();
    Touch(110, 60);
    Touch(130, 60);
    ASSERT_EQ(b.dx, 20);
    TouchButtonsIgnoreCurrentTouch();
    Touch(140, 60);
    EXPECT_EQ(b.pressed + b.held + b.dx, 0) << "let go of the touch it held";
    TouchButton_tag other = {};
    CreateTouchButton(&other, 100, 50, 40, 30);
    other.isActive = 1;
    pad.touchData = DS3_TouchData{110, 60, 1};
    UpdateTouchButton(&other);
    EXPECT_EQ(other.pressed, 0) << "nor does a button that saw the stylus up before";
    Lift();
    Touch(b.x + 5, 60);
    EXPECT_EQ(b.pressed, 1) << "the next touch is a button's again";
}

TEST_F(TouchButtons, HeapButtonsAreFreedOnce)
{
    TouchButton_tag* none = nullptr;
    EXPECT_EQ(FreeTouchButton(&none), 1);
    EXPECT_EQ(UpdateTouchButton(nullptr), 0);
    EXPECT_EQ(CreateTouchButton(nullptr, 0, 0, 1, 1), 0);
}

}  // namespace
