#include "content_overlays.h"

#include <cmath>
#include <string>

#include "bitmap_writer.h"
#include "canvas.h"
#include "host/gpu.h"
#include "palette.h"

namespace mkrom {

namespace {


constexpr int kScreenW = 320, kScreenH = 240;

Rgba Lighter(Rgba c, int d)
{
    auto l = [d](uint8_t v) { return uint8_t(v + d > 255 ? 255 : v + d); };
    return {l(c.r), l(c.g), l(c.b), c.a};
}

Rgba Darker(Rgba c, int d)
{
    auto l = [d](uint8_t v) { return uint8_t(v < d ? 0 : v - d); };
    return {l(c.r), l(c.g), l(c.b), c.a};
}

// Fills a shape that lies within the box (x, y, w, h), with a pixel of margin.
void FillBox(RgbaImage* im, const Shape& s, const Paint& p, float x, float y, float w, float h)
{
    Fill(im, s, p, int(std::floor(x)) - 1, int(std::floor(y)) - 1, int(std::ceil(x + w)) + 2, int(std::ceil(y + h)) + 2);
}

// An outline of a rounded rectangle, `width` pixels thick, inside its bounds.
void Edge(RgbaImage* im, float x, float y, float w, float h, float r, float width, Rgba c)
{
    FillBox(im, Minus(RoundRect(x, y, w, h, r), RoundRect(x + width, y + width, w - 2 * width, h - 2 * width, r - width)),
            Solid(c), x, y, w, h);
}

// A raised panel: a soft shadow, a gradient body and a light edge.
void Panel(RgbaImage* im, float x, float y, float w, float h, float r, Rgba top = kPanelTop, Rgba bottom = kPanelBottom,
           Rgba edge = kEdge)
{
    FillBox(im, RoundRect(x + 2, y + 2, w, h, r), Solid(kShade), x, y, w + 2, h + 2);
    FillBox(im, RoundRect(x, y, w, h, r), VGradient(y, top, y + h, bottom), x, y, w, h);
    Edge(im, x, y, w, h, r, 2, edge);
}

// A recessed area where a touch button or a moving part sits.
void Well(RgbaImage* im, float x, float y, float w, float h, float r)
{
    FillBox(im, RoundRect(x, y, w, h, r), Solid(kWell), x, y, w, h);
    Edge(im, x, y, w, h, r, 1, Rgba{90, 130, 200, 200});
}

// A full lower-screen background: a gradient, a title band at the top and a footer band for the
// button prompts.
RgbaImage Screen(bool titleBand = true, bool footer = true)
{
    RgbaImage im(kScreenW, kScreenH);
    Fill(&im, [](float, float) { return true; }, VGradient(0, kScreenTop, kScreenH, kScreenBottom));
    // Faint diagonal stripes give the panels some texture.
    Fill(&im, [](float x, float y) { return int(x + y) % 16 < 2; }, Solid(Rgba{255, 255, 255, 10}));
    if (titleBand) {
        FillBox(&im, RoundRect(-10, -10, kScreenW + 20, 32, 8), VGradient(0, Rgba{70, 110, 190, 255}, 22, Rgba{30, 50, 110, 255}), 0, 0, kScreenW, 22);
        FillBox(&im, RoundRect(0, 21, kScreenW, 2, 0), Solid(kGold), 0, 21, kScreenW, 2);
    }
    if (footer) {
        FillBox(&im, RoundRect(0, 166, kScreenW, 74, 0), Solid(Rgba{0, 0, 0, 70}), 0, 166, kScreenW, 74);
        FillBox(&im, RoundRect(0, 166, kScreenW, 1, 0), Solid(Rgba{130, 180, 245, 160}), 0, 166, kScreenW, 1);
    }
    return im;
}

// A slider's track: a recessed groove from x0 to x1 around centre line y.
void Track(RgbaImage* im, float x0, float x1, float y)
{
    Well(im, x0, y - 5, x1 - x0, 10, 5);
    for (float x = x0 + 10; x < x1 - 5; x += (x1 - x0 - 15) / 8)
        FillBox(im, RoundRect(x, y - 9, 1.5f, 18, 0), Solid(Rgba{130, 180, 245, 120}), x, y - 9, 2, 18);
}

// A lane seen from the bowler: a wooden trapezoid narrowing towards the pins.
void Lane(RgbaImage* im, float nearL, float nearR, float nearY, float farL, float farR, float farY)
{
    Shape lane = Polygon({nearL, nearY, nearR, nearY, farR, farY, farL, farY});
    FillBox(im, lane, VGradient(farY, Rgba{150, 110, 60, 255}, nearY, Rgba{225, 180, 110, 255}), nearL, farY, nearR - nearL, nearY - farY);
    // Boards and the aiming arrows.
    for (int b = 1; b < 8; ++b) {
        float t = b / 8.0f;
        float xn = nearL + (nearR - nearL) * t, xf = farL + (farR - farL) * t;
        FillBox(im, Polygon({xn - 0.5f, nearY, xn + 0.5f, nearY, xf + 0.3f, farY, xf - 0.3f, farY}),
                Solid(Rgba{120, 80, 40, 90}), std::min(xn, xf) - 1, farY, std::fabs(xn - xf) + 2, nearY - farY);
    }
    float ay = nearY - (nearY - farY) * 0.35f;
    for (int a = 1; a < 7; ++a) {
        float t = a / 7.0f;
        float k = 0.35f;
        float l = nearL + (farL - nearL) * k, r = nearR + (farR - nearR) * k;
        float x = l + (r - l) * t, y = ay + std::fabs(a - 3.5f) * 4;
        FillBox(im, Polygon({x, y - 6, x + 3, y + 3, x - 3, y + 3}), Solid(Rgba{90, 50, 30, 220}), x - 4, y - 7, 8, 11);
    }
    // Gutters.
    FillBox(im, Polygon({nearL - 10, nearY, nearL, nearY, farL, farY, farL - 4, farY}), Solid(Rgba{40, 44, 56, 255}), nearL - 10, farY, farL - nearL + 12, nearY - farY);
    FillBox(im, Polygon({nearR, nearY, nearR + 10, nearY, farR + 4, farY, farR, farY}), Solid(Rgba{40, 44, 56, 255}), farR, farY, nearR - farR + 12, nearY - farY);
}

// A round controller button with its letter.
void RoundButton(RgbaImage* im, float x, float y, float size, Rgba colour, const char* letter)
{
    float r = size / 2 - 1, cx = x + size / 2, cy = y + size / 2;
    FillBox(im, Circle(cx + 1, cy + 2, r), Solid(kShade), x, y, size + 2, size + 2);
    FillBox(im, Circle(cx, cy, r), VGradient(y, Lighter(colour, 60), y + size, Darker(colour, 60)), x, y, size, size);
    FillBox(im, Ring(cx, cy, r - 2.5f, r), Solid(Rgba{255, 255, 255, 200}), x, y, size, size);
    DrawLabel(im, letter, kBold, int(size * 0.52f), cx, cy, kWhite, 0, kInk, 2);
}

// A rounded pill with a label.
void Pill(RgbaImage* im, float x, float y, float w, float h, Rgba colour, const char* label, int px)
{
    FillBox(im, RoundRect(x, y, w, h, h / 2), VGradient(y, Lighter(colour, 50), y + h, Darker(colour, 50)), x, y, w, h);
    Edge(im, x, y, w, h, h / 2, 2, Rgba{255, 255, 255, 190});
    if (label) DrawLabel(im, label, kBold, px, x + w / 2, y + h / 2, kWhite, 0, kInk, 1);
}

// A triangle arrow pointing up (dir 0), down (1), left (2) or right (3) filling its box.
void Arrow(RgbaImage* im, float x, float y, float w, float h, int dir, Rgba c)
{
    std::vector<float> p;
    if (dir == 0) p = {x + w / 2, y, x + w, y + h, x, y + h};
    if (dir == 1) p = {x, y, x + w, y, x + w / 2, y + h};
    if (dir == 2) p = {x, y + h / 2, x + w, y, x + w, y + h};
    if (dir == 3) p = {x, y, x + w, y + h / 2, x, y + h};
    FillBox(im, Polygon(p), Solid(c), x, y, w, h);
}

// A long arrow pointing up: a shaft and a head, outlined.
RgbaImage UpArrow(int w, int h, Rgba c)
{
    RgbaImage im(w, h);
    float head = w * 1.1f, shaft = w * 0.36f, cx = w / 2.0f;
    std::vector<float> outline = {cx, 1, float(w) - 1, head, cx + shaft / 2 + 1, head, cx + shaft / 2 + 1, float(h) - 1,
                                  cx - shaft / 2 - 1, float(h) - 1, cx - shaft / 2 - 1, head, 1, head};
    FillBox(&im, Polygon(outline), Solid(kInk), 0, 0, float(w), float(h));
    std::vector<float> body = {cx, 4, float(w) - 4, head - 1, cx + shaft / 2 - 1, head - 1, cx + shaft / 2 - 1, float(h) - 3,
                               cx - shaft / 2 + 1, float(h) - 3, cx - shaft / 2 + 1, head - 1, 4, head - 1};
    FillBox(&im, Polygon(body), VGradient(0, Lighter(c, 40), float(h), Darker(c, 40)), 0, 0, float(w), float(h));
    return im;
}

// A bowling ball: a dark glossy sphere with its finger holes.
void Ball(RgbaImage* im, float cx, float cy, float r, Rgba colour)
{
    FillBox(im, Circle(cx, cy, r), [=](float x, float y) {
        float d = std::hypot(x - (cx - r * 0.35f), y - (cy - r * 0.35f)) / (r * 1.6f);
        Rgba light = Lighter(colour, 90), dark = Darker(colour, 70);
        d = d > 1 ? 1 : d;
        return Rgba{uint8_t(light.r + (dark.r - light.r) * d), uint8_t(light.g + (dark.g - light.g) * d),
                    uint8_t(light.b + (dark.b - light.b) * d), 255};
    }, cx - r, cy - r, 2 * r, 2 * r);
    FillBox(im, Ring(cx, cy, r - 1.2f, r), Solid(Rgba{0, 0, 0, 160}), cx - r, cy - r, 2 * r, 2 * r);
    const float holes[3][2] = {{-0.22f, -0.3f}, {0.12f, -0.38f}, {-0.02f, 0.05f}};
    for (const auto& h : holes)
        FillBox(im, Circle(cx + h[0] * r, cy + h[1] * r, r * 0.11f), Solid(Rgba{5, 5, 10, 230}), cx - r, cy - r, 2 * r, 2 * r);
    FillBox(im, Circle(cx - r * 0.4f, cy - r * 0.45f, r * 0.18f), Solid(Rgba{255, 255, 255, 110}), cx - r, cy - r, 2 * r, 2 * r);
}

// A pin seen from the front: a white body with the red neck stripes.
void Pin(RgbaImage* im, float x, float y, float w, float h)
{
    float cx = x + w / 2;
    auto profile = [=](float t) {  // half width at height t (0 top, 1 bottom), smoothly between stations
        static const float station[][2] = {{0.0f, 0.02f}, {0.04f, 0.15f}, {0.12f, 0.21f}, {0.22f, 0.15f}, {0.3f, 0.12f},
                                           {0.45f, 0.31f}, {0.62f, 0.45f}, {0.82f, 0.39f}, {1.0f, 0.27f}};
        for (int i = 0; i < 8; ++i) {
            if (t > station[i + 1][0]) continue;
            float u = (t - station[i][0]) / (station[i + 1][0] - station[i][0]);
            u = (1 - std::cos(u * 3.14159265f)) / 2;
            return (station[i][1] + (station[i + 1][1] - station[i][1]) * u) * w;
        }
        return station[8][1] * w;
    };
    Shape body = [=](float px, float py) {
        float t = (py - y) / h;
        if (t < 0.01f || t > 0.99f) return false;
        return std::fabs(px - cx) <= profile(t);
    };
    FillBox(im, [=](float px, float py) { return body(px - 1, py - 1); }, Solid(kShade), x, y, w + 1, h + 1);
    FillBox(im, body, HGradient(x, Rgba{200, 205, 215, 255}, x + w, Rgba{255, 255, 255, 255}), x, y, w, h);
    for (float s : {0.27f, 0.34f})
        FillBox(im, [=](float px, float py) { return body(px, py) && std::fabs((py - y) / h - s) < 0.025f; },
                Solid(kRed), x, y, w, h);
}

RgbaImage Frame(int w, int h, float thickness, float r)
{
    RgbaImage im(w, h);
    FillBox(&im, Minus(RoundRect(0, 0, float(w), float(h), r), RoundRect(thickness, thickness, w - 2 * thickness, h - 2 * thickness, r - thickness / 2)),
            VGradient(0, Rgba{90, 140, 220, 255}, float(h), Rgba{30, 50, 110, 255}), 0, 0, float(w), float(h));
    Edge(&im, 0, 0, float(w), float(h), r, 1.5f, kGold);
    Edge(&im, thickness - 1.5f, thickness - 1.5f, w - 2 * thickness + 3, h - 2 * thickness + 3, r - thickness / 2, 1.5f, Rgba{200, 220, 255, 255});
    return im;
}

// The celebration clip's frame, with the bar along its bottom where "Skip Replay" is written.
RgbaImage ClipFrame()
{
    const int w = 241, h = 203;
    const float b = kClipFrameBorder, barTop = float(h) - b - kClipFrameBarH;
    RgbaImage im = Frame(w, h, b, 10);
    Shape inside = RoundRect(b, b, w - 2 * b, h - 2 * b, 10 - b / 2);
    FillBox(&im, [=](float px, float py) { return py >= barTop && inside(px, py); },
            VGradient(barTop, Rgba{40, 60, 120, 255}, barTop + kClipFrameBarH, Rgba{20, 30, 70, 255}), b, barTop,
            w - 2 * b, kClipFrameBarH);
    FillBox(&im, RoundRect(b, barTop, w - 2 * b, 1.5f, 0), Solid(kGold), b, barTop, w - 2 * b, 2);
    return im;
}

// The two prompt wells of a footer, where the glyphs and their words are drawn.
void WellBox(RgbaImage* im, const PictureBox& b) { Well(im, float(b.x), float(b.y), float(b.w), float(b.h), 10); }

void FooterButtons(RgbaImage* im, const PictureBox& back, const PictureBox& next)
{
    WellBox(im, back);
    WellBox(im, next);
}

// --- The images -------------------------------------------------------------------------------

// The button glyphs of {n} escapes, at the cells the overlays cut them from.
RgbaImage GlyphSheet()
{
    RgbaImage im(256, 256);
    RoundButton(&im, 10, 21, 50, kGreen, "A");
    RoundButton(&im, 10, 76, 50, kRed, "B");
    RoundButton(&im, 10, 130, 50, kBlue, "X");
    RoundButton(&im, 10, 184, 50, kYellow, "Y");
    // 6: a touch mark (a finger tip on a target).
    FillBox(&im, Ring(80, 91.5f, 10, 14), Solid(kGold), 64, 76, 32, 31);
    FillBox(&im, Circle(80, 91.5f, 6), Solid(kWhite), 64, 76, 32, 31);
    // 9: turn the page: a sheet with arrows left and right, the way the pages turn.
    Panel(&im, 70, 29, 29, 36, 4);
    Arrow(&im, 73, 40, 11, 15, 2, kGold);
    Arrow(&im, 86, 40, 11, 15, 3, kGold);
    // 0 and 5: the wide START and SELECT buttons.
    Pill(&im, 119, 34, 124, 33, Rgba{90, 100, 120, 255}, "START", 16);
    Pill(&im, 119, 86, 124, 33, Rgba{90, 100, 120, 255}, "SELECT", 16);
    return im;
}

// A busy indicator: eight dots round a circle, the bright one a quarter turn on per frame.
RgbaImage Busy(int frame)
{
    RgbaImage im(32, 32);
    for (int d = 0; d < 8; ++d) {
        float a = 6.2831853f * d / 8;
        int age = (d - frame * 2 + 16) % 8;
        uint8_t alpha = uint8_t(255 - age * 28);
        FillBox(&im, Circle(16 + 11 * std::sin(a), 16 - 11 * std::cos(a), 3.2f), Solid(Rgba{255, 220, 120, alpha}), 0, 0, 32, 32);
    }
    return im;
}

RgbaImage PinDiagramPanel()
{
    RgbaImage im(88, 46);
    Panel(&im, 0, 0, 86, 44, 8, Rgba{40, 64, 120, 200}, Rgba{16, 26, 60, 200});
    return im;
}

RgbaImage PinMarker()
{
    RgbaImage im(12, 12);
    FillBox(&im, Circle(6, 6, 5.5f), Solid(kInk), 0, 0, 12, 12);
    FillBox(&im, Circle(6, 6, 4.3f), VGradient(1, kWhite, 11, Rgba{190, 200, 215, 255}), 0, 0, 12, 12);
    FillBox(&im, Ring(6, 6, 2.0f, 2.8f), Solid(kRed), 0, 0, 12, 12);
    return im;
}

// A strike mark (a cross in a box) / a spare mark (the lower-left half of a box).
RgbaImage StrikeMark(int size)
{
    RgbaImage im(size, size);
    float s = float(size), t = s * 0.16f;
    FillBox(&im, RoundRect(0, 0, s, s, 2), Solid(kInk), 0, 0, s, s);
    FillBox(&im, Union(Polygon({1 + t, 1, s - 1, s - 1 - t, s - 1 - t, s - 1, 1, 1 + t}),
                       Polygon({s - 1 - t, 1, s - 1, 1 + t, 1 + t, s - 1, 1, s - 1 - t})),
            Solid(kGold), 0, 0, s, s);
    return im;
}

RgbaImage SpareMark(int w, int h)
{
    RgbaImage im(w, h);
    FillBox(&im, Polygon({0, float(h), float(w), 0, float(w), float(h)}), Solid(kInk), 0, 0, float(w), float(h));
    FillBox(&im, Polygon({2.5f, float(h) - 1, float(w) - 1, 2.5f, float(w) - 1, float(h) - 1}), Solid(kGold), 0, 0, float(w), float(h));
    return im;
}

RgbaImage SpeedPlate()
{
    RgbaImage im(100, 40);
    Panel(&im, 0, 0, 98, 38, 9);
    DrawLabel(&im, "MPH", kBold, 10, 82, 22, kGold);
    return im;
}

RgbaImage BallFrame()
{
    RgbaImage im(56, 56);
    FillBox(&im, Circle(28, 28, 27), Solid(Rgba{10, 16, 40, 150}), 0, 0, 56, 56);
    FillBox(&im, Ring(28, 28, 24, 27.5f), VGradient(0, Rgba{150, 190, 255, 255}, 56, Rgba{40, 70, 140, 255}), 0, 0, 56, 56);
    return im;
}

RgbaImage HookBadge()
{
    RgbaImage im(32, 22);
    Pill(&im, 0, 0, 32, 22, Rgba{190, 140, 30, 255}, nullptr, 0);
    FillBox(&im, RoundRect(4, 4, 24, 14, 7), Solid(Rgba{20, 20, 30, 200}), 0, 0, 32, 22);
    return im;
}

// The bingo card: a plain card that the game lays its 5 x 5 cells on, spread evenly, with the same
// gap between neighbouring cells as between a cell and the card's edge.
constexpr int kBingoCellW = 38, kBingoCellH = 32, kBingoCellGap = 8;

RgbaImage BingoCard()
{
    const float w = 5 * kBingoCellW + 6 * kBingoCellGap, h = 5 * kBingoCellH + 6 * kBingoCellGap;
    RgbaImage im{int(w), int(h)};
    FillBox(&im, RoundRect(0, 0, w, h, 12), VGradient(0, Rgba{240, 236, 220, 245}, h, Rgba{210, 200, 180, 245}), 0, 0, w, h);
    Edge(&im, 0, 0, w, h, 12, 2, kGold);
    return im;
}

// One cell of the bingo card, where a number stands.
RgbaImage BingoCell()
{
    const float w = kBingoCellW, h = kBingoCellH;
    RgbaImage im(kBingoCellW, kBingoCellH);
    FillBox(&im, RoundRect(0, 0, w, h, 5), VGradient(0, Rgba{60, 100, 180, 255}, h, Rgba{30, 50, 110, 255}), 0, 0, w, h);
    Edge(&im, 0, 0, w, h, 5, 1, Rgba{120, 160, 230, 255});
    return im;
}

// The replay's last-ball pictures stand at the bottom of the upper screen, where they leave the
// replayed run in view. The display places the frame centred with its bottom on the screen's and
// the count at (53, 57) inside it: only the count's well is painted, the rest of the frame is clear.
RgbaImage LastBallFrame()
{
    RgbaImage im(170, 150);
    Panel(&im, 45, 49, 80, 93, 10);
    Well(&im, 49, 53, 72, 85, 8);
    return im;
}

RgbaImage BigLabel(int w, int h, const std::string& text, int px, Rgba fill)
{
    RgbaImage im(w, h);
    DrawLabel(&im, text, kBold, px, w / 2.0f, h / 2.0f, fill, 0, kInk, 3);
    return im;
}

// A last-ball banner: a 150 x 46 plate at the bottom of a picture whose top is clear by top
// pixels, so that the display, which puts a strike's or spare's banner 40 pixels higher than the
// no-pin one, shows each of them on the same low band of the upper screen.
RgbaImage Banner(const std::string& text, Rgba colour, int top)
{
    RgbaImage im(150, top + 46);
    Panel(&im, 2, float(top + 2), 146, 42, 12, Lighter(colour, 30), Darker(colour, 60), kGold);
    DrawLabel(&im, text, kBold, text.size() > 7 ? 17 : 22, 75, float(top + 23), kWhite, 0, kInk, 2);
    return im;
}

// The spares score's panel: the well the score stands in, the word under it. The display puts
// the panel 15 pixels past the upper screen's right edge.
RgbaImage SparesPanel()
{
    RgbaImage im(161, 49);
    Panel(&im, 0, 0, 159, 47, 10);
    const PictureBox& w = kSparesPanelWell;
    Well(&im, w.x, w.y, w.w, w.h, 6);
    DrawLabel(&im, "SPARES", kBold, 10, w.x + w.w / 2.0f, 39, kGold);
    return im;
}

RgbaImage NamePlate(int w, int h)
{
    RgbaImage im(w, h);
    FillBox(&im, RoundRect(-12, 0, float(w) + 10, float(h), float(h) / 2), HGradient(0, Rgba{20, 34, 80, 120}, float(w), Rgba{56, 92, 168, 235}), 0, 0, float(w), float(h));
    FillBox(&im, RoundRect(0, float(h) - 2, float(w) - 6, 2, 1), HGradient(0, Rgba{255, 200, 60, 0}, float(w), kGold), 0, float(h) - 2, float(w), 2);
    return im;
}

RgbaImage ScoreBackground()
{
    RgbaImage im = Screen(false, true);
    Well(&im, 0, 49, kScreenW, 72, 0);
    Track(&im, 50, 271, 136);
    for (int r = 0; r < 3; ++r) Well(&im, 283, 144 + 31 * r, 35, 30, 6);
    return im;
}

// The large score sheet: frames 1-9 44 or 45 pixels wide, the tenth 49; a numbers row, the
// marks row with the boxes of the later balls, and the totals row.
RgbaImage ScoreSheet()
{
    const int x[11] = {0, 44, 89, 133, 178, 222, 266, 310, 355, 399, 448};
    RgbaImage im(448, 70);
    for (int f = 0; f < 10; ++f) {
        float l = float(x[f]), w = float(x[f + 1] - x[f]);
        FillBox(&im, RoundRect(l + 1, 0, w - 2, 70, 4), VGradient(0, Rgba{60, 96, 170, 255}, 70, Rgba{28, 46, 100, 255}), l, 0, w, 70);
        Edge(&im, l + 1, 0, w - 2, 70, 4, 1, Rgba{150, 190, 250, 255});
        FillBox(&im, RoundRect(l + 1, 14, w - 2, 1, 0), Solid(Rgba{150, 190, 250, 160}), l, 14, w, 1);
        DrawLabel(&im, std::to_string(f + 1), kBold, 9, l + w / 2, 7, Rgba{200, 220, 255, 255});
        int boxes = f == 9 ? 2 : 1;
        for (int b = 0; b < boxes; ++b) {
            float bx = l + w - 15 - 12 * (boxes - 1 - b);
            Edge(&im, bx, 15, 14, 18, 2, 1, Rgba{150, 190, 250, 200});
        }
        FillBox(&im, RoundRect(l + 1, 34, w - 2, 1, 0), Solid(Rgba{150, 190, 250, 120}), l, 34, w, 1);
    }
    return im;
}

// One other player's row on the score sheet: the balls of a frame above the line, the total
// below. The sheet puts each ball in a column of its own, so the box is wide enough for three.
RgbaImage SmallRow()
{
    RgbaImage im(28, 28);
    Panel(&im, 0, 0, 27, 27, 4);
    FillBox(&im, RoundRect(2, 12, 23, 1, 0), Solid(Rgba{150, 190, 250, 160}), 0, 12, 28, 1);
    return im;
}

RgbaImage Knob(int w, int h, Rgba colour)
{
    RgbaImage im(w, h);
    Pill(&im, 0, 0, float(w) - 1, float(h) - 1, colour, nullptr, 0);
    for (int g = -1; g <= 1; ++g)
        FillBox(&im, RoundRect(w / 2.0f - 1 + g * 5, 5, 2, h - 11.0f, 1), Solid(Rgba{255, 255, 255, 170}), 0, 0, float(w), float(h));
    return im;
}

RgbaImage FrameHighlight()
{
    RgbaImage im(45, 50);
    FillBox(&im, RoundRect(0, 0, 45, 50, 5), Solid(Rgba{255, 200, 60, 60}), 0, 0, 45, 50);
    Edge(&im, 0, 0, 45, 50, 5, 2, kGold);
    return im;
}

// The UP and DOWN keys, stacked: they choose another player.
RgbaImage PlayerHint()
{
    RgbaImage im(30, 62);
    Pill(&im, 0, 0, 29, 28, Rgba{90, 100, 120, 255}, nullptr, 0);
    Arrow(&im, 8, 8, 13, 11, 0, kWhite);
    Pill(&im, 0, 32, 29, 28, Rgba{90, 100, 120, 255}, nullptr, 0);
    Arrow(&im, 8, 41, 13, 11, 1, kWhite);
    return im;
}

// The LEFT and RIGHT keys, side by side: they turn the page.
RgbaImage PageHint()
{
    RgbaImage im(30, 34);
    Panel(&im, 0, 0, 28, 32, 5);
    Arrow(&im, 3, 9, 10, 14, 2, kGold);
    Arrow(&im, 15, 9, 10, 14, 3, kGold);
    return im;
}

RgbaImage StartTurnBackground(bool touch)
{
    RgbaImage im = Screen(false, false);
    // The ball and oil rows, with their 50 x 50 buttons on the left; the big BOWL button.
    const PictureBox &ball = kStartTurnBallRow, &oil = kStartTurnOilRow, &bowl = kStartTurnBowl;
    Panel(&im, ball.x, ball.y, ball.w, ball.h, 10);
    Panel(&im, oil.x, oil.y, oil.w, oil.h, 10);
    Well(&im, 13, 50, 54, 48, 24);
    Well(&im, 13, 111, 54, 54, 27);
    Panel(&im, bowl.x, bowl.y, bowl.w, bowl.h, 20, Rgba{80, 160, 90, 245}, Rgba{20, 80, 40, 245}, kGold);
    Ball(&im, 238, 158, 26, Rgba{40, 60, 160, 255});
    if (touch) Edge(&im, 179, 105, 119, 119, 17, 1.5f, Rgba{255, 255, 255, 160});
    Well(&im, kStartTurnBack.x, kStartTurnBack.y, kStartTurnBack.w, kStartTurnBack.h, 10);
    return im;
}

RgbaImage PositionBackground()
{
    RgbaImage im = Screen();
    // The approach seen from above: the bowler's marker slides along it.
    FillBox(&im, RoundRect(18, 30, 284, 30, 6), HGradient(18, Rgba{190, 150, 90, 255}, 302, Rgba{220, 180, 120, 255}), 18, 30, 284, 30);
    for (int d = 0; d < 7; ++d) FillBox(&im, Circle(48 + 37.3f * d, 52, 2.5f), Solid(Rgba{90, 50, 30, 220}), 18, 30, 284, 30);
    Edge(&im, 18, 30, 284, 30, 6, 1.5f, kEdge);
    Lane(&im, 90, 230, 138, 135, 185, 66);
    Track(&im, 22, 293, 156);
    FooterButtons(&im, kStepBackWell, kStepNextWell);
    return im;
}

RgbaImage TouchPositionBackground()
{
    RgbaImage im = Screen();
    Lane(&im, 60, 260, 170, 130, 190, 26);
    Track(&im, 22, 293, 156);
    FooterButtons(&im, kStepBackWell, kStepNextWell);
    return im;
}

RgbaImage AngleBackground()
{
    RgbaImage im = Screen();
    Lane(&im, 20, 300, 196, 120, 200, 80);
    FooterButtons(&im, kAngleBackWell, kAngleNextWell);
    return im;
}

RgbaImage PowerBackground()
{
    RgbaImage im = Screen(false, true);
    Panel(&im, 70, 11, 60, 166, 10);
    Well(&im, 78, 19, 44, 154, 4);
    for (int t = 0; t <= 10; ++t) {
        float y = 21 + 150 - 15 * t;
        FillBox(&im, RoundRect(124, y - 0.75f, t % 5 ? 4 : 8, 1.5f, 0), Solid(kWhite), 124, y - 1, 8, 2);
    }
    DrawLabel(&im, "MAX", kBold, 10, 150, 24, kGold, -1);
    Ball(&im, 215, 100, 40, Rgba{40, 60, 160, 255});
    WellBox(&im, kPowerNextWell);
    return im;
}

RgbaImage Meter(int w, int h, bool rounded)
{
    RgbaImage im(w, h);
    Paint heat = [h](float, float y) {
        float t = 1 - y / h;  // 0 bottom, 1 top
        if (t < 0.5f) return Rgba{uint8_t(60 + 350 * t), 200, 60, 255};
        return Rgba{235, uint8_t(200 - 300 * (t - 0.5f)), 40, 255};
    };
    FillBox(&im, RoundRect(0, 0, float(w), float(h), rounded ? w / 2.0f : 3), heat, 0, 0, float(w), float(h));
    FillBox(&im, RoundRect(3, 2, w * 0.3f, float(h) - 4, 2), Solid(Rgba{255, 255, 255, 60}), 0, 0, float(w), float(h));
    for (int t = 1; t < 10; ++t) FillBox(&im, RoundRect(0, h * t / 10.0f, float(w), 1, 0), Solid(Rgba{0, 0, 0, 70}), 0, 0, float(w), float(h));
    return im;
}

// The hook marker's arc: the heights the marker rides at, from full left to full right.
constexpr int kHookHeights[21] = {109, 96, 88, 82, 78, 74, 72, 72, 70, 68, 68, 68, 70, 72, 72, 74, 78, 82, 88, 96, 109};

RgbaImage HookBackground()
{
    RgbaImage im = Screen(false, true);
    Well(&im, 10, 2, 300, 20, 8);
    return im;
}

// The arc the ball marker travels (drawn at (17, 77)), with a notch at each of its 21 stops.
RgbaImage HookArc()
{
    RgbaImage im(290, 120);
    auto centre = [](int i, float* x, float* y) {
        *x = 14.0f * (i - 10) + 163 - 17;
        *y = 186.0f - kHookHeights[i] + 9 - 77;
    };
    for (int i = 0; i < 20; ++i) {
        float x0, y0, x1, y1;
        centre(i, &x0, &y0);
        centre(i + 1, &x1, &y1);
        float nx = -(y1 - y0), ny = x1 - x0, len = std::hypot(nx, ny);
        nx = nx / len * 3, ny = ny / len * 3;
        FillBox(&im, Polygon({x0 + nx, y0 + ny, x1 + nx, y1 + ny, x1 - nx, y1 - ny, x0 - nx, y0 - ny}),
                Solid(Rgba{130, 180, 245, 200}), std::min(x0, x1) - 4, std::min(y0, y1) - 4, std::fabs(x1 - x0) + 8, std::fabs(y1 - y0) + 8);
    }
    for (int i = 0; i <= 20; ++i) {
        float x, y;
        centre(i, &x, &y);
        FillBox(&im, Circle(x, y, i == 10 ? 4.5f : 3), Solid(i == 10 ? kGold : kWhite), x - 5, y - 5, 10, 10);
    }
    const PictureBox &left = kHookArcLeftLabel, &right = kHookArcRightLabel;
    DrawLabel(&im, "LEFT", kBold, 10, float(left.x), left.y + left.h / 2.0f, kEdge, -1);
    DrawLabel(&im, "RIGHT", kBold, 10, float(right.x + right.w), right.y + right.h / 2.0f, kEdge, 1);
    return im;
}

// The hook's pointer over the ball marker's stop.
RgbaImage HookPointer()
{
    RgbaImage pointer(16, 14);
    Arrow(&pointer, 0, 0, 16, 14, 1, kInk);
    Arrow(&pointer, 2.5f, 1.5f, 11, 10, 1, kGold);
    return pointer;
}

RgbaImage BallImage(int size)
{
    RgbaImage im(size, size);
    Ball(&im, size / 2.0f, size / 2.0f, size / 2.0f - 1, Rgba{40, 60, 160, 255});
    return im;
}

RgbaImage TouchReleaseBackground()
{
    RgbaImage im = Screen(false, false);
    Lane(&im, 110, 210, 240, 140, 180, 20);
    Panel(&im, 213, 20, 40, 166, 10);
    Well(&im, 219, 26, 28, 154, 4);
    WellBox(&im, kReleaseBackWell);
    return im;
}

RgbaImage MessageBackground()
{
    RgbaImage im = Screen(false, false);
    Panel(&im, kMessagePanelLeft - 2, kMessagePanelTop - 2, kMessagePanelRight - kMessagePanelLeft + 4,
          kMessagePanelBottom - kMessagePanelTop + 4, kMessagePanelRadius + 2);
    return im;
}

// The replay panel: a ball on the left and the skip button where a touch skips, drawn two
// pixels inside that square (a celebration clip's frame, centred on the screen, then covers it
// whole): the skip mark above the caption band that the heads-up display writes "Skip Replay" in.
RgbaImage ReplayPanel()
{
    RgbaImage im = Screen(true, false);
    DrawLabel(&im, "REPLAY", kBold, 16, 160, 11, kGold);
    Ball(&im, 90, 130, 44, Rgba{40, 60, 160, 255});
    const Rgba red{150, 60, 50, 255};
    const float x = kReplaySkipX + 2, y = kReplaySkipY + 2, s = kReplaySkipSize - 5;
    FillBox(&im, RoundRect(x, y, s, s, 14), VGradient(y, Lighter(red, 50), y + s, Darker(red, 50)), x, y, s, s);
    Edge(&im, x, y, s, s, 14, 2, Rgba{255, 255, 255, 190});
    const float cx = kReplaySkipX + kReplaySkipSize / 2.0f, top = y + 16, h = 30;
    Arrow(&im, cx - 21, top, 18, h, 3, kWhite);
    Arrow(&im, cx - 3, top, 18, h, 3, kWhite);
    FillBox(&im, RoundRect(cx + 15, top, 6, h, 1), Solid(kWhite), cx + 15, top, 6, h);
    FillBox(&im, RoundRect(x + 3, kReplaySkipCaptionY, s - 6, kReplaySkipCaptionH, 8), Solid(Darker(red, 80)), x + 3,
            kReplaySkipCaptionY, s - 6, kReplaySkipCaptionH);
    return im;
}

// The spares challenge's title plate. The heading starts 3 pixels inside its left edge: the
// corners are small so that the border keeps clear of the first letter.
RgbaImage TitlePlate()
{
    RgbaImage im(282, 22);
    FillBox(&im, RoundRect(0, 0, 282, 22, 4), HGradient(0, Rgba{56, 92, 168, 240}, 282, Rgba{30, 50, 110, 240}), 0, 0, 282, 22);
    Edge(&im, 0, 0, 282, 22, 4, 1.5f, kGold);
    return im;
}

// The pin deck that the spares leave and the chosen pins stand on, from y top (the back) to
// bottom. The pins stand in a triangle whose back row spans x 48 to 275 (the pin picture 36
// pixels wide): the deck, narrowing a little towards the back, holds it with room to spare.
void PinDeck(RgbaImage* im, float top, float bottom)
{
    FillBox(im, Polygon({18, bottom, 308, bottom, 288, top, 38, top}),
            VGradient(top, Rgba{150, 110, 60, 255}, bottom, Rgba{210, 170, 100, 255}), 18, top, 290, bottom - top);
}

// The mini-games' screens hold no prompt wells: a prompt's well is drawn with the prompt (see
// PromptWell), so that none stands empty while the computer bowls.
RgbaImage SparesBackground()
{
    RgbaImage im = Screen(false, true);
    Panel(&im, 40, 36, 240, 24, 8);
    PinDeck(&im, 70, 198);
    return im;
}

// The bingo card's screen: the card stands on the left under the title band, the A prompt on the
// right.
RgbaImage BingoBackground() { return Screen(true, true); }

// The well a button prompt stands in, as the footers' wells.
RgbaImage PromptWell()
{
    RgbaImage im(kPromptWellW, kPromptWellH);
    Well(&im, 0, 0, kPromptWellW, kPromptWellH, 10);
    return im;
}

RgbaImage PinSelectBackground()
{
    RgbaImage im = Screen(false, true);
    FillBox(&im, RoundRect(0, 6, 200, 28, 10), HGradient(0, Rgba{56, 92, 168, 240}, 200, Rgba{30, 50, 110, 0}), 0, 6, 200, 28);
    PinDeck(&im, 64, 196);
    return im;
}

RgbaImage PinImage()
{
    RgbaImage im(36, 40);
    Pin(&im, 4, 0, 28, 40);
    return im;
}

RgbaImage PinHighlight()
{
    RgbaImage im(36, 40);
    FillBox(&im, RoundRect(0, 0, 36, 40, 10), Solid(Rgba{255, 200, 60, 70}), 0, 0, 36, 40);
    Edge(&im, 0, 0, 36, 40, 10, 3, kGold);
    return im;
}

// The HOME button cannot be used now: a house crossed out.
RgbaImage NoHomeIcon()
{
    RgbaImage im(64, 64);
    FillBox(&im, Circle(32, 32, 31), Solid(Rgba{10, 16, 40, 200}), 0, 0, 64, 64);
    FillBox(&im, Polygon({32, 14, 50, 30, 45, 30, 45, 48, 19, 48, 19, 30, 14, 30}), Solid(kWhite), 0, 0, 64, 64);
    FillBox(&im, RoundRect(28, 36, 8, 12, 1), Solid(Rgba{10, 16, 40, 255}), 0, 0, 64, 64);
    FillBox(&im, Ring(32, 32, 25, 30), Solid(kRed), 0, 0, 64, 64);
    FillBox(&im, Polygon({13, 17, 17, 13, 51, 47, 47, 51}), Solid(kRed), 0, 0, 64, 64);
    return im;
}

// The title picture: a lane running to the pins under the game's name.
RgbaImage Splash()
{
    RgbaImage im(kScreenW, kScreenH);
    Fill(&im, [](float, float) { return true; }, VGradient(0, Rgba{8, 10, 40, 255}, 240, Rgba{60, 30, 90, 255}));
    // Lights along the back wall.
    for (int i = 0; i < 12; ++i) FillBox(&im, Circle(14 + 27.0f * i, 92, 2), Solid(Rgba{255, 220, 150, 200}), 0, 86, 320, 12);
    Lane(&im, 60, 260, 240, 142, 178, 100);
    for (int row = 3; row >= 0; --row)
        for (int p = 0; p <= row; ++p) {
            float w = 9 - row * 0.6f, h = 22 - row * 1.2f;
            float x = 160 - row * w * 0.55f + p * w * 1.1f - w / 2, y = 84 + (3 - row) * 4.0f;
            Pin(&im, x, y, w, h);
        }
    Ball(&im, 150, 196, 26, Rgba{150, 30, 40, 255});
    DrawLabel(&im, "ZENDROLYX", kBold, 38, 160, 42, kGold, 0, kInk, 3);
    DrawLabel(&im, "TEN-PIN BOWLING", kBold, 12, 160, 70, kWhite, 0, kInk, 1);
    return im;
}

Resource Image(int id, const RgbaImage& image, bool opaque = false)
{
    return BitmapResource(id, image, opaque ? kPixelRGB8 : kPixelRGBA8);
}

// Draws `src` over `im` with its top left corner at (x, y), blending by the source's alpha.
void Paste(RgbaImage* im, const RgbaImage& src, int x, int y)
{
    for (int sy = 0; sy < src.height; ++sy)
        for (int sx = 0; sx < src.width; ++sx) {
            const int dx = x + sx, dy = y + sy;
            if (dx < 0 || dy < 0 || dx >= im->width || dy >= im->height) continue;
            const uint8_t* s = src.At(sx, sy);
            uint8_t* d = im->At(dx, dy);
            const float a = s[3] / 255.0f;
            for (int c = 0; c < 3; ++c) d[c] = uint8_t(s[c] * a + d[c] * (1 - a) + 0.5f);
            d[3] = uint8_t(s[3] + d[3] * (1 - a) + 0.5f);
        }
}

// The stylus as it touches (x, y): a pen lying to the lower right of its tip.
void Stylus(RgbaImage* im, float x, float y)
{
    FillBox(im, Polygon({x, y, x + 8, y + 4, x + 44, y + 40, x + 38, y + 46, x + 4, y + 8}), Solid(Rgba{200, 205, 215, 255}),
            x - 2, y - 2, 50, 50);
    FillBox(im, Polygon({x, y, x + 8, y + 4, x + 4, y + 8}), Solid(kInk), x - 2, y - 2, 12, 12);
    FillBox(im, Ring(x, y, 7, 9), Solid(Rgba{255, 255, 255, 160}), x - 10, y - 10, 20, 20);
}

// The footer of a step: B and its word on the left, A and its word on the right.
void StepFooter(RgbaImage* im, const char* back, const char* next)
{
    RoundButton(im, 34, 174, 46, kRed, "B");
    DrawLabel(im, back, kBold, 13, 57, 228, kWhite, 0, kInk, 2);
    if (next) {
        RoundButton(im, 230, 174, 46, kGreen, "A");
        DrawLabel(im, next, kBold, 13, 253, 228, kWhite, 0, kInk, 2);
    }
}

void StepTitle(RgbaImage* im, const char* title, float y = 12)
{
    DrawLabel(im, title, kBold, 16, 160, y, kGold, 0, kInk, 2);
}

RgbaImage KnobOnTrack(RgbaImage im, int knobX, bool touch)
{
    Paste(&im, touch ? Knob(32, 26, kBlue) : Knob(30, 22, Rgba{200, 150, 40, 255}), knobX, touch ? 143 : 145);
    return im;
}

// The lower screen at step `page` of a throw with the buttons (book 0) or the stylus (book 1),
// made of the steps' own images and words.
RgbaImage ShotStep(int book, int page)
{
    const bool touch = book == 1;
    RgbaImage im;
    switch (touch ? page + 5 : page) {
    case 0:  // buttons: the position
        im = KnobOnTrack(PositionBackground(), 200, false);
        {
            RgbaImage marker(16, 22);
            Arrow(&marker, 0, 0, 16, 22, 1, kInk);
            Arrow(&marker, 2.5f, 1.5f, 11, 16, 1, kGold);
            Paste(&im, marker, 207, 32);
        }
        StepTitle(&im, "POSITION");
        StepFooter(&im, "Back", "BOWL");
        DrawLabel(&im, "< >", kBold, 18, 215, 128, kWhite, 0, kInk, 2);
        break;
    case 1:  // buttons: the angle swinging
        im = AngleBackground();
        Paste(&im, UpArrow(24, 80, kGold), 190, 80);
        {
            RgbaImage mark(24, 24);
            FillBox(&mark, Ring(12, 12, 7, 11), Solid(kGold), 0, 0, 24, 24);
            Paste(&im, mark, 190, 168);
        }
        DrawLabel(&im, "ANGLE", kBold, 16, 160, 12, kGold, 0, kInk, 2);
        RoundButton(&im, 14, 8, 46, kRed, "B");
        DrawLabel(&im, "Back", kBold, 13, 37, 62, kWhite, 0, kInk, 2);
        RoundButton(&im, 262, 8, 46, kGreen, "A");
        DrawLabel(&im, "STOP", kBold, 13, 285, 62, kWhite, 0, kInk, 2);
        break;
    case 2:  // buttons: the power meter rising
    {
        im = PowerBackground();
        const RgbaImage meter = Meter(40, 150, false);
        RgbaImage part(40, 90);
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 40; ++x)
                for (int c = 0; c < 4; ++c) part.At(x, y)[c] = meter.At(x, y + 60)[c];
        Paste(&im, part, 80, 81);
        DrawLabel(&im, "POWER", kBold, 16, 160, 202, kGold, 0, kInk, 2);
        RoundButton(&im, 259, 176, 46, kGreen, "A");
        DrawLabel(&im, "STOP", kBold, 13, 282, 230, kWhite, 0, kInk, 2);
        break;
    }
    case 3:  // buttons: the hook, the ball marker and the pointer over it at the sixth stop left
        im = HookBackground();
        Paste(&im, HookArc(), 17, 77);
        Paste(&im, BallImage(18), 14 * -6 - 9 + 163, 186 - kHookHeights[4]);
        Paste(&im, HookPointer(), 14 * -6 - 8 + 163, 5);
        DrawLabel(&im, "HOLD SHIFT+A/D OR THE STICK", kBold, 13, 160, 55, kEdge, 0, kInk, 2);
        DrawLabel(&im, "HOOK", kBold, 16, 160, 202, kGold, 0, kInk, 2);
        DrawLabel(&im, "<", kBold, 24, 40, 150, kWhite, 0, kInk, 2);
        break;
    case 4:
    case 9:  // the score sheet
        im = ScoreBackground();
        {
            const RgbaImage sheet = ScoreSheet();
            RgbaImage part(308, 70);
            for (int y = 0; y < 70; ++y)
                for (int x = 0; x < 308; ++x)
                    for (int c = 0; c < 4; ++c) part.At(x, y)[c] = sheet.At(x, y)[c];
            Paste(&im, part, 6, 50);
            DrawLabel(&im, "X", kBold, 12, 28, 74, kWhite);
            DrawLabel(&im, "9  /", kBold, 12, 72, 74, kWhite);
            DrawLabel(&im, "20", kBold, 12, 28, 104, kWhite);
        }
        // The sheet's own knob of the book's control mode, and its prompts where the sheet draws
        // them: A and NEXT on the left, B and SETUP beside it.
        Paste(&im, touch ? Knob(32, 26, kBlue) : Knob(30, 22, Rgba{200, 150, 40, 255}), 50, 125);
        RoundButton(&im, 20, 163, 46, kGreen, "A");
        DrawLabel(&im, "NEXT", kBold, 13, 43, 219, kWhite, 0, kInk, 2);
        RoundButton(&im, 76, 163, 46, kRed, "B");
        DrawLabel(&im, "SETUP", kBold, 13, 99, 219, kWhite, 0, kInk, 2);
        if (touch) Stylus(&im, 40, 182);
        break;
    case 5:  // stylus: the position knob dragged
        im = KnobOnTrack(TouchPositionBackground(), 150, true);
        Paste(&im, UpArrow(20, 60, kWhite), 156, 33);
        StepTitle(&im, "ANGLE");
        DrawLabel(&im, "POSITION", kBold, 16, 160, 178, kGold, 0, kInk, 2);
        StepFooter(&im, "Back", "BOWL");
        DrawLabel(&im, "<", kBold, 20, 128, 156, kGold, 0, kInk, 2);
        DrawLabel(&im, ">", kBold, 20, 202, 156, kGold, 0, kInk, 2);
        Stylus(&im, 166, 156);
        break;
    case 6:  // stylus: the aim arrow dragged
        im = KnobOnTrack(TouchPositionBackground(), 150, true);
        Paste(&im, UpArrow(20, 60, kWhite), 170, 33);
        {
            RgbaImage mark(24, 24);
            FillBox(&mark, Ring(12, 12, 7, 11), Solid(kGold), 0, 0, 24, 24);
            FillBox(&mark, Circle(12, 12, 4), Solid(kWhite), 0, 0, 24, 24);
            Paste(&im, mark, 168, 85);
        }
        StepTitle(&im, "ANGLE");
        DrawLabel(&im, "POSITION", kBold, 16, 160, 178, kGold, 0, kInk, 2);
        StepFooter(&im, "Back", "BOWL");
        DrawLabel(&im, "<", kBold, 20, 146, 62, kGold, 0, kInk, 2);
        DrawLabel(&im, ">", kBold, 20, 208, 62, kGold, 0, kInk, 2);
        Stylus(&im, 180, 70);
        break;
    case 7:  // stylus: the flick
    case 8:  // stylus: the flick to one side, a hook
    {
        im = TouchReleaseBackground();
        const RgbaImage meter = Meter(24, 150, true);
        const int shown = page == 2 ? 110 : 70;
        RgbaImage part(24, shown);
        for (int y = 0; y < shown; ++y)
            for (int x = 0; x < 24; ++x)
                for (int c = 0; c < 4; ++c) part.At(x, y)[c] = meter.At(x, y + 150 - shown)[c];
        Paste(&im, part, 221, 28 + 150 - shown);
        RoundButton(&im, 14, 174, 46, kRed, "B");
        DrawLabel(&im, "Back", kBold, 13, 37, 228, kWhite, 0, kInk, 2);
        if (page == 2) {
            Paste(&im, UpArrow(22, 110, kGold), 149, 70);
            Paste(&im, BallImage(48), 136, 176);
            Stylus(&im, 160, 200);
        } else {
            FillBox(&im, Polygon({170, 200, 178, 204, 120, 62, 112, 58}), Solid(kGold), 108, 54, 74, 154);
            FillBox(&im, Polygon({108, 48, 128, 62, 110, 70}), Solid(kGold), 104, 44, 28, 30);
            Paste(&im, BallImage(48), 100, 60);
            Stylus(&im, 124, 84);
            DrawLabel(&im, "HOOK", kBold, 14, 70, 120, kGold, 0, kInk, 2);
        }
        break;
    }
    default:
        im = Screen();
        break;
    }
    return im;
}

}  // namespace

std::vector<Resource> OverlayContent()
{
    std::vector<Resource> out;
    out.push_back(Image(kImageGlyphSheet, GlyphSheet()));
    for (int f = 0; f < 4; ++f) out.push_back(Image(kImageBusyFirst + f, Busy(f)));
    out.push_back(Image(kImagePinDiagram, PinDiagramPanel()));
    out.push_back(Image(kImagePinMarker, PinMarker()));
    out.push_back(Image(kImageSmallStrike, StrikeMark(10)));
    out.push_back(Image(kImageSmallSpare, SpareMark(6, 10)));
    out.push_back(Image(kImageLargeStrike, StrikeMark(14)));
    out.push_back(Image(kImageLargeSpare, SpareMark(9, 14)));
    out.push_back(Image(kImageSpeedPlate, SpeedPlate()));
    out.push_back(Image(kImageBallFrame, BallFrame()));
    out.push_back(Image(kImageHookBadge, HookBadge()));
    out.push_back(Image(kImageBingoCard, BingoCard()));
    out.push_back(Image(kImageBingoCell, BingoCell()));
    out.push_back(Image(kImageLastBallFrame, LastBallFrame()));
    for (int d = 1; d <= 9; ++d) out.push_back(Image(kImageLastBallFrame + d, BigLabel(64, 77, std::to_string(d), 56, kGold)));
    out.push_back(Image(kImageSpareBanner, Banner("SPARE!", kBlue, 85)));
    out.push_back(Image(kImageStrikeBanner, Banner("STRIKE!", kRed, 85)));
    // No pin down, one image per language: English, French, Italian, German, Spanish.
    const char* const miss[5] = {"MISS!", "RAT\xC9 !", "MANCATO!", "DANEBEN!", "\241FALLO!"};
    for (int l = 0; l < 5; ++l) out.push_back(Image(kImageMissBanners + l, Banner(miss[l], Rgba{90, 90, 110, 255}, 45)));
    out.push_back(Image(kImageSparesPanel, SparesPanel()));
    out.push_back(Image(kImageNamePlate, NamePlate(200, 22)));
    out.push_back(Image(kImageVideoFrame, ClipFrame()));
    out.push_back(Image(kImageScoreBackground, ScoreBackground(), true));
    out.push_back(Image(kImageScoreBand, NamePlate(200, 22)));
    out.push_back(Image(kImageScoreNamePlate, NamePlate(250, 20)));
    out.push_back(Image(kImageLargeSheet, ScoreSheet()));
    out.push_back(Image(kImageSmallRow, SmallRow()));
    out.push_back(Image(kImageKnobButtons, Knob(30, 22, Rgba{200, 150, 40, 255})));
    out.push_back(Image(kImageFrameHighlight, FrameHighlight()));
    out.push_back(Image(kImagePlayerHint, PlayerHint()));
    out.push_back(Image(kImagePageHint, PageHint()));
    out.push_back(Image(kImageKnobTouch, Knob(32, 26, Rgba{60, 120, 225, 255})));
    out.push_back(Image(kImageStartTurnButtons, StartTurnBackground(false), true));
    out.push_back(Image(kImageStartTurnTouch, StartTurnBackground(true), true));
    out.push_back(Image(kImagePositionBackground, PositionBackground(), true));
    {
        RgbaImage marker(16, 22);
        Arrow(&marker, 0, 0, 16, 22, 1, kInk);
        Arrow(&marker, 2.5f, 1.5f, 11, 16, 1, kGold);
        out.push_back(Image(kImagePositionMarker, marker));
    }
    out.push_back(Image(kImageTouchPositionBackground, TouchPositionBackground(), true));
    out.push_back(Image(kImageTouchPositionArrow, UpArrow(20, 60, kWhite)));
    {
        RgbaImage mark(24, 24);
        FillBox(&mark, Ring(12, 12, 7, 11), Solid(kGold), 0, 0, 24, 24);
        FillBox(&mark, Circle(12, 12, 4), Solid(kWhite), 0, 0, 24, 24);
        out.push_back(Image(kImageTouchPositionLane, mark));
        out.push_back(Image(kImageAngleMarker, mark));
    }
    out.push_back(Image(kImageAngleBackground, AngleBackground(), true));
    out.push_back(Image(kImageAngleArrow, UpArrow(24, 80, kGold)));
    out.push_back(Image(kImagePowerBackground, PowerBackground(), true));
    out.push_back(Image(kImagePowerMeter, Meter(40, 150, false)));
    out.push_back(Image(kImageHookBackground, HookBackground(), true));
    out.push_back(Image(kImageHookBall, BallImage(18)));
    out.push_back(Image(kImageHookArc, HookArc()));
    out.push_back(Image(kImageHookPointer, HookPointer()));
    out.push_back(Image(kImageTouchReleaseBackground, TouchReleaseBackground(), true));
    out.push_back(Image(kImageTouchReleaseMeter, Meter(24, 150, true)));
    out.push_back(Image(kImageTouchReleaseBall, BallImage(48)));
    out.push_back(Image(kImageMessageBackground, MessageBackground(), true));
    out.push_back(Image(kImageReplayPanel, ReplayPanel(), true));
    out.push_back(Image(kImageSparesBackground, SparesBackground(), true));
    out.push_back(Image(kImageTitlePlate, TitlePlate()));
    out.push_back(Image(kImageBingoBackground, BingoBackground(), true));
    out.push_back(Image(kImagePromptWell, PromptWell()));
    out.push_back(Image(kImagePin, PinImage()));
    out.push_back(Image(kImagePinSelectBackground, PinSelectBackground(), true));
    out.push_back(Image(kImagePinHighlight, PinHighlight()));
    out.push_back(Image(kImageNoHomeIcon, NoHomeIcon()));
    out.push_back(Image(kSplashImage, Splash(), true));
    // The UI's test screen loads this panel through its resource slots while it runs.
    out.push_back(Image(kUiDemoPanel, MessageBackground(), true));
    return out;
}

RgbaImage ShotStepPicture(int book, int page) { return ShotStep(book, page); }

}  // namespace mkrom
