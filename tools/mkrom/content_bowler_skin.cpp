// The bowlers' skinned bodies: tubes along the bones of each body mesh's skeleton (pelvis and
// spine, neck and head, legs and feet, arms and hands) in feet, bind pose, with a skin texture of
// four colour bands (skin, shirt, trousers, shoes). Each tube follows its bone; the ring at its
// joint is shared half and half with the parent bone, so that the joints bend smoothly. The bones
// are split into palettes of at most 16, one strip each.
#include <cmath>
#include <map>
#include <set>
#include <string>

#include "bitmap_writer.h"
#include "content_bowler.h"
#include "content_models.h"
#include "host/gpu.h"
#include "mesh_shapes.h"

namespace mkrom {

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kSides = 8;
constexpr int kMaxPalette = 16;
// A tube whose ring at a lies this close to its bone's joint bends there with the parent bone.
constexpr float kAtJoint = 0.2f;

enum Band { kSkin, kShirt, kTrousers, kShoes };

struct Part {
    std::string bone;    // the bone the tube follows
    std::string parent;  // shares the joint ring
    std::string end;     // the joint the tube reaches ("" for the hand: it reaches past the wrist)
    float r0, r1;        // radius at the joint and at the end
    Band band;
};

std::vector<Part> Parts()
{
    std::vector<Part> parts = {
        {"pelvis", "pelvis", "spine1", 0.55f, 0.5f, kTrousers},
        {"spine1", "pelvis", "spine2", 0.5f, 0.52f, kShirt},
        {"spine2", "spine1", "chest", 0.52f, 0.6f, kShirt},
        {"chest", "spine2", "neck", 0.6f, 0.3f, kShirt},
        {"neck", "chest", "head", 0.18f, 0.18f, kSkin},
    };
    for (const char* s : {"_L", "_R"}) {
        const std::string x = s;
        parts.push_back({"thigh" + x, "pelvis", "shin" + x, 0.32f, 0.22f, kTrousers});
        parts.push_back({"shin" + x, "thigh" + x, "foot" + x, 0.21f, 0.14f, kTrousers});
        parts.push_back({"foot" + x, "shin" + x, "toe" + x, 0.15f, 0.11f, kShoes});
        parts.push_back({"clavicle" + x, "chest", "upperarm" + x, 0.2f, 0.19f, kShirt});
        parts.push_back({"upperarm" + x, "clavicle" + x, "forearm" + x, 0.17f, 0.14f, kSkin});
        parts.push_back({"forearm" + x, "upperarm" + x, "hand" + x, 0.13f, 0.1f, kSkin});
        parts.push_back({"hand" + x, "forearm" + x, "", 0.1f, 0.07f, kSkin});
    }
    return parts;
}

RgbaImage SkinTexture(int body)
{
    static const uint8_t shirts[6][3] = {{200, 40, 40}, {40, 90, 200}, {240, 200, 40}, {40, 160, 90}, {150, 60, 180}, {240, 120, 40}};
    const uint8_t* shirt = shirts[(body / 7) % 6];
    const uint8_t bands[4][3] = {{224, 172, 140}, {shirt[0], shirt[1], shirt[2]}, {45, 50, 70}, {240, 240, 240}};
    RgbaImage img(16, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x) {
            uint8_t* p = img.At(x, y);
            for (int c = 0; c < 3; ++c) p[c] = bands[y / 8][c];
            p[3] = 255;
        }
    return img;
}

struct V3 {
    float x, y, z;
};
V3 Sub(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 Add(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 Mul(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 Unit(V3 a)
{
    const float l = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return l > 0 ? Mul(a, 1.0f / l) : V3{0, 0, 1};
}

// A tube from a to b with a cap at each end; the joint ring (and its cap) weighted half to the
// parent's palette entry. Appends to the node and the strip.
void AddTube(ModelNode& node, Strip& strip, V3 a, V3 b, float r0, float r1, float v, uint8_t own, uint8_t parent)
{
    const V3 axis = Unit(Sub(b, a));
    const V3 side = Unit(Cross(std::fabs(axis.z) < 0.9f ? V3{0, 0, 1} : V3{1, 0, 0}, axis));
    const V3 up = Cross(axis, side);
    auto vertex = [&](V3 p, V3 n, float u, int ring) {
        Vertex out;
        out.pos[0] = p.x, out.pos[1] = p.y, out.pos[2] = p.z;
        out.normal[0] = n.x, out.normal[1] = n.y, out.normal[2] = n.z;
        out.uv[0] = u, out.uv[1] = v;
        out.bones[0] = own;
        out.bones[1] = parent;
        out.weights[0] = ring == 0 ? 0.5f : 1.0f;
        out.weights[1] = ring == 0 ? 0.5f : 0.0f;
        out.weights[2] = 0.0f;
        return out;
    };
    const float ts[3] = {0.0f, 0.5f, 1.0f};
    const uint16_t first = uint16_t(node.vertices.size());
    std::vector<Vertex> verts;
    for (int ring = 0; ring < 3; ++ring) {
        const V3 c = Add(a, Mul(Sub(b, a), ts[ring]));
        const float r = r0 + (r1 - r0) * ts[ring];
        for (int s = 0; s <= kSides; ++s) {
            const float t = 2.0f * kPi * float(s) / float(kSides);
            const V3 n = Add(Mul(side, std::cos(t)), Mul(up, std::sin(t)));
            verts.push_back(vertex(Add(c, Mul(n, r)), n, float(s) / float(kSides), ring));
        }
    }
    verts.push_back(vertex(a, Mul(axis, -1.0f), 0.5f, 0));
    verts.push_back(vertex(b, axis, 0.5f, 2));
    AddVertices(node, verts);
    const int ringSize = kSides + 1;
    auto append = [&](const std::vector<uint16_t>& s) { JoinStrip(strip.indices, s); };
    for (int ring = 0; ring < 2; ++ring) {
        std::vector<uint16_t> s;
        for (int k = 0; k <= kSides; ++k) {
            s.push_back(uint16_t(first + (ring + 1) * ringSize + k));
            s.push_back(uint16_t(first + ring * ringSize + k));
        }
        append(s);
    }
    const uint16_t capA = uint16_t(first + 3 * ringSize), capB = uint16_t(capA + 1);
    std::vector<uint16_t> fanA, fanB;
    for (int k = 0; k <= kSides; ++k) {
        fanA.push_back(uint16_t(first + k));
        fanA.push_back(capA);
        fanB.push_back(capB);
        fanB.push_back(uint16_t(first + 2 * ringSize + k));
    }
    append(fanA);
    append(fanB);
}

}  // namespace

ModelNode BowlerTubeModel(int body, const std::vector<BowlerTube>& tubes, uint32_t material)
{
    ModelNode mesh;
    mesh.format = 8;
    mesh.flags = 0x800;
    mesh.materials.push_back(material);
    const std::vector<std::string> names = BowlerBoneNames(body);
    std::map<std::string, int> bone;
    for (size_t i = 0; i < names.size(); ++i) bone[names[i]] = int(i);
    size_t t = 0;
    while (t < tubes.size()) {
        Strip strip;
        std::set<int> used;
        std::vector<int> palette;
        auto entry = [&](int b) {
            for (size_t i = 0; i < palette.size(); ++i)
                if (palette[i] == b) return uint8_t(i);
            palette.push_back(b);
            return uint8_t(palette.size() - 1);
        };
        for (; t < tubes.size(); ++t) {
            const BowlerTube& tube = tubes[t];
            // Only a ring at the joint is shared with the parent bone. One farther along the bone
            // (a glove's wrist strap, a sock's top, a cap) is its bone's alone: shared, it would be
            // pulled off the limb, towards where the parent bone points, whenever the joint bends.
            float joint[3] = {0.0f, 0.0f, 0.0f};
            BowlerBindPosition(body, bone.at(tube.bone), joint);
            const V3 offset = Sub({tube.a[0], tube.a[1], tube.a[2]}, {joint[0], joint[1], joint[2]});
            const bool atJoint = std::sqrt(offset.x * offset.x + offset.y * offset.y + offset.z * offset.z) <= kAtJoint;
            const int carrier = bone.at(tube.bone), sharer = bone.at(atJoint ? tube.parent : tube.bone);
            std::set<int> need = used;
            need.insert(carrier);
            need.insert(sharer);
            if (need.size() > size_t(kMaxPalette)) break;
            used = need;
            const uint8_t own = entry(carrier), parent = entry(sharer);
            AddTube(mesh, strip, {tube.a[0], tube.a[1], tube.a[2]}, {tube.b[0], tube.b[1], tube.b[2]}, tube.r0, tube.r1,
                    tube.v, own, parent);
        }
        strip.palette.assign(palette.begin(), palette.end());
        mesh.strips.push_back(strip);
    }
    return mesh;
}

std::vector<Resource> BowlerSkinMembers(int body)
{
    const std::vector<std::string> names = BowlerBoneNames(body);
    if (names.empty()) return {};
    std::map<std::string, int> bone;
    for (size_t i = 0; i < names.size(); ++i) bone[names[i]] = int(i);
    auto position = [&](const std::string& name) {
        float p[3] = {0, 0, 0};
        BowlerBindPosition(body, bone.at(name), p);
        return V3{p[0], p[1], p[2]};
    };

    std::vector<BowlerTube> tubes;
    for (const Part& part : Parts()) {
        const V3 a = position(part.bone);
        // The hand reaches past the wrist along the forearm.
        const V3 e = part.end.empty() ? Add(a, Mul(Unit(Sub(a, position(part.parent))), 0.4f)) : position(part.end);
        tubes.push_back({part.bone, part.parent, {a.x, a.y, a.z}, {e.x, e.y, e.z}, part.r0, part.r1,
                         (float(part.band) + 0.5f) / 4.0f});
    }
    // Head: a tube from the neck's top up over the face.
    const V3 head = position("head");
    tubes.push_back({"head", "neck", {head.x, head.y, head.z - 0.1f}, {head.x, head.y - 0.05f, head.z + 0.75f}, 0.36f, 0.3f, 0.12f});

    std::vector<Resource> out;
    out.push_back(BitmapResource(0, SkinTexture(body), kPixelRGB565));
    out.push_back(ModelResource(0, BowlerTubeModel(body, tubes, uint32_t(body) << 16 | 1u)));
    return out;
}

}  // namespace mkrom
