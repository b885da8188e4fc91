// Fuzzes the archive reader: any file given as an archive is opened, everything in it is loaded in
// every way the game loads resources, and everything is freed again. Nothing may crash, and the
// memory manager must end where it started.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/arena.h"
#include "host/files.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "shell/upperlayers.h"

static std::string archivePath;

static void SetUpOnce()
{
    HostArenaInit(64 << 20);
    u8* start = HostDeviceMemoryAddress();
    InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), 0x2000, 128, 0, 1);
    const std::string dir = HostMakeTempFolder("zendrolyx-archive-fuzz");
    if (dir.empty()) std::abort();
    gHostOptions.romDir = dir;
    // The folder goes when the fuzzer ends its run (one that crashes leaves it as it was).
    std::atexit([] { std::filesystem::remove_all(gHostOptions.romDir); });
    archivePath = std::string(dir) + "/fuzz.rez";
    if (!FileSystemInit()) std::abort();
    RegisterGameModules();  // collision models are set up by the game's initialiser
}

static void LoadEverything(const resourceFileHeader_tag* file)
{
    int first = file->baseResourceNum;
    int last = first + file->numResources - 1;
    for (int id = first; id <= last; ++id) {
        if (ResourceType(id) == kResourceTypeGroup) {
            if (OpenResourceGroup(id)) {
                int n = NumResourcesInGroup(id);
                for (int i = 0; i < n && i < 64; ++i) ReadResource((id << 16) | i);
                CloseResourceGroup(id);
            }
            if (LoadResourceGroup(id)) UnloadResourceGroup(id);
        } else {
            ReadResource(id);
            GetResource(id);
        }
    }
    DisposeResourceRange(first, last);
    if (LoadResourceRange(first, last)) DisposeResourceRange(first, last);
    LoadResourceRange1x1(first, last);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;

    std::FILE* f = std::fopen(archivePath.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    unsigned usedBefore = deviceHeap.memoryUsed;
    if (!InitResources(10000)) std::abort();
    resourceFileHeader_tag* file = OpenResourceFile("rom:/fuzz.rez");
    if (file) LoadEverything(file);
    FreeResources();
    if (deviceHeap.memoryUsed != usedBefore) {
        std::fprintf(stderr, "memory not returned: %u bytes before, %u after\n", usedBefore, deviceHeap.memoryUsed);
        std::abort();
    }
    return 0;
}
