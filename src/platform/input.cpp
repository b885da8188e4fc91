// Controller input. The host's keyboard, game controller, mouse and input scripts feed this
// module with the input work; until then a read services the platform's orders (HOME, power,
// close) and leaves the controller records as they are.
#include "platform/input.h"

#include <cstring>

#include "shell/applet.h"

joystickState controllers[kNumControllerStates];
joystickState allInput;
static DS3_controller platformController;

int InitJoysticks()
{
    std::memset(&platformController, 0, sizeof platformController);
    controllers[0].controller = &platformController;
    return 1;
}

int ReadControls(int (*)())
{
    ServiceAppletOrders();
    return 1;
}

static void ClearState(joystickState* s)
{
    s->buttons = 0;
    s->edges = 0;
    s->x = s->y = 0.0f;
    s->x2 = s->y2 = 0.0f;
}

void ClearInputs()
{
    for (joystickState& s : controllers) ClearState(&s);
    ClearState(&allInput);
}
