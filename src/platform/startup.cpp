// The platform's early start-up (memory split, device heap, file system, controllers) and the
// splash image shown while the game loads.
#include "platform/startup.h"

#include "host/arena.h"
#include "lib/memory.h"
#include "lib/resourceload.h"
#include "platform/bitmap.h"
#include "platform/fileserver.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/utilities.h"

void nninitStartUp()
{
    // Everything but 2 MB of the free application memory becomes device memory, in whole pages;
    // the rest is the system heap, which the host's own allocator stands in for.
    unsigned freeMemory = kApplicationMemorySize;
    unsigned deviceMemory = (freeMemory - 2u * 1024u * 1024u) & ~4095u;
    HostArenaInit(deviceMemory);
}

int DS3_Initialize(unsigned int maxHeapAllocations)
{
    u8* start = HostDeviceMemoryAddress();
    if (!start) return 0;
    if (!InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), maxHeapAllocations, 128, 0, 1)) return 0;
    if (!FileSystemInit()) return 0;
    InitJoysticks();
    return 1;
}

// One frame with the upper screen empty and, when fading, a black veil of the given alpha over
// the lower screen. 0 when a render call fails; a frame refused because the game is closing is no
// failure: the phases end on done.
static int SplashFrame(int fading, float veil)
{
    if (!RenderStartScreen()) return done ? 1 : 0;
    RenderStartDisplay0();
    RenderEndDisplay0();
    RenderStartDisplay1();
    if (fading) {
        RenderSetAlphaLevel(int(unsigned(veil * 255.0f) & 255u));
        RenderSetPenColor(0, 0, 0);
        if (!RenderRect(0, 0, frameBufferLower.width, frameBufferLower.height)) return 0;
    }
    RenderEndDisplay1();
    return RenderDoneScreen();
}

int SplashScreen(int resourceID, int milliseconds)
{
    auto* bitmap = static_cast<DS3_bitmap_tag*>(ReadResource(resourceID));
    if (!bitmap || !RenderSelectBackground(bitmap)) return 0;

    const float kFadePerMillisecond = 0.0025f;
    float veil = 1.0f;
    for (int t = 0; t < 400 && !done; t += updateRate) {
        if (!SplashFrame(1, veil)) return 0;
        veil -= kFadePerMillisecond * float(updateRate);
        if (veil < 0.0f) veil = 0.0f;
    }
    for (int t = 0; t < milliseconds && !done; t += updateRate) {
        ReadControls(0);  // read, but nothing skips the splash
        if (!SplashFrame(0, 0.0f)) return 0;
    }
    veil = 0.0f;
    for (int t = 0; t < 434 && !done; t += updateRate) {
        if (!SplashFrame(1, veil)) return 0;
        veil += kFadePerMillisecond * float(updateRate);
        if (veil > 1.0f) veil = 1.0f;
    }

    RenderSelectBackground(nullptr);
    return DisposeResource(resourceID) ? 1 : 0;
}
