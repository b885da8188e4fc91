// The game data's list checked from the command line (mkrom --check DIR): it runs the game's own
// start-up check (CheckGameData) with "rom:/" naming DIR, so that a folder passes here exactly when
// start-up would take it. That check reads through the game's file layer and memory, which are
// started here as far as it needs them.
#include "data_list_check.h"

#include "host/arena.h"
#include "host/errorlog.h"
#include "host/host.h"
#include "lib/datalist.h"
#include "lib/memory.h"
#include "platform/fileserver.h"

namespace mkrom {

// Room for the list (1 MB at most) and the one piece of a file read at a time.
static const uint32_t kCheckMemory = 8u << 20;

bool CheckDataList(const std::string& dir, std::string* fault)
{
    if (!HostArenaInit(kCheckMemory)) {
        *fault = "no memory to check the game data";
        return false;
    }
    u8* start = HostDeviceMemoryAddress();
    if (!InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), 64, 128, 0, 1) || !FileSystemInit()) {
        *fault = "the file layer could not start";
        return false;
    }
    gHostOptions.romDir = dir;
    char text[kErrorMessageSize];
    const int whole = CheckGameData(text, int(sizeof text));
    FileSystemDispose();
    if (whole) return true;
    // The check names files as the game sees them, in quotes; here they are named in DIR.
    *fault = text[0] ? text : "the check did not finish";
    const std::string game = "\"rom:/", here = "\"" + HostEscapeName(dir.c_str()) + "/";
    for (size_t at = fault->find(game); at != std::string::npos; at = fault->find(game, at + here.size()))
        fault->replace(at, game.size(), here);
    return false;
}

}  // namespace mkrom
