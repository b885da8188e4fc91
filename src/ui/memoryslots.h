// The UI framework's memory slots: numbered arenas from which everything an environment loads is
// taken. Allocation bumps a pointer through large blocks from the memory manager; a single free
// only counts, and a slot is emptied at once by resetting it.
#pragma once

#include <cstdint>

#include "host/ptr32.h"

enum {
    basicUiNumberOfMemorySlots = 9,
    // Requests are rounded up to this. The records taken from a slot hold native pointers, which
    // this host aligns to 8 bytes.
    basicMemoryAlignment = 8,
    // Strings are measured in fours, as the database image lays them out.
    basicMemoryStringAlignment = 4,
    basicMemoryBlockSize = 0x100000,  // smallest block a slot takes from the memory manager
};

// One block; its 16-byte header sits in front of its data.
struct sBasicMemoryBlock {
    Ptr32<uint8_t> data;     // first byte of the data area, right behind this header
    Ptr32<uint8_t> dataPtr;  // next free byte
    Ptr32<uint8_t> dataEnd;  // one past the data area
    Ptr32<sBasicMemoryBlock> next;  // the block added before this one
};
static_assert(sizeof(sBasicMemoryBlock) == 16, "block headers are 16 bytes");

// One slot.
struct sBasicMemoryInfo {
    int32_t used;       // bytes handed out since the last reset, after rounding
    int32_t allocs;     // live allocations: +1 per allocation, -1 per free
    int32_t blockSize;  // smallest new block
    Ptr32<sBasicMemoryBlock> head;  // newest block, or none
};
static_assert(sizeof(sBasicMemoryInfo) == 16, "slot records are 16 bytes");

// The slot table (null and 0 before BasicMemory_Init).
extern int32_t gBasicMemoryNumSlots;
extern sBasicMemoryInfo* gBasicMemorySlots;

// Makes the table of `slots` empty slots; nothing for slots < 1 or when memory is short.
int BasicMemory_Init(int slots);
// size bytes (rounded up to basicMemoryAlignment) from the slot into *out. 0 for a bad slot, null out, a negative
// size or no memory.
int BasicMemory_Alloc(int slot, void** out, int size);
// Counts one allocation as freed; the memory comes back only with BasicMemory_Reset.
int BasicMemory_Free(int slot, void* p);
// Hands every block of the slot back to the memory manager and zeroes its counters.
int BasicMemory_Reset(int slot);
// A copy of s in the slot; null for null s, a bad slot or no memory.
char* BasicMemory_DupString(int slot, const char* s);
// The length + 1 of s rounded up to 4 (the space a string takes in the database image); 0 for null.
int BasicMemory_LenString(const char* s);
// A copy of a file name ending in "xml" for the current language: the last three characters
// become the language's suffix ("save.db.xml" -> "save.db.fr.xml"). English, names shorter than
// three characters and languages without a suffix keep the name unchanged.
char* BasicMemory_DupLanguageSpecificFilename(int slot, const char* name);
