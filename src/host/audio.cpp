// Audio output: the PC's audio device pulling from the mixer in real time, or the game-time path
// that mixes 33 ms for every presented frame and can write them to a WAV file.
#include "host/audio.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <string>

#ifdef ZENDROLYX_HAVE_SDL2
#include <SDL2/SDL.h>
#include <fcntl.h>
#include <unistd.h>
#endif

#include "host/errorlog.h"
#include "host/host.h"
#include "host/mixer.h"

// Game time of one presented frame.
static const int kFrameMilliseconds = 33;
static const int kChunkSamples = 1024;
static const uint32_t kWavHeaderBytes = 44;

static int audioOpen = 0;
static int onGameTime = 0;
static FILE* wavFile = nullptr;
static uint32_t wavDataBytes = 0;
static std::string wavFailure;  // why the WAV file could not be written; empty while it could
static uint64_t gameMilliseconds = 0;
static uint64_t gameSamples = 0;
#ifdef ZENDROLYX_HAVE_SDL2
static SDL_AudioDeviceID device = 0;
#endif

static void PutLittle(uint8_t* at, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) at[i] = uint8_t(value >> (8 * i));
}

// The RIFF header of 16-bit stereo PCM at the mixer's rate with dataBytes of samples.
static void WavHeader(uint8_t* h, uint32_t dataBytes)
{
    std::memcpy(h, "RIFF", 4);
    PutLittle(h + 4, 36 + dataBytes, 4);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    PutLittle(h + 16, 16, 4);
    PutLittle(h + 20, 1, 2);  // PCM
    PutLittle(h + 22, 2, 2);  // channels
    PutLittle(h + 24, kHostSampleRate, 4);
    PutLittle(h + 28, kHostSampleRate * 4, 4);
    PutLittle(h + 32, 4, 2);
    PutLittle(h + 34, 16, 2);
    std::memcpy(h + 36, "data", 4);
    PutLittle(h + 40, dataBytes, 4);
}

// The WAV file failed: the first failure is reported (with the system's reason) and kept for the
// end of the run; nothing more is written to the file.
static void WavFailed(int error)
{
    if (!wavFailure.empty()) return;
    wavFailure = "audio: the sound file " + gHostOptions.audioOut + " cannot be written (" +
                 std::string(error ? std::strerror(error) : "write failed") + ")";
    HostReportError(wavFailure.c_str());
}

// Writes bytes at the file's position; 0 (reported) when they do not all go.
static int WavWrite(const void* bytes, size_t size)
{
    if (!wavFailure.empty()) return 0;
    errno = 0;
    if (std::fwrite(bytes, 1, size, wavFile) == size) return 1;
    WavFailed(errno);
    return 0;
}

int HostAudioFileWritable(const std::string& path)
{
    if (path.empty()) return 0;
    FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) return 0;
    std::fclose(f);
    return 1;
}

#ifdef ZENDROLYX_HAVE_SDL2
static void DeviceCallback(void*, Uint8* stream, int length)
{
    HostMixerRender(reinterpret_cast<int16_t*>(stream), length / 4);
}

// Opens the default device; 0 when there is none.
static int ProbeDevice()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    SDL_AudioSpec want = {};
    want.freq = kHostSampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kChunkSamples;
    want.callback = DeviceCallback;
    // SDL converts to whatever the device takes.
    device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (!device) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    return 1;
}

static int OpenDevice()
{
    // The sound libraries that SDL tries in turn print their own complaints (eight lines of them on
    // a machine without a sound card) before SDL says it found no device. The result is what
    // counts, and it is reported once, with --verbose.
    const int saved = HostSilenceStandardError();
    const int opened = ProbeDevice();
    HostRestoreStandardError(saved);
    if (!opened) {
        HostReportError(("audio: no sound device (" + std::string(SDL_GetError()) + "); the game plays silently").c_str());
        return 0;
    }
    SDL_PauseAudioDevice(device, 0);
    return 1;
}
#endif

int HostAudioOpen()
{
    if (audioOpen) HostAudioClose();
    gameMilliseconds = gameSamples = 0;
    wavDataBytes = 0;
    wavFailure.clear();
    onGameTime = 1;
    if (!gHostOptions.audioOut.empty()) {
        wavFile = std::fopen(gHostOptions.audioOut.c_str(), "wb");
        if (!wavFile) {
            WavFailed(errno);
            return 0;
        }
        uint8_t header[kWavHeaderBytes];
        WavHeader(header, 0);
        WavWrite(header, sizeof header);
    } else if (!gHostOptions.headless) {
#ifdef ZENDROLYX_HAVE_SDL2
        if (OpenDevice()) onGameTime = 0;
#endif
    }
    HostMixerSetLockstep(onGameTime);
    HostMixerSetPassOnMixer(onGameTime);
    HostMixerSetUnheard(onGameTime && !wavFile);
    audioOpen = 1;
    return 1;
}

const char* HostAudioOutputFailure() { return wavFailure.empty() ? nullptr : wavFailure.c_str(); }

void HostAudioClose()
{
    if (!audioOpen) return;
#ifdef ZENDROLYX_HAVE_SDL2
    if (device) {
        SDL_CloseAudioDevice(device);
        device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
#endif
    if (wavFile) {
        // The samples still buffered, the header with the final length, and the close: each can
        // fail (a full disk shows only here), and each failure fails the run.
        uint8_t header[kWavHeaderBytes];
        WavHeader(header, wavDataBytes);
        errno = 0;
        if (wavFailure.empty() && (std::fflush(wavFile) != 0 || std::fseek(wavFile, 0, SEEK_SET) != 0)) WavFailed(errno);
        WavWrite(header, sizeof header);
        errno = 0;
        if (std::fclose(wavFile) != 0) WavFailed(errno);
        wavFile = nullptr;
    }
    HostMixerSetLockstep(0);
    HostMixerSetPassOnMixer(0);
    HostMixerSetUnheard(0);
    audioOpen = 0;
    onGameTime = 0;
}

void HostAudioFramePresented()
{
    if (!audioOpen || !onGameTime) return;
    gameMilliseconds += kFrameMilliseconds;
    const uint64_t target = gameMilliseconds * kHostSampleRate / 1000;
    int16_t chunk[2 * kChunkSamples];
    while (gameSamples < target) {
        const int n = int(std::min<uint64_t>(kChunkSamples, target - gameSamples));
        HostMixerRender(chunk, n);
        gameSamples += uint64_t(n);
        if (wavFile && wavDataBytes <= 0xFFFFFFFFu - kWavHeaderBytes - uint32_t(4 * n)) {
            if (WavWrite(chunk, 4 * size_t(n))) wavDataBytes += uint32_t(4 * n);
        }
    }
}
