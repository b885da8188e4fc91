#include <gtest/gtest.h>

#include <SDL2/SDL_events.h>

#include <cstdio>
#include <string>

#include "host/host.h"
#include "host/input.h"

namespace {

// Every test starts from a headless host input with no script and nothing held.
class HostInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = gHostOptions;
        gHostOptions.headless = 1;
        gHostOptions.inputScript.clear();
        gHostOptions.frameLimit = -1;
        HostInputShutdown();
        ASSERT_EQ(HostInputInit(), 1);
        HostResetFrames();
    }
    void TearDown() override
    {
        HostInputShutdown();
        HostInputSetTouchArea(40, 240, kTouchWidth, kTouchHeight);
        HostResetFrames();
        gHostOptions = saved;
    }
    HostOptions saved;
};

class HostInputScript : public HostInputTest {};
class HostInputDevices : public HostInputTest {};

HostInputState At(long frame)
{
    HostInputState s;
    s.pad = 0xFFFF;
    EXPECT_EQ(HostInputScriptState(frame, &s, nullptr, nullptr), 1);
    return s;
}

SDL_Event Key(int scancode, int down)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.scancode = SDL_Scancode(scancode);
    return e;
}

void Send(SDL_Event e) { EXPECT_EQ(HostInputHandleEvent(&e), 1); }

// One read of the window's devices, as the controller read makes it once a frame.
HostInputState Read()
{
    HostInputState s;
    EXPECT_EQ(HostInputRead(&s), 1);
    return s;
}
void Press(int scancode) { Send(Key(scancode, 1)); }
void Release(int scancode) { Send(Key(scancode, 0)); }

SDL_Event PadButton(SDL_JoystickID id, int button, int down)
{
    SDL_Event e{};
    e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    e.cbutton.which = id;
    e.cbutton.button = uint8_t(button);
    return e;
}

SDL_Event PadAxis(SDL_JoystickID id, int axis, int value)
{
    SDL_Event e{};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.which = id;
    e.caxis.axis = uint8_t(axis);
    e.caxis.value = int16_t(value);
    return e;
}

SDL_Event Mouse(uint32_t type, int x, int y)
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
    return e;
}

}  // namespace

TEST_F(HostInputScript, LinesHoldFromTheirFrameUntilTheNext)
{
    std::string error;
    ASSERT_EQ(HostInputParseScript("# a throw\n"
                                   "\n"
                                   "10 a start   # two buttons\r\n"
                                   "12 LEFT stick -0.5 1 touch 319 239\n"
                                   "  20\t\n",
                                   "moves.txt", &error),
              1)
        << error;
    EXPECT_EQ(At(0).pad, 0u);  // nothing before the first line
    EXPECT_EQ(At(9).pad, 0u);
    EXPECT_EQ(At(10).pad, kPadA | kPadStart);
    EXPECT_EQ(At(11).pad, kPadA | kPadStart);
    EXPECT_EQ(At(10).touching, 0);

    HostInputState s = At(12);
    EXPECT_EQ(s.pad, kPadLeft);
    EXPECT_FLOAT_EQ(s.stickX, -0.5f);
    EXPECT_FLOAT_EQ(s.stickY, 1.0f);
    EXPECT_EQ(s.touching, 1);
    EXPECT_EQ(s.touchX, 319);
    EXPECT_EQ(s.touchY, 239);

    s = At(500);  // the last line holds: everything let go
    EXPECT_EQ(s.pad, 0u);
    EXPECT_EQ(s.touching, 0);
    EXPECT_FLOAT_EQ(s.stickX, 0.0f);
}

TEST_F(HostInputScript, EveryButtonNameHasItsPadBit)
{
    std::string error;
    ASSERT_EQ(HostInputParseScript("0 A B X Y L R START SELECT UP DOWN LEFT RIGHT\n", "s", &error), 1) << error;
    EXPECT_EQ(At(0).pad, 0xFFFu);
}

TEST_F(HostInputScript, DamagedScriptsAreRefusedNamingTheLine)
{
    std::string error;
    ASSERT_EQ(HostInputParseScript("5 B\n", "good.txt", &error), 1);

    const struct {
        const char* text;
        const char* expected;
    } bad[] = {
        {"x A\n", "bad.txt line 1: bad frame number 'x'"},
        {"-1 A\n", "line 1: bad frame number"},
        {"3.5\n", "line 1: bad frame number"},
        {"99999999999999999999 A\n", "line 1: bad frame number"},
        {"1 A\n2 JUMP\n", "line 2: unknown button 'JUMP'"},
        {"1 A\n\n# c\n7 B\n4 A\n", "line 5: frame 4 does not come after frame 7 of line 4"},
        {"1 A\n1 B\n", "line 2: frame 1 does not come after frame 1"},
        {"1 stick 0.5\n", "line 1: stick needs X and Y"},
        {"1 stick 2 0\n", "line 1: bad stick position"},
        {"1 stick nan 0\n", "line 1: bad stick position"},
        {"1 stick 0.1x 0\n", "line 1: bad stick position"},
        {"1 touch 320 0\n", "line 1: bad touch position"},
        {"1 touch 0 -1\n", "line 1: bad touch position"},
        {"1 touch 5\n", "line 1: touch needs X and Y"},
        {"1 touch 1 1 touch 2 2\n", "line 1: the touch is given twice"},
        {"1 A a\n", "line 1: button a is given twice"},
        {"1 \x01\x02\n", "line 1: unknown button '?" "?'"},
    };
    for (const auto& b : bad) {
        error.clear();
        EXPECT_EQ(HostInputParseScript(b.text, "bad.txt", &error), 0) << b.text;
        EXPECT_NE(error.find(b.expected), std::string::npos) << "got: " << error;
    }
    // A refused script leaves the one in use alone.
    EXPECT_EQ(At(5).pad, kPadB);
}

TEST_F(HostInputScript, LoadsFromAFileAndReportsAMissingOne)
{
    std::string path = ::testing::TempDir() + "host_input_script.txt";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("0 X\n3 Y\n", f);
    std::fclose(f);

    std::string error;
    ASSERT_EQ(HostInputLoadScript(path.c_str(), &error), 1) << error;
    EXPECT_EQ(At(4).pad, kPadY);
    std::remove(path.c_str());

    EXPECT_EQ(HostInputLoadScript(path.c_str(), &error), 0);
    EXPECT_NE(error.find(path), std::string::npos);
    EXPECT_NE(error.find("cannot open"), std::string::npos);
    EXPECT_EQ(HostInputScriptLoaded(), 1);  // the loaded script stays
}

TEST_F(HostInputScript, InitRefusesTheScriptOfTheCommandLine)
{
    HostInputShutdown();
    gHostOptions.inputScript = ::testing::TempDir() + "no-such-input-script.txt";
    EXPECT_EQ(HostInputInit(), 0);
    HostInputState s;
    EXPECT_EQ(HostInputRead(&s), 0);
}

TEST_F(HostInputScript, ReadsFollowThePresentedFramesAndPressHomeAndPowerOnce)
{
    std::string error;
    ASSERT_EQ(HostInputParseScript("1 A HOME\n2 A\n4 power HOME\n", "s", &error), 1) << error;
    HostInputState s;
    ASSERT_EQ(HostInputRead(&s), 1);
    EXPECT_EQ(s.pad, 0u);
    EXPECT_EQ(HostInputTakeHomePress(), 0);

    HostFramePresented();  // frame 1
    ASSERT_EQ(HostInputRead(&s), 1);
    ASSERT_EQ(HostInputRead(&s), 1);  // a second read in the same frame presses nothing again
    EXPECT_EQ(s.pad, kPadA);
    EXPECT_EQ(HostInputTakeHomePress(), 1);
    EXPECT_EQ(HostInputTakeHomePress(), 0);

    // A read that skips past a line's frame still gets its presses.
    for (int i = 0; i < 5; ++i) HostFramePresented();
    ASSERT_EQ(HostInputRead(&s), 1);
    EXPECT_EQ(HostInputTakeHomePress(), 1);
    EXPECT_EQ(HostInputTakePowerPress(), 1);
    EXPECT_EQ(HostInputTakePowerPress(), 0);
}

// The letters press the buttons they name; Space confirms and Escape goes back.
TEST_F(HostInputDevices, KeyboardMapsToThePad)
{
    const struct {
        int key;
        uint32_t bit;
    } keys[] = {
        {SDL_SCANCODE_A, kPadA},         {SDL_SCANCODE_B, kPadB},           {SDL_SCANCODE_X, kPadX},
        {SDL_SCANCODE_Y, kPadY},         {SDL_SCANCODE_SPACE, kPadA},       {SDL_SCANCODE_ESCAPE, kPadB},
        {SDL_SCANCODE_Z, kPadB},         {SDL_SCANCODE_S, kPadX},           {SDL_SCANCODE_Q, kPadL},
        {SDL_SCANCODE_W, kPadR},         {SDL_SCANCODE_UP, kPadUp},         {SDL_SCANCODE_DOWN, kPadDown},
        {SDL_SCANCODE_LEFT, kPadLeft},   {SDL_SCANCODE_RIGHT, kPadRight},   {SDL_SCANCODE_RETURN, kPadStart},
        {SDL_SCANCODE_KP_ENTER, kPadStart}, {SDL_SCANCODE_BACKSPACE, kPadSelect},
        // Not buttons: the circle pad's D without Shift, the view key, HOME and power.
        {SDL_SCANCODE_D, 0},             {SDL_SCANCODE_V, 0},               {SDL_SCANCODE_H, 0},
        {SDL_SCANCODE_P, 0},
    };
    for (const auto& k : keys) {
        Press(k.key);
        HostInputState s = Read();
        EXPECT_EQ(s.pad, k.bit) << SDL_GetScancodeName(SDL_Scancode(k.key));
        EXPECT_FLOAT_EQ(s.stickX, 0.0f);
        Release(k.key);
        EXPECT_EQ(Read().pad, 0u) << SDL_GetScancodeName(SDL_Scancode(k.key));
    }
}

TEST_F(HostInputDevices, ShiftTurnsWasdIntoTheCirclePad)
{
    Press(SDL_SCANCODE_LSHIFT);
    Press(SDL_SCANCODE_W);
    HostInputState s = Read();
    EXPECT_EQ(s.pad, 0u);  // not R while Shift is held
    EXPECT_FLOAT_EQ(s.stickY, 1.0f);
    EXPECT_FLOAT_EQ(s.stickX, 0.0f);

    Press(SDL_SCANCODE_D);
    s = Read();
    EXPECT_NEAR(s.stickX * s.stickX + s.stickY * s.stickY, 1.0f, 1e-5f);  // a diagonal stays on the rim
    EXPECT_GT(s.stickX, 0.0f);

    Release(SDL_SCANCODE_LSHIFT);
    s = Read();
    EXPECT_EQ(s.pad, kPadR);
    EXPECT_FLOAT_EQ(s.stickX, 0.0f);
}

TEST_F(HostInputDevices, HomeAndPowerKeysPressOncePerStroke)
{
    Press(SDL_SCANCODE_H);
    SDL_Event repeat = Key(SDL_SCANCODE_H, 1);
    repeat.key.repeat = 1;
    Send(repeat);
    Release(SDL_SCANCODE_H);
    Press(SDL_SCANCODE_P);
    EXPECT_EQ(HostInputTakeHomePress(), 1);
    EXPECT_EQ(HostInputTakeHomePress(), 0);
    EXPECT_EQ(HostInputTakePowerPress(), 1);
    EXPECT_EQ(Read().pad, 0u);
}

TEST_F(HostInputDevices, GameControllerButtonsGoByPosition)
{
    const struct {
        int button;
        uint32_t bit;
    } buttons[] = {
        {SDL_CONTROLLER_BUTTON_B, kPadA},          {SDL_CONTROLLER_BUTTON_A, kPadB},
        {SDL_CONTROLLER_BUTTON_Y, kPadX},          {SDL_CONTROLLER_BUTTON_X, kPadY},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, kPadL}, {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, kPadR},
        {SDL_CONTROLLER_BUTTON_START, kPadStart},  {SDL_CONTROLLER_BUTTON_BACK, kPadSelect},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, kPadUp},   {SDL_CONTROLLER_BUTTON_DPAD_DOWN, kPadDown},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, kPadLeft}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, kPadRight},
    };
    for (const auto& b : buttons) {
        Send(PadButton(7, b.button, 1));
        EXPECT_EQ(Read().pad, b.bit) << b.button;
        Send(PadButton(7, b.button, 0));
        EXPECT_EQ(Read().pad, 0u) << b.button;
    }
    Send(PadButton(7, SDL_CONTROLLER_BUTTON_GUIDE, 1));
    EXPECT_EQ(HostInputTakeHomePress(), 1);

    Send(PadAxis(7, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 30000));
    EXPECT_EQ(Read().pad, kPadR);
    Send(PadAxis(7, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0));
    EXPECT_EQ(Read().pad, 0u);

    // Two controllers hold their buttons apart; a removed one lets go of its own.
    Send(PadButton(7, SDL_CONTROLLER_BUTTON_B, 1));
    Send(PadButton(9, SDL_CONTROLLER_BUTTON_START, 1));
    EXPECT_EQ(Read().pad, kPadA | kPadStart);
    SDL_Event removed{};
    removed.type = SDL_CONTROLLERDEVICEREMOVED;
    removed.cdevice.which = 9;
    Send(removed);
    EXPECT_EQ(Read().pad, kPadA);
}

// A key, controller button or click pressed and let go between two reads is held for the first
// read and let go for the second; one held across reads is held until its release is read.
TEST_F(HostInputDevices, PressesShorterThanAReadAreSeenByOneRead)
{
    const struct {
        const char* what;
        SDL_Event down, up;
        uint32_t bit;
    } presses[] = {
        {"A key", Key(SDL_SCANCODE_A, 1), Key(SDL_SCANCODE_A, 0), kPadA},
        {"Escape key", Key(SDL_SCANCODE_ESCAPE, 1), Key(SDL_SCANCODE_ESCAPE, 0), kPadB},
        {"controller A", PadButton(4, SDL_CONTROLLER_BUTTON_B, 1), PadButton(4, SDL_CONTROLLER_BUTTON_B, 0), kPadA},
    };
    for (const auto& p : presses) {
        Send(p.down);
        Send(p.up);
        EXPECT_EQ(Read().pad, p.bit) << p.what;
        EXPECT_EQ(Read().pad, 0u) << p.what;

        Send(p.down);  // held over two reads, then let go
        Read();
        EXPECT_EQ(Read().pad, p.bit) << p.what;
        Send(p.up);
        EXPECT_EQ(Read().pad, 0u) << p.what;
    }

    // A click on the lower screen touches it at the click for one read.
    HostInputSetTouchArea(40, 240, kTouchWidth, kTouchHeight);
    Send(Mouse(SDL_MOUSEBUTTONDOWN, 40 + 17, 240 + 99));
    Send(Mouse(SDL_MOUSEBUTTONUP, 40 + 17, 240 + 99));
    HostInputState s = Read();
    EXPECT_EQ(s.touching, 1);
    EXPECT_EQ(s.touchX, 17);
    EXPECT_EQ(s.touchY, 99);
    EXPECT_EQ(Read().touching, 0);

    // Losing the focus forgets a press not yet read.
    Press(SDL_SCANCODE_B);
    Release(SDL_SCANCODE_B);
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    Send(focus);
    EXPECT_EQ(Read().pad, 0u);
}

TEST_F(HostInputDevices, LeftStickIsTheCirclePadWithYUp)
{
    Send(PadAxis(3, SDL_CONTROLLER_AXIS_LEFTY, -32768));  // pushed up
    HostInputState s = Read();
    EXPECT_FLOAT_EQ(s.stickY, 1.0f);
    EXPECT_FLOAT_EQ(s.stickX, 0.0f);

    Send(PadAxis(3, SDL_CONTROLLER_AXIS_LEFTY, 1500));  // resting slightly off centre
    Send(PadAxis(3, SDL_CONTROLLER_AXIS_LEFTX, -1500));
    s = Read();
    EXPECT_FLOAT_EQ(s.stickX, 0.0f);
    EXPECT_FLOAT_EQ(s.stickY, 0.0f);

    Send(PadAxis(3, SDL_CONTROLLER_AXIS_LEFTX, 16384));  // half way right: past the dead zone, below full
    s = Read();
    EXPECT_GT(s.stickX, 0.3f);
    EXPECT_LT(s.stickX, 0.5f);
}

TEST_F(HostInputDevices, MouseOnTheLowerScreenIsTheStylus)
{
    HostInputSetTouchArea(100, 480, 640, 480);  // the lower screen drawn twice its size
    Send(Mouse(SDL_MOUSEBUTTONDOWN, 50, 50));  // on the upper screen: no touch
    EXPECT_EQ(Read().touching, 0);
    Send(Mouse(SDL_MOUSEBUTTONUP, 50, 50));

    Send(Mouse(SDL_MOUSEBUTTONDOWN, 100, 480));  // top-left corner
    HostInputState s = Read();
    EXPECT_EQ(s.touching, 1);
    EXPECT_EQ(s.touchX, 0);
    EXPECT_EQ(s.touchY, 0);

    Send(Mouse(SDL_MOUSEMOTION, 421, 701));
    s = Read();
    EXPECT_EQ(s.touchX, 160);
    EXPECT_EQ(s.touchY, 110);

    Send(Mouse(SDL_MOUSEMOTION, 5000, -5));  // dragged off the screen: held on its edge
    s = Read();
    EXPECT_EQ(s.touching, 1);
    EXPECT_EQ(s.touchX, kTouchWidth - 1);
    EXPECT_EQ(s.touchY, 0);

    Send(Mouse(SDL_MOUSEBUTTONUP, 5000, -5));
    EXPECT_EQ(Read().touching, 0);
}

TEST_F(HostInputDevices, ClosingTheWindowOrdersTheClose)
{
    EXPECT_EQ(HostCloseRequested(), 0);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Send(quit);
    EXPECT_EQ(HostCloseRequested(), 1);
}

TEST_F(HostInputDevices, LosingTheFocusLetsGoOfEverything)
{
    Press(SDL_SCANCODE_X);
    Send(PadButton(1, SDL_CONTROLLER_BUTTON_START, 1));
    Send(Mouse(SDL_MOUSEBUTTONDOWN, 200, 300));
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    Send(focus);
    HostInputState s = Read();
    EXPECT_EQ(s.pad, 0u);
    EXPECT_EQ(s.touching, 0);
}

TEST_F(HostInputDevices, AScriptOverridesTheDevices)
{
    Press(SDL_SCANCODE_A);
    HostInputState s;
    ASSERT_EQ(HostInputRead(&s), 1);
    EXPECT_EQ(s.pad, kPadA);
    std::string error;
    ASSERT_EQ(HostInputParseScript("0 B\n", "s", &error), 1);
    ASSERT_EQ(HostInputRead(&s), 1);
    EXPECT_EQ(s.pad, kPadB);
}
