// The bingo card overlay: the card with a cell under each number, marked numbers in their own
// font, under a heading that says whose card it is, or "BINGO FOR PLAYER n" when the ball made a
// line (with the winner's result for the front end), and the A prompt beside it. A (or a touch on
// the prompt) closes it and goes on to the next throw. When the computer bowls next the card stands
// a moment and then stays up while the computer bowls from it, the game running, until the end of
// its ball brings the next card; a winning card that nobody is there to answer closes by itself
// after a hold.
#include "overlays/bingocard.h"

#include "game/computer.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/textoutput.h"
#include "overlays/minigameturn.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/overlaystrings.h"
#include "overlays/pausemenu.h"
#include "platform/input.h"
#include "lib/screenapi.h"
#include "shell/settings.h"
#include "shell/touchbuttons.h"
#include "shell/upperlayers.h"

static const int kCardImage = kImageBingoCard, kCellImage = kImageBingoCell, kBackground = kImageBingoBackground;
// The card is drawn flat at its picture's size, so its rows run straight across it: the layout's
// rows of a card seen at a slant (each indented further, 82 apart with cells 85 apart, numbers 16
// below a row's top) would lean off our card. The cells are spread evenly over the card instead,
// each number centred on its cell. The card stands on the left under the title band, leaving the
// right for the A prompt, which stands where the other mini-games put theirs.
static const int kCardLeft = 4, kCardTop = 26;
static const int kHeadingX = 8, kHeadingY = 2, kNameRight = 312;
static const int kNextGlyphX = 245, kNextGlyphY = 174, kNextLabelX = 277, kNextLabelY = 212;

static int overlayActive = 0;
static int shownPlayer = 0;
static int winner = 0;
static int hold = 0;
static OverlayTouchButton* next = nullptr;

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
    next = NewBoxButton(kBingoNextWell);
    return next ? 1 : 0;
}

// The computer bowls the next ball, from this card.
static int ComputerNext() { return !winner && MiniGameIsComputer(gCurrPlayer); }
// Nobody is there to press A: the computer bowls next, or a won card has no person to see it.
static int Unanswered() { return winner ? !MiniGameAnyPerson() : ComputerNext(); }

// The top-left corner of cell (r, c): cells of w x h spread evenly over a card of W x H at (x, y),
// as far from each other as from the card's edge.
static void CellCorner(int r, int c, int x, int y, int W, int H, int w, int h, int* cx, int* cy)
{
    const int n = kBingoSize;
    *cx = x + (W - n * w) * (c + 1) / (n + 1) + c * w;
    *cy = y + (H - n * h) * (r + 1) / (n + 1) + r * h;
}

static int Text(int font, int mode, int x, int y, const char* text)
{
    if (!TextOutputSelectFont(GetFontRSID(font))) return 0;
    TextOutputSetMode(mode);
    return DrawOverlayText(x, y, text);
}

// The heading: whose card it is, or who has just won with it.
static int DrawHeading(const TITLE_PlayerInfoStruct& p)
{
    if (winner) {
        if (!TextOutputSelectFont(GetFontRSID(kGameFontTitles))) return 0;
        TextOutputSetMode(kTextModeLeft);
        return TextOutputDrawDirect(kHeadingX, kHeadingY, "BINGO FOR PLAYER %d", shownPlayer + 1);
    }
    char name[64];
    PrintString(name, sizeof name, p.playerData.lastName[0] ? "%s %s" : "%s", p.playerData.firstName, p.playerData.lastName);
    return Text(kGameFontTitles, kTextModeLeft, kHeadingX, kHeadingY, "BINGO CARD") &&
           Text(kGameFontNames, kTextModeRight, kNameRight, kHeadingY + 2, name);
}

int BingoCardDrawHandler()
{
    const TITLE_PlayerInfoStruct& p = gPlayerInfo[shownPlayer];
    int W = 0, H = 0, w = 0, h = 0;
    if (!OverlayBitmapSize(GetOverlayRSID(kCardImage), &W, &H) || !OverlayBitmapSize(GetOverlayRSID(kCellImage), &w, &h))
        return 0;
    if (!DrawOverlayBitmap(GetOverlayRSID(kBackground), 0, 0) || !DrawHeading(p)) return 0;
    if (!DrawOverlayBitmap(GetOverlayRSID(kCardImage), kCardLeft, kCardTop)) return 0;
    for (int r = 0; r < kBingoSize; ++r) {
        for (int c = 0; c < kBingoSize; ++c) {
            int x = 0, y = 0;
            CellCorner(r, c, kCardLeft, kCardTop, W, H, w, h, &x, &y);
            if (!DrawOverlayBitmap(GetOverlayRSID(kCellImage), x, y)) return 0;
            // The free centre shows blank, marked or not; its font follows its mark all the same.
            const int n = p.bingoScores[r][c];
            const int marked = p.bingoMarks[r][c] != 0;
            if (!TextOutputSelectFont(GetFontRSID(marked ? kGameFontBingoMarked : kGameFontNumbers))) return 0;
            TextOutputSetMode(kTextModeCenter);
            const int tx = x + w / 2, ty = y + (h - TextOutputGetFontHeight()) / 2;
            if (n != kBingoFreeCell && !TextOutputDrawDirect(tx, ty, "%d", n)) return 0;
        }
    }
    // A goes on: shown, in its well, whenever a person is there to press it.
    if (!Unanswered()) NoteOverlayButtons({kBingoNextWell});
    if (!Unanswered() && (!DrawOverlayBitmap(GetOverlayRSID(kImagePromptWell), kBingoNextWell.x, kBingoNextWell.y) ||
                          !Text(kGameFontBody, kTextModeLeft, kNextGlyphX, kNextGlyphY, "{1}") ||
                          !Text(kGameFontBody, kTextModeCenter, kNextLabelX, kNextLabelY, GeneralOverlayString(1))))
        return 0;
    if (!winner) return 1;
    upperLayers.ZeroPlayerResults();
    upperLayers.SetPlayerResults(shownPlayer, 0, 1);
    return 1;
}

int BingoCardUpdateHandler()
{
    // The game stands still while the card is read; for the computer it runs again after the
    // hold, since the computer bowls with the card up: its own card, the current player's.
    if (ComputerNext()) {
        if (hold < kComputerHoldFrames) {
            PauseGame(1);
            if (++hold == kComputerHoldFrames) {
                PauseGame(0);
                shownPlayer = gCurrPlayer >= 0 && gCurrPlayer < kMaxPlayers ? gCurrPlayer : shownPlayer;
            }
        }
        return 1;
    }
    PauseGame(1);
    UpdateTouchButton(next);
    if (Unanswered() && ++hold >= kGameOverHoldFrames) {
        OverlayExit();
        PauseGame(0);
    }
    return 1;
}

int BingoCardInputHandler()
{
    if (ComputerNext()) {
        TITLE_PlayerInfoStruct* p = &gPlayerInfo[gCurrPlayer];
        const int bowling = hold >= kComputerHoldFrames;
        // Once the computer bowls, A skips its frame as on the score sheet. The skip's last ball
        // brings the next card, which has taken this one's place by then.
        if (bowling && MiniGamePressed(kButtonA) && AISkipOffered(p)) return SkipAIBowler(p);
        if (bowling && !gGamePaused && !GameReturnPending()) UpdateAIBowler(p);
        if (MiniGamePressed(kButtonStart)) StartPauseMenuOverlay();
        return 1;
    }
    if (!MiniGamePressed(kButtonA) && !(next && next->pressed)) return 1;
    OverlayExit();
    // A won game starts again with fresh cards for everybody.
    if (winner)
        for (TITLE_PlayerInfoStruct& p : gPlayerInfo) ResetPlayerInfo(&p);
    PauseGame(0);
    return winner ? 1 : MiniGameNextThrow();
}

int BingoCardCloseHandler()
{
    FreeTouchButton(&next);
    overlayActive = 0;
    return 1;
}
