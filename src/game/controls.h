// Game controls: which players the computer bowls for, and the control state of the throw.
#pragma once

#include <cstdint>

// Control states, in the order a throw passes through them.
enum { kControlPosition = 0, kControlAngle = 1, kControlPower = 2, kControlThrowing = 3, kControlReleased = 4 };
// A player's controller assignment: the computer bowls for this player.
constexpr int kAssignmentComputer = 1;

// Per player: kAssignmentComputer for a computer bowler, anything else a person.
extern int gameControllerAssignments[8];

// Stores and returns value; 0 for a player outside 0..7, with nothing stored.
int SetControllerAssignment(int player, int value);
// The player's assignment; 0 (a person) for a player outside 0..7.
int GetControllerAssignment(int player);
// Unless s is -1, the control state becomes s. Returns the control state.
int SetControlState(int s);
int GetControlState();
// Rumble of a controller at a strength 0..255. Returns 0: no controller rumbles yet.
uint8_t SetControllerRumble(int controller, uint8_t strength);
