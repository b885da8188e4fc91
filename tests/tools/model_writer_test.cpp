// mkrom's model writer: strips joined per material keep every triangle and its winding, and
// models the game could not draw are refused.
#include "model_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "mesh_shapes.h"

namespace {

using Triangle = std::array<uint16_t, 3>;

// The triangles a strip draws, each turned to start at its smallest index so that the same
// triangle with the same winding compares equal; degenerate ones are left out.
std::vector<Triangle> StripTriangles(const std::vector<uint16_t>& s)
{
    std::vector<Triangle> out;
    for (size_t i = 0; i + 2 < s.size(); ++i) {
        Triangle t = i % 2 == 0 ? Triangle{s[i], s[i + 1], s[i + 2]} : Triangle{s[i + 1], s[i], s[i + 2]};
        if (t[0] == t[1] || t[1] == t[2] || t[0] == t[2]) continue;
        std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
        out.push_back(t);
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(ModelWriter, JoinedStripsKeepEveryTriangleAndItsWinding)
{
    // Strips of odd and even lengths joined in every order.
    const std::vector<std::vector<uint16_t>> pieces = {{0, 1, 2}, {3, 4, 5, 6}, {7, 8, 9, 10, 11}, {12, 13, 14}};
    mkrom::ModelNode node;
    node.materials = {1, 2};
    node.vertices.resize(15);
    std::vector<Triangle> expected;
    for (const auto& p : pieces) {
        mkrom::AddStrip(node, 0, p);
        for (const Triangle& t : StripTriangles(p)) expected.push_back(t);
    }
    mkrom::AddStrip(node, 1, {0, 2, 4});
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(node.strips.size(), 2u) << "one strip per material";
    EXPECT_EQ(StripTriangles(node.strips[0].indices), expected);
    EXPECT_EQ(node.strips[1].indices, (std::vector<uint16_t>{0, 2, 4}));
}

TEST(ModelWriter, ModelsTheGameCannotDrawAreRefused)
{
    std::vector<uint8_t> bytes;
    std::string error;
    mkrom::ModelNode node;
    node.materials = {7};
    mkrom::AddQuad(node, 0, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, 0, 0, 1, 1);
    ASSERT_TRUE(mkrom::ModelBytes(node, &bytes, &error)) << error;
    EXPECT_EQ(bytes.size(), size_t(384 + 4 * 32 + 2 * 4 + 16 + 24));
    node.strips[0].indices.pop_back();  // a triangle: the blocks end 2 bytes short of 16
    ASSERT_TRUE(mkrom::ModelBytes(node, &bytes, &error)) << error;
    EXPECT_EQ(bytes.size(), size_t(384 + 4 * 32 + 2 * 3 + 16 + 24 + 2)) << "padded to 16 bytes";

    mkrom::ModelNode bad = node;
    bad.format = 12;
    EXPECT_FALSE(mkrom::ModelBytes(bad, &bytes, &error));
    bad = node;
    bad.strips[0].material = 1;
    EXPECT_FALSE(mkrom::ModelBytes(bad, &bytes, &error));
    bad = node;
    bad.strips[0].indices.push_back(4);
    EXPECT_FALSE(mkrom::ModelBytes(bad, &bytes, &error)) << "an index past the vertices";
    bad = node;
    bad.format = 8;
    bad.flags = 0x800;
    bad.strips[0].palette.assign(17, 0);
    EXPECT_FALSE(mkrom::ModelBytes(bad, &bytes, &error)) << "seventeen bones in a palette";
    EXPECT_FALSE(error.empty());
}

}  // namespace
