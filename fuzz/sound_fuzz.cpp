// Fuzzes the sound resource reader: any bytes loaded as a sound resource are either refused or
// played to their end on the mixer, both halves of a stereo sound, without reading outside them.
#include <cstdint>
#include <cstring>
#include <vector>

#include "host/arena.h"
#include "host/mixer.h"
#include "lib/memory.h"
#include "platform/sound.h"

static void SetUpOnce()
{
    HostArenaInit(16 << 20);
    u8* start = HostDeviceMemoryAddress();
    InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), 0x2000, 128, 0, 1);
}

// Plays one record's samples on voice 0 until they are used up.
static void Play(const DS3_sound_tag* sound, int format)
{
    HostMixerReset();
    if (!HostVoiceSetBuffer(0, sound->samplePtr.get(), sound->numSamples, format, sound->frequency, nullptr)) return;
    HostVoiceSetState(0, kHostVoicePlay);
    std::vector<int16_t> out(2 * 4096);
    for (int i = 0; i < 64 && HostVoiceIsPlaying(0); ++i) HostMixerRender(out.data(), 4096);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    if (size > (1u << 20)) return 0;
    // The loader hands over whole heap units: the record's room is the data rounded up.
    void* block = nullptr;
    if (!AllocateClearedMemory(&block, int(size) + 1)) return 0;
    std::memcpy(block, data, size);
    auto* sound = static_cast<DS3_sound_tag*>(block);
    if (InitializeSoundResource(sound, int32_t(size))) {
        Play(sound, sound->format);
        if (sound->stereoSound) Play(sound->stereoSound.get(), sound->format);
    }
    FreeManagedMemory(block, 0);
    return 0;
}
