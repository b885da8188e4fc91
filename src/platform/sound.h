// Sound voices and channels: start-up of the sound services and their per-frame upkeep, sound
// resources played on channels of their own, and channels kept by a caller.
#pragma once

struct DS3_soundChannel_tag;

int InitializeSoundServices();
int UpdateSoundServices();

// Plays sound resource rsid at volumePercent (0..100), loopCount times (0 for ever) on channels
// that free themselves at the end. 1 when it started.
int SoundPlayResource(unsigned int rsid, unsigned char volumePercent, unsigned int loopCount);
// Stops and starts sound resource rsid on a kept channel. 1 when it started.
int SoundStartResource(DS3_soundChannel_tag* channel, int rsid);
// Stops a kept channel. 0 for a null channel.
int SoundCancel(DS3_soundChannel_tag* channel);
// 0 loops for ever, 1 plays once, n plays n times. 0 for a null channel.
int SoundSetLoopCount(DS3_soundChannel_tag* channel, int loopCount);
// Volume 0..100 of a kept channel. 0 for a null channel.
int SetChannelVolume(DS3_soundChannel_tag* channel, int volumePercent);

// The game's own effects channel (the ball's rolling sound), kept for the length of a game.
extern DS3_soundChannel_tag* gameSoundChannel;
