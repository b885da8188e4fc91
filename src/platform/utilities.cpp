// The platform's small services, the quit flag every wait checks, and the loading bar that keeps
// the display, files and sound alive during long loads.
#include "platform/utilities.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "host/clock.h"
#include "host/host.h"
#include "platform/fileserver.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/sound.h"

int done = 0;
int (*loadCallback)() = nullptr;
int barActive = 0;
int barDontUpdateSound = 0;
float loadStartTime = 0.0f;
// Ticks of the last loading frame drawn; 0 when the bar has drawn none yet.
static int64_t lastLoadingFrameTicks = 0;

void ClearMemory(void* p, int n)
{
    if (p && n > 0) std::memset(p, 0, size_t(n));
}

void CopyMem(void* source, void* destination, int n)
{
    // memmove: callers shift data inside one buffer as well.
    if (source && destination && n > 0) std::memmove(destination, source, size_t(n));
}

int InitRandomNumbers()
{
    // Every run draws the same sequence; --seed picks another one for tests and demos.
    std::srand(unsigned(gHostOptions.seed));
    return 1;
}

int RandomNumber(int lo, int hi)
{
    // Computed in double: in single precision a draw close to RAND_MAX rounds up to 1.0 and the
    // result could reach hi.
    double unit = double(std::rand()) / (double(RAND_MAX) + 1.0);
    double value = unit * (double(hi) - double(lo)) + double(lo);
    int result = int(value);  // truncated toward zero
    if (hi > lo && result >= hi) result = hi - 1;
    return result;
}

float SIN(float radians) { return std::sin(radians); }
float COS(float radians) { return std::cos(radians); }
float ASIN(float x) { return std::asin(x); }
float ACOS(float x) { return std::acos(x); }
float ATAN2(float y, float x) { return std::atan2(y, x); }
float SQRT(float x) { return std::sqrt(x); }

int64_t GetTickCount() { return HostTicks(); }

int ReadClock(ClockData* out)
{
    // No calendar is kept: the game only needs the fields to exist.
    if (!out) return 0;
    out->month = out->day = out->year = 0;
    out->hour = out->minute = out->second = out->dayofweek = 0;
    return 1;
}

int LoadingBarSetCallback(int (*callback)())
{
    loadCallback = callback;
    return 1;
}

int LoadingBarStart()
{
    if (loadCallback) {
        barActive = 1;
        lastLoadingFrameTicks = 0;  // a bar shows its first frame at once
        loadStartTime = float(GetTickCount());
    }
    return 1;
}

int LoadingBarStop()
{
    barActive = 0;
    return 1;
}

// A loading frame is drawn at most once per frame period of real time, as the display shows
// them; the pumps in between only keep files and sound going.
static int LoadingFrameDue()
{
    int64_t& lastFrameTicks = lastLoadingFrameTicks;
    int64_t now = GetTickCount();
    if (lastFrameTicks != 0 && now - lastFrameTicks < kTicksPerSecond * 33 / 1000) return 0;
    lastFrameTicks = now;
    return 1;
}

int LoadingBarUpdate()
{
    if (!ReadControls(0)) return 0;
    // Headless runs keep no real time: how many loading frames a load takes there would depend on
    // the speed of the file thread, so the bar only keeps files and sound going and runs repeat.
    if (barActive && !done && !HostVirtualClockEnabled() && LoadingFrameDue()) {
        if (!RenderStartScreen()) return 0;
        if (loadCallback && !loadCallback()) return 0;
        if (!RenderDoneScreen()) return 0;
    } else if (barDontUpdateSound) {
        if (!FileSystemUpdate()) return 0;
    } else {
        if (!FileSystemUpdate()) return 0;
        if (!UpdateSoundServices()) return 0;
    }
    return done ? 0 : 1;
}
