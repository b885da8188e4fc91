// Fuzzes the check of a loaded save's values: the image of the game's own default save (as the save
// file holds it) gets cells set from the input, 8 bytes an edit (table, column, row and element,
// each taken modulo its count, then a 32-bit value), and its values are checked and repaired
// against the game's own "game" and "ui" databases and the default save. Nothing may crash; no more
// cells are repaired than were edited; a second check finds nothing left to repair; an image that
// passed the image check before the repair still does; and no game memory is left behind.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "db/database.h"
#include "db/dbimage.h"
#include "db/dbxml.h"
#include "host/arena.h"
#include "host/host.h"
#include "lib/memory.h"
#include "screens/savevalues.h"

static sBasicDb* image = nullptr;  // the save as loaded: one contiguous block
static sBasicDb* defaults = nullptr;
static sBasicDb* game = nullptr;
static sBasicDb* ui = nullptr;
static std::vector<uint8_t> good;

static void Check(int ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "savevalues_fuzz: %s\n", what);
        std::abort();
    }
}

static void SetUpOnce()
{
    HostArenaInit(64 << 20);
    u8* start = HostDeviceMemoryAddress();
    InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), 0x4000, 128, 0, 1);
    // The hand-written databases of the source tree are the game data's.
    gHostOptions.romDir = ZENDROLYX_SOURCE_DIR "/content";
    sBasicDb* source = nullptr;
    Check(BasicDb_Load(&source, "db/save.db.xml") && BasicDb_CreateContiguousCopy(&source, &image), "the save");
    Check(BasicDb_Load(&defaults, "db/save.db.xml") && BasicDb_Load(&game, "db/game.db.xml") &&
              BasicDb_Load(&ui, "db/ui.db.xml"),
          "the game's databases");
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(image);
    good.assign(bytes, bytes + BasicDb_Size(&image));
    Check(RepairSaveValues(image, defaults, game, ui) == 0, "the default save needs repairs");
}

static uint32_t Word(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    if (size > 8 * 256) return 0;
    std::memcpy(image, good.data(), good.size());
    const unsigned usedBefore = deviceHeap.memoryUsed;

    int edits = 0;
    for (size_t at = 0; at + 8 <= size; at += 8, ++edits) {
        const uint8_t* e = data + at;
        sBasicDbTable* table = &image->table.get()[e[0] % unsigned(image->tables)];
        sBasicDbTableDefinition* def = table->def.get();
        if (!def || def->columns <= 0 || table->rows <= 0) continue;
        const int column = e[1] % def->columns;
        const int count = BasicDbTable_GetElementCount(table, column);
        if (count <= 0) continue;
        BasicDbTable_SetElementIN(table, column, e[2] % table->rows, e[3] % count, int32_t(Word(e + 4)));
    }
    const int whole = BasicDb_CheckImage(image, int(good.size()));
    const int repaired = RepairSaveValues(image, defaults, game, ui);
    Check(repaired >= 0 && repaired <= edits, "more cells repaired than were edited");
    Check(RepairSaveValues(image, defaults, game, ui) == 0, "a repaired value is still outside its range");
    if (whole) Check(BasicDb_CheckImage(image, int(good.size())), "the repair broke the image");
    Check(deviceHeap.memoryUsed == usedBefore, "memory not returned");
    return 0;
}
