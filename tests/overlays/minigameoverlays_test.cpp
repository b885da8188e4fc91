// The mini-games' overlays answering a person: the pin selection's cursor, toggles and the choice
// kept from one opening to the next; the spares start of an attempt and its way back from the
// set-up menu; the bingo card closing into the next throw or, after a line, into fresh cards; the
// final spares table and poker hands leaving for the menu.
#include <gtest/gtest.h>

#include <cstdint>

#include "game/controls.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "game/scoring.h"
#include "game/transitions.h"
#include "overlays/bingocard.h"
#include "overlays/overlaystack.h"
#include "overlays/pinselect.h"
#include "overlays/poker.h"
#include "overlays/position.h"
#include "overlays/sparesoverlays.h"
#include "overlays/startturn.h"
#include "platform/input.h"
#include "shell/globals.h"
#include "shell/settings.h"
#include "support/device_heap.h"

namespace {

class MiniGameOverlays : public ::testing::Test {
protected:
    uint16_t held = 0;
    TITLE_PlayerInfoStruct saved[2]{};

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
        OverlayResetStack();
        ClearInputs();
        saved[0] = gPlayerInfo[0];
        saved[1] = gPlayerInfo[1];
        gNumPlayers = 1;
        gCurrPlayer = 0;
        gGameOver = 0;
        SetControllerAssignment(0, 0);
        SetControlMode(kControlModeButtons);
        ResetPlayerInfo(&gPlayerInfo[0]);
    }
    void TearDown() override
    {
        while (OverlayExists() && OverlayExit()) {
        }
        OverlayResetStack();
        gPlayerInfo[0] = saved[0];
        gPlayerInfo[1] = saved[1];
        gGameType = kGameStandard;
        gGameOver = 0;
        quitGame = 0;
        SetTransitionActive(0);
        PauseGame(0);
        ClearInputs();
        ReleaseDeviceHeap();
    }
    void Frame(uint16_t buttons = 0)
    {
        allInput.edges = uint16_t(held ^ buttons);
        allInput.buttons = held = buttons;
        OverlayHandleInput();
        OverlayUpdate();
    }
    void Tap(uint16_t button)
    {
        Frame(button);
        Frame();
    }
    void Settle()
    {
        for (int i = 0; i < kOverlayInputsDropped; ++i) Frame();
    }
    static int (*Top())()
    {
        OVERLAYTAG top{};
        OverlayGetHandlers(&top);
        return top.openHandler;
    }
    // Moves the cursor to pin n along the front row's LEFT and RIGHT.
    void CursorTo(int n)
    {
        while (PinSelectCursor() > n) Tap(kButtonLeft);
        while (PinSelectCursor() < n) Tap(kButtonRight);
    }
};

TEST_F(MiniGameOverlays, PinSelectCursorFollowsTheTriangle)
{
    gGameType = kGamePinSelect;
    ASSERT_EQ(StartDSPinSelectOverlay(), 1);
    Settle();
    struct Move {
        int from;
        uint16_t button;
        int to;
    };
    const Move moves[] = {
        {1, kButtonUp, 2},    {2, kButtonUp, 4},    {4, kButtonDown, 2},  {3, kButtonUp, 5},  {5, kButtonDown, 3},
        {6, kButtonDown, 3},  {4, kButtonUp, 7},    {7, kButtonUp, 7},    {10, kButtonUp, 10}, {10, kButtonDown, 6},
        {1, kButtonDown, 1},  {1, kButtonLeft, 1},  {10, kButtonRight, 10},
    };
    for (const Move& m : moves) {
        CursorTo(m.from);
        Tap(m.button);
        EXPECT_EQ(PinSelectCursor(), m.to) << "from pin " << m.from;
    }
}

TEST_F(MiniGameOverlays, PinSelectTogglesAndKeepsTheChoice)
{
    gGameType = kGamePinSelect;
    ASSERT_EQ(StartDSPinSelectOverlay(), 1);
    Settle();
    CursorTo(7);
    Tap(kButtonB);
    EXPECT_EQ(PinSelectChosen(7), 0);
    CursorTo(3);
    Tap(kButtonB);
    Tap(kButtonB);
    EXPECT_EQ(PinSelectChosen(3), 1);
    Tap(kButtonA);
    EXPECT_EQ(Top(), DSStandardPositionOpenHandler) << "A goes on to the shot steps";
    ASSERT_EQ(OverlayExit(), 1);

    ASSERT_EQ(StartDSPinSelectOverlay(), 1);
    EXPECT_EQ(PinSelectChosen(7), 0) << "the choice is offered again";
    EXPECT_EQ(PinSelectCursor(), 3);
    CursorTo(7);
    Tap(kButtonB);  // as the other tests found it
}

TEST_F(MiniGameOverlays, SparesStartOfAttemptLeadsOnAndBack)
{
    gGameType = kGameSpares;
    ASSERT_EQ(StartDSSparesStartTurnOverlay(), 1);
    Settle();
    Tap(kButtonB);
    EXPECT_EQ(Top(), DSStandardStartTurnOpenHandler);
    Settle();
    Tap(kButtonB);
    EXPECT_EQ(Top(), DSSparesStartTurnOpenHandler) << "the set-up menu goes back to the attempt";
    Settle();
    Tap(kButtonA);
    EXPECT_EQ(Top(), DSStandardPositionOpenHandler);
    EXPECT_EQ(OverlayStackSize(), 1);
}

TEST_F(MiniGameOverlays, BingoCardClosesIntoTheThrowOrFreshCards)
{
    gGameType = kGameBingo;
    ASSERT_EQ(StartBingoCardOverlay(0, 0), 1);
    Settle();
    Frame();
    EXPECT_EQ(gGamePaused, 1) << "the game stands still under the card";
    Tap(kButtonA);
    EXPECT_EQ(Top(), DSStandardPositionOpenHandler);
    EXPECT_EQ(gGamePaused, 0);
    ASSERT_EQ(OverlayExit(), 1);

    gPlayerInfo[0].bingoMarks[0][0] = 1;
    ASSERT_EQ(StartBingoCardOverlay(0, 1), 1);
    Settle();
    Tap(kButtonA);
    EXPECT_FALSE(OverlayExists()) << "a won game ends";
    EXPECT_EQ(gPlayerInfo[0].bingoMarks[0][0], 0) << "with fresh cards";
}

// A at the end of the spares challenge and of poker: the players are cleared, the game runs on
// unpaused, no overlay is left and the fade back to the menu has begun.
TEST_F(MiniGameOverlays, FinalOverlaysLeaveForTheMenuOnA)
{
    struct Case {
        int gameType;
        int (*start)();
    };
    for (const Case& c : {Case{kGameSpares, StartDSSparesScoreOverlay}, Case{kGamePoker, StartPokerOverlay}}) {
        SCOPED_TRACE(c.gameType);
        gGameType = c.gameType;
        gGameOver = 1;
        SetTransitionActive(0);
        gPlayerInfo[0].totalScore = 4000;
        ASSERT_EQ(c.start(), 1);
        Settle();
        PauseGame(1);
        Tap(kButtonA);
        EXPECT_EQ(OverlayExists(), 0);
        EXPECT_EQ(gPlayerInfo[0].totalScore, 0);
        EXPECT_EQ(gGamePaused, 0);
        EXPECT_EQ(IsTransitionActive(), 1);
        EXPECT_EQ(GameReturnPending(), 1);
    }
}

}  // namespace
