// The resource table. Reading archives arrives with the game data work: until then an archive
// opens as an empty one, so that start-up runs through.
#include "lib/resources.h"

#include "lib/memory.h"

resourceHeader* resourceHeaders = nullptr;
resourceFileHeader_tag* resourceFiles = nullptr;
int maxResources = 0;

// The trailer block of an archive, as kept in the list of open archives.
static const int kTrailerBytes = 2048;

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

resourceFileHeader_tag* OpenResourceFile(const char*)
{
    void* block = nullptr;
    if (!resourceHeaders || !AllocateClearedMemory(&block, kTrailerBytes)) return nullptr;
    auto* file = static_cast<resourceFileHeader_tag*>(block);
    file->nextFile = resourceFiles;
    resourceFiles = file;
    return file;
}

int FreeResources()
{
    while (resourceFiles) {
        resourceFileHeader_tag* file = resourceFiles;
        resourceFiles = file->nextFile;
        void* block = file;
        DestroyMemory(&block);
    }
    void* table = resourceHeaders;
    int result = DestroyMemory(&table);
    if (result) {
        resourceHeaders = nullptr;
        maxResources = 0;
    }
    return result;
}
