// The score overlay: the lower screen's score sheet between shots. One player's ten frames in
// large, the other players of the page in a small row each, and the prompts for what comes next.
// A person leaves it for the shot set-up, a computer bowler is played (or skipped) from it, and
// at the end of the game it offers another game or the way back to the main menu.
#pragma once

struct TITLE_PlayerInfoStruct;

// Pushes the overlay, or when it is open already shows the current player and, for a person
// whose game goes on, adds the set-up button. 0 when the push or that button fails.
int StartDSScoreOverlay();
int DSScoreOverlayActive();
int DSScoreOpenHandler();
int DSScoreDrawHandler();
int DSScoreUpdateHandler();
int DSScoreInputHandler();
int DSScoreCloseHandler();

// The way back to the main menu at the end of a game: the game goes on (unpaused) under a fade
// that stops the ambience, then the music, clears the players and the overlays and leaves the
// game; every overlay comes off at once. The mini-games' final overlays leave by it too.
int StartReturnToMainMenu();

// Answers of the end-of-game questions.
int OnConfirmPlayAgain(int yes);
int OnConfirmQuit(int answer);

// At the end of a ball: the shot set-up overlays still up above the sheet are closed, then the
// sheet is shown for the player whose turn it is now.
int ShowScoreOverlayAfterBall();

// What the sheet shows for one ball.
enum { kSheetBlank = 0, kSheetCount = 1, kSheetStrike = 2, kSheetSpare = 3 };
struct ScoreSheetMark {
    int kind;
    int count;  // for kSheetCount
};
// The marks of frame 0..9 of a player, one per ball column (the tenth frame has three). 0 for a
// bad frame or player.
int ScoreSheetFrameMarks(const TITLE_PlayerInfoStruct* p, int frame, ScoreSheetMark marks[3]);
// The running totals the sheet shows under the frames, -1 where a frame shows none.
int ScoreSheetRunningTotals(const TITLE_PlayerInfoStruct* p, int totals[10]);
// Players on one page of the sheet for the current game type and number of players.
int ScoreSheetPlayersPerPage();
// The sheet's horizontal scroll for a player in frame currFrame.
float ScoreSheetScrollForFrame(int currFrame);
// The sheet's horizontal scroll now, 0 .. 0.3 of its width.
float ScoreSheetScroll();
// The player the sheet shows large.
int ScoreSheetShownPlayer();
