// The game's memory manager: heaps over fixed address ranges of the host arena, each with a fixed
// pool of chunk records. Permanent allocations come from the top of free space, temporary ones
// from the bottom, so that short-lived buffers leave large free chunks behind them.
#pragma once

#include <cstdint>

#include "host/ptr32.h"

typedef uint8_t u8;

// One record: a free chunk, an allocation, or an unused record. Records live in a fixed array
// (inside the managed range when the heap manages its own RAM), so the layout stays 32 bytes:
// addresses are arena offsets and links are 32-bit arena pointers.
struct memChunk_tag {
    uint32_t startAddress;  // arena offset of the first byte
    uint32_t length;
    Ptr32<memChunk_tag> prev;
    Ptr32<memChunk_tag> next;
    int32_t purgeable;
    uint32_t appData1;
    uint32_t appData2;
    uint32_t appData3;
};
static_assert(sizeof(memChunk_tag) == 32, "chunk records are 32 bytes");

enum { kMemTemporary = 1, kMemPermanent = 2 };

struct memHeap {
    memChunk_tag* chunkList;       // all numChunks records
    memChunk_tag* unusedChunks;    // records in no other list
    memChunk_tag* memChunks;       // free chunks, ascending address
    memChunk_tag* lastMemChunk;    // highest free chunk
    memChunk_tag* allocatedChunks; // allocations, newest first
    memChunk_tag* lastAllocation;  // oldest allocation
    uint16_t manageRAM;
    uint16_t memberAlignment;
    uint32_t pageSize;
    uint32_t memoryUsed;
    uint32_t memoryCounter;
    uint32_t curMemType;
    u8* minAddress;
    u8* maxAddress;
};

extern memHeap* theHeap;
extern memHeap deviceHeap;
extern memHeap vramAHeap;
extern memHeap vramBHeap;

// Sets a heap up over [start, end). With manageRAM the records take the top numChunks * 32 bytes;
// otherwise they are allocated from the current heap. alignment and pageSize must be powers of two
// (pageSize 0 = no pages); pages are counted on arena offsets, so start should be page-aligned.
// The first heap initialised becomes current.
int InitMemoryHeap(memHeap* heap, u8* start, u8* end, unsigned numChunks, int alignment, unsigned pageSize,
                   int manageRAM);
// Disposing the current heap leaves no heap current.
int DisposeMemoryHeap(memHeap* heap);
int AllocateMemory(void** out, int size);
int AllocateClearedMemory(void** out, int size);
int AllocateTempMemory(void** out, int size);
int AllocateTempHeapMemory(int size, memHeap* heap, void** out);
// len 0 frees the allocation starting at p; otherwise [p, p + len) out of the allocation holding
// it. A free that cannot be done (not allocated, or no record to spare) changes nothing.
int FreeManagedMemory(void* p, unsigned len);
int FreeHeapMemory(void* p, memHeap* heap);
int DestroyMemory(void** pp);
int SelectMemory(int type);
int SelectPermanentMemory();
int SelectTempMemory();
// The free chunk AllocateMemory would use (in *out) and the rounded size, or 0 when none fits.
int CheckFreeMemory(memChunk_tag** out, int size);
// Puts [p, p + len) back on the heap's free list; 0 only when it needs a record and none is unused.
int RestoreMemory(memHeap* heap, u8* p, unsigned len);
int DefaultHeapNumFragments(unsigned* count);
int DefaultHeapMemoryAvailable(unsigned* bytes);
int DefaultHeapAllocations(unsigned* count);
unsigned GetTotalFreeMemory();

// Typed convenience over AllocateMemory for the many callers that allocate one object or array.
template <class T>
inline int AllocateMemoryFor(T** out, int size)
{
    void* p = nullptr;
    if (!AllocateMemory(&p, size)) return 0;
    *out = static_cast<T*>(p);
    return 1;
}
