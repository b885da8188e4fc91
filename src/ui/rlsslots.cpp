// Reservation of the resource loader's slots and the reads that fill them: slots are taken free
// while a group is under its limit, else from the loaded slots that no load command holds, oldest
// first; the queue is read one slot at a time through the file server, a step per frame.
#include <cstring>

#include "lib/decompress.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "ui/rlstracker.h"

enum { kAgeWrap = 16777216, kGroupType = 19 };

// Group numbers index a table of 128: any other number counts as no group.
static int GroupOf(int groupIndex)
{
    if (groupIndex >= kBasicUiRLSSlots) PrintError("BasicUiRLS: group %i is out of range, taken as none", groupIndex);
    return groupIndex >= 0 && groupIndex < kBasicUiRLSSlots ? groupIndex : -1;
}

static int SlotIndex(const sBasicUiRLSTracker* t, const sBasicUiRLSSlot* s) { return int(s - t->slot); }

static int AgeDistance(int c, int a)
{
    int direct = a > c ? a - c : c - a;
    int wrapped = (a > kAgeWrap ? a - kAgeWrap : kAgeWrap - a) + c;
    return direct < wrapped ? direct : wrapped;
}

static int Unlink(sBasicUiRLSSlot** head, sBasicUiRLSSlot* s)
{
    for (sBasicUiRLSSlot** p = head; *p; p = &(*p)->next)
        if (*p == s) {
            *p = s->next;
            s->next = nullptr;
            return 1;
        }
    return 0;
}

// Whether another slot of the post or pending lists holds rsid required, or (member) holds any
// member of its group loaded or being read.
static int OthersUse(const sBasicUiRLSTracker* t, const sBasicUiRLSSlot* except, int rsid, int wholeGroup)
{
    for (const sBasicUiRLSSlot* list : {t->postHead, t->pendHead})
        for (const sBasicUiRLSSlot* s = list; s; s = s->next) {
            if (s == except || s->rsid <= 0) continue;
            if (!wholeGroup && s->rsid == rsid && s->isRequired) return 1;
            if (wholeGroup && (s->rsid >> 16) == (rsid >> 16) && (s->loadedState == 0 || ResourceLoaded(s->rsid)))
                return 1;
        }
    return 0;
}

int BasicUiRLS_ReserveSlot(sBasicUiRLSTracker* t, int rsid, int groupIndex, int groupSize, int groupSlots,
                           int loaded, int)
{
    if (!t) return -1;
    int group = GroupOf(groupIndex);
    int under = group < 0 || t->groupSlot[group] < groupSlots;
    sBasicUiRLSSlot* victim = nullptr;
    if (under && t->freeHead) {
        victim = t->freeHead;
        t->freeHead = victim->next;
        victim->next = nullptr;
    } else {
        sBasicUiRLSSlot* oldest = nullptr;
        int oldestDistance = -1;
        for (sBasicUiRLSSlot* s = t->postHead; s; s = s->next) {
            int mayTake = under || s->groupIndex == group;
            if (mayTake && !ResourceLoaded(s->rsid)) {
                victim = s;
                break;
            }
            if (!mayTake || s->isRequired) continue;
            int d = AgeDistance(t->allocIndex, s->allocIndex);
            if (d > oldestDistance) {
                oldest = s;
                oldestDistance = d;
            }
        }
        if (!victim) victim = oldest;
        if (!victim) {
            t->raceCondition = 1;
            PrintError("BasicUiRLS: race condition.");
            return -1;
        }
        Unlink(&t->postHead, victim);
        int old = victim->rsid;
        int slot = SlotIndex(t, victim);
        if (old > 0 && old != rsid && ResourceLoaded(old) && !OthersUse(t, victim, old, 0)) {
            BasicUiRLS_DisposeResourceRange(t, slot, old, old);
            if ((old >> 16) && !OthersUse(t, victim, old, 1)) BasicUiRLS_CloseResourceGroup(t, slot, old);
        }
        if (victim->groupIndex >= 0 && t->groupSlot[victim->groupIndex] > 0) t->groupSlot[victim->groupIndex]--;
        victim->rsid = -1;
        victim->groupIndex = -1;
        victim->loadedState = -1;
    }
    victim->allocIndex = t->allocIndex;
    if (++t->allocIndex > kAgeWrap) t->allocIndex = 0;
    victim->groupIndex = group;
    victim->groupSize = groupSize;
    victim->groupSlots = groupSlots;
    if (group >= 0) t->groupSlot[group]++;
    victim->rsid = rsid;
    victim->isRequired = 1;
    if (!loaded) {
        victim->loadedState = -1;
        victim->next = nullptr;
        if (t->pendTail)
            t->pendTail->next = victim;
        else
            t->pendHead = victim;
        t->pendTail = victim;
    } else {
        victim->loadedState = 1;
        victim->next = t->postHead;
        t->postHead = victim;
    }
    return SlotIndex(t, victim);
}

int BasicUiRLS_RenewSlot(sBasicUiRLSTracker* t, int rsid, int groupIndex, int groupSize, int groupSlots, int slot)
{
    if (!t) return -1;
    int group = GroupOf(groupIndex);
    sBasicUiRLSSlot* s = slot >= 0 && slot < kBasicUiRLSSlots ? &t->slot[slot] : nullptr;
    int holds = s && s->rsid == rsid && s->groupIndex == group && s->isRequired;
    if (rsid <= 0) {
        if (s && s->groupIndex == group) s->isRequired = 0;
        return -1;
    }
    if (holds && s->loadedState != 1) return slot;
    if (s && s->rsid != rsid && s->groupIndex == group && s->isRequired) s->isRequired = 0;
    if (!ResourceLoaded(rsid)) return BasicUiRLS_ReserveSlot(t, rsid, groupIndex, groupSize, groupSlots, 0, slot);
    if (holds) return slot;
    return BasicUiRLS_ReserveSlot(t, rsid, groupIndex, groupSize, groupSlots, 1, slot);
}

int BasicUiRLS_IsLoaded(sBasicUiRLSTracker* t, int rsid)
{
    if (!t) return 1;
    const sBasicUiRLSSlot* head = t->pendHead;
    if (head && head->rsid == rsid && (head->loadedState == -1 || head->loadedState == 0)) return 0;
    return rsid < 1 ? 1 : ResourceLoaded(rsid);
}

int BasicUiRLS_IsBroken(sBasicUiRLSTracker* t, int rsid, int groupIndex, int, int, int slot)
{
    if (!t || slot < 0 || slot >= kBasicUiRLSSlots) return 0;
    const sBasicUiRLSSlot& s = t->slot[slot];
    return s.rsid == rsid && s.groupIndex == GroupOf(groupIndex) && s.loadedState == 2;
}

int BasicUiRLS_NotBusy(sBasicUiRLSTracker* t) { return !t || !t->pendHead; }

// ---- Reading ----

int BasicUiRLS_ReadDone(DS3_fileRequest_tag* fileRequest)
{
    auto* r = static_cast<sBasicUiRLSReadRequest*>(fileRequest->callbackData);
    if (!r) return 1;
    r->result = !fileRequest->error && fileRequest->lengthRead == fileRequest->length;
    r->stateStep = 6;
    return 1;
}

static int Finish(sBasicUiRLSReadRequest* r, int result)
{
    r->stateFn = 7;
    r->stateStep = 0;
    r->result = result;
    return 1;
}

static int Issue(sBasicUiRLSReadRequest* r, resourceHeader* h, void* buffer, int offset, int length)
{
    void* file = ResourceFileHandle(h->resourceFile.get());
    if (!file || !FileReadAsync(file, buffer, offset, length, BasicUiRLS_ReadDone, r)) return 0;
    r->stateStep = 5;
    return 1;
}

// The group directory read alone, made usable the way the loader's own open makes it.
static int SetUpDirectory(resourceHeader* group, void* block, int size)
{
    if (!ValidateGroupDirectory(group, static_cast<uint8_t*>(block), size)) return 0;
    auto* directory = static_cast<resourceGroupHeader*>(block);
    directory->groupResourceData = 1;
    directory->groupResourceHeaders =
        reinterpret_cast<resourceHeader*>(static_cast<uint8_t*>(block) + sizeof(resourceGroupHeader));
    for (int32_t i = 0; i < directory->numResources; ++i) {
        directory->groupResourceHeaders.get()[i].resourceHandle = nullptr;
        directory->groupResourceHeaders.get()[i].resourceFile = group->resourceFile.get();
    }
    group->resourceHandle = directory;
    return 1;
}

// A whole group into one resource buffer: its stored bytes (through the temp buffer when packed),
// then its directory and members set up as the loader's own group load does.
static int ReadWholeGroup(sBasicUiRLSTracker* t, sBasicUiRLSReadRequest* r)
{
    resourceHeader* g = nullptr;
    if (r->stateStep == 4) {
        if (!GetResourceHeader(r->rsid, &g) || !g || !g->resourceFile) return Finish(r, 0);
        if (!ResourceFileHandle(g->resourceFile.get())) return Finish(r, 1);
        if (g->resourceHandle || g->resourceLength <= 0) return Finish(r, 0);
        int packed = g->resourceLength != g->resourceUncompressedLength;
        int need = packed ? g->resourceUncompressedLength : g->resourceLength;
        if (need < r->maxSize) need = r->maxSize;
        if (!BasicUiRLS_AllocMemory(t, r->slot, 0, &r->theResource, need)) {
            PrintError("BasicUiRLS_ReadResourceASync: Failed to allocate group memory %i", r->rsid);
            return Finish(r, 0);
        }
        void* into = r->theResource;
        if (packed) {
            if (g->resourceLength > t->tempSize || !t->tempMemory) {
                PrintError("BasicUiRLS_ReadResourceASync: Failed to allocate group temp memory %i", r->rsid);
                BasicUiRLS_FreeMemory(t, r->slot, 0, &r->theResource);
                return Finish(r, 0);
            }
            into = t->tempMemory;
        }
        r->theHeader = g;
        if (!Issue(r, g, into, g->resourceOffset, g->resourceLength)) {
            BasicUiRLS_FreeMemory(t, r->slot, 0, &r->theResource);
            return Finish(r, 0);
        }
        return 0;
    }
    g = r->theHeader;
    auto* block = static_cast<uint8_t*>(r->theResource);
    int packed = g->resourceLength != g->resourceUncompressedLength;
    int ok = r->result && (packed ? DecompressResourceGroup(g, static_cast<uint8_t*>(t->tempMemory), block)
                                  : InitializeResourceGroup(g, block));
    if (!ok) {
        BasicUiRLS_FreeMemory(t, r->slot, 0, &r->theResource);
        return Finish(r, 0);
    }
    return Finish(r, ResourceLoaded(r->rsid));
}

int BasicUiRLS_ReadResourceASync(sBasicUiRLSTracker* t, sBasicUiRLSReadRequest* r)
{
    if (!t || !r || r->rsid <= 0 || r->stateStep == 0) return 1;
    if (r->stateStep == 5) return 0;
    resourceHeader* h = nullptr;
    if (r->stateFn == 0) {
        int group = r->rsid >> 16;
        if (!group) {
            if (!GetResourceHeader(r->rsid, &h) || !h) return Finish(r, 0);
            r->stateFn = h->resourceType == kGroupType ? 2 : 3;
        } else {
            resourceHeader* g = nullptr;
            if (!GetResourceHeader(group, &g) || !g || g->resourceType != kGroupType || !g->resourceFile)
                return Finish(r, 0);
            if (g->resourceHandle) {
                r->stateFn = 3;
            } else {
                int size = g->resourceFlags;
                int offset = g->resourceOffset + g->resourceLength - size;
                if (size < int(sizeof(resourceGroupHeader)) || offset < 0 ||
                    !BasicUiRLS_AllocMemory(t, r->slot, 1, &r->theGroup, size)) {
                    PrintError("BasicUiRLS_ReadResourceASync: Failed to allocate header memory %i", r->rsid);
                    return Finish(r, 0);
                }
                r->headerSize = size;
                r->theHeader = g;
                r->stateFn = 1;
                if (!Issue(r, g, r->theGroup, offset, size)) {
                    BasicUiRLS_FreeMemory(t, r->slot, 1, &r->theGroup);
                    return Finish(r, 0);
                }
                return 0;
            }
        }
        r->stateStep = 4;
    }
    if (r->stateFn == 1) {  // the directory has arrived
        if (!r->result || !SetUpDirectory(r->theHeader, r->theGroup, r->headerSize)) {
            BasicUiRLS_FreeMemory(t, r->slot, 1, &r->theGroup);
            return Finish(r, 0);
        }
        r->stateFn = 3;
        r->stateStep = 4;
    }
    if (r->stateFn == 2) return ReadWholeGroup(t, r);
    if (r->stateFn != 3) return Finish(r, 0);
    if (r->stateStep == 4) {
        if (!GetResourceHeader(r->rsid, &h) || !h || h->resourceType == kGroupType) return Finish(r, 0);
        if (h->resourceHandle) return Finish(r, 1);
        if (h->resourceLength <= 0 || !h->resourceFile) return Finish(r, 0);
        int compressed = (h->resourceFlags & kResourceCompressed) != 0;
        int need = compressed ? h->resourceUncompressedLength : h->resourceLength;
        if (need < r->maxSize) need = r->maxSize;
        if (!BasicUiRLS_AllocMemory(t, r->slot, 0, &r->theResource, need)) {
            PrintError("BasicUiRLS_ReadResourceASync: Failed to allocate memory %i", r->rsid);
            return Finish(r, 0);
        }
        void* into = r->theResource;
        if (compressed) {
            if (h->resourceLength > t->tempSize || !t->tempMemory) {
                PrintError("BasicUiRLS_ReadResourceASync: Failed to allocate temp memory %i", r->rsid);
                BasicUiRLS_FreeMemory(t, r->slot, 0, &r->theResource);
                return Finish(r, 0);
            }
            into = t->tempMemory;
        }
        r->theHeader = h;
        if (!Issue(r, h, into, h->resourceOffset, h->resourceLength)) {
            BasicUiRLS_FreeMemory(t, r->slot, 0, &r->theResource);
            return Finish(r, 0);
        }
        return 0;
    }
    // Step 6: the bytes are in; unpack them when stored packed and set the resource up.
    h = r->theHeader;
    auto* data = static_cast<uint8_t*>(r->theResource);
    int ok = r->result;
    int compressed = (h->resourceFlags & kResourceCompressed) != 0;
    int32_t length = compressed ? h->resourceUncompressedLength : h->resourceLength;
    if (ok && compressed) {
        auto* stored = static_cast<const uint8_t*>(t->tempMemory);
        ok = h->resourceType != 0 &&
             DecompressedSize(stored, uint32_t(h->resourceLength)) == uint32_t(length) &&
             DecompressBounded(stored, uint32_t(h->resourceLength), data, uint32_t(length));
    }
    if (ok) {
        h->resourceHandle = data;
        ok = InitializeResourceData(data, h->resourceType, r->rsid & 0xFFFF, length);
        if (!ok) h->resourceHandle = nullptr;
    }
    if (!ok) {
        BasicUiRLS_FreeMemory(t, r->slot, 0, &r->theResource);
        return Finish(r, 0);
    }
    return Finish(r, ResourceLoaded(r->rsid));
}

int BasicUiRLS_Dispatch(sBasicUiRLSTracker* t, int allowRead)
{
    if (!t) return 0;
    sBasicUiRLSSlot* head = t->pendHead;
    if (head && (head->loadedState == 1 || head->loadedState == 2)) {
        t->pendHead = head->next;
        if (!t->pendHead) t->pendTail = nullptr;
        head->next = t->postHead;
        t->postHead = head;
    }
    head = t->pendHead;
    if (!head || head->loadedState == -1) t->raceCondition = 0;
    if (!allowRead || !BasicUiRLS_ReadResourceASync(t, &t->request)) return 1;
    if (!head) return 1;
    if (head->loadedState == 0) {
        int ok = t->request.rsid == head->rsid && t->request.result;
        head->loadedState = ok ? 1 : 2;
        if (!ok) {
            if (head->rsid > 65535)
                PrintError("BasicUi Error: could not load basicUi resource: %i offset=%i!", head->rsid >> 16,
                           head->rsid & 0xFFFF);
            else
                PrintError("BasicUi Error: could not load basicUi resource %i!", head->rsid);
        }
        return 1;
    }
    if (head->loadedState == -1) {
        head->loadedState = 0;
        sBasicUiRLSReadRequest& r = t->request;
        std::memset(&r, 0, sizeof r);
        r.rsid = head->rsid;
        r.slot = SlotIndex(t, head);
        r.maxSize = head->groupSize;
        r.stateStep = 4;
        BasicUiRLS_ReadResourceASync(t, &r);
    }
    return 1;
}
