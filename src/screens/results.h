// The results of the last game as the front end takes them back: four values a player (the score
// of a standard or career game, or 1 for the winner of bingo and poker; -1 = no result) and the
// first player's pins of every ball of every frame; and the career bowler's lifetime statistics
// and every bowler's reputation, folded from them into the "save" database.
#pragma once

constexpr int kResultSlots = 4;
extern int gPlayerResults[8][kResultSlots];
// Pins of each ball of each frame of player slot 0; -1 for a ball not thrown.
extern int gScoreCardPinCount[10][3];

// Before a launch: every result -1 (none), the score card 0, the game's bowler models freed and
// no players.
void ClrPlayerResults();
// Clears every result and the first player's score card to 0.
void ZeroPlayerResults();
// At the end of a standard game: each player's total score in slot 0 (the other slots 0), and
// player 0's pins of every ball on the score card.
void SetPlayersResults();
// Stores value in slot 0..3 of player 0..7; anything else is ignored.
void SetPlayerResults(int player, int slot, int value);
// Copies four values into the results of player 0..7; anything else is ignored.
void SetPlayerResults(int player, const int* values);
// 1 when the last game has no result: no players, or every player's slot 0 is -1 (the game was
// left from the pause menu).
int PlayerQuitGame();

// Folds the last game into the career bowler's statistics ("players" columns 30-37 and 44):
// games, wins (a team game won or tied), pins, spares, strikes, turkeys, average, high game and
// perfect games. The results of one game are folded once: a repeated call changes nothing until
// the next game's results arrive. 1 when it folded.
int UpdateStats(bool teamGame);
// The same for the bowler of "players" row `row` (the career bowler's is UpdateStats).
int UpdateStatsOfBowler(int row, bool teamGame);
// 1 once the current results have been folded into the statistics.
int ResultsFolded();
// Records the current results as folded without changing any statistics (a game whose results
// are no pins, such as a rival's mini-game).
void MarkResultsFolded();
// The "players" row of the person who bowled in slot 0 of the last quick game, -1 when slot 0 was
// the computer's or the last game was of another kind. Set by the launchers.
extern int gQuickPlayBowlerRow;
// After a quick game: its first bowler's game is folded into that bowler's statistics, as a career
// game is into the career bowler's. 1 when it folded (0 for another kind of game, a game left from
// the pause menu, or results already folded).
int UpdateQuickPlayStats();
// Recomputes every bowler's reputation ("players" column 9) from the events won and the equipment
// worn. 1 when the tables were there.
int UpdateReputation();

// The marks one frame adds to the statistics, from its balls (-1 = not thrown); previous1 and
// previous2 are the first balls of the two frames before (-1 when none), lastFrame the tenth.
struct FrameMarks {
    int spares, strikes, turkeys;
};
FrameMarks CountFrameMarks(const int balls[3], int previous1, int previous2, int lastFrame);

// A place as the standings print it: "1st", "2nd", "3rd", "4th" ... "11th", "12th", "13th",
// "21st", "22nd", "23rd". Always terminated; 1 unless out is null or too small.
int FormatPlace(int place, char* out, int size);
