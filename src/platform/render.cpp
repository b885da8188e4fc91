// The frame sequence of both screens, the renderer's start-up and tear-down, the language row and
// the default font.
#include "platform/render.h"

#include <cstring>

#include "host/gpu.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "platform/actorrecord.h"
#include "platform/applet.h"
#include "platform/camera.h"
#include "platform/fileserver.h"
#include "platform/gpucommands.h"
#include "platform/lighting.h"
#include "platform/quads.h"
#include "platform/shaders.h"
#include "platform/skeleton.h"
#include "platform/sound.h"

uint32_t displayID = kDisplayUpperLeft;
int s_isDisplay0;
DS3_bitmap_tag frameBuffer;
DS3_bitmap_tag frameBufferLower;
DS3_bitmap_tag* backgroundBitmap;
void* workBuffer;
DS3_renderStats renderStats;
float minCPU, maxCPU, minGPU, maxGPU;
int showScreenFrameRate = 0;
int gLanguage = 0;
int RSID_FONT_DEFAULT = kGameFontDefault;

// The display whose commands are open (its start succeeded and its end has not run); 0 for none.
// An end without its start does nothing, so a refused display is never transferred.
static uint32_t openDisplay;

// The system's language codes that the game has a language for.
enum { kSystemFrench = 2, kSystemGerman = 3, kSystemItalian = 4, kSystemSpanish = 5 };
// The host's system language: English.
constexpr int kHostSystemLanguage = 1;

constexpr uint32_t kClearAll = kGpuColorBufferBit | kGpuDepthBufferBit | kGpuStencilBufferBit;

int RenderInit(uint32_t commandBufferSize, uint32_t maxQuads, uint32_t display0Mode, uint32_t display1Mode)
{
    if (RenderSystemInitialize(commandBufferSize, 512, display0Mode, display1Mode) != 1) return 0;
    if (!RenderSetLcdMode(kLcdStereo)) return 0;
    if (!InitOverlays(maxQuads)) return 0;

    backfaceCulling = -1;
    texWrapEnabled = -1;
    zWriteEnabled = 0;
    zBufferEnabled = 0;
    frontFace = 0;

    if (!RenderStartFrame() || GpuGetError() != kGpuNoError) return 0;
    if (!RenderInitShaders() || !RenderInitLights()) return 0;

    GpuClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    GpuClearDepth(1.0f);
    GpuClearStencil(0);
    GpuEnable(kGpuDepthTest);
    GpuDepthFunc(kGpuLequal);
    GpuFrontFace(kGpuCw);
    GpuCullFace(kGpuBack);
    GpuEnable(kGpuCullFace);
    GpuEnable(kGpuBlend);
    GpuBlendFunc(kGpuSrcAlpha, kGpuOneMinusSrcAlpha);
    GpuBlendEquation(kGpuFuncAdd);
    GpuDisable(kGpuColorLogicOp);

    s_RenderState.isInvalid = 1;
    s_RenderState.isInvalidProjection = 1;
    s_RenderState.isInvalidModelView = 1;
    s_RenderState.isInvalidColor = 1;
    s_RenderState.isInvalidSampler = 1;
    s_RenderState.isInvalidLightSet = 1;
    s_RenderState.isInvalidLights = 1;

    if (!RenderDoneFrame()) return 0;
    if (workBuffer) FreeManagedMemory(workBuffer, 0);
    workBuffer = nullptr;
    if (!AllocateMemory(&workBuffer, 1024)) return 0;
    TextOutputInitialize(256);
    InitRadianTables();

    std::memset(&frameBuffer, 0, sizeof frameBuffer);
    std::memset(&frameBufferLower, 0, sizeof frameBufferLower);
    frameBuffer.width = 400;
    frameBuffer.height = 240;
    frameBufferLower.width = 320;
    frameBufferLower.height = 240;
    screenBuffer = &frameBuffer;
    backgroundBitmap = nullptr;
    openDisplay = 0;
    return 1;
}

int RenderDispose()
{
    backgroundBitmap = nullptr;
    openDisplay = 0;
    if (!DisposeOverlays()) return 0;
    if (workBuffer && !FreeManagedMemory(workBuffer, 0)) return 0;
    workBuffer = nullptr;
    if (!RenderDisposeShaders() || !RenderSystemFinalize() || !TextOutputDispose()) return 0;
    return DisposeRadianTables();
}

int MapSystemLanguage(int systemLanguage)
{
    switch (systemLanguage) {
    case kSystemFrench: return 1;
    case kSystemGerman: return 3;
    case kSystemItalian: return 2;
    case kSystemSpanish: return 4;
    default: return 0;
    }
}

int RenderInitScreen()
{
    gLanguage = MapSystemLanguage(kHostSystemLanguage);
    return 1;
}

// No frame is begun or shown past the frame limit, whichever loop asks for it. The refusal serves
// the close order that the limit raised, so the loop finds done set and ends as closed, not failed.
static int PastFrameLimit()
{
    if (!HostFrameLimitReached()) return 0;
    ServiceCloseOrder();
    return 1;
}

int RenderStartScreen()
{
    if (PastFrameLimit()) return 0;
    if (!StartFrameOverlays()) return 0;
    uWrapMode = 2;
    vWrapMode = 2;
    if (!RenderStartFrame()) return 0;
    openDisplay = 0;
    RenderSetPenColor(255, 255, 255);
    RenderSetAlphaLevel(255);
    RenderSetColorModulation(128, 128, 128);
    RenderSetPenSize(1, 1);
    RenderSetZLevel(viewFrustrum.hither);
    return 1;
}

// The shader state that depends on the display is sent again by the next draw.
static void ForgetDisplayState(int caches)
{
    s_RenderState.isInvalidProjection = 1;
    s_RenderState.isInvalidModelView = 1;
    s_RenderState.isInvalidLightSet = 1;
    if (caches) {
        texWrapEnabled = -1;
        backfaceCulling = -1;
    }
}

// Targets and clears a display and opens its commands.
static int OpenDisplay(uint32_t target)
{
    if (!SetRenderTarget(target)) return 0;
    RenderClear(kClearAll);
    return 1;
}

static int StartEye(uint32_t target, uint32_t camera, uint32_t otherCamera)
{
    displayID = gInverted ? otherCamera : camera;
    screenBuffer = &frameBuffer;
    if (!OpenDisplay(target)) return 0;
    ScreenSetClipping(0, 0, 400, 240);
    ForgetDisplayState(1);
    GpuFrontFace(GetMirrorViewX() ? kGpuCcw : kGpuCw);
    DS3_BeginCommands();
    s_isDisplay0 = 1;
    openDisplay = target;
    return 1;
}

int RenderStartDisplay0L() { return StartEye(kDisplayUpperLeft, kDisplayUpperLeft, kDisplayUpperRight); }

int RenderStartDisplay0R() { return StartEye(kDisplayUpperRight, kDisplayUpperRight, kDisplayUpperLeft); }

int RenderStartDisplay0()
{
    if (!OpenDisplay(kDisplayUpperLeft)) return 0;
    displayID = kDisplayUpperLeft;
    ScreenSetClipping(0, 0, 400, 240);
    ForgetDisplayState(0);
    s_isDisplay0 = 1;
    DS3_BeginCommands();
    openDisplay = kDisplayUpperLeft;
    return 1;
}

int RenderStartDisplay1()
{
    screenBuffer = &frameBufferLower;
    if (!OpenDisplay(kDisplayLower)) return 0;
    displayID = kDisplayLower;
    ScreenSetClipping(0, 0, 320, 240);
    ForgetDisplayState(1);
    if (GetMirrorViewX()) GpuFrontFace(kGpuCw);
    DS3_BeginCommands();
    openDisplay = kDisplayLower;
    if (backgroundBitmap) {
        RenderEnableOverlays();
        if (!DrawScreenPoly(backgroundBitmap, 0, 0, 0, 0, backgroundBitmap->width, backgroundBitmap->height)) return 0;
    }
    return 1;
}

// Closes the display's commands and transfers its image. 0 when that display is not open.
static int CloseDisplay(uint32_t target)
{
    if (openDisplay != target) return 0;
    openDisplay = 0;
    DS3_EndCommands();
    GpuFinish();
    return RenderTargetDone();
}

static int EndUpper(uint32_t target)
{
    s_isDisplay0 = 0;
    return CloseDisplay(target);
}

int RenderEndDisplay0L() { return EndUpper(kDisplayUpperLeft); }

int RenderEndDisplay0R() { return EndUpper(kDisplayUpperRight); }

int RenderEndDisplay0() { return EndUpper(kDisplayUpperLeft); }

int RenderEndDisplay1()
{
    if (openDisplay != kDisplayLower) return 0;
    const DS3_renderStats& s = renderStats;
    renderStats.totalFaces = s.staticFaces + s.staticUnlitFaces + s.staticVLFaces + s.staticBumpFaces +
                             s.staticBumpVLFaces + s.skeletalFaces + s.skeletalBlendFaces + s.skeletalBlendBumpFaces +
                             s.skeletalBlendVLFaces + s.skeletalUnlitFaces + s.particleFaces + s.overlayFaces;
    if (showScreenFrameRate && TextOutputSelectFont(RSID_FONT_DEFAULT)) {
        TextOutputSetMode(kTextModeLeft);
        TextOutputDrawDirect(0, 0, "fps: %.1f  Faces = %d", double(frameRate), int(renderStats.totalFaces));
        TextOutputDrawDirect(0, 14, "cpu: %.1f%%   %.1f%%   %.1f%%", double(cpuLoad), double(minCPU), double(maxCPU));
        TextOutputDrawDirect(0, 28, "gpu: %.1f%%   %.1f%%   %.1f%%", double(gpuLoad), double(minGPU), double(maxGPU));
    }
    return CloseDisplay(kDisplayLower);
}

int RenderIsDisplay0() { return s_isDisplay0; }

int RenderDoneScreen()
{
    if (PastFrameLimit()) return 0;
    // A frame with too many quads is still finished and shown (the quads beyond the buffer are
    // missing), so that its commands do not run into the next frame; it is reported as failed.
    int quadsFitted = EndFrameOverlays();
    HostFramePresented();
    if (!RenderDoneFrame()) return 0;
    if (!FileSystemUpdate() || !UpdateSoundServices()) return 0;
    return quadsFitted;
}

int RenderSelectBackground(DS3_bitmap_tag* bitmap)
{
    backgroundBitmap = bitmap;
    return 1;
}

int RenderSelectBackgroundResource(int rsid)
{
    if (rsid == 0) {
        backgroundBitmap = nullptr;
        return 1;
    }
    void* handle = nullptr;
    if (!GetResourceHandle(rsid, &handle)) return 0;
    backgroundBitmap = static_cast<DS3_bitmap_tag*>(handle);
    return 1;
}

int UpdateBackgroundServices() { return FileSystemUpdate() && UpdateSoundServices(); }

int SetActorXform(actor_tag* actor)
{
    SetXform(actor ? actor->actorXform : nullptr);
    return 1;
}
