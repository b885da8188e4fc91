// Where the mixed sound goes. A run with a window plays it on the PC's audio device, pulled by the
// device in real time. A run without one, or one that writes the sound to a WAV file
// (--audio-out), mixes on game time instead: every presented frame adds the samples of its 33 ms,
// in lockstep with the sound thread, so that the same run gives the same samples and each sound
// lands at its frame's time.
#pragma once

#include <string>

// Opens the output that gHostOptions asks for (a WAV file when audioOut is set, else the audio
// device when not headless, else nothing). A device that cannot be opened leaves the run on game
// time without sound; a WAV file that cannot be written fails (0).
int HostAudioOpen();
// Stops the device, or completes the WAV file's header and closes it.
void HostAudioClose();
// Why the WAV file could not be written (the first failure of a write, its header or its close,
// also reported as it happens), or null while everything written has gone to the file. A run
// whose sound file failed ends with status 1 (hostmain).
const char* HostAudioOutputFailure();
// Called once per presented frame: on game time, mixes the frame's samples (and writes them).
void HostAudioFramePresented();
// 1 when the WAV file at path can be created or written (checked before the run starts).
int HostAudioFileWritable(const std::string& path);
