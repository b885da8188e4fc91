// The host's input: the window's keyboard, game controllers and mouse mapped onto the console's pad
// and touch panel, or an input script replayed frame by frame for headless runs.
//
// The game reads its input once a frame, and a read sees only what is held at that moment: a tap
// shorter than a frame would be pressed and let go between two reads and never seen. So every press
// is also latched until the next read, which reports the key, button or touch as held (with its
// press edge) even when it has been let go; the read after it sees it let go.
#include "host/input.h"

#include <SDL2/SDL_events.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/host.h"

#ifdef ZENDROLYX_HAVE_SDL2
#include <SDL2/SDL.h>
#endif

namespace {

// One line of an input script: the state that holds from its frame on.
struct ScriptLine {
    long frame;
    HostInputState state;
    int homePress, powerPress, lidClose;
};

// One game controller seen by the window.
struct PadDevice {
    int used;
    SDL_JoystickID id;
    uint32_t pad;
    uint32_t pressedSinceRead;  // buttons pressed since the last read, let go or not
    float stickX, stickY;  // raw axes, -1..1, y up
    uint32_t triggers;     // kPadL / kPadR while a trigger is pulled
};

constexpr int kMaxPadDevices = 8;
constexpr long kMaxScriptFrame = 1000000000L;
constexpr size_t kMaxScriptBytes = 16u * 1024u * 1024u;
// Sticks rest a little off centre; below this the circle pad reads centred.
constexpr float kStickDeadZone = 0.12f;

}  // namespace

static int hostInputReady = 0;
static int sdlEventsOpen = 0;
static std::vector<ScriptLine> script;
static int scriptLoaded = 0;
static long scriptLinesFired = 0;  // lines whose HOME and power presses have been handed on
static int homePresses = 0;
static int powerPresses = 0;
static int sleepRequests = 0;  // the lid closed or the window minimised
static int windowMinimised = 0;

static uint8_t keyHeld[SDL_NUM_SCANCODES];
static uint8_t keyPressedSinceRead[SDL_NUM_SCANCODES];
static PadDevice padDevices[kMaxPadDevices];
static int mouseTouching = 0;
static int mouseTouchedSinceRead = 0;  // the stylus put down since the last read, lifted or not
static int mouseTouchX = 0, mouseTouchY = 0;
// The window shows the 400 x 240 upper screen with the lower screen centred under it, each pixel
// drawn scale x scale; the stylus reads the lower screen's part of the window.
constexpr int kUpperScreenWidth = 400;
constexpr int kUpperScreenHeight = 240;
static int touchAreaX = (kUpperScreenWidth - kTouchWidth) / 2, touchAreaY = kUpperScreenHeight;
static int touchAreaW = kTouchWidth, touchAreaH = kTouchHeight;

// ---------------------------------------------------------------------------------------------
// Input scripts

struct ButtonName {
    const char* name;
    uint32_t bit;
};
static const ButtonName kButtonNames[] = {
    {"A", kPadA},        {"B", kPadB},       {"X", kPadX},        {"Y", kPadY},
    {"L", kPadL},        {"R", kPadR},       {"START", kPadStart}, {"SELECT", kPadSelect},
    {"UP", kPadUp},      {"DOWN", kPadDown}, {"LEFT", kPadLeft},  {"RIGHT", kPadRight},
};

static int SameName(const std::string& token, const char* name)
{
    size_t n = std::strlen(name);
    if (token.size() != n) return 0;
    for (size_t i = 0; i < n; ++i) {
        char c = token[i];
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (c != name[i]) return 0;
    }
    return 1;
}

// A token as it may appear in a message: printable, and not too long.
static std::string Shown(const std::string& token)
{
    std::string out;
    for (size_t i = 0; i < token.size() && i < 32; ++i) {
        unsigned char c = static_cast<unsigned char>(token[i]);
        out += (c >= 0x20 && c < 0x7F) ? char(c) : '?';
    }
    if (token.size() > 32) out += "...";
    return out;
}

static int ParseWhole(const std::string& token, long min, long max, long* out)
{
    if (token.empty()) return 0;
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(token.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < min || value > max) return 0;
    *out = value;
    return 1;
}

static int ParseFloat(const std::string& token, float min, float max, float* out)
{
    if (token.empty()) return 0;
    errno = 0;
    char* end = nullptr;
    float value = std::strtof(token.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(value) || value < min || value > max) return 0;
    *out = value;
    return 1;
}

static std::vector<std::string> SplitWords(const std::string& line)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

// Reads one line's words into *out. 0 with the reason in *why.
static int ParseScriptLine(const std::vector<std::string>& words, ScriptLine* out, std::string* why)
{
    ScriptLine line{};
    if (!ParseWhole(words[0], 0, kMaxScriptFrame, &line.frame)) {
        *why = "bad frame number '" + Shown(words[0]) + "' (a whole number from 0 to " +
               std::to_string(kMaxScriptFrame) + ")";
        return 0;
    }
    int haveStick = 0, haveTouch = 0;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (SameName(word, "STICK")) {
            if (haveStick) return *why = "the stick is given twice", 0;
            if (i + 2 >= words.size()) return *why = "stick needs X and Y", 0;
            if (!ParseFloat(words[i + 1], -1.0f, 1.0f, &line.state.stickX) ||
                !ParseFloat(words[i + 2], -1.0f, 1.0f, &line.state.stickY)) {
                *why = "bad stick position '" + Shown(words[i + 1]) + " " + Shown(words[i + 2]) +
                       "' (X and Y from -1 to 1)";
                return 0;
            }
            haveStick = 1;
            i += 2;
        } else if (SameName(word, "TOUCH")) {
            if (haveTouch) return *why = "the touch is given twice", 0;
            if (i + 2 >= words.size()) return *why = "touch needs X and Y", 0;
            long x = 0, y = 0;
            if (!ParseWhole(words[i + 1], 0, kTouchWidth - 1, &x) || !ParseWhole(words[i + 2], 0, kTouchHeight - 1, &y)) {
                *why = "bad touch position '" + Shown(words[i + 1]) + " " + Shown(words[i + 2]) +
                       "' (X 0 to 319, Y 0 to 239)";
                return 0;
            }
            line.state.touchX = int(x);
            line.state.touchY = int(y);
            line.state.touching = 1;
            haveTouch = 1;
            i += 2;
        } else if (SameName(word, "LID")) {
            if (line.lidClose) return *why = "button " + Shown(word) + " is given twice", 0;
            line.lidClose = 1;
        } else if (SameName(word, "HOME") || SameName(word, "POWER")) {
            int& press = SameName(word, "HOME") ? line.homePress : line.powerPress;
            if (press) return *why = "button " + Shown(word) + " is given twice", 0;
            press = 1;
        } else {
            uint32_t bit = 0;
            for (const ButtonName& b : kButtonNames)
                if (SameName(word, b.name)) bit = b.bit;
            if (!bit) {
                *why = "unknown button '" + Shown(word) +
                       "' (A B X Y L R START SELECT UP DOWN LEFT RIGHT HOME POWER LID, stick X Y, touch X Y)";
                return 0;
            }
            if (line.state.pad & bit) return *why = "button " + Shown(word) + " is given twice", 0;
            line.state.pad |= bit;
        }
    }
    *out = line;
    return 1;
}

int HostInputParseScript(const std::string& text, const char* name, std::string* error)
{
    std::vector<ScriptLine> lines;
    size_t at = 0;
    long lineNumber = 0;
    long previousLine = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::vector<std::string> words = SplitWords(line);
        if (words.empty()) continue;

        ScriptLine parsed{};
        std::string why;
        if (!ParseScriptLine(words, &parsed, &why)) {
            *error = std::string(name) + " line " + std::to_string(lineNumber) + ": " + why;
            return 0;
        }
        if (!lines.empty() && parsed.frame <= lines.back().frame) {
            *error = std::string(name) + " line " + std::to_string(lineNumber) + ": frame " +
                     std::to_string(parsed.frame) + " does not come after frame " +
                     std::to_string(lines.back().frame) + " of line " + std::to_string(previousLine);
            return 0;
        }
        lines.push_back(parsed);
        previousLine = lineNumber;
    }
    script.swap(lines);
    scriptLoaded = 1;
    scriptLinesFired = 0;
    return 1;
}

int HostInputLoadScript(const char* path, std::string* error)
{
    // Any readable file but a folder: a regular file, a pipe (process substitution, /dev/stdin) or
    // /dev/null. The open does not block, so a named pipe that nobody has opened for writing does
    // not hold the program before its first frame; it then reads as an empty script. Reads block
    // again, so that a pipe's writer is waited for up to its end.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = std::string(path) + ": cannot open the input script (" + std::strerror(errno) + ")";
        return 0;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        *error = std::string(path) + ": the input script is a folder";
        return 0;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        *error = std::string(path) + ": cannot open the input script (" + std::strerror(errno) + ")";
        ::close(fd);
        return 0;
    }
    FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        *error = std::string(path) + ": cannot open the input script (" + std::strerror(errno) + ")";
        return 0;
    }
    std::string text;
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, n);
        if (text.size() > kMaxScriptBytes) {
            std::fclose(file);
            *error = std::string(path) + ": the input script is larger than 16 MB";
            return 0;
        }
    }
    int failed = std::ferror(file);
    std::fclose(file);
    if (failed) {
        *error = std::string(path) + ": the input script could not be read";
        return 0;
    }
    return HostInputParseScript(text, path, error);
}

void HostInputUnloadScript()
{
    script.clear();
    scriptLoaded = 0;
    scriptLinesFired = 0;
}

int HostInputScriptLoaded() { return scriptLoaded; }

// The number of lines that have started by the frame.
static long LinesStartedBy(long frame)
{
    long lo = 0, hi = long(script.size());
    while (lo < hi) {
        long mid = (lo + hi) / 2;
        if (script[size_t(mid)].frame <= frame) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

int HostInputScriptState(long frame, HostInputState* out, int* homePress, int* powerPress)
{
    if (!scriptLoaded) return 0;
    long started = LinesStartedBy(frame);
    *out = started > 0 ? script[size_t(started - 1)].state : HostInputState{};
    const ScriptLine* starting = started > 0 && script[size_t(started - 1)].frame == frame ? &script[size_t(started - 1)] : nullptr;
    if (homePress) *homePress = starting ? starting->homePress : 0;
    if (powerPress) *powerPress = starting ? starting->powerPress : 0;
    return 1;
}

int HostInputScriptHasOrdersToCome()
{
    if (!scriptLoaded) return 0;
    return scriptLinesFired < long(script.size()) || homePresses || powerPresses || sleepRequests;
}

// ---------------------------------------------------------------------------------------------
// Window devices

static PadDevice* FindPadDevice(SDL_JoystickID id, int add)
{
    for (PadDevice& d : padDevices)
        if (d.used && d.id == id) return &d;
    if (!add) return nullptr;
    for (PadDevice& d : padDevices)
        if (!d.used) {
            d = PadDevice{};
            d.used = 1;
            d.id = id;
            return &d;
        }
    return nullptr;
}

static uint32_t ControllerButtonBit(int button)
{
    // By position: the console's A is the right face button, B the bottom one.
    switch (button) {
    case SDL_CONTROLLER_BUTTON_B: return kPadA;
    case SDL_CONTROLLER_BUTTON_A: return kPadB;
    case SDL_CONTROLLER_BUTTON_Y: return kPadX;
    case SDL_CONTROLLER_BUTTON_X: return kPadY;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return kPadL;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return kPadR;
    case SDL_CONTROLLER_BUTTON_START: return kPadStart;
    case SDL_CONTROLLER_BUTTON_BACK: return kPadSelect;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return kPadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return kPadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return kPadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return kPadRight;
    default: return 0;
    }
}

static float AxisValue(int16_t raw)
{
    float v = float(raw) / 32767.0f;
    return v < -1.0f ? -1.0f : v;
}

static void OpenPadDevice(int deviceIndex)
{
#ifdef ZENDROLYX_HAVE_SDL2
    if (!SDL_IsGameController(deviceIndex)) return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller) FindPadDevice(SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)), 1);
#else
    (void)deviceIndex;
#endif
}

static void ClosePadDevice(SDL_JoystickID id)
{
#ifdef ZENDROLYX_HAVE_SDL2
    if (SDL_GameController* controller = SDL_GameControllerFromInstanceID(id)) SDL_GameControllerClose(controller);
#endif
    if (PadDevice* d = FindPadDevice(id, 0)) *d = PadDevice{};
}

static int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

static void MoveStylus(int windowX, int windowY)
{
    if (touchAreaW <= 0 || touchAreaH <= 0) return;
    mouseTouchX = Clamp(int(std::floor(double(windowX - touchAreaX) * kTouchWidth / touchAreaW)), 0, kTouchWidth - 1);
    mouseTouchY = Clamp(int(std::floor(double(windowY - touchAreaY) * kTouchHeight / touchAreaH)), 0, kTouchHeight - 1);
}

static int OverTouchArea(int windowX, int windowY)
{
    return windowX >= touchAreaX && windowX < touchAreaX + touchAreaW && windowY >= touchAreaY &&
           windowY < touchAreaY + touchAreaH;
}

int HostInputHandleEvent(const SDL_Event* event)
{
    switch (event->type) {
    case SDL_QUIT:
        HostRequestClose();
        return 1;
    case SDL_WINDOWEVENT:
        if (event->window.event == SDL_WINDOWEVENT_CLOSE) {
            HostRequestClose();
            return 1;
        }
        // Keys let go while another window has the focus never report their release.
        if (event->window.event == SDL_WINDOWEVENT_MINIMIZED) {
            windowMinimised = 1;
            ++sleepRequests;
            return 1;
        }
        if (event->window.event == SDL_WINDOWEVENT_RESTORED || event->window.event == SDL_WINDOWEVENT_SHOWN) {
            windowMinimised = 0;
            return 1;
        }
        if (event->window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            HostInputReleaseAll();
            return 1;
        }
        return 0;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        int code = event->key.keysym.scancode;
        if (code < 0 || code >= SDL_NUM_SCANCODES) return 0;
        int down = event->type == SDL_KEYDOWN;
        if (down && !event->key.repeat) {
            if (code == SDL_SCANCODE_H) ++homePresses;
            if (code == SDL_SCANCODE_P) ++powerPresses;
        }
        keyHeld[code] = uint8_t(down);
        if (down) keyPressedSinceRead[code] = 1;
        return 1;
    }
    case SDL_CONTROLLERDEVICEADDED:
        OpenPadDevice(event->cdevice.which);
        return 1;
    case SDL_CONTROLLERDEVICEREMOVED:
        ClosePadDevice(event->cdevice.which);
        return 1;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        PadDevice* d = FindPadDevice(event->cbutton.which, 1);
        if (!d) return 1;
        if (event->cbutton.button == SDL_CONTROLLER_BUTTON_GUIDE) {
            if (event->type == SDL_CONTROLLERBUTTONDOWN) ++homePresses;
            return 1;
        }
        uint32_t bit = ControllerButtonBit(event->cbutton.button);
        if (event->type == SDL_CONTROLLERBUTTONDOWN) {
            d->pad |= bit;
            d->pressedSinceRead |= bit;
        } else {
            d->pad &= ~bit;
        }
        return 1;
    }
    case SDL_CONTROLLERAXISMOTION: {
        PadDevice* d = FindPadDevice(event->caxis.which, 1);
        if (!d) return 1;
        float v = AxisValue(event->caxis.value);
        switch (event->caxis.axis) {
        case SDL_CONTROLLER_AXIS_LEFTX: d->stickX = v; break;
        case SDL_CONTROLLER_AXIS_LEFTY: d->stickY = -v; break;  // SDL's y points down
        case SDL_CONTROLLER_AXIS_TRIGGERLEFT: d->triggers = v > 0.5f ? (d->triggers | kPadL) : (d->triggers & ~kPadL); break;
        case SDL_CONTROLLER_AXIS_TRIGGERRIGHT: d->triggers = v > 0.5f ? (d->triggers | kPadR) : (d->triggers & ~kPadR); break;
        default: break;
        }
        return 1;
    }
    case SDL_MOUSEBUTTONDOWN:
        if (event->button.button != SDL_BUTTON_LEFT || !OverTouchArea(event->button.x, event->button.y)) return 1;
        mouseTouching = 1;
        mouseTouchedSinceRead = 1;
        MoveStylus(event->button.x, event->button.y);
        return 1;
    case SDL_MOUSEBUTTONUP:
        if (event->button.button == SDL_BUTTON_LEFT) mouseTouching = 0;
        return 1;
    case SDL_MOUSEMOTION:
        if (mouseTouching) MoveStylus(event->motion.x, event->motion.y);
        return 1;
    default:
        return 0;
    }
}

void HostInputSetTouchArea(int x, int y, int width, int height)
{
    touchAreaX = x;
    touchAreaY = y;
    touchAreaW = width;
    touchAreaH = height;
}

// The presses latched for the next read are forgotten once it has seen them.
static void ForgetPressesSinceRead()
{
    std::memset(keyPressedSinceRead, 0, sizeof keyPressedSinceRead);
    for (PadDevice& d : padDevices) d.pressedSinceRead = 0;
    mouseTouchedSinceRead = 0;
}

void HostInputReleaseAll()
{
    std::memset(keyHeld, 0, sizeof keyHeld);
    for (PadDevice& d : padDevices) {
        d.pad = 0;
        d.triggers = 0;
        d.stickX = d.stickY = 0.0f;
    }
    mouseTouching = 0;
    ForgetPressesSinceRead();
}

// Scales a stick past its dead zone so that the circle pad still reaches every magnitude.
static void ApplyDeadZone(float* x, float* y)
{
    float m = std::sqrt(*x * *x + *y * *y);
    if (m <= kStickDeadZone) {
        *x = *y = 0.0f;
        return;
    }
    float scaled = m >= 1.0f ? 1.0f : (m - kStickDeadZone) / (1.0f - kStickDeadZone);
    *x = *x / m * scaled;
    *y = *y / m * scaled;
}

// A key held now, or pressed since the last read.
static int KeyDown(int code) { return keyHeld[code] || keyPressedSinceRead[code]; }

static uint32_t KeyboardPad(int shift)
{
    struct KeyBit {
        int code;
        uint32_t bit;
        int letter;  // W, A and S give the circle pad instead while Shift is held
    };
    // The letters press the buttons they name, as the screens name them ("press A"). Space is a
    // second A and Escape a second B, the keys a desktop confirms and goes back with; Z (B) and
    // S (X) are second keys too, and harmless where a hand lands on them.
    static const KeyBit kKeys[] = {
        {SDL_SCANCODE_UP, kPadUp, 0},         {SDL_SCANCODE_DOWN, kPadDown, 0},
        {SDL_SCANCODE_LEFT, kPadLeft, 0},     {SDL_SCANCODE_RIGHT, kPadRight, 0},
        {SDL_SCANCODE_A, kPadA, 1},           {SDL_SCANCODE_B, kPadB, 0},
        {SDL_SCANCODE_X, kPadX, 0},           {SDL_SCANCODE_Y, kPadY, 0},
        {SDL_SCANCODE_SPACE, kPadA, 0},       {SDL_SCANCODE_ESCAPE, kPadB, 0},
        {SDL_SCANCODE_Z, kPadB, 0},           {SDL_SCANCODE_S, kPadX, 1},
        {SDL_SCANCODE_Q, kPadL, 0},           {SDL_SCANCODE_W, kPadR, 1},
        {SDL_SCANCODE_RETURN, kPadStart, 0},  {SDL_SCANCODE_KP_ENTER, kPadStart, 0},
        {SDL_SCANCODE_BACKSPACE, kPadSelect, 0},
    };
    uint32_t pad = 0;
    for (const KeyBit& k : kKeys)
        if (KeyDown(k.code) && !(k.letter && shift)) pad |= k.bit;
    return pad;
}

// The state made from the window's devices alone, with the presses since the last read held.
static HostInputState DeviceState()
{
    HostInputState s;
    // Shift is a mode, not a button: it counts only while it is held.
    int shift = keyHeld[SDL_SCANCODE_LSHIFT] || keyHeld[SDL_SCANCODE_RSHIFT];
    s.pad = KeyboardPad(shift);
    if (shift) {
        float x = float(KeyDown(SDL_SCANCODE_D)) - float(KeyDown(SDL_SCANCODE_A));
        float y = float(KeyDown(SDL_SCANCODE_W)) - float(KeyDown(SDL_SCANCODE_S));
        if (x != 0.0f && y != 0.0f) {
            x *= 0.70710678f;
            y *= 0.70710678f;
        }
        s.stickX = x;
        s.stickY = y;
    }
    // The keyboard's circle pad wins; else the controller stick pushed furthest.
    int keyboardStick = s.stickX != 0.0f || s.stickY != 0.0f;
    float best = 0.0f;
    for (const PadDevice& d : padDevices) {
        if (!d.used) continue;
        s.pad |= d.pad | d.pressedSinceRead | d.triggers;
        float x = d.stickX, y = d.stickY;
        ApplyDeadZone(&x, &y);
        float m = x * x + y * y;
        if (!keyboardStick && m > best) {
            best = m;
            s.stickX = x;
            s.stickY = y;
        }
    }
    if (mouseTouching || mouseTouchedSinceRead) {
        s.touching = 1;
        s.touchX = mouseTouchX;
        s.touchY = mouseTouchY;
    }
    return s;
}

// ---------------------------------------------------------------------------------------------
// The read

// The lower screen's place in a window of the given scale.
static void TouchAreaForScale(int scale)
{
    if (scale < 1) scale = 1;
    HostInputSetTouchArea((kUpperScreenWidth - kTouchWidth) / 2 * scale, kUpperScreenHeight * scale, kTouchWidth * scale,
                          kTouchHeight * scale);
}

int HostInputInit()
{
    // The window is opened at the scale of the options; the mouse is read at that scale.
    TouchAreaForScale(gHostOptions.scale);
    if (!gHostOptions.inputScript.empty() && !scriptLoaded) {
        std::string error;
        if (!HostInputLoadScript(gHostOptions.inputScript.c_str(), &error)) {
            std::fprintf(stderr, "zendrolyx: %s\n", error.c_str());
            return 0;
        }
    }
#ifdef ZENDROLYX_HAVE_SDL2
    if (!gHostOptions.headless && !sdlEventsOpen) {
        if (SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER) == 0) {
            sdlEventsOpen = 1;
            for (int i = 0; i < SDL_NumJoysticks(); ++i) OpenPadDevice(i);
        } else {
            std::fprintf(stderr, "zendrolyx: no game controllers: %s\n", SDL_GetError());
        }
    }
#endif
    hostInputReady = 1;
    return 1;
}

void HostInputShutdown()
{
#ifdef ZENDROLYX_HAVE_SDL2
    if (sdlEventsOpen) {
        for (PadDevice& d : padDevices)
            if (d.used) ClosePadDevice(d.id);
        SDL_QuitSubSystem(SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER);
    }
#endif
    sdlEventsOpen = 0;
    HostInputReleaseAll();
    for (PadDevice& d : padDevices) d = PadDevice{};
    HostInputUnloadScript();
    homePresses = powerPresses = sleepRequests = windowMinimised = 0;
    hostInputReady = 0;
}

int HostInputRead(HostInputState* out)
{
    if (!hostInputReady) return 0;
#ifdef ZENDROLYX_HAVE_SDL2
    if (sdlEventsOpen) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) HostInputHandleEvent(&event);
    }
#endif
    if (!scriptLoaded) {
        *out = DeviceState();
        ForgetPressesSinceRead();
        return 1;
    }
    ForgetPressesSinceRead();  // the script stands in for the devices
    long frame = HostFramesPresented();
    HostInputScriptState(frame, out, nullptr, nullptr);
    // HOME and power press once per line, even when a read skips past the frame of the line.
    long started = LinesStartedBy(frame);
    for (; scriptLinesFired < started; ++scriptLinesFired) {
        homePresses += script[size_t(scriptLinesFired)].homePress;
        powerPresses += script[size_t(scriptLinesFired)].powerPress;
        sleepRequests += script[size_t(scriptLinesFired)].lidClose;
    }
    return 1;
}

int HostInputTakeHomePress()
{
    if (!homePresses) return 0;
    --homePresses;
    return 1;
}

int HostInputTakePowerPress()
{
    if (!powerPresses) return 0;
    --powerPresses;
    return 1;
}

int HostInputTakeSleepRequest()
{
    if (!sleepRequests) return 0;
    --sleepRequests;
    return 1;
}

void HostSleepUntilWoken()
{
#ifdef ZENDROLYX_HAVE_SDL2
    // A script's lid opens again at once; a minimised window sleeps until it is shown again.
    while (sdlEventsOpen && windowMinimised && !HostCloseRequested()) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, 100)) HostInputHandleEvent(&event);
    }
#endif
    sleepRequests = 0;
    HostInputReleaseAll();
}
