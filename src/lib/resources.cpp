// Opening resource archives into the resource table and the lookups on it; archive handles sit in a
// small table so that a record holds a 32-bit slot, not a host pointer.
#include "lib/resources.h"

#include <cstdio>
#include <cstring>

#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resourceload.h"
#include "platform/fileserver.h"
#include "platform/utilities.h"

resourceHeader* resourceHeaders = nullptr;
resourceFileHeader_tag* resourceFiles = nullptr;
int maxResources = 0;

// Open files of the archives. The trailer's handle field is 32 bits wide, so it holds a slot
// number here (slot + 1; 0 is no file).
static const int kMaxOpenArchives = 32;
static void* archiveHandles[kMaxOpenArchives];
// The path each slot's archive was opened by, for the messages of what is read from it.
static char archivePaths[kMaxOpenArchives][256];

// Why the last archive that failed to open was refused, naming it.
static char archiveFault[300];

// The largest resource the loader accepts; anything bigger is a damaged directory.
static const int32_t kMaxResourceBytes = 256 * 1024 * 1024;

void* ResourceFileHandle(const resourceFileHeader_tag* file)
{
    if (!file || file->fileHandle == 0 || file->fileHandle > uint32_t(kMaxOpenArchives)) return nullptr;
    return archiveHandles[file->fileHandle - 1];
}

const char* ResourceArchivePath(const resourceFileHeader_tag* file)
{
    if (!ResourceFileHandle(file)) return "an archive that is not open";
    return archivePaths[file->fileHandle - 1];
}

static uint32_t TakeHandleSlot(void* handle, const char* path)
{
    for (int i = 0; i < kMaxOpenArchives; ++i) {
        if (!archiveHandles[i]) {
            archiveHandles[i] = handle;
            PrintString(archivePaths[i], int(sizeof archivePaths[i]), "%s", path);
            return uint32_t(i + 1);
        }
    }
    return 0;
}

static void CloseArchiveFile(resourceFileHeader_tag* file)
{
    void* handle = ResourceFileHandle(file);
    if (handle) {
        FileClose(handle);
        archiveHandles[file->fileHandle - 1] = nullptr;
    }
    file->fileHandle = 0;
}

int InitResources(int maxResourceID)
{
    if (maxResourceID <= 0) return 0;
    void* table = nullptr;
    if (!AllocateClearedMemory(&table, maxResourceID * int(sizeof(resourceHeader)))) return 0;
    resourceHeaders = static_cast<resourceHeader*>(table);
    maxResources = maxResourceID;
    resourceFiles = nullptr;
    return 1;
}

static int Padded(int32_t n) { return n % kResourcePadding == 0; }

// Checks a top-level directory record against the file it came from. Records without data are
// accepted as they are.
static int ValidRecord(const resourceHeader& r, int64_t dataEnd)
{
    if (r.resourceLength <= 0) return 1;
    if (r.resourceOffset < 0 || int64_t(r.resourceOffset) + r.resourceLength > dataEnd) return 0;
    if (r.resourceUncompressedLength <= 0 || r.resourceUncompressedLength > kMaxResourceBytes) return 0;
    if (!Padded(r.resourceUncompressedLength)) return 0;
    if (r.resourceType == kResourceTypeGroup) {
        // The directory sits in the last resourceFlags bytes and is freed as a piece of its own.
        int32_t dir = r.resourceFlags;
        return dir >= int32_t(sizeof(resourceGroupHeader)) && Padded(dir) && dir <= r.resourceLength &&
               dir <= r.resourceUncompressedLength;
    }
    if (r.resourceFlags & kResourceCompressed) return 1;
    return r.resourceLength == r.resourceUncompressedLength;
}

int ValidateGroupDirectory(const resourceHeader* group, const uint8_t* directory, int32_t size)
{
    // The directory may sit anywhere in a stored block: read its records by copying them.
    if (size < int32_t(sizeof(resourceGroupHeader))) return 0;
    resourceGroupHeader header;
    std::memcpy(&header, directory, sizeof header);
    int32_t n = header.numResources;
    if (n < 0 || int64_t(n) * int64_t(sizeof(resourceHeader)) + int64_t(sizeof(resourceGroupHeader)) > size) return 0;

    const bool storedPlain = group->resourceLength == group->resourceUncompressedLength;
    // Members are stored one after another from the group's first byte, then the directory.
    int64_t offset = group->resourceOffset;
    int64_t unpacked = group->resourceFlags;
    for (int32_t i = 0; i < n; ++i) {
        resourceHeader m;
        std::memcpy(&m, directory + sizeof(resourceGroupHeader) + size_t(i) * sizeof m, sizeof m);
        if (m.resourceType == kResourceTypeGroup) return 0;
        if (m.resourceLength > 0) {
            if (m.resourceOffset != offset) return 0;
            if (m.resourceUncompressedLength <= 0 || m.resourceUncompressedLength > kMaxResourceBytes) return 0;
            if (!Padded(m.resourceUncompressedLength)) return 0;
            bool compressed = m.resourceFlags & kResourceCompressed;
            if (!compressed && m.resourceLength != m.resourceUncompressedLength) return 0;
            if (storedPlain && compressed) return 0;
            offset += m.resourceLength;
            unpacked += m.resourceUncompressedLength;
        }
    }
    if (offset + group->resourceFlags != int64_t(group->resourceOffset) + group->resourceLength) return 0;
    if (!storedPlain && unpacked != group->resourceUncompressedLength) return 0;
    return 1;
}

// Reads `length` bytes at `offset` of an open file; 1 only when all of them arrived.
static int ReadAt(void* handle, int64_t offset, void* buffer, int32_t length)
{
    if (offset < 0 || offset > 0x7FFFFFFF) return 0;
    FileSeek(handle, int(offset));
    return FileRead(handle, buffer, length) && readLength == uint32_t(length);
}

resourceFileHeader_tag* OpenResourceFile(const char* path) { return OpenResourceFileInternal(path, 1); }

const char* ArchiveFault() { return archiveFault; }

resourceFileHeader_tag* OpenResourceFileInternal(const char* path, int checkOverlap)
{
    archiveFault[0] = '\0';
    if (!resourceHeaders) {
        std::snprintf(archiveFault, sizeof archiveFault, "archive %s refused: there is no resource table", path);
        return nullptr;
    }
    void* handle = nullptr;
    if (!FileOpen(path, &handle, 0)) {
        if (!done) std::snprintf(archiveFault, sizeof archiveFault, "archive %s cannot be opened", path);
        return nullptr;
    }

    unsigned fileSize = 0;
    void* trailerBlock = nullptr;
    void* directory = nullptr;
    resourceFileHeader_tag* file = nullptr;
    int64_t directoryStart = 0;
    int32_t directoryBytes = 0;

    auto refuse = [&](const char* why) -> resourceFileHeader_tag* {
        // A read that the order to close stopped says nothing of the archive.
        if (!done) {
            std::snprintf(archiveFault, sizeof archiveFault, "archive %s refused: %s", path, why);
            PrintError("%s", archiveFault);
        }
        if (directory) FreeManagedMemory(directory, 0);
        if (trailerBlock) FreeManagedMemory(trailerBlock, 0);
        FileClose(handle);
        return nullptr;
    };

    if (!FileGetSize(handle, &fileSize) || fileSize < unsigned(kArchiveTrailerBytes)) return refuse("too short");
    if (!AllocateMemory(&trailerBlock, kArchiveTrailerBytes)) return refuse("no memory for its trailer");
    if (!ReadAt(handle, int64_t(fileSize) - kArchiveTrailerBytes, trailerBlock, kArchiveTrailerBytes))
        return refuse("its trailer cannot be read");
    file = static_cast<resourceFileHeader_tag*>(trailerBlock);

    // The trailer and the directory are found from the file's end, so an archive cut short (or
    // with bytes added) reads both from the wrong place: the ids and records it then gives are
    // checked as the archive's own before they are compared with other archives.
    const int64_t base = file->baseResourceNum;
    const int64_t count = file->numResources;
    if (base < 0 || count < 0 || base + count > maxResources)
        return refuse("its trailer gives ids past the resource table: the archive is cut short or its trailer is "
                      "damaged");

    // The directory ends on a 2048-byte boundary right before the trailer.
    directoryBytes = int32_t(count * int64_t(sizeof(resourceHeader)));
    int64_t roundedBytes = (int64_t(directoryBytes) + kArchiveTrailerBytes - 1) / kArchiveTrailerBytes * kArchiveTrailerBytes;
    directoryStart = int64_t(fileSize) - kArchiveTrailerBytes - roundedBytes;
    if (directoryStart < 0)
        return refuse("its directory does not fit before its trailer: the archive is cut short or its trailer is "
                      "damaged");

    // Read and check the whole directory before the table changes.
    if (directoryBytes > 0) {
        if (!AllocateTempMemory(&directory, directoryBytes)) return refuse("no memory for its directory");
        if (!ReadAt(handle, directoryStart, directory, directoryBytes)) return refuse("its directory cannot be read");
        const auto* records = static_cast<const resourceHeader*>(directory);
        for (int64_t i = 0; i < count; ++i)
            if (!ValidRecord(records[i], directoryStart))
                return refuse("its directory is damaged or the archive is cut short");
    }
    if (checkOverlap) {
        for (resourceFileHeader_tag* other = resourceFiles; other; other = other->nextFile) {
            if (count > 0 && other->numResources > 0 && base < other->baseResourceNum + other->numResources &&
                other->baseResourceNum < base + count)
                return refuse("its ids overlap an open archive");
        }
    }

    uint32_t slot = TakeHandleSlot(handle, path);
    if (!slot) return refuse("too many archives are open");

    // Nothing that can fail remains: the archive takes over its ids.
    if (directoryBytes > 0) {
        std::memcpy(resourceHeaders + base, directory, size_t(directoryBytes));
        FreeManagedMemory(directory, 0);
        directory = nullptr;
    }
    for (int64_t i = 0; i < count; ++i) {
        resourceHeaders[base + i].resourceHandle = nullptr;
        resourceHeaders[base + i].resourceFile = file;
    }
    file->fileHandle = slot;
    file->fileLinkData = nullptr;
    file->nextFile = resourceFiles;
    resourceFiles = file;
    return file;
}

static void UnlinkArchive(resourceFileHeader_tag* file)
{
    if (resourceFiles == file) {
        resourceFiles = file->nextFile;
        return;
    }
    for (resourceFileHeader_tag* f = resourceFiles; f; f = f->nextFile) {
        if (f->nextFile.get() == file) {
            f->nextFile = file->nextFile.get();
            return;
        }
    }
}

// Disposes every loaded resource of the archive and forgets its ids; the first failure abandons
// the rest of the archive.
static int DisposeArchiveResources(resourceFileHeader_tag* file)
{
    for (int32_t i = 0; i < file->numResources; ++i) {
        int id = file->baseResourceNum + i;
        resourceHeader& r = resourceHeaders[id];
        if (r.resourceHandle && !DisposeResource(id)) return 0;
        // The ids must not keep pointing at the archive once it is gone.
        std::memset(&r, 0, sizeof r);
    }
    return 1;
}

static int ReleaseArchive(resourceFileHeader_tag* file)
{
    CloseArchiveFile(file);
    if (file->fileLinkData) {
        void* link = file->fileLinkData;
        if (!FreeManagedMemory(link, 0)) return 0;
    }
    return FreeManagedMemory(file, 0);
}

int CloseResourceFile(resourceFileHeader_tag* file)
{
    if (!file) return 0;
    UnlinkArchive(file);
    if (!DisposeArchiveResources(file)) return 0;
    return ReleaseArchive(file);
}

int FreeResources()
{
    while (resourceFiles) {
        resourceFileHeader_tag* file = resourceFiles;
        resourceFiles = file->nextFile;
        DisposeArchiveResources(file);  // a failure abandons the rest of this archive only
        ReleaseArchive(file);
    }
    void* table = resourceHeaders;
    int result = table ? FreeManagedMemory(table, 0) : 1;
    if (result) {
        resourceHeaders = nullptr;
        maxResources = 0;
    }
    return result;
}

int GetResourceHeader(int id, resourceHeader** out)
{
    if (!resourceHeaders) return 0;
    int group = id >> 16;
    resourceHeader* record = nullptr;
    if (group != 0) {
        if (group < 0 || group >= maxResources) return 0;
        auto* directory = static_cast<resourceGroupHeader*>(resourceHeaders[group].resourceHandle.get());
        if (resourceHeaders[group].resourceType != kResourceTypeGroup || !directory) return 0;
        int index = id & 0xFFFF;
        if (index >= directory->numResources) return 0;
        record = directory->groupResourceHeaders.get() + index;
    } else {
        if (id < 0 || id >= maxResources) return 0;
        record = &resourceHeaders[id];
    }
    if (out) *out = record;
    return 1;
}

void* ResourceHandle(int id)
{
    resourceHeader* r = nullptr;
    return GetResourceHeader(id, &r) ? r->resourceHandle.get() : nullptr;
}

int GetResourceHandle(int id, void** out)
{
    void* data = ResourceHandle(id);
    if (!data) return 0;
    if (out) *out = data;
    return 1;
}

int ResourceLoaded(int id) { return ResourceHandle(id) ? 1 : 0; }

int ResourceSize(int id)
{
    resourceHeader* r = nullptr;
    return GetResourceHeader(id, &r) ? r->resourceLength : -1;
}

int ResourceType(int id)
{
    resourceHeader* r = nullptr;
    return GetResourceHeader(id, &r) ? r->resourceType : 0;
}

int NumResourcesInGroup(int id)
{
    int group = (id >> 16) != 0 ? id >> 16 : id;
    resourceHeader* r = nullptr;
    if (!GetResourceHeader(group, &r) || r->resourceType != kResourceTypeGroup || !r->resourceHandle) return -1;
    return static_cast<resourceGroupHeader*>(r->resourceHandle.get())->numResources;
}

int DisposeResourceHeader(resourceHeader* header)
{
    if (!header) return 0;
    if (header->resourceType == 0) return 1;
    return header->resourceHandle ? 1 : 0;
}
