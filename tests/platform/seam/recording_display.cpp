#include "recording_display.h"

#include <cstdint>

#include "lib/memory.h"
#include "platform/bitmap.h"
#include "shell/globals.h"
#include "shell/upperlayers.h"

DisplayRecord gDisplay;

DS3_bitmap_tag frameBufferLower = [] {
    DS3_bitmap_tag b{};
    b.width = 320;
    b.height = 240;
    return b;
}();
memHeap deviceHeap;
int done = 0;  // the platform's quit flag (platform/utilities.cpp is not linked)
static DS3_bitmap_tag splashBitmap;

static int Call(const std::string& name)
{
    gDisplay.calls.push_back(name);
    return 1;
}

void* ReadResource(int id)
{
    Call("ReadResource(" + std::to_string(id) + ")");
    return gDisplay.bitmapLoaded ? &splashBitmap : nullptr;
}
int DisposeResource(int id)
{
    Call("DisposeResource(" + std::to_string(id) + ")");
    return gDisplay.disposeResult;
}
int RenderSelectBackground(DS3_bitmap_tag* b) { return Call(b ? "Background(splash)" : "Background(none)"); }
int RenderStartScreen() { return Call("StartScreen") && !(gDisplay.doneAtRead >= 0 && done); }
int RenderDoneScreen()
{
    Call("DoneScreen");
    ++gDisplay.frames;
    if (gDisplay.frames == gDisplay.doneAfterFrames) done = 1;
    return gDisplay.frames == gDisplay.failFrameAt ? 0 : 1;
}
int RenderStartDisplay0() { return Call("Upper"); }
int RenderEndDisplay0() { return 1; }
int RenderStartDisplay1() { return Call("Lower"); }
int RenderEndDisplay1() { return 1; }
int RenderSetAlphaLevel(int a)
{
    gDisplay.alphas.push_back(a);
    return 1;
}
int RenderSetPenColor(uint8_t, uint8_t, uint8_t) { return 1; }
int RenderRect(int, int, int, int) { return Call("Rect"); }
// The box can always be closed here (a window on a screen): it ends when done is set.
int HostBoxCanBeClosed() { return 1; }
int ReadControls(int (*)())
{
    if (++gDisplay.reads == gDisplay.doneAtRead) done = 1;
    return Call("ReadControls");
}

int TextOutputSetMode(int) { return 1; }
int TextOutputSelectFont(int rsid) { return Call("Font(" + std::to_string(rsid) + ")"), gDisplay.fontLoaded; }
int TextOutputGetFontHeight() { return 10; }
int TextOutputDrawDirect(int x, int y, const char* format, ...)
{
    return Call("Text(" + std::to_string(x) + "," + std::to_string(y) + "," + format + ")");
}
int GetFontRSID(int id) { return id; }
int DrawOverlayBackground(int, int, int w, int h)
{
    return Call("Panel(" + std::to_string(w) + "x" + std::to_string(h) + ")");
}
// The message box reaches the overlays' font and background through the shell's record.
static const int registered = (upperLayers.GetFontRSID = GetFontRSID,
                               upperLayers.DrawOverlayBackground = DrawOverlayBackground, 1);

// Start-up neighbours of the same module, unused here.
int HostArenaInit(uint32_t) { return 1; }
uint8_t* HostDeviceMemoryAddress() { return nullptr; }
uint32_t HostDeviceMemorySize() { return 0; }
int InitMemoryHeap(memHeap*, u8*, u8*, unsigned, int, unsigned, int) { return 0; }
int FileSystemInit() { return 1; }
int InitJoysticks() { return 1; }
