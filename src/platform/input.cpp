// Reading the controllers once per frame into the per-slot and merged records, and serving the
// applet's close order on every read.
#include "platform/input.h"

#include <cstring>

#include "host/host.h"
#include "host/input.h"
#include "lib/printing.h"
#include "platform/applet.h"

joystickState controllers[kNumControllerStates];
joystickState allInput;
static DS3_controller platformController;
static int touchSerial = 0;

// The console's pad bits and the game's button bits they become.
static const struct {
    uint32_t pad;
    uint16_t game;
} kButtonMap[] = {
    {kPadB, kButtonB},         {kPadA, kButtonA},           {kPadX, kButtonX},       {kPadY, kButtonY},
    {kPadL, kButtonL},         {kPadR, kButtonR},           {kPadStart, kButtonStart}, {kPadSelect, kButtonSelect},
    {kPadLeft, kButtonLeft},   {kPadRight, kButtonRight},   {kPadUp, kButtonUp},     {kPadDown, kButtonDown},
};

uint16_t PadButtonsToGameButtons(uint32_t pad)
{
    uint16_t buttons = 0;
    for (const auto& m : kButtonMap)
        if (pad & m.pad) buttons = uint16_t(buttons | m.game);
    return buttons;
}

int InitJoysticks()
{
    std::memset(&platformController, 0, sizeof platformController);
    controllers[0].controller = &platformController;
    if (!HostInputInit()) {
        // Playing on without the input the run was given would only hide the fault.
        PrintError("InitJoysticks: the input script cannot be used");
        HostRequestClose();
        return 0;
    }
    return 1;
}

int TouchSerial() { return touchSerial; }

int ControllerConnected(int slot) { return slot >= 0 && slot < kNumControllerStates && controllers[slot].controller; }

int ReadControls(int (*callback)()) { return ReadControllers(callback, 0); }

int ReadControllers(int (*)(), int)
{
    HostInputState in;
    if (HostInputRead(&in)) {
        if (in.touching && !platformController.touchData.isTouching) ++touchSerial;
        platformController.touchData.x = in.touchX;
        platformController.touchData.y = in.touchY;
        platformController.touchData.isTouching = in.touching ? 1 : 0;

        joystickState& pad = controllers[0];
        uint16_t buttons = PadButtonsToGameButtons(in.pad);
        pad.x = in.stickX;
        pad.y = in.stickY;
        pad.edges = uint16_t(pad.buttons ^ buttons);
        pad.buttons = buttons;
        pad.leftAnalogDeadzoneThreshold = kLeftStickDeadzone;

        ClearInput(&controllers[1]);

        allInput.edges = pad.edges;
        allInput.buttons = pad.buttons;
        allInput.x = pad.x;
        allInput.y = pad.y;
        allInput.x2 = pad.x2;
        allInput.y2 = pad.y2;
    }
    // The close order comes from the host, not from the pad: it is served on every read.
    ServiceAppletOrders();
    return 1;
}

void ForgetHeldButtons()
{
    HostInputState in;
    if (!HostInputRead(&in)) return;
    joystickState& pad = controllers[0];
    pad.buttons = PadButtonsToGameButtons(in.pad);
    pad.edges = 0;
    allInput.buttons = pad.buttons;
    allInput.edges = 0;
}

void ClearInput(joystickState* s)
{
    s->buttons = 0;
    s->edges = 0;
    s->x = s->y = 0.0f;
    s->x2 = s->y2 = 0.0f;
}

void ClearInputs()
{
    for (joystickState& s : controllers) ClearInput(&s);
    ClearInput(&allInput);
}
