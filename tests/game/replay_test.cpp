// Instant replay: what is recorded, which celebration clip follows a ball, and the replay loop's
// ends (nothing recorded, a whole recording, a skip) on a game set up on the build's game data.
#include "game/replay.h"

#include <gtest/gtest.h>

#include <string>

#include "game/actors.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/pins.h"
#include "game/records.h"
#include "game/scoring.h"
#include "game/transitions.h"
#include "host/gpu.h"
#include "host/host.h"
#include "host/input.h"
#include "lib/memory.h"
#include "platform/applet.h"
#include "platform/input.h"
#include "platform/utilities.h"
#include "platform/render.h"
#include "shell/globals.h"
#include "shell/scenedraw.h"
#include "shell/upperlayers.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

TITLE_PlayerInfoStruct Player(int lastBallResult, int strikesInRow)
{
    TITLE_PlayerInfoStruct p = {};
    p.lastBallResult = lastBallResult;
    p.strikesInRow = strikesInRow;
    return p;
}

const int kStrike = 11, kSpare = 10;

class CelebrationClips : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetCelebrationClips();
        quitGame = 0;
        SetTransitionActive(0);  // a fade another test left running
    }
};

TEST_F(CelebrationClips, StrikesCycleThroughTheNineClipsAndTheThirdInARowIsATurkey)
{
    for (int i = 0; i < 9; ++i) EXPECT_EQ(ChooseCelebrationClip(Player(kStrike, 1), 0, 0).index, i);
    const CelebrationClip tenth = ChooseCelebrationClip(Player(kStrike, 2), 0, 0);
    EXPECT_EQ(tenth.kind, kCelebrationStrike);
    EXPECT_EQ(tenth.index, 0) << "the tenth strike clip is the first again";
    EXPECT_EQ(ChooseCelebrationClip(Player(kStrike, 3), 0, 0).kind, kCelebrationTurkey);
    const CelebrationClip fourth = ChooseCelebrationClip(Player(kStrike, 4), 0, 0);
    EXPECT_EQ(fourth.kind, kCelebrationStrike);
    EXPECT_EQ(fourth.index, 1) << "the turkey took no strike clip's turn";
    EXPECT_EQ(ChooseCelebrationClip(Player(kSpare, 0), 0, 0).kind, kCelebrationSpare);
    EXPECT_EQ(ChooseCelebrationClip(Player(0, 0), 0, 0).kind, kCelebrationNone);
}

TEST_F(CelebrationClips, NoneInTheSparesChallengeForAComputerOrDuringATransition)
{
    EXPECT_EQ(ChooseCelebrationClip(Player(kStrike, 1), kGameSpares, 0).kind, kCelebrationNone);
    EXPECT_EQ(ChooseCelebrationClip(Player(kStrike, 1), 0, 1).kind, kCelebrationNone);
    StartTransition(nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(ChooseCelebrationClip(Player(kStrike, 1), 0, 0).kind, kCelebrationNone);
    SetTransitionActive(0);
    EXPECT_EQ(ChooseCelebrationClip(Player(kStrike, 1), 0, 0).index, 0) << "nothing was used up";
}

// A game of two computer bowlers on the first alley, drawn headless.
class ReplayOnTheLane : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(64 << 20), 1);
        ASSERT_EQ(PrepareWholeGame(), 1);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        // The pictures are not looked at here: the commands are checked, not drawn on GL.
        GpuExecuteOnlyFor(nullptr, 0);
        ASSERT_EQ(StartQuickGame(2, 0), 1);
    }
    void TearDown() override
    {
        EndWholeGame();
        GpuExecuteAll();
        ReleaseDeviceHeap();
    }
};

TEST_F(ReplayOnTheLane, NothingRecordedShowsOneFrameAndAFullRecordingKeeps499)
{
    ASSERT_EQ(ReplayFramesRecorded(), 0);
    long before = HostFramesPresented();
    ASSERT_EQ(StartReplay(0), 1);
    EXPECT_EQ(HostFramesPresented() - before, 1);
    EXPECT_FALSE(IsReplayActive());

    for (int i = 0; i < 600; ++i) StoreReplayData();
    EXPECT_EQ(ReplayFramesRecorded(), 499);
    before = HostFramesPresented();
    ASSERT_EQ(StartReplay(0), 1);
    EXPECT_EQ(HostFramesPresented() - before, 499);
    EXPECT_GE(ReplayCameraSlot(), 2);
    EXPECT_LE(ReplayCameraSlot(), 10);
    EXPECT_EQ(ReplayFramesRecorded(), 0) << "recording starts again";
}

TEST_F(ReplayOnTheLane, APressOfAOnTheFirstFrameEndsTheReplayAfterThatFrame)
{
    for (int i = 0; i < 50; ++i) StoreReplayData();
    const long first = HostFramesPresented();
    std::string error;
    const std::string script = std::to_string(first) + " A\n" + std::to_string(first + 2) + "\n";
    ASSERT_EQ(HostInputParseScript(script, "replay", &error), 1) << error;
    ASSERT_EQ(HostInputInit(), 1);
    ASSERT_EQ(StartReplay(0), 1);
    HostInputUnloadScript();
    HostInputShutdown();
    EXPECT_EQ(HostFramesPresented() - first, 1);
    EXPECT_FALSE(IsReplayActive());
}

// The skip button: a touch landing on it (its middle or near a corner of the button the replay
// panel draws) on the first replay frame ends the replay after that frame; a touch that was
// already down when the replay began (the stylus left on the screen) is not a skip, and the whole
// recording plays.
TEST_F(ReplayOnTheLane, ATouchLandingOnTheSkipButtonEndsTheReplayOneHeldSinceBeforeDoesNot)
{
    const struct {
        int x, y, held;
    } touches[] = {{231, 162, 0}, {188, 119, 0}, {274, 119, 0}, {188, 205, 0}, {274, 205, 0}, {231, 162, 1}};
    for (const auto& t : touches) {
        SCOPED_TRACE(std::to_string(t.x) + "," + std::to_string(t.y) + (t.held ? " held" : ""));
        for (int i = 0; i < 20; ++i) StoreReplayData();
        // Frame `before` is the last one of the game before the replay: the stylus up, or down.
        const long before = HostFramesPresented(), first = before + 1;
        const std::string at = " touch " + std::to_string(t.x) + " " + std::to_string(t.y) + "\n";
        std::string script = t.held ? std::to_string(before) + at : "";
        script += std::to_string(first) + at + std::to_string(first + 40) + "\n";
        std::string error;
        ASSERT_EQ(HostInputParseScript(script, "replay", &error), 1) << error;
        ASSERT_EQ(InitJoysticks(), 1);  // the pad whose touch data the button reads
        ASSERT_EQ(ReadControls(nullptr), 1);
        HostFramePresented();
        ASSERT_EQ(StartReplay(0), 1);
        HostInputUnloadScript();
        HostInputShutdown();
        EXPECT_EQ(HostFramesPresented() - first, t.held ? 20 : 1);
    }
}

// The overlay step of the replay's frame fails from its fourth call on.
int overlayUpdates = 0;
int OverlayUpdateFailingLater() { return ++overlayUpdates <= 3; }

unsigned HeapAllocations()
{
    unsigned n = 0;
    DefaultHeapAllocations(&n);
    return n;
}

TEST_F(ReplayOnTheLane, AReplayFailingHalfWayStillFreesItsButtonAndPutsTheBallAndPinsBack)
{
    for (int i = 0; i < 50; ++i) StoreReplayData();
    StoreReplayPinVisible();
    const float spotX = pins[kFirstPin].theActor->Xlocation;
    pins[kFirstPin].theActor->Xlocation += 30.0f;  // where the recording leaves a standing pin
    const unsigned allocations = HeapAllocations();
    const UpperLayerHooks saved = upperLayers;
    upperLayers.OverlayUpdate = OverlayUpdateFailingLater;
    overlayUpdates = 0;
    const long first = HostFramesPresented();
    const int result = StartReplay(0);
    upperLayers = saved;
    EXPECT_EQ(result, 0);
    EXPECT_EQ(HostFramesPresented() - first, 3);
    EXPECT_FALSE(IsReplayActive());
    EXPECT_FALSE(ReplaySkipButtonExists());
    EXPECT_EQ(HeapAllocations(), allocations) << "the skip button is freed";
    EXPECT_EQ(bowlingBall->team + bowlingBall->visible, 0) << "the ball is held and hidden again";
    EXPECT_EQ(ReplayFramesRecorded(), 0);
    EXPECT_NEAR(pins[kFirstPin].theActor->Xlocation, spotX, 1e-3f) << "the standing head pin is back on its spot";
}

// A close order during a replay ends it at once, with the skip button freed and the ball held
// again; the game is torn down next, so the pins, whose bodies go with the world, are left as
// they are.
TEST_F(ReplayOnTheLane, ACloseOrderEndsTheReplayAndLeavesThePinsToTheTearDown)
{
    for (int i = 0; i < 50; ++i) StoreReplayData();
    StoreReplayPinVisible();
    const float moved = pins[kFirstPin].theActor->Xlocation + 30.0f;
    pins[kFirstPin].theActor->Xlocation = moved;
    const unsigned allocations = HeapAllocations();
    ASSERT_EQ(InitializeApplet(), 1);
    HostRequestClose();
    const long first = HostFramesPresented();
    EXPECT_EQ(StartReplay(0), 1);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(HostFramesPresented() - first, 0);
    EXPECT_FALSE(IsReplayActive());
    EXPECT_FALSE(ReplaySkipButtonExists());
    EXPECT_EQ(HeapAllocations(), allocations);
    EXPECT_EQ(bowlingBall->team + bowlingBall->visible, 0);
    EXPECT_EQ(pins[kFirstPin].theActor->Xlocation, moved);
    DisposeApplet();
    HostResetFrames();
    done = 0;
}

// A game left while its ball was running keeps nothing for the next game's first replay.
TEST_F(ReplayOnTheLane, AGameLeftMidShotLeavesNoFramesToTheNextGame)
{
    for (int i = 0; i < 40; ++i) StoreReplayData();
    EndWholeGame();
    ASSERT_EQ(PrepareWholeGame(), 1);
    ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
    ASSERT_EQ(StartQuickGame(2, 0), 1);
    EXPECT_EQ(ReplayFramesRecorded(), 0);
    EXPECT_FALSE(IsReplayActive());
}

}  // namespace
