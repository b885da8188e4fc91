// The cost of drawing one typical frame on the PC's GPU, headless: both eyes of a lit, textured
// scene of a few thousand triangles, a few hundred 2D quads (most on the lower screen, some over
// the upper one), recorded, executed and swapped through the whole frame sequence, as a share of
// the 33 ms that a frame may take.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "support/bench_game.h"
#include "host/arena.h"
#include "host/errorlog.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "platform/bitmap.h"
#include "platform/camera.h"
#include "platform/fileserver.h"
#include "platform/gpucommands.h"
#include "platform/lighting.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/shaders.h"
#include "shell/globals.h"
#include "shell/startup.h"

namespace {

constexpr uint32_t kDeviceBytes = 64u << 20;
constexpr double kFrameBudgetMs = 33.0;

// The scene: a grid of kColumns x kRows quads, one triangle strip per row (as a model's strips).
constexpr int kColumns = 64;
constexpr int kRows = 32;
constexpr int kTriangles = 2 * kColumns * kRows;  // 4096
constexpr int kLowerQuads = 300;
constexpr int kUpperQuadsPerEye = 40;

struct SceneVertex {
    float x, y, z, nx, ny, nz, u, v;  // vertex format 1: lit, textured
};
static_assert(sizeof(SceneVertex) == 32, "format 1 vertices are 32 bytes");

struct Scene {
    SceneVertex* vertices = nullptr;
    uint16_t* indices = nullptr;  // kRows strips of 2 (kColumns + 1) indices
    DS3_bitmap_tag* texture = nullptr;
    DS3_bitmap_tag* sprites = nullptr;
};

Scene gScene;
long gFrames = 0;
double gSeconds = 0;

DS3_bitmap_tag* MakeBitmap(int size, uint32_t seed)
{
    const int32_t length = int32_t(sizeof(DS3_bitmap_tag)) + size * size * 4;
    void* p = nullptr;
    if (!AllocateClearedMemory(&p, length)) return nullptr;
    auto* b = static_cast<DS3_bitmap_tag*>(p);
    b->width = b->height = b->physicalWidth = b->physicalHeight = uint16_t(size);
    b->pitch = uint16_t(size * 4);
    b->pixelFormat = kPixelRGBA8;
    b->numMipmapLevels = 1;
    b->widthInv = b->heightInv = 1.0f / float(size);
    uint8_t* texels = static_cast<uint8_t*>(p) + sizeof(DS3_bitmap_tag);
    for (int i = 0; i < size * size * 4; ++i) texels[i] = uint8_t((i * 2654435761u + seed) >> 24);
    return InitializeBitmapResource(static_cast<uint8_t*>(p), length) ? b : nullptr;
}

// A gently waved floor 1200 x 600 units, seen from the default camera.
int MakeScene(Scene* s)
{
    // One block, the indices after the vertices: the GPU takes them at an offset after the
    // vertex base.
    const int verts = (kColumns + 1) * (kRows + 1);
    const int vertexBytes = verts * int(sizeof(SceneVertex));
    void* block = nullptr;
    if (!AllocateClearedMemory(&block, vertexBytes + kRows * 2 * (kColumns + 1) * int(sizeof(uint16_t)))) return 0;
    s->vertices = static_cast<SceneVertex*>(block);
    s->indices = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(block) + vertexBytes);
    for (int r = 0; r <= kRows; ++r) {
        for (int c = 0; c <= kColumns; ++c) {
            SceneVertex& o = s->vertices[r * (kColumns + 1) + c];
            o.x = -600.0f + 1200.0f * float(c) / kColumns;
            o.y = -100.0f + 600.0f * float(r) / kRows;
            o.z = 8.0f * std::sin(float(c) * 0.4f) * std::cos(float(r) * 0.3f);
            o.nz = 1.0f;
            o.u = float(c) / 8.0f;
            o.v = float(r) / 8.0f;
        }
    }
    uint16_t* p = s->indices;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c <= kColumns; ++c) {
            *p++ = uint16_t(r * (kColumns + 1) + c);
            *p++ = uint16_t((r + 1) * (kColumns + 1) + c);
        }
    }
    s->texture = MakeBitmap(64, 1);
    s->sprites = MakeBitmap(128, 2);
    return s->texture && s->sprites ? 1 : 0;
}

void DrawScene(const Scene& s)
{
    RenderEnableZBuffer();
    RenderEnableZWrite();
    RenderDisableBackfaceCulling();
    SetXform(shaderViewXform);  // the floor's world transform is the identity
    RenderSetShader(1, 0, 0);
    DS3_SetTextures(s.texture, nullptr, nullptr);
    const uint32_t base = GpuPhysicalAddress(s.vertices);
    const uint32_t indices = GpuPhysicalAddress(s.indices) - base;
    DS3_SetVertexBuffer(base);
    const uint32_t perStrip = 2 * (kColumns + 1);
    for (int r = 0; r < kRows; ++r) DS3_DrawIndexedTristrip(indices + uint32_t(r) * perStrip * 2, perStrip);
}

void DrawUpperQuads(const Scene& s)
{
    RenderEnableOverlays();
    RenderEnableParallax();
    for (int i = 0; i < kUpperQuadsPerEye; ++i) DrawScreenPoly(s.sprites, (i * 16) % 112, 0, (i * 37) % 380, 200, 16, 16);
    RenderDisableParallax();
}

void DrawLowerQuads(const Scene& s)
{
    RenderEnableOverlays();
    for (int i = 0; i < kLowerQuads; ++i) {
        if (i % 50 == 49) {
            RenderSetPenColor(uint8_t(i), 40, 200);
            RenderRect((i * 13) % 300, (i * 7) % 220, 20, 12);
        } else {
            // Glyph-sized pieces of one sheet, as text is drawn.
            DrawScreenPoly(s.sprites, (i * 8) % 120, (i * 8) % 120, (i * 11) % 310, (i * 17) % 230, 8, 12);
        }
    }
}

int DrawFrame(const Scene& s)
{
    if (!RenderStartScreen() || !ComposeCameraXform()) return 0;
    if (!RenderStartDisplay0L()) return 0;
    DrawScene(s);
    DrawUpperQuads(s);
    if (!RenderEndDisplay0L() || !RenderStartDisplay0R()) return 0;
    DrawScene(s);
    DrawUpperQuads(s);
    if (!RenderEndDisplay0R() || !RenderStartDisplay1()) return 0;
    DrawLowerQuads(s);
    if (!RenderEndDisplay1()) return 0;
    return RenderDoneScreen();
}

void BM_RenderFrame(benchmark::State& state)
{
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!DrawFrame(gScene)) {
            state.SkipWithError("the frame could not be drawn");
            return;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        ++gFrames;
        gSeconds += seconds;
    }
    state.counters["triangles"] = double(2 * kTriangles);
    state.counters["quads"] = double(kLowerQuads + 2 * kUpperQuadsPerEye);
}

// About 2 s of frames of 15 ms here.
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(BenchIterations(150));

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    // The game data of the build, drawn headless.
    if (!StartBenchRenderer("render_bench", argv[0], 1, kDeviceBytes, 0x800)) return 1;
    InitCamera(6.0f, 150000.0f);
    DS3_lights lights;
    std::memset(&lights, 0, sizeof lights);
    lights.ambient_red = lights.ambient_green = lights.ambient_blue = 0.2f;
    lights.light1_red = lights.light1_green = lights.light1_blue = 0.8f;
    lights.light1_z = -1.0f;
    lights.specular_red = lights.specular_green = lights.specular_blue = 0.5f;
    lights.specular_shininess = 30.0f;
    lights.specular_z = 100.0f;
    RenderSetLights(&lights);
    if (!MakeScene(&gScene)) {
        std::fprintf(stderr, "render_bench: no memory for the scene\n");
        return 1;
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (gFrames > 0) {
        const double msPerFrame = gSeconds * 1000.0 / double(gFrames);
        std::printf("one drawn frame (%d triangles per eye, %d quads): %.3f ms, %.2f %% of the %.0f ms frame\n",
                    kTriangles, kLowerQuads + 2 * kUpperQuadsPerEye, msPerFrame, 100.0 * msPerFrame / kFrameBudgetMs,
                    kFrameBudgetMs);
    }
    // How much of the upper screen the scene covers, so that the work is known to be drawn.
    std::vector<uint8_t> rgb;
    int w = 0, h = 0;
    if (GpuReadDisplay(kGpuDisplayUpper, &rgb, &w, &h)) {
        long lit = 0;
        for (size_t i = 0; i < rgb.size(); i += 3) lit += (rgb[i] | rgb[i + 1] | rgb[i + 2]) != 0;
        std::printf("the scene covers %.0f %% of the upper screen\n", 100.0 * double(lit) / double(w * h));
    }
    EndBenchRenderer();
    return 0;
}
