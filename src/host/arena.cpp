// The host arena: one allocation split into device memory and the two video banks, so that every
// 32-bit pointer field can be an offset into it.
#include "host/arena.h"

#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>

uint8_t* gArenaBase = nullptr;
uint32_t gArenaSize = 0;
static uint32_t deviceMemorySize = 0;

int HostArenaInit(uint32_t deviceSize)
{
    HostArenaDispose();
    uint64_t total = uint64_t(kArenaReservedBytes) + deviceSize + 2ull * kVramBankSize;
    if (total > 0xFFFFF000ull) return 0;
    // mmap gives zeroed, page-aligned memory that is only backed when touched.
    void* block = mmap(nullptr, size_t(total), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return 0;
    gArenaBase = static_cast<uint8_t*>(block);
    gArenaSize = uint32_t(total);
    deviceMemorySize = deviceSize;
    return 1;
}

void HostArenaDispose()
{
    if (gArenaBase) munmap(gArenaBase, gArenaSize);
    gArenaBase = nullptr;
    gArenaSize = 0;
    deviceMemorySize = 0;
}

uint8_t* HostDeviceMemoryAddress() { return gArenaBase ? gArenaBase + kArenaReservedBytes : nullptr; }
uint32_t HostDeviceMemorySize() { return deviceMemorySize; }

uint8_t* HostVramAddress(int bank)
{
    if (!gArenaBase || bank < 0 || bank > 1) return nullptr;
    return gArenaBase + kArenaReservedBytes + deviceMemorySize + uint32_t(bank) * kVramBankSize;
}

uint32_t ArenaOffset(const void* p)
{
    if (!p) return 0;
    const uint8_t* b = static_cast<const uint8_t*>(p);
    if (!gArenaBase || b < gArenaBase || b >= gArenaBase + gArenaSize) {
        std::fprintf(stderr, "fatal: pointer %p is outside the host arena\n", p);
        std::abort();
    }
    return uint32_t(b - gArenaBase);
}

void* ArenaAddress(uint32_t offset)
{
    if (offset == 0) return nullptr;
    if (!gArenaBase || offset >= gArenaSize) {
        std::fprintf(stderr, "fatal: arena offset 0x%x is outside the host arena\n", offset);
        std::abort();
    }
    return gArenaBase + offset;
}

int ArenaContains(const void* p, uint32_t size)
{
    const uint8_t* b = static_cast<const uint8_t*>(p);
    if (!gArenaBase || !b || b < gArenaBase) return 0;
    uint64_t start = uint64_t(b - gArenaBase);
    return start + size <= gArenaSize ? 1 : 0;
}
