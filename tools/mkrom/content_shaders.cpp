#include "content_shaders.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "host/gpu.h"

#ifndef MKROM_VERTEX_PROGRAMS
#define MKROM_VERTEX_PROGRAMS "vertex_programs.glsl"
#endif

namespace mkrom {

std::string VertexProgramSource()
{
    std::ifstream in(MKROM_VERTEX_PROGRAMS, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "mkrom: %s cannot be read\n", MKROM_VERTEX_PROGRAMS);
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

static uint32_t Semantics(uint32_t x, uint32_t y, uint32_t z, uint32_t w)
{
    return x | y << 8 | z << 16 | w << 24;
}

static void Put(std::vector<uint8_t>* out, uint32_t word)
{
    uint8_t bytes[4];
    std::memcpy(bytes, &word, 4);
    out->insert(out->end(), bytes, bytes + 4);
}

static void Set(std::vector<uint8_t>* out, size_t at, uint32_t word) { std::memcpy(out->data() + at, &word, 4); }

std::vector<uint8_t> BuildShaderContainer(const std::string& source)
{
    const uint32_t count = 12;
    std::vector<uint8_t> out;
    Put(&out, kGpuShaderMagic);
    Put(&out, count | 1u << 16);
    Put(&out, 0);  // source offset, set below
    Put(&out, uint32_t(source.size()));
    for (uint32_t p = 0; p < count; ++p) Put(&out, 0);
    for (uint32_t p = 0; p < count; ++p) {
        Set(&out, 16 + 4 * p, uint32_t(out.size()));
        bool lit = p != 0 && p != 2 && p != 11;
        bool colour = p == 3 || p == 5 || p == 10;
        std::vector<uint32_t> outputs = {
            Semantics(kGpuOutPositionX, kGpuOutPositionX + 1, kGpuOutPositionX + 2, kGpuOutPositionX + 3),
            Semantics(kGpuOutTexcoord0U, kGpuOutTexcoord0U + 1, kGpuOutEmpty, kGpuOutEmpty),
        };
        if (lit) {
            outputs.push_back(Semantics(kGpuOutQuaternionX, kGpuOutQuaternionX + 1, kGpuOutQuaternionX + 2,
                                        kGpuOutQuaternionX + 3));
            outputs.push_back(Semantics(kGpuOutViewX, kGpuOutViewX + 1, kGpuOutViewX + 2, kGpuOutEmpty));
        }
        if (colour) outputs.push_back(Semantics(kGpuOutColorR, kGpuOutColorR + 1, kGpuOutColorR + 2, kGpuOutColorR + 3));
        Put(&out, p);
        Put(&out, kGpuProgramTexcoords);
        Put(&out, uint32_t(outputs.size()));
        for (uint32_t r = 0; r < outputs.size(); ++r) {
            Put(&out, r);
            Put(&out, outputs[r]);
        }
    }
    Set(&out, 8, uint32_t(out.size()));
    out.insert(out.end(), source.begin(), source.end());
    while (out.size() % 4) out.push_back(0);
    return out;
}

std::vector<Resource> ShaderContent()
{
    std::string source = VertexProgramSource();
    if (source.empty()) return {};
    Resource r;
    r.id = kShaderBinaryResource;
    r.type = 1;
    r.bytes = BuildShaderContainer(source);
    r.compressed = true;
    return {r};
}

}  // namespace mkrom
