// The UI's asynchronous resource loader: 128 double-buffered slots, reserved oldest-first within
// group limits, read one at a time through the file server and stepped once per frame. What the
// tracker loads lives in its own slot buffers, which are kept and reused until it is finished;
// resources that something else loaded are never disposed of by it.
#include "ui/rlstracker.h"

#include <cstring>

#include "lib/decompress.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/fileserver.h"

enum { kAgeWrap = 16777216, kGroupType = 19 };

// ---- Buffers ----

static int OwnsMemory(const sBasicUiRLSTracker* t, const void* p)
{
    if (!p) return 0;
    for (const sBasicUiRLSSlot& s : t->slot)
        for (int b = 0; b < 2; ++b)
            if (s.headerData[b] == p || s.resourceData[b] == p) return 1;
    return 0;
}

int BasicUiRLS_AllocMemory(sBasicUiRLSTracker* t, int slot, int header, void** out, int size)
{
    if (!t || !out || slot < 0 || slot >= kBasicUiRLSSlots || size < 0) return 0;
    auto pick = [&](sBasicUiRLSSlot& s, int b, int** used, int** bytes, void*** data) {
        *used = header ? &s.headerUsed[b] : &s.resourceUsed[b];
        *bytes = header ? &s.headerSize[b] : &s.resourceSize[b];
        *data = header ? &s.headerData[b] : &s.resourceData[b];
    };
    int *used = nullptr, *bytes = nullptr;
    void** data = nullptr;
    sBasicUiRLSSlot& own = t->slot[slot];
    pick(own, 0, &used, &bytes, &data);
    if (*used) pick(own, 1, &used, &bytes, &data);
    if (*used) {
        PrintError(header ? "BasicUiRLS_AllocMemory: using not standard header slot in place of slot(%i) group(%i)"
                          : "BasicUiRLS_AllocMemory: trying non standard resource slot in place of slot(%i) group(%i)",
                   slot, own.groupIndex);
        // The smallest free buffer that is big enough, else the biggest free one (it grows).
        int *fitUsed = nullptr, *fitBytes = nullptr, *anyUsed = nullptr, *anyBytes = nullptr;
        void **fitData = nullptr, **anyData = nullptr;
        for (sBasicUiRLSSlot& s : t->slot)
            for (int b = 0; b < 2; ++b) {
                int *u, *n;
                void** d;
                pick(s, b, &u, &n, &d);
                if (*u) continue;
                if (*n >= size && (!fitBytes || *n < *fitBytes)) fitUsed = u, fitBytes = n, fitData = d;
                if (!anyBytes || *n > *anyBytes) anyUsed = u, anyBytes = n, anyData = d;
            }
        used = fitUsed ? fitUsed : anyUsed;
        bytes = fitUsed ? fitBytes : anyBytes;
        data = fitUsed ? fitData : anyData;
        if (!used) {
            // Every buffer holds a resource in use: none is taken from under it.
            PrintError(header ? "BasicUiRLS_AllocMemory: header slot overflow on slot(%i) res=%i off=%i"
                              : "BasicUiRLS_AllocMemory: resource slot overflow on slot(%i) res=%i off=%i",
                       slot, own.rsid >> 16, own.rsid & 0xFFFF);
            return 0;
        }
    }
    if (!*data || *bytes < size) {
        // The new memory is had before the old goes, so that a failure leaves the buffer as it was.
        void* p = nullptr;
        if (!AllocateMemory(&p, size > 0 ? size : 1)) {
            PrintError("BasicUiRLS_AllocMemory: failed to allocate memory!");
            return 0;
        }
        if (*data) {
            PrintError(header ? "BasicUiRLS_AllocMemory: had to grow header slot(%i) from %i to %i."
                              : "BasicUiRLS_AllocMemory: had to grow resource slot(%i) from %i to %i.",
                       slot, *bytes, size);
            FreeManagedMemory(*data, 0);
        }
        *data = p;
        *bytes = size;
    }
    *used = 1;
    *out = *data;
    return 1;
}

int BasicUiRLS_FreeMemory(sBasicUiRLSTracker* t, int, int header, void** memory)
{
    if (!t || !memory || !*memory) return 1;
    for (sBasicUiRLSSlot& s : t->slot)
        for (int b = 0; b < 2; ++b) {
            if (header && s.headerData[b] == *memory) s.headerUsed[b] = 0;
            if (!header && s.resourceData[b] == *memory) s.resourceUsed[b] = 0;
        }
    return 1;
}

static void ReleaseBuffer(void** memory, int* size, int* used)
{
    if (*memory) FreeManagedMemory(*memory, 0);
    *memory = nullptr;
    *size = 0;
    *used = 0;
}

static void ReleaseSlotMemory(sBasicUiRLSTracker* tracker)
{
    for (sBasicUiRLSSlot& s : tracker->slot) {
        for (int b = 0; b < 2; ++b) {
            ReleaseBuffer(&s.headerData[b], &s.headerSize[b], &s.headerUsed[b]);
            ReleaseBuffer(&s.resourceData[b], &s.resourceSize[b], &s.resourceUsed[b]);
        }
    }
    if (tracker->tempMemory) FreeManagedMemory(tracker->tempMemory, 0);
    tracker->tempMemory = nullptr;
    tracker->tempSize = 0;
}

// The start of the slot resource buffer that p points into, or null.
static void* BufferHolding(const sBasicUiRLSTracker* t, const void* p)
{
    if (!p) return nullptr;
    auto* q = static_cast<const uint8_t*>(p);
    for (const sBasicUiRLSSlot& s : t->slot)
        for (int b = 0; b < 2; ++b) {
            auto* d = static_cast<const uint8_t*>(s.resourceData[b]);
            if (d && q >= d && q < d + s.resourceSize[b]) return s.resourceData[b];
        }
    return nullptr;
}

// ---- Disposal of what the tracker loaded ----

// A group read whole lies in one resource buffer with its directory: its members are disposed,
// then the buffer is free again.
static int DisposeWholeGroup(sBasicUiRLSTracker* t, int slot, resourceHeader* g)
{
    auto* directory = static_cast<resourceGroupHeader*>(g->resourceHandle.get());
    void* block = BufferHolding(t, directory);
    if (!directory || !block) return 0;
    resourceHeader* members = directory->groupResourceHeaders;
    for (int32_t i = 0; i < directory->numResources; ++i) {
        if (members[i].resourceHandle && !DisposeResourceHeader(&members[i])) return 0;
        members[i].resourceHandle = nullptr;
    }
    BasicUiRLS_FreeMemory(t, slot, 0, &block);
    g->resourceHandle = nullptr;
    return 1;
}

static int DisposeOne(sBasicUiRLSTracker* t, int slot, resourceHeader* h)
{
    void* handle = h->resourceHandle.get();
    if (!handle || !OwnsMemory(t, handle)) return 1;
    if (!DisposeResourceHeader(h)) return 0;
    BasicUiRLS_FreeMemory(t, slot, 0, &handle);
    h->resourceHandle = nullptr;
    return 1;
}

int BasicUiRLS_DisposeResourceRange(sBasicUiRLSTracker* t, int slot, int first, int last)
{
    if (!t) return 0;
    for (int id = first; id <= last && id >= first; ++id) {
        resourceHeader* h = nullptr;
        if (!GetResourceHeader(id, &h) || !h) return 0;
        if (h->resourceType == kGroupType) {
            void* directory = h->resourceHandle.get();
            if (BufferHolding(t, directory)) {
                if (!DisposeWholeGroup(t, slot, h)) return 0;
            } else if (directory && OwnsMemory(t, directory)) {
                BasicUiRLS_FreeMemory(t, slot, 1, &directory);
                h->resourceHandle = nullptr;
            }
        } else if (!DisposeOne(t, slot, h)) {
            return 0;
        }
    }
    return 1;
}

int BasicUiRLS_CloseResourceGroup(sBasicUiRLSTracker* t, int slot, int rsid)
{
    if (!t) return 0;
    int group = rsid >= 0 && rsid <= 65535 ? rsid : rsid >> 16;
    resourceHeader* g = nullptr;
    if (!GetResourceHeader(group, &g) || !g) return 0;
    auto* directory = static_cast<resourceGroupHeader*>(g->resourceHandle.get());
    if (BufferHolding(t, directory)) return DisposeWholeGroup(t, slot, g);
    if (!directory || !OwnsMemory(t, directory)) return 1;
    resourceHeader* members = directory->groupResourceHeaders;
    for (int32_t i = 0; i < directory->numResources; ++i)
        if (!DisposeOne(t, slot, &members[i])) return 0;
    void* p = directory;
    BasicUiRLS_FreeMemory(t, slot, 1, &p);
    g->resourceHandle = nullptr;
    return 1;
}

// ---- Start and finish ----

// Every slot empty and on the free list, the lists and counts empty, the request idle.
static void ResetSlots(sBasicUiRLSTracker* tracker)
{
    std::memset(tracker->slot, 0, sizeof tracker->slot);
    std::memset(tracker->groupSlot, 0, sizeof tracker->groupSlot);
    for (int i = 0; i < kBasicUiRLSSlots; ++i) {
        sBasicUiRLSSlot& s = tracker->slot[i];
        s.rsid = -1;
        s.groupIndex = -1;
        s.loadedState = -1;
        s.next = i + 1 < kBasicUiRLSSlots ? &tracker->slot[i + 1] : nullptr;
    }
    tracker->freeHead = &tracker->slot[0];
    tracker->pendHead = tracker->pendTail = tracker->postHead = nullptr;
    tracker->allocIndex = 0;
    tracker->raceCondition = 0;
    std::memset(&tracker->request, 0, sizeof tracker->request);
    tracker->request.slot = -1;
    tracker->request.rsid = -1;
    tracker->request.maxSize = -1;
    tracker->request.stateStep = 4;
}

int BasicUiRLS_Init(sBasicUiRLSTracker* tracker, sBasicUiResourceFile** files, int tempSize)
{
    if (!tracker) return 0;
    // A tracker started again (the environment sizes it once its description is read) must not
    // lose the buffers of the earlier start.
    if (tracker->files || tracker->tempMemory) BasicUiRLS_Fini(tracker);
    std::memset(tracker, 0, sizeof *tracker);
    ResetSlots(tracker);
    tracker->files = files;
    if (tempSize >= 1) {
        void* p = nullptr;
        if (AllocateMemory(&p, tempSize)) {
            tracker->tempMemory = p;
            tracker->tempSize = tempSize;
        }
    }
    return 1;
}

int BasicUiRLS_Fini(sBasicUiRLSTracker* tracker)
{
    if (!tracker) return 0;
    // A read in flight ends before its buffer goes.
    if (tracker->request.stateStep == 5) FileCancelRequest(&tracker->request);
    tracker->request.stateStep = 0;
    tracker->request.rsid = -1;
    for (int i = 0; i < kBasicUiRLSSlots; ++i) {
        sBasicUiRLSSlot& s = tracker->slot[i];
        if (s.rsid <= 0) continue;
        BasicUiRLS_DisposeResourceRange(tracker, i, s.rsid, s.rsid);
        if (s.rsid >> 16) BasicUiRLS_CloseResourceGroup(tracker, i, s.rsid);
    }
    ReleaseSlotMemory(tracker);
    // Empty again and ready for the environment's next description.
    ResetSlots(tracker);
    return 1;
}

int BasicUiRLS_Print(sBasicUiRLSTracker* t)
{
    if (!t) return 0;
    for (int i = 0; i < kBasicUiRLSSlots; ++i) {
        const sBasicUiRLSSlot& s = t->slot[i];
        PrintError("slot[%i] idx=%i size=%i slots=%i rsid=%i rsid=%i isR=%i loaded=%i", i, s.groupIndex, s.groupSize,
                   s.groupSlots, s.rsid >> 16, s.rsid & 0xFFFF, s.isRequired, s.loadedState);
    }
    for (int g = 0; g < kBasicUiRLSSlots; ++g) PrintError("groupSlot[%i] = %i", g, t->groupSlot[g]);
    return 1;
}
