// The stack of in-game overlays on the lower screen: panels made of five handlers (open, draw,
// update, input, close). Only the top overlay is opened, updated, given input and drawn; the ones
// below wait until it is taken off. The game loop pumps the update, the game controls the input
// and the scene drawing the draw.
#pragma once

#include "shell/overlaytag.h"

struct joystickState;

constexpr int kOverlayStackDepth = 5;
// Input calls after a push that never reach the new overlay, whatever they hold (the buttons held
// from before it came up are kept from it longer: see OverlayInput).
constexpr int kOverlayInputsDropped = 3;

// Pushes a copy of *overlay; the new top is opened on the next OverlayUpdate. With null it only
// marks the current top to be opened again. 1 when the overlay was pushed (or, with null, the
// top was marked); 0 when the stack is full or the top is permanent, and nothing was pushed.
int OverlaySelect(const OVERLAYTAG* overlay);
// Closes and pops the top overlay, uncovering the one below without opening it again. 1 when it
// was removed; 0 when there was none or its close handler refused.
int OverlayExit();
// Opens the top overlay if it is new, then runs its update handler. 0 when either returned 0.
int OverlayUpdate();
// Runs the top overlay's input handler, except for the first calls after a push. 0 when the
// handler returned 0.
int OverlayHandleInput();
// The input an overlay answers: the controller state given (the merged input by default) less
// every button that was already held when the top overlay took the lower screen over (was pushed
// or uncovered), until that button is let go; its release is not the overlay's either. So an
// overlay opened by a press waits for a new press. The circle pad passes as it is. The stylus is
// held back the same way, by the touch buttons (TouchButtonsIgnoreCurrentTouch).
joystickState OverlayInput();
joystickState OverlayInputOf(const joystickState& state);
// Runs the top overlay's draw handler once it has been opened. 0 when it returned 0.
int OverlayDraw();
// 1 when an overlay with a draw handler is current.
int OverlayExists();
// Copies the top slot's five handlers (not `permanent`) into *out, the empty slot 0 when the
// stack is empty, and makes that slot current. 0 when out is null.
int OverlayGetHandlers(OVERLAYTAG* out);
// Closes every overlay, top first (leaving a game). 0 when a close handler refused: that overlay
// and those below it stay.
int OverlayExitAll();
// Overlays on the stack, 0..kOverlayStackDepth.
int OverlayStackSize();
// Empties the stack without running any close handler (start-up and tests), and clears the
// controllers' marks that the overlays set.
void OverlayResetStack();
