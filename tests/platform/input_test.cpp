#include <gtest/gtest.h>

#include <string>

#include "host/host.h"
#include "host/input.h"
#include "platform/input.h"

namespace {

// Controller reads fed by an input script, one presented frame per step.
class InputRead : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = gHostOptions;
        gHostOptions.headless = 1;
        gHostOptions.inputScript.clear();
        gHostOptions.frameLimit = -1;
        HostInputShutdown();
        HostResetFrames();
        ASSERT_EQ(InitJoysticks(), 1);
        ClearInputs();
    }
    void TearDown() override
    {
        HostInputShutdown();
        HostResetFrames();
        ClearInputs();
        gHostOptions = saved;
    }
    void Script(const char* text)
    {
        std::string error;
        ASSERT_EQ(HostInputParseScript(text, "test", &error), 1) << error;
    }
    // Reads the frame, then moves on to the next one.
    void ReadFrame()
    {
        ASSERT_EQ(ReadControls(nullptr), 1);
        HostFramePresented();
    }
    HostOptions saved;
};

}  // namespace

TEST_F(InputRead, PadBitsBecomeTheGameButtons)
{
    const struct {
        uint32_t pad;
        uint16_t game;
    } table[] = {
        {0x002, kButtonB},     {0x001, kButtonA},      {0x400, kButtonX},    {0x800, kButtonY},
        {0x200, kButtonL},     {0x100, kButtonR},      {0x008, kButtonStart}, {0x004, kButtonSelect},
        {0x020, kButtonLeft},  {0x010, kButtonRight},  {0x040, kButtonUp},   {0x080, kButtonDown},
    };
    for (const auto& row : table) EXPECT_EQ(PadButtonsToGameButtons(row.pad), row.game) << row.pad;
    // No other bit is ever set, whatever the platform reports.
    EXPECT_EQ(PadButtonsToGameButtons(0xFFFFFFFFu), 0x7BDE);
    EXPECT_EQ(PadButtonsToGameButtons(0xFFFFF000u), 0);
}

TEST_F(InputRead, EdgesAreThePressesAndReleasesSinceThePreviousRead)
{
    Script("0 A\n2 A B\n3\n");
    ReadFrame();  // A pressed
    EXPECT_EQ(controllers[0].buttons, kButtonA);
    EXPECT_EQ(controllers[0].edges, kButtonA);
    ReadFrame();  // A held
    EXPECT_EQ(controllers[0].buttons, kButtonA);
    EXPECT_EQ(controllers[0].edges, 0);
    ReadFrame();  // B joins
    EXPECT_EQ(controllers[0].buttons, kButtonA | kButtonB);
    EXPECT_EQ(controllers[0].edges, kButtonB);
    ReadFrame();  // both let go
    EXPECT_EQ(controllers[0].buttons, 0);
    EXPECT_EQ(controllers[0].edges, kButtonA | kButtonB);
    EXPECT_EQ(allInput.edges, kButtonA | kButtonB);
    EXPECT_EQ(allInput.buttons, 0);
}

TEST_F(InputRead, TwoReadsInOneFrameSeeTheEdgeOnce)
{
    Script("0 START\n");
    ASSERT_EQ(ReadControls(nullptr), 1);
    EXPECT_EQ(controllers[0].edges, kButtonStart);
    ASSERT_EQ(ReadControls(nullptr), 1);
    EXPECT_EQ(controllers[0].edges, 0);
    EXPECT_EQ(controllers[0].buttons, kButtonStart);
}

TEST_F(InputRead, AButtonHeldThroughClearInputsIsPressedAgain)
{
    Script("0 A stick 0.25 -0.75\n");
    ReadFrame();
    ReadFrame();
    EXPECT_EQ(controllers[0].edges, 0);
    ClearInputs();
    EXPECT_EQ(controllers[0].buttons, 0);
    EXPECT_FLOAT_EQ(controllers[0].x, 0.0f);
    EXPECT_EQ(allInput.buttons, 0);
    ReadFrame();
    EXPECT_EQ(controllers[0].edges, kButtonA);
    EXPECT_EQ(controllers[0].buttons, kButtonA);
}

TEST_F(InputRead, StickDeadZoneAndTheMergedRecord)
{
    Script("0 X stick 0.25 -0.75\n");
    controllers[0].leftAnalogDeadzoneThreshold = 0.5f;  // whatever was there, each read sets it
    ReadFrame();
    EXPECT_FLOAT_EQ(controllers[0].x, 0.25f);
    EXPECT_FLOAT_EQ(controllers[0].y, -0.75f);
    EXPECT_FLOAT_EQ(controllers[0].leftAnalogDeadzoneThreshold, 1.0f / 29.0f);
    EXPECT_EQ(allInput.buttons, kButtonX);
    EXPECT_EQ(allInput.edges, kButtonX);
    EXPECT_FLOAT_EQ(allInput.x, 0.25f);
    EXPECT_FLOAT_EQ(allInput.y, -0.75f);
}

TEST_F(InputRead, SecondSlotIsClearedOnEveryRead)
{
    Script("0 A\n");
    controllers[1].buttons = kButtonStart;
    controllers[1].edges = kButtonStart;
    controllers[1].x = controllers[1].y = controllers[1].x2 = controllers[1].y2 = 0.5f;
    controllers[2].buttons = kButtonB;  // slots past 1 belong to nobody on this hardware
    ReadFrame();
    EXPECT_EQ(controllers[1].buttons, 0);
    EXPECT_EQ(controllers[1].edges, 0);
    EXPECT_FLOAT_EQ(controllers[1].x, 0.0f);
    EXPECT_FLOAT_EQ(controllers[1].y2, 0.0f);
    EXPECT_EQ(controllers[2].buttons, kButtonB);
}

TEST_F(InputRead, TouchPanelReachesThePlatformRecord)
{
    Script("0 touch 0 0\n1\n");
    ASSERT_NE(controllers[0].controller, nullptr);
    ReadFrame();
    const DS3_TouchData& touch = controllers[0].controller->touchData;
    EXPECT_EQ(touch.isTouching, 1);
    EXPECT_EQ(touch.x, 0);
    EXPECT_EQ(touch.y, 0);
    ReadFrame();
    EXPECT_EQ(touch.isTouching, 0);
}

TEST_F(InputRead, WithoutPadStatusTheLastStateStays)
{
    Script("0 A\n");
    ReadFrame();
    HostInputShutdown();  // no status from now on
    HostFramePresented();
    ASSERT_EQ(ReadControls(nullptr), 1);
    EXPECT_EQ(controllers[0].buttons, kButtonA);
    EXPECT_EQ(controllers[0].edges, kButtonA);
}

TEST_F(InputRead, ADamagedScriptStopsTheRun)
{
    HostInputShutdown();
    gHostOptions.inputScript = ::testing::TempDir() + "missing-input-script.txt";
    EXPECT_EQ(InitJoysticks(), 0);
    EXPECT_EQ(HostCloseRequested(), 1);
}
