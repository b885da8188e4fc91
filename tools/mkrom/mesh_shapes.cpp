#include "mesh_shapes.h"

#include <cmath>

namespace mkrom {

namespace {

constexpr float kPi = 3.14159265f;

Vec3 Sub(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec3 Unit(Vec3 a)
{
    const float l = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return l > 0 ? Vec3{a.x / l, a.y / l, a.z / l} : a;
}

Vertex Make(Vec3 p, Vec3 n, float u, float v)
{
    Vertex out;
    out.pos[0] = p.x, out.pos[1] = p.y, out.pos[2] = p.z;
    out.normal[0] = n.x, out.normal[1] = n.y, out.normal[2] = n.z;
    out.uv[0] = u, out.uv[1] = v;
    return out;
}

}  // namespace

void AddQuad(ModelNode& node, int material, Vec3 a, Vec3 b, Vec3 c, Vec3 d, float u0, float v0, float u1, float v1)
{
    const Vec3 n = Unit(Cross(Sub(b, a), Sub(d, a)));
    const uint16_t first = AddVertices(node, {Make(a, n, u0, v0), Make(b, n, u1, v0), Make(c, n, u1, v1), Make(d, n, u0, v1)});
    // a, b, d then b, c, d... as a strip: a b d c.
    AddStrip(node, material, {first, uint16_t(first + 1), uint16_t(first + 3), uint16_t(first + 2)});
}

void AddBox(ModelNode& node, int material, Vec3 lo, Vec3 hi, float s)
{
    const float dx = (hi.x - lo.x) * s, dy = (hi.y - lo.y) * s, dz = (hi.z - lo.z) * s;
    // Top and bottom.
    AddQuad(node, material, {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}, 0, 0, dx, dy);
    AddQuad(node, material, {lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, lo.y, lo.z}, {lo.x, lo.y, lo.z}, 0, 0, dx, dy);
    // Front (-y) and back (+y).
    AddQuad(node, material, {lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z}, 0, 0, dx, dz);
    AddQuad(node, material, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}, {lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}, 0, 0, dx, dz);
    // Left (-x) and right (+x).
    AddQuad(node, material, {lo.x, hi.y, lo.z}, {lo.x, lo.y, lo.z}, {lo.x, lo.y, hi.z}, {lo.x, hi.y, hi.z}, 0, 0, dy, dz);
    AddQuad(node, material, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {hi.x, lo.y, hi.z}, 0, 0, dy, dz);
}

void AddLathe(ModelNode& node, int material, Vec3 c, const std::vector<ProfilePoint>& profile, int sides, float v0, float v1)
{
    const size_t rows = profile.size();
    if (rows < 2 || sides < 3) return;
    std::vector<Vertex> verts;
    for (size_t i = 0; i < rows; ++i) {
        // The profile's normal: perpendicular to the neighbouring points' chord, pointing out.
        const ProfilePoint& a = profile[i > 0 ? i - 1 : i];
        const ProfilePoint& b = profile[i + 1 < rows ? i + 1 : i];
        float nr = b.z - a.z, nz = -(b.r - a.r);
        const float l = std::sqrt(nr * nr + nz * nz);
        if (l > 0) nr /= l, nz /= l;
        const float v = v0 + (v1 - v0) * float(i) / float(rows - 1);
        for (int s = 0; s <= sides; ++s) {
            const float t = 2.0f * kPi * float(s) / float(sides);
            const float cx = std::cos(t), sy = std::sin(t);
            verts.push_back(Make({c.x + profile[i].r * cx, c.y + profile[i].r * sy, c.z + profile[i].z},
                                 {nr * cx, nr * sy, nz}, float(s) / float(sides), v));
        }
    }
    const uint16_t first = AddVertices(node, verts);
    const int ring = sides + 1;
    for (size_t i = 0; i + 1 < rows; ++i) {
        std::vector<uint16_t> strip;
        for (int s = 0; s <= sides; ++s) {
            strip.push_back(uint16_t(first + (i + 1) * size_t(ring) + size_t(s)));
            strip.push_back(uint16_t(first + i * size_t(ring) + size_t(s)));
        }
        AddStrip(node, material, strip);
    }
}

void AddSphere(ModelNode& node, int material, Vec3 centre, float r, int sides, int rings)
{
    std::vector<ProfilePoint> profile;
    for (int i = 0; i <= rings; ++i) {
        const float a = -0.5f * kPi + kPi * float(i) / float(rings);
        profile.push_back({r * std::cos(a), r * std::sin(a)});
    }
    AddLathe(node, material, centre, profile, sides);
}

}  // namespace mkrom
