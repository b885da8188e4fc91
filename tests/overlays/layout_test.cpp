// Every overlay of a game, drawn with the fonts and pictures the game ships: each draw succeeds
// (no picture is missing) and no line of text runs off its screen or over another line. The text
// output records the rectangle of every line it draws; the checks are made on those.
#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>

#include <string>
#include <vector>

#include "game/areas.h"
#include "game/ball.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/records.h"
#include "game/replay.h"
#include "host/host.h"
#include "lib/resourceload.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "lib/trig.h"
#include "overlays/angle.h"
#include "overlays/hook.h"
#include "overlays/hud.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/overlaystrings.h"
#include "overlays/pausemenu.h"
#include "overlays/position.h"
#include "overlays/power.h"
#include "overlays/questionoverlays.h"
#include "overlays/scoreoverlay.h"
#include "overlays/startturn.h"
#include "overlays/touchposition.h"
#include "overlays/touchrelease.h"
#include "platform/input.h"
#include "platform/render.h"
#include "screens/frontend.h"
#include "screens/quicklaunch.h"
#include "shell/globals.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

// One screen of the game: how to bring it up in a fresh game (a person and a computer, the
// person's turn, the score sheet open) and which screen it is drawn on.
struct Screen {
    const char* name;
    int upper;
    void (*bringUp)();
};

void Open(int (*start)())
{
    start();
    OverlayUpdate();
}

void LeaveSheet()
{
    while (OverlayExists() && OverlayExit()) {
    }
}

void Step(int (*start)())
{
    LeaveSheet();
    Open(start);
}

void TouchStep(int (*start)())
{
    SetControlMode(kControlModeTouch);
    Step(start);
}

// A sheet late in the game: strikes, spares and open frames in every column, the sheet scrolled
// to the end.
void LateSheet()
{
    TITLE_PlayerInfoStruct& p = gPlayerInfo[0];
    const int balls[9][2] = {{10, -1}, {7, 3}, {9, 0}, {10, -1}, {10, -1}, {8, 2}, {6, 3}, {10, -1}, {0, 10}};
    int total = 0;
    for (int f = 0; f < 9; ++f) {
        p.framePinCount[f][0] = balls[f][0];
        p.framePinCount[f][1] = balls[f][1];
        total += 20;
        p.frameScore[f] = 20;
    }
    p.framePinCount[9][0] = p.framePinCount[9][1] = p.framePinCount[9][2] = 10;
    p.frameScore[9] = 30;
    p.currFrame = 10;
    p.totalScore = total + 30;
    gPlayerInfo[1] = p;
    // The other bowler's small row shows a tenth frame of a strike and two counts.
    gPlayerInfo[1].framePinCount[9][1] = 6;
    gPlayerInfo[1].framePinCount[9][2] = 3;
    gGameOver = 1;
    LeaveSheet();
    Open(StartDSScoreOverlay);
}

// The other bowler's small row after an open first frame of 6 and 3.
void OpenFrameInASmallRow()
{
    TITLE_PlayerInfoStruct& p = gPlayerInfo[1];
    p.framePinCount[0][0] = 6;
    p.framePinCount[0][1] = 3;
    p.frameScore[0] = p.totalScore = 9;
    p.currFrame = 1;
    LeaveSheet();
    Open(StartDSScoreOverlay);
}

void AfterTheRelease()
{
    LeaveSheet();
    SetControlState(kControlReleased);
}

// A throw whose speed, as the plate shows it, is 15 and the given tenth of a mile an hour. The
// speed shown is the thrown one less a random jitter, the same one each time the random sequence
// starts again: a throw at 0 gives the jitter, and the throw is made that much faster.
void ThrowShowingTenth(int tenth)
{
    SeedRandom();
    SetInitialBallParams(0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    const float jitter = GetBallInitialVel();
    const float mphPerFootPerSecond = BallSpeedMPH(1.0f, nullptr, nullptr);
    SeedRandom();
    SetInitialBallParams((15.05f + 0.1f * float(tenth)) / mphPerFootPerSecond - jitter, 0.0f, 0.0f, 0.0f, 0.0f);
}

void PrintTo(const Screen& screen, std::ostream* os) { *os << screen.name; }

const Screen kScreens[] = {
    {"ScoreSheetOfAPerson", 0, [] { OverlayUpdate(); }},
    {"ScoreSheetOfAComputer", 0, [] { gCurrPlayer = 1; OverlayUpdate(); }},
    {"ScoreSheetAtTheEnd", 0, LateSheet},
    {"ScoreSheetWithAnOpenFrameInASmallRow", 0, OpenFrameInASmallRow},
    {"StartOfTurn", 0, [] { Step(StartDSStandardStartTurnOverlay); }},
    {"Position", 0, [] { Step(StartDSStandardPositionOverlay); }},
    {"Angle", 0, [] { Step(StartDSStandardAngleOverlay); }},
    {"Power", 0, [] { Step(StartDSStandardPowerOverlay); }},
    {"Hook", 0, [] { Step(StartDSStandardHookOverlay); }},
    {"TouchPosition", 0, [] { TouchStep(StartDSTouchPositionOverlay); }},
    {"TouchRelease", 0, [] { TouchStep(StartDSTouchReleaseOverlay); }},
    {"PauseMenu", 0, [] { Open(StartPauseMenuOverlay); }},
    {"QuitQuestion", 0, [] { Open(ConfirmReturnToMainMenu); }},
    {"PlayAgainQuestion", 0, [] { Open([] { return StartYesNoOverlay("", GeneralGameString(3), ButtonString(3), nullptr); }); }},
    {"GameOverInformation", 0, [] { Open([] { return StartInfoOverlay("", GeneralGameString(2), ButtonString(0), nullptr); }); }},
    {"HeadsUpWhileSettingUp", 1, [] { LeaveSheet(); SetControlState(kControlPosition); }},
    {"HeadsUpAfterTheRelease", 1, AfterTheRelease},
    {"ReplayPanel", 0, [] { LeaveSheet(); SetReplayActive(1); }},
};

class OverlayLayout : public ::testing::TestWithParam<Screen> {
protected:
    HostOptions saved;
    int savedHalves[3] = {};

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(64 << 20), 1);
        saved = gHostOptions;
        savedHalves[0] = screenBufferHalfWidth;
        savedHalves[1] = screenLowerBufferHalfWidth;
        savedHalves[2] = screenBufferHalfHeight;
        ASSERT_EQ(PrepareWholeGame(), 1);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        ScreenChangeDisplayMode();
        screenBufferHalfWidth = 200;
        screenLowerBufferHalfWidth = 160;
        screenBufferHalfHeight = 120;
        // The fonts and overlay pictures, as start-up loads them.
        ASSERT_EQ(LoadResourceRange1x1(3050, 3084), 1);
        ASSERT_EQ(LoadResourceRange1x1(3200, 3299), 1);
        ASSERT_EQ(InitOverlayBitmaps(), 1);
        ASSERT_EQ(StartQuickGame(2, 1), 1);
    }
    void TearDown() override
    {
        TextOutputRecordLines(nullptr, 0, nullptr);
        SetReplayActive(0);
        DisposeOverlayBitmaps();
        EndWholeGame();
        ReleaseDeviceHeap();
        gHostOptions = saved;
        screenBufferHalfWidth = savedHalves[0];
        screenLowerBufferHalfWidth = savedHalves[1];
        screenBufferHalfHeight = savedHalves[2];
        gGameOver = 0;
    }
};

std::string Describe(const TextLineBounds& b)
{
    return "(" + std::to_string(b.x) + ", " + std::to_string(b.y) + ") " + std::to_string(b.w) + " x " +
           std::to_string(b.h);
}

// Draws the screen, which has been brought up, and checks every line of text it drew.
void DrawAndCheckLines(const Screen& screen)
{
    TextLineBounds lines[128];
    int count = 0;
    TextOutputRecordLines(lines, 128, &count);
    SetHUDDisplay(screen.upper ? 0 : 1);
    const int drawn = screen.upper ? DrawUpperHUD() : (OverlayExists() ? OverlayDraw() : DrawLowerHUD());
    TextOutputRecordLines(nullptr, 0, nullptr);
    ASSERT_EQ(drawn, 1) << "a picture or a font of the screen is missing";
    ASSERT_GT(count, 0) << "every screen has some text";
    ASSERT_LE(count, 128);

    // A glyph's cell holds a blank pixel or two at its sides, top and bottom (the font's lines
    // stand a pixel closer than its cells are tall); boxes may reach that far past an edge or
    // into each other without a drawn pixel being lost or covered.
    const int m = 2;
    const int kClearGap = 2;
    const int kPictureLine = 30;
    const int width = screen.upper ? 400 : 320, height = 240;
    for (int i = 0; i < count; ++i) {
        const TextLineBounds& a = lines[i];
        // A line wholly off the screen is a part of a scrolled sheet that is not shown.
        if (a.x + a.w <= 0 || a.x >= width || a.y + a.h <= 0 || a.y >= height) continue;
        EXPECT_TRUE(a.x >= -m && a.y >= -m && a.x + a.w <= width + m && a.y + a.h <= height + m)
            << "line " << i << " " << Describe(a) << " is cut off at the screen's edge";
        for (int j = i + 1; j < count; ++j) {
            const TextLineBounds& b = lines[j];
            const int overlap = a.x + m < b.x + b.w && b.x + m < a.x + a.w && a.y + m < b.y + b.h && b.y + m < a.y + a.h;
            EXPECT_FALSE(overlap) << "line " << i << " " << Describe(a) << " and line " << j << " " << Describe(b)
                                  << " are drawn over each other";
            // Two lines of words of one row with less than a clear gap between them read as
            // one: a 6 and a 3 as 63. (A line with a button's picture is as tall as the picture,
            // which keeps its own margin inside the line.)
            const int words = a.h < kPictureLine && b.h < kPictureLine;
            const int sameRow = words && a.y + m < b.y + b.h && b.y + m < a.y + a.h;
            const int gap = a.x < b.x ? b.x - (a.x + a.w) : a.x - (b.x + b.w);
            EXPECT_FALSE(sameRow && !overlap && gap < kClearGap)
                << "line " << i << " " << Describe(a) << " and line " << j << " " << Describe(b) << " run together";
        }
    }
}

TEST_P(OverlayLayout, EveryPictureIsThereAndNoTextIsCutOffOrCovered)
{
    const Screen& screen = GetParam();
    screen.bringUp();
    if (screen.bringUp != AfterTheRelease) {
        DrawAndCheckLines(screen);
        return;
    }
    // After the release the plate shows the ball's speed: drawn with each tenth a player may see,
    // as the digits differ in width.
    for (int tenth = 0; tenth <= 9; ++tenth) {
        SCOPED_TRACE("15." + std::to_string(tenth) + " mph");
        ThrowShowingTenth(tenth);
        int shown = -1;
        BallSpeedMPH(GetBallInitialVel(), nullptr, &shown);
        ASSERT_EQ(shown, tenth);
        DrawAndCheckLines(screen);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryScreen, OverlayLayout, ::testing::ValuesIn(kScreens),
                         [](const ::testing::TestParamInfo<Screen>& info) { return std::string(info.param.name); });

}  // namespace
