// The overlay stack: five slots of handler sets, a pending-open flag per depth and an input
// counter that drops the first calls after a push. It knows nothing of what the overlays are.
// Whichever overlay comes to the top answers only presses that begin after it did: the buttons
// held at that moment are kept from it until they are let go, and the touch on the panel until it
// is lifted, so that one press never acts on two overlays, however long it is held.
#include "overlays/overlaystack.h"

#include <cstring>

#include "game/controls.h"
#include "lib/screenapi.h"
#include "platform/input.h"
#include "shell/touchbuttons.h"

static OVERLAYTAG overlayStack[kOverlayStackDepth];
static int overlayStackSize = 0;
static OVERLAYTAG* currentOverlay = nullptr;
// Per depth: the overlay at that depth has been pushed but not opened yet.
static int overlayChanged[kOverlayStackDepth];
// Input calls since the last push.
static int overlayDrawCount = 0;
// Buttons held when the top overlay took over and not let go since; those of them pressed in the
// very read of the take-over (until an input call has passed); and how many take-overs there have
// been (an input handler that hands over must not clear the next overlay's buttons).
static uint16_t heldAtTakeOver = 0;
static uint16_t pressedAtTakeOver = 0;
static unsigned takeOvers = 0;

// The screen result while a game is running.
static const int kScreenResultGame = 1;
// Controller states whose reset flag follows the overlays during a game.
static const int kFlaggedControllers = 4;

static int HaveCurrentOverlay() { return currentOverlay && currentOverlay->drawHandler; }

// The overlayChanged entry of the top; the bottom one while the stack is empty.
static int& TopChanged() { return overlayChanged[overlayStackSize > 0 ? overlayStackSize - 1 : 0]; }

static void SetControllerResetFlags(int on)
{
    if (ScreenGetResult() != kScreenResultGame) return;
    for (int i = 0; i < kFlaggedControllers; ++i) {
        if (on)
            controllers[i].flags |= kControllerFlagReset;
        else
            controllers[i].flags &= ~unsigned(kControllerFlagReset);
    }
}

static uint16_t NewPresses() { return uint16_t(allInput.edges & allInput.buttons); }

// A new top overlay: what is held now, buttons and stylus, is not its.
static void TakeOver()
{
    heldAtTakeOver = allInput.buttons;
    pressedAtTakeOver = NewPresses();
    ++takeOvers;
    TouchButtonsIgnoreCurrentTouch();
}

// The buttons kept from the overlay this frame: held since the take-over, unless pressed anew
// after it (let go where no input call saw it).
static uint16_t KeptButtons() { return uint16_t(heldAtTakeOver & ~(NewPresses() & ~pressedAtTakeOver)); }

joystickState OverlayInputOf(const joystickState& state)
{
    joystickState in = state;
    const uint16_t kept = KeptButtons();
    in.buttons = uint16_t(in.buttons & ~kept);
    in.edges = uint16_t(in.edges & ~kept);
    return in;
}

joystickState OverlayInput() { return OverlayInputOf(allInput); }

// After an input call: the buttons let go (or pressed anew) are the overlay's from now on.
static int ForgetLetGo(unsigned takeOversBefore, int result)
{
    if (takeOvers != takeOversBefore) return result;
    heldAtTakeOver = uint16_t(KeptButtons() & allInput.buttons);
    pressedAtTakeOver = 0;
    return result;
}

int OverlaySelect(const OVERLAYTAG* overlay)
{
    if (overlay) {
        if (currentOverlay && currentOverlay->permanent) return 0;
        // A full stack keeps its top as it is: nothing is pushed and nothing is opened again.
        if (overlayStackSize >= kOverlayStackDepth) return 0;
        overlayStack[overlayStackSize++] = *overlay;
        currentOverlay = &overlayStack[overlayStackSize - 1];
        SetControllerResetFlags(1);
        overlayDrawCount = 0;
        TakeOver();
    }
    TopChanged() = 1;
    return 1;
}

int OverlayUpdate()
{
    if (!HaveCurrentOverlay()) return 1;
    int& changed = TopChanged();
    if (changed && currentOverlay->openHandler) {
        changed = 0;
        if (!currentOverlay->openHandler()) return 0;
    }
    if (currentOverlay->updateHandler && !currentOverlay->updateHandler()) return 0;
    return 1;
}

int OverlayHandleInput()
{
    if (!HaveCurrentOverlay()) return 1;
    const unsigned before = takeOvers;
    int n = overlayDrawCount++;
    if (n < kOverlayInputsDropped) return ForgetLetGo(before, 1);
    if (currentOverlay->inputHandler && !currentOverlay->inputHandler()) return ForgetLetGo(before, 0);
    return ForgetLetGo(before, 1);
}

int OverlayDraw()
{
    if (!HaveCurrentOverlay() || TopChanged()) return 1;
    return currentOverlay->drawHandler() ? 1 : 0;
}

int OverlayExit()
{
    if (!HaveCurrentOverlay()) return 0;
    SetControllerResetFlags(0);
    if (currentOverlay->closeHandler && !currentOverlay->closeHandler()) return 0;
    if (overlayStackSize == 0) return 0;
    --overlayStackSize;
    if (overlayStackSize >= 1) {
        // The uncovered overlay becomes current as a copy in the slot given up; it is not opened
        // again and keeps its place in the input count.
        const OVERLAYTAG* top = &overlayStack[overlayStackSize - 1];
        if (currentOverlay != top) *currentOverlay = *top;
        TakeOver();
    } else {
        std::memset(currentOverlay, 0, sizeof(OVERLAYTAG));
    }
    // Slots above the stack hold nothing but the current copy, so that an emptied stack cannot
    // bring back an overlay already closed.
    for (int i = overlayStackSize; i < kOverlayStackDepth; ++i) {
        overlayChanged[i] = 0;
        if (&overlayStack[i] != currentOverlay) std::memset(&overlayStack[i], 0, sizeof(OVERLAYTAG));
    }
    return 1;
}

int OverlayExists() { return HaveCurrentOverlay(); }

int OverlayGetHandlers(OVERLAYTAG* out)
{
    if (!out) return 0;
    OVERLAYTAG* top = &overlayStack[overlayStackSize > 0 ? overlayStackSize - 1 : 0];
    out->openHandler = top->openHandler;
    out->drawHandler = top->drawHandler;
    out->updateHandler = top->updateHandler;
    out->inputHandler = top->inputHandler;
    out->closeHandler = top->closeHandler;
    currentOverlay = top;
    return 1;
}

int OverlayStackSize() { return overlayStackSize; }

void OverlayResetStack()
{
    std::memset(overlayStack, 0, sizeof overlayStack);
    std::memset(overlayChanged, 0, sizeof overlayChanged);
    overlayStackSize = 0;
    currentOverlay = nullptr;
    overlayDrawCount = 0;
    heldAtTakeOver = pressedAtTakeOver = 0;
    // The controllers' marks went with the overlays that set them.
    for (int i = 0; i < kFlaggedControllers; ++i) controllers[i].flags &= ~unsigned(kControllerFlagReset);
}

int OverlayExitAll()
{
    for (int i = 0; i < kOverlayStackDepth && OverlayExists(); ++i)
        if (!OverlayExit()) return 0;
    return 1;
}
