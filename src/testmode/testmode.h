// The developer test mode: tuning menus shown in an overlay during a game. Nothing in a shipped
// game turns it on; the game's set-up and tear-down still go through these calls.
#pragma once

// 1 while the test-mode read-out is drawn.
extern int gDrawTestInfo;

// Resets the test-mode state in testOptions and marks test mode active; the game camera becomes
// the free camera and controllers 0..3 lose their flag of value 2 while the menus own them.
// Always 1.
int InitTestMode();
// Gives controllers 0..3 their flag of value 2 back. Always 1.
int DisposeTestMode();
