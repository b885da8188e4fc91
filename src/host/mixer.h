// The host's sound processor: 24 mono voices mixed in software into one stereo stream at the
// console's output rate, in frames of 160 samples. Each voice plays one wave buffer (8-bit or
// 16-bit PCM, or 4-bit ADPCM) at its own sample rate, with a volume and a left/right mix. The
// platform's sound layer programs the voices; an audio output (host/audio.h) or a test pulls the
// mixed samples. After every frame the sound thread, waiting in HostDspWaitFrame, is woken; in
// lockstep the frame's pass is over before the mixer goes on, so that a run that mixes on game
// time hears every buffer switch at the same sample.
#pragma once

#include <cstdint>

constexpr int kHostVoices = 24;
constexpr int kHostSampleRate = 32728;
constexpr int kHostDspFrameSamples = 160;

enum { kHostVoicePlay = 0, kHostVoiceStop = 1, kHostVoicePause = 2 };
enum { kHostSamplePcm8 = 0, kHostSamplePcm16 = 1, kHostSampleAdpcm = 2 };

// ADPCM decoding state of one wave buffer: the eight coefficient pairs, and the history that the
// first frame continues from.
struct HostAdpcmParams {
    int16_t coefficients[16];
    int16_t history1;
    int16_t history2;
};

// Stops every voice and forgets its buffer. The frame count starts again at 0.
void HostMixerReset();

// Gives a voice a new wave buffer of numSamples samples at sampleRate Hz, played from its start.
// adpcm is read for kHostSampleAdpcm only (null: zero coefficients). The data must stay valid
// until the voice is stopped or given another buffer. 0 for a bad voice, format or rate.
int HostVoiceSetBuffer(int voice, const void* data, uint32_t numSamples, int format, uint32_t sampleRate,
                       const HostAdpcmParams* adpcm);
// Queues a buffer to follow the voice's current one without a gap (replacing one queued
// before); a new buffer or a stop drops it. 0 for a bad voice, format or rate.
int HostVoiceQueueBuffer(int voice, const void* data, uint32_t numSamples, int format, uint32_t sampleRate,
                         const HostAdpcmParams* adpcm);
// 1 while a queued buffer waits for the current one to end.
int HostVoiceHasQueued(int voice);
// kHostVoicePlay, kHostVoiceStop (which also drops the buffer) or kHostVoicePause.
int HostVoiceSetState(int voice, int state);
int HostVoiceState(int voice);
// 1 while the voice has samples still to play, in its buffer or a queued one (paused or not).
int HostVoiceIsPlaying(int voice);
// 1 once the voice's last buffer has been played to its end; cleared by a new buffer or a stop.
int HostVoiceReachedEnd(int voice);
int HostVoiceSetVolume(int voice, float volume);
int HostVoiceSetMix(int voice, float left, float right);

// Mixes the next `frames` stereo sample pairs into out (interleaved left, right), waking the sound
// thread after every 160 samples (and waiting for it in lockstep).
void HostMixerRender(int16_t* out, int frames);
// Sample pairs mixed since the last reset.
uint64_t HostMixerSamplesMixed();

// Lockstep: after each frame the mixer waits until the attached sound thread has called
// HostDspFrameDone for it. Without an attached thread the mixer never waits.
void HostMixerSetLockstep(int on);
// When nobody listens (headless without a sound file) the voices still advance sample by sample,
// ending and switching buffers exactly as when heard, but the mixed samples are silence.
void HostMixerSetUnheard(int on);
// In lockstep the thread's pass (HostDspSetPass) is run by the mixer itself, on the thread that
// mixes, right after each frame: the same order of events as handing the frame to the sound
// thread and waiting, without two thread switches every 160 samples. Off (the default), the
// sound thread serves every frame itself; tests of that hand-over turn this off.
void HostMixerSetPassOnMixer(int on);

// The sound thread's side. Attach before its loop, detach when it ends (that releases a waiting
// mixer). HostDspWaitFrame waits for the next mixed frame and returns 1, or 0 once HostDspStop has
// been called; HostDspFrameDone reports that the thread's pass for that frame is over.
// HostDspSetPass names the pass, for the mixer to run in its place (null: none).
void HostDspSetPass(void (*pass)());
void HostDspAttach();
void HostDspDetach();
int HostDspWaitFrame();
void HostDspFrameDone();
void HostDspStop();
