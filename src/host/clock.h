// The tick source: the console's system tick (268,111,856 per second). Windowed runs read the real
// steady clock; headless runs use a virtual clock that advances 33 ms with every presented frame,
// so that a run with the same seed and input repeats exactly.
#pragma once

#include <cstdint>

// Ticks of the system clock per second.
constexpr int64_t kTicksPerSecond = 268111856;

void HostUseVirtualClock(int enabled);
int HostVirtualClockEnabled();
int64_t HostTicks();
// Moves the virtual clock forward; ignored by the real clock.
void HostAdvanceClock(int milliseconds);
