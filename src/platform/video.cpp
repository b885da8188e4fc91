// Video playback over the host's decoder. A clip takes an 8 MB heap from the game's memory
// manager for the player's own memory: the picture (a 320 x 240 RGB565 bitmap that the GPU draws
// as the lower screen's background, in the 2 MB display block) and the sound ring. The decoder's
// working memory is FFmpeg's own. Clip time advances by updateRate per presented frame, so the
// picture shown and the sound handed on depend only on the frames presented: a seeded headless run
// repeats. The sound ring holds one second of the clip's mono samples; the main thread appends
// what the decoder gives, the sound thread hands whole 4096-byte packets to one mixer voice.
#include "platform/video.h"

#include <cstring>
#include <mutex>

#include "host/gpu.h"
#include "host/mixer.h"
#include "host/videodecode.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "platform/applet.h"
#include "platform/bitmap.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/sound.h"
#include "platform/utilities.h"

int videoPlaying = 0;

static memHeap s_Heap;
static void* s_HeapArea = nullptr;  // the 8 MB from the game's heap
static uint8_t* s_GxBuffer = nullptr;
static DS3_bitmap_tag* s_Picture = nullptr;
static HostVideo* player = nullptr;
static char s_fileName[kVideoMaxPath + 1];
static int status = kVideoStatusReady;
static int64_t clipMs = 0;
static int endApplication = 0;
// 0: sleep stays refused through a blocking clip (the intro), whatever happened during it.
static int sleepAvailable = 1;

// The sound: the first stream's format, the ring, the voice it plays on and its volume, shared
// with the sound thread under ringLock.
static std::mutex ringLock;
static int s_AudioRate = 0;
static int s_AudioChannels = 0;
static uint8_t* s_AudioBuffer = nullptr;
static uint32_t s_AudioBufferSize = 0;
static uint32_t s_AudioBufferOffset = 0;
static uint32_t s_AudioBufferRemaining = 0;
static DS3_soundChannel_tag* s_Voice = nullptr;
static int s_VoiceStarted = 0;
static float videoVolume = 1.0f;

enum : uint32_t {
    kVideoHeapBytes = 0x800000,
    kGxBufferBytes = 0x200000,
    kVideoHeapRecords = 64,
    kPacketBytes = 4096,
};

static uint8_t* HeapBlock(uint32_t size)
{
    void* p = nullptr;
    return AllocateTempHeapMemory(int(size), &s_Heap, &p) ? static_cast<uint8_t*>(p) : nullptr;
}

// The picture's bitmap at the start of the display block, its texels right after the header.
static int MakePicture()
{
    s_GxBuffer = HeapBlock(kGxBufferBytes);
    if (!s_GxBuffer) return PrintError("video: no room for the display block");
    std::memset(s_GxBuffer, 0, sizeof(DS3_bitmap_tag) + kHostVideoWidth * kHostVideoHeight * 2);
    auto* b = reinterpret_cast<DS3_bitmap_tag*>(s_GxBuffer);
    b->width = b->physicalWidth = kHostVideoWidth;
    b->height = b->physicalHeight = kHostVideoHeight;
    b->pitch = kHostVideoWidth * 2;
    b->pixelFormat = kPixelRGB565;
    b->numMipmapLevels = 1;
    b->widthInv = 1.0f / float(kHostVideoWidth);
    b->heightInv = 1.0f / float(kHostVideoHeight);
    b->textureSize = kHostVideoWidth * kHostVideoHeight * 2;
    if (!DS3_InitializeBitmap(b)) return PrintError("video: the picture cannot be made");
    s_Picture = b;
    return 1;
}

// The system: the heap, the display block and the picture. 0 (with everything given back) when
// the game's heap has no 8 MB to spare.
static int MBInit()
{
    if (!AllocateMemory(&s_HeapArea, int(kVideoHeapBytes))) {
        s_HeapArea = nullptr;
        return PrintError("video: no room for the video heap");
    }
    auto* start = static_cast<u8*>(s_HeapArea);
    if (!InitMemoryHeap(&s_Heap, start, start + kVideoHeapBytes, kVideoHeapRecords, 128, 0, 1)) {
        DestroyMemory(&s_HeapArea);
        return PrintError("video: the video heap cannot be made");
    }
    if (!MakePicture()) {
        DisposeMemoryHeap(&s_Heap);
        DestroyMemory(&s_HeapArea);
        return 0;
    }
    return 1;
}

static void MBFinalize()
{
    RenderSelectBackground(nullptr);
    s_Picture = nullptr;
    s_GxBuffer = nullptr;
    if (s_HeapArea) {
        DisposeMemoryHeap(&s_Heap);
        DestroyMemory(&s_HeapArea);
    }
}

int OnNewAudioStream(int sampleRate, int channels)
{
    if (s_AudioRate != 0) {
        if (sampleRate == s_AudioRate && channels == s_AudioChannels) return 1;
        PrintError("video: a sound stream of %d Hz x %d does not match the first (%d Hz x %d)", sampleRate, channels,
                   s_AudioRate, s_AudioChannels);
        return 0;
    }
    // One second of the samples as the ring keeps them (mono, 16-bit), in whole 4096-byte pages.
    const uint32_t size = (uint32_t(sampleRate) * 2u + 4095u) & ~4095u;
    uint8_t* ring = s_HeapArea ? HeapBlock(size) : nullptr;
    if (!ring) return PrintError("video: no room for the sound ring");
    std::lock_guard<std::mutex> lock(ringLock);
    if (!s_Voice && !SoundAllocateMonoChannel(&s_Voice)) s_Voice = nullptr;
    s_AudioRate = sampleRate;
    s_AudioChannels = channels;
    s_AudioBuffer = ring;
    s_AudioBufferSize = size;
    s_AudioBufferOffset = 0;
    s_AudioBufferRemaining = 0;
    s_VoiceStarted = 0;
    return 1;
}

// Caller holds ringLock.
static int PushLocked()
{
    if (!s_AudioBuffer || !s_Voice) return 1;
    const int voice = s_Voice->channelNum;
    while (s_AudioBufferRemaining > kPacketBytes) {
        // The voice takes one buffer playing and one queued.
        if (s_VoiceStarted && HostVoiceIsPlaying(voice) && HostVoiceHasQueued(voice)) return 1;
        uint32_t run = s_AudioBufferSize - s_AudioBufferOffset;
        if (run > s_AudioBufferRemaining) run = s_AudioBufferRemaining;
        run &= ~(kPacketBytes - 1);
        if (run == 0) return 1;
        const uint8_t* data = s_AudioBuffer + s_AudioBufferOffset;
        int ok;
        if (s_VoiceStarted && HostVoiceIsPlaying(voice)) {
            ok = HostVoiceQueueBuffer(voice, data, run / 2, kHostSamplePcm16, uint32_t(s_AudioRate), nullptr);
        } else {
            ok = HostVoiceSetBuffer(voice, data, run / 2, kHostSamplePcm16, uint32_t(s_AudioRate), nullptr) &&
                 HostVoiceSetMix(voice, 0.5f, 0.5f) && HostVoiceSetVolume(voice, videoVolume) &&
                 HostVoiceSetState(voice, kHostVoicePlay);
            s_VoiceStarted = ok;
        }
        if (!ok) return 0;
        s_AudioBufferOffset += run;
        if (s_AudioBufferOffset == s_AudioBufferSize) s_AudioBufferOffset = 0;
        s_AudioBufferRemaining -= run;
    }
    return 1;
}

int PushAudioData()
{
    std::lock_guard<std::mutex> lock(ringLock);
    return PushLocked();
}

int OnAudioFrame(const int16_t* samples, uint32_t count)
{
    std::lock_guard<std::mutex> lock(ringLock);
    if (!s_AudioBuffer) return 0;
    if (!PushLocked()) return 0;
    const auto* bytes = reinterpret_cast<const uint8_t*>(samples);
    uint32_t length = count * 2u;
    // What would overrun the second of sound not yet played is dropped.
    if (length > s_AudioBufferSize - s_AudioBufferRemaining) length = s_AudioBufferSize - s_AudioBufferRemaining;
    uint32_t at = (s_AudioBufferOffset + s_AudioBufferRemaining) % s_AudioBufferSize;
    while (length > 0) {
        uint32_t n = s_AudioBufferSize - at;
        if (n > length) n = length;
        std::memcpy(s_AudioBuffer + at, bytes, n);
        bytes += n;
        length -= n;
        s_AudioBufferRemaining += n;
        at = (at + n) % s_AudioBufferSize;
    }
    return PushLocked();
}

uint32_t VideoAudioRingSize()
{
    std::lock_guard<std::mutex> lock(ringLock);
    return s_AudioBufferSize;
}

uint32_t VideoAudioPending()
{
    std::lock_guard<std::mutex> lock(ringLock);
    return s_AudioBufferRemaining;
}

static int SoundPass(void*)
{
    PushAudioData();
    return 1;
}

// The sound's end: the voice stops and the ring is forgotten (the heap that holds it goes next).
static void StopSound()
{
    SoundThreadSetCB(nullptr);
    std::lock_guard<std::mutex> lock(ringLock);
    if (s_Voice) {
        HostVoiceSetState(s_Voice->channelNum, kHostVoiceStop);
        DeleteSoundChannel(&s_Voice);
    }
    s_AudioBuffer = nullptr;
    s_AudioBufferSize = s_AudioBufferOffset = s_AudioBufferRemaining = 0;
    s_AudioRate = s_AudioChannels = 0;
    s_VoiceStarted = 0;
}

static int SinkNewAudio(void*, int rate, int channels) { return OnNewAudioStream(rate, channels); }
static void SinkAudio(void*, const int16_t* samples, uint32_t count) { OnAudioFrame(samples, count); }

// Opens the clip and readies the player: the picture becomes the lower screen's background and
// the sound thread starts feeding the voice. 0 when the clip cannot be played.
static int OpenClip(const char* path)
{
    HostVideoSink sink = {nullptr, SinkNewAudio, nullptr, SinkAudio};
    const char* why = "";
    player = HostVideoOpen(path, &sink, &why);
    if (!player) {
        status = kVideoStatusFailed;
        StopSound();
        return PrintError("video: %s: %s", path, why);
    }
    HostVideoSetTarget(player, s_Picture->pixels.get(), kHostVideoWidth * 2);
    // The voice starts once a whole packet is in the ring: the sound is read that much (and a
    // frame) ahead of the pictures, so that it is heard with the picture it belongs to.
    {
        std::lock_guard<std::mutex> lock(ringLock);
        if (s_AudioRate > 0) HostVideoSetSoundLead(player, int(kPacketBytes * 1000u / (2u * uint32_t(s_AudioRate))) + updateRate);
    }
    clipMs = 0;
    endApplication = 0;
    status = kVideoStatusRunning;
    SoundThreadSetCB(SoundPass);
    RenderSelectBackground(s_Picture);
    return 1;
}

static void CloseClip()
{
    StopSound();
    HostVideoClose(player);
    player = nullptr;
}

// Decodes up to the current clip time and moves the clock on by one frame.
static int StepClip()
{
    const int result = HostVideoDecodeUntil(player, clipMs);
    clipMs += updateRate;
    status = result == kHostVideoRunning ? kVideoStatusRunning
             : result == kHostVideoEnded ? kVideoStatusReady
                                         : kVideoStatusFailed;
    return status;
}

// A new press of A or START: set in both the pressed edges and the buttons held.
static int SkipPressed()
{
    const uint16_t mask = kButtonA | kButtonStart;
    return (allInput.edges & allInput.buttons & mask) != 0;
}

static int PresentFrame()
{
    if (!RenderStartScreen()) return 0;
    RenderStartDisplay0();
    RenderEndDisplay0();
    RenderStartDisplay1();  // the picture is the background
    RenderEndDisplay1();
    return RenderDoneScreen();
}

static void MBPlay(const char* path)
{
    if (!OpenClip(path)) return;
    // A button already held when the clip starts is not a new press: the first read takes it in.
    ReadControls(nullptr);
    while (!done) {
        if (StepClip() != kVideoStatusRunning) break;
        if (!PresentFrame()) break;
        ReadControls(nullptr);
        if (SkipPressed()) endApplication = 1;
        if (endApplication) break;
    }
    CloseClip();
}

int PlayVideo(const char* path)
{
    if (!path || player) return 1;
    videoPlaying = 1;
    if (MBInit()) {
        MBPlay(path);
        MBFinalize();
    }
    if (!sleepAvailable) DisableSleepMode();
    videoPlaying = 0;
    return 1;
}

int StartVideo(const char* path)
{
    if (!path || std::strlen(path) > size_t(kVideoMaxPath)) return PrintError("video: the path is too long");
    if (player) DisposeVideo();
    std::strcpy(s_fileName, path);
    if (!MBInit()) return 0;
    DisableSleepMode();
    if (!OpenClip(s_fileName)) {
        PrintError("StartVideo :: TryInitialize failed");
        DisposeVideo();
        return 0;
    }
    videoPlaying = 1;
    return 1;
}

int UpdateVideo(int* ended)
{
    if (ended) *ended = 0;
    if (!videoPlaying || !player) return 1;
    const int s = StepClip();
    if (ended && (s != kVideoStatusRunning || endApplication || done)) *ended = 1;
    return 1;
}

int DisposeVideo()
{
    if (player) CloseClip();
    StopSound();
    MBFinalize();
    EnableSleepMode(true);
    videoPlaying = 0;
    return 1;
}

int VideoPlaying() { return videoPlaying; }
int VideoKilled() { return endApplication; }
int SetVideoKilled()
{
    endApplication = 1;
    return 1;
}
int SetVideoVolume(int percent)
{
    std::lock_guard<std::mutex> lock(ringLock);
    videoVolume = float(percent) * 0.01f;
    return 1;
}
int SetSleepAvailable(int available)
{
    sleepAvailable = available;
    return 1;
}
int VideoStatus() { return status; }
int VideoPicturesShown() { return HostVideoPicturesShown(player); }
