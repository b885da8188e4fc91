// Writing model resources (type 126): meshes built by code (vertices, triangle strips joined per
// material, materials naming texture resources, an optional skeleton block and child models) laid
// out as the game's model image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "lib/resourceids.h"

namespace mkrom {

constexpr int16_t kTypeModelResource = kResourceTypeModel;

// Everything a vertex of any format may carry; each format writes only its own attributes.
struct Vertex {
    float pos[3] = {0, 0, 0};
    float normal[3] = {0, 0, 1};
    float uv[2] = {0, 0};
    uint8_t colour[4] = {255, 255, 255, 255};
    float tangent[4] = {1, 0, 0, -1};  // tangent and the sign that makes (tangent, normal x tangent, normal)
    uint8_t bones[4] = {0, 0, 0, 0};    // skeleton bones, or palette entries in palette strips
    float weights[3] = {1, 0, 0};
};

// One strip of indices drawn with one material; with palettes, the skeleton bones it uses.
struct Strip {
    int material = 0;
    std::vector<uint16_t> indices;
    std::vector<uint8_t> palette;
};

struct ModelNode {
    uint32_t flags = 0;
    int format = 1;  // vertex format = vertex program 0..11
    std::vector<Vertex> vertices;
    std::vector<Strip> strips;
    std::vector<uint32_t> materials;  // colour texture ids
    std::vector<uint32_t> normalMaps;  // per material, 0 or absent: none
    float position[3] = {0, 0, 0};
    float rotation[4] = {0, 0, 0, 1};
    float scale[3] = {1, 1, 1};
    float pivot[3] = {0, 0, 0};
    std::vector<uint8_t> skeleton;  // a skeleton block (header, offset arrays, bones), or empty
    std::vector<ModelNode> children;
};

// Adds a triangle strip to the node's strip of that material (a new strip when there is none
// yet), joined to what is there by degenerate triangles that keep every triangle's winding.
void AddStrip(ModelNode& node, int material, const std::vector<uint16_t>& indices);
// Appends a triangle strip to the indices of a strip in the same way.
void JoinStrip(std::vector<uint16_t>& strip, const std::vector<uint16_t>& indices);
// Adds the vertices and returns the index of the first.
uint16_t AddVertices(ModelNode& node, const std::vector<Vertex>& vertices);

// Bytes per vertex of a format; 0 for an unknown format.
int VertexStride(int format);
// The vertices laid out in a format.
std::vector<uint8_t> VertexBytes(const std::vector<Vertex>& vertices, int format);

// The model image (before archive padding). False with the reason for an unknown format, more
// than 65536 vertices, a strip naming a missing material or a palette of more than 16 bones.
bool ModelBytes(const ModelNode& node, std::vector<uint8_t>* out, std::string* error);

// A model resource, stored compressed. Stops mkrom with the reason when the model cannot be written.
Resource ModelResource(int id, const ModelNode& node);

}  // namespace mkrom
