// The file server: a thread that serves queued reads of the game archive and the save directory;
// completions run on the main thread at the end of each frame.
#pragma once

int FileSystemInit();
int FileSystemDispose();
int FileSystemUpdate();
