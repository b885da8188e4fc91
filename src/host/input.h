// The host's input sources for the console's pad, circle pad and touch panel: the window's keyboard,
// game controllers and mouse, or an input script for headless runs (--input FILE). The platform's
// controller records are built from these in platform/input.h.
//
// Input script: one command a line, '#' starts a comment, blank lines are skipped:
//     FRAME [BUTTON ...] [stick X Y] [touch X Y]
// FRAME is the count of presented frames from which the line holds (0 is the first read); the
// frames of the lines rise strictly. A line gives the whole state: the buttons it names are held,
// all others are up; the circle pad is at (X, Y), each -1.0 to 1.0 with Y up, else centred; the
// stylus is on the lower screen at pixel (X, Y), 0..319 and 0..239, else lifted. A line holds until
// the next one; the last line holds to the end. BUTTON is one of A B X Y L R START SELECT UP DOWN
// LEFT RIGHT (names in any case), or HOME or POWER, which press that button once when the line
// takes effect, or LID, which closes the lid once (a sleep request) and opens it again.
//
// Keyboard: the letter keys A, B, X and Y are those buttons, arrows = D-pad, Space = A, Escape and
// Z = B, S = X, Q = L, W = R, Enter = START, Backspace = SELECT, H = HOME, P = power; minimising the
// window closes the lid until it is shown. A, S and W are also buttons, so the keyboard's circle pad
// is Shift + W/A/S/D: while a Shift key is held, W A S D move the circle pad and press no button. A
// game controller's buttons go by position (the right face button is A, the bottom one B, the top
// one X, the left one Y), shoulders and triggers are L and R, Start and Back are START and SELECT,
// the guide button is HOME, and the left stick is the circle pad. The mouse's left button over the
// lower screen is the stylus; a drag that leaves the screen stays on its edge until the button is
// let go. A key, controller button or click pressed and let go between two reads (shorter than a
// frame) still reads as held by the next read, and as let go by the one after it.
#pragma once

#include <cstdint>
#include <string>

union SDL_Event;

// The console's pad bits, as the platform reports the held buttons.
enum : uint32_t {
    kPadA = 0x001,
    kPadB = 0x002,
    kPadSelect = 0x004,
    kPadStart = 0x008,
    kPadRight = 0x010,
    kPadLeft = 0x020,
    kPadUp = 0x040,
    kPadDown = 0x080,
    kPadR = 0x100,
    kPadL = 0x200,
    kPadX = 0x400,
    kPadY = 0x800,
};

// The lower screen's touch panel in pixels.
constexpr int kTouchWidth = 320;
constexpr int kTouchHeight = 240;

// One read of the host's input.
struct HostInputState {
    uint32_t pad = 0;               // held pad bits
    float stickX = 0, stickY = 0;   // circle pad, -1..1, y up
    int touchX = 0, touchY = 0;     // touch panel pixels while touching
    int touching = 0;
};

// Loads the input script named by --input, when there is one, and on a desktop (not headless)
// opens SDL's events and game controllers. 0 with a message when the script cannot be used.
int HostInputInit();
void HostInputShutdown();
// The latest input: the script's line for the current frame, else the window's devices, else
// nothing held. Pumps the window's events first. A press let go since the previous read reads as
// held this once. 0 when the host input is not initialised.
int HostInputRead(HostInputState* out);

// The HOME and power buttons are orders to the application, not pad bits: each press is kept until
// the application's HOME handling takes it. 1 when a press was waiting.
int HostInputTakeHomePress();
int HostInputTakePowerPress();
// Sleep requests (the lid closed, the window minimised), kept like the presses. 1 when one waited.
int HostInputTakeSleepRequest();
// The handheld asleep: returns when the window is shown again (at once for a script's lid or
// without a window, and when the program is told to close). Requests made meanwhile are dropped.
void HostSleepUntilWoken();

// Input scripts. Loading replaces any script in use; on failure the script in use is kept and
// *error names the file and line.
int HostInputLoadScript(const char* path, std::string* error);
// The same for script text held in memory; name stands for the file in messages.
int HostInputParseScript(const std::string& text, const char* name, std::string* error);
void HostInputUnloadScript();
int HostInputScriptLoaded();
// The script's state at a frame, and the HOME and power presses of a line that starts there.
int HostInputScriptState(long frame, HostInputState* out, int* homePress, int* powerPress);
// Whether a loaded script still has orders to come: a line that no read has reached yet, or a
// HOME, power or lid press of a line read that the game has not taken yet. 0 without a script.
int HostInputScriptHasOrdersToCome();

// Window devices. Events reach HostInputHandleEvent (the read pumps them; a renderer with its own
// event loop passes them on); it returns 1 when the event was input.
int HostInputHandleEvent(const SDL_Event* event);
// The lower screen's place in the window, in the window's pixels, for the stylus. HostInputInit
// sets it for the window of the options' scale (--scale).
void HostInputSetTouchArea(int x, int y, int width, int height);
// Forgets every key, controller button and mouse press (the window lost the focus).
void HostInputReleaseAll();
