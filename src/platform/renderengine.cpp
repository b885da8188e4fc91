// The render engine: video memory heaps, display buffers, the pair of command lists swapped every
// frame, vertical sync and the frame measurements that drive the game clock.
#include "platform/renderengine.h"

#include "host/gpu.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "platform/quads.h"
#include "platform/utilities.h"

DS3_DisplayBufferDescription m_DisplayBuffers0;
DS3_DisplayBufferDescription m_DisplayBuffers0Ext;
DS3_DisplayBufferDescription m_DisplayBuffers1;
DS3_FrameBufferDescription m_FrameBuffer0;
uint32_t bufferAddressPointers[3][2];

uint8_t m_InitializeFlag, m_InitializeLcdDisplayFlag, m_ChangeLcdMode;
uint32_t m_TargetDisplay;
DS3_DisplayBufferDescription* m_CurrentDisplayBuffersPtr;
DS3_FrameBufferDescription* m_CurrentFrameBufferPtr;
volatile uint32_t s_CurrentLcdMode = kLcdMono, s_NextLcdMode = kLcdMono;
uint32_t m_LcdMode = kLcdMono;
volatile int isStereo;
uint32_t commandListWaiting, commandListRunning;
uint32_t m_StoreCommandListIndex, m_RunningCommandListIndex;
uint32_t m_CommandListIdArray[2];
uint32_t display0AntialiasMode, display1AntialiasMode;
uint64_t lastTickCount;
volatile uint64_t gpuTickCount;

// The first frame measurement only starts the clock. Kept apart from lastTickCount because a tick
// source may well read 0 at a later frame (the virtual clock of headless runs starts there).
static int clockStarted;

enum { kSetUpperLeft = 0, kSetLower = 1, kSetUpperRight = 2 };

// Reads every pending GPU error; 0 when there was one.
static int NoGpuError(const char* what)
{
    uint32_t first = GpuGetError();
    if (first == kGpuNoError) return 1;
    while (GpuGetError() != kGpuNoError) {
    }
    return PrintError("render engine: GPU error %d in %s", int(first), what);
}

static int ValidAntialiasMode(uint32_t mode) { return mode >= kAntialiasNone && mode <= kAntialias2x2; }

// Factors of the render image over the display's size, by antialias mode.
static void AntialiasScale(uint32_t mode, uint32_t* sx, uint32_t* sy)
{
    *sx = mode == kAntialiasNone ? 1 : 2;
    *sy = mode == kAntialias2x2 ? 2 : 1;
}

static memHeap* HeapOfArea(uint32_t area)
{
    memHeap* heap = nullptr;
    if (area == kAreaMain) heap = &deviceHeap;
    else if (area == kAreaVramA) heap = &vramAHeap;
    else if (area == kAreaVramB) heap = &vramBHeap;
    return heap && heap->chunkList ? heap : nullptr;
}

void* GLallocator(uint32_t area, uint32_t, uint32_t, int32_t size)
{
    memHeap* heap = HeapOfArea(area);
    void* p = nullptr;
    if (!heap || size <= 0 || !AllocateTempHeapMemory(size, heap, &p)) return nullptr;
    return p;
}

void GLdeallocator(uint32_t area, uint32_t, uint32_t, void* address)
{
    memHeap* heap = HeapOfArea(area);
    if (heap && address) FreeHeapMemory(address, heap);
}

void CommandListCallback(int) { gpuTickCount = uint64_t(GetTickCount()); }

void RenderSystemExtVsyncCallback(uint32_t)
{
    uint32_t next = s_NextLcdMode;
    if (next == s_CurrentLcdMode) return;
    GpuSetDisplayMode(next);
    if (next == kLcdStereo) GpuSwapBuffers(kDisplayUpperLeft);
    s_CurrentLcdMode = next;
    isStereo = next == kLcdStereo;
}

// A video memory bank as one heap of 128 records with 128-byte alignment. A heap made while no
// heap is current must not become the game's current heap.
static int MakeVramHeap(memHeap* heap, uint32_t area)
{
    uint8_t* start = GpuVramStart(area);
    uint32_t size = GpuVramSize(area);
    if (!start || !size) return 0;
    memHeap* current = theHeap;
    int ok = InitMemoryHeap(heap, start, start + size, 128, 128, 0, 1);
    theHeap = current;
    return ok;
}

static int CreateDisplayBuffer(DS3_DisplayBufferDescription* d, int setIndex)
{
    GpuActiveDisplay(d->m_TargetDisplay);
    GpuGenDisplaybuffers(d->numDisplayBuffers, d->displayBufferIdArray);
    for (int i = 0; i < d->numDisplayBuffers; ++i) {
        GpuBindDisplaybuffer(d->displayBufferIdArray[i]);
        if (!GpuDisplaybufferStorage(d->m_Format, int(d->m_Width), int(d->m_Height), d->m_Area)) {
            NoGpuError("display buffer storage");
            return 0;
        }
        bufferAddressPointers[setIndex][i] = GpuDisplaybufferAddress(d->displayBufferIdArray[i]);
    }
    GpuDisplayEnv(0, 0);
    d->m_CurrentBufferIndex = 0;
    d->bufferTargeted = 0;
    return NoGpuError("display buffers");
}

static void DescribeDisplay(DS3_DisplayBufferDescription* d, uint32_t display, uint32_t width, uint32_t height)
{
    *d = DS3_DisplayBufferDescription{};
    d->m_TargetDisplay = display;
    d->numDisplayBuffers = 2;
    d->m_Format = kGpuRGB8;
    d->m_Width = d->physicalWidth = width;
    d->m_Height = d->physicalHeight = height;
    d->m_Area = kAreaMain;
}

static int CreateFrameBuffer(DS3_FrameBufferDescription* f)
{
    if (f->numRenderBuffers == 2 &&
        f->m_RenderBufferDescriptionArray[0].m_Attachment == f->m_RenderBufferDescriptionArray[1].m_Attachment) {
        return PrintError("render engine: a frame buffer names one attachment twice");
    }
    GpuGenFramebuffers(1, &f->m_FrameBufferId);
    GpuGenRenderbuffers(f->numRenderBuffers, f->renderBufferIdArray);
    for (int i = 0; i < f->numRenderBuffers; ++i) {
        const DS3_RenderBufferDescription& r = f->m_RenderBufferDescriptionArray[i];
        GpuBindRenderbuffer(f->renderBufferIdArray[i]);
        if (!GpuRenderbufferStorage(r.m_Format, r.m_Area, int(r.m_Width), int(r.m_Height)) ||
            !GpuFramebufferRenderbuffer(f->m_FrameBufferId, r.m_Attachment, f->renderBufferIdArray[i])) {
            NoGpuError("render buffer");
            return 0;
        }
    }
    return NoGpuError("frame buffer");
}

static void DescribeFrameBuffer(DS3_FrameBufferDescription* f, uint32_t upperMode)
{
    uint32_t sx, sy;
    AntialiasScale(upperMode, &sx, &sy);
    *f = DS3_FrameBufferDescription{};
    f->numRenderBuffers = 2;
    const uint32_t formats[2] = {kGpuRGBA8, kGpuDepth24Stencil8};
    const uint32_t areas[2] = {kAreaVramA, kAreaVramB};
    const uint32_t attachments[2] = {kGpuColorAttachment0, kGpuDepthStencilAttachment};
    for (int i = 0; i < 2; ++i) {
        DS3_RenderBufferDescription& r = f->m_RenderBufferDescriptionArray[i];
        r.m_Format = formats[i];
        r.m_Width = r.physicalWidth = 240 * sx;
        r.m_Height = r.physicalHeight = 400 * sy;
        r.m_Area = areas[i];
        r.m_Attachment = attachments[i];
    }
}

static void ClearTargetedFlags()
{
    m_DisplayBuffers0.bufferTargeted = 0;
    m_DisplayBuffers0Ext.bufferTargeted = 0;
    m_DisplayBuffers1.bufferTargeted = 0;
}

static void BindRecordingList() { GpuBindCmdlist(m_CommandListIdArray[m_StoreCommandListIndex]); }

// Both buffers of both screens start black, the LCD mode is applied and the LCDs are started.
static int InitializeLcdDisplay()
{
    BindRecordingList();
    ClearTargetedFlags();
    RenderSetTexture(nullptr);
    GpuClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    for (int i = 0; i < 4; ++i) {
        // Each pass swaps only the display it cleared, so the four passes reach both buffers of
        // both screens.
        ClearTargetedFlags();
        if (!SetRenderTarget(i % 2 == 0 ? kDisplayUpperLeft : kDisplayLower)) return 0;
        RenderClear(kGpuColorBufferBit | kGpuDepthBufferBit | kGpuStencilBufferBit);
        if (!RenderTargetDone() || !RenderCommandList() || !RenderSwapBuffers()) return 0;
    }
    ClearTargetedFlags();
    if (!RenderWaitVsync(kDisplayBoth)) return 0;
    if (!m_InitializeLcdDisplayFlag) {
        GpuStartLcdDisplay();
        m_InitializeLcdDisplayFlag = 1;
    }
    return NoGpuError("starting the displays");
}

int RenderSystemInitialize(uint32_t commandBufferSize, uint32_t maxRequests, uint32_t display0Mode,
                           uint32_t display1Mode)
{
    if (m_InitializeFlag) RenderSystemFinalize();
    if (!ValidAntialiasMode(display0Mode) || !ValidAntialiasMode(display1Mode)) {
        return PrintError("render engine: unknown antialias modes %d and %d", int(display0Mode), int(display1Mode));
    }
    if (!MakeVramHeap(&vramAHeap, kAreaVramA) || !MakeVramHeap(&vramBHeap, kAreaVramB)) {
        PrintError("render engine: the video memory heaps could not be made");
        return -1;
    }
    if (!GpuInitialize(GLallocator, GLdeallocator)) return 0;
    m_InitializeFlag = 1;  // from here on RenderSystemFinalize releases what was made

    s_CurrentLcdMode = s_NextLcdMode = m_LcdMode;
    isStereo = m_LcdMode == kLcdStereo;
    m_ChangeLcdMode = 0;
    display0AntialiasMode = display0Mode;
    display1AntialiasMode = display1Mode;

    GpuGenCmdlists(2, m_CommandListIdArray);
    for (uint32_t id : m_CommandListIdArray) {
        GpuBindCmdlist(id);
        if (!GpuCmdlistStorage(commandBufferSize, maxRequests)) {
            NoGpuError("command list storage");
            return 0;
        }
        GpuSetCmdlistParameteri(0x200, 0x300);
        GpuStopCmdlist();
        GpuSetCmdlistCallback(CommandListCallback);
        GpuEnableCmdlistCallback(-1);
    }
    m_StoreCommandListIndex = m_RunningCommandListIndex = 0;
    commandListWaiting = commandListRunning = 0;
    BindRecordingList();
    if (!NoGpuError("command lists")) return 0;

    DescribeDisplay(&m_DisplayBuffers0, kDisplayUpperLeft, 240, 400);
    DescribeDisplay(&m_DisplayBuffers1, kDisplayLower, 240, 320);
    DescribeDisplay(&m_DisplayBuffers0Ext, kDisplayUpperRight, 240, 400);
    if (!CreateDisplayBuffer(&m_DisplayBuffers0, kSetUpperLeft) || !CreateDisplayBuffer(&m_DisplayBuffers1, kSetLower) ||
        !CreateDisplayBuffer(&m_DisplayBuffers0Ext, kSetUpperRight)) {
        return 0;
    }
    DescribeFrameBuffer(&m_FrameBuffer0, display0Mode);
    if (!CreateFrameBuffer(&m_FrameBuffer0)) return 0;
    m_CurrentFrameBufferPtr = &m_FrameBuffer0;

    if (!InitializeLcdDisplay()) return 0;

    GpuSetVSyncCallback(kDisplayUpperLeft, RenderSystemExtVsyncCallback);
    RestartGameClock();
    return 1;
}

int RenderSystemFinalize()
{
    if (m_InitializeFlag) {
        GpuDeleteDisplaybuffers(m_DisplayBuffers0.numDisplayBuffers, m_DisplayBuffers0.displayBufferIdArray);
        GpuDeleteDisplaybuffers(m_DisplayBuffers1.numDisplayBuffers, m_DisplayBuffers1.displayBufferIdArray);
        GpuDeleteDisplaybuffers(m_DisplayBuffers0Ext.numDisplayBuffers, m_DisplayBuffers0Ext.displayBufferIdArray);
        GpuDeleteFramebuffers(1, &m_FrameBuffer0.m_FrameBufferId);
        GpuDeleteRenderbuffers(m_FrameBuffer0.numRenderBuffers, m_FrameBuffer0.renderBufferIdArray);
        GpuBindCmdlist(0);
        GpuDeleteCmdlists(2, m_CommandListIdArray);
        GpuFinalize();
    }
    if (vramAHeap.chunkList) DisposeMemoryHeap(&vramAHeap);
    if (vramBHeap.chunkList) DisposeMemoryHeap(&vramBHeap);
    m_DisplayBuffers0 = m_DisplayBuffers1 = m_DisplayBuffers0Ext = DS3_DisplayBufferDescription{};
    m_FrameBuffer0 = DS3_FrameBufferDescription{};
    m_CurrentDisplayBuffersPtr = nullptr;
    m_CurrentFrameBufferPtr = nullptr;
    m_TargetDisplay = 0;
    m_InitializeFlag = 0;
    m_InitializeLcdDisplayFlag = 0;
    commandListWaiting = commandListRunning = 0;
    return 1;
}

int RenderSetLcdMode(uint32_t mode)
{
    if (mode != kLcdMono && mode != kLcdStereo) return 0;
    if (mode == m_LcdMode) return 1;
    m_LcdMode = mode;
    m_ChangeLcdMode = 1;
    return 1;
}

int SetRenderTarget(uint32_t display)
{
    if (!m_InitializeFlag) return 0;
    DS3_DisplayBufferDescription* set = nullptr;
    uint32_t mode = display0AntialiasMode;
    if (display == kDisplayUpperLeft) {
        if (s_CurrentLcdMode != kLcdMono && s_CurrentLcdMode != kLcdStereo) return 0;
        set = &m_DisplayBuffers0;
    } else if (display == kDisplayLower) {
        set = &m_DisplayBuffers1;
        mode = display1AntialiasMode;
    } else if (display == kDisplayUpperRight) {
        if (s_CurrentLcdMode != kLcdStereo) return 0;
        set = &m_DisplayBuffers0Ext;
    } else {
        return 0;
    }
    m_TargetDisplay = display;
    m_CurrentDisplayBuffersPtr = set;
    m_CurrentFrameBufferPtr = &m_FrameBuffer0;
    uint32_t sx, sy;
    AntialiasScale(mode, &sx, &sy);
    GpuBindFramebuffer(kGpuFramebuffer, m_FrameBuffer0.m_FrameBufferId);
    GpuViewport(0, 0, int(set->m_Width * sx), int(set->m_Height * sy));
    return NoGpuError("choosing the render target");
}

int RenderClear(uint32_t mask)
{
    GpuClear(mask);
    return 1;
}

int RenderTargetDone()
{
    DS3_DisplayBufferDescription* set = m_CurrentDisplayBuffersPtr;
    if (!m_InitializeFlag || !set) return 0;
    uint32_t mode = m_TargetDisplay == kDisplayLower ? display1AntialiasMode : display0AntialiasMode;
    GpuTransferRenderImage(set->displayBufferIdArray[set->m_CurrentBufferIndex], mode, 0, 0);
    set->bufferTargeted = 1;
    return NoGpuError("transferring the render image");
}

int RenderStartFrame()
{
    if (!m_InitializeFlag) return 0;
    BindRecordingList();
    ClearTargetedFlags();
    RenderSetTexture(nullptr);
    return 1;
}

static uint64_t TicksSince(uint64_t earlier, uint64_t later) { return later > earlier ? later - earlier : 0; }

static float TicksToLoad(uint64_t ticks) { return float(double(ticks) / double(kTicksPerSecond) * 6000.0); }

int RenderDoneFrame()
{
    if (!m_InitializeFlag) return 0;
    cpuLoad = clockStarted ? TicksToLoad(TicksSince(lastTickCount, uint64_t(GetTickCount()))) : 0.0f;

    BindRecordingList();
    GpuSplitDrawCmdlist();
    commandListWaiting = 1;

    // The only place where the game waits for the GPU: the previous frame's list.
    if (commandListRunning) {
        GpuBindCmdlist(m_CommandListIdArray[m_RunningCommandListIndex]);
        GpuWaitCmdlistDone();
        GpuStopCmdlist();
        GpuClearCmdlist();
        commandListRunning = 0;
    }

    if (!RenderSwapBuffersDeferred()) return 0;
    if (!RenderWaitVsync(kDisplayBoth)) return 0;
    CalculateUpdateRate();

    // Start this frame's list and record the next frame into the other one.
    BindRecordingList();
    GpuSplitDrawCmdlist();
    GpuRunCmdlist();
    commandListWaiting = 0;
    commandListRunning = 1;
    m_RunningCommandListIndex = m_StoreCommandListIndex;
    m_StoreCommandListIndex ^= 1u;
    BindRecordingList();
    return NoGpuError("ending the frame");
}

int RenderCommandList()
{
    if (!m_InitializeFlag) return 0;
    BindRecordingList();
    GpuSplitDrawCmdlist();
    GpuRunCmdlist();
    GpuWaitCmdlistDone();
    GpuStopCmdlist();
    GpuClearCmdlist();
    m_StoreCommandListIndex ^= 1u;
    BindRecordingList();
    return NoGpuError("running the command list");
}

static int SwapTargeted(int deferred)
{
    if (!m_InitializeFlag) return 0;
    DS3_DisplayBufferDescription* sets[3] = {&m_DisplayBuffers0, &m_DisplayBuffers0Ext, &m_DisplayBuffers1};
    int upper = 0, lower = 0;
    for (DS3_DisplayBufferDescription* set : sets) {
        if (!set->bufferTargeted) continue;
        uint32_t n = uint32_t(set->numDisplayBuffers);
        uint32_t index = set->m_CurrentBufferIndex;
        if (deferred) index = index == 0 ? n - 1 : index - 1;
        GpuActiveDisplay(set->m_TargetDisplay);
        GpuBindDisplaybuffer(set->displayBufferIdArray[index]);
        if (set == &m_DisplayBuffers0 && m_ChangeLcdMode && m_LcdMode == kLcdStereo) {
            // The frame of the switch to stereo has no right-eye image: both eyes show the left.
            GpuActiveDisplay(kDisplayUpperRight);
            GpuBindDisplaybuffer(set->displayBufferIdArray[index]);
        }
        set->m_CurrentBufferIndex = set->m_CurrentBufferIndex + 1 >= n ? 0 : set->m_CurrentBufferIndex + 1;
        if (set == &m_DisplayBuffers1) lower = 1;
        else upper = 1;
    }
    if (upper || lower) GpuSwapBuffers(upper && lower ? kDisplayBoth : upper ? kDisplayUpperLeft : kDisplayLower);
    return NoGpuError("swapping buffers");
}

int RenderSwapBuffers() { return SwapTargeted(0); }

int RenderSwapBuffersDeferred() { return SwapTargeted(1); }

int RenderWaitVsync(uint32_t display)
{
    if (display != kDisplayUpperLeft && display != kDisplayLower && display != kDisplayBoth) return 0;
    if (m_ChangeLcdMode) s_NextLcdMode = m_LcdMode;
    if (!GpuWaitVSync(display)) {
        NoGpuError("waiting for vertical sync");
        return 0;
    }
    m_ChangeLcdMode = 0;
    return 1;
}

uint32_t RenderGetBackBuffer(int display)
{
    const DS3_DisplayBufferDescription* set;
    int setIndex;
    if (uint32_t(display) == kDisplayUpperLeft) set = &m_DisplayBuffers0, setIndex = kSetUpperLeft;
    else if (uint32_t(display) == kDisplayLower) set = &m_DisplayBuffers1, setIndex = kSetLower;
    else if (uint32_t(display) == kDisplayUpperRight) set = &m_DisplayBuffers0Ext, setIndex = kSetUpperRight;
    else return 0;
    int other = set->m_CurrentBufferIndex == 0 ? 1 : 0;
    return bufferAddressPointers[setIndex][other];
}

void RestartGameClock()
{
    gpuTickCount = 0;
    gpuLoad = 0.0f;
    lastTickCount = 0;
    clockStarted = 0;
}

int ResetUpdateTicks()
{
    lastTickCount = uint64_t(GetTickCount());
    return 1;
}

int CalculateUpdateRate()
{
    uint64_t now = uint64_t(GetTickCount());
    if (!clockStarted) {
        clockStarted = 1;
        frameTicks = 0;
    } else {
        // A clock read earlier than the last one counts as no time rather than as an enormous
        // unsigned difference.
        uint64_t ticks = TicksSince(lastTickCount, now);
        uint64_t perSecond = uint64_t(kTicksPerSecond);
        uint64_t ms = ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
        if (ms == 0) ms = 1;
        frameRate = float(1000.0 / double(ms));
        uint64_t gpu = gpuTickCount;
        gpuLoad = gpu > 0 ? TicksToLoad(TicksSince(lastTickCount, gpu)) : 0.0f;
    }
    lastTickCount = now;
    updateRate = 33;
    updateRatio = realUpdateRatio = 1.0f;
    frameTicks += 33;
    return 1;
}
