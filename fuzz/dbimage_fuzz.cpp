// Fuzzes the check and the pointer patching of database images (the save file). The first byte
// chooses the input: even, the rest is an image as it stands; odd, the rest is a list of edits
// (two bytes of position, one of value) to the image of a small database, so that the walk meets
// damage deep inside an otherwise sound image. Either way:
// - the check and the patch agree, and a refused patch writes nothing;
// - a patched image reads back without touching memory outside it;
// - loading a refused image over a live database leaves that database as it was.
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

static const char kDatabase[] = R"(<BasicDb name="save" tableDefs="2" tables="3">
<BasicDbTableDef name="bowler" columns="4">
  <BasicDbTableColumnDef name="name" type="string" count="9"/><BasicDbTableColumnDef name="hand" type="byte" count="1"/>
  <BasicDbTableColumnDef name="average" type="float" count="1"/><BasicDbTableColumnDef name="scores" type="int" count="3"/>
</BasicDbTableDef>
<BasicDbTableDef name="flags" columns="2">
  <BasicDbTableColumnDef name="on" type="bool" count="2"/><BasicDbTableColumnDef name="tag" type="str" count="3"/>
</BasicDbTableDef>
<BasicDbTable name="bowlers" def="bowler" rows="2">"Ada", 1, 181.5, 200 187 213, "Bo", 0, 142, 150 139 161,</BasicDbTable>
<BasicDbTable name="orphan" def="none" rows="4"/>
<BasicDbTable name="flags" def="flags" rows="1">1 0, "ab",</BasicDbTable>
</BasicDb>)";

static sBasicDb* live = nullptr;
static std::vector<uint8_t> good;

static void SetUpOnce()
{
    HostArenaInit(64 << 20);
    u8* start = HostDeviceMemoryAddress();
    InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), 0x4000, 128, 0, 1);
    const std::string dir = HostMakeTempFolder("zendrolyx-dbimage-fuzz");
    if (dir.empty()) std::abort();
    gHostOptions.romDir = dir;
    // The folder goes when the fuzzer ends its run (one that crashes leaves it as it was).
    std::atexit([] { std::filesystem::remove_all(gHostOptions.romDir); });
    std::FILE* f = std::fopen((std::string(dir) + "/save.xml").c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(kDatabase, 1, sizeof kDatabase - 1, f);
    std::fclose(f);
    sBasicDb* source = nullptr;
    if (!BasicDb_Load(&source, "save.xml") || !BasicDb_CreateContiguousCopy(&source, &live)) std::abort();
    BasicDb_Destroy(source);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(live);
    good.assign(bytes, bytes + BasicDb_Size(&live));
}

static void ReadCells(sBasicDb* db)
{
    char text[256];
    for (int t = 0; t < db->tables; ++t) {
        sBasicDbTable* table = &db->table.get()[t];
        if (table->name && BasicDbTable_Find(db, table->name) == nullptr) std::abort();
        int columns = table->def ? table->def->columns : 0;
        for (int r = -1; r < table->rows && r < 64; ++r) {
            for (int c = 0; c < columns && c < 64; ++c) {
                BasicDbTable_PutElementOntoStr(table, r, c, text, int(sizeof text));
                if (std::strlen(BasicDbTable_GetStrElement(table, r, c)) > (1u << 20)) std::abort();
                BasicDbTable_SetElementIN(table, c, r, 0, BasicDbTable_GetElementIN(table, c, r, 0, 0));
            }
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    if (size < 1 || size > (1u << 20)) return 0;

    std::vector<uint8_t> image;
    if (data[0] % 2 == 0) {
        image.assign(data + 1, data + size);
    } else {
        image = good;
        for (size_t i = 1; i + 3 <= size; i += 3) {
            size_t at = size_t(data[i] | data[i + 1] << 8);
            if (at < image.size()) image[at] = data[i + 2];
        }
        // A spare byte grows or shrinks the image.
        if ((size - 1) % 3 == 1) image.resize(data[size - 1] & 1 ? image.size() + 1 : image.size() - 1);
    }
    int length = int(image.size());

    unsigned usedBefore = deviceHeap.memoryUsed;
    int sound = BasicDb_CheckImage(image.data(), length);
    if (length > 0) {
        void* memory = nullptr;
        if (!AllocateMemory(&memory, length) || !memory) std::abort();
        std::memcpy(memory, image.data(), image.size());
        sBasicDb* block = static_cast<sBasicDb*>(memory);
        int patched = BasicDb_PatchPointers(&block, length);
        if (patched != sound) std::abort();
        if (patched) {
            ReadCells(block);
        } else if (std::memcmp(memory, image.data(), image.size()) != 0) {
            std::abort();
        }
        FreeManagedMemory(memory, 0);
    }

    int loaded = BasicDb_LoadImage(&live, image.data(), length);
    if (loaded != (sound && length == int(good.size()))) std::abort();
    if (loaded) {
        ReadCells(live);
        // Back to the good contents for the next input.
        if (!BasicDb_LoadImage(&live, good.data(), int(good.size()))) std::abort();
    }
    if (std::memcmp(live, good.data(), good.size()) != 0) std::abort();
    if (deviceHeap.memoryUsed != usedBefore) std::abort();
    return 0;
}
