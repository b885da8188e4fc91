// Instant replay: what is recorded, which celebration clip follows a ball, and the replay loop's
// ends (nothing recorded, a whole recording, a skip) on a game set up on the build's game data.
#include "game/replay.h"

#include <gtest/gtest.h>

#include <string>

#include "game/actors.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/records.h"
#include "game/scoring.h"
#include "game/transitions.h"
#include "host/gpu.h"
#include "host/host.h"
#include "host/input.h"
#include "platform/render.h"
#include "shell/globals.h"
#include "shell/scenedraw.h"
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

}  // namespace
