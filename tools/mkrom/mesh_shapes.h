// Simple solids for the models mkrom builds: quads, boxes and surfaces of revolution, added to a
// model node as triangle strips of one material.
#pragma once

#include "model_writer.h"

namespace mkrom {

struct Vec3 {
    float x, y, z;
};

// A flat quad with corners a, b, c, d in order around it, facing the side from which they run
// anticlockwise; texture coordinates (u0, v0) at a, (u1, v0) at b, (u1, v1) at c, (u0, v1) at d.
void AddQuad(ModelNode& node, int material, Vec3 a, Vec3 b, Vec3 c, Vec3 d, float u0, float v0, float u1, float v1);

// An axis-aligned box from lo to hi; each face's texture spans uvScale texture repeats per unit.
void AddBox(ModelNode& node, int material, Vec3 lo, Vec3 hi, float uvScale);

// A surface of revolution about the z axis through centre: profile points (radius, z) from the
// bottom to the top, `sides` segments around; u runs around once, v from 0 at the bottom to 1 at
// the top (or v0 to v1).
struct ProfilePoint {
    float r, z;
};
void AddLathe(ModelNode& node, int material, Vec3 centre, const std::vector<ProfilePoint>& profile, int sides,
              float v0 = 0.0f, float v1 = 1.0f);

// A sphere of radius r about centre, with `rings` bands from the bottom pole to the top pole.
void AddSphere(ModelNode& node, int material, Vec3 centre, float r, int sides, int rings);

}  // namespace mkrom
