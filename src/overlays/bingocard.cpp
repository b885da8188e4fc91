// The bingo card overlay: the card picture with each cell's number, marked numbers in their own
// font, and "BINGO FOR PLAYER n" when the ball made a line, with the winner's result for the
// front end. A closes it and goes on to the next throw; when the computer bowls next, or nobody
// is there to answer a winning card, it closes by itself after a hold.
#include "overlays/bingocard.h"

#include "game/gameloop.h"
#include "game/records.h"
#include "lib/resourceids.h"
#include "lib/textoutput.h"
#include "overlays/minigameturn.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "platform/input.h"
#include "lib/screenapi.h"
#include "shell/upperlayers.h"

static const int kCardImage = 3229;
// The card is drawn at its picture's size, half the layout's: rows 82 and cells 85 apart, each
// row indented by its own offset.
static const int kCardTop = 28;
static const int kRowOffsets[kBingoSize] = {103, 88, 78, 64, 47};

static int overlayActive = 0;
static int shownPlayer = 0;
static int winner = 0;
static int hold = 0;

int BingoCardOverlayActive() { return overlayActive; }

int StartBingoCardOverlay(int player, int won)
{
    MiniGameClearOverlays();
    shownPlayer = player >= 0 && player < kMaxPlayers ? player : 0;
    winner = won;
    const OVERLAYTAG overlay = {BingoCardOpenHandler, BingoCardDrawHandler, BingoCardUpdateHandler,
                                BingoCardInputHandler, BingoCardCloseHandler, 0};
    return OverlaySelect(&overlay);
}

int BingoCardOpenHandler()
{
    overlayActive = 1;
    hold = 0;
    return 1;
}

int BingoCardDrawHandler()
{
    const TITLE_PlayerInfoStruct& p = gPlayerInfo[shownPlayer];
    int w = 0;
    if (!OverlayBitmapSize(GetOverlayRSID(kCardImage), &w, nullptr)) return 0;
    const int left = (displaySafeArea.right + displaySafeArea.left - w) / 2;
    if (!DrawOverlayBitmap(GetOverlayRSID(kCardImage), left, kCardTop)) return 0;
    for (int r = 0; r < kBingoSize; ++r) {
        for (int c = 0; c < kBingoSize; ++c) {
            const int marked = p.bingoMarks[r][c] != 0;
            if (!TextOutputSelectFont(GetFontRSID(marked ? kGameFontBingoMarked : kGameFontNumbers))) return 0;
            TextOutputSetMode(kTextModeCenter);
            const int x = left + (kRowOffsets[r] + 85 * c) / 2 - kBingoCellShift;
            const int y = kCardTop + 14 + r * 41 - TextOutputGetFontHeight() / 2;
            const int n = p.bingoScores[r][c];
            const int ok = n == kBingoFreeCell ? TextOutputDrawDirect(x, y, "%s", " ") : TextOutputDrawDirect(x, y, "%d", n);
            if (!ok) return 0;
        }
    }
    if (!winner) return 1;
    if (!TextOutputSelectFont(GetFontRSID(kGameFontNames))) return 0;
    TextOutputSetMode(kTextModeCenter);
    if (!TextOutputDrawDirect(160, 4, "BINGO FOR PLAYER %d", shownPlayer + 1)) return 0;
    upperLayers.ZeroPlayerResults();
    upperLayers.SetPlayerResults(shownPlayer, 0, 1);
    return 1;
}

int BingoCardUpdateHandler()
{
    PauseGame(1);
    const int unanswered = winner ? !MiniGameAnyPerson() : MiniGameIsComputer(gCurrPlayer);
    const int frames = winner ? kGameOverHoldFrames : kComputerHoldFrames;
    if (unanswered && ++hold >= frames) {
        OverlayExit();
        PauseGame(0);
    }
    return 1;
}

int BingoCardInputHandler()
{
    if (!MiniGamePressed(kButtonA)) return 1;
    OverlayExit();
    // A won game starts again with fresh cards for everybody.
    if (winner)
        for (TITLE_PlayerInfoStruct& p : gPlayerInfo) ResetPlayerInfo(&p);
    PauseGame(0);
    return winner ? 1 : MiniGameNextThrow();
}

int BingoCardCloseHandler()
{
    overlayActive = 0;
    return 1;
}
