// The score sheet between shots: the shown player's ten frames in large, the page's other players
// in a small row each, and the prompts. It is where a throw begins (a person goes on to the shot
// set-up, a computer bowls or is skipped from here) and where a game ends. What the sheet shows
// (marks, running totals, pages, scroll) is worked out apart from the drawing, so that it can be
// checked without pictures.
#include "overlays/scoreoverlay.h"

#include <cstdio>

#include "game/actors.h"
#include "game/ball.h"
#include "game/computer.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/music.h"
#include "game/physics.h"
#include "game/pins.h"
#include "game/records.h"
#include "game/scoring.h"
#include "lib/resourceids.h"
#include "lib/textoutput.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/overlaystrings.h"
#include "overlays/pausemenu.h"
#include "overlays/position.h"
#include "overlays/questionoverlays.h"
#include "overlays/shotsetup.h"
#include "overlays/startturn.h"
#include "overlays/touchposition.h"
#include "platform/input.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "platform/video.h"
#include "shell/globals.h"
#include "shell/settings.h"
#include "shell/touchbuttons.h"

static int overlayActive = 0;
static int scorePage = 0;
static int playersPerPage = 1;
static int playerIndex = 0;
static float scrollBarPct = 0.0f;
static OverlayTouchButton* nextButton = nullptr;
static OverlayTouchButton* setupButton = nullptr;
static OverlayTouchButton* sliderButton = nullptr;
static OverlayTouchButton* p2Button = nullptr;
static OverlayTouchButton* p3Button = nullptr;
static OverlayTouchButton* p4Button = nullptr;
static OverlayTouchButton* pageButton = nullptr;
static const int hiliteFrameXoffset[kFramesPerGame] = {0, 44, 89, 133, 178, 222, 266, 310, 355, 399};
// Frames the final sheet of a game without a person stays up before the game is left.
static int gameOverHold = 0;

static const int kClickSound = kSoundChime;
static const float kSliderScale = 3.3333333f;
static const int kSliderTrack = 221;
static const int kSliderLeft = 50;
static const int kSliderY = 125;
static const float kMaxScroll = 0.3f;
static const float kScrollStep = 0.005f;
static const float kStickBand = 0.4f;
static const int kGameOverHoldFrames = 90;

// Bitmaps (through GetOverlayRSID where the sheet marks them so) and fonts.
enum {
    kBackground = kImageScoreBackground,
    kBand = kImageScoreBand,
    kNamePlate = kImageScoreNamePlate,
    kLargeSheet = kImageLargeSheet,
    kSmallRow = kImageSmallRow,
    kSliderKnobButtons = kImageKnobButtons,
    kFrameHighlight = kImageFrameHighlight,
    kPlayerHint = kImagePlayerHint,
    kPageHint = kImagePageHint,
    kSliderKnobTouch = kImageKnobTouch,
    kSmallStrike = kImageSmallStrike,
    kSmallSpare = kImageSmallSpare,
    kLargeStrike = kImageLargeStrike,
    kLargeSpare = kImageLargeSpare,
};
enum {
    kFontPrompt = kGameFontBody,
    kFontNickName = kGameFontTitles,
    kFontName = kGameFontHints,
    kFontMarks = kGameFontMarks,
    kFontTotals = kGameFontTotals,
    kFontSmallMarks = kGameFontSmallMarks,
    kFontSmallTotal = kGameFontSmallTotals,
    kFontSmallName = kGameFontSmallNames,
};
static const int kGameTypeLeague = 1;
static const int kGameTypeTeam = 6;
// Below the large sheet there is room for three small rows: a game of more than four bowlers
// shows them on two pages, turned as a league's are.
static const int kMostPlayersOnAPage = 4;
// A small row's box, between the player's number and the column of player buttons, and the
// centres of its ball columns within it: two for frames 1 to 9, three for the tenth.
static const int kSmallRowLeft = 256;
static const int kSmallRowWidth = 28;
static const int kSmallColumns[2] = {7, 21};
static const int kSmallTenthColumns[3] = {5, 14, 23};
static const int kPlayerNumberRight = kSmallRowLeft - 2;

static int IsComputer(int player) { return GetControllerAssignment(player) == kAssignmentComputer; }

static int AnyPerson()
{
    for (int p = 0; p < gNumPlayers && p < kMaxPlayers; ++p)
        if (!IsComputer(p)) return 1;
    return 0;
}

// ---- What the sheet shows ----

static int Ball(const TITLE_PlayerInfoStruct* p, int f, int b) { return p->framePinCount[f][b]; }

int ScoreSheetFrameMarks(const TITLE_PlayerInfoStruct* p, int frame, ScoreSheetMark marks[3])
{
    if (!p || !marks || frame < 0 || frame >= kFramesPerGame) return 0;
    for (int b = 0; b < 3; ++b) marks[b] = ScoreSheetMark{kSheetBlank, 0};
    auto count = [&](int b, int v) {
        if (v >= 0) marks[b] = ScoreSheetMark{kSheetCount, v};
    };
    const int b1 = Ball(p, frame, 0), b2 = Ball(p, frame, 1), b3 = Ball(p, frame, 2);
    if (frame < kFramesPerGame - 1) {
        if (b1 == 10) {
            marks[0].kind = kSheetStrike;
        } else if (b1 >= 0 && b2 >= 0 && b1 + b2 == 10) {
            count(0, b1);
            marks[1].kind = kSheetSpare;
        } else {
            count(0, b1);
            count(1, b2);
        }
        return 1;
    }
    if (b1 == 10)
        marks[0].kind = kSheetStrike;
    else
        count(0, b1);
    if (b2 >= 0) {
        if (b2 == 10)
            marks[1].kind = b1 == 10 ? kSheetStrike : kSheetSpare;
        else if (b1 != 10 && b1 + b2 == 10)
            marks[1].kind = kSheetSpare;
        else
            count(1, b2);
    }
    if (b3 >= 0) {
        if (b3 == 10)
            marks[2].kind = b2 != 0 ? kSheetStrike : kSheetSpare;
        else if (b1 == 10 && b2 != 10 && b2 + b3 == 10)
            marks[2].kind = kSheetSpare;
        else
            count(2, b3);
    }
    return 1;
}

int ScoreSheetRunningTotals(const TITLE_PlayerInfoStruct* p, int totals[10])
{
    if (!p || !totals) return 0;
    int sum = 0;
    for (int f = 0; f < kFramesPerGame; ++f) {
        totals[f] = -1;
        const int shown = f < kFramesPerGame - 1 ? f < p->currFrame : p->currFrame > kFramesPerGame - 1;
        if (shown && p->frameScore[f] != -1) {
            sum += p->frameScore[f];
            totals[f] = sum;
        }
    }
    return 1;
}

int ScoreSheetPlayersPerPage()
{
    int n = gNumPlayers;
    if (gNumPlayers > 2 && (gGameType == kGameTypeLeague || gGameType == kGameTypeTeam)) n = gNumPlayers / 2;
    if (n > kMostPlayersOnAPage) n = (gNumPlayers + 1) / 2;
    return n < 1 ? 1 : n;
}

float ScoreSheetScrollForFrame(int currFrame)
{
    if (currFrame < 6) return 0.0f;
    return currFrame < 8 ? 0.2f : kMaxScroll;
}

float ScoreSheetScroll() { return scrollBarPct; }

int ScoreSheetShownPlayer() { return scorePage * playersPerPage + playerIndex; }

// ---- Buttons ----

static int KnobRSID() { return GetOverlayRSID(GetControlMode() == kControlModeButtons ? kSliderKnobButtons : kSliderKnobTouch); }

static int KnobWidth()
{
    int w = 0;
    OverlayBitmapSize(KnobRSID(), &w, nullptr);
    return w;
}

static int TwoPages() { return playersPerPage < gNumPlayers; }

static int SliderX() { return int(scrollBarPct * kSliderScale * float(kSliderTrack - KnobWidth())) + kSliderLeft; }

static void FreeButtons()
{
    FreeTouchButton(&nextButton);
    FreeTouchButton(&setupButton);
    FreeTouchButton(&sliderButton);
    FreeTouchButton(&p2Button);
    FreeTouchButton(&p3Button);
    FreeTouchButton(&p4Button);
    FreeTouchButton(&pageButton);
}

static int PlayersOnPage()
{
    const int rest = gNumPlayers - scorePage * playersPerPage;
    return rest < playersPerPage ? rest : playersPerPage;
}

// The ring of the player button beside small row i, and the page icon: each button is its ring
// or icon as drawn (in the prompt font).
static const int kPlayerRingX = 278;
static const int kPlayerRingY[3] = {149, 180, 211};
static const int kPageIconX = 270, kPageIconY = 18;
static PictureBox PlayerRing(int i) { return OverlayTextBox(kPlayerRingX, kPlayerRingY[i], "{6}", kTextModeLeft); }
static PictureBox PageIcon() { return OverlayTextBox(kPageIconX, kPageIconY, "{9}", kTextModeLeft); }

// With the stylus, a button beside each small row of the page shown: the short second page of an
// odd number of bowlers has fewer rows, and no button stands beside an empty one.
static int AddPlayerButtons()
{
    FreeTouchButton(&p2Button);
    FreeTouchButton(&p3Button);
    FreeTouchButton(&p4Button);
    if (GetControlMode() != kControlModeTouch) return 1;
    const int players = PlayersOnPage();
    TextOutputSelectFont(GetFontRSID(kFontPrompt));
    if (players >= 2 && !(p2Button = NewBoxButton(PlayerRing(0)))) return 0;
    if (players >= 3 && !(p3Button = NewBoxButton(PlayerRing(1)))) return 0;
    if (players >= 4 && !(p4Button = NewBoxButton(PlayerRing(2)))) return 0;
    return 1;
}

// Shows page `page` (0 or 1), with the player buttons of its rows.
static int TurnPage(int page)
{
    if (page == scorePage) return 1;
    scorePage = page;
    return AddPlayerButtons();
}

static int ShowCurrentPlayer()
{
    const int page = gCurrPlayer < playersPerPage ? 0 : 1;
    playerIndex = gCurrPlayer - page * playersPerPage;
    const int frame = gCurrPlayer >= 0 && gCurrPlayer < kMaxPlayers ? gPlayerInfo[gCurrPlayer].currFrame : 0;
    scrollBarPct = ScoreSheetScrollForFrame(frame);
    if (sliderButton) sliderButton->x = SliderX();
    return TurnPage(page);
}

// A prompt of the sheet's foot: its glyph centred on glyphX over its word centred on labelX.
static const int kPromptGlyphY = 174, kPromptLabelY = 212;
static PictureBox PromptBox(int glyphX, const char* glyph, int labelX, const char* label)
{
    return BoxAround(OverlayTextBox(glyphX, kPromptGlyphY, glyph, kTextModeCenter),
                     OverlayTextBox(labelX, kPromptLabelY, label, kTextModeCenter));
}

// The A and B prompts, glyph and word, are the next and set-up buttons.
static PictureBox NextPrompt() { return PromptBox(40, "{1}", 41, GeneralOverlayString(1)); }
static PictureBox SetupPrompt() { return PromptBox(96, "{3}", 99, GeneralOverlayString(2)); }

// The set-up button belongs to a person whose game goes on.
static int AddSetupButton()
{
    if (setupButton || IsComputer(gCurrPlayer) || gGameOver) return 1;
    TextOutputSelectFont(GetFontRSID(kFontPrompt));
    setupButton = NewBoxButton(SetupPrompt());
    return setupButton != nullptr;
}

// ---- Start and open ----

int StartDSScoreOverlay()
{
    if (!overlayActive) {
        const OVERLAYTAG overlay = {DSScoreOpenHandler, DSScoreDrawHandler, DSScoreUpdateHandler,
                                    DSScoreInputHandler, DSScoreCloseHandler, 0};
        return OverlaySelect(&overlay);
    }
    return ShowCurrentPlayer() && AddSetupButton();
}

int DSScoreOverlayActive() { return overlayActive; }

int DSScoreOpenHandler()
{
    // The score sheet takes the lower screen from a playing clip.
    if (VideoPlaying() && !DisposeVideo()) return 0;
    SetControlState(kControlPosition);

    playersPerPage = ScoreSheetPlayersPerPage();
    FreeButtons();
    if (!ShowCurrentPlayer()) return 0;
    overlayActive = 1;
    gameOverHold = 0;
    TextOutputSelectFont(GetFontRSID(kFontPrompt));

    nextButton = NewBoxButton(NextPrompt());
    if (!nextButton || !AddSetupButton()) return 0;
    // Without its image the knob still slides, as a button of no width.
    int knobW = 0, knobH = 0;
    OverlayBitmapSize(KnobRSID(), &knobW, &knobH);
    sliderButton = NewTouchButton(SliderX(), kSliderY, knobW, knobH);
    if (!sliderButton) return 0;
    sliderButton->moveableX = 1;
    sliderButton->minX = kSliderLeft;
    sliderButton->maxX = kSliderLeft + kSliderTrack - knobW;
    if (!AddPlayerButtons()) return 0;
    if (TwoPages() && !(pageButton = NewBoxButton(PageIcon()))) return 0;
    return 1;
}

// ---- Drawing ----

static int SelectFont(int id) { return TextOutputSelectFont(GetFontRSID(id)); }

static int DrawCount(int x, int y, int v)
{
    return TextOutputDrawDirect(x, y, "%d", v);
}

// One ball's mark on the large sheet at column x.
static int DrawLargeMark(const ScoreSheetMark& m, int x, int y)
{
    switch (m.kind) {
    case kSheetStrike: return DrawOverlayBitmap(GetOverlayRSID(kLargeStrike), x - 7, y);
    case kSheetSpare: return DrawOverlayBitmap(GetOverlayRSID(kLargeSpare), x - 4, y);
    case kSheetCount: return DrawCount(x, y, m.count);
    default: return 1;
    }
}

// One ball's mark in a small row, centred on x.
static int DrawSmallMark(const ScoreSheetMark& m, int x, int y)
{
    if (m.kind == kSheetCount) return DrawCount(x, y, m.count);
    if (m.kind != kSheetStrike && m.kind != kSheetSpare) return 1;
    const int rsid = GetOverlayRSID(m.kind == kSheetStrike ? kSmallStrike : kSmallSpare);
    int w = 0;
    return OverlayBitmapSize(rsid, &w, nullptr) && DrawOverlayBitmap(rsid, x - w / 2, y);
}

static int DrawNames(const TITLE_PlayerInfoStruct& p, int x, int y)
{
    char names[64];
    std::snprintf(names, sizeof names, "%s %s", p.playerData.firstName, p.playerData.lastName);
    return TextOutputDrawDirect(x, y, "%s", names);
}

static int DrawHeader(const TITLE_PlayerInfoStruct& p, int shown)
{
    int plateW = 0;
    if (!OverlayBitmapSize(kNamePlate, &plateW, nullptr)) return 0;
    int top = 16, textY = 8;
    if (TwoPages()) {
        if (GetControlMode() == kControlModeButtons) {
            if (!DrawOverlayBitmap(kPageHint, 285, 10)) return 0;
        } else {
            if (!SelectFont(kFontPrompt)) return 0;
            TextOutputSetMode(kTextModeLeft);
            DrawOverlayText(kPageIconX, kPageIconY, "{9}");
            NoteDrawnButton(PageIcon());
        }
    }
    if (gGameType == kGameTypeLeague && TwoPages()) {
        int bandW = 0;
        if (!OverlayBitmapSize(kBand, &bandW, nullptr) || !DrawOverlayBitmap(kBand, 0, 8)) return 0;
        if (!SelectFont(kFontNickName)) return 0;
        TextOutputSetMode(kTextModeRight);
        if (!TextOutputDrawDirect(bandW - 4, 0, "%s", p.playerData.nickName)) return 0;
        top = 31;
        textY = 23;
    }
    if (!DrawOverlayBitmap(kNamePlate, 0, top)) return 0;
    if (!SelectFont(kFontName)) return 0;
    TextOutputSetMode(kTextModeRight);
    if (!TextOutputDrawDirect(plateW - 5, textY, GeneralOverlayString(0), shown + 1)) return 0;
    return DrawNames(p, plateW - 29, textY);
}

static int DrawLargeSheet(const TITLE_PlayerInfoStruct& p, int S)
{
    if (p.currFrame < kFramesPerGame &&
        !DrawOverlayBitmap(GetOverlayRSID(kFrameHighlight), hiliteFrameXoffset[p.currFrame] - S, 66))
        return 0;
    if (!DrawOverlayBitmap(GetOverlayRSID(kLargeSheet), -S, 51)) return 0;
    if (!DrawOverlayBitmap(KnobRSID(), SliderX(), kSliderY)) return 0;
    // The knob is a button one drags.
    if (sliderButton) {
        int knobW = 0, knobH = 0;
        OverlayBitmapSize(KnobRSID(), &knobW, &knobH);
        NoteDrawnButton(PictureBox{SliderX(), kSliderY, knobW, knobH});
    }

    if (!SelectFont(kFontMarks)) return 0;
    TextOutputSetMode(kTextModeCenter);
    const int y = 68;
    for (int f = 0; f < kFramesPerGame; ++f) {
        ScoreSheetMark marks[3];
        ScoreSheetFrameMarks(&p, f, marks);
        if (f < kFramesPerGame - 1) {
            const int first = (f < 5 ? 29 : 32) + 44 * f - S;
            const int second = (f < 5 ? 40 : 43) + 44 * f - S;
            if (!DrawLargeMark(marks[0], first, y) || !DrawLargeMark(marks[1], second, y)) return 0;
        } else {
            const int cols[3] = {20 + 396 - S, 32 + 396 - S, 43 + 396 - S};
            for (int b = 0; b < 3; ++b)
                if (!DrawLargeMark(marks[b], cols[b], y)) return 0;
        }
    }

    if (!SelectFont(kFontTotals)) return 0;
    int totals[kFramesPerGame];
    ScoreSheetRunningTotals(&p, totals);
    for (int f = 0; f < kFramesPerGame; ++f) {
        if (totals[f] < 0) continue;
        const int x = f < kFramesPerGame - 1 ? 22 + 45 * f - S - (f > 5 ? 3 : 0) : 422 - S;
        if (!DrawCount(x, 97, totals[f])) return 0;
    }
    return 1;
}

// Which frame a small row shows: the last one finished while the current frame has no ball
// down yet, otherwise the current one (the first frame before any is finished).
static int SmallRowFrame(const TITLE_PlayerInfoStruct& p)
{
    const int current = p.currFrame < kFramesPerGame ? p.currFrame : kFramesPerGame - 1;
    if (p.currFrame > 0 && (p.currFrame >= kFramesPerGame || p.framePinCount[current][0] < 0)) return p.currFrame - 1;
    return current;
}

static int DrawSmallRow(const TITLE_PlayerInfoStruct& p, int player, int row)
{
    const int y0 = 30 * row;
    if (!DrawOverlayBitmap(GetOverlayRSID(kSmallRow), kSmallRowLeft, 147 + y0)) return 0;
    const int f = SmallRowFrame(p);
    ScoreSheetMark marks[3];
    ScoreSheetFrameMarks(&p, f, marks);
    if (!SelectFont(kFontSmallMarks)) return 0;
    TextOutputSetMode(kTextModeCenter);
    // Each ball has its own column, far enough from the next that a 6 and a 3 never read as 63.
    const int tenth = f == kFramesPerGame - 1;
    const int* columns = tenth ? kSmallTenthColumns : kSmallColumns;
    for (int b = 0; b < (tenth ? 3 : 2); ++b)
        if (!DrawSmallMark(marks[b], kSmallRowLeft + columns[b], 148 + y0)) return 0;
    const int scored = f < kFramesPerGame - 1 ? f < p.currFrame && p.frameScore[f] != -1
                                              : p.currFrame > kFramesPerGame - 1 && p.frameScore[f] != -1;
    if (scored) {
        if (!SelectFont(kFontSmallTotal)) return 0;
        if (!DrawCount(kSmallRowLeft + kSmallRowWidth / 2, 160 + y0, p.totalScore)) return 0;
    }
    if (!SelectFont(kFontPrompt)) return 0;
    TextOutputSetMode(kTextModeRight);
    if (!TextOutputDrawDirect(kPlayerNumberRight, 151 + y0, "P%d", player + 1)) return 0;
    if (!SelectFont(kFontSmallName)) return 0;
    char names[64];
    std::snprintf(names, sizeof names, "%s %s", p.playerData.firstName, p.playerData.lastName);
    TextOutputFormat("%s", names);
    TextOutputTruncateLine(80, '.');
    TextOutputSetPosition(232, 143 + y0);
    return TextOutputDraw();
}

static int DrawPrompt(int glyphX, const char* glyph, int labelX, const char* label)
{
    if (!DrawOverlayText(glyphX, kPromptGlyphY, glyph) || !TextOutputDrawDirect(labelX, kPromptLabelY, "%s", label))
        return 0;
    NoteDrawnButton(PromptBox(glyphX, glyph, labelX, label));
    return 1;
}

static int DrawPrompts()
{
    if (GetControlState() >= kControlReleased) return 1;
    if (!SelectFont(kFontPrompt)) return 0;
    TextOutputSetMode(kTextModeCenter);
    if (gGameOver) return DrawPrompt(40, "{1}", 41, GeneralOverlayString(1));
    if (IsComputer(gCurrPlayer))
        return AISkipOffered(&gPlayerInfo[gCurrPlayer]) ? DrawPrompt(40, "{1}", 41, ButtonString(4)) : 1;
    return DrawPrompt(40, "{1}", 41, GeneralOverlayString(1)) && DrawPrompt(96, "{3}", 99, GeneralOverlayString(2));
}

int DSScoreDrawHandler()
{
    const int shown = ScoreSheetShownPlayer();
    if (shown < 0 || shown >= kMaxPlayers) return 0;
    const TITLE_PlayerInfoStruct& p = gPlayerInfo[shown];
    int sheetW = 0;
    if (!OverlayBitmapSize(GetOverlayRSID(kLargeSheet), &sheetW, nullptr)) return 0;
    const int S = int(scrollBarPct * float(sheetW));

    if (!DrawOverlayBitmap(kBackground, 0, 0)) return 0;
    if (gNumPlayers > 1 && GetControlMode() == kControlModeButtons && !DrawOverlayBitmap(kPlayerHint, 285, 175)) return 0;
    if (!DrawHeader(p, shown)) return 0;
    if (!DrawLargeSheet(p, S)) return 0;

    int row = 0;
    const int first = scorePage * playersPerPage;
    for (int i = first; i < first + playersPerPage && i < gNumPlayers; ++i) {
        if (i == shown) continue;
        if (!DrawSmallRow(gPlayerInfo[i], i, row++)) return 0;
    }
    if (!DrawPrompts()) return 0;

    if (!SelectFont(kFontPrompt)) return 0;
    TextOutputSetMode(kTextModeLeft);
    const OverlayTouchButton* buttons[3] = {p2Button, p3Button, p4Button};
    for (int i = 0; i < 3; ++i)
        if (buttons[i]) {
            if (!DrawOverlayText(kPlayerRingX, kPlayerRingY[i], "{6}")) return 0;
            NoteDrawnButton(PlayerRing(i));
        }
    return 1;
}

// ---- Update and input ----

int DSScoreUpdateHandler()
{
    OverlayTouchButton* buttons[] = {nextButton, setupButton, sliderButton, p2Button, p3Button, p4Button, pageButton};
    for (OverlayTouchButton* b : buttons)
        if (b) UpdateTouchButton(b);
    // A game without a person shows its final sheet for a moment, then is left: nobody could
    // answer the question at the end.
    if (gGameOver && gGameType != kGameAttract && !AnyPerson() && ++gameOverHold >= kGameOverHoldFrames)
        OverlayExit();
    return 1;
}

// A new press of the button alone on the overlay's input.
static int Pressed(uint16_t bit)
{
    const joystickState in = OverlayInput();
    return uint16_t(in.edges & in.buttons) == bit;
}
static int Touched(const OverlayTouchButton* b) { return b && b->pressed; }

static void Click() { SoundPlayResource(kClickSound, gGameOptions.soundFXVolume, 1); }

static void Scroll()
{
    const float x = allInput.x, y = allInput.y;
    int moved = 0;
    if (x < 0.0f && y >= -kStickBand && y <= kStickBand) {
        scrollBarPct -= kScrollStep;
        if (scrollBarPct < 0.0f) scrollBarPct = 0.0f;
        moved = 1;
    } else if (x > 0.0f && y > -kStickBand && y < kStickBand) {
        scrollBarPct += kScrollStep;
        if (scrollBarPct > kMaxScroll) scrollBarPct = kMaxScroll;
        moved = 1;
    }
    if (!sliderButton) return;
    const int track = kSliderTrack - sliderButton->w;
    if (moved) sliderButton->x = SliderX();
    if (sliderButton->dx != 0 && track > 0) {
        scrollBarPct = float(sliderButton->x - kSliderLeft) / float(track) * kMaxScroll;
        if (scrollBarPct < 0.0f) scrollBarPct = 0.0f;
        if (scrollBarPct > kMaxScroll) scrollBarPct = kMaxScroll;
    }
}

int DSScoreInputHandler()
{
    const int next = Pressed(kButtonA) || Touched(nextButton);
    if (gGameOver && next) {
        if (gGameType == kGameStandard)
            StartYesNoOverlay("", GeneralGameString(3), ButtonString(3), OnConfirmPlayAgain);
        else
            StartInfoOverlay("", GeneralGameString(2), ButtonString(0), OnConfirmQuit);
        return 1;
    }
    if (!gGameOver && GetControlState() < kControlReleased && gCurrPlayer >= 0 && gCurrPlayer < kMaxPlayers) {
        TITLE_PlayerInfoStruct* p = &gPlayerInfo[gCurrPlayer];
        if (IsComputer(gCurrPlayer)) {
            if (!gGamePaused && !GameReturnPending()) UpdateAIBowler(p);
            if (next && AISkipOffered(p)) SkipAIBowler(p);
        } else if (next) {
            Click();
            OverlayExit();
            return ShotStartFirstStep();
        } else if (Pressed(kButtonB) || Touched(setupButton)) {
            Click();
            OverlayExit();
            return StartDSStandardStartTurnOverlay();
        }
    }

    Scroll();
    if (Pressed(kButtonDown)) {
        if (playerIndex < playersPerPage - 1) ++playerIndex;
    } else if (Pressed(kButtonUp)) {
        if (playerIndex > 0) --playerIndex;
    }
    if (TwoPages()) {
        int page = scorePage;
        if (Pressed(kButtonLeft))
            page = 0;
        else if (Pressed(kButtonRight))
            page = 1;
        else if (Touched(pageButton))
            page = 1 - scorePage;
        if (!TurnPage(page)) return 0;
    }
    if (Touched(p2Button)) playerIndex = playerIndex == 0 ? 1 : 0;
    if (Touched(p3Button)) playerIndex = playerIndex < 2 ? 2 : 1;
    if (Touched(p4Button)) playerIndex = playerIndex == 3 ? 2 : 3;
    // A page that holds fewer players than its row numbers shows its last player.
    const int onPage = gNumPlayers - scorePage * playersPerPage;
    if (playerIndex >= onPage) playerIndex = onPage > 0 ? onPage - 1 : 0;
    if (Pressed(kButtonStart)) StartPauseMenuOverlay();
    return 1;
}

int DSScoreCloseHandler()
{
    FreeButtons();
    overlayActive = 0;
    return 1;
}

// ---- The end of a ball and of the game ----

int ShowScoreOverlayAfterBall()
{
    for (int i = 0; i < kOverlayStackDepth && OverlayExists(); ++i) {
        OVERLAYTAG top = {};
        OverlayGetHandlers(&top);
        if (top.drawHandler == DSScoreDrawHandler || !OverlayExit()) break;
    }
    return StartDSScoreOverlay();
}

static int StartTransitionCallback()
{
    if (gBackgroundSoundChannel) StopStream(gBackgroundSoundChannel);
    return 1;
}

static int CompleteTransitionCallback() { return 1; }

static int StartMainMenu()
{
    StopBackgroundMusic();
    if (gBackgroundSoundChannel) StopStream(gBackgroundSoundChannel);
    quitGame = 1;
    for (TITLE_PlayerInfoStruct& p : gPlayerInfo)
        if (!ResetPlayerInfo(&p)) return 0;
    OverlayExitAll();
    return 1;
}

int StartReturnToMainMenu()
{
    PauseGame(0);
    StartGameReturnTransition(StartTransitionCallback, StartMainMenu, CompleteTransitionCallback);
    OverlayExitAll();
    return 1;
}

int OnConfirmQuit(int) { return StartReturnToMainMenu(); }

int OnConfirmPlayAgain(int yes)
{
    PauseGame(0);
    if (!yes) return OnConfirmQuit(0);
    const int bumpers = gPlayerInfo[0].bumpers;
    for (TITLE_PlayerInfoStruct& p : gPlayerInfo) {
        p.gameFinished = 0;
        ResetPlayerInfo(&p);
    }
    gPlayerInfo[0].bumpers = bumpers;
    gGameOver = 0;
    // The new game begins with the first player on a fresh rack, whoever bowled last.
    ResetScoring();
    for (int i = 0; i < gNumPlayers && i < kMaxPlayers; ++i)
        if (actor_tag* bowler = gPlayerInfo[i].theActor) bowler->visible = i == 0;
    gCurrPlayer = 0;
    for (int k = kFirstPin; k <= kLastPin; ++k)
        if (pins[k].theActor) ResetPinActor(k);
    if (physics && (physics->m_bumperLeftBody || physics->m_bumperRightBody)) physics->SetBumpersRaised(bumpers != 0);
    StartNewBall();
    SetControlState(kControlPosition);
    if (overlayActive) return ShowCurrentPlayer() && AddSetupButton();
    return 1;
}
