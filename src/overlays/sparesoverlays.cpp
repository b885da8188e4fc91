// The spares challenge's start-of-attempt and score overlays. The start of an attempt leads a
// person to the shot steps (A) or to the ball and oil set-up (B); a computer bowls from it after a
// short hold. The score table stands while the ball rolls and at the end, where
// A (or, without a person, a hold) leaves the game.
#include "overlays/sparesoverlays.h"

#include "game/computer.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/minigames.h"
#include "game/pins.h"
#include "game/records.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/textoutput.h"
#include "overlays/minigameturn.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/overlaystrings.h"
#include "overlays/pausemenu.h"
#include "overlays/scoreoverlay.h"
#include "overlays/startturn.h"
#include "platform/input.h"
#include "platform/sound.h"
#include "shell/settings.h"
#include "shell/touchbuttons.h"

static const int kTurnBackground = 3291, kTitlePlate = 3292, kPinImage = 3295, kScoreBackground = 3289;
// Where the start of an attempt's title plate and its heading stand.
static const int kTitleX = 19, kTitleY = 4;
// The score table stands on the message panel: the names start inside its edge (at 16, where the
// layout's 5 is on the edge), and the A button with "Exit" beside it sits in the panel's bottom
// left corner (the layout's "Exit" under the button crosses the panel's bottom edge). The rows
// share the room above the button: 30 apart for up to four players, closer for more, so that
// seven or eight rows stay clear of it.
static const int kNameX = kMessagePanelLeft + 8;
static const int kFirstRowY = 40, kMaxRowStep = 30;
static const int kExitX = 14, kExitY = 194;

static int turnActive = 0, scoreActive = 0;
static int hold = 0;
static OverlayTouchButton* turnNext = nullptr;
static OverlayTouchButton* turnSetup = nullptr;
static OverlayTouchButton* scoreNext = nullptr;

int DSSparesStartTurnOverlayActive() { return turnActive; }
int DSSparesScoreOverlayActive() { return scoreActive; }

static int Push(int active, int (*open)(), int (*draw)(), int (*update)(), int (*input)(), int (*close)())
{
    if (active) return 1;
    const OVERLAYTAG overlay = {open, draw, update, input, close, 0};
    return OverlaySelect(&overlay);
}

int StartDSSparesStartTurnOverlay()
{
    if (turnActive) return 1;
    // The score table of the last attempt and the shot steps give way to the next attempt.
    MiniGameClearOverlays();
    return Push(turnActive, DSSparesStartTurnOpenHandler, DSSparesStartTurnDrawHandler, DSSparesStartTurnUpdateHandler,
                DSSparesStartTurnInputHandler, DSSparesStartTurnCloseHandler);
}

int StartDSSparesScoreOverlay()
{
    if (scoreActive) return 1;
    if (gGameOver) MiniGameClearOverlays();
    return Push(scoreActive, DSSparesScoreOpenHandler, DSSparesScoreDrawHandler, DSSparesScoreUpdateHandler,
                DSSparesScoreInputHandler, DSSparesScoreCloseHandler);
}

static int Text(int font, int mode, int x, int y, const char* text)
{
    if (!TextOutputSelectFont(GetFontRSID(font))) return 0;
    TextOutputSetMode(mode);
    return DrawOverlayText(x, y, text);
}

static void Click() { SoundPlayResource(kSoundChime, gGameOptions.soundFXVolume, 1); }
static int Touched(const OverlayTouchButton* b) { return b && b->pressed; }
static const TITLE_PlayerInfoStruct* Current()
{
    return gCurrPlayer >= 0 && gCurrPlayer < kMaxPlayers ? &gPlayerInfo[gCurrPlayer] : nullptr;
}

// ---- The start of an attempt ----

// The table's text with its two "%d" places filled by a and b in turn; the text itself is never a
// format.
static void FillNumbers(const char* text, int a, int b, char* out, int size)
{
    int n = 0, filled = 0;
    for (const char* c = text; *c && n < size - 1; ++c) {
        if (c[0] == '%' && c[1] == 'd' && filled < 2) {
            n += PrintString(out + n, size - n, "%d", filled++ == 0 ? a : b);
            ++c;
        } else {
            out[n++] = *c;
        }
    }
    out[n < size ? n : size - 1] = '\0';
}

int DSSparesStartTurnOpenHandler()
{
    turnActive = 1;
    hold = 0;
    TextOutputSelectFont(GetFontRSID(kGameFontBody));
    turnNext = NewBoxButton(kSparesNextWell);
    turnSetup = NewBoxButton(kSparesSetupWell);
    return turnNext && turnSetup ? 1 : 0;
}

// Where pin index 0..9 of the leave is drawn, for a pin image of w x h.
static void LeavePosition(int i, int w, int h, int* x, int* y)
{
    const int hw = w / 2, hh = h / 2;
    const int xs[kLastPin] = {163 - hw, 168 - w - hw, 158 + hw, 171 - 2 * w - hw, 163 - hw,
                              156 + w + hw, 174 - 3 * w - hw, 168 - w - hw, 158 + hw, 149 + 2 * w + hw};
    const int back = 191 - 2 * h - hh;
    const int ys[kLastPin] = {196 - h, 195 - h - hh, 195 - h - hh, 195 - 2 * h, 195 - 2 * h,
                              195 - 2 * h, back, back, back, back};
    *x = xs[i];
    *y = ys[i];
}

int DSSparesStartTurnDrawHandler()
{
    const TITLE_PlayerInfoStruct* p = Current();
    int plateW = 0, plateH = 0;
    if (!p || !DrawOverlayBitmap(GetOverlayRSID(kTurnBackground), 0, 0) ||
        !DrawOverlayBitmap(GetOverlayRSID(kTitlePlate), kTitleX, kTitleY) ||
        !OverlayBitmapSize(GetOverlayRSID(kTitlePlate), &plateW, &plateH))
        return 0;
    // The heading and the round number belong on the plate (for --layout-out).
    TextOutputNoteBox(kTitleX, kTitleY, plateW, plateH);
    if (!Text(kGameFontTitles, kTextModeLeft, 22, kTitleY, GeneralOverlayString(10))) return 0;
    if (!TextOutputSelectFont(GetFontRSID(kGameFontNumbers))) return 0;
    TextOutputSetMode(kTextModeRight);
    // The number's font has the heading's face and size: at the heading's height it stands on
    // the heading's baseline.
    if (!TextOutputDrawDirect(plateW - 1, kTitleY, "%d", p->currFrame + 1)) return 0;
    // A one-ball round is worth the first attempt's points.
    const int attempt = p->currFrame >= kSparesRounds3Attempts ? 0 : p->currFrameBallIndex;
    if (!TextOutputSelectFont(GetFontRSID(kGameFontBody))) return 0;
    TextOutputSetMode(kTextModeLeft);
    char line[64];
    FillNumbers(GeneralGameString(10), attempt + 1, SparesAttemptPoints(attempt), line, sizeof line);
    if (!TextOutputDrawDirect(52, 41, "%s", line)) return 0;
    // A person's prompts: the buttons in their wells.
    if (!MiniGameIsComputer(gCurrPlayer)) NoteOverlayButtons({kSparesSetupWell, kSparesNextWell});
    if (!MiniGameIsComputer(gCurrPlayer) &&
        (!DrawOverlayBitmap(GetOverlayRSID(kImagePromptWell), kSparesSetupWell.x, kSparesSetupWell.y) ||
         !DrawOverlayBitmap(GetOverlayRSID(kImagePromptWell), kSparesNextWell.x, kSparesNextWell.y) ||
         !Text(kGameFontBody, kTextModeLeft, 245, 174, "{1}") ||
         !Text(kGameFontBody, kTextModeCenter, 277, 212, GeneralOverlayString(1)) ||
         !Text(kGameFontBody, kTextModeCenter, 41, 174, "{3}") ||
         !Text(kGameFontBody, kTextModeCenter, 44, 212, GeneralOverlayString(2))))
        return 0;
    int w = 0, h = 0;
    if (!OverlayBitmapSize(GetOverlayRSID(kPinImage), &w, &h)) return 1;
    for (int i = 0; i < kLastPin; ++i) {
        if (!pins[i + 1].upright) continue;
        int x = 0, y = 0;
        LeavePosition(i, w, h, &x, &y);
        if (!DrawOverlayMark(GetOverlayRSID(kPinImage), x, y)) return 1;
    }
    return 1;
}

int DSSparesStartTurnUpdateHandler()
{
    UpdateTouchButton(turnNext);
    UpdateTouchButton(turnSetup);
    return 1;
}

int DSSparesStartTurnInputHandler()
{
    if (MiniGameIsComputer(gCurrPlayer)) {
        // The computer bowls from here after a moment to read the attempt, as it bowls from the
        // score sheet in the other games, so the lower screen never goes blank; once the ball is
        // let go the score table stands while it rolls, as after a person's throw.
        if (hold < kComputerHoldFrames) {
            ++hold;
        } else if (!gGamePaused && !GameReturnPending()) {
            UpdateAIBowler(&gPlayerInfo[gCurrPlayer]);
            if (GetControlState() >= kControlReleased) {
                OverlayExit();
                return StartDSSparesScoreOverlay();
            }
        }
        if (MiniGamePressed(kButtonStart)) StartPauseMenuOverlay();
        return 1;
    }
    if (MiniGamePressed(kButtonA) || Touched(turnNext)) {
        Click();
        OverlayExit();
        return MiniGameNextThrow();
    }
    if (MiniGamePressed(kButtonB) || Touched(turnSetup)) {
        Click();
        OverlayExit();
        return StartDSStandardStartTurnOverlay();
    }
    if (MiniGamePressed(kButtonStart)) StartPauseMenuOverlay();
    return 1;
}

int DSSparesStartTurnCloseHandler()
{
    FreeTouchButton(&turnNext);
    FreeTouchButton(&turnSetup);
    turnActive = 0;
    return 1;
}

// ---- The score table ----

// The prompt under the table at the game's end: the A button's glyph and "Exit".
static void ExitText(char* text, int size) { PrintString(text, size, "{1}%s", ButtonString(2)); }

// Where the exit prompt stands in the body font, glyph and word: the touch button lies over all of
// it and the rows stay above it.
static PictureBox ExitButton()
{
    char exit[64];
    ExitText(exit, sizeof exit);
    TextOutputSelectFont(GetFontRSID(kGameFontBody));
    return OverlayTextBox(kExitX, kExitY, exit, kTextModeLeft);
}

int DSSparesScoreOpenHandler()
{
    scoreActive = 1;
    hold = 0;
    scoreNext = NewBoxButton(ExitButton());
    return scoreNext ? 1 : 0;
}

int DSSparesScoreDrawHandler()
{
    if (!DrawOverlayBitmap(GetOverlayRSID(kScoreBackground), 0, 0)) return 0;
    if (!Text(kGameFontHeadings, kTextModeLeft, 115, 15, GeneralGameString(7)) ||
        !Text(kGameFontHeadings, kTextModeLeft, 225, 15, GeneralGameString(8)))
        return 0;
    const int players = gNumPlayers < kMaxPlayers ? gNumPlayers : kMaxPlayers;
    const int space = players > 0 ? (ExitButton().y - 2 - kFirstRowY) / players : kMaxRowStep;
    const int rowStep = space < kMaxRowStep ? space : kMaxRowStep;
    for (int i = 0; i < players; ++i) {
        const TITLE_PlayerInfoStruct& p = gPlayerInfo[i];
        const int y = kFirstRowY + rowStep * i;
        if (!TextOutputSelectFont(GetFontRSID(kGameFontBody))) return 0;
        TextOutputSetMode(kTextModeLeft);
        TextOutputSetPosition(kNameX, y);
        TextOutputFormat("%s %s", p.playerData.firstName, p.playerData.lastName);
        TextOutputTruncateLine(100, '.');
        if (!TextOutputDraw()) return 0;
        TextOutputSetMode(kTextModeCenter);
        if (!TextOutputDrawDirect(160, y, "%d", p.miniSparesConverted)) return 0;
        TextOutputSetMode(kTextModeLeft);
        if (!TextOutputDrawDirect(225, y, "%d", p.totalScore)) return 0;
    }
    if (!gGameOver) return 1;
    char exit[64];
    ExitText(exit, sizeof exit);
    if (!Text(kGameFontBody, kTextModeLeft, kExitX, kExitY, exit)) return 0;
    NoteDrawnButton(ExitButton());
    return 1;
}

int DSSparesScoreUpdateHandler()
{
    if (!gGameOver) return 1;
    UpdateTouchButton(scoreNext);
    // Without a person the final table stands for a moment and the game is left.
    if (!MiniGameAnyPerson() && ++hold >= kGameOverHoldFrames) OverlayExit();
    return 1;
}

int DSSparesScoreInputHandler()
{
    if (gGameOver && (MiniGamePressed(kButtonA) || Touched(scoreNext))) {
        Click();
        OverlayExit();
        for (TITLE_PlayerInfoStruct& p : gPlayerInfo) ResetPlayerInfo(&p);
        return StartReturnToMainMenu();
    }
    if (MiniGamePressed(kButtonStart)) StartPauseMenuOverlay();
    return 1;
}

int DSSparesScoreCloseHandler()
{
    FreeTouchButton(&scoreNext);
    scoreActive = 0;
    return 1;
}
