#include "support/device_heap.h"

#include "db/database.h"
#include "game/characterload.h"
#include "host/arena.h"
#include "lib/memory.h"
#include "lib/textoutput.h"
#include "lib/trig.h"
#include "screens/credits.h"
#include "screens/saveflow.h"
#include "support/game_data.h"
#include "ui/environment.h"

// Forgets what the game kept in its heap, which is gone or about to be replaced.
static void ForgetWhatTheHeapHeld()
{
    theHeap = nullptr;
    // The trig tables live in the heap, and so do the selected font and the text buffer: a later
    // test must not measure text with them.
    sinTable = cosTable = nullptr;
    theFont = nullptr;
    fontTable = nullptr;
    fontCharacters = nullptr;
    fontTravels = nullptr;
    currentFontRSID = -1;
    textBuffer = nullptr;
    textBufferSize = -1;
    // The databases the front end made or loaded there, and the registry that names them.
    BasicDb_Init();
    dbSave = nullptr;
    ForgetCreditsDatabase();
    // The UI framework's environments, so that the next menu starts the framework afresh.
    basicUiEnvironmentPtr = nullptr;
    // The bowlers' archive, outfits and garment slots a test's game left loaded.
    ForgetCharacters();
}

int UseFreshDeviceHeap(uint32_t bytes, unsigned records)
{
    // Whatever an earlier test left in its heap is not in this one.
    ForgetWhatTheHeapHeld();
    if (!HostArenaInit(bytes)) return 0;
    theHeap = nullptr;
    u8* start = HostDeviceMemoryAddress();
    return InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), records, 128, 0, 1);
}

void ReleaseDeviceHeap()
{
    DisposeMemoryHeap(&deviceHeap);
    ForgetWhatTheHeapHeld();
    // A transition a test left running would hold back the next test's menus and fire its
    // callbacks into the next test's game.
    ForgetTransition();
}
