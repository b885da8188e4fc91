// The collision groups of the six alleys: the lane bed and the two gutter troughs, in feet of lane
// (x across, 0 on the centre line; y from the foul line; z up, 0 on the lane surface). The physics
// world builds its gutter meshes from these, so they must meet its lane bed: a box 43 game units
// (21.5 inches of real lane) either side of the centre line, its top at height 0, reaching 63 feet
// from the foul line. See content/README.md for the choice of sizes.
#include <cmath>
#include <cstring>

#include "content.h"
#include "game/collision.h"
#include "game/lane.h"

namespace mkrom {

static const int16_t kTypeCollisionModel = kResourceTypeCollisionModel;

// The lane's own sizes are the game's (game/lane.h). The trough: 9.25 inches wide and 1.875 inches deep in real lane, doubled as everything in game
// units, with a lip at its outer edge.
static const double kGutterWidth = 18.5;
static const double kGutterDepth = 3.75;
static const double kGutterLip = 6.0;
static const int kArcSegments = 8;

struct Point3 {
    double x, y, z;
};

static Point3 Sub(Point3 a, Point3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
static Point3 Cross(Point3 a, Point3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
static double Dot(Point3 a, Point3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
static Point3 Unit(Point3 a)
{
    double n = std::sqrt(Dot(a, a));
    return n > 0 ? Point3{a.x / n, a.y / n, a.z / n} : a;
}

static CollisionFace Face(Point3 a, Point3 b, Point3 c, const uint8_t color[4])
{
    CollisionFace f;
    std::memset(&f, 0, sizeof f);
    const Point3 v[3] = {a, b, c};
    const Point3 centre = {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
    const Point3 normal = Unit(Cross(Sub(b, a), Sub(c, a)));
    double radiusSq = 0;
    for (int k = 0; k < 3; ++k) {
        Point3 d = Sub(v[k], centre);
        radiusSq = std::fmax(radiusSq, Dot(d, d));
        const Point3 edge = Unit(Cross(Sub(v[(k + 1) % 3], v[k]), normal));
        const double corner[3] = {v[k].x, v[k].y, v[k].z}, out[3] = {edge.x, edge.y, edge.z};
        for (int i = 0; i < 3; ++i) {
            f.verts[k][i] = float(corner[i]);
            f.originalVerts[k][i] = float(corner[i]);
            f.edgeNormals[k][i] = float(out[i]);
        }
    }
    f.center[0] = float(centre.x);
    f.center[1] = float(centre.y);
    f.center[2] = float(centre.z);
    f.radiusSq = float(radiusSq);
    f.planeCoefficients[0] = float(normal.x);
    f.planeCoefficients[1] = float(normal.y);
    f.planeCoefficients[2] = float(normal.z);
    f.planeCoefficients[3] = float(-Dot(normal, a));
    std::memcpy(f.faceColor, color, 4);
    f.faceFlat = normal.z > 0.999 ? 1 : 0;
    return f;
}

// A model of the faces, bounded by the sphere around all their corners.
static std::vector<uint8_t> Model(const std::vector<CollisionFace>& faces)
{
    Point3 lo = {1e30, 1e30, 1e30}, hi = {-1e30, -1e30, -1e30};
    for (const CollisionFace& f : faces)
        for (const auto& v : f.verts) {
            lo = {std::fmin(lo.x, v[0]), std::fmin(lo.y, v[1]), std::fmin(lo.z, v[2])};
            hi = {std::fmax(hi.x, v[0]), std::fmax(hi.y, v[1]), std::fmax(hi.z, v[2])};
        }
    const Point3 centre = {(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2};
    double radiusSq = 0;
    for (const CollisionFace& f : faces)
        for (const auto& v : f.verts) {
            Point3 d = Sub({v[0], v[1], v[2]}, centre);
            radiusSq = std::fmax(radiusSq, Dot(d, d));
        }

    CollisionModelInfo info;
    std::memset(&info, 0, sizeof info);
    info.center[0] = float(centre.x);
    info.center[1] = float(centre.y);
    info.center[2] = float(centre.z);
    info.radiusSq = float(radiusSq);
    info.numFaces = int32_t(faces.size());
    std::vector<uint8_t> bytes(sizeof info + faces.size() * sizeof(CollisionFace));
    std::memcpy(bytes.data(), &info, sizeof info);
    if (!faces.empty()) std::memcpy(bytes.data() + sizeof info, faces.data(), faces.size() * sizeof(CollisionFace));
    return bytes;
}

static Point3 Feet(double x, double y, double z) { return {x / kUnitsPerFoot, y / kUnitsPerFoot, z / kUnitsPerFoot}; }

static std::vector<uint8_t> LaneBed()
{
    static const uint8_t maple[4] = {0xC8, 0xA0, 0x6E, 0xFF};
    const Point3 a = Feet(-kLaneBedHalfWidth, 0, 0), b = Feet(kLaneBedHalfWidth, 0, 0);
    const Point3 c = Feet(kLaneBedHalfWidth, kLaneLength, 0), d = Feet(-kLaneBedHalfWidth, kLaneLength, 0);
    return Model({Face(a, b, c, maple), Face(a, c, d, maple)});
}

// The cross-section of a gutter, x increasing, in game units: a circular arc from the lane edge
// down to kGutterDepth and up to the outer edge, then the lip. side -1 is the left gutter.
static std::vector<Point3> GutterProfile(int side)
{
    const double half = kGutterWidth / 2;
    const double radius = (half * half + kGutterDepth * kGutterDepth) / (2 * kGutterDepth);
    const double centreZ = radius - kGutterDepth;
    const double sweep = std::asin(half / radius);
    const double middle = kLaneBedHalfWidth + half;
    std::vector<Point3> right;
    for (int i = 0; i <= kArcSegments; ++i) {
        double angle = -sweep + 2 * sweep * i / kArcSegments;
        right.push_back({middle + radius * std::sin(angle), 0, centreZ - radius * std::cos(angle)});
    }
    // The arc's ends lie on the lane surface exactly.
    right.front() = {kLaneBedHalfWidth, 0, 0};
    right.back() = {kLaneBedHalfWidth + kGutterWidth, 0, 0};
    right.push_back({kLaneBedHalfWidth + kGutterWidth, 0, kGutterLip});
    if (side > 0) return right;
    std::vector<Point3> left;
    for (auto p = right.rbegin(); p != right.rend(); ++p) left.push_back({-p->x, 0, p->z});
    return left;
}

// The trough swept down the lane in one piece. With the profile's x increasing, every face's
// normal points up and into the trough. There is no seam across the trough: a ball rolling fast
// over the edge of the next triangle takes a contact from that edge and jumps.
static std::vector<uint8_t> Gutter(int side)
{
    static const uint8_t steel[4] = {0x50, 0x50, 0x58, 0xFF};
    const std::vector<Point3> profile = GutterProfile(side);
    std::vector<CollisionFace> faces;
    for (size_t i = 0; i + 1 < profile.size(); ++i) {
        const Point3 p = profile[i], q = profile[i + 1];
        const Point3 a = Feet(p.x, 0, p.z), b = Feet(q.x, 0, q.z), c = Feet(q.x, kLaneLength, q.z),
                     d = Feet(p.x, kLaneLength, p.z);
        faces.push_back(Face(a, b, c, steel));
        faces.push_back(Face(a, c, d, steel));
    }
    return Model(faces);
}

std::vector<Resource> CollisionContent()
{
    std::vector<Resource> content;
    for (const CollisionEnvironment& env : collisionEnviroments) {
        if (env.group == 0) continue;
        Resource group;
        group.id = env.group;
        group.type = kTypeGroup;
        for (int k = 0; env.items[k].type != kCollisionItemEnd; ++k) {
            Resource member;
            member.type = kTypeCollisionModel;
            member.bytes = env.items[k].type == kCollisionItemLaneBed ? LaneBed()
                           : k == kCollisionLeftGutterItem               ? Gutter(-1)
                                                                        : Gutter(1);
            member.compressed = true;
            group.members.push_back(std::move(member));
        }
        content.push_back(std::move(group));
    }
    return content;
}

}  // namespace mkrom
