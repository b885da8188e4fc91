// The physics library's allocation hooks, routed to the game's memory manager so that the world's
// memory is counted and freed with the game's.
#include "shell/physicsmemory.h"

#include <LinearMath/btAlignedAllocator.h>

#include "lib/memory.h"
#include "lib/printing.h"

void* BulletMemAlloc(unsigned int size)
{
    void* p = nullptr;
    if (size > 0x7FFFFFFFu || !AllocateMemory(&p, int(size))) return nullptr;
    return p;
}

void* BulletMemAllocAligned(unsigned int size, int alignment)
{
    // Blocks of the heap are aligned to its member alignment (128 bytes); a stricter alignment, or
    // one that is not a power of two, cannot be honoured.
    unsigned heapAlignment = theHeap ? theHeap->memberAlignment : 1;
    if (alignment <= 0 || (alignment & (alignment - 1)) != 0 || unsigned(alignment) > heapAlignment) {
        PrintError("physics memory: physics asked for an alignment of %d bytes", alignment);
        return nullptr;
    }
    unsigned a = unsigned(alignment);
    if (size > 0x7FFFFFFFu - a) return nullptr;
    return BulletMemAlloc((size + a - 1) & ~(a - 1));
}

void BulletMemFree(void* p) { DestroyMemory(&p); }

void InstallPhysicsAllocator()
{
    // The library passes sizes as size_t; anything beyond 32 bits cannot come from the game's heap.
    btAlignedAllocSetCustom(
        [](size_t size) -> void* { return size > 0xFFFFFFFFu ? nullptr : BulletMemAlloc(unsigned(size)); },
        BulletMemFree);
    btAlignedAllocSetCustomAligned(
        [](size_t size, int alignment) -> void* {
            return size > 0xFFFFFFFFu ? nullptr : BulletMemAllocAligned(unsigned(size), alignment);
        },
        BulletMemFree);
}
