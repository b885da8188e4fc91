// Frame sequence. Drawing on the GPU is not built yet: a frame is bracketed, counted and paced by
// the host, and the end of each frame runs the file and sound upkeep as a real frame does.
#include "platform/render.h"

#include <cstring>

#include "host/host.h"
#include "lib/screenapi.h"
#include "platform/fileserver.h"
#include "platform/sound.h"
#include "shell/globals.h"

DS3_bitmap_tag frameBuffer;
DS3_bitmap_tag frameBufferLower;
DS3_bitmap_tag* backgroundBitmap = nullptr;

static int renderInitialized = 0;

int RenderInit(uint32_t, uint32_t, uint32_t, uint32_t)
{
    std::memset(&frameBuffer, 0, sizeof frameBuffer);
    std::memset(&frameBufferLower, 0, sizeof frameBufferLower);
    frameBuffer.width = 400;
    frameBuffer.height = 240;
    frameBufferLower.width = 320;
    frameBufferLower.height = 240;
    screenBuffer = &frameBuffer;
    backgroundBitmap = nullptr;
    renderInitialized = 1;
    return 1;
}

int RenderInitScreen()
{
    // The host reports English as the system language.
    gLanguage = 0;
    return 1;
}

int RenderDispose()
{
    renderInitialized = 0;
    backgroundBitmap = nullptr;
    return 1;
}

int RenderStartScreen() { return renderInitialized; }

int RenderDoneScreen()
{
    if (!renderInitialized) return 0;
    HostFramePresented();
    if (!FileSystemUpdate()) return 0;
    return UpdateSoundServices();
}

int RenderStartDisplay0()
{
    screenBuffer = &frameBuffer;
    return 1;
}
int RenderEndDisplay0() { return 1; }
int RenderStartDisplay0L() { return RenderStartDisplay0(); }
int RenderEndDisplay0L() { return 1; }
int RenderStartDisplay0R() { return RenderStartDisplay0(); }
int RenderEndDisplay0R() { return 1; }

int RenderStartDisplay1()
{
    screenBuffer = &frameBufferLower;
    return 1;
}
int RenderEndDisplay1() { return 1; }

int RenderSelectBackground(DS3_bitmap_tag* bitmap)
{
    backgroundBitmap = bitmap;
    return 1;
}
