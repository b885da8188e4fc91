// Video playback of the intro and celebration clips.
#pragma once

int PlayVideo(const char* path);
// 1 while a clip plays without blocking: the game goes on and the clip shows on the lower screen.
extern int videoPlaying;
int VideoPlaying();
int SetSleepAvailable(int available);
