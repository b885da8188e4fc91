// Sound resources made by hand for tests: the bytes as an archive stores them, and a copy of them
// loaded into the game's heap and entered in the resource table.
#pragma once

#include <cstdint>
#include <vector>

struct DS3_sound_tag;

std::vector<uint8_t> Pcm16Bytes(const std::vector<int16_t>& samples);
// A sound record and its samples; with right, the right half's record and samples follow.
std::vector<uint8_t> SoundResourceBytes(int format, uint32_t rate, const std::vector<uint8_t>& left,
                                        const std::vector<uint8_t>* right = nullptr);
// Copies bytes into the current heap as resource rsid (the resource table must exist) and
// initialises them as a loaded sound; null when the sound is refused.
DS3_sound_tag* InstallSound(int rsid, const std::vector<uint8_t>& bytes);
// Takes rsid out of the table again, freeing its copy.
void RemoveSound(int rsid);
