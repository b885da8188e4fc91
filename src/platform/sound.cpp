// The mixer and its channels arrive with the sound work; until then no sound plays, no channel
// can be had (so the game's channel stays null), and the upkeep has nothing to do.
#include "platform/sound.h"

DS3_soundChannel_tag* gameSoundChannel = nullptr;

int InitializeSoundServices() { return 1; }
int UpdateSoundServices() { return 1; }

int SoundPlayResource(unsigned int, unsigned char, unsigned int) { return 0; }
int SoundStartResource(DS3_soundChannel_tag*, int) { return 0; }
int SoundCancel(DS3_soundChannel_tag*) { return 0; }
int SoundSetLoopCount(DS3_soundChannel_tag*, int) { return 0; }
int SetChannelVolume(DS3_soundChannel_tag*, int) { return 0; }
