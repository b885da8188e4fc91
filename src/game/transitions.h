// Screen transitions: the screen fades to black, a piece of work runs while it is covered
// (leaving the game for the menu, say), and the screen fades back. The game's logic step, the
// screen loop and the front end pump it; the game's scene and the front end draw it.
#pragma once

// A callback of a transition; 0 means "not yet" and the transition asks again next step.
typedef int (*TransitionFunction)();

// Steps of the fade each way (the opacity moves by a fixed amount per drawing step) and the
// logic steps a covered screen is held when there is no covered-callback.
constexpr float kTransitionFadeStep = 0.03f;
constexpr int kTransitionHoldSteps = 81;

// The type that fades through black; any other type runs the same timing undrawn.
constexpr int kTransitionFadeBlack = 1;

// Stores the start, covered and completion callbacks (each may be null). Always 1.
int SetTransitionCallbacks(TransitionFunction start, TransitionFunction wiped, TransitionFunction complete);
// Starts (non-zero) or stops a transition; a start during a running one returns it to covering
// from its present opacity, and the start callback runs again. The opacity is kept. Always 1.
int SetTransitionActive(int active);
// The type of the transition; set anew for every transition (the end resets it to 0). Always 1.
int SetTransitionType(int type);
// Starts a transition with these callbacks and type in one call. Always 1.
int StartTransition(TransitionFunction start, TransitionFunction wiped, TransitionFunction complete, int type);
// Non-zero while a transition runs.
int IsTransitionActive();
// The cover's opacity, 0 (clear) to 1 (covered).
float GetTransitionOpacity();
// One logic step: runs the callbacks (a callback that returns 0 is asked again next step), holds
// a covered screen, ends the transition once clear. Always 1.
int UpdateTransition();
// One drawing step: moves the fade and, for the black fade, draws the cover over the current
// drawing target. 1 and nothing drawn when no transition runs.
int DrawTransition();
