// The record of drawn text lines behind --layout-out.
#include "host/layoutrecord.h"

#include <cstdio>
#include <vector>

#include "host/errorlog.h"
#include "host/gpu.h"
#include "host/host.h"

enum { kLine, kCover, kBox, kTouch, kButton, kMark, kPanel };

struct DrawnLine {
    // a line; a panel over the lines before it; a box its text belongs in; a touch target; a drawn
    // button; a mark; a filled panel that lines stand on
    int kind;
    uint32_t display;
    int x, y, w, h;
    std::string text;
};

// The lines of the frame being drawn, and of the frame drawn before it: the image a display
// shows at a presentation is the one whose commands were recorded a frame earlier.
static std::vector<DrawnLine> drawing, drawn;

int LayoutRecording() { return gHostOptions.layoutOut; }

void LayoutNoteLine(uint32_t display, int x, int y, int w, int h, const char* text, int length)
{
    if (!gHostOptions.layoutOut || !text || length < 0) return;
    drawing.push_back(DrawnLine{kLine, display, x, y, w, h, std::string(text, size_t(length))});
}

void LayoutNoteCover(uint32_t display, int x, int y, int w, int h)
{
    if (gHostOptions.layoutOut) drawing.push_back(DrawnLine{kCover, display, x, y, w, h, std::string()});
}

void LayoutNoteBox(uint32_t display, int x, int y, int w, int h)
{
    if (gHostOptions.layoutOut) drawing.push_back(DrawnLine{kBox, display, x, y, w, h, std::string()});
}

void LayoutNotePanel(uint32_t display, int x, int y, int w, int h)
{
    if (gHostOptions.layoutOut) drawing.push_back(DrawnLine{kPanel, display, x, y, w, h, std::string()});
}

void LayoutNoteTouch(uint32_t display, int x, int y, int w, int h)
{
    if (gHostOptions.layoutOut) drawing.push_back(DrawnLine{kTouch, display, x, y, w, h, std::string()});
}

void LayoutNoteButton(uint32_t display, int x, int y, int w, int h)
{
    if (gHostOptions.layoutOut) drawing.push_back(DrawnLine{kButton, display, x, y, w, h, std::string()});
}

void LayoutNoteMark(uint32_t display, int x, int y, int w, int h)
{
    if (gHostOptions.layoutOut) drawing.push_back(DrawnLine{kMark, display, x, y, w, h, std::string()});
}

static const char* KindName(int kind)
{
    static const char* const names[] = {"", "cover", "box", "touch", "button", "mark", "panel"};
    return names[kind];
}

static const char* DisplayName(uint32_t display)
{
    return display == kGpuDisplayLower ? "lower" : display == kGpuDisplayUpperRight ? "upper-right" : "upper-left";
}

int LayoutFramePresented(const std::string& path)
{
    std::vector<DrawnLine> lines;
    lines.swap(drawn);
    drawn.swap(drawing);
    if (path.empty()) return 1;
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return PrintError("layout: %s cannot be written", path.c_str());
    for (const DrawnLine& l : lines)
        if (l.kind != kLine)
            std::fprintf(f, "%s %s %d %d %d %d\n", KindName(l.kind), DisplayName(l.display), l.x, l.y, l.w, l.h);
        else std::fprintf(f, "%s %d %d %d %d %s\n", DisplayName(l.display), l.x, l.y, l.w, l.h, l.text.c_str());
    if (std::fclose(f) != 0) return PrintError("layout: %s cannot be written", path.c_str());
    return 1;
}
