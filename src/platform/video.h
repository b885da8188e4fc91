// Video playback of the intro and celebration clips.
#pragma once

int PlayVideo(const char* path);
int SetSleepAvailable(int available);
