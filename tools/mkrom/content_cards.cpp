// The 52 card faces of the poker game, one member of kCardPictureGroup per card number (suit * 13
// + rank, ace first): a white card with rounded corners on the left of a 64 x 64 picture, its
// rank and a small suit in the top-left corner and a large suit in the middle, red for hearts and
// diamonds. The heads-up display draws the hand's pictures 22 pixels apart, so each card overlaps
// the next and its corner stays visible. The poker result lists up to eight hands, a row each, too
// many for those pictures: its own small faces, the rank over the suit, are cut from one sheet.
#include "content_overlays.h"

#include <string>

#include "bitmap_writer.h"
#include "canvas.h"
#include "host/gpu.h"
#include "lib/resourceids.h"

namespace mkrom {
namespace {

const char* const kFace = "DejaVuSans-Bold.ttf";
const char* const kNarrowFace = "DejaVuSansCondensed-Bold.ttf";
constexpr Rgba kCardWhite{250, 248, 240, 255};
constexpr Rgba kCardEdge{60, 60, 70, 255};
constexpr Rgba kCardRed{200, 30, 40, 255};
constexpr Rgba kCardBlack{20, 20, 30, 255};
constexpr float kCardW = 44.0f, kCardH = 62.0f;

// Suit shapes centred on (cx, cy), s wide: 0 spades, 1 hearts, 2 clubs, 3 diamonds.
Shape Heart(float cx, float cy, float s)
{
    const float r = s * 0.27f;
    return Union(Union(Circle(cx - r * 0.9f, cy - s * 0.12f, r), Circle(cx + r * 0.9f, cy - s * 0.12f, r)),
                 Polygon({cx - s * 0.5f, cy - s * 0.02f, cx + s * 0.5f, cy - s * 0.02f, cx, cy + s * 0.5f}));
}

Shape Spade(float cx, float cy, float s)
{
    const float r = s * 0.25f;
    return Union(Union(Circle(cx - r * 0.9f, cy + s * 0.1f, r), Circle(cx + r * 0.9f, cy + s * 0.1f, r)),
                 Union(Polygon({cx - s * 0.48f, cy + s * 0.12f, cx + s * 0.48f, cy + s * 0.12f, cx, cy - s * 0.5f}),
                       Polygon({cx - s * 0.06f, cy + s * 0.1f, cx + s * 0.06f, cy + s * 0.1f, cx + s * 0.2f,
                                cy + s * 0.5f, cx - s * 0.2f, cy + s * 0.5f})));
}

Shape Club(float cx, float cy, float s)
{
    const float r = s * 0.22f;
    return Union(Union(Circle(cx, cy - s * 0.24f, r), Union(Circle(cx - s * 0.25f, cy + s * 0.06f, r), Circle(cx + s * 0.25f, cy + s * 0.06f, r))),
                 Polygon({cx - s * 0.06f, cy, cx + s * 0.06f, cy, cx + s * 0.2f, cy + s * 0.5f, cx - s * 0.2f, cy + s * 0.5f}));
}

Shape Diamond(float cx, float cy, float s)
{
    return Polygon({cx, cy - s * 0.5f, cx + s * 0.38f, cy, cx, cy + s * 0.5f, cx - s * 0.38f, cy});
}

Shape Suit(int suit, float cx, float cy, float s)
{
    switch (suit) {
    case 0: return Spade(cx, cy, s);
    case 1: return Heart(cx, cy, s);
    case 2: return Club(cx, cy, s);
    default: return Diamond(cx, cy, s);
    }
}

RgbaImage CardFace(int card)
{
    static const char* const kRanks[13] = {"A", "K", "Q", "J", "10", "9", "8", "7", "6", "5", "4", "3", "2"};
    const int suit = card / 13, rank = card % 13;
    const Rgba ink = suit == 1 || suit == 3 ? kCardRed : kCardBlack;
    RgbaImage im(64, 64);
    Fill(&im, RoundRect(1, 1, kCardW, kCardH, 5), Solid(kCardEdge));
    Fill(&im, RoundRect(2, 2, kCardW - 2, kCardH - 2, 4), Solid(kCardWhite));
    DrawLabel(&im, kRanks[rank], kFace, rank == 4 ? 11 : 13, 11, 10, ink);
    Fill(&im, Suit(suit, 11, 22, 9), Solid(ink));
    Fill(&im, Suit(suit, 27, 40, 22), Solid(ink));
    return im;
}

// The small faces at their cells of the sheet: the rank large enough to read at a glance (a
// narrower face for the two digits of a ten), the suit under it.
RgbaImage SmallCardSheet()
{
    static const char* const kRanks[13] = {"A", "K", "Q", "J", "10", "9", "8", "7", "6", "5", "4", "3", "2"};
    const float w = kPokerCardW, h = kPokerCardH;
    RgbaImage im(13 * kPokerCardW, 4 * kPokerCardH);
    for (int card = 0; card < 52; ++card) {
        const int suit = card / 13, rank = card % 13;
        const Rgba ink = suit == 1 || suit == 3 ? kCardRed : kCardBlack;
        const int x0 = rank * kPokerCardW, y0 = suit * kPokerCardH;
        const float x = float(x0), y = float(y0);
        auto fill = [&](const Shape& shape, Rgba c) { Fill(&im, shape, Solid(c), x0, y0, x0 + kPokerCardW, y0 + kPokerCardH); };
        fill(RoundRect(x, y, w, h, 3), kCardEdge);
        fill(RoundRect(x + 1, y + 1, w - 2, h - 2, 2), kCardWhite);
        DrawLabel(&im, kRanks[rank], rank == 4 ? kNarrowFace : kFace, 12, x + w / 2, y + 8, ink);
        fill(Suit(suit, x + w / 2, y + 19, 9), ink);
    }
    return im;
}

}  // namespace

std::vector<Resource> CardContent()
{
    Resource faces;
    faces.id = kCardPictureGroup;
    faces.type = kTypeGroup;
    for (int c = 0; c < 52; ++c) faces.members.push_back(BitmapResource(0, CardFace(c), kPixelRGBA4));
    return {faces, BitmapResource(kImagePokerCards, SmallCardSheet(), kPixelRGBA8)};
}

}  // namespace mkrom
