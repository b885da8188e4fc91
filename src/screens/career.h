// The careers: setting up a league, tournament or rival game for the career bowler, and folding
// the game just played into the event's standings (the rest of a league week and of a knock-out
// round simulated, the season or event closed with prizes and unlocks). All of it works on the
// career slot's records of the "save" database and the definitions of the "game" database.
#pragma once

#include "db/database.h"

struct sBasicUiWidget;

// ---- Event set-up (script functions) ----
int SetupLeague(sBasicUiWidget* caller, int);
int SetupTournament(sBasicUiWidget* caller, int);
int SetupRival(sBasicUiWidget* caller, int rival);
int SetupRivalImmediate(sBasicUiWidget* caller, int rival);
int SetupEvents(sBasicUiWidget* caller, int);
// Starts (or rejoins) league e or tournament e for the career slot once the player has picked it
// on its selection screen: asks to give up another entered event, charges the fee and sets the
// record up. 1 when the event is the career's current one afterwards. A confirmation whose
// dialog the description lacks asks nothing; too little money always refuses.
int EnterLeague(sBasicUiWidget* caller, int e);
int EnterTournament(sBasicUiWidget* caller, int e);

// ---- What the lists and the hub show (careerhub.cpp) ----
// Rows of "sCareerStrings": the formats of an event's details, the three composed detail lines
// shown on a list's upper screen, and the entry question composed with its fee.
enum {
    kCareerAskGiveUpRow = 14, kCareerAskFeeRow = 16, kCareerFeeRow = 25, kCareerPrizesRow = 26, kCareerKindRow = 27,
    kCareerWeeksRow = 28, kCareerPrizeRow = 29, kCareerNoFeeRow = 30, kCareerDetailRow = 31, kCareerAskFeeOfRow = 34,
    kCareerAskGiveUpOfRow = 37
};
// The event (0-19) shown under the slot frame selected on list `list` ("s20", "s22", "s26"); -1
// when the selection is on no slot frame.
int EventUnderSelection(sBasicUiWidget* caller, const char* list);
// Composes the fee, prizes and kind (weeks for a league) of the event under the selection of list
// 0 (leagues), 1 (tournaments) or 2 (rivals) into the detail lines; blank when there is none.
int ShowEventDetails(sBasicUiWidget* caller, int list);
// The same for event e of list `list`, whatever the selection shows.
void ShowDetailsOfEvent(sBasicUiWidget* caller, int list, int e);
// Writes the questions about entering event `name` for `fee` into the rows their dialogs show: the
// entry question with the fee, and the question to give up another event, which names this one
// and its fee (agreeing to it enters without the entry question).
void ComposeEntryQuestions(sBasicUiWidget* caller, const char* name, int fee);
// The hub's standings entries: the current league's table or tournament's tree, ladder or score
// table; a dialog says so when the career has entered none.
int OpenLeagueTable(sBasicUiWidget* caller, int);
int OpenTournamentStandings(sBasicUiWidget* caller, int);
// Places the standings widget of tournament e's kind on the career's current round or rung and
// returns the sequence that shows its page; nullptr when the tables are missing.
const char* PlaceTournamentStandings(sBasicUiWidget* caller, int e);

// ---- Small career checks ----
int CareerInProgressCheck(sBasicUiWidget* caller, int slot);
int CheckRival(sBasicUiWidget* caller, int rival);
int ResetCareer(sBasicUiWidget* caller, int slot);

// ---- Standings (script functions; each returns 0 unless the last game was of its kind) ----
int UpdateLeagueStandings(sBasicUiWidget* caller, int);
int UpdateRivalStandings(sBasicUiWidget* caller, int);
int UpdateTreeStandings(sBasicUiWidget* caller, int);
int UpdateLadderStandings(sBasicUiWidget* caller, int);
int UpdateHighScoreStandings(sBasicUiWidget* caller, int);
// Folds the last game into the standings of its kind by lastGameType (league, tree, ladder, high
// score, rival); 0 for another kind of game.
int FoldInCareerGame(sBasicUiWidget* caller);

// Simulates week w of the league of record row r: every pairing but the player's team's (which
// scores a and b) gets two computer scores; wins, losses, pins and averages follow and the team
// order is sorted by wins, then pins. Pairings naming no team are passed over. Returns the
// player's position in the order (m when absent), -1 when the counts are unusable.
int SimulateLeagueWeek(sBasicDbTable* record, int r, sBasicDbTable* def, int e, int w, int playerScore,
                       int opponentScore);

// ---- Shared by the standings ----
// The sum of the first results of slots first..first+count-1 of the last game.
int TeamResult(int first, int count);
// Breaks the main screen's start sequence and runs `sequence` in its place (when both exist).
void CareerStartScreen(sBasicUiWidget* caller, const char* sequence);
// Shows text in the results dialog "sFgdialog0" (row 3 of "sFgStrings" holds it), one answer.
void CareerShowResult(sBasicUiWidget* caller, const char* text);
// The format of row `row` of "sFgStrings" with its "%s" replaced by text and "%d" by number (""
// when the row is missing).
void CareerFormat(sBasicUiWidget* caller, int row, const char* text, int number, char* out, int size);
// Writes the save database as the save file.
void CareerSave(sBasicUiWidget* caller);
// A computer score: average - spread + a random 0..2 x spread.
int ComputerScore(int average, int spread);
