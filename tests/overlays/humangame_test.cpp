// A person's whole game with the buttons on the lane of the build's game data: the test plays the
// part of the person, answering whichever overlay is up as a player would (walk the bowler, stop
// the swing, stop the meter, hold a hook), and every throw reaches the ball through the shot
// fields at the bowler's release frame, until all ten frames are scored.
#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>

#include <cmath>
#include <cstdint>

#include "game/actors.h"
#include "game/animation.h"
#include "game/areas.h"
#include "game/ball.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/records.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/trig.h"
#include "overlays/angle.h"
#include "overlays/hook.h"
#include "overlays/overlaystack.h"
#include "overlays/position.h"
#include "overlays/power.h"
#include "overlays/scoreoverlay.h"
#include "platform/input.h"
#include "platform/render.h"
#include "screens/frontend.h"
#include "screens/quicklaunch.h"
#include "shell/globals.h"
#include "shell/physicsmemory.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

class HumanGameOnTheLane : public ::testing::Test {
protected:
    HostOptions saved;
    uint16_t held = 0;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(64 << 20), 1);
        saved = gHostOptions;
        gHostOptions.headless = 0;
        ASSERT_EQ(PrepareWholeGame(), 1);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        // The game's pictures are not looked at here: its commands are checked, not drawn on GL.
        GpuExecuteOnlyFor(nullptr, 0);
    }
    void TearDown() override
    {
        EndWholeGame();
        GpuExecuteAll();
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }
    // One game frame with the person's buttons and pad: input, then the game's logic step.
    bool Frame(uint16_t buttons, float padX)
    {
        allInput.edges = uint16_t(held ^ buttons);
        allInput.buttons = buttons;
        allInput.x = padX;
        held = buttons;
        return HandleControls() && UpdateGameLogic();
    }
    static int (*Top())()
    {
        OVERLAYTAG top{};
        OverlayGetHandlers(&top);
        return top.openHandler;
    }
};

// What the person does to each overlay, and what the throws carried to the ball.
TEST_F(HumanGameOnTheLane, APersonBowlsTenFramesWithTheButtons)
{
    // The launch of "--launch quick --players 2 --humans 1 --controls buttons".
    gHostOptions.launch = "quick";
    gHostOptions.players = 2;
    gHostOptions.humans = 1;
    gHostOptions.buttonControls = 0;
    ASSERT_EQ(LaunchFromOptions(), 1);
    EXPECT_EQ(gGameOptions.controlMode, 0) << "the stylus unless the buttons are chosen";
    gHostOptions.buttonControls = 1;
    ASSERT_EQ(LaunchFromOptions(), 1);
    EXPECT_NE(GetControllerAssignment(0), kAssignmentComputer) << "the person bowls first";
    EXPECT_EQ(GetControllerAssignment(1), kAssignmentComputer);
    gNumPlayers = 1;  // the person alone plays on
    ASSERT_EQ(GameLoopSetup(), 1);
    ASSERT_EQ(GetControlMode(), kControlModeButtons);
    TITLE_PlayerInfoStruct& p = gPlayerInfo[0];
    actor_tag* bowler = p.theActor;
    ASSERT_NE(bowler, nullptr);
    const float releaseFrame = float(ReleaseFrameForBody(p.playerData.bodyMeshRSID));
    const float hook = -0.4f;  // a right-hander's hook, to the left
    const float share = std::fmin(1.0f, (p.playerData.throwHookMax + p.playerData.throwHookMod) * 0.01f);

    int (*current)() = nullptr;
    int framesOnTop = 0, throws = 0, state = GetControlState();
    float speed = 0.0f;
    for (int step = 0; step < 40000 && !gGameOver; ++step) {
        int (*top)() = Top();
        framesOnTop = top == current ? framesOnTop + 1 : 0;
        current = top;
        // Past the frames a new overlay drops, the person presses A, at a moment that depends on
        // the step; on the position step the pad walks the bowler right every other ball, on the
        // hook step it holds the hook.
        int pressAt = -1;
        float padX = 0.0f;
        if (top == DSScoreOpenHandler) pressAt = 10;
        if (top == DSStandardPositionOpenHandler) pressAt = 20, padX = framesOnTop < 12 && throws % 2 ? 1.0f : 0.0f;
        if (top == DSStandardAngleOpenHandler) pressAt = 6 + throws % 5;
        if (top == DSStandardPowerOpenHandler) pressAt = 12;
        if (top == DSStandardHookOpenHandler) padX = hook;
        ASSERT_TRUE(Frame(framesOnTop == pressAt ? kButtonA : 0, padX)) << "frame " << step;

        const int now = GetControlState();
        if (now == kControlReleased && state != kControlReleased) {
            SCOPED_TRACE(++throws);
            EXPECT_EQ(Top(), DSStandardHookOpenHandler);
            EXPECT_GE(bowler->animInfo.animationFrame, releaseFrame);
            EXPECT_LT(bowler->animInfo.animationFrame, releaseFrame + 3.0f) << "let go at the release frame";
            EXPECT_EQ(bowlingBall->team, 1);
            EXPECT_NEAR(testOptions.initialBallRoty, testOptions.initialBallVel / 28.0f * -hook * share * -1750.0f, 1e-2f);
            const float v = testOptions.initialBallVel * 0.78f * 24.0f * 0.016f;
            EXPECT_NEAR(bowlingBall->Xvelocity, std::sin(testOptions.initialBallHeading * 0.017453292f) * v, 2e-3f);
            EXPECT_NEAR(bowlingBall->Yvelocity, std::cos(testOptions.initialBallHeading * 0.017453292f) * v, 2e-3f);
            // The meter is always stopped 12 frames in: always the same speed.
            if (throws == 1) speed = testOptions.initialBallVel;
            EXPECT_EQ(testOptions.initialBallVel, speed);
        }
        state = now;
    }
    ASSERT_EQ(gGameOver, 1) << "the game ends after " << throws << " throws";
    EXPECT_EQ(Top(), DSScoreOpenHandler) << "the game ends on the score sheet";
    EXPECT_EQ(p.ballsThrown, throws) << "every ball went through the overlays";
    int sum = 0;
    for (int f = 0; f < 10; ++f) {
        ASSERT_GE(p.frameScore[f], 0) << f;
        sum += p.frameScore[f];
    }
    EXPECT_EQ(sum, p.totalScore);
    EXPECT_GT(p.totalScore, 0) << "the throws reach the pins";
}

}  // namespace
