// The environment's asynchronous resource loader: 128 double-buffered slots into which resources
// are streamed over several frames while the screens keep running. The environment owns one
// tracker; it is started when the environment is made and loaded, stepped once per frame and
// finished when the environment is cleared. Slots are reserved by the load command, which comes
// with the script commands; until then the queue stays empty and a dispatch only tidies it.
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

// Every slot empty and free (the tracker must be zeroed or started before), the request idle, and a temporary buffer of tempSize bytes when
// tempSize >= 1 (size 0 when it cannot be had). Releases a buffer of an earlier start first.
int BasicUiRLS_Init(sBasicUiRLSTracker* tracker, sBasicUiResourceFile** files, int tempSize);
// One step per frame: finished slots move to the post list.
int BasicUiRLS_Dispatch(sBasicUiRLSTracker* tracker, int allowRead);
// 1 when nothing is queued.
int BasicUiRLS_NotBusy(sBasicUiRLSTracker* tracker);
// Releases the slot buffers and the temporary buffer.
int BasicUiRLS_Fini(sBasicUiRLSTracker* tracker);
