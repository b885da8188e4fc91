// A screenshot read into memory as 8-bit RGB, for the shot-checking tools of the tests.
#pragma once

#include <cstddef>
#include <vector>

struct ShotImage {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* At(int x, int y) const { return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};

// Reads the PNG at path; on failure prints "tool: path: reason" to stderr (when tool is not null)
// and returns false.
bool ReadShotImage(const char* path, ShotImage* out, const char* tool);
