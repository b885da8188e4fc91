// The end of a ball in the mini-games: the spares challenge (game type 9), bingo (10) and poker
// (11), and the pin-selection practice (2). Each replaces the ten-pin scoring of scoring.cpp,
// whose pin counting, pin handling and turn order they share; the overlays that show them stand
// above the game and are reached through shell/upperlayers.h.
#pragma once

struct TITLE_PlayerInfoStruct;

constexpr int kSparesRounds3Attempts = 10;  // rounds 0..9 allow three attempts
constexpr int kSparesAttempts = 3;
constexpr int kSparesRoundsPerGame = 19;   // rounds 10..18 allow one
constexpr int kSparesPointsFirst = 1000;

// The points a conversion on attempt 0..2 earns: 1000, 500, 250; 0 for any other attempt.
int SparesAttemptPoints(int attempt);

// The rules of each game without the pins: the current player's ball knocked down knockedDown
// pins and left `standing`. turnContinues becomes 1 when the same player throws again. Always 1.
// Spares: scores the attempt and ends the round or moves on to the next attempt; the player's
// game ends after round 18, or after round 9 when any of rounds 0..9 was missed.
int ScoreSparesBall(int knockedDown, int standing, int& turnContinues);
// Bingo: marks the frame, records the ball, starts the record again after the tenth frame, marks
// the card by this ball's pins and the frame scores; *bingo is 1 when a line is complete.
int ScoreBingoBall(int knockedDown, int standing, int& turnContinues, int* bingo);
// Poker: marks the frame and deals a card for a strike or a spare, one more for a third strike
// in a row, never beyond seven cards; the frame and the game end as in ten-pin.
int ScorePokerBall(int knockedDown, int standing, int& turnContinues);

// Whether the player's card holds a full row, column or diagonal.
int BingoLine(const TITLE_PlayerInfoStruct* p);

// The end of the ball that has just come to rest in each game: counts the pins, scores, passes
// the turn, shows the game's overlay and ends the game. Always 1.
int EndSparesBall();
int EndBingoBall();
int EndPokerBall();
int EndPinSelectBall();

// Poker's result: every player's hand ranked (handVal written), the winners' indexes into
// winners (room for 8, in player order), their count into *numWinners and their hand code into
// *winningHandVal. The best code wins; among equal codes the best cards; a full tie makes
// several winners. Each player's five cards into hands[player] when hands is given. 0 without
// players.
int PokerWinners(int winners[8], int* numWinners, int* winningHandVal, int hands[][7]);

// A poker game's fresh deck, shuffled, and empty hands; the deck freed at the end. 1/0.
int SetUpPokerDeck();
int DisposePokerDeck();
// The card faces the screens show, read for the length of a poker game and closed after it. 1/0.
int LoadCardPictures();
int DisposeCardPictures();

// The pin-selection practice: the balls bowled and, for each, the pins chosen and those knocked
// down (bit n-1 for pin n). A practice of computer bowlers ends after gPracticeBallLimit balls
// (0: no end; people leave it through the pause menu).
constexpr int kMaxPracticeBalls = 80;
struct PracticeBall {
    int player;
    int chosen;
    int knocked;
};
extern PracticeBall gPracticeBalls[kMaxPracticeBalls];
extern int gNumPracticeBalls;
extern int gPracticeBallLimit;
// Forgets the practice balls and the frame-total caches of bingo and poker. Called by every
// game's set-up.
void ResetMiniGames();
