// The set-up screens' player slots: up to four a kind of game, each naming a bowler (a "players"
// row) and a controller (counted from 1; 0 none, which in quick play and the careers means the
// computer bowls). Stepping a slot through the bowlers, guarding the removal of a custom bowler,
// and keeping the controller numbers on controllers that are there.
#pragma once

// Custom bowlers are "players" rows 1 to 10; the built-in ones start at 11.
constexpr int kFirstCustomBowler = 1;
constexpr int kLastCustomBowler = 10;
constexpr int kFirstBuiltInBowler = 11;

// The last selectable built-in bowler: 18, and one more for each rival milestone a custom bowler
// has beaten (up to 24).
int GetPlayersMax();
// Repairs four controller numbers: each that names a controller no longer there moves to the
// first one that is, after the player confirms (at once with dontAsk). Needs a present controller;
// asking also needs the dialogs "sFgdialog1" and "sFgdialog2" and the "ui" texts "s19Strings".
int CheckPlayerControllers(int* c1, int* c2, int* c3, int* c4, int dontAsk);
// Forgets that the first assignment since start-up has been made, and which game's controllers
// the controller page shows (a new run, a test).
void ResetControllerAssignment();
