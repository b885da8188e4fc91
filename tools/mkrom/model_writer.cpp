#include "model_writer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace mkrom {

namespace {

constexpr size_t kRecordBytes = 384;
constexpr uint32_t kFlagPalettes = 0x800;
constexpr int kMaxPaletteBones = 16;
const int kStrides[12] = {20, 32, 20, 36, 48, 52, 36, 44, 48, 64, 52, 24};

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out[at + size_t(i)] = uint8_t(v >> (8 * i));
}
void PutF(std::vector<uint8_t>& out, size_t at, float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    Put32(out, at, bits);
}
void AppendF(std::vector<uint8_t>& out, const float* v, int n)
{
    for (int i = 0; i < n; ++i) {
        out.resize(out.size() + 4);
        PutF(out, out.size() - 4, v[i]);
    }
}
void AppendB(std::vector<uint8_t>& out, const uint8_t* v, int n) { out.insert(out.end(), v, v + n); }
void PadTo16(std::vector<uint8_t>& out)
{
    while (out.size() % 16) out.push_back(0);
}

bool Fail(std::string* error, const std::string& why)
{
    if (error) *error = why;
    return false;
}

bool Write(const ModelNode& n, std::vector<uint8_t>& out, std::string* error)
{
    const int stride = VertexStride(n.format);
    if (stride == 0) return Fail(error, "unknown vertex format " + std::to_string(n.format));
    if (n.vertices.size() > 65536) return Fail(error, "more than 65536 vertices");
    const bool palettes = (n.flags & kFlagPalettes) != 0;
    size_t numIndices = 0, numFaces = 0;
    for (const Strip& s : n.strips) {
        if (s.material < 0 || size_t(s.material) >= n.materials.size())
            return Fail(error, "a strip names material " + std::to_string(s.material));
        if (palettes && s.palette.size() > size_t(kMaxPaletteBones))
            return Fail(error, "a palette of " + std::to_string(s.palette.size()) + " bones");
        for (uint16_t i : s.indices)
            if (i >= n.vertices.size()) return Fail(error, "an index past the vertices");
        numIndices += s.indices.size();
        if (s.indices.size() >= 3) numFaces += s.indices.size() - 2;
    }

    const size_t start = out.size();
    out.resize(start + kRecordBytes, 0);
    Put32(out, start + 0, n.flags);
    Put32(out, start + 4, uint32_t(n.materials.size()));
    Put32(out, start + 12, uint32_t(n.vertices.size()));
    out[start + 20] = uint8_t(n.format);
    out[start + 21] = uint8_t(stride);
    Put32(out, start + 24, uint32_t(numFaces));
    for (int i = 0; i < 3; ++i) PutF(out, start + 32 + 4 * size_t(i), n.position[i]);
    PutF(out, start + 44, 1.0f);
    for (int i = 0; i < 4; ++i) PutF(out, start + 48 + 4 * size_t(i), n.rotation[i]);
    for (int i = 0; i < 3; ++i) PutF(out, start + 64 + 4 * size_t(i), n.scale[i]);
    PutF(out, start + 76, 1.0f);
    for (int i = 0; i < 3; ++i) PutF(out, start + 80 + 4 * size_t(i), n.pivot[i]);
    PutF(out, start + 92, 1.0f);
    // The clip volume: the corners of the vertices' bounding box.
    float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    for (size_t v = 0; v < n.vertices.size(); ++v)
        for (int k = 0; k < 3; ++k) {
            const float p = n.vertices[v].pos[k];
            lo[k] = v == 0 ? p : std::fmin(lo[k], p);
            hi[k] = v == 0 ? p : std::fmax(hi[k], p);
        }
    for (int c = 0; c < 8; ++c) {
        const float corner[4] = {(c & 1) ? hi[0] : lo[0], (c & 2) ? hi[1] : lo[1], (c & 4) ? hi[2] : lo[2], 1.0f};
        for (int k = 0; k < 4; ++k) PutF(out, start + 96 + 16 * size_t(c) + 4 * size_t(k), corner[k]);
    }
    Put32(out, start + 224, uint32_t(n.strips.size()));
    Put32(out, start + 232, uint32_t(numIndices));
    Put32(out, start + 240, uint32_t(n.children.size()));
    Put32(out, start + 252, n.skeleton.empty() ? 0 : 1);

    const std::vector<uint8_t> verts = VertexBytes(n.vertices, n.format);
    out.insert(out.end(), verts.begin(), verts.end());
    for (const Strip& s : n.strips)
        for (uint16_t i : s.indices) {
            out.push_back(uint8_t(i));
            out.push_back(uint8_t(i >> 8));
        }
    size_t first = 0;
    for (const Strip& s : n.strips) {
        const size_t at = out.size();
        if (palettes) {
            out.resize(at + 64, 0);
            Put32(out, at, uint32_t(first));
            Put32(out, at + 4, uint32_t(s.indices.size()));
            out[at + 8] = uint8_t(s.material);
            out[at + 9] = uint8_t(s.material >> 8);
            out[at + 10] = uint8_t(s.palette.size());
            for (size_t b = 0; b < s.palette.size(); ++b) out[at + 11 + b] = s.palette[b];
        } else {
            if (first > 0xFFFF) return Fail(error, "a strip starts past index 65535");
            out.resize(at + 16, 0);
            out[at] = uint8_t(s.material);
            out[at + 1] = uint8_t(s.material >> 8);
            out[at + 2] = uint8_t(first);
            out[at + 3] = uint8_t(first >> 8);
            Put32(out, at + 4, 0);
            Put32(out, at + 8, uint32_t(n.vertices.size()));
            Put32(out, at + 12, uint32_t(s.indices.size()));
        }
        first += s.indices.size();
    }
    for (size_t m = 0; m < n.materials.size(); ++m) {
        const size_t at = out.size();
        out.resize(at + 24, 0);
        Put32(out, at, n.materials[m]);
        Put32(out, at + 8, m < n.normalMaps.size() ? n.normalMaps[m] : 0);
    }
    // The image is loaded 16-byte aligned, so offsets from its start pad as addresses do.
    PadTo16(out);
    if (!n.skeleton.empty()) {
        out.insert(out.end(), n.skeleton.begin(), n.skeleton.end());
        PadTo16(out);
    }
    for (const ModelNode& child : n.children)
        if (!Write(child, out, error)) return false;
    return true;
}

}  // namespace

int VertexStride(int format) { return format >= 0 && format < 12 ? kStrides[format] : 0; }

std::vector<uint8_t> VertexBytes(const std::vector<Vertex>& vertices, int format)
{
    std::vector<uint8_t> out;
    const bool lit = format != 0 && format != 2 && format != 11;
    for (const Vertex& v : vertices) {
        AppendF(out, v.pos, 3);
        if (lit) AppendF(out, v.normal, 3);
        AppendF(out, v.uv, 2);
        switch (format) {
        case 3: AppendB(out, v.colour, 4); break;
        case 4: AppendF(out, v.tangent, 4); break;
        case 5: AppendB(out, v.colour, 4); AppendF(out, v.tangent, 4); break;
        case 6: case 11: AppendB(out, v.bones, 4); break;
        case 7: AppendB(out, v.bones, 4); AppendF(out, v.weights, 2); break;
        case 8: AppendB(out, v.bones, 4); AppendF(out, v.weights, 3); break;
        case 9: AppendB(out, v.bones, 4); AppendF(out, v.weights, 3); AppendF(out, v.tangent, 4); break;
        case 10: AppendB(out, v.bones, 4); AppendF(out, v.weights, 3); AppendB(out, v.colour, 4); break;
        default: break;
        }
    }
    return out;
}

uint16_t AddVertices(ModelNode& node, const std::vector<Vertex>& vertices)
{
    const uint16_t first = uint16_t(node.vertices.size());
    node.vertices.insert(node.vertices.end(), vertices.begin(), vertices.end());
    return first;
}

void JoinStrip(std::vector<uint16_t>& out, const std::vector<uint16_t>& indices)
{
    if (indices.size() < 3) return;
    if (!out.empty()) {
        // Repeat the last index (twice when the strip so far is odd, so that the next triangle
        // is an even one again), then the first of the new strip.
        const uint16_t last = out.back();
        out.push_back(last);
        if (out.size() % 2 == 0) out.push_back(last);
        out.push_back(indices.front());
    }
    out.insert(out.end(), indices.begin(), indices.end());
}

void AddStrip(ModelNode& node, int material, const std::vector<uint16_t>& indices)
{
    if (indices.size() < 3) return;
    Strip* strip = nullptr;
    for (Strip& s : node.strips)
        if (s.material == material && s.palette.empty()) strip = &s;
    if (!strip) {
        node.strips.push_back(Strip{});
        strip = &node.strips.back();
        strip->material = material;
    }
    JoinStrip(strip->indices, indices);
}

bool ModelBytes(const ModelNode& node, std::vector<uint8_t>* out, std::string* error)
{
    out->clear();
    return Write(node, *out, error);
}

Resource ModelResource(int id, const ModelNode& node)
{
    Resource r;
    r.id = id;
    r.type = kTypeModelResource;
    r.compressed = true;
    std::string error;
    if (!ModelBytes(node, &r.bytes, &error)) {
        std::fprintf(stderr, "mkrom: model %d: %s\n", id, error.c_str());
        std::exit(1);
    }
    return r;
}

}  // namespace mkrom
