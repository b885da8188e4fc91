// The poker overlay: ranks the hands when it opens (the game's PokerWinners, for up to eight
// players and any number of tied winners), then draws one row a player with the cards held and
// "WINNER" beside each winner. Only the first winner is recorded for the front end.
#include "overlays/poker.h"

#include "game/cards.h"
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
#include "platform/quads.h"
#include "shell/upperlayers.h"

static const int kBackground = kImageMessageBackground;
// Eight hands of seven cards fit the panel only with small cards: the layout's 64 x 64 pictures
// 22 apart on rows 90 apart would need three screens' height, and shrunk to fit they cannot be
// read. The rows hold the small faces side by side, unscaled, up to 34 apart and closer for
// seven or eight players; the names, the cards and "WINNER" stand in from the panel's edge.
static const int kMaxRowStep = 34;
static const int kInset = 8;
static const int kCardGap = 2;
static const int kTextGap = 6;

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

// One of the small card faces, at its own size.
static int DrawCard(int card, int x, int y)
{
    DS3_bitmap_tag* sheet = OverlayBitmap(GetOverlayRSID(kImagePokerCards));
    if (!sheet || card < 0 || card >= kCardsPerDeck) return 0;
    return DrawScreenPoly(sheet, card % kCardsPerSuit * kPokerCardW, card / kCardsPerSuit * kPokerCardH, x, y, kPokerCardW, kPokerCardH);
}

static void PlayerLabel(int i, char* text, int size) { PrintString(text, size, "Player %d", i + 1); }

int PokerDrawHandler()
{
    if (!DrawOverlayBitmap(GetOverlayRSID(kBackground), 0, 0)) return 0;
    if (!TextOutputSelectFont(GetFontRSID(kGameFontNames))) return 0;
    TextOutputSetMode(kTextModeLeft);
    const int players = gNumPlayers < kMaxPlayers ? gNumPlayers : kMaxPlayers;
    if (players < 1) return 1;
    // The cards of every row start in one column, after the widest name.
    char name[16];
    int nameW = 0;
    for (int i = 0; i < players; ++i) {
        PlayerLabel(i, name, sizeof name);
        const int w = TextOutputLineLength(name);
        nameW = w > nameW ? w : nameW;
    }
    const int x0 = kMessagePanelLeft + kInset, cardsX = x0 + nameW + kTextGap;
    const int top = kMessagePanelTop + kInset / 2;
    const int space = (kMessagePanelBottom - top) / players;
    const int rowStep = space < kMaxRowStep ? space : kMaxRowStep;
    const int textDown = (kPokerCardH - TextOutputGetFontHeight()) / 2;
    for (int i = 0; i < players; ++i) {
        const TITLE_PlayerInfoStruct& p = gPlayerInfo[i];
        const int y = top + i * rowStep;
        PlayerLabel(i, name, sizeof name);
        if (!TextOutputDrawDirect(x0, y + textDown, "%s", name)) return 0;
        int x = cardsX;
        for (int c = 0; c < p.numCards && c < kMaxHandCards; ++c, x += kPokerCardW + kCardGap)
            if (!DrawCard(p.cards[c], x, y)) return 0;
        if (IsWinner(i) && !TextOutputDrawDirect(x - kCardGap + kTextGap, y + textDown, "%s", "WINNER")) return 0;
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
