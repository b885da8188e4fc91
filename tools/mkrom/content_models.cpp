// The models of the six alleys and of the lane's objects, with their textures, made by code.
//
// Alley models are in feet (the scene draws them scaled by 24 into game units): x across the lane
// (0 on the centre of the played lane), y from the foul line towards the pins (pin 1 at 60), z up
// with 0 on the lane surface. Lanes repeat every 8 feet across, as the game places lane numbers.
// Each alley's environment group holds its textures first and the environment model last (models
// find their textures already loaded); its layer group holds the masking unit above the pins
// (layer 0) and the aiming arrows on the lane (layer 1).
//
// The lane objects are in the units of their actors: the ball and the pins at scale 2 (half game
// units, i.e. inches of the real ball and pin), the lines and overlays at their own scales.
#include "content_models.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "bitmap_writer.h"
#include "game/oil.h"
#include "host/gpu.h"
#include "mesh_shapes.h"

namespace mkrom {

namespace {

constexpr float kPi = 3.14159265f;

// The lane in feet (the collision lane bed is 43 game units either side and 1512 long).
constexpr float kLaneHalf = 43.0f / 24.0f;
constexpr float kGutterWidth = 18.5f / 24.0f;
constexpr float kGutterDepth = 3.75f / 24.0f;
constexpr float kLaneEnd = 63.0f;
// Lanes stand 133 game units apart, as the game spaces the alley's props over them.
constexpr float kLanePitch = 133.0f / 24.0f;
// Lanes drawn either side of the played one: enough for the farthest props (46 ft out, with
// their blades) to hang inside the room.
constexpr int kSideLanes = 9;
// From the played lane's centre to each side wall.
constexpr float kHalfRoom = (float(kSideLanes) + 0.5f) * kLanePitch + 1.0f;
constexpr int kMarqueeFrames = 4;
constexpr int kMarqueeDelay = 200;     // milliseconds per frame
constexpr size_t kBitmapDelayByte = 26;  // the bitmap header's delay, then its loop type

uint32_t Member(int group, int index) { return uint32_t(group) << 16 | uint32_t(index); }

// A repeatable hash noise in 0..1.
float Noise(int x, int y, int seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return float((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

struct Rgb {
    float r, g, b;
};

void Put(RgbaImage& img, int x, int y, Rgb c, float a = 1.0f)
{
    auto clamp = [](float v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
    uint8_t* p = img.At(x, y);
    p[0] = clamp(c.r), p[1] = clamp(c.g), p[2] = clamp(c.b), p[3] = clamp(a * 255.0f);
}

Rgb Scale(Rgb c, float s) { return {c.r * s, c.g * s, c.b * s}; }
Rgb Mix(Rgb a, Rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

// ---- Alley looks ----

struct AlleyLook {
    Rgb wood;     // lane boards
    Rgb wall;     // walls and capping
    Rgb accent;   // masking unit and stripes
    Rgb carpet;
};

const AlleyLook kLooks[6] = {
    {{214, 170, 112}, {120, 40, 40}, {230, 200, 60}, {70, 30, 60}},    // a classic red house
    {{222, 184, 130}, {30, 50, 110}, {80, 220, 255}, {20, 25, 60}},    // a blue neon hall
    {{200, 150, 95}, {40, 90, 60}, {240, 240, 220}, {30, 60, 40}},     // a green country lanes
    {{226, 190, 140}, {80, 40, 110}, {255, 120, 220}, {40, 20, 60}},   // a purple disco
    {{190, 140, 90}, {140, 80, 30}, {255, 170, 60}, {80, 50, 30}},     // an orange retro
    {{230, 200, 160}, {40, 100, 110}, {250, 250, 250}, {20, 60, 70}},  // a teal modern centre
};

// Textures of an alley's environment group, by member index.
enum { kTexLane, kTexGutter, kTexWall, kTexCarpet, kTexPit, kTexMask, kTexArrow, kAlleyTextures };

RgbaImage LaneWood(const AlleyLook& look, int seed)
{
    // 39 boards across the lane, 64 texels across; the texture repeats every 8 feet down it.
    RgbaImage img(64, 128);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const int board = x * 39 / 64;
            const float tone = 0.9f + 0.12f * Noise(board, 0, seed);
            const float grain = 0.96f + 0.06f * Noise(x, y / 6, seed + board);
            const float seam = (x * 39 % 64) < 39 ? 0.85f : 1.0f;
            Put(img, x, y, Scale(look.wood, tone * grain * seam));
        }
    return img;
}

RgbaImage Gutter()
{
    RgbaImage img(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) Put(img, x, y, Scale({150, 155, 165}, 0.8f + 0.3f * float(x) / 15.0f));
    return img;
}

RgbaImage Wall(const AlleyLook& look)
{
    RgbaImage img(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool stripe = (y / 4) % 8 == 3;
            Rgb c = stripe ? look.accent : Scale(look.wall, 0.85f + 0.15f * Noise(x / 8, y / 8, 3));
            Put(img, x, y, c);
        }
    return img;
}

RgbaImage Carpet(const AlleyLook& look)
{
    RgbaImage img(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float dx = float(x % 16) - 7.5f, dy = float(y % 16) - 7.5f;
            const bool dot = dx * dx + dy * dy < 9.0f;
            Put(img, x, y, dot ? Scale(look.accent, 0.7f) : Scale(look.carpet, 0.9f + 0.2f * Noise(x, y, 5)));
        }
    return img;
}

RgbaImage Plain(Rgb c, int size = 8)
{
    RgbaImage img(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) Put(img, x, y, c);
    return img;
}

RgbaImage Masking(const AlleyLook& look)
{
    RgbaImage img(128, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 128; ++x) {
            Rgb c = Mix(look.wall, Scale(look.wall, 0.4f), float(y) / 31.0f);
            if (y >= 12 && y < 20) c = Mix(look.accent, look.wall, 0.5f + 0.5f * std::sin(float(x) * 0.3f));
            if (y == 2 || y == 29) c = look.accent;
            Put(img, x, y, c);
        }
    return img;
}

// Frame k of the chase lights along the masking unit: every fourth bulb lit, moving by one.
RgbaImage Marquee(const AlleyLook& look, int k)
{
    RgbaImage img(64, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 64; ++x) {
            const int bulb = x / 4;
            const float dx = float(x % 4) - 1.5f, dy = float(y % 8) - 3.5f;
            const bool in = dx * dx + dy * dy * 0.25f < 2.5f;
            const bool lit = bulb % 4 == k;
            Put(img, x, y, in ? (lit ? Rgb{255, 250, 200} : Scale(look.accent, 0.45f)) : Scale(look.wall, 0.3f));
        }
    return img;
}

// ---- Alley geometry ----

// One lane with its gutters, approach, pit and the capping to its right, centred at x = cx.
void AddLane(ModelNode& m, float cx, float tile)
{
    const float l = cx - kLaneHalf, r = cx + kLaneHalf;
    AddQuad(m, kTexLane, {l, 0, 0}, {r, 0, 0}, {r, kLaneEnd, 0}, {l, kLaneEnd, 0}, 0, 0, 1, kLaneEnd / tile);
    AddQuad(m, kTexLane, {l - kGutterWidth, -16, 0}, {r + kGutterWidth, -16, 0}, {r + kGutterWidth, 0, 0},
            {l - kGutterWidth, 0, 0}, 0, 0, 1.4f, 16.0f / tile);
    // Gutters: a trough of three faces on each side.
    for (int side = 0; side < 2; ++side) {
        const float edge = side == 0 ? l : r, s = side == 0 ? -1.0f : 1.0f;
        const float a = edge, b = edge + s * 0.25f * kGutterWidth, c = edge + s * 0.75f * kGutterWidth,
                    d = edge + s * kGutterWidth;
        const float z = -kGutterDepth;
        const float xs[4] = {a, b, c, d}, zs[4] = {0, z, z, 0};
        for (int k = 0; k < 3; ++k) {
            float x0 = xs[k], x1 = xs[k + 1], z0 = zs[k], z1 = zs[k + 1];
            if (side == 0) std::swap(x0, x1), std::swap(z0, z1);
            AddQuad(m, kTexGutter, {x0, 0, z0}, {x1, 0, z1}, {x1, kLaneEnd, z1}, {x0, kLaneEnd, z0}, 0, 0, 1, 8);
        }
    }
    // Capping between this lane's right gutter and the next lane's left one.
    const float capL = r + kGutterWidth, capR = cx + kLanePitch - kLaneHalf - kGutterWidth;
    AddBox(m, kTexWall, {capL, -16, -0.2f}, {capR, kLaneEnd, 0.15f}, 0.5f);
    // Pit: a dark floor behind the deck and the cushion at its back.
    AddQuad(m, kTexPit, {l - kGutterWidth, kLaneEnd, -1.0f}, {r + kGutterWidth, kLaneEnd, -1.0f},
            {r + kGutterWidth, kLaneEnd + 3.0f, -1.0f}, {l - kGutterWidth, kLaneEnd + 3.0f, -1.0f}, 0, 0, 1, 1);
    AddQuad(m, kTexPit, {l - kGutterWidth, kLaneEnd + 3.0f, -1.0f}, {r + kGutterWidth, kLaneEnd + 3.0f, -1.0f},
            {r + kGutterWidth, kLaneEnd + 3.0f, 4.0f}, {l - kGutterWidth, kLaneEnd + 3.0f, 4.0f}, 0, 0, 1, 1);
}

ModelNode AlleyModel(int alley)
{
    ModelNode m;
    m.format = 1;
    m.flags = 0x2;  // textures repeat
    const int group = (alley + 1) * 100;
    for (int t = 0; t < kAlleyTextures - 1; ++t) m.materials.push_back(Member(group, t));
    for (int k = -kSideLanes; k <= kSideLanes; ++k) AddLane(m, float(k) * kLanePitch, 8.0f);
    const float halfRoom = kHalfRoom;
    const float back = -36.0f, front = kLaneEnd + 3.0f, high = 14.0f;
    // The floor behind the approaches, the walls, the ceiling and the wall behind the bowlers.
    AddQuad(m, kTexCarpet, {-halfRoom, back, 0}, {halfRoom, back, 0}, {halfRoom, -16, 0}, {-halfRoom, -16, 0}, 0, 0,
            2 * halfRoom / 4, (-16 - back) / 4);
    AddQuad(m, kTexWall, {-halfRoom, front, 0}, {-halfRoom, back, 0}, {-halfRoom, back, high}, {-halfRoom, front, high}, 0,
            0, (front - back) / 8, high / 8);
    AddQuad(m, kTexWall, {halfRoom, back, 0}, {halfRoom, front, 0}, {halfRoom, front, high}, {halfRoom, back, high}, 0, 0,
            (front - back) / 8, high / 8);
    AddQuad(m, kTexWall, {halfRoom, back, 0}, {-halfRoom, back, 0}, {-halfRoom, back, high}, {halfRoom, back, high}, 0, 0,
            2 * halfRoom / 8, high / 8);
    AddQuad(m, kTexPit, {-halfRoom, front, high}, {halfRoom, front, high}, {halfRoom, back, high}, {-halfRoom, back, high},
            0, 0, 1, 1);
    // The wall above the pits, up to the ceiling.
    AddQuad(m, kTexWall, {-halfRoom, front, 4.0f}, {halfRoom, front, 4.0f}, {halfRoom, front, high},
            {-halfRoom, front, high}, 0, 0, 2 * halfRoom / 8, (high - 4) / 8);
    return m;
}

// Layer 0: the masking unit across every lane, hiding the pinsetters.
ModelNode MaskingModel(int alley)
{
    ModelNode m;
    m.format = 1;
    m.flags = 0x2;
    m.materials.push_back(Member((alley + 1) * 100, kTexMask));
    m.materials.push_back(Member(kAlleyMarqueeGroups[alley], 0));
    const float halfRoom = kHalfRoom;
    for (int k = -kSideLanes; k <= kSideLanes; ++k) {
        const float x0 = float(k) * kLanePitch - kLanePitch / 2, x1 = x0 + kLanePitch;
        AddQuad(m, 0, {x0, kLaneEnd - 1.5f, 2.2f}, {x1, kLaneEnd - 1.5f, 2.2f}, {x1, kLaneEnd - 1.5f, 5.0f},
                {x0, kLaneEnd - 1.5f, 5.0f}, 0, 1, 1, 0);
        AddQuad(m, 1, {x0, kLaneEnd - 1.52f, 1.95f}, {x1, kLaneEnd - 1.52f, 1.95f}, {x1, kLaneEnd - 1.52f, 2.25f},
                {x0, kLaneEnd - 1.52f, 2.25f}, 0, 1, 2, 0);
    }
    AddQuad(m, 0, {-halfRoom, kLaneEnd - 1.5f, 5.0f}, {halfRoom, kLaneEnd - 1.5f, 5.0f}, {halfRoom, kLaneEnd + 3.0f, 5.0f},
            {-halfRoom, kLaneEnd + 3.0f, 5.0f}, 0, 0, 1, 0.1f);
    return m;
}

// Layer 1: the seven aiming arrows 15 feet down every lane and the dots at 7 feet.
ModelNode ArrowsModel(int alley)
{
    ModelNode m;
    m.format = 1;
    m.materials.push_back(Member((alley + 1) * 100, kTexArrow));
    for (int k = -kSideLanes; k <= kSideLanes; ++k)
        for (int a = -3; a <= 3; ++a) {
            const float x = float(k) * kLanePitch + float(a) * 5.0f * kLaneHalf * 2.0f / 39.0f;
            const float y = 15.0f + float(a < 0 ? -a : a) * 0.5f, z = 0.004f;
            const uint16_t first = AddVertices(m, {});
            Vertex v[3];
            const float p[3][2] = {{x - 0.07f, y}, {x + 0.07f, y}, {x, y + 0.6f}};
            for (int i = 0; i < 3; ++i) {
                v[i].pos[0] = p[i][0], v[i].pos[1] = p[i][1], v[i].pos[2] = z;
                v[i].uv[0] = 0.5f, v[i].uv[1] = 0.5f;
            }
            AddVertices(m, {v[0], v[1], v[2]});
            AddStrip(m, 0, {first, uint16_t(first + 1), uint16_t(first + 2)});
            AddBox(m, 0, {x - 0.03f, 7.0f - 0.03f, 0.0f}, {x + 0.03f, 7.0f + 0.03f, z}, 1.0f);
        }
    return m;
}

// A turn light: a lamp on the masking unit's face above the played lane, left (side -1) or right.
// Member 0 of its group is its unlit texture, member 1 the lit one, member 2 this model, which
// names member 0 (the scene swaps in the lit one).
Resource TurnLightGroup(int id, int side, const AlleyLook& look)
{
    Resource group;
    group.id = id;
    group.type = kTypeGroup;
    group.members.push_back(BitmapResource(0, Plain(Scale(look.accent, 0.3f)), kPixelRGB565));
    group.members.push_back(BitmapResource(0, Plain({255, 250, 210}), kPixelRGB565));
    ModelNode m;
    m.format = 2;  // unlit: the lamp shows its own colour
    m.materials.push_back(Member(id, 0));
    const float x = float(side) * 0.7f, y = kLaneEnd - 1.56f, z = 4.4f;
    AddQuad(m, 0, {x - 0.25f, y, z - 0.2f}, {x + 0.25f, y, z - 0.2f}, {x + 0.25f, y, z + 0.2f}, {x - 0.25f, y, z + 0.2f},
            0, 1, 1, 0);
    group.members.push_back(ModelResource(0, m));
    return group;
}

std::vector<Resource> AlleyContent(int alley)
{
    const AlleyLook& look = kLooks[alley];
    const int group = (alley + 1) * 100;
    Resource env;
    env.id = group;
    env.type = kTypeGroup;
    const RgbaImage textures[kAlleyTextures] = {LaneWood(look, alley), Gutter(), Wall(look), Carpet(look),
                                               Plain({12, 10, 14}), Masking(look), Plain(Scale(look.wood, 0.35f))};
    for (const RgbaImage& t : textures) env.members.push_back(BitmapResource(0, t, kPixelRGB565));
    env.members.push_back(ModelResource(0, AlleyModel(alley)));

    // The chase lights' frames: 200 ms each, running back and forth.
    Resource marquee;
    marquee.id = kAlleyMarqueeGroups[alley];
    marquee.type = kTypeGroup;
    for (int k = 0; k < kMarqueeFrames; ++k) {
        Resource frame = BitmapResource(0, Marquee(look, k), kPixelRGB565);
        frame.bytes[kBitmapDelayByte] = uint8_t(kMarqueeDelay);
        frame.bytes[kBitmapDelayByte + 1] = uint8_t(kMarqueeDelay >> 8);
        if (k == kMarqueeFrames - 1) frame.bytes[kBitmapDelayByte + 2] = 2;  // back and forth
        marquee.members.push_back(std::move(frame));
    }

    Resource layers;
    layers.id = kAlleyLayerGroups[alley];
    layers.type = kTypeGroup;
    layers.members.push_back(ModelResource(0, MaskingModel(alley)));
    layers.members.push_back(ModelResource(0, ArrowsModel(alley)));
    return {marquee, env, layers, TurnLightGroup(kAlleyTurnLightGroups[alley][0], -1, look),
            TurnLightGroup(kAlleyTurnLightGroups[alley][1], 1, look)};
}

// ---- Lane objects ----

enum { kTexBall, kTexShadow, kTexReflection, kTexPin, kTexAim, kTexMarker, kTexOil, kTexBumper, kObjectTextures };

RgbaImage Disc(Rgb c, float edgeAlpha, int size = 32)
{
    RgbaImage img(size, size);
    const float h = float(size - 1) / 2.0f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float d = std::sqrt((float(x) - h) * (float(x) - h) + (float(y) - h) * (float(y) - h)) / h;
            const float a = d >= 1.0f ? 0.0f : edgeAlpha + (1.0f - edgeAlpha) * (1.0f - d);
            Put(img, x, y, c, a);
        }
    return img;
}

RgbaImage PinTexture()
{
    // Row 0 is the top of the pin; two red stripes round the neck.
    RgbaImage img(8, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 8; ++x) {
            const float h = 15.0f * (1.0f - float(y) / 63.0f);  // inches from the base
            const bool stripe = (h > 9.2f && h < 9.8f) || (h > 10.4f && h < 11.0f);
            Put(img, x, y, stripe ? Rgb{200, 20, 30} : Rgb{246, 244, 238});
        }
    return img;
}

// The colour of a ball: by weight a hue, by coverstock a pattern.
Rgb BallHue(int ball)
{
    static const Rgb hues[8] = {{220, 40, 40}, {240, 140, 30}, {230, 210, 40}, {40, 170, 70},
                                {40, 120, 220}, {120, 60, 200}, {30, 30, 40}, {200, 60, 150}};
    return hues[ball % 8];
}

// The coverstock's pattern at (x, y) of the ball's 32 x 32 map: 0 the ball's hue, 1 its second
// colour. Plastic is solid, urethane pearled, reactive swirled and particle speckled.
static float CoverPattern(int ball, int x, int y)
{
    switch (ball / kBallWeightsPerCoverstock) {
    case 0: return 0.0f;
    case 1: return 0.5f + 0.5f * std::sin(float(y) * 0.4f + 2.0f * std::sin(float(x) * 0.2f));
    case 2: return 0.5f + 0.5f * std::sin(float(x + y) * 0.35f + 3.0f * Noise(x / 6, y / 6, ball));
    default: return Noise(x, y, ball) > 0.7f ? 1.0f : 0.0f;
    }
}

// The second colour of a ball's pattern: white for the pearl, near black for the swirl and the
// speckles; on the darkest hue (the 15 lb balls) a steel blue swirl and gold speckles instead, so
// that balls of one weight differ by coverstock in every hue.
static Rgb BallSecond(int ball)
{
    const int cover = ball / kBallWeightsPerCoverstock;
    const Rgb base = BallHue(ball);
    if (cover == 1) return Mix(base, {255, 255, 255}, 0.55f);
    if (base.r + base.g + base.b < 150.0f) return Mix(base, cover == 2 ? Rgb{90, 150, 220} : Rgb{235, 200, 110}, 0.7f);
    return Mix(base, {20, 20, 30}, 0.55f);
}

RgbaImage BallTexture(int ball)
{
    const Rgb base = BallHue(ball);
    const Rgb second = BallSecond(ball);
    RgbaImage img(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) Put(img, x, y, Mix(base, second, CoverPattern(ball, x, y)));
    // The finger holes near the top of the map.
    const int holes[3][2] = {{13, 4}, {19, 4}, {16, 9}};
    for (const auto& h : holes)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) Put(img, h[0] + dx, h[1] + dy, {10, 10, 10});
    return img;
}

// The ball as a picture for the screens: a shaded disc in its weight's hue and its coverstock's
// pattern (as on its model), with its finger holes, so that no two balls look alike.
RgbaImage BallPicture(int ball)
{
    const Rgb second = BallSecond(ball);
    RgbaImage img(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const float dx = (float(x) - 31.5f) / 30.0f, dy = (float(y) - 31.5f) / 30.0f;
            const float d2 = dx * dx + dy * dy;
            if (d2 >= 1.0f) {
                Put(img, x, y, {0, 0, 0}, 0.0f);
                continue;
            }
            const float nz = std::sqrt(1.0f - d2);
            const float light = 0.35f + 0.65f * std::fmax(0.0f, -0.4f * dx - 0.5f * dy + 0.77f * nz);
            const float spec = std::pow(std::fmax(0.0f, -0.4f * dx - 0.5f * dy + 0.77f * nz), 24.0f);
            const Rgb base = Mix(BallHue(ball), second, CoverPattern(ball, x / 2, y / 2));
            Rgb c = Mix(Scale(base, light), {255, 255, 255}, spec);
            const float holes[3][2] = {{-0.2f, -0.35f}, {0.2f, -0.35f}, {0.0f, 0.05f}};
            for (const auto& h : holes)
                if ((dx - h[0]) * (dx - h[0]) + (dy - h[1]) * (dy - h[1]) < 0.012f) c = {15, 15, 20};
            Put(img, x, y, c);
        }
    return img;
}

ModelNode ObjectModel(int texture)
{
    ModelNode m;
    m.format = 1;
    m.materials.push_back(Member(kLaneObjectTextures, texture));
    return m;
}

// A flat quad at height z from (x0, y0) to (x1, y1), the whole texture on it: u from 0 at x0 to 1
// at x1, v from 1 at y0 to 0 at y1. It faces up when (x1 - x0) and (y1 - y0) have the same sign.
void FlatQuad(ModelNode& m, float x0, float y0, float x1, float y1, float z)
{
    AddQuad(m, 0, {x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}, 0, 1, 1, 0);
}

// Oil pattern 1..9 as the oil overlay shows it, from the game's own pattern tables: board 0 (the
// negative-X edge) in column 0, the foul line in the last row and the overlay's far end (41 feet)
// in row 0. The more oil on a board, the bluer and the less see-through; dry lane is clear.
RgbaImage OilPatternTexture(int pattern)
{
    laneOil_tag lane{};
    SetOilPattern(&lane, pattern);
    constexpr int kWidth = 32, kHeight = 64;
    constexpr float kOverlayFeet = 41.0f;
    constexpr float kHeavyOil = 1.5f;  // units of oil shown at full strength
    RgbaImage img(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int row = std::min(kOilRows - 1, int((float(kHeight - 1 - y) + 0.5f) * kOverlayFeet / float(kHeight)));
            const int board = std::min(kOilBoards - 1, x * kOilBoards / kWidth);
            const float oil = std::min(1.0f, float(lane.DefaultOil[row][board]) / float(kOilUnit) / kHeavyOil);
            Put(img, x, y, Mix({200, 230, 255}, {40, 110, 255}, oil), oil > 0.0f ? 0.25f + 0.75f * oil : 0.0f);
        }
    return img;
}

std::vector<Resource> LaneObjectContent()
{
    std::vector<Resource> out;
    Resource textures;
    textures.id = kLaneObjectTextures;
    textures.type = kTypeGroup;
    const RgbaImage images[kObjectTextures] = {BallTexture(2 * 8 + 4), Disc({0, 0, 0}, 0.0f), Disc({255, 255, 255}, 0.0f),
                                               PinTexture(), Plain({250, 220, 60}), Plain({250, 250, 250}),
                                               Plain({120, 190, 255}), Plain({210, 210, 220})};
    const int formats[kObjectTextures] = {kPixelRGB565, kPixelRGBA4, kPixelRGBA4, kPixelRGB565,
                                          kPixelRGB565, kPixelRGB565, kPixelRGB565, kPixelRGB565};
    for (int t = 0; t < kObjectTextures; ++t) textures.members.push_back(BitmapResource(0, images[t], formats[t]));
    out.push_back(textures);

    // The ball: radius 0.218 m is 8.58 game units, 4.29 at the actor's scale of 2.
    ModelNode ball = ObjectModel(kTexBall);
    AddSphere(ball, 0, {0, 0, 0}, 4.29f, 20, 12);
    out.push_back(ModelResource(kBallModel, ball));

    // The shadow is drawn 8.59 game units up (the ball's centre), so it lies 4.27 below its origin.
    ModelNode shadow = ObjectModel(kTexShadow);
    FlatQuad(shadow, -5.5f, -5.5f, 5.5f, 5.5f, -4.27f);
    out.push_back(ModelResource(kBallShadowModel, shadow));

    // Reflections: small caps just outside the ball, a highlight on top and a glint below.
    for (int k = 0; k < 2; ++k) {
        ModelNode cap = ObjectModel(kTexReflection);
        std::vector<ProfilePoint> profile;
        for (int i = 0; i <= 4; ++i) {
            const float a = 0.5f * kPi - 0.35f * float(4 - i) / 4.0f;
            const float z = 4.31f * std::sin(a), r = 4.31f * std::cos(a);
            profile.push_back({r, k == 0 ? z : -z});
        }
        if (k == 1) std::reverse(profile.begin(), profile.end());
        AddLathe(cap, 0, {0, 0, 0}, profile, 12);
        out.push_back(ModelResource(k == 0 ? kBallReflTopModel : kBallReflBotModel, cap));
    }

    // The bowlers' shadow, in feet under the character.
    ModelNode characterShadow = ObjectModel(kTexShadow);
    FlatQuad(characterShadow, -1.3f, -1.3f, 1.3f, 1.3f, 0.02f);
    out.push_back(ModelResource(kCharacterShadowModel, characterShadow));

    // The pin: 15 inches tall, centred on its origin (the body stands at Z 15 game units).
    ModelNode pin = ObjectModel(kTexPin);
    const std::vector<ProfilePoint> profile = {{0.0f, -7.5f}, {1.0f, -7.5f}, {1.7f, -6.5f}, {2.2f, -5.0f},
                                               {2.38f, -3.0f}, {2.2f, -1.0f}, {1.6f, 1.0f}, {0.9f, 2.5f},
                                               {1.0f, 3.8f},  {1.27f, 5.6f}, {1.1f, 6.8f}, {0.6f, 7.4f},
                                               {0.0f, 7.5f}};
    AddLathe(pin, 0, {0, 0, 0}, profile, 16, 1.0f, 0.0f);
    out.push_back(ModelResource(kPinModel, pin));

    // Bumpers: rails along both lane edges. An actor of heading 0 is turned half round, so the
    // rails run along +y in the model; the actor stretches y by 22.1 from Y 1392 back to the line.
    ModelNode bumper = ObjectModel(kTexBumper);
    for (int s = -1; s <= 1; s += 2)
        AddBox(bumper, 0, {float(s) * (kLaneHalf + 0.02f) - 0.08f, 0.0f, 0.0f},
               {float(s) * (kLaneHalf + 0.02f) + 0.08f, 63.0f, 0.25f}, 1.0f);
    out.push_back(ModelResource(kBumperModel, bumper));

    // The aim line (scale 24, turned by the aim): a thin strip 40 feet down the lane.
    ModelNode aim = ObjectModel(kTexAim);
    FlatQuad(aim, -0.06f, 0.5f, 0.06f, 40.0f, 0.0f);
    out.push_back(ModelResource(kAimModel, aim));

    // The position and angle markers: small arrowheads.
    for (int k = 0; k < 4; ++k) {
        ModelNode marker = ObjectModel(kTexMarker);
        const float s = (k % 2 == 0) ? -1.0f : 1.0f;
        Vertex v[3];
        const float p[3][2] = {{0.0f, 0.0f}, {0.35f * s, 0.2f}, {0.35f * s, -0.2f}};
        for (int i = 0; i < 3; ++i) v[i].pos[0] = p[i][0], v[i].pos[1] = p[i][1], v[i].uv[0] = v[i].uv[1] = 0.5f;
        AddVertices(marker, {v[0], v[1], v[2]});
        AddStrip(marker, 0, {0, 1, 2});
        out.push_back(ModelResource(kAimPosLModel + k, marker));
    }

    // The oil overlay: the lane from the foul line to 41 feet (the actor stretches y by 16.4 from
    // Y 984). Its actor has heading 0 and so is turned half round: the model lies along +y with
    // +x on the lane's negative side, so that the texture's first column (board 0) and last row
    // (the foul line) land there.
    ModelNode oil = ObjectModel(kTexOil);
    FlatQuad(oil, kLaneHalf, 60.0f, -kLaneHalf, 0.0f, 0.0f);
    out.push_back(ModelResource(kOilModel, oil));

    // The textures the oil overlay takes for the game's pattern (member = pattern - 1).
    Resource oilPatterns;
    oilPatterns.id = kOilTextureGroup;
    oilPatterns.type = kTypeGroup;
    for (int p = 1; p <= kNumOilPatterns; ++p) oilPatterns.members.push_back(BitmapResource(0, OilPatternTexture(p), kPixelRGBA4));
    out.push_back(oilPatterns);

    // The balls' textures for the model (group 901, member = ball index + 2) and their pictures.
    Resource ballTextures;
    ballTextures.id = kBallTextureGroup;
    ballTextures.type = kTypeGroup;
    Resource pictures;
    pictures.id = kBallPictureGroup;
    pictures.type = kTypeGroup;
    for (int b = -2; b < kNumBallLooks; ++b) {
        ballTextures.members.push_back(BitmapResource(0, BallTexture(b < 0 ? 0 : b), kPixelRGB565));
        if (b >= 0) pictures.members.push_back(BitmapResource(0, BallPicture(b), kPixelRGBA4));
    }
    out.push_back(ballTextures);
    out.push_back(pictures);
    return out;
}

}  // namespace

const int kAlleyLayerGroups[kNumAlleys] = {104, 206, 306, 406, 506, 606};
const int kAlleyMarqueeGroups[kNumAlleys] = {103, 203, 303, 403, 503, 603};
const int kAlleyTurnLightGroups[kNumAlleys][2] = {{108, 109}, {210, 211}, {310, 311}, {410, 411}, {510, 511}, {610, 611}};

std::vector<Resource> ModelContent()
{
    std::vector<Resource> out;
    for (int a = 0; a < kNumAlleys; ++a)
        for (Resource& r : AlleyContent(a)) out.push_back(std::move(r));
    for (Resource& r : LaneObjectContent()) out.push_back(std::move(r));
    return out;
}

}  // namespace mkrom
