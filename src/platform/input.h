// Controller input: once per frame the buttons, circle pad and touch panel are read into one
// record per controller slot and one merged record. The handheld has one pad: slot 0 is filled,
// slot 1 is cleared on every read, the others are left alone. Where the buttons come from (the
// window or an input script) is the host's input (host/input.h).
#pragma once

#include <cstdint>

// Button bits of `buttons` and `edges`.
enum {
    kButtonB = 0x0002,
    kButtonA = 0x0004,
    kButtonX = 0x0008,
    kButtonY = 0x0010,
    kButtonL = 0x0040,
    kButtonR = 0x0080,
    kButtonStart = 0x0100,
    kButtonSelect = 0x0200,
    kButtonLeft = 0x0800,
    kButtonRight = 0x1000,
    kButtonUp = 0x2000,
    kButtonDown = 0x4000,
};

struct DS3_TouchData {
    int32_t x, y, isTouching;
};
struct DS3_AccelerometerData {
    float x, y, z;
};
struct DIRECTION {
    float x[3], y[3], z[3];
};
struct DS3_GyroData {
    float speed[3];
    float angle[3];
    DIRECTION direction;
};
struct DS3_controller {
    DS3_TouchData touchData;
    DS3_AccelerometerData accelData;
    DS3_GyroData gyroData;
};
static_assert(sizeof(DS3_controller) == 84, "the platform controller record is 84 bytes");

struct joystickState {
    int deviceType;
    uint16_t buttons;  // held now
    uint16_t edges;    // changed since the previous read
    float x, y;        // circle pad, -1..1, y positive up
    float x2, y2;      // second stick; always 0 here
    float xTranslate, xScale, yTranslate, yScale;
    DS3_controller* controller;
    unsigned int flags;
    float leftAnalogDeadzoneThreshold, rightAnalogDeadzoneThreshold;
    uint8_t leftAnalogDeadzoneType, rightAnalogDeadzoneType;
    uint8_t pad[2];
};

constexpr int kNumControllerStates = 8;
extern joystickState controllers[kNumControllerStates];
extern joystickState allInput;

// The dead-zone threshold that every read gives slot 0's circle pad.
constexpr float kLeftStickDeadzone = 1.0f / 29.0f;

// Clears the platform record behind slot 0 and opens the host's input. 0 when the host's input
// cannot be used (a damaged input script); the application is then told to close.
int InitJoysticks();
// The per-frame read: ReadControllers(callback, 0). Always 1.
int ReadControls(int (*callback)());
// Reads the pad, circle pad and touch panel into slot 0 and the merged record, and serves the
// platform's pending orders. With no pad status the records keep their last state. The callback
// and the motion sensors are not used. Always 1.
int ReadControllers(int (*callback)(), int updateAccel);
// Touches begun on the lower screen since start: while the stylus is down, the number of the touch
// in progress, so that a touch can be told from the next one even where nobody saw the lift.
int TouchSerial();
// Zeroes the held buttons, edges and sticks of every slot and of the merged record: a button held
// through the clear is reported as newly pressed by the next read.
void ClearInputs();
// Takes the buttons held now as already held, so none of them is a new press in the next read (after
// a system menu or sleep, which the game did not see).
void ForgetHeldButtons();
void ClearInput(joystickState* state);

// The game's button word for the platform's held pad bits.
uint16_t PadButtonsToGameButtons(uint32_t pad);
// 1 when the slot has a device behind it: slot 0, once the controls are initialised.
int ControllerConnected(int slot);
