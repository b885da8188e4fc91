// The environment's asynchronous resource loader: 128 double-buffered slots into which resources
// are streamed over several frames while the screens keep running. The environment owns one
// tracker; it is started when the environment is made and loaded, stepped once per frame and
// finished when the environment is cleared. Slots are reserved by the load command; reads go
// through the file server one at a time and finish on the main thread.
#pragma once

#include <cstdint>

struct sBasicUiResourceFile;
struct resourceHeader;

enum { kBasicUiRLSSlots = 128 };

struct sBasicUiRLSSlot {
    int rsid;  // -1: none
    int groupIndex;
    int groupSize;
    int groupSlots;
    int allocIndex;   // the tracker's counter when last reserved (its age)
    int loadedState;  // -1 queued, 0 reading, 1 loaded, 2 failed
    int isRequired;
    int headerUsed[2];
    int headerSize[2];
    void* headerData[2];
    int resourceUsed[2];
    int resourceSize[2];
    void* resourceData[2];
    sBasicUiRLSSlot* next;
};

struct sBasicUiRLSReadRequest {
    int slot;
    int maxSize;
    int rsid;
    sBasicUiResourceFile* resourceFile;
    resourceHeader* theHeader;
    int offset;
    int headerSize;
    void* theGroup;
    void* groupData;
    void* tempData;
    void* theResource;
    void* theData;
    int stateFn;    // 0 choose, 1 group directory, 2 whole group, 3 single resource, 7 done
    int stateStep;  // 4 start, 5 read issued, 6 read complete, 0 finished
    int result;
};

struct sBasicUiRLSTracker {
    sBasicUiRLSSlot slot[kBasicUiRLSSlots];
    int groupSlot[kBasicUiRLSSlots];
    sBasicUiRLSSlot* pendHead;
    sBasicUiRLSSlot* pendTail;
    sBasicUiRLSSlot* postHead;
    sBasicUiRLSSlot* freeHead;
    int allocIndex;
    int raceCondition;
    sBasicUiResourceFile** files;
    sBasicUiRLSReadRequest request;
    int tempSize;
    void* tempMemory;
};

// Every slot empty and free (the tracker must be zeroed or started before), the request idle, and
// a temporary buffer of tempSize bytes when tempSize >= 1 (size 0 when it cannot be had). Releases
// a buffer of an earlier start first.
int BasicUiRLS_Init(sBasicUiRLSTracker* tracker, sBasicUiResourceFile** files, int tempSize);

// A slot for rsid in the group (groupIndex 0..127, or -1 for none; others count as none): a free
// one while the group is under its limit of groupSlots, else the oldest loaded slot that no load
// command holds (of the same group when the group is full). With loaded 1 the resource is already
// in memory and the slot starts loaded; else it is queued for reading. -1 when none can be had.
int BasicUiRLS_ReserveSlot(sBasicUiRLSTracker* tracker, int rsid, int groupIndex, int groupSize, int groupSlots,
                           int loaded, int currentSlot);
// The slot that holds or will hold rsid for a load command that held `slot` (-1: none); releases
// the command's old slot when it asks for another resource. -1 for rsid <= 0.
int BasicUiRLS_RenewSlot(sBasicUiRLSTracker* tracker, int rsid, int groupIndex, int groupSize, int groupSlots,
                         int slot);
// 1 unless rsid is queued or being read at the head of the queue; then whether it is in memory.
int BasicUiRLS_IsLoaded(sBasicUiRLSTracker* tracker, int rsid);
// 1 when the slot holds rsid for the group and its read failed.
int BasicUiRLS_IsBroken(sBasicUiRLSTracker* tracker, int rsid, int groupIndex, int groupSize, int groupSlots,
                        int slot);
// 1 when nothing is queued.
int BasicUiRLS_NotBusy(sBasicUiRLSTracker* tracker);
// One step per frame: a finished slot moves to the post list, and with allowRead the read of the
// head of the queue is started or taken one step further.
int BasicUiRLS_Dispatch(sBasicUiRLSTracker* tracker, int allowRead);
// Steps the read of the request; 1 when none is in progress (idle, finished or failed).
int BasicUiRLS_ReadResourceASync(sBasicUiRLSTracker* tracker, sBasicUiRLSReadRequest* request);
struct DS3_fileRequest_tag;
// The completion of an asynchronous read: the request's read is complete (step 6).
int BasicUiRLS_ReadDone(DS3_fileRequest_tag* fileRequest);
// A header (header 1) or resource buffer of the slot of at least size bytes: the slot's own first
// or second free buffer, else the smallest free one of that kind among all slots. A buffer in use
// is never handed out again; 0 when none is free or memory is short.
int BasicUiRLS_AllocMemory(sBasicUiRLSTracker* tracker, int slot, int header, void** out, int size);
// Marks every buffer of that memory as free again (the memory is kept for later loads).
int BasicUiRLS_FreeMemory(sBasicUiRLSTracker* tracker, int slot, int header, void** memory);
int BasicUiRLS_DisposeResourceRange(sBasicUiRLSTracker* tracker, int slot, int first, int last);
int BasicUiRLS_CloseResourceGroup(sBasicUiRLSTracker* tracker, int slot, int rsid);
// Cancels a read in flight, disposes what the slots loaded and releases all buffers; the tracker
// is left empty, with every slot free.
int BasicUiRLS_Fini(sBasicUiRLSTracker* tracker);
int BasicUiRLS_Print(sBasicUiRLSTracker* tracker);
