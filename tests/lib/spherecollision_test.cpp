#include <gtest/gtest.h>

#include <cstring>

#include "lib/matrix.h"
#include "lib/spherecollision.h"

namespace {

// The same bits as the maths library's normalisation, and a zero vector stays zero instead of
// turning into not-a-number.
TEST(SphereCollisionTest, NormalizeVectorMatchesTheMathsLibrary)
{
    const float cases[][3] = {{3, 4, 0}, {0, 0, 0}, {1e18f, -1e18f, 5}, {0.1f, 0.2f, 0.3f}, {0, 0, -7}};
    for (const auto& c : cases) {
        float mine[3] = {c[0], c[1], c[2]}, library[3] = {c[0], c[1], c[2]};
        NormalizeVector(mine);
        normalizeVector(library);
        EXPECT_EQ(std::memcmp(mine, library, sizeof mine), 0) << c[0] << " " << c[1] << " " << c[2];
    }
    float v[3] = {0, 0, 0};
    NormalizeVector(v);
    EXPECT_TRUE(v[0] == 0.0f && v[1] == 0.0f && v[2] == 0.0f);
}

}  // namespace
