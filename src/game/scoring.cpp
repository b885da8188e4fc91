// Scoring each ball by the game type's rules and passing the turn. The score overlay and the front
// end's results stand above the game and are reached through the record of upward calls
// (shell/upperlayers.h).
#include "game/scoring.h"

#include "game/actors.h"
#include "game/computer.h"
#include "game/gameloop.h"
#include "game/minigames.h"
#include "game/physics.h"
#include "game/pins.h"
#include "game/records.h"
#include "game/replay.h"
#include "lib/printing.h"
#include "shell/settings.h"
#include "shell/upperlayers.h"

static const int kNoScore = -1;
static_assert(kLastFrame == kFramesPerGame - 1, "the last frame is the tenth");

static const int kShotClockMs = 30000;

// Per player, the ballsThrown for which the frame totals were last worked out.
static int framesScoredAt[kMaxPlayers];

void ResetScoring()
{
    for (int& n : framesScoredAt) n = -1;
}

static int NumPlayers()
{
    if (gNumPlayers < 1) return 1;
    return gNumPlayers > kMaxPlayers ? kMaxPlayers : gNumPlayers;
}

static TITLE_PlayerInfoStruct* CurrentPlayer()
{
    if (gCurrPlayer < 0 || gCurrPlayer >= kMaxPlayers) {
        PrintError("scoring: no player %d", gCurrPlayer);
        return nullptr;
    }
    return &gPlayerInfo[gCurrPlayer];
}

static int IsStrikeFrame(const TITLE_PlayerInfoStruct* p, int f) { return p->frameMark[f] == kMarkStrike; }

// Whether frames first..last (inclusive) are all strikes; an empty or negative range is not.
static int StrikesIn(const TITLE_PlayerInfoStruct* p, int first, int last)
{
    if (first < 0 || last < first) return 0;
    for (int f = first; f <= last; ++f)
        if (!IsStrikeFrame(p, f)) return 0;
    return 1;
}

static void StrikeResult(TITLE_PlayerInfoStruct* p)
{
    p->lastBallResult = kResultStrike;
    p->strikesInRow++;
}

static void SpareResult(TITLE_PlayerInfoStruct* p, int f)
{
    p->frameMark[f] = kMarkSpare;
    p->lastBallResult = kResultSpare;
    p->strikesInRow = 0;
}

// An open ball; a second strike in the tenth frame passes through here with its result set to
// a strike already, and so counts in the strikes in a row.
static void OpenResult(TITLE_PlayerInfoStruct* p, int knockedDown)
{
    if (p->lastBallResult == 0) p->lastBallResult = knockedDown;
    if (p->lastBallResult == kResultStrike)
        p->strikesInRow++;
    else
        p->strikesInRow = 0;
}

static int BallAt(const TITLE_PlayerInfoStruct* p, int i) { return i < kBallScores ? p->ballScore[i] : kNoScore; }

// The frame scores and running totals from the balls thrown. A frame whose bonus balls are not
// thrown yet is unknown (-1), and so is every frame after it. In the mini-games' tenth frame a
// spare is worth a flat 10 at once and nothing else is scored: the card or the hand is what
// counts there, and the record starts again after it.
static void FrameTotals(TITLE_PlayerInfoStruct* p, int& scoredAt, int miniGameTenth)
{
    if (scoredAt == p->ballsThrown) return;
    scoredAt = p->ballsThrown;

    p->totalScore = 0;
    const int lastFrame = p->currFrame < kLastFrame ? p->currFrame : kLastFrame;
    int i = 0;
    int f = 0;
    for (; f <= lastFrame; ++f) {
        const int a = BallAt(p, i), b = BallAt(p, i + 1);
        if (a == kNoScore || b == kNoScore) break;
        int score;
        if (miniGameTenth && f == kLastFrame) {
            if (a == kAllPins || a + b != kAllPins) break;
            score = kAllPins;
        } else if (a == kAllPins) {
            const int c = BallAt(p, i + 2);
            if (c == kNoScore) break;
            score = kAllPins + b + c;
            i += 1;
        } else if (a + b == kAllPins) {
            const int c = BallAt(p, i + 2);
            if (c == kNoScore) break;
            score = kAllPins + c;
            i += f == kLastFrame ? 3 : 2;
        } else {
            score = a + b;
            i += 2;
        }
        p->frameScore[f] = score;
        p->totalScore += score;
        p->totalScoreInFrame[f] = p->totalScore;
    }
    for (; f < kFramesPerGame; ++f) {
        p->frameScore[f] = kNoScore;
        p->totalScoreInFrame[f] = kNoScore;
    }
}

static void UpdateFrameTotals(TITLE_PlayerInfoStruct* p, int player) { FrameTotals(p, framesScoredAt[player], 0); }

void UpdateMiniGameFrameTotals(TITLE_PlayerInfoStruct* p, int& scoredAt) { FrameTotals(p, scoredAt, 1); }

int ScoreBall(int* knockedDown, int* standing)
{
    int down = 0, up = 0;
    for (int k = kFirstPin; k <= kLastPin; ++k) {
        RigidBody_tag& pin = pins[k];
        if (!pin.upright || !pin.theActor) continue;
        if (PinKnockedDown(k)) {
            pin.upright = 0;
            down++;
        } else {
            up++;
        }
    }
    if (knockedDown) *knockedDown = down;
    if (standing) *standing = up;
    return 1;
}

void RackPins()
{
    for (int k = kFirstPin; k <= kLastPin; ++k)
        if (pins[k].theActor) ResetPinActor(k);
}

// Between two balls of a frame: the pins knocked down leave the lane, those standing are squared
// up on their spots; a cleared deck gets a fresh rack.
static void PinsForNextBall(int standing)
{
    if (standing == 0) {
        RackPins();
        return;
    }
    for (int k = kFirstPin; k <= kLastPin; ++k) {
        if (!pins[k].theActor) continue;
        if (pins[k].upright)
            ResetPinActor(k);
        else
            ParkPin(k);
    }
}

int ScoreNormalBall(int knockedDown, int standing, int& turnContinues)
{
    turnContinues = 0;
    TITLE_PlayerInfoStruct* p = CurrentPlayer();
    if (!p || p->gameFinished) return 1;

    const int f = p->currFrame < kLastFrame ? (p->currFrame < 0 ? 0 : p->currFrame) : kLastFrame;
    const int b = p->currFrameBallIndex;
    // A record past the last ball of a frame would write outside the frame; the frame is over.
    if (b < 0 || b >= kBallsPerFrame || p->ballsThrown < 0 || p->ballsThrown >= kBallScores) {
        PrintError("scoring: ball %d of frame %d after %d balls cannot be recorded", b, f, p->ballsThrown);
        return 1;
    }

    p->lastBallResult = 0;
    turnContinues = b == 0;
    const int cleared = standing == 0;

    if (f < kLastFrame) {
        if (b == 0 && cleared) {
            if (f >= 2 && StrikesIn(p, f - 2, f - 1)) p->turkey = 1;
            if (f >= 5 && StrikesIn(p, f - 5, f - 1)) p->sixBagger = 1;
            p->frameMark[f] = kMarkStrike;
            turnContinues = 0;
            StrikeResult(p);
        } else if (b == 1 && cleared) {
            SpareResult(p, f);
        } else {
            OpenResult(p, knockedDown);
        }
    } else if (b == 0) {
        if (cleared) {
            if (StrikesIn(p, 7, 8)) p->turkey = 1;
            if (StrikesIn(p, 4, 8)) p->sixBagger = 1;
            p->frameMark[f] = kMarkStrike;
            StrikeResult(p);
        } else {
            OpenResult(p, knockedDown);
        }
    } else if (b == 1) {
        const int firstWasStrike = p->framePinCount[f][0] == kAllPins;
        turnContinues = 0;
        if (cleared) {
            turnContinues = 1;
            if (!firstWasStrike) {
                SpareResult(p, f);
            } else {
                p->lastBallResult = kResultStrike;
                OpenResult(p, knockedDown);
            }
        } else {
            turnContinues = firstWasStrike;
            OpenResult(p, knockedDown);
        }
    } else {
        const int secondWasStrike = p->framePinCount[f][1] == kAllPins;
        if (!cleared) {
            OpenResult(p, knockedDown);
        } else if (p->frameMark[f] == kMarkSpare) {
            StrikeResult(p);  // a fresh rack after the spare of the second ball
        } else if (!secondWasStrike) {
            SpareResult(p, f);  // strike, pins left, then cleared
        } else {
            p->turkey = 1;  // three strikes in the tenth
            if (StrikesIn(p, 6, 8)) p->sixBagger = 1;
            StrikeResult(p);
        }
    }

    p->ballScore[p->ballsThrown] = knockedDown;
    p->ballsThrown++;
    p->framePinCount[f][b] = knockedDown;
    p->currFrameBallIndex++;

    if (!turnContinues) {
        p->currFrameBallIndex = 0;
        p->currFrame++;
        if (p->currFrame > kLastFrame) p->gameFinished = 1;
    }
    UpdateFrameTotals(p, gCurrPlayer);
    return 1;
}

void PinsAfterBall(int turnContinues, int standing)
{
    if (turnContinues)
        PinsForNextBall(standing);
    else
        RackPins();
}

int ScoreNormalGame(int& turnContinues)
{
    turnContinues = 0;
    const TITLE_PlayerInfoStruct* p = CurrentPlayer();
    if (!p || p->gameFinished) return 1;

    int knockedDown = 0, standing = 0;
    ScoreBall(&knockedDown, &standing);
    ScoreNormalBall(knockedDown, standing, turnContinues);
    PinsAfterBall(turnContinues, standing);
    return 1;
}

static void ShowBowler(int player, int visible)
{
    if (actor_tag* bowler = gPlayerInfo[player].theActor) bowler->visible = u8(visible);
}

int SelectNextPlayer()
{
    const int n = NumPlayers();
    if (gCurrPlayer < 0 || gCurrPlayer >= n) gCurrPlayer = 0;

    ShowBowler(gCurrPlayer, 0);
    for (int tries = 0; tries < n; ++tries) {
        gCurrPlayer = (gCurrPlayer + 1) % n;
        if (!gPlayerInfo[gCurrPlayer].gameFinished) break;
    }
    ShowBowler(gCurrPlayer, 1);

    int allFinished = 1;
    for (int p = 0; p < n; ++p)
        if (!gPlayerInfo[p].gameFinished) allFinished = 0;
    if (allFinished) return 0;

    RackPins();
    // Player 0's bumpers are the game's bumper switch.
    if (physics && (physics->m_bumperLeftBody || physics->m_bumperRightBody))
        physics->SetBumpersRaised(gPlayerInfo[0].bumpers != 0);
    return 1;
}

static int EndStandardBall()
{
    int turnContinues = 0;
    StoreReplayPinVisible();
    ScoreNormalGame(turnContinues);
    // No replay while a computer's turn is being skipped or an online shot clock ran out.
    if (!gSkipAI && !(gOnlineSessionActive && gShotClock <= 0) && !StartReplay(turnContinues)) return 0;
    if (!turnContinues && !SelectNextPlayer()) {
        gGameOver = 1;
        upperLayers.ShowScoreOverlayAfterBall();
        // The results the front end folds into the player's standings.
        upperLayers.ZeroPlayerResults();
        upperLayers.SetPlayersResults();
    } else {
        upperLayers.ShowScoreOverlayAfterBall();
    }
    if (gOnlineSessionActive) gShotClock = kShotClockMs;
    return 1;
}

static int EndAttractBall()
{
    int turnContinues = 0;
    StoreReplayPinVisible();
    ScoreNormalGame(turnContinues);
    if (!StartReplay(turnContinues)) return 0;
    // Only player 0 bowls the attract game, for its first four frames.
    if (!turnContinues && gPlayerInfo[0].currFrame > kAttractLastFrame) {
        gGameOver = 1;
        StartAttractGameEnd();
    } else {
        upperLayers.ShowScoreOverlayAfterBall();
    }
    return 1;
}

int UpdateFrameLogic()
{
    if (gGameOver) return 1;
    switch (gGameType) {
    case 0: case 1: case 3: case 6:
        return EndStandardBall();
    case kGameAttract:
        return EndAttractBall();
    case kGamePinSelect:
        return EndPinSelectBall();
    case kGameSpares:
        return EndSparesBall();
    case kGameBingo:
        return EndBingoBall();
    case kGamePoker:
        return EndPokerBall();
    default:
        // Types 4, 5 and 7 have no end-of-ball rules.
        return 1;
    }
}
