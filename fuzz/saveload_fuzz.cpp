// Fuzzes the save file's load path: the input becomes "data:/savegame.bin" and is loaded over the
// image of a small save database. The first byte chooses the input: even, the rest is the file as
// it stands; odd, the rest is a list of edits (two bytes of position, one of value) to the good
// image, with a spare byte that grows or shrinks it. Either the load succeeds and the image holds
// exactly the file's bytes, which pass the image check, or the load is refused, the image is as it
// was and the file was kept aside whole. No game memory is left behind.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "db/database.h"
#include "db/dbimage.h"
#include "db/dbxml.h"
#include "host/arena.h"
#include "host/files.h"
#include "host/host.h"
#include "lib/memory.h"
#include "shell/savedata.h"

static const char kDatabase[] = R"(<BasicDb name="save" tableDefs="1" tables="2">
<BasicDbTableDef name="bowler" columns="3">
  <BasicDbTableColumnDef name="name" type="string" count="9"/><BasicDbTableColumnDef name="average" type="float" count="1"/>
  <BasicDbTableColumnDef name="scores" type="int" count="3"/>
</BasicDbTableDef>
<BasicDbTable name="bowlers" def="bowler" rows="2">"Ada", 181.5, 200 187 213, "Bo", 142, 150 139 161,</BasicDbTable>
<BasicDbTable name="empty" def="bowler" rows="0"/>
</BasicDb>)";

static std::vector<uint8_t> good;
static std::string saveDir;

static void SetUpOnce()
{
    HostArenaInit(64 << 20);
    u8* start = HostDeviceMemoryAddress();
    InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), 0x4000, 128, 0, 1);
    const std::string dir = HostMakeTempFolder("zendrolyx-saveload-fuzz");
    if (dir.empty()) std::abort();
    gHostOptions.romDir = dir;
    // The folder goes when the fuzzer ends its run (one that crashes leaves it as it was).
    std::atexit([] { std::filesystem::remove_all(gHostOptions.romDir); });
    gHostOptions.dataDir = saveDir = std::string(dir) + "/save";
    std::FILE* f = std::fopen((std::string(dir) + "/save.xml").c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(kDatabase, 1, sizeof kDatabase - 1, f);
    std::fclose(f);
    sBasicDb* source = nullptr;
    sBasicDb* image = nullptr;
    if (!BasicDb_Load(&source, "save.xml") || !BasicDb_CreateContiguousCopy(&source, &image)) std::abort();
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(image);
    good.assign(bytes, bytes + BasicDb_Size(&image));
    if (!SaveDataInit()) std::abort();
}

static std::vector<uint8_t> ReadFile(const std::string& path, int* exists)
{
    std::vector<uint8_t> out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    *exists = f != nullptr;
    if (!f) return out;
    int c;
    while ((c = std::fgetc(f)) != EOF) out.push_back(uint8_t(c));
    std::fclose(f);
    return out;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    if (size < 1 || size > (1u << 20)) return 0;

    std::vector<uint8_t> file;
    if (data[0] % 2 == 0) {
        file.assign(data + 1, data + size);
    } else {
        file = good;
        for (size_t i = 1; i + 3 <= size; i += 3) {
            size_t at = size_t(data[i] | data[i + 1] << 8);
            if (at < file.size()) file[at] = data[i + 2];
        }
        if ((size - 1) % 3 == 1) file.resize(data[size - 1] & 1 ? file.size() + 1 : file.size() - 1);
    }
    const std::string savePath = saveDir + "/savegame.bin";
    std::FILE* f = std::fopen(savePath.c_str(), "wb");
    if (!f) std::abort();
    if (!file.empty()) std::fwrite(file.data(), 1, file.size(), f);
    std::fclose(f);

    unsigned usedBefore = deviceHeap.memoryUsed;
    std::vector<uint8_t> image(good.size(), 0xa5);
    int loaded = LoadData(reinterpret_cast<char*>(image.data()), int(image.size()), 0);
    SaveDataEnd();
    int exists = 0;
    if (loaded) {
        if (image != file || !BasicDb_CheckImage(image.data(), int(image.size()))) std::abort();
        if (ReadFile(savePath, &exists) != file || !exists) std::abort();
    } else {
        if (image != std::vector<uint8_t>(good.size(), 0xa5)) std::abort();
        std::string kept = HostResolvePath(SaveDataKeptAside());
        if (kept.empty() || ReadFile(kept, &exists) != file || !exists) std::abort();
        std::remove(kept.c_str());
    }
    std::remove(savePath.c_str());
    if (deviceHeap.memoryUsed != usedBefore) std::abort();
    return 0;
}
