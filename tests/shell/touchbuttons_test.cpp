// Touch buttons: presses that last one update, holds, touches that begin elsewhere, and dragging
// within limits.
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
    void TearDown() override { controllers[0].controller = savedPad; }
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

TEST_F(TouchButtons, HeapButtonsAreFreedOnce)
{
    TouchButton_tag* none = nullptr;
    EXPECT_EQ(FreeTouchButton(&none), 1);
    EXPECT_EQ(UpdateTouchButton(nullptr), 0);
    EXPECT_EQ(CreateTouchButton(nullptr, 0, 0, 1, 1), 0);
}

}  // namespace
