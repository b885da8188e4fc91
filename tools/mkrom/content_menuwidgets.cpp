// The images of the menu widgets, drawn in the overlays' look (navy panels with light edges, gold
// accents, white marks): button frames in their four states, the selection glow, the status icons
// that lock and state references draw, the sticky cursor with its hold-progress step, the dialog
// panel and its title band, the round answers of sticky dialogs, a round sticky button and the
// frames of a hint that asks for a tap.
#include "content_menuwidgets.h"

#include <algorithm>

#include "bitmap_writer.h"
#include "canvas.h"
#include "host/gpu.h"
#include "palette.h"

namespace mkrom {

namespace {



constexpr int kButtonW = 160, kButtonH = 24;

void FillAll(RgbaImage* im, const Shape& s, const Paint& p) { Fill(im, s, p, 0, 0, im->width, im->height); }

// A rounded outline `width` pixels thick inside (x, y, w, h).
void Edge(RgbaImage* im, float x, float y, float w, float h, float r, float width, Rgba c)
{
    FillAll(im, Minus(RoundRect(x, y, w, h, r), RoundRect(x + width, y + width, w - 2 * width, h - 2 * width, r - width)),
            Solid(c));
}

// A button frame: a gradient body with a light edge. The body leaves room for the text, which the
// button draws over it in white.
RgbaImage ButtonFrame(Rgba top, Rgba bottom, Rgba edge, float edgeWidth)
{
    RgbaImage im(kButtonW, kButtonH);
    FillAll(&im, RoundRect(1, 1, kButtonW - 1, kButtonH - 1, 6), Solid(kShade));
    FillAll(&im, RoundRect(0, 0, kButtonW - 1, kButtonH - 1, 6), VGradient(0, top, kButtonH, bottom));
    // A faint shine along the top half.
    FillAll(&im, RoundRect(3, 2, kButtonW - 7, kButtonH / 2 - 3, 4), Solid(Rgba{255, 255, 255, 28}));
    Edge(&im, 0, 0, kButtonW - 1, kButtonH - 1, 6, edgeWidth, edge);
    return im;
}

// The glow over the selected button: a gold rim and a warm wash, see-through in the middle so the
// frame and its text show.
RgbaImage SelectionGlow()
{
    RgbaImage im(kButtonW, kButtonH);
    FillAll(&im, RoundRect(0, 0, kButtonW, kButtonH, 7), Solid(Rgba{255, 200, 60, 18}));
    Edge(&im, 0, 0, kButtonW, kButtonH, 7, 2, kGold);
    return im;
}

// A status icon on a dark disc, so that it reads on any panel.
RgbaImage IconBase()
{
    RgbaImage im(16, 16);
    FillAll(&im, Circle(8, 8, 7.8f), Solid(Rgba{10, 16, 40, 220}));
    return im;
}

RgbaImage Padlock(bool open)
{
    RgbaImage im = IconBase();
    Rgba metal = open ? Rgba{170, 200, 240, 255} : kGold;
    // The shackle: a ring cut at the bottom; an open lock lifts it and swings it aside.
    float sx = open ? 9.5f : 8.0f, sy = open ? 4.5f : 6.0f;
    FillAll(&im, Minus(Ring(sx, sy, 1.6f, 3.2f), Polygon({0, sy, 16, sy, 16, 16, 0, 16})), Solid(metal));
    FillAll(&im, RoundRect(sx - 3.2f, sy, 1.6f, open ? 1.5f : 2.0f, 0), Solid(metal));
    if (!open) FillAll(&im, RoundRect(sx + 1.6f, sy, 1.6f, 2.0f, 0), Solid(metal));
    FillAll(&im, RoundRect(3.5f, 7.5f, 9, 6.5f, 1.5f), Solid(metal));
    FillAll(&im, Circle(8, 10.5f, 1.2f), Solid(kInk));
    return im;
}

// Owned: a tick.
RgbaImage Tick()
{
    RgbaImage im = IconBase();
    FillAll(&im, Polygon({3.5f, 8.5f, 5.5f, 6.5f, 7, 8.5f, 11.5f, 3.5f, 13, 5.5f, 7, 12}), Solid(kGreen));
    return im;
}

// Won: a cup.
RgbaImage Cup()
{
    RgbaImage im = IconBase();
    FillAll(&im, Polygon({4, 3.5f, 12, 3.5f, 11, 8, 9, 9.5f, 9, 11, 11, 12.5f, 5, 12.5f, 7, 11, 7, 9.5f, 5, 8}), Solid(kGold));
    FillAll(&im, Minus(Ring(4, 5.5f, 1, 2.2f), Polygon({4, 0, 16, 0, 16, 16, 4, 16})), Solid(kGold));
    FillAll(&im, Minus(Ring(12, 5.5f, 1, 2.2f), Polygon({0, 0, 12, 0, 12, 16, 0, 16})), Solid(kGold));
    return im;
}

// A placing: a medal of its metal with the place's figure.
RgbaImage Medal(Rgba metal, const char* figure)
{
    RgbaImage im(16, 16);
    FillAll(&im, Circle(8, 8, 7.8f), VGradient(0, Rgba{uint8_t(std::min(255, metal.r + 50)), uint8_t(std::min(255, metal.g + 50)),
                                                       uint8_t(std::min(255, metal.b + 50)), 255},
                                              16, metal));
    Edge(&im, 0.5f, 0.5f, 15, 15, 7.5f, 1, kInk);
    DrawLabel(&im, figure, kBold, 10, 8, 8, kInk);
    return im;
}

// The sticky cursor: a ring with a dot, white while free and gold while it presses a button.
RgbaImage Cursor(bool pressed)
{
    RgbaImage im(32, 32);
    Rgba c = pressed ? kGold : kWhite;
    FillAll(&im, Ring(16, 16, 9, 14), Solid(kShade));
    FillAll(&im, Ring(16, 16, 10, 13), Solid(c));
    FillAll(&im, Circle(16, 16, pressed ? 4.0f : 3.0f), Solid(c));
    return im;
}

// One step of the hold progress: a gold bead at the top of the cursor's ring. Copies turned about
// the centre grow into a ring as the hold goes on.
RgbaImage FillerStep()
{
    RgbaImage im(32, 32);
    FillAll(&im, Circle(16, 3.5f, 2.6f), Solid(kGold));
    return im;
}

// The dialog panel as a sizable frame: 16-pixel rounded corners and edges round a plain body, so
// that any box up to the lower screen's size is drawn from it. The body is one colour (a gradient
// would step where the bottom edge, cut from the image's foot, meets a shorter box's middle); a
// light band along the top corners and edge gives it the overlays' lit look. The body is opaque:
// the page under a question must not show through it.
RgbaImage DialogPanel()
{
    RgbaImage im(320, 240);
    FillAll(&im, RoundRect(0, 0, 320, 240, 12), Solid(Rgba{36, 60, 122, 255}));
    FillAll(&im, RoundRect(2, 2, 316, 12, 10), Solid(Rgba{255, 255, 255, 22}));
    Edge(&im, 0, 0, 320, 240, 12, 2, kEdge);
    Edge(&im, 4, 4, 312, 232, 9, 1, Rgba{130, 180, 245, 90});
    return im;
}

// The title band over a dialog: gold-edged, darker than the panel.
RgbaImage TitleBand()
{
    RgbaImage im(200, 24);
    FillAll(&im, RoundRect(0, 0, 200, 24, 8), VGradient(0, Rgba{70, 110, 190, 255}, 24, Rgba{30, 50, 110, 255}));
    Edge(&im, 0, 0, 200, 24, 8, 2, kGold);
    return im;
}

// A round touch button: a raised disc with a light rim.
RgbaImage RoundButton(int size, Rgba body)
{
    RgbaImage im(size, size);
    float c = size / 2.0f, r = c - 1.5f;
    FillAll(&im, Circle(c + 1, c + 1, r), Solid(kShade));
    FillAll(&im, Circle(c, c, r),
            VGradient(c - r, Rgba{uint8_t(std::min(255, body.r + 60)), uint8_t(std::min(255, body.g + 60)),
                                  uint8_t(std::min(255, body.b + 60)), 255},
                      c + r, body));
    FillAll(&im, Ring(c, c, r - 2, r), Solid(kEdge));
    return im;
}

// A frame of the tapping hint: a stylus leaning in from the upper right onto a spot, with a ring
// that widens and fades as the frames go on.
RgbaImage TapHint(int frame)
{
    RgbaImage im(32, 32);
    const float ring = 4.0f + 3.0f * float(frame);
    const uint8_t fade = uint8_t(230 - 50 * frame);
    FillAll(&im, Ring(11, 21, ring, ring + 1.8f), Solid(Rgba{255, 200, 60, fade}));
    FillAll(&im, Circle(11, 21, 2.2f), Solid(kGold));
    // The stylus: a pale shaft with a dark tip, lifted a little in the first frames.
    const float lift = frame < 2 ? 2.0f - float(frame) : 0.0f;
    FillAll(&im, Polygon({12 + lift, 19 - lift, 15 + lift, 16 - lift, 30, 2, 27, 0}), Solid(Rgba{220, 228, 245, 255}));
    FillAll(&im, Polygon({12 + lift, 19 - lift, 15 + lift, 16 - lift, 13 + lift, 17 - lift}), Solid(kInk));
    return im;
}

Resource Image(int id, const RgbaImage& image) { return BitmapResource(id, image, kPixelRGBA8); }

}  // namespace

std::vector<Resource> MenuWidgetContent()
{
    std::vector<Resource> out;
    out.push_back(Image(kUiButtonFrame, ButtonFrame(kPanelTop, kPanelBottom, kEdge, 1.5f)));
    out.push_back(Image(kUiButtonFrameHighlighted,
                        ButtonFrame(Rgba{96, 146, 230, 245}, Rgba{44, 76, 160, 245}, Rgba{235, 242, 255, 255}, 2)));
    out.push_back(Image(kUiButtonFramePressed,
                        ButtonFrame(Rgba{20, 34, 80, 245}, Rgba{60, 100, 180, 245}, kGold, 2)));
    out.push_back(Image(kUiButtonFrameDisabled,
                        ButtonFrame(Rgba{70, 74, 88, 200}, Rgba{40, 42, 52, 200}, Rgba{110, 114, 130, 220}, 1.5f)));
    out.push_back(Image(kUiButtonHighlight, SelectionGlow()));
    out.push_back(Image(kUiIconLocked, Padlock(false)));
    out.push_back(Image(kUiIconUnlocked, Padlock(true)));
    out.push_back(Image(kUiIconOwned, Tick()));
    out.push_back(Image(kUiIconWon, Cup()));
    out.push_back(Image(kUiIconThird, Medal(Rgba{176, 110, 60, 255}, "3")));
    out.push_back(Image(kUiIconSecond, Medal(Rgba{170, 176, 190, 255}, "2")));
    out.push_back(Image(kUiIconFirst, Medal(Rgba{230, 176, 40, 255}, "1")));
    out.push_back(Image(kUiCursor, Cursor(false)));
    out.push_back(Image(kUiCursorPressed, Cursor(true)));
    out.push_back(Image(kUiCursorFiller, FillerStep()));
    out.push_back(Image(kUiDialogPanel, DialogPanel()));
    out.push_back(Image(kUiDialogFlourish, TitleBand()));
    out.push_back(Image(kUiStickyAnswerYes, RoundButton(48, Rgba{30, 120, 60, 255})));
    out.push_back(Image(kUiStickyAnswerNo, RoundButton(48, Rgba{150, 40, 36, 255})));
    out.push_back(Image(kUiStickyRound, RoundButton(56, Rgba{40, 80, 170, 255})));
    Resource tap;
    tap.id = kUiHintTapGroup;
    tap.type = kTypeGroup;
    for (int f = 0; f < 4; ++f) tap.members.push_back(BitmapResource(0, TapHint(f), kPixelRGBA8));
    out.push_back(std::move(tap));
    return out;
}

}  // namespace mkrom
