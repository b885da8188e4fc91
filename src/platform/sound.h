// Sound voices and channels: start-up of the sound services and their per-frame upkeep.
#pragma once

int InitializeSoundServices();
int UpdateSoundServices();
