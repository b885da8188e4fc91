// The trophy case: counts of equipment unlocked and of leagues, tournaments and rivals won, and
// the watch on the career bowler's achievements that tells which kind grew last.
#pragma once

struct sBasicUiWidget;

// Recomputes every bowler's reputation, then writes the trophy texts ("count/total") of every
// "players" row: columns 41 (clothes), 42 (shoes, hats, glasses), 43 (gloves, balls), 38
// (leagues won), 39 (tournaments won), 40 (rivals beaten). 1.
int UpdateTrophies(sBasicUiWidget* caller, int value);

// The kinds of achievement watched, one bit mask each.
enum {
    kTrophyPants, kTrophyShirts, kTrophyShoes, kTrophyHats, kTrophyGlasses, kTrophyGloves, kTrophyBalls,
    kTrophyLeaguesWon, kTrophyLeaguePodiums, kTrophyTournamentsWon, kTrophyTournamentPodiums, kTrophyRivalsBeaten,
    kTrophyKinds
};
// Reads the career bowler's achievements and returns the first kind that gained one since the
// last call, or -1; reset clears what was remembered first.
int MainMenuTrophiesCheck(int reset);
