// What the three tournament standings share: the career's tournament, its definition and the
// tables they change, the computer teams' scores and the podium that closes an event.
#pragma once

#include "db/database.h"

struct sBasicUiWidget;

// "tournament" record columns and "Tournaments" definition columns.
enum {
    kTnCurrent = 1, kTnStates = 11, kTnOrder = 13, kTnPosition = 14, kTnRound = 15, kTnFirstRound = 17, kTnGames = 23,
    kTnPins = 25, kTnAverage = 26,
};
enum { kTdTeamSize = 4, kTdTeams = 5, kTdGames = 8, kTdBracket = 9, kTdPrize1 = 14, kTdAverage = 17, kTdSpread = 18 };

struct CareerTournament {
    sBasicUiWidget* caller;
    sBasicDbTable *record, *def, *players;
    int r, e, t, m;
};

// Finds the career's current tournament; 0 (with a message) when a table is missing or the
// record names no tournament or unusable counts.
int FindCareerTournament(sBasicUiWidget* caller, CareerTournament* out);
// One computer team's score in a game: the sum of its bowlers' scores.
int TournamentComputerScore(const CareerTournament& c);
// Closes the event: place 0, 1, 2 is first, second, third (mark kept when better, prize, unlocks,
// the podium text); any other shows the "no place" text of row noPlaceRow of "sFgStrings".
void TournamentPodium(const CareerTournament& c, int place, int noPlaceRow);
// The high-score part shared with the ladder's qualifying: each team short of the event's games
// bowls one more (the player's team scoring playerScore), then the order is sorted by pins.
// Returns 1 when every team has bowled all its games.
int BowlHighScoreGame(const CareerTournament& c, int playerScore);
