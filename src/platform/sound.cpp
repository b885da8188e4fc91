// Sound services: the sound thread, the channels on the mixer's voices, sound resources played on
// their own channels and the per-frame upkeep of ends, loops and fades.
#include "platform/sound.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

#include "host/audio.h"
#include "host/clock.h"
#include "host/mixer.h"
#include "host/threads.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resources.h"
#include "platform/streams.h"

DS3_soundChannel_tag* soundChannels = nullptr;
int soundInitialized = 0;
DS3_soundChannel_tag* gameSoundChannel = nullptr;
DS3_soundChannel_tag* gameSoundChannel2 = nullptr;

// The channels are changed by the main thread and, for the streams' buffer switches, by the
// sound thread: every channel field is read and written under channelLock. A thread that holds
// a stream lock may take it; nothing takes a stream lock while holding it.
static std::recursive_mutex channelLock;
// Guards the sound thread's extra callback.
static std::mutex soundSection;
static int (*soundThreadCB)(void*) = nullptr;
static HostThread* soundThread = nullptr;
static std::atomic<int> soundThreadRunning{0};

// Fades step once per upkeep but are counted in steps of this many milliseconds.
static const int kFadeStepMilliseconds = 17;
static const int kDefaultFadeMilliseconds = 1000;
static const int kAdpcmFrameBytes = 8;
static const int kAdpcmFrameSamples = 14;

using Lock = std::lock_guard<std::recursive_mutex>;

// The sound thread's work for one mixed frame: its extra callback, then the streams' buffers.
// On game time the mixer runs it in the thread's place (host/mixer.h).
static void SoundFramePass()
{
    {
        std::lock_guard<std::mutex> lock(soundSection);
        if (soundThreadCB) soundThreadCB(nullptr);
    }
    UpdateStreaming();
}

static void SoundThreadFunc()
{
    while (soundThreadRunning && HostDspWaitFrame()) {
        SoundFramePass();
        HostDspFrameDone();
    }
    HostDspDetach();
}

int InitializeSoundServices()
{
    if (soundInitialized) return 1;
    void* block = nullptr;
    if (!AllocateClearedMemory(&block, int(sizeof(DS3_soundChannel_tag)) * kNumSoundChannels))
        return PrintError("InitializeSoundServices: no memory for the sound channels");
    if (!HostAudioOpen()) {
        FreeManagedMemory(block, 0);
        return PrintError("InitializeSoundServices: the audio output cannot be opened");
    }
    HostMixerReset();
    {
        Lock lock(channelLock);
        soundChannels = static_cast<DS3_soundChannel_tag*>(block);
        for (int i = 0; i < kNumSoundChannels; ++i) soundChannels[i].channelNum = i;
    }
    // Attached before the thread runs, so that the first mixed frame already waits for it.
    HostDspSetPass(SoundFramePass);
    HostDspAttach();
    soundThreadRunning = 1;
    soundThread = new HostThread;
    soundThread->Start(SoundThreadFunc);
    soundInitialized = 1;
    return 1;
}

int DisposeSoundServices()
{
    if (!soundInitialized) return 1;
    int ok = DeleteAllStreams();
    {
        Lock lock(channelLock);
        for (int i = 0; i < kNumSoundChannels; ++i) {
            DS3_soundChannel_tag* c = &soundChannels[i];
            if (c->inUse && !DeleteSoundChannel(&c)) ok = 0;
        }
    }
    soundThreadRunning = 0;
    HostDspStop();
    soundThread->Join();
    delete soundThread;
    soundThread = nullptr;
    HostDspSetPass(nullptr);
    HostAudioClose();
    HostMixerReset();
    {
        Lock lock(channelLock);
        FreeManagedMemory(soundChannels, 0);
        soundChannels = nullptr;
        gameSoundChannel = gameSoundChannel2 = nullptr;
    }
    soundInitialized = 0;
    return ok;
}

uint32_t SoundSamplesInBytes(uint32_t bytes, int format)
{
    switch (format) {
    case kSoundFormatPcm8: return bytes;
    case kSoundFormatPcm16: return bytes / 2;
    case kSoundFormatAdpcm: {
        // Each 8-byte frame is a header byte and 14 four-bit samples; a short last frame counts
        // the samples it holds.
        uint32_t samples = bytes / kAdpcmFrameBytes * kAdpcmFrameSamples;
        const uint32_t rest = bytes % kAdpcmFrameBytes;
        if (rest > 1) samples += (rest - 1) * 2;
        return samples;
    }
    default: return 0;
    }
}

// Samples and duration of one record whose data starts right after it and lies within `room`
// bytes from the record's start.
static int InitializeSoundRecord(DS3_sound_tag* sound, uint16_t format, int64_t room)
{
    if (room < int64_t(kSoundHeaderBytes) || int64_t(sound->soundLength) > room - int64_t(kSoundHeaderBytes))
        return PrintError("sound resource: %d bytes of samples do not fit", int(sound->soundLength));
    if (sound->frequency == 0) return PrintError("sound resource: a sample rate of 0 cannot be played");
    sound->samplePtr = reinterpret_cast<uint8_t*>(sound) + kSoundHeaderBytes;
    sound->numSamples = SoundSamplesInBytes(sound->soundLength, format);
    sound->duration = uint32_t(double(sound->numSamples) / sound->frequency * 1000.0 + 0.5);
    sound->soundChannel = nullptr;
    return 1;
}

int InitializeSoundResource(DS3_sound_tag* sound, int32_t length)
{
    if (!sound || length < int32_t(kSoundHeaderBytes)) return PrintError("sound resource: shorter than its record");
    if (sound->format > kSoundFormatAdpcm)
        return PrintError("sound resource: format %d is not played by this build", int(sound->format));
    if (!InitializeSoundRecord(sound, sound->format, length)) return 0;
    sound->stereoSound = nullptr;
    if (!(sound->flags & kSoundFlagStereo)) return 1;
    const int64_t rightAt = int64_t(kSoundHeaderBytes) + sound->soundLength;
    if (rightAt + int64_t(kSoundHeaderBytes) > length) return PrintError("sound resource: the right half is missing");
    if (rightAt % 4 != 0) return PrintError("sound resource: the right half's record is not on a 4-byte boundary");
    auto* right = reinterpret_cast<DS3_sound_tag*>(reinterpret_cast<uint8_t*>(sound) + rightAt);
    // The right half is played in the left half's format.
    if (!InitializeSoundRecord(right, sound->format, length - rightAt)) return 0;
    right->flags = 0;
    right->stereoSound = nullptr;
    sound->stereoSound = right;
    return 1;
}

// Resets a free channel for a new owner. Caller holds channelLock.
static void ResetChannel(DS3_soundChannel_tag* c)
{
    const int number = c->channelNum;
    *c = DS3_soundChannel_tag{};
    c->channelNum = number;
    c->loopCount = 1;
    c->inUse = 1;
    c->volume = c->finalVolume = 1.0f;
}

// The first free channel, in index order, whose voice is not playing. Caller holds channelLock.
static DS3_soundChannel_tag* TakeChannel()
{
    if (!soundChannels) return nullptr;
    for (int i = 0; i < kNumSoundChannels; ++i) {
        DS3_soundChannel_tag* c = &soundChannels[i];
        if (c->inUse) continue;
        if (HostVoiceState(i) == kHostVoicePlay && HostVoiceIsPlaying(i)) continue;
        ResetChannel(c);
        return c;
    }
    return nullptr;
}

static void FreeChannel(DS3_soundChannel_tag* c)
{
    HostVoiceSetState(c->channelNum, kHostVoiceStop);
    c->playing = 0;
    c->purgeable = 0;
    c->inUse = 0;
}

int SoundAllocateMonoChannel(DS3_soundChannel_tag** out)
{
    Lock lock(channelLock);
    DS3_soundChannel_tag* c = TakeChannel();
    if (!c) return 0;
    if (out) *out = c;
    return 1;
}

int SoundAllocateStereoChannel(DS3_soundChannel_tag** out)
{
    Lock lock(channelLock);
    DS3_soundChannel_tag* primary = TakeChannel();
    if (!primary) return 0;
    DS3_soundChannel_tag* partner = TakeChannel();
    if (!partner) {
        // Half a pair is no use to anyone: the first channel goes back.
        FreeChannel(primary);
        return 0;
    }
    partner->flags |= kChannelFlagPartner;
    primary->stereoChannel = partner;
    if (out) *out = primary;
    return 1;
}

// Programs voice v with one record's samples and starts it.
static int StartVoice(int v, const DS3_sound_tag* sound, int format, float volume, float left, float right)
{
    HostVoiceSetState(v, kHostVoiceStop);
    if (!HostVoiceSetBuffer(v, sound->samplePtr.get(), sound->numSamples, format, sound->frequency, nullptr)) return 0;
    HostVoiceSetMix(v, left, right);
    HostVoiceSetVolume(v, volume);
    return HostVoiceSetState(v, kHostVoicePlay);
}

// 1 when the channel's sound plays on two voices: a stereo sound on a channel with a partner.
static bool PlaysOnPartner(const DS3_soundChannel_tag* c)
{
    return c->sound && (c->sound->flags & kSoundFlagStereo) && c->sound->stereoSound && c->stereoChannel;
}

int StartSoundChannel(DS3_soundChannel_tag* channel)
{
    if (!channel || !channel->sound) return 0;
    Lock lock(channelLock);
    DS3_sound_tag* sound = channel->sound;
    const bool stereo = PlaysOnPartner(channel);
    // A mono sound plays in the middle even on a channel with a partner.
    const float left = stereo ? 1.0f : 0.5f;
    const float right = stereo ? 0.0f : 0.5f;
    if (!StartVoice(channel->channelNum, sound, sound->format, channel->volume, left, right)) return 0;
    const uint32_t ticks = uint32_t(HostTicks());
    if (stereo) {
        DS3_soundChannel_tag* partner = channel->stereoChannel;
        partner->sound = sound->stereoSound.get();
        if (!StartVoice(partner->channelNum, partner->sound, sound->format, partner->volume, 0.0f, 1.0f)) {
            HostVoiceSetState(channel->channelNum, kHostVoiceStop);
            return 0;
        }
        partner->started = 0;
        partner->playing = 1;
        partner->startTicks = ticks;
    }
    channel->started = 0;
    channel->playing = 1;
    channel->startTicks = ticks;
    return 1;
}

int SoundStartChannel(DS3_sound_tag* sound, DS3_soundChannel_tag* channel, float volume, float partnerVolume,
                      unsigned int loopCount)
{
    if (!sound || !channel) return 0;
    Lock lock(channelLock);
    channel->purgeable = 1;
    channel->loopCount = loopCount;
    channel->sound = sound;
    channel->volume = channel->finalVolume = volume;
    // Only a channel with a partner gives it the right half; a mono channel plays the left half.
    if ((sound->flags & kSoundFlagStereo) && channel->stereoChannel) {
        channel->stereoChannel->sound = sound->stereoSound.get();
        channel->stereoChannel->volume = channel->stereoChannel->finalVolume = partnerVolume;
    }
    return StartSoundChannel(channel);
}

int SoundQueueChannel(DS3_soundChannel_tag* channel, DS3_sound_tag* sound)
{
    if (!channel || !sound) return 0;
    Lock lock(channelLock);
    channel->sound = sound;
    if (!HostVoiceQueueBuffer(channel->channelNum, sound->samplePtr.get(), sound->numSamples, sound->format,
                              sound->frequency, nullptr))
        return 0;
    if (PlaysOnPartner(channel)) {
        DS3_soundChannel_tag* partner = channel->stereoChannel;
        partner->sound = sound->stereoSound.get();
        if (!HostVoiceQueueBuffer(partner->channelNum, partner->sound->samplePtr.get(), partner->sound->numSamples,
                                  sound->format, partner->sound->frequency, nullptr))
            return 0;
    }
    return 1;
}

// The loaded sound record of a resource, or null.
static DS3_sound_tag* LoadedSound(int rsid)
{
    if (ResourceType(rsid) != kResourceTypeSound) return nullptr;
    return static_cast<DS3_sound_tag*>(ResourceHandle(rsid));
}

int SoundPlayResource(unsigned int rsid, unsigned char volumePercent, unsigned int loopCount)
{
    DS3_sound_tag* sound = LoadedSound(int(rsid));
    if (!sound) return 0;
    const float gain = volumePercent * 0.01f;
    Lock lock(channelLock);
    DS3_soundChannel_tag* channel = nullptr;
    const bool stereo = sound->flags & kSoundFlagStereo;
    if (!(stereo ? SoundAllocateStereoChannel(&channel) : SoundAllocateMonoChannel(&channel))) return 0;
    if (!SoundStartChannel(sound, channel, gain, gain, loopCount)) {
        DeleteSoundChannel(&channel);
        return 0;
    }
    return 1;
}

int SoundStartResource(DS3_soundChannel_tag* channel, int rsid)
{
    if (!channel) return 0;
    Lock lock(channelLock);
    SoundCancel(channel);
    DS3_sound_tag* sound = LoadedSound(rsid);
    if (!sound) return 0;
    channel->sound = sound;
    if ((sound->flags & kSoundFlagStereo) && channel->stereoChannel)
        channel->stereoChannel->sound = sound->stereoSound.get();
    return StartSoundChannel(channel);
}

// Sets the voice state of a channel and its partner and clears (or sets) `playing`.
static int SetChannelState(DS3_soundChannel_tag* channel, int state, int playing)
{
    if (!channel) return 0;
    Lock lock(channelLock);
    for (DS3_soundChannel_tag* c = channel; c; c = c == channel ? channel->stereoChannel : nullptr) {
        HostVoiceSetState(c->channelNum, state);
        c->playing = playing;
    }
    return 1;
}

int SoundCancel(DS3_soundChannel_tag* channel) { return SetChannelState(channel, kHostVoiceStop, 0); }
int SoundPauseChannel(DS3_soundChannel_tag* channel) { return SetChannelState(channel, kHostVoicePause, 0); }
// A resumed channel is under upkeep again, so that its end loops it or frees it.
int SoundResumeChannel(DS3_soundChannel_tag* channel) { return SetChannelState(channel, kHostVoicePlay, 1); }

int SoundSetLoopCount(DS3_soundChannel_tag* channel, int loopCount)
{
    if (!channel) return 0;
    Lock lock(channelLock);
    channel->loopCount = uint32_t(loopCount);
    return 1;
}

int SoundSetCompletionCallback(DS3_soundChannel_tag* channel, int (*callback)(void*), void* data)
{
    if (!channel) return 0;
    Lock lock(channelLock);
    channel->completionCallback = callback;
    channel->completionCallbackData = data;
    return 1;
}

int SetChannelVolume(DS3_soundChannel_tag* channel, int volumePercent)
{
    if (!channel) return 0;
    Lock lock(channelLock);
    const float gain = volumePercent * 0.01f;
    for (DS3_soundChannel_tag* c = channel; c; c = c == channel ? channel->stereoChannel : nullptr) {
        c->volume = c->finalVolume = gain;
        c->volumeDelta = 0.0f;
        HostVoiceSetVolume(c->channelNum, gain);
    }
    return 1;
}

static int FadeSteps(int milliseconds)
{
    if (milliseconds == 0) milliseconds = kDefaultFadeMilliseconds;
    const int steps = milliseconds / kFadeStepMilliseconds;
    return steps < 1 ? 1 : steps;
}

int SetChannelVolumeFade(DS3_soundChannel_tag* channel, int volumePercent, int milliseconds)
{
    const float target = volumePercent * 0.01f;
    const int steps = FadeSteps(milliseconds);
    Lock lock(channelLock);
    if (channel) {
        const float delta = (target - channel->volume) / float(steps);
        for (DS3_soundChannel_tag* c = channel; c; c = c == channel ? channel->stereoChannel : nullptr) {
            c->volumeDelta = delta;
            c->finalVolume = target;
        }
        return 1;
    }
    if (!soundChannels) return 0;
    for (int i = 0; i < kNumSoundChannels; ++i) {
        DS3_soundChannel_tag* c = &soundChannels[i];
        if (!c->playing) continue;
        c->volumeDelta = (target - c->volume) / float(steps);
        c->finalVolume = target;
    }
    return 1;
}

int SoundVoiceIsPlaying(int voice)
{
    if (voice < 0 || voice >= kNumSoundChannels) return 0;
    return HostVoiceIsPlaying(voice);
}

int DeleteSoundChannel(DS3_soundChannel_tag** channel)
{
    if (!channel || !*channel) return 0;
    Lock lock(channelLock);
    DS3_soundChannel_tag* c = *channel;
    if (c->stereoChannel) {
        FreeChannel(c->stereoChannel);
        c->stereoChannel->flags = 0;
        c->stereoChannel = nullptr;
    }
    FreeChannel(c);
    *channel = nullptr;
    return 1;
}

int DeleteAllSoundChannels()
{
    Lock lock(channelLock);
    if (!soundChannels) return 1;
    for (int i = 0; i < kNumSoundChannels; ++i) {
        DS3_soundChannel_tag* c = &soundChannels[i];
        if (!c->inUse || c->stream || (c->flags & kChannelFlagPartner)) continue;
        DeleteSoundChannel(&c);
    }
    // Partners whose primary has gone already.
    for (int i = 0; i < kNumSoundChannels; ++i) {
        DS3_soundChannel_tag* c = &soundChannels[i];
        bool owned = false;
        for (int j = 0; j < kNumSoundChannels; ++j) owned = owned || soundChannels[j].stereoChannel == c;
        if (c->inUse && !owned && !c->stream) FreeChannel(c);
    }
    if (gameSoundChannel && !gameSoundChannel->inUse) gameSoundChannel = nullptr;
    if (gameSoundChannel2 && !gameSoundChannel2->inUse) gameSoundChannel2 = nullptr;
    return 1;
}

void SoundThreadSetCB(int (*callback)(void*))
{
    std::unique_lock<std::mutex> lock(soundSection, std::try_to_lock);
    if (!lock.owns_lock()) {
        PrintError("sound: Unable to enter sound critical section");
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        lock.lock();
    }
    soundThreadCB = callback;
}

// One step of a channel's fade toward finalVolume. Caller holds channelLock.
static void StepFade(DS3_soundChannel_tag* c)
{
    if (c->volume == c->finalVolume) return;
    c->volume += c->volumeDelta;
    const bool passed = c->volumeDelta >= 0.0f ? c->volume >= c->finalVolume : c->volume <= c->finalVolume;
    // A step that lands within rounding of the target is the last one.
    if (passed || std::fabs(c->volume - c->finalVolume) < std::fabs(c->volumeDelta) * 0.01f) c->volume = c->finalVolume;
    HostVoiceSetVolume(c->channelNum, c->volume);
}

struct PendingCallback {
    int (*callback)(void*);
    void* data;
};

int UpdateSoundServices()
{
    if (!soundInitialized) return 1;
    // Completion callbacks run after the channels are unlocked: they may start streams.
    PendingCallback pending[kNumSoundChannels];
    int numPending = 0;
    int ok = 1;
    {
        Lock lock(channelLock);
        for (int i = 0; i < kNumSoundChannels && ok; ++i) {
            DS3_soundChannel_tag* c = &soundChannels[i];
            if (!c->playing) continue;
            const int voicePlays = HostVoiceIsPlaying(i);
            // A sound over before any upkeep saw it playing has ended all the same.
            if (!voicePlays && (c->started || HostVoiceReachedEnd(i))) {
                if (c->loopCount == 0) {
                    ok = StartSoundChannel(c);
                } else if (c->loopCount > 1) {
                    --c->loopCount;
                    ok = StartSoundChannel(c);
                } else if (!c->stream && !(c->flags & kChannelFlagPartner)) {
                    c->playing = 0;
                    if (c->stereoChannel) c->stereoChannel->playing = 0;
                    if (c->completionCallback)
                        pending[numPending++] = {c->completionCallback, c->completionCallbackData};
                    if (c->purgeable) {
                        DS3_soundChannel_tag* self = c;
                        ok = DeleteSoundChannel(&self);
                    }
                }
                continue;
            }
            if (voicePlays) c->started = 1;
            StepFade(c);
        }
    }
    for (int i = 0; i < numPending; ++i) pending[i].callback(pending[i].data);
    if (!UpdateStreamEnds()) ok = 0;
    return ok;
}
