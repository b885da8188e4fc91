// The animated props of the alleys: for each alley a group of prop models, each followed by its
// object animation, a small colour-swatch texture the props are painted from, and a level listing
// the props and where the game stands them.
//
// Every prop is a root node (what hangs from the ceiling) with one moving child node (blades, a
// sign panel, a mirror ball), all with their base pose at the origin, so that any animation of an
// alley fits any of its props: outside the first alley the game swaps props and animations at
// random. Model units are feet, +Z up, +Y down the lane, the origin on the foul line of the lane
// the prop stands over.
#include "content_objects.h"

#include <cmath>

#include "bitmap_writer.h"
#include "host/gpu.h"
#include "mesh_shapes.h"
#include "objectanim_writer.h"
#include "platform/bitmap.h"

namespace mkrom {

namespace {

constexpr int16_t kTypeLevelResource = kResourceTypeLevel;
constexpr int16_t kTypeObjectAnimationResource = kResourceTypeObjectAnimation;
constexpr int kSwatchColumns = 4;
constexpr int kSwatchTexels = 4;
constexpr float kPropScale = 24.0f;    // the game draws the props at 24 units per model foot
constexpr float kLaneSpacing = 133.0f;  // game units from one lane's centre to the next

// The colours of an alley's swatch texture: two rows of four, each stored twice (top and bottom
// halves mirror each other, so a swatch reads the same whichever way v runs).
struct Palette {
    uint8_t rgb[2][kSwatchColumns][3];
};

// Swatch indices.
enum { kMetal, kDark, kAccent, kAccent2, kLight, kGlass, kTrim, kWarm };

const Palette kAlleyPalettes[kNumPropAlleys] = {
    // 0: a classic alley: brass, walnut, red and cream.
    {{{{190, 160, 90}, {70, 45, 30}, {200, 40, 40}, {240, 220, 170}}, {{250, 250, 240}, {160, 200, 230}, {30, 30, 30}, {230, 130, 40}}}},
    // 1: neon night: chrome, black, magenta and cyan.
    {{{{200, 200, 210}, {20, 20, 30}, {230, 40, 200}, {40, 220, 230}}, {{250, 250, 255}, {150, 160, 255}, {60, 60, 80}, {255, 200, 60}}}},
    // 2: seaside: white, navy, coral and sea green.
    {{{{230, 230, 225}, {30, 40, 90}, {250, 110, 90}, {60, 170, 150}}, {{255, 255, 250}, {170, 220, 240}, {200, 170, 120}, {250, 200, 80}}}},
    // 3: retro diner: chrome, cherry, mint and yellow.
    {{{{210, 210, 210}, {120, 20, 30}, {140, 220, 180}, {250, 220, 60}}, {{255, 250, 240}, {180, 220, 230}, {40, 40, 40}, {240, 120, 60}}}},
    // 4: mountain lodge: iron, pine, rust and gold.
    {{{{110, 110, 115}, {40, 70, 40}, {170, 80, 40}, {220, 180, 80}}, {{235, 225, 200}, {150, 180, 200}, {60, 40, 30}, {200, 110, 50}}}},
    // 5: space age: silver, deep blue, orange and lime.
    {{{{180, 190, 200}, {20, 30, 70}, {250, 130, 30}, {150, 230, 60}}, {{240, 245, 255}, {120, 180, 255}, {50, 50, 70}, {255, 90, 90}}}},
};

RgbaImage SwatchImage(const Palette& palette)
{
    const int side = kSwatchColumns * kSwatchTexels;
    RgbaImage image(side, side);
    for (int y = 0; y < side; ++y) {
        const int band = y / kSwatchTexels;            // 0..3 from the top
        const int row = band < 2 ? band : 3 - band;    // 0, 1, 1, 0
        for (int x = 0; x < side; ++x) {
            const uint8_t* c = palette.rgb[row][x / kSwatchTexels];
            uint8_t* p = image.At(x, y);
            p[0] = c[0];
            p[1] = c[1];
            p[2] = c[2];
            p[3] = 255;
        }
    }
    return image;
}

// The texture coordinates of the middle of a swatch (its upper copy).
void SwatchUv(int swatch, float* u, float* v)
{
    const float cell = 1.0f / float(kSwatchColumns);
    *u = (float(swatch % kSwatchColumns) + 0.5f) * cell;
    *v = (float(swatch / kSwatchColumns) + 0.5f) * cell;
}

// An axis-aligned box from lo to hi in one swatch colour, faces pointing outwards.
void SolidBox(ModelNode& node, int swatch, Vec3 lo, Vec3 hi)
{
    float u, v;
    SwatchUv(swatch, &u, &v);
    auto quad = [&](Vec3 a, Vec3 b, Vec3 c, Vec3 d) { AddQuad(node, 0, a, b, c, d, u, v, u, v); };
    quad({hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {hi.x, lo.y, hi.z});
    quad({lo.x, hi.y, lo.z}, {lo.x, lo.y, lo.z}, {lo.x, lo.y, hi.z}, {lo.x, hi.y, hi.z});
    quad({hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}, {lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z});
    quad({lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z});
    quad({lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z});
    quad({lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, lo.y, lo.z}, {lo.x, lo.y, lo.z});
}

ModelNode PropNode(int texture)
{
    ModelNode node;
    node.format = 1;
    node.materials = {uint32_t(texture)};
    return node;
}

// The ceiling height the props hang from: the alleys' rooms are 14 ft high.
constexpr float kCeiling = 14.0f;

// A ceiling fan over the lane at y: a rod and motor, and four blades turning about the hub.
ModelNode CeilingFan(int texture, float y)
{
    const float hub = 9.2f;
    ModelNode root = PropNode(texture);
    SolidBox(root, kMetal, {-0.08f, y - 0.08f, hub + 0.4f}, {0.08f, y + 0.08f, kCeiling});
    SolidBox(root, kDark, {-0.5f, y - 0.5f, hub + 0.1f}, {0.5f, y + 0.5f, hub + 0.5f});
    root.pivot[0] = 0;
    root.pivot[1] = y;
    root.pivot[2] = kCeiling;

    ModelNode blades = PropNode(texture);
    SolidBox(blades, kMetal, {-0.35f, y - 0.35f, hub - 0.1f}, {0.35f, y + 0.35f, hub + 0.1f});
    SolidBox(blades, kDark, {0.35f, y - 0.3f, hub - 0.03f}, {3.0f, y + 0.3f, hub + 0.03f});
    SolidBox(blades, kDark, {-3.0f, y - 0.3f, hub - 0.03f}, {-0.35f, y + 0.3f, hub + 0.03f});
    SolidBox(blades, kDark, {-0.3f, y + 0.35f, hub - 0.03f}, {0.3f, y + 3.0f, hub + 0.03f});
    SolidBox(blades, kDark, {-0.3f, y - 3.0f, hub - 0.03f}, {0.3f, y - 0.35f, hub + 0.03f});
    blades.pivot[0] = 0;
    blades.pivot[1] = y;
    blades.pivot[2] = hub;
    root.children.push_back(blades);
    return root;
}

// A hanging two-sided sign at y: a rod and a panel with a stripe, turning about the rod.
ModelNode HangingSign(int texture, float y)
{
    const float top = 8.6f;
    ModelNode root = PropNode(texture);
    SolidBox(root, kMetal, {-0.06f, y - 0.06f, top}, {0.06f, y + 0.06f, kCeiling});
    root.pivot[1] = y;
    root.pivot[2] = kCeiling;

    ModelNode panel = PropNode(texture);
    SolidBox(panel, kTrim, {-2.2f, y - 0.1f, top - 2.4f}, {2.2f, y + 0.1f, top});
    SolidBox(panel, kAccent, {-2.0f, y - 0.14f, top - 2.2f}, {2.0f, y + 0.14f, top - 0.2f});
    SolidBox(panel, kLight, {-1.6f, y - 0.17f, top - 1.5f}, {1.6f, y + 0.17f, top - 0.9f});
    panel.pivot[1] = y;
    panel.pivot[2] = top;
    root.children.push_back(panel);
    return root;
}

// A mirror ball at y: a rod and the ball, spinning about the rod.
ModelNode MirrorBall(int texture, float y)
{
    const float centre = 9.0f;
    ModelNode root = PropNode(texture);
    SolidBox(root, kMetal, {-0.05f, y - 0.05f, centre + 0.8f}, {0.05f, y + 0.05f, kCeiling});
    root.pivot[1] = y;
    root.pivot[2] = kCeiling;

    ModelNode ball = PropNode(texture);
    // The sphere's texture spans the whole swatch texture: facets of every colour.
    AddSphere(ball, 0, {0, y, centre}, 0.9f, 12, 8);
    ball.pivot[1] = y;
    ball.pivot[2] = centre;
    root.children.push_back(ball);
    return root;
}

// A track of frames + 1 keyframes for one node, turned about the axis by angle(i) degrees at
// keyframe i; the last keyframe repeats the first pose, so the loop has no jump.
template <class Angle>
AnimationNode Turning(int frames, float ax, float ay, float az, Angle angle)
{
    AnimationNode node;
    for (int i = 0; i <= frames; ++i) node.frames.push_back(Keyframe(0, 0, 0, ax, ay, az, angle(i)));
    return node;
}

AnimationNode Still(int frames)
{
    return Turning(frames, 0, 0, 1, [](int) { return 0.0f; });
}

// The game starts each prop at a random frame of 0, 20, ... 200 and restarts a run two frames
// before its last keyframe, so a run is made long enough for every start to fall inside it: a
// whole number of cycles of at least this many frames.
constexpr int kMinRunFrames = 204;

int RunFrames(int cycle) { return (kMinRunFrames + cycle - 1) / cycle * cycle; }

// The whole child turning round the vertical axis, once every `cycle` frames.
AnimationNode Spin(int cycle, float rate, bool clockwise)
{
    const int frames = RunFrames(cycle);
    AnimationNode root = Still(frames);
    root.rateRatio = rate;
    // Angles are kept within two turns (a whole turn of the quaternions), so that they stay
    // exact and each keyframe is still a short turn from the one before.
    const float step = (clockwise ? -360.0f : 360.0f) / float(cycle);
    root.children.push_back(Turning(frames, 0, 0, 1, [=](int i) { return step * float(i % (2 * cycle)); }));
    return root;
}

// The child swinging to and fro about the X axis (across the lane), amplitude in degrees, once
// every `cycle` frames.
AnimationNode Swing(int cycle, float rate, float amplitude)
{
    const int frames = RunFrames(cycle);
    AnimationNode root = Still(frames);
    root.rateRatio = rate;
    root.children.push_back(Turning(frames, 1, 0, 0, [=](int i) {
        return amplitude * std::sin(6.2831853f * float(i % cycle) / float(cycle));
    }));
    return root;
}

// The X of slot i of the alley's object table, the same placement the game uses.
std::vector<float> SlotPositions(int alley)
{
    std::vector<float> x;
    auto range = [&](int first, int last, int centre, float shift, std::initializer_list<int> skip) {
        for (int i = first; i <= last; ++i) {
            bool skipped = false;
            for (int s : skip) skipped = skipped || s == i;
            if (!skipped) x.push_back(float(i - centre) * kLaneSpacing + shift);
        }
    };
    switch (alley) {
    case 1: range(0, 14, 6, 0, {5, 6, 7}); break;
    case 2: range(0, 10, 2, 0, {1, 2, 3}); break;
    case 3: range(0, 5, 2, 0, {1, 2, 3}); break;
    case 4: range(0, 9, 6, 0, {5, 6, 7}); break;
    case 5:
        range(1, 5, 9, -41, {});
        range(6, 11, 9, 0, {8, 9, 10});
        range(12, 15, 9, 41, {});
        break;
    default: break;
    }
    return x;
}

struct PropKind {
    const char* name;
    ModelNode model;
    AnimationNode animation;
};

std::vector<PropKind> AlleyProps(int alley, int texture)
{
    switch (alley) {
    case 0:
        return {{"ceiling fan", CeilingFan(texture, 14.0f), Spin(8, 0.45f, false)},
                {"hanging sign", HangingSign(texture, 30.0f), Swing(16, 0.3f, 8.0f)},
                {"mirror ball", MirrorBall(texture, 46.0f), Spin(12, 0.25f, true)}};
    case 1:
        return {{"mirror ball", MirrorBall(texture, 24.0f), Spin(12, 0.3f, false)},
                {"hanging sign", HangingSign(texture, 40.0f), Spin(12, 0.2f, true)}};
    case 2:
        return {{"ceiling fan", CeilingFan(texture, 20.0f), Spin(8, 0.35f, true)},
                {"hanging sign", HangingSign(texture, 36.0f), Swing(16, 0.25f, 12.0f)}};
    case 3:
        return {{"hanging sign", HangingSign(texture, 22.0f), Spin(12, 0.25f, false)},
                {"ceiling fan", CeilingFan(texture, 38.0f), Spin(8, 0.5f, false)}};
    case 4:
        return {{"ceiling fan", CeilingFan(texture, 18.0f), Spin(8, 0.3f, false)},
                {"hanging sign", HangingSign(texture, 34.0f), Swing(16, 0.2f, 6.0f)},
                {"mirror ball", MirrorBall(texture, 50.0f), Spin(12, 0.2f, true)}};
    default:
        return {{"mirror ball", MirrorBall(texture, 20.0f), Spin(12, 0.4f, true)},
                {"ceiling fan", CeilingFan(texture, 32.0f), Spin(8, 0.6f, true)},
                {"hanging sign", HangingSign(texture, 44.0f), Swing(16, 0.3f, 10.0f)}};
    }
}

}  // namespace

// Alley a (from 0) owns the ids of the hundred (a + 1) x 100.
int PropGroupId(int alley) { return alley == 0 ? 107 : (alley + 1) * 100 + 9; }
int PropTextureId(int alley) { return (alley + 1) * 100 + 1; }
int PropLevelId(int alley) { return (alley + 1) * 100 + 2; }

std::vector<Resource> ObjectContent()
{
    std::vector<Resource> out;
    for (int alley = 0; alley < kNumPropAlleys; ++alley) {
        const int texture = PropTextureId(alley);
        out.push_back(BitmapResource(texture, SwatchImage(kAlleyPalettes[alley]), kPixelRGB8));

        std::vector<PropKind> kinds = AlleyProps(alley, texture);
        Resource group;
        group.id = PropGroupId(alley);
        group.type = kTypeGroup;
        std::vector<LevelObject> objects;
        for (size_t k = 0; k < kinds.size(); ++k) {
            group.members.push_back(ModelResource(0, kinds[k].model));
            Resource animation;
            animation.type = kTypeObjectAnimationResource;
            animation.bytes = ObjectAnimationBytes(kinds[k].animation);
            animation.compressed = true;
            group.members.push_back(std::move(animation));

            LevelObject object;
            object.name = kinds[k].name;
            object.resourceID = (group.id << 16) | int(2 * k);
            objects.push_back(object);
        }

        // Where the game first stands the props: in the first alley each kind once on the
        // player's own lane, elsewhere the table's slots dealt out to the kinds in turn.
        const DI_instance_tag standing = {{0, 0, 0}, {0, 0, 0}, {kPropScale, kPropScale, kPropScale}};
        if (alley == 0) {
            for (LevelObject& o : objects) o.instances.push_back(standing);
        } else {
            const std::vector<float> slots = SlotPositions(alley);
            for (size_t i = 0; i < slots.size(); ++i) {
                DI_instance_tag at = standing;
                at.position.x = slots[i];
                objects[i % objects.size()].instances.push_back(at);
            }
        }
        Resource level;
        level.id = PropLevelId(alley);
        level.type = kTypeLevelResource;
        level.bytes = LevelBytes("alley " + std::to_string(alley + 1) + " props", "", objects);
        level.compressed = true;
        out.push_back(std::move(level));
        out.push_back(std::move(group));
    }
    return out;
}

}  // namespace mkrom
