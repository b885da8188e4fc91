// Resource archives and the resource table. All game data lives in archives (".rez") whose
// directories of 24-byte records are copied into one table indexed by resource id. A plain id is
// an index into the table; a sub-resource id is (group id << 16) | member index.
#pragma once

#include <cstdint>

#include "host/ptr32.h"
#include "lib/resourceids.h"

struct resourceFileHeader_tag;

// One directory record (24 bytes, also used in group directories).
struct resourceHeader {
    int32_t resourceOffset;              // absolute file offset of the stored bytes
    int32_t resourceLength;              // stored bytes (compressed size when compressed); <= 0: no data
    int32_t resourceUncompressedLength;  // size in memory
    int16_t resourceType;                // 19 marks a group
    uint16_t resourceFlags;              // group: size of its directory; else bit 0 = compressed
    Ptr32<void> resourceHandle;          // run time: the loaded data (a group: its directory)
    Ptr32<resourceFileHeader_tag> resourceFile;  // run time: the archive holding it
};
static_assert(sizeof(resourceHeader) == 24, "directory records are 24 bytes");

// The first 40 bytes of an archive's 2048-byte trailer; the trailer block itself is what the
// list of open archives holds.
struct resourceFileHeader_tag {
    uint32_t fileHandle;  // run time: the open file
    int32_t baseResourceNum;
    int32_t numResources;
    int32_t numGroupResources;
    int16_t timeStamp[8];
    Ptr32<void> fileLinkData;
    Ptr32<resourceFileHeader_tag> nextFile;
};
static_assert(sizeof(resourceFileHeader_tag) == 40, "the trailer header record is 40 bytes");

// The header of a group directory; the member records follow it.
struct resourceGroupHeader {
    int32_t numResources;
    Ptr32<resourceHeader> groupResourceHeaders;
    uint32_t groupLinkData;
    uint32_t groupResourceData;  // 0 when the group is loaded whole; 1 when its directory was read alone
};
static_assert(sizeof(resourceGroupHeader) == 16, "group directory header is 16 bytes");

constexpr int kArchiveTrailerBytes = 2048;
constexpr uint16_t kResourceCompressed = 1;
// Loaded blocks are freed piece by piece in whole units of the heap, so every resource's size in
// memory must be a multiple of this.
constexpr int32_t kResourcePadding = 128;

extern resourceHeader* resourceHeaders;
extern resourceFileHeader_tag* resourceFiles;
extern int maxResources;

int InitResources(int maxResourceID);
resourceFileHeader_tag* OpenResourceFile(const char* path);
resourceFileHeader_tag* OpenResourceFileInternal(const char* path, int checkOverlap);
// Why the last open that failed did so, naming the archive: "archive PATH refused: WHY" or
// "archive PATH cannot be opened" ("" when the order to close stopped it).
const char* ArchiveFault();
int CloseResourceFile(resourceFileHeader_tag* file);
int FreeResources();
int GetResourceHeader(int id, resourceHeader** out);
void* ResourceHandle(int id);
int GetResourceHandle(int id, void** out);
int ResourceLoaded(int id);
int ResourceSize(int id);
int ResourceType(int id);
int NumResourcesInGroup(int id);
int DisposeResourceHeader(resourceHeader* header);

// The open file of an archive (a handle of the file server), or null.
void* ResourceFileHandle(const resourceFileHeader_tag* file);
// The path an open archive was opened by, for messages.
const char* ResourceArchivePath(const resourceFileHeader_tag* file);
// Checks the records of a group directory of `size` bytes read for `group`; 1 when every member
// lies inside the group's stored bytes and is padded as the loader needs.
int ValidateGroupDirectory(const resourceHeader* group, const uint8_t* directory, int32_t size);
