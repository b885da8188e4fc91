// The rules of the mini-games at the end of a ball: the spares challenge, bingo and poker scored
// their own way, and the pin-selection practice that records what each ball knocked down.
//
// Each game's rules are a function of the pins counted (ScoreXBall), so that tests can play a
// game ball by ball without a lane; EndXBall counts the pins of the lane, handles them, passes the
// turn and shows the game's overlay through the record of upward calls.
#include "game/minigames.h"

#include "game/cards.h"
#include "game/computer.h"
#include "game/gameloop.h"
#include "game/pins.h"
#include "game/records.h"
#include "game/replay.h"
#include "game/scoring.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "shell/settings.h"
#include "shell/upperlayers.h"

PracticeBall gPracticeBalls[kMaxPracticeBalls];
int gNumPracticeBalls = 0;
int gPracticeBallLimit = 0;

// Per player, the balls thrown at which bingo's and poker's frame totals were last worked out.
static int bingoScoredAt[kMaxPlayers];
static int pokerScoredAt[kMaxPlayers];

static const int kShufflePasses = 5;

void ResetMiniGames()
{
    for (int& n : bingoScoredAt) n = -1;
    for (int& n : pokerScoredAt) n = -1;
    gNumPracticeBalls = 0;
}

static TITLE_PlayerInfoStruct* CurrentPlayer()
{
    if (gCurrPlayer < 0 || gCurrPlayer >= kMaxPlayers) {
        PrintError("mini-games: no player %d", gCurrPlayer);
        return nullptr;
    }
    return &gPlayerInfo[gCurrPlayer];
}

static int NumPlayers() { return gNumPlayers < 1 ? 1 : gNumPlayers > kMaxPlayers ? kMaxPlayers : gNumPlayers; }

// A record that cannot take another ball (a damaged count) takes none.
static int CanRecord(const TITLE_PlayerInfoStruct* p)
{
    return p->currFrameBallIndex >= 0 && p->currFrameBallIndex < kBallsPerFrame && p->ballsThrown >= 0 &&
           p->ballsThrown < kBallScores && p->currFrame >= 0 && p->currFrame <= kLastFrame;
}

static void RecordBall(TITLE_PlayerInfoStruct* p, int knockedDown)
{
    p->ballScore[p->ballsThrown++] = knockedDown;
    p->framePinCount[p->currFrame][p->currFrameBallIndex++] = knockedDown;
}

// ---- Spares challenge ----

int SparesAttemptPoints(int attempt)
{
    return attempt >= 0 && attempt < kSparesAttempts ? kSparesPointsFirst >> attempt : 0;
}

static int MissedAThreeAttemptRound(const TITLE_PlayerInfoStruct* p)
{
    for (int r = 0; r < kSparesRounds3Attempts; ++r)
        if (p->miniBallScore[r] == 0) return 1;
    return 0;
}

int ScoreSparesBall(int /*knockedDown*/, int standing, int& turnContinues)
{
    turnContinues = 0;
    TITLE_PlayerInfoStruct* p = CurrentPlayer();
    if (!p || p->gameFinished) return 1;
    const int r = p->currFrame, a = p->currFrameBallIndex;
    if (r < 0 || r >= kSparesRoundsPerGame || a < 0 || a >= kSparesAttempts)
        return PrintError("spares: round %d attempt %d cannot be scored", r, a);

    p->lastBallResult = 0;
    const int oneBall = r >= kSparesRounds3Attempts;
    int roundEnds = 1;
    if (standing == 0) {
        p->miniBallScore[r] = oneBall ? kSparesPointsFirst : SparesAttemptPoints(a);
        p->lastBallResult = kResultSpare;
        p->miniSparesConverted++;
    } else if (oneBall || a == kSparesAttempts - 1) {
        p->miniBallScore[r] = 0;
    } else {
        roundEnds = 0;
        turnContinues = 1;
        p->currFrameBallIndex++;
    }
    if (roundEnds) {
        p->totalScore += p->miniBallScore[r];
        p->currFrameBallIndex = 0;
        p->currFrame++;
    }
    if (p->currFrame >= kSparesRoundsPerGame || (p->currFrame >= kSparesRounds3Attempts && MissedAThreeAttemptRound(p)))
        p->gameFinished = 1;
    return 1;
}

int EndSparesBall()
{
    int knockedDown = 0, standing = 0, turnContinues = 0;
    StoreReplayPinVisible();
    ScoreBall(&knockedDown, &standing);
    ScoreSparesBall(knockedDown, standing, turnContinues);
    // The attempt is replayed like any ball (without a celebration clip in this game).
    if (!StartReplay(turnContinues)) return 0;
    if (!turnContinues && !SelectNextPlayer()) {
        gGameOver = 1;
        upperLayers.StartDSSparesScoreOverlay();
        return 1;
    }
    const TITLE_PlayerInfoStruct* p = CurrentPlayer();
    if (!p) return 1;
    // Every attempt starts from the full leave of its round.
    SelectSparesRoundPins(p->currFrame);
    if (p->currFrame < kSparesRoundsPerGame) upperLayers.StartDSSparesStartTurnOverlay();
    return 1;
}

// ---- Bingo ----

// The marks of a ball, as in ten-pin but without results or strikes in a row.
static void MarkBingoFrame(TITLE_PlayerInfoStruct* p, int standing, int& turnContinues)
{
    const int f = p->currFrame, b = p->currFrameBallIndex;
    const int cleared = standing == 0;
    turnContinues = b == 0;
    if (f < kLastFrame) {
        if (b == 0 && cleared) {
            p->frameMark[f] = kMarkStrike;
            turnContinues = 0;
        } else if (b == 1 && cleared) {
            p->frameMark[f] = kMarkSpare;
        }
        return;
    }
    const int firstWasStrike = p->framePinCount[f][0] == kAllPins;
    if (b == 0) {
        if (cleared) p->frameMark[f] = kMarkStrike;
    } else if (b == 1) {
        turnContinues = cleared || firstWasStrike;
        if (cleared && !firstWasStrike) p->frameMark[f] = kMarkSpare;
    } else if (cleared && firstWasStrike && p->framePinCount[f][1] != kAllPins && p->frameMark[f] != kMarkSpare) {
        p->frameMark[f] = kMarkSpare;
    }
}

static void MarkBingoCard(TITLE_PlayerInfoStruct* p, int knockedDown)
{
    const int lastFrame = p->currFrame < kLastFrame ? p->currFrame : kLastFrame;
    for (int r = 0; r < kBingoSize; ++r) {
        for (int c = 0; c < kBingoSize; ++c) {
            if (p->bingoMarks[r][c]) continue;
            const int n = p->bingoScores[r][c];
            int hit = n == knockedDown;
            for (int g = 0; g <= lastFrame && !hit; ++g) hit = p->frameScore[g] >= 0 && p->frameScore[g] == n;
            if (hit) p->bingoMarks[r][c] = 1;
        }
    }
}

int BingoLine(const TITLE_PlayerInfoStruct* p)
{
    int down = 1, up = 1;
    for (int i = 0; i < kBingoSize; ++i) {
        int row = 1, column = 1;
        for (int j = 0; j < kBingoSize; ++j) {
            row &= p->bingoMarks[i][j] != 0;
            column &= p->bingoMarks[j][i] != 0;
        }
        if (row || column) return 1;
        down &= p->bingoMarks[i][i] != 0;
        up &= p->bingoMarks[i][kBingoSize - 1 - i] != 0;
    }
    return down || up;
}

int ScoreBingoBall(int knockedDown, int standing, int& turnContinues, int* bingo)
{
    turnContinues = 0;
    if (bingo) *bingo = 0;
    TITLE_PlayerInfoStruct* p = CurrentPlayer();
    if (!p) return 1;
    if (!CanRecord(p)) return PrintError("bingo: ball %d of frame %d cannot be recorded", p->currFrameBallIndex, p->currFrame);

    MarkBingoFrame(p, standing, turnContinues);
    RecordBall(p, knockedDown);
    if (!turnContinues) {
        p->currFrameBallIndex = 0;
        // After the tenth frame without a line the card, its marks and the scores start again.
        if (++p->currFrame > kLastFrame) ResetPlayerInfo(p);
    }
    UpdateMiniGameFrameTotals(p, bingoScoredAt[gCurrPlayer]);
    MarkBingoCard(p, knockedDown);
    if (bingo) *bingo = BingoLine(p);
    return 1;
}

int EndBingoBall()
{
    int knockedDown = 0, standing = 0, turnContinues = 0, bingo = 0;
    const int bowler = gCurrPlayer;
    ScoreBall(&knockedDown, &standing);
    ScoreBingoBall(knockedDown, standing, turnContinues, &bingo);
    if (bingo) {
        gPlayerInfo[bowler].winner = 1;
        gGameOver = 1;
    } else {
        PinsAfterBall(turnContinues, standing);
        // A bingo player never finishes: the turn always passes on.
        if (!turnContinues) SelectNextPlayer();
    }
    upperLayers.StartBingoCardOverlay(bowler, bingo);
    return 1;
}

// ---- Poker ----

static void DealCard(TITLE_PlayerInfoStruct* p)
{
    int card = 0;
    if (p->numCards >= 0 && p->numCards < kMaxHandCards && DealNextCard(&card)) p->cards[p->numCards++] = card;
}

static int StrikeFrame(const TITLE_PlayerInfoStruct* p, int f) { return f >= 0 && p->frameMark[f] == kMarkStrike; }

static void PokerStrike(TITLE_PlayerInfoStruct* p, int bonus)
{
    if (bonus) DealCard(p);
    p->lastBallResult = kResultStrike;
    DealCard(p);
}

static void PokerSpare(TITLE_PlayerInfoStruct* p, int f)
{
    p->frameMark[f] = kMarkSpare;
    p->lastBallResult = kResultSpare;
    DealCard(p);
}

// The tenth frame's cards: strikes on fresh racks and the spare, each a card.
static void PokerTenth(TITLE_PlayerInfoStruct* p, int b, int cleared, int& turnContinues)
{
    const int f = kLastFrame;
    const int firstWasStrike = p->framePinCount[f][0] == kAllPins;
    if (b == 0) {
        if (cleared) {
            p->frameMark[f] = kMarkStrike;
            PokerStrike(p, StrikeFrame(p, 7) && StrikeFrame(p, 8));
        }
    } else if (b == 1) {
        turnContinues = cleared || firstWasStrike;
        if (cleared && firstWasStrike)
            PokerStrike(p, StrikeFrame(p, 8));
        else if (cleared)
            PokerSpare(p, f);
    } else if (cleared) {
        const int spareMade = p->frameMark[f] == kMarkSpare;
        if (p->framePinCount[f][1] == kAllPins)
            PokerStrike(p, !spareMade);
        else if (!spareMade)
            PokerSpare(p, f);
        else
            PokerStrike(p, 0);
    }
}

int ScorePokerBall(int knockedDown, int standing, int& turnContinues)
{
    turnContinues = 0;
    TITLE_PlayerInfoStruct* p = CurrentPlayer();
    if (!p || p->gameFinished) return 1;
    if (!CanRecord(p)) return PrintError("poker: ball %d of frame %d cannot be recorded", p->currFrameBallIndex, p->currFrame);

    const int f = p->currFrame, b = p->currFrameBallIndex;
    const int cleared = standing == 0;
    p->lastBallResult = 0;
    turnContinues = b == 0;
    if (f < kLastFrame) {
        if (b == 0 && cleared) {
            turnContinues = 0;
            p->frameMark[f] = kMarkStrike;
            PokerStrike(p, StrikeFrame(p, f - 2) && StrikeFrame(p, f - 1));
        } else if (b == 1 && cleared) {
            PokerSpare(p, f);
        }
    } else {
        PokerTenth(p, b, cleared, turnContinues);
    }
    if (p->lastBallResult == 0) p->lastBallResult = knockedDown;

    RecordBall(p, knockedDown);
    if (!turnContinues) {
        p->currFrameBallIndex = 0;
        if (++p->currFrame > kLastFrame) p->gameFinished = 1;
    }
    UpdateMiniGameFrameTotals(p, pokerScoredAt[gCurrPlayer]);
    return 1;
}

int EndPokerBall()
{
    int knockedDown = 0, standing = 0, turnContinues = 0;
    StoreReplayPinVisible();
    ScoreBall(&knockedDown, &standing);
    ScorePokerBall(knockedDown, standing, turnContinues);
    PinsAfterBall(turnContinues, standing);
    if (!StartReplay(turnContinues)) return 0;
    if (!turnContinues && !SelectNextPlayer()) {
        gGameOver = 1;
        upperLayers.StartPokerOverlay();
    } else {
        // Between balls the score sheet, as in ten-pin: the next throw starts from it.
        upperLayers.ShowScoreOverlayAfterBall();
    }
    return 1;
}

int PokerWinners(int winners[kMaxPlayers], int* numWinners, int* winningHandVal, int hands[][kMaxHandCards])
{
    if (!winners || !numWinners || !winningHandVal) return 0;
    *numWinners = 0;
    *winningHandVal = 0;
    int best[kMaxHandCards] = {};
    for (int i = 0; i < NumPlayers(); ++i) {
        TITLE_PlayerInfoStruct& p = gPlayerInfo[i];
        int hand[kMaxHandCards];
        const int held = p.numCards < 0 ? 0 : p.numCards > kMaxHandCards ? kMaxHandCards : p.numCards;
        PokerHandEval(p.cards, held, hand, &p.handVal);
        if (hands)
            for (int k = 0; k < kMaxHandCards; ++k) hands[i][k] = hand[k];
        int better = *numWinners == 0 || p.handVal < *winningHandVal;
        const int tie = !better && p.handVal == *winningHandVal ? PokerHandTieEval(hand, best) : 2;
        if (tie == 1) better = 1;
        if (better) *numWinners = 0;
        if (better || tie == 0) {
            winners[(*numWinners)++] = i;
            *winningHandVal = p.handVal;
            if (better)
                for (int k = 0; k < kMaxHandCards; ++k) best[k] = hand[k];
        }
    }
    return *numWinners > 0;
}

int SetUpPokerDeck()
{
    for (TITLE_PlayerInfoStruct& p : gPlayerInfo) {
        p.numCards = 0;
        p.handVal = kHandHighCard;
    }
    return InitCardObjects(kCardsPerDeck) && InitDeck(1) && ShuffleDeck(kShufflePasses);
}

int DisposePokerDeck() { return DisposeCards(); }

int LoadCardPictures()
{
    if (!OpenResourceGroup(kCardPictureGroup)) return PrintError("poker: the card faces cannot be opened");
    for (int c = 0; c < kCardsPerDeck; ++c) {
        const int rsid = (kCardPictureGroup << 16) | c;
        if (!ResourceLoaded(rsid) && !ReadResource(rsid)) return PrintError("poker: card face %d cannot be loaded", c);
    }
    return 1;
}

int DisposeCardPictures() { return ResourceLoaded(kCardPictureGroup) ? CloseResourceGroup(kCardPictureGroup) : 1; }

// ---- Pin-selection practice ----

// The pins standing in play, bit n-1 for pin n.
static int UprightPins()
{
    int mask = 0;
    for (int k = kFirstPin; k <= kLastPin; ++k)
        if (pins[k].theActor && pins[k].upright) mask |= 1 << (k - 1);
    return mask;
}

int EndPinSelectBall()
{
    const int chosen = UprightPins();
    int knockedDown = 0;
    StoreReplayPinVisible();
    ScoreBall(&knockedDown, nullptr);
    if (gNumPracticeBalls < kMaxPracticeBalls)
        gPracticeBalls[gNumPracticeBalls++] = {gCurrPlayer, chosen, chosen & ~UprightPins()};
    // Every practice ball is replayed, as in the other games, but for a computer's skipped one.
    if (!gSkipAI && !StartReplay(0)) return 0;
    if (gPracticeBallLimit > 0 && gNumPracticeBalls >= gPracticeBallLimit) {
        // The game ends once no overlay is open. A computer bowls from the pin deck, which its
        // replay closes; a skipped ball has no replay, so the deck is closed here in any case.
        for (int i = 0; i < upperLayers.overlayStackDepth && upperLayers.OverlayExists(); ++i)
            if (!upperLayers.OverlayExit()) break;
        gGameOver = 1;
        return 1;
    }
    // Every bowler in turn; the practice has no frames.
    if (gNumPlayers > 1) SelectNextPlayer();
    upperLayers.StartDSPinSelectOverlay();
    return 1;
}
