// Drawing the game's 2D images in code: anti-aliased shapes (rounded rectangles, circles, rings,
// polygons) filled with solid colours or gradients, and text in the DejaVu faces, composited over
// an RGBA image.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bitmap_writer.h"

namespace mkrom {

struct Rgba {
    uint8_t r, g, b, a;
};

// Whether a point (pixel units, pixel centres at .5) is inside a shape.
using Shape = std::function<bool(float x, float y)>;
// The colour of a point.
using Paint = std::function<Rgba(float x, float y)>;

Shape RoundRect(float x, float y, float w, float h, float radius);
Shape Circle(float cx, float cy, float r);
Shape Ring(float cx, float cy, float inner, float outer);
Shape Polygon(std::vector<float> xy);  // x0, y0, x1, y1, ... (any winding, even-odd rule)
Shape Minus(Shape a, Shape b);
Shape Union(Shape a, Shape b);

Paint Solid(Rgba c);
// From c0 at y0 to c1 at y1 (clamped beyond) / from x0 to x1.
Paint VGradient(float y0, Rgba c0, float y1, Rgba c1);
Paint HGradient(float x0, Rgba c0, float x1, Rgba c1);

// Composites the shape over the image inside the box [x0, x1) x [y0, y1), 4 x 4 samples a pixel.
void Fill(RgbaImage* image, const Shape& shape, const Paint& paint, int x0, int y0, int x1, int y1);
// The same over the whole image.
void Fill(RgbaImage* image, const Shape& shape, const Paint& paint);

// Text (Latin-1) in a DejaVu face at a pixel size, centred on (cx, cy) (align 0), or starting at
// cx (align -1) or ending at cx (align 1); with an outline of `outline` pixels when > 0.
void DrawLabel(RgbaImage* image, const std::string& text, const char* faceFile, int pixelSize, float cx, float cy,
               Rgba fill, int align = 0, Rgba outline = {0, 0, 0, 0}, int outlinePixels = 0);

}  // namespace mkrom
