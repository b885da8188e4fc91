// Layout records of drawn 2D screens: the text output's line record and the quads of one frame.
#include "support/drawn_layout.h"

#include "host/host.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "overlays/overlaydraw.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "shell/globals.h"
#include "support/device_heap.h"
#include "support/game_data.h"

static HostOptions savedOptions;
static int savedHalves[3];

int OpenDrawnScreens()
{
    if (!UseFreshDeviceHeap(64 << 20)) return 0;
    savedOptions = gHostOptions;
    savedHalves[0] = screenBufferHalfWidth;
    savedHalves[1] = screenLowerBufferHalfWidth;
    savedHalves[2] = screenBufferHalfHeight;
    if (!PrepareWholeGame() || !RenderInit(0x80000, 0x800, 0x502, 0x500)) return 0;
    ScreenChangeDisplayMode();
    screenBufferHalfWidth = 200;
    screenLowerBufferHalfWidth = 160;
    screenBufferHalfHeight = 120;
    return LoadResourceRange1x1(kFontsFirst, kFontsLast) && LoadResourceRange1x1(kOverlayImagesFirst, kOverlayImagesLast) &&
           InitOverlayBitmaps();
}

void CloseDrawnScreens()
{
    TextOutputRecordLines(nullptr, 0, nullptr);
    DisposeOverlayBitmaps();
    EndWholeGame();
    ReleaseDeviceHeap();
    gHostOptions = savedOptions;
    screenBufferHalfWidth = savedHalves[0];
    screenLowerBufferHalfWidth = savedHalves[1];
    screenBufferHalfHeight = savedHalves[2];
}

// Measuring a text with {n} graphics draws them far off the screen.
static const DrawnRect kWholeScreen = {0, 0, 400, 240};

static DrawnRect QuadRect(const ScreenPolyVertex* v)
{
    float x0 = v[0].x, x1 = v[0].x, y0 = v[0].y, y1 = v[0].y;
    for (int i = 1; i < 4; ++i) {
        x0 = v[i].x < x0 ? v[i].x : x0, x1 = v[i].x > x1 ? v[i].x : x1;
        y0 = v[i].y < y0 ? v[i].y : y0, y1 = v[i].y > y1 ? v[i].y : y1;
    }
    return DrawnRect{int(x0), int(y0), int(x1 - x0), int(y1 - y0)};
}

Drawing RecordDrawing(int (*draw)())
{
    Drawing d;
    TextLineBounds lines[256];
    int count = 0;
    StartFrameOverlays();
    TextOutputRecordLines(lines, 256, &count);
    d.result = draw();
    TextOutputRecordLines(nullptr, 0, nullptr);
    for (int i = 0; i < count && i < 256; ++i) d.lines.push_back(DrawnRect{lines[i].x, lines[i].y, lines[i].w, lines[i].h});
    const int quads = overlayBuffer ? int(numOverlayPolys < overlayBuffer->capacity ? numOverlayPolys : overlayBuffer->capacity) : 0;
    for (int q = 0; q < quads; ++q) {
        const DrawnRect r = QuadRect(overlayBuffer->vertices + 4 * q);
        if (!Overlap(r, kWholeScreen)) continue;
        bool glyph = false;
        for (const DrawnRect& line : d.lines) glyph = glyph || Within(r, line, 1);
        if (!glyph) d.pictures.push_back(r);
    }
    EndFrameOverlays();
    return d;
}

std::string Describe(const DrawnRect& r)
{
    return "(" + std::to_string(r.x) + ", " + std::to_string(r.y) + ") " + std::to_string(r.w) + " x " + std::to_string(r.h);
}

bool Within(const DrawnRect& a, const DrawnRect& b, int m)
{
    return a.x >= b.x - m && a.y >= b.y - m && a.x + a.w <= b.x + b.w + m && a.y + a.h <= b.y + b.h + m;
}

bool Overlap(const DrawnRect& a, const DrawnRect& b, int m)
{
    return a.x + m < b.x + b.w && b.x + m < a.x + a.w && a.y + m < b.y + b.h && b.y + m < a.y + a.h;
}
