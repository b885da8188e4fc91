// The host's HOME and power menus. They are drawn by the host alone, into two RGB pictures shown
// in the window in place of the game's images, so they need nothing of the game's renderer, fonts
// or resources and cannot disturb them: the game is suspended in the middle of a frame's input
// read while they run. The few words they show are set in a small built-in 5 x 7 pixel font.
#include "host/systemmenu.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "host/gpu.h"
#include "host/host.h"
#include "host/input.h"
#include "host/messagebox.h"
#include "host/screenshot.h"

static const int kUpperW = 400, kLowerW = 320, kScreenH = 240;

// A button of the lower screen.
struct MenuButton {
    int x, y, w, h;
    const char* label;
    int answer;
};
static const MenuButton kButtons[] = {
    {40, 150, 110, 44, "RESUME", kSystemMenuResume},
    {170, 150, 110, 44, "CLOSE", kSystemMenuClose},
};

// The font: one glyph a letter, seven rows of five pixels, the leftmost the highest bit.
struct Glyph {
    char letter;
    uint8_t rows[7];
};
static const Glyph kGlyphs[] = {
    {'C', {14, 17, 16, 16, 16, 17, 14}}, {'E', {31, 16, 16, 30, 16, 16, 31}}, {'H', {17, 17, 17, 31, 17, 17, 17}},
    {'L', {16, 16, 16, 16, 16, 16, 31}}, {'M', {17, 27, 21, 21, 17, 17, 17}}, {'N', {17, 25, 21, 19, 17, 17, 17}},
    {'O', {14, 17, 17, 17, 17, 17, 14}}, {'P', {30, 17, 17, 30, 16, 16, 16}}, {'R', {30, 17, 17, 30, 20, 18, 17}},
    {'S', {15, 16, 16, 14, 1, 1, 30}},   {'U', {17, 17, 17, 17, 17, 17, 14}}, {'W', {17, 17, 17, 21, 21, 27, 17}},
};

static const Glyph* FindGlyph(char c)
{
    for (const Glyph& g : kGlyphs)
        if (g.letter == c) return &g;
    return nullptr;
}

// A picture being drawn: RGB, landscape.
struct Picture {
    std::vector<uint8_t>* rgb;
    int w;
};

static void Fill(Picture p, int x, int y, int w, int h, const uint8_t colour[3])
{
    for (int row = y; row < y + h && row < kScreenH; ++row)
        for (int col = x; col < x + w && col < p.w; ++col)
            if (row >= 0 && col >= 0) std::memcpy(&(*p.rgb)[(size_t(row) * p.w + col) * 3], colour, 3);
}

// The lines of text the last composed pictures show, as --layout-out writes them.
static std::string composedLines;

// Text centred on (cx, cy), each font pixel scale x scale.
static void Text(Picture p, const char* text, int cx, int cy, int scale, const uint8_t colour[3])
{
    const int advance = 6 * scale;
    int x = cx - (int(std::strlen(text)) * advance - scale) / 2;
    const int y = cy - 7 * scale / 2;
    char line[96];
    const int w = int(std::strlen(text)) * advance - scale;
    for (const char* display : {"upper-left", "upper-right", "lower"}) {
        if ((p.w == kLowerW) != (std::strcmp(display, "lower") == 0)) continue;
        std::snprintf(line, sizeof line, "%s %d %d %d %d %s\n", display, x, y, w, 7 * scale, text);
        composedLines += line;
    }
    for (const char* c = text; *c; ++c, x += advance) {
        const Glyph* g = FindGlyph(*c);
        if (!g) continue;
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                if (g->rows[row] & (16 >> col)) Fill(p, x + col * scale, y + row * scale, scale, scale, colour);
    }
}

// The game's image at a third of its brightness; black when it is missing.
static void Dimmed(const std::vector<uint8_t>& game, int w, std::vector<uint8_t>* out)
{
    out->assign(size_t(w) * kScreenH * 3, 0);
    if (game.size() != out->size()) return;
    for (size_t i = 0; i < out->size(); ++i) (*out)[i] = uint8_t(game[i] / 3);
}

void HostComposeSystemMenu(int kind, int cursor, const std::vector<uint8_t>& upperGame,
                           const std::vector<uint8_t>& lowerGame, std::vector<uint8_t>* upper,
                           std::vector<uint8_t>* lower)
{
    static const uint8_t kWhite[3] = {255, 255, 255};
    static const uint8_t kPanel[3] = {40, 48, 64};
    static const uint8_t kLit[3] = {70, 130, 220};
    static const uint8_t kEdge[3] = {200, 210, 230};
    composedLines.clear();
    Dimmed(upperGame, kUpperW, upper);
    Dimmed(lowerGame, kLowerW, lower);
    Text({upper, kUpperW}, kind == kSystemMenuPower ? "POWER MENU" : "HOME MENU", kUpperW / 2, kScreenH / 2, 4, kWhite);
    Picture low{lower, kLowerW};
    for (const MenuButton& b : kButtons) {
        const int lit = b.answer == cursor;
        Fill(low, b.x - 2, b.y - 2, b.w + 4, b.h + 4, lit ? kWhite : kEdge);
        Fill(low, b.x, b.y, b.w, b.h, lit ? kLit : kPanel);
        Text(low, b.label, b.x + b.w / 2, b.y + b.h / 2, 2, kWhite);
    }
}

int HostSystemMenuButtonAt(int x, int y)
{
    for (const MenuButton& b : kButtons)
        if (x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h) return b.answer;
    return -1;
}

// One read of the menu's input: the answer it gives, or -1. *cursor follows the D-pad.
static int Answer(int kind, const HostInputState& now, const HostInputState& before, int* cursor)
{
    const uint32_t pressed = now.pad & ~before.pad;
    if (HostInputTakeHomePress() && kind == kSystemMenuHome) return kSystemMenuResume;  // HOME again goes back
    HostInputTakePowerPress();
    HostInputTakeSleepRequest();
    if (pressed & (kPadLeft | kPadRight | kPadUp | kPadDown))
        *cursor = *cursor == kSystemMenuResume ? kSystemMenuClose : kSystemMenuResume;
    if (pressed & kPadA) return *cursor;
    if (pressed & kPadB) return kSystemMenuResume;
    if (now.touching && !before.touching) return HostSystemMenuButtonAt(now.touchX, now.touchY);
    return -1;
}

int HostRunSystemMenu(int kind)
{
    std::vector<uint8_t> upperGame, lowerGame, upper, lower;
    const int window = !gHostOptions.headless;
    int w = 0, h = 0;
    if (window) {
        GpuReadDisplay(kGpuDisplayUpper, &upperGame, &w, &h);
        GpuReadDisplay(kGpuDisplayLower, &lowerGame, &w, &h);
    }
    HostInputState before;
    HostInputRead(&before);
    int cursor = kSystemMenuResume;
    for (;;) {
        if (HostCloseRequested()) return kSystemMenuClose;
        // Without a window on a screen, nobody answers once the input script has no order left to
        // come: the game resumes (a box that waits under the menu then ends as well).
        if (window && !HostBoxCanBeClosed()) return kSystemMenuResume;
        if (window) {
            HostComposeSystemMenu(kind, cursor, upperGame, lowerGame, &upper, &lower);
            GpuPresentPictures(upper, lower);
            std::this_thread::sleep_for(std::chrono::milliseconds(16));
        }
        HostFramePresented();
        // A screenshot of a frame the menu shows is the menu's pictures (headless, over black).
        if (ScreenshotDue()) {
            HostComposeSystemMenu(kind, cursor, upperGame, lowerGame, &upper, &lower);
            ScreenshotTakePictures(upper, kUpperW, lower, kLowerW, kScreenH, composedLines);
        }
        HostInputState now;
        if (!HostInputRead(&now)) return kSystemMenuResume;
        int answer = Answer(kind, now, before, &cursor);
        if (answer >= 0) return answer;
        before = now;
    }
}
