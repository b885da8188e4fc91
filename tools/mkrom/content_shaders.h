// The shader binary (resource 10): the vertex programs' GLSL source in the GPU's container.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive_writer.h"

namespace mkrom {

constexpr int kShaderBinaryResource = 10;

// The source of the twelve vertex programs (vertex_programs.glsl beside this file); empty with a
// message on standard error when it cannot be read.
std::string VertexProgramSource();

// The container of the twelve programs around a source: each program's entry point and its
// output registers (position; texture coordinate 0; for lit programs the surface quaternion and
// the view vector; for vertex-colour programs the colour).
std::vector<uint8_t> BuildShaderContainer(const std::string& source);

std::vector<Resource> ShaderContent();

}  // namespace mkrom
