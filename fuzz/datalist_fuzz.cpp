// Fuzzes the game data's list of files and start-up's check of it: any bytes given as the list
// ("rom:/checksums.txt") are read and every file they name is checked, in a game data folder that
// holds the list and one small file it may name. Nothing may crash, nothing outside the folder may
// be read, and the memory manager must end where it started.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/arena.h"
#include "host/files.h"
#include "host/host.h"
#include "lib/datalist.h"
#include "lib/memory.h"
#include "platform/fileserver.h"

static std::string listPath;

static void SetUpOnce()
{
    HostArenaInit(16 << 20);
    u8* start = HostDeviceMemoryAddress();
    InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), 0x2000, 128, 0, 1);
    const std::string dir = HostMakeTempFolder("zendrolyx-datalist-fuzz");
    if (dir.empty()) std::abort();
    gHostOptions.romDir = dir;
    // The folder goes when the fuzzer ends its run (one that crashes leaves it as it was).
    std::atexit([] { std::filesystem::remove_all(gHostOptions.romDir); });
    listPath = std::string(dir) + "/" + kDataListName;
    // A file for the list to name: "a.bin", 5 bytes.
    FILE* file = std::fopen((std::string(dir) + "/a.bin").c_str(), "wb");
    if (!file || std::fwrite("abcde", 1, 5, file) != 5) std::abort();
    std::fclose(file);
    if (!FileSystemInit()) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    FILE* list = std::fopen(listPath.c_str(), "wb");
    if (!list) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, list) != size) std::abort();
    std::fclose(list);

    const unsigned usedBefore = deviceHeap.memoryUsed;
    char fault[300];
    CheckGameData(fault, int(sizeof fault));
    if (deviceHeap.memoryUsed != usedBefore) {
        std::fprintf(stderr, "memory not returned: %u bytes before, %u after\n", usedBefore, deviceHeap.memoryUsed);
        std::abort();
    }
    return 0;
}
