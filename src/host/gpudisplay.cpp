// Frame buffers, render buffers and display buffers: the render target that draws land in, the
// transfer that filters it down into a display buffer, the swaps that choose what each screen
// shows, vertical sync, and the window's picture of the shown images.
#include <map>

#include "host/gpuinternal.h"
#include "host/screenshot.h"

namespace {

struct Renderbuffer {
    GLuint gl = 0;
    uint32_t format = 0;
    int width = 0, height = 0;
    uint32_t area = 0;
    void* storage = nullptr;
};

struct Framebuffer {
    GLuint gl = 0;
    uint32_t color = 0;
    uint32_t depth = 0;
};

struct Displaybuffer {
    GLuint texture = 0;
    GLuint fbo = 0;
    int width = 0, height = 0;  // portrait, as stored
    uint32_t area = 0;
    void* storage = nullptr;
    uint32_t displays = 0;  // bit per display it has been bound to
};

// The three displays: upper left eye, upper right eye, lower.
enum { kUpperLeft = 0, kUpperRight = 1, kLower = 2, kDisplays = 3 };

}  // namespace

static std::map<uint32_t, Renderbuffer> renderbuffers;
static std::map<uint32_t, Framebuffer> framebuffers;
static std::map<uint32_t, Displaybuffer> displaybuffers;
static uint32_t nextId = 1;
static uint32_t boundRenderbuffer = 0;
static int activeDisplay = kUpperLeft;
static uint32_t boundDisplaybuffer[kDisplays];
static uint32_t shownDisplaybuffer[kDisplays];
static uint32_t lcdMode = kGpuLcdMono;
static GpuVsyncCallback vsyncCallback[kDisplays];
static int view = kGpuViewLeft;
static GLuint presentProgram = 0;
static GLuint presentVao = 0;
static GLuint pictureProgram = 0;  // the host's own pictures (GpuPresentPictures)
static GLuint pictureTexture[2];

static int DisplayIndex(uint32_t display)
{
    switch (display) {
    case kGpuDisplayUpper: return kUpperLeft;
    case kGpuDisplayUpperRight: return kUpperRight;
    case kGpuDisplayLower: return kLower;
    default: return -1;
    }
}

void GpuDisplayReset()
{
    activeDisplay = kUpperLeft;
    for (int i = 0; i < kDisplays; ++i) {
        boundDisplaybuffer[i] = shownDisplaybuffer[i] = 0;
        vsyncCallback[i] = nullptr;
    }
    lcdMode = kGpuLcdMono;
}

void GpuDisplayShutdown()
{
    for (auto& e : renderbuffers) {
        glDeleteRenderbuffers(1, &e.second.gl);
        GpuRelease(e.second.area, kGpuAimRenderBuffer, e.first, e.second.storage);
    }
    for (auto& e : framebuffers) glDeleteFramebuffers(1, &e.second.gl);
    for (auto& e : displaybuffers) {
        glDeleteTextures(1, &e.second.texture);
        glDeleteFramebuffers(1, &e.second.fbo);
        GpuRelease(e.second.area, kGpuAimDisplayBuffer, e.first, e.second.storage);
    }
    renderbuffers.clear();
    framebuffers.clear();
    displaybuffers.clear();
    boundRenderbuffer = 0;
    if (presentProgram) glDeleteProgram(presentProgram);
    if (presentVao) glDeleteVertexArrays(1, &presentVao);
    presentProgram = presentVao = 0;
    if (pictureProgram) {
        glDeleteProgram(pictureProgram);
        glDeleteTextures(2, pictureTexture);
    }
    pictureProgram = 0;
    GpuDisplayReset();
}

// ---------------------------------------------------------------------------------------------
// Frame buffers and render buffers

void GpuGenFramebuffers(int count, uint32_t* ids)
{
    if (count < 0 || (count && !ids)) return GpuSetError(kGpuInvalidValue);
    for (int i = 0; i < count; ++i) {
        Framebuffer f;
        glGenFramebuffers(1, &f.gl);
        ids[i] = nextId++;
        framebuffers[ids[i]] = f;
    }
}

void GpuDeleteFramebuffers(int count, const uint32_t* ids)
{
    if (count < 0 || (count && !ids)) return GpuSetError(kGpuInvalidValue);
    for (int i = 0; i < count; ++i) {
        auto it = framebuffers.find(ids[i]);
        if (it == framebuffers.end()) continue;
        glDeleteFramebuffers(1, &it->second.gl);
        framebuffers.erase(it);
    }
}

void GpuGenRenderbuffers(int count, uint32_t* ids)
{
    if (count < 0 || (count && !ids)) return GpuSetError(kGpuInvalidValue);
    for (int i = 0; i < count; ++i) {
        Renderbuffer r;
        glGenRenderbuffers(1, &r.gl);
        ids[i] = nextId++;
        renderbuffers[ids[i]] = r;
    }
}

void GpuDeleteRenderbuffers(int count, const uint32_t* ids)
{
    if (count < 0 || (count && !ids)) return GpuSetError(kGpuInvalidValue);
    for (int i = 0; i < count; ++i) {
        auto it = renderbuffers.find(ids[i]);
        if (it == renderbuffers.end()) continue;
        glDeleteRenderbuffers(1, &it->second.gl);
        GpuRelease(it->second.area, kGpuAimRenderBuffer, it->first, it->second.storage);
        renderbuffers.erase(it);
        if (boundRenderbuffer == ids[i]) boundRenderbuffer = 0;
    }
}

void GpuBindRenderbuffer(uint32_t id)
{
    if (id && !renderbuffers.count(id)) return GpuSetError(kGpuInvalidValue);
    boundRenderbuffer = id;
}

static int KnownArea(uint32_t area)
{
    return area == kGpuAreaMain || area == kGpuAreaVramA || area == kGpuAreaVramB;
}

int GpuRenderbufferStorage(uint32_t format, uint32_t area, int width, int height)
{
    auto it = renderbuffers.find(boundRenderbuffer);
    if (it == renderbuffers.end()) {
        GpuSetError(kGpuInvalidOperation);
        return 0;
    }
    if ((format != kGpuRGBA8 && format != kGpuDepth24Stencil8) || !KnownArea(area)) {
        GpuSetError(kGpuInvalidEnum);
        return 0;
    }
    if (width < 1 || height < 1 || width > 1024 || height > 1024) {
        GpuSetError(kGpuInvalidValue);
        return 0;
    }
    Renderbuffer& r = it->second;
    GpuRelease(r.area, kGpuAimRenderBuffer, it->first, r.storage);
    r.storage = GpuAllocate(area, kGpuAimRenderBuffer, it->first, width * height * 4);
    if (!r.storage) {
        r = Renderbuffer{r.gl};
        GpuSetError(kGpuOutOfMemory);
        return 0;
    }
    r.format = format;
    r.width = width;
    r.height = height;
    r.area = area;
    glBindRenderbuffer(GL_RENDERBUFFER, r.gl);
    glRenderbufferStorage(GL_RENDERBUFFER, format == kGpuRGBA8 ? GL_RGBA8 : GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return 1;
}

int GpuFramebufferRenderbuffer(uint32_t framebuffer, uint32_t attachment, uint32_t renderbuffer)
{
    auto f = framebuffers.find(framebuffer);
    auto r = renderbuffers.find(renderbuffer);
    if (f == framebuffers.end() || r == renderbuffers.end() || !r->second.format) {
        GpuSetError(kGpuInvalidOperation);
        return 0;
    }
    int colour = attachment == kGpuColorAttachment0;
    if ((!colour && attachment != kGpuDepthStencilAttachment) ||
        (colour != (r->second.format == kGpuRGBA8))) {
        GpuSetError(kGpuInvalidEnum);
        return 0;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, f->second.gl);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, colour ? GL_COLOR_ATTACHMENT0 : GL_DEPTH_STENCIL_ATTACHMENT,
                              GL_RENDERBUFFER, r->second.gl);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    (colour ? f->second.color : f->second.depth) = renderbuffer;
    return 1;
}

int GpuFramebufferSize(uint32_t framebuffer, int* width, int* height)
{
    auto f = framebuffers.find(framebuffer);
    if (f == framebuffers.end()) return 0;
    auto c = renderbuffers.find(f->second.color);
    if (c == renderbuffers.end()) return 0;
    if (width) *width = c->second.width;
    if (height) *height = c->second.height;
    return 1;
}

int GpuUseFramebuffer(uint32_t framebuffer, int* width, int* height)
{
    if (!GpuFramebufferSize(framebuffer, width, height)) return 0;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffers[framebuffer].gl);
    return 1;
}

void GpuExecClear(uint32_t mask)
{
    if (!GpuFramebufferSize(GpuRegister(kGpuRegFramebuffer), nullptr, nullptr)) {
        GpuSetError(kGpuInvalidOperation);
        return;
    }
    if (!GpuOnGl()) return;
    GpuCountGlWork();
    GpuUseFramebuffer(GpuRegister(kGpuRegFramebuffer), nullptr, nullptr);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFF);
    glClearColor(GpuRegisterFloat(kGpuRegClearColor), GpuRegisterFloat(kGpuRegClearColor + 1),
                 GpuRegisterFloat(kGpuRegClearColor + 2), GpuRegisterFloat(kGpuRegClearColor + 3));
    glClearDepth(GpuRegisterFloat(kGpuRegClearDepth));
    glClearStencil(GLint(GpuRegister(kGpuRegClearStencil)));
    GLbitfield bits = 0;
    if (mask & kGpuColorBufferBit) bits |= GL_COLOR_BUFFER_BIT;
    if (mask & kGpuDepthBufferBit) bits |= GL_DEPTH_BUFFER_BIT;
    if (mask & kGpuStencilBufferBit) bits |= GL_STENCIL_BUFFER_BIT;
    glClear(bits);
}

// ---------------------------------------------------------------------------------------------
// Display buffers

void GpuActiveDisplay(uint32_t display)
{
    int index = DisplayIndex(display);
    if (index < 0) return GpuSetError(kGpuInvalidEnum);
    activeDisplay = index;
}

void GpuGenDisplaybuffers(int count, uint32_t* ids)
{
    if (count < 0 || (count && !ids)) return GpuSetError(kGpuInvalidValue);
    for (int i = 0; i < count; ++i) {
        ids[i] = nextId++;
        displaybuffers[ids[i]] = Displaybuffer{};
    }
}

void GpuDeleteDisplaybuffers(int count, const uint32_t* ids)
{
    if (count < 0 || (count && !ids)) return GpuSetError(kGpuInvalidValue);
    for (int i = 0; i < count; ++i) {
        auto it = displaybuffers.find(ids[i]);
        if (it == displaybuffers.end()) continue;
        glDeleteTextures(1, &it->second.texture);
        glDeleteFramebuffers(1, &it->second.fbo);
        GpuRelease(it->second.area, kGpuAimDisplayBuffer, it->first, it->second.storage);
        displaybuffers.erase(it);
        for (int d = 0; d < kDisplays; ++d) {
            if (boundDisplaybuffer[d] == ids[i]) boundDisplaybuffer[d] = 0;
            if (shownDisplaybuffer[d] == ids[i]) shownDisplaybuffer[d] = 0;
        }
    }
}

void GpuBindDisplaybuffer(uint32_t id)
{
    if (id && !displaybuffers.count(id)) return GpuSetError(kGpuInvalidValue);
    boundDisplaybuffer[activeDisplay] = id;
    if (id) displaybuffers[id].displays |= 1u << activeDisplay;
}

// Which displays the window shows: the lower one, and on the upper screen the eye of the view
// (both in anaglyph; in mono the left image whatever the view).
static int WindowShows(int index)
{
    if (index == kLower) return 1;
    if (lcdMode != kGpuLcdStereo) return index == kUpperLeft;
    if (view == kGpuViewAnaglyph) return 1;
    return index == (view == kGpuViewRight ? kUpperRight : kUpperLeft);
}

int GpuDisplaybufferInWindow(uint32_t id)
{
    auto it = displaybuffers.find(id);
    if (it == displaybuffers.end() || it->second.displays == 0) return 1;
    for (int d = 0; d < kDisplays; ++d)
        if ((it->second.displays & (1u << d)) && WindowShows(d)) return 1;
    return 0;
}

int GpuDisplaybufferStorage(uint32_t format, int width, int height, uint32_t area)
{
    uint32_t id = boundDisplaybuffer[activeDisplay];
    auto it = displaybuffers.find(id);
    if (it == displaybuffers.end()) {
        GpuSetError(kGpuInvalidOperation);
        return 0;
    }
    if ((format != kGpuRGB8 && format != kGpuRGBA8) || !KnownArea(area)) {
        GpuSetError(kGpuInvalidEnum);
        return 0;
    }
    if (width < 1 || height < 1 || width > 1024 || height > 1024) {
        GpuSetError(kGpuInvalidValue);
        return 0;
    }
    Displaybuffer& d = it->second;
    GpuRelease(d.area, kGpuAimDisplayBuffer, id, d.storage);
    d.storage = GpuAllocate(area, kGpuAimDisplayBuffer, id, width * height * (format == kGpuRGB8 ? 3 : 4));
    if (!d.storage) {
        d.area = 0;
        GpuSetError(kGpuOutOfMemory);
        return 0;
    }
    d.width = width;
    d.height = height;
    d.area = area;
    if (!d.texture) glGenTextures(1, &d.texture);
    if (!d.fbo) glGenFramebuffers(1, &d.fbo);
    glBindTexture(GL_TEXTURE_2D, d.texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindFramebuffer(GL_FRAMEBUFFER, d.fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, d.texture, 0);
    glClearColor(0, 0, 0, 1);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return 1;
}

uint32_t GpuDisplaybufferAddress(uint32_t id)
{
    auto it = displaybuffers.find(id);
    return it == displaybuffers.end() ? 0 : GpuPhysicalAddress(it->second.storage);
}

void GpuDisplayEnv(int x, int y)
{
    if (x != 0 || y != 0) GpuSetError(kGpuInvalidValue);
}

void GpuExecTransfer(uint32_t displaybuffer, uint32_t mode, int offsetX, int offsetY)
{
    int srcW = 0, srcH = 0;
    auto d = displaybuffers.find(displaybuffer);
    if (d == displaybuffers.end() || !d->second.texture ||
        !GpuFramebufferSize(GpuRegister(kGpuRegFramebuffer), &srcW, &srcH)) {
        GpuSetError(kGpuInvalidOperation);
        return;
    }
    // The display buffer from the offset on is filled from the render image's origin, which must
    // hold that area times the mode's factors.
    int fx = mode == kGpuAntialiasNone ? 1 : 2;
    int fy = mode == kGpuAntialias2x2 ? 2 : 1;
    int dstW = d->second.width - offsetX, dstH = d->second.height - offsetY;
    if (dstW < 1 || dstH < 1 || dstW * fx > srcW || dstH * fy > srcH) {
        GpuSetError(kGpuInvalidValue);
        return;
    }
    srcW = dstW * fx;
    srcH = dstH * fy;
    if (!GpuOnGl()) return;
    GpuCountGlWork();
    GpuUseFramebuffer(GpuRegister(kGpuRegFramebuffer), nullptr, nullptr);
    // Halving with linear filtering samples between the texels, which averages each pair or
    // block of four exactly.
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, d->second.fbo);
    glDisable(GL_SCISSOR_TEST);
    glBlitFramebuffer(0, 0, srcW, srcH, offsetX, offsetY, offsetX + dstW, offsetY + dstH, GL_COLOR_BUFFER_BIT,
                      fx == 1 && fy == 1 ? GL_NEAREST : GL_LINEAR);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// ---------------------------------------------------------------------------------------------
// Swaps, LCD modes, vertical sync

int GpuSwapBuffers(uint32_t display)
{
    if (display != kGpuDisplayUpper && display != kGpuDisplayLower && display != kGpuDisplayBoth) {
        GpuSetError(kGpuInvalidEnum);
        return 0;
    }
    if (display != kGpuDisplayLower) {
        shownDisplaybuffer[kUpperLeft] = boundDisplaybuffer[kUpperLeft];
        shownDisplaybuffer[kUpperRight] = boundDisplaybuffer[kUpperRight];
    }
    if (display != kGpuDisplayUpper) shownDisplaybuffer[kLower] = boundDisplaybuffer[kLower];
    return 1;
}

int GpuSetDisplayMode(uint32_t mode)
{
    if (mode != kGpuLcdMono && mode != kGpuLcdStereo) {
        GpuSetError(kGpuInvalidEnum);
        return 0;
    }
    lcdMode = mode;
    return 1;
}

uint32_t GpuDisplayMode() { return lcdMode; }

void GpuSetVSyncCallback(uint32_t display, GpuVsyncCallback callback)
{
    int index = DisplayIndex(display);
    if (index < 0 || index == kUpperRight) return GpuSetError(kGpuInvalidEnum);
    vsyncCallback[index] = callback;
}

int GpuWaitVSync(uint32_t display)
{
    if (display != kGpuDisplayUpper && display != kGpuDisplayLower && display != kGpuDisplayBoth) {
        GpuSetError(kGpuInvalidEnum);
        return 0;
    }
    GpuPresent();
    ScreenshotTakeDue();
    if (display != kGpuDisplayLower && vsyncCallback[kUpperLeft]) vsyncCallback[kUpperLeft](kGpuDisplayUpper);
    if (display != kGpuDisplayUpper && vsyncCallback[kLower]) vsyncCallback[kLower](kGpuDisplayLower);
    return 1;
}

void GpuStartLcdDisplay() {}

void GpuSetView(int v)
{
    if (v >= kGpuViewLeft && v <= kGpuViewAnaglyph) view = v;
}

int GpuView() { return view; }

// ---------------------------------------------------------------------------------------------
// Read-back

static int ReadPortrait(const Displaybuffer& d, std::vector<uint8_t>* rgba)
{
    if (!d.fbo) return 0;
    rgba->resize(size_t(d.width) * d.height * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, d.fbo);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, d.width, d.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba->data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    return 1;
}

int GpuReadDisplaybuffer(uint32_t id, std::vector<uint8_t>* rgb, int* width, int* height)
{
    auto it = displaybuffers.find(id);
    std::vector<uint8_t> portrait;
    if (it == displaybuffers.end() || !ReadPortrait(it->second, &portrait)) return 0;
    // Landscape pixel (sx, sy) is the stored pixel at column sy, row sx.
    int w = it->second.height, h = it->second.width;
    rgb->resize(size_t(w) * h * 3);
    for (int sy = 0; sy < h; ++sy) {
        for (int sx = 0; sx < w; ++sx) {
            const uint8_t* s = &portrait[(size_t(sx) * it->second.width + sy) * 4];
            uint8_t* o = &(*rgb)[(size_t(sy) * w + sx) * 3];
            o[0] = s[0];
            o[1] = s[1];
            o[2] = s[2];
        }
    }
    *width = w;
    *height = h;
    return 1;
}

int GpuReadDisplay(uint32_t display, std::vector<uint8_t>* rgb, int* width, int* height)
{
    int index = DisplayIndex(display);
    if (index < 0 || !shownDisplaybuffer[index]) return 0;
    return GpuReadDisplaybuffer(shownDisplaybuffer[index], rgb, width, height);
}

int GpuReadRenderImage(uint32_t framebuffer, std::vector<uint8_t>* rgba, int* width, int* height)
{
    int w = 0, h = 0;
    if (!GpuUseFramebuffer(framebuffer, &w, &h)) return 0;
    rgba->resize(size_t(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba->data());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    *width = w;
    *height = h;
    return 1;
}

// ---------------------------------------------------------------------------------------------
// The window

static const char* kPresentVertex = R"(#version 330 core
out vec2 uv;
void main()
{
    vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1));
    uv = corner;
    gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

// uv runs over the landscape screen with y up; the stored image is portrait, its column the
// screen's row from the top and its row the screen's column.
static const char* kPresentFragment = R"(#version 330 core
in vec2 uv;
out vec4 colour;
uniform sampler2D leftImage;
uniform sampler2D rightImage;
uniform int mode;  // 0 left, 1 right, 2 anaglyph
void main()
{
    vec2 st = vec2(1.0 - uv.y, uv.x);
    vec3 l = texture(leftImage, st).rgb;
    vec3 r = texture(rightImage, st).rgb;
    colour = vec4(mode == 0 ? l : mode == 1 ? r : vec3(l.r, r.g, r.b), 1.0);
}
)";

static GLuint ShownTexture(int index)
{
    auto it = displaybuffers.find(shownDisplaybuffer[index]);
    return it == displaybuffers.end() ? 0 : it->second.texture;
}

static void DrawScreen(GLuint left, GLuint right, int mode, int x, int y, int w, int h)
{
    if (!left) return;
    glViewport(x, y, w, h);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, left);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, right ? right : left);
    glUniform1i(glGetUniformLocation(presentProgram, "mode"), mode);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

// The window's own frame buffer, cleared to black with plain state, ready for its pictures.
static void ClearWindow(int scale)
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glViewport(0, 0, 400 * scale, 480 * scale);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

void GpuPresent()
{
    if (!GpuWindowShown()) return GpuContextShowFrame();  // offscreen: only the pace
    if (!presentProgram) {
        std::string log;
        presentProgram = GpuCompileProgram(kPresentVertex, kPresentFragment, &log);
        if (!presentProgram) return;
        glGenVertexArrays(1, &presentVao);
    }
    const int s = GpuContextScale();
    ClearWindow(s);
    glUseProgram(presentProgram);
    glUniform1i(glGetUniformLocation(presentProgram, "leftImage"), 0);
    glUniform1i(glGetUniformLocation(presentProgram, "rightImage"), 1);
    glBindVertexArray(presentVao);
    // In mono the upper screen shows the left image whatever the view.
    int mode = lcdMode == kGpuLcdStereo ? view : kGpuViewLeft;
    DrawScreen(ShownTexture(kUpperLeft), ShownTexture(kUpperRight), mode, 0, 240 * s, 400 * s, 240 * s);
    DrawScreen(ShownTexture(kLower), 0, 0, 40 * s, 0, 320 * s, 240 * s);
    glBindVertexArray(0);
    glUseProgram(0);
    GpuContextShowFrame();
}

// ---------------------------------------------------------------------------------------------
// The host's own pictures (its HOME and power menus)

static const char* kPictureFragment = R"(#version 330 core
in vec2 uv;
out vec4 colour;
uniform sampler2D picture;
void main() { colour = vec4(texture(picture, vec2(uv.x, 1.0 - uv.y)).rgb, 1.0); }
)";

static void DrawPicture(int which, const std::vector<uint8_t>& rgb, int w, int h, int x, int y, int s)
{
    if (rgb.size() != size_t(w) * h * 3) return;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, pictureTexture[which]);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glViewport(x * s, y * s, w * s, h * s);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

int GpuPresentPictures(const std::vector<uint8_t>& upperRgb, const std::vector<uint8_t>& lowerRgb)
{
    if (!GpuWindowShown()) {
        GpuContextShowFrame();  // offscreen: only the pace
        return 0;
    }
    if (!pictureProgram) {
        std::string log;
        pictureProgram = GpuCompileProgram(kPresentVertex, kPictureFragment, &log);
        if (!pictureProgram) return 0;
        glGenTextures(2, pictureTexture);
        if (!presentVao) glGenVertexArrays(1, &presentVao);
    }
    const int s = GpuContextScale();
    ClearWindow(s);
    glUseProgram(pictureProgram);
    glUniform1i(glGetUniformLocation(pictureProgram, "picture"), 0);
    glBindVertexArray(presentVao);
    DrawPicture(0, upperRgb, 400, 240, 0, 240, s);
    DrawPicture(1, lowerRgb, 320, 240, 40, 0, s);
    glBindVertexArray(0);
    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    GpuContextShowFrame();
    return 1;
}
