// The developer test mode: tuning menus shown in an overlay during a game (testoverlay.h starts
// it). Nothing in a shipped game turns it on; the --test-mode option sets the switch for the
// games of a run. The game's set-up and tear-down go through these calls.
#pragma once

// 1 while the test-mode read-out is drawn.
extern int gDrawTestInfo;

// Resets the test-mode state in testOptions (a fresh definition to edit, the root menu, test mode
// active); the game camera becomes the free camera and controllers 0..3 lose their flag of value
// 2 while the menus own them. Always 1.
int InitTestMode();
// One frame of test-mode input: the d-pad walks and changes the current menu (LEFT and RIGHT
// repeat after 60 held frames), A selects, X goes back (and switches the read-out), the circle
// pad flies the free camera (turns it with Y held), A or R held walk the test character or the
// snapped actor, and the test character's animation plays on. The argument is not used. 0 when
// a line or the animation failed.
int TestModeControls(float rate);
// The read-out on the current screen: "TEST MODE", the free camera and the current menu's lines
// (the selected one set out), and the snapped test character. 0 when a line failed or the font
// is missing.
int DrawTestInfo();
// Gives controllers 0..3 their flag of value 2 back and forgets the test character and the
// snapped actor, which go with the game's actor pool. Always 1.
int DisposeTestMode();

// The root menu's actor snap switch: while on, letting go of R snaps to a character near the
// camera and the read-out shows the test character.
int TestActorSnapEnabled();
void SwitchTestActorSnap();
