// Command lists: word buffers in arena memory that the platform layer records into and that the
// GPU executes when a list is run.
#include <map>

#include "host/gpuinternal.h"

namespace {

struct Cmdlist {
    uint32_t* words = nullptr;   // the command buffer
    uint32_t capacity = 0;       // in words
    uint32_t used = 0;           // words recorded
    uint32_t executed = 0;       // words already run
    uint32_t* requests = nullptr;  // word position of each request, for diagnostics
    uint32_t requestCapacity = 0;
    uint32_t requestCount = 0;
    uint32_t bufferBytes = 0;
    uint32_t requestBytes = 0;
};

}  // namespace

static std::map<uint32_t, Cmdlist> lists;
static uint32_t nextListId = 1;
static uint32_t bound = 0;
static GpuCmdlistCallback callback = nullptr;
static int callbackEnabled = 0;

static Cmdlist* Bound()
{
    auto it = lists.find(bound);
    return it == lists.end() ? nullptr : &it->second;
}

static void ReleaseStorage(uint32_t id, Cmdlist* list)
{
    GpuRelease(kGpuAreaMain, kGpuAimCommandBuffer, id, list->words);
    GpuRelease(kGpuAreaMain, kGpuAimCommandRequests, id, list->requests);
    *list = Cmdlist{};
}

void GpuGenCmdlists(int count, uint32_t* ids)
{
    if (count < 0 || (count > 0 && !ids)) {
        GpuSetError(kGpuInvalidValue);
        return;
    }
    for (int i = 0; i < count; ++i) {
        ids[i] = nextListId++;
        lists[ids[i]] = Cmdlist{};
    }
}

void GpuDeleteCmdlists(int count, const uint32_t* ids)
{
    if (count < 0 || (count > 0 && !ids)) {
        GpuSetError(kGpuInvalidValue);
        return;
    }
    for (int i = 0; i < count; ++i) {
        auto it = lists.find(ids[i]);
        if (it == lists.end()) continue;
        ReleaseStorage(it->first, &it->second);
        lists.erase(it);
        if (bound == ids[i]) bound = 0;
    }
}

void GpuCmdlistsShutdown()
{
    for (auto& entry : lists) ReleaseStorage(entry.first, &entry.second);
    lists.clear();
    bound = 0;
    callback = nullptr;
    callbackEnabled = 0;
}

void GpuBindCmdlist(uint32_t id)
{
    if (id != 0 && !lists.count(id)) {
        GpuSetError(kGpuInvalidValue);
        return;
    }
    bound = id;
}

uint32_t GpuBoundCmdlist() { return bound; }

int GpuCmdlistStorage(uint32_t bufferSize, uint32_t requestCount)
{
    Cmdlist* list = Bound();
    if (!list) {
        GpuSetError(kGpuInvalidOperation);
        return 0;
    }
    if (bufferSize < 16 || bufferSize > 0x4000000 || requestCount == 0 || requestCount > 0x100000) {
        GpuSetError(kGpuInvalidValue);
        return 0;
    }
    ReleaseStorage(bound, list);
    bufferSize &= ~3u;
    list->words = static_cast<uint32_t*>(GpuAllocate(kGpuAreaMain, kGpuAimCommandBuffer, bound, int32_t(bufferSize)));
    list->requests = static_cast<uint32_t*>(
        GpuAllocate(kGpuAreaMain, kGpuAimCommandRequests, bound, int32_t(requestCount * sizeof(uint32_t))));
    if (!list->words || !list->requests) {
        ReleaseStorage(bound, list);
        GpuSetError(kGpuOutOfMemory);
        return 0;
    }
    list->capacity = bufferSize / 4;
    list->requestCapacity = requestCount;
    list->bufferBytes = bufferSize;
    return 1;
}

void GpuSetCmdlistParameteri(uint32_t, uint32_t) {}

uint32_t* GpuCmdlistWriteAddress()
{
    Cmdlist* list = Bound();
    if (!list || !list->words) return nullptr;
    return list->words + list->used;
}

uint32_t GpuCmdlistBytesFree()
{
    Cmdlist* list = Bound();
    if (!list || !list->words) return 0;
    return (list->capacity - list->used) * 4;
}

int GpuMoveCommandbufferPointer(int32_t bytes)
{
    Cmdlist* list = Bound();
    if (!list || !list->words) {
        GpuSetError(kGpuInvalidOperation);
        return 0;
    }
    if (bytes < 0 || bytes % 4 != 0) {
        GpuSetError(kGpuInvalidValue);
        return 0;
    }
    if (uint32_t(bytes) / 4 > list->capacity - list->used) {
        GpuSetError(kGpuOutOfMemory);
        return 0;
    }
    list->used += uint32_t(bytes) / 4;
    return 1;
}

// Appends words from the library calls; a request (clear, transfer, split) also takes one of the
// list's request slots.
int GpuRecordWords(const uint32_t* words, uint32_t count, int request)
{
    Cmdlist* list = Bound();
    if (!list || !list->words) {
        GpuSetError(kGpuInvalidOperation);
        return 0;
    }
    if (count > list->capacity - list->used || (request && list->requestCount >= list->requestCapacity)) {
        GpuSetError(kGpuOutOfMemory);
        return 0;
    }
    for (uint32_t i = 0; i < count; ++i) list->words[list->used + i] = words[i];
    if (request) list->requests[list->requestCount++] = list->used;
    list->used += count;
    return 1;
}

void GpuValidateState() {}

void GpuSplitDrawCmdlist()
{
    const uint32_t marker[2] = {GpuHeader(kGpuRegFinish, 1), 0};
    GpuRecordWords(marker, 2, 1);
}

void GpuRunCmdlist()
{
    Cmdlist* list = Bound();
    if (!list || !list->words) {
        GpuSetError(kGpuInvalidOperation);
        return;
    }
    GpuTexturesNewRun();
    uint64_t workBefore = GpuGlWork();
    uint32_t done = GpuExecute(list->words + list->executed, list->used - list->executed);
    // A damaged command stops the run; what follows it is never executed.
    list->executed = done < list->used - list->executed ? list->used : list->executed + done;
    if (GpuGlWork() != workBefore) glFlush();
    if (callback && callbackEnabled) callback(int(bound));
}

void GpuWaitCmdlistDone() {}
int GpuCmdlistIsRunning() { return 0; }
void GpuStopCmdlist() {}

void GpuClearCmdlist()
{
    Cmdlist* list = Bound();
    if (!list) {
        GpuSetError(kGpuInvalidOperation);
        return;
    }
    list->used = list->executed = list->requestCount = 0;
}

void GpuSetCmdlistCallback(GpuCmdlistCallback fn) { callback = fn; }
void GpuEnableCmdlistCallback(int points) { callbackEnabled = points != 0; }

uint32_t GpuCmdlistUsedBytes()
{
    Cmdlist* list = Bound();
    return list ? list->used * 4 : 0;
}

uint32_t GpuCmdlistUsedRequests()
{
    Cmdlist* list = Bound();
    return list ? list->requestCount : 0;
}
