// Fuzzes the clip decoder: any bytes opened as a clip are either refused or decoded to their end,
// pictures scaled into a lower-screen target and sound handed on, without reading or writing
// outside them. A clip written by mkrom is a good seed (rom/Video/*.mkv).
#include <cstdint>
#include <vector>

#include "host/videodecode.h"

static int Accept(void*, int, int) { return 1; }
static void Samples(void*, const int16_t* samples, uint32_t count)
{
    // Touch every sample handed on, so that a short buffer shows.
    volatile int16_t sink = 0;
    for (uint32_t i = 0; i < count; ++i) sink = sink ^ samples[i];
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return 0;
    static std::vector<uint8_t> target(size_t(kHostVideoWidth) * kHostVideoHeight * 2);
    const HostVideoSink sink = {nullptr, Accept, nullptr, Samples};
    HostVideo* video = HostVideoOpenMemory(data, size, &sink, nullptr);
    if (!video) return 0;
    HostVideoSetTarget(video, target.data(), kHostVideoWidth * 2);
    // A clip's times come from its bytes: step on a minute of clip at most.
    int status = kHostVideoRunning;
    for (int64_t ms = 0; ms <= 60000 && status == kHostVideoRunning; ms += 33) status = HostVideoDecodeUntil(video, ms);
    HostVideoClose(video);
    return 0;
}
