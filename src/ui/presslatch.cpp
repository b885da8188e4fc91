// The press latch: buttons and the stylus held when a page or question opens are held back from
// the UI until let go (see presslatch.h).
#include "ui/presslatch.h"

#include "platform/input.h"

static uint16_t latchedButtons = 0;  // held at a latch and not yet let go
static uint16_t heldBack = 0;        // held back this frame
static int stylusLatched = 0;

static int StylusDown()
{
    const DS3_controller* pad = controllers[0].controller;
    return pad && pad->touchData.isTouching ? 1 : 0;
}

void BasicUi_LatchPresses()
{
    latchedButtons = uint16_t(latchedButtons | allInput.buttons);
    heldBack = uint16_t(heldBack | latchedButtons);
    if (StylusDown()) stylusLatched = 1;
}

void BasicUi_UpdateLatch()
{
    heldBack = latchedButtons;
    latchedButtons = uint16_t(latchedButtons & allInput.buttons);
    if (!StylusDown()) stylusLatched = 0;
}

uint16_t BasicUi_LatchedButtons() { return heldBack; }

int BasicUi_StylusLatched() { return stylusLatched; }

void BasicUi_ClearLatch()
{
    latchedButtons = heldBack = 0;
    stylusLatched = 0;
}
