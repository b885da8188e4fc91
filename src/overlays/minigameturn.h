// What the mini-games' overlays share: whose turn it is (a person or the computer), whether a
// person plays at all, the hold before an overlay that nobody answers goes on by itself, and the
// way from an overlay to the next throw.
#pragma once

// How long an overlay waits before it goes on by itself for the computer, in frames.
constexpr int kComputerHoldFrames = 30;
// How long a game's last overlay stays when no person plays.
constexpr int kGameOverHoldFrames = 90;

// Whether player 0..7 is bowled by the computer.
int MiniGameIsComputer(int player);
// Whether any bowler of the game is a person.
int MiniGameAnyPerson();
// A new press of the button alone on the overlay's input (OverlayInput).
int MiniGamePressed(unsigned button);
// Clears the overlays left from the last throw (the shot steps, a pause menu), so that the end of
// a ball's overlay stands alone. 1.
int MiniGameClearOverlays();
// The next throw: a person sets it up through the shot steps of the control mode; the computer
// throws from the game's own controls once no overlay is left. 1/0.
int MiniGameNextThrow();
