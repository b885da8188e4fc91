// Fuzzes the database XML loader: any file given as a database is loaded, every loaded database is
// read cell by cell, packed into its contiguous image, moved and patched, and everything is freed
// again. Nothing may crash, a packed image must always pass its own check, and the memory manager
// must end where it started.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "db/database.h"
#include "db/dbimage.h"
#include "db/dbxml.h"
#include "host/arena.h"
#include "host/files.h"
#include "host/host.h"
#include "lib/memory.h"

static std::string dbPath;

static void SetUpOnce()
{
    HostArenaInit(64 << 20);
    u8* start = HostDeviceMemoryAddress();
    InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), 0x4000, 128, 0, 1);
    const std::string dir = HostMakeTempFolder("zendrolyx-dbxml-fuzz");
    if (dir.empty()) std::abort();
    gHostOptions.romDir = dir;
    // The folder goes when the fuzzer ends its run (one that crashes leaves it as it was).
    std::atexit([] { std::filesystem::remove_all(gHostOptions.romDir); });
    dbPath = std::string(dir) + "/fuzz.xml";
}

// Reads every cell (up to a bound) in every way the game does. Rows count against the bound as
// well as cells, so that a table of many rows and no columns ends the walk as soon.
static void ReadCells(sBasicDb* db)
{
    char text[4096];
    int budget = 20000;
    for (int t = 0; t < db->tables && budget > 0; ++t) {
        sBasicDbTable* table = &db->table.get()[t];
        BasicDbTable_Find(db, table->name);
        int columns = table->def ? table->def->columns : 0;
        for (int r = -1; r < table->rows && budget > 0; ++r, --budget) {
            for (int c = 0; c < columns && budget > 0; ++c, --budget) {
                BasicDbTable_PutElementOntoStr(table, r, c, text, int(sizeof text));
                if (std::strlen(BasicDbTable_GetStrElement(table, r, c)) > 4095) std::abort();
                BasicDbTable_GetElementI(table, c, r, 0);
                BasicDbTable_GetElementIN(table, c, r, 1, 0);
            }
        }
    }
}

static void PackAndMove(sBasicDb* db)
{
    sBasicDb* copy = nullptr;
    if (!BasicDb_CreateContiguousCopy(&db, &copy)) return;
    int size = BasicDb_Size(&db);
    if (BasicDb_Size(&copy) != size || !BasicDb_CheckImage(copy, size)) std::abort();
    void* memory = nullptr;
    if (AllocateMemory(&memory, size) && memory) {
        std::memcpy(memory, copy, size_t(size));
        sBasicDb* moved = static_cast<sBasicDb*>(memory);
        if (!BasicDb_PatchPointers(&moved, size)) std::abort();
        ReadCells(moved);
        if (!BasicDb_LoadImage(&moved, copy, size)) std::abort();
        FreeManagedMemory(memory, 0);
    }
    BasicDb_Destroy(copy);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;

    std::FILE* f = std::fopen(dbPath.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    unsigned usedBefore = deviceHeap.memoryUsed;
    sBasicDb* db = nullptr;
    // A file that holds no database at all is refused (and said); any other loads, its damage said.
    if (!BasicDb_Load(&db, "fuzz.xml") && db) std::abort();
    for (sBasicDb* d = db; d; d = d->next) {
        ReadCells(d);
        PackAndMove(d);
    }
    BasicDb_Destroy(db);
    if (deviceHeap.memoryUsed != usedBefore) {
        std::fprintf(stderr, "memory not returned: %u bytes before, %u after\n", usedBefore, deviceHeap.memoryUsed);
        std::abort();
    }
    return 0;
}
