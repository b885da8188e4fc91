// The file server: all game data is read from the read-only game archive ("rom:/"). Files open and
// read synchronously here, and a server thread performs queued asynchronous reads one at a time;
// their completion callbacks run on the main thread when it retires them once per frame.
#pragma once

#include <cstdint>

struct DS3_fileRequest_tag {
    void* fileHandle;
    void* buffer;
    uint32_t offset;  // 0xFFFFFFFF: read at the file's current position
    uint32_t length;
    uint32_t lengthRead;
    uint8_t started;
    uint8_t complete;
    uint8_t cancelled;
    uint8_t error;  // fewer bytes than length were read
    DS3_fileRequest_tag* next;
    int (*callback)(DS3_fileRequest_tag*);
    void* callbackData;  // the caller's data; also the key for cancelling
};

constexpr int kNumFileRequests = 20;
constexpr uint32_t kReadAtCurrentPosition = 0xFFFFFFFFu;

int FileSystemInit();
int FileSystemDispose();
int FileOpen(const char* path, void** handle, int mode);
int FileClose(void* handle);
int FileGetSize(void* handle, unsigned int* size);
int FileSeek(void* handle, int offset);
int FileRead(void* handle, void* buffer, int length);
int FileReadDone(DS3_fileRequest_tag* request);
// Reads up to size bytes at the file's current position: the count read, fewer than size at the
// end of the file (0 for no file or buffer, reported). Every 52nd call keeps the frames going
// (LoadingBarUpdate); when that fails (the order to close came) nothing is read and the result is
// -1, which says nothing of where the file ends.
int FileReadWithSize(void* handle, void* buffer, int size);
int FileReadAsync(void* handle, void* buffer, int offset, int length, int (*callback)(DS3_fileRequest_tag*),
                  void* callbackData);
int FileCancelRequest(void* callbackData);
int FileSystemUpdate();

// Bytes read by the last synchronous FileRead.
extern uint32_t readLength;
