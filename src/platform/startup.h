// Start-up of the platform layer: the split of application memory, the device heap, the file
// system and the controllers, and the splash image. The game's own start-up, which runs after this,
// is shell/startup.h.
#pragma once

// nninitStartUp, defined here, is declared with the entry points the host calls.
#include "host/entry.h"

// Application memory of the process, of which all but 2 MB becomes device memory for the game.
constexpr unsigned kApplicationMemorySize = 96u * 1024u * 1024u;

int DS3_Initialize(unsigned int maxHeapAllocations);
int SplashScreen(int resourceID, int milliseconds);
