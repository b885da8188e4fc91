// Fuzzes the parser of input scripts (--input FILE): any text is parsed over a script already in
// use. Either it is refused with a message that names the file and a line, and the script in use
// is kept as it was, or it is taken and every frame the probe reads (each line's frame, the frames
// either side of it, the first and a far one) gives a state within the pad's bits, the circle
// pad's -1..1 and the touch panel's pixels, with the HOME and power presses as flags.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/input.h"

static void Check(int ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "inputscript_fuzz: %s\n", what);
        std::abort();
    }
}

// The script every input is parsed over: it holds A from frame 5, with the stylus down.
static const char kInUse[] = "5 A touch 10 20\n";

static void CheckState(long frame)
{
    HostInputState s{};
    int home = -1, power = -1;
    Check(HostInputScriptState(frame, &s, &home, &power) == 1, "a loaded script gives no state");
    Check((s.pad & ~0xFFFu) == 0, "a pad bit that is no button");
    Check(std::isfinite(s.stickX) && std::isfinite(s.stickY) && std::fabs(s.stickX) <= 1.0f &&
              std::fabs(s.stickY) <= 1.0f,
          "the circle pad off its range");
    Check(s.touching == 0 || s.touching == 1, "touching is not a flag");
    if (s.touching)
        Check(s.touchX >= 0 && s.touchX < kTouchWidth && s.touchY >= 0 && s.touchY < kTouchHeight,
              "a touch off the panel");
    Check((home == 0 || home == 1) && (power == 0 || power == 1), "a press that is not a flag");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 16)) return 0;
    std::string error;
    Check(HostInputParseScript(kInUse, "in-use", &error) == 1, "the script in use is refused");
    const std::string text(reinterpret_cast<const char*>(data), size);
    error.clear();
    if (!HostInputParseScript(text, "fuzz.input", &error)) {
        Check(error.rfind("fuzz.input line ", 0) == 0, "a refusal that names no line");
        HostInputState s{};
        Check(HostInputScriptState(5, &s, nullptr, nullptr) == 1 && s.pad == kPadA && s.touching && s.touchX == 10 &&
                  s.touchY == 20,
              "a refused script changed the one in use");
        return 0;
    }
    // The frames the lines start at, read back from the text's own first words.
    CheckState(0);
    CheckState(2000000000L);
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const char* line = text.c_str() + at;
        char* stop = nullptr;
        const long frame = std::strtol(line, &stop, 10);
        if (stop != line && frame >= 0) {
            CheckState(frame);
            CheckState(frame + 1);
            if (frame > 0) CheckState(frame - 1);
        }
        at = end + 1;
    }
    HostInputUnloadScript();
    return 0;
}
