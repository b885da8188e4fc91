// The GL context of the host GPU: a window showing the upper screen above the lower one at an
// integer scale, or, headless or where no window can be opened, SDL's offscreen driver (EGL on
// Mesa) with no window on any screen.
#include <SDL2/SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "host/errorlog.h"
#include "host/gpuinternal.h"

static SDL_Window* window = nullptr;
static SDL_GLContext context = nullptr;
static int windowShown = 0;
static int offscreenPaced = 0;  // frames drawn offscreen keep the window's pace (GpuPaceOffscreenFrames)
static int windowScale = 1;
static int videoOpen = 0;

// The window's size in screen pixels: the upper screen's width, both screens' heights.
static const int kWindowWidth = 400;
static const int kWindowHeight = 480;

// V cycles the upper screen's view: left eye, right eye, anaglyph. Watched here because the
// window is the GPU's; the input module sees the same events for the pad.
static int OnWindowEvent(void*, SDL_Event* event)
{
    if (event->type == SDL_KEYDOWN && !event->key.repeat && event->key.keysym.scancode == SDL_SCANCODE_V)
        GpuSetView((GpuView() + 1) % 3);
    return 1;
}

static void CloseWindow()
{
    if (windowShown) SDL_DelEventWatch(OnWindowEvent, nullptr);
    if (context) SDL_GL_DeleteContext(context);
    if (window) SDL_DestroyWindow(window);
    context = nullptr;
    window = nullptr;
    windowShown = 0;
}

static int Fail(std::string* error, const char* what)
{
    *error = std::string(what) + ": " + SDL_GetError();
    CloseWindow();
    if (videoOpen) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoOpen = 0;
    return 0;
}

static int CreateWith(int headless, int scale, std::string* error)
{
    // Headless runs draw all the same, offscreen, unless the environment names another driver.
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (!videoOpen) {
#if defined(__SANITIZE_THREAD__)
        // Under the race checker the software GL driver draws on the calling thread: its worker
        // threads hand work over in code the checker cannot see. (An environment that sets the
        // count keeps it.)
        setenv("LP_NUM_THREADS", "0", 0);
#endif
        if (headless && !(driver && *driver)) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
        // The display libraries that SDL tries in turn may complain on standard error (a session
        // without a runtime folder, under CI or over ssh, has no display server to find); whether
        // one answered is what counts, and a window that cannot open is said by the game.
        const int saved = HostSilenceStandardError();
        const int videoInit = SDL_InitSubSystem(SDL_INIT_VIDEO);
        HostRestoreStandardError(saved);
        if (videoInit != 0) return Fail(error, "no video");
        videoOpen = 1;
        // The GL library stays loaded from here to the end of the process (see GpuContextDestroy).
        SDL_GL_LoadLibrary(nullptr);
    }

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);

    windowScale = scale < 1 ? 1 : scale;
    windowShown = !headless && std::strcmp(SDL_GetCurrentVideoDriver(), "offscreen") != 0;
    Uint32 flags = SDL_WINDOW_OPENGL | (windowShown ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
    int w = windowShown ? kWindowWidth * windowScale : 16;
    int h = windowShown ? kWindowHeight * windowScale : 16;
    window = SDL_CreateWindow("Zendrolyx", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h, flags);
    if (!window) return Fail(error, "no window");
    context = SDL_GL_CreateContext(window);
    if (!context) return Fail(error, "no OpenGL 3.3 context");
    if (SDL_GL_MakeCurrent(window, context) != 0) return Fail(error, "the OpenGL context cannot be used");
    // Presenting waits for the display's refresh: the frame pace of the windowed game.
    if (windowShown) SDL_GL_SetSwapInterval(1);
    if (windowShown) SDL_AddEventWatch(OnWindowEvent, nullptr);
    return 1;
}

int GpuContextCreate(int headless, int scale, std::string* error)
{
    if (context) {
        *error = "the GL context exists already";
        return 0;
    }
    if (CreateWith(headless, scale, error)) {
        // SDL falls back on its offscreen driver by itself where no display answers: a player who
        // asked for the window is told there is none, as when the window could not be opened.
        if (!headless && !windowShown) {
            const char* driver = std::getenv("SDL_VIDEODRIVER");
            const std::string why =
                driver && *driver ? std::string("SDL_VIDEODRIVER=") + driver : "no display could be opened";
            std::fprintf(stderr, "zendrolyx: no window (%s); drawing offscreen\n", why.c_str());
        }
        return 1;
    }
    // Without a display to open a window on, the game still runs and draws, offscreen.
    if (headless) return 0;
    std::string windowError = *error;
    if (CreateWith(1, scale, error)) {
        std::fprintf(stderr, "zendrolyx: no window (%s); drawing offscreen\n", windowError.c_str());
        return 1;
    }
    return 0;
}

// Closes the window and its context but keeps the video driver and the GL library: the GL
// driver holds memory of its own until the process ends, and unloading it in between would only
// throw that away (leak checkers then report it); a later start reuses the loaded driver.
void GpuContextDestroy()
{
    CloseWindow();
}

int GpuWindowShown() { return windowShown; }
int GpuContextScale() { return windowScale; }

// A shown frame stays on screen for the game's frame step: every drawn frame is 33 ms of game
// time, so the window shows them 33 ms apart, not at the display's own refresh rate. A run on the
// real clock that draws offscreen (no window could be opened) keeps the same pace, so that the
// game's time, an input script's frames and the sound agree as in the window.
static const std::chrono::milliseconds kShownFrameTime(33);
static std::chrono::steady_clock::time_point nextShownFrame;

void GpuPaceOffscreenFrames(int paced) { offscreenPaced = paced; }

void GpuContextShowFrame()
{
    if (!window) return;
    if (windowShown) SDL_GL_SwapWindow(window);
    else if (!offscreenPaced) return;
    const auto now = std::chrono::steady_clock::now();
    // A frame that overran (or the first one) starts the pace afresh instead of hurrying the
    // frames after it to catch up.
    if (nextShownFrame <= now) {
        nextShownFrame = now + kShownFrameTime;
        return;
    }
    std::this_thread::sleep_until(nextShownFrame);
    nextShownFrame += kShownFrameTime;
}
