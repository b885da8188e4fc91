// End of ball: the pins counted, the ball scored by the rules of the game type, the pins cleared
// or re-racked for the next ball, the turn passed to the next player and the end of the game.
//
// Standard ten-pin games (types 0, 1, 3, 6) and the attract game (8) are scored here; the
// pin-selection practice (2), the spares challenge, bingo and poker (9, 10, 11) have their rules
// in minigames.cpp, which this module's dispatch calls.
#pragma once

// Game types.
enum {
    kGameStandard = 0,
    kGamePinSelect = 2,
    kGameAttract = 8,
    kGameSpares = 9,
    kGameBingo = 10,
    kGamePoker = 11,
};

// The attract game ends once player 0's frame passes this one.
constexpr int kAttractLastFrame = 3;

// A rack's pins, and the last frame of a game (counted from 0).
constexpr int kAllPins = 10;
constexpr int kLastFrame = 9;
// A player's lastBallResult beyond a pin count.
constexpr int kResultSpare = 10;
constexpr int kResultStrike = 11;
// frameMark values (0 is an open frame).
constexpr int kMarkSpare = 1;
constexpr int kMarkStrike = 2;

// The end of the ball that has just come to rest, by game type. Does nothing once the game is
// over, so that no ball thrown after the end changes a finished score. Always 1.
int UpdateFrameLogic();
// Counts the pins of this ball: every pin still upright that is down now is counted in
// *knockedDown and stops being upright; every other upright pin is counted in *standing. Pins
// down before this ball count in neither. Either output may be null. Always 1.
int ScoreBall(int* knockedDown, int* standing);
// Standard scoring of the current player's ball: counts the pins (ScoreBall), records the ball,
// clears or re-racks the pins and works out the frame totals. turnContinues becomes 1 when the
// same player throws again in this frame. Always 1.
int ScoreNormalGame(int& turnContinues);
// The rules of ScoreNormalGame without the pins: records a ball that knocked down knockedDown
// pins and left `standing` standing for the current player, and works out the frame totals.
// Always 1.
int ScoreNormalBall(int knockedDown, int standing, int& turnContinues);
// Passes the turn to the next player who has not finished. 0 when every player has finished
// (the game is over), else 1.
int SelectNextPlayer();
// The ten pins back on their spots.
void RackPins();
// The pins after a scored ball: while the turn continues the pins down leave the lane and those
// standing are squared up (a cleared deck is racked afresh); otherwise all ten are racked.
void PinsAfterBall(int turnContinues, int standing);
// The frame totals of bingo and poker, worked out again only when scoredAt (the caller's cache)
// differs from the balls thrown: as in ten-pin, but a tenth-frame spare is a flat 10 and nothing
// else of the tenth frame is scored.
struct TITLE_PlayerInfoStruct;
void UpdateMiniGameFrameTotals(TITLE_PlayerInfoStruct* p, int& scoredAt);
// Forgets the frame totals worked out in an earlier game. Called by every game's set-up.
void ResetScoring();
