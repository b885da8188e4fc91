// The game's memory manager. A heap hands out blocks of one address range, keeping every free
// chunk and every allocation in a record taken from a fixed pool, so that managing memory never
// needs memory of its own. Permanent blocks are cut from the top of the highest free chunk that
// fits and temporary ones from the bottom of the lowest, which keeps long-lived data packed at the
// top and lets short-lived buffers come and go below it without fragmenting the whole range.
//
// Records hold arena offsets, so all address arithmetic here is done on 32-bit offsets; native
// pointers appear only at the interface.
#include "lib/memory.h"

#include <climits>
#include <cstring>

memHeap* theHeap = nullptr;
memHeap deviceHeap;
memHeap vramAHeap;
memHeap vramBHeap;

// How a range given back joins the free list.
enum RestoreKind {
    kGrowAbove,  // the free chunk just above grows down over it
    kGrowBelow,  // the free chunk just below grows up over it
    kNewChunk,   // it becomes a free chunk of its own and needs a record
};

static uint32_t EndOf(const memChunk_tag* c) { return c->startAddress + c->length; }

// Follows a record link. The searches below walk long lists, so they decode links here rather
// than through ArenaAddress, whose range check buys nothing for the pool's own records.
static memChunk_tag* Follow(Ptr32<memChunk_tag> link)
{
    return link.offset ? reinterpret_cast<memChunk_tag*>(gArenaBase + link.offset) : nullptr;
}

static uint64_t RoundSize(const memHeap* heap, uint64_t size)
{
    uint64_t a = heap->memberAlignment;
    if (a <= 1) return size;
    return (size + a - 1) & ~(a - 1);
}

// Free chunks never merge across a page boundary, so that a heap split into pages stays that way.
static int SamePage(const memHeap* heap, uint32_t a, uint32_t b)
{
    uint32_t mask = 0u - heap->pageSize;
    return heap->pageSize == 0 || (a & mask) == (b & mask);
}

// ---- the three record lists ----

static void PushUnused(memHeap* heap, memChunk_tag* rec)
{
    rec->prev = nullptr;
    rec->next = heap->unusedChunks;
    if (heap->unusedChunks) heap->unusedChunks->prev = rec;
    heap->unusedChunks = rec;
}

static memChunk_tag* PopUnused(memHeap* heap)
{
    memChunk_tag* rec = heap->unusedChunks;
    if (!rec) return nullptr;
    heap->unusedChunks = rec->next;
    if (heap->unusedChunks) heap->unusedChunks->prev = nullptr;
    rec->next = nullptr;
    return rec;
}

// 1 when at least n records are unused (n is at most 2 here).
static int HasUnused(const memHeap* heap, int n)
{
    const memChunk_tag* rec = heap->unusedChunks;
    for (; n > 0; n--) {
        if (!rec) return 0;
        rec = rec->next;
    }
    return 1;
}

static void UnlinkFree(memHeap* heap, memChunk_tag* c)
{
    memChunk_tag* below = c->prev;
    memChunk_tag* above = c->next;
    if (below) below->next = above;
    else heap->memChunks = above;
    if (above) above->prev = below;
    else heap->lastMemChunk = below;
}

static void InsertFree(memHeap* heap, memChunk_tag* rec, memChunk_tag* below, memChunk_tag* above)
{
    rec->prev = below;
    rec->next = above;
    if (below) below->next = rec;
    else heap->memChunks = rec;
    if (above) above->prev = rec;
    else heap->lastMemChunk = rec;
}

static void PushAllocation(memHeap* heap, memChunk_tag* rec)
{
    rec->prev = nullptr;
    rec->next = heap->allocatedChunks;
    if (heap->allocatedChunks) heap->allocatedChunks->prev = rec;
    else heap->lastAllocation = rec;
    heap->allocatedChunks = rec;
}

static void UnlinkAllocation(memHeap* heap, memChunk_tag* rec)
{
    memChunk_tag* newer = rec->prev;
    memChunk_tag* older = rec->next;
    if (newer) newer->next = older;
    else heap->allocatedChunks = older;
    if (older) older->prev = newer;
    else heap->lastAllocation = newer;
}

static void InsertAllocationAfter(memHeap* heap, memChunk_tag* rec, memChunk_tag* existing)
{
    memChunk_tag* older = existing->next;
    rec->prev = existing;
    rec->next = older;
    if (older) older->prev = rec;
    else heap->lastAllocation = rec;
    existing->next = rec;
}

static unsigned CountList(const memChunk_tag* c)
{
    unsigned n = 0;
    for (; c; c = c->next) n++;
    return n;
}

static unsigned FreeBytes(const memHeap* heap)
{
    unsigned total = 0;
    for (const memChunk_tag* c = heap->memChunks; c; c = c->next) total += c->length;
    return total;
}

// ---- finding and returning space ----

// The free chunk an allocation of size (already rounded) comes from in the heap's current direction.
static memChunk_tag* FindFit(const memHeap* heap, uint64_t size)
{
    if (heap->curMemType == kMemTemporary) {
        for (memChunk_tag* c = heap->memChunks; c; c = Follow(c->next))
            if (c->length >= size) return c;
    } else if (heap->curMemType == kMemPermanent) {
        for (memChunk_tag* c = heap->lastMemChunk; c; c = Follow(c->prev))
            if (c->length >= size) return c;
    }
    return nullptr;
}

// The free chunks either side of offset start: above is the first one starting at or after it,
// below the one before that (the last chunk when none starts at or after it).
static void FindNeighbours(const memHeap* heap, uint32_t start, memChunk_tag** below, memChunk_tag** above)
{
    memChunk_tag* c = heap->memChunks;
    while (c && c->startAddress < start) c = Follow(c->next);
    *above = c;
    *below = c ? static_cast<memChunk_tag*>(c->prev) : heap->lastMemChunk;
}

static RestoreKind PlanRestore(const memHeap* heap, uint32_t start, uint32_t end, const memChunk_tag* below,
                               const memChunk_tag* above)
{
    if (above && end == above->startAddress && SamePage(heap, start, EndOf(above) - 1)) return kGrowAbove;
    if (below && EndOf(below) == start && SamePage(heap, below->startAddress, end - 1)) return kGrowBelow;
    return kNewChunk;
}

// Puts [start, start + len) back on the free list between its neighbours, merging where allowed.
static int ReturnRange(memHeap* heap, uint32_t start, uint32_t len, memChunk_tag* below, memChunk_tag* above)
{
    uint32_t end = start + len;
    switch (PlanRestore(heap, start, end, below, above)) {
    case kGrowAbove:
        above->startAddress = start;
        above->length += len;
        // The range may have been the only gap between two free chunks: close it up.
        if (below && EndOf(below) == start && SamePage(heap, below->startAddress, EndOf(above) - 1)) {
            below->length += above->length;
            UnlinkFree(heap, above);
            PushUnused(heap, above);
        }
        break;
    case kGrowBelow:
        below->length += len;
        break;
    case kNewChunk: {
        memChunk_tag* rec = PopUnused(heap);
        if (!rec) return 0;
        rec->startAddress = start;
        rec->length = len;
        InsertFree(heap, rec, below, above);
        break;
    }
    }
    heap->memoryUsed -= len;
    return 1;
}

// ---- heaps ----

int InitMemoryHeap(memHeap* heap, u8* start, u8* end, unsigned numChunks, int alignment, unsigned pageSize,
                   int manageRAM)
{
    if (!heap || !start || !end) return 0;
    // Rounding and page masks only work with powers of two.
    if (alignment < 1 || alignment > 0x8000 || (alignment & (alignment - 1)) != 0) return 0;
    if ((pageSize & (pageSize - 1)) != 0) return 0;

    int64_t span = end - start;
    int64_t recordBytes = int64_t(numChunks) * int64_t(sizeof(memChunk_tag));
    int64_t usable = manageRAM ? span - recordBytes : span;
    if (usable < 0 || span > int64_t(UINT32_MAX) || !ArenaContains(start, uint32_t(span))) return 0;
    // The initial free chunks must all have records, or the lists would run off the pool.
    uint64_t initialChunks = usable == 0 ? 0 : pageSize ? (uint64_t(usable) + pageSize - 1) / pageSize : 1;
    if (initialChunks > numChunks) return 0;

    memChunk_tag* records;
    if (manageRAM) {
        records = reinterpret_cast<memChunk_tag*>(start + usable);
    } else {
        if (recordBytes > INT_MAX) return 0;
        void* p = nullptr;
        if (!AllocateMemory(&p, int(recordBytes))) return 0;
        records = static_cast<memChunk_tag*>(p);
    }

    heap->chunkList = records;
    heap->unusedChunks = nullptr;
    heap->memChunks = nullptr;
    heap->lastMemChunk = nullptr;
    heap->allocatedChunks = nullptr;
    heap->lastAllocation = nullptr;
    heap->manageRAM = manageRAM ? 1 : 0;
    heap->memberAlignment = uint16_t(alignment);
    heap->pageSize = pageSize;
    heap->memoryUsed = 0;
    heap->memoryCounter = 0;
    heap->curMemType = kMemPermanent;
    heap->minAddress = start;
    heap->maxAddress = start + usable;

    // purgeable and appData belong to the records' users and are left as they are.
    uint32_t base = ArenaOffset(start);
    uint32_t step = pageSize ? pageSize : uint32_t(usable);
    for (uint32_t i = 0; i < initialChunks; i++) {
        uint32_t offset = i * step;
        records[i].startAddress = base + offset;
        records[i].length = uint32_t(usable) - offset < step ? uint32_t(usable) - offset : step;
        InsertFree(heap, &records[i], heap->lastMemChunk, nullptr);
    }
    // Pushed from the top so that the pool hands records out in array order.
    for (uint32_t i = numChunks; i > initialChunks; i--) {
        records[i - 1].startAddress = 0;
        records[i - 1].length = 0;
        PushUnused(heap, &records[i - 1]);
    }

    if (!theHeap) theHeap = heap;
    return 1;
}

// Disposing the current heap leaves no heap current, so that the next heap initialised takes over
// rather than allocations going to a heap without records.
int DisposeMemoryHeap(memHeap* heap)
{
    if (!heap) return 0;
    if (!heap->chunkList) return 1;
    if (!heap->manageRAM && !FreeManagedMemory(heap->chunkList, 0)) return 0;
    heap->chunkList = nullptr;
    heap->unusedChunks = nullptr;
    heap->memChunks = nullptr;
    heap->lastMemChunk = nullptr;
    heap->allocatedChunks = nullptr;
    heap->lastAllocation = nullptr;
    heap->memoryUsed = 0;
    heap->memoryCounter = 0;
    if (theHeap == heap) theHeap = nullptr;
    return 1;
}

// ---- allocating ----

int AllocateMemory(void** out, int size)
{
    if (!out || size < 0) return 0;
    if (size == 0) {
        *out = nullptr;
        return 1;
    }
    memHeap* heap = theHeap;
    if (!heap) return 0;
    uint64_t rounded = RoundSize(heap, uint64_t(size));
    memChunk_tag* chunk = FindFit(heap, rounded);
    if (!chunk) return 0;
    uint32_t len = uint32_t(rounded);
    // The block needs a record of its own unless it takes the whole chunk, whose record then
    // serves. Checked before carving, so that a failure gives no space away.
    if (chunk->length != len && !heap->unusedChunks) return 0;

    uint32_t block;
    if (heap->curMemType == kMemTemporary) {
        block = chunk->startAddress;
        chunk->startAddress += len;
    } else {
        block = EndOf(chunk) - len;
    }
    chunk->length -= len;
    if (chunk->length == 0) {
        UnlinkFree(heap, chunk);
        PushUnused(heap, chunk);
    }

    memChunk_tag* rec = PopUnused(heap);
    rec->startAddress = block;
    rec->length = len;
    PushAllocation(heap, rec);
    heap->memoryCounter += len;
    heap->memoryUsed += len;
    *out = ArenaAddress(block);
    return 1;
}

int AllocateClearedMemory(void** out, int size)
{
    void* p = nullptr;
    if (!AllocateMemory(&p, size)) return 0;
    if (p) std::memset(p, 0, size_t(size));
    *out = p;
    return 1;
}

int AllocateTempMemory(void** out, int size)
{
    if (!theHeap) return 0;
    int previous = SelectTempMemory();
    int result = AllocateMemory(out, size);
    SelectMemory(previous);
    return result;
}

int AllocateTempHeapMemory(int size, memHeap* heap, void** out)
{
    if (!heap) return 0;
    memHeap* previous = theHeap;
    theHeap = heap;
    int result = AllocateTempMemory(out, size);
    theHeap = previous;
    return result;
}

int CheckFreeMemory(memChunk_tag** out, int size)
{
    memChunk_tag* chunk = nullptr;
    uint64_t rounded = 0;
    if (size > 0 && theHeap) {
        rounded = RoundSize(theHeap, uint64_t(size));
        if (rounded <= uint64_t(INT_MAX)) chunk = FindFit(theHeap, rounded);
    }
    if (out) *out = chunk;
    return chunk ? int(rounded) : 0;
}

// ---- freeing ----

// Everything the free will need is checked before anything changes, so that a failure leaves the
// allocation intact and it can still be freed once records come free.
int FreeManagedMemory(void* p, unsigned len)
{
    memHeap* heap = theHeap;
    if (!heap || !p || !ArenaContains(p, 1)) return 0;
    uint32_t start = ArenaOffset(p);

    memChunk_tag* rec = heap->allocatedChunks;
    if (len == 0) {
        while (rec && rec->startAddress != start) rec = Follow(rec->next);
        if (!rec) return 0;
        len = rec->length;
    } else {
        uint64_t rounded = RoundSize(heap, len);
        while (rec && !(rec->startAddress <= start && start + rounded <= uint64_t(EndOf(rec)))) rec = Follow(rec->next);
        if (!rec) return 0;
        len = uint32_t(rounded);
    }
    uint32_t end = start + len;
    uint32_t recEnd = EndOf(rec);

    memChunk_tag* below;
    memChunk_tag* above;
    FindNeighbours(heap, start, &below, &above);
    int needsFreeRecord = PlanRestore(heap, start, end, below, above) == kNewChunk;
    int wholeRecord = start == rec->startAddress && end == recEnd;
    int splits = start > rec->startAddress && end < recEnd;
    // Freeing a whole allocation releases its record before the free list can need one.
    if (!wholeRecord && !HasUnused(heap, splits + needsFreeRecord)) return 0;

    if (wholeRecord) {
        UnlinkAllocation(heap, rec);
        PushUnused(heap, rec);
    } else if (start == rec->startAddress) {
        rec->startAddress = end;
        rec->length -= len;
    } else if (splits) {
        memChunk_tag* upper = PopUnused(heap);
        upper->startAddress = end;
        upper->length = recEnd - end;
        rec->length = start - rec->startAddress;
        InsertAllocationAfter(heap, upper, rec);
    } else {
        rec->length -= len;
    }
    // The allocation records are not on the free list, so the neighbours found above still hold.
    return ReturnRange(heap, start, len, below, above);
}

int FreeHeapMemory(void* p, memHeap* heap)
{
    if (!heap) return 0;
    memHeap* previous = theHeap;
    theHeap = heap;
    int result = FreeManagedMemory(p, 0);
    theHeap = previous;
    return result;
}

int DestroyMemory(void** pp)
{
    if (!pp) return 0;
    if (!*pp) return 1;
    if (!FreeManagedMemory(*pp, 0)) return 0;
    *pp = nullptr;
    return 1;
}

int RestoreMemory(memHeap* heap, u8* p, unsigned len)
{
    if (!heap || !p || !ArenaContains(p, len)) return 0;
    if (len == 0) return 1;
    uint32_t start = ArenaOffset(p);
    memChunk_tag* below;
    memChunk_tag* above;
    FindNeighbours(heap, start, &below, &above);
    return ReturnRange(heap, start, len, below, above);
}

// ---- direction and statistics ----

int SelectMemory(int type)
{
    if (!theHeap) return 0;
    int previous = int(theHeap->curMemType);
    theHeap->curMemType = uint32_t(type);
    return previous;
}

int SelectPermanentMemory() { return SelectMemory(kMemPermanent); }
int SelectTempMemory() { return SelectMemory(kMemTemporary); }

int DefaultHeapNumFragments(unsigned* count)
{
    if (!theHeap || !count) return 0;
    *count = CountList(theHeap->memChunks);
    return 1;
}

int DefaultHeapMemoryAvailable(unsigned* bytes)
{
    if (!theHeap) return 0;
    if (bytes) *bytes = FreeBytes(theHeap);
    return 1;
}

int DefaultHeapAllocations(unsigned* count)
{
    if (!theHeap || !count) return 0;
    *count = CountList(theHeap->allocatedChunks);
    return 1;
}

unsigned GetTotalFreeMemory() { return FreeBytes(&deviceHeap); }
