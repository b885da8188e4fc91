// The real and the virtual tick clocks behind HostTicks; the virtual one moves only when a frame is
// presented, so that headless runs repeat.
#include "host/clock.h"

#include <atomic>
#include <chrono>

static std::atomic<int> virtualClock{0};
static std::atomic<int64_t> virtualTicks{0};

void HostUseVirtualClock(int enabled)
{
    virtualClock = enabled ? 1 : 0;
    virtualTicks = 0;
}

int HostVirtualClockEnabled() { return virtualClock; }

int64_t HostTicks()
{
    if (virtualClock) return virtualTicks;
    static const auto start = std::chrono::steady_clock::now();
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count();
    // Split to keep the product inside 64 bits for runs of any length.
    int64_t seconds = ns / 1000000000;
    int64_t rest = ns % 1000000000;
    return seconds * kTicksPerSecond + rest * kTicksPerSecond / 1000000000;
}

void HostAdvanceClock(int milliseconds)
{
    if (virtualClock && milliseconds > 0) virtualTicks += int64_t(milliseconds) * kTicksPerSecond / 1000;
}
