#include "support/sound_bytes.h"

#include <cstring>

#include "lib/memory.h"
#include "lib/resources.h"
#include "platform/sound.h"

std::vector<uint8_t> Pcm16Bytes(const std::vector<int16_t>& samples)
{
    std::vector<uint8_t> bytes(samples.size() * 2);
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

static void AppendRecord(std::vector<uint8_t>& out, int format, uint32_t rate, const std::vector<uint8_t>& data,
                         bool stereo)
{
    DS3_sound_tag record = {};
    record.flags = stereo ? kSoundFlagStereo : 0;
    record.frequency = rate;
    record.soundLength = uint32_t(data.size());
    record.format = uint16_t(format);
    const size_t at = out.size();
    out.resize(at + sizeof record + data.size());
    std::memcpy(out.data() + at, &record, sizeof record);
    if (!data.empty()) std::memcpy(out.data() + at + sizeof record, data.data(), data.size());
}

std::vector<uint8_t> SoundResourceBytes(int format, uint32_t rate, const std::vector<uint8_t>& left,
                                        const std::vector<uint8_t>* right)
{
    std::vector<uint8_t> out;
    AppendRecord(out, format, rate, left, right != nullptr);
    if (right) AppendRecord(out, format, rate, *right, false);
    return out;
}

DS3_sound_tag* InstallSound(int rsid, const std::vector<uint8_t>& bytes)
{
    void* block = nullptr;
    if (!AllocateMemory(&block, int(bytes.size()))) return nullptr;
    std::memcpy(block, bytes.data(), bytes.size());
    auto* sound = static_cast<DS3_sound_tag*>(block);
    if (!InitializeSoundResource(sound, int32_t(bytes.size()))) {
        FreeManagedMemory(block, 0);
        return nullptr;
    }
    resourceHeader& r = resourceHeaders[rsid];
    r.resourceType = kResourceTypeSound;
    r.resourceLength = r.resourceUncompressedLength = int32_t(bytes.size());
    r.resourceHandle = block;
    return sound;
}

void RemoveSound(int rsid)
{
    resourceHeader& r = resourceHeaders[rsid];
    if (r.resourceHandle) FreeManagedMemory(r.resourceHandle.get(), 0);
    r = resourceHeader{};
}
