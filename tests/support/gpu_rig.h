// The host GPU brought up headless (SDL's offscreen driver) over a fresh device heap, with one
// command list, a render target (colour and depth/stencil render buffers) and a display buffer on
// each display, for tests that draw and look at pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/gpu.h"

struct GpuRig {
    uint32_t list = 0;
    uint32_t framebuffer = 0;
    uint32_t colour = 0, depth = 0;
    uint32_t upper = 0, lower = 0, upperRight = 0;  // one display buffer each
    int width = 0, height = 0;                    // the render image, portrait
};

// Starts the GPU with a width x height render target and the vertex programs of the build's
// shader binary; 0 (with the reason in *why) when no GL context can be had or a step fails.
// Headless unless `windowed` (which needs a display).
int GpuRigStart(GpuRig* rig, int width, int height, std::string* why, int windowed = 0);
void GpuRigStop();

// Words recorded in a test, then copied into the list at its write address.
struct GpuWords {
    std::vector<uint32_t> w;
    void Reg(uint32_t reg, uint32_t value);
    void Regs(uint32_t reg, std::vector<uint32_t> values);
    // One uniform vector (x, y, z, w), stored as the GPU wants it (w, z, y, x).
    void Uniform(int vector, float x, float y, float z, float w);
    // A 4 x 4 matrix given by rows into four uniform vectors.
    void Matrix(int vector, const float rows[16]);
};

// Copies the words into the bound list, runs it and returns GpuGetError's first code.
uint32_t GpuRigRun(const GpuWords& words);

// Allocates arena memory that stays until GpuRigStop (16-byte aligned); null when full.
void* GpuRigMemory(uint32_t bytes);

// The colour at a pixel of the render image (portrait, row 0 at the bottom), RGBA.
std::vector<uint8_t> GpuRigPixel(int x, int y);
// The whole render image, RGBA rows from the bottom.
std::vector<uint8_t> GpuRigImage();
