#include "lib/memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Range {
    uint32_t start, length;
    uint32_t end() const { return start + length; }
    bool operator==(const Range& o) const { return start == o.start && length == o.length; }
};

std::vector<Range> ListRanges(const memChunk_tag* c)
{
    std::vector<Range> out;
    for (; c; c = c->next) out.push_back({c->startAddress, c->length});
    return out;
}

std::vector<Range> FreeList(const memHeap& h) { return ListRanges(h.memChunks); }

// Walks one list, checking back links and the tail pointer, and counts each record it meets.
std::string WalkList(const memHeap& h, unsigned numChunks, const memChunk_tag* head, const memChunk_tag* tail,
                     std::vector<int>& seen, const char* name)
{
    const memChunk_tag* prev = nullptr;
    for (const memChunk_tag* c = head; c; prev = c, c = c->next) {
        long index = c - h.chunkList;
        if (index < 0 || index >= long(numChunks)) return std::string(name) + ": record outside the pool";
        if (++seen[index] > 1) return std::string(name) + ": record in two lists or a cycle";
        if (c->prev.get() != prev) return std::string(name) + ": broken back link";
    }
    if (tail && prev != tail) return std::string(name) + ": wrong tail";
    return "";
}

// Checks every structural rule of a heap; returns "" when it holds.
std::string CheckHeap(const memHeap& h, unsigned numChunks)
{
    std::vector<int> seen(numChunks, 0);
    std::string err = WalkList(h, numChunks, h.memChunks, h.lastMemChunk, seen, "free");
    if (err.empty()) err = WalkList(h, numChunks, h.allocatedChunks, h.lastAllocation, seen, "allocated");
    if (err.empty()) err = WalkList(h, numChunks, h.unusedChunks, nullptr, seen, "unused");
    if (!err.empty()) return err;
    if (std::count(seen.begin(), seen.end(), 1) != long(numChunks)) return "records missing from all lists";
    if (!h.memChunks != !h.lastMemChunk || !h.allocatedChunks != !h.lastAllocation) return "head and tail disagree";

    std::vector<Range> free = FreeList(h), used = ListRanges(h.allocatedChunks);
    uint32_t page = h.pageSize;
    for (size_t i = 0; i + 1 < free.size(); i++) {
        if (free[i].end() > free[i + 1].start) return "free list not ascending";
        bool samePage = page == 0 || (free[i].start & -page) == ((free[i + 1].end() - 1) & -page);
        if (free[i].end() == free[i + 1].start && samePage) return "mergeable free chunks left apart";
    }
    uint64_t usedBytes = 0;
    for (const Range& r : used) usedBytes += r.length;
    if (usedBytes != h.memoryUsed) return "memoryUsed is off";

    std::vector<Range> all = free;
    all.insert(all.end(), used.begin(), used.end());
    std::sort(all.begin(), all.end(), [](const Range& a, const Range& b) { return a.start < b.start; });
    uint32_t at = ArenaOffset(h.minAddress);
    for (const Range& r : all) {
        if (r.length == 0) return "empty chunk";
        if (r.start != at) return "ranges overlap or leave a gap";
        at = r.end();
    }
    if (at != ArenaOffset(h.maxAddress)) return "free + used != usable size";
    return "";
}

// Reference model: the allocated ranges. The free chunks the heap must hold follow from them: the
// gaps, cut at page boundaries, since adjacent free space within a page is always merged.
struct Model {
    uint32_t min, max, page, align, records;
    std::map<uint32_t, uint32_t> used;  // start -> length
    uint64_t counter = 0;

    uint32_t Round(uint32_t n) const { return align > 1 ? (n + align - 1) / align * align : n; }

    std::vector<Range> Free() const
    {
        std::vector<Range> out;
        auto addGap = [&](uint32_t a, uint32_t b) {
            while (a < b) {
                uint32_t cut = page ? std::min(b, (a / page + 1) * page) : b;
                out.push_back({a, cut - a});
                a = cut;
            }
        };
        uint32_t at = min;
        for (auto& [start, len] : used) {
            addGap(at, start);
            at = start + len;
        }
        addGap(at, max);
        return out;
    }
    size_t Unused() const { return records - Free().size() - used.size(); }

    // The predicted block offset, or 0 when the allocation must fail.
    uint32_t Allocate(int type, uint32_t size)
    {
        size = Round(size);
        std::vector<Range> free = Free();
        const Range* pick = nullptr;
        for (const Range& r : free)
            if (r.length >= size && (type == kMemPermanent || !pick)) pick = &r;
        if (!pick || (pick->length != size && Unused() == 0)) return 0;
        uint32_t block = type == kMemTemporary ? pick->start : pick->end() - size;
        used[block] = size;
        counter += size;
        return block;
    }

    bool Free(uint32_t p, uint32_t len)
    {
        auto it = used.upper_bound(p);
        if (it == used.begin()) return false;
        --it;
        uint32_t s = it->first, e = it->first + it->second;
        if (len == 0) {
            if (s != p) return false;
            len = it->second;  // as recorded, which partial frees may have left unaligned
        } else {
            len = Round(len);
        }
        if (uint64_t(p) + len > e) return false;
        uint32_t end = p + len;
        bool merges = false;
        for (const Range& r : Free())
            merges |= (r.end() == p && (page == 0 || p % page != 0)) || (r.start == end && (page == 0 || end % page != 0));
        bool whole = p == s && end == e, split = p > s && end < e;
        if (!whole && Unused() < size_t(split) + !merges) return false;
        used.erase(it);
        if (p > s) used[s] = p - s;
        if (end < e) used[end] = e - end;
        return true;
    }
};

class MemoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(HostArenaInit(4u << 20), 1);
        ResetGlobals();
    }
    void TearDown() override
    {
        ResetGlobals();
        HostArenaDispose();
    }
    static void ResetGlobals()
    {
        theHeap = nullptr;
        deviceHeap = memHeap{};
        vramAHeap = memHeap{};
        vramBHeap = memHeap{};
    }

    static u8* Device() { return HostDeviceMemoryAddress(); }
    static uint32_t Off(const void* p) { return ArenaOffset(p); }

    // A heap managing its own records, with exactly `usable` bytes below them.
    void Make(uint32_t usable, unsigned records, int alignment = 1, unsigned page = 0)
    {
        numChunks = records;
        ASSERT_EQ(InitMemoryHeap(&heap, Device(), Device() + usable + records * 32, records, alignment, page, 1), 1);
        ASSERT_EQ(theHeap, &heap);
    }
    void* Alloc(int type, int size)
    {
        void* p = nullptr;
        SelectMemory(type);
        EXPECT_EQ(AllocateMemory(&p, size), 1);
        return p;
    }
    void ExpectConsistent() { EXPECT_EQ(CheckHeap(heap, numChunks), ""); }

    memHeap heap{};
    unsigned numChunks = 0;
};

// ---- the random walk against the model ----

struct WalkParams {
    int alignment;
    unsigned page;
    unsigned records;
};

class MemoryRandomTest : public MemoryTest, public ::testing::WithParamInterface<WalkParams> {};

TEST_P(MemoryRandomTest, MatchesModelAfterEveryStep)
{
    const WalkParams wp = GetParam();
    const uint32_t usable = 64 * 1024;
    Make(usable, wp.records, wp.alignment, wp.page);
    uint32_t base = Off(Device());
    Model model{base, base + usable, wp.page, uint32_t(wp.alignment), wp.records, {}};
    std::mt19937 rng(1234 + wp.alignment + wp.page + wp.records);
    auto below = [&](uint32_t n) { return uint32_t(rng() % n); };
    int allocFailures = 0, freeFailures = 0;

    for (int step = 0; step < 4000; step++) {
        unsigned r = below(100);
        std::ostringstream what;
        if (r < 45 || model.used.empty()) {
            int type = below(2) ? kMemTemporary : kMemPermanent;
            uint32_t size = below(20) == 0 ? 0 : below(4) == 0 ? 1 + below(4096) : 1 + below(300);
            what << "allocate type " << type << " size " << size;
            void* p = reinterpret_cast<void*>(1);
            int ok;
            if (type == kMemTemporary && below(2)) {
                ok = AllocateTempMemory(&p, int(size));
            } else {
                SelectMemory(type);
                ok = AllocateMemory(&p, int(size));
            }
            if (size == 0) {
                ASSERT_EQ(ok, 1) << what.str();
                ASSERT_EQ(p, nullptr);
            } else {
                uint32_t expect = model.Allocate(type, size);
                ASSERT_EQ(ok, expect != 0) << what.str() << " at step " << step;
                if (ok) ASSERT_EQ(Off(p), expect) << what.str();
                else ASSERT_EQ(p, reinterpret_cast<void*>(1)) << "failure wrote the out pointer";
                allocFailures += !ok;
            }
        } else if (r < 92) {
            auto it = model.used.begin();
            std::advance(it, below(uint32_t(model.used.size())));
            uint32_t s = it->first, len = it->second, p = s, l = 0;
            if (below(2)) {  // a part of it, which may round past its end under alignment
                p = s + below(len);
                l = 1 + below(s + len - p);
            }
            what << "free " << p - base << " len " << l << " from " << s - base << "+" << len;
            bool expect = model.Free(p, l);
            int ok = FreeManagedMemory(ArenaAddress(p), l);
            ASSERT_EQ(ok, int(expect)) << what.str() << " at step " << step;
            freeFailures += !ok;
        } else {
            uint32_t p = base + below(usable);
            what << "free any address " << p - base;
            ASSERT_EQ(FreeManagedMemory(ArenaAddress(p), 0), int(model.Free(p, 0))) << what.str();
        }

        std::vector<Range> expectUsed;
        for (auto& [s, l] : model.used) expectUsed.push_back({s, l});
        std::vector<Range> gotUsed = ListRanges(heap.allocatedChunks);
        std::sort(gotUsed.begin(), gotUsed.end(), [](const Range& a, const Range& b) { return a.start < b.start; });
        ASSERT_EQ(gotUsed, expectUsed) << "after " << what.str() << " at step " << step;
        ASSERT_EQ(FreeList(heap), model.Free()) << "after " << what.str() << " at step " << step;
        ASSERT_EQ(CheckHeap(heap, numChunks), "") << "after " << what.str() << " at step " << step;
        ASSERT_EQ(heap.memoryCounter, model.counter);
    }
    // The walk must have run into both kinds of failure, or it proved little.
    EXPECT_GT(allocFailures, 0);
    if (wp.records < 100) {
        EXPECT_GT(freeFailures, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Memory, MemoryRandomTest,
                         ::testing::Values(WalkParams{1, 0, 40}, WalkParams{1, 0, 400}, WalkParams{128, 0, 40},
                                           WalkParams{128, 0, 400}, WalkParams{1, 256, 300},
                                           WalkParams{128, 4096, 40}, WalkParams{128, 1024, 200}));

// ---- setting up and disposing ----

TEST_F(MemoryTest, InitLaysOutRecordsAndChunks)
{
    Make(10000, 16, 1, 4096);
    EXPECT_EQ(heap.maxAddress, Device() + 10000);
    EXPECT_EQ(reinterpret_cast<u8*>(heap.chunkList), heap.maxAddress);
    uint32_t b = Off(Device());
    EXPECT_EQ(FreeList(heap), (std::vector<Range>{{b, 4096}, {b + 4096, 4096}, {b + 8192, 1808}}));
    EXPECT_EQ(heap.curMemType, uint32_t(kMemPermanent));
    ExpectConsistent();

    memHeap second{};
    EXPECT_EQ(InitMemoryHeap(&second, Device() + 20000, Device() + 30000, 8, 1, 0, 1), 1);
    EXPECT_EQ(theHeap, &heap) << "only the first heap becomes current";
    EXPECT_EQ(InitMemoryHeap(&second, Device(), Device() + 100, 8, 1, 0, 1), 0) << "records do not fit";
}

TEST_F(MemoryTest, HeapWithoutOwnRecordsBorrowsAndReturnsThem)
{
    memHeap vram{};
    EXPECT_EQ(InitMemoryHeap(&vram, HostVramAddress(0), HostVramAddress(0) + kVramBankSize, 128, 128, 0, 0), 0)
        << "no current heap to take records from";

    ASSERT_EQ(InitMemoryHeap(&deviceHeap, Device(), Device() + (1 << 20) + 64 * 32, 64, 128, 0, 1), 1);
    unsigned before = GetTotalFreeMemory();
    EXPECT_EQ(before, 1u << 20);
    ASSERT_EQ(InitMemoryHeap(&vramAHeap, HostVramAddress(0), HostVramAddress(0) + kVramBankSize, 128, 128, 0, 0), 1);
    EXPECT_EQ(GetTotalFreeMemory(), before - 128 * 32);
    EXPECT_EQ(vramAHeap.maxAddress, HostVramAddress(0) + kVramBankSize);

    void* p = nullptr;
    ASSERT_EQ(AllocateTempHeapMemory(100, &vramAHeap, &p), 1);
    EXPECT_EQ(p, HostVramAddress(0));
    EXPECT_EQ(theHeap, &deviceHeap);
    EXPECT_EQ(vramAHeap.curMemType, uint32_t(kMemPermanent));
    EXPECT_EQ(GetTotalFreeMemory(), before - 128 * 32) << "counts the device heap only";

    EXPECT_EQ(DisposeMemoryHeap(&vramAHeap), 1);
    EXPECT_EQ(vramAHeap.chunkList, nullptr);
    EXPECT_EQ(GetTotalFreeMemory(), before);
    EXPECT_EQ(DisposeMemoryHeap(&vramAHeap), 1) << "disposing twice is harmless";

    EXPECT_EQ(DisposeMemoryHeap(&deviceHeap), 1);
    EXPECT_EQ(theHeap, nullptr);
    EXPECT_EQ(AllocateMemory(&p, 16), 0);
}

// ---- allocating ----

TEST_F(MemoryTest, AllocationPlacementAndRounding)
{
    Make(4096, 8, 128);
    uint32_t b = Off(Device());
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(AllocateMemory(&p, 0), 1);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(AllocateMemory(&p, -5), 0);

    EXPECT_EQ(Off(Alloc(kMemPermanent, 1)), b + 4096 - 128) << "permanent ends at the usable end";
    EXPECT_EQ(Off(Alloc(kMemTemporary, 129)), b) << "temporary starts at the start";
    EXPECT_EQ(heap.memoryUsed, 128u + 256u);

    memChunk_tag* chunk = nullptr;
    EXPECT_EQ(CheckFreeMemory(&chunk, 200), 256);
    EXPECT_EQ(chunk, heap.memChunks);
    EXPECT_EQ(CheckFreeMemory(&chunk, 4000), 0);
    EXPECT_EQ(chunk, nullptr);
    EXPECT_EQ(CheckFreeMemory(nullptr, 10), 128);

    SelectMemory(7);
    EXPECT_EQ(AllocateMemory(&p, 16), 0) << "an unknown direction finds nothing";
    SelectPermanentMemory();

    // Exact fill: the chunk disappears and the next request fails without touching *out.
    void* rest = Alloc(kMemPermanent, 4096 - 128 - 256);
    EXPECT_EQ(Off(rest), b + 256);
    EXPECT_EQ(heap.memChunks, nullptr);
    EXPECT_EQ(heap.lastMemChunk, nullptr);
    p = reinterpret_cast<void*>(1);
    EXPECT_EQ(AllocateMemory(&p, 1), 0);
    EXPECT_EQ(p, reinterpret_cast<void*>(1));
    ExpectConsistent();
    EXPECT_EQ(heap.memoryCounter, 4096u);
    EXPECT_EQ(FreeManagedMemory(rest, 0), 1);
    EXPECT_EQ(heap.memoryCounter, 4096u) << "the counter only grows";
}

TEST_F(MemoryTest, DirectionAndHeapAreRestoredAfterTemporaryCalls)
{
    Make(4096, 8);
    void* p = nullptr;
    EXPECT_EQ(AllocateTempMemory(&p, 5000), 0);
    EXPECT_EQ(heap.curMemType, uint32_t(kMemPermanent));
    EXPECT_EQ(AllocateTempMemory(&p, 10), 1);
    EXPECT_EQ(p, Device());
    EXPECT_EQ(heap.curMemType, uint32_t(kMemPermanent));

    std::memset(Device() + 10, 0xAB, 100);
    SelectTempMemory();
    EXPECT_EQ(AllocateClearedMemory(&p, 50), 1);
    EXPECT_EQ(p, Device() + 10);
    for (int i = 0; i < 100; i++) EXPECT_EQ(static_cast<u8*>(p)[i], i < 50 ? 0 : 0xAB) << "only the size asked for";
    EXPECT_EQ(SelectMemory(kMemPermanent), kMemTemporary);

    memHeap other{};
    ASSERT_EQ(InitMemoryHeap(&other, Device() + 8192, Device() + 16384, 8, 1, 0, 1), 1);
    EXPECT_EQ(FreeHeapMemory(Device(), &other), 0);
    EXPECT_EQ(theHeap, &heap) << "a failed FreeHeapMemory leaves the previous heap current";
    EXPECT_EQ(AllocateTempHeapMemory(16, &other, &p), 1);
    EXPECT_EQ(FreeHeapMemory(p, &other), 1);
    EXPECT_EQ(theHeap, &heap);
}

// ---- freeing ----

TEST_F(MemoryTest, FreeingMergesNeighbours)
{
    Make(4096, 8);
    uint32_t b = Off(Device());
    u8* p = static_cast<u8*>(Alloc(kMemTemporary, 1000));
    Alloc(kMemTemporary, 100);  // keeps the rest of the heap from touching p's range
    // Middle first, then both sides: back to a single chunk after the guard block.
    EXPECT_EQ(FreeManagedMemory(p + 300, 400), 1);
    EXPECT_EQ(FreeList(heap), (std::vector<Range>{{b + 300, 400}, {b + 1100, 2996}}));
    EXPECT_EQ(FreeManagedMemory(p, 0), 1);
    EXPECT_EQ(FreeManagedMemory(p + 700, 300), 1);
    EXPECT_EQ(FreeList(heap), (std::vector<Range>{{b, 1000}, {b + 1100, 2996}}));
    ExpectConsistent();

    // A range with free chunks on both sides closes the gap: three chunks become one.
    EXPECT_EQ(FreeManagedMemory(p + 1000, 0), 1);
    EXPECT_EQ(FreeList(heap), (std::vector<Range>{{b, 4096}}));
    EXPECT_EQ(FreeManagedMemory(p + 1000, 0), 0) << "double free";
    EXPECT_EQ(FreeManagedMemory(Device() + 8000, 0), 0) << "outside the heap";
    ExpectConsistent();
}

TEST_F(MemoryTest, FreeingRejectsRangesOutsideOneAllocation)
{
    Make(4096, 8, 128);
    u8* a = static_cast<u8*>(Alloc(kMemTemporary, 256));
    u8* b = static_cast<u8*>(Alloc(kMemTemporary, 256));
    ASSERT_EQ(b, a + 256);
    std::vector<Range> before = FreeList(heap);
    EXPECT_EQ(FreeManagedMemory(a + 128, 0), 0) << "not an allocation start";
    EXPECT_EQ(FreeManagedMemory(a + 128, 256), 0) << "spans two allocations";
    EXPECT_EQ(FreeManagedMemory(a + 200, 1), 0) << "rounds up past the end";
    EXPECT_EQ(FreeList(heap), before);
    EXPECT_EQ(heap.memoryUsed, 512u);
    EXPECT_EQ(FreeManagedMemory(b + 128, 1), 1) << "the tail, rounded to 128";
    EXPECT_EQ(heap.memoryUsed, 384u);
    EXPECT_EQ(FreeManagedMemory(b, 0), 1);
    ExpectConsistent();
}

TEST_F(MemoryTest, PagesKeepAdjacentFreeChunksApart)
{
    Make(4096, 8, 1, 1024);
    uint32_t b = Off(Device());
    EXPECT_EQ(Off(Alloc(kMemPermanent, 24)), b + 4096 - 24);
    void* p = nullptr;
    EXPECT_EQ(AllocateMemory(&p, 1025), 0) << "no chunk spans pages";
    // Fill the end of page 0 and the start of page 1, then free both: they stay two chunks.
    SelectTempMemory();
    u8* fill = static_cast<u8*>(Alloc(kMemTemporary, 1000));
    u8* tail = static_cast<u8*>(Alloc(kMemTemporary, 24));
    u8* head = static_cast<u8*>(Alloc(kMemTemporary, 24));
    EXPECT_EQ(Off(head), b + 1024);
    EXPECT_EQ(FreeManagedMemory(tail, 0), 1);
    EXPECT_EQ(FreeManagedMemory(head, 0), 1);
    EXPECT_EQ(FreeManagedMemory(fill, 0), 1);
    EXPECT_EQ(FreeList(heap), (std::vector<Range>{{b, 1024}, {b + 1024, 1024}, {b + 2048, 1024}, {b + 3072, 1000}}));
    ExpectConsistent();

    // RestoreMemory goes by the pages of the heap it is given, not of the current heap.
    tail = static_cast<u8*>(Alloc(kMemTemporary, 1024));
    head = static_cast<u8*>(Alloc(kMemTemporary, 1024));
    memHeap flat{};
    ASSERT_EQ(InitMemoryHeap(&flat, Device() + 8192, Device() + 9216, 4, 1, 0, 1), 1);
    theHeap = &flat;
    EXPECT_EQ(RestoreMemory(&heap, tail, 1024), 1);
    EXPECT_EQ(RestoreMemory(&heap, head, 1024), 1);
    EXPECT_EQ(FreeList(heap).size(), 4u);
}

TEST_F(MemoryTest, RestoreMemoryLowersUsageOnEveryPath)
{
    Make(4096, 8);
    u8* p = static_cast<u8*>(Alloc(kMemTemporary, 300));
    EXPECT_EQ(heap.memoryUsed, 300u);
    EXPECT_EQ(RestoreMemory(&heap, p + 200, 100), 1) << "grows the chunk above down";
    EXPECT_EQ(heap.memoryUsed, 200u);
    EXPECT_EQ(RestoreMemory(&heap, p, 100), 1) << "a chunk of its own";
    EXPECT_EQ(heap.memoryUsed, 100u);
    EXPECT_EQ(RestoreMemory(&heap, p + 100, 50), 1) << "grows the chunk below up";
    EXPECT_EQ(heap.memoryUsed, 50u);
    EXPECT_EQ(RestoreMemory(&heap, p + 150, 50), 1) << "joins both";
    EXPECT_EQ(heap.memoryUsed, 0u);
    EXPECT_EQ(FreeList(heap), (std::vector<Range>{{Off(p), 4096}}));
}

// ---- running out of records ----

TEST_F(MemoryTest, ExhaustedPoolLosesNothing)
{
    Make(4096, 3);  // one free chunk and two spare records
    u8* a = static_cast<u8*>(Alloc(kMemTemporary, 100));
    u8* b = static_cast<u8*>(Alloc(kMemTemporary, 100));
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(AllocateMemory(&p, 100), 0) << "no record left for the block";
    EXPECT_EQ(p, reinterpret_cast<void*>(1));
    unsigned avail = 0, frags = 0;
    EXPECT_EQ(DefaultHeapMemoryAvailable(&avail), 1);
    EXPECT_EQ(DefaultHeapNumFragments(&frags), 1);
    EXPECT_EQ(avail, 4096u - 200u);
    EXPECT_EQ(frags, 1u);
    EXPECT_EQ(DefaultHeapMemoryAvailable(nullptr), 1);

    // Freeing b's middle needs a record for the split and one for the free chunk; a's first bytes
    // would be a free chunk of their own. Both are refused and change nothing.
    EXPECT_EQ(FreeManagedMemory(b + 10, 10), 0);
    EXPECT_EQ(FreeManagedMemory(a, 10), 0);
    ExpectConsistent();
    EXPECT_EQ(heap.memoryUsed, 200u);
    unsigned count = 0;
    EXPECT_EQ(DefaultHeapAllocations(&count), 1);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(ListRanges(heap.allocatedChunks), (std::vector<Range>{{Off(b), 100}, {Off(a), 100}}));

    // b's end touches free space, so it needs no record; freeing the rest of b releases one.
    EXPECT_EQ(FreeManagedMemory(b + 50, 50), 1);
    void* rest = b;
    EXPECT_EQ(DestroyMemory(&rest), 1);
    EXPECT_EQ(rest, nullptr);
    EXPECT_EQ(DestroyMemory(&rest), 1);
    EXPECT_EQ(DestroyMemory(nullptr), 0);
    void* stale = a + 1;
    EXPECT_EQ(DestroyMemory(&stale), 0);
    EXPECT_EQ(stale, a + 1);
    EXPECT_EQ(FreeManagedMemory(a, 10), 1) << "the refused free works once a record is free";
    EXPECT_EQ(FreeManagedMemory(a + 10, 0), 1);
    EXPECT_EQ(FreeList(heap), (std::vector<Range>{{Off(Device()), 4096}}));
    ExpectConsistent();
}

}  // namespace
