// The poker overlay: ranks the hands when it opens (the game's PokerWinners, for up to eight
// players and any number of tied winners), then draws one row a player with the cards held and
// "WINNER" beside each winner. Only the first winner is recorded for the front end.
#include "overlays/poker.h"

#include "game/gameloop.h"
#include "game/minigames.h"
#include "game/records.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "overlays/minigameturn.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "platform/input.h"
#include "shell/upperlayers.h"

static const int kBackground = 3289;
static const int kCardSize = 30;  // the card pictures drawn small enough for eight rows
static const int kCardStep = 16;
static const int kRowStep = 28;

static int overlayActive = 0;
static int winners[kMaxPlayers] = {};
static int numWinners = 0;
static int winningHandVal = 0;
static int hold = 0;

int PokerOverlayActive() { return overlayActive; }

int StartPokerOverlay()
{
    if (overlayActive) return 1;
    MiniGameClearOverlays();
    const OVERLAYTAG overlay = {PokerOpenHandler, PokerDrawHandler, PokerUpdateHandler, PokerInputHandler,
                                PokerCloseHandler, 0};
    return OverlaySelect(&overlay);
}

int PokerOpenHandler()
{
    overlayActive = 1;
    hold = 0;
    PokerWinners(winners, &numWinners, &winningHandVal, nullptr);
    upperLayers.ZeroPlayerResults();
    if (numWinners > 0) upperLayers.SetPlayerResults(winners[0], 0, 1);
    return 1;
}

static int IsWinner(int player)
{
    for (int i = 0; i < numWinners; ++i)
        if (winners[i] == player) return 1;
    return 0;
}

int PokerDrawHandler()
{
    if (!DrawOverlayBitmap(GetOverlayRSID(kBackground), 0, 0)) return 0;
    const int x0 = displaySafeArea.left + 8;
    for (int i = 0; i < gNumPlayers && i < kMaxPlayers; ++i) {
        const TITLE_PlayerInfoStruct& p = gPlayerInfo[i];
        const int y = 8 + i * kRowStep;
        if (!TextOutputSelectFont(GetFontRSID(kGameFontNames))) return 0;
        TextOutputSetMode(kTextModeLeft);
        char name[16];
        PrintString(name, sizeof name, "Player %d", i + 1);
        if (!TextOutputDrawDirect(x0, y, "%s", name)) return 0;
        int x = x0 + TextOutputLineLength(name) + 8;
        for (int c = 0; c < p.numCards && c < kMaxHandCards; ++c, x += kCardStep)
            if (!DrawOverlayBitmapScaled((kCardPictureGroup << 16) | p.cards[c], x, y - 4, kCardSize, kCardSize)) return 0;
        if (IsWinner(i) && !TextOutputDrawDirect(x + kCardSize, y, "%s", "WINNER")) return 0;
    }
    return 1;
}

int PokerUpdateHandler()
{
    PauseGame(1);
    if (!MiniGameAnyPerson() && ++hold >= kGameOverHoldFrames) {
        OverlayExit();
        PauseGame(0);
    }
    return 1;
}

int PokerInputHandler()
{
    if (!MiniGamePressed(kButtonA)) return 1;
    OverlayExit();
    for (TITLE_PlayerInfoStruct& p : gPlayerInfo) ResetPlayerInfo(&p);
    PauseGame(0);
    return 1;
}

int PokerCloseHandler()
{
    overlayActive = 0;
    return 1;
}
