// Test mode's markers of particle domains and control points: a handle (three crossed bars of unit
// length each way, drawn at scale 15) and the outlines of a box and a sphere of radius 1, which the
// game stretches to the marked domain. Their textures are bright and framed, with see-through
// middles, so that the lane and the particles show through a marker.
#include "content.h"

#include <cstdint>

#include "bitmap_writer.h"
#include "host/gpu.h"
#include "mesh_shapes.h"
#include "model_writer.h"

namespace mkrom {

namespace {

enum { kTexHandle, kTexOutline, kToolTextures };

// A square of one colour: a solid frame one texel wide around a faint middle.
RgbaImage Framed(uint8_t r, uint8_t g, uint8_t b, uint8_t middleAlpha)
{
    constexpr int kSide = 16;
    RgbaImage img(kSide, kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const bool edge = x == 0 || y == 0 || x == kSide - 1 || y == kSide - 1;
            uint8_t* p = img.At(x, y);
            p[0] = r, p[1] = g, p[2] = b, p[3] = edge ? 255 : middleAlpha;
        }
    return img;
}

ModelNode ToolModel(int texture)
{
    ModelNode m;
    m.format = 1;
    m.materials.push_back(uint32_t(kParticleToolTextures) << 16 | uint32_t(texture));
    return m;
}

}  // namespace

std::vector<Resource> ParticleToolContent()
{
    std::vector<Resource> out;
    Resource textures;
    textures.id = kParticleToolTextures;
    textures.type = kTypeGroup;
    textures.members.push_back(BitmapResource(0, Framed(255, 230, 40, 255), kPixelRGBA4));
    textures.members.push_back(BitmapResource(0, Framed(80, 255, 120, 40), kPixelRGBA4));
    out.push_back(textures);

    const float t = 0.12f;  // half the thickness of the handle's bars
    ModelNode handle = ToolModel(kTexHandle);
    AddBox(handle, 0, {-1, -t, -t}, {1, t, t}, 0.5f);
    AddBox(handle, 0, {-t, -1, -t}, {t, 1, t}, 0.5f);
    AddBox(handle, 0, {-t, -t, -1}, {t, t, 1}, 0.5f);
    out.push_back(ModelResource(kParticleCenterToolModel, handle));

    ModelNode box = ToolModel(kTexOutline);
    AddBox(box, 0, {-1, -1, -1}, {1, 1, 1}, 0.5f);
    out.push_back(ModelResource(kParticleBoxToolModel, box));

    ModelNode sphere = ToolModel(kTexOutline);
    AddSphere(sphere, 0, {0, 0, 0}, 1.0f, 16, 8);
    out.push_back(ModelResource(kParticleSphereToolModel, sphere));
    return out;
}

}  // namespace mkrom
