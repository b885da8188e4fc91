// The file server: synchronous opens and reads, the queue of asynchronous reads served by one
// thread, and the completions run on the main thread once per frame.
#include "platform/fileserver.h"

#include <chrono>

#include <cstring>
#include <string>
#include <thread>

#include "host/clock.h"
#include "host/errorlog.h"
#include "host/files.h"
#include "host/threads.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "platform/utilities.h"

// Longest path FileOpen takes, not counting the NUL.
static const size_t kMaxPathLength = 261;

// The request records: one block from the memory manager, each record either on the free list or
// in the pending queue. Both lists and every flag of a record change only under criticalSection:
// the main thread retires and cancels, the sound thread queues stream reads, the server serves.
static DS3_fileRequest_tag* requestList = nullptr;
static DS3_fileRequest_tag* freeRequests = nullptr;
static DS3_fileRequest_tag* pendingRequests = nullptr;  // FIFO; the head is the one served
static int fileServerRunning = 0;
// The lock and the events are never destroyed: a process that ends without FileSystemDispose
// still has the server thread waiting on them, and destroying a waited-on event at exit would hang.
static HostCriticalSection& criticalSection = *new HostCriticalSection;
// Wakes the server for the next request or to stop.
static HostEvent& fileServerEvent = *new HostEvent;
// Signalled by the server after each completion, for cancels that wait for a started read.
static HostEvent& requestCompleted = *new HostEvent;
// Allocated while the file system runs, so that a process ending without FileSystemDispose does
// not wait at exit for a thread that waits for work.
static HostThread* fileServerThread = nullptr;
// Numbers of the reads the server has begun and finished (under criticalSection): a cancel waits
// for a number rather than a record, which may be retired and reused meanwhile.
static uint64_t servesStarted = 0;
static uint64_t servesCompleted = 0;

// Synchronous reads: FileSeek sets the offset that FileRead uses.
static uint32_t fileOffset = 0;
static int readDone = 0;
uint32_t readLength = 0;
// Calls of FileReadWithSize since it last pumped the loading bar.
static int ticks = 0;

// The waiting side of one FileRead, keyed by its address in the request's callbackData: each
// FileRead waits for its own request, however reads nest or finish.
struct SyncRead {
    int done;
    int error;
    uint32_t length;
};

// Null when all records are in use; *running tells whether the file system runs at all.
static DS3_fileRequest_tag* TakeFreeRequest(int* running)
{
    criticalSection.Enter();
    *running = requestList != nullptr;
    DS3_fileRequest_tag* request = freeRequests;
    if (request) freeRequests = request->next;
    criticalSection.Leave();
    return request;
}

// Caller holds criticalSection.
static void ReleaseRequest(DS3_fileRequest_tag* request)
{
    request->next = freeRequests;
    freeRequests = request;
}

// Caller holds criticalSection. The server takes only an unstarted head; it is told whenever one
// may be waiting for it.
static void WakeServerForHead()
{
    if (pendingRequests && !pendingRequests->started) fileServerEvent.Signal();
}

// Performs one read; runs on the server thread, outside the lock. The record's request fields do
// not change while it is queued, and its results are published under the lock.
static void ServeRequest(DS3_fileRequest_tag* request)
{
    auto* file = static_cast<HostFile*>(request->fileHandle);
    uint32_t got = 0;
    if (request->offset == kReadAtCurrentPosition || HostFileSeek(file, request->offset) == kHostFileOk) {
        HostFileRead(file, request->buffer, request->length, &got);
    }
    criticalSection.Enter();
    request->lengthRead = got;
    request->error = got != request->length;
    request->complete = 1;
    servesCompleted = servesStarted;
    criticalSection.Leave();
    requestCompleted.Signal();
}

// The server thread: one request per wake-up. Every signal of fileServerEvent is given under
// criticalSection after the change it announces, so a signal left over when the server finds
// nothing to do under the lock announces nothing new and is cleared; a signal given after the
// server leaves the lock is kept by the event for the Wait below.
static void FileServer()
{
    for (;;) {
        criticalSection.Enter();
        if (!fileServerRunning) {
            criticalSection.Leave();
            break;
        }
        DS3_fileRequest_tag* request = pendingRequests;
        if (request && !request->started && !request->cancelled) {
            request->started = 1;
            ++servesStarted;
            criticalSection.Leave();
            ServeRequest(request);
        } else {
            fileServerEvent.WaitFor(0);
            criticalSection.Leave();
        }
        fileServerEvent.Wait();
    }
}

int FileSystemInit()
{
    if (requestList) return 1;
    void* block = nullptr;
    if (!AllocateClearedMemory(&block, int(sizeof(DS3_fileRequest_tag)) * kNumFileRequests)) {
        return PrintError("FileSystemInit: no memory for %d file requests", kNumFileRequests);
    }
    criticalSection.Enter();
    requestList = static_cast<DS3_fileRequest_tag*>(block);
    for (int i = 0; i < kNumFileRequests; ++i) {
        requestList[i].next = i + 1 < kNumFileRequests ? &requestList[i + 1] : nullptr;
    }
    freeRequests = requestList;
    pendingRequests = nullptr;
    servesStarted = servesCompleted = 0;
    fileServerRunning = 1;
    criticalSection.Leave();
    fileOffset = 0;
    readDone = 0;
    readLength = 0;
    ticks = 0;
    // Signals left from an earlier run would only cause a spare pass; drop them anyway.
    fileServerEvent.WaitFor(0);
    requestCompleted.WaitFor(0);
    // The game archive needs no mounting here: a missing game data directory shows up as opens
    // that fail.
    fileServerThread = new HostThread;
    fileServerThread->Start(FileServer);
    return 1;
}

// Waits until the read with this number has finished. Caller holds criticalSection once; it is
// left while waiting so that the server can finish.
static void WaitForServe(uint64_t serve)
{
    while (servesCompleted < serve) {
        criticalSection.Leave();
        // The time-out only covers a completion signal taken by another waiting thread.
        requestCompleted.WaitFor(5);
        criticalSection.Enter();
    }
}

// Drops every queued request without its callback; waits for a started one to finish before its
// record goes back to the free list.
static void CancelAllRequests()
{
    criticalSection.Enter();
    DS3_fileRequest_tag* running = nullptr;
    while (DS3_fileRequest_tag* request = pendingRequests) {
        pendingRequests = request->next;
        request->cancelled = 1;
        request->callback = nullptr;
        if (request->started && !request->complete) {
            running = request;
        } else {
            ReleaseRequest(request);
        }
    }
    if (running) {
        WaitForServe(servesStarted);
        ReleaseRequest(running);
    }
    criticalSection.Leave();
}

int FileSystemDispose()
{
    if (!requestList) return 1;
    int ok = 1;
    for (;;) {
        criticalSection.Enter();
        bool empty = pendingRequests == nullptr;
        criticalSection.Leave();
        if (empty) break;
        if (!LoadingBarUpdate()) {
            ok = PrintError("FileSystemDispose: stopped with file requests pending; they are dropped");
            break;
        }
        std::this_thread::yield();
    }
    // The server must be idle before the records go: nothing may read into freed memory.
    if (!ok) CancelAllRequests();
    criticalSection.Enter();
    fileServerRunning = 0;
    fileServerEvent.Signal();
    criticalSection.Leave();
    fileServerThread->Join();
    delete fileServerThread;
    fileServerThread = nullptr;

    criticalSection.Enter();
    DS3_fileRequest_tag* block = requestList;
    requestList = freeRequests = pendingRequests = nullptr;
    criticalSection.Leave();
    FreeManagedMemory(block, 0);
    return ok;
}

int FileOpen(const char* path, void** handle, int mode)
{
    (void)mode;  // files of the game archive open for reading only
    if (!path) return PrintError("FileOpen: no path");
    if (strnlen(path, kMaxPathLength + 1) > kMaxPathLength) {
        return PrintError("FileOpen: path longer than %d characters", int(kMaxPathLength));
    }
    int32_t result = kHostFileOk;
    HostFile* file = HostFileOpenRead(path, &result);
    if (!file) return PrintError("FileOpen: cannot open %s (result %d)", HostQuoted(path).c_str(), int(result));
    // Without a place for the handle the open only tells that the file can be read.
    if (handle) {
        *handle = file;
    } else {
        HostFileClose(file);
    }
    return 1;
}

int FileClose(void* handle)
{
    if (!handle) return PrintError("FileClose: no file");
    // A queued or running read of the file would use the closed handle.
    criticalSection.Enter();
    int busy = 0;
    for (DS3_fileRequest_tag* r = pendingRequests; r; r = r->next) {
        if (r->fileHandle == handle && !r->complete) busy = 1;
    }
    criticalSection.Leave();
    if (busy) return PrintError("FileClose: the file still has reads queued");
    HostFileClose(static_cast<HostFile*>(handle));
    return 1;
}

int FileGetSize(void* handle, unsigned int* size)
{
    if (!handle) return PrintError("FileGetSize: no file");
    uint64_t bytes = 0;
    if (HostFileSize(static_cast<HostFile*>(handle), &bytes) != kHostFileOk) {
        return PrintError("FileGetSize: the size cannot be read");
    }
    if (bytes > 0xFFFFFFFFu) return PrintError("FileGetSize: the file is larger than 4 GB");
    if (size) *size = unsigned(bytes);
    return 1;
}

int FileSeek(void* handle, int offset)
{
    (void)handle;  // the offset is used by the next FileRead, whichever file it reads
    fileOffset = uint32_t(offset);
    return 1;
}

// The callback of FileRead's own requests, whose callbackData is the waiting read's SyncRead (or
// null): it is no callback for other requests.
int FileReadDone(DS3_fileRequest_tag* request)
{
    if (!request) return PrintError("FileReadDone: no request");
    readDone = 1;
    readLength = request->lengthRead;
    if (auto* waiting = static_cast<SyncRead*>(request->callbackData)) {
        waiting->length = request->lengthRead;
        waiting->error = request->error;
        waiting->done = 1;
    }
    return 1;
}

int FileRead(void* handle, void* buffer, int length)
{
    SyncRead waiting = {0, 0, 0};
    readDone = 0;
    if (!FileReadAsync(handle, buffer, int(fileOffset), length, FileReadDone, &waiting)) return 0;
    while (!waiting.done) {
        if (!LoadingBarUpdate()) {
            // The request must not outlive this frame's record of it, nor read into a buffer the
            // caller frees after the failure.
            if (waiting.done) {
                readLength = waiting.length;
            } else {
                FileCancelRequest(&waiting);
            }
            return PrintError("FileRead: stopped while waiting for the read");
        }
        // Sleep until the server finishes a read rather than for a fixed time: a menu reads dozens
        // of small resources one after another, and a fixed nap outlasted each of their reads.
        // The time-out covers a completion signal taken by another waiting thread.
        if (!waiting.done) requestCompleted.WaitFor(1);
    }
    // A read nested in this one's wait may have changed the globals.
    readDone = 1;
    readLength = waiting.length;
    if (waiting.error) {
        return PrintError("FileRead: read %d of %d bytes at offset %d", int(waiting.length), length,
                          int(fileOffset));
    }
    return 1;
}

int FileReadWithSize(void* handle, void* buffer, int size)
{
    if (!handle || !buffer || size < 0) return PrintError("FileReadWithSize: no file, no buffer or bad size");
    // Long runs of direct reads keep the screen, files and sound alive.
    if (ticks++ > 50) {
        ticks = 0;
        // Stopped (the order to close came): no bytes, and no end of the file either.
        if (!LoadingBarUpdate()) return -1;
    }
    uint32_t got = 0;
    HostFileRead(static_cast<HostFile*>(handle), buffer, uint32_t(size), &got);
    return int(got);
}

int FileReadAsync(void* handle, void* buffer, int offset, int length, int (*callback)(DS3_fileRequest_tag*),
                  void* callbackData)
{
    if (!handle || length < 0 || (!buffer && length > 0)) {
        return PrintError("FileReadAsync: no file, no buffer or bad length");
    }
    int running = 0;
    DS3_fileRequest_tag* request = TakeFreeRequest(&running);
    if (!running) return PrintError("FileReadAsync: the file system is not running");
    if (!request) return PrintError("FileReadAsync: all %d file requests are in use", kNumFileRequests);
    request->fileHandle = handle;
    request->buffer = buffer;
    request->offset = uint32_t(offset);
    request->length = uint32_t(length);
    request->lengthRead = 0;
    request->started = request->complete = request->cancelled = request->error = 0;
    request->next = nullptr;
    request->callback = callback;
    request->callbackData = callbackData;

    criticalSection.Enter();
    if (!pendingRequests) {
        pendingRequests = request;
        fileServerEvent.Signal();
    } else {
        DS3_fileRequest_tag* tail = pendingRequests;
        while (tail->next) tail = tail->next;
        tail->next = request;
    }
    criticalSection.Leave();
    return 1;
}

int FileCancelRequest(void* callbackData)
{
    if (!callbackData) return 0;
    int allRemoved = 1;
    uint64_t serve = 0;
    criticalSection.Enter();
    DS3_fileRequest_tag* prev = nullptr;
    DS3_fileRequest_tag* request = pendingRequests;
    while (request) {
        DS3_fileRequest_tag* next = request->next;
        if (request->callbackData == callbackData) {
            request->cancelled = 1;
            if (request->started) {
                // It finishes and is retired without its callback.
                request->callback = nullptr;
                allRemoved = 0;
                if (!request->complete) serve = servesStarted;
            } else {
                if (prev) {
                    prev->next = next;
                } else {
                    pendingRequests = next;
                }
                ReleaseRequest(request);
                request = next;
                continue;
            }
        }
        prev = request;
        request = next;
    }
    WakeServerForHead();
    // The caller may free the buffer once this returns, so a read in progress must end first.
    if (serve) WaitForServe(serve);
    criticalSection.Leave();
    return allRemoved;
}

// A completion is its own request's work, not that of a load whose wait for its read retired it:
// its faults carry none of the load's context (the archive and resource being read), and none is
// taken for the load's first fault. The load's context is back when it returns.
static int RunCallback(DS3_fileRequest_tag* finished)
{
    const std::string waiting = HostSetErrorContext(nullptr);
    const int aside = HostSetErrorOtherWork(1);
    const int ok = finished->callback(finished);
    HostSetErrorOtherWork(aside);
    HostSetErrorContext(waiting.c_str());
    return ok;
}

int FileSystemUpdate()
{
    criticalSection.Enter();
    DS3_fileRequest_tag* head = pendingRequests;
    if (!head) {
        criticalSection.Leave();
        return 1;
    }
    // On the virtual clock a read lands at the end of the frame that queued it, whatever the
    // server thread's timing, so that a run repeats exactly (streamed music included).
    if (HostVirtualClockEnabled()) {
        WakeServerForHead();
        while (pendingRequests && !pendingRequests->complete && !pendingRequests->cancelled) {
            criticalSection.Leave();
            requestCompleted.WaitFor(5);
            criticalSection.Enter();
        }
        head = pendingRequests;
    }
    DS3_fileRequest_tag finished;
    int retired = 0;
    if (head && head->complete) {
        pendingRequests = head->next;
        // The callback gets a copy: the record is free again at once (the callback may queue the
        // next read into it) and the sound thread may take it meanwhile.
        finished = *head;
        finished.next = nullptr;
        ReleaseRequest(head);
        retired = 1;
    }
    criticalSection.Leave();

    if (retired && finished.callback && !RunCallback(&finished)) return 0;

    criticalSection.Enter();
    WakeServerForHead();
    criticalSection.Leave();
    return 1;
}
