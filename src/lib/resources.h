// Resource archives and the resource table: every piece of game data is addressed by an integer
// id; a sub-resource id is (group id << 16) | member index.
#pragma once

#include <cstdint>

#include "host/ptr32.h"

struct resourceFileHeader_tag;

// One directory record of an archive (24 bytes, also used in group directories).
struct resourceHeader {
    int32_t resourceOffset;
    int32_t resourceLength;
    int32_t resourceUncompressedLength;
    int16_t resourceType;
    uint16_t resourceFlags;
    Ptr32<void> resourceHandle;
    Ptr32<resourceFileHeader_tag> resourceFile;
};
static_assert(sizeof(resourceHeader) == 24, "directory records are 24 bytes");

// The first 40 bytes of an archive's 2048-byte trailer.
struct resourceFileHeader_tag {
    uint32_t fileHandle;
    int32_t baseResourceNum;
    int32_t numResources;
    int32_t numGroupResources;
    int16_t timeStamp[8];
    Ptr32<void> fileLinkData;
    Ptr32<resourceFileHeader_tag> nextFile;
};
static_assert(sizeof(resourceFileHeader_tag) == 40, "the trailer header record is 40 bytes");

extern resourceHeader* resourceHeaders;
extern resourceFileHeader_tag* resourceFiles;
extern int maxResources;

int InitResources(int maxResourceID);
resourceFileHeader_tag* OpenResourceFile(const char* path);
int FreeResources();
