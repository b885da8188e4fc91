// The software mixer: 24 voices decoded from PCM or ADPCM, resampled to the output rate and mixed
// into stereo frames of 160 samples.
#include "host/mixer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace {

// One wave buffer as a voice plays it.
struct Buffer {
    const uint8_t* data = nullptr;
    uint32_t numSamples = 0;
    int format = kHostSamplePcm16;
    double step = 1.0;
    HostAdpcmParams adpcm = {};
};

struct Voice {
    int state = kHostVoiceStop;
    const uint8_t* data = nullptr;
    uint32_t numSamples = 0;
    int format = kHostSamplePcm16;
    double step = 1.0;  // source samples per output sample
    float volume = 1.0f;
    float left = 0.5f;
    float right = 0.5f;
    int reachedEnd = 0;
    // Play position: the sample at `index` and the one after it, and the fraction between them.
    uint32_t index = 0;
    double fraction = 0.0;
    float current = 0.0f;
    float next = 0.0f;
    // ADPCM: the frame decoded last (-1 none yet), its samples and the history it ends with.
    HostAdpcmParams adpcm = {};
    int64_t decodedFrame = -1;
    int16_t frameSamples[14] = {};
    int16_t history1 = 0;
    int16_t history2 = 0;
    // The buffer that follows this one, when queued (data non-null).
    Buffer queued;
};

}  // namespace

static std::mutex voiceLock;  // the voices and the sample count
static Voice voices[kHostVoices];
static uint64_t samplesMixed = 0;
// Nobody listens (no device, no file): the voices play on, sample by sample, so that every
// buffer switch and end comes at the same sample, but no sample is decoded or mixed.
static bool unheard = false;

// The frame hand-over between the mixer and the sound thread.
static std::mutex syncLock;
static std::condition_variable syncChanged;
static uint64_t framesMixed = 0;  // frames completed by the mixer
static uint64_t framesSeen = 0;   // the frame the sound thread is serving or served last
static uint64_t framesDone = 0;   // the last frame whose pass the sound thread has finished
static bool threadAttached = false;
static bool threadStopping = false;
static bool lockstep = false;
static bool passOnMixer = false;
static void (*dspPass)() = nullptr;

// A waiting mixer gives up on a sound thread that does not answer within this time.
static const auto kLockstepPatience = std::chrono::seconds(2);

static const int kAdpcmFrameBytes = 8;
static const int kAdpcmFrameSamples = 14;

static bool ValidVoice(int voice) { return voice >= 0 && voice < kHostVoices; }

static void DecodeAdpcmFrame(Voice& v, int64_t frame)
{
    const uint8_t* bytes = v.data + frame * kAdpcmFrameBytes;
    const int predictor = (bytes[0] >> 4) & 7;
    const int scale = bytes[0] & 15;
    const int coefficient1 = v.adpcm.coefficients[predictor * 2];
    const int coefficient2 = v.adpcm.coefficients[predictor * 2 + 1];
    for (int i = 0; i < kAdpcmFrameSamples; ++i) {
        const uint8_t pair = bytes[1 + i / 2];
        int nibble = i % 2 == 0 ? pair >> 4 : pair & 15;
        if (nibble >= 8) nibble -= 16;
        const int predicted = coefficient1 * v.history1 + coefficient2 * v.history2;
        int sample = ((nibble * (1 << scale)) * 2048 + 1024 + predicted) >> 11;
        sample = std::clamp(sample, -32768, 32767);
        v.frameSamples[i] = int16_t(sample);
        v.history2 = v.history1;
        v.history1 = int16_t(sample);
    }
    v.decodedFrame = frame;
}

static float PcmSample(const uint8_t* data, int format, uint32_t i)
{
    if (format == kHostSamplePcm8) return float(int8_t(data[i])) / 128.0f;
    int16_t s;
    std::memcpy(&s, data + size_t(i) * 2, 2);
    return float(s) / 32768.0f;
}

// Sample i of the voice's buffer as a float in [-1, 1); past the end the queued buffer's first
// PCM sample (so that the two join smoothly), else 0. ADPCM is decoded in order, so calls for
// one buffer come with rising i.
static float Fetch(Voice& v, uint32_t i)
{
    if (i >= v.numSamples) {
        const Buffer& q = v.queued;
        if (i == v.numSamples && q.data && q.numSamples > 0 && q.format != kHostSampleAdpcm)
            return PcmSample(q.data, q.format, 0);
        return 0.0f;
    }
    switch (v.format) {
    case kHostSamplePcm8:
    case kHostSamplePcm16:
        return PcmSample(v.data, v.format, i);
    default: {
        const int64_t frame = i / kAdpcmFrameSamples;
        while (v.decodedFrame < frame) DecodeAdpcmFrame(v, v.decodedFrame + 1);
        return float(v.frameSamples[i % kAdpcmFrameSamples]) / 32768.0f;
    }
    }
}

static void Rewind(Voice& v)
{
    v.index = 0;
    v.fraction = 0.0;
    v.decodedFrame = -1;
    v.history1 = v.adpcm.history1;
    v.history2 = v.adpcm.history2;
    v.current = Fetch(v, 0);
    v.next = Fetch(v, 1);
    v.reachedEnd = 0;
}

void HostMixerReset()
{
    std::lock_guard<std::mutex> lock(voiceLock);
    for (Voice& v : voices) v = Voice();
    samplesMixed = 0;
}

static bool MakeBuffer(const void* data, uint32_t numSamples, int format, uint32_t sampleRate,
                       const HostAdpcmParams* adpcm, Buffer* out)
{
    if (format < kHostSamplePcm8 || format > kHostSampleAdpcm || sampleRate == 0) return false;
    out->data = static_cast<const uint8_t*>(data);
    out->numSamples = data ? numSamples : 0;
    out->format = format;
    out->step = double(sampleRate) / kHostSampleRate;
    out->adpcm = adpcm && format == kHostSampleAdpcm ? *adpcm : HostAdpcmParams{};
    return true;
}

// Makes b the voice's current buffer, played from its start.
static void Load(Voice& v, const Buffer& b)
{
    v.data = b.data;
    v.numSamples = b.numSamples;
    v.format = b.format;
    v.step = b.step;
    v.adpcm = b.adpcm;
    Rewind(v);
}

int HostVoiceSetBuffer(int voice, const void* data, uint32_t numSamples, int format, uint32_t sampleRate,
                       const HostAdpcmParams* adpcm)
{
    Buffer b;
    if (!ValidVoice(voice) || !MakeBuffer(data, numSamples, format, sampleRate, adpcm, &b)) return 0;
    std::lock_guard<std::mutex> lock(voiceLock);
    Voice& v = voices[voice];
    v.queued = Buffer();
    Load(v, b);
    return 1;
}

int HostVoiceQueueBuffer(int voice, const void* data, uint32_t numSamples, int format, uint32_t sampleRate,
                         const HostAdpcmParams* adpcm)
{
    Buffer b;
    if (!ValidVoice(voice) || !MakeBuffer(data, numSamples, format, sampleRate, adpcm, &b) || !b.data) return 0;
    std::lock_guard<std::mutex> lock(voiceLock);
    Voice& v = voices[voice];
    v.queued = b;
    // The last sample of the current buffer now leads into the queued one.
    if (v.numSamples > 0 && v.index + 1 >= v.numSamples) v.next = Fetch(v, v.index + 1);
    return 1;
}

int HostVoiceHasQueued(int voice)
{
    if (!ValidVoice(voice)) return 0;
    std::lock_guard<std::mutex> lock(voiceLock);
    return voices[voice].queued.data != nullptr;
}

int HostVoiceSetState(int voice, int state)
{
    if (!ValidVoice(voice) || state < kHostVoicePlay || state > kHostVoicePause) return 0;
    std::lock_guard<std::mutex> lock(voiceLock);
    Voice& v = voices[voice];
    v.state = state;
    if (state == kHostVoiceStop) {
        v.data = nullptr;
        v.numSamples = 0;
        v.reachedEnd = 0;
        v.queued = Buffer();
    }
    return 1;
}

int HostVoiceState(int voice)
{
    if (!ValidVoice(voice)) return kHostVoiceStop;
    std::lock_guard<std::mutex> lock(voiceLock);
    return voices[voice].state;
}

int HostVoiceIsPlaying(int voice)
{
    if (!ValidVoice(voice)) return 0;
    std::lock_guard<std::mutex> lock(voiceLock);
    const Voice& v = voices[voice];
    return v.state != kHostVoiceStop && (v.index < v.numSamples || v.queued.data);
}

int HostVoiceReachedEnd(int voice)
{
    if (!ValidVoice(voice)) return 0;
    std::lock_guard<std::mutex> lock(voiceLock);
    return voices[voice].reachedEnd;
}

int HostVoiceSetVolume(int voice, float volume)
{
    if (!ValidVoice(voice)) return 0;
    std::lock_guard<std::mutex> lock(voiceLock);
    voices[voice].volume = volume;
    return 1;
}

int HostVoiceSetMix(int voice, float left, float right)
{
    if (!ValidVoice(voice)) return 0;
    std::lock_guard<std::mutex> lock(voiceLock);
    voices[voice].left = left;
    voices[voice].right = right;
    return 1;
}

// Adds n output samples of one voice into mix (interleaved stereo). At the end of its buffer the
// voice goes straight on with the queued one.
static void Advance(Voice& v)
{
    while (v.fraction >= 1.0 && v.index < v.numSamples) {
        v.fraction -= 1.0;
        ++v.index;
        v.current = v.next;
        if (!unheard) v.next = Fetch(v, v.index + 1);
    }
}

// The queued buffer becomes the voice's own, entered `fraction` of a sample past its start.
static void TakeQueued(Voice& v, double fraction)
{
    const Buffer next = v.queued;
    v.queued = Buffer();
    Load(v, next);
    v.fraction = fraction;
    Advance(v);
}

static void MixVoice(Voice& v, float* mix, int n)
{
    // A buffer queued after the last one had ended starts now.
    if (v.index >= v.numSamples && v.queued.data) TakeQueued(v, 0.0);
    for (int i = 0; i < n && v.index < v.numSamples; ++i) {
        const float s = (v.current + (v.next - v.current) * float(v.fraction)) * v.volume;
        mix[2 * i] += s * v.left;
        mix[2 * i + 1] += s * v.right;
        v.fraction += v.step;
        Advance(v);
        if (v.index >= v.numSamples && v.queued.data) TakeQueued(v, v.fraction);
    }
    if (v.index >= v.numSamples && v.numSamples > 0) v.reachedEnd = 1;
}

// MixVoice's walk through the voice's buffers without the mixing, for when nobody listens: the
// place after n output samples is worked out a buffer at a time, not a sample at a time.
static void SkipVoice(Voice& v, int n)
{
    if (v.index >= v.numSamples && v.queued.data) TakeQueued(v, 0.0);
    double left = n;
    while (left > 0 && v.index < v.numSamples) {
        // The buffer's end is passed by the first output sample that brings the place to it.
        const double ahead = double(v.numSamples - v.index) - v.fraction;
        const double passing = std::max(1.0, std::ceil(ahead / v.step));
        if (passing > left) {
            const double place = v.fraction + left * v.step;
            const double whole = std::floor(place);
            v.index += uint32_t(whole);
            v.fraction = place - whole;
            break;
        }
        const double over = passing * v.step - ahead;  // how far past the end that sample lands
        v.index = v.numSamples;
        left -= passing;
        if (!v.queued.data) break;
        TakeQueued(v, over);
    }
    if (v.index >= v.numSamples && v.numSamples > 0) v.reachedEnd = 1;
}

// Mixes n (at most one frame of) samples into out.
static void MixSamples(int16_t* out, int n)
{
    float mix[2 * kHostDspFrameSamples] = {};
    {
        std::lock_guard<std::mutex> lock(voiceLock);
        for (Voice& v : voices)
            if (v.state == kHostVoicePlay && (v.data || v.queued.data)) {
                if (unheard) SkipVoice(v, n);
                else MixVoice(v, mix, n);
            }
        samplesMixed += uint64_t(n);
    }
    for (int i = 0; i < 2 * n; ++i) out[i] = int16_t(std::clamp(mix[i] * 32768.0f, -32768.0f, 32767.0f));
}

// A frame is complete: wake the sound thread, and in lockstep wait for its pass.
static void FrameCompleted()
{
    std::unique_lock<std::mutex> lock(syncLock);
    const uint64_t frame = ++framesMixed;
    if (lockstep && passOnMixer && dspPass && threadAttached && !threadStopping) {
        // A pass the thread began before the switch finishes first; then the frame counts as
        // served, so the thread goes on sleeping, and the pass runs here.
        syncChanged.wait_for(lock, kLockstepPatience,
                             [] { return !threadAttached || threadStopping || framesDone >= framesSeen; });
        framesSeen = framesDone = frame;
        void (*pass)() = dspPass;
        lock.unlock();
        pass();
        return;
    }
    syncChanged.notify_all();
    if (!lockstep) return;
    syncChanged.wait_for(lock, kLockstepPatience,
                         [frame] { return !threadAttached || threadStopping || framesDone >= frame; });
}

void HostMixerRender(int16_t* out, int frames)
{
    while (frames > 0) {
        uint64_t mixed;
        {
            std::lock_guard<std::mutex> lock(voiceLock);
            mixed = samplesMixed;
        }
        const int toBoundary = kHostDspFrameSamples - int(mixed % kHostDspFrameSamples);
        const int n = std::min(frames, toBoundary);
        MixSamples(out, n);
        out += 2 * n;
        frames -= n;
        if (n == toBoundary) FrameCompleted();
    }
}

uint64_t HostMixerSamplesMixed()
{
    std::lock_guard<std::mutex> lock(voiceLock);
    return samplesMixed;
}

void HostMixerSetLockstep(int on)
{
    std::lock_guard<std::mutex> lock(syncLock);
    lockstep = on != 0;
    syncChanged.notify_all();
}

void HostMixerSetUnheard(int on)
{
    std::lock_guard<std::mutex> lock(voiceLock);
    unheard = on != 0;
}

void HostMixerSetPassOnMixer(int on)
{
    std::lock_guard<std::mutex> lock(syncLock);
    passOnMixer = on != 0;
}

void HostDspSetPass(void (*pass)())
{
    std::lock_guard<std::mutex> lock(syncLock);
    dspPass = pass;
}

void HostDspAttach()
{
    std::lock_guard<std::mutex> lock(syncLock);
    threadAttached = true;
    threadStopping = false;
    framesSeen = framesDone = framesMixed;
}

void HostDspDetach()
{
    std::lock_guard<std::mutex> lock(syncLock);
    threadAttached = false;
    syncChanged.notify_all();
}

int HostDspWaitFrame()
{
    std::unique_lock<std::mutex> lock(syncLock);
    syncChanged.wait(lock, [] { return threadStopping || framesMixed > framesSeen; });
    if (threadStopping) return 0;
    framesSeen = framesMixed;
    return 1;
}

void HostDspFrameDone()
{
    std::lock_guard<std::mutex> lock(syncLock);
    framesDone = framesSeen;
    syncChanged.notify_all();
}

void HostDspStop()
{
    std::lock_guard<std::mutex> lock(syncLock);
    threadStopping = true;
    syncChanged.notify_all();
}
