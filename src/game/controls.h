// Game controls: which controller drives which player, the control state and mode of the throw,
// and the game's own input while no overlay is open (pause, skipping a computer's frame, driving
// the computer bowlers).
#pragma once

#include <cstdint>

struct actor_tag;
struct joystickState;

// Control states, in the order a throw passes through them.
enum { kControlPosition = 0, kControlAngle = 1, kControlPower = 2, kControlThrowing = 3, kControlReleased = 4 };
// Control modes: the shot is set up with the buttons or with the stylus.
enum { kControlModeButtons = 0, kControlModeTouch = 3 };
// A player's controller assignment: the computer bowls for this player.
constexpr int kAssignmentComputer = 1;
// A game controller's `assignment`: no hardware behind it, or the default controller.
enum { kControllerNoHardware = 1, kControllerDefault = 2 };
constexpr int kNumGameControllers = 8;
// Flag bits of a controller state that the game sets.
enum { kControllerFlagRumble = 0x1, kControllerFlagReset = 0x2 };

struct CONTROLLERTAG {
    actor_tag* player;        // the actor this controller drives
    joystickState* joystick;  // the controller state behind it, or none
    void* configuration;      // not read by the game
    float magnitude, lastMagnitude;
    float direction, lastDirection;
    uint16_t pressed, released, buttons, timer;
    uint8_t assignment;
    uint8_t special;
    uint8_t offenseMajor, offenseMinor, offenseRow;
    uint8_t defenseMajor, defenseMinor, defenseRow;
};

extern CONTROLLERTAG gameControllers[kNumGameControllers];
extern CONTROLLERTAG* lastGameController;
// Per player: kAssignmentComputer for a computer bowler, anything else a person.
extern int gameControllerAssignments[8];
extern int deviceInserted;
// The controller the front end's menus answer: the first (0), set again as the main menu opens.
extern int gActiveController;
extern uint8_t verifyControllers;
extern int sFlaggedSwingStart, sFlaggedBadStartSwing, sFlaggedBadRelease;

// The game's controls reach the computer bowlers through these calls; the game loop fills them
// in. A call left empty is skipped (a query left empty answers 0). The pause menu, the owner of
// overlay input and the camera are called directly.
struct GameControlCalls {
    int (*skipUnderway)();        // a computer's frame is being skipped
    int (*updateAIBowler)();
    int (*skipAIBowler)();
};
extern GameControlCalls gameControlCalls;

// 1 when the button, and no other, was let go since the previous read. The game's controls act
// when a button is let go, so a button held into a new context does nothing until it is released.
int ButtonReleased(const joystickState* state, uint16_t bit);

// Every game controller without hardware and cleared; the default controller's record, when there
// is one, is marked as such.
void InitGameControllers();
// Cuts every controller from its actor and every actor from its controller.
void ResetGameControllers();
// Records 0..3 take controller states 0..3 unless they have no hardware. Returns 1.
int GetHardwareAssignments();
// Stores and returns value; 0 for a player outside 0..7, with nothing stored.
int SetControllerAssignment(int player, int value);
// The player's assignment; 0 (a person) for a player outside 0..7.
int GetControllerAssignment(int player);
// The controller state index behind game controller i; 0 without hardware or for a bad i.
int GetGameControllerAssignmentSlot(int i);
// The lowest controller state index with a device, else -1.
int GetFirstController();
// Unless s is -1, the control state becomes s; a new set-up (0..2) clears the swing flags, and the
// state camera places the bowler and the camera for it (game/camera.h). Returns the control state.
int SetControlState(int s);
int GetControlState();
int SetControlMode(int m);
int GetControlMode();
void SuspendAllUserControls(int v);
// Rumble of a controller. Nothing rumbles on this hardware: returns the current player's
// controller assignment when vibration is on, else 0.
uint8_t SetControllerRumble(int controller, uint8_t strength);
// 1 when B alone was let go on player 0's controller state (the merged input when player 0 has no
// controller slot).
int ExitButtonReleased();
// The game's input for one frame while no overlay is open. Returns 1.
int GameControls();
