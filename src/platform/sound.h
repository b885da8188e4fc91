// Sound voices and channels: start-up of the sound services and the sound thread, the per-frame
// upkeep on the main thread (ends of sounds, loops, fades, freeing), sound resources played on
// channels of their own, and channels kept by a caller. Channel i drives voice i of the host's
// mixer; a stereo sound takes two channels, the primary on the left and its partner on the right.
#pragma once

#include <cstdint>

#include "host/ptr32.h"
#include "lib/resourceids.h"

struct DS3_soundChannel_tag;
struct DS3_stream_tag;

enum { kSoundFormatPcm8 = 0, kSoundFormatPcm16 = 1, kSoundFormatAdpcm = 2, kSoundFormatWaveFile = 3 };
enum { kSoundFlagStereo = 1 };
constexpr int kNumSoundChannels = 24;
constexpr uint32_t kSoundHeaderBytes = 36;

// A sound resource: this record, then soundLength bytes of samples. A stereo sound's right half
// follows as a record of its own with its samples.
struct DS3_sound_tag {
    uint32_t flags;  // kSoundFlagStereo
    uint32_t frequency;
    Ptr32<uint8_t> samplePtr;
    uint32_t soundLength;  // bytes of one channel
    uint32_t numSamples;
    uint32_t duration;  // milliseconds
    Ptr32<DS3_soundChannel_tag> soundChannel;
    Ptr32<DS3_sound_tag> stereoSound;  // the right half
    uint16_t format;
    uint16_t reserved;
};
static_assert(sizeof(DS3_sound_tag) == kSoundHeaderBytes, "sound records are 36 bytes");

struct DS3_soundChannel_tag {
    uint32_t flags;  // bit 0: this is a stereo partner
    int channelNum;
    uint32_t channelBitMask;
    uint32_t loopCount;  // 0 for ever, 1 once, n n times
    uint32_t startTicks;
    int (*completionCallback)(void*);
    void* completionCallbackData;
    int inUse;
    int playing;    // under upkeep
    int started;    // the voice has been seen playing since the start
    int purgeable;  // freed when the sound ends
    DS3_soundChannel_tag* stereoChannel;
    float volume;
    float finalVolume;
    float volumeDelta;
    DS3_sound_tag* sound;
    DS3_stream_tag* stream;
};
enum { kChannelFlagPartner = 1 };

int InitializeSoundServices();
// Deletes every stream and channel, stops the sound thread and closes the audio output, before
// the memory they use goes at tear-down.
int DisposeSoundServices();
int UpdateSoundServices();

// Plays sound resource rsid at volumePercent (0..100), loopCount times (0 for ever) on channels
// that free themselves at the end. 1 when it started.
int SoundPlayResource(unsigned int rsid, unsigned char volumePercent, unsigned int loopCount);
int SoundAllocateMonoChannel(DS3_soundChannel_tag** out);
int SoundAllocateStereoChannel(DS3_soundChannel_tag** out);
// Starts sound on channel (the partner takes a stereo sound's right half) at the given volumes
// (1.0 full). The channel frees itself at the end. 0 for a null sound or channel.
int SoundStartChannel(DS3_sound_tag* sound, DS3_soundChannel_tag* channel, float volume, float partnerVolume,
                      unsigned int loopCount);
// Queues sound to follow what the channel plays now without a gap (the partner takes a stereo
// sound's right half). 0 for a null sound or channel.
int SoundQueueChannel(DS3_soundChannel_tag* channel, DS3_sound_tag* sound);
// Stops a kept channel and starts sound resource rsid on it. 1 when it started.
int SoundStartResource(DS3_soundChannel_tag* channel, int rsid);
// Programs the voice(s) from the channel and starts them.
int StartSoundChannel(DS3_soundChannel_tag* channel);
// Stop / pause / resume a channel and its partner. 0 for a null channel.
int SoundCancel(DS3_soundChannel_tag* channel);
int SoundPauseChannel(DS3_soundChannel_tag* channel);
int SoundResumeChannel(DS3_soundChannel_tag* channel);
// 0 loops for ever, 1 plays once, n plays n times. 0 for a null channel.
int SoundSetLoopCount(DS3_soundChannel_tag* channel, int loopCount);
int SoundSetCompletionCallback(DS3_soundChannel_tag* channel, int (*callback)(void*), void* data);
// Volume 0..100 of a channel and its partner, at once. 0 for a null channel.
int SetChannelVolume(DS3_soundChannel_tag* channel, int volumePercent);
// Fades a channel (every playing channel when null) to volumePercent over milliseconds (0: 1000),
// one step per upkeep counted in 17 ms steps.
int SetChannelVolumeFade(DS3_soundChannel_tag* channel, int volumePercent, int milliseconds);
int SoundVoiceIsPlaying(int voice);
// Stops and frees a channel and its partner and clears the pointer.
int DeleteSoundChannel(DS3_soundChannel_tag** channel);
// Frees every channel in use except those of streams, which go with their streams.
int DeleteAllSoundChannels();
void SoundThreadSetCB(int (*callback)(void*));
// Prepares a loaded sound resource of `length` bytes; 0 when it is damaged or of a format this
// build does not play.
int InitializeSoundResource(DS3_sound_tag* sound, int32_t length);
// Samples of `bytes` bytes of one channel in a format.
uint32_t SoundSamplesInBytes(uint32_t bytes, int format);

// The 24 channels (null before start-up) and the sound services' state.
extern DS3_soundChannel_tag* soundChannels;
extern int soundInitialized;

// The game's two effects channels (the ball's rolling sound), kept for the length of a game.
extern DS3_soundChannel_tag* gameSoundChannel;
extern DS3_soundChannel_tag* gameSoundChannel2;
