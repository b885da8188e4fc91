// Which images are looked at, and so which commands go on to GL. A headless run is looked at only
// in its screenshots; a window shows one eye of the upper screen (or both, in anaglyph) and the
// lower screen. Everything else is still recorded, fetched and checked by the executor, with the
// same errors, but no GL call is made for it: on a machine without a GPU the driver's rasteriser
// is almost all of a frame's cost, and an image nobody sees is not worth it.
//
// The executor decides per image: the commands from one transfer to the next (a clear, draws,
// then the transfer into a display buffer) make one image, and the display buffer that the
// transfer names tells whose image it is.
#include <vector>

#include "host/gpuinternal.h"
#include "host/host.h"

static int executeAll = 1;
static std::vector<long> shotFrames;
static int imageOnGl = 1;
static uint64_t glWork = 0;

void GpuExecuteOnlyFor(const long* frames, int count)
{
    executeAll = 0;
    shotFrames.assign(frames, frames + (frames && count > 0 ? count : 0));
    imageOnGl = 1;
}

void GpuExecuteAll()
{
    executeAll = 1;
    shotFrames.clear();
    imageOnGl = 1;
}

int GpuScreenshotAhead()
{
    if (executeAll) return 1;
    const long presented = HostFramesPresented();
    for (long f : shotFrames)
        if (f >= presented && f - presented <= kGpuSeenAhead) return 1;
    return 0;
}

int GpuImageTargetMatters() { return GpuWindowShown() && !GpuScreenshotAhead(); }

void GpuBeginImage(uint32_t displaybuffer)
{
    if (GpuScreenshotAhead()) {
        imageOnGl = 1;
        return;
    }
    // Only a window looks at anything between screenshots. An image whose display buffer is not
    // known yet (no transfer ahead, or a buffer never shown) is drawn, to be safe.
    imageOnGl = GpuWindowShown() && (displaybuffer == 0 || GpuDisplaybufferInWindow(displaybuffer));
}

int GpuOnGl() { return imageOnGl; }

void GpuCountGlWork() { ++glWork; }

uint64_t GpuGlWork() { return glWork; }
