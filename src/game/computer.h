// Computer bowlers. A player whose controller assignment is the computer is bowled here: each
// frame UpdateAIBowler picks a shot for the pins standing, walks the approach and lets the ball go
// at the release frame of the throw; from there the ball rolls under physics like anyone's. The
// same shot calculation gives a person the suggested line for a spare. A skipped frame takes a
// result drawn from the bowler's average instead of being bowled.
//
// Shot lines are worked out in lane fractions: 0 one edge of the lane, 1 the other, 41 boards
// across (82 world units). Pins are numbered 1 to 10; a standing mask has pin k at bit 15 - k.
#pragma once

struct ShotParams_tag;
struct TITLE_PlayerInfoStruct;

// Set while a computer's frame is being skipped; the end of ball shows no replay meanwhile.
extern int gSkipAI;

// One frame of computer bowler p, by the control state: choose the shot and start the approach,
// wait, swing, and release the ball at the release frame. Does nothing once the game is over or
// when p is not the player whose turn it is. Always 1.
int UpdateAIBowler(TITLE_PlayerInfoStruct* p);

// The shot for the current player and the pins now standing: speed, heading and spin, with the
// ball and the bowler placed on the approach for it. The oil pattern is not used; a computer
// always bowls on the same oil. A person gets the shot of a good bowler. Always 1.
int AICalculateShot(int oilPattern, ShotParams_tag& shot);

// The current player's power (0.1..1) and minimum hook (0..1); a person counts as 0.9 and 0.
float GetMaxPower();
float GetMinHook();

// Whether computer bowler p's frame may be skipped now: it is p's turn and the game goes on, it is
// not the spares challenge, no skip is under way, p is on the first ball of its frame and that
// ball has not left the hand. Every screen a computer bowls from skips by this rule.
int AISkipOffered(const TITLE_PlayerInfoStruct* p);

// Finishes computer bowler p's frame at once with results drawn from its average: the pins are
// knocked down by hand and each ball scored. Does nothing once the game is over, during another
// skip or when p is not the player whose turn it is. Always 1.
int SkipAIBowler(TITLE_PlayerInfoStruct* p);

// A frame result for p's average: pins of the first ball and of the second. A first ball of 10 is
// a strike (second 0). 0 for a null player or output.
int GetAIBowlerFrameScore(TITLE_PlayerInfoStruct* p, int* first, int* second);
