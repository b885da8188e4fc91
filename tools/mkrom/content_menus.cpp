// The front end's images: the title, the loading screen with its pulsing sign, and the menus'
// backdrops, buttons, icons and tutorial pages, drawn in code in the overlays' style (navy
// panels with light edges, gold accents, white text). Ids are the game's (lib/resourceids.h).
#include "content_menus.h"

#include <cmath>
#include <string>

#include "bitmap_writer.h"
#include "canvas.h"
#include "palette.h"
#include "host/gpu.h"

namespace mkrom {

namespace {

const char* const kBook = "DejaVuSans.ttf";

// The menus' panels are opaque: they stand on the menu backdrops, not over a scene.
constexpr Rgba kSolidPanelTop{56, 92, 168, 255};
constexpr Rgba kSolidPanelBottom{20, 34, 80, 255};
constexpr Rgba kLane{196, 150, 92, 255};
constexpr Rgba kLaneDark{150, 104, 58, 255};

const Shape kAll = [](float, float) { return true; };

Resource Image(int id, const RgbaImage& image, bool opaque = false)
{
    return BitmapResource(id, image, opaque ? kPixelRGB8 : kPixelRGBA8);
}

void Edge(RgbaImage* im, float x, float y, float w, float h, float r, float width, Rgba c)
{
    Fill(im, Minus(RoundRect(x, y, w, h, r), RoundRect(x + width, y + width, w - 2 * width, h - 2 * width, r - width)),
         Solid(c));
}

void Panel(RgbaImage* im, float x, float y, float w, float h, float r, Rgba top = kSolidPanelTop, Rgba bottom = kSolidPanelBottom)
{
    Fill(im, RoundRect(x, y, w, h, r), VGradient(y, top, y + h, bottom));
    Edge(im, x, y, w, h, r, 2, kEdge);
}

// A lane running away from the viewer, with its boards, as the backdrops show it.
void Lane(RgbaImage* im, float nearL, float nearR, float nearY, float farL, float farR, float farY)
{
    Fill(im, Polygon({nearL, nearY, nearR, nearY, farR, farY, farL, farY}), VGradient(farY, kLaneDark, nearY, kLane));
    for (int i = 1; i < 8; ++i) {
        const float t = i / 8.0f;
        const float xn = nearL + (nearR - nearL) * t, xf = farL + (farR - farL) * t;
        Fill(im, Polygon({xn - 0.5f, nearY, xn + 0.5f, nearY, xf + 0.3f, farY, xf - 0.3f, farY}),
             Solid(Rgba{120, 80, 40, 120}));
    }
}

void Pin(RgbaImage* im, float cx, float top, float h)
{
    const float w = h * 0.38f;
    Fill(im, Union(RoundRect(cx - w * 0.3f, top, w * 0.6f, h * 0.45f, w * 0.3f),
                   RoundRect(cx - w / 2, top + h * 0.35f, w, h * 0.65f, w * 0.45f)),
         Solid(Rgba{245, 245, 240, 255}));
    Fill(im, RoundRect(cx - w * 0.3f, top + h * 0.28f, w * 0.6f, h * 0.06f, 1), Solid(Rgba{200, 40, 40, 255}));
}

void Ball(RgbaImage* im, float cx, float cy, float r, Rgba c)
{
    Fill(im, Circle(cx, cy, r), VGradient(cy - r, Rgba{uint8_t(c.r / 2 + 120), uint8_t(c.g / 2 + 60), uint8_t(c.b / 2 + 60), 255}, cy + r, c));
    for (int i = 0; i < 3; ++i)
        Fill(im, Circle(cx - r * 0.25f + i * r * 0.22f, cy - r * 0.35f + (i == 1 ? -r * 0.12f : 0), r * 0.09f), Solid(kInk));
}

RgbaImage Backdrop(int w, int h)
{
    RgbaImage im(w, h);
    Fill(&im, kAll, VGradient(0, kScreenTop, float(h), kScreenBottom));
    for (int i = 0; i < w / 26; ++i) Fill(&im, Circle(13 + 26.0f * i, 10, 2), Solid(Rgba{255, 220, 150, 160}));
    return im;
}

RgbaImage Title()
{
    RgbaImage im = Backdrop(320, 240);
    Lane(&im, 70, 250, 240, 146, 174, 96);
    for (int row = 3; row >= 0; --row)
        for (int p = 0; p <= row; ++p) Pin(&im, 160 - row * 5.5f + p * 11.0f, 70 + (3 - row) * 4.0f, 22 - row * 1.2f);
    Ball(&im, 160, 178, 24, Rgba{150, 30, 40, 255});
    DrawLabel(&im, "ZENDROLYX", kBold, 40, 160, 36, kGold, 0, kInk, 3);
    // The prompt is drawn over the band at the bottom.
    Fill(&im, RoundRect(20, 196, 280, 30, 10), Solid(Rgba{6, 10, 26, 170}));
    return im;
}

RgbaImage LoadingImage()
{
    RgbaImage im = Backdrop(320, 240);
    Lane(&im, 40, 280, 240, 150, 170, 110);
    DrawLabel(&im, "ZENDROLYX", kBold, 30, 160, 60, kGold, 0, kInk, 2);
    DrawLabel(&im, "Loading...", kBold, 16, 160, 96, kWhite, 0, kInk, 1);
    return im;
}

// The loading sign: a ball rolling at three pins, faded in and out by the game.
RgbaImage LoadingSign()
{
    RgbaImage im(64, 40);
    Ball(&im, 16, 24, 12, Rgba{60, 120, 225, 255});
    for (int i = 0; i < 3; ++i) Pin(&im, 40 + i * 8.0f, 8 + (i == 1 ? -2.0f : 0.0f), 24);
    return im;
}

RgbaImage UpperBackdrop()
{
    RgbaImage im = Backdrop(400, 240);
    Lane(&im, 120, 280, 240, 190, 210, 120);
    for (int row = 3; row >= 0; --row)
        for (int p = 0; p <= row; ++p) Pin(&im, 200 - row * 4.5f + p * 9.0f, 104 + (3 - row) * 3.0f, 16 - row);
    Fill(&im, RoundRect(12, 20, 376, 48, 12), Solid(Rgba{6, 10, 26, 150}));
    return im;
}

// The menus' upper screen: the backdrop with a band at the foot for the page's line of text, as
// the heading has one at the top, so that the text never stands on the lane.
RgbaImage MenuUpperBackdrop()
{
    RgbaImage im = UpperBackdrop();
    Fill(&im, RoundRect(12, 193, 376, 30, 10), Solid(Rgba{6, 10, 26, 170}));
    return im;
}

RgbaImage TitleUpper()
{
    RgbaImage im = UpperBackdrop();
    DrawLabel(&im, "ZENDROLYX", kBold, 44, 200, 44, kGold, 0, kInk, 3);
    DrawLabel(&im, "TEN-PIN BOWLING", kBold, 14, 200, 84, kWhite, 0, kInk, 1);
    return im;
}

RgbaImage LowerBackdrop()
{
    RgbaImage im = Backdrop(320, 240);
    Fill(&im, RoundRect(6, 4, 308, 30, 8), VGradient(4, kSolidPanelTop, 34, kSolidPanelBottom));
    Edge(&im, 6, 4, 308, 30, 8, 2, kEdge);
    Fill(&im, RoundRect(0, 206, 320, 34, 0), Solid(Rgba{6, 10, 26, 150}));
    return im;
}

RgbaImage Button(int w, int h, bool highlight)
{
    RgbaImage im(w, h);
    if (highlight) {
        Edge(&im, 0, 0, float(w), float(h), 10, 3, kGold);
    } else {
        Panel(&im, 1, 1, float(w - 2), float(h - 2), 9);
    }
    return im;
}

// The pad's selection, a sizable frame as large as the lower screen so that its nine parts fit any
// entry: a gold rim and a light wash that brightens the entry and its text under it.
RgbaImage SelectionFrame()
{
    RgbaImage im(320, 240);
    Fill(&im, RoundRect(0, 0, 320, 240, 10), Solid(Rgba{255, 240, 200, 56}));
    Edge(&im, 0, 0, 320, 240, 10, 3, kGold);
    return im;
}

// A list's page buttons: an entry's panel standing upright with a white arrow, up or down.
RgbaImage ArrowButton(bool up)
{
    RgbaImage im(40, 70);
    Panel(&im, 1, 1, 38, 68, 9);
    const float tip = up ? 22 : 48, base = up ? 46 : 24;
    Fill(&im, Polygon({20, tip, 31, base, 9, base}), Solid(kWhite));
    return im;
}

RgbaImage BackButton()
{
    RgbaImage im(72, 28);
    Panel(&im, 1, 1, 70, 26, 9, Rgba{150, 60, 50, 255}, Rgba{80, 24, 20, 255});
    Fill(&im, Polygon({10, 14, 20, 7, 20, 21}), Solid(kWhite));
    return im;
}

// The icons of the main menu's entries, each on a round plate.
RgbaImage Icon(int which)
{
    RgbaImage im(48, 48);
    Fill(&im, Circle(24, 24, 22), VGradient(2, kSolidPanelTop, 46, kSolidPanelBottom));
    Fill(&im, Ring(24, 24, 20, 22), Solid(kEdge));
    switch (which) {
    case 0: Ball(&im, 24, 24, 12, Rgba{200, 40, 50, 255}); break;                      // quick play
    case 1: DrawLabel(&im, "7", kBold, 24, 24, 24, kGold, 0, kInk, 1); break;           // mini-games
    case 2: for (int i = 0; i < 3; ++i) Pin(&im, 14 + i * 10.0f, 12, 24); break;       // practice
    case 3: Fill(&im, Ring(24, 24, 6, 12), Solid(kWhite));                              // options
            for (int k = 0; k < 8; ++k) {
                const float a = k * 0.785f;
                Fill(&im, Circle(24 + std::cos(a) * 13, 24 + std::sin(a) * 13, 3), Solid(kWhite));
            }
            break;
    case 4: DrawLabel(&im, "?", kBold, 26, 24, 24, kGold, 0, kInk, 1); break;          // how to play
    default:                                                                             // credits
        Fill(&im, Polygon({24, 8, 28.5f, 19, 40, 19, 31, 26, 34.5f, 38, 24, 31, 13.5f, 38, 17, 26, 8, 19, 19.5f, 19}),
             Solid(kGold));
        break;
    }
    return im;
}

// The status icons: a padlock, a price tag, a tick, a cup and the three medals.
RgbaImage StatusIcon(int which)
{
    RgbaImage im(24, 24);
    const Rgba medal[3] = {Rgba{205, 127, 50, 255}, Rgba{200, 205, 215, 255}, kGold};
    switch (which) {
    case 0:  // locked
        Fill(&im, Ring(12, 9, 4, 6.5f), Solid(Rgba{190, 195, 205, 255}));
        Fill(&im, RoundRect(5, 10, 14, 11, 2), VGradient(10, Rgba{210, 215, 225, 255}, 21, Rgba{120, 125, 140, 255}));
        Fill(&im, Circle(12, 15, 1.8f), Solid(kInk));
        break;
    case 1:  // unlocked: for sale
        Fill(&im, Polygon({3, 12, 10, 4, 21, 4, 21, 20, 10, 20}), Solid(kGold));
        Fill(&im, Circle(8.5f, 12, 2), Solid(kInk));
        break;
    case 2:  // owned
        Fill(&im, Polygon({3, 13, 7, 9, 10, 13, 18, 4, 22, 8, 10, 20}), Solid(Rgba{80, 210, 110, 255}));
        break;
    case 3:  // won
        Fill(&im, Polygon({5, 3, 19, 3, 17, 12, 12, 15, 7, 12}), Solid(kGold));
        Fill(&im, RoundRect(10, 14, 4, 4, 1), Solid(kGold));
        Fill(&im, RoundRect(7, 18, 10, 3, 1), Solid(kGold));
        break;
    default: {  // third, second, first
        const int place = 7 - which;
        Fill(&im, Polygon({7, 0, 11, 0, 13, 8, 9, 8}), Solid(Rgba{200, 40, 50, 255}));
        Fill(&im, Polygon({13, 0, 17, 0, 15, 8, 11, 8}), Solid(Rgba{40, 80, 200, 255}));
        Fill(&im, Circle(12, 15, 8), Solid(medal[3 - place]));
        DrawLabel(&im, std::to_string(place), kBold, 11, 12, 15, kInk, 0, kInk, 0);
        break;
    }
    }
    return im;
}

// A tutorial page: the lower screen's controls or the upper screen's lane as a picture, with the
// page's number; the text is the message box's.
RgbaImage TutorialPage(int book, int page)
{
    RgbaImage im(200, 120);
    Panel(&im, 0, 0, 200, 120, 10, Rgba{30, 50, 100, 255}, Rgba{10, 18, 44, 255});
    if (book == 0) {
        Lane(&im, 40, 160, 116, 92, 108, 30);
        Ball(&im, 60 + page * 20.0f, 96 - page * 8.0f, 9, Rgba{60, 120, 225, 255});
    } else {
        Fill(&im, RoundRect(30, 20, 140, 80, 8), Solid(Rgba{6, 10, 26, 200}));
        Fill(&im, Circle(50 + page * 25.0f, 60, 8), Solid(kGold));
    }
    DrawLabel(&im, std::to_string(page + 1), kBook, 14, 186, 14, kWhite, 0, kInk, 1);
    return im;
}

}  // namespace

std::vector<Resource> MenuContent()
{
    std::vector<Resource> out;
    out.push_back(Image(kLoadingImageUnscaled, LoadingImage(), true));
    out.push_back(Image(kMenuBackgroundImage, LoadingImage(), true));
    out.push_back(Image(kTitleImage, Title(), true));
    out.push_back(Image(kLoadingBitmap, LoadingSign()));
    out.push_back(Image(kTitleUpperImage, TitleUpper(), true));
    out.push_back(Image(kMenuUpperBackdrop, MenuUpperBackdrop(), true));
    out.push_back(Image(kMenuLowerBackdrop, LowerBackdrop(), true));
    out.push_back(Image(kMenuButtonWide, Button(200, 32, false)));
    out.push_back(Image(kMenuButtonHighlight, Button(200, 32, true)));
    out.push_back(Image(kMenuButtonBack, BackButton()));
    out.push_back(Image(kMenuButtonSmall, Button(96, 28, false)));
    out.push_back(Image(kMenuSelectionFrame, SelectionFrame()));
    out.push_back(Image(kMenuArrowUp, ArrowButton(true)));
    out.push_back(Image(kMenuArrowDown, ArrowButton(false)));
    for (int i = 0; i <= kMenuIconLast - kMenuIconFirst; ++i) out.push_back(Image(kMenuIconFirst + i, Icon(i)));
    for (int i = 0; i <= kTutorialPageLast - kTutorialPageFirst; ++i)
        out.push_back(Image(kTutorialPageFirst + i, TutorialPage(i / 5, i % 5)));
    for (int i = 0; i <= kMenuStatusIconLast - kMenuStatusIconFirst; ++i)
        out.push_back(Image(kMenuStatusIconFirst + i, StatusIcon(i)));
    return out;
}

}  // namespace mkrom
