// The render engine: the video memory heaps, the one off-screen render buffer, the display
// buffers of the three displays, the two command lists that let the GPU execute frame N while the
// game records frame N + 1, buffer swaps, the wait for vertical sync, the switch between mono and
// stereo, frame measurements and the game clock (every drawn frame is 33 ms of game time).
#pragma once

#include <cstdint>

#include "platform/frame.h"

// Display identifiers.
enum : uint32_t {
    kDisplayUpperLeft = 0x400,   // the upper screen (its left eye in stereo)
    kDisplayLower = 0x401,
    kDisplayBoth = 0x402,        // swaps and vertical-sync waits
    kDisplayUpperRight = 0x410,  // the upper screen's right eye
};
// LCD modes.
enum : uint32_t { kLcdMono = 0x700, kLcdStereo = 0x702 };
// Memory areas.
enum : uint32_t { kAreaMain = 0x10000, kAreaVramA = 0x20000, kAreaVramB = 0x30000 };
// Render-buffer (antialias) modes: the upper screen drawn at 1 x 1, 2 x 1 or 2 x 2 its size.
enum : uint32_t { kAntialiasNone = 0x500, kAntialias2x1 = 0x501, kAntialias2x2 = 0x502 };

// One display's set of buffers that the LCD scans out.
struct DS3_DisplayBufferDescription {
    uint32_t m_TargetDisplay;
    int32_t numDisplayBuffers;  // 2
    uint32_t m_Format;
    uint32_t m_Width, m_Height;  // as the hardware stores it: the short side first
    uint32_t physicalWidth, physicalHeight;
    uint32_t m_Area;
    uint32_t displayBufferIdArray[2];
    uint32_t m_CurrentBufferIndex;  // the buffer the next transfer writes
    uint32_t bufferTargeted;        // a transfer wrote this display during the frame
};

struct DS3_RenderBufferDescription {
    uint32_t m_Format;
    uint32_t m_Width, m_Height;
    uint32_t physicalWidth, physicalHeight;
    uint32_t m_Area;
    uint32_t m_Attachment;
};

struct DS3_FrameBufferDescription {
    uint32_t m_FrameBufferId;
    int32_t numRenderBuffers;  // 2: colour, depth and stencil
    DS3_RenderBufferDescription m_RenderBufferDescriptionArray[2];
    uint32_t renderBufferIdArray[2];
};

extern DS3_DisplayBufferDescription m_DisplayBuffers0;     // 0x400
extern DS3_DisplayBufferDescription m_DisplayBuffers0Ext;  // 0x410
extern DS3_DisplayBufferDescription m_DisplayBuffers1;     // 0x401
extern DS3_FrameBufferDescription m_FrameBuffer0;
// Buffer addresses by set (0 upper left, 1 lower, 2 upper right) and buffer index.
extern uint32_t bufferAddressPointers[3][2];

extern uint8_t m_InitializeFlag, m_InitializeLcdDisplayFlag, m_ChangeLcdMode;
extern uint32_t m_TargetDisplay;
extern DS3_DisplayBufferDescription* m_CurrentDisplayBuffersPtr;
extern DS3_FrameBufferDescription* m_CurrentFrameBufferPtr;
// The mode the LCD shows, the mode to apply at the next vertical sync, the mode asked for.
extern volatile uint32_t s_CurrentLcdMode, s_NextLcdMode;
extern uint32_t m_LcdMode;
// 1 while the LCD shows stereo: the upper screen is drawn once per eye.
extern volatile int isStereo;
extern uint32_t commandListWaiting, commandListRunning;
extern uint32_t m_StoreCommandListIndex, m_RunningCommandListIndex;
extern uint32_t m_CommandListIdArray[2];
extern uint32_t display0AntialiasMode, display1AntialiasMode;
extern uint64_t lastTickCount;
extern volatile uint64_t gpuTickCount;

// Builds everything: -1 when a video memory heap cannot be made, 0 when a GPU call fails, 1.
int RenderSystemInitialize(uint32_t commandBufferSize, uint32_t maxRequests, uint32_t display0Mode,
                           uint32_t display1Mode);
int RenderSystemFinalize();
// 0x700 or 0x702, applied at the end of the frame; else 0.
int RenderSetLcdMode(uint32_t mode);
// The render buffer becomes the target for the display, with the viewport of its size. 0 for an
// unknown display, or the right eye in mono.
int SetRenderTarget(uint32_t display);
int RenderClear(uint32_t mask);
// Transfers the render buffer into the target display's current buffer (when the list runs).
int RenderTargetDone();
int RenderStartFrame();
// Waits for the previous frame's GPU work, swaps, waits for vertical sync, advances the clock and
// starts this frame's list.
int RenderDoneFrame();
// Runs the recording list at once and moves to the other (start-up only).
int RenderCommandList();
int RenderSwapBuffers();
int RenderSwapBuffersDeferred();
// 0x400, 0x401 or 0x402; else 0.
int RenderWaitVsync(uint32_t display);
// The address of the display's buffer that is not the current one; 0 for another display.
uint32_t RenderGetBackBuffer(int display);
// The next frame is measured from now (time spent away does not count as one long frame).
int ResetUpdateTicks();
// Measures the frame and advances the game clock. The first measurement after a restart only
// starts the clock (frameTicks 33 after it).
int CalculateUpdateRate();
// Forgets the measurements: the next CalculateUpdateRate is the first. Part of the initialisation.
void RestartGameClock();

// Callbacks given to the GPU.
void CommandListCallback(int id);
void RenderSystemExtVsyncCallback(uint32_t display);
// Allocation hooks of the GPU's memory: temporary memory from the heap of the area.
void* GLallocator(uint32_t area, uint32_t aim, uint32_t id, int32_t size);
void GLdeallocator(uint32_t area, uint32_t aim, uint32_t id, void* address);
