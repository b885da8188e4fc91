// The score sheet: the marks and totals it shows, its pages, what A, B and the pad do for a
// person, a computer and at the end of the game, and another game from the first player.
#include "overlays/scoreoverlay.h"

#include <gtest/gtest.h>

#include <string>

#include "game/controls.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "lib/screenapi.h"
#include "overlays/overlaystack.h"
#include "overlays/position.h"
#include "overlays/questionoverlays.h"
#include "overlays/startturn.h"
#include "platform/input.h"
#include "shell/globals.h"
#include "shell/settings.h"
#include "support/device_heap.h"

namespace {

// A frame's balls as the sheet shows them: "X" strike, "/" spare, a count, "." blank.
std::string Marks(const TITLE_PlayerInfoStruct& p, int frame)
{
    ScoreSheetMark m[3];
    if (!ScoreSheetFrameMarks(&p, frame, m)) return "?";
    std::string s;
    for (const ScoreSheetMark& k : m) {
        switch (k.kind) {
        case kSheetStrike: s += "X"; break;
        case kSheetSpare: s += "/"; break;
        case kSheetCount: s += std::to_string(k.count); break;
        default: s += "."; break;
        }
    }
    return s;
}

TITLE_PlayerInfoStruct Player()
{
    TITLE_PlayerInfoStruct p = {};
    ResetPlayerInfo(&p);
    return p;
}

void Balls(TITLE_PlayerInfoStruct& p, int frame, int b1, int b2, int b3 = -1)
{
    p.framePinCount[frame][0] = b1;
    p.framePinCount[frame][1] = b2;
    p.framePinCount[frame][2] = b3;
}

TEST(ScoreSheetMarks, TheTenthFrameShowsEachBallByTheBallsBeforeIt)
{
    TITLE_PlayerInfoStruct p = Player();
    const struct {
        int b1, b2, b3;
        const char* shown;
    } cases[] = {
        {10, 10, 0, "XX0"},  {0, 10, 10, "0/X"}, {10, 10, 10, "XXX"}, {10, 5, 5, "X5/"},
        {7, 3, 10, "7/X"},   {7, 3, 4, "7/4"},   {3, 4, -1, "34."},   {10, 0, 10, "X0/"},
        {10, 5, -1, "X5."},  {-1, -1, -1, "..."},
    };
    for (const auto& c : cases) {
        Balls(p, 9, c.b1, c.b2, c.b3);
        EXPECT_EQ(Marks(p, 9), c.shown) << c.b1 << " " << c.b2 << " " << c.b3;
    }
}

TEST(ScoreSheetMarks, EarlierFramesShowStrikesSparesAndCounts)
{
    TITLE_PlayerInfoStruct p = Player();
    Balls(p, 0, 10, -1);
    Balls(p, 1, 6, 4);
    Balls(p, 2, 0, 9);
    Balls(p, 3, 8, -1);
    EXPECT_EQ(Marks(p, 0), "X..");
    EXPECT_EQ(Marks(p, 1), "6/.");
    EXPECT_EQ(Marks(p, 2), "09.");
    EXPECT_EQ(Marks(p, 3), "8..") << "the second ball not yet thrown";
    EXPECT_EQ(Marks(p, 10), "?");
}

TEST(ScoreSheetMarks, RunningTotalsAppearForScoredFramesBehindTheCurrentOne)
{
    TITLE_PlayerInfoStruct p = Player();
    p.currFrame = 3;
    p.frameScore[0] = 20;
    p.frameScore[1] = 15;
    p.frameScore[2] = -1;  // a strike waiting for its bonus
    int t[10];
    ASSERT_EQ(ScoreSheetRunningTotals(&p, t), 1);
    EXPECT_EQ(t[0], 20);
    EXPECT_EQ(t[1], 35);
    EXPECT_EQ(t[2], -1);
    EXPECT_EQ(t[3], -1);

    p.currFrame = 9;
    for (int f = 0; f < 10; ++f) p.frameScore[f] = 10;
    ScoreSheetRunningTotals(&p, t);
    EXPECT_EQ(t[8], 90);
    EXPECT_EQ(t[9], -1) << "the tenth shows once the game has gone past it";
    p.currFrame = 10;
    ScoreSheetRunningTotals(&p, t);
    EXPECT_EQ(t[9], 100);
}

class ScoreOverlay : public ::testing::Test {
protected:
    DS3_controller pad = {};
    DS3_controller* savedPad = nullptr;
    int savedResult = 0;
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
        OverlayResetStack();
        ClearInputs();
        savedPad = controllers[0].controller;
        controllers[0].controller = &pad;
        savedResult = ScreenGetResult();
        gGameType = 0;
        gNumPlayers = 2;
        gCurrPlayer = 0;
        gGameOver = 0;
        quitGame = 0;
        gGamePaused = 0;
        SetControlMode(kControlModeButtons);
        for (int i = 0; i < kMaxPlayers; ++i) {
            ResetPlayerInfo(&gPlayerInfo[i]);
            gPlayerInfo[i].theActor = nullptr;
            SetControllerAssignment(i, 0);
        }
    }
    void TearDown() override
    {
        for (int i = 0; i < kOverlayStackDepth && OverlayExists(); ++i) OverlayExit();
        OverlayResetStack();
        controllers[0].controller = savedPad;
        ClearInputs();
        ScreenSetResult(savedResult);
        quitGame = 0;
        gGameOver = 0;
        ReleaseDeviceHeap();
    }
    static void Frame(uint16_t held = 0, uint16_t edges = 0)
    {
        allInput.buttons = held;
        allInput.edges = edges;
        OverlayHandleInput();
        OverlayUpdate();
        OverlayDraw();
    }
    // The sheet opened and past the input dropped after its push.
    static void Open()
    {
        ASSERT_EQ(StartDSScoreOverlay(), 1);
        for (int i = 0; i < 3; ++i) Frame();
        ASSERT_EQ(DSScoreOverlayActive(), 1);
    }
    static void (*TopDraw())()
    {
        OVERLAYTAG top = {};
        OverlayGetHandlers(&top);
        return reinterpret_cast<void (*)()>(top.drawHandler);
    }
    static void (*As(int (*f)()))() { return reinterpret_cast<void (*)()>(f); }
};

TEST_F(ScoreOverlay, PagesSplitOnlyWhenAPageHoldsFewerPlayersThanTheGame)
{
    const struct {
        int type, players, perPage;
    } cases[] = {{1, 4, 2}, {6, 4, 2}, {1, 3, 1}, {0, 4, 4}, {1, 2, 2}, {6, 1, 1}};
    for (const auto& c : cases) {
        gGameType = c.type;
        gNumPlayers = c.players;
        EXPECT_EQ(ScoreSheetPlayersPerPage(), c.perPage) << c.type << " " << c.players;
    }

    gGameType = 1;
    gNumPlayers = 4;
    Open();
    EXPECT_EQ(ScoreSheetShownPlayer(), 0);
    Frame(kButtonRight, kButtonRight);
    EXPECT_EQ(ScoreSheetShownPlayer(), 2) << "page 1, first row";
    Frame(kButtonDown, kButtonDown);
    EXPECT_EQ(ScoreSheetShownPlayer(), 3);
    Frame(kButtonDown, kButtonDown);
    EXPECT_EQ(ScoreSheetShownPlayer(), 3) << "no row past the page";
    Frame(kButtonLeft, kButtonLeft);
    EXPECT_EQ(ScoreSheetShownPlayer(), 1);
    OverlayExit();

    gGameType = 0;
    Open();
    Frame(kButtonRight, kButtonRight);
    EXPECT_EQ(ScoreSheetShownPlayer(), 0) << "one page holds everybody";
}

TEST_F(ScoreOverlay, ThePadScrollsTheSheetWithinItsLimits)
{
    gPlayerInfo[0].currFrame = 8;
    Open();
    EXPECT_FLOAT_EQ(ScoreSheetScroll(), 0.3f) << "the sheet opens on the player's frame";
    allInput.x = 1.0f;
    Frame();
    EXPECT_FLOAT_EQ(ScoreSheetScroll(), 0.3f) << "nothing further right";
    allInput.x = -1.0f;
    Frame();
    EXPECT_FLOAT_EQ(ScoreSheetScroll(), 0.295f);
    allInput.y = 0.8f;  // mostly up: not a scroll
    Frame();
    EXPECT_FLOAT_EQ(ScoreSheetScroll(), 0.295f);
    allInput.y = 0.0f;
    for (int i = 0; i < 100; ++i) Frame();
    EXPECT_FLOAT_EQ(ScoreSheetScroll(), 0.0f);
    allInput.x = 0.0f;
    EXPECT_EQ(ScoreSheetScrollForFrame(6), 0.2f);
    EXPECT_EQ(ScoreSheetScrollForFrame(5), 0.0f);
}

TEST_F(ScoreOverlay, APersonLeavesForTheShotSetUpWithAOrB)
{
    Open();
    Frame(kButtonA, kButtonA);
    EXPECT_EQ(DSScoreOverlayActive(), 0);
    EXPECT_EQ(TopDraw(), As(DSStandardPositionDrawHandler));
    OverlayExit();

    Open();
    Frame(kButtonB, kButtonB);
    EXPECT_EQ(DSScoreOverlayActive(), 0);
    EXPECT_EQ(TopDraw(), As(DSStandardStartTurnDrawHandler));
}

TEST_F(ScoreOverlay, AtTheEndAStandardGameAsksToPlayAgainAndOthersSayGameOver)
{
    gGameOver = 1;
    Open();
    Frame(kButtonA, kButtonA);
    EXPECT_EQ(TopDraw(), As(YesNoDrawHandler));
    OverlayExit();
    gGameType = 3;
    for (int i = 0; i < 3; ++i) Frame();  // the input dropped after the question's push
    Frame(kButtonA, kButtonA);
    EXPECT_EQ(TopDraw(), As(InfoDrawHandler));
}

TEST_F(ScoreOverlay, PlayingAgainStartsFromTheFirstPlayerAndKeepsOnlyTheBumpers)
{
    for (int p = 0; p < 2; ++p) {
        gPlayerInfo[p].currFrame = 10;
        gPlayerInfo[p].totalScore = 150 + p;
        gPlayerInfo[p].gameFinished = 1;
        gPlayerInfo[p].bumpers = 1;
        gPlayerInfo[p].framePinCount[0][0] = 10;
    }
    gCurrPlayer = 1;  // the last bowler of the game
    gGameOver = 1;
    Open();
    ASSERT_EQ(OnConfirmPlayAgain(1), 1);
    EXPECT_EQ(gGameOver, 0);
    EXPECT_EQ(gCurrPlayer, 0) << "the new game begins with the first player";
    EXPECT_EQ(ScoreSheetShownPlayer(), 0);
    EXPECT_EQ(DSScoreOverlayActive(), 1) << "the sheet stays";
    EXPECT_EQ(gPlayerInfo[0].bumpers, 1);
    EXPECT_EQ(gPlayerInfo[1].bumpers, 0);
    for (int p = 0; p < 2; ++p) {
        EXPECT_EQ(gPlayerInfo[p].currFrame, 0) << p;
        EXPECT_EQ(gPlayerInfo[p].totalScore, 0) << p;
        EXPECT_EQ(gPlayerInfo[p].gameFinished, 0) << p;
        EXPECT_EQ(gPlayerInfo[p].framePinCount[0][0], -1) << p;
    }
    EXPECT_EQ(GetControlState(), kControlPosition);
}

TEST_F(ScoreOverlay, AnsweringNoLeavesTheGameWithEveryOverlay)
{
    gGameOver = 1;
    Open();
    ASSERT_EQ(OnConfirmPlayAgain(0), 1);
    EXPECT_EQ(OverlayExists(), 0);
    EXPECT_EQ(GameReturnPending(), 1);
}

TEST_F(ScoreOverlay, AGameOfComputersShowsItsLastSheetThenLeaves)
{
    for (int p = 0; p < 2; ++p) SetControllerAssignment(p, kAssignmentComputer);
    gGameOver = 1;
    Open();
    int frames = 3;
    while (OverlayExists() && frames < 1000) {
        Frame();
        ++frames;
    }
    EXPECT_EQ(OverlayExists(), 0);
    EXPECT_GE(frames, 80) << "the sheet is seen for a while";
    EXPECT_LE(frames, 100);
}

// At the end of a ball the shot overlays still up come off and the sheet shows the next player.
TEST_F(ScoreOverlay, AfterABallTheShotOverlaysGiveWayToTheSheet)
{
    Open();
    Frame(kButtonA, kButtonA);  // the person goes to set the shot up
    Frame();
    ASSERT_EQ(DSScoreOverlayActive(), 0);
    gCurrPlayer = 1;
    ASSERT_EQ(ShowScoreOverlayAfterBall(), 1);
    EXPECT_EQ(OverlayStackSize(), 1);
    Frame();
    EXPECT_EQ(DSScoreOverlayActive(), 1);
    EXPECT_EQ(ScoreSheetShownPlayer(), 1);
    ASSERT_EQ(ShowScoreOverlayAfterBall(), 1);
    EXPECT_EQ(OverlayStackSize(), 1) << "an open sheet is not pushed twice";
}

}  // namespace
