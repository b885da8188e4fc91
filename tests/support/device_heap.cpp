#include "support/device_heap.h"

#include "host/arena.h"
#include "lib/memory.h"
#include "lib/trig.h"

int UseFreshDeviceHeap(uint32_t bytes, unsigned records)
{
    if (!HostArenaInit(bytes)) return 0;
    theHeap = nullptr;
    u8* start = HostDeviceMemoryAddress();
    return InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), records, 128, 0, 1);
}

void ReleaseDeviceHeap()
{
    DisposeMemoryHeap(&deviceHeap);
    theHeap = nullptr;
    // The trig tables live in the heap just released.
    sinTable = cosTable = nullptr;
}
