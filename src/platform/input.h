// Controller input: once per frame the buttons, circle pad and touch panel are read into one
// record per controller slot and one merged record.
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

int InitJoysticks();
int ReadControls(int (*callback)());
void ClearInputs();
