// The window's devices as the game reads them: SDL events queued as a desktop would queue them
// (SDL's dummy video driver, no display needed), pumped by the controller read, reach the pad
// bits, the circle pad and the touch panel in the lower screen's own pixels, and a touch button
// under the mouse is pressed.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdlib>
#include <string>

#include "host/host.h"
#include "host/input.h"
#include "platform/input.h"
#include "shell/touchbuttons.h"

namespace {

class HostInputWindow : public ::testing::Test {
protected:
    HostOptions saved;
    std::string savedDriver;
    int hadDriver = 0;

    void SetUp() override
    {
        saved = gHostOptions;
        const char* driver = std::getenv("SDL_VIDEODRIVER");
        hadDriver = driver != nullptr;
        if (driver) savedDriver = driver;
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        HostInputShutdown();
        gHostOptions.headless = 0;  // a desktop run: the read pumps SDL's events
        gHostOptions.inputScript.clear();
        gHostOptions.scale = 2;
        HostResetFrames();
        ClearInputs();
        ASSERT_EQ(InitJoysticks(), 1);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override
    {
        HostInputShutdown();
        ClearInputs();
        HostResetFrames();
        if (hadDriver) setenv("SDL_VIDEODRIVER", savedDriver.c_str(), 1);
        else unsetenv("SDL_VIDEODRIVER");
        gHostOptions = saved;
    }
    static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
    static void Mouse(uint32_t type, int x, int y)
    {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.x = x;
            e.motion.y = y;
        } else {
            e.button.button = SDL_BUTTON_LEFT;
            e.button.x = x;
            e.button.y = y;
        }
        Push(e);
    }
    static void Key(SDL_Scancode code, int down)
    {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.scancode = code;
        Push(e);
    }
    static const DS3_TouchData& Touch() { return controllers[0].controller->touchData; }
};

// At scale 2 the lower screen fills window pixels (80, 480) to (720, 960): each of its pixels is
// two window pixels wide and high.
TEST_F(HostInputWindow, TheMouseOverTheLowerScreenTouchesItsPixelsAtScaleTwo)
{
    ASSERT_NE(controllers[0].controller, nullptr);
    Mouse(SDL_MOUSEBUTTONDOWN, 80 + 2 * 251, 480 + 2 * 198);
    ReadControls(nullptr);
    EXPECT_EQ(Touch().isTouching, 1);
    EXPECT_EQ(Touch().x, 251);
    EXPECT_EQ(Touch().y, 198);

    Mouse(SDL_MOUSEMOTION, 80 + 2 * 319 + 1, 480 + 2 * 239 + 1);  // the last window pixel
    ReadControls(nullptr);
    EXPECT_EQ(Touch().x, 319);
    EXPECT_EQ(Touch().y, 239);

    Mouse(SDL_MOUSEBUTTONUP, 80 + 2 * 319, 480 + 2 * 239);
    ReadControls(nullptr);
    EXPECT_EQ(Touch().isTouching, 0);

    // The upper screen, and the black bands beside the lower one, are not the touch panel.
    for (int x : {79, 721}) {
        Mouse(SDL_MOUSEBUTTONDOWN, x, 600);
        ReadControls(nullptr);
        EXPECT_EQ(Touch().isTouching, 0) << x;
        Mouse(SDL_MOUSEBUTTONUP, x, 600);
    }
    Mouse(SDL_MOUSEBUTTONDOWN, 400, 479);
    ReadControls(nullptr);
    EXPECT_EQ(Touch().isTouching, 0);
    Mouse(SDL_MOUSEBUTTONUP, 400, 479);
    ReadControls(nullptr);
}

TEST_F(HostInputWindow, AClickOnATouchButtonPressesItOnceAndADragMovesIt)
{
    // The position step's next button (226, 173, 50 x 50) and a knob draggable along x.
    TouchButton_tag next{}, knob{};
    CreateTouchButton(&next, 226, 173, 50, 50);
    CreateTouchButton(&knob, 100, 145, 40, 40);
    knob.moveableX = 1;
    knob.minX = 22;
    knob.maxX = 253;
    ReadControls(nullptr);
    UpdateTouchButton(&next);  // the stylus is up: the buttons may react
    UpdateTouchButton(&knob);

    Mouse(SDL_MOUSEBUTTONDOWN, 80 + 2 * 251, 480 + 2 * 198);
    ReadControls(nullptr);
    UpdateTouchButton(&next);
    EXPECT_EQ(next.pressed, 1);
    ReadControls(nullptr);
    UpdateTouchButton(&next);
    EXPECT_EQ(next.pressed, 0) << "a press lasts one update";
    EXPECT_EQ(next.held, 1);
    Mouse(SDL_MOUSEBUTTONUP, 80 + 2 * 251, 480 + 2 * 198);
    ReadControls(nullptr);
    UpdateTouchButton(&next);
    UpdateTouchButton(&knob);
    EXPECT_EQ(next.held, 0);

    // Grab the knob at its middle and drag it 30 screen pixels (60 window pixels) right.
    Mouse(SDL_MOUSEBUTTONDOWN, 80 + 2 * 120, 480 + 2 * 165);
    ReadControls(nullptr);
    UpdateTouchButton(&knob);
    EXPECT_EQ(knob.pressed, 1);
    Mouse(SDL_MOUSEMOTION, 80 + 2 * 150, 480 + 2 * 165);
    ReadControls(nullptr);
    UpdateTouchButton(&knob);
    EXPECT_EQ(knob.dx, 30);
    EXPECT_EQ(knob.x, 130);
}

// The keyboard drives every step of the button-driven throw: A goes on (and stops the swing and
// the meter), Escape goes back, Enter is START, and Shift with A or D is the circle pad across
// (walk the bowler, hold the hook).
TEST_F(HostInputWindow, TheKeysOfTheButtonThrowReachTheGamesButtonsAndCirclePad)
{
    Key(SDL_SCANCODE_A, 1);
    ReadControls(nullptr);
    EXPECT_EQ(allInput.buttons, kButtonA);
    EXPECT_EQ(allInput.edges, kButtonA);
    Key(SDL_SCANCODE_A, 0);
    ReadControls(nullptr);
    EXPECT_EQ(allInput.buttons, 0);
    EXPECT_EQ(allInput.edges, kButtonA) << "the let-go the steps wait for";

    Key(SDL_SCANCODE_ESCAPE, 1);
    Key(SDL_SCANCODE_RETURN, 1);
    ReadControls(nullptr);
    EXPECT_EQ(allInput.buttons, kButtonB | kButtonStart);
    Key(SDL_SCANCODE_ESCAPE, 0);
    Key(SDL_SCANCODE_RETURN, 0);
    ReadControls(nullptr);

    Key(SDL_SCANCODE_LSHIFT, 1);
    Key(SDL_SCANCODE_D, 1);
    ReadControls(nullptr);
    EXPECT_EQ(allInput.x, 1.0f);
    EXPECT_EQ(allInput.buttons, 0);
    Key(SDL_SCANCODE_D, 0);
    Key(SDL_SCANCODE_A, 1);
    ReadControls(nullptr);
    EXPECT_EQ(allInput.x, -1.0f);
    EXPECT_EQ(allInput.buttons, 0) << "A with Shift is the circle pad, not the A button";
    Key(SDL_SCANCODE_A, 0);
    Key(SDL_SCANCODE_LSHIFT, 0);
    ReadControls(nullptr);
    EXPECT_EQ(allInput.x, 0.0f);

    // The arrows are the d-pad, which walks the bowler on the stylus controls' first step.
    Key(SDL_SCANCODE_LEFT, 1);
    ReadControls(nullptr);
    EXPECT_EQ(allInput.buttons, kButtonLeft);
    Key(SDL_SCANCODE_LEFT, 0);
    ReadControls(nullptr);
}

// A tap of the A key and a click shorter than a frame, both let go before the frame's read, reach
// the game: A newly pressed for one frame then let go, and a touch button under the click pressed.
TEST_F(HostInputWindow, TapsShorterThanAFrameReachTheGame)
{
    Key(SDL_SCANCODE_A, 1);
    Key(SDL_SCANCODE_A, 0);
    ReadControls(nullptr);
    EXPECT_EQ(allInput.buttons, kButtonA);
    EXPECT_EQ(allInput.edges, kButtonA);
    ReadControls(nullptr);
    EXPECT_EQ(allInput.buttons, 0);
    EXPECT_EQ(allInput.edges, kButtonA);

    TouchButton_tag next{};
    CreateTouchButton(&next, 226, 173, 50, 50);
    UpdateTouchButton(&next);  // the stylus is up: the button may react
    Mouse(SDL_MOUSEBUTTONDOWN, 80 + 2 * 251, 480 + 2 * 198);
    Mouse(SDL_MOUSEBUTTONUP, 80 + 2 * 251, 480 + 2 * 198);
    ReadControls(nullptr);
    UpdateTouchButton(&next);
    EXPECT_EQ(next.pressed, 1);
    ReadControls(nullptr);
    UpdateTouchButton(&next);
    EXPECT_EQ(Touch().isTouching, 0);
    EXPECT_EQ(next.pressed, 0);
}

}  // namespace
