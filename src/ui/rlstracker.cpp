// The UI's asynchronous resource loader: 128 double-buffered slots stepped once per frame.
#include "ui/rlstracker.h"

#include <cstring>

#include "lib/memory.h"

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

int BasicUiRLS_Init(sBasicUiRLSTracker* tracker, sBasicUiResourceFile** files, int tempSize)
{
    if (!tracker) return 0;
    // A tracker started again (the environment sizes it once its description is read) must not
    // lose the buffers of the earlier start.
    if (tracker->files || tracker->tempMemory) ReleaseSlotMemory(tracker);
    std::memset(tracker, 0, sizeof *tracker);
    for (int i = 0; i < kBasicUiRLSSlots; ++i) {
        sBasicUiRLSSlot& s = tracker->slot[i];
        s.rsid = -1;
        s.groupIndex = -1;
        s.loadedState = -1;
        s.next = i + 1 < kBasicUiRLSSlots ? &tracker->slot[i + 1] : nullptr;
    }
    tracker->freeHead = &tracker->slot[0];
    tracker->files = files;
    tracker->request.slot = -1;
    tracker->request.rsid = -1;
    tracker->request.maxSize = -1;
    tracker->request.stateStep = 4;
    if (tempSize >= 1) {
        void* p = nullptr;
        if (AllocateMemory(&p, tempSize)) {
            tracker->tempMemory = p;
            tracker->tempSize = tempSize;
        }
    }
    return 1;
}

int BasicUiRLS_Dispatch(sBasicUiRLSTracker* tracker, int allowRead)
{
    (void)allowRead;
    if (!tracker) return 0;
    sBasicUiRLSSlot* head = tracker->pendHead;
    if (head && (head->loadedState == 1 || head->loadedState == 2)) {
        tracker->pendHead = head->next;
        if (!tracker->pendHead) tracker->pendTail = nullptr;
        head->next = tracker->postHead;
        tracker->postHead = head;
    }
    if (!tracker->pendHead || tracker->pendHead->loadedState == -1) tracker->raceCondition = 0;
    return 1;
}

int BasicUiRLS_NotBusy(sBasicUiRLSTracker* tracker) { return !tracker || !tracker->pendHead; }

int BasicUiRLS_Fini(sBasicUiRLSTracker* tracker)
{
    if (!tracker) return 0;
    ReleaseSlotMemory(tracker);
    return 1;
}
