// Video playback: the intro logos, played blocking at start-up until they end or a new press of A
// or START skips them, and the celebration clips, played while the game goes on and stepped once
// per frame. The host decodes the clip (host/videodecode.h); this module keeps the player's state,
// its 8 MB working heap from the game's memory manager, the picture shown as the lower screen's
// background, and the one-second sound ring that the sound thread hands to a mixer voice.
// Clips run on game time: each presented frame advances a clip by updateRate milliseconds.
#pragma once

#include <cstdint>

// The longest path StartVideo takes.
constexpr int kVideoMaxPath = 64;
// Player status values.
enum { kVideoStatusReady = 1, kVideoStatusRunning = 4, kVideoStatusFailed = 7 };

// Blocking playback of one clip; a missing or damaged clip plays nothing. Always 1.
int PlayVideo(const char* path);
// Starts a clip that plays while the game goes on. 0 when the path is longer than 64 characters,
// the clip cannot be opened or decoded, or the video heap cannot be had.
int StartVideo(const char* path);
// One frame of a clip started with StartVideo: *done = 1 when it ended, failed or was killed.
// The caller then calls DisposeVideo. Always 1.
int UpdateVideo(int* done);
// Stops and tears down a clip started with StartVideo (nothing when none plays). Always 1.
int DisposeVideo();

// 1 while a clip started with StartVideo plays: the game goes on and the clip shows on the lower
// screen (as its background; see RenderSelectBackground).
extern int videoPlaying;
int VideoPlaying();
// Whether playback was ordered to end (a skip, HOME, the close order); SetVideoKilled orders it.
int VideoKilled();
int SetVideoKilled();
// Volume of the clips' sound, 0..100.
int SetVideoVolume(int percent);
// 0: sleep stays refused when control comes back after a clip.
int SetSleepAvailable(int available);

// The player's callbacks, as the decoder reports to them. Exposed for tests.
// A sound stream: the first makes the ring and the voice; a later one must have the same rate
// and channel count or it is refused (0).
int OnNewAudioStream(int sampleRate, int channels);
// Appends mono 16-bit samples to the ring and hands the voice what is pending.
int OnAudioFrame(const int16_t* samples, uint32_t count);
// Hands the mixer voice the largest run of whole 4096-byte packets pending, up to the ring's end,
// when the voice can take another buffer. The sound thread's callback; 0 when the voice refused.
int PushAudioData();
// The ring: its size in bytes, and bytes pending (appended but not handed to the voice).
uint32_t VideoAudioRingSize();
uint32_t VideoAudioPending();
// The player's status (kVideoStatus...), and pictures shown of the current clip.
int VideoStatus();
int VideoPicturesShown();
